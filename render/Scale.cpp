#include "render/Scale.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "render/PixelStore.h"

#include "render/Vectorise.h"

namespace velinor::render {
namespace {

constexpr std::uint32_t kWeightOne = 1u << 14;

using Span = HalftoneRows::Span;

// Destination pixel d covers [d*src/dst, (d+1)*src/dst) in source pixels; measured in units of
// 1/dst that is [d*src, (d+1)*src), and source pixel k covers [k*dst, (k+1)*dst).
std::vector<Span> MakeSpans(int src, int dst) {
    std::vector<Span> spans(static_cast<std::size_t>(dst));
    for (int d = 0; d < dst; ++d) {
        const long long lo = static_cast<long long>(d) * src;
        const long long hi = lo + src;
        Span& span = spans[static_cast<std::size_t>(d)];
        span.first = static_cast<int>(lo / dst);
        const int last = static_cast<int>((hi - 1) / dst);
        std::uint32_t sum = 0;
        std::size_t largest = 0;
        for (int k = span.first; k <= last; ++k) {
            const long long overlap = std::min(hi, (k + 1LL) * dst) - std::max(lo, static_cast<long long>(k) * dst);
            const auto w = static_cast<std::uint32_t>(overlap * kWeightOne / src);
            span.weights.push_back(w);
            sum += w;
            if (w > span.weights[largest]) largest = span.weights.size() - 1;
        }
        span.weights[largest] += kWeightOne - sum;  // rounding remainder goes to the biggest share
    }
    return spans;
}

// acc[i] += bytes[i] * w over a whole row of channel bytes; the hot loop of a reduction.
VELINOR_PIXEL_LOOP
void AccumulateRow(const std::uint8_t* bytes, std::uint32_t* acc, std::size_t count, std::uint32_t w) {
    for (std::size_t i = 0; i < count; ++i) acc[i] += bytes[i] * w;
}

// run[i] = bytes[i], then run[i] += bytes[i]: a run of rows of equal weight, summed before
// they are weighed.
VELINOR_PIXEL_LOOP
void StartRun(const std::uint8_t* bytes, std::uint16_t* run, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) run[i] = bytes[i];
}

VELINOR_PIXEL_LOOP
void AddToRun(const std::uint8_t* bytes, std::uint16_t* run, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) run[i] = static_cast<std::uint16_t>(run[i] + bytes[i]);
}

// acc[i] += run[i] * w: the same sums as weighing each row of the run on its own.
VELINOR_PIXEL_LOOP
void AccumulateRun(const std::uint16_t* run, std::uint32_t* acc, std::size_t count, std::uint32_t w) {
    for (std::size_t i = 0; i < count; ++i) acc[i] += run[i] * w;
}

// The most rows a run holds before it is weighed: 257 rows of 255 still fit in 16 bits.
constexpr int kMaxRunRows = 257;

// Channel values with 8 extra bits of precision: acc holds value * kWeightOne.
VELINOR_PIXEL_LOOP
void NarrowRow(const std::uint32_t* acc, std::uint16_t* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint16_t>((acc[i] + 32) >> 6);
}

}  // namespace

HalftoneRows::HalftoneRows(int sourceWidth, int sourceHeight, int width, int height)
    : sourceWidth_(sourceWidth),
      sourceHeight_(sourceHeight),
      columns_(MakeSpans(sourceWidth, width)),
      rows_(MakeSpans(sourceHeight, height)),
      open_(static_cast<std::size_t>(sourceWidth) * 4),
      started_(static_cast<std::size_t>(sourceWidth) * 4),
      run_(static_cast<std::size_t>(sourceWidth) * 4),
      mixed_(static_cast<std::size_t>(sourceWidth) * 4) {
    out_.width = width;
    out_.height = height;
    out_.pixels = MakePixels(static_cast<std::size_t>(width) * height, 0);
}

// Rows first: every source byte is touched once, in a loop over whole rows, which keeps large
// reductions (a photograph to a preview) close to memory speed. A destination row's sums are
// kept until its last source row has arrived; at most one row is carried from one source row to
// the next, because a destination row that goes on past a source row is the last to touch it.
// Pixels are handled as four channel bytes; the fourth is always 0.
void HalftoneRows::Add(const Color* rows, int count) {
    const std::size_t channels = static_cast<std::size_t>(sourceWidth_) * 4;
    for (int r = 0; r < count && nextSource_ < sourceHeight_; ++r, ++nextSource_) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(rows + static_cast<std::size_t>(r) * sourceWidth_);
        for (int y = nextRow_; y < out_.height; ++y) {
            const Span& span = rows_[static_cast<std::size_t>(y)];
            if (span.first > nextSource_) break;
            const int last = span.first + static_cast<int>(span.weights.size()) - 1;
            const std::uint32_t weight = span.weights[static_cast<std::size_t>(nextSource_ - span.first)];
            const bool goesOn = last > nextSource_;
            if (y == carried_) {
                AddToCarried(bytes, weight);
                if (goesOn) break;
                FlushRun();
                FinishRow(y, open_);
                carried_ = -1;
            } else if (goesOn) {
                // The row carried before has been finished above: its sums are free.
                std::fill(open_.begin(), open_.end(), 0u);
                carried_ = y;
                AddToCarried(bytes, weight);
                break;
            } else {
                std::fill(started_.begin(), started_.end(), 0u);
                AccumulateRow(bytes, started_.data(), channels, weight);
                FinishRow(y, started_);
            }
            nextRow_ = y + 1;
        }
    }
}

void HalftoneRows::AddToCarried(const std::uint8_t* bytes, std::uint32_t weight) {
    if (runRows_ > 0 && (weight != runWeight_ || runRows_ == kMaxRunRows)) FlushRun();
    if (runRows_ == 0) {
        StartRun(bytes, run_.data(), run_.size());
        runWeight_ = weight;
    } else {
        AddToRun(bytes, run_.data(), run_.size());
    }
    ++runRows_;
}

void HalftoneRows::FlushRun() {
    if (runRows_ == 0) return;
    AccumulateRun(run_.data(), open_.data(), open_.size(), runWeight_);
    runRows_ = 0;
}

void HalftoneRows::FinishRow(int y, const std::vector<std::uint32_t>& acc) {
    NarrowRow(acc.data(), mixed_.data(), acc.size());
    // Across: sums of value * 256 * kWeightOne stay below 2^30.
    Color* dstRow = &out_.pixels[static_cast<std::size_t>(y) * out_.width];
    constexpr std::uint32_t kHalf = 1u << 21;
    for (int x = 0; x < out_.width; ++x) {
        const Span& cs = columns_[static_cast<std::size_t>(x)];
        const std::uint16_t* p = &mixed_[static_cast<std::size_t>(cs.first) * 4];
        std::uint32_t r = 0, g = 0, b = 0;
        for (std::uint32_t w : cs.weights) {
            r += p[0] * w;
            g += p[1] * w;
            b += p[2] * w;
            p += 4;
        }
        dstRow[x] = ((r + kHalf) >> 22) | (((g + kHalf) >> 22) << 8) | (((b + kHalf) >> 22) << 16);
    }
}

bool HalftoneRows::Complete() const { return nextSource_ == sourceHeight_; }

RasterImage HalftoneRows::Finish() { return std::move(out_); }

RasterImage ScaleHalftone(const RasterImage& source, int width, int height) {
    HalftoneRows rows(source.width, source.height, width, height);
    rows.Add(source.pixels.data(), source.height);
    RasterImage out = rows.Finish();
    out.depth = source.depth;

    if (source.IsIcon()) {
        out.mask.resize(out.pixels.size());
        for (int y = 0; y < height; ++y) {
            const int sy = static_cast<int>(static_cast<long long>(y) * source.height / height);
            for (int x = 0; x < width; ++x) {
                const int sx = static_cast<int>(static_cast<long long>(x) * source.width / width);
                out.mask[static_cast<std::size_t>(y) * width + x] =
                    source.mask[static_cast<std::size_t>(sy) * source.width + sx];
            }
        }
    }
    return out;
}

}  // namespace velinor::render

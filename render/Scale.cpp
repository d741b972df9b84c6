#include "render/Scale.h"

#include "render/PixelStore.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "render/Vectorise.h"

namespace velinor::render {
namespace {

constexpr std::uint32_t kWeightOne = 1u << 14;

// The source pixels one destination pixel covers along one axis, with integer weights that
// add up to kWeightOne exactly (so a flat colour stays exactly flat).
struct Span {
    int first = 0;
    std::vector<std::uint32_t> weights;
};

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

// Channel values with 8 extra bits of precision: acc holds value * kWeightOne.
VELINOR_PIXEL_LOOP
void NarrowRow(const std::uint32_t* acc, std::uint16_t* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint16_t>((acc[i] + 32) >> 6);
}

}  // namespace

RasterImage ScaleHalftone(const RasterImage& source, int width, int height) {
    RasterImage out;
    out.width = width;
    out.height = height;
    out.depth = source.depth;
    out.pixels = MakePixels(static_cast<std::size_t>(width) * height, 0);

    const std::vector<Span> columns = MakeSpans(source.width, width);
    const std::vector<Span> rows = MakeSpans(source.height, height);

    // Rows first: every source byte is touched once, in a loop over whole rows, which keeps
    // large reductions (a photograph to a preview) close to memory speed. Each destination row
    // is finished across before the next one starts, so only one source-wide row is kept.
    // Pixels are handled as four channel bytes; the fourth is always 0.
    const std::size_t channels = static_cast<std::size_t>(source.width) * 4;
    std::vector<std::uint32_t> acc(channels);
    std::vector<std::uint16_t> mixed(channels);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(source.pixels.data());
    for (int y = 0; y < height; ++y) {
        const Span& span = rows[static_cast<std::size_t>(y)];
        std::fill(acc.begin(), acc.end(), 0u);
        int sy = span.first;
        for (std::uint32_t w : span.weights) {
            AccumulateRow(bytes + static_cast<std::size_t>(sy++) * channels, acc.data(), channels, w);
        }
        NarrowRow(acc.data(), mixed.data(), channels);

        // Across: sums of value * 256 * kWeightOne stay below 2^30.
        Color* dstRow = &out.pixels[static_cast<std::size_t>(y) * width];
        constexpr std::uint32_t kHalf = 1u << 21;
        for (int x = 0; x < width; ++x) {
            const Span& cs = columns[static_cast<std::size_t>(x)];
            const std::uint16_t* p = &mixed[static_cast<std::size_t>(cs.first) * 4];
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

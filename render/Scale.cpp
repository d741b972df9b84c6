#include "render/Scale.h"

#include <algorithm>
#include <cstdint>

namespace velinor::render {
namespace {

constexpr std::uint32_t kWeightOne = 1u << 14;

// The source pixels one destination pixel covers along one axis, with integer weights that
// add up to kWeightOne exactly.
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

}  // namespace

RasterImage ScaleHalftone(const RasterImage& source, int width, int height) {
    RasterImage out;
    out.width = width;
    out.height = height;
    out.depth = source.depth;
    out.pixels.assign(static_cast<std::size_t>(width) * height, 0);

    const std::vector<Span> columns = MakeSpans(source.width, width);
    const std::vector<Span> rows = MakeSpans(source.height, height);

    // Horizontal pass into an intermediate of width x source.height, three channels,
    // each kept with 8 extra bits of precision.
    const std::size_t interStride = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint32_t> inter(interStride * source.height);
    for (int y = 0; y < source.height; ++y) {
        const Color* srcRow = &source.pixels[static_cast<std::size_t>(y) * source.width];
        std::uint32_t* dstRow = &inter[static_cast<std::size_t>(y) * interStride];
        for (int x = 0; x < width; ++x) {
            const Span& span = columns[static_cast<std::size_t>(x)];
            std::uint32_t r = 0, g = 0, b = 0;
            const Color* p = srcRow + span.first;
            for (std::uint32_t w : span.weights) {
                const Color c = *p++;
                r += (c & 0xFF) * w;
                g += ((c >> 8) & 0xFF) * w;
                b += ((c >> 16) & 0xFF) * w;
            }
            dstRow[3 * x + 0] = (r + 32) >> 6;
            dstRow[3 * x + 1] = (g + 32) >> 6;
            dstRow[3 * x + 2] = (b + 32) >> 6;
        }
    }

    // Vertical pass: accumulators hold value * 256 * kWeightOne, which fits in 32 bits.
    std::vector<std::uint32_t> acc(interStride);
    for (int y = 0; y < height; ++y) {
        const Span& span = rows[static_cast<std::size_t>(y)];
        std::fill(acc.begin(), acc.end(), 0u);
        int sy = span.first;
        for (std::uint32_t w : span.weights) {
            const std::uint32_t* interRow = &inter[static_cast<std::size_t>(sy++) * interStride];
            for (std::size_t i = 0; i < interStride; ++i) acc[i] += interRow[i] * w;
        }
        Color* dstRow = &out.pixels[static_cast<std::size_t>(y) * width];
        constexpr std::uint32_t kHalf = 1u << 21;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t r = (acc[3 * x + 0] + kHalf) >> 22;
            const std::uint32_t g = (acc[3 * x + 1] + kHalf) >> 22;
            const std::uint32_t b = (acc[3 * x + 2] + kHalf) >> 22;
            dstRow[x] = r | (g << 8) | (b << 16);
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

#pragma once

#include <cstddef>
#include <cstdint>

#include "render/Color.h"
#include "render/RasterImage.h"

namespace velinor::imageio {

// The largest picture a decoder will produce. Sides are bounded by the registry's 16-bit
// sizes; the pixel count keeps a single picture's store at or below 1 GiB. Tools that feed
// decoders arbitrary bytes (the fuzzers) lower max_pixels to keep each run small.
struct DecodeLimits {
    long long max_side = render::kMaxImageSide;
    long long max_pixels = 1LL << 28;
};

// True when a width x height picture may be allocated under limits.
constexpr bool FitsLimits(long long width, long long height, const DecodeLimits& limits) {
    return width >= 1 && height >= 1 && width <= limits.max_side && height <= limits.max_side &&
           width * height <= limits.max_pixels;
}

constexpr render::Color ColorFromBgr(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return static_cast<render::Color>(red) | (static_cast<render::Color>(green) << 8) |
           (static_cast<render::Color>(blue) << 16);
}

// Libraries write pixels as R, G, B, X bytes straight into a Color row; this turns each
// four-byte group into a Color in place, whatever the machine's byte order, and hands the
// fourth bytes to alpha when asked.
inline void RgbxBytesToColors(render::Color* row, std::size_t count, std::uint8_t* alpha = nullptr) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(row);
    for (std::size_t i = 0; i < count; ++i, bytes += 4) {
        if (alpha != nullptr) alpha[i] = bytes[3];
        row[i] = ColorFromBgr(bytes[2], bytes[1], bytes[0]);
    }
}

}  // namespace velinor::imageio

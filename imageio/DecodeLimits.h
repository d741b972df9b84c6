#pragma once

#include <cstdint>

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

}  // namespace velinor::imageio

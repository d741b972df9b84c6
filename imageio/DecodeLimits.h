#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "render/RasterImage.h"

namespace velinor::imageio {

// The pixel limit of the process: 2^28 pixels (a 1 GiB store) unless the environment variable
// VELINOR_MAX_PIXELS holds a larger or smaller positive number, or SetPixelLimit was called.
// A picture with more pixels is refused before its store is allocated, so a hostile or
// mistaken file cannot exhaust the machine's memory.
constexpr long long kDefaultPixelLimit = 1LL << 28;
constexpr const char* kPixelLimitVariable = "VELINOR_MAX_PIXELS";
long long PixelLimit();
void SetPixelLimit(long long pixels);

// A pixel count written as decimal digits only, positive and within 64 bits; nothing otherwise.
std::optional<long long> ParsePixelCount(std::string_view text);

// The largest picture a decoder will produce. Sides are bounded by the registry's 16-bit
// sizes; the pixel count by the process's pixel limit. Tools that feed decoders arbitrary
// bytes (the fuzzers) lower maxPixels to keep each run small.
struct DecodeLimits {
    long long maxSide = render::kMaxImageSide;
    long long maxPixels = PixelLimit();
};

// A picture's size as its header states it.
struct PictureSize {
    long long width = 0;
    long long height = 0;
};

// True when a width x height picture may be allocated under limits.
constexpr bool FitsLimits(long long width, long long height, const DecodeLimits& limits) {
    return width >= 1 && height >= 1 && width <= limits.maxSide && height <= limits.maxSide &&
           width * height <= limits.maxPixels;
}

}  // namespace velinor::imageio

#pragma once

#include <cstdint>
#include <vector>

#include "render/Color.h"
#include "render/Pixels.h"

namespace velinor::render {

constexpr int kMaxImageSide = 32767;

// One picture: 32-bit pixels (each a Color, 0x00BBGGRR), rows top to bottom.
// An icon carries a transparency mask as well: mask[i] != 0 means pixel i is opaque.
struct RasterImage {
    int width = 0;
    int height = 0;
    int depth = 32;                    // bits per pixel of the store; informational
    Pixels pixels;                     // width * height entries
    std::vector<std::uint8_t> mask;    // empty for a plain bitmap; width * height for an icon

    bool IsIcon() const { return !mask.empty(); }
    Color& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Color At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// True when a width x height image may be created (both sides in 1..32767).
constexpr bool ValidImageSize(long long width, long long height) {
    return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide;
}

}  // namespace velinor::render

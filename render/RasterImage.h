#pragma once

#include <algorithm>
#include <climits>
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

// Rows top to bottom - 1 of a picture; none when bottom <= top.
struct RowSpan {
    int top = 0;
    int bottom = 0;

    // The rows from top to bottom - 1, each end held within the range of int.
    static RowSpan Clamped(long long top, long long bottom) {
        const auto row = [](long long at) { return static_cast<int>(std::clamp<long long>(at, INT_MIN, INT_MAX)); };
        return {row(top), row(bottom)};
    }

    bool Empty() const { return bottom <= top; }
    // The rows of both spans and any between them.
    RowSpan Joined(RowSpan other) const {
        if (Empty()) return other;
        if (other.Empty()) return *this;
        return {std::min(top, other.top), std::max(bottom, other.bottom)};
    }
    // The rows that lie within a picture of height rows.
    RowSpan Within(int height) const {
        const int from = std::max(top, 0);
        const int to = std::min(bottom, height);
        return to > from ? RowSpan{from, to} : RowSpan{};
    }
};

// True when a width x height image may be created (both sides in 1..32767).
constexpr bool ValidImageSize(long long width, long long height) {
    return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide;
}

}  // namespace velinor::render

#pragma once

#include <cstdint>

#include "render/RasterImage.h"

namespace velinor::render {

// The part of a source image placed with its top-left pixel at (x, y) that falls inside a
// target: source pixel (sx + i, sy + j) lands on target pixel (tx + i, ty + j).
struct Overlap {
    int sx = 0, sy = 0;
    int tx = 0, ty = 0;
    int width = 0, height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
};

Overlap ClipPlacement(const RasterImage& source, const RasterImage& target, int x, int y);

// Copies the source 1:1 with its top-left pixel on (x, y); an icon only where its mask is set.
void PasteOnto(RasterImage& target, const RasterImage& source, int x, int y);

// Lays the source over the target with constant opacity (opacity mod 256; 0 leaves the target
// as it was, 255 copies). An icon blends only where its mask is set.
void BlendOnto(RasterImage& target, const RasterImage& source, int x, int y, int opacity);

// Copies every source pixel that is not exactly key (nor masked out, for an icon).
void KeyOnto(RasterImage& target, const RasterImage& source, int x, int y, Color key);

}  // namespace velinor::render

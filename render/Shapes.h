#pragma once

#include "render/RasterImage.h"

namespace velinor::render {

// Fills the pixels x..x+width-1, y..y+height-1 that lie inside the image.
void FillRect(RasterImage& image, int x, int y, int width, int height, Color c);

// The 1-pixel border of the same rectangle; its inside is untouched.
void OutlineRect(RasterImage& image, int x, int y, int width, int height, Color c);

// The ellipse inscribed in the rectangle left x-rx, top y-ry, right x+rx, bottom y+ry (right
// and bottom exclusive). A pixel belongs to it when its centre lies inside the ellipse, which
// keeps the shape symmetric about both axes. Its boundary pixels (those with a 4-neighbour
// outside) are the outline; filled draws the inside as well. Radii below 1 draw nothing.
void DrawEllipseShape(RasterImage& image, int x, int y, int rx, int ry, Color c, bool filled);

}  // namespace velinor::render

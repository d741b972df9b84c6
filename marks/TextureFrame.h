#pragma once

#include "render/RasterImage.h"

namespace velinor::marks {

// Lays a frame of four bands of equal width border (top, bottom, left, right) filled with the
// tile repeated from the picture's origin over the picture: pixel (x, y) of a band takes tile
// pixel (x mod tw, y mod th), blended with constant opacity (mod 256; 255 opaque, 0 nothing).
// The corners belong to two bands and are blended once. When 2 x border reaches the picture's
// width or height the bands cover the whole picture. An empty tile draws nothing.
//
// This is the same as building a layer that holds the picture with opaque textured bands and
// blending that layer over the picture: inside the frame the layer equals the picture, and a
// pixel blended over itself stays as it was, so only the bands need to be touched.
void DrawTextureFrame(render::RasterImage& picture, const render::RasterImage& tile, int border, int opacity);

}  // namespace velinor::marks

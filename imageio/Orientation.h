#pragma once

#include <cstdint>
#include <span>

#include "render/RasterImage.h"

namespace velinor::imageio {

// The orientation tag (1..8) of an EXIF block (the bytes after "Exif\0\0": a TIFF header and
// its first directory). 1, meaning upright, when the block has no valid tag.
int ExifOrientation(std::span<const std::uint8_t> tiff);

// Turns a picture stored with the given orientation upright: 2 mirror, 3 half turn,
// 4 flip, 5 transpose, 6 quarter turn clockwise, 7 transverse, 8 quarter turn anticlockwise.
render::RasterImage ApplyOrientation(render::RasterImage image, int orientation);

}  // namespace velinor::imageio

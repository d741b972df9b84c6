#pragma once

#include "render/RasterImage.h"

namespace velinor::render {

// Area-average ("halftone") resampling: each destination pixel is the average of the source
// pixels its area covers, weighted by how much of each it covers. An icon's mask is resampled
// with the nearest source pixel. The destination size must be valid (see ValidImageSize).
RasterImage ScaleHalftone(const RasterImage& source, int width, int height);

}  // namespace velinor::render

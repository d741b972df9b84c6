#pragma once

#include <cstddef>
#include <optional>

#include "render/Pixels.h"
#include "render/RasterImage.h"

namespace velinor::render {

// A store of count pixels of one colour.
Pixels MakePixels(std::size_t count, Color fill);

// An exact copy of pixels.
Pixels CopyPixels(const Pixels& pixels);

// An exact copy of image, mask included; nothing when memory runs out.
std::optional<RasterImage> CopyImage(const RasterImage& image);

}  // namespace velinor::render

#pragma once

#include <cstddef>

#include "render/Color.h"
#include "render/RasterImage.h"

namespace velinor::marks::testing {

// The picture vocabulary every mark test speaks.
using render::Color;
using render::MakeColor;
using render::RasterImage;

// A picture of one colour.
inline RasterImage Filled(int width, int height, Color c) {
    RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, c);
    return image;
}

}  // namespace velinor::marks::testing

#pragma once

#include <cstddef>

#include "render/Color.h"
#include "render/RasterImage.h"

namespace velinor::marks::testing {

// A picture of one colour.
inline render::RasterImage Filled(int width, int height, render::Color c) {
    render::RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, c);
    return image;
}

}  // namespace velinor::marks::testing

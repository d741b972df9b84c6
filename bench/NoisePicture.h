#pragma once

#include <cstddef>
#include <cstdint>

#include "render/Color.h"
#include "render/RasterImage.h"

namespace velinor::bench {

// A picture of 24-bit noise (top byte zero), the same for the same seed: every pixel differs
// from its neighbours, so no step the benches time can take a shortcut over flat areas.
inline render::RasterImage NoisePicture(int width, int height, std::uint32_t seed) {
    render::RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    std::uint32_t x = seed;
    for (render::Color& c : image.pixels) {
        x = x * 1664525u + 1013904223u;
        c = x >> 8;
    }
    return image;
}

}  // namespace velinor::bench

#include "imageio/BgrRows.h"

#include <cstring>

#include "render/Vectorise.h"

namespace velinor::imageio {

namespace {

// Written as plain indexed byte stores with no running pointer, so the compiler turns each
// loop into vector shuffles of several pixels at once.
VELINOR_PIXEL_LOOP void ColorsToBgr(const render::Color* source, std::size_t count, std::uint8_t* out) {
    for (std::size_t x = 0; x < count; ++x) {
        const render::Color c = source[x];
        out[3 * x] = static_cast<std::uint8_t>(c >> 16);
        out[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
        out[3 * x + 2] = static_cast<std::uint8_t>(c);
    }
}

VELINOR_PIXEL_LOOP void ColorsToRgb(const render::Color* source, std::size_t count, std::uint8_t* out) {
    for (std::size_t x = 0; x < count; ++x) {
        const render::Color c = source[x];
        out[3 * x] = static_cast<std::uint8_t>(c);
        out[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
        out[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
    }
}

}  // namespace

void BgrRows::TopRow(int y, std::uint8_t* out) const {
    const std::size_t width = static_cast<std::size_t>(width_);
    ColorsToBgr(Pixels(y), width, out);
    std::memset(out + width * 3, 0, stride_ - width * 3);
}

void BgrRows::TopRowRgb(int y, std::uint8_t* out) const {
    ColorsToRgb(Pixels(y), static_cast<std::size_t>(width_), out);
}

}  // namespace velinor::imageio

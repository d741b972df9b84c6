#include "imageio/BgrRows.h"

#include <cstring>

namespace velinor::imageio {

void BgrRows::TopRow(int y, std::uint8_t* out) const {
    const render::Color* source = Pixels(y);
    for (int x = 0; x < image_.width; ++x) {
        const render::Color c = source[x];
        out[0] = static_cast<std::uint8_t>(c >> 16);
        out[1] = static_cast<std::uint8_t>(c >> 8);
        out[2] = static_cast<std::uint8_t>(c);
        out += 3;
    }
    std::memset(out, 0, stride_ - static_cast<std::size_t>(image_.width) * 3);
}

void BgrRows::TopRowRgb(int y, std::uint8_t* out) const {
    const render::Color* source = Pixels(y);
    for (int x = 0; x < image_.width; ++x) {
        const render::Color c = source[x];
        out[0] = static_cast<std::uint8_t>(c);
        out[1] = static_cast<std::uint8_t>(c >> 8);
        out[2] = static_cast<std::uint8_t>(c >> 16);
        out += 3;
    }
}

}  // namespace velinor::imageio

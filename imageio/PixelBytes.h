#pragma once

#include <cstddef>
#include <cstdint>

#include "render/Color.h"

namespace velinor::imageio {

// The Color of a pixel stored blue, green, red, as bitmaps and TGA files store them.
constexpr render::Color ColorFromBgr(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return static_cast<render::Color>(red) | (static_cast<render::Color>(green) << 8) |
           (static_cast<render::Color>(blue) << 16);
}

// Libraries write pixels as R, G, B, X bytes straight into a Color row; this turns each
// four-byte group into a Color in place, whatever the machine's byte order, and hands the
// fourth bytes to alpha when asked.
void RgbxBytesToColors(render::Color* row, std::size_t count, std::uint8_t* alpha = nullptr);

}  // namespace velinor::imageio

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "render/RasterImage.h"

namespace velinor::imageio {

// The pixel layout every writer receives: 3 bytes a pixel in blue, green, red order; rows
// bottom to top (the first row in memory is the picture's bottom row); each row padded with
// zeros to a multiple of 4 bytes; one spare row after the last.
struct BgrBuffer {
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    std::vector<std::uint8_t> bytes;

    // Row y of the picture counted from the top.
    const std::uint8_t* TopRow(int y) const {
        return bytes.data() + static_cast<std::size_t>(height - 1 - y) * stride;
    }
};

// 3 * width rounded up to a multiple of 4, i.e. 3 * width + width mod 4.
constexpr std::size_t BgrStride(int width) {
    return static_cast<std::size_t>(width) * 3 + static_cast<std::size_t>(width % 4);
}

// Nothing when the image has no pixels, impossible sides, or the buffer cannot be allocated.
std::optional<BgrBuffer> MakeBgrBuffer(const render::RasterImage& image);

}  // namespace velinor::imageio

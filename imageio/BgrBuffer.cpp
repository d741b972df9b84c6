#include "imageio/BgrBuffer.h"

#include <new>

namespace velinor::imageio {

std::optional<BgrBuffer> MakeBgrBuffer(const render::RasterImage& image) {
    if (!render::ValidImageSize(image.width, image.height)) return std::nullopt;
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    if (image.pixels.size() < count) return std::nullopt;

    BgrBuffer buffer;
    buffer.width = image.width;
    buffer.height = image.height;
    buffer.stride = BgrStride(image.width);
    try {
        buffer.bytes.assign(buffer.stride * (static_cast<std::size_t>(image.height) + 1), 0);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* row = buffer.bytes.data() + static_cast<std::size_t>(image.height - 1 - y) * buffer.stride;
        const render::Color* source = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x) {
            const render::Color c = source[x];
            row[0] = static_cast<std::uint8_t>(render::BlueOf(c));
            row[1] = static_cast<std::uint8_t>(render::GreenOf(c));
            row[2] = static_cast<std::uint8_t>(render::RedOf(c));
            row += 3;
        }
    }
    return buffer;
}

}  // namespace velinor::imageio

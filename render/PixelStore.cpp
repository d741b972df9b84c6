#include "render/PixelStore.h"

#include <new>

namespace velinor::render {

Pixels MakePixels(std::size_t count, Color fill) { return Pixels(count, fill); }

Pixels CopyPixels(const Pixels& pixels) { return pixels; }

std::optional<RasterImage> CopyImage(const RasterImage& image) {
    try {
        RasterImage copy;
        copy.width = image.width;
        copy.height = image.height;
        copy.depth = image.depth;
        copy.pixels = CopyPixels(image.pixels);
        copy.mask = image.mask;
        return copy;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace velinor::render

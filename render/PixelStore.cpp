#include "render/PixelStore.h"

namespace velinor::render {

void ReservePixels(Pixels& pixels, std::size_t count) { pixels.reserve(count); }

Pixels MakePixels(std::size_t count, Color fill) {
    Pixels pixels;
    ReservePixels(pixels, count);
    pixels.assign(count, fill);
    return pixels;
}

Pixels CopyPixels(const Pixels& pixels) {
    Pixels copy;
    ReservePixels(copy, pixels.size());
    copy.assign(pixels.begin(), pixels.end());
    return copy;
}

}  // namespace velinor::render

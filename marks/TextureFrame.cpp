#include "marks/TextureFrame.h"

#include <algorithm>
#include <cstdint>

#include "render/Blend.h"

namespace velinor::marks {
namespace {

// Blends the tile, repeated, over pixels [from, to) of row y.
void BlendTiledSpan(render::RasterImage& picture, const render::RasterImage& tile, int y, int from, int to,
                    std::uint32_t a) {
    const render::Color* tileRow = tile.pixels.data() + static_cast<std::size_t>(y % tile.height) * tile.width;
    render::Color* row = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
    int x = from;
    while (x < to) {
        const int tx = x % tile.width;
        const int count = std::min(tile.width - tx, to - x);
        if (a == 255) {
            std::copy_n(tileRow + tx, count, row + x);
        } else {
            render::BlendRow(tileRow + tx, row + x, static_cast<std::size_t>(count), a);
        }
        x += count;
    }
}

}  // namespace

void DrawTextureFrame(render::RasterImage& picture, const render::RasterImage& tile, int border, int opacity) {
    const auto a = static_cast<std::uint32_t>(opacity) & 0xFFu;
    if (a == 0 || border <= 0 || tile.width <= 0 || tile.height <= 0 || tile.pixels.empty()) return;
    const int w = picture.width;
    const int h = picture.height;
    // Rows above top or from bottom on belong wholly to the top and bottom bands; the rows
    // between them only at their two ends.
    const int top = std::min(border, h);
    const int bottom = std::max(h - border, top);
    const int left = std::min(border, w);
    const int right = std::max(w - border, left);
    for (int y = 0; y < h; ++y) {
        if (y < top || y >= bottom) {
            BlendTiledSpan(picture, tile, y, 0, w, a);
        } else {
            BlendTiledSpan(picture, tile, y, 0, left, a);
            BlendTiledSpan(picture, tile, y, right, w, a);
        }
    }
}

}  // namespace velinor::marks

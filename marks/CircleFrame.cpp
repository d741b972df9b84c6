#include "marks/CircleFrame.h"

#include <algorithm>
#include <cstdint>

#include "render/Blend.h"
#include "render/Shapes.h"

namespace velinor::marks {
namespace {

using render::RasterImage;

// The frame layer drawn into a window of it: origin (ox, oy) of the full layer lands on
// pixel (0, 0) of part.
void DrawLayerPart(RasterImage& part, int ox, int oy, int width, int height, const CircleFrameParams& p,
                   const std::vector<Circle>& circles) {
    const render::Color c = p.colour & 0xFFFFFFu;
    std::fill(part.pixels.begin(), part.pixels.end(), c);
    // A band of 2 x b or more leaves no inside: the box has no size and the colour stays.
    const int insideWidth = width - 2 * p.border;
    const int insideHeight = height - 2 * p.border;
    if (insideWidth > 0 && insideHeight > 0) {
        render::FillRect(part, p.border - ox, p.border - oy, insideWidth, insideHeight, render::kBlack);
    }
    for (const Circle& circle : circles) {
        const int x = circle.x - ox;
        const int y = circle.y - oy;
        const int r = circle.radius;
        // Radius 1 is the 2 x 2 square with its top-left pixel on the centre.
        if (x + r < 0 || y + r < 0 || x - r >= part.width || y - r >= part.height) continue;
        if (r == 1) {
            render::FillRect(part, x, y, 2, 2, c);
        } else {
            render::DrawEllipseShape(part, x, y, r, r, c, p.filled);
        }
    }
}

// Lays the non-black pixels of the part over the picture's pixels beneath it.
void LayPart(RasterImage& picture, const RasterImage& part, int ox, int oy, std::uint32_t t) {
    for (int j = 0; j < part.height; ++j) {
        const render::Color* layer = part.pixels.data() + static_cast<std::size_t>(j) * part.width;
        render::Color* row = picture.pixels.data() + static_cast<std::size_t>(oy + j) * picture.width + ox;
        for (int i = 0; i < part.width; ++i) {
            if (layer[i] != render::kBlack) row[i] = render::BlendPixel(row[i], layer[i], t);
        }
    }
}

}  // namespace

std::vector<Circle> FrameCircles(int width, int height, const CircleFrameParams& params, render::RandomSource& random) {
    std::vector<Circle> circles;
    const long long step = static_cast<long long>(params.gap) + 1;
    if (step <= 0) return circles;
    for (long long i = 0; i <= width; i += step) {
        const int x = static_cast<int>(i);
        circles.push_back({x, params.border, random.RandomUpTo(params.maxRadius)});
        circles.push_back({x, height - params.border, random.RandomUpTo(params.maxRadius)});
    }
    if (params.sides == 4) {
        for (long long i = 0; i <= height; i += step) {
            const int y = static_cast<int>(i);
            circles.push_back({params.border, y, random.RandomUpTo(params.maxRadius)});
            circles.push_back({width - params.border, y, random.RandomUpTo(params.maxRadius)});
        }
    }
    return circles;
}

void DrawCircleFrameLayer(RasterImage& layer, const CircleFrameParams& params, const std::vector<Circle>& circles) {
    DrawLayerPart(layer, 0, 0, layer.width, layer.height, params, circles);
}

void DrawCircleFrame(RasterImage& picture, const CircleFrameParams& params, const std::vector<Circle>& circles,
                     int transparency) {
    const auto t = static_cast<std::uint32_t>(transparency) & 0xFFu;
    if ((params.colour & 0xFFFFFFu) == render::kBlack || t == 255) return;
    const int w = picture.width;
    const int h = picture.height;
    if (w <= 0 || h <= 0) return;
    // Frame pixels lie within the band or within R + 1 of its inner edge; those strips are cut
    // into disjoint parts (top, bottom, then left and right between them) so that no pixel is
    // laid twice.
    const long long reach = std::max(0, params.border) + static_cast<long long>(std::max(0, params.maxRadius)) + 2;
    const int topEnd = static_cast<int>(std::min<long long>(reach, h));
    const int bottomStart = static_cast<int>(std::max<long long>(h - reach, topEnd));
    const int leftEnd = static_cast<int>(std::min<long long>(reach, w));
    const int rightStart = static_cast<int>(std::max<long long>(w - reach, leftEnd));

    struct Part {
        int x, y, width, height;
    };
    const Part parts[] = {
        {0, 0, w, topEnd},
        {0, bottomStart, w, h - bottomStart},
        {0, topEnd, leftEnd, bottomStart - topEnd},
        {rightStart, topEnd, w - rightStart, bottomStart - topEnd},
    };
    RasterImage layer;
    for (const Part& part : parts) {
        if (part.width <= 0 || part.height <= 0) continue;
        layer.width = part.width;
        layer.height = part.height;
        layer.pixels.assign(static_cast<std::size_t>(part.width) * part.height, render::kBlack);
        DrawLayerPart(layer, part.x, part.y, w, h, params, circles);
        LayPart(picture, layer, part.x, part.y, t);
    }
}

}  // namespace velinor::marks

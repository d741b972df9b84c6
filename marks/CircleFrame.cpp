#include "marks/CircleFrame.h"

#include <algorithm>
#include <cmath>
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

// The rows of a circle of radius r >= 2 as the ellipse primitive draws them, relative to the
// centre column: row j (0 = top of the bounding box) covers [first, last]; for an outline,
// [innerFirst, innerLast] is its inside, empty (innerFirst > innerLast) when the whole row is
// outline. Worked out once per radius: frames with a small gap draw thousands of circles of
// the same few radii.
struct RowSpan {
    int first = 1, last = 0;
    int innerFirst = 1, innerLast = 0;
};

class CircleRows {
public:
    const std::vector<RowSpan>& For(int r) {
        if (static_cast<std::size_t>(r) >= table_.size()) table_.resize(static_cast<std::size_t>(r) + 1);
        std::vector<RowSpan>& rows = table_[static_cast<std::size_t>(r)];
        if (rows.empty()) rows = Make(r);
        return rows;
    }

private:
    struct Row {
        long long first = 1, last = 0;
    };

    // The same pixel-centre test as the ellipse primitive, measured from the box's left edge.
    static Row EllipseRow(long long r, long long j) {
        Row row;
        if (j < 0 || j >= 2 * r) return row;
        const double v = (2.0 * static_cast<double>(j) + 1.0 - 2.0 * static_cast<double>(r)) / (2.0 * static_cast<double>(r));
        const double rest = 1.0 - v * v;
        if (rest <= 0.0) return row;
        const double halfWidth = static_cast<double>(r) * std::sqrt(rest);
        const auto reach = static_cast<long long>(std::floor(halfWidth + 0.5));
        if (reach <= 0) return row;
        row.first = r - reach;
        row.last = r + reach - 1;
        return row;
    }

    static std::vector<RowSpan> Make(int r) {
        std::vector<RowSpan> rows(static_cast<std::size_t>(2 * r));
        for (int j = 0; j < 2 * r; ++j) {
            const Row row = EllipseRow(r, j), above = EllipseRow(r, j - 1), below = EllipseRow(r, j + 1);
            RowSpan& span = rows[static_cast<std::size_t>(j)];
            if (row.first > row.last) continue;
            span.first = static_cast<int>(row.first - r);
            span.last = static_cast<int>(row.last - r);
            const long long innerFirst = std::max({row.first + 1, above.first, below.first});
            const long long innerLast = std::min({row.last - 1, above.last, below.last});
            span.innerFirst = static_cast<int>(innerFirst - r);
            span.innerLast = static_cast<int>(innerLast - r);
        }
        return rows;
    }

    std::vector<std::vector<RowSpan>> table_;
};

// The same layer window as DrawLayerPart, without overdrawing: only the inside of the band
// can change (the rest already has the frame colour), filled circles are merged row by row
// before anything is written, and outlines are written span by span.
void DrawLayerPartFast(RasterImage& part, int ox, int oy, int width, int height, const CircleFrameParams& p,
                       const std::vector<Circle>& circles, CircleRows& table) {
    const render::Color c = p.colour & 0xFFFFFFu;
    std::fill(part.pixels.begin(), part.pixels.end(), c);
    const int insideWidth = width - 2 * p.border;
    const int insideHeight = height - 2 * p.border;
    if (insideWidth <= 0 || insideHeight <= 0) return;
    render::FillRect(part, p.border - ox, p.border - oy, insideWidth, insideHeight, render::kBlack);
    // Where circles can show, in part coordinates: the inside of the band within the part.
    const int left = std::max(p.border - ox, 0);
    const int right = std::min(p.border + insideWidth - ox, part.width);   // exclusive
    const int top = std::max(p.border - oy, 0);
    const int bottom = std::min(p.border + insideHeight - oy, part.height);
    if (left >= right || top >= bottom) return;

    // The circles that reach the inside within this part, by their first row. Rows are then
    // visited in order with the circles that cover them, so each row's spans are merged in one
    // small buffer: the furthest column a span starting at each column reaches.
    struct Reaching {
        long long x, y, firstRow, lastRow;
        int r;
    };
    std::vector<Reaching> reaching;
    for (const Circle& circle : circles) {
        const long long x = static_cast<long long>(circle.x) - ox;
        const long long y = static_cast<long long>(circle.y) - oy;
        const int r = circle.radius;
        if (r <= 0 || x + r < left || x - r >= right || y + r < top || y - r >= bottom) continue;
        const long long firstRow = std::max<long long>(r == 1 ? y : y - r, top);
        const long long lastRow = std::min<long long>(r == 1 ? y + 1 : y + r - 1, bottom - 1LL);
        if (firstRow <= lastRow) reaching.push_back({x, y, firstRow, lastRow, r});
    }
    std::sort(reaching.begin(), reaching.end(), [](const Reaching& a, const Reaching& b) { return a.firstRow < b.firstRow; });

    const int columns = right - left;
    std::vector<int> furthest(static_cast<std::size_t>(columns));
    std::vector<const Reaching*> active;
    std::size_t next = 0;
    for (int row = top; row < bottom; ++row) {
        while (next < reaching.size() && reaching[next].firstRow <= row) active.push_back(&reaching[next++]);
        if (active.empty()) continue;
        render::Color* pixels = part.pixels.data() + static_cast<std::size_t>(row) * part.width;
        if (p.filled) std::fill(furthest.begin(), furthest.end(), -1);
        auto mark = [&](long long first, long long last) {
            first = std::max<long long>(first, left);
            last = std::min<long long>(last, right - 1LL);
            if (first > last) return;
            if (p.filled) {
                int& reach = furthest[static_cast<std::size_t>(first - left)];
                reach = std::max(reach, static_cast<int>(last - left));
            } else {
                std::fill(pixels + first, pixels + last + 1, c);
            }
        };
        for (std::size_t k = 0; k < active.size();) {
            const Reaching& circle = *active[k];
            if (circle.lastRow < row) {
                active[k] = active.back();
                active.pop_back();
                continue;
            }
            ++k;
            if (circle.r == 1) {
                // The 2 x 2 square with its top-left pixel on the centre.
                mark(circle.x, circle.x + 1);
                continue;
            }
            const RowSpan& span = table.For(circle.r)[static_cast<std::size_t>(row - (circle.y - circle.r))];
            if (span.first > span.last) continue;
            if (p.filled || span.innerFirst > span.innerLast) {
                mark(circle.x + span.first, circle.x + span.last);
            } else {
                mark(circle.x + span.first, circle.x + span.innerFirst - 1);
                mark(circle.x + span.innerLast + 1, circle.x + span.last);
            }
        }
        if (!p.filled) continue;
        render::Color* inside = pixels + left;
        int i = 0;
        while (i < columns) {
            if (furthest[static_cast<std::size_t>(i)] < i) {
                ++i;
                continue;
            }
            // A run of merged spans: it ends where no span started inside it reaches further.
            int end = furthest[static_cast<std::size_t>(i)];
            for (int k = i + 1; k <= end; ++k) end = std::max(end, furthest[static_cast<std::size_t>(k)]);
            std::fill(inside + i, inside + end + 1, c);
            i = end + 1;
        }
    }
}

// Lays the non-black pixels of the part over the picture's pixels beneath it: each frame
// pixel becomes picture x t / 255 + layer x (255 - t) / 255. Runs of frame pixels are blended
// together (into the layer, which is scratch by now) and copied back.
void LayPart(RasterImage& picture, RasterImage& part, int ox, int oy, std::uint32_t t) {
    for (int j = 0; j < part.height; ++j) {
        render::Color* layer = part.pixels.data() + static_cast<std::size_t>(j) * part.width;
        render::Color* row = picture.pixels.data() + static_cast<std::size_t>(oy + j) * picture.width + ox;
        int i = 0;
        while (i < part.width) {
            while (i < part.width && layer[i] == render::kBlack) ++i;
            const int start = i;
            while (i < part.width && layer[i] != render::kBlack) ++i;
            if (i == start) continue;
            const auto count = static_cast<std::size_t>(i - start);
            if (t != 0) render::BlendRow(row + start, layer + start, count, t);
            std::copy_n(layer + start, count, row + start);
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
    CircleRows table;
    for (const Part& part : parts) {
        if (part.width <= 0 || part.height <= 0) continue;
        layer.width = part.width;
        layer.height = part.height;
        layer.pixels.assign(static_cast<std::size_t>(part.width) * part.height, render::kBlack);
        DrawLayerPartFast(layer, part.x, part.y, w, h, params, circles, table);
        LayPart(picture, layer, part.x, part.y, t);
    }
}

}  // namespace velinor::marks

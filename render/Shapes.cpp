#include "render/Shapes.h"

#include <algorithm>
#include <cmath>

namespace velinor::render {
namespace {

// Sets the pixels of row y from x0 to x1 inclusive, clipped to the image.
void Span(RasterImage& image, long long x0, long long x1, long long y, Color c) {
    if (y < 0 || y >= image.height) return;
    x0 = std::max<long long>(x0, 0);
    x1 = std::min<long long>(x1, image.width - 1LL);
    if (x1 < x0) return;
    Color* row = &image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width)];
    std::fill(row + x0, row + x1 + 1, c);
}

// Pixels are stored without a top byte; a colour outside 0..0xFFFFFF keeps its channels only.
Color Stored(Color c) { return c & 0xFFFFFFu; }

// Column range [first, last] of ellipse row j (0 = top row of the bounding rectangle), measured
// from the rectangle's left edge; first > last for an empty row.
struct Row {
    long long first = 1, last = 0;
    bool Covers(long long i) const { return i >= first && i <= last; }
};

Row EllipseRow(long long rx, long long ry, long long j) {
    Row row;
    if (j < 0 || j >= 2 * ry) return row;
    // Pixel centres relative to the ellipse centre sit at half-integers: v = (2j + 1 - 2ry) / 2.
    const double v = (2.0 * static_cast<double>(j) + 1.0 - 2.0 * static_cast<double>(ry)) /
                     (2.0 * static_cast<double>(ry));
    const double rest = 1.0 - v * v;
    if (rest <= 0.0) return row;
    const double halfWidth = static_cast<double>(rx) * std::sqrt(rest);
    // Column i's centre is at i + 0.5 - rx; it is inside when |i + 0.5 - rx| <= halfWidth.
    const auto reach = static_cast<long long>(std::floor(halfWidth + 0.5));  // whole pixels on each side
    if (reach <= 0) return row;
    row.first = rx - reach;
    row.last = rx + reach - 1;
    return row;
}

}  // namespace

void FillRect(RasterImage& image, int x, int y, int width, int height, Color c) {
    if (width <= 0 || height <= 0) return;
    const long long top = std::max<long long>(y, 0);
    const long long bottom = std::min<long long>(static_cast<long long>(y) + height, image.height);
    for (long long py = top; py < bottom; ++py) Span(image, x, static_cast<long long>(x) + width - 1, py, Stored(c));
}

void OutlineRect(RasterImage& image, int x, int y, int width, int height, Color c) {
    if (width <= 0 || height <= 0) return;
    const long long right = static_cast<long long>(x) + width - 1;
    const long long bottom = static_cast<long long>(y) + height - 1;
    c = Stored(c);
    Span(image, x, right, y, c);
    Span(image, x, right, bottom, c);
    const long long top = std::max<long long>(static_cast<long long>(y) + 1, 0);
    const long long last = std::min<long long>(bottom - 1, image.height - 1LL);
    for (long long py = top; py <= last; ++py) {
        Span(image, x, x, py, c);
        Span(image, right, right, py, c);
    }
}

void DrawEllipseShape(RasterImage& image, int x, int y, int rx, int ry, Color c, bool filled) {
    if (rx < 1 || ry < 1) return;
    c = Stored(c);
    const long long left = static_cast<long long>(x) - rx;
    const long long top = static_cast<long long>(y) - ry;
    // Only rows that can reach the image are visited.
    const long long jFirst = std::max<long long>(0, -top);
    const long long jLast = std::min<long long>(2LL * ry - 1, image.height - 1LL - top);
    for (long long j = jFirst; j <= jLast; ++j) {
        const Row row = EllipseRow(rx, ry, j);
        if (row.first > row.last) continue;
        const long long py = top + j;
        if (filled) {
            Span(image, left + row.first, left + row.last, py, c);
            continue;
        }
        // The inside of this row is what its neighbours above and below cover as well;
        // everything else in the row is boundary.
        const Row above = EllipseRow(rx, ry, j - 1);
        const Row below = EllipseRow(rx, ry, j + 1);
        const long long innerFirst = std::max({row.first + 1, above.first, below.first});
        const long long innerLast = std::min({row.last - 1, above.last, below.last});
        if (innerFirst > innerLast) {
            Span(image, left + row.first, left + row.last, py, c);
        } else {
            Span(image, left + row.first, left + innerFirst - 1, py, c);
            Span(image, left + innerLast + 1, left + row.last, py, c);
        }
    }
}

}  // namespace velinor::render

#include "render/TextPaint.h"

#include <algorithm>

#include "render/Blend.h"
#include "render/Shapes.h"

namespace velinor::render {
namespace {

void BlendGlyph(RasterImage& image, const Glyph& glyph, long long left, long long top, Color colour) {
    const long long firstRow = std::max<long long>(0, -top);
    const long long lastRow = std::min<long long>(glyph.rows, image.height - top);
    const long long firstCol = std::max<long long>(0, -left);
    const long long lastCol = std::min<long long>(glyph.width, image.width - left);
    for (long long gy = firstRow; gy < lastRow; ++gy) {
        const std::uint8_t* coverage = glyph.coverage.data() + gy * glyph.width;
        Color* row = image.pixels.data() + (top + gy) * image.width;
        for (long long gx = firstCol; gx < lastCol; ++gx) {
            const std::uint32_t a = coverage[gx];
            if (a != 0) row[left + gx] = BlendPixel(colour, row[left + gx], a);
        }
    }
}

// Fills a band of the text cell, clipped to both the image and int range.
void FillBand(RasterImage& image, long long x, long long y, long long width, const Band& band, Color c) {
    const long long top = y + band.top;
    if (x >= image.width || top >= image.height || x + width <= 0 || top + band.thickness <= 0) return;
    const long long left = std::max<long long>(x, -1);
    const long long right = std::min<long long>(x + width, image.width + 1LL);
    const long long clippedTop = std::max<long long>(top, -1);
    FillRect(image, static_cast<int>(left), static_cast<int>(clippedTop), static_cast<int>(right - left),
             static_cast<int>(top + band.thickness - clippedTop), c);
}

}  // namespace

int PaintText(RasterImage& image, Font& font, int x, int y, std::u32string_view text, Color colour,
              bool transparentBackground) {
    if (text.empty()) return 0;
    colour &= 0xFFFFFFu;
    const int width = font.Measure(text);
    if (!transparentBackground) {
        FillBand(image, x, y, width, Band{0, font.CellHeight()}, kWhite);
    }
    const long long baseline = static_cast<long long>(y) + font.Ascent();
    long long pen = x;
    for (char32_t c : text) {
        const Glyph& glyph = font.GlyphFor(c);
        if (!glyph.coverage.empty()) {
            BlendGlyph(image, glyph, pen + glyph.left, baseline - glyph.top, colour);
        }
        pen += glyph.advance;
    }
    if (font.Underline()) FillBand(image, x, y, width, font.UnderlineBand(), colour);
    if (font.StrikeOut()) FillBand(image, x, y, width, font.StrikeOutBand(), colour);
    return width;
}

RowSpan PaintedRows(Font& font, int y, std::u32string_view text, bool transparentBackground) {
    if (text.empty()) return {};
    RowSpan rows;
    const auto add = [&](long long top, long long height) {
        if (height > 0) rows = rows.Joined(RowSpan::Clamped(top, top + height));
    };
    if (!transparentBackground) add(y, font.CellHeight());
    const long long baseline = static_cast<long long>(y) + font.Ascent();
    for (char32_t c : text) {
        const Glyph& glyph = font.GlyphFor(c);
        if (!glyph.coverage.empty()) add(baseline - glyph.top, glyph.rows);
    }
    if (font.Underline()) add(static_cast<long long>(y) + font.UnderlineBand().top, font.UnderlineBand().thickness);
    if (font.StrikeOut()) add(static_cast<long long>(y) + font.StrikeOutBand().top, font.StrikeOutBand().thickness);
    return rows;
}

}  // namespace velinor::render

#pragma once

#include <string_view>

#include "render/Font.h"
#include "render/RasterImage.h"

namespace velinor::render {

// Draws one line of text with the top-left corner of its cell at (x, y): glyph coverage blends
// colour over the image, underline and strike-out are solid bands across the text width. When
// the background is not transparent the cell (text width x cell height) is painted white
// first. Pixels outside the image are cut off. Returns the text width.
int PaintText(RasterImage& image, Font& font, int x, int y, std::u32string_view text, Color colour,
              bool transparentBackground);

// The rows PaintText may change when it draws text with the top of its cell at row y: every
// glyph's bitmap (which may reach beyond the cell), the bands and, with an opaque background,
// the cell. Not cut to any picture.
RowSpan PaintedRows(Font& font, int y, std::u32string_view text, bool transparentBackground);

}  // namespace velinor::render

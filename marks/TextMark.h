#pragma once

#include <string>
#include <string_view>

#include "marks/Anchor.h"
#include "render/Color.h"
#include "render/FontDescription.h"
#include "render/FontTable.h"
#include "render/RasterImage.h"

namespace velinor::marks {

// Style bits of MarkFontSpec::style.
constexpr int kStyleUnderline = 4;
constexpr int kStyleStrikeOut = 8;
constexpr int kStyleBold = 256;
constexpr int kStyleItalic = 512;

// The font the text mark is written in, shared by the single picture and the text batch.
// Empty face and size 0 stand for the default font.
struct MarkFontSpec {
    std::string face;
    int pointSize = 0;        // whole points
    render::Color colour = 0;  // text colour, 0x00BBGGRR
    int style = 0;            // kStyle* bits
};

// The number the mark's font is created under; creating it again replaces the previous one.
constexpr int kFontMark = 63;

// The font description of spec on a display of dpi vertical pixels per inch: height minus
// (points x dpi / 72) rounded, weight 700 for bold, else 400.
render::FontDescription MarkFontDescription(const MarkFontSpec& spec, int dpi);

// Where the text's cell went, for callers that want to know.
struct TextMarkBox {
    int x = 0, y = 0;
    int width = 0;   // text width in pixels
    int height = 0;  // cell height of the font in pixels
};

// How a line of text is laid on a picture beyond its font and colour. The defaults draw the
// text alone, at its anchor's edge.
struct TextLook {
    int marginX = 0;                 // kept from the edges the anchor sits at (see Inset)
    int marginY = 0;
    int outline = 0;                 // a ring of this many pixels round every glyph, 0 for none
    render::Color outlineColour = render::kBlack;
    bool shadow = false;             // the text once more in black, down and right, beneath it
};

// Writes one line of UTF-8 text in font and colour onto picture, its cell's top-left corner
// placed by AnchorPlacement with the text width and the font's cell height and moved inwards by
// the look's margins. The outline is the text drawn in the outline colour at every offset
// within its radius, the shadow the text in black offset by a sixteenth of the cell height (at
// least one pixel), both beneath the text. An empty text draws nothing.
TextMarkBox DrawTextLine(render::RasterImage& picture, render::Font& font, render::Color colour, std::string_view text,
                         Anchor anchor, const TextLook& look = {});

// The rows of a pictureWidth x pictureHeight picture that DrawTextLine may change, drawing the
// same text in the same font, anchor and look: the text, its outline and its shadow.
render::RowSpan TextLineRows(int pictureWidth, int pictureHeight, render::Font& font, std::string_view text,
                             Anchor anchor, const TextLook& look = {});

// Writes one line of UTF-8 text onto picture at anchor: the font is (re)created as kFontMark
// in fonts from spec (the default font when that fails), the text is drawn in spec.colour with a
// transparent background, anti-aliased, its cell's top-left corner placed by AnchorPlacement
// with the text width and the font's cell height. What falls outside the picture is cut off.
// An empty text draws nothing.
TextMarkBox DrawTextMark(render::RasterImage& picture, render::FontTable& fonts, const MarkFontSpec& spec, int dpi,
                         std::string_view text, Anchor anchor);

}  // namespace velinor::marks

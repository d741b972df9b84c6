#include "marks/TextMark.h"

#include <algorithm>

#include "render/TextPaint.h"
#include "render/Utf8.h"

namespace velinor::marks {

render::FontDescription MarkFontDescription(const MarkFontSpec& spec, int dpi) {
    render::FontDescription description;
    description.face = spec.face;
    description.height = render::FontHeightForPoints(spec.pointSize, dpi);
    description.weight = (spec.style & kStyleBold) != 0 ? 700 : 400;
    description.italic = (spec.style & kStyleItalic) != 0;
    description.underline = (spec.style & kStyleUnderline) != 0;
    description.strikeOut = (spec.style & kStyleStrikeOut) != 0;
    return description;
}

TextMarkBox DrawTextMark(render::RasterImage& picture, render::FontTable& fonts, const MarkFontSpec& spec, int dpi,
                         std::string_view text, Anchor anchor) {
    fonts.CreateFont(kFontMark, MarkFontDescription(spec, dpi));
    render::Font* font = fonts.Get(kFontMark);
    if (font == nullptr) font = fonts.DefaultFont();
    if (font == nullptr) return {};
    return DrawTextLine(picture, *font, spec.colour, text, anchor);
}

namespace {

// Where the cell of characters goes on a pictureWidth x pictureHeight picture.
TextMarkBox PlaceTextCell(int pictureWidth, int pictureHeight, render::Font& font, std::u32string_view characters,
                          Anchor anchor, const TextLook& look) {
    TextMarkBox box;
    box.width = characters.empty() ? 0 : font.Measure(characters);
    box.height = font.CellHeight();
    const Placement at = Inset(AnchorPlacement(anchor, pictureWidth, pictureHeight, box.width, box.height), anchor,
                               look.marginX, look.marginY);
    box.x = at.x;
    box.y = at.y;
    return box;
}

// How far down and right the shadow lies from the text.
int ShadowOffset(const TextMarkBox& box) { return std::max(1, box.height / 16); }

}  // namespace

render::RowSpan TextLineRows(int pictureWidth, int pictureHeight, render::Font& font, std::string_view text,
                             Anchor anchor, const TextLook& look) {
    const std::u32string characters = render::DecodeUtf8(text);
    if (characters.empty()) return {};
    const TextMarkBox box = PlaceTextCell(pictureWidth, pictureHeight, font, characters, anchor, look);
    const render::RowSpan painted = render::PaintedRows(font, box.y, characters, true);
    if (painted.Empty()) return {};
    // The outline reaches r rows up and down; the shadow lies below.
    const long long r = std::max(0, look.outline);
    const long long below = std::max<long long>(r, look.shadow ? ShadowOffset(box) : 0);
    return render::RowSpan::Clamped(painted.top - r, painted.bottom + below).Within(pictureHeight);
}

TextMarkBox DrawTextLine(render::RasterImage& picture, render::Font& font, render::Color colour, std::string_view text,
                         Anchor anchor, const TextLook& look) {
    const std::u32string characters = render::DecodeUtf8(text);
    const TextMarkBox box = PlaceTextCell(picture.width, picture.height, font, characters, anchor, look);
    if (characters.empty()) return box;
    if (look.shadow) {
        const int offset = ShadowOffset(box);
        render::PaintText(picture, font, box.x + offset, box.y + offset, characters, render::kBlack, true);
    }
    const int r = look.outline;
    for (int dy = -r; dy <= r; ++dy) {
        for (int dx = -r; dx <= r; ++dx) {
            if ((dx == 0 && dy == 0) || dx * dx + dy * dy > r * r) continue;
            render::PaintText(picture, font, box.x + dx, box.y + dy, characters, look.outlineColour, true);
        }
    }
    render::PaintText(picture, font, box.x, box.y, characters, colour, /*transparentBackground=*/true);
    return box;
}

}  // namespace velinor::marks

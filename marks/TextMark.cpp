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

TextMarkBox DrawTextLine(render::RasterImage& picture, render::Font& font, render::Color colour, std::string_view text,
                         Anchor anchor, const TextLook& look) {
    const std::u32string characters = render::DecodeUtf8(text);
    TextMarkBox box;
    box.width = characters.empty() ? 0 : font.Measure(characters);
    box.height = font.CellHeight();
    const Placement at = Inset(AnchorPlacement(anchor, picture.width, picture.height, box.width, box.height), anchor,
                               look.marginX, look.marginY);
    box.x = at.x;
    box.y = at.y;
    if (characters.empty()) return box;
    if (look.shadow) {
        const int offset = std::max(1, box.height / 16);
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

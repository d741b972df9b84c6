#include "marks/LogoPlacement.h"

#include "render/Composite.h"

namespace velinor::marks {

namespace {

Placement LogoCorner(int pictureWidth, int pictureHeight, int logoWidth, int logoHeight, const LogoStyle& style) {
    return Inset(AnchorPlacement(style.anchor, pictureWidth, pictureHeight, logoWidth, logoHeight), style.anchor,
                 style.marginX, style.marginY);
}

}  // namespace

Placement PlaceLogo(render::RasterImage& picture, const render::RasterImage& logo, const LogoStyle& style) {
    const Placement at = LogoCorner(picture.width, picture.height, logo.width, logo.height, style);
    if (style.keyed) {
        render::KeyOnto(picture, logo, at.x, at.y, style.keyColour);
    } else {
        render::BlendOnto(picture, logo, at.x, at.y, 255 - style.transparency);
    }
    return at;
}

render::RowSpan LogoRows(int pictureWidth, int pictureHeight, int logoWidth, int logoHeight, const LogoStyle& style) {
    if (logoWidth <= 0 || logoHeight <= 0) return {};
    const Placement at = LogoCorner(pictureWidth, pictureHeight, logoWidth, logoHeight, style);
    return render::RowSpan::Clamped(at.y, static_cast<long long>(at.y) + logoHeight).Within(pictureHeight);
}

bool DrawLogo(render::RasterImage& picture, const render::RasterImage* logo, Anchor anchor, bool keyed,
              int transparency, render::Color keyColour) {
    if (logo == nullptr) return false;
    PlaceLogo(picture, *logo, {anchor, keyed, transparency, keyColour});
    return true;
}

}  // namespace velinor::marks

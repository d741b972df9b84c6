#include "marks/LogoPlacement.h"

#include "render/Composite.h"

namespace velinor::marks {

Placement PlaceLogo(render::RasterImage& picture, const render::RasterImage& logo, const LogoStyle& style) {
    const Placement at = Inset(AnchorPlacement(style.anchor, picture.width, picture.height, logo.width, logo.height),
                               style.anchor, style.marginX, style.marginY);
    if (style.keyed) {
        render::KeyOnto(picture, logo, at.x, at.y, style.keyColour);
    } else {
        render::BlendOnto(picture, logo, at.x, at.y, 255 - style.transparency);
    }
    return at;
}

bool DrawLogo(render::RasterImage& picture, const render::RasterImage* logo, Anchor anchor, bool keyed,
              int transparency, render::Color keyColour) {
    if (logo == nullptr) return false;
    PlaceLogo(picture, *logo, {anchor, keyed, transparency, keyColour});
    return true;
}

}  // namespace velinor::marks

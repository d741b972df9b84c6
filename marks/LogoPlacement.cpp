#include "marks/LogoPlacement.h"

#include "render/Composite.h"

namespace velinor::marks {

Placement PlaceLogo(render::RasterImage& picture, const render::RasterImage& logo, const LogoStyle& style) {
    const Placement at = AnchorPlacement(style.anchor, picture.width, picture.height, logo.width, logo.height);
    if (style.keyed) {
        render::KeyOnto(picture, logo, at.x, at.y, style.keyColour);
    } else {
        render::BlendOnto(picture, logo, at.x, at.y, 255 - style.transparency);
    }
    return at;
}

}  // namespace velinor::marks

#pragma once

#include "marks/Anchor.h"
#include "render/Color.h"
#include "render/RasterImage.h"

namespace velinor::marks {

struct LogoStyle {
    Anchor anchor = Anchor::Centre;
    bool keyed = false;            // drawn leaving out keyColour instead of blended
    int transparency = 0;          // 0 opaque .. 255 invisible; blended logos only
    render::Color keyColour = 0;   // keyed logos only
    int marginX = 0;               // kept from the edges the anchor sits at (see Inset)
    int marginY = 0;
};

// Draws the logo onto the picture at its anchor: a blended logo with opacity 255 - transparency
// (logo x (255 - t) / 255 + picture x t / 255 per channel), a keyed logo by copying every pixel
// that is not exactly the key colour. Logo pixels outside the picture are dropped, so a logo
// larger than the picture is cropped (on both sides at the centre anchors). Returns where its
// top-left corner went.
Placement PlaceLogo(render::RasterImage& picture, const render::RasterImage& logo, const LogoStyle& style);

// The rows of a pictureWidth x pictureHeight picture that PlaceLogo may change with a logo of
// logoWidth x logoHeight pixels.
render::RowSpan LogoRows(int pictureWidth, int pictureHeight, int logoWidth, int logoHeight, const LogoStyle& style);

// The logo mark as the window and the batch draw it: a logo that did not decode (null) draws
// nothing; else PlaceLogo at anchor, keyed with keyColour or blended with transparency. True
// when something was drawn.
bool DrawLogo(render::RasterImage& picture, const render::RasterImage* logo, Anchor anchor, bool keyed,
              int transparency, render::Color keyColour);

}  // namespace velinor::marks

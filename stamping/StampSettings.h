#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "imageio/PictureMetadata.h"
#include "imageio/Writer.h"
#include "marks/Anchor.h"
#include "marks/CircleFrame.h"
#include "marks/TextMark.h"
#include "render/Color.h"

// Every mark of one stamping, as a plain value: what the window's controls hold, what a preset
// file stores and what velinor-cli stamp is told. Nothing here refers to a window.
namespace velinor::stamping {

// A length given in pixels or as a share of the picture.
struct Length {
    double value = 0;
    bool percent = false;   // value is a percentage (of the side named where it is used)

    // The length in pixels on a side of side pixels, rounded to nearest.
    int Pixels(int side) const;
};

struct TextMarkSettings {
    std::string text;              // may hold variables ({stem}, {exif:Model}, ...), see TextVariables.h
    marks::MarkFontSpec font;      // face: a family name, or the path of a font file
    int dpi = 96;                  // the display the point size is measured on
    marks::Anchor anchor = marks::Anchor::Centre;
    // When given: the character height as a share of the picture's shorter side, instead of
    // font.pointSize.
    std::optional<double> sizePercent;
    int outline = 0;
    render::Color outlineColour = render::kBlack;
    bool shadow = false;
};

struct LogoMarkSettings {
    std::string file;
    marks::Anchor anchor = marks::Anchor::Centre;
    int transparency = 0;          // 0 opaque .. 255 invisible; logos that are not keyed
    // Keyed logos (GIF, ICO, PCX) leave this colour out; without one, the colour of the logo's
    // top-left pixel.
    std::optional<render::Color> keyColour;
    // When given: the logo is scaled to this width (pixels, or percent of the picture's width),
    // keeping its aspect ratio.
    std::optional<Length> width;
};

struct TextureFrameSettings {
    std::string tile;              // the tile's file
    int width = 16;                // band width in pixels
    int transparency = 0;          // 0 opaque .. 255 invisible
};

struct CircleFrameSettings {
    marks::CircleFrameParams params;
    int transparency = 0;          // 0 opaque .. 255 invisible
    // The radii are drawn from a sequence started afresh for every picture from this seed;
    // without one, from the program's random source (see render::RandomSource).
    std::optional<std::uint64_t> seed;
};

// Margins keep the logo and the text away from the edges they are anchored at; percent is of
// the picture's width (x) and height (y).
struct Margins {
    Length x;
    Length y;
};

// The marks are drawn in this order: a frame (texture, then circles), then the logo, then the text.
struct StampSettings {
    std::optional<TextureFrameSettings> texture;
    std::optional<CircleFrameSettings> circles;
    std::optional<LogoMarkSettings> logo;
    std::optional<TextMarkSettings> text;
    Margins margins;
    int quality = imageio::kDefaultJpegQuality;   // JPEG quality 0..10
    // A JPEG written as a JPEG keeps its own quality: only the blocks the marks change are
    // coded again (see LosslessStamp.h); quality serves the other pictures.
    bool lossless = false;
    imageio::MetadataChoices metadata;

    bool HasMark() const { return texture || circles || logo || text; }
};

}  // namespace velinor::stamping

#include "stamping/StampMarks.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <new>

#include "marks/LogoPlacement.h"
#include "marks/TextureFrame.h"
#include "render/Scale.h"

namespace velinor::stamping {

namespace {

bool SameFont(const render::FontDescription& a, const render::FontDescription& b) {
    return a.face == b.face && a.height == b.height && a.weight == b.weight && a.italic == b.italic &&
           a.underline == b.underline && a.strikeOut == b.strikeOut;
}

// A face that names a regular file is that font file; any other is a family name.
bool IsFontFile(const std::string& face) {
    struct stat info {};
    return face.find('/') != std::string::npos && ::stat(face.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

marks::TextLook TextLookFor(const TextMarkSettings& settings, const Margins& margins, int width, int height) {
    marks::TextLook look;
    look.marginX = margins.x.Pixels(width);
    look.marginY = margins.y.Pixels(height);
    look.outline = settings.outline;
    look.outlineColour = settings.outlineColour;
    look.shadow = settings.shadow;
    return look;
}

marks::LogoStyle LogoStyleFor(const LogoMarkSettings& settings, const LoadedLogo& logo, const Margins& margins,
                              int width, int height) {
    marks::LogoStyle style;
    style.anchor = settings.anchor;
    style.keyed = logo.keyed;
    style.transparency = settings.transparency;
    style.keyColour = logo.keyColour;
    style.marginX = margins.x.Pixels(width);
    style.marginY = margins.y.Pixels(height);
    return style;
}

struct LogoSize {
    int width = 0;
    int height = 0;
};

// The size logo is drawn at on a picture pictureWidth wide: scaled to the settings' width, its
// sides kept in proportion, or its own when it has none or the scaled one could not be made.
LogoSize DrawnLogoSize(const LogoMarkSettings& settings, const render::RasterImage& logo, int pictureWidth) {
    if (!settings.width) return {logo.width, logo.height};
    const int width = std::max(1, settings.width->Pixels(pictureWidth));
    const long long height = std::max<long long>(1, std::llround(static_cast<double>(logo.height) * width / logo.width));
    if (!render::ValidImageSize(width, height)) return {logo.width, logo.height};
    return {width, static_cast<int>(height)};
}

}  // namespace

int Length::Pixels(int side) const {
    const double pixels = percent ? value * side / 100.0 : value;
    return static_cast<int>(std::lround(pixels));
}

render::FontDescription MarkDrawer::TextFontFor(const TextMarkSettings& settings, int width, int height) {
    render::FontDescription description = marks::MarkFontDescription(settings.font, settings.dpi);
    if (settings.sizePercent) {
        const int pixels = std::max(1, Length{*settings.sizePercent, true}.Pixels(std::min(width, height)));
        description.height = -pixels;
    }
    return description;
}

render::Font* MarkDrawer::OpenFont(const TextMarkSettings& settings, const render::FontDescription& description) {
    if (!openFont_ || !SameFont(*openFont_, description) || openFace_ != settings.font.face) {
        const bool opened = IsFontFile(settings.font.face)
                                ? fonts_.CreateFontFromFile(marks::kFontMark, settings.font.face, description)
                                : fonts_.CreateFont(marks::kFontMark, description);
        if (!opened) fonts_.FreeFont(marks::kFontMark);
        openFont_ = description;
        openFace_ = settings.font.face;
    }
    render::Font* font = fonts_.Get(marks::kFontMark);
    return font != nullptr ? font : fonts_.DefaultFont();
}

void MarkDrawer::DrawText(render::RasterImage& picture, const TextMarkSettings& settings, const Margins& margins,
                          std::string_view text) {
    render::Font* font = OpenFont(settings, TextFontFor(settings, picture.width, picture.height));
    if (font == nullptr) return;
    marks::DrawTextLine(picture, *font, settings.font.colour, text, settings.anchor,
                        TextLookFor(settings, margins, picture.width, picture.height));
}

render::RowSpan MarkDrawer::TextRows(int width, int height, const TextMarkSettings& settings, const Margins& margins,
                                     std::string_view text) {
    render::Font* font = OpenFont(settings, TextFontFor(settings, width, height));
    if (font == nullptr) return {};
    return marks::TextLineRows(width, height, *font, text, settings.anchor,
                               TextLookFor(settings, margins, width, height));
}

void MarkDrawer::DrawLogo(render::RasterImage& picture, const LogoMarkSettings& settings, const LoadedLogo& logo,
                          const Margins& margins) {
    if (logo.image == nullptr) return;
    const render::RasterImage* drawn = logo.image;
    const LogoSize size = DrawnLogoSize(settings, *logo.image, picture.width);
    if (size.width != logo.image->width) {
        if (!scaledLogo_ || scaledFrom_ != logo.image || scaledLogo_->width != size.width) {
            try {
                scaledLogo_ = render::ScaleHalftone(*logo.image, size.width, size.height);
                scaledFrom_ = logo.image;
            } catch (const std::bad_alloc&) {
                scaledLogo_.reset();
                return;
            }
        }
        drawn = &*scaledLogo_;
    }
    marks::PlaceLogo(picture, *drawn, LogoStyleFor(settings, logo, margins, picture.width, picture.height));
}

render::RowSpan MarkDrawer::LogoRows(int width, int height, const LogoMarkSettings& settings, const LoadedLogo& logo,
                                     const Margins& margins) {
    if (logo.image == nullptr) return {};
    const LogoSize size = DrawnLogoSize(settings, *logo.image, width);
    return marks::LogoRows(width, height, size.width, size.height,
                           LogoStyleFor(settings, logo, margins, width, height));
}

void MarkDrawer::DrawTexture(render::RasterImage& picture, const TextureFrameSettings& settings,
                             const render::RasterImage& tile) {
    marks::DrawTextureFrame(picture, tile, settings.width, 255 - settings.transparency);
}

void MarkDrawer::DrawCircles(render::RasterImage& picture, const CircleFrameSettings& settings) {
    std::vector<marks::Circle> circles;
    if (settings.seed) {
        render::RandomSource own;
        own.Seed(*settings.seed);
        circles = marks::FrameCircles(picture.width, picture.height, settings.params, own);
    } else {
        circles = marks::FrameCircles(picture.width, picture.height, settings.params, random_);
    }
    marks::DrawCircleFrame(picture, settings.params, circles, settings.transparency);
}

}  // namespace velinor::stamping

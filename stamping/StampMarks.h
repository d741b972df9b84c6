#pragma once

#include <optional>
#include <string_view>

#include "render/FontDescription.h"
#include "render/FontTable.h"
#include "render/Random.h"
#include "render/RasterImage.h"
#include "stamping/StampSettings.h"

// Drawing the marks of a StampSettings onto a picture: the one place the window's mark
// handlers, its batch run and velinor-cli stamp turn settings into pixels.
namespace velinor::stamping {

// A logo ready to draw: decoded once, shared read-only by every picture of a run.
struct LoadedLogo {
    const render::RasterImage* image = nullptr;   // null: nothing is drawn
    bool keyed = false;
    render::Color keyColour = render::kBlack;
};

// Draws marks with one font table and random source. The text's font is opened once and kept
// while the size asked for stays the same, and a logo scaled to a width is kept for the next
// picture of that width; so one drawer serves one thread (a worker, or the window).
class MarkDrawer {
public:
    MarkDrawer(render::FontTable& fonts, render::RandomSource& random) : fonts_(fonts), random_(random) {}

    // The text (its variables already filled in) at its anchor in its font, size, look and margins.
    // A font that cannot be opened gives the default font, as in the window.
    void DrawText(render::RasterImage& picture, const TextMarkSettings& settings, const Margins& margins,
                  std::string_view text);
    // The logo at its anchor: keyed leaving out its key colour, else blended with opacity
    // 255 - transparency; scaled first when the settings give a width.
    void DrawLogo(render::RasterImage& picture, const LogoMarkSettings& settings, const LoadedLogo& logo,
                  const Margins& margins);
    // The rows of a width x height picture that DrawText and DrawLogo, given the same arguments, may
    // change: a caller can use the other rows before the marks are drawn. Call them on the
    // thread that draws (they open the font and scale nothing).
    render::RowSpan TextRows(int width, int height, const TextMarkSettings& settings, const Margins& margins,
                             std::string_view text);
    static render::RowSpan LogoRows(int width, int height, const LogoMarkSettings& settings, const LoadedLogo& logo,
                                    const Margins& margins);
    // The texture frame with opacity 255 - transparency; an empty tile draws nothing.
    static void DrawTexture(render::RasterImage& picture, const TextureFrameSettings& settings,
                            const render::RasterImage& tile);
    // The circle frame, radii drawn from the settings' seed when it has one.
    void DrawCircles(render::RasterImage& picture, const CircleFrameSettings& settings);

    // The random numbers the circles are drawn from: a caller that draws the same marks twice
    // (to find where they fall, then for real) keeps a copy and puts it back in between.
    render::RandomSource& Random() { return random_; }

    // The font the text of settings gets on a width x height picture.
    static render::FontDescription TextFontFor(const TextMarkSettings& settings, int width, int height);

private:
    render::Font* OpenFont(const TextMarkSettings& settings, const render::FontDescription& description);

    render::FontTable& fonts_;
    render::RandomSource& random_;
    std::optional<render::FontDescription> openFont_;
    std::string openFace_;
    std::optional<render::RasterImage> scaledLogo_;
    const render::RasterImage* scaledFrom_ = nullptr;
};

}  // namespace velinor::stamping

#pragma once

#include <cstdint>
#include <string_view>

#include "render/Color.h"
#include "render/FontTable.h"
#include "render/ImageRegistry.h"

namespace velinor::render {

// What BeginDraw hands out; MaskedDrawImage takes it back. 0 means no drawing.
using DrawContext = std::uint32_t;

// DrawFlags bits.
constexpr int kTransparentText = 1;  // text leaves its cell background as it was
constexpr int kInvertMode = 2;       // accepted and kept; no primitive inverts
constexpr int kOutlineOnly = 4;      // boxes and ellipses draw their outline only

// The one image all drawing goes to, with its colour, flags, font and text cursor.
// Only one drawing is in progress at a time; starting another ends the previous one. Every
// primitive does nothing outside a drawing, and also once the target image has been freed or
// replaced under its number (the drawing then refers to an image that no longer exists).
class DrawTarget {
public:
    DrawTarget(ImageRegistry& images, FontTable& fonts);

    // Starts drawing on image number (or on a temporary image); 0 when it holds no image.
    DrawContext BeginDraw(int number);
    DrawContext BeginDraw(ImageHandle temporary);
    void EndDraw();
    // The image being drawn on; null outside a drawing.
    RasterImage* Target() const;

    void PasteImage(const RasterImage* image, int x, int y);
    void FillBox(int x, int y, int width, int height, Color c);
    void DrawCircle(int x, int y, int radius, Color c);
    void DrawEllipse(int x, int y, int xRadius, int yRadius, Color c);
    // The colour at (x, y); -1 outside a drawing or outside the image.
    std::int32_t ReadPixel(int x, int y) const;

    void DrawColor(int red, int green, int blue);
    void DrawFlags(int flags);
    Color CurrentColour() const { return colour_; }
    int CurrentFlags() const { return flags_; }

    // Text: fonts are numbers of the FontTable; -1 (or a number without a font) is the default.
    void SelectDrawFont(int font);
    int MeasureText(std::string_view utf8);
    void MoveTextCursor(int x, int y);
    void PrintText(std::string_view utf8);
    // The cell height (ascent plus descent) of the selected font in pixels; 0 outside a drawing.
    int TextCellHeight();
    int CursorX() const { return cursorX_; }
    int CursorY() const { return cursorY_; }

    // Lays image n over the target with constant opacity (opacity mod 256). n becomes current
    // even when nothing can be drawn.
    void BlendImage(int number, int x, int y, int opacity);
    void BlendImage(ImageHandle temporary, int x, int y, int opacity);
    // Copies image n onto the drawing that context names, leaving out the pixels that are
    // exactly key (and an icon's masked-out pixels). n becomes current. A context of a drawing
    // that has ended draws nothing.
    void MaskedDrawImage(DrawContext context, int number, int x, int y, Color key);

private:
    DrawContext Start(RasterImage* image, int number);
    Font* SelectedFont();

    ImageRegistry& images_;
    FontTable& fonts_;
    RasterImage* image_ = nullptr;  // null outside a drawing
    int number_ = kTemporaryImage;
    std::uint64_t serial_ = 0;      // which image the number held when the drawing began
    DrawContext context_ = 0;
    DrawContext lastContext_ = 0;
    Color colour_ = kBlack;
    int flags_ = 0;
    int font_ = kDefaultFont;
    int cursorX_ = 0;
    int cursorY_ = 0;
};

}  // namespace velinor::render

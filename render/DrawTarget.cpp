#include "render/DrawTarget.h"

#include "render/Composite.h"

#include <algorithm>
#include "render/Shapes.h"
#include "render/TextPaint.h"
#include "render/Utf8.h"

namespace velinor::render {

DrawTarget::DrawTarget(ImageRegistry& images, FontTable& fonts) : images_(images), fonts_(fonts) {}

DrawContext DrawTarget::Start(RasterImage* image, int number) {
    EndDraw();
    if (image == nullptr) return 0;
    image_ = image;
    number_ = number;
    serial_ = number == kTemporaryImage ? images_.Serial(image) : images_.Serial(number);
    colour_ = kBlack;
    flags_ = 0;
    font_ = kDefaultFont;
    cursorX_ = 0;
    cursorY_ = 0;
    // Contexts are never 0 and differ from the previous one, so a stale context is recognised.
    if (++lastContext_ == 0) ++lastContext_;
    context_ = lastContext_;
    return context_;
}

DrawContext DrawTarget::BeginDraw(int number) { return Start(images_.Find(number), number); }

DrawContext DrawTarget::BeginDraw(ImageHandle temporary) {
    return Start(images_.IsTemporary(temporary) ? temporary : nullptr, kTemporaryImage);
}

void DrawTarget::EndDraw() {
    image_ = nullptr;
    context_ = 0;
}

RasterImage* DrawTarget::Target() const {
    if (image_ == nullptr) return nullptr;
    const std::uint64_t now = number_ == kTemporaryImage ? images_.Serial(image_) : images_.Serial(number_);
    return now == serial_ ? image_ : nullptr;
}

void DrawTarget::PasteImage(const RasterImage* image, int x, int y) {
    RasterImage* target = Target();
    if (target == nullptr || image == nullptr) return;
    PasteOnto(*target, *image, x, y);
}

void DrawTarget::FillBox(int x, int y, int width, int height, Color c) {
    RasterImage* target = Target();
    if (target == nullptr) return;
    // A 1 x 1 box is the one pixel, whatever the flags.
    if (width == 1 && height == 1) {
        FillRect(*target, x, y, 1, 1, c);
    } else if (flags_ & kOutlineOnly) {
        OutlineRect(*target, x, y, width, height, c);
    } else {
        FillRect(*target, x, y, width, height, c);
    }
}

void DrawTarget::DrawCircle(int x, int y, int radius, Color c) {
    // Radius 1 is the 2 x 2 square whose top-left pixel is the centre.
    if (radius == 1) {
        FillBox(x, y, 2, 2, c);
    } else {
        DrawEllipse(x, y, radius, radius, c);
    }
}

void DrawTarget::DrawEllipse(int x, int y, int xRadius, int yRadius, Color c) {
    RasterImage* target = Target();
    if (target == nullptr) return;
    DrawEllipseShape(*target, x, y, xRadius, yRadius, c, (flags_ & kOutlineOnly) == 0);
}

std::int32_t DrawTarget::ReadPixel(int x, int y) const {
    const RasterImage* target = Target();
    if (target == nullptr || !target->Contains(x, y)) return -1;
    return static_cast<std::int32_t>(target->At(x, y) & 0xFFFFFFu);
}

void DrawTarget::DrawColor(int red, int green, int blue) {
    if (Target() == nullptr) return;
    colour_ = MakeColor(red, green, blue);
}

void DrawTarget::DrawFlags(int flags) {
    if (Target() == nullptr) return;
    flags_ = flags;
}

void DrawTarget::SelectDrawFont(int font) {
    if (Target() == nullptr) return;
    font_ = font;
}

Font* DrawTarget::SelectedFont() {
    Font* font = fonts_.Get(font_);
    return font != nullptr ? font : fonts_.DefaultFont();
}

int DrawTarget::MeasureText(std::string_view utf8) {
    if (Target() == nullptr || utf8.empty()) return 0;
    Font* font = SelectedFont();
    return font == nullptr ? 0 : font->Measure(DecodeUtf8(utf8));
}

int DrawTarget::TextCellHeight() {
    if (Target() == nullptr) return 0;
    Font* font = SelectedFont();
    return font == nullptr ? 0 : font->CellHeight();
}

void DrawTarget::MoveTextCursor(int x, int y) {
    if (Target() == nullptr) return;
    cursorX_ = x;
    cursorY_ = y;
}

void DrawTarget::PrintText(std::string_view utf8) {
    RasterImage* target = Target();
    if (target == nullptr || utf8.empty()) return;
    Font* font = SelectedFont();
    if (font == nullptr) return;
    const int width = PaintText(*target, *font, cursorX_, cursorY_, DecodeUtf8(utf8), colour_,
                                (flags_ & kTransparentText) != 0);
    const long long next = static_cast<long long>(cursorX_) + width;
    cursorX_ = static_cast<int>(std::min<long long>(next, 0x7FFFFFFF));
}

void DrawTarget::BlendImage(int number, int x, int y, int opacity) {
    const RasterImage* source = images_.SelectImage(number);
    RasterImage* target = Target();
    if (source == nullptr || target == nullptr) return;
    BlendOnto(*target, *source, x, y, opacity);
}

void DrawTarget::BlendImage(ImageHandle temporary, int x, int y, int opacity) {
    const RasterImage* source = images_.SelectImage(temporary);
    RasterImage* target = Target();
    if (source == nullptr || target == nullptr) return;
    BlendOnto(*target, *source, x, y, opacity);
}

void DrawTarget::MaskedDrawImage(DrawContext context, int number, int x, int y, Color key) {
    const RasterImage* source = images_.SelectImage(number);
    RasterImage* target = Target();
    if (source == nullptr || target == nullptr || context == 0 || context != context_) return;
    KeyOnto(*target, *source, x, y, key);
}

}  // namespace velinor::render

#include "app/StoredPictures.h"

#include <cstdlib>

#include "app/ImageNumbers.h"

namespace velinor::app {

namespace {

using render::Color;
using render::MakeColor;
using render::RasterImage;

constexpr int kFlagWidth = 16;
constexpr int kFlagHeight = 12;
constexpr int kIconSide = 16;
// The window background colour; the placeholder blends into the batch tab.
constexpr Color kWindowBackground = MakeColor(240, 240, 240);

// An icon whose pixels are all opaque.
RasterImage OpaqueIcon(int width, int height) {
    RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, render::kBlack);
    image.mask.assign(image.pixels.size(), 1);
    return image;
}

RasterImage GermanFlag() {
    RasterImage flag = OpaqueIcon(kFlagWidth, kFlagHeight);
    const Color stripes[] = {MakeColor(0, 0, 0), MakeColor(221, 0, 0), MakeColor(255, 206, 0)};
    for (int y = 0; y < kFlagHeight; ++y) {
        for (int x = 0; x < kFlagWidth; ++x) flag.At(x, y) = stripes[y * 3 / kFlagHeight];
    }
    return flag;
}

// A blue field with white-edged red diagonals and a white-edged red upright cross.
RasterImage EnglishFlag() {
    RasterImage flag = OpaqueIcon(kFlagWidth, kFlagHeight);
    const Color blue = MakeColor(1, 33, 105);
    const Color white = render::kWhite;
    const Color red = MakeColor(200, 16, 46);
    for (int y = 0; y < kFlagHeight; ++y) {
        for (int x = 0; x < kFlagWidth; ++x) {
            // Twice the distance from the centre lines, so that the centre of an even size is 0.
            const int dx = std::abs(2 * x - (kFlagWidth - 1));
            const int dy = std::abs(2 * y - (kFlagHeight - 1));
            // Distance from the diagonals in about half pixels.
            const int diagonal = std::abs(dx * kFlagHeight - dy * kFlagWidth) / kFlagWidth;
            Color c = blue;
            if (diagonal <= 2) c = white;
            if (diagonal == 0) c = red;
            if (dx <= 4 || dy <= 4) c = white;
            if (dx <= 2 || dy <= 2) c = red;
            flag.At(x, y) = c;
        }
    }
    return flag;
}

// A little framed photograph: sky, sun and a green hill inside a dark frame.
RasterImage StatusPicture() {
    RasterImage icon = OpaqueIcon(kIconSide, kIconSide);
    for (int y = 0; y < kIconSide; ++y) {
        for (int x = 0; x < kIconSide; ++x) {
            Color c = MakeColor(150, 200, 255);
            const int sx = x - 11, sy = y - 5;
            if (sx * sx + sy * sy <= 5) c = MakeColor(255, 210, 0);
            const int hx = x - 5, hy = y - 16;
            if (hx * hx + hy * hy <= 60) c = MakeColor(40, 150, 40);
            if (x <= 1 || y <= 1 || x >= kIconSide - 2 || y >= kIconSide - 2) c = MakeColor(60, 60, 60);
            icon.At(x, y) = c;
        }
    }
    return icon;
}

// A wooden frame round a light field, the sign of the frame effects.
RasterImage SpareIcon() {
    RasterImage icon = OpaqueIcon(kIconSide, kIconSide);
    for (int y = 0; y < kIconSide; ++y) {
        for (int x = 0; x < kIconSide; ++x) {
            const bool band = x < 4 || y < 4 || x >= kIconSide - 4 || y >= kIconSide - 4;
            const bool grain = ((x + 2 * y) % 5) == 0;
            icon.At(x, y) = band ? (grain ? MakeColor(120, 70, 30) : MakeColor(160, 100, 50)) : MakeColor(250, 245, 230);
        }
    }
    return icon;
}

}  // namespace

void MakeStoredPictures(render::ImageRegistry& images) {
    images.StoreImage(pic::PicStatusBar, StatusPicture());
    images.StoreImage(pic::PicFlagGerman, GermanFlag());
    images.StoreImage(pic::PicFlagEnglish, EnglishFlag());
    images.StoreImage(pic::PicSpareIcon, SpareIcon());
    if (render::RasterImage* placeholder = images.NewImage(pic::PicThumbPlaceholder, 160, 140)) {
        placeholder->pixels.assign(placeholder->pixels.size(), kWindowBackground);
    }
}

}  // namespace velinor::app

#pragma once

#include <cstddef>
#include <cstdint>

#include "render/RasterImage.h"

namespace velinor::imageio {

// 3 * width rounded up to a multiple of 4, i.e. 3 * width + width mod 4.
constexpr std::size_t BgrStride(int width) {
    return static_cast<std::size_t>(width) * 3 + static_cast<std::size_t>(width % 4);
}

// The rows every writer receives, produced one at a time from the picture: 3 bytes a pixel in
// blue, green, red order, each row padded with zeros to the stride. Writers ask for the rows
// in the order their file stores them (BMP bottom first, JPEG and PNG top first), so no copy
// of the whole picture is ever made.
class BgrRows {
public:
    // The image must have 1..32767 pixels a side and all its pixels (see Valid).
    explicit BgrRows(const render::RasterImage& image) : image_(image), stride_(BgrStride(image.width)) {}

    static bool Valid(const render::RasterImage& image) {
        return render::ValidImageSize(image.width, image.height) &&
               image.pixels.size() >= static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    }

    int Width() const { return image_.width; }
    int Height() const { return image_.height; }
    std::size_t Stride() const { return stride_; }

    // Writes row y of the picture (counted from the top) into out, Stride() bytes.
    void TopRow(int y, std::uint8_t* out) const;

    // The same row as red, green, blue without padding (3 * width bytes).
    void TopRowRgb(int y, std::uint8_t* out) const;

    // The row's pixels as they are stored: 0x00BBGGRR values.
    const render::Color* Pixels(int y) const {
        return image_.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image_.width);
    }

private:
    const render::RasterImage& image_;
    std::size_t stride_;
};

}  // namespace velinor::imageio

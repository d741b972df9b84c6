#pragma once

#include <cstddef>
#include <cstdint>

#include "render/RasterImage.h"

namespace velinor::imageio {

// 3 * width rounded up to a multiple of 4, i.e. 3 * width + width mod 4.
constexpr std::size_t BgrStride(int width) {
    return static_cast<std::size_t>(width) * 3 + static_cast<std::size_t>(width % 4);
}

// Rows still being made while a writer codes the ones before them: the writer asks before it
// reads a row it was not yet given.
class RowGate {
public:
    virtual ~RowGate() = default;
    // Waits until at least rows rows from the top may be read, and says how many may: at least
    // rows, or 0 when the rows will never come and the writer is to give up. Must not throw.
    virtual int WaitFor(int rows) = 0;
};

// The rows every writer receives, produced one at a time from the picture: 3 bytes a pixel in
// blue, green, red order, each row padded with zeros to the stride. Writers ask for the rows
// in the order their file stores them (BMP bottom first, JPEG and PNG top first), so no copy
// of the whole picture is ever made.
class BgrRows {
public:
    // The image must have 1..32767 pixels a side and all its pixels (see Valid).
    explicit BgrRows(const render::RasterImage& image) : BgrRows(image.pixels.data(), image.width, image.height) {}
    // width x height pixels at pixels, rows top to bottom; with a gate, a row may only be read
    // once the gate has allowed it (see Gate).
    BgrRows(const render::Color* pixels, int width, int height, RowGate* gate = nullptr)
        : pixels_(pixels), width_(width), height_(height), stride_(BgrStride(width)), gate_(gate) {}

    static bool Valid(const render::RasterImage& image) {
        return render::ValidImageSize(image.width, image.height) &&
               image.pixels.size() >= static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t Stride() const { return stride_; }
    // Null when every row is there from the start. Only writers that read top first use it.
    RowGate* Gate() const { return gate_; }

    // Writes row y of the picture (counted from the top) into out, Stride() bytes.
    void TopRow(int y, std::uint8_t* out) const;

    // The same row as red, green, blue without padding (3 * width bytes).
    void TopRowRgb(int y, std::uint8_t* out) const;

    // The row's pixels as they are stored: 0x00BBGGRR values.
    const render::Color* Pixels(int y) const {
        return pixels_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }

private:
    const render::Color* pixels_;
    int width_;
    int height_;
    std::size_t stride_;
    RowGate* gate_;
};

}  // namespace velinor::imageio

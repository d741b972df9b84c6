#include "imageio/Orientation.h"

#include <algorithm>

namespace velinor::imageio {

UprightBuilder::UprightBuilder(int width, int height, int orientation)
    : width_(width), height_(height), orientation_(orientation < 1 || orientation > 8 ? 1 : orientation) {
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    // Rows arrive in order for 1-4 and are appended, so the store is committed as they come;
    // 5-8 place every block across the whole store, which must exist from the start.
    pixels_.reserve(count);
    if (orientation_ >= 5) pixels_.resize(count);
    block_.resize(static_cast<std::size_t>(width) * kBlockRows);
}

void UprightBuilder::Add(int rows) {
    rows = std::clamp(rows, 0, std::min(kBlockRows, height_ - nextRow_));
    const std::size_t w = static_cast<std::size_t>(width_);
    render::Color* block = block_.data();
    if (orientation_ == 2) {
        for (int r = 0; r < rows; ++r) std::reverse(block + r * w, block + (r + 1) * w);
    }
    if (orientation_ >= 5) {
        Scatter(rows);
    } else {
        pixels_.insert(pixels_.end(), block, block + static_cast<std::size_t>(rows) * w);
    }
    nextRow_ += rows;
}

void UprightBuilder::Scatter(int rows) {
    const std::size_t w = static_cast<std::size_t>(width_);
    const std::size_t outWidth = static_cast<std::size_t>(height_);
    const bool columnsReversed = orientation_ == 7 || orientation_ == 8;    // stored x runs upwards
    const bool rowsReversed = orientation_ == 6 || orientation_ == 7;       // stored y runs leftwards
    const render::Color* block = block_.data();
    // Stored rows nextRow_.. land in upright columns nextRow_.. (5, 8) or, counted from the
    // right, height-1-nextRow_.. (6, 7): one contiguous piece of each upright row.
    const std::size_t first = rowsReversed ? outWidth - static_cast<std::size_t>(nextRow_) - rows
                                            : static_cast<std::size_t>(nextRow_);
    std::size_t x = 0;
    if (rows == kBlockRows) {
        // Whole blocks, the common case: a fixed count the compiler unrolls, each piece
        // gathered first and stored as one run.
        for (; x < w; ++x) {
            const std::size_t y = columnsReversed ? w - 1 - x : x;
            render::Color piece[kBlockRows];
            for (int r = 0; r < kBlockRows; ++r) piece[rowsReversed ? kBlockRows - 1 - r : r] = block[r * w + x];
            std::copy_n(piece, kBlockRows, pixels_.data() + y * outWidth + first);
        }
    }
    // Partial blocks.
    for (; x < w; ++x) {
        const std::size_t y = columnsReversed ? w - 1 - x : x;
        render::Color* out = pixels_.data() + y * outWidth + first;
        if (rowsReversed) {
            for (int r = 0; r < rows; ++r) out[rows - 1 - r] = block[r * w + x];
        } else {
            for (int r = 0; r < rows; ++r) out[r] = block[r * w + x];
        }
    }
}

render::RasterImage UprightBuilder::Finish() {
    const std::size_t w = static_cast<std::size_t>(width_);
    if (orientation_ == 3) {
        std::reverse(pixels_.begin(), pixels_.end());
    } else if (orientation_ == 4) {
        for (std::size_t top = 0, bottom = static_cast<std::size_t>(height_) - 1; top < bottom; ++top, --bottom) {
            std::swap_ranges(pixels_.begin() + static_cast<std::ptrdiff_t>(top * w),
                             pixels_.begin() + static_cast<std::ptrdiff_t>((top + 1) * w),
                             pixels_.begin() + static_cast<std::ptrdiff_t>(bottom * w));
        }
    }
    render::RasterImage image;
    const bool swapped = orientation_ >= 5;
    image.width = swapped ? height_ : width_;
    image.height = swapped ? width_ : height_;
    image.pixels = std::move(pixels_);
    block_ = {};
    return image;
}

render::RasterImage ApplyOrientation(render::RasterImage image, int orientation) {
    if (orientation < 2 || orientation > 8 || image.pixels.empty()) return image;
    UprightBuilder builder(image.width, image.height, orientation);
    const std::size_t w = static_cast<std::size_t>(image.width);
    for (int y = 0; y < image.height; y += UprightBuilder::kBlockRows) {
        const int rows = std::min(UprightBuilder::kBlockRows, image.height - y);
        std::copy_n(image.pixels.begin() + static_cast<std::ptrdiff_t>(y * w), rows * w, builder.Block());
        builder.Add(rows);
    }
    render::RasterImage upright = builder.Finish();
    upright.depth = image.depth;
    return upright;
}

}  // namespace velinor::imageio

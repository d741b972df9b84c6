#include "imageio/Orientation.h"

#include <algorithm>
#include <optional>


#include "imageio/ByteReader.h"

namespace velinor::imageio {

namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
constexpr std::size_t kEntrySize = 12;

class TiffReader {
public:
    TiffReader(std::span<const std::uint8_t> bytes, bool bigEndian) : data_(bytes), big_(bigEndian) {}
    std::optional<std::uint16_t> U16(std::size_t at) const { return big_ ? data_.U16be(at) : data_.U16le(at); }
    std::optional<std::uint32_t> U32(std::size_t at) const { return big_ ? data_.U32be(at) : data_.U32le(at); }

private:
    ByteReader data_;
    bool big_;
};

}  // namespace

int ExifOrientation(std::span<const std::uint8_t> tiff) {
    if (tiff.size() < 8) return 1;
    bool bigEndian = false;
    if (tiff[0] == 'M' && tiff[1] == 'M') {
        bigEndian = true;
    } else if (!(tiff[0] == 'I' && tiff[1] == 'I')) {
        return 1;
    }
    const TiffReader reader(tiff, bigEndian);
    if (reader.U16(2) != 42) return 1;
    const auto directory = reader.U32(4);
    if (!directory) return 1;
    const auto count = reader.U16(*directory);
    if (!count) return 1;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t entry = *directory + 2 + i * kEntrySize;
        const auto tag = reader.U16(entry);
        const auto type = reader.U16(entry + 2);
        const auto values = reader.U32(entry + 4);
        const auto value = reader.U16(entry + 8);
        if (!tag || !type || !values || !value) return 1;
        if (*tag != kOrientationTag) continue;
        if (*type != kShortType || *values != 1 || *value < 1 || *value > 8) return 1;
        return *value;
    }
    return 1;
}

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

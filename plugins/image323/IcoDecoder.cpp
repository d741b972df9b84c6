#include "plugins/image323/IcoDecoder.h"

#include <algorithm>
#include <cstring>

namespace velinor::plugins {
namespace {

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kDirectoryEntry = 16;
constexpr std::size_t kInfoHeader = 40;

// One image of the directory after its bitmap header was checked against the file.
struct IconImage {
    const std::uint8_t* bits;  // the bitmap header of the image
    std::size_t size;          // bytes the directory gives the image, all inside the file
    std::int64_t width;
    std::int64_t height;  // of the picture: half the bitmap's height (colour rows, then mask)
    int bitsPerPixel;
    std::size_t colourCount;  // palette entries
    std::size_t headerSize;
};

std::size_t RowBytes(std::int64_t width, int bitsPerPixel) {
    return static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4);
}

std::optional<IconImage> ReadImageHeader(const std::uint8_t* data, std::size_t size, const std::uint8_t* entry) {
    const std::size_t length = Le32(entry + 8);
    const std::size_t offset = Le32(entry + 12);
    if (offset > size || length > size - offset || length < kInfoHeader) return std::nullopt;
    const std::uint8_t* bits = data + offset;

    IconImage image{};
    image.bits = bits;
    image.size = length;
    image.headerSize = Le32(bits);
    const auto width = static_cast<std::int32_t>(Le32(bits + 4));
    const auto doubleHeight = static_cast<std::int32_t>(Le32(bits + 8));
    image.bitsPerPixel = static_cast<int>(Le16(bits + 14));
    const std::uint32_t compression = Le32(bits + 16);
    const std::uint32_t coloursUsed = Le32(bits + 32);

    if (image.headerSize < kInfoHeader || image.headerSize > length) return std::nullopt;
    if (Le16(bits + 12) != 1 || compression != 0) return std::nullopt;
    if (doubleHeight <= 0 || doubleHeight % 2 != 0) return std::nullopt;
    image.width = width;
    image.height = doubleHeight / 2;
    if (!AcceptableSize(image.width, image.height)) return std::nullopt;
    switch (image.bitsPerPixel) {
        case 1: case 4: case 8: {
            const std::size_t most = std::size_t{1} << image.bitsPerPixel;
            if (coloursUsed > most) return std::nullopt;
            image.colourCount = coloursUsed != 0 ? coloursUsed : most;
            break;
        }
        case 24: case 32:
            image.colourCount = 0;
            break;
        default:
            return std::nullopt;
    }
    // Colour rows must be present in full; the mask rows after them may be missing only for
    // 32-bit images, which carry their own alpha.
    const std::size_t needed = image.headerSize + image.colourCount * 4 +
                               RowBytes(image.width, image.bitsPerPixel) * static_cast<std::size_t>(image.height);
    if (needed > length) return std::nullopt;
    const std::size_t mask = RowBytes(image.width, 1) * static_cast<std::size_t>(image.height);
    if (image.bitsPerPixel != 32 && mask > length - needed) return std::nullopt;
    return image;
}

std::optional<Picture> DecodeImage(const IconImage& image) {
    std::optional<Picture> picture = BlankPicture(image.width, image.height);
    if (!picture) return std::nullopt;
    const std::uint8_t* palette = image.bits + image.headerSize;
    const std::uint8_t* colourRows = palette + image.colourCount * 4;
    const std::size_t colourStride = RowBytes(image.width, image.bitsPerPixel);
    const std::uint8_t* maskRows = colourRows + colourStride * static_cast<std::size_t>(image.height);
    const std::size_t maskStride = RowBytes(image.width, 1);
    const bool hasMask = static_cast<std::size_t>(maskRows - image.bits) + maskStride * static_cast<std::size_t>(image.height) <= image.size;

    bool alphaUsed = false;
    if (image.bitsPerPixel == 32) {
        for (std::int64_t y = 0; y < image.height && !alphaUsed; ++y)
            for (std::int64_t x = 0; x < image.width; ++x)
                if (colourRows[static_cast<std::size_t>(y) * colourStride + static_cast<std::size_t>(x) * 4 + 3] != 0) {
                    alphaUsed = true;
                    break;
                }
    }

    const auto w = static_cast<std::size_t>(image.width);
    for (std::int64_t row = 0; row < image.height; ++row) {
        // Rows are stored bottom first.
        const std::uint8_t* colours = colourRows + static_cast<std::size_t>(row) * colourStride;
        const std::uint8_t* mask = hasMask ? maskRows + static_cast<std::size_t>(row) * maskStride : nullptr;
        std::uint32_t* out = picture->pixels.data() + static_cast<std::size_t>(image.height - 1 - row) * w;
        for (std::size_t x = 0; x < w; ++x) {
            std::uint32_t colour = 0;
            bool transparent = hasMask && (mask[x / 8] >> (7 - x % 8) & 1);
            if (image.bitsPerPixel >= 24) {
                const std::uint8_t* p = colours + x * static_cast<std::size_t>(image.bitsPerPixel / 8);
                colour = Rgb(p[2], p[1], p[0]);
                if (alphaUsed && p[3] == 0) transparent = true;
            } else {
                const int bpp = image.bitsPerPixel;
                const std::size_t bit = x * static_cast<std::size_t>(bpp);
                const std::size_t index = (colours[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                if (index < image.colourCount) {
                    const std::uint8_t* entry = palette + index * 4;
                    colour = Rgb(entry[2], entry[1], entry[0]);
                }
            }
            out[x] = transparent ? 0 : colour;
        }
    }
    return picture;
}

}  // namespace

std::optional<Picture> DecodeIco(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < kDirectoryHeader) return std::nullopt;
    if (Le16(data) != 0 || Le16(data + 2) != 1) return std::nullopt;
    const std::size_t count = Le16(data + 4);
    if (count == 0 || count > (size - kDirectoryHeader) / kDirectoryEntry) return std::nullopt;

    std::vector<IconImage> images;
    for (std::size_t i = 0; i < count; ++i) {
        if (auto image = ReadImageHeader(data, size, data + kDirectoryHeader + i * kDirectoryEntry)) images.push_back(*image);
    }
    std::stable_sort(images.begin(), images.end(), [](const IconImage& a, const IconImage& b) {
        const std::int64_t areaA = a.width * a.height, areaB = b.width * b.height;
        return areaA != areaB ? areaA > areaB : a.bitsPerPixel > b.bitsPerPixel;
    });
    for (const IconImage& image : images) {
        if (auto picture = DecodeImage(image)) return picture;
    }
    return std::nullopt;
}

}  // namespace velinor::plugins

#include "imageio/BmpDecoder.h"

#include <algorithm>

#include "imageio/ByteReader.h"
#include "imageio/DibHeader.h"
#include "imageio/DibPixels.h"

namespace velinor::imageio {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint8_t kOpaqueAlpha = 128;

render::RasterImage MakeImage(int width, int height, render::Pixels pixels) {
    render::RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels = std::move(pixels);
    return image;
}

}  // namespace

bool LooksLikeBmp(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

std::optional<render::RasterImage> DecodeBmp(std::span<const std::uint8_t> bytes,
                                             const DecodeLimits& limits) {
    if (!LooksLikeBmp(bytes)) return std::nullopt;
    const ByteReader data(bytes);
    const auto pixelOffset = data.U32le(10);
    if (!pixelOffset) return std::nullopt;
    const auto header = ParseDibHeader(data, kFileHeaderSize);
    if (!header || !FitsLimits(header->width, header->height, limits)) return std::nullopt;

    // The offset of the rows must lie behind the header (and its masks) and inside the file;
    // a zero offset, written by a few careless tools, means "right after the palette".
    std::size_t start = *pixelOffset;
    if (start == 0) start = header->dataStart;
    if (start < header->paletteOffset || start > data.Size()) return std::nullopt;
    const std::size_t paletteEnd = std::max(start, header->paletteOffset);

    const auto palette = ReadDibPalette(data, *header, paletteEnd);
    auto decoded = DecodeDibPixels(data, *header, header->height, start, palette, false);
    if (!decoded) return std::nullopt;
    return MakeImage(header->width, header->height, std::move(decoded->pixels));
}

std::optional<render::RasterImage> DecodeIconBitmap(std::span<const std::uint8_t> bytes,
                                                    const DecodeLimits& limits) {
    const ByteReader data(bytes);
    const auto header = ParseDibHeader(data, 0);
    if (!header || header->headerSize < 40 || header->compression == DibCompression::Rle4 ||
        header->compression == DibCompression::Rle8) {
        return std::nullopt;
    }
    const int rows = header->height / 2;
    if (!FitsLimits(header->width, rows, limits)) return std::nullopt;

    const auto palette = ReadDibPalette(data, *header, data.Size());
    auto decoded = DecodeDibPixels(data, *header, rows, header->dataStart, palette, true);
    if (!decoded) return std::nullopt;

    const std::size_t count = decoded->pixels.size();
    std::vector<std::uint8_t> mask(count, 1);
    const bool alphaUsed =
        !decoded->alpha.empty() &&
        std::any_of(decoded->alpha.begin(), decoded->alpha.end(), [](std::uint8_t a) { return a != 0; });
    if (alphaUsed) {
        for (std::size_t i = 0; i < count; ++i) mask[i] = decoded->alpha[i] >= kOpaqueAlpha ? 1 : 0;
    } else {
        // The 1-bit mask follows the colour rows, stored in the same row order; 1 = transparent.
        const std::size_t colourBytes = DibStride(header->width, header->bitsPerPixel) * rows;
        const std::size_t maskStride = DibStride(header->width, 1);
        const auto maskRows = data.Slice(header->dataStart + colourBytes, maskStride * rows);
        if (!maskRows) return std::nullopt;
        const std::size_t width = static_cast<std::size_t>(header->width);
        for (int stored = 0; stored < rows; ++stored) {
            const std::uint8_t* row = maskRows->data() + maskStride * static_cast<std::size_t>(stored);
            const std::size_t target = static_cast<std::size_t>(header->topDown ? stored : rows - 1 - stored);
            for (std::size_t x = 0; x < width; ++x) {
                mask[target * width + x] = ((row[x / 8] >> (7 - x % 8)) & 1) ? 0 : 1;
            }
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (mask[i] == 0) decoded->pixels[i] = render::kBlack;
    }
    auto image = MakeImage(header->width, rows, std::move(decoded->pixels));
    image.mask = std::move(mask);
    return image;
}

}  // namespace velinor::imageio

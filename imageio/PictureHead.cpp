#include "imageio/PictureHead.h"

#include <algorithm>
#include <cstdlib>

#include "imageio/BmpDecoder.h"
#include "imageio/ByteReader.h"
#include "imageio/DibHeader.h"
#include "imageio/IcoDecoder.h"
#include "imageio/JpegDecoder.h"
#include "imageio/PngDecoder.h"
#include "imageio/TgaDecoder.h"

namespace velinor::imageio {

namespace {

using Kind = HeadVerdict::Kind;

// Room for what a file may carry beside its pixels: colour profiles, text, EXIF, previews.
constexpr std::uintmax_t kMetadataBytes = std::uintmax_t{16} << 20;

// The verdict on a picture of width x height whose pixels take at most pixelBytes.
HeadVerdict Judge(long long width, long long height, std::uintmax_t pixelBytes, std::uintmax_t fileSize,
                  const DecodeLimits& limits) {
    HeadVerdict verdict{Kind::Read, width, height};
    if (width >= 1 && height >= 1 && width * height > limits.maxPixels) {
        verdict.kind = Kind::TooManyPixels;
    } else if (!FitsLimits(width, height, limits)) {
        verdict.kind = Kind::NotAPicture;
    } else if (fileSize > pixelBytes + kMetadataBytes) {
        verdict.kind = Kind::TooLarge;
    }
    return verdict;
}

HeadVerdict JudgeBmp(const ByteReader& head, std::uintmax_t fileSize, const DecodeLimits& limits) {
    const auto header = ParseDibHeader(head, 14);
    if (!header) return {};
    const long long width = header->width;
    const long long height = header->height;
    if (width < 1 || height < 1 || width > limits.maxSide || height > limits.maxSide) return {};
    const auto w = static_cast<std::uintmax_t>(width);
    const auto h = static_cast<std::uintmax_t>(height);
    // Run-length rows at worst spend two bytes on every pixel and two more on each row's end.
    const bool runLength = header->compression == DibCompression::Rle8 || header->compression == DibCompression::Rle4;
    const std::uintmax_t pixels = runLength ? (2 * w + 2) * h : DibStride(header->width, header->bitsPerPixel) * h;
    return Judge(width, height, pixels, fileSize, limits);
}

// An icon file is its directory and the images the entries point at, nothing else.
HeadVerdict JudgeIco(const ByteReader& head, std::uintmax_t fileSize) {
    const std::size_t count = *head.U16le(4);
    std::uintmax_t end = 6 + 16 * static_cast<std::uintmax_t>(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto size = head.U32le(6 + i * 16 + 8);
        const auto offset = head.U32le(6 + i * 16 + 12);
        if (!size || !offset) break;
        end = std::max<std::uintmax_t>(end, std::uintmax_t{*offset} + *size);
    }
    HeadVerdict verdict{Kind::Read, 0, 0};
    if (fileSize > end + kMetadataBytes) verdict.kind = Kind::TooLarge;
    return verdict;
}

HeadVerdict JudgePng(const ByteReader& head, std::uintmax_t fileSize, const DecodeLimits& limits) {
    const auto width = head.U32be(16);
    const auto height = head.U32be(20);
    if (!width || !height) return {};
    // Sixteen-bit RGBA is eight bytes a pixel and one filter byte a row (interlacing adds a
    // few more rows); stored deflate blocks add five bytes in 65535.
    const std::uintmax_t w = *width;
    const std::uintmax_t h = *height;
    if (w > static_cast<std::uintmax_t>(limits.maxSide) || h > static_cast<std::uintmax_t>(limits.maxSide)) return {};
    const std::uintmax_t raw = (8 * w + 1) * h + 16 * h;
    return Judge(static_cast<long long>(w), static_cast<long long>(h), raw + raw / 8192 + 4096, fileSize, limits);
}

HeadVerdict JudgeTga(const ByteReader& head, std::uintmax_t fileSize, const DecodeLimits& limits) {
    const auto width = head.U16le(12);
    const auto height = head.U16le(14);
    if (!width || !height) return {};
    // Run-length packets of one 32-bit pixel take five bytes; id and colour map at most
    // 255 + 65535 * 4 more.
    const std::uintmax_t pixels = std::uintmax_t{*width} * *height * 5 + 255 + 65535 * 4;
    return Judge(*width, *height, pixels, fileSize, limits);
}

}  // namespace

HeadVerdict JudgeHead(std::span<const std::uint8_t> head, std::uintmax_t fileSize, const DecodeLimits& limits) {
    const ByteReader data(head);
    if (LooksLikeBmp(head)) return JudgeBmp(data, fileSize, limits);
    if (LooksLikeIco(head)) return JudgeIco(data, fileSize);
    if (LooksLikeJpeg(head)) return {Kind::Stream, 0, 0};
    if (LooksLikePng(head)) return JudgePng(data, fileSize, limits);
    if (LooksLikeTga(head)) return JudgeTga(data, fileSize, limits);
    return {};
}

}  // namespace velinor::imageio

#include "imageio/PictureHead.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

// The verdict on a picture of a size JudgeSize accepted whose pixels take at most pixelBytes.
HeadVerdict WithinFileSize(HeadVerdict verdict, std::uintmax_t pixelBytes, std::uintmax_t file_size) {
    if (file_size > pixelBytes + kMetadataBytes) verdict.kind = Kind::TooLarge;
    return verdict;
}

HeadVerdict JudgeBmp(const ByteReader& head, std::uintmax_t file_size, const DecodeLimits& limits) {
    constexpr std::size_t kDibOffset = 14;
    const auto header = ParseDibHeader(head, kDibOffset);
    if (!header) {
        const char* what = UnsupportedDibKind(head, kDibOffset);
        return what != nullptr ? HeadVerdict{Kind::Unsupported, 0, 0, what} : HeadVerdict{Kind::Damaged};
    }
    const HeadVerdict verdict = JudgeSize(header->width, header->height, limits);
    if (verdict.kind != Kind::Read) return verdict;
    const auto w = static_cast<std::uintmax_t>(header->width);
    const auto h = static_cast<std::uintmax_t>(header->height);
    // Run-length rows at worst spend two bytes on every pixel and two more on each row's end.
    const bool runLength = header->compression == DibCompression::Rle8 || header->compression == DibCompression::Rle4;
    const std::uintmax_t pixels = runLength ? (2 * w + 2) * h : DibStride(header->width, header->bitsPerPixel) * h;
    return WithinFileSize(verdict, pixels, file_size);
}

// An icon file is its directory and the images the entries point at, nothing else.
HeadVerdict JudgeIco(const ByteReader& head, std::uintmax_t file_size) {
    const std::size_t count = *head.U16le(4);
    std::uintmax_t end = 6 + 16 * static_cast<std::uintmax_t>(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto size = head.U32le(6 + i * 16 + 8);
        const auto offset = head.U32le(6 + i * 16 + 12);
        if (!size || !offset) break;
        end = std::max<std::uintmax_t>(end, std::uintmax_t{*offset} + *size);
    }
    HeadVerdict verdict{Kind::Read, 0, 0};
    if (file_size > end + kMetadataBytes) verdict.kind = Kind::TooLarge;
    return verdict;
}

HeadVerdict JudgePng(const ByteReader& head, std::uintmax_t file_size, const DecodeLimits& limits) {
    const auto width = head.U32be(16);
    const auto height = head.U32be(20);
    if (!width || !height) return {Kind::Damaged};
    const HeadVerdict verdict = JudgeSize(*width, *height, limits);
    if (verdict.kind != Kind::Read) return verdict;
    // Sixteen-bit RGBA is eight bytes a pixel and one filter byte a row (interlacing adds a
    // few more rows); stored deflate blocks add five bytes in 65535.
    const std::uintmax_t w = *width;
    const std::uintmax_t h = *height;
    const std::uintmax_t raw = (8 * w + 1) * h + 16 * h;
    return WithinFileSize(verdict, raw + raw / 8192 + 4096, file_size);
}

// A file whose type byte alone looks like TGA is taken for one only when its header is whole
// and names a depth the decoder reads; anything else is no picture rather than a damaged one.
HeadVerdict JudgeTga(const ByteReader& head, std::uintmax_t file_size, const DecodeLimits& limits) {
    const auto width = head.U16le(12);
    const auto height = head.U16le(14);
    const auto bits = head.U8(16);
    if (!width || !height || !head.Has(0, 18) || (*bits != 16 && *bits != 24 && *bits != 32)) return {};
    const HeadVerdict verdict = JudgeSize(*width, *height, limits);
    if (verdict.kind != Kind::Read) return verdict;
    // Run-length packets of one 32-bit pixel take five bytes; id and colour map at most
    // 255 + 65535 * 4 more.
    const std::uintmax_t pixels = std::uintmax_t{*width} * *height * 5 + 255 + 65535 * 4;
    return WithinFileSize(verdict, pixels, file_size);
}

// The signatures of the formats only the logo routes' picture libraries read.
bool LooksLikeLogoOnly(std::span<const std::uint8_t> head) {
    const bool gif = head.size() >= 6 && (std::memcmp(head.data(), "GIF87a", 6) == 0 || std::memcmp(head.data(), "GIF89a", 6) == 0);
    // PCX: maker 10, version 0 to 5 (1 unused), run-length encoding 1, 1 to 8 bits a plane.
    const bool pcx = head.size() >= 4 && head[0] == 0x0A && head[1] <= 5 && head[1] != 1 && head[2] == 1 &&
                     (head[3] == 1 || head[3] == 2 || head[3] == 4 || head[3] == 8);
    return gif || pcx;
}

}  // namespace

HeadVerdict JudgeHead(std::span<const std::uint8_t> head, std::uintmax_t file_size, const DecodeLimits& limits) {
    const ByteReader data(head);
    if (LooksLikeBmp(head)) return JudgeBmp(data, file_size, limits);
    if (LooksLikeIco(head)) return JudgeIco(data, file_size);
    if (LooksLikeJpeg(head)) return {Kind::Stream, 0, 0};
    if (LooksLikePng(head)) return JudgePng(data, file_size, limits);
    if (LooksLikeTga(head)) return JudgeTga(data, file_size, limits);
    if (LooksLikeLogoOnly(head)) return {Kind::LogoOnly};
    return {};
}

HeadVerdict JudgeSize(long long width, long long height, const DecodeLimits& limits) {
    HeadVerdict verdict{Kind::Read, width, height};
    if (width < 1 || height < 1) {
        verdict.kind = Kind::Damaged;
    } else if (width > limits.maxPixels / height) {   // width * height > maxPixels, without overflow
        verdict.kind = Kind::TooManyPixels;
    } else if (width > limits.maxSide || height > limits.maxSide) {
        verdict.kind = Kind::Unsupported;
        verdict.what = kOversizedSides;
    }
    return verdict;
}

}  // namespace velinor::imageio

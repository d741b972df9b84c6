#include "imageio/DibHeader.h"

#include <bit>
#include <limits>

#include "imageio/PixelBytes.h"

namespace velinor::imageio {

namespace {

constexpr std::size_t kCoreHeaderSize = 12;     // OS/2 1.x: 16-bit sizes, 3-byte palette entries
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kMaxHeaderSize = 124;     // the V5 header; larger ones are not bitmaps we know
constexpr std::size_t kOs22HeaderSize = 64;

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

bool IsWindowsHeaderSize(std::size_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// A mask must be one unbroken run of bits; an empty mask is a channel that is always 0.
std::optional<DibChannel> MakeChannel(std::uint32_t mask) {
    DibChannel channel;
    channel.mask = mask;
    if (mask == 0) return channel;
    channel.shift = std::countr_zero(mask);
    const std::uint32_t run = mask >> channel.shift;
    if ((run & (run + 1)) != 0) return std::nullopt;
    channel.bits = std::popcount(run);
    return channel;
}

bool DepthFitsCompression(int bits, DibCompression compression) {
    switch (compression) {
        case DibCompression::None:
            return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        case DibCompression::Rle8: return bits == 8;
        case DibCompression::Rle4: return bits == 4;
        case DibCompression::BitFields: return bits == 16 || bits == 32;
    }
    return false;
}

}  // namespace

std::optional<DibHeader> ParseDibHeader(const ByteReader& data, std::size_t offset) {
    DibHeader header;
    const auto size = data.U32le(offset);
    if (!size || *size < kCoreHeaderSize || *size > kMaxHeaderSize || !data.Has(offset, *size)) {
        return std::nullopt;
    }
    header.headerSize = *size;
    std::uint32_t compression = kRgb;
    std::uint32_t coloursUsed = 0;

    if (header.headerSize == kCoreHeaderSize) {
        header.width = *data.U16le(offset + 4);
        header.height = *data.U16le(offset + 6);
        header.bitsPerPixel = *data.U16le(offset + 10);
        header.paletteEntrySize = 3;
    } else {
        // The OS/2 2.x header may be cut short after 16 bytes; missing fields read as zero.
        if (header.headerSize < 16) return std::nullopt;
        const std::int32_t width = *data.I32le(offset + 4);
        const std::int32_t height = *data.I32le(offset + 8);
        if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min()) {
            return std::nullopt;
        }
        header.width = width;
        header.height = height < 0 ? -height : height;
        header.topDown = height < 0;
        header.bitsPerPixel = *data.U16le(offset + 14);
        if (header.headerSize >= 20) compression = *data.U32le(offset + 16);
        if (header.headerSize >= 36) coloursUsed = *data.U32le(offset + 32);
    }
    if (header.width <= 0 || header.height <= 0) return std::nullopt;

    const bool os2 = header.headerSize != kCoreHeaderSize && !IsWindowsHeaderSize(header.headerSize);
    if (os2 && header.headerSize > kOs22HeaderSize) return std::nullopt;
    std::size_t masksEnd = offset + header.headerSize;

    switch (compression) {
        case kRgb: header.compression = DibCompression::None; break;
        case kRle8: header.compression = DibCompression::Rle8; break;
        case kRle4: header.compression = DibCompression::Rle4; break;
        case kBitFields:
        case kAlphaBitFields: {
            // OS/2 uses these codes for Huffman and 24-bit run lengths, which we do not read.
            if (os2) return std::nullopt;
            header.compression = DibCompression::BitFields;
            const std::size_t count = compression == kAlphaBitFields ? 4 : 3;
            // Masks the header does not hold itself follow it directly.
            const std::size_t inside = header.headerSize >= 56 ? 4 : header.headerSize >= 52 ? 3 : 0;
            const std::size_t needed = count > inside ? count : inside;
            const std::size_t at = offset + kInfoHeaderSize;
            if (!data.Has(at, 4 * needed)) return std::nullopt;
            if (count > inside) masksEnd = at + 4 * count;
            for (std::size_t i = 0; i < needed; ++i) {
                const auto channel = MakeChannel(*data.U32le(at + 4 * i));
                if (!channel) return std::nullopt;
                header.channels[i] = *channel;
            }
            break;
        }
        default: return std::nullopt;
    }
    if (!DepthFitsCompression(header.bitsPerPixel, header.compression)) return std::nullopt;

    if (header.compression != DibCompression::BitFields) {
        // The customary layouts: 5-5-5 for 16 bits, 8-8-8 (and the spare byte as alpha) for 32.
        const bool wide = header.bitsPerPixel == 32;
        header.channels[0] = *MakeChannel(wide ? 0x00FF0000u : 0x7C00u);
        header.channels[1] = *MakeChannel(wide ? 0x0000FF00u : 0x03E0u);
        header.channels[2] = *MakeChannel(wide ? 0x000000FFu : 0x001Fu);
        header.channels[3] = *MakeChannel(wide ? 0xFF000000u : 0u);
    }

    header.paletteOffset = masksEnd;
    if (header.bitsPerPixel <= 8) {
        const std::size_t full = std::size_t{1} << header.bitsPerPixel;
        header.paletteEntries = coloursUsed == 0 || coloursUsed > full ? full : coloursUsed;
    }
    header.dataStart = header.paletteOffset + header.paletteEntries * header.paletteEntrySize;
    return header;
}

const char* UnsupportedDibKind(const ByteReader& data, std::size_t offset) {
    const auto size = data.U32le(offset);
    if (!size || *size < kCoreHeaderSize || *size > kMaxHeaderSize || !data.Has(offset, *size)) return nullptr;
    const bool core = *size == kCoreHeaderSize;
    if (!core && *size < 16) return nullptr;
    const long long width = core ? *data.U16le(offset + 4) : *data.I32le(offset + 4);
    const long long height = core ? *data.U16le(offset + 6) : *data.I32le(offset + 8);
    if (width <= 0 || height == 0) return nullptr;
    const int bits = *data.U16le(offset + (core ? 10 : 14));
    const std::uint32_t compression = !core && *size >= 20 ? *data.U32le(offset + 16) : kRgb;
    const bool os2 = !core && !IsWindowsHeaderSize(*size);
    if (os2 && compression == 3 && bits == 1) return "an OS/2 Huffman-coded BMP";
    if (os2 && compression == 4 && bits == 24) return "an OS/2 run-length 24-bit BMP";
    if (!os2 && compression == 4) return "a BMP holding a JPEG picture";
    if (!os2 && compression == 5) return "a BMP holding a PNG picture";
    if (compression == kRgb && bits == 2) return "a 2-bit BMP";
    if (compression == kRgb && bits == 64) return "a 64-bit BMP";
    return nullptr;
}

std::vector<render::Color> ReadDibPalette(const ByteReader& data, const DibHeader& header,
                                          std::size_t end) {
    std::vector<render::Color> palette;
    if (header.bitsPerPixel > 8) return palette;
    palette.assign(std::size_t{1} << header.bitsPerPixel, render::kBlack);
    for (std::size_t i = 0; i < header.paletteEntries; ++i) {
        const std::size_t at = header.paletteOffset + i * header.paletteEntrySize;
        if (at + 3 > end || !data.Has(at, 3)) break;
        palette[i] = ColorFromBgr(*data.U8(at), *data.U8(at + 1), *data.U8(at + 2));
    }
    return palette;
}

std::uint8_t ExtractChannel(std::uint32_t pixel, const DibChannel& channel) {
    if (channel.bits == 0) return 0;
    const std::uint32_t value = (pixel & channel.mask) >> channel.shift;
    if (channel.bits >= 8) return static_cast<std::uint8_t>(value >> (channel.bits - 8));
    // Repeat the bit pattern downwards: 5-bit 31 becomes 255, 5-bit 16 becomes 132.
    std::uint32_t result = 0;
    for (int shift = 8 - channel.bits; shift > -channel.bits; shift -= channel.bits) {
        result |= shift >= 0 ? value << shift : value >> -shift;
    }
    return static_cast<std::uint8_t>(result);
}

}  // namespace velinor::imageio

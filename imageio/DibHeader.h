#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "imageio/ByteReader.h"
#include "render/Color.h"

namespace velinor::imageio {

enum class DibCompression { None, Rle8, Rle4, BitFields };

// One colour channel of a 16- or 32-bit pixel: a contiguous run of bits.
struct DibChannel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};

// What a device-independent bitmap header says, after every field was checked for sense.
struct DibHeader {
    std::size_t headerSize = 0;
    int width = 0;
    int height = 0;           // rows of the stored bitmap (for icons: colour and mask together)
    bool topDown = false;    // first stored row is the top row
    int bitsPerPixel = 0;
    DibCompression compression = DibCompression::None;
    std::array<DibChannel, 4> channels{};  // red, green, blue, alpha for 16/32-bit pixels
    std::size_t paletteOffset = 0;       // absolute offset of the first colour table entry
    std::size_t paletteEntrySize = 4;   // 3 for the old OS/2 core header
    std::size_t paletteEntries = 0;      // declared entries (capped at 2^bits for indexed pixels)
    std::size_t dataStart = 0;           // where data may begin: after header, masks and palette
};

// Reads the header that starts at offset (14 in a BMP file, 0 in an icon). Nothing when the
// header is cut off or names a combination of depth and compression this decoder cannot read.
std::optional<DibHeader> ParseDibHeader(const ByteReader& data, std::size_t offset);

// For a header ParseDibHeader refuses: the kind of bitmap it describes ("a 2-bit BMP") when
// that is a well-formed header of a kind this decoder does not read, or null when the header
// is damaged.
const char* UnsupportedDibKind(const ByteReader& data, std::size_t offset);

// The colour table, 2^bits entries for indexed pixels (entries the file lacks are black),
// reading no further than end. Empty for 16/24/32-bit pixels.
std::vector<render::Color> ReadDibPalette(const ByteReader& data, const DibHeader& header,
                                          std::size_t end);

// The 8-bit value of a channel in a packed pixel; narrower channels repeat their bits so that
// the largest value becomes 255.
std::uint8_t ExtractChannel(std::uint32_t pixel, const DibChannel& channel);

// Bytes in one stored row, padded to four bytes.
constexpr std::size_t DibStride(int width, int bitsPerPixel) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

}  // namespace velinor::imageio

#include "imageio/TgaDecoder.h"

#include <algorithm>

#include "imageio/ByteReader.h"
#include "imageio/PixelBytes.h"

namespace velinor::imageio {

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::uint8_t kUncompressed = 2;
constexpr std::uint8_t kRunLength = 10;
constexpr std::uint8_t kTopOrigin = 0x20;
constexpr std::uint8_t kRightOrigin = 0x10;

render::Color ReadPixel(const std::uint8_t* p, int bytesPerPixel) {
    if (bytesPerPixel == 2) {
        const unsigned v = p[0] | (p[1] << 8);
        return ColorFromBgr(static_cast<std::uint8_t>((v & 31) << 3),
                            static_cast<std::uint8_t>(((v >> 5) & 31) << 3),
                            static_cast<std::uint8_t>(((v >> 10) & 31) << 3));
    }
    return ColorFromBgr(p[0], p[1], p[2]);
}

// Unpacks run-length packets until count pixels exist; nothing when the data runs out first.
// The whole store is reserved up front: that maps address space only, and memory is committed
// as the runs fill it, so a lying header costs nothing before the data runs out, and the store
// never moves while it grows.
std::optional<render::Pixels> ReadRunLength(const ByteReader& data, std::size_t pos,
                                                        std::size_t count, int bytesPerPixel) {
    render::Pixels out;
    out.reserve(count);
    const std::size_t size = static_cast<std::size_t>(bytesPerPixel);
    while (out.size() < count) {
        const auto packet = data.U8(pos++);
        if (!packet) return std::nullopt;
        const std::size_t length = (*packet & 0x7F) + 1u;
        if (*packet & 0x80) {
            const auto pixel = data.Slice(pos, size);
            if (!pixel) return std::nullopt;
            pos += size;
            out.insert(out.end(), std::min(length, count - out.size()), ReadPixel(pixel->data(), bytesPerPixel));
        } else {
            const auto pixels = data.Slice(pos, size * length);
            if (!pixels) return std::nullopt;
            pos += size * length;
            for (std::size_t i = 0; i < length && out.size() < count; ++i) {
                out.push_back(ReadPixel(pixels->data() + i * size, bytesPerPixel));
            }
        }
    }
    return out;
}

// Turns stored rows into top-to-bottom, left-to-right order in place: rows swapped end for
// end when the origin is at the bottom, each row reversed when it is at the right.
void TurnRowsInPlace(render::Pixels& pixels, std::size_t width, std::size_t height,
                     bool topFirst, bool rightFirst) {
    const auto row = [&](std::size_t y) { return pixels.begin() + static_cast<std::ptrdiff_t>(y * width); };
    if (rightFirst) {
        for (std::size_t y = 0; y < height; ++y) std::reverse(row(y), row(y + 1));
    }
    if (!topFirst) {
        for (std::size_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
            std::swap_ranges(row(top), row(top + 1), row(bottom));
        }
    }
}

}  // namespace

bool LooksLikeTga(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 3 && (bytes[2] == kUncompressed || bytes[2] == kRunLength);
}

std::optional<render::RasterImage> DecodeTga(std::span<const std::uint8_t> bytes,
                                             const DecodeLimits& limits) {
    const ByteReader data(bytes);
    if (!data.Has(0, kHeaderSize) || !LooksLikeTga(bytes)) return std::nullopt;
    const std::uint8_t idLength = *data.U8(0);
    const std::uint8_t type = *data.U8(2);
    const std::uint16_t mapLength = *data.U16le(5);
    const std::uint8_t mapEntryBits = *data.U8(7);
    const int width = *data.U16le(12);
    const int height = *data.U16le(14);
    const int bits = *data.U8(16);
    const std::uint8_t descriptor = *data.U8(17);

    if (!(bits == 24 || bits == 32 || (bits == 16 && type == kUncompressed))) return std::nullopt;
    if (!FitsLimits(width, height, limits)) return std::nullopt;
    const int bytesPerPixel = bits / 8;
    // A colour map is skipped; 15-bit entries take two bytes, so round the entry size up.
    const std::size_t mapBytes = static_cast<std::size_t>(mapLength) * ((mapEntryBits + 7u) / 8u);
    const std::size_t start = kHeaderSize + idLength + mapBytes;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);

    render::Pixels stored;
    if (type == kUncompressed) {
        const auto body = data.Slice(start, count * static_cast<std::size_t>(bytesPerPixel));
        if (!body) return std::nullopt;
        stored.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            stored.push_back(ReadPixel(body->data() + i * static_cast<std::size_t>(bytesPerPixel), bytesPerPixel));
        }
    } else {
        auto unpacked = ReadRunLength(data, start, count, bytesPerPixel);
        if (!unpacked) return std::nullopt;
        stored = std::move(*unpacked);
    }

    // Rows are stored bottom-up unless the descriptor puts the origin at the top; pixels run
    // right to left when it puts the origin at the right. The one store is turned in place.
    TurnRowsInPlace(stored, static_cast<std::size_t>(width), static_cast<std::size_t>(height),
                    (descriptor & kTopOrigin) != 0, (descriptor & kRightOrigin) != 0);
    render::RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels = std::move(stored);
    return image;
}

}  // namespace velinor::imageio

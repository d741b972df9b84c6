#include "imageio/DibPixels.h"

#include <algorithm>

#include "imageio/PixelBytes.h"

namespace velinor::imageio {

namespace {

std::size_t TargetRow(const DibHeader& header, int rows, int storedRow) {
    return static_cast<std::size_t>(header.topDown ? storedRow : rows - 1 - storedRow);
}

std::optional<DibPixels> DecodeUncompressed(const ByteReader& data, const DibHeader& header,
                                            int rows, std::size_t start,
                                            const std::vector<render::Color>& palette,
                                            bool wantAlpha) {
    const std::size_t width = static_cast<std::size_t>(header.width);
    const std::size_t stride = DibStride(header.width, header.bitsPerPixel);
    // Every row must be there before anything is allocated for them.
    const auto body = data.Slice(start, stride * static_cast<std::size_t>(rows));
    if (!body) return std::nullopt;

    const int bits = header.bitsPerPixel;
    const bool withAlpha = wantAlpha && bits >= 16 && header.channels[3].bits > 0;
    DibPixels out;
    out.pixels.resize(width * static_cast<std::size_t>(rows));
    if (withAlpha) out.alpha.resize(out.pixels.size());

    for (int stored = 0; stored < rows; ++stored) {
        const std::uint8_t* row = body->data() + stride * static_cast<std::size_t>(stored);
        const std::size_t base = TargetRow(header, rows, stored) * width;
        render::Color* dest = out.pixels.data() + base;
        for (std::size_t x = 0; x < width; ++x) {
            switch (bits) {
                case 1: dest[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1]; break;
                case 4: dest[x] = palette[(row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F]; break;
                case 8: dest[x] = palette[row[x]]; break;
                case 24: dest[x] = ColorFromBgr(row[3 * x], row[3 * x + 1], row[3 * x + 2]); break;
                default: {
                    const std::uint8_t* p = row + x * static_cast<std::size_t>(bits / 8);
                    std::uint32_t value = p[0] | (static_cast<std::uint32_t>(p[1]) << 8);
                    if (bits == 32) {
                        value |= (static_cast<std::uint32_t>(p[2]) << 16) |
                                 (static_cast<std::uint32_t>(p[3]) << 24);
                    }
                    dest[x] = ColorFromBgr(ExtractChannel(value, header.channels[2]),
                                           ExtractChannel(value, header.channels[1]),
                                           ExtractChannel(value, header.channels[0]));
                    if (withAlpha) out.alpha[base + x] = ExtractChannel(value, header.channels[3]);
                }
            }
        }
    }
    return out;
}

// Run-length data: pairs of (count, index) runs and escapes for end of line, end of bitmap,
// a jump, and literal runs padded to two bytes. Pixels that no run reaches keep index 0;
// runs that overshoot the right edge are clipped. The runs go straight into the pixels: a
// picture of many pixels and few bytes takes its pixel store and nothing beside it.
std::optional<DibPixels> DecodeRunLength(const ByteReader& data, const DibHeader& header, int rows,
                                         std::size_t start,
                                         const std::vector<render::Color>& palette) {
    const bool nibbles = header.compression == DibCompression::Rle4;
    const long long width = header.width;
    DibPixels out;
    out.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows), palette[0]);
    long long x = 0;
    long long y = 0;
    auto put = [&](std::uint8_t index) {
        if (x < width && y < rows) {
            out.pixels[TargetRow(header, rows, static_cast<int>(y)) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(x)] = palette[index];
        }
        if (x <= width) ++x;  // stays bounded however long the run
    };

    std::size_t pos = start;
    bool finished = false;
    while (!finished) {
        const auto count = data.U8(pos);
        const auto value = data.U8(pos + 1);
        if (!count || !value) {
            // Data that stops after the last row is complete lacks only its end marker.
            if (y >= rows) break;
            return std::nullopt;
        }
        pos += 2;
        if (*count > 0) {
            for (int i = 0; i < *count; ++i) {
                put(nibbles ? static_cast<std::uint8_t>(i % 2 == 0 ? *value >> 4 : *value & 0x0F) : *value);
            }
            continue;
        }
        switch (*value) {
            case 0: x = 0; ++y; break;
            case 1: finished = true; break;
            case 2: {
                const auto dx = data.U8(pos);
                const auto dy = data.U8(pos + 1);
                if (!dx || !dy) return std::nullopt;
                pos += 2;
                x = std::min(x + *dx, width + 1);
                y = std::min<long long>(y + *dy, rows);
                break;
            }
            default: {
                const std::size_t n = *value;
                const std::size_t length = nibbles ? (n + 1) / 2 : n;
                const auto literal = data.Slice(pos, length);
                if (!literal) return std::nullopt;
                for (std::size_t i = 0; i < n; ++i) {
                    const std::uint8_t byte = (*literal)[nibbles ? i / 2 : i];
                    put(nibbles ? static_cast<std::uint8_t>(i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
                }
                pos += length + (length & 1);
            }
        }
        if (y > rows) y = rows;
    }
    return out;
}

}  // namespace

std::optional<DibPixels> DecodeDibPixels(const ByteReader& data, const DibHeader& header, int rows,
                                         std::size_t start,
                                         const std::vector<render::Color>& palette,
                                         bool wantAlpha) {
    if (rows <= 0 || header.width <= 0) return std::nullopt;
    if (header.bitsPerPixel <= 8 && palette.size() != (std::size_t{1} << header.bitsPerPixel)) {
        return std::nullopt;
    }
    if (header.compression == DibCompression::Rle8 || header.compression == DibCompression::Rle4) {
        return DecodeRunLength(data, header, rows, start, palette);
    }
    return DecodeUncompressed(data, header, rows, start, palette, wantAlpha);
}

}  // namespace velinor::imageio

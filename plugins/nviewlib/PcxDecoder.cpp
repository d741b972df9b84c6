#include "plugins/nviewlib/PcxDecoder.h"

#include <algorithm>

namespace velinor::plugins {
namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kTrailingPalette = 769;  // the marker byte 12, then 256 RGB triples
constexpr std::uint8_t kPaletteMarker = 12;
constexpr std::size_t kLongestRun = 63;

struct Layout {
    int bitsPerPlane;
    int planes;
};

bool Supported(Layout layout) {
    return (layout.bitsPerPlane == 1 && (layout.planes == 1 || layout.planes == 4)) ||
           (layout.bitsPerPlane == 8 && (layout.planes == 1 || layout.planes == 3));
}

// Reads one scan line (all planes) at a time from the stored bytes. Runs may carry over from
// one line into the next, as some writers produce them.
class ScanLineReader {
public:
    ScanLineReader(const std::uint8_t* data, std::size_t size, bool encoded) : data_(data), size_(size), encoded_(encoded) {}

    bool Next(std::uint8_t* line, std::size_t length) {
        std::size_t filled = 0;
        while (filled < length) {
            if (pending_ > 0) {
                const std::size_t n = std::min(pending_, length - filled);
                std::fill_n(line + filled, n, value_);
                filled += n;
                pending_ -= n;
                continue;
            }
            if (position_ >= size_) return false;
            const std::uint8_t byte = data_[position_++];
            if (encoded_ && byte >= 0xC0) {
                if (position_ >= size_) return false;
                pending_ = byte & 0x3F;
                value_ = data_[position_++];
            } else {
                line[filled++] = byte;
            }
        }
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    bool encoded_;
    std::size_t position_ = 0;
    std::size_t pending_ = 0;
    std::uint8_t value_ = 0;
};

std::uint32_t PaletteColour(const std::uint8_t* triples, std::size_t index) {
    const std::uint8_t* p = triples + 3 * index;
    return Rgb(p[0], p[1], p[2]);
}

void ConvertLine(const std::uint8_t* line, std::size_t bytesPerLine, Layout layout, const std::uint8_t* palette,
                 std::uint32_t* out, int width) {
    const std::uint8_t* plane[4] = {line, line + bytesPerLine, line + 2 * bytesPerLine, line + 3 * bytesPerLine};
    for (int x = 0; x < width; ++x) {
        const auto i = static_cast<std::size_t>(x);
        if (layout.bitsPerPlane == 8) {
            out[x] = layout.planes == 3 ? Rgb(plane[0][i], plane[1][i], plane[2][i]) : PaletteColour(palette, plane[0][i]);
            continue;
        }
        std::size_t index = 0;
        for (int p = 0; p < layout.planes; ++p) index |= static_cast<std::size_t>((plane[p][i / 8] >> (7 - i % 8)) & 1) << p;
        out[x] = layout.planes == 1 ? (index ? Rgb(255, 255, 255) : 0) : PaletteColour(palette, index);
    }
}

}  // namespace

std::optional<Picture> DecodePcx(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < kHeaderSize) return std::nullopt;
    const std::uint8_t* h = data;
    const std::uint8_t version = h[1];
    if (h[0] != 0x0A || (version != 0 && version != 2 && version != 3 && version != 4 && version != 5)) return std::nullopt;
    if (h[2] > 1) return std::nullopt;
    const bool encoded = h[2] == 1;
    const Layout layout{h[3], h[65]};
    if (!Supported(layout)) return std::nullopt;
    const std::int64_t xMin = Le16(h + 4), yMin = Le16(h + 6), xMax = Le16(h + 8), yMax = Le16(h + 10);
    const std::int64_t width = xMax - xMin + 1, height = yMax - yMin + 1;
    if (!AcceptableSize(width, height)) return std::nullopt;
    const std::size_t bytesPerLine = Le16(h + 66);
    if (bytesPerLine == 0 || bytesPerLine < static_cast<std::size_t>((width * layout.bitsPerPlane + 7) / 8)) return std::nullopt;

    // The picture data, and the palette its pixels index.
    std::size_t dataEnd = size;
    const std::uint8_t* palette = h + 16;  // 16 colours in the header
    if (layout.bitsPerPlane == 8 && layout.planes == 1) {
        if (size < kHeaderSize + kTrailingPalette || data[size - kTrailingPalette] != kPaletteMarker) return std::nullopt;
        dataEnd = size - kTrailingPalette;
        palette = data + dataEnd + 1;
    }

    // Refuse sizes the stored bytes cannot fill before allocating for them.
    const std::size_t lineLength = bytesPerLine * static_cast<std::size_t>(layout.planes);
    const std::uint64_t needed = static_cast<std::uint64_t>(lineLength) * static_cast<std::uint64_t>(height);
    const std::uint64_t stored = dataEnd - kHeaderSize;
    if (needed > (encoded ? stored / 2 * kLongestRun + stored % 2 : stored)) return std::nullopt;

    std::optional<Picture> picture = BlankPicture(width, height);
    if (!picture) return std::nullopt;
    std::vector<std::uint8_t> line(lineLength);
    ScanLineReader reader(data + kHeaderSize, dataEnd - kHeaderSize, encoded);
    for (std::int64_t y = 0; y < height; ++y) {
        if (!reader.Next(line.data(), lineLength)) return std::nullopt;
        ConvertLine(line.data(), bytesPerLine, layout, palette,
                    picture->pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width), picture->width);
    }
    return picture;
}

}  // namespace velinor::plugins

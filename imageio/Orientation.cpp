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
    TiffReader(std::span<const std::uint8_t> bytes, bool big_endian) : data_(bytes), big_(big_endian) {}
    std::optional<std::uint16_t> U16(std::size_t at) const { return big_ ? data_.U16be(at) : data_.U16le(at); }
    std::optional<std::uint32_t> U32(std::size_t at) const { return big_ ? data_.U32be(at) : data_.U32le(at); }

private:
    ByteReader data_;
    bool big_;
};

}  // namespace

int ExifOrientation(std::span<const std::uint8_t> tiff) {
    if (tiff.size() < 8) return 1;
    bool big_endian = false;
    if (tiff[0] == 'M' && tiff[1] == 'M') {
        big_endian = true;
    } else if (!(tiff[0] == 'I' && tiff[1] == 'I')) {
        return 1;
    }
    const TiffReader reader(tiff, big_endian);
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

render::RasterImage ApplyOrientation(render::RasterImage image, int orientation) {
    if (orientation < 2 || orientation > 8) return image;
    const int w = image.width;
    const int h = image.height;
    const bool swapped = orientation >= 5;
    render::RasterImage out;
    out.width = swapped ? h : w;
    out.height = swapped ? w : h;
    out.depth = image.depth;
    out.pixels.resize(image.pixels.size());
    // For each upright pixel (x, y), the stored pixel that belongs there.
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            int sx = x;
            int sy = y;
            switch (orientation) {
                case 2: sx = w - 1 - x; break;
                case 3: sx = w - 1 - x; sy = h - 1 - y; break;
                case 4: sy = h - 1 - y; break;
                case 5: sx = y; sy = x; break;
                case 6: sx = y; sy = h - 1 - x; break;
                case 7: sx = w - 1 - y; sy = h - 1 - x; break;
                case 8: sx = w - 1 - y; sy = x; break;
            }
            out.pixels[static_cast<std::size_t>(y) * out.width + x] = image.At(sx, sy);
        }
    }
    return out;
}

}  // namespace velinor::imageio

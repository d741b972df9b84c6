#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "imageio/PluginLibrary.h"
#include "plugins/PluginApi.h"
#include "render/Color.h"
#include "WriteTestSupport.h"

namespace velinor::imageio::testing {

inline std::string StagedPlugin(const char* name) { return std::string(VELINOR_STAGE_DIR) + "/data/" + name; }

inline void Put16(std::vector<std::uint8_t>& b, std::size_t at, unsigned v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// A PCX file of the given layout holding `lines` (one vector per scan line, all planes, each
// planes * bytesPerLine bytes), run-length encoded unless stored is set. The encoder runs
// across line ends, as some writers do.
inline std::vector<std::uint8_t> MakePcx(int bitsPerPlane, int planes, int width, int height, int bytesPerLine,
                                         const std::vector<std::vector<std::uint8_t>>& lines,
                                         const std::vector<std::uint8_t>& palette = {}, bool stored = false) {
    std::vector<std::uint8_t> b(128, 0);
    b[0] = 0x0A;
    b[1] = 5;
    b[2] = stored ? 0 : 1;
    b[3] = static_cast<std::uint8_t>(bitsPerPlane);
    Put16(b, 4, 3);  // a non-zero origin: the size is max - min + 1
    Put16(b, 6, 7);
    Put16(b, 8, static_cast<unsigned>(3 + width - 1));
    Put16(b, 10, static_cast<unsigned>(7 + height - 1));
    b[65] = static_cast<std::uint8_t>(planes);
    Put16(b, 66, static_cast<unsigned>(bytesPerLine));
    if (planes == 4)
        for (std::size_t i = 0; i < 48 && i < palette.size(); ++i) b[16 + i] = palette[i];
    std::vector<std::uint8_t> all;
    for (const auto& line : lines) all.insert(all.end(), line.begin(), line.end());
    if (stored) {
        b.insert(b.end(), all.begin(), all.end());
    } else {
        for (std::size_t i = 0; i < all.size();) {
            std::size_t run = 1;
            while (i + run < all.size() && all[i + run] == all[i] && run < 63) ++run;
            if (run > 1 || all[i] >= 0xC0) {
                b.push_back(static_cast<std::uint8_t>(0xC0 | run));
            }
            b.push_back(all[i]);
            i += run;
        }
    }
    if (bitsPerPlane == 8 && planes == 1) {
        b.push_back(12);
        for (std::size_t i = 0; i < 768; ++i) b.push_back(i < palette.size() ? palette[i] : 0);
    }
    return b;
}

// One bitmap image of an icon: 8 bits with a palette, or 24 bits.
struct IconSpec {
    int width;
    int height;
    int bitsPerPixel;                  // 8 or 24
    std::vector<render::Color> pixels; // top row first
    std::vector<std::uint8_t> mask;    // 1 = transparent, top row first; empty = all opaque
};

inline std::vector<std::uint8_t> IconImageBytes(const IconSpec& spec) {
    const std::size_t colourStride = (static_cast<std::size_t>(spec.width) * spec.bitsPerPixel + 31) / 32 * 4;
    const std::size_t maskStride = (static_cast<std::size_t>(spec.width) + 31) / 32 * 4;
    const std::size_t paletteSize = spec.bitsPerPixel == 8 ? 256 * 4 : 0;
    std::vector<std::uint8_t> b(40 + paletteSize + (colourStride + maskStride) * spec.height, 0);
    Put32(b, 0, 40);
    Put32(b, 4, static_cast<std::uint32_t>(spec.width));
    Put32(b, 8, static_cast<std::uint32_t>(spec.height * 2));
    Put16(b, 12, 1);
    Put16(b, 14, static_cast<unsigned>(spec.bitsPerPixel));
    std::vector<render::Color> palette;
    for (int y = 0; y < spec.height; ++y) {
        const std::size_t row = 40 + paletteSize + colourStride * static_cast<std::size_t>(spec.height - 1 - y);
        const std::size_t maskRow = 40 + paletteSize + colourStride * spec.height + maskStride * static_cast<std::size_t>(spec.height - 1 - y);
        for (int x = 0; x < spec.width; ++x) {
            const render::Color c = spec.pixels[static_cast<std::size_t>(y) * spec.width + x];
            if (spec.bitsPerPixel == 24) {
                b[row + 3 * x] = static_cast<std::uint8_t>(render::BlueOf(c));
                b[row + 3 * x + 1] = static_cast<std::uint8_t>(render::GreenOf(c));
                b[row + 3 * x + 2] = static_cast<std::uint8_t>(render::RedOf(c));
            } else {
                auto at = std::find(palette.begin(), palette.end(), c);  // callers keep to 256 colours
                if (at == palette.end()) at = palette.insert(palette.end(), c);
                b[row + x] = static_cast<std::uint8_t>(at - palette.begin());
            }
            if (!spec.mask.empty() && spec.mask[static_cast<std::size_t>(y) * spec.width + x])
                b[maskRow + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    for (std::size_t i = 0; i < palette.size(); ++i) {
        b[40 + 4 * i] = static_cast<std::uint8_t>(render::BlueOf(palette[i]));
        b[40 + 4 * i + 1] = static_cast<std::uint8_t>(render::GreenOf(palette[i]));
        b[40 + 4 * i + 2] = static_cast<std::uint8_t>(render::RedOf(palette[i]));
    }
    return b;
}

inline std::vector<std::uint8_t> MakeIco(const std::vector<IconSpec>& specs) {
    std::vector<std::uint8_t> b(6 + 16 * specs.size(), 0);
    Put16(b, 2, 1);
    Put16(b, 4, static_cast<unsigned>(specs.size()));
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const auto image = IconImageBytes(specs[i]);
        const std::size_t entry = 6 + 16 * i;
        b[entry] = static_cast<std::uint8_t>(specs[i].width);
        b[entry + 1] = static_cast<std::uint8_t>(specs[i].height);
        Put16(b, entry + 4, 1);
        Put16(b, entry + 6, static_cast<unsigned>(specs[i].bitsPerPixel));
        Put32(b, entry + 8, static_cast<std::uint32_t>(image.size()));
        Put32(b, entry + 12, static_cast<std::uint32_t>(b.size()));
        b.insert(b.end(), image.begin(), image.end());
    }
    return b;
}

// A 4 x 3 GIF with an 8-entry palette; index 6 (the colour 10, 20, 30) is transparent.
inline std::vector<std::uint8_t> SmallGif() {
    return {
            0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x04, 0x00, 0x03, 0x00, 0xf2, 0x05, 0x00, 0x00,
            0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0xff, 0x00, 0xff, 0xff, 0x00, 0x00, 0x00, 0xff,
            0xff, 0xff, 0xff, 0x0a, 0x14, 0x1e, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x01, 0x00,
            0x00, 0x06, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x03, 0x00, 0x00, 0x03,
            0x08, 0x18, 0x42, 0x05, 0x61, 0xc2, 0x18, 0x32, 0x12, 0x00, 0x3b};
}

// A 2 x 10 interlaced GIF: row i is (20 i, 0, 0) then (0, 20 i, 0).
inline std::vector<std::uint8_t> InterlacedGif() {
    return {
            0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x02, 0x00, 0x0a, 0x00, 0xf4, 0x00, 0x00, 0x00,
            0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x14, 0x00, 0x28, 0x00, 0x00, 0x3c, 0x00, 0x00,
            0x00, 0x28, 0x00, 0x00, 0x3c, 0x00, 0x50, 0x00, 0x00, 0x64, 0x00, 0x00, 0x78, 0x00,
            0x00, 0x00, 0x50, 0x00, 0x00, 0x64, 0x00, 0x00, 0x78, 0x00, 0x8c, 0x00, 0x00, 0xa0,
            0x00, 0x00, 0xb4, 0x00, 0x00, 0x00, 0x8c, 0x00, 0x00, 0xa0, 0x00, 0x00, 0xb4, 0x00,
            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04,
            0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x0a, 0x00,
            0x40, 0x05, 0x11, 0x20, 0x00, 0x38, 0xd1, 0xa1, 0x0c, 0x45, 0xc2, 0x04, 0x02, 0x61,
            0x20, 0x4b, 0x03, 0x3d, 0x52, 0x08, 0x00, 0x3b};
}

}  // namespace velinor::imageio::testing

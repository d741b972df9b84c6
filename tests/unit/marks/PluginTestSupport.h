#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "plugins/PluginHost.h"
#include "plugins/PluginApi.h"
#include "render/Color.h"
#include "../imageio/WriteTestSupport.h"

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
struct IconPicture {
    int width;
    int height;
    int bitsPerPixel;                  // 8 or 24
    std::vector<render::Color> pixels; // top row first
    std::vector<std::uint8_t> mask;    // 1 = transparent, top row first; empty = all opaque
};

inline std::vector<std::uint8_t> IconImageBytes(const IconPicture& icon) {
    const std::size_t colourStride = (static_cast<std::size_t>(icon.width) * icon.bitsPerPixel + 31) / 32 * 4;
    const std::size_t maskStride = (static_cast<std::size_t>(icon.width) + 31) / 32 * 4;
    const std::size_t paletteSize = icon.bitsPerPixel == 8 ? 256 * 4 : 0;
    std::vector<std::uint8_t> b(40 + paletteSize + (colourStride + maskStride) * icon.height, 0);
    Put32(b, 0, 40);
    Put32(b, 4, static_cast<std::uint32_t>(icon.width));
    Put32(b, 8, static_cast<std::uint32_t>(icon.height * 2));
    Put16(b, 12, 1);
    Put16(b, 14, static_cast<unsigned>(icon.bitsPerPixel));
    std::vector<render::Color> palette;
    for (int y = 0; y < icon.height; ++y) {
        const std::size_t row = 40 + paletteSize + colourStride * static_cast<std::size_t>(icon.height - 1 - y);
        const std::size_t maskRow = 40 + paletteSize + colourStride * icon.height + maskStride * static_cast<std::size_t>(icon.height - 1 - y);
        for (int x = 0; x < icon.width; ++x) {
            const render::Color c = icon.pixels[static_cast<std::size_t>(y) * icon.width + x];
            if (icon.bitsPerPixel == 24) {
                b[row + 3 * x] = static_cast<std::uint8_t>(render::BlueOf(c));
                b[row + 3 * x + 1] = static_cast<std::uint8_t>(render::GreenOf(c));
                b[row + 3 * x + 2] = static_cast<std::uint8_t>(render::RedOf(c));
            } else {
                auto at = std::find(palette.begin(), palette.end(), c);  // callers keep to 256 colours
                if (at == palette.end()) at = palette.insert(palette.end(), c);
                b[row + x] = static_cast<std::uint8_t>(at - palette.begin());
            }
            if (!icon.mask.empty() && icon.mask[static_cast<std::size_t>(y) * icon.width + x])
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

inline std::vector<std::uint8_t> MakeIco(const std::vector<IconPicture>& icons) {
    std::vector<std::uint8_t> b(6 + 16 * icons.size(), 0);
    Put16(b, 2, 1);
    Put16(b, 4, static_cast<unsigned>(icons.size()));
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const auto image = IconImageBytes(icons[i]);
        const std::size_t entry = 6 + 16 * i;
        b[entry] = static_cast<std::uint8_t>(icons[i].width);
        b[entry + 1] = static_cast<std::uint8_t>(icons[i].height);
        Put16(b, entry + 4, 1);
        Put16(b, entry + 6, static_cast<unsigned>(icons[i].bitsPerPixel));
        Put32(b, entry + 8, static_cast<std::uint32_t>(image.size()));
        Put32(b, entry + 12, static_cast<std::uint32_t>(b.size()));
        b.insert(b.end(), image.begin(), image.end());
    }
    return b;
}

// Seed pictures of the fuzz corpus, read by the tests as well.
inline std::vector<std::uint8_t> SeedPicture(const std::string& name) {
    return ReadBytes(std::string(VELINOR_SOURCE_DIR) + "/tests/fuzz/corpus/" + name);
}

// A 4 x 3 GIF with an 8-entry palette; index 6 (the colour 10, 20, 30) is transparent.
inline std::vector<std::uint8_t> SmallGif() { return SeedPicture("gif/small.gif"); }

// A 2 x 10 interlaced GIF: row i is (20 i, 0, 0) then (0, 20 i, 0).
inline std::vector<std::uint8_t> InterlacedGif() { return SeedPicture("gif/interlaced.gif"); }

}  // namespace velinor::imageio::testing

#include <png.h>

namespace velinor::imageio::testing {

// An RGBA PNG file in memory: pixel i is colours[i] with alpha alphas[i].
inline std::vector<std::uint8_t> RgbaPng(int width, int height, const std::vector<render::Color>& colours,
                                         const std::vector<std::uint8_t>& alphas) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, [](png_structp p, png_bytep data, png_size_t n) {
        auto* v = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
        v->insert(v->end(), data, data + n);
    }, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * width + x;
            row[4 * x] = static_cast<std::uint8_t>(render::RedOf(colours[i]));
            row[4 * x + 1] = static_cast<std::uint8_t>(render::GreenOf(colours[i]));
            row[4 * x + 2] = static_cast<std::uint8_t>(render::BlueOf(colours[i]));
            row[4 * x + 3] = alphas[i];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// Adds a PNG-stored image as the last entry of an icon file made by MakeIco.
inline std::vector<std::uint8_t> AppendPngEntry(const std::vector<std::uint8_t>& ico, const std::vector<std::uint8_t>& png) {
    const std::size_t count = ico[4] | ico[5] << 8;
    std::vector<std::uint8_t> b(ico.begin(), ico.begin() + 6 + 16 * static_cast<std::ptrdiff_t>(count));
    b.insert(b.end(), 16, 0);
    for (std::size_t i = 0; i < count; ++i) Put32(b, 6 + 16 * i + 12, (ico[6 + 16 * i + 12] | ico[6 + 16 * i + 13] << 8 | ico[6 + 16 * i + 14] << 16) + 16);
    Put16(b, 4, static_cast<unsigned>(count + 1));
    b.insert(b.end(), ico.begin() + 6 + 16 * static_cast<std::ptrdiff_t>(count), ico.end());
    const std::size_t entry = 6 + 16 * count;
    Put16(b, entry + 4, 1);
    Put16(b, entry + 6, 32);
    Put32(b, entry + 8, static_cast<std::uint32_t>(png.size()));
    Put32(b, entry + 12, static_cast<std::uint32_t>(b.size()));
    b.insert(b.end(), png.begin(), png.end());
    return b;
}

}  // namespace velinor::imageio::testing

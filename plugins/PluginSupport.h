#pragma once

// Helpers shared by the two picture libraries (header-only: each library is its own .so).

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "imageio/DecodeLimits.h"
#include "plugins/PluginApi.h"

namespace velinor::plugins {


// A decoded picture: width * height pixels 0x00BBGGRR, rows top to bottom. The pixel array
// is handed over as it is to the bitmap the library returns, never copied.
struct Picture {
    int width = 0;
    int height = 0;
    std::unique_ptr<std::uint32_t[]> pixels;
};

// True when a picture of that size may be allocated: sides up to 32767 and no more pixels than
// the library's pixel limit (imageio's, as the program last passed it).
inline bool AcceptableSize(std::int64_t width, std::int64_t height) {
    return imageio::FitsLimits(width, height, imageio::DecodeLimits{});
}

// The export both libraries share: the pixel limit the program passes before a load.
inline void SetLibraryPixelLimit(std::int64_t pixels) { imageio::SetPixelLimit(pixels); }

constexpr std::uint32_t Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return red | static_cast<std::uint32_t>(green) << 8 | static_cast<std::uint32_t>(blue) << 16;
}

// A picture of the given size, all black; nothing when the size is not acceptable or memory
// runs out.
inline std::optional<Picture> BlankPicture(std::int64_t width, std::int64_t height) {
    if (!AcceptableSize(width, height)) return std::nullopt;
    Picture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.reset(new (std::nothrow) std::uint32_t[static_cast<std::size_t>(width * height)]());
    if (!picture.pixels) return std::nullopt;
    return picture;
}

// Hands a picture across the C interface; the library's release function frees it.
inline VelinorBitmap* ToBitmap(Picture&& picture) {
    auto* bitmap = new (std::nothrow) VelinorBitmap{};
    if (bitmap == nullptr) return nullptr;
    bitmap->pixels = picture.pixels.release();
    bitmap->width = picture.width;
    bitmap->height = picture.height;
    return bitmap;
}

inline void FreeBitmap(VelinorBitmap* bitmap) {
    if (bitmap == nullptr) return;
    delete[] bitmap->pixels;
    delete bitmap;
}

// Little-endian readers over bytes the caller has bounds-checked.
inline std::uint32_t Le16(const std::uint8_t* at) { return at[0] | static_cast<std::uint32_t>(at[1]) << 8; }
inline std::uint32_t Le32(const std::uint8_t* at) { return Le16(at) | Le16(at + 2) << 16; }

}  // namespace velinor::plugins

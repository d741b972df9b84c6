#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "imageio/DecodeLimits.h"
#include "render/RasterImage.h"

namespace velinor::imageio {

// True when the bytes start with the bitmap file signature "BM".
bool LooksLikeBmp(std::span<const std::uint8_t> bytes);

// A whole BMP file: OS/2 1.x/2.x and Windows V3/V4/V5 headers; 1/4/8-bit palettes, 16-bit
// (5-5-5 or bit fields), 24 and 32 bits; bottom-up or top-down rows; RLE4 and RLE8.
std::optional<render::RasterImage> DecodeBmp(std::span<const std::uint8_t> bytes,
                                             const DecodeLimits& limits = {});

// A bitmap as stored inside an icon file: header, palette, colour rows and the 1-bit mask
// (the header's height counts both). The result is an icon image: mask 1 where opaque,
// black colour where transparent. 32-bit pixels with any alpha use alpha >= 128 as opaque.
std::optional<render::RasterImage> DecodeIconBitmap(std::span<const std::uint8_t> bytes,
                                                    const DecodeLimits& limits = {});

}  // namespace velinor::imageio

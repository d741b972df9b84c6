#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "imageio/DecodeLimits.h"
#include "imageio/PictureMetadata.h"
#include "render/RasterImage.h"

namespace velinor::imageio {

// True when the bytes start with the eight-byte PNG signature.
bool LooksLikePng(std::span<const std::uint8_t> bytes);

// Every PNG colour type and depth, interlaced or not, as 8-bit RGB: palettes expanded, grey
// turned into RGB, 16-bit samples rounded to 8 bits. Alpha is dropped, leaving the stored
// colours; a file whose data ends before its last row fails. The file's metadata goes to
// metadata when it is given.
std::optional<render::RasterImage> DecodePng(std::span<const std::uint8_t> bytes,
                                             const DecodeLimits& limits = {}, PictureMetadata* metadata = nullptr);

// The same as an icon image: alpha (and transparent colours) >= 128 counts as opaque,
// transparent pixels are black.
std::optional<render::RasterImage> DecodePngIcon(std::span<const std::uint8_t> bytes,
                                                 const DecodeLimits& limits = {});

}  // namespace velinor::imageio

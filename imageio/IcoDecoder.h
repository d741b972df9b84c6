#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "imageio/DecodeLimits.h"
#include "render/RasterImage.h"

namespace velinor::imageio {

// Which image of an icon file's directory to decode.
enum class IconChoice {
    Best,   // the largest, and among equals the deepest colours
    First,  // the first entry of the directory
};

// True when the bytes start like an icon file: reserved 0, type 1, at least one image.
bool LooksLikeIco(std::span<const std::uint8_t> bytes);

// An icon file whose images are bitmaps or PNG files. The result is an icon image (pixels and
// mask, black where transparent). With Best, an image that fails to decode gives way to the
// next best one.
std::optional<render::RasterImage> DecodeIco(std::span<const std::uint8_t> bytes, IconChoice choice,
                                             const DecodeLimits& limits = {});

}  // namespace velinor::imageio

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "plugins/PluginSupport.h"

namespace velinor::plugins {

// The largest image of an ICO file (most pixels, then most bits per pixel) that decodes.
// Images may be bitmaps (1, 4, 8, 24 or 32 bits) or PNG files. Transparent pixels come out black.
std::optional<Picture> DecodeIco(const std::uint8_t* data, std::size_t size);

}  // namespace velinor::plugins

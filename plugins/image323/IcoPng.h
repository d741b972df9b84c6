#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "plugins/PluginSupport.h"

namespace velinor::plugins {

// True when an icon image starts with the PNG signature (large icons are often stored so).
bool IsPngImage(const std::uint8_t* data, std::size_t size);

// The size a PNG icon image declares; nothing when its header is not readable.
std::optional<std::pair<std::int64_t, std::int64_t>> PngImageSize(const std::uint8_t* data, std::size_t size);

// Decodes a PNG icon image; fully transparent pixels come out black.
std::optional<Picture> DecodePngImage(const std::uint8_t* data, std::size_t size);

}  // namespace velinor::plugins

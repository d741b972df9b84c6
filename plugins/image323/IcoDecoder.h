#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "plugins/PluginSupport.h"

namespace velinor::plugins {

// The largest image of an ICO file (most pixels, then most bits per pixel) that decodes.
// Transparent pixels come out black. Images stored as PNG are skipped.
std::optional<Picture> DecodeIco(const std::uint8_t* data, std::size_t size);

}  // namespace velinor::plugins

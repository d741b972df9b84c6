#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "plugins/PluginSupport.h"

namespace velinor::plugins {

// PCX pictures: 1 bit (black and white), 4 planes of 1 bit (the header's 16 colours), 8 bits
// with the 256-colour palette at the end of the file, and 3 planes of 8 bits (true colour);
// run-length encoded or stored.
std::optional<Picture> DecodePcx(const std::uint8_t* data, std::size_t size);

}  // namespace velinor::plugins

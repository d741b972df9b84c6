#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "plugins/PluginSupport.h"

namespace velinor::plugins {

// The first frame of a GIF at its own size. Transparent pixels keep their palette colour, so
// that the colour can be picked as the key colour afterwards.
std::optional<Picture> DecodeGif(const std::uint8_t* data, std::size_t size);

// The most pixels `bytes` bytes of LZW data can stand for (codes are at least 3 bits wide and
// the k-th code adds at most one pixel to the longest string so far, up to the 4096 of a full
// table). Used to refuse frames whose size the data cannot possibly fill before allocating.
std::uint64_t MaxLzwPixels(std::size_t bytes);

}  // namespace velinor::plugins

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "imageio/ByteReader.h"
#include "imageio/DibHeader.h"
#include "render/Color.h"
#include "render/Pixels.h"

namespace velinor::imageio {

// Decoded bitmap rows, top row first. alpha is filled only when asked for and the pixels
// carry an alpha channel (16/32-bit pixels with an alpha mask).
struct DibPixels {
    render::Pixels pixels;
    std::vector<std::uint8_t> alpha;
};

// Decodes rows x header.width pixels of bitmap data starting at start. Uncompressed data must
// hold every row; run-length data must not run out before its last row.
std::optional<DibPixels> DecodeDibPixels(const ByteReader& data, const DibHeader& header, int rows,
                                         std::size_t start,
                                         const std::vector<render::Color>& palette,
                                         bool wantAlpha);

}  // namespace velinor::imageio

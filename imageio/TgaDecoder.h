#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "imageio/DecodeLimits.h"
#include "render/RasterImage.h"

namespace velinor::imageio {

// A TGA file has no signature; the decoder takes it when the image type (byte 2) is 2
// (uncompressed true colour) or 10 (run-length true colour).
bool LooksLikeTga(std::span<const std::uint8_t> bytes);

// Type 2 with 16, 24 or 32 bits, type 10 with 24 or 32 bits; either row origin. Alpha is
// dropped; 16-bit colours are 5 bits each shifted up by three.
std::optional<render::RasterImage> DecodeTga(std::span<const std::uint8_t> bytes,
                                             const DecodeLimits& limits = {});

}  // namespace velinor::imageio

#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "imageio/DecodeLimits.h"
#include "imageio/IcoDecoder.h"
#include "imageio/PictureMetadata.h"
#include "render/RasterImage.h"

namespace velinor::imageio {

// Recognises a picture by its content and decodes it: "BM" goes to the bitmap decoder and
// nowhere else; otherwise the icon decoder, then JPEG, PNG and TGA, the first that accepts
// the bytes decoding them. A JPEG's or PNG's metadata goes to metadata when it is given.
std::optional<render::RasterImage> DecodePicture(std::span<const std::uint8_t> bytes,
                                                 IconChoice iconChoice,
                                                 const DecodeLimits& limits = {},
                                                 PictureMetadata* metadata = nullptr);

}  // namespace velinor::imageio

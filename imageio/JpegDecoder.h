#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>

#include "imageio/DecodeLimits.h"
#include "imageio/PictureMetadata.h"
#include "imageio/RowWatcher.h"
#include "render/RasterImage.h"

namespace velinor::imageio {

// True when the bytes start with the JPEG start-of-image marker 0xFF 0xD8.
bool LooksLikeJpeg(std::span<const std::uint8_t> bytes);

// Decodes colour, greyscale, CMYK and YCCK JPEG files to RGB and turns the picture upright
// by its EXIF orientation. A corrupt file, or one whose data ends before the picture does,
// gives nothing. The file's metadata goes to metadata when it is given.
std::optional<render::RasterImage> DecodeJpeg(std::span<const std::uint8_t> bytes,
                                              const DecodeLimits& limits = {}, PictureMetadata* metadata = nullptr);

// The same from an open file, read as the decoder goes so that the compressed bytes are never
// held whole. When the picture is refused for a size beyond limits (more pixels, or a longer
// side), its size goes to oversized. A watcher sees the rows as they are decoded when they come upright.
std::optional<render::RasterImage> DecodeJpegFile(std::FILE* file, const DecodeLimits& limits = {},
                                                  PictureSize* oversized = nullptr, RowWatcher* watcher = nullptr,
                                                  PictureMetadata* metadata = nullptr);

}  // namespace velinor::imageio

#pragma once

#include <cstdio>

#include "imageio/BgrRows.h"
#include "imageio/PictureMetadata.h"

struct jpeg_compress_struct;

namespace velinor::imageio {

// Encodes the rows as a baseline-free default JPEG at library quality 10 * quality, with
// quality clamped to 0..10, carrying metadata (made for writing, see PrepareMetadata) when it is
// given. False on any library or write error; never ends the process.
bool WriteJpeg(std::FILE* file, const BgrRows& rows, int quality, const PictureMetadata* metadata = nullptr);

// Sets up a created compressor for width x height rows of R, G, B bytes, or of R, G, B and an
// unused fourth byte when rgbx is set (libjpeg-turbo only); the settings every JPEG of ours is
// written with, quality 0..10 as above.
void SetUpCompressor(jpeg_compress_struct& info, int width, int height, int quality, bool rgbx);

// The library quality a picture quality of 0..10 (clamped) becomes.
constexpr int JpegLibraryQuality(int quality) {
    return (quality < 0 ? 0 : quality > 10 ? 10 : quality) * 10;
}

}  // namespace velinor::imageio

#pragma once

#include <cstdio>

#include "imageio/BgrBuffer.h"

namespace velinor::imageio {

// Encodes the buffer as a baseline-free default JPEG at library quality 10 * quality, with
// quality clamped to 0..10. False on any library or write error; never ends the process.
bool WriteJpeg(std::FILE* file, const BgrBuffer& buffer, int quality);

// The library quality a picture quality of 0..10 (clamped) becomes.
constexpr int JpegLibraryQuality(int quality) {
    return (quality < 0 ? 0 : quality > 10 ? 10 : quality) * 10;
}

}  // namespace velinor::imageio

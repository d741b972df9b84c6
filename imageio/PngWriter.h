#pragma once

#include <cstdio>

#include "imageio/BgrBuffer.h"

namespace velinor::imageio {

// Encodes the buffer as an 8-bit RGB PNG, no interlacing, filter "none" on every row,
// compression level 9. False on any library or write error; never ends the process.
bool WritePng(std::FILE* file, const BgrBuffer& buffer);

}  // namespace velinor::imageio

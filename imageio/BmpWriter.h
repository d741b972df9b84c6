#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

#include "imageio/BgrBuffer.h"

namespace velinor::imageio {

constexpr std::size_t kBmpHeaderSize = 54;

// The 14-byte file header and 40-byte information header of an uncompressed 24-bit,
// bottom-up BMP of the buffer's size.
std::array<std::uint8_t, kBmpHeaderSize> BmpHeader(const BgrBuffer& buffer);

// Writes the headers and the rows exactly as they lie in the buffer. False on a short write.
bool WriteBmp(std::FILE* file, const BgrBuffer& buffer);

}  // namespace velinor::imageio

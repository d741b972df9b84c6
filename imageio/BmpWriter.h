#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

#include "imageio/BgrRows.h"

namespace velinor::imageio {

constexpr std::size_t kBmpHeaderSize = 54;

// The 14-byte file header and 40-byte information header of an uncompressed 24-bit,
// bottom-up BMP of the picture's size.
std::array<std::uint8_t, kBmpHeaderSize> BmpHeader(int width, int height);

// Writes the headers, then the rows bottom first. False on a short write.
bool WriteBmp(std::FILE* file, const BgrRows& rows);

}  // namespace velinor::imageio

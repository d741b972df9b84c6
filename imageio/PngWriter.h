#pragma once

#include <cstdio>

#include "imageio/BgrRows.h"
#include "imageio/PictureMetadata.h"

namespace velinor::imageio {

// Encodes the rows as an 8-bit RGB PNG, no interlacing, filter "none" on every row,
// compression level 9, carrying metadata (made for writing, see PrepareMetadata) when it is
// given. False on any library or write error; never ends the process.
bool WritePng(std::FILE* file, const BgrRows& rows, const PictureMetadata* metadata = nullptr);

}  // namespace velinor::imageio

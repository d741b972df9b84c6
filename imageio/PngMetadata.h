#pragma once

#include <png.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imageio/PictureMetadata.h"

namespace velinor::imageio {

// Reads the chunks after the image data (where text often stands), then the metadata of the
// whole file: iCCP, sRGB, eXIf and the XMP packet of an iTXt or zTXt chunk keyed
// XML:com.adobe.xmp, each checked (see VetMetadata). Call after every row was read; a file
// damaged after its rows loses only what came after the damage. Never longjmps out.
PictureMetadata ReadPngMetadata(png_structp png, png_infop info);

// Puts the blocks of metadata (made for writing, see PrepareMetadata) into a write structure
// before png_write_info: iCCP (or else sRGB), eXIf and XMP in an uncompressed iTXt chunk, all
// before the image data. Only C structures are used here: libpng errors longjmp through it.
void SetPngMetadata(png_structp png, png_infop info, const PictureMetadata& metadata);

// Call after png_write_info: libpng would write the eXIf chunk a second time after the image
// data otherwise.
void ForgetWrittenExif(png_structp png, png_infop info);

// A copy of a PNG file without its ancillary chunks longer than libpng reads (it refuses the
// whole file for one), each with a warning naming the block it held, and ending before an
// ancillary chunk that claims more bytes than the file holds; empty when there are none.
std::vector<std::uint8_t> WithoutOversizedChunks(std::span<const std::uint8_t> bytes,
                                                 std::vector<std::string>& warnings);

}  // namespace velinor::imageio

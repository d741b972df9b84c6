#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imageio/PictureMetadata.h"

namespace velinor::imageio {

// Converts a JPEG file into a JPEG (quality 0..10) or BMP file, as encoder says (the writer
// codes of Writer.h), a band of rows at a time, without ever holding the whole picture: the
// file written is byte for byte the one SavePicture writes for the decoded picture, in a
// fraction of the memory and with no full-size store to fill. Only for files that need nothing
// of the whole picture: no EXIF turn, no CMYK inks to convert. False, with the output left as it
// was, for every other file or encoder and on any failure; the whole-picture path then gives the
// answer, or the reason. A JPEG keeps the input's metadata as SavePicture keeps it; on success
// the warnings about blocks left out go to warnings.
bool ConvertJpegRowByRow(const std::string& input, const std::string& output, std::uint32_t encoder, int quality,
                         const MetadataChoices& choices = {}, std::vector<std::string>* warnings = nullptr);

}  // namespace velinor::imageio

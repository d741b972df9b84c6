#pragma once

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <cstdint>
#include <vector>

#include "imageio/PictureMetadata.h"

namespace velinor::imageio {

// Asks a created decompressor to keep the markers metadata lives in (APP1 EXIF and XMP, APP2
// ICC, APP13 Photoshop), before its header is read.
void KeepMetadataMarkers(jpeg_decompress_struct& info);

// The metadata of a decompressor whose header was read: EXIF, XMP with its extension parts put
// back together, Photoshop resources and the ICC profile, each checked (see VetMetadata).
// Never longjmps and never throws for bad data.
PictureMetadata ReadJpegMetadata(jpeg_decompress_struct& info);

// The markers that carry the blocks of metadata (made for writing, see PrepareMetadata) but the
// ICC profile: EXIF, XMP (with extension parts when the packet needs more than one marker) and
// Photoshop resources. A block too large for its marker is not written.
struct JpegMarker {
    int code;
    std::vector<std::uint8_t> bytes;
};
std::vector<JpegMarker> MetadataMarkers(const PictureMetadata& metadata);

// Writes markers and the profile icc (when not empty) between jpeg_start_compress and the first
// row. Holds nothing with a destructor: library errors longjmp through it.
void WriteJpegMarkers(jpeg_compress_struct& info, const std::vector<JpegMarker>& markers,
                      const std::vector<std::uint8_t>& icc);

}  // namespace velinor::imageio

// Feeds arbitrary bytes to the metadata reading path. The first byte chooses the way in: a JPEG
// file, a PNG file, or a bare EXIF, XMP or Photoshop block; whatever is read is then made ready
// for writing and written as JPEG markers, as a save does. Nothing may crash, and a block that
// survives reading must survive preparing.
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "imageio/JpegDecoder.h"
#include "imageio/JpegMetadata.h"
#include "imageio/MetadataBlocks.h"
#include "imageio/PngDecoder.h"

namespace {

using velinor::imageio::PictureMetadata;

void Prepare(const PictureMetadata& read) {
    if (read.orientation < 1 || read.orientation > 8) std::abort();
    velinor::imageio::MetadataChoices choices;
    for (const auto policy : {velinor::imageio::MetadataPolicy::Keep, velinor::imageio::MetadataPolicy::StripGps}) {
        choices.policy = policy;
        const PictureMetadata written = velinor::imageio::PrepareMetadata(read, choices, 40, 30);
        (void)velinor::imageio::MetadataMarkers(written);
    }
    (void)velinor::imageio::SummariseMetadata(read);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const auto bytes = velinor::fuzz::Bytes(data + 1, size - 1);
    PictureMetadata metadata;
    switch (data[0] % 5) {
        case 0:
            velinor::fuzz::CheckPicture(velinor::imageio::DecodeJpeg(bytes, velinor::fuzz::kFuzzLimits, &metadata));
            break;
        case 1:
            velinor::fuzz::CheckPicture(velinor::imageio::DecodePng(bytes, velinor::fuzz::kFuzzLimits, &metadata));
            break;
        case 2:
            metadata.exif.assign(bytes.begin(), bytes.end());
            velinor::imageio::VetMetadata(metadata, {});
            break;
        case 3:
            velinor::imageio::VetMetadata(metadata, std::string(bytes.begin(), bytes.end()));
            break;
        default:
            metadata.iptc.assign(bytes.begin(), bytes.end());
            velinor::imageio::VetMetadata(metadata, {});
            break;
    }
    Prepare(metadata);
    return 0;
}

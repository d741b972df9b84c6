#include "imageio/Writer.h"

#include <dirent.h>

#include <array>
#include <optional>

#include "imageio/AtomicFile.h"
#include "imageio/BgrRows.h"
#include "imageio/BmpWriter.h"
#include "imageio/JpegWriter.h"
#include "imageio/MetadataBlocks.h"
#include "imageio/PngWriter.h"

namespace velinor::imageio {
namespace {

using WriteOperation = bool (*)(std::FILE* file, const BgrRows& rows, int quality, const PictureMetadata* metadata);

struct EncoderEntry {
    std::uint32_t code;
    WriteOperation write;
};

bool WritePngIgnoringQuality(std::FILE* file, const BgrRows& rows, int, const PictureMetadata* metadata) {
    return WritePng(file, rows, metadata);
}

// Looked up in order, first equal code wins. BMP is not in the table: SavePicture writes it
// itself.
constexpr std::array<EncoderEntry, 2> kEncoders{{
    {kEncoderJpeg, WriteJpeg},
    {kEncoderPng, WritePngIgnoringQuality},
}};

WriteOperation FindEncoder(std::uint32_t code) {
    if (code == kEncoderBmp) {
        return [](std::FILE* file, const BgrRows& rows, int, const PictureMetadata*) { return WriteBmp(file, rows); };
    }
    for (const EncoderEntry& entry : kEncoders) {
        if (entry.code == code) return entry.write;
    }
    return nullptr;
}

}  // namespace

int SavePicture(const render::RasterImage* image, const std::string& path, std::uint32_t encoder, int quality,
                const PictureMetadata* metadata, const MetadataChoices& choices, const OutputGuard* guard) {
    if (image == nullptr || path.empty()) return 0;
    const WriteOperation write = FindEncoder(encoder);
    if (write == nullptr) return 0;
    if (!BgrRows::Valid(*image)) return 0;
    const BgrRows rows(*image);
    // Made in memory before the file is opened: the metadata goes in with the picture or not at all.
    std::optional<PictureMetadata> written;
    if (metadata != nullptr && encoder != kEncoderBmp) {
        written = PrepareMetadata(*metadata, choices, image->width, image->height);
    }

    AtomicFile file(path, guard != nullptr ? AtomicFile::Links::Refuse : AtomicFile::Links::Follow);
    if (!file.IsOpen()) return 0;
    // The temporary file goes with `file` on failure.
    if (!write(file.Stream(), rows, quality, written ? &*written : nullptr)) return 0;
    return file.Commit(guard) ? 1 : 0;
}

int SavePicture(const render::ImageRegistry& images, int number, const std::string& path, std::uint32_t encoder,
                int quality, const PictureMetadata* metadata, const MetadataChoices& choices, const OutputGuard* guard) {
    return SavePicture(images.Find(number), path, encoder, quality, metadata, choices, guard);
}

int FileExistsInFolder(const std::string& name, const std::string& folder) {
    if (folder.empty()) return 0;
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) return 0;
    int found = 0;
    while (const dirent* entry = ::readdir(listing)) {
        if (name == entry->d_name) found = 1;
    }
    ::closedir(listing);
    return found;
}

}  // namespace velinor::imageio

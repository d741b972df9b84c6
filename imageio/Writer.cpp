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

// Writes rows into a temporary file beside path, not yet finished; null when it could not be written.
std::unique_ptr<AtomicFile> WriteRowsToTemporary(const BgrRows& rows, const std::string& path, std::uint32_t encoder,
                                                 int quality, const PictureMetadata* metadata,
                                                 const MetadataChoices& choices, AtomicFile::Links links) {
    if (path.empty() || !render::ValidImageSize(rows.Width(), rows.Height())) return nullptr;
    const WriteOperation write = FindEncoder(encoder);
    if (write == nullptr) return nullptr;
    // Only the JPEG writer waits for rows still being made.
    if (rows.Gate() != nullptr && encoder != kEncoderJpeg) return nullptr;
    // Made in memory before the file is opened: the metadata goes in with the picture or not at all.
    std::optional<PictureMetadata> written;
    if (metadata != nullptr && encoder != kEncoderBmp) {
        written = PrepareMetadata(*metadata, choices, rows.Width(), rows.Height());
    }

    auto file = std::make_unique<AtomicFile>(path, links);
    if (!file->IsOpen()) return nullptr;
    // The temporary file goes with `file` on failure.
    if (!write(file->Stream(), rows, quality, written ? &*written : nullptr)) return nullptr;
    return file;
}

std::unique_ptr<AtomicFile> WriteToTemporary(const render::RasterImage* image, const std::string& path,
                                             std::uint32_t encoder, int quality, const PictureMetadata* metadata,
                                             const MetadataChoices& choices, AtomicFile::Links links) {
    if (image == nullptr || !BgrRows::Valid(*image)) return nullptr;
    return WriteRowsToTemporary(BgrRows(*image), path, encoder, quality, metadata, choices, links);
}

}  // namespace

int SavePicture(const render::RasterImage* image, const std::string& path, std::uint32_t encoder, int quality,
                const PictureMetadata* metadata, const MetadataChoices& choices, const OutputGuard* guard) {
    const std::unique_ptr<AtomicFile> file =
        WriteToTemporary(image, path, encoder, quality, metadata, choices,
                         guard != nullptr ? AtomicFile::Links::Refuse : AtomicFile::Links::Follow);
    return file && file->Commit(guard) ? 1 : 0;
}

std::unique_ptr<AtomicFile> WritePictureAside(const render::RasterImage* image, const std::string& path,
                                              std::uint32_t encoder, int quality, const PictureMetadata* metadata,
                                              const MetadataChoices& choices) {
    return FinishedAside(WriteToTemporary(image, path, encoder, quality, metadata, choices, AtomicFile::Links::Refuse));
}

std::unique_ptr<AtomicFile> WriteRowsAside(const BgrRows& rows, const std::string& path, std::uint32_t encoder,
                                           int quality, const PictureMetadata* metadata,
                                           const MetadataChoices& choices) {
    return FinishedAside(WriteRowsToTemporary(rows, path, encoder, quality, metadata, choices, AtomicFile::Links::Refuse));
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

#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "imageio/AtomicFile.h"
#include "imageio/BgrRows.h"
#include "imageio/OutputGuard.h"
#include "imageio/PictureMetadata.h"
#include "render/ImageRegistry.h"
#include "render/RasterImage.h"

namespace velinor::imageio {

// Writer codes: the four little-endian bytes of the code spell the format's name.
constexpr std::uint32_t kEncoderBmp = 0;
constexpr std::uint32_t kEncoderJpeg = 'J' | ('P' << 8) | ('E' << 16) | (static_cast<std::uint32_t>('G') << 24);
constexpr std::uint32_t kEncoderPng = 'P' | ('N' << 8) | ('G' << 16);
constexpr int kDefaultJpegQuality = 7;

// Writes the image as 24-bit BMP, JPEG (quality 0..10, clamped) or PNG. Returns 1 on success,
// 0 on failure (no image, empty path, unknown encoder, I/O or library error). The file is
// written beside its destination and renamed into place only when complete. A JPEG or PNG
// carries the metadata of the picture it was made from, when given, as choices say and kept
// true to the picture written (see PrepareMetadata); a BMP carries none.
// With a guard (a run writing many outputs) a symbolic link at path is never written through,
// and the file is put in place only when the guard allows path at that moment.
int SavePicture(const render::RasterImage* image, const std::string& path, std::uint32_t encoder,
                int quality = kDefaultJpegQuality, const PictureMetadata* metadata = nullptr,
                const MetadataChoices& choices = {}, const OutputGuard* guard = nullptr);
int SavePicture(const render::ImageRegistry& images, int number, const std::string& path,
                std::uint32_t encoder, int quality = kDefaultJpegQuality, const PictureMetadata* metadata = nullptr,
                const MetadataChoices& choices = {}, const OutputGuard* guard = nullptr);

// Writes the image as SavePicture does, under a temporary name beside path, and leaves it there
// finished for the caller to put in place (AtomicFile::Commit) or throw away: a run that works
// ahead commits each picture only in its turn. A symbolic link at path is never written through,
// and neither is a device (nothing may reach path before Commit). Null when it could not be
// written.
std::unique_ptr<AtomicFile> WritePictureAside(const render::RasterImage* image, const std::string& path,
                                              std::uint32_t encoder, int quality = kDefaultJpegQuality,
                                              const PictureMetadata* metadata = nullptr,
                                              const MetadataChoices& choices = {});

// The same for rows that need not be a whole picture yet: a JPEG writer codes them as a gate
// lets it (see RowGate), while the rest are still being made; BMP and PNG take only rows that
// are all there.
std::unique_ptr<AtomicFile> WriteRowsAside(const BgrRows& rows, const std::string& path, std::uint32_t encoder,
                                           int quality = kDefaultJpegQuality, const PictureMetadata* metadata = nullptr,
                                           const MetadataChoices& choices = {});

// 1 when folder holds an entry (file or sub-folder) named exactly name, else 0.
int FileExistsInFolder(const std::string& name, const std::string& folder);

}  // namespace velinor::imageio

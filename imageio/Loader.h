#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imageio/DecodeLimits.h"
#include "imageio/LoadFailure.h"
#include "imageio/PictureMetadata.h"
#include "imageio/RowWatcher.h"
#include "render/ImageRegistry.h"
#include "render/RasterImage.h"

namespace velinor::imageio {

// A decoded picture, or why there is none.
struct LoadResult {
    std::optional<render::RasterImage> image;
    LoadFailure failure;
};

// Decodes a picture file recognised by its content: "BM" -> BMP; else ICO (an icon image with
// mask); else JPEG, PNG, TGA in that order. Never throws for bad input. The file's head is
// judged before the rest is read (see JudgeHead), and a JPEG file is decoded as it is read
// rather than held whole; a watcher sees its rows as they are decoded when they come upright.
// A JPEG's or PNG's metadata goes to metadata when it is given (emptied first). A picture beyond
// limits (the process's pixel limit unless given) is refused before its pixels are allocated.
LoadResult DecodePictureFile(const std::string& path, RowWatcher* watcher = nullptr,
                             PictureMetadata* metadata = nullptr, const DecodeLimits& limits = {});

// The same decoders on bytes already in memory (ICO data takes the first image of its directory).
std::optional<render::RasterImage> DecodePictureMemory(std::span<const std::uint8_t> bytes);

// Frees number, decodes path into it and makes it current. Null when no route produced a picture.
render::ImageHandle LoadPicture(render::ImageRegistry& images, int number, const std::string& path);
// The same, saying in failure why there is no picture.
render::ImageHandle LoadPicture(render::ImageRegistry& images, int number, const std::string& path,
                                LoadFailure& failure, PictureMetadata* metadata = nullptr);

// Frees number, decodes a file image held in memory into it and makes it current.
render::ImageHandle ImageFromMemory(render::ImageRegistry& images, int number,
                                    std::span<const std::uint8_t> bytes);

}  // namespace velinor::imageio

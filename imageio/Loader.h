#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imageio/FileBytes.h"
#include "render/ImageRegistry.h"
#include "render/RasterImage.h"

namespace velinor::imageio {


// Decodes a picture file recognised by its content: "BM" -> BMP; else ICO (an icon image with
// mask); else JPEG, PNG, TGA in that order. Nothing on failure; never throws for bad input.
std::optional<render::RasterImage> DecodePictureFile(const std::string& path);

// The same decoders on bytes already in memory (ICO data takes the first image of its directory).
std::optional<render::RasterImage> DecodePictureMemory(std::span<const std::uint8_t> bytes);

// Frees number, decodes path into it and makes it current. Null when no route produced a picture.
render::ImageHandle LoadPicture(render::ImageRegistry& images, int number, const std::string& path);

// Frees number, decodes a file image held in memory into it and makes it current.
render::ImageHandle ImageFromMemory(render::ImageRegistry& images, int number,
                                    std::span<const std::uint8_t> bytes);

}  // namespace velinor::imageio

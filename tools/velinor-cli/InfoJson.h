#pragma once

#include <string>

#include "imageio/PictureMetadata.h"
#include "render/RasterImage.h"

namespace velinor::tools {

// text as a JSON string, quotes included (bytes that are not UTF-8 become U+FFFD).
std::string JsonString(const std::string& text);

// One JSON object (and a line end) about a picture read from path: its size, format, EXIF
// orientation, colour profile and the main camera fields, the strings escaped as JSON wants
// (bytes that are not UTF-8 become U+FFFD) and null where the picture does not say.
std::string InfoJson(const std::string& path, const render::RasterImage& picture,
                     const imageio::PictureMetadata& metadata);

}  // namespace velinor::tools

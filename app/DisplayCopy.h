#pragma once

#include <cstdint>
#include <span>

#include "render/RasterImage.h"

namespace velinor::app {

// Turns a copy made only to be shown (a preview, the opened picture's shown copy, a thumbnail)
// into sRGB from the colour profile its picture is tagged with, so that the window shows a tagged
// photo in its own colours. An empty or unusable profile, or an sRGB one, leaves the copy as it
// is. Never call it on a picture that is saved: a saved picture keeps its pixels and its profile.
void ShowInSrgb(render::RasterImage& shownCopy, std::span<const std::uint8_t> iccProfile);

}  // namespace velinor::app

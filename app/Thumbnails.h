#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "app/ProgramState.h"

// The thumbnail the batch tab shows of the file picked in the explorer or the batch list.
namespace velinor::app {

// Shrinks image number to thumbnail size (kThumbnailFit), turns it into sRGB from iccProfile (the
// profile of its picture; see ShowInSrgb) and shows it in ImgThumb, centred in its 160 x 140 box.
void ThumbnailFit(ProgramState& state, int number, std::span<const std::uint8_t> iccProfile);

// Loads path into number and fits it into the thumbnail box; a file that does not load leaves
// the thumbnail as it was (false).
bool ShowThumbnail(ProgramState& state, int number, const std::string& path);

}  // namespace velinor::app

#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "app/ProgramState.h"

namespace velinor::app {

// Scans folder recursively, depth first, and appends the full path of every file found to
// ScanFiles. Entries of a folder are taken in name order; links to folders are not followed,
// so a link that points back up the tree cannot make the scan endless.
void ScanFolder(ProgramState& state, const std::string& folder);

// Shrinks image number to thumbnail size, turns it into sRGB from iccProfile (the profile of its
// picture; see ShowInSrgb) and shows it in ImgThumb, centred in its 160 x 140 box.
void ThumbnailFit(ProgramState& state, int number, std::span<const std::uint8_t> iccProfile);

// The size of a width x height picture as the start argument shows it: pictures larger than
// 220 x 200 become 180 pixels high whatever their aspect.
struct FittedSize {
    int width = 0;
    int height = 0;
};
FittedSize StartPreviewSize(int width, int height);
FittedSize ThumbnailSize(int width, int height);

}  // namespace velinor::app

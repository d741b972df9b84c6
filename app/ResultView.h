#pragma once

#include <optional>

#include "app/ProgramState.h"

// The last result at full size: the preview is shrunk to 180 pixels or so, where a small mark on
// a large photo cannot be checked before saving.
namespace velinor::app {

// The smallest rectangle that holds every pixel where the two pictures differ (the colour's
// low 24 bits); none when they are alike or not of one size.
std::optional<platform::Rect> DifferenceBounds(const render::RasterImage& a, const render::RasterImage& b);

// Shows PicResult at 100 % in the platform's picture view, centred on what the last mark
// changed in the opened picture (the picture's centre when that cannot be told). Nothing
// without a result.
void ShowResultFullSize(ProgramState& state);

}  // namespace velinor::app

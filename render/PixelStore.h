#pragma once

#include <cstddef>
#include <vector>

#include "render/Color.h"

namespace velinor::render {

// Reserves room for count pixels. A photo's pixels take tens of megabytes and every render
// reloads the picture, so for large stores the kernel is asked to back the memory with huge
// pages: a 12-megapixel picture then costs a few dozen page faults instead of twelve thousand,
// which otherwise take longer than decoding the JPEG itself. Only a hint; nothing depends on it.
void ReservePixels(std::vector<Color>& pixels, std::size_t count);

// A store of count pixels of one colour, reserved as above.
std::vector<Color> MakePixels(std::size_t count, Color fill);

// An exact copy of pixels, reserved as above.
std::vector<Color> CopyPixels(const std::vector<Color>& pixels);

}  // namespace velinor::render

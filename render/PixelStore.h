#pragma once

#include <cstddef>

#include "render/Pixels.h"

namespace velinor::render {

// Reserves room for count pixels.
void ReservePixels(Pixels& pixels, std::size_t count);

// A store of count pixels of one colour.
Pixels MakePixels(std::size_t count, Color fill);

// An exact copy of pixels.
Pixels CopyPixels(const Pixels& pixels);

}  // namespace velinor::render

#pragma once

#include "app/ProgramState.h"

namespace velinor::app {

// Presets SpinTexWidth to the band width a texture category is named after ("Holz64x64");
// any other text leaves it alone.
void SyncTextureWidth(ProgramState& state);

}  // namespace velinor::app

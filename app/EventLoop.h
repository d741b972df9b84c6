#pragma once

#include "app/ProgramState.h"

namespace velinor::app {

// Presets SpinTexWidth to the band width a texture category is named after ("Holz64x64");
// any other text leaves it alone.
void SyncTextureWidth(ProgramState& state);

// Handles one event as the loop does. False when it was the close request.
bool HandleEvent(ProgramState& state, const platform::Event& event);

// Waits for and handles events until the close request; then shuts down. Returns the exit code.
int RunEventLoop(ProgramState& state);

}  // namespace velinor::app

#pragma once

#include "app/ProgramState.h"

namespace velinor::app {

// Handles one event as the loop does. False when it was the close request.
bool HandleEvent(ProgramState& state, const platform::Event& event);

// Waits for and handles events until the close request; then shuts down. Returns the exit code.
int RunEventLoop(ProgramState& state);

}  // namespace velinor::app

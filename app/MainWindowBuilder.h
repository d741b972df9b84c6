#pragma once

#include "app/ProgramState.h"

namespace velinor::app {

// Builds the main window from the layout table: window, toolbar, every control, the texture
// tree, initial states, status bar. Hidden when the window is to fade in.
void BuildMainWindow(ProgramState& state);

}  // namespace velinor::app

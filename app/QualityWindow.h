#pragma once

#include "app/ProgramState.h"

namespace velinor::app {

// The quality every opening of the quality window starts at.
inline constexpr int kInitialJpegQuality = 4;

// Asks for the JPEG quality in a small modal window (a track bar 0..10 starting at 4 and an OK
// button) while the main window is disabled. Only OK leaves; closing the window through the
// window system counts as OK. Returns the chosen quality and stores it in JpegQuality. When the
// window cannot be opened the starting value is returned without waiting.
int AskJpegQuality(ProgramState& state);

}  // namespace velinor::app

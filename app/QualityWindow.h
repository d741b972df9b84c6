#pragma once

#include "app/ProgramState.h"

namespace velinor::app {

// The quality every opening of the quality window starts at.
inline constexpr int kInitialJpegQuality = 4;

// Asks for the JPEG quality in a small modal window (a track bar 0..10 starting at 4 and an OK
// button) while the main window is disabled. Only OK leaves; closing the window through the
// window system counts as OK. Returns the chosen quality and stores it in JpegQuality. When the
// window cannot be opened the starting value is returned without waiting.
// With offerKeep (a JPEG written as a JPEG) the window also offers to keep the picture's own
// quality, ticked as it was last left; the choice goes to KeepJpegQuality (false when not offered).
int AskJpegQuality(ProgramState& state, bool offerKeep = false);

}  // namespace velinor::app

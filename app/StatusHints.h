#pragma once

#include "app/ProgramState.h"

// The hint field 0 of the status bar shows.
namespace velinor::app {

// Sets field 0 of the status bar to the hint for the tab shown, the mode and the control
// under the pointer (or to the empty text), on every call.
void UpdateStatusHint(ProgramState& state);

// True when the pointer lies in the control's outer screen rectangle: left and top edges
// inside, right and bottom edges outside. Visibility and overlap are not considered.
bool PointerOverControl(const platform::Platform& platform, platform::ControlId id);

}  // namespace velinor::app

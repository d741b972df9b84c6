#pragma once

#include "app/ProgramState.h"
#include "marks/Anchor.h"

// Reading the mark settings off the window: check boxes, options and the anchor groups.
namespace velinor::app {

// True when the check box or option is set (state 1).
bool Checked(const ProgramState& state, platform::ControlId id);

// The anchor of the first checked option of a group of seven consecutive options starting at
// first; the centre when none is checked.
marks::Anchor CheckedAnchor(const ProgramState& state, platform::ControlId first);

}  // namespace velinor::app

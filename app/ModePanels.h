#pragma once

#include "app/ProgramState.h"

namespace velinor::app {

// Shows the settings panel of the chosen mark (text, logo, or frame with its kind) and hides
// the others. Reads the option and combo states each time; keeps no state.
void ApplyModePanels(ProgramState& state);

}  // namespace velinor::app

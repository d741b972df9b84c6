#pragma once

#include <string>

#include "app/ProgramState.h"
#include "render/Color.h"

namespace velinor::app {

// The modal colour picker: shows the picture of a GIF or ICO file (decoded into image 10000) in
// a 300 x 300 window titled with text 101 while the main window is disabled, and returns the
// colour of the picture pixel the user clicks with the pipette pointer, or 0 (black) when the
// window is closed without a click or cannot be opened.
render::Color PickColour(ProgramState& state, const std::string& path);

}  // namespace velinor::app

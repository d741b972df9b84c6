#pragma once

#include <string>

#include "app/ProgramState.h"
#include "plugins/PluginApi.h"

namespace velinor::app {

// The picture library that must be present before the window is built (its file name in the
// library folder).
inline constexpr const char* kRequiredLibrary = VELINOR_IMAGE323_NAME;

// The first command-line parameter with surrounding double quotes removed; empty when none.
std::string StartArgumentOf(const std::vector<std::string>& arguments);

// True on the systems where the main window fades in and out: NT 5.0, 5.1 and 5.2.
bool FadingSystem(platform::OsVersion version);

// Runs the start-up sequence up to the open, shown main window. False when the program must
// end at once (the language file or the picture library is missing or damaged; the user has
// been told).
bool StartUp(ProgramState& state);

// Fades the window out where it faded in; returns the exit code. Nothing is saved.
int ShutDown(ProgramState& state);

}  // namespace velinor::app

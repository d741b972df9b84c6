#pragma once

#include <string>

#include "app/ProgramState.h"

// The window a batch run shows while it works: a log of the pictures done and a cancel button.
namespace velinor::app {

using platform::kProgressWindow;

// Opens the window at the main window's recorded position, owned by it, with a title bar that
// has no system menu, so the only way out during a run is the cancel button.
void OpenProgressWindow(ProgramState& state);

// Appends line to the log: the whole text is read, extended and set again, which also scrolls
// the log to its end.
void AppendToBatchLog(ProgramState& state, const std::string& line);

// Closes the window; its log goes with it.
void CloseProgressWindow(ProgramState& state);

}  // namespace velinor::app

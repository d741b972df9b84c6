#pragma once

#include <string>

#include "app/ProgramState.h"

namespace velinor::app {

// Lets start-up install the fault catcher in this process. The programs call it first thing in
// main. Tests that run the program inside the test process leave it off: a fault there must
// fail the test, not end it with the report's exit code 0.
void CatchFaultsInThisProcess();

// Stops catching faults for this program (at the end of the run, or when the program's state
// goes away). Does nothing when another program instance installed the handler.
void RemoveRuntimeErrorHandler(ProgramState& state);

// Shows the run-time error report, one box titled "Fehler", and closes the main window as on
// close but without the fade-out. The caller ends the process (exit code 0).
void ShowRuntimeErrorReport(ProgramState& state, const std::string& report);

}  // namespace velinor::app

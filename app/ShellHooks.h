#pragma once

#include "app/ProgramState.h"

// Places in start-up and the loop where the start argument, key handling and fault reporting
// join in.
namespace velinor::app {

// Takes the start argument: a picture goes into both previews, a folder's pictures onto the
// batch list; with none, no picture is loaded. (StartArgument.cpp)
void HandleStartArgument(ProgramState& state);

// Key events: select-all in the file list and the batch-tab thumbnails. (KeyEvents.cpp)
void HandleKeyEvent(ProgramState& state);

// Installs the handler that reports a processor fault and ends the program.
void InstallRuntimeErrorHandler(ProgramState& state);

}  // namespace velinor::app

#include "app/ShellHooks.h"

namespace velinor::app {

void HandleStartArgument(ProgramState& state) {
    if (state.shell.StartArg.empty()) state.shell.PictureLoaded = false;
}

void HandleKeyEvent(ProgramState&) {}

}  // namespace velinor::app

#include "app/ShellHooks.h"

namespace velinor::app {

void InstallRuntimeErrorHandler(ProgramState&) {}

}  // namespace velinor::app

#include "app/RuntimeErrorHandler.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/MainWindowLayout.h"
#include "app/ShellHooks.h"
#include "runtime/ErrorReport.h"
#include "runtime/FaultCatcher.h"

namespace velinor::app {

namespace {

// Faults are caught process-wide; this is the program they are reported for.
ProgramState* gReportingProgram = nullptr;
bool gCatchFaults = false;

// Where execution continues after a processor fault, outside the signal handler: report the
// fault and end the program. It does not return to the code that faulted.
void OnRuntimeError() {
    if (gReportingProgram != nullptr) ShowRuntimeErrorReport(*gReportingProgram, runtime::FaultReport());
    runtime::UninstallFaultCatcher();
    std::cout.flush();
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

}  // namespace

void CatchFaultsInThisProcess() { gCatchFaults = true; }

void InstallRuntimeErrorHandler(ProgramState& state) {
    if (!gCatchFaults || !runtime::InstallFaultCatcher()) return;
    gReportingProgram = &state;
    runtime::SetLabelTarget(OnRuntimeError);
}

void RemoveRuntimeErrorHandler(ProgramState& state) {
    if (gReportingProgram != &state) return;
    gReportingProgram = nullptr;
    runtime::UninstallFaultCatcher();
}

void ShowRuntimeErrorReport(ProgramState& state, const std::string& report) {
    platform::Platform& p = state.platform;
    p.MessageBox(runtime::kErrorReportCaption, report, platform::MessageIcon::None, platform::MessageButtons::Ok);
    if (p.WindowExists(kMainWindow)) p.CloseWindow(kMainWindow);
}

}  // namespace velinor::app

#include "app/ProgressWindow.h"

#include "app/SecondaryWindowLayout.h"

namespace velinor::app {

using platform::ControlId;
using platform::kMainWindow;

void OpenProgressWindow(ProgramState& state) {
    const WindowLayout& layout = ProgressWindowLayout();
    OpenLayoutWindow(state, layout);
    CreateLayoutControls(state, layout);
}

void AppendToBatchLog(ProgramState& state, const std::string& line) {
    platform::Platform& p = state.platform;
    p.SetText(ControlId::TxtBatchLog, p.GetText(ControlId::TxtBatchLog) + line);
}

void CloseProgressWindow(ProgramState& state) { state.platform.CloseWindow(kProgressWindow); }

}  // namespace velinor::app

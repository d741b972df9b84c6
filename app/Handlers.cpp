#include "app/Handlers.h"

#include <string>

#include "app/MainWindowLayout.h"
#include "app/ResultView.h"
#include "app/Settings.h"

namespace velinor::app::handlers {

using platform::ControlId;

void DoNothing(ProgramState&, ControlId) {}

void ShowResultFullSize(ProgramState& state, ControlId) {
    if (state.shell.EventKind == platform::kKindDoubleClick) app::ShowResultFullSize(state);
}

void ShowComboFolderInExplorer(ProgramState& state, ControlId) {
    state.platform.SetText(ControlId::LstExplorer, state.platform.GetText(ControlId::CmbExplorer));
}

void ShowExplorerFolderInCombo(ProgramState& state, ControlId) {
    state.platform.SetText(ControlId::CmbExplorer, state.platform.GetText(ControlId::LstExplorer));
}

void EchoSpinValue(ProgramState& state, ControlId id) {
    state.platform.SetText(id, std::to_string(state.platform.GetState(id)));
    state.platform.PollEvent();
}

void OpenWebsite(ProgramState& state, ControlId) { state.platform.OpenUrl(kWebsite); }

void ChooseDefaultDir(ProgramState& state, ControlId) { app::ChooseDefaultDir(state); }

void SaveSettings(ProgramState& state, ControlId) { app::SaveSettings(state); }

}  // namespace velinor::app::handlers

#include "app/Handlers.h"

#include <string>

#include "app/MainWindowLayout.h"
#include "app/Settings.h"

namespace velinor::app::handlers {

using platform::ControlId;

void DoNothing(ProgramState&, ControlId) {}

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

void ChooseDefaultFolder(ProgramState& state, ControlId) { ChooseDefaultDir(state); }

void StoreSettings(ProgramState& state, ControlId) { SaveSettings(state); }

// Not built yet: each does nothing until its code arrives.
void OpenPicture(ProgramState&, ControlId) {}
void SaveResult(ProgramState&, ControlId) {}
void ChooseCircleColour(ProgramState&, ControlId) {}
void DrawCircleFrame(ProgramState&, ControlId) {}
void DrawTextureFrame(ProgramState&, ControlId) {}
void RedrawLogoAlpha(ProgramState&, ControlId) {}
void DrawLogoAtPosition(ProgramState&, ControlId) {}
void ChooseLogoFile(ProgramState&, ControlId) {}
void ChooseMarkFont(ProgramState&, ControlId) {}
void ApplyTextMark(ProgramState&, ControlId) {}
void AddSelectedFiles(ProgramState&, ControlId) {}
void AddAllFiles(ProgramState&, ControlId) {}
void SortBatchList(ProgramState&, ControlId) {}
void RemoveBatchEntry(ProgramState&, ControlId) {}
void ClearBatchList(ProgramState&, ControlId) {}
void MoveBatchEntryDown(ProgramState&, ControlId) {}
void MoveBatchEntryUp(ProgramState&, ControlId) {}
void ChooseBatchFont(ProgramState&, ControlId) {}
void ChooseBatchLogoFile(ProgramState&, ControlId) {}
void ChooseOutputFolder(ProgramState&, ControlId) {}
void RunBatch(ProgramState&, ControlId) {}

}  // namespace velinor::app::handlers

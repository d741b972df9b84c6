#include "app/Handlers.h"

#include "app/BatchList.h"
#include "app/BatchRun.h"
#include "app/TextKeys.h"

// The batch tab: its list, its choices and the run.
namespace velinor::app::handlers {

using platform::ControlId;

namespace {


}  // namespace

void AddSelectedFiles(ProgramState& state, ControlId) { AddExplorerSelection(state); }

void AddAllFiles(ProgramState& state, ControlId) {
    state.platform.SelectAllItems(ControlId::LstExplorer);
    state.platform.SetFocus(ControlId::LstExplorer);
    AddExplorerSelection(state);
}

void SortBatchList(ProgramState& state, ControlId) { SortEntriesDescending(state); }
void RemoveBatchEntry(ProgramState& state, ControlId) { RemoveSelectedEntry(state); }
void ClearBatchList(ProgramState& state, ControlId) { state.platform.ClearItems(ControlId::LstBatch); }
void MoveBatchEntryDown(ProgramState& state, ControlId) { MoveSelectedEntry(state, +1); }
void MoveBatchEntryUp(ProgramState& state, ControlId) { MoveSelectedEntry(state, -1); }

// The folder is stored whatever the answer; a cancel leaves the field and the start button as
// they were, so the field may then show a folder the runs no longer use.
void ChooseOutputFolder(ProgramState& state, ControlId) {
    platform::Platform& p = state.platform;
    state.batch.outputDir = p.FolderRequester(state.texts[kTextOutputFolder], "*.*");
    if (state.batch.outputDir.empty()) return;
    p.EnableControl(ControlId::BtnBatchStart, true);
    p.SetText(ControlId::TxtOutputDir, state.batch.outputDir);
}

void RunBatch(ProgramState& state, ControlId) { app::RunBatch(state); }

}  // namespace velinor::app::handlers

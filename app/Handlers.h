#pragma once

#include "app/ProgramState.h"

// The handlers of control events, one per action, each named as its entry of the dispatch
// table. Those of the shell are defined in Handlers.cpp; the others beside the picture, mark
// and batch code they call.
namespace velinor::app::handlers {

void DoNothing(ProgramState& state, platform::ControlId id);
// ImgPreview: a double click shows the last result at full size.
void ShowResultFullSize(ProgramState& state, platform::ControlId id);

// Folder combo and file list of the batch tab follow each other.
void ShowComboFolderInExplorer(ProgramState& state, platform::ControlId id);
void ShowExplorerFolderInCombo(ProgramState& state, platform::ControlId id);
// Spin fields show their value as text; the event the spin change queued behind it is dropped.
void EchoSpinValue(ProgramState& state, platform::ControlId id);
void OpenWebsite(ProgramState& state, platform::ControlId id);
void ChooseDefaultDir(ProgramState& state, platform::ControlId id);
void SaveSettings(ProgramState& state, platform::ControlId id);

// Picture input and output
void OpenPicture(ProgramState& state, platform::ControlId id);
void SaveResult(ProgramState& state, platform::ControlId id);
// Frames
void ChooseCircleColour(ProgramState& state, platform::ControlId id);
void DrawCircleFrame(ProgramState& state, platform::ControlId id);
void DrawTextureFrame(ProgramState& state, platform::ControlId id);
// Logo
void RedrawLogoAlpha(ProgramState& state, platform::ControlId id);
void DrawLogoAtPosition(ProgramState& state, platform::ControlId id);
void ChooseLogoFile(ProgramState& state, platform::ControlId id);
// Text mark
void ChooseMarkFont(ProgramState& state, platform::ControlId id);
void ApplyTextMark(ProgramState& state, platform::ControlId id);
// Batch
void AddSelectedFiles(ProgramState& state, platform::ControlId id);
void AddAllFiles(ProgramState& state, platform::ControlId id);
void SortBatchList(ProgramState& state, platform::ControlId id);
void RemoveBatchEntry(ProgramState& state, platform::ControlId id);
void ClearBatchList(ProgramState& state, platform::ControlId id);
void MoveBatchEntryDown(ProgramState& state, platform::ControlId id);
void MoveBatchEntryUp(ProgramState& state, platform::ControlId id);
void ChooseBatchFont(ProgramState& state, platform::ControlId id);
void ChooseBatchLogoFile(ProgramState& state, platform::ControlId id);
void ChooseOutputFolder(ProgramState& state, platform::ControlId id);
void RunBatch(ProgramState& state, platform::ControlId id);

}  // namespace velinor::app::handlers

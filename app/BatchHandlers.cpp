#include "app/Handlers.h"

// The batch tab: its list, its choices and the run.
namespace velinor::app::handlers {

using platform::ControlId;

// Not built yet: each does nothing until its code arrives.
void AddSelectedFiles(ProgramState&, ControlId) {}
void AddAllFiles(ProgramState&, ControlId) {}
void SortBatchList(ProgramState&, ControlId) {}
void RemoveBatchEntry(ProgramState&, ControlId) {}
void ClearBatchList(ProgramState&, ControlId) {}
void MoveBatchEntryDown(ProgramState&, ControlId) {}
void MoveBatchEntryUp(ProgramState&, ControlId) {}
void ChooseOutputFolder(ProgramState&, ControlId) {}
void RunBatch(ProgramState&, ControlId) {}

}  // namespace velinor::app::handlers

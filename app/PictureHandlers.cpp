#include "app/Handlers.h"

// Opening and saving the picture being edited.
namespace velinor::app::handlers {

using platform::ControlId;

// Not built yet: each does nothing until its code arrives.
void OpenPicture(ProgramState&, ControlId) {}
void SaveResult(ProgramState&, ControlId) {}

}  // namespace velinor::app::handlers

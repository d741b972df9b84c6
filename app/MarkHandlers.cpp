#include "app/Handlers.h"

// The marks of the first tab: frames, logo and text.
namespace velinor::app::handlers {

using platform::ControlId;

// Not built yet: each does nothing until its code arrives.
void ChooseCircleColour(ProgramState&, ControlId) {}
void DrawCircleFrame(ProgramState&, ControlId) {}
void DrawTextureFrame(ProgramState&, ControlId) {}
void RedrawLogoAlpha(ProgramState&, ControlId) {}
void DrawLogoAtPosition(ProgramState&, ControlId) {}
void ChooseLogoFile(ProgramState&, ControlId) {}
void ChooseMarkFont(ProgramState&, ControlId) {}
void ApplyTextMark(ProgramState&, ControlId) {}

}  // namespace velinor::app::handlers

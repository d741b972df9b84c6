#include "app/QualityWindow.h"

#include "app/MainWindowLayout.h"
#include "app/ModalLoop.h"
#include "app/SecondaryWindowLayout.h"

namespace velinor::app {

namespace {

using platform::ControlId;

using platform::kQualityWindow;

bool OpenQualityWindow(ProgramState& state) {
    const WindowLayout& layout = QualityWindowLayout();
    if (!OpenLayoutWindow(state, layout)) return false;
    if (!CreateLayoutControls(state, layout)) {
        state.platform.CloseWindow(kQualityWindow);
        return false;
    }
    state.platform.SetState(ControlId::TrkQuality, kInitialJpegQuality);
    return true;
}

}  // namespace

int AskJpegQuality(ProgramState& state) {
    platform::Platform& p = state.platform;
    p.EnableWindow(kMainWindow, false);
    if (!OpenQualityWindow(state)) {
        p.EnableWindow(kMainWindow, true);
        state.shell.JpegQuality = kInitialJpegQuality;
        return kInitialJpegQuality;
    }
    // The window has no close button, but a window system may close it anyway: that ends the
    // wait as OK does.
    RunModalWindow(state, kQualityWindow, [](const platform::Event& event) {
        return event.code == platform::kEventControl && event.control == ControlId::BtnQualityOk;
    });
    int quality = p.ControlExists(ControlId::TrkQuality) ? p.GetState(ControlId::TrkQuality) : kInitialJpegQuality;
    if (quality < 0) quality = 0;
    if (quality > 10) quality = 10;
    state.shell.JpegQuality = quality;
    p.CloseWindow(kQualityWindow);
    p.EnableWindow(kMainWindow, true);
    return quality;
}

}  // namespace velinor::app

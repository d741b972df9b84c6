#include "app/QualityWindow.h"

#include <algorithm>
#include <string>

#include "app/MainWindowLayout.h"
#include "app/ModalLoop.h"
#include "app/SecondaryWindowLayout.h"

namespace velinor::app {

namespace {

using platform::ControlId;

using platform::kQualityWindow;

// "4 → 40": the track bar's value and the library quality a save gives it, which libjpeg
// raises to at least 1.
std::string QualityValueText(int value) {
    return std::to_string(value) + " \xE2\x86\x92 " + std::to_string(std::max(1, std::clamp(value, 0, 10) * 10));
}

void ShowQualityValue(platform::Platform& p) {
    p.SetText(ControlId::LblQualityValue, QualityValueText(p.GetState(ControlId::TrkQuality)));
}

bool OpenQualityWindow(ProgramState& state, bool offerKeep, bool ticked) {
    const WindowLayout& layout = offerKeep ? QualityKeepWindowLayout() : QualityWindowLayout();
    if (!OpenLayoutWindow(state, layout)) return false;
    if (!CreateLayoutControls(state, layout)) {
        state.platform.CloseWindow(kQualityWindow);
        return false;
    }
    state.platform.SetState(ControlId::TrkQuality, kInitialJpegQuality);
    if (offerKeep) state.platform.SetState(ControlId::ChkKeepQuality, ticked ? 1 : 0);
    ShowQualityValue(state.platform);
    return true;
}

}  // namespace

int AskJpegQuality(ProgramState& state, bool offerKeep) {
    platform::Platform& p = state.platform;
    p.EnableWindow(kMainWindow, false);
    const bool keptBefore = state.shell.KeepJpegQuality;
    state.shell.KeepJpegQuality = false;
    if (!OpenQualityWindow(state, offerKeep, keptBefore)) {
        p.EnableWindow(kMainWindow, true);
        state.shell.JpegQuality = kInitialJpegQuality;
        return kInitialJpegQuality;
    }
    // The window has no close button, but a window system may close it anyway: that ends the
    // wait as OK does.
    RunModalWindow(state, kQualityWindow, [&p](const platform::Event& event) {
        if (event.code != platform::kEventControl) return false;
        if (event.control == ControlId::TrkQuality) ShowQualityValue(p);
        return event.control == ControlId::BtnQualityOk;
    });
    int quality = p.ControlExists(ControlId::TrkQuality) ? p.GetState(ControlId::TrkQuality) : kInitialJpegQuality;
    if (quality < 0) quality = 0;
    if (quality > 10) quality = 10;
    state.shell.JpegQuality = quality;
    if (offerKeep) {
        state.shell.KeepJpegQuality =
            p.ControlExists(ControlId::ChkKeepQuality) ? p.GetState(ControlId::ChkKeepQuality) != 0 : keptBefore;
    }
    p.CloseWindow(kQualityWindow);
    p.EnableWindow(kMainWindow, true);
    return quality;
}

}  // namespace velinor::app

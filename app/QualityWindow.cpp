#include "app/QualityWindow.h"

#include <string>

#include "app/MainWindowLayout.h"
#include "app/TextKeys.h"

namespace velinor::app {

namespace {

using platform::ControlId;
using platform::ControlKind;
using platform::kQualityWindow;


platform::ControlSpec Control(ControlId id, ControlKind kind, platform::Rect geometry, std::string text) {
    platform::ControlSpec spec;
    spec.id = id;
    spec.kind = kind;
    spec.parent.window = kQualityWindow;
    spec.geometry = geometry;
    spec.text = std::move(text);
    return spec;
}

bool OpenQualityWindow(ProgramState& state) {
    platform::Platform& p = state.platform;
    platform::WindowSpec window;
    window.number = kQualityWindow;
    window.title = state.texts[kTextJpegQuality];
    window.clientWidth = 250;
    window.clientHeight = 80;
    window.centred = true;
    window.owner = kMainWindow;
    if (!p.OpenWindow(window)) return false;

    platform::ControlSpec track = Control(ControlId::TrkQuality, ControlKind::TrackBar, {66, 30, 115, 15}, "");
    track.minimum = 0;
    track.maximum = 10;
    const bool built =
        p.CreateControl(Control(ControlId::LblQuality, ControlKind::Label, {10, 10, 140, 20},
                                "Jpeg-" + state.texts[kTextQualityWord])) &&
        p.CreateControl(Control(ControlId::LblQualityLow, ControlKind::Label, {9, 30, 55, 20}, state.texts[kTextQualityLow])) &&
        p.CreateControl(track) &&
        p.CreateControl(Control(ControlId::LblQualityHigh, ControlKind::Label, {186, 30, 80, 20}, state.texts[kTextQualityHigh])) &&
        p.CreateControl(Control(ControlId::BtnQualityOk, ControlKind::Button, {105, 45, 40, 20}, "OK"));
    if (!built) {
        p.CloseWindow(kQualityWindow);
        return false;
    }
    p.SetState(ControlId::TrkQuality, kInitialJpegQuality);
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
    for (;;) {
        const platform::Event event = p.WaitEvent();
        if (event.code == platform::kEventControl && event.control == ControlId::BtnQualityOk) break;
        // The window has no close button, but a window system may close it anyway; waiting on
        // for an OK that can no longer come would hang the program.
        if (event.code == platform::kEventClose && event.window == kQualityWindow) break;
        if (!p.WindowExists(kQualityWindow)) break;
    }
    int quality = p.ControlExists(ControlId::TrkQuality) ? p.GetState(ControlId::TrkQuality) : kInitialJpegQuality;
    if (quality < 0) quality = 0;
    if (quality > 10) quality = 10;
    state.shell.JpegQuality = quality;
    p.CloseWindow(kQualityWindow);
    p.EnableWindow(kMainWindow, true);
    return quality;
}

}  // namespace velinor::app

#include "app/ProgressWindow.h"

#include "app/TextKeys.h"

namespace velinor::app {

namespace {

using platform::ControlId;
using platform::kMainWindow;


}  // namespace

void OpenProgressWindow(ProgramState& state) {
    platform::Platform& p = state.platform;
    platform::WindowSpec window;
    window.number = kProgressWindow;
    window.title = state.texts[kTextPictures];
    window.clientWidth = 500;
    window.clientHeight = 250;
    window.centred = false;
    window.x = state.shell.windowPosition.x;
    window.y = state.shell.windowPosition.y;
    window.owner = kMainWindow;
    window.captionOnly = true;
    p.OpenWindow(window);

    platform::ControlSpec log;
    log.id = ControlId::TxtBatchLog;
    log.kind = platform::ControlKind::TextField;
    log.parent.window = kProgressWindow;
    log.geometry = {5, 5, 490, 210};
    log.flags = platform::kFlagMultiLine | platform::kFlagScrollBars;
    p.CreateControl(log);

    platform::ControlSpec cancel;
    cancel.id = ControlId::BtnBatchCancel;
    cancel.kind = platform::ControlKind::Button;
    cancel.parent.window = kProgressWindow;
    cancel.geometry = {200, 220, 100, 20};
    cancel.text = state.texts[kTextCancel];
    p.CreateControl(cancel);
}

void AppendToBatchLog(ProgramState& state, const std::string& line) {
    platform::Platform& p = state.platform;
    p.SetText(ControlId::TxtBatchLog, p.GetText(ControlId::TxtBatchLog) + line);
}

void CloseProgressWindow(ProgramState& state) { state.platform.CloseWindow(kProgressWindow); }

}  // namespace velinor::app

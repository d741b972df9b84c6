#include "app/EventLoop.h"

#include <string>

#include "app/Dispatch.h"
#include "app/ModePanels.h"
#include "app/Settings.h"
#include "app/ShellHooks.h"
#include "app/StartUp.h"
#include "app/StatusHints.h"
#include "app/TexturePresets.h"

namespace velinor::app {

namespace {

using platform::ControlId;

std::string SelectedTreeText(const platform::Platform& p) {
    const int index = p.GetState(ControlId::TreeTextures);
    return index >= 0 ? p.ItemText(ControlId::TreeTextures, index) : std::string();
}

}  // namespace

bool HandleEvent(ProgramState& state, const platform::Event& event) {
    ShellState& shell = state.shell;
    shell.EventCode = event.code;
    shell.EventWindow = event.window;
    // Control and kind keep describing the most recent control event: the key handling and
    // the batch's cancel test ask where the last control event came from.
    if (event.code == platform::kEventControl) {
        shell.EventControl = event.control;
        shell.EventKind = event.kind;
    }

    SyncTextureWidth(state);

    switch (event.code) {
        case platform::kEventDrop:
            // Dropped files are accepted and released; nothing is done with them.
            break;
        case platform::kEventToolbar:
            SwitchLanguage(state, event.toolbarItem);
            break;
        case platform::kEventKey:
            HandleKeyEvent(state);
            break;
        default:
            break;
    }
    if (event.code == platform::kEventControl) {
        DispatchControlEvent(state, event.control);
    } else {
        ApplyModePanels(state);
    }
    UpdateStatusHint(state);
    return event.code != platform::kEventClose;
}

int RunEventLoop(ProgramState& state) {
    for (;;) {
        state.shell.SelectedTexture = SelectedTreeText(state.platform);
        const platform::Event event = state.platform.WaitEvent();
        if (!HandleEvent(state, event)) return ShutDown(state);
    }
}

}  // namespace velinor::app

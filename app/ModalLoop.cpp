#include "app/ModalLoop.h"

namespace velinor::app {

void RunModalWindow(ProgramState& state, int window, const ModalHandler& handle) {
    platform::Platform& p = state.platform;
    for (;;) {
        const platform::Event event = p.WaitEvent();
        if (handle(event)) return;
        if (event.code == platform::kEventClose && event.window == window) return;
        if (!p.WindowExists(window)) return;
    }
}

}  // namespace velinor::app

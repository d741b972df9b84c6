#include "app/BatchPoll.h"

namespace velinor::app {

BatchPollResult PollBetweenPictures(ProgramState& state) {
    const platform::Event event = state.platform.PollEvent();
    if (event.code == platform::kEventNone) return BatchPollResult::Continue;
    if (event.code == platform::kEventControl) {
        state.shell.EventControl = event.control;
        state.shell.EventKind = event.kind;
    }
    return state.shell.EventControl == platform::ControlId::BtnBatchCancel ? BatchPollResult::Cancel
                                                                            : BatchPollResult::Continue;
}

}  // namespace velinor::app

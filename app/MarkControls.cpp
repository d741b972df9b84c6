#include "app/MarkControls.h"

namespace velinor::app {

bool Checked(const ProgramState& state, platform::ControlId id) { return state.platform.GetState(id) == 1; }

marks::Anchor CheckedAnchor(const ProgramState& state, platform::ControlId first) {
    for (int i = 0; i < marks::kAnchorCount; ++i) {
        if (Checked(state, static_cast<platform::ControlId>(static_cast<int>(first) + i))) return marks::AnchorFromIndex(i);
    }
    return marks::Anchor::Centre;
}

}  // namespace velinor::app

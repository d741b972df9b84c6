#include "app/ModePanels.h"

#include <iterator>

#include "app/TextKeys.h"

namespace velinor::app {

namespace {

using platform::ControlId;

// Frame kinds by entry of CmbFrameKind; entries 2 and 3 keep the spare containers usable.
constexpr ControlId kFrameKindBoxes[] = {ControlId::BoxTexture, ControlId::BoxCircles, ControlId::BoxSpare1,
                                         ControlId::BoxSpare2};

bool Checked(const platform::Platform& p, ControlId id) { return p.GetState(id) != 0; }

constexpr ControlId kModeBoxes[] = {ControlId::BoxText, ControlId::BoxLogo, ControlId::BoxFrame};

void ShowOnly(platform::Platform& p, ControlId shown) {
    for (ControlId id : kModeBoxes) p.ShowControl(id, id == shown);
}

}  // namespace

void ApplyModePanels(ProgramState& state) {
    platform::Platform& p = state.platform;
    if (Checked(p, ControlId::OptModeText)) {
        ShowOnly(p, ControlId::BoxText);
    } else if (Checked(p, ControlId::OptModeLogo)) {
        ShowOnly(p, ControlId::BoxLogo);
    } else if (Checked(p, ControlId::OptModeFrame)) {
        ShowOnly(p, ControlId::BoxFrame);
        const int kind = p.GetState(ControlId::CmbFrameKind);
        // No entry selected (or an unknown one) leaves the frame panels as they are.
        if (kind >= 0 && kind < static_cast<int>(std::size(kFrameKindBoxes))) {
            for (int i = 0; i < static_cast<int>(std::size(kFrameKindBoxes)); ++i) {
                p.ShowControl(kFrameKindBoxes[i], i == kind);
            }
        }
    }
}

}  // namespace velinor::app

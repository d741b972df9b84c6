#include "app/ModePanels.h"

#include <iterator>

#include "app/TextKeys.h"

namespace velinor::app {

namespace {

using platform::ControlId;

// Frame kinds by entry of CmbFrameKind; entries 2 and 3 keep the spare containers usable.
constexpr ControlId kFrameKindBoxes[] = {ControlId::BoxTexture, ControlId::BoxCircles, ControlId::BoxSpare1,
                                         ControlId::BoxSpare2};

struct PointerHint {
    ControlId control;
    TextKey key;
};

constexpr PointerHint kPointerHints[] = {
    {ControlId::ImgSource, kTextSourceHint},
    {ControlId::ImgPreview, kTextPreviewHint},
    {ControlId::BtnOpen, kTextOpenHint},
    {ControlId::BtnSave, kTextSaveHint},
};

bool Checked(const platform::Platform& p, ControlId id) { return p.GetState(id) != 0; }

constexpr ControlId kModeBoxes[] = {ControlId::BoxText, ControlId::BoxLogo, ControlId::BoxFrame};

void ShowOnly(platform::Platform& p, ControlId shown) {
    for (ControlId id : kModeBoxes) p.ShowControl(id, id == shown);
}

TextKey HintKey(const platform::Platform& p) {
    const int tab = p.GetState(ControlId::PnlTabs);
    if (tab == 0) {
        for (const PointerHint& hint : kPointerHints) {
            if (PointerOverControl(p, hint.control)) return hint.key;
        }
        if (Checked(p, ControlId::OptModeText)) return kTextTextModeHint;
        if (Checked(p, ControlId::OptModeLogo)) return kTextLogoModeHint;
    }
    if (tab == 1) return kTextBatchTabHint;
    return kTextNone;
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

void UpdateStatusHint(ProgramState& state) {
    const TextKey key = HintKey(state.platform);
    state.platform.SetStatusText(0, key == kTextNone ? std::string() : state.texts[key]);
}

bool PointerOverControl(const platform::Platform& platform, platform::ControlId id) {
    return platform.ControlScreenRect(id).Contains(platform.PointerPosition());
}

}  // namespace velinor::app

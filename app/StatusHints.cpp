#include "app/StatusHints.h"

#include <string>

namespace velinor::app {

namespace {

using platform::ControlId;

struct PointerHint {
    ControlId control;
    int key;
};

constexpr PointerHint kPointerHints[] = {
    {ControlId::ImgSource, 69},
    {ControlId::ImgPreview, 70},
    {ControlId::BtnOpen, 71},
    {ControlId::BtnSave, 72},
};
constexpr int kTextModeHint = 55;
constexpr int kLogoModeHint = 73;
constexpr int kBatchTabHint = 56;

int HintKey(const platform::Platform& p) {
    const int tab = p.GetState(ControlId::PnlTabs);
    if (tab == 0) {
        for (const PointerHint& hint : kPointerHints) {
            if (PointerOverControl(p, hint.control)) return hint.key;
        }
        if (p.GetState(ControlId::OptModeText) != 0) return kTextModeHint;
        if (p.GetState(ControlId::OptModeLogo) != 0) return kLogoModeHint;
    }
    if (tab == 1) return kBatchTabHint;
    return 0;
}

}  // namespace

void UpdateStatusHint(ProgramState& state) {
    const int key = HintKey(state.platform);
    state.platform.SetStatusText(0, key == 0 ? std::string() : state.texts[key]);
}

bool PointerOverControl(const platform::Platform& platform, platform::ControlId id) {
    return platform.ControlScreenRect(id).Contains(platform.PointerPosition());
}

}  // namespace velinor::app

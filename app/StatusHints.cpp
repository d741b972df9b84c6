#include "app/StatusHints.h"

#include <string>

#include "app/TextKeys.h"

namespace velinor::app {

namespace {

using platform::ControlId;

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

TextKey HintKey(const platform::Platform& p) {
    const int tab = p.GetState(ControlId::PnlTabs);
    if (tab == 0) {
        for (const PointerHint& hint : kPointerHints) {
            if (PointerOverControl(p, hint.control)) return hint.key;
        }
        if (p.GetState(ControlId::OptModeText) != 0) return kTextTextModeHint;
        if (p.GetState(ControlId::OptModeLogo) != 0) return kTextLogoModeHint;
    }
    if (tab == 1) return kTextBatchTabHint;
    return kTextNone;
}

}  // namespace

void UpdateStatusHint(ProgramState& state) {
    const TextKey key = HintKey(state.platform);
    state.platform.SetStatusText(0, key == kTextNone ? std::string() : state.texts[key]);
}

bool PointerOverControl(const platform::Platform& platform, platform::ControlId id) {
    return platform.ControlScreenRect(id).Contains(platform.PointerPosition());
}

}  // namespace velinor::app

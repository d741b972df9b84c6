#include "app/Relabel.h"

#include <array>

namespace velinor::app {

namespace {

using C = platform::ControlId;

// The seven anchor options of a group, first to last, share these keys.
#define VELINOR_ANCHOR_OPTIONS(first, second, third, fourth, fifth, sixth, seventh) \
    {C::first, 17}, {C::second, 19}, {C::third, 21}, {C::fourth, 23}, {C::fifth, 18}, {C::sixth, 20}, {C::seventh, 22}

constexpr RelabelEntry kRelabel[] = {
    {C::PnlTabs, 1, 0}, {C::PnlTabs, 2, 1}, {C::PnlTabs, 3, 2},
    {C::FrmSource, 5}, {C::BtnOpen, 7}, {C::FrmPreview, 6}, {C::BtnSave, 8},
    {C::FrmSettings, 9}, {C::FrmMode, 10}, {C::FrmOutput, 32},
    {C::OptModeText, 11}, {C::OptModeLogo, 12},
    {C::LblText, 13}, {C::LblTextPos, 14}, {C::BtnFont, 15}, {C::BtnApplyText, 16},
    VELINOR_ANCHOR_OPTIONS(OptTextPos1, OptTextPos2, OptTextPos3, OptTextPos4, OptTextPos5, OptTextPos6, OptTextPos7),
    {C::LblLogoAlpha, 57}, {C::LblLogoAlphaMax, 58}, {C::LblLogoFile, 59}, {C::LblLogoPos, 14},
    VELINOR_ANCHOR_OPTIONS(OptLogoPos1, OptLogoPos2, OptLogoPos3, OptLogoPos4, OptLogoPos5, OptLogoPos6, OptLogoPos7),
    {C::BtnBatchStart, 24}, {C::BtnAddSelected, 25}, {C::BtnAddAll, 26}, {C::BtnRemove, 27},
    {C::BtnClear, 28}, {C::BtnSort, 29}, {C::BtnMoveDown, 30}, {C::BtnMoveUp, 31},
    {C::ChkThumb, 35}, {C::ChkKeepNames, 34}, {C::BtnOutputDir, 33},
    {C::PnlBatchMark, 11, 0},
    {C::LblBatchText, 13}, {C::BtnBatchFont, 39}, {C::LblBatchTextPos, 14},
    VELINOR_ANCHOR_OPTIONS(OptBatchTextPos1, OptBatchTextPos2, OptBatchTextPos3, OptBatchTextPos4,
                           OptBatchTextPos5, OptBatchTextPos6, OptBatchTextPos7),
    {C::PnlBatchMark, 12, 1},
    {C::LblBatchLogoFile, 59}, {C::LblBatchAlpha, 57},
    {C::LblPictureName, 47}, {C::LblDefaultDir, 48}, {C::BtnDefaultDir, 49}, {C::BtnSaveSettings, 50},
    {C::LblBatchLogoPos, 14},
    VELINOR_ANCHOR_OPTIONS(OptBatchLogoPos1, OptBatchLogoPos2, OptBatchLogoPos3, OptBatchLogoPos4,
                           OptBatchLogoPos5, OptBatchLogoPos6, OptBatchLogoPos7),
};

#undef VELINOR_ANCHOR_OPTIONS

constexpr const char* kInfoHeading = "Velinor V3.01";
constexpr int kFontButtonWidthGerman = 125;
constexpr int kFontButtonWidthEnglish = 100;

}  // namespace

std::span<const RelabelEntry> RelabelTable() { return kRelabel; }

std::string InfoText(const TextTable& texts) {
    return std::string(kInfoHeading) + "\r\n\r\n" + texts[51] + "\r\n" + texts[52] + " " + texts[53];
}

void RelabelControls(ProgramState& state, const std::string& group) {
    platform::Platform& p = state.platform;
    const bool loaded = LoadTextGroup(state.prefs, state.texts, group, kLastKey);
    if (!loaded && group == "german") {
        // Without a language file the German texts cannot be had; "error" shows that plainly.
        for (int n = 1; n <= kLastKey; ++n) state.texts.Set(n, "error");
    }
    platform::Rect font = p.ControlGeometry(C::BtnFont);
    font.width = group == "german" ? kFontButtonWidthGerman : kFontButtonWidthEnglish;
    p.ResizeControl(C::BtnFont, font);
    for (const RelabelEntry& entry : kRelabel) {
        if (entry.tab >= 0) {
            p.SetTabText(entry.control, entry.tab, state.texts[entry.key]);
        } else {
            p.SetText(entry.control, state.texts[entry.key]);
        }
    }
    p.SetText(C::TxtInfo, InfoText(state.texts));
}

}  // namespace velinor::app

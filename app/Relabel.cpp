#include "app/Relabel.h"

#include <vector>

#include "app/MainWindowLayout.h"

namespace velinor::app {

namespace {

using C = platform::ControlId;

// The texts of the layout that come from the text table, in build order: each control's own
// text and the pages of the tab panels, less those that stay in the language of the start.
std::vector<RelabelEntry> LayoutTexts() {
    std::vector<RelabelEntry> entries;
    for (const LayoutRow& row : MainWindowLayout()) {
        if (row.text.source == TextRef::Source::Key && row.text.relabelled) entries.push_back({row.id, row.text.key});
        if (row.kind != platform::ControlKind::TabPanel) continue;
        for (std::size_t page = 0; page < row.items.size(); ++page) {
            const TextRef& item = row.items[page];
            if (item.source == TextRef::Source::Key && item.relabelled) {
                entries.push_back({row.id, item.key, static_cast<int>(page)});
            }
        }
    }
    return entries;
}

constexpr const char* kInfoHeading = "Velinor V3.01";
constexpr int kFontButtonWidthGerman = 125;
constexpr int kFontButtonWidthEnglish = 100;

}  // namespace

std::span<const RelabelEntry> RelabelTable() {
    static const std::vector<RelabelEntry> entries = LayoutTexts();
    return entries;
}

std::string InfoText(const TextTable& texts) {
    return std::string(kInfoHeading) + "\r\n\r\n" + texts[kTextInfoPurpose] + "\r\n" + texts[kTextInfoWebsite] + " " +
           texts[kTextInfoWebsiteEnd];
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
    for (const RelabelEntry& entry : RelabelTable()) {
        if (entry.tab >= 0) {
            p.SetTabText(entry.control, entry.tab, state.texts[entry.key]);
        } else {
            p.SetText(entry.control, state.texts[entry.key]);
        }
    }
    p.SetText(C::TxtInfo, InfoText(state.texts));
}

}  // namespace velinor::app

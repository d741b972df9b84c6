#include "app/Relabel.h"

#include <vector>

#include "app/MainWindowLayout.h"

namespace velinor::app {

namespace {

using C = platform::ControlId;

// The texts of the layout that come from the text table, in build order: each control's own
// text, the pages of the tab panels, the entries of the combo boxes and the column headers,
// less those that stay in the language of the start.
std::vector<RelabelEntry> LayoutTexts() {
    std::vector<RelabelEntry> entries;
    for (const LayoutRow& row : MainWindowLayout()) {
        if (row.text.source == TextRef::Source::Key && row.text.relabelled) {
            entries.push_back({row.id, row.text.key, -1, row.kind});
        }
        for (std::size_t n = 0; n < row.items.size(); ++n) {
            const TextRef& item = row.items[n];
            if (item.source == TextRef::Source::Key && item.relabelled) {
                entries.push_back({row.id, item.key, static_cast<int>(n), row.kind});
            }
        }
    }
    return entries;
}

void SetEntryText(platform::Platform& p, const RelabelEntry& entry, const std::string& text) {
    if (entry.item < 0) {
        p.SetText(entry.control, text);
        return;
    }
    switch (entry.kind) {
        case platform::ControlKind::TabPanel: p.SetTabText(entry.control, entry.item, text); break;
        case platform::ControlKind::ReportList: p.SetColumnText(entry.control, text); break;
        default: p.SetItemText(entry.control, entry.item, text); break;
    }
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
    for (const RelabelEntry& entry : RelabelTable()) SetEntryText(p, entry, state.texts[entry.key]);
    p.SetText(C::TxtInfo, InfoText(state.texts));
}

}  // namespace velinor::app

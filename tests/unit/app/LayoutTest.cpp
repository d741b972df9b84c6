#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "app/Dispatch.h"
#include "app/MainWindowLayout.h"
#include "app/Relabel.h"

namespace velinor::app {
namespace {

using platform::ControlId;
using platform::ControlKind;

std::set<ControlId> LayoutIds() {
    std::set<ControlId> ids;
    for (const LayoutRow& row : MainWindowLayout()) ids.insert(row.id);
    return ids;
}

TEST(Layout, EveryControlIsUniqueAndBuiltAfterItsParent) {
    std::set<ControlId> built;
    for (const LayoutRow& row : MainWindowLayout()) {
        EXPECT_TRUE(built.insert(row.id).second) << "twice: " << static_cast<int>(row.id);
        if (row.parent.control != ControlId::None) {
            EXPECT_TRUE(built.count(row.parent.control)) << static_cast<int>(row.id) << " before its parent";
        }
        if (row.parent.tab >= 0) {
            const auto parent = std::find_if(MainWindowLayout().begin(), MainWindowLayout().end(),
                                             [&](const LayoutRow& r) { return r.id == row.parent.control; });
            ASSERT_NE(parent, MainWindowLayout().end());
            EXPECT_EQ(parent->kind, ControlKind::TabPanel);
            EXPECT_LT(row.parent.tab, static_cast<int>(parent->items.size()));
        }
    }
}

TEST(Layout, TheOtherTablesNameOnlyControlsOfTheWindow) {
    const std::set<ControlId> ids = LayoutIds();
    for (const RelabelEntry& entry : RelabelTable()) EXPECT_TRUE(ids.count(entry.control)) << static_cast<int>(entry.control);
    for (const DispatchEntry& entry : DispatchTable()) EXPECT_TRUE(ids.count(entry.control)) << static_cast<int>(entry.control);
    for (const InitialState& entry : InitialStates()) EXPECT_TRUE(ids.count(entry.id)) << static_cast<int>(entry.id);
    for (ControlId id : HiddenAfterBuild()) EXPECT_TRUE(ids.count(id));
    for (ControlId id : GreyButtons()) EXPECT_TRUE(ids.count(id));
}

// Options created one after another form one group; a stray control between two options of
// one group would split it, and two groups without another control between would merge.
TEST(Layout, OptionGroupsAreSeparatedByOtherControls) {
    std::vector<std::vector<ControlId>> groups;
    bool inGroup = false;
    for (const LayoutRow& row : MainWindowLayout()) {
        if (row.kind == ControlKind::Option) {
            if (!inGroup) groups.emplace_back();
            groups.back().push_back(row.id);
        }
        inGroup = row.kind == ControlKind::Option;
    }
    const std::vector<std::vector<ControlId>> expected = {
        {ControlId::OptModeText, ControlId::OptModeLogo, ControlId::OptModeFrame},
        {ControlId::OptTextPos1, ControlId::OptTextPos2, ControlId::OptTextPos3, ControlId::OptTextPos4,
         ControlId::OptTextPos5, ControlId::OptTextPos6, ControlId::OptTextPos7},
        {ControlId::OptLogoPos1, ControlId::OptLogoPos2, ControlId::OptLogoPos3, ControlId::OptLogoPos4,
         ControlId::OptLogoPos5, ControlId::OptLogoPos6, ControlId::OptLogoPos7},
        {ControlId::OptSides2, ControlId::OptSides4},
        {ControlId::OptBatchTextPos1, ControlId::OptBatchTextPos2, ControlId::OptBatchTextPos3,
         ControlId::OptBatchTextPos4, ControlId::OptBatchTextPos5, ControlId::OptBatchTextPos6,
         ControlId::OptBatchTextPos7},
        {ControlId::OptBatchLogoPos1, ControlId::OptBatchLogoPos2, ControlId::OptBatchLogoPos3,
         ControlId::OptBatchLogoPos4, ControlId::OptBatchLogoPos5, ControlId::OptBatchLogoPos6,
         ControlId::OptBatchLogoPos7},
    };
    EXPECT_EQ(groups, expected);
}

// Whatever the build shows from the text table, the language switch must set again.
TEST(Layout, EveryTranslatedCaptionIsRelabelled) {
    std::set<std::pair<ControlId, int>> relabelled;
    for (const RelabelEntry& entry : RelabelTable()) relabelled.insert({entry.control, entry.key});
    // Left in the language of the start: the removed third batch tab and the "+" of the batch logo.
    const std::set<ControlId> kept = {ControlId::LblBatchAlphaMax};
    for (const LayoutRow& row : MainWindowLayout()) {
        if (row.text.source == TextRef::Source::Key && !kept.count(row.id)) {
            EXPECT_TRUE(relabelled.count({row.id, row.text.key})) << static_cast<int>(row.id);
        }
    }
}

// The language switch's list, control by control as the program's description gives it.
TEST(Layout, TheLanguageSwitchSetsTheDescribedTextsAndNoOthers) {
    using C = ControlId;
    using Entry = std::tuple<ControlId, int, int>;  // control, text number, page (-1 none)
    std::set<Entry> expected = {
        {C::PnlTabs, 1, 0}, {C::PnlTabs, 2, 1}, {C::PnlTabs, 3, 2},
        {C::FrmSource, 5, -1}, {C::BtnOpen, 7, -1}, {C::FrmPreview, 6, -1}, {C::BtnSave, 8, -1},
        {C::FrmSettings, 9, -1}, {C::FrmMode, 10, -1}, {C::FrmOutput, 32, -1},
        {C::OptModeText, 11, -1}, {C::OptModeLogo, 12, -1},
        {C::LblText, 13, -1}, {C::LblTextPos, 14, -1}, {C::BtnFont, 15, -1}, {C::BtnApplyText, 16, -1},
        {C::LblLogoAlpha, 57, -1}, {C::LblLogoAlphaMax, 58, -1}, {C::LblLogoFile, 59, -1}, {C::LblLogoPos, 14, -1},
        {C::BtnBatchStart, 24, -1}, {C::BtnAddSelected, 25, -1}, {C::BtnAddAll, 26, -1},
        {C::BtnRemove, 27, -1}, {C::BtnClear, 28, -1}, {C::BtnSort, 29, -1},
        {C::BtnMoveDown, 30, -1}, {C::BtnMoveUp, 31, -1}, {C::ChkThumb, 35, -1},
        {C::ChkKeepNames, 34, -1}, {C::BtnOutputDir, 33, -1}, {C::PnlBatchMark, 11, 0},
        {C::LblBatchText, 13, -1}, {C::BtnBatchFont, 39, -1}, {C::LblBatchTextPos, 14, -1},
        {C::PnlBatchMark, 12, 1}, {C::LblBatchLogoFile, 59, -1}, {C::LblBatchAlpha, 57, -1},
        {C::LblPictureName, 47, -1}, {C::LblDefaultDir, 48, -1}, {C::BtnDefaultDir, 49, -1},
        {C::BtnSaveSettings, 50, -1}, {C::LblBatchLogoPos, 14, -1},
    };
    // The seven anchor options of each group, first to last.
    const int anchorKeys[] = {17, 19, 21, 23, 18, 20, 22};
    for (const C first : {C::OptTextPos1, C::OptLogoPos1, C::OptBatchTextPos1, C::OptBatchLogoPos1}) {
        for (int i = 0; i < 7; ++i) expected.insert({static_cast<C>(static_cast<int>(first) + i), anchorKeys[i], -1});
    }
    std::set<Entry> relabelled;
    for (const RelabelEntry& entry : RelabelTable()) {
        EXPECT_TRUE(relabelled.insert({entry.control, entry.key, entry.tab}).second) << static_cast<int>(entry.control);
    }
    EXPECT_EQ(relabelled, expected);
}

}  // namespace
}  // namespace velinor::app

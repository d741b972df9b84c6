#include <gtest/gtest.h>

#include <set>

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

}  // namespace
}  // namespace velinor::app

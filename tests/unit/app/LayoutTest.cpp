#include <gtest/gtest.h>

#include <set>
#include <string>
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

const LayoutRow* FindRow(ControlId id) {
    for (const LayoutRow& row : MainWindowLayout()) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

// A sample of controls written down by hand from the window's layout: the numbers handlers
// address them by, where they sit in which parent, and where their text comes from.
TEST(Layout, SampledControlsHaveTheirNumberPlaceAndText) {
    struct Expected {
        ControlId id;
        int number;
        ControlKind kind;
        ControlId parent;
        int tab;
        platform::Rect geometry;
        int key;                 // 0: not a text-table entry
        const char* literal;     // the fixed text, if any
    };
    const Expected expected[] = {
        {ControlId::PnlTabs, 2, ControlKind::TabPanel, ControlId::None, -1, {0, 25, 618, 550}, 0, nullptr},
        {ControlId::BtnOpen, 6, ControlKind::Button, ControlId::PnlTabs, 0, {65, 295, 155, 30}, 7, nullptr},
        {ControlId::BtnSave, 8, ControlKind::Button, ControlId::PnlTabs, 0, {385, 295, 155, 30}, 8, nullptr},
        {ControlId::OptModeFrame, 15, ControlKind::Option, ControlId::PnlTabs, 0, {50, 435, 100, 20}, 64, nullptr},
        {ControlId::ImgPreview, 49, ControlKind::Image, ControlId::BoxPreview, -1, {0, 0, 255, 225}, 0, nullptr},
        {ControlId::TxtMark, 25, ControlKind::TextField, ControlId::BoxText, -1, {90, 5, 150, 20}, 0, nullptr},
        {ControlId::OptTextPos5, 33, ControlKind::Option, ControlId::BoxText, -1, {210, 85, 190, 15}, 18, nullptr},
        {ControlId::BtnLogoFile, 55, ControlKind::Button, ControlId::BoxLogo, -1, {230, 5, 20, 20}, 0, "..."},
        {ControlId::CmbFrameKind, 165, ControlKind::ComboBox, ControlId::BoxFrame, -1, {10, 10, 155, 100}, 0, nullptr},
        {ControlId::SpinTexWidth, 167, ControlKind::Spin, ControlId::BoxTexture, -1, {270, 0, 45, 20}, 0, nullptr},
        {ControlId::LblCircleRadius, 178, ControlKind::Label, ControlId::BoxCircles, -1, {3, 58, 130, 20}, 116,
         nullptr},
        {ControlId::BtnCircleColour, 185, ControlKind::Button, ControlId::BoxCircles, -1, {335, 56, 17, 17}, 0, nullptr},
        {ControlId::LstExplorer, 69, ControlKind::FileList, ControlId::PnlTabs, 1, {300, 40, 300, 155}, 0, nullptr},
        {ControlId::BtnMoveUp, 77, ControlKind::Button, ControlId::PnlTabs, 1, {193, 250, 105, 25}, 31, nullptr},
        {ControlId::PnlBatchMark, 85, ControlKind::TabPanel, ControlId::PnlTabs, 1, {280, 290, 320, 220}, 0, nullptr},
        {ControlId::BoxBatchLogo, 88, ControlKind::Container, ControlId::PnlBatchMark, 1, {5, 5, 305, 185}, 0, nullptr},
        {ControlId::OptBatchLogoPos1, 107, ControlKind::Option, ControlId::BoxBatchLogo, -1, {55, 75, 150, 15}, 17, nullptr},
        {ControlId::TxtPictureName, 143, ControlKind::TextField, ControlId::BoxPictureName, -1, {210, 8, 180, 20}, 0,
         nullptr},
        {ControlId::BtnSaveSettings, 149, ControlKind::Button, ControlId::BoxSaveSettings, -1, {75, 10, 250, 20}, 50,
         nullptr},
        {ControlId::TxtInfo, 153, ControlKind::TextField, ControlId::PnlTabs, 3, {157, 200, 300, 100}, 0, nullptr},
    };
    for (const Expected& want : expected) {
        SCOPED_TRACE("control " + std::to_string(want.number));
        EXPECT_EQ(static_cast<int>(want.id), want.number);
        const LayoutRow* row = FindRow(want.id);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->kind, want.kind);
        EXPECT_EQ(row->parent.control, want.parent);
        EXPECT_EQ(row->parent.tab, want.tab);
        EXPECT_EQ(row->geometry.x, want.geometry.x);
        EXPECT_EQ(row->geometry.y, want.geometry.y);
        EXPECT_EQ(row->geometry.width, want.geometry.width);
        EXPECT_EQ(row->geometry.height, want.geometry.height);
        if (want.key != 0) {
            EXPECT_EQ(row->text.source, TextRef::Source::Key);
            EXPECT_EQ(row->text.key, want.key);
        } else if (want.literal != nullptr) {
            ASSERT_EQ(row->text.source, TextRef::Source::Literal);
            EXPECT_STREQ(row->text.literal, want.literal);
        } else {
            EXPECT_NE(row->text.source, TextRef::Source::Key);
            EXPECT_NE(row->text.source, TextRef::Source::Literal);
        }
    }
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
    using Entry = std::tuple<ControlId, int, int>;  // control, text number, page or entry (-1 none)
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
        // The frame panel and the batch list's column, German texts of the first versions that
        // the English window has its own texts for.
        {C::OptModeFrame, 64, -1}, {C::CmbFrameKind, 122, 0}, {C::CmbFrameKind, 123, 1},
        {C::LblTexWidth, 114, -1}, {C::LblTexAlpha, 57, -1}, {C::LblTexAlphaMax, 58, -1}, {C::BtnTexUpdate, 115, -1},
        {C::LblCircleWidth, 114, -1}, {C::LblCircleRadius, 116, -1}, {C::LblCircleGap, 117, -1},
        {C::OptSides2, 120, -1}, {C::OptSides4, 121, -1}, {C::ChkCircleFilled, 118, -1},
        {C::LblCircleColour, 119, -1}, {C::LblCircleAlpha, 57, -1}, {C::LblCircleAlphaMax, 58, -1},
        {C::BtnCircleUpdate, 115, -1}, {C::LstBatch, 127, 0},
    };
    // The seven anchor options of each group, first to last.
    const int anchorKeys[] = {17, 19, 21, 23, 18, 20, 22};
    for (const C first : {C::OptTextPos1, C::OptLogoPos1, C::OptBatchTextPos1, C::OptBatchLogoPos1}) {
        for (int i = 0; i < 7; ++i) expected.insert({static_cast<C>(static_cast<int>(first) + i), anchorKeys[i], -1});
    }
    std::set<Entry> relabelled;
    for (const RelabelEntry& entry : RelabelTable()) {
        EXPECT_TRUE(relabelled.insert({entry.control, entry.key, entry.item}).second) << static_cast<int>(entry.control);
    }
    EXPECT_EQ(relabelled, expected);
}

}  // namespace
}  // namespace velinor::app

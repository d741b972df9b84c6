#include <gtest/gtest.h>

#include <filesystem>

#include "ShellFixture.h"
#include "app/TextureTree.h"

namespace velinor::app {
namespace {

using platform::ControlId;
using testing::RecordingPlatform;
using testing::TestFolder;

// The texture folder beside the program; the in-memory platform's program folder is the
// working folder.
class TextureFolder : public testing::ShellFixture {
protected:
    TextureFolder() {
        for (const char* category : {"Holz64x64", "Holz16x16", "Wasser128x128", "Stein"}) {
            TestFolder::Write(std::string("texturen/") + category + "/tile.jpg", "not a picture");
        }
    }
    // Selects the tree entry with this text as the user would.
    void SelectTexture(const std::string& text) {
        Then([text](RecordingPlatform& p) { p.Pick(ControlId::TreeTextures, text); });
    }
    void SetTexWidth(int value) {
        Then([value](RecordingPlatform& p) { p.UserSet(ControlId::SpinTexWidth, value); });
    }
    void ExpectTexWidth(int value) {
        Then([value](RecordingPlatform& p) {
            EXPECT_EQ(p.GetState(ControlId::SpinTexWidth), value);
            EXPECT_EQ(p.GetText(ControlId::SpinTexWidth), std::to_string(value));
        });
    }
};

TEST_F(TextureFolder, ASelectedSizeCategoryPresetsTheBandWidthFromTheNextEventOn) {
    SelectTexture("Holz64x64");
    ExpectTexWidth(16);              // the selection is read before the next wait
    Then([](RecordingPlatform& p) { p.UserKey({}); });
    ExpectTexWidth(64);
    SelectTexture("Holz16x16");
    SetTexWidth(20);                 // the change itself is the next event
    ExpectTexWidth(16);
    SelectTexture("Stein");
    SetTexWidth(30);
    ExpectTexWidth(30);
    SelectTexture("tile.jpg");       // a tile, not a category
    SetTexWidth(50);
    ExpectTexWidth(50);
    RunProgram();
}

TEST_F(TextureFolder, EachSizeCategoryPresetsItsOwnWidth) {
    TestFolder::Write("texturen/Wasser16x16/tile.jpg", "");
    TestFolder::Write("texturen/Holz128x128/tile.jpg", "");
    for (auto [category, width] : {std::pair{"Wasser16x16", 16}, {"Holz128x128", 128}, {"Holz16x16", 16},
                                   {"Wasser128x128", 128}, {"Holz64x64", 64}}) {
        SetTexWidth(40);
        SelectTexture(category);
        Then([](RecordingPlatform& p) { p.UserKey({}); });
        ExpectTexWidth(width);
    }
    RunProgram();
}

TEST_F(TextureFolder, TheTreeListsCategoriesSortedWithTheirTiles) {
    TestFolder::Write("texturen/Holz16x16/ahorn.bmp", "");
    TestFolder::Write("texturen/Holz16x16/water.JPG", "");
    TestFolder::Write("texturen/Holz16x16/notes.txt", "");
    TestFolder::Write("texturen/loose.jpg", "");
    RunProgram();
    std::vector<std::string> items;
    std::vector<int> parents;
    for (int i = 0; i < platform.ItemCount(ControlId::TreeTextures); ++i) {
        items.push_back(platform.ItemText(ControlId::TreeTextures, i));
        parents.push_back(platform.TreeItemParent(ControlId::TreeTextures, i));
    }
    const std::vector<std::string> expected = {"Holz16x16", "ahorn.bmp", "tile.jpg", "Holz64x64", "tile.jpg",
                                               "Stein", "tile.jpg", "Wasser128x128", "tile.jpg"};
    EXPECT_EQ(items, expected);
    EXPECT_EQ(parents, (std::vector<int>{-1, 0, 0, -1, 3, -1, 5, -1, 7}));
}

TEST(TextureTree, MoreThanElevenCategoriesAreAllListedAndAMissingFolderIsEmpty) {
    TestFolder folder;
    for (int i = 0; i < 15; ++i) std::filesystem::create_directories("texturen/c" + std::to_string(100 + i));
    EXPECT_EQ(ScanTextureFolder("texturen/").size(), 15u);
    EXPECT_TRUE(ScanTextureFolder("missing/").empty());
}

class Dispatch : public testing::ShellFixture {};

TEST_F(Dispatch, SpinsEchoTheirValueAndDropTheNextPendingEvent) {
    Then([](RecordingPlatform& p) {
        p.UserSet(ControlId::SpinCircleGap, 7);
        p.UserClick(ControlId::BtnWebsite);   // pending while the spin is handled: dropped
    });
    Then([](RecordingPlatform& p) { p.UserClick(ControlId::BtnWebsite); });
    RunProgram();
    EXPECT_EQ(Text(ControlId::SpinCircleGap), "7");
    EXPECT_EQ(platform.OpenedUrls().size(), 1u);
}

TEST_F(Dispatch, FolderComboAndFileListFollowEachOther) {
    TestFolder::Write("a/b/bild.jpg", "");
    const std::string a = (folder.Path() / "a").string() + "/";
    Then([a](RecordingPlatform& p) { p.UserType(ControlId::CmbExplorer, a); });
    Then([a](RecordingPlatform& p) {
        EXPECT_EQ(p.GetText(ControlId::LstExplorer), a);
        ASSERT_EQ(p.ItemCount(ControlId::LstExplorer), 1);
        EXPECT_EQ(p.ItemText(ControlId::LstExplorer, 0), "b");
    });
    // The user opens b in the list.
    Then([a](RecordingPlatform& p) {
        p.SetText(ControlId::LstExplorer, a + "b/");
        p.UserSet(ControlId::LstExplorer, 0);
    });
    RunProgram();
    EXPECT_EQ(Text(ControlId::CmbExplorer), a + "b/");
}

TEST_F(Dispatch, DropsAndUnknownControlsChangeNothingVisible) {
    Then([](RecordingPlatform& p) {
        p.UserDrop({"/tmp/a.jpg"});
        p.UserClick(ControlId::FrmSource);
    });
    RunProgram();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(Visible(ControlId::BoxText));
}

}  // namespace
}  // namespace velinor::app

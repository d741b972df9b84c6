#include <gtest/gtest.h>

#include <filesystem>

#include "ShellFixture.h"
#include "app/TextureTree.h"

namespace velinor::app {
namespace {

using platform::ControlId;
using testing::FakePlatform;
using testing::TestFolder;

class TextureFolder : public testing::ShellFixture {
protected:
    TextureFolder() {
        platform.programDirectory = (folder.Path() / "program").string() + "/";
        for (const char* category : {"Holz64x64", "Holz16x16", "Wasser128x128", "Stein"}) {
            TestFolder::Write(std::string("program/texturen/") + category + "/tile.jpg", "not a picture");
        }
    }
    // Selects the tree entry with this text as the user would, then raises event.
    void SelectTexture(const std::string& text) {
        QueueControl(ControlId::TreeTextures, [text](FakePlatform& p) {
            const auto& items = p.At(ControlId::TreeTextures).items;
            p.At(ControlId::TreeTextures).state =
                static_cast<int>(std::find(items.begin(), items.end(), text) - items.begin());
        }, platform::kKindChange);
    }
    void SetTexWidth(int value) {
        QueueControl(ControlId::SpinTexWidth, [value](FakePlatform& p) { p.At(ControlId::SpinTexWidth).state = value; },
                     platform::kKindChange);
    }
    void ExpectTexWidth(int value) {
        Observe([value](FakePlatform& p) {
            EXPECT_EQ(p.At(ControlId::SpinTexWidth).state, value);
            EXPECT_EQ(p.At(ControlId::SpinTexWidth).text, std::to_string(value));
        });
    }
};

TEST_F(TextureFolder, ASelectedSizeCategoryPresetsTheBandWidthFromTheNextEventOn) {
    SelectTexture("Holz64x64");
    ExpectTexWidth(16);              // the selection is read before the next wait
    Queue(testing::MakeEvent(platform::kEventKey));
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

TEST_F(TextureFolder, TheTreeListsCategoriesSortedWithTheirTiles) {
    TestFolder::Write("program/texturen/Holz16x16/ahorn.bmp", "");
    TestFolder::Write("program/texturen/Holz16x16/water.JPG", "");
    TestFolder::Write("program/texturen/Holz16x16/notes.txt", "");
    TestFolder::Write("program/texturen/loose.jpg", "");
    RunProgram();
    const auto& tree = platform.At(ControlId::TreeTextures);
    const std::vector<std::string> expected = {"Holz16x16", "ahorn.bmp", "tile.jpg", "Holz64x64", "tile.jpg",
                                               "Stein", "tile.jpg", "Wasser128x128", "tile.jpg"};
    EXPECT_EQ(tree.items, expected);
    EXPECT_EQ(tree.itemParents, (std::vector<int>{-1, 0, 0, -1, 3, -1, 5, -1, 7}));
}

TEST(TextureTree, MoreThanElevenCategoriesAreAllListedAndAMissingFolderIsEmpty) {
    TestFolder folder;
    for (int i = 0; i < 15; ++i) std::filesystem::create_directories("texturen/c" + std::to_string(100 + i));
    EXPECT_EQ(ScanTextureFolder("texturen/").size(), 15u);
    EXPECT_TRUE(ScanTextureFolder("missing/").empty());
}

class Dispatch : public testing::ShellFixture {};

TEST_F(Dispatch, SpinsEchoTheirValueAndDropTheNextPendingEvent) {
    QueueControl(ControlId::SpinCircleGap, [](FakePlatform& p) { p.At(ControlId::SpinCircleGap).state = 7; },
                 platform::kKindChange);
    // This website click is the pending event the spin's handler drops.
    QueueControl(ControlId::BtnWebsite);
    QueueControl(ControlId::BtnWebsite);
    RunProgram();
    EXPECT_EQ(Text(ControlId::SpinCircleGap), "7");
    EXPECT_EQ(platform.polls, 1);
    EXPECT_EQ(platform.urlsOpened.size(), 1u);
}

TEST_F(Dispatch, FolderComboAndFileListFollowEachOther) {
    QueueControl(ControlId::CmbExplorer, [](FakePlatform& p) { p.At(ControlId::CmbExplorer).text = "/a/"; });
    Observe([](FakePlatform& p) { EXPECT_EQ(p.At(ControlId::LstExplorer).text, "/a/"); });
    QueueControl(ControlId::LstExplorer, [](FakePlatform& p) { p.At(ControlId::LstExplorer).text = "/a/b/"; });
    RunProgram();
    EXPECT_EQ(Text(ControlId::CmbExplorer), "/a/b/");
}

TEST_F(Dispatch, DropsAndUnknownControlsChangeNothingVisible) {
    platform::Event drop = testing::MakeEvent(platform::kEventDrop);
    drop.droppedFiles = {"/tmp/a.jpg"};
    Queue(drop);
    QueueControl(ControlId::FrmSource);
    RunProgram();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(Visible(ControlId::BoxText));
}

}  // namespace
}  // namespace velinor::app

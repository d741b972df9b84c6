#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/headless/FolderListing.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/PlatformSpecs.h"

namespace velinor::platform {
namespace {

namespace fs = std::filesystem;

TEST(FolderPattern, MatchesEachPatternWithoutRegardToCase) {
    EXPECT_TRUE(MatchesPattern("photo.jpg", "*.jpg;*.bmp"));
    EXPECT_TRUE(MatchesPattern("PHOTO.BMP", "*.jpg;*.bmp"));
    EXPECT_TRUE(MatchesPattern("x.Jpeg", "*.jpg;*.Jpeg"));
    EXPECT_FALSE(MatchesPattern("photo.jpg.txt", "*.jpg;*.bmp"));
    EXPECT_FALSE(MatchesPattern("photojpg", "*.jpg"));
    EXPECT_TRUE(MatchesPattern("a.b.c.png", "*.png"));
    EXPECT_TRUE(MatchesPattern("img1.png", "img?.png"));
    EXPECT_FALSE(MatchesPattern("img12.png", "img?.png"));
    EXPECT_TRUE(MatchesPattern("anything", ""));
    EXPECT_TRUE(MatchesPattern("anything", "*.*;*"));
    EXPECT_FALSE(MatchesPattern("a.jpg", ";;"));
}

TEST(FolderPattern, SplitsAFolderFromATrailingPattern) {
    auto withPattern = SplitFolderAndPattern("/data/pics/*.jpg;*.bmp");
    EXPECT_EQ(withPattern.folder, "/data/pics/");
    EXPECT_EQ(withPattern.pattern, "*.jpg;*.bmp");
    auto plain = SplitFolderAndPattern("/data/pics");
    EXPECT_EQ(plain.folder, "/data/pics/");
    EXPECT_EQ(plain.pattern, "");
    auto empty = SplitFolderAndPattern("");
    EXPECT_FALSE(empty.folder.empty());
    EXPECT_EQ(empty.folder.front(), '/') << "the current folder, made absolute";
    EXPECT_EQ(empty.folder.back(), '/');
}

class FileListFolder : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("velinor-filelist-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "zeta");
        fs::create_directories(root / "Alpha.jpg");   // a folder: listed whatever its name
        for (const char* name : {"b.jpg", "A.JPG", "c.txt", "d.Bmp", ".hidden.jpg", "e.png"}) {
            std::ofstream(root / name) << "x";
        }
        ASSERT_TRUE(ui.OpenWindow(test::Window(0, "", 620, 595)));
    }
    void TearDown() override { fs::remove_all(root); }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (int i = 0; i < ui.ItemCount(ControlId::LstExplorer); ++i) {
            std::string name = ui.ItemText(ControlId::LstExplorer, i);
            if (ui.ItemState(ControlId::LstExplorer, i) & kItemFolder) name += "/";
            names.push_back(name);
        }
        return names;
    }

    fs::path root;
    HeadlessPlatform ui;
};

TEST_F(FileListFolder, ListsFoldersFirstThenMatchingFilesWithTheirKinds) {
    ControlSpec list;
    list.id = ControlId::LstExplorer;
    list.kind = ControlKind::FileList;
    list.text = root.string();
    list.pattern = "*.jpg;*.bmp";
    ASSERT_TRUE(ui.CreateControl(list));

    EXPECT_EQ(Entries(), (std::vector<std::string>{"Alpha.jpg/", "zeta/", "A.JPG", "b.jpg", "d.Bmp"}));
    EXPECT_EQ(ui.ItemState(ControlId::LstExplorer, 2), kItemFile);
    EXPECT_EQ(ui.GetText(ControlId::LstExplorer), root.string() + "/");

    // The program's folder change: to a sub-folder, then with a pattern of its own.
    ui.SetText(ControlId::LstExplorer, (root / "zeta").string());
    EXPECT_TRUE(Entries().empty());
    ui.SetText(ControlId::LstExplorer, root.string() + "/*.txt;*.png");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Alpha.jpg/", "zeta/", "c.txt", "e.png"}));
    ui.SetText(ControlId::LstExplorer, (root / "missing").string());
    EXPECT_EQ(ui.ItemCount(ControlId::LstExplorer), 0) << "a folder that cannot be read lists nothing";

    // Selection bits sit beside the kind bits and never replace them.
    ui.SetText(ControlId::LstExplorer, root.string());
    ui.SelectAllItems(ControlId::LstExplorer);
    EXPECT_EQ(ui.ItemState(ControlId::LstExplorer, 0), kItemFolder | kItemSelected);
    ui.SetItemState(ControlId::LstExplorer, 0, 0);
    EXPECT_EQ(ui.ItemState(ControlId::LstExplorer, 0), kItemFolder);
    ui.UserSelect(ControlId::LstExplorer, {3}, false);
    EXPECT_EQ(ui.ItemState(ControlId::LstExplorer, 3), kItemFile | kItemSelected);
    EXPECT_EQ(ui.ItemState(ControlId::LstExplorer, 2), kItemFile);
}

TEST_F(FileListFolder, FolderComboKeepsItsFolderWithATrailingSlash) {
    ControlSpec combo;
    combo.id = ControlId::CmbExplorer;
    combo.kind = ControlKind::FolderCombo;
    combo.text = root.string();
    ASSERT_TRUE(ui.CreateControl(combo));
    EXPECT_EQ(ui.GetText(ControlId::CmbExplorer), root.string() + "/");
    ui.UserType(ControlId::CmbExplorer, (root / "zeta/").string());
    EXPECT_EQ(ui.GetText(ControlId::CmbExplorer), (root / "zeta/").string());
    EXPECT_TRUE(ui.HasPendingEvent());
}

}  // namespace
}  // namespace velinor::platform

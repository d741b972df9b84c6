#include <gtest/gtest.h>

#include <filesystem>

#include "ShellFixture.h"
#include "app/StartUp.h"

namespace velinor::app {
namespace {

using namespace testing;

class StartUp : public testing::ShellFixture {};

TEST_F(StartUp, WithoutSettingsTheProgramIsGermanWithEmptyFields) {
    EXPECT_EQ(RunProgram(), 0);
    ASSERT_EQ(platform.windowsOpened.size(), 1u);
    EXPECT_EQ(platform.windowsOpened[0].title, "Velinor V3.01");
    EXPECT_EQ(platform.windowsOpened[0].clientWidth, 620);
    EXPECT_EQ(platform.windowsOpened[0].clientHeight, 595);
    EXPECT_EQ(Text(ControlId::BtnOpen), "Bild \xC3\xB6" "ffnen");
    EXPECT_TRUE(platform.ToolbarPressed(ToolbarItem::TbGerman));
    EXPECT_FALSE(platform.ToolbarPressed(ToolbarItem::TbEnglish));
    EXPECT_EQ(Text(ControlId::TxtPictureName), "");
    EXPECT_EQ(Text(ControlId::TxtDefaultDir), "");
    // No folder stored: the explorer shows the working folder.
    EXPECT_EQ(Text(ControlId::CmbExplorer), folder.Path().string() + "/");
    EXPECT_FALSE(std::filesystem::exists("Settings.ini")) << "closing must not write the settings";
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(StartUp, TheBuildSetsItsInitialStates) {
    // Before the first event only the text panel shows.
    Then([](RecordingPlatform& p) {
        EXPECT_TRUE(p.ControlVisible(ControlId::BoxText));
        EXPECT_FALSE(p.ControlVisible(ControlId::BoxLogo));
        EXPECT_FALSE(p.ControlVisible(ControlId::BoxFrame));
    });
    RunProgram();
    EXPECT_EQ(platform.GetState(ControlId::OptModeText), 1);
    EXPECT_EQ(platform.GetState(ControlId::OptBatchLogoPos1), 1);
    EXPECT_EQ(platform.GetState(ControlId::SpinCircleRadius), 10);
    EXPECT_EQ(Text(ControlId::SpinCircleGap), "3");
    EXPECT_FALSE(Visible(ControlId::BoxTexture));
    EXPECT_FALSE(Visible(ControlId::BoxSpare2));
    EXPECT_FALSE(platform.ControlEnabled(ControlId::BtnBatchStart));
    EXPECT_EQ(platform.TabCount(ControlId::PnlBatchMark), 2);
    EXPECT_EQ(platform.TabCount(ControlId::PnlTabs), 4);
    EXPECT_EQ(platform.ItemText(ControlId::PnlTabs, 3), "INFO");
    EXPECT_EQ(platform.PointerPosition().x, 300);
    EXPECT_EQ(Text(ControlId::TxtInfo).rfind("Velinor V3.01\r\n\r\n", 0), 0u);
}

TEST_F(StartUp, SettingsAreReadAndShownOnlyWhenNameAndFolderAreBothSet) {
    const std::string photos = (folder.Path() / "fotos").string() + "/";
    TestFolder::Write("fotos/strand.jpg", "");
    TestFolder::Write("fotos/notiz.txt", "");
    TestFolder::Write("Settings.ini", "Language = English\r\nBildname = urlaub\r\nVerzeichnis = " + photos + "\r\n");
    RunProgram();
    EXPECT_EQ(Text(ControlId::BtnOpen), "Open picture");
    EXPECT_TRUE(platform.ToolbarPressed(ToolbarItem::TbEnglish));
    EXPECT_EQ(Text(ControlId::TxtPictureName), "urlaub");
    EXPECT_EQ(Text(ControlId::TxtDefaultDir), photos);
    EXPECT_EQ(Text(ControlId::LstExplorer), photos);
    // The explorer lists the pictures of the folder only.
    ASSERT_EQ(platform.ItemCount(ControlId::LstExplorer), 1);
    EXPECT_EQ(platform.ItemText(ControlId::LstExplorer, 0), "strand.jpg");

    RecordingPlatform second;
    TestFolder::Write("Settings.ini", "Verzeichnis = " + photos + "\r\n");
    RunProgramOn(second);
    EXPECT_EQ(second.GetText(ControlId::TxtPictureName), "");
    EXPECT_EQ(second.GetText(ControlId::TxtDefaultDir), "");
    EXPECT_EQ(second.GetText(ControlId::CmbExplorer), photos);
}

TEST_F(StartUp, AnUnknownLanguageShowsTheGermanTexts) {
    TestFolder::Write("Settings.ini", "Language = english\r\n");   // compared with case
    RunProgram();
    EXPECT_EQ(Text(ControlId::BtnSave), "Bild speichern");
    EXPECT_TRUE(platform.ToolbarPressed(ToolbarItem::TbGerman));
}

TEST_F(StartUp, AMissingPictureLibraryEndsTheProgramBeforeAnyWindow) {
    std::filesystem::remove_all("data");   // the runtime folder's picture libraries
    EXPECT_NE(RunProgram(), 0);
    EXPECT_TRUE(platform.windowsOpened.empty());
    EXPECT_FALSE(platform.ControlExists(ControlId::BtnOpen));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "Datei fehlt");
    EXPECT_NE(platform.messages[0].text.find("image323"), std::string::npos);
    EXPECT_EQ(platform.messages[0].icon, platform::MessageIcon::Warning);
}

// A truncated library must not crash the program inside dlopen: it counts as missing.
TEST_F(StartUp, ADamagedPictureLibraryCountsAsMissing) {
    std::filesystem::resize_file("data/image323.so", 1000);
    EXPECT_NE(RunProgram(), 0);
    EXPECT_TRUE(platform.windowsOpened.empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "Datei fehlt");
}

TEST_F(StartUp, OnlyNt5SystemsFadeInAndOut) {
    for (platform::OsVersion os : {platform::OsVersion{5, 0}, platform::OsVersion{5, 1}, platform::OsVersion{5, 2}}) {
        RecordingPlatform nt5({.programDirectory = {}, .osVersion = os});
        nt5.steps.push_back([](RecordingPlatform& p) {
            EXPECT_TRUE(p.windowsOpened.at(0).hidden);
            EXPECT_TRUE(p.WindowShown(0));
            EXPECT_EQ(p.opacities.size(), 19u);  // 0 before showing, then 0, 15, ... 255
            EXPECT_EQ(p.WindowOpacity(0), 255);
        });
        EXPECT_EQ(RunProgramOn(nt5), 0);
        const std::string version = std::to_string(os.major) + "." + std::to_string(os.minor);
        ASSERT_EQ(nt5.opacities.size(), 37u) << version;
        EXPECT_EQ(nt5.opacities[18], 255) << version;
        EXPECT_EQ(nt5.opacities[19], 255) << version;
        EXPECT_EQ(nt5.opacities[20], 240) << version;
        EXPECT_EQ(nt5.opacities.back(), 0) << version;
    }
    for (platform::OsVersion os : {platform::OsVersion{5, 3}, platform::OsVersion{6, 0}, platform::OsVersion{4, 0}}) {
        RecordingPlatform other({.programDirectory = {}, .osVersion = os});
        RunProgramOn(other);
        EXPECT_TRUE(other.opacities.empty());
        EXPECT_FALSE(other.windowsOpened.at(0).hidden);
    }
}

TEST(StartArgument, SurroundingQuotesAreRemoved) {
    EXPECT_EQ(StartArgumentOf({}), "");
    EXPECT_EQ(StartArgumentOf({"\"/a b/c.jpg\"", "second"}), "/a b/c.jpg");
    EXPECT_EQ(StartArgumentOf({"\""}), "\"");
    EXPECT_EQ(StartArgumentOf({"\"\""}), "");
    EXPECT_EQ(StartArgumentOf({"/plain"}), "/plain");
}

}  // namespace
}  // namespace velinor::app

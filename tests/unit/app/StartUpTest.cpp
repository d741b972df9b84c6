#include <gtest/gtest.h>

#include <filesystem>

#include "ShellFixture.h"
#include "app/StartUp.h"

namespace velinor::app {
namespace {

using platform::ControlId;
using platform::ToolbarItem;
using testing::FakePlatform;
using testing::TestFolder;

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
    EXPECT_EQ(Text(ControlId::CmbExplorer), "");
    EXPECT_FALSE(std::filesystem::exists("Settings.ini")) << "closing must not write the settings";
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(StartUp, TheBuildSetsItsInitialStates) {
    // Before the first event only the text panel shows.
    Observe([](FakePlatform& p) {
        EXPECT_TRUE(p.At(ControlId::BoxText).visible);
        EXPECT_FALSE(p.At(ControlId::BoxLogo).visible);
        EXPECT_FALSE(p.At(ControlId::BoxFrame).visible);
    });
    RunProgram();
    EXPECT_EQ(platform.At(ControlId::OptModeText).state, 1);
    EXPECT_EQ(platform.At(ControlId::OptBatchLogoPos1).state, 1);
    EXPECT_EQ(platform.At(ControlId::SpinCircleRadius).state, 10);
    EXPECT_EQ(Text(ControlId::SpinCircleGap), "3");
    EXPECT_FALSE(Visible(ControlId::BoxTexture));
    EXPECT_FALSE(Visible(ControlId::BoxSpare2));
    EXPECT_FALSE(platform.At(ControlId::BtnBatchStart).enabled);
    EXPECT_EQ(platform.TabCount(ControlId::PnlBatchMark), 2);
    EXPECT_EQ(platform.TabCount(ControlId::PnlTabs), 4);
    EXPECT_EQ(platform.At(ControlId::PnlTabs).tabs[3], "INFO");
    EXPECT_EQ(platform.pointer.x, 300);
    EXPECT_EQ(Text(ControlId::TxtInfo).rfind("Velinor V3.01\r\n\r\n", 0), 0u);
}

TEST_F(StartUp, SettingsAreReadAndShownOnlyWhenNameAndFolderAreBothSet) {
    TestFolder::Write("Settings.ini", "Language = English\r\nBildname = urlaub\r\nVerzeichnis = /fotos/\r\n");
    RunProgram();
    EXPECT_EQ(Text(ControlId::BtnOpen), "Open picture");
    EXPECT_TRUE(platform.ToolbarPressed(ToolbarItem::TbEnglish));
    EXPECT_EQ(Text(ControlId::TxtPictureName), "urlaub");
    EXPECT_EQ(Text(ControlId::TxtDefaultDir), "/fotos/");
    EXPECT_EQ(Text(ControlId::LstExplorer), "/fotos/");

    FakePlatform second;
    TestFolder::Write("Settings.ini", "Verzeichnis = /fotos/\r\n");
    Application(second, {}).Run();
    EXPECT_EQ(second.At(ControlId::TxtPictureName).text, "");
    EXPECT_EQ(second.At(ControlId::TxtDefaultDir).text, "");
    EXPECT_EQ(second.At(ControlId::CmbExplorer).text, "/fotos/");
    EXPECT_EQ(second.At(ControlId::LstExplorer).spec.pattern, "*.jpg;*.Jpeg;*.bmp;*.png");
}

TEST_F(StartUp, AnUnknownLanguageShowsTheGermanTexts) {
    TestFolder::Write("Settings.ini", "Language = english\r\n");   // compared with case
    RunProgram();
    EXPECT_EQ(Text(ControlId::BtnSave), "Bild speichern");
    EXPECT_TRUE(platform.ToolbarPressed(ToolbarItem::TbGerman));
}

TEST_F(StartUp, AMissingPictureLibraryEndsTheProgramBeforeAnyWindow) {
    std::filesystem::remove_all("data");
    EXPECT_NE(RunProgram(), 0);
    EXPECT_TRUE(platform.windowsOpened.empty());
    EXPECT_TRUE(platform.controls.empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "Datei fehlt");
    EXPECT_NE(platform.messages[0].text.find("image323"), std::string::npos);
    EXPECT_EQ(platform.messages[0].icon, platform::MessageIcon::Warning);
}

TEST_F(StartUp, OnlyNt5SystemsFadeInAndOut) {
    platform.os = {5, 1};
    Observe([](FakePlatform& p) {
        EXPECT_TRUE(p.windowsOpened[0].hidden);
        EXPECT_TRUE(p.windowShown[0]);
        EXPECT_EQ(p.opacities.size(), 19u);  // 0 before showing, then 0, 15, ... 255
        EXPECT_EQ(p.opacities.back(), 255);
    });
    EXPECT_EQ(RunProgram(), 0);
    ASSERT_EQ(platform.opacities.size(), 37u);
    EXPECT_EQ(platform.opacities[19], 255);
    EXPECT_EQ(platform.opacities[20], 240);
    EXPECT_EQ(platform.opacities.back(), 0);

    for (platform::OsVersion os : {platform::OsVersion{5, 0}, platform::OsVersion{5, 2}}) {
        FakePlatform nt5;
        nt5.os = os;
        Application(nt5, {}).Run();
        EXPECT_EQ(nt5.opacities.size(), 37u) << os.major << "." << os.minor;
    }
    for (platform::OsVersion os : {platform::OsVersion{5, 3}, platform::OsVersion{6, 0}, platform::OsVersion{4, 0}}) {
        FakePlatform other;
        other.os = os;
        Application(other, {}).Run();
        EXPECT_TRUE(other.opacities.empty());
        EXPECT_FALSE(other.windowsOpened.at(0).hidden);
    }
}

TEST(StartArgument, SurroundingQuotesAreRemoved) {
    EXPECT_EQ(StartArgumentOf({}), "");
    EXPECT_EQ(StartArgumentOf({"\"/a b/c.jpg\"", "second"}), "/a b/c.jpg");
    EXPECT_EQ(StartArgumentOf({"\""}), "\"");
    EXPECT_EQ(StartArgumentOf({"/plain"}), "/plain");
}

}  // namespace
}  // namespace velinor::app

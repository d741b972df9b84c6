#include <gtest/gtest.h>

#include <filesystem>

#include "ShellFixture.h"

namespace velinor::app {
namespace {

using namespace testing;

class LanguageSwitch : public testing::ShellFixture {};

TEST_F(LanguageSwitch, RelabelsAndRewritesTheSettingsKeepingNameAndFolder) {
    TestFolder::Write("settings.ini", "Bildname = urlaub\r\nVerzeichnis = /fotos/\r\n");
    Then([](RecordingPlatform& p) { p.UserToolbar(ToolbarItem::TbEnglish); });
    Then([](RecordingPlatform& p) {
        EXPECT_EQ(p.GetText(ControlId::BtnOpen), "Open picture");
        EXPECT_EQ(p.ItemText(ControlId::PnlTabs, 1), "Batch");
        EXPECT_EQ(p.ItemText(ControlId::PnlBatchMark, 0), "Text");
        EXPECT_EQ(p.GetText(ControlId::OptTextPos5), "Top right");
        EXPECT_EQ(p.GetText(ControlId::OptBatchLogoPos4), "Top left");
        EXPECT_EQ(p.ControlGeometry(ControlId::BtnFont).width, 100);
        EXPECT_NE(p.GetText(ControlId::TxtInfo).find("Stamps photos"), std::string::npos);
        EXPECT_TRUE(p.ToolbarPressed(ToolbarItem::TbEnglish));
        EXPECT_FALSE(p.ToolbarPressed(ToolbarItem::TbGerman));
    });
    RunProgram();
    EXPECT_EQ(TestFolder::Read("settings.ini"), "Language = English\r\nBildname = urlaub\r\nVerzeichnis = /fotos/\r\n");
    EXPECT_FALSE(std::filesystem::exists("Settings.ini")) << "both spellings must name one file";
    EXPECT_EQ(platform.windowsOpened.at(0).title, "Velinor V3.01");
}

TEST_F(LanguageSwitch, SwitchingBackGivesGermanTextsAndWidth) {
    Then([](RecordingPlatform& p) {
        p.UserToolbar(ToolbarItem::TbEnglish);
        p.UserToolbar(ToolbarItem::TbGerman);
    });
    RunProgram();
    EXPECT_EQ(Text(ControlId::BtnOpen), "Bild \xC3\xB6" "ffnen");
    EXPECT_EQ(platform.ControlGeometry(ControlId::BtnFont).width, 125);
    EXPECT_EQ(TestFolder::Read("Settings.ini"), "Language = German\r\nBildname = \r\nVerzeichnis = \r\n");
}

TEST_F(LanguageSwitch, TheButtonAlreadyPressedDoesNothing) {
    Then([](RecordingPlatform& p) { p.UserToolbar(ToolbarItem::TbGerman); });
    RunProgram();
    EXPECT_FALSE(std::filesystem::exists("Settings.ini"));
}

TEST_F(LanguageSwitch, GermanWithoutALanguageFileShowsErrorTexts) {
    Then([](RecordingPlatform& p) {
        std::filesystem::remove("lang.prf");
        p.UserToolbar(ToolbarItem::TbEnglish);
    });
    // Without the file the table stays as it was.
    Then([](RecordingPlatform& p) { EXPECT_EQ(p.GetText(ControlId::BtnOpen), "Bild \xC3\xB6" "ffnen"); });
    Then([](RecordingPlatform& p) { p.UserToolbar(ToolbarItem::TbGerman); });
    RunProgram();
    EXPECT_EQ(Text(ControlId::BtnOpen), "error");
}

class SaveSettings : public testing::ShellFixture {
protected:
    void Save() {
        Then([](RecordingPlatform& p) { p.UserClick(ControlId::BtnSaveSettings); });
    }
    void TypeName(const std::string& name) {
        Then([name](RecordingPlatform& p) { p.UserType(ControlId::TxtPictureName, name); });
    }
};

TEST_F(SaveSettings, AnEmptyNameOnlyWarns) {
    Save();
    RunProgram();
    EXPECT_FALSE(std::filesystem::exists("Settings.ini"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "Warnung");
    EXPECT_EQ(platform.messages[0].text, "Bitte geben Sie einen Namen f\xC3\xBCr die Ausgabebilder ein.");
}

TEST_F(SaveSettings, WritesNameAndChosenFolderButNoLanguage) {
    Then([](RecordingPlatform& p) { p.UserToolbar(ToolbarItem::TbEnglish); });
    platform.folderAnswers = {"/bilder/"};
    Then([](RecordingPlatform& p) { p.UserClick(ControlId::BtnDefaultDir); });
    Then([](RecordingPlatform& p) { EXPECT_EQ(p.GetText(ControlId::TxtDefaultDir), "/bilder/"); });
    TypeName("urlaub");
    Save();
    RunProgram();
    EXPECT_EQ(TestFolder::Read("Settings.ini"), "Bildname = urlaub\r\nVerzeichnis = /bilder/\r\n");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, platform::MessageIcon::Information);

    // The next start reads both and is German.
    RecordingPlatform next;
    RunProgramOn(next);
    EXPECT_EQ(next.GetText(ControlId::BtnOpen), "Bild \xC3\xB6" "ffnen");
    EXPECT_EQ(next.GetText(ControlId::TxtPictureName), "urlaub");
    EXPECT_EQ(next.GetText(ControlId::TxtDefaultDir), "/bilder/");
}

TEST_F(SaveSettings, WithoutAFolderChosenInThisRunNoFolderIsWritten) {
    TestFolder::Write("Settings.ini", "Bildname = alt\r\nVerzeichnis = /alt/\r\n");
    platform.folderAnswers = {""};   // cancelled
    Then([](RecordingPlatform& p) { p.UserClick(ControlId::BtnDefaultDir); });
    TypeName("neu");
    Save();
    RunProgram();
    EXPECT_EQ(TestFolder::Read("Settings.ini"), "Bildname = neu\r\n");
}

TEST_F(SaveSettings, ANameTheFileCannotHoldIsRefusedAndTheOldFileKept) {
    TestFolder::Write("Settings.ini", "Bildname = alt\r\n");
    TypeName("\xE6\x97\xA5\xE6\x9C\xAC");
    Save();
    RunProgram();
    EXPECT_EQ(TestFolder::Read("Settings.ini"), "Bildname = alt\r\n");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, platform::MessageIcon::Warning);
    EXPECT_NE(platform.messages[0].text.find("nicht gespeichert"), std::string::npos);
}

TEST_F(SaveSettings, AFileThatCannotBeCreatedIsReported) {
    std::filesystem::create_directory("Settings.ini");   // a folder in the file's place
    TypeName("urlaub");
    Save();
    RunProgram();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Die Einstellungen konnten nicht gespeichert werden.");
}

// The settings file is a link to a device that takes no data: every write fails, however the
// file is written, and the user is told that nothing was saved.
TEST_F(SaveSettings, AWriteThatFailsIsReportedAsNotSaved) {
    std::filesystem::create_symlink("/dev/full", "Settings.ini");
    TypeName("urlaub");
    Save();
    RunProgram();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(platform.messages[0].text, "Die Einstellungen konnten nicht gespeichert werden.");
}

}  // namespace
}  // namespace velinor::app

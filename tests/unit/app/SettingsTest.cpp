#include <gtest/gtest.h>

#include <filesystem>

#include "ShellFixture.h"

namespace velinor::app {
namespace {

using platform::ControlId;
using platform::ToolbarItem;
using testing::FakePlatform;
using testing::TestFolder;

class LanguageSwitch : public testing::ShellFixture {};

TEST_F(LanguageSwitch, RelabelsAndRewritesTheSettingsKeepingNameAndFolder) {
    TestFolder::Write("settings.ini", "Bildname = urlaub\r\nVerzeichnis = /fotos/\r\n");
    QueueToolbar(ToolbarItem::TbEnglish);
    Observe([](FakePlatform& p) {
        EXPECT_EQ(p.At(ControlId::BtnOpen).text, "Open picture");
        EXPECT_EQ(p.At(ControlId::PnlTabs).tabs[1], "Batch");
        EXPECT_EQ(p.At(ControlId::PnlBatchMark).tabs[0], "Text");
        EXPECT_EQ(p.At(ControlId::OptTextPos5).text, "Top right");
        EXPECT_EQ(p.At(ControlId::OptBatchLogoPos4).text, "Top left");
        EXPECT_EQ(p.At(ControlId::BtnFont).spec.geometry.width, 100);
        EXPECT_NE(p.At(ControlId::TxtInfo).text.find("Stamps photos"), std::string::npos);
        EXPECT_TRUE(p.ToolbarPressed(ToolbarItem::TbEnglish));
        EXPECT_FALSE(p.ToolbarPressed(ToolbarItem::TbGerman));
    });
    RunProgram();
    EXPECT_EQ(TestFolder::Read("settings.ini"), "Language = English\r\nBildname = urlaub\r\nVerzeichnis = /fotos/\r\n");
    EXPECT_FALSE(std::filesystem::exists("Settings.ini")) << "both spellings must name one file";
    EXPECT_EQ(platform.windowsOpened.at(0).title, "Velinor V3.01");
}

TEST_F(LanguageSwitch, SwitchingBackGivesGermanTextsAndWidth) {
    QueueToolbar(ToolbarItem::TbEnglish);
    QueueToolbar(ToolbarItem::TbGerman);
    RunProgram();
    EXPECT_EQ(Text(ControlId::BtnOpen), "Bild \xC3\xB6" "ffnen");
    EXPECT_EQ(platform.At(ControlId::BtnFont).spec.geometry.width, 125);
    EXPECT_EQ(TestFolder::Read("Settings.ini"), "Language = German\r\nBildname = \r\nVerzeichnis = \r\n");
}

TEST_F(LanguageSwitch, TheButtonAlreadyPressedDoesNothing) {
    QueueToolbar(ToolbarItem::TbGerman);
    RunProgram();
    EXPECT_FALSE(std::filesystem::exists("Settings.ini"));
}

TEST_F(LanguageSwitch, GermanWithoutALanguageFileShowsErrorTexts) {
    QueueToolbar(ToolbarItem::TbEnglish, [](FakePlatform&) { std::filesystem::remove("lang.prf"); });
    // Without the file the table stays as it was.
    Observe([](FakePlatform& p) { EXPECT_EQ(p.At(ControlId::BtnOpen).text, "Bild \xC3\xB6" "ffnen"); });
    QueueToolbar(ToolbarItem::TbGerman);
    RunProgram();
    EXPECT_EQ(Text(ControlId::BtnOpen), "error");
}

class SaveSettings : public testing::ShellFixture {
protected:
    void TypeName(const std::string& name) {
        QueueControl(ControlId::TxtPictureName, [name](FakePlatform& p) { p.At(ControlId::TxtPictureName).text = name; },
                     platform::kKindChange);
    }
};

TEST_F(SaveSettings, AnEmptyNameOnlyWarns) {
    QueueControl(ControlId::BtnSaveSettings);
    RunProgram();
    EXPECT_FALSE(std::filesystem::exists("Settings.ini"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "Warnung");
    EXPECT_EQ(platform.messages[0].text, "Bitte geben Sie einen Namen f\xC3\xBCr die Ausgabebilder ein.");
}

TEST_F(SaveSettings, WritesNameAndChosenFolderButNoLanguage) {
    QueueToolbar(ToolbarItem::TbEnglish);
    platform.folderAnswers = {"/bilder/"};
    QueueControl(ControlId::BtnDefaultDir);
    Observe([](FakePlatform& p) { EXPECT_EQ(p.At(ControlId::TxtDefaultDir).text, "/bilder/"); });
    TypeName("urlaub");
    QueueControl(ControlId::BtnSaveSettings);
    RunProgram();
    EXPECT_EQ(TestFolder::Read("Settings.ini"), "Bildname = urlaub\r\nVerzeichnis = /bilder/\r\n");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, platform::MessageIcon::Information);

    // The next start reads both and is German.
    FakePlatform next;
    Application(next, {}).Run();
    EXPECT_EQ(next.At(ControlId::BtnOpen).text, "Bild \xC3\xB6" "ffnen");
    EXPECT_EQ(next.At(ControlId::TxtPictureName).text, "urlaub");
    EXPECT_EQ(next.At(ControlId::TxtDefaultDir).text, "/bilder/");
}

TEST_F(SaveSettings, WithoutAFolderChosenInThisRunNoFolderIsWritten) {
    TestFolder::Write("Settings.ini", "Bildname = alt\r\nVerzeichnis = /alt/\r\n");
    platform.folderAnswers = {""};   // cancelled
    QueueControl(ControlId::BtnDefaultDir);
    TypeName("neu");
    QueueControl(ControlId::BtnSaveSettings);
    RunProgram();
    EXPECT_EQ(TestFolder::Read("Settings.ini"), "Bildname = neu\r\n");
}

TEST_F(SaveSettings, ANameTheFileCannotHoldIsRefusedAndTheOldFileKept) {
    TestFolder::Write("Settings.ini", "Bildname = alt\r\n");
    TypeName("\xE6\x97\xA5\xE6\x9C\xAC");
    QueueControl(ControlId::BtnSaveSettings);
    RunProgram();
    EXPECT_EQ(TestFolder::Read("Settings.ini"), "Bildname = alt\r\n");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, platform::MessageIcon::Warning);
    EXPECT_NE(platform.messages[0].text.find("nicht gespeichert"), std::string::npos);
}

TEST_F(SaveSettings, AFileThatCannotBeCreatedIsReported) {
    std::filesystem::create_directory("Settings.ini");   // a folder in the file's place
    TypeName("urlaub");
    QueueControl(ControlId::BtnSaveSettings);
    RunProgram();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Die Einstellungen konnten nicht gespeichert werden.");
}

// The settings file is a link to a device that takes no data: every write fails, however the
// file is written, and the user is told that nothing was saved.
TEST_F(SaveSettings, AWriteThatFailsIsReportedAsNotSaved) {
    std::filesystem::create_symlink("/dev/full", "Settings.ini");
    TypeName("urlaub");
    QueueControl(ControlId::BtnSaveSettings);
    RunProgram();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(platform.messages[0].text, "Die Einstellungen konnten nicht gespeichert werden.");
}

}  // namespace
}  // namespace velinor::app

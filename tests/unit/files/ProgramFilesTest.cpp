#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "files/ProgramFiles.h"

namespace velinor::files {
namespace {

namespace fs = std::filesystem;

Surroundings Installed(std::string programFolder, std::string xdg, std::string home) {
    return {std::move(programFolder), false, std::move(xdg), std::move(home)};
}

TEST(ProgramFiles, ARuntimeFolderKeepsEverythingInTheCurrentFolderAndTilesBesideTheProgram) {
    const ProgramFiles files = LayoutFor({"/opt/velinor/", true, "/home/anna/.cfg", "/home/anna"});
    EXPECT_FALSE(files.installed);
    EXPECT_EQ(files.languageFile, "lang.prf");
    EXPECT_EQ(files.settingsFile, "Settings.ini");
    EXPECT_EQ(files.settingsFolder, "");
    EXPECT_EQ(files.libraryFolder, "data/");
    EXPECT_EQ(files.textureFolder, "/opt/velinor/texturen/");
}

TEST(ProgramFiles, AnInstalledProgramReadsItsTreeAndKeepsTheSettingsInTheUsersConfigFolder) {
    for (const char* folder : {"/usr/bin/", "/usr/bin", "/usr/./bin/"}) {
        const ProgramFiles files = LayoutFor(Installed(folder, "", "/home/anna"));
        EXPECT_TRUE(files.installed) << folder;
        EXPECT_EQ(files.languageFile, "/usr/share/velinor/lang.prf") << folder;
        EXPECT_EQ(files.textureFolder, "/usr/share/velinor/texturen/") << folder;
        EXPECT_EQ(files.libraryFolder, "/usr/lib/velinor/") << folder;
        EXPECT_EQ(files.settingsFolder, "/home/anna/.config/velinor/") << folder;
        EXPECT_EQ(files.settingsFile, "/home/anna/.config/velinor/Settings.ini") << folder;
    }
    // A tree copied elsewhere is found from where its programs are.
    const ProgramFiles copied = LayoutFor(Installed("/srv/tools/velinor-3/bin/", "", "/root"));
    EXPECT_EQ(copied.languageFile, "/srv/tools/velinor-3/share/velinor/lang.prf");
    EXPECT_EQ(copied.libraryFolder, "/srv/tools/velinor-3/lib/velinor/");
}

TEST(ProgramFiles, XdgConfigHomeCountsOnlyAsAnAbsolutePath) {
    EXPECT_EQ(LayoutFor(Installed("/usr/bin/", "/data/cfg", "/home/anna")).settingsFile, "/data/cfg/velinor/Settings.ini");
    EXPECT_EQ(LayoutFor(Installed("/usr/bin/", "cfg", "/home/anna")).settingsFile,
              "/home/anna/.config/velinor/Settings.ini");
    // Without a home folder the settings are neither read nor written anywhere.
    const ProgramFiles homeless = LayoutFor(Installed("/usr/bin/", "", ""));
    EXPECT_EQ(homeless.settingsFile, "");
    EXPECT_EQ(homeless.settingsFolder, "");
}

class SettingsFolder : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velinor-files-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
    }
    void TearDown() override {
        Use({});
        fs::remove_all(root_);
    }
    static unsigned Mode(const fs::path& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
    fs::path root_;
};

TEST_F(SettingsFolder, IsMadePrivateWithItsMissingParentsOnlyWhenAsked) {
    const fs::path home = root_ / "home";
    fs::create_directory(home);
    Use(LayoutFor(Installed("/usr/bin/", "", home.string())));
    EXPECT_FALSE(fs::exists(home / ".config"));
    ASSERT_TRUE(MakeSettingsFolder());
    EXPECT_TRUE(fs::is_directory(home / ".config/velinor"));
    EXPECT_EQ(Mode(home / ".config"), 0700u);
    EXPECT_EQ(Mode(home / ".config/velinor"), 0700u);
    EXPECT_TRUE(MakeSettingsFolder()) << "a folder already there is fine";
}

TEST_F(SettingsFolder, FailsWhereAFileStandsInItsPlaceOrThereIsNoHome) {
    std::ofstream(root_ / "cfg") << "not a folder";
    Use(LayoutFor(Installed("/usr/bin/", (root_ / "cfg").string(), "/home/anna")));
    EXPECT_FALSE(MakeSettingsFolder());
    Use(LayoutFor(Installed("/usr/bin/", "", "")));
    EXPECT_FALSE(MakeSettingsFolder());
    Use({});   // a runtime folder needs none
    EXPECT_TRUE(MakeSettingsFolder());
}

TEST(ProgramFiles, LibrariesAreNamedInTheirFolderAndShownAsAUserWouldTypeThem) {
    Use({});
    EXPECT_EQ(LibraryPath("image323.so"), "data/image323.so");
    EXPECT_EQ(ShownLibraryFolder(), "./data/");
    Use(LayoutFor(Installed("/usr/bin/", "", "/root")));
    EXPECT_EQ(LibraryPath("nviewlib.so"), "/usr/lib/velinor/nviewlib.so");
    EXPECT_EQ(ShownLibraryFolder(), "/usr/lib/velinor/");
    Use({});
}

}  // namespace
}  // namespace velinor::files

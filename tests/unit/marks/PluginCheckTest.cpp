#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "marks/LogoRoutes.h"
#include "plugins/PluginHost.h"
#include "PluginTestSupport.h"
#include "plugins/SharedObjectCheck.h"

namespace velinor::marks {
namespace {

using plugins::IsSoundSharedObject;
using plugins::PluginLibrary;
using imageio::testing::ReadBytes;
using imageio::testing::ScratchFolder;
using imageio::testing::StagedPlugin;
using imageio::testing::WriteBytes;

std::vector<std::uint8_t> Head(std::vector<std::uint8_t> bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

TEST(PluginCheck, TheShippedLibrariesAreSound) {
    EXPECT_TRUE(IsSoundSharedObject(StagedPlugin("image323.so")));
    EXPECT_TRUE(IsSoundSharedObject(StagedPlugin("nviewlib.so")));
}

// Each of these crashed the program inside dlopen or at the first call, or would have.
TEST(PluginCheck, DamagedLibrariesAreRefusedBeforeLoading) {
    ScratchFolder folder;
    for (const char* name : {"image323.so", "nviewlib.so"}) {
        const std::vector<std::uint8_t> whole = ReadBytes(StagedPlugin(name));
        ASSERT_GT(whole.size(), 4096u);
        for (std::size_t size : {std::size_t{0}, std::size_t{1000}, whole.size() / 2, whole.size() - 1}) {
            const std::string path = folder.File("cut.so");
            WriteBytes(path, Head(whole, size));
            EXPECT_FALSE(IsSoundSharedObject(path)) << name << " cut to " << size;
            PluginLibrary library(path);
            EXPECT_FALSE(library.IsOpen()) << name << " cut to " << size;
        }
        // The same library for another machine (e_machine at offset 18).
        std::vector<std::uint8_t> foreign = whole;
        foreign[18] = 0x28;   // ARM
        foreign[19] = 0x00;
        WriteBytes(folder.File("foreign.so"), foreign);
        EXPECT_FALSE(IsSoundSharedObject(folder.File("foreign.so"))) << name;
    }
    WriteBytes(folder.File("text.so"), std::vector<std::uint8_t>(5000, 'x'));
    EXPECT_FALSE(IsSoundSharedObject(folder.File("text.so")));
    EXPECT_FALSE(IsSoundSharedObject(folder.Path().string()));   // a folder
    ASSERT_EQ(::mkfifo(folder.File("fifo.so").c_str(), 0600), 0);
    EXPECT_FALSE(IsSoundSharedObject(folder.File("fifo.so")));    // and no waiting for a writer
    EXPECT_FALSE(IsSoundSharedObject(folder.File("absent.so")));
}

TEST(PluginCheck, ALibraryWhoseEntryPointsAreDataIsRefused) {
    EXPECT_FALSE(IsSoundSharedObject(VELINOR_DATA_EXPORTS_LIBRARY));
    PluginLibrary library(VELINOR_DATA_EXPORTS_LIBRARY);
    EXPECT_FALSE(library.IsOpen());
}

// A damaged library behaves as a missing one for the logo routes too: no picture, no crash.
TEST(PluginCheck, LogoRoutesTreatADamagedLibraryAsMissing) {
    ScratchFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    std::filesystem::create_directory("data");
    WriteBytes("logo.gif", imageio::testing::SmallGif());
    WriteBytes("logo.pcx", imageio::testing::MakePcx(8, 1, 2, 1, 2, {{0, 1}}, std::vector<std::uint8_t>(768, 0)));
    render::ImageRegistry images;
    std::filesystem::copy_file(StagedPlugin("image323.so"), "data/image323.so");
    std::filesystem::copy_file(StagedPlugin("nviewlib.so"), "data/nviewlib.so");
    EXPECT_NE(LoadLogoPicture(images, 1, "logo.gif").handle, nullptr);   // sound libraries read both
    EXPECT_NE(LoadLogoPicture(images, 1, "logo.pcx").handle, nullptr);

    WriteBytes("data/image323.so", Head(ReadBytes(StagedPlugin("image323.so")), 1000));
    std::filesystem::remove("data/nviewlib.so");
    std::filesystem::copy_file(VELINOR_DATA_EXPORTS_LIBRARY, "data/nviewlib.so");
    EXPECT_EQ(LoadLogoPicture(images, 1, "logo.gif").handle, nullptr);
    EXPECT_EQ(LoadLogoPicture(images, 1, "logo.pcx").handle, nullptr);
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace velinor::marks

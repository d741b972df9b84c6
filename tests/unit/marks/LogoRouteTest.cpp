#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "imageio/DecodeLimits.h"
#include "imageio/FileNames.h"
#include "imageio/Writer.h"
#include "marks/LogoRoutes.h"
#include "PluginTestSupport.h"

namespace velinor::marks {
namespace {

using imageio::ExtensionPart;
using imageio::SavePicture;
using imageio::kEncoderBmp;
using imageio::kEncoderPng;
namespace testing = imageio::testing;

namespace fs = std::filesystem;
using render::MakeColor;
// Any numbers do: the routes store where their caller says.
constexpr int kLogo = 56;
constexpr int kOther = 3000;
constexpr int kPicker = 10000;
using testing::WriteBytes;

TEST(LogoExtension, TextAfterTheLastDotOfTheFilePart) {
    EXPECT_EQ(ExtensionPart("/pics/logo.gif"), "gif");
    EXPECT_EQ(ExtensionPart("/pics/logo.tar.GIF"), "GIF");
    EXPECT_EQ(ExtensionPart("/pics.old/logo"), "");
    EXPECT_EQ(ExtensionPart("logo"), "");
    EXPECT_EQ(ExtensionPart("logo."), "");
    EXPECT_EQ(ExtensionPart("\"/pics/logo.pcx\""), "pcx");
}

// Runs each test in a fresh current folder whose data/ holds the staged picture libraries.
class LogoLoading : public ::testing::Test {
protected:
    void SetUp() override {
        previous = fs::current_path();
        fs::current_path(folder.Path());
        fs::create_directory_symlink(fs::path(VELINOR_STAGE_DIR) / "data", "data");
    }
    void TearDown() override { fs::current_path(previous); }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = folder.File(name);
        WriteBytes(path, bytes);
        return path;
    }
    // The routes hand pixels over in memory: the folder holds only what the test wrote.
    bool OnlyWritten(std::size_t count) const { return folder.Names().size() == count + 1; }  // + data

    testing::ScratchFolder folder;
    fs::path previous;
    render::ImageRegistry images;
};

TEST_F(LogoLoading, GifGoesThroughTheLibraryAndTheTemporaryFile) {
    for (const char* name : {"logo.gif", "logo.GIF"}) {
        const LogoLoad load = LoadLogoPicture(images, kLogo, Write(name, testing::SmallGif()));
        ASSERT_NE(load.handle, nullptr) << name;
        EXPECT_EQ(load.keyed, 1);
        EXPECT_EQ(images.Find(kLogo), load.handle);
        EXPECT_EQ(load.handle->width, 4);
        EXPECT_EQ(load.handle->height, 3);
        EXPECT_EQ(load.handle->At(2, 1), MakeColor(10, 20, 30));  // the transparent index's colour
        EXPECT_EQ(load.handle->At(3, 2), MakeColor(255, 255, 0));
    }
    EXPECT_TRUE(OnlyWritten(2));
}

TEST_F(LogoLoading, ExtensionsOutsideTheTableTakeThePictureLoader) {
    // The picture loader knows no GIF: a ".Gif" logo does not load, and is not keyed.
    const LogoLoad gif = LoadLogoPicture(images, kLogo, Write("logo.Gif", testing::SmallGif()));
    EXPECT_EQ(gif.handle, nullptr);
    EXPECT_EQ(gif.keyed, 0);
    EXPECT_FALSE(images.HasImage(kLogo));

    const render::RasterImage picture = testing::Gradient(6, 5);
    for (const char* name : {"logo.png", "logo.tga", "logo.Pcx"}) {
        ASSERT_EQ(SavePicture(&picture, folder.File(name), kEncoderPng), 1);
        const LogoLoad load = LoadLogoPicture(images, kLogo, folder.File(name));
        ASSERT_NE(load.handle, nullptr) << name;
        EXPECT_EQ(load.keyed, 0) << name;
        EXPECT_EQ(load.handle->pixels, picture.pixels) << name;
    }
}

TEST_F(LogoLoading, IcoGoesThroughTheLibraryWhichTakesTheLargestImage) {
    testing::IconPicture small{16, 16, 24, std::vector<render::Color>(256, 1), {}};
    testing::IconPicture large{20, 18, 24, std::vector<render::Color>(360, MakeColor(9, 8, 7)), std::vector<std::uint8_t>(360, 0)};
    large.mask[0] = 1;
    const LogoLoad load = LoadLogoPicture(images, kLogo, Write("logo.ico", testing::MakeIco({small, large})));
    ASSERT_NE(load.handle, nullptr);
    EXPECT_EQ(load.keyed, 1);
    EXPECT_EQ(load.handle->width, 20);
    EXPECT_EQ(load.handle->height, 18);
    EXPECT_FALSE(load.handle->IsIcon());  // read back from a plain bitmap
    EXPECT_EQ(load.handle->At(0, 0), render::kBlack);
    EXPECT_EQ(load.handle->At(1, 0), MakeColor(9, 8, 7));
}

TEST_F(LogoLoading, PcxDecodesStraightIntoTheLogo) {
    images.NewImage(kOther, 5, 5);
    const std::vector<std::vector<std::uint8_t>> lines = {{1, 2, 3, 4, 5, 6, 7, 8, 9}};
    const auto pcx = testing::MakePcx(8, 3, 3, 1, 3, lines);
    const LogoLoad load = LoadLogoPicture(images, kLogo, Write("logo.PCX", pcx));
    ASSERT_NE(load.handle, nullptr);
    EXPECT_EQ(load.keyed, 1);
    EXPECT_EQ(images.Find(kLogo), load.handle);
    EXPECT_EQ(images.Find(kOther)->width, 5);  // another image is left as it was
    EXPECT_EQ(load.handle->pixels, (render::Pixels{MakeColor(1, 4, 7), MakeColor(2, 5, 8), MakeColor(3, 6, 9)}));
}

TEST_F(LogoLoading, FailedLogosLeaveNoLogoAndTouchNoOtherFile) {
    images.NewImage(kLogo, 2, 2);
    const LogoLoad broken = LoadLogoPicture(images, kLogo, Write("broken.pcx", {0x0A, 5, 1}));
    EXPECT_EQ(broken.handle, nullptr);
    EXPECT_EQ(broken.keyed, 1);
    EXPECT_FALSE(images.HasImage(kLogo));

    // A file named like the old temporary picture, even a link to a user's file, is neither
    // read nor written nor removed.
    WriteBytes(folder.File("victim.txt"), {'k', 'e', 'e', 'p'});
    fs::create_symlink(folder.File("victim.txt"), "~~temp");
    const LogoLoad gif = LoadLogoPicture(images, kLogo, Write("broken.gif", {'G', 'I', 'F', '8', '9', 'a', 1}));
    EXPECT_EQ(gif.handle, nullptr);
    EXPECT_FALSE(images.HasImage(kLogo));
    ASSERT_NE(LoadLogoPicture(images, kLogo, Write("good.gif", testing::SmallGif())).handle, nullptr);
    EXPECT_TRUE(fs::is_symlink("~~temp"));
    EXPECT_EQ(testing::ReadBytes(folder.File("victim.txt")), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(LoadLogoPicture(images, kLogo, folder.File("missing.ico")).handle, nullptr);
}

TEST_F(LogoLoading, MissingLibrariesGiveNoPicture) {
    fs::remove("data");
    const auto gif = Write("logo.gif", testing::SmallGif());
    EXPECT_EQ(LoadLogoPicture(images, kLogo, gif).handle, nullptr);
    const std::vector<std::vector<std::uint8_t>> lines = {{1, 2, 3}};
    EXPECT_EQ(LoadLogoPicture(images, kLogo, Write("logo.pcx", testing::MakePcx(8, 3, 1, 1, 1, lines))).handle, nullptr);
    EXPECT_FALSE(images.HasImage(kLogo));

    // A library without the expected entry point is no better than none.
    fs::create_directory("data");
    fs::copy_file(fs::path(VELINOR_STAGE_DIR) / "data" / "nviewlib.so", "data/image323.so");
    EXPECT_EQ(LoadLogoPicture(images, kLogo, gif).handle, nullptr);
}

// A logo the library decodes but whose copy does not fit in memory ends as "no logo", never as
// an abort: run in a child process under an address-space limit that holds one copy, not two.
TEST_F(LogoLoading, RunningOutOfMemoryGivesNoLogo) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator ends the process instead of failing an allocation";
#endif
    constexpr int kSide = 8000;  // 256 MB a copy
    std::vector<std::uint8_t> pcx = testing::MakePcx(8, 1, kSide, kSide, kSide, {});
    std::vector<std::uint8_t> data;
    for (long long left = static_cast<long long>(kSide) * kSide; left > 0; left -= 63) {
        data.push_back(static_cast<std::uint8_t>(0xC0 | std::min<long long>(left, 63)));
        data.push_back(0);
    }
    pcx.insert(pcx.begin() + 128, data.begin(), data.end());
    const std::string path = Write("huge.pcx", pcx);
    pcx = {};
    data = {};

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE) + (400ull << 20);
        const rlimit cap{limit, limit};
        ::setrlimit(RLIMIT_AS, &cap);
        const LogoLoad load = LoadLogoPicture(images, kLogo, path);
        ::_exit(load.handle == nullptr && !images.HasImage(kLogo) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the load ended the process";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// The libraries refuse a picture with more pixels than the program's limit, whatever limit the
// program runs with: a 40 x 30 PCX (1200 pixels) and the 4 x 3 GIF are read under limits that
// hold them and refused one pixel below; a hand-made PCX header declaring 20000 x 20000 is
// refused at the default limit.
TEST_F(LogoLoading, LibrariesHonourThePixelLimit) {
    std::vector<std::vector<std::uint8_t>> rows(30, std::vector<std::uint8_t>(40, 7));
    const std::string pcx = Write("logo.pcx", testing::MakePcx(8, 1, 40, 30, 40, rows));
    const std::string gif = Write("logo.gif", testing::SmallGif());

    imageio::SetPixelLimit(1200);
    EXPECT_NE(LoadLogoPicture(images, kLogo, pcx).handle, nullptr);
    imageio::SetPixelLimit(1199);
    EXPECT_EQ(LoadLogoPicture(images, kLogo, pcx).handle, nullptr);
    EXPECT_FALSE(images.HasImage(kLogo));
    imageio::SetPixelLimit(12);
    EXPECT_NE(LoadLogoPicture(images, kLogo, gif).handle, nullptr);
    imageio::SetPixelLimit(11);
    EXPECT_EQ(LoadLogoPicture(images, kLogo, gif).handle, nullptr);
    EXPECT_EQ(LoadLibraryPicture(images, kPicker, gif), nullptr);
    imageio::SetPixelLimit(imageio::kDefaultPixelLimit);
    EXPECT_NE(LoadLogoPicture(images, kLogo, gif).handle, nullptr);

    // 4 * 10^8 pixels, more than the default 2^28, in a file of a few bytes of picture data.
    std::vector<std::uint8_t> huge = testing::MakePcx(8, 1, 20000, 20000, 20000, {{0xC0 | 63, 0}});
    EXPECT_EQ(LoadLogoPicture(images, kLogo, Write("huge.pcx", huge)).handle, nullptr);
}

TEST_F(LogoLoading, LibraryRouteFillsAnyImageNumber) {
    const auto gif = Write("logo.gif", testing::SmallGif());
    ASSERT_NE(LoadLibraryPicture(images, kPicker, gif), nullptr);
    EXPECT_EQ(images.CurrentNumber(), kPicker);
    EXPECT_EQ(images.Find(kPicker)->At(3, 2), MakeColor(255, 255, 0));
    EXPECT_EQ(LoadLibraryPicture(images, kPicker, folder.File("missing.gif")), nullptr);
    EXPECT_FALSE(images.HasImage(kPicker));
}

TEST(LogoRouteChoice, ExactExtensionsOnly) {
    EXPECT_EQ(LogoRouteFor("/a/b.GIF").route, LogoRoute::Library);
    EXPECT_EQ(LogoRouteFor("/a/b.ICO").keyed, 1);
    EXPECT_EQ(LogoRouteFor("/a/b.pcx").route, LogoRoute::Pcx);
    for (const char* name : {"/a/b.Gif", "/a/b.Ico", "/a/b.Pcx", "/a/b.TGA", "/a/b.png", "/a.gif/b", "/a/gif"}) {
        EXPECT_EQ(LogoRouteFor(name).route, LogoRoute::Picture) << name;
        EXPECT_EQ(LogoRouteFor(name).keyed, 0) << name;
    }
}

}  // namespace
}  // namespace velinor::marks

#include <gtest/gtest.h>

#include <filesystem>

#include "imageio/LogoLoader.h"
#include "imageio/Writer.h"
#include "render/ImageNumbers.h"
#include "PluginTestSupport.h"

namespace velinor::imageio {
namespace {

namespace fs = std::filesystem;
using render::MakeColor;
using render::pic::PicLogo;
using render::pic::PicPcxBuffer;
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
class LogoRoute : public ::testing::Test {
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
    bool TemporaryLeft() const { return fs::exists(folder.Path() / kTemporaryPicture); }

    testing::ScratchFolder folder;
    fs::path previous;
    render::ImageRegistry images;
};

TEST_F(LogoRoute, GifGoesThroughTheLibraryAndTheTemporaryFile) {
    for (const char* name : {"logo.gif", "logo.GIF"}) {
        const LogoLoad load = LoadLogoPicture(images, Write(name, testing::SmallGif()));
        ASSERT_NE(load.handle, nullptr) << name;
        EXPECT_EQ(load.keyed, 1);
        EXPECT_EQ(images.Find(PicLogo), load.handle);
        EXPECT_EQ(load.handle->width, 4);
        EXPECT_EQ(load.handle->height, 3);
        EXPECT_EQ(load.handle->At(2, 1), MakeColor(10, 20, 30));  // the transparent index's colour
        EXPECT_EQ(load.handle->At(3, 2), MakeColor(255, 255, 0));
        EXPECT_FALSE(TemporaryLeft());
    }
}

TEST_F(LogoRoute, ExtensionsOutsideTheTableTakeThePictureLoader) {
    // The picture loader knows no GIF: a ".Gif" logo does not load, and is not keyed.
    const LogoLoad gif = LoadLogoPicture(images, Write("logo.Gif", testing::SmallGif()));
    EXPECT_EQ(gif.handle, nullptr);
    EXPECT_EQ(gif.keyed, 0);
    EXPECT_FALSE(images.HasImage(PicLogo));

    const render::RasterImage picture = testing::Gradient(6, 5);
    for (const char* name : {"logo.png", "logo.tga", "logo.Pcx"}) {
        ASSERT_EQ(SavePicture(&picture, folder.File(name), kEncoderPng), 1);
        const LogoLoad load = LoadLogoPicture(images, folder.File(name));
        ASSERT_NE(load.handle, nullptr) << name;
        EXPECT_EQ(load.keyed, 0) << name;
        EXPECT_EQ(load.handle->pixels, picture.pixels) << name;
    }
}

TEST_F(LogoRoute, IcoGoesThroughTheLibraryWhichTakesTheLargestImage) {
    testing::IconSpec small{16, 16, 24, std::vector<render::Color>(256, 1), {}};
    testing::IconSpec large{20, 18, 24, std::vector<render::Color>(360, MakeColor(9, 8, 7)), std::vector<std::uint8_t>(360, 0)};
    large.mask[0] = 1;
    const LogoLoad load = LoadLogoPicture(images, Write("logo.ico", testing::MakeIco({small, large})));
    ASSERT_NE(load.handle, nullptr);
    EXPECT_EQ(load.keyed, 1);
    EXPECT_EQ(load.handle->width, 20);
    EXPECT_EQ(load.handle->height, 18);
    EXPECT_FALSE(load.handle->IsIcon());  // read back from a plain bitmap
    EXPECT_EQ(load.handle->At(0, 0), render::kBlack);
    EXPECT_EQ(load.handle->At(1, 0), MakeColor(9, 8, 7));
}

TEST_F(LogoRoute, PcxIsCopiedFromItsBufferImage) {
    const std::vector<std::vector<std::uint8_t>> lines = {{1, 2, 3, 4, 5, 6, 7, 8, 9}};
    const auto pcx = testing::MakePcx(8, 3, 3, 1, 3, lines);
    const LogoLoad load = LoadLogoPicture(images, Write("logo.PCX", pcx));
    ASSERT_NE(load.handle, nullptr);
    EXPECT_EQ(load.keyed, 1);
    ASSERT_TRUE(images.HasImage(PicPcxBuffer));
    EXPECT_NE(images.Find(PicPcxBuffer), load.handle);
    EXPECT_EQ(load.handle->pixels, images.Find(PicPcxBuffer)->pixels);
    EXPECT_EQ(load.handle->pixels, (std::vector<render::Color>{MakeColor(1, 4, 7), MakeColor(2, 5, 8), MakeColor(3, 6, 9)}));
}

TEST_F(LogoRoute, FailedLogosLeaveNoLogoAndNoTemporaryFile) {
    images.NewImage(PicLogo, 2, 2);
    const LogoLoad broken = LoadLogoPicture(images, Write("broken.pcx", {0x0A, 5, 1}));
    EXPECT_EQ(broken.handle, nullptr);
    EXPECT_EQ(broken.keyed, 1);
    EXPECT_FALSE(images.HasImage(PicLogo));
    EXPECT_FALSE(images.HasImage(PicPcxBuffer));

    // A "~~temp" left from before must not be shown in place of a GIF that did not decode.
    const render::RasterImage stale = testing::Gradient(3, 3);
    ASSERT_EQ(SavePicture(&stale, kTemporaryPicture, kEncoderBmp), 1);
    const LogoLoad gif = LoadLogoPicture(images, Write("broken.gif", {'G', 'I', 'F', '8', '9', 'a', 1}));
    EXPECT_EQ(gif.handle, nullptr);
    EXPECT_FALSE(images.HasImage(PicLogo));
    EXPECT_FALSE(TemporaryLeft());
    EXPECT_EQ(LoadLogoPicture(images, folder.File("missing.ico")).handle, nullptr);
}

TEST_F(LogoRoute, MissingLibrariesGiveNoPicture) {
    fs::remove("data");
    images.NewImage(PicPcxBuffer, 3, 3);
    const auto gif = Write("logo.gif", testing::SmallGif());
    EXPECT_EQ(LoadLogoPicture(images, gif).handle, nullptr);
    const std::vector<std::vector<std::uint8_t>> lines = {{1, 2, 3}};
    EXPECT_EQ(LoadLogoPicture(images, Write("logo.pcx", testing::MakePcx(8, 3, 1, 1, 1, lines))).handle, nullptr);
    EXPECT_TRUE(images.HasImage(PicPcxBuffer));  // never reached the library: buffer untouched
    EXPECT_FALSE(images.HasImage(PicLogo));

    // A library without the expected entry point is no better than none.
    fs::create_directory("data");
    fs::copy_file(fs::path(VELINOR_STAGE_DIR) / "data" / "nviewlib.so", "data/image323.so");
    EXPECT_EQ(LoadLogoPicture(images, gif).handle, nullptr);
}

TEST_F(LogoRoute, PickerRouteKeepsTheTemporaryFile) {
    const auto gif = Write("logo.gif", testing::SmallGif());
    ASSERT_NE(LoadThroughTemporaryFile(images, render::pic::PicPicker, gif, true), nullptr);
    EXPECT_TRUE(TemporaryLeft());
    EXPECT_EQ(images.CurrentNumber(), render::pic::PicPicker);
    ASSERT_NE(LoadLogoPicture(images, gif).handle, nullptr);
    EXPECT_FALSE(TemporaryLeft());
}

}  // namespace
}  // namespace velinor::imageio

// LoadPicture and ImageFromMemory: recognition by content, the registry slot, and files
// that cannot be read.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "DecodeTestSupport.h"
#include "imageio/Loader.h"

namespace velinor::imageio {
namespace {

using decode_testing::Bytes;

std::string Seed(const std::string& name) { return std::string(VELINOR_SOURCE_DIR) + "/tests/fuzz/corpus/" + name; }

TEST(LoadPicture, FormatIsRecognisedByContentWhateverTheName) {
    decode_testing::TempFolder folder;
    const std::vector<std::pair<std::string, std::string>> files = {
        {"png/rgb8.png", "photo.jpg"}, {"bmp/pal4.bmp", "notes.txt"}, {"tga/rle24-top.tga", "picture.png"},
        {"jpeg/baseline.jpg", "no-extension"}, {"ico/bmp32.ico", "logo.bmp"}};
    for (const auto& [seed, name] : files) {
        std::filesystem::copy_file(Seed(seed), folder / name);
        render::ImageRegistry images;
        const render::ImageHandle handle = LoadPicture(images, 45, folder / name);
        ASSERT_NE(handle, nullptr) << seed;
        EXPECT_EQ(handle, images.Find(45));
        EXPECT_EQ(images.CurrentNumber(), 45);
        EXPECT_EQ(images.ImageWidth(), seed == "ico/bmp32.ico" ? 24 : 9) << seed;
        EXPECT_EQ(handle->IsIcon(), seed == "ico/bmp32.ico") << seed;
    }
}

TEST(LoadPicture, FailureLeavesTheNumberEmptyAndCurrent) {
    decode_testing::TempFolder folder;
    render::ImageRegistry images;
    ASSERT_NE(images.NewImage(57, 4, 4), nullptr);
    images.NewImage(3, 2, 2);
    EXPECT_EQ(LoadPicture(images, 57, folder / "missing.jpg"), nullptr);
    EXPECT_FALSE(images.HasImage(57));
    EXPECT_EQ(images.CurrentNumber(), 57);

    // A file starting with "BM" goes to the bitmap decoder only, even when the rest would
    // pass for a TGA (image type 2 at byte 2).
    Bytes bmTga = {'B', 'M', 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0x20, 1, 2, 3};
    decode_testing::WriteBytes(folder / "x.tga", bmTga);
    EXPECT_EQ(LoadPicture(images, 57, folder / "x.tga"), nullptr);
    bmTga[0] = 0;
    decode_testing::WriteBytes(folder / "x.tga", bmTga);
    EXPECT_NE(LoadPicture(images, 57, folder / "x.tga"), nullptr);

    for (const Bytes& content : {Bytes{}, Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0},
                                 Bytes{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 8, 0, 1}}) {
        decode_testing::WriteBytes(folder / "y", content);
        images.NewImage(57, 4, 4);
        EXPECT_EQ(LoadPicture(images, 57, folder / "y"), nullptr);
        EXPECT_FALSE(images.HasImage(57));
    }
    EXPECT_EQ(LoadPicture(images, 57, folder / ""), nullptr) << "a folder is not a picture";
    EXPECT_TRUE(images.HasImage(3));
}

TEST(ReadWholeFile, SaysWhyAFileIsNotRead) {
    decode_testing::TempFolder folder;
    decode_testing::WriteBytes(folder / "f", Bytes(100, 1));
    EXPECT_EQ(ReadWholeFile(folder / "f", 100).value.value_or(Bytes{}).size(), 100u);
    EXPECT_EQ(ReadWholeFile(folder / "f", 99).failure, ReadFailure::TooLarge);
    EXPECT_EQ(ReadWholeFile(folder / "absent").failure, ReadFailure::Missing);
    EXPECT_EQ(ReadWholeFile(folder / "f/inside").failure, ReadFailure::Missing);
    EXPECT_EQ(ReadWholeFile(folder / "").failure, ReadFailure::Folder);
    EXPECT_EQ(ReadWholeFile("/dev/null").failure, ReadFailure::NotRegularFile);
    // A FIFO without a writer is refused at once rather than waited on.
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(ReadWholeFile(folder / "fifo").failure, ReadFailure::NotRegularFile);
}

TEST(ImageFromMemory, DecodesStoresAndEmptiesOnFailure) {
    render::ImageRegistry images;
    const Bytes bmp = decode_testing::ReadBytes(Seed("bmp/rgb24.bmp"));
    const render::ImageHandle handle = ImageFromMemory(images, 155, bmp);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(images.CurrentNumber(), 155);
    EXPECT_EQ(images.ImageHeight(), 6);

    // Icon data gives the first image of the directory, not the largest.
    const Bytes icon = decode_testing::ReadBytes(Seed("ico/bmp32.ico"));
    const render::ImageHandle first = ImageFromMemory(images, 159, icon);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->IsIcon());
    EXPECT_EQ(first->width, 16);

    EXPECT_EQ(ImageFromMemory(images, 155, Bytes(bmp.begin(), bmp.begin() + 60)), nullptr);
    EXPECT_FALSE(images.HasImage(155));
    EXPECT_EQ(images.CurrentNumber(), 155);
}

}  // namespace
}  // namespace velinor::imageio

#include <gtest/gtest.h>

#include "imageio/BgrBuffer.h"
#include "imageio/Writer.h"
#include "WriteTestSupport.h"

namespace velinor::imageio {
namespace {

using testing::Gradient;
using testing::ReadBytes;
using testing::ScratchFolder;

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint32_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | b[at + 1] << 8; }

TEST(WriteBmp, RowStrideIsTheRowRoundedUpToFourBytes) {
    EXPECT_EQ(BgrStride(1), 4u);
    EXPECT_EQ(BgrStride(2), 8u);
    EXPECT_EQ(BgrStride(3), 12u);
    EXPECT_EQ(BgrStride(4), 12u);
    EXPECT_EQ(BgrStride(5), 16u);
    EXPECT_EQ(BgrStride(32767), 98304u);
}

TEST(WriteBmp, HeaderFieldsDescribeAnUncompressedBottomUp24BitPicture) {
    ScratchFolder folder;
    const std::string path = folder.File("five.bmp");
    const render::RasterImage image = Gradient(5, 3);
    ASSERT_EQ(SavePicture(&image, path, kEncoderBmp), 1);
    const auto b = ReadBytes(path);
    const std::uint32_t stride = 16;
    ASSERT_EQ(b.size(), 54 + stride * 3);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), b.size());
    EXPECT_EQ(Le32(b, 6), 0u);  // both reserved words
    EXPECT_EQ(Le32(b, 10), 54u);
    EXPECT_EQ(Le32(b, 14), 40u);
    EXPECT_EQ(Le32(b, 18), 5u);
    EXPECT_EQ(Le32(b, 22), 3u);
    EXPECT_EQ(Le16(b, 26), 1u);
    EXPECT_EQ(Le16(b, 28), 24u);
    EXPECT_EQ(Le32(b, 30), 0u);
    EXPECT_EQ(Le32(b, 34), stride * 3);
    for (std::size_t at = 38; at < 54; at += 4) EXPECT_EQ(Le32(b, at), 0u) << "offset " << at;
}

TEST(WriteBmp, RowsAreBlueGreenRedBottomFirstWithZeroPadding) {
    ScratchFolder folder;
    const std::string path = folder.File("rows.bmp");
    render::RasterImage image;
    image.width = 1;
    image.height = 2;
    image.pixels = {render::MakeColor(1, 2, 3), render::MakeColor(4, 5, 6)};  // top, bottom
    ASSERT_EQ(SavePicture(&image, path, kEncoderBmp), 1);
    const auto b = ReadBytes(path);
    ASSERT_EQ(b.size(), 62u);
    const std::vector<std::uint8_t> rows(b.begin() + 54, b.end());
    EXPECT_EQ(rows, (std::vector<std::uint8_t>{6, 5, 4, 0, 3, 2, 1, 0}));
}

TEST(WriteBmp, OnePixelPictureIs58Bytes) {
    ScratchFolder folder;
    const std::string path = folder.File("dot.bmp");
    const render::RasterImage image = Gradient(1, 1);
    ASSERT_EQ(SavePicture(&image, path, kEncoderBmp), 1);
    EXPECT_EQ(ReadBytes(path).size(), 58u);
}

TEST(WriteBmp, IconIsWrittenWithItsColourPixels) {
    ScratchFolder folder;
    const std::string path = folder.File("icon.bmp");
    render::RasterImage icon = Gradient(2, 1);
    icon.mask = {0, 1};
    ASSERT_EQ(SavePicture(&icon, path, kEncoderBmp), 1);
    const auto b = ReadBytes(path);
    ASSERT_EQ(b.size(), 62u);
    EXPECT_EQ(b[54], render::BlueOf(icon.pixels[0]));
    EXPECT_EQ(b[56], render::RedOf(icon.pixels[0]));
}

TEST(WriteBmp, RegistryNumberFormWritesThatImage) {
    ScratchFolder folder;
    render::ImageRegistry images;
    images.NewImage(64, 7, 2);
    EXPECT_EQ(SavePicture(images, 64, folder.File("result.bmp"), kEncoderBmp), 1);
    EXPECT_EQ(ReadBytes(folder.File("result.bmp")).size(), 54u + 24u * 2);
    EXPECT_EQ(SavePicture(images, 65, folder.File("missing.bmp"), kEncoderBmp), 0);
}

}  // namespace
}  // namespace velinor::imageio

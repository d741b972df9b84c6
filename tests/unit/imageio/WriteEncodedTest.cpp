#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "imageio/JpegWriter.h"
#include "imageio/Writer.h"
#include "DecodeTestSupport.h"
#include "WriteTestSupport.h"

namespace velinor::imageio {
namespace {

using testing::DecodeWithImageMagick;
using testing::Gradient;
using testing::ReadBytes;
using testing::RgbOf;
using testing::ScratchFolder;

// The codes the program's callers pass: 0, the bytes "JPEG" and the bytes "PNG\0" read as a
// little-endian number; each writes a file that starts with its format's signature.
TEST(WriteEncoded, EachEncoderCodeWritesItsFormat) {
    ScratchFolder folder;
    const render::RasterImage image = Gradient(4, 4);
    const struct {
        std::uint32_t code;
        std::vector<std::uint8_t> signature;
    } formats[] = {{0, {'B', 'M'}}, {0x4745504Au, {0xFF, 0xD8, 0xFF}}, {0x00474E50u, {0x89, 'P', 'N', 'G'}}};
    for (const auto& format : formats) {
        const std::string path = folder.File("out");
        ASSERT_EQ(SavePicture(&image, path, format.code), 1) << format.code;
        const auto bytes = ReadBytes(path);
        ASSERT_GE(bytes.size(), format.signature.size());
        EXPECT_TRUE(std::equal(format.signature.begin(), format.signature.end(), bytes.begin())) << format.code;
    }
}

TEST(WriteEncoded, UnknownCodesAndMissingInputWriteNothing) {
    ScratchFolder folder;
    const render::RasterImage image = Gradient(4, 4);
    EXPECT_EQ(SavePicture(&image, folder.File("a.gif"), 0x46494700u), 0);
    EXPECT_EQ(SavePicture(&image, folder.File("b"), kEncoderPng + 1), 0);
    EXPECT_EQ(SavePicture(nullptr, folder.File("c.bmp"), kEncoderBmp), 0);
    EXPECT_EQ(SavePicture(&image, "", kEncoderBmp), 0);
    render::RasterImage empty;
    EXPECT_EQ(SavePicture(&empty, folder.File("d.png"), kEncoderPng), 0);
    EXPECT_TRUE(folder.Names().empty());
}

class WriteEncodedImageMagick : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(decode_testing::ToolInstalled("convert"));
        ASSERT_TRUE(decode_testing::ToolInstalled("identify"));
    }
    ScratchFolder folder;
};

TEST_F(WriteEncodedImageMagick, BmpAndPngReadBackExactly) {
    for (int width : {1, 2, 3, 4, 5, 37}) {
        const render::RasterImage image = Gradient(width, 9);
        for (auto [encoder, name] : {std::pair{kEncoderBmp, "p.bmp"}, std::pair{kEncoderPng, "p.png"}}) {
            const std::string path = folder.File(name);
            ASSERT_EQ(SavePicture(&image, path, encoder), 1);
            const auto decoded = DecodeWithImageMagick(path);
            EXPECT_EQ(decoded.width, width) << name;
            EXPECT_EQ(decoded.height, 9) << name;
            EXPECT_EQ(decoded.rgb, RgbOf(image)) << name << " width " << width;
        }
    }
}

TEST_F(WriteEncodedImageMagick, PngIsEightBitRgbWithoutInterlace) {
    const render::RasterImage image = Gradient(3, 3);
    const std::string path = folder.File("p.png");
    ASSERT_EQ(SavePicture(&image, path, kEncoderPng), 1);
    const auto b = ReadBytes(path);
    ASSERT_GT(b.size(), 33u);
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "IHDR");
    EXPECT_EQ(b[24], 8);   // bit depth
    EXPECT_EQ(b[25], 2);   // colour type RGB
    EXPECT_EQ(b[28], 0);   // no interlace
}

TEST_F(WriteEncodedImageMagick, JpegHasTheSizeAndRoughlyThePixels) {
    render::RasterImage image;
    image.width = 64;
    image.height = 64;
    // Flat halves survive compression closely: red on top, blue below.
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) image.pixels.push_back(y < 32 ? render::MakeColor(220, 30, 20) : render::MakeColor(10, 40, 200));
    const std::string path = folder.File("p.jpg");
    ASSERT_EQ(SavePicture(&image, path, kEncoderJpeg, 10), 1);
    const auto decoded = DecodeWithImageMagick(path);
    ASSERT_EQ(decoded.width, 64);
    ASSERT_EQ(decoded.height, 64);
    const auto expected = RgbOf(image);
    ASSERT_EQ(decoded.rgb.size(), expected.size());
    // Rows next to the colour edge are left out: decoders smooth subsampled colour across it.
    int worst = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::size_t row = i / (3 * 64);
        if (row >= 29 && row <= 34) continue;
        worst = std::max(worst, std::abs(decoded.rgb[i] - expected[i]));
    }
    EXPECT_LE(worst, 24);
}

// The luminance quantisation table of a written JPEG, in file order.
std::vector<int> FirstQuantTable(const std::vector<std::uint8_t>& b) {
    for (std::size_t i = 2; i + 4 < b.size(); ++i) {
        if (b[i] == 0xFF && b[i + 1] == 0xDB) {
            const int precision = b[i + 4] >> 4;
            std::vector<int> table;
            for (int k = 0; k < 64; ++k) {
                const std::size_t at = i + 5 + (precision ? 2 * k : k);
                table.push_back(precision ? (b[at] << 8 | b[at + 1]) : b[at]);
            }
            return table;
        }
    }
    return {};
}

TEST(WriteJpegQuality, QualityIsClampedAndScaledByTen) {
    EXPECT_EQ(JpegLibraryQuality(-5), 0);
    EXPECT_EQ(JpegLibraryQuality(0), 0);
    EXPECT_EQ(JpegLibraryQuality(7), 70);
    EXPECT_EQ(JpegLibraryQuality(10), 100);
    EXPECT_EQ(JpegLibraryQuality(99), 100);

    ScratchFolder folder;
    const render::RasterImage image = Gradient(16, 16);
    auto tableAt = [&](int quality) {
        const std::string path = folder.File("q" + std::to_string(quality) + ".jpg");
        EXPECT_EQ(SavePicture(&image, path, kEncoderJpeg, quality), 1);
        return FirstQuantTable(ReadBytes(path));
    };
    const auto best = tableAt(10);
    ASSERT_EQ(best.size(), 64u);
    for (int q : best) EXPECT_EQ(q, 1);
    EXPECT_EQ(tableAt(25), best);
    // Without baseline forcing, quality 1 keeps quantisers above 255 (16-bit tables).
    const auto worst = tableAt(0);
    ASSERT_EQ(worst.size(), 64u);
    EXPECT_GT(*std::max_element(worst.begin(), worst.end()), 255);
    EXPECT_EQ(tableAt(-4), worst);
    // The default quality is 7, library quality 70: the first standard entry 16 becomes 10.
    const std::string path = folder.File("default.jpg");
    ASSERT_EQ(SavePicture(&image, path, kEncoderJpeg), 1);
    EXPECT_EQ(FirstQuantTable(ReadBytes(path)), tableAt(7));
    EXPECT_EQ(tableAt(7).front(), 10);
}

}  // namespace
}  // namespace velinor::imageio

// A JPEG converted to JPEG or BMP a band of rows at a time must be the very file the program
// writes after decoding the whole picture; files that need the whole picture, and broken ones, are left
// to the whole-picture path with the output untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "DecodeTestSupport.h"
#include "imageio/JpegConvert.h"
#include "imageio/Loader.h"
#include "imageio/Writer.h"

namespace velinor::imageio {
namespace {

using decode_testing::Bytes;

class JpegRowByRow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!decode_testing::HaveTool("convert")) GTEST_SKIP() << "ImageMagick convert is not installed";
        decode_testing::WritePatternPam(folder_ / "p.pam", 61, 45, false);
    }
    // The pattern as a JPEG made by ImageMagick with the given options.
    std::string Make(const std::string& name, const std::string& options) {
        const std::string path = folder_ / name;
        EXPECT_TRUE(decode_testing::Run("convert '" + (folder_ / "p.pam") + "' " + options + " '" + path + "'"));
        return path;
    }
    decode_testing::TempFolder folder_;
};

TEST_F(JpegRowByRow, WritesTheBytesOfDecodingTheWholePictureAndSavingIt) {
    const std::string kinds[][2] = {
        {"420.jpg", "-quality 90 -sampling-factor 2x2"},   // odd sizes: partial blocks both ways
        {"422.jpg", "-quality 75 -sampling-factor 2x1"},
        {"444.jpg", "-quality 98 -sampling-factor 1x1"},
        {"progressive.jpg", "-quality 85 -interlace JPEG"},
        {"grey.jpg", "-colorspace Gray -quality 90"},
    };
    for (const auto& [name, options] : kinds) {
        const std::string source = Make(name, options);
        const std::optional<render::RasterImage> whole = DecodePictureFile(source).image;
        ASSERT_TRUE(whole.has_value()) << name;
        for (int quality : {0, 7, 10}) {
            const std::string streamed = folder_ / "streamed.jpg", saved = folder_ / "saved.jpg";
            ASSERT_TRUE(ConvertJpegRowByRow(source, streamed, kEncoderJpeg, quality)) << name;
            ASSERT_EQ(SavePicture(&*whole, saved, kEncoderJpeg, quality), 1);
            EXPECT_EQ(decode_testing::ReadBytes(streamed), decode_testing::ReadBytes(saved))
                << name << " at quality " << quality;
        }
        // A BMP, written bottom up in bands (45 rows: two whole bands and a part).
        const std::string streamed = folder_ / "streamed.bmp", saved = folder_ / "saved.bmp";
        ASSERT_TRUE(ConvertJpegRowByRow(source, streamed, kEncoderBmp, 7)) << name;
        ASSERT_EQ(SavePicture(&*whole, saved, kEncoderBmp), 1);
        EXPECT_EQ(decode_testing::ReadBytes(streamed), decode_testing::ReadBytes(saved)) << name;
    }
}

TEST_F(JpegRowByRow, LeavesFilesThatNeedTheWholePictureAndBrokenOnes) {
    const Bytes upright = decode_testing::ReadBytes(Make("upright.jpg", "-quality 90"));
    // An EXIF block turning the picture a quarter: the whole picture must be turned first.
    const Bytes exif = {0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                  0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
    Bytes oriented(upright.size() + exif.size());
    std::copy(exif.begin(), exif.end(), std::copy_n(upright.begin(), 2, oriented.begin()));
    std::copy(upright.begin() + 2, upright.end(), oriented.begin() + 2 + static_cast<std::ptrdiff_t>(exif.size()));
    decode_testing::WriteBytes(folder_ / "oriented.jpg", oriented);
    ASSERT_EQ(DecodePictureFile(folder_ / "oriented.jpg").image->width, 45) << "the EXIF block should turn the picture";
    decode_testing::WriteBytes(folder_ / "cut.jpg", Bytes(upright.begin(), upright.begin() + upright.size() / 2));
    std::filesystem::copy_file(folder_ / "p.pam", folder_ / "pam-named.jpg");

    const std::string output = folder_ / "out.jpg";
    const Bytes kept = {'k', 'e', 'p', 't'};
    for (const std::string name : {"oriented.jpg", "cut.jpg", "pam-named.jpg"}) {
        decode_testing::WriteBytes(output, kept);
        EXPECT_FALSE(ConvertJpegRowByRow(folder_ / name, output, kEncoderJpeg, 7)) << name;
        EXPECT_EQ(decode_testing::ReadBytes(output), kept) << name;
    }
    const std::string cmyk = Make("cmyk.jpg", "-colorspace CMYK -quality 90");
    EXPECT_FALSE(ConvertJpegRowByRow(cmyk, output, kEncoderBmp, 7));
    EXPECT_EQ(decode_testing::ReadBytes(output), kept);
    EXPECT_FALSE(ConvertJpegRowByRow(folder_ / "missing.jpg", output, kEncoderBmp, 7));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(output).parent_path())) ++files;
    EXPECT_EQ(files, 7) << "a temporary file was left behind";  // the six pictures made above and out.jpg
    EXPECT_FALSE(ConvertJpegRowByRow(folder_ / "upright.jpg", output, kEncoderPng, 7)) << "a PNG is not written here";
}

}  // namespace
}  // namespace velinor::imageio

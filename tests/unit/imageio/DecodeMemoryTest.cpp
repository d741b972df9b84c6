// What decoding costs in memory, and files built to make it cost more: each picture is
// decoded into one store, files are judged by their head before they are read, and pictures
// over the pixel limit are refused with their size.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "DecodeTestSupport.h"
#include "tests/support/PeakMemory.h"
#include "imageio/JpegDecoder.h"
#include "imageio/Loader.h"
#include "imageio/TgaDecoder.h"
#include "plugins/PluginApi.h"

namespace velinor::imageio {
namespace {

using decode_testing::Bytes;
using decode_testing::Put16;

constexpr long long kMiB = 1 << 20;

using testing_support::PeakGrowth;
constexpr bool kMeasurable = testing_support::kPeakMeasurable;

#define EXPECT_PEAK_AT_MOST(growth, limit)                                                     \
    do {                                                                                       \
        if (kMeasurable && (growth) >= 0) {                                                    \
            EXPECT_LE((growth), (limit)) << "peak " << (growth) / kMiB << " MiB";              \
        }                                                                                      \
    } while (false)

// A bottom-up run-length TGA whose stored row r is one colour made from r.
Bytes BottomUpRunLengthTga(int width, int height) {
    Bytes out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16(out, static_cast<unsigned>(width));
    Put16(out, static_cast<unsigned>(height));
    out.push_back(24);
    out.push_back(0);  // origin at the bottom left
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; x += 128) {
            out.push_back(0x80 | 127);  // a run of 128 pixels, blue, green, red
            out.insert(out.end(), {7, static_cast<std::uint8_t>(row >> 8), static_cast<std::uint8_t>(row)});
        }
    }
    return out;
}

TEST(DecodeMemory, BottomUpRunLengthTgaIsTurnedInItsOwnStore) {
    constexpr int kWidth = 8192;
    constexpr int kHeight = 4096;
    const Bytes file = BottomUpRunLengthTga(kWidth, kHeight);
    std::optional<render::RasterImage> image;
    const long long growth = PeakGrowth([&] { image = DecodeTga(file); });
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, kWidth);
    ASSERT_EQ(image->height, kHeight);
    // Picture row y is stored row height-1-y.
    for (int y : {0, 1, 255, 256, 2047, 2048, kHeight - 1}) {
        const int stored = kHeight - 1 - y;
        for (int x : {0, 127, 128, kWidth - 1}) {
            EXPECT_EQ(image->At(x, y), render::MakeColor(stored & 0xFF, stored >> 8, 7)) << x << "," << y;
        }
    }
    const long long picture = 4LL * kWidth * kHeight;
    EXPECT_PEAK_AT_MOST(growth, picture + picture / 8 + 8 * kMiB);
}

// A GIF frame of width x height whose image data is pseudo-random bytes.
Bytes RandomDataGif(int width, int height, std::size_t dataBytes) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, static_cast<unsigned>(width));
    Put16(out, static_cast<unsigned>(height));
    out.insert(out.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});  // two-colour global palette
    out.push_back(',');
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<unsigned>(width));
    Put16(out, static_cast<unsigned>(height));
    out.push_back(0);
    out.push_back(8);  // LZW code size
    std::uint32_t state = 12345;
    for (std::size_t written = 0; written < dataBytes; written += 255) {
        out.push_back(255);
        for (int i = 0; i < 255; ++i) {
            state = state * 1103515245u + 12345u;
            out.push_back(static_cast<std::uint8_t>(state >> 24));
        }
    }
    out.insert(out.end(), {0, ';'});
    return out;
}

TEST(DecodeMemory, RandomGifDataFailsBeforeAFrameIsAllocated) {
    // The GIF decoder lives in the staged picture library; opened directly, as the program does.
    void* library = ::dlopen(VELINOR_STAGE_DIR "/data/image323.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    const auto load = reinterpret_cast<VelinorLoadImageFileFn>(::dlsym(library, "LoadImageFile"));
    ASSERT_NE(load, nullptr);
    decode_testing::TempFolder folder;
    // 16384 x 8192 pixels would take 512 MiB; 26 KB of LZW data could in theory fill them.
    decode_testing::WriteBytes(folder / "random.gif", RandomDataGif(16384, 8192, 26 * 1024));
    VelinorBitmap* bitmap = nullptr;
    const long long growth = PeakGrowth([&] { bitmap = load(0, (folder / "random.gif").c_str()); });
    EXPECT_EQ(bitmap, nullptr);
    EXPECT_PEAK_AT_MOST(growth, 16 * kMiB);
    ::dlclose(library);
}

TEST(DecodeMemory, OrientedJpegIsTurnedUprightWithoutASecondStore) {
    ASSERT_TRUE(decode_testing::ToolInstalled("convert"));
    decode_testing::TempFolder folder;
    decode_testing::WritePatternPam(folder / "p.pam", 2000, 1500, false);
    ASSERT_TRUE(decode_testing::Run("convert '" + (folder / "p.pam") + "' '" + (folder / "o.jpg") + "'"));
    const Bytes upright = decode_testing::ReadBytes(folder / "o.jpg");
    // An EXIF block (little-endian TIFF, one entry) saying: turn a quarter clockwise.
    const Bytes exif = {0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                        0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
    Bytes file(upright.begin(), upright.begin() + 2);
    file.insert(file.end(), exif.begin(), exif.end());
    file.insert(file.end(), upright.begin() + 2, upright.end());
    std::optional<render::RasterImage> image;
    const long long growth = PeakGrowth([&] { image = DecodeJpeg(file); });
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, 1500) << "the file must carry a quarter-turn orientation";
    const long long picture = 4LL * 2000 * 1500;
    EXPECT_PEAK_AT_MOST(growth, picture + picture / 10 + 4 * kMiB);
}

// A file of size bytes whose head is head and the rest a hole, so that no disk is spent.
void WriteSparse(const std::string& path, const Bytes& head, std::uintmax_t size) {
    decode_testing::WriteBytes(path, head);
    std::filesystem::resize_file(path, size);
}

Bytes PngHead(std::uint32_t width, std::uint32_t height) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t v : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
    out.insert(out.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
    return out;
}

Bytes BmpHead(std::int32_t width, std::int32_t height) {
    decode_testing::BmpFields fields;
    fields.width = width;
    fields.height = height;
    fields.rows = {};
    Bytes bmp = decode_testing::BuildBmp(fields);
    return Bytes(bmp.begin(), bmp.begin() + 54);
}

decode_testing::BmpFields OnePixelBmp() {
    decode_testing::BmpFields fields;
    fields.rows = {{1, 2, 3}};
    return fields;
}

TEST(LoadLimits, HugeFilesWithSmallOrBrokenHeadsAreRefusedUnread) {
    decode_testing::TempFolder folder;
    const std::uintmax_t kHuge = std::uintmax_t{1000} << 20;
    struct Case {
        const char* name;
        Bytes head;
        LoadFailure::Kind kind;
    };
    const Case cases[] = {
        {"small.png", PngHead(640, 480), LoadFailure::Kind::FileTooLarge},
        {"small.bmp", BmpHead(640, 480), LoadFailure::Kind::FileTooLarge},
        {"zeros.bin", Bytes(64, 0), LoadFailure::Kind::NotAPicture},
    };
    for (const Case& c : cases) {
        WriteSparse(folder / c.name, c.head, kHuge);
        LoadResult result;
        const long long growth = PeakGrowth([&] { result = DecodePictureFile(folder / c.name); });
        EXPECT_FALSE(result.image.has_value()) << c.name;
        EXPECT_EQ(result.failure.kind, c.kind) << c.name;
        EXPECT_PEAK_AT_MOST(growth, 4 * kMiB);
    }
    // A picture of plausible size for its header still decodes.
    decode_testing::WriteBytes(folder / "ok.bmp", decode_testing::BuildBmp(OnePixelBmp()));
    const LoadResult ok = DecodePictureFile(folder / "ok.bmp");
    ASSERT_TRUE(ok.image.has_value());
    EXPECT_EQ(ok.image->pixels[0], render::MakeColor(3, 2, 1));
    EXPECT_EQ(ok.failure.kind, LoadFailure::Kind::None);
}

class PixelLimitRefusal : public ::testing::Test {
protected:
    void TearDown() override { SetPixelLimit(kDefaultPixelLimit); }
    decode_testing::TempFolder folder_;
};

TEST_F(PixelLimitRefusal, PicturesOverTheLimitAreRefusedWithTheirSize) {
    // The default allows 2^28 pixels: 20000 x 20000 is over it, whatever the format.
    WriteSparse(folder_ / "big.bmp", BmpHead(20000, 20000), 54 + 60000ull * 20000);
    const LoadResult big = DecodePictureFile(folder_ / "big.bmp");
    EXPECT_FALSE(big.image.has_value());
    EXPECT_EQ(big.failure.kind, LoadFailure::Kind::TooManyPixels);
    EXPECT_EQ(big.failure.size.width, 20000);
    EXPECT_EQ(big.failure.size.height, 20000);

    ASSERT_TRUE(decode_testing::ToolInstalled("convert"));
    decode_testing::WritePatternPam(folder_ / "p.pam", 40, 30, false);
    ASSERT_TRUE(decode_testing::Run("convert '" + (folder_ / "p.pam") + "' '" + (folder_ / "p.jpg") + "'"));
    ASSERT_TRUE(decode_testing::Run("convert '" + (folder_ / "p.pam") + "' '" + (folder_ / "p.png") + "'"));
    SetPixelLimit(1199);
    for (const char* name : {"p.jpg", "p.png"}) {
        const LoadResult refused = DecodePictureFile(folder_ / name);
        EXPECT_FALSE(refused.image.has_value()) << name;
        EXPECT_EQ(refused.failure.kind, LoadFailure::Kind::TooManyPixels) << name;
        EXPECT_EQ(refused.failure.size.width, 40) << name;
        EXPECT_EQ(refused.failure.size.height, 30) << name;
    }
    SetPixelLimit(1200);
    for (const char* name : {"p.jpg", "p.png"}) EXPECT_TRUE(DecodePictureFile(folder_ / name).image.has_value()) << name;
}

TEST(LoadJpegFile, ReadAsItDecodesYetCutFilesStillFail) {
    ASSERT_TRUE(decode_testing::ToolInstalled("convert"));
    ASSERT_TRUE(decode_testing::ToolInstalled("djpeg"));
    decode_testing::TempFolder folder;
    // Two different progressive pictures one after the other: the second reuses the first's
    // coefficient memory and must not see any of it.
    decode_testing::WritePatternPam(folder / "a.pam", 301, 203, false);
    ASSERT_TRUE(decode_testing::Run("convert -size 250x190 plasma:fractal -seed 3 '" + (folder / "b.ppm") + "'"));
    for (const char* name : {"a", "b"}) {
        const std::string source = folder / (std::string(name) + (name[0] == 'a' ? ".pam" : ".ppm"));
        const std::string jpeg = folder / (std::string(name) + ".jpg");
        ASSERT_TRUE(decode_testing::Run("convert '" + source + "' -quality 85 -interlace JPEG '" + jpeg + "'"));
        const auto ours = DecodePictureFile(jpeg).image;
        const auto reference = decode_testing::DjpegReference(jpeg);
        ASSERT_TRUE(ours && reference) << name;
        EXPECT_EQ(decode_testing::MaxChannelDifference(decode_testing::ToRgb(*ours), *reference), 0) << name;

        const Bytes whole = decode_testing::ReadBytes(jpeg);
        decode_testing::WriteBytes(folder / "cut.jpg", Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() * 2 / 3)));
        const LoadResult cut = DecodePictureFile(folder / "cut.jpg");
        EXPECT_FALSE(cut.image.has_value()) << name;
        EXPECT_EQ(cut.failure.kind, LoadFailure::Kind::Damaged) << name;
    }
}

}  // namespace
}  // namespace velinor::imageio

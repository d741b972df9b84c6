#include <gtest/gtest.h>

#include "PluginTestSupport.h"

namespace velinor::imageio {
namespace {

using plugins::PluginLibrary;

using render::Color;
using render::MakeColor;
using testing::ScratchFolder;
using testing::StagedPlugin;
using testing::WriteBytes;

struct Decoded {
    bool ok = false;
    int width = 0;
    int height = 0;
    std::vector<Color> pixels;
};

class Image323 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.IsOpen()) << StagedPlugin("image323.so");
        load = library.Find<VelinorLoadImageFileFn>("LoadImageFile");
        release = library.Find<VelinorReleaseImageFileFn>("ReleaseImageFile");
        ASSERT_NE(load, nullptr);
        ASSERT_NE(release, nullptr);
    }
    Decoded Decode(const std::vector<std::uint8_t>& bytes) {
        const std::string path = folder.File("picture");
        WriteBytes(path, bytes);
        Decoded d;
        if (VelinorBitmap* bitmap = load(0x1234, path.c_str())) {
            d = {true, bitmap->width, bitmap->height,
                 std::vector<Color>(bitmap->pixels, bitmap->pixels + static_cast<std::size_t>(bitmap->width) * bitmap->height)};
            release(bitmap);
        }
        return d;
    }
    PluginLibrary library{StagedPlugin("image323.so")};
    VelinorLoadImageFileFn load = nullptr;
    VelinorReleaseImageFileFn release = nullptr;
    ScratchFolder folder;
};

TEST_F(Image323, GifFirstFrameKeepsTheTransparentPixelsPaletteColour) {
    const Decoded d = Decode(testing::SmallGif());
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.width, 4);
    ASSERT_EQ(d.height, 3);
    const Color red = MakeColor(255, 0, 0), green = MakeColor(0, 255, 0), blue = MakeColor(0, 0, 255);
    const Color key = MakeColor(10, 20, 30);
    const std::vector<Color> expected = {red, green, blue, render::kWhite, render::kBlack, red, key, green,
                                         key, key, blue, MakeColor(255, 255, 0)};
    EXPECT_EQ(d.pixels, expected);
}

TEST_F(Image323, InterlacedGifRowsComeOutInPictureOrder) {
    const Decoded d = Decode(testing::InterlacedGif());
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.width, 2);
    ASSERT_EQ(d.height, 10);
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(d.pixels[2 * y], MakeColor(20 * y, 0, 0)) << y;
        EXPECT_EQ(d.pixels[2 * y + 1], MakeColor(0, 20 * y, 0)) << y;
    }
}

TEST_F(Image323, DamagedGifsFailWithoutCrashing) {
    const auto gif = testing::InterlacedGif();
    for (std::size_t length = 0; length + 2 < gif.size(); ++length)
        EXPECT_FALSE(Decode(std::vector<std::uint8_t>(gif.begin(), gif.begin() + length)).ok) << length;

    auto huge = testing::SmallGif();
    testing::Put16(huge, 50, 32767);  // frame width: far more than the few data bytes can fill
    testing::Put16(huge, 52, 32767);
    EXPECT_FALSE(Decode(huge).ok);
    auto wide = testing::SmallGif();
    testing::Put16(wide, 50, 0);
    EXPECT_FALSE(Decode(wide).ok);
    auto noPalette = testing::SmallGif();
    noPalette[10] = 0;  // no global colour table; the frame has none either
    EXPECT_FALSE(Decode(noPalette).ok);
}

TEST_F(Image323, IcoLargestImageWinsAndMaskedPixelsAreBlack) {
    testing::IconPicture small{16, 16, 24, std::vector<Color>(256, MakeColor(1, 2, 3)), {}};
    testing::IconPicture large{33, 32, 8, {}, {}};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 33; ++x) {
            large.pixels.push_back(MakeColor(x % 8 * 30, y % 8 * 30, 200));  // 64 colours: fits a palette
            large.mask.push_back(x == y ? 1 : 0);
        }
    const Decoded d = Decode(testing::MakeIco({small, large, small}));
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.width, 33);
    ASSERT_EQ(d.height, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 33; ++x)
            ASSERT_EQ(d.pixels[y * 33 + x], x == y ? render::kBlack : MakeColor(x % 8 * 30, y % 8 * 30, 200)) << x << "," << y;
}

TEST_F(Image323, IcoImageStoredAsPngCountsAsAnyOther) {
    const testing::IconPicture small{16, 16, 24, std::vector<Color>(256, MakeColor(1, 2, 3)), {}};
    std::vector<Color> colours(40 * 24, MakeColor(200, 100, 50));
    std::vector<std::uint8_t> alphas(colours.size(), 255);
    alphas[5] = 0;    // fully transparent: black
    alphas[6] = 128;  // partly transparent: keeps its colour
    const auto png = testing::RgbaPng(40, 24, colours, alphas);
    ASSERT_FALSE(png.empty());
    const Decoded d = Decode(testing::AppendPngEntry(testing::MakeIco({small}), png));
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.width, 40);
    ASSERT_EQ(d.height, 24);
    EXPECT_EQ(d.pixels[5], render::kBlack);
    EXPECT_EQ(d.pixels[6], MakeColor(200, 100, 50));
    EXPECT_EQ(d.pixels[7], MakeColor(200, 100, 50));

    // A damaged PNG image gives way to the bitmap one.
    auto cut = png;
    cut.resize(png.size() - 30);
    const Decoded fallback = Decode(testing::AppendPngEntry(testing::MakeIco({small}), cut));
    ASSERT_TRUE(fallback.ok);
    EXPECT_EQ(fallback.width, 16);
}

TEST_F(Image323, DamagedIcoFallsBackToAGoodImageOrFails) {
    testing::IconPicture small{2, 2, 24, {1, 2, 3, 4}, {}};
    testing::IconPicture large{8, 8, 24, std::vector<Color>(64, 5), {}};
    auto ico = testing::MakeIco({small, large});
    testing::Put32(ico, 6 + 16 + 12, 0x7FFFFFF0);  // the large image's offset lies past the end
    Decoded d = Decode(ico);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.width, 2);

    const auto good = testing::MakeIco({large});
    for (std::size_t length = 0; length < good.size(); length += 7)
        EXPECT_FALSE(Decode(std::vector<std::uint8_t>(good.begin(), good.begin() + length)).ok) << length;
    auto tall = good;
    testing::Put32(tall, 22 + 8, 2 * 40000);  // bitmap height: 40000 rows
    EXPECT_FALSE(Decode(tall).ok);
    auto deep = good;
    testing::Put16(deep, 22 + 14, 7);  // 7 bits per pixel does not exist
    EXPECT_FALSE(Decode(deep).ok);
    EXPECT_FALSE(Decode({0, 0, 1, 0, 0, 0}).ok);  // no images at all
}

class NViewLib : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.IsOpen()) << StagedPlugin("nviewlib.so");
        load = library.Find<VelinorNViewLibLoadFn>("NViewLibLoad");
        width = library.Find<VelinorGetSizeFn>("GetWidth");
        height = library.Find<VelinorGetSizeFn>("GetHeight");
        release = library.Find<VelinorNViewLibReleaseFn>("NViewLibRelease");
        ASSERT_TRUE(load && width && height && release);
    }
    Decoded Decode(const std::vector<std::uint8_t>& bytes) {
        const std::string path = folder.File("picture.pcx");
        WriteBytes(path, bytes);
        Decoded d;
        VelinorBitmap* bitmap = load(path.c_str(), 0);
        d.width = width();
        d.height = height();
        if (bitmap != nullptr) {
            d.ok = true;
            EXPECT_EQ(bitmap->width, d.width);
            EXPECT_EQ(bitmap->height, d.height);
            d.pixels.assign(bitmap->pixels, bitmap->pixels + static_cast<std::size_t>(d.width) * d.height);
            release(bitmap);
        }
        return d;
    }
    PluginLibrary library{StagedPlugin("nviewlib.so")};
    VelinorNViewLibLoadFn load = nullptr;
    VelinorGetSizeFn width = nullptr;
    VelinorGetSizeFn height = nullptr;
    VelinorNViewLibReleaseFn release = nullptr;
    ScratchFolder folder;
};

std::vector<std::uint8_t> GreyPalette() {
    std::vector<std::uint8_t> palette;
    for (int i = 0; i < 256; ++i) palette.insert(palette.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7});
    return palette;
}

TEST_F(NViewLib, EightBitPaletteWithRunsAcrossLines) {
    // 5 x 3 in 6-byte lines; the long run of 0xC5 (a value that needs escaping) spans lines.
    const std::vector<std::vector<std::uint8_t>> lines = {{1, 2, 3, 0xC5, 0xC5, 0}, {0xC5, 0xC5, 0xC5, 0xC5, 9, 0}, {200, 201, 202, 203, 204, 0}};
    const Decoded d = Decode(testing::MakePcx(8, 1, 5, 3, 6, lines, GreyPalette()));
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.width, 5);
    ASSERT_EQ(d.height, 3);
    auto grey = [](int i) { return MakeColor(i, 255 - i, 7); };
    EXPECT_EQ(d.pixels, (std::vector<Color>{grey(1), grey(2), grey(3), grey(0xC5), grey(0xC5), grey(0xC5), grey(0xC5),
                                            grey(0xC5), grey(0xC5), grey(9), grey(200), grey(201), grey(202), grey(203), grey(204)}));
}

TEST_F(NViewLib, ARunOfLengthZeroAddsNothing) {
    auto bytes = testing::MakePcx(8, 1, 2, 1, 2, {{1, 2}}, GreyPalette());
    const std::vector<std::uint8_t> empty = {0xC0, 0x07};   // zero copies of 7
    bytes.insert(bytes.begin() + 128, empty.begin(), empty.end());
    const Decoded d = Decode(bytes);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.pixels, (std::vector<Color>{MakeColor(1, 254, 7), MakeColor(2, 253, 7)}));
}

TEST_F(NViewLib, TrueColourPlanesAndStoredData) {
    // 3 x 2, each line red plane, green plane, blue plane of 4 bytes.
    const std::vector<std::vector<std::uint8_t>> lines = {{10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0},
                                                          {1, 1, 1, 0, 2, 2, 2, 0, 3, 3, 3, 0}};
    const std::vector<Color> expected = {MakeColor(10, 40, 70), MakeColor(20, 50, 80), MakeColor(30, 60, 90),
                                         MakeColor(1, 2, 3), MakeColor(1, 2, 3), MakeColor(1, 2, 3)};
    for (bool stored : {false, true}) {
        const Decoded d = Decode(testing::MakePcx(8, 3, 3, 2, 4, lines, {}, stored));
        ASSERT_TRUE(d.ok) << stored;
        EXPECT_EQ(d.pixels, expected) << stored;
    }
}

TEST_F(NViewLib, OneBitAndSixteenColourPlanes) {
    const Decoded mono = Decode(testing::MakePcx(1, 1, 10, 1, 2, {{0b10100000, 0b01000000}}));
    ASSERT_TRUE(mono.ok);
    const Color w = render::kWhite, k = render::kBlack;
    EXPECT_EQ(mono.pixels, (std::vector<Color>{w, k, w, k, k, k, k, k, k, w}));

    std::vector<std::uint8_t> palette;
    for (int i = 0; i < 16; ++i) palette.insert(palette.end(), {static_cast<std::uint8_t>(i * 16), 0, static_cast<std::uint8_t>(i)});
    // Pixel x takes bit (7 - x) of each plane: indices 0, 1, 2, ... 7 across the byte.
    const Decoded sixteen = Decode(testing::MakePcx(1, 4, 8, 1, 2, {{0b01010101, 0, 0b00110011, 0, 0b00001111, 0, 0xFF, 0}}, palette));
    ASSERT_TRUE(sixteen.ok);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(sixteen.pixels[x], MakeColor((8 + x) * 16, 0, 8 + x)) << x;

    // Version 3 has no header palette: the standard EGA colours (index 9 is light blue).
    auto old = testing::MakePcx(1, 4, 8, 1, 2, {{0b01000000, 0, 0, 0, 0, 0, 0b01000000, 0}}, palette);
    old[1] = 3;
    const Decoded ega = Decode(old);
    ASSERT_TRUE(ega.ok);
    EXPECT_EQ(ega.pixels[0], render::kBlack);
    EXPECT_EQ(ega.pixels[1], MakeColor(85, 85, 255));
}

TEST_F(NViewLib, BadFilesFailAndReportNoSize) {
    const std::vector<std::vector<std::uint8_t>> lines(4, std::vector<std::uint8_t>{1, 2, 3, 4});
    const auto good = testing::MakePcx(8, 1, 4, 4, 4, lines, GreyPalette());
    ASSERT_TRUE(Decode(good).ok);

    auto expectFails = [&](std::vector<std::uint8_t> bytes, const char* why) {
        const Decoded d = Decode(bytes);
        EXPECT_FALSE(d.ok) << why;
        EXPECT_EQ(d.width, 0) << why;
        EXPECT_EQ(d.height, 0) << why;
    };
    auto edit = [&](std::size_t at, unsigned value, bool wide) {
        auto bytes = good;
        if (wide) testing::Put16(bytes, at, value); else bytes[at] = static_cast<std::uint8_t>(value);
        return bytes;
    };
    expectFails(edit(0, 0x0B, false), "not a PCX");
    expectFails(edit(2, 2, false), "unknown encoding");
    expectFails(edit(3, 4, false), "4 bits per plane");
    expectFails(edit(65, 2, false), "two planes");
    expectFails(edit(8, 2, true), "right edge left of the left edge");
    expectFails(edit(8, 40000, true), "wider than 32767");
    expectFails(edit(10, 20000, true), "higher than the data can fill");
    expectFails(edit(66, 3, true), "lines shorter than the width");
    expectFails(edit(good.size() - 769, 0, false), "no palette marker");
    expectFails({}, "empty file");
    // Lines missing: the palette is intact but the picture data stops early.
    std::vector<std::uint8_t> shortData(good.begin(), good.begin() + 130);
    shortData.insert(shortData.end(), good.end() - 769, good.end());
    expectFails(shortData, "truncated data");
    for (std::size_t length = 0; length < good.size(); length += 37)
        expectFails(std::vector<std::uint8_t>(good.begin(), good.begin() + length), "truncated file");
    EXPECT_EQ(load("/nonexistent/picture.pcx", 0), nullptr);
}

TEST_F(NViewLib, SidesUpTo32767PixelsAreDecodedAndNoLonger) {
    // One-bit lines of 4096 bytes hold up to 32768 pixels; the last one set is white.
    std::vector<std::uint8_t> line(4096, 0);
    line[32766 / 8] = 0x80 >> (32766 % 8);
    const Decoded widest = Decode(testing::MakePcx(1, 1, 32767, 1, 4096, {line}));
    ASSERT_TRUE(widest.ok);
    EXPECT_EQ(widest.width, 32767);
    EXPECT_EQ(widest.pixels.back(), render::kWhite);
    EXPECT_EQ(widest.pixels.front(), render::kBlack);
    EXPECT_FALSE(Decode(testing::MakePcx(1, 1, 32768, 1, 4096, {line})).ok);

    const std::vector<std::vector<std::uint8_t>> column(32768, std::vector<std::uint8_t>{0x80, 0});
    const Decoded tallest = Decode(testing::MakePcx(1, 1, 1, 32767, 2, {column.begin(), column.end() - 1}));
    ASSERT_TRUE(tallest.ok);
    EXPECT_EQ(tallest.height, 32767);
    EXPECT_FALSE(Decode(testing::MakePcx(1, 1, 1, 32768, 2, column)).ok);
}

TEST(PluginLibrary, MissingLibraryOrExportGivesNothing) {
    PluginLibrary missing("data/no-such-library.so");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.Find<VelinorGetSizeFn>("GetWidth"), nullptr);
    PluginLibrary bare("nviewlib.so");  // no folder: never searched for on the library path
    EXPECT_FALSE(bare.IsOpen());
    PluginLibrary pcx(StagedPlugin("nviewlib.so"));
    ASSERT_TRUE(pcx.IsOpen());
    EXPECT_EQ(pcx.Find<VelinorLoadImageFileFn>("LoadImageFile"), nullptr);
    EXPECT_EQ(pcx.Find<VelinorGetSizeFn>("_ZN7velinor7plugins9DecodePcxEPKhm"), nullptr);  // internals stay hidden
}

}  // namespace
}  // namespace velinor::imageio

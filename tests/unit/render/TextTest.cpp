#include <gtest/gtest.h>

#include <string>

#include "render/DrawTarget.h"
#include "render/FontLookup.h"
#include "render/Utf8.h"

namespace velinor::render {
namespace {

constexpr Color kPaper = MakeColor(90, 140, 190);
constexpr Color kInk = MakeColor(200, 10, 60);
constexpr int kMark = 63;

class Text : public ::testing::Test {
protected:
    void SetUp() override { Fresh(); }
    void Fresh() {
        image_ = images_.NewImage(50, 160, 60);
        std::fill(image_->pixels.begin(), image_->pixels.end(), kPaper);
        draw_.BeginDraw(50);
    }
    FontDescription Described(const std::string& face, int height) {
        FontDescription wanted;
        wanted.face = face;
        wanted.height = height;
        return wanted;
    }

    ImageRegistry images_;
    FontTable fonts_;
    DrawTarget draw_{images_, fonts_};
    RasterImage* image_ = nullptr;
};

TEST_F(Text, WidthIsZeroForNothingAndGrowsWithTheText) {
    EXPECT_EQ(draw_.MeasureText(""), 0);
    const int one = draw_.MeasureText("W");
    const int two = draw_.MeasureText("WW");
    EXPECT_GT(one, 0);
    EXPECT_EQ(two, 2 * one);
    EXPECT_GT(draw_.MeasureText("Wasserzeichen"), draw_.MeasureText("Wasser"));
    EXPECT_GT(draw_.MeasureText("Grüße"), 0);
}

TEST_F(Text, DefaultFontIsASmallInterfaceFont) {
    const int cell = draw_.TextCellHeight();
    EXPECT_GE(cell, 12);
    EXPECT_LE(cell, 15);
    draw_.SelectDrawFont(42);  // no such font: the default one is used
    EXPECT_EQ(draw_.TextCellHeight(), cell);
}

TEST_F(Text, HeightSelectsCharacterOrCellSize) {
    ASSERT_TRUE(fonts_.CreateFont(kMark, Described("arial", -40)));
    draw_.SelectDrawFont(kMark);
    const int cell40 = draw_.TextCellHeight();
    EXPECT_GT(cell40, 40);  // character height 40 plus the room above and below
    EXPECT_LT(cell40, 52);
    ASSERT_TRUE(fonts_.CreateFont(kMark, Described("arial", 30)));  // re-creating replaces it
    EXPECT_NEAR(draw_.TextCellHeight(), 30, 1);
    EXPECT_EQ(FontHeightForPoints(10, 96), -13);
    EXPECT_EQ(FontHeightForPoints(12, 96), -16);
}

TEST_F(Text, ArialResolvesToAMetricCompatibleFace) {
    FontLookup lookup;
    const std::optional<FontFile> file = lookup.Find("arial", false, false);
    ASSERT_TRUE(file.has_value());
    EXPECT_NE(file->path.find("LiberationSans"), std::string::npos) << file->path;
    const std::optional<FontFile> bold = lookup.Find("arial", true, false);
    ASSERT_TRUE(bold.has_value());
    EXPECT_TRUE(bold->bold);
}

TEST_F(Text, TransparentTextTouchesOnlyGlyphPixels) {
    draw_.DrawColor(200, 10, 60);
    draw_.DrawFlags(kTransparentText);
    draw_.MoveTextCursor(3, 4);
    draw_.PrintText("Hi |");
    int ink = 0;
    for (int y = 0; y < image_->height; ++y) {
        for (int x = 0; x < image_->width; ++x) {
            const Color c = image_->At(x, y);
            if (c == kPaper) continue;
            ++ink;
            // Every changed pixel is the ink or a blend between paper and ink.
            EXPECT_GE(RedOf(c), RedOf(kPaper));
            EXPECT_LE(GreenOf(c), GreenOf(kPaper));
        }
    }
    EXPECT_GT(ink, 10);
    EXPECT_GT(std::count(image_->pixels.begin(), image_->pixels.end(), kInk), 0);  // solid stems
    EXPECT_EQ(draw_.CursorX(), 3 + draw_.MeasureText("Hi |"));
}

// The face of "arial" has 1854/2048 of an em above the baseline in the cell: at a character
// height of 40 pixels the baseline lies 36 pixels below the requested top, so the flat feet
// of "H" fill row top + 35 and nothing lies below it; its cap height (1409/2048 em) puts the
// top of the letters about 8.5 rows below the requested top.
TEST_F(Text, InkSitsOnTheBaselineBelowTheRequestedTop) {
    ASSERT_TRUE(fonts_.CreateFont(kMark, Described("arial", -40)));
    draw_.SelectDrawFont(kMark);
    draw_.DrawColor(200, 10, 60);
    draw_.DrawFlags(kTransparentText);
    draw_.MoveTextCursor(3, 4);
    draw_.PrintText("HH");
    int top = -1, bottom = -1, solidInBottom = 0;
    for (int y = 0; y < image_->height; ++y) {
        for (int x = 0; x < image_->width; ++x) {
            if (image_->At(x, y) == kPaper) continue;
            if (top < 0) top = y;
            bottom = y;
        }
    }
    for (int x = 0; x < image_->width; ++x) solidInBottom += image_->At(x, bottom) == kInk ? 1 : 0;
    EXPECT_EQ(bottom, 4 + 35);
    EXPECT_GE(solidInBottom, 8) << "the feet of both stems of both letters";
    EXPECT_GE(top, 4 + 7);
    EXPECT_LE(top, 4 + 9);
}

TEST_F(Text, OpaqueTextPaintsItsCellWhiteFirst) {
    draw_.MoveTextCursor(10, 20);
    draw_.PrintText("x");
    const int w = draw_.MeasureText("x");
    const int h = draw_.TextCellHeight();
    for (int y = 0; y < image_->height; ++y) {
        for (int x = 0; x < image_->width; ++x) {
            const bool inCell = x >= 10 && x < 10 + w && y >= 20 && y < 20 + h;
            if (!inCell) {
                EXPECT_EQ(image_->At(x, y), kPaper) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(image_->At(10, 20), kWhite);  // above the x-height the cell is bare
    EXPECT_EQ(draw_.CursorX(), 10 + w);
}

TEST_F(Text, SameFontAndTextGiveTheSamePixels) {
    ASSERT_TRUE(fonts_.CreateFont(kMark, Described("arial", -18)));
    draw_.SelectDrawFont(kMark);
    draw_.DrawFlags(kTransparentText);
    draw_.PrintText("Velinor 2026");
    const Pixels first = image_->pixels;
    Fresh();
    draw_.SelectDrawFont(kMark);
    draw_.DrawFlags(kTransparentText);
    draw_.PrintText("Velinor 2026");
    EXPECT_EQ(image_->pixels, first);
}

TEST_F(Text, StylesChangeTheShape) {
    auto render = [this](const FontDescription& wanted) {
        Fresh();
        EXPECT_TRUE(fonts_.CreateFont(kMark, wanted));
        draw_.SelectDrawFont(kMark);
        draw_.DrawFlags(kTransparentText);
        draw_.PrintText("Stamp");
        return image_->pixels;
    };
    FontDescription plain = Described("arial", -20);
    const auto regular = render(plain);
    FontDescription bold = plain;
    bold.weight = 700;
    EXPECT_NE(render(bold), regular);
    FontDescription italic = plain;
    italic.italic = true;
    EXPECT_NE(render(italic), regular);

    // Underline and strike-out are solid lines in the text colour across the text width.
    for (bool under : {true, false}) {
        FontDescription lined = plain;
        lined.underline = under;
        lined.strikeOut = !under;
        render(lined);
        const Font* font = fonts_.Get(kMark);
        const Band band = under ? font->UnderlineBand() : font->StrikeOutBand();
        const int width = draw_.MeasureText("Stamp");
        for (int x = 0; x < width; ++x) EXPECT_EQ(image_->At(x, band.top), kBlack) << x;
        EXPECT_EQ(image_->At(width, band.top), kPaper);
        if (under) {
            EXPECT_GE(band.top, font->Ascent());
        } else {
            EXPECT_LT(band.top, font->Ascent());
        }
    }
}

TEST_F(Text, TextOverTheEdgesIsCutOff) {
    ASSERT_TRUE(fonts_.CreateFont(kMark, Described("", -48)));
    draw_.SelectDrawFont(kMark);
    for (int x : {-30, 150}) {
        for (int y : {-20, 40}) {
            draw_.MoveTextCursor(x, y);
            draw_.PrintText("MWg");
        }
    }
    draw_.MoveTextCursor(0x7FFFFFF0, 0x7FFFFFF0);
    draw_.PrintText("MWg");
    EXPECT_EQ(draw_.CursorX(), 0x7FFFFFFF);
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters) {
    EXPECT_EQ(DecodeUtf8("a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"), (std::u32string{U'a', 0xE4, 0x20AC, 0x1F600}));
    EXPECT_EQ(DecodeUtf8("\x80z"), (std::u32string{0xFFFD, U'z'}));
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), (std::u32string{0xFFFD, 0xFFFD}));  // overlong '/'
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), (std::u32string{0xFFFD, 0xFFFD, 0xFFFD}));  // surrogate
    EXPECT_EQ(DecodeUtf8("\xE2\x82"), (std::u32string{0xFFFD, 0xFFFD}));  // cut off at the end
    EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80").size(), 4u);  // above U+10FFFF
}

}  // namespace
}  // namespace velinor::render

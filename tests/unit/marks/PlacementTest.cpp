#include <gtest/gtest.h>

#include "MarkTestSupport.h"
#include "marks/LogoPlacement.h"
#include "marks/TextMark.h"

namespace velinor::marks {
namespace {

using namespace testing;

TEST(Anchor, HalvesTruncatePerTerm) {
    EXPECT_EQ(AnchorPlacement(Anchor::Centre, 101, 75, 50, 20).x, 25);
    EXPECT_EQ(AnchorPlacement(Anchor::Centre, 101, 75, 50, 20).y, 27);
    EXPECT_EQ(AnchorPlacement(Anchor::TopCentre, 101, 75, 10, 9).x, 45);
    EXPECT_EQ(AnchorPlacement(Anchor::BottomCentre, 100, 75, 11, 9).x, 45);  // 50 - 5, not 44
    EXPECT_EQ(AnchorPlacement(Anchor::BottomCentre, 100, 75, 11, 9).y, 66);
    const Placement corner = AnchorPlacement(Anchor::BottomRight, 200, 100, 300, 300);
    EXPECT_EQ(corner.x, -100);
    EXPECT_EQ(corner.y, -200);
    EXPECT_EQ(AnchorPlacement(Anchor::TopRight, 200, 100, 30, 20).x, 170);
    EXPECT_EQ(AnchorPlacement(Anchor::BottomLeft, 200, 100, 30, 20).y, 80);
    EXPECT_EQ(AnchorFromIndex(6), Anchor::BottomRight);
    EXPECT_EQ(AnchorFromIndex(-1), Anchor::Centre);
}

TEST(LogoPlacement, BlendedAndKeyedLogosCroppedAtTheEdges) {
    RasterImage logo = Filled(300, 300, 0);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) logo.At(x, y) = MakeColor(x % 256, y % 256, 7);
    const RasterImage original = Filled(200, 100, MakeColor(10, 20, 30));

    RasterImage picture = original;
    PlaceLogo(picture, logo, {Anchor::BottomRight, false, 0, 0});
    EXPECT_EQ(picture.At(0, 0), logo.At(100, 200));      // only the bottom-right 200 x 100 is seen
    EXPECT_EQ(picture.At(199, 99), logo.At(299, 299));

    picture = original;
    PlaceLogo(picture, logo, {Anchor::BottomRight, false, 255, 0});
    EXPECT_EQ(picture.pixels, original.pixels);

    picture = original;
    PlaceLogo(picture, Filled(2, 2, MakeColor(255, 0, 100)), {Anchor::TopLeft, false, 128, 0});
    // (255 x 127 + 10 x 128) / 255 = 132.02, (20 x 128) / 255 = 10.04, (100 x 127 + 30 x 128) / 255 = 64.86
    EXPECT_EQ(picture.At(1, 1), MakeColor(132, 10, 65));
    EXPECT_EQ(picture.At(2, 2), original.At(2, 2));

    // A key colour the logo does not hold: pasted like an opaque rectangle.
    picture = original;
    const RasterImage small = Filled(4, 2, MakeColor(1, 2, 3));
    PlaceLogo(picture, small, {Anchor::Centre, true, 200, MakeColor(9, 9, 9)});
    EXPECT_EQ(picture.At(98, 49), MakeColor(1, 2, 3));
    EXPECT_EQ(picture.At(101, 50), MakeColor(1, 2, 3));
    EXPECT_EQ(picture.At(102, 50), original.At(102, 50));
    // The key colour itself is left out.
    picture = original;
    PlaceLogo(picture, small, {Anchor::Centre, true, 0, MakeColor(1, 2, 3)});
    EXPECT_EQ(picture.pixels, original.pixels);
}

class TextMarkTest : public ::testing::Test {
protected:
    render::FontTable fonts;
};

TEST_F(TextMarkTest, DefaultFontInBlackAtTheAnchor) {
    RasterImage picture = Filled(300, 100, render::kWhite);
    const TextMarkBox box = DrawTextMark(picture, fonts, MarkFontSpec{}, 96, "Velinor", Anchor::Centre);
    ASSERT_GT(box.width, 0);
    ASSERT_GT(box.height, 0);
    EXPECT_EQ(box.x, 150 - box.width / 2);
    EXPECT_EQ(box.y, 50 - box.height / 2);
    int dark = 0, outside = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 300; ++x) {
            const Color c = picture.At(x, y);
            if (c == render::kWhite) continue;
            const bool inCell = x >= box.x && x < box.x + box.width + 2 && y >= box.y && y < box.y + box.height;
            if (!inCell) ++outside;
            if (c == render::kBlack) ++dark;
            EXPECT_EQ(render::RedOf(c), render::GreenOf(c));  // grey levels of black over white only
        }
    EXPECT_GT(dark, 10);
    EXPECT_EQ(outside, 0);
}

TEST_F(TextMarkTest, SizeColourAndCuttingAtTheEdges) {
    MarkFontSpec spec;
    spec.face = "DejaVu Sans";
    spec.pointSize = 36;
    spec.colour = MakeColor(255, 0, 0);
    RasterImage picture = Filled(60, 80, render::kWhite);
    const TextMarkBox box = DrawTextMark(picture, fonts, spec, 96, "WWWWWWWW", Anchor::TopCentre);
    EXPECT_GT(box.height, 40);         // 36 points at 96 dpi: 48-pixel characters
    EXPECT_LT(box.x, 0);               // wider than the picture: cut on both sides
    EXPECT_EQ(box.y, 0);
    int leftEdge = 0, rightEdge = 0;
    for (int y = 0; y < 80; ++y) {
        if (picture.At(0, y) != render::kWhite) ++leftEdge;
        if (picture.At(59, y) != render::kWhite) ++rightEdge;
        for (int x = 0; x < 60; ++x) EXPECT_EQ(render::GreenOf(picture.At(x, y)), render::BlueOf(picture.At(x, y)));
    }
    EXPECT_GT(leftEdge, 0);
    EXPECT_GT(rightEdge, 0);

    // Bold makes the same text wider; the right anchor ends the text at the right edge.
    RasterImage other = Filled(600, 80, render::kWhite);
    const TextMarkBox regular = DrawTextMark(other, fonts, spec, 96, "Mark", Anchor::TopRight);
    spec.style = kStyleBold;
    const TextMarkBox bold = DrawTextMark(other, fonts, spec, 96, "Mark", Anchor::TopRight);
    EXPECT_GT(bold.width, regular.width);
    EXPECT_EQ(bold.x + bold.width, 600);
    EXPECT_EQ(DrawTextMark(other, fonts, spec, 96, "", Anchor::Centre).width, 0);
}

// The logo mark as the handlers and the batch draw it: a logo that did not decode leaves the
// picture alone; a blended one mixes by hand-worked values, a keyed one leaves out its key.
TEST(LogoPlacement, DrawLogoBlendsKeysOrDrawsNothing) {
    RasterImage picture = Filled(4, 4, MakeColor(100, 100, 100));
    EXPECT_FALSE(DrawLogo(picture, nullptr, Anchor::TopLeft, false, 0, 0));
    EXPECT_EQ(picture.At(0, 0), MakeColor(100, 100, 100));

    // Transparency 51: 200 x 204 / 255 + 100 x 51 / 255 = 160 + 20 per channel.
    const RasterImage bright = Filled(2, 2, MakeColor(200, 200, 200));
    EXPECT_TRUE(DrawLogo(picture, &bright, Anchor::BottomRight, false, 51, 0));
    EXPECT_EQ(picture.At(3, 3), MakeColor(180, 180, 180));
    EXPECT_EQ(picture.At(1, 1), MakeColor(100, 100, 100));

    RasterImage keyed = Filled(2, 1, MakeColor(1, 2, 3));
    keyed.At(1, 0) = MakeColor(9, 9, 9);
    EXPECT_TRUE(DrawLogo(picture, &keyed, Anchor::TopLeft, true, 255, MakeColor(1, 2, 3)));
    EXPECT_EQ(picture.At(0, 0), MakeColor(100, 100, 100));  // the key colour is left out
    EXPECT_EQ(picture.At(1, 0), MakeColor(9, 9, 9));        // keyed logos ignore transparency
}

}  // namespace
}  // namespace velinor::marks

#include "render/DrawTarget.h"

#include <gtest/gtest.h>

#include <string>

namespace velinor::render {
namespace {

constexpr Color kRed = MakeColor(255, 0, 0);
constexpr Color kPaper = MakeColor(1, 2, 3);

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        image_ = images_.NewImage(7, 12, 10);
        std::fill(image_->pixels.begin(), image_->pixels.end(), kPaper);
    }

    // The image as rows of '#' (red) and '.' (paper), for shape comparisons.
    std::string Picture() const {
        std::string out;
        for (int y = 0; y < image_->height; ++y) {
            for (int x = 0; x < image_->width; ++x) out += image_->At(x, y) == kRed ? '#' : '.';
            out += '\n';
        }
        return out;
    }
    int Painted() const {
        return static_cast<int>(std::count(image_->pixels.begin(), image_->pixels.end(), kRed));
    }

    ImageRegistry images_;
    FontTable fonts_;
    DrawTarget draw_{images_, fonts_};
    RasterImage* image_ = nullptr;
};

TEST_F(Drawing, BoxesCoverExactlyTheirRectangle) {
    draw_.BeginDraw(7);
    draw_.FillBox(2, 3, 4, 2, kRed);
    EXPECT_EQ(Painted(), 8);
    for (int y = 3; y < 5; ++y) {
        for (int x = 2; x < 6; ++x) EXPECT_EQ(image_->At(x, y), kRed);
    }
    // A box the size of the image covers all of it; one hanging over the edges is cut.
    draw_.FillBox(0, 0, 12, 10, kBlack);
    EXPECT_EQ(std::count(image_->pixels.begin(), image_->pixels.end(), kBlack), 120);
    draw_.FillBox(-3, 8, 5, 100, kRed);
    EXPECT_EQ(Painted(), 4);
    draw_.FillBox(5, 5, 0, 3, kPaper);
    draw_.FillBox(5, 5, -2, -2, kPaper);
    EXPECT_EQ(std::count(image_->pixels.begin(), image_->pixels.end(), kPaper), 0);
}

TEST_F(Drawing, OutlinedBoxesDrawTheBorderOnly) {
    draw_.BeginDraw(7);
    draw_.DrawFlags(kOutlineOnly);
    draw_.FillBox(1, 1, 5, 4, kRed);
    draw_.FillBox(8, 1, 1, 1, kRed);  // a single pixel is set whatever the flags
    draw_.FillBox(8, 3, 1, 3, kRed);  // one column: all border
    EXPECT_EQ(Picture(),
              "............\n"
              ".#####..#...\n"
              ".#...#......\n"
              ".#...#..#...\n"
              ".#####..#...\n"
              "........#...\n"
              "............\n"
              "............\n"
              "............\n"
              "............\n");
}

TEST_F(Drawing, CircleOfRadiusOneIsATwoByTwoSquareAndZeroIsNothing) {
    draw_.BeginDraw(7);
    draw_.DrawFlags(kOutlineOnly);
    draw_.DrawCircle(4, 4, 0, kRed);
    EXPECT_EQ(Painted(), 0);
    draw_.DrawCircle(4, 4, 1, kRed);
    EXPECT_EQ(Painted(), 4);
    EXPECT_EQ(image_->At(4, 4), kRed);
    EXPECT_EQ(image_->At(5, 4), kRed);
    EXPECT_EQ(image_->At(4, 5), kRed);
    EXPECT_EQ(image_->At(5, 5), kRed);
    draw_.DrawCircle(1, 1, -3, kRed);
    EXPECT_EQ(Painted(), 4);
}

TEST_F(Drawing, FilledEllipsesAreSymmetricInsideTheirRectangle) {
    RasterImage* big = images_.NewImage(8, 40, 30);
    std::fill(big->pixels.begin(), big->pixels.end(), kPaper);
    draw_.BeginDraw(8);
    for (int rx : {2, 3, 7, 15}) {
        for (int ry : {2, 5, 11}) {
            std::fill(big->pixels.begin(), big->pixels.end(), kPaper);
            draw_.DrawEllipse(20, 15, rx, ry, kRed);
            int count = 0;
            for (int y = 0; y < 30; ++y) {
                for (int x = 0; x < 40; ++x) {
                    if (big->At(x, y) != kRed) continue;
                    ++count;
                    ASSERT_TRUE(x >= 20 - rx && x < 20 + rx && y >= 15 - ry && y < 15 + ry) << rx << "x" << ry;
                    // Mirror images about the centre lines x = 19.5 and y = 14.5.
                    EXPECT_EQ(big->At(39 - x, y), kRed);
                    EXPECT_EQ(big->At(x, 29 - y), kRed);
                }
            }
            // The middle row and column reach the rectangle's edges.
            EXPECT_EQ(big->At(20 - rx, 15), kRed);
            EXPECT_EQ(big->At(20 + rx - 1, 15), kRed);
            EXPECT_EQ(big->At(20, 15 - ry), kRed);
            // Area within a pixel ring of pi*rx*ry.
            EXPECT_NEAR(count, 3.14159 * rx * ry, 2.0 * (rx + ry) + 2);
        }
    }
}

TEST_F(Drawing, OutlinedEllipseIsTheBoundaryOfTheFilledOne) {
    draw_.BeginDraw(7);
    draw_.DrawFlags(kOutlineOnly);
    draw_.DrawCircle(6, 5, 4, kRed);
    EXPECT_EQ(Picture(),
              "............\n"
              "....####....\n"
              "...#....#...\n"
              "..#......#..\n"
              "..#......#..\n"
              "..#......#..\n"
              "..#......#..\n"
              "...#....#...\n"
              "....####....\n"
              "............\n");
    draw_.DrawFlags(0);
    draw_.DrawCircle(6, 5, 4, kRed);
    EXPECT_EQ(Picture(),
              "............\n"
              "....####....\n"
              "...######...\n"
              "..########..\n"
              "..########..\n"
              "..########..\n"
              "..########..\n"
              "...######...\n"
              "....####....\n"
              "............\n");
}

TEST_F(Drawing, NothingHappensOutsideADrawing) {
    const Pixels before = image_->pixels;
    draw_.FillBox(0, 0, 3, 3, kRed);
    draw_.DrawCircle(5, 5, 3, kRed);
    draw_.PasteImage(images_.Find(7), 1, 1);
    draw_.PrintText("abc");
    EXPECT_EQ(draw_.ReadPixel(0, 0), -1);
    EXPECT_EQ(draw_.MeasureText("abc"), 0);

    EXPECT_NE(draw_.BeginDraw(7), 0u);
    EXPECT_EQ(draw_.ReadPixel(0, 0), static_cast<std::int32_t>(kPaper));
    EXPECT_EQ(draw_.ReadPixel(12, 0), -1);
    EXPECT_EQ(draw_.ReadPixel(0, -1), -1);
    draw_.EndDraw();
    draw_.FillBox(0, 0, 3, 3, kRed);
    EXPECT_EQ(image_->pixels, before);
    EXPECT_EQ(draw_.BeginDraw(9), 0u);  // an empty number cannot be drawn on
    EXPECT_EQ(draw_.Target(), nullptr);
}

TEST_F(Drawing, BeginDrawResetsTheStateAndEndsThePreviousDrawing) {
    RasterImage* other = images_.NewImage(3, 2, 2);
    draw_.BeginDraw(7);
    draw_.DrawColor(10, 20, 30);
    draw_.DrawFlags(kOutlineOnly | kTransparentText);
    draw_.MoveTextCursor(5, 6);
    draw_.BeginDraw(3);
    EXPECT_EQ(draw_.Target(), other);
    EXPECT_EQ(draw_.CurrentColour(), kBlack);
    EXPECT_EQ(draw_.CurrentFlags(), 0);
    EXPECT_EQ(draw_.CursorX(), 0);
    draw_.FillBox(0, 0, 20, 20, kRed);
    EXPECT_EQ(Painted(), 0);  // only the new target was drawn on
    EXPECT_EQ(other->At(1, 1), kRed);
}

TEST_F(Drawing, AFreedOrReplacedTargetIsNoLongerDrawnOn) {
    draw_.BeginDraw(7);
    images_.DropImage(7);
    draw_.FillBox(0, 0, 2, 2, kRed);  // must not touch freed memory
    EXPECT_EQ(draw_.ReadPixel(0, 0), -1);
    RasterImage* fresh = images_.NewImage(7, 3, 3);
    draw_.FillBox(0, 0, 2, 2, kRed);
    EXPECT_NE(fresh->At(0, 0), kRed);
}

TEST_F(Drawing, ColoursAreStoredWithoutATopByte) {
    draw_.BeginDraw(7);
    draw_.FillBox(0, 0, 1, 1, 0xFFFFFFFFu);  // colour -1, as a cancelled requester leaves it
    EXPECT_EQ(image_->At(0, 0), kWhite);
    draw_.DrawColor(1, 2, 3);
    EXPECT_EQ(draw_.CurrentColour(), 0x030201u);
}

TEST_F(Drawing, TemporaryImagesCanBeTargetsAndSources) {
    RasterImage* temp = images_.NewImage(kTemporaryImage, 3, 2);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(images_.CurrentHandle(), temp);
    EXPECT_NE(draw_.BeginDraw(temp), 0u);
    draw_.FillBox(0, 0, 3, 2, kRed);
    draw_.BeginDraw(7);
    draw_.BlendImage(temp, 1, 1, 255);
    EXPECT_EQ(images_.CurrentHandle(), temp);
    EXPECT_EQ(Painted(), 6);
    images_.DropImage(temp);
    EXPECT_EQ(images_.CurrentHandle(), nullptr);
    RasterImage stranger;
    EXPECT_EQ(draw_.BeginDraw(&stranger), 0u);  // not an image of the registry
}

}  // namespace
}  // namespace velinor::render

#include "render/ImageRegistry.h"

#include <gtest/gtest.h>

namespace velinor::render {
namespace {

TEST(ImageRegistry, GrowsToTenAboveTheHighestNumberUsed) {
    ImageRegistry images;
    EXPECT_EQ(images.HighestSlot(), 10);
    EXPECT_NE(images.NewImage(5, 2, 2), nullptr);
    EXPECT_EQ(images.HighestSlot(), 10);
    EXPECT_NE(images.NewImage(10000, 3, 4), nullptr);
    EXPECT_EQ(images.HighestSlot(), 10010);
    EXPECT_TRUE(images.HasImage(10000));
    EXPECT_FALSE(images.HasImage(10011));
    EXPECT_FALSE(images.HasImage(-1));
}

TEST(ImageRegistry, CreatingOperationsMakeTheirNumberCurrent) {
    ImageRegistry images;
    images.NewImage(1, 7, 5);
    EXPECT_EQ(images.ImageWidth(), 7);
    images.NewImage(2, 3, 9);
    EXPECT_EQ(images.ImageHeight(), 9);
    images.CloneImage(1, 3);
    EXPECT_EQ(images.CurrentNumber(), 3);
    EXPECT_EQ(images.ImageWidth(), 7);
    images.ScaleImage(2, 6, 6);
    EXPECT_EQ(images.CurrentNumber(), 2);
    EXPECT_EQ(images.ImageWidth(), 6);
    images.SelectImage(1);
    EXPECT_EQ(images.ImageHeight(), 5);
}

TEST(ImageRegistry, NewImageIsBlackAndRejectsImpossibleSizes) {
    ImageRegistry images;
    RasterImage* image = images.NewImage(4, 3, 2);
    ASSERT_NE(image, nullptr);
    for (Color c : image->pixels) EXPECT_EQ(c, kBlack);
    EXPECT_EQ(images.NewImage(4, 0, 5), nullptr);
    EXPECT_FALSE(images.HasImage(4));  // the failed creation still freed the number
    EXPECT_EQ(images.NewImage(4, 32768, 1), nullptr);
    EXPECT_NE(images.NewImage(4, 32767, 1), nullptr);
}

TEST(ImageRegistry, CloneFromAnEmptyNumberLeavesTheDestination) {
    ImageRegistry images;
    images.NewImage(2, 4, 4);
    EXPECT_EQ(images.CloneImage(1, 2), nullptr);
    EXPECT_TRUE(images.HasImage(2));
    EXPECT_EQ(images.Find(2)->width, 4);
}

TEST(ImageRegistry, ScaleKeepsTheHandleAndSameSizeIsBitIdentical) {
    ImageRegistry images;
    RasterImage* image = images.NewImage(1, 3, 3);
    for (std::size_t i = 0; i < image->pixels.size(); ++i) image->pixels[i] = static_cast<Color>(i * 0x010203);
    const std::vector<Color> before = image->pixels;
    EXPECT_EQ(images.ScaleImage(1, 3, 3), image);
    EXPECT_EQ(image->pixels, before);
    EXPECT_EQ(images.ScaleImage(1, 6, 1), image);
    EXPECT_EQ(image->width, 6);
}

TEST(ImageRegistry, ScaleAveragesTheAreaEachPixelCovers) {
    ImageRegistry images;
    RasterImage* image = images.NewImage(1, 4, 2);
    // Left half: columns of 0 and 100 red; right half: 200 and 255 green.
    for (int y = 0; y < 2; ++y) {
        image->At(0, y) = MakeColor(0, 0, 0);
        image->At(1, y) = MakeColor(100, 0, 0);
        image->At(2, y) = MakeColor(0, 200, 0);
        image->At(3, y) = MakeColor(0, 255, 0);
    }
    images.ScaleImage(1, 2, 1);
    EXPECT_EQ(image->At(0, 0), MakeColor(50, 0, 0));
    EXPECT_EQ(RedOf(image->At(1, 0)), 0);
    EXPECT_NEAR(GreenOf(image->At(1, 0)), 228, 1);  // 227.5 rounds either way
}

}  // namespace
}  // namespace velinor::render

#include "render/ImageRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    const Pixels before = image->pixels;
    EXPECT_EQ(images.ScaleImage(1, 3, 3), image);
    EXPECT_EQ(image->pixels, before);
    EXPECT_EQ(images.ScaleImage(1, 6, 1), image);
    EXPECT_EQ(image->width, 6);
    EXPECT_EQ(images.ScaleImage(1, 6, 4), image);   // a new height alone is a new size too
    EXPECT_EQ(image->height, 4);
    EXPECT_EQ(image->pixels.size(), 24u);
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

TEST(ImageRegistry, ScaleWeighsPartlyCoveredPixels) {
    ImageRegistry images;
    RasterImage* image = images.NewImage(1, 3, 1);
    image->At(0, 0) = MakeColor(0, 255, 9);
    image->At(1, 0) = MakeColor(90, 255, 9);
    image->At(2, 0) = MakeColor(180, 255, 9);
    images.ScaleImage(1, 2, 1);
    // Each destination pixel covers one and a half source pixels.
    EXPECT_EQ(image->At(0, 0), MakeColor(30, 255, 9));
    EXPECT_EQ(image->At(1, 0), MakeColor(150, 255, 9));
}

TEST(ImageRegistry, ScaleKeepsAFlatColourFlatBothWays) {
    ImageRegistry images;
    const Color flat = MakeColor(37, 201, 255);
    RasterImage* image = images.NewImage(1, 97, 53);
    std::fill(image->pixels.begin(), image->pixels.end(), flat);
    images.ScaleImage(1, 13, 7);
    EXPECT_EQ(std::count(image->pixels.begin(), image->pixels.end(), flat), 13 * 7);
    images.ScaleImage(1, 200, 111);
    EXPECT_EQ(std::count(image->pixels.begin(), image->pixels.end(), flat), 200 * 111);
}

TEST(ImageRegistry, ImpossibleNumbersAndSizesFailWithoutSideEffects) {
    ImageRegistry images;
    images.NewImage(3, 2, 2);
    EXPECT_EQ(images.NewImage(-5, 2, 2), nullptr);
    EXPECT_EQ(images.NewImage(ImageRegistry::kMaxNumber + 1, 2, 2), nullptr);
    EXPECT_EQ(images.CurrentNumber(), 3);
    EXPECT_EQ(images.HighestSlot(), 10);
    EXPECT_EQ(images.ScaleImage(3, 0, 4), nullptr);
    EXPECT_EQ(images.Find(3)->width, 2);
    EXPECT_EQ(images.SelectImage(99), nullptr);  // beyond the table: a caller error, ignored
    EXPECT_EQ(images.CurrentNumber(), 3);
}

TEST(ImageRegistry, TemporaryImagesLiveOutsideTheTable) {
    ImageRegistry images;
    RasterImage* temp = images.NewImage(kTemporaryImage, 5, 4);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(images.HighestSlot(), 10);
    EXPECT_EQ(images.CurrentNumber(), kTemporaryImage);
    EXPECT_EQ(images.ImageWidth(), 5);
    EXPECT_TRUE(images.IsTemporary(temp));

    images.NewImage(2, 1, 1);
    EXPECT_EQ(images.SelectImage(temp), temp);
    EXPECT_EQ(images.ScaleImage(temp, 10, 8), temp);
    EXPECT_EQ(images.ImageHeight(), 8);

    RasterImage* copy = images.CloneImage(2, kTemporaryImage);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, temp);
    EXPECT_EQ(images.CurrentHandle(), copy);

    RasterImage* numbered = images.CloneImage(temp, 9);
    ASSERT_NE(numbered, nullptr);
    EXPECT_EQ(images.CurrentNumber(), 9);
    EXPECT_EQ(numbered->width, 10);
    EXPECT_EQ(images.CloneImage(numbered, 8), nullptr);  // a numbered image is not a temporary
    images.SelectImage(copy);

    images.DropImage(temp);
    EXPECT_FALSE(images.IsTemporary(temp));
    EXPECT_EQ(images.SelectImage(temp), nullptr);
    EXPECT_EQ(images.CurrentHandle(), copy);
    images.DropImage(copy);
    EXPECT_EQ(images.CurrentHandle(), nullptr);
    EXPECT_EQ(images.ImageWidth(), 0);
}

TEST(ImageRegistry, CloneIsAnExactCopyOfBitmapOrIcon) {
    ImageRegistry images;
    RasterImage icon;
    icon.width = 2;
    icon.height = 2;
    icon.pixels = {1, 2, 3, 4};
    icon.mask = {1, 0, 0, 1};
    images.StoreImage(4, icon);
    images.NewImage(6, 9, 9);
    RasterImage* copy = images.CloneImage(4, 6);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->pixels, icon.pixels);
    EXPECT_EQ(copy->mask, icon.mask);
    EXPECT_NE(copy, images.Find(4));
    EXPECT_EQ(images.CurrentNumber(), 6);
}

}  // namespace
}  // namespace velinor::render

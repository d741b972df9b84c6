#include <gtest/gtest.h>

#include "platform/qt/FilePattern.h"
#include "platform/qt/ImageConvert.h"

namespace velinor::platform::qt {
namespace {

TEST(FilePatternTest, RequesterPatternsBecomeNameFilters) {
    const QStringList filters = NameFiltersFromPattern("Jpeg|*.jpg;*.jpeg;*.Jpg|Bmp|*.bmp;*.Bmp;*.BMP|Png|*.png");
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(filters[0], QString("Jpeg (*.jpg *.jpeg *.Jpg)"));
    EXPECT_EQ(filters[1], QString("Bmp (*.bmp *.Bmp *.BMP)"));
    EXPECT_EQ(filters[2], QString("Png (*.png)"));
    EXPECT_EQ(NameFiltersFromPattern("Alle|").front(), QString("Alle (*)"));
    EXPECT_TRUE(NameFiltersFromPattern("").isEmpty());
    EXPECT_EQ(NameFiltersFromPattern("|*.gif").front(), QString("*.gif (*.gif)"));
}

TEST(FilePatternTest, FolderTextsSplitIntoFolderAndPattern) {
    FolderAndPattern split = SplitFolderText("/home/u/Bilder/*.jpg;*.png");
    EXPECT_EQ(split.folder, QString("/home/u/Bilder/"));
    EXPECT_EQ(split.pattern, QString("*.jpg;*.png"));
    split = SplitFolderText("/home/u/Bilder");
    EXPECT_EQ(split.folder, QString("/home/u/Bilder/"));
    EXPECT_TRUE(split.pattern.isEmpty());
    split = SplitFolderText("C:\\Fotos\\");
    EXPECT_EQ(split.folder, QString("C:/Fotos/"));
    EXPECT_TRUE(SplitFolderText("").folder.isEmpty());
    EXPECT_EQ(MasksFromList(" *.a ; ;*.b"), (QStringList{"*.a", "*.b"}));
}

TEST(ImageConvertTest, ChannelsKeepTheirPlaceAndMasksBecomeAlpha) {
    render::RasterImage image;
    image.width = 2;
    image.height = 1;
    image.pixels = {render::MakeColor(255, 0, 0), render::MakeColor(10, 20, 30)};
    QImage plain = ToQImage(image);
    ASSERT_FALSE(plain.isNull());
    EXPECT_EQ(plain.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(plain.pixelColor(1, 0), QColor(10, 20, 30));
    EXPECT_FALSE(plain.hasAlphaChannel());

    image.mask = {1, 0};
    const QImage icon = ToQImage(image);
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 255);
    EXPECT_EQ(qAlpha(icon.pixel(1, 0)), 0);

    EXPECT_EQ(FromQColor(QColor(1, 2, 3)), render::MakeColor(1, 2, 3));
    EXPECT_EQ(FromQColor(ToQColor(0x00332211)), 0x00332211u);
}

TEST(ImageConvertTest, MalformedImagesGiveNullInsteadOfReadingPastTheirPixels) {
    render::RasterImage image;
    EXPECT_TRUE(ToQImage(image).isNull());
    image.width = 4;
    image.height = 4;
    image.pixels.resize(3);
    EXPECT_TRUE(ToQImage(image).isNull());
    image.pixels.resize(16);
    image.mask.resize(2);   // a short mask is ignored rather than read past its end
    EXPECT_FALSE(ToQImage(image).isNull());
}

TEST(ImageConvertTest, PipetteCursorHasItsHotSpotOnAnOpaqueTip) {
    const QCursor cursor = PipetteCursor();
    const QImage picture = cursor.pixmap().toImage();
    ASSERT_FALSE(picture.isNull());
    const QPoint hot = cursor.hotSpot();
    bool opaqueNearTip = false;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint p = hot + QPoint(dx, dy);
            if (picture.valid(p) && qAlpha(picture.pixel(p)) > 0) opaqueNearTip = true;
        }
    }
    EXPECT_TRUE(opaqueNearTip);
}

}  // namespace
}  // namespace velinor::platform::qt

#include "imageio/PictureKinds.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "imageio/Writer.h"

// The patterns and extension choices the user meets, written down by hand from the program's
// description of each requester and list.
namespace velinor::imageio {
namespace {

TEST(PictureKinds, RequesterPatternsAreShownExactlyAsDescribed) {
    EXPECT_EQ(PatternText(FilePattern::Open), "Jpeg|*.jpg;*.jpeg;*.Jpg|Bmp|*.bmp;*.Bmp;*.BMP|Png|*.png;*.Png;*.PNG|TGA|*.tga;*.TGA");
    EXPECT_EQ(PatternText(FilePattern::Save), "Jpeg|*.jpg;*.jpeg;*.Jpg|Bmp|*.bmp;*.Bmp;*.BMP|Png|*.png;*.Png;*.PNG");
    // The two logo requesters differ: the first has "*TGA" without a dot and no "*.Gif".
    EXPECT_EQ(PatternText(FilePattern::Logo),
              "Jpeg|*.jpg;*.jpeg;*.Jpg|Bmp|*.bmp;*.Bmp;*.BMP|Png|*.png;*.Png;*.PNG|Gif|*.gif;*.GIF|TGA|*.tga;*TGA|"
              "ICO|*.ico;*.ICO|PCX|*.pcx;*.PCX");
    EXPECT_EQ(PatternText(FilePattern::BatchLogo),
              "Jpeg|*.jpg;*.jpeg;*.Jpg|Bmp|*.bmp;*.Bmp;*.BMP|Png|*.png;*.Png;*.PNG|Gif|*.gif;*.Gif;*.GIF|TGA|*.tga;*.TGA|"
              "ICO|*.ico;*.ICO|PCX|*.pcx;*.PCX");
    EXPECT_EQ(PatternText(FilePattern::Explorer), "*.jpg;*.Jpeg;*.bmp;*.png");
    EXPECT_EQ("  (" + PatternKindNames(FilePattern::Logo) + ")", "  (Jpg,Bmp,Png,Gif,TGA,ICO,PCX)");
}

TEST(PictureKinds, TheSavePatternIndexChoosesFormatAndAppendedExtension) {
    const std::vector<std::pair<PictureKind, std::string>> expected = {
        {PictureKind::Jpeg, ".jpg"}, {PictureKind::Bmp, ".bmp"}, {PictureKind::Png, ".png"}};
    for (int index = 0; index < 3; ++index) {
        ASSERT_EQ(PatternKind(FilePattern::Save, index), expected[index].first) << index;
        EXPECT_EQ(KindInfo(expected[index].first).suffix, expected[index].second);
        EXPECT_TRUE(KindInfo(expected[index].first).encoder.has_value());
    }
    EXPECT_EQ(PatternKind(FilePattern::Save, -1), std::nullopt);
    EXPECT_EQ(PatternKind(FilePattern::Save, 3), std::nullopt);
    EXPECT_EQ(KindInfo(PictureKind::Jpeg).encoder, kEncoderJpeg);
    EXPECT_EQ(KindInfo(PictureKind::Bmp).encoder, kEncoderBmp);
    EXPECT_EQ(KindInfo(PictureKind::Png).encoder, kEncoderPng);
}

// Every spelling of every extension in all three cases the descriptions mention, and more.
const std::vector<std::string> kSpellings = {
    "jpg", "JPG", "Jpg", "jpeg", "JPEG", "Jpeg", "bmp", "BMP", "Bmp", "png", "PNG", "Png", "gif", "GIF", "Gif",
    "tga", "TGA", "Tga", "ico", "ICO", "Ico", "pcx", "PCX", "Pcx", "jpe", "tif", "", "JpG",
};

std::set<std::string> Taken(unsigned use) {
    std::set<std::string> taken;
    for (const std::string& spelling : kSpellings) {
        if (CountsFor(spelling, use)) taken.insert(spelling);
    }
    return taken;
}

TEST(PictureKinds, EachFileChoiceTakesExactlyItsSpellings) {
    EXPECT_EQ(Taken(kBatchAdd), (std::set<std::string>{"jpg", "JPG", "jpeg", "JPEG", "bmp", "BMP", "Bmp", "png", "PNG", "Png"}));
    EXPECT_EQ(Taken(kFolderStart), (std::set<std::string>{"jpg", "JPG", "png", "PNG", "tga", "TGA", "bmp", "BMP"}));
    EXPECT_EQ(Taken(kTexture), (std::set<std::string>{"jpg", "bmp"}));
    EXPECT_EQ(Taken(kLogoLibrary), (std::set<std::string>{"gif", "GIF", "ico", "ICO", "pcx", "PCX"}));
    EXPECT_EQ(Taken(kFormatName), (std::set<std::string>{"jpg", "jpeg", "bmp", "png"}));
}

TEST(PictureKinds, ASavedNameKeepsOnlyTheExtensionsOfItsOwnFormat) {
    EXPECT_EQ(Taken(kSaveKeeps), (std::set<std::string>{"jpg", "JPG", "Jpeg", "bmp", "BMP", "Bmp", "png", "PNG", "Png"}));
    EXPECT_EQ(KindFor("Jpeg", kSaveKeeps), PictureKind::Jpeg);
    EXPECT_EQ(KindFor("Bmp", kSaveKeeps), PictureKind::Bmp);
    EXPECT_EQ(KindFor("PNG", kSaveKeeps), PictureKind::Png);
    EXPECT_EQ(KindFor("jpeg", kSaveKeeps), std::nullopt);
}

TEST(PictureKinds, LogoLibrariesGoByKind) {
    EXPECT_EQ(KindFor("gif", kLogoLibrary), PictureKind::Gif);
    EXPECT_EQ(KindFor("ICO", kLogoLibrary), PictureKind::Ico);
    EXPECT_EQ(KindFor("PCX", kLogoLibrary), PictureKind::Pcx);
    EXPECT_EQ(KindFor("Gif", kLogoLibrary), std::nullopt);
}

}  // namespace
}  // namespace velinor::imageio

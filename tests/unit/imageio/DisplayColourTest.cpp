// The display conversion of tagged pictures, checked against Little CMS's own transicc on the
// profiles Debian ships in icc-profiles-free. A missing tool or profile fails the tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "DecodeTestSupport.h"
#include "imageio/DisplayColour.h"

namespace velinor::imageio {
namespace {

using decode_testing::Bytes;
using Rgb = std::array<int, 3>;

const std::string kProfiles = "/usr/share/color/icc/";
const std::string kAdobe = kProfiles + "compatibleWithAdobeRGB1998.icc";
const std::string kSrgb = kProfiles + "sRGB.icc";
const std::string kGrey = kProfiles + "Gray.icc";

// Saturated primaries, a skin tone, a brick red and two greys.
const std::vector<Rgb> kPatches = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {224, 172, 138},
                                   {200, 60, 40}, {128, 128, 128}, {30, 30, 30}};
constexpr int kPatchSide = 8;

Bytes Profile(const std::string& path) {
    Bytes bytes = decode_testing::ReadBytes(path);
    EXPECT_FALSE(bytes.empty()) << path << " is missing (Debian package icc-profiles-free)";
    return bytes;
}

// transicc's sRGB values for each patch, rounded to levels.
std::vector<Rgb> TransiccReference(const std::string& profile, const std::vector<Rgb>& patches) {
    EXPECT_TRUE(decode_testing::ToolInstalled("transicc"));
    std::ostringstream input;
    for (const Rgb& c : patches) input << c[0] << ' ' << c[1] << ' ' << c[2] << "\\n";
    const auto out = decode_testing::Capture("printf '" + input.str() + "' | transicc -t0 -n -i '" + profile +
                                             "' -o '*sRGB'");
    std::vector<Rgb> reference;
    if (!out) return reference;
    std::istringstream lines(std::string(out->begin(), out->end()));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream values(line);
        double r = 0, g = 0, b = 0;
        if (values >> r >> g >> b) {
            // transicc works unbounded; a picture holds only 0..255.
            const auto level = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); };
            reference.push_back({level(r), level(g), level(b)});
        }
    }
    EXPECT_EQ(reference.size(), patches.size()) << "transicc said: " << std::string(out->begin(), out->end());
    return reference;
}

// The patches stacked, kPatchSide square each, every pixel's top byte set, with an icon mask.
render::RasterImage PatchPicture() {
    render::RasterImage image;
    image.width = kPatchSide;
    image.height = kPatchSide * static_cast<int>(kPatches.size());
    for (std::size_t i = 0; i < kPatches.size(); ++i) {
        const Rgb& c = kPatches[i];
        for (int n = 0; n < kPatchSide * kPatchSide; ++n) {
            const std::uint32_t top = static_cast<std::uint32_t>((i * 37 + n) & 0xFF) << 24;
            image.pixels.push_back(render::MakeColor(c[0], c[1], c[2]) | top);
            image.mask.push_back(static_cast<std::uint8_t>(n & 1));
        }
    }
    return image;
}

int WorstDifference(render::Color pixel, const Rgb& expected) {
    return std::max({std::abs(render::RedOf(pixel) - expected[0]), std::abs(render::GreenOf(pixel) - expected[1]),
                     std::abs(render::BlueOf(pixel) - expected[2])});
}

void ExpectMatches(const render::RasterImage& converted, const render::RasterImage& original,
                   const std::vector<Rgb>& reference) {
    ASSERT_EQ(reference.size(), kPatches.size());
    ASSERT_EQ(converted.pixels.size(), original.pixels.size());
    for (std::size_t i = 0; i < converted.pixels.size(); ++i) {
        const std::size_t patch = i / (kPatchSide * kPatchSide);
        ASSERT_LE(WorstDifference(converted.pixels[i], reference[patch]), 2) << "patch " << patch << " pixel " << i;
        ASSERT_EQ(converted.pixels[i] >> 24, original.pixels[i] >> 24) << "top byte of pixel " << i;
    }
    EXPECT_EQ(converted.mask, original.mask);
}

TEST(DisplayColour, AdobeRgbPatchesMatchTransicc) {
    const Bytes adobe = Profile(kAdobe);
    const std::vector<Rgb> reference = TransiccReference(kAdobe, kPatches);
    ASSERT_EQ(reference.size(), kPatches.size());
    // The brick red moves by about thirty levels: a conversion that did nothing would fail.
    EXPECT_GT(WorstDifference(render::MakeColor(200, 60, 40), reference[4]), 20);

    const render::RasterImage original = PatchPicture();
    render::RasterImage image = original;
    EXPECT_TRUE(ConvertToSrgbForDisplay(image, adobe));
    ExpectMatches(image, original, reference);

    // Switching profiles must not reuse the conversion kept for the last one.
    const std::string lstarPath = kProfiles + "LStar-RGB.icc";
    for (const std::string& path : {lstarPath, kAdobe}) {
        render::RasterImage again = original;
        EXPECT_TRUE(ConvertToSrgbForDisplay(again, Profile(path)));
        ExpectMatches(again, original, TransiccReference(path, kPatches));
    }
}

// A copy of the profile with its tag data overwritten: the header and the tag table still read.
Bytes WithTagDataZeroed(Bytes profile) {
    const std::size_t tags = (std::size_t{profile[128]} << 24) | (std::size_t{profile[129]} << 16) |
                             (std::size_t{profile[130]} << 8) | profile[131];
    for (std::size_t i = 132 + tags * 12; i < profile.size(); ++i) profile[i] = 0;
    return profile;
}

TEST(DisplayColour, UnusableProfilesLeaveThePixelsAsTheyAre) {
    const Bytes adobe = Profile(kAdobe);
    ASSERT_GT(adobe.size(), 300u);
    Bytes random(adobe.size());
    std::mt19937 generator(7);
    for (std::uint8_t& byte : random) byte = static_cast<std::uint8_t>(generator());
    Bytes noMagic = adobe;
    noMagic[36] = 'x';  // 'acsp'

    const std::vector<std::pair<std::string, Bytes>> cases = {
        {"empty", {}},
        {"truncated", Bytes(adobe.begin(), adobe.begin() + static_cast<long>(adobe.size() / 2))},
        {"header only", Bytes(adobe.begin(), adobe.begin() + 128)},
        {"random bytes", random},
        {"no signature", noMagic},
        {"tag data zeroed", WithTagDataZeroed(adobe)},
        {"grey profile", Profile(kGrey)},
        {"sRGB from another maker", Profile(kSrgb)},
    };
    const render::RasterImage original = PatchPicture();
    for (const auto& [name, bytes] : cases) {
        render::RasterImage image = original;
        EXPECT_FALSE(ConvertToSrgbForDisplay(image, bytes)) << name;
        EXPECT_EQ(image.pixels, original.pixels) << name;
        EXPECT_EQ(ProfileParses(bytes), name == "grey profile" || name == "sRGB from another maker") << name;
    }
    EXPECT_TRUE(ProfileParses(adobe));
}

// What exiftool reads as the profile's description.
std::string ExiftoolDescription(const std::string& path) {
    EXPECT_TRUE(decode_testing::ToolInstalled("exiftool"));
    const auto out = decode_testing::Capture("exiftool -s3 -ProfileDescription '" + path + "'");
    std::string text = out ? std::string(out->begin(), out->end()) : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

TEST(DisplayColour, DescriptionIsTheProfilesOwnText) {
    for (const std::string& path : {kAdobe, kSrgb, kGrey}) {
        const std::string expected = ExiftoolDescription(path);
        ASSERT_FALSE(expected.empty()) << path;
        EXPECT_EQ(ProfileDescription(Profile(path)), expected) << path;
    }
    const Bytes adobe = Profile(kAdobe);
    EXPECT_EQ(ProfileDescription(Bytes(adobe.begin(), adobe.begin() + 200)), "");
    EXPECT_EQ(ProfileDescription({}), "");
}

}  // namespace
}  // namespace velinor::imageio

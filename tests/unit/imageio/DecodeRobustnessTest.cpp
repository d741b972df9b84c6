// Every seed file of every format, cut short at every length and with bytes changed at
// random: decoding either fails or yields a whole picture, and never reads outside the data
// (the sanitizer build checks that).
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "DecodeTestSupport.h"
#include "imageio/PictureDecoder.h"

namespace velinor::imageio {
namespace {

using decode_testing::Bytes;

void ExpectWholeOrNothing(const std::optional<render::RasterImage>& image, const std::string& what) {
    if (!image) return;
    const std::size_t count = static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
    EXPECT_TRUE(render::ValidImageSize(image->width, image->height)) << what;
    EXPECT_EQ(image->pixels.size(), count) << what;
    if (image->IsIcon()) {
        EXPECT_EQ(image->mask.size(), count) << what;
    }
}

// The seeds of the formats the picture loader reads (the corpus holds others as well).
std::vector<std::filesystem::path> Seeds() {
    std::vector<std::filesystem::path> seeds;
    for (const char* format : {"bmp", "ico", "jpeg", "png", "tga"}) {
        const std::string folder = std::string(VELINOR_SOURCE_DIR) + "/tests/fuzz/corpus/" + format;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.is_regular_file()) seeds.push_back(entry.path());
        }
    }
    std::sort(seeds.begin(), seeds.end());
    return seeds;
}

const DecodeLimits kSmall{render::kMaxImageSide, 1 << 20};

TEST(DecodeRobustness, SeedsDecodeAndTheirCutsFail) {
    const auto seeds = Seeds();
    ASSERT_GE(seeds.size(), 25u);
    for (const auto& path : seeds) {
        const Bytes bytes = decode_testing::ReadBytes(path.string());
        const std::string name = path.filename().string();
        const bool broken = name.rfind("truncated", 0) == 0;
        const bool icon = path.extension() == ".ico";
        // A bomb promises far more than it holds: refused under the small limits whatever it is.
        if (name.rfind("bomb", 0) == 0) {
            EXPECT_FALSE(DecodePicture(bytes, IconChoice::Best, kSmall).has_value()) << name;
            continue;
        }
        EXPECT_EQ(DecodePicture(bytes, IconChoice::Best).has_value(), !broken) << name;
        for (std::size_t keep = 0; keep < bytes.size(); ++keep) {
            const Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(keep));
            const auto image = DecodePicture(cut, IconChoice::Best, kSmall);
            ExpectWholeOrNothing(image, name + " cut at " + std::to_string(keep));
            // Half a file is never a picture; an icon may fall back to another image.
            if (!icon && keep <= bytes.size() / 2) {
                EXPECT_FALSE(image.has_value()) << name << " cut at " << keep;
            }
        }
    }
}

TEST(DecodeRobustness, ChangedBytesNeverBreakTheDecoders) {
    std::mt19937 random(20261208);
    for (const auto& path : Seeds()) {
        const Bytes bytes = decode_testing::ReadBytes(path.string());
        if (bytes.empty()) continue;
        for (int round = 0; round < 150; ++round) {
            Bytes changed = bytes;
            const int edits = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < edits; ++i) {
                // Headers are where lies do harm, so aim half of the edits at the first bytes.
                const std::size_t span = (random() % 2 == 0) ? std::min<std::size_t>(64, changed.size()) : changed.size();
                changed[random() % span] = static_cast<std::uint8_t>(random());
            }
            const std::string what = path.filename().string() + " round " + std::to_string(round);
            ExpectWholeOrNothing(DecodePicture(changed, IconChoice::Best, kSmall), what);
            ExpectWholeOrNothing(DecodePicture(changed, IconChoice::First, kSmall), what);
        }
    }
}

}  // namespace
}  // namespace velinor::imageio

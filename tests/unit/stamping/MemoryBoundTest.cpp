// The sizes pictures promise before they are read, and how many workers fit in memory.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "stamping/MemoryBound.h"
#include "tests/unit/imageio/LibjpegEncode.h"

namespace velinor::stamping {
namespace {

std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
}

// A JPEG made by libjpeg, with a 60 000-byte APP1 segment put before its frame header, so that
// the frame is found by walking the segments, past the first bytes of the file.
std::vector<std::uint8_t> JpegWithLargeSegment(int width, int height) {
    std::vector<std::uint8_t> jpeg =
        imageio::decode_testing::LibjpegEncode(std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3, 128),
                                               width, height, 3, JCS_RGB, 90);
    std::vector<std::uint8_t> segment = {0xFF, 0xE1, 0xEA, 0x62};   // length 60 002
    segment.resize(60002 + 2, 'x');
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

TEST(PromisedSize, AJpegsFrameIsFoundPastLargeSegments) {
    const auto size = PromisedSize(WriteFile("promised.jpg", JpegWithLargeSegment(123, 45)));
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 123);
    EXPECT_EQ(size->height, 45);
}

TEST(PromisedSize, ABrokenOrCutJpegPromisesNothing) {
    std::vector<std::uint8_t> jpeg = JpegWithLargeSegment(20, 10);
    jpeg.resize(40000);   // inside the large segment
    EXPECT_FALSE(PromisedSize(WriteFile("cut.jpg", jpeg)));
    std::vector<std::uint8_t> zero = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x00};   // a segment length below 2
    EXPECT_FALSE(PromisedSize(WriteFile("zero.jpg", zero)));
    EXPECT_FALSE(PromisedSize(::testing::TempDir() + "no-such-file.jpg"));
}

TEST(WorkersThatFit, WorkersAreLoweredToWhatFitsAndNeverBelowOne) {
    const imageio::PictureSize twelveMegapixels{4000, 3000};   // 96 MB in flight each
    EXPECT_EQ(BytesInFlight(twelveMegapixels), 96'000'000u);
    EXPECT_EQ(WorkersThatFit(8, twelveMegapixels, 1'000'000'000u), 8);
    EXPECT_EQ(WorkersThatFit(8, twelveMegapixels, 300'000'000u), 3);
    EXPECT_EQ(WorkersThatFit(8, twelveMegapixels, 50'000'000u), 1);
    EXPECT_EQ(WorkersThatFit(4, {}, 1'000u), 4);   // no size known: nothing to lower for
}

}  // namespace
}  // namespace velinor::stamping

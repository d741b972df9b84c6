// What only PNG files have: the icon form keeps transparency as a mask; damaged and oversized files fail.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include "DecodeTestSupport.h"
#include "imageio/PngDecoder.h"

namespace velinor::imageio {
namespace {

using decode_testing::Bytes;

void PutBe32(Bytes& out, std::uint32_t v) {
    out.insert(out.end(), {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)});
}

void Chunk(Bytes& out, const char* type, const Bytes& data) {
    PutBe32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBe32(out, static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// A PNG built here: raw is the filtered image data (a filter byte before every row).
Bytes MakePng(std::uint32_t width, std::uint32_t height, int depth, int colourType, const Bytes& raw,
              const Bytes& palette = {}, const Bytes& transparency = {}, bool interlaced = false) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    PutBe32(ihdr, width);
    PutBe32(ihdr, height);
    ihdr.insert(ihdr.end(), {std::uint8_t(depth), std::uint8_t(colourType), 0, 0, std::uint8_t(interlaced ? 1 : 0)});
    Chunk(out, "IHDR", ihdr);
    if (!palette.empty()) Chunk(out, "PLTE", palette);
    if (!transparency.empty()) Chunk(out, "tRNS", transparency);
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(size);
    compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    packed.resize(size);
    Chunk(out, "IDAT", packed);
    Chunk(out, "IEND", {});
    return out;
}

// 3 x 2 palette picture; entry 1 is half transparent, entry 2 fully transparent.
Bytes PalettePng() {
    return MakePng(3, 2, 8, 3, {0, 0, 1, 2, 0, 2, 1, 0}, {255, 0, 0, 0, 255, 0, 0, 0, 255}, {255, 128, 0});
}

TEST(PngIcon, TransparencyBecomesTheMaskAndTransparentPixelsBlack) {
    const auto icon = DecodePngIcon(PalettePng());
    ASSERT_TRUE(icon.has_value());
    ASSERT_TRUE(icon->IsIcon());
    EXPECT_EQ(icon->mask, (std::vector<std::uint8_t>{1, 1, 0, 0, 1, 1}));
    const render::Color red = render::MakeColor(255, 0, 0), green = render::MakeColor(0, 255, 0);
    EXPECT_EQ(icon->pixels, (render::Pixels{red, green, render::kBlack, render::kBlack, green, red}));

    // The picture form keeps the stored colours and has no mask.
    const auto picture = DecodePng(PalettePng());
    ASSERT_TRUE(picture.has_value());
    EXPECT_FALSE(picture->IsIcon());
    EXPECT_EQ(picture->pixels[2], render::MakeColor(0, 0, 255));

    // An opaque colour type gives an all-opaque mask.
    const auto opaque = DecodePngIcon(MakePng(2, 1, 8, 2, {0, 1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(opaque.has_value());
    EXPECT_EQ(opaque->mask, (std::vector<std::uint8_t>{1, 1}));
    EXPECT_EQ(opaque->pixels[1], render::MakeColor(4, 5, 6));
}

TEST(PngDamaged, TruncatedCorruptAndLyingFilesFail) {
    Bytes raw;
    for (int y = 0; y < 16; ++y) {
        raw.push_back(static_cast<std::uint8_t>(y % 5));  // every filter type
        for (int i = 0; i < 48; ++i) raw.push_back(static_cast<std::uint8_t>(i * y));
    }
    const Bytes good = MakePng(16, 16, 8, 2, raw);
    ASSERT_TRUE(DecodePng(good).has_value());
    for (std::size_t keep = 8; keep + 12 < good.size(); keep += 3) {
        EXPECT_FALSE(DecodePng(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(keep))).has_value()) << keep;
    }
    Bytes badCrc = good;
    badCrc[badCrc.size() - 20] ^= 0x55;  // inside the image data
    EXPECT_FALSE(DecodePng(badCrc).has_value());
    EXPECT_FALSE(DecodePng(MakePng(16, 16, 8, 2, Bytes(raw.begin(), raw.end() - 49))).has_value()) << "a row short";
    EXPECT_FALSE(DecodePng(MakePng(4, 4, 8, 2, Bytes(4 * 13, 9))).has_value()) << "unknown filter";
    EXPECT_FALSE(DecodePng(MakePng(4, 4, 3, 2, Bytes(4 * 13, 0))).has_value()) << "impossible depth";
}

TEST(PngLimits, OversizedHeadersFailBeforeDecoding) {
    EXPECT_FALSE(DecodePng(MakePng(32768, 1, 8, 0, Bytes(32769, 0))).has_value());
    EXPECT_TRUE(DecodePng(MakePng(32767, 1, 8, 0, Bytes(32768, 0))).has_value());
    // 20000 x 20000 is beyond the pixel limit however the data looks.
    EXPECT_FALSE(DecodePng(MakePng(20000, 20000, 1, 0, Bytes(20, 0))).has_value());
    // 30000 x 8000 is within limits but a few bytes of image data cannot fill it.
    EXPECT_FALSE(DecodePng(MakePng(30000, 8000, 8, 6, Bytes(20, 0))).has_value());
    const DecodeLimits small{render::kMaxImageSide, 5};
    EXPECT_FALSE(DecodePng(PalettePng(), small).has_value());
    EXPECT_TRUE(DecodePng(PalettePng(), DecodeLimits{render::kMaxImageSide, 6}).has_value());
}

// An interlaced picture is decoded into one whole-size buffer before its rows arrive, so a
// header that claims far more pixels than its data holds must be refused before that buffer
// exists: decoded in a child process, the attempt may not grow the child beyond a few dozen MB
// (the whole buffer for 30000 x 8000 would be about 960 MB).
TEST(PngLimits, AnInterlacedHeaderLargerThanItsDataFailsWithoutTakingTheMemory) {
    const Bytes lying = MakePng(30000, 8000, 8, 6, Bytes(20, 0), {}, {}, true);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(DecodePng(lying).has_value() ? 1 : 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the picture decoded";
    rusage usage{};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 100 * 1024) << "peak kB of the decoding child";

    // The same check does not refuse an honest interlaced picture.
    const Bytes honest = MakePng(1, 1, 8, 2, Bytes{0, 10, 20, 30}, {}, {}, true);
    const auto decoded = DecodePng(honest);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->pixels.at(0), render::MakeColor(10, 20, 30));
}

// A zlib stream of the picture's rows followed by extra megabytes of zeros, within the bound
// the header checks allow (at most twice the raw rows): each megabyte is flushed whole, so one
// compressed megabyte repeated makes a sound stream, its check value combined arithmetically.
Bytes RowsThenExcess(const Bytes& rows, int extraMegabytes) {
    z_stream z{};
    deflateInit(&z, 9);
    const auto deflateAll = [&](const Bytes& in, int flush) {
        Bytes packed(compressBound(static_cast<uLong>(in.size())) + 64);
        z.next_in = const_cast<Bytef*>(in.data());
        z.avail_in = static_cast<uInt>(in.size());
        z.next_out = packed.data();
        z.avail_out = static_cast<uInt>(packed.size());
        deflate(&z, flush);
        packed.resize(packed.size() - z.avail_out);
        return packed;
    };
    Bytes stream = deflateAll(rows, Z_FULL_FLUSH);
    const Bytes megabyte(1 << 20, 0);
    const Bytes packedMegabyte = deflateAll(megabyte, Z_FULL_FLUSH);
    for (int i = 0; i < extraMegabytes; ++i) stream.insert(stream.end(), packedMegabyte.begin(), packedMegabyte.end());
    // The end: an empty final block, and the check value of everything the stream holds.
    Bytes tail = deflateAll({}, Z_FINISH);
    deflateEnd(&z);
    tail.resize(tail.size() - 4);
    stream.insert(stream.end(), tail.begin(), tail.end());
    uLong check = adler32(adler32(0, nullptr, 0), rows.data(), static_cast<uInt>(rows.size()));
    const uLong megabyteCheck = adler32(adler32(0, nullptr, 0), megabyte.data(), static_cast<uInt>(megabyte.size()));
    for (int i = 0; i < extraMegabytes; ++i) check = adler32_combine(check, megabyteCheck, 1 << 20);
    PutBe32(stream, static_cast<std::uint32_t>(check));
    return stream;
}

Bytes PngWithImageData(std::uint32_t width, std::uint32_t height, bool interlaced, const Bytes& data) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    PutBe32(ihdr, width);
    PutBe32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 0, 0, 0, std::uint8_t(interlaced ? 1 : 0)});
    Chunk(out, "IHDR", ihdr);
    Chunk(out, "IDAT", data);
    Chunk(out, "IEND", {});
    return out;
}

// Image data that goes on past the rows is damaged: the decode stops at the last row instead
// of inflating the rest (a gigabyte of zeros here, from a file of about a megabyte).
TEST(PngLimits, ImageDataGoingOnPastTheRowsIsDamaged) {
    const std::uint32_t width = 1000, height = 600;
    const Bytes rows(static_cast<std::size_t>(width + 1) * height, 0);
    EXPECT_TRUE(DecodePng(PngWithImageData(width, height, false, RowsThenExcess(rows, 0))).has_value())
        << "the same rows without excess";
    EXPECT_FALSE(DecodePng(PngWithImageData(width, height, false, RowsThenExcess(rows, 1000))).has_value());
    // Interlaced rows: seven passes of the same zero-filtered bytes, as many as the rows need.
    Bytes passes;
    for (int pass = 0; pass < 7; ++pass) {
        static constexpr int kStartX[] = {0, 4, 0, 2, 0, 1, 0}, kStepX[] = {8, 8, 4, 4, 2, 2, 1};
        static constexpr int kStartY[] = {0, 0, 4, 0, 2, 0, 1}, kStepY[] = {8, 8, 8, 4, 4, 2, 2};
        const std::size_t passWidth = (width - kStartX[pass] + kStepX[pass] - 1) / kStepX[pass];
        const std::size_t passRows = (height - kStartY[pass] + kStepY[pass] - 1) / kStepY[pass];
        passes.insert(passes.end(), (passWidth + 1) * passRows, 0);
    }
    EXPECT_TRUE(DecodePng(PngWithImageData(width, height, true, RowsThenExcess(passes, 0))).has_value());
    EXPECT_FALSE(DecodePng(PngWithImageData(width, height, true, RowsThenExcess(passes, 1000))).has_value());
}

}  // namespace
}  // namespace velinor::imageio

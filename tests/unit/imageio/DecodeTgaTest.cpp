// TGA files crafted byte by byte: the depths and origins the decoder takes, and the files it
// must refuse.
#include <gtest/gtest.h>

#include "DecodeTestSupport.h"
#include "imageio/TgaDecoder.h"

namespace velinor::imageio {
namespace {

using render::MakeColor;
using decode_testing::Bytes;

struct TgaHeader {
    std::uint8_t idLength = 0;
    std::uint8_t mapType = 0;
    std::uint8_t type = 2;
    std::uint16_t mapLength = 0;
    std::uint8_t mapBits = 0;
    std::uint16_t width = 2;
    std::uint16_t height = 2;
    std::uint8_t bits = 24;
    std::uint8_t descriptor = 0;
};

Bytes Tga(const TgaHeader& h, const Bytes& body) {
    Bytes out = {h.idLength, h.mapType, h.type, 0, 0};
    decode_testing::Put16(out, h.mapLength);
    out.push_back(h.mapBits);
    decode_testing::Put16(out, 0);
    decode_testing::Put16(out, 0);
    decode_testing::Put16(out, h.width);
    decode_testing::Put16(out, h.height);
    out.push_back(h.bits);
    out.push_back(h.descriptor);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// Stored order of a 2x2 picture: the first stored pixel is A, then B, C, D.
const Bytes kBgr24 = {0, 0, 255, /*B*/ 0, 255, 0, /*C*/ 255, 0, 0, /*D*/ 255, 255, 255};
const render::Color A = MakeColor(255, 0, 0), B = MakeColor(0, 255, 0), C = MakeColor(0, 0, 255),
                    D = MakeColor(255, 255, 255);

TEST(TgaOrigin, EachOriginPutsTheFirstStoredPixelInItsCorner) {
    const std::vector<std::pair<std::uint8_t, render::Pixels>> cases = {
        {0x00, {C, D, A, B}},  // bottom left: stored rows run upwards
        {0x20, {A, B, C, D}},  // top left: stored as shown
        {0x10, {D, C, B, A}},  // bottom right
        {0x30, {B, A, D, C}},  // top right
    };
    for (const auto& [descriptor, expected] : cases) {
        TgaHeader header;
        header.descriptor = descriptor;
        const auto image = DecodeTga(Tga(header, kBgr24));
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->pixels, expected) << "descriptor " << int(descriptor);
    }
}

TEST(TgaDepths, SixteenThirtyTwoAndRunLengthGiveTheSamePicture) {
    TgaHeader header;
    header.descriptor = 0x20;
    header.bits = 32;
    const auto bgra = DecodeTga(Tga(header, {0, 0, 255, 7, 0, 255, 0, 0, 255, 0, 0, 128, 255, 255, 255, 255}));
    ASSERT_TRUE(bgra.has_value());
    EXPECT_EQ(bgra->pixels, (render::Pixels{A, B, C, D}));

    // Sixteen bits: five per channel shifted up by three; the top bit is ignored.
    header.bits = 16;
    Bytes body;
    for (unsigned v : {0x7C00u, 0x83E0u, 0x001Fu, 0x7FFFu}) decode_testing::Put16(body, v);
    const auto five = DecodeTga(Tga(header, body));
    ASSERT_TRUE(five.has_value());
    EXPECT_EQ(five->pixels, (render::Pixels{MakeColor(248, 0, 0), MakeColor(0, 248, 0),
                                                        MakeColor(0, 0, 248), MakeColor(248, 248, 248)}));

    // Runs may cross rows; a run longer than the picture stops at its last pixel.
    header.type = 10;
    header.bits = 24;
    const auto runs = DecodeTga(Tga(header, {0x81, 0, 0, 255, 0x83, 255, 255, 255}));
    ASSERT_TRUE(runs.has_value());
    EXPECT_EQ(runs->pixels, (render::Pixels{A, A, D, D}));
    const auto literal = DecodeTga(Tga(header, {0x03, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}));
    ASSERT_TRUE(literal.has_value());
    EXPECT_EQ(literal->pixels, (render::Pixels{A, B, C, D}));
}

TEST(TgaSkips, IdentityAndColourMapAreSkipped) {
    TgaHeader header;
    header.descriptor = 0x20;
    header.idLength = 3;
    header.mapType = 1;
    header.mapLength = 2;
    header.mapBits = 15;  // two bytes an entry, not one
    Bytes body = {'i', 'd', '!', 1, 2, 3, 4};
    body.insert(body.end(), kBgr24.begin(), kBgr24.end());
    const auto image = DecodeTga(Tga(header, body));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->pixels, (render::Pixels{A, B, C, D}));
}

TEST(TgaRefused, OtherTypesDepthsAndShortDataGiveNothing) {
    for (std::uint8_t type : {0, 1, 3, 9, 11}) {
        TgaHeader header;
        header.type = type;
        EXPECT_FALSE(DecodeTga(Tga(header, kBgr24)).has_value()) << "type " << int(type);
    }
    for (std::uint8_t bits : {8, 15, 16}) {
        TgaHeader header;
        header.type = 10;
        header.bits = bits;
        EXPECT_FALSE(DecodeTga(Tga(header, Bytes(64, 0x81))).has_value()) << "run length, bits " << int(bits);
    }
    TgaHeader header;
    header.bits = 8;
    EXPECT_FALSE(DecodeTga(Tga(header, kBgr24)).has_value());

    header = TgaHeader{};
    EXPECT_FALSE(DecodeTga(Tga(header, Bytes(kBgr24.begin(), kBgr24.end() - 1))).has_value());
    header.width = 0;
    EXPECT_FALSE(DecodeTga(Tga(header, kBgr24)).has_value());
    header = TgaHeader{};
    header.type = 10;
    EXPECT_FALSE(DecodeTga(Tga(header, {0x81, 0, 0, 255})).has_value()) << "runs end early";
    EXPECT_FALSE(DecodeTga(Tga(header, {0x83, 0, 0})).has_value()) << "run pixel cut off";
    header = TgaHeader{};
    header.idLength = 255;
    EXPECT_FALSE(DecodeTga(Tga(header, kBgr24)).has_value()) << "identity longer than the file";
    header = TgaHeader{};
    header.width = 65535;
    header.height = 65535;
    EXPECT_FALSE(DecodeTga(Tga(header, kBgr24)).has_value());
    EXPECT_FALSE(DecodeTga(Bytes{0, 0, 2}).has_value());
}

TEST(TgaRefused, RunLengthHeaderPromisingAHugePictureFailsFast) {
    // 30000 x 8000 pixels claimed by a few bytes of runs: refused when the data runs out,
    // without first committing memory for the whole picture.
    TgaHeader header;
    header.type = 10;
    header.width = 30000;
    header.height = 8000;
    const auto image = DecodeTga(Tga(header, Bytes(300, 0xFF)));
    EXPECT_FALSE(image.has_value());
}

}  // namespace
}  // namespace velinor::imageio

// The metadata pieces a file check cannot reach directly: the GUID digest against the published
// MD5 test vectors, and blocks that must be left out with their warning.
#include <gtest/gtest.h>

#include <exiv2/exiv2.hpp>

#include <string>
#include <vector>

#include "imageio/Md5.h"
#include "imageio/MetadataBlocks.h"
#include "imageio/PictureMetadata.h"

namespace velinor::imageio {
namespace {

TEST(Md5, MatchesThePublishedTestVectorsAcrossBlockBoundaries) {
    EXPECT_EQ(Md5Hex(""), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(Md5Hex("abc"), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "C3FCD3D76192E4007DFB496CCA67E13B");
    // 62 and 80 bytes: the length no longer fits the first tail block / more than one block.
    EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "D174AB98D277D9F5A5611C2C9F419D9F");
    EXPECT_EQ(Md5Hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57EDF4A22BE3C955AC49DA2E2107B67A");
}

TEST(VetMetadata, LeavesOutEachDamagedBlockAloneWithOneWarning) {
    PictureMetadata metadata;
    // A little-endian TIFF header whose first directory lies far past the block.
    metadata.exif = {'I', 'I', 42, 0, 0, 0, 0, 1};
    metadata.icc = std::vector<std::uint8_t>(200, 0);  // no "acsp", no size
    const std::string goodXmp =
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
        "<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmp:Rating=\"3\"/>"
        "</rdf:RDF></x:xmpmeta>";
    VetMetadata(metadata, goodXmp);
    EXPECT_TRUE(metadata.exif.empty());
    EXPECT_TRUE(metadata.icc.empty());
    EXPECT_EQ(metadata.xmp, goodXmp);
    EXPECT_EQ(metadata.orientation, 1);
    EXPECT_EQ(metadata.warnings, (std::vector<std::string>{"the EXIF metadata is damaged and was left out",
                                                           "the ICC profile metadata is damaged and was left out"}));

    PictureMetadata broken;
    VetMetadata(broken, goodXmp.substr(0, goodXmp.size() / 2));
    EXPECT_TRUE(broken.xmp.empty());
    EXPECT_EQ(broken.warnings, std::vector<std::string>{"the XMP metadata is damaged and was left out"});
}

TEST(VetMetadata, AProfileWithAHeaderButNoColoursIsLeftOut) {
    PictureMetadata metadata;
    metadata.icc = std::vector<std::uint8_t>(132, 0);
    metadata.icc[3] = 132;
    metadata.icc[16] = 'R', metadata.icc[17] = 'G', metadata.icc[18] = 'B', metadata.icc[19] = ' ';
    metadata.icc[36] = 'a', metadata.icc[37] = 'c', metadata.icc[38] = 's', metadata.icc[39] = 'p';
    VetMetadata(metadata, {});
    EXPECT_TRUE(metadata.icc.empty());
    EXPECT_EQ(metadata.warnings, std::vector<std::string>{"the ICC profile metadata is damaged and was left out"});
}

// A little-endian EXIF block as a KONICA MINOLTA camera writes it: Make, Artist, and a maker
// note whose thumbnail entry points past the block (the camera keeps that data elsewhere).
std::vector<std::uint8_t> ExifWithAMakerNotePointingOutside() {
    std::vector<std::uint8_t> b = {'I', 'I', 42, 0, 8, 0, 0, 0};
    const auto u16 = [&](unsigned v) { b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); };
    const auto u32 = [&](unsigned v) {
        b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
    };
    const auto entry = [&](unsigned tag, unsigned type, unsigned count, unsigned value) {
        u16(tag), u16(type), u32(count), u32(value);
    };
    u16(3);                                   // IFD0 at 8
    entry(0x010F, 2, 15, 50);                 // Make, at 50
    entry(0x013B, 2, 4, 0x006E6E41);          // Artist "Ann", in the entry
    entry(0x8769, 4, 1, 66);                  // the EXIF directory, at 66
    u32(0);
    for (const char c : std::string("KONICA MINOLTA")) b.push_back(std::uint8_t(c));
    b.insert(b.end(), {0, 0});                // the string's end, and a pad byte
    u16(1);                                   // EXIF directory at 66
    entry(0x927C, 7, 30, 84);                 // MakerNote, at 84
    u32(0);
    u16(2);                                   // the maker note: a directory of its own
    entry(0x0088, 4, 1, 0x00FFFF00);          // thumbnail start, far past the block
    entry(0x0089, 4, 1, 1000);                // thumbnail length
    u32(0);
    return b;
}

TEST(VetMetadata, ADamagedMakerNoteIsLeftOutAndTheRestOfTheExifKept) {
    PictureMetadata metadata;
    metadata.exif = ExifWithAMakerNotePointingOutside();
    VetMetadata(metadata, {});
    ASSERT_FALSE(metadata.exif.empty());
    EXPECT_EQ(metadata.warnings,
              std::vector<std::string>{"the camera's maker note in the EXIF metadata is damaged and was left out"});

    const PictureMetadata written = PrepareMetadata(metadata, {}, 10, 10);
    ASSERT_FALSE(written.exif.empty());
    Exiv2::ExifData read;
    Exiv2::ExifParser::decode(read, written.exif.data(), static_cast<std::uint32_t>(written.exif.size()));
    EXPECT_EQ(read["Exif.Image.Artist"].toString(), "Ann");
    EXPECT_EQ(read["Exif.Image.Make"].toString(), "KONICA MINOLTA");
    EXPECT_EQ(read.findKey(Exiv2::ExifKey("Exif.Photo.MakerNote")), read.end());
    for (const auto& datum : read) EXPECT_FALSE(Exiv2::ExifTags::isMakerGroup(datum.groupName())) << datum.key();
}

TEST(PrepareMetadata, WritesTheBlocksThePictureHoldsNowNotTheOnesReadFirst) {
    const auto packet = [](const char* rating) {
        return std::string("<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                           "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description rdf:about=\"\" "
                           "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmp:Rating=\"") +
               rating + "\"/></rdf:RDF></x:xmpmeta>";
    };
    PictureMetadata metadata;
    VetMetadata(metadata, packet("3"));
    const PictureMetadata first = PrepareMetadata(metadata, {}, 10, 10);
    EXPECT_NE(first.xmp.find("xmp:Rating=\"3\""), std::string::npos) << first.xmp;
    metadata.xmp = packet("5");
    const PictureMetadata changed = PrepareMetadata(metadata, {}, 10, 10);
    EXPECT_NE(changed.xmp.find("xmp:Rating=\"5\""), std::string::npos) << changed.xmp;
}

TEST(PrepareMetadata, StripKeepsOnlyAnRgbProfile) {
    PictureMetadata source;
    source.exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    source.xmp = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/>";
    source.icc = std::vector<std::uint8_t>(132, 0);
    source.icc[2] = 0;
    source.icc[3] = 132;  // size 132, big-endian
    source.icc[16] = 'G', source.icc[17] = 'R', source.icc[18] = 'A', source.icc[19] = 'Y';
    source.icc[36] = 'a', source.icc[37] = 'c', source.icc[38] = 's', source.icc[39] = 'p';
    MetadataChoices strip;
    strip.policy = MetadataPolicy::Strip;
    const PictureMetadata grey = PrepareMetadata(source, strip, 10, 10);
    EXPECT_FALSE(grey.HasBlocks()) << "a grey profile does not describe RGB pixels";
    source.icc[16] = 'R', source.icc[17] = 'G', source.icc[18] = 'B', source.icc[19] = ' ';
    const PictureMetadata rgb = PrepareMetadata(source, strip, 10, 10);
    EXPECT_EQ(rgb.icc, source.icc);
    EXPECT_TRUE(rgb.exif.empty());
    EXPECT_TRUE(rgb.xmp.empty());
}

}  // namespace
}  // namespace velinor::imageio

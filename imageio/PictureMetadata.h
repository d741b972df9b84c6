#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velinor::imageio {

// The EXIF and XMP blocks as the metadata library parsed them when they were read (defined where
// that library is used), so that writing a picture does not parse them a second time.
struct ParsedBlocks;

// What a photo carries beside its pixels, as read from a JPEG or PNG file and as written with
// the picture: each block as the bytes of its own format, never re-encoded on reading.
struct PictureMetadata {
    std::vector<std::uint8_t> exif;  // a TIFF header and its directories (after "Exif\0\0")
    std::string xmp;                 // one XMP packet, an extended JPEG packet merged into it
    std::vector<std::uint8_t> iptc;  // Photoshop image resources (the APP13 block after its name)
    std::vector<std::uint8_t> icc;   // an ICC profile
    bool srgb = false;               // a PNG sRGB chunk stood for the colours
    int srgbIntent = 0;              // its rendering intent, 0..3
    // The EXIF orientation (1..8) the stored pixels had; the decoded picture is upright.
    int orientation = 1;
    // One line per block that was damaged, hostile or too large and was left out.
    std::vector<std::string> warnings;
    // Set when the blocks were read from a file; used only while they still hold those bytes.
    std::shared_ptr<const ParsedBlocks> parsed;

    bool HasBlocks() const { return !exif.empty() || !xmp.empty() || !iptc.empty() || !icc.empty() || srgb; }
};

// Ceilings on what is read: a block beyond them is left out with a warning, never copied.
// An EXIF block fits one JPEG segment in every writer; PNG allows more, a megabyte is plenty.
inline constexpr std::size_t kMaxExifBytes = 1u << 20;
// The main packet and every extension part together.
inline constexpr std::size_t kMaxXmpBytes = 4u << 20;
inline constexpr std::size_t kMaxIptcBytes = 1u << 20;
// The largest profile JPEG markers can hold (255 segments) is about 16 MB; real ones are small.
inline constexpr std::size_t kMaxIccBytes = 4u << 20;

// What goes with a written picture.
enum class MetadataPolicy {
    Keep,      // everything, kept true to the written picture
    StripGps,  // the same without the GPS directory and XMP exif:GPS* properties
    Strip,     // only the colour profile
};

struct MetadataChoices {
    MetadataPolicy policy = MetadataPolicy::Keep;
    std::string copyright;  // when not empty: EXIF Copyright and XMP dc:rights
    // The written pixels are stored turned as the source's were (a JPEG rewritten block by
    // block), so the EXIF and XMP orientation stay as they were instead of becoming upright.
    bool keepOrientation = false;
};

// "keep", "strip-gps" or "strip"; nothing for any other word.
std::optional<MetadataPolicy> MetadataPolicyNamed(std::string_view name);

}  // namespace velinor::imageio

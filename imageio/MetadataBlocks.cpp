#include "imageio/MetadataBlocks.h"

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <ctime>
#include <memory>
#include <exception>
#include <iterator>
#include <mutex>
#include <stdexcept>
#include <string_view>

#include "imageio/ByteReader.h"
#include "imageio/DisplayColour.h"
#include "imageio/Md5.h"

namespace velinor::imageio {

struct ParsedBlocks {
    std::vector<std::uint8_t> exifBytes;  // the block that was parsed, to know it is still the one held
    Exiv2::ExifData exif;
    Exiv2::ByteOrder order = Exiv2::littleEndian;
    std::string xmpPacket;
    Exiv2::XmpData xmp;
};

namespace {

constexpr const char* kSoftware = "Velinor";
// Photoshop resources that are left out of a written file: the thumbnails (old and new form)
// show the unstamped picture, and the copies of EXIF and XMP would contradict the blocks written.
constexpr std::uint16_t kDroppedResources[] = {0x0409, 0x040C, 0x0422, 0x0424};
constexpr std::uint16_t kIptcResource = 0x0404;
constexpr std::size_t kIccHeaderSize = 132;
constexpr const char* kMakerNoteLeftOut = "the camera's maker note in the EXIF metadata is damaged and was left out";

// Exiv2 keeps its XMP toolkit and message handler process-wide: one block at a time is
// parsed or written, whatever thread asks (a batch decodes the next picture on a second thread).
std::mutex& LibraryLock() {
    static std::mutex lock;
    return lock;
}

// What the library said while the current block was parsed. A warning means it skipped part of
// the block (an entry pointing past the end, a directory cut short): the block is damaged.
// A complaint about a camera maker's own directory ("Directory Minolta, entry 0x0088: ...")
// is counted apart: maker notes follow no standard, and a camera whose note points past the
// block (at a preview kept elsewhere, say) has nothing wrong with the rest of its EXIF. Such a
// note is left out and the rest kept.
thread_local int complaints = 0;
thread_local int makerNoteComplaints = 0;

bool AboutMakerNote(const char* message) {
    constexpr std::string_view kDirectory = "Directory ";
    const std::string_view text(message != nullptr ? message : "");
    if (text.substr(0, kDirectory.size()) != kDirectory) return false;
    const std::size_t end = text.find_first_of(", ", kDirectory.size());
    if (end == std::string_view::npos) return false;
    return Exiv2::ExifTags::isMakerGroup(std::string(text.substr(kDirectory.size(), end - kDirectory.size())));
}

void CountComplaint(int level, const char* message) {
    if (level < Exiv2::LogMsg::warn) return;
    if (AboutMakerNote(message)) {
        ++makerNoteComplaints;
    } else {
        ++complaints;
    }
}

bool IsMakerNote(const Exiv2::Exifdatum& datum) {
    return Exiv2::ExifTags::isMakerGroup(datum.groupName()) || datum.groupName() == "MakerNote" ||
           datum.key() == "Exif.Photo.MakerNote";
}

void StartLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::warn);
        Exiv2::LogMsg::setHandler(CountComplaint);
        Exiv2::XmpParser::initialize();
    });
}

struct Damaged : std::runtime_error {
    Damaged() : std::runtime_error("damaged") {}
};

// The one place a failure of a block is caught: whatever the library throws, or a complaint it
// made, loses that block (drop clears it) and adds its warning line.
template <typename Work, typename Drop>
bool Guarded(PictureMetadata& metadata, const char* block, Work work, Drop drop) {
    try {
        const std::lock_guard<std::mutex> hold(LibraryLock());
        StartLibrary();
        complaints = 0;
        work();
        if (complaints != 0) throw Damaged();
        return true;
    } catch (const std::exception&) {
        drop();
        metadata.warnings.push_back(BlockWarning(block, "damaged"));
        return false;
    }
}

// makerNoteDropped, when given, says whether a damaged maker note was left out.
Exiv2::ExifData DecodeExif(const std::vector<std::uint8_t>& bytes, Exiv2::ByteOrder& order,
                           bool* makerNoteDropped = nullptr) {
    Exiv2::ExifData data;
    order = Exiv2::littleEndian;
    if (bytes.empty()) return data;
    if (bytes.size() > kMaxExifBytes) throw Damaged();
    makerNoteComplaints = 0;
    order = Exiv2::ExifParser::decode(data, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    if (order == Exiv2::invalidByteOrder) throw Damaged();
    if (makerNoteComplaints != 0) {
        for (auto it = data.begin(); it != data.end();) it = IsMakerNote(*it) ? data.erase(it) : std::next(it);
    }
    if (makerNoteDropped != nullptr) *makerNoteDropped = makerNoteComplaints != 0;
    return data;
}

Exiv2::XmpData DecodeXmp(const std::string& packet) {
    Exiv2::XmpData data;
    if (packet.size() > kMaxXmpBytes) throw Damaged();
    if (!packet.empty() && Exiv2::XmpParser::decode(data, packet) != 0) throw Damaged();
    return data;
}

std::string EncodeXmp(const Exiv2::XmpData& data) {
    std::string packet;
    if (Exiv2::XmpParser::encode(packet, data, Exiv2::XmpParser::useCompactFormat) != 0) throw Damaged();
    return packet;
}

template <typename Data, typename Keep>
void EraseUnless(Data& data, Keep keep) {
    for (auto it = data.begin(); it != data.end();) {
        if (keep(*it)) {
            ++it;
        } else {
            it = data.erase(it);
        }
    }
}

bool StartsWith(const std::string& text, std::string_view start) { return text.compare(0, start.size(), start) == 0; }

std::string Text(const Exiv2::XmpData& data, const char* key) {
    for (const auto& datum : data) {
        if (datum.key() == key) return datum.toString();
    }
    return {};
}

template <typename Data>
std::string Field(const Data& data, const char* key) {
    for (const auto& datum : data) {
        if (datum.key() == key) return datum.toString();
    }
    return {};
}

// The Photoshop resources of a block, walked without trusting a length: each as its start and
// its whole length (signature, id, name, size and data, padded to even). Nothing when the block
// is not a clean list of resources.
struct Resource {
    std::size_t start, length;
    std::uint16_t id;
    std::size_t dataStart, dataLength;
};
std::optional<std::vector<Resource>> Resources(const std::vector<std::uint8_t>& block) {
    const ByteReader bytes(block);
    std::vector<Resource> resources;
    std::size_t at = 0;
    while (at < block.size()) {
        const auto signature = bytes.U32be(at);
        const auto id = bytes.U16be(at + 4);
        const auto nameLength = bytes.U8(at + 6);
        if (!signature || !id || !nameLength || *signature != 0x3842494Du) return std::nullopt;  // "8BIM"
        const std::size_t name = (static_cast<std::size_t>(*nameLength) + 2) & ~std::size_t{1};
        const auto size = bytes.U32be(at + 6 + name);
        const std::size_t dataStart = at + 6 + name + 4;
        if (!size || !bytes.Has(dataStart, *size)) return std::nullopt;
        const std::size_t end = std::min(block.size(), dataStart + ((static_cast<std::size_t>(*size) + 1) & ~std::size_t{1}));
        resources.push_back({at, end - at, *id, dataStart, *size});
        at = end;
    }
    return resources;
}

void VetIptc(const std::vector<std::uint8_t>& block) {
    const auto resources = Resources(block);
    if (!resources) throw Damaged();
    for (const Resource& resource : *resources) {
        if (resource.id != kIptcResource) continue;
        Exiv2::IptcData iptc;
        if (Exiv2::IptcParser::decode(iptc, block.data() + resource.dataStart,
                                      static_cast<std::uint32_t>(resource.dataLength)) != 0) {
            throw Damaged();
        }
    }
}

bool IccHeaderHolds(const std::vector<std::uint8_t>& profile) {
    const ByteReader bytes(profile);
    return profile.size() >= kIccHeaderSize && bytes.U32be(0) == profile.size() && bytes.U32be(36) == 0x61637370u;  // "acsp"
}

// A grey or CMYK profile does not describe the RGB pixels every written picture has.
bool IsRgbProfile(const std::vector<std::uint8_t>& profile) {
    return IccHeaderHolds(profile) && ByteReader(profile).U32be(16) == 0x52474220u;  // "RGB "
}

std::string LocalTime(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::strftime(text, sizeof(text), format, &local);
    return text;
}

// ISO 8601 with the zone as +hh:mm, as XMP dates are written.
std::string XmpNow() {
    const std::string zone = LocalTime("%z");
    return LocalTime("%Y-%m-%dT%H:%M:%S") + (zone.size() == 5 ? zone.substr(0, 3) + ":" + zone.substr(3) : zone);
}

bool IsPreviewGroup(const std::string& group) {
    return group == "Thumbnail" || StartsWith(group, "SubImage") || StartsWith(group, "SubThumb") ||
           group.find("Preview") != std::string::npos || group.find("Thumb") != std::string::npos;
}

bool IsPreviewTag(const Exiv2::Exifdatum& datum) {
    if (IsPreviewGroup(datum.groupName())) return true;
    if (!Exiv2::ExifTags::isMakerGroup(datum.groupName())) return false;
    const std::string tag = datum.tagName();
    return tag.find("Preview") != std::string::npos || tag.find("Thumbnail") != std::string::npos;
}

// The blocks a picture holds, parsed: a copy of what was parsed on reading while the picture
// still holds those bytes, parsed now otherwise.
Exiv2::ExifData ExifOf(const PictureMetadata& source, Exiv2::ByteOrder& order) {
    if (source.parsed && !source.exif.empty() && source.parsed->exifBytes == source.exif) {
        order = source.parsed->order;
        return source.parsed->exif;
    }
    return DecodeExif(source.exif, order);
}

Exiv2::XmpData XmpOf(const PictureMetadata& source) {
    if (source.parsed && !source.xmp.empty() && source.parsed->xmpPacket == source.xmp) return source.parsed->xmp;
    return DecodeXmp(source.xmp);
}

std::vector<std::uint8_t> PrepareExif(const PictureMetadata& source, const MetadataChoices& choices, int width,
                                      int height) {
    Exiv2::ByteOrder order = Exiv2::littleEndian;
    Exiv2::ExifData exif = ExifOf(source, order);
    Exiv2::ExifThumb(exif).erase();
    EraseUnless(exif, [](const Exiv2::Exifdatum& datum) { return !IsPreviewTag(datum); });
    if (choices.policy == MetadataPolicy::StripGps) {
        EraseUnless(exif, [](const Exiv2::Exifdatum& datum) {
            return datum.groupName() != "GPSInfo" && datum.key() != "Exif.Image.GPSTag";
        });
    }
    if (!choices.keepOrientation && exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation")) != exif.end()) {
        exif["Exif.Image.Orientation"] = static_cast<std::uint16_t>(1);
    }
    exif["Exif.Photo.PixelXDimension"] = static_cast<std::uint32_t>(width);
    exif["Exif.Photo.PixelYDimension"] = static_cast<std::uint32_t>(height);
    exif["Exif.Image.Software"] = std::string(kSoftware);
    exif["Exif.Image.DateTime"] = LocalTime("%Y:%m:%d %H:%M:%S");
    if (!choices.copyright.empty()) exif["Exif.Image.Copyright"] = choices.copyright;
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, nullptr, 0, order, exif);
    return blob;
}

std::string PrepareXmp(const PictureMetadata& source, const MetadataChoices& choices, int width, int height) {
    Exiv2::XmpData xmp = XmpOf(source);
    EraseUnless(xmp, [&](const Exiv2::Xmpdatum& datum) {
        const std::string key = datum.key();
        if (StartsWith(key, "Xmp.xmp.Thumbnails") || key == "Xmp.xmpNote.HasExtendedXMP") return false;
        return choices.policy != MetadataPolicy::StripGps || !StartsWith(key, "Xmp.exif.GPS");
    });
    const auto setIfPresent = [&](const char* key, const std::string& value) {
        for (auto& datum : xmp) {
            if (datum.key() == key) datum.setValue(value);
        }
    };
    if (!choices.keepOrientation) setIfPresent("Xmp.tiff.Orientation", "1");
    setIfPresent("Xmp.exif.PixelXDimension", std::to_string(width));
    setIfPresent("Xmp.exif.PixelYDimension", std::to_string(height));
    setIfPresent("Xmp.tiff.ImageWidth", std::to_string(width));
    setIfPresent("Xmp.tiff.ImageLength", std::to_string(height));
    const std::string now = XmpNow();
    xmp["Xmp.xmp.ModifyDate"] = now;
    setIfPresent("Xmp.xmp.MetadataDate", now);
    if (!choices.copyright.empty()) {
        EraseUnless(xmp, [](const Exiv2::Xmpdatum& datum) { return datum.key() != "Xmp.dc.rights"; });
        xmp["Xmp.dc.rights"] = "lang=\"x-default\" " + choices.copyright;
    }
    return EncodeXmp(xmp);
}

std::vector<std::uint8_t> PrepareIptc(const std::vector<std::uint8_t>& block) {
    VetIptc(block);
    const std::optional<std::vector<Resource>> resources = Resources(block);
    std::vector<std::uint8_t> kept;
    if (!resources) return kept;
    for (const Resource& resource : *resources) {
        if (std::find(std::begin(kDroppedResources), std::end(kDroppedResources), resource.id) !=
            std::end(kDroppedResources)) {
            continue;
        }
        kept.insert(kept.end(), block.begin() + static_cast<std::ptrdiff_t>(resource.start),
                    block.begin() + static_cast<std::ptrdiff_t>(resource.start + resource.length));
    }
    return kept;
}

}  // namespace

std::string BlockWarning(const char* block, const char* why) {
    return std::string("the ") + block + " metadata is " + why + " and was left out";
}

std::optional<MetadataPolicy> MetadataPolicyNamed(std::string_view name) {
    if (name == "keep") return MetadataPolicy::Keep;
    if (name == "strip-gps") return MetadataPolicy::StripGps;
    if (name == "strip") return MetadataPolicy::Strip;
    return std::nullopt;
}

void VetMetadata(PictureMetadata& metadata, const std::string& xmp, const std::map<std::string, std::string>& extensions) {
    auto parsed = std::make_shared<ParsedBlocks>();
    if (!metadata.exif.empty()) {
        bool makerNoteDropped = false;
        const bool kept = Guarded(
            metadata, "EXIF",
            [&] {
                parsed->exif = DecodeExif(metadata.exif, parsed->order, &makerNoteDropped);
                const auto orientation = parsed->exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
                if (orientation != parsed->exif.end() && orientation->count() == 1) {
                    const long value = orientation->toLong();
                    if (value >= 1 && value <= 8) metadata.orientation = static_cast<int>(value);
                }
                parsed->exifBytes = metadata.exif;
            },
            [&] {
                metadata.exif.clear();
                parsed->exif.clear();
                parsed->exifBytes.clear();
            });
        if (kept && makerNoteDropped) metadata.warnings.push_back(kMakerNoteLeftOut);
    }
    if (xmp.size() > kMaxXmpBytes) {
        metadata.warnings.push_back(BlockWarning("XMP", "too large"));
    } else if (!xmp.empty()) {
        Guarded(
            metadata, "XMP",
            [&] {
                Exiv2::XmpData data = DecodeXmp(xmp);
                const std::string guid = Text(data, "Xmp.xmpNote.HasExtendedXMP");
                const auto extension = guid.empty() ? extensions.end() : extensions.find(guid);
                if (extension != extensions.end()) {
                    for (const auto& datum : DecodeXmp(extension->second)) data.add(datum);
                    EraseUnless(data, [](const Exiv2::Xmpdatum& datum) { return datum.key() != "Xmp.xmpNote.HasExtendedXMP"; });
                }
                metadata.xmp = extension == extensions.end() ? xmp : EncodeXmp(data);
                parsed->xmp = std::move(data);
                parsed->xmpPacket = metadata.xmp;
            },
            [&] {
                metadata.xmp.clear();
                parsed->xmp.clear();
                parsed->xmpPacket.clear();
            });
    }
    if (!metadata.iptc.empty()) Guarded(metadata, "IPTC", [&] { VetIptc(metadata.iptc); }, [&] { metadata.iptc.clear(); });
    if (!metadata.icc.empty() && !ProfileParses(metadata.icc)) {
        metadata.icc.clear();
        metadata.warnings.push_back(BlockWarning("ICC profile", "damaged"));
    }
    if (!parsed->exifBytes.empty() || !parsed->xmpPacket.empty()) metadata.parsed = std::move(parsed);
}

PictureMetadata PrepareMetadata(const PictureMetadata& source, const MetadataChoices& choices, int width, int height) {
    PictureMetadata out;
    if (IsRgbProfile(source.icc)) out.icc = source.icc;
    out.srgb = source.srgb;
    out.srgbIntent = source.srgbIntent;
    if (choices.policy == MetadataPolicy::Strip) return out;
    if (!source.exif.empty() || !choices.copyright.empty()) {
        Guarded(out, "EXIF", [&] { out.exif = PrepareExif(source, choices, width, height); }, [&] { out.exif.clear(); });
    }
    if (!source.xmp.empty() || !choices.copyright.empty()) {
        Guarded(out, "XMP", [&] { out.xmp = PrepareXmp(source, choices, width, height); }, [&] { out.xmp.clear(); });
    }
    if (!source.iptc.empty()) {
        Guarded(out, "IPTC", [&] { out.iptc = PrepareIptc(source.iptc); }, [&] { out.iptc.clear(); });
    }
    return out;
}

ExtendedXmp SplitXmp(const std::string& packet) {
    ExtendedXmp split;
    PictureMetadata scratch;
    Guarded(
        scratch, "XMP",
        [&] {
            const Exiv2::XmpData data = DecodeXmp(packet);
            split.extension = EncodeXmp(data);
            split.guid = Md5Hex(split.extension);
            Exiv2::XmpData main;
            main["Xmp.xmpNote.HasExtendedXMP"] = split.guid;
            split.main = EncodeXmp(main);
        },
        [&] { split = {}; });
    return split;
}

namespace {

// Calls read with the picture's EXIF and XMP as the library reads them; blocks it cannot read
// give nothing, and no warning: the picture was vetted when it was read.
template <typename Read>
void ReadFields(const PictureMetadata& metadata, Read read) {
    PictureMetadata scratch;
    Guarded(
        scratch, "EXIF",
        [&] {
            Exiv2::ByteOrder order{};
            read(ExifOf(metadata, order), XmpOf(metadata));
        },
        [] {});
}

}  // namespace

MetadataSummary SummariseMetadata(const PictureMetadata& metadata) {
    MetadataSummary summary;
    ReadFields(metadata, [&](const Exiv2::ExifData& exif, const Exiv2::XmpData& xmp) {
        const auto either = [&](const char* exifKey, const char* xmpKey) {
            std::string value = Field(exif, exifKey);
            return value.empty() ? Field(xmp, xmpKey) : value;
        };
        summary.make = either("Exif.Image.Make", "Xmp.tiff.Make");
        summary.model = either("Exif.Image.Model", "Xmp.tiff.Model");
        summary.lens = either("Exif.Photo.LensModel", "Xmp.exifEX.LensModel");
        if (summary.lens.empty()) summary.lens = Field(xmp, "Xmp.aux.Lens");
        summary.dateTaken = either("Exif.Photo.DateTimeOriginal", "Xmp.exif.DateTimeOriginal");
        summary.gps = !Field(exif, "Exif.GPSInfo.GPSLatitude").empty() || !Field(xmp, "Xmp.exif.GPSLatitude").empty();
    });
    return summary;
}

std::string ExifField(const PictureMetadata& metadata, const std::string& tag) {
    std::string value;
    if (tag.empty()) return value;
    ReadFields(metadata, [&](const Exiv2::ExifData& exif, const Exiv2::XmpData& xmp) {
        for (const char* group : {"Exif.Image.", "Exif.Photo.", "Exif.GPSInfo."}) {
            value = Field(exif, (group + tag).c_str());
            if (!value.empty()) return;
        }
        for (const char* group : {"Xmp.tiff.", "Xmp.exif.", "Xmp.dc."}) {
            value = Field(xmp, (group + tag).c_str());
            if (!value.empty()) return;
        }
    });
    return value;
}

}  // namespace velinor::imageio

#include "imageio/JpegMetadata.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "imageio/JpegReading.h"
#include "imageio/MetadataBlocks.h"

namespace velinor::imageio {

namespace {

constexpr std::string_view kExifName("Exif\0\0", 6);
constexpr std::string_view kXmpName("http://ns.adobe.com/xap/1.0/\0", 29);
constexpr std::string_view kXmpExtensionName("http://ns.adobe.com/xmp/extension/\0", 35);
constexpr std::string_view kPhotoshopName("Photoshop 3.0\0", 14);
constexpr std::size_t kGuidLength = 32;
// Name, GUID, full length and offset before each extension part's bytes.
constexpr std::size_t kExtensionHeader = kXmpExtensionName.size() + kGuidLength + 8;
// The most a marker holds after its two length bytes.
constexpr std::size_t kMarkerCapacity = 65533;

bool Named(const jpeg_saved_marker_ptr marker, int code, std::string_view name) {
    return marker->marker == code && marker->data_length >= name.size() &&
           std::memcmp(marker->data, name.data(), name.size()) == 0;
}

std::uint32_t BigEndian32(const JOCTET* bytes) {
    return (static_cast<std::uint32_t>(bytes[0]) << 24) | (static_cast<std::uint32_t>(bytes[1]) << 16) |
           (static_cast<std::uint32_t>(bytes[2]) << 8) | bytes[3];
}

// Extension parts by GUID, put together at their offsets. A part that would reach past its
// packet's length, or packets together longer than kMaxXmpBytes, are left out.
class ExtensionParts {
public:
    void Add(const JOCTET* data, std::size_t length) {
        const std::string guid(reinterpret_cast<const char*>(data) + kXmpExtensionName.size(), kGuidLength);
        const std::uint32_t full = BigEndian32(data + kXmpExtensionName.size() + kGuidLength);
        const std::uint32_t offset = BigEndian32(data + kXmpExtensionName.size() + kGuidLength + 4);
        const std::size_t size = length - kExtensionHeader;
        auto found = packets_.find(guid);
        if (found == packets_.end()) {
            if (full > kMaxXmpBytes - reserved_) {
                refused_ = true;
                return;
            }
            reserved_ += full;
            found = packets_.emplace(guid, Packet{std::string(full, '\0'), {}, 0}).first;
        }
        Packet& packet = found->second;
        if (offset > packet.bytes.size() || size > packet.bytes.size() - offset) {
            refused_ = true;
            return;
        }
        if (!packet.offsets.insert(offset).second) return;
        std::memcpy(packet.bytes.data() + offset, data + kExtensionHeader, size);
        packet.filled += size;
    }

    // Every packet whose parts cover its whole length.
    std::map<std::string, std::string> Complete() {
        std::map<std::string, std::string> complete;
        for (auto& [guid, packet] : packets_) {
            if (packet.filled == packet.bytes.size()) complete.emplace(guid, std::move(packet.bytes));
        }
        return complete;
    }

    bool Refused() const { return refused_; }

private:
    struct Packet {
        std::string bytes;
        std::set<std::uint32_t> offsets;
        std::size_t filled;
    };
    std::map<std::string, Packet> packets_;
    std::size_t reserved_ = 0;
    bool refused_ = false;
};

void Append(std::vector<std::uint8_t>& block, const JOCTET* data, std::size_t length, std::size_t limit,
            bool& tooLarge) {
    if (length > limit - std::min(limit, block.size())) {
        tooLarge = true;
        return;
    }
    block.insert(block.end(), data, data + length);
}

void AddMarker(std::vector<JpegMarker>& markers, int code, std::string_view name, std::string_view data) {
    if (data.size() > kMarkerCapacity - name.size()) return;
    JpegMarker marker{code, {}};
    marker.bytes.reserve(name.size() + data.size());
    marker.bytes.insert(marker.bytes.end(), name.begin(), name.end());
    marker.bytes.insert(marker.bytes.end(), data.begin(), data.end());
    markers.push_back(std::move(marker));
}

std::string_view View(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void BigEndian32To(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// A packet too large for one marker: a main packet naming the extension, then the extension in
// as many parts as it needs.
void AddExtendedXmp(std::vector<JpegMarker>& markers, const std::string& packet) {
    const ExtendedXmp split = SplitXmp(packet);
    if (split.main.empty() || split.guid.size() != kGuidLength) return;
    AddMarker(markers, JPEG_APP0 + 1, kXmpName, split.main);
    const std::size_t partCapacity = kMarkerCapacity - kExtensionHeader;
    for (std::size_t offset = 0; offset < split.extension.size(); offset += partCapacity) {
        std::string part = split.guid;
        BigEndian32To(part, static_cast<std::uint32_t>(split.extension.size()));
        BigEndian32To(part, static_cast<std::uint32_t>(offset));
        part.append(split.extension, offset, partCapacity);
        AddMarker(markers, JPEG_APP0 + 1, kXmpExtensionName, part);
    }
}

// jpeg_read_icc_profile ends in the error manager's jump only when memory runs out; that lands
// here, not in a frame holding the metadata being read.
bool TakeIccProfile(jpeg_decompress_struct& info, JOCTET** profile, unsigned int* length) {
    auto* errors = reinterpret_cast<JpegErrorManager*>(info.err);
    std::jmp_buf outer;
    std::memcpy(&outer, &errors->jump, sizeof(outer));
    bool taken = false;
    if (setjmp(errors->jump) == 0) taken = jpeg_read_icc_profile(&info, profile, length) != 0;
    std::memcpy(&errors->jump, &outer, sizeof(outer));
    return taken && *profile != nullptr;
}

}  // namespace

void KeepMetadataMarkers(jpeg_decompress_struct& info) {
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_save_markers(&info, JPEG_APP0 + 13, 0xFFFF);
}

PictureMetadata ReadJpegMetadata(jpeg_decompress_struct& info) {
    JOCTET* profile = nullptr;
    unsigned int profileLength = 0;
    const bool hasProfile = TakeIccProfile(info, &profile, &profileLength);
    const std::unique_ptr<JOCTET, decltype(&std::free)> ownedProfile(profile, &std::free);
    PictureMetadata metadata;
    std::string xmp;
    ExtensionParts parts;
    bool exifTooLarge = false, iptcTooLarge = false;
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next) {
        const JOCTET* data = marker->data;
        const std::size_t length = marker->data_length;
        if (Named(marker, JPEG_APP0 + 1, kExifName)) {
            // Only the first EXIF block counts, as every reader takes it.
            if (metadata.exif.empty()) {
                Append(metadata.exif, data + kExifName.size(), length - kExifName.size(), kMaxExifBytes,
                       exifTooLarge);
            }
        } else if (Named(marker, JPEG_APP0 + 1, kXmpName)) {
            if (xmp.empty()) xmp.assign(reinterpret_cast<const char*>(data) + kXmpName.size(), length - kXmpName.size());
        } else if (Named(marker, JPEG_APP0 + 1, kXmpExtensionName) && length > kExtensionHeader) {
            parts.Add(data, length);
        } else if (Named(marker, JPEG_APP0 + 13, kPhotoshopName)) {
            // Photoshop splits resources longer than a marker over consecutive markers.
            Append(metadata.iptc, data + kPhotoshopName.size(), length - kPhotoshopName.size(), kMaxIptcBytes,
                   iptcTooLarge);
        }
    }
    if (exifTooLarge) {
        metadata.exif.clear();
        metadata.warnings.push_back(BlockWarning("EXIF", "too large"));
    }
    if (iptcTooLarge) {
        metadata.iptc.clear();
        metadata.warnings.push_back(BlockWarning("IPTC", "too large"));
    }
    if (parts.Refused()) metadata.warnings.push_back(BlockWarning("extended XMP", "too large or damaged"));

    if (hasProfile) {
        if (profileLength > kMaxIccBytes) {
            metadata.warnings.push_back(BlockWarning("ICC profile", "too large"));
        } else {
            metadata.icc.assign(profile, profile + profileLength);
        }
    }
    VetMetadata(metadata, xmp, parts.Complete());
    return metadata;
}

std::vector<JpegMarker> MetadataMarkers(const PictureMetadata& metadata) {
    std::vector<JpegMarker> markers;
    if (!metadata.exif.empty()) AddMarker(markers, JPEG_APP0 + 1, kExifName, View(metadata.exif));
    if (metadata.xmp.size() > kMarkerCapacity - kXmpName.size()) {
        AddExtendedXmp(markers, metadata.xmp);
    } else if (!metadata.xmp.empty()) {
        AddMarker(markers, JPEG_APP0 + 1, kXmpName, metadata.xmp);
    }
    if (!metadata.iptc.empty()) AddMarker(markers, JPEG_APP0 + 13, kPhotoshopName, View(metadata.iptc));
    return markers;
}

void WriteJpegMarkers(jpeg_compress_struct& info, const std::vector<JpegMarker>& markers,
                      const std::vector<std::uint8_t>& icc) {
    for (const JpegMarker& marker : markers) {
        jpeg_write_marker(&info, marker.code, marker.bytes.data(), static_cast<unsigned int>(marker.bytes.size()));
    }
    if (!icc.empty()) jpeg_write_icc_profile(&info, icc.data(), static_cast<unsigned int>(icc.size()));
}

}  // namespace velinor::imageio

#include "imageio/PngMetadata.h"

#include <csetjmp>
#include <cstring>
#include <string>

#include "imageio/ByteReader.h"
#include "imageio/MetadataBlocks.h"

namespace velinor::imageio {

namespace {

constexpr const char* kXmpKeyword = "XML:com.adobe.xmp";
constexpr const char* kProfileName = "ICC profile";
// libpng's own ceiling on an ancillary chunk (PNG_USER_CHUNK_MALLOC_MAX).
constexpr std::size_t kMaxPngChunkBytes = 8000000;

bool ReadTrailingChunks(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_end(png, info);
    return true;
}

}  // namespace

PictureMetadata ReadPngMetadata(png_structp png, png_infop info) {
    ReadTrailingChunks(png, info);
    PictureMetadata metadata;
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 profileLength = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &profileLength) != 0 && profile != nullptr) {
        if (profileLength > kMaxIccBytes) {
            metadata.warnings.push_back(BlockWarning("ICC profile", "too large"));
        } else {
            metadata.icc.assign(profile, profile + profileLength);
        }
    }
    int intent = 0;
    if (png_get_sRGB(png, info, &intent) != 0) {
        metadata.srgb = true;
        metadata.srgbIntent = intent;
    }
    png_bytep exif = nullptr;
    png_uint_32 exifLength = 0;
    if (png_get_eXIf_1(png, info, &exifLength, &exif) != 0 && exif != nullptr) {
        // Some writers keep the JPEG segment's name in front of the TIFF header.
        if (exifLength >= 6 && std::memcmp(exif, "Exif\0\0", 6) == 0) {
            exif += 6;
            exifLength -= 6;
        }
        if (exifLength > kMaxExifBytes) {
            metadata.warnings.push_back(BlockWarning("EXIF", "too large"));
        } else {
            metadata.exif.assign(exif, exif + exifLength);
        }
    }
    std::string xmp;
    png_textp texts = nullptr;
    int count = 0;
    png_get_text(png, info, &texts, &count);
    for (int i = 0; i < count; ++i) {
        if (texts[i].key == nullptr || std::strcmp(texts[i].key, kXmpKeyword) != 0 || texts[i].text == nullptr) continue;
        const std::size_t length = texts[i].compression >= PNG_ITXT_COMPRESSION_NONE ? texts[i].itxt_length
                                                                                     : texts[i].text_length;
        xmp.assign(texts[i].text, length);
        break;
    }
    VetMetadata(metadata, xmp);
    return metadata;
}

void SetPngMetadata(png_structp png, png_infop info, const PictureMetadata& metadata) {
    if (!metadata.icc.empty()) {
        // A profile libpng finds fault with is left out rather than failing the picture.
        png_set_benign_errors(png, 1);
        png_set_iCCP(png, info, kProfileName, PNG_COMPRESSION_TYPE_BASE, metadata.icc.data(),
                     static_cast<png_uint_32>(metadata.icc.size()));
    } else if (metadata.srgb) {
        png_set_sRGB(png, info, metadata.srgbIntent);
    }
    if (!metadata.exif.empty()) {
        png_set_eXIf_1(png, info, static_cast<png_uint_32>(metadata.exif.size()),
                       const_cast<png_bytep>(metadata.exif.data()));
    }
    if (!metadata.xmp.empty()) {
        png_text text{};
        text.compression = PNG_ITXT_COMPRESSION_NONE;
        text.key = const_cast<png_charp>(kXmpKeyword);
        text.text = const_cast<png_charp>(metadata.xmp.c_str());
        text.itxt_length = metadata.xmp.size();
        text.lang = nullptr;
        text.lang_key = nullptr;
        png_set_text(png, info, &text, 1);
    }
}

void ForgetWrittenExif(png_structp png, png_infop info) { png_free_data(png, info, PNG_FREE_EXIF, -1); }

std::vector<std::uint8_t> WithoutOversizedChunks(std::span<const std::uint8_t> bytes,
                                                 std::vector<std::string>& warnings) {
    const ByteReader data(bytes);
    std::vector<std::uint8_t> kept;
    std::size_t copied = 0;
    for (std::size_t at = 8;;) {
        const auto length = data.U32be(at);
        const auto type = data.U32be(at + 4);
        if (!length || !type) break;
        const bool ancillary = (*type & 0x20000000u) != 0;
        if (*length > PNG_UINT_31_MAX || !data.Has(at + 8, static_cast<std::size_t>(*length) + 4)) {
            // libpng allocates (and clears) a text or profile chunk's claimed length before it
            // reads a byte of it, so a 2 GB claim in a tiny file costs 2 GB. The file ends inside
            // this chunk either way: end the data before it, and libpng fails at the same place.
            if (ancillary) {
                kept.insert(kept.end(), bytes.begin() + static_cast<std::ptrdiff_t>(copied),
                            bytes.begin() + static_cast<std::ptrdiff_t>(at));
                return kept;
            }
            break;
        }
        const std::size_t next = at + 12 + static_cast<std::size_t>(*length);
        if (ancillary && *length > kMaxPngChunkBytes) {
            kept.insert(kept.end(), bytes.begin() + static_cast<std::ptrdiff_t>(copied),
                        bytes.begin() + static_cast<std::ptrdiff_t>(at));
            copied = next;
            const bool text = *type == 0x69545874u || *type == 0x7A545874u || *type == 0x74455874u;  // iTXt zTXt tEXt
            const bool profile = *type == 0x69434350u;                                                 // iCCP
            warnings.push_back(BlockWarning(text ? "XMP" : profile ? "ICC profile" : *type == 0x65584966u ? "EXIF" : "PNG chunk",
                                            "too large"));
        }
        if (*type == 0x49454E44u) break;  // IEND
        at = next;
    }
    if (copied == 0) return {};
    kept.insert(kept.end(), bytes.begin() + static_cast<std::ptrdiff_t>(copied), bytes.end());
    return kept;
}

}  // namespace velinor::imageio

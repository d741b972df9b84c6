#include "imageio/IcoDecoder.h"

#include <algorithm>
#include <vector>

#include "imageio/BmpDecoder.h"
#include "imageio/ByteReader.h"
#include "imageio/PngDecoder.h"

namespace velinor::imageio {

namespace {

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kEntrySize = 16;
// A directory may list thousands of entries that all point at one broken image; trying a
// few fallbacks is worth it, decoding the same failure thousands of times is not.
constexpr std::size_t kMaxAttempts = 8;

struct Candidate {
    std::span<const std::uint8_t> data;
    long long area = 0;
    int bits = 0;
};

// Size and depth from the image's own header: directory entries are often wrong (0 stands
// for 256, and colour counts are left empty).
bool Describe(Candidate& candidate) {
    const ByteReader data(candidate.data);
    if (LooksLikePng(candidate.data)) {
        const auto width = data.U32be(16);
        const auto height = data.U32be(20);
        const auto depth = data.U8(24);
        const auto type = data.U8(25);
        if (!width || !height || !depth || !type) return false;
        static constexpr int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
        const int channels = *type <= 6 ? kChannels[*type] : 0;
        // Sides beyond the largest picture cannot decode anyway; clamping them keeps the
        // product of two 32-bit sizes far inside a long long.
        constexpr std::uint32_t kSide = render::kMaxImageSide + 1;
        candidate.area = static_cast<long long>(std::min(*width, kSide)) * std::min(*height, kSide);
        candidate.bits = *type == 3 ? *depth : *depth * channels;
        return true;
    }
    const auto width = data.I32le(4);
    const auto height = data.I32le(8);
    const auto bits = data.U16le(14);
    if (!width || !height || !bits || *width <= 0 || *height <= 0) return false;
    candidate.area = static_cast<long long>(*width) * (*height / 2);
    candidate.bits = *bits;
    return true;
}

std::optional<render::RasterImage> DecodeEntry(std::span<const std::uint8_t> data,
                                               const DecodeLimits& limits) {
    if (LooksLikePng(data)) return DecodePngIcon(data, limits);
    return DecodeIconBitmap(data, limits);
}

}  // namespace

bool LooksLikeIco(std::span<const std::uint8_t> bytes) {
    const ByteReader data(bytes);
    return data.U16le(0) == 0 && data.U16le(2) == 1 && data.U16le(4).value_or(0) > 0;
}

std::optional<render::RasterImage> DecodeIco(std::span<const std::uint8_t> bytes, IconChoice choice,
                                             const DecodeLimits& limits) {
    if (!LooksLikeIco(bytes)) return std::nullopt;
    const ByteReader data(bytes);
    const std::size_t count = *data.U16le(4);

    std::vector<Candidate> candidates;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kDirectoryHeader + i * kEntrySize;
        const auto size = data.U32le(entry + 8);
        const auto offset = data.U32le(entry + 12);
        if (!size || !offset) break;  // the directory itself is cut off
        const auto image = data.Slice(*offset, *size);
        Candidate candidate{image.value_or(std::span<const std::uint8_t>{}), 0, 0};
        if (choice == IconChoice::First) {
            if (!image) return std::nullopt;
            return DecodeEntry(*image, limits);
        }
        if (image && Describe(candidate)) candidates.push_back(candidate);
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.area != b.area ? a.area > b.area : a.bits > b.bits;
    });
    for (std::size_t i = 0; i < candidates.size() && i < kMaxAttempts; ++i) {
        if (auto image = DecodeEntry(candidates[i].data, limits)) return image;
    }
    return std::nullopt;
}

}  // namespace velinor::imageio

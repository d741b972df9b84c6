#include "imageio/ByteReader.h"

namespace velinor::imageio {

std::optional<std::uint8_t> ByteReader::U8(std::size_t offset) const {
    if (!Has(offset, 1)) return std::nullopt;
    return bytes_[offset];
}

std::optional<std::uint16_t> ByteReader::U16le(std::size_t offset) const {
    if (!Has(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
}

std::optional<std::uint32_t> ByteReader::U32le(std::size_t offset) const {
    if (!Has(offset, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(bytes_[offset]) |
           (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes_[offset + 3]) << 24);
}

std::optional<std::int32_t> ByteReader::I32le(std::size_t offset) const {
    const auto value = U32le(offset);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::optional<std::uint16_t> ByteReader::U16be(std::size_t offset) const {
    if (!Has(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>((bytes_[offset] << 8) | bytes_[offset + 1]);
}

std::optional<std::uint32_t> ByteReader::U32be(std::size_t offset) const {
    if (!Has(offset, 4)) return std::nullopt;
    return (static_cast<std::uint32_t>(bytes_[offset]) << 24) |
           (static_cast<std::uint32_t>(bytes_[offset + 1]) << 16) |
           (static_cast<std::uint32_t>(bytes_[offset + 2]) << 8) |
           static_cast<std::uint32_t>(bytes_[offset + 3]);
}

std::optional<std::span<const std::uint8_t>> ByteReader::Slice(std::size_t offset,
                                                                std::size_t count) const {
    if (!Has(offset, count)) return std::nullopt;
    return bytes_.subspan(offset, count);
}

std::span<const std::uint8_t> ByteReader::Tail(std::size_t offset) const {
    if (offset >= bytes_.size()) return {};
    return bytes_.subspan(offset);
}

}  // namespace velinor::imageio

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace velinor::imageio {

// Bounds-checked reads from untrusted bytes. Every read states its absolute offset, so a
// decoder can never step outside the data: an out-of-range read answers nothing.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Size() const { return bytes_.size(); }
    std::span<const std::uint8_t> Bytes() const { return bytes_; }

    // True when count bytes starting at offset lie inside the data (overflow-safe).
    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    std::optional<std::uint8_t> U8(std::size_t offset) const;
    std::optional<std::uint16_t> U16le(std::size_t offset) const;
    std::optional<std::uint32_t> U32le(std::size_t offset) const;
    std::optional<std::int32_t> I32le(std::size_t offset) const;
    std::optional<std::uint16_t> U16be(std::size_t offset) const;
    std::optional<std::uint32_t> U32be(std::size_t offset) const;

    // count bytes from offset, or nothing when they do not all exist.
    std::optional<std::span<const std::uint8_t>> Slice(std::size_t offset, std::size_t count) const;
    // Everything from offset to the end (empty when offset is past the end).
    std::span<const std::uint8_t> Tail(std::size_t offset) const;

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace velinor::imageio

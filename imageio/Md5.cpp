#include "imageio/Md5.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace velinor::imageio {

namespace {

constexpr std::array<std::uint32_t, 64> kShifts = {
    7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 5, 9, 14, 20, 5, 9, 14, 20, 5, 9,
    14, 20, 5, 9, 14, 20, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 6, 10, 15, 21,
    6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

std::array<std::uint32_t, 64> Constants() {
    std::array<std::uint32_t, 64> k{};
    for (std::size_t i = 0; i < k.size(); ++i) {
        k[i] = static_cast<std::uint32_t>(std::floor(std::fabs(std::sin(static_cast<double>(i + 1))) * 4294967296.0));
    }
    return k;
}

void Block(std::array<std::uint32_t, 4>& state, const unsigned char* block) {
    static const std::array<std::uint32_t, 64> kConstants = Constants();
    std::uint32_t m[16];
    for (int i = 0; i < 16; ++i) {
        m[i] = static_cast<std::uint32_t>(block[i * 4]) | (static_cast<std::uint32_t>(block[i * 4 + 1]) << 8) |
               (static_cast<std::uint32_t>(block[i * 4 + 2]) << 16) | (static_cast<std::uint32_t>(block[i * 4 + 3]) << 24);
    }
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (std::uint32_t i = 0; i < 64; ++i) {
        std::uint32_t f = 0, g = 0;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const std::uint32_t next = d;
        d = c;
        c = b;
        b = b + std::rotl(a + f + kConstants[i] + m[g], static_cast<int>(kShifts[i]));
        a = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

}  // namespace

std::string Md5Hex(std::string_view bytes) {
    std::array<std::uint32_t, 4> state = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    std::size_t at = 0;
    for (; bytes.size() - at >= 64; at += 64) Block(state, reinterpret_cast<const unsigned char*>(bytes.data()) + at);
    // The tail, a one bit, zeros and the length in bits fill one or two last blocks.
    unsigned char tail[128] = {};
    const std::size_t rest = bytes.size() - at;
    for (std::size_t i = 0; i < rest; ++i) tail[i] = static_cast<unsigned char>(bytes[at + i]);
    tail[rest] = 0x80;
    const std::size_t tailLength = rest < 56 ? 64 : 128;
    const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
    for (int i = 0; i < 8; ++i) tail[tailLength - 8 + i] = static_cast<unsigned char>(bits >> (8 * i));
    for (std::size_t i = 0; i < tailLength; i += 64) Block(state, tail + i);
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const std::uint32_t word : state) {
        for (int i = 0; i < 4; ++i) {
            const auto byte = static_cast<unsigned char>(word >> (8 * i));
            hex += kDigits[byte >> 4];
            hex += kDigits[byte & 0xF];
        }
    }
    return hex;
}

}  // namespace velinor::imageio

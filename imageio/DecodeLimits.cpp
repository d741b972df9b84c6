#include "imageio/DecodeLimits.h"

#include <atomic>
#include <cstdlib>
#include <limits>

namespace velinor::imageio {

namespace {

// The limit from the environment, or the default when the variable is unset or not a
// positive whole number.
long long LimitFromEnvironment() {
    const char* text = std::getenv(kPixelLimitVariable);
    if (text == nullptr) return kDefaultPixelLimit;
    return ParsePixelCount(text).value_or(kDefaultPixelLimit);
}

// 0 until the limit is first asked for or set.
std::atomic<long long> limit{0};

}  // namespace

long long PixelLimit() {
    long long value = limit.load(std::memory_order_relaxed);
    if (value == 0) {
        value = LimitFromEnvironment();
        long long unset = 0;
        if (!limit.compare_exchange_strong(unset, value, std::memory_order_relaxed)) value = unset;
    }
    return value;
}

std::optional<long long> ParsePixelCount(std::string_view text) {
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const int digit = c - '0';
        if (value > (std::numeric_limits<long long>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    if (value <= 0) return std::nullopt;
    return value;
}

void SetPixelLimit(long long pixels) {
    if (pixels > 0) limit.store(pixels, std::memory_order_relaxed);
}

}  // namespace velinor::imageio

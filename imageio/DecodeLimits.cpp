#include "imageio/DecodeLimits.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace velinor::imageio {

namespace {

// The limit from the environment, or the default when the variable is unset or not a
// positive whole number.
long long LimitFromEnvironment() {
    const char* text = std::getenv(kPixelLimitVariable);
    if (text == nullptr || *text == '\0') return kDefaultPixelLimit;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || value <= 0) return kDefaultPixelLimit;
    return value;
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

void SetPixelLimit(long long pixels) {
    if (pixels > 0) limit.store(pixels, std::memory_order_relaxed);
}

}  // namespace velinor::imageio

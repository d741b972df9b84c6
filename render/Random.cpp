#include "render/Random.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace velinor::render {

std::optional<std::uint64_t> SeedFromEnvironment() {
    const char* text = std::getenv("VELINOR_RANDOM_SEED");
    if (text == nullptr || *text == '\0') return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || *text == '-') return std::nullopt;
    return value;
}

void RandomSource::Seed(std::uint64_t seed) { engine_.emplace(seed); }

int RandomSource::RandomUpTo(int maximum) {
    if (!engine_) {
        if (const std::optional<std::uint64_t> seed = SeedFromEnvironment()) {
            engine_.emplace(*seed);
        }
    }
    if (!engine_) {
        const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        engine_.emplace(static_cast<std::uint64_t>(now));
    }
    if (maximum < 1) return 0;
    std::uniform_int_distribution<int> pick(0, maximum);
    return pick(*engine_);
}

}  // namespace velinor::render

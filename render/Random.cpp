#include "render/Random.h"

#include <chrono>

namespace velinor::render {

void RandomSource::Seed(std::uint64_t seed) { engine_.emplace(seed); }

int RandomSource::RandomUpTo(int maximum) {
    if (!engine_) {
        const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        engine_.emplace(static_cast<std::uint64_t>(now));
    }
    if (maximum < 1) return 0;
    std::uniform_int_distribution<int> pick(0, maximum);
    return pick(*engine_);
}

}  // namespace velinor::render

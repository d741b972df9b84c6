#pragma once

#include <cstdint>
#include <optional>
#include <random>

namespace velinor::render {

// The program's random numbers. Seeded once from the clock on first use, unless a seed was set
// before (tests do that to get a repeatable sequence).
class RandomSource {
public:
    void Seed(std::uint64_t seed);
    // A whole number drawn uniformly from 0..maximum inclusive; 0 for a maximum below 1.
    int RandomUpTo(int maximum);

private:
    std::optional<std::mt19937_64> engine_;
};

}  // namespace velinor::render

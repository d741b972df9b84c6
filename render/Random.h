#pragma once

#include <cstdint>
#include <optional>
#include <random>

namespace velinor::render {

// The program's random numbers. Seeded once on first use, unless a seed was set before: from
// the environment variable VELINOR_RANDOM_SEED when it holds a whole number (so that a run can
// be repeated, circle frames included), else from the clock.
class RandomSource {
public:
    void Seed(std::uint64_t seed);
    // A whole number drawn uniformly from 0..maximum inclusive; 0 for a maximum below 1.
    int RandomUpTo(int maximum);

private:
    std::optional<std::mt19937_64> engine_;
};

// The seed VELINOR_RANDOM_SEED gives; nothing when it is unset or not a whole number.
std::optional<std::uint64_t> SeedFromEnvironment();

}  // namespace velinor::render

#include "render/Random.h"

#include <gtest/gtest.h>

#include <array>

namespace velinor::render {
namespace {

TEST(RandomUpTo, CoversZeroToMaximumEvenly) {
    RandomSource random;
    random.Seed(12345);
    std::array<int, 7> seen{};
    constexpr int kDraws = 70000;
    for (int i = 0; i < kDraws; ++i) {
        const int value = random.RandomUpTo(6);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 6);
        ++seen[static_cast<std::size_t>(value)];
    }
    for (int count : seen) EXPECT_NEAR(count, kDraws / 7, 500);
    EXPECT_EQ(random.RandomUpTo(0), 0);
    EXPECT_EQ(random.RandomUpTo(-4), 0);
}

TEST(RandomUpTo, ASeedRepeatsTheSequence) {
    RandomSource a, b;
    a.Seed(7);
    b.Seed(7);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(a.RandomUpTo(1000000), b.RandomUpTo(1000000));
    RandomSource unseeded;  // seeds itself from the clock
    const int value = unseeded.RandomUpTo(10);
    EXPECT_GE(value, 0);
    EXPECT_LE(value, 10);
}

}  // namespace
}  // namespace velinor::render

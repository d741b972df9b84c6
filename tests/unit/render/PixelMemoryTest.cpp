// Pixel stores reuse the memory of freed ones: a reused block must never be shared by two live
// stores, whatever the order of sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <cstdint>
#include <vector>

#include "render/Pixels.h"

namespace velinor::render {
namespace {

constexpr std::size_t kMegapixel = 1u << 20;

TEST(PixelMemory, FreedStoresAreReusedWithoutOverlap) {
    // A large store freed, then smaller ones taken from its memory alongside a larger one.
    { Pixels large(24 * kMegapixel, 1); }
    std::vector<Pixels> live;
    for (std::size_t megapixels : {6u, 2u, 12u, 1u, 30u, 6u}) live.emplace_back(megapixels * kMegapixel + 7);
    for (std::size_t i = 0; i < live.size(); ++i) std::fill(live[i].begin(), live[i].end(), static_cast<Color>(i + 100));
    for (std::size_t i = 0; i < live.size(); ++i) {
        const auto wrong = std::find_if(live[i].begin(), live[i].end(), [&](Color c) { return c != i + 100; });
        EXPECT_EQ(wrong, live[i].end()) << "store " << i << " was overwritten by another";
    }

    // Freed and taken again in another order: a fresh store still starts as it is asked to.
    live.erase(live.begin() + 1, live.begin() + 4);
    Pixels zeros(12 * kMegapixel);
    EXPECT_EQ(std::count(zeros.begin(), zeros.end(), Color{0}), static_cast<std::ptrdiff_t>(zeros.size()));
    Pixels grey(3 * kMegapixel, 0x808080u);
    EXPECT_EQ(std::count(grey.begin(), grey.end(), Color{0x808080u}), static_cast<std::ptrdiff_t>(grey.size()));
}

// A program left idle gives the stores it kept back to the system within a few seconds.
TEST(PixelMemory, KeptStoresGoBackWhenIdle) {
#if !defined(__SANITIZE_ADDRESS__)
    { Pixels picture(std::size_t{3} << 20); }   // a 12 MB store, freed and kept
    EXPECT_GT(KeptPixelBytes(), 0u);
    for (int waited = 0; waited < 80 && KeptPixelBytes() > 0; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(KeptPixelBytes(), 0u);
#endif
}

}  // namespace
}  // namespace velinor::render

// Converting a 1920 x 1280 preview copy of an Adobe RGB photo to sRGB for display, with the
// conversion already built (as for every picture after the first of a folder).
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "imageio/DisplayColour.h"

namespace {

void BM_ConvertPreviewToSrgb(benchmark::State& state) {
    std::ifstream in("/usr/share/color/icc/compatibleWithAdobeRGB1998.icc", std::ios::binary);
    const std::vector<std::uint8_t> profile((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    velinor::render::RasterImage photo;
    photo.width = 1920;
    photo.height = 1280;
    std::mt19937 random(1);
    for (int y = 0; y < photo.height; ++y) {
        for (int x = 0; x < photo.width; ++x) {
            const int noise = static_cast<int>(random() % 9);
            photo.pixels.push_back(velinor::render::MakeColor(x * 250 / photo.width + noise,
                                                              y * 250 / photo.height + noise, (x + y) % 256));
        }
    }
    velinor::render::RasterImage copy = photo;
    if (!velinor::imageio::ConvertToSrgbForDisplay(copy, profile)) state.SkipWithError("the profile was not used");
    for (auto _ : state) {
        state.PauseTiming();
        copy.pixels = photo.pixels;
        state.ResumeTiming();
        velinor::imageio::ConvertToSrgbForDisplay(copy, profile);
        benchmark::DoNotOptimize(copy.pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(photo.pixels.size()));
}
BENCHMARK(BM_ConvertPreviewToSrgb)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

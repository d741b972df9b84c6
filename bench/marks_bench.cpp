// Speed of each mark's drawing step on a 24-megapixel picture (6000 x 4000), next to one
// memcpy of the whole picture as the reference. Run on one core:
//   taskset -c 0 build/dev/bench/bench_marks_bench
// Every drawing step works on the same picture in place (as the render cycle does on its
// working copy); the marks touch only the pixels they change, so repeating them is fair.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "marks/CircleFrame.h"
#include "marks/LogoPlacement.h"
#include "marks/TextMark.h"
#include "marks/TextureFrame.h"
#include "NoisePicture.h"

namespace {

using namespace velinor;
using render::Color;
using render::RasterImage;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

using bench::NoisePicture;

RasterImage& Photo() {
    static RasterImage photo = NoisePicture(kWidth, kHeight, 1);
    return photo;
}

void Memcpy(benchmark::State& state) {
    const RasterImage& source = Photo();
    std::vector<Color> target(source.pixels.size(), 1);
    for (auto _ : state) {
        std::memcpy(target.data(), source.pixels.data(), source.pixels.size() * sizeof(Color));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond);

void TextureFrame(benchmark::State& state) {
    const RasterImage tile = NoisePicture(static_cast<int>(state.range(1)), static_cast<int>(state.range(1)), 7);
    for (auto _ : state) {
        marks::DrawTextureFrame(Photo(), tile, static_cast<int>(state.range(0)), static_cast<int>(state.range(2)));
        benchmark::ClobberMemory();
    }
}
// border, tile side, opacity
BENCHMARK(TextureFrame)->Args({16, 16, 255})->Args({128, 128, 127})->Unit(benchmark::kMillisecond);

void CircleFrame(benchmark::State& state) {
    marks::CircleFrameParams params;
    params.border = static_cast<int>(state.range(0));
    params.maxRadius = static_cast<int>(state.range(1));
    params.gap = static_cast<int>(state.range(2));
    render::RandomSource random;
    random.Seed(3);
    for (auto _ : state) {
        const auto circles = marks::FrameCircles(kWidth, kHeight, params, random);
        marks::DrawCircleFrame(Photo(), params, circles, 64);
        benchmark::ClobberMemory();
    }
}
// border, largest radius, gap
BENCHMARK(CircleFrame)->Args({16, 10, 3})->Args({128, 200, 1})->Unit(benchmark::kMillisecond);

void Logo(benchmark::State& state) {
    const RasterImage logo = NoisePicture(static_cast<int>(state.range(0)), static_cast<int>(state.range(0)) / 2, 9);
    marks::LogoStyle style;
    style.keyed = state.range(1) != 0;
    style.transparency = 100;
    style.keyColour = logo.pixels[0];
    for (auto _ : state) {
        marks::PlaceLogo(Photo(), logo, style);
        benchmark::ClobberMemory();
    }
}
// logo width (height is half), keyed
BENCHMARK(Logo)->Args({1000, 0})->Args({1000, 1})->Args({6000, 0})->Args({6000, 1})->Unit(benchmark::kMillisecond);

void TextMark(benchmark::State& state) {
    render::FontTable fonts;
    marks::MarkFontSpec spec;
    spec.face = "DejaVu Sans";
    spec.pointSize = static_cast<int>(state.range(0));
    spec.colour = 0x0000FF;
    spec.style = marks::kStyleBold;
    for (auto _ : state) {
        marks::DrawTextMark(Photo(), fonts, spec, 96, "Copyright 2026 Velinor Photo", marks::Anchor::BottomRight);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(TextMark)->Arg(12)->Arg(36)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

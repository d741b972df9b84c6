// Decoding speed of a 3000 x 2000 photo-sized picture in every format the loader reads.
// The inputs are made in memory at start-up: BMP and TGA byte by byte, JPEG and PNG with
// their libraries, all from the same smooth, noisy test picture.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "imageio/PictureDecoder.h"
#include "tests/unit/imageio/LibjpegEncode.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kWidth = 3000;
constexpr int kHeight = 2000;

// RGB bytes, rows top-down: gradients with a little noise, like a photo's sky and skin.
const Bytes& PictureRgb() {
    static const Bytes rgb = [] {
        Bytes out(static_cast<std::size_t>(kWidth) * kHeight * 3);
        std::mt19937 random(1);
        std::size_t i = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const int noise = static_cast<int>(random() % 9) - 4;
                out[i++] = static_cast<std::uint8_t>(std::clamp(x * 255 / kWidth + noise, 0, 255));
                out[i++] = static_cast<std::uint8_t>(std::clamp(y * 255 / kHeight + noise, 0, 255));
                out[i++] = static_cast<std::uint8_t>(std::clamp((x + y) * 255 / (kWidth + kHeight) - noise, 0, 255));
            }
        }
        return out;
    }();
    return rgb;
}

void Put32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes MakeBmp() {
    const std::size_t stride = (static_cast<std::size_t>(kWidth) * 3 + 3) & ~std::size_t{3};
    Bytes out = {'B', 'M'};
    Put32(out, static_cast<std::uint32_t>(54 + stride * kHeight));
    Put32(out, 0);
    Put32(out, 54);
    for (std::uint32_t v : {40u, std::uint32_t(kWidth), std::uint32_t(kHeight)}) Put32(out, v);
    out.insert(out.end(), {1, 0, 24, 0});
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int y = kHeight - 1; y >= 0; --y) {
        const std::uint8_t* row = PictureRgb().data() + static_cast<std::size_t>(y) * kWidth * 3;
        for (int x = 0; x < kWidth; ++x) out.insert(out.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
        out.resize(out.size() + stride - static_cast<std::size_t>(kWidth) * 3, 0);
    }
    return out;
}

Bytes MakeTga() {
    Bytes out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                 std::uint8_t(kWidth & 0xFF), std::uint8_t(kWidth >> 8), std::uint8_t(kHeight & 0xFF), std::uint8_t(kHeight >> 8), 24, 0x20};
    const Bytes& rgb = PictureRgb();
    for (std::size_t i = 0; i < rgb.size(); i += 3) out.insert(out.end(), {rgb[i + 2], rgb[i + 1], rgb[i]});
    return out;
}

Bytes MakeJpeg() {
    return velinor::imageio::decode_testing::LibjpegEncode(PictureRgb(), kWidth, kHeight, 3, JCS_RGB, 85);
}

Bytes MakePng() {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kWidth;
    image.height = kHeight;
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, PictureRgb().data(), 0, nullptr);
    Bytes out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, PictureRgb().data(), 0, nullptr);
    out.resize(size);
    return out;
}

void Decode(benchmark::State& state, const Bytes& file) {
    for (auto _ : state) {
        auto image = velinor::imageio::DecodePicture(file, velinor::imageio::IconChoice::Best);
        if (!image) state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(image);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
    state.counters["file_kB"] = static_cast<double>(file.size()) / 1024.0;
}

void BM_DecodeBmp24(benchmark::State& state) { static const Bytes f = MakeBmp(); Decode(state, f); }
void BM_DecodeTga24(benchmark::State& state) { static const Bytes f = MakeTga(); Decode(state, f); }
void BM_DecodeJpegQ85(benchmark::State& state) { static const Bytes f = MakeJpeg(); Decode(state, f); }
void BM_DecodePngRgb(benchmark::State& state) { static const Bytes f = MakePng(); Decode(state, f); }

BENCHMARK(BM_DecodeBmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeTga24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeJpegQ85)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePngRgb)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

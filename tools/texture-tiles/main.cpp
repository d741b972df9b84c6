// velinor-texture-tiles: draws the texture tiles of the frame mode.
//
//   velinor-texture-tiles FOLDER
//
// Writes FOLDER/<category>/<name>.jpg|.bmp. Every tile is periodic: all of its ingredients
// (noise lattices, ring counts, wave vectors) repeat a whole number of times across the tile,
// so a frame filled with repeated tiles shows no seam. The output is the same on every run.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "imageio/Writer.h"
#include "render/RasterImage.h"

namespace {

using velinor::render::Color;
using velinor::render::MakeColor;
using velinor::render::RasterImage;

constexpr double kPi = 3.14159265358979323846;

// Value noise on a lattice of cells x cells that wraps around: noise(u, v) with u, v in
// [0, 1) joins up at 1 with its value at 0.
class PeriodicNoise {
public:
    PeriodicNoise(int cells, std::uint32_t seed) : cells_(cells), values_(static_cast<std::size_t>(cells) * cells) {
        std::mt19937 engine(seed);
        std::uniform_real_distribution<double> pick(-1.0, 1.0);
        for (double& v : values_) v = pick(engine);
    }

    double At(double u, double v) const {
        const double x = u * cells_;
        const double y = v * cells_;
        const int x0 = static_cast<int>(std::floor(x));
        const int y0 = static_cast<int>(std::floor(y));
        const double fx = Smooth(x - x0);
        const double fy = Smooth(y - y0);
        const double top = Lerp(Value(x0, y0), Value(x0 + 1, y0), fx);
        const double bottom = Lerp(Value(x0, y0 + 1), Value(x0 + 1, y0 + 1), fx);
        return Lerp(top, bottom, fy);
    }

private:
    static double Smooth(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }
    static double Lerp(double a, double b, double t) { return a + (b - a) * t; }
    double Value(int x, int y) const {
        x = ((x % cells_) + cells_) % cells_;
        y = ((y % cells_) + cells_) % cells_;
        return values_[static_cast<std::size_t>(y) * cells_ + x];
    }

    int cells_;
    std::vector<double> values_;
};

// Octaves of periodic noise, each with twice the cells of the one before; about -1..1.
double Fractal(const std::vector<PeriodicNoise>& octaves, double u, double v) {
    double sum = 0, amplitude = 1, total = 0;
    for (const PeriodicNoise& octave : octaves) {
        sum += amplitude * octave.At(u, v);
        total += amplitude;
        amplitude *= 0.5;
    }
    return sum / total;
}

std::vector<PeriodicNoise> Octaves(int firstCells, int count, std::uint32_t seed) {
    std::vector<PeriodicNoise> octaves;
    for (int i = 0; i < count; ++i) octaves.emplace_back(firstCells << i, seed + 977u * static_cast<std::uint32_t>(i));
    return octaves;
}

struct Rgb {
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Color ToColor(Rgb c) {
    auto channel = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); };
    return MakeColor(channel(c.r), channel(c.g), channel(c.b));
}

RasterImage Blank(int size) {
    RasterImage image;
    image.width = size;
    image.height = size;
    image.pixels.assign(static_cast<std::size_t>(size) * size, 0);
    return image;
}

struct Wood {
    Rgb light, dark;
    int rings;          // growth rings across the tile (whole number: the tile wraps)
    double warp;        // how far the rings wander
    double grain;       // strength of the fine fibres along the board
    std::uint32_t seed;
};

// Boards run left to right: growth rings are bands across the height, pushed about by
// low-frequency noise, with fine fibres stretched along the board.
RasterImage WoodTile(int size, const Wood& w) {
    RasterImage tile = Blank(size);
    const auto warp = Octaves(2, 3, w.seed);
    const auto fibres = Octaves(4, 3, w.seed + 17);
    const PeriodicNoise pores(std::max(8, size / 2), w.seed + 31);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = static_cast<double>(x) / size;
            const double v = static_cast<double>(y) / size;
            const double phase = w.rings * (v + w.warp * Fractal(warp, u, v));
            const double ring = phase - std::floor(phase);
            // Late wood: a sharp dark edge at the end of each ring, easing back to light.
            const double late = std::pow(ring, 3.0);
            // Fibres: noise squeezed across the board (fast in v, slow in u).
            const double fibre = Fractal(fibres, u, std::fmod(v * 8.0, 1.0));
            const double pore = pores.At(u, v) > 0.75 ? 0.25 : 0.0;
            const double t = 0.15 + 0.65 * late + w.grain * fibre + pore;
            tile.At(x, y) = ToColor(Mix(w.light, w.dark, t));
        }
    }
    return tile;
}

struct Water {
    Rgb deep, shallow, glint;
    int waves;          // wave trains summed
    int maxFrequency;   // largest whole number of crests across the tile
    std::uint32_t seed;
};

// Ripples: a sum of wave trains whose crests fit a whole number of times across the tile,
// shaded by their slope, with bright glints where the surface faces the light.
RasterImage WaterTile(int size, const Water& w) {
    RasterImage tile = Blank(size);
    std::mt19937 engine(w.seed);
    std::uniform_int_distribution<int> frequency(-w.maxFrequency, w.maxFrequency);
    std::uniform_real_distribution<double> phase(0, 2 * kPi);
    struct Train {
        int kx, ky;
        double phase, amplitude;
    };
    std::vector<Train> trains;
    while (static_cast<int>(trains.size()) < w.waves) {
        const int kx = frequency(engine);
        const int ky = frequency(engine);
        if (kx == 0 && ky == 0) continue;
        const double length = std::hypot(kx, ky);
        trains.push_back({kx, ky, phase(engine), 1.0 / std::sqrt(length)});
    }
    const auto swell = Octaves(2, 3, w.seed + 5);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = static_cast<double>(x) / size;
            const double v = static_cast<double>(y) / size;
            double height = 0, slopeX = 0, slopeY = 0, total = 0;
            for (const Train& t : trains) {
                const double a = 2 * kPi * (t.kx * u + t.ky * v) + t.phase;
                height += t.amplitude * std::sin(a);
                slopeX += t.amplitude * t.kx * std::cos(a);
                slopeY += t.amplitude * t.ky * std::cos(a);
                total += t.amplitude;
            }
            height /= total;
            // Light from the upper left: slopes facing it brighten, the others darken; crests
            // that face it squarely catch a thin glint.
            const double facing = (slopeX * -0.6 + slopeY * -0.8) / total / w.maxFrequency * 2.5;
            Rgb colour = Mix(w.deep, w.shallow, 0.45 + 0.35 * height + 0.2 * Fractal(swell, u, v) + 0.35 * facing);
            colour = Mix(colour, w.glint, std::pow(std::clamp(facing, 0.0, 1.0), 3.0) * 0.9);
            tile.At(x, y) = ToColor(colour);
        }
    }
    return tile;
}

// Granite: grains of a few minerals in a speckled ground.
RasterImage StoneTile(int size, std::uint32_t seed) {
    RasterImage tile = Blank(size);
    const auto ground = Octaves(4, 4, seed);
    const PeriodicNoise grains(size / 2, seed + 3);
    const PeriodicNoise dark(size / 3, seed + 7);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = static_cast<double>(x) / size;
            const double v = static_cast<double>(y) / size;
            Rgb c = Mix({150, 145, 140}, {205, 198, 192}, 0.5 + 0.6 * Fractal(ground, u, v));
            if (grains.At(u, v) > 0.55) c = Mix(c, {215, 170, 150}, 0.7);
            if (dark.At(u, v) > 0.6) c = Mix(c, {40, 40, 45}, 0.85);
            tile.At(x, y) = ToColor(c);
        }
    }
    return tile;
}

bool Write(const std::filesystem::path& folder, const std::string& category, const std::string& name,
           const RasterImage& tile) {
    std::filesystem::create_directories(folder / category);
    const std::filesystem::path path = folder / category / name;
    const bool bmp = path.extension() == ".bmp";
    const int written = velinor::imageio::SavePicture(&tile, path.string(),
                                                      bmp ? velinor::imageio::kEncoderBmp : velinor::imageio::kEncoderJpeg, 10);
    if (written != 1) std::fprintf(stderr, "velinor-texture-tiles: cannot write %s\n", path.c_str());
    return written == 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: velinor-texture-tiles FOLDER\n", stderr);
        return 2;
    }
    const std::filesystem::path folder = argv[1];

    const Wood beech{{222, 178, 140}, {170, 112, 76}, 3, 0.10, 0.10, 11};
    const Wood oak{{200, 160, 105}, {120, 82, 45}, 5, 0.14, 0.14, 23};
    const Wood pine{{235, 200, 140}, {175, 110, 55}, 4, 0.12, 0.06, 37};
    const Wood walnut{{140, 95, 65}, {62, 38, 24}, 5, 0.16, 0.12, 41};
    const Wood cherry{{205, 120, 80}, {130, 62, 36}, 4, 0.12, 0.10, 53};
    const Water lake{{30, 70, 120}, {70, 140, 185}, {225, 245, 255}, 12, 5, 101};
    const Water sea{{10, 60, 95}, {40, 130, 150}, {210, 250, 245}, 14, 6, 113};
    const Water pool{{40, 120, 190}, {110, 200, 230}, {240, 255, 255}, 10, 4, 127};

    bool ok = true;
    ok &= Write(folder, "Holz16x16", "holz.bmp", WoodTile(16, {{215, 170, 120}, {150, 100, 60}, 1, 0.08, 0.12, 5}));
    ok &= Write(folder, "Holz16x16", "buche.bmp", WoodTile(16, {beech.light, beech.dark, 1, 0.08, 0.10, 7}));
    ok &= Write(folder, "Holz16x16", "nuss.bmp", WoodTile(16, {walnut.light, walnut.dark, 2, 0.10, 0.12, 9}));
    ok &= Write(folder, "Holz64x64", "eiche.jpg", WoodTile(64, oak));
    ok &= Write(folder, "Holz64x64", "kiefer.jpg", WoodTile(64, pine));
    ok &= Write(folder, "Holz64x64", "kirsche.jpg", WoodTile(64, cherry));
    ok &= Write(folder, "Holz128x128", "buche.jpg", WoodTile(128, beech));
    ok &= Write(folder, "Holz128x128", "nuss.jpg", WoodTile(128, walnut));
    ok &= Write(folder, "Holz128x128", "eiche.jpg", WoodTile(128, {oak.light, oak.dark, 7, 0.12, 0.12, 29}));
    ok &= Write(folder, "Wasser16x16", "wasser.bmp", WaterTile(16, {lake.deep, lake.shallow, lake.glint, 4, 1, 3}));
    ok &= Write(folder, "Wasser16x16", "meer.bmp", WaterTile(16, {sea.deep, sea.shallow, sea.glint, 5, 2, 5}));
    ok &= Write(folder, "Wasser128x128", "wellen.jpg", WaterTile(128, lake));
    ok &= Write(folder, "Wasser128x128", "meer.jpg", WaterTile(128, sea));
    ok &= Write(folder, "Wasser128x128", "becken.jpg", WaterTile(128, pool));
    ok &= Write(folder, "Stein", "granit.jpg", StoneTile(64, 211));
    return ok ? 0 : 1;
}

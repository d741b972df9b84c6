// Decode + encode of a 12-megapixel JPEG: LoadPicture + SavePicture (quality 7) against
// libjpeg-turbo's own tools, djpeg | cjpeg -quality 70, on the same file in the same run.
// Prints the ratio of the two wall-clock times at the end.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include <sys/resource.h>
#include <string>

#include "imageio/Loader.h"
#include "imageio/Writer.h"
#include "render/ImageRegistry.h"

namespace {

namespace fs = std::filesystem;
using namespace velinor;

struct Files {
    fs::path folder;
    std::string source;
    std::string ours;
    std::string tools;
};

// A smooth picture with fine detail, written as JPEG with our own writer when ImageMagick's
// plasma is not at hand.
bool SynthesizeSource(const std::string& path) {
    render::RasterImage image;
    image.width = 4000;
    image.height = 3000;
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    unsigned seed = 12345;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = static_cast<int>(seed >> 28);
            const int r = static_cast<int>(127 + 100 * std::sin(x / 150.0) + noise);
            const int g = static_cast<int>(127 + 100 * std::cos(y / 110.0) + noise);
            const int b = static_cast<int>(127 + 100 * std::sin((x + y) / 230.0) - noise);
            image.At(x, y) = render::MakeColor(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    return imageio::SavePicture(&image, path, imageio::kEncoderJpeg, 9) == 1;
}

const Files& TheFiles() {
    static const Files files = [] {
        Files f;
        std::string pattern = (fs::temp_directory_path() / "velinor-bench-XXXXXX").string();
        f.folder = ::mkdtemp(pattern.data());
        f.source = (f.folder / "source.jpg").string();
        f.ours = (f.folder / "ours.jpg").string();
        f.tools = (f.folder / "tools.jpg").string();
        const std::string plasma = "convert -size 4000x3000 -seed 7 plasma: -quality 90 '" + f.source + "' 2>/dev/null";
        if (std::system(plasma.c_str()) != 0 && !SynthesizeSource(f.source)) {
            std::fprintf(stderr, "cannot make the 12-megapixel source picture\n");
            std::exit(1);
        }
        return f;
    }();
    return files;
}

void VelinorLoadAndSave(benchmark::State& state) {
    const Files& files = TheFiles();
    render::ImageRegistry images;
    for (auto _ : state) {
        const render::ImageHandle picture = imageio::LoadPicture(images, 1, files.source);
        if (picture == nullptr || imageio::SavePicture(picture, files.ours, imageio::kEncoderJpeg, 7) != 1) {
            state.SkipWithError("load or save failed");
            break;
        }
    }
}

double ChildrenCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The tools run in child processes (in parallel, as a pipe), so their processor time is
// counted from the children's usage and reported as cpuMs next to the wall-clock time.
void DjpegPipeCjpeg(benchmark::State& state) {
    const Files& files = TheFiles();
    const std::string command = "djpeg '" + files.source + "' | cjpeg -quality 70 > '" + files.tools + "'";
    const double before = ChildrenCpuSeconds();
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("djpeg | cjpeg failed");
            break;
        }
    }
    state.counters["cpuMs"] = benchmark::Counter((ChildrenCpuSeconds() - before) * 1e3 / static_cast<double>(state.iterations()));
}

// The two halves on their own, to see where the time goes.
void VelinorLoadOnly(benchmark::State& state) {
    const Files& files = TheFiles();
    render::ImageRegistry images;
    for (auto _ : state) {
        if (imageio::LoadPicture(images, 1, files.source) == nullptr) {
            state.SkipWithError("load failed");
            break;
        }
    }
}

void VelinorSaveOnly(benchmark::State& state) {
    const Files& files = TheFiles();
    render::ImageRegistry images;
    const render::ImageHandle picture = imageio::LoadPicture(images, 1, files.source);
    for (auto _ : state) {
        if (picture == nullptr || imageio::SavePicture(picture, files.ours, imageio::kEncoderJpeg, 7) != 1) {
            state.SkipWithError("save failed");
            break;
        }
    }
}

BENCHMARK(VelinorLoadOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(VelinorSaveOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(VelinorLoadAndSave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(DjpegPipeCjpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);

// Remembers each benchmark's wall-clock time per iteration to print the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            times[run.run_name.function_name] = run.GetAdjustedRealTime();
            const auto cpu = run.counters.find("cpuMs");
            cpuMs[run.run_name.function_name] = cpu != run.counters.end() ? cpu->second.value : run.GetAdjustedCPUTime();
        }
    }
    std::map<std::string, double> times;
    std::map<std::string, double> cpuMs;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ours = reporter.times.find("VelinorLoadAndSave");
    const auto tools = reporter.times.find("DjpegPipeCjpeg");
    if (ours != reporter.times.end() && tools != reporter.times.end() && tools->second > 0)
    {
        std::printf("ratio LoadPicture+SavePicture / djpeg|cjpeg, wall clock: %.3f (goal <= 1.15)\n", ours->second / tools->second);
        const double toolsCpu = reporter.cpuMs["DjpegPipeCjpeg"];
        if (toolsCpu > 0)
            std::printf("ratio of processor time: %.3f (%.1f ms against %.1f ms)\n",
                        reporter.cpuMs["VelinorLoadAndSave"] / toolsCpu, reporter.cpuMs["VelinorLoadAndSave"], toolsCpu);
    }
    std::error_code ignored;
    fs::remove_all(TheFiles().folder, ignored);
    benchmark::Shutdown();
    return 0;
}

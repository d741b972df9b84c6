// Loading the interface texts: the shipped lang.prf, and a 15 MB one of short lines that holds
// the real texts after a million filler keys (a lookup that scanned the whole group would show here).
//   build/dev/bench/bench_text_table_bench
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/KeyValueFile.h"
#include "app/TextTable.h"

namespace {

using velinor::app::KeyValueFile;
using velinor::app::TextTable;

// A scratch folder holding lang.prf while the benchmark runs in it.
class LanguageFolder {
public:
    explicit LanguageFolder(const std::string& bytes) : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "velinor-bench-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        std::filesystem::current_path(path_);
        std::ofstream("lang.prf", std::ios::binary) << bytes;
    }
    ~LanguageFolder() {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(path_);
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

std::string ShippedLanguageFile() {
    std::ifstream in(std::string(VELINOR_STAGE_DIR) + "/lang.prf", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void LoadTexts(benchmark::State& state, const std::string& bytes) {
    LanguageFolder folder(bytes);
    KeyValueFile prefs;
    TextTable table;
    for (auto _ : state) {
        if (!velinor::app::LoadTextTable(prefs, table, "English", velinor::app::kLastKey)) state.SkipWithError("no lang.prf");
        benchmark::DoNotOptimize(table[velinor::app::kTextOpenPicture]);
    }
}

void BM_ShippedLanguageFile(benchmark::State& state) { LoadTexts(state, ShippedLanguageFile()); }

void BM_FifteenMegabytesOfShortLines(benchmark::State& state) {
    std::string bytes = "[english]\r\n";
    for (int i = 0; bytes.size() < 15'000'000; ++i) bytes += "f" + std::to_string(i) + " = x\r\n";
    const std::string shipped = ShippedLanguageFile();
    bytes += shipped.substr(shipped.find("[english]") + 9);
    LoadTexts(state, bytes);
}

BENCHMARK(BM_ShippedLanguageFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FifteenMegabytesOfShortLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Opening hull files: frames stored in descending Y must not cost more than in ascending Y.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/Hullform.h"
#include "core/ModelText.h"

namespace {

std::string HullText(int frames, bool descending)
{
    std::string text = "<HULL> <APPENDAGE> <APPENDAGE_NAME> Body </APPENDAGE_NAME>\n";
    for (int i = 0; i < frames; ++i) {
        const int k = descending ? frames - 1 - i : i;
        text += "<SECTION> <SECTION_NAME> F </SECTION_NAME> <YCOORD> " + core::ModelNumber(k * 0.01) +
                " </YCOORD> <OFFSET_COUNT> 2 </OFFSET_COUNT> <OFFSETS> 0 0 1 1 </OFFSETS> </SECTION>\n";
    }
    return text + "</APPENDAGE> </HULL>\n";
}

void BM_OpenHullFile(benchmark::State& state)
{
    std::string dir = (std::filesystem::temp_directory_path() / "korvelo-bench-XXXXXX").string();
    if (!::mkdtemp(dir.data())) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const std::string path = dir + "/frames.hll";
    {
        const std::string text = HullText(static_cast<int>(state.range(0)), state.range(1) != 0);
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    core::Hullform hull(std::string{});
    for (auto _ : state)
        benchmark::DoNotOptimize(hull.OpenHullFile(path));
    std::filesystem::remove_all(dir);
}

}  // namespace

// Frames, then 1 for descending Y.
BENCHMARK(BM_OpenHullFile)->Args({50000, 0})->Args({50000, 1})->Args({5000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

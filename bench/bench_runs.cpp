// The calculation runs through their run logic beside the bare solver calls they wrap:
// a hydrostatics table of 100 draughts and cross curves of 19 heels x 10 displacements.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>

#include "BenchHull.h"
#include "RecordingReporter.h"
#include "app/RunLogic.h"
#include "core/DraughtSearch.h"
#include "core/HydroData.h"

namespace {

using namespace app::runs;

constexpr int kDraughts = 100;
constexpr int kHeels = 19;  // 0 to 90 degrees by 5
constexpr int kDisplacements = 10;

std::unique_ptr<core::Hullform> BenchHull(benchmark::State& state)
{
    return MakeHull(int(state.range(0)), int(state.range(1)));
}

void BM_HydroTableRun(benchmark::State& state)
{
    const auto hull = BenchHull(state);
    for (auto _ : state) {
        HydroSettings s;
        ReadHydroInputs(*hull, {"0.08", "7.92", 0.08, {"0", 0, "deg"}, 0}, s);
        std::array<double, 15> row{};
        for (int i = 0; i < s.rows; ++i) {
            HydroStep(*hull, s, i, row);
            benchmark::DoNotOptimize(HydroGraphValues(row));
        }
        state.counters["rows"] = s.rows;
    }
}

void BM_HydroTableBare(benchmark::State& state)
{
    const auto hull = BenchHull(state);
    core::HydroData r;
    for (auto _ : state)
        for (int i = 0; i < kDraughts; ++i) {
            hull->GetHydroStatics(0.08 + 0.08 * i, 0, r);
            benchmark::DoNotOptimize(r.volume);
        }
}

void BM_CrossCurvesRun(benchmark::State& state)
{
    const auto hull = BenchHull(state);
    const double largest = LargestDisplacement(*hull);
    for (auto _ : state) {
        std::vector<double> angles;
        BuildRunAngles({}, 0, 90, 5, angles);
        CrossSettings s;
        std::string warning;
        const double step = largest / (kDisplacements + 1);
        ReadCrossInputs(*hull, {step, step * (kDisplacements - 1), step, 0, 90, 5, 0.01, {"0", 0, "deg"}}, s, warning);
        const double top = LargestDisplacement(*hull);
        const auto heeled = hull->HeeledCopy(0);
        for (double a : angles) {
            hull->HeelInto(a, *heeled);
            heeled->waterDensity = s.density;
            core::DraughtSearch search(*heeled, s.trim);
            for (int i = 0; i < s.rows; ++i)
                benchmark::DoNotOptimize(CrossStep(search, s, top, i, a, *hull));
        }
        state.counters["cells"] = double(angles.size() * s.rows);
    }
}

void BM_CrossCurvesBare(benchmark::State& state)
{
    const auto hull = BenchHull(state);
    const double largest = LargestDisplacement(*hull);
    for (auto _ : state) {
        const auto heeled = hull->HeeledCopy(0);
        for (int h = 0; h < kHeels; ++h) {
            hull->HeelInto(5.0 * h, *heeled);
            core::DraughtSearch search(*heeled, 0);
            for (int k = 1; k <= kDisplacements; ++k) {
                search.Find(largest * k / (kDisplacements + 1), 0.01);
                benchmark::DoNotOptimize(search.Found().TCB);
            }
        }
    }
}

#define RUN_SIZES Args({101, 201})->Unit(benchmark::kMillisecond)
BENCHMARK(BM_HydroTableRun)->RUN_SIZES;
BENCHMARK(BM_HydroTableBare)->RUN_SIZES;
BENCHMARK(BM_CrossCurvesRun)->RUN_SIZES;
BENCHMARK(BM_CrossCurvesBare)->RUN_SIZES;

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* run : {"HydroTable", "CrossCurves"}) {
        const double through = reporter.Time(std::string("BM_") + run + "Run/101/201");
        const double bare = reporter.Time(std::string("BM_") + run + "Bare/101/201");
        if (through > 0 && bare > 0)
            std::printf("%s on 101 x 201: run logic %.2f ms, bare solver %.2f ms (ratio %.2f)\n", run, through, bare,
                        through / bare);
    }
    benchmark::Shutdown();
    return 0;
}

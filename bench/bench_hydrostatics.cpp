// Hydrostatic solver against a floor that no solver can beat: one pass over all offsets
// computing each frame's shoelace area. Prints GetHydroStatics time / floor time.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/HydroData.h"
#include "core/Hullform.h"
#include "core/Section.h"

namespace {

constexpr double kPi = 3.141592653589793;

// A Wigley-type hull, 100 m x 12 m x 8 m deep, of `frames` closed frames of `offsets` points.
std::unique_ptr<core::Hullform> MakeHull(int frames, int offsets)
{
    auto hull = std::make_unique<core::Hullform>(std::string());  // no log file
    core::Appendage body;
    const double length = 100, beam = 12, depth = 8;
    for (int i = 0; i < frames; ++i) {
        const double y = length * i / (frames - 1);
        const double eta = 2 * y / length - 1;
        const double half = beam / 2 * (1 - 0.9 * eta * eta);
        core::Section s;
        s.SetY(y);
        for (int k = 0; k < offsets; ++k) {
            // Round the outline from the keel, up the starboard side, over the deck, down port.
            const double a = -kPi / 2 + 2 * kPi * k / offsets;
            const double x = half * std::cos(a);
            const double z = depth / 2 * (1 + std::sin(a));
            s.AddOffset(x, z);
        }
        body.frames.push_back(std::move(s));
    }
    hull->appendages.push_back(std::move(body));
    hull->fwdMarkY = 100;
    return hull;
}

void BM_Floor(benchmark::State& state)
{
    const auto hull = MakeHull(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::vector<core::Section>& frames = hull->appendages[0].frames;
    for (auto _ : state) {
        double total = 0;
        for (const core::Section& s : frames) {
            const std::size_t n = s.X.size();
            double a = 0;
            for (std::size_t k = 0, j = n - 1; k < n; j = k++)
                a += s.X[j] * s.Z[k] - s.X[k] * s.Z[j];
            total += std::fabs(a * 0.5);
        }
        benchmark::DoNotOptimize(total);
    }
}

void BM_GetHydroStatics(benchmark::State& state)
{
    const auto hull = MakeHull(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const double mid = (hull->GetMinZ() + hull->GetMaxZ()) * 0.5;
    core::HydroData r;
    for (auto _ : state) {
        hull->GetHydroStatics(mid, 0, r);
        benchmark::DoNotOptimize(r.volume);
    }
}

void BM_FindDraughtForDisplacement(benchmark::State& state)
{
    const auto hull = MakeHull(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    core::HydroData r;
    hull->GetHydroStatics(hull->GetMaxZ() * 0.37, 0, r);
    const double target = r.displacement;
    for (auto _ : state) {
        bool converged = false;
        benchmark::DoNotOptimize(hull->FindDraughtForDisplacement(target, 0, 0.01, &converged));
    }
}

#define HULL_SIZES Args({101, 201})->Args({21, 41})->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_Floor)->HULL_SIZES;
BENCHMARK(BM_GetHydroStatics)->HULL_SIZES;
BENCHMARK(BM_FindDraughtForDisplacement)->HULL_SIZES;

// Keeps each run's CPU time per iteration by name, to print the ratios at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration)
                times[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* size : {"101/201", "21/41"}) {
        const std::string suffix = std::string("/") + size;
        const auto floor = reporter.times.find("BM_Floor" + suffix);
        const auto hydro = reporter.times.find("BM_GetHydroStatics" + suffix);
        const auto search = reporter.times.find("BM_FindDraughtForDisplacement" + suffix);
        if (floor == reporter.times.end() || floor->second <= 0)
            continue;
        if (hydro != reporter.times.end())
            std::printf("GetHydroStatics / floor (%s frames/offsets): %.2f\n", size,
                        hydro->second / floor->second);
        if (search != reporter.times.end())
            std::printf("FindDraughtForDisplacement / floor (%s frames/offsets): %.1f\n", size,
                        search->second / floor->second);
    }
    benchmark::Shutdown();
    return 0;
}

// Hydrostatic solver against a floor that no solver can beat: one pass over all offsets
// computing each frame's shoelace area. Prints GetHydroStatics time / floor time, the
// draught search's calculations and the time of a cross-curves table.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchHull.h"
#include "RecordingReporter.h"
#include "core/DraughtSearch.h"
#include "core/HydroData.h"
#include "core/Hullform.h"
#include "core/Section.h"

namespace {

// The floor: one pass over every offset computing each frame's shoelace area, with its
// sum split into `Sums` running partial sums so that the additions need not wait for one
// another, in plain code and in SIMD pairs. The fastest variant is the floor that the
// solver is measured against.
template <int Sums>
double ShoelaceAreas(const std::vector<core::Section>& frames)
{
    double total = 0;
    for (const core::Section& s : frames) {
        const std::size_t n = s.X.size();
        const double* x = s.X.data();
        const double* z = s.Z.data();
        double a[Sums] = {};
        std::size_t k = 0;
        for (; k + Sums < n; k += Sums)
            for (int p = 0; p < Sums; ++p)
                a[p] += x[k + p] * z[k + p + 1] - x[k + p + 1] * z[k + p];
        double rest = 0;
        for (; k < n; ++k) {
            const std::size_t j = k + 1 < n ? k + 1 : 0;
            rest += x[k] * z[j] - x[j] * z[k];
        }
        for (int p = 0; p < Sums; ++p)
            rest += a[p];
        total += std::fabs(rest * 0.5);
    }
    return total;
}

// The same with two edges at a time in SIMD pairs, one or two pairs of running sums.
typedef double Pair __attribute__((vector_size(16)));

inline Pair LoadPair(const double* p)
{
    Pair v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <int Sums>
double ShoelaceAreasInPairs(const std::vector<core::Section>& frames)
{
    double total = 0;
    for (const core::Section& s : frames) {
        const std::size_t n = s.X.size();
        const double* x = s.X.data();
        const double* z = s.Z.data();
        Pair a0 = {0, 0}, a1 = {0, 0};
        std::size_t k = 0;
        auto edges = [&](std::size_t i) {
            return LoadPair(x + i) * LoadPair(z + i + 1) - LoadPair(x + i + 1) * LoadPair(z + i);
        };
        if (Sums == 1) {
            for (; k + 2 < n; k += 2)
                a0 += edges(k);
        } else {
            for (; k + 4 < n; k += 4) {
                a0 += edges(k);
                a1 += edges(k + 2);
            }
        }
        double rest = a0[0] + a0[1] + a1[0] + a1[1];
        for (; k < n; ++k) {
            const std::size_t j = k + 1 < n ? k + 1 : 0;
            rest += x[k] * z[j] - x[j] * z[k];
        }
        total += std::fabs(rest * 0.5);
    }
    return total;
}

template <double (*Areas)(const std::vector<core::Section>&)>
void BM_FloorOf(benchmark::State& state)
{
    const auto hull = MakeHull(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::vector<core::Section>& frames = hull->appendages[0].frames;
    for (auto _ : state)
        benchmark::DoNotOptimize(Areas(frames));
}

template <int Sums>
void BM_Floor(benchmark::State& state)
{
    BM_FloorOf<ShoelaceAreas<Sums>>(state);
}

template <int Sums>
void BM_FloorPairs(benchmark::State& state)
{
    BM_FloorOf<ShoelaceAreasInPairs<Sums>>(state);
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
    unsigned evaluations = 0;
    for (auto _ : state) {
        bool converged = false;
        benchmark::DoNotOptimize(hull->FindDraughtForDisplacement(target, 0, 0.01, &converged, &evaluations));
    }
    state.counters["evaluations"] = evaluations;
}

// The cross curves as the application runs them: for each heel the working copy heeled
// anew, the largest displacement it can float, then for each displacement the draught
// search, one search object kept for the heel, and the hydrostatics at the draught found.
constexpr int kHeels = 19;         // 0 to 90 degrees by 5
constexpr int kDisplacements = 10;

void BM_CrossCurves(benchmark::State& state)
{
    const auto hull = MakeHull(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    unsigned searches = 0, evaluations = 0;
    for (auto _ : state) {
        searches = evaluations = 0;
        const auto heeled = hull->HeeledCopy(0);
        for (int h = 0; h < kHeels; ++h) {
            hull->HeelInto(5.0 * h, *heeled);
            core::HydroData r;
            heeled->GetHydroStatics(heeled->GetMaxZ(), 0, r);
            const double largest = r.displacement;
            core::DraughtSearch search(*heeled, 0);
            for (int k = 1; k <= kDisplacements; ++k) {
                search.Find(largest * k / (kDisplacements + 1), 0.01);
                benchmark::DoNotOptimize(search.Found().KMT);
                ++searches;
            }
            evaluations += search.Evaluations();
        }
    }
    state.counters["evaluations/search"] = searches ? double(evaluations) / searches : 0;
}

#define HULL_SIZES Args({101, 201})->Args({21, 41})->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_Floor<1>)->HULL_SIZES;
BENCHMARK(BM_Floor<2>)->HULL_SIZES;
BENCHMARK(BM_Floor<4>)->HULL_SIZES;
BENCHMARK(BM_Floor<8>)->HULL_SIZES;
BENCHMARK(BM_FloorPairs<1>)->HULL_SIZES;
BENCHMARK(BM_FloorPairs<2>)->HULL_SIZES;
BENCHMARK(BM_GetHydroStatics)->HULL_SIZES;
BENCHMARK(BM_FindDraughtForDisplacement)->HULL_SIZES;
BENCHMARK(BM_CrossCurves)->Args({101, 201})->Unit(benchmark::kMillisecond);

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
        // The floor is the fastest of its variants.
        double floor = 0;
        std::string fastest;
        for (const char* variant : {"BM_Floor<1>", "BM_Floor<2>", "BM_Floor<4>", "BM_Floor<8>", "BM_FloorPairs<1>",
                                    "BM_FloorPairs<2>"}) {
            const auto t = reporter.times.find(variant + suffix);
            if (t != reporter.times.end() && t->second > 0 && (floor == 0 || t->second < floor)) {
                floor = t->second;
                fastest = variant;
            }
        }
        if (floor <= 0)
            continue;
        std::printf("floor (%s frames/offsets): %s, %.2f us\n", size, fastest.c_str(), floor);
        const auto hydro = reporter.times.find("BM_GetHydroStatics" + suffix);
        const auto search = reporter.times.find("BM_FindDraughtForDisplacement" + suffix);
        if (hydro != reporter.times.end())
            std::printf("GetHydroStatics / floor (%s frames/offsets): %.2f%s\n", size, hydro->second / floor,
                        std::string(size) == "101/201" ? " (goal: 3 or less)" : "");
        if (search != reporter.times.end())
            std::printf("FindDraughtForDisplacement / floor (%s frames/offsets): %.1f\n", size,
                        search->second / floor);
    }
    const auto table = reporter.times.find("BM_CrossCurves/101/201");
    if (table != reporter.times.end())
        std::printf("cross-curves table, %d heels x %d displacements (101/201): %.4f s (goal: under 0.02 s)\n",
                    kHeels, kDisplacements, table->second / 1e3);
    benchmark::Shutdown();
    return 0;
}

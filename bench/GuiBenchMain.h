#pragma once
// main() of a benchmark that draws: the host runs off screen unless the caller chose a
// platform, and the GUI layer is up before the first benchmark.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/TestRig.h"

inline int RunGuiBenchmarks(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::EnsurePlatform();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

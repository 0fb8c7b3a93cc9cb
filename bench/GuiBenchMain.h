#pragma once
// main() of a benchmark that draws: the host runs off screen unless the caller chose a
// platform, and the GUI layer is up before the first benchmark.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/TestRig.h"

// The GUI layer, off screen unless QT_QPA_PLATFORM names a platform.
inline void StartGuiHost()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::EnsurePlatform();
}

inline int RunGuiBenchmarks(int argc, char** argv)
{
    StartGuiHost();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#pragma once
// main() of a benchmark that draws: the host runs off screen unless the caller chose a
// platform, and the GUI layer is up before the first benchmark.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

#include "RecordingReporter.h"
#include "platform/TestRig.h"

// The GUI layer, off screen unless QT_QPA_PLATFORM names a platform.
inline void StartGuiHost()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::EnsurePlatform();
}

// Runs the benchmarks; `summary`, when given, prints the figures of the runs beside their
// peers or floors at the end.
inline int RunGuiBenchmarks(int argc, char** argv,
                            const std::function<void(const RecordingReporter&)>& summary = {})
{
    StartGuiHost();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (summary) summary(reporter);
    benchmark::Shutdown();
    return 0;
}

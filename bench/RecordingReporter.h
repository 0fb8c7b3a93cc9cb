#pragma once
// A console reporter that also keeps each run's CPU time per iteration by name, so
// that a benchmark program can print ratios of its runs at the end. A run repeated
// several times is kept as the median of its repetitions, under its own name.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Iteration && r.repetitions <= 1) {
                times[r.benchmark_name()] = r.GetAdjustedCPUTime();
                realTimes[r.benchmark_name()] = r.GetAdjustedRealTime();
            }
            else if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
                benchmark::BenchmarkName name = r.run_name;
                name.repetitions.clear();
                times[name.str()] = r.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // The time of a run, or 0 when it did not run.
    double Time(const std::string& name) const
    {
        const auto it = times.find(name);
        return it == times.end() ? 0 : it->second;
    }
    // The wall-clock time of a single run (runs timed by hand), or 0.
    double RealTime(const std::string& name) const
    {
        const auto it = realTimes.find(name);
        return it == realTimes.end() ? 0 : it->second;
    }
    std::map<std::string, double> times, realTimes;
};

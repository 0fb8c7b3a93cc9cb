#pragma once
// The system's performance statistics, in the shape the performance monitor reads
// them: objects holding counters, each described by a text and a running-total flag,
// and a live area where a counter is started, read as a 32-bit figure and stopped.
// The stand-in serves the figures Linux publishes under /proc.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace platform {

// What the description key of one counter holds; an absent value stays empty.
struct PerfCounterKey {
    std::optional<std::string> Description;
    std::optional<std::string> Differentiate;  // "TRUE" for a running total
};

class PerfStatistics {
public:
    virtual ~PerfStatistics() = default;

    // The description area: object names, the counters of one object (empty for an
    // unknown object), and one counter's key (false when object or counter is unknown).
    virtual std::vector<std::string> Objects() = 0;
    virtual std::vector<std::string> Counters(const std::string& object) = 0;
    virtual bool OpenCounter(const std::string& object, const std::string& counter, PerfCounterKey& key) = 0;

    // The live area; false when the system publishes no live figures at all.
    virtual bool LiveDataPresent() = 0;
    // Each false when the counter has no live value.
    virtual bool Start(const std::string& object, const std::string& counter) = 0;
    virtual bool Read(const std::string& object, const std::string& counter, DWORD& value) = 0;
    virtual bool Stop(const std::string& object, const std::string& counter) = 0;

    // Milliseconds since the system started.
    virtual DWORD TickCount() = 0;

    // The statistics of another computer, named by two backslashes and its name; null
    // when it cannot be reached, which is always the case here.
    virtual PerfStatistics* Connect(const std::string& machine)
    {
        (void)machine;
        return nullptr;
    }
};

// Figures read from a /proc tree (the root is a parameter so tests can give their own).
//   KERNEL: CPUUsage (busy per cent of all processors since the previous reading), Threads
//   VMM:    cpgFree, cpgDiskcache, cpgCommit, cpgLocked, cpgSwapfile, cpgSwapfileInUse
//           (in pages), cPageFaults, cPageIns, cPageOuts (running totals)
std::unique_ptr<PerfStatistics> MakeProcPerfStatistics(const std::string& procRoot = "/proc");

// The statistics the components read: the system's, unless a test put others in place.
PerfStatistics& SystemPerfStatistics();
void SetPerfStatisticsForTesting(PerfStatistics* statistics);  // nullptr: the system's again

}  // namespace platform

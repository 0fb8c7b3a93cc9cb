#include "platform/system/PerfData.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <fstream>
#include <mutex>
#include <sstream>

namespace platform {

namespace {

enum class Figure {
    CpuUsage, Threads, MemFree, DiskCache, Committed, Locked, SwapTotal, SwapInUse, PageFaults, PageIns, PageOuts
};

struct CounterDef {
    const char* object;
    const char* counter;
    const char* description;
    bool differentiate;
    Figure figure;
};

const CounterDef kCounters[] = {
    {"KERNEL", "CPUUsage", "Processor Usage (%)", false, Figure::CpuUsage},
    {"KERNEL", "Threads", "Threads", false, Figure::Threads},
    {"VMM", "cpgFree", "Free memory", false, Figure::MemFree},
    {"VMM", "cpgDiskcache", "Disk cache size", false, Figure::DiskCache},
    {"VMM", "cpgCommit", "Allocated memory", false, Figure::Committed},
    {"VMM", "cpgLocked", "Locked memory", false, Figure::Locked},
    {"VMM", "cpgSwapfile", "Swapfile size", false, Figure::SwapTotal},
    {"VMM", "cpgSwapfileInUse", "Swapfile in use", false, Figure::SwapInUse},
    {"VMM", "cPageFaults", "Page faults", true, Figure::PageFaults},
    {"VMM", "cPageIns", "Page-ins", true, Figure::PageIns},
    {"VMM", "cPageOuts", "Page-outs", true, Figure::PageOuts},
};

const CounterDef* FindCounter(const std::string& object, const std::string& counter)
{
    for (const auto& c : kCounters)
        if (object == c.object && counter == c.counter) return &c;
    return nullptr;
}

bool ReadFile(const std::string& path, std::string& out)
{
    std::ifstream in(path);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return true;
}

// The number after "name" at the start of a line ("MemFree:" in meminfo, "pgfault" in vmstat).
bool FieldOf(const std::string& text, const std::string& name, std::uint64_t& value)
{
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, name.size(), name) != 0) continue;
        if (line.size() > name.size() && line[name.size()] != ' ' && line[name.size()] != '\t') continue;
        std::istringstream rest(line.substr(name.size()));
        std::uint64_t v = 0;
        if (!(rest >> v)) return false;
        value = v;
        return true;
    }
    return false;
}

DWORD Clamp32(std::uint64_t v) { return v > 0xFFFFFFFFull ? 0xFFFFFFFFu : DWORD(v); }

class ProcPerfStatistics : public PerfStatistics {
public:
    explicit ProcPerfStatistics(std::string root) : root_(std::move(root)) {}

    std::vector<std::string> Objects() override { return {"KERNEL", "VMM"}; }

    std::vector<std::string> Counters(const std::string& object) override
    {
        std::vector<std::string> out;
        for (const auto& c : kCounters)
            if (object == c.object) out.emplace_back(c.counter);
        return out;
    }

    bool OpenCounter(const std::string& object, const std::string& counter, PerfCounterKey& key) override
    {
        const CounterDef* c = FindCounter(object, counter);
        if (!c) return false;
        key.Description = c->description;
        key.Differentiate = c->differentiate ? "TRUE" : "FALSE";
        return true;
    }

    bool LiveDataPresent() override
    {
        std::string s;
        return ReadFile(root_ + "/stat", s) || ReadFile(root_ + "/meminfo", s);
    }

    bool Start(const std::string& object, const std::string& counter) override
    {
        const CounterDef* c = FindCounter(object, counter);
        if (!c) return false;
        std::lock_guard lock(mutex_);
        std::uint64_t v = 0;
        if (c->figure == Figure::CpuUsage) {
            std::uint64_t busy = 0, total = 0;
            if (!CpuTimes(busy, total)) return false;
            if (!cpuValid_) {
                lastBusy_ = busy;
                lastTotal_ = total;
                cpuValid_ = true;
            }
            return true;
        }
        return FigureValue(c->figure, v);
    }

    bool Read(const std::string& object, const std::string& counter, DWORD& value) override
    {
        const CounterDef* c = FindCounter(object, counter);
        if (!c) return false;
        std::lock_guard lock(mutex_);
        std::uint64_t v = 0;
        if (!FigureValue(c->figure, v)) return false;
        value = c->differentiate ? DWORD(v) : Clamp32(v);  // running totals wrap like a 32-bit counter
        return true;
    }

    bool Stop(const std::string& object, const std::string& counter) override
    {
        return FindCounter(object, counter) != nullptr;
    }

    DWORD TickCount() override { return GetTickCount(); }

private:
    // Busy and total jiffies over all processors, from the first line of stat.
    bool CpuTimes(std::uint64_t& busy, std::uint64_t& total)
    {
        std::string text;
        if (!ReadFile(root_ + "/stat", text)) return false;
        std::istringstream in(text);
        std::string label;
        if (!(in >> label) || label != "cpu") return false;
        std::uint64_t f[8] = {};
        int n = 0;
        while (n < 8 && in >> f[n]) ++n;
        if (n < 4) return false;
        total = 0;
        for (int i = 0; i < n; ++i) total += f[i];  // guest time is already inside user time
        const std::uint64_t idle = f[3] + (n > 4 ? f[4] : 0);
        busy = total - idle;
        return true;
    }

    bool Meminfo(const char* name, std::uint64_t& pages)
    {
        std::string text;
        std::uint64_t kb = 0;
        if (!ReadFile(root_ + "/meminfo", text) || !FieldOf(text, name, kb)) return false;
        pages = kb * 1024 / PageSize();
        return true;
    }

    static std::uint64_t PageSize()
    {
        long p = sysconf(_SC_PAGESIZE);
        return p > 0 ? std::uint64_t(p) : 4096;
    }

    bool FigureValue(Figure f, std::uint64_t& v)
    {
        std::string text;
        switch (f) {
        case Figure::CpuUsage: {
            std::uint64_t busy = 0, total = 0;
            if (!CpuTimes(busy, total)) return false;
            if (cpuValid_ && total > lastTotal_) {
                const std::uint64_t db = busy >= lastBusy_ ? busy - lastBusy_ : 0;
                const std::uint64_t dt = total - lastTotal_;
                lastPercent_ = DWORD((std::min(db, dt) * 100 + dt / 2) / dt);
            }
            if (!cpuValid_ || total > lastTotal_) {
                lastBusy_ = busy;
                lastTotal_ = total;
                cpuValid_ = true;
            }
            v = lastPercent_;
            return true;
        }
        case Figure::Threads: {
            // loadavg: "0.00 0.01 0.05 1/234 5678": the number after the slash.
            if (!ReadFile(root_ + "/loadavg", text)) return false;
            const auto slash = text.find('/');
            if (slash == std::string::npos) return false;
            std::istringstream in(text.substr(slash + 1));
            return bool(in >> v);
        }
        case Figure::MemFree: return Meminfo("MemFree:", v);
        case Figure::DiskCache: {
            std::uint64_t buffers = 0, cached = 0;
            if (!Meminfo("Buffers:", buffers) || !Meminfo("Cached:", cached)) return false;
            v = buffers + cached;
            return true;
        }
        case Figure::Committed: return Meminfo("Committed_AS:", v);
        case Figure::Locked: return Meminfo("Mlocked:", v);
        case Figure::SwapTotal: return Meminfo("SwapTotal:", v);
        case Figure::SwapInUse: {
            std::uint64_t total = 0, free = 0;
            if (!Meminfo("SwapTotal:", total) || !Meminfo("SwapFree:", free)) return false;
            v = total >= free ? total - free : 0;
            return true;
        }
        case Figure::PageFaults:
        case Figure::PageIns:
        case Figure::PageOuts: {
            const char* name = f == Figure::PageFaults ? "pgfault" : f == Figure::PageIns ? "pswpin" : "pswpout";
            return ReadFile(root_ + "/vmstat", text) && FieldOf(text, name, v);
        }
        }
        return false;
    }

    std::string root_;
    std::mutex mutex_;
    bool cpuValid_ = false;
    std::uint64_t lastBusy_ = 0, lastTotal_ = 0;
    DWORD lastPercent_ = 0;
};

std::atomic<PerfStatistics*> gTestStatistics{nullptr};

}  // namespace

std::unique_ptr<PerfStatistics> MakeProcPerfStatistics(const std::string& procRoot)
{
    return std::make_unique<ProcPerfStatistics>(procRoot);
}

PerfStatistics& SystemPerfStatistics()
{
    if (PerfStatistics* s = gTestStatistics.load()) return *s;
    static ProcPerfStatistics system("/proc");
    return system;
}

void SetPerfStatisticsForTesting(PerfStatistics* statistics) { gTestStatistics.store(statistics); }

}  // namespace platform

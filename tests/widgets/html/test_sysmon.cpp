#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "base/StringList.h"
#include "platform/system/PerfData.h"
#include "support/TestSupport.h"
#include "widgets/html/SysMon.h"

using namespace html;
using platform::DWORD;

namespace {

// Statistics under the test's control, with a log of every live-area call.
struct FakeStats : platform::PerfStatistics {
    struct Entry {
        std::optional<std::string> description, differentiate;
        std::optional<DWORD> value;
    };
    std::map<std::string, std::map<std::string, Entry>> objects;
    bool live = true;
    DWORD tick = 0;
    std::vector<std::string> log;
    int touches = 0;
    std::string connectedTo;
    PerfStatistics* remote = nullptr;

    Entry* Find(const std::string& o, const std::string& c)
    {
        auto oi = objects.find(o);
        if (oi == objects.end()) return nullptr;
        auto ci = oi->second.find(c);
        return ci == oi->second.end() ? nullptr : &ci->second;
    }
    std::vector<std::string> Objects() override
    {
        ++touches;
        std::vector<std::string> out;
        for (auto& [k, v] : objects) out.push_back(k);
        return out;
    }
    std::vector<std::string> Counters(const std::string& o) override
    {
        ++touches;
        std::vector<std::string> out;
        if (auto oi = objects.find(o); oi != objects.end())
            for (auto& [k, v] : oi->second) out.push_back(k);
        return out;
    }
    bool OpenCounter(const std::string& o, const std::string& c, platform::PerfCounterKey& key) override
    {
        ++touches;
        Entry* e = Find(o, c);
        if (!e) return false;
        key.Description = e->description;
        key.Differentiate = e->differentiate;
        return true;
    }
    bool LiveDataPresent() override
    {
        ++touches;
        return live;
    }
    bool Start(const std::string& o, const std::string& c) override
    {
        ++touches;
        log.push_back("start " + o + "\\" + c);
        Entry* e = Find(o, c);
        return e && e->value;
    }
    bool Read(const std::string& o, const std::string& c, DWORD& v) override
    {
        ++touches;
        log.push_back("read " + o + "\\" + c);
        Entry* e = Find(o, c);
        if (!e || !e->value) return false;
        v = *e->value;
        return true;
    }
    bool Stop(const std::string& o, const std::string& c) override
    {
        ++touches;
        log.push_back("stop " + o + "\\" + c);
        return Find(o, c) != nullptr;
    }
    DWORD TickCount() override { return tick; }
    PerfStatistics* Connect(const std::string& machine) override
    {
        connectedTo = machine;
        return remote;
    }
};

struct SysMonTest : ::testing::Test {
    FakeStats stats;
    void SetUp() override
    {
        stats.objects["KERNEL"]["CPUUsage"] = {"Processor Usage (%)", "FALSE", 12};
        stats.objects["VMM"]["cPageFaults"] = {"Page faults", "TRUE", 1000};
        stats.objects["VMM"]["cpgFree"] = {"Free memory", std::nullopt, 777};
        platform::SetPerfStatisticsForTesting(&stats);
    }
    void TearDown() override { platform::SetPerfStatisticsForTesting(nullptr); }

    TMonObject* Counter(TSysMon& mon, const std::string& o, const std::string& c)
    {
        TMonObject* m = mon.Monitors()->Add();
        m->SetSysObject(o);
        m->SetCounter(c);
        return m;
    }
};

TEST_F(SysMonTest, VersionIsFixed)
{
    TSysMon mon;
    EXPECT_EQ(mon.GetVersionNr(), 0x01010000u);
    mon.SetVersion("9.9.9.9");
    EXPECT_EQ(mon.Version(), "1.1.0.0");
}

TEST_F(SysMonTest, NewCounterStartsClear)
{
    TSysMon mon;
    TMonObject* m = mon.Monitors()->Add();
    EXPECT_FALSE(m->Differentiate);
    EXPECT_FALSE(m->Started());
    EXPECT_EQ(m->LastTick(), 0u);
    EXPECT_EQ(m->LastValue(), 0u);
    EXPECT_EQ(mon.Monitors()->GetOwner(), &mon);
    EXPECT_EQ(m->Collection(), mon.Monitors());
}

TEST_F(SysMonTest, MissingNameNeverTouchesTheStatistics)
{
    const std::pair<std::string, std::string> cases[] = {{"", ""}, {"KERNEL", ""}, {"", "CPUUsage"}};
    for (const auto& [o, c] : cases) {
        TSysMon mon;
        TMonObject* m = Counter(mon, o, c);
        stats.touches = 0;
        EXPECT_EQ(m->GetValue(), -1) << o << "\\" << c;
        EXPECT_EQ(m->GetName(), "");
        EXPECT_FALSE(m->GetDiff());
        m->MonStart();
        m->MonStop();
        EXPECT_FALSE(m->Started());
        EXPECT_EQ(stats.touches, 0) << o << "\\" << c;
    }
}

TEST_F(SysMonTest, RawCounterReadsItsFigure)
{
    TSysMon mon;
    TMonObject* m = Counter(mon, "KERNEL", "CPUUsage");
    stats.tick = 5000;
    EXPECT_EQ(m->GetValue(), 12);
    EXPECT_TRUE(m->Started());
    EXPECT_FALSE(m->Differentiate);
    EXPECT_EQ(m->LastValue(), 12u);
    EXPECT_EQ(m->LastTick(), 5000u);
    stats.objects["KERNEL"]["CPUUsage"].value = 0xFFFFFFFFu;  // a 32-bit figure reads signed
    EXPECT_EQ(m->GetValue(), -1);
}

TEST_F(SysMonTest, NoLiveDataGivesMinusOneAndRetriesStart)
{
    stats.live = false;
    TSysMon mon;
    TMonObject* m = Counter(mon, "VMM", "cPageFaults");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m->GetValue(), -1);
        EXPECT_FALSE(m->Started());
    }
    // The description area still answers: each retry re-reads the running-total flag.
    EXPECT_TRUE(m->Differentiate);
    EXPECT_EQ(m->LastValue(), 0u);
    // Once the live area appears the counter starts.
    stats.live = true;
    stats.tick = 2000;
    EXPECT_EQ(m->GetValue(), 500);  // 1000 over the 2 s since the system started
    EXPECT_TRUE(m->Started());
}

TEST_F(SysMonTest, RatePerSecond)
{
    TSysMon mon;
    TMonObject* m = Counter(mon, "VMM", "cPageFaults");
    stats.tick = 4000;
    EXPECT_EQ(m->GetValue(), 250);  // the first reading divides by the time since start
    EXPECT_TRUE(m->Differentiate);

    struct Step {
        DWORD raw;
        DWORD dt;
        int want;
    };
    const Step steps[] = {
        {1500, 1000, 500},        // 500 over a second
        {1501, 2000, 0},          // 0.5 rounds to the even 0
        {1504, 2000, 2},          // 1.5 rounds to the even 2
        {1504, 500, 0},           // no change
        {1503, 2000, 0},          // -0.5 rounds to 0
        {3001503, 1000, 3000000}, // large change: no 32-bit overflow in the scaling
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        stats.tick += s.dt;
        stats.objects["VMM"]["cPageFaults"].value = s.raw;
        EXPECT_EQ(m->GetValue(), s.want) << "step " << i;
    }
    // A running total that wraps past 2^32 still gives its true change.
    stats.objects["VMM"]["cPageFaults"].value = 0xFFFFFF00u;
    stats.tick += 1000;
    m->GetValue();
    stats.objects["VMM"]["cPageFaults"].value = 0x100u;
    stats.tick += 1000;
    EXPECT_EQ(m->GetValue(), 0x200);
}

TEST_F(SysMonTest, FirstReadingOfATotalPast2To31IsPositive)
{
    TSysMon mon;
    TMonObject* m = Counter(mon, "VMM", "cPageFaults");
    stats.objects["VMM"]["cPageFaults"].value = 0xC0000000u;  // 3221225472 since start
    stats.tick = 1000000;
    EXPECT_EQ(m->GetValue(), 3221225);
    stats.objects["VMM"]["cPageFaults"].value = 0xC0000000u + 500;
    stats.tick += 1000;
    EXPECT_EQ(m->GetValue(), 500);
}

TEST_F(SysMonTest, NoTimePassedGivesNoRateAndKeepsTheBase)
{
    TSysMon mon;
    TMonObject* m = Counter(mon, "VMM", "cPageFaults");
    stats.tick = 1000;
    m->GetValue();
    stats.objects["VMM"]["cPageFaults"].value = 1100;
    EXPECT_EQ(m->GetValue(), -1);
    EXPECT_EQ(m->LastValue(), 1000u);
    stats.tick = 2000;
    stats.objects["VMM"]["cPageFaults"].value = 1300;
    EXPECT_EQ(m->GetValue(), 300);
}

TEST_F(SysMonTest, UnreadableValueKeepsTheLastReading)
{
    TSysMon mon;
    TMonObject* m = Counter(mon, "VMM", "cpgFree");
    stats.tick = 100;
    EXPECT_EQ(m->GetValue(), 777);
    stats.objects["VMM"]["cpgFree"].value.reset();
    stats.tick = 200;
    EXPECT_EQ(m->GetValue(), -1);
    EXPECT_EQ(m->LastValue(), 777u);
    EXPECT_EQ(m->LastTick(), 100u);
}

TEST_F(SysMonTest, UnknownCounterGivesMinusOneAndNoName)
{
    TSysMon mon;
    TMonObject* m = Counter(mon, "KERNEL", "VMs");
    for (int i = 0; i < 2; ++i) {
        stats.log.clear();
        EXPECT_EQ(m->GetValue(), -1);
        EXPECT_FALSE(m->Started());
        EXPECT_EQ(stats.log, (std::vector<std::string>{"start KERNEL\\VMs", "read KERNEL\\VMs"}));
    }
    EXPECT_EQ(m->GetName(), "");
    m->Differentiate = true;
    EXPECT_FALSE(m->GetDiff());
    EXPECT_TRUE(m->Differentiate);  // a key that does not open leaves the flag
}

TEST_F(SysMonTest, ChangingANameStopsTheCounterFirst)
{
    TSysMon mon;
    TMonObject* m = Counter(mon, "KERNEL", "CPUUsage");
    m->GetValue();
    ASSERT_TRUE(m->Started());
    stats.log.clear();
    m->SetSysObject("VMM");
    EXPECT_EQ(stats.log, (std::vector<std::string>{"stop KERNEL\\CPUUsage"}));
    EXPECT_FALSE(m->Started());
    m->SetCounter("cpgFree");  // not started: nothing to stop
    EXPECT_EQ(stats.log.size(), 1u);
    EXPECT_EQ(m->GetValue(), 777);
    EXPECT_EQ(stats.log, (std::vector<std::string>{"stop KERNEL\\CPUUsage", "start VMM\\cpgFree", "read VMM\\cpgFree"}));
}

TEST_F(SysMonTest, DestroyingStopsStartedCounters)
{
    {
        TSysMon mon;
        Counter(mon, "KERNEL", "CPUUsage")->GetValue();
        Counter(mon, "VMM", "cpgFree");
        Counter(mon, "VMM", "cPageFaults")->MonStart();
        stats.log.clear();
    }
    EXPECT_EQ(stats.log, (std::vector<std::string>{"stop VMM\\cPageFaults", "stop KERNEL\\CPUUsage"}));
}

TEST_F(SysMonTest, StopClearsStartedEvenWithoutLiveData)
{
    TSysMon mon;
    TMonObject* m = Counter(mon, "KERNEL", "CPUUsage");
    m->MonStart();
    ASSERT_TRUE(m->Started());
    stats.live = false;
    stats.log.clear();
    m->MonStop();
    EXPECT_FALSE(m->Started());
    EXPECT_TRUE(stats.log.empty());
}

TEST_F(SysMonTest, DiffFlagNeedsExactTRUE)
{
    struct Case {
        std::optional<std::string> text;
        bool want;
    };
    const Case cases[] = {{"TRUE", true}, {"true", false}, {"TRUE ", false}, {"", false}, {std::nullopt, false},
                          {std::string("TRUE\0x", 6), true}, {std::string(300, 'T'), false}};
    TSysMon mon;
    TMonObject* m = Counter(mon, "VMM", "cPageFaults");
    for (const Case& c : cases) {
        stats.objects["VMM"]["cPageFaults"].differentiate = c.text;
        m->Differentiate = !c.want;
        EXPECT_EQ(m->GetDiff(), c.want) << (c.text ? *c.text : "(none)");
        EXPECT_EQ(m->Differentiate, c.want);
    }
}

TEST_F(SysMonTest, NameIsTheDescriptionText)
{
    struct Case {
        std::optional<std::string> text;
        std::string want;
    };
    const Case cases[] = {{"Page faults", "Page faults"}, {std::nullopt, ""}, {std::string("Cut\0rest", 8), "Cut"},
                          {std::string(255, 'a'), std::string(255, 'a')}, {std::string(256, 'a'), ""}};
    TSysMon mon;
    TMonObject* m = Counter(mon, "VMM", "cPageFaults");
    for (const Case& c : cases) {
        stats.objects["VMM"]["cPageFaults"].description = c.text;
        EXPECT_EQ(m->GetName(), c.want);
    }
}

TEST_F(SysMonTest, MachineFallsBackToLocalAndUsesARemoteThatAnswers)
{
    FakeStats remote;
    TSysMon mon;
    TMonObject* m = Counter(mon, "VMM", "cPageFaults");
    mon.Machine = "far";
    EXPECT_EQ(m->GetName(), "Page faults");
    EXPECT_EQ(stats.connectedTo, "\\\\far");

    remote.objects["VMM"]["cPageFaults"] = {"Remote faults", "FALSE", 42};
    stats.remote = &remote;
    EXPECT_EQ(m->GetName(), "Remote faults");
    EXPECT_EQ(m->GetValue(), 42);
    EXPECT_FALSE(m->Differentiate);
    // The lists always come from the local computer.
    stats.touches = remote.touches = 0;
    EXPECT_EQ(mon.SysObjects()->Count(), 2);
    EXPECT_EQ(remote.touches, 0);
}

TEST_F(SysMonTest, ListsObjectsAndCounters)
{
    TSysMon mon;
    base::TStringList* list = mon.SysObjects();
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Get(0), "KERNEL");
    EXPECT_EQ(list->Get(1), "VMM");
    EXPECT_EQ(mon.Counters("VMM"), list);  // one list, refilled
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Get(0), "cPageFaults");
    EXPECT_EQ(mon.Counters("")->Count(), 0);
    EXPECT_EQ(mon.Counters("NOPE")->Count(), 0);
}

TEST_F(SysMonTest, CollectionIndexing)
{
    TSysMon mon;
    TMonCollection* c = mon.Monitors();
    TMonObject* a = c->Add();
    TMonObject* b = c->Insert(0);
    EXPECT_EQ(c->GetItem(0), b);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_THROW(c->GetItem(2), base::EListError);
    EXPECT_THROW(c->GetItem(-1), base::EListError);
    EXPECT_THROW(c->Insert(3), base::EListError);
    EXPECT_THROW(c->SetItem(0, *a), base::EConvertError);  // the item has no Assign of its own
    c->Delete(0);
    EXPECT_EQ(c->Count(), 1);
    EXPECT_EQ(c->GetItem(0), a);

    auto* other = new TMonCollection(nullptr);
    other->Add();
    mon.SetMonitors(other);
    EXPECT_EQ(mon.Monitors(), other);
    EXPECT_EQ(other->GetOwner(), &mon);
}

// --- The figures of a /proc tree ---

struct ProcTree {
    testsupport::TempDir dir{"korvelo-proc"};
    std::filesystem::path root = dir.path();
    void Write(const std::string& name, const std::string& text) { std::ofstream(root / name) << text; }
};

DWORD Pages(std::uint64_t kb)
{
    return DWORD(kb * 1024 / std::uint64_t(sysconf(_SC_PAGESIZE)));
}

TEST(ProcStatistics, ReadsTheFiguresOfItsTree)
{
    ProcTree tree;
    tree.Write("stat", "cpu  100 0 100 800 0 0 0 0 0 0\ncpu0 100 0 100 800 0 0 0 0 0 0\n");
    tree.Write("meminfo", "MemTotal:  8000000 kB\nMemFree:   1024000 kB\nBuffers:     4096 kB\n"
                          "Cached:    400000 kB\nSwapCached:    8 kB\nSwapTotal: 2048000 kB\n"
                          "SwapFree:  2000000 kB\nMlocked:        64 kB\nCommitted_AS: 3000000 kB\n");
    tree.Write("vmstat", "nr_free_pages 1\npgfault 123456789012\npgmajfault 3\npswpin 17\npswpout 29\n");
    tree.Write("loadavg", "0.10 0.20 0.30 2/345 6789\n");
    auto s = platform::MakeProcPerfStatistics(tree.root.string());
    ASSERT_TRUE(s->LiveDataPresent());

    struct Case {
        const char* object;
        const char* counter;
        DWORD want;
    };
    const Case cases[] = {
        {"KERNEL", "Threads", 345},
        {"VMM", "cpgFree", Pages(1024000)},
        {"VMM", "cpgDiskcache", Pages(404096)},  // buffers and page cache, not SwapCached
        {"VMM", "cpgCommit", Pages(3000000)},
        {"VMM", "cpgLocked", Pages(64)},
        {"VMM", "cpgSwapfile", Pages(2048000)},
        {"VMM", "cpgSwapfileInUse", Pages(48000)},
        {"VMM", "cPageFaults", DWORD(123456789012ull & 0xFFFFFFFFu)},  // wraps as a 32-bit total
        {"VMM", "cPageIns", 17},
        {"VMM", "cPageOuts", 29},
    };
    for (const Case& c : cases) {
        DWORD v = 0;
        EXPECT_TRUE(s->Start(c.object, c.counter)) << c.counter;
        ASSERT_TRUE(s->Read(c.object, c.counter, v)) << c.counter;
        EXPECT_EQ(v, c.want) << c.counter;
    }

    // Processor usage: busy share of the time since the previous reading.
    DWORD v = 99;
    ASSERT_TRUE(s->Start("KERNEL", "CPUUsage"));
    ASSERT_TRUE(s->Read("KERNEL", "CPUUsage", v));
    EXPECT_EQ(v, 0u);  // no time has passed since the start
    tree.Write("stat", "cpu  160 0 100 820 20 0 0 0 0 0\n");  // 60 busy of 100
    ASSERT_TRUE(s->Read("KERNEL", "CPUUsage", v));
    EXPECT_EQ(v, 60u);
    ASSERT_TRUE(s->Read("KERNEL", "CPUUsage", v));
    EXPECT_EQ(v, 60u);  // no new time: the last share stands
    tree.Write("stat", "cpu  160 0 100 1020 20 0 0 0 0 0\n");  // idle all along
    ASSERT_TRUE(s->Read("KERNEL", "CPUUsage", v));
    EXPECT_EQ(v, 0u);
}

TEST(ProcStatistics, DescribesWhatItServes)
{
    auto s = platform::MakeProcPerfStatistics("/nonexistent-proc");
    EXPECT_EQ(s->Objects(), (std::vector<std::string>{"KERNEL", "VMM"}));
    EXPECT_TRUE(s->Counters("NOPE").empty());
    platform::PerfCounterKey key;
    ASSERT_TRUE(s->OpenCounter("VMM", "cPageFaults", key));
    EXPECT_EQ(key.Differentiate, "TRUE");
    EXPECT_EQ(key.Description, "Page faults");
    ASSERT_TRUE(s->OpenCounter("KERNEL", "CPUUsage", key));
    EXPECT_EQ(key.Differentiate, "FALSE");
    EXPECT_FALSE(s->OpenCounter("KERNEL", "VMs", key));
    EXPECT_FALSE(s->OpenCounter("kernel", "CPUUsage", key));
    // A tree without the files publishes no live figures.
    EXPECT_FALSE(s->LiveDataPresent());
    DWORD v = 0;
    EXPECT_FALSE(s->Start("VMM", "cpgFree"));
    EXPECT_FALSE(s->Read("VMM", "cpgFree", v));
}

TEST(ProcStatistics, MissingFieldsCannotBeRead)
{
    ProcTree tree;
    tree.Write("meminfo", "MemTotal: 100 kB\n");
    tree.Write("stat", "intr 1 2 3\n");
    auto s = platform::MakeProcPerfStatistics(tree.root.string());
    DWORD v = 0;
    EXPECT_TRUE(s->LiveDataPresent());
    EXPECT_FALSE(s->Read("VMM", "cpgFree", v));
    EXPECT_FALSE(s->Start("KERNEL", "CPUUsage"));
    EXPECT_FALSE(s->Read("KERNEL", "Threads", v));
}

// --- The monitor on this system's own figures ---

TEST(SysMonSystem, ServesRealValuesAndRates)
{
    platform::SetPerfStatisticsForTesting(nullptr);
    TSysMon mon;
    base::TStringList* objects = mon.SysObjects();
    EXPECT_GE(objects->IndexOf("KERNEL"), 0);
    EXPECT_GE(objects->IndexOf("VMM"), 0);

    TMonObject* cpu = mon.Monitors()->Add();
    cpu->SetSysObject("KERNEL");
    cpu->SetCounter("CPUUsage");
    TMonObject* free = mon.Monitors()->Add();
    free->SetSysObject("VMM");
    free->SetCounter("cpgFree");
    TMonObject* threads = mon.Monitors()->Add();
    threads->SetSysObject("KERNEL");
    threads->SetCounter("Threads");
    TMonObject* faults = mon.Monitors()->Add();
    faults->SetSysObject("VMM");
    faults->SetCounter("cPageFaults");

    EXPECT_EQ(cpu->GetName(), "Processor Usage (%)");
    const int usage = cpu->GetValue();
    EXPECT_GE(usage, 0);
    EXPECT_LE(usage, 100);

    std::ifstream meminfo("/proc/meminfo");
    std::string label;
    std::uint64_t totalKb = 0;
    meminfo >> label >> totalKb;
    ASSERT_EQ(label, "MemTotal:");
    const int freePages = free->GetValue();
    EXPECT_GT(freePages, 0);
    EXPECT_LE(DWORD(freePages), Pages(totalKb));
    EXPECT_GE(threads->GetValue(), 1);

    EXPECT_GE(faults->GetValue(), 0);  // first reading: the average since the system started
    EXPECT_TRUE(faults->Differentiate);
    // Touch fresh memory so that page faults happen, and let the clock move on.
    const DWORD t0 = platform::GetTickCount();
    // Fresh anonymous mappings fault on every first touch; the heap could
    // hand back pages that are already there.
    constexpr std::size_t kBlock = std::size_t(1) << 20;
    while (platform::GetTickCount() - t0 < 20) {
        void* p = mmap(nullptr, kBlock, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(p, MAP_FAILED);
        for (std::size_t i = 0; i < kBlock; i += 4096) static_cast<volatile char*>(p)[i] = char(i);
        munmap(p, kBlock);
    }
    EXPECT_GT(faults->GetValue(), 0);

    TMonObject* unknown = mon.Monitors()->Add();
    unknown->SetSysObject("KERNEL");
    unknown->SetCounter("VMs");
    EXPECT_EQ(unknown->GetValue(), -1);
    EXPECT_EQ(unknown->GetName(), "");
}

}  // namespace

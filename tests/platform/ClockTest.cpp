// Timers on the test clock: they fire only as a test moves the clock on, in order of their
// due time, and go back to real time when the clock is turned off.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/TestRig.h"
#include "platform/system/Clock.h"
#include "platform/system/Thread.h"

using namespace platform;

namespace {

class TTimerLog : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<UINT> ids;
    void DefaultHandler(TMessage& m) override
    {
        if (m.Msg == WM_TIMER) ids.push_back(UINT(m.WParam));
        TCustomControl::DefaultHandler(m);
    }
};

}  // namespace

TEST(Clock, ATimerFiresOnlyAsTheClockMovesOn)
{
    TestClock clock;
    TTimer t(nullptr);
    int ticks = 0;
    t.SetInterval(100);
    t.OnTimer = [&](TObject*) { ++ticks; };
    Application->ProcessMessages();
    AdvanceClock(99);
    EXPECT_EQ(ticks, 0);
    AdvanceClock(1);
    EXPECT_EQ(ticks, 1);
    AdvanceClock(350);  // due at 200, 300 and 400
    EXPECT_EQ(ticks, 4);
    t.SetEnabled(false);
    AdvanceClock(1000);
    EXPECT_EQ(ticks, 4);
    // Started again, it counts from now.
    AdvanceClock(30);
    t.SetEnabled(true);
    AdvanceClock(99);
    EXPECT_EQ(ticks, 4);
    AdvanceClock(1);
    EXPECT_EQ(ticks, 5);
}

// Due at the same time, the timer started (or last fired) first fires first.
TEST(Clock, TimersFireInOrderOfDueTimeThenOfStarting)
{
    TestClock clock;
    std::vector<std::string> log;
    struct Case {
        const char* name;
        UINT ms;
    } cases[] = {{"a30", 30}, {"b20", 20}, {"c30", 30}, {"d50", 50}};
    std::vector<std::unique_ptr<TTimer>> timers;
    for (const Case& c : cases) {
        auto t = std::make_unique<TTimer>(nullptr);
        t->SetInterval(c.ms);
        t->OnTimer = [&log, name = std::string(c.name)](TObject*) { log.push_back(name); };
        timers.push_back(std::move(t));
    }
    AdvanceClock(60);
    EXPECT_EQ(log, (std::vector<std::string>{"b20", "a30", "c30", "b20", "d50", "a30", "c30", "b20"}));
}

TEST(Clock, AHandlerMayFreeItsOwnTimerAndOthers)
{
    TestClock clock;
    auto* a = new TTimer(nullptr);
    auto* b = new TTimer(nullptr);
    int aTicks = 0, bTicks = 0;
    a->SetInterval(10);
    b->SetInterval(10);
    a->OnTimer = [&](TObject*) {
        ++aTicks;
        delete b;
        b = nullptr;
        delete a;
        a = nullptr;
    };
    b->OnTimer = [&](TObject*) { ++bTicks; };
    AdvanceClock(100);
    EXPECT_EQ(aTicks, 1);
    EXPECT_EQ(bTicks, 0);
    EXPECT_EQ(a, nullptr);
}

TEST(Clock, WindowTimersSendTheirMessageUntilKilled)
{
    TestClock clock;
    auto* c = new TTimerLog(nullptr);
    ASSERT_TRUE(c->SetTimer(7, 40));
    ASSERT_TRUE(c->SetTimer(8, 100));
    AdvanceClock(120);
    EXPECT_EQ(c->ids, (std::vector<UINT>{7, 7, 8, 7}));
    EXPECT_TRUE(c->KillTimer(7));
    AdvanceClock(200);
    EXPECT_EQ(c->ids, (std::vector<UINT>{7, 7, 8, 7, 8, 8}));
    delete c;  // its timers go with it
    AdvanceClock(500);
}

TEST(Clock, ProcessUntilMovesTheClockAndAfterTimerOfPassesTheDelay)
{
    TestClock clock;
    TTimer t(nullptr);
    int ticks = 0;
    t.SetInterval(25);
    t.OnTimer = [&](TObject*) { ++ticks; };
    AdvanceClock(20);
    EXPECT_EQ(ticks, 0);
    EXPECT_TRUE(ProcessUntil([&] { return ticks == 1; }, 5));
    EXPECT_TRUE(AfterTimerOf(50));
    EXPECT_EQ(ticks, 3);
}

TEST(Clock, ARunningTimerGoesOnByRealTimeWhenTheClockIsTurnedOff)
{
    TTimer t(nullptr);
    int ticks = 0;
    t.SetInterval(5);
    t.OnTimer = [&](TObject*) { ++ticks; };
    {
        TestClock clock;
        AdvanceClock(5);
        EXPECT_EQ(ticks, 1);
    }
    EXPECT_TRUE(ProcessUntil([&] { return ticks >= 3; }));
    t.SetEnabled(false);
}

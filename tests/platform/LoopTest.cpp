#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/SystemInfo.h"
#include "platform/forms/Forms.h"
#include "platform/TestRig.h"
#include "platform/system/Thread.h"

using namespace platform;

namespace {

class TCounter : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<int> got;
    void DefaultHandler(TMessage& m) override
    {
        if (m.Msg >= WM_USER) got.push_back(int(m.WParam));
        TCustomControl::DefaultHandler(m);
    }
};

struct Log {
    std::mutex m;
    std::vector<std::string> lines;
    void Add(const std::string& s)
    {
        std::lock_guard l(m);
        lines.push_back(s);
    }
    std::vector<std::string> Get()
    {
        std::lock_guard l(m);
        return lines;
    }
};

class TLambdaThread : public TThread {
public:
    explicit TLambdaThread(std::function<void(TLambdaThread&)> body) : TThread(true), body_(std::move(body)) {}
    using TThread::Synchronize;
    bool Stopping() const { return Terminated(); }

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(TLambdaThread&)> body_;
};

}  // namespace

TEST(Loop, IdleRunsOncePerEmptiedQueue)
{
    auto* c = new TCounter(nullptr);
    HWND h = c->Handle();
    std::vector<std::vector<int>> atIdle;
    Application->OnIdle = [&](TObject*, bool& done) {
        atIdle.push_back(c->got);
        if (atIdle.size() == 1) {
            PostMessage(h, WM_USER, 4, 0);
            PostMessage(h, WM_USER, 5, 0);
        } else {
            PostMessage(h, WM_USER + 1, 99, 0);  // wakes the wait that follows
        }
        done = true;
    };
    for (int i = 1; i <= 3; ++i) PostMessage(h, WM_USER, WPARAM(i), 0);
    const int before = Application->IdleCount();
    while (atIdle.size() < 2) Application->HandleMessage();
    Application->OnIdle = nullptr;
    EXPECT_EQ(Application->IdleCount() - before, 2);
    EXPECT_EQ(atIdle[0], (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(atIdle[1], (std::vector<int>{1, 2, 3, 4, 5}));
    Application->ProcessMessages();
    delete c;
}

TEST(Loop, ProcessMessagesRunsPendingMessagesWithoutIdle)
{
    auto* c = new TCounter(nullptr);
    int idles = 0;
    Application->OnIdle = [&](TObject*, bool&) { ++idles; };
    PostMessage(c->Handle(), WM_USER, 1, 0);
    PostMessage(c->Handle(), WM_USER, 2, 0);
    EXPECT_TRUE(c->got.empty());
    Application->ProcessMessages();
    EXPECT_EQ(c->got, (std::vector<int>{1, 2}));
    EXPECT_EQ(idles, 0);
    Application->OnIdle = nullptr;
    delete c;
}

TEST(Thread, SynchronizeRunsOnTheGuiThreadAndBlocksTheWorker)
{
    const auto gui = std::this_thread::get_id();
    Log log;
    std::atomic<bool> callDone{false};
    TLambdaThread t([&](TLambdaThread& self) {
        log.Add("worker start");
        self.Synchronize([&] {
            EXPECT_EQ(std::this_thread::get_id(), gui);
            callDone = true;
            log.Add("synchronized");
        });
        log.Add(callDone ? "worker after call" : "worker ran on too early");
        self.ReturnValue = 42;
    });
    EXPECT_TRUE(t.Suspended());
    bool terminated = false;
    t.OnTerminate = [&](TObject* s) {
        EXPECT_EQ(std::this_thread::get_id(), gui);
        EXPECT_EQ(s, &t);
        terminated = true;
    };
    t.Start();
    EXPECT_TRUE(ProcessUntil([&] { return t.Finished(); }));
    EXPECT_EQ(t.WaitFor(), 42);
    EXPECT_TRUE(terminated);
    EXPECT_EQ(log.Get(), (std::vector<std::string>{"worker start", "synchronized", "worker after call"}));
}

TEST(Thread, SynchronizedCallThatProcessesMessagesServesOtherWorkers)
{
    Log log;
    std::unique_ptr<TLambdaThread> second;
    TLambdaThread first([&](TLambdaThread& self) {
        self.Synchronize([&] {
            log.Add("first call start");
            // The calculation loop: start another worker, then let messages run until
            // its synchronized call has been served from in here.
            second = std::make_unique<TLambdaThread>([&](TLambdaThread& s2) {
                s2.Synchronize([&] { log.Add("second call"); });
            });
            second->Start();
            for (int i = 0; i < 5000 && log.Get().size() < 2; ++i) {
                Application->ProcessMessages();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            log.Add("first call end");
        });
        log.Add("first worker after call");
    });
    first.Start();
    first.WaitFor();
    second->WaitFor();
    EXPECT_EQ(log.Get(), (std::vector<std::string>{"first call start", "second call", "first call end",
                                                   "first worker after call"}));
}

TEST(Thread, WaitForOnTheGuiThreadServesPendingCalls)
{
    std::atomic<int> frames{0};
    TLambdaThread t([&](TLambdaThread& self) {
        while (!self.Stopping()) self.Synchronize([&] { ++frames; });
    });
    t.Start();
    while (frames < 3) Application->ProcessMessages();
    t.Terminate();
    t.WaitFor();  // would deadlock if the pending frame could not run
    EXPECT_GE(frames.load(), 3);
}

TEST(Thread, ExceptionInASynchronizedCallReachesTheWorker)
{
    std::string caught;
    TLambdaThread t([&](TLambdaThread& self) {
        try {
            self.Synchronize([] { throw base::EConvertError("bad number"); });
        } catch (const base::EConvertError& e) {
            caught = e.what();
        }
        throw base::EAbort("stopped");
    });
    t.Start();
    t.WaitFor();
    EXPECT_EQ(caught, "bad number");
    ASSERT_TRUE(t.FatalException);
    EXPECT_THROW(std::rethrow_exception(t.FatalException), base::EAbort);
}

namespace {
std::atomic<int> gFreed{0};
class TSelfFreeing : public TThread {
public:
    TSelfFreeing() : TThread(false) { FreeOnTerminate = true; }
    ~TSelfFreeing() override { ++gFreed; }

protected:
    void Execute() override { Synchronize([] {}); }
};
}  // namespace

TEST(Thread, NotSuspendedStartsAfterConstructionAndFreesItself)
{
    gFreed = 0;
    Construct<TSelfFreeing>();
    EXPECT_TRUE(ProcessUntil([] { return gFreed.load() == 1; }));
}

namespace {
std::atomic<bool> gDerivedGone{false}, gSawDerivedGone{false};
class TBusy : public TThread {
public:
    TBusy() : TThread(true) {}
    ~TBusy() override { gDerivedGone = true; }
    std::atomic<int> rounds{0};

protected:
    void Execute() override
    {
        while (!Terminated()) {
            ++rounds;
            Synchronize([] {});
        }
        gSawDerivedGone = gDerivedGone.load();
    }
};
}  // namespace

TEST(Thread, FreeStopsARunningThreadBeforeItsDerivedPartIsDestroyed)
{
    gDerivedGone = false;
    gSawDerivedGone = false;
    auto* t = new TBusy;
    t->Start();
    EXPECT_TRUE(ProcessUntil([&] { return t->rounds > 2; }));
    t->Free();  // serves the pending synchronized call while it waits
    EXPECT_TRUE(gDerivedGone);
    EXPECT_FALSE(gSawDerivedGone);
}

TEST(Thread, StartTwiceIsRefused)
{
    TLambdaThread t([](TLambdaThread&) {});
    t.Start();
    EXPECT_THROW(t.Start(), base::EInvalidOperation);
    t.WaitFor();
}

TEST(Timer, FiresWhileEnabled)
{
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject* s) {
        EXPECT_EQ(s, &timer);
        if (++ticks == 3) timer.SetEnabled(false);
    };
    EXPECT_TRUE(ProcessUntil([&] { return ticks >= 3; }));
    // A longer timer started now fires after any further tick of the disabled one would have.
    TTimer later(nullptr);
    bool fired = false;
    later.SetInterval(20);
    later.OnTimer = [&](TObject*) {
        fired = true;
        later.SetEnabled(false);
    };
    EXPECT_TRUE(ProcessUntil([&] { return fired; }));
    EXPECT_EQ(ticks, 3);
}

TEST(Screen, SizeReachesTheLogThroughTheHook)
{
    int w = -1, h = -1;
    base::GetScreenSize(w, h);
    EXPECT_EQ(w, Screen->Width());
    EXPECT_EQ(h, Screen->Height());
}

TEST(Loop, WorkerCanPostMessages)
{
    auto* c = new TCounter(nullptr);
    HWND h = c->Handle();
    TLambdaThread t([h](TLambdaThread&) {
        for (int i = 1; i <= 3; ++i) PostMessage(h, WM_USER, WPARAM(i), 0);
    });
    t.Start();
    t.WaitFor();
    EXPECT_TRUE(ProcessUntil([&] { return c->got.size() == 3; }));
    EXPECT_EQ(c->got, (std::vector<int>{1, 2, 3}));
    delete c;
    EXPECT_FALSE(PostMessage(h, WM_USER, 4, 0));  // the window is gone
}

TEST(Loop, AMessagePostedToAFreedWindowReachesNoLaterWindow)
{
    // A new window often takes the address of one just freed.
    std::vector<TCounter*> later;
    for (int i = 0; i < 8; ++i) {
        auto* c = new TCounter(nullptr);
        PostMessage(c->Handle(), WM_USER, WPARAM(i), 0);
        delete c;
        later.push_back(new TCounter(nullptr));
        later.back()->HandleNeeded();
    }
    Application->ProcessMessages();
    for (TCounter* c : later) {
        EXPECT_TRUE(c->got.empty());
        delete c;
    }
}

TEST(Thread, AModalLoopServesSynchronizedCalls)
{
    TForm* f = Construct<TForm>(Application);
    TLambdaThread t([f](TLambdaThread& self) { self.Synchronize([f] { f->SetModalResult(mrYes); }); });
    t.Start();
    EXPECT_EQ(f->ShowModal(), mrYes);
    t.WaitFor();
    f->Free();
}

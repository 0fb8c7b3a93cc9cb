// The application's loop from start to end (Run, Terminate, closing the main form, the
// exception event) and freeing worker threads that still run.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "base/Exception.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "platform/TestRig.h"
#include "platform/system/Thread.h"

using namespace platform;

namespace {

// An application stays terminated once Terminate was called, so each test runs the loop
// of an application of its own.
struct RunFixture : ::testing::Test {
    TForm* main = nullptr;
    std::vector<TMessageBoxRequest> boxes;
    TMessageBoxHook oldHook;

    void SetUp() override
    {
        Fresh();
        oldHook = SetMessageBoxHook([this](const TMessageBoxRequest& r) {
            boxes.push_back(r);
            return mrOk;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHook(oldHook);
        DonePlatform();
        EnsurePlatform();
    }
    void Fresh()
    {
        DonePlatform();
        EnsurePlatform();
        main = nullptr;
        Application->CreateForm(main);
        main->SetBounds(10, 10, 200, 120);
    }
    // Runs the loop; false when it still ran after `seconds` (it is stopped then, and woken
    // by a message in case Terminate does not wake it).
    bool RunEnds(int seconds = 5)
    {
        HWND wake = main->Handle();
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
        std::atomic<bool> late{false};
        std::thread dog([&] {
            std::unique_lock lock(m);
            if (!cv.wait_for(lock, std::chrono::seconds(seconds), [&] { return done; })) {
                late = true;
                Application->Terminate();
                PostMessage(wake, WM_NULL, 0, 0);
            }
        });
        Application->Run();
        {
            std::lock_guard lock(m);
            done = true;
        }
        cv.notify_all();
        dog.join();
        return !late;
    }
};

// A timer that calls fn on each tick while fn returns true.
struct Ticker {
    TTimer timer{nullptr};
    explicit Ticker(std::function<bool()> fn, UINT ms = 5)
    {
        timer.SetInterval(ms);
        timer.OnTimer = [this, fn = std::move(fn)](TObject*) {
            timer.SetEnabled(false);
            if (fn()) timer.SetEnabled(true);
        };
    }
};

}  // namespace

TEST_F(RunFixture, RunShowsTheMainFormWhenAskedAndEndsOnTerminate)
{
    for (bool show : {true, false}) {
        Fresh();
        Application->ShowMainForm = show;
        bool shownDuringRun = !show;
        Ticker t([&] {
            shownDuringRun = main->Visible();
            Application->Terminate();
            return false;
        });
        EXPECT_TRUE(RunEnds()) << show;
        EXPECT_EQ(shownDuringRun, show);
        EXPECT_TRUE(Application->Terminated());
    }
}

TEST_F(RunFixture, TerminateInTheIdleEventEndsTheLoopWithoutWaiting)
{
    int idles = 0;
    Application->OnIdle = [&](TObject*, bool& done) {
        if (++idles == 3) Application->Terminate();
        done = false;  // asks for more idle calls until then
    };
    EXPECT_TRUE(RunEnds(2));
    EXPECT_EQ(idles, 3);
}

TEST_F(RunFixture, TerminateFromAWorkerWakesTheWaitingLoop)
{
    // The worker terminates once the loop has started to wait.
    auto waiting = std::make_shared<std::promise<void>>();
    std::future<void> waits = waiting->get_future();
    WhenLoopWaits([waiting] { waiting->set_value(); });
    std::thread worker([&] {
        waits.wait_for(std::chrono::seconds(10));
        Application->Terminate();
    });
    const bool ended = RunEnds(3);
    worker.join();
    EXPECT_TRUE(ended);
}

TEST_F(RunFixture, ClosingTheMainFormEndsRun)
{
    const std::vector<std::pair<const char*, std::function<void(TForm*)>>> ways = {
        {"Close", [](TForm* f) { f->Close(); }},
        {"posted WM_CLOSE", [](TForm* f) { PostMessage(f->Handle(), WM_CLOSE, 0, 0); }},
        {"window manager", [](TForm* f) { HostClose(f); }},
    };
    for (const auto& [name, close] : ways) {
        Fresh();
        int closes = 0;
        main->OnClose = [&](TObject*, TCloseAction& a) {
            ++closes;
            EXPECT_EQ(a, caHide);
        };
        Ticker t([&, close = close] {
            close(main);
            return false;
        });
        EXPECT_TRUE(RunEnds()) << name;
        EXPECT_EQ(closes, 1) << name;
        EXPECT_FALSE(main->Visible()) << name;
    }
}

TEST_F(RunFixture, AMainFormThatRefusesToCloseKeepsTheLoopRunning)
{
    enum Refusal { byCloseQuery, byCloseAction };
    for (Refusal how : {byCloseQuery, byCloseAction}) {
        Fresh();
        int asks = 0, closes = 0;
        if (how == byCloseQuery)
            main->OnCloseQuery = [&](TObject*, bool& can) { can = ++asks >= 3; };
        else
            main->OnClose = [&](TObject*, TCloseAction& a) { a = ++closes >= 3 ? caHide : caNone; };
        int ticks = 0;
        Ticker t([&] {
            ++ticks;
            EXPECT_TRUE(main->Visible());
            main->Close();
            return true;
        });
        EXPECT_TRUE(RunEnds()) << how;
        EXPECT_EQ(ticks, 3) << how;
        EXPECT_FALSE(main->Visible()) << how;
    }
}

TEST_F(RunFixture, TerminateEndsAnOpenModalFormAndThenRun)
{
    TForm* dialog = Construct<TForm>(Application);
    TModalResult result = -1;
    Ticker inner([&] {
        if (!dialog->Modal()) return true;
        Application->Terminate();
        return false;
    });
    inner.timer.SetEnabled(false);
    Ticker outer([&] {
        inner.timer.SetEnabled(true);
        result = dialog->ShowModal();
        return false;
    });
    EXPECT_TRUE(RunEnds());
    EXPECT_EQ(result, mrCancel);
    EXPECT_FALSE(dialog->Visible());
}

TEST_F(RunFixture, ExceptionsDuringRunReachTheExceptionEventAndTheLoopGoesOn)
{
    std::vector<std::string> seen;
    Application->OnException = [&](TObject*, const std::exception& e) {
        seen.push_back(e.what());
        if (seen.size() == 3) Application->Terminate();
    };
    main->OnKeyDown = [](TObject*, Word&, TShiftState) { throw base::EConvertError("from a key"); };
    bool idleThrew = false;
    Application->OnIdle = [&](TObject*, bool&) {
        if (idleThrew) return;
        idleThrew = true;
        throw std::runtime_error("from idle");
    };
    Ticker t([&] {
        PostMessage(main->Handle(), WM_KEYDOWN, 'X', 0);
        throw base::Exception("from a timer");
        return false;
    });
    EXPECT_TRUE(RunEnds());
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"from a key", "from a timer", "from idle"}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RunFixture, AnExceptionInTheExceptionEventIsShownAndTheLoopGoesOn)
{
    int calls = 0;
    Application->OnException = [&](TObject*, const std::exception&) {
        ++calls;
        throw std::runtime_error("the handler failed");
    };
    Ticker t([&] {
        throw base::Exception("first");
        return false;
    });
    Ticker stop([&] {
        if (boxes.empty()) return true;
        Application->Terminate();
        return false;
    });
    EXPECT_TRUE(RunEnds());
    EXPECT_EQ(calls, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "the handler failed.");
}

// ---------------------------------------------------------------- freeing threads

namespace {

std::atomic<int> gDestroyed{0};

class TSpinner : public TThread {
public:
    explicit TSpinner(bool freeOnTerminate) : TThread(true) { FreeOnTerminate = freeOnTerminate; }
    ~TSpinner() override { ++gDestroyed; }
    std::atomic<int> rounds{0};
    std::atomic<bool> ran{false};

protected:
    void Execute() override
    {
        ran = true;
        while (!Terminated()) {
            ++rounds;
            Synchronize([] {});
        }
    }
};

}  // namespace

TEST(ThreadFree, ARunningThreadThatFreesItselfIsFreedOnceWhenFreedFirst)
{
    for (int round = 0; round < 20; ++round) {
        gDestroyed = 0;
        auto* t = new TSpinner(true);
        int terminated = 0;
        t->OnTerminate = [&](TObject*) { ++terminated; };
        t->Start();
        ASSERT_TRUE(ProcessUntil([&] { return t->rounds > 1; }));
        t->Free();
        Application->ProcessMessages();
        EXPECT_EQ(gDestroyed, 1) << round;
        EXPECT_EQ(terminated, 1) << round;
    }
}

TEST(ThreadFree, ASuspendedThreadIsFreedWithoutRunning)
{
    for (bool freeOnTerminate : {false, true}) {
        gDestroyed = 0;
        auto* t = new TSpinner(freeOnTerminate);
        t->Free();
        EXPECT_EQ(gDestroyed, 1);
    }
}

TEST(ThreadFree, FreeingARunningThreadRunsItsTerminateEventFirst)
{
    gDestroyed = 0;
    auto* t = new TSpinner(false);
    std::vector<int> order;
    t->OnTerminate = [&](TObject*) { order.push_back(gDestroyed); };
    t->Start();
    ASSERT_TRUE(ProcessUntil([&] { return t->rounds > 1; }));
    t->Free();
    EXPECT_EQ(order, std::vector<int>{0});  // before the destructor
    EXPECT_EQ(gDestroyed, 1);
}

TEST(ThreadFree, AThreadThatCannotBeMadeStaysSuspendedAndCanBeFreedOrStartedLater)
{
    for (bool freeOnTerminate : {false, true}) {
        gDestroyed = 0;
        auto* t = new TSpinner(freeOnTerminate);
        SetThreadStartFails(true);
        EXPECT_THROW(t->Start(), EThread);
        SetThreadStartFails(false);
        EXPECT_TRUE(t->Suspended());
        EXPECT_FALSE(t->ran);
        if (freeOnTerminate) {
            t->Free();  // nothing runs, nothing waits
            EXPECT_EQ(gDestroyed, 1);
            continue;
        }
        t->Start();  // room again: it runs
        ASSERT_TRUE(ProcessUntil([&] { return t->rounds > 1; }));
        t->Free();
        EXPECT_EQ(gDestroyed, 1);
    }
}

#pragma once
// Worker threads with a synchronous call into the GUI thread, and timers.
#include <atomic>
#include <exception>
#include <functional>
#include <memory>

#include "base/Exception.h"
#include "platform/Classes.h"
#include "platform/Types.h"

namespace platform {

using TThreadMethod = std::function<void()>;

// Raised by Start when the system cannot make the thread; the thread stays suspended.
class EThread : public base::Exception {
public:
    using base::Exception::Exception;
};
// Tests: while set, Start fails as it does when the system has no room for a thread.
void SetThreadStartFails(bool fails);

// A worker thread. It is created suspended: Start (or Resume) runs Execute. A thread
// created with CreateSuspended false starts in AfterConstruction (Construct<T>).
class TThread : public TObject {
public:
    explicit TThread(bool CreateSuspended = true);
    // Asks the thread to end and waits for it. Free() does so before any destructor runs,
    // so a running Execute never sees the members of a derived class destroyed; a plain
    // delete of a running thread waits only once those are gone.
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    void Start();
    void Resume() { Start(); }
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Finished() const { return finished_; }
    bool Suspended() const { return !started_; }
    // Waits for Execute to end; on the GUI thread, synchronized calls keep running meanwhile.
    int WaitFor();
    int ReturnValue = 0;
    // The thread deletes itself once OnTerminate has run, unless it was freed before.
    bool FreeOnTerminate = false;
    // Runs on the GUI thread after Execute.
    TNotifyEvent OnTerminate;
    // What Execute threw, if anything.
    std::exception_ptr FatalException;

    // Runs method on the GUI thread and blocks until it returns; an exception it throws
    // is raised again here. Called on the GUI thread, the method simply runs.
    void Synchronize(TThreadMethod method);
    static void Synchronize(TThread* thread, TThreadMethod method);
    static bool IsGuiThread();

protected:
    virtual void Execute() = 0;
    virtual void DoTerminate();

private:
    void Run();
    // Whoever frees a running thread owns it from then on: it no longer frees itself.
    void TakeOver();
    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool createSuspended_;
    std::atomic<bool> terminated_{false}, finished_{false}, started_{false};
    bool freeing_ = false;  // guarded by the synchronisation lock
};

// Runs the synchronized calls that are waiting; true when one ran. The message loop and
// ProcessMessages call it; a GUI thread that blocks otherwise may call it too.
bool CheckSynchronize();
// Marks the calling thread as the GUI thread (the platform does it when it starts).
void SetGuiThread();

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT ms);
    TNotifyEvent OnTimer;  // raised while enabled with an interval above 0
    void SetOnTimer(TNotifyEvent e);

private:
    void Update();
    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool enabled_ = true;
    UINT interval_ = 1000;
};

}  // namespace platform

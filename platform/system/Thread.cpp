#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/Exception.h"
#include "platform/Private.h"
#include "platform/system/Clock.h"
#include "platform/system/Thread.h"

namespace platform {

namespace {

struct SyncRequest {
    TThreadMethod method;
    bool done = false;
    std::exception_ptr error;
};

std::mutex gMutex;
std::condition_variable gCv;  // a request arrived, a request finished, or a thread ended
std::deque<SyncRequest*> gQueue;
std::thread::id gGuiThread;
bool gGuiThreadSet = false;
std::atomic<bool> gStartFails{false};
std::atomic<int> gRunning{0};

QEvent::Type WakeKind()
{
    static int t = QEvent::registerEventType();
    return QEvent::Type(t);
}

class SyncPump : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() != WakeKind()) return QObject::event(e);
        CheckSynchronize();
        return true;
    }
};

SyncPump* gPump = nullptr;

}  // namespace

void SetGuiThread()
{
    std::lock_guard lock(gMutex);
    gGuiThread = std::this_thread::get_id();
    gGuiThreadSet = true;
    if (!gPump && QCoreApplication::instance()) gPump = new SyncPump;
}

bool TThread::IsGuiThread()
{
    std::lock_guard lock(gMutex);
    return !gGuiThreadSet || gGuiThread == std::this_thread::get_id();
}

bool CheckSynchronize()
{
    if (!TThread::IsGuiThread()) return false;
    bool ran = false;
    while (true) {
        SyncRequest* req;
        {
            std::lock_guard lock(gMutex);
            if (gQueue.empty()) break;
            req = gQueue.front();
            gQueue.pop_front();
        }
        // A call may itself let messages run, and with them later requests.
        try {
            req->method();
        } catch (...) {
            req->error = std::current_exception();
        }
        {
            std::lock_guard lock(gMutex);
            req->done = true;
        }
        gCv.notify_all();
        ran = true;
    }
    return ran;
}

struct TThread::Impl {
    std::thread thread;
    std::mutex startMutex;
};

TThread::TThread(bool CreateSuspended) : impl_(std::make_unique<Impl>()), createSuspended_(CreateSuspended) {}

void TThread::TakeOver()
{
    std::lock_guard lock(gMutex);
    freeing_ = true;
}

TThread::~TThread()
{
    TakeOver();
    if (started_ && !finished_) {
        Terminate();
        WaitFor();
    }
    std::lock_guard lock(impl_->startMutex);
    if (impl_->thread.joinable()) {
        if (impl_->thread.get_id() == std::this_thread::get_id()) impl_->thread.detach();
        else impl_->thread.join();
    }
}

void TThread::BeforeDestruction()
{
    bool self;
    {
        std::lock_guard lock(impl_->startMutex);
        self = impl_->thread.get_id() == std::this_thread::get_id();
    }
    if (!self) TakeOver();
    if (started_ && !finished_ && !self) {
        Terminate();
        WaitFor();
    }
    TObject::BeforeDestruction();
}

void TThread::AfterConstruction()
{
    if (!createSuspended_) Start();
}

void SetThreadStartFails(bool fails) { gStartFails = fails; }

void TThread::Start()
{
    std::lock_guard lock(impl_->startMutex);
    if (started_) throw base::EInvalidOperation("Cannot call Start on a running or terminated thread");
    started_ = true;
    bool counted = false;
    try {
        if (gStartFails) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        ++gRunning;
        counted = true;
        impl_->thread = std::thread([this] { Run(); });
    } catch (const std::system_error& e) {
        if (counted) --gRunning;
        started_ = false;
        throw EThread(std::string("Thread creation error: ") + e.what());
    }
}

void TThread::Run()
{
    try {
        Execute();
    } catch (...) {
        FatalException = std::current_exception();
    }
    try {
        DoTerminate();
    } catch (...) {
    }
    bool freeIt;
    {
        std::lock_guard lock(gMutex);
        freeIt = FreeOnTerminate && !freeing_;
        finished_ = true;
    }
    gCv.notify_all();
    if (freeIt) {
        {
            std::lock_guard lock(impl_->startMutex);
            impl_->thread.detach();
        }
        delete this;
    }
    --gRunning;
}

int RunningThreadCount() { return gRunning; }

void TThread::DoTerminate()
{
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

int TThread::WaitFor()
{
    if (!started_) throw base::EInvalidOperation("Cannot wait for a thread that was not started");
    {
        std::lock_guard lock(impl_->startMutex);
        if (impl_->thread.get_id() == std::this_thread::get_id())
            throw base::EInvalidOperation("A thread cannot wait for itself");
    }
    const bool gui = IsGuiThread();
    std::unique_lock lock(gMutex);
    while (!finished_) {
        if (gui && !gQueue.empty()) {
            lock.unlock();
            CheckSynchronize();
            lock.lock();
            continue;
        }
        gCv.wait(lock);
    }
    lock.unlock();
    std::lock_guard start(impl_->startMutex);
    if (impl_->thread.joinable()) impl_->thread.join();
    return ReturnValue;
}

void TThread::Synchronize(TThreadMethod method) { Synchronize(this, std::move(method)); }

void TThread::Synchronize(TThread*, TThreadMethod method)
{
    if (IsGuiThread()) {
        method();
        return;
    }
    SyncRequest req;
    req.method = std::move(method);
    {
        std::lock_guard lock(gMutex);
        gQueue.push_back(&req);
    }
    gCv.notify_all();
    if (gPump) QCoreApplication::postEvent(gPump, new QEvent(WakeKind()));
    std::unique_lock lock(gMutex);
    gCv.wait(lock, [&] { return req.done; });
    lock.unlock();
    if (req.error) std::rethrow_exception(req.error);
}

// ---------------------------------------------------------------- TTimer

struct TTimer::Impl {
    TClockTimer timer;
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), impl_(std::make_unique<Impl>())
{
    impl_->timer.OnTimeout = [this] {
        if (OnTimer) Guarded([&] { OnTimer(this); });
    };
    Update();
}

TTimer::~TTimer() = default;

void TTimer::Update()
{
    if (enabled_ && interval_ > 0) impl_->timer.Start(int(interval_));
    else impl_->timer.Stop();
}

void TTimer::SetEnabled(bool v)
{
    if (v == enabled_) return;
    enabled_ = v;
    Update();
}

void TTimer::SetInterval(UINT ms)
{
    if (ms == interval_) return;
    interval_ = ms;
    Update();
}

void TTimer::SetOnTimer(TNotifyEvent e)
{
    OnTimer = std::move(e);
    Update();
}

}  // namespace platform

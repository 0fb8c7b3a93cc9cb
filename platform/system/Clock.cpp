#include "platform/system/Clock.h"

#include <QTimer>

#include <set>

namespace platform {

struct TClockTimer::Impl {
    QTimer real;
    int interval = 0;
    bool armed = false;       // armed on the test clock
    std::uint64_t due = 0;    // test clock time it fires at
    std::uint64_t order = 0;  // arming order, for timers due at the same time
};

struct ClockState {
    static bool on;
    static std::uint64_t now;
    static std::uint64_t lastOrder;
    static std::set<TClockTimer*>& All()
    {
        static std::set<TClockTimer*> all;
        return all;
    }
    static void Arm(TClockTimer* t, int ms)
    {
        t->impl_->armed = true;
        t->impl_->interval = ms;
        t->impl_->due = now + std::uint64_t(ms);
        t->impl_->order = ++lastOrder;
    }
    static void Fire(TClockTimer* t)
    {
        auto& i = *t->impl_;
        if (t->singleShot_) i.armed = false;
        else Arm(t, i.interval > 0 ? i.interval : 1);
        // The handler may free the timer.
        if (auto f = t->OnTimeout) f();
    }
};

bool ClockState::on = false;
std::uint64_t ClockState::now = 0;
std::uint64_t ClockState::lastOrder = 0;

TClockTimer::TClockTimer() : impl_(std::make_unique<Impl>())
{
    QObject::connect(&impl_->real, &QTimer::timeout, [this] {
        if (singleShot_) impl_->real.stop();
        if (auto f = OnTimeout) f();
    });
    ClockState::All().insert(this);
}

TClockTimer::~TClockTimer() { ClockState::All().erase(this); }

void TClockTimer::Start(int ms)
{
    ms = ms < 0 ? 0 : ms;
    impl_->interval = ms;
    if (ClockState::on) {
        impl_->real.stop();
        ClockState::Arm(this, ms);
    } else {
        impl_->armed = false;
        impl_->real.start(ms);
    }
}

void TClockTimer::Stop()
{
    impl_->real.stop();
    impl_->armed = false;
}

bool TClockTimer::Active() const { return impl_->armed || impl_->real.isActive(); }

void SetTestClock(bool on)
{
    if (on == ClockState::on) return;
    ClockState::on = on;
    // Timers running keep running, on the other clock, from now.
    for (TClockTimer* t : ClockState::All()) {
        if (!t->Active()) continue;
        t->Start(t->impl_->interval);
    }
}

bool TestClockOn() { return ClockState::on; }

void AdvanceTestClock(std::uint32_t ms)
{
    const std::uint64_t until = ClockState::now + ms;
    for (;;) {
        TClockTimer* next = nullptr;
        for (TClockTimer* t : ClockState::All()) {
            const auto& i = *t->impl_;
            if (!i.armed || i.due > until) continue;
            if (!next || i.due < next->impl_->due || (i.due == next->impl_->due && i.order < next->impl_->order))
                next = t;
        }
        if (!next) break;
        ClockState::now = next->impl_->due;
        ClockState::Fire(next);
    }
    ClockState::now = until;
}

}  // namespace platform

#pragma once
// The timers the platform runs on. They run by real time, or, while a test has turned the
// test clock on, only when the test advances that clock.
#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

class TClockTimer {
public:
    TClockTimer();
    ~TClockTimer();
    TClockTimer(const TClockTimer&) = delete;
    TClockTimer& operator=(const TClockTimer&) = delete;

    std::function<void()> OnTimeout;
    void SetSingleShot(bool v) { singleShot_ = v; }
    // Arms the timer to fire ms from now (again every ms unless single-shot).
    void Start(int ms);
    void Stop();
    bool Active() const;

private:
    friend struct ClockState;
    friend void SetTestClock(bool on);
    friend void AdvanceTestClock(std::uint32_t ms);
    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool singleShot_ = false;
};

// The test clock: off by default.
void SetTestClock(bool on);
bool TestClockOn();
// Moves the test clock on by ms; every timer due by then fires, in order of its due time.
void AdvanceTestClock(std::uint32_t ms);

}  // namespace platform

#pragma once
// Work that must run when a scope is left: ScopeExit always, ScopeFail only when the scope
// is left by an exception. What the guarded work throws on the normal way out reaches the
// caller; while an exception is already on its way out it is dropped, so that the first
// failure is the one reported.
#include <exception>
#include <utility>

namespace base {

template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() noexcept(false)
    {
        if (!active_) return;
        if (std::uncaught_exceptions() > unwinding_) {
            try {
                f_();
            } catch (...) {
            }
        } else {
            f_();
        }
    }
    // The work is done by other means: the guard does nothing.
    void Release() { active_ = false; }

private:
    F f_;
    int unwinding_ = std::uncaught_exceptions();
    bool active_ = true;
};

template <class F>
class ScopeFail {
public:
    explicit ScopeFail(F f) : f_(std::move(f)) {}
    ScopeFail(const ScopeFail&) = delete;
    ScopeFail& operator=(const ScopeFail&) = delete;
    ~ScopeFail()
    {
        if (std::uncaught_exceptions() <= unwinding_) return;
        try {
            f_();
        } catch (...) {
        }
    }

private:
    F f_;
    int unwinding_ = std::uncaught_exceptions();
};

}  // namespace base

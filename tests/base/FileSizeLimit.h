#pragma once
// Lowers the process's file size limit so that a write fails part-way (EFBIG, with
// SIGXFSZ ignored); the old limit and signal handler come back on destruction.
#include <csignal>
#include <sys/resource.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        if (getrlimit(RLIMIT_FSIZE, &old_) != 0) return;
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        handlerSet_ = true;
        struct rlimit small = old_;
        small.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() {
        if (active_) setrlimit(RLIMIT_FSIZE, &old_);
        if (handlerSet_) signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // The lower limit is in force.
    bool Active() const { return active_; }

private:
    struct rlimit old_ {};
    void (*oldHandler_)(int) = SIG_DFL;
    bool handlerSet_ = false;
    bool active_ = false;
};

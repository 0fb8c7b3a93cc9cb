#pragma once
// What an operation that can fail gives its caller: success, or failure with its reason.
#include <string>
#include <utility>

namespace core {

class Result {
public:
    // Converts both ways with bool, so that a result reads as the bool it stands for.
    Result(bool ok = true) : ok_(ok) {}  // NOLINT: implicit by design
    static Result Failure(std::string reason) {
        Result r(false);
        r.reason_ = std::move(reason);
        return r;
    }

    operator bool() const { return ok_; }  // NOLINT: implicit by design
    // Why it failed, as its log line says it without the "ERROR: " in front; empty on
    // success and for failures that log nothing.
    const std::string& Reason() const { return reason_; }

private:
    bool ok_;
    std::string reason_;
};

}  // namespace core

#pragma once
// The run-time library's exception family. Every class carries a message.
#include <stdexcept>
#include <string>

namespace base {

class Exception : public std::exception {
public:
    explicit Exception(std::string message = {}) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }
    void SetMessage(std::string m) { message_ = std::move(m); }

private:
    std::string message_;
};

#define KORVELO_EXCEPTION(Name, Parent)                                      \
    class Name : public Parent {                                             \
    public:                                                                  \
        using Parent::Parent;                                                \
    };

KORVELO_EXCEPTION(EAbort, Exception)
KORVELO_EXCEPTION(EConvertError, Exception)
KORVELO_EXCEPTION(EListError, Exception)
KORVELO_EXCEPTION(EStringListError, Exception)
KORVELO_EXCEPTION(EInOutError, Exception)
KORVELO_EXCEPTION(EOutOfMemory, Exception)
KORVELO_EXCEPTION(EInvalidOperation, Exception)
KORVELO_EXCEPTION(EInvalidPointer, Exception)
KORVELO_EXCEPTION(EIntError, Exception)
KORVELO_EXCEPTION(EDivByZero, EIntError)
KORVELO_EXCEPTION(ERangeError, EIntError)
KORVELO_EXCEPTION(EIntOverflow, EIntError)
KORVELO_EXCEPTION(EMathError, Exception)
KORVELO_EXCEPTION(EInvalidOp, EMathError)
KORVELO_EXCEPTION(EZeroDivide, EMathError)
KORVELO_EXCEPTION(EOverflow, EMathError)
KORVELO_EXCEPTION(EUnderflow, EMathError)
KORVELO_EXCEPTION(EInvalidArgument, EMathError)

#undef KORVELO_EXCEPTION

}  // namespace base

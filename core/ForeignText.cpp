#include "core/ForeignText.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/ModelText.h"

namespace core {

bool ForeignTextReader::ReadNumber(double& value) {
    const std::size_t start = pos_;
    SkipSpace();
    std::size_t p = pos_;
    if (p < text_.size() && text_[p] == '+') ++p;
    const char* first = text_.data() + p;
    const char* last = text_.data() + text_.size();
    double v = 0;
    const auto r = std::from_chars(first, last, v, std::chars_format::general);
    // A sign not followed by a number, text, and non-finite values are no numbers here.
    if (r.ec != std::errc() || r.ptr == first || !std::isfinite(v) ||
        (p > pos_ && (*first == '-' || *first == '+'))) {
        pos_ = start;
        return false;
    }
    value = v;
    pos_ = static_cast<std::size_t>(r.ptr - text_.data());
    return true;
}

bool ForeignTextReader::ReadInteger(long long& value, long long min, long long max) {
    const std::size_t start = pos_;
    double v = 0;
    if (ReadNumber(v) && ToWholeNumber(v, min, max, value)) return true;
    pos_ = start;
    return false;
}

bool ForeignTextReader::ReadSeparator() {
    SkipSpace();
    if (pos_ >= text_.size()) return false;
    ++pos_;
    return true;
}

bool ForeignTextReader::TakeIf(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
        ++pos_;
        return true;
    }
    return false;
}

}  // namespace core

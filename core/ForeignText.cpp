#include "core/ForeignText.h"

#include <algorithm>
#include <cctype>
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
    std::size_t p = pos_;
    while (p < text_.size() && (text_[p] == ' ' || text_[p] == '\t')) ++p;
    if (p < text_.size() && text_[p] == c) {
        pos_ = p + 1;
        return true;
    }
    return false;
}

namespace {

bool CanContinueNumber(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '+' || c == '-';
}

}  // namespace

bool ForeignTextReader::ReadWholeNumber(double& value, bool separatorFollows) {
    const std::size_t start = pos_;
    double v = 0;
    if (ReadNumber(v)) {
        if (pos_ >= text_.size() || IsSpace(text_[pos_]) || (separatorFollows && !CanContinueNumber(text_[pos_]))) {
            value = v;
            return true;
        }
    }
    pos_ = start;
    return false;
}

bool ForeignTextReader::ReadWholeInteger(long long& value, long long min, long long max, bool separatorFollows) {
    const std::size_t start = pos_;
    double v = 0;
    if (ReadWholeNumber(v, separatorFollows) && ToWholeNumber(v, min, max, value)) return true;
    pos_ = start;
    return false;
}

std::size_t ForeignTextReader::NextLine() const {
    ForeignTextReader copy = *this;
    copy.SkipSpace();
    const std::size_t end = std::min(copy.pos_, text_.size());
    return 1 + static_cast<std::size_t>(std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

}  // namespace core

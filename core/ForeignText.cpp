#include "core/ForeignText.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/ModelText.h"

namespace core {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

void ForeignTextReader::SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
}

bool ForeignTextReader::ReadLine(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t end = text_.find('\n', pos_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    line = text_.substr(pos_, stop - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end == std::string_view::npos ? text_.size() : end + 1;
    return true;
}

bool ForeignTextReader::ReadWord(std::string_view& word) {
    SkipSpace();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
    word = text_.substr(start, pos_ - start);
    return pos_ > start;
}

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

std::string ForeignTextReader::DescribeNext() const {
    ForeignTextReader copy = *this;
    std::string_view word;
    return copy.ReadWord(word) ? QuoteForLog(word) : "the end of the file";
}

}  // namespace core

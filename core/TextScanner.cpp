#include "core/TextScanner.h"

#include <charconv>

#include "core/ModelText.h"

namespace core {

void TextScanner::SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
}

bool TextScanner::ReadWord(std::string_view& word) {
    SkipSpace();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
    word = text_.substr(start, pos_ - start);
    return pos_ > start;
}

bool TextScanner::TakeLine(std::string_view& line, bool lastCr) {
    if (pos_ >= text_.size()) return false;
    const std::size_t end = text_.find('\n', pos_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    line = text_.substr(pos_, stop - pos_);
    if (!line.empty() && line.back() == '\r' && (lastCr || end != std::string_view::npos))
        line.remove_suffix(1);
    pos_ = end == std::string_view::npos ? text_.size() : end + 1;
    return true;
}

bool TextScanner::NumberFollows() const {
    TextScanner copy = *this;
    copy.SkipSpace();
    std::size_t p = copy.pos_;
    if (p < text_.size() && text_[p] == '+') ++p;
    const char* first = text_.data() + p;
    double v = 0;
    return std::from_chars(first, text_.data() + text_.size(), v, std::chars_format::general).ptr != first;
}

std::string TextScanner::DescribeNext() const {
    TextScanner copy = *this;
    std::string_view word;
    return copy.ReadWord(word) ? QuoteForLog(word) : "the end of the file";
}

}  // namespace core

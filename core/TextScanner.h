#pragma once
// Words and lines of text held in memory, read from a position that moves on.
#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// A word is a run of characters other than blank, tab, line feed, vertical tab, form
// feed and carriage return.
class TextScanner {
public:
    std::size_t Position() const { return pos_; }

    // False at the end of the input.
    bool ReadWord(std::string_view& word);
    // Whether the next word starts with a number (a "+" allowed); nothing is consumed.
    bool NumberFollows() const;
    // The next word quoted for a log line, or "the end of the file".
    std::string DescribeNext() const;

    // Blank, tab, line feed, vertical tab, form feed or carriage return.
    static bool IsSpace(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }

protected:
    TextScanner(std::string_view text, std::size_t pos) : text_(text), pos_(pos) {}

    void SkipSpace();
    // The rest of the current line without its line feed, nor a carriage return just
    // before it; with lastCr also without a carriage return that ends the input.
    // False at the end of the input.
    bool TakeLine(std::string_view& line, bool lastCr);

    std::string_view text_;
    std::size_t pos_;
};

}  // namespace core

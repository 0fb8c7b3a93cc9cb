#pragma once
// Reading the foreign text formats (GF, DFH) the way a text stream reads them:
// whitespace-separated numbers and words, single separator characters between them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace core {

class ForeignTextReader {
public:
    explicit ForeignTextReader(std::string_view text, std::size_t pos = 0) : text_(text), pos_(pos) {}

    std::size_t Position() const { return pos_; }

    // The rest of the current line, without its line end; false at the end of the input.
    bool ReadLine(std::string_view& line);
    // A run of non-whitespace characters; false at the end of the input.
    bool ReadWord(std::string_view& word);
    // Skips whitespace and takes the longest finite number there (a leading '+' allowed);
    // on false nothing is consumed.
    bool ReadNumber(double& value);
    // A whole number within [min, max]; on false nothing is consumed.
    bool ReadInteger(long long& value, long long min, long long max);
    // Skips whitespace and takes any one character; false at the end of the input.
    bool ReadSeparator();
    // Takes the very next character when it is c, without skipping whitespace.
    bool TakeIf(char c);

    // The next word quoted for a log line, or "the end of the file".
    std::string DescribeNext() const;

private:
    void SkipSpace();

    std::string_view text_;
    std::size_t pos_;
};

}  // namespace core

#pragma once
// Reading the foreign text formats (GF, DFH) the way a text stream reads them:
// whitespace-separated numbers and words, single separator characters between them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/TextScanner.h"

namespace core {

class ForeignTextReader : public TextScanner {
public:
    explicit ForeignTextReader(std::string_view text, std::size_t pos = 0) : TextScanner(text, pos) {}

    // The rest of the current line, without its line end; false at the end of the input.
    bool ReadLine(std::string_view& line) { return TakeLine(line, true); }
    // Skips whitespace and takes the longest finite number there (a leading '+' allowed);
    // on false nothing is consumed.
    bool ReadNumber(double& value);
    // A whole number within [min, max]; on false nothing is consumed.
    bool ReadInteger(long long& value, long long min, long long max);
    // Skips whitespace and takes any one character; false at the end of the input.
    bool ReadSeparator();
    // Takes the very next character when it is c, without skipping whitespace.
    bool TakeIf(char c);
};

}  // namespace core

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
    // Takes c when it comes next on this line, blanks and tabs before it skipped; on
    // false nothing is consumed.
    bool TakeIf(char c);

    // A number that is a field of its own: it ends at whitespace or the end of the input,
    // or, with separatorFollows, at a separator character (one that cannot continue a
    // number: no letter, digit, '.', '+' or '-'). "2.5x", "1e", "7-" and "0x10" are no
    // numbers here. On false nothing is consumed.
    bool ReadWholeNumber(double& value, bool separatorFollows);
    // The same, whole and within [min, max].
    bool ReadWholeInteger(long long& value, long long min, long long max, bool separatorFollows);

    // The line (from 1) of the next word, or of the end of the input.
    std::size_t NextLine() const;
};

}  // namespace core

#pragma once
// Splits an editor line into runs of equal style with a styler's rules, carrying the
// comment and bracket state from line to line. The painter draws the runs; the same
// scan without drawing gives the state at the start of any line.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/memo/MemoTypes.h"

namespace memo {

class TExCustomMemoStyler;

// The URL delimiters: blank, double quote, single quote and comma.
bool IsUrlDelimiter(char c);
// Alternating runs of URL delimiters and other characters that joined give s back; an
// escape character (when escape is not 0) keeps the character after it in its run.
std::vector<std::string_view> SplitUrlRuns(std::string_view s, char escape);

struct TTokenizerSetup {
    const TExCustomMemoStyler* styler = nullptr;  // nullptr: every piece is one plain run
    bool urlAware = true;
    bool caseSensitive = false;
    std::function<bool(std::string_view)> isURL;
    std::string delimiters;  // Symbols of every symbol element, in element order
    std::string numberStart, numberChars, hexPrefix;  // upper case

    // Fills the delimiters and number sets from the styler.
    void Prepare();
};

class TLineTokenizer {
public:
    // text, the state it is drawn in, and whether the styler draws it (a custom keyword).
    using TEmit = std::function<void(std::string_view text, const TStyle& style, bool customKeyword)>;

    explicit TLineTokenizer(const TTokenizerSetup& setup) : s_(setup) {}
    // Emits the runs of line starting from state, which becomes the state at the line's end.
    void Line(std::string_view line, TStyle& state, const TEmit& emit) const;
    // The same without runs: only the carried state.
    void Scan(std::string_view line, TStyle& state) const { Line(line, state, nullptr); }

private:
    struct Run;
    void Piece(std::string_view piece, TStyle& state, Run& run, bool& lineComment) const;
    const TTokenizerSetup& s_;
};

}  // namespace memo

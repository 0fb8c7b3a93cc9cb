#pragma once
// Small value types shared by the editor's line store, painter and control.
#include <cstdint>
#include <vector>

namespace memo {

// The tokenizer state carried from line to line by the painter.
struct TStyle {
    std::uint8_t InComment = 0;
    std::uint8_t InBracket = 0;
    std::uint8_t IsNumber = 0;
    std::uint8_t IsKeyword = 0;
    std::uint8_t IsSymbol = 0;
    std::uint8_t IsURL = 0;
    char BracketEndChar = 0;
    char BracketStartChar = 0;
    std::int32_t StyleIndex = -1;
    friend bool operator==(const TStyle&, const TStyle&) = default;
};

// Per-line properties, made on demand and owned by the line store.
class TLineProp {
public:
    void* FObject = nullptr;  // the caller's object of the line
    std::vector<int> FErrorPos;
    std::vector<int> FErrorLen;
    bool FBreakPoint = false;
    bool FExecutable = false;
    bool FBookmark = false;
    TStyle FStyle;
    bool FHasStyle = false;
};

}  // namespace memo

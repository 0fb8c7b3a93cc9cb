#pragma once
// Text rules of the typed edits: number classification, separators, mixed case, hex and
// leading-integer values, number formatting and range lists of integers.
#include <string>
#include <unordered_set>
#include <vector>

namespace edit {

// Classification of a value text.
enum : int { ntInteger = 0, ntDecimal = 1, ntNotNumber = 2, ntHex = 5 };
// A "-" counts only as the first character; empty text is not a number.
int ClassifyNumberText(const std::string& s);
std::string StripThousandSeparators(const std::string& s);
std::string MixedCaseText(const std::string& s);
// Hex digits weighted from the end; other characters count 0; wraps at 32 bits.
int HexTextValue(const std::string& s);
// The integer at the start of s as the run-time library parses it ("12.5" gives 12).
int LeadingInteger(const std::string& s);
// "%.<decimals>n": fixed decimals with thousand separators in the integer part.
std::string FormatNumber(double x, int decimals);
// "%.<decimals>f" and "%g" (15 significant digits) with the locale's decimal separator.
std::string FormatFixed(double x, int decimals);
std::string FormatGeneral(double x);
// The value text's number (thousand separators ignored); 0 when it does not convert.
double EStrToFloat(const std::string& s);

// Integers kept once each, as written in range texts such as "1,3-5;8".
class TRangeList {
public:
    // The most integers one range text may expand to.
    static constexpr int MaxCount = 100000;

    int Count() const { return int(items_.size()); }
    int Integer(int index) const { return items_[std::size_t(index)]; }
    void SetInteger(int index, int value);
    void Add(int i);  // nothing when i is already there
    void AddMultiple(int first, int count);
    void Delete(int index);
    void Clear()
    {
        items_.clear();
        members_.clear();
    }
    bool InList(int i) const;
    // Fills the list; false when a part does not convert or would exceed MaxCount
    // (what converted before stays).
    bool StrToList(const std::string& s);
    // Sorted, runs joined: "1,3-5,8"; empty for an empty list.
    std::string ToRangeStr() const;
    // Each integer on its own line, for debugging.
    std::string Show() const;

private:
    std::vector<int> items_;
    std::unordered_multiset<int> members_;  // for InList
};

}  // namespace edit

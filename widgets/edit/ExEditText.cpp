#include "widgets/edit/ExEditText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>

#include "base/StrUtils.h"

namespace edit {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexLetter(char c) { return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

}  // namespace

int ClassifyNumberText(const std::string& s)
{
    if (s.empty()) return ntNotNumber;
    const char thousand = base::ThousandSeparator(), decimal = base::DecimalSeparator();
    bool integer = true, decimalLike = true, hex = true;
    int lastThousand = -1, decimals = 0, minuses = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const int pos = int(i) + 1;
        if (c != '-' && !IsDigit(c)) integer = false;
        if (c != ',' && c != '-' && c != '.' && !IsDigit(c)) decimalLike = false;
        if (c != '-' && !IsDigit(c) && !IsHexLetter(c)) hex = false;
        if (c == thousand) {
            if (pos - lastThousand < 3) decimalLike = false;
            lastThousand = pos;
        }
        if (c == decimal) ++decimals;
        if (c == '-') {
            ++minuses;
            if (i > 0) return ntNotNumber;  // a sign only leads
        }
    }
    int result = ntNotNumber;
    if (hex && !integer) result = ntHex;
    if (integer) result = ntInteger;
    else if (decimalLike) result = ntDecimal;
    if (minuses > 1 || decimals > 1) result = ntNotNumber;
    return result;
}

std::string StripThousandSeparators(const std::string& s)
{
    std::string out;
    const char t = base::ThousandSeparator();
    for (char c : s)
        if (c != t) out += c;
    return out;
}

std::string MixedCaseText(const std::string& s)
{
    static const std::string separators = " \"$()*,-./:[\\]";
    std::string r;
    bool capitalise = true;
    const int n = int(s.size());
    for (int i = 1; i <= n; ++i) {
        const char c = s[std::size_t(i - 1)];
        if (separators.find(c) != std::string::npos) {
            capitalise = true;
            r += c;
        } else if (capitalise) {
            r += Upper(c);
            capitalise = false;
        } else {
            r += Lower(c);
        }
        if (r == "Mc" || r == "Mac") capitalise = true;
        const std::size_t mc = r.find(" Mc");
        if (mc != std::string::npos && int(mc) + 3 == i && i > 2) capitalise = true;
        if (i > n - 3) {
            if (i >= 2 && r.compare(std::size_t(i - 2), 2, " I") == 0) capitalise = true;
            if (i >= 3 && r.compare(std::size_t(i - 3), 3, " II") == 0) capitalise = true;
        }
    }
    return r;
}

int HexTextValue(const std::string& s)
{
    std::uint32_t sum = 0, weight = 1;
    for (std::size_t k = s.size(); k-- > 0;) {
        const char c = s[k];
        std::uint32_t d = 0;
        if (IsDigit(c)) d = std::uint32_t(c - '0');
        else if (c >= 'A' && c <= 'F') d = std::uint32_t(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f') d = std::uint32_t(c - 'a' + 10);
        sum += d * weight;
        weight *= 16;
    }
    return int(sum);
}

int LeadingInteger(const std::string& s)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    std::uint32_t v = 0;
    bool hex = false;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (hex && (IsDigit(c) || IsHexLetter(c))) v = v * 16 + std::uint32_t(IsDigit(c) ? c - '0' : Upper(c) - 'A' + 10);
        else if (!hex && IsDigit(c)) v = v * 10 + std::uint32_t(c - '0');
        else break;
    }
    return negative ? int(0u - v) : int(v);
}

std::string FormatFixed(double x, int decimals) { return base::FloatToStrFixed(x, std::max(0, decimals)); }

std::string FormatGeneral(double x) { return base::FloatToStr(x); }

std::string FormatNumber(double x, int decimals)
{
    std::string s = FormatFixed(x, decimals);
    const char d = base::DecimalSeparator(), t = base::ThousandSeparator();
    std::size_t start = s.empty() || s[0] != '-' ? 0 : 1;
    std::size_t end = s.find(d);
    if (end == std::string::npos) end = s.size();
    for (std::size_t k = end; k > start + 3; k -= 3) s.insert(k - 3, 1, t);
    return s;
}

double EStrToFloat(const std::string& s)
{
    double v = 0;
    return base::TryStrToFloat(StripThousandSeparators(s), v) ? v : 0.0;
}

// ---------------------------------------------------------------- range lists

void TRangeList::Add(int i)
{
    if (InList(i)) return;
    items_.push_back(i);
    members_.insert(i);
}

void TRangeList::SetInteger(int index, int value)
{
    int& slot = items_[std::size_t(index)];
    members_.erase(members_.find(slot));
    slot = value;
    members_.insert(value);
}

void TRangeList::AddMultiple(int first, int count)
{
    for (int k = 0; k < count; ++k) Add(first + k);
}

void TRangeList::Delete(int index)
{
    if (index < 0 || index >= Count()) return;
    members_.erase(members_.find(items_[std::size_t(index)]));
    items_.erase(items_.begin() + index);
}

bool TRangeList::InList(int i) const { return members_.count(i) > 0; }

bool TRangeList::StrToList(const std::string& text)
{
    Clear();
    bool ok = true;
    auto single = [&](const std::string& part) {
        long long v = 0;
        if (!base::TryStrToInt(part, v) || v < INT32_MIN || v > INT32_MAX) ok = false;
        else if (!InList(int(v)) && Count() >= MaxCount) ok = false;
        else Add(int(v));
    };
    auto range = [&](const std::string& part) {
        const std::size_t dash = part.find('-');
        long long a = 0, b = 0;
        if (!base::TryStrToInt(part.substr(0, dash), a) || !base::TryStrToInt(part.substr(dash + 1), b) ||
            a < INT32_MIN || b > INT32_MAX) {
            ok = false;
            return;
        }
        if (b < a) return;
        if (b - a + 1 > MaxCount - Count()) {  // refused whole, never expanded
            ok = false;
            return;
        }
        for (long long v = a; v <= b; ++v) Add(int(v));
    };
    std::string s = text;
    while (!s.empty()) {
        const std::size_t d = s.find_first_of(",;");
        if (d == std::string::npos) {
            if (s.find('-') != std::string::npos) range(s);
            else single(s);
            s.clear();
        } else {
            const std::string part = s.substr(0, d);
            if (part.find('-') != std::string::npos) range(part);
            else single(part);
            s.erase(0, d + 1);
        }
    }
    return ok;
}

std::string TRangeList::ToRangeStr() const
{
    std::vector<int> v = items_;
    std::sort(v.begin(), v.end());
    std::string out;
    for (std::size_t i = 0; i < v.size();) {
        std::size_t j = i;
        while (j + 1 < v.size() && v[j + 1] == v[j] + 1) ++j;
        if (!out.empty()) out += ',';
        out += std::to_string(v[i]);
        if (j > i) out += '-' + std::to_string(v[j]);
        i = j + 1;
    }
    return out;
}

std::string TRangeList::Show() const
{
    std::ostringstream os;
    for (int i : items_) os << i << '\n';
    return os.str();
}

}  // namespace edit

// Searching, tokens, cell names, links, capitals and dates of the grid's utilities.
#include "base/StrUtils.h"
#include "base/StringList.h"
#include "widgets/grid/ExUtil.h"

namespace grid {

namespace {

int Found(size_t k) { return k == String::npos ? 0 : static_cast<int>(k) + 1; }

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// The whole text as an integer, or false.
bool WholeInt(const String& s, long long& out) { return !s.empty() && base::TryStrToInt(s, out) && base::Trim(s) == s; }

}  // namespace

int CharPos(char c, const String& s) { return Found(s.find(c)); }

int VarCharPos(char c, const String& s, int& pos)
{
    const int r = CharPos(c, s);
    if (r) pos = r;
    return r;
}

int VarCharPosNC(char c, const String& s, int& pos)
{
    for (size_t i = 0; i < s.size(); ++i)
        if (AsciiUpper(s[i]) == c) return pos = static_cast<int>(i) + 1;
    return 0;
}

int VarPos(const String& sub, const String& s, int& pos) { return pos = Found(s.find(sub)); }

int FIPos(const String& sub, const String& s) { return Found(base::UpperCase(s).find(sub)); }

char FirstChar(std::string_view set, const String& s)
{
    for (char c : s)
        if (set.find(c) != std::string_view::npos) return c;
    return '\0';
}

int SinglePos(char c, const String& s, int& pos)
{
    int run = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == c) {
            if (i + 1 == s.size()) return pos = static_cast<int>(i) + 1;
            ++run;
        } else if (run % 2 == 1) {
            return pos = static_cast<int>(i);
        } else {
            run = 0;
        }
    }
    return pos = 0;
}

int NumSingleChar(char c, const String& s)
{
    int count = 0, pos = 0;
    String rest = s;
    while (SinglePos(c, rest, pos) > 0) {
        ++count;
        rest.erase(0, static_cast<size_t>(pos));
    }
    return count;
}

int NumChar(char c, const String& s)
{
    int n = 0;
    for (char x : s) n += x == c;
    return n;
}

int NumCharInStr(char c, const String& s) { return NumChar(c, s); }

int StrPosWide(const WideString& sub, const WideString& s)
{
    if (sub.empty() || s.empty() || sub.size() > s.size()) return 0;
    return Found(s.find(sub));
}

String GetToken(String& s, const String& separator)
{
    const size_t k = separator.empty() ? String::npos : s.find(separator);
    if (k == String::npos) return {};
    String token = s.substr(0, k);
    s.erase(0, k + 1);
    return token;
}

String StringListToText(const base::TStrings& list)
{
    String out;
    for (int i = 0; i < list.Count(); ++i) out += list.Get(i);
    return out;
}

int CheckLimits(int value, int lower, int upper)
{
    if (lower == upper) return value;
    int r = value;
    if (value < lower && lower > 0) r = lower;
    if (value > upper && upper > 0) r = upper;
    return r;
}

bool IsInGridRect(const platform::TRect& r, int col, int row)
{
    return r.Left <= col && col <= r.Right && r.Top <= row && row <= r.Bottom;
}

String RectString(const platform::TRect& r)
{
    return "[" + std::to_string(r.Left) + ":" + std::to_string(r.Top) + "][" + std::to_string(r.Right) + ":" +
           std::to_string(r.Bottom) + "]";
}

bool NameToCell(const String& s, platform::TPoint& cell)
{
    const String u = base::UpperCase(s);
    if (u.size() <= 3 || u[0] != 'R') return false;
    const String rest = u.substr(1);
    const size_t c = rest.find('C');
    if (c == String::npos) return false;
    long long row, col;
    if (!WholeInt(rest.substr(0, c), row) || !WholeInt(rest.substr(c + 1), col)) return false;
    if (row < INT32_MIN || row > INT32_MAX || col < INT32_MIN || col > INT32_MAX) return false;
    cell.X = static_cast<int>(col);
    cell.Y = static_cast<int>(row);
    return true;
}

bool IsURL(const String& s) { return s.find("://") != String::npos || s.find("mailto:") != String::npos; }

bool IsWebLink(const String& s)
{
    for (unsigned char ch : s)
        if (ch <= ' ' || ch == 0x7F) return false;
    const String l = base::LowerCase(s);
    for (const char* p : {"http://", "https://"})
        if (l.rfind(p, 0) == 0 && l.size() > std::char_traits<char>::length(p)) return true;
    return l.rfind("mailto:", 0) == 0 && l.size() > 7;
}

void StripURLProtocol(String& s)
{
    size_t k = s.find("://");
    if (k != String::npos) {
        s.erase(0, k + 3);
        return;
    }
    k = s.find("mailto:");
    if (k != String::npos) s.erase(0, k + 7);
}

String ShiftCase(const String& s)
{
    String r = s;
    const size_t n = r.size();
    bool capital = true;
    for (size_t i = 1; i <= n; ++i) {
        char& c = r[i - 1];
        if (c == ' ' || c == '\'' || c == ',' || c == '-' || c == '.') {
            capital = true;
        } else if (capital) {
            c = AsciiUpper(c);
            capital = false;
        } else {
            c = AsciiLower(c);
        }
        if (r.compare(0, i, "Mc") == 0 && i == 2) capital = true;
        const size_t mc = r.find(" Mc");
        if (mc != String::npos && i == mc + 1 + 2 && i > 2) capital = true;
        if (n >= 3 ? i > n - 3 : true) {
            if (i >= 2 && r.compare(i - 2, 2, " I") == 0) capital = true;
            if (i >= 3 && r.compare(i - 3, 3, " II") == 0) capital = true;
        }
    }
    return r;
}

namespace {

// Splits "a<sep>b<sep>c" at the first of '/', '.', '-' that the text holds.
bool DateFields(const String& s, long long& f1, long long& f2, long long& f3, size_t& yearDigits)
{
    size_t p = s.find('/');
    if (p == String::npos) p = s.find('.');
    if (p == String::npos) p = s.find('-');
    if (p == String::npos) return false;
    const size_t q = s.find(s[p], p + 1);
    if (q == String::npos) return false;
    const String third = s.substr(q + 1);
    if (!WholeInt(s.substr(0, p), f1) || !WholeInt(s.substr(p + 1, q - p - 1), f2) || !WholeInt(third, f3))
        return false;
    yearDigits = third.size();
    return f1 >= 0 && f2 >= 0 && f3 >= 0;
}

base::TDateTime ShortDate(const String& s, bool monthFirst)
{
    long long a, b, year;
    size_t digits;
    if (!DateFields(s, a, b, year, digits)) return 0;
    if (digits <= 2) year += year <= 25 ? 2000 : 1900;
    const long long month = monthFirst ? a : b, day = monthFirst ? b : a;
    base::TDateTime t = 0;
    if (year > 9999 || month > 12 || day > 31) return 0;
    return base::TryEncodeDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day), t) ? t : 0;
}

}  // namespace

base::TDateTime StrToShortdateUS(const String& s) { return ShortDate(s, true); }

base::TDateTime StrToShortDateEU(const String& s) { return ShortDate(s, false); }

bool IsDateStr(const String& s)
{
    const size_t p = s.find(base::DateSeparator());
    if (p == String::npos || p == 0) return false;
    const size_t q = s.find(base::DateSeparator(), p + 1);
    return q != String::npos && q > p + 1;
}

base::TDateTime GetNextDate(base::TDateTime d, uint16_t years, uint16_t months, uint16_t days, double span)
{
    int y, m, dd;
    base::DecodeDate(d, y, m, dd);
    if (days && !years && !months) return d + days;
    if (years && !months && !days) {
        y += years;
    } else if (months && !years && !days) {
        const int total = m - 1 + months;
        y += total / 12;
        m = total % 12 + 1;
    } else {
        return d + span;
    }
    base::TDateTime t;
    const int last = base::DaysInAMonth(y, m);
    if (!base::TryEncodeDate(y, m, dd > last ? last : dd, t)) return d + span;
    return t;
}

}  // namespace grid

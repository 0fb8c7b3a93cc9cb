// Filter conditions: terms joined left to right, comparisons, then wildcards.
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "base/DateTime.h"
#include "base/StrUtils.h"
#include "widgets/grid/ExUtil.h"

namespace grid {

namespace {

constexpr size_t kOperandMax = 255;

// Decimal separator to '.', thousands separators out; then the whole text as a number.
bool NumberOf(std::string_view s, double& out)
{
    String n;
    for (char c : s) {
        if (c == base::ThousandSeparator()) continue;
        n += c == base::DecimalSeparator() ? '.' : c;
    }
    return !n.empty() && base::Trim(n) == n && base::TryParseDouble(n, out);
}

bool WholeInt(std::string_view s, long long& out)
{
    return !s.empty() && base::Trim(s) == s && base::TryStrToInt(s, out);
}

// A date in the order of the user's short date format; never raises.
bool DateOf(std::string_view s, double& out)
{
    const String fmt = base::UpperCase(base::ShortDateFormat());
    std::pair<size_t, char> order[3] = {{fmt.find('D'), 'D'}, {fmt.find('M'), 'M'}, {fmt.find('Y'), 'Y'}};
    std::sort(std::begin(order), std::end(order));
    const char sep = base::DateSeparator();
    const size_t p = s.find(sep);
    if (p == std::string_view::npos) return false;
    const size_t q = s.find(sep, p + 1);
    if (q == std::string_view::npos) return false;
    long long v[3];
    if (!WholeInt(s.substr(0, p), v[0]) || !WholeInt(s.substr(p + 1, q - p - 1), v[1]) || !WholeInt(s.substr(q + 1), v[2]))
        return false;
    long long day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) (order[i].second == 'D' ? day : order[i].second == 'M' ? month : year) = v[i];
    if (day >= 32 || month > 12 || year < 0 || year > 9999 || day < 0 || month < 0) return false;
    base::TDateTime t;
    if (!base::TryEncodeDate(int(year), int(month), int(day), t)) return false;
    out = t;
    return true;
}

// Compares the text with the operand after the first `op` of the pattern: <0, 0, >0.
// False when the pattern holds no such operator. `orEqual` tells whether "=" follows it.
bool Compare(std::string_view pattern, std::string_view text, char op, int& order, bool& orEqual)
{
    size_t k = pattern.find(op);
    if (k == std::string_view::npos) return false;
    orEqual = k + 1 < pattern.size() && pattern[k + 1] == '=';
    k += orEqual ? 2 : 1;
    while (k < pattern.size() && pattern[k] == ' ') ++k;
    size_t end = pattern.find_first_of(" &|", k);
    if (end == std::string_view::npos) end = pattern.size();
    std::string_view operand = pattern.substr(k, end - k);
    while (!operand.empty() && operand.front() == '"') operand.remove_prefix(1);
    if (!operand.empty() && operand.back() == '"') operand.remove_suffix(1);
    if (operand.size() > kOperandMax) operand = operand.substr(0, kOperandMax);

    double a, b;
    if (NumberOf(text, a) && NumberOf(operand, b)) {
        order = a < b ? -1 : a > b ? 1 : 0;
    } else if (DateOf(text, a) && DateOf(operand, b)) {
        order = a < b ? -1 : a > b ? 1 : 0;
    } else {
        const int c = text.substr(0, kOperandMax).compare(operand);
        order = c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    return true;
}

class Matcher {
public:
    Matcher(std::string_view pattern, std::string_view text) : p_(pattern), t_(text) {}

    // The pattern from `pi` against the text from `ti`; both are suffixes of the originals.
    bool Match(size_t pi, size_t ti)
    {
        const uint64_t key = uint64_t(pi) * (t_.size() + 1) + ti;
        if (const auto it = memo_.find(key); it != memo_.end()) return it->second;
        const bool r = MatchUncached(pi, ti);
        memo_.emplace(key, r);
        return r;
    }

private:
    bool MatchUncached(size_t pi, size_t ti)
    {
        const std::string_view pattern = p_.substr(pi), text = t_.substr(ti);
        int order;
        bool orEqual;
        if (Compare(pattern, text, '>', order, orEqual) && (order > 0 || (orEqual && order == 0))) return true;
        if (Compare(pattern, text, '<', order, orEqual) && (order < 0 || (orEqual && order == 0))) return true;

        size_t i = pi, j = ti;
        bool state = true, negate = false;
        while (state && !(i >= p_.size() && j >= t_.size())) {
            const char c = i < p_.size() ? p_[i] : '\0';
            if (i < p_.size() && c == '!') {
                negate = true;
                ++i;
            } else if (i < p_.size() && c == '"') {
                ++i;
            } else if (i < p_.size() && c == '*') {
                while (i < p_.size() && p_[i] == '*') ++i;
                state = AnyEndPart(i, j);
                i = p_.size();
                j = t_.size();
            } else if (i < p_.size() && c == '?') {
                if (j >= t_.size()) state = false;
                else ++i, ++j;
            } else {
                char want = c;
                if (i < p_.size() && c == '\\' && i + 1 < p_.size()) want = p_[++i];
                if (i >= p_.size() || j >= t_.size() || t_[j] != want) state = false;
                else ++i, ++j;
            }
        }
        return negate ? !state : state;
    }

    // Whether the pattern from `pi` matches some end part of the text that starts at or
    // after `ti`. Kept per pattern position, filled from the text's end down.
    bool AnyEndPart(size_t pi, size_t ti)
    {
        std::vector<signed char>& any = any_[pi];
        if (any.empty()) any.assign(t_.size() + 2, -1), any[t_.size() + 1] = 0;
        size_t k = ti;
        while (any[k] < 0) ++k;
        while (k-- > ti) any[k] = Match(pi, k) || any[k + 1];
        return any[ti] != 0;
    }

    std::string_view p_, t_;
    std::unordered_map<uint64_t, bool> memo_;
    std::unordered_map<size_t, std::vector<signed char>> any_;
};

}  // namespace

bool Matches(const String& pattern, const String& text) { return Matcher(pattern, text).Match(0, 0); }

bool MatchStr(const String& pattern, const String& text, bool caseSensitive)
{
    if (caseSensitive) return Matches(pattern, text);
    return Matches(base::AnsiUpperCase(pattern), base::AnsiUpperCase(text));
}

bool MatchStrEx(const String& condition, const String& text, bool caseSensitive)
{
    static constexpr std::string_view kOperators = "&;^|=";
    String c = base::Trim(condition);
    for (bool changed = true; changed;) {
        changed = false;
        for (char op : kOperators)
            for (size_t k; (k = c.find(String(" ") + op)) != String::npos; changed = true) c.erase(k, 1);
        for (char op : kOperators)
            for (size_t k; (k = c.find(String(1, op) + " ")) != String::npos; changed = true) c.erase(k + 1, 1);
    }
    if (!c.empty() && c[0] == '=') c.erase(0, 1);

    bool result = false;
    char joint = '\0';
    size_t start = 0;
    for (;;) {
        const size_t end = c.find_first_of("&;^|", start);
        const String term = c.substr(start, end == String::npos ? String::npos : end - start);
        const bool hit = MatchStr(term, text, caseSensitive);
        result = joint == '\0' ? hit : joint == '&' ? (result && hit) : (result || hit);
        if (end == String::npos) break;
        joint = c[end];
        start = end + 1;
    }
    return result;
}

}  // namespace grid

// Picture formats: '0' digit, '#' optional digit, '.' decimal point, ',' thousands
// grouping, E+00 / E-00 exponent, '...' and "..." literal text, ';' separating the
// positive, negative and zero sections.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "base/StrUtils.h"

namespace base {

namespace {

struct Picture {
    std::string_view text;
    int intPlaces = 0;       // '0' and '#' before the point (or before E)
    int intZeros = 0;        // placeholders from the first '0' up to the point
    int decPlaces = 0;       // '0' and '#' after the point
    int decZeros = 0;        // up to and including the last '0' after the point
    bool grouping = false;
    bool hasPoint = false;
    bool scientific = false;
    bool expAlwaysSign = false;
    char expChar = 'E';
    int expDigits = 0;
};

// Literal text between quote marks: true when c is a quote mark or stands between a
// pair, with quote holding the open mark (0 outside quotes).
bool TakeQuoted(char c, char& quote) {
    if (quote) {
        if (c == quote) quote = 0;
        return true;
    }
    if (c == '\'' || c == '"') {
        quote = c;
        return true;
    }
    return false;
}

// Splits at ';' outside quotes.
std::vector<std::string_view> Sections(std::string_view f) {
    std::vector<std::string_view> out;
    size_t start = 0;
    char quote = 0;
    for (size_t i = 0; i < f.size(); ++i) {
        const char c = f[i];
        if (TakeQuoted(c, quote)) continue;
        if (c == ';') {
            out.push_back(f.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(f.substr(start));
    return out;
}

bool IsExponentAt(std::string_view s, size_t i) {
    return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

Picture Analyse(std::string_view s) {
    Picture p;
    p.text = s;
    bool afterPoint = false;
    bool seenZero = false;
    char quote = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (TakeQuoted(c, quote) || p.scientific) continue;
        switch (c) {
        case '0':
        case '#':
            if (afterPoint) {
                ++p.decPlaces;
                if (c == '0') p.decZeros = p.decPlaces;
            } else {
                ++p.intPlaces;
                if (c == '0') seenZero = true;
                if (seenZero) ++p.intZeros;
            }
            break;
        case '.':
            if (!afterPoint) {
                afterPoint = true;
                p.hasPoint = true;
            }
            break;
        case ',':
            if (!afterPoint) p.grouping = true;
            break;
        default:
            if (IsExponentAt(s, i)) {
                p.scientific = true;
                p.expChar = c;
                p.expAlwaysSign = s[i + 1] == '+';
                size_t j = i + 2;
                while (j < s.size() && s[j] == '0') {
                    ++p.expDigits;
                    ++j;
                }
                p.expDigits = std::min(p.expDigits, 4);
            }
            break;
        }
    }
    return p;
}

// Shortest decimal digits of |v| and the position of the decimal point:
// |v| = 0.digits x 10^point.
void DecimalDigits(double v, std::string& digits, int& point) {
    digits.clear();
    point = 0;
    if (v == 0) return;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
    std::string_view t(buf, static_cast<size_t>(r.ptr - buf));
    size_t e = t.find('e');
    for (char c : t.substr(0, e))
        if (c != '.') digits.push_back(c);
    int exp = 0;
    std::from_chars(t.data() + e + 1 + (t[e + 1] == '+' ? 1 : 0), t.data() + t.size(), exp);
    point = exp + 1;
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
}

// Keeps digits up to `keep` (may be <= 0) and rounds half away from zero.
void RoundDigits(std::string& digits, int& point, int keep) {
    if (keep < 0) {
        digits.clear();
        return;
    }
    if (static_cast<int>(digits.size()) <= keep) return;
    const bool up = digits[static_cast<size_t>(keep)] >= '5';
    digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && digits[static_cast<size_t>(i)] == '9') {
            digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++point;
        } else {
            ++digits[static_cast<size_t>(i)];
        }
    }
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (digits.empty()) point = 0;
}

struct Rendered {
    std::string intDigits;  // without leading zeros; may be empty
    std::string decDigits;  // trimmed to what is shown
    int exponent = 0;
    bool zero = true;
};

Rendered Render(const Picture& p, double value) {
    Rendered r;
    std::string digits;
    int point = 0;
    DecimalDigits(value, digits, point);
    if (p.scientific) {
        const int intPlaces = std::max(p.intPlaces, 1);
        if (!digits.empty()) {
            RoundDigits(digits, point, intPlaces + p.decPlaces);
            if (!digits.empty()) {
                r.exponent = point - intPlaces;
                point = intPlaces;
            }
        }
    } else {
        RoundDigits(digits, point, point + p.decPlaces);
    }
    r.zero = digits.empty();
    for (int i = 0; i < point && !digits.empty(); ++i)
        r.intDigits.push_back(i < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(i)] : '0');
    for (int i = point; i < static_cast<int>(digits.size()); ++i) {
        if (i < 0) continue;
        r.decDigits.push_back(digits[static_cast<size_t>(i)]);
    }
    if (point < 0 && !digits.empty()) {
        r.decDigits.assign(static_cast<size_t>(-point), '0');
        r.decDigits += digits;
    }
    // Pad with zeros to the shown decimals, then drop optional trailing zeros.
    if (static_cast<int>(r.decDigits.size()) < p.decPlaces)
        r.decDigits.append(static_cast<size_t>(p.decPlaces) - r.decDigits.size(), '0');
    while (static_cast<int>(r.decDigits.size()) > p.decZeros && r.decDigits.back() == '0') r.decDigits.pop_back();
    return r;
}

std::string Apply(const Picture& p, const Rendered& r, bool negative) {
    const char sep = DecimalSeparator();
    char thousands = ThousandSeparator();
    if (thousands == sep) thousands = sep == ',' ? '.' : ',';
    std::string out;
    if (negative) out.push_back('-');

    std::string intDigits = r.intDigits;
    if (static_cast<int>(intDigits.size()) < p.intZeros)
        intDigits.insert(0, static_cast<size_t>(p.intZeros) - intDigits.size(), '0');
    const int len = static_cast<int>(intDigits.size());
    int placeIndex = 0;  // integer placeholders seen
    int next = 0;        // next integer digit to emit
    int decIndex = 0;
    bool afterPoint = false;
    bool done = false;
    auto emitInt = [&](int upTo) {
        for (; next < upTo; ++next) {
            out.push_back(intDigits[static_cast<size_t>(next)]);
            int remaining = len - next - 1;
            if (p.grouping && remaining > 0 && remaining % 3 == 0) out.push_back(thousands);
        }
    };
    const std::string_view s = p.text;
    char quote = 0;
    for (size_t i = 0; i < s.size() && !done; ++i) {
        const char c = s[i];
        const bool literal = quote && c != quote;
        if (TakeQuoted(c, quote)) {
            if (literal) out.push_back(c);
            continue;
        }
        switch (c) {
        case '0':
        case '#':
            if (!afterPoint) {
                ++placeIndex;
                // The digit for this place, plus every extra digit at the first place.
                int upTo = len - (p.intPlaces - placeIndex);
                emitInt(std::max(upTo, 0));
            } else {
                if (decIndex < static_cast<int>(r.decDigits.size())) out.push_back(r.decDigits[static_cast<size_t>(decIndex)]);
                ++decIndex;
            }
            break;
        case '.':
            if (!afterPoint) {
                emitInt(len);
                afterPoint = true;
                if (!r.decDigits.empty()) out.push_back(sep);
            }
            break;
        case ',':
            break;
        default:
            if (p.scientific && IsExponentAt(s, i)) {
                emitInt(len);
                out.push_back(p.expChar);
                if (r.exponent < 0)
                    out.push_back('-');
                else if (p.expAlwaysSign)
                    out.push_back('+');
                std::string e = std::to_string(std::abs(r.exponent));
                if (static_cast<int>(e.size()) < p.expDigits) e.insert(0, static_cast<size_t>(p.expDigits) - e.size(), '0');
                out += e;
                i += 1;
                while (i + 1 < s.size() && s[i + 1] == '0') ++i;
            } else {
                out.push_back(c);
            }
            break;
        }
    }
    return out;
}

}  // namespace

String FormatFloat(std::string_view format, double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    std::vector<std::string_view> sections = Sections(format);
    bool allEmpty = true;
    for (auto sec : sections)
        if (!sec.empty()) allEmpty = false;
    if (format.empty() || allEmpty) return FloatToStr(value);

    const bool negative = value < 0;
    std::string_view sec = sections[0];
    bool useSign = true;
    if (negative && sections.size() >= 2 && !sections[1].empty()) {
        sec = sections[1];
        useSign = false;
    }
    Picture p = Analyse(sec);
    Rendered r = Render(p, value);
    if (r.zero) {
        // A value that rounds to zero is shown as zero: the zero section, else the
        // positive one without a sign.
        if (sections.size() >= 3 && !sections[2].empty()) {
            Picture z = Analyse(sections[2]);
            return Apply(z, Render(z, 0.0), false);
        }
        if (!useSign) {
            Picture z = Analyse(sections[0]);
            return Apply(z, Render(z, 0.0), false);
        }
    }
    return Apply(p, r, negative && useSign && !r.zero);
}

}  // namespace base

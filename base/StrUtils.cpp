#include "base/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <locale.h>

#include "base/Exception.h"

namespace base {

namespace {


// Enough significant digits to hold any double's decimal value exactly.
constexpr int kExactDigits = 770;

// Decimal digits and exponent of a finite, nonzero |value|: value = 0.d1d2.. is NOT
// used; here value = d1.d2d3... x 10^exp.
struct Decimal {
    std::string digits;  // no leading zeros; trailing zeros stripped
    int exp = 0;
    bool negative = false;
};

// `precision` significant digits, correctly rounded; precision <= 0 means shortest
// round-trip digits.
Decimal ToDecimal(double value, int precision) {
    Decimal d;
    d.negative = std::signbit(value);
    double a = std::fabs(value);
    // A double's exact decimal value has at most 767 significant digits.
    char buf[800];
    std::to_chars_result r = precision > 0
        ? std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, precision - 1)
        : std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific);
    std::string_view text(buf, static_cast<size_t>(r.ptr - buf));
    size_t e = text.find('e');
    std::string_view mant = text.substr(0, e);
    for (char c : mant)
        if (c != '.') d.digits.push_back(c);
    int exp = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exp);
    d.exp = exp;
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

// d's digits with sep after the first one: the mantissa of the exponent notation.
void AppendMantissa(String& out, const Decimal& d, char sep) {
    out.push_back(d.digits[0]);
    if (d.digits.size() > 1) {
        out.push_back(sep);
        out.append(d.digits, 1, std::string::npos);
    }
}

// d in plain notation, sep as the decimal point; zeros fill up to the point.
void AppendPlain(String& out, const Decimal& d, char sep) {
    if (d.exp < 0) {
        out.push_back('0');
        out.push_back(sep);
        out.append(static_cast<size_t>(-d.exp - 1), '0');
        out += d.digits;
        return;
    }
    const int n = static_cast<int>(d.digits.size());
    const int intDigits = d.exp + 1;
    if (n <= intDigits) {
        out += d.digits;
        out.append(static_cast<size_t>(intDigits - n), '0');
    } else {
        out.append(d.digits, 0, static_cast<size_t>(intDigits));
        out.push_back(sep);
        out.append(d.digits, static_cast<size_t>(intDigits), std::string::npos);
    }
}

// The run-time library's general format: plain when -5 < exp < precision,
// otherwise d.dddE[-]x with no leading zeros in the exponent.
String GeneralFormat(double value, int precision, char sep) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";
    precision = std::clamp(precision, 1, 18);
    // Rounded once, half away from zero, from the exact value. 25 correctly rounded digits
    // decide it, unless they read as an exact half at `precision`: only then is the value
    // looked at in all its digits.
    Decimal d = ToDecimal(value, 25);
    if (static_cast<int>(d.digits.size()) == precision + 1 && d.digits.back() == '5')
        d = ToDecimal(value, kExactDigits);
    if (static_cast<int>(d.digits.size()) > precision) {
        const bool up = d.digits[static_cast<size_t>(precision)] >= '5';
        d.digits.resize(static_cast<size_t>(precision));
        if (up) {
            int i = precision - 1;
            while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') d.digits[static_cast<size_t>(i--)] = '0';
            if (i < 0) {
                d.digits.insert(d.digits.begin(), '1');
                d.digits.pop_back();
                ++d.exp;
            } else {
                ++d.digits[static_cast<size_t>(i)];
            }
        }
        while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    }
    String out;
    if (d.negative) out.push_back('-');
    if (d.exp < -4 || d.exp >= precision) {
        AppendMantissa(out, d, sep);
        out.push_back('E');
        out += std::to_string(d.exp);
    } else {
        AppendPlain(out, d, sep);
    }
    return out;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimView(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Plain decimal with optional sign, digits with `sep`, optional exponent.
bool ParseFloat(std::string_view text, char sep, double& out) {
    std::string_view s = TrimView(text);
    if (s.empty()) return false;
    std::string norm;
    size_t i = 0;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        ++i;
    }
    if (negative) norm.push_back('-');
    int intDigits = 0, fracDigits = 0;
    int firstNonZero = 0;  // decimal position of the leading nonzero digit, for range checks
    bool seenNonZero = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        if (s[i] != '0' && !seenNonZero) {
            seenNonZero = true;
            firstNonZero = 0;
        }
        if (seenNonZero) ++firstNonZero;
        norm.push_back(s[i++]);
        ++intDigits;
    }
    if (i < s.size() && s[i] == sep) {
        ++i;
        norm.push_back('.');
        int pos = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            --pos;
            if (s[i] != '0' && !seenNonZero) {
                seenNonZero = true;
                firstNonZero = pos + 1;
            }
            norm.push_back(s[i++]);
            ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0) return false;
    long long exp = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        norm.push_back('e');
        bool expNeg = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            expNeg = s[i] == '-';
            ++i;
        }
        if (expNeg) norm.push_back('-');
        int expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            if (exp < 100000) exp = exp * 10 + (s[i] - '0');
            norm.push_back(s[i++]);
            ++expDigits;
        }
        if (expDigits == 0) return false;
        if (expNeg) exp = -exp;
    }
    if (i != s.size()) return false;
    double v = 0;
    auto r = std::from_chars(norm.data(), norm.data() + norm.size(), v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Too small to represent reads as zero; too large is refused.
        if (!seenNonZero || firstNonZero + exp < 0) {
            out = negative ? -0.0 : 0.0;
            return true;
        }
        return false;
    }
    if (r.ec != std::errc() || r.ptr != norm.data() + norm.size()) return false;
    if (!std::isfinite(v)) return false;
    out = v;
    return true;
}

bool ParseInt(std::string_view text, long long& out) {
    std::string_view s = TrimView(text);
    if (s.empty()) return false;
    size_t i = 0;
    bool negative = false;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        i = 1;
    }
    if (i == s.size()) return false;
    unsigned long long mag = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        unsigned d = static_cast<unsigned>(s[i] - '0');
        if (mag > (9223372036854775808ull - d) / 10) return false;
        mag = mag * 10 + d;
    }
    if (negative) {
        out = mag == 9223372036854775808ull ? std::numeric_limits<long long>::min() : -static_cast<long long>(mag);
    } else {
        if (mag > 9223372036854775807ull) return false;
        out = static_cast<long long>(mag);
    }
    return true;
}

char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char ToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace


String IntToStr(long long value) { return std::to_string(value); }
String UIntToStr(unsigned long long value) { return std::to_string(value); }

String IntToHex(unsigned long long value, int digits) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, value, 16);
    String s(buf, r.ptr);
    for (char& c : s) c = ToUpper(c);
    if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<size_t>(digits) - s.size(), '0');
    return s;
}

String FloatToStr(double value) { return GeneralFormat(value, 15, DecimalSeparator()); }
String FloatToStrG(double value, int precision) { return GeneralFormat(value, precision, DecimalSeparator()); }

String FormatG(double value, int digits) {
    digits = std::clamp(digits, 1, 800);
    char buf[1200];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
    if (r.ec != std::errc()) return {};
    return String(buf, r.ptr);
}

String FormatShortest(double value) {
    if (!std::isfinite(value)) return FormatG(value, 6);
    if (value == 0) return std::signbit(value) ? "-0" : "0";
    Decimal d = ToDecimal(value, 0);
    const int n = static_cast<int>(d.digits.size());
    const int p = std::max(n, 6);
    String out;
    if (d.negative) out.push_back('-');
    if (d.exp < -4 || d.exp >= p) {
        AppendMantissa(out, d, '.');
        out.push_back('e');
        out.push_back(d.exp < 0 ? '-' : '+');
        int e = std::abs(d.exp);
        if (e < 10) out.push_back('0');
        out += std::to_string(e);
    } else {
        AppendPlain(out, d, '.');
    }
    return out;
}

String FloatToStrFixed(double value, int decimals) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    decimals = std::clamp(decimals, 0, 18);
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    String s(buf, r.ptr);
    if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == String::npos) s.erase(0, 1);
    const char sep = DecimalSeparator();
    if (sep != '.')
        for (char& c : s)
            if (c == '.') c = sep;
    return s;
}

bool TryParseDouble(std::string_view text, double& out) { return ParseFloat(text, '.', out); }

bool TryStrToFloat(std::string_view text, double& out) { return ParseFloat(text, DecimalSeparator(), out); }

double StrToFloat(std::string_view text) {
    double v = 0;
    if (!ParseFloat(text, DecimalSeparator(), v))
        throw EConvertError("'" + String(text) + "' is not a valid floating point value");
    return v;
}

double StrToFloatDef(std::string_view text, double fallback) {
    double v = 0;
    return ParseFloat(text, DecimalSeparator(), v) ? v : fallback;
}

long long StrToInt(std::string_view text) {
    long long v = 0;
    if (!ParseInt(text, v)) throw EConvertError("'" + String(text) + "' is not a valid integer value");
    return v;
}

long long StrToIntDef(std::string_view text, long long fallback) {
    long long v = 0;
    return ParseInt(text, v) ? v : fallback;
}

bool TryStrToInt(std::string_view text, long long& out) { return ParseInt(text, out); }

String Trim(std::string_view s) { return String(TrimView(s)); }

String TrimLeft(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && IsBlank(s[b])) ++b;
    return String(s.substr(b));
}

String TrimRight(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1])) --e;
    return String(s.substr(0, e));
}

String UpperCase(std::string_view s) {
    String r(s);
    for (char& c : r) c = ToUpper(c);
    return r;
}

String LowerCase(std::string_view s) {
    String r(s);
    for (char& c : r) c = ToLower(c);
    return r;
}

String AnsiUpperCase(std::string_view s) {
    String out(s);
    for (char& c : out) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7)) c = static_cast<char>(u - 0x20);
        else if (u == 0x9A || u == 0x9C || u == 0x9E) c = static_cast<char>(u - 0x10);
        else if (u == 0xFF) c = static_cast<char>(0x9F);
    }
    return out;
}

bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }

int CompareText(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int ca = static_cast<unsigned char>(ToUpper(a[i]));
        int cb = static_cast<unsigned char>(ToUpper(b[i]));
        if (ca != cb) return ca - cb;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int Pos(std::string_view sub, std::string_view s) {
    if (sub.empty()) return 0;
    size_t p = s.find(sub);
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

String Copy(std::string_view s, int index, int count) {
    if (index < 1) index = 1;
    const long long len = static_cast<long long>(s.size());
    if (count <= 0 || index > len) return {};
    long long n = std::min<long long>(count, len - index + 1);
    return String(s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(n)));
}

String StringReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return String(s);
    String out;
    size_t i = 0;
    for (;;) {
        size_t p = s.find(from, i);
        if (p == std::string_view::npos) break;
        out.append(s, i, p - i);
        out.append(to);
        i = p + from.size();
    }
    out.append(s, i, std::string_view::npos);
    return out;
}

String Format(const char* fmt, ...) {
    // Numbers always with '.', whatever locale the process has set.
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    locale_t old = cLocale ? uselocale(cLocale) : static_cast<locale_t>(0);
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    char buf[256];
    int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    String out;
    if (n >= 0 && static_cast<size_t>(n) < sizeof buf) {
        out.assign(buf, static_cast<size_t>(n));
    } else if (n >= 0) {
        out.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), fmt, ap2);
        out.resize(static_cast<size_t>(n));
    }
    va_end(ap2);
    if (cLocale) uselocale(old);
    return out;
}

}  // namespace base

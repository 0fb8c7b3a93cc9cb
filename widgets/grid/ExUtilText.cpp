// Cell text conversions: CSV and line-feed folding, lines, code pages, wide texts and
// the two classifiers.
#include <cmath>
#include <cstdio>

#include "base/StrUtils.h"
#include "widgets/grid/ExUtil.h"

namespace grid {

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';

bool Holds(const String& s, char c) { return s.find(c) != String::npos; }

// Every occurrence of `what` replaced by `with`.
String ReplaceAll(const String& s, std::string_view what, std::string_view with)
{
    String out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        if (s.compare(i, what.size(), what) == 0) {
            out += with;
            i += what.size();
        } else {
            out += s[i++];
        }
    }
    return out;
}

// Each character of `from` replaced by the text at the same index of `to` (empty: removed).
String MapChars(const String& s, std::string_view from, std::initializer_list<std::string_view> to)
{
    String out;
    out.reserve(s.size());
    for (char c : s) {
        const size_t k = from.find(c);
        if (k == std::string_view::npos) out += c;
        else out += *(to.begin() + k);
    }
    return out;
}

}  // namespace

String CSVQuotes(const String& s) { return ReplaceAll(s, "\"", "\"\""); }

String DoubleToSingleChar(char c, const String& s)
{
    if (!Holds(s, c)) return s;
    String out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != c) {
            out += s[i];
        } else if (i + 1 < s.size() && s[i + 1] == c) {
            out += c;
            ++i;
        }
    }
    return out;
}

void LineFeedsToCSV(String& s) { s = "\"" + ReplaceAll(s, "\r\n", "\x0B") + "\""; }

void LineFeedsToCSVNQ(String& s) { s = ReplaceAll(s, "\r\n", "\n"); }

void CSVToLineFeeds(String& s)
{
    if (Holds(s, '\x0B')) s = ReplaceAll(s, "\x0B", "\r\n");
}

void LineFeedsToJava(String& s) { s = MapChars(s, "\r\n", {"~", ""}); }

void JavaToLineFeeds(String& s)
{
    s = ReplaceAll(s, "~", "\r\n");
    if (s == "^") s.clear();
}

// Texts that the TAB / backspace folding cannot give back (they hold those characters,
// a lone LF, or begin with ESC) are written as ESC and an escaped body instead.
String LfToFile(const String& s)
{
    const bool awkward = Holds(s, '\t') || Holds(s, '\x08') || (!s.empty() && s[0] == '\x1b') ||
                         (Holds(s, '\n') && !Holds(s, CR));
    if (awkward) return "\x1b" + MapChars(s, "\r\n\t\x08\x1b", {"\x1br", "\x1bn", "\x1bt", "\x1b" "b", "\x1b" "e"});
    return Holds(s, CR) ? MapChars(s, "\r\n", {"\t", "\x08"}) : s;
}

namespace {
String UnEscape(const String& s)
{
    String t;
    for (size_t i = 1; i < s.size(); ++i) {
        if (s[i] != '\x1b' || i + 1 >= s.size()) {
            t += s[i];
            continue;
        }
        switch (s[++i]) {
        case 'r': t += '\r'; break;
        case 'n': t += '\n'; break;
        case 't': t += '\t'; break;
        case 'b': t += '\x08'; break;
        case 'e': t += '\x1b'; break;
        default: t += s[i];
        }
    }
    return t;
}
}  // namespace

String FileToLf(const String& s, bool multiLine)
{
    String t = (!s.empty() && s[0] == '\x1b')  ? UnEscape(s)
               : Holds(s, '\x08')             ? MapChars(s, "\t\x08", {"\r", "\n"})
                                             : s;
    if (multiLine) return t;
    return GetNextLine(t, false);
}

short ProgressPercent(long long part, long long whole)
{
    return short(std::nearbyint(double(part) * 100.0 / double(whole < 1 ? 1 : whole)));
}

String LFToCLF(const String& s) { return MapChars(s, "\r\n", {"\\n", ""}); }

String CLFToLF(const String& s) { return ReplaceAll(s, "\\n", "\r"); }

String LineFeedsToXLS(const String& s) { return MapChars(s, "\r", {""}); }

String CRToLF(const String& s) { return LineFeedsToXLS(s); }

String HTMLLineBreaks(const String& s) { return Holds(s, CR) ? ReplaceAll(s, "\r", "<br>") : s; }

String GetNextLine(String& text, bool multiLine)
{
    const size_t cr = text.find(CR);
    if (cr == String::npos) {
        String line = std::move(text);
        text.clear();
        return line;
    }
    String line = text.substr(0, cr);
    size_t rest = cr + 1;
    if (rest < text.size() && text[rest] == LF) ++rest;
    if (multiLine) text.erase(0, rest);
    else text.clear();
    return line;
}

std::vector<String> TextLines(String text, bool multiLine)
{
    std::vector<String> lines;
    do lines.push_back(GetNextLine(text, multiLine));
    while (!text.empty());
    return lines;
}

int LinesInText(const String& s, bool multiLine) { return multiLine ? 1 + NumChar(CR, s) : 1; }

void StringToOem(String& s) { s = platform::CharToOem(s); }

void OemToString(String& s) { s = platform::OemToChar(s); }

void StringToPassword(String& s, char mask) { s.assign(s.size(), mask); }

String HTMLColor(uint32_t color)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    return buf;
}

String EncodeWideStr(const WideString& s)
{
    String out(kWidePrefix);
    out.reserve(kWidePrefix.size() + 2 * s.size());
    for (char16_t u : s) {
        out += static_cast<char>(u >> 8);
        out += static_cast<char>(u & 0xFF);
    }
    return out;
}

WideString DecodeWideStr(const String& s)
{
    if (s.compare(0, kWidePrefix.size(), kWidePrefix) != 0) return platform::AnsiToWide(s);
    WideString out;
    for (size_t i = kWidePrefix.size(); i + 1 < s.size(); i += 2)
        out += static_cast<char16_t>(static_cast<unsigned char>(s[i]) * 256 + static_cast<unsigned char>(s[i + 1]));
    return out;
}

String WideStandIn(const WideString& s)
{
    String out;
    out.reserve(s.size());
    for (char16_t ch : s) out += ch < 256 ? char(ch) : '?';
    return out;
}

TTextType TextType(const String& s, bool html)
{
    if (s.empty()) return TTextType::ttText;
    if (s[0] == '=') return TTextType::ttFormula;
    if (s.compare(0, 2, "|\\") == 0) return TTextType::ttUnicode;
    if (s.compare(0, 2, "{\\") == 0) return TTextType::ttRTF;
    if (html && (s.find("</") != String::npos || s.find("<B") != String::npos || s.find("<I") != String::npos))
        return TTextType::ttHTML;
    return TTextType::ttText;
}

TAutoType IsType(const String& s)
{
    if (s.empty()) return TAutoType::atString;
    const char thousand = base::ThousandSeparator();
    const char decimal = base::DecimalSeparator();
    bool integer = true, number = true;
    int lastThousand = -1, thousands = 0, decimals = 0, minuses = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const int pos = static_cast<int>(i) + 1;
        const bool digit = c >= '0' && c <= '9';
        if (c != '-' && !digit) integer = false;
        if (c == '-' && pos > 1) integer = number = false;
        if (c != '-' && !digit && c != thousand && c != decimal) number = false;
        if (c == thousand) {
            if (pos - lastThousand < 3) number = false;
            lastThousand = pos;
            ++thousands;
        }
        if (c == decimal) ++decimals;
        if (c == '-') ++minuses;
    }
    if (thousands > 1 || minuses > 1 || decimals > 1) return TAutoType::atString;
    if (integer) return TAutoType::atNumeric;
    return number ? TAutoType::atFloat : TAutoType::atString;
}

String RemoveSeps(const String& s)
{
    String t = base::Trim(s);
    if (t.empty()) return {};
    const char thousand = base::ThousandSeparator();
    const char decimal = base::DecimalSeparator();
    bool negative = t.front() == '(' && t.back() == ')';
    // Leading signs, currency and blanks go; a leading "E" too, so "EUR -3" reads as -3.
    while (t.size() >= 2 && !((t[0] >= '0' && t[0] <= '9') || t[0] == thousand || t[0] == decimal)) {
        if (t[0] == '-') negative = true;
        t.erase(0, 1);
    }
    String out;
    for (char c : t) {
        if (c == thousand) continue;
        if (c == decimal) out += '.';
        else if (c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 'E' || c == 'e') out += c;
        else break;
    }
    return negative ? "-" + out : out;
}

String FixDecimalSeparator(const String& s)
{
    if (base::DecimalSeparator() != ',') return s;
    String out = s;
    const size_t k = out.find(',');
    if (k != String::npos) out[k] = '.';
    return out;
}

}  // namespace grid

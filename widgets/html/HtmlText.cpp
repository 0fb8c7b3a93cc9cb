#include "widgets/html/HtmlText.h"

#include <climits>
#include <filesystem>
#include <system_error>

#include "platform/system/OsVersion.h"

namespace html {

namespace {

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string ToUpper(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = Upper(c);
    return r;
}

// 0-based index of sub in text at or after from, ignoring case; npos when absent.
std::size_t FindNoCase(std::string_view text, std::string_view sub, std::size_t from = 0)
{
    if (sub.size() > text.size())
        return std::string_view::npos;
    for (std::size_t i = from; i + sub.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < sub.size() && Upper(text[i + k]) == Upper(sub[k]))
            ++k;
        if (k == sub.size())
            return i;
    }
    return std::string_view::npos;
}

// Replaces every match that find(text, from, at) reports, scanning on after each one.
template <class Find>
std::string ReplaceAllWith(std::string_view text, std::string_view from, std::string_view to, Find find)
{
    std::string out;
    std::size_t i = 0;
    while (true) {
        std::size_t p = find(text, from, i);
        if (p == std::string_view::npos)
            break;
        out.append(text.substr(i, p - i));
        out.append(to);
        i = p + from.size();
    }
    out.append(text.substr(i));
    return out;
}

std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to)
{
    return ReplaceAllWith(text, from, to, [](std::string_view t, std::string_view f, std::size_t at) {
        return FindNoCase(t, f, at);
    });
}

std::string ReplaceAllExact(std::string_view text, std::string_view from, std::string_view to)
{
    return ReplaceAllWith(text, from, to,
                          [](std::string_view t, std::string_view f, std::size_t at) { return t.find(f, at); });
}

// Removes every "<...>"; a "<" with no ">" after it stays, with the rest of the text.
std::string RemoveTags(std::string_view s)
{
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == '<') {
            std::size_t close = s.find('>', i + 1);
            if (close == std::string_view::npos) {
                out.append(s.substr(i));
                break;
            }
            i = close + 1;
        } else {
            out.push_back(s[i++]);
        }
    }
    return out;
}

// Drops each open..close run (exact case); stops at an opening without its closing.
std::string RemoveHiddenRuns(std::string s, std::string_view open, std::string_view close)
{
    std::size_t from = 0;
    while (true) {
        std::size_t a = s.find(open, from);
        if (a == std::string::npos)
            break;
        std::size_t b = s.find(close, a + open.size());
        if (b == std::string::npos)
            break;
        s.erase(a, b + close.size() - a);
        from = a;
    }
    return s;
}

// Index into text of visible position k (from 1): in front of any tags that precede
// that visible character; text.size() when k is one past the last visible character.
// An unterminated "<" counts as visible text, as in the stripped text.
std::size_t PlaceOfVisible(std::string_view text, std::size_t k)
{
    std::size_t counter = 1;
    bool inTag = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '<' && !inTag && text.find('>', i + 1) != std::string_view::npos)
            inTag = true;
        if (counter == k)
            return i;
        if (!inTag)
            ++counter;
        if (c == '>')
            inTag = false;
    }
    return text.size();
}

// One CONTROL tag: [start, end) in the text, end past its ">" (or the text's end).
struct ControlTag {
    std::size_t start = 0;
    std::size_t end = 0;
    std::string type, id, value, width, prop;
};

std::string AttrValue(std::string_view tag, std::string_view name)
{
    std::size_t p = FindNoCase(tag, name);
    if (p == std::string_view::npos)
        return {};
    std::size_t q1 = tag.find('"', p + name.size());
    if (q1 == std::string_view::npos)
        return {};
    std::size_t q2 = tag.find('"', q1 + 1);
    if (q2 == std::string_view::npos)
        return {};
    return std::string(tag.substr(q1 + 1, q2 - q1 - 1));
}

// Finds the next "<CONTROL " tag at or after from; false when there is none.
bool NextControl(std::string_view text, std::size_t from, ControlTag& c)
{
    std::size_t p = FindNoCase(text, "<CONTROL ", from);
    if (p == std::string_view::npos)
        return false;
    std::size_t close = text.find('>', p);
    std::size_t tagEnd = close == std::string_view::npos ? text.size() : close;
    std::string_view tag = text.substr(p, tagEnd - p);
    c.start = p;
    c.end = close == std::string_view::npos ? text.size() : close + 1;
    c.type = ToUpper(AttrValue(tag, "TYPE="));
    c.id = AttrValue(tag, "ID=");
    c.value = RestoreAngleBrackets(AttrValue(tag, "VALUE="));
    c.width = AttrValue(tag, "WIDTH=");
    c.prop = AttrValue(tag, "PROP=");
    return true;
}

bool FindControl(std::string_view text, std::string_view id, ControlTag& c)
{
    std::size_t from = 0;
    while (NextControl(text, from, c)) {
        if (c.id == id)
            return true;
        from = c.end;
    }
    return false;
}

bool DetectFromPlatform()
{
    platform::OsVersionInfo v = platform::GetOsVersion();
    return IsWinXPOrLater(v.major, v.minor);
}

}  // namespace

std::string HTMLStrip(std::string_view text, HTMLVariant variant)
{
    std::string s = ReplaceAllNoCase(text, "<BR>", "\r\n");
    s = ReplaceAllNoCase(s, "<HR>", "\r\n");
    if (variant == HTMLVariant::Panel) {
        s = RemoveHiddenRuns(std::move(s), "<z>", "</z>");
        s = RemoveHiddenRuns(std::move(s), "<Z>", "</Z>");
    }
    return RemoveTags(s);
}

std::string HiLight(std::string_view text, std::string_view hiText, std::string_view tag, bool doCase)
{
    if (hiText.empty())
        return std::string(text);
    std::string visible = RemoveTags(text);
    std::string search(hiText);
    if (!doCase) {
        visible = ToUpper(visible);
        search = ToUpper(search);
    }
    const std::string open = "<" + std::string(tag) + ">";
    const std::string close = "</" + std::string(tag) + ">";
    // Places are taken on the original text and the tags merged in one pass, so a
    // closing tag always comes before the next occurrence's opening tag.
    std::string out;
    std::size_t copied = 0;
    auto emit = [&](std::size_t place, const std::string& tagText) {
        out.append(text.substr(copied, place - copied));
        out.append(tagText);
        copied = place;
    };
    std::size_t from = 0;
    while (true) {
        std::size_t at = visible.find(search, from);
        if (at == std::string::npos)
            break;
        std::size_t p = at + 1;  // visible positions count from 1
        emit(PlaceOfVisible(text, p), open);
        emit(PlaceOfVisible(text, p + search.size()), close);
        from = at + search.size();
    }
    out.append(text.substr(copied));
    return out;
}

std::string UnHiLight(std::string_view text, std::string_view tag)
{
    const std::string name = ToUpper(tag);
    std::string s = ReplaceAllNoCase(text, "<" + name + ">", "");
    return ReplaceAllNoCase(s, "</" + name + ">", "");
}

std::string FixMarkup(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

std::string FixNonBreaking(std::string_view text)
{
    return ReplaceAllExact(text, " ", "&nbsp;");
}

bool HasHTMLControl(std::string_view text)
{
    return FindNoCase(text, "<CONTROL") != std::string_view::npos;
}

std::string GetNextControlID(std::string_view text, std::string_view currentID)
{
    bool passed = currentID.empty();
    ControlTag c;
    std::size_t from = 0;
    while (NextControl(text, from, c)) {
        from = c.end;
        if (passed) {
            if (c.type != "BUTTON" && c.type != "CHECK" && c.type != "RADIO")
                return c.id;
        } else if (c.id == currentID) {
            passed = true;
        }
    }
    return {};
}

bool GetControlValue(std::string_view text, std::string_view id, std::string& value)
{
    ControlTag c;
    if (!FindControl(text, id, c))
        return false;
    value = c.value;
    return true;
}

std::string GetControlProp(std::string_view text, std::string_view id)
{
    ControlTag c;
    return FindControl(text, id, c) ? c.prop : std::string();
}

bool SetControlValue(std::string& text, std::string_view id, std::string_view value, HTMLVariant variant)
{
    ControlTag c;
    if (!FindControl(text, id, c))
        return false;
    std::string escaped;
    if (variant == HTMLVariant::Grid) {
        escaped = FixMarkup(value);
    } else {
        escaped = ReplaceAllExact(value, "<", "&lt;");
        escaped = ReplaceAllExact(escaped, ">", "&gt;");
    }
    std::string tag = "<CONTROL ID=\"" + std::string(id) + "\" VALUE=\"" + escaped + "\" WIDTH=\"" + c.width +
                      "\" TYPE=\"" + c.type + "\"";
    if (variant == HTMLVariant::Grid && !c.prop.empty())
        tag += " PROP=\"" + c.prop + "\"";
    tag += ">";
    text.replace(c.start, c.end - c.start, tag);
    return true;
}

int VarPosNC(std::string_view sub, std::string_view text, int& pos)
{
    pos = PosNoCase(sub, text);
    return pos;
}

bool IsWinXPOrLater(unsigned major, unsigned minor)
{
    return major > 5 || (major == 5 && minor > 0);
}

namespace grdhtmle {
bool IsWinXP = DetectFromPlatform();
bool DetectWinXP()
{
    IsWinXP = DetectFromPlatform();
    return IsWinXP;
}
}  // namespace grdhtmle

namespace parhtml {
bool IsWinXP = DetectFromPlatform();
bool DetectWinXP()
{
    IsWinXP = DetectFromPlatform();
    return IsWinXP;
}
}  // namespace parhtml

// --- Helpers ---

platform::TColor ColorFromName(std::string_view name)
{
    struct Entry {
        const char* name;
        std::uint32_t value;
    };
    static constexpr Entry plain[] = {
        {"clred", 0x0000FF},    {"clblack", 0x000000},  {"clblue", 0xFF0000},   {"clgreen", 0x008000},
        {"claqua", 0xFFFF00},   {"clyellow", 0x00FFFF}, {"clfuchsia", 0xFF00FF}, {"clwhite", 0xFFFFFF},
        {"cllime", 0x00FF00},   {"clsilver", 0xC0C0C0}, {"clgray", 0x808080},   {"clolive", 0x008080},
        {"clnavy", 0x800000},   {"clpurple", 0x800080}, {"clteal", 0x808000},   {"clmaroon", 0x000080},
    };
    static constexpr Entry system[] = {
        {"clbackground", 0x80000001},      {"clactivecaption", 0x80000002}, {"clinactivecaption", 0x80000003},
        {"clmenu", 0x80000004},            {"clwindow", 0x80000005},        {"clwindowframe", 0x80000006},
        {"clmenutext", 0x80000007},        {"clwindowtext", 0x80000008},    {"clcaptiontext", 0x80000009},
        {"clactiveborder", 0x8000000A},    {"clinactiveborder", 0x8000000B}, {"clappworkspace", 0x8000000C},
        {"clhighlight", 0x8000000D},       {"clhighlighttext", 0x8000000E}, {"clbtnface", 0x8000000F},
        {"clbtnshadow", 0x80000010},       {"clgraytext", 0x80000011},      {"clbtntext", 0x80000012},
        {"clinactivecaptiontext", 0x80000013}, {"clbtnhighlight", 0x80000014}, {"cl3ddkshadow", 0x80000015},
        {"cl3dlight", 0x80000016},         {"clinfotext", 0x80000017},      {"clinfobk", 0x80000018},
    };
    for (const Entry& e : plain)
        if (name == e.name)
            return static_cast<platform::TColor>(e.value);
    for (const Entry& e : system)
        if (name == e.name)
            return static_cast<platform::TColor>(e.value);
    return 0;
}

platform::TColor ColorFromHex(std::string_view value)
{
    auto digit = [](char c) -> long {
        unsigned char u = static_cast<unsigned char>(c);
        return u >= 'A' ? long(u) - 55 : long(u) - 48;
    };
    auto pair = [&](std::size_t at) -> long {
        if (at + 2 > value.size())
            return 0;
        return digit(value[at]) * 16 + digit(value[at + 1]);
    };
    long colour = pair(1) + pair(3) * 256 + pair(5) * 65536;
    // Characters that are not hexadecimal digits must not make a system colour or
    // the no-colour value out of a "#" colour.
    return static_cast<platform::TColor>(static_cast<std::uint32_t>(colour) & 0x00FFFFFFu);
}

int PosNoCase(std::string_view sub, std::string_view text)
{
    if (sub.empty())
        return 0;
    std::size_t p = FindNoCase(text, sub);
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

bool ReplaceNoCase(std::string& text, std::string_view from, std::string_view to)
{
    if (from.empty())
        return false;
    std::size_t p = FindNoCase(text, from);
    if (p == std::string::npos)
        return false;
    text.replace(p, from.size(), to);
    return true;
}

int LenientStrToInt(std::string_view text, bool* whole)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    long long v = 0;
    std::size_t digits = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        if (v <= (long long)INT_MAX + 1)
            v = v * base + d;
        ++digits;
    }
    if (whole)
        *whole = digits > 0 && i == text.size();
    if (negative)
        v = -v;
    if (v > INT_MAX)
        v = INT_MAX;
    if (v < INT_MIN)
        v = INT_MIN;
    return static_cast<int>(v);
}

std::string LineBreaksToBR(std::string_view text, bool noBreaks)
{
    std::string out;
    for (char c : text) {
        if (c == '\r') {
            if (!noBreaks)
                out += "<BR>";
        } else if (c != '\n') {
            out.push_back(c);
        }
    }
    return out;
}

std::string RestoreAngleBrackets(std::string_view text)
{
    std::string s = ReplaceAllExact(text, "&lt;", "<");
    return ReplaceAllExact(s, "&gt;", ">");
}

std::string PasswordMask(std::string_view text)
{
    return std::string(text.size(), '*');
}

bool IsFolder(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

}  // namespace html

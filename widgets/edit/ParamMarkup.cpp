#include "widgets/edit/ParamMarkup.h"

#include "base/StrUtils.h"
#include "base/StringList.h"

namespace edit {

namespace {

std::string Upper(const std::string& s) { return base::UpperCase(s); }

// Case-insensitive find of what in s from pos.
std::size_t FindNC(const std::string& s, const std::string& what, std::size_t pos = 0)
{
    return Upper(s).find(Upper(what), pos);
}

// The value of name="..." inside an opening tag; empty when absent.
std::string Attribute(const std::string& tag, const std::string& name)
{
    const std::size_t p = FindNC(tag, name + "=\"");
    if (p == std::string::npos) return {};
    const std::size_t start = p + name.size() + 2;
    const std::size_t end = tag.find('"', start);
    return end == std::string::npos ? tag.substr(start) : tag.substr(start, end - start);
}

// Where the name of the anchor named href starts (after href="), or npos; also its end.
std::size_t FindHref(const std::string& s, const std::string& href, std::size_t& nameEnd)
{
    std::size_t from = 0;
    for (;;) {
        const std::size_t p = FindNC(s, "href=\"", from);
        if (p == std::string::npos) return std::string::npos;
        const std::size_t start = p + 6;
        const std::size_t close = s.find('"', start);
        if (close == std::string::npos) return std::string::npos;
        if (base::SameText(s.substr(start, close - start), href)) {
            nameEnd = close;
            return p;
        }
        from = close + 1;
    }
}

}  // namespace

bool GetHREFValue(const std::string& s, const std::string& href, std::string& value)
{
    std::size_t from = 0;
    for (;;) {
        const std::size_t p = FindNC(s, "href=\"", from);
        if (p == std::string::npos) return false;
        const std::size_t start = p + 6;
        const std::size_t close = s.find('"', start);
        if (close == std::string::npos) return false;
        from = close + 1;
        if (!base::SameText(s.substr(start, close - start), href)) continue;
        const std::size_t gt = s.find('>', close + 1);
        if (gt == std::string::npos) continue;
        const std::size_t lt = s.find('<', gt + 1);
        if (lt == std::string::npos) continue;
        value = s.substr(gt + 1, lt - gt - 1);
        return true;
    }
}

bool SetHREFValue(std::string& s, const std::string& href, const std::string& value)
{
    std::string old;
    if (!GetHREFValue(s, href, old)) return false;
    std::size_t nameEnd = 0;
    const std::size_t p = FindHref(s, href, nameEnd);
    if (p == std::string::npos) return false;
    // The anchor's own text, right after its opening tag, directly closed.
    const std::size_t q = s.find('>', nameEnd + 1);
    if (q == std::string::npos || FindNC(s, ">" + old + "</A", q) != q) return false;  // nothing replaced
    s.replace(q + 1, old.size(), value);
    return true;
}

std::string HTMLPrep(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string InvHTMLPrep(const std::string& s)
{
    static const struct {
        const char* entity;
        char c;
    } entities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}};
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        bool done = false;
        if (s[i] == '&')
            for (const auto& e : entities) {
                const std::size_t n = std::char_traits<char>::length(e.entity);
                if (s.compare(i, n, e.entity) == 0) {
                    out += e.c;
                    i += n;
                    done = true;
                    break;
                }
            }
        if (!done) out += s[i++];
    }
    return out;
}

void PropToList(const std::string& s, base::TStrings& list)
{
    list.Clear();
    std::size_t from = 0;
    for (;;) {
        const std::size_t bar = s.find('|', from);
        if (bar == std::string::npos) break;
        list.Add(s.substr(from, bar - from));
        from = bar + 1;
    }
    if (from < s.size()) list.Add(s.substr(from));
}

bool ExtractParamInfo(const std::string& text, const std::string& href, std::string& cls, std::string& value,
                      std::string& props, std::string& hint)
{
    std::string s = text;
    for (;;) {
        const std::size_t a = FindNC(s, "<a");
        if (a == std::string::npos) return false;
        s.erase(0, a + 3);
        const std::size_t gt = s.find('>');
        if (gt == std::string::npos) continue;
        const std::string tag = s.substr(0, gt + 1);
        if (base::SameText(Attribute(tag, "href"), href)) {
            const std::size_t close = s.find("</", gt + 1);
            if (close != std::string::npos) {
                value = s.substr(gt + 1, close - gt - 1);
                cls = Upper(Attribute(tag, "class"));
                props = Attribute(tag, "props");
                hint = Attribute(tag, "hint");
                return true;
            }
        }
        s.erase(0, gt + 1);
    }
}

}  // namespace edit

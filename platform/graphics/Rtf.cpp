// RTF reader and writer for the rich-text subset of Rtf.h.
#include "platform/graphics/Rtf.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace platform {

namespace {

void PutUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The next code point of UTF-8 text at i; a broken sequence gives U+FFFD for one byte.
char32_t NextUtf8(const std::string& s, std::size_t& i)
{
    const unsigned char b = (unsigned char)s[i];
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < len; ++k) {
        const unsigned char t = (unsigned char)s[i + k];
        if ((t >> 6) != 2) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (t & 0x3F);
    }
    i += len;
    return c;
}

char32_t FromAnsi(unsigned char ch)
{
    const std::u16string w = AnsiToWide(std::string(1, char(ch)));
    return w.empty() ? U'?' : char32_t(w[0]);
}

// The Windows-1252 byte for a code point, or 0 when the page lacks it.
unsigned char ToAnsi(char32_t c)
{
    if (c < 0x80) return (unsigned char)c;
    if (c > 0xFFFF) return 0;
    const std::string a = WideToAnsi(std::u16string(1, char16_t(c)));
    return a.size() == 1 && a[0] != '?' ? (unsigned char)a[0] : 0;
}

enum class Dest { Text, FontTable, ColorTable, Skip };

struct State {
    TRichCharFormat format;
    TRichAlign align = TRichAlign::Left;
    int uc = 1;
    Dest dest = Dest::Text;
};

constexpr std::size_t kMaxDepth = 256;

// Groups whose content is never text of the document.
bool SkippedDestination(const std::string& w)
{
    static const char* const kSkip[] = {
        "stylesheet", "info",    "pict",      "header",    "headerl",   "headerr",    "headerf",
        "footer",     "footerl", "footerr",   "footerf",   "object",    "fldinst",    "listtable",
        "listoverridetable", "rsidtbl", "generator", "themedata", "colorschememapping", "latentstyles",
        "datastore",  "xmlnstbl", "listtext", "pntext",    "pntxta",    "pntxtb",     "footnote",
        "annotation", "filetbl", "revtbl",    "shp",       "nonshppict", "bkmkstart", "bkmkend",
        "falt",       "panose",  "fname",     "template",  "comment",   "atnid",      "atnauthor"};
    for (const char* s : kSkip)
        if (w == s) return true;
    return false;
}

class Reader {
public:
    Reader(const std::string& s) : s_(s) {}

    bool Run(TRichContent& out, std::string* error)
    {
        std::size_t p = 0;
        while (p < s_.size() && (s_[p] == ' ' || s_[p] == '\r' || s_[p] == '\n' || s_[p] == '\t')) ++p;
        if (s_.compare(p, 5, "{\\rtf") != 0) return Fail(error, "not RTF: the text does not start with {\\rtf");
        i_ = p;
        while (i_ < s_.size()) {
            const char ch = s_[i_++];
            if (ch == '{') {
                if (stack_.size() >= kMaxDepth) return Fail(error, "RTF groups nested too deeply");
                stack_.push_back(stack_.empty() ? State() : stack_.back());
                skip_ = 0;
            } else if (ch == '}') {
                skip_ = 0;
                if (!stack_.empty() && stack_.back().dest == Dest::FontTable && !fontName_.empty()) EndFont();
                if (stack_.empty()) break;
                stack_.pop_back();
                if (stack_.empty()) break;  // the document's own group ends
            } else if (ch == '\\') {
                Control();
            } else if (ch == '\r' || ch == '\n') {
            } else if (!stack_.empty()) {
                Char(FromAnsi((unsigned char)ch), ch);
            }
        }
        if (!para_.Runs.empty() || doc_.Paragraphs.empty()) EndParagraph();
        out = std::move(doc_);
        return true;
    }

private:
    bool Fail(std::string* error, const char* why)
    {
        if (error) *error = why;
        return false;
    }
    State& Top() { return stack_.back(); }

    void Control()
    {
        if (i_ >= s_.size()) return;
        const char c = s_[i_];
        if (!std::isalpha((unsigned char)c)) {
            ++i_;
            if (stack_.empty()) return;
            switch (c) {
            case '\\': case '{': case '}': Char(char32_t(c), c); break;
            case '~': Char(0xA0, 0); break;
            case '_': Char(U'-', 0); break;
            case '\'': {
                int v = 0, n = 0;
                while (n < 2 && i_ < s_.size() && std::isxdigit((unsigned char)s_[i_])) {
                    const char h = char(std::tolower((unsigned char)s_[i_++]));
                    v = v * 16 + (h <= '9' ? h - '0' : h - 'a' + 10);
                    ++n;
                }
                if (n > 0) Char(FromAnsi((unsigned char)v), 0);
                break;
            }
            case '*': Top().dest = Dest::Skip; break;
            case '\r': case '\n': Word("par", false, 0); break;
            default: break;  // other symbols: nothing of the subset
            }
            return;
        }
        std::string word;
        while (i_ < s_.size() && std::isalpha((unsigned char)s_[i_]) && word.size() < 32) word += s_[i_++];
        while (i_ < s_.size() && std::isalpha((unsigned char)s_[i_])) ++i_;  // overlong: cut
        bool hasParam = false, neg = false;
        long long param = 0;
        if (i_ < s_.size() && s_[i_] == '-' && i_ + 1 < s_.size() && std::isdigit((unsigned char)s_[i_ + 1])) {
            neg = true;
            ++i_;
        }
        while (i_ < s_.size() && std::isdigit((unsigned char)s_[i_])) {
            hasParam = true;
            if (param < 100000000) param = param * 10 + (s_[i_] - '0');
            ++i_;
        }
        if (i_ < s_.size() && s_[i_] == ' ') ++i_;
        if (stack_.empty()) return;
        Word(word, hasParam, int(neg ? -param : param));
    }

    void Word(const std::string& w, bool hasParam, int n)
    {
        State& st = Top();
        if (w == "bin") {  // binary data: skipped whole
            const std::size_t len = hasParam && n > 0 ? std::size_t(n) : 0;
            i_ = std::min(s_.size(), i_ + len);
            return;
        }
        if (st.dest == Dest::Skip) return;
        if (skip_ > 0 && w != "par") {  // a control word counts as one skipped fallback character
            --skip_;
            return;
        }
        TRichCharFormat& f = st.format;
        const bool on = !hasParam || n != 0;
        if (w == "fonttbl") st.dest = Dest::FontTable;
        else if (w == "colortbl") {
            st.dest = Dest::ColorTable;
            red_ = green_ = blue_ = -1;
        } else if (SkippedDestination(w)) st.dest = Dest::Skip;
        else if (st.dest == Dest::FontTable) {
            if (w == "f") fontNumber_ = n;
        } else if (st.dest == Dest::ColorTable) {
            const int v = std::clamp(n, 0, 255);
            if (w == "red") red_ = v;
            else if (w == "green") green_ = v;
            else if (w == "blue") blue_ = v;
        } else if (w == "deff") deff_ = n;
        else if (w == "f") f.FontName = Font(n);
        else if (w == "fs") f.HalfPoints = hasParam ? std::clamp(n, 1, 3276) : 24;
        else if (w == "b") f.Bold = on;
        else if (w == "i") f.Italic = on;
        else if (w == "ul" || w == "uld" || w == "uldb" || w == "ulw" || w == "uldash" || w == "ulth") f.Underline = on;
        else if (w == "ulnone") f.Underline = false;
        else if (w == "cf") f.Color = n > 0 && std::size_t(n) < colors_.size() ? colors_[std::size_t(n)] : clNone;
        else if (w == "up") f.Offset = std::clamp(hasParam ? n : 6, -3276, 3276) * 10;
        else if (w == "dn") f.Offset = -std::clamp(hasParam ? n : 6, -3276, 3276) * 10;
        else if (w == "nosupersub") f.Offset = 0;
        else if (w == "plain") f = Plain();
        else if (w == "pard") st.align = TRichAlign::Left;
        else if (w == "ql") st.align = TRichAlign::Left;
        else if (w == "qc") st.align = TRichAlign::Center;
        else if (w == "qr") st.align = TRichAlign::Right;
        else if (w == "qj") st.align = TRichAlign::Justify;
        else if (w == "par") EndParagraph();
        else if (w == "line") Char(U'\n', 0);
        else if (w == "tab") Char(U'\t', 0);
        else if (w == "emdash") Char(0x2014, 0);
        else if (w == "endash") Char(0x2013, 0);
        else if (w == "lquote") Char(0x2018, 0);
        else if (w == "rquote") Char(0x2019, 0);
        else if (w == "ldblquote") Char(0x201C, 0);
        else if (w == "rdblquote") Char(0x201D, 0);
        else if (w == "bullet") Char(0x2022, 0);
        else if (w == "uc") st.uc = std::clamp(n, 0, 16);
        else if (w == "u") {
            Unicode(char32_t(n < 0 ? n + 65536 : n) & 0xFFFF);
            skip_ = st.uc;
        }
        // Everything else lies outside the subset.
    }

    TRichCharFormat Plain() const
    {
        TRichCharFormat f;
        f.FontName = Font(deff_);
        return f;
    }
    // Text without a font of its own is in the default font.
    TRichCharFormat Resolved(TRichCharFormat f) const
    {
        if (f.FontName.empty()) f.FontName = Font(deff_);
        return f;
    }
    std::string Font(int n) const
    {
        const auto it = fonts_.find(n);
        return it == fonts_.end() ? std::string() : it->second;
    }

    void EndFont()
    {
        std::string name = fontName_;
        while (!name.empty() && name.back() == ' ') name.pop_back();
        while (!name.empty() && name.front() == ' ') name.erase(name.begin());
        if (fontNumber_ >= 0 && !name.empty() && fonts_.size() < 4096) fonts_[fontNumber_] = name;
        fontName_.clear();
    }

    void Unicode(char32_t c)
    {
        if (c >= 0xD800 && c < 0xDC00) {
            high_ = c;
            return;
        }
        if (c >= 0xDC00 && c < 0xE000) {
            if (high_) Text(0x10000 + ((high_ - 0xD800) << 10) + (c - 0xDC00));
            high_ = 0;
            return;
        }
        high_ = 0;
        Text(c);
    }

    // A character of the current destination; raw is its byte for the tables (0: none).
    void Char(char32_t c, char raw)
    {
        State& st = Top();
        if (skip_ > 0) {
            --skip_;
            return;
        }
        switch (st.dest) {
        case Dest::Skip: return;
        case Dest::FontTable:
            if (raw == ';') EndFont();
            else if (fontName_.size() < 256 && c >= 0x20) PutUtf8(fontName_, c);
            return;
        case Dest::ColorTable:
            if (raw == ';') {
                colors_.push_back(red_ < 0 && green_ < 0 && blue_ < 0
                                      ? clNone
                                      : TColor(RGB(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0))));
                red_ = green_ = blue_ = -1;
            }
            return;
        case Dest::Text: Text(c); return;
        }
    }

    void Text(char32_t c)
    {
        if (stack_.empty() || Top().dest != Dest::Text) return;
        if (c == 0x2028 || c == 0x2029) c = U'\n';
        // Control characters and the host's own markers are no text.
        if ((c < 0x20 && c != U'\t' && c != U'\n') || c == 0xFFFC || c == 0xFDD0 || c == 0xFDD1) return;
        std::string u;
        PutUtf8(u, c);
        para_.Align = Top().align;
        const TRichCharFormat f = Resolved(Top().format);
        if (para_.Runs.empty() || !(para_.Runs.back().Format == f)) para_.Runs.push_back({f, std::string()});
        para_.Runs.back().Text += u;
    }

    void EndParagraph()
    {
        if (!stack_.empty()) {
            para_.Align = Top().align;
            para_.Mark = Resolved(Top().format);
        } else {
            para_.Mark = para_.Runs.empty() ? Plain() : para_.Runs.back().Format;
        }
        doc_.Paragraphs.push_back(std::move(para_));
        para_ = TRichParagraph();
    }

    const std::string& s_;
    std::size_t i_ = 0;
    std::vector<State> stack_;
    std::map<int, std::string> fonts_;
    std::vector<TColor> colors_;
    int deff_ = -1, fontNumber_ = -1, red_ = -1, green_ = -1, blue_ = -1;
    int skip_ = 0;  // fallback characters still to skip after \u
    char32_t high_ = 0;
    std::string fontName_;
    TRichParagraph para_;
    TRichContent doc_;
};

// ---------------------------------------------------------------- writing

void PutText(std::string& out, const std::string& utf8)
{
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = NextUtf8(utf8, i);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += char(c);
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (c == '\n') {
            out += "\\line ";
        } else if (c < 0x20) {
            // control characters have no place in the text
        } else if (c < 0x80) {
            out += char(c);
        } else if (const unsigned char a = ToAnsi(c)) {
            static const char kHex[] = "0123456789abcdef";
            out += "\\'";
            out += kHex[a >> 4];
            out += kHex[a & 15];
        } else {
            auto unit = [&](unsigned u) { out += "\\u" + std::to_string(u >= 0x8000 ? int(u) - 65536 : int(u)) + "?"; };
            if (c >= 0x10000) {
                unit(0xD800 + ((c - 0x10000) >> 10));
                unit(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                unit(unsigned(c));
            }
        }
    }
}

class Writer {
public:
    Writer(const TRichContent& doc, const std::string& defaultFont) : doc_(doc), default_(defaultFont) {}

    std::string Run()
    {
        // Fonts and colours in the order of first use.
        FontIndex(Name(doc_.Paragraphs.empty() ? TRichCharFormat() : First()));
        for (const TRichParagraph& p : doc_.Paragraphs) {
            for (const TRichRun& r : p.Runs) Note(r.Format);
            Note(p.Mark);
        }
        std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
        for (std::size_t k = 0; k < fonts_.size(); ++k) {
            out += "{\\f" + std::to_string(k) + "\\fnil\\fcharset0 ";
            std::string name;
            PutText(name, fonts_[k]);
            for (char ch : name) out += ch == ';' ? std::string("\\'3b") : std::string(1, ch);
            out += ";}";
        }
        out += "}";
        if (!colors_.empty()) {
            out += "{\\colortbl ;";
            for (TColor c : colors_)
                out += "\\red" + std::to_string(GetRValue(COLORREF(c))) + "\\green" +
                       std::to_string(GetGValue(COLORREF(c))) + "\\blue" + std::to_string(GetBValue(COLORREF(c))) + ";";
            out += "}";
        }
        out += "\n";
        cur_.FontName = fonts_[0];
        for (const TRichParagraph& p : doc_.Paragraphs) {
            out += "\\pard";
            if (p.Align == TRichAlign::Center) out += "\\qc";
            else if (p.Align == TRichAlign::Right) out += "\\qr";
            else if (p.Align == TRichAlign::Justify) out += "\\qj";
            bool word = true;  // a control word was written last: text needs a delimiter
            for (const TRichRun& r : p.Runs) {
                word = Switch(out, r.Format) || word;
                if (word) out += ' ';
                word = false;
                PutText(out, r.Text);
            }
            Switch(out, p.Mark);
            out += "\\par\n";
        }
        out += "}";
        return out;
    }

private:
    const TRichCharFormat& First() const
    {
        for (const TRichParagraph& p : doc_.Paragraphs)
            if (!p.Runs.empty()) return p.Runs.front().Format;
        return doc_.Paragraphs.front().Mark;
    }
    std::string Name(const TRichCharFormat& f) const { return f.FontName.empty() ? default_ : f.FontName; }
    int FontIndex(const std::string& name)
    {
        const auto it = std::find(fonts_.begin(), fonts_.end(), name);
        if (it != fonts_.end()) return int(it - fonts_.begin());
        fonts_.push_back(name);
        return int(fonts_.size()) - 1;
    }
    int ColorIndex(TColor c)
    {
        if (c == clNone) return 0;
        const TColor rgb = TColor(ColorToRGB(c));
        const auto it = std::find(colors_.begin(), colors_.end(), rgb);
        if (it != colors_.end()) return int(it - colors_.begin()) + 1;
        colors_.push_back(rgb);
        return int(colors_.size());
    }
    void Note(const TRichCharFormat& f)
    {
        FontIndex(Name(f));
        ColorIndex(f.Color);
    }

    // Control words that take the current format to f.
    bool Switch(std::string& out, const TRichCharFormat& f)
    {
        const std::size_t before = out.size();
        const std::string name = Name(f);
        if (name != cur_.FontName) out += "\\f" + std::to_string(FontIndex(name));
        if (f.HalfPoints != cur_.HalfPoints) out += "\\fs" + std::to_string(f.HalfPoints);
        if (f.Bold != cur_.Bold) out += f.Bold ? "\\b" : "\\b0";
        if (f.Italic != cur_.Italic) out += f.Italic ? "\\i" : "\\i0";
        if (f.Underline != cur_.Underline) out += f.Underline ? "\\ul" : "\\ulnone";
        if (f.Color != cur_.Color) out += "\\cf" + std::to_string(ColorIndex(f.Color));
        if (f.Offset != cur_.Offset) {
            const int hp = f.Offset / 10;
            out += hp > 0 ? "\\up" + std::to_string(hp) : hp < 0 ? "\\dn" + std::to_string(-hp) : "\\up0";
        }
        cur_ = f;
        cur_.FontName = name;
        cur_.Color = f.Color == clNone ? clNone : TColor(ColorToRGB(f.Color));
        return out.size() != before;
    }

    const TRichContent& doc_;
    std::string default_;
    std::vector<std::string> fonts_;
    std::vector<TColor> colors_;
    TRichCharFormat cur_;
};

}  // namespace

std::string TRichContent::PlainText() const
{
    std::string out;
    for (std::size_t k = 0; k < Paragraphs.size(); ++k) {
        if (k) out += "\r\n";
        for (const TRichRun& r : Paragraphs[k].Runs) out += r.Text;
    }
    return out;
}

void TRichContent::Append(const TRichCharFormat& f, const std::string& utf8)
{
    if (Paragraphs.empty()) Paragraphs.emplace_back();
    TRichParagraph& p = Paragraphs.back();
    if (utf8.empty()) return;
    if (p.Runs.empty() || !(p.Runs.back().Format == f)) p.Runs.push_back({f, std::string()});
    p.Runs.back().Text += utf8;
}

bool ReadRTF(const std::string& rtf, TRichContent& content, std::string* error)
{
    Reader r(rtf);
    TRichContent read;
    if (!r.Run(read, error)) return false;
    content = std::move(read);
    return true;
}

std::string WriteRTF(const TRichContent& content, const std::string& defaultFont)
{
    if (content.Paragraphs.empty()) {
        TRichContent one;
        one.Paragraphs.emplace_back();
        return Writer(one, defaultFont).Run();
    }
    return Writer(content, defaultFont).Run();
}

}  // namespace platform

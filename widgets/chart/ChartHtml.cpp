// The chart-text markup: one left-to-right pass over tags and text runs that changes the
// canvas font as it goes. The style and font stacks belong to one text, so nothing a text
// leaves open reaches the next one, and the canvas font is given back at the end.
#include "widgets/chart/ChartHtml.h"

#include <algorithm>
#include <sstream>

#include "base/StrUtils.h"
#include "platform/graphics/ColorNames.h"
#include "platform/graphics/Graphics.h"
#include "widgets/chart/ChartConst.h"

namespace chart {

std::function<platform::TGraphic*(const std::string&)> GraphicFileExtension;
std::function<int(const std::string&, std::vector<unsigned char>&)> GraphicDownload;

namespace {

using platform::TFont;

std::string Upper(const std::string& s) { return base::UpperCase(s); }
std::string Trimmed(const std::string& s) { return base::Trim(s); }

std::string Unquote(std::string v)
{
    v = Trimmed(v);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return v;
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to)
{
    for (std::size_t p = 0; (p = s.find(from, p)) != std::string::npos; p += to.size()) s.replace(p, from.size(), to);
}

// "a=1 b = x y c=2" -> (a, 1), (b, x y), (c, 2): a value runs to the last space before the next "=".
std::vector<std::pair<std::string, std::string>> Attributes(const std::string& body)
{
    std::vector<std::pair<std::string, std::string>> out;
    std::size_t nameStart = 0;
    std::size_t eq = body.find('=');
    while (eq != std::string::npos) {
        const std::string name = Trimmed(body.substr(nameStart, eq - nameStart));
        const std::size_t next = body.find('=', eq + 1);
        std::size_t valueEnd = body.size();
        if (next != std::string::npos) {
            const std::size_t space = body.rfind(' ', next);
            valueEnd = space != std::string::npos && space > eq ? space : next;
        }
        out.emplace_back(name, Unquote(body.substr(eq + 1, valueEnd - eq - 1)));
        nameStart = valueEnd;
        eq = next;
    }
    return out;
}

TColor ParseColor(const std::string& value)
{
    const std::string v = Upper(Trimmed(value));
    static const std::pair<const char*, TColor> names[] = {{"BLACK", 0},         {"RED", 0x0000FF},
                                                           {"BLUE", 0xFF0000},   {"YELLOW", 0x00FFFF},
                                                           {"WHITE", 0xFFFFFF},  {"GREEN", 0x008000},
                                                           {"LIME", 0x00FF00}};
    for (auto& [n, c] : names)
        if (v == n) return c;
    if (!v.empty() && v[0] == '#') {
        const std::string hex = v.substr(1);
        if (hex.size() != 6 || hex.find_first_not_of("0123456789ABCDEF") != std::string::npos)
            throw base::EConvertError("'" + value + "' is not a valid colour");
        const long rgb = std::stol(hex, nullptr, 16);
        return TColor(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    }
    return platform::StringToColor(Trimmed(value));
}

std::string StyleWords(platform::TFontStyles s)
{
    std::string out;
    const std::pair<platform::TFontStyles, const char*> words[] = {
        {platform::fsBold, "BOLD"}, {platform::fsItalic, "ITALIC"}, {platform::fsUnderline, "UNDERLINE"},
        {platform::fsStrikeOut, "STRIKE"}};
    for (auto& [bit, w] : words)
        if (s & bit) out += (out.empty() ? "" : ", ") + std::string(w);
    return out.empty() ? "NORMAL" : out;
}

class Walker {
public:
    Walker(TChartCanvas& c, int x, int y, bool draw) : c_(c), draw_(draw), left_(x), x_(x), y_(y), top_(y)
    {
        saved_.Assign(c.Font());
        lineHeight_ = c.GetFontHeight();
    }
    ~Walker() { c_.Font().Assign(saved_); }

    void Run(std::string text)
    {
        while (!text.empty()) {
            const std::size_t lt = text.find('<');
            std::string token;
            if (lt == 0) {
                const std::size_t gt = text.find('>');
                if (gt == std::string::npos) throw HtmlParserException(ChartMsg_HtmlMissingClose + text.substr(1));
                token = text.substr(0, gt + 1);
            } else {
                token = text.substr(0, lt);
            }
            text.erase(0, token.size());
            Handle(token);
        }
    }
    platform::TSize Extent() const { return {width_, height_}; }

private:
    struct Saved {
        std::string fontTag;
        int shift;
    };

    void NewLine()
    {
        y_ += lineHeight_ > 0 ? lineHeight_ : c_.GetFontHeight();
        x_ = left_;
        lineHeight_ = 0;
    }

    void SaveFont(int shift = 0)
    {
        TFont& f = c_.Font();
        fonts_.push_back({"<FONT size=" + std::to_string(f.Size()) + " name=" + f.Name() +
                              " color=" + std::to_string(long(f.Color())) + " weight=" + StyleWords(f.Style()) + ">",
                          shift});
        savedNow_ = true;
    }

    void RestoreFont()
    {
        if (fonts_.empty()) return;
        const Saved s = fonts_.back();
        fonts_.pop_back();
        ApplyFontTag(s.fontTag);
        y_ -= s.shift;
    }

    void ApplyFontTag(const std::string& tag)
    {
        std::string body = tag.substr(6);  // "<FONT "
        if (!body.empty() && body.back() == '>') body.pop_back();
        TFont& f = c_.Font();
        for (auto& [name, value] : Attributes(body)) {
            const std::string n = Upper(name);
            if (n == "NAME" || n == "FAMILY") {
                f.SetName(value);
            } else if (n == "SIZE") {
                const long long v = base::StrToInt(value);
                f.SetSize(int(!value.empty() && (value[0] == '+' || value[0] == '-') ? f.Size() + v : v));
            } else if (n == "COLOR") {
                f.SetColor(ParseColor(value));
            } else if (n == "WEIGHT") {
                platform::TFontStyles s = 0;
                std::stringstream words(value);
                for (std::string w; std::getline(words, w, ',');) {
                    const std::string u = Upper(Trimmed(w));
                    if (u == "BOLD") s |= platform::fsBold;
                    else if (u == "ITALIC") s |= platform::fsItalic;
                    else if (u == "STRIKE") s |= platform::fsStrikeOut;
                    else if (u == "UNDERLINE") s |= platform::fsUnderline;
                    else if (u != "NORMAL") throw base::Exception("Unknown field in FONT WEIGHT=" + value);
                }
                f.SetStyle(s);
            } else {
                throw base::Exception("Unknown field in FONT: " + name);
            }
        }
    }

    void AddStyle(platform::TFontStyles s, const std::string& tag)
    {
        c_.Font().SetStyle(c_.Font().Style() | s);
        styles_.push_back(tag);
    }

    static platform::TFontStyles StyleOfTag(const std::string& closing)
    {
        if (closing == "</B>" || closing == "</BOLD>" || closing == "</STRONG>") return platform::fsBold;
        if (closing == "</I>") return platform::fsItalic;
        if (closing == "</U>") return platform::fsUnderline;
        if (closing == "</STRIKE>") return platform::fsStrikeOut;
        return 0;
    }

    void Handle(std::string token)
    {
        savedNow_ = false;
        if (token.rfind("\r\n", 0) == 0) {
            NewLine();
            token.erase(0, 2);
            if (token.empty()) return;
        }
        const std::string u = Upper(token);
        TFont& f = c_.Font();
        const bool isTag = !u.empty() && u[0] == '<';
        if (!isTag) {
            Text(token);
            return;
        }
        if (u == "<BR>" || u == "<P>") {
            NewLine();
        } else if (u == "<BIG>") {
            SaveFont();
            f.SetSize(f.Size() + 2);
        } else if (u == "<SMALL>") {
            SaveFont();
            f.SetSize(f.Size() - 2);
        } else if (u == "<SUB>" || u == "<SUPER>") {
            const int before = int(fonts_.size());
            SaveFont();
            f.SetSize(f.Size() / 2);
            const int shift = u == "<SUB>" ? c_.GetFontHeight() / 2 : -(c_.GetFontHeight() / 2);
            fonts_[std::size_t(before)].shift = shift;
            y_ += shift;
        } else if (u == "</SUB>" || u == "</SUPER>" || u == "</PRE>" || u.rfind("</FONT", 0) == 0) {
            RestoreFont();
        } else if (u.size() == 4 && u.rfind("<H", 0) == 0 && u[2] >= '1' && u[2] <= '6') {
            static const int sizes[] = {48, 36, 24, 18, 12, 8};
            SaveFont();
            f.SetSize(sizes[u[2] - '1']);
        } else if (u == "<PRE>") {
            SaveFont();
            ApplyFontTag("<FONT NAME=\"COURIER NEW\">");
        } else if (u == "<CENTER>") {
            centre_ = true;
        } else if (u == "</CENTER>") {
            centre_ = false;
        } else if (u == "<B>" || u == "<BOLD>" || u == "<STRONG>") {
            AddStyle(platform::fsBold, u);
        } else if (u == "<I>") {
            AddStyle(platform::fsItalic, u);
        } else if (u == "<U>") {
            AddStyle(platform::fsUnderline, u);
        } else if (u == "<STRIKE>") {
            AddStyle(platform::fsStrikeOut, u);
        } else if (StyleOfTag(u)) {
            f.SetStyle(f.Style() & ~StyleOfTag(u));
            if (const auto it = std::find(styles_.rbegin(), styles_.rend(), "<" + u.substr(2)); it != styles_.rend())
                styles_.erase(std::next(it).base());
        } else if (u.rfind("<FONT ", 0) == 0) {
            SaveFont();
            ApplyFontTag(token);
        } else if (u.rfind("<IMG ", 0) == 0) {
            Image(token);
        } else if (u == "</>") {
            if (savedBefore_) {
                RestoreFont();
            } else if (!styles_.empty()) {
                const std::string last = styles_.back();
                styles_.pop_back();
                f.SetStyle(f.Style() & ~StyleOfTag("</" + last.substr(1)));
            }
        } else if (u == "<HR>") {
            x_ = left_;
            c_.Pen().SetStyle(platform::psSolid);
            c_.Pen().SetWidth(1);
            c_.Pen().SetColor(0x808080);
            c_.Line(x_, y_, x_ + 100, y_);
            NewLine();
        } else {
            Text(token);  // an unknown tag shows as it is
            return;
        }
        savedBefore_ = savedNow_;
    }

    void Text(std::string t)
    {
        // Every line of a run is a line of its own.
        for (std::size_t crlf = t.find("\r\n"); crlf != std::string::npos && crlf + 2 < t.size(); crlf = t.find("\r\n")) {
            Text(t.substr(0, crlf + 2));
            t.erase(0, crlf + 2);
        }
        ReplaceAll(t, "&lt;", "<");
        ReplaceAll(t, "&gt;", ">");
        ReplaceAll(t, "&amp;", "&");
        ReplaceAll(t, "&quot;", "\"");
        bool endsLine = false;
        if (t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0) {
            t.resize(t.size() - 2);
            endsLine = true;
        }
        if (!t.empty()) {
            const int w = c_.TextWidth(t), h = c_.TextHeight(t);
            if (centre_) x_ = (c_.Bounds().Left + c_.Bounds().Right) / 2 - w / 2;
            if (lineHeight_ == 0) lineHeight_ = h;
            // Smaller text sits on the line's bottom.
            const int drawY = y_ + std::max(0, lineHeight_ - h);
            if (draw_) c_.TextOut(x_, drawY, t);
            x_ += w;
            width_ = std::max(width_, x_ - left_);
            lineHeight_ = std::max(lineHeight_, h);
            height_ = std::max(height_, std::max(drawY + h, y_ + lineHeight_) - top_);
        }
        if (endsLine) NewLine();
    }

    void Placeholder(int w, int h)
    {
        c_.Pen().SetStyle(platform::psSolid);
        c_.Pen().SetWidth(1);
        c_.Pen().SetColor(platform::clRed);
        c_.Brush().SetStyle(platform::bsSolid);
        c_.Brush().SetColor(platform::clWhite);
        if (w == 0) w = 40;
        if (h == 0) h = 40;
        c_.Rectangle(x_, y_, x_ + w, y_ + h);
        c_.Line(x_, y_, x_ + w - 1, y_ + h - 1);
        c_.Line(x_ + w - 1, y_, x_, y_ + h - 1);
    }

    void Image(const std::string& token)
    {
        std::string body = token.substr(5);
        if (body.rfind("\r\n", 0) == 0) body.erase(0, 2);
        if (!body.empty() && body.back() == '>') body.pop_back();
        int w = 0, h = 0;
        std::string src;
        bool hasSrc = false;
        for (auto& [name, value] : Attributes(body)) {
            const std::string n = Upper(name);
            if (n == "WIDTH") w = int(base::StrToInt(value));
            else if (n == "HEIGHT") h = int(base::StrToInt(value));
            else if (n == "SRC") src = Unquote(value), hasSrc = true;
        }
        if (!hasSrc) return;
        const std::size_t dot = src.rfind('.');
        const std::string ext = Upper(dot == std::string::npos ? std::string() : src.substr(dot));
        platform::TGraphic* g = GraphicFileExtension ? GraphicFileExtension(ext) : nullptr;
        if (!g) {
            Placeholder(w, h);
            return;
        }
        std::unique_ptr<platform::TGraphic> owned(g);
        try {
            std::vector<unsigned char> data;
            if (!GraphicDownload || GraphicDownload(src, data) != 0 || data.empty()) {
                Placeholder(w, h);
                return;
            }
            std::istringstream in(std::string(data.begin(), data.end()));
            g->LoadFromStream(in);
            if (w == 0) w = g->GetWidth();
            if (h == 0) h = g->GetHeight();
            if (w == g->GetWidth() && h == g->GetHeight()) c_.Draw(x_, y_, g);
            else c_.StretchDraw({x_, y_, x_ + w, y_ + h}, g);
            x_ += w;
            y_ += h;
        } catch (const std::exception&) {
            Placeholder(w, h);
        }
    }

    TChartCanvas& c_;
    bool draw_;
    int left_, x_, y_, top_;
    int lineHeight_ = 0, width_ = 0, height_ = 0;
    bool centre_ = false, savedNow_ = false, savedBefore_ = false;
    std::vector<std::string> styles_;
    std::vector<Saved> fonts_;
    TFont saved_;
};

}  // namespace

platform::TSize HtmlTextExtent(TChartCanvas& canvas, const std::string& text)
{
    Walker w(canvas, 0, 0, false);
    w.Run(text);
    return w.Extent();
}

void HtmlTextOut(TChartCanvas& canvas, int x, int y, const std::string& text)
{
    Walker w(canvas, x, y, true);
    w.Run(text);
}

}  // namespace chart

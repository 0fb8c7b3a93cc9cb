// Printing page by page, and the text as an HTML document for files and the clipboard.
#include "widgets/memo/MemoPrint.h"

#include <cstdio>

#include "base/Exception.h"
#include "base/StringList.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Clipboard.h"
#include "platform/system/Printer.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/MemoStrings.h"
#include "widgets/memo/MemoStyler.h"
#include "base/ScopeGuard.h"

namespace memo {

using namespace platform;

void TExCustomMemo::SetPrintOptions(const TPrintOptions& o) { printOptions_->Assign(o); }

namespace {

struct PageLayout {
    TRect area;  // the text lines' part of the page
    int lineHeight = 0;
    int linesPerPage = 0;
    int top = 0;  // the printable top (the title's line)
};

PageLayout LayOut(TCanvas* canvas, const TFont& font, const TPrintOptions& o, int pageWidth, int pageHeight)
{
    canvas->Font().Assign(font);
    PageLayout l;
    l.area = Rect(o.MarginLeft, o.MarginTop, pageWidth - o.MarginRight, pageHeight - o.MarginBottom);
    l.top = l.area.Top;
    l.lineHeight = canvas->TextHeight("gh") + 2;
    if (o.PageNr) l.area.Bottom -= l.lineHeight;
    if (!o.Title.empty()) l.area.Top += l.lineHeight;
    l.linesPerPage = l.lineHeight > 0 ? (l.area.Bottom - l.area.Top) / l.lineHeight : 0;
    return l;
}

void DrawCentred(TCanvas* canvas, const TRect& r, const std::string& text)
{
    const int w = canvas->TextWidth(text);
    const int x = w < r.Width() ? r.Left + (r.Width() - w) / 2 : r.Left;
    canvas->Brush().SetStyle(bsClear);
    canvas->TextOut(x, r.Top, text);
    canvas->Brush().SetStyle(bsSolid);
}

}  // namespace

int TExCustomMemo::NumberOfPages(TCanvas* canvas, int pageWidth, int pageHeight)
{
    const PageLayout l = LayOut(canvas, *Font(), *printOptions_, pageWidth, pageHeight);
    if (l.linesPerPage <= 0) throw base::EInvalidOperation("The page has no room for a line of text");
    return (lines_->Count() - 1) / l.linesPerPage + 1;
}

void TExCustomMemo::PrintToCanvas(TCanvas* canvas, int pageWidth, int pageHeight, int pageNr)
{
    const PageLayout l = LayOut(canvas, *Font(), *printOptions_, pageWidth, pageHeight);
    if (l.linesPerPage <= 0) throw base::EInvalidOperation("The page has no room for a line of text");
    TRect line = Rect(l.area.Left, l.top, l.area.Right, l.top + l.lineHeight);
    if (!printOptions_->Title.empty()) {
        DrawCentred(canvas, line, printOptions_->Title);
        line.Top += l.lineHeight;
        line.Bottom += l.lineHeight;
    }
    const int first = (pageNr - 1) * l.linesPerPage + 1;
    const int last = std::min(pageNr * l.linesPerPage, lines_->Count());
    if (first <= lines_->Count()) {
        TStyle st;
        GetUpStyle(first - 1, st);
        PrepareTokenizer();
        for (int i = first; i <= last; ++i) {
            DrawLine(canvas, i - 1, st, dmPrinter, line);
            line.Top += l.lineHeight;
            line.Bottom += l.lineHeight;
        }
    }
    if (printOptions_->PageNr) {
        const TRect r = Rect(l.area.Left, l.area.Bottom, l.area.Right, l.area.Bottom + l.lineHeight);
        canvas->Font().Assign(*Font());
        DrawCentred(canvas, r, printOptions_->PagePrefix + " " + std::to_string(pageNr));
    }
}

void TExCustomMemo::Print()
{
    TPrinter* p = Printer();
    p->Title = printOptions_->JobName.empty() ? "ExMemo print job" : printOptions_->JobName;
    p->BeginDoc();
    {
        base::ScopeFail undo([&] { p->Abort(); });
        const int pages = NumberOfPages(p->Canvas(), p->PageWidth(), p->PageHeight());
        for (int page = 1; page <= pages; ++page) {
            if (page > 1) p->NewPage();
            PrintToCanvas(p->Canvas(), p->PageWidth(), p->PageHeight(), page);
        }
    }
    p->EndDoc();
}

// ---------------------------------------------------------------- HTML

namespace {

std::string HtmlColor(TColor c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", unsigned(c & 0xFF), unsigned((c >> 8) & 0xFF),
                  unsigned((c >> 16) & 0xFF));
    return buf;
}

// Code points of the 8-bit page's bytes 0x80 to 0x9F.
constexpr unsigned short kHighControls[32] = {
    0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021, 0x2C6,  0x2030, 0x160,
    0x2039, 0x152,  0x8D,   0x17D,  0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178};

// Text and attribute values with markup characters escaped; bytes above 127 become
// character references, so the document reads the same under any declared encoding.
std::string EscapeHtml(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (char ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default:
            if (c >= 0x80)
                out += "&#" + std::to_string(c < 0xA0 ? kHighControls[c - 0x80] : c) + ";";
            else
                out += ch;
        }
    }
    return out;
}

}  // namespace

void TExCustomMemo::DrawHTML(std::string_view text, const TStyle& st, int /*lineNo*/)
{
    if (html_.empty() || text.empty()) return;
    TColor font, brush;
    TFontStyles style;
    RunColors(st, font, style, brush);
    const std::string escaped = EscapeHtml(text);
    const std::string t = st.IsURL ? "<a href=\"" + escaped + "\">" + escaped + "</a>" : escaped;
    std::string s;
    if (style & fsBold) s = "bold";
    if (style & fsItalic) s += s.empty() ? "italic" : ",italic";
    if (!s.empty()) s = "font:" + s + ";";
    if (style & fsUnderline) s += "text-decoration:'underline';";
    const std::string tag =
        "<FONT style=\"background-color: " + HtmlColor(brush) + ";color:" + HtmlColor(font) + ";" + s + "\">";
    std::string& out = html_.back();
    if (tag == htmlTag_)
        out += t;
    else if (!htmlTag_.empty())
        out += "</FONT>" + tag + t;
    else
        out += tag + t;
    htmlTag_ = tag;
}

void TExCustomMemo::OutputHTML(bool withFontSize)
{
    const bool wrapped = wordWrap_ != wwNone;
    if (wrapped) UndoWrap();
    const TColor u = urlStyle_->TextColor;
    html_ = {"<!-- saved from TExMemo -->", "<HTML>",
             "<BODY bgColor=" + HtmlColor(bkColor_) + " LINK=" + HtmlColor(u) + " VLINK=" + HtmlColor(u) +
                 " ALINK=" + HtmlColor(u) + ">",
             "<PRE>"};
    const std::string family = EscapeHtml(Font()->Name());
    html_.push_back(withFontSize
                        ? "<FONT style=\"font-family:" + family + "; font-size:" + std::to_string(Font()->Size()) + "\">"
                        : "<FONT style=\"font-family:" + family + ";\">");
    htmlTag_.clear();
    TStyle st;
    PrepareTokenizer();
    for (int i = 0; i < lines_->Count(); ++i) {
        html_.emplace_back();
        DrawLine(Canvas(), i, st, dmHTML, TRect{});
    }
    if (!htmlTag_.empty()) html_.push_back("</FONT>");
    htmlTag_.clear();
    for (const char* s : {"</FONT>", "</PRE>", "</BODY>", "</HTML>"}) html_.emplace_back(s);
    if (wrapped) DoWrap();
}

bool TExCustomMemo::SaveToHTML(const std::string& fileName, bool withFontSize)
{
    OutputHTML(withFontSize);
    base::TStringList out;
    for (const std::string& s : html_) out.Add(s);
    htmlSaveError_.clear();
    try {
        out.SaveToFile(fileName);
    } catch (const base::Exception& e) {
        htmlSaveError_ = std::string("Cannot create file ") + fileName + ". " + e.what();
        return false;
    }
    return true;
}

void TExCustomMemo::CopyHTMLToClipboard()
{
    TStyle st;
    GetUpStyle(0, st);
    OutputHTML(false);
    std::string f;
    for (const std::string& s : html_) f += s + "\r\n";
    const std::string head = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"
                             "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\">"
                             "</head><body><!--StartFragment-->";
    const std::string tail = "<!--EndFragment--></body></html>";
    auto field = [](const char* label, std::size_t n) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%s%.8d\r\n", label, int(n));
        return std::string(buf);
    };
    const std::size_t header = 97;
    std::string data = "Version:1.0\r\n" + field("StartHTML:", header) +
                       field("EndHTML:", header + head.size() + f.size() + tail.size()) +
                       field("StartFragment:", header + head.size()) +
                       field("EndFragment:", header + head.size() + f.size());
    data += head + f + tail;
    TClipboard* cb = Clipboard();
    cb->Open();
    base::ScopeExit restore([&] { cb->Close(); });
    cb->SetFormatData(RegisterClipboardFormat("HTML Format"), data);
    cb->SetAsText(f);
}

}  // namespace memo

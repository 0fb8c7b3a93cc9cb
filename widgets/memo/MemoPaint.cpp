// Painting: the gutter, border and margins, and each line token by token into the line bitmap.
#include <algorithm>
#include <climits>

#include "base/Exception.h"
#include "widgets/html/ThemeApi.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/Gutter.h"
#include "platform/graphics/ImageList.h"
#include "widgets/memo/MemoMarkers.h"
#include "widgets/memo/MemoPrint.h"
#include "widgets/memo/MemoStrings.h"
#include "widgets/memo/MemoStyler.h"
#include "widgets/memo/Tokenizer.h"

namespace memo {

using namespace platform;

void TExCustomMemo::PrepareTokenizer()
{
    TTokenizerSetup& t = *tokenizer_;
    t.styler = styler_ && useStyler_ ? styler_ : nullptr;
    t.urlAware = urlAware_;
    t.caseSensitive = caseSensitive_;
    if (!t.isURL) t.isURL = [this](std::string_view s) { return WordIsURL(s); };
    t.Prepare();
}

void TExCustomMemo::GetUpStyle(int lineNo, TStyle& style)
{
    style = TStyle{};
    if (lines_->Count() == 0) return;
    PrepareTokenizer();
    if (!tokenizer_->styler) return;
    lineNo = std::min(lineNo, lines_->Count());
    int start = 0;
    TStyle st;
    for (int l = lineNo - 1; l >= 0; --l) {
        const TLineProp* p = lines_->GetLineProp(l);
        if (p && p->FHasStyle) {
            start = l;
            st = p->FStyle;
            break;
        }
    }
    const TLineTokenizer tok(*tokenizer_);
    for (int l = start; l < lineNo; ++l) {
        if (l % 20 == 0) SetLineStyle(l, st);
        tok.Scan(lines_->Get(l), st);
    }
    if (lineNo < lines_->Count()) SetLineStyle(lineNo, st);
    style = st;
}

void TExCustomMemo::Paint()
{
    if (lines_->LockCount() > 0) return;
    if (charHeight_ == 0) ApplyFont();
    TCanvas* c = Canvas();
    const TRect r = EditorRect();
    // The line bitmap: as wide as the text area, one line high.
    const int bw = std::max(1, r.Width()), bh = std::max(1, charHeight_);
    if (lineBitmap_->Width() != bw || lineBitmap_->Height() != bh) lineBitmap_->SetSize(bw, bh);
    lineBitmap_->Canvas()->Font().Assign(*Font());
    if (gutter_->Visible() && gutter_->GutterWidth() >= 2) {
        UpdateGutter();
        gutter_->PaintTo(c);
    }
    DrawMarginAndBorder();
    if (topLine_ != upStyleLine_) {
        GetUpStyle(topLine_, upStyle_);
        upStyleLine_ = topLine_;
    }
    PrepareTokenizer();
    TStyle st = upStyle_;
    const int last = topLine_ + GetVisible(1);
    int drawnBottom = CellRect(0, 0).Top;
    for (int line = topLine_; line <= last && line < lines_->Count(); ++line) {
        DrawLine(c, line, st, dmScreen, r);
        drawnBottom = CellRect(0, line - topLine_).Bottom;
    }
    if (drawnBottom < r.Bottom) {
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(bkColor_);
        c->FillRect(Rect(r.Left, drawnBottom, r.Right, r.Bottom));
    }
    if (rightMargin_ > 0 && ShowRightMargin) {
        const int x = r.Left + lineBitmap_->Canvas()->TextWidth("w") * (rightMargin_ - leftCol_);
        if (x >= r.Left && x < r.Right) {
            c->Pen().SetColor(rightMarginColor_);
            c->Pen().SetWidth(1);
            for (int dx = 0; dx < 2; ++dx) {
                c->MoveTo(x + dx, r.Top);
                c->LineTo(x + dx, r.Bottom);
            }
            c->Pen().SetColor(clGray);
        }
    }
}

void TExCustomMemo::DrawMarginAndBorder()
{
    TCanvas* c = Canvas();
    const TRect r = EditorRect();
    const int w = ClientWidth(), h = ClientHeight();
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(bkColor_);
    // The strip above the first line, the text indent and the strips right of and below the text.
    c->FillRect(Rect(r.Left - textMargin_, std::max(0, r.Top - 2), w, r.Top + 1));
    c->FillRect(Rect(r.Left - textMargin_, r.Top, r.Left, r.Bottom));
    c->FillRect(Rect(r.Right, r.Top, w, h));
    c->FillRect(Rect(r.Left - textMargin_, r.Bottom, w, h));
    if (borderStyle_ == bsNone) return;
    if (ctl3D_) {
        c->Pen().SetColor(clWhite);
        c->MoveTo(w - 1, 0);
        c->LineTo(w - 1, h - 1);
        c->LineTo(-1, h - 1);
        c->Pen().SetColor(TColor(0xD0D0D0));
        c->MoveTo(w - 2, 0);
        c->LineTo(w - 2, h - 2);
        c->LineTo(-1, h - 2);
    } else {
        c->Pen().SetColor(clGray);
        c->Brush().SetStyle(bsClear);
        c->Rectangle(0, 0, w, h);
        c->Brush().SetStyle(bsSolid);
    }
}

namespace {

void ApplyCharStyle(const TCharStyle& s, TColor bk, TColor& font, TFontStyles& style, TColor& brush)
{
    font = s.TextColor;
    style = s.Style;
    brush = s.BkColor == clNone ? bk : s.BkColor;
}

}  // namespace

void TExCustomMemo::RunColors(const TStyle& st, TColor& font, TFontStyles& style, TColor& brush)
{
    font = Font()->Color();
    brush = bkColor_;
    style = Font()->Style();
    const TElementStyles* all = styler_ && useStyler_ ? &styler_->AllStyles() : nullptr;
    auto element = [&] {
        if (all && st.StyleIndex >= 0 && st.StyleIndex < all->Count()) {
            const TElementStyle* e = all->Items(st.StyleIndex);
            font = e->Font().Color();
            style = e->Font().Style();
            brush = e->BGColor() == clNone ? bkColor_ : e->BGColor();
        } else {
            font = Font()->Color();
            style = Font()->Style();
            brush = bkColor_;
        }
    };
    if (st.InComment && !st.IsURL) {
        if (styler_) ApplyCharStyle(*styler_->CommentStyle(), bkColor_, font, style, brush);
    } else if (!st.InBracket || st.IsURL) {
        if (st.IsNumber && styler_) ApplyCharStyle(*styler_->NumberStyle(), bkColor_, font, style, brush);
        if (st.IsSymbol || st.IsKeyword) element();
        if (st.IsURL) ApplyCharStyle(*urlStyle_, bkColor_, font, style, brush);
    } else {
        element();
    }
}

void TExCustomMemo::DrawRun(std::string_view text, const TStyle& st, int lineNo, int& counter, int& x, TCanvas* c,
                            int charW, TDrawMode mode, bool customKeyword, const TRect& textRect)
{
    const int len = int(text.size());
    if (mode == dmHTML) {
        DrawHTML(text, st, lineNo);
        counter += len;
        return;
    }
    TColor font, brush;
    TFontStyles style;
    RunColors(st, font, style, brush);
    const bool active = activeLineSettings_->ShowActiveLine() && lineNo == activeLine_;
    const bool breakpoint = BreakPoint(lineNo);
    if (active) {
        font = activeLineSettings_->ActiveLineTextColor();
        brush = activeLineSettings_->ActiveLineColor();
    }
    if (breakpoint) {
        font = breakpointTextColor_;
        brush = breakpointColor_;
    }
    if (BlockShow && ((lineNo == blockStart_.Line && counter == blockStart_.Col) ||
                      (lineNo == blockEnd_.Line && counter == blockEnd_.Col)))
        brush = BlockColor;

    // The run split by the selection into before, selected and after.
    int a = len, b = len;
    int sx, sy, ex, ey;
    GetSelection(sx, sy, ex, ey);
    const bool hidden = hideSelection_ && !Focused() && !FindDialogOpen;
    if (!hidden && HasSelection() && lineNo >= sy && lineNo <= ey) {
        const int from = lineNo == sy ? sx : 0, to = lineNo == ey ? ex : INT_MAX;
        a = std::clamp(from - counter, 0, len);
        b = std::clamp(to == INT_MAX ? len : to - counter, a, len);
    }
    c->Font().SetStyle(style);
    c->Brush().SetStyle(bsSolid);
    auto part = [&](int from, int to, bool selected) {
        if (to <= from) return;
        TColor f = font, bg = brush;
        if (selected) {
            if (active || breakpoint)
                std::swap(f, bg);
            else {
                f = selColor_;
                bg = selBkColor_;
            }
        }
        c->Font().SetColor(f);
        c->Brush().SetColor(bg);
        const std::string s(text.substr(std::size_t(from), std::size_t(to - from)));
        if (customKeyword && styler_ && !selected) {
            TRect kr = Rect(x, textRect.Top, x + (to - from) * charW, textRect.Top + charHeight_);
            const_cast<TExCustomMemoStyler*>(styler_)->DrawKeyword(c, s, kr);
        } else {
            c->TextOut(x, textRect.Top, s);
        }
        x += (to - from) * charW;
    };
    part(0, a, false);
    part(a, b, true);
    part(b, len, false);
    counter += len;
}

void TExCustomMemo::DrawLine(TCanvas* canvas, int lineNo, TStyle& style, TDrawMode mode, const TRect& rect)
{
    const TRect er = EditorRect();
    TRect lineRect = CellRect(0, lineNo - topLine_);
    lineRect.Left = er.Left;
    lineRect.Right = er.Right;
    TCanvas* c = canvas;
    TRect textRect = rect;
    if (mode == dmScreen || mode == dmPrintPreview) c = lineBitmap_->Canvas();
    if (mode == dmScreen) textRect = Rect(-leftCol_ * charWidth_, 0, lineRect.Width(), charHeight_);
    if (lineNo >= lines_->Count()) {
        canvas->Brush().SetStyle(bsSolid);
        canvas->Brush().SetColor(bkColor_);
        canvas->FillRect(mode == dmPrinter ? rect : lineRect);
        return;
    }
    const int charW = mode == dmScreen ? charWidth_ : c->TextWidth("w");
    if ((mode == dmPrinter || mode == dmPrintPreview) && printOptions_->PrintLineNumbers) {
        int unused = 0;
        const std::string number = FormatLineNumber(unused, lineNo + gutter_->LineNumberStart()) + gutter_->NumberSuffix();
        const int digits = int(std::to_string(lines_->Count()).size() + gutter_->NumberSuffix().size());
        const TFontStyles keep = c->Font().Style();
        const TColor keepColor = c->Font().Color();
        c->Font().SetStyle(0);
        c->Font().SetColor(clBlack);
        c->Brush().SetStyle(bsClear);
        c->TextOut(textRect.Left + digits * charW - c->TextWidth(number), textRect.Top, number);
        c->Brush().SetStyle(bsSolid);
        c->Font().SetStyle(keep);
        c->Font().SetColor(keepColor);
        textRect.Left += digits * charW;
    }
    int counter = 0, x = textRect.Left;
    const TLineTokenizer tok(*tokenizer_);
    tok.Line(lines_->Get(lineNo), style,
             [&](std::string_view text, const TStyle& st, bool custom) {
                 DrawRun(text, st, lineNo, counter, x, c, charW, mode, custom, textRect);
             });
    if (mode == dmHTML) return;
    TColor fill = bkColor_;
    if (BreakPoint(lineNo))
        fill = breakpointColor_;
    else if (activeLineSettings_->ShowActiveLine() && lineNo == activeLine_)
        fill = activeLineSettings_->ActiveLineColor();
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(fill);
    const int right = mode == dmScreen ? lineBitmap_->Width() : textRect.Right;
    if (x < right) c->FillRect(Rect(std::max(x, textRect.Left), textRect.Top, right, textRect.Top + charHeight_));
    if (mode == dmScreen || mode == dmPrintPreview) {
        const int h = charHeight_;
        if (const TLineProp* p = lines_->GetLineProp(lineNo)) {
            for (std::size_t i = 0; i < p->FErrorPos.size() && i < p->FErrorLen.size(); ++i) {
                const int x1 = std::max(0, p->FErrorPos[i] - leftCol_) * charW;
                const int x2 = std::max(0, p->FErrorPos[i] + p->FErrorLen[i] - leftCol_) * charW;
                if (x1 == x2) continue;
                std::vector<TPoint> pts;
                for (int px = x1 - (x1 % 2 + 2) % 2; px <= x2; px += 2) pts.push_back({px, px % 4 == 0 ? h - 1 : h - 3});
                c->Pen().SetColor(clRed);
                c->Pen().SetWidth(1);
                c->Polyline(pts);
            }
        }
        if (BlockShow && BlockLineColor != clNone) {
            for (const TBlockMark* m : {&blockStart_, &blockEnd_}) {
                if (m->Line != lineNo || m->Col < 0) continue;
                c->Pen().SetColor(BlockLineColor);
                c->MoveTo((m->Col - leftCol_) * charW, h - 2);
                c->LineTo((m->Col + m->Len - leftCol_) * charW, h - 2);
            }
        }
        canvas->CopyRect(lineRect, lineBitmap_->Canvas(), Rect(0, 0, lineRect.Width(), charHeight_));
    }
}

std::string TExCustomMemo::FormatLineNumber(int& x, int number) const
{
    std::string s = std::to_string(number);
    if (gutter_->ShowLeadingZeros() && int(s.size()) < gutter_->DigitCount())
        s = std::string(std::size_t(gutter_->DigitCount()) - s.size(), '0') + s;
    x = gutter_->GutterWidth() - gutter_->GutterMargin();
    if (s.size() == 1) x += 24;
    if (s.size() == 2) x += 16;
    if (s.size() == 3) x += 8;
    return s;
}

void TExCustomMemo::DefaultGutterDraw(TCanvas* c, int line, const TRect& r)
{
    int left = r.Left;
    const TExMarkers& markers = markerList_->Markers();
    if (const TExMarker* m = markers.HasMarkers() ? markers.GetMarkerAtLine(line) : nullptr) {
        const int index = markerList_->UseDefaultMarkerImageIndex() ? markerList_->DefaultMarkerImageIndex()
                                                                      : m->ImageIndex;
        if (index >= 0 && markerList_->MarkerImageList) markerList_->MarkerImageList->Draw(c, left + 1, r.Top + 2, index);
        left += 16;
    }
    // The logical line number is also the line index when nothing is wrapped.
    if (Bookmark(line)) {
        c->Pen().SetColor(clNavy);
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(clBlue);
        const TPoint flag[] = {{left + 2, r.Top + 2}, {left + 10, r.Top + 5}, {left + 2, r.Top + 8}};
        c->Polygon(flag, 3);
        c->MoveTo(left + 2, r.Top + 2);
        c->LineTo(left + 2, r.Top + 13);
    }
    if (gutter_->ShowLineNumbers()) {
        const TBrushStyle old = c->Brush().Style();
        c->Brush().SetStyle(bsClear);
        c->Font().Assign(gutter_->Font());
        c->Font().SetColor(gutter_->LineNumberTextColor());
        int x = 0;
        const std::string s = FormatLineNumber(x, line + gutter_->LineNumberStart()) + gutter_->NumberSuffix();
        c->TextOut(x, r.Top, s);
        c->Brush().SetStyle(old);
        c->Font().Assign(*Font());
    }
    if (line >= lines_->Count()) return;
    if (Executable(line)) {
        c->Pen().SetColor(clNavy);
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(clBlue);
        c->Ellipse(left + 5, r.Top + 8, left + 9, r.Top + 12);
        c->Pen().SetColor(clAqua);
        c->MoveTo(left + 6, r.Top + 8);
        c->LineTo(left + 4, r.Top + 10);
    }
    if (BreakPoint(line)) {
        c->Pen().SetColor(clBlack);
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(clRed);
        c->Ellipse(left + 2, r.Top + 4, left + 12, r.Top + 14);
    }
    if (activeLineSettings_->ShowActiveLineIndicator() && line == activeLine_) {
        c->Pen().SetColor(TColor(0x808080));
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(clLime);
        const TPoint arrow[] = {{left + 13, r.Top + 7},  {left + 13, r.Top + 11}, {left + 16, r.Top + 11},
                                {left + 16, r.Top + 14}, {left + 21, r.Top + 9},  {left + 16, r.Top + 4},
                                {left + 16, r.Top + 7}};
        c->Polygon(arrow, 7);
    }
}

void TExCustomMemo::ThemeAdapt()
{
    int scheme = 0;
    try {
        scheme = html::CurrentXPColorScheme();
    } catch (const base::Exception&) {
        scheme = 0;
    }
    switch (scheme) {
    case 1:
        gutter_->SetGutterColor(TColor(0xE0A57D));
        gutter_->SetGutterColorTo(TColor(0xFCE1CB));
        break;
    case 2:
        gutter_->SetGutterColor(TColor(0x8CC0B1));
        gutter_->SetGutterColorTo(TColor(0xCFF0EA));
        break;
    case 3:
        gutter_->SetGutterColor(TColor(0xB39698));
        gutter_->SetGutterColorTo(TColor(0xECE2E1));
        break;
    default:
        gutter_->SetGutterColor(clWhite);
        gutter_->SetGutterColorTo(clBtnFace);
        break;
    }
}

}  // namespace memo

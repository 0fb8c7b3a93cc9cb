// Word wrap, the gutter and the active-line settings.
#include <algorithm>
#include <cmath>

#include "widgets/memo/ExMemo.h"
#include "widgets/memo/Gutter.h"
#include "widgets/memo/MemoStrings.h"

namespace memo {

using namespace platform;

namespace {

// Cuts a line into pieces no longer than w where blanks allow: whole words (each with
// its trailing blank) while they fit below w, else a hard cut at w. A rest of w or less
// is not cut again.
std::vector<std::string> WrapPieces(const std::string& text, int w)
{
    std::vector<std::string> pieces;
    std::string rest = text;
    while (int(rest.size()) > w) {
        std::string piece;
        std::size_t pos = 0;
        for (;;) {
            const std::size_t blank = rest.find(' ', pos);
            if (blank == std::string::npos) break;
            const std::size_t len = blank + 1 - pos;
            if (int(piece.size() + len) >= w) break;
            piece.append(rest, pos, len);
            pos = blank + 1;
        }
        if (piece.empty()) {
            piece = rest.substr(0, std::size_t(w));
            pos = std::size_t(w);
        }
        pieces.push_back(std::move(piece));
        rest.erase(0, pos);
    }
    pieces.push_back(std::move(rest));
    return pieces;
}

}  // namespace


void TExCustomMemo::SetWordWrap(TWordWrap w)
{
    if (w == wordWrap_) return;
    if (w == wwNone) {
        UndoWrap();
        wordWrap_ = w;
    } else {
        if (wordWrap_ != wwNone) UndoWrap();
        wordWrap_ = w;
        DoWrap();
    }
    ResizeScrollBars(true);
    Invalidate();
}

static int WrapWidth(TExCustomMemo& m, TWordWrap mode, int rightMargin)
{
    int w = m.GetVisible(0) - 1;
    if (mode == wwRightMargin) w = std::min(w, rightMargin);
    return w;
}

void TExCustomMemo::DoWrap()
{
    if (lines_->Count() == 0 || wordWrap_ == wwNone) return;
    const int w = WrapWidth(*this, wordWrap_, rightMargin_);
    if (w <= 0) return;
    std::vector<TExMemoStrings::TWorkLine> out;
    out.reserve(std::size_t(lines_->Count()));
    bool changed = false;
    for (TExMemoStrings::TWorkLine& l : lines_->WorkLines()) {
        if (int(l.text.size()) <= w) {
            out.push_back(std::move(l));
            continue;
        }
        changed = true;
        std::vector<std::string> pieces = WrapPieces(l.text, w);
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            TExMemoStrings::TWorkLine piece;
            piece.text = std::move(pieces[k]);
            if (k == 0) {
                // The first piece keeps the line's objects, so that unwrapping gives them back.
                piece.object = l.object;
                piece.prop = l.prop;
                piece.wrapped = l.wrapped;
            } else {
                piece.wrapped = true;
            }
            out.push_back(std::move(piece));
        }
    }
    if (!changed) return;
    wrapping_ = true;
    lines_->AssignEx(std::move(out));
    wrapping_ = false;
    Invalidate();
}

void TExCustomMemo::DoWrapLines(int first, int last)
{
    const int w = WrapWidth(*this, wordWrap_, rightMargin_);
    if (w <= 0) return;
    wrapping_ = true;
    for (int i = std::max(0, first); i < last && i < lines_->Count(); ++i) {
        if (lines_->LineLength(i) <= w) continue;
        std::vector<std::string> pieces = WrapPieces(lines_->Get(i), w);
        lines_->DoPut(i, pieces[0]);
        for (std::size_t k = 1; k < pieces.size(); ++k) {
            lines_->DoInsert(i + int(k), pieces[k]);
            lines_->SetWrapped(i + int(k), true);
        }
        i += int(pieces.size()) - 1;
        last += int(pieces.size()) - 1;
    }
    wrapping_ = false;
}

void TExCustomMemo::UndoWrap()
{
    if (lines_->Count() == 0 || wordWrap_ == wwNone) return;
    std::vector<TExMemoStrings::TWorkLine> out;
    out.reserve(std::size_t(lines_->Count()));
    bool changed = false;
    for (TExMemoStrings::TWorkLine& l : lines_->WorkLines()) {
        if (l.wrapped && !out.empty()) {
            out.back().text += l.text;
            changed = true;
        } else {
            l.wrapped = false;
            out.push_back(std::move(l));
        }
    }
    if (!changed) return;
    wrapping_ = true;
    lines_->AssignEx(std::move(out));
    wrapping_ = false;
}

void TExCustomMemo::UpdateWrapLines(int first, int last)
{
    if (wordWrap_ == wwNone || wrapping_ || lines_->Count() == 0) return;
    const int w = WrapWidth(*this, wordWrap_, rightMargin_);
    if (w > 0) {
        const bool n = notify_;
        notify_ = false;
        wrapping_ = true;
        first = std::clamp(first, 0, lines_->Count() - 1);
        last = std::clamp(last, first, lines_->Count() - 1);
        while (first > 0 && lines_->IsWrapped(first)) --first;
        int y = first;
        while (y <= last && y < lines_->Count()) {
            // The paragraph y .. e: a line and its continuations.
            int e = y;
            std::string text = lines_->Get(y);
            while (e + 1 < lines_->Count() && lines_->IsWrapped(e + 1)) text += lines_->Get(++e);
            const std::vector<std::string> pieces = WrapPieces(text, w);
            const int have = e - y + 1, need = int(pieces.size());
            for (int k = 0; k < std::min(have, need); ++k)
                if (lines_->Get(y + k) != pieces[std::size_t(k)]) lines_->DoPut(y + k, pieces[std::size_t(k)]);
            for (int k = have; k < need; ++k) {
                lines_->DoInsert(y + k, pieces[std::size_t(k)]);
                lines_->SetWrapped(y + k, true);
            }
            for (int k = need; k < have; ++k) lines_->DoDelete(y + need);
            last += need - have;
            y += need;
        }
        wrapping_ = false;
        notify_ = n;
    }
    ResizeScrollBars(true);
}

void TExCustomMemo::UpdateWrap()
{
    if (wordWrap_ != wwNone && !wrapping_) {
        const bool n = notify_;
        notify_ = false;
        UndoWrap();
        DoWrap();
        notify_ = n;
    }
    ResizeScrollBars(true);
}

void TExCustomMemo::UpdateGutter()
{
    if (borderStyle_ == bsSingle) {
        const int p = ctl3D_ ? 2 : 1;
        gutter_->SetParams(0, p);
        gutter_->SetParams(1, p);
        gutter_->SetParams(2, gutter_->GutterWidth());
    } else {
        gutter_->SetParams(0, 0);
        gutter_->SetParams(1, 0);
        gutter_->SetParams(2, gutter_->GutterWidth() + 2);
    }
    ResizeGutter();
}

void TExCustomMemo::ResizeGutter() { gutter_->SetParams(3, EditorRect().Height()); }

void TExCustomMemo::SetActiveLine(int line)
{
    activeLine_ = line;
    if (activeLineSettings_->ShowActiveLineIndicator() && !activeLineSettings_->ShowActiveLine() &&
        gutter_->Visible()) {
        if (HandleAllocated()) InvalidateRect(Rect(0, 0, gutter_->GutterWidth(), Height()));
    }
    if (activeLineSettings_->ShowActiveLine()) {
        MakeVisible();
        Invalidate();
    }
}

// ---------------------------------------------------------------- gutter

TExGutter::TExGutter(TExCustomMemo* memo) : memo_(memo)
{
    font_.SetName("Courier New");
    font_.SetSize(10);
}

void TExGutter::SetVisible(bool v)
{
    visible_ = v;
    if (memo_) memo_->Invalidate();
}

void TExGutter::SetGutterWidth(int w)
{
    width_ = w;
    gw_ = w;
    if (memo_) {
        memo_->UpdateGutter();
        memo_->ResizeEditor();
        memo_->Invalidate();
    }
}

void TExGutter::SetGutterMargin(int m)
{
    margin_ = std::max(45, m);
    Invalidate();
}

void TExGutter::SetGutterColor(TColor c)
{
    color_ = c;
    Invalidate();
}

void TExGutter::SetGutterColorTo(TColor c)
{
    colorTo_ = c;
    Invalidate();
}

void TExGutter::SetShowLineNumbers(bool v)
{
    showLineNumbers_ = v;
    Invalidate();
}

void TExGutter::SetLineNumberStart(int v)
{
    if (v < 0) return;
    lineNumberStart_ = v;
    Invalidate();
}

void TExGutter::SetLineNumberTextColor(TColor c)
{
    lineNumberTextColor_ = c;
    Invalidate();
}

void TExGutter::SetDigitCount(int v)
{
    digitCount_ = v;
    Invalidate();
}

void TExGutter::SetShowLeadingZeros(bool v)
{
    showLeadingZeros_ = v;
    Invalidate();
}

void TExGutter::SetNumberSuffix(const std::string& s)
{
    numberSuffix_ = s;
    Invalidate();
}

void TExGutter::SetParams(int index, int value)
{
    switch (index) {
    case 0: left_ = value; break;
    case 1: top_ = value; break;
    case 2: gw_ = value; break;
    default: gh_ = value; break;
    }
}

void TExGutter::Invalidate()
{
    if (memo_ && memo_->HandleAllocated()) memo_->InvalidateRect(GetRect());
}

void TExGutter::PaintTo(TCanvas* c)
{
    const int right = left_ + gw_;
    c->Pen().SetWidth(1);
    c->Pen().SetColor(clGray);
    c->MoveTo(right - 1, top_);
    c->LineTo(right - 1, top_ + gh_);
    c->Pen().SetColor(clWhite);
    c->MoveTo(right - 2, top_);
    c->LineTo(right - 2, top_ + gh_);
    c->Brush().SetStyle(bsSolid);
    if (colorTo_ == clNone) {
        c->Brush().SetColor(color_);
        c->FillRect(Rect(left_, top_, right - 2, top_ + gh_));
    } else {
        const COLORREF a = ColorToRGB(color_), b = ColorToRGB(colorTo_);
        const int span = gw_ - 1;
        for (int k = 0; k < 48; ++k) {
            auto ch = [&](int ca, int cb) { return ca + int(std::lround(double(k) * (cb - ca) / 48.0)); };
            c->Brush().SetColor(TColor(RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)),
                                           ch(GetBValue(a), GetBValue(b)))));
            const int x1 = left_ + span * k / 48, x2 = left_ + span * (k + 1) / 48;
            if (x2 > x1) c->FillRect(Rect(x1, top_, x2, top_ + gh_));
        }
    }
    if (!memo_ || !memo_->OnGutterDraw || memo_->CharHeight() <= 0) return;
    TExMemoStrings* lines = memo_->Lines();
    // Logical number of the top line: lines above it that are not continuations.
    int number = lines->UnwrappedBefore(memo_->TopLine());
    const int top = memo_->EditorRect().Top;
    for (int i = memo_->TopLine(), y = top; i < lines->Count() && y < top_ + gh_; ++i, y += memo_->CharHeight()) {
        if (lines->IsWrapped(i)) continue;
        memo_->OnGutterDraw(memo_, c, number, Rect(left_, y, right - 2, y + memo_->CharHeight()));
        ++number;
    }
}

// ---------------------------------------------------------------- active line

void TExActiveLineSettings::SetShowActiveLine(bool v)
{
    showActiveLine_ = v;
    if (memo_) memo_->Invalidate();
}

void TExActiveLineSettings::SetShowActiveLineIndicator(bool v)
{
    showIndicator_ = v;
    if (memo_) memo_->Invalidate();
}

void TExActiveLineSettings::SetActiveLineColor(TColor c)
{
    color_ = c;
    if (memo_) memo_->Invalidate();
}

void TExActiveLineSettings::SetActiveLineTextColor(TColor c)
{
    textColor_ = c;
    if (memo_) memo_->Invalidate();
}

void TExActiveLineSettings::SetActiveLineAtCursor(bool v)
{
    atCursor_ = v;
    if (memo_) {
        if (v) memo_->SetActiveLine(memo_->CurY());
        memo_->Invalidate();
    }
}

}  // namespace memo

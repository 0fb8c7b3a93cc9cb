// Selection, character offsets, caret movement, editing commands, clipboard and keys.
#include <algorithm>

#include "platform/system/Clipboard.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/AutoCompletion.h"
#include "widgets/memo/MemoMarkers.h"
#include "widgets/memo/MemoSource.h"
#include "widgets/memo/MemoStrings.h"
#include "widgets/memo/UndoList.h"

namespace memo {

using namespace platform;

namespace {

const std::string kCrLf = "\r\n";

// Splits at CRLF, lone CR or lone LF.
std::vector<std::string> SplitLines(const std::string& s)
{
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
            parts.emplace_back();
        } else {
            parts.back().push_back(s[i]);
        }
    }
    return parts;
}

int TextLength(const std::string& s)
{
    // CRLF counts 2 as in offsets; a lone CR or LF also stands for a break of 2.
    int n = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
            n += 2;
            ++i;
        } else if (s[i] == '\r' || s[i] == '\n') {
            n += 2;
        } else {
            ++n;
        }
    }
    return n;
}

std::string TrimBlanks(std::string s)
{
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

}  // namespace

// ---------------------------------------------------------------- selection

void TExCustomMemo::GetSelection(int& sx, int& sy, int& ex, int& ey) const
{
    sx = selStartX_;
    sy = selStartY_;
    ex = selEndX_;
    ey = selEndY_;
    if (ey < sy || (ey == sy && ex < sx)) {
        std::swap(sx, ex);
        std::swap(sy, ey);
    }
}

void TExCustomMemo::SetSelection(int sx, int sy, int ex, int ey)
{
    selStartX_ = sx;
    selStartY_ = sy;
    selEndX_ = ex;
    selEndY_ = ey;
    selCaretX_ = curX_;
    selCaretY_ = curY_;
    SelectionChanged();
    Invalidate();
}

void TExCustomMemo::ClearSelection()
{
    const bool had = HasSelection();
    selStartX_ = selEndX_ = selCaretX_ = curX_;
    selStartY_ = selEndY_ = selCaretY_ = curY_;
    if (had) {
        SelectionChanged();
        Invalidate();
    }
}

void TExCustomMemo::ExpandSelection() { SetSelection(selStartX_, selStartY_, curX_, curY_); }

void TExCustomMemo::SelectAll()
{
    selStartX_ = selStartY_ = 0;
    if (lines_->Count() > 0) {
        selEndY_ = lines_->Count() - 1;
        selEndX_ = lines_->LineLength(selEndY_);
    }
    Invalidate();
    SelectionChanged();
}

int TExCustomMemo::TextFromPos(int x, int y) const
{
    int offset = 0;
    const int n = lines_->Count();
    for (int i = 0; i < y && i < n; ++i) offset += lines_->LineLength(i) + (HasContinuation(i) ? 0 : 2);
    if (y >= 0 && y < n) offset += std::min(x, lines_->LineLength(y));
    return offset;
}

TPoint TExCustomMemo::PosFromText(int offset) const
{
    int acc = 0;
    for (int i = 0; i < lines_->Count(); ++i) {
        const int len = lines_->LineLength(i);
        const int end = acc + len + (HasContinuation(i) ? 0 : 2);
        if (end > offset) return {std::min(offset - acc, len), i};
        acc = end;
    }
    return {0, 0};
}

int TExCustomMemo::SelStart()
{
    int sx, sy, ex, ey;
    GetSelection(sx, sy, ex, ey);
    return TextFromPos(sx, sy);
}

void TExCustomMemo::SetSelStart(int v)
{
    const int len = SelLength();
    const TPoint a = PosFromText(v), b = PosFromText(v + len);
    selStartX_ = a.X;
    selStartY_ = a.Y;
    selEndX_ = b.X;
    selEndY_ = b.Y;
    Invalidate();
}

int TExCustomMemo::SelLength() { return TextLength(SelText()); }

void TExCustomMemo::SetSelLength(int n)
{
    const TPoint b = PosFromText(SelStart() + n);
    int sx, sy, ex, ey;
    GetSelection(sx, sy, ex, ey);
    selStartX_ = sx;
    selStartY_ = sy;
    selEndX_ = b.X;
    selEndY_ = b.Y;
    Invalidate();
}

std::string TExCustomMemo::SelText()
{
    int sx, sy, ex, ey;
    GetSelection(sx, sy, ex, ey);
    if (sx == ex && sy == ey) return {};
    auto part = [](const std::string& s, int from, int to) {
        from = std::clamp(from, 0, int(s.size()));
        to = std::clamp(to, from, int(s.size()));
        return s.substr(std::size_t(from), std::size_t(to - from));
    };
    if (sy == ey) return part(LineText(sy), sx, ex);
    std::string out = part(LineText(sy), sx, int(LineText(sy).size()));
    for (int y = sy + 1; y < ey; ++y) {
        if (!Wrapped(y)) out += kCrLf;
        out += LineText(y);
    }
    if (!Wrapped(ey)) out += kCrLf;
    out += part(LineText(ey), 0, ex);
    return out;
}

void TExCustomMemo::DeleteSelectionInt(bool repaint)
{
    if (!EditCanModify() || !HasSelection()) return;
    int sx, sy, ex, ey;
    GetSelection(sx, sy, ex, ey);
    if (sy < 0 || ey >= lines_->Count()) {
        selStartX_ = selStartY_ = selEndX_ = selEndY_ = 0;
        return;
    }
    const int bx = curX_, by = curY_;
    const std::string text = SelText();
    const bool n = notify_;
    notify_ = false;
    std::string head = LineText(sy).substr(0, std::size_t(std::min(sx, int(LineText(sy).size()))));
    const std::string& last = LineText(ey);
    std::string joined = head + (ex < int(last.size()) ? last.substr(std::size_t(ex)) : std::string());
    if (TrimTrailingSpaces) joined = TrimBlanks(joined);
    lines_->DoPut(sy, joined);
    curX_ = sx;
    curY_ = sy;
    ClearSelection();
    for (int y = ey; y > sy; --y) {
        ClearLineErrors(y);
        lines_->DoDelete(y);
    }
    SelectionChanged();
    if (repaint) Invalidate();
    const int offset = TextFromPos(sx, sy);
    UpdateWrapLines(sy, sy);
    const TPoint p = PosFromText(offset);
    curX_ = p.X;
    curY_ = p.Y;
    notify_ = n;
    LinesChanged();
    RecordUndo(std::make_unique<TDeleteBufUndo>(bx, by, curX_, curY_, text, sx, sy, ex, ey));
    ClearSelection();
    ClearLineErrors(curY_);
    MakeVisible();
}

void TExCustomMemo::InsertNoUndo(const std::string& s)
{
    // Inserts s at the caret; the caret ends after it.
    if (lines_->Count() == 0) lines_->DoAdd("");
    std::string line = LineText(curY_);
    if (int(line.size()) < curX_) line.resize(std::size_t(curX_), ' ');
    const std::string before = line.substr(0, std::size_t(curX_)), after = line.substr(std::size_t(curX_));
    const std::vector<std::string> parts = SplitLines(s);
    const bool n = notify_;
    notify_ = false;
    if (parts.size() == 1) {
        lines_->DoPut(curY_, before + parts[0] + after);
        curX_ = int(before.size() + parts[0].size());
    } else {
        lines_->DoPut(curY_, before + parts[0]);
        for (std::size_t i = 1; i < parts.size(); ++i)
            lines_->DoInsert(curY_ + int(i), i + 1 == parts.size() ? parts[i] + after : parts[i]);
        curY_ += int(parts.size()) - 1;
        curX_ = int(parts.back().size());
    }
    notify_ = n;
}

void TExCustomMemo::SetSelText(const std::string& s)
{
    if (!EditCanModify()) return;
    DeleteSelectionInt(false);
    const int start = TextFromPos(curX_, curY_);
    const TPoint from{curX_, curY_};
    InsertNoUndo(s);
    const bool multi = s.find_first_of("\r\n") != std::string::npos;
    if (wordWrap_ != wwNone) {
        UpdateWrapLines(from.Y, curY_);
        const TPoint a = PosFromText(start), b = PosFromText(start + TextLength(s));
        curX_ = b.X;
        curY_ = b.Y;
        leftCol_ = 0;
        RecordUndo(std::make_unique<TPasteUndo>(a.X, a.Y, b.X, b.Y, s));
        if (!multi) {
            selStartX_ = a.X;
            selStartY_ = a.Y;
            selEndX_ = b.X;
            selEndY_ = b.Y;
        } else {
            ClearSelection();
        }
    } else {
        ClearSelection();
        RecordUndo(std::make_unique<TPasteUndo>(from.X, from.Y, curX_, curY_, s));
    }
    LinesChanged();
    MakeVisible();
    Invalidate();
}

// ---------------------------------------------------------------- movement

bool TExCustomMemo::NoteShift(TShiftState shift) const
{
    return (shift & ssShift) && curX_ == selCaretX_ && curY_ == selCaretY_;
}

void TExCustomMemo::FinishMove(bool extend)
{
    if (extend)
        ExpandSelection();
    else
        ClearSelection();
}

void TExCustomMemo::MoveCursor(int dx, int dy, TShiftState shift)
{
    const bool extend = NoteShift(shift);
    if (!(shift & ssCtrl)) {
        if (dy) SetCurY(curY_ + dy);
        if (dx) SetCurX(curX_ + dx);
    } else if (dx > 0) {
        std::string line = TrimmedLine(curY_);
        int x = curX_ + 1;
        while (x < int(line.size()) && (!IsDelimiter(line[std::size_t(x - 1)]) || line[std::size_t(x)] == ' ')) ++x;
        if (x > int(line.size()) && curY_ + 1 < lines_->Count()) {
            SetCurY(curY_ + 1);
            SetCurX(0);
        } else {
            SetCurX(x);
        }
    } else if (dx < 0) {
        SetCurX(curX_ - 1);
        const std::string line = TrimmedLine(curY_);
        int x = curX_;
        while (x > 0 && x <= int(line.size()) &&
               !(IsDelimiter(line[std::size_t(x - 1)]) && (x == int(line.size()) || line[std::size_t(x)] != ' ')))
            --x;
        SetCurX(x);
    }
    FinishMove(extend);
}

void TExCustomMemo::MovePage(int direction, TShiftState shift)
{
    if (charHeight_ == 0) return;
    const bool extend = NoteShift(shift);
    const TRect r = EditorRect();
    const int rows = r.Height() / charHeight_ - 1;
    SetCurY(curY_ + direction * rows);
    if (shift & ssCtrl) {
        if (direction <= 0) {
            SetCurY(0);
            SetCurX(0);
        } else {
            SetCurY(lines_->Count() - 1);
            SetCurX(lines_->Count() > 0 ? lines_->LineLength(lines_->Count() - 1) : 0);
        }
    }
    FinishMove(extend);
}

void TExCustomMemo::GoHome(TShiftState shift)
{
    if (shift & ssCtrl) {
        SetCurX(0);
        SetCurY(0);
    }
    const bool extend = NoteShift(shift);
    if (EnhancedHomeKey && curX_ > 0) {
        const std::string line = LineText(curY_);
        int p = curX_ - 1;
        auto at = [&](int i) { return i >= 0 && i < int(line.size()) ? line[std::size_t(i)] : ' '; };
        while (p >= 1 && !(at(p - 1) == ' ' && at(p) != ' ')) --p;
        SetCurX(p);
        if (curX_ < leftCol_) SetLeftCol(curX_);
    } else {
        SetCurX(0);
        SetLeftCol(0);
    }
    FinishMove(extend);
}

void TExCustomMemo::GoEnd(TShiftState shift)
{
    if ((shift & ssCtrl) && lines_->Count() > 0) {
        SetCurY(lines_->Count() - 1);
        SetCurX(lines_->LineLength(lines_->Count() - 1));
    }
    const bool extend = NoteShift(shift);
    SetCurX(int(TrimmedLine(curY_).size()));
    FinishMove(extend);
}

// ---------------------------------------------------------------- editing

std::string TExCustomMemo::IndentCurrLine() const
{
    if (!AutoIndent) return {};
    const std::string line = LineText(curY_);
    int n = 0;
    while (n < curX_ && n < int(line.size()) && line[std::size_t(n)] == ' ') ++n;
    return std::string(std::size_t(n), ' ');
}

void TExCustomMemo::InsertChar(char ch)
{
    if (lines_->Count() == 0) lines_->DoAdd("");
    const int bx = curX_, by = curY_;
    std::string line = LineText(curY_);
    std::string text;
    const bool overwrite = overwrite_ && !undo_->Performing();
    if (ch != '\t') {
        if (int(line.size()) < curX_) line.resize(std::size_t(curX_), ' ');
        text = std::string(1, ch);
    } else if (!overwrite) {
        text = std::string(std::size_t(tabSize_), ' ');
    } else if (curX_ + tabSize_ < int(line.size())) {
        SetCurX(curX_ + tabSize_);
        return;
    } else {
        const int target = curX_ + tabSize_;
        curX_ = int(line.size());
        text = std::string(std::size_t(std::max(0, target - curX_)), ' ');
    }
    if (overwrite && ch != '\t' && curX_ < int(line.size()))
        line[std::size_t(curX_)] = ch;
    else
        line.insert(std::size_t(curX_), text);
    StoreLine(curY_, line);
    if (wordWrap_ != wwNone) {
        const int offset = TextFromPos(curX_, curY_) + int(text.size());
        UpdateWrapLines(curY_, curY_);
        const TPoint p = PosFromText(offset);
        curX_ = p.X;
        curY_ = p.Y;
        leftCol_ = 0;
        MakeVisible();
        if (caretShown_) ShowCaret(true);
    } else {
        SetCurX(curX_ + int(text.size()));
    }
    ClearSelection();
    RecordUndo(std::make_unique<TInsertCharUndo>(bx, by, curX_, curY_, text));
}

void TExCustomMemo::NewLine()
{
    if (!EditCanModify()) return;
    if (lines_->Count() == 0) lines_->DoAdd("");
    const bool n = notify_;
    notify_ = false;
    const int bx = curX_, by = curY_;
    TExMarkers& markers = markerList_->Markers();
    if (markers.HigherMarkerThanLine(curY_)) markers.AdjustMarkerLinePlus(curY_);
    const std::string indent = IndentCurrLine();
    std::string line = LineText(curY_);
    const std::size_t cut = std::min(std::size_t(curX_), line.size());
    std::string right = line.substr(cut);
    right.erase(right.find_last_not_of(" \t") + 1);
    if (AutoIndent) right.erase(0, std::min(right.find_first_not_of(' '), right.size()));
    // The line left behind loses its trailing blanks, as any line the caret leaves does.
    const std::string left = line.substr(0, cut);
    const std::string kept = HasContinuation(curY_) ? left : TrimBlanks(left);
    lines_->DoPut(curY_, kept);
    lines_->DoInsert(curY_ + 1, indent + right);
    curY_ += 1;
    curX_ = int(indent.size());
    ClearSelection();
    auto entry = std::make_unique<TInsertCharUndo>(bx, by, curX_, curY_, "\r" + indent);
    entry->FTrimmed = int(left.size() - kept.size());
    RecordUndo(std::move(entry));
    notify_ = n;
    LinesChanged();
    MakeVisible();
    if (caretShown_) ShowCaret(true);
}

void TExCustomMemo::DeleteChar(int x, int y)
{
    if (!EditCanModify()) return;
    const bool atCaret = x < 0;
    const int bx = atCaret ? curX_ : x, by = atCaret ? curY_ : y;
    ClearSelection();
    if (curY_ >= lines_->Count()) return;
    std::string line = LineText(curY_);
    std::string text;
    if (curX_ < int(line.size())) {
        text = std::string(1, line[std::size_t(curX_)]);
        line.erase(std::size_t(curX_), 1);
        StoreLine(curY_, line);
    } else if (curY_ + 1 < lines_->Count()) {
        if (HasContinuation(curY_)) {
            // No line break of its own: the first character of the continuation goes.
            std::string next = LineText(curY_ + 1);
            if (next.empty()) return;
            text = std::string(1, next[0]);
            StoreLine(curY_ + 1, next.substr(1));
        } else {
            text = "\r";
            const bool n = notify_;
            notify_ = false;
            if (int(line.size()) < curX_) line.resize(std::size_t(curX_), ' ');
            lines_->DoPut(curY_, line + LineText(curY_ + 1));
            lines_->DoDelete(curY_ + 1);
            notify_ = n;
        }
    } else {
        return;
    }
    const int offset = TextFromPos(curX_, curY_);
    UpdateWrapLines(curY_, curY_);
    const TPoint p = PosFromText(offset);
    curX_ = p.X;
    curY_ = p.Y;
    LinesChanged();
    RecordUndo(std::make_unique<TDeleteCharUndo>(bx, by, curX_, curY_, text, !atCaret));
}

void TExCustomMemo::BackSpace()
{
    if (!EditCanModify()) return;
    if (SmartTabs && lines_->Count() > 0 && curX_ > 0) {
        const std::string line = LineText(curY_);
        bool blanks = true;
        for (int i = 0; i < curX_ && i < int(line.size()); ++i)
            if (line[std::size_t(i)] != ' ') blanks = false;
        if (blanks) {
            const int target = std::max(0, SmartTarget(false));
            if (target < curX_) {
                std::string s = line;
                if (target < int(s.size())) s.erase(std::size_t(target), std::size_t(curX_ - target));
                StoreLine(curY_, s);
                const int bx = curX_, by = curY_;
                SetCurX(target);
                RecordUndo(std::make_unique<TInsertCharUndo>(bx, by, curX_, curY_, ""));
                LinesChanged();
                return;
            }
        }
    }
    const int bx = curX_, by = curY_;
    if (curX_ == 0 && curY_ > 0 && Wrapped(curY_)) {
        // At the start of a continuation: the last character of the piece before goes.
        SetCurY(curY_ - 1);
        SetCurX(std::max(0, lines_->LineLength(curY_) - 1));
        ClearSelection();
    } else {
        MoveCursor(-1, 0, 0);
    }
    if (curX_ == bx && curY_ == by) return;
    DeleteChar(bx, by);
    TExMarkers& markers = markerList_->Markers();
    if (curY_ != by && markers.HigherMarkerThanLine(by)) markers.AdjustMarkerLineMinus(by);
}

void TExCustomMemo::BackWord()
{
    for (;;) {
        const int bx = curX_, by = curY_;
        const std::string line = LineText(curY_);
        const char left = curX_ > 0 && curX_ <= int(line.size()) ? line[std::size_t(curX_ - 1)] : 0;
        BackSpace();
        if ((curX_ == bx && curY_ == by) || left == ' ' || curX_ == 0) break;
        const std::string now = LineText(curY_);
        if (curX_ > 0 && curX_ <= int(now.size()) && now[std::size_t(curX_ - 1)] == ' ') break;
    }
}

void TExCustomMemo::DeleteLine()
{
    if (!EditCanModify()) return;
    if (lines_->Count() == 0) return;
    ClearLineErrors(curY_);
    markerList_->Markers().RemoveMarker(curY_);
    const int bx = curX_, by = curY_;
    const std::string text = LineText(curY_);
    curX_ = 0;
    const bool n = notify_;
    notify_ = false;
    if (lines_->Count() == 1) {
        lines_->DoPut(0, "");
    } else if (curY_ == lines_->Count() - 1) {
        curY_ -= 1;
        lines_->DoDelete(curY_ + 1);
    } else {
        lines_->DoDelete(curY_);
    }
    notify_ = n;
    ClearSelection();
    LinesChanged();
    RecordUndo(std::make_unique<TDeleteLineUndo>(bx, by, curX_, curY_, text));
    MakeVisible();
}

std::string TExCustomMemo::JoinedLineAbove(int y) const
{
    // The line at y with its wrapped pieces joined in front of it.
    std::string s = LineText(y);
    while (y > 0 && Wrapped(y)) s = LineText(--y) + s;
    return s;
}

int TExCustomMemo::SmartTarget(bool forTab) const
{
    if (curY_ < 2) return forTab ? -1 : curX_ - 1;
    for (int y = curY_ - 1; y >= 0; --y) {
        const std::string s = JoinedLineAbove(y);
        if (forTab) {
            if (int(s.size()) < curX_ + 1) continue;
            int i = curX_;
            while (i < int(s.size()) && s[std::size_t(i)] != ' ') ++i;
            while (i < int(s.size()) && s[std::size_t(i)] == ' ') ++i;
            if (i < int(s.size())) return i;
        } else {
            int i = std::min(curX_ - 2, int(s.size()) - 1);
            while (i >= 0 && s[std::size_t(i)] == ' ') --i;
            if (i < 0) continue;
            while (i > 0 && s[std::size_t(i - 1)] != ' ') --i;
            return i;
        }
    }
    return forTab ? -1 : curX_ - 1;
}

void TExCustomMemo::TabLine(TShiftState shift)
{
    if (!EditCanModify()) return;
    if (SmartTabs && lines_->Count() > 0) {
        const int target = SmartTarget(true);
        const int bx = curX_, by = curY_;
        if (target > curX_) {
            std::string line = LineText(curY_);
            if (int(line.size()) < curX_) line.resize(std::size_t(curX_), ' ');
            const std::string blanks(std::size_t(target - curX_), ' ');
            std::string s = TrimBlanks(line.substr(0, std::size_t(curX_)) + blanks + line.substr(std::size_t(curX_)));
            StoreLine(curY_, s);
            SetCurX(target);
            RecordUndo(std::make_unique<TInsertCharUndo>(bx, by, curX_, curY_, blanks));
        } else {
            InsertChar('\t');
            Invalidate();
        }
        LinesChanged();
        return;
    }
    if (shift & ssCtrl) return;
    if (shift & ssShift) {
        SetCurX(std::max(0, curX_ - tabSize_));
        return;
    }
    InsertChar('\t');
    Invalidate();
}

int TExCustomMemo::AddString(const std::string& s)
{
    if (lines_->Count() == 0) lines_->DoAdd("");
    MovePage(1, ssCtrl);
    if (charHeight_ == 0) {
        SetCurY(lines_->Count() - 1);
        SetCurX(lines_->LineLength(lines_->Count() - 1));
    }
    if (!(lines_->Count() == 1 && LineText(0).empty())) {
        lines_->DoAdd("");
        curY_ = lines_->Count() - 1;
        curX_ = 0;
        ClearSelection();
    }
    SetSelText(s);
    return lines_->Count() - 1;
}

void TExCustomMemo::InsertString(int line, const std::string& s)
{
    SetCurY(line);
    SetCurX(0);
    ClearSelection();
    const bool single = lines_->Count() == 1 && LineText(0).empty();
    SetSelText(single ? s : s + kCrLf);
}

void TExCustomMemo::InsertTemplate(const std::string& s)
{
    const std::string indent = IndentCurrLine();
    std::string out;
    int line = curY_, col = curX_, targetX = -1, targetY = -1;
    bool bel = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\r') {
            out += "\r\n";
            ++line;
            col = int(indent.size());
            if (i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
            out += indent;
        } else if (c == 7 && !bel) {
            bel = true;
            targetX = col;
            targetY = line;
        } else if (static_cast<unsigned char>(c) >= 32) {
            out.push_back(c);
            ++col;
        }
    }
    SetSelText(out);
    if (targetY >= 0) SetCursor(targetX, targetY);
    if (CanFocus()) SetFocus();
}

void TExCustomMemo::InsertTextAtXY(const std::string& s, int x, int y)
{
    if (y < 0 || y >= lines_->Count()) return;
    std::string line = LineText(y);
    if (int(line.size()) < x) line.resize(std::size_t(x), ' ');
    line.insert(std::size_t(std::max(0, x)), s);
    lines_->DoPut(y, line);
}

void TExCustomMemo::DeleteTextAtXY(int x, int y, int count)
{
    if (y < 0 || y >= lines_->Count() || x < 0 || count <= 0) return;
    std::string line = LineText(y);
    if (x >= int(line.size())) return;
    line.erase(std::size_t(x), std::size_t(count));
    lines_->DoPut(y, line);
}

void TExCustomMemo::BlockIndent(int from, int to, int amount)
{
    if (from > to) std::swap(from, to);
    const bool n = notify_;
    notify_ = false;
    for (int y = std::max(0, from); y <= to && y < lines_->Count(); ++y) {
        std::string line = LineText(y);
        if (amount > 0) {
            line.insert(0, std::size_t(amount), ' ');
        } else {
            std::size_t k = 0;
            while (k < line.size() && int(k) < -amount && line[k] == ' ') ++k;
            line.erase(0, k);
        }
        lines_->DoPut(y, line);
    }
    notify_ = n;
    LinesChanged();
    Invalidate();
}

// ---------------------------------------------------------------- clipboard

void TExCustomMemo::CopyToClipBoard()
{
    const std::string s = SelText();
    if (!s.empty()) Clipboard()->SetAsText(s);
}

void TExCustomMemo::CutToClipBoard()
{
    if (ReadOnly || !EditCanModify()) return;
    CopyToClipBoard();
    DeleteSelectionInt(true);
}

void TExCustomMemo::PasteFromClipBoard()
{
    if (ReadOnly || !EditCanModify()) return;
    std::string text = Clipboard()->AsText();
    if (text.empty()) return;
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    const std::vector<std::string> parts = SplitLines(text);
    std::string norm;
    for (std::size_t i = 0; i < parts.size(); ++i) norm += (i ? kCrLf : std::string()) + parts[i];
    int sx, sy, ex, ey;
    GetSelection(sx, sy, ex, ey);
    const int start = HasSelection() ? TextFromPos(sx, sy) : TextFromPos(curX_, curY_);
    SetSelText(norm);
    if (wordWrap_ != wwNone) {
        const TPoint p = PosFromText(start);
        curX_ = p.X;
        curY_ = p.Y;
        leftCol_ = 0;
        ClearSelection();
        MakeVisible();
    } else {
        ClearSelection();
        Invalidate();
    }
    if (caretShown_) ShowCaret(true);
}

// ---------------------------------------------------------------- keys

void TExCustomMemo::DoCommand(Word key, TShiftState shift)
{
    const bool ctrl = shift & ssCtrl, sh = shift & ssShift;
    switch (key) {
    case 3: CopyToClipBoard(); return;
    case VK_ESCAPE: return;
    case VK_PRIOR: MovePage(-1, shift); return;
    case VK_NEXT: MovePage(1, shift); return;
    case VK_END:
    case VK_HOME:
        if (lines_->Count() == 0) {
            curX_ = 0;
            return;
        }
        if (key == VK_END)
            GoEnd(shift);
        else
            GoHome(shift);
        if (ctrl && sh) SelectAll();
        return;
    case VK_INSERT:
        if (ctrl) {
            CopyToClipBoard();
            return;
        }
        break;
    default: break;
    }
    if (ReadOnly) return;
    switch (key) {
    case 1: SelectAll(); return;
    case VK_BACK:
        if (ctrl) {
            if (lines_->Count() > 0 && EditCanModify()) BackWord();
        } else if (DelErase && HasSelection()) {
            DeleteSelectionInt(true);
        } else if (lines_->Count() > 0 && EditCanModify()) {
            BackSpace();
        }
        return;
    case VK_TAB: TabLine(shift); return;
    case VK_RETURN: NewLine(); return;
    case 22: PasteFromClipBoard(); return;
    case 24: CutToClipBoard(); return;
    case 25: DeleteLine(); return;
    case VK_INSERT:
        if (sh) {
            PasteFromClipBoard();
        } else {
            bool allow = true;
            if (OnOverwriteToggle) OnOverwriteToggle(this, allow);
            if (allow) overwrite_ = !overwrite_;
        }
        return;
    case VK_DELETE:
        if (sh) {
            if (lines_->Count() > 0) CutToClipBoard();
        } else if (DelErase && HasSelection()) {
            DeleteSelectionInt(true);
        } else if (lines_->Count() > 0) {
            DeleteChar(-1, 0);
        }
        return;
    default: return;
    }
}

void TExCustomMemo::KeyDown(Word& key, TShiftState shift)
{
    if (OnKeyDown) OnKeyDown(this, key, shift);
    if (key == 0) return;
    StopCompletionTimer();
    lastKeyCtrl_ = shift & ssCtrl;
    // The caret stays solid while keys are typed: moving it restarts its blink. The
    // desktop's blink time is never changed.
    switch (key) {
    case VK_BACK:
        if (shift & ssAlt) {
            if (shift & ssShift)
                Redo();
            else
                Undo();
        } else {
            DoCommand(key, shift);
        }
        break;
    case VK_TAB:
    case VK_ESCAPE:
    case VK_END:
    case VK_HOME:
    case VK_DELETE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT: DoCommand(key, shift); break;
    case VK_LEFT: MoveCursor(-1, 0, shift); break;
    case VK_UP: MoveCursor(0, -1, shift); break;
    case VK_RIGHT: MoveCursor(1, 0, shift); break;
    case VK_DOWN: MoveCursor(0, 1, shift); break;
    case VK_SPACE:
        if ((shift & ssCtrl) && (shift & ssShift)) {
            if (autoHintParameters_ != hpNone) PrepareShowHint();
        } else if ((shift & ssCtrl) && autoCompletion_->Active) {
            ShowForm();
            swallowSpace_ = CompletionVisible();
        }
        break;
    case 'F':
        if ((shift & ssCtrl) && OnFind) OnFind(this);
        break;
    case 'H':
        if ((shift & ssCtrl) && OnReplace) OnReplace(this);
        break;
    default: break;
    }
    if (caretShown_) ShowCaret(true);
}

void TExCustomMemo::KeyUp(Word& key, TShiftState shift)
{
    TCustomControl::KeyUp(key, shift);
    if (!hiddenCaret_) ShowCaret(true);
}

void TExCustomMemo::KeyPress(char& key)
{
    if (OnKeyPress) OnKeyPress(this, key);
    if (key == 3) {
        CopyToClipBoard();
        return;
    }
    if (ReadOnly || !EditCanModify()) return;
    if (swallowSpace_ && key == ' ') {
        swallowSpace_ = false;
        return;
    }
    swallowSpace_ = false;
    const unsigned char k = static_cast<unsigned char>(key);
    if (checker_ && (key == '\t' || key == '\r' || key == ' ')) RunChecker(key);
    if ((key == '\t' || key == '\r' || key == ' ') && (OnWordComplete || (autoCorrect_.Active && !autoCorrect_.OldValue.empty()))) {
        int start = 0;
        const std::string word = WordAtCursorPos(start);
        std::string repl = word;
        if (!word.empty()) {
            for (std::size_t i = 0; i < autoCorrect_.OldValue.size(); ++i)
                if (autoCorrect_.OldValue[i] == word && i < autoCorrect_.NewValue.size()) {
                    repl = autoCorrect_.NewValue[i];
                    break;
                }
            if (OnWordComplete) OnWordComplete(this, word, repl);
            if (repl != word) {
                const int from = curX_ - int(word.size());
                if (from >= 0) {
                    std::string line = LineText(curY_);
                    line.replace(std::size_t(from), word.size(), repl);
                    StoreLine(curY_, line);
                    SetCurX(curX_ + int(repl.size()) - int(word.size()));
                }
            }
        }
    }
    if ((k >= 32 && k <= 126) || k >= 128) {
        if (DelErase && HasSelection()) DeleteSelectionInt(false);
        InsertChar(key);
        Invalidate();
        if (OnChange) OnChange(this);
        if (key == '(' || key == '.') StartCompletionTimer();
        return;
    }
    if (key != 8 && key != 9) DoCommand(Word(k), 0);
}

}  // namespace memo

namespace memo {

void TExCustomMemo::RunChecker(char key)
{
    const TAutoCorrectType type = checker_->AutoCorrectType;
    if (key == '\r') {
        if (type == acLineCorrect) {
            checker_->CorrectLine(curY_);
            SetCurX(int(LineText(curY_).size()));
        } else if (type == acLineCheck) {
            checker_->CheckLine(curY_);
        } else if (type == acWordCheck) {
            checker_->CheckWord(curY_, curX_, WordTillCursor());
        }
        return;
    }
    const std::string word = WordTillCursor();
    if (word.empty()) return;
    if (type == acWordCorrect) {
        std::string changed = word;
        checker_->CorrectWord(curY_, curX_, changed);
        const int from = curX_ - int(word.size());
        if (changed != word && from >= 0) {
            std::string line = LineText(curY_);
            line.replace(std::size_t(from), word.size(), changed);
            StoreLine(curY_, line);
            SetCurX(curX_ + int(changed.size()) - int(word.size()));
        }
    } else if (type == acWordCheck) {
        checker_->CheckWord(curY_, curX_, word);
    }
}

}  // namespace memo

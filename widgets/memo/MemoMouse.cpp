// Mouse, context menu, drag and drop, URLs, word queries and search.
#include <algorithm>
#include <cctype>

#include "base/StrUtils.h"
#include "platform/controls/Menus.h"
#include "platform/forms/Forms.h"
#include "platform/system/Clipboard.h"
#include "platform/system/Shell.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/Gutter.h"
#include "widgets/memo/MemoStrings.h"
#include "widgets/memo/MemoStyler.h"
#include "widgets/memo/Tokenizer.h"

namespace memo {

using namespace platform;

namespace {

bool InRectInclusive(const TRect& r, int x, int y) { return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom; }

std::string LowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool IsHostChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.'; }

}  // namespace

// ---------------------------------------------------------------- URLs

bool TExCustomMemo::WordIsURL(std::string_view s)
{
    const std::string l = LowerAscii(s.substr(0, 8));
    for (const char* p : {"http://", "https://", "ftp://", "nntp://", "mailto:", "www."})
        if (l.rfind(p, 0) == 0) return true;
    return false;
}

bool TExCustomMemo::IsOpenableURL(std::string_view s, std::string& address)
{
    const std::string l = LowerAscii(s);
    std::size_t hostStart = 0;
    std::string prefix;
    if (l.rfind("www.", 0) == 0) {
        prefix = "http://";
        hostStart = 4;  // the name after "www." must itself be a domain
    } else {
        bool known = false;
        for (const char* p : {"http://", "https://", "ftp://", "nntp://", "mailto:"})
            if (l.rfind(p, 0) == 0) {
                hostStart = std::string_view(p).size();
                known = true;
                break;
            }
        if (!known) return false;
    }
    if (l.rfind("mailto:", 0) == 0) {
        // user@host.domain, nothing else.
        const std::string rest(s.substr(hostStart));
        const std::size_t at = rest.find('@');
        if (at == 0 || at == std::string::npos || rest.find('@', at + 1) != std::string::npos) return false;
        const std::string host = rest.substr(at + 1);
        if (host.find('.') == std::string::npos ||
            !std::all_of(host.begin(), host.end(), IsHostChar))
            return false;
        for (char c : rest.substr(0, at))
            if (!(std::isalnum(static_cast<unsigned char>(c)) || std::string_view("._%+-").find(c) != std::string_view::npos))
                return false;
        address = std::string(s);
        return true;
    }
    // The host: letters, digits, dots and hyphens with at least one dot, no empty label.
    std::size_t end = hostStart;
    while (end < s.size() && (IsHostChar(s[end]) || s[end] == ':')) ++end;
    const std::string_view host = s.substr(hostStart, end - hostStart);
    const std::string_view name = host.substr(0, host.find(':'));
    if (name.size() < 3 || name.find('.') == std::string_view::npos || name.front() == '.' || name.back() == '.' ||
        name.find("..") != std::string_view::npos)
        return false;
    if (end < s.size() && s[end] != '/' && s[end] != '?' && s[end] != '#') return false;
    for (char c : s.substr(end))
        if (static_cast<unsigned char>(c) <= 32 || c == '"' || c == '\'' || c == '<' || c == '>' || c == '\\' ||
            c == '`' || static_cast<unsigned char>(c) >= 127)
            return false;
    address = prefix + std::string(s);
    return true;
}


std::vector<std::string> TExCustomMemo::ExtractURL(const std::string& s)
{
    if (!urlAware_) return {s};
    const char escape = styler_ && useStyler_ && !styler_->EscapeChar.empty() ? styler_->EscapeChar[0] : 0;
    std::vector<std::string> out;
    for (std::string_view r : SplitUrlRuns(s, escape)) out.emplace_back(r);
    return out;
}

void TExCustomMemo::OpenURL(const std::string& run)
{
    if (OnURLClick) {
        OnURLClick(this, run);
        return;
    }
    // Only an address goes to the desktop's handler: never a file or a command.
    std::string address;
    if (IsOpenableURL(run, address)) ShellExecute(HandleAllocated() ? Handle() : nullptr, "open", address, "", "", SW_SHOWNORMAL);
}

bool TExCustomMemo::TestforURLClick(const std::string& lineText)
{
    if (!urlAware_) return false;
    int col = 0;
    for (const std::string& r : ExtractURL(lineText)) {
        if (curX_ >= col && curX_ < col + int(r.size())) {
            if (!WordIsURL(r)) return false;
            OpenURL(r);
            return true;
        }
        col += int(r.size());
    }
    return false;
}

bool TExCustomMemo::TestforURLMove(const std::string& lineText, int column)
{
    if (!urlAware_) return false;
    int col = 0;
    for (const std::string& r : ExtractURL(lineText)) {
        if (column >= col && column < col + int(r.size())) return WordIsURL(r);
        col += int(r.size());
    }
    return false;
}

// ---------------------------------------------------------------- words

namespace {

template <class Boundary>
std::string WordAround(const std::string& line, int x, Boundary isBoundary)
{
    if (x < 0 || x > int(line.size())) return {};
    int a = x, b = x;
    while (a > 0 && !isBoundary(line[std::size_t(a - 1)])) --a;
    while (b < int(line.size()) && !isBoundary(line[std::size_t(b)])) ++b;
    return line.substr(std::size_t(a), std::size_t(b - a));
}

}  // namespace

void TExCustomMemo::CMHintShow(TCMHintShow& m)
{
    THintInfo* info = HintInfoOf(m);
    const TPoint cell = CellFromPos(info->CursorPos.X, info->CursorPos.Y);
    hintCell_ = Point(cell.X + leftCol_, cell.Y + topLine_);
    bool show = true;
    // The word there, else the token there, may give the hint.
    const struct {
        const std::function<void(TObject*, int, int, const std::string&, std::string&, bool&)>& handler;
        std::string text;
    } asks[] = {{OnHintForWord, OnHintForWord ? WordAtXY(hintCell_.X, hintCell_.Y) : std::string()},
                {OnHintForToken, OnHintForToken ? TokenAtXY(hintCell_.X, hintCell_.Y) : std::string()}};
    for (const auto& ask : asks) {
        if (!ask.handler || ask.text.empty()) continue;
        std::string hint = ask.text;
        ask.handler(this, hintCell_.X, hintCell_.Y, ask.text, hint, show);
        if (show) {
            info->HintStr = hint;
            info->CursorRect = CellRect(cell.X, cell.Y);
            m.Result = 0;
            return;
        }
        break;
    }
    m.Result = show ? 0 : 1;
}

std::string TExCustomMemo::WordAtXY(int x, int y)
{
    if (y < 0 || y >= lines_->Count()) return {};
    const std::string line = LineText(y);
    if (x > int(line.size())) return {};
    return WordAround(line, x, [this](char c) { return IsWordBoundary(c); });
}

std::string TExCustomMemo::FullWordAtXY(int x, int y)
{
    if (y < 0 || y >= lines_->Count()) return {};
    return WordAround(LineText(y), x, [](char c) { return c == ' '; });
}

std::string TExCustomMemo::TokenAtXY(int x, int y)
{
    if (y < 0 || y >= lines_->Count()) return {};
    return WordAround(LineText(y), x, [this](char c) { return IsTokenBoundary(c); });
}

std::string TExCustomMemo::WordAtCursor()
{
    int start = 0;
    return WordAtCursorPos(start);
}

std::string TExCustomMemo::WordAtCursorPos(int& start)
{
    if (curY_ >= lines_->Count() && lines_->Count() > 0) curY_ = lines_->Count() - 1;
    const std::string line = LineText(curY_);
    int x = std::min(curX_, int(line.size()));
    int a = x;
    while (a > 0 && !IsWordBoundary(line[std::size_t(a - 1)])) --a;
    start = a + 1;
    return WordAround(line, x, [this](char c) { return IsWordBoundary(c); });
}

std::string TExCustomMemo::FullWordAtCursor()
{
    if (curY_ >= lines_->Count() && lines_->Count() > 0) curY_ = lines_->Count() - 1;
    return WordAround(LineText(curY_), std::min(curX_, int(LineText(curY_).size())),
                      [](char c) { return c == ' ' || c == '(' || c == ')'; });
}

std::string TExCustomMemo::WordTillCursor()
{
    if (curY_ >= lines_->Count() && lines_->Count() > 0) curY_ = lines_->Count() - 1;
    const std::string line = LineText(curY_);
    const int x = std::min(curX_, int(line.size()));
    int a = x;
    while (a > 0 && !IsWordBoundary(line[std::size_t(a - 1)])) --a;
    return line.substr(std::size_t(a), std::size_t(x - a));
}

// ---------------------------------------------------------------- search

namespace {

// Index of s in text (the first, or the last when !down), with the whole-word rule.
int FindIn(const std::string& text, const std::string& s, bool down, bool wholeWord)
{
    // With whole words, an occurrence inside a word is passed over for the next one.
    std::size_t p = down ? text.find(s) : text.rfind(s);
    while (p != std::string::npos) {
        const bool before = p == 0 || text[p - 1] == ' ';
        const bool after = p + s.size() == text.size() || text[p + s.size()] == ' ';
        if (!wholeWord || (before && after)) return int(p);
        if (down)
            p = text.find(s, p + 1);
        else
            p = p == 0 ? std::string::npos : text.rfind(s, p - 1);
    }
    return -1;
}

}  // namespace

bool TExCustomMemo::FindInLines(const std::string& s, TFindOptions options, int& line, int& col)
{
    if (s.empty()) return false;
    const bool down = options & frDown, matchCase = options & frMatchCase, whole = options & frWholeWord;
    const std::string needle = matchCase ? s : LowerAscii(s);
    int sx, sy, ex, ey;
    GetSelection(sx, sy, ex, ey);
    const bool oneLineSel = HasSelection() && sy == ey;
    for (int y = curY_; y >= 0 && y < lines_->Count(); y += down ? 1 : -1) {
        std::string text = TrimmedLine(y);
        int base = 0;
        // On the line of a one-line selection only the text beyond it counts.
        if (oneLineSel && y == sy) {
            if (down) {
                if (ex >= int(text.size())) continue;
                base = ex;
                text = text.substr(std::size_t(ex));
            } else {
                text = text.substr(0, std::size_t(std::min(sx, int(text.size()))));
            }
        }
        const int p = FindIn(matchCase ? text : LowerAscii(text), needle, down, whole);
        if (p >= 0) {
            line = y;
            col = base + p;
            return true;
        }
    }
    return false;
}

int TExCustomMemo::FindText(const std::string& s, TFindOptions options)
{
    if (s.empty()) return -1;
    int line = 0, col = 0;
    if (!FindInLines(s, options, line, col)) {
        SetSelection(0, 0, 0, 0);
        return -1;
    }
    // Column 0 first, as SetCursor does, so the caret's old column pads no shorter line.
    curX_ = 0;
    SetCurY(line);
    SetCurX(col);
    SetSelection(col, line, col + int(s.size()), line);
    return SelStart();
}

int TExCustomMemo::FindTextPos(const std::string& s, TFindOptions options)
{
    int line = 0, col = 0;
    return FindInLines(s, options, line, col) ? TextFromPos(col, line) : -1;
}

// ---------------------------------------------------------------- mouse

void TExCustomMemo::SelClickUpdate(int x, int y, bool mayDrag, TShiftState shift, TMouseButton button)
{
    if (!InRectInclusive(EditorRect(), x, y)) return;
    const TPoint cell = CellFromPos(x, y);
    const int ax = cell.X + leftCol_, ay = cell.Y + topLine_;
    const int offset = TextFromPos(ax, ay);
    if (mayDrag && HasSelection()) {
        const int start = SelStart(), len = SelLength();
        if (offset > start && offset < start + len) {
            dragPending_ = true;
            return;
        }
    }
    ShowCaret(false);
    const int line = std::clamp(ay, 0, std::max(0, lines_->Count() - 1));
    const int old = curY_;
    curY_ = line;
    ApplyCurX(std::max(0, ax));
    if (old != curY_) TrimLine(old);
    if (!(button == mbLeft && mayDrag)) {
        ShowCaret(true);
        return;
    }
    if ((shift & ssShift))
        ExpandSelection();
    else
        ClearSelection();
    mouseSelecting_ = true;
    TestforURLClick(LineText(curY_));
}

void TExCustomMemo::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    dragPending_ = false;
    if (!Focused() && CanFocus()) SetFocus();
    const bool inGutter = gutter_->Visible() && PtInRect(gutter_->GetRect(), {x, y});
    const int line = CharFromPos(x, y).X;
    if (button == mbRight && inGutter && OnGutterRightClick && line < lines_->Count()) OnGutterRightClick(this, line);
    if (button == mbLeft) {
        SelClickUpdate(x, y, true, shift, button);
        if (OnGutterClick && inGutter && line < lines_->Count()) OnGutterClick(this, line);
    }
}

void TExCustomMemo::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    TPoint cell = CellFromPos(x, y);
    // A word hint belongs to its place: moved elsewhere, the hint goes and is asked again.
    if ((OnHintForWord || OnHintForToken) && Application && Application->HintControl() == this &&
        Application->HintWindow() && Application->HintWindow()->Shown() &&
        Point(cell.X + leftCol_, cell.Y + topLine_) != hintCell_)
        Application->CancelHint();
    cell.X = std::max(0, cell.X);
    cell.Y = std::max(0, cell.Y);
    if (dragPending_) {
        dragging_ = true;
        dragPending_ = false;
        BeginDrag(false, 2);
    }
    const int line = cell.Y + topLine_;
    // The hand over an address, the control's cursor over other text, the arrow elsewhere.
    TCursor want = defaultCursor_;
    if (!InRectInclusive(EditorRect(), x, y))
        want = crArrow;
    else if (line < lines_->Count() && TestforURLMove(LineText(line), cell.X + leftCol_))
        want = crHandPoint;
    if (Cursor() != want) TControl::SetCursor(want);
    if ((shift & ssLeft) && mouseSelecting_ && !dragPending_ && !dragging_) {
        const int sx = selEndX_, sy = selEndY_;
        const TRect r = EditorRect();
        if (x < r.Left) {
            SetLeftCol(0);
            SetCurX(0);
        } else {
            SetCurX(CellFromPos(x, y).X + leftCol_);
        }
        SetCurY(CellFromPos(x, y).Y + topLine_);
        ExpandSelection();
        if (sx != selEndX_ || sy != selEndY_) Invalidate();
    }
}

void TExCustomMemo::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (button == mbLeft) ShowCaret(true);
    mouseSelecting_ = false;
    if (dragPending_ && !dragging_) {
        dragPending_ = false;
        ClearSelection();
        SelClickUpdate(x, y, false, shift, button);
        ClearSelection();
    }
    if (!Dragging()) dragging_ = false;
}

void TExCustomMemo::WMLButtonDblClk(TWMMouse& m)
{
    // Handled here whole: the second press does not place the caret again.
    if (m.XPos() < gutter_->GutterWidth() || !InRectInclusive(EditorRect(), m.XPos(), m.YPos())) return;
    DblClick();
    const std::string line = LineText(curY_);
    if (curX_ < int(line.size()) && !IsWordBoundary(line[std::size_t(curX_)])) {
        int a = curX_, b = curX_;
        while (a > 0 && !IsWordBoundary(line[std::size_t(a - 1)])) --a;
        while (b < int(line.size()) && !IsWordBoundary(line[std::size_t(b)])) ++b;
        SetSelection(a, curY_, b, curY_);
        return;
    }
    SelectionChanged();
    Invalidate();
}

void TExCustomMemo::DragOver(TObject* source, int x, int y, TDragState state, bool& accept)
{
    TCustomControl::DragOver(source, x, y, state, accept);
    if (!OnDragOver && source == this) accept = true;
}

void TExCustomMemo::DragDrop(TObject* source, int x, int y)
{
    if (source == this || (dynamic_cast<TDragObject*>(source) && static_cast<TDragObject*>(source)->Control == this)) {
        const std::string text = SelText();
        int sx, sy, ex, ey;
        GetSelection(sx, sy, ex, ey);
        TPoint cell = CellFromPos(x, y);
        int dx = cell.X + leftCol_, dy = cell.Y + topLine_;
        const bool copy = GetKeyState(VK_CONTROL) < 0;
        if (!copy) {
            // The drop point moves up with the text taken out before it.
            const int dropOffset = TextFromPos(dx, dy), start = TextFromPos(sx, sy), end = TextFromPos(ex, ey);
            DeleteSelectionInt(false);
            if (dropOffset >= end) {
                const TPoint p = PosFromText(dropOffset - (end - start));
                dx = p.X;
                dy = p.Y;
            } else if (dropOffset > start) {
                dx = sx;
                dy = sy;
            }
        }
        dy = std::clamp(dy, 0, std::max(0, lines_->Count() - 1));
        SetCurY(dy);
        SetCurX(dx);
        ClearSelection();
        SetSelText(text);
    }
    dragging_ = false;
    TCustomControl::DragDrop(source, x, y);
}

void TExCustomMemo::DropText(int x, int y, const std::string& s)
{
    const TPoint cell = CellFromPos(x, y);
    SetCurY(cell.Y + topLine_);
    SetCurX(cell.X + leftCol_);
    ClearSelection();
    SetSelText(s);
}

// ---------------------------------------------------------------- context menu

std::vector<TMemoMenuItem> TExCustomMemo::ContextMenuItems()
{
    const bool sel = SelLength() > 0;
    return {
        {"Undo", 5, CanUndo() && !ReadOnly},
        {"Redo", 6, CanRedo() && !ReadOnly},
        {"-", 0, true},
        {"Copy\tCtrl-C", 1, sel},
        {"Cut\tCtrl-X", 2, sel},
        {"Paste\tCtrl-V", 3, !Clipboard()->AsText().empty() && !ReadOnly},
        {"Delete", 7, sel},
        {"-", 0, true},
        {"Select All\tCtrl-A", 4, true},
    };
}

void TExCustomMemo::WMRButtonUp(TWMMouse& m)
{
    // With a pop-up menu of its own the platform shows that one.
    if (GetPopupMenu(this) || m.XPos() <= gutter_->GutterWidth()) {
        TCustomControl::WMRButtonUp(m);
        return;
    }
    if (CanFocus()) SetFocus();
    TCustomControl::WMRButtonUp(m);
    if (!contextMenu_) contextMenu_ = std::make_unique<TPopupMenu>(nullptr);
    TMenuItem* root = contextMenu_->Items();
    while (root->Count() > 0) delete root->Items(0);
    for (const TMemoMenuItem& it : ContextMenuItems()) {
        auto* item = new TMenuItem(contextMenu_.get());
        item->SetCaption(it.Caption);
        item->SetEnabled(it.Enabled);
        const int id = it.Command;
        if (id) item->OnClick = [this, id](TObject*) { MenuCommand(id); };
        root->Add(item);
    }
    const TCursor keep = Cursor();
    TControl::SetCursor(crDefault);
    contextMenu_->PopupComponent = this;
    const TPoint at = ClientToScreen(m.Pos());
    contextMenu_->Popup(at.X, at.Y);
    TControl::SetCursor(keep);
}

void TExCustomMemo::MenuCommand(int id)
{
    // Only copy and select all work in a read-only editor.
    if (ReadOnly && id != 1 && id != 4) return;
    switch (id) {
    case 1: CopyToClipBoard(); break;
    case 2: CutToClipBoard(); break;
    case 3: PasteFromClipBoard(); break;
    case 4: SelectAll(); break;
    case 5: Undo(); break;
    case 6: Redo(); break;
    case 7: DeleteSelection(); break;
    default: break;
    }
}

}  // namespace memo

#include "widgets/memo/ExMemo.h"

#include <algorithm>

#include "base/Exception.h"
#include "base/StrUtils.h"
#include "platform/controls/Menus.h"
#include "platform/forms/DragDrop.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/ImageList.h"
#include "widgets/memo/Gutter.h"
#include "widgets/memo/AutoCompletion.h"
#include "widgets/memo/MemoMarkers.h"
#include "widgets/memo/MemoPrint.h"
#include "widgets/memo/MemoSource.h"
#include "widgets/memo/MemoStrings.h"
#include "widgets/memo/MemoStyler.h"
#include "widgets/memo/Tokenizer.h"
#include "widgets/memo/UndoList.h"

namespace memo {

using namespace platform;

namespace {
constexpr UINT kEmGetSel = 0x00B0, kWmThemeChanged = 0x031A;
}  // namespace

TExCustomMemo::TExCustomMemo(TComponent* owner) : TCustomControl(owner)
{
    ControlStyle |= csCaptureMouse | csClickEvents | csDoubleClicks | csReplicatable;
    SetBounds(0, 0, 100, 40);
    SetTabStop(true);
    Font()->SetName("COURIER NEW");
    Font()->SetHeight(-13);
    Font()->SetColor(clBlack);
    ownLines_ = std::make_unique<TExMemoStrings>(this);
    lines_ = ownLines_.get();
    lines_->DoAdd("");
    lines_->OnChange = [this] { LinesChanged(); };
    ownUndo_ = std::make_unique<TExUndoList>(this);
    undo_ = ownUndo_.get();
    gutter_ = std::make_unique<TExGutter>(this);
    activeLineSettings_ = std::make_unique<TExActiveLineSettings>(this);
    urlStyle_ = std::make_unique<TCharStyle>(clBlue, clWhite, fsUnderline);
    lineBitmap_ = std::make_unique<TBitmap>(1, 1);
    tokenizer_ = std::make_unique<TTokenizerSetup>();
    printOptions_ = std::make_unique<TPrintOptions>();
    markerList_ = std::make_unique<TExMarkerList>(this);
    autoCompletion_ = std::make_unique<TAutoCompletion>(this);
    stylerList_ = new TExStylerList(this);
    SearchForStylers();
    TControl::SetCursor(crIBeam);
    creating_ = false;
}

TExCustomMemo::~TExCustomMemo()
{
    if (checker_) checker_->SetMemo(nullptr);
    if (source_) {
        TExMemoSource* s = source_;
        source_ = nullptr;
        s->Notification(this, opRemove);
        lines_ = ownLines_.get();
        undo_ = ownUndo_.get();
        styler_ = ownStyler_;
    }
    lines_->OnChange = nullptr;
    if (styler_ && styler_->AllStyles().Memo() == this) styler_->AllStyles().SetMemo(nullptr);
    if (caretCreated_ && HandleAllocated()) DestroyCaret();
}

std::string TExCustomMemo::Version() const
{
    const std::uint32_t v = GetVersionNr();
    return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
           "." + std::to_string(v & 0xFF);
}

std::string TExCustomMemo::GetVersionString() const { return Version() + " Januari, 2005"; }

// ---------------------------------------------------------------- lines and undo

void TExCustomMemo::SetLines(const base::TStrings& source)
{
    upStyleLine_ = -1;
    lines_->Clear();
    lines_->BeginUpdate();
    for (int i = 0; i < source.Count(); ++i) {
        std::string s = lines_->ExpandTabs(source.Get(i));
        if (TrimTrailingSpaces) s.erase(s.find_last_not_of(' ') + 1);
        lines_->DoAdd(s);
        lines_->PutObject(i, source.GetObject(i));
    }
    lines_->EndUpdate();
    maxLength_ = lines_->MaxLength();
    if (wordWrap_ != wwNone) DoWrap();
    ResizeScrollBars(false);
    SelectionChanged();
    Invalidate();
}

void TExCustomMemo::Undo() { undo_->Undo(); }
void TExCustomMemo::Redo() { undo_->Redo(); }
bool TExCustomMemo::CanUndo() const { return undo_->CanUndo(); }
bool TExCustomMemo::CanRedo() const { return undo_->CanRedo(); }
void TExCustomMemo::ClearUndoList() { undo_->Clear(); }

void TExCustomMemo::SetUndoLimit(int n)
{
    undoLimit_ = std::clamp(n, 1, 100);
    undo_->SetLimit(undoLimit_);
}

void TExCustomMemo::UndoChange()
{
    if (OnUndoChange) OnUndoChange(this, CanUndo(), CanRedo());
}

bool TExCustomMemo::Modified() const { return undo_->Count() > 0; }

void TExCustomMemo::SetModified(bool v)
{
    if (!v) ClearUndoList();
}

void TExCustomMemo::RecordUndo(std::unique_ptr<TUndo> entry) { undo_->Add(std::move(entry)); }

// ---------------------------------------------------------------- store hooks

void TExCustomMemo::LinesTouched(int index)
{
    if (index < topLine_) upStyleLine_ = -1;
}

bool TExCustomMemo::LineEndsAsBefore(int index, std::string_view before, std::string_view after)
{
    PrepareTokenizer();
    if (!tokenizer_->styler) return true;  // no states are kept without a styler
    // The state at the line's start, from the nearest known one above (line 0 starts clean).
    constexpr int kReach = 40;
    TStyle st;
    int from = index;
    while (from > 0 && !GetLineStyle(from, st)) {
        if (index - from >= kReach) return false;
        --from;
    }
    if (from == 0 && !GetLineStyle(0, st)) st = TStyle{};
    const TLineTokenizer tok(*tokenizer_);
    for (int l = from; l < index; ++l) tok.Scan(lines_->Get(l), st);
    TStyle a = st, b = st;
    tok.Scan(before, a);
    tok.Scan(after, b);
    return a == b;
}

void TExCustomMemo::LinesAdded(int index)
{
    // A line added with word wrap on is wrapped at once, on its own.
    if (wordWrap_ != wwNone && !wrapping_) {
        const bool n = notify_;
        notify_ = false;
        DoWrapLines(index, index + 1);
        notify_ = n;
    }
    LinesChanged();
}

void TExCustomMemo::LinesCleared()
{
    // The caret goes home without making a new line, so a refilled store has no stray empty line.
    curX_ = curY_ = 0;
    selStartX_ = selStartY_ = selEndX_ = selEndY_ = selCaretX_ = selCaretY_ = 0;
    upStyleLine_ = -1;
    lines_->DropStylesFrom(0);
}

void TExCustomMemo::RevalidateCaret()
{
    if (lines_->Count() == 0) lines_->DoAdd("");
    curY_ = std::clamp(curY_, 0, lines_->Count() - 1);
    ApplyCurX(curX_);
}

void TExCustomMemo::DeleteStoreLine(int index)
{
    const int cx = curX_, cy = curY_, count = lines_->Count();
    SetCurY(index);
    DeleteLine();
    SetCurX(count == 1 ? 0 : cx);
    SetCurY(index < cy ? cy - 1 : cy);
}

void TExCustomMemo::BeforeLoad()
{
    ClearSelection();
    ClearUndoList();
    curX_ = curY_ = 0;
    notify_ = false;
}

void TExCustomMemo::AfterLoad()
{
    upStyleLine_ = -1;
    lines_->DropStylesFrom(0);
    curX_ = curY_ = 0;
    topLine_ = leftCol_ = 0;
    maxLength_ = lines_->MaxLength();
    notify_ = true;
    LinesChanged();
    UpdateWrap();
    Invalidate();
}

// ---------------------------------------------------------------- notices and layout

void TExCustomMemo::LinesChanged()
{
    if (!notify_) return;
    if (OnChange) OnChange(this);
    maxLength_ = lines_->MaxLength();
    ResizeScrollBars(false);
    Invalidate();
}

void TExCustomMemo::ResizeEditor()
{
    if (creating_) return;
    const int top = topLine_;
    const int offset = TextFromPos(curX_, curY_);
    UpdateWrap();
    const TPoint p = PosFromText(offset);
    SetCursor(p.X, p.Y);
    ResizeScrollBars(false);
    ResizeGutter();
    MakeVisible();
    topLine_ = top;
    ReadBarsBack();
    Invalidate();
}

void TExCustomMemo::Resize()
{
    TCustomControl::Resize();
    ResizeEditor();
}

int TExCustomMemo::BarMaxPos(int bar) const
{
    if (bar == SB_VERT) {
        const int vis = std::max(1, const_cast<TExCustomMemo*>(this)->GetVisible(1));
        return std::max(0, lines_->Count() - vis);
    }
    const int vis = std::max(1, const_cast<TExCustomMemo*>(this)->GetVisible(0));
    return std::max(0, maxLength_ - vis);
}

void TExCustomMemo::ResizeScrollBars(bool repaint)
{
    HWND h = Handle();
    const bool allowV = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    const bool allowH = (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && wordWrap_ == wwNone;
    SCROLLINFO off;
    off.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (!allowV && barVisible_[SB_VERT]) {
        SetScrollInfo(h, SB_VERT, off, true);
        barVisible_[SB_VERT] = 0;
    }
    if (!allowH && barVisible_[SB_HORZ]) {
        SetScrollInfo(h, SB_HORZ, off, true);
        barVisible_[SB_HORZ] = 0;
    }
    if (!notify_) return;
    for (int round = 0; round < 3; ++round) {
        const int wasV = barVisible_[SB_VERT], wasH = barVisible_[SB_HORZ];
        if (allowV) {
            const int vis = GetVisible(1);
            if (vis < 1 || lines_->Count() <= vis) {
                if (barVisible_[SB_VERT]) SetScrollInfo(h, SB_VERT, off, true);
                barVisible_[SB_VERT] = 0;
                topLine_ = 0;
            } else {
                SCROLLINFO si;
                si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
                si.nMin = 0;
                si.nMax = lines_->Count();
                si.nPage = UINT(vis + 1);
                si.nPos = topLine_;
                SetScrollInfo(h, SB_VERT, si, true);
                barVisible_[SB_VERT] = 1;
            }
        }
        if (allowH) {
            const int vis = GetVisible(0);
            if (vis > 0 && vis < maxLength_) {
                SCROLLINFO si;
                si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
                si.nMin = 0;
                si.nMax = maxLength_;
                si.nPage = UINT(vis + 1);
                si.nPos = leftCol_;
                SetScrollInfo(h, SB_HORZ, si, true);
                barVisible_[SB_HORZ] = 1;
            } else {
                leftCol_ = 0;
                if (curX_ < vis || !barVisible_[SB_HORZ]) {
                    if (barVisible_[SB_HORZ]) SetScrollInfo(h, SB_HORZ, off, true);
                    barVisible_[SB_HORZ] = 0;
                }
            }
        }
        if (wasV == barVisible_[SB_VERT] && wasH == barVisible_[SB_HORZ]) break;
    }
    if (repaint) Invalidate();
    ReadBarsBack();
}

void TExCustomMemo::ReadBarsBack()
{
    if (!HandleAllocated()) return;
    bool changed = false;
    if (barVisible_[SB_VERT]) {
        const int pos = std::min(GetScrollPos(Handle(), SB_VERT), BarMaxPos(SB_VERT));
        if (pos != topLine_ && topLine_ <= BarMaxPos(SB_VERT)) {
            topLine_ = pos;
            changed = true;
        }
    }
    if (barVisible_[SB_HORZ]) {
        const int pos = std::min(GetScrollPos(Handle(), SB_HORZ), BarMaxPos(SB_HORZ));
        if (pos != leftCol_) {
            leftCol_ = pos;
            changed = true;
        }
    }
    if (changed && OnTopLeftChanged) OnTopLeftChanged(this);
}

void TExCustomMemo::UpdateBars()
{
    if (!HandleAllocated()) return;
    if (barVisible_[SB_VERT]) SetScrollPos(Handle(), SB_VERT, topLine_, true);
    if (barVisible_[SB_HORZ]) SetScrollPos(Handle(), SB_HORZ, leftCol_, true);
}

void TExCustomMemo::Clear()
{
    curX_ = curY_ = 0;
    leftCol_ = topLine_ = 0;
    notify_ = false;
    lines_->Clear();
    Invalidate();
    curX_ = curY_ = 0;
    selStartX_ = selStartY_ = selEndX_ = selEndY_ = 0;
    notify_ = true;
    LinesChanged();
    ClearLineStyles();
}

// ---------------------------------------------------------------- geometry

TRect TExCustomMemo::EditorRect() const
{
    TRect r;
    r.Left = (gutter_->Visible() && gutter_->GutterWidth() > 2 ? gutter_->GutterWidth() + 2 : 2) + textMargin_;
    r.Top = 2;
    r.Right = ClientWidth() - 2;
    r.Bottom = ClientHeight() - 2;
    if (borderStyle_ == bsNone)
        InflateRect(r, 2, 2);
    else if (!ctl3D_)
        InflateRect(r, 1, 1);
    return r;
}

int TExCustomMemo::GetVisible(int kind)
{
    if (charWidth_ == 0 || charHeight_ == 0) ApplyFont();
    const TRect r = EditorRect();
    const int col = charWidth_ > 0 ? std::max(0, r.Right - 1 - r.Left) / charWidth_ : 0;
    const int row = charHeight_ > 0 ? std::max(0, r.Bottom - 1 - r.Top) / charHeight_ : 0;
    switch (kind) {
    case 0: return col;
    case 1: return row;
    case 2: return col + leftCol_ - 1;
    default: return row + topLine_ - 1;
    }
}

TRect TExCustomMemo::CellRect(int col, int row) const
{
    const TRect r = EditorRect();
    return Rect(r.Left + col * charWidth_, r.Top + row * charHeight_ + 1, r.Left + (col + 1) * charWidth_,
                r.Top + (row + 1) * charHeight_ + 1);
}

TRect TExCustomMemo::LineRect(int line) const
{
    const TRect r = EditorRect();
    const int top = r.Top + (line - topLine_) * charHeight_;
    return Rect(r.Left, top, r.Right, top + charHeight_);
}

TRect TExCustomMemo::ColRect(int col) const
{
    const TRect r = EditorRect();
    const int left = r.Left + (col - leftCol_) * charWidth_;
    return Rect(left, r.Top, left + charWidth_, r.Bottom);
}

TPoint TExCustomMemo::CellFromPos(int x, int y)
{
    if (charHeight_ == 0) ApplyFont();
    if (charWidth_ == 0 || charHeight_ == 0) return {0, 0};
    const TRect r = EditorRect();
    return {(x - r.Left) / charWidth_, (y - r.Top) / charHeight_};
}

TPoint TExCustomMemo::CharFromPos(int x, int y)
{
    if (charHeight_ == 0) ApplyFont();
    if (charWidth_ == 0 || charHeight_ == 0) return {1, 1};
    const TRect r = EditorRect();
    return {(y - r.Top) / charHeight_ + topLine_, (x - r.Left) / charWidth_ + leftCol_};
}

// ---------------------------------------------------------------- caret

std::string TExCustomMemo::LineText(int y) const
{
    return y >= 0 && y < lines_->Count() ? lines_->Get(y) : std::string();
}

int TExCustomMemo::LineCount() const { return lines_->Count(); }

bool TExCustomMemo::HasContinuation(int y) const { return lines_->IsWrapped(y + 1); }

std::string TExCustomMemo::TrimmedLine(int y) const
{
    std::string s = LineText(y);
    if (!HasContinuation(y)) s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

void TExCustomMemo::StoreLine(int y, const std::string& s)
{
    const bool n = notify_;
    notify_ = false;
    lines_->DoPut(y, s);
    notify_ = n;
}

void TExCustomMemo::TrimLine(int y)
{
    if (y < 0 || y >= lines_->Count() || HasContinuation(y)) return;
    const std::string& s = lines_->Get(y);
    if (!s.empty() && s.back() == ' ') StoreLine(y, TrimmedLine(y));
}

void TExCustomMemo::SetCurX(int x)
{
    if (x == curX_) return;
    if (x < 0) {
        if (curY_ > 0) {
            SetCurY(curY_ - 1);
            x = int(LineText(curY_).size());
        } else {
            x = 0;
        }
    }
    ApplyCurX(x);
}

void TExCustomMemo::ApplyCurX(int x)
{
    x = std::max(0, x);
    curX_ = x;
    if (curY_ < lines_->Count() || lines_->Count() == 0) {
        const bool n = notify_;
        notify_ = false;
        if (x > maxLength_) {
            leftCol_ = std::max(0, x - GetVisible(0));
            maxLength_ = x;
        } else {
            maxLength_ = lines_->MaxLength();
        }
        if (lines_->Count() == 0) {
            if (AutoExpand) {
                lines_->DoAdd(std::string(std::size_t(x), ' '));
            } else {
                lines_->DoAdd("");
                x = 0;
            }
            Invalidate();
        } else {
            const std::string& line = lines_->Get(curY_);
            if (x > int(line.size())) {
                if (AutoExpand)
                    lines_->DoPut(curY_, line + std::string(std::size_t(x) - line.size(), ' '));
                else
                    x = int(line.size());
                Invalidate();
            }
        }
        notify_ = n;
    }
    curX_ = x;
    MakeVisible();
    UpdateBars();
    StatusChanged();
    if (caretShown_) ShowCaret(true);
    if (autoHintParameters_ == hpAuto && !lastKeyCtrl_ && styler_) PrepareShowHint();
    CursorChanged();
    if (OnColumnChange) OnColumnChange(curX_);
}

void TExCustomMemo::SetCurY(int y)
{
    if (y == curY_) return;
    if (lines_->Count() == 0) lines_->DoAdd("");
    y = std::clamp(y, 0, lines_->Count() - 1);
    const bool atCursor = activeLineSettings_->ActiveLineAtCursor();
    if (atCursor) activeLine_ = y;
    const int old = curY_;
    curY_ = y;
    if (old != y) TrimLine(old);
    ApplyCurX(curX_);
    if (atCursor && OnActiveLineChange) OnActiveLineChange(curY_);
}

void TExCustomMemo::SetCursor(int x, int y)
{
    ClearSelection();
    curX_ = 0;
    SetCurY(y);
    SetCurX(x);
    ClearSelection();  // collapsed at the new caret, where a Shift move starts from
}

void TExCustomMemo::MakeVisible()
{
    bool changed = false;
    if (curX_ < leftCol_) {
        leftCol_ = std::max(0, curX_ - 2);
        changed = true;
    }
    const bool hBar = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    const bool vBar = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    const int lastCol = GetVisible(2);
    if (curX_ > lastCol && GetVisible(0) > 0) {
        if (ScrollMode == smStrict && !hBar)
            curX_ = lastCol;
        else
            leftCol_ += curX_ - lastCol + 2;
        changed = true;
    }
    if (curY_ < topLine_) {
        topLine_ = curY_;
        changed = true;
    }
    const int lastLine = GetVisible(3);
    if (curY_ > lastLine && GetVisible(1) > 0) {
        if (ScrollMode == smStrict && !vBar)
            curY_ = lastLine;
        else
            topLine_ += curY_ - lastLine;
        changed = true;
    }
    if (changed) {
        UpdateBars();
        Invalidate();
    }
}

void TExCustomMemo::ShowCaret(bool show)
{
    if (!HandleAllocated()) return;
    if (show) {
        if (!Focused() || hiddenCaret_ || !caretCreated_) return;
        const TRect cell = CellRect(curX_ - leftCol_, curY_ - topLine_);
        const TPoint pos{cell.Left, cell.Top + 1};
        if (pos != lastCaretPos_) {
            SetCaretPos(pos.X, pos.Y);
            lastCaretPos_ = pos;
        }
        if (!caretShown_) {
            platform::ShowCaret(Handle());
            caretShown_ = true;
        }
    } else if (caretShown_) {
        platform::HideCaret(Handle());
        caretShown_ = false;
    }
}

void TExCustomMemo::SetTopLine(int v)
{
    if (v < 0) return;
    const int old = topLine_;
    const int vis = GetVisible(1);
    if (v + vis < lines_->Count())
        topLine_ = v;
    else
        topLine_ = std::max(0, lines_->Count() - vis / 2);
    UpdateBars();
    Invalidate();
    if (v != old && OnTopLeftChanged) OnTopLeftChanged(this);
}

void TExCustomMemo::SetLeftCol(int v)
{
    if (v == leftCol_) return;
    leftCol_ = std::max(0, v);
    UpdateBars();
    Invalidate();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TExCustomMemo::ScrollBarScroll(int bar, int code, int& pos)
{
    if (CanFocus()) SetFocus();
    const int cur = bar == SB_VERT ? topLine_ : leftCol_;
    const int page = bar == SB_VERT ? GetVisible(1) : GetVisible(0);
    switch (code) {
    case SB_LINEUP: pos = cur - 1; break;
    case SB_LINEDOWN: pos = cur + 1; break;
    case SB_PAGEUP: pos = cur - page; break;
    case SB_PAGEDOWN: pos = cur + page; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = BarMaxPos(bar); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: break;
    case SB_ENDSCROLL:
        if (scrollHint_) scrollHint_->ReleaseHandle();
        return;
    default: return;
    }
    if (ScrollHint && code == SB_THUMBTRACK) {
        std::string hint = "Row : " + std::to_string(pos + 1);
        if (OnScrollHint) OnScrollHint(this, pos + 1, hint);
        if (!scrollHint_) scrollHint_ = std::make_unique<THintWindow>(nullptr);
        scrollHint_->SetColor(clInfoBk);
        TRect r = scrollHint_->CalcHintRect(100, hint, nullptr);
        TPoint mouse;
        GetCursorPos(mouse);
        OffsetRect(r, mouse.X + 10, mouse.Y);
        scrollHint_->ActivateHint(r, hint);
    }
    DoScroll(bar, pos - cur);
    Invalidate();
}

void TExCustomMemo::DoScroll(int bar, int delta)
{
    int& v = bar == SB_VERT ? topLine_ : leftCol_;
    const int nv = std::clamp(v + delta, 0, BarMaxPos(bar));
    if (nv != v) {
        v = nv;
        UpdateBars();
        Invalidate();
        if (OnTopLeftChanged) OnTopLeftChanged(this);
    }
    ShowCaret(leftCol_ < curX_ || (leftCol_ == 0 && curX_ == 0));
}

void TExCustomMemo::DoScrollPage(int bar, int pages)
{
    DoScroll(bar, pages * (bar == SB_VERT ? GetVisible(1) : GetVisible(0)));
}

bool TExCustomMemo::DoMouseWheelDown(TShiftState, TPoint)
{
    if (topLine_ + GetVisible(1) < lines_->Count()) {
        topLine_ += 4;
        UpdateBars();
        Invalidate();
        if (OnTopLeftChanged) OnTopLeftChanged(this);
    }
    return true;
}

bool TExCustomMemo::DoMouseWheelUp(TShiftState, TPoint)
{
    const int old = topLine_;
    if (topLine_ < 5) {
        if (lines_->Count() > GetVisible(1)) topLine_ = 0;
    } else {
        topLine_ -= 4;
    }
    if (topLine_ != old) {
        UpdateBars();
        Invalidate();
        if (OnTopLeftChanged) OnTopLeftChanged(this);
    }
    return true;
}

// ---------------------------------------------------------------- focus, font, messages

void TExCustomMemo::WMSetFocus(TWMSetFocus& m)
{
    TCustomControl::WMSetFocus(m);
    if (charHeight_ == 0) ApplyFont();
    CreateCaret(Handle(), 2, std::max(1, charHeight_ - 2));
    caretCreated_ = true;
    caretShown_ = false;
    lastCaretPos_ = {-1, -1};
    ShowCaret(true);
    // The blink time is the desktop's: this control never changes it.
    Invalidate();
}

void TExCustomMemo::WMKillFocus(TWMKillFocus& m)
{
    TCustomControl::WMKillFocus(m);
    if (caretCreated_) {
        DestroyCaret();
        caretCreated_ = false;
        caretShown_ = false;
    }
    Invalidate();
}

void TExCustomMemo::WMGetDlgCode(TWMGetDlgCode& m)
{
    m.Result = LRESULT(DLGC_WANTARROWS | DLGC_WANTCHARS | (WantTab ? UINT(DLGC_WANTTAB) : 0u));
}

void TExCustomMemo::ApplyFont()
{
    TCanvas* c = lineBitmap_->Canvas();
    c->Font().Assign(*Font());
    if (c->TextWidth("W") != c->TextWidth("i")) {
        Font()->SetName("FixedSys");
        c->Font().Assign(*Font());
    }
    charWidth_ = c->TextWidth("W");
    charHeight_ = c->TextHeight("W");
}

void TExCustomMemo::SetMemoFont(const TFont& f)
{
    Font()->Assign(f);
    ApplyFont();
    if (caretCreated_ && HandleAllocated()) {
        CreateCaret(Handle(), 2, std::max(1, charHeight_ - 2));
        caretShown_ = false;
        lastCaretPos_ = {-1, -1};
        ShowCaret(true);
    }
    ResizeScrollBars(false);
    Invalidate();
}

void TExCustomMemo::CMFontChanged(TMessage& m)
{
    TCustomControl::CMFontChanged(m);
    if (creating_) return;
    ApplyFont();
    ResizeScrollBars(false);
}

void TExCustomMemo::Notification(TComponent* c, TOperation op)
{
    TCustomControl::Notification(c, op);
    if (op == opRemove && c && static_cast<TComponent*>(source_) == c) {
        source_ = nullptr;
        AttachDocument(nullptr, nullptr, nullptr);
    }
    if (op == opRemove && c && static_cast<TComponent*>(checker_) == c) checker_ = nullptr;
    if (op == opRemove && c && static_cast<TComponent*>(autoCompletionListImages_) == c) SetAutoCompletionListImages(nullptr);
    if (op == opRemove && c && static_cast<TComponent*>(ownStyler_) == c) ownStyler_ = nullptr;
    if (op == opRemove && c && static_cast<TComponent*>(styler_) == c) {
        styler_ = nullptr;
        useStyler_ = false;
        upStyleLine_ = -1;
        Invalidate();
    }
}

void TExCustomMemo::StylerGone(TExCustomMemoStyler* s)
{
    if (s != styler_) return;
    styler_ = nullptr;
    useStyler_ = false;
    upStyleLine_ = -1;
    lines_->DropStylesFrom(0);
    if (!Destroying()) Invalidate();
}

void TExCustomMemo::WMVScroll(TWMVScroll& m)
{
    int pos = m.WParamHi();
    ScrollBarScroll(SB_VERT, m.WParamLo(), pos);
}

void TExCustomMemo::WMHScroll(TWMHScroll& m)
{
    int pos = m.WParamHi();
    ScrollBarScroll(SB_HORZ, m.WParamLo(), pos);
}

void TExCustomMemo::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_COPY: CopyToClipBoard(); return;
    case WM_CUT: CutToClipBoard(); return;
    case WM_PASTE: PasteFromClipBoard(); return;
    case WM_COMMAND: MenuCommand(int(m.WParamLo())); return;
    case kEmGetSel: {
        // Start and end of the selection through the two pointers, when given.
        const int start = SelStart(), end = start + SelLength();
        if (m.WParam) *reinterpret_cast<DWORD*>(m.WParam) = DWORD(start);
        if (m.LParam) *reinterpret_cast<DWORD*>(m.LParam) = DWORD(end);
        m.Result = MakeLParam(start, end);
        return;
    }
    case kWmThemeChanged:
    case CM_SYSFONTCHANGED:
        TCustomControl::WndProc(m);
        if (AutoThemeAdapt) ThemeAdapt();
        return;
    case WM_SYSCHAR:
        if (m.CharCode() == VK_BACK && (m.KeyData() & KF_ALTDOWN_BIT)) return;  // Alt+Backspace undoes, no beep
        break;
    case WM_DROPFILES: WMDropFiles(m); return;
    default: break;
    }
    TCustomControl::WndProc(m);
}

void TExCustomMemo::SetAcceptFiles(bool v)
{
    if (v == acceptFiles_) return;
    acceptFiles_ = v;
    if (HandleAllocated()) platform::DragAcceptFiles(this, v);
}

void TExCustomMemo::CreateWnd()
{
    TCustomControl::CreateWnd();
    if (acceptFiles_) platform::DragAcceptFiles(this, true);
}

void TExCustomMemo::WMDropFiles(TMessage& m)
{
    const auto drop = reinterpret_cast<platform::HDROP>(m.WParam);
    const UINT count = platform::DragQueryFile(drop, 0xFFFFFFFFu, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char name[256];
        platform::DragQueryFile(drop, i, name, sizeof name);
        bool defaultHandler = true;
        if (OnFileDrop) OnFileDrop(this, name, defaultHandler);
        if (!defaultHandler) continue;
        try {
            Lines()->LoadFromFile(name);
        } catch (const std::exception& e) {
            Application->HandleException(this, &e);  // the text stays as it was
        }
    }
    platform::DragFinish(drop);
}

// ---------------------------------------------------------------- options

void TExCustomMemo::SetColorIndex(int index, TColor c)
{
    TColor& f = index == 0 ? bkColor_ : index == 1 ? selColor_ : selBkColor_;
    if (f == c) return;
    f = c;
    Invalidate();
}

void TExCustomMemo::SetBorderStyle(TBorderStyle b)
{
    borderStyle_ = b;
    UpdateGutter();
    Invalidate();
}

void TExCustomMemo::SetCtl3D(bool v)
{
    ctl3D_ = v;
    UpdateGutter();
    Invalidate();
}

void TExCustomMemo::SetScrollBars(TScrollStyle s)
{
    if (s == scrollBars_) return;
    scrollBars_ = s;
    ResizeEditor();
    ResizeScrollBars(true);
}

void TExCustomMemo::SetRightMargin(int v)
{
    if (v == rightMargin_) return;
    rightMargin_ = v;
    Invalidate();
}

void TExCustomMemo::SetRightMarginColor(TColor c)
{
    if (c == rightMarginColor_) return;
    rightMarginColor_ = c;
    Invalidate();
}

void TExCustomMemo::SetBreakpointColor(TColor c)
{
    if (c == breakpointColor_) return;
    breakpointColor_ = c;
    Invalidate();
}

void TExCustomMemo::SetBreakpointTextColor(TColor c)
{
    if (c == breakpointTextColor_) return;
    breakpointTextColor_ = c;
    Invalidate();
}

void TExCustomMemo::SetHiddenCaret(bool v)
{
    hiddenCaret_ = v;
    if (Focused()) ShowCaret(!v);
}

void TExCustomMemo::SetCaseSensitive(bool v)
{
    if (v == caseSensitive_) return;
    caseSensitive_ = v;
    Invalidate();
}

void TExCustomMemo::SetHideSelection(bool v)
{
    if (v == hideSelection_) return;
    hideSelection_ = v;
    Invalidate();
}

void TExCustomMemo::SetUrlAware(bool v)
{
    if (v == urlAware_) return;
    urlAware_ = v;
    upStyleLine_ = -1;
    lines_->DropStylesFrom(0);
    Invalidate();
}

void TExCustomMemo::SetUseStyler(bool v)
{
    useStyler_ = v;
    upStyleLine_ = -1;
    lines_->DropStylesFrom(0);
    Invalidate();
}

void TExCustomMemo::SetCursorShape(TCursor c)
{
    TControl::SetCursor(c);
    defaultCursor_ = c;
}

void TExCustomMemo::SetSyntaxStyles(TExCustomMemoStyler* s)
{
    if (styler_ && styler_ != s && styler_->AllStyles().Memo() == this) styler_->AllStyles().SetMemo(nullptr);
    styler_ = s;
    useStyler_ = s != nullptr;
    if (s) {
        s->FreeNotification(this);
        s->AllStyles().SetMemo(this);
        for (int i = 0; i < s->AllStyles().Count(); ++i) {
            TElementStyle* e = s->AllStyles().Items(i);
            if (e->StyleType() != stKeyword) continue;
            base::TStringList& k = e->KeyWords();
            k.SetSorted(false);
            if (!caseSensitive_)
                for (int j = 0; j < k.Count(); ++j) k.Put(j, base::LowerCase(k.Get(j)));
            k.SetSorted(true);
        }
    }
    delimitersCached_ = false;
    upStyleLine_ = -1;
    lines_->DropStylesFrom(0);
    Invalidate();
}

void TExCustomMemo::SelectionChanged()
{
    if (OnSelectionChange) OnSelectionChange(this);
}

void TExCustomMemo::StatusChanged()
{
    if (OnStatusChange) OnStatusChange(this);
}

bool TExCustomMemo::IsTokenBoundary(char ch) const
{
    return std::string_view(" \"'(),.:;=[]").find(ch) != std::string_view::npos;
}

// ---------------------------------------------------------------- per-line marks

namespace {

template <class Field>
bool ReadFlag(const TExMemoStrings* lines, int line, Field f)
{
    const TLineProp* p = lines->GetLineProp(line);
    return p && p->*f;
}

}  // namespace

#define MEMO_FLAG(Get, Set, field, repaint)                                   \
    bool TExCustomMemo::Get(int line) const { return ReadFlag(lines_, line, &TLineProp::field); } \
    void TExCustomMemo::Set(int line, bool v)                                 \
    {                                                                         \
        if (line < 0 || line >= lines_->Count()) return;                      \
        TLineProp* p = lines_->GetLineProp(line);                             \
        if (!p) p = lines_->CreateProp(line);                                 \
        p->field = v;                                                         \
        if (repaint) Invalidate();                                            \
    }
MEMO_FLAG(BreakPoint, SetBreakPoint, FBreakPoint, true)
MEMO_FLAG(Executable, SetExecutable, FExecutable, true)
MEMO_FLAG(Bookmark, SetBookmark, FBookmark, true)
#undef MEMO_FLAG

bool TExCustomMemo::Wrapped(int line) const { return lines_->IsWrapped(line); }
void TExCustomMemo::SetWrapped(int line, bool v) { lines_->SetWrapped(line, v); }

bool TExCustomMemo::GetLineStyle(int line, TStyle& style) const
{
    const TLineProp* p = lines_->GetLineProp(line);
    if (!p || !p->FHasStyle) return false;
    style = p->FStyle;
    return true;
}

void TExCustomMemo::SetLineStyle(int line, const TStyle& style)
{
    if (line < 0 || line >= lines_->Count()) return;
    TLineProp* p = lines_->GetLineProp(line);
    if (!p) p = lines_->CreateProp(line);
    p->FStyle = style;
    p->FHasStyle = true;
}

void TExCustomMemo::ClearLineStyles()
{
    lines_->DropStylesFrom(0);
    upStyleLine_ = -1;
}

void TExCustomMemo::ClearBreakpoints()
{
    for (int i = 0; i < lines_->Count(); ++i)
        if (TLineProp* p = lines_->GetLineProp(i)) p->FBreakPoint = false;
    Invalidate();
}

void TExCustomMemo::ClearExecutableLines()
{
    for (int i = 0; i < lines_->Count(); ++i)
        if (TLineProp* p = lines_->GetLineProp(i)) p->FExecutable = false;
    Invalidate();
}

// ---------------------------------------------------------------- block matching

namespace {

std::string UpperAscii(std::string s)
{
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

void TExCustomMemo::InvalidateLine(int line)
{
    if (line < 0 || line >= lines_->Count() || !HandleAllocated()) return;
    InvalidateRect(LineRect(line));
}

void TExCustomMemo::SetBlockMark(TBlockMark& mark, int line, int col, int len)
{
    InvalidateLine(mark.Shown);
    mark.Line = line;
    mark.Col = col;
    mark.Len = len;
    mark.Shown = line;
    InvalidateLine(line);
}

void TExCustomMemo::SetBlockMatchStart(int line, int col, int len) { SetBlockMark(blockStart_, line, col, len); }
void TExCustomMemo::SetBlockMatchEnd(int line, int col, int len) { SetBlockMark(blockEnd_, line, col, len); }

void TExCustomMemo::BlockMatch()
{
    if (!styler_ || lines_->Count() == 0) return;
    const std::string bs = UpperAscii(styler_->BlockStart), be = UpperAscii(styler_->BlockEnd);
    if (bs.empty() || be.empty()) return;
    auto find = [&](const std::string& text, const std::string& word, std::size_t from) -> std::size_t {
        const std::size_t p = text.find(word, from);
        if (p == std::string::npos) return p;
        return p == 0 || IsWordBoundary(text[p - 1]) ? p : std::string::npos;
    };
    // raise: the word that opens a level in this direction; close: the one that ends it.
    auto search = [&](const std::string& raise, const std::string& close, int from, int to, int step,
                      int& line, int& col, int& len) {
        const int target = find(UpperAscii(LineText(curY_)), raise, 0) != std::string::npos ? 0 : -1;
        int level = 0;
        for (int y = from; step > 0 ? y <= to : y >= to; y += step) {
            if (y < 0 || y >= lines_->Count()) break;
            const std::string text = UpperAscii(LineText(y));
            std::size_t pos = 0;
            for (;;) {
                const std::size_t a = find(text, raise, pos), b = find(text, close, pos);
                if (a == std::string::npos && b == std::string::npos) break;
                if (b == std::string::npos || (a != std::string::npos && a < b)) {
                    ++level;
                    pos = a + raise.size();
                } else {
                    --level;
                    if (level == target) {
                        line = y;
                        col = int(b);
                        len = int(close.size());
                        return true;
                    }
                    pos = b + close.size();
                }
            }
        }
        return false;
    };
    int sl = -1, sc = -1, sn = -1, el = -1, ec = -1, en = -1;
    const bool down = search(bs, be, curY_, GetVisible(3), 1, sl, sc, sn);
    const bool up = search(be, bs, curY_, topLine_, -1, el, ec, en);
    if (down && up) {
        SetBlockMatchStart(sl, sc, sn);
        SetBlockMatchEnd(el, ec, en);
    } else {
        SetBlockMatchStart(-1, -1, -1);
        SetBlockMatchEnd(-1, -1, -1);
    }
}

void TExCustomMemo::CursorChanged()
{
    BlockMatch();
    if (OnCursorChange) OnCursorChange(this);
}

// ---------------------------------------------------------------- error marks, bookmarks, state

void TExCustomMemo::SetError(int line, int startCol, int length)
{
    if (line < 0 || line >= lines_->Count())
        throw base::EListError(base::Format("List index out of bounds (%d)", line));
    TLineProp* p = lines_->GetLineProp(line);
    if (!p) p = lines_->CreateProp(line);
    p->FErrorPos.push_back(startCol);
    p->FErrorLen.push_back(length);
    InvalidateLine(line);
}

void TExCustomMemo::ClearWordError(int line, int startCol)
{
    TLineProp* p = lines_->GetLineProp(line);
    if (!p) return;
    for (std::size_t i = 0; i < p->FErrorPos.size(); ++i)
        if (p->FErrorPos[i] == startCol) {
            p->FErrorPos.erase(p->FErrorPos.begin() + std::ptrdiff_t(i));
            p->FErrorLen.erase(p->FErrorLen.begin() + std::ptrdiff_t(i));
            InvalidateLine(line);
            return;
        }
}

void TExCustomMemo::ClearLineErrors(int line)
{
    if (TLineProp* p = lines_->GetLineProp(line)) {
        p->FErrorPos.clear();
        p->FErrorLen.clear();
    }
}

void TExCustomMemo::ClearErrors()
{
    for (int i = 0; i < lines_->Count(); ++i) ClearLineErrors(i);
    Invalidate();
}

namespace {

void CheckBookmark(int index)
{
    if (index < 0 || index > 9) throw base::Exception("Invalid bookmark index");
}

}  // namespace

int TExCustomMemo::GetBookmarks(int index) const
{
    CheckBookmark(index);
    return bookmarks_.GetInteger(index);
}

void TExCustomMemo::SetBookmarks(int index, int line)
{
    CheckBookmark(index);
    const int old = bookmarks_.GetInteger(index);
    if (old != -1) SetBookmark(old, false);
    bookmarks_.SetInteger(index, line);
    if (line != -1) SetBookmark(line, true);
}

void TExCustomMemo::GotoBookmark(int index)
{
    CheckBookmark(index);
    const int line = bookmarks_.GetInteger(index);
    if (line == -1) return;
    SetTopLine(line);
    SetCurX(1);
    SetCurY(line);
}

void TExCustomMemo::ClearBookmarks()
{
    for (int i = 0; i < bookmarks_.Count(); ++i) {
        if (bookmarks_.GetInteger(i) != -1) SetBookmark(bookmarks_.GetInteger(i), false);
        bookmarks_.SetInteger(i, -1);
    }
}

bool TExCustomMemo::HasBookmarks() const
{
    return std::any_of(bookmarks_.begin(), bookmarks_.end(), [](int b) { return b != -1; });
}

void TExCustomMemo::GetMemoState(TExMemoSavePos& s) const
{
    s = {curX_, curY_, leftCol_, topLine_, selStartX_, selStartY_, selEndX_, selEndY_};
}

void TExCustomMemo::ResetMemoState(const TExMemoSavePos& s)
{
    curX_ = s.CurX;
    curY_ = s.CurY;
    leftCol_ = s.LeftCol;
    topLine_ = s.TopLine;
    selStartX_ = s.SelStartX;
    selStartY_ = s.SelStartY;
    selEndX_ = s.SelEndX;
    selEndY_ = s.SelEndY;
    if (caretShown_) ShowCaret(true);
    ResizeScrollBars(false);
    Invalidate();
}

bool TExCustomMemo::IsDelimiter(char ch)
{
    if (!delimitersCached_) {
        delimiters_.clear();
        if (styler_) {
            for (int i = 0; i < styler_->AllStyles().Count(); ++i)
                if (styler_->AllStyles().Items(i)->StyleType() == stSymbol) {
                    delimiters_ = styler_->AllStyles().Items(i)->Symbols();
                    break;
                }
            delimitersCached_ = true;
        }
    }
    if (!styler_) return ch == ' ';
    return delimiters_.find(ch) != std::string::npos;
}

// ---------------------------------------------------------------- TExMemo

TExMemo::TExMemo(TComponent* owner) : TExCustomMemo(owner)
{
    SetBounds(0, 0, 350, 250);
    DoubleBuffered = true;
    OnGutterClick = [this](TObject*, int line) { SetCurY(line); };
    OnGutterDraw = [this](TObject*, TCanvas* c, int line, const TRect& r) { DefaultGutterDraw(c, line, r); };
    OnChange = [this](TObject*) { Invalidate(); };
}

void TExMemo::Loaded()
{
    TExCustomMemo::Loaded();
    if (AutoThemeAdapt) ThemeAdapt();
    LoadStyle();
    maxLength_ = lines_->MaxLength();
    ResizeScrollBars(false);
}

bool TExMemo::IsWordBoundary(char ch) const
{
    if (styler_) return ch == ' ' || styler_->AllStyles().IsWordBoundary(ch);
    return TExCustomMemo::IsWordBoundary(ch);
}

void TExMemo::RefreshMemo()
{
    ApplyCurX(curX_);
    maxLength_ = lines_->MaxLength();
    ResizeScrollBars(false);
    Invalidate();
}

void SetupLogMemo(TExMemo& m, TExCustomMemoStyler& styler)
{
    m.ActiveLineSettings()->SetShowActiveLine(false);
    m.SetBorderStyle(bsSingle);
    m.SetCtl3D(false);
    m.DelErase = true;
    m.EnhancedHomeKey = false;
    TFont f;
    f.SetName("COURIER NEW");
    f.SetHeight(-13);
    f.SetColor(clBlack);
    m.SetMemoFont(f);
    TExGutter* g = m.Gutter();
    g->SetVisible(true);
    g->SetShowLineNumbers(true);
    g->SetLineNumberStart(1);
    g->SetDigitCount(5);
    g->SetShowLeadingZeros(false);
    g->Font().SetName("Courier New");
    g->Font().SetHeight(-13);
    g->SetGutterColorTo(clBtnFace);
    m.SetRightMarginColor(clGray);
    m.ShowRightMargin = true;
    m.SetSelColor(clWhite);
    m.SetSelBkColor(clNavy);
    m.SmartTabs = false;
    m.SetTabSize(4);
    m.SetUndoLimit(100);
    m.TrimTrailingSpaces = false;
    m.UrlStyle()->TextColor = clBlue;
    m.UrlStyle()->BkColor = clWhite;
    m.UrlStyle()->Style = fsUnderline;
    SetupLogStyler(styler);
    m.SetSyntaxStyles(&styler);
    m.SetWordWrap(wwRightMargin);
    m.AutoCorrect().Active = true;
    m.ReadOnly = false;
}

}  // namespace memo

#include "platform/controls/ListBox.h"

#include <algorithm>
#include <cctype>

#include "base/Exception.h"
#include "base/StrUtils.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/TabbedText.h"

namespace platform {

// ---------------------------------------------------------------- TListItems

std::size_t TListItems::Check(int index) const
{
    if (index < 0 || index >= Count())
        throw base::EStringListError("List index out of bounds (" + std::to_string(index) + ")");
    return std::size_t(index);
}

void TListItems::Changed()
{
    if (UpdateCount() == 0 && OnChanged) OnChanged();
}

void TListItems::SetUpdateState(bool updating)
{
    if (!updating) Changed();
}

const std::string& TListItems::Get(int index) const { return items_[Check(index)].text; }

void TListItems::Put(int index, const std::string& s)
{
    items_[Check(index)].text = s;
    items_[std::size_t(index)].height = -1;
    Changed();
}

void* TListItems::GetObject(int index) const { return items_[Check(index)].object; }

void TListItems::PutObject(int index, void* obj)
{
    items_[Check(index)].object = obj;
    Changed();
}

void TListItems::Insert(int index, const std::string& s)
{
    if (index < 0 || index > Count())
        throw base::EStringListError("List index out of bounds (" + std::to_string(index) + ")");
    items_.insert(items_.begin() + index, Item{s});
    if (OnInserted) OnInserted(index);
    Changed();
}

int TListItems::Add(const std::string& s)
{
    int index = Count();
    if (sorted_) {
        const auto it = std::upper_bound(items_.begin(), items_.end(), s, [](const std::string& a, const Item& b) {
            return base::CompareText(a, b.text) < 0;
        });
        index = int(it - items_.begin());
    }
    Insert(index, s);
    return index;
}

void TListItems::Delete(int index)
{
    items_.erase(items_.begin() + std::ptrdiff_t(Check(index)));
    if (OnDeleted) OnDeleted(index);
    Changed();
}

void TListItems::Clear()
{
    items_.clear();
    if (OnCleared) OnCleared();
    Changed();
}

int TListItems::IndexOf(const std::string& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (base::CompareText(items_[std::size_t(i)].text, s) == 0) return i;
    return -1;
}

void TListItems::SetSorted(bool v)
{
    if (v == sorted_) return;
    sorted_ = v;
    if (!v) return;
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Item& a, const Item& b) { return base::CompareText(a.text, b.text) < 0; });
    Changed();
}

bool TListItems::Selected(int index) const { return items_[Check(index)].selected; }

void TListItems::SetSelected(int index, bool v) { items_[Check(index)].selected = v; }

void TListItems::ForgetHeights()
{
    for (Item& i : items_) i.height = -1;
}

int NextItemStartingWith(char Key, int From, int Count, const std::function<std::string(int)>& TextOf)
{
    const int want = std::toupper(static_cast<unsigned char>(Key));
    for (int step = 1; step <= Count; ++step) {
        const int i = ((From + step) % Count + Count) % Count;
        const std::string s = TextOf(i);
        if (!s.empty() && std::toupper(static_cast<unsigned char>(s[0])) == want) return i;
    }
    return -1;
}

// ---------------------------------------------------------------- TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomControl(AOwner), items_(std::make_unique<TListItems>())
{
    ControlStyle &= ~csClickEvents;  // a click is a change of selection by the user
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
    // Rows keep their selection as rows come and go.
    items_->OnInserted = [this](int index) {
        if (itemIndex_ >= index) ++itemIndex_;
        if (anchor_ >= index) ++anchor_;
        pendingChange_ = std::max(pendingChange_, 1);
    };
    items_->OnDeleted = [this](int index) {
        if (itemIndex_ == index) itemIndex_ = -1;
        else if (itemIndex_ > index) --itemIndex_;
        if (anchor_ >= index) --anchor_;
        topIndex_ = std::clamp(topIndex_, 0, LastTopIndex());
        pendingChange_ = std::max(pendingChange_, 1);
    };
    items_->OnCleared = [this] {
        itemIndex_ = anchor_ = -1;
        topIndex_ = 0;
        pendingChange_ = 2;
    };
    items_->OnChanged = [this] {
        UpdateScrollBar();
        Invalidate();
        const int change = pendingChange_;
        pendingChange_ = 0;
        if (change) ItemsChanged(change == 2);
    };
}

TCustomListBox::~TCustomListBox() = default;

TListItems& TCustomListBox::Items() { return *items_; }
int TCustomListBox::Count() const { return items_->Count(); }
void TCustomListBox::Clear() { items_->Clear(); }
bool TCustomListBox::Sorted() const { return items_->Sorted(); }
void TCustomListBox::SetSorted(bool Value) { items_->SetSorted(Value); }

void TCustomListBox::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    if (borderStyle_ == lbsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd()
{
    TCustomControl::CreateWnd();
    TCreateParams p;
    CreateParams(p);
    useTabStops_ = (p.Style & LBS_USETABSTOPS) != 0;
    UpdateScrollBar();
    UpdateHorzScrollBar();
}

void TCustomListBox::SetTabStops(const std::vector<int>& DialogUnits)
{
    tabStops_ = DialogUnits;
    Invalidate();
}

std::vector<int> TCustomListBox::TabStopPixels()
{
    Canvas()->Font().Assign(*Font());
    const int unit = std::max(1, Canvas()->TextWidth("x"));
    std::vector<int> px;
    for (int du : tabStops_) px.push_back(du * unit / 4);
    if (px.empty()) px.push_back(32 * unit / 4);
    return px;
}

void TCustomListBox::SetHorizontalExtent(int Value)
{
    Value = std::max(0, Value);
    if (Value == hExtent_) return;
    hExtent_ = Value;
    UpdateHorzScrollBar();
    Invalidate();
}

void TCustomListBox::SetScrollLeft(int Value)
{
    Value = std::clamp(Value, 0, std::max(0, hExtent_ - ClientWidth()));
    if (Value == hPos_) return;
    hPos_ = Value;
    UpdateHorzScrollBar();
    Invalidate();
}

void TCustomListBox::UpdateHorzScrollBar()
{
    hPos_ = std::clamp(hPos_, 0, std::max(0, hExtent_ - ClientWidth()));
    if (!HandleAllocated()) return;
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(0, hExtent_ - 1);
    si.nPage = UINT(std::max(1, ClientWidth()));
    si.nPos = hPos_;
    SetScrollInfo(Handle(), SB_HORZ, si, true);
}

void TCustomListBox::WMHScroll(TWMHScroll& m)
{
    const int line = std::max(1, Canvas()->TextWidth("x"));
    switch (m.ScrollCode()) {
    case SB_LINELEFT: SetScrollLeft(hPos_ - line); break;
    case SB_LINERIGHT: SetScrollLeft(hPos_ + line); break;
    case SB_PAGELEFT: SetScrollLeft(hPos_ - ClientWidth()); break;
    case SB_PAGERIGHT: SetScrollLeft(hPos_ + ClientWidth()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetScrollLeft(m.ScrollPos()); break;
    case SB_LEFT: SetScrollLeft(0); break;
    case SB_RIGHT: SetScrollLeft(hExtent_); break;
    default: break;
    }
    m.Result = 0;
}

void TCustomListBox::SetBorderStyle(TListBorderStyle Value)
{
    if (Value == borderStyle_) return;
    borderStyle_ = Value;
    RecreateWnd();
}

void TCustomListBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= Count()) Value = -1;
    if (!multiSelect_) {
        if (itemIndex_ >= 0 && itemIndex_ < Count()) items_->SetSelected(itemIndex_, false);
        if (Value >= 0) items_->SetSelected(Value, true);
    }
    if (Value == itemIndex_) return;
    itemIndex_ = Value;
    anchor_ = Value;
    if (Value >= 0) ScrollIntoView(Value);
    Invalidate();
}

void TCustomListBox::SetItemHeight(int Value)
{
    if (Value < 1 || Value == itemHeight_) return;
    itemHeight_ = Value;
    items_->ForgetHeights();
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::SetTopIndex(int Value)
{
    Value = std::clamp(Value, 0, LastTopIndex());
    if (Value == topIndex_) return;
    topIndex_ = Value;
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
    if (Value == style_) return;
    style_ = Value;
    items_->ForgetHeights();
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::SetMultiSelect(bool Value)
{
    if (Value == multiSelect_) return;
    multiSelect_ = Value;
    ClearSelection();
    if (!Value && itemIndex_ >= 0) items_->SetSelected(itemIndex_, true);
}

bool TCustomListBox::Selected(int Index) const
{
    if (Index < 0 || Index >= Count()) throw base::EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return items_->Selected(Index);
}

void TCustomListBox::SetSelected(int Index, bool Value)
{
    if (Index < 0 || Index >= Count()) throw base::EListError("List index out of bounds (" + std::to_string(Index) + ")");
    if (!multiSelect_) {
        if (Value) SetItemIndex(Index);
        else if (Index == itemIndex_) SetItemIndex(-1);
        return;
    }
    items_->SetSelected(Index, Value);
    Invalidate();
}

int TCustomListBox::SelCount() const
{
    if (!multiSelect_) return -1;
    int n = 0;
    for (int i = 0; i < Count(); ++i) n += items_->Selected(i) ? 1 : 0;
    return n;
}

void TCustomListBox::ClearSelection()
{
    for (int i = 0; i < Count(); ++i) items_->SetSelected(i, false);
    if (!multiSelect_) itemIndex_ = -1;
    Invalidate();
}

void TCustomListBox::SelectAll()
{
    if (!multiSelect_) return;
    for (int i = 0; i < Count(); ++i) items_->SetSelected(i, true);
    Invalidate();
}

int TCustomListBox::RowHeight(int Index) const
{
    if (style_ != lbOwnerDrawVariable) return itemHeight_;
    int h = items_->ItemHeight(Index);
    if (h < 0) {
        h = itemHeight_;
        const_cast<TCustomListBox*>(this)->MeasureItem(Index, h);
        h = std::max(1, h);
        items_->SetItemHeight(Index, h);
    }
    return h;
}

void TCustomListBox::MeasureItem(int Index, int& Height)
{
    if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

int TCustomListBox::VisibleRows() const
{
    const int h = ClientHeight();
    if (style_ != lbOwnerDrawVariable) return std::max(1, h / itemHeight_);
    int rows = 0, y = 0;
    for (int i = topIndex_; i < Count(); ++i) {
        y += RowHeight(i);
        if (y > h) break;
        ++rows;
    }
    if (y <= h) rows += (h - y) / itemHeight_;  // room below the last row
    return std::max(1, rows);
}

int TCustomListBox::LastTopIndex() const
{
    const int n = Count();
    if (n == 0) return 0;
    if (style_ != lbOwnerDrawVariable) return std::max(0, n - std::max(1, ClientHeight() / itemHeight_));
    int y = 0, i = n - 1;
    for (; i >= 0; --i) {
        y += RowHeight(i);
        if (y > ClientHeight()) break;
    }
    return std::min(n - 1, i + 1);
}

TRect TCustomListBox::ItemRect(int Index) const
{
    int top = 0;
    if (style_ != lbOwnerDrawVariable) {
        top = (Index - topIndex_) * itemHeight_;
    } else if (Index >= topIndex_) {
        for (int i = topIndex_; i < Index && i < Count(); ++i) top += RowHeight(i);
    } else {
        for (int i = Index; i < topIndex_; ++i) top -= RowHeight(i);
    }
    const int h = Index >= 0 && Index < Count() ? RowHeight(Index) : itemHeight_;
    return Rect(0, top, ClientWidth(), top + h);
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const
{
    if (PtInRect(ClientRect(), Pos)) {
        if (style_ != lbOwnerDrawVariable) {
            const int index = topIndex_ + Pos.Y / itemHeight_;
            if (index < Count()) return index;
        } else {
            int y = 0;
            for (int i = topIndex_; i < Count() && y <= Pos.Y; ++i) {
                y += RowHeight(i);
                if (Pos.Y < y) return i;
            }
        }
    }
    return Existing ? -1 : Count();
}

void TCustomListBox::ScrollIntoView(int Index)
{
    if (Index < topIndex_) {
        SetTopIndex(Index);
        return;
    }
    while (topIndex_ < Index && ItemRect(Index).Bottom > ClientHeight()) ++topIndex_;
    Invalidate();
    UpdateScrollBar();
}

void TCustomListBox::UpdateScrollBar()
{
    if (!HandleAllocated()) return;
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(0, Count() - 1);
    si.nPage = UINT(LastTopIndex() > 0 ? std::max(1, Count() - LastTopIndex()) : Count() + 1);
    si.nPos = topIndex_;
    SetScrollInfo(Handle(), SB_VERT, si, true);
}

void TCustomListBox::WMSize(TWMSize& m)
{
    TCustomControl::WMSize(m);
    topIndex_ = std::clamp(topIndex_, 0, LastTopIndex());
    UpdateScrollBar();
    UpdateHorzScrollBar();
}

void TCustomListBox::Paint()
{
    TCanvas* c = Canvas();
    c->Brush().SetColor(Color());
    c->Brush().SetStyle(bsSolid);
    c->FillRect(ClientRect());
    const bool focused = Focused();
    for (int i = topIndex_; i < Count(); ++i) {
        TRect r = ItemRect(i);
        if (r.Top >= ClientHeight()) break;
        r.Left -= hPos_;
        r.Right = std::max(r.Right, hExtent_) - hPos_;
        TOwnerDrawState state = 0;
        if (items_->Selected(i)) state |= odSelected;
        if (i == itemIndex_ && focused) state |= odFocused;
        if (!Enabled()) state |= odDisabled;
        c->Font().Assign(*Font());
        if (state & odSelected) {
            c->Brush().SetColor(clHighlight);
            c->Font().SetColor(clHighlightText);
        } else {
            c->Brush().SetColor(Color());
        }
        c->Brush().SetStyle(bsSolid);
        DrawItem(i, r, state);
        if (state & odFocused) c->DrawFocusRect(r);
    }
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (OnDrawItem && style_ != lbStandard) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    Canvas()->FillRect(Rect);
    if (useTabStops_) {
        const std::vector<int> stops = TabStopPixels();
        TabbedTextOut(Canvas()->Handle(), Rect.Left + 2, Rect.Top, items_->Get(Index), -1, int(stops.size()),
                      stops.data(), Rect.Left + 2);
    } else {
        Canvas()->TextOutW(Rect.Left + 2, Rect.Top, ShownItemText(Index));
    }
}

std::u16string TCustomListBox::ShownItemText(int Index) const { return AnsiToWide(items_->Get(Index)); }

void TCustomListBox::SelectionChanged() { Click(); }

void TCustomListBox::SelectRange(int from, int to)
{
    for (int i = 0; i < Count(); ++i) items_->SetSelected(i, i >= std::min(from, to) && i <= std::max(from, to));
}

// Moves the current row to Index as the user does; Shift and Ctrl as with the mouse.
void TCustomListBox::MoveTo(int Index, TShiftState Shift, bool byMouse)
{
    if (Index < 0 || Index >= Count()) return;
    if (!multiSelect_) {
        const bool changed = Index != itemIndex_;
        SetItemIndex(Index);
        if (changed || byMouse) SelectionChanged();
        return;
    }
    const int anchor = anchor_ >= 0 ? anchor_ : Index;
    if (!extendedSelect_) {
        if (byMouse) items_->SetSelected(Index, !items_->Selected(Index));
    } else if (Shift & ssShift) {
        SelectRange(anchor, Index);
    } else if (Shift & ssCtrl) {
        if (byMouse) items_->SetSelected(Index, !items_->Selected(Index));
    } else {
        SelectRange(Index, Index);
    }
    itemIndex_ = Index;
    anchor_ = (Shift & ssShift) && extendedSelect_ ? anchor : Index;
    ScrollIntoView(Index);
    Invalidate();
    SelectionChanged();
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        if (CanFocus()) SetFocus();
        if (Shift & ssDouble) {
            // The first press selected the row already.
            DblClick();
        } else {
            MoveTo(ItemAtPos(Point(X, Y), true), Shift, true);
            tracking_ = !multiSelect_;
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    // Dragging with the button down moves a single selection along.
    if (tracking_ && (Shift & ssLeft)) {
        const int i = ItemAtPos(Point(X, std::clamp(Y, 0, std::max(0, ClientHeight() - 1))), true);
        if (i >= 0 && i != itemIndex_) MoveTo(i, 0, false);
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) tracking_ = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomListBox::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const int last = Count() - 1;
    if (last < 0) return;
    const int page = std::max(1, VisibleRows() - 1);
    int to = -1;
    switch (Key) {
    case VK_UP: to = std::max(0, itemIndex_ - 1); break;
    case VK_DOWN: to = std::min(last, itemIndex_ + 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = last; break;
    case VK_PRIOR: to = std::max(0, itemIndex_ - page); break;
    case VK_NEXT: to = std::min(last, std::max(0, itemIndex_) + page); break;
    case VK_SPACE:
        if (multiSelect_ && itemIndex_ >= 0) {
            items_->SetSelected(itemIndex_, !items_->Selected(itemIndex_));
            Invalidate();
            SelectionChanged();
        }
        return;
    default: return;
    }
    // Without Ctrl an extended list selects the row it moves to; a plain multi-select
    // list only moves the focus.
    if (multiSelect_ && (!extendedSelect_ || ((Shift & ssCtrl) && !(Shift & ssShift)))) {
        itemIndex_ = to;
        if (!(Shift & ssShift)) anchor_ = to;
        ScrollIntoView(to);
        Invalidate();
        return;
    }
    MoveTo(to, Shift & ssShift, false);
}

void TCustomListBox::KeyPress(char& Key)
{
    TCustomControl::KeyPress(Key);
    if (static_cast<unsigned char>(Key) <= ' ') return;
    const int i = NextItemStartingWith(Key, itemIndex_, Count(), [this](int k) { return items_->Get(k); });
    if (i >= 0) MoveTo(i, 0, false);
}

bool TCustomListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    SetTopIndex(topIndex_ - WheelDelta / 120 * WheelScrollLines());
    return true;
}

void TCustomListBox::WMVScroll(TWMVScroll& m)
{
    switch (m.WParamLo()) {
    case SB_LINEUP: SetTopIndex(topIndex_ - 1); break;
    case SB_LINEDOWN: SetTopIndex(topIndex_ + 1); break;
    case SB_PAGEUP: SetTopIndex(topIndex_ - std::max(1, VisibleRows() - 1)); break;
    case SB_PAGEDOWN: SetTopIndex(topIndex_ + std::max(1, VisibleRows() - 1)); break;
    case SB_TOP: SetTopIndex(0); break;
    case SB_BOTTOM: SetTopIndex(Count()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetTopIndex(m.WParamHi()); break;
    default: break;
    }
    m.Result = 0;
}

void TCustomListBox::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case LB_ADDSTRING: m.Result = items_->Add(reinterpret_cast<const char*>(m.LParam)); return;
    case LB_DELETESTRING:
        if (int(m.WParam) >= 0 && int(m.WParam) < Count()) items_->Delete(int(m.WParam));
        m.Result = Count();
        return;
    case LB_RESETCONTENT: items_->Clear(); return;
    case LB_GETCOUNT: m.Result = Count(); return;
    case LB_GETCURSEL: m.Result = itemIndex_; return;
    case LB_SETCURSEL: SetItemIndex(int(m.WParam)); m.Result = itemIndex_; return;
    case LB_GETSEL: m.Result = int(m.WParam) >= 0 && int(m.WParam) < Count() && items_->Selected(int(m.WParam)); return;
    case LB_SETSEL:
        if (int(m.LParam) == -1) {
            for (int i = 0; i < Count(); ++i) items_->SetSelected(i, m.WParam != 0);
            Invalidate();
        } else if (int(m.LParam) >= 0 && int(m.LParam) < Count()) {
            SetSelected(int(m.LParam), m.WParam != 0);
        }
        return;
    case LB_GETSELCOUNT: m.Result = SelCount(); return;
    case LB_GETTOPINDEX: m.Result = topIndex_; return;
    case LB_SETTOPINDEX: SetTopIndex(int(m.WParam)); return;
    case LB_GETITEMHEIGHT: m.Result = int(m.WParam) >= 0 && int(m.WParam) < Count() ? RowHeight(int(m.WParam)) : itemHeight_; return;
    case LB_SETITEMHEIGHT:
        if (style_ == lbOwnerDrawVariable && int(m.WParam) >= 0 && int(m.WParam) < Count()) {
            items_->SetItemHeight(int(m.WParam), std::max(1, int(m.LParam)));
            Invalidate();
        } else {
            SetItemHeight(int(m.LParam));
        }
        return;
    case LB_GETITEMRECT:
        if (auto* r = reinterpret_cast<TRect*>(m.LParam)) *r = ItemRect(int(m.WParam));
        m.Result = 1;
        return;
    case LB_SETTABSTOPS: {
        const int* du = reinterpret_cast<const int*>(m.LParam);
        std::vector<int> stops;
        if (du && int(m.WParam) == 1) stops.push_back(du[0]);
        for (int i = 0; du && int(m.WParam) > 1 && i < int(m.WParam); ++i) stops.push_back(du[i]);
        SetTabStops(stops);
        m.Result = 1;
        return;
    }
    case LB_GETHORIZONTALEXTENT: m.Result = hExtent_; return;
    case LB_SETHORIZONTALEXTENT: SetHorizontalExtent(int(m.WParam)); return;
    case LB_ITEMFROMPOINT: {
        const int i = ItemAtPos(Point(m.LParamLo(), m.LParamHi()), true);
        m.Result = i >= 0 ? i : MakeLParam(std::max(0, Count() - 1), 1);
        return;
    }
    default: break;
    }
    TCustomControl::DefaultHandler(m);
}

}  // namespace platform

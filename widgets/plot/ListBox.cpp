#include "widgets/plot/ListBox.h"

#include <algorithm>

#include "base/StringList.h"
#include "platform/graphics/GDI.h"

namespace plot {

using namespace platform;

// Rows that keep the selection on the same row as rows come and go.
class TCustomListBox::Strings : public base::TStringList {
public:
    explicit Strings(TCustomListBox* box) : box_(box)
    {
        OnChange = [this](base::TStringList&) { box_->Invalidate(); };
    }
    void Insert(int index, const std::string& s) override
    {
        base::TStringList::Insert(index, s);
        if (box_->itemIndex_ >= index) ++box_->itemIndex_;
    }
    void Delete(int index) override
    {
        base::TStringList::Delete(index);
        if (box_->itemIndex_ == index) box_->itemIndex_ = -1;
        else if (box_->itemIndex_ > index) --box_->itemIndex_;
        box_->topIndex_ = std::clamp(box_->topIndex_, 0, std::max(0, Count() - 1));
    }
    void Clear() override
    {
        base::TStringList::Clear();
        box_->itemIndex_ = -1;
        box_->topIndex_ = 0;
    }
    void PutObject(int index, void* obj) override
    {
        base::TStringList::PutObject(index, obj);
        box_->Invalidate();
    }

private:
    TCustomListBox* box_;
};

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomControl(AOwner), items_(std::make_unique<Strings>(this))
{
    ControlStyle &= ~csClickEvents;  // a click is a change of selection by the user
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
}

TCustomListBox::~TCustomListBox() = default;

base::TStrings& TCustomListBox::Items() { return *items_; }

void TCustomListBox::Clear() { items_->Clear(); }

void TCustomListBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= items_->Count()) Value = -1;
    if (Value == itemIndex_) return;
    itemIndex_ = Value;
    if (Value >= 0) {
        if (Value < topIndex_) topIndex_ = Value;
        else if (Value >= topIndex_ + VisibleRows()) topIndex_ = Value - VisibleRows() + 1;
    }
    Invalidate();
}

void TCustomListBox::SetItemHeight(int Value)
{
    if (Value < 1 || Value == itemHeight_) return;
    itemHeight_ = Value;
    Invalidate();
}

void TCustomListBox::SetTopIndex(int Value)
{
    Value = std::clamp(Value, 0, std::max(0, items_->Count() - 1));
    if (Value == topIndex_) return;
    topIndex_ = Value;
    Invalidate();
}

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
    if (Value == style_) return;
    style_ = Value;
    Invalidate();
}

int TCustomListBox::VisibleRows() const { return std::max(1, ClientHeight() / itemHeight_); }

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const
{
    if (PtInRect(ClientRect(), Pos)) {
        const int index = topIndex_ + Pos.Y / itemHeight_;
        if (index < items_->Count()) return index;
    }
    return Existing ? -1 : items_->Count();
}

TRect TCustomListBox::ItemRect(int Index) const
{
    const int top = (Index - topIndex_) * itemHeight_;
    return Rect(0, top, ClientWidth(), top + itemHeight_);
}

void TCustomListBox::Paint()
{
    TCanvas* c = Canvas();
    c->Brush().SetColor(Color());
    c->Brush().SetStyle(bsSolid);
    c->FillRect(ClientRect());
    const bool focused = Focused();
    for (int i = topIndex_; i < items_->Count(); ++i) {
        const TRect r = ItemRect(i);
        if (r.Top >= ClientHeight()) break;
        TOwnerDrawState state = 0;
        if (i == itemIndex_) state |= odSelected | (focused ? odFocused : 0u);
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
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    Canvas()->FillRect(Rect);
    Canvas()->TextOut(Rect.Left + 2, Rect.Top, items_->Get(Index));
}

void TCustomListBox::SelectByUser(int Index)
{
    if (Index < 0 || Index >= items_->Count()) return;
    SetItemIndex(Index);
    Click();
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        if (CanFocus()) SetFocus();
        SelectByUser(ItemAtPos(Point(X, Y), true));
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListBox::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const int last = items_->Count() - 1;
    if (last < 0) return;
    switch (Key) {
    case VK_UP: SelectByUser(std::max(0, itemIndex_ - 1)); break;
    case VK_DOWN: SelectByUser(std::min(last, itemIndex_ + 1)); break;
    case VK_HOME: SelectByUser(0); break;
    case VK_END: SelectByUser(last); break;
    default: break;
    }
}

bool TCustomListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    SetTopIndex(topIndex_ - WheelDelta / 120 * 3);
    return true;
}

}  // namespace plot

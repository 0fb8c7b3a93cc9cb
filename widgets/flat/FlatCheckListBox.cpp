#include "widgets/flat/FlatCheckListBox.h"

#include <algorithm>

#include "platform/system/Thread.h"

namespace flat {

using namespace platform;

namespace {
// One scroll timer serves every check list; it lives from the first list to the last.
TRepeatTimer* gTimer = nullptr;
int gLists = 0;

TRepeatTimer* SharedTimer()
{
    if (!gTimer) gTimer = new TRepeatTimer;
    ++gLists;
    return gTimer;
}
}  // namespace

TFlatCheckListBox::TFlatCheckListBox(TComponent* AOwner) : TFlatRowList(AOwner, SharedTimer())
{
    SetBounds(0, 0, 99, 137);
}

TFlatCheckListBox::~TFlatCheckListBox()
{
    ReleaseRepeat();
    if (--gLists == 0) {
        delete gTimer;
        gTimer = nullptr;
    }
}

void TFlatCheckListBox::SetChecked(int i, bool value)
{
    if (i < Items().Count()) checks_.Set(i, value);
    Invalidate();
}

void TFlatCheckListBox::Clear()
{
    Items().Clear();
    checks_.Clear();
    itemIndex_ = -1;
    Invalidate();
}

void TFlatCheckListBox::SetItemIndex(int i)
{
    if (i == itemIndex_) return;
    itemIndex_ = i;
    Invalidate();
}

void TFlatCheckListBox::SetColors(int index, TColor value)
{
    if (index == 4)
        SetColorAt(colorCheck_, value);
    else
        TFlatRowList::SetColors(index, value);
}

void TFlatCheckListBox::ItemsChanged()
{
    if (!Enabled()) return;
    checks_.Clear();
    Invalidate();
}

TRect TFlatCheckListBox::CheckRect(int r) const
{
    const TRect row = RowRect(r);
    const int left = BiDiMode() == bdRightToLeft ? row.Right - 14 : row.Left + 3;
    return Rect(left, row.Top + 3, left + 11, row.Top + 14);
}

void TFlatCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Items().Count() > 0 && Button == mbLeft) {
        const int r = RowAt(X, Y);
        const int item = TopIndex() + r;
        if (r >= 0 && item < Items().Count()) {
            if (PtInRect(CheckRect(r), Point(X, Y))) {
                checks_.Set(item, !checks_.Get(item));
                if (CanFocus()) SetFocus();
                if (OnClickCheck) OnClickCheck(this);
            } else {
                itemIndex_ = item;
                if (CanFocus()) SetFocus();
            }
            Invalidate();
            return;
        }
    }
    StripPress(X, Y);
    TFlatRowList::MouseDown(Button, Shift, X, Y);
}

void TFlatCheckListBox::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_SPACE) {
        if (itemIndex_ >= 0 && itemIndex_ < Items().Count()) checks_.Set(itemIndex_, !checks_.Get(itemIndex_));
        Invalidate();
        return;
    }
    TFlatRowList::KeyDown(Key, Shift);
}

void TFlatCheckListBox::WMSetFocus(TWMSetFocus& m)
{
    TFlatRowList::WMSetFocus(m);
    if (TransparentMode() != tmNone) Invalidate();
}

void TFlatCheckListBox::WMKillFocus(TWMKillFocus& m)
{
    TFlatRowList::WMKillFocus(m);
    itemIndex_ = -1;
    Invalidate();
}

void TFlatCheckListBox::PaintRows(TCanvas* c)
{
    for (int r = 0; r < RowCount(); ++r) {
        const int item = TopIndex() + r;
        if (item >= Items().Count()) break;
        const TRect row = RowRect(r);
        if (item == itemIndex_) {
            c->Brush().SetColor(colorItemsSelect_);
            c->FillRect(row);
            c->Brush().SetColor(colorBorder_);
            c->FrameRect(row);
        }
        const TRect box = CheckRect(r);
        c->Brush().SetColor(colorItemsRect_);
        c->FillRect(box);
        c->Brush().SetColor(colorBorder_);
        c->FrameRect(box);
        if (checks_.Get(item)) DrawCheckMark(c, box.Left, box.Top, colorCheck_);
        TRect text = row;
        InflateRect(text, -19, 0);
        DrawRowText(c, text, Items().Get(item));
    }
}

}  // namespace flat

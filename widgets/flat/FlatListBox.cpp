#include "widgets/flat/FlatListBox.h"

#include "platform/graphics/GDI.h"

namespace flat {

using namespace platform;

TFlatListBox::TFlatListBox(TComponent* AOwner) : TFlatRowList(AOwner, &timer_)
{
    SetBounds(0, 0, 137, 99);
}

TFlatListBox::~TFlatListBox() { ReleaseRepeat(); }

void TFlatListBox::ChangeIndex(int value)
{
    itemIndex_ = value;
    if (OnChangeIndex) OnChangeIndex(this);
}

void TFlatListBox::SetItemIndex(int value)
{
    if (value == itemIndex_) return;
    ChangeIndex(value);
    if (multiSelect_) {
        selection_.Set(value, !selection_.Get(value));
    } else {
        selection_.Clear();
        selection_.Set(value, true);
    }
    Invalidate();
}

void TFlatListBox::SetSelected(int index, bool value)
{
    if (index >= Items().Count()) return;
    if (!multiSelect_) selection_.Clear();
    selection_.Set(index, value);
    if (value) ChangeIndex(index);
    Invalidate();
}

int TFlatListBox::SelCount() const
{
    if (multiSelect_) return selection_.Count();
    return selection_.Get(itemIndex_) ? 1 : 0;
}

void TFlatListBox::SetMultiSelect(bool value)
{
    if (value == multiSelect_) return;
    multiSelect_ = value;
    if (value) ChangeIndex(0);
}

void TFlatListBox::ItemsChanged()
{
    if (!Enabled()) return;
    selection_.Clear();
    if (itemIndex_ >= Items().Count()) ChangeIndex(-1);
    Invalidate();
}

void TFlatListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Items().Count() > 0) {
        const int r = RowAt(X, Y);
        if (r >= 0) {
            const int i = TopIndex() + r;
            const bool exists = i < Items().Count();
            if (multiSelect_) {
                if (selection_.Get(i))
                    selection_.Set(i, false);
                else if (exists)
                    selection_.Set(i, true);
            } else {
                selection_.Clear();
                if (exists) selection_.Set(i, true);
            }
            ChangeIndex(exists ? i : -1);
            if (CanFocus()) SetFocus();
            Invalidate();
            return;
        }
    }
    StripPress(X, Y);
    TFlatRowList::MouseDown(Button, Shift, X, Y);
}

void TFlatListBox::WMSetFocus(TWMSetFocus& m)
{
    TFlatRowList::WMSetFocus(m);
    if (TransparentMode() != tmNone) Invalidate();
}

void TFlatListBox::WMKillFocus(TWMKillFocus& m)
{
    TFlatRowList::WMKillFocus(m);
    if (TransparentMode() != tmNone) Invalidate();
}

void TFlatListBox::PaintRows(TCanvas* c)
{
    for (int r = 0; r < RowCount(); ++r) {
        const int item = TopIndex() + r;
        if (item >= Items().Count()) break;
        const TRect row = RowRect(r);
        if (selection_.Get(item)) {
            c->Brush().SetColor(colorItemsSelect_);
            c->FillRect(row);
            c->Brush().SetColor(colorBorder_);
            c->FrameRect(row);
        }
        TRect text = row;
        InflateRect(text, -3, 0);
        DrawRowText(c, text, Items().Get(item));
    }
}

}  // namespace flat

#include "widgets/flat/FlatRows.h"

#include <algorithm>

#include "base/StrUtils.h"
#include "platform/graphics/GDI.h"
#include "platform/system/Thread.h"

namespace flat {

using namespace platform;

namespace {
constexpr int kStrip = 11;  // height of an arrow strip
}

bool TItemMarks::Set(int i, bool v)
{
    if (!CanHold(i)) return false;
    if (i >= int(bits_.size())) {
        if (!v) return true;
        bits_.resize(std::size_t(i) + 1, false);
    }
    bits_[std::size_t(i)] = v;
    return true;
}

int TItemMarks::Count() const { return int(std::count(bits_.begin(), bits_.end(), true)); }

TRepeatTimer::TRepeatTimer() : timer(std::make_unique<TTimer>(nullptr))
{
    timer->SetEnabled(false);
    timer->SetInterval(600);
    timer->SetOnTimer([this](TObject*) {
        if (target) target->RepeatTick();
    });
}

TRepeatTimer::~TRepeatTimer() = default;

TFlatRowList::TFlatRowList(TComponent* AOwner, TRepeatTimer* repeat) : TCustomControl(AOwner), repeat_(repeat)
{
    ControlStyle |= csOpaque;
    SetTabStop(true);
    SetColor(0xE1EAEB);
    SetParentColor(true);
    items_.OnChange = [this](base::TStringList&) { ItemsChanged(); };
    wheelMessage_ = RegisterWindowMessage("MSWHEEL_ROLLMSG");
}

TFlatRowList::~TFlatRowList()
{
    items_.OnChange = nullptr;
    ReleaseRepeat();
}

void TFlatRowList::ReleaseRepeat()
{
    if (repeat_ && repeat_->target == this) {
        repeat_->timer->SetEnabled(false);
        repeat_->target = nullptr;
    }
    repeat_ = nullptr;
}

void TFlatRowList::Loaded()
{
    TCustomControl::Loaded();
    SetItemsRect();
}

void TFlatRowList::SetItemsRect()
{
    const int pitch = itemHeight_ + 2;
    const int count = std::max(0, (Height() - (scrollBars_ ? 24 : 4)) / pitch);
    const TRect client = ClientRect();
    rows_.clear();
    int y = client.Top + (scrollBars_ ? 13 : 3);
    for (int r = 0; r < count; ++r, y += pitch) rows_.push_back(Rect(client.Left + 3, y, client.Right - 3, y + itemHeight_));
    Invalidate();
}

void TFlatRowList::SnapHeight()
{
    const int pitch = itemHeight_ + 2;
    const int extra = scrollBars_ ? 24 : 4;
    const int count = std::max(0, (Height() - extra) / pitch);
    const int height = pitch * count + extra;
    if (height != Height() && !snapping_) {
        snapping_ = true;
        SetBounds(Left(), Top(), Width(), height);
        snapping_ = false;
    }
}

void TFlatRowList::WMSize(TWMSize& m)
{
    TCustomControl::WMSize(m);
    SnapHeight();
    SetItemsRect();
}

void TFlatRowList::WMMove(TWMMove& m)
{
    TCustomControl::WMMove(m);
    if (transparentMode_ != tmNone) Invalidate();
}

void TFlatRowList::SetItemHeight(int v)
{
    v = std::max(1, v);
    if (v == itemHeight_) return;
    const int count = RowCount();
    itemHeight_ = v;
    SetBounds(Left(), Top(), Width(), (v + 2) * count + (scrollBars_ ? 24 : 4));
    SetItemsRect();
}

void TFlatRowList::SetScrollBars(bool v)
{
    if (v == scrollBars_) return;
    scrollBars_ = v;
    SetBounds(Left(), Top(), Width(), Height() + (v ? 20 : -20));
    SetItemsRect();
}

void TFlatRowList::SetSorted(bool v)
{
    if (v == items_.Sorted()) return;
    items_.SetSorted(v);
    ItemsChanged();
    Invalidate();
}

void TFlatRowList::SetTransparent(TTransparentMode m)
{
    transparentMode_ = m;
    Invalidate();
}

void TFlatRowList::SetBiDiMode(TFlatBiDiMode m)
{
    biDiMode_ = m;
    Invalidate();
}

void TFlatRowList::SetColorAt(TColor& field, TColor value)
{
    field = value;
    Invalidate();
}

void TFlatRowList::SetColors(int index, TColor value)
{
    TColor* fields[] = {&colorArrow_, &colorBorder_, &colorItemsRect_, &colorItemsSelect_};
    if (index >= 0 && index < 4) SetColorAt(*fields[index], value);
}

void TFlatRowList::SetItems(base::TStrings& list)
{
    if (ItemLimit() > 0 && list.Count() > ItemLimit()) return;
    for (int i = 0; i < list.Count(); ++i) list.Put(i, base::Trim(list.Get(i)));
    items_.Assign(list);
    Invalidate();
}

void TFlatRowList::SetUseExColors(bool v)
{
    if (v == useExColors_) return;
    useExColors_ = v;
    SetParentColor(v);
    CalcExColors();
    Invalidate();
}

void TFlatRowList::SetExColors(int index, TExColors amount)
{
    if (index != 0) return;
    exColorBorder_ = std::clamp(amount, 0, 100);
    CalcExColors();
    Invalidate();
}

void TFlatRowList::CalcExColors()
{
    if (useExColors_) colorBorder_ = CalcAdvancedColor(Color(), colorBorder_, exColorBorder_, darken);
}

void TFlatRowList::CMParentColorChanged(TMessage& m)
{
    TCustomControl::CMParentColorChanged(m);
    if (useExColors_) {
        SetParentColor(true);
        CalcExColors();
    }
    Invalidate();
}

void TFlatRowList::WndProc(TMessage& m)
{
    if (m.Msg == wheelMessage_ && wheelMessage_ != 0) Perform(WM_MOUSEWHEEL, m.WParam, m.LParam);
    if (m.Msg == CM_SYSCOLORCHANGE) {
        if (useExColors_) {
            SetParentColor(true);
            CalcExColors();
        }
        Invalidate();
    }
    TCustomControl::WndProc(m);
}

void TFlatRowList::SetTopIndex(int v)
{
    topIndex_ = std::max(0, v);
    Invalidate();
}

int TFlatRowList::RowAt(int x, int y) const
{
    for (int r = 0; r < RowCount(); ++r)
        if (PtInRect(rows_[std::size_t(r)], Point(x, y))) return r;
    return -1;
}

void TFlatRowList::KeyDown(Word& Key, TShiftState Shift)
{
    const int rows = RowCount(), count = items_.Count();
    switch (Key) {
    case VK_PRIOR: SetTopIndex(topIndex_ - rows); break;
    case VK_NEXT:
        SetTopIndex(count < topIndex_ + 2 * rows ? count - rows : topIndex_ + rows);
        break;
    case VK_UP: SetTopIndex(topIndex_ - 1); break;
    case VK_DOWN:
        if (CanScrollDown()) SetTopIndex(topIndex_ + 1);
        break;
    default: TCustomControl::KeyDown(Key, Shift); break;
    }
    Invalidate();
}

void TFlatRowList::WMMouseWheel(TWMMouseWheel& m)
{
    const int delta = m.WheelDelta();
    const int rows = RowCount(), count = items_.Count();
    int step = WheelScrollLines();
    // 0 and the page-at-a-time setting both scroll a page.
    if (step <= 0 || step > 100000) step = rows;
    if (delta == -120)
        SetTopIndex(count < topIndex_ + rows + step ? count - rows : topIndex_ + step);
    else if (delta == 120)
        SetTopIndex(topIndex_ - step);
    m.Result = 1;
    Invalidate();
}

bool TFlatRowList::StripPress(int x, int y)
{
    if (!scrollBars_) return false;
    const TRect client = ClientRect();
    const TPoint p = Point(x, y);
    bool down;
    if (PtInRect(Rect(client.Left, client.Top, client.Right, client.Top + kStrip), p)) {
        SetTopIndex(topIndex_ - 1);
        down = false;
    } else if (PtInRect(Rect(client.Left, client.Bottom - kStrip, client.Right, client.Bottom), p)) {
        if (CanScrollDown()) SetTopIndex(topIndex_ + 1);
        down = true;
    } else {
        return false;
    }
    if (CanFocus()) SetFocus();
    Invalidate();
    scrollingDown_ = down;
    repeat_->timer->SetEnabled(false);
    repeat_->target = this;
    repeat_->timer->SetEnabled(true);
    return true;
}

void TFlatRowList::RepeatTick()
{
    repeat_->timer->SetInterval(100);
    if (scrollingDown_) {
        if (!CanScrollDown())
            StopRepeat();
        else
            SetTopIndex(topIndex_ + 1);
    } else {
        if (topIndex_ <= 0)
            StopRepeat();
        else
            SetTopIndex(topIndex_ - 1);
    }
    Invalidate();
}

void TFlatRowList::StopRepeat()
{
    repeat_->timer->SetEnabled(false);
    repeat_->timer->SetInterval(600);
}

void TFlatRowList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    StopRepeat();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TFlatRowList::Paint()
{
    const TRect client = ClientRect();
    TBitmap image(client.Width(), client.Height());
    TCanvas* c = image.Canvas();
    c->Font().Assign(*Font());
    PaintFrame(c);
    PaintRows(c);
    Canvas()->Draw(0, 0, &image);
}

void TFlatRowList::PaintFrame(TCanvas* c)
{
    const TRect client = ClientRect();
    const bool parentImage = transparentMode_ == tmAlways || (transparentMode_ == tmNotFocused && !Focused());
    if (parentImage) {
        DrawParentImage(this, c);
    } else {
        c->Brush().SetColor(colorItemsRect_);
        c->FillRect(client);
    }
    c->Brush().SetColor(colorBorder_);
    c->FrameRect(client);
    if (scrollBars_) DrawScrollBar(c);
}

void TFlatRowList::DrawScrollBar(TCanvas* c)
{
    const TRect client = ClientRect();
    const TRect strips[] = {Rect(client.Left, client.Top, client.Right, client.Top + kStrip),
                            Rect(client.Left, client.Bottom - kStrip, client.Right, client.Bottom)};
    for (const TRect& s : strips) {
        c->Brush().SetColor(Color());
        c->FillRect(s);
        c->Brush().SetColor(colorBorder_);
        c->FrameRect(s);
    }
    const int x = client.Width() / 2 - 6;
    DrawFlatArrow(c, x, client.Top + 4, true, topIndex_ > 0 && Enabled(), colorArrow_);
    DrawFlatArrow(c, x, client.Bottom - 7, false, CanScrollDown() && Enabled(), colorArrow_);
    c->Brush().SetStyle(bsSolid);
}

void TFlatRowList::DrawRowText(TCanvas* c, TRect r, const std::string& text)
{
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (biDiMode_ == bdRightToLeft) flags |= DT_RIGHT | DT_RTLREADING;
    DrawFlatText(c, r, text, flags, Enabled());
}

}  // namespace flat

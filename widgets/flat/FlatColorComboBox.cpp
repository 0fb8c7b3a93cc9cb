#include "widgets/flat/FlatColorComboBox.h"

#include <algorithm>
#include <cstdint>

#include "base/StrUtils.h"
#include "platform/forms/Dialogs.h"
#include "platform/graphics/GDI.h"

namespace flat {

using namespace platform;

namespace {

void* AsObject(TColor c) { return reinterpret_cast<void*>(std::intptr_t(c)); }

const struct {
    const char* name;
    TColor colour;
} kStandard[] = {{"Black", clBlack},   {"Maroon", clMaroon}, {"Green", clGreen},   {"Olive", clOlive},
                 {"Navy", clNavy},     {"Purple", clPurple}, {"Teal", clTeal},     {"Gray", clGray},
                 {"Silver", clSilver}, {"Red", clRed},       {"Lime", clLime},     {"Yellow", clYellow},
                 {"Blue", clBlue},     {"Fuchsia", clFuchsia}, {"Aqua", clAqua}, {"White", clWhite}};

}  // namespace

TFlatColorComboBox::TFlatColorComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner), dialog_(new TColorDialog(this))
{
    ControlStyle |= csOpaque;
    SetStyle(csOwnerDrawFixed);
    SetColor(clWindow);
    RecreateWnd();
}

TFlatColorComboBox::~TFlatColorComboBox() = default;

void TFlatColorComboBox::CreateWnd()
{
    TCustomComboBox::CreateWnd();
    FillColors();
}

void TFlatColorComboBox::CreateParams(TCreateParams& params)
{
    TCustomComboBox::CreateParams(params);
    params.Style &= ~DWORD(WS_BORDER);
    params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
}

void TFlatColorComboBox::FillColors()
{
    filling_ = true;
    Items().Clear();
    for (const auto& s : kStandard) Items().AddObject(s.name, AsObject(s.colour));
    Items().AddObject("Custom", AsObject(0));
    filling_ = false;
    SetItemIndex(0);
    value_ = ItemColor(0);
    Change();
}

TColor TFlatColorComboBox::ItemColor(int index) const
{
    auto& items = const_cast<TFlatColorComboBox*>(this)->Items();
    if (index < 0 || index >= items.Count()) return clNone;
    return TColor(reinterpret_cast<std::intptr_t>(items.GetObject(index)));
}

void TFlatColorComboBox::SetValue(TColor value)
{
    if (ItemIndex() >= 0 && value == value_) return;
    for (int i = 0; i < Items().Count(); ++i)
        if (ItemColor(i) == value) {
            if (i != ItemIndex()) SetItemIndex(i);
            value_ = value;
            Change();
            return;
        }
}

bool TFlatColorComboBox::AddColor(const std::string& name, TColor colour)
{
    for (int i = 0; i < Items().Count(); ++i)
        if (base::SameText(Items().Get(i), name)) return false;
    Items().InsertObject(std::max(0, Items().Count() - 1), name, AsObject(colour));
    return true;
}

bool TFlatColorComboBox::DeleteColorByName(const std::string& name)
{
    for (int i = 0; i < Items().Count(); ++i)
        if (base::SameText(Items().Get(i), name)) {
            Items().Delete(i);
            return true;
        }
    return false;
}

bool TFlatColorComboBox::DeleteColorByColor(TColor colour)
{
    for (int i = 0; i < Items().Count(); ++i)
        if (ItemColor(i) == colour) {
            Items().Delete(i);
            return true;
        }
    return false;
}

void TFlatColorComboBox::Click()
{
    const int i = ItemIndex();
    if (i >= 0 && Items().Get(i) == "Custom") {
        dialog_->Color = ItemColor(i);
        if (!dialog_->Execute()) return;
        Items().PutObject(i, AsObject(dialog_->Color));
    }
    if (i >= 0) SetValue(ItemColor(i));
    TCustomComboBox::Click();
}

void TFlatColorComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor((State & odSelected) ? colorHighlight_ : Color());
    c->FillRect(Rect);
    if (Index < 0 || Index >= Items().Count()) return;
    const TRect box = platform::Rect(Rect.Left + 2, Rect.Top + 2, showNames_ ? Rect.Left + 2 + boxWidth_ : Rect.Right - 5,
                                     Rect.Bottom - 2);
    const TColor brush = c->Brush().Color();
    c->Brush().SetColor(clBlack);
    c->FrameRect(box);
    c->Brush().SetColor(ItemColor(Index));
    c->FillRect(platform::Rect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1));
    c->Brush().SetColor(brush);
    if (showNames_) {
        TRect text = platform::Rect(box.Right - 1 + 5, Rect.Top, Rect.Right, Rect.Bottom);
        c->Brush().SetStyle(bsClear);
        DrawText(c->Handle(), Items().Get(Index), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        c->Brush().SetStyle(bsSolid);
    }
}

TRect TFlatColorComboBox::GetButtonRect() const
{
    TRect r = Rect(0, 0, Width(), Height());
    r.Left = ClientWidth() - buttonWidth_;
    OffsetRect(r, -1, 0);
    return r;
}

void TFlatColorComboBox::PaintButton(TCanvas* c)
{
    TRect r = GetButtonRect();
    InflateRect(r, 1, 1);
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(colorArrowBackground_);
    c->FillRect(r);
    c->Brush().SetColor(colorBorder_);
    c->FrameRect(r);
    const int x = r.Left + r.Width() / 2 - 6, y = r.Top + r.Height() / 2 - 1;
    DrawFlatArrow(c, x, y, DroppedDown(), Enabled(), colorArrow_);
}

void TFlatColorComboBox::PaintBorder(TCanvas* c)
{
    TRect r = Rect(0, 0, Width(), Height());
    r.Right -= buttonWidth_ + 1;
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(colorBorder_);
    c->FrameRect(r);
    c->Brush().SetColor(Color());
    for (int i = 0; i < 2; ++i) {
        InflateRect(r, -1, -1);
        c->FrameRect(r);
    }
}

void TFlatColorComboBox::RedrawBorders(TCanvas* c)
{
    PaintBorder(c);
    if (Style() != csSimple) PaintButton(c);
}

void TFlatColorComboBox::Paint()
{
    TCanvas* c = Canvas();
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(Color());
    c->FillRect(ClientRect());
    // The chosen row, lit while the control has the focus and the list is closed.
    const TRect r = Rect(3, 3, ClientWidth() - buttonWidth_ - 4, ClientHeight() - 3);
    const bool lit = ComboFocused() && !DroppedDown();
    c->Font().Assign(*Font());
    if (lit) c->Font().SetColor(clHighlightText);
    if (ItemIndex() >= 0) DrawItem(ItemIndex(), r, odComboBoxEdit | (lit ? odSelected | odFocused : 0u));
    RedrawBorders(c);
}

void TFlatColorComboBox::SetColors(int index, TColor value)
{
    TColor* fields[] = {&colorArrow_, &colorArrowBackground_, &colorBorder_, &colorHighlight_};
    if (index < 0 || index > 3) return;
    *fields[index] = value;
    Invalidate();
}

void TFlatColorComboBox::SetExColors(int index, TExColors amount)
{
    TExColors* fields[] = {&exColorBorder_, &exColorArrowBackground_, &exColorHighlight_};
    if (index < 0 || index > 2) return;
    *fields[index] = std::clamp(amount, 0, 100);
    CalcExColors();
    Invalidate();
}

void TFlatColorComboBox::SetUseExColors(bool value)
{
    if (value == useExColors_) return;
    useExColors_ = value;
    CalcExColors();
    Invalidate();
}

void TFlatColorComboBox::CalcExColors()
{
    if (!useExColors_) return;
    const TColor base = Parent() ? Parent()->Color() : Color();
    colorBorder_ = CalcAdvancedColor(base, colorBorder_, exColorBorder_, darken);
    colorArrowBackground_ = CalcAdvancedColor(base, colorArrowBackground_, exColorArrowBackground_, darken);
    colorHighlight_ = CalcAdvancedColor(base, colorHighlight_, exColorHighlight_, darken);
}

void TFlatColorComboBox::SetShowNames(bool value)
{
    if (value == showNames_) return;
    showNames_ = value;
    Invalidate();
}

void TFlatColorComboBox::SetBoxWidth(int value)
{
    boxWidth_ = value;
    Invalidate();
}

void TFlatColorComboBox::Dispatch(TMessage& m)
{
    if (m.Msg == CM_SYSCOLORCHANGE) {
        CalcExColors();
        Invalidate();
    }
    TCustomComboBox::Dispatch(m);
}

void TFlatColorComboBox::CMParentColorChanged(TMessage& m)
{
    TCustomComboBox::CMParentColorChanged(m);
    CalcExColors();
    Invalidate();
}

void TFlatColorComboBox::CMFontChanged(TMessage& m)
{
    TCustomComboBox::CMFontChanged(m);
    SetItemHeight(13);
    if (HandleAllocated()) {
        RecreateWnd();
        FillColors();
    }
}

}  // namespace flat

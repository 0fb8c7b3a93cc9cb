#include "widgets/grid/GrdEdit.h"

#include <algorithm>
#include <cctype>

#include "base/StrUtils.h"
#include "base/StringList.h"
#include "platform/controls/FrameControl.h"
#include "platform/controls/Menus.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "widgets/grid/GridDraw.h"

namespace grid {

using namespace platform;

// ---------------------------------------------------------------- the button

void TExSpeedButton::SetIsWinXP(bool Value)
{
    if (Value == isWinXP_) return;
    isWinXP_ = Value;
    Invalidate();
}

void TExSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    HDC dc = c->Handle();
    TRect r = ClientRect();
    const bool down = State() == bsDown || State() == bsExclusive;
    const HWND owner = Parent() && Parent()->HandleAllocated() ? Parent()->Handle() : nullptr;
    if (!(isWinXP_ && DrawThemedPart(dc, owner, L"button", 1, down ? 3 : MouseInControl() ? 2 : 1, r))) {
        if (Flat()) {
            DrawEdge(dc, r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
            InflateRect(r, -1, -1);
        } else {
            DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (down ? UINT(DFCS_PUSHED) : 0u));
        }
    }
    const TBitmap* glyph = Glyph();
    if (glyph && !glyph->Empty()) {
        const TSize s = ButtonGlyph().ImageSize();
        const int w = ClientWidth(), h = ClientHeight();
        const int x = (s.cx < w ? (w - s.cx) / 2 : 0) + (down ? 1 : 0);
        const int y = (s.cy < h ? (h - s.cy) / 2 : 0) + (down ? 1 : 0);
        ButtonGlyph().DrawGlyph(c, x, y, State());
    }
    if (!Caption().empty()) {
        const int at = down ? 3 : 2;
        c->Brush().SetStyle(bsClear);
        c->TextOut(at, at, Caption());
        c->Brush().SetStyle(bsSolid);
    }
}

// ---------------------------------------------------------------- the button's window

TButtonWindow::TButtonWindow(TComponent* AOwner) : TWinControl(AOwner)
{
    ControlStyle = (ControlStyle & ~(csAcceptsControls | csSetCaption)) | csFramed | csOpaque;
}

void TButtonWindow::SetFocusControl(TWinControl* Value)
{
    focusControl_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TButtonWindow::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TButtonWindow::TakeFocusAfterPress()
{
    if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
        focusControl_->SetFocus();
    else if (TabStop() && CanFocus() && !Focused())
        SetFocus();
}

TGrdEditButton::TGrdEditButton(TComponent* AOwner) : TButtonWindow(AOwner)
{
    button_ = new TExSpeedButton(this);
    button_->SetParent(this);
    button_->SetCaption("");
    button_->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int) { ButtonMouseDown(b); };
    button_->SetGlyph(nullptr);
    SetBounds(0, 0, 20, 25);
}

void TGrdEditButton::SetFlat(bool Value)
{
    flat_ = Value;
    button_->SetFlat(Value);
}

void TGrdEditButton::ButtonMouseDown(TMouseButton Button)
{
    if (Button != mbLeft) return;
    if (OnClick) OnClick(this);  // the edit reacts on the press, not on the release
    TakeFocusAfterPress();
}

void TGrdEditButton::SetBounds(int l, int t, int w, int h)
{
    w = std::max(w, 15);
    TButtonWindow::SetBounds(l, t, w, h);
    if (button_) button_->SetBounds(0, 0, Width(), Height());
}

void TGrdEditButton::WMSize(TWMSize& m)
{
    TButtonWindow::WMSize(m);
    if (Width() < 15) SetBounds(Left(), Top(), Width(), Height());
    else if (button_) button_->SetBounds(0, 0, Width(), Height());
    m.Result = 0;
}

void TGrdEditButton::Loaded()
{
    TButtonWindow::Loaded();
    SetBounds(Left(), Top(), Width(), Height());
}

// ---------------------------------------------------------------- the edit with a button

namespace {

int FontTextHeight(const TFont* font)
{
    TBitmap measure(1, 1);
    if (font) measure.Canvas()->Font().Assign(*font);
    return measure.Canvas()->TextHeight("Wg");
}

}  // namespace

int SmallerTextHeight(TFont* font, int& fontHeight)
{
    fontHeight = FontTextHeight(font);
    return std::min(FontTextHeight(nullptr), fontHeight);
}

bool SizeEdgeButton(TCustomEdit& edit, TWinControl* button, int buttonWidth, int minHeight)
{
    if (edit.Height() < minHeight) {
        edit.SetHeight(minHeight);
        return false;
    }
    if (!button) return true;
    if (edit.Ctl3D()) {
        const int e = edit.BorderStyle() == bsNone ? 4 : 0;
        button->SetBounds(edit.Width() + e - buttonWidth - 5, 0, buttonWidth, edit.Height() + e - 5);
    } else {
        button->SetBounds(edit.Width() - buttonWidth, 1, buttonWidth, edit.Height() - 3);
    }
    return true;
}

TGrdEditBtn::TGrdEditBtn(TComponent* AOwner) : TCustomEdit(AOwner)
{
    button_ = new TGrdEditButton(this);
    button_->SetBounds(0, 0, 18, 18);
    button_->SetParent(this);
    button_->SetFocusControl(this);
    button_->OnClick = [this](TObject*) { BtnClick(); };
    TCustomEdit::SetText("0");
    ControlStyle &= ~csSetCaption;
}

TGrdEditBtn::~TGrdEditBtn() = default;  // the component tree frees the button

void TGrdEditBtn::CreateParams(TCreateParams& params)
{
    TCustomEdit::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    if (rightAlign_) params.Style |= ES_RIGHT;
}

void TGrdEditBtn::CreateWnd()
{
    TCustomEdit::CreateWnd();
    SetEditRect();
}

void TGrdEditBtn::SetRightAlign(bool Value)
{
    if (Value == rightAlign_) return;
    rightAlign_ = Value;
    RecreateWnd();
}

void TGrdEditBtn::SetButtonWidth(int Value)
{
    buttonWidth_ = Value;
    button_->SetWidth(Value);
    if (SizeEdgeButton(*this, button_, buttonWidth_, MinHeight())) SetEditRect();
}

void TGrdEditBtn::SetIsWinXP(bool Value)
{
    isWinXP_ = Value;
    button_->Button()->SetIsWinXP(Value);
}

void TGrdEditBtn::BtnClick()
{
    if (OnClickBtn) OnClickBtn(this);
}

void TGrdEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == VK_F4) BtnClick();
}

void TGrdEditBtn::WMChar(TWMChar& m)
{
    if (EditorEnabled) TCustomEdit::WMChar(m);
}

void TGrdEditBtn::WMPaste(TMessage& m)
{
    if (EditorEnabled && !ReadOnly()) TCustomEdit::WMPaste(m);
}

void TGrdEditBtn::WMCut(TMessage& m)
{
    if (EditorEnabled && !ReadOnly()) TCustomEdit::WMCut(m);
}

int TGrdEditBtn::MinHeight()
{
    int fontHeight = 0;
    const int smaller = SmallerTextHeight(Font(), fontHeight);
    return fontHeight + smaller / 4;
}

void TGrdEditBtn::WMSize(TWMSize& m)
{
    TCustomEdit::WMSize(m);
    if (SizeEdgeButton(*this, button_, buttonWidth_, MinHeight())) SetEditRect();
}

void TGrdEditBtn::SetEditRect()
{
    if (!HandleAllocated()) return;
    const int inset = BorderStyle() == bsSingle ? 1 : 2;
    TRect r = Rect(inset, inset, ClientWidth() - buttonWidth_ - unitWidth_ - 3, ClientHeight() + 1);
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

// ---------------------------------------------------------------- the value-with-unit edit

TGrdUnitEditBtn::TGrdUnitEditBtn(TComponent* AOwner)
    : TGrdEditBtn(AOwner), units_(std::make_unique<base::TStringList>())
{
    unitWidth_ = 20;
    SetRightAlign(true);
}

TGrdUnitEditBtn::~TGrdUnitEditBtn() = default;

void TGrdUnitEditBtn::SetUnitID(const std::string& Value)
{
    unitID_ = Value;
    Invalidate();
}

void TGrdUnitEditBtn::SetUnits(const base::TStrings* Value)
{
    if (Value) units_->Assign(*Value);
}

void TGrdUnitEditBtn::SetUnitSpace(int Value)
{
    unitWidth_ = Value;
    SetEditRect();
    Invalidate();
}

void TGrdUnitEditBtn::SplitValueUnit(const std::string& cell, std::string& value, std::string& unit)
{
    value.clear();
    unit.clear();
    const auto digit = [&](std::size_t i) { return i < cell.size() && std::isdigit((unsigned char)cell[i]); };
    bool unitAfterNumber = false;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        const char c = cell[i];
        if (unitAfterNumber) {  // the unit after the number keeps its digits ("m2")
            unit += c;
            continue;
        }
        if (std::isdigit((unsigned char)c) || c == ',' || c == '-' || c == '.') {
            value += c;
            continue;
        }
        // An exponent right after the mantissa's digits belongs to the number: "1e3", "2.5E-4".
        if ((c == 'e' || c == 'E') && !value.empty() && (digit(i - 1) || cell[i - 1] == '.')) {
            std::size_t j = i + 1;
            if (j < cell.size() && (cell[j] == '-' || cell[j] == '+')) ++j;
            if (digit(j)) {
                value.append(cell, i, j - i);
                i = j - 1;
                continue;
            }
        }
        unit += c;
        unitAfterNumber = !value.empty();
    }
}

void TGrdUnitEditBtn::SetCellText(const std::string& cell)
{
    std::string value, unit;
    SplitValueUnit(cell, value, unit);
    SetText(value);
    SetUnitID(unit);
}

void TGrdUnitEditBtn::BtnClick()
{
    // Item i + 1 for entry i; the chosen one comes back as that command.
    if (!menu_) menu_ = new TPopupMenu(this);
    CloseMenus();
    menu_->Items()->Clear();
    for (int i = 0; i < units_->Count(); ++i) {
        auto* item = new TMenuItem(menu_);
        item->SetCaption(base::StringReplaceAll(units_->Get(i), "&", "&&"));  // no accelerators in unit names
        item->OnClick = [this, i](TObject*) { Perform(WM_COMMAND, WPARAM(i + 1)); };
        menu_->Items()->Add(item);
    }
    const TPoint at = ClientToScreen(Point(ClientWidth() - 15, ClientHeight()));  // under the button
    menu_->PopupComponent = this;
    menu_->Popup(at.X, at.Y);
}

void TGrdUnitEditBtn::Dispatch(TMessage& m)
{
    constexpr Word kEditChange = 0x300;
    if (m.Msg == WM_COMMAND && m.WParamHi() != kEditChange) {
        const int n = m.WParamLo();
        if (n >= 1 && n <= units_->Count()) SetUnitID(units_->Get(n - 1));
        return;
    }
    TGrdEditBtn::Dispatch(m);
}

void TGrdUnitEditBtn::PaintWindow(HDC dc)
{
    TGrdEditBtn::PaintWindow(dc);
    auto* c = static_cast<TControlCanvas*>(Canvas());
    c->PaintOn(dc, [&] {
        const int left = ClientWidth() - (ButtonWidth() + unitWidth_ + 3);
        TRect r = Rect(left, 2, left + unitWidth_, ClientHeight());
        c->Font().Assign(*Font());
        c->Brush().SetStyle(bsClear);
        DrawText(c->Handle(), unitID_, -1, &r, DT_EDITCONTROL | DT_NOPREFIX);
        c->Brush().SetStyle(bsSolid);
    });
}

}  // namespace grid

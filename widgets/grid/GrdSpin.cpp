#include "widgets/grid/GrdSpin.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <sstream>
#include <vector>

#include "base/Locale.h"
#include "base/ScopeGuard.h"
#include "base/StrUtils.h"
#include "platform/Streaming.h"
#include "platform/controls/FrameControl.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Beep.h"
#include "platform/system/KeyState.h"
#include "platform/system/Resources.h"
#include "platform/system/Thread.h"
#include "widgets/grid/GrdEdit.h"
#include "widgets/grid/GridDraw.h"

namespace grid {

using namespace platform;

// ---------------------------------------------------------------- the repeating button

TExTimerSpeedButton::TExTimerSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}
TExTimerSpeedButton::~TExTimerSpeedButton() = default;  // the timer is an owned component

void TExTimerSpeedButton::Click()
{
    if (releasing_) return;  // a repeating button clicked on the press already
    TSpeedButton::Click();
}

void TExTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if ((TimeBtnState & tbAllowTimer) && Button == mbLeft && Enabled()) {
        if (!timer_) {
            timer_ = new TTimer(this);
            timer_->SetEnabled(false);
            timer_->OnTimer = [this](TObject*) { TimerExpired(); };
        }
        timer_->SetInterval(400);
        timer_->SetEnabled(true);
        Click();
    }
    if (Parent()) Parent()->Invalidate();
}

void TExTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    releasing_ = (TimeBtnState & tbAllowTimer) != 0;
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    releasing_ = false;
    if (timer_) timer_->SetEnabled(false);
    if (Parent()) Parent()->Invalidate();
}

void TExTimerSpeedButton::TimerExpired()
{
    timer_->SetInterval(100);
    if (State() != bsDown || !MouseCapture()) return;
    base::ScopeFail stop([this] { timer_->SetEnabled(false); });
    Click();
}

void TExTimerSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    HDC dc = c->Handle();
    TRect r = ClientRect();
    const bool down = State() == bsDown;
    if (IsWinXP) {
        const int part = Direction == bdUp ? 1 : Direction == bdDown ? 2 : Direction == bdRight ? 3 : 4;
        const HWND owner = Parent() && Parent()->HandleAllocated() ? Parent()->Handle() : nullptr;
        if (DrawThemedPart(dc, owner, L"spin", part, down ? 3 : MouseInControl() ? 2 : 1, r)) return;
    }
    if (Direction == bdLeft || Direction == bdRight) {
        const UINT state = (Direction == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT) | (down ? UINT(DFCS_PUSHED) : 0u) |
                           (Flat() ? UINT(DFCS_FLAT) : 0u);
        DrawFrameControl(dc, &r, DFC_SCROLL, state);
    } else {
        TSpeedButton::Paint();
    }
    if (TimeBtnState & tbFocusRect) {
        TRect f = ClientRect();
        InflateRect(f, -3, -3);
        if (!IsRectEmpty(f)) DrawFocusRect(c->Handle(), f);
    }
}

// ---------------------------------------------------------------- the pair

namespace {

// The default arrows: 9 x 6, a black triangle with a base of 7 and 4 rows high on a light
// background with a one-pixel margin.
std::string ArrowBmp(bool up)
{
    TBitmap b(9, 6);
    TCanvas& c = *b.Canvas();
    c.Brush().SetColor(clSilver);
    c.FillRect(Rect(0, 0, 9, 6));
    for (int row = 0; row < 4; ++row) {
        const int y = up ? 4 - row : 1 + row;  // the base first
        for (int x = 1 + row; x <= 7 - row; ++x) c.SetPixel(x, y, clBlack);
    }
    std::ostringstream out;
    b.SaveToStream(out);
    return out.str();
}

void LoadArrow(TSpeedButton& button, const char* name)
{
    static const bool registered = [] {
        RegisterResource(HInstance(), RT_BITMAP, "GrdSpinUp", ArrowBmp(true));
        RegisterResource(HInstance(), RT_BITMAP, "GrdSpinDown", ArrowBmp(false));
        return true;
    }();
    (void)registered;
    TBitmap glyph;
    std::istringstream in(LoadResourceData(HInstance(), RT_BITMAP, name));
    glyph.LoadFromStream(in);
    button.SetGlyph(&glyph);
    button.SetNumGlyphs(1);
    button.Invalidate();
}

}  // namespace

TGrdSpinButton::TGrdSpinButton(TComponent* AOwner) : TButtonWindow(AOwner)
{
    up_ = CreateButton();
    down_ = CreateButton();
    SetUpGlyph(nullptr);
    SetDownGlyph(nullptr);
    up_->Direction = bdUp;
    down_->Direction = bdDown;
    focused_ = up_;
    SetBounds(0, 0, 15, 25);
}

TExTimerSpeedButton* TGrdSpinButton::CreateButton()
{
    auto* b = new TExTimerSpeedButton(this);
    b->TimeBtnState = tbAllowTimer;
    b->SetParent(this);
    b->OnClick = [this](TObject* s) { ButtonClick(s); };
    b->OnMouseDown = [this](TObject* s, TMouseButton mb, TShiftState, int, int) { ButtonMouseDown(s, mb); };
    return b;
}

void TGrdSpinButton::ButtonClick(TObject* Sender)
{
    if (Sender == up_) {
        if (OnUpClick) OnUpClick(this);
    } else if (Sender == down_) {
        if (OnDownClick) OnDownClick(this);
    }
}

void TGrdSpinButton::ButtonMouseDown(TObject* Sender, TMouseButton Button)
{
    if (Button != mbLeft) return;
    SetFocusBtn(static_cast<TExTimerSpeedButton*>(Sender));
    TakeFocusAfterPress();
}

void TGrdSpinButton::SetFocusBtn(TExTimerSpeedButton* Button)
{
    if (!TabStop() || !CanFocus() || Button == focused_) return;
    focused_->TimeBtnState &= ~unsigned(tbFocusRect);
    focused_->Invalidate();
    focused_ = Button;
    if (Focused()) focused_->TimeBtnState |= tbFocusRect;
    Invalidate();
}

void TGrdSpinButton::SetDirection(TSpinDirection Value)
{
    if (Value == direction_) return;
    direction_ = Value;
    const bool h = Value == spHorizontal;
    up_->Direction = h ? bdRight : bdUp;
    down_->Direction = h ? bdLeft : bdDown;
    RecreateWnd();
    SetWidth(h ? 20 : 15);
}

void TGrdSpinButton::SetUpGlyph(const TBitmap* Value)
{
    if (Value) up_->SetGlyph(Value);
    else LoadArrow(*up_, "GrdSpinUp");
}

void TGrdSpinButton::SetDownGlyph(const TBitmap* Value)
{
    if (Value) down_->SetGlyph(Value);
    else LoadArrow(*down_, "GrdSpinDown");
}

void TGrdSpinButton::SetIsWinXP(bool Value)
{
    isWinXP_ = Value;
    up_->IsWinXP = Value;
    down_->IsWinXP = Value;
    Invalidate();
}

void TGrdSpinButton::AdjustSize(int& w, int h)
{
    if (!up_ || !down_) return;
    if (direction_ == spVertical) {
        w = std::max(w, 15);
        const int upHeight = h / 2;
        up_->SetBounds(0, 0, w, upHeight);
        down_->SetBounds(0, upHeight - 1, w, h - upHeight + 1);  // the two share a pixel row
    } else {
        w = std::max(w, 20);
        down_->SetBounds(0, 0, w / 2, h);
        up_->SetBounds(w / 2 + 1, 0, w / 2, h);
    }
}

void TGrdSpinButton::SetBounds(int l, int t, int w, int h)
{
    AdjustSize(w, h);
    TButtonWindow::SetBounds(l, t, w, h);
}

void TGrdSpinButton::WMSize(TWMSize& m)
{
    TButtonWindow::WMSize(m);
    int w = Width();
    AdjustSize(w, Height());
    if (w != Width()) SetBounds(Left(), Top(), w, Height());
    m.Result = 0;
}

void TGrdSpinButton::Loaded()
{
    TButtonWindow::Loaded();
    SetBounds(Left(), Top(), Width(), Height());
}

void TGrdSpinButton::KeyDown(Word& Key, TShiftState Shift)
{
    TButtonWindow::KeyDown(Key, Shift);
    switch (Key) {
    case VK_SPACE: focused_->Click(); break;
    case VK_UP:
        SetFocusBtn(up_);
        up_->Click();
        break;
    case VK_DOWN:
        SetFocusBtn(down_);
        down_->Click();
        break;
    default: break;
    }
}

void TGrdSpinButton::WMGetDlgCode(TWMGetDlgCode& m) { m.Result = DLGC_WANTARROWS; }

void TGrdSpinButton::WMSetFocus(TWMSetFocus& m)
{
    TButtonWindow::WMSetFocus(m);
    focused_->TimeBtnState |= tbFocusRect;
    focused_->Invalidate();
}

void TGrdSpinButton::WMKillFocus(TWMKillFocus& m)
{
    TButtonWindow::WMKillFocus(m);
    focused_->TimeBtnState &= ~unsigned(tbFocusRect);
    focused_->Invalidate();
}

// ---------------------------------------------------------------- dates and times in the locale's form

bool TryStrToDateLocale(const std::string& s, base::TDateTime& out) { return base::TryStrToDate(s, out); }

bool TryStrToTimeLocale(const std::string& s, base::TDateTime& out) { return base::TryStrToTime(s, out); }

base::TDateTime IncMonth(base::TDateTime d, int months)
{
    int y = 0, m = 0, day = 0;
    base::DecodeDate(d, y, m, day);
    const int total = y * 12 + (m - 1) + months;
    y = total / 12;
    m = total % 12 + 1;
    day = std::min(day, base::DaysInAMonth(y, m));
    base::TDateTime out = 0;
    if (!base::TryEncodeDate(y, m, day, out)) return d;
    return out + (d - std::floor(d));
}

// ---------------------------------------------------------------- the spin edit

TGrdSpinEdit::TGrdSpinEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    button_ = new TGrdSpinButton(this);
    button_->SetBounds(0, 0, 15, 17);
    button_->SetParent(this);
    button_->SetFocusControl(this);
    button_->OnUpClick = [this](TObject*) { UpClick(); };
    button_->OnDownClick = [this](TObject*) { DownClick(); };
    TCustomMaskEdit::SetText("0");
    ControlStyle &= ~csSetCaption;
}

TGrdSpinEdit::~TGrdSpinEdit() = default;  // the component tree frees the pair

void TGrdSpinEdit::Loaded()
{
    TCustomMaskEdit::Loaded();
    if (spinType_ == sptDate) TCustomMaskEdit::SetText(base::DateToStr(date_));
    if (spinType_ == sptTime) TCustomMaskEdit::SetText(base::TimeToStr(time_));
    SetSpinType(spinType_);
}

void TGrdSpinEdit::GetPublished(TPropertyList& L)
{
    TCustomMaskEdit::GetPublished(L);
    L.Enumeration("Direction", {"spVertical", "spHorizontal"}, [this] { return int(direction_); },
                  [this](int v) { SetDirection(TSpinDirection(v)); })
        .SetDefault(spVertical);
    L.Enumeration("EditAlign", {"eaLeft", "eaRight", "eaCenter"}, [this] { return int(editAlign_); },
                  [this](int v) { SetEditAlign(TEditAlign(v)); })
        .SetDefault(eaLeft);
    L.Boolean("EditorEnabled", EditorEnabled).SetDefault(1);
    L.Boolean("ExcelStyleDecimalSeparator", ExcelStyleDecimalSeparator).SetDefault(0);
    L.Integer("Increment", Increment).SetDefault(1);
    L.Float("IncrementFloat", IncrementFloat);
    L.Boolean("IsWinXP", [this] { return isWinXP_; }, [this](bool v) { SetIsWinXP(v); }).SetDefault(0);
    L.Float("MaxDateValue", MaxDateValue, ftDouble);
    L.Float("MaxFloatValue", MaxFloatValue).SetFloatDefault(100);
    L.Integer("MaxValue", MaxValue).SetDefault(100);
    L.Float("MinDateValue", MinDateValue, ftDouble);
    L.Float("MinFloatValue", MinFloatValue);
    L.Integer("MinValue", MinValue).SetDefault(0);
    L.Integer("Precision", [this] { return precision_; }, [this](std::int64_t v) { precision_ = int(v); })
        .SetDefault(0);
    L.Boolean("ReturnIsTab", ReturnIsTab).SetDefault(0);
    L.Boolean("SpinFlat", [this] { return spinFlat_; }, [this](bool v) { SetSpinFlat(v); }).SetDefault(0);
    L.Boolean("SpinTransparent", [this] { return spinTransparent_; }, [this](bool v) { SetSpinTransparent(v); })
        .SetDefault(0);
    // Loaded writes the text in the kind's form once every property is in.
    L.Enumeration("SpinType", {"sptNormal", "sptFloat", "sptDate", "sptTime"}, [this] { return int(spinType_); },
                  [this](int v) { spinType_ = TGrdSpinType(v); })
        .SetDefault(sptNormal);
    L.Integer("Value", [this] { return Value(); }, [this](std::int64_t v) { SetValue(int(v)); })
        .SetStored([this] { return spinType_ == sptNormal; });
    L.Float("FloatValue", [this] { return FloatValue(); }, [this](double v) { SetFloatValue(v); })
        .SetStored([this] { return spinType_ == sptFloat; });
    L.Float("DateValue", [this] { return spinType_ == sptDate ? DateValue() : date_; },
            [this](double v) { SetDateValue(v); }, ftDouble)
        .SetStored([this] { return spinType_ == sptDate; });
    L.Float("TimeValue", [this] { return spinType_ == sptTime ? TimeValue() : time_; },
            [this](double v) { SetTimeValue(v); }, ftDouble)
        .SetStored([this] { return spinType_ == sptTime; });
}

void TGrdSpinEdit::GetChildren(const std::function<void(TComponent*)>&, TComponent*) {}

void TExMaskSpinEdit::GetPublished(TPropertyList& L)
{
    // The mask first, so that the value read after it is put into the mask's places.
    L.String("EditMask", [this] { return EditMask(); }, [this](const std::string& m) { SetEditMask(m); });
    TGrdSpinEdit::GetPublished(L);
}

int TGrdSpinEdit::CheckValue(int v) const
{
    if (MaxValue == MinValue) return v;
    if (v < MinValue) return MinValue;
    if (v > MaxValue) return MaxValue;
    return v;
}

double TGrdSpinEdit::CheckFloatValue(double x) const
{
    if (MaxFloatValue == MinFloatValue) return x;
    if (x <= MinFloatValue) return MinFloatValue;
    if (x >= MaxFloatValue) return MaxFloatValue;
    return x;
}

base::TDateTime TGrdSpinEdit::CheckDateValue(base::TDateTime x) const
{
    if (MaxDateValue == MinDateValue) return x;
    if (x < MinDateValue) return MinDateValue;
    if (x > MaxDateValue) return MaxDateValue;
    return x;
}

int TGrdSpinEdit::Value() const
{
    long long v = 0;
    if (!base::TryStrToInt(base::Trim(Text()), v) || v < INT_MIN || v > INT_MAX) return MinValue;
    return int(v);
}

void TGrdSpinEdit::SetValue(int v)
{
    TCustomMaskEdit::SetText(base::IntToStr(CheckValue(v)));
    if (!EditorEnabled) SelectAll();
}

double TGrdSpinEdit::FloatValue() const
{
    double v = 0;
    return base::TryStrToFloat(base::Trim(Text()), v) ? v : MinFloatValue;
}

void TGrdSpinEdit::SetFloatValue(double v)
{
    v = CheckFloatValue(v);
    TCustomMaskEdit::SetText(precision_ == 0 ? base::FloatToStr(v) : base::FloatToStrFixed(v, precision_));
}

base::TDateTime TGrdSpinEdit::DateValue() const
{
    const std::string t = base::Trim(Text());
    if (t.empty() || t == "0") return std::floor(base::Now());
    base::TDateTime d = 0;
    return TryStrToDateLocale(t, d) ? d : MinDateValue;
}

void TGrdSpinEdit::SetTextKeepCaret(const std::string& s)
{
    const int caret = SelStart();
    TCustomMaskEdit::SetText(s);
    SetSelStart(std::min(caret, int(s.size())));
}

void TGrdSpinEdit::SetDateValue(base::TDateTime v)
{
    date_ = v;
    if (ComponentState() & csLoading) return;  // Loaded writes the text
    date_ = CheckDateValue(v);
    SetTextKeepCaret(base::DateToStr(date_));
}

base::TDateTime TGrdSpinEdit::TimeValue() const
{
    base::TDateTime t = 0;
    return TryStrToTimeLocale(base::Trim(Text()), t) ? t : 0;
}

void TGrdSpinEdit::SetTimeValue(base::TDateTime v)
{
    time_ = v;
    if (ComponentState() & csLoading) return;
    SetTextKeepCaret(base::TimeToStr(v));
}

void TGrdSpinEdit::SetSpinType(TGrdSpinType Value)
{
    spinType_ = Value;
    switch (Value) {
    case sptNormal: SetValue(this->Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
    }
}

void TGrdSpinEdit::SetPrecision(int Value)
{
    precision_ = Value;
    if (spinType_ == sptFloat) SetFloatValue(FloatValue());
}

void TGrdSpinEdit::Relayout()
{
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TGrdSpinEdit::SetDirection(TSpinDirection Value)
{
    if (Value == direction_) return;
    direction_ = Value;
    button_->SetDirection(Value);
    Relayout();
}

void TGrdSpinEdit::SetSpinFlat(bool Value)
{
    spinFlat_ = Value;
    button_->UpButton()->SetFlat(Value);
    button_->DownButton()->SetFlat(Value);
}

void TGrdSpinEdit::SetSpinTransparent(bool Value)
{
    spinTransparent_ = Value;
    button_->UpButton()->SetTransparent(Value);
    button_->DownButton()->SetTransparent(Value);
    Relayout();
}

void TGrdSpinEdit::SetIsWinXP(bool Value)
{
    isWinXP_ = Value;
    button_->SetIsWinXP(Value);
}

void TGrdSpinEdit::SetEditAlign(TEditAlign Value)
{
    editAlign_ = Value;
    RecreateWnd();
}

void TGrdSpinEdit::CreateParams(TCreateParams& params)
{
    TCustomMaskEdit::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    if (editAlign_ == eaRight) params.Style |= ES_RIGHT;
    else if (editAlign_ == eaCenter) params.Style |= ES_CENTER;
}

void TGrdSpinEdit::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

void TGrdSpinEdit::SetEditRect()
{
    if (!HandleAllocated()) return;
    const bool border = BorderStyle() == bsSingle;
    const int inset = border ? 0 : 1;
    TRect r = Rect(inset, inset, ClientWidth() - button_->Width() - inset - 2, ClientHeight() + 1);
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

int TGrdSpinEdit::MinHeight()
{
    int fontHeight = 0;
    const int smaller = SmallerTextHeight(Font(), fontHeight);
    const int border = BorderStyle() == bsSingle ? 4 * GetSystemMetrics(SM_CYBORDER) : 0;
    return border + smaller / 4 + fontHeight + 2;
}

void TGrdSpinEdit::WMSize(TWMSize& m)
{
    TCustomMaskEdit::WMSize(m);
    if (SizeEdgeButton(*this, button_, button_ ? button_->Width() : 0, MinHeight())) SetEditRect();
}

// ---------------------------------------------------------------- stepping

int TGrdSpinEdit::FieldAtCaret(char separator) const
{
    // p1, p2: 1-based places of the first two separators (0: none); the caret counts from 0.
    // The window text, so that the places are the caret's also under a mask.
    const std::string& t = EditText();
    const std::size_t first = t.find(separator);
    const int p1 = first == std::string::npos ? 0 : int(first) + 1;
    const std::size_t second = first == std::string::npos ? first : t.find(separator, first + 1);
    const int p2 = second == std::string::npos ? 0 : int(second) + 1;
    const int caret = SelStart();
    return caret < p1 ? 0 : caret < p2 ? 1 : 2;
}

void TGrdSpinEdit::UpClick() { Step(+1); }
void TGrdSpinEdit::DownClick() { Step(-1); }

void TGrdSpinEdit::Step(int sign)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    switch (spinType_) {
    case sptNormal: {
        const long long v = (long long)Value() + (long long)sign * Increment;
        SetValue(int(std::clamp<long long>(v, INT_MIN, INT_MAX)));
        break;
    }
    case sptFloat: SetFloatValue(FloatValue() + sign * IncrementFloat); break;
    case sptDate: {
        const std::string fmt = base::UpperCase(base::ShortDateFormat());
        const auto m = fmt.find('M'), d = fmt.find('D');
        monthFirst_ = m != std::string::npos && (d == std::string::npos || m < d);
        base::TDateTime v = DateValue();
        const int field = FieldAtCaret(base::DateSeparator());
        if (field == 0) v = monthFirst_ ? IncMonth(v, sign) : v + sign;
        else if (field == 1) v = monthFirst_ ? v + sign : IncMonth(v, sign);
        else v = IncMonth(v, 12 * sign);  // 29 February goes to the 28th in a common year
        SetDateValue(v);
        break;
    }
    case sptTime: {
        const int field = FieldAtCaret(base::TimeSeparator());
        const double step = field == 0 ? 1.0 / 24 : field == 1 ? 1.0 / (24 * 60) : 1.0 / (24 * 60 * 60);
        base::TDateTime v = TimeValue();
        if (sign > 0) {
            v += step;
        } else {
            v = v + 1 - step;
            if (v > 1) v -= 1;
        }
        SetTimeValue(v);
        break;
    }
    }
}

// ---------------------------------------------------------------- keys

void TGrdSpinEdit::WMKeyDown(TWMKeyDown& m)
{
    switch (m.CharCode()) {
    case VK_PRIOR:
    case VK_UP: UpClick(); m.Result = 0; return;
    case VK_NEXT:
    case VK_DOWN: DownClick(); m.Result = 0; return;
    default: TCustomMaskEdit::WMKeyDown(m);
    }
}

void TGrdSpinEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && ReturnIsTab) {
        Key = VK_TAB;
        if (HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_DELETE && !EditorEnabled) Key = 0;
    TCustomMaskEdit::KeyDown(Key, Shift);
}

void TGrdSpinEdit::WMChar(TWMChar& m)
{
    constexpr LPARAM kKeypad = LPARAM(0x40) << 16;  // the keypad bit of the scan code
    if (ExcelStyleDecimalSeparator && m.CharCode() == '.' && (m.LParam & kKeypad))
        m.SetCharCode(Word((unsigned char)base::DecimalSeparator()));
    TCustomMaskEdit::WMChar(m);
}

void TGrdSpinEdit::KeyPress(char& Key)
{
    if (Key && !IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key) TCustomMaskEdit::KeyPress(Key);
}

bool TGrdSpinEdit::IsValidChar(char Key) const
{
    if (Key == 8) return true;
    const char dec = base::DecimalSeparator(), thou = base::ThousandSeparator();
    const char tsep = base::TimeSeparator(), dsep = base::DateSeparator();
    const unsigned char code = (unsigned char)Key;
    // The window text (the caret's places), without the mask's empty places at its end.
    std::string t = EditText();
    if (IsMasked())
        while (!t.empty() && (t.back() == Mask().Blank() || t.back() == ' ')) t.pop_back();
    const int selStart = SelStart(), selLength = SelLength();
    const auto covered = [&](char c) {  // every c of the text lies in the selection
        for (int i = 0; i < int(t.size()); ++i)
            if (t[std::size_t(i)] == c && (i < selStart || i >= selStart + selLength)) return false;
        return true;
    };
    const bool sign = Key == '-' || Key == '+';
    bool valid = Key == dec || Key == thou || Key == tsep || Key == dsep || Key == '-' ||
                 std::isdigit(code) || (code < 32 && Key != 13);
    if (Key == tsep && spinType_ != sptTime) {
        if (!(Key == dec || Key == thou || sign) || spinType_ == sptDate) valid = false;
    }
    if (Key == dsep && spinType_ != sptDate) {
        if (!(Key == dec || Key == thou || sign) || spinType_ == sptTime) valid = false;
    }
    if (Key == '-' && (selStart != 0 || !covered('-'))) valid = false;
    if (spinType_ == sptNormal && !(Key == '-' || std::isdigit(code))) valid = false;
    if (spinType_ == sptFloat && Key != 13 && Key != 27) {
        if (Key == thou) valid = false;
        if (Key == dec && !covered(dec)) valid = false;
        const int p = base::Pos(std::string(1, dec), t);
        if (precision_ > 0 && p > 0 && selStart >= p && selLength == 0 && int(t.size()) >= p + precision_)
            valid = false;
    }
    if (spinType_ == sptTime && Key == tsep && std::count(t.begin(), t.end(), tsep) >= 2) valid = false;
    if (!EditorEnabled && code >= 32) valid = false;
    return valid;
}

void TGrdSpinEdit::WMPaste(TMessage& m)
{
    if (EditorEnabled && !ReadOnly()) TCustomMaskEdit::WMPaste(m);
}

void TGrdSpinEdit::WMCut(TMessage& m)
{
    if (EditorEnabled && !ReadOnly()) TCustomMaskEdit::WMCut(m);
}

void TGrdSpinEdit::CMEnter(TMessage& m)
{
    if (AutoSelect && (GetKeyState(VK_LBUTTON) >= 0 || !EditorEnabled)) SelectAll();
    TCustomMaskEdit::CMEnter(m);
}

void TGrdSpinEdit::CMExit(TMessage& m)
{
    TCustomMaskEdit::CMExit(m);
    switch (spinType_) {
    case sptNormal:
        if (CheckValue(Value()) != Value()) SetValue(Value());
        break;
    case sptFloat:
        if (CheckFloatValue(FloatValue()) != FloatValue()) SetFloatValue(FloatValue());
        break;
    case sptDate:
        if (CheckDateValue(DateValue()) != DateValue()) SetDateValue(DateValue());
        break;
    case sptTime:
        if (CheckDateValue(TimeValue()) != TimeValue()) SetTimeValue(TimeValue());
        break;
    }
}

}  // namespace grid

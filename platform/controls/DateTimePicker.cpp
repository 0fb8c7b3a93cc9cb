#include "platform/controls/DateTimePicker.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/Private.h"
#include "platform/controls/ControlsPrivate.h"
#include "platform/controls/FrameControl.h"
#include "platform/graphics/GDI.h"

namespace platform {

namespace {
constexpr int kDayW = 24, kDayH = 18, kHeadH = 22;

int WeekdayMonday0(base::TDateTime d)  // 0 = Monday
{
    // Day 0 (1899-12-30) was a Saturday.
    const long long n = (long long)std::floor(d);
    return int(((n + 5) % 7 + 7) % 7);
}
base::TDateTime AddMonths(base::TDateTime t, int months)
{
    int y, m, d;
    base::DecodeDate(t, y, m, d);
    int k = y * 12 + (m - 1) + months;
    y = k / 12;
    m = k % 12 + 1;
    return base::EncodeDate(y, m, std::min(d, base::DaysInAMonth(y, m)));
}
}  // namespace

// The month calendar: a row of weekday letters under the month's name, then six weeks
// from the Monday on or before the first; a click on a day picks it.
class TDateTimePicker::TCalendarWindow : public TCustomControl {
public:
    explicit TCalendarWindow(TDateTimePicker* picker) : TCustomControl(picker), picker_(picker)
    {
        SetColor(clWindow);
        TControl::SetVisible(false);
    }
    void CreateParams(TCreateParams& params) override
    {
        TCustomControl::CreateParams(params);
        params.Style = (params.Style & ~DWORD(WS_CHILD)) | WS_POPUP | WS_BORDER;
        params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    }
    bool CanFocus() const override { return false; }  // the picker keeps the focus
    // The first day shown: the Monday on or before the first of the month.
    base::TDateTime FirstShown() const
    {
        int y, m, d;
        base::DecodeDate(picker_->DateTime(), y, m, d);
        const base::TDateTime first = base::EncodeDate(y, m, 1);
        return first - WeekdayMonday0(first);
    }
    TRect DayRect(base::TDateTime day) const
    {
        const int i = int(std::floor(day) - std::floor(FirstShown()));
        if (i < 0 || i >= 42) return TRect{};
        return Rect((i % 7) * kDayW, kHeadH + kDayH + (i / 7) * kDayH, (i % 7 + 1) * kDayW,
                    kHeadH + kDayH + (i / 7 + 1) * kDayH);
    }
    void Paint() override
    {
        TCanvas* c = Canvas();
        c->Brush().SetColor(clWindow);
        c->FillRect(ClientRect());
        c->Font().Assign(*picker_->Font());
        int y, m, d;
        base::DecodeDate(picker_->DateTime(), y, m, d);
        TRect head = Rect(0, 0, ClientWidth(), kHeadH);
        c->Brush().SetColor(clActiveCaption);
        c->FillRect(head);
        c->Font().SetColor(clCaptionText);
        c->Brush().SetStyle(bsClear);
        DrawText(c->Handle(), base::FormatDateTime("mmmm yyyy", picker_->DateTime()), -1, &head,
                 DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        c->Font().SetColor(clWindowText);
        static const char* names = "MTWTFSS";
        for (int i = 0; i < 7; ++i) {
            TRect r = Rect(i * kDayW, kHeadH, (i + 1) * kDayW, kHeadH + kDayH);
            DrawText(c->Handle(), std::string(1, names[i]), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        const base::TDateTime first = FirstShown();
        for (int i = 0; i < 42; ++i) {
            const base::TDateTime day = first + i;
            int dy, dm, dd;
            base::DecodeDate(day, dy, dm, dd);
            TRect r = DayRect(day);
            const bool chosen = std::floor(day) == std::floor(picker_->DateTime());
            if (chosen) {
                c->Brush().SetStyle(bsSolid);
                c->Brush().SetColor(clHighlight);
                c->FillRect(r);
                c->Brush().SetStyle(bsClear);
            }
            c->Font().SetColor(chosen ? clHighlightText : dm == m ? clWindowText : clGrayText);
            DrawText(c->Handle(), std::to_string(dd), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        c->Brush().SetStyle(bsSolid);
    }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        if (!PtInRect(ClientRect(), Point(X, Y))) {
            picker_->SetDroppedDown(false);
            return;
        }
        if (Button != mbLeft || Y < kHeadH + kDayH) return;
        const int i = (Y - kHeadH - kDayH) / kDayH * 7 + X / kDayW;
        if (i >= 0 && i < 42) picker_->Choose(FirstShown() + i, true);
    }

protected:
    unsigned TopLevelFlags() const override { return unsigned(Qt::ToolTip | Qt::FramelessWindowHint); }
    bool IsTopLevel() const override { return !Parent(); }

private:
    TDateTimePicker* picker_;
};

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(Left(), Top(), 120, 24);
    value_ = std::floor(base::Now());
}

TDateTimePicker::~TDateTimePicker() = default;

void TDateTimePicker::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::SetDateTime(base::TDateTime v)
{
    if (v == value_) return;
    value_ = v;
    Invalidate();
    if (calendar_ && dropped_) calendar_->Invalidate();
    Change();
}

base::TDateTime TDateTimePicker::Date() const { return std::floor(value_); }
base::TDateTime TDateTimePicker::Time() const { return value_ - std::floor(value_); }
void TDateTimePicker::SetDate(base::TDateTime v) { SetDateTime(std::floor(v) + Time()); }
void TDateTimePicker::SetTime(base::TDateTime v) { SetDateTime(Date() + (v - std::floor(v))); }

void TDateTimePicker::SetKind(TDateTimeKind k)
{
    kind_ = k;
    field_ = 0;
    typed_.clear();
    if (k == dtkTime) SetDroppedDown(false);
    Invalidate();
}

void TDateTimePicker::SetDateMode(TDTDateMode m)
{
    dateMode_ = m;
    if (m == dmUpDown) SetDroppedDown(false);
    Invalidate();
}

void TDateTimePicker::SetChecked(bool v)
{
    if (v == checked_) return;
    checked_ = v;
    Invalidate();
    Change();
}

void TDateTimePicker::SetShowCheckbox(bool v)
{
    showCheckbox_ = v;
    Invalidate();
}

void TDateTimePicker::SetField(int f)
{
    field_ = std::clamp(f, 0, 2);
    typed_.clear();
    Invalidate();
}

std::string TDateTimePicker::DisplayText() const
{
    return kind_ == dtkDate ? base::DateToStr(value_) : base::TimeToStr(value_);
}

char TDateTimePicker::FieldKind(int f) const
{
    if (kind_ == dtkTime) return "hns"[std::clamp(f, 0, 2)];
    std::string order;
    for (char ch : base::ShortDateFormat()) {
        const char k = char(std::tolower((unsigned char)ch));
        if ((k == 'd' || k == 'm' || k == 'y') && order.find(k) == std::string::npos) order += k;
    }
    if (order.size() != 3) order = "dmy";
    return order[std::size_t(std::clamp(f, 0, 2))];
}

void TDateTimePicker::SetFieldValue(int f, int v)
{
    int y, m, d, h, n, s, ms;
    base::DecodeDate(value_, y, m, d);
    base::DecodeTime(value_, h, n, s, ms);
    switch (FieldKind(f)) {
    case 'd': d = v; break;
    case 'm': m = v; break;
    case 'y': y = v; break;
    case 'h': h = v; break;
    case 'n': n = v; break;
    default: s = v; break;
    }
    m = std::clamp(m, 1, 12);
    y = std::clamp(y, 1, 9999);
    d = std::clamp(d, 1, base::DaysInAMonth(y, m));
    SetDateTime(base::EncodeDate(y, m, d) + base::EncodeTime(std::clamp(h, 0, 23), std::clamp(n, 0, 59),
                                                             std::clamp(s, 0, 59), 0));
}

void TDateTimePicker::Step(int f, int delta)
{
    int y, m, d, h, n, s, ms;
    base::DecodeDate(value_, y, m, d);
    base::DecodeTime(value_, h, n, s, ms);
    auto wrap = [](int v, int lo, int hi) { return lo + ((v - lo) % (hi - lo + 1) + (hi - lo + 1)) % (hi - lo + 1); };
    switch (FieldKind(f)) {
    case 'd': SetFieldValue(f, wrap(d + delta, 1, base::DaysInAMonth(y, m))); break;
    case 'm': SetFieldValue(f, wrap(m + delta, 1, 12)); break;
    case 'y': SetFieldValue(f, y + delta); break;
    case 'h': SetFieldValue(f, wrap(h + delta, 0, 23)); break;
    case 'n': SetFieldValue(f, wrap(n + delta, 0, 59)); break;
    default: SetFieldValue(f, wrap(s + delta, 0, 59)); break;
    }
}

TRect TDateTimePicker::ButtonRect() const
{
    const TRect c = ClientRect();
    if (kind_ == dtkDate && dateMode_ == dmComboBox)
        return Rect(std::max(0, c.Right - GetSystemMetrics(SM_CXVSCROLL)), 0, c.Right, c.Bottom);
    return Rect(std::max(0, c.Right - 14), 0, c.Right, c.Bottom);  // the up-down pair
}

void TDateTimePicker::Change()
{
    if (OnChange) OnChange(this);
}
void TDateTimePicker::DropDown()
{
    if (OnDropDown) OnDropDown(this);
}
void TDateTimePicker::CloseUp()
{
    if (OnCloseUp) OnCloseUp(this);
}

TCustomControl* TDateTimePicker::Calendar() const { return calendar_; }

TRect TDateTimePicker::CalendarDayRect(base::TDateTime d) const
{
    return calendar_ ? calendar_->DayRect(d) : TRect{};
}

void TDateTimePicker::SetDroppedDown(bool v)
{
    if (v == dropped_) return;
    if (!v) {
        dropped_ = false;
        if (calendar_) {
            if (GetCaptureControl() == calendar_) SetCaptureControl(nullptr);
            calendar_->Hide();
        }
        Invalidate();
        CloseUp();
        return;
    }
    if (kind_ != dtkDate || dateMode_ != dmComboBox || !Enabled()) return;
    if (!calendar_) calendar_ = new TCalendarWindow(this);
    beforeDrop_ = value_;
    dropped_ = true;
    DropDown();
    const int f = FrameWidth();
    const TPoint below = ClientToScreen(Point(-f, Height() - f));
    calendar_->SetBounds(below.X, below.Y, 7 * kDayW + 2, kHeadH + 7 * kDayH + 2);
    ShowWithoutActivating(calendar_);
    SetCaptureControl(calendar_);
    Invalidate();
}

void TDateTimePicker::Choose(base::TDateTime d, bool close)
{
    SetDate(d);
    if (close) SetDroppedDown(false);
}

void TDateTimePicker::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (!Key) return;
    if (kind_ == dtkDate && dateMode_ == dmComboBox &&
        (Key == VK_F4 || ((Shift & ssAlt) && (Key == VK_DOWN || Key == VK_UP)))) {
        SetDroppedDown(!dropped_);
        Key = 0;
        return;
    }
    if (dropped_) {
        // The calendar's keys: days, weeks, months; Enter keeps, Esc puts back.
        switch (Key) {
        case VK_LEFT: SetDate(Date() - 1); break;
        case VK_RIGHT: SetDate(Date() + 1); break;
        case VK_UP: SetDate(Date() - 7); break;
        case VK_DOWN: SetDate(Date() + 7); break;
        case VK_PRIOR: SetDate(AddMonths(Date(), -1)); break;
        case VK_NEXT: SetDate(AddMonths(Date(), 1)); break;
        case VK_RETURN: SetDroppedDown(false); break;
        case VK_ESCAPE:
            SetDateTime(beforeDrop_);
            SetDroppedDown(false);
            break;
        default: return;
        }
        Key = 0;
        return;
    }
    switch (Key) {
    case VK_LEFT: SetField(field_ - 1); break;
    case VK_RIGHT: SetField(field_ + 1); break;
    case VK_UP: Step(field_, 1); break;
    case VK_DOWN: Step(field_, -1); break;
    default: return;
    }
    typed_.clear();
    Key = 0;
}

void TDateTimePicker::KeyPress(char& Key)
{
    TCustomControl::KeyPress(Key);
    if (!Key || !std::isdigit((unsigned char)Key)) return;
    // Digits fill the field; a full field moves on to the next.
    typed_ += Key;
    const char k = FieldKind(field_);
    SetFieldValue(field_, std::stoi(typed_));
    const std::size_t full = k == 'y' ? 4 : 2;
    if (typed_.size() >= full) {
        typed_.clear();
        if (field_ < 2) SetField(field_ + 1);
    }
    Key = 0;
}

void TDateTimePicker::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        if (!Focused() && CanFocus()) SetFocus();
        const TRect b = ButtonRect();
        if (showCheckbox_ && X < 16) SetChecked(!checked_);
        else if (PtInRect(b, Point(X, Y))) {
            if (kind_ == dtkDate && dateMode_ == dmComboBox) SetDroppedDown(!dropped_);
            else Step(field_, Y < (b.Top + b.Bottom) / 2 ? 1 : -1);
        } else {
            // The field under the press becomes current.
            const std::string t = DisplayText();
            Canvas()->Font().Assign(*Font());
            int f = 0;
            const int left = (showCheckbox_ ? 18 : 2);
            for (std::size_t i = 0; i < t.size(); ++i) {
                if (!std::isdigit((unsigned char)t[i]) && i > 0 && std::isdigit((unsigned char)t[i - 1])) {
                    if (X < left + Canvas()->TextWidth(t.substr(0, i))) break;
                    ++f;
                }
            }
            SetField(std::min(f, 2));
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TDateTimePicker::WMKillFocus(TWMKillFocus& m)
{
    TCustomControl::WMKillFocus(m);
    SetDroppedDown(false);
    Invalidate();
}

void TDateTimePicker::Paint()
{
    TCanvas* c = Canvas();
    c->Brush().SetColor(Color());
    c->Brush().SetStyle(bsSolid);
    c->FillRect(ClientRect());
    c->Font().Assign(*Font());
    int x = 2;
    if (showCheckbox_) {
        TRect box = Rect(2, (ClientHeight() - 13) / 2, 15, (ClientHeight() - 13) / 2 + 13);
        DrawFrameControl(c->Handle(), &box, DFC_BUTTON, DFCS_BUTTONCHECK | (checked_ ? DFCS_CHECKED : 0u));
        x = 18;
    }
    const std::string t = DisplayText();
    // The text field by field; the current one lit while focused.
    int f = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= t.size(); ++i) {
        const bool end = i == t.size() || (!std::isdigit((unsigned char)t[i]) && i > start);
        if (!end) continue;
        std::size_t stop = i;
        while (stop < t.size() && !std::isdigit((unsigned char)t[stop])) ++stop;
        const std::string digits = t.substr(start, i - start), rest = t.substr(i, stop - i);
        const int w = c->TextWidth(digits);
        const bool lit = Focused() && f == field_ && !dropped_;
        c->Brush().SetColor(lit ? clHighlight : Color());
        c->Font().SetColor(!checked_ ? clGrayText : lit ? clHighlightText : clWindowText);
        const int ty = (ClientHeight() - c->TextHeight("0")) / 2;
        c->TextOut(x, ty, digits);
        x += w;
        c->Brush().SetColor(Color());
        c->Font().SetColor(checked_ ? clWindowText : clGrayText);
        c->TextOut(x, ty, rest);
        x += c->TextWidth(rest);
        start = i = stop;
        ++f;
        if (stop >= t.size()) break;
    }
    const TRect b = ButtonRect();
    HDC dc = c->Handle();
    FillRect(dc, b, ColorToRGB(clBtnFace));
    c->Pen().SetColor(clBtnText);
    c->Brush().SetColor(clBtnText);
    const int cx = (b.Left + b.Right) / 2;
    if (kind_ == dtkDate && dateMode_ == dmComboBox) {
        TRect edge = b;
        DrawEdge(dc, edge, dropped_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        const int cy = (b.Top + b.Bottom) / 2;
        const TPoint tri[] = {{cx - 3, cy - 1}, {cx + 3, cy - 1}, {cx, cy + 2}};
        c->Polygon(tri, 3);
    } else {
        const int mid = (b.Top + b.Bottom) / 2;
        TRect up = Rect(b.Left, b.Top, b.Right, mid), down = Rect(b.Left, mid, b.Right, b.Bottom);
        DrawEdge(dc, up, EDGE_RAISED, BF_RECT);
        DrawEdge(dc, down, EDGE_RAISED, BF_RECT);
        const TPoint t1[] = {{cx - 3, mid - 3}, {cx + 3, mid - 3}, {cx, mid - 6}};
        const TPoint t2[] = {{cx - 3, mid + 3}, {cx + 3, mid + 3}, {cx, mid + 6}};
        c->Polygon(t1, 3);
        c->Polygon(t2, 3);
    }
}

}  // namespace platform

#pragma once
// TDateTimePicker: a date or a time in fields (day, month, year in the order of the short
// date format; hour, minute, second), stepped with Up and Down, chosen with Left and
// Right, typed as digits; a date may be picked from a month calendar that drops down
// (F4, Alt+Down or the button) or stepped with an up-down pair.
#include "base/DateTime.h"
#include "platform/controls/Controls.h"

namespace platform {

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };

class TDateTimePicker : public TCustomControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);
    ~TDateTimePicker() override;

    base::TDateTime DateTime() const { return value_; }
    void SetDateTime(base::TDateTime v);
    base::TDateTime Date() const;
    void SetDate(base::TDateTime v);  // keeps the time of day
    base::TDateTime Time() const;
    void SetTime(base::TDateTime v);  // keeps the date
    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind k);
    TDTDateMode DateMode() const { return dateMode_; }
    void SetDateMode(TDTDateMode m);
    // With ShowCheckbox a box before the text; unchecked means "no value".
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool ShowCheckbox() const { return showCheckbox_; }
    void SetShowCheckbox(bool v);
    // The field the keys act on (0..2, left to right).
    int Field() const { return field_; }
    void SetField(int f);
    // The text shown: the short date or the long time.
    std::string DisplayText() const;
    // The month calendar of a date in drop-down mode.
    bool DroppedDown() const { return dropped_; }
    void SetDroppedDown(bool v);
    // The calendar's window (nullptr before the first drop) and the day cell of a date in it.
    TCustomControl* Calendar() const;
    TRect CalendarDayRect(base::TDateTime d) const;

    TNotifyEvent OnChange, OnDropDown, OnCloseUp;
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();

    void Paint() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMGetDlgCode(TWMGetDlgCode& m) override { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void WMKillFocus(TWMKillFocus& m) override;
    void CreateParams(TCreateParams& params) override;

private:
    class TCalendarWindow;
    friend class TCalendarWindow;
    // The field's letter: 'd', 'm', 'y' or 'h', 'n', 's'.
    char FieldKind(int f) const;
    void Step(int f, int delta);
    void SetFieldValue(int f, int v);
    TRect ButtonRect() const;
    void Choose(base::TDateTime d, bool close);
    base::TDateTime value_ = 0;
    TDateTimeKind kind_ = dtkDate;
    TDTDateMode dateMode_ = dmComboBox;
    bool checked_ = true, showCheckbox_ = false, dropped_ = false;
    int field_ = 0;
    std::string typed_;  // digits typed into the field so far
    base::TDateTime beforeDrop_ = 0;
    TCalendarWindow* calendar_ = nullptr;
};

}  // namespace platform

#pragma once
// Standard controls: label, push button, check box, radio button, group box and the
// scroll bar control. Each draws itself on the platform canvas; its messages reach
// derived classes through the handlers.
#include <functional>
#include <string>

#include "platform/controls/Controls.h"

namespace platform {

// True when caption marks key (a character) as its accelerator with '&' ("&&" is a plain '&').
bool IsAccel(Word key, const std::string& caption);
// The caption without its accelerator marks ("&&" becomes '&').
std::string StripHotkey(const std::string& caption);

enum TTextLayout { tlTop, tlCenter, tlBottom };

// Text on the parent's window. With ShowAccelChar the '&' marks an accelerator: Alt with
// that key focuses FocusControl.
class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);

    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* c);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    bool Transparent() const { return !(ControlStyle & csOpaque); }
    void SetTransparent(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout l);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);

    void Paint() override;
    // Draws (or with DT_CALCRECT measures) the caption in rect on Canvas().
    virtual void DoDrawText(TRect& rect, UINT flags);
    virtual std::string GetLabelText() const { return Caption(); }
    // Fits the size to the caption when AutoSize is on (keeping the anchored side).
    virtual void AdjustBounds();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& m) override;
    virtual void CMDialogChar(TMessage& m);
    void CMTextChanged(TMessage& m) override;
    void CMFontChanged(TMessage& m) override;

private:
    TWinControl* focusControl_ = nullptr;
    bool showAccelChar_ = true, wordWrap_ = false, autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

// Base of the clickable buttons: Checked state, drawing helpers for the caption.
class TButtonControl : public TCustomControl {
public:
    explicit TButtonControl(TComponent* AOwner);
    void Dispatch(TMessage& m) override;
    virtual void CMDialogChar(TMessage& m);
    void WMKeyDown(TWMKeyDown& m) override;
    void WMKeyUp(TWMKeyUp& m) override;
    void WMGetDlgCode(TWMGetDlgCode& m) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMEnter(TMessage& m) override;
    void CMExit(TMessage& m) override;
    // Pressed: the left button or Space is down with the pointer over the button.
    bool Pressed() const { return pressed_; }

protected:
    // Where the caption is drawn (with its accelerator underlined) and where the focus
    // frame goes; DT_ flags as DrawText.
    void DrawCaption(TRect r, UINT flags, bool enabled);

private:
    void SetPressed(bool v);
    bool pressed_ = false, spaceDown_ = false, mouseDown_ = false;
};

using TModalResult = int;

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel = false;  // Escape on the form clicks it
    TModalResult ModalResult = 0;  // set on the form by a click
    void Click() override;
    void Paint() override;
    void CMDialogKey(TCMDialogKey& m) override;

protected:
    // The frame and face; returns the rectangle inside them.
    TRect PaintFace();
    // The focus frame inside the face, when focused.
    void PaintFocus(TRect face);

private:
    bool default_ = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);
    TCheckBoxState State() const { return state_; }
    // A change repaints and raises the click.
    void SetState(TCheckBoxState s);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    bool AllowGrayed = false;  // a click steps through grayed too
    // taRightJustify (the default) puts the caption right of the box.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    void Click() override;
    void Paint() override;
    virtual void Toggle();

private:
    TCheckBoxState state_ = cbUnchecked;
    TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
    using TCustomCheckBox::TCustomCheckBox;
};

// Checking one radio button clears the others with the same parent.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);  // checking raises the click
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    void Click() override;
    void Paint() override;

private:
    bool checked_ = false;
    TAlignment alignment_ = taRightJustify;
};

// A frame with the caption in its top edge; children sit inside it.
class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent* AOwner);
    void Paint() override;
    void AdjustClientRect(TRect& rect) override;
    void Dispatch(TMessage& m) override;

protected:
    int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
public:
    using TCustomGroupBox::TCustomGroupBox;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// A scroll bar as a control of its own: arrows step by SmallChange, the track by
// LargeChange, the thumb is dragged; OnScroll may change the new position, OnChange
// follows each change of Position.
class TScrollBar : public TCustomControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind k);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int PageSize() const { return pageSize_; }
    void SetMin(int v) { SetParams(v < max_ ? position_ : v, v, std::max(v, max_)); }
    void SetMax(int v) { SetParams(position_, std::min(min_, v), v); }
    void SetPosition(int v) { SetParams(v, min_, max_); }
    void SetPageSize(int v);
    void SetParams(int position, int min, int max);
    int SmallChange = 1, LargeChange = 1;
    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

    // Runs a scroll action as the user's input does.
    virtual void Scroll(TScrollCode code, int& pos);
    virtual void Change();
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void WMTimer(TWMTimer& m) override;
    void WMGetDlgCode(TWMGetDlgCode& m) override { m.Result = DLGC_WANTARROWS; }
    // Thumb and track in client coordinates along the bar.
    TRect ThumbRect();
    TRect ArrowRect(bool up);

private:
    void DoScroll(TScrollCode code, int pos);
    int ArrowLength() const;
    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
    int dragOffset_ = -1;  // pointer offset within the thumb while dragging
    TScrollCode repeat_ = scEndScroll;
    bool repeating_ = false;
};

}  // namespace platform

#pragma once
// Common controls: the progress bar, the status bar with its panels, the tool bar with
// its buttons.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"

namespace platform {

class TImageList;

// Progress bar messages; colours are RGB values, CLR_DEFAULT the desktop's colours.
enum : UINT {
    PBM_SETRANGE = 0x0401,    // l: min | max << 16; result: the old range
    PBM_SETPOS = 0x0402,      // w: position; result: the old one
    PBM_DELTAPOS = 0x0403,    // w: the step to add
    PBM_SETSTEP = 0x0404,
    PBM_STEPIT = 0x0405,
    PBM_SETRANGE32 = 0x0406,  // w: min, l: max
    PBM_GETRANGE = 0x0407,    // w: nonzero for the low end
    PBM_GETPOS = 0x0408,
    PBM_SETBARCOLOR = 0x0409,  // l: the colour; result: the old one
    PBM_SETBKCOLOR = 0x2001    // l: the colour; result: the old one
};
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetMin(int v) { SetRange(v, std::max(v, max_)); }
    void SetMax(int v) { SetRange(std::min(min_, v), v); }
    void SetRange(int min, int max);
    int Position() const { return position_; }
    void SetPosition(int v);  // kept within Min..Max
    int Step() const { return step_; }
    void SetStep(int v);
    void StepIt();
    void StepBy(int delta);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool v);
    TProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation o);
    // The colours in use (CLR_DEFAULT until a message sets them).
    COLORREF BarColor() const { return barColor_; }
    COLORREF BackColor() const { return bkColor_; }

    void Dispatch(TMessage& m) override;
    void WMEraseBkgnd(TWMEraseBkgnd& m) override;

protected:
    void PaintWindow(HDC dc) override;

private:
    int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
    bool smooth_ = false;
    TProgressBarOrientation orientation_ = pbHorizontal;
    COLORREF barColor_ = CLR_DEFAULT, bkColor_ = CLR_DEFAULT;
};

class TStatusBar;
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };

class TStatusPanel {
public:
    explicit TStatusPanel(TStatusBar* owner) : owner_(owner) {}
    const std::string& Text() const { return text_; }
    void SetText(const std::string& s);
    int Width() const { return width_; }
    void SetWidth(int w);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel b);
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle s);
    int Index() const;

private:
    void Changed();
    TStatusBar* owner_;
    std::string text_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelBevel bevel_ = pbLowered;
    TStatusPanelStyle style_ = psText;
};

class TStatusPanels {
public:
    explicit TStatusPanels(TStatusBar* owner) : owner_(owner) {}
    int Count() const { return int(items_.size()); }
    TStatusPanel* Items(int i) const;  // EListError-like range check
    TStatusPanel* operator[](int i) const { return Items(i); }
    TStatusPanel* Add();
    void Delete(int i);
    void Clear();
    void BeginUpdate() { ++updating_; }
    void EndUpdate();

private:
    friend class TStatusPanel;
    void Changed();
    TStatusBar* owner_;
    std::vector<std::unique_ptr<TStatusPanel>> items_;
    int updating_ = 0;
};

using TDrawPanelEvent = std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

// A bar at the bottom of a form: panels side by side (the last one to the right end), or
// one simple panel across the whole bar; a size grip in the corner.
class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;
    TStatusPanels& Panels() { return *panels_; }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& s);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool v);
    // Panel i's rectangle in client coordinates.
    TRect PanelRect(int i) const;
    // The panel under a client point, -1 for none.
    int PanelAt(TPoint p) const;
    TCanvas* Canvas();
    TDrawPanelEvent OnDrawPanel;
    virtual void DrawPanel(TStatusPanel* panel, const TRect& rect);

protected:
    void PaintWindow(HDC dc) override;

private:
    std::unique_ptr<TStatusPanels> panels_;
    std::unique_ptr<TControlCanvas> canvas_;
    bool simplePanel_ = false, sizeGrip_ = true;
    std::string simpleText_;
};

class TToolBar;
enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

// A button of a tool bar: its picture comes from the bar's image list. A check button
// stays down until clicked again; grouped check buttons next to each other exclude each other.
class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(TComponent* AOwner);
    ~TToolButton() override;
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle s);
    bool Down() const { return down_; }
    void SetDown(bool v);
    bool Grouped = false;
    bool AllowAllUp = false;
    bool Pressed() const { return pressed_; }
    bool Hot() const { return hot_; }
    TToolBar* ToolBar() const;
    // Index among the bar's buttons, in their order on the bar.
    int Index() const;

    void SetParent(TWinControl* p) override;
    void Click() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TMessage& m) override;
    void CMMouseLeave(TMessage& m) override;
    void CMTextChanged(TMessage& m) override;

private:
    int imageIndex_ = -1;
    TToolButtonStyle style_ = tbsButton;
    bool down_ = false, pressed_ = false, hot_ = false, tracking_ = false;
};

class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* AOwner);
    ~TToolBar() override;
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* list);
    TImageList* DisabledImages() const { return disabledImages_; }
    void SetDisabledImages(TImageList* list);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int w);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int h);
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool v);
    int Indent() const { return indent_; }
    void SetIndent(int v);
    int ButtonCount() const { return int(buttons_.size()); }
    TToolButton* Buttons(int i) const { return buttons_[std::size_t(i)]; }
    TCanvas* Canvas();
    // Places the buttons left to right in their order.
    void ArrangeButtons();

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void AlignControls(TControl* aControl, TRect& rect) override;

protected:
    void PaintWindow(HDC dc) override;

private:
    friend class TToolButton;
    void InsertButton(TToolButton* b);
    void RemoveButton(TToolButton* b);
    std::vector<TToolButton*> buttons_;
    std::unique_ptr<TControlCanvas> canvas_;
    TImageList* images_ = nullptr;
    TImageList* disabledImages_ = nullptr;
    int buttonWidth_ = 23, buttonHeight_ = 22, indent_ = 0;
    bool flat_ = false, showCaptions_ = false, arranging_ = false;
};

}  // namespace platform

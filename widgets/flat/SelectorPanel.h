#pragma once
// The parts a selector button opens: its items, the borderless drop-down window, the
// panel base with a frame left open towards the button, and the general panel that lays
// the items out as buttons.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/ExtCtrls.h"
#include "platform/forms/Forms.h"

namespace platform {
class TImageList;
class TTimer;
}  // namespace platform

namespace flat {

using platform::TColor;
using platform::TRect;

enum TExSelectorStyle { ssButton, ssCombo };
enum TExAppearanceStyle { esOffice2003Blue, esOffice2003Silver, esOffice2003Olive, esOffice2003Classic };
enum TExButtonState { absUp, absDown, absDropDown };
enum TGradientDirection { gdVertical, gdHorizontal };
enum TSelectorItemType { itAutoSizeButton, itFullWidthButton };

class TExSelectorItem;
using TSelectEvent = std::function<void(platform::TObject* Sender, int Index, TExSelectorItem* Item)>;
using THotToolEvent = std::function<void(platform::TObject* Sender, int HotItemIndex)>;
using TDrawToolEvent =
    std::function<void(platform::TObject* Sender, platform::TCanvas* Canvas, int ItemIndex, TRect R)>;
using TItemDrawEvent = std::function<void(platform::TObject* Sender, int Index, TRect R)>;

// One choice of a selector.
class TExSelectorItem : public platform::TPersistent {
public:
    // Copies everything but Enable (and the rectangle) from another item.
    void Assign(const platform::TPersistent& source) override;
    TRect ItemRect;  // the button in its panel, set by the panel's layout
    std::string Caption;
    bool Enable = true;
    int ImageIndex = -1;
    std::string Value;
    std::string Hint;
    platform::TAlignment CaptionAlignment = platform::taCenter;
    TSelectorItemType ItemType = itAutoSizeButton;
    TColor BackGroundColor = platform::clNone;
    int Tag = 0;
};

// The items of a selector or a panel, in order.
class TExSelectorItems {
public:
    explicit TExSelectorItems(platform::TPersistent* owner = nullptr) : owner_(owner) {}
    platform::TPersistent* Owner() const { return owner_; }
    int Count() const { return int(items_.size()); }
    TExSelectorItem* Add();
    TExSelectorItem* Insert(int index);
    TExSelectorItem* Items(int index) const { return items_.at(std::size_t(index)).get(); }
    void SetItems(int index, const TExSelectorItem& item) { Items(index)->Assign(item); }
    void Delete(int index);
    void Clear() { items_.clear(); }

private:
    platform::TPersistent* owner_;
    std::vector<std::unique_ptr<TExSelectorItem>> items_;
};

// The selector family's gradient: steps stripes from `from` to `to`, left to right when
// horizontal, top to bottom otherwise.
void DrawGradient(platform::TCanvas* canvas, TColor from, TColor to, bool horizontal, TRect R, int steps);
// Fills R flat with color, or as a gradient to colorTo unless that is clNone; the brush is clear after.
void FillGradient(platform::TCanvas* canvas, TColor color, TColor colorTo, bool horizontal, TRect R, int steps);

class TExCustomSelectorPanel;

// The borderless window a selector opens; it hides a moment after it loses activation.
class TSelectorDropDownWindow : public platform::TCustomForm {
public:
    explicit TSelectorDropDownWindow(platform::TComponent* AOwner);
    TSelectorDropDownWindow(platform::TComponent* AOwner, int dummy);  // owner is the selector
    ~TSelectorDropDownWindow() override;

    TExCustomSelectorPanel* SelectorPanel = nullptr;
    platform::TControl* Selector() const { return selector_; }
    bool HideOnDeactivate() const { return true; }
    bool ShownAbove = false;
    bool Combo = false;
    platform::TTimer* HideTimer() const { return hideTimer_; }
    // The size of its panel.
    void SetWindowSize();

    void Dispatch(platform::TMessage& m) override;
    void CMDialogKey(platform::TCMDialogKey& m) override;  // Escape closes the window
    // The bottom-right ten pixels are a sizing corner.
    void WMNCHitTest(platform::TMessage& m) override;

private:
    void Init();
    platform::TControl* selector_ = nullptr;
    platform::TTimer* hideTimer_ = nullptr;
};

// Base of the drop-down panels: background and the frame open towards the button.
class TExCustomSelectorPanel : public platform::TCustomPanel {
public:
    explicit TExCustomSelectorPanel(platform::TComponent* AOwner);
    TSelectorDropDownWindow* Window = nullptr;
    TColor ColorTo = platform::clNone;
    TGradientDirection GradientDirection = gdHorizontal;
    TColor WindowBorderColor = 0x808080;
    platform::TNotifyEvent OnShouldHide;
    virtual int GetVisibleHeight() { return Height(); }
    void Paint() override;

protected:
    void ShouldHide();
    bool ShownAbove() const { return Window && Window->ShownAbove; }
    bool InCombo() const { return Window && Window->Combo; }
};

// The general panel: items as buttons in rows and full-width buttons.
class TExSelectorPanel : public TExCustomSelectorPanel {
public:
    explicit TExSelectorPanel(platform::TComponent* AOwner);
    ~TExSelectorPanel() override;

    int ItemIndex() const { return itemIndex_; }
    // Negative values give -1; an enabled item other than the current one is taken.
    void SetItemIndex(int i);
    TExSelectorItems& Items() { return items_; }
    int HotIndex() const { return hotIndex_; }
    int DownIndex() const { return downIndex_; }

    TColor ColorHot = 0xD2BDB6, ColorHotTo = platform::clNone;
    TColor ColorDown = 0x40A9FF, ColorDownTo = platform::clNone;
    TColor ColorSelected = 0xD8D5D4, ColorSelectedTo = platform::clNone;
    TColor BorderColor = platform::clNone;
    TColor BorderHotColor = 0, BorderDownColor = 0, BorderSelectedColor = 0;
    platform::TImageList* Images = nullptr;
    int ButtonsPerRow = 1;
    int ButtonMargin = 3;
    int MinButtonWidth = 16, MinButtonHeight = 16;

    platform::TNotifyEvent OnSelect;
    THotToolEvent OnHotTool;
    TItemDrawEvent OnDrawItem;
    platform::TNotifyEvent OnChangeSelection;

    void SetItemsPosition();
    int ItemAtPos(int X, int Y) const;
    void DrawItem(int Index, bool Refresh);
    void AutoSizeBtnSize(int& W, int& H);
    int GetMaxWidth();
    int TotalAutoSizeButtons() const;
    void SetPanelHeight();

    void Paint() override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(platform::TMessage& m) override;

private:
    void DrawContent(platform::TCanvas* c, int Index, const TRect& R);
    platform::TCanvas* MeasureCanvas(platform::TBitmap& scratch);
    TExSelectorItems items_;
    int itemIndex_ = -1, hotIndex_ = -1, downIndex_ = -1;
    int topMargin_ = 4, leftMargin_ = 4, fullWidthHeight_ = 20;
    int widestCaption_ = 0;
    bool mouseDown_ = false;
};

}  // namespace flat

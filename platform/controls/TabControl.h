#pragma once
// The tab control: a row of tabs on any side of a page area. Tabs are sized from their
// text and the picture list, selected by mouse and arrow keys with a veto (OnChanging)
// and a notice (OnChange), and drawn by the control or, inside their frames, by the owner.
#include <functional>
#include <memory>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/controls/Controls.h"

namespace base {
class TStrings;
}

namespace platform {

class TImageList;
class TListItems;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;
using TDrawTabEvent = std::function<void(class TCustomTabControl* Control, int TabIndex, const TRect& Rect, bool Active)>;
using TTabGetImageEvent = std::function<void(TObject* Sender, int TabIndex, int& ImageIndex)>;

class TCustomTabControl : public TCustomControl {
public:
    explicit TCustomTabControl(TComponent* AOwner);
    ~TCustomTabControl() override;

    // The tab texts, each with an object.
    base::TStrings& Tabs();
    int TabIndex() const { return tabIndex_; }
    // Selects a tab from code: no events (-1 selects none).
    void SetTabIndex(int Value);
    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition Value);
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool Value);
    // 0 sizes the tab from its text and picture.
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int Value);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int Value);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* Value);
    // Tabs that do not fit wrap into more rows; the selected tab's row lies next to the
    // page. Rows are stretched to the full length unless RaggedRight.
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool Value);
    bool RaggedRight() const { return raggedRight_; }
    void SetRaggedRight(bool Value);
    int RowCount() const;
    bool HotTrack = false;        // kept for the callers; tabs do not light up
    bool ScrollOpposite = false;  // kept for the callers; rows stay on the tabs' side
    // The platform's highlight state of a tab (drawn in the highlight colour).
    bool Highlighted(int Index) const;
    void SetHighlighted(int Index, bool Value);

    // The rectangle of tab Index, in client coordinates (the selected tab is drawn 2
    // pixels larger round it); empty past the last tab.
    TRect TabRect(int Index) const;
    // The tab under a client point, -1 for none.
    int IndexOfTabAt(int X, int Y) const;
    // The page area inside the frame.
    virtual TRect DisplayRect() const;
    void AdjustClientRect(TRect& rect) override { rect = DisplayRect(); }

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TDrawTabEvent OnDrawTab;
    TTabGetImageEvent OnGetImageIndex;

    // The class library's steps.
    virtual bool CanChange();       // raises OnChanging
    virtual void Change();          // raises OnChange
    virtual bool CanShowTab(int TabIndex) { (void)TabIndex; return true; }
    virtual int GetImageIndex(int TabIndex);
    // Draws the inside of an owner-drawn tab: OnDrawTab, else a fill.
    virtual void DrawTab(int TabIndex, const TRect& Rect, bool Active);

    virtual void CNNotify(TMessage& m);
    void Dispatch(TMessage& m) override;
    void DefaultHandler(TMessage& m) override;
    void WMGetDlgCode(TWMGetDlgCode& m) override { m.Result = DLGC_WANTARROWS; }
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    // Selects a tab as the user does: TCN_SELCHANGING (the veto), then TCN_SELCHANGE.
    // False when refused.
    bool SelectTabByUser(int Index);
    virtual void TabsChanged();  // after any change of the tab list
    bool Vertical() const { return tabPosition_ == tpLeft || tabPosition_ == tpRight; }

private:
    struct TabPlace {
        int row = 0;  // 0 next to the page
        int along = 0, length = 0;
    };
    std::vector<TabPlace> Layout(int* rows) const;
    int TabLength(int Index) const;  // along the row
    int TabThickness() const;        // across the row
    int StripEdge() const;           // where the tabs meet the page frame
    void PaintTab(int Index, bool Active);
    LRESULT SendNotify(UINT code);

    std::unique_ptr<TListItems> tabs_;
    std::vector<bool> highlighted_;
    int tabIndex_ = -1;
    TTabPosition tabPosition_ = tpTop;
    bool ownerDraw_ = false;
    int tabHeight_ = 0, tabWidth_ = 0;
    bool multiLine_ = false, raggedRight_ = false;
    TImageList* images_ = nullptr;
};

class TTabControl : public TCustomTabControl {
public:
    using TCustomTabControl::TCustomTabControl;
};

}  // namespace platform

#pragma once
// The page control: tab sheets on the platform's tab control, whose tabs it paints itself
// in a classic or a flat look on any side, with per-tab colours and gradients, an active
// font, hover colours, tab pictures, close buttons and margins; closed tabs can be opened
// again by name.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls/TabControl.h"
#include "widgets/frame/ExMenuUtil.h"  // TGradientDirection

namespace platform {
class TBitmap;
class TImageList;
}  // namespace platform

namespace frame {

class TExPageControl;

enum TTabStyle { tsClassic, tsDotNet };

class TTabMargin : public platform::TPersistent {
public:
    explicit TTabMargin(TExPageControl* owner = nullptr) : owner_(owner) {}
    void Assign(const platform::TPersistent& source) override;
    int LeftMargin() const { return m_[0]; }
    int TopMargin() const { return m_[1]; }
    int RightMargin() const { return m_[2]; }
    // Index 0 left, 1 top, 2 right; the owner hears (new, old, index) before the value is stored.
    void SetMargin(int index, int value);
    void SetLeftMargin(int v) { SetMargin(0, v); }
    void SetTopMargin(int v) { SetMargin(1, v); }
    void SetRightMargin(int v) { SetMargin(2, v); }
    std::function<void(int newValue, int oldValue, int index)> OnMarginChange;

private:
    friend class TExPageControl;
    TExPageControl* owner_;
    int m_[3] = {0, 0, 0};
};

using TCanCloseEvent = std::function<void(platform::TObject* Sender, bool& CanClose)>;
using TCanChangeEvent = std::function<void(platform::TObject* Sender, int FromPage, int ToPage, bool& AllowChange)>;

class TExTabSheet : public platform::TCustomControl {
public:
    explicit TExTabSheet(platform::TComponent* AOwner);
    ~TExTabSheet() override;

    TExPageControl* ExPageControl() const { return control_; }
    void SetExPageControl(TExPageControl* value);
    int GetPageIndex() const;
    void SetPageIndex(int value);
    int GetTabIndex() const;

    void SetText(const std::string& s) override;
    void SetVisible(bool v) override;
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor c);
    void SetSheetColor(TColor c);  // Color, repainting the control too
    bool Highlighted() const { return highlighted_; }
    void SetHighlighted(bool v);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v);
    bool ShowClose() const { return showClose_; }
    void SetShowClose(bool v);
    bool TabEnable() const { return tabEnable_; }
    void SetTabEnable(bool v);  // "Can not disable active tab." on the active page
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool v);
    TColor TabColor() const { return tabColor_; }
    void SetTabColor(TColor c);
    TColor TabColorTo() const { return tabColorTo_; }
    void SetTabColorTo(TColor c);
    TGradientDirection TabGradientDirection() const { return tabGradient_; }
    void SetTabGradientDirection(TGradientDirection d);
    TGradientDirection HoverGradientDirection = gdVertical;
    TColor TextColor() const { return textColor_; }
    void SetTextColor(TColor c);
    // The text the platform tab is sized from (the caption itself is drawn).
    const std::string& MeasuringText() const { return measuring_; }
    int TabImageIndex() const { return imageIndex_ < 0 ? 0 : imageIndex_; }

    platform::TNotifyEvent OnShow, OnHide, OnClose;
    TCanCloseEvent OnCanClose;
    void CloseButtonClick();
    bool CanCloseClick();

    void Paint() override;
    virtual void DoShow();
    virtual void DoHide();

private:
    friend class TExPageControl;
    void SetTabShowing(bool v);
    void UpdateTabShowing();
    void ApplyCaption();

    TExPageControl* control_ = nullptr;
    bool tabShowing_ = false;
    std::string measuring_;
    TColor colorTo_ = platform::clNone;
    bool highlighted_ = false, showClose_ = false, tabEnable_ = true, tabVisible_ = true;
    int imageIndex_ = 0;
    TColor tabColor_ = platform::clNone, tabColorTo_ = platform::clNone;
    TGradientDirection tabGradient_ = gdVertical;
    TColor textColor_ = TColor(0);
};

class TExPageControl : public platform::TCustomTabControl {
public:
    explicit TExPageControl(platform::TComponent* AOwner);
    ~TExPageControl() override;

    int GetPageCount() const { return int(pages_.size()); }
    TExTabSheet* GetPage(int i) const;
    TExTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TExTabSheet* page);
    int GetActivePageIndex() const;
    void SetActivePageIndex(int i);
    void SelectNextPage(bool forward);
    TExTabSheet* FindNextPage(TExTabSheet* cur, bool forward, bool checkTabVisible) const;
    int IndexOfTabAtEx(int x, int y) const;  // a page index, -1 for none
    TRect TabRectEx(int pageIndex) const;

    platform::TFont& ActiveFont() { return *activeFont_; }
    void SetActiveFont(const platform::TFont& f);
    TColor ActiveColor() const { return activeColor_; }
    void SetActiveColor(TColor c);
    TColor ActiveColorTo() const { return activeColorTo_; }
    void SetActiveColorTo(TColor c);
    platform::TBitmap* CloseGlyph() const { return closeGlyph_.get(); }
    void SetCloseGlyph(platform::TBitmap* b);
    TColor DefaultTextColor() const { return defaultTextColor_; }
    void SetDefaultTextColor(TColor c);
    TColor DefaultTabColor() const { return defaultTabColor_; }
    void SetDefaultTabColor(TColor c);
    TColor DefaultTabColorTo() const { return defaultTabColorTo_; }
    void SetDefaultTabColorTo(TColor c);
    bool FreeOnClose = false;
    platform::TImageList* ExImages() const { return exImages_; }
    void SetExImages(platform::TImageList* images);
    int LowerActive() const { return lowerActive_; }
    void SetLowerActive(int v);
    bool RoundEdges() const { return roundEdges_; }
    void SetRoundEdges(bool v);
    bool ShowFocus = false;
    platform::TBitmap* TabBackGround() const { return tabBackGround_.get(); }
    void SetTabBackGround(platform::TBitmap* b);
    platform::TBitmap* TabBackGroundActive() const { return tabBackGroundActive_.get(); }
    void SetTabBackGroundActive(platform::TBitmap* b);
    TColor TabBackGroundColor() const { return tabBackGroundColor_; }
    void SetTabBackGroundColor(TColor c);
    bool TabBorder3D() const { return tabBorder3D_; }
    void SetTabBorder3D(bool v);
    TColor TabBorderColor() const { return tabBorderColor_; }
    void SetTabBorderColor(TColor c);
    TColor TabHoverColor = platform::clNone, TabHoverColorTo = platform::clNone, TabHoverBorder = platform::clNone;
    TTabMargin& TabMargin() { return *tabMargin_; }
    void SetTabMargin(const TTabMargin& m);
    int TabOverlap() const { return tabOverlap_; }
    void SetTabOverlap(int v);
    bool TabSheet3D() const { return tabSheet3D_; }
    void SetTabSheet3D(bool v);
    TColor TabSheetBorderColor() const { return tabSheetBorderColor_; }
    void SetTabSheetBorderColor(TColor c);
    bool TabSplitLine() const { return tabSplitLine_; }
    void SetTabSplitLine(bool v);  // refused in the flat look
    TTabStyle TabStyle() const { return tabStyle_; }
    void SetTabStyle(TTabStyle s);
    void SetExTabPosition(platform::TTabPosition p);
    std::string Version() const { return "1.4.0.2"; }
    void SetVersion(const std::string&) {}
    static unsigned GetVersionNr() { return 0x01040002u; }
    int HoverTab() const { return hoverTab_; }
    bool IsDesigning() const { return false; }

    TCanChangeEvent OnCanChange;

    // Docking: with DockSite a control dropped on the control docks in as a page of its
    // own. The page's caption is the control's text up to its first line break and
    // follows it, as the page's tab follows the control's visibility. A tab of a docked
    // control drags the control out; a double click on it floats the control.
    // Docks client as a drop would; the page it got, or nullptr.
    TExTabSheet* DockClient(platform::TControl* client);
    // Takes a docked control out without floating it: its page goes and the next page
    // forward shows; the control is left without a parent.
    void UndockClient(platform::TControl* client);
    TExTabSheet* GetPageFromDockClient(platform::TControl* client) const;
    platform::TControl* GetDockClientFromMousePos(TPoint p) const;
    void DoAddDockClient(platform::TControl* Client, const TRect& ARect) override;
    void DoRemoveDockClient(platform::TControl* Client) override;
    void DockOver(platform::TDragDockObject* Source, int X, int Y, platform::TDragState State, bool& Accept) override;
    void GetSiteInfo(platform::TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock) override;
    void CMDockClient(platform::TCMDockClient& m) override;
    void CMUnDockClient(platform::TCMUnDockClient& m) override;
    void CMDockNotification(platform::TCMDockNotification& m) override;
    void DblClick() override;

    // Closed tabs.
    bool IsOnButton(int pageIndex, int x, int y) const;
    bool OpenClosedTab(const std::string& name);
    void OpenAllClosedTabs();
    const std::vector<std::pair<std::string, TExTabSheet*>>& ClosedTabs() const { return closed_; }

    // Painting (after the platform's own, unless TabBorder3D).
    void DrawAllTabs(platform::TCanvas* canvas);
    void DrawCloseButton(TRect tabRect, bool active);
    void DrawHoverCloseButton(TRect tabRect);
    void DrawDownCloseButton(TRect tabRect);
    void DrawCloseGlyph(TPoint p);
    // The page control's gradient: steps bands (0 counts as 1).
    static void DrawGradient(platform::TCanvas* canvas, TColor from, TColor to, bool horizontal, TRect r, int steps);

    void Loaded() override;
    void UpdateActivePage();
    bool CanChange() override;
    void Change() override;
    bool CanShowTab(int tabIndex) override;
    int GetImageIndex(int tabIndex) override;
    void CMDialogKey(platform::TCMDialogKey& m) override;
    void Paint() override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(platform::TMessage& m) override;
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;

private:
    friend class TExTabSheet;
    friend class TTabMargin;
    void InsertPage(TExTabSheet* page);
    void RemovePage(TExTabSheet* page);
    void ChangeActivePage(TExTabSheet* page);
    void UpdateTab(TExTabSheet* page);
    void UpdateTabForActiveFont(TExTabSheet* page);
    void UpdateTabHighlights();
    void MarginChanged(int newValue, int oldValue, int index);
    void SetTabMargins();
    bool Vertical() const;
    int MarginImagesExtent() const;
    void InvalidateTab(int pageIndex);
    void CloseActiveTab();
    // The steps of DrawAllTabs.
    struct TabPaint;
    struct TabFace;
    void EraseTabs(TabPaint& p, TColor parentBrush);
    void DrawTabRow(const TabPaint& p);
    void DrawColourRing(const TabPaint& p);
    void DrawPageFrame(const TabPaint& p);
    void DrawRoundEdges(const TabPaint& p);
    void DrawJoinLine(TabPaint& p);
    void DrawTabs(TabPaint& p);
    bool DrawOneTab(TabPaint& p, int i, platform::TBitmap& scratch, TabFace& last);
    void DrawTabFace(TabPaint& p, TabFace& f, TColor c1, TColor c2, bool horizontal);
    void DrawTabBackPicture(const TabPaint& p, TabFace& f, platform::TBitmap& scratch);
    void DrawTabCaption(const TabPaint& p, TabFace& f);
    void DrawActivePictureTab(const TabPaint& p, const TabFace& last, platform::TBitmap& scratch);
    void DrawHoverOutline(const TabPaint& p);

    std::vector<TExTabSheet*> pages_;
    TExTabSheet* activePage_ = nullptr;
    std::vector<std::pair<std::string, TExTabSheet*>> closed_;
    struct Docked {
        platform::TControl* client;
        TExTabSheet* page;
    };
    std::vector<Docked> docked_;
    TExTabSheet* newDockSheet_ = nullptr;   // while a control docks in
    TExTabSheet* undockingPage_ = nullptr;  // between the undock notice and the removal
    void DropDockedPage(TExTabSheet* page);
    platform::TPoint lastDown_{};
    std::unique_ptr<platform::TImageList> marginImages_;
    platform::TImageList* exImages_ = nullptr;
    std::unique_ptr<platform::TFont> activeFont_;
    std::unique_ptr<TTabMargin> tabMargin_;
    std::unique_ptr<platform::TBitmap> closeGlyph_, tabBackGround_, tabBackGroundActive_;
    TColor activeColor_ = platform::clBtnFace, activeColorTo_ = platform::clNone;
    TColor defaultTextColor_ = TColor(0), defaultTabColor_ = platform::clBtnFace, defaultTabColorTo_ = platform::clNone;
    TColor tabBackGroundColor_ = platform::clBtnFace, tabBorderColor_ = TColor(0x808080);
    TColor tabSheetBorderColor_ = TColor(0x808080);
    int lowerActive_ = 2, tabOverlap_ = 0;
    bool roundEdges_ = false, tabBorder3D_ = false, tabSheet3D_ = false, tabSplitLine_ = false;
    TTabStyle tabStyle_ = tsClassic;
    int hoverTab_ = -1;
    bool loaded_ = false, closeHover_ = false, destroying_ = false;
};

}  // namespace frame

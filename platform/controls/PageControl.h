#pragma once
// The page control: a tab control whose tabs show one page (a tab sheet) at a time.
#include <vector>

#include "platform/controls/TabControl.h"

namespace platform {

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* Value);
    int PageIndex() const;  // -1 without a page control
    void SetPageIndex(int Value);
    int TabIndex() const;   // among the pages that show a tab; -1 without one
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    bool Highlighted() const { return highlighted_; }
    void SetHighlighted(bool Value);
    void SetText(const std::string& s) override;
    void SetVisible(bool v) override;  // raises OnShow or OnHide

    TNotifyEvent OnShow, OnHide;
    virtual void DoShow();
    virtual void DoHide();

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
    bool tabShowing_ = false;
    bool highlighted_ = false;
    int imageIndex_ = 0;
};

class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int PageCount() const { return int(pages_.size()); }
    TTabSheet* Pages(int Index) const;
    TTabSheet* ActivePage() const { return activePage_; }
    // Ignored for a page of another control; nullptr shows no page.
    void SetActivePage(TTabSheet* Page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int Value);
    // The next page after cur (wrapping), only pages with a tab when checkTabVisible.
    TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
    // As Ctrl+Tab does: the next page with a tab, through the veto and the notice.
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

    void Change() override;  // the page of the selected tab shows, then OnChange
    bool CanShowTab(int TabIndex) override;
    int GetImageIndex(int TabIndex) override;
    void CMDialogKey(TCMDialogKey& m) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void UpdateTabShowing(TTabSheet* Page);
    void UpdateActivePage();
    void ChangeActivePage(TTabSheet* Page);

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
    bool destroying_ = false;
};

}  // namespace platform

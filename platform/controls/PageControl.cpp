#include "platform/controls/PageControl.h"

#include <algorithm>

#include "base/Exception.h"
#include "base/StringList.h"
#include "platform/controls/ListBox.h"

namespace platform {

// ---------------------------------------------------------------- TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    ControlStyle |= csAcceptsControls;
    SetAlign(alClient);
    TControl::SetVisible(false);
}

TTabSheet::~TTabSheet()
{
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value)
{
    if (Value == pageControl_) return;
    if (pageControl_) pageControl_->RemovePage(this);
    SetParent(Value);
    if (Value) Value->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!pageControl_) return -1;
    const auto& p = pageControl_->pages_;
    return int(std::find(p.begin(), p.end(), this) - p.begin());
}

void TTabSheet::SetPageIndex(int Value)
{
    if (!pageControl_) return;
    auto& p = pageControl_->pages_;
    if (Value < 0 || Value >= int(p.size()))
        throw base::EListError(std::to_string(Value) + " is an invalid PageIndex value.  PageIndex must be between 0 and " +
                               std::to_string(int(p.size()) - 1));
    const int old = PageIndex();
    if (old == Value) return;
    const int oldTab = TabIndex();
    p.erase(p.begin() + old);
    p.insert(p.begin() + Value, this);
    if (tabShowing_) pageControl_->Tabs().Move(oldTab, TabIndex());
}

int TTabSheet::TabIndex() const
{
    if (!tabShowing_) return -1;
    int index = 0;
    for (TTabSheet* s : pageControl_->pages_) {
        if (s == this) return index;
        if (s->tabShowing_) ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool Value)
{
    if (Value == tabVisible_) return;
    tabVisible_ = Value;
    if (pageControl_) pageControl_->UpdateTabShowing(this);
}

void TTabSheet::SetImageIndex(int Value)
{
    imageIndex_ = Value;
    if (pageControl_) pageControl_->Invalidate();
}

void TTabSheet::SetHighlighted(bool Value)
{
    highlighted_ = Value;
    if (pageControl_ && tabShowing_) pageControl_->SetHighlighted(TabIndex(), Value);
}

void TTabSheet::SetText(const std::string& s)
{
    TWinControl::SetText(s);
    if (pageControl_ && tabShowing_) pageControl_->Tabs().Put(TabIndex(), s);
}

void TTabSheet::SetVisible(bool v)
{
    const bool was = Visible();
    TWinControl::SetVisible(v);
    if (was == Visible()) return;
    if (v) DoShow();
    else DoHide();
}

void TTabSheet::DoShow()
{
    if (OnShow) OnShow(this);
}

void TTabSheet::DoHide()
{
    if (OnHide) OnHide(this);
}

// ---------------------------------------------------------------- TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl()
{
    destroying_ = true;
    for (TTabSheet* s : pages_) s->pageControl_ = nullptr;
}

TTabSheet* TPageControl::Pages(int Index) const
{
    if (Index < 0 || Index >= PageCount()) throw base::EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return pages_[std::size_t(Index)];
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    pages_.push_back(Page);
    Page->pageControl_ = this;
    UpdateTabShowing(Page);
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    TTabSheet* next = FindNextPage(Page, true, true);
    if (next == Page) next = nullptr;
    if (Page->tabShowing_) {
        const int tab = Page->TabIndex();
        Page->tabShowing_ = false;
        Tabs().Delete(tab);
    }
    pages_.erase(std::remove(pages_.begin(), pages_.end(), Page), pages_.end());
    Page->pageControl_ = nullptr;
    // Only the active page's going changes which page shows.
    if (Page == activePage_) {
        if (!destroying_) SetActivePage(next);
        else activePage_ = nullptr;
    } else if (!destroying_ && activePage_) {
        SetTabIndex(activePage_->TabIndex());
    }
}

void TPageControl::UpdateTabShowing(TTabSheet* Page)
{
    const bool show = Page->pageControl_ == this && Page->tabVisible_;
    if (show == Page->tabShowing_) return;
    if (show) {
        Page->tabShowing_ = true;
        Tabs().InsertObject(Page->TabIndex(), Page->Text(), Page);
        if (Page->highlighted_) SetHighlighted(Page->TabIndex(), true);
    } else {
        const int tab = Page->TabIndex();
        Page->tabShowing_ = false;
        Tabs().Delete(tab);
    }
    UpdateActivePage();
}

void TPageControl::UpdateActivePage()
{
    if (TabIndex() >= 0) SetActivePage(static_cast<TTabSheet*>(Tabs().GetObject(TabIndex())));
    else SetActivePage(nullptr);
}

void TPageControl::ChangeActivePage(TTabSheet* Page)
{
    if (Page == activePage_) return;
    TTabSheet* old = activePage_;
    // The focus leaves a page that hides.
    TWinControl* focused = FindFocusedControl();
    const bool focusInside = old && focused && (focused == old || old->ContainsControl(focused));
    activePage_ = Page;
    if (Page) {
        Page->BringToFront();
        Page->SetVisible(true);
    }
    if (old) old->SetVisible(false);
    if (focusInside) {
        if (Page && Page->CanFocus()) Page->SetFocus();
        else if (CanFocus()) SetFocus();
    }
}

void TPageControl::SetActivePage(TTabSheet* Page)
{
    if (Page && Page->pageControl_ != this) return;
    ChangeActivePage(Page);
    if (!Page) SetTabIndex(-1);
    else if (Page == activePage_) SetTabIndex(Page->TabIndex());
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int Value)
{
    SetActivePage(Value >= 0 && Value < PageCount() ? pages_[std::size_t(Value)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const
{
    const int n = PageCount();
    if (n == 0) return nullptr;
    const auto it = std::find(pages_.begin(), pages_.end(), CurPage);
    int start = it == pages_.end() ? (GoForward ? n - 1 : 0) : int(it - pages_.begin());
    int i = start;
    do {
        i = GoForward ? (i + 1) % n : (i + n - 1) % n;
        TTabSheet* p = pages_[std::size_t(i)];
        if (!CheckTabVisible || p->TabVisible()) return p;
    } while (i != start);
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible)
{
    TTabSheet* page = FindNextPage(activePage_, GoForward, CheckTabVisible);
    if (!page || page == activePage_ || !CanChange()) return;
    SetTabIndex(page->TabIndex());
    Change();
}

void TPageControl::Change()
{
    UpdateActivePage();
    TCustomTabControl::Change();
}

bool TPageControl::CanShowTab(int TabIndex)
{
    for (TTabSheet* s : pages_)
        if (s->tabShowing_ && s->TabIndex() == TabIndex) return s->Enabled();
    return true;
}

int TPageControl::GetImageIndex(int TabIndex)
{
    if (OnGetImageIndex) return TCustomTabControl::GetImageIndex(TabIndex);
    for (TTabSheet* s : pages_)
        if (s->tabShowing_ && s->TabIndex() == TabIndex) return s->ImageIndex();
    return TabIndex;
}

void TPageControl::CMDialogKey(TCMDialogKey& m)
{
    TWinControl* focused = FindFocusedControl();
    if (m.CharCode() == VK_TAB && GetKeyState(VK_CONTROL) < 0 &&
        (focused == this || (focused && ContainsControl(focused)))) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        m.Result = 1;
        return;
    }
    TCustomTabControl::CMDialogKey(m);
}

}  // namespace platform

#include "widgets/frame/ExPageControl.h"

#include <algorithm>
#include <cctype>

#include "base/Exception.h"
#include "base/StringList.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
#include "base/ScopeGuard.h"

namespace frame {

using namespace platform;

namespace {
bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper((unsigned char)x) == std::toupper((unsigned char)y);
           });
}
}  // namespace

// ---------------------------------------------------------------- margins

void TTabMargin::Assign(const TPersistent& source)
{
    auto* s = dynamic_cast<const TTabMargin*>(&source);
    if (!s) return;  // any other source leaves the margins as they are
    for (int i = 0; i < 3; ++i) m_[i] = s->m_[i];
}

void TTabMargin::SetMargin(int index, int value)
{
    if (index < 0 || index > 2 || m_[index] == value) return;
    if (OnMarginChange) OnMarginChange(value, m_[index], index);
    m_[index] = value;
}

// ---------------------------------------------------------------- sheets

TExTabSheet::TExTabSheet(TComponent* AOwner) : TCustomControl(AOwner)
{
    ControlStyle |= csAcceptsControls;
    SetAlign(alClient);
    TControl::SetVisible(false);
}

TExTabSheet::~TExTabSheet()
{
    if (control_) {
        TExPageControl* c = control_;
        std::erase_if(c->closed_, [this](const auto& e) { return e.second == this; });
        if (!c->destroying_) c->RemovePage(this);
    }
}

void TExTabSheet::SetExPageControl(TExPageControl* value)
{
    if (value == control_) return;
    if (control_) control_->RemovePage(this);
    SetParent(value);
    if (value) {
        value->InsertPage(this);
        if (textColor_ == TColor(0)) textColor_ = value->defaultTextColor_;
        if (tabColor_ == clNone) tabColor_ = value->defaultTabColor_;
        if (tabColorTo_ == clNone) tabColorTo_ = value->defaultTabColorTo_;
    }
}

int TExTabSheet::GetPageIndex() const
{
    if (!control_) return -1;
    auto it = std::find(control_->pages_.begin(), control_->pages_.end(), this);
    return it == control_->pages_.end() ? -1 : int(it - control_->pages_.begin());
}

void TExTabSheet::SetPageIndex(int value)
{
    if (!control_) return;
    auto& pages = control_->pages_;
    const int count = int(pages.size());
    if (value > count - 1)
        throw base::EListError(std::to_string(value) + " is an invalid PageIndex value.  PageIndex must be between 0 and " +
                               std::to_string(count - 1));
    if (value < 0) throw base::EListError("List index out of bounds (" + std::to_string(value) + ")");
    const int oldTab = GetTabIndex();
    const int old = GetPageIndex();
    pages.erase(pages.begin() + old);
    pages.insert(pages.begin() + value, this);
    if (tabShowing_) {
        const int newTab = GetTabIndex();
        if (oldTab != newTab) control_->Tabs().Move(oldTab, newTab);
    }
    control_->Invalidate();
}

int TExTabSheet::GetTabIndex() const
{
    if (!tabShowing_ || !control_) return -1;
    int n = 0;
    for (TExTabSheet* p : control_->pages_) {
        if (p == this) return n;
        if (p->tabShowing_) ++n;
    }
    return -1;
}

void TExTabSheet::ApplyCaption()
{
    const std::string& c = Caption();
    if (showClose_) measuring_ = c + " ";
    else measuring_ = c.size() > 2 ? c.substr(0, c.size() - 2) : std::string();
    if (control_ && tabShowing_) control_->UpdateTab(this);
}

void TExTabSheet::SetText(const std::string& s)
{
    TCustomControl::SetText(s);
    ApplyCaption();
}

void TExTabSheet::SetVisible(bool v)
{
    if (v == Visible()) return;
    TCustomControl::SetVisible(v);
    // A handler's exception goes to the application and the change stands.
    try {
        if (v) DoShow();
        else DoHide();
    } catch (const std::exception& e) {
        if (Application) Application->HandleException(this, &e);
    }
}

void TExTabSheet::DoShow()
{
    if (OnShow) OnShow(this);
}

void TExTabSheet::DoHide()
{
    if (OnHide) OnHide(this);
}

void TExTabSheet::SetColorTo(TColor c)
{
    colorTo_ = c;
    Invalidate();
    if (control_) control_->Invalidate();
}

void TExTabSheet::SetSheetColor(TColor c)
{
    if (c == Color()) return;
    SetColor(c);
    if (control_) control_->Invalidate();
}

void TExTabSheet::SetHighlighted(bool v)
{
    if (control_ && tabShowing_) control_->SetHighlighted(GetTabIndex(), v);
    highlighted_ = v;
}

void TExTabSheet::SetImageIndex(int v)
{
    imageIndex_ = v;
    ApplyCaption();
}

void TExTabSheet::SetShowClose(bool v)
{
    showClose_ = v;
    ApplyCaption();
}

void TExTabSheet::SetTabEnable(bool v)
{
    if (v == tabEnable_) return;
    if (control_ && control_->activePage_ == this) throw base::Exception("Can not disable active tab.");
    tabEnable_ = v;
    if (control_) control_->Invalidate();
}

void TExTabSheet::SetTabVisible(bool v)
{
    if (v == tabVisible_) return;
    tabVisible_ = v;
    UpdateTabShowing();
}

void TExTabSheet::SetTabColor(TColor c)
{
    if (c == tabColor_) return;
    tabColor_ = c;
    if (control_) control_->Invalidate();
}

void TExTabSheet::SetTabColorTo(TColor c)
{
    if (c == tabColorTo_) return;
    tabColorTo_ = c;
    if (control_) control_->Invalidate();
}

void TExTabSheet::SetTabGradientDirection(TGradientDirection d)
{
    if (d == tabGradient_) return;
    tabGradient_ = d;
    if (control_) control_->Invalidate();
}

void TExTabSheet::SetTextColor(TColor c)
{
    if (c == textColor_) return;
    textColor_ = c;
    if (control_) control_->Invalidate();
}

void TExTabSheet::UpdateTabShowing() { SetTabShowing(control_ && tabVisible_); }

void TExTabSheet::SetTabShowing(bool v)
{
    if (v == tabShowing_) return;
    if (v) {
        tabShowing_ = true;
        control_->Tabs().InsertObject(GetTabIndex(), control_->tabBorder3D_ ? Caption() : measuring_, this);
        control_->UpdateActivePage();
    } else {
        const int tab = GetTabIndex();
        const bool wasActiveTab = tab == control_->TabIndex();
        tabShowing_ = false;
        control_->Tabs().Delete(tab);
        if (wasActiveTab) {
            const int n = control_->Tabs().Count();
            control_->SetTabIndex(tab < n ? tab : n - 1);
        }
        control_->UpdateActivePage();
    }
}

void TExTabSheet::CloseButtonClick()
{
    if (OnClose) OnClose(this);
}

bool TExTabSheet::CanCloseClick()
{
    bool can = true;
    if (OnCanClose) OnCanClose(this, can);
    return can;
}

void TExTabSheet::Paint()
{
    TCanvas* c = Canvas();
    c->Brush().SetColor(Color());
    c->Brush().SetStyle(bsSolid);
    c->FillRect(ClientRect());
    if (colorTo_ != clNone) TExPageControl::DrawGradient(c, Color(), colorTo_, false, ClientRect(), 64);
}

// ---------------------------------------------------------------- the control

TExPageControl::TExPageControl(TComponent* AOwner)
    : TCustomTabControl(AOwner), marginImages_(std::make_unique<TImageList>(1, 1)),
      activeFont_(std::make_unique<TFont>()), tabMargin_(std::make_unique<TTabMargin>(this)),
      closeGlyph_(std::make_unique<TBitmap>()), tabBackGround_(std::make_unique<TBitmap>()),
      tabBackGroundActive_(std::make_unique<TBitmap>())
{
    ControlStyle |= csOpaque | csDoubleClicks;
    Font()->SetName("Tahoma");
    activeFont_->SetName("Tahoma");
    activeFont_->OnChange = [this](TObject*) {
        UpdateTabForActiveFont(activePage_);
        Invalidate();
    };
    tabMargin_->OnMarginChange = [this](int n, int o, int i) { MarginChanged(n, o, i); };
    SetOwnerDraw(true);
    SetImages(marginImages_.get());
}

TExPageControl::~TExPageControl()
{
    destroying_ = true;
    for (TExTabSheet* p : pages_) p->control_ = nullptr;
    pages_.clear();
    SetImages(nullptr);
}

bool TExPageControl::Vertical() const { return TabPosition() == tpLeft || TabPosition() == tpRight; }

TExTabSheet* TExPageControl::GetPage(int i) const
{
    if (i < 0 || i >= int(pages_.size())) throw base::EListError("List index out of bounds (" + std::to_string(i) + ")");
    return pages_[std::size_t(i)];
}

int TExPageControl::GetActivePageIndex() const { return activePage_ ? activePage_->GetPageIndex() : -1; }

void TExPageControl::SetActivePageIndex(int i)
{
    SetActivePage(i >= 0 && i < int(pages_.size()) ? pages_[std::size_t(i)] : nullptr);
}

void TExPageControl::SetActivePage(TExTabSheet* page)
{
    if (page && page->control_ != this) return;
    ChangeActivePage(page);
    if (!page) {
        SetTabIndex(-1);
        activePage_ = nullptr;
    } else if (page == activePage_) {
        SetTabIndex(page->GetTabIndex());
    }
}

void TExPageControl::ChangeActivePage(TExTabSheet* page)
{
    if (page == activePage_ || !page || !page->tabEnable_) return;
    TCustomForm* form = GetParentForm(this);
    TExTabSheet* old = activePage_;
    if (form && old && form->ActiveControl() && old->ContainsControl(form->ActiveControl())) {
        form->SetActiveControl(old);
        if (form->ActiveControl() != old) {
            SetTabIndex(old->GetTabIndex());
            return;
        }
    }
    page->BringToFront();
    page->SetVisible(true);
    if (form && old && form->ActiveControl() == old) {
        if (page->CanFocus()) form->SetActiveControl(page);
        else form->SetActiveControl(this);
    }
    if (old) old->SetVisible(false);
    activePage_ = page;
    UpdateTabForActiveFont(old);
    UpdateTabForActiveFont(page);
    if (form && form->ActiveControl() == page) form->SelectNext(page, true, true);
}

TExTabSheet* TExPageControl::FindNextPage(TExTabSheet* cur, bool forward, bool checkTabVisible) const
{
    const int n = int(pages_.size());
    if (n == 0) return nullptr;
    auto it = std::find(pages_.begin(), pages_.end(), cur);
    int start = it == pages_.end() ? (forward ? n - 1 : 0) : int(it - pages_.begin());
    int i = start;
    do {
        i = forward ? (i + 1) % n : (i + n - 1) % n;
        TExTabSheet* p = pages_[std::size_t(i)];
        if (!checkTabVisible || p->tabVisible_) return p;
    } while (i != start);
    return nullptr;
}

void TExPageControl::SelectNextPage(bool forward)
{
    TExTabSheet* page = FindNextPage(activePage_, forward, true);
    if (page && page != activePage_ && CanChange()) {
        SetTabIndex(page->GetTabIndex());
        Change();
    }
}

int TExPageControl::IndexOfTabAtEx(int x, int y) const
{
    const int tab = IndexOfTabAt(x, y);
    if (tab < 0) return -1;
    auto* sheet = static_cast<TExTabSheet*>(const_cast<TExPageControl*>(this)->Tabs().GetObject(tab));
    return sheet ? sheet->GetPageIndex() : -1;
}

TRect TExPageControl::TabRectEx(int pageIndex) const
{
    if (pageIndex < 0 || pageIndex >= int(pages_.size())) return TRect{};
    return TabRect(pages_[std::size_t(pageIndex)]->GetTabIndex());
}

void TExPageControl::InsertPage(TExTabSheet* page)
{
    pages_.push_back(page);
    page->control_ = this;
    page->UpdateTabShowing();
}

void TExPageControl::RemovePage(TExTabSheet* page)
{
    TExTabSheet* next = FindNextPage(page, true, !IsDesigning());
    if (next == page) next = nullptr;
    page->SetTabShowing(false);
    page->control_ = nullptr;
    std::erase(pages_, page);
    if (activePage_ == page) activePage_ = nullptr;
    SetActivePage(next);
    Invalidate();
}

void TExPageControl::UpdateActivePage()
{
    const int tab = TabIndex();
    SetActivePage(tab >= 0 ? static_cast<TExTabSheet*>(Tabs().GetObject(tab)) : nullptr);
}

void TExPageControl::UpdateTab(TExTabSheet* page)
{
    const int tab = page->GetTabIndex();
    if (tab < 0) return;
    Tabs().Put(tab, tabBorder3D_ ? page->Caption() : page->measuring_);
    if (!tabBorder3D_ && page == activePage_) UpdateTabForActiveFont(page);
}

void TExPageControl::UpdateTabForActiveFont(TExTabSheet* page)
{
    if (tabBorder3D_ || !page) return;
    const int tab = page->GetTabIndex();
    if (tab < 0) return;
    std::string text = page->measuring_;
    if (page == activePage_ && (activeFont_->Style() & (fsBold | fsItalic))) {
        TCanvas* c = Canvas();
        TFont saved;
        saved.Assign(c->Font());
        c->Font().Assign(*activeFont_);
        const int wide = c->TextWidth(text);
        c->Font().Assign(*Font());
        const int narrow = c->TextWidth(text);
        std::string filler;
        while (c->TextWidth(filler) < wide - narrow) filler += ' ';
        c->Font().Assign(saved);
        text += filler;
    }
    if (Tabs().Get(tab) != text) Tabs().Put(tab, text);
}

void TExPageControl::UpdateTabHighlights()
{
    for (TExTabSheet* p : pages_) p->SetHighlighted(p->highlighted_);
}

bool TExPageControl::CanChange()
{
    TPoint p;
    GetCursorPos(p);
    p = ScreenToClient(p);
    bool allow = true;
    if (OnCanChange) OnCanChange(this, GetActivePageIndex(), IndexOfTabAtEx(p.X, p.Y), allow);
    return allow && TCustomTabControl::CanChange();
}

void TExPageControl::Change()
{
    UpdateActivePage();
    TCustomTabControl::Change();
    Invalidate();
}

bool TExPageControl::CanShowTab(int tabIndex)
{
    auto* sheet = tabIndex >= 0 && tabIndex < Tabs().Count() ? static_cast<TExTabSheet*>(Tabs().GetObject(tabIndex)) : nullptr;
    return sheet && sheet->Enabled();
}

int TExPageControl::GetImageIndex(int tabIndex)
{
    if (OnGetImageIndex) {
        int index = tabIndex;
        OnGetImageIndex(this, tabIndex, index);
        return index;
    }
    int visible = 0, hidden = 0;
    for (TExTabSheet* p : pages_) {
        if (p->tabVisible_) ++visible;
        else ++hidden;
        if (visible == tabIndex + 1) break;
    }
    const int i = tabIndex + hidden;
    return i >= 0 && i < int(pages_.size()) ? pages_[std::size_t(i)]->TabImageIndex() : 0;
}

void TExPageControl::CMDialogKey(TCMDialogKey& m)
{
    TWinControl* focused = FindFocusedControl();
    if (m.CharCode() == VK_TAB && GetKeyState(VK_CONTROL) < 0 && (focused == this || (focused && ContainsControl(focused)))) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        m.Result = 1;
        return;
    }
    TCustomTabControl::CMDialogKey(m);
}

void TExPageControl::Loaded()
{
    TCustomTabControl::Loaded();
    UpdateTabHighlights();
    SetTabMargins();
    loaded_ = true;
    for (int i = int(pages_.size()) - 1; i >= 0; --i) UpdateTab(pages_[std::size_t(i)]);
}

void TExPageControl::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == exImages_) exImages_ = nullptr;
    if (Operation == opRemove && !destroying_) {
        // A docked control went away: its page goes too, the next page forward shows.
        auto it = std::find_if(docked_.begin(), docked_.end(),
                               [AComponent](const Docked& d) { return static_cast<TComponent*>(d.client) == AComponent; });
        if (it != docked_.end()) {
            TExTabSheet* page = it->page;
            docked_.erase(it);
            if (undockingPage_ == page) undockingPage_ = nullptr;
            DropDockedPage(page);
        }
    }
    TCustomTabControl::Notification(AComponent, Operation);
}

// ---------------------------------------------------------------- margins and pictures

int TExPageControl::MarginImagesExtent() const
{
    const TTabMargin& m = *tabMargin_;
    if (Vertical()) return (exImages_ ? exImages_->Height() : 0) + m.RightMargin() + m.TopMargin();
    return (exImages_ ? exImages_->Width() : 0) + m.RightMargin() + m.LeftMargin();
}

void TExPageControl::SetTabMargins()
{
    const int extent = std::max(1, MarginImagesExtent());
    if (Vertical()) marginImages_->SetSize(std::max(1, marginImages_->Width()), extent);
    else marginImages_->SetSize(extent, std::max(1, marginImages_->Height()));
    if (!tabBorder3D_) SetImages(marginImages_.get());
    Invalidate();
}

void TExPageControl::MarginChanged(int newValue, int oldValue, int index)
{
    if (!loaded_) return;
    const int picture = exImages_ ? (Vertical() ? exImages_->Height() : exImages_->Width()) : 0;
    int w = marginImages_->Width(), h = marginImages_->Height();
    if (index == 0 && !Vertical()) w = picture + tabMargin_->RightMargin() + newValue;
    else if (index == 1 && Vertical()) h = picture + tabMargin_->RightMargin() + newValue;
    else if (index == 2 && Vertical()) h += newValue - oldValue;
    else if (index == 2) w += newValue - oldValue;
    marginImages_->SetSize(std::max(1, w), std::max(1, h));
    if (!tabBorder3D_) SetImages(marginImages_.get());
    Invalidate();
}

void TExPageControl::SetTabMargin(const TTabMargin& m)
{
    tabMargin_->Assign(m);
    if (loaded_) SetTabMargins();
}

void TExPageControl::SetExImages(TImageList* images)
{
    if (exImages_) RemoveFreeNotification(exImages_);
    exImages_ = images;
    if (exImages_) FreeNotification(exImages_);
    if (tabBorder3D_) SetImages(exImages_);
    else SetTabMargins();
}

void TExPageControl::SetExTabPosition(TTabPosition p)
{
    SetTabPosition(p);
    SetTabMargins();
}

// ---------------------------------------------------------------- properties

void TExPageControl::SetActiveFont(const TFont& f) { activeFont_->Assign(f); }
void TExPageControl::SetActiveColor(TColor c) { activeColor_ = c, Invalidate(); }
void TExPageControl::SetActiveColorTo(TColor c) { activeColorTo_ = c, Invalidate(); }
void TExPageControl::SetCloseGlyph(TBitmap* b)
{
    if (b) closeGlyph_->Assign(*b);
    else closeGlyph_ = std::make_unique<TBitmap>();
    Invalidate();
}

void TExPageControl::SetDefaultTextColor(TColor c)
{
    for (TExTabSheet* p : pages_)
        if (p->textColor_ == defaultTextColor_) p->textColor_ = c;
    defaultTextColor_ = c;
    Invalidate();
}

void TExPageControl::SetDefaultTabColor(TColor c)
{
    for (TExTabSheet* p : pages_)
        if (p->tabColor_ == defaultTabColor_) p->tabColor_ = c;
    defaultTabColor_ = c;
    Invalidate();
}

void TExPageControl::SetDefaultTabColorTo(TColor c)
{
    for (TExTabSheet* p : pages_)
        if (p->tabColorTo_ == defaultTabColorTo_) p->tabColorTo_ = c;
    defaultTabColorTo_ = c;
    Invalidate();
}

void TExPageControl::SetLowerActive(int v)
{
    if (v == lowerActive_) return;
    lowerActive_ = v;
    Invalidate();
}

void TExPageControl::SetRoundEdges(bool v)
{
    if (v == roundEdges_) return;
    roundEdges_ = v;
    Invalidate();
}

void TExPageControl::SetTabBackGround(TBitmap* b)
{
    if (b) tabBackGround_->Assign(*b);
    else tabBackGround_ = std::make_unique<TBitmap>();
    Invalidate();
}

void TExPageControl::SetTabBackGroundActive(TBitmap* b)
{
    if (b) tabBackGroundActive_->Assign(*b);
    else tabBackGroundActive_ = std::make_unique<TBitmap>();
    Invalidate();
}

void TExPageControl::SetTabBackGroundColor(TColor c)
{
    if (c == tabBackGroundColor_) return;
    tabBackGroundColor_ = c;
    Invalidate();
}

void TExPageControl::SetTabBorder3D(bool v)
{
    if (v == tabBorder3D_) return;
    tabBorder3D_ = v;
    SetImages(v ? exImages_ : marginImages_.get());
    SetOwnerDraw(!v);
    for (TExTabSheet* p : pages_) UpdateTab(p);
    if (!v) UpdateTabForActiveFont(activePage_);
    Invalidate();
}

void TExPageControl::SetTabBorderColor(TColor c) { tabBorderColor_ = c, Invalidate(); }
void TExPageControl::SetTabOverlap(int v) { tabOverlap_ = std::clamp(v, 0, 15), Invalidate(); }

void TExPageControl::SetTabSheet3D(bool v)
{
    if (v == tabSheet3D_) return;
    tabSheet3D_ = v;
    Invalidate();
}

void TExPageControl::SetTabSheetBorderColor(TColor c)
{
    if (c == tabSheetBorderColor_) return;
    tabSheetBorderColor_ = c;
    Invalidate();
}

void TExPageControl::SetTabSplitLine(bool v)
{
    if (v && tabStyle_ == tsDotNet) throw base::Exception("TabSplitLine must be false when TabStyle is tsDotNet");
    tabSplitLine_ = v;
    Invalidate();
}

void TExPageControl::SetTabStyle(TTabStyle s)
{
    if (s == tabStyle_) return;
    tabStyle_ = s;
    Invalidate();
}

// ---------------------------------------------------------------- mouse

void TExPageControl::InvalidateTab(int pageIndex)
{
    TRect r = TabRectEx(pageIndex);
    InflateRect(r, 3, 3);
    InvalidateRect(r);
}

void TExPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomTabControl::MouseDown(Button, Shift, X, Y);
    lastDown_ = Point(X, Y);
    // A docked control can be dragged out by its tab.
    if (Button == mbLeft && !(Shift & ssDouble))
        if (TControl* client = GetDockClientFromMousePos(lastDown_)) client->BeginDrag(false);
    if (tabBorder3D_ || !activePage_) return;
    const int active = GetActivePageIndex();
    if (activePage_->showClose_ && IsOnButton(active, X, Y)) DrawDownCloseButton(TabRectEx(active));
}

void TExPageControl::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomTabControl::MouseMove(Shift, X, Y);
    if (tabBorder3D_ || TabHoverColor == clNone) return;
    if (tabBackGround_->Empty()) {
        const int page = IndexOfTabAtEx(X, Y);
        if (page != hoverTab_) {
            if (hoverTab_ >= 0) InvalidateTab(hoverTab_);
            hoverTab_ = page;
            if (hoverTab_ >= 0) InvalidateTab(hoverTab_);
        }
    }
    if (!activePage_ || !activePage_->showClose_) return;
    const int active = GetActivePageIndex();
    const bool on = IsOnButton(active, X, Y);
    if (closeHover_ && !on) {
        DrawCloseButton(TabRectEx(active), true);
        closeHover_ = false;
    } else if (!closeHover_ && on) {
        DrawHoverCloseButton(TabRectEx(active));
        closeHover_ = true;
    }
}

void TExPageControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomTabControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || tabBorder3D_ || !activePage_ || !activePage_->showClose_) return;
    if (IsOnButton(GetActivePageIndex(), X, Y)) CloseActiveTab();
}

void TExPageControl::CloseActiveTab()
{
    TExTabSheet* sheet = activePage_;
    TExTabSheet* next = FindNextPage(sheet, true, true);
    if (next == sheet) next = nullptr;
    if (!sheet->CanCloseClick()) return;
    sheet->CloseButtonClick();
    SetActivePage(next);
    if (FreeOnClose) {
        delete sheet;
    } else {
        closed_.emplace_back(sheet->Name(), sheet);
        sheet->SetExPageControl(nullptr);
    }
    if (!next) {
        activePage_ = nullptr;
        SetTabIndex(-1);
    }
    Invalidate();
}

void TExPageControl::CMMouseLeave(TMessage& m)
{
    if (tabBackGround_->Empty() && hoverTab_ >= 0) InvalidateTab(hoverTab_);
    hoverTab_ = -1;
    TCustomTabControl::CMMouseLeave(m);
}

bool TExPageControl::IsOnButton(int pageIndex, int x, int y) const
{
    TRect r = TabRectEx(pageIndex);
    const TTabMargin& m = *tabMargin_;
    TRect b;
    if (TabPosition() == tpLeft) {
        r.Left += m.LeftMargin();
        r.Bottom -= m.TopMargin();
        if (!tabBackGroundActive_->Empty()) {
            r.Left += 2;
            r.Bottom += tabOverlap_;
        }
        b = Rect(r.Left + 2, r.Bottom - 13, r.Left + 14, r.Bottom - 2);
    } else {
        r.Left += m.LeftMargin();
        r.Top += m.TopMargin();
        b = Rect(r.Left + 2, r.Top + 2, r.Left + 14, r.Top + 13);
    }
    return PtInRect(b, Point(x, y));
}

bool TExPageControl::OpenClosedTab(const std::string& name)
{
    for (auto& [n, sheet] : closed_) {
        if (!SameText(n, name)) continue;
        if (sheet->control_ != this) sheet->SetExPageControl(this);
        return true;
    }
    return false;
}

void TExPageControl::OpenAllClosedTabs()
{
    const auto list = closed_;
    for (auto& [n, sheet] : list)
        if (sheet->control_ != this) sheet->SetExPageControl(this);
}

// ---------------------------------------------------------------- docking

namespace {
std::string FirstLine(const std::string& s) { return s.substr(0, s.find_first_of("\r\n")); }
}  // namespace

TExTabSheet* TExPageControl::DockClient(TControl* client)
{
    if (!DockSite || !client || GetPageFromDockClient(client)) return nullptr;
    client->ManualDock(this);
    return GetPageFromDockClient(client);
}

void TExPageControl::UndockClient(TControl* client)
{
    if (!GetPageFromDockClient(client) || !DoUnDock(nullptr, client)) return;
    client->SetParent(nullptr);  // leaving the site removes its page
}

void TExPageControl::CMDockClient(TCMDockClient& m)
{
    m.Result = 0;
    auto* source = reinterpret_cast<TDragDockObject*>(m.WParam);
    TControl* client = source->Control;
    auto* sheet = new TExTabSheet(this);
    newDockSheet_ = sheet;
    {
        base::ScopeFail undo([&] {
            newDockSheet_ = nullptr;
            delete sheet;
        });
        if (dynamic_cast<TCustomForm*>(client)) sheet->SetCaption(FirstLine(client->Caption()));
        sheet->SetExPageControl(this);
        TRect r = source->DockRect;
        const TPoint o = ClientToScreen(Point(0, 0));
        OffsetRect(r, -o.X, -o.Y);
        client->Dock(this, r);
    }
    newDockSheet_ = nullptr;
    sheet->SetTabVisible(client->Visible());
    if (client->Visible()) SetActivePage(sheet);
    client->SetAlign(alClient);
}

void TExPageControl::DoAddDockClient(TControl* Client, const TRect& ARect)
{
    if (!newDockSheet_) {
        TCustomTabControl::DoAddDockClient(Client, ARect);
        return;
    }
    Client->SetParent(newDockSheet_);
    docked_.push_back({Client, newDockSheet_});
    FreeNotification(Client);
}

void TExPageControl::DoRemoveDockClient(TControl* Client)
{
    TCustomTabControl::DoRemoveDockClient(Client);
    auto it = std::find_if(docked_.begin(), docked_.end(), [Client](const Docked& d) { return d.client == Client; });
    TExTabSheet* page = it != docked_.end() ? it->page : nullptr;
    if (it != docked_.end()) {
        docked_.erase(it);
        RemoveFreeNotification(Client);
    }
    if (destroying_) return;
    if (undockingPage_) page = undockingPage_;
    undockingPage_ = nullptr;
    if (page) DropDockedPage(page);
}

void TExPageControl::DropDockedPage(TExTabSheet* page)
{
    TExTabSheet* next = FindNextPage(page, true, true);
    if (next && next != page && CanChange()) {
        SetTabIndex(next->GetTabIndex());
        Change();
    }
    delete page;
}

void TExPageControl::DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    const TPoint o = ClientToScreen(Point(0, 0));
    const int f = FrameWidth();
    Source->DockRect = Bounds(o.X - f, o.Y - f, Width(), Height());
    DoDockOver(Source, X, Y, State, Accept);
}

void TExPageControl::GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock)
{
    CanDock = GetPageFromDockClient(Client) == nullptr;
    TCustomTabControl::GetSiteInfo(Client, InfluenceRect, MousePos, CanDock);
}

void TExPageControl::CMDockNotification(TCMDockNotification& m)
{
    auto* client = reinterpret_cast<TControl*>(m.WParam);
    const auto* rec = reinterpret_cast<const TDockNotifyRec*>(m.LParam);
    if (TExTabSheet* page = GetPageFromDockClient(client)) {
        if (rec->ClientMsg == CM_TEXTCHANGED) page->SetCaption(FirstLine(client->Caption()));
        else if (rec->ClientMsg == CM_VISIBLECHANGED) page->SetTabVisible(rec->MsgWParam != 0);
    }
    TCustomTabControl::CMDockNotification(m);
}

void TExPageControl::CMUnDockClient(TCMUnDockClient& m)
{
    m.Result = 0;
    auto* client = reinterpret_cast<TControl*>(m.LParam);
    undockingPage_ = GetPageFromDockClient(client);
    client->SetAlign(alNone);
}

TExTabSheet* TExPageControl::GetPageFromDockClient(TControl* client) const
{
    if (!client || client->HostDockSite() != this) return nullptr;
    for (const Docked& d : docked_)
        if (d.client == client && client->Parent() == d.page) return d.page;
    return nullptr;
}

TControl* TExPageControl::GetDockClientFromMousePos(TPoint p) const
{
    if (!DockSite) return nullptr;
    const int page = IndexOfTabAtEx(p.X, p.Y);
    if (page < 0) return nullptr;
    TExTabSheet* sheet = pages_[std::size_t(page)];
    if (sheet->ControlCount() == 0) return nullptr;
    TControl* first = sheet->Controls(0);
    return first->HostDockSite() == this ? first : nullptr;
}

void TExPageControl::DblClick()
{
    TCustomTabControl::DblClick();
    // Floats the docked control (a dock to no site).
    if (TControl* client = GetDockClientFromMousePos(lastDown_)) client->ManualDock(nullptr);
}

}  // namespace frame

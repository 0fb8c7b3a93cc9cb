// Panel settings, the panel group and the panel styler.
#include <algorithm>

#include "base/Exception.h"
#include "platform/controls/StdCtrls.h"
#include "widgets/frame/ExPanel.h"

namespace frame {

using namespace platform;

// ---------------------------------------------------------------- settings

TExPanelSettings::TExPanelSettings() : font_(std::make_unique<TFont>()), caption_(std::make_unique<TPanelCaption>())
{
    caption_->OnChange = [this](TObject*) { Changed(); };
}

TExPanelSettings::~TExPanelSettings() = default;

void TExPanelSettings::Assign(const TPersistent&) {}  // copies nothing

void TExPanelSettings::Changed()
{
    if (updateCount_ > 0) return;
    if (OnChange) OnChange(this);
}

void TExPanelSettings::EndUpdate()
{
    if (updateCount_ <= 0) return;
    if (--updateCount_ == 0) Changed();
}

void TExPanelSettings::SetCaption(const TPanelCaption& c)
{
    caption_->Assign(c);
    Changed();
}

void TExPanelSettings::SetFont(const TFont& f)
{
    font_->Assign(f);
    Changed();
}

// ---------------------------------------------------------------- group

TExPanelGroup::TExPanelGroup(TComponent* AOwner) : TExPanel(AOwner), defaultPanel_(std::make_unique<TExPanelSettings>())
{
    ControlStyle |= csAcceptsControls;
    scrollBar_ = new TScrollBar(this);
    scrollBar_->SetParent(this);
    scrollBar_->SetKind(sbVertical);
    scrollBar_->SetAlign(alRight);
    scrollBar_->SetWidth(16);
    scrollBar_->SetPosition(0);
    scrollBar_->SetVisible(false);
    scrollBar_->LargeChange = 20;
    scrollBar_->SmallChange = 2;
    scrollBar_->SetTabStop(false);
    scrollBar_->OnChange = [this](TObject*) {
        const int limit = std::max(0, scrollBar_->Max() - scrollBar_->PageSize());
        if (scrollBar_->Position() > limit) scrollBar_->SetPosition(limit);
        ArrangeControls();
    };
}

TExPanelGroup::~TExPanelGroup()
{
    const auto panels = panels_;
    panels_.clear();
    for (TCustomExPanel* p : panels) delete p;
}

void TExPanelGroup::Notification(TComponent* AComponent, TOperation Operation)
{
    // A panel that goes away (closed with FreeOnClose, or freed by its owner) leaves the list.
    if (Operation == opRemove)
        std::erase_if(panels_, [AComponent](TCustomExPanel* p) { return static_cast<TComponent*>(p) == AComponent; });
    TExPanel::Notification(AComponent, Operation);
}

std::vector<TCustomExPanel*> TExPanelGroup::ChildPanels() const
{
    std::vector<TCustomExPanel*> v;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = dynamic_cast<TCustomExPanel*>(Controls(i))) v.push_back(p);
    return v;
}

void TExPanelGroup::SetGroupStyle(TGroupStyle s)
{
    if (s == groupStyle_) return;
    groupStyle_ = s;
    UpdateScrollbar();
    ArrangeControls();
}

void TExPanelGroup::SetColumns(int v)
{
    if (v <= 0) return;
    columns_ = v;
    UpdateScrollbar();
    ArrangeControls();
    UpdateScrollbar();
}

void TExPanelGroup::SetHorzPadding(int v)
{
    if (v == horzPadding_) return;
    horzPadding_ = v;
    ArrangeControls();
}

void TExPanelGroup::SetVertPadding(int v)
{
    if (v == vertPadding_) return;
    vertPadding_ = v;
    ArrangeControls();
}

void TExPanelGroup::SetDefaultPanel(const TExPanelSettings& s) { defaultPanel_->Assign(s); }

void TExPanelGroup::ArrangeControls()
{
    if (Loading || arranging_ || updateCount_ > 0) return;
    arranging_ = true;
    if (groupStyle_ == gsHorizontal) ArrangeControlsHorz();
    else ArrangeControlsVert();
    arranging_ = false;
}

void TExPanelGroup::ArrangeControlsVert()
{
    std::vector<TCustomExPanel*> v = ChildPanels();
    std::stable_sort(v.begin(), v.end(), [this](TCustomExPanel* a, TCustomExPanel* b) {
        return arrangeByIndex_ ? a->Index() < b->Index() : a->Top() < b->Top();
    });
    const bool bar = scrollBar_->Visible();
    int y = vertPadding_ - (bar ? scrollBar_->Position() : 0) + (Caption().Visible() ? Caption().Height() : 0);
    const int S = bar ? scrollBar_->Width() : 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const int k = int(i) + 1;
        TCustomExPanel* p = v[i];
        const int width = (Width() - 2 * horzPadding_ - S) / columns_;
        const int left = ((Width() - S - horzPadding_) / columns_) * ((k - 1) % columns_) + horzPadding_;
        p->SetBounds(left, y, width, p->Height());
        if (p->Visible() && k % columns_ == 0) y += p->Height() + vertPadding_;
    }
}

void TExPanelGroup::ArrangeControlsHorz()
{
    std::vector<TCustomExPanel*> v = ChildPanels();
    std::stable_sort(v.begin(), v.end(), [](TCustomExPanel* a, TCustomExPanel* b) { return a->Left() < b->Left(); });
    const bool bar = scrollBar_->Visible();
    int x = horzPadding_ - (bar ? scrollBar_->Position() : 0);
    for (TCustomExPanel* p : v) {
        p->SetBounds(x, vertPadding_, p->Width(), Height() - 2 * vertPadding_ - (bar ? scrollBar_->Height() : 0));
        if (p->Visible()) x += p->Width() + horzPadding_;
    }
}

int TExPanelGroup::PanelHeights() const
{
    int t = vertPadding_;
    for (int i = 0; i < ControlCount(); ++i) {
        auto* p = dynamic_cast<TCustomExPanel*>(Controls(i));
        if (p && p->Visible() && (i + 1) % columns_ == 0) t += p->Height() + vertPadding_;
    }
    return t;
}

int TExPanelGroup::PanelWidths() const
{
    int t = horzPadding_;
    for (TCustomExPanel* p : ChildPanels())
        if (p->Visible()) t += p->Width() + horzPadding_;
    return t;
}

void TExPanelGroup::UpdateScrollbar()
{
    if (updateCount_ > 0) return;
    if (groupStyle_ == gsHorizontal) {
        scrollBar_->SetKind(sbHorizontal);
        if (scrollBar_->Align() == alRight) scrollBar_->SetAlign(alBottom);
        scrollBar_->SetHeight(16);
        const int T = PanelWidths();
        if (Width() < T) {
            if (scrollBar_->Position() > T) scrollBar_->SetPosition(T);
            scrollBar_->SetPageSize(Width());
            scrollBar_->SetMax(T);
        }
        scrollBar_->SetVisible(Width() < T);
    } else {
        scrollBar_->SetKind(sbVertical);
        scrollBar_->SetWidth(16);
        const int T = PanelHeights();
        if (Height() < T && T > 0) {
            if (scrollBar_->Position() > T) scrollBar_->SetPosition(T);
            scrollBar_->SetMax(T);
            scrollBar_->SetPageSize(Height());
        }
        scrollBar_->SetVisible(Height() < T);
    }
    scrollBar_->Invalidate();
}

void TExPanelGroup::ChildPanelChanged(TCustomExPanel*)
{
    UpdateScrollbar();
    ArrangeControls();
}

void TExPanelGroup::UpdateGroup()
{
    ArrangeControls();
    UpdateScrollbar();
    SetHeight(Height() + 1);
    SetHeight(Height() - 1);
}

void TExPanelGroup::Loaded()
{
    TExPanel::Loaded();
    UpdateScrollbar();
    ArrangeControls();
}

void TExPanelGroup::StateChange()
{
    TExPanel::StateChange();
    ArrangeControls();
    UpdateScrollbar();
}

void TExPanelGroup::SetBounds(int l, int t, int w, int h)
{
    TExPanel::SetBounds(l, t, w, h);
    ArrangeControls();
}

void TExPanelGroup::WMSize(TWMSize& m)
{
    TExPanel::WMSize(m);
    UpdateScrollbar();
}

bool TExPanelGroup::DoMouseWheelDown(TShiftState, TPoint)
{
    scrollBar_->SetPosition(scrollBar_->Position() + 2 * scrollBar_->SmallChange);
    return true;
}

bool TExPanelGroup::DoMouseWheelUp(TShiftState, TPoint)
{
    scrollBar_->SetPosition(scrollBar_->Position() - 2 * scrollBar_->SmallChange);
    return true;
}

void TExPanelGroup::Renumber()
{
    for (std::size_t i = 0; i < panels_.size(); ++i) panels_[i]->SetIndex(int(i));
}

TCustomExPanel* TExPanelGroup::AddPanel() { return InsertPanel(PanelCount()); }

TCustomExPanel* TExPanelGroup::InsertPanel(int index)
{
    if (index < 0 || index > PanelCount()) throw base::EListError("List index out of bounds (" + std::to_string(index) + ")");
    auto* p = new TCustomExPanel(this);
    p->SetParent(this);
    p->AssignSettings(*defaultPanel_);
    p->SetTop(100000);  // after the others until arranged
    panels_.insert(panels_.begin() + index, p);
    p->FreeNotification(this);
    Renumber();
    UpdateScrollbar();
    arrangeByIndex_ = true;
    ArrangeControls();
    arrangeByIndex_ = false;
    UpdateScrollbar();
    return p;
}

void TExPanelGroup::RemovePanel(int index)
{
    if (index < 0 || index >= PanelCount()) return;
    TCustomExPanel* p = panels_[std::size_t(index)];
    panels_.erase(panels_.begin() + index);
    delete p;
    Renumber();
    ArrangeControls();
}

void TExPanelGroup::MovePanel(int from, int to)
{
    if (from < 0 || from >= PanelCount() || to < 0 || to >= PanelCount()) return;
    TCustomExPanel* p = panels_[std::size_t(from)];
    panels_.erase(panels_.begin() + from);
    panels_.insert(panels_.begin() + to, p);
    Renumber();
    arrangeByIndex_ = true;
    ArrangeControls();
    arrangeByIndex_ = false;
}

TCustomExPanel* TExPanelGroup::Panels(int index) const
{
    if (index < 0 || index >= PanelCount()) throw base::EListError("List index out of bounds (" + std::to_string(index) + ")");
    return panels_[std::size_t(index)];
}

void TExPanelGroup::SetPanel(int index, TCustomExPanel* panel)
{
    if (panel) Panels(index)->Assign(*panel);
}

void TExPanelGroup::Clear()
{
    for (TCustomExPanel* p : ChildPanels()) delete p;
    panels_.clear();
    UpdateScrollbar();
}

void TExPanelGroup::InitPanels()
{
    panels_ = ChildPanels();
    for (TCustomExPanel* p : panels_) p->FreeNotification(this);
    Renumber();
}

void TExPanelGroup::BeginUpdate()
{
    if (updateCount_ == 0) Perform(WM_SETREDRAW, 0, 0);
    ++updateCount_;
}

void TExPanelGroup::EndUpdate()
{
    if (updateCount_ <= 0) return;
    if (--updateCount_ > 0) return;
    Perform(WM_SETREDRAW, 1, 0);
    UpdateScrollbar();
    ArrangeControls();
    UpdateScrollbar();
    Invalidate();
}

void TExPanelGroup::CloseAllPanels()
{
    BeginUpdate();
    for (TCustomExPanel* p : ChildPanels()) p->SetCollaps(true);
    EndUpdate();
}

void TExPanelGroup::OpenAllPanels()
{
    BeginUpdate();
    for (TCustomExPanel* p : ChildPanels()) p->SetCollaps(false);
    EndUpdate();
}

void TExPanelGroup::SavePanelPositions()
{
    for (TCustomExPanel* p : ChildPanels()) {
        TPanelPosition kept;
        kept.Assign(p->Position());
        p->Position().Assign(Position());
        p->Position().Section = p->Name();
        p->SavePosition();
        p->Position().Assign(kept);
    }
}

void TExPanelGroup::LoadPanelPositions()
{
    for (TCustomExPanel* p : ChildPanels()) {
        TPanelPosition kept;
        kept.Assign(p->Position());
        p->Position().Assign(Position());
        p->Position().Section = p->Name();
        p->LoadPosition();
        p->Position().Assign(kept);
    }
}

// ---------------------------------------------------------------- styler

TExPanelStyler::TExPanelStyler(TComponent* AOwner) : TComponent(AOwner), settings_(std::make_unique<TExPanelSettings>())
{
    settings_->OnChange = [this](TObject* s) { Changed(s); };
    SetStyle(psXP);
}

TExPanelStyler::~TExPanelStyler() = default;

void TExPanelStyler::SetSettings(const TExPanelSettings& s) { settings_->Assign(s); }

void TExPanelStyler::Changed(TObject*)
{
    if (Loading || !Owner()) return;
    for (int i = 0; i < Owner()->ComponentCount(); ++i)
        if (auto* p = dynamic_cast<TCustomExPanel*>(Owner()->Components(i)); p && p->Styler() == this)
            p->AssignStyle(*settings_);
}

void TExPanelStyler::SetStyle(TExPanelStyle s)
{
    if (Loading) return;
    style_ = s;
    TExPanelSettings& st = *settings_;
    TPanelCaption& cap = st.Caption();
    st.BeginUpdate();
    st.BevelInner = bvNone;
    st.BorderColor = TColor(0x808080);
    st.BorderStyle = bsNone;
    st.CollapsColor = clBtnFace;
    switch (s) {
    case psXP:
        st.Color = clWhite, st.ColorTo = TColor(0xE3F0F2);
        st.Font().SetName("Verdana");
        cap.Font().SetName("Verdana"), cap.Font().SetColor(clHighlightText);
        st.BevelOuter = bvNone, st.BorderShadow = true;
        cap.SetColor(clHighlight), cap.SetColorTo(TColor(0xFF0000)), cap.SetShadeType(stNormal);
        cap.SetVisible(true), cap.SetIndent(2);
        break;
    case psFlat:
        st.Color = clBtnFace, st.ColorTo = clNone;
        st.Font().SetName("Tahoma"), st.Font().SetColor(clWindowText);
        cap.Font().SetName("Tahoma"), cap.Font().SetColor(clHighlightText);
        st.BevelOuter = bvNone, st.BorderShadow = false;
        cap.SetColor(clHighlight), cap.SetColorTo(clNone), cap.SetShadeType(stNormal);
        cap.SetVisible(true), cap.SetHeight(20), cap.SetIndent(0);
        break;
    case psMetal:
        st.Color = clWhite, st.ColorTo = TColor(0xE4E4E4);
        st.Font().SetName("Tahoma"), st.Font().SetColor(clWindowText);
        cap.Font().SetName("Tahoma"), cap.Font().SetColor(clBlack);
        st.BevelOuter = bvNone, st.BorderShadow = true;
        cap.SetColor(clWhite), cap.SetColorTo(clNone), cap.SetShadeType(stRMetal);
        cap.SetShadeGrain(32), cap.SetShadeLight(255);
        cap.SetVisible(true), cap.SetIndent(4);
        break;
    case psClassic:
        st.Color = clBtnFace, st.ColorTo = clNone;
        st.Font().SetName("MS Sans Serif"), st.Font().SetColor(clWindowText);
        cap.Font().SetName("MS Sans Serif"), cap.Font().SetColor(clHighlightText);
        st.BevelOuter = bvRaised, st.BorderShadow = false;
        cap.SetColor(clWhite), cap.SetColorTo(clNone), cap.SetShadeType(stNormal);
        cap.SetShadeGrain(32), cap.SetShadeLight(255);
        cap.SetVisible(false);
        break;
    }
    st.EndUpdate();
}

}  // namespace frame

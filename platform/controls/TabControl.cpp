#include "platform/controls/TabControl.h"

#include <algorithm>

#include "platform/controls/ListBox.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/ImageList.h"

namespace platform {

namespace {
constexpr int kMargin = 2;   // before the first tab and above the row
constexpr int kPadding = 6;  // on each side of a tab's text
constexpr int kPageInset = 4;
}  // namespace

TCustomTabControl::TCustomTabControl(TComponent* AOwner)
    : TCustomControl(AOwner), tabs_(std::make_unique<TListItems>())
{
    ControlStyle |= csAcceptsControls;
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
    tabs_->OnInserted = [this](int index) {
        highlighted_.insert(highlighted_.begin() + index, false);
        if (tabIndex_ >= index) ++tabIndex_;
        if (tabIndex_ < 0 && tabs_->Count() == 1) tabIndex_ = 0;  // the first tab comes selected
    };
    tabs_->OnDeleted = [this](int index) {
        highlighted_.erase(highlighted_.begin() + index);
        // The selection stays at its place, or on the new last tab.
        if (tabIndex_ > index || tabIndex_ >= tabs_->Count()) --tabIndex_;
    };
    tabs_->OnCleared = [this] {
        highlighted_.clear();
        tabIndex_ = -1;
    };
    tabs_->OnChanged = [this] { TabsChanged(); };
}

TCustomTabControl::~TCustomTabControl() = default;

base::TStrings& TCustomTabControl::Tabs() { return *tabs_; }

void TCustomTabControl::TabsChanged() { Invalidate(); }

void TCustomTabControl::SetTabIndex(int Value)
{
    if (Value < -1 || Value >= tabs_->Count()) Value = -1;
    if (Value == tabIndex_) return;
    tabIndex_ = Value;
    Invalidate();
}

void TCustomTabControl::SetTabPosition(TTabPosition Value)
{
    if (Value == tabPosition_) return;
    tabPosition_ = Value;
    Realign();
    Invalidate();
}

void TCustomTabControl::SetOwnerDraw(bool Value)
{
    ownerDraw_ = Value;
    Invalidate();
}

void TCustomTabControl::SetTabHeight(int Value)
{
    tabHeight_ = std::max(0, Value);
    Realign();
    Invalidate();
}

void TCustomTabControl::SetTabWidth(int Value)
{
    tabWidth_ = std::max(0, Value);
    Invalidate();
}

void TCustomTabControl::SetImages(TImageList* Value)
{
    if (images_) RemoveFreeNotification(images_);
    images_ = Value;
    if (images_) FreeNotification(images_);
    Realign();
    Invalidate();
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == images_) images_ = nullptr;
    TCustomControl::Notification(AComponent, Operation);
}

bool TCustomTabControl::Highlighted(int Index) const
{
    return Index >= 0 && Index < int(highlighted_.size()) && highlighted_[std::size_t(Index)];
}

void TCustomTabControl::SetHighlighted(int Index, bool Value)
{
    if (Index < 0 || Index >= int(highlighted_.size())) return;
    highlighted_[std::size_t(Index)] = Value;
    Invalidate();
}

int TCustomTabControl::GetImageIndex(int TabIndex)
{
    int index = TabIndex;
    if (OnGetImageIndex) OnGetImageIndex(this, TabIndex, index);
    return index;
}

// ---------------------------------------------------------------- layout

int TCustomTabControl::TabThickness() const
{
    if (tabHeight_ > 0) return tabHeight_;
    auto* self = const_cast<TCustomTabControl*>(this);
    self->Canvas()->Font().Assign(*self->Font());
    int h = self->Canvas()->TextHeight("Wg") + 6;
    if (images_) h = std::max(h, (Vertical() ? images_->Width() : images_->Height()) + 6);
    return h;
}

int TCustomTabControl::TabLength(int Index) const
{
    if (tabWidth_ > 0) return tabWidth_;
    auto* self = const_cast<TCustomTabControl*>(this);
    self->Canvas()->Font().Assign(*self->Font());
    int len = self->Canvas()->TextWidth(tabs_->Get(Index)) + 2 * kPadding;
    if (images_ && self->GetImageIndex(Index) >= 0) len += (Vertical() ? images_->Height() : images_->Width()) + 3;
    return len;
}

void TCustomTabControl::SetMultiLine(bool Value)
{
    if (Value == multiLine_) return;
    multiLine_ = Value;
    Realign();
    Invalidate();
}

void TCustomTabControl::SetRaggedRight(bool Value)
{
    raggedRight_ = Value;
    Invalidate();
}

std::vector<TCustomTabControl::TabPlace> TCustomTabControl::Layout(int* rows) const
{
    const int n = tabs_->Count();
    std::vector<TabPlace> places(static_cast<std::size_t>(n));
    const int room = (Vertical() ? ClientHeight() : ClientWidth()) - 2 * kMargin;
    std::vector<std::vector<int>> lines(1);
    int used = 0;
    for (int i = 0; i < n; ++i) {
        const int len = TabLength(i);
        if (multiLine_ && !lines.back().empty() && used + len > room) {
            lines.emplace_back();
            used = 0;
        }
        lines.back().push_back(i);
        places[std::size_t(i)].length = len;
        used += len;
    }
    const int count = n > 0 ? int(lines.size()) : 0;
    if (rows) *rows = count;
    int selectedLine = count - 1;
    for (int r = 0; r < count; ++r)
        for (int i : lines[std::size_t(r)])
            if (i == tabIndex_) selectedLine = r;
    for (int r = 0; r < count; ++r) {
        const auto& line = lines[std::size_t(r)];
        int sum = 0;
        for (int i : line) sum += places[std::size_t(i)].length;
        const int extra = count > 1 && !raggedRight_ ? std::max(0, room - sum) : 0;
        const int k = int(line.size());
        int along = kMargin;
        for (int j = 0; j < k; ++j) {
            TabPlace& p = places[std::size_t(line[std::size_t(j)])];
            p.length += extra / k + (j < extra % k ? 1 : 0);
            p.along = along;
            along += p.length;
            // The rows turn so that the selected one comes next to the page, keeping their order.
            const int fromFar = (r - selectedLine - 1 + 2 * count) % count;
            p.row = count - 1 - fromFar;
        }
    }
    return places;
}

int TCustomTabControl::RowCount() const
{
    int rows = 0;
    Layout(&rows);
    return rows;
}

TRect TCustomTabControl::TabRect(int Index) const
{
    if (Index < 0 || Index >= tabs_->Count()) return TRect{};
    int rows = 0;
    const TabPlace p = Layout(&rows)[std::size_t(Index)];
    const int thick = TabThickness();
    const TRect c = ClientRect();
    const int nearEnd = kMargin + (rows - 1 - p.row) * thick;  // from the far edge
    const int farEnd = rows * thick + kMargin - p.row * thick; // from the near edge
    switch (tabPosition_) {
    case tpTop: return Rect(p.along, nearEnd, p.along + p.length, nearEnd + thick);
    case tpBottom: return Rect(p.along, c.Bottom - farEnd, p.along + p.length, c.Bottom - farEnd + thick);
    case tpLeft: return Rect(nearEnd, p.along, nearEnd + thick, p.along + p.length);
    case tpRight: return Rect(c.Right - farEnd, p.along, c.Right - farEnd + thick, p.along + p.length);
    }
    return TRect{};
}

int TCustomTabControl::StripEdge() const
{
    const int thick = tabs_->Count() > 0 ? TabThickness() * RowCount() : 0;
    const TRect c = ClientRect();
    switch (tabPosition_) {
    case tpTop: return kMargin + thick;
    case tpBottom: return c.Bottom - kMargin - thick;
    case tpLeft: return kMargin + thick;
    case tpRight: return c.Right - kMargin - thick;
    }
    return 0;
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) const
{
    for (int i = 0; i < tabs_->Count(); ++i)
        if (PtInRect(TabRect(i), Point(X, Y))) return i;
    return -1;
}

TRect TCustomTabControl::DisplayRect() const
{
    TRect r = ClientRect();
    const int edge = StripEdge();
    switch (tabPosition_) {
    case tpTop: r.Top = edge; break;
    case tpBottom: r.Bottom = edge; break;
    case tpLeft: r.Left = edge; break;
    case tpRight: r.Right = edge; break;
    }
    InflateRect(r, -kPageInset, -kPageInset);
    return r;
}

// ---------------------------------------------------------------- selection

LRESULT TCustomTabControl::SendNotify(UINT code)
{
    NMHDR hdr;
    hdr.hwndFrom = HandleAllocated() ? Handle() : nullptr;
    hdr.code = code;
    return Perform(CN_NOTIFY, 0, LPARAM(&hdr));
}

bool TCustomTabControl::CanChange()
{
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change()
{
    if (OnChange) OnChange(this);
}

bool TCustomTabControl::SelectTabByUser(int Index)
{
    if (Index < 0 || Index >= tabs_->Count() || Index == tabIndex_ || !CanShowTab(Index)) return false;
    if (SendNotify(TCN_SELCHANGING)) return false;
    tabIndex_ = Index;
    Invalidate();
    SendNotify(TCN_SELCHANGE);
    return true;
}

void TCustomTabControl::CNNotify(TMessage& m)
{
    NMHDR* hdr = NMHdrOf(m);
    if (!hdr) return;
    switch (hdr->code) {
    case TCN_SELCHANGING: m.Result = !CanChange(); break;
    case TCN_SELCHANGE: Change(); break;
    default: DefaultHandler(m); break;
    }
}

void TCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        const int i = IndexOfTabAt(X, Y);
        if (i >= 0) {
            if (CanFocus()) SetFocus();
            SelectTabByUser(i);
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTabControl::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const int n = tabs_->Count();
    if (!Key || n == 0) return;
    int to = -1;
    if (Key == VK_LEFT || Key == VK_UP) to = std::max(0, tabIndex_ - 1);
    else if (Key == VK_RIGHT || Key == VK_DOWN) to = std::min(n - 1, tabIndex_ + 1);
    else if (Key == VK_HOME) to = 0;
    else if (Key == VK_END) to = n - 1;
    if (to >= 0) SelectTabByUser(to);
}

void TCustomTabControl::Dispatch(TMessage& m)
{
    if (m.Msg == CN_NOTIFY) CNNotify(m);
    else TCustomControl::Dispatch(m);
}

void TCustomTabControl::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case TCM_GETITEMCOUNT: m.Result = tabs_->Count(); return;
    case TCM_GETCURSEL: m.Result = tabIndex_; return;
    case TCM_SETCURSEL: {
        const int old = tabIndex_;
        SetTabIndex(int(m.WParam));
        m.Result = old;
        return;
    }
    case TCM_GETITEMRECT:
        if (auto* r = reinterpret_cast<TRect*>(m.LParam)) *r = TabRect(int(m.WParam));
        m.Result = int(m.WParam) >= 0 && int(m.WParam) < tabs_->Count();
        return;
    case TCM_HITTEST:
        if (auto* info = reinterpret_cast<TCHITTESTINFO*>(m.LParam)) {
            const int i = IndexOfTabAt(info->pt.X, info->pt.Y);
            info->flags = i >= 0 ? TCHT_ONITEM : TCHT_NOWHERE;
            m.Result = i;
        }
        return;
    case TCM_HIGHLIGHTITEM:
        SetHighlighted(int(m.WParam), m.LParamLo() != 0);
        m.Result = 1;
        return;
    case TCM_ADJUSTRECT:
        // WParam 0: the page area of the window rectangle given in LParam.
        if (auto* r = reinterpret_cast<TRect*>(m.LParam); r && m.WParam == 0) *r = DisplayRect();
        return;
    default: break;
    }
    TCustomControl::DefaultHandler(m);
}

// ---------------------------------------------------------------- painting

void TCustomTabControl::DrawTab(int TabIndex, const TRect& Rect, bool Active)
{
    if (OnDrawTab) OnDrawTab(this, TabIndex, Rect, Active);
    else Canvas()->FillRect(Rect);
}

void TCustomTabControl::PaintTab(int Index, bool Active)
{
    TCanvas* c = Canvas();
    TRect r = TabRect(Index);
    // The selected tab stands out towards its free side and joins the page.
    if (Active) {
        InflateRect(r, Vertical() ? 0 : 2, Vertical() ? 2 : 0);
        switch (tabPosition_) {
        case tpTop: r.Top -= 2; r.Bottom += 2; break;
        case tpBottom: r.Bottom += 2; r.Top -= 2; break;
        case tpLeft: r.Left -= 2; r.Right += 2; break;
        case tpRight: r.Right += 2; r.Left -= 2; break;
        }
    }
    HDC dc = c->Handle();
    const COLORREF face = ColorToRGB(Highlighted(Index) ? clHighlight : clBtnFace);
    FillRect(dc, r, face);
    UINT sides = BF_RECT;
    switch (tabPosition_) {
    case tpTop: sides &= ~UINT(BF_BOTTOM); break;
    case tpBottom: sides &= ~UINT(BF_TOP); break;
    case tpLeft: sides &= ~UINT(BF_RIGHT); break;
    case tpRight: sides &= ~UINT(BF_LEFT); break;
    }
    TRect edge = r;
    DrawEdge(dc, edge, EDGE_RAISED, sides | BF_ADJUST);
    TRect inner = r;
    InflateRect(inner, -2, -2);
    c->Brush().SetColor(Highlighted(Index) ? clHighlight : clBtnFace);
    c->Brush().SetStyle(bsSolid);
    c->Font().Assign(*Font());
    if (ownerDraw_) {
        DrawTab(Index, inner, Active);
    } else {
        int x = inner.Left + kPadding - 2;
        if (images_) {
            const int image = GetImageIndex(Index);
            if (image >= 0) {
                images_->Draw(c, x, (inner.Top + inner.Bottom - images_->Height()) / 2, image, Enabled());
                x += images_->Width() + 3;
            }
        }
        c->Brush().SetStyle(bsClear);
        if (Highlighted(Index)) c->Font().SetColor(clHighlightText);
        const std::string& caption = tabs_->Get(Index);
        if (!Vertical()) {
            TRect text = Rect(x, inner.Top, inner.Right, inner.Bottom);
            DrawText(c->Handle(), caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        } else {
            // Tabs at the sides read upwards on the left and downwards on the right.
            const int h = c->TextHeight(caption);
            const int across = (inner.Width() - h) / 2;
            c->Font().SetEscapement(tabPosition_ == tpLeft ? 900 : 2700);
            if (tabPosition_ == tpLeft) c->TextOut(inner.Left + across, inner.Bottom - kPadding + 2, caption);
            else c->TextOut(inner.Right - across, inner.Top + kPadding - 2, caption);
            c->Font().SetEscapement(0);
        }
        c->Brush().SetStyle(bsSolid);
    }
    if (Active && Focused()) {
        TRect focus = inner;
        c->DrawFocusRect(focus);
    }
}

void TCustomTabControl::Paint()
{
    TCanvas* c = Canvas();
    c->Brush().SetColor(Color());
    c->Brush().SetStyle(bsSolid);
    c->FillRect(ClientRect());
    // The page frame, then the tabs with the selected one last, over the frame.
    TRect frame = DisplayRect();
    InflateRect(frame, kPageInset, kPageInset);
    DrawEdge(c->Handle(), frame, EDGE_RAISED, BF_RECT);
    for (int i = 0; i < tabs_->Count(); ++i)
        if (i != tabIndex_) PaintTab(i, false);
    if (tabIndex_ >= 0) PaintTab(tabIndex_, true);
}

}  // namespace platform

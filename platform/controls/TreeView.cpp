#include "platform/controls/TreeView.h"

#include <algorithm>
#include <cstring>

#include "platform/controls/ListBox.h"
#include "platform/graphics/GDI.h"

namespace platform {

namespace {
constexpr int kButtonHalf = 4;  // the expand button is 9 by 9 around its centre
constexpr int kTextPad = 2;     // between the text rectangle's edges and the text
constexpr int kLineStep = 5;    // pixels of a horizontal scroll line
}  // namespace

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TCustomControl(AOwner), items_(std::make_unique<TTreeNodes>(this))
{
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
}

TCustomTreeView::~TCustomTreeView()
{
    destroying_ = true;
    selected_ = nullptr;
    items_.reset();
}

void TCustomTreeView::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollBars();
}

LRESULT TCustomTreeView::SendNotify(UINT code, void* record)
{
    auto* hdr = static_cast<NMHDR*>(record);
    hdr->hwndFrom = HandleAllocated() ? Handle() : nullptr;
    hdr->code = code;
    return Perform(CN_NOTIFY, 0, LPARAM(record));
}

// ---------------------------------------------------------------- rows and geometry

void TCustomTreeView::NodesChanged()
{
    rowsValid_ = false;
    if (destroying_ || (items_ && items_->updateCount_ > 0)) return;
    SetTopRow(topRow_);
    UpdateScrollBars();
    Invalidate();
}

const std::vector<TTreeNode*>& TCustomTreeView::Rows() const
{
    if (rowsValid_) return rows_;
    rows_.clear();
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNextVisible()) rows_.push_back(n);
    rowsValid_ = true;
    return rows_;
}

int TCustomTreeView::RowOf(const TTreeNode* Node) const
{
    if (!Node || !Node->IsVisible()) return -1;
    const auto& rows = Rows();
    const auto it = std::find(rows.begin(), rows.end(), Node);
    return it == rows.end() ? -1 : int(it - rows.begin());
}

int TCustomTreeView::VisibleRowCount() const { return std::max(1, ClientHeight() / itemHeight_); }

void TCustomTreeView::SetTopRow(int row)
{
    const int last = std::max(0, int(Rows().size()) - VisibleRowCount());
    row = std::clamp(row, 0, last);
    if (row == topRow_) return;
    topRow_ = row;
    UpdateScrollBars();
    Invalidate();
}

TTreeNode* TCustomTreeView::TopItem() const
{
    const auto& rows = Rows();
    return topRow_ < int(rows.size()) ? rows[std::size_t(topRow_)] : nullptr;
}

void TCustomTreeView::SetTopItem(TTreeNode* Node)
{
    const int row = RowOf(Node);
    if (row >= 0) SetTopRow(row);
}

void TCustomTreeView::ScrollIntoView(const TTreeNode* Node)
{
    const int row = RowOf(Node);
    if (row < 0) return;
    if (row < topRow_) SetTopRow(row);
    else if (row >= topRow_ + VisibleRowCount()) SetTopRow(row - VisibleRowCount() + 1);
}

int TCustomTreeView::TextLeft(const TTreeNode* Node) const
{
    return (Node->Level() + (showRoot_ ? 1 : 0)) * indent_ - scrollX_;
}

std::string TCustomTreeView::DisplayText(TTreeNode* Node)
{
    char buffer[1024] = {};
    NMTVDISPINFO info;
    info.item.mask = TVIF_TEXT;
    info.item.hItem = Node;
    info.item.lParam = LPARAM(Node);
    info.item.pszText = buffer;
    info.item.cchTextMax = int(sizeof buffer);
    SendNotify(TVN_GETDISPINFO, &info);
    return std::string(info.item.pszText ? info.item.pszText : "");
}

int TCustomTreeView::TextWidthOf(const TTreeNode* Node)
{
    if (Node->textWidth_ < 0) {
        Canvas()->Font().Assign(*Font());
        Node->textWidth_ = Canvas()->TextWidth(DisplayText(const_cast<TTreeNode*>(Node)));
    }
    return Node->textWidth_;
}

TRect TCustomTreeView::NodeRect(const TTreeNode* Node, bool TextOnly)
{
    const int row = RowOf(Node);
    if (row < 0) return TRect{};
    const int top = (row - topRow_) * itemHeight_;
    if (!TextOnly) return Rect(0, top, ClientWidth(), top + itemHeight_);
    const int left = TextLeft(Node);
    return Rect(left, top, left + TextWidthOf(Node) + 2 * kTextPad, top + itemHeight_);
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const
{
    (void)X;
    if (Y < 0) return nullptr;
    const int row = topRow_ + Y / itemHeight_;
    const auto& rows = Rows();
    return row < int(rows.size()) ? rows[std::size_t(row)] : nullptr;
}

UINT TCustomTreeView::GetHitTestInfoAt(int X, int Y) const
{
    UINT flags = 0;
    if (Y < 0) flags |= TVHT_ABOVE;
    if (Y >= ClientHeight()) flags |= TVHT_BELOW;
    if (X < 0) flags |= TVHT_TOLEFT;
    if (X >= ClientWidth()) flags |= TVHT_TORIGHT;
    if (flags) return flags;
    TTreeNode* node = GetNodeAt(X, Y);
    if (!node) return TVHT_NOWHERE;
    auto* self = const_cast<TCustomTreeView*>(this);
    const TRect text = self->NodeRect(node, true);
    if (X >= text.Right) return TVHT_ONITEMRIGHT;
    if (X >= text.Left) return TVHT_ONITEMLABEL;
    const int column = node->Level() + (showRoot_ ? 1 : 0) - 1;
    if (showButtons_ && node->HasChildren() && column >= 0) {
        const int cx = column * indent_ + indent_ / 2 - scrollX_;
        if (X >= cx - kButtonHalf && X <= cx + kButtonHalf) return TVHT_ONITEMBUTTON;
    }
    return TVHT_ONITEMINDENT;
}

// ---------------------------------------------------------------- scrolling

void TCustomTreeView::UpdateScrollBars()
{
    if (!HandleAllocated() || updatingBars_ || destroying_) return;
    updatingBars_ = true;
    const auto rows = Rows();
    // The widest row, unscrolled.
    int widest = 0;
    for (TTreeNode* n : rows) widest = std::max(widest, TextLeft(n) + scrollX_ + TextWidthOf(n) + 2 * kTextPad);
    // A bar that comes or goes changes the room for the other: settle in a few rounds.
    for (int round = 0; round < 3; ++round) {
        const TRect before = ClientRect();
        SCROLLINFO h;
        h.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        h.nMax = std::max(0, widest - 1);
        h.nPage = UINT(std::max(1, ClientWidth()));
        scrollX_ = std::clamp(scrollX_, 0, std::max(0, widest - ClientWidth()));
        h.nPos = scrollX_;
        SetScrollInfo(Handle(), SB_HORZ, h, true);
        topRow_ = std::clamp(topRow_, 0, std::max(0, int(rows.size()) - VisibleRowCount()));
        SCROLLINFO v;
        v.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        v.nMax = std::max(0, int(rows.size()) - 1);
        v.nPage = UINT(VisibleRowCount());
        v.nPos = topRow_;
        SetScrollInfo(Handle(), SB_VERT, v, true);
        if (ClientRect() == before) break;
    }
    updatingBars_ = false;
}

void TCustomTreeView::ScrollToH(int x)
{
    SCROLLINFO h;
    h.fMask = SIF_RANGE | SIF_PAGE;
    int most = 0;
    if (HandleAllocated() && GetScrollInfo(Handle(), SB_HORZ, h)) most = std::max(0, h.nMax + 1 - int(h.nPage));
    x = std::clamp(x, 0, most);
    if (x == scrollX_) return;
    scrollX_ = x;
    if (HandleAllocated()) SetScrollPos(Handle(), SB_HORZ, x, true);
    Invalidate();
}

void TCustomTreeView::WMHScroll(TWMHScroll& m)
{
    const int page = std::max(1, ClientWidth());
    switch (m.WParamLo()) {
    case SB_LINELEFT: ScrollToH(scrollX_ - kLineStep); break;
    case SB_LINERIGHT: ScrollToH(scrollX_ + kLineStep); break;
    case SB_PAGELEFT: ScrollToH(scrollX_ - page); break;
    case SB_PAGERIGHT: ScrollToH(scrollX_ + page); break;
    case SB_LEFT: ScrollToH(0); break;
    case SB_RIGHT: ScrollToH(1 << 30); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollToH(m.WParamHi()); break;
    default: break;
    }
    m.Result = 0;
}

void TCustomTreeView::WMVScroll(TWMVScroll& m)
{
    const int page = std::max(1, VisibleRowCount() - 1);
    switch (m.WParamLo()) {
    case SB_LINEUP: SetTopRow(topRow_ - 1); break;
    case SB_LINEDOWN: SetTopRow(topRow_ + 1); break;
    case SB_PAGEUP: SetTopRow(topRow_ - page); break;
    case SB_PAGEDOWN: SetTopRow(topRow_ + page); break;
    case SB_TOP: SetTopRow(0); break;
    case SB_BOTTOM: SetTopRow(int(Rows().size())); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetTopRow(m.WParamHi()); break;
    default: break;
    }
    m.Result = 0;
}

void TCustomTreeView::WMSize(TWMSize& m)
{
    TCustomControl::WMSize(m);
    UpdateScrollBars();
}

bool TCustomTreeView::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    SetTopRow(topRow_ - WheelDelta / 120 * WheelScrollLines());
    return true;
}

void TCustomTreeView::CMFontChanged(TMessage& m)
{
    TCustomControl::CMFontChanged(m);
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNext()) n->textWidth_ = -1;
    UpdateScrollBars();
}

// ---------------------------------------------------------------- properties

void TCustomTreeView::SetIndent(int Value)
{
    Value = std::max(0, Value);
    if (Value == indent_) return;
    indent_ = Value;
    UpdateScrollBars();
    Invalidate();
}

void TCustomTreeView::SetItemHeight(int Value)
{
    if (Value <= 0) Value = 16;
    if (Value == itemHeight_) return;
    itemHeight_ = Value;
    UpdateScrollBars();
    Invalidate();
}

void TCustomTreeView::SetShowLines(bool v) { showLines_ = v; Invalidate(); }
void TCustomTreeView::SetShowButtons(bool v) { showButtons_ = v; Invalidate(); }
void TCustomTreeView::SetHideSelection(bool v) { hideSelection_ = v; Invalidate(); }

void TCustomTreeView::SetShowRoot(bool v)
{
    showRoot_ = v;
    UpdateScrollBars();
    Invalidate();
}

void TCustomTreeView::FullExpand()
{
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNextSibling()) n->Expand(true);
}

void TCustomTreeView::FullCollapse()
{
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNextSibling()) n->Collapse(true);
}

// ---------------------------------------------------------------- selection and expansion

void TCustomTreeView::SetSelected(TTreeNode* Node)
{
    if (Node == selected_) return;
    NMTREEVIEW nm;
    nm.itemOld.hItem = selected_;
    nm.itemOld.lParam = LPARAM(selected_);
    nm.itemNew.hItem = Node;
    nm.itemNew.lParam = LPARAM(Node);
    if (SendNotify(TVN_SELCHANGING, &nm)) return;
    selected_ = Node;
    if (Node) Node->MakeVisible();
    Invalidate();
    SendNotify(TVN_SELCHANGED, &nm);
}

void TCustomTreeView::SelectByUser(TTreeNode* Node)
{
    if (Node) SetSelected(Node);
}

bool TCustomTreeView::ToggleNode(TTreeNode* Node)
{
    if (!Node || !Node->HasChildren()) return false;
    Node->SetExpanded(!Node->Expanded());
    return true;
}

void TCustomTreeView::NodeRemoving(TTreeNode* Node)
{
    if (destroying_) return;
    for (TTreeNode* c = Node->GetLastChild(); c; c = Node->GetLastChild()) items_->Delete(c);
    NMTREEVIEW nm;
    nm.itemOld.hItem = Node;
    nm.itemOld.lParam = LPARAM(Node);
    SendNotify(TVN_DELETEITEM, &nm);
    rowsValid_ = false;
}

void TCustomTreeView::SelectionMoved(TTreeNode* Node)
{
    if (destroying_ || selected_ || !Node) return;
    selected_ = Node;
    NMTREEVIEW nm;
    nm.itemNew.hItem = Node;
    nm.itemNew.lParam = LPARAM(Node);
    SendNotify(TVN_SELCHANGED, &nm);
}

bool TCustomTreeView::CanChange(TTreeNode* Node)
{
    bool allow = true;
    if (OnChanging) OnChanging(this, Node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* Node)
{
    if (OnChange) OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node)
{
    bool allow = true;
    if (OnExpanding) OnExpanding(this, Node, allow);
    return allow;
}

void TCustomTreeView::Expand(TTreeNode* Node)
{
    if (OnExpanded) OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node)
{
    bool allow = true;
    if (OnCollapsing) OnCollapsing(this, Node, allow);
    return allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node)
{
    if (OnCollapsed) OnCollapsed(this, Node);
}

void TCustomTreeView::Delete(TTreeNode* Node)
{
    if (OnDeletion) OnDeletion(this, Node);
}

// ---------------------------------------------------------------- mouse and keys

void TCustomTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        if (CanFocus()) SetFocus();
        TTreeNode* node = GetNodeAt(X, Y);
        const UINT hit = GetHitTestInfoAt(X, Y);
        if (hit & TVHT_ONITEMBUTTON) {
            ToggleNode(node);
        } else if (node && ((hit & TVHT_ONITEM) || RowSelect)) {
            SelectByUser(node);
            if (Shift & ssDouble) ToggleNode(node);
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTreeView::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const auto& rows = Rows();
    if (!Key || rows.empty()) return;
    TTreeNode* cur = selected_;
    const int row = RowOf(cur);
    const int last = int(rows.size()) - 1;
    auto at = [&](int r) { return rows[std::size_t(std::clamp(r, 0, last))]; };
    switch (Key) {
    case VK_UP: SelectByUser(row < 0 ? at(0) : at(row - 1)); break;
    case VK_DOWN: SelectByUser(row < 0 ? at(0) : at(row + 1)); break;
    case VK_HOME: SelectByUser(at(0)); break;
    case VK_END: SelectByUser(at(last)); break;
    case VK_PRIOR: SelectByUser(at(std::max(0, row) - std::max(1, VisibleRowCount() - 1))); break;
    case VK_NEXT: SelectByUser(at(std::max(0, row) + std::max(1, VisibleRowCount() - 1))); break;
    case VK_LEFT:
        if (!cur) break;
        if (cur->Expanded() && cur->HasChildren()) cur->Collapse(false);
        else SelectByUser(cur->Parent());
        break;
    case VK_RIGHT:
        if (!cur || !cur->HasChildren()) break;
        if (!cur->Expanded()) cur->Expand(false);
        else SelectByUser(cur->GetFirstChild());
        break;
    case VK_ADD: if (cur) cur->Expand(false); break;
    case VK_SUBTRACT: if (cur) cur->Collapse(false); break;
    case VK_MULTIPLY: if (cur) cur->Expand(true); break;
    default: return;
    }
}

void TCustomTreeView::KeyPress(char& Key)
{
    TCustomControl::KeyPress(Key);
    // A letter goes to the next row that starts with it.
    if (!Key || static_cast<unsigned char>(Key) <= ' ' || Key == '+' || Key == '-' || Key == '*') return;
    const auto& rows = Rows();
    const int i = NextItemStartingWith(Key, RowOf(selected_), int(rows.size()),
                                       [&](int r) { return DisplayText(rows[std::size_t(r)]); });
    if (i >= 0) SelectByUser(rows[std::size_t(i)]);
}

// ---------------------------------------------------------------- messages

void TCustomTreeView::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_NOTIFY: CNNotify(m); break;
    default: TCustomControl::Dispatch(m); break;
    }
}

void TCustomTreeView::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case TVM_GETINDENT: m.Result = indent_; return;
    case TVM_SETINDENT: SetIndent(int(m.WParam)); return;
    case TVM_GETITEMHEIGHT: m.Result = itemHeight_; return;
    case TVM_SETITEMHEIGHT: {
        const int old = itemHeight_;
        SetItemHeight(int(std::int16_t(m.WParam & 0xFFFF)));
        m.Result = old;
        return;
    }
    case TVM_HITTEST:
        if (auto* info = reinterpret_cast<TVHITTESTINFO*>(m.LParam)) {
            info->flags = GetHitTestInfoAt(info->pt.X, info->pt.Y);
            info->hItem = GetNodeAt(info->pt.X, info->pt.Y);
            if (info->flags & (TVHT_ABOVE | TVHT_BELOW | TVHT_TOLEFT | TVHT_TORIGHT)) info->hItem = nullptr;
            m.Result = LRESULT(info->hItem);
        }
        return;
    default: break;
    }
    TCustomControl::DefaultHandler(m);
}

bool TCustomTreeView::IsCustomDrawn(TCustomDrawTarget Target, TCustomDrawStage Stage) const
{
    const bool item = OnCustomDrawItem || OnAdvancedCustomDrawItem;
    if (Stage == cdPrePaint)
        return Target == dtItem ? item : (OnCustomDraw || OnAdvancedCustomDraw || item);
    return Target == dtItem ? bool(OnAdvancedCustomDrawItem) : (OnAdvancedCustomDraw || OnAdvancedCustomDrawItem);
}

bool TCustomTreeView::CustomDraw(const TRect& ARect, TCustomDrawStage Stage)
{
    bool result = true;
    if (Stage == cdPrePaint && OnCustomDraw) OnCustomDraw(this, ARect, result);
    if (OnAdvancedCustomDraw) OnAdvancedCustomDraw(this, ARect, Stage, result);
    return result;
}

bool TCustomTreeView::CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                                     bool& PaintImages)
{
    bool result = true;
    PaintImages = true;
    if (Stage == cdPrePaint && OnCustomDrawItem) OnCustomDrawItem(this, Node, State, result);
    if (OnAdvancedCustomDrawItem) OnAdvancedCustomDrawItem(this, Node, State, Stage, PaintImages, result);
    return result;
}

void TCustomTreeView::CNNotify(TMessage& m)
{
    NMHDR* hdr = NMHdrOf(m);
    if (!hdr) return;
    m.Result = 0;
    switch (hdr->code) {
    case NM_CUSTOMDRAW: {
        auto* cd = reinterpret_cast<NMTVCUSTOMDRAW*>(hdr);
        const DWORD stage = cd->nmcd.dwDrawStage;
        if (!(stage & CDDS_ITEM)) {
            const TRect r = ClientRect();
            if (stage == CDDS_PREPAINT) {
                if (IsCustomDrawn(dtControl, cdPrePaint)) {
                    Canvas()->Font().Assign(*Font());
                    Canvas()->Brush().SetColor(Color());
                    if (!CustomDraw(r, cdPrePaint)) {
                        m.Result = CDRF_SKIPDEFAULT;
                        return;
                    }
                }
                if (IsCustomDrawn(dtItem, cdPrePaint)) m.Result |= CDRF_NOTIFYITEMDRAW;
                if (IsCustomDrawn(dtItem, cdPostPaint)) m.Result |= CDRF_NOTIFYPOSTPAINT;
            } else if (stage == CDDS_POSTPAINT && IsCustomDrawn(dtControl, cdPostPaint)) {
                CustomDraw(r, cdPostPaint);
            }
            return;
        }
        auto* node = reinterpret_cast<TTreeNode*>(cd->nmcd.dwItemSpec);
        if (!node) return;
        bool paintImages = true;
        if (stage == CDDS_ITEMPREPAINT) {
            TCanvas* c = Canvas();
            c->Font().Assign(*Font());
            c->Brush().SetColor(Color());
            if (cd->nmcd.uItemState & CDIS_SELECTED) {
                c->Font().SetColor(clHighlightText);
                c->Brush().SetColor(clHighlight);
            }
            TFont before;
            before.Assign(c->Font());
            const TColor brushBefore = c->Brush().Color();
            if (!CustomDrawItem(node, cd->nmcd.uItemState, cdPrePaint, paintImages)) {
                m.Result = CDRF_SKIPDEFAULT;
                return;
            }
            // What the handler changed on the canvas applies to the default drawing.
            const TFont& after = c->Font();
            if (after.Color() != before.Color() || c->Brush().Color() != brushBefore || after.Name() != before.Name() ||
                after.Height() != before.Height() || after.Style() != before.Style()) {
                cd->clrText = ColorToRGB(after.Color());
                cd->clrTextBk = ColorToRGB(c->Brush().Color());
                m.Result |= CDRF_NEWFONT;
            }
            if (IsCustomDrawn(dtItem, cdPostPaint)) m.Result |= CDRF_NOTIFYPOSTPAINT;
        } else if (stage == CDDS_ITEMPOSTPAINT && IsCustomDrawn(dtItem, cdPostPaint)) {
            CustomDrawItem(node, cd->nmcd.uItemState, cdPostPaint, paintImages);
        }
        return;
    }
    case TVN_GETDISPINFO: {
        auto* info = reinterpret_cast<NMTVDISPINFO*>(hdr);
        auto* node = static_cast<TTreeNode*>(info->item.hItem);
        if (node && (info->item.mask & TVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
            const std::size_t n = std::min(node->Text().size(), std::size_t(info->item.cchTextMax - 1));
            std::memcpy(info->item.pszText, node->Text().data(), n);
            info->item.pszText[n] = '\0';
        }
        return;
    }
    case TVN_SELCHANGING:
        m.Result = !CanChange(static_cast<TTreeNode*>(reinterpret_cast<NMTREEVIEW*>(hdr)->itemNew.hItem));
        return;
    case TVN_SELCHANGED: Change(static_cast<TTreeNode*>(reinterpret_cast<NMTREEVIEW*>(hdr)->itemNew.hItem)); return;
    case TVN_ITEMEXPANDING: {
        auto* nm = reinterpret_cast<NMTREEVIEW*>(hdr);
        auto* node = static_cast<TTreeNode*>(nm->itemNew.hItem);
        m.Result = nm->action == TVE_EXPAND ? !CanExpand(node) : !CanCollapse(node);
        return;
    }
    case TVN_ITEMEXPANDED: {
        auto* nm = reinterpret_cast<NMTREEVIEW*>(hdr);
        auto* node = static_cast<TTreeNode*>(nm->itemNew.hItem);
        if (nm->action == TVE_EXPAND) Expand(node);
        else Collapse(node);
        return;
    }
    case TVN_DELETEITEM: Delete(static_cast<TTreeNode*>(reinterpret_cast<NMTREEVIEW*>(hdr)->itemOld.hItem)); return;
    default: DefaultHandler(m); return;
    }
}

// ---------------------------------------------------------------- painting

void TCustomTreeView::DrawLines(HDC dc, TTreeNode* Node, const TRect& row)
{
    const COLORREF gray = ColorToRGB(clGrayText);
    const int cy = (row.Top + row.Bottom) / 2;
    auto vline = [&](int x, int y0, int y1) {
        for (int y = y0 + ((y0 + x) & 1); y < y1; y += 2) SetPixel(dc, x, y, gray);
    };
    auto hline = [&](int x0, int x1, int y) {
        for (int x = x0 + ((x0 + y) & 1); x < x1; x += 2) SetPixel(dc, x, y, gray);
    };
    const int root = showRoot_ ? 1 : 0;
    const int column = Node->Level() + root - 1;
    if (column >= 0) {
        const int cx = column * indent_ + indent_ / 2 - scrollX_;
        const bool first = !Node->GetPrevSibling() && !Node->Parent();
        vline(cx, first ? cy : row.Top, Node->GetNextSibling() ? row.Bottom : cy + 1);
        hline(cx, TextLeft(Node), cy);
    }
    // The lines of the parents that have more siblings below.
    int level = Node->Level() - 1;
    for (TTreeNode* p = Node->Parent(); p; p = p->Parent(), --level) {
        const int col = level + root - 1;
        if (col >= 0 && p->GetNextSibling()) vline(col * indent_ + indent_ / 2 - scrollX_, row.Top, row.Bottom);
    }
}

void TCustomTreeView::DrawButton(HDC dc, TTreeNode* Node, const TRect& row)
{
    const int column = Node->Level() + (showRoot_ ? 1 : 0) - 1;
    if (column < 0 || !Node->HasChildren()) return;
    const int cx = column * indent_ + indent_ / 2 - scrollX_;
    const int cy = (row.Top + row.Bottom) / 2;
    const TRect box = Rect(cx - kButtonHalf, cy - kButtonHalf, cx + kButtonHalf + 1, cy + kButtonHalf + 1);
    FillRect(dc, box, ColorToRGB(clGrayText));
    FillRect(dc, Rect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1), ColorToRGB(Color()));
    const COLORREF sign = ColorToRGB(clWindowText);
    FillRect(dc, Rect(cx - 2, cy, cx + 3, cy + 1), sign);
    if (!Node->Expanded()) FillRect(dc, Rect(cx, cy - 2, cx + 1, cy + 3), sign);
}

void TCustomTreeView::Paint()
{
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    c->Brush().SetColor(Color());
    c->Brush().SetStyle(bsSolid);
    c->FillRect(ClientRect());
    NMTVCUSTOMDRAW cd;
    cd.nmcd.dwDrawStage = CDDS_PREPAINT;
    cd.nmcd.hdc = c->Handle();
    cd.nmcd.rc = ClientRect();
    const LRESULT control = SendNotify(NM_CUSTOMDRAW, &cd);
    if (control & CDRF_SKIPDEFAULT) return;
    const auto rows = Rows();
    const bool focused = Focused();
    for (int r = topRow_; r < int(rows.size()); ++r) {
        TTreeNode* node = rows[std::size_t(r)];
        const TRect row = Rect(0, (r - topRow_) * itemHeight_, ClientWidth(), (r - topRow_ + 1) * itemHeight_);
        if (row.Top >= ClientHeight()) break;
        UINT state = 0;
        if (node == selected_ && (focused || !hideSelection_)) state |= CDIS_SELECTED;
        if (node == selected_ && focused) state |= CDIS_FOCUS;
        if (!Enabled()) state |= CDIS_DISABLED;
        cd = NMTVCUSTOMDRAW{};
        cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        cd.nmcd.rc = row;
        cd.nmcd.dwItemSpec = std::uintptr_t(node);
        cd.nmcd.uItemState = state;
        cd.nmcd.lItemlParam = LPARAM(node);
        cd.iLevel = node->Level();
        if ((state & CDIS_SELECTED) && focused) {
            cd.clrText = ColorToRGB(clHighlightText);
            cd.clrTextBk = ColorToRGB(clHighlight);
        } else if (state & CDIS_SELECTED) {
            cd.clrText = ColorToRGB(clWindowText);
            cd.clrTextBk = ColorToRGB(clBtnFace);
        } else {
            cd.clrText = ColorToRGB(Font()->Color());
            cd.clrTextBk = ColorToRGB(Color());
        }
        c->Font().Assign(*Font());
        HDC dc = c->Handle();
        cd.nmcd.hdc = dc;
        SetTextColor(dc, cd.clrText);
        SetBkColor(dc, cd.clrTextBk);
        const LRESULT item = (control & CDRF_NOTIFYITEMDRAW) ? SendNotify(NM_CUSTOMDRAW, &cd) : CDRF_DODEFAULT;
        if (!(item & CDRF_SKIPDEFAULT)) {
            if (!(item & CDRF_NEWFONT)) c->Font().Assign(*Font());
            dc = c->Handle();
            if (RowSelect && (cd.nmcd.uItemState & CDIS_SELECTED)) FillRect(dc, row, cd.clrTextBk);
            if (showLines_) DrawLines(dc, node, row);
            if (showButtons_) DrawButton(dc, node, row);
            const std::string text = DisplayText(node);
            TSize size;
            GetTextExtentPoint32(dc, text, -1, size);
            const int left = TextLeft(node);
            const TRect box = Rect(left, row.Top, left + size.cx + 2 * kTextPad, row.Bottom);
            SetTextColor(dc, cd.clrText);
            SetBkColor(dc, cd.clrTextBk);
            SetBkMode(dc, OPAQUE);
            ExtTextOut(dc, left + kTextPad, row.Top + (itemHeight_ - size.cy) / 2, ETO_OPAQUE | ETO_CLIPPED, &box,
                       text, -1);
            if (cd.nmcd.uItemState & CDIS_FOCUS) DrawFocusRect(dc, RowSelect ? row : box);
        }
        if (item & CDRF_NOTIFYPOSTPAINT) {
            cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
            cd.nmcd.hdc = c->Handle();
            SendNotify(NM_CUSTOMDRAW, &cd);
        }
    }
    if (control & CDRF_NOTIFYPOSTPAINT) {
        cd = NMTVCUSTOMDRAW{};
        cd.nmcd.dwDrawStage = CDDS_POSTPAINT;
        cd.nmcd.hdc = c->Handle();
        cd.nmcd.rc = ClientRect();
        SendNotify(NM_CUSTOMDRAW, &cd);
    }
}

}  // namespace platform

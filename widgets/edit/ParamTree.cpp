#include "widgets/edit/ParamTree.h"

#include "base/DateTime.h"

#include <algorithm>

#include "base/StrUtils.h"
#include "base/StringList.h"
#include "platform/controls/CommCtrl.h"
#include "platform/controls/Menus.h"
#include "platform/forms/Dialogs.h"
#include "platform/graphics/GDI.h"
#include "widgets/edit/ParamMarkup.h"
#include "widgets/edit/PopupEditors.h"
#include "widgets/html/HtmlEngine.h"
#include "widgets/html/HtmlText.h"
#include "widgets/html/PictureContainer.h"
#include "widgets/html/VersionText.h"

namespace edit {

using namespace platform;

namespace {

// Occurrences of what in s, letter case ignored.
int CountNC(const std::string& s, const std::string& what)
{
    const std::string u = base::UpperCase(s), w = base::UpperCase(what);
    int n = 0;
    for (std::size_t p = u.find(w); p != std::string::npos; p = u.find(w, p + 1)) ++n;
    return n;
}

// The hrefs written as HREF=" in order.
std::vector<std::string> Hrefs(const std::string& s)
{
    std::vector<std::string> out;
    const std::string u = base::UpperCase(s);
    for (std::size_t p = u.find("HREF=\""); p != std::string::npos; p = u.find("HREF=\"", p + 1)) {
        const std::size_t start = p + 6, end = s.find('"', start);
        if (end == std::string::npos) break;
        out.push_back(s.substr(start, end - start));
    }
    return out;
}

}  // namespace

TParamTree::TParamTree(TComponent* AOwner) : TCustomTreeView(AOwner), cache_(std::make_unique<html::THTMLPictureCache>())
{
    ReadOnly = true;
    ToolTips = false;
    edit_ = new TPopupEdit(this);
    edit_->SetVisible(false);
    list_ = new TPopupListBox(this);
    list_->SetVisible(false);
    spin_ = new TPopupSpinEdit(this);
    spin_->SetVisible(false);
    mask_ = new TPopupMaskEdit(this);
    mask_->SetVisible(false);
    date_ = new TPopupDatePicker(this);
    date_->SetVisible(false);
    menu_ = new TPopupMenu(this);
}

TParamTree::~TParamTree() = default;

std::string TParamTree::GetVersion() const { return html::VersionText(GetVersionNr()); }

// ---------------------------------------------------------------- parameters

std::string TParamTree::GetNodeParameter(TTreeNode* Node, const std::string& href) const
{
    std::string v;
    if (!Node || !GetHREFValue(Node->Text(), href, v)) return {};
    return InvHTMLPrep(v);
}

void TParamTree::SetNodeParameter(TTreeNode* Node, const std::string& href, const std::string& value)
{
    if (!Node) return;
    std::string s = Node->Text();
    if (SetHREFValue(s, href, HTMLPrep(value))) Node->SetText(s);
}

std::string TParamTree::GetParameter(const std::string& href) const { return GetNodeParameter(GetParamRefNode(href), href); }

void TParamTree::SetParameter(const std::string& href, const std::string& value)
{
    SetNodeParameter(GetParamRefNode(href), href, value);
}

bool TParamTree::GetParamInfo(TTreeNode* Node, const std::string& href, std::string& value, std::string& cls,
                              std::string& props, std::string& hint) const
{
    return Node && ExtractParamInfo(Node->Text(), href, cls, value, props, hint);
}

TTreeNode* TParamTree::GetParamRefNode(const std::string& href) const
{
    for (int i = 0; i < Items()->Count(); ++i)
        if (GetParamNodeIndex(Items()->Item(i), href) != -1) return Items()->Item(i);
    return nullptr;
}

int TParamTree::GetParamNodeIndex(TTreeNode* Node, const std::string& href) const
{
    if (!Node) return -1;
    const auto hrefs = Hrefs(Node->Text());
    for (std::size_t i = 0; i < hrefs.size(); ++i)
        if (base::SameText(hrefs[i], href)) return int(i);
    return -1;
}

int TParamTree::GetParamNodeRefCount(TTreeNode* Node) const { return Node ? CountNC(Node->Text(), "HREF=") : 0; }

int TParamTree::GetParamItemRefCount(int Index) const
{
    return Index >= 0 && Index < Items()->Count() ? GetParamNodeRefCount(Items()->Item(Index)) : 0;
}

std::string TParamTree::GetParamItemRefs(int Index, int n)
{
    if (Index < 0 || Index >= Items()->Count()) return {};
    const auto hrefs = Hrefs(Items()->Item(Index)->Text());
    if (hrefs.empty()) return {};
    if (n >= 0 && n < int(hrefs.size())) return base::UpperCase(hrefs[std::size_t(n)]);
    if (!hrefs[0].empty()) focusIndex_ = 0;
    return base::UpperCase(hrefs[0]);
}

int TParamTree::GetParamRefCount() const
{
    int n = 0;
    for (int i = 0; i < Items()->Count(); ++i) n += GetParamNodeRefCount(Items()->Item(i));
    return n;
}

std::string TParamTree::GetParamRefs(int n) const
{
    for (int i = 0; i < Items()->Count(); ++i) {
        const auto hrefs = Hrefs(Items()->Item(i)->Text());
        if (n < int(hrefs.size())) return base::UpperCase(hrefs[std::size_t(n)]);
        n -= int(hrefs.size());
    }
    return {};
}

int TParamTree::GetParamIndex(const std::string& href) const
{
    int n = 0;
    for (int i = 0; i < Items()->Count(); ++i)
        for (const std::string& h : Hrefs(Items()->Item(i)->Text())) {
            if (base::SameText(h, href)) return n;
            ++n;
        }
    return -1;
}

void TParamTree::GetParamRect(const std::string& href, TRect& r)
{
    (void)href;
    TTreeNode* node = Selected();
    if (!node) return;
    TParamHit hit;
    const TRect t = NodeTextRect(node);
    IsParam(Point(t.Left + 2, t.Top + 2), node, true, hit);
    r = hit.AnchorRect;
}

// ---------------------------------------------------------------- looks

void TParamTree::SetWordWrap(bool v)
{
    wordWrap_ = v;
    Invalidate();
}

void TParamTree::SetHover(bool v)
{
    hover_ = v;
    Invalidate();
}

void TParamTree::SetParamColor(TColor c)
{
    paramColor_ = c;
    Invalidate();
}

void TParamTree::SetSelectionColor(TColor c)
{
    selectionColor_ = c;
    Invalidate();
}

void TParamTree::SetSelectionFontColor(TColor c)
{
    selectionFontColor_ = c;
    Invalidate();
}

void TParamTree::SetShowSelection(bool v)
{
    showSelection_ = v;
    Invalidate();
}

void TParamTree::SetLineSpacing(int v)
{
    lineSpacing_ = v;
    Invalidate();
}

void TParamTree::SetImages(TImageList* images)
{
    images_ = images;
    Invalidate();
}

void TParamTree::SetShadowColor(TColor c)
{
    shadowColor_ = c;
    Invalidate();
}

void TParamTree::SetShadowOffset(int v)
{
    shadowOffset_ = v;
    Invalidate();
}

void TParamTree::SetItemHeightEx(int h)
{
    if (h != ItemHeight()) SetItemHeight(h);
}

void TParamTree::BeginUpdate()
{
    if (updateCount_++ == 0 && HandleAllocated()) Perform(WM_SETREDRAW, 0);
}

void TParamTree::EndUpdate()
{
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0 && HandleAllocated()) {
        Perform(WM_SETREDRAW, 1);
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
    }
}

void TParamTree::InvalidateRectOf(const TRect& r)
{
    if (r.Right > r.Left) InvalidateRect(r);
}

// ---------------------------------------------------------------- drawing

TRect TParamTree::NodeTextRect(TTreeNode* node) const
{
    TRect row = node->DisplayRect(false);
    row.Left = TextLeft(node) + 1;
    row.Right = row.Left + ClientWidth();
    return row;
}

void TParamTree::DrawItem(NMTVCUSTOMDRAW& cd)
{
    auto* node = reinterpret_cast<TTreeNode*>(cd.nmcd.dwItemSpec);
    if (!node) return;
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    const bool selected = node == Selected();
    const bool focused = selected && Focused();
    TRect r = NodeTextRect(node);
    html::HTMLDrawParams p;
    p.LineSpacing = lineSpacing_;
    p.Variant = html::HTMLVariant::Tree;
    p.Canvas = c;
    p.Images = images_;
    p.PictureCache = cache_.get();
    p.WordWrap = wordWrap_;  // drawn and hit-tested with the same flag
    html::HTMLDrawResult res;
    std::string text = node->Text();
    p.Text = text;
    p.TextRect = r;
    p.MeasureOnly = true;
    p.ShadowOffset = 2;
    p.Selected = selected && showSelection_;
    p.HoverStyle = hover_;
    html::HTMLDrawEx(p, res);
    const TRect full = r;
    if (res.MeasuredHeight < r.Height()) r.Top += (r.Height() - res.MeasuredHeight) / 2;
    if (selected && showSelection_) {
        c->Brush().SetColor(selectionColor_);
        c->Pen().SetColor(selectionColor_);
        c->Font().SetColor(selectionFontColor_);
        const TRect sel = Rect(full.Left, full.Top, ClientWidth() - 4, full.Bottom);
        c->Rectangle(sel);
        c->DrawFocusRect(sel);
    } else {
        c->Brush().SetColor(Color());
        c->FillRect(Rect(full.Left - 1, full.Top, ClientWidth(), full.Bottom));
    }
    TPoint mouse;
    GetCursorPos(mouse);
    mouse = ScreenToClient(mouse);
    html::HTMLDrawParams d = p;
    d.TextRect = r;
    d.MeasureOnly = false;
    d.HitX = mouse.X;
    d.HitY = mouse.Y;
    d.FocusLink = focused && ShowFocusBorder ? focusIndex_ : -1;
    d.HoverLink = node == hoverNode_ ? hoverAnchor_ : -1;
    d.ShadowOffset = shadowOffset_;
    d.MouseDown = mouseDown_;
    d.LinkColor = selected && showSelection_ ? selectionFontColor_ : paramColor_;
    d.HoverBackColor = hover_ ? HoverColor : clNone;
    d.HoverFontColor = hover_ ? HoverFontColor : clNone;
    d.ShadowColor = shadowColor_;
    html::HTMLDrawResult out;
    c->Brush().SetStyle(bsClear);
    html::HTMLDrawEx(d, out);
    c->Brush().SetStyle(bsSolid);
}

void TParamTree::CNNotify(TMessage& m)
{
    NMHDR* h = NMHdrOf(m);
    if (h->code == NM_CUSTOMDRAW) {
        auto* cd = reinterpret_cast<NMTVCUSTOMDRAW*>(m.LParam);
        switch (cd->nmcd.dwDrawStage) {
        case CDDS_PREPAINT: m.Result = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT; return;
        case CDDS_ITEMPREPAINT:
            cd->nmcd.uItemState &= ~UINT(CDIS_SELECTED | CDIS_FOCUS);
            cd->clrText = cd->clrTextBk = ColorToRGB(Color());
            SetTextColor(cd->nmcd.hdc, cd->clrText);
            SetBkColor(cd->nmcd.hdc, cd->clrTextBk);
            m.Result = CDRF_NOTIFYPOSTPAINT;
            return;
        case CDDS_ITEMPOSTPAINT:
            DrawItem(*cd);
            m.Result = CDRF_DODEFAULT;
            return;
        default: break;
        }
    } else if (h->code == TVN_GETDISPINFO) {
        auto* info = reinterpret_cast<NMTVDISPINFO*>(m.LParam);
        auto* node = reinterpret_cast<TTreeNode*>(info->item.hItem);
        if (node && (info->item.mask & TVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
            const std::string s = html::HTMLStrip(node->Text(), html::HTMLVariant::Tree).substr(0, 255);
            const std::size_t n = std::min<std::size_t>(s.size(), std::size_t(info->item.cchTextMax - 1));
            std::copy_n(s.data(), n, info->item.pszText);
            info->item.pszText[n] = '\0';
            info->item.mask |= TVIF_DI_SETITEM;
        }
        return;
    }
    TCustomTreeView::CNNotify(m);
}

// ---------------------------------------------------------------- hit test

bool TParamTree::IsParam(TPoint pt, TTreeNode* node, bool focusRect, TParamHit& hit)
{
    hit = TParamHit{};
    if (!node) node = GetNodeAt(pt.X, pt.Y);
    if (!node) return false;
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    TRect r = NodeTextRect(node);
    const std::string text = node->Text();
    html::HTMLDrawParams p;
    p.LineSpacing = lineSpacing_;
    p.Variant = html::HTMLVariant::Tree;
    p.Canvas = c;
    p.Text = text;
    p.TextRect = r;
    p.Images = images_;
    p.PictureCache = cache_.get();
    p.MeasureOnly = true;
    p.HitTestOnly = true;
    p.WordWrap = wordWrap_;
    p.ShadowOffset = 2;
    html::HTMLDrawResult res;
    html::HTMLDrawEx(p, res);
    if (res.MeasuredHeight < r.Height()) r.Top += (r.Height() - res.MeasuredHeight) / 2;
    // Laid out from x = 0, so that every rectangle the engine gives (some of it measured
    // from the start of the line) is in the same coordinates; shifted back below.
    const int dx = r.Left;
    OffsetRect(r, -dx, 0);
    p.TextRect = r;
    p.MeasureOnly = false;
    p.HitX = pt.X - dx;
    p.HitY = pt.Y;
    p.FocusLink = focusRect ? focusIndex_ + 1 : -1;
    p.ReportFocusLinkRect = focusRect;
    html::HTMLDrawResult out;
    const bool over = html::HTMLDrawEx(p, out);
    linkCount_ = out.LinkCount;
    hoverAnchor_ = out.LinkUnderPoint;
    if (over && !out.AnchorValue.empty()) hit.Href = out.AnchorValue;
    hit.ControlID = out.ControlID;
    hit.ControlValue = out.ControlValue;
    hit.ControlType = out.ControlType;
    hit.AnchorRect = out.HoverRect;
    hit.ControlRect = out.ControlRect;
    OffsetRect(hit.AnchorRect, dx, 0);
    OffsetRect(hit.ControlRect, dx, 0);
    return !hit.Href.empty();
}

// ---------------------------------------------------------------- mouse

void TParamTree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomTreeView::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    mouseDown_ = true;
    TTreeNode* node = GetNodeAt(X, Y);
    if (!node) return;
    SetSelected(node);
    TParamHit hit;
    IsParam(Point(X, Y), node, false, hit);
    if (!hit.ControlID.empty()) {
        InvalidateRectOf(hit.ControlRect);
        pressedControlRect_ = hit.ControlRect;
    } else {
        pressedControlRect_ = Rect(-1, -1, -1, -1);
    }
    if (!hit.Href.empty()) StartParamEdit(hit.Href, node, hit.AnchorRect);
}

void TParamTree::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomTreeView::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    mouseDown_ = false;
    TTreeNode* node = GetNodeAt(X, Y);
    if (node) {
        TParamHit hit;
        IsParam(Point(X, Y), node, false, hit);
        if (!hit.ControlID.empty()) {
            if (base::UpperCase(hit.ControlType) == "CHECK") {
                BeginUpdate();
                std::string s = node->Text();
                html::SetControlValue(s, hit.ControlID, base::UpperCase(hit.ControlValue) == "TRUE" ? "FALSE" : "TRUE",
                                      html::HTMLVariant::Tree);
                node->SetText(s);
                EndUpdate();
            }
            if (pressedControlRect_.Left != -1) InvalidateRectOf(pressedControlRect_);
        }
    }
    pressedControlRect_ = Rect(-1, -1, -1, -1);
}

void TParamTree::ParamExit()
{
    if (!hoverHref_.empty() && hoverNodeIndex_ >= 0 && hoverNodeIndex_ < Items()->Count()) {
        TTreeNode* old = Items()->Item(hoverNodeIndex_);
        if (OnParamExit) OnParamExit(this, old, hoverHref_, GetNodeParameter(old, hoverHref_));
    }
    hoverHref_.clear();
    hoverNodeIndex_ = -1;
    hoverAnchor_ = -1;
}

void TParamTree::MouseMove(TShiftState Shift, int X, int Y)
{
    if (!editing_) {
        TTreeNode* node = GetNodeAt(X, Y);
        if (node) {
            TParamHit hit;
            const int before = hoverAnchor_;
            (void)before;
            IsParam(Point(X, Y), node, false, hit);
            if (hit.Href.empty() && hoverNode_ && hover_) {
                InvalidateRectOf(hoverRect_);
                hoverNode_ = nullptr;
            }
            if (hit.ControlID.empty() && !hotControlID_.empty()) {
                InvalidateRectOf(hotControlRect_);
                hotControlID_.clear();
            } else if (!hit.ControlID.empty() && hit.ControlID != hotControlID_) {
                InvalidateRectOf(hit.ControlRect);
                hotControlID_ = hit.ControlID;
                hotControlRect_ = hit.ControlRect;
            }
            if (!hit.Href.empty()) {
                if (hover_ && (node != hoverNode_ || hit.AnchorRect.Left != hoverRect_.Left ||
                               hit.AnchorRect.Top != hoverRect_.Top))
                    InvalidateRectOf(hoverRect_);
                hoverNode_ = node;
                if (!handCursor_) {
                    savedCursor_ = Cursor();
                    SetCursor(crHandPoint);
                    handCursor_ = true;
                }
                if (hover_) InvalidateRectOf(hit.AnchorRect);
                hoverRect_ = hit.AnchorRect;
                if (!base::SameText(hit.Href, hoverHref_) && node->AbsoluteIndex() != hoverNodeIndex_ &&
                    OnParamEnter)
                    OnParamEnter(this, node, hit.Href, GetNodeParameter(node, hit.Href));
                hoverHref_ = hit.Href;
                hoverNodeIndex_ = node->AbsoluteIndex();
            } else if (handCursor_) {
                SetCursor(savedCursor_);
                handCursor_ = false;
                ParamExit();
                if (hover_) InvalidateRectOf(hoverRect_);
            }
        } else if (handCursor_ || !hoverHref_.empty() || hoverNodeIndex_ != -1) {
            ParamExit();
            if (handCursor_) SetCursor(savedCursor_);
            handCursor_ = false;
            hoverNode_ = nullptr;
            if (hover_) InvalidateRectOf(hoverRect_);
        }
    }
    TCustomTreeView::MouseMove(Shift, X, Y);
}

void TParamTree::CMHintShow(TCMHintShow& m)
{
    THintInfo* info = HintInfoOf(m);
    if (ParamHint && !editing_ && info) {
        TParamHit hit;
        if (IsParam(info->CursorPos, nullptr, false, hit)) {
            TTreeNode* node = GetNodeAt(info->CursorPos.X, info->CursorPos.Y);
            std::string value, cls, props, hint;
            GetParamInfo(node, hit.Href, value, cls, props, hint);
            if (hint.empty()) hint = hit.Href;
            TPoint p;
            GetCursorPos(p);
            info->HintPos = Point(p.X + 10, p.Y - 10);
            bool show = true;
            if (OnParamHint) OnParamHint(this, node, hint, hint, show);
            info->HintStr = hint;
            m.Result = show ? 0 : 1;
            return;
        }
    }
    TCustomTreeView::CMHintShow(m);
}

// ---------------------------------------------------------------- keys

void TParamTree::WMGetDlgCode(TWMGetDlgCode& m)
{
    TCustomTreeView::WMGetDlgCode(m);
    m.Result |= DLGC_WANTALLKEYS;
}

void TParamTree::CMWantSpecialKey(TCMWantSpecialKey& m)
{
    if (m.WParam == VK_RETURN) m.Result = 1;
    else TCustomTreeView::CMWantSpecialKey(m);
}

void TParamTree::KeyDown(Word& Key, TShiftState Shift)
{
    if ((Key == VK_LEFT || Key == VK_RIGHT) && Selected()) {
        const TRect t = NodeTextRect(Selected());
        TParamHit hit;
        IsParam(Point(t.Left + 2, t.Top + 2), Selected(), false, hit);
        if (linkCount_ > 1) {
            const int before = focusIndex_;
            if (Key == VK_LEFT) focusIndex_ = std::max(0, focusIndex_ - 1);
            else focusIndex_ = std::min(linkCount_ - 1, focusIndex_ + 1);
            if (focusIndex_ != before) {
                Key = 0;
                InvalidateRectOf(Rect(0, t.Top, ClientWidth(), t.Bottom));
                return;
            }
        }
    }
    TCustomTreeView::KeyDown(Key, Shift);
}

void TParamTree::KeyPress(char& Key)
{
    if (Key == 13 && Selected() && CountNC(Selected()->Text(), "HREF=") > 0) {
        const std::string href = GetParamItemRefs(Selected()->AbsoluteIndex(), focusIndex_);
        TRect r;
        GetParamRect(href, r);
        StartParamEdit(href, Selected(), r);
        Key = 0;
        return;
    }
    TCustomTreeView::KeyPress(Key);
}

void TParamTree::Change(TTreeNode* Node)
{
    if (Node && focusIndex_ >= GetParamNodeRefCount(Node)) focusIndex_ = 0;
    TCustomTreeView::Change(Node);
}

// ---------------------------------------------------------------- editing

void TParamTree::PrepareParam(const std::string& href, std::string& value)
{
    if (!EmptyParam.empty() && value == EmptyParam) value.clear();
    if (OnParamPrepare) OnParamPrepare(this, Selected(), href, value);
    if (OnParamEditStart) OnParamEditStart(this, Selected(), href, value);
}

void TParamTree::ControlUpdate(TObject* Sender, const std::string& href, std::string value)
{
    (void)Sender;
    if (value.empty() && !EmptyParam.empty()) value = EmptyParam;
    if (OnParamEditDone) OnParamEditDone(this, Selected(), href, value);
    UpdateParam(href, value);
    editing_ = false;
}

void TParamTree::UpdateParam(const std::string& href, const std::string& value)
{
    TTreeNode* node = Selected();
    if (!node) return;
    std::string s = node->Text(), old;
    if (!GetHREFValue(s, href, old)) return;
    const std::string escaped = HTMLPrep(value);
    if (OnParamSelect) OnParamSelect(this, node, href, escaped);
    if (!SetHREFValue(s, href, escaped)) return;  // nothing written, nothing reported
    node->SetText(s);
    if (old != escaped && OnParamChanged) OnParamChanged(this, node, href, old, escaped);
}

void TParamTree::ShowEditor(TWinControl* editor, TPopupEditorLink& link, const std::string& href)
{
    editing_ = true;
    link.Cancelled = false;
    link.Href = href;
    link.OnCommit = [this](TObject* s, const std::string& h, const std::string& v) { ControlUpdate(s, h, v); };
    link.OnReturn = [this](TObject* s) { AdvanceEdit(s); };
    link.OnCancel = [this](TObject*) { editing_ = false; };  // Esc ends the edit
    link.Tree = this;
    // A window of its own over the tree (placed in screen coordinates), in the tree's font.
    editor->Font()->Assign(*Font());
    editor->Show();
}

void TParamTree::StartParamEdit(const std::string& href, TTreeNode* Node, TRect r)
{
    if (!Node) return;
    std::string value, cls, props, hint;
    if (!GetParamInfo(Node, href, value, cls, props, hint)) return;
    focusIndex_ = std::max(0, GetParamNodeIndex(Node, href));
    if (cls.empty()) {
        if (!OnParamClick) return;
        editing_ = true;
        PrepareParam(href, value);
        const std::string copy = value;
        OnParamClick(this, Node, href, value);
        if (value != copy) ControlUpdate(this, href, value);
        editing_ = false;
        return;
    }
    base::TStringList choices;
    // The anchor's top left on the screen: the editors are windows of their own.
    const TPoint at = ClientToScreen(Point(r.Left, r.Top));
    if (cls == "TOGGLE") {
        PropToList(InvHTMLPrep(props), choices);
        if (choices.Count() < 2) return;
        const std::string next = InvHTMLPrep(value) == choices.Get(0) ? choices.Get(1) : choices.Get(0);
        ControlUpdate(this, href, next);
    } else if (cls == "EDIT") {
        ShowEditor(edit_, edit_->Link, href);
        edit_->GrowWithText = EditAutoSize;
        PlacePopup(edit_, at.X + 2, at.Y - 2, std::max(16, r.Width()), at.Y);
        std::string v = InvHTMLPrep(value);
        PrepareParam(href, v);
        edit_->SetText(v);
        edit_->SetFocus();
        edit_->SelectAll();
    } else if (cls == "SPIN") {
        ShowEditor(spin_, spin_->Link, href);
        PlacePopup(spin_, at.X + 2, at.Y - 2, std::max(16, r.Width()) + 16, at.Y);
        std::string v = InvHTMLPrep(value);
        PrepareParam(href, v);
        spin_->SetText(v);
        spin_->SetValue(spin_->Value());  // a text that is no whole number starts at 0
        spin_->SetFocus();
    } else if (cls == "DATE" || cls == "TIME") {
        if (cls == "TIME") date_->ReInit();
        date_->SetKind(cls == "TIME" ? dtkTime : dtkDate);
        ShowEditor(date_, date_->Link, href);
        PlacePopup(date_, at.X + 2, at.Y - 2, std::max(64, r.Width()), at.Y);
        std::string v = InvHTMLPrep(value);
        PrepareParam(href, v);
        base::TDateTime t = 0;
        if (cls == "TIME" ? base::TryStrToTime(v, t) : base::TryStrToDate(v, t)) {
            if (cls == "TIME") date_->SetTime(t);
            else date_->SetDate(t);
        }
        // Wide enough for its whole text (the year of a short date).
        PlacePopup(date_, date_->Left(), date_->Top(), std::max(date_->Width(), date_->FittingWidth()), at.Y);
        date_->SetFocus();
    } else if (cls == "MASK") {
        ShowEditor(mask_, mask_->Link, href);
        PlacePopup(mask_, at.X, at.Y - 2, std::max(16, r.Width()) + 16, at.Y);
        std::string v = InvHTMLPrep(value);
        PrepareParam(href, v);
        mask_->SetEditMask(props);  // as written
        mask_->SetText(v);
        mask_->SetFocus();
    } else if (cls == "MENU" || cls == "LIST") {
        PropToList(InvHTMLPrep(props), choices);
        if (ParamListSorted) choices.Sort();
        bool doPopup = true;
        const auto& ev = cls == "MENU" ? OnParamPopup : OnParamList;
        if (ev) ev(this, Node, href, choices, doPopup);
        if (!doPopup) return;
        std::string v = InvHTMLPrep(value);
        if (cls == "MENU") {
            editing_ = true;
            menu_->Items()->Clear();
            for (int i = 0; i < choices.Count(); ++i) {
                auto* item = new TMenuItem(menu_);
                item->SetCaption(choices.Get(i));
                item->OnClick = [this](TObject* s) { HandlePopup(s); };
                menu_->Items()->Add(item);
            }
            menuParam_ = href;
            PrepareParam(href, v);
            const TPoint at = ClientToScreen(Point(r.Left, r.Bottom + 2));
            menu_->Popup(at.X, at.Y);
            editing_ = false;
        } else {
            ShowEditor(list_, list_->Link, href);
            list_->Items().Clear();
            for (int i = 0; i < choices.Count(); ++i) list_->Items().Add(choices.Get(i));
            PrepareParam(href, v);
            list_->SetItemIndex(list_->Items().IndexOf(v));
            list_->SizeDropDownWidth();
            PlacePopup(list_, at.X, at.Y + r.Height(), list_->Width(), at.Y);
            list_->SetFocus();
            editing_ = false;
        }
    } else if (cls == "DIR") {
        std::string v = InvHTMLPrep(value);
        editing_ = true;
        PrepareParam(href, v);
        StartParamDir(href, v, r);
        editing_ = false;
    } else if (cls == "QUERY") {
        std::string v = InvHTMLPrep(value);
        PrepareParam(href, v);
        if (OnParamQuery) OnParamQuery(this, Node, href, v);
        ControlUpdate(this, href, v);
    } else if (cls == "CUSTOM") {
        std::string v = InvHTMLPrep(value);
        PrepareParam(href, v);
        editing_ = true;
        if (OnParamCustomEdit) {
            TRect screen = r;
            const TPoint tl = ClientToScreen(Point(r.Left, r.Top));
            OffsetRect(screen, tl.X - r.Left, tl.Y - r.Top);
            OnParamCustomEdit(this, Selected(), href, v, props, screen);
        }
    }
}

void TParamTree::StartParamDir(const std::string& href, const std::string& value, TRect r)
{
    TBrowseFolderDialog dialog(this);
    dialog.Title = "Select directory";
    std::string folder = value;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    dialog.Directory = folder;
    dialog.Position = ClientToScreen(Point(r.Left, r.Bottom));
    if (dialog.Execute()) UpdateParam(href, dialog.Directory);
}

void TParamTree::HandlePopup(TObject* Sender)
{
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    TTreeNode* node = Selected();
    if (!item || !node) return;
    std::string value = item->Caption();
    value.erase(std::remove(value.begin(), value.end(), '&'), value.end());
    std::string s = node->Text(), old;
    if (!GetHREFValue(s, menuParam_, old)) return;
    if (OnParamSelect) OnParamSelect(this, node, menuParam_, value);
    // A choice is written as it stands: the choices are markup already.
    if (!SetHREFValue(s, menuParam_, value)) return;
    node->SetText(s);
    if (old != value && OnParamChanged) OnParamChanged(this, node, menuParam_, old, value);
}

void TParamTree::AdvanceEdit(TObject* Sender)
{
    (void)Sender;
    if (!AdvanceOnReturn || focusIndex_ == -1 || !Selected()) return;
    const std::string here = GetParamItemRefs(Selected()->AbsoluteIndex(), focusIndex_);
    const int index = GetParamIndex(here);
    const int next = index < 0 || index + 1 >= GetParamRefCount() ? 0 : index + 1;
    const std::string href = GetParamRefs(next);
    TTreeNode* node = GetParamRefNode(href);
    if (!node) return;
    SetSelected(node);
    focusIndex_ = GetParamNodeIndex(node, href);
    std::string value, cls, props, hint;
    GetParamInfo(node, href, value, cls, props, hint);
    if (cls.empty()) return;
    TRect r;
    GetParamRect(href, r);
    StartParamEdit(href, node, r);
}

void TParamTree::EditParam(const std::string& href)
{
    TTreeNode* node = GetParamRefNode(href);
    if (!node) return;
    SetSelected(node);
    node->Expand(false);
    focusIndex_ = GetParamNodeIndex(node, href);
    TRect r;
    GetParamRect(href, r);
    StartParamEdit(href, node, r);
}

}  // namespace edit

#include "platform/controls/ExtCtrls.h"

#include <algorithm>

#include "platform/graphics/GDI.h"

namespace platform {

void Frame3D(TCanvas* canvas, TRect& r, TColor topColor, TColor bottomColor, int width)
{
    canvas->Pen().SetWidth(1);
    r.Bottom -= 1;
    r.Right -= 1;
    for (int i = 0; i < width; ++i) {
        const TPoint tl{r.Left, r.Top}, tr{r.Right, r.Top}, br{r.Right, r.Bottom};
        TPoint bl{r.Left, r.Bottom};
        canvas->Pen().SetColor(topColor);
        canvas->Polyline(std::vector<TPoint>{bl, tl, tr});
        canvas->Pen().SetColor(bottomColor);
        bl.X -= 1;
        canvas->Polyline(std::vector<TPoint>{tr, br, bl});
        InflateRect(r, -1, -1);
    }
    r.Bottom += 1;
    r.Right += 1;
}

namespace {
void BevelColors(TPanelBevel bevel, TColor& top, TColor& bottom)
{
    top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
}
}  // namespace

// ---------------------------------------------------------------- TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks |
                   csReplicatable;
    SetBounds(Left(), Top(), 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::SetBevelInner(TPanelBevel b)
{
    if (b == bevelInner_) return;
    bevelInner_ = b;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel b)
{
    if (b == bevelOuter_) return;
    bevelOuter_ = b;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(TBevelWidth w)
{
    w = std::max(1, w);
    if (w == bevelWidth_) return;
    bevelWidth_ = w;
    Realign();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment a)
{
    if (a == alignment_) return;
    alignment_ = a;
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle s)
{
    s = s == bsSingle ? bsSingle : bsNone;
    if (s == borderStyle_) return;
    borderStyle_ = s;
    RecreateWnd();
}

void TCustomPanel::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    if (borderStyle_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomPanel::AdjustClientRect(TRect& rect)
{
    TCustomControl::AdjustClientRect(rect);
    int bevel = 0;
    if (bevelOuter_ != bvNone) bevel += bevelWidth_;
    if (bevelInner_ != bvNone) bevel += bevelWidth_;
    InflateRect(rect, -bevel, -bevel);
}

void TCustomPanel::WMSize(TWMSize& m)
{
    if (FullRepaint) Invalidate();
    TCustomControl::WMSize(m);
}

void TCustomPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    TColor top, bottom;
    if (bevelOuter_ != bvNone) {
        BevelColors(bevelOuter_, top, bottom);
        Frame3D(c, r, top, bottom, bevelWidth_);
    }
    if (bevelInner_ != bvNone) {
        BevelColors(bevelInner_, top, bottom);
        Frame3D(c, r, top, bottom, bevelWidth_);
    }
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(Color());
    c->FillRect(r);
    if (!(ControlStyle & csSetCaption) || Caption().empty()) return;
    c->Brush().SetStyle(bsClear);
    c->Font().Assign(*Font());
    const int h = c->TextHeight("W");
    r.Top = (r.Top + r.Bottom - h) / 2;
    r.Bottom = r.Top + h;
    static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    DrawText(c->Handle(), Caption(), -1, &r, DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | kAlign[alignment_]);
}

// ---------------------------------------------------------------- TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle |= csReplicatable;
    SetBounds(Left(), Top(), 50, 50);
}

void TBevel::SetShape(TBevelShape s)
{
    if (s == shape_) return;
    shape_ = s;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle s)
{
    if (s == style_) return;
    style_ = s;
    Invalidate();
}

void TBevel::Paint()
{
    TCanvas* c = Canvas();
    TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = Width(), h = Height();
    c->Pen().SetWidth(1);
    // A box: the first colour along the top and left, the second along the bottom and right.
    auto box = [&](const TRect& r, TColor a, TColor b) {
        c->Pen().SetColor(a);
        c->Polyline(std::vector<TPoint>{{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}});
        c->Pen().SetColor(b);
        c->Polyline(std::vector<TPoint>{{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}});
    };
    auto line = [&](TColor col, int x1, int y1, int x2, int y2) {
        c->Pen().SetColor(col);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    switch (shape_) {
    case bsBox: box(Rect(0, 0, w - 1, h - 1), first, second); break;
    case bsFrame:
        box(Rect(1, 1, w - 1, h - 1), second, second);
        box(Rect(0, 0, w - 2, h - 2), first, first);
        break;
    case bsTopLine: line(first, 0, 0, w, 0); line(second, 0, 1, w, 1); break;
    case bsBottomLine: line(first, 0, h - 2, w, h - 2); line(second, 0, h - 1, w, h - 1); break;
    case bsLeftLine: line(first, 0, 0, 0, h); line(second, 1, 0, 1, h); break;
    case bsRightLine: line(first, w - 2, 0, w - 2, h); line(second, w - 1, 0, w - 1, h); break;
    case bsSpacer: break;
    }
}

// ---------------------------------------------------------------- TCustomRadioGroup

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner) : TCustomGroupBox(AOwner)
{
    items_.OnChange = [this](base::TStringList&) {
        UpdateButtons();
        if (itemIndex_ >= items_.Count()) SetItemIndex(items_.Count() - 1);
    };
}

TCustomRadioGroup::~TCustomRadioGroup() { items_.OnChange = nullptr; }

void TCustomRadioGroup::UpdateButtons()
{
    updating_ = true;
    while (int(buttons_.size()) > items_.Count()) {
        TRadioButton* b = buttons_.back();
        buttons_.pop_back();
        b->Free();
    }
    while (int(buttons_.size()) < items_.Count()) {
        auto* b = new TRadioButton(this);
        b->SetParent(this);
        b->OnClick = [this](TObject* s) { ButtonClick(s); };
        buttons_.push_back(b);
    }
    for (int i = 0; i < items_.Count(); ++i) {
        TRadioButton* b = buttons_[std::size_t(i)];
        b->SetCaption(items_[i]);
        b->SetEnabled(Enabled());
        b->SetChecked(i == itemIndex_);
    }
    updating_ = false;
    ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons()
{
    if (buttons_.empty()) return;
    const int count = int(buttons_.size());
    const int perColumn = (count + columns_ - 1) / columns_;
    const int width = (ClientWidth() - 10) / columns_;
    const int fontHeight = CaptionHeight();
    const int free = ClientHeight() - fontHeight - 5;
    const int height = free / std::max(1, perColumn);
    const int top = fontHeight + 1 + (free % std::max(1, perColumn)) / 2;
    for (int i = 0; i < count; ++i)
        buttons_[std::size_t(i)]->SetBounds((i / perColumn) * width + 8, (i % perColumn) * height + top, width,
                                            height);
}

void TCustomRadioGroup::SetItemIndex(int i)
{
    i = std::clamp(i, -1, int(buttons_.size()) - 1);
    if (i == itemIndex_) return;
    if (itemIndex_ >= 0) buttons_[std::size_t(itemIndex_)]->SetChecked(false);
    itemIndex_ = i;
    if (i >= 0) buttons_[std::size_t(i)]->SetChecked(true);  // raises the group's click
}

void TCustomRadioGroup::SetColumns(int n)
{
    n = std::clamp(n, 1, 16);
    if (n == columns_) return;
    columns_ = n;
    ArrangeButtons();
    Invalidate();
}

void TCustomRadioGroup::ButtonClick(TObject* sender)
{
    if (updating_) return;
    const auto it = std::find(buttons_.begin(), buttons_.end(), sender);
    if (it == buttons_.end()) return;
    itemIndex_ = int(it - buttons_.begin());
    Click();
}

void TCustomRadioGroup::WMSize(TWMSize& m)
{
    ArrangeButtons();
    TCustomGroupBox::WMSize(m);
}

void TCustomRadioGroup::CMFontChanged(TMessage& m)
{
    TCustomGroupBox::CMFontChanged(m);
    ArrangeButtons();
}

void TCustomRadioGroup::CMEnabledChanged(TMessage& m)
{
    TCustomGroupBox::CMEnabledChanged(m);
    for (TRadioButton* b : buttons_) b->SetEnabled(Enabled());
}

// ---------------------------------------------------------------- TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), picture_(std::make_unique<TPicture>())
{
    ControlStyle |= csReplicatable;
    SetBounds(Left(), Top(), 105, 105);
    picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() { picture_->OnChange = nullptr; }

void TImage::SetPicture(const TPicture& p) { picture_->Assign(p); }

void TImage::PictureChanged()
{
    if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0)
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    if (TGraphic* g = picture_->Graphic()) g->SetTransparent(transparent_);
    Invalidate();
}

void TImage::SetStretch(bool v)
{
    if (v == stretch_) return;
    stretch_ = v;
    Invalidate();
}

void TImage::SetCenter(bool v)
{
    if (v == center_) return;
    center_ = v;
    Invalidate();
}

void TImage::SetTransparent(bool v)
{
    if (v == transparent_) return;
    transparent_ = v;
    PictureChanged();
}

void TImage::SetAutoSize(bool v)
{
    autoSize_ = v;
    if (v) PictureChanged();
}

TRect TImage::DestRect() const
{
    const int w = picture_->Width(), h = picture_->Height();
    if (stretch_) return Rect(0, 0, Width(), Height());
    if (center_) return Bounds((Width() - w) / 2, (Height() - h) / 2, w, h);
    return Rect(0, 0, w, h);
}

void TImage::Paint()
{
    if (TGraphic* g = picture_->Graphic(); g && !g->Empty()) Canvas()->StretchDraw(DestRect(), g);
}

}  // namespace platform

#include "widgets/flat/SelectorPanel.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/GDI.h"
#include "platform/graphics/ImageList.h"
#include "platform/system/Thread.h"

namespace flat {

using namespace platform;

void TExSelectorItem::Assign(const TPersistent& source)
{
    const auto* s = dynamic_cast<const TExSelectorItem*>(&source);
    if (!s) return;
    BackGroundColor = s->BackGroundColor;
    Caption = s->Caption;
    CaptionAlignment = s->CaptionAlignment;
    ImageIndex = s->ImageIndex;
    Hint = s->Hint;
    Value = s->Value;
    ItemType = s->ItemType;
    Tag = s->Tag;
}

TExSelectorItem* TExSelectorItems::Add() { return Insert(Count()); }

TExSelectorItem* TExSelectorItems::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    return items_.insert(items_.begin() + index, std::make_unique<TExSelectorItem>())->get();
}

void TExSelectorItems::Delete(int index)
{
    if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

namespace {
int RoundEven(double v) { return int(std::nearbyint(v)); }
}  // namespace

void DrawGradient(TCanvas* canvas, TColor from, TColor to, bool horizontal, TRect R, int steps)
{
    if (steps == 0) steps = 1;
    const COLORREF a = ColorToRGB(from), b = ColorToRGB(to);
    const double dr = double(GetRValue(b) - GetRValue(a)) / steps, dg = double(GetGValue(b) - GetGValue(a)) / steps,
                 db = double(GetBValue(b) - GetBValue(a)) / steps;
    const double f = double(horizontal ? R.Right - R.Left : R.Bottom - R.Top) / steps;
    canvas->Brush().SetStyle(bsSolid);
    for (int i = 0; i < steps; ++i) {
        const TColor c = TColor(RGB(RoundEven(GetRValue(a) + i * dr), RoundEven(GetGValue(a) + i * dg),
                                    RoundEven(GetBValue(a) + i * db)));
        canvas->Pen().SetColor(c);
        canvas->Brush().SetColor(c);
        const int o = int(Word(RoundEven(i * f))), g = RoundEven(f);
        if (horizontal)
            canvas->Rectangle(R.Left + o, R.Top, R.Left + o + g + 1, R.Bottom);
        else
            canvas->Rectangle(R.Left, R.Top + o, R.Right, R.Top + o + g + 1);
    }
}

void FillGradient(TCanvas* canvas, TColor color, TColor colorTo, bool horizontal, TRect R, int steps)
{
    if (colorTo == clNone) {
        canvas->Brush().SetStyle(bsSolid);
        canvas->Brush().SetColor(color);
        canvas->FillRect(R);
    } else {
        DrawGradient(canvas, color, colorTo, horizontal, R, steps);
    }
    canvas->Brush().SetStyle(bsClear);
}

// ---------------------------------------------------------------- drop-down window

TSelectorDropDownWindow::TSelectorDropDownWindow(TComponent* AOwner) : TCustomForm(AOwner) { Init(); }

TSelectorDropDownWindow::TSelectorDropDownWindow(TComponent* AOwner, int) : TCustomForm(AOwner)
{
    selector_ = dynamic_cast<TControl*>(AOwner);
    Init();
}

TSelectorDropDownWindow::~TSelectorDropDownWindow() = default;

void TSelectorDropDownWindow::Init()
{
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetBounds(0, 0, 100, 100);
    hideTimer_ = new TTimer(this);
    hideTimer_->SetEnabled(false);
    hideTimer_->SetInterval(1);
    hideTimer_->SetOnTimer([this](TObject*) {
        hideTimer_->SetEnabled(false);
        Hide();
    });
}

void TSelectorDropDownWindow::SetWindowSize()
{
    if (!SelectorPanel) return;
    SetBounds(Left(), Top(), SelectorPanel->Width(), SelectorPanel->GetVisibleHeight());
}

void TSelectorDropDownWindow::WMNCHitTest(TMessage& m)
{
    const TPoint p = ScreenToClient(Point(m.LParamLo(), m.LParamHi()));
    m.Result = p.X > Width() - 10 && p.Y > Height() - 10 ? HTBOTTOMRIGHT : HTCLIENT;
}

void TSelectorDropDownWindow::Dispatch(TMessage& m)
{
    if (m.Msg == CM_ACTIVATE) {
        if (SelectorPanel && SelectorPanel->CanFocus()) SelectorPanel->SetFocus();
        // The window that holds the selector keeps its active caption.
        if (selector_) {
            TWinControl* top = selector_->Parent();
            while (top && top->Parent()) top = top->Parent();
            if (top) top->Perform(WM_NCACTIVATE, 1, 0);
        }
    }
    if (m.Msg == CM_DEACTIVATE && Visible()) hideTimer_->SetEnabled(true);
    TCustomForm::Dispatch(m);
}

void TSelectorDropDownWindow::CMDialogKey(TCMDialogKey& m)
{
    if (m.CharCode() == VK_ESCAPE && Visible()) {
        Hide();
        m.Result = 1;
        return;
    }
    TCustomForm::CMDialogKey(m);
}

// ---------------------------------------------------------------- panel base

TExCustomSelectorPanel::TExCustomSelectorPanel(TComponent* AOwner) : TCustomPanel(AOwner)
{
    SetBevelOuter(bvNone);
    SetBevelWidth(1);
    SetColor(0xF7F8F9);
    Window = dynamic_cast<TSelectorDropDownWindow*>(AOwner);
}

void TExCustomSelectorPanel::ShouldHide()
{
    if (OnShouldHide) OnShouldHide(this);
}

void TExCustomSelectorPanel::Paint()
{
    TCustomPanel::Paint();
    TCanvas* c = Canvas();
    const int w = Width(), h = Height();
    if (ColorTo != clNone) DrawGradient(c, Color(), ColorTo, GradientDirection == gdHorizontal, ClientRect(), 40);
    c->Pen().SetColor(WindowBorderColor);
    c->Pen().SetWidth(1);
    c->MoveTo(0, 0);
    c->LineTo(0, h);
    c->MoveTo(w - 1, h);
    c->LineTo(w - 1, 0);
    const int selectorWidth = Window && Window->Selector() ? Window->Selector()->Width() : 0;
    if (InCombo() || ShownAbove()) {
        c->MoveTo(0, 0);
        c->LineTo(w - 1, 0);
    } else {
        c->MoveTo(selectorWidth - 1, 0);
        c->LineTo(w, 0);
    }
    if (ShownAbove() && !InCombo())
        c->MoveTo(selectorWidth, h - 1);
    else
        c->MoveTo(0, h - 1);
    c->LineTo(w - 1, h - 1);
}

// ---------------------------------------------------------------- general panel

TExSelectorPanel::TExSelectorPanel(TComponent* AOwner) : TExCustomSelectorPanel(AOwner), items_(this)
{
    SetShowHint(true);
}

TExSelectorPanel::~TExSelectorPanel() = default;

void TExSelectorPanel::SetItemIndex(int i)
{
    if (i < 0) {
        itemIndex_ = -1;
        return;
    }
    if (i < items_.Count() && items_.Items(i)->Enable && i != itemIndex_) itemIndex_ = i;
}

int TExSelectorPanel::TotalAutoSizeButtons() const
{
    int n = 0;
    for (int i = 0; i < items_.Count(); ++i)
        if (items_.Items(i)->ItemType == itAutoSizeButton) ++n;
    return n;
}

// Text is measured off screen: the panel's own canvas would make its window before it shows.
TCanvas* TExSelectorPanel::MeasureCanvas(TBitmap& scratch)
{
    scratch.Canvas()->Font().Assign(*Font());
    return scratch.Canvas();
}

void TExSelectorPanel::AutoSizeBtnSize(int& W, int& H)
{
    W = MinButtonWidth;
    H = MinButtonHeight;
    TBitmap scratch(1, 1);
    TCanvas* c = MeasureCanvas(scratch);
    const int textHeight = c->TextHeight("gh");
    for (int i = 0; i < items_.Count(); ++i) {
        const TExSelectorItem* item = items_.Items(i);
        if (item->ItemType != itAutoSizeButton) continue;
        const int t = c->TextWidth(item->Caption);
        if (Images && item->ImageIndex >= 0) {
            W = std::max(W, t + Images->Width() + 2 * ButtonMargin);
            H = std::max(H, std::max(textHeight, Images->Height()) + ButtonMargin);
        } else {
            W = std::max(W, t + 2 * ButtonMargin);
            H = std::max(H, textHeight + ButtonMargin);
        }
        widestCaption_ = std::max(widestCaption_, t);
    }
}

int TExSelectorPanel::GetMaxWidth()
{
    int width = 2 * leftMargin_ + MinButtonWidth;
    TBitmap scratch(1, 1);
    TCanvas* c = MeasureCanvas(scratch);
    for (int i = 0; i < items_.Count(); ++i) {
        const TExSelectorItem* item = items_.Items(i);
        if (item->ItemType != itFullWidthButton) continue;
        const int image = Images && item->ImageIndex >= 0 ? Images->Width() : 0;
        width = std::max(width, c->TextWidth(item->Caption) + image + 2 * ButtonMargin + 2 * leftMargin_);
    }
    int W, H;
    AutoSizeBtnSize(W, H);
    return std::max(width, std::min(ButtonsPerRow, TotalAutoSizeButtons()) * W + 2 * leftMargin_);
}

void TExSelectorPanel::SetItemsPosition()
{
    SetWidth(GetMaxWidth());
    int W, H;
    AutoSizeBtnSize(W, H);
    int y = topMargin_, x = leftMargin_, column = 0;
    bool afterRow = false;
    for (int i = 0; i < items_.Count(); ++i) {
        TExSelectorItem* item = items_.Items(i);
        if (item->ItemType == itAutoSizeButton) {
            if (++column > ButtonsPerRow) {
                y += H;
                x = leftMargin_;
                column = 1;
            }
            item->ItemRect = Rect(x, y, x + W, y + H);
            x += W;
            afterRow = true;
        } else {
            if (afterRow) y += H + 2;
            item->ItemRect = Rect(leftMargin_, y, Width() - leftMargin_, y + fullWidthHeight_);
            y += fullWidthHeight_;
            x = leftMargin_;
            column = 0;
            afterRow = false;
        }
    }
    SetPanelHeight();
}

void TExSelectorPanel::SetPanelHeight()
{
    if (items_.Count() > 0) SetHeight(items_.Items(items_.Count() - 1)->ItemRect.Bottom + topMargin_);
}

int TExSelectorPanel::ItemAtPos(int X, int Y) const
{
    for (int i = 0; i < items_.Count(); ++i)
        if (PtInRect(items_.Items(i)->ItemRect, Point(X, Y))) return i;
    return -1;
}

void TExSelectorPanel::Paint()
{
    TExCustomSelectorPanel::Paint();
    for (int i = 0; i < items_.Count(); ++i) DrawItem(i, false);
}

void TExSelectorPanel::DrawItem(int Index, bool Refresh)
{
    if (Index < 0 || Index >= items_.Count()) return;
    const TRect R = items_.Items(Index)->ItemRect;
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    auto frame = [&](TColor color) {
        if (color == clNone) return;
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(color);
        c->FrameRect(R);
    };
    if (Index == downIndex_) {
        FillGradient(c, ColorDown, ColorDownTo, true, R, 16);
        frame(BorderDownColor);
        c->Font().SetColor(clWhite);
        DrawContent(c, Index, R);
    } else if (Index == hotIndex_) {
        TRect g = R;
        if (ColorHotTo != clNone) --g.Right;
        FillGradient(c, ColorHot, ColorHotTo, true, g, 16);
        frame(BorderHotColor);
        c->Font().SetColor(clBlack);
        DrawContent(c, Index, R);
    } else if (Refresh) {
        InvalidateRect(R);
    } else {
        const TExSelectorItem* item = items_.Items(Index);
        if (!OnDrawItem && item->BackGroundColor != clNone) {
            c->Pen().SetColor(item->BackGroundColor);
            c->Brush().SetStyle(bsSolid);
            c->Brush().SetColor(item->BackGroundColor);
            c->Rectangle(R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3);
        }
        if (Index == itemIndex_) {
            FillGradient(c, ColorSelected, ColorSelectedTo, true, R, 16);
            frame(BorderSelectedColor);
        }
        c->Font().SetColor(clBlack);
        DrawContent(c, Index, R);
    }
}

void TExSelectorPanel::DrawContent(TCanvas* c, int Index, const TRect& R)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, R);
        return;
    }
    const TExSelectorItem* item = items_.Items(Index);
    TRect T = R;
    OffsetRect(T, ButtonMargin, 0);
    c->Brush().SetStyle(bsClear);
    if (item->CaptionAlignment == taLeftJustify)
        DrawText(c->Handle(), item->Caption, -1, &T, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (Images && item->ImageIndex >= 0) {
        const int x = item->CaptionAlignment == taLeftJustify ? T.Left + widestCaption_ + 2 : T.Left;
        Images->Draw(c, x, T.Top + 2, item->ImageIndex, item->Enable);
        T.Left += Images->Width() + 2;
    }
    if (item->CaptionAlignment == taCenter)
        DrawText(c->Handle(), item->Caption, -1, &T, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    else if (item->CaptionAlignment == taRightJustify)
        DrawText(c->Handle(), item->Caption, -1, &T, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void TExSelectorPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TExCustomSelectorPanel::MouseMove(Shift, X, Y);
    const int h = ItemAtPos(X, Y);
    if (h < 0) {
        if (hotIndex_ >= 0) {
            const int old = hotIndex_;
            hotIndex_ = -1;
            downIndex_ = -1;
            DrawItem(old, true);
        }
        return;
    }
    if (h == hotIndex_) return;
    if (hotIndex_ >= 0) {
        const int old = hotIndex_;
        if (downIndex_ >= 0) downIndex_ = h;
        hotIndex_ = -1;
        DrawItem(old, true);
    }
    hotIndex_ = h;
    if (mouseDown_ || (Shift & ssLeft)) downIndex_ = h;
    DrawItem(h, false);
    SetHint(items_.Items(h)->Hint);
    if (Application) Application->CancelHint();
    if (OnHotTool) OnHotTool(this, h);
}

void TExSelectorPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    mouseDown_ = true;
    const int i = ItemAtPos(X, Y);
    if (i >= 0) {
        downIndex_ = i;
        DrawItem(i, false);
    }
    TExCustomSelectorPanel::MouseDown(Button, Shift, X, Y);
}

void TExSelectorPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    mouseDown_ = false;
    if (downIndex_ >= 0 && hotIndex_ >= 0) {
        SetItemIndex(downIndex_);
        if (OnSelect) OnSelect(this);
    }
    const int down = downIndex_, hot = hotIndex_;
    downIndex_ = hotIndex_ = -1;
    if (down >= 0) DrawItem(down, true);
    if (hot >= 0 && hot != down) DrawItem(hot, true);
    TExCustomSelectorPanel::MouseUp(Button, Shift, X, Y);
    ShouldHide();
}

void TExSelectorPanel::CMMouseLeave(TMessage& m)
{
    TExCustomSelectorPanel::CMMouseLeave(m);
    const int old = hotIndex_;
    hotIndex_ = downIndex_ = -1;
    if (old >= 0) DrawItem(old, true);
}

}  // namespace flat

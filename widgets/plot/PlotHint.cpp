#include "widgets/plot/PlotHint.h"

#include <algorithm>

#include "platform/graphics/Graphics.h"

namespace plot {

using namespace platform;

TEGHintForm::TEGHintForm(TComponent* AOwner) : TCustomForm(AOwner), bitmap_(std::make_unique<TBitmap>())
{
    SetBorderStyle(bsNone);
    SetBounds(Left(), Top(), 80, 50);
    bitmap_->SetSize(80, 50);
}

TEGHintForm::~TEGHintForm() = default;

void TEGHintForm::CreateParams(TCreateParams& Params)
{
    TCustomForm::CreateParams(Params);
    Params.WindowClassStyle |= CS_SAVEBITS;
}

void TEGHintForm::Render()
{
    const int W = Width(), H = Height();
    if (bitmap_->Width() < W || bitmap_->Height() < H)
        bitmap_->SetSize(std::max(W, bitmap_->Width()), std::max(H, bitmap_->Height()));
    TCanvas* c = bitmap_->Canvas();
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(clBtnFace);
    c->Pen().SetStyle(psSolid);
    c->Pen().SetMode(pmCopy);
    c->Pen().SetColor(clBtnHighlight);
    c->MoveTo(0, H - 1);
    c->LineTo(0, 0);
    c->LineTo(W, 0);
    c->Pen().SetColor(clBtnShadow);
    c->MoveTo(0, H - 1);
    c->LineTo(W - 1, H - 1);
    c->LineTo(W - 1, 0);
    c->FillRect(Rect(1, 1, W - 1, H - 1));
    c->TextOut(2, 2, "X:");
    c->TextOut(2, 17, "Y:");
    c->TextOut(75 - c->TextWidth(XText), 2, XText);
    c->TextOut(75 - c->TextWidth(YText), 17, YText);
    if (Found) {
        c->TextRect(Rect(13, 31, W - 2, H - 2), 75 - c->TextWidth(HintCaption), 32, HintCaption);
        c->Pen().SetColor(clBlack);
        c->Brush().SetColor(SeriesColor);
        c->Rectangle(3, 31, 11, H - 2);
    }
}

void TEGHintForm::Paint()
{
    const TRect r = Canvas()->ClipRect();
    Canvas()->CopyRect(r, bitmap_->Canvas(), r);
}

}  // namespace plot

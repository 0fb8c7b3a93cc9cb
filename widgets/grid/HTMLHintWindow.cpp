// The HTML hint window: measured and drawn with the grid's HTML engine, kept on screen.
#include "widgets/grid/HTMLHintWindow.h"

#include <algorithm>

#include "platform/graphics/Graphics.h"
#include "widgets/html/HtmlEngine.h"

using namespace platform;

namespace grid {

void THTMLHintWindow::CreateParams(TCreateParams& params)
{
    THintWindow::CreateParams(params);
    params.Style &= ~DWORD(WS_BORDER);
    params.WindowClassStyle |= CS_DROPSHADOW;
}

void THTMLHintWindow::Measure(const std::string& AHint, int Left, int MaxWidth, int& W, int& H)
{
    html::HTMLDrawParams p;
    p.Canvas = Canvas();
    p.Text = AHint;
    p.TextRect = Rect(Left, 0, Left + MaxWidth, 4096);
    p.MeasureOnly = true;
    html::HTMLDrawResult r;
    html::HTMLDrawEx(p, r);
    W = r.MeasuredWidth;
    H = r.MeasuredHeight;
}

void THTMLHintWindow::ActivateHint(TRect ARect, const std::string& AHint)
{
    SetText(AHint);
    Measure(AHint, ARect.Left, 1024 - 16, w_, h_);
    TRect r = Rect(ARect.Left, ARect.Top, ARect.Left + w_ + 16, ARect.Top + h_ + 4);
    if (r.Right > Screen->Width()) {
        const int dx = r.Right - (Screen->Width() - 2);
        r.Left -= dx;
        r.Right -= dx;
    }
    if (r.Bottom > Screen->Height()) {
        const int dy = r.Bottom - (Screen->Height() - 2);
        r.Top -= dy;
        r.Bottom -= dy;
    }
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    ShowNoActivate();
    Invalidate();
}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void*)
{
    int w = 0, h = 0;
    Measure(AHint, 0, MaxWidth, w, h);
    return Rect(0, 0, w, h);
}

void THTMLHintWindow::Paint()
{
    TCanvas* cv = Canvas();
    const TRect r = ClientRect();
    cv->Brush().SetColor(Color());
    cv->FillRect(r);
    cv->Pen().SetColor(cl3DLight);
    cv->MoveTo(r.Left, r.Bottom - 2);
    cv->LineTo(r.Left, r.Top);
    cv->LineTo(r.Right - 1, r.Top);
    cv->Pen().SetColor(cl3DDkShadow);
    cv->MoveTo(r.Left, r.Bottom - 1);
    cv->LineTo(r.Right - 1, r.Bottom - 1);
    cv->LineTo(r.Right - 1, r.Top - 1);
    html::HTMLDrawParams p;
    p.Canvas = cv;
    p.Text = Text();
    const int top = r.Top + (r.Height() - h_) / 2;
    p.TextRect = Rect(r.Left + 4, top, r.Right - 4, top + h_ + 8);
    p.LinkColor = clBlue;
    html::HTMLDrawResult res;
    html::HTMLDrawEx(p, res);
}

void UseHTMLHintWindows(bool Value)
{
    if (Value) SetHintWindowClass([](TComponent* owner) -> THintWindow* { return new THTMLHintWindow(owner); });
    else SetHintWindowClass([](TComponent* owner) { return new THintWindow(owner); });
}

}  // namespace grid

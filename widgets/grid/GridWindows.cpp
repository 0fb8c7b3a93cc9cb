// The grid's arrow windows and pop-up button.
#include "widgets/grid/GridWindows.h"

#include "platform/graphics/GDI.h"
#include "widgets/grid/GridDraw.h"
#include "widgets/html/HtmlEngine.h"

namespace grid {

using namespace platform;

TArrowWindow::TArrowWindow(TWinControl* AOwner, TArrowDirection ADirection) : TPanel(AOwner), direction_(ADirection)
{
    // A pop-up of its own, placed in screen pixels, so that it can stand beside the grid.
    SetColor(clLime);
    SetVisible(false);
}

std::vector<TPoint> TArrowWindow::Outline(TArrowDirection d)
{
    switch (d) {
    case arrUp: return {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
    case arrDown: return {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}};
    case arrLeft: return {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}};
    case arrRight: return {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}};
    }
    return {};
}

void TArrowWindow::CreateParams(TCreateParams& params)
{
    TPanel::CreateParams(params);
    params.Style = WS_POPUP;
}

void TArrowWindow::CreateWnd()
{
    TPanel::CreateWnd();
    const std::vector<TPoint> pts = Outline(direction_);
    SetWindowRgn(Handle(), CreatePolygonRgn(pts.data(), int(pts.size()), WINDING), true);
}

TPopupButton::TPopupButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetEnabled(false);  // a picture that follows the mouse: it takes no input
}

void TPopupButton::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
}

void TPopupButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!Flat) {
        c->Pen().SetColor(clWhite);
        c->MoveTo(r.Left, r.Bottom - 1);
        c->LineTo(r.Left, r.Top);
        c->LineTo(r.Right - 1, r.Top);
        c->Pen().SetColor(clGray);
        c->LineTo(r.Right - 1, r.Bottom - 1);
        c->LineTo(r.Left, r.Bottom - 1);
    }
    if (GradFrom != clNone) DrawGradient(*c, GradFrom, GradTo, 64, r, false);
    c->Brush().SetStyle(bsClear);
    if (Caption.find("</") == std::string::npos) {
        DrawText(c->Handle(), Caption, -1, &r, DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    } else {
        std::string anchor, stripped, focus, id, value, type;
        int mw = 0, mh = 0, links = 0, under = -1;
        TRect hover, ctl;
        html::grdhtmle::HTMLDrawEx(c, Caption, r, Images, 0, 0, -1, -1, 0, false, false, false, false, true, false,
                                   false, false, 1.0, clBlue, clNone, clNone, clGray, anchor, stripped, focus, mw, mh,
                                   links, under, hover, ctl, id, value, type, nullptr, nullptr, nullptr);
    }
    c->Brush().SetStyle(bsSolid);
}

}  // namespace grid

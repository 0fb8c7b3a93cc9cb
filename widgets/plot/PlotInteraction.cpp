// The plot control's mouse handling: rubber-band zoom, zoom out, pan, the value hint
// and the start of the zoom animation.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/StrUtils.h"
#include "platform/graphics/GDI.h"
#include "widgets/plot/ExprParser10.h"
#include "widgets/plot/LegendList.h"
#include "widgets/plot/PlotGraph.h"
#include "widgets/plot/PlotHint.h"
#include "widgets/plot/ZoomThread.h"

namespace plot {

using namespace platform;

namespace {

enum : unsigned { actZoomOut = 1, actPan = 2, actBand = 4, actHint = 8 };

bool Matches(TMouseAction action, TMouseButton button, TShiftState shift)
{
    switch (action) {
    case maRight: return button == mbRight;
    case maShift: return button == mbLeft && (shift & ssShift);
    case maCtrl: return button == mbLeft && (shift & ssCtrl);
    case maAlt: return button == mbLeft && (shift & ssAlt);
    default: return false;
    }
}

// Fixed-point text with 15 significant digits and 4 decimals; values beyond 15 integer
// digits take the exponent form.
std::string HintNumber(Extended v)
{
    if (!std::isfinite(v) || std::fabs(v) >= 1e15L) return base::FloatToStrG(double(v), 15);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14Le", v);
    return base::FloatToStrFixed(double(std::strtold(buf, nullptr)), 4);
}

// The hidden window that holds the mouse while the value hint is up. It lies at the
// screen origin, so its message positions are screen positions.
class HintCaptureWindow : public TWinControl {
public:
    explicit HintCaptureWindow(TPlotGraph* graph) : TWinControl(nullptr), graph_(graph) {}
    void WndProc(TMessage& m) override { graph_->MyWndProc(m); }

private:
    TPlotGraph* graph_;
};

}  // namespace

bool TPlotGraph::InPlot(int X, int Y) const
{
    return X >= plot_.Left && X < plot_.Right && Y >= plot_.Top && Y < plot_.Bottom;
}

TEGHintForm* TPlotGraph::HintForm()
{
    if (!hintForm_) hintForm_ = new TEGHintForm(this);
    return hintForm_;
}

void TPlotGraph::WndProc(TMessage& Message)
{
    // While the hint is up the capture window takes every mouse message.
    if (captureWindow_ && Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
        const TPoint p = Message.Msg == WM_MOUSEWHEEL ? Message.Pos() : ClientToScreen(Message.Pos());
        captureWindow_->Perform(Message.Msg, Message.WParam, PointToLParam(p));
        if (captureDone_) {
            delete captureWindow_;
            captureWindow_ = nullptr;
            captureDone_ = false;
        }
        return;
    }
    TGraphicControl::WndProc(Message);
}

void TPlotGraph::MyWndProc(TMessage& Message)
{
    if (Message.Msg == WM_MOUSEMOVE) {
        const TPoint o = ClientOrigin();
        lastPos_ = {Message.XPos() - o.X, Message.YPos() - o.Y};
        if (InPlot(lastPos_.X, lastPos_.Y)) {
            CalculateHint();
        } else {
            mouseActions_ = 0;
            HintForm()->Hide();
        }
    } else if (Message.Msg >= WM_LBUTTONDOWN && Message.Msg <= WM_MBUTTONDBLCLK) {
        mouseActions_ = 0;
        HintForm()->Hide();
        ReleaseCapture();
        captureDone_ = true;
    }
}

void TPlotGraph::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (mouseActions_) return;
    if (DontZoom()) {
        SetDontZoom(false);
        return;
    }
    moveCount_ = 0;
    if (zoomThread_ || !InPlot(X, Y)) return;
    if (Matches(MouseFuncHint(), Button, Shift)) {
        mouseActions_ = actHint;
        lastPos_ = {X, Y};
        HintForm()->SetVisible(true);  // shown without taking the focus
        CalculateHint();
        if (!captureWindow_) captureWindow_ = new HintCaptureWindow(this);
        captureDone_ = false;
        return;
    }
    if (Matches(MouseZoom(), Button, Shift)) mouseActions_ |= actZoomOut;
    if (Matches(MousePan(), Button, Shift)) {
        mouseActions_ |= actPan;
        lastPos_ = {X, Y};
    }
    if (Button == mbLeft && mouseActions_ == 0 && MouseZoom() != maNone) {
        mouseActions_ = actBand;
        band_ = Rect(X, Y, X, Y);
    }
}

void TPlotGraph::MouseMove(TShiftState Shift, int X, int Y)
{
    ++moveCount_;
    if ((mouseActions_ & actPan) && moveCount_ >= 3) {
        if (MousePan() == maRight && !(Shift & ssRight)) {
            mouseActions_ = 0;
        } else {
            mouseActions_ = actPan;
            const Extended dx = (visRect_.x2 - visRect_.x1) / (plot_.Right - plot_.Left);
            const Extended shiftX = (X - lastPos_.X) * dx;
            visRect_.x1 -= shiftX;
            visRect_.x2 -= shiftX;
            const Extended dy = (visRect_.y2 - visRect_.y1) / (plot_.Bottom - plot_.Top);
            const Extended shiftY = (Y - lastPos_.Y) * dy;
            visRect_.y1 += shiftY;
            visRect_.y2 += shiftY;
            dirty_ = true;
            lastPos_ = {X, Y};
            RaiseVisChange();
            Paint();
        }
    }
    if (mouseActions_ == actBand) {
        band_.Right = std::clamp(X, plot_.Left, plot_.Right);
        band_.Bottom = std::clamp(Y, plot_.Top, plot_.Bottom);
        ShowBand(true);
    }
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TPlotGraph::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (mouseActions_ == actBand) {
        ShowBand(false);
        if (Button == mbLeft) GraphZoom();
    }
    if ((mouseActions_ & actZoomOut) && moveCount_ < 3) {
        const Extended hw = (visRect_.x2 - visRect_.x1) / 2, hh = (visRect_.y2 - visRect_.y1) / 2;
        ApplyZoomTarget(Rect2D(visRect_.x1 - hw, visRect_.y1 - hh, visRect_.x2 + hw, visRect_.y2 + hh));
    }
    mouseActions_ = 0;
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

// The band is an overlay that Paint draws over the picture, so it comes and goes with
// the repaints of the control instead of being inverted on the screen.
void TPlotGraph::ShowBand(bool show)
{
    const TRect r = Rect(std::min(band_.Left, band_.Right), std::min(band_.Top, band_.Bottom),
                         std::max(band_.Left, band_.Right) + 1, std::max(band_.Top, band_.Bottom) + 1);
    if (show == bandShown_ && (!show || r == bandDrawn_)) return;
    bandShown_ = show;
    bandDrawn_ = r;
    Invalidate();
}

void TPlotGraph::LineRect(int X1, int Y1, int X2, int Y2)
{
    const TRect r = Rect(std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2) + 1, std::max(Y1, Y2) + 1);
    // Drawing the band that shows removes it.
    bandShown_ = !(bandShown_ && r == bandDrawn_);
    bandDrawn_ = r;
    Invalidate();
}

void TPlotGraph::DrawBand()
{
    if (!bandShown_) return;
    TCanvas* c = Canvas();
    const TPenMode mode = c->Pen().Mode();
    const TColor color = c->Pen().Color();
    const TBrushStyle brush = c->Brush().Style();
    c->Pen().SetMode(pmXor);
    c->Pen().SetColor(TColor(0x00FFFFFF));
    c->Pen().SetStyle(psSolid);
    c->Brush().SetStyle(bsClear);
    c->Rectangle(bandDrawn_);
    c->Pen().SetMode(mode);
    c->Pen().SetColor(color);
    c->Brush().SetStyle(brush);
}

void TPlotGraph::GraphZoom()
{
    const TRect2D v = visRect_;
    TRect2D target;
    if (band_.Right == band_.Left || band_.Top == band_.Bottom) {
        const Extended qw = (v.x2 - v.x1) / 4, qh = (v.y2 - v.y1) / 4;
        target = Rect2D(v.x1 + qw, v.y1 + qh, v.x2 - qw, v.y2 - qh);
    } else {
        if (band_.Left > band_.Right) std::swap(band_.Left, band_.Right);
        if (band_.Top > band_.Bottom) std::swap(band_.Top, band_.Bottom);
        const Extended dx = (v.x2 - v.x1) / (plot_.Right - plot_.Left);
        const Extended dy = (v.y2 - v.y1) / (plot_.Bottom - plot_.Top);
        target = Rect2D(v.x1 + (band_.Left - plot_.Left) * dx, v.y1 + (plot_.Bottom - band_.Bottom) * dy,
                        v.x1 + (band_.Right - plot_.Left) * dx, v.y1 + (plot_.Bottom - band_.Top) * dy);
    }
    AdjustZoom(target);
    if (v.x2 - v.x1 > target.x2 - target.x1 || v.y2 - v.y1 > target.y2 - target.y1) ApplyZoomTarget(target);
}

void TPlotGraph::ApplyZoomTarget(const TRect2D& Target)
{
    if (ZoomTime() > 0) {
        // Animations that have ended are freed when the next one starts; the one being
        // replaced may be running this very call from its frame, so it stays until then.
        for (int i = ComponentCount() - 1; i >= 0; --i)
            if (auto* z = dynamic_cast<TZoomThread*>(Components(i));
                z && z != zoomThread_ && (z->Finished() || z->Terminated()))
                delete z;
        if (zoomThread_) zoomThread_->Terminate();
        zoomThread_ = new TZoomThread(this, visRect_, Target, ZoomTime(), LastRenderTime());
        return;
    }
    visRect_ = Target;
    dirty_ = true;
    RaiseVisChange();
    Paint();
}

// The pixel row of a series at column c, false where it has none. A point series sets
// verticalHit when the cursor lies on a vertical segment in that column.
bool TPlotGraph::SeriesRowAt(const TPoints& s, int c, Extended cursorY, int& row, bool& verticalHit)
{
    const TRect2D& v = visRect_;
    const Extended wx = v.x1 + (c - plot_.Left) * (v.x2 - v.x1) / (plot_.Right - plot_.Left);
    Extended y;
    if (!s.Func().empty()) {
        try {
            TExprParser& e = Evaluator();
            e.SetX(wx);
            e.SetExpression(s.FilteredFunc());
            y = e.CalcValue();
            if (e.CalcError()) return false;
        } catch (...) {
            return false;
        }
    } else {
        const int n = s.Count();
        if (n < 2) return false;
        const TPoint2D* p = s.Points();
        int r = 0;
        while (r < n && p[r].x < wx) ++r;
        r = std::clamp(r, 1, n - 1);
        const int pa = WorldToPixelX(p[r - 1].x), pb = WorldToPixelX(p[r].x);
        if (pa + 1 >= c && c >= pb - 1 && cursorY >= std::min(p[r - 1].y, p[r].y) &&
            cursorY <= std::max(p[r - 1].y, p[r].y)) {
            row = 0;
            verticalHit = true;
            return true;
        }
        y = p[r - 1].y + (wx - p[r - 1].x) * (p[r].y - p[r - 1].y) / (p[r].x - p[r - 1].x);
    }
    // A vertical segment away from the cursor has no row.
    if (!std::isfinite(y)) return false;
    row = RoundEven(plot_.Bottom - (y - v.y1) * (plot_.Bottom - plot_.Top) / (v.y2 - v.y1));
    return true;
}

void TPlotGraph::CalculateHint()
{
    int found = -1;
    const int X = lastPos_.X, Y = lastPos_.Y;
    Extended wx, wy;
    if (!GetGraphCoords(X, Y, wx, wy)) return;
    TEGHintForm* form = HintForm();
    form->XText.clear();
    if (OnXLabeling()) OnXLabeling()(this, wx, form->XText);
    else form->XText = HintNumber(wx);
    const TRect2D& v = visRect_;
    const Extended cursorY = v.y1 + (plot_.Bottom - Y) * (v.y2 - v.y1) / (plot_.Bottom - plot_.Top);
    form->YText.clear();
    if (OnYLabeling()) OnYLabeling()(this, cursorY, form->YText);
    else form->YText = HintNumber(cursorY);
    form->Found = false;
    TSeries& list = Series();
    for (int i = 0; i < list.Count() && found < 0; ++i) {
        const TPoints& s = list.GetSeries(i);
        if (!s.Visible()) continue;
        int prev = 0, cur = 0;
        bool hit = false;
        bool havePrev = SeriesRowAt(s, X - 2, cursorY, prev, hit);
        for (int c = X - 1; c <= X + 2; ++c) {
            hit = false;
            const bool haveCur = SeriesRowAt(s, c, cursorY, cur, hit);
            if (havePrev && haveCur &&
                (hit || (std::min(prev, cur) - 3 < Y && Y < std::max(prev, cur) + 3))) {
                form->SeriesColor = TColor(s.Color());
                form->HintCaption = s.Func().empty() ? s.Caption() : s.Func();
                form->Found = true;
                found = i;
                break;
            }
            havePrev = haveCur;
            prev = cur;
        }
    }
    form->Render();
    form->Repaint();
    const TPoint o = ClientOrigin();
    form->SetBounds(o.X + X, o.Y + Y + GetSystemMetrics(SM_CYCURSOR) + 5, form->Width(), form->Height());
    if (OnHintUpdate) OnHintUpdate(this, o.X, o.Y, found);
}

void TPlotGraph::UpdateLegend()
{
    if (legend_) legend_->UpdateList(-1);
}

// The first step of the destructor: the animation stops, the legend list forgets this
// control, the hint's capture window goes.
void TPlotGraph::ReleaseInteraction()
{
    for (int i = ComponentCount() - 1; i >= 0; --i)
        if (auto* z = dynamic_cast<TZoomThread*>(Components(i))) {
            z->Terminate();
            delete z;
        }
    zoomThread_ = nullptr;
    if (legend_ && legend_->plotGraph_ == this) {
        legend_->RemoveFreeNotification(this);
        legend_->plotGraph_ = nullptr;
    }
    legend_ = nullptr;
    delete captureWindow_;
    captureWindow_ = nullptr;
}

}  // namespace plot

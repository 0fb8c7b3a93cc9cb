// The chart panel: layout of the chart rectangle, drawing through the chart canvas,
// listeners, store-and-repaint setters, the background, bevels and back image.
#include "widgets/chart/ChartPanel.h"

#include <algorithm>

#include "base/Exception.h"
#include "base/ScopeGuard.h"
#include "platform/graphics/GDI.h"
#include "widgets/chart/ChartCanvas3D.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartPen.h"

namespace chart {

using namespace platform;

// ---------------------------------------------------------------- palette

TColorArray ColorPalette;
bool ChartClipWhenPrinting = true, ChartClipWhenMetafiling = true, ChartEraseBack = false, PrintChartPanel = false;

namespace {
const TColorArray kDefaultPalette = {clRed,  clGreen,  clYellow, clBlue,   clWhite,   clGray,   clFuchsia,
                                     clTeal, clNavy,   clMaroon, clLime,   clOlive,   clPurple, clSilver,
                                     clAqua, clBlack,  clMoneyGreen, clSkyBlue, clCream, clMedGray};
struct Start {
    Start() { SetDefaultColorPalette(); }
} start;
}  // namespace

TColor GetDefaultColor(int index)
{
    if (ColorPalette.empty()) SetDefaultColorPalette();
    const int n = int(ColorPalette.size());
    return ColorPalette[std::size_t(((index % n) + n) % n)];
}

void SetDefaultColorPalette() { ColorPalette = kDefaultPalette; }

void SetDefaultColorPalette(const TColorArray& colours)
{
    // One colour (or none) restores the defaults: an empty palette would leave series colourless.
    if (colours.size() <= 1) SetDefaultColorPalette();
    else ColorPalette = colours;
}

// ---------------------------------------------------------------- listeners and zoom

int TChartEventListeners::Add(IChartEventListener* l)
{
    auto it = std::find(items_.begin(), items_.end(), l);
    if (it != items_.end()) return int(it - items_.begin());
    items_.push_back(l);
    return int(items_.size()) - 1;
}

int TChartEventListeners::Remove(IChartEventListener* l)
{
    auto it = std::find(items_.begin(), items_.end(), l);
    if (it == items_.end()) return -1;
    const int i = int(it - items_.begin());
    items_.erase(it);
    return i;
}

void TZoomPanning::Activate(int x, int y)
{
    X0 = X1 = x;
    Y0 = Y1 = y;
    Active = true;
}

void TZoomPanning::Check()
{
    if (X1 < X0) std::swap(X0, X1);
    if (Y1 < Y0) std::swap(Y0, Y1);
}

TChartZoom::TChartZoom() = default;
TChartZoom::~TChartZoom() = default;

TChartZoomPen::TChartZoomPen() { SetColor(clWhite); }

TChartZoomBrush::TChartZoomBrush()
{
    SetColor(clWhite);
    SetStyle(bsClear);
}

TChartZoomBrush* TChartZoom::Brush()
{
    if (!brush_) brush_ = std::make_unique<TChartZoomBrush>();
    return brush_.get();
}

TChartZoomPen* TChartZoom::Pen()
{
    if (!pen_) pen_ = std::make_unique<TChartZoomPen>();
    return pen_.get();
}

void TChartZoom::Assign(const TChartZoom& s)
{
    Allow = s.Allow;
    Animated = s.Animated;
    AnimatedSteps = s.AnimatedSteps;
    if (s.brush_) Brush()->Assign(*s.brush_);
    else brush_.reset();
    Direction = s.Direction;
    KeyShift = s.KeyShift;
    MouseButton = s.MouseButton;
    if (s.pen_) Pen()->Assign(*s.pen_);
    else pen_.reset();
}

// ---------------------------------------------------------------- TCustomChartPanel

TCustomChartPanel::TCustomChartPanel(TComponent* owner) : TCustomControl(owner)
{
    SetBounds(Left(), Top(), 400, 250);
    SetColor(clBtnFace);
    ControlCanvas = Canvas();
    view3DOptions_ = std::make_unique<TView3DOptions>(this);
    canvas_ = std::make_unique<TChartCanvas3D>();
    canvas_->SetCanvas(ControlCanvas);
    shadow_ = std::make_unique<TChartShadow>([this](TObject* s) { CanvasChanged(s); });
    border_ = std::make_unique<TChartHiddenPen>([this](TObject* s) { CanvasChanged(s); });
    {
        TNotifyEvent keep = std::move(border_->OnChange);
        border_->SetEndStyle(esFlat);
        border_->OnChange = std::move(keep);
    }
    SavedCursor = Cursor();
    repaintEnabled_ = true;
}

TCustomChartPanel::~TCustomChartPanel()
{
    destroying_ = true;
    repaintEnabled_ = false;
}

void TCustomChartPanel::SetBevelInner(TBevelCut v)
{
    if (StoreChanged(bevelInner_, v)) Invalidate();
}

void TCustomChartPanel::SetBevelOuter(TBevelCut v)
{
    if (StoreChanged(bevelOuter_, v)) Invalidate();
}

void TCustomChartPanel::SetBorderRound(int v)
{
    if (borderRound_ == v) return;
    borderRound_ = v;
    if (!Loading) SetControlRounded();
}

void TCustomChartPanel::SetMarginUnits(TChartUnits u)
{
    if (StoreChanged(marginUnits_, u)) Invalidate();
}

void TCustomChartPanel::SetView3D(bool v)
{
    if (view3D_ == v) return;
    SetBooleanProperty(view3D_, v);
    TChartView3DEvent e;
    BroadcastChartEvent(e);
}

bool TCustomChartPanel::BufferedDisplay() const { return canvas_->GetUseBuffer(); }
void TCustomChartPanel::SetBufferedDisplay(bool v) { canvas_->SetUseBuffer(v); }
bool TCustomChartPanel::Monochrome() const { return canvas_->GetMonochrome(); }
void TCustomChartPanel::SetMonochrome(bool v) { canvas_->SetMonochrome(v); }

void TCustomChartPanel::SetStringProperty(std::string& field, const std::string& v)
{
    if (StoreChanged(field, v)) Invalidate();
}
void TCustomChartPanel::SetDoubleProperty(double& field, double v)
{
    if (StoreChanged(field, v)) Invalidate();
}
void TCustomChartPanel::SetColorProperty(TColor& field, TColor v)
{
    if (StoreChanged(field, v)) Invalidate();
}
void TCustomChartPanel::SetBooleanProperty(bool& field, bool v)
{
    if (StoreChanged(field, v)) Invalidate();
}
void TCustomChartPanel::SetIntegerProperty(int& field, int v)
{
    if (StoreChanged(field, v)) Invalidate();
}

void TCustomChartPanel::Invalidate()
{
    if (!repaintEnabled_) return;
    canvas_->Invalidate();
    TCustomControl::Invalidate();
}

void TCustomChartPanel::Paint()
{
    if (IsPrinting) return;
    // A see-through chart is drawn again over what is under it now.
    if (Color() != clNone && canvas_->ReDrawBitmap()) return;
    Draw();
}

void TCustomChartPanel::Draw() { Draw(ControlCanvas, GetRectangle()); }

TRect TCustomChartPanel::GetRectangle()
{
    if (Parent()) return ClientRect();
    return {0, 0, Width(), Height()};
}

void TCustomChartPanel::Draw(TCanvas* userCanvas, const TRect& userRect)
{
    DrawBounds = canvas_->InitWindow(userCanvas, view3DOptions_.get(), Color(), view3D_, userRect);
    const int w = DrawBounds.Width(), h = DrawBounds.Height();
    int b = borderWidth_;
    if (bevelInner_ != bvNone) b += bevelWidth_;
    if (bevelOuter_ != bvNone) b += bevelWidth_;
    if (border_->Visible()) b += border_->Width();
    auto margin = [&](int i, int extent) { return marginUnits_ == muPixels ? margins_[i] : margins_[i] * extent / 100; };
    ChartRect = {DrawBounds.Left + b + margin(0, w), DrawBounds.Top + b + margin(1, h),
                 DrawBounds.Right - b - margin(2, w), DrawBounds.Bottom - b - margin(3, h)};
    ReCalcWidthHeight();
    {
        // The canvas goes back to the window and the half-drawn buffer is not shown.
        base::ScopeFail discard([this] {
            canvas_->Invalidate();
            canvas_->SetCanvas(ControlCanvas);
        });
        InternalDraw(DrawBounds);
    }
    canvas_->ShowImage(userCanvas, ControlCanvas, userRect);
}

void TCustomChartPanel::ReCalcWidthHeight()
{
    TRect& r = ChartRect;
    r.Left = std::max(r.Left, DrawBounds.Left);
    r.Top = std::max(r.Top, DrawBounds.Top);
    if (r.Left > r.Right) r.Right = r.Left + 1;
    else if (r.Left == r.Right) r.Right = r.Left + Width();
    if (r.Top > r.Bottom) r.Bottom = r.Top + 1;
    else if (r.Top == r.Bottom) r.Bottom = r.Top + Height();
    ChartRectWidth = r.Width();
    ChartRectHeight = r.Height();
    RectCenter(r, ChartRectCenterX, ChartRectCenterY);
}

bool TCustomChartPanel::CanClip()
{
    if (canvas_->GetSupportsFullRotation()) return false;
    const bool meta = canvas_->Metafiling;
    return (!IsPrinting && !meta) || (IsPrinting && ChartClipWhenPrinting) || (meta && ChartClipWhenMetafiling);
}

void TCustomChartPanel::SetBrushCanvas(TColor color, TChartBrush& brush, TColor backColor)
{
    if (brush.Style() != bsSolid && color == backColor) color = backColor == clBlack ? clWhite : clBlack;
    canvas_->AssignBrushColor(brush, color, backColor);
}

void TCustomChartPanel::SetInternalCanvas(TCanvas3D* canvas)
{
    if (!canvas) return;
    canvas->SetCanvas(ControlCanvas);
    if (canvas_) {
        const bool keep = repaintEnabled_;
        repaintEnabled_ = false;
        canvas->Assign(*canvas_);
        repaintEnabled_ = keep;
    }
    canvas_.reset(canvas);
    if (repaintEnabled_) Invalidate();
}

TChartEvent& TCustomChartPanel::BroadcastChartEvent(TChartEvent& event)
{
    if (destroying_) return event;
    event.Sender = this;
    const bool mouse = dynamic_cast<TChartMouseMessage*>(&event) != nullptr;
    for (int i = 0; i < Listeners.Count(); ++i) {
        Listeners.Get(i)->ReceiveChartEvent(event);
        if (mouse && MouseCancelled) break;
    }
    return event;
}

void TCustomChartPanel::BroadcastMouseEvent(TChartMouseEventKind kind, TMouseButton button, TShiftState shift, int x,
                                            int y)
{
    if (Listeners.Count() == 0) return;
    TChartMouseMessage m;
    m.Event = kind;
    m.Button = button;
    m.Shift = shift;
    m.X = x;
    m.Y = y;
    BroadcastChartEvent(m);
}

void TCustomChartPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    MouseCancelled = false;
    TCustomControl::MouseDown(button, shift, x, y);
    BroadcastMouseEvent(meDown, button, shift, x, y);
}

void TCustomChartPanel::MouseMove(TShiftState shift, int x, int y)
{
    MouseCancelled = false;
    TCustomControl::MouseMove(shift, x, y);
    BroadcastMouseEvent(meMove, mbLeft, shift, x, y);
}

void TCustomChartPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    BroadcastMouseEvent(meUp, button, shift, x, y);
}

void TCustomChartPanel::DblClick()
{
    MouseCancelled = false;
    TCustomControl::DblClick();
    if (MouseCancelled) throw base::EAbort("");
}

void TCustomChartPanel::Assign(const TPersistent& source)
{
    auto* p = dynamic_cast<const TCustomChartPanel*>(&source);
    if (!p) {
        TCustomControl::Assign(source);
        return;
    }
    border_->Assign(*p->border_);
    borderRound_ = p->borderRound_;
    SetBufferedDisplay(p->BufferedDisplay());
    std::copy(std::begin(p->PrintMargins), std::end(p->PrintMargins), std::begin(PrintMargins));
    PrintProportional = p->PrintProportional;
    PrintDetail = p->PrintDetail;
    std::copy(std::begin(p->margins_), std::end(p->margins_), std::begin(margins_));
    marginUnits_ = p->marginUnits_;
    SetMonochrome(p->Monochrome());
    shadow_->Assign(*p->shadow_);
    view3D_ = p->view3D_;
    view3DOptions_->Assign(*p->view3DOptions_);
    SetColor(p->Color());
    Invalidate();
}

void TCustomChartPanel::Loaded()
{
    TCustomControl::Loaded();
    SavedCursor = Cursor();
    if (borderRound_ > 0) SetControlRounded();
}

void TCustomChartPanel::SetBorder(const TChartHiddenPen& pen) { border_->Assign(pen); }
void TCustomChartPanel::SetShadow(const TChartShadow& shadow) { shadow_->Assign(shadow); }
void TCustomChartPanel::SetView3DOptions(const TView3DOptions& options)
{
    view3DOptions_->Assign(options);
    Invalidate();
}

TFormBorderStyle TCustomChartPanel::BorderStyle() const { return border_->Visible() ? bsSingle : bsNone; }
void TCustomChartPanel::SetBorderStyle(TFormBorderStyle style) { border_->SetVisible(style == bsSingle); }

bool TCustomChartPanel::IsScreenHighColor()
{
    if (canvas_->GetSupportsFullRotation()) return true;
    HDC dc = canvas_->GetHandle();
    return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) >= 15;
}

double ScreenRatio(TCanvas3D& canvas)
{
    HDC dc = canvas.GetHandle();
    const int v = GetDeviceCaps(dc, VERTSIZE);
    return v == 0 ? 0 : double(GetDeviceCaps(dc, HORZSIZE)) / v;
}

TPoint TCustomChartPanel::GetCursorPos()
{
    TPoint p;
    platform::GetCursorPos(p);
    return ScreenToClient(p);
}

void TCustomChartPanel::SetControlRounded()
{
    if (rounding_ || !Parent()) return;
    rounding_ = true;
    HRGN r = borderRound_ > 0 ? CreateRoundRectRgn(0, 0, Width(), Height(), borderRound_, borderRound_) : nullptr;
    SetWindowRgn(Handle(), r, true);
    rounding_ = false;
}

void TCustomChartPanel::Resize()
{
    if (borderRound_ > 0 && !Loading) SetControlRounded();
    TCustomControl::Resize();
}

void TCustomChartPanel::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    if (Color() == clNone) params.ExStyle |= WS_EX_TRANSPARENT;
}

void TCustomChartPanel::CMMouseLeave(TMessage& m)
{
    SetCursor(SavedCursor);
    Panning.Active = false;
    TCustomControl::CMMouseLeave(m);
}

void TCustomChartPanel::WMEraseBkgnd(TWMEraseBkgnd& m)
{
    if (ChartEraseBack) TCustomControl::WMEraseBkgnd(m);
    m.Result = 1;
}

void TCustomChartPanel::WMGetDlgCode(TWMGetDlgCode& m)
{
    TCustomControl::WMGetDlgCode(m);
    m.Result |= DLGC_WANTARROWS;
}

void TCustomChartPanel::WndProc(TMessage& m)
{
    TCustomControl::WndProc(m);
    if (m.Msg == CM_SYSCOLORCHANGE) Invalidate();
}

// ---------------------------------------------------------------- extended panel

void TBackImage::Assign(const TPersistent& source)
{
    if (auto* b = dynamic_cast<const TBackImage*>(&source)) {
        inside_ = b->inside_;
        left_ = b->left_;
        mode_ = b->mode_;
        top_ = b->top_;
    }
    TPicture::Assign(source);
}

TCustomChartPanelExtended::TCustomChartPanelExtended(TComponent* owner) : TCustomChartPanel(owner) {}
TCustomChartPanelExtended::~TCustomChartPanelExtended() = default;

void TCustomChartPanelExtended::Assign(const TPersistent& source)
{
    if (auto* p = dynamic_cast<const TCustomChartPanelExtended*>(&source)) {
        SetBackImage(p->backImage_.get());
        SetGradient(p->gradient_.get());
        AllowPanning = p->AllowPanning;
        Zoom.Assign(p->Zoom);
    }
    TCustomChartPanel::Assign(source);
}

TChartGradient& TCustomChartPanelExtended::Gradient()
{
    if (!gradient_) gradient_ = std::make_unique<TChartGradient>([this](TObject* s) { CanvasChanged(s); });
    return *gradient_;
}

void TCustomChartPanelExtended::SetGradient(const TChartGradient* g)
{
    if (g) Gradient().Assign(*g);
    else gradient_.reset();
}

TBackImage& TCustomChartPanelExtended::GetBackImage()
{
    if (!backImage_) {
        backImage_ = std::make_unique<TBackImage>();
        backImage_->OnChange = [this](TObject* s) { CanvasChanged(s); };
    }
    return *backImage_;
}

bool TCustomChartPanelExtended::HasBackImage() const { return backImage_ && backImage_->Graphic(); }

bool TCustomChartPanelExtended::GetBackImageInside() const { return backImage_ && backImage_->Inside(); }

bool TCustomChartPanelExtended::GetBackImageTransp() const
{
    return backImage_ && backImage_->Graphic() && backImage_->Graphic()->Transparent();
}

void TCustomChartPanelExtended::SetBackImageTransp(bool v)
{
    if (backImage_ && backImage_->Graphic()) backImage_->Graphic()->SetTransparent(v);
}

void TCustomChartPanelExtended::SetBackImage(const TBackImage* image)
{
    if (image) BackImage().Assign(*image);
    else backImage_.reset();
}

void TCustomChartPanelExtended::UndoZoom()
{
    if (OnUndoZoom) OnUndoZoom(this);
    Invalidate();
    Zoomed = false;
}

void TCustomChartPanelExtended::PanelPaint(const TRect& rect)
{
    TCanvas3D& c = *ChartCanvas();
    TRect r = rect;
    c.FrontPlaneBegin();
    if (Shadow().Size() > 0) {
        c.Brush().SetColor(Parent() ? Parent()->Color() : Color());
        c.Brush().SetStyle(bsSolid);
        c.EraseBackground(r);
        r.Right -= Shadow().HorizSize();
        r.Bottom -= Shadow().VertSize();
        Shadow().Draw(c, r);
    }
    FillPanelRect(r);
    if (HasBackImage() && !backImage_->Inside()) DrawBitmap(r, 0);
    DrawPanelBevels(r);
    c.FrontPlaneEnd();
}

void TCustomChartPanelExtended::FillPanelRect(const TRect& r)
{
    TCanvas3D& c = *ChartCanvas();
    c.FrontPlaneBegin();
    if (gradient_ && gradient_->Visible()) {
        gradient_->Draw(c, r, 0);
    } else if ((!IsPrinting || PrintChartPanel) && Color() != clNone) {
        c.Brush().SetColor(Color());
        c.Brush().SetStyle(bsSolid);
        c.EraseBackground(r);
    }
    c.FrontPlaneEnd();
}

void TCustomChartPanelExtended::DrawBitmap(const TRect& rect, int z)
{
    if (!HasBackImage()) return;
    TCanvas3D& c = *ChartCanvas();
    TGraphic* g = backImage_->Graphic();
    TRect r = rect;
    const bool orthogonal = View3DOptions().Orthogonal();
    const bool threeD = z > 0 && View3D() && !orthogonal;
    auto toFront = [&] {
        if (z > 0 && orthogonal) {
            r = c.CalcRect3D(r, z);
            if (!View3D()) ++r.Top;
        }
    };
    if (backImage_->Mode() == pbmStretch) {
        if (threeD) {
            c.StretchDraw(r, g, z);
        } else {
            toFront();
            c.StretchDraw(r, g);
        }
        return;
    }
    const bool clip = CanClip();
    if (clip) {
        if (z == 0) c.ClipRectangle(r);
        else c.ClipCube(r, 0, Depth3D);
    }
    toFront();
    const int w = r.Width(), h = r.Height();
    if (backImage_->Mode() == pbmTile) {
        const int pw = g->Width(), ph = g->Height();
        if (pw > 0 && ph > 0)
            for (int y = 0; y < h; y += ph)
                for (int x = 0; x < w; x += pw) {
                    if (threeD) c.StretchDraw({r.Left + x, r.Top + y, r.Left + x + pw, r.Top + y + ph}, g, z);
                    else c.Draw(r.Left + x, r.Top + y, g);
                }
    } else {
        FillPanelRect(r);
        if (backImage_->Mode() == pbmCustom) {
            r.Left += backImage_->Left();
            r.Top += backImage_->Top();
            r.Right = r.Left + g->Width();
            r.Bottom = r.Top + g->Height();
        } else {
            InflateRect(r, (g->Width() - w) / 2, (g->Height() - h) / 2);
        }
        if (threeD) c.StretchDraw(r, g, z);
        else c.Draw(r.Left, r.Top, g);
    }
    if (clip) c.UnClipRectangle();
}

void TCustomChartPanelExtended::DrawZoomRectangle()
{
    TCanvas3D& c = *ChartCanvas();
    const TColor b = TColor(ColorToRGB(GetBackColor()));
    if (Zoom.HasBrush()) SetBrushCanvas(Zoom.Brush()->Color() ^ (0xFFFFFF - b), *Zoom.Brush(), b);
    else c.Brush().SetStyle(bsClear);
    {
        TNotifyEvent keep = std::move(Zoom.Pen()->OnChange);
        Zoom.Pen()->SetMode(pmNotXor);
        Zoom.Pen()->OnChange = std::move(keep);
    }
    c.AssignVisiblePenColor(*Zoom.Pen(), Zoom.Pen()->Color() ^ (0xFFFFFF - b));
    if (!Zoom.HasBrush() || Zoom.Brush()->Style() == bsClear) c.SetBackMode(cbmTransparent);
    c.Rectangle(Zoom.X0, Zoom.Y0, Zoom.X1, Zoom.Y1);
}

void DrawBevel(TChartCanvas& canvas, TBevelCut bevel, TRect& r, int width, int round)
{
    if (bevel == bvNone) return;
    if (round > 0) {
        canvas.Pen().SetColor(bevel == bvLowered ? clBtnShadow : clBtnHighlight);
        canvas.RoundRect(r, round, round);
        InflateRect(r, -width, -width);
        return;
    }
    canvas.Frame3D(r, bevel == bvLowered ? clBtnShadow : clBtnHighlight,
                   bevel == bvRaised ? clBtnShadow : clBtnHighlight, width);
}

void TCustomChartPanelExtended::DrawPanelBevels(const TRect& rect)
{
    TCanvas3D& c = *ChartCanvas();
    TRect r = rect;
    c.FrontPlaneBegin();
    c.Brush().SetStyle(bsClear);
    if (Border().Visible()) {
        c.AssignVisiblePen(Border());
        int t;
        if (Border().SmallDots()) {
            t = 1;
        } else {
            t = Border().Width() - 1;
            if (t > 0) {
                const int h = t / 2;
                r.Left += h + (t % 2);
                r.Top += h + (t % 2);
                r.Right -= h - (h % 2);
                r.Bottom -= h - (h % 2);
                t = h - (h % 2);
            }
        }
        if (BorderRound() < 1) {
            c.Rectangle(r);
            if (!Border().SmallDots()) ++t;
        } else {
            --r.Right;
            --r.Bottom;
            c.RoundRect(r, BorderRound(), BorderRound());
        }
        InflateRect(r, -t, -t);
    }
    if (!IsPrinting || PrintChartPanel) {
        c.Pen().SetStyle(psSolid);
        c.Pen().SetWidth(1);
        c.Pen().SetMode(pmCopy);
        DrawBevel(c, BevelOuter(), r, BevelWidth(), BorderRound());
        if (BorderWidth() > 0) c.Frame3D(r, Color(), Color(), BorderWidth());
        DrawBevel(c, BevelInner(), r, BevelWidth(), BorderRound());
    }
    c.FrontPlaneEnd();
}

}  // namespace chart

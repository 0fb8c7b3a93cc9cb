// The chart control: titles, legend, walls, zoom, panning and clicks.
#include "widgets/chart/Chart.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Messages.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartBlend.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartLegend.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartSeries.h"
#include "widgets/chart/ChartValues.h"
#include "widgets/chart/ChartPen.h"

namespace chart {

using namespace platform;

double AnimatedZoomFactor = 3.0;
TShiftState ChartScrollKeyShift = 0;
bool ChartUseMouseWheel = true;

TCustomChart::TCustomChart(TComponent* owner) : TCustomAxisPanel(owner)
{
    SetRepaintEnabled(false);
    title_ = std::make_unique<TChartTitle>(this);
    subTitle_ = std::make_unique<TChartTitle>(this);
    foot_ = std::make_unique<TChartFootTitle>(this);
    subFoot_ = std::make_unique<TChartFootTitle>(this);
    walls_ = std::make_unique<TChartWalls>(this);
    legend_ = std::make_unique<TChartLegend>(this);
    SetRepaintEnabled(true);
}

TCustomChart::~TCustomChart()
{
    SetRepaintEnabled(false);
    FreeAllSeries();
}

void TCustomChart::Assign(const TPersistent& source)
{
    if (auto* c = dynamic_cast<const TCustomChart*>(&source)) {
        auto& from = const_cast<TCustomChart&>(*c);
        ColorPaletteIndex = from.ColorPaletteIndex;
        Foot().Assign(from.Foot());
        Legend().Assign(from.Legend());
        ScrollMouseButton = from.ScrollMouseButton;
        SubFoot().Assign(from.SubFoot());
        SubTitle().Assign(from.SubTitle());
        Title().Assign(from.Title());
        Walls().Assign(from.Walls());
    }
    TCustomAxisPanel::Assign(source);
}

void TCustomChart::FillSeriesSourceItems(TChartSeries*, const std::function<void(const std::string&)>&) {}

void TCustomChart::FillValueSourceItems(TChartValueList* valueList, const std::function<void(const std::string&)>& proc)
{
    if (!valueList || !valueList->Owner() || !proc) return;
    auto* source = dynamic_cast<TChartSeries*>(valueList->Owner()->GetDataSource());
    if (!source) return;
    TChartValueLists& lists = source->ValueLists();
    for (int i = 0; i < lists.Count(); ++i) proc(lists[i]->Name);
}

TColor TCustomChart::GetBackColor() { return BackWall().Transparent() ? Color() : BackWall().Color(); }

namespace {

// A line in this colour cannot be told from the background: the same colour, or one
// whose every channel lies within a few steps of it (white on a light grey panel).
bool LostOn(TColor color, TColor back)
{
    if (color == back) return true;
    // Marks without a colour of their own match nothing.
    auto plain = [](TColor c) { return c < 0 || (c & 0xFF000000) == 0; };
    if (!plain(color) || !plain(back)) return false;
    const COLORREF a = ColorToRGB(color), b = ColorToRGB(back);
    const int kClose = 24;
    return std::abs(int(GetRValue(a)) - int(GetRValue(b))) <= kClose &&
           std::abs(int(GetGValue(a)) - int(GetGValue(b))) <= kClose &&
           std::abs(int(GetBValue(a)) - int(GetBValue(b))) <= kClose;
}

}  // namespace

bool TCustomChart::IsFreeSeriesColor(TColor color, bool checkBackground, TChartSeries* series)
{
    for (TChartSeries* s : SeriesList())
        if (s != series && s->SeriesColor() == color) return false;
    return !(checkBackground && (LostOn(color, Color()) || color == BackWall().Color() ||
                                 (!BackWall().Transparent() && LostOn(color, BackWall().Color()))));
}

std::string TCustomChart::FormattedValueLegend(TChartSeries* series, int valueIndex)
{
    if (!series) return {};
    TCustomChartLegend* legend = series->CurrentLegend ? series->CurrentLegend : legend_.get();
    return legend->FormattedValue(series, valueIndex);
}

std::string TCustomChart::FormattedLegend(int index) { return InternalFormattedLegend(*legend_, index); }

std::string TCustomChart::InternalFormattedLegend(TCustomChartLegend& legend, int index)
{
    std::string text = legend.FormattedLegend(index);
    if (OnGetLegendText) OnGetLegendText(this, int(legend.EffectiveStyle), index, text);
    return text;
}

std::string TCustomChart::AxisTitleOrName(TChartAxis& a)
{
    if (!a.Title().Caption().empty()) return a.Title().Caption();
    if (&a == &DepthAxis()) return ChartMsg_DepthAxis;
    if (&a == &DepthTopAxis()) return ChartMsg_DepthTopAxis;
    if (a.Horizontal()) return a.OtherSide() ? ChartMsg_TopAxis : ChartMsg_BottomAxis;
    return a.OtherSide() ? ChartMsg_RightAxis : ChartMsg_LeftAxis;
}

TChartSeries* TCustomChart::GetASeries()
{
    for (TChartSeries* s : SeriesList())
        if (s->Active()) return s;
    return nullptr;
}

void TCustomChart::SeriesUp(TChartSeries* s)
{
    const auto& l = SeriesList();
    const int i = int(std::find(l.begin(), l.end(), s) - l.begin());
    if (i > 0 && i < SeriesCount()) ExchangeSeries(i, i - 1);
}

void TCustomChart::SeriesDown(TChartSeries* s)
{
    const auto& l = SeriesList();
    const int i = int(std::find(l.begin(), l.end(), s) - l.begin());
    if (i >= 0 && i < SeriesCount() - 1) ExchangeSeries(i, i + 1);
}

void TCustomChart::NextPage()
{
    if (MaxPointsPerPage() > 0 && Page() < NumPages()) SetPage(Page() + 1);
}

void TCustomChart::PreviousPage()
{
    if (MaxPointsPerPage() > 0 && Page() > 1) SetPage(Page() - 1);
}

void TCustomChart::RemoveAllSeries()
{
    while (SeriesCount() > 0) RemoveSeries(0);
}

// ---------------------------------------------------------------- drawing

void TCustomChart::CalcWallsRect()
{
    CalcSize3DWalls();
    if (View3D() && View3DOptions().Orthogonal()) {
        const int s = ActiveSeriesUseAxis() ? BackWall().Size() : 0;
        if (View3DOptions().OrthoAngle() <= 90) {
            ChartRect.Right -= std::abs(Depth3D) + s;
            if (walls_->Right().Visible()) ChartRect.Right -= walls_->Right().Size() + 1;
        } else {
            ChartRect.Left += std::abs(Depth3D) + s;
            if (walls_->Left().Visible()) ChartRect.Left += walls_->Left().Size() + 1;
        }
        ChartRect.Top += s + std::abs(Rise3D);
    }
    ReCalcWidthHeight();
}

int TCustomChart::CalcWallSize(const TChartAxis& a)
{
    if (!View3D() || !View3DWalls()) return 0;
    TCustomChartWall* w = &walls_->Back();
    if (&a == &LeftAxis()) w = &walls_->Left();
    else if (&a == &BottomAxis()) w = &walls_->Bottom();
    else if (&a == &RightAxis()) w = &walls_->Right();
    return w->Visible() ? w->Size() : 0;
}

bool TCustomChart::ActiveSeriesUseAxis()
{
    bool any = false;
    for (TChartSeries* s : SeriesList()) {
        if (!s->Active()) continue;
        any = true;
        if (s->UseAxis()) return true;
    }
    return !any;
}

void TCustomChart::PrepareWallCanvas(TCustomChartWall& w)
{
    TCanvas3D& c = *ChartCanvas();
    c.AssignVisiblePen(w.Pen());
    if (w.Transparent()) c.Brush().SetStyle(bsClear);
    else SetBrushCanvas(w.Color(), w.Brush(), w.Brush().Color());
}

namespace {
bool WallFirst(TCustomChart& c, int x)
{
    TCanvas3D& cv = *c.ChartCanvas();
    const int b = c.ChartRect.Bottom + c.CalcWallSize(c.BottomAxis());
    const int z = c.BackWall().Size() + c.Depth3D;
    return ChartCull(cv.Calculate3DPosition(x, c.ChartRect.Top, 0), cv.Calculate3DPosition(x, b, 0),
                     cv.Calculate3DPosition(x, b, z));
}
}  // namespace

bool TCustomChart::DrawLeftWallFirst() { return WallFirst(*this, ChartRect.Left); }
bool TCustomChart::DrawRightWallAfter() { return !WallFirst(*this, ChartRect.Right); }

void TCustomChart::DrawBackWall()
{
    TCanvas3D& c = *ChartCanvas();
    TChartBackWall& w = BackWall();
    PrepareWallCanvas(w);
    TChartBlend* blend = nullptr;
    if (!View3D()) {
        const TRect r{ChartRect.Left, ChartRect.Top, ChartRect.Right + 1, ChartRect.Bottom + 1};
        if (w.Transparency() > 0) blend = c.BeginBlending(r, w.Transparency());
        if (w.HasGradient() && !w.Transparent()) {
            w.Gradient().Draw(c, r, 0);
            c.Brush().SetStyle(bsClear);
        }
        c.Rectangle(r);
    } else {
        const TRect r = w.Size() < 1 ? ChartRect
                                     : TRect{ChartRect.Left - CalcWallSize(LeftAxis()), ChartRect.Top, ChartRect.Right,
                                             ChartRect.Bottom + CalcWallSize(BottomAxis())};
        if (w.Transparency() > 0) blend = c.BeginBlending(c.RectFromRectZ(r, Depth3D), w.Transparency());
        if (!w.Transparent() && w.HasGradient()) {
            w.Gradient().Draw(c, c.FourPointsFromRect(r, Depth3D));
            c.Brush().SetStyle(bsClear);
        }
        if (w.Size() < 1) c.RectangleWithZ(r, Depth3D);
        else c.Cube(r.Left, r.Right, r.Top, r.Bottom, Depth3D, Depth3D + (Depth3D < 0 ? -w.Size() : w.Size()), w.ApplyDark3D());
    }
    if (HasBackImage() && BackImage().Inside()) {
        TRect r = ChartRect;
        if (w.Pen().Visible()) OffsetRect(r, 1, 1);
        DrawBitmap(r, Depth3D);
    }
    if (blend) c.EndBlending(blend);
}

void TCustomChart::DrawSideWall(TCustomChartWall& w, int x, bool right)
{
    TCanvas3D& c = *ChartCanvas();
    PrepareWallCanvas(w);
    const int b = ChartRect.Bottom + CalcWallSize(BottomAxis());
    TChartBlend* blend = nullptr;
    if (!w.Transparent()) {
        const TFourPoints p = {c.Calculate3DPosition(x, ChartRect.Top, 0), c.Calculate3DPosition(x, ChartRect.Top, Depth3D),
                               c.Calculate3DPosition(x, b, Depth3D), c.Calculate3DPosition(x, b, 0)};
        if (w.Transparency() > 0) blend = c.BeginBlending(RectFromPolygon(p.data(), 4), w.Transparency());
        if (w.HasGradient()) {
            w.Gradient().Draw(c, p);
            c.Brush().SetStyle(bsClear);
        }
    }
    if (w.Size() <= 0) {
        c.RectangleZ(x, ChartRect.Top, b, 0, right ? Depth3D + 1 : Depth3D);
    } else if (right) {
        c.Cube(x, x + w.Size(), ChartRect.Top, b, 0, Depth3D + (BackWall().Visible() ? BackWall().Size() : 0), w.ApplyDark3D());
    } else {
        c.Cube(x - w.Size(), x, ChartRect.Top, b, 0, Depth3D, w.ApplyDark3D());
    }
    if (blend) c.EndBlending(blend);
}

void TCustomChart::DrawBottomWall()
{
    TCanvas3D& c = *ChartCanvas();
    TChartWall& w = walls_->Bottom();
    PrepareWallCanvas(w);
    const int y = ChartRect.Bottom;
    int x0 = ChartRect.Left;
    if (walls_->Left().Visible() && walls_->Left().AutoHide() && DrawLeftWallFirst()) x0 -= CalcWallSize(LeftAxis());
    TChartBlend* blend = nullptr;
    if (!w.Transparent()) {
        const TFourPoints p = {c.Calculate3DPosition(x0, y, 0), c.Calculate3DPosition(x0, y, Depth3D),
                               c.Calculate3DPosition(ChartRect.Right, y, Depth3D), c.Calculate3DPosition(ChartRect.Right, y, 0)};
        if (w.Transparency() > 0) blend = c.BeginBlending(RectFromPolygon(p.data(), 4), w.Transparency());
        if (w.HasGradient()) {
            w.Gradient().Draw(c, p);
            c.Brush().SetStyle(bsClear);
        }
    }
    if (w.Size() < 1) c.RectangleY(x0, y, ChartRect.Right, 0, Depth3D);
    else c.Cube(x0, ChartRect.Right, y, y + w.Size(), 0, Depth3D, w.ApplyDark3D());
    if (blend) c.EndBlending(blend);
}

void TCustomChart::DrawLeftWall() { DrawSideWall(walls_->Left(), ChartRect.Left, false); }
void TCustomChart::DrawRightWall() { DrawSideWall(walls_->Right(), ChartRect.Right, true); }

void TCustomChart::DrawWalls()
{
    if (!ActiveSeriesUseAxis()) return;
    const bool walls3D = View3D() && View3DWalls();
    if (walls3D && walls_->Right().Visible() && !DrawRightWallAfter()) DrawRightWall();
    if (View3DWalls() && BackWall().Visible() && !(View3D() && DrawBackWallAfter(Depth3D))) DrawBackWall();
    if (!walls3D) return;
    if (walls_->Left().Visible() && !DrawLeftWallFirst()) DrawLeftWall();
    if (walls_->Bottom().Visible()) DrawBottomWall();
    if (DrawBackWallAfter(0)) {
        if (IsAxisVisible(TopAxis())) TopAxis().Draw(true);
        if (IsAxisVisible(BottomAxis())) BottomAxis().Draw(true);
    }
}

void TCustomChart::DrawTitlesAndLegend(bool beforeSeries)
{
    TCanvas3D& c = *ChartCanvas();
    c.FrontPlaneBegin();
    TChartTitle* titles[4] = {title_.get(), subTitle_.get(), foot_.get(), subFoot_.get()};
    if (beforeSeries) {
        const bool legendNow = !legend_->CustomPosition() && legend_->ShouldDraw();
        if (legendNow && legend_->GetVertical()) legend_->DrawLegend();
        for (TChartTitle* t : titles)
            if (!t->CustomPosition()) t->DrawTitle();
        if (legendNow && !legend_->GetVertical()) legend_->DrawLegend();
    } else {
        if (legend_->CustomPosition() && legend_->ShouldDraw()) legend_->DrawLegend();
        for (TChartTitle* t : titles)
            if (t->CustomPosition()) t->DrawTitle();
    }
    c.FrontPlaneEnd();
    if (beforeSeries || !ActiveSeriesUseAxis() || !View3D()) return;
    if (DrawRightWallAfter()) {
        if (walls_->Right().ShouldDraw()) DrawRightWall();
        if (IsAxisVisible(RightAxis())) {
            RightAxis().HideBackGrid = true;
            RightAxis().Draw(false);
            RightAxis().HideBackGrid = false;
        }
    }
    if (DrawLeftWallFirst()) {
        if (walls_->Left().ShouldDraw()) DrawLeftWall();
        if (IsAxisVisible(LeftAxis())) {
            LeftAxis().HideBackGrid = true;
            LeftAxis().Draw(false);
            LeftAxis().HideBackGrid = false;
        }
    }
    if (DrawBackWallAfter(Depth3D)) {
        for (TChartAxis* a : {&TopAxis(), &BottomAxis()})
            if (IsAxisVisible(*a)) {
                a->HideSideGrid = true;
                a->DrawGrids(int(a->TickPixels.size()));
                a->HideSideGrid = false;
            }
        if (BackWall().ShouldDraw()) DrawBackWall();
    }
}

void TCustomChart::DrawLegendShape(const TRect& r)
{
    if (legend_->Symbol().Gradient().Visible()) legend_->Symbol().Draw(ChartCanvas()->Brush().Color(), r);
    else TCustomAxisPanel::DrawLegendShape(r);
}

// ---------------------------------------------------------------- zoom and scales

TAllAxisSavedScales TCustomChart::SaveScales()
{
    TAllAxisSavedScales s(static_cast<std::size_t>(AxisList().Count()));
    for (int i = 0; i < AxisList().Count(); ++i) {
        TChartAxis* a = AxisList()[i];
        if (a->IsDepthAxis) continue;
        s[std::size_t(i)] = {a->Automatic(), a->AutomaticMinimum(), a->AutomaticMaximum(), a->Minimum(), a->Maximum()};
    }
    return s;
}

void TCustomChart::RestoreScales(TAllAxisSavedScales& s)
{
    for (int i = 0; i < AxisList().Count() && i < int(s.size()); ++i) {
        TChartAxis* a = AxisList()[i];
        if (a->IsDepthAxis) continue;
        const TAxisSavedScales& e = s[std::size_t(i)];
        a->SetAutomatic(e.Automatic);
        a->SetAutomaticMinimum(e.AutomaticMinimum);
        a->SetAutomaticMaximum(e.AutomaticMaximum);
        a->InternalSetMinimum(e.Minimum);
        a->InternalSetMaximum(e.Maximum);
    }
    s.clear();
}

void TCustomChart::DoZoom(double topMin, double topMax, double bottomMin, double bottomMax, double leftMin,
                          double leftMax, double rightMin, double rightMax)
{
    if (NoSavedScales) {
        SavedScales = SaveScales();
        NoSavedScales = false;
    }
    if (Zoom.Animated) {
        struct Target {
            TChartAxis* a;
            double mn, mx;
        } targets[4] = {{&LeftAxis(), leftMin, leftMax}, {&RightAxis(), rightMin, rightMax},
                        {&TopAxis(), topMin, topMax}, {&BottomAxis(), bottomMin, bottomMax}};
        for (int step = 1; step < Zoom.AnimatedSteps; ++step) {
            for (Target& t : targets) {
                const double mn = t.a->Minimum() + (t.mn - t.a->Minimum()) / AnimatedZoomFactor;
                const double mx = t.a->Maximum() - (t.a->Maximum() - t.mx) / AnimatedZoomFactor;
                t.a->SetMinMax(mn, mx);
            }
            Repaint();
        }
    }
    LeftAxis().SetMinMax(leftMin, leftMax);
    RightAxis().SetMinMax(rightMin, rightMax);
    TopAxis().SetMinMax(topMin, topMax);
    BottomAxis().SetMinMax(bottomMin, bottomMax);
    Zoomed = true;
    if (OnZoom) OnZoom(this);
}

void TCustomChart::ZoomRect(const TRect& r)
{
    Zoom.X0 = r.Left;
    Zoom.Y0 = r.Top;
    Zoom.X1 = r.Right;
    Zoom.Y1 = r.Bottom;
    CalcZoomPoints();
}

void TCustomChart::CalcZoomPoints()
{
    Zoom.Check();
    DoZoom(TopAxis().CalcPosPoint(Zoom.X0), TopAxis().CalcPosPoint(Zoom.X1), BottomAxis().CalcPosPoint(Zoom.X0),
           BottomAxis().CalcPosPoint(Zoom.X1), LeftAxis().CalcPosPoint(Zoom.Y1), LeftAxis().CalcPosPoint(Zoom.Y0),
           RightAxis().CalcPosPoint(Zoom.Y1), RightAxis().CalcPosPoint(Zoom.Y0));
}

void TCustomChart::ZoomPercent(double percent)
{
    double v[8];
    TChartAxis* axes[4] = {&TopAxis(), &BottomAxis(), &LeftAxis(), &RightAxis()};
    for (int k = 0; k < 4; ++k) {
        TChartAxis& a = *axes[k];
        double lo = a.Horizontal() ? a.CalcPosPoint(a.StartPixel) : a.CalcPosPoint(a.EndPixel);
        double hi = a.Horizontal() ? a.CalcPosPoint(a.EndPixel) : a.CalcPosPoint(a.StartPixel);
        const bool zoomed = a.Horizontal() ? Zoom.Direction != tzdVertical : Zoom.Direction != tzdHorizontal;
        if (zoomed) {
            const double c = (hi - lo) * (percent - 100) * 0.01;
            lo += c;
            hi -= c;
        }
        v[2 * k] = lo;
        v[2 * k + 1] = hi;
    }
    DoZoom(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
    Repaint();
}

void TCustomChart::UndoZoom()
{
    if (!NoSavedScales) {
        RestoreScales(SavedScales);
        NoSavedScales = true;
    }
    TCustomAxisPanel::UndoZoom();
}

void TCustomChart::ScrollVerticalAxes(bool up)
{
    for (int i = 0; i < AxisList().Count(); ++i) {
        TChartAxis* a = AxisList()[i];
        if (a->Horizontal()) continue;
        double d = (a->Maximum() - a->Minimum()) * 3 * 0.01;
        if (!up) d = -d;
        a->Scroll(d, false);
    }
}

// ---------------------------------------------------------------- mouse

void TCustomChart::CalcNeedClickedPart(TPoint p, bool eventsOnly, TChartClickedPart& part)
{
    part = TChartClickedPart();
    const int x = p.X, y = p.Y;
    if (legend_->Visible() && legend_->CustomPosition()) {
        const int i = legend_->Clicked(x, y);
        if (i != -1) {
            part.Part = cpLegend;
            part.ItemIndex = i;
            return;
        }
    }
    for (int k = SeriesCount() - 1; k >= 0; --k) {
        TChartSeries* s = GetSeries(k);
        if (!s->Active()) continue;
        if (eventsOnly && !s->OnClickSeries && !s->OnDblClickSeries && !OnClickSeries) continue;
        int i = s->Clicked(x, y);
        if (i != -1) {
            part = {cpSeries, i, s, nullptr};
            return;
        }
        if (s->Marks().Visible() && (i = s->Marks().Clicked(x, y)) != -1) {
            part = {cpSeriesMarks, i, s, nullptr};
            return;
        }
    }
    for (int k = 0; k < AxisList().Count(); ++k)
        if (AxisList()[k]->Clicked(x, y)) {
            part.Part = cpAxis;
            part.ClickedAxis = AxisList()[k];
            return;
        }
    if (legend_->Visible() && !legend_->CustomPosition()) {
        const int i = legend_->Clicked(x, y);
        if (i != -1) {
            part.Part = cpLegend;
            part.ItemIndex = i;
            return;
        }
    }
    const std::pair<TChartTitle*, TChartClickedPartStyle> titles[4] = {
        {title_.get(), cpTitle}, {subTitle_.get(), cpSubTitle}, {foot_.get(), cpFoot}, {subFoot_.get(), cpSubFoot}};
    for (auto& t : titles)
        if (t.first->Clicked(x, y)) {
            part.Part = t.second;
            return;
        }
    if (PointInRect(ChartRect, p) && CountActiveSeries() > 0) part.Part = cpChartRect;
}

bool TCustomChart::StartZoomOrPan(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!ActiveSeriesUseAxis()) return false;
    bool started = false;
    if (Zoom.Allow && button == Zoom.MouseButton && (shift & Zoom.KeyShift) == Zoom.KeyShift) {
        if (Zoom.Direction == tzdVertical) x = ChartRect.Left;
        if (Zoom.Direction == tzdHorizontal) y = ChartRect.Top;
        Zoom.Activate(x, y);
        if (Zoom.Direction == tzdVertical) Zoom.X1 = ChartRect.Right;
        if (Zoom.Direction == tzdHorizontal) Zoom.Y1 = ChartRect.Bottom;
        DrawZoomRectangle();
        started = true;
    } else if (AllowPanning != pmNone && button == ScrollMouseButton &&
               (shift & ChartScrollKeyShift) == ChartScrollKeyShift) {
        Panning.Activate(x, y);
        started = true;
    }
    return started;
}

void TCustomChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomAxisPanel::MouseDown(button, shift, x, y);
    if (MouseCancelled || Zoom.Active || Panning.Active) return;
    MouseCancelled = false;
    TChartClickedPart part;
    CalcNeedClickedPart({x, y}, true, part);
    bool handled = false;
    auto raise = [&](auto&& event) {
        MouseCancelled = true;
        event();
        handled = MouseCancelled;
    };
    bool tryStart = false;
    switch (part.Part) {
    case cpLegend:
        handled = legend_->DoMouseDown(part.ItemIndex);
        if (OnClickLegend) raise([&] { OnClickLegend(this, button, shift, x, y); });
        break;
    case cpAxis:
        if (OnClickAxis) raise([&] { OnClickAxis(this, part.ClickedAxis, button, shift, x, y); });
        tryStart = true;
        break;
    case cpSeries: {
        MouseCancelled = false;
        TChartSeries* s = part.ClickedSeries;
        if (shift & ssDouble) {
            if (s->OnDblClickSeries) s->OnDblClickSeries(s, part.ItemIndex, button, shift, x, y);
        } else if (s->OnClickSeries) {
            s->OnClickSeries(s, part.ItemIndex, button, shift, x, y);
        }
        handled = MouseCancelled;
        if (OnClickSeries) raise([&] { OnClickSeries(this, s, part.ItemIndex, button, shift, x, y); });
        tryStart = true;
        break;
    }
    case cpTitle:
    case cpSubTitle:
    case cpFoot:
    case cpSubFoot: {
        TChartTitle* t = part.Part == cpTitle ? title_.get() : part.Part == cpSubTitle ? subTitle_.get()
                         : part.Part == cpFoot ? foot_.get() : subFoot_.get();
        if (OnClickTitle) raise([&] { OnClickTitle(this, t, button, shift, x, y); });
        tryStart = true;
        break;
    }
    case cpChartRect:
        if (OnClickBackground) raise([&] { OnClickBackground(this, button, shift, x, y); });
        tryStart = true;
        break;
    default: break;
    }
    if (tryStart && !handled && StartZoomOrPan(button, shift, x, y)) handled = true;
    // The background hears of a press once: only when no part above has taken it.
    if (!handled && part.Part != cpChartRect && OnClickBackground)
        raise([&] { OnClickBackground(this, button, shift, x, y); });
    MouseCancelled = false;
}

bool TCustomChart::PanStep(bool horizontal, int from, int to)
{
    if (from == to) return false;
    if (AllowPanning != pmBoth && AllowPanning != (horizontal ? pmHorizontal : pmVertical)) return false;
    for (int i = 0; i < AxisList().Count(); ++i) {
        TChartAxis* a = AxisList()[i];
        if (a->IsDepthAxis || a->Horizontal() != horizontal) continue;
        const double d = a->CalcPosPoint(from) - a->CalcPosPoint(to);
        double mn = a->Minimum() + d, mx = a->Maximum() + d;
        bool allow = true;
        if (OnAllowScroll) OnAllowScroll(a, mn, mx, allow);
        if (allow) a->SetMinMax(mn, mx);
    }
    return true;
}

void TCustomChart::MouseMove(TShiftState shift, int x, int y)
{
    TCustomAxisPanel::MouseMove(shift, x, y);
    if (MouseCancelled) return;
    if (Zoom.Active) {
        if (Zoom.Direction == tzdVertical) x = ChartRect.Right;
        if (Zoom.Direction == tzdHorizontal) y = ChartRect.Bottom;
        if (x != Zoom.X1 || y != Zoom.Y1) {
            DrawZoomRectangle();
            Zoom.X1 = x;
            Zoom.Y1 = y;
            DrawZoomRectangle();
        }
    } else if (Panning.Active) {
        if (!PointInRect(ChartRect, x, y)) {
            Panning.Active = false;
            return;
        }
        if (x == Panning.X0 && y == Panning.Y0) return;
        if (NoSavedScales) {
            SavedScales = SaveScales();
            NoSavedScales = false;
        }
        const bool h = PanStep(true, Panning.X0, x);
        const bool v = PanStep(false, Panning.Y0, y);
        Panning.X0 = x;
        Panning.Y0 = y;
        if (h || v) {
            if (OnScroll) OnScroll(this);
            Invalidate();
        }
    } else if (!CheckMouseSeries(x, y)) {
        SetCursor(0);
    }
}

void TCustomChart::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    MouseCancelled = false;
    TCustomAxisPanel::MouseUp(button, shift, x, y);
    if (Zoom.Active && button == Zoom.MouseButton) {
        Zoom.Active = false;
        DrawZoomRectangle();
        ChartCanvas()->Pen().SetMode(pmCopy);
        if (Zoom.Direction != tzdVertical) Zoom.X1 = x;
        if (Zoom.Direction != tzdHorizontal) Zoom.Y1 = y;
        const bool wide = Zoom.Direction == tzdVertical || std::abs(Zoom.X1 - Zoom.X0) > Zoom.MinimumPixels;
        const bool tall = Zoom.Direction == tzdHorizontal || std::abs(Zoom.Y1 - Zoom.Y0) > Zoom.MinimumPixels;
        if (wide && tall) {
            const bool forward = Zoom.Direction == tzdVertical ? Zoom.Y1 > Zoom.Y0 : Zoom.X1 > Zoom.X0;
            if (Zoom.UpLeftZooms || forward) CalcZoomPoints();
            else UndoZoom();
            Invalidate();
        }
    }
    Panning.Active = false;
}

// The handler's answer is returned; the vertical axes scroll whatever it did.
bool TCustomChart::DoMouseWheelDown(TShiftState shift, TPoint pos)
{
    bool handled = TCustomAxisPanel::DoMouseWheelDown(shift, pos);
    if (OnMouseWheelDown) OnMouseWheelDown(this, shift, pos, handled);
    if (ChartUseMouseWheel) {
        ScrollVerticalAxes(true);
        Invalidate();
    }
    return handled;
}

bool TCustomChart::DoMouseWheelUp(TShiftState shift, TPoint pos)
{
    bool handled = TCustomAxisPanel::DoMouseWheelUp(shift, pos);
    if (OnMouseWheelUp) OnMouseWheelUp(this, shift, pos, handled);
    if (ChartUseMouseWheel) {
        ScrollVerticalAxes(false);
        Invalidate();
    }
    return handled;
}

}  // namespace chart

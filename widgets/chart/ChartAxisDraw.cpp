// Axis room, labels, title, ticks and grids.
#include <algorithm>
#include <cmath>

#include "platform/graphics/GDI.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartFont.h"

namespace chart {

using namespace platform;

namespace {
int Round(double v) { return int(std::nearbyint(v)); }
// Default label alignment by (horizontal, other side).
unsigned TableAlign(bool horizontal, bool otherSide)
{
    if (!horizontal) return otherSide ? 0 : 2;
    return otherSide ? 14 : 6;
}
}  // namespace

int TChartAxis::SizeTickAxis()
{
    int r = (axisPen_->Visible() ? axisPen_->Width() + 1 : 0) + (ticks_->Visible() ? tickLength_ : 0);
    if (minorTicks_->Visible()) r = std::max(r, minorTickLength_);
    return r;
}

int TChartAxis::InternalCalcSize(TChartFont& font, int angle, int defaultSize, const std::string& text)
{
    if (defaultSize != 0) return defaultSize;
    TCanvas3D& c = *chart_->ChartCanvas();
    c.AssignFont(font);
    const bool alongThickness = horizontal_ ? (angle == 0 || angle == 180) : (angle == 90 || angle == 270);
    if (alongThickness) return c.GetFontHeight();
    if (text.empty()) return MaxLabelsWidth();
    return c.TextWidth(text);
}

int TChartAxis::SizeLabels()
{
    const int s = InternalCalcSize(GetLabelsFont(), labelsAngle_, labelsSize_, "");
    return labelsAlternate_ ? 2 * s : s;
}

int TChartAxis::InflateAxisPos(int value, int amount) const
{
    if ((horizontal_ && otherSide_) || (!horizontal_ && !otherSide_)) return value - amount;
    return value + amount;
}

void TChartAxis::CalcRect(TRect& r, bool inflate)
{
    DateTimeMode = IsDateTime();
    if (!inflate) {
        AxisLinePos = ApplyPosition(GetRectangleEdge(r), r);
        LabelsLinePos = InflateAxisPos(AxisLinePos, SizeTickAxis());
        TitleLinePos = InflateAxisPos(LabelsLinePos, SizeLabels());
        return;
    }
    auto shrink = [&](int n) {
        if (horizontal_) {
            if (otherSide_) r.Top += n;
            else r.Bottom -= n;
        } else {
            if (otherSide_) r.Right -= n;
            else r.Left += n;
        }
    };
    if (IsDepthAxis) {
        TitleLinePos = otherSide_ ? r.Right : r.Left;
    } else if (title_->Visible() && !title_->Caption().empty()) {
        shrink(InternalCalcSize(title_->Font(), title_->Angle(), titleSize_, title_->Caption()));
        TitleLinePos = GetRectangleEdge(r);
    }
    if (GetLabels()) {
        shrink(SizeLabels());
        LabelsLinePos = GetRectangleEdge(r);
    }
    const int n = chart_->CalcWallSize(*this) + SizeTickAxis();
    if (n > 0) shrink(n);
    TitleLinePos = ApplyPosition(TitleLinePos, r);
    LabelsLinePos = ApplyPosition(LabelsLinePos, r);
}

int TChartAxis::DepthAxisPos() const
{
    return otherSide_ ? chart_->ChartRect.Bottom - CalcZPos() : chart_->ChartRect.Top + CalcZPos();
}

void TChartAxis::Draw(bool calcPosAxis)
{
    DateTimeMode = IsDateTime();
    if (calcPosAxis) AxisLinePos = ApplyPosition(GetRectangleEdge(chart_->ChartRect), chart_->ChartRect);
    alternateRow_ = horizontal_;
    if (title_->Visible() && !title_->Caption().empty()) {
        if (IsDepthAxis) DrawTitle(TitleLinePos, DepthAxisPos());
        else if (horizontal_) DrawTitle(CenterPixel, TitleLinePos);
        else DrawTitle(TitleLinePos, CenterPixel);
    }
    TickPixels.clear();
    DrawLabels(items_->Count() > 0 ? talValue : CalcLabelStyle());

    TCanvas3D& c = *chart_->ChartCanvas();
    c.Brush().SetStyle(bsClear);
    c.SetBackMode(cbmTransparent);
    const int w = chart_->CalcWallSize(*this);
    if (axisPen_->Visible()) {
        c.AssignVisiblePen(*axisPen_);
        if (IsDepthAxis) {
            const int yd = otherSide_ ? chart_->CalcWallSize(chart_->BottomAxis()) + chart_->ChartRect.Bottom - DepthPixel
                                      : chart_->ChartRect.Top - DepthPixel;
            c.MoveTo3D(AxisLinePos, yd, StartPixel);
            c.LineTo3D(AxisLinePos, yd, EndPixel);
        } else if (horizontal_) {
            if (otherSide_)
                c.HorizLine3D(StartPixel, EndPixel, AxisLinePos, DepthPixel);
            else
                c.HorizLine3D(StartPixel - chart_->CalcWallSize(chart_->LeftAxis()),
                              EndPixel + chart_->CalcWallSize(chart_->RightAxis()), AxisLinePos + w, DepthPixel);
        } else {
            c.VertLine3D(otherSide_ ? AxisLinePos + w : AxisLinePos - w, StartPixel,
                         EndPixel + chart_->CalcWallSize(chart_->BottomAxis()), DepthPixel);
        }
    }
    if (ticks_->Visible()) {
        c.AssignVisiblePen(*ticks_);
        for (int p : TickPixels) DrawTick(p, 1, tickLength_, w);
    }
    DrawGrids(int(TickPixels.size()));
    if (ticksInner_->Visible()) {
        c.AssignVisiblePen(*ticksInner_);
        for (int p : TickPixels) DrawTick(p, -1, -tickInnerLength_, w);
    }
    if (!TickPixels.empty()) {
        if (minorTicks_->Visible()) DrawMinor(false);
        if (minorGrid_->Visible()) DrawMinor(true);
    }
    c.SetBackMode(cbmOpaque);
}

void TChartAxis::DrawTick(int p, int b, int ln, int w)
{
    TCanvas3D& c = *chart_->ChartCanvas();
    const bool is3D = chart_->View3D();
    if (IsDepthAxis) {
        const int s = otherSide_ ? 1 : -1;
        c.HorizLine3D(AxisLinePos + s * b, AxisLinePos + s * (b + ln), DepthAxisPos(), p);
    } else if (otherSide_) {
        if (horizontal_) c.VertLine3D(p, AxisLinePos - b, AxisLinePos - b - ln, DepthPixel);
        else c.HorizLine3D(AxisLinePos + w + b, AxisLinePos + w + b + ln, p, DepthPixel);
    } else {
        const int off = b + w;
        if (horizontal_) {
            if (is3D) c.VertLine3D(p, AxisLinePos + off, AxisLinePos + off + ln, DepthPixel);
            else c.DoVertLine(p, AxisLinePos + off, AxisLinePos + off + ln);
        } else {
            if (is3D) c.HorizLine3D(AxisLinePos - off, AxisLinePos - off - ln, p, DepthPixel);
            else c.DoHorizLine(AxisLinePos - off, AxisLinePos - off - ln, p);
        }
    }
}

void TChartAxis::DrawGrids(int numTicks)
{
    if (OnBeforeGrids) OnBeforeGrids(this);
    if (!grid_->Visible()) return;
    TCanvas3D& c = *chart_->ChartCanvas();
    c.SetBackMode(cbmTransparent);
    c.Brush().SetStyle(bsClear);
    c.AssignVisiblePenColor(*grid_, grid_->Color() == clUseSeriesColor ? TColor(0x808080) : grid_->Color());
    if (grid_->Centered()) {
        for (int i = 1; i < numTicks; ++i)
            DrawGridLine(Round((TickPixels[std::size_t(i)] + TickPixels[std::size_t(i - 1)]) * 0.5));
    } else {
        for (int i = 0; i < numTicks; ++i) DrawGridLine(TickPixels[std::size_t(i)]);
    }
}

void TChartAxis::DrawGridLine(int p)
{
    if (!(StartPixel < p && p < EndPixel)) return;
    TCanvas3D& c = *chart_->ChartCanvas();
    const TRect& r = chart_->ChartRect;
    if (IsDepthAxis) {
        c.VertLine3D(r.Left, r.Top, r.Bottom, p);
        c.HorizLine3D(r.Left, r.Right, r.Bottom, p);
    } else if (chart_->View3D()) {
        const int d = chart_->Depth3D;
        if (chart_->AxisBehind()) {
            if (!HideBackGrid) {
                if (horizontal_) c.VertLine3D(p, r.Top, r.Bottom, d);
                else c.HorizLine3D(r.Left, r.Right, p, d);
            }
            const int z0 = Round(d * grid_->ZPosition() * 0.01);
            if (!HideSideGrid && z0 != d) {
                if (horizontal_) c.ZLine3D(p, AxisLinePos, z0, d);
                else c.ZLine3D(AxisLinePos, p, z0, d);
            }
        } else {
            if (horizontal_) c.VertLine3D(p, r.Top, r.Bottom, 0);
            else c.HorizLine3D(r.Left, r.Right, p, 0);
        }
    } else if (horizontal_) {
        c.DoVertLine(p, r.Top + 1, r.Bottom);
    } else {
        c.DoHorizLine(r.Left + 1, r.Right, p);
    }
}

void TChartAxis::DrawMinor(bool grid)
{
    TCanvas3D& c = *chart_->ChartCanvas();
    c.SetBackMode(cbmTransparent);
    c.Brush().SetStyle(bsClear);
    c.AssignVisiblePen(grid ? static_cast<TChartPen&>(*minorGrid_) : static_cast<TChartPen&>(*minorTicks_));
    const int w = chart_->CalcWallSize(*this);
    auto mark = [&](int q) {
        if (!(StartPixel < q && q < EndPixel)) return;
        if (grid) DrawGridLine(q);
        else DrawTick(q, 1, minorTickLength_, w);
    };
    const int k = minorTickCount_;
    const double f = 1.0 / (k + 1);
    const std::vector<int>& t = TickPixels;
    if (!logarithmic_) {
        if (t.size() < 2) return;
        const double d0 = (t[1] - t[0]) * f;
        for (int j = 1; j <= k; ++j) {
            mark(t[0] - Round(j * d0));
            mark(t.back() + Round(j * d0));
        }
        for (std::size_t i = 1; i < t.size(); ++i) {
            const double d = (t[i] - t[i - 1]) * f;
            for (int j = 1; j <= k; ++j) mark(t[i] - Round(d * j));
        }
        return;
    }
    std::vector<double> starts;
    auto addStart = [&](double v) {
        if (std::find(starts.begin(), starts.end(), v) == starts.end()) starts.push_back(v);
    };
    addStart(CalcPosPoint(t.back()) / logBase_);
    for (int p : t) addStart(CalcPosPoint(p));
    addStart(starts.back() * logBase_);
    for (double v : starts)
        for (int j = 1; j <= k; ++j) {
            const double x = v + j * (v * logBase_ - v) * f;
            if (x > ScaleMaximum) continue;
            if (x >= ScaleMinimum) mark(ValueToPixel(x));
        }
}

void TChartAxis::DrawTitle(int x, int y)
{
    TCanvas3D& c = *chart_->ChartCanvas();
    c.AssignFont(title_->Font());
    c.SetBackMode(cbmTransparent);
    if (IsDepthAxis) {
        c.SetTextAlign(DepthAxisAlign());
        c.TextOut3D(x, y, chart_->Depth3D / 2, title_->Caption());
        return;
    }
    const bool keep = labelsExponent_;
    labelsExponent_ = false;
    DrawAxisLabel(x, y, title_->Angle(), title_->Caption(), title_.get());
    labelsExponent_ = keep;
}

void TChartAxis::LabelDrawer(int p, const std::string& text, TChartCustomShape* shape)
{
    if (tickOnLabelsOnly_) TickPixels.push_back(p);
    TCanvas3D& c = *chart_->ChartCanvas();
    c.AssignFont(shape ? shape->Font() : GetLabelsFont());
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetStyle(bsClear);
    if (IsDepthAxis) {
        c.SetTextAlign(DepthAxisAlign());
        if (chart_->View3DOptions().Orthogonal() || chart_->View3DOptions().Rotation() == 360) p += c.GetFontHeight() / 2;
        const int x = otherSide_ ? LabelsLinePos : LabelsLinePos - c.TextWidth("W") / 2 - 2;
        c.TextOut3D(x, DepthAxisPos(), p, text);
        return;
    }
    int cr = LabelsLinePos;
    if (labelsAlternate_) {
        if (!alternateRow_) {
            if (horizontal_) cr = LabelsLinePos + (otherSide_ ? -c.GetFontHeight() : c.GetFontHeight());
            else cr = LabelsLinePos + (otherSide_ ? MaxLabelsWidth() : -MaxLabelsWidth());
        }
        alternateRow_ = !alternateRow_;
    }
    if (horizontal_) DrawAxisLabel(p, cr, labelsAngle_, text, shape);
    else DrawAxisLabel(cr, p, labelsAngle_, text, shape);
}

void TChartAxis::DrawAxisLabel(int x, int y, int angle, std::string text, TChartCustomShape* shape)
{
    TCanvas3D& c = *chart_->ChartCanvas();
    const int h = c.GetFontHeight(), h2 = h / 2;
    unsigned a = 0;
    switch (angle) {
    case 0:
    case 360:
        if (horizontal_ || labelsAlign_ == alDefault) {
            a = TableAlign(horizontal_, otherSide_);
        } else if (otherSide_) {
            a = 2;
            x += SizeLabels();
        } else {
            a = 0;
            x -= SizeLabels();
        }
        if (!horizontal_) y -= h2;
        break;
    case 45:
        a = 0;
        if (horizontal_ && otherSide_) {
            const int w = c.TextWidth("Wj");
            x -= w;
            y -= w;
        } else {
            const int w = c.TextWidth(text);
            x -= Round(w * std::sin(M_PI / 4));
            y += Round(w * std::sin(M_PI / 4));
        }
        break;
    case 90:
        if (horizontal_) {
            a = TableAlign(false, otherSide_);
            x -= h2;
        } else {
            a = otherSide_ ? 6 : 14;
        }
        break;
    case 180:
        a = TableAlign(horizontal_, !otherSide_);
        if (!horizontal_) y += h2;
        break;
    case 270:
        if (horizontal_) {
            a = TableAlign(false, !otherSide_);
            x += h2;
        } else {
            a = otherSide_ ? 14 : 6;
        }
        break;
    default: a = 0;
    }
    auto countLines = [](const std::string& t) {
        if (t.empty()) return 0;
        int n = int(std::count(t.begin(), t.end(), ChartLineSeparator));
        if (t.back() != ChartLineSeparator) ++n;
        return n;
    };
    int lines = countLines(text);
    const int f = (angle == 180 || angle == 270) ? -h : h;
    const int m = Round(double(f) * lines);
    if (horizontal_) {
        if (angle == 0) y -= otherSide_ ? m : f;
        else if (angle == 180) y -= otherSide_ ? f : m;
        else if (angle == 90 || angle == 270) x -= Round(f * 0.5 * (lines + 1));
    } else {
        if (angle == 0 || angle == 180) y -= Round(f * 0.5 * (lines + 1));
        else if (angle == 90) x -= otherSide_ ? f : m;
        else if (angle == 270) x -= otherSide_ ? m : f;
    }
    TChartCustomShape* box = shape ? shape : &items_->Format();
    if (!box->Transparent()) {
        const int g = c.TextWidth("W") >> 1;
        int mlines = 0;
        const int wt = chart_->MultiLineTextWidth(text, mlines);
        const int ht = h * mlines;
        TRect r;
        r.Left = x;
        r.Top = y + f;
        unsigned aa = a;
        if (aa >= 8) {
            r.Top -= ht;
            aa -= 8;
        }
        r.Bottom = r.Top + ht;
        r.Right = r.Left + wt;
        if (aa == 2) {
            r.Right = r.Left;
            r.Left -= wt;
        } else if (aa == 6) {
            const int d = (r.Right - r.Left) / 2;
            r.Left -= d;
            r.Right -= d;
        }
        r.Left -= g;
        r.Right += g;
        if (DepthPixel != 0) r = c.CalcRect3D(r, DepthPixel);
        box->DrawRectRotated(r, labelsAngle_, DepthPixel);
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetStyle(bsClear);
        c.AssignFont(shape ? shape->Font() : GetLabelsFont());
    }
    c.SetTextAlign(a);
    int z = DepthPixel;
    bool drawLabel = true;
    if (OnDrawLabel) {
        OnDrawLabel(this, x, y, z, text, drawLabel);
        if (drawLabel) lines = countLines(text);
    }
    if (drawLabel && lines > 0) {
        std::size_t start = 0;
        for (int k = 0; k < lines; ++k) {
            const std::size_t at = text.find(ChartLineSeparator, start);
            const std::string line = text.substr(start, at == std::string::npos ? std::string::npos : at - start);
            start = at == std::string::npos ? text.size() : at + 1;
            if (angle == 0) {
                y += f;
                std::size_t e = std::string::npos;
                for (std::size_t i = 0; i < line.size(); ++i)
                    if (line[i] == 'E' || line[i] == 'e') {
                        e = i;
                        break;
                    }
                if (labelsExponent_ && e != std::string::npos) {
                    const std::string mantissa = line.substr(0, e), exponent = line.substr(e + 1);
                    const int kk = h - 1, size = c.Font().Size();
                    if (c.GetTextAlign() != 0) {
                        c.Font().SetSize(size - size / 4);
                        c.TextOut3D(x, y - kk / 2 + 2, z, exponent);
                        const int we = c.TextWidth(exponent);
                        c.Font().SetSize(size);
                        c.TextOut3D(x - we - 1, y, z, mantissa);
                    } else {
                        c.TextOut3D(x, y, z, mantissa);
                        const int wm = c.TextWidth(mantissa);
                        c.Font().SetSize(size - size / 4);
                        c.TextOut3D(x + wm + 1, y - kk / 2 + 2, z, exponent);
                        c.Font().SetSize(size);
                    }
                } else {
                    c.TextOut3D(x, y, z, line);
                }
                continue;
            }
            if (angle == 180) y += f;
            else if (angle == 90 || angle == 270) x += f;
            c.RotateLabel3D(x, y, z, line, angle);
        }
    }
    c.SetTextAlign(0);
}

TRect TChartAxis::AxisRect() const
{
    const int a0 = std::min(StartPixel, EndPixel), a1 = std::max(StartPixel, EndPixel);
    int c0 = std::min(LabelsLinePos, AxisLinePos), c1 = std::max(LabelsLinePos, AxisLinePos);
    if (AxisLinePos >= LabelsLinePos) c1 += ChartAxisClickGap;
    else c0 -= ChartAxisClickGap;
    return horizontal_ ? TRect{a0, c0, a1, c1} : TRect{c0, a0, c1, a1};
}

bool TChartAxis::Clicked(int x, int y)
{
    if (!chart_->IsAxisVisible(*this)) return false;
    TRect r = AxisRect();
    if (chart_->View3D()) r = chart_->ChartCanvas()->CalcRect3D(r, otherSide_ ? chart_->Depth3D : 0);
    return PointInRect(r, x, y);
}

void TChartAxis::CustomDrawStartEnd(int posLabels, int posTitle, int posAxis, bool gridVisible, int startPos,
                                    int endPos)
{
    LabelsLinePos = posLabels;
    TitleLinePos = posTitle;
    AxisLinePos = posAxis;
    StartPixel = startPos;
    EndPixel = endPos;
    RecalcSizeCenter();
    const bool keep = grid_->Visible();
    TNotifyEvent change = std::move(grid_->OnChange);
    grid_->SetVisible(gridVisible);
    Draw(false);
    grid_->SetVisible(keep);
    grid_->OnChange = std::move(change);
}

void TChartAxis::CustomDraw(int posLabels, int posTitle, int posAxis, bool gridVisible)
{
    InternalCalcPositions();
    CustomDrawStartEnd(posLabels, posTitle, posAxis, gridVisible, StartPixel, EndPixel);
}

void TChartAxis::CustomDrawMinMaxStartEnd(int posLabels, int posTitle, int posAxis, bool gridVisible, double aMin,
                                          double aMax, double aIncrement, int startPos, int endPos)
{
    const double oldMin = minimum_, oldMax = maximum_, oldInc = increment_;
    const bool oldAuto = automatic_, oldAutoMin = automaticMinimum_, oldAutoMax = automaticMaximum_;
    struct Restore {
        TChartAxis& a;
        double mn, mx, inc;
        bool au, amin, amax;
        ~Restore()
        {
            a.minimum_ = mn;
            a.maximum_ = mx;
            a.increment_ = inc;
            a.automatic_ = au;
            a.automaticMinimum_ = amin;
            a.automaticMaximum_ = amax;
            a.ScaleMinimum = mn;
            a.ScaleMaximum = mx;
            a.InternalCalcRange();
        }
    } restore{*this, oldMin, oldMax, oldInc, oldAuto, oldAutoMin, oldAutoMax};
    automatic_ = automaticMinimum_ = automaticMaximum_ = false;
    minimum_ = aMin;
    maximum_ = aMax;
    increment_ = aIncrement;
    ScaleMinimum = aMin;
    ScaleMaximum = aMax;
    CustomDrawStartEnd(posLabels, posTitle, posAxis, gridVisible, startPos, endPos);
}

void TChartAxis::CustomDrawMinMax(int posLabels, int posTitle, int posAxis, bool gridVisible, double aMin,
                                  double aMax, double aIncrement)
{
    CustomDrawMinMaxStartEnd(posLabels, posTitle, posAxis, gridVisible, aMin, aMax, aIncrement, StartPixel, EndPixel);
}

}  // namespace chart

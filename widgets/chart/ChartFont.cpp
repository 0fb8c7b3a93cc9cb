// Shadows, gradients and chart fonts.
#include "widgets/chart/ChartFont.h"

#include <algorithm>
#include <cmath>

#include "base/StrUtils.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartPen.h"

namespace chart {

using namespace platform;

std::string GetDefaultFontName;
int GetDefaultFontSize = 8;

namespace {
int Round(double v) { return int(std::nearbyint(v)); }

// The default chart font from the message table, once at start.
struct Start {
    Start()
    {
        ChartSetConstants();
        GetDefaultFontSize = std::atoi(ChartMsg_DefaultFontSize.c_str());
        if (GetDefaultFontSize == 0) GetDefaultFontSize = 8;
        GetDefaultFontName = ChartMsg_DefaultFontName;
    }
} start;
}  // namespace

// ---------------------------------------------------------------- TChartShadow

TChartShadow::TChartShadow(TNotifyEvent change) : OnChange(std::move(change)) {}

void TChartShadow::Assign(const TPersistent& source)
{
    if (auto* s = dynamic_cast<const TChartShadow*>(&source)) {
        color_ = s->color_;
        horizSize_ = s->horizSize_;
        smooth_ = s->smooth_;
        transparency_ = s->transparency_;
        vertSize_ = s->vertSize_;
        return;
    }
    TPersistent::Assign(source);
}

void TChartShadow::SetSize(int v)
{
    SetHorizSize(v);
    SetVertSize(v);
}

bool TChartShadow::PrepareCanvas(TCanvas3D& canvas, const TRect& r, int z)
{
    if (color_ == clNone || (horizSize_ == 0 && vertSize_ == 0)) return false;
    canvas.Brush().SetColor(color_);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Pen().SetStyle(psClear);
    if (transparency_ > 0) {
        const TRect s{r.Left + horizSize_, r.Top + vertSize_, r.Right + horizSize_, r.Bottom + vertSize_};
        blend_ = canvas.BeginBlending(canvas.RectFromRectZ(s, z), transparency_);
    }
    return true;
}

void TChartShadow::FinishBlending(TCanvas3D& canvas)
{
    if (transparency_ > 0 && blend_) canvas.EndBlending(blend_);
    blend_ = nullptr;
}

void TChartShadow::Draw(TCanvas3D& canvas, const TRect& r, int z)
{
    if (!PrepareCanvas(canvas, r, z)) return;
    const int h = horizSize_, v = vertSize_;
    const bool is3D = canvas.Is3D();
    if (smooth_ && Size() >= 2) {
        const COLORREF rgb = ColorToRGB(color_);
        const double mean = (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3.0;
        canvas.Pen().SetStyle(psSolid);
        if (v != 0) {
            canvas.Pen().SetColor(color_);
            const int step = Round((255 - mean) / v) & 255;
            for (int i = 1; i <= v; ++i) {
                const int x1 = r.Right + h - v + i - 1, y = r.Bottom + i - 1;
                if (is3D) canvas.HorizLine3D(r.Left + h, x1, y, z);
                else canvas.DoHorizLine(r.Left + h, x1, y);
                canvas.Pen().SetColor(ApplyBright(canvas.Pen().Color(), step));
            }
        }
        if (h != 0) {
            canvas.Pen().SetColor(color_);
            const int step = Round((255 - mean) / h) & 255;
            for (int i = 1; i <= h; ++i) {
                const int x = r.Right + i - 1, y1 = r.Bottom + v - h + i - 1;
                if (is3D) {
                    canvas.VertLine3D(x, r.Top + v, y1, z);
                    canvas.SetPixel3D(r.Right + i - 2, r.Bottom + v - h + i - 2, z, canvas.Pen().Color());
                } else {
                    canvas.DoVertLine(x, r.Top + v, y1);
                    canvas.SetPixel(r.Right + i - 2, r.Bottom + v - h + i - 2, canvas.Pen().Color());
                }
                canvas.Pen().SetColor(ApplyBright(canvas.Pen().Color(), step));
            }
        }
    } else if (is3D) {
        canvas.Rectangle(r.Left + h, r.Bottom, r.Right + h, r.Bottom + v, z);
        canvas.Rectangle(r.Right, r.Top + v, r.Right + h, r.Bottom + v, z);
    } else {
        if (v != 0) {
            const int y0 = v > 0 ? r.Bottom : r.Top + 1, y1 = v > 0 ? r.Bottom + 1 + v : r.Top + v;
            canvas.Rectangle(r.Left + h, y0, r.Right + h, y1);
        }
        if (h != 0) {
            const int x0 = h > 0 ? r.Right : r.Left + 1, x1 = h > 0 ? r.Right + 1 + h : r.Left + h;
            canvas.Rectangle(x0, r.Top + v, x1, r.Bottom + v + 1);
        }
    }
    FinishBlending(canvas);
}

void TChartShadow::DrawEllipse(TCanvas3D& canvas, const TRect& r, int z)
{
    if (!PrepareCanvas(canvas, r, z)) return;
    const TRect moved{r.Left + horizSize_, r.Top + vertSize_, r.Right + horizSize_, r.Bottom + vertSize_};
    if (smooth_) {
        const TRect e = canvas.CalcRect3D(moved, z);
        canvas.ClipEllipse(e);
        TChartGradient g;
        g.SetEndColor(ApplyBright(color_, 32));
        g.SetStartColor(ApplyDark(color_, 128));
        g.DrawRadial(canvas, e);
        canvas.UnClipRectangle();
    } else {
        canvas.EllipseWithZ(moved.Left, moved.Top, moved.Right, moved.Bottom, z);
    }
    FinishBlending(canvas);
}

// ---------------------------------------------------------------- gradients

TCustomChartGradient::TCustomChartGradient(TNotifyEvent change) : OnChange(std::move(change)) {}

void TCustomChartGradient::Assign(const TPersistent& source)
{
    auto* g = dynamic_cast<const TCustomChartGradient*>(&source);
    if (!g) {
        TPersistent::Assign(source);
        return;
    }
    balance_ = g->balance_;
    direction_ = g->direction_;
    endColor_ = g->endColor_;
    midColor_ = g->midColor_;
    radialX_ = g->radialX_;
    radialY_ = g->radialY_;
    startColor_ = g->startColor_;
    visible_ = g->visible_;
    middle_ = g->middle_;
}

void TChartFontGradient::Assign(const TPersistent& source)
{
    TChartGradient::Assign(source);
    if (auto* g = dynamic_cast<const TChartFontGradient*>(&source)) outline_ = g->outline_;
}

void TCustomChartGradient::SetMidColor(TColor v)
{
    if (middle_) {
        if (v == clNone) {
            middle_ = false;
            if (OnChange) OnChange(this);
        } else {
            Set(midColor_, v);
        }
    } else if (v != clNone) {
        middle_ = true;
        midColor_ = v;
        if (OnChange) OnChange(this);
    }
}

void TCustomChartGradient::UseMiddleColor()
{
    if (middle_) return;
    middle_ = true;
    if (OnChange) OnChange(this);
}

void TCustomChartGradient::Draw(TCanvas3D& canvas, const TRect& r, int roundSize)
{
    TColor start = startColor_, end = endColor_, mid = GetMidColor();
    if (canvas.GetMonochrome()) {
        auto gray = [](TColor c) {
            const COLORREF rgb = ColorToRGB(c);
            const int v = (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3;
            return TColor(RGB(v, v, v));
        };
        start = gray(start);
        end = gray(end);
        mid = gray(mid);
    }
    if (roundSize > 0) ClipRoundRectangle(canvas, r, roundSize);
    if (direction_ == gdRadial) {
        DrawRadial(canvas, r);
    } else if (middle_ && direction_ != gdDiagonalUp && direction_ != gdDiagonalDown) {
        const int cy = (r.Top + r.Bottom) / 2, cx = (r.Left + r.Right) / 2;
        const TRect topHalf{r.Left, r.Top, r.Right, cy}, bottomHalf{r.Left, cy, r.Right, r.Bottom};
        const TRect leftHalf{r.Left, r.Top, cx, r.Bottom}, rightHalf{cx, r.Top, r.Right, r.Bottom};
        switch (direction_) {
        case gdTopBottom:
            canvas.GradientFill(topHalf, mid, end, direction_, 50);
            canvas.GradientFill(bottomHalf, start, mid, direction_, 50);
            break;
        case gdBottomTop:
            canvas.GradientFill(topHalf, start, mid, direction_, 50);
            canvas.GradientFill(bottomHalf, mid, end, direction_, 50);
            break;
        case gdLeftRight:
            canvas.GradientFill(leftHalf, mid, end, direction_, 50);
            canvas.GradientFill(rightHalf, start, mid, direction_, 50);
            break;
        case gdRightLeft:
            canvas.GradientFill(leftHalf, start, mid, direction_, 50);
            canvas.GradientFill(rightHalf, mid, end, direction_, 50);
            break;
        default: canvas.GradientFill(r, start, end, direction_, 50); break;
        }
    } else {
        canvas.GradientFill(r, start, end, direction_, balance_);
    }
    if (roundSize > 0) canvas.UnClipRectangle();
}

void TCustomChartGradient::DrawRadial(TCanvas3D& canvas, const TRect& rect)
{
    const TRect r = OrientRectangle(rect);
    canvas.ClipRectangle(r);
    RadialFill(canvas, r);
    canvas.UnClipRectangle();
}

void TCustomChartGradient::RadialFill(TCanvas3D& canvas, const TRect& r)
{
    const int w = r.Width(), h = r.Height();
    int n = std::min(255, std::max(w, h));
    if (n <= 0) return;
    const double stepX = w * 0.5 / n, stepY = h * 0.5 / n;
    const int sr = startColor_ & 255, sg = (startColor_ >> 8) & 255, sb = (startColor_ >> 16) & 255;
    double dr = (endColor_ & 255) - sr, dg = ((endColor_ >> 8) & 255) - sg, db = ((endColor_ >> 16) & 255) - sb;
    if (balance_ == 50) {
        dr /= n;
        dg /= n;
        db /= n;
    }
    const TPenStyle oldPen = canvas.Pen().Style();
    const TColor oldBrush = canvas.Brush().Color();
    struct Restore {
        TCanvas3D& c;
        TPenStyle pen;
        TColor brush;
        ~Restore()
        {
            c.Brush().SetColor(brush);
            c.Pen().SetStyle(pen);
        }
    } restore{canvas, oldPen, oldBrush};
    canvas.Pen().SetStyle(psClear);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(endColor_);
    canvas.FillRect(r);
    if (w % 2 || h % 2) --n;
    const double cx = radialX_ + 1 + (r.Left + r.Right) * 0.5, cy = radialY_ + 1 + (r.Top + r.Bottom) * 0.5;
    for (int i = n; i >= 0; --i) {
        TColor c;
        if (balance_ == 50) {
            c = TColor(RGB((sr + Round(i * dr)) & 255, (sg + Round(i * dg)) & 255, (sb + Round(i * db)) & 255));
        } else {
            const double f = std::pow(double(i + 1) / (n + 1), balance_ * 0.015 + 0.5);
            c = TColor((sr + Round(f * dr)) + 256 * (sg + Round(f * dg)) + 65536 * (sb + Round(f * db)));
        }
        canvas.Brush().SetColor(c);
        canvas.Ellipse(Round(cx - i * stepX), Round(cy - i * stepY), Round(cx + i * stepX), Round(cy + i * stepY));
    }
}

void TCustomChartGradient::Draw(TCanvas3D& canvas, const TFourPoints& p)
{
    TFourPoints q = p;
    canvas.ClipPolygon(q.data(), 4);
    Draw(canvas, RectFromPolygon(p.data(), 4), 0);
    canvas.UnClipRectangle();
}

void TCustomChartGradient::Draw(TCanvas3D& canvas, const TFourPoints& p, int z)
{
    TFourPoints q;
    for (int i = 0; i < 4; ++i) q[std::size_t(i)] = canvas.Calculate3DPosition(p[std::size_t(i)], z);
    Draw(canvas, q);
}

void TCustomChartGradient::Draw(TCanvas3D& canvas, TPointArray& pts, int z, bool is3D)
{
    if (pts.empty()) return;
    TRect r;
    if (is3D) {
        TPointArray q;
        for (const TPoint& p : pts) q.push_back(canvas.Calculate3DPosition(p, z));
        canvas.ClipPolygon(q.data(), int(q.size()));
        r = canvas.CalcRect3D(RectFromPolygon(pts.data(), int(pts.size())), z);
    } else {
        r = RectFromPolygon(pts.data(), int(pts.size()));
        canvas.ClipPolygon(pts.data(), int(pts.size()));
    }
    Draw(canvas, r, 0);
    canvas.UnClipRectangle();
}

// ---------------------------------------------------------------- TChartFont

TChartFont::TChartFont(TNotifyEvent change) : change_(change)
{
    SetColor(clBlack);
    SetName(GetDefaultFontName);
    SetSize(GetDefaultFontSize);
    OnChange = std::move(change);
}

TChartFont::~TChartFont() = default;

void TChartFont::Assign(const TPersistent& source)
{
    if (auto* f = dynamic_cast<const TChartFont*>(&source)) {
        if (f->gradient_) Gradient()->Assign(*f->gradient_);
        else gradient_.reset();
        interCharSize_ = f->interCharSize_;
        if (f->outline_) OutLine()->Assign(*f->outline_);
        else outline_.reset();
        if (f->shadow_) Shadow()->Assign(*f->shadow_);
        else shadow_.reset();
    }
    TFont::Assign(source);
}

TChartFontGradient* TChartFont::GetGradient()
{
    if (!gradient_) gradient_ = std::make_unique<TChartFontGradient>(change_);
    return gradient_.get();
}

TChartHiddenPen* TChartFont::GetOutLine()
{
    if (!outline_) outline_ = std::make_unique<TChartHiddenPen>(change_);
    return outline_.get();
}

TChartShadow* TChartFont::GetShadow()
{
    if (!shadow_) shadow_ = std::make_unique<TChartShadow>(change_);
    return shadow_.get();
}

void TChartFont::SetGradient(const TChartFontGradient* g)
{
    if (g) Gradient()->Assign(*g);
    else gradient_.reset();
}

void TChartFont::SetOutLine(const TChartHiddenPen* p)
{
    if (p) OutLine()->Assign(*p);
    else outline_.reset();
}

void TChartFont::SetShadow(const TChartShadow* s)
{
    if (s) Shadow()->Assign(*s);
    else shadow_.reset();
}

void TChartFont::SetInterCharSize(int v)
{
    if (interCharSize_ == v) return;
    interCharSize_ = v;
    if (change_) change_(this);
}

}  // namespace chart

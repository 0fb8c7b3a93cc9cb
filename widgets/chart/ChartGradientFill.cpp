// Gradient fill of the GDI chart canvas: bands of pattern transfers, at most 256 colours
// for the linear kinds, one brush change per colour change.
#include <algorithm>
#include <cmath>

#include "platform/graphics/GDI.h"
#include "widgets/chart/ChartCanvas3D.h"
#include "widgets/chart/ChartFont.h"

namespace chart {

using namespace platform;

namespace {

struct Ramp {
    int r0, g0, b0, dr, dg, db;
    int n = 1;
    int balance = 50;
    COLORREF At(int i) const
    {
        if (n <= 0) return RGB(r0, g0, b0);
        if (balance == 50) return RGB(r0 + i * dr / n, g0 + i * dg / n, b0 + i * db / n);
        const double f = std::pow(double(i + 1) / (n + 1), balance * 0.015 + 0.5);
        return RGB(int(std::nearbyint(dr * f)) + r0, int(std::nearbyint(dg * f)) + g0,
                   int(std::nearbyint(db * f)) + b0);
    }
};

}  // namespace

void TChartCanvas3D::GradientFill(const TRect& rect, TColor startColor, TColor endColor, TGradientDirection direction,
                                  int balance)
{
    const TRect r = OrientRectangle(rect);
    if (direction == gdRadial) {
        TChartGradient g;
        g.SetDirection(gdRadial);
        g.SetStartColor(startColor);
        g.SetEndColor(endColor);
        g.Draw(*this, r);
        return;
    }
    if (direction != gdTopBottom && direction != gdLeftRight && direction != gdDiagonalUp &&
        direction != gdDiagonalDown)
        std::swap(startColor, endColor);
    const COLORREF a = ColorToRGB(startColor), b = ColorToRGB(endColor);
    Ramp ramp{GetRValue(a), GetGValue(a), GetBValue(a), GetRValue(b) - GetRValue(a), GetGValue(b) - GetGValue(a),
              GetBValue(b) - GetBValue(a)};
    ramp.balance = balance;
    const int w = r.Width(), h = r.Height();
    const TColor oldBrush = brush_->Color();
    const TBrushStyle oldStyle = brush_->Style();
    COLORREF last = 0xFFFFFFFFu;
    auto color = [&](int i) {
        const COLORREF c = ramp.At(i);
        if (c == last) return;
        last = c;
        brush_->SetColor(TColor(c));
    };
    auto fill = [&](int x, int y, int cx, int cy) { PatBlt(GetHandle(), x, y, cx, cy, PATCOPY); };
    brush_->SetStyle(bsSolid);

    switch (direction) {
    case gdTopBottom:
    case gdBottomTop:
    case gdLeftRight:
    case gdRightLeft: {
        const bool vertical = direction == gdTopBottom || direction == gdBottomTop;
        const int along = vertical ? h : w;
        const int bands = std::min(along, 256);
        ramp.n = bands - 1;
        if (ramp.n <= 0) break;
        for (int i = 0; i < bands; ++i) {
            const int b0 = i * along / bands, b1 = (i + 1) * along / bands;
            if (b1 == b0) continue;
            color(i);
            if (vertical) fill(r.Left, r.Bottom - b1, w, b1 - b0);
            else fill(r.Right - b1, r.Top, b1 - b0, h);
        }
        break;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
        const bool fromTop = direction == gdFromTopLeft;
        ramp.n = w + h;
        const int y0 = fromTop ? r.Top : r.Bottom;
        int y = y0, i = 0, j = 0;
        do {
            color(i + j);
            fill(r.Left + i, y0, 1, y - y0);
            if (j < h) {
                ++j;
                fill(r.Left, fromTop ? y : y - 1, i + 1, 1);
                if (fromTop ? y < r.Bottom : y > r.Top) y += fromTop ? 1 : -1;
            }
            if (i < w) ++i;
        } while (j < h || i < w);
        break;
    }
    case gdFromCenter: {
        const int hw = w / 2, hh = h / 2;
        ramp.n = hw + hh;
        int i = 0, j = 0;
        do {
            color(i + j);
            const int x = r.Left + j, y = r.Top + i;
            fill(x, y, 1, h - 2 * i);
            fill(r.Right - j - 1, y, 1, h - 2 * i);
            fill(x, y, w - 2 * j, 1);
            fill(x, r.Bottom - i - 1, w - 2 * j, 1);
            if (i < hh) ++i;
            if (j < hw) ++j;
        } while (i < hh || j < hw);
        break;
    }
    case gdDiagonalUp:
    case gdDiagonalDown: {
        TPen saved;
        saved.Assign(*pen_);
        pen_->SetWidth(1);
        pen_->SetStyle(psSolid);
        pen_->SetMode(pmCopy);
        const int t = w + h;
        ramp.n = std::min(255, t - 1);
        const bool down = direction == gdDiagonalDown;
        TPoint p{r.Left, down ? r.Top : r.Bottom}, q = p;
        for (int i = 0; i < t; ++i) {
            pen_->SetColor(TColor(ramp.At(t > 0 ? ramp.n * i / t : 0)));
            // Lines run at 45 degrees; one pixel more takes in their end inside the
            // rectangle, which the line rule would leave unpainted along two edges.
            if (q.X < r.Right && q.Y >= r.Top && q.Y < r.Bottom) Line(p.X, p.Y, q.X + 1, down ? q.Y - 1 : q.Y + 1);
            else Line(p.X, p.Y, q.X, q.Y);
            if (q.X < r.Right) ++q.X;
            else if (down ? q.Y < r.Bottom : q.Y > r.Top) q.Y += down ? 1 : -1;
            if (down ? p.Y < r.Bottom : p.Y > r.Top) p.Y += down ? 1 : -1;
            else if (p.X < r.Right) ++p.X;
        }
        pen_->Assign(saved);
        break;
    }
    case gdRadial: break;
    }
    brush_->SetColor(oldBrush);
    brush_->SetStyle(oldStyle);
}

}  // namespace chart

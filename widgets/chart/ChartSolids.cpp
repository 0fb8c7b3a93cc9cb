// Solid 3D shapes of the GDI chart canvas: faces turned towards the viewer, side faces
// shaded darker, nearest faces drawn last.
#include <algorithm>
#include <cmath>

#include "platform/graphics/GDI.h"
#include "widgets/chart/ChartCanvas3D.h"
#include "widgets/chart/ChartFont.h"

namespace chart {

using namespace platform;

namespace {
int Round(double v) { return int(std::nearbyint(v)); }
int Cross(TPoint p, TPoint q, TPoint r) { return (p.X - q.X) * (r.Y - q.Y) - (r.X - q.X) * (p.Y - q.Y); }
}  // namespace

TColor TChartCanvas3D::BaseColor() { return brush_->Style() == bsSolid ? brush_->Color() : GetBackColor(); }

void TChartCanvas3D::SetBaseColor(TColor c)
{
    if (brush_->Style() == bsSolid) brush_->SetColor(c);
    else SetBackColor(c);
}

void TChartCanvas3D::Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides)
{
    const bool clear = brush_->Style() == bsClear;
    const TColor base = BaseColor();
    auto P = [&](int x, int y, int z) { return Calculate3DPosition(x, y, z); };
    FourPoints = {P(left, top, z0), P(right, top, z0), P(right, bottom, z0), P(left, bottom, z0)};
    if (clear || Cross(FourPoints[3], FourPoints[2], FourPoints[1]) > 0) {
        PolygonFour();
    } else {
        FourPoints = {P(left, top, z1), P(right, top, z1), P(right, bottom, z1), P(left, bottom, z1)};
        PolygonFour();
    }
    FourPoints = {P(right, top, z0), P(right, top, z1), P(right, bottom, z1), P(right, bottom, z0)};
    if (clear || Cross(FourPoints[3], FourPoints[2], FourPoints[1]) > 0) {
        if (darkSides) InternalDark(base, DarkerColorQuantity);
        PolygonFour();
    }
    FourPoints = {P(left, top, z0), P(left, top, z1), P(left, bottom, z1), P(left, bottom, z0)};
    if (clear || Cross(FourPoints[3], FourPoints[0], FourPoints[1]) > 0) {
        if (darkSides) InternalDark(base, DarkerColorQuantity);
        PolygonFour();
    }
    FourPoints = {P(left, top, z0), P(right, top, z0), P(right, top, z1), P(left, top, z1)};
    if (clear || Cross(FourPoints[0], FourPoints[1], FourPoints[2]) > 0) {
        if (darkSides) InternalDark(base, DarkColorQuantity);
        PolygonFour();
    }
    // The bottom faces the viewer exactly when the top does not (its corners run the
    // other way round): drawn over the front otherwise.
    FourPoints = {P(left, bottom, z0), P(left, bottom, z1), P(right, bottom, z1), P(right, bottom, z0)};
    if (clear || Cross(FourPoints[1], FourPoints[2], FourPoints[3]) > 0) {
        if (darkSides) InternalDark(base, DarkColorQuantity);
        PolygonFour();
    }
}

void TChartCanvas3D::Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides)
{
    InternalCylinder(vertical, left, top, right, bottom, z0, z1, darkSides, 100);
}

void TChartCanvas3D::Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
                          int conePercent)
{
    InternalCylinder(vertical, left, top, right, bottom, z0, z1, darkSides, conePercent);
}

void TChartCanvas3D::InternalCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                                      bool darkSides, int conePercent)
{
    const int s = std::max(3, ChartNumCylinderSides);
    if (conePercent == 0) conePercent = ChartDefaultConePercent;
    const int zr = (z1 - z0) / 2, zm = (z0 + z1) / 2;
    const double step = 2 * M_PI / s;
    const TColor base = BaseColor();
    std::vector<TPoint> bottomPts(static_cast<std::size_t>(s + 1)), topPts(static_cast<std::size_t>(s + 1));
    const int r = vertical ? (right - left) / 2 : (bottom - top) / 2;
    const int m = vertical ? (left + right) / 2 : (top + bottom) / 2;
    const int tr = Round(r * conePercent * 0.01), tzr = Round(zr * conePercent * 0.01);
    for (int i = 1; i <= s; ++i) {
        const double a = (i - (vertical ? 4 : 5)) * step, sn = std::sin(a), cs = std::cos(a);
        if (vertical) {
            bottomPts[std::size_t(i)] = Calculate3DPosition(m + Round(sn * r), bottom, zm - Round(cs * zr));
            topPts[std::size_t(i)] = Calculate3DPosition(m + Round(sn * tr), top, zm - Round(cs * tzr));
        } else {
            bottomPts[std::size_t(i)] = Calculate3DPosition(left, m + Round(sn * r), zm - Round(cs * zr));
            topPts[std::size_t(i)] = Calculate3DPosition(right, m + Round(sn * tr), zm - Round(cs * tzr));
        }
    }
    const int darkStep = 256 / (2 * s);
    for (int i = 2; i <= s; ++i) {
        const std::size_t a = std::size_t(i - 1), b = std::size_t(i);
        if (ChartCull(topPts[a], bottomPts[a], bottomPts[b])) continue;
        if (darkSides) InternalDark(base, (darkStep * (i - 2)) % 256);
        FourPoints = {topPts[a], bottomPts[a], bottomPts[b], topPts[b]};
        PolygonFour();
    }
    const std::size_t last = std::size_t(s);
    if (!ChartCull(topPts[last], bottomPts[last], bottomPts[1])) {
        FourPoints = {topPts[last], bottomPts[last], bottomPts[1], topPts[1]};
        PolygonFour();
    }
    if (darkSides) InternalDark(base, DarkColorQuantity);
    if (vertical) {
        Polygon(topPts.data() + 1, s);
        return;
    }
    const bool front = !ChartCull(Calculate3DPosition(0, 0, 0), Calculate3DPosition(0, 10, 0),
                                  Calculate3DPosition(0, 10, 10));
    if (front) Polygon(topPts.data() + 1, s);
    else Polygon(bottomPts.data() + 1, s);
}

void TChartCanvas3D::Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides)
{
    const int zm = (z0 + z1) / 2;
    const TColor base = BaseColor();
    auto P = [&](int x, int y, int z) { return Calculate3DPosition(x, y, z); };
    auto tri = [&](TPoint a, TPoint b, TPoint c) {
        const TPoint p[3] = {a, b, c};
        Polygon(p, 3);
    };
    if (vertical) {
        const TPoint a = P((left + right) / 2, top, zm), l0 = P(left, bottom, z0), r0 = P(right, bottom, z0),
                     l1 = P(left, bottom, z1), r1 = P(right, bottom, z1);
        const bool up = top < bottom;
        if (top != bottom) {
            tri(l0, a, r0);
            if (ChartCull(l0, a, l1) != up) {
                if (darkSides) InternalDark(base, DarkerColorQuantity);
                tri(l0, a, l1);
            }
            if (ChartCull(r0, a, r1) == up) tri(r0, a, r1);
            if (up && ChartCull(a, l1, r1)) tri(a, l1, r1);
        }
        if (ChartCull(l0, r0, l1) == up) {
            if (darkSides) InternalDark(base, DarkColorQuantity);
            RectangleY(left, bottom, right, z0, z1);
        }
        return;
    }
    const TPoint a = P(right, (top + bottom) / 2, zm), t0 = P(left, top, z0), b0 = P(left, bottom, z0),
                 t1 = P(left, top, z1), b1 = P(left, bottom, z1);
    const bool toRight = left < right;
    if (left != right) {
        tri(t0, a, b0);
        if (ChartCull(t1, a, b1) != toRight) {
            if (darkSides) InternalDark(base, DarkColorQuantity);
            tri(t1, a, b1);
        }
        if (ChartCull(t0, a, t1) != toRight) tri(t0, a, t1);
        if (ChartCull(b1, a, b0) != toRight) tri(b1, a, b0);
    }
    if (ChartCull(t0, b0, t1) == toRight) {
        if (darkSides) InternalDark(base, DarkerColorQuantity);
        RectangleZ(left, top, bottom, z0, z1);
    }
}

void TChartCanvas3D::PyramidTrunc(const TRect& r, int startZ, int endZ, int tx, int tz)
{
    const int xm = (r.Left + r.Right) / 2, zm = (startZ + endZ) / 2;
    auto base = [&] { RectangleY(r.Left, r.Bottom, r.Right, startZ, endZ); };
    auto topFace = [&] {
        if (tx != 0) RectangleY(xm - tx, r.Top, xm + tx, zm - tz, zm + tz);
    };
    // Front or back face: top edge at depth topZ, base edge at depth baseZ.
    auto frontBack = [&](int topZ, int baseZ) {
        TFourPoints p = {TPoint{xm - tx, r.Top}, TPoint{xm + tx, r.Top}, TPoint{r.Right, r.Bottom},
                         TPoint{r.Left, r.Bottom}};
        const TPoint p0 = Calculate3DPosition(p[1], topZ), p1 = Calculate3DPosition(p[2], baseZ),
                     p2 = Calculate3DPosition(p[3], baseZ);
        const bool same = (topZ < baseZ && r.Top < r.Bottom) || (topZ > baseZ && r.Top > r.Bottom);
        if (ChartCull(p0, p1, p2) != same) PlaneFour3D(p, topZ, baseZ);
    };
    auto side = [&](int topX, int baseX) {
        const TPoint q1 = Calculate3DPosition(topX, r.Top, zm + tz), q2 = Calculate3DPosition(baseX, r.Bottom, endZ),
                     q3 = Calculate3DPosition(baseX, r.Bottom, startZ);
        const bool same = (topX < baseX && r.Top < r.Bottom) || (topX > baseX && r.Top > r.Bottom);
        if (ChartCull(q3, q2, q1) != same) {
            FourPoints = {Calculate3DPosition(topX, r.Top, zm - tz), q1, q2, q3};
            PolygonFour();
        }
    };
    if (r.Top < r.Bottom) base();
    else topFace();
    if (tx != 0 || startZ != endZ) {
        frontBack(zm + tz, endZ);
        side(xm - tx, r.Left);
        frontBack(zm - tz, startZ);
        side(xm + tx, r.Right);
    } else {
        frontBack(zm + tz, endZ);
    }
    if (r.Top < r.Bottom) topFace();
    else base();
}

void TChartCanvas3D::GetCirclePoints(TPoint (&pts)[64], int x1, int y1, int x2, int y2, int z)
{
    const int cx = (x1 + x2) / 2, cy = (y1 + y2) / 2, hw = (x2 - x1) / 2, hh = (y2 - y1) / 2;
    pts[0] = Calculate3DPosition(cx, y2, z);
    for (int i = 1; i < 64; ++i) {
        const double t = i * 2 * M_PI / 63;
        pts[i] = Calculate3DPosition(cx, y2, z);  // 2D: the double form leaves the point
        Calc3DPoint(pts[i], cx + std::sin(t) * hw, cy + std::cos(t) * hh, z);
    }
}

void TChartCanvas3D::EllipseWithZ(int x1, int y1, int x2, int y2, int z)
{
    if (orthogonal_) {
        const TPoint a = Calculate3DPosition(x1, y1, z), b = Calculate3DPosition(x2, y2, z);
        Ellipse(a.X, a.Y, b.X, b.Y);
        return;
    }
    if (!is3D_) {
        Ellipse(x1, y1, x2 + 1, y2 + 1);
        return;
    }
    TPoint pts[64];
    GetCirclePoints(pts, x1, y1, x2, y2, z);
    if (brush_->Style() != bsClear) {
        const TPenStyle old = pen_->Style();
        pen_->SetStyle(psClear);
        const TPoint c = Calculate3DPosition((x1 + x2) / 2, (y1 + y2) / 2, z);
        for (int i = 0; i < 63; ++i) {
            const TPoint t[3] = {c, pts[i], pts[i + 1]};
            Polygon(t, 3);
        }
        pen_->SetStyle(old);
    }
    if (pen_->Style() != psClear) Polyline(pts, 64);
}

void TChartCanvas3D::Sphere(int x, int y, int z, double radius)
{
    const int r = Round(radius);
    EllipseWithZ(x - r, y - r, x + r, y + r, z);
}

void TChartCanvas3D::Arrow(bool filled, TPoint from, TPoint to, int headWidth, int headLength, int z,
                           double shaftPercent)
{
    const double dx = to.X - from.X, dy = from.Y - to.Y, d = std::sqrt(dx * dx + dy * dy);
    if (d == 0) return;
    const double e = std::min(headLength, Round(d)), sn = dy / d, cs = dx / d;
    auto back = [&](double u, double v) {
        return Calculate3DPosition(Round(u * cs + v * sn), Round(-u * sn + v * cs), z);
    };
    const double h = to.X * cs - to.Y * sn, f = to.X * sn + to.Y * cs;
    const TPoint b1 = back(h - e, f - headWidth / 2.0), b2 = back(h - e, f + headWidth / 2.0);
    const TPoint tip = Calculate3DPosition(to, z);
    if (!filled) {
        const TPoint start = Calculate3DPosition(from, z);
        Line(start.X, start.Y, tip.X, tip.Y);
        Line(tip.X, tip.Y, b2.X, b2.Y);
        Line(tip.X, tip.Y, b1.X, b1.Y);
        return;
    }
    const double s = headWidth * shaftPercent * 0.005, g = from.X * cs - from.Y * sn;
    const TPoint p[7] = {back(g, f + s), back(g, f - s), back(h - e, f - s), b1, tip, b2, back(h - e, f + s)};
    Polygon(p, 7);
}

void TChartCanvas3D::Pie3D(int xc, int yc, int xr, int yr, int z0, int z1, double startAngle, double endAngle,
                           bool darkSides, bool drawSides, int donutPercent, TCustomChartGradient* gradient)
{
    const int n = std::min(94, Round(std::fabs(endAngle - startAngle) * 180 / M_PI / 2)) + 2;
    const double step = (endAngle - startAngle) / (n - 1);
    const double ix = donutPercent * xr * 0.01, iy = donutPercent * yr * 0.01;
    auto proj = [&](double x, double y, int z) {
        TPoint p = Calculate3DPosition(Round(x), Round(y), z);
        Calc3DPoint(p, x, y, z);
        return p;
    };
    auto outer = [&](double a, int z) { return proj(xc + xr * std::cos(a), yc - yr * std::sin(a), z); };
    auto hub = [&](double a, int z) {
        if (donutPercent <= 0) return proj(xc, yc, z);
        return proj(xc + ix * std::cos(a), Round(yc - iy * std::sin(a)), z);
    };
    TPointArray front(static_cast<std::size_t>(n)), back(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        front[std::size_t(i)] = outer(startAngle + i * step, z1);
        back[std::size_t(n - 1 - i)] = outer(startAngle + i * step, z0);
    }
    const TColor base = BaseColor();
    if (donutPercent > 0) {
        TPointArray inner;
        for (int i = n - 1; i >= 0; --i) inner.push_back(hub(startAngle + i * step, z1));
        for (int i = 0; i < n; ++i) inner.push_back(hub(startAngle + i * step, z0));
        if (darkSides) InternalDark(base, 32);
        Polygon(inner);
    }
    if (drawSides) {
        auto face = [&](double a) {
            if (darkSides) InternalDark(base, 32);
            const TPoint q[4] = {hub(a, z1), outer(a, z1), outer(a, z0), hub(a, z0)};
            Polygon(q, 4);
        };
        if (front.back().X < xo_) face(endAngle);
        if (front.front().X > xo_) face(startAngle);
    }
    SetBaseColor(base);
    auto fillPoly = [&](TPointArray& poly) {
        if (!gradient) {
            Polygon(poly);
            return;
        }
        ClipPolygon(poly.data(), int(poly.size()));
        gradient->Draw(*this, RectFromPolygon(poly.data(), int(poly.size())));
        UnClipRectangle();
        if (pen_->Style() != psClear) {
            const TBrushStyle old = brush_->Style();
            brush_->SetStyle(bsClear);
            Polygon(poly);
            brush_->SetStyle(old);
        }
    };
    TPointArray top;
    top.push_back(hub(startAngle, z1));
    top.insert(top.end(), front.begin(), front.end());
    if (donutPercent > 0)
        for (int i = n - 1; i >= 0; --i) top.push_back(hub(startAngle + i * step, z1));
    fillPoly(top);
    auto run = [&](int from, int to) {
        TPointArray side(front.begin() + from, front.begin() + to + 1);
        for (int i = to; i >= from; --i) side.push_back(back[std::size_t(n - 1 - i)]);
        if (darkSides) InternalDark(base, 32);
        fillPoly(side);
    };
    // Runs of the outer side where the arc moves right (indices from 1 as the points go).
    auto x = [&](int k) { return front[std::size_t(k - 1)].X; };
    int start = 0;
    for (int k = 2; k <= n; ++k)
        if (x(k) > x(k - 1)) {
            start = k - 1;
            break;
        }
    if (start == 0) return;
    int end = 0;
    for (int k = start + 1; k <= n; ++k)
        if (x(k) < x(k - 1)) {
            end = k - 1;
            break;
        }
    if (end == 0 && x(n) >= x(n - 1)) end = n;
    if (end != 0) run(start - 1, end - 1);
    if (end != n && n >= 2 && x(n) > x(n - 1)) {
        int d = n - 1;
        while (d > 1 && x(d) > x(d - 1)) --d;
        if (d > 1) run(d - 1, n - 1);
    }
}

}  // namespace chart

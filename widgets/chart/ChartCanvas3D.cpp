// The GDI chart canvas: buffer, state, text, 2D drawing, clipping and the 3D projection.
#include "widgets/chart/ChartCanvas3D.h"

#include <algorithm>
#include <cmath>

#include "platform/controls/Controls.h"
#include "platform/graphics/GDI.h"
#include "widgets/chart/ChartBlend.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartPen.h"

namespace chart {

using namespace platform;

namespace {
// Saturates, so that a projection far off the canvas stays a drawable integer.
int Round(double v)
{
    constexpr double kLimit = 1 << 30;
    if (!(v == v)) return 0;
    return int(std::nearbyint(std::clamp(v, -kLimit, kLimit)));
}
}  // namespace

TChartCanvas3D::TChartCanvas3D() = default;
TChartCanvas3D::~TChartCanvas3D() = default;

// ---------------------------------------------------------------- state

HDC TChartCanvas3D::GetHandle() { return canvas_->Handle(); }
TColor TChartCanvas3D::GetBackColor() { return TColor(GetBkColor(GetHandle())); }
void TChartCanvas3D::SetBackColor(TColor c) { SetBkColor(GetHandle(), ColorToRGB(c)); }
TCanvasBackMode TChartCanvas3D::GetBackMode() { return TCanvasBackMode(GetBkMode(GetHandle())); }
void TChartCanvas3D::SetBackMode(TCanvasBackMode m)
{
    if (m == cbmTransparent || m == cbmOpaque) SetBkMode(GetHandle(), int(m));
}
unsigned TChartCanvas3D::GetTextAlign() { return platform::GetTextAlign(GetHandle()); }
void TChartCanvas3D::SetTextAlign(unsigned align) { platform::SetTextAlign(GetHandle(), align); }

void TChartCanvas3D::SetMonochrome(bool v)
{
    if (monochrome_ == v) return;
    monochrome_ = v;
    dirty_ = true;
    if (options_) options_->Repaint();
}

void TChartCanvas3D::SetUseBuffer(bool v)
{
    if (buffered_ == v) return;
    buffered_ = v;
    if (!v && buffer_) {
        DeleteBitmap();
        dirty_ = true;
    } else if (v && buffer_) {
        SetCanvas(buffer_->Canvas());
    }
}

TColor TChartCanvas3D::GetPixel(int x, int y) { return canvas_->Pixel(x, y); }
void TChartCanvas3D::SetPixel(int x, int y, TColor c) { canvas_->SetPixel(x, y, TColor(ColorToRGB(c))); }

// ---------------------------------------------------------------- buffer

TRect TChartCanvas3D::InitWindow(TCanvas* dest, TView3DOptions* options, TColor color, bool is3D,
                                  const TRect& userRect)
{
    bounds_ = userRect;
    options_ = options;
    if (options) fontZoom_ = options->FontZoom();
    is3D_ = is3D;
    orthogonal_ = false;
    k_ = 1;
    if (is3D && options) {
        orthogonal_ = options->Orthogonal();
        if (orthogonal_) {
            double a = options->OrthoAngle();
            if (a > 90) {
                ox_ = -1;
                a = 180 - a;
            } else {
                ox_ = 1;
            }
            const double c = std::cos(a * ChartPiStep);
            oy_ = c < 0.01 ? 1 : std::tan(a * ChartPiStep);
        }
        k_ = options->Zoom() * 0.01;
        zoomText_ = options->ZoomText();
    }
    if (is3D) CalcTrigValues();
    if (!buffered_) {
        SetCanvas(dest);
        return userRect;
    }
    const int w = userRect.Width(), h = userRect.Height();
    if (!buffer_) buffer_ = std::make_unique<TBitmap>();
    buffer_->SetSize(std::max(0, w), std::max(0, h));
    buffer_->Canvas()->OnChange = nullptr;
    buffer_->Canvas()->OnChanging = nullptr;
    // A see-through chart starts from what lies under it, not from its last frame.
    if (color == clNone && dest && w > 0 && h > 0)
        BitBlt(buffer_->Canvas()->Handle(), 0, 0, w, h, dest->Handle(), userRect.Left, userRect.Top, SRCCOPY);
    SetCanvas(buffer_->Canvas());
    return {0, 0, w, h};
}

void TChartCanvas3D::ShowImage(TCanvas* dest, TCanvas* defaultCanvas, const TRect& userRect)
{
    if (buffered_ && buffer_) {
        TransferBitmap(userRect.Left, userRect.Top, dest);
        dirty_ = false;
    }
    SetCanvas(defaultCanvas);
}

bool TChartCanvas3D::ReDrawBitmap()
{
    if (dirty_ || !buffer_ || !canvas_) return false;
    TransferBitmap(0, 0, canvas_);
    return true;
}

void TChartCanvas3D::DeleteBitmap()
{
    if (buffer_ && canvas_ == buffer_->Canvas()) SetCanvas(nullptr);
    buffer_.reset();
}

void TChartCanvas3D::TransferBitmap(int x, int y, TCanvas* canvas)
{
    if (!buffer_ || !canvas) return;
    BitBlt(canvas->Handle(), x, y, buffer_->Width(), buffer_->Height(), buffer_->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- 2D drawing

void TChartCanvas3D::MoveTo(int x, int y)
{
    canvas_->MoveTo(x, y);
    dotPhase_ = 0;
}

void TChartCanvas3D::LineTo(int x, int y)
{
    if (SmallDotsSpace() >= 0) {
        DottedLine(canvas_->PenPos(), {x, y}, dotPhase_);
        canvas_->MoveTo(x, y);
        return;
    }
    canvas_->LineTo(x, y);
}

// The small-dots pen: isolated pixels space + 1 apart, the last pixel not drawn.
void TChartCanvas3D::DottedLine(TPoint a, TPoint b, int& phase)
{
    const int space = SmallDotsSpace(), step = space <= 0 ? 2 : space + 1;
    const TColor color = pen_->Color();
    int x = a.X, y = a.Y;
    const int dx = std::abs(b.X - x), dy = -std::abs(b.Y - y), sx = x < b.X ? 1 : -1, sy = y < b.Y ? 1 : -1;
    int err = dx + dy;
    while (x != b.X || y != b.Y) {
        if (phase % step == 0) canvas_->SetPixel(x, y, color);
        ++phase;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void TChartCanvas3D::Line(int x0, int y0, int x1, int y1)
{
    MoveTo(x0, y0);
    LineTo(x1, y1);
}
void TChartCanvas3D::DoHorizLine(int x0, int x1, int y) { Line(x0, y, x1, y); }
void TChartCanvas3D::DoVertLine(int x, int y0, int y1) { Line(x, y0, x, y1); }

void TChartCanvas3D::Polyline(const TPoint* pts, int count)
{
    if (count < 2) return;
    if (SmallDotsSpace() >= 0) {
        int phase = 0;
        for (int i = 1; i < count; ++i) DottedLine(pts[i - 1], pts[i], phase);
        return;
    }
    canvas_->Polyline(pts, count);
}

void TChartCanvas3D::Polygon(const TPoint* pts, int count)
{
    if (count < 2) return;
    if (SmallDotsSpace() >= 0) {
        const TPenStyle keep = pen_->Style();
        pen_->SetStyle(psClear);
        canvas_->Polygon(pts, count);
        pen_->SetStyle(keep);
        int phase = 0;
        for (int i = 1; i <= count; ++i) DottedLine(pts[i - 1], pts[i % count], phase);
        return;
    }
    canvas_->Polygon(pts, count);
}

void TChartCanvas3D::Rectangle(int x0, int y0, int x1, int y1) { canvas_->Rectangle(x0, y0, x1, y1); }
void TChartCanvas3D::RoundRect(int x1, int y1, int x2, int y2, int w, int h) { canvas_->RoundRect(x1, y1, x2, y2, w, h); }
void TChartCanvas3D::Ellipse(int x1, int y1, int x2, int y2) { canvas_->Ellipse(x1, y1, x2, y2); }
void TChartCanvas3D::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    canvas_->Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}
void TChartCanvas3D::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    canvas_->Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}
void TChartCanvas3D::FillRect(const TRect& r) { canvas_->FillRect(r); }

void TChartCanvas3D::Draw(int x, int y, TGraphic* g)
{
    if (g && !g->Empty()) canvas_->Draw(x, y, g);
}

void TChartCanvas3D::StretchDraw(const TRect& r, TGraphic* g)
{
    if (g) canvas_->StretchDraw(r, g);
}

void TChartCanvas3D::PolygonFour() { Polygon(FourPoints.data(), 4); }

void TChartCanvas3D::Donut(int xc, int yc, int xr, int yr, double startAngle, double endAngle, double holePercent)
{
    const double ix = xr * holePercent * 0.01, iy = yr * holePercent * 0.01;
    auto at = [&](double rx, double ry, double a) {
        return TPoint{xc + Round(rx * std::cos(a)), yc - Round(ry * std::sin(a))};
    };
    // The path as points: the outer arc counter-clockwise, the inner one back.
    const int n = std::max(2, std::min(180, Round(std::fabs(endAngle - startAngle) * 180 / M_PI / 2) + 2));
    TPointArray pts;
    for (int i = 0; i < n; ++i) pts.push_back(at(xr, yr, startAngle + (endAngle - startAngle) * i / (n - 1)));
    const TPoint innerEnd = at(ix, iy, endAngle), innerStart = at(ix, iy, startAngle);
    pts.push_back(innerEnd);
    if (innerEnd != innerStart) {
        for (int i = n - 2; i > 0; --i) pts.push_back(at(ix, iy, startAngle + (endAngle - startAngle) * i / (n - 1)));
        pts.push_back(innerStart);
    }
    Polygon(pts);
}

// ---------------------------------------------------------------- text

TRect TChartCanvas3D::TextRectAt(int x, int y, const std::string& text)
{
    const int w = TextWidth(text);
    unsigned a = GetTextAlign();
    if (a >= 8) a -= 8;
    TRect r{x, y, x + w, y + TextHeight(text)};
    if (a == TA_RIGHT) {
        r.Left = x - w;
        r.Right = x;
    } else if (a == TA_CENTER) {
        r.Left = x - w / 2;
        r.Right = x + w / 2;
    }
    return r;
}

void TChartCanvas3D::DrawTextAt(int x, int y, const std::string& text)
{
    ExtTextOut(GetHandle(), x, y, 0, nullptr, text, -1);
}

void TChartCanvas3D::TextOut(int x, int y, const std::string& text)
{
    HDC dc = GetHandle();
    TChartShadow* shadow = assignedFont_ && assignedFont_->HasShadow() ? assignedFont_->Shadow() : nullptr;
    if (shadow && (shadow->HorizSize() != 0 || shadow->VertSize() != 0)) {
        int sx = x, sy = y;
        if (shadow->HorizSize() < 0) x -= shadow->HorizSize();
        else sx += shadow->HorizSize();
        if (shadow->VertSize() < 0) y -= shadow->VertSize();
        else sy += shadow->VertSize();
        TChartBlend* blend = nullptr;
        if (shadow->Transparency() > 0) blend = BeginBlending(TextRectAt(sx, sy, text), shadow->Transparency());
        dc = GetHandle();
        platform::SetTextColor(dc, ColorToRGB(shadow->Color()));
        DrawTextAt(sx, sy, text);
        if (blend) EndBlending(blend);
    }
    dc = GetHandle();
    platform::SetTextColor(dc, ColorToRGB(font_->Color()));
    TChartFont* f = assignedFont_;
    const bool outline = f && f->HasOutLine() && f->OutLine()->Visible();
    const bool gradient = f && f->HasGradient() && f->Gradient()->Visible();
    if (outline || gradient) {
        DrawStyledText(x, y, text, outline, gradient);
        return;
    }
    DrawTextAt(x, y, text);
}

// Outlined and gradient letters through a path of the glyphs, turned or not; on a
// metafile the path goes in as polygons.
void TChartCanvas3D::DrawStyledText(int x, int y, const std::string& text, bool outline, bool gradient)
{
    TChartFont& f = *assignedFont_;
    if (outline) AssignVisiblePen(*f.OutLine());
    else pen_->SetStyle(psClear);
    brush_->SetColor(font_->Color());
    brush_->SetStyle(bsSolid);
    SetBackMode(cbmTransparent);
    auto textPath = [&] {
        HDC dc = GetHandle();
        BeginPath(dc);
        DrawTextAt(x, y, text);
        EndPath(dc);
    };
    textPath();
    if (gradient) {
        HDC dc = GetHandle();
        if (f.Gradient()->Outline()) WidenPath(dc);
        HRGN letters = PathToRegion(dc);
        TRect r = TextRectAt(x, y, text);
        if (letters && font_->Escapement() % 3600 != 0) {
            // Turned letters: the gradient covers the box they turn into.
            TRect box;
            GetRgnBox(letters, &box);
            TPoint vo, wo;
            GetViewportOrgEx(dc, &vo);
            GetWindowOrgEx(dc, &wo);
            r = {box.Left - vo.X + wo.X, box.Top - vo.Y + wo.Y, box.Right - vo.X + wo.X, box.Bottom - vo.Y + wo.Y};
        }
        PushClip(letters);
        f.Gradient()->Draw(*this, r, 0);
        UnClipRectangle();
        if (f.Gradient()->Outline()) return;
        if (outline) {
            AssignVisiblePen(*f.OutLine());
            textPath();
            brush_->SetStyle(bsClear);
        }
    }
    if (!outline) {
        AbortPath(GetHandle());
        return;
    }
    if (font_->Color() == clNone) StrokePath(GetHandle());
    else StrokeAndFillPath(GetHandle());
}

void TChartCanvas3D::ZoomedTextOut(int x, int y, const std::string& text, int escapement)
{
    const int oldEsc = font_->Escapement(), oldHeight = font_->Height();
    font_->SetEscapement(escapement);
    if (zoomText_ && k_ != 1) {
        const int size = std::max(1, Round(font_->Size() * k_));
        font_->SetHeight(-(size * font_->PixelsPerInch() / 72));
    }
    const unsigned align = GetTextAlign();
    if (escapement % 3600 != 0 && align != 0) {
        // The alignment holds along the turned text: place its top-left corner here.
        TEXTMETRIC tm;
        GetTextMetrics(GetHandle(), tm);
        const int w = canvas_->TextWidth(text);
        const unsigned h = align & 6, v = align & 24;
        const double u = h == TA_CENTER ? -w / 2.0 : h == TA_RIGHT ? -w : 0.0;
        const double d = v == TA_BOTTOM ? -tm.tmHeight : v == TA_BASELINE ? -tm.tmAscent : 0.0;
        const double a = escapement / 10.0 * ChartPiStep, c = std::cos(a), s = std::sin(a);
        SetTextAlign(0);
        TextOut(x + Round(u * c + d * s), y + Round(-u * s + d * c), text);
        SetTextAlign(align);
    } else {
        TextOut(x, y, text);
    }
    font_->SetEscapement(oldEsc);
    font_->SetHeight(oldHeight);
}

void TChartCanvas3D::RotateLabel(int x, int y, const std::string& text, double angle)
{
    while (angle > 360) angle -= 360;
    brush_->SetStyle(bsClear);
    ZoomedTextOut(x, y, text, Round(angle * 10));
}

void TChartCanvas3D::RotateLabel3D(int x, int y, int z, const std::string& text, double angle)
{
    const TPoint p = Calculate3DPosition(x, y, z);
    RotateLabel(p.X, p.Y, text, angle);
}

void TChartCanvas3D::TextOut3D(int x, int y, int z, const std::string& text)
{
    const TPoint p = Calculate3DPosition(x, y, z);
    if (!zoomText_ || k_ == 1) {
        TextOut(p.X, p.Y, text);
        return;
    }
    ZoomedTextOut(p.X, p.Y, text, font_->Escapement());
}

// ---------------------------------------------------------------- clipping

void TChartCanvas3D::ClipRectangle(const TRect& r)
{
    ClipCanvas(*canvas_, r);
    ++clipDepth_;
}

void TChartCanvas3D::UnClipRectangle()
{
    if (clipDepth_ <= 0) return;
    --clipDepth_;
    UnClipCanvas(*canvas_);
}

void TChartCanvas3D::ClipCube(const TRect& r, int minZ, int maxZ)
{
    if (!is3D_) {
        ClipRectangle({r.Left + 1, r.Top + 1, r.Right, r.Bottom - 1});
        return;
    }
    TPointArray p = {Calculate3DPosition(r.Left, r.Bottom, minZ), Calculate3DPosition(r.Left, r.Bottom, maxZ),
                     Calculate3DPosition(r.Left, r.Top, maxZ),    Calculate3DPosition(r.Right, r.Top, maxZ),
                     Calculate3DPosition(r.Right, r.Top, minZ),   Calculate3DPosition(r.Right, r.Bottom, minZ),
                     Calculate3DPosition(r.Left, r.Top, minZ),    Calculate3DPosition(r.Right, r.Bottom, maxZ)};
    ConvexHull(p);
    ClipPolygon(p.data(), int(p.size()));
}

// ---------------------------------------------------------------- projection

void TChartCanvas3D::CalcTrigValues()
{
    if (orthogonal_) return;
    double e = 0, r = 0, t = 0;
    if (options_) {
        e = -options_->Elevation();
        r = -options_->Rotation();
        t = options_->Tilt();
    }
    e *= ChartPiStep;
    r *= ChartPiStep;
    t *= ChartPiStep;
    hasPerspective_ = false;
    persp_ = 0;
    s1_ = std::sin((long double)e);
    c1_ = std::cos((long double)e);
    s2_ = std::sin((long double)r);
    c2_ = std::cos((long double)r);
    s3_ = std::sin((long double)t);
    c3_ = std::cos((long double)t);
    hasTilt_ = t != 0;
    a_ = double(c2_ * s3_);
    b_ = std::max(double(c2_ * c3_), 0.00001);
    xx_ = std::max(double(s1_ * s2_ * s3_ + c1_ * c3_), 0.00001);
    yx_ = double(c3_ * s1_ * s2_ - c1_ * s3_);
    xz_ = double(c1_ * s2_ * s3_ - c3_ * s1_);
    yz_ = double(c1_ * c3_ * s2_ + s1_ * s3_);
}

void TChartCanvas3D::Projection(int maxDepth, const TRect&, const TRect& r)
{
    int x, y;
    RectCenter(r, x, y);
    XCenter = Round(x + RotationCenter.X);
    YCenter = Round(y + RotationCenter.Y);
    ZCenter = Round(maxDepth * 0.5 + RotationCenter.Z);
    xo_ = XCenter;
    yo_ = YCenter;
    if (options_) {
        xo_ += options_->HorizOffset();
        yo_ += options_->VertOffset();
        CalcPerspective(r);
    }
}

void TChartCanvas3D::CalcPerspective(const TRect& r)
{
    hasPerspective_ = options_ && options_->Perspective() > 0;
    if (!hasPerspective_) return;
    const int w = r.Right - r.Left;
    persp_ = options_->Perspective() * k_ / 150.0 / (w < 1 ? 1 : w);
}

void TChartCanvas3D::Calc3DPos(int& x, int& y, int z)
{
    if (orthogonal_) {
        const int nx = Round((x - XCenter + z * ox_) * k_) + xo_;
        y = Round((y - YCenter - z * oy_) * k_) + yo_;
        x = nx;
        return;
    }
    if (!is3D_) return;
    const long double xp = x - XCenter, yp = y - YCenter, zp = z - ZCenter;
    const long double w = zp * c2_ - xp * s2_, u = xp * c2_ + zp * s2_, v = yp * c1_ - w * s1_;
    const long double q = PerspectiveScale(w, yp);
    if (hasTilt_) {
        x = Round(double((c3_ * u - s3_ * v) * q)) + xo_;
        y = Round(double((c3_ * v + s3_ * u) * q)) + yo_;
    } else {
        x = Round(double(u * q)) + xo_;
        y = Round(double(v * q)) + yo_;
    }
}

void TChartCanvas3D::Calc3DPoint(TPoint& p, double x, double y, int z)
{
    if (orthogonal_) {
        p = {Round((x - XCenter + z * ox_) * k_) + xo_, Round((y - YCenter - z * oy_) * k_) + yo_};
        return;
    }
    if (!is3D_) return;
    const long double xp = x - XCenter, yp = y - YCenter, zp = z - ZCenter;
    const long double w = zp * c2_ - xp * s2_, u = xp * c2_ + zp * s2_, v = yp * c1_ - w * s1_;
    const long double q = PerspectiveScale(w, yp);
    p = {Round(double((c3_ * u - s3_ * v) * q)) + xo_, Round(double((c3_ * v + s3_ * u) * q)) + yo_};
}

long double TChartCanvas3D::PerspectiveScale(long double w, long double yp) const
{
    if (!hasPerspective_) return k_;
    // A point at or behind the eye (a narrow rectangle makes the perspective strong) is
    // drawn as if just in front of it, instead of at infinity or mirrored.
    constexpr long double kNearest = 0.01L;
    return k_ / std::max((c1_ * w + s1_ * yp) * persp_ + 1, kNearest);
}

TPoint TChartCanvas3D::Calculate3DPosition(int x, int y, int z)
{
    Calc3DPos(x, y, z);
    return {x, y};
}

TPointArray TChartCanvas3D::Calc3DPoints(const TPoint* pts, int count, int z)
{
    TPointArray out(std::size_t(std::max(0, count)));
    for (int i = 0; i < count; ++i) out[std::size_t(i)] = Calculate3DPosition(pts[i].X, pts[i].Y, z);
    return out;
}

void TChartCanvas3D::Calculate2DPosition(int& x, int& y, int z)
{
    if (k_ == 0) return;
    const double m = 1 / k_;
    if (orthogonal_) {
        x = Round(m * (x - xo_) - z * ox_) + XCenter;
        y = Round(m * (y - yo_) + z * oy_) + YCenter;
        return;
    }
    if (!is3D_) return;
    const int x0 = x, y0 = y;
    const double zp = z - ZCenter;
    x = Round((m * (x0 - xo_) - zp * xz_ - (y0 - YCenter) * a_) / xx_) + XCenter;
    y = Round((m * (y0 - yo_) - zp * yz_ - (x0 - XCenter) * yx_) / b_) + YCenter;
}

void TChartCanvas3D::DisableRotation()
{
    wasIs3D_ = is3D_;
    is3D_ = false;
}

void TChartCanvas3D::EnableRotation() { is3D_ = wasIs3D_; }

// ---------------------------------------------------------------- projected primitives

void TChartCanvas3D::MoveTo3D(int x, int y, int z)
{
    const TPoint p = Calculate3DPosition(x, y, z);
    MoveTo(p.X, p.Y);
}

void TChartCanvas3D::LineTo3D(int x, int y, int z)
{
    const TPoint p = Calculate3DPosition(x, y, z);
    LineTo(p.X, p.Y);
}

void TChartCanvas3D::LineWithZ(int x0, int y0, int x1, int y1, int z)
{
    MoveTo3D(x0, y0, z);
    LineTo3D(x1, y1, z);
}

void TChartCanvas3D::HorizLine3D(int left, int right, int y, int z) { LineWithZ(left, y, right, y, z); }
void TChartCanvas3D::VertLine3D(int x, int top, int bottom, int z) { LineWithZ(x, top, x, bottom, z); }
void TChartCanvas3D::ZLine3D(int x, int y, int z0, int z1)
{
    MoveTo3D(x, y, z0);
    LineTo3D(x, y, z1);
}

void TChartCanvas3D::RectangleWithZ(const TRect& r, int z)
{
    FourPoints = FourPointsFromRect(r, z);
    PolygonFour();
}

void TChartCanvas3D::RectangleY(int left, int top, int right, int z0, int z1)
{
    FourPoints = {Calculate3DPosition(left, top, z0), Calculate3DPosition(right, top, z0),
                  Calculate3DPosition(right, top, z1), Calculate3DPosition(left, top, z1)};
    PolygonFour();
}

void TChartCanvas3D::RectangleZ(int left, int top, int bottom, int z0, int z1)
{
    FourPoints = {Calculate3DPosition(left, top, z0), Calculate3DPosition(left, top, z1),
                  Calculate3DPosition(left, bottom, z1), Calculate3DPosition(left, bottom, z0)};
    PolygonFour();
}

void TChartCanvas3D::Plane3D(TPoint a, TPoint b, int z0, int z1)
{
    FourPoints = {Calculate3DPosition(a, z0), Calculate3DPosition(b, z0), Calculate3DPosition(b, z1),
                  Calculate3DPosition(a, z1)};
    PolygonFour();
}

void TChartCanvas3D::PlaneWithZ(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z)
{
    FourPoints = {Calculate3DPosition(p1, z), Calculate3DPosition(p2, z), Calculate3DPosition(p3, z),
                  Calculate3DPosition(p4, z)};
    PolygonFour();
}

void TChartCanvas3D::PlaneFour3D(TFourPoints& pts, int z0, int z1)
{
    FourPoints = pts;
    Calc3DPoint(FourPoints[0], pts[0].X, pts[0].Y, z0);
    Calc3DPoint(FourPoints[1], pts[1].X, pts[1].Y, z0);
    Calc3DPoint(FourPoints[2], pts[2].X, pts[2].Y, z1);
    Calc3DPoint(FourPoints[3], pts[3].X, pts[3].Y, z1);
    PolygonFour();
}

void TChartCanvas3D::PolygonWithZ(const TPoint* pts, int count, int z) { Polygon(Calc3DPoints(pts, count, z)); }

void TChartCanvas3D::Polyline(const TPoint* pts, int count, int z)
{
    const TPointArray p = Calc3DPoints(pts, count, z);
    Polyline(p.data(), int(p.size()));
}

void TChartCanvas3D::TriangleWithZ(TPoint p1, TPoint p2, TPoint p3, int z)
{
    const TPoint p[3] = {Calculate3DPosition(p1, z), Calculate3DPosition(p2, z), Calculate3DPosition(p3, z)};
    Polygon(p, 3);
}

void TChartCanvas3D::Triangle3D(const TPoint3D (&p)[3], const TColor (&colors)[3])
{
    const TPoint q[3] = {Calculate3DPosition(p[0]), Calculate3DPosition(p[1]), Calculate3DPosition(p[2])};
    if (brush_->Style() != bsClear) brush_->SetColor(colors[0]);
    Polygon(q, 3);
}

TColor TChartCanvas3D::GetPixel3D(int x, int y, int z)
{
    const TPoint p = Calculate3DPosition(x, y, z);
    return GetPixel(p.X, p.Y);
}

void TChartCanvas3D::SetPixel3D(int x, int y, int z, TColor c)
{
    const TPoint p = Calculate3DPosition(x, y, z);
    if (pen_->Width() == 1) {
        SetPixel(p.X, p.Y, c);
    } else {
        MoveTo(p.X, p.Y);
        LineTo(p.X, p.Y);
    }
}

}  // namespace chart

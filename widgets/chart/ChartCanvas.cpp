// The abstract chart canvas: shared state, the operations built from others, and the
// geometry and colour helpers.
#include "widgets/chart/ChartCanvas.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/graphics/GDI.h"
#include "widgets/chart/ChartBlend.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartPen.h"

namespace chart {

using namespace platform;

double ChartPiStep = M_PI / 180.0;
const TRect ChartZeroRect{0, 0, 0, 0};
int DarkerColorQuantity = 128;
int DarkColorQuantity = 64;
int ChartDefaultConePercent = 0;
int ChartNumCylinderSides = 16;
int ChartFontAntiAlias = 4;
bool ChartCheckPenWidth = false;
bool IsWindowsNT = true;

TPoint ChartPoint(int x, int y) { return {x, y}; }
TRect ChartRectOf(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
TPoint3D Point3D(int x, int y, int z) { return {x, y, z}; }

bool PointInRect(const TRect& r, int x, int y) { return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom; }
bool PointInRect(const TRect& r, TPoint p) { return PointInRect(r, p.X, p.Y); }

TRect OrientRectangle(const TRect& r)
{
    TRect o = r;
    if (o.Right < o.Left) std::swap(o.Left, o.Right);
    if (o.Bottom < o.Top) std::swap(o.Top, o.Bottom);
    return o;
}

void RectSize(const TRect& r, int& width, int& height)
{
    width = r.Right - r.Left;
    height = r.Bottom - r.Top;
}

void RectCenter(const TRect& r, int& x, int& y)
{
    x = (r.Left + r.Right) / 2;
    y = (r.Top + r.Bottom) / 2;
}

TRect PolygonBounds(const TPoint* pts, int count)
{
    if (count <= 0) return ChartZeroRect;
    TRect b{pts[0].X, pts[0].Y, pts[0].X, pts[0].Y};
    for (int i = 1; i < count; ++i) {
        b.Left = std::min(b.Left, pts[i].X);
        b.Top = std::min(b.Top, pts[i].Y);
        b.Right = std::max(b.Right, pts[i].X);
        b.Bottom = std::max(b.Bottom, pts[i].Y);
    }
    return b;
}

TRect RectFromPolygon(const TPoint* pts, int count)
{
    TRect b = PolygonBounds(pts, count);
    ++b.Right;
    ++b.Bottom;
    return b;
}

TRect RectFromTriangle(TPoint p0, TPoint p1, TPoint p2)
{
    const TPoint p[3] = {p0, p1, p2};
    return RectFromPolygon(p, 3);
}

bool ChartCull(TPoint p0, TPoint p1, TPoint p2)
{
    return (p0.X - p1.X) * (p2.Y - p1.Y) - (p2.X - p1.X) * (p0.Y - p1.Y) < 0;
}
bool ChartCull(const TPoint (&p)[3]) { return ChartCull(p[0], p[1], p[2]); }

TRGBTriple RGBValue(TColor c)
{
    TRGBTriple t;
    t.Red = Byte(c & 0xFF);
    t.Green = Byte((c >> 8) & 0xFF);
    t.Blue = Byte((c >> 16) & 0xFF);
    return t;
}

TColor ApplyDark(TColor c, int amount)
{
    const COLORREF rgb = ColorToRGB(c);
    auto dark = [amount](int v) { return v > amount ? v - amount : 0; };
    return TColor(RGB(dark(GetRValue(rgb)), dark(GetGValue(rgb)), dark(GetBValue(rgb))));
}

TColor ApplyBright(TColor c, int amount)
{
    const COLORREF rgb = ColorToRGB(c);
    auto bright = [amount](int v) { return std::min(255, v + amount); };
    return TColor(RGB(bright(GetRValue(rgb)), bright(GetGValue(rgb)), bright(GetBValue(rgb))));
}

double ChartDistance(double x, double y) { return std::sqrt(x * x + y * y); }

TPoint PointAtDistance(TPoint from, TPoint to, int d)
{
    if (from.X == to.X) return {to.X, to.Y < from.Y ? to.Y + d : to.Y - d};
    const double a = std::atan2(double(to.Y - from.Y), double(to.X - from.X));
    return {to.X - int(std::nearbyint(d * std::cos(a))), to.Y - int(std::nearbyint(d * std::sin(a)))};
}

void SwapDouble(double& a, double& b) { std::swap(a, b); }
void SwapInteger(int& a, int& b) { std::swap(a, b); }

// ---------------------------------------------------------------- TChartCanvas

void TChartCanvas::SetCanvas(TCanvas* c)
{
    canvas_ = c;
    font_ = c ? &c->Font() : nullptr;
    pen_ = c ? &c->Pen() : nullptr;
    brush_ = c ? &c->Brush() : nullptr;
}

void TChartCanvas::ResetState()
{
    pen_->SetColor(clBlack);
    pen_->SetWidth(1);
    pen_->SetStyle(psSolid);
    brush_->SetColor(clWhite);
    brush_->SetStyle(bsSolid);
    brush_->SetBitmap(nullptr);
    font_->SetColor(clBlack);
    font_->SetStyle(0);
    font_->SetName(GetDefaultFontName);
    font_->SetSize(GetDefaultFontSize);
    font_->SetEscapement(0);
    transparency_ = 0;
    assignedFont_ = nullptr;
    SetBackColor(clWhite);
    SetBackMode(cbmTransparent);
    SetTextAlign(0);
}

namespace {
// The geometric pen's style bits for a chart pen: its dashes and its end style.
DWORD GeometricStyle(const TChartPen& pen)
{
    static const DWORD kEnd[] = {PS_ENDCAP_ROUND | PS_JOIN_ROUND, PS_ENDCAP_SQUARE | PS_JOIN_BEVEL,
                                 PS_ENDCAP_FLAT | PS_JOIN_MITER};
    return PS_GEOMETRIC | DWORD(pen.Style()) | kEnd[pen.EndStyle()];
}
}  // namespace

HPEN ChartCreatePenSmallDots(TColor color, int space)
{
    LOGBRUSH lb;
    lb.lbColor = ColorToRGB(color);
    if (space <= 0) return ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, lb, 0, nullptr);
    const DWORD style[] = {0, DWORD(space + 1)};
    return ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, lb, 2, style);
}

void ChartSetChartPen(TPen& target, const TChartPen& pen, TColor color, HDC dc)
{
    (void)dc;  // the pen's mode travels with the platform pen into the DC
    if (pen.SmallDots()) {
        target.SetHandle(ChartCreatePenSmallDots(color, pen.SmallSpace()));
        target.SetMode(pen.Mode());
        return;
    }
    target.Assign(pen);
    if (target.Color() != color) target.SetColor(color);
    if (pen.Width() < 2) {
        if (ChartCheckPenWidth && pen.Style() != psSolid && pen.Width() == 1) target.SetWidth(0);
        return;
    }
    LOGBRUSH lb;
    lb.lbColor = ColorToRGB(color);
    target.SetHandle(ExtCreatePen(GeometricStyle(pen), DWORD(pen.Width()), lb, 0, nullptr));
    target.SetMode(pen.Mode());
}

void TChartCanvas::AssignVisiblePenColor(const TPen& pen, TColor color)
{
    if (GetMonochrome()) color = clBlack;
    smallDots_ = -1;
    if (auto* cp = dynamic_cast<const TChartPen*>(&pen)) {
        if (!cp->Visible()) {
            pen_->SetStyle(psClear);
            return;
        }
        if (IsWindowsNT && !GetSupportsFullRotation()) {
            const HPEN inForce = pen_->Handle();
            const bool geometric = pen.Width() >= 2;
            if (!cp->SmallDots() && pen_->Color() == color && pen_->Width() == pen.Width() &&
                pen_->Style() == pen.Style() && pen_->Mode() == pen.Mode() &&
                (geometric ? inForce && inForce->style == GeometricStyle(*cp) : !inForce))
                return;  // already the pen in force
            if (cp->SmallDots()) {
                // Drawn dot by dot by the line operations.
                pen_->Assign(pen);
                pen_->SetColor(color);
                pen_->SetWidth(1);
                pen_->SetStyle(psDot);
                smallDots_ = std::max(0, cp->SmallSpace());
                return;
            }
            ChartSetChartPen(*pen_, *cp, color, GetHandle());
            return;
        }
    }
    pen_->Assign(pen);
    pen_->SetColor(color);
    if (ChartCheckPenWidth && pen.Style() != psSolid && pen.Width() == 1) pen_->SetWidth(0);
}

void TChartCanvas::AssignBrush(TChartBrush& brush, TColor color) { AssignBrushColor(brush, color, brush.Color()); }

void TChartCanvas::AssignBrushColor(TChartBrush& brush, TColor color, TColor backColor)
{
    if (GetMonochrome()) color = clWhite;
    if (brush.HasImage() && brush.Image()->Graphic()) {
        brush_->SetStyle(bsClear);
        brush_->SetBitmap(brush.Image()->Bitmap());
        SetTextColor(GetHandle(), ColorToRGB(color));
        SetBackMode(cbmOpaque);
        SetBackColor(backColor);
        return;
    }
    brush_->SetBitmap(nullptr);
    if (brush_->Color() != color) brush_->SetColor(color);
    if (brush_->Style() != brush.Style()) brush_->SetStyle(brush.Style());
    if (backColor == clNone) {
        SetBackMode(cbmTransparent);
    } else {
        SetBackMode(cbmOpaque);
        SetBackColor(backColor);
    }
}

void TChartCanvas::AssignFont(TChartFont& font)
{
    font_->Assign(static_cast<const TFont&>(font));
    font_->SetEscapement(0);
    if (fontZoom_ != 100) font_->SetSize(int(std::nearbyint(font.Size() * fontZoom_ * 0.01)));
    if (GetMonochrome()) font_->SetColor(clBlack);
    HDC dc = GetHandle();
    if (SetTextCharacterExtra(dc, font.InterCharSize()) != font.InterCharSize()) {
        // set above; the call returns the old spacing
    }
    assignedFont_ = &font;
    font.LastCanvas = this;
}

int TChartCanvas::TextWidth(const std::string& text)
{
    int w = canvas_->TextExtent(text).cx;
    if (assignedFont_ && assignedFont_->HasShadow()) w += std::abs(assignedFont_->Shadow()->HorizSize());
    return w;
}

int TChartCanvas::TextHeight(const std::string& text)
{
    int h = canvas_->TextExtent(text).cy;
    if (assignedFont_ && assignedFont_->HasShadow()) h += std::abs(assignedFont_->Shadow()->VertSize());
    return h;
}

void TChartCanvas::InternalDark(TColor c, int amount)
{
    const TColor d = ApplyDark(c, amount);
    if (brush_->Style() != bsSolid) SetBackColor(d);
    else brush_->SetColor(d);
}

TChartBlend* TChartCanvas::BeginBlending(const TRect& r, TChartTransparency transparency)
{
    transparency_ = transparency & 127;
    return new TChartBlend(*this, r);
}

void TChartCanvas::EndBlending(TChartBlend* blend)
{
    if (!blend) return;
    std::unique_ptr<TChartBlend> owned(blend);
    owned->DoBlend(transparency_);
}

void TChartCanvas::Frame3D(TRect& r, TColor topColor, TColor bottomColor, int width)
{
    pen_->SetWidth(1);
    pen_->SetStyle(psSolid);
    --r.Right;
    --r.Bottom;
    while (width > 0) {
        --width;
        pen_->SetColor(topColor);
        const TPoint top[3] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
        Polyline(top, 3);
        pen_->SetColor(bottomColor);
        const TPoint bottom[3] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
        Polyline(bottom, 3);
        InflateRect(r, -1, -1);
    }
    ++r.Right;
    ++r.Bottom;
}

namespace {

// Logical to device offset of the canvas's mapping.
TPoint DeviceOffset(HDC dc)
{
    TPoint vo, wo;
    GetViewportOrgEx(dc, &vo);
    GetWindowOrgEx(dc, &wo);
    return {vo.X - wo.X, vo.Y - wo.Y};
}

// The clipping in force before is kept on the device context's saved states, so clips
// nest and canvases do not disturb each other.
void SelectKeptClip(TCanvas& canvas, HRGN rgn)
{
    HDC dc = canvas.Handle();
    SaveDC(dc);
    ExtSelectClipRgn(dc, rgn, RGN_AND);
    DeleteObject(rgn);
}

}  // namespace

void TChartCanvas::ClipRectangle(const TRect& r, int cornerSize)
{
    const TPoint d = DeviceOffset(GetHandle());
    PushClip(CreateRoundRectRgn(r.Left + d.X, r.Top + d.Y, r.Right + d.X, r.Bottom + d.Y, cornerSize, cornerSize));
}

void TChartCanvas::ClipEllipse(const TRect& r, bool inverted)
{
    HDC dc = GetHandle();
    if (inverted) {
        // Left as given: combined with the current clip by exclusive or, not saved.
        HRGN rgn = CreateEllipticRgn(r.Left, r.Top, r.Right, r.Bottom);
        ExtSelectClipRgn(dc, rgn, RGN_XOR);
        DeleteObject(rgn);
        return;
    }
    const TPoint d = DeviceOffset(dc);
    PushClip(CreateEllipticRgn(r.Left + d.X, r.Top + d.Y, r.Right + d.X, r.Bottom + d.Y));
}

void TChartCanvas::ClipPolygon(TPoint* pts, int count)
{
    const TPoint d = DeviceOffset(GetHandle());
    for (int i = 0; i < count; ++i) {
        pts[i].X += d.X;
        pts[i].Y += d.Y;
    }
    PushClip(CreatePolygonRgn(pts, count, ALTERNATE));
}

void ClipCanvas(TCanvas& canvas, const TRect& r)
{
    const TPoint d = DeviceOffset(canvas.Handle());
    SelectKeptClip(canvas, CreateRectRgn(r.Left + d.X, r.Top + d.Y, r.Right + d.X, r.Bottom + d.Y));
}

void UnClipCanvas(TCanvas& canvas)
{
    HDC dc = canvas.Handle();
    // Only the clip goes back; colours, modes and the pen position stay.
    const int bkMode = GetBkMode(dc);
    const COLORREF bkColor = GetBkColor(dc), textColor = platform::GetTextColor(dc);
    const UINT align = platform::GetTextAlign(dc);
    const int rop = GetROP2(dc);
    const TPoint pos = canvas.PenPos();
    if (!RestoreDC(dc, -1)) {
        SelectClipRgn(dc, nullptr);
        return;
    }
    canvas.Refresh();
    dc = canvas.Handle();
    SetBkMode(dc, bkMode);
    SetBkColor(dc, bkColor);
    platform::SetTextColor(dc, textColor);
    platform::SetTextAlign(dc, align);
    SetROP2(dc, rop);
    MoveToEx(dc, pos.X, pos.Y, nullptr);
}

void ClipEllipse(TChartCanvas& canvas, const TRect& r) { canvas.ClipEllipse(r); }
void ClipRoundRectangle(TChartCanvas& canvas, const TRect& r, int size) { canvas.ClipRectangle(r, size); }
void ClipPolygon(TChartCanvas& canvas, TPoint* pts, int count) { canvas.ClipPolygon(pts, count); }

void TChartCanvas::PushClip(HRGN rgn)
{
    if (!rgn) return;
    ++clipDepth_;
    SelectKeptClip(*canvas_, rgn);
}

bool TChartCanvas::ConvexHull(TPointArray& p)
{
    if (p.size() == 3) return true;
    if (p.size() < 3) return false;
    std::size_t pivot = 0;
    int minY = 10000000, maxX = -10000000;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i].Y < minY || (p[i].Y == minY && p[i].X > maxX)) {
            minY = p[i].Y;
            maxX = p[i].X;
            pivot = i;
        }
    }
    const TPoint pv = p[pivot];
    p[pivot] = p.back();
    p.pop_back();
    std::vector<std::pair<float, TPoint>> keyed;
    for (const TPoint& q : p) {
        const float dx = float(pv.X - q.X), dy = float(pv.Y - q.Y);
        const float d = std::sqrt(dx * dx + dy * dy);
        keyed.push_back({d == 0 ? 0.0f : dx / d, q});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = keyed[i].second;
    auto cross = [](TPoint a, TPoint b, TPoint c) { return (a.X - b.X) * (c.Y - b.Y) - (c.X - b.X) * (a.Y - b.Y); };
    int i = 1;
    while (i < int(p.size()) - 1) {
        if (i == 0 || cross(p[std::size_t(i - 1)], p[std::size_t(i)], p[std::size_t(i + 1)]) < 0) {
            ++i;
        } else {
            p.erase(p.begin() + i);
            --i;
        }
    }
    p.push_back(pv);
    return true;
}

// ---------------------------------------------------------------- TCanvas3D

void TCanvas3D::FrontPlaneBegin()
{
    if (rotationDisabled_ == 0) DisableRotation();
    ++rotationDisabled_;
}

void TCanvas3D::FrontPlaneEnd()
{
    --rotationDisabled_;
    if (rotationDisabled_ == 0) EnableRotation();
}

TRect TCanvas3D::CalcRect3D(const TRect& r, int z)
{
    const TPoint a = Calculate3DPosition(r.Left, r.Top, z), b = Calculate3DPosition(r.Right, r.Bottom, z);
    return {a.X, a.Y, b.X, b.Y};
}

TFourPoints TCanvas3D::FourPointsFromRect(const TRect& r, int z)
{
    return {Calculate3DPosition(r.Left, r.Top, z), Calculate3DPosition(r.Right, r.Top, z),
            Calculate3DPosition(r.Right, r.Bottom, z), Calculate3DPosition(r.Left, r.Bottom, z)};
}

TRect TCanvas3D::RectFromRectZ(const TRect& r, int z)
{
    const TFourPoints p = FourPointsFromRect(r, z);
    return RectFromPolygon(p.data(), 4);
}

void TCanvas3D::RotatedEllipse(int left, int top, int right, int bottom, int z, double angle)
{
    const double xc = (left + right) * 0.5, yc = (top + bottom) * 0.5, rx = xc - left, ry = yc - top;
    const double a = angle * ChartPiStep, ca = std::cos(a), sa = std::sin(a);
    TPoint pts[64];
    for (int i = 0; i < 63; ++i) {
        const double t = i * 2 * M_PI / 63, u = std::sin(t) * rx, v = std::cos(t) * ry;
        pts[i] = {int(std::nearbyint(ca * u + sa * v + xc)), int(std::nearbyint(-sa * u + ca * v + yc))};
    }
    pts[63] = pts[0];
    if (Brush().Style() != bsClear) {
        const TPenStyle old = Pen().Style();
        Pen().SetStyle(psClear);
        const TPoint c{int(std::nearbyint(xc)), int(std::nearbyint(yc))};
        for (int i = 0; i < 63; ++i) {
            const TPoint tri[3] = {c, pts[i], pts[i + 1]};
            PolygonWithZ(tri, 3, z);
        }
        Pen().SetStyle(old);
    }
    if (Pen().Style() != psClear) Polyline(pts, 64, z);
}

void TCanvas3D::StretchDraw(const TRect& r, TGraphic* g, int z)
{
    if (!g || g->Empty() || g->Width() <= 0 || g->Height() <= 0) return;
    Pen().SetStyle(psClear);
    TBitmap* bmp = dynamic_cast<TBitmap*>(g);
    std::unique_ptr<TBitmap> temp;
    if (!bmp) {
        temp = std::make_unique<TBitmap>(g->Width(), g->Height());
        temp->Canvas()->Draw(0, 0, g);
        bmp = temp.get();
    }
    const double sy = double(r.Bottom - r.Top) / bmp->Height(), sx = double(r.Right - r.Left) / bmp->Width();
    int y0 = r.Top;
    for (int y = 0; y < bmp->Height(); ++y) {
        const int y1 = int(std::nearbyint((y + 1) * sy)) + r.Top;
        const std::uint32_t* row = bmp->ScanLine(y);
        int x0 = r.Left;
        for (int x = 0; x < bmp->Width(); ++x) {
            const int x1 = int(std::nearbyint((x + 1) * sx)) + r.Left;
            const std::uint32_t px = row[x];
            Brush().SetColor(TColor(RGB(int((px >> 16) & 255), int((px >> 8) & 255), int(px & 255))));
            const TPoint q[4] = {Calculate3DPosition(x0, y0, z), Calculate3DPosition(x1, y0, z),
                                 Calculate3DPosition(x1, y1, z), Calculate3DPosition(x0, y1, z)};
            Polygon(q, 4);
            x0 = x1;
        }
        y0 = y1;
    }
}

void TCanvas3D::CalcPieAngles(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, double& startAngle,
                              double& endAngle)
{
    const int xc = x1 + (x2 - x1) / 2, yc = y1 + (y2 - y1) / 2;
    auto angle = [&](int x, int y) {
        double a = std::atan2(double(yc - y), double(x - xc));
        if (a < 0) a += 2 * M_PI;
        return a * 180.0 / M_PI;
    };
    startAngle = angle(x3, y3);
    endAngle = angle(x4, y4);
    if (endAngle == 0) endAngle = 361;
}

}  // namespace chart

// Device contexts on QImage with the platform's pixel rules: lines, shapes, state, regions, clipping, block transfers.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdlib>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/graphics/Drawing.h"
#include "platform/Private.h"

namespace platform {

using namespace draw;

// ---------------------------------------------------------------- device context

QRect DeviceContext::SurfaceRect() const
{
    if (!image || image->isNull()) return recorder ? recordBounds : QRect();
    QRect r = image->rect();
    if (deviceBounds.isValid()) r &= deviceBounds;
    return r;
}

QRegion DeviceContext::EffectiveClip() const
{
    QRegion r(SurfaceRect());
    if (systemClip) r &= *systemClip;
    if (clip) r &= *clip;
    return r;
}

namespace {
int MapCoord(int v, int org, int ext, int vOrg, int vExt)
{
    return vOrg + int(std::llround(double(v - org) * vExt / ext));
}
}  // namespace

QPoint DeviceContext::ToDevice(int x, int y) const
{
    if (!Scaled()) return QPoint(x, y) + Offset();
    return {MapCoord(x, windowOrg.x(), windowExt.x(), viewportOrg.x(), viewportExt.x()),
            MapCoord(y, windowOrg.y(), windowExt.y(), viewportOrg.y(), viewportExt.y())};
}

QPoint DeviceContext::ToLogical(int x, int y) const
{
    if (!Scaled()) return QPoint(x, y) - Offset();
    return {MapCoord(x, viewportOrg.x(), viewportExt.x(), windowOrg.x(), windowExt.x()),
            MapCoord(y, viewportOrg.y(), viewportExt.y(), windowOrg.y(), windowExt.y())};
}

QRect DeviceContext::ToDeviceRect(const QRect& r) const
{
    if (!Scaled()) return r.translated(Offset());
    const QPoint a = ToDevice(r.x(), r.y()), b = ToDevice(r.x() + r.width(), r.y() + r.height());
    return QRect(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
}

QRect DeviceContext::ToLogicalRect(const QRect& r) const
{
    if (!Scaled()) return r.translated(-Offset());
    const QPoint a = ToLogical(r.x(), r.y()), b = ToLogical(r.x() + r.width(), r.y() + r.height());
    return QRect(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
}

bool DeviceContext::BeginDevice(QPainter& p)
{
    if (!image || image->isNull()) return false;
    QRegion c = EffectiveClip();
    if (c.isEmpty()) return false;
    p.begin(image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setClipRegion(c);
    return true;
}

bool DeviceContext::Begin(QPainter& p)
{
    if (!BeginDevice(p)) return false;
    if (Scaled()) {
        p.translate(viewportOrg);
        p.scale(ScaleX(), ScaleY());
        p.translate(-windowOrg);
    } else {
        p.translate(Offset());
    }
    return true;
}

void DeviceContext::Drawn(const QRect& deviceRect)
{
    // Under a scaling mapping the callers' device rectangles may be off: show it all.
    if (onDraw) onDraw(Scaled() ? SurfaceRect() : deviceRect & SurfaceRect());
}

namespace draw {

DeviceSpace::DeviceSpace(DeviceContext& d) : dc(d), active(d.Scaled())
{
    if (!active) return;
    saved = d;
    sx = std::abs(d.ScaleX());
    sy = std::abs(d.ScaleY());
    d.mapMode = MM_TEXT;
    d.windowOrg = d.viewportOrg = QPoint();
    d.windowExt = d.viewportExt = QPoint(1, 1);
    if (d.penWidth > 1) d.penWidth = std::max(1, int(std::lround(d.penWidth * (sx + sy) / 2)));
    if (d.font.pixelSize() > 0) d.font.setPixelSize(std::max(1, int(std::lround(d.font.pixelSize() * sy))));
    else if (d.font.pointSizeF() > 0) d.font.setPointSizeF(std::max(1.0, d.font.pointSizeF() * sy));
    d.charExtra = int(std::lround(d.charExtra * sx));
}

DeviceSpace::~DeviceSpace()
{
    if (!active) return;
    // What the call changed besides the mapping (the clip, the path) stays.
    std::optional<QRegion> clip = dc.clip;
    static_cast<DCState&>(dc) = saved;
    dc.clip = clip;
}

int DeviceSpace::LogicalX(int px) const { return int(std::lround(px / sx)); }
int DeviceSpace::LogicalY(int px) const { return int(std::lround(px / sy)); }

}  // namespace draw

QPainter::CompositionMode Rop2Mode(int rop2, QColor& color, bool& skip)
{
    skip = false;
    switch (rop2) {
    case R2_BLACK: color = Qt::black; return QPainter::CompositionMode_Source;
    case R2_WHITE: color = Qt::white; return QPainter::CompositionMode_Source;
    case R2_NOP: skip = true; return QPainter::CompositionMode_Source;
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
    case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
    case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_Source;
    }
}

namespace {

// Cosmetic dash patterns in pixels: on, off, on, off...
const std::vector<int>& DashPattern(TPenStyle s)
{
    static const std::vector<int> solid, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3};
    switch (s) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return solid;
    }
}

struct DashState {
    const std::vector<int>* pattern;
    int index = 0, left = 0;
    explicit DashState(TPenStyle s) : pattern(&DashPattern(s)) { left = pattern->empty() ? 0 : (*pattern)[0]; }
    bool Next()
    {
        if (pattern->empty()) return true;
        bool on = (index % 2) == 0;
        if (--left <= 0) {
            index = (index + 1) % int(pattern->size());
            left = (*pattern)[std::size_t(index)];
        }
        return on;
    }
    // Moves the pattern on by n pixels.
    void Skip(long long n)
    {
        if (pattern->empty() || n <= 0) return;
        long long period = 0;
        for (int v : *pattern) period += v;
        for (n %= period; n > 0; --n) Next();
    }
};

// Logical rectangle outside of which no pixel of this device context can show.
QRect VisibleBounds(const DeviceContext& dc)
{
    return dc.EffectiveClip().boundingRect().translated(-dc.Offset());
}

// The parameter range [t0, t1] of the segment a-b that lies in r (Liang-Barsky);
// false when it misses r.
bool ClipRange(double ax, double ay, double bx, double by, const QRect& r, double& t0, double& t1)
{
    const double dx = bx - ax, dy = by - ay;
    t0 = 0;
    t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax - r.left(), r.right() - ax, ay - r.top(), r.bottom() - ay};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

__int128 FloorDiv(__int128 a, __int128 b)
{
    __int128 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Pixels of a line from a to b, the end point left out (logical coordinates); only
// those inside keep are collected. On a line far longer than keep the walk starts
// and stops near keep, at the exact state the full walk would have there, so a
// point millions of pixels away costs neither time nor memory.
void LinePixels(QPoint a, QPoint b, DashState& dash, QPolygon& out, const QRect& keep)
{
    const long long x0 = a.x(), y0 = a.y();
    const long long dx = std::llabs(b.x() - x0), dy = -std::llabs(b.y() - y0);
    const long long sx = x0 < b.x() ? 1 : -1, sy = y0 < b.y() ? 1 : -1;
    const long long steps = std::max(dx, -dy);  // one major-axis step per pixel
    long long kBegin = 0, kEnd = steps;
    constexpr int kMargin = 4;
    const QRect wide = keep.adjusted(-kMargin, -kMargin, kMargin, kMargin);
    if (steps > 4LL * (wide.width() + wide.height()) + 1024) {
        double t0, t1;
        if (!ClipRange(double(x0), double(y0), double(b.x()), double(b.y()), wide, t0, t1)) return;
        kBegin = std::max(0LL, static_cast<long long>(std::floor(t0 * double(steps))) - 2);
        kEnd = std::min(steps, static_cast<long long>(std::ceil(t1 * double(steps))) + 2);
    }
    // Closed form of the walk's state after kBegin steps: the error term stays in a
    // window one major delta wide, which fixes how many minor steps were taken.
    const __int128 err0 = dx + dy;
    long long x, y;
    __int128 err;
    if (dx >= -dy) {
        const __int128 c = err0 + __int128(kBegin) * dy;
        const __int128 m = dx == 0 ? 0 : FloorDiv(3 * __int128(dx) + 2 * __int128(dy) - 2 * c, 2 * __int128(dx));
        x = x0 + kBegin * sx;
        y = y0 + static_cast<long long>(m) * sy;
        err = c + m * dx;
    } else {
        const __int128 c = err0 + __int128(kBegin) * dx;
        const __int128 d = -dy;
        const __int128 n = FloorDiv(2 * c + d - 2 * __int128(dx), 2 * d) + 1;
        x = x0 + static_cast<long long>(n) * sx;
        y = y0 + kBegin * sy;
        err = c + n * dy;
    }
    dash.Skip(kBegin);
    // Along the walk the error term stays within the two deltas, which plain 64-bit
    // arithmetic holds.
    long long e = static_cast<long long>(err);
    const qsizetype room = qsizetype(kEnd - kBegin);
    if (out.capacity() - out.size() < room) out.reserve(std::max(out.size() + room, 2 * out.capacity()));
    const bool solid = dash.pattern->empty();
    const long long left = keep.left(), right = keep.right(), top = keep.top(), bottom = keep.bottom();
    for (long long k = kBegin; k < kEnd; ++k) {
        if ((solid || dash.Next()) && x >= left && x <= right && y >= top && y <= bottom)
            out.append(QPoint(int(x), int(y)));
        const long long e2 = 2 * e;
        if (e2 >= dy) { e += dy; x += sx; }
        if (e2 <= dx) { e += dx; y += sy; }
    }
}

std::uint32_t Mix(int rop2, std::uint32_t p, std::uint32_t d)
{
    std::uint32_t r;
    switch (rop2) {
    case R2_BLACK: r = 0; break;
    case R2_NOTMERGEPEN: r = ~(p | d); break;
    case R2_MASKNOTPEN: r = ~p & d; break;
    case R2_NOTCOPYPEN: r = ~p; break;
    case R2_MASKPENNOT: r = p & ~d; break;
    case R2_NOT: r = ~d; break;
    case R2_XORPEN: r = p ^ d; break;
    case R2_NOTMASKPEN: r = ~(p & d); break;
    case R2_MASKPEN: r = p & d; break;
    case R2_NOTXORPEN: r = ~(p ^ d); break;
    case R2_NOP: r = d; break;
    case R2_MERGENOTPEN: r = ~p | d; break;
    case R2_MERGEPENNOT: r = p | ~d; break;
    case R2_MERGEPEN: r = p | d; break;
    case R2_WHITE: r = 0xFFFFFF; break;
    default: r = p; break;
    }
    return r | 0xFF000000u;
}

// Plots logical pixels with the pen colour and mix mode.
void PlotPixels(DeviceContext& dc, const QPolygon& pts)
{
    if (pts.isEmpty()) return;
    if (dc.image && dc.image->format() == QImage::Format_RGB32) {
        // Straight into the pixels: one call per line would otherwise cost a painter.
        const QRegion clip = dc.EffectiveClip();
        if (clip.isEmpty()) return;
        const bool simple = clip.rectCount() == 1;
        const QRect box = clip.boundingRect();
        const QPoint off = dc.Offset();
        const std::uint32_t pen = ToQColor(dc.penColor).rgb() & 0xFFFFFF;
        const int rop = dc.rop2;
        uchar* bits = dc.image->bits();
        const qsizetype stride = dc.image->bytesPerLine();
        auto in = [](const QRect& r, const QPoint& d) {
            return d.x() >= r.left() && d.x() <= r.right() && d.y() >= r.top() && d.y() <= r.bottom();
        };
        // A line's pixels mostly fall in the clip rectangle of the pixel before.
        const QRect* hit = clip.begin();
        auto inside = [&](const QPoint& d) {
            if (!in(box, d)) return false;
            if (simple || in(*hit, d)) return true;
            for (const QRect& r : clip)
                if (in(r, d)) {
                    hit = &r;
                    return true;
                }
            return false;
        };
        int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
        for (const QPoint& lp : pts) {
            const QPoint d = lp + off;
            if (!inside(d)) continue;
            auto* px = reinterpret_cast<std::uint32_t*>(bits + d.y() * stride) + d.x();
            *px = Mix(rop, pen, *px & 0xFFFFFF);
            x0 = std::min(x0, d.x());
            y0 = std::min(y0, d.y());
            x1 = std::max(x1, d.x());
            y1 = std::max(y1, d.y());
        }
        if (x0 <= x1) dc.Drawn(QRect(QPoint(x0, y0), QPoint(x1, y1)));
        return;
    }
    QColor color = ToQColor(dc.penColor);
    bool skip;
    QPainter::CompositionMode mode = Rop2Mode(dc.rop2, color, skip);
    if (skip) return;
    QPainter p;
    if (!dc.Begin(p)) return;
    p.setCompositionMode(mode);
    p.setPen(QPen(color, 0));
    p.drawPoints(pts);
    p.end();
    dc.Drawn(pts.boundingRect().translated(dc.Offset()).adjusted(-1, -1, 1, 1));
}

}  // namespace

// ---------------------------------------------------------------- drawing calls

namespace {
TPoint TP(QPoint p) { return {p.x(), p.y()}; }
}  // namespace

namespace draw {
std::vector<TPoint> DevicePoints(const DeviceContext& dc, const TPoint* pts, int count)
{
    std::vector<TPoint> out(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) out[std::size_t(i)] = TP(dc.ToDevice(pts[i].X, pts[i].Y));
    return out;
}
TRect DeviceBox(const DeviceContext& dc, int l, int t, int r, int b)
{
    Normalize(l, r);
    Normalize(t, b);
    return FromQRect(dc.ToDeviceRect(QRect(l, t, r - l, b - t)));
}
}  // namespace draw

bool MoveToEx(HDC dc, int x, int y, TPoint* old)
{
    if (!dc) return false;
    if (old) *old = {dc->penPos.x(), dc->penPos.y()};
    if (InPath(*dc)) {
        dc->penPos = QPoint(x, y);
        dc->path.moveTo(x, y);
        return true;
    }
    if (dc->recorder) dc->recorder->MoveTo(*dc, {x, y});
    dc->penPos = QPoint(x, y);
    return true;
}

bool LineTo(HDC dc, int x, int y)
{
    if (!dc) return false;
    QPoint a = dc->penPos, b(x, y);
    if (InPath(*dc)) {
        PathLine(*dc, a, b);
        dc->penPos = b;
        return true;
    }
    if (dc->Scaled()) {
        const QPoint da = dc->ToDevice(a.x(), a.y()), db = dc->ToDevice(x, y);
        {
            DeviceSpace ds(*dc);
            dc->penPos = da;
            LineTo(dc, db.x(), db.y());
        }
        dc->penPos = b;
        return true;
    }
    if (dc->recorder) dc->recorder->LineTo(*dc, TP(a), TP(b));
    dc->penPos = b;
    if (!HasPen(*dc)) return true;
    if (ThinPen(*dc)) {
        DashState dash(dc->penStyle);
        QPolygon pts;
        LinePixels(a, b, dash, pts, VisibleBounds(*dc));
        PlotPixels(*dc, pts);
        return true;
    }
    QColor color = ToQColor(dc->penColor);
    bool skip;
    auto mode = Rop2Mode(dc->rop2, color, skip);
    QPainter p;
    if (!dc->Begin(p)) return true;
    p.setCompositionMode(mode);
    p.setPen(WidePen(*dc, color));
    p.drawLine(a, b);
    p.end();
    dc->Drawn(QRect(a, b).normalized().translated(dc->Offset()).adjusted(-dc->penWidth, -dc->penWidth,
                                                                          dc->penWidth, dc->penWidth));
    return true;
}

bool Polyline(HDC dc, const TPoint* pts, int count)
{
    if (!dc || !pts || count < 2) return false;
    if (InPath(*dc)) {
        PathPolygon(*dc, pts, count, false);
        return true;
    }
    if (dc->Scaled()) {
        const std::vector<TPoint> d = DevicePoints(*dc, pts, count);
        DeviceSpace ds(*dc);
        return Polyline(dc, d.data(), count);
    }
    if (dc->recorder) dc->recorder->Polyline(*dc, pts, count);
    if (!HasPen(*dc)) return true;
    if (ThinPen(*dc)) {
        DashState dash(dc->penStyle);
        QPolygon out;
        const QRect keep = VisibleBounds(*dc);
        for (int i = 1; i < count; ++i)
            LinePixels(QPoint(pts[i - 1].X, pts[i - 1].Y), QPoint(pts[i].X, pts[i].Y), dash, out, keep);
        PlotPixels(*dc, out);
        return true;
    }
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << QPoint(pts[i].X, pts[i].Y);
    QColor color = ToQColor(dc->penColor);
    bool skip;
    auto mode = Rop2Mode(dc->rop2, color, skip);
    QPainter p;
    if (!dc->Begin(p)) return true;
    p.setCompositionMode(mode);
    p.setPen(WidePen(*dc, color));
    p.drawPolyline(poly);
    p.end();
    dc->Drawn(poly.boundingRect().translated(dc->Offset()).adjusted(-dc->penWidth, -dc->penWidth, dc->penWidth,
                                                                     dc->penWidth));
    return true;
}

namespace {

// The common case of a solid one-pixel pen, a solid or no brush, the copy mix and a
// rectangular clip on a 32-bit surface, written straight into the pixels: the same
// pixels as the general path, without a painter per rectangle. False: not this case.
bool SolidRectangle(DeviceContext& dc, int l, int t, int r, int b)
{
    if (!dc.image || dc.image->format() != QImage::Format_RGB32 || dc.penStyle != psSolid || dc.rop2 != R2_COPYPEN)
        return false;
    const bool fill = dc.brushStyle == bsSolid;
    if (!fill && dc.brushStyle != bsClear) return false;
    if (fill && !dc.brushPattern.isNull()) return false;
    if (r - l < 1 || b - t < 1) return false;
    const QRegion clip = dc.EffectiveClip();
    if (clip.rectCount() > 1) return false;
    const QRect box = clip.boundingRect();
    const QPoint off = dc.Offset();
    const QRect outer = QRect(QPoint(l, t), QPoint(r - 1, b - 1)).translated(off);
    const QRect shown = outer & box;
    if (shown.isEmpty()) return true;
    const std::uint32_t pen = ToQColor(dc.penColor).rgb(), brush = ToQColor(dc.brushColor).rgb();
    uchar* bits = dc.image->bits();
    const qsizetype stride = dc.image->bytesPerLine();
    for (int y = shown.top(); y <= shown.bottom(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(bits + y * stride);
        const bool edgeRow = y == outer.top() || y == outer.bottom();
        if (edgeRow || fill) {
            const std::uint32_t c = edgeRow ? pen : brush;
            for (int x = shown.left(); x <= shown.right(); ++x) row[x] = c;
        }
        if (!edgeRow) {
            if (box.contains(outer.left(), y)) row[outer.left()] = pen;
            if (box.contains(outer.right(), y)) row[outer.right()] = pen;
        }
    }
    dc.Drawn(shown);
    return true;
}

}  // namespace

bool Rectangle(HDC dc, int l, int t, int r, int b)
{
    if (!dc) return false;
    if (InPath(*dc)) {
        Normalize(l, r);
        Normalize(t, b);
        if (r - l > 1 && b - t > 1) dc->path.addRect(QRectF(l, t, r - l - 1, b - t - 1));
        return true;
    }
    if (dc->Scaled()) {
        const TRect d = DeviceBox(*dc, l, t, r, b);
        DeviceSpace ds(*dc);
        return Rectangle(dc, d.Left, d.Top, d.Right, d.Bottom);
    }
    if (dc->recorder) dc->recorder->Rectangle(*dc, {l, t, r, b});
    Normalize(l, r);
    Normalize(t, b);
    if (!HasPen(*dc)) {
        // Without a pen the filled area is one pixel smaller each way.
        QRect fill(l, t, r - l - 1, b - t - 1);
        if (fill.isValid()) FillShape(*dc, fill, [&](QPainter& p) { p.drawRect(fill); }, true);
        return true;
    }
    if (ThinPen(*dc) && SolidRectangle(*dc, l, t, r, b)) return true;
    if (ThinPen(*dc)) {
        QRect inner(l + 1, t + 1, r - l - 2, b - t - 2);
        if (inner.isValid()) FillShape(*dc, inner, [&](QPainter& p) { p.drawRect(inner); }, true);
        if (r - l < 1 || b - t < 1) return true;
        DashState dash(dc->penStyle);
        QPolygon out;
        const QPoint c[5] = {{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}, {l, t}};
        const QRect keep = VisibleBounds(*dc);
        for (int i = 1; i < 5; ++i) LinePixels(c[i - 1], c[i], dash, out, keep);
        if (out.isEmpty()) out << QPoint(l, t);
        // A one-pixel-wide rectangle walks its pixels twice; plot each once.
        std::vector<QPoint> v(out.begin(), out.end());
        std::sort(v.begin(), v.end(), [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
        v.erase(std::unique(v.begin(), v.end()), v.end());
        PlotPixels(*dc, QPolygon(QList<QPoint>(v.begin(), v.end())));
        return true;
    }
    QRect box(l, t, r - l - 1, b - t - 1);
    QColor color = ToQColor(dc->penColor);
    bool skip;
    auto mode = Rop2Mode(dc->rop2, color, skip);
    FillShape(*dc, box, [&](QPainter& p) { p.drawRect(box); }, true);
    if (skip) return true;
    QPainter p;
    if (!dc->Begin(p)) return true;
    p.setCompositionMode(mode);
    QPen pen = WidePen(*dc, color);
    if (!dc->penGeometric) pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
    p.end();
    dc->Drawn(box.translated(dc->Offset()).adjusted(-dc->penWidth, -dc->penWidth, dc->penWidth, dc->penWidth));
    return true;
}

bool Ellipse(HDC dc, int l, int t, int r, int b)
{
    if (!dc) return false;
    if (InPath(*dc)) {
        Normalize(l, r);
        Normalize(t, b);
        if (r - l > 1 && b - t > 1) dc->path.addEllipse(QRectF(l, t, r - l - 1, b - t - 1));
        return true;
    }
    if (dc->Scaled()) {
        const TRect d = DeviceBox(*dc, l, t, r, b);
        DeviceSpace ds(*dc);
        return Ellipse(dc, d.Left, d.Top, d.Right, d.Bottom);
    }
    if (dc->recorder) dc->recorder->Ellipse(*dc, {l, t, r, b});
    Normalize(l, r);
    Normalize(t, b);
    QRect box(l, t, r - l - 1, b - t - 1);
    if (!box.isValid()) return true;
    FilledOutline(*dc, box, [&](QPainter& p) { p.drawEllipse(box); });
    return true;
}

bool draw::ArcGeometry(TRect b, TPoint from, TPoint to, QRect& shape, int& angle16, int& span16)
{
    Normalize(b.Left, b.Right);
    Normalize(b.Top, b.Bottom);
    shape = QRect(b.Left, b.Top, b.Right - b.Left - 1, b.Bottom - b.Top - 1);
    if (!shape.isValid()) return false;
    const double cx = (b.Left + b.Right) / 2.0, cy = (b.Top + b.Bottom) / 2.0;
    const double rx = std::max(1.0, (b.Right - b.Left) / 2.0), ry = std::max(1.0, (b.Bottom - b.Top) / 2.0);
    // Angles on the ellipse, counter-clockwise on the screen.
    auto angle = [&](TPoint p) { return std::atan2(-(p.Y - cy) / ry, (p.X - cx) / rx) * 180.0 / M_PI; };
    const double a0 = angle(from), a1 = angle(to);
    double span = a1 - a0;
    if (span <= 0) span += 360.0;
    angle16 = int(std::lround(a0 * 16));
    span16 = int(std::lround(span * 16));
    return true;
}

namespace {

bool ArcShape(HDC dc, int kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (!dc) return false;
    if (InPath(*dc)) {
        QRect box;
        int start = 0, len = 0;
        if (!ArcGeometry({x1, y1, x2, y2}, {x3, y3}, {x4, y4}, box, start, len)) return true;
        QPainterPath& path = dc->path;
        const QRectF b(box);
        if (kind == 1) {
            path.moveTo(b.center());
            path.arcTo(b, start / 16.0, len / 16.0);
            path.closeSubpath();
        } else {
            path.arcMoveTo(b, start / 16.0);
            path.arcTo(b, start / 16.0, len / 16.0);
            if (kind == 2) path.closeSubpath();
        }
        return true;
    }
    if (dc->Scaled()) {
        // Counter-clockwise in logical space is clockwise on the device when one axis is mirrored.
        const TRect d = DeviceBox(*dc, x1, y1, x2, y2);
        QPoint s = dc->ToDevice(x3, y3), e = dc->ToDevice(x4, y4);
        if ((dc->ScaleX() < 0) != (dc->ScaleY() < 0)) std::swap(s, e);
        DeviceSpace ds(*dc);
        return ArcShape(dc, kind, d.Left, d.Top, d.Right, d.Bottom, s.x(), s.y(), e.x(), e.y());
    }
    if (dc->recorder) dc->recorder->ArcShape(*dc, kind, {x1, y1, x2, y2}, {x3, y3}, {x4, y4});
    QRect box;
    int start = 0, len = 0;
    if (!ArcGeometry({x1, y1, x2, y2}, {x3, y3}, {x4, y4}, box, start, len)) return true;
    if (kind == 0) {
        if (!HasPen(*dc)) return true;
        QColor color = ToQColor(dc->penColor);
        bool skip;
        auto mode = Rop2Mode(dc->rop2, color, skip);
        if (skip) return true;
        QPainter p;
        if (!dc->Begin(p)) return true;
        p.setCompositionMode(mode);
        p.setPen(ThinPen(*dc) ? QPen(color, 0) : WidePen(*dc, color));
        p.drawArc(box, start, len);
        p.end();
        dc->Drawn(box.translated(dc->Offset()).adjusted(-dc->penWidth, -dc->penWidth, dc->penWidth, dc->penWidth));
        return true;
    }
    FilledOutline(*dc, box, [&](QPainter& p) {
        if (kind == 1) p.drawPie(box, start, len);
        else p.drawChord(box, start, len);
    });
    return true;
}

}  // namespace

bool Arc(HDC dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ArcShape(dc, 0, x1, y1, x2, y2, x3, y3, x4, y4);
}
bool Pie(HDC dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ArcShape(dc, 1, x1, y1, x2, y2, x3, y3, x4, y4);
}
bool Chord(HDC dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ArcShape(dc, 2, x1, y1, x2, y2, x3, y3, x4, y4);
}

bool Polygon(HDC dc, const TPoint* pts, int count)
{
    if (!dc || !pts || count < 2) return false;
    if (InPath(*dc)) {
        PathPolygon(*dc, pts, count, true);
        return true;
    }
    if (dc->Scaled()) {
        const std::vector<TPoint> d = DevicePoints(*dc, pts, count);
        DeviceSpace ds(*dc);
        return Polygon(dc, d.data(), count);
    }
    if (dc->recorder) dc->recorder->Polygon(*dc, pts, count);
    Mute mute(*dc);
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << QPoint(pts[i].X, pts[i].Y);
    QRect bounds = poly.boundingRect();
    const Qt::FillRule rule = dc->polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
    FillShape(*dc, bounds, [&](QPainter& p) { p.drawPolygon(poly, rule); }, true);
    if (!HasPen(*dc)) return true;
    if (!ThinPen(*dc)) {
        // A wide pen joins the last side to the first.
        QColor color = ToQColor(dc->penColor);
        bool skip;
        auto mode = Rop2Mode(dc->rop2, color, skip);
        if (skip) return true;
        QPainter p;
        if (!dc->Begin(p)) return true;
        p.setCompositionMode(mode);
        p.setPen(WidePen(*dc, color));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(poly);
        p.end();
        dc->Drawn(bounds.translated(dc->Offset()).adjusted(-dc->penWidth, -dc->penWidth, dc->penWidth, dc->penWidth));
        return true;
    }
    std::vector<TPoint> closed(pts, pts + count);
    closed.push_back(pts[0]);
    return Polyline(dc, closed.data(), int(closed.size()));
}

int FillRect(HDC dc, const TRect& r, COLORREF color)
{
    if (!dc) return 0;
    if (dc->Scaled()) {
        // A mirrored axis makes a rectangle that is upside down in logical units a normal one.
        const TRect d = FromQRect(dc->ToDeviceRect(ToQRect(r)).normalized());
        if (IsRectEmpty(d)) return 0;
        DeviceSpace ds(*dc);
        return FillRect(dc, d, color);
    }
    if (IsRectEmpty(r)) return 0;
    if (dc->recorder) dc->recorder->FillRect(*dc, r, color & 0xFFFFFF, false);
    if (const int filled = FillSolid(*dc, ToQRect(r), color); filled >= 0) {
        if (filled) dc->Drawn(ToQRect(r).translated(dc->Offset()));
        return 1;
    }
    QPainter p;
    if (!dc->Begin(p)) return 1;
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(ToQRect(r), ToQColor(color));
    p.end();
    dc->Drawn(ToQRect(r).translated(dc->Offset()));
    return 1;
}

bool DrawFocusRect(HDC dc, const TRect& r)
{
    if (!dc || IsRectEmpty(r)) return false;
    if (dc->Scaled()) {
        const TRect d = DeviceBox(*dc, r.Left, r.Top, r.Right, r.Bottom);
        DeviceSpace ds(*dc);
        return DrawFocusRect(dc, d);
    }
    if (dc->recorder) dc->recorder->FocusRect(*dc, r);
    // Every other pixel of the border is inverted, so a second call undoes the first.
    QPolygon pts;
    const QPoint o = dc->Offset();
    auto add = [&](int x, int y) {
        if (((x + o.x() + y + o.y()) & 1) == 0) pts << QPoint(x, y);
    };
    for (int x = r.Left; x < r.Right; ++x) {
        add(x, r.Top);
        if (r.Bottom - 1 > r.Top) add(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        add(r.Left, y);
        if (r.Right - 1 > r.Left) add(r.Right - 1, y);
    }
    int saved = dc->rop2;
    dc->rop2 = R2_NOT;
    PlotPixels(*dc, pts);
    dc->rop2 = saved;
    return true;
}

COLORREF GetPixel(HDC dc, int x, int y)
{
    if (!dc || !dc->image) return CLR_INVALID;
    QPoint d = dc->ToDevice(x, y);
    if (!dc->SurfaceRect().contains(d)) return CLR_INVALID;
    return FromQRgb(dc->image->pixel(d));
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF c)
{
    if (dc && dc->recorder) dc->recorder->Pixel(*dc, {x, y}, c & 0xFFFFFF);
    if (!dc || !dc->image) return CLR_INVALID;
    QPoint d = dc->ToDevice(x, y);
    if (!dc->EffectiveClip().contains(d)) return CLR_INVALID;
    dc->image->setPixel(d, ToQColor(c).rgb());
    dc->Drawn(QRect(d, QSize(1, 1)));
    return c;
}

bool ExtFloodFill(HDC dc, int x, int y, COLORREF color, UINT type)
{
    if (!dc || !dc->image) return false;
    const QPoint start = dc->ToDevice(x, y);
    const QRegion clip = dc->EffectiveClip();
    if (!clip.contains(start)) return false;
    QImage& img = *dc->image;
    const QRgb key = ToQColor(color).rgb() & 0xFFFFFF;
    const QRgb fill = ToQColor(dc->brushColor).rgb();
    auto inside = [&](const QPoint& p) {
        const bool same = (img.pixel(p) & 0xFFFFFF) == key;
        return type == FLOODFILLSURFACE ? same : !same;
    };
    if (!inside(start)) return false;
    const QRect bounds = clip.boundingRect() & dc->SurfaceRect();
    std::vector<bool> seen(std::size_t(bounds.width()) * std::size_t(bounds.height()), false);
    auto index = [&](const QPoint& p) { return std::size_t(p.y() - bounds.top()) * std::size_t(bounds.width()) + std::size_t(p.x() - bounds.left()); };
    std::vector<QPoint> stack{start};
    seen[index(start)] = true;
    QRect drawn;
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        img.setPixel(p, fill);
        drawn |= QRect(p, QSize(1, 1));
        for (const QPoint n : {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)}) {
            if (!bounds.contains(n) || seen[index(n)]) continue;
            seen[index(n)] = true;
            if (clip.contains(n) && inside(n)) stack.push_back(n);
        }
    }
    dc->Drawn(drawn);
    return true;
}

// ---------------------------------------------------------------- state

namespace {
// Sets one field of the DC's state and gives its old value; none without a DC.
template <class T>
T Exchange(HDC dc, T DCState::*field, std::type_identity_t<T> value, std::type_identity_t<T> none)
{
    if (!dc) return none;
    return std::exchange(dc->*field, value);
}
bool SetOrigin(HDC dc, QPoint DCState::*field, int x, int y, TPoint* old)
{
    if (!dc) return false;
    if (old) *old = {(dc->*field).x(), (dc->*field).y()};
    dc->*field = QPoint(x, y);
    return true;
}
bool GetOrigin(HDC dc, QPoint DCState::*field, TPoint* p)
{
    if (!dc || !p) return false;
    *p = {(dc->*field).x(), (dc->*field).y()};
    return true;
}
}  // namespace

int SetBkMode(HDC dc, int mode) { return Exchange(dc, &DCState::bkMode, mode, 0); }
int GetBkMode(HDC dc) { return dc ? dc->bkMode : 0; }
COLORREF SetBkColor(HDC dc, COLORREF c) { return Exchange(dc, &DCState::bkColor, c & 0xFFFFFF, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return dc ? dc->bkColor : CLR_INVALID; }
COLORREF SetTextColor(HDC dc, COLORREF c) { return Exchange(dc, &DCState::textColor, c & 0xFFFFFF, CLR_INVALID); }
COLORREF GetTextColor(HDC dc) { return dc ? dc->textColor : CLR_INVALID; }
UINT SetTextAlign(HDC dc, UINT align) { return Exchange(dc, &DCState::textAlign, align, 0); }
UINT GetTextAlign(HDC dc) { return dc ? dc->textAlign : 0; }
int SetTextCharacterExtra(HDC dc, int extra) { return Exchange(dc, &DCState::charExtra, extra, 0); }
int SetROP2(HDC dc, int rop) { return Exchange(dc, &DCState::rop2, rop, 0); }
int GetROP2(HDC dc) { return dc ? dc->rop2 : 0; }

namespace {
// A metric or English mode's extents: `units` logical units per inch, y upwards.
void FixedExtents(DeviceContext& dc, int units)
{
    dc.windowExt = QPoint(units, units);
    dc.viewportExt = QPoint(GetDeviceCaps(&dc, LOGPIXELSX), -GetDeviceCaps(&dc, LOGPIXELSY));
}
// MM_ISOTROPIC: the viewport extent gives way so that a unit is as long on both axes.
void KeepIsotropic(DeviceContext& dc)
{
    if (dc.mapMode != MM_ISOTROPIC) return;
    const double sx = std::abs(dc.ScaleX()), sy = std::abs(dc.ScaleY());
    if (sx == sy) return;
    auto sign = [](int v) { return v < 0 ? -1 : 1; };
    if (sx < sy)
        dc.viewportExt.setY(sign(dc.viewportExt.y()) * int(std::lround(sx * std::abs(dc.windowExt.y()))));
    else
        dc.viewportExt.setX(sign(dc.viewportExt.x()) * int(std::lround(sy * std::abs(dc.windowExt.x()))));
    if (dc.viewportExt.x() == 0) dc.viewportExt.setX(1);
    if (dc.viewportExt.y() == 0) dc.viewportExt.setY(1);
}
bool SetExtent(HDC dc, QPoint DCState::*field, int x, int y, TSize* old)
{
    if (!dc) return false;
    if (old) *old = {(dc->*field).x(), (dc->*field).y()};
    if (dc->mapMode != MM_ISOTROPIC && dc->mapMode != MM_ANISOTROPIC) return true;
    if (x == 0 || y == 0) return false;
    dc->*field = QPoint(x, y);
    KeepIsotropic(*dc);
    return true;
}
bool GetExtent(HDC dc, QPoint DCState::*field, TSize* s)
{
    if (!dc || !s) return false;
    *s = {(dc->*field).x(), (dc->*field).y()};
    return true;
}
}  // namespace

int SetMapMode(HDC dc, int mode)
{
    if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
    const int old = dc->mapMode;
    dc->mapMode = mode;
    switch (mode) {
    case MM_TEXT: dc->windowExt = dc->viewportExt = QPoint(1, 1); break;
    case MM_LOMETRIC: FixedExtents(*dc, 254); break;
    case MM_HIMETRIC: FixedExtents(*dc, 2540); break;
    case MM_LOENGLISH: FixedExtents(*dc, 100); break;
    case MM_HIENGLISH: FixedExtents(*dc, 1000); break;
    case MM_TWIPS: FixedExtents(*dc, 1440); break;
    case MM_ISOTROPIC: KeepIsotropic(*dc); break;
    default: break;  // MM_ANISOTROPIC keeps the extents it finds
    }
    return old;
}
int GetMapMode(HDC dc) { return dc ? dc->mapMode : 0; }
bool SetWindowExtEx(HDC dc, int x, int y, TSize* old) { return SetExtent(dc, &DCState::windowExt, x, y, old); }
bool SetViewportExtEx(HDC dc, int x, int y, TSize* old) { return SetExtent(dc, &DCState::viewportExt, x, y, old); }
bool GetWindowExtEx(HDC dc, TSize* s) { return GetExtent(dc, &DCState::windowExt, s); }
bool GetViewportExtEx(HDC dc, TSize* s) { return GetExtent(dc, &DCState::viewportExt, s); }

namespace {
// Maps points in place through one of the DC's directions.
bool MapPoints(HDC dc, TPoint* pts, int count, QPoint (DeviceContext::*map)(int, int) const)
{
    if (!dc || (!pts && count > 0) || count < 0) return false;
    for (int i = 0; i < count; ++i) {
        const QPoint q = (dc->*map)(pts[i].X, pts[i].Y);
        pts[i] = {q.x(), q.y()};
    }
    return true;
}
}  // namespace

bool LPtoDP(HDC dc, TPoint* pts, int count) { return MapPoints(dc, pts, count, &DeviceContext::ToDevice); }
bool DPtoLP(HDC dc, TPoint* pts, int count) { return MapPoints(dc, pts, count, &DeviceContext::ToLogical); }

bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* old) { return SetOrigin(dc, &DCState::windowOrg, x, y, old); }
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old) { return SetOrigin(dc, &DCState::viewportOrg, x, y, old); }
bool GetViewportOrgEx(HDC dc, TPoint* p) { return GetOrigin(dc, &DCState::viewportOrg, p); }
bool GetWindowOrgEx(HDC dc, TPoint* p) { return GetOrigin(dc, &DCState::windowOrg, p); }

// ---------------------------------------------------------------- regions and clipping

namespace {
int RegionType(const QRegion& r)
{
    if (r.isEmpty()) return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
}  // namespace

HRGN CreateRectRgn(int l, int t, int r, int b)
{
    Normalize(l, r);
    Normalize(t, b);
    return new RegionObject{QRegion(l, t, r - l, b - t)};
}
HRGN CreateRectRgnIndirect(const TRect& r) { return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom); }
HRGN CreateEllipticRgn(int l, int t, int r, int b)
{
    Normalize(l, r);
    Normalize(t, b);
    return new RegionObject{QRegion(l, t, r - l, b - t, QRegion::Ellipse)};
}
HRGN CreatePolygonRgn(const TPoint* pts, int count, int fillMode)
{
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << QPoint(pts[i].X, pts[i].Y);
    return new RegionObject{QRegion(poly, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill)};
}
HRGN CreateRoundRectRgn(int l, int t, int r, int b, int w, int h)
{
    Normalize(l, r);
    Normalize(t, b);
    QPainterPath path;
    path.addRoundedRect(QRectF(l, t, r - l, b - t), w / 2.0, h / 2.0);
    return new RegionObject{QRegion(path.toFillPolygon().toPolygon())};
}
bool DeleteObject(HRGN rgn)
{
    delete rgn;
    return rgn != nullptr;
}
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode)
{
    if (!dst || !a) return ERROR;
    QRegion res;
    switch (mode) {
    case RGN_COPY: res = a->rgn; break;
    case RGN_AND: if (!b) return ERROR; res = a->rgn & b->rgn; break;
    case RGN_OR: if (!b) return ERROR; res = a->rgn | b->rgn; break;
    case RGN_XOR: if (!b) return ERROR; res = a->rgn ^ b->rgn; break;
    case RGN_DIFF: if (!b) return ERROR; res = a->rgn - b->rgn; break;
    default: return ERROR;
    }
    dst->rgn = res;
    return RegionType(res);
}
int OffsetRgn(HRGN rgn, int dx, int dy)
{
    if (!rgn) return ERROR;
    rgn->rgn.translate(dx, dy);
    return RegionType(rgn->rgn);
}
bool PtInRegion(HRGN rgn, int x, int y) { return rgn && rgn->rgn.contains(QPoint(x, y)); }
bool RectInRegion(HRGN rgn, const TRect& r) { return rgn && rgn->rgn.intersects(ToQRect(r)); }
int GetRgnBox(HRGN rgn, TRect* r)
{
    if (!rgn || !r) return ERROR;
    *r = rgn->rgn.isEmpty() ? TRect{} : FromQRect(rgn->rgn.boundingRect());
    return RegionType(rgn->rgn);
}
bool EqualRgn(HRGN a, HRGN b) { return a && b && a->rgn == b->rgn; }

int SelectClipRgn(HDC dc, HRGN rgn)
{
    if (!dc) return ERROR;
    if (rgn) dc->clip = rgn->rgn;
    else dc->clip.reset();
    if (dc->recorder) dc->recorder->ClipChanged(*dc);
    return RegionType(dc->EffectiveClip());
}

int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode)
{
    if (!dc) return ERROR;
    if (mode == RGN_COPY) return SelectClipRgn(dc, rgn);
    if (!rgn) return ERROR;
    QRegion cur = dc->clip ? *dc->clip : QRegion(dc->SurfaceRect());
    switch (mode) {
    case RGN_AND: cur &= rgn->rgn; break;
    case RGN_OR: cur |= rgn->rgn; break;
    case RGN_XOR: cur ^= rgn->rgn; break;
    case RGN_DIFF: cur -= rgn->rgn; break;
    default: return ERROR;
    }
    dc->clip = cur;
    if (dc->recorder) dc->recorder->ClipChanged(*dc);
    return RegionType(dc->EffectiveClip());
}

int IntersectClipRect(HDC dc, int l, int t, int r, int b)
{
    if (!dc) return ERROR;
    const TRect given{l, t, r, b};
    Normalize(l, r);
    Normalize(t, b);
    QRect dr = dc->ToDeviceRect(QRect(l, t, r - l, b - t));
    QRegion cur = dc->clip ? *dc->clip : QRegion(dc->SurfaceRect());
    dc->clip = cur & dr;
    if (dc->recorder) dc->recorder->ClipIntersected(*dc, given);
    return RegionType(dc->EffectiveClip());
}

int ExcludeClipRect(HDC dc, int l, int t, int r, int b)
{
    if (!dc) return ERROR;
    Normalize(l, r);
    Normalize(t, b);
    QRect dr = dc->ToDeviceRect(QRect(l, t, r - l, b - t));
    QRegion cur = dc->clip ? *dc->clip : QRegion(dc->SurfaceRect());
    dc->clip = cur - dr;
    if (dc->recorder) dc->recorder->ClipChanged(*dc);
    return RegionType(dc->EffectiveClip());
}

int GetClipRgn(HDC dc, HRGN rgn)
{
    if (!dc || !rgn) return -1;
    if (!dc->clip) return 0;
    rgn->rgn = *dc->clip;
    return 1;
}

int GetClipBox(HDC dc, TRect* r)
{
    if (!dc || !r) return ERROR;
    QRegion c = dc->EffectiveClip();
    if (c.isEmpty()) {
        *r = {};
        return NULLREGION;
    }
    *r = FromQRect(dc->ToLogicalRect(c.boundingRect()));
    return RegionType(c);
}

int SaveDC(HDC dc)
{
    if (!dc) return 0;
    if (dc->recorder) dc->recorder->SaveDC(*dc);
    dc->saved.push_back(static_cast<DCState&>(*dc));
    return int(dc->saved.size());
}

bool RestoreDC(HDC dc, int saved)
{
    if (!dc) return false;
    int n = int(dc->saved.size());
    int target = saved < 0 ? n + saved + 1 : saved;  // depth to restore
    if (target < 1 || target > n) return false;
    static_cast<DCState&>(*dc) = dc->saved[std::size_t(target - 1)];
    dc->saved.resize(std::size_t(target - 1));
    if (dc->recorder) dc->recorder->RestoreDC(*dc, saved);
    return true;
}

// ---------------------------------------------------------------- block transfers

namespace {

QImage SourceImage(HDC src, int sx, int sy, int sw, int sh)
{
    return src->image->copy(src->ToDeviceRect(QRect(sx, sy, sw, sh)));  // outside parts read black
}

bool NeedsSource(DWORD rop)
{
    return !(rop == PATCOPY || rop == PATINVERT || rop == DSTINVERT || rop == BLACKNESS || rop == WHITENESS);
}

// target and source are normal rectangles; the flips mirror the picture.
bool Blt(HDC dst, QRect target, HDC src, QRect source, DWORD rop, bool flipX = false, bool flipY = false)
{
    if (!dst) return false;
    if (dst->Scaled()) {
        // Pictures land on the mapped rectangle upright, never mirrored by the mapping.
        const QRect d = dst->ToDeviceRect(target);
        DeviceSpace ds(*dst);
        return Blt(dst, d, src, source, rop, flipX, flipY);
    }
    QPainter p;
    if (!NeedsSource(rop)) {
        if (dst->recorder) dst->recorder->Blt(*dst, FromQRect(target.normalized()), QImage(), rop);
        if (!dst->Begin(p)) return true;
        QColor brush = ToQColor(dst->brushColor);
        switch (rop) {
        case PATCOPY: p.setCompositionMode(QPainter::CompositionMode_Source); break;
        case PATINVERT: p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
        case DSTINVERT: p.setCompositionMode(QPainter::RasterOp_NotDestination); break;
        case BLACKNESS: brush = Qt::black; p.setCompositionMode(QPainter::CompositionMode_Source); break;
        case WHITENESS: brush = Qt::white; p.setCompositionMode(QPainter::CompositionMode_Source); break;
        }
        p.fillRect(target.normalized(), brush);
        p.end();
        dst->Drawn(target.normalized().translated(dst->Offset()));
        return true;
    }
    if (!src || !src->image) return false;
    QImage img = SourceImage(src, source.x(), source.y(), source.width(), source.height());
    if (img.format() != QImage::Format_RGB32) img = img.convertToFormat(QImage::Format_RGB32);
    if (flipX || flipY) img = img.mirrored(flipX, flipY);
    if (dst->recorder) dst->recorder->Blt(*dst, FromQRect(target), img, rop);
    if (!dst->image) return true;
    QPainter::CompositionMode mode = QPainter::CompositionMode_Source;
    switch (rop) {
    case SRCCOPY: break;
    case SRCPAINT: mode = QPainter::RasterOp_SourceOrDestination; break;
    case SRCAND: mode = QPainter::RasterOp_SourceAndDestination; break;
    case SRCINVERT: mode = QPainter::RasterOp_SourceXorDestination; break;
    case SRCERASE: mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case NOTSRCCOPY: mode = QPainter::RasterOp_NotSource; break;
    case NOTSRCERASE: mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case MERGEPAINT: mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case MERGECOPY: {  // source AND brush
        QPainter q(&img);
        q.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        q.fillRect(img.rect(), ToQColor(dst->brushColor));
        break;
    }
    case PATPAINT: {  // brush OR NOT source OR destination
        img.invertPixels();
        QPainter q(&img);
        q.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        q.fillRect(img.rect(), ToQColor(dst->brushColor));
        mode = QPainter::RasterOp_SourceOrDestination;
        break;
    }
    default: break;
    }
    if (!dst->Begin(p)) return true;
    p.setCompositionMode(mode);
    p.drawImage(target, img);
    p.end();
    dst->Drawn(target.translated(dst->Offset()));
    return true;
}

}  // namespace

bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop)
{
    if (w < 0 || h < 0) return false;
    return Blt(dst, QRect(x, y, w, h), src, QRect(sx, sy, w, h), rop);
}

bool StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop)
{
    if (w == 0 || h == 0 || sw == 0 || sh == 0) return false;
    // A negative extent runs the rectangle the other way from its corner: a mirror image.
    auto box = [](int a, int b, int c, int d) { return QRect(std::min(a, a + c), std::min(b, b + d), std::abs(c), std::abs(d)); };
    return Blt(dst, box(x, y, w, h), src, box(sx, sy, sw, sh), rop, (w < 0) != (sw < 0), (h < 0) != (sh < 0));
}

bool PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop)
{
    return Blt(dc, QRect(std::min(x, x + w), std::min(y, y + h), std::abs(w), std::abs(h)), nullptr, {}, rop);
}

// ---------------------------------------------------------------- metrics

int GetDeviceCaps(HDC dc, int index)
{
    switch (index) {
    case HORZRES: return dc && dc->image ? dc->image->width() : 0;
    case VERTRES: return dc && dc->image ? dc->image->height() : 0;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case LOGPIXELSX: case LOGPIXELSY: return 96;
    case HORZSIZE: return dc && dc->image ? int(std::lround(dc->image->width() * 25.4 / 96)) : 0;
    case VERTSIZE: return dc && dc->image ? int(std::lround(dc->image->height() * 25.4 / 96)) : 0;
    default: return 0;
    }
}

bool DrawEdge(HDC dc, TRect& r, UINT edge, UINT flags)
{
    if (!dc) return false;
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW),
                   dark = GetSysColor(COLOR_3DDKSHADOW), face = GetSysColor(COLOR_3DLIGHT);
    auto frame = [&](COLORREF tl, COLORREF br) {
        if (flags & BF_TOP) FillRect(dc, {r.Left, r.Top, r.Right, r.Top + 1}, tl);
        if (flags & BF_LEFT) FillRect(dc, {r.Left, r.Top, r.Left + 1, r.Bottom}, tl);
        if (flags & BF_BOTTOM) FillRect(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, br);
        if (flags & BF_RIGHT) FillRect(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, br);
        if (flags & BF_TOP) ++r.Top;
        if (flags & BF_LEFT) ++r.Left;
        if (flags & BF_BOTTOM) --r.Bottom;
        if (flags & BF_RIGHT) --r.Right;
    };
    TRect orig = r;
    if (edge & BDR_RAISEDOUTER) frame(face, dark);
    else if (edge & BDR_SUNKENOUTER) frame(shadow, light);
    if (edge & BDR_RAISEDINNER) frame(light, shadow);
    else if (edge & BDR_SUNKENINNER) frame(dark, face);
    if (flags & BF_MIDDLE) FillRect(dc, r, GetSysColor(COLOR_BTNFACE));
    if (!(flags & BF_ADJUST)) r = orig;
    return true;
}

int draw::FillSolid(DeviceContext& dc, const QRect& r, COLORREF color)
{
    const QImage::Format format = dc.image ? dc.image->format() : QImage::Format_Invalid;
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
         format != QImage::Format_ARGB32_Premultiplied) ||
        dc.image->devicePixelRatio() != 1)
        return -1;
    // Straight into the pixels, a clip rectangle at a time: edges and backgrounds are many
    // small fills, and a painter for each costs more than its pixels.
    const QRegion clip = dc.EffectiveClip() & r.translated(dc.Offset());
    if (clip.isEmpty()) return 0;
    FillPixels(*dc.image, clip, ToQColor(color).rgb());
    return 1;
}

void FillPixels(QImage& img, const QRegion& area, QRgb pixel)
{
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    for (const QRect& r : area) {
        // The rectangle as an image over the same pixels: the toolkit fills it many pixels at a time.
        QImage part(bits + r.top() * bpl + r.left() * int(sizeof(QRgb)), r.width(), r.height(), bpl, img.format());
        part.fill(pixel);
    }
}

QBrush draw::MakeBrush(const DeviceContext& dc, QColor color)
{
    if (!dc.brushPattern.isNull()) return QBrush(dc.brushPattern);
    switch (dc.brushStyle) {
    case bsHorizontal: return QBrush(color, Qt::HorPattern);
    case bsVertical: return QBrush(color, Qt::VerPattern);
    case bsFDiagonal: return QBrush(color, Qt::BDiagPattern);
    case bsBDiagonal: return QBrush(color, Qt::FDiagPattern);
    case bsCross: return QBrush(color, Qt::CrossPattern);
    case bsDiagCross: return QBrush(color, Qt::DiagCrossPattern);
    case bsClear: return Qt::NoBrush;
    default: return QBrush(color);
    }
}

}  // namespace platform

// Geometric pens and paths: the path bracket, stroking, filling, widening, clipping.
#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cmath>

#include "platform/graphics/Drawing.h"
#include "platform/Private.h"

namespace platform {

using namespace draw;

// ---------------------------------------------------------------- pens

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH& brush, DWORD styleCount, const DWORD* styles)
{
    const DWORD type = style & PS_TYPE_MASK, kind = style & PS_STYLE_MASK;
    if (type != PS_COSMETIC && type != PS_GEOMETRIC) return nullptr;
    if (kind > PS_ALTERNATE) return nullptr;
    if ((style & PS_ENDCAP_MASK) > PS_ENDCAP_FLAT || (style & PS_JOIN_MASK) > PS_JOIN_MITER) return nullptr;
    if (type == PS_COSMETIC && (width != 1 || brush.lbStyle != BS_SOLID)) return nullptr;
    if (kind == PS_ALTERNATE && type != PS_COSMETIC) return nullptr;
    if (kind == PS_USERSTYLE) {
        if (styleCount < 1 || styleCount > 16 || !styles) return nullptr;
    } else if (styleCount != 0) {
        return nullptr;
    }
    if (width > 0x7FFF) return nullptr;
    auto* p = new PenObject;
    p->style = brush.lbStyle == BS_NULL ? (style & ~PS_STYLE_MASK) | PS_NULL : style;
    p->width = std::max<int>(1, int(width));
    p->color = brush.lbColor & 0xFFFFFF;
    if (kind == PS_USERSTYLE) p->dashes.assign(styles, styles + styleCount);
    return p;
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    if (style < 0 || style > int(PS_INSIDEFRAME)) return nullptr;
    auto* p = new PenObject;
    p->style = DWORD(style) | (width > 1 ? DWORD(PS_GEOMETRIC) : 0);
    p->width = std::max(1, width);
    p->color = color & 0xFFFFFF;
    return p;
}

bool DeleteObject(HPEN pen)
{
    delete pen;
    return pen != nullptr;
}

QPen draw::WidePen(const DeviceContext& dc, QColor color)
{
    QPen pen(color, dc.penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (dc.penGeometric) {
        pen.setCapStyle(dc.penCap == PS_ENDCAP_FLAT ? Qt::FlatCap
                        : dc.penCap == PS_ENDCAP_SQUARE ? Qt::SquareCap
                                                        : Qt::RoundCap);
        pen.setJoinStyle(dc.penJoin == PS_JOIN_BEVEL ? Qt::BevelJoin
                         : dc.penJoin == PS_JOIN_MITER ? Qt::MiterJoin
                                                       : Qt::RoundJoin);
        pen.setMiterLimit(10);
    }
    if (!dc.penDashes.empty()) {
        // Lengths in logical units; the host counts them in pen widths.
        QList<qreal> pattern;
        for (DWORD d : dc.penDashes) pattern << std::max(qreal(d), qreal(0.01)) / std::max(1, dc.penWidth);
        if (pattern.size() % 2) pattern << pattern.last();
        pen.setDashPattern(pattern);
        return pen;
    }
    switch (dc.penStyle) {
    case psDash: pen.setStyle(Qt::DashLine); break;
    case psDot: pen.setStyle(Qt::DotLine); break;
    case psDashDot: pen.setStyle(Qt::DashDotLine); break;
    case psDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    default: break;
    }
    return pen;
}

// ---------------------------------------------------------------- collecting a path

bool draw::InPath(const DeviceContext& dc) { return dc.pathState == DCState::PathOpen; }

void draw::PathLine(DeviceContext& dc, QPointF from, QPointF to)
{
    QPainterPath& p = dc.path;
    if (p.elementCount() == 0 || p.currentPosition() != from) p.moveTo(from);
    p.lineTo(to);
}

void draw::PathPolygon(DeviceContext& dc, const TPoint* pts, int count, bool close)
{
    if (count < 2) return;
    dc.path.moveTo(pts[0].X, pts[0].Y);
    for (int i = 1; i < count; ++i) dc.path.lineTo(pts[i].X, pts[i].Y);
    if (close) dc.path.closeSubpath();
}

void draw::PathText(DeviceContext& dc, QPointF topLeft, const QString& text, const QFont& font, const int* dx)
{
    QFontMetricsF fm(font);
    QPainterPath glyphs;
    if (dx) {
        qreal x = 0;
        for (int i = 0; i < text.size(); ++i) {
            glyphs.addText(QPointF(x, fm.ascent()), font, QString(text.at(i)));
            x += dx[i];
        }
    } else {
        glyphs.addText(QPointF(0, fm.ascent()), font, text);
    }
    QTransform t;
    t.translate(topLeft.x(), topLeft.y());
    if (dc.escapement) t.rotate(-dc.escapement / 10.0);
    QPainterPath placed = t.map(glyphs);
    dc.path.addPath(placed);
    dc.path.moveTo(placed.currentPosition());
}

// ---------------------------------------------------------------- using a path

namespace {

Qt::FillRule FillRule(const DeviceContext& dc) { return dc.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill; }

// The path's figures as integer polygons, closed ones without their repeated first point.
struct Figures {
    std::vector<TPoint> pts;
    std::vector<int> counts;
    std::vector<bool> closed;
};

Figures Flatten(const QPainterPath& path)
{
    Figures f;
    for (const QPolygonF& poly : path.toSubpathPolygons()) {
        std::vector<TPoint> one;
        for (const QPointF& q : poly) {
            TPoint p{int(std::lround(q.x())), int(std::lround(q.y()))};
            if (one.empty() || !(one.back() == p)) one.push_back(p);
        }
        const bool closed = one.size() > 2 && one.front() == one.back();
        if (closed) one.pop_back();
        if (one.size() < 2) continue;
        f.pts.insert(f.pts.end(), one.begin(), one.end());
        f.counts.push_back(int(one.size()));
        f.closed.push_back(closed);
    }
    return f;
}

bool TakeClosedPath(DeviceContext& dc, QPainterPath& out)
{
    if (dc.pathState != DCState::PathClosed) return false;
    out = dc.path;
    out.setFillRule(FillRule(dc));
    dc.path = QPainterPath();
    dc.pathState = DCState::NoPath;
    return true;
}

void Fill(DeviceContext& dc, const QPainterPath& path)
{
    const QRect bounds = path.boundingRect().toAlignedRect();
    FillShape(dc, bounds, [&](QPainter& p) { p.drawPath(path); }, true);
}

void Stroke(DeviceContext& dc, const QPainterPath& path)
{
    Outline(dc, path.boundingRect().toAlignedRect(), [&](QPainter& p) { p.drawPath(path); }, dc.penAlternate,
            dc.penWidth + 1);
}

// What a recording DC is told: the path as polygons drawn with the DC's state.
void RecordPath(DeviceContext& dc, const QPainterPath& path, bool fill, bool stroke)
{
    if (!dc.recorder) return;
    Figures f = Flatten(path);
    if (f.counts.empty()) return;
    if (fill) {
        const TPenStyle keepPen = dc.penStyle;
        if (!stroke) dc.penStyle = psClear;
        dc.recorder->PolyPolygon(dc, f.pts.data(), f.counts.data(), int(f.counts.size()));
        dc.penStyle = keepPen;
        return;
    }
    std::size_t at = 0;
    for (std::size_t i = 0; i < f.counts.size(); ++i) {
        std::vector<TPoint> line(f.pts.begin() + long(at), f.pts.begin() + long(at + std::size_t(f.counts[i])));
        if (f.closed[i]) line.push_back(line.front());
        dc.recorder->Polyline(dc, line.data(), int(line.size()));
        at += std::size_t(f.counts[i]);
    }
}

QRegion PathRegion(const DeviceContext& dc, const QPainterPath& path)
{
    QRegion r;
    for (const QPolygonF& poly : path.toFillPolygons()) {
        QPolygon device;
        for (const QPointF& pt : poly) device << dc.ToDevice(int(std::lround(pt.x())), int(std::lround(pt.y())));
        r ^= QRegion(device, FillRule(dc));
    }
    return r;
}

}  // namespace

bool BeginPath(HDC dc)
{
    if (!dc) return false;
    dc->path = QPainterPath();
    dc->pathState = DCState::PathOpen;
    return true;
}

bool EndPath(HDC dc)
{
    if (!dc || dc->pathState != DCState::PathOpen) return false;
    dc->pathState = DCState::PathClosed;
    return true;
}

bool AbortPath(HDC dc)
{
    if (!dc) return false;
    dc->path = QPainterPath();
    dc->pathState = DCState::NoPath;
    return true;
}

bool CloseFigure(HDC dc)
{
    if (!dc || dc->pathState != DCState::PathOpen || dc->path.elementCount() == 0) return false;
    dc->path.closeSubpath();
    return true;
}

bool StrokePath(HDC dc)
{
    QPainterPath path;
    if (!dc || !TakeClosedPath(*dc, path)) return false;
    RecordPath(*dc, path, false, true);
    Mute mute(*dc);
    Stroke(*dc, path);
    return true;
}

bool FillPath(HDC dc)
{
    QPainterPath path;
    if (!dc || !TakeClosedPath(*dc, path)) return false;
    RecordPath(*dc, path, true, false);
    Mute mute(*dc);
    Fill(*dc, path);
    return true;
}

bool StrokeAndFillPath(HDC dc)
{
    QPainterPath path;
    if (!dc || !TakeClosedPath(*dc, path)) return false;
    RecordPath(*dc, path, true, true);
    Mute mute(*dc);
    Fill(*dc, path);
    // Every figure is closed before it is stroked.
    QPainterPath closed;
    for (const QPolygonF& poly : path.toSubpathPolygons()) closed.addPolygon(poly), closed.closeSubpath();
    Stroke(*dc, closed);
    return true;
}

bool WidenPath(HDC dc)
{
    if (!dc || dc->pathState != DCState::PathClosed) return false;
    QPainterPathStroker stroker(WidePen(*dc, Qt::black));
    stroker.setWidth(std::max(1, dc->penWidth));
    dc->path = stroker.createStroke(dc->path).simplified();
    return true;
}

bool FlattenPath(HDC dc)
{
    if (!dc || dc->pathState != DCState::PathClosed) return false;
    QPainterPath flat;
    for (const QPolygonF& poly : dc->path.toSubpathPolygons()) flat.addPolygon(poly);
    dc->path = flat;
    return true;
}

bool SelectClipPath(HDC dc, int mode)
{
    QPainterPath path;
    if (!dc || mode < RGN_AND || mode > RGN_COPY || !TakeClosedPath(*dc, path)) return false;
    HRGN r = new RegionObject{PathRegion(*dc, path)};
    const int result = ExtSelectClipRgn(dc, r, mode);
    DeleteObject(r);
    return result != ERROR;
}

HRGN PathToRegion(HDC dc)
{
    QPainterPath path;
    if (!dc || !TakeClosedPath(*dc, path)) return nullptr;
    return new RegionObject{PathRegion(*dc, path)};
}

int GetPath(HDC dc, TPoint* pts, Byte* types, int count)
{
    if (!dc || dc->pathState != DCState::PathClosed) return -1;
    Figures f = Flatten(dc->path);
    const int n = int(f.pts.size());
    if (count == 0) return n;
    if (count < n || !pts || !types) return -1;
    int at = 0;
    for (std::size_t i = 0; i < f.counts.size(); ++i)
        for (int k = 0; k < f.counts[i]; ++k, ++at) {
            pts[at] = f.pts[std::size_t(at)];
            types[at] = k == 0 ? PT_MOVETO : PT_LINETO;
            if (k == f.counts[i] - 1 && f.closed[i]) types[at] |= PT_CLOSEFIGURE;
        }
    return n;
}

int SetPolyFillMode(HDC dc, int mode)
{
    if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
    const int old = dc->polyFillMode;
    dc->polyFillMode = mode;
    return old;
}

int GetPolyFillMode(HDC dc) { return dc ? dc->polyFillMode : 0; }

bool PolyPolygon(HDC dc, const TPoint* pts, const int* counts, int polygons)
{
    if (!dc || !pts || !counts || polygons < 1) return false;
    for (int i = 0; i < polygons; ++i)
        if (counts[i] < 2) return false;
    if (dc->Scaled() && !InPath(*dc)) {
        int total = 0;
        for (int i = 0; i < polygons; ++i) total += counts[i];
        const std::vector<TPoint> d = DevicePoints(*dc, pts, total);
        DeviceSpace ds(*dc);
        return PolyPolygon(dc, d.data(), counts, polygons);
    }
    QPainterPath path;
    path.setFillRule(FillRule(*dc));
    const TPoint* p = pts;
    for (int i = 0; i < polygons; ++i) {
        if (InPath(*dc)) {
            PathPolygon(*dc, p, counts[i], true);
        } else {
            path.moveTo(p[0].X, p[0].Y);
            for (int k = 1; k < counts[i]; ++k) path.lineTo(p[k].X, p[k].Y);
            path.closeSubpath();
        }
        p += counts[i];
    }
    if (InPath(*dc)) return true;
    if (dc->recorder) dc->recorder->PolyPolygon(*dc, pts, counts, polygons);
    Mute mute(*dc);
    const QRect bounds = path.boundingRect().toAlignedRect();
    FilledOutline(*dc, bounds, [&](QPainter& q) { q.drawPath(path); });
    return true;
}

bool RoundRect(HDC dc, int x1, int y1, int x2, int y2, int w, int h)
{
    if (!dc) return false;
    if (dc->Scaled() && !InPath(*dc)) {
        const TRect d = DeviceBox(*dc, x1, y1, x2, y2);
        const int dw = int(std::lround(std::abs(w * dc->ScaleX()))), dh = int(std::lround(std::abs(h * dc->ScaleY())));
        DeviceSpace ds(*dc);
        return RoundRect(dc, d.Left, d.Top, d.Right, d.Bottom, dw, dh);
    }
    Normalize(x1, x2);
    Normalize(y1, y2);
    QRect box(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
    if (InPath(*dc)) {
        if (box.isValid()) {
            dc->path.addRoundedRect(QRectF(box), w / 2.0, h / 2.0);
        }
        return true;
    }
    if (dc->recorder) dc->recorder->RoundRect(*dc, {x1, y1, x2, y2}, w, h);
    if (box.isValid()) FilledOutline(*dc, box, [&](QPainter& p) { p.drawRoundedRect(box, w / 2.0, h / 2.0); });
    return true;
}

}  // namespace platform

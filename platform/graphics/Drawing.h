#pragma once
// Drawing helpers shared by the device-context calls and TCanvas (graphics/*.cpp only).
#include <utility>
#include <vector>

#include "platform/Private.h"

namespace platform::draw {

// While alive, a DC under a scaling or mirroring mapping works in device pixels: the
// mapping is set aside and the wide pen's width, the font height and the letter spacing
// are scaled to it. The caller maps its coordinates (ToDevice, ToDeviceRect) first and
// gives lengths back with LogicalX/LogicalY. Does nothing for an unscaled DC.
struct DeviceSpace {
    DeviceContext& dc;
    bool active;
    DCState saved;
    double sx = 1, sy = 1;
    explicit DeviceSpace(DeviceContext& d);
    ~DeviceSpace();
    DeviceSpace(const DeviceSpace&) = delete;
    DeviceSpace& operator=(const DeviceSpace&) = delete;
    int LogicalX(int px) const;
    int LogicalY(int px) const;
};

// Logical points and boxes (normalised, right and bottom exclusive) in device pixels.
std::vector<TPoint> DevicePoints(const DeviceContext& dc, const TPoint* pts, int count);
TRect DeviceBox(const DeviceContext& dc, int l, int t, int r, int b);

inline bool HasPen(const DeviceContext& dc) { return dc.penStyle != psClear && dc.rop2 != R2_NOP; }
inline bool HasBrush(const DeviceContext& dc) { return dc.brushStyle != bsClear; }
inline bool ThinPen(const DeviceContext& dc) { return dc.penWidth <= 1; }

// A pen wider than one pixel: round ends and joins, or a geometric pen's own.
QPen WidePen(const DeviceContext& dc, QColor color);

// The path bracket is open: drawing calls add to dc.path (logical coordinates).
bool InPath(const DeviceContext& dc);
void PathLine(DeviceContext& dc, QPointF from, QPointF to);
void PathPolygon(DeviceContext& dc, const TPoint* pts, int count, bool close);
// Glyph outlines of text whose unturned top-left corner is at topLeft, turned by the DC's escapement.
void PathText(DeviceContext& dc, QPointF topLeft, const QString& text, const QFont& font, const int* dx);

// The box (right and bottom exclusive, normalised) of an arc, pie or chord, and its start
// angle and span counter-clockwise from the ray towards start to the ray towards end, in
// sixteenths of a degree; false for an empty box.
bool ArcGeometry(TRect box, TPoint start, TPoint end, QRect& shape, int& angle16, int& span16);
QBrush MakeBrush(const DeviceContext& dc, QColor color);
// Sets the pixels of a logical rectangle of an unscaled DC to an opaque colour, within the
// clip: 1 when some were set, 0 when the clip leaves none, -1 when the surface needs a
// painter (not 32 bits a pixel, or more than one device pixel to a pixel).
int FillSolid(DeviceContext& dc, const QRect& r, COLORREF color);

// Fills a logical shape with the brush, the mix mode and (for hatches) the background.
template <class Fn>
void FillShape(DeviceContext& dc, const QRect& bounds, Fn draw, bool useRop)
{
    if (!HasBrush(dc)) return;
    QColor color = ToQColor(dc.brushColor);
    bool skip = false;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (useRop) mode = Rop2Mode(dc.rop2, color, skip);
    if (skip) return;
    // Opaque colours draw the same either way; a hatch needs its gaps left alone.
    if (mode == QPainter::CompositionMode_Source) mode = QPainter::CompositionMode_SourceOver;
    QPainter p;
    if (!dc.Begin(p)) return;
    p.setCompositionMode(mode);
    p.setPen(Qt::NoPen);
    bool hatch = dc.brushStyle != bsSolid && dc.brushPattern.isNull();
    if (hatch && dc.bkMode == OPAQUE) {
        p.setBrush(ToQColor(dc.bkColor));
        draw(p);
    }
    p.setBrush(MakeBrush(dc, color));
    if (hatch) p.setBrushOrigin(-dc.Offset());
    draw(p);
    p.end();
    dc.Drawn(bounds.translated(dc.Offset()).adjusted(-1, -1, 1, 1));
}

// Draws `shape` with the DC's pen and no brush; `dotted` dots a thin solid pen too. The
// drawn area is `bounds` grown by `margin` on each side.
template <class Shape>
void Outline(DeviceContext& dc, const QRect& bounds, Shape shape, bool dotted, int margin)
{
    if (!HasPen(dc)) return;
    QColor color = ToQColor(dc.penColor);
    bool skip;
    auto mode = Rop2Mode(dc.rop2, color, skip);
    if (skip) return;
    QPainter p;
    if (!dc.Begin(p)) return;
    p.setCompositionMode(mode);
    QPen pen = ThinPen(dc) ? QPen(color, 0) : WidePen(dc, color);
    if (ThinPen(dc) && (dc.penStyle != psSolid || dotted)) pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    shape(p);
    p.end();
    dc.Drawn(bounds.translated(dc.Offset()).adjusted(-margin, -margin, margin, margin));
}

template <class Shape>
void FilledOutline(DeviceContext& dc, const QRect& bounds, Shape shape)
{
    FillShape(dc, bounds, shape, true);
    Outline(dc, bounds, shape, false, dc.penWidth);
}

inline void Normalize(int& a, int& b)
{
    if (a > b) std::swap(a, b);
}

// Keeps a composite call from being recorded again through the calls it is made of.
struct Mute {
    DeviceContext& dc;
    DCRecorder* saved;
    explicit Mute(DeviceContext& d) : dc(d), saved(d.recorder) { d.recorder = nullptr; }
    ~Mute() { dc.recorder = saved; }
};

}  // namespace platform::draw

#pragma once
// Internals shared by platform/*.cpp only; the one header here that includes Qt.
#include <QColor>
#include <QCursor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Cursors.h"

class QWidget;

namespace platform {

QString AnsiToQString(const std::string& s);
std::string QStringToAnsi(const QString& s);

inline QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF FromQRgb(QRgb c) { return RGB(qRed(c), qGreen(c), qBlue(c)); }
inline QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }
inline TRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

// Host font for a font description (family names mapped to installed ones).
QFont MakeQFont(const std::string& name, int height, TFontStyles style, TFontPitch pitch);
std::string MapFontFamily(const std::string& name);

struct RegionObject {
    QRegion rgn;
};

struct DCState {
    QPoint viewportOrg, windowOrg;
    // Mapping mode and extents: device = (logical - windowOrg) * viewportExt / windowExt + viewportOrg.
    int mapMode = MM_TEXT;
    QPoint windowExt{1, 1}, viewportExt{1, 1};
    std::optional<QRegion> clip;
    COLORREF penColor = 0;
    int penWidth = 1;
    TPenStyle penStyle = psSolid;
    int rop2 = R2_COPYPEN;
    COLORREF brushColor = 0xFFFFFF;
    TBrushStyle brushStyle = bsSolid;
    QImage brushPattern;
    QFont font;
    int escapement = 0;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    UINT textAlign = 0;
    int charExtra = 0;
    QPoint penPos;  // logical
    // A geometric pen's end cap and join (PS_ENDCAP_, PS_JOIN_), its user style, and
    // the alternate-pixel cosmetic style.
    bool penGeometric = false;
    int penCap = 0, penJoin = 0;
    std::vector<DWORD> penDashes;
    bool penAlternate = false;
    int polyFillMode = ALTERNATE;
    // The path bracket: open between BeginPath and EndPath, then closed until used.
    enum PathState { NoPath, PathOpen, PathClosed } pathState = NoPath;
    QPainterPath path;  // logical coordinates
};

struct DeviceContext;

// Sees every drawing call made on a DC, with the DC's state as it is at that moment
// (pen, brush, font, colours, modes, origins and clip in the DC's fields). A canvas
// that records, such as a metafile canvas, attaches a DC with a recorder and no image.
// Coordinates are logical, rectangles right and bottom exclusive, as given.
struct DCRecorder {
    virtual ~DCRecorder() = default;
    virtual void MoveTo(DeviceContext&, TPoint) {}
    virtual void LineTo(DeviceContext&, TPoint from, TPoint to) { (void)from; (void)to; }
    virtual void Rectangle(DeviceContext&, const TRect&) {}
    virtual void RoundRect(DeviceContext&, const TRect&, int w, int h) { (void)w; (void)h; }
    virtual void Ellipse(DeviceContext&, const TRect&) {}
    // kind: 0 arc, 1 pie, 2 chord; from the ray towards start to the ray towards end.
    virtual void ArcShape(DeviceContext&, int kind, const TRect& box, TPoint start, TPoint end)
    {
        (void)kind; (void)box; (void)start; (void)end;
    }
    virtual void Polygon(DeviceContext&, const TPoint*, int) {}
    virtual void Polyline(DeviceContext&, const TPoint*, int) {}
    // Polygons filled together in dc.polyFillMode; by default one Polygon each.
    virtual void PolyPolygon(DeviceContext& dc, const TPoint* pts, const int* counts, int polygons)
    {
        for (int i = 0; i < polygons; pts += counts[i], ++i) Polygon(dc, pts, counts[i]);
    }
    // withBrush: the DC's brush (colour, style, pattern) fills; otherwise the solid colour.
    virtual void FillRect(DeviceContext&, const TRect&, COLORREF color, bool withBrush) { (void)color; (void)withBrush; }
    virtual void FocusRect(DeviceContext&, const TRect&) {}
    virtual void Pixel(DeviceContext&, TPoint, COLORREF) {}
    // ETO_ options; clip is the rectangle of ETO_CLIPPED / ETO_OPAQUE or null; dx may be null.
    virtual void Text(DeviceContext&, TPoint, UINT options, const TRect* clip, const std::string& text, const int* dx)
    {
        (void)options; (void)clip; (void)text; (void)dx;
    }
    // Wide text; by default the 8-bit text it stands for ("?" for what the code page lacks).
    virtual void TextW(DeviceContext&, TPoint, UINT options, const TRect* clip, const std::u16string& text,
                       const int* dx);
    // The source pixels (empty for raster operations without a source) into target.
    virtual void Blt(DeviceContext&, const TRect& target, const QImage& source, DWORD rop)
    {
        (void)target; (void)source; (void)rop;
    }
    virtual void SaveDC(DeviceContext&) {}
    virtual void RestoreDC(DeviceContext&, int saved) { (void)saved; }
    virtual void ClipChanged(DeviceContext&) {}  // read dc.clip (device coordinates)
    // IntersectClipRect with r; by default one more change of the clip.
    virtual void ClipIntersected(DeviceContext& dc, const TRect& r) { (void)r; ClipChanged(dc); }
};

// The painter that text runs on a DC share (GDIText.cpp); a copied DC starts without one.
struct TextPainter;
struct KeptTextPainter {
    KeptTextPainter() = default;
    KeptTextPainter(const KeptTextPainter&) {}
    KeptTextPainter& operator=(const KeptTextPainter&) { return *this; }
    ~KeptTextPainter();
    TextPainter* kept = nullptr;
};

struct DeviceContext : DCState {
    QImage* image = nullptr;
    KeptTextPainter textPainter;
    // The window whose surface this is, for a window's DC.
    HWND window = nullptr;
    DCRecorder* recorder = nullptr;
    // The surface a recording DC stands for, when it has no image.
    QRect recordBounds;
    // Device area the DC may touch (a graphic control's part of its parent); null = all.
    QRect deviceBounds;
    // The part a window is repainting, kept apart from the DC's own clip.
    std::optional<QRegion> systemClip;
    std::vector<DCState> saved;
    // Called with the device rectangle after drawing, so a window can show it.
    std::function<void(const QRect&)> onDraw;

    QRect SurfaceRect() const;       // image rect cut by deviceBounds
    QRegion EffectiveClip() const;   // device coordinates
    QPoint Offset() const { return viewportOrg - windowOrg; }
    // The mapping scales or mirrors: the drawing calls then work in device space.
    bool Scaled() const { return mapMode != MM_TEXT && windowExt != viewportExt; }
    QPoint ToDevice(int x, int y) const;
    QPoint ToLogical(int x, int y) const;
    // A logical rectangle's device rectangle, normalised (right and bottom exclusive).
    QRect ToDeviceRect(const QRect& logical) const;
    QRect ToLogicalRect(const QRect& device) const;
    double ScaleX() const { return double(viewportExt.x()) / windowExt.x(); }
    double ScaleY() const { return double(viewportExt.y()) / windowExt.y(); }
    // A painter on the surface with clip and logical transform set; null when nothing is drawable.
    bool Begin(QPainter& p);
    // The same painter in device coordinates (callers map with ToDeviceRect).
    bool BeginDevice(QPainter& p);
    void Drawn(const QRect& deviceRect);
    void ResetState() { static_cast<DCState&>(*this) = DCState(); saved.clear(); }
};

QPainter::CompositionMode Rop2Mode(int rop2, QColor& color, bool& skip);

struct TBitmap::Impl {
    QImage image;
    // The size asked for while one side is 0 and there is no image to hold it.
    int emptyWidth = 0, emptyHeight = 0;
    DeviceContext dc;
};

QImage& BitmapImage(TBitmap& b);
// Sets the pixels of a 32-bit image inside `area` (within the image) to `pixel`, a
// rectangle at a time over the image's own rows.
void FillPixels(QImage& img, const QRegion& area, QRgb pixel);

class TControl;
class TWinControl;
// Reports an exception that reached the event loop (the application's exception box).
void HandleAppException(const std::exception* e);
// Worker threads started whose run, end event and freeing are not yet over.
int RunningThreadCount();
// Installed by the application: mouse moves for hints, and controls going away.
extern void (*gHintMouseHook)(TControl* c, TPoint clientPos);
extern void (*gControlGoneHook)(TControl* c);
// The MK_ flags of a mouse message for a shift state (Alt and Double have none).
UINT ShiftStateToKeys(unsigned shift);
// The host's cursor for a cursor number (the screen's cursor table first), and a short
// name of what a host cursor shows ("arrow", "hsplit", "bitmap 32x32 hot 0,31"...).
QCursor CursorFor(TCursor c);
std::string DescribeCursor(const QCursor& c);
// The window that SetCursor(HCURSOR) shows a cursor on: the one under the mouse.
void SetCursorTarget(QWidget* w);
// The ss flags of modifier keys and mouse buttons as the host reports them.
unsigned HeldFlags(Qt::KeyboardModifiers m, Qt::MouseButtons b);
QWidget* HostWidget(TWinControl* c);  // nullptr before the window exists
void LayoutScrollBars(TWinControl* c);
// Creates the host application and Application when missing.
void EnsurePlatform();

// Runs fn, sending any exception to the application's handler.
template <class Fn>
void Guarded(Fn&& fn)
{
    try {
        fn();
    } catch (const std::exception& e) {
        HandleAppException(&e);
    } catch (...) {
        HandleAppException(nullptr);
    }
}

}  // namespace platform

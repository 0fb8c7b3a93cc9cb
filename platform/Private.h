#pragma once
// Internals shared by platform/*.cpp only; the one header here that includes Qt.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include "platform/GDI.h"
#include "platform/Graphics.h"

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
};

struct DeviceContext : DCState {
    QImage* image = nullptr;
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
    QPoint ToDevice(int x, int y) const { return QPoint(x, y) + Offset(); }
    // A painter on the surface with clip and logical transform set; null when nothing is drawable.
    bool Begin(QPainter& p);
    void Drawn(const QRect& deviceRect);
    void ResetState() { static_cast<DCState&>(*this) = DCState(); saved.clear(); }
};

QPainter::CompositionMode Rop2Mode(int rop2, QColor& color, bool& skip);

struct TBitmap::Impl {
    QImage image;
    DeviceContext dc;
};

QImage& BitmapImage(TBitmap& b);

class TControl;
class TWinControl;
// Reports an exception that reached the event loop (the application's exception box).
void HandleAppException(const std::exception* e);
// Installed by the application: mouse moves for hints, and controls going away.
extern void (*gHintMouseHook)(TControl* c, TPoint clientPos);
extern void (*gControlGoneHook)(TControl* c);
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

// The application's text caret: one window owns it; it blinks by inverting its rectangle.
#include <QTimer>
#include <QWidget>

#include "platform/controls/ControlsPrivate.h"

namespace platform {

Caret gCaret;

void InvertCaret()
{
    TWinControl* c = gCaret.owner;
    if (!c || !gLive.count(c)) return;
    auto* d = c->impl();
    d->EnsureBacking(c);
    const int f = c->FrameWidth();
    QRect r = gCaret.rect.translated(f, f) & d->backing.rect();
    if (!r.isEmpty()) {
        QPainter p(&d->backing);
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        p.fillRect(r, Qt::white);
    }
    gCaret.drawn = !gCaret.drawn;
    d->ScreenDrawn(r);
}

namespace {

void EraseCaret()
{
    if (gCaret.drawn) InvertCaret();
}

void RestartBlink()
{
    EraseCaret();
    if (!gCaret.owner || gCaret.hideCount > 0) {
        if (gCaret.timer) gCaret.timer->Stop();
        return;
    }
    InvertCaret();
    if (!gCaret.timer) {
        gCaret.timer = new TClockTimer;
        gCaret.timer->OnTimeout = [] {
            if (gCaret.owner && gCaret.hideCount == 0) InvertCaret();
        };
    }
    gCaret.timer->Start(int(gCaret.blinkTime));
}

}  // namespace

bool CreateCaret(HWND h, int width, int height)
{
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c) return false;
    DestroyCaret();
    gCaret.owner = c;
    gCaret.rect = QRect(0, 0, std::max(1, width), std::max(1, height));
    gCaret.hideCount = 1;
    return true;
}

bool DestroyCaret()
{
    if (!gCaret.owner) return false;
    EraseCaret();
    if (gCaret.timer) gCaret.timer->Stop();
    gCaret.owner = nullptr;
    return true;
}

bool SetCaretPos(int x, int y)
{
    if (!gCaret.owner) return false;
    if (gCaret.rect.topLeft() == QPoint(x, y)) return true;
    EraseCaret();
    gCaret.rect.moveTo(x, y);
    RestartBlink();
    return true;
}

bool GetCaretPos(TPoint& p)
{
    if (!gCaret.owner) return false;
    p = {gCaret.rect.x(), gCaret.rect.y()};
    return true;
}

bool ShowCaret(HWND h)
{
    TWinControl* c = h ? TWinControl::FromHandle(h) : gCaret.owner;
    if (!gCaret.owner || c != gCaret.owner || gCaret.hideCount == 0) return false;
    if (--gCaret.hideCount == 0) RestartBlink();
    return true;
}

bool HideCaret(HWND h)
{
    TWinControl* c = h ? TWinControl::FromHandle(h) : gCaret.owner;
    if (!gCaret.owner || c != gCaret.owner) return false;
    if (gCaret.hideCount++ == 0) RestartBlink();
    return true;
}

UINT GetCaretBlinkTime() { return gCaret.blinkTime; }

bool SetCaretBlinkTime(UINT ms)
{
    gCaret.blinkTime = std::max<UINT>(ms, 1);
    if (gCaret.timer && gCaret.timer->Active()) gCaret.timer->Start(int(gCaret.blinkTime));
    return true;
}

}  // namespace platform

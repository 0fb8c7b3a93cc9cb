// Window scroll bars: SCROLLINFO per bar, host scroll bars that send WM_HSCROLL / WM_VSCROLL.
#include <QEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include "platform/controls/ControlsPrivate.h"

namespace platform {

namespace {

int MaxPos(const SCROLLINFO& i) { return std::max(i.nMin, i.nMax - std::max(int(i.nPage) - 1, 0)); }

void SyncBar(TWinControl* c, int b)
{
    auto* d = c->impl();
    QScrollBar* bar = d->bars[b];
    if (!bar) return;
    const SCROLLINFO& i = d->scroll[b];
    QSignalBlocker block(bar);
    bar->setRange(i.nMin, MaxPos(i));
    bar->setPageStep(std::max(1, int(i.nPage)));
    bar->setSingleStep(1);
    if (!bar->isSliderDown()) bar->setSliderPosition(i.nPos);
    bar->setEnabled(MaxPos(i) > i.nMin);
}

void ScrollAction(TWinControl* c, int b, int action)
{
    auto* d = c->impl();
    QScrollBar* bar = d->bars[b];
    int code;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    const int track = bar ? bar->sliderPosition() : 0;
    d->scroll[b].nTrackPos = track;
    const UINT msg = b == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    Guarded([&] { c->Perform(msg, MakeWParam(code, code == SB_THUMBTRACK ? track : 0), 0); });
    // The platform's thumb goes where the window puts the position, not where the user pushed.
    if (gLive.count(c) && c->impl()->bars[b] && code != SB_THUMBTRACK)
        c->impl()->bars[b]->setSliderPosition(c->impl()->scroll[b].nPos);
}

// Letting go of an arrow or a page area ends the scroll, as letting go of the thumb does.
class EndScrollFilter : public QObject {
public:
    EndScrollFilter(TWinControl* c, int b, QScrollBar* bar) : QObject(bar), c_(c), b_(b) {}
    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* bar = static_cast<QScrollBar*>(o);
        if (e->type() == QEvent::MouseButtonRelease && !bar->isSliderDown() && gLive.count(c_)) {
            const UINT msg = b_ == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
            TWinControl* c = c_;
            Guarded([&] { c->Perform(msg, MakeWParam(SB_ENDSCROLL, 0), 0); });
        }
        return false;
    }

private:
    TWinControl* c_;
    int b_;
};

}  // namespace

void LayoutScrollBars(TWinControl* c)
{
    auto* d = c->impl();
    if (!d->widget) return;
    const int w = std::max(1, c->Width()), h = std::max(1, c->Height());
    const int vs = d->BarThickness(SB_VERT), hs = d->BarThickness(SB_HORZ);
    const bool showV = d->ScrollShown(SB_VERT), showH = d->ScrollShown(SB_HORZ);
    for (int b = 0; b < 2; ++b) {
        const bool show = b == SB_VERT ? showV : showH;
        if (!show) {
            if (d->bars[b]) d->bars[b]->hide();
            continue;
        }
        if (!d->bars[b]) {
            auto* bar = new QScrollBar(b == SB_VERT ? Qt::Vertical : Qt::Horizontal, d->widget);
            bar->setFocusPolicy(Qt::NoFocus);
            bar->installEventFilter(new EndScrollFilter(c, b, bar));
            QObject::connect(bar, &QAbstractSlider::actionTriggered, [c, b](int action) { ScrollAction(c, b, action); });
            QObject::connect(bar, &QAbstractSlider::sliderReleased, [c, b] {
                auto* dd = c->impl();
                const int pos = dd->bars[b] ? dd->bars[b]->sliderPosition() : 0;
                const UINT msg = b == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
                Guarded([&] {
                    c->Perform(msg, MakeWParam(SB_THUMBPOSITION, pos), 0);
                    c->Perform(msg, MakeWParam(SB_ENDSCROLL, 0), 0);
                });
                if (gLive.count(c) && c->impl()->bars[b]) c->impl()->bars[b]->setSliderPosition(c->impl()->scroll[b].nPos);
            });
            d->bars[b] = bar;
            ApplyFlatLook(c, b);
        }
        QScrollBar* bar = d->bars[b];
        const int f = c->FrameWidth();
        if (b == SB_VERT) bar->setGeometry(w - f - vs, f, vs, h - 2 * f - (showH ? hs : 0));
        else bar->setGeometry(f, h - f - hs, w - 2 * f - (showV ? vs : 0), hs);
        SyncBar(c, b);
        bar->show();
    }
}

namespace {

void ScrollChanged(TWinControl* c, bool wasV, bool wasH)
{
    auto* d = c->impl();
    if (wasV != d->ScrollShown(SB_VERT) || wasH != d->ScrollShown(SB_HORZ)) {
        LayoutScrollBars(c);
        c->Perform(WM_SIZE, 0, MakeLParam(c->ClientWidth(), c->ClientHeight()));
        c->Realign();
        c->Invalidate();
    } else {
        SyncBar(c, SB_HORZ);
        SyncBar(c, SB_VERT);
    }
}

}  // namespace

int SetScrollInfo(HWND h, int bar, const SCROLLINFO& info, bool)
{
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c || (bar != SB_HORZ && bar != SB_VERT)) return 0;
    auto* d = c->impl();
    const bool wasV = d->ScrollShown(SB_VERT), wasH = d->ScrollShown(SB_HORZ);
    SCROLLINFO& s = d->scroll[bar];
    if (info.fMask & SIF_RANGE) {
        s.nMin = info.nMin;
        s.nMax = std::max(info.nMin, info.nMax);
    }
    if (info.fMask & SIF_PAGE) s.nPage = std::min<UINT>(info.nPage, UINT(s.nMax - s.nMin + 1));
    if (info.fMask & SIF_POS) s.nPos = info.nPos;
    s.nPos = std::clamp(s.nPos, s.nMin, MaxPos(s));
    d->scrollDisableNoScroll[bar] = info.fMask & SIF_DISABLENOSCROLL;
    d->scrollHidden[bar] = false;
    ScrollChanged(c, wasV, wasH);
    return s.nPos;
}

bool GetScrollInfo(HWND h, int bar, SCROLLINFO& info)
{
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c || (bar != SB_HORZ && bar != SB_VERT)) return false;
    const SCROLLINFO& s = c->impl()->scroll[bar];
    if (info.fMask & SIF_RANGE) {
        info.nMin = s.nMin;
        info.nMax = s.nMax;
    }
    if (info.fMask & SIF_PAGE) info.nPage = s.nPage;
    if (info.fMask & SIF_POS) info.nPos = s.nPos;
    if (info.fMask & SIF_TRACKPOS) info.nTrackPos = s.nTrackPos;
    return true;
}

int SetScrollPos(HWND h, int bar, int pos, bool redraw)
{
    const int old = GetScrollPos(h, bar);
    SCROLLINFO i;
    i.fMask = SIF_POS;
    i.nPos = pos;
    SetScrollInfo(h, bar, i, redraw);
    return old;
}

int GetScrollPos(HWND h, int bar)
{
    SCROLLINFO i;
    i.fMask = SIF_POS;
    return GetScrollInfo(h, bar, i) ? i.nPos : 0;
}

bool SetScrollRange(HWND h, int bar, int minPos, int maxPos, bool redraw)
{
    SCROLLINFO i;
    i.fMask = SIF_RANGE;
    i.nMin = minPos;
    i.nMax = maxPos;
    return TWinControl::FromHandle(h) && (SetScrollInfo(h, bar, i, redraw), true);
}

bool ScrollWindow(HWND h, int dx, int dy, const TRect* scrollRect, const TRect* clipRect)
{
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c || !c->HandleAllocated()) return false;
    auto* d = c->impl();
    d->EnsureBacking(c);
    const TRect client = c->ClientRect();
    const QRect whole(0, 0, client.Width(), client.Height());
    const QRect area = scrollRect ? ToQRect(*scrollRect) & whole : whole;
    const QRect clip = clipRect ? ToQRect(*clipRect) & whole : area;
    const QRect target = area.translated(dx, dy) & clip;
    const QPoint f(c->FrameWidth(), c->FrameWidth());
    const bool caretHere = gCaret.owner == c && gCaret.drawn;
    if (caretHere) InvertCaret();
    if (!target.isEmpty()) {
        const QImage moved = d->backing.copy(target.translated(-dx, -dy).translated(f));
        QPainter p(&d->backing);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(target.topLeft() + f, moved);
        p.end();
        d->ScreenDrawn(target.translated(f));
        // Parts waiting for paint move with their pixels.
        const QRegion pending = d->invalid & QRegion(area.translated(f));
        d->invalid = (d->invalid - pending) | (pending.translated(dx, dy) & QRegion(clip.translated(f)));
    }
    if (caretHere && !gCaret.drawn) InvertCaret();
    for (const QRect& r : QRegion(clip) - QRegion(target)) c->InvalidateRect(FromQRect(r));
    return true;
}

bool ShowScrollBar(HWND h, int bar, bool show)
{
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c) return false;
    auto* d = c->impl();
    const bool wasV = d->ScrollShown(SB_VERT), wasH = d->ScrollShown(SB_HORZ);
    for (int b = 0; b < 2; ++b)
        if (bar == SB_BOTH || bar == b) {
            d->scrollForced[b] = show;
            d->scrollHidden[b] = !show;
        }
    ScrollChanged(c, wasV, wasH);
    return true;
}

}  // namespace platform

// Flat scroll bars on the window's own host scroll bars.
#include "platform/controls/FlatScrollBar.h"

#include <QScrollBar>
#include <QString>

#include "platform/controls/ControlsPrivate.h"

namespace platform {

void LayoutScrollBars(TWinControl* c);

namespace {

constexpr std::uint32_t kNoColor = 0x1FFFFFFF;

QString CssColor(std::uint32_t c)
{
    return QString::asprintf("#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TWinControl* Flat(HWND h)
{
    TWinControl* c = TWinControl::FromHandle(h);
    return c && c->impl()->flatSB ? c : nullptr;
}

void Relayout(TWinControl* c)
{
    LayoutScrollBars(c);
    c->Perform(WM_SIZE, 0, MakeLParam(c->ClientWidth(), c->ClientHeight()));
    c->Invalidate();
}

}  // namespace

void ApplyFlatLook(TWinControl* c, int b)
{
    auto* d = c->impl();
    QScrollBar* bar = d->bars[b];
    if (!bar) return;
    if (!d->flatSB || (d->flatStyle[b] == FSB_REGULAR_MODE && d->flatColor[b] == kNoColor)) {
        bar->setStyleSheet(QString());
        return;
    }
    const std::uint32_t bg = d->flatColor[b] == kNoColor ? ColorToRGB(clBtnFace) : d->flatColor[b];
    const std::uint32_t thumb = ColorToRGB(clBtnShadow), hot = ColorToRGB(clHighlight);
    QString css;
    if (d->flatStyle[b] == FSB_REGULAR_MODE) {
        css = QString("QScrollBar { background: %1; }").arg(CssColor(bg));
    } else {
        // Flat: no bevels, a plain thumb; Encarta: the same, the thumb lit under the mouse.
        css = QString("QScrollBar { background: %1; border: none; }"
                      "QScrollBar::handle { background: %2; border: none; min-width: 8px; min-height: 8px; }"
                      "QScrollBar::add-line, QScrollBar::sub-line { background: %1; border: 1px solid %2; }")
                  .arg(CssColor(bg), CssColor(thumb));
        if (d->flatStyle[b] == FSB_ENCARTA_MODE)
            css += QString("QScrollBar::handle:hover { background: %1; }").arg(CssColor(hot));
    }
    bar->setStyleSheet(css);
}

bool InitializeFlatSB(HWND h)
{
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c) return false;
    c->impl()->flatSB = true;
    for (int b = 0; b < 2; ++b) ApplyFlatLook(c, b);
    return true;
}

bool UninitializeFlatSB(HWND h)
{
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c) return false;
    auto* d = c->impl();
    d->flatSB = false;
    for (int b = 0; b < 2; ++b) {
        d->flatStyle[b] = FSB_REGULAR_MODE;
        d->flatColor[b] = kNoColor;
        d->flatWidth[b] = 0;
        ApplyFlatLook(c, b);
    }
    Relayout(c);
    return true;
}

bool FlatSB_Initialized(HWND h) { return Flat(h) != nullptr; }

int FlatSB_SetScrollPos(HWND h, int bar, int pos, bool redraw) { return SetScrollPos(h, bar, pos, redraw); }

int FlatSB_SetScrollInfo(HWND h, int bar, const SCROLLINFO& info, bool redraw)
{
    return SetScrollInfo(h, bar, info, redraw);
}

bool FlatSB_GetScrollInfo(HWND h, int bar, SCROLLINFO& info) { return GetScrollInfo(h, bar, info); }

bool FlatSB_ShowScrollBar(HWND h, int bar, bool show) { return ShowScrollBar(h, bar, show); }

bool FlatSB_SetScrollProp(HWND h, UINT index, LPARAM value, bool redraw)
{
    TWinControl* c = Flat(h);
    if (!c) return false;
    auto* d = c->impl();
    bool layout = false;
    switch (index) {
    case WSB_PROP_CXVSCROLL:
    case WSB_PROP_CYHSCROLL: {
        int& w = d->flatWidth[index == WSB_PROP_CXVSCROLL ? SB_VERT : SB_HORZ];
        layout = w != std::max(0, int(value));  // only a new width sizes the client anew
        w = std::max(0, int(value));
        break;
    }
    case WSB_PROP_VBKGCOLOR: d->flatColor[SB_VERT] = std::uint32_t(value); break;
    case WSB_PROP_HBKGCOLOR: d->flatColor[SB_HORZ] = std::uint32_t(value); break;
    case WSB_PROP_VSTYLE: d->flatStyle[SB_VERT] = int(value); break;
    case WSB_PROP_HSTYLE: d->flatStyle[SB_HORZ] = int(value); break;
    case WSB_PROP_CYVSCROLL:
    case WSB_PROP_CXHSCROLL:
    case WSB_PROP_CXHTHUMB:
    case WSB_PROP_CYVTHUMB:
    case WSB_PROP_WINSTYLE:
    case WSB_PROP_PALETTE: return true;  // the host bars size their arrows and thumb themselves
    default: return false;
    }
    for (int b = 0; b < 2; ++b) ApplyFlatLook(c, b);
    if (layout) Relayout(c);
    else if (redraw) c->Invalidate();
    return true;
}

bool FlatSB_GetScrollProp(HWND h, UINT index, LPARAM* value)
{
    TWinControl* c = Flat(h);
    if (!c || !value) return false;
    auto* d = c->impl();
    switch (index) {
    case WSB_PROP_CXVSCROLL: *value = d->BarThickness(SB_VERT); return true;
    case WSB_PROP_CYHSCROLL: *value = d->BarThickness(SB_HORZ); return true;
    case WSB_PROP_VBKGCOLOR: *value = LPARAM(d->flatColor[SB_VERT]); return true;
    case WSB_PROP_HBKGCOLOR: *value = LPARAM(d->flatColor[SB_HORZ]); return true;
    case WSB_PROP_VSTYLE: *value = d->flatStyle[SB_VERT]; return true;
    case WSB_PROP_HSTYLE: *value = d->flatStyle[SB_HORZ]; return true;
    default: return false;
    }
}

}  // namespace platform

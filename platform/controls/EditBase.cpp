#include "platform/controls/EditBase.h"

#include <QWidget>

#include <algorithm>
#include <cstdint>

#include "platform/Private.h"
#include "platform/controls/ControlsPrivate.h"
#include "platform/controls/Edit.h"

namespace platform {

void TEditBase::WMChar(TWMChar& m)
{
    AliveWatch live(this);
    TWinControl::WMChar(m);  // OnKeyPress may change or drop the character
    if (live.alive && m.CharCode()) DefaultHandler(m);
}

void TEditBase::WMKeyDown(TWMKeyDown& m)
{
    AliveWatch live(this);
    TWinControl::WMKeyDown(m);  // the form's dialog keys and OnKeyDown first
    if (live.alive && m.CharCode()) DefaultHandler(m);
}

void TEditBase::WMSetFocus(TWMSetFocus& m)
{
    TWinControl::WMSetFocus(m);
    DefaultHandler(m);
}

void TEditBase::WMKillFocus(TWMKillFocus& m)
{
    TWinControl::WMKillFocus(m);
    DefaultHandler(m);
}

// The control's own part first (focus, caret, selection), then the events, which may free it.
void TEditBase::WMLButtonDown(TWMMouse& m)
{
    AliveWatch live(this);
    DefaultHandler(m);
    if (live.alive) TWinControl::WMLButtonDown(m);
}

void TEditBase::WMLButtonDblClk(TWMMouse& m)
{
    AliveWatch live(this);
    DefaultHandler(m);
    if (live.alive) TWinControl::WMLButtonDblClk(m);
}

void TEditBase::WMLButtonUp(TWMMouse& m)
{
    DefaultHandler(m);
    TWinControl::WMLButtonUp(m);
}

void TEditBase::WMMouseMove(TWMMouseMove& m)
{
    if (Cursor() == crDefault)
        if (QWidget* w = HostWidget(this)) w->setCursor(Qt::IBeamCursor);
    DefaultHandler(m);
    TWinControl::WMMouseMove(m);
}

TRect TEditBase::FormatRect() const
{
    if (formatRectSet_) return formatRect_;
    TRect r = ClientRect();
    r.Left += 1;
    r.Right = std::max(r.Left, r.Right - 1);
    r.Top += 1;
    return r;
}

bool TEditBase::FormatRectMessage(TMessage& m)
{
    switch (m.Msg) {
    case EM_GETRECT:
        if (m.LParam) *reinterpret_cast<TRect*>(m.LParam) = FormatRect();
        return true;
    case EM_SETRECT:
    case EM_SETRECTNP:
        if (const auto* r = reinterpret_cast<const TRect*>(m.LParam)) formatRect_ = *r;
        formatRectSet_ = m.LParam != 0;
        return true;
    default: return false;
    }
}

bool TEditBase::ClipboardChar(char c)
{
    switch (c) {
    case 1: Perform(EM_SETSEL, 0, -1); return true;
    case 3: Perform(WM_COPY); return true;
    case 22: Perform(WM_PASTE); return true;
    case 24: Perform(WM_CUT); return true;
    default: return false;
    }
}

void TEditBase::AnswerGetSel(TMessage& m, int start, int end)
{
    if (m.WParam) *reinterpret_cast<DWORD*>(m.WParam) = DWORD(start);
    if (m.LParam) *reinterpret_cast<DWORD*>(m.LParam) = DWORD(end);
    m.Result = LRESULT(MakeLParam(start, end));
}

bool TEditBase::ReadSetSel(const TMessage& m, int length, int& anchor, int& caret)
{
    const int s = int(std::intptr_t(m.WParam));
    int e = int(m.LParam);
    if (s < 0) return false;
    if (e < 0 || e > length) e = length;
    anchor = std::min(s, length);
    caret = e;
    return true;
}

}  // namespace platform

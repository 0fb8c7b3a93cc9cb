// Host windows: each windowed control is a QWidget that turns host events into
// message records; posted messages, capture, focus, key state and window data.
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <sys/mman.h>

#include <algorithm>
#include <map>
#include <vector>

#include "platform/controls/ControlsPrivate.h"
#include "platform/TestRig.h"

namespace platform {

void (*gHintMouseHook)(TControl*, TPoint) = nullptr;
void (*gControlGoneHook)(TControl*) = nullptr;

std::set<const TWinControl*> gLive;
std::mutex gLiveMutex;
std::uint64_t gLastSerial = 0;
TControl* gCapture = nullptr;
DragRun gDrag;
TControl* gLastMouseControl = nullptr;
TPoint gLastMouseScreen;
TControl* gMouseControl = nullptr;
bool (*gMenuKeyHook)(TWinControl*, UINT, Word, LPARAM) = nullptr;
bool (*gContextMenuHook)(TControl*, TPoint) = nullptr;
void (*gMouseActivateHook)(TWinControl*) = nullptr;
TWinControl* gFocused = nullptr;
bool gGrabbed = false;
AliveWatch* gWatches = nullptr;
AliveWatch::AliveWatch(const TControl* c) : control(c), next(gWatches) { gWatches = this; }
AliveWatch::~AliveWatch() { gWatches = next; }

namespace {

Word MapKey(const QKeyEvent* e)
{
    const int k = e->key();
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    if (keypad && k >= Qt::Key_0 && k <= Qt::Key_9) return Word(VK_NUMPAD0 + (k - Qt::Key_0));
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) return Word(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return Word(VK_F1 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_Asterisk: return keypad ? Word(VK_MULTIPLY) : Word(0);
    case Qt::Key_Plus: return keypad ? Word(VK_ADD) : Word(0xBB);
    case Qt::Key_Minus: return keypad ? Word(VK_SUBTRACT) : Word(0xBD);
    case Qt::Key_Slash: return keypad ? Word(VK_DIVIDE) : Word(0xBF);
    case Qt::Key_Period: return keypad ? Word(VK_DECIMAL) : Word(0xBE);
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Semicolon: return 0xBA;
    case Qt::Key_Equal: return 0xBB;
    case Qt::Key_QuoteLeft: return 0xC0;
    case Qt::Key_BracketLeft: return 0xDB;
    case Qt::Key_Backslash: return 0xDC;
    case Qt::Key_BracketRight: return 0xDD;
    case Qt::Key_Apostrophe: return 0xDE;
    default: return 0;
    }
}

// Modifier keys and buttons of the host event being delivered: GetKeyState answers for it.
struct EventShift : TInputScope {
    explicit EventShift(Qt::KeyboardModifiers m, Qt::MouseButtons b = {}) : TInputScope(HeldFlags(m, b)) {}
};

}  // namespace

UINT MouseKeys(Qt::MouseButtons b, Qt::KeyboardModifiers m)
{
    UINT k = 0;
    if (b & Qt::LeftButton) k |= MK_LBUTTON;
    if (b & Qt::RightButton) k |= MK_RBUTTON;
    if (b & Qt::MiddleButton) k |= MK_MBUTTON;
    if (m & Qt::ShiftModifier) k |= MK_SHIFT;
    if (m & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

namespace {
// The MK_ flags of mouse messages and the shift state flags they stand for.
struct MouseKeyFlag {
    UINT key;
    TShiftState shift;
};
constexpr MouseKeyFlag kMouseKeyFlags[] = {
    {MK_SHIFT, ssShift}, {MK_CONTROL, ssCtrl}, {MK_LBUTTON, ssLeft}, {MK_RBUTTON, ssRight}, {MK_MBUTTON, ssMiddle}};
}  // namespace

TShiftState KeysToShiftState(UINT k)
{
    TShiftState s = 0;
    for (const MouseKeyFlag& f : kMouseKeyFlags)
        if (k & f.key) s |= f.shift;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

UINT ShiftStateToKeys(unsigned shift)
{
    UINT k = 0;
    for (const MouseKeyFlag& f : kMouseKeyFlags)
        if (shift & f.shift) k |= f.key;
    return k;
}

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (keyData & KF_ALTDOWN_BIT) s |= ssAlt;
    return s;
}


bool GetCursorPos(TPoint& p)
{
    QPoint q = QCursor::pos();
    p = {q.x(), q.y()};
    return true;
}

bool SetCursorPos(int x, int y)
{
    QCursor::setPos(x, y);
    return true;
}

// ---------------------------------------------------------------- the host window

class KWidget : public QWidget {
public:
    KWidget(TWinControl* owner, QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags), owner_(owner)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
        // Windows that take wide characters take input-method results too.
        if (owner->WantsWideChars()) setAttribute(Qt::WA_InputMethodEnabled);
    }
    TWinControl* owner_;

protected:
    bool focusNextPrevChild(bool) override { return false; }
    void paintEvent(QPaintEvent* e) override;
    void ShowBacking(const QImage& backing, const QRegion& region);
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && StartSizing(e)) return;
        Mouse(e, false);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override { Mouse(e, true); }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (sizing_) {
            if (e->button() == Qt::LeftButton) sizing_ = 0;
            return;
        }
        Mouse(e, false);
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (sizing_) {
            TrackSizing(e->globalPosition().toPoint());
            return;
        }
        if (e->buttons() == Qt::NoButton && !gCapture) {
            // Over a sizing edge the window shows the sizing cursor and hears no client move.
            const int code = HitTest(e->globalPosition().toPoint());
            if (SizingCode(code)) {
                setCursor(SizingCursor(code));
                return;
            }
        }
        EventShift shift(e->modifiers(), e->buttons());
        LPARAM pos;
        TWinControl* target = MouseTarget(e, pos);
        Guarded([&] { target->Perform(WM_MOUSEMOVE, MouseKeys(e->buttons(), e->modifiers()), pos); });
    }
    void wheelEvent(QWheelEvent* e) override
    {
        EventShift shift(e->modifiers());
        int delta = e->angleDelta().y();
        if (delta == 0) return;
        QPoint g = e->globalPosition().toPoint();
        WPARAM w = MakeWParam(int(MouseKeys(e->buttons(), e->modifiers())), delta);
        Guarded([&] { owner_->Perform(WM_MOUSEWHEEL, w, MakeLParam(g.x(), g.y())); });
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        EventShift shift(e->modifiers());
        Word vk = MapKey(e);
        if (!e->isAutoRepeat()) NoteKeyEvent(vk, true);
        bool alt = e->modifiers() & Qt::AltModifier;
        LPARAM data = KeyDataOf(vk, alt);
        if (vk) Guarded([&] { owner_->Perform(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, data); });
        for (QChar qc : e->text()) {
            if (!gLive.count(owner_)) return;
            const char16_t u = qc.unicode();
            const char a = QStringToAnsi(QString(qc))[0];
            const WPARAM code = a == '?' && u >= 256 && owner_->WantsWideChars() ? WPARAM(u) : WPARAM((unsigned char)a);
            Guarded([&] { owner_->Perform(alt ? WM_SYSCHAR : WM_CHAR, code, data); });
        }
    }
    // The composed text arrives as typed characters, one after the other; the composition
    // itself is left to the input method's own window.
    void inputMethodEvent(QInputMethodEvent* e) override
    {
        const QString commit = e->commitString();
        for (QChar qc : commit) {
            if (!gLive.count(owner_)) return;
            const char16_t u = qc.unicode();
            const char a = QStringToAnsi(QString(qc))[0];
            const WPARAM code = a == '?' && u >= 256 && owner_->WantsWideChars() ? WPARAM(u) : WPARAM((unsigned char)a);
            Guarded([&] { owner_->Perform(WM_CHAR, code, 0); });
        }
        e->accept();
    }
    QVariant inputMethodQuery(Qt::InputMethodQuery q) const override
    {
        if (q == Qt::ImEnabled) return testAttribute(Qt::WA_InputMethodEnabled);
        return QWidget::inputMethodQuery(q);
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        EventShift shift(e->modifiers());
        Word vk = MapKey(e);
        if (!e->isAutoRepeat()) NoteKeyEvent(vk, false);
        bool alt = e->modifiers() & Qt::AltModifier;
        if (vk) Guarded([&] { owner_->Perform(alt ? WM_SYSKEYUP : WM_KEYUP, vk, KeyDataOf(vk, alt, true)); });
    }
    void focusInEvent(QFocusEvent*) override
    {
        if (gFocused != owner_) {
            TWinControl* old = gFocused;
            if (old) Guarded([&] { old->Perform(WM_KILLFOCUS, WPARAM(owner_)); });
            Guarded([&] { owner_->Perform(WM_SETFOCUS, WPARAM(old)); });
        }
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        if (gFocused == owner_ && e->reason() != Qt::PopupFocusReason)
            Guarded([&] { owner_->Perform(WM_KILLFOCUS, 0); });
    }
    void leaveEvent(QEvent*) override
    {
        if (gMouseControl && (gMouseControl == owner_ || gMouseControl->Parent() == owner_)) {
            TControl* c = gMouseControl;
            gMouseControl = nullptr;
            Guarded([&] { c->Perform(CM_MOUSELEAVE); });
        }
    }
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void changeEvent(QEvent* e) override
    {
        if (e->type() == QEvent::ActivationChange && isWindow())
            Guarded([&] { owner_->Perform(isActiveWindow() ? CM_ACTIVATE : CM_DEACTIVATE); });
        QWidget::changeEvent(e);
    }
    void closeEvent(QCloseEvent* e) override
    {
        e->ignore();
        Guarded([&] { owner_->Perform(WM_CLOSE); });
    }

private:
    static bool SizingCode(int code) { return code == HTCAPTION || (code >= HTLEFT && code <= HTBOTTOMRIGHT); }
    static Qt::CursorShape SizingCursor(int code)
    {
        switch (code) {
        case HTLEFT: case HTRIGHT: return Qt::SizeHorCursor;
        case HTTOP: case HTBOTTOM: return Qt::SizeVerCursor;
        case HTTOPLEFT: case HTBOTTOMRIGHT: return Qt::SizeFDiagCursor;
        case HTTOPRIGHT: case HTBOTTOMLEFT: return Qt::SizeBDiagCursor;
        default: return Qt::SizeAllCursor;
        }
    }
    // The window's answer; where the window's own client lies under the point, its
    // top-level window may still claim the point for sizing (a grip under a child).
    int HitTest(QPoint global, TWinControl** target = nullptr)
    {
        LRESULT code = HTCLIENT;
        TWinControl* who = owner_;
        Guarded([&] { code = owner_->Perform(WM_NCHITTEST, 0, MakeLParam(global.x(), global.y())); });
        if (code == HTCLIENT && gLive.count(owner_)) {
            TWinControl* top = owner_;
            while (top->Parent()) top = top->Parent();
            if (top != owner_) {
                LRESULT outer = HTCLIENT;
                Guarded([&] { outer = top->Perform(WM_NCHITTEST, 0, MakeLParam(global.x(), global.y())); });
                if (SizingCode(int(outer)) && outer != HTCAPTION) {
                    code = outer;
                    who = top;
                }
            }
        }
        if (target) *target = who;
        return int(code);
    }
    // A press on an edge, a corner or the caption that the window names starts sizing or moving.
    bool StartSizing(QMouseEvent* e)
    {
        if (gCapture && gCapture != owner_) return false;
        const QPoint g = e->globalPosition().toPoint();
        TWinControl* target = nullptr;
        const int code = HitTest(g, &target);
        if (!gLive.count(owner_) || !target || !gLive.count(target) || !SizingCode(code)) return false;
        sizing_ = code;
        sizeTarget_ = target;
        sizeFrom_ = g;
        sizeStart_ = QRect(target->Left(), target->Top(), target->Width(), target->Height());
        return true;
    }
    void TrackSizing(QPoint g)
    {
        const int dx = g.x() - sizeFrom_.x(), dy = g.y() - sizeFrom_.y();
        int l = sizeStart_.left(), t = sizeStart_.top(), r = l + sizeStart_.width(), b = t + sizeStart_.height();
        const int code = sizing_;
        if (code == HTCAPTION) {
            l += dx, r += dx, t += dy, b += dy;
        } else {
            if (code == HTLEFT || code == HTTOPLEFT || code == HTBOTTOMLEFT) l = std::min(l + dx, r - 1);
            if (code == HTRIGHT || code == HTTOPRIGHT || code == HTBOTTOMRIGHT) r = std::max(r + dx, l + 1);
            if (code == HTTOP || code == HTTOPLEFT || code == HTTOPRIGHT) t = std::min(t + dy, b - 1);
            if (code == HTBOTTOM || code == HTBOTTOMLEFT || code == HTBOTTOMRIGHT) b = std::max(b + dy, t + 1);
        }
        TWinControl* c = sizeTarget_;
        if (!gLive.count(c)) {
            sizing_ = 0;
            return;
        }
        Guarded([&] { c->SetBounds(l, t, r - l, b - t); });
    }
    int sizing_ = 0;  // the hit-test code being tracked
    TWinControl* sizeTarget_ = nullptr;
    QPoint sizeFrom_;
    QRect sizeStart_;

    void Mouse(QMouseEvent* e, bool dbl)
    {
        UINT msg = 0;
        const bool down = e->type() != QEvent::MouseButtonRelease;
        switch (e->button()) {
        case Qt::LeftButton: msg = dbl ? WM_LBUTTONDBLCLK : down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
        case Qt::RightButton: msg = dbl ? WM_RBUTTONDBLCLK : down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
        case Qt::MiddleButton: msg = dbl ? WM_MBUTTONDBLCLK : down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
        default: return;
        }
        const int vk = e->button() == Qt::LeftButton ? VK_LBUTTON : e->button() == Qt::RightButton ? VK_RBUTTON : VK_MBUTTON;
        NoteKeyEvent(vk, down);
        EventShift shift(e->modifiers(), e->buttons());
        WPARAM keys = MouseKeys(e->buttons(), e->modifiers());
        LPARAM pos;
        TWinControl* target = MouseTarget(e, pos);
        Guarded([&] { target->Perform(msg, keys, pos); });
    }
    // Another window holding the capture (even a hidden one) takes the mouse.
    TWinControl* MouseTarget(QMouseEvent* e, LPARAM& pos)
    {
        auto* cw = dynamic_cast<TWinControl*>(gCapture);
        if (cw && cw != owner_ && gLive.count(cw)) {
            QPoint g = e->globalPosition().toPoint();
            TPoint o = cw->ClientOrigin();
            pos = MakeLParam(g.x() - o.X, g.y() - o.Y);
            return cw;
        }
        const int f = owner_->FrameWidth();
        pos = MakeLParam(int(e->position().x()) - f, int(e->position().y()) - f);
        return owner_;
    }
};

namespace {

// A window's pixels, mapped with their pages made at once: the first paint touches every
// page, and one call makes them far cheaper than a fault for each.
QImage NewBacking(const QSize& size)
{
    const qsizetype bpl = qsizetype(size.width()) * 4;
    const std::size_t bytes = std::size_t(bpl) * std::size_t(size.height());
    if (bytes >= 64 * 1024) {
        void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (p != MAP_FAILED) {
            struct Mapping {
                void* at;
                std::size_t bytes;
            };
            auto* m = new Mapping{p, bytes};
            return QImage(static_cast<uchar*>(p), size.width(), size.height(), bpl, QImage::Format_RGB32,
                          [](void* info) {
                              auto* m = static_cast<Mapping*>(info);
                              munmap(m->at, m->bytes);
                              delete m;
                          },
                          m);
        }
    }
    return QImage(size, QImage::Format_RGB32);
}

}  // namespace

TWinControl::Impl::Impl() = default;
TWinControl::Impl::~Impl() = default;

void TWinControl::Impl::EnsureBacking(TWinControl* c, const QRegion* needed)
{
    QSize want(std::max(1, c->Width()), std::max(1, c->Height()));
    if (backing.size() != want) {
        QImage img = NewBacking(want);
        const QRegion whole(img.rect());
        QRegion blank = whole;
        if (!backing.isNull()) {
            QPainter p(&img);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, backing);
            blank = (whole - QRegion(backing.rect())) | (unfilled & whole);
        }
        backing = img;
        unfilled = blank;
    }
    if (unfilled.isEmpty()) return;
    const QRegion fill = needed ? unfilled & *needed : unfilled;
    if (fill.isEmpty()) return;
    FillPixels(backing, fill, ToQColor(ColorToRGB(c->Color())).rgb());
    unfilled -= fill;
}

void TWinControl::Impl::ScreenDrawn(const QRect& r)
{
    if (!widget || r.isEmpty() || !widget->isVisible()) return;
    screenOnly |= r;
    widget->update(r);
}

QWidget* NewHostWidget(TWinControl* owner, QWidget* parent, Qt::WindowFlags flags)
{
    return new KWidget(owner, parent, flags);
}

TWinControl* HostWidgetOwner(QWidget* w)
{
    auto* k = dynamic_cast<KWidget*>(w);
    return k ? k->owner_ : nullptr;
}

bool TransparentStyle(TWinControl* c)
{
    TCreateParams p;
    c->CreateParams(p);
    return p.ExStyle & WS_EX_TRANSPARENT;
}

void KWidget::paintEvent(QPaintEvent* e)
{
    if (!gLive.count(owner_)) return;
    auto& d = *owner_->impl();
    d.EnsureBacking(owner_, &e->region());
    if (d.redrawOff) {  // shows what there is; the invalid parts wait
        ShowBacking(d.backing, e->region());
        return;
    }
    // The caret leaves the pixels while the window paints, and comes back after.
    const bool caretHere = gCaret.owner == owner_ && gCaret.drawn;
    if (caretHere) InvertCaret();
    QRegion need = e->region() - (d.screenOnly - d.invalid);
    d.screenOnly = QRegion();
    d.invalid = QRegion();
    const int f = owner_->FrameWidth();
    const bool corner = d.ScrollShown(SB_VERT) && d.ScrollShown(SB_HORZ);
    if ((f > 0 || corner) && !need.isEmpty()) {
        // The frame first, on the whole window.
        DeviceContext nc;
        nc.image = &d.backing;
        nc.systemClip = need;
        Guarded([&] { owner_->Perform(WM_NCPAINT, WPARAM(&nc)); });
        if (!gLive.count(owner_)) return;
    }
    const TRect client = owner_->ClientRect();
    need &= QRect(f, f, client.Width(), client.Height());
    if (!need.isEmpty() && owner_->Parent() && TransparentStyle(owner_)) {
        // The parent's drawing under the window is where this window's painting starts.
        TWinControl* parent = owner_->Parent();
        auto& pd = *parent->impl();
        const QRegion beneath(QRect(pos(), size()));
        pd.EnsureBacking(parent, &beneath);
        QPainter under(&d.backing);
        under.setClipRegion(need);
        under.setCompositionMode(QPainter::CompositionMode_Source);
        under.drawImage(QPoint(0, 0), pd.backing, QRect(pos(), size()));
    }
    if (!need.isEmpty()) {
        DeviceContext dc;
        dc.image = &d.backing;
        dc.systemClip = need;
        dc.viewportOrg = QPoint(f, f);
        Guarded([&] {
            owner_->Perform(WM_ERASEBKGND, WPARAM(&dc));
            d.paintDC = &dc;
            owner_->Perform(WM_PAINT, 0);
        });
        if (gLive.count(owner_) && !d.glFrame.isNull()) {
            QPainter gl(&d.backing);
            gl.setClipRegion(need);
            gl.drawImage(QPoint(f, f), d.glFrame);
        }
        if (gLive.count(owner_)) d.paintDC = nullptr;
    }
    if (!gLive.count(owner_)) return;
    if (caretHere && gCaret.owner == owner_ && !gCaret.drawn) InvertCaret();
    ShowBacking(d.backing, e->region());
}

// A rectangle at a time, each its own clip: under a clip of many rectangles the copy goes
// line by line and starts the toolkit's pool of drawing threads (eight threads made before the
// first window shows).
void KWidget::ShowBacking(const QImage& backing, const QRegion& region)
{
    QPainter p(this);
    for (const QRect& r : region) {
        p.setClipRect(r);
        p.drawImage(r.topLeft(), backing, r);
    }
}

void KWidget::resizeEvent(QResizeEvent* e)
{
    if (!gLive.count(owner_) || owner_->impl()->applyingGeometry) return;
    QSize s = e->size();
    if (s.width() != owner_->Width() || s.height() != owner_->Height())
        Guarded([&] { owner_->SetBounds(owner_->Left(), owner_->Top(), s.width(), s.height()); });
}

void KWidget::moveEvent(QMoveEvent* e)
{
    if (!gLive.count(owner_) || owner_->impl()->applyingGeometry || !isWindow()) return;
    QPoint p = e->pos();
    if (p.x() != owner_->Left() || p.y() != owner_->Top())
        Guarded([&] { owner_->SetBounds(p.x(), p.y(), owner_->Width(), owner_->Height()); });
}

// ---------------------------------------------------------------- posted messages

namespace {

class PostedMessage : public QEvent {
public:
    static QEvent::Type Kind()
    {
        static int t = QEvent::registerEventType();
        return QEvent::Type(t);
    }
    PostedMessage(const TWinControl* c, std::uint64_t s, TMessage m) : QEvent(Kind()), target(c), serial(s), msg(m) {}
    const TWinControl* target;
    std::uint64_t serial;
    TMessage msg;
};

class MessagePump : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() != PostedMessage::Kind()) return QObject::event(e);
        auto* pm = static_cast<PostedMessage*>(e);
        if (gLive.count(pm->target) && pm->target->impl()->serial == pm->serial) {
            auto* c = const_cast<TWinControl*>(pm->target);
            Guarded([&] { c->Perform(pm->msg.Msg, pm->msg.WParam, pm->msg.LParam); });
        }
        return true;
    }
};

MessagePump* gPump = nullptr;

}  // namespace

void EnsureMessagePump()
{
    if (!gPump) gPump = new MessagePump;
}

TWinControl* TWinControl::FromHandle(HWND h)
{
    auto* c = reinterpret_cast<TWinControl*>(h);
    return gLive.count(c) ? c : nullptr;
}

LRESULT SendMessage(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    TWinControl* c = TWinControl::FromHandle(h);
    return c ? c->Perform(msg, w, l) : 0;
}

bool PostMessage(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    const auto* c = reinterpret_cast<const TWinControl*>(h);
    std::uint64_t serial;
    {
        std::lock_guard lock(gLiveMutex);
        if (!gLive.count(c)) return false;
        serial = c->impl()->serial;
    }
    EnsureMessagePump();
    QCoreApplication::postEvent(gPump, new PostedMessage(c, serial, TMessage{msg, w, l, 0}));
    return true;
}

UINT SetTimer(HWND h, UINT id, UINT interval, void*)
{
    TWinControl* c = TWinControl::FromHandle(h);
    return c && c->SetTimer(id, interval) ? id : 0;
}

bool KillTimer(HWND h, UINT id)
{
    TWinControl* c = TWinControl::FromHandle(h);
    return c && c->KillTimer(id);
}

bool InvalidateRect(HWND h, const TRect* r, bool)
{
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c) return false;
    if (r) c->InvalidateRect(*r);
    else c->Invalidate();
    return true;
}

// ---------------------------------------------------------------- capture and focus

TControl* GetCaptureControl() { return gCapture; }

void SetCaptureControl(TControl* c)
{
    if (c == gCapture) return;
    if (gGrabbed && gCapture) {
        if (auto* w = dynamic_cast<TWinControl*>(gCapture); w && w->impl()->widget) w->impl()->widget->releaseMouse();
        gGrabbed = false;
    }
    gCapture = c;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->impl()->widget && w->impl()->widget->isVisible() &&
                                                 QGuiApplication::mouseButtons() == Qt::NoButton &&
                                                 QGuiApplication::platformName() != QLatin1String("offscreen")) {
        w->impl()->widget->grabMouse();
        gGrabbed = true;
    }
}

HWND SetCapture(HWND h)
{
    HWND old = nullptr;
    if (auto* w = dynamic_cast<TWinControl*>(gCapture)) old = reinterpret_cast<HWND>(w);
    SetCaptureControl(TWinControl::FromHandle(h));
    return old;
}

bool ReleaseCapture()
{
    SetCaptureControl(nullptr);
    return true;
}

HWND GetCapture()
{
    auto* w = dynamic_cast<TWinControl*>(gCapture);
    return w ? reinterpret_cast<HWND>(w) : nullptr;
}

TWinControl* FindFocusedControl() { return gFocused; }

bool RedrawWindow(HWND h, const TRect* r, HRGN, UINT flags)
{
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c) return false;
    if (flags & RDW_INVALIDATE) {
        if (r) c->InvalidateRect(*r);
        else c->Invalidate();
        if (flags & RDW_ALLCHILDREN)
            for (int i = 0; i < c->ControlCount(); ++i)
                if (auto* w = dynamic_cast<TWinControl*>(c->Controls(i)); w && w->HandleAllocated())
                    RedrawWindow(reinterpret_cast<HWND>(w), nullptr, nullptr, flags & ~UINT(RDW_UPDATENOW));
    }
    if (flags & RDW_UPDATENOW) c->Update();
    return true;
}

UINT RegisterWindowMessage(const std::string& name)
{
    static std::map<std::string, UINT> names;
    if (name.empty()) return 0;
    auto it = names.find(name);
    if (it != names.end()) return it->second;
    const UINT id = 0xC000 + 0x800 + UINT(names.size());  // apart from the clipboard formats
    names[name] = id;
    return id;
}

int WheelScrollLines()
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    return app ? QApplication::wheelScrollLines() : 3;
}

LPARAM SetWindowLongPtr(HWND h, int index, LPARAM value)
{
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c || index != GWLP_USERDATA) return 0;
    LPARAM old = c->impl()->userData;
    c->impl()->userData = value;
    return old;
}

LPARAM GetWindowLongPtr(HWND h, int index)
{
    TWinControl* c = TWinControl::FromHandle(h);
    return c && index == GWLP_USERDATA ? c->impl()->userData : 0;
}

int SetWindowRgn(HWND h, HRGN rgn, bool)
{
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c) return 0;
    auto* d = c->impl();
    if (rgn) d->shape = rgn->rgn;
    else d->shape.reset();
    DeleteObject(rgn);  // the window owns it now
    if (d->widget) {
        if (d->shape) d->widget->setMask(*d->shape);
        else d->widget->clearMask();
    }
    return 1;
}

int GetWindowRgn(HWND h, HRGN rgn)
{
    TWinControl* c = TWinControl::FromHandle(h);
    if (!c || !rgn || !c->impl()->shape) return ERROR;
    rgn->rgn = *c->impl()->shape;
    return rgn->rgn.rectCount() > 1 ? COMPLEXREGION : rgn->rgn.isEmpty() ? NULLREGION : SIMPLEREGION;
}

namespace {
bool HitsWindow(TWinControl* c, TPoint windowPos)
{
    if (!PtInRect(Rect(0, 0, c->Width(), c->Height()), windowPos)) return false;
    const auto& shape = c->impl()->shape;
    return !shape || shape->contains(QPoint(windowPos.X, windowPos.Y));
}
}  // namespace

HWND ChildWindowFromPoint(HWND parent, TPoint p)
{
    TWinControl* c = TWinControl::FromHandle(parent);
    if (!c) return nullptr;
    const int f = c->FrameWidth();
    if (!HitsWindow(c, {p.X + f, p.Y + f})) return nullptr;
    for (int i = c->ControlCount() - 1; i >= 0; --i) {
        auto* w = dynamic_cast<TWinControl*>(c->Controls(i));
        if (w && w->Visible() && HitsWindow(w, {p.X - w->Left(), p.Y - w->Top()})) return w->Handle();
    }
    return parent;
}

HWND WindowFromPoint(TPoint screen)
{
    std::vector<TWinControl*> tops;
    {
        std::lock_guard lock(gLiveMutex);
        for (const TWinControl* k : gLive) {
            auto* c = const_cast<TWinControl*>(k);
            if (!c->Parent() && c->HandleAllocated() && c->impl()->widget->isVisible()) tops.push_back(c);
        }
    }
    // The window made last counts as the one on top.
    std::sort(tops.begin(), tops.end(),
              [](TWinControl* a, TWinControl* b) { return a->impl()->serial > b->impl()->serial; });
    for (TWinControl* top : tops) {
        const QPoint g = top->impl()->widget->mapToGlobal(QPoint(0, 0));
        if (!HitsWindow(top, {screen.X - g.x(), screen.Y - g.y()})) continue;
        HWND at = top->Handle();
        for (;;) {
            TWinControl* c = TWinControl::FromHandle(at);
            const TPoint o = c->ClientOrigin();
            HWND inner = ChildWindowFromPoint(at, {screen.X - o.X, screen.Y - o.Y});
            if (!inner || inner == at) return at;
            at = inner;
        }
    }
    return nullptr;
}

HDC GetDC(HWND h)
{
    auto* dc = new DeviceContext;
    if (TWinControl* c = TWinControl::FromHandle(h)) {
        c->HandleNeeded();
        c->impl()->EnsureBacking(c);
        dc->image = &c->impl()->backing;
        dc->window = h;
        const int f = c->FrameWidth();
        const TRect client = c->ClientRect();
        dc->viewportOrg = QPoint(f, f);
        dc->deviceBounds = QRect(f, f, client.Width(), client.Height());
        dc->onDraw = [c](const QRect& r) {
            if (gLive.count(c)) c->impl()->ScreenDrawn(r);
        };
    } else {
        static QImage screen(1, 1, QImage::Format_RGB32);
        dc->image = &screen;
        dc->systemClip = QRegion();  // measures, draws nothing
    }
    dc->font = MakeQFont("MS Sans Serif", -11, 0, fpDefault);
    return dc;
}

int ReleaseDC(HWND, HDC dc)
{
    delete dc;
    return dc ? 1 : 0;
}

QWidget* HostWidget(TWinControl* c) { return c ? c->impl()->widget : nullptr; }

}  // namespace platform

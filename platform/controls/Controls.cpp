// Controls on QWidget: message records in, VCL-shaped handlers out.
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <map>
#include <mutex>
#include <set>

#include "platform/controls/Controls.h"
#include "platform/Private.h"
#include "platform/TestRig.h"

namespace platform {

void (*gHintMouseHook)(TControl*, TPoint) = nullptr;
void (*gControlGoneHook)(TControl*) = nullptr;

namespace {

std::set<const TWinControl*> gLive;
std::mutex gLiveMutex;  // gLive changes on the GUI thread only; PostMessage may read it from others
// Every window gets its own number, so that a message posted to a window that is gone
// does not reach a later one made at the same address.
std::uint64_t gLastSerial = 0;
TControl* gCapture = nullptr;

// The drag under way, if any.
struct DragRun {
    TControl* source = nullptr;
    TDragObject* object = nullptr;
    bool ownObject = false;
    bool started = false;
    int threshold = 5;
    TPoint start;  // screen
    TControl* target = nullptr;
    bool accepted = false;
    TCursor savedCursor = crDefault;
};
DragRun gDrag;
// Where the last mouse message pointed, for a drag that begins in its handler.
TControl* gLastMouseControl = nullptr;
TPoint gLastMouseScreen;
TControl* gMouseControl = nullptr;
TWinControl* gFocused = nullptr;
bool gGrabbed = false;

// Watches a control while its handlers run: a handler may free the control, after which
// the message code must not touch it. Watches nest on the GUI thread's stack.
struct AliveWatch {
    explicit AliveWatch(const TControl* c);
    ~AliveWatch();
    AliveWatch(const AliveWatch&) = delete;
    AliveWatch& operator=(const AliveWatch&) = delete;
    const TControl* control;
    bool alive = true;
    AliveWatch* next;
};
AliveWatch* gWatches = nullptr;
AliveWatch::AliveWatch(const TControl* c) : control(c), next(gWatches) { gWatches = this; }
AliveWatch::~AliveWatch() { gWatches = next; }

bool IsMouseMsg(UINT m) { return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST; }

Qt::CursorShape CursorShape(TCursor c)
{
    switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: case crSQLWait: return Qt::WaitCursor;
    case crDrag: case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop: case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

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

// Modifier keys pinned by the test rig while it sends a key message.
int gSimulatedShift = -1;
// Modifier keys of the host event being delivered: GetKeyState answers for the message.
int gEventShift = -1;

struct EventShift {
    int saved;
    explicit EventShift(Qt::KeyboardModifiers m) : saved(gEventShift)
    {
        gEventShift = ((m & Qt::ShiftModifier) ? int(ssShift) : 0) | ((m & Qt::ControlModifier) ? int(ssCtrl) : 0) |
                      ((m & Qt::AltModifier) ? int(ssAlt) : 0);
    }
    ~EventShift() { gEventShift = saved; }
};

}  // namespace

void SetSimulatedShiftState(int shift) { gSimulatedShift = shift; }

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

short GetKeyState(int vk)
{
    const int pinned = gSimulatedShift >= 0 ? gSimulatedShift : gEventShift;
    if (pinned >= 0) {
        if (vk == VK_SHIFT) return (pinned & ssShift) ? short(-128) : short(0);
        if (vk == VK_CONTROL) return (pinned & ssCtrl) ? short(-128) : short(0);
        if (vk == VK_MENU) return (pinned & ssAlt) ? short(-128) : short(0);
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
    Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
    Qt::MouseButtons b = QGuiApplication::mouseButtons();
    bool down = false;
    switch (vk) {
    case VK_SHIFT: down = m & Qt::ShiftModifier; break;
    case VK_CONTROL: down = m & Qt::ControlModifier; break;
    case VK_MENU: down = m & Qt::AltModifier; break;
    case VK_LBUTTON: down = b & Qt::LeftButton; break;
    case VK_RBUTTON: down = b & Qt::RightButton; break;
    case VK_MBUTTON: down = b & Qt::MiddleButton; break;
    default: break;
    }
    return down ? short(-128) : short(0);
}

short GetAsyncKeyState(int vk) { return GetKeyState(vk); }

bool GetCursorPos(TPoint& p)
{
    QPoint q = QCursor::pos();
    p = {q.x(), q.y()};
    return true;
}

// ---------------------------------------------------------------- the caret

namespace {
struct Caret {
    TWinControl* owner = nullptr;
    QRect rect;
    int hideCount = 1;
    bool drawn = false;
    UINT blinkTime = 530;
    QTimer* timer = nullptr;
};
Caret gCaret;
void InvertCaret();
}  // namespace

// ---------------------------------------------------------------- the host window

class KWidget : public QWidget {
public:
    KWidget(TWinControl* owner, QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags), owner_(owner)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
    }
    TWinControl* owner_;

protected:
    bool focusNextPrevChild(bool) override { return false; }
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override { Mouse(e, false); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { Mouse(e, true); }
    void mouseReleaseEvent(QMouseEvent* e) override { Mouse(e, false); }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        EventShift shift(e->modifiers());
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
        bool alt = e->modifiers() & Qt::AltModifier;
        LPARAM data = alt ? KF_ALTDOWN_BIT : 0;
        if (vk) Guarded([&] { owner_->Perform(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, data); });
        const std::string text = QStringToAnsi(e->text());
        for (char c : text) {
            if (!gLive.count(owner_)) return;
            Guarded([&] { owner_->Perform(alt ? WM_SYSCHAR : WM_CHAR, WPARAM((unsigned char)c), data); });
        }
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        EventShift shift(e->modifiers());
        Word vk = MapKey(e);
        bool alt = e->modifiers() & Qt::AltModifier;
        if (vk) Guarded([&] { owner_->Perform(alt ? WM_SYSKEYUP : WM_KEYUP, vk, alt ? KF_ALTDOWN_BIT : 0); });
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
        EventShift shift(e->modifiers());
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

struct TWinControl::Impl {
    std::uint64_t serial = 0;
    KWidget* widget = nullptr;
    QImage backing;
    QRegion invalid, screenOnly;
    DeviceContext* paintDC = nullptr;
    std::map<UINT, std::unique_ptr<QTimer>> timers;
    bool applyingGeometry = false;
    LPARAM userData = 0;
    std::optional<QRegion> shape;
    // Scroll bars: horizontal [0], vertical [1].
    SCROLLINFO scroll[2];
    bool scrollForced[2] = {false, false};  // shown by ShowScrollBar
    bool scrollDisableNoScroll[2] = {false, false};
    bool scrollHidden[2] = {false, false};  // hidden by ShowScrollBar until the next SetScrollInfo
    QScrollBar* bars[2] = {nullptr, nullptr};
    bool ScrollShown(int b) const
    {
        const SCROLLINFO& i = scroll[b];
        const int maxPos = std::max(i.nMin, i.nMax - std::max(int(i.nPage) - 1, 0));
        return !scrollHidden[b] && (scrollForced[b] || scrollDisableNoScroll[b] || maxPos > i.nMin);
    }

    void EnsureBacking(TWinControl* c)
    {
        QSize want(std::max(1, c->Width()), std::max(1, c->Height()));
        if (backing.size() == want) return;
        QImage img(want, QImage::Format_RGB32);
        img.fill(ToQColor(ColorToRGB(c->Color())));
        if (!backing.isNull()) {
            QPainter p(&img);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, backing);
        }
        backing = img;
    }
    // Drawing outside a paint message shows at once and is not repainted over.
    void ScreenDrawn(const QRect& r)
    {
        if (!widget || r.isEmpty() || !widget->isVisible()) return;
        screenOnly |= r;
        widget->update(r);
    }
};

void KWidget::paintEvent(QPaintEvent* e)
{
    if (!gLive.count(owner_)) return;
    auto& d = *owner_->impl();
    d.EnsureBacking(owner_);
    // The caret leaves the pixels while the window paints, and comes back after.
    const bool caretHere = gCaret.owner == owner_ && gCaret.drawn;
    if (caretHere) InvertCaret();
    QRegion need = e->region() - (d.screenOnly - d.invalid);
    d.screenOnly = QRegion();
    d.invalid = QRegion();
    const int f = owner_->FrameWidth();
    if (f > 0 && !need.isEmpty()) {
        // The frame first, on the whole window.
        DeviceContext nc;
        nc.image = &d.backing;
        nc.systemClip = need;
        Guarded([&] { owner_->Perform(WM_NCPAINT, WPARAM(&nc)); });
        if (!gLive.count(owner_)) return;
    }
    const TRect client = owner_->ClientRect();
    need &= QRect(f, f, client.Width(), client.Height());
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
        if (gLive.count(owner_)) d.paintDC = nullptr;
    }
    if (!gLive.count(owner_)) return;
    if (caretHere && gCaret.owner == owner_ && !gCaret.drawn) InvertCaret();
    QPainter p(this);
    p.setClipRegion(e->region());
    p.drawImage(0, 0, d.backing);
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

MessagePump* Pump()
{
    // Made by the first windowed control, on the GUI thread, before any worker posts.
    static MessagePump* pump = nullptr;
    if (!pump) pump = new MessagePump;
    return pump;
}

}  // namespace

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
    QCoreApplication::postEvent(Pump(), new PostedMessage(c, serial, TMessage{msg, w, l, 0}));
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

// ---------------------------------------------------------------- TControlCanvas

TControlCanvas::TControlCanvas(TControl* c) : control_(c) {}
TControlCanvas::~TControlCanvas() = default;

void TControlCanvas::SetDC(DeviceContext* dc)
{
    inPaint_ = dc != nullptr;
    AttachDC(dc);
}

void TControlCanvas::PaintOn(DeviceContext* dc, const std::function<void()>& paint)
{
    SetDC(dc);
    try {
        paint();
    } catch (...) {
        SetDC(nullptr);
        throw;
    }
    SetDC(nullptr);
}

void TControlCanvas::FreeHandle()
{
    if (!inPaint_) AttachDC(nullptr);
}

void TControlCanvas::CreateHandle()
{
    TWinControl* host = control_->HostWindow();
    if (!host) return;
    host->HandleNeeded();
    auto* d = host->impl();
    d->EnsureBacking(host);
    if (!windowDC_) windowDC_ = std::make_unique<DeviceContext>();
    DeviceContext& dc = *windowDC_;
    dc.ResetState();
    dc.image = &d->backing;
    const int f = host->FrameWidth();
    TPoint off = control_->OffsetInHost();
    dc.viewportOrg = QPoint(off.X + f, off.Y + f);
    const TRect client = host->ClientRect();
    dc.deviceBounds = host == control_ ? QRect(f, f, client.Width(), client.Height())
                                       : QRect(off.X + f, off.Y + f, control_->Width(), control_->Height()) &
                                             QRect(f, f, client.Width(), client.Height());
    dc.onDraw = [host](const QRect& r) {
        if (gLive.count(host)) host->impl()->ScreenDrawn(r);
    };
    AttachDC(&dc);
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_.OnChange = [this](TObject*) {
        parentFont_ = false;
        NotifyFontChanged();
    };
}

TControl::~TControl()
{
    for (AliveWatch* w = gWatches; w; w = w->next)
        if (w->control == this) w->alive = false;
    if (gCapture == this) SetCaptureControl(nullptr);
    if (gMouseControl == this) gMouseControl = nullptr;
    if (gLastMouseControl == this) gLastMouseControl = nullptr;
    if (gDrag.target == this) gDrag.target = nullptr;
    if (gDrag.source == this) {
        if (gDrag.ownObject) delete gDrag.object;
        gDrag = DragRun();
    }
    if (gControlGoneHook) gControlGoneHook(this);
    if (parent_) parent_->RemoveControl(this);
}

void TControl::NotifyFontChanged() { Perform(CM_FONTCHANGED); }

void TControl::SetParent(TWinControl* p)
{
    if (p == parent_) return;
    if (p == this) throw base::EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (p) p->InsertControl(this);
}

TPoint TControl::OffsetInHost() const
{
    if (dynamic_cast<const TWinControl*>(this)) return {0, 0};
    TPoint o{left_, top_};
    return o;
}

TWinControl* TControl::HostWindow() const { return parent_; }

TPoint TControl::ClientOrigin() const
{
    if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->impl()->widget) {
        const int f = w->FrameWidth();
        QPoint g = w->impl()->widget->mapToGlobal(QPoint(f, f));
        return {g.x(), g.y()};
    }
    const int own = dynamic_cast<const TWinControl*>(this) ? static_cast<const TWinControl*>(this)->FrameWidth() : 0;
    if (!parent_) return {left_ + own, top_ + own};
    TPoint p = parent_->ClientOrigin();
    return {p.X + left_ + own, p.Y + top_ + own};
}

TPoint TControl::ClientToScreen(TPoint p) const
{
    TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const
{
    TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetBounds(int l, int t, int w, int h)
{
    if (Constraints.MaxWidth > 0) w = std::min(w, Constraints.MaxWidth);
    if (Constraints.MaxHeight > 0) h = std::min(h, Constraints.MaxHeight);
    w = std::max({0, w, Constraints.MinWidth});
    h = std::max({0, h, Constraints.MinHeight});
    if (l == left_ && t == top_ && w == width_ && h == height_) return;
    const bool sized = w != width_ || h != height_, moved = l != left_ || t != top_;
    if (parent_ && visible_) parent_->InvalidateRect(BoundsRect());
    left_ = l;
    top_ = t;
    width_ = w;
    height_ = h;
    if (parent_ && !parent_->aligning_) {
        anchorRight_ = parent_->ClientWidth() - (left_ + width_);
        anchorBottom_ = parent_->ClientHeight() - (top_ + height_);
    }
    if (parent_ && visible_) parent_->InvalidateRect(BoundsRect());
    if (sized) Perform(WM_SIZE, 0, MakeLParam(ClientWidth(), ClientHeight()));
    if (moved) Perform(WM_MOVE, 0, MakeLParam(left_, top_));
    if (parent_ && !parent_->aligning_ && align_ != alNone) parent_->Realign();
}

void TControl::SetVisible(bool v)
{
    if (v == visible_) return;
    visible_ = v;
    Perform(CM_VISIBLECHANGED, v);
    if (parent_) {
        parent_->InvalidateRect(BoundsRect());
        if (align_ != alNone) parent_->Realign();
    }
}

bool TControl::Showing() const
{
    if (!visible_) return false;
    if (parent_) return parent_->Showing();
    if (auto* w = dynamic_cast<const TWinControl*>(this)) return w->impl()->widget && w->impl()->widget->isVisible();
    return false;
}

void TControl::SetEnabled(bool e)
{
    if (e == enabled_) return;
    enabled_ = e;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor c)
{
    if (c == color_) return;
    color_ = c;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v)
{
    parentColor_ = v;
    if (v && parent_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
    }
}

void TControl::SetParentFont(bool v)
{
    parentFont_ = v;
    if (v) ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || !parent_) return;
    auto keep = font_.OnChange;
    font_.OnChange = nullptr;
    font_.Assign(parent_->font_);
    font_.OnChange = keep;
    NotifyFontChanged();
}

void TControl::SetText(const std::string& s)
{
    if (s == text_) return;
    text_ = s;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool v)
{
    showHint_ = v;
    parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool v)
{
    parentShowHint_ = v;
    if (v && parent_) showHint_ = parent_->ShowHint();
}

void TControl::SetCursor(TCursor c)
{
    if (c == cursor_) return;
    cursor_ = c;
    Perform(CM_CURSORCHANGED);
}

void TControl::CMCursorChanged(TMessage&)
{
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->impl()->widget) {
        if (cursor_ == crDefault) w->impl()->widget->unsetCursor();
        else w->impl()->widget->setCursor(CursorShape(cursor_));
    }
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (parentColor_ && parent_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
    }
}

void TControl::CMParentFontChanged(TMessage&) { ParentFontChanged(); }

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (parentShowHint_ && parent_) showHint_ = parent_->ShowHint();
}

void TControl::SetAlign(TAlign a)
{
    if (a == align_) return;
    align_ = a;
    if (parent_) parent_->Realign();
}

void TControl::SetAnchors(TAnchors a) { anchors_ = a; }

bool TControl::MouseCapture() const { return gCapture == this; }

void TControl::SetMouseCapture(bool v)
{
    if (v) SetCaptureControl(this);
    else if (gCapture == this) SetCaptureControl(nullptr);
}

void TControl::Invalidate()
{
    if (parent_ && visible_) parent_->InvalidateRect(BoundsRect());
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::Update()
{
    if (parent_) parent_->Update();
}

void TControl::BringToFront()
{
    if (!parent_) {
        if (auto* w = dynamic_cast<TWinControl*>(this); w && w->impl()->widget) w->impl()->widget->raise();
        return;
    }
    auto& v = parent_->controls_;
    v.erase(std::find(v.begin(), v.end(), this));
    v.push_back(this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->impl()->widget) w->impl()->widget->raise();
    Invalidate();
}

void TControl::SendToBack()
{
    if (!parent_) return;
    auto& v = parent_->controls_;
    v.erase(std::find(v.begin(), v.end(), this));
    v.insert(v.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->impl()->widget) w->impl()->widget->lower();
    Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM w, LPARAM l)
{
    TMessage m{msg, w, l, 0};
    if (WindowProc) WindowProc(m);
    else WndProc(m);
    return m.Result;
}

namespace {
bool DragMouse(TControl* c, TMessage& m);
}

void TControl::WndProc(TMessage& m)
{
    if (IsMouseMsg(m.Msg) && m.Msg != WM_MOUSEWHEEL) {
        gLastMouseControl = this;
        gLastMouseScreen = ClientToScreen(m.Pos());
    }
    if (gDrag.source == this && IsMouseMsg(m.Msg) && DragMouse(this, m)) return;
    if (IsMouseMsg(m.Msg)) {
        switch (m.Msg) {
        case WM_MOUSEMOVE: {
            if (gMouseControl != this) {
                AliveWatch live(this);
                TControl* old = gMouseControl;
                gMouseControl = this;
                if (old) old->Perform(CM_MOUSELEAVE);
                if (!live.alive) return;
                Perform(CM_MOUSEENTER);
                if (!live.alive) return;
            }
            if (TWinControl* host = HostWindow(); host && host->impl()->widget) {
                TCursor c = cursor_;
                if (c == crDefault) host->impl()->widget->unsetCursor();
                else host->impl()->widget->setCursor(CursorShape(c));
            }
            if (gHintMouseHook) gHintMouseHook(this, m.Pos());
            break;
        }
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
            if (!(ControlStyle & csDoubleClicks)) m.Msg -= 1;  // a plain press
            break;
        default: break;
        }
    }
    Dispatch(m);
}

void TControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(m); break;
    case WM_LBUTTONUP: WMLButtonUp(m); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(m); break;
    case WM_RBUTTONDOWN: WMRButtonDown(m); break;
    case WM_RBUTTONUP: WMRButtonUp(m); break;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(m); break;
    case WM_MBUTTONDOWN: WMMButtonDown(m); break;
    case WM_MBUTTONUP: WMMButtonUp(m); break;
    case WM_MBUTTONDBLCLK: WMMButtonDblClk(m); break;
    case WM_MOUSEMOVE: WMMouseMove(m); break;
    case WM_MOUSEWHEEL: WMMouseWheel(m); break;
    case WM_CANCELMODE: WMCancelMode(m); break;
    case WM_SIZE: WMSize(m); break;
    case WM_MOVE: WMMove(m); break;
    case WM_PAINT: WMPaint(m); break;
    case CM_MOUSEENTER: CMMouseEnter(m); break;
    case CM_MOUSELEAVE: CMMouseLeave(m); break;
    case CM_HINTSHOW: CMHintShow(m); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); break;
    case CM_COLORCHANGED: CMColorChanged(m); break;
    case CM_FONTCHANGED: CMFontChanged(m); break;
    case CM_TEXTCHANGED: CMTextChanged(m); break;
    case CM_CURSORCHANGED: CMCursorChanged(m); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(m); break;
    case CM_HITTEST: CMHitTest(m); break;
    default: DefaultHandler(m); break;
    }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::MouseButtonMessage(TMessage& m, TMouseButton b, bool down, bool dbl)
{
    const TShiftState shift = KeysToShiftState(m.Keys()) | (dbl ? unsigned(ssDouble) : 0u);
    // A handler may free the control (a click that closes what it sits on).
    AliveWatch live(this);
    if (down) {
        if (gCapture && gCapture != this) gCapture->Perform(WM_CANCELMODE);
        if (!live.alive) return;
        if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
        if (dbl) {
            if (b == mbLeft && (ControlStyle & csClickEvents)) DblClick();
            if (!live.alive) return;
        } else if (b == mbLeft && (ControlStyle & csClickEvents)) {
            ControlState |= csClicked;
        }
        if (!(ControlStyle & csNoStdEvents)) MouseDown(b, shift, m.XPos(), m.YPos());
        if (!live.alive) return;
        if (b == mbLeft && !dbl && DragMode == dmAutomatic && !Dragging()) BeginDrag(false);
        return;
    }
    if (ControlStyle & csCaptureMouse) SetMouseCapture(false);
    if (b == mbLeft && (ControlState & csClicked)) {
        ControlState &= ~csClicked;
        if (PtInRect(ClientRect(), m.Pos())) Click();
        if (!live.alive) return;
    }
    if (!(ControlStyle & csNoStdEvents)) MouseUp(b, shift, m.XPos(), m.YPos());
}

void TControl::WMLButtonDown(TWMMouse& m) { MouseButtonMessage(m, mbLeft, true, false); }
void TControl::WMLButtonUp(TWMMouse& m) { MouseButtonMessage(m, mbLeft, false, false); }
void TControl::WMLButtonDblClk(TWMMouse& m) { MouseButtonMessage(m, mbLeft, true, true); }
void TControl::WMRButtonDown(TWMMouse& m) { MouseButtonMessage(m, mbRight, true, false); }
void TControl::WMRButtonUp(TWMMouse& m) { MouseButtonMessage(m, mbRight, false, false); }
void TControl::WMRButtonDblClk(TWMMouse& m) { MouseButtonMessage(m, mbRight, true, true); }
void TControl::WMMButtonDown(TWMMouse& m) { MouseButtonMessage(m, mbMiddle, true, false); }
void TControl::WMMButtonUp(TWMMouse& m) { MouseButtonMessage(m, mbMiddle, false, false); }
void TControl::WMMButtonDblClk(TWMMouse& m) { MouseButtonMessage(m, mbMiddle, true, true); }

// ---------------------------------------------------------------- dragging

namespace {

TControl* ControlAtScreen(TPoint screen)
{
    TWinControl* top = nullptr;
    if (QWidget* w = QApplication::widgetAt(screen.X, screen.Y)) {
        for (; w && !top; w = w->parentWidget())
            if (auto* k = dynamic_cast<KWidget*>(w)) top = k->owner_;
    }
    if (!top)
        for (const TWinControl* c : gLive)
            if (!c->Parent() && c->impl()->widget && c->impl()->widget->isVisible() &&
                PtInRect(c->ClientRect(), c->ScreenToClient(screen)))
                top = const_cast<TWinControl*>(c);
    if (!top) return nullptr;
    TControl* hit = top;
    while (auto* wc = dynamic_cast<TWinControl*>(hit)) {
        TControl* inner = wc->ControlAtPos(wc->ScreenToClient(screen), false, true);
        if (!inner) break;
        hit = inner;
    }
    return hit;
}

void SetDragCursor(TCursor c)
{
    TWinControl* host = gDrag.source ? gDrag.source->HostWindow() : nullptr;
    if (!host || !host->impl()->widget) return;
    if (c == crDefault) host->impl()->widget->unsetCursor();
    else host->impl()->widget->setCursor(CursorShape(c));
}

void FinishDrag(bool drop, TPoint screen)
{
    DragRun run = gDrag;
    gDrag = DragRun();
    TControl* source = run.source;
    if (!source) return;
    if (source->MouseCapture()) source->SetMouseCapture(false);
    SetDragCursor(source->Cursor());
    TObject* dragged = run.ownObject || !run.object ? static_cast<TObject*>(source) : run.object;
    TControl* target = run.started ? run.target : nullptr;
    TPoint local{};
    if (target) {
        local = target->ScreenToClient(screen);
        if (!drop || !run.accepted) {
            bool accept = false;
            target->DragOver(dragged, local.X, local.Y, dsDragLeave, accept);
        }
    }
    const bool dropped = drop && target && run.accepted;
    if (dropped) target->DragDrop(dragged, local.X, local.Y);
    if (run.started) {
        TPoint sp = source->ScreenToClient(screen);
        if (dropped) source->DoEndDrag(target, local.X, local.Y);
        else source->DoEndDrag(nullptr, sp.X, sp.Y);
    }
    if (run.ownObject) delete run.object;
}

bool DragMouse(TControl* c, TMessage& m)
{
    const TPoint screen = c->ClientToScreen(m.Pos());
    if (!gDrag.started) {
        if (m.Msg == WM_MOUSEMOVE && (std::abs(screen.X - gDrag.start.X) > gDrag.threshold ||
                                      std::abs(screen.Y - gDrag.start.Y) > gDrag.threshold)) {
            gDrag.started = true;
        } else {
            if (m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP) FinishDrag(false, screen);
            return false;  // an ordinary move or release until the drag starts
        }
    }
    TObject* dragged = gDrag.ownObject || !gDrag.object ? static_cast<TObject*>(c) : gDrag.object;
    if (gDrag.object) gDrag.object->DragPos = screen;
    if (m.Msg == WM_MOUSEMOVE) {
        TControl* target = ControlAtScreen(screen);
        if (target != gDrag.target) {
            if (gDrag.target) {
                TPoint p = gDrag.target->ScreenToClient(screen);
                bool accept = false;
                gDrag.target->DragOver(dragged, p.X, p.Y, dsDragLeave, accept);
            }
            gDrag.target = target;
            gDrag.accepted = false;
            if (target) {
                TPoint p = target->ScreenToClient(screen);
                bool accept = bool(target->OnDragOver);
                target->DragOver(dragged, p.X, p.Y, dsDragEnter, accept);
                gDrag.accepted = accept;
            }
        } else if (target) {
            TPoint p = target->ScreenToClient(screen);
            bool accept = bool(target->OnDragOver);
            target->DragOver(dragged, p.X, p.Y, dsDragMove, accept);
            gDrag.accepted = accept;
        }
        SetDragCursor(gDrag.accepted ? c->DragCursor : crNoDrop);
        return true;
    }
    if (m.Msg == WM_LBUTTONUP) {
        FinishDrag(true, screen);
        return true;
    }
    return true;  // other buttons do nothing while dragging
}

}  // namespace

void TControl::BeginDrag(bool Immediate, int Threshold)
{
    if (gDrag.source) return;
    gDrag = DragRun();
    gDrag.source = this;
    gDrag.threshold = Threshold < 0 ? 5 : Threshold;
    GetCursorPos(gDrag.start);
    if (gLastMouseControl == this) gDrag.start = gLastMouseScreen;
    TDragObject* obj = nullptr;
    DoStartDrag(obj);
    if (!gDrag.source) return;  // cancelled meanwhile
    if (obj) {
        gDrag.object = obj;
    } else {
        gDrag.object = new TDragObject;
        gDrag.ownObject = true;
    }
    gDrag.object->Control = this;
    gDrag.object->DragPos = gDrag.start;
    gDrag.started = Immediate;
    SetMouseCapture(true);
}

void TControl::EndDrag(bool Drop)
{
    if (gDrag.source != this) return;
    TPoint p;
    GetCursorPos(p);
    if (gDrag.object) p = gDrag.object->DragPos;
    FinishDrag(Drop, p);
}

bool TControl::Dragging() const { return gDrag.source == this; }

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y)
{
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoStartDrag(TDragObject*& DragObject)
{
    if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y)
{
    if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void TControl::WMMouseMove(TWMMouseMove& m)
{
    if (!(ControlStyle & csNoStdEvents)) MouseMove(KeysToShiftState(m.Keys()), m.XPos(), m.YPos());
}

void TControl::WMMouseWheel(TWMMouseWheel& m)
{
    if (DoMouseWheel(KeysToShiftState(m.Keys()), m.WheelDelta(), m.Pos())) {
        m.Result = 1;
        return;
    }
    if (parent_) m.Result = parent_->Perform(m.Msg, m.WParam, m.LParam);
}

void TControl::WMCancelMode(TWMCancelMode&)
{
    if (MouseCapture()) {
        SetMouseCapture(false);
        ControlState &= ~csClicked;
    }
}

void TControl::WMSize(TWMSize&) { Resize(); }
void TControl::WMMove(TWMMove&) {}
void TControl::CMMouseEnter(TMessage& m) { DefaultHandler(m); }
void TControl::CMMouseLeave(TMessage& m) { DefaultHandler(m); }

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y)
{
    if (OnMouseMove) OnMouseMove(this, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TControl::Click()
{
    if (OnClick) OnClick(this);
}
void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}
bool TControl::DoMouseWheel(TShiftState s, int delta, TPoint pos)
{
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, s, delta, pos, handled);
    if (!handled) handled = delta < 0 ? DoMouseWheelDown(s, pos) : DoMouseWheelUp(s, pos);
    return handled;
}
bool TControl::DoMouseWheelDown(TShiftState, TPoint) { return false; }
bool TControl::DoMouseWheelUp(TShiftState, TPoint) { return false; }
void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), impl_(std::make_unique<Impl>())
{
    {
        std::lock_guard lock(gLiveMutex);
        gLive.insert(this);
        impl_->serial = ++gLastSerial;
    }
    Pump();
    brush_.SetColor(Color());
}

TWinControl::~TWinControl()
{
    for (auto& t : impl_->timers) t.second->stop();
    impl_->timers.clear();
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        controls_.pop_back();
        c->parent_ = nullptr;
        delete c;
    }
    if (gFocused == this) gFocused = nullptr;
    if (gCaret.owner == this) {
        if (gCaret.timer) gCaret.timer->stop();
        gCaret.owner = nullptr;
    }
    DestroyHandle();
    std::lock_guard lock(gLiveMutex);
    gLive.erase(this);
}

HWND TWinControl::Handle()
{
    if (!impl_->widget) CreateHandle();
    return reinterpret_cast<HWND>(this);
}

bool TWinControl::HandleAllocated() const { return impl_->widget != nullptr; }

void TWinControl::CreateParams(TCreateParams& p)
{
    p.Caption = Text();
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    p.Style = Parent() ? DWORD(WS_CHILD) : DWORD(0);
}

void TWinControl::CreateHandle()
{
    if (impl_->widget) return;
    EnsurePlatform();
    QWidget* parentWidget = nullptr;
    if (Parent()) {
        Parent()->HandleNeeded();
        parentWidget = Parent()->impl()->widget;
    }
    TCreateParams params;
    CreateParams(params);
    Qt::WindowFlags flags;
    if (!parentWidget) {
        if (TopLevelFlags()) {
            flags = Qt::WindowFlags(TopLevelFlags());
        } else {
            // A window of its own made from creation parameters: pop-ups have no frame.
            flags = Qt::Window;
            if ((params.Style & WS_POPUP) && (params.Style & WS_CAPTION) != WS_CAPTION) flags |= Qt::FramelessWindowHint;
            if (params.ExStyle & WS_EX_TOOLWINDOW) flags = (flags & ~Qt::WindowType_Mask) | Qt::Tool;
            if (params.ExStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
        }
    }
    impl_->widget = new KWidget(this, parentWidget, flags);
    QWidget* w = impl_->widget;
    impl_->applyingGeometry = true;
    const int pf = Parent() ? Parent()->FrameWidth() : 0;
    w->setGeometry(Left() + pf, Top() + pf, std::max(1, Width()), std::max(1, Height()));
    impl_->applyingGeometry = false;
    if (!parentWidget) w->setWindowTitle(AnsiToQString(Text()));
    w->setEnabled(Enabled());
    if (Cursor() != crDefault) w->setCursor(CursorShape(Cursor()));
    if (impl_->shape) w->setMask(*impl_->shape);
    impl_->EnsureBacking(this);
    LayoutScrollBars(this);
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->CreateHandle();
    if (parentWidget) w->setVisible(Visible());
    CreateWnd();
}

void TWinControl::DestroyHandle()
{
    if (!impl_->widget) return;
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->DestroyHandle();
    DestroyWnd();
    if (gCapture == this) SetCaptureControl(nullptr);
    KWidget* w = impl_->widget;
    impl_->widget = nullptr;
    impl_->bars[0] = impl_->bars[1] = nullptr;  // children of the window
    w->hide();
    delete w;
}

void TWinControl::ApplyGeometry()
{
    if (!impl_->widget) return;
    impl_->applyingGeometry = true;
    const int pf = Parent() ? Parent()->FrameWidth() : 0;
    if (!Parent()) {
        impl_->widget->setMinimumSize(Constraints.MinWidth, Constraints.MinHeight);
        impl_->widget->setMaximumSize(Constraints.MaxWidth > 0 ? Constraints.MaxWidth : QWIDGETSIZE_MAX,
                                      Constraints.MaxHeight > 0 ? Constraints.MaxHeight : QWIDGETSIZE_MAX);
    }
    impl_->widget->setGeometry(Left() + pf, Top() + pf, std::max(1, Width()), std::max(1, Height()));
    impl_->applyingGeometry = false;
    impl_->EnsureBacking(this);
    LayoutScrollBars(this);
}

int TWinControl::FrameWidth() const
{
    TCreateParams p;
    const_cast<TWinControl*>(this)->CreateParams(p);
    int f = borderWidth_;
    if (p.ExStyle & WS_EX_CLIENTEDGE) f += 2;
    if (p.Style & WS_BORDER) f += 1;
    return f;
}

void TWinControl::SetBorderWidth(int w)
{
    w = std::max(0, w);
    if (w == borderWidth_) return;
    borderWidth_ = w;
    RecreateWnd();
}

void TWinControl::RecreateWnd()
{
    // The frame moves the client area: children and bars follow, handlers hear the size.
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->ApplyGeometry();
    LayoutScrollBars(this);
    Perform(WM_SIZE, 0, MakeLParam(ClientWidth(), ClientHeight()));
    Realign();
    Invalidate();
}

void TWinControl::WMNCPaint(TMessage& m)
{
    HDC dc = m.DC();
    if (!dc) return;
    TCreateParams p;
    CreateParams(p);
    TRect r = Rect(0, 0, Width(), Height());
    if (p.Style & WS_BORDER) {
        const COLORREF c = GetSysColor(COLOR_WINDOWFRAME);
        FillRect(dc, {r.Left, r.Top, r.Right, r.Top + 1}, c);
        FillRect(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, c);
        FillRect(dc, {r.Left, r.Top, r.Left + 1, r.Bottom}, c);
        FillRect(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, c);
        InflateRect(r, -1, -1);
    }
    if (p.ExStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (borderWidth_ > 0) {
        const COLORREF c = ColorToRGB(Color());
        TRect in = r;
        InflateRect(in, -borderWidth_, -borderWidth_);
        FillRect(dc, {r.Left, r.Top, r.Right, in.Top}, c);
        FillRect(dc, {r.Left, in.Bottom, r.Right, r.Bottom}, c);
        FillRect(dc, {r.Left, in.Top, in.Left, in.Bottom}, c);
        FillRect(dc, {in.Right, in.Top, r.Right, in.Bottom}, c);
    }
    // What the scroll bars leave of the corner between them.
    if (impl_->ScrollShown(SB_VERT) && impl_->ScrollShown(SB_HORZ)) {
        const int f = FrameWidth();
        const TRect c = ClientRect();
        FillRect(dc, {f + c.Right, f + c.Bottom, Width() - f, Height() - f}, GetSysColor(COLOR_BTNFACE));
    }
    m.Result = 0;
}

TRect TWinControl::ClientRect() const
{
    const int f = FrameWidth();
    TRect r = Rect(0, 0, std::max(0, Width() - 2 * f), std::max(0, Height() - 2 * f));
    if (impl_->ScrollShown(SB_VERT)) r.Right = std::max(0, r.Right - GetSystemMetrics(SM_CXVSCROLL));
    if (impl_->ScrollShown(SB_HORZ)) r.Bottom = std::max(0, r.Bottom - GetSystemMetrics(SM_CYHSCROLL));
    return r;
}

void TWinControl::SetBounds(int l, int t, int w, int h)
{
    const TRect before = BoundsRect();
    // Store first so that handlers of WM_SIZE see the new size in the window too.
    TControl::SetBounds(l, t, w, h);
    if (BoundsRect() == before) return;
    const bool sized = before.Width() != Width() || before.Height() != Height();
    ApplyGeometry();
    if (sized) {
        Realign();
        Invalidate();
    }
}

void TWinControl::SetVisible(bool v)
{
    TControl::SetVisible(v);
    if (impl_->widget) impl_->widget->setVisible(v);
    else if (v && (!Parent() || Parent()->HandleAllocated())) {
        CreateHandle();
        if (!Parent()) impl_->widget->show();
    }
}

void TWinControl::SetEnabled(bool e)
{
    TControl::SetEnabled(e);
    if (impl_->widget) impl_->widget->setEnabled(e);
}

void TWinControl::SetText(const std::string& s)
{
    TControl::SetText(s);
    if (impl_->widget && impl_->widget->isWindow()) impl_->widget->setWindowTitle(AnsiToQString(s));
}

void TWinControl::InsertControl(TControl* c)
{
    controls_.push_back(c);
    c->parent_ = this;
    c->anchorRight_ = ClientWidth() - (c->left_ + c->width_);
    c->anchorBottom_ = ClientHeight() - (c->top_ + c->height_);
    if (c->parentFont_) c->ParentFontChanged();
    if (c->parentColor_) {
        c->color_ = Color();
        c->Perform(CM_COLORCHANGED);
    }
    if (c->parentShowHint_) c->showHint_ = ShowHint();
    if (auto* wc = dynamic_cast<TWinControl*>(c)) {
        if (wc->impl_->widget) {
            if (impl_->widget) {
                wc->impl_->widget->setParent(impl_->widget);
                wc->impl_->widget->setVisible(wc->Visible());
            } else {
                wc->DestroyHandle();
            }
        } else if (impl_->widget) {
            wc->CreateHandle();
        }
    }
    if (c->Align() != alNone) Realign();
    c->Invalidate();
}

void TWinControl::RemoveControl(TControl* c)
{
    auto it = std::find(controls_.begin(), controls_.end(), c);
    if (it == controls_.end()) return;
    c->Invalidate();
    controls_.erase(it);
    c->parent_ = nullptr;
    if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->DestroyHandle();
    if (c->Align() != alNone) Realign();
}

bool TWinControl::ContainsControl(const TControl* c) const
{
    for (const TControl* p = c; p; p = p->Parent())
        if (p == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) const
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && dynamic_cast<TWinControl*>(c)) continue;
        if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        if (PtInRect(c->BoundsRect(), p)) {
            TMessage hit{CM_HITTEST, 0, MakeLParam(p.X - c->Left(), p.Y - c->Top()), 0};
            c->WindowProc(hit);
            if (hit.Result) return c;
        }
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& m)
{
    for (TControl* c : std::vector<TControl*>(controls_)) {
        c->WindowProc(m);
        if (m.Result) return;
    }
}

int TWinControl::TabOrder() const
{
    if (!Parent()) return -1;
    int n = 0;
    for (TControl* c : Parent()->controls_) {
        if (c == this) return n;
        if (dynamic_cast<TWinControl*>(c)) ++n;
    }
    return -1;
}

void TWinControl::SetTabOrder(int v)
{
    if (!Parent()) return;
    auto& list = Parent()->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    int n = 0;
    auto it = list.begin();
    for (; it != list.end(); ++it) {
        if (!dynamic_cast<TWinControl*>(*it)) continue;
        if (n == v) break;
        ++n;
    }
    list.insert(it, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list)
{
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c)) {
            list.push_back(wc);
            wc->GetTabOrderList(list);
        }
}

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (gFocused == this) return;
    HandleNeeded();
    QWidget* w = impl_->widget;
    if (w->window()->isActiveWindow()) {
        w->setFocus(Qt::OtherFocusReason);
        if (gFocused == this) return;
    }
    // Inactive or off-screen windows get no focus events from the host: move the focus here.
    TWinControl* old = gFocused;
    if (old) old->Perform(WM_KILLFOCUS, WPARAM(this));
    Perform(WM_SETFOCUS, WPARAM(old));
    if (gLive.count(this) && impl_->widget) impl_->widget->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const { return gFocused == this; }

void TWinControl::EnableAlign()
{
    if (alignLevel_ > 0 && --alignLevel_ == 0) Realign();
}

void TWinControl::Realign()
{
    if (alignLevel_ > 0 || aligning_) return;
    TRect r = ClientRect();
    AdjustClientRect(r);
    aligning_ = true;
    try {
        AlignControls(nullptr, r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AlignControls(TControl*, TRect& r)
{
    auto take = [&](TAlign a) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Align() == a && c->Visible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [a](TControl* x, TControl* y) {
            switch (a) {
            case alTop: return x->Top() < y->Top();
            case alBottom: return x->Top() + x->Height() > y->Top() + y->Height();
            case alLeft: return x->Left() < y->Left();
            case alRight: return x->Left() + x->Width() > y->Left() + y->Width();
            default: return false;
            }
        });
        return list;
    };
    for (TControl* c : take(alTop)) {
        c->SetBounds(r.Left, r.Top, r.Width(), c->Height());
        r.Top += c->Height();
    }
    for (TControl* c : take(alBottom)) {
        c->SetBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
        r.Bottom -= c->Height();
    }
    for (TControl* c : take(alLeft)) {
        c->SetBounds(r.Left, r.Top, c->Width(), r.Height());
        r.Left += c->Width();
    }
    for (TControl* c : take(alRight)) {
        c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), r.Height());
        r.Right -= c->Width();
    }
    for (TControl* c : take(alClient)) c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    // Right and bottom anchors keep their distance to the parent's edges.
    for (TControl* c : controls_) {
        if (c->Align() != alNone || (c->anchorRight_ < 0 && c->anchorBottom_ < 0)) continue;
        const TAnchors a = c->Anchors();
        int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
        if ((a & akRight) && c->anchorRight_ >= 0) {
            if (a & akLeft) w = std::max(0, ClientWidth() - c->anchorRight_ - l);
            else l = ClientWidth() - c->anchorRight_ - w;
        }
        if ((a & akBottom) && c->anchorBottom_ >= 0) {
            if (a & akTop) h = std::max(0, ClientHeight() - c->anchorBottom_ - t);
            else t = ClientHeight() - c->anchorBottom_ - h;
        }
        c->SetBounds(l, t, w, h);
    }
}

void TWinControl::Invalidate()
{
    if (impl_->widget) {
        impl_->invalid |= QRect(0, 0, Width(), Height());
        impl_->widget->update();
    }
}

void TWinControl::InvalidateRect(const TRect& r)
{
    if (impl_->widget && !IsRectEmpty(r)) {
        const int f = FrameWidth();
        const QRect q = ToQRect(r).translated(f, f);
        impl_->invalid |= q;
        impl_->widget->update(q);
    }
}

void TWinControl::Update()
{
    if (impl_->widget && impl_->widget->isVisible() && !impl_->invalid.isEmpty())
        impl_->widget->repaint(impl_->invalid);
}

bool TWinControl::SetTimer(UINT id, UINT interval)
{
    auto& t = impl_->timers[id];
    if (!t) {
        t = std::make_unique<QTimer>();
        QObject::connect(t.get(), &QTimer::timeout, [this, id] {
            Guarded([&] { Perform(WM_TIMER, id); });
        });
    }
    t->start(int(std::max<UINT>(interval, 1)));
    return true;
}

bool TWinControl::KillTimer(UINT id) { return impl_->timers.erase(id) > 0; }

bool TWinControl::IsControlMouseMsg(TMessage& m)
{
    if (m.Msg == WM_MOUSEWHEEL) return false;
    TControl* target = nullptr;
    if (gCapture) {
        if (gCapture->Parent() == this && !dynamic_cast<TWinControl*>(gCapture)) target = gCapture;
    } else {
        target = ControlAtPos(m.Pos(), false);
    }
    if (!target) return false;
    TMessage t{m.Msg, m.WParam, MakeLParam(m.XPos() - target->Left(), m.YPos() - target->Top()), 0};
    target->WindowProc(t);
    m.Result = t.Result;
    return true;
}

void TWinControl::WndProc(TMessage& m)
{
    if (IsMouseMsg(m.Msg) && IsControlMouseMsg(m)) return;
    TControl::WndProc(m);
}

void TWinControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(m); break;
    case WM_NCPAINT: WMNCPaint(m); break;
    case WM_SETFOCUS: WMSetFocus(m); break;
    case WM_KILLFOCUS: WMKillFocus(m); break;
    case WM_KEYDOWN: WMKeyDown(m); break;
    case WM_KEYUP: WMKeyUp(m); break;
    case WM_CHAR: WMChar(m); break;
    case WM_SYSKEYDOWN: WMSysKeyDown(m); break;
    case WM_SYSKEYUP: WMSysKeyUp(m); break;
    case WM_SYSCHAR: WMChar(m); break;
    case WM_TIMER: WMTimer(m); break;
    case WM_GETDLGCODE: WMGetDlgCode(m); break;
    case WM_SETCURSOR: WMSetCursor(m); break;
    case CM_ENTER: CMEnter(m); break;
    case CM_EXIT: CMExit(m); break;
    case CM_DIALOGKEY: CMDialogKey(m); break;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(m); break;
    default: TControl::Dispatch(m); break;
    }
}

void TWinControl::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case CM_COLORCHANGED:
        brush_.SetColor(Color());
        for (TControl* c : controls_) c->Perform(CM_PARENTCOLORCHANGED);
        break;
    case CM_FONTCHANGED:
        for (TControl* c : controls_) c->Perform(CM_PARENTFONTCHANGED);
        break;
    default: break;
    }
    TControl::DefaultHandler(m);
}

void TWinControl::WMPaint(TWMPaint& m) { PaintHandler(m); }

void TWinControl::PaintHandler(TWMPaint& m)
{
    HDC dc = m.DC() ? m.DC() : impl_->paintDC;
    if (!dc) return;
    int saved = SaveDC(dc);
    PaintWindow(dc);
    RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
}

// ---------------------------------------------------------------- scroll bars

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

}  // namespace

void LayoutScrollBars(TWinControl* c)
{
    auto* d = c->impl();
    if (!d->widget) return;
    const int w = std::max(1, c->Width()), h = std::max(1, c->Height());
    const int vs = GetSystemMetrics(SM_CXVSCROLL), hs = GetSystemMetrics(SM_CYHSCROLL);
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

HDC GetDC(HWND h)
{
    auto* dc = new DeviceContext;
    if (TWinControl* c = TWinControl::FromHandle(h)) {
        c->HandleNeeded();
        c->impl()->EnsureBacking(c);
        dc->image = &c->impl()->backing;
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

namespace {

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

void EraseCaret()
{
    if (gCaret.drawn) InvertCaret();
}

void RestartBlink()
{
    EraseCaret();
    if (!gCaret.owner || gCaret.hideCount > 0) {
        if (gCaret.timer) gCaret.timer->stop();
        return;
    }
    InvertCaret();
    if (!gCaret.timer) {
        gCaret.timer = new QTimer;
        QObject::connect(gCaret.timer, &QTimer::timeout, [] {
            if (gCaret.owner && gCaret.hideCount == 0) InvertCaret();
        });
    }
    gCaret.timer->start(int(gCaret.blinkTime));
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
    if (gCaret.timer) gCaret.timer->stop();
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
    if (gCaret.timer && gCaret.timer->isActive()) gCaret.timer->start(int(gCaret.blinkTime));
    return true;
}

QWidget* HostWidget(TWinControl* c) { return c ? c->impl()->widget : nullptr; }

void TWinControl::PaintControls(HDC dc, TControl* first)
{
    auto it = controls_.begin();
    if (first) it = std::find(controls_.begin(), controls_.end(), first);
    for (; it != controls_.end(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        TRect clip;
        GetClipBox(dc, &clip);
        TRect dummy;
        if (!IntersectRect(dummy, clip, c->BoundsRect())) continue;
        int saved = SaveDC(dc);
        TPoint org;
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.X + c->Left(), org.Y + c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, WPARAM(dc));
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintTo(HDC dc, int x, int y)
{
    if (!dc) return;
    int saved = SaveDC(dc);
    TPoint org;
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.X + x, org.Y + y, nullptr);
    IntersectClipRect(dc, 0, 0, Width(), Height());
    const int f = FrameWidth();
    if (f > 0) Perform(WM_NCPAINT, WPARAM(dc));
    SetViewportOrgEx(dc, org.X + x + f, org.Y + y + f, nullptr);
    const TRect client = ClientRect();
    IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
    Perform(WM_ERASEBKGND, WPARAM(dc));
    Perform(WM_PAINT, WPARAM(dc));
    RestoreDC(dc, saved);
    for (TControl* c : controls_)
        if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc->Visible())
            wc->PaintTo(dc, x + f + wc->Left(), y + f + wc->Top());
}

void TWinControl::WMEraseBkgnd(TWMEraseBkgnd& m)
{
    if (HDC dc = m.DC()) FillRect(dc, ClientRect(), ColorToRGB(Color()));
    m.Result = 1;
}

namespace {
TWinControl* TopOf(TWinControl* c);
}

void TWinControl::WMSetFocus(TWMSetFocus&)
{
    gFocused = this;
    TopOf(this)->ChildFocused(this);
    Perform(CM_ENTER);
}

void TWinControl::WMKillFocus(TWMKillFocus&)
{
    if (gFocused == this) gFocused = nullptr;
    Perform(CM_EXIT);
}

void TWinControl::CMEnter(TMessage&)
{
    if (OnEnter) OnEnter(this);
}

void TWinControl::CMExit(TMessage&)
{
    if (OnExit) OnExit(this);
}

namespace {
TWinControl* TopOf(TWinControl* c)
{
    while (c->Parent()) c = c->Parent();
    return c;
}
}  // namespace

void TWinControl::WMKeyDown(TWMKeyDown& m)
{
    Word key = m.CharCode();
    if (key == VK_ESCAPE && gDrag.source) {
        gDrag.source->EndDrag(false);
        return;
    }
    const TShiftState shift = KeyDataToShiftState(m.KeyData());
    TWinControl* top = TopOf(this);
    if (top != this && top->WantsKeyPreview()) top->KeyDown(key, shift);
    if (key && gLive.count(this)) KeyDown(key, shift);
    m.SetCharCode(key);
    if (!key || !gLive.count(this)) return;
    // Navigation keys the control does not want go to the form.
    if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_LEFT || key == VK_RIGHT ||
        key == VK_UP || key == VK_DOWN) {
        UINT code = UINT(Perform(WM_GETDLGCODE));
        bool wanted = (code & DLGC_WANTALLKEYS) || (key == VK_TAB && (code & DLGC_WANTTAB)) ||
                      (key >= VK_LEFT && key <= VK_DOWN && (code & DLGC_WANTARROWS));
        if (!wanted && top != this) top->Perform(CM_DIALOGKEY, key, m.KeyData());
    }
}

void TWinControl::WMKeyUp(TWMKeyUp& m)
{
    Word key = m.CharCode();
    const TShiftState shift = KeyDataToShiftState(m.KeyData());
    TWinControl* top = TopOf(this);
    if (top != this && top->WantsKeyPreview()) top->KeyUp(key, shift);
    if (key && gLive.count(this)) KeyUp(key, shift);
    m.SetCharCode(key);
}

void TWinControl::WMChar(TWMChar& m)
{
    char c = char(m.CharCode());
    TWinControl* top = TopOf(this);
    if (top != this && top->WantsKeyPreview()) top->KeyPress(c);
    if (c && gLive.count(this)) KeyPress(c);
    m.SetCharCode(Word((unsigned char)c));
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}
void TWinControl::KeyUp(Word& Key, TShiftState Shift)
{
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}
void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress) OnKeyPress(this, Key);
}

// ---------------------------------------------------------------- TCustomControl, TGraphicControl

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), canvas_(std::make_unique<TControlCanvas>(this))
{
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc)
{
    canvas_->PaintOn(dc, [this] { Paint(); });
}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), canvas_(std::make_unique<TControlCanvas>(this))
{
    ControlStyle |= csReplicatable;
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::SetBounds(int l, int t, int w, int h)
{
    TControl::SetBounds(l, t, w, h);
    canvas_->FreeHandle();  // the window canvas follows the control
}

void TGraphicControl::SetParent(TWinControl* p)
{
    TControl::SetParent(p);
    canvas_->FreeHandle();
}

void TGraphicControl::WMPaint(TWMPaint& m)
{
    HDC dc = m.DC();
    if (!dc) return;
    canvas_->PaintOn(dc, [this] { Paint(); });
}

}  // namespace platform

#include <QCloseEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QMessageBox>
#include <QAbstractButton>
#include <QTimer>
#include <QAbstractEventDispatcher>
#include <QInputMethodEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QPixmap>
#include <QWidget>

#include "platform/TestRig.h"
#include "platform/controls/ControlsPrivate.h"
#include "platform/Private.h"

#include <chrono>
#include <memory>
#include <cstdio>
#include <thread>

#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "base/ScopeGuard.h"
#include "platform/system/Clock.h"
#include "platform/system/Thread.h"

namespace platform {

void RestartLoop()
{
    if (Application) Application->terminated_ = false;
}

LRESULT SendMouse(TWinControl* c, UINT msg, int x, int y, TShiftState shift)
{
    // The button a message presses or releases, as the key state sees it.
    static const struct {
        UINT down, dbl, up;
        int vk;
        TShiftState flag;
    } kButtons[] = {{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONUP, VK_LBUTTON, ssLeft},
                    {WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_RBUTTONUP, VK_RBUTTON, ssRight},
                    {WM_MBUTTONDOWN, WM_MBUTTONDBLCLK, WM_MBUTTONUP, VK_MBUTTON, ssMiddle}};
    for (const auto& b : kButtons) {
        if (msg == b.down || msg == b.dbl) {
            shift |= b.flag;
            NoteKeyEvent(b.vk, true);
        } else if (msg == b.up) {
            shift &= ~b.flag;
            NoteKeyEvent(b.vk, false);
        }
    }
    const UINT keys = ShiftStateToKeys(shift);
    SetSimulatedShiftState(int(shift));
    LRESULT r = 0;
    {
        base::ScopeExit restore([&] { SetSimulatedShiftState(-1); });
        if (msg == WM_MOUSEWHEEL) {
            TPoint s = c->ClientToScreen({x, y});
            r = c->Perform(msg, MakeWParam(int(keys), 120), MakeLParam(s.X, s.Y));
        } else {
            r = c->Perform(msg, keys, MakeLParam(x, y));
        }
    }
    return r;
}

void ClickAt(TWinControl* c, int x, int y, TShiftState shift)
{
    SendMouse(c, WM_LBUTTONDOWN, x, y, shift);
    SendMouse(c, WM_LBUTTONUP, x, y, shift);
}

void SendKey(TWinControl* c, Word vk, TShiftState shift)
{
    SetSimulatedShiftState(int(shift));
    const bool alt = shift & ssAlt;
    const LPARAM data = KeyDataOf(vk, alt);
    {
        base::ScopeFail undo([&] {
            NoteKeyEvent(vk, false);
            SetSimulatedShiftState(-1);
        });
        NoteKeyEvent(vk, true);
        c->Perform(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, data);
        char ch = 0;
        if (vk >= 'A' && vk <= 'Z') ch = (shift & ssCtrl) ? char(vk - 'A' + 1) : (shift & ssShift) ? char(vk) : char(vk + 32);
        else if ((vk >= '0' && vk <= '9') || vk == VK_SPACE) ch = char(vk);
        else if (vk == VK_RETURN || vk == VK_BACK || vk == VK_ESCAPE || vk == VK_TAB) ch = char(vk);
        else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) ch = char('0' + (vk - VK_NUMPAD0));
        else if (vk == VK_DECIMAL || vk == 0xBE) ch = '.';
        else if (vk == VK_SUBTRACT || vk == 0xBD) ch = '-';
        else if (vk == 0xBC) ch = ',';
        else if (vk == VK_ADD) ch = '+';
        else if (vk == VK_MULTIPLY) ch = '*';
        else if (vk == VK_DIVIDE) ch = '/';
        if ((shift & ssCtrl) && vk == VK_RETURN) ch = '\n';  // Ctrl+Enter types a line feed
        else if ((shift & ssCtrl) && !(vk >= 'A' && vk <= 'Z') && ch != VK_BACK && ch != VK_ESCAPE) ch = 0;
        if (ch) c->Perform(alt ? WM_SYSCHAR : WM_CHAR, WPARAM((unsigned char)ch), data);
        NoteKeyEvent(vk, false);
        c->Perform(alt ? WM_SYSKEYUP : WM_KEYUP, vk, KeyDataOf(vk, alt, true));
    }
    SetSimulatedShiftState(-1);
}

void SendChar(TWinControl* c, char ch, LPARAM keyData) { c->Perform(WM_CHAR, WPARAM((unsigned char)ch), keyData); }

namespace {
Qt::KeyboardModifiers Mods(TShiftState s)
{
    Qt::KeyboardModifiers m;
    if (s & ssShift) m |= Qt::ShiftModifier;
    if (s & ssCtrl) m |= Qt::ControlModifier;
    if (s & ssAlt) m |= Qt::AltModifier;
    return m;
}
Qt::MouseButton Button(TMouseButton b)
{
    return b == mbLeft ? Qt::LeftButton : b == mbRight ? Qt::RightButton : Qt::MiddleButton;
}
}  // namespace

void HostMouse(TWinControl* c, THostMouse kind, TMouseButton b, int x, int y, TShiftState shift)
{
    c->HandleNeeded();
    QWidget* w = HostWidget(c);
    const int f = c->FrameWidth();
    const QPointF local(x + f, y + f);
    const QPointF global = w->mapToGlobal(local.toPoint());
    QEvent::Type type = kind == hmPress ? QEvent::MouseButtonPress
                        : kind == hmRelease ? QEvent::MouseButtonRelease
                        : kind == hmMove ? QEvent::MouseMove
                                         : QEvent::MouseButtonDblClick;
    Qt::MouseButton button = kind == hmMove ? Qt::NoButton : Button(b);
    Qt::MouseButtons held = kind == hmPress || kind == hmDoubleClick ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent e(type, local, global, button, held, Mods(shift));
    QCoreApplication::sendEvent(w, &e);
}

void HostWheel(TWinControl* c, int x, int y, int delta, TShiftState shift)
{
    c->HandleNeeded();
    QWidget* w = HostWidget(c);
    const int f = c->FrameWidth();
    const QPointF local(x + f, y + f);
    const QPointF global = w->mapToGlobal(local.toPoint());
    QWheelEvent e(local, global, QPoint(), QPoint(0, delta), Qt::NoButton, Mods(shift), Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}

std::string ShownCursor(TWinControl* c)
{
    c->HandleNeeded();
    if (const QCursor* o = QGuiApplication::overrideCursor()) return DescribeCursor(*o);
    return DescribeCursor(HostWidget(c)->cursor());
}

void HostClose(TWinControl* c)
{
    QWidget* w = HostWidget(c);
    if (!w) return;
    QCloseEvent e;
    QCoreApplication::sendEvent(w, &e);
}

void HostKey(TWinControl* c, Word vk, TShiftState shift)
{
    c->HandleNeeded();
    QWidget* w = HostWidget(c);
    int key = 0;
    QString text;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        key = vk;
        QChar ch(vk);
        text = (vk >= 'A' && vk <= 'Z' && !(shift & ssShift)) ? QString(ch.toLower()) : QString(ch);
    } else {
        switch (vk) {
        case VK_RETURN: key = Qt::Key_Return; text = "\r"; break;
        case VK_ESCAPE: key = Qt::Key_Escape; text = QString(QChar(27)); break;
        case VK_TAB: key = Qt::Key_Tab; text = "\t"; break;
        case VK_SPACE: key = Qt::Key_Space; text = " "; break;
        case VK_LEFT: key = Qt::Key_Left; break;
        case VK_RIGHT: key = Qt::Key_Right; break;
        case VK_UP: key = Qt::Key_Up; break;
        case VK_DOWN: key = Qt::Key_Down; break;
        case VK_DELETE: key = Qt::Key_Delete; break;
        case VK_F1: key = Qt::Key_F1; break;
        case VK_DECIMAL: key = Qt::Key_Period; text = "."; break;
        case 0xBE: key = Qt::Key_Period; text = "."; break;
        case 0xBD: key = Qt::Key_Minus; text = "-"; break;
        case VK_ADD: key = Qt::Key_Plus; text = "+"; break;
        case VK_SUBTRACT: key = Qt::Key_Minus; text = "-"; break;
        case VK_MULTIPLY: key = Qt::Key_Asterisk; text = "*"; break;
        case VK_HOME: key = Qt::Key_Home; break;
        case VK_END: key = Qt::Key_End; break;
        case VK_BACK: key = Qt::Key_Backspace; text = "\b"; break;
        case VK_PRIOR: key = Qt::Key_PageUp; break;
        case VK_NEXT: key = Qt::Key_PageDown; break;
        case VK_INSERT: key = Qt::Key_Insert; break;
        case VK_SHIFT: key = Qt::Key_Shift; break;
        case VK_CONTROL: key = Qt::Key_Control; break;
        case VK_MENU: key = Qt::Key_Alt; break;
        case VK_CAPITAL: key = Qt::Key_CapsLock; break;
        case VK_NUMLOCK: key = Qt::Key_NumLock; break;
        case VK_SCROLL: key = Qt::Key_ScrollLock; break;
        default: break;
        }
    }
    if (shift & ssCtrl) text = vk >= 'A' && vk <= 'Z' ? QString(QChar(vk - 'A' + 1)) : QString();
    Qt::KeyboardModifiers mods = Mods(shift);
    if (vk == VK_DECIMAL || vk == VK_ADD || vk == VK_SUBTRACT || vk == VK_MULTIPLY) mods |= Qt::KeypadModifier;
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(w, &press);
    if (!HostWidget(c)) return;
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(w, &release);
}

void KeyToNextMessageBox(Word vk, std::vector<std::string>* captions)
{
    auto* timer = new QTimer(QCoreApplication::instance());
    auto rounds = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, vk, captions, rounds] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            if (++*rounds > 1000) timer->deleteLater();
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (captions)
            for (QAbstractButton* b : box->buttons()) captions->push_back(QStringToAnsi(b->text()));
        const int key = vk == VK_ESCAPE ? Qt::Key_Escape : vk == VK_RETURN ? Qt::Key_Return : int(vk);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &press);
    });
    timer->start(10);
}

void HostText(TWinControl* c, const std::u16string& text)
{
    c->HandleNeeded();
    const QString q = QString::fromUtf16(text.data(), qsizetype(text.size()));
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, q);
    QCoreApplication::sendEvent(HostWidget(c), &press);
}

int HostDragDrop(TWinControl* c, TPoint p, const std::vector<std::pair<std::string, std::string>>& mime, int allowed,
                 TShiftState shift, bool drop)
{
    c->HandleNeeded();
    QMimeData data;
    for (const auto& [type, bytes] : mime)
        data.setData(QString::fromStdString(type), QByteArray(bytes.data(), qsizetype(bytes.size())));
    QWidget* host = HostWidget(c);
    QWidget* top = host->window();
    const QPointF at = top->mapFromGlobal(host->mapToGlobal(QPoint(p.X, p.Y)));
    const Qt::DropActions actions = (allowed & 1 ? Qt::CopyAction : Qt::IgnoreAction) | (allowed & 2 ? Qt::MoveAction : Qt::IgnoreAction);
    Qt::KeyboardModifiers mods;
    if (shift & ssCtrl) mods |= Qt::ControlModifier;
    if (shift & ssShift) mods |= Qt::ShiftModifier;
    QDragEnterEvent enter(at.toPoint(), actions, &data, Qt::LeftButton, mods);
    QCoreApplication::sendEvent(top, &enter);
    QDragMoveEvent move(at.toPoint(), actions, &data, Qt::LeftButton, mods);
    QCoreApplication::sendEvent(top, &move);
    int effect = move.isAccepted() ? int(move.dropAction()) & 3 : 0;
    if (drop) {
        QDropEvent d(at, actions, &data, Qt::NoButton, mods);
        QCoreApplication::sendEvent(top, &d);
        effect = d.isAccepted() ? int(d.dropAction()) & 3 : 0;
    } else {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(top, &leave);
    }
    return effect;
}

void HostInputMethod(TWinControl* c, const std::u16string& commit)
{
    c->HandleNeeded();
    QInputMethodEvent e(QString(), {});
    e.setCommitString(QString::fromUtf16(commit.data(), qsizetype(commit.size())));
    QCoreApplication::sendEvent(HostWidget(c), &e);
}

namespace {
QScrollBar* ScrollBarOf(TWinControl* c, int bar)
{
    c->HandleNeeded();
    QWidget* w = HostWidget(c);
    QScrollBar* sb = nullptr;
    for (QScrollBar* s : w->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
        if ((s->orientation() == Qt::Vertical) == (bar == SB_VERT) && s->isVisibleTo(w)) sb = s;
    return sb;
}
}  // namespace

void HostScrollBarMouse(TWinControl* c, int bar, TPoint from, TPoint to)
{
    QScrollBar* sb = ScrollBarOf(c, bar);
    if (!sb) return;
    auto at = [&](TPoint p) { return QPointF(p.X < 0 ? sb->width() + p.X : p.X, p.Y < 0 ? sb->height() + p.Y : p.Y); };
    const QPointF a = at(from), b = at(to);
    QMouseEvent press(QEvent::MouseButtonPress, a, sb->mapToGlobal(a), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(sb, &press);
    if (a != b) {
        QMouseEvent move(QEvent::MouseMove, b, sb->mapToGlobal(b), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(sb, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, b, sb->mapToGlobal(b), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(sb, &release);
}

void HostScroll(TWinControl* c, int bar, int code, int pos)
{
    QScrollBar* sb = ScrollBarOf(c, bar);
    if (!sb) return;
    // The user lets go of the arrow or page area afterwards.
    struct Release {
        QScrollBar* bar;
        bool thumb;
        ~Release()
        {
            if (thumb) return;
            QMouseEvent up(QEvent::MouseButtonRelease, QPointF(1, 1), bar->mapToGlobal(QPointF(1, 1)), Qt::LeftButton,
                           Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(bar, &up);
        }
    } release{sb, code == SB_THUMBTRACK};
    switch (code) {
    case SB_LINEDOWN: sb->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case SB_LINEUP: sb->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case SB_PAGEDOWN: sb->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    case SB_PAGEUP: sb->triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case SB_TOP: sb->triggerAction(QAbstractSlider::SliderToMinimum); break;
    case SB_BOTTOM: sb->triggerAction(QAbstractSlider::SliderToMaximum); break;
    case SB_THUMBTRACK:
        sb->setSliderDown(true);
        sb->setSliderPosition(pos);
        sb->setSliderDown(false);
        break;
    default: break;
    }
}

namespace {

std::string Hex(COLORREF c)
{
    char b[8];
    std::snprintf(b, sizeof b, "%06x", unsigned(c & 0xFFFFFF));
    return b;
}
std::string Pt(TPoint p) { return std::to_string(p.X) + "," + std::to_string(p.Y); }
std::string Rc(const TRect& r)
{
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
}
std::string PenOf(const DeviceContext& dc)
{
    return "pen=" + Hex(dc.penColor) + "/" + std::to_string(dc.penWidth) + "/" + std::to_string(dc.penStyle) + "/" +
           std::to_string(dc.rop2);
}
std::string BrushOf(const DeviceContext& dc) { return "brush=" + Hex(dc.brushColor) + "/" + std::to_string(dc.brushStyle); }

struct LogRecorder : DCRecorder {
    std::vector<std::string> calls;
    void MoveTo(DeviceContext&, TPoint p) override { calls.push_back("MoveTo " + Pt(p)); }
    void LineTo(DeviceContext& dc, TPoint a, TPoint b) override
    {
        calls.push_back("LineTo " + Pt(a) + " " + Pt(b) + " " + PenOf(dc));
    }
    void Rectangle(DeviceContext& dc, const TRect& r) override
    {
        calls.push_back("Rectangle " + Rc(r) + " " + PenOf(dc) + " " + BrushOf(dc));
    }
    void RoundRect(DeviceContext& dc, const TRect& r, int, int) override
    {
        calls.push_back("RoundRect " + Rc(r) + " " + PenOf(dc) + " " + BrushOf(dc));
    }
    void Ellipse(DeviceContext& dc, const TRect& r) override
    {
        calls.push_back("Ellipse " + Rc(r) + " " + PenOf(dc) + " " + BrushOf(dc));
    }
    void ArcShape(DeviceContext& dc, int kind, const TRect& r, TPoint a, TPoint b) override
    {
        static const char* names[] = {"Arc ", "Pie ", "Chord "};
        calls.push_back(names[kind] + Rc(r) + " " + Pt(a) + " " + Pt(b) + " " + PenOf(dc) +
                        (kind ? " " + BrushOf(dc) : std::string()));
    }
    void Polygon(DeviceContext& dc, const TPoint*, int n) override
    {
        calls.push_back("Polygon " + std::to_string(n) + " " + PenOf(dc) + " " + BrushOf(dc));
    }
    void Polyline(DeviceContext& dc, const TPoint*, int n) override
    {
        calls.push_back("Polyline " + std::to_string(n) + " " + PenOf(dc));
    }
    void PolyPolygon(DeviceContext& dc, const TPoint*, const int* counts, int n) override
    {
        int total = 0;
        for (int i = 0; i < n; ++i) total += counts[i];
        calls.push_back("PolyPolygon " + std::to_string(n) + "/" + std::to_string(total) + " " + PenOf(dc) + " " +
                        BrushOf(dc));
    }
    void FillRect(DeviceContext& dc, const TRect& r, COLORREF c, bool withBrush) override
    {
        calls.push_back("FillRect " + Rc(r) + " color=" + Hex(c) + (withBrush ? " " + BrushOf(dc) : std::string()));
    }
    void FocusRect(DeviceContext&, const TRect& r) override { calls.push_back("FocusRect " + Rc(r)); }
    void Pixel(DeviceContext&, TPoint p, COLORREF c) override { calls.push_back("Pixel " + Pt(p) + " color=" + Hex(c)); }
    void Text(DeviceContext& dc, TPoint p, UINT, const TRect*, const std::string& text, const int*) override
    {
        const QFont& f = dc.font;
        const int style = (f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) | (f.strikeOut() ? 8 : 0);
        calls.push_back("Text " + Pt(p) + " '" + text + "' color=" + Hex(dc.textColor) + " font=" +
                        f.family().toStdString() + "/" + std::to_string(-f.pixelSize()) + "/" + std::to_string(style));
    }
    void Blt(DeviceContext&, const TRect& r, const QImage&, DWORD rop) override
    {
        char b[16];
        std::snprintf(b, sizeof b, "%06x", unsigned(rop));
        calls.push_back("Blt " + Rc(r) + " rop=" + b);
    }
    void SaveDC(DeviceContext&) override { calls.push_back("SaveDC"); }
    void RestoreDC(DeviceContext&, int saved) override { calls.push_back("RestoreDC " + std::to_string(saved)); }
    void ClipChanged(DeviceContext& dc) override
    {
        TRect r;
        GetClipBox(&dc, &r);
        calls.push_back("Clip " + Rc(r));
    }
};

}  // namespace

struct TRecordingCanvas::Impl {
    DeviceContext dc;
    LogRecorder recorder;
};

TRecordingCanvas::TRecordingCanvas(int width, int height) : impl_(std::make_unique<Impl>())
{
    impl_->dc.recorder = &impl_->recorder;
    impl_->dc.recordBounds = QRect(0, 0, width, height);
    AttachDC(&impl_->dc);
}

TRecordingCanvas::~TRecordingCanvas() = default;
const std::vector<std::string>& TRecordingCanvas::Calls() const { return impl_->recorder.calls; }
void TRecordingCanvas::ClearCalls() { impl_->recorder.calls.clear(); }

std::unique_ptr<TBitmap> PaintToBitmap(TWinControl* c)
{
    auto b = std::make_unique<TBitmap>(std::max(1, c->Width()), std::max(1, c->Height()));
    c->PaintTo(b->Canvas()->Handle(), 0, 0);
    return b;
}

std::unique_ptr<TBitmap> GrabWindow(TWinControl* c)
{
    c->HandleNeeded();
    QWidget* w = HostWidget(c);
    const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    auto b = std::make_unique<TBitmap>(std::max(1, shot.width()), std::max(1, shot.height()));
    QPainter p(&BitmapImage(*b));
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, shot);
    return b;
}

std::unique_ptr<TBitmap> GrabScreen()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return std::make_unique<TBitmap>(1, 1);
    const QImage shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    auto b = std::make_unique<TBitmap>(std::max(1, shot.width()), std::max(1, shot.height()));
    QPainter p(&BitmapImage(*b));
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, shot);
    return b;
}

long long BackingPixelsHeld(TWinControl* c)
{
    const auto& d = *c->impl();
    if (d.backing.isNull()) return 0;
    long long n = 0;
    for (const QRect& r : QRegion(d.backing.rect()) - d.unfilled) n += (long long)r.width() * r.height();
    return n;
}

bool ProcessUntil(const std::function<bool()>& pred, int maxRounds)
{
    for (int i = 0; i < maxRounds; ++i) {
        if (pred()) return true;
        Application->ProcessMessages();
        if (pred()) return true;
        if (TestClockOn()) AdvanceTestClock(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return pred();
}

}  // namespace platform

namespace platform {

void UseTestClock(bool on) { SetTestClock(on); }

void WhenLoopWaits(std::function<void()> fn)
{
    auto* d = QAbstractEventDispatcher::instance();
    QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, d, std::move(fn), Qt::SingleShotConnection);
}

int RunningThreads() { return RunningThreadCount(); }

void AdvanceClock(UINT ms)
{
    Application->ProcessMessages();
    AdvanceTestClock(ms);
    Application->ProcessMessages();
}

bool AfterTimerOf(UINT ms)
{
    if (TestClockOn()) {
        AdvanceClock(ms);
        return true;
    }
    TTimer timer(nullptr);
    bool fired = false;
    timer.SetInterval(ms);
    timer.OnTimer = [&](TObject*) {
        fired = true;
        timer.SetEnabled(false);
    };
    return ProcessUntil([&] { return fired; }, 60000);
}

}  // namespace platform

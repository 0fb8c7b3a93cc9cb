// Forms, the application's message loop, the screen and hints.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <fontconfig/fontconfig.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "base/Exception.h"
#include "base/SystemInfo.h"
#include "platform/forms/Dialogs.h"
#include "platform/controls/ControlsPrivate.h"
#include "platform/forms/Forms.h"
#include "platform/forms/WindowActivation.h"
#include "platform/Private.h"
#include "platform/TestRig.h"
#include "platform/system/Thread.h"
#include "base/ScopeGuard.h"

namespace platform {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
std::vector<TCustomForm*> gForms;
THintWindowClass gHintWindowClass;
// The off-screen platform has no window stacking.
bool OffscreenPlatform() { return QGuiApplication::platformName() == QLatin1String("offscreen"); }
bool gInProcessMessages = false;
}  // namespace

// The multiple-document windows' side (MDI.cpp).
void MDIChildShown(TCustomForm* f, bool shown);
void MDIChildGone(TCustomForm* f);
void MDIChildRenamed(TCustomForm* f);
void MDIChildFocused(TCustomForm* frame, TWinControl* focused);
void MDIFrameGone(TCustomForm* f, TWinControl*& client);


void HandleAppException(const std::exception* e)
{
    if (Application) {
        Application->HandleException(nullptr, e);
        return;
    }
    std::fprintf(stderr, "Unhandled exception: %s\n", e ? e->what() : "unknown");
}

namespace {

// The first text measured reads the font configuration and then the list of installed fonts:
// the largest part of the work before the first window shows, and none of it needs the
// display. A thread loads the configuration beside the application's start and, once the
// toolkit has its platform (the application runs its start-up routines), reads the font list
// into the toolkit's font database while the application finishes starting. The database is
// locked while it is read, so a text measured meanwhile waits for it.
struct FontLoader {
    std::mutex lock;
    std::condition_variable changed;
    bool running = false;     // the thread runs (set and read on the GUI thread)
    bool configured = false;  // the configuration is loaded
    bool platformUp = false;  // the toolkit can read the font list
    bool readList = false;    // false: the application did not come up

    void Reset() { running = configured = platformUp = readList = false; }
};
FontLoader gFonts;

void LoadFonts()
{
    FcInit();
    std::unique_lock<std::mutex> hold(gFonts.lock);
    gFonts.configured = true;
    gFonts.changed.notify_all();
    gFonts.changed.wait(hold, [] { return gFonts.platformUp; });
    if (!gFonts.readList) return;
    hold.unlock();
    QFontDatabase::families();
}

void ReleaseFontLoader(bool readList)
{
    std::lock_guard<std::mutex> hold(gFonts.lock);
    if (gFonts.platformUp) return;
    gFonts.platformUp = true;
    gFonts.readList = readList;
    gFonts.changed.notify_all();
}

// A start-up routine of the application. Text measured before the configuration is loaded
// would load it a second time: the application waits for it here.
void PlatformUp()
{
    if (!gFonts.running) return;
    ReleaseFontLoader(true);
    std::unique_lock<std::mutex> hold(gFonts.lock);
    gFonts.changed.wait(hold, [] { return gFonts.configured; });
}

}  // namespace

void EnsurePlatform()
{
    static int argc = 1;
    static char name[] = "korvelo";
    static char* argv[] = {name, nullptr};
    InitPlatform(argc, argv);
}

void InitPlatform(int& argc, char** argv)
{
    if (!QCoreApplication::instance()) {
        gFonts.Reset();
        gFonts.running = true;
        qAddPreRoutine(PlatformUp);
        std::thread fonts(LoadFonts);
        {
            base::ScopeExit done([&] {
                ReleaseFontLoader(false);
                fonts.join();
                gFonts.running = false;
            });
            auto* app = new QApplication(argc, argv);
            app->setQuitOnLastWindowClosed(false);
        }
    }
    SetGuiThread();
    if (!Application) Application = new TApplication;
    if (!Screen) Screen = new TScreen;
    // Controls float in a tool form; a form floats as itself.
    gDefaultFloatingSite = [](TControl* c) -> TWinControl* {
        if (dynamic_cast<TCustomForm*>(c)) return nullptr;
        return Construct<TCustomDockForm>(Application);
    };
    base::SetScreenSizeHook([](int& w, int& h) {
        w = Screen ? Screen->Width() : 0;
        h = Screen ? Screen->Height() : 0;
    });
}

void DonePlatform()
{
    if (Application) {
        TApplication* a = Application;
        a->BeforeDestruction();
        delete a;
        Application = nullptr;
    }
    delete Screen;
    Screen = nullptr;
}

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN: return Screen ? Screen->Width() : 0;
    case SM_CYSCREEN: return Screen ? Screen->Height() : 0;
    case SM_CXVSCROLL: case SM_CYHSCROLL: return 16;
    case SM_CYCAPTION: return 22;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CXICON: case SM_CYICON: return 32;
    default: return 0;
    }
}

// ---------------------------------------------------------------- TScreen

int TScreen::Width() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

TRect TScreen::WorkAreaRect() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? FromQRect(s->availableGeometry()) : TRect{};
}

void TScreen::SetCursor(TCursor c)
{
    if (c == cursor_) return;
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    cursor_ = c;
    if (c != crDefault) QGuiApplication::setOverrideCursor(CursorFor(c));
}

int TScreen::FormCount() const { return int(gForms.size()); }
TCustomForm* TScreen::Forms(int i) const { return gForms[std::size_t(i)]; }
TCustomForm* TScreen::ActiveForm() const
{
    for (TCustomForm* f : gForms)
        if (f->Active()) return f;
    return nullptr;
}

// ---------------------------------------------------------------- TApplication

struct TApplication::Impl {
    TClockTimer hintTimer, hideTimer;
    TPoint hintPos;
};

namespace {
void HintMouse(TControl* c, TPoint pos);
void ControlGone(TControl* c);
}  // namespace

TApplication::TApplication() : impl_(std::make_unique<Impl>())
{
    impl_->hintTimer.SetSingleShot(true);
    impl_->hideTimer.SetSingleShot(true);
    impl_->hintTimer.OnTimeout = [this] {
        if (hintControl_) Guarded([&] { ActivateHintFor(hintControl_, impl_->hintPos); });
    };
    impl_->hideTimer.OnTimeout = [this] { HideHint(); };
    gHintMouseHook = &HintMouse;
    gControlGoneHook = &ControlGone;
}

TApplication::~TApplication()
{
    gHintMouseHook = nullptr;
    // The forms and the hint window go while the application is still whole, last first.
    while (ComponentCount() > 0) {
        TComponent* c = Components(ComponentCount() - 1);
        c->BeforeDestruction();
        delete c;
    }
    gControlGoneHook = nullptr;
    hintControl_ = nullptr;
    hintWindow_ = nullptr;
}

void TApplication::SetTitle(const std::string& t) { title_ = t; }

std::string TApplication::ExeName() const { return QCoreApplication::applicationFilePath().toStdString(); }

bool TApplication::HelpContents()
{
    if (HelpFile.empty()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(HelpFile)));
}

void TApplication::FormCreated(TCustomForm* f)
{
    if (!mainForm_) mainForm_ = f;
    f->AfterConstruction();
}

void TApplication::Run()
{
    running_ = true;
    if (mainForm_ && ShowMainForm) mainForm_->Show();
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (const std::exception& e) {
            HandleException(this, &e);
        } catch (...) {
            HandleException(this, nullptr);
        }
    }
    running_ = false;
}

void TApplication::ProcessMessages()
{
    const bool nested = gInProcessMessages;
    gInProcessMessages = true;
    auto* d = QAbstractEventDispatcher::instance();
    for (int guard = 0; guard < 10000; ++guard) {
        bool did = CheckSynchronize();
        if (d && d->processEvents(QEventLoop::AllEvents)) did = true;
        if (!did) break;
    }
    gInProcessMessages = nested;
}

void TApplication::HandleMessage()
{
    auto* d = QAbstractEventDispatcher::instance();
    bool did = CheckSynchronize();
    if (d && d->processEvents(QEventLoop::AllEvents)) did = true;
    if (did || terminated_) return;
    Idle();
    if (!terminated_ && d) d->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void TApplication::Idle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ++idleCount_;
    bool done = true;
    if (OnIdle) Guarded([&] { OnIdle(this, done); });
    // An idle handler that is not done wants another call before the loop waits.
    if (!done)
        if (auto* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

void TApplication::Terminate()
{
    terminated_ = true;
    // May come from a worker: wake the GUI thread's wait, not the caller's.
    if (auto* app = QCoreApplication::instance())
        if (auto* d = QAbstractEventDispatcher::instance(app->thread())) d->wakeUp();
}

void TApplication::HandleException(TObject* Sender, const std::exception* e)
{
    if (e && dynamic_cast<const base::EAbort*>(e)) return;
    if (e && OnException) {
        // A failing handler must not take the loop down: its own exception goes to the box.
        try {
            OnException(Sender, *e);
        } catch (const base::EAbort&) {
        } catch (const std::exception& inner) {
            ShowException(inner);
        } catch (...) {
            ShowException(base::Exception("Unknown exception"));
        }
        return;
    }
    if (e) ShowException(*e);
    else ShowException(base::Exception("Unknown exception"));
}

namespace {

// An exception's message is shown with a full stop unless it ends in a character up to
// '.' in ASCII: a control character, a blank or one of !"#$%&'()*+,-. (so "Failed!",
// "(see log)" and "Done." get none).
bool EndsInPunctuation(const std::string& msg)
{
    return !msg.empty() && (unsigned char)msg.back() <= '.';
}

}  // namespace

void TApplication::ShowException(const std::exception& e)
{
    std::string msg = e.what();
    if (!msg.empty() && !EndsInPunctuation(msg)) msg += '.';
    MessageBox(msg, title_, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags)
{
    return ShowMessageBox(text, caption, flags);
}

std::string GetShortHint(const std::string& h)
{
    auto bar = h.find('|');
    return bar == std::string::npos ? h : h.substr(0, bar);
}

std::string GetLongHint(const std::string& h)
{
    auto bar = h.find('|');
    return bar == std::string::npos ? h : h.substr(bar + 1);
}

void TApplication::SetHint(const std::string& hint)
{
    if (hint == Hint) return;
    Hint = hint;
    if (OnHint) Guarded([&] { OnHint(this); });
}

namespace {

std::string ShortHint(const std::string& h) { return GetShortHint(h); }

void HintMouse(TControl* c, TPoint pos)
{
    TApplication* a = Application;
    if (!a) return;
    a->impl()->hintPos = pos;
    if (c == a->HintControl()) return;
    a->SetHint(GetLongHint(c->Hint()));
    a->CancelHint();
    a->SetHintControl(c);
    if (a->ShowHint && c->ShowHint()) a->impl()->hintTimer.Start(a->HintPause);
}

void ControlGone(TControl* c)
{
    if (Application && Application->HintControl() == c) {
        Application->SetHintControl(nullptr);
        Application->impl()->hintTimer.Stop();
    }
}

}  // namespace

bool TApplication::ActivateHintFor(TControl* c, TPoint pos)
{
    if (!c) return false;
    hintControl_ = c;
    THintInfo info;
    info.HintControl = c;
    TPoint screen = c->ClientToScreen(pos);
    info.HintPos = {screen.X, screen.Y + 20};
    info.HintMaxWidth = Screen ? Screen->Width() : 800;
    info.HintColor = HintColor;
    info.CursorRect = c->ClientRect();
    info.CursorPos = pos;
    info.HideTimeout = HintHidePause;
    info.HintStr = ShortHint(c->Hint());
    bool canShow = c->Perform(CM_HINTSHOW, 0, LPARAM(&info)) == 0;
    if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
    if (!canShow || info.HintStr.empty()) {
        HideHint();
        return false;
    }
    if (!hintWindow_) hintWindow_ = gHintWindowClass ? gHintWindowClass(this) : new THintWindow(this);
    hintWindow_->SetColor(info.HintColor);
    TRect r = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    OffsetRect(r, info.HintPos.X, info.HintPos.Y);
    hintWindow_->ActivateHintData(r, info.HintStr, info.HintData);
    if (info.HideTimeout > 0) impl_->hideTimer.Start(info.HideTimeout);
    return true;
}

void TApplication::ActivateHint(TPoint cursorPos)
{
    for (TCustomForm* f : gForms) {
        if (!f->HandleAllocated() || !f->Visible()) continue;
        TPoint p = f->ScreenToClient(cursorPos);
        if (!PtInRect(f->ClientRect(), p)) continue;
        TControl* c = f->ControlAtPos(p, false, true);
        TControl* hit = f;
        while (c) {
            hit = c;
            p = {p.X - c->Left(), p.Y - c->Top()};
            auto* wc = dynamic_cast<TWinControl*>(c);
            c = wc ? wc->ControlAtPos(p, false, true) : nullptr;
        }
        ActivateHintFor(hit, p);
        return;
    }
}

void TApplication::CancelHint()
{
    impl_->hintTimer.Stop();
    HideHint();
    hintControl_ = nullptr;
}

void TApplication::HideHint()
{
    impl_->hideTimer.Stop();
    if (hintWindow_) hintWindow_->ReleaseHandle();
}

// ---------------------------------------------------------------- THintWindow

void SetHintWindowClass(THintWindowClass make)
{
    gHintWindowClass = std::move(make);
    if (Application) Application->DropHintWindow();
}

void TApplication::DropHintWindow()
{
    impl_->hideTimer.Stop();
    if (hintWindow_) {
        THintWindow* w = hintWindow_;
        hintWindow_ = nullptr;
        w->Free();
    }
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    TControl::SetVisible(false);
    SetColor(clInfoBk);
    Canvas()->Font().SetColor(clInfoText);
}

unsigned THintWindow::TopLevelFlags() const { return unsigned(Qt::ToolTip | Qt::FramelessWindowHint); }

void THintWindow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style |= WS_BORDER;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint, void*)
{
    TBitmap measure(1, 1);
    measure.Canvas()->Font().Assign(Canvas()->Font());
    TRect r = Rect(0, 0, maxWidth, 0);
    DrawText(measure.Canvas()->Handle(), hint, -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    r.Right += 6 + 2 * FrameWidth();
    r.Bottom += 2 + 2 * FrameWidth();
    return r;
}

void THintWindow::ActivateHint(TRect r, const std::string& hint)
{
    SetText(hint);
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    ShowNoActivate();
    Invalidate();
}

void THintWindow::ActivateHintData(TRect r, const std::string& hint, void*) { ActivateHint(r, hint); }

void THintWindow::ShowNoActivate()
{
    HandleNeeded();
    if (QWidget* w = HostWidget(this)) {
        w->setAttribute(Qt::WA_ShowWithoutActivating);
        w->show();
        if (!OffscreenPlatform()) w->raise();
    }
    TControl::SetVisible(true);
}

void THintWindow::ReleaseHandle()
{
    if (QWidget* w = HostWidget(this)) w->hide();
    TControl::SetVisible(false);
}

bool THintWindow::Shown() const
{
    QWidget* w = HostWidget(const_cast<THintWindow*>(this));
    return w && w->isVisible();
}

void THintWindow::Paint()
{
    TCanvas* c = Canvas();
    c->Brush().SetColor(Color());
    c->FillRect(ClientRect());
    TRect r = ClientRect();
    r.Left += 2;
    r.Top += 1;
    c->Brush().SetStyle(bsClear);
    DrawText(c->Handle(), Text(), -1, &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

// ---------------------------------------------------------------- TCustomDockForm

TCustomDockForm::TCustomDockForm(TComponent* AOwner) : TCustomForm(AOwner) { SetBorderStyle(bsSizeToolWin); }

void TCustomDockForm::DoAddDockClient(TControl* Client, const TRect& ARect)
{
    TCustomForm::DoAddDockClient(Client, ARect);
    Client->SetAlign(alClient);
    SetCaption(Client->Caption());
    if (!Client->Visible()) Client->Show();
}

void TCustomDockForm::DoRemoveDockClient(TControl* Client)
{
    TCustomForm::DoRemoveDockClient(Client);
    if (Client->Align() == alClient && Client->Parent() != this) Client->SetAlign(alNone);
    if (DockClientCount() == 0) {
        Hide();
        Release();
    }
}

void TCustomDockForm::CMDockNotification(TCMDockNotification& m)
{
    auto* client = reinterpret_cast<TControl*>(m.WParam);
    const auto* rec = reinterpret_cast<const TDockNotifyRec*>(m.LParam);
    if (rec->ClientMsg == CM_TEXTCHANGED) SetCaption(client->Caption());
    else if (rec->ClientMsg == CM_VISIBLECHANGED && DockClientCount() == 1) SetVisible(client->Visible());
    m.Result = 0;
}

// ---------------------------------------------------------------- TCustomForm

TCustomForm* GetParentForm(TControl* c)
{
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TCustomForm*>(c);
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner), canvas_(std::make_unique<TControlCanvas>(this))
{
    TWinControl::SetVisible(false);
    SetBounds(100, 100, 320, 240);
    gForms.push_back(this);
}

TCustomForm::~TCustomForm()
{
    if (formStyle_ == fsMDIChild) MDIChildGone(this);
    if (mdiClient_) MDIFrameGone(this, mdiClient_);
    std::erase(gForms, this);
    if (Application && Application->MainForm() == this) Application->ClearMainForm();
}

void TCustomForm::AfterConstruction()
{
    if (created_) return;
    created_ = true;
    DoCreate();
}

void TCustomForm::BeforeDestruction()
{
    TWinControl::BeforeDestruction();
    DoDestroy();
}

void TCustomForm::DoCreate()
{
    if (OnCreate) OnCreate(this);
}
void TCustomForm::DoDestroy()
{
    if (OnDestroy) OnDestroy(this);
}
void TCustomForm::DoShow()
{
    if (OnShow) OnShow(this);
}
void TCustomForm::DoHide()
{
    if (OnHide) OnHide(this);
}
void TCustomForm::DoClose(TCloseAction& action)
{
    if (OnClose) OnClose(this, action);
}

unsigned TCustomForm::TopLevelFlags() const
{
    Qt::WindowFlags f = Qt::Window;
    switch (borderStyle_) {
    case bsNone: f = Qt::Window | Qt::FramelessWindowHint; break;
    case bsDialog: f = Qt::Dialog; break;
    case bsToolWindow: case bsSizeToolWin: f = Qt::Tool; break;
    default: break;
    }
    if (formStyle_ == fsStayOnTop) f |= Qt::WindowStaysOnTopHint;
    return unsigned(f);
}

void TCustomForm::CreateWnd() {}

void TCustomForm::SetVisible(bool v)
{
    if (v == Visible()) {
        TWinControl::SetVisible(v);
        return;
    }
    if (v) {
        if (Position == poScreenCenter || Position == poDesktopCenter || Position == poMainFormCenter ||
            Position == poOwnerFormCenter) {
            TRect area = Screen ? Screen->WorkAreaRect() : Rect(0, 0, 800, 600);
            SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(),
                      Height());
        }
        DoShow();
        TWinControl::SetVisible(true);
        if (formStyle_ == fsMDIChild) MDIChildShown(this, true);
    } else {
        TWinControl::SetVisible(false);
        if (formStyle_ == fsMDIChild) MDIChildShown(this, false);
        DoHide();
    }
}

void TCustomForm::Show()
{
    SetVisible(true);
    if (QWidget* w = HostWidget(this); w && !OffscreenPlatform()) {
        w->raise();
        w->activateWindow();
    }
}

void TCustomForm::Hide() { SetVisible(false); }

void ActivateWindowOf(TWinControl* c)
{
    if (QWidget* w = c ? HostWidget(c) : nullptr; w && w->window()->isVisible()) w->window()->activateWindow();
}

bool TCustomForm::Active() const
{
    QWidget* w = HostWidget(const_cast<TCustomForm*>(this));
    return w && w->isActiveWindow();
}

TWindowState TCustomForm::WindowState() const
{
    QWidget* w = HostWidget(const_cast<TCustomForm*>(this));
    if (!w) return wsNormal;
    if (w->isMinimized()) return wsMinimized;
    if (w->isMaximized()) return wsMaximized;
    return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState s)
{
    HandleNeeded();
    QWidget* w = HostWidget(this);
    if (s == wsMinimized) w->setWindowState(Qt::WindowMinimized);
    else if (s == wsMaximized) w->setWindowState(Qt::WindowMaximized);
    else w->setWindowState(Qt::WindowNoState);
}

void TCustomForm::SetActiveControl(TWinControl* c)
{
    activeControl_ = c;
    if (c && Visible() && c->CanFocus()) c->SetFocus();
}

void TCustomForm::ChildFocused(TWinControl* c)
{
    activeControl_ = c;
    if (!mdiClient_) return;
    for (TControl* p = c; p; p = p->Parent())
        if (auto* child = dynamic_cast<TCustomForm*>(p); child && child->formStyle_ == fsMDIChild) {
            child->activeControl_ = c;
            break;
        }
    MDIChildFocused(this, c);
}

bool TCustomForm::CloseQuery()
{
    bool can = true;
    if (OnCloseQuery) OnCloseQuery(this, can);
    return can;
}

void TCustomForm::Close()
{
    if (inModal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Hide();
        Application->Terminate();
    } else if (action == caHide) {
        Hide();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Release();
    }
}

void TCustomForm::Release() { PostMessage(Handle(), CM_RELEASE, 0, 0); }

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || inModal_) throw base::EInvalidOperation("Cannot make a visible window modal");
    modalResult_ = mrNone;
    inModal_ = true;
    HandleNeeded();
    if (QWidget* w = HostWidget(this)) w->setWindowModality(Qt::ApplicationModal);
    auto finish = [this] {
        inModal_ = false;
        Hide();
        if (QWidget* w = HostWidget(this)) w->setWindowModality(Qt::NonModal);
    };
    {
        base::ScopeExit restore([&] { finish(); });
        Show();
        while (true) {
            Application->HandleMessage();
            if (Application->Terminated() && modalResult_ == mrNone) modalResult_ = mrCancel;
            if (modalResult_ == mrNone) continue;
            // The result closes the form unless the form refuses.
            TCloseAction action = caHide;
            if (CloseQuery()) DoClose(action);
            else action = caNone;
            if (action == caNone && !Application->Terminated()) {
                modalResult_ = mrNone;
                continue;
            }
            break;
        }
    }
    return modalResult_;
}

void TCustomForm::Paint()
{
    if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC dc)
{
    canvas_->PaintOn(dc, [this] { Paint(); });
}

void TCustomForm::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_CLOSE: Close(); break;
    case CM_ACTIVATE:
        if (OnActivate) OnActivate(this);
        break;
    case CM_DEACTIVATE:
        if (OnDeactivate) OnDeactivate(this);
        break;
    case CM_RELEASE: Free(); break;  // nothing of this form is touched after this
    case CM_TEXTCHANGED:
        TWinControl::Dispatch(m);
        if (formStyle_ == fsMDIChild) MDIChildRenamed(this);
        break;
    default: TWinControl::Dispatch(m); break;
    }
}

void TCustomForm::CMDialogKey(TCMDialogKey& m)
{
    // Ctrl+Tab is left to the controls (a page control turns its pages with it).
    if (m.CharCode() == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
        SelectNext(FindFocusedControl(), GetKeyState(VK_SHIFT) >= 0, true);
        m.Result = 1;
        return;
    }
    TWinControl::CMDialogKey(m);
}

void TCustomForm::SelectNext(TWinControl* cur, bool goForward, bool checkTabStop)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return;
    int start = -1;
    for (int i = 0; i < int(list.size()); ++i)
        if (list[std::size_t(i)] == cur) start = i;
    const int n = int(list.size());
    for (int step = 1; step <= n; ++step) {
        int i = start < 0 ? (goForward ? step - 1 : n - step) : ((start + (goForward ? step : -step)) % n + n) % n;
        TWinControl* c = list[std::size_t(i)];
        if (c->CanFocus() && (!checkTabStop || c->TabStop())) {
            c->SetFocus();
            return;
        }
    }
}

}  // namespace platform

#pragma once
// Forms, the application object with its message loop, the screen, hints.
#include <atomic>
#include <exception>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "base/ScopeGuard.h"

namespace platform {

class TMenuItem;

enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    void AfterConstruction() override;   // raises OnCreate
    void BeforeDestruction() override;   // raises OnDestroy

    TCanvas* Canvas() { return canvas_.get(); }
    void Show();
    void Hide();
    void Close();
    void Release();  // frees the form once the current message is done
    virtual bool CloseQuery();
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult r) { modalResult_ = r; }
    bool Modal() const { return inModal_; }
    bool Active() const;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s) { borderStyle_ = s; }
    TFormStyle FormStyle() const { return formStyle_; }
    // fsMDIForm gives the form a client window that holds its child forms; fsMDIChild puts
    // the form into the client window of the main form (or of the first fsMDIForm) and
    // raises EInvalidOperation when there is none.
    void SetFormStyle(TFormStyle s);

    // Multiple-document frames: the client window (nullptr unless fsMDIForm), its child
    // forms with the active one first, the menu item whose sub-items end in the window list.
    TWinControl* MDIClient() const { return mdiClient_; }
    HWND ClientHandle() const;
    TCustomForm* ActiveMDIChild() const;
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int i) const;
    TMenuItem* WindowMenu() const { return windowMenu_; }
    void SetWindowMenu(TMenuItem* item);
    // Activates the next (or previous) child, as Ctrl+F6 does.
    void Next();
    void Previous();
    TPosition Position = poDesigned;
    TWindowState WindowState() const;
    void SetWindowState(TWindowState s);
    bool KeyPreview = false;
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* c);
    // Moves the focus to the next (or previous) tab stop after cur.
    void SelectNext(TWinControl* cur, bool goForward, bool checkTabStop);
    void SetVisible(bool v) override;  // raises OnShow and OnHide

    TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnActivate, OnDeactivate, OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    virtual void Paint();
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);

    void Dispatch(TMessage& m) override;
    void CMDialogKey(TCMDialogKey& m) override;
    int FrameWidth() const override;
    void WMNCPaint(TMessage& m) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void PaintWindow(HDC dc) override;
    bool IsTopLevel() const override { return true; }
    bool WantsKeyPreview() const override { return KeyPreview; }
    unsigned TopLevelFlags() const override;
    void CreateWnd() override;
    void ChildFocused(TWinControl* c) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
    TModalResult modalResult_ = mrNone;
    bool inModal_ = false;
    bool created_ = false;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TFormStyle formStyle_ = fsNormal;
    TWinControl* activeControl_ = nullptr;
    bool ActiveMDIChildOfFrame() const;
    TWinControl* mdiClient_ = nullptr;  // owned by the form
    TMenuItem* windowMenu_ = nullptr;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};

// The tool window a control floats in (the default FloatingDockSiteClass): the client
// fills it, its caption follows the client's text, and it hides and frees itself when its
// last client leaves.
class TCustomDockForm : public TCustomForm {
public:
    explicit TCustomDockForm(TComponent* AOwner);
    bool IsFloatingDockSite() const override { return true; }
    void DoAddDockClient(TControl* Client, const TRect& ARect) override;
    void DoRemoveDockClient(TControl* Client) override;
    void CMDockNotification(TCMDockNotification& m) override;
};

// The form a control sits on (nullptr when it sits on none).
TCustomForm* GetParentForm(TControl* c);

// Window that shows a hint text: a top-level tool tip, framed (WS_BORDER in its
// creation parameters; a derived class may drop it).
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    // The size the hint needs, as (0, 0, width, height); data is the hint's HintData.
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint, void* data);
    // Places the window on r (screen) with the text and shows it without activating it.
    virtual void ActivateHint(TRect r, const std::string& hint);
    // As ActivateHint, for a hint that carries data (THintInfo::HintData); the data is not used here.
    virtual void ActivateHintData(TRect r, const std::string& hint, void* data);
    void ReleaseHandle();  // hides it
    void Paint() override;
    void CreateParams(TCreateParams& params) override;
    bool Shown() const;
    // Shows the window at its bounds, on top, without taking the focus.
    void ShowNoActivate();

protected:
    bool IsTopLevel() const override { return Parent() == nullptr; }
    unsigned TopLevelFlags() const override;
};

// Makes the hint windows of the whole application; the next hint uses it.
using THintWindowClass = std::function<THintWindow*(TComponent* owner)>;
void SetHintWindowClass(THintWindowClass make);

using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
using TShowHintEvent = std::function<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize() {}
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& t);
    std::string HelpFile;
    std::string ExeName() const;
    // Opens the help file with the desktop's handler (the contents command).
    bool HelpContents();

    // Creates a form owned by the application; ref is set before the constructor runs,
    // as forms expect. The first form created becomes the main form.
    template <class T>
    void CreateForm(T*& ref)
    {
        void* mem = ::operator new(sizeof(T));
        ref = static_cast<T*>(mem);
        {
            base::ScopeFail undo([&] {
                ::operator delete(mem);
                ref = nullptr;
            });
            new (mem) T(this);
        }
        FormCreated(ref);
    }
    TCustomForm* MainForm() const { return mainForm_; }
    bool ShowMainForm = true;

    // Shows the main form and runs the loop until Terminate or the main form closes.
    void Run();
    // Runs what is pending, without waiting and without the idle event.
    void ProcessMessages();
    // Waits for and handles one batch of messages (idle runs when the queue is empty).
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }

    TIdleEvent OnIdle;
    TExceptionEvent OnException;
    TShowHintEvent OnShowHint;
    TNotifyEvent OnHint, OnActivate, OnDeactivate;

    // An exception that reached the loop: OnException, else the exception box.
    void HandleException(TObject* Sender, const std::exception* e);
    void ShowException(const std::exception& e);
    // A message box owned by the application; flags as the platform's MB_ values.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    // The long hint of the control under the mouse; OnHint runs when it changes.
    void SetHint(const std::string& hint);
    bool ShowHint = true;
    int HintPause = 500;
    int HintHidePause = 2500;
    TColor HintColor = clInfoBk;
    std::string Hint;
    // Shows the hint of the control under the cursor (screen position) now.
    void ActivateHint(TPoint cursorPos);
    // Shows the hint of c for a cursor at pos (client coordinates of c).
    bool ActivateHintFor(TControl* c, TPoint pos);
    void CancelHint();
    void HideHint();
    THintWindow* HintWindow() const { return hintWindow_; }
    int IdleCount() const { return idleCount_; }

    struct Impl;
    Impl* impl() const { return impl_.get(); }
    TControl* HintControl() const { return hintControl_; }
    void SetHintControl(TControl* c) { hintControl_ = c; }
    void ClearMainForm() { mainForm_ = nullptr; }
    void DropHintWindow();  // frees the hint window; the next hint makes a new one

private:
    void FormCreated(TCustomForm* f);
    void Idle();
    friend struct Impl;
    friend void RestartLoop();
    std::string title_ = "Korvelo";
    TCustomForm* mainForm_ = nullptr;
    std::atomic<bool> terminated_{false};  // Terminate may come from a worker
    bool running_ = false;
    THintWindow* hintWindow_ = nullptr;
    TControl* hintControl_ = nullptr;
    int idleCount_ = 0;
    std::unique_ptr<Impl> impl_;
};

enum : UINT {
    MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5, MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40
};
enum { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

class TScreen : public TComponent {
public:
    int Width() const;
    int Height() const;
    int PixelsPerInch() const { return 96; }
    TRect WorkAreaRect() const;
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    TCursor Cursor() const { return cursor_; }
    // Anything but crDefault overrides every window's cursor.
    void SetCursor(TCursor c);
    // The cursor table: a loaded cursor under a number that controls and the screen can show.
    HCURSOR Cursors(TCursor index) const { return CursorHandle(index); }
    void SetCursors(TCursor index, HCURSOR cursor) { SetCursorHandle(index, cursor); }
    int FormCount() const;
    TCustomForm* Forms(int i) const;
    TCustomForm* ActiveForm() const;
    TWinControl* ActiveControl() const { return FindFocusedControl(); }
    int ColorDepth() const { return 32; }

private:
    TCursor cursor_ = crDefault;
};

// The part of a hint before '|', and the part after it (the whole hint without '|').
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

extern TApplication* Application;
extern TScreen* Screen;

// Creates the host application, Application and Screen, installs the screen-size hook
// of the log and maps the fonts. Safe to call again.
void InitPlatform(int& argc, char** argv);
// Frees Application (and with it every form, raising OnDestroy) and Screen.
void DonePlatform();

}  // namespace platform

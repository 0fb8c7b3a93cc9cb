#pragma once
// Controls: the windowless base, windowed controls (each a host window underneath),
// custom-drawn and graphic controls. Input reaches the virtual handlers through
// TMessage records, dispatched by WndProc.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Classes.h"
#include "platform/graphics/Graphics.h"
#include "platform/Messages.h"
#include "platform/system/Cursors.h"
#include "platform/system/KeyState.h"

namespace platform {

class TWinControl;
class TControl;
class TDragImageList;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;
TShiftState KeysToShiftState(UINT mkKeys);
TShiftState KeyDataToShiftState(LPARAM keyData);  // current modifier keys (the Alt bit from the data)

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Window borders; controls use bsNone and bsSingle, forms all of them.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;


enum TControlStyleFlag : unsigned {
    csAcceptsControls = 1u << 0, csCaptureMouse = 1u << 1, csClickEvents = 1u << 3, csFramed = 1u << 4,
    csSetCaption = 1u << 5, csOpaque = 1u << 6, csDoubleClicks = 1u << 7, csFixedWidth = 1u << 8,
    csFixedHeight = 1u << 9, csReplicatable = 1u << 11, csNoStdEvents = 1u << 12
};
using TControlStyle = unsigned;
enum TControlStateFlag : unsigned { csLButtonDown = 1, csClicked = 2, csFocusing = 4, csCreating = 8, csPaintCopy = 16 };
using TControlState = unsigned;

enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// A drag moves data (dkDrag) or the control itself to a dock site or into the open (dkDock).
enum TDragKind { dkDrag, dkDock };

// What is being dragged within the application; the source control unless OnStartDrag
// gives an object of its own.
class TDragObject : public TObject {
public:
    TControl* Control = nullptr;  // the source
    TPoint DragPos;               // screen
    bool Cancelling = false;
};

// A control on its way to a dock site: where it would go (screen), the site under the
// mouse, and whether it would float (no site takes it).
class TDragDockObject : public TDragObject {
public:
    TRect DockRect;
    TAlign DropAlign = alNone;
    TControl* DropOnControl = nullptr;
    bool Floating = true;
    TWinControl* DragTarget = nullptr;
    TPoint GrabOffset;  // the mouse inside the control when the drag began
};

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TStartDockEvent = std::function<void(TObject* Sender, TDragDockObject*& DragObject)>;
using TDockOverEvent =
    std::function<void(TObject* Sender, TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDockDropEvent = std::function<void(TObject* Sender, TDragDockObject* Source, int X, int Y)>;
using TGetSiteInfoEvent = std::function<void(TObject* Sender, TControl* DockClient, TRect& InfluenceRect,
                                             TPoint MousePos, bool& CanDock)>;
using TUnDockEvent = std::function<void(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow)>;
// Makes the window a control floats in; nullptr lets the control float as a window of its own.
using TFloatingDockSiteClass = std::function<TWinControl*(TControl* Client)>;

// Filled for CM_HINTSHOW (LParam points to it); a handler may change it, Result != 0 refuses the hint.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos;  // screen
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;  // client coordinates of HintControl
    TPoint CursorPos;  // client coordinates of HintControl
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    std::string HintStr;
    void* HintData = nullptr;
};
inline THintInfo* HintInfoOf(const TMessage& m) { return reinterpret_cast<THintInfo*>(m.LParam); }

// Canvas of a control: the paint DC while painting, otherwise the window itself.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* c);
    ~TControlCanvas() override;
    TControl* Control() const { return control_; }
    void SetDC(DeviceContext* dc);  // the paint DC; nullptr returns to the window
    void FreeHandle();              // outside painting: the next use takes the window anew
    // Runs paint with the canvas on the paint DC; the canvas returns to the window after, also on a throw.
    void PaintOn(DeviceContext* dc, const std::function<void()>& paint);

protected:
    void CreateHandle() override;

private:
    TControl* control_;
    std::unique_ptr<DeviceContext> windowDC_;
    bool inPaint_ = false;
};

// Limits of a control's size; 0 means none.
struct TSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* p);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int l, int t, int w, int h);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect() const { return Rect(0, 0, width_, height_); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int w) { SetWidth(width_ - ClientWidth() + w); }
    void SetClientHeight(int h) { SetHeight(height_ - ClientHeight() + h); }
    TPoint ClientOrigin() const;  // screen position of the client's top-left
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Showing() const;  // visible with every parent visible
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool e);

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont* Font() { return &font_; }
    void SetFont(const TFont& f) { font_.Assign(f); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);

    const std::string& Caption() const { return text_; }
    void SetCaption(const std::string& s) { SetText(s); }
    const std::string& Text() const { return text_; }
    virtual void SetText(const std::string& s);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& s) { hint_ = s; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool v);

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    void SetCursor(HCURSOR) = delete;  // a loaded cursor is shown with platform::SetCursor
    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors a);
    TSizeConstraints Constraints;  // applied by SetBounds
    TDragMode DragMode = dmManual;
    TCursor DragCursor = crDrag;

    TControlStyle ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState ControlState = 0;

    bool MouseCapture() const;
    void SetMouseCapture(bool v);

    virtual void Invalidate();
    void Repaint();
    virtual void Update();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // Sends a message straight to WindowProc and returns its result.
    LRESULT Perform(UINT msg, WPARAM w = 0, LPARAM l = 0);
    // Where every message of the control goes first; WndProc unless someone subclasses
    // the control by putting their own here (and calling the one they found).
    using TWndMethod = std::function<void(TMessage&)>;
    TWndMethod WindowProc;
    // The message procedure: override it to see every message first.
    virtual void WndProc(TMessage& m);
    // Routes a message to its handler below; unknown ones reach DefaultHandler.
    virtual void Dispatch(TMessage& m);
    virtual void DefaultHandler(TMessage& m);

    TNotifyEvent OnClick, OnDblClick, OnResize;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;

    // Dragging within the application. BeginDrag starts at once, or once the mouse has
    // moved threshold pixels (a release before that is an ordinary release); the left
    // button's release drops, Esc cancels. dmAutomatic begins a drag on a left press.
    void BeginDrag(bool Immediate, int Threshold = -1);
    void EndDrag(bool Drop);
    bool Dragging() const;
    // The picture that follows the mouse while this control is dragged; none by default.
    virtual TDragImageList* GetDragImages() { return nullptr; }
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;
    // Accept starts true when OnDragOver is assigned, false otherwise.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DoEndDrag(TObject* Target, int X, int Y);

    // Docking. With DragKind dkDock a drag moves the control: over a dock site (a windowed
    // control with DockSite whose GetSiteInfo takes it) the site's DockOver decides, the
    // drop docks it there (the old site's DoUnDock may refuse); dropped elsewhere it floats
    // in a window of FloatingDockSiteClass (a tool form by default) at the drop point.
    TDragKind DragKind = dkDrag;
    TWinControl* HostDockSite() const { return hostDockSite_; }
    // Floating: in a floating site, or a window of its own that was floated.
    bool Floating() const;
    TFloatingDockSiteClass FloatingDockSiteClass;
    // The size the control floats at (0: its size); docking into a site from the open
    // records the size it had there.
    int UndockWidth = 0, UndockHeight = 0;
    // Docks the control into NewDockSite as a drop there would; nullptr floats it where it
    // is. False when the old site refused to let it go.
    bool ManualDock(TWinControl* NewDockSite, TControl* DropControl = nullptr, TAlign ControlSide = alNone);
    // Floats the control at ScreenPos (its bounds on the screen).
    bool ManualFloat(TRect ScreenPos);
    // Moves the control into NewDockSite (nullptr: to the screen at ARect); ARect is in the
    // site's client coordinates.
    virtual void Dock(TWinControl* NewDockSite, TRect ARect);
    TStartDockEvent OnStartDock;
    TEndDragEvent OnEndDock;
    virtual void DoStartDock(TDragDockObject*& DragObject);
    virtual void DoEndDock(TObject* Target, int X, int Y);

    // Message handlers, as the class library names them.
    virtual void WMLButtonDown(TWMMouse& m);
    virtual void WMLButtonUp(TWMMouse& m);
    virtual void WMLButtonDblClk(TWMMouse& m);
    virtual void WMRButtonDown(TWMMouse& m);
    virtual void WMRButtonUp(TWMMouse& m);
    virtual void WMRButtonDblClk(TWMMouse& m);
    virtual void WMMButtonDown(TWMMouse& m);
    virtual void WMMButtonUp(TWMMouse& m);
    virtual void WMMButtonDblClk(TWMMouse& m);
    virtual void WMMouseMove(TWMMouseMove& m);
    virtual void WMMouseWheel(TWMMouseWheel& m);
    virtual void WMCancelMode(TWMCancelMode& m);
    virtual void WMSize(TWMSize& m);
    virtual void WMMove(TWMMove& m);
    virtual void WMPaint(TWMPaint& m) { DefaultHandler(m); }
    virtual void CMMouseEnter(TMessage& m);
    virtual void CMMouseLeave(TMessage& m);
    virtual void CMHintShow(TCMHintShow& m) { DefaultHandler(m); }
    virtual void CMEnabledChanged(TMessage& m) { Invalidate(); DefaultHandler(m); }
    virtual void CMVisibleChanged(TMessage& m) { DefaultHandler(m); }
    // These two also tell the children that follow their parent's colour or font.
    virtual void CMColorChanged(TMessage& m) { Invalidate(); DefaultHandler(m); }
    virtual void CMFontChanged(TMessage& m) { Invalidate(); DefaultHandler(m); }
    virtual void CMTextChanged(TMessage& m) { Invalidate(); DefaultHandler(m); }
    virtual void CMCursorChanged(TMessage& m);
    virtual void CMParentColorChanged(TMessage& m);
    virtual void CMParentFontChanged(TMessage& m);
    virtual void CMParentShowHintChanged(TMessage& m);
    virtual void CMHitTest(TMessage& m) { m.Result = 1; }

    // The handlers that the message handlers call.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void Resize();

    // The window that shows this control (itself when windowed), and this control's
    // offset inside that window's client area.
    virtual TWinControl* HostWindow() const;
    TPoint OffsetInHost() const;

protected:
    void ParentFontChanged();
    void NotifyFontChanged();
    TFont font_;

private:
    void MouseButtonMessage(TMessage& m, TMouseButton b, bool down, bool dbl);
    friend class TWinControl;
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true, enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false, parentFont_ = true, showHint_ = false, parentShowHint_ = true;
    std::string text_, hint_;
    TCursor cursor_ = crDefault;
    TAlign align_ = alNone;
    TAnchors anchors_ = akLeft | akTop;
    // Distances to the parent's right and bottom, kept for right and bottom anchors.
    int anchorRight_ = -1, anchorBottom_ = -1;
    TWinControl* hostDockSite_ = nullptr;
    bool floatingAlone_ = false;  // floated as a window of its own
    bool docking_ = false;        // inside Dock: a new parent does not undock
    friend class TControlCanvas;
};

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    UINT WindowClassStyle = 0;
};
enum : DWORD { WS_BORDER = 0x00800000, WS_CAPTION = 0x00C00000, WS_TABSTOP = 0x00010000, WS_CHILD = 0x40000000,
               WS_POPUP = 0x80000000, WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000, WS_CLIPCHILDREN = 0x02000000,
               WS_EX_TOPMOST = 0x8, WS_EX_TRANSPARENT = 0x20,
               WS_EX_TOOLWINDOW = 0x80, WS_EX_CLIENTEDGE = 0x200 };
enum : UINT { CS_SAVEBITS = 0x0800, CS_DROPSHADOW = 0x00020000, CS_DBLCLKS = 0x8 };

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The host window, created on first need together with its windowed children.
    HWND Handle();
    bool HandleAllocated() const;
    void HandleNeeded() { Handle(); }
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd() {}  // after the window exists
    virtual void DestroyWnd() {}

    int ControlCount() const { return int(controls_.size()); }
    TControl* Controls(int i) const { return controls_[std::size_t(i)]; }
    TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls = false) const;
    void Broadcast(TMessage& m);
    bool ContainsControl(const TControl* c) const;

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v) { tabStop_ = v; }
    int TabOrder() const;
    void SetTabOrder(int v);
    void GetTabOrderList(std::vector<TWinControl*>& list);
    virtual bool CanFocus() const;
    // Typed characters the 8-bit page lacks reach WM_CHAR with their UTF-16 code (256 and
    // up) when this answers true, and as '?' otherwise.
    virtual bool WantsWideChars() const { return false; }
    virtual void SetFocus();
    bool Focused() const;
    bool DoubleBuffered = false;
    TBrush* Brush() { return &brush_; }

    void DisableAlign() { ++alignLevel_; }
    void EnableAlign();
    void Realign();
    virtual void AlignControls(TControl* aControl, TRect& rect);
    // Narrows the area that aligned children share (a panel's bevel and border).
    virtual void AdjustClientRect(TRect& rect) { (void)rect; }
    void SetBounds(int l, int t, int w, int h) override;
    void SetVisible(bool v) override;
    void SetEnabled(bool e) override;
    void SetText(const std::string& s) override;
    void Invalidate() override;
    // Client coordinates; a window that shows its drawing elsewhere (mirrored) maps them.
    virtual void InvalidateRect(const TRect& r);
    void Update() override;
    TWinControl* HostWindow() const override { return const_cast<TWinControl*>(this); }
    TRect ClientRect() const override;  // less the frame and the scroll bars shown
    // The frame round the client area on each side: WS_BORDER gives 1, WS_EX_CLIENTEDGE
    // 2 (from CreateParams), BorderWidth adds its own. WM_NCPAINT draws it.
    virtual int FrameWidth() const;
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);
    // Makes the window again, after a change that CreateParams reads.
    void RecreateWnd();
    virtual void WMNCPaint(TMessage& m);

    // Paints this control and its children into dc at (x, y), as a paint message does.
    void PaintTo(HDC dc, int x, int y);
    void PaintTo(TCanvas* canvas, int x, int y) { PaintTo(canvas->Handle(), x, y); }

    // WM_SETREDRAW: while off, invalidated parts wait and nothing repaints.
    bool RedrawEnabled() const;
    // Window timers: WM_TIMER with the identifier every interval milliseconds.
    bool SetTimer(UINT id, UINT interval);
    bool KillTimer(UINT id);

    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter, OnExit;

    // Dock sites.
    bool DockSite = false;
    int DockClientCount() const { return int(dockClients_.size()); }
    TControl* DockClients(int i) const { return dockClients_[std::size_t(i)]; }
    TDockOverEvent OnDockOver;
    TDockDropEvent OnDockDrop;
    TGetSiteInfoEvent OnGetSiteInfo;
    TUnDockEvent OnUnDock;
    // During a dock drag: the site's screen rectangle becomes the dock rectangle, then
    // DoDockOver (OnDockOver) decides; Accept starts true.
    virtual void DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DoDockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept);
    // The drop: CM_DOCKCLIENT docks the control, then OnDockDrop.
    virtual void DockDrop(TDragDockObject* Source, int X, int Y);
    // Where this site takes a client (its window rectangle grown by 10 pixels, screen) and
    // whether it takes this one (true unless OnGetSiteInfo says otherwise).
    virtual void GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock);
    // A client arrived (the base makes it a child at ARect) or left (the base does nothing).
    virtual void DoAddDockClient(TControl* Client, const TRect& ARect);
    virtual void DoRemoveDockClient(TControl* Client);
    // Asks OnUnDock, then sends CM_UNDOCKCLIENT; false when the client must stay.
    virtual bool DoUnDock(TWinControl* NewTarget, TControl* Client);
    virtual void CMDockClient(TCMDockClient& m);
    virtual void CMUnDockClient(TCMUnDockClient& m) { m.Result = 0; }
    virtual void CMDockNotification(TCMDockNotification& m) { m.Result = 0; }
    // A window that exists only to hold floating controls.
    virtual bool IsFloatingDockSite() const { return false; }

    void WndProc(TMessage& m) override;
    void Dispatch(TMessage& m) override;
    void DefaultHandler(TMessage& m) override;
    virtual void WMPaint(TWMPaint& m) override;
    // Without a brush of its own under WS_EX_TRANSPARENT: the parent's drawing stays.
    virtual void WMEraseBkgnd(TWMEraseBkgnd& m);
    // Outside the window's region (SetWindowRgn) the window is not hit.
    void CMHitTest(TMessage& m) override;
    virtual void WMSetFocus(TWMSetFocus& m);
    virtual void WMKillFocus(TWMKillFocus& m);
    virtual void WMKeyDown(TWMKeyDown& m);
    virtual void WMKeyUp(TWMKeyUp& m);
    virtual void WMChar(TWMChar& m);
    virtual void WMSysKeyDown(TWMKeyDown& m) { WMKeyDown(m); }
    virtual void WMSysKeyUp(TWMKeyUp& m) { WMKeyUp(m); }
    virtual void WMTimer(TWMTimer& m) { DefaultHandler(m); }
    // The window's scroll bars: WM_HSCROLL / WM_VSCROLL with ScrollCode and ScrollPos.
    virtual void WMHScroll(TWMHScroll& m) { DefaultHandler(m); }
    virtual void WMVScroll(TWMVScroll& m) { DefaultHandler(m); }
    virtual void WMGetDlgCode(TWMGetDlgCode& m) { DefaultHandler(m); }
    virtual void WMSetCursor(TWMSetCursor& m) { DefaultHandler(m); }
    // Where a screen point (LParam) lies in the window: HTCLIENT unless a window answers
    // otherwise. A press on a sizing edge or corner sizes the window with the mouse, a
    // press on HTCAPTION moves it.
    virtual void WMNCHitTest(TMessage& m) { m.Result = HTCLIENT; }
    virtual void CMEnter(TMessage& m);
    virtual void CMExit(TMessage& m);
    // The focus came in from outside the control (OnEnter), or left it (OnExit).
    virtual void DoEnter();
    virtual void DoExit();
    virtual void CMDialogKey(TCMDialogKey& m) { DefaultHandler(m); }
    virtual void CMWantSpecialKey(TCMWantSpecialKey& m) { DefaultHandler(m); }
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);

    // Painting steps: the window's own drawing, then its graphic children.
    virtual void PaintWindow(HDC dc) { (void)dc; }
    void PaintControls(HDC dc, TControl* first);
    void PaintHandler(TWMPaint& m);

    struct Impl;
    Impl* impl() const { return impl_.get(); }
    static TWinControl* FromHandle(HWND h);  // nullptr once the control is gone

protected:
    virtual void CreateHandle();
    virtual void DestroyHandle();
    bool IsControlMouseMsg(TMessage& m);
    virtual bool IsTopLevel() const { return false; }
    // A form with key preview sees keys before the focused control.
    virtual bool WantsKeyPreview() const { return false; }
    // Window flags of a top-level window (forms and hint windows set them).
    virtual unsigned TopLevelFlags() const { return 0; }
    // Told (on the top-level window) when one of its controls receives the focus.
    virtual void ChildFocused(TWinControl* c) { (void)c; }

private:
    friend class TControl;
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    void ApplyGeometry();
    void AlignChildren();
    std::vector<TControl*> controls_;
    std::vector<TControl*> dockClients_;
    std::unique_ptr<Impl> impl_;
    TBrush brush_;
    bool tabStop_ = false;
    int borderWidth_ = 0;
    int alignLevel_ = 0;
    bool aligning_ = false;
};

// A windowed control with its own canvas, drawn by Paint.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return canvas_.get(); }
    virtual void Paint() {}

protected:
    void PaintWindow(HDC dc) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

// A windowless control drawn on its parent's window.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return canvas_.get(); }
    virtual void Paint() {}
    void WMPaint(TWMPaint& m) override;
    void SetBounds(int l, int t, int w, int h) override;
    void SetParent(TWinControl* p) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

// Window scroll bars. A bar shows while its range exceeds its page (or always with
// SIF_DISABLENOSCROLL); it takes its strip off the client area. Using it sends
// WM_HSCROLL / WM_VSCROLL with the SB_ code in the low word (and the thumb position in
// the high word for SB_THUMBTRACK / SB_THUMBPOSITION); the thumb moves when the window
// sets the position, as the platform does.
enum { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };
enum {
    SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2, SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6,
    SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8
};
enum : UINT { SIF_RANGE = 1, SIF_PAGE = 2, SIF_POS = 4, SIF_DISABLENOSCROLL = 8, SIF_TRACKPOS = 16, SIF_ALL = 23 };
struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0, nMax = 0;
    UINT nPage = 0;
    int nPos = 0, nTrackPos = 0;
};
int SetScrollInfo(HWND h, int bar, const SCROLLINFO& info, bool redraw);  // the new position
bool GetScrollInfo(HWND h, int bar, SCROLLINFO& info);
int SetScrollPos(HWND h, int bar, int pos, bool redraw);  // the old position
int GetScrollPos(HWND h, int bar);
bool SetScrollRange(HWND h, int bar, int minPos, int maxPos, bool redraw);
bool ShowScrollBar(HWND h, int bar, bool show);

// Ends the drag under way, if any, without a drop.
void CancelDrag();

// Moves the pixels of the client area (or of scrollRect) by (dx, dy), cut to clipRect,
// and invalidates what is uncovered.
bool ScrollWindow(HWND h, int dx, int dy, const TRect* scrollRect, const TRect* clipRect);
// Invalidates r (the whole window when null; rgn is not used) and, with RDW_UPDATENOW,
// paints at once; RDW_ALLCHILDREN takes the windowed children along.
enum : UINT { RDW_INVALIDATE = 0x1, RDW_ERASE = 0x4, RDW_ALLCHILDREN = 0x80, RDW_UPDATENOW = 0x100,
              RDW_FRAME = 0x400 };
bool RedrawWindow(HWND h, const TRect* r, HRGN rgn, UINT flags);

// Mouse capture across controls.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* c);
HWND SetCapture(HWND h);
bool ReleaseCapture();
HWND GetCapture();
// Focus.
TWinControl* FindFocusedControl();

// A message identifier for a name, the same for the same name (0xC000 and up).
UINT RegisterWindowMessage(const std::string& name);
// Lines one wheel notch scrolls, as the desktop sets it.
int WheelScrollLines();

// Messages by window handle. PostMessage queues: the message is handled after the
// current one, by the event loop or ProcessMessages.
LRESULT SendMessage(HWND h, UINT msg, WPARAM w, LPARAM l);
bool PostMessage(HWND h, UINT msg, WPARAM w, LPARAM l);
UINT SetTimer(HWND h, UINT id, UINT interval, void* unused = nullptr);
bool KillTimer(HWND h, UINT id);
bool InvalidateRect(HWND h, const TRect* r, bool erase);
// A handler of WM_PAINT without a DC in the message paints on the DC BeginPaint gives
// (the window's own outside a paint message); EndPaint gives it back.
struct PAINTSTRUCT {
    HDC hdc = nullptr;
    bool fErase = false;
    TRect rcPaint;
    bool fOwnDC = false;  // from GetDC: EndPaint releases it
};
HDC BeginPaint(HWND h, PAINTSTRUCT& ps);
bool EndPaint(HWND h, const PAINTSTRUCT& ps);
// The text caret: one for the application, owned by one window, blinking by inverting
// its rectangle. It starts hidden; ShowCaret and HideCaret nest.
bool CreateCaret(HWND h, int width, int height);
bool DestroyCaret();
bool SetCaretPos(int x, int y);
bool GetCaretPos(TPoint& p);
bool ShowCaret(HWND h);
bool HideCaret(HWND h);
UINT GetCaretBlinkTime();
bool SetCaretBlinkTime(UINT ms);
bool GetCursorPos(TPoint& p);
bool SetCursorPos(int x, int y);  // in screen pixels
// The window's user-data slot.
enum { GWLP_USERDATA = -21 };
LPARAM SetWindowLongPtr(HWND h, int index, LPARAM value);  // the old value
LPARAM GetWindowLongPtr(HWND h, int index);
// The window's shape, in window coordinates (its frame included); nullptr makes it
// rectangular again. The window keeps the region: it shows only inside it (on the screen
// and in PaintTo, where the parent's drawing stays around it), and the mouse hits it only
// there. A window of style WS_EX_TRANSPARENT starts each paint with its parent's drawing
// under it as its background.
int SetWindowRgn(HWND h, HRGN rgn, bool redraw);
// A copy of the window's region into rgn: SIMPLEREGION/COMPLEXREGION, or ERROR without one.
int GetWindowRgn(HWND h, HRGN rgn);
// The visible child window of parent under a point in parent's client coordinates (the
// regions counted), parent itself when no child is hit, nullptr outside parent.
HWND ChildWindowFromPoint(HWND parent, TPoint p);
// The deepest visible window under a screen point, the windows' regions counted.
HWND WindowFromPoint(TPoint screen);

}  // namespace platform

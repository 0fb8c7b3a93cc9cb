// Multiple-document frames: the client window, its child forms, their activation and the
// window list the client keeps at the end of the frame's window menu.
#include <algorithm>

#include "base/Exception.h"
#include "platform/controls/ControlsPrivate.h"
#include "platform/controls/Menus.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"

namespace platform {

namespace {

constexpr int kChildFrame = 4;

// Posted to the client when its children changed; it then asks itself for the window list.
UINT RefreshRequest() { static const UINT id = RegisterWindowMessage("KorveloMDIRefresh"); return id; }

}  // namespace

class TMDIClient : public TWinControl {
public:
    explicit TMDIClient(TCustomForm* frame) : TWinControl(nullptr), frame_(frame)
    {
        ControlStyle |= csAcceptsControls;
        SetColor(clAppWorkSpace);
        SetParent(frame);
        SetAlign(alClient);
    }
    ~TMDIClient() override
    {
        closing_ = true;
        DropListItems();
        // The children go with the client, each as a form is freed.
        while (!created_.empty()) {
            TCustomForm* c = created_.back();
            created_.pop_back();
            std::erase(zorder_, c);
            c->BeforeDestruction();
            delete c;
        }
    }
    void CreateParams(TCreateParams& p) override
    {
        TWinControl::CreateParams(p);
        p.ExStyle |= WS_EX_CLIENTEDGE;
    }
    void PaintWindow(HDC dc) override { FillRect(dc, ClientRect(), ColorToRGB(Color())); }

    TCustomForm* Frame() const { return frame_; }
    TCustomForm* Active() const { return active_; }
    const std::vector<TCustomForm*>& ZOrder() const { return zorder_; }

    void AddChild(TCustomForm* c)
    {
        if (std::find(created_.begin(), created_.end(), c) != created_.end()) return;
        created_.push_back(c);
        zorder_.push_back(c);
        ScheduleRefresh();
    }
    void RemoveChild(TCustomForm* c)
    {
        const bool wasActive = active_ == c;
        std::erase(created_, c);
        std::erase(zorder_, c);
        if (wasActive) active_ = nullptr;
        if (closing_) return;
        if (wasActive) ActivateFirstVisible(c);
        ScheduleRefresh();
    }
    // A child was shown or hidden.
    void ChildVisibility(TCustomForm* c, bool shown)
    {
        if (shown) Activate(c);
        else if (std::find(zorder_.begin(), zorder_.end(), c) != zorder_.end()) {
            // The hidden child goes behind the others, the next one comes forward.
            std::erase(zorder_, c);
            zorder_.push_back(c);
            if (active_ == c) {
                active_ = nullptr;
                SendActivation(c, nullptr);
                ActivateFirstVisible(c);
            }
        }
        ScheduleRefresh();
    }
    void Activate(TCustomForm* c)
    {
        auto it = std::find(zorder_.begin(), zorder_.end(), c);
        if (it == zorder_.end() || !c->Visible()) return;
        TCustomForm* old = active_;
        active_ = c;
        zorder_.erase(it);
        zorder_.insert(zorder_.begin(), c);
        c->BringToFront();
        if (old != c) {
            if (old) SendActivation(old, c);
            SendActivation(c, old);
            ScheduleRefresh();
        }
        // The focus goes into the child unless it is there already.
        TWinControl* f = FindFocusedControl();
        if (!(f && (f == c || c->ContainsControl(f)))) {
            TWinControl* target = c->ActiveControl();
            if (target && target->CanFocus() && c->ContainsControl(target)) target->SetFocus();
            else c->SelectNext(nullptr, true, true);
        }
    }
    void Step(bool forward)
    {
        std::vector<TCustomForm*> shown;
        for (TCustomForm* f : zorder_)
            if (f->Visible()) shown.push_back(f);
        if (shown.size() < 2) return;
        if (forward) {
            // The active child goes to the back, the one behind it comes forward.
            TCustomForm* a = shown.front();
            Activate(shown[1]);
            std::erase(zorder_, a);
            zorder_.push_back(a);
        } else {
            Activate(shown.back());
        }
    }
    void ScheduleRefresh()
    {
        if (pending_ || closing_) return;
        pending_ = true;
        PostMessage(Handle(), RefreshRequest(), 0, 0);
    }
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == RefreshRequest()) {
            pending_ = false;
            Perform(WM_MDIREFRESHMENU);
            return;
        }
        switch (m.Msg) {
        case WM_MDIACTIVATE:
            if (auto* c = dynamic_cast<TCustomForm*>(FromHandle(reinterpret_cast<HWND>(m.WParam))))
                if (c->Parent() == this) Activate(c);
            m.Result = 0;
            return;
        case WM_MDIGETACTIVE: m.Result = Active() ? LRESULT(Active()->Handle()) : 0; return;
        case WM_MDINEXT: Step(m.LParam == 0); m.Result = 0; return;
        case WM_MDIDESTROY:
            if (auto* c = dynamic_cast<TCustomForm*>(FromHandle(reinterpret_cast<HWND>(m.WParam))))
                if (c->Parent() == this) c->Release();
            m.Result = 0;
            return;
        case WM_MDIREFRESHMENU: m.Result = RefreshWindowList(); return;
        default: TWinControl::Dispatch(m); return;
        }
    }

private:
    void SendActivation(TCustomForm* c, TCustomForm* other)
    {
        const bool on = Active() == c;
        c->Perform(WM_MDIACTIVATE, WPARAM(on ? (other ? other->Handle() : nullptr) : c->Handle()),
                   LPARAM(on ? c->Handle() : (other ? other->Handle() : nullptr)));
        c->Perform(on ? CM_ACTIVATE : CM_DEACTIVATE);
        c->Perform(WM_NCPAINT);
        c->Invalidate();
    }
    void ActivateFirstVisible(TCustomForm* except)
    {
        for (TCustomForm* f : zorder_)
            if (f != except && f->Visible()) {
                Activate(f);
                return;
            }
    }
    void DropListItems()
    {
        TMenuItem* menu = frame_->WindowMenu();
        for (TMenuItem* item : listItems_)
            if (menu && menu->IndexOf(item) >= 0) menu->Remove(item), delete item;
        listItems_.clear();
    }
    // The client's own window list: a line and one numbered item per shown child, in the
    // order the children were made, the active one checked.
    LRESULT RefreshWindowList()
    {
        DropListItems();
        TMenuItem* menu = frame_->WindowMenu();
        TMainMenu* main = FormMenu(frame_);
        if (!menu) return 0;
        std::vector<TCustomForm*> shown;
        for (TCustomForm* f : created_)
            if (f->Visible()) shown.push_back(f);
        if (!shown.empty()) {
            auto* line = new TMenuItem(nullptr);
            line->SetCaption("-");
            menu->Add(line);
            listItems_.push_back(line);
        }
        int n = 0;
        for (TCustomForm* f : shown) {
            auto* item = new TMenuItem(nullptr);
            ++n;
            item->SetCaption((n < 10 ? "&" : "") + std::to_string(n) + " " + f->Caption());
            item->Tag = long(reinterpret_cast<std::intptr_t>(f->Handle()));
            item->SetChecked(f == Active());
            item->OnClick = [this](TObject* sender) {
                if (auto* it = dynamic_cast<TMenuItem*>(sender))
                    Perform(WM_MDIACTIVATE, WPARAM(reinterpret_cast<HWND>(std::intptr_t(it->Tag))));
            };
            menu->Add(item);
            listItems_.push_back(item);
        }
        return LRESULT(main);
    }

    TCustomForm* frame_;
    std::vector<TCustomForm*> created_;  // in the order they were made
    std::vector<TCustomForm*> zorder_;   // the active one first
    std::vector<TMenuItem*> listItems_;
    TCustomForm* active_ = nullptr;
    bool pending_ = false;
    bool closing_ = false;
};

namespace {

TMDIClient* ClientOf(const TCustomForm* f) { return f ? static_cast<TMDIClient*>(f->MDIClient()) : nullptr; }
TMDIClient* ChildClient(const TCustomForm* child)
{
    return child && child->FormStyle() == fsMDIChild ? dynamic_cast<TMDIClient*>(child->Parent()) : nullptr;
}

// The child form that c sits in, within frame's client.
TCustomForm* ChildContaining(TControl* c)
{
    for (; c; c = c->Parent())
        if (auto* f = dynamic_cast<TCustomForm*>(c); f && ChildClient(f)) return f;
    return nullptr;
}

void MouseActivate(TWinControl* target)
{
    if (TCustomForm* child = ChildContaining(target))
        if (TMDIClient* client = ChildClient(child); client && client->Active() != child) client->Activate(child);
}

TCustomForm* FindMDIFrame()
{
    if (Application && Application->MainForm() && Application->MainForm()->FormStyle() == fsMDIForm)
        return Application->MainForm();
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->FormStyle() == fsMDIForm) return Screen->Forms(i);
    return nullptr;
}

}  // namespace

void TCustomForm::SetFormStyle(TFormStyle s)
{
    if (s == formStyle_) return;
    gMouseActivateHook = &MouseActivate;
    TMDIClient* oldClient = ChildClient(this);
    if (s == fsMDIChild) {
        TCustomForm* frame = FindMDIFrame();
        if (!frame || frame == this) throw base::EInvalidOperation("Cannot create form. No MDI forms are currently active");
        formStyle_ = s;
        SetParent(frame->MDIClient());
        ClientOf(frame)->AddChild(this);
        RecreateWnd();
        if (Visible()) ClientOf(frame)->ChildVisibility(this, true);
        return;
    }
    if (formStyle_ == fsMDIForm && mdiClient_) {
        TWinControl* c = mdiClient_;
        mdiClient_ = nullptr;
        delete c;
    }
    formStyle_ = s;
    if (oldClient) {
        oldClient->RemoveChild(this);
        SetParent(nullptr);
        RecreateWnd();
    }
    if (s == fsMDIForm) mdiClient_ = new TMDIClient(this);
}

HWND TCustomForm::ClientHandle() const { return mdiClient_ ? mdiClient_->Handle() : nullptr; }

TCustomForm* TCustomForm::ActiveMDIChild() const
{
    TMDIClient* c = ClientOf(this);
    return c ? c->Active() : nullptr;
}

int TCustomForm::MDIChildCount() const
{
    TMDIClient* c = ClientOf(this);
    return c ? int(c->ZOrder().size()) : 0;
}

TCustomForm* TCustomForm::MDIChildren(int i) const
{
    TMDIClient* c = ClientOf(this);
    if (!c || i < 0 || i >= int(c->ZOrder().size())) throw base::EListError("List index out of bounds (" + std::to_string(i) + ")");
    return c->ZOrder()[std::size_t(i)];
}

void TCustomForm::SetWindowMenu(TMenuItem* item)
{
    if (item == windowMenu_) return;
    if (windowMenu_) RemoveFreeNotification(windowMenu_);
    windowMenu_ = item;
    if (item) FreeNotification(item);
    if (TMDIClient* c = ClientOf(this)) c->ScheduleRefresh();
}

void TCustomForm::Next()
{
    if (TMDIClient* c = ClientOf(this)) c->Step(true);
}

void TCustomForm::Previous()
{
    if (TMDIClient* c = ClientOf(this)) c->Step(false);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == windowMenu_) windowMenu_ = nullptr;
}

int TCustomForm::FrameWidth() const { return BorderWidth() + (formStyle_ == fsMDIChild ? kChildFrame : 0); }

void TCustomForm::WMNCPaint(TMessage& m)
{
    if (formStyle_ != fsMDIChild) {
        TWinControl::WMNCPaint(m);
        return;
    }
    HDC dc = m.DC();
    if (!dc) {
        // Asked to repaint the frame: the next paint draws it.
        Invalidate();
        return;
    }
    // The frame shows which child is active, in the caption colours.
    TRect r = Rect(0, 0, Width(), Height());
    const COLORREF edge = GetSysColor(COLOR_WINDOWFRAME);
    const COLORREF fill = ColorToRGB(ActiveMDIChildOfFrame() ? clActiveCaption : clInactiveCaption);
    FillRect(dc, r, edge);
    InflateRect(r, -1, -1);
    FillRect(dc, r, fill);
    m.Result = 0;
}

bool TCustomForm::ActiveMDIChildOfFrame() const
{
    TMDIClient* c = ChildClient(this);
    return c && c->Active() == this;
}

// Told by the form's own code.
void MDIChildShown(TCustomForm* f, bool shown)
{
    if (TMDIClient* c = ChildClient(f)) c->ChildVisibility(f, shown);
}

void MDIChildGone(TCustomForm* f)
{
    if (TMDIClient* c = ChildClient(f)) c->RemoveChild(f);
}

void MDIFrameGone(TCustomForm* f, TWinControl*& client)
{
    delete client;
    client = nullptr;
    (void)f;
}

void MDIChildRenamed(TCustomForm* f)
{
    if (TMDIClient* c = ChildClient(f)) c->ScheduleRefresh();
}

void MDIChildFocused(TCustomForm* frame, TWinControl* focused)
{
    if (TMDIClient* c = ClientOf(frame))
        if (TCustomForm* child = ChildContaining(focused); child && child->Parent() == c && c->Active() != child)
            c->Activate(child);
}

}  // namespace platform

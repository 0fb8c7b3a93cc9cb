// The menus' windows: the drop-downs, the menu bar of a form, pop-up menus, and the
// menu loop that routes the mouse and the keys while a menu is open.
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cctype>
#include <map>

#include "platform/controls/ControlsPrivate.h"
#include "platform/controls/EditBase.h"
#include "platform/controls/Menus.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"

namespace platform {

namespace {

constexpr int kFrame = MenuWindowFrame;
constexpr int kBarItemSpace = 12;

class TMenuWindow;

// Which menu is in use and what of it is open.
struct MenuLoop {
    TMenu* menu = nullptr;
    TMainMenu* bar = nullptr;          // the menu bar taking part (keyboard or open drop-down)
    int barIndex = -1;                 // the selected bar item
    std::vector<TMenuWindow*> windows;  // open drop-downs, outermost first
    std::vector<TMenuWindow*> spent;    // closed ones, freed at the next opening
    bool altTapped = false;
};
MenuLoop gLoop;

std::map<TCustomForm*, TMainMenu*> gFormMenus;
std::map<TControl*, TPopupMenu*> gPopupMenus;

std::vector<TMenuItem*> VisibleItems(const TMenuItem* parent)
{
    std::vector<TMenuItem*> v;
    for (int i = 0; i < parent->Count(); ++i)
        if (parent->Items(i)->Visible()) v.push_back(parent->Items(i));
    return v;
}

TOwnerDrawState ItemState(const TMenuItem* item, bool selected)
{
    TOwnerDrawState s = 0;
    if (selected) s |= odSelected;
    if (!item->Enabled()) s |= odDisabled | odGrayed;
    if (item->Checked()) s |= odChecked;
    if (item->Default()) s |= odDefault;
    return s;
}

void FreeSpent();
void OpenSubMenu(int level, TMenuItem* item);
void CloseFrom(std::size_t level);
void ChooseItem(TMenuItem* item);
bool RouteMouse(UINT msg, TPoint screen);

// One drop-down: the visible sub-items of an item, in columns.
class TMenuWindow : public TCustomControl {
public:
    TMenuWindow(TMenu* menu, TMenuItem* parent) : TCustomControl(nullptr), menu_(menu), parent_(parent)
    {
        ControlStyle &= ~(csCaptureMouse | csClickEvents);
        SetTabStop(false);
        TControl::SetVisible(false);
        SetColor(clMenu);
    }
    ~TMenuWindow() override
    {
        if (GetCaptureControl() == this) SetCaptureControl(nullptr);
    }
    void CreateParams(TCreateParams& params) override
    {
        TCustomControl::CreateParams(params);
        params.Style = (params.Style & ~DWORD(WS_CHILD)) | WS_POPUP;
        params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    }
    bool CanFocus() const override { return false; }

    TMenu* Menu() const { return menu_; }
    TMenuItem* ParentItem() const { return parent_; }
    const std::vector<TMenuItem*>& Items() const { return items_; }
    TRect ItemRect(int i) const { return rects_[std::size_t(i)]; }
    int Selected() const { return selected_; }
    int IndexOf(const TMenuItem* item) const
    {
        auto it = std::find(items_.begin(), items_.end(), item);
        return it == items_.end() ? -1 : int(it - items_.begin());
    }

    // Measures the items and takes the size they need.
    void Layout()
    {
        items_ = VisibleItems(parent_);
        rects_.assign(items_.size(), TRect{});
        TCanvas* c = Canvas();
        std::vector<TSize> sizes;
        for (TMenuItem* item : items_) {
            TSize s = item->DefaultSize(c, false);
            int w = s.cx, h = s.cy;
            if (item->OwnerDrawn()) item->MeasureItem(c, w, h);
            sizes.push_back({std::max(0, w), std::max(0, h)});
        }
        // Columns: a Break starts a new one. Item rectangles count from the inside of the frame.
        int x = 0, y = 0, colStart = 0, bottom = 0;
        auto closeColumn = [&](int end) {
            int w = 0;
            for (int i = colStart; i < end; ++i) w = std::max(w, sizes[std::size_t(i)].cx);
            for (int i = colStart; i < end; ++i) {
                rects_[std::size_t(i)].Left = x;
                rects_[std::size_t(i)].Right = x + w;
            }
            x += w;
        };
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (i > 0 && items_[i]->Break() != mbNone) {
                closeColumn(int(i));
                colStart = int(i);
                y = 0;
            }
            rects_[i].Top = y;
            rects_[i].Bottom = y + sizes[i].cy;
            y += sizes[i].cy;
            bottom = std::max(bottom, y);
        }
        closeColumn(int(items_.size()));
        width_ = x + 2 * kFrame;
        height_ = bottom + 2 * kFrame;
        if (selected_ >= int(items_.size())) selected_ = -1;
    }
    TSize NeededSize() const { return {width_, height_}; }

    void ShowAt(int x, int y)
    {
        SetBounds(x, y, width_, height_);
        HandleNeeded();
        if (QWidget* w = HostWidget(this)) {
            w->setAttribute(Qt::WA_ShowWithoutActivating);
            w->show();
            if (QGuiApplication::platformName() != QLatin1String("offscreen")) w->raise();
        }
        TControl::SetVisible(true);
        Invalidate();
    }
    void Close()
    {
        if (GetCaptureControl() == this) SetCaptureControl(nullptr);
        if (QWidget* w = HostWidget(this)) w->hide();
        TControl::SetVisible(false);
    }

    void Select(int i)
    {
        if (i == selected_) return;
        selected_ = i;
        Invalidate();
    }

    int ItemAt(TPoint client) const
    {
        const TPoint p = Point(client.X - kFrame, client.Y - kFrame);
        for (std::size_t i = 0; i < rects_.size(); ++i)
            if (PtInRect(rects_[i], p)) return int(i);
        return -1;
    }

    void Paint() override
    {
        TCanvas* c = Canvas();
        HDC dc = c->Handle();
        TRect r = ClientRect();
        FillRect(dc, r, ColorToRGB(clMenu));
        TRect edge = r;
        DrawEdge(dc, edge, EDGE_RAISED, BF_RECT);
        // The items draw in coordinates of the inside of the frame, as on the platform
        // whose drop-downs keep their frame outside the client area.
        const int saved = SaveDC(dc);
        SetViewportOrgEx(dc, kFrame, kFrame, nullptr);
        for (std::size_t i = 0; i < items_.size(); ++i) {
            c->Font().Assign(TMenu::MenuFont());
            c->Brush().SetColor(clMenu);
            c->Brush().SetStyle(bsSolid);
            c->Pen().SetColor(clMenuText);
            TMenuItem* item = items_[i];
            item->AdvancedDrawItem(c, rects_[i], ItemState(item, int(i) == selected_), false);
        }
        RestoreDC(c->Handle(), saved);
    }

    void WndProc(TMessage& m) override
    {
        if (IsMouseMsg(m.Msg) && m.Msg != WM_MOUSEWHEEL) {
            RouteMouse(m.Msg, ClientToScreen(m.Pos()));
            return;
        }
        if (m.Msg == WM_CANCELMODE) {
            CloseMenus();
            return;
        }
        TCustomControl::WndProc(m);
    }

protected:
    unsigned TopLevelFlags() const override { return unsigned(Qt::ToolTip | Qt::FramelessWindowHint); }
    bool IsTopLevel() const override { return !Parent(); }

private:
    TMenu* menu_;
    TMenuItem* parent_;
    std::vector<TMenuItem*> items_;
    std::vector<TRect> rects_;
    int selected_ = -1;
    int width_ = 0, height_ = 0;
};

void FreeSpent()
{
    for (TMenuWindow* w : gLoop.spent) delete w;
    gLoop.spent.clear();
}

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

TMenuWindow* OpenWindow(TMenu* menu, TMenuItem* parent, int x, int y)
{
    auto* w = new TMenuWindow(menu, parent);
    w->Layout();
    const TSize s = w->NeededSize();
    if (x + s.cx > ScreenWidth()) x = std::max(0, ScreenWidth() - s.cx);
    if (y + s.cy > ScreenHeight()) y = std::max(0, ScreenHeight() - s.cy);
    gLoop.windows.push_back(w);
    w->ShowAt(x, y);
    SetCaptureControl(w);
    return w;
}

}  // namespace

// ---------------------------------------------------------------- the menu bar

class TMainMenu::TMenuBar : public TCustomControl {
public:
    TMenuBar(TMainMenu* menu, TCustomForm* form) : TCustomControl(nullptr), menu_(menu)
    {
        ControlStyle &= ~csClickEvents;
        SetTabStop(false);
        SetColor(clMenu);
        SetParent(form);
        SetBounds(0, -1, form->ClientWidth(), BarHeight());
        SetAlign(alTop);
    }
    ~TMenuBar() override
    {
        if (gLoop.bar == menu_) CloseMenus();
        if (menu_) {
            menu_->bar_ = nullptr;
            if (menu_->form_) gFormMenus.erase(menu_->form_);
            menu_->form_ = nullptr;
        }
    }
    void Detach() { menu_ = nullptr; }
    bool CanFocus() const override { return false; }

    static int BarHeight()
    {
        TBitmap b(1, 1);
        b.Canvas()->Font().Assign(TMenu::MenuFont());
        return b.Canvas()->TextHeight("Wg") + 6;
    }

    void Layout()
    {
        items_ = VisibleItems(menu_->Items());
        rects_.clear();
        TCanvas* c = Canvas();
        int x = 0;
        const int h = Height();
        for (TMenuItem* item : items_) {
            TSize s = item->DefaultSize(c, true);
            int w = s.cx, ih = h;
            // A measured bar item gets the room between items that the bar adds.
            if (item->OwnerDrawn() && item->OnMeasureItem) {
                item->MeasureItem(c, w, ih);
                w += kBarItemSpace;
            }
            rects_.push_back(Rect(x, 0, x + std::max(0, w), h));
            x += std::max(0, w);
        }
    }
    const std::vector<TMenuItem*>& Items() const { return items_; }
    TRect ItemRect(int i) const { return rects_[std::size_t(i)]; }
    int ItemAt(TPoint p) const
    {
        for (std::size_t i = 0; i < rects_.size(); ++i)
            if (PtInRect(rects_[i], p)) return int(i);
        return -1;
    }
    int IndexOf(const TMenuItem* item) const
    {
        auto it = std::find(items_.begin(), items_.end(), item);
        return it == items_.end() ? -1 : int(it - items_.begin());
    }

    void Paint() override
    {
        Layout();
        TCanvas* c = Canvas();
        FillRect(c->Handle(), ClientRect(), ColorToRGB(clMenu));
        const bool mine = gLoop.bar == menu_;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            TOwnerDrawState state = ItemState(items_[i], mine && gLoop.barIndex == int(i));
            if (!mine && hot_ == int(i)) state |= odHotLight;
            c->Font().Assign(TMenu::MenuFont());
            c->Brush().SetColor(clMenu);
            c->Brush().SetStyle(bsSolid);
            items_[i]->AdvancedDrawItem(c, rects_[i], state, true);
        }
    }

    void MouseMove(TShiftState Shift, int X, int Y) override
    {
        TCustomControl::MouseMove(Shift, X, Y);
        if (gLoop.bar == menu_) {
            RouteMouse(WM_MOUSEMOVE, ClientToScreen(Point(X, Y)));
            return;
        }
        Layout();
        const int i = ItemAt(Point(X, Y));
        if (i != hot_) {
            hot_ = i;
            Invalidate();
        }
    }
    void CMMouseLeave(TMessage& m) override
    {
        hot_ = -1;
        Invalidate();
        TCustomControl::CMMouseLeave(m);
    }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        Layout();
        const int i = ItemAt(Point(X, Y));
        if (i < 0 && gLoop.bar == menu_ && gLoop.windows.empty()) {
            // A press elsewhere ends menu mode and goes on to where it was made.
            const TPoint screen = ClientToScreen(Point(X, Y));
            CloseMenus();
            PassOnPress(Button, Shift, screen);
            return;
        }
        if (Button != mbLeft) return;
        if (i < 0) return;
        if (gLoop.bar == menu_ && gLoop.barIndex == i && !gLoop.windows.empty()) {
            CloseMenus();
            return;
        }
        menu_->OpenItem(items_[std::size_t(i)]);
    }
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TCustomControl::MouseUp(Button, Shift, X, Y);
        if (Button != mbLeft || gLoop.bar != menu_) return;
        // A bar item without sub-items runs at once.
        const int i = ItemAt(Point(X, Y));
        if (i >= 0 && i == gLoop.barIndex && items_[std::size_t(i)]->Count() == 0) ChooseItem(items_[std::size_t(i)]);
    }
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_CANCELMODE && gLoop.bar == menu_) CloseMenus();
        TCustomControl::WndProc(m);
    }

private:
    void PassOnPress(TMouseButton Button, TShiftState Shift, TPoint screen)
    {
        TWinControl* w = Parent();
        if (!w || !PtInRect(w->ClientRect(), w->ScreenToClient(screen))) return;
        TControl* target = w;
        while (auto* parent = dynamic_cast<TWinControl*>(target)) {
            TControl* c = parent->ControlAtPos(parent->ScreenToClient(screen), false, true);
            if (!c || c == this) break;
            target = c;
        }
        if (target == this) return;
        const TPoint p = target->ScreenToClient(screen);
        const UINT msg = Button == mbRight ? WM_RBUTTONDOWN : Button == mbMiddle ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
        WPARAM keys = Button == mbRight ? MK_RBUTTON : Button == mbMiddle ? MK_MBUTTON : MK_LBUTTON;
        if (Shift & ssShift) keys |= MK_SHIFT;
        if (Shift & ssCtrl) keys |= MK_CONTROL;
        target->Perform(msg, keys, MakeLParam(p.X, p.Y));
    }

    TMainMenu* menu_;
    std::vector<TMenuItem*> items_;
    std::vector<TRect> rects_;
    int hot_ = -1;
};

namespace {

TMainMenu::TMenuBar* BarOf(TMainMenu* m) { return m ? static_cast<TMainMenu::TMenuBar*>(m->Bar()) : nullptr; }

// Opens the drop-down of item below the window of level (level - 1 is the window the
// item is in; -1 for the bar or the pop-up's root).
void OpenSubMenu(int level, TMenuItem* item)
{
    CloseFrom(std::size_t(level + 1));
    if (!item || item->Count() == 0 || !item->Enabled() || VisibleItems(item).empty()) return;
    TMenuWindow* owner = gLoop.windows[std::size_t(level)];
    const TRect r = owner->ItemRect(owner->IndexOf(item));
    const TPoint tl = owner->ClientToScreen(Point(r.Right, r.Top));
    TMenuWindow* w = OpenWindow(gLoop.menu, item, tl.X, tl.Y);
    // Left of the parent when the screen ends on the right.
    const TPoint ownerLeft = owner->ClientToScreen(Point(0, 0));
    if (tl.X + w->Width() > ScreenWidth() && ownerLeft.X - w->Width() + kFrame >= 0)
        w->SetBounds(ownerLeft.X - w->Width() + kFrame, w->Top(), w->Width(), w->Height());
}

void CloseFrom(std::size_t level)
{
    while (gLoop.windows.size() > level) {
        TMenuWindow* w = gLoop.windows.back();
        gLoop.windows.pop_back();
        w->Close();
        gLoop.spent.push_back(w);
    }
    if (!gLoop.windows.empty()) {
        SetCaptureControl(gLoop.windows.back());
    } else if (auto* bar = BarOf(gLoop.bar)) {
        // Still in menu mode: the bar keeps the mouse (a press elsewhere ends the mode)
        // and shows its item.
        SetCaptureControl(bar);
        bar->Invalidate();
    }
}

void ChooseItem(TMenuItem* item)
{
    if (!item || !item->Enabled() || item->IsLine() || item->Count() > 0) return;
    CloseMenus();
    item->Click();
}

int Level(const TWinControl* w)
{
    for (std::size_t i = 0; i < gLoop.windows.size(); ++i)
        if (gLoop.windows[i] == w) return int(i);
    return -1;
}

bool RouteMouse(UINT msg, TPoint screen)
{
    // The innermost window under the point, else the bar.
    for (int level = int(gLoop.windows.size()) - 1; level >= 0; --level) {
        TMenuWindow* w = gLoop.windows[std::size_t(level)];
        const TPoint p = w->ScreenToClient(screen);
        if (!PtInRect(w->ClientRect(), p)) continue;
        const int i = w->ItemAt(p);
        TMenuItem* item = i >= 0 ? w->Items()[std::size_t(i)] : nullptr;
        const bool usable = item && !item->IsLine();
        switch (msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (usable && w->Selected() != i) {
                w->Select(i);
                if (item->Count() > 0) OpenSubMenu(level, item);
                else CloseFrom(std::size_t(level + 1));
            } else if (!usable && msg == WM_MOUSEMOVE && int(gLoop.windows.size()) == level + 1) {
                w->Select(-1);
            }
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (usable) ChooseItem(item);
            break;
        default: break;
        }
        return true;
    }
    if (auto* bar = BarOf(gLoop.bar)) {
        const TPoint p = bar->ScreenToClient(screen);
        if (PtInRect(bar->ClientRect(), p)) {
            bar->Layout();
            const int i = bar->ItemAt(p);
            if (msg == WM_MOUSEMOVE && i >= 0 && i != gLoop.barIndex && !gLoop.windows.empty())
                gLoop.bar->OpenItem(bar->Items()[std::size_t(i)]);
            else if (msg == WM_LBUTTONDOWN && i == gLoop.barIndex)
                CloseMenus();
            else if (msg == WM_LBUTTONDOWN && i >= 0)
                gLoop.bar->OpenItem(bar->Items()[std::size_t(i)]);
            return true;
        }
    }
    // A press outside every menu closes them; the press goes nowhere else.
    if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) CloseMenus();
    return true;
}

// ---------------------------------------------------------------- keys

TMainMenu* MenuOfTarget(TWinControl* target)
{
    if (!target) return nullptr;
    return FormMenu(dynamic_cast<TCustomForm*>(TopOf(target)));
}

void ActivateBar(TMainMenu* menu, int index)
{
    CloseMenus();
    auto* bar = BarOf(menu);
    if (!bar) return;
    bar->Layout();
    if (bar->Items().empty()) return;
    gLoop.menu = menu;
    gLoop.bar = menu;
    gLoop.barIndex = std::clamp(index, 0, int(bar->Items().size()) - 1);
    SetCaptureControl(bar);
    bar->Invalidate();
}

int NextUsable(const std::vector<TMenuItem*>& items, int from, int step)
{
    const int n = int(items.size());
    if (n == 0) return -1;
    int i = from;
    for (int k = 0; k < n; ++k) {
        i = ((i + step) % n + n) % n;
        if (!items[std::size_t(i)]->IsLine()) return i;
    }
    return -1;
}

bool LoopKey(Word key)
{
    auto* bar = BarOf(gLoop.bar);
    if (key == VK_ESCAPE) {
        if (gLoop.windows.size() > 1 || (bar && !gLoop.windows.empty())) CloseFrom(gLoop.windows.size() - 1);
        else CloseMenus();
        return true;
    }
    if (gLoop.windows.empty()) {
        // Only the bar is active.
        if (!bar) return true;
        const int n = int(bar->Items().size());
        if (key == VK_LEFT || key == VK_RIGHT) {
            gLoop.barIndex = ((gLoop.barIndex + (key == VK_RIGHT ? 1 : -1)) % n + n) % n;
            bar->Invalidate();
        } else if (key == VK_DOWN || key == VK_RETURN) {
            TMenuItem* item = bar->Items()[std::size_t(gLoop.barIndex)];
            if (item->Count() > 0) gLoop.bar->OpenItem(item);
            else if (key == VK_RETURN) ChooseItem(item);
        } else if (char hot = char(key); hot >= '0' && hot <= 'Z') {
            for (TMenuItem* item : bar->Items())
                if (GetHotkey(item->Caption()) == hot) {
                    if (item->Count() > 0) gLoop.bar->OpenItem(item);
                    else ChooseItem(item);
                    break;
                }
        }
        return true;
    }
    TMenuWindow* w = gLoop.windows.back();
    const int level = int(gLoop.windows.size()) - 1;
    const auto& items = w->Items();
    switch (key) {
    case VK_UP:
    case VK_DOWN: {
        const int i = NextUsable(items, w->Selected() < 0 && key == VK_DOWN ? -1 : w->Selected(), key == VK_DOWN ? 1 : -1);
        w->Select(i);
        return true;
    }
    case VK_RIGHT: {
        const int i = w->Selected();
        if (i >= 0 && items[std::size_t(i)]->Count() > 0) {
            OpenSubMenu(level, items[std::size_t(i)]);
            if (gLoop.windows.size() > std::size_t(level + 1))
                gLoop.windows.back()->Select(NextUsable(gLoop.windows.back()->Items(), -1, 1));
        } else if (bar) {
            const int n = int(bar->Items().size());
            gLoop.bar->OpenItem(bar->Items()[std::size_t((gLoop.barIndex + 1) % n)]);
        }
        return true;
    }
    case VK_LEFT:
        if (level > 0) CloseFrom(std::size_t(level));
        else if (bar) {
            const int n = int(bar->Items().size());
            gLoop.bar->OpenItem(bar->Items()[std::size_t(((gLoop.barIndex - 1) % n + n) % n)]);
        }
        return true;
    case VK_RETURN: {
        const int i = w->Selected();
        if (i < 0) return true;
        TMenuItem* item = items[std::size_t(i)];
        if (item->Count() > 0) {
            OpenSubMenu(level, item);
            if (gLoop.windows.size() > std::size_t(level + 1))
                gLoop.windows.back()->Select(NextUsable(gLoop.windows.back()->Items(), -1, 1));
        } else {
            ChooseItem(item);
        }
        return true;
    }
    default: break;
    }
    const char hot = char(key);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (GetHotkey(items[i]->Caption()) != hot || items[i]->IsLine()) continue;
        w->Select(int(i));
        if (items[i]->Count() > 0) OpenSubMenu(level, items[i]);
        else ChooseItem(items[i]);
        break;
    }
    return true;
}

// A focused text field takes its own editing keys (select all, copy, paste, cut, undo)
// before any menu short-cut.
bool TextFieldKey(TWinControl* target, Word key, TShiftState shift)
{
    if (!dynamic_cast<TEditBase*>(target) || shift != ssCtrl) return false;
    return key == 'A' || key == 'C' || key == 'V' || key == 'X' || key == 'Z';
}

bool MenuKeyHook(TWinControl* target, UINT msg, Word key, LPARAM data)
{
    if (MenuActive()) {
        if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
            if (key == VK_MENU || key == VK_F10) {
                CloseMenus();
                return true;
            }
            return LoopKey(key);
        }
        return true;  // characters and releases go to the menu too
    }
    const bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
    if (down) {
        const bool wasAlt = key == VK_MENU;
        gLoop.altTapped = wasAlt;
        if (wasAlt) return false;
        const TShiftState shift = KeyDataToShiftState(data) & (ssShift | ssCtrl | ssAlt);
        if (key == VK_F10 && shift == 0) {
            if (TMainMenu* m = MenuOfTarget(target); m && m->Bar()) {
                ActivateBar(m, 0);
                return true;
            }
        }
        // The control's own editing keys come first, then the short-cuts: the pop-up menus
        // of the control and its parents, then the form's menu.
        if (TextFieldKey(target, key, shift)) return false;
        for (TControl* c = target; c; c = c->Parent())
            if (TPopupMenu* p = GetPopupMenu(c); p && p->IsShortCut(key, shift)) return true;
        if (TMainMenu* m = MenuOfTarget(target); m && m->IsShortCut(key, shift)) return true;
        return false;
    }
    if (msg == WM_SYSKEYUP && key == VK_MENU && gLoop.altTapped) {
        gLoop.altTapped = false;
        if (TMainMenu* m = MenuOfTarget(target); m && m->Bar()) {
            ActivateBar(m, 0);
            return true;
        }
        return false;
    }
    if (msg == WM_SYSCHAR) {
        // Alt with a letter that no control took: the menu-bar item it marks.
        const char hot = char(std::toupper(int(key & 0xFF)));
        TMainMenu* m = MenuOfTarget(target);
        if (!m || !m->Bar()) return false;
        for (TMenuItem* item : VisibleItems(m->Items()))
            if (GetHotkey(item->Caption()) == hot && item->Enabled()) {
                if (item->Count() > 0) m->OpenItem(item);
                else item->Click();
                return true;
            }
    }
    return false;
}

bool ContextMenuHook(TControl* control, TPoint screen)
{
    for (TControl* c = control; c; c = c->Parent()) {
        TPopupMenu* p = GetPopupMenu(c);
        if (!p) continue;
        if (!p->AutoPopup) return false;
        p->PopupComponent = c;
        p->Popup(screen.X, screen.Y);
        return true;
    }
    return false;
}

struct HookInstaller {
    HookInstaller()
    {
        gMenuKeyHook = MenuKeyHook;
        gContextMenuHook = ContextMenuHook;
    }
} gHookInstaller;

}  // namespace

// ---------------------------------------------------------------- menus

void TMenu::UpdateItems() { MenuChanged(this, nullptr, true); }

void TMenu::MenuChanged(TObject*, TMenuItem*, bool Rebuild)
{
    for (TMenuWindow* w : gLoop.windows) {
        if (w->Menu() != this) continue;
        if (Rebuild) {
            w->Layout();
            w->SetBounds(w->Left(), w->Top(), w->NeededSize().cx, w->NeededSize().cy);
        }
        w->Invalidate();
    }
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner)
{
    if (auto* form = dynamic_cast<TCustomForm*>(AOwner); form && !FormMenu(form)) SetForm(form);
}

TMainMenu::~TMainMenu()
{
    if (gLoop.menu == this) CloseMenus();
    if (bar_) {
        bar_->Detach();
        delete bar_;
        bar_ = nullptr;
    }
    if (form_) gFormMenus.erase(form_);
}

TCustomControl* TMainMenu::Bar() const { return bar_; }

void TMainMenu::SetForm(TCustomForm* Value)
{
    if (Value == form_) return;
    if (bar_) {
        bar_->Detach();
        delete bar_;
        bar_ = nullptr;
    }
    if (form_) gFormMenus.erase(form_);
    form_ = Value;
    if (!form_) return;
    if (TMainMenu* old = FormMenu(form_)) old->SetForm(nullptr);
    gFormMenus[form_] = this;
    bar_ = new TMenuBar(this, form_);
}

void TMainMenu::DrawMenuBar()
{
    if (bar_) bar_->Invalidate();
}

void TMainMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild)
{
    TMenu::MenuChanged(Sender, Source, Rebuild);
    DrawMenuBar();
}

void TMainMenu::OpenItem(TMenuItem* Item)
{
    if (!bar_) return;
    bar_->Layout();
    const int i = bar_->IndexOf(Item);
    if (i < 0) return;
    FreeSpent();
    CloseFrom(0);
    gLoop.menu = this;
    gLoop.bar = this;
    gLoop.barIndex = i;
    bar_->Invalidate();
    if (Item->Count() == 0 || !Item->Enabled() || VisibleItems(Item).empty()) {
        SetCaptureControl(bar_);
        return;
    }
    const TRect r = bar_->ItemRect(i);
    const TPoint below = bar_->ClientToScreen(Point(r.Left, r.Bottom));
    OpenWindow(this, Item, below.X, below.Y);
}

TMainMenu* FormMenu(TCustomForm* Form)
{
    auto it = gFormMenus.find(Form);
    return it == gFormMenus.end() ? nullptr : it->second;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu()
{
    if (gLoop.menu == this) CloseMenus();
    std::erase_if(gPopupMenus, [this](const auto& e) { return e.second == this; });
}

void TPopupMenu::Popup(int X, int Y)
{
    popupPoint_ = Point(X, Y);
    if (OnPopup) OnPopup(this);
    CloseMenus();
    FreeSpent();
    if (VisibleItems(Items()).empty()) return;
    gLoop.menu = this;
    TMenuWindow* w = new TMenuWindow(this, Items());
    w->Layout();
    int x = X;
    const int width = w->NeededSize().cx;
    if (Alignment == paRight) x -= width;
    else if (Alignment == paCenter) x -= width / 2;
    delete w;
    OpenWindow(this, Items(), std::max(0, x), Y);
}

void TPopupMenu::CloseMenu()
{
    if (gLoop.menu == this) CloseMenus();
}

void SetPopupMenu(TControl* Control, TPopupMenu* Menu)
{
    if (!Control) return;
    if (Menu) gPopupMenus[Control] = Menu;
    else gPopupMenus.erase(Control);
}

TPopupMenu* GetPopupMenu(TControl* Control)
{
    auto it = gPopupMenus.find(Control);
    return it == gPopupMenus.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------- open menus

TCustomControl* MenuWindowOf(const TMenuItem* Parent)
{
    for (TMenuWindow* w : gLoop.windows)
        if (w->ParentItem() == Parent) return w;
    return nullptr;
}

TWinControl* ItemWindow(const TMenuItem* Item)
{
    if (!Item) return nullptr;
    for (TMenuWindow* w : gLoop.windows)
        if (w->IndexOf(Item) >= 0) return w;
    if (auto* m = dynamic_cast<TMainMenu*>(Item->GetParentMenu()); m && m->Bar() && Item->Parent() == m->Items())
        return m->Bar();
    return nullptr;
}

TMenuItem* MenuWindowParent(const TWinControl* Window)
{
    for (TMenuWindow* w : gLoop.windows)
        if (w == Window) return w->ParentItem();
    return nullptr;
}

TRect GetMenuItemRect(const TMenuItem* Item)
{
    TWinControl* window = ItemWindow(Item);
    if (auto* w = dynamic_cast<TMenuWindow*>(window)) {
        TRect r = w->ItemRect(w->IndexOf(Item));
        OffsetRect(r, w->ClientOrigin().X + kFrame, w->ClientOrigin().Y + kFrame);
        return r;
    }
    if (auto* bar = dynamic_cast<TMainMenu::TMenuBar*>(window)) {
        bar->Layout();
        const int i = bar->IndexOf(Item);
        if (i < 0) return TRect{};
        TRect r = bar->ItemRect(i);
        OffsetRect(r, bar->ClientOrigin().X, bar->ClientOrigin().Y);
        return r;
    }
    return TRect{};
}

TMenuItem* SelectedMenuItem(const TWinControl* Window)
{
    for (TMenuWindow* w : gLoop.windows)
        if (w == Window) return w->Selected() >= 0 ? w->Items()[std::size_t(w->Selected())] : nullptr;
    if (auto* bar = dynamic_cast<const TMainMenu::TMenuBar*>(Window); bar && BarOf(gLoop.bar) == bar && gLoop.barIndex >= 0 &&
                                                                      gLoop.barIndex < int(bar->Items().size()))
        return bar->Items()[std::size_t(gLoop.barIndex)];
    return nullptr;
}

void CloseMenus()
{
    const bool hadBar = gLoop.bar != nullptr;
    if (!gLoop.windows.empty()) CloseFrom(0);
    if (hadBar) {
        if (auto* bar = BarOf(gLoop.bar)) {
            if (GetCaptureControl() == bar) SetCaptureControl(nullptr);
            bar->Invalidate();
        }
    } else if (auto* c = GetCaptureControl(); c && Level(dynamic_cast<TWinControl*>(c)) >= 0) {
        SetCaptureControl(nullptr);
    }
    gLoop.bar = nullptr;
    gLoop.barIndex = -1;
    gLoop.menu = nullptr;
}

bool MenuActive() { return !gLoop.windows.empty() || gLoop.bar != nullptr; }

}  // namespace platform

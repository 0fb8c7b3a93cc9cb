#include "widgets/frame/ExMenus.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "platform/controls/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"

namespace frame {

using namespace platform;

namespace {

constexpr int kStrip = 17;  // every item is measured this much wider than it is drawn

// The handlers, as types of their own so that an item holding one can be recognised.
struct MeasureHandler {
    TExMenuLink* link;
    void operator()(TObject* s, TCanvas* c, int& w, int& h) const { link->ExpandItemWidth(s, c, w, h); }
};
struct DrawHandler {
    TExMenuLink* link;
    void operator()(TObject* s, TCanvas* c, TRect r, TOwnerDrawState st) const { link->AdvancedDrawItem(s, c, r, st); }
};

void AttachOne(TMenuItem* item, bool keep, TExMenuLink* link)
{
    if (item->OnAdvancedDrawItem.target<DrawHandler>()) return;
    if (!(keep && item->OnMeasureItem)) item->OnMeasureItem = MeasureHandler{link};
    if (!(keep && (item->OnAdvancedDrawItem || item->OnDrawItem))) item->OnAdvancedDrawItem = DrawHandler{link};
}

void AttachAll(TMenuItem* parent, bool descend, bool keep, TExMenuLink* link)
{
    for (int i = 0; i < parent->Count(); ++i) {
        AttachOne(parent->Items(i), keep, link);
        if (descend) AttachAll(parent->Items(i), descend, keep, link);
    }
}

TWinControl* CanvasWindow(TCanvas* canvas)
{
    auto* cc = dynamic_cast<TControlCanvas*>(canvas);
    return cc ? dynamic_cast<TWinControl*>(cc->Control()) : nullptr;
}

TCustomExMenuStyler* StylerOf(IExMenu* menu) { return menu ? menu->GetMenuStyler() : nullptr; }

TRect ScreenRect(const TWinControl* w)
{
    const TPoint o = w->ClientOrigin();
    return Rect(o.X, o.Y, o.X + w->Width(), o.Y + w->Height());
}

int RoundEven(double v) { return int(std::nearbyint(v)); }

// Windows whose procedure the drop-down painting replaced, with the procedure they had.
std::map<TWinControl*, TControl::TWndMethod> gHooked;

}  // namespace

// ---------------------------------------------------------------- the link

std::string TExMenuLink::Version() const
{
    const unsigned v = GetVersionNr();
    return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 255) + "." + std::to_string((v >> 8) & 255) + "." +
           std::to_string(v & 255);
}

void TExMenuLink::AllocMenuStyler()
{
    TMenu* self = GetSelf();
    TCustomExMenuStyler* s = IsMain() ? new TExMenuStyler(self) : new TCustomExMenuStyler(self);
    s->SetName("InternalMenuStyler");
    internal_ = s;
    styler_ = s;
    s->SetMenu(self);
}

void TExMenuLink::FreeInternalStyler()
{
    if (!internal_) return;
    TCustomExMenuStyler* s = internal_;
    internal_ = nullptr;
    if (styler_ == s) styler_ = nullptr;
    delete s;
}

void TExMenuLink::SetMenuStyler(TCustomExMenuStyler* value)
{
    if (value == styler_) return;
    if (!value && internal_) return;
    TMenu* self = GetSelf();
    if (styler_ && styler_ != internal_) {
        self->RemoveFreeNotification(styler_);
        if (styler_->Menu() == self) styler_->SetMenu(nullptr);
        if (IsMain()) styler_->Font().OnChange = nullptr;
    }
    if (value) {
        if (internal_ && !internal_->Loading) FreeInternalStyler();
        styler_ = value;
        self->FreeNotification(value);
    } else {
        AllocMenuStyler();
    }
    styler_->SetMenu(self);
    if (IsMain()) {
        auto* main = static_cast<TExMainMenu*>(self);
        styler_->Font().OnChange = [main](TObject* s) { main->MenuFontChanged(s); };
    }
}

void TExMenuLink::DetachStyler()
{
    // A user's styler outlives this menu: it must not call back into it.
    if (styler_ && styler_ != internal_) {
        if (styler_->Menu() == GetSelf()) styler_->SetMenu(nullptr);
        if (IsMain()) styler_->Font().OnChange = nullptr;
    }
    styler_ = nullptr;
}

void TExMenuLink::StylerRemoved(TComponent* c)
{
    if (c != styler_ || c == internal_) return;
    styler_ = nullptr;
    AllocMenuStyler();
}

void TExMenuLink::BeginUpdate()
{
    updating_ = true;
    ++updateCount_;
}

void TExMenuLink::EndUpdate()
{
    if (updateCount_ > 0) --updateCount_;
    if (updateCount_ != 0) return;
    AttachHandlers(nullptr);
    if (IsMain()) static_cast<TMainMenu*>(GetSelf())->DrawMenuBar();
    updating_ = false;
}

void TExMenuLink::AttachHandlers(TMenuItem* item) { SetMenuItemEvents(GetSelf(), item, true, true, this); }

void TExMenuLink::AfterLoaded()
{
    Loading = false;
    GetSelf()->SetOwnerDraw(true);
    AttachHandlers(nullptr);
    if (internal_ && internal_ != styler_) FreeInternalStyler();
}

void TExMenuLink::ExpandItemWidth(TObject* sender, TCanvas* canvas, int& width, int& height)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (item) MeasureItem(item, canvas, width, height, IsSideBarVisible(item));
}

void TExMenuLink::AdvancedDrawItem(TObject* sender, TCanvas* canvas, TRect r, TOwnerDrawState state)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item) return;
    if (!(IsMain() && IsInTopMainMenu(item))) r.Right -= kStrip;
    DrawMenuItemBackground(item, canvas, r, state, IsSideBarVisible(item));
}

// ---------------------------------------------------------------- the two menus

TExMainMenu::TExMainMenu(TComponent* AOwner) : TMainMenu(AOwner)
{
    SetOwnerDraw(true);
    AllocMenuStyler();
    styler_->Font().OnChange = [this](TObject* s) { MenuFontChanged(s); };
}

TExMainMenu::~TExMainMenu()
{
    HookClient(nullptr);
    DetachStyler();
    FreeInternalStyler();
}

namespace {
// The window-list procedure as a type of its own, so that a client holding it is recognised.
struct WindowListHook {
    TWinControl* client;
    void operator()(TMessage& m) const { WindowListProc(client, m); }
};
}  // namespace

TWinControl* TExMainMenu::HookedClient() const { return hookedClient_ ? TWinControl::FromHandle(hookedClient_) : nullptr; }

void TExMainMenu::HookClient(TWinControl* client)
{
    if (TWinControl* old = HookedClient()) {
        if (previousProc_) old->WindowProc = *previousProc_;
        SetWindowLongPtr(hookedClient_, GWLP_USERDATA, 0);
    }
    hookedClient_ = nullptr;
    previousProc_.reset();
    if (!client) return;
    previousProc_ = std::make_unique<TControl::TWndMethod>(client->WindowProc);
    hookedClient_ = client->Handle();
    SetWindowLongPtr(hookedClient_, GWLP_USERDATA, LPARAM(previousProc_.get()));
    client->WindowProc = WindowListHook{client};
}

void TExMainMenu::ActivateMDIChild(TObject* Sender)
{
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item || item->Tag == 0) return;
    TWinControl* client = GetMDIClientWnd(this);
    if (!client) return;
    if (SendMessage(client->Handle(), WM_MDIACTIVATE, WPARAM(item->Tag), 0) == 0) item->SetChecked(true);
}

void WindowListProc(TWinControl* client, TMessage& m)
{
    if (m.Msg != WM_MDIREFRESHMENU) {
        auto* previous = reinterpret_cast<TControl::TWndMethod*>(GetWindowLongPtr(client->Handle(), GWLP_USERDATA));
        if (previous && *previous) (*previous)(m);
        else client->WndProc(m);
        return;
    }
    m.Result = 0;
    TCustomForm* form = client->Parent() ? FindForm(client->Parent()->Handle()) : nullptr;
    if (!form || form->FormStyle() != fsMDIForm || !form->WindowMenu()) return;
    auto* menu = dynamic_cast<TExMainMenu*>(FormMenu(form));
    if (!menu) return;
    TMenuItem* window = form->WindowMenu();
    menu->BeginUpdate();
    // The marker line ends what the program put in the window menu; the list follows it.
    TMenuItem* marker = nullptr;
    for (int i = 0; i < window->Count() && !marker; ++i)
        if (window->Items(i)->ShortCut() == kWindowListMarker) marker = window->Items(i);
    if (marker && marker->Caption() == "-") {
        while (window->Count() > marker->MenuIndex() + 1) window->Delete(window->Count() - 1);
    } else {
        marker = new TMenuItem(menu->Owner());
        marker->SetCaption("-");
        marker->SetShortCut(kWindowListMarker);
        window->Add(marker);
    }
    std::vector<std::pair<std::string, TCustomForm*>> children;
    for (int i = 0; i < form->MDIChildCount(); ++i)
        if (form->MDIChildren(i)->Visible()) children.emplace_back(form->MDIChildren(i)->Caption(), form->MDIChildren(i));
    marker->SetVisible(!children.empty());
    std::stable_sort(children.begin(), children.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    TCustomForm* active = form->ActiveMDIChild();
    for (std::size_t i = 0; i < children.size(); ++i) {
        auto* item = new TMenuItem(menu->Owner());
        item->SetCaption(std::to_string(i + 1) + " " + children[i].first);
        item->Tag = long(reinterpret_cast<std::intptr_t>(children[i].second->Handle()));
        item->OnClick = [menu](TObject* sender) { menu->ActivateMDIChild(sender); };
        item->SetRadioItem(true);
        item->SetGroupIndex(kWindowListGroup);
        window->Add(item);
        if (children[i].second == active) item->SetChecked(true);
    }
    menu->EndUpdate();
    m.Result = LRESULT(static_cast<TMenu*>(menu));
}

void TExMainMenu::Loaded()
{
    TMainMenu::Loaded();
    AfterLoaded();
    if (Items()->Count() > 0) {
        TMenuItem* first = Items()->Items(0);
        const bool v = first->Visible();
        first->SetVisible(!v);
        first->SetVisible(v);
    }
    RefreshMenu(this, false, false);
}

void TExMainMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TMainMenu::Notification(AComponent, Operation);
    if (!Destroying() && Operation == opRemove) StylerRemoved(AComponent);
}

void TExMainMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool)
{
    if (updating_) AttachHandlers(Source);
    else RefreshMenu(this, false, false);
    TMainMenu::MenuChanged(Sender, Source, true);
}

void TExMainMenu::MenuFontChanged(TObject*) { RefreshMenu(this, false, false); }

TExPopupMenu::TExPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner)
{
    SetOwnerDraw(true);
    AllocMenuStyler();
}

TExPopupMenu::~TExPopupMenu()
{
    DetachStyler();
    FreeInternalStyler();
}

void TExPopupMenu::Loaded()
{
    TPopupMenu::Loaded();
    AfterLoaded();
}

void TExPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TPopupMenu::Notification(AComponent, Operation);
    if (!Destroying() && Operation == opRemove) StylerRemoved(AComponent);
}

void TExPopupMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild)
{
    if (!updating_) AttachHandlers(Source);
    else RefreshMenu(this, false, false);
    TPopupMenu::MenuChanged(Sender, Source, Rebuild);
}

void TExPopupMenu::Popup(int X, int Y)
{
    if (Items()->Count() == 0) return;
    TBitmap scratch(1, 1);
    scratch.Canvas()->Font().Assign(TMenu::MenuFont());
    int w = 10, h = 10;
    Items()->Items(0)->MeasureItem(scratch.Canvas(), w, h);
    const int W = w + kStrip;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const bool leftTight = X - kStrip - W < 0;
    const bool rightTight = X + 34 + W >= screenWidth;
    if (Alignment == paRight && !leftTight) X += kStrip;
    else if (Alignment == paLeft && rightTight) X += kStrip;
    else if (Alignment == paCenter) X += 8;
    if (X >= screenWidth) X = screenWidth - 1;
    TPopupMenu::Popup(X, Y);
}

void TExPopupMenu::PopupAtCursor()
{
    TPoint p;
    GetCursorPos(p);
    Popup(p);
}

// ---------------------------------------------------------------- unit routines

void RefreshMenu(TMenu* menu, bool a, bool b)
{
    IExMenu* m = GetExMenuIntf(menu);
    if (!m) return;
    if (a || b) m->UpdateItems();
    auto* main = dynamic_cast<TExMainMenu*>(menu);
    TWinControl* client = main ? GetMDIClientWnd(main) : nullptr;
    if (client && !client->WindowProc.target<WindowListHook>()) main->HookClient(client);
}

void SetMenuItemEvents(TMenu* menu, TMenuItem* item, bool descend, bool keep, TExMenuLink* link)
{
    if (!menu || !link || link->Loading) return;
    if (item) AttachOne(item, keep, link);
    else AttachAll(menu->Items(), descend, keep, link);
}

IExMenu* GetExMenuIntf(TMenu* menu)
{
    if (auto* p = dynamic_cast<TExPopupMenu*>(menu)) return p;
    if (auto* m = dynamic_cast<TExMainMenu*>(menu)) return m;
    return nullptr;
}

TMenu* GetParentMenuEx(TMenuItem* item)
{
    if (!item) return nullptr;
    if (item->Parent()) return item->GetParentMenu();
    return dynamic_cast<TMenu*>(item->Owner());
}

IExMenu* GetMenuItemIntf(TMenuItem* item) { return GetExMenuIntf(GetParentMenuEx(item)); }

TWinControl* GetMDIClientWnd(TMenu* menu)
{
    auto* main = dynamic_cast<TMainMenu*>(menu);
    auto* form = main ? dynamic_cast<TCustomForm*>(main->Owner()) : nullptr;
    if (!form) return nullptr;
    if (form->FormStyle() == fsMDIChild) return form->Parent();
    if (form->FormStyle() == fsMDIForm) return form->MDIClient();
    return nullptr;
}

TCustomForm* FindForm(HWND handle)
{
    for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        if (f->HandleAllocated() && f->Handle() == handle) return f;
    }
    return nullptr;
}

void DisableMenuAnimation() {}
void RestoreMenuAnimation() {}

void SetMenuOpacity(TMenu*, TWinControl* window, TOpacity)
{
    if (!window || !SupportsLayeredWindows()) return;
}

void SetMenuOpacity(TMenuItem* item, TCanvas* canvas)
{
    IExMenu* m = GetMenuItemIntf(item);
    if (m) SetMenuOpacity(m->GetSelf(), CanvasWindow(canvas), m->GetOpacity());
}

// ---------------------------------------------------------------- predicates

TMenuItem* FirstVisibleItem(TMenuItem* parent)
{
    for (int i = 0; parent && i < parent->Count(); ++i)
        if (parent->Items(i)->Visible()) return parent->Items(i);
    return nullptr;
}

TMenuItem* LastVisibleItem(TMenuItem* parent)
{
    for (int i = parent ? parent->Count() - 1 : -1; i >= 0; --i)
        if (parent->Items(i)->Visible()) return parent->Items(i);
    return nullptr;
}

int VisibleMenuIndex(TMenuItem* item)
{
    if (!item || !item->Visible() || !item->Parent()) return -1;
    int n = 0;
    for (int i = 0; i < item->Parent()->Count(); ++i) {
        TMenuItem* s = item->Parent()->Items(i);
        if (s == item) return n;
        if (s->Visible()) ++n;
    }
    return -1;
}

bool IsInTopMenu(TMenuItem* item) { return item && dynamic_cast<TMenu*>(item->GetParentComponent()); }
bool IsInTopMainMenu(TMenuItem* item) { return item && dynamic_cast<TMainMenu*>(item->GetParentComponent()); }
bool IsInTopPopupMenu(TMenuItem* item) { return item && dynamic_cast<TPopupMenu*>(item->GetParentComponent()); }

bool IsInFirstVisibleMenu(TMenuItem* item)
{
    if (!item) return false;
    if (auto* m = dynamic_cast<TMainMenu*>(item->GetParentMenu())) return item->Parent() == FirstVisibleItem(m->Items());
    return IsInTopMenu(item);
}

bool IsInFirstLevelMenu(TMenuItem* item)
{
    if (!item) return false;
    if (dynamic_cast<TPopupMenu*>(item->GetParentComponent())) return true;
    auto* parent = dynamic_cast<TMenuItem*>(item->GetParentComponent());
    return parent && dynamic_cast<TMainMenu*>(parent->GetParentComponent());
}

bool IsFirstSubMenuItem(TMenuItem* item) { return item && item->Parent() && FirstVisibleItem(item->Parent()) == item; }

bool IsAfterMenuBreak(TMenuItem* item)
{
    if (!item || !item->Parent()) return false;
    for (int i = 0; i < item->Parent()->Count(); ++i) {
        TMenuItem* s = item->Parent()->Items(i);
        if ((s == item || s->Visible()) && s->Break() != mbNone) return true;
        if (s == item) break;
    }
    return false;
}

int GetMenuItemLevel(TMenuItem* item)
{
    int n = 0;
    for (TMenuItem* p = item ? item->Parent() : nullptr; p; p = p->Parent()) ++n;
    return n - 1;
}

bool IsSideBarVisible(TMenuItem* item)
{
    TCustomExMenuStyler* s = StylerOf(GetMenuItemIntf(item));
    if (!s || !s->SideBar().Visible()) return false;
    switch (s->SideBar().VisibleIn) {
    case viFirstVisible: return IsInFirstVisibleMenu(item);
    case viFirstLevel: return IsInFirstLevelMenu(item);
    case viAnyLevel: return !IsInTopMainMenu(item);
    }
    return false;
}

bool IsRightAligned(TMenuItem* item)
{
    if (IsInTopMenu(item)) return true;
    const TRect r1 = GetMenuItemRect(item), r2 = GetMenuItemRect(item->Parent());
    return r1.Left > r2.Left || (r1.Left == r2.Left && r1.Right > r2.Right);
}

bool IsRightmost(TMenuItem* item)
{
    if (!IsInTopMainMenu(item)) return false;
    return LastVisibleItem(item->Parent()) == item;
}

TRect GetMenuRect(TMenuItem* item)
{
    TRect u{};
    if (!item || !item->Parent()) return u;
    bool first = true;
    for (int i = 0; i < item->Parent()->Count(); ++i) {
        TMenuItem* s = item->Parent()->Items(i);
        if (!s->Visible()) continue;
        const TRect r = GetMenuItemRect(s);
        if (first) u = r;
        else UnionRect(u, u, r);
        first = false;
    }
    return u;
}

TWinControl* GetMenuWnd(TMenu* menu)
{
    auto* m = dynamic_cast<TMainMenu*>(menu);
    return m ? m->Form() : nullptr;
}

std::string ExShortCutToText(TShortCut shortCut)
{
    if (shortCut & 0x0200) return "Win+" + ShortCutToText(TShortCut(shortCut & ~0x0200));
    return ShortCutToText(shortCut);
}

// ---------------------------------------------------------------- measuring

void MeasureItem(TMenuItem* item, TCanvas* canvas, int& width, int& height, bool sideBar)
{
    IExMenu* menu = GetMenuItemIntf(item);
    TCustomExMenuStyler* s = StylerOf(menu);
    if (!s) return;
    const bool top = IsInTopMainMenu(item);
    if (top) {
        // The menu bar's metrics.
        TBitmap scratch(1, 1);
        scratch.Canvas()->Font().Assign(TMenu::MenuFont());
        height = scratch.Canvas()->TextHeight("Wg") + 6;
    }
    if (item->IsLine()) {
        height = s->Separator().Width + 2;
        width = -2;
        return;
    }
    if (!top) width = s->IconBar().Size();
    TImageList* images = item->GetImageList();
    if (images && (item->ImageIndex() > -1 || !top)) {
        if (top) width = images->Width();
        else height = std::max(height, images->Height());
    } else if (item->HasBitmap()) {
        if (top) width = 16;
        else height = std::max(height, 16);
    } else {
        if (top) width = -7;
        else height -= 3;
    }
    if (!top) {
        width += 15;
        height += 3;
    }
    std::string text = item->Caption();
    if (item->ShortCut()) text += ExShortCutToText(item->ShortCut());
    TRect r = Rect(0, 0, 0, 0);
    const std::string shown = text.empty() || text == "&" ? text + " " : text;
    DrawText(canvas->Handle(), shown, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    width += r.Width() + 7;
    if (!s->UseSystemFont()) height = r.Height() + 6;
    if (top) return;
    if (item->ShortCut() & 0x0200) width += canvas->TextWidth("Win+");
    if (sideBar && !IsAfterMenuBreak(item)) width += s->SideBar().Size + s->SideBar().SplitterWidth;
    height = (height + 1) / 2 * 2;
    width += kStrip;
}

// ---------------------------------------------------------------- painting

void DrawMenuItemBackground(TMenuItem* item, TCanvas* canvas, TRect r, TOwnerDrawState state, bool sideBar)
{
    IExMenu* menu = GetMenuItemIntf(item);
    TCustomExMenuStyler* s = StylerOf(menu);
    if (!s) return;
    sideBar = sideBar && !IsAfterMenuBreak(item);
    if (sideBar) r.Left += s->SideBar().Size + s->SideBar().SplitterWidth;
    if (!IsInTopMainMenu(item)) {
        TRect mr = GetMenuRect(item);
        OffsetRect(mr, -mr.Left, -mr.Top);
        mr.Right -= kStrip;
        if (sideBar && FirstVisibleItem(item->Parent()) == item) {
            TRect br = mr;
            br.Right = br.Left + s->SideBar().Size + s->SideBar().SplitterWidth;
            s->SideBar().BarHeight = RectHeight(br);
            DrawImage(canvas, br, s->SideBar().Background(), true);
            if (s->SideBar().Image().Color() != clNone) DrawImage(canvas, br, s->SideBar().Image(), true);
            DrawBarCaption(menu, canvas, br);
            DrawBarBorder(menu, canvas, br);
            DrawBarSplitter(menu, canvas, br);
        }
        const TRect ir = Rect(r.Left, mr.Top, r.Left + s->IconBar().Size(), mr.Bottom);
        DrawGradientClipped(canvas, ir, r, s->IconBar().Color(), s->IconBar().ColorTo(), s->IconBar().GradientDirection);
        TRect cr = Rect(ir.Right, r.Top, r.Right, r.Bottom);
        const TRect gr = Rect(cr.Left, mr.Top, r.Right, mr.Bottom);
        TBackground& bg = s->Background();
        if (bg.MarginX > 0 || bg.MarginY > 0) {
            canvas->Brush().SetStyle(bsSolid);
            canvas->Brush().SetColor(bg.Color());
            canvas->FillRect(cr);
            InflateRect(cr, -bg.MarginX, -bg.MarginY);
        }
        DrawGradientClipped(canvas, gr, cr, bg.Color(), bg.ColorTo(), bg.GradientDirection);
        if (bg.HasImage()) {
            TBitmap* work = s->WorkBitmap();
            if (work->Width() != RectWidth(mr) || work->Height() != RectHeight(mr)) {
                work->SetSize(RectWidth(mr), RectHeight(mr));
                DrawImage(work->Canvas(), mr, bg, false);
            }
            canvas->CopyRect(cr, work->Canvas(), cr);
        }
    }
    DrawMenuItemEx(menu, item, canvas, r, state);
    DrawMenuWindowBorder(item, canvas);
}

void DrawMenuItemEx(IExMenu* menu, TMenuItem* item, TCanvas* canvas, TRect r, TOwnerDrawState state)
{
    if (item->IsLine()) DrawLineItem(menu, item, canvas, r, state);
    else DrawMenuItem(menu, item, canvas, r, state);
}

void DrawLineItem(IExMenu* menu, TMenuItem*, TCanvas* canvas, TRect r, TOwnerDrawState)
{
    TCustomExMenuStyler* s = StylerOf(menu);
    if (!s) return;
    TSeparator& sep = s->Separator();
    r.Left += s->IconBar().Size();
    const int mid = r.Top + RectHeight(r) / 2;
    const int w = sep.Width;
    const TRect lr = Rect(r.Left, mid - w / 2, r.Right, mid + (w + 1) / 2);
    DrawGradientEx(canvas, lr, sep.Color(), sep.ColorTo(), sep.GradientDirection, sep.GradientType, sep.GradientWidth, sep.Margin);
}

namespace {

void DrawGlyph(TCanvas* canvas, TBitmap* glyph, int x, int y)
{
    if (!glyph || glyph->Empty()) return;
    TBitmap temp;
    temp.Assign(*glyph);
    temp.SetTransparent(true);
    temp.SetTransparentMode(glyph->TransparentMode());
    if (glyph->TransparentMode() == tmFixed) temp.SetTransparentColor(glyph->TransparentColor());
    const TColor saved = canvas->Font().Color();
    canvas->Font().SetColor(clBtnText);
    canvas->Draw(x, y, &temp);
    canvas->Font().SetColor(saved);
}

}  // namespace

void DrawMenuItem(IExMenu* menu, TMenuItem* item, TCanvas* canvas, TRect r, TOwnerDrawState state)
{
    TCustomExMenuStyler* s = StylerOf(menu);
    if (!s) return;
    const bool top = IsInTopMainMenu(item);
    const bool selected = state & odSelected;
    if (top) {
        TRootItem& ri = s->RootItem();
        if (selected) {
            DrawFramedGradient(canvas, r, ri.SelectedColor(), ri.SelectedColorTo(), ri.SelectedGradientDirection,
                               ri.SelectedBorderColor, true);
            if (item->Count() > 0) {
                canvas->Pen().SetColor(s->Background().Color());
                canvas->MoveTo(r.Left, r.Bottom - 1);
                canvas->LineTo(r.Right - 1, r.Bottom - 1);
            }
        } else if (state & odHotLight) {
            DrawFramedGradient(canvas, r, ri.HoverColor(), ri.HoverColorTo(), ri.HoverGradientDirection, ri.HoverBorderColor, true);
        } else if (ri.Color() != clNone) {
            TWinControl* w = GetMenuWnd(menu->GetSelf());
            if (!w) return;
            TRect cr = Rect(0, r.Top, w->ClientWidth(), r.Bottom);
            TRect clip = r;
            if (IsRightmost(item)) clip.Right = cr.Right;
            DrawGradientClipped(canvas, cr, clip, ri.Color(), ri.ColorTo(), ri.GradientDirection);
        }
    } else if (selected) {
        TSelectedItem& si = s->SelectedItem();
        DrawFramedGradient(canvas, r, si.Color(), si.ColorTo(), si.GradientDirection, si.BorderColor, true);
    }
    TRect gc = Rect(r.Left, r.Top, r.Left + s->IconBar().Size(), r.Bottom);
    const int side = std::min(RectWidth(gc), RectHeight(gc));
    CenterRect(gc, side, side);
    TImageList* images = item->GetImageList();
    const bool hasImage = images && item->ImageIndex() >= 0 && item->ImageIndex() < images->Count();
    const bool hasBitmap = item->HasBitmap() && !hasImage;
    const bool drawCheck = item->Checked() && !top && !hasImage && !hasBitmap;
    TRect ir = gc;
    if (hasImage || hasBitmap || drawCheck) {
        if (hasImage) {
            CenterRect(ir, images->Width(), images->Height());
            if (top) OffsetRect(ir, r.Left + 6 - ir.Left, 0);
            images->Draw(canvas, ir.Left, ir.Top, item->ImageIndex(), item->Enabled());
        } else {
            CenterRect(ir, 16, 16);
            if (top) OffsetRect(ir, r.Left + 6 - ir.Left, 0);
            if (drawCheck) {
                const bool radio = item->RadioItem();
                TColor c, cTo, border;
                TGradientDirection dir;
                if (selected) {
                    TSelectedItem& si = s->SelectedItem();
                    c = radio ? si.RadioColor() : si.CheckColor();
                    cTo = radio ? si.RadioColorTo() : si.CheckColorTo();
                    dir = radio ? si.RadioGradientDirection : si.CheckGradientDirection;
                    border = radio ? si.RadioBorder : si.CheckBorder;
                } else {
                    TIconBar& ib = s->IconBar();
                    c = radio ? ib.RadioColor() : ib.CheckColor();
                    cTo = radio ? ib.RadioColorTo() : ib.CheckColorTo();
                    dir = radio ? ib.RadioGradientDirection : ib.CheckGradientDirection;
                    border = radio ? ib.RadioBorder : ib.CheckBorder;
                }
                DrawFramedGradient(canvas, gc, c, cTo, dir, border, !(state & odDisabled));
                DrawGlyph(canvas, radio ? s->Glyphs().Radio() : s->Glyphs().Check(), ir.Left, ir.Top);
                if (selected && s->SelectedItem().BorderColor != clNone) {
                    canvas->Brush().SetColor(s->SelectedItem().BorderColor);
                    canvas->FrameRect(r);
                }
            } else {
                canvas->StretchDraw(ir, item->Bitmap());
            }
        }
    }
    if (!top && item->Count() > 0) {
        const int y = (r.Top + r.Bottom - 5) / 2;
        TRect ar = Rect(r.Right - 8, y, r.Right - 5, y + 6);
        TBitmap* sub = s->Glyphs().SubMenu();
        CenterRect(ar, sub->Width(), sub->Height());
        const TColor saved = canvas->Font().Color();
        canvas->Font().SetColor(clBlack);
        DrawGlyph(canvas, sub, ar.Left, ar.Top);
        canvas->Font().SetColor(saved);
    }
    if (!top) r.Left += s->IconBar().Size() + 8;
    else if (hasImage || hasBitmap) r.Left += RectWidth(ir);
    unsigned flags = (top ? DT_CENTER : DT_LEFT) | DT_SINGLELINE | DT_EXPANDTABS;
    if (state & odNoAccel) flags |= DT_HIDEPREFIX;
    TRect tr = r;
    DrawMenuItemText(item, canvas, item->Caption(), tr, state, flags | DT_CALCRECT | DT_NOCLIP);
    OffsetRect(r, 0, (RectHeight(r) - RectHeight(tr)) / 2);
    if (top) {
        tr.Left = r.Left;
        tr.Right = r.Right;
    }
    TRect textRect = r;
    DrawMenuItemText(item, canvas, item->Caption(), textRect, state, flags);
    if (!top && item->ShortCut()) {
        TRect sr = r;
        sr.Left = tr.Right;
        sr.Right = r.Right - 10;
        DrawMenuItemText(item, canvas, ExShortCutToText(item->ShortCut()), sr, state, DT_RIGHT);
    }
}

void DrawMenuItemText(TMenuItem* item, TCanvas* canvas, const std::string& text, TRect& r, TOwnerDrawState state,
                      unsigned flags)
{
    IExMenu* menu = GetMenuItemIntf(item);
    TCustomExMenuStyler* s = StylerOf(menu);
    if (!s) return;
    if (menu->GetSelf()->RightToLeft) flags |= DT_RIGHT | DT_RTLREADING;
    std::string t = text;
    if ((flags & DT_CALCRECT) && (t.empty() || t == "&")) t += " ";
    canvas->Brush().SetStyle(bsClear);
    const bool selected = state & odSelected;
    if (IsInTopMenu(item)) {
        TRootItem& ri = s->RootItem();
        canvas->Font().Assign(ri.UseSystemFont() ? TMenu::MenuFont() : ri.Font());
        if (selected && ri.SelectedTextColor != clNone) canvas->Font().SetColor(ri.SelectedTextColor);
        else if ((state & odHotLight) && ri.HoverTextColor != clNone) canvas->Font().SetColor(ri.HoverTextColor);
    } else if (selected) {
        TSelectedItem& si = s->SelectedItem();
        canvas->Font().Assign(si.UseSystemFont() ? TMenu::MenuFont() : si.Font());
    } else {
        canvas->Font().Assign(s->UseSystemFont() ? TMenu::MenuFont() : s->Font());
    }
    if (item->Default()) canvas->Font().SetStyle(canvas->Font().Style() | fsBold);
    if (!item->Enabled() && !(flags & DT_CALCRECT)) {
        if (!selected) {
            TRect e = r;
            OffsetRect(e, 1, 1);
            canvas->Font().SetColor(clBtnHighlight);
            DrawText(canvas->Handle(), t, -1, &e, flags);
            canvas->Font().SetColor(clBtnShadow);
        } else {
            canvas->Font().SetColor(ColorToRGB(clHighlight) == ColorToRGB(clBtnShadow) ? clBtnHighlight : clBtnShadow);
        }
    }
    DrawText(canvas->Handle(), t, -1, &r, flags);
    canvas->Brush().SetStyle(bsSolid);
}

void DrawBarCaption(IExMenu* menu, TCanvas* canvas, TRect br)
{
    TCustomExMenuStyler* s = StylerOf(menu);
    if (!s) return;
    TSideBar& sb = s->SideBar();
    canvas->Font().Assign(sb.Font());
    const TSize ext = canvas->TextExtent(sb.Caption);
    const int cx = ext.cx, cy = ext.cy;
    auto turned = CreateRotatedFont(sb.Font(), sb.Direction == dDownToUp ? 90 : -90);
    int x = RoundEven((sb.Size - cy) / 2.0 - 0.5);
    int y;
    if (sb.Alignment == taCenter) {
        y = RoundEven((RectHeight(br) + cx) / 2.0 - 0.5);
    } else if ((sb.Alignment == taRightJustify) == (sb.Direction == dDownToUp)) {
        y = 6 + cx;
    } else {
        y = RectHeight(br) - 6;
        if (sb.Image().HasImage() && (sb.Image().Position == bpBottomLeft || sb.Image().Position == bpBottomRight))
            y -= sb.Image().Image()->Height();
    }
    if (sb.Direction == dUpToDown) {
        y -= cx;
        x += cy + 1;
    }
    HDC dc = canvas->Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, br.Left, br.Top, br.Right, br.Bottom + 1);
    canvas->Font().Assign(*turned);
    canvas->Brush().SetStyle(bsClear);
    if (sb.ShadowColor != clNone) {
        canvas->Font().SetColor(sb.ShadowColor);
        canvas->TextOut(br.Left + x + sb.Depth, br.Top + y - sb.Depth, sb.Caption);
    }
    canvas->Font().SetColor(sb.Font().Color());
    canvas->TextOut(br.Left + x, br.Top + y, sb.Caption);
    RestoreDC(canvas->Handle(), saved);
    canvas->Font().Assign(sb.Font());
    canvas->Brush().SetStyle(bsSolid);
}

void DrawBarBorder(IExMenu* menu, TCanvas* canvas, TRect br)
{
    TCustomExMenuStyler* s = StylerOf(menu);
    if (!s || s->SideBar().BorderColor == clNone) return;
    br.Right -= s->SideBar().SplitterWidth;
    canvas->Brush().SetColor(s->SideBar().BorderColor);
    canvas->FrameRect(br);
}

void DrawBarSplitter(IExMenu* menu, TCanvas* canvas, TRect br)
{
    TCustomExMenuStyler* s = StylerOf(menu);
    if (!s) return;
    TSideBar& sb = s->SideBar();
    if (sb.SplitterColor == clNone) return;
    const TRect sr = Rect(br.Right - sb.SplitterWidth, br.Top, br.Right, br.Bottom);
    DrawGradientEx(canvas, sr, sb.SplitterColor, sb.SplitterColorTo, gdVertical, sb.SplitterGradientType,
                   sb.SplitterGradientWidth, sb.SplitterMargin);
}

void DrawMenuWindowBorder(TMenuItem* item, TCanvas* canvas)
{
    TWinControl* w = CanvasWindow(canvas);
    IExMenu* menu = GetMenuItemIntf(item);
    TCustomExMenuStyler* s = StylerOf(menu);
    if (!w || !s || IsInTopMainMenu(item) || !MenuWindowParent(w)) return;
    if (auto* m = dynamic_cast<TMainMenu*>(menu->GetSelf()); m && w == m->Bar()) return;
    const TRect wr = ScreenRect(w);
    int level = GetMenuItemLevel(item) + (dynamic_cast<TPopupMenu*>(menu->GetSelf()) ? 1 : 0);
    const bool rightAligned = level >= 2 && IsRightAligned(item);
    if (!gHooked.count(w)) {
        // First painting of this window: our window procedure, the region without the
        // right strip, and its place.
        gHooked[w] = w->WindowProc;
        w->WindowProc = [w](TMessage& m) {
            auto it = gHooked.find(w);
            if (it == gHooked.end()) {
                w->WndProc(m);
                return;
            }
            const TControl::TWndMethod previous = it->second;
            if (m.Msg == WM_ERASEBKGND) {
                m.Result = 1;
                return;
            }
            if ((m.Msg == CM_VISIBLECHANGED && m.WParam == 0) || m.Msg == WM_CLOSE || m.Msg == WM_DESTROY) {
                SetWindowRgn(w->Handle(), nullptr, false);
                w->WindowProc = previous;
                gHooked.erase(w);
            }
            previous(m);
        };
        SetWindowRgn(w->Handle(), CreateRectRgn(1, 1, RectWidth(wr) - 1 - kStrip, RectHeight(wr) - 1), true);
        if (level == 1) w->SetBounds(wr.Left - 1, wr.Top - 2, w->Width(), w->Height());
        else if (level >= 2) w->SetBounds(wr.Left + (rightAligned ? -kStrip : kStrip), wr.Top, w->Width(), w->Height());
    }
    HDC dc = canvas->Handle();
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SelectClipRgn(dc, nullptr);
    TRect fr = Rect(0, 0, w->Width(), w->Height());
    InflateRect(fr, -1, -1);
    if (level < 2) fr.Right -= kStrip;
    else if (rightAligned) fr.Right -= 2 * kStrip;
    canvas->Brush().SetStyle(bsSolid);
    if (s->MenuBorderColor != clNone) {  // a look without a border colour leaves the frame as it is
        canvas->Brush().SetColor(s->MenuBorderColor);
        canvas->FrameRect(fr);
    }
    if (level == 1 && dynamic_cast<TMainMenu*>(menu->GetSelf()) && item->Parent()) {
        TRect pr = GetMenuItemRect(item->Parent());
        const TRect now = ScreenRect(w);
        OffsetRect(pr, -now.Left, -now.Top);
        canvas->Pen().SetColor(s->Background().Color());
        canvas->MoveTo(pr.Left + 1, 1);
        canvas->LineTo(pr.Right - 1, 1);
    }
    InflateRect(fr, -1, -1);
    canvas->Brush().SetColor(s->Background().Color());
    canvas->FrameRect(fr);
    RestoreDC(canvas->Handle(), saved);
}

}  // namespace frame

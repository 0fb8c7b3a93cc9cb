#pragma once
// Owner-drawn menus: a main menu and a pop-up menu that keep the platform's menu model
// and paint every item in the look of a menu styler; the routines that measure and paint
// one item; the predicates they use.
#include <memory>
#include <string>

#include "platform/controls/Menus.h"
#include "widgets/frame/ExMenuStylers.h"

namespace frame {

using platform::TMenu;
using platform::TMenuItem;
using platform::TOwnerDrawState;
using platform::TObject;

// What the painting code and the stylers reach a menu through.
class IExMenu {
public:
    virtual ~IExMenu() = default;
    virtual void UpdateItems() = 0;
    virtual TMenu* GetSelf() = 0;
    virtual TCustomExMenuStyler* GetMenuStyler() = 0;
    virtual void SetMenuStyler(TCustomExMenuStyler* value) = 0;
    virtual TOpacity GetOpacity() = 0;
    virtual void SetOpacity(TOpacity value) = 0;
};

// What both menus share: the styler (one of the user's or an internal one), the opacity
// and the update batching.
class TExMenuLink : public IExMenu {
public:
    TCustomExMenuStyler* GetMenuStyler() override { return styler_; }
    void SetMenuStyler(TCustomExMenuStyler* value) override;
    TOpacity GetOpacity() override { return opacity_; }
    void SetOpacity(TOpacity value) override { opacity_ = value; }
    void UpdateItems() override { GetSelf()->UpdateItems(); }
    TCustomExMenuStyler* InternalStyler() const { return internal_; }
    bool Updating() const { return updating_; }
    void BeginUpdate();
    void EndUpdate();
    // "1.1.0.0" whatever is written.
    std::string Version() const;
    void SetVersion(const std::string&) {}
    static unsigned GetVersionNr() { return 0x01010000u; }
    bool Loading = false;  // while read from a form

    // The handlers every item gets.
    void ExpandItemWidth(TObject* sender, TCanvas* canvas, int& width, int& height);
    void AdvancedDrawItem(TObject* sender, TCanvas* canvas, TRect r, TOwnerDrawState state);

protected:
    virtual bool IsMain() const = 0;
    void AllocMenuStyler();
    void FreeInternalStyler();
    void StylerRemoved(platform::TComponent* c);
    void DetachStyler();
    void AttachHandlers(TMenuItem* item);  // every item when null
    void AfterLoaded();
    TCustomExMenuStyler* styler_ = nullptr;
    TCustomExMenuStyler* internal_ = nullptr;
    TOpacity opacity_ = 255;
    bool updating_ = false;
    int updateCount_ = 0;
};

class TExMainMenu : public platform::TMainMenu, public TExMenuLink {
public:
    explicit TExMainMenu(platform::TComponent* AOwner);
    ~TExMainMenu() override;
    TMenu* GetSelf() override { return this; }
    void Loaded() override;
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;
    void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;
    void MenuFontChanged(TObject* Sender);
    // A window-list item chosen: the client activates the child whose window is its Tag.
    void ActivateMDIChild(TObject* Sender);
    // The multiple-document client window whose procedure the menu replaced, or none.
    platform::TWinControl* HookedClient() const;
    // Gives the hooked client its procedure back; then hooks client (nullptr: none).
    void HookClient(platform::TWinControl* client);

protected:
    bool IsMain() const override { return true; }

private:
    platform::HWND hookedClient_ = nullptr;
    std::unique_ptr<platform::TControl::TWndMethod> previousProc_;
};

class TExPopupMenu : public platform::TPopupMenu, public TExMenuLink {
public:
    explicit TExPopupMenu(platform::TComponent* AOwner);
    ~TExPopupMenu() override;
    TMenu* GetSelf() override { return this; }
    void Loaded() override;
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;
    void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;
    void Popup(int X, int Y) override;
    void Popup(const TPoint& P) { Popup(P.X, P.Y); }
    void PopupAtCursor();

protected:
    bool IsMain() const override { return false; }
};

// Unit routines of the menus.
using TMeasureHandler = platform::TMenuMeasureItemEvent;
using TDrawHandler = platform::TAdvancedMenuDrawItemEvent;
void SetMenuItemEvents(TMenu* menu, TMenuItem* item, bool descend, bool keep, TExMenuLink* link);
IExMenu* GetExMenuIntf(TMenu* menu);
TMenu* GetParentMenuEx(TMenuItem* item);
IExMenu* GetMenuItemIntf(TMenuItem* item);
// The client window of the form a main menu belongs to: the parent window of a
// multiple-document child, the client of a frame; nullptr otherwise.
platform::TWinControl* GetMDIClientWnd(TMenu* menu);
// The first form whose window is handle, or nullptr.
platform::TCustomForm* FindForm(platform::HWND handle);
// The marker item before the window list.
constexpr platform::TShortCut kWindowListMarker = 0xABCD;
constexpr int kWindowListGroup = 205;
// The client window procedure that builds the window list (WM_MDIREFRESHMENU) and passes
// every other message to the procedure kept in the window's user-data slot.
void WindowListProc(platform::TWinControl* client, platform::TMessage& m);
// The menus change no desktop setting: menu animation stays as the desktop has it.
void DisableMenuAnimation();
void RestoreMenuAnimation();
// Layered menu windows do not exist here: both do nothing.
void SetMenuOpacity(TMenu* menu, platform::TWinControl* window, TOpacity opacity);
void SetMenuOpacity(TMenuItem* item, TCanvas* canvas);

// Item predicates.
TMenuItem* FirstVisibleItem(TMenuItem* parent);
TMenuItem* LastVisibleItem(TMenuItem* parent);
int VisibleMenuIndex(TMenuItem* item);
bool IsInTopMenu(TMenuItem* item);
bool IsInTopMainMenu(TMenuItem* item);
bool IsInTopPopupMenu(TMenuItem* item);
bool IsInFirstVisibleMenu(TMenuItem* item);
bool IsInFirstLevelMenu(TMenuItem* item);
bool IsFirstSubMenuItem(TMenuItem* item);
bool IsAfterMenuBreak(TMenuItem* item);
int GetMenuItemLevel(TMenuItem* item);
bool IsSideBarVisible(TMenuItem* item);
bool IsRightAligned(TMenuItem* item);
bool IsRightmost(TMenuItem* item);
TRect GetMenuRect(TMenuItem* item);  // screen
platform::TWinControl* GetMenuWnd(TMenu* menu);
std::string ExShortCutToText(platform::TShortCut shortCut);

// Measuring and painting one item.
void MeasureItem(TMenuItem* item, TCanvas* canvas, int& width, int& height, bool sideBar);
void DrawMenuItemBackground(TMenuItem* item, TCanvas* canvas, TRect r, TOwnerDrawState state, bool sideBar);
void DrawMenuItemEx(IExMenu* menu, TMenuItem* item, TCanvas* canvas, TRect r, TOwnerDrawState state);
void DrawMenuItem(IExMenu* menu, TMenuItem* item, TCanvas* canvas, TRect r, TOwnerDrawState state);
void DrawLineItem(IExMenu* menu, TMenuItem* item, TCanvas* canvas, TRect r, TOwnerDrawState state);
void DrawMenuItemText(TMenuItem* item, TCanvas* canvas, const std::string& text, TRect& r, TOwnerDrawState state,
                      unsigned flags);
void DrawBarCaption(IExMenu* menu, TCanvas* canvas, TRect r);
void DrawBarBorder(IExMenu* menu, TCanvas* canvas, TRect r);
void DrawBarSplitter(IExMenu* menu, TCanvas* canvas, TRect r);
void DrawMenuWindowBorder(TMenuItem* item, TCanvas* canvas);

}  // namespace frame

#pragma once
// Menus: items with captions ('&' marks the accelerator), short-cuts, check marks,
// radio groups, pictures and sub-items; the main menu of a form (a menu bar drawn at
// the top of its client area) and pop-up menus shown at a point. The drop-downs are
// windows of our own; with OwnerDraw (or an item's own handlers) every item is measured
// and drawn by the OnMeasureItem / OnDrawItem / OnAdvancedDrawItem handlers on the
// drop-down's canvas. Short-cuts run the item from the form's key handling also while
// no menu is open.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/ListBox.h"   // TOwnerDrawState
#include "platform/controls/StdCtrls.h"  // StripHotkey

namespace platform {

class TMenu;
class TMainMenu;
class TPopupMenu;
class TMenuItem;
class TImageList;
class TCustomForm;

// Short-cuts: the virtual key in the low byte, modifiers in the high bits.
using TShortCut = Word;
enum : Word { scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Ctrl+Shift+N", "F9", "Alt+Del"...; empty for none.
std::string ShortCutToText(TShortCut ShortCut);
// The reverse; 0 for a text that names no short-cut.
TShortCut TextToShortCut(const std::string& Text);
// The accelerator letter of a caption (upper case), 0 for none.
char GetHotkey(const std::string& Text);

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum TPopupAlignment { paLeft, paRight, paCenter };

using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value);
    bool IsLine() const { return caption_ == "-"; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut Value);
    bool Checked() const { return checked_; }
    void SetChecked(bool Value);  // unchecks the other radio items of its group
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool Value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value);
    bool AutoCheck = false;  // a click toggles Checked
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    bool Default() const { return default_; }
    void SetDefault(bool Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    TBitmap* Bitmap();  // made on first use
    bool HasBitmap() const;
    TMenuBreak Break() const { return break_; }
    void SetBreak(TMenuBreak Value);
    std::string Hint;
    // Pictures of this item's sub-items (else the menu's Images).
    TImageList* SubMenuImages() const { return subMenuImages_; }
    void SetSubMenuImages(TImageList* Value);

    int Count() const { return int(items_.size()); }
    TMenuItem* Items(int Index) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Delete(int Index);  // frees the item
    void Remove(TMenuItem* Item);  // detaches without freeing
    void Clear();  // frees every sub-item
    int IndexOf(const TMenuItem* Item) const;
    TMenuItem* Find(const std::string& ACaption) const;  // compares without '&' and case
    // The menu this item belongs to (through its parents), nullptr for none.
    TMenu* GetParentMenu() const;
    // The parent item, or the menu for an item directly under the menu's root.
    TComponent* GetParentComponent() const;
    // The pictures this item draws from: its parent's SubMenuImages, else the menu's.
    TImageList* GetImageList() const;
    // A command number unique in the program, as the platform's menus give them.
    int Command() const { return command_; }

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

    // Runs OnClick (after the automatic check).
    virtual void Click();
    // Asks OnMeasureItem; without one Width and Height stay as handed in.
    virtual void MeasureItem(TCanvas* ACanvas, int& Width, int& Height);
    // OnAdvancedDrawItem, else OnDrawItem, else the platform's own look.
    virtual void AdvancedDrawItem(TCanvas* ACanvas, TRect ARect, TOwnerDrawState State, bool TopLevel);
    virtual void DrawItem(TCanvas* ACanvas, TRect ARect, bool Selected);
    // Its size in the platform's own look (Top: in the menu bar).
    TSize DefaultSize(TCanvas* ACanvas, bool Top) const;
    // The platform's look of the item.
    void DefaultDraw(TCanvas* ACanvas, TRect ARect, TOwnerDrawState State, bool Top) const;
    bool OwnerDrawn() const;

protected:
    void MenuChanged(bool Rebuild);

private:
    friend class TMenu;
    TMenu* menu_ = nullptr;  // set on the root item only
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
    std::string caption_;
    TShortCut shortCut_ = 0;
    bool checked_ = false, radioItem_ = false, enabled_ = true, visible_ = true, default_ = false;
    int groupIndex_ = 0, imageIndex_ = -1;
    TMenuBreak break_ = mbNone;
    std::unique_ptr<TBitmap> bitmap_;
    TImageList* subMenuImages_ = nullptr;
    int command_;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    // The root: the menu's items are its sub-items.
    TMenuItem* Items() const { return items_.get(); }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* Value);
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool Value);
    bool RightToLeft = false;
    // The font the platform draws and measures items in.
    static TFont& MenuFont();

    // Runs the item whose short-cut this is; true when one ran.
    bool IsShortCut(Word Key, TShiftState Shift);
    TMenuItem* FindItem(int Command) const;
    // Re-measures every item (the platform's re-reading of the item information).
    void UpdateItems();
    // Told of every change of an item (Source) or of the item list (Source nullptr).
    virtual void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::unique_ptr<TMenuItem> items_;
    TImageList* images_ = nullptr;
    bool ownerDraw_ = false;
};

// A form's menu bar. Made with a form as owner it becomes that form's menu.
class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    TCustomForm* Form() const { return form_; }
    // Shows the bar on the form (nullptr takes it away).
    void SetForm(TCustomForm* Value);
    // The menu-bar window, nullptr while on no form.
    TCustomControl* Bar() const;
    // Redraws the menu bar (after its items' look changed).
    void DrawMenuBar();
    // Opens the drop-down of a menu-bar item (as a click on it does).
    void OpenItem(TMenuItem* Item);
    void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;
    class TMenuBar;  // the bar window

private:
    TCustomForm* form_ = nullptr;
    TMenuBar* bar_ = nullptr;
};

// The main menu shown on a form, nullptr for none.
TMainMenu* FormMenu(TCustomForm* Form);

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;
    TPopupAlignment Alignment = paLeft;
    bool AutoPopup = true;
    // The control the menu was last opened for.
    TComponent* PopupComponent = nullptr;
    TPoint PopupPoint() const { return popupPoint_; }
    TNotifyEvent OnPopup;
    // Shows the menu with its top-left at a screen point (OnPopup first). The menu stays
    // open until an item is chosen, Esc is pressed or the mouse is pressed outside it.
    virtual void Popup(int X, int Y);
    // Closes it without a choice.
    void CloseMenu();

private:
    TPoint popupPoint_;
};

// The pop-up menu a right click on the control shows (its AutoPopup on).
void SetPopupMenu(TControl* Control, TPopupMenu* Menu);
TPopupMenu* GetPopupMenu(TControl* Control);

// Open menus. The drop-down window an item's sub-items show in (nullptr while closed);
// the window that shows an item; the item a drop-down window shows the sub-items of.
TCustomControl* MenuWindowOf(const TMenuItem* Parent);
constexpr int MenuWindowFrame = 3;
TWinControl* ItemWindow(const TMenuItem* Item);
TMenuItem* MenuWindowParent(const TWinControl* Window);
// The rectangle of a shown item (drop-down or menu bar) in screen coordinates; empty when
// it is not shown. A drop-down has a 3-pixel frame; its items are drawn on its canvas in
// coordinates of the inside of the frame (the viewport origin moved by 3), as they are
// measured: the first item's rectangle starts at (0, 0).
TRect GetMenuItemRect(const TMenuItem* Item);
// The item selected in an open drop-down (or bar), nullptr for none.
TMenuItem* SelectedMenuItem(const TWinControl* Window);
// Closes every open menu.
void CloseMenus();
// True while a drop-down or an active menu bar takes the keys.
bool MenuActive();

}  // namespace platform

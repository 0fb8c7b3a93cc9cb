// Menu items, short-cut texts and the platform's own look of an item.
#include <algorithm>
#include <cctype>

#include "base/Exception.h"
#include "platform/controls/Menus.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/ImageList.h"

namespace platform {

// ---------------------------------------------------------------- short-cuts

TShortCut ShortCut(Word Key, TShiftState Shift)
{
    if (Key & 0xFF00) return 0;
    TShortCut s = Key;
    if (Shift & ssShift) s |= scShift;
    if (Shift & ssCtrl) s |= scCtrl;
    if (Shift & ssAlt) s |= scAlt;
    return s;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift)
{
    Key = ShortCut & 0x00FF;
    Shift = 0;
    if (ShortCut & scShift) Shift |= ssShift;
    if (ShortCut & scCtrl) Shift |= ssCtrl;
    if (ShortCut & scAlt) Shift |= ssAlt;
}

namespace {

struct KeyName {
    Word key;
    const char* name;
};
constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"}, {VK_HOME, "Home"}, {VK_LEFT, "Left"},
    {VK_UP, "Up"}, {VK_RIGHT, "Right"}, {VK_DOWN, "Down"}, {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

std::string KeyText(Word key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
    if (key >= VK_F1 && key <= VK_F1 + 23) return "F" + std::to_string(key - VK_F1 + 1);
    for (const auto& k : kKeyNames)
        if (k.key == key) return k.name;
    return {};
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper((unsigned char)x) == std::toupper((unsigned char)y);
           });
}

int gNextCommand = 1;

}  // namespace

std::string ShortCutToText(TShortCut ShortCut)
{
    const std::string name = KeyText(Word(ShortCut & 0x00FF));
    if (name.empty()) return {};
    std::string s;
    if (ShortCut & scShift) s += "Shift+";
    if (ShortCut & scCtrl) s += "Ctrl+";
    if (ShortCut & scAlt) s += "Alt+";
    return s + name;
}

TShortCut TextToShortCut(const std::string& Text)
{
    std::string rest = Text;
    TShortCut mods = 0;
    for (bool more = true; more;) {
        more = false;
        for (auto [prefix, bit] : {std::pair{"Shift+", scShift}, std::pair{"Ctrl+", scCtrl}, std::pair{"Alt+", scAlt}}) {
            const std::string p = prefix;
            if (rest.size() > p.size() && EqualNoCase(rest.substr(0, p.size()), p)) {
                rest = rest.substr(p.size());
                mods |= bit;
                more = true;
            }
        }
    }
    for (int key = 1; key < 256; ++key) {
        const std::string name = KeyText(Word(key));
        if (!name.empty() && EqualNoCase(name, rest)) return TShortCut(key | mods);
    }
    return 0;
}

char GetHotkey(const std::string& Text)
{
    for (std::size_t i = 0; i + 1 < Text.size(); ++i) {
        if (Text[i] != '&') continue;
        if (Text[i + 1] == '&') {
            ++i;
            continue;
        }
        return char(std::toupper((unsigned char)Text[i + 1]));
    }
    return 0;
}

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(gNextCommand++) {}

TMenuItem::~TMenuItem()
{
    CloseMenus();
    if (parent_) parent_->Remove(this);
    while (!items_.empty()) {
        TMenuItem* item = items_.back();
        items_.pop_back();
        item->parent_ = nullptr;
        delete item;  // leaves its owner's list
    }
}

TMenuItem* TMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= Count()) throw base::EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return items_[std::size_t(Index)];
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (!Item) return;
    if (Item->parent_) throw base::Exception("Menu inserted twice");
    if (Index < 0 || Index > Count()) throw base::EListError("List index out of bounds (" + std::to_string(Index) + ")");
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
    MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* Item)
{
    const int i = IndexOf(Item);
    if (i < 0) return;
    items_.erase(items_.begin() + i);
    Item->parent_ = nullptr;
    MenuChanged(true);
}

void TMenuItem::Delete(int Index)
{
    TMenuItem* item = Items(Index);
    Remove(item);
    delete item;
}

void TMenuItem::Clear()
{
    while (Count() > 0) Delete(Count() - 1);
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const
{
    for (TMenuItem* item : items_)
        if (EqualNoCase(StripHotkey(item->caption_), StripHotkey(ACaption))) return item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

TComponent* TMenuItem::GetParentComponent() const
{
    if (parent_ && parent_->menu_) return parent_->menu_;
    return parent_;
}

TImageList* TMenuItem::GetImageList() const
{
    for (const TMenuItem* p = parent_; p; p = p->parent_) {
        if (p->subMenuImages_) return p->subMenuImages_;
    }
    TMenu* menu = GetParentMenu();
    return menu ? menu->Images() : nullptr;
}

void TMenuItem::MenuChanged(bool Rebuild)
{
    TMenu* menu = GetParentMenu();
    if (!menu || menu->Destroying()) return;
    menu->MenuChanged(this, (!parent_ && menu_) ? nullptr : this, Rebuild);
}

void TMenuItem::SetCaption(const std::string& Value)
{
    if (caption_ == Value) return;
    caption_ = Value;
    MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut Value)
{
    if (shortCut_ == Value) return;
    shortCut_ = Value;
    MenuChanged(true);
}

void TMenuItem::SetChecked(bool Value)
{
    if (checked_ == Value) return;
    checked_ = Value;
    if (Value && radioItem_ && parent_) {
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) sibling->checked_ = false;
    }
    MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool Value)
{
    if (radioItem_ == Value) return;
    radioItem_ = Value;
    if (checked_ && Value) {
        checked_ = false;
        SetChecked(true);  // the others of the group go off
    }
    MenuChanged(false);
}

void TMenuItem::SetGroupIndex(int Value)
{
    if (groupIndex_ == Value) return;
    groupIndex_ = Value;
    if (checked_ && radioItem_) {
        checked_ = false;
        SetChecked(true);
    }
}

void TMenuItem::SetEnabled(bool Value)
{
    if (enabled_ == Value) return;
    enabled_ = Value;
    MenuChanged(false);
}

void TMenuItem::SetVisible(bool Value)
{
    if (visible_ == Value) return;
    visible_ = Value;
    MenuChanged(true);
}

void TMenuItem::SetDefault(bool Value)
{
    if (default_ == Value) return;
    if (Value && parent_)
        for (TMenuItem* sibling : parent_->items_) sibling->default_ = false;
    default_ = Value;
    MenuChanged(true);
}

void TMenuItem::SetImageIndex(int Value)
{
    if (imageIndex_ == Value) return;
    imageIndex_ = Value;
    MenuChanged(true);
}

TBitmap* TMenuItem::Bitmap()
{
    if (!bitmap_) {
        bitmap_ = std::make_unique<TBitmap>();
        bitmap_->OnChange = [this](TObject*) { MenuChanged(true); };
    }
    return bitmap_.get();
}

bool TMenuItem::HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }

void TMenuItem::SetBreak(TMenuBreak Value)
{
    if (break_ == Value) return;
    break_ = Value;
    MenuChanged(true);
}

void TMenuItem::SetSubMenuImages(TImageList* Value)
{
    subMenuImages_ = Value;
    MenuChanged(true);
}

bool TMenuItem::OwnerDrawn() const
{
    TMenu* menu = GetParentMenu();
    return (menu && menu->OwnerDraw()) || OnMeasureItem || OnDrawItem || OnAdvancedDrawItem;
}

void TMenuItem::Click()
{
    if (!enabled_) return;
    if (AutoCheck) SetChecked(radioItem_ ? true : !checked_);
    if (OnClick) OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height)
{
    if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

void TMenuItem::AdvancedDrawItem(TCanvas* ACanvas, TRect ARect, TOwnerDrawState State, bool TopLevel)
{
    if (OnAdvancedDrawItem) OnAdvancedDrawItem(this, ACanvas, ARect, State);
    else if (OnDrawItem) DrawItem(ACanvas, ARect, State & odSelected);
    else DefaultDraw(ACanvas, ARect, State, TopLevel);
}

void TMenuItem::DrawItem(TCanvas* ACanvas, TRect ARect, bool Selected)
{
    if (OnDrawItem) OnDrawItem(this, ACanvas, ARect, Selected);
}

// ---------------------------------------------------------------- the platform's look

namespace {
constexpr int kCheckWidth = 16;  // the column of check marks and pictures
constexpr int kArrowWidth = 14;  // the sub-menu arrow's column
}  // namespace

TSize TMenuItem::DefaultSize(TCanvas* ACanvas, bool Top) const
{
    ACanvas->Font().Assign(TMenu::MenuFont());
    const int textHeight = ACanvas->TextHeight("Wg");
    if (IsLine()) return {Top ? 6 : 0, 8};
    TRect r = Rect(0, 0, 0, 0);
    DrawText(ACanvas->Handle(), caption_.empty() ? std::string(" ") : caption_, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    if (Top) return {r.Width() + 12, textHeight + 6};
    int w = kCheckWidth + 6 + r.Width() + kArrowWidth + 6;
    const std::string sc = ShortCutToText(shortCut_);
    if (!sc.empty()) w += ACanvas->TextWidth(sc) + 12;
    int h = textHeight + 6;
    if (TImageList* images = GetImageList(); images && imageIndex_ >= 0) h = std::max(h, images->Height() + 4);
    return {w, h};
}

void TMenuItem::DefaultDraw(TCanvas* ACanvas, TRect ARect, TOwnerDrawState State, bool Top) const
{
    TCanvas* c = ACanvas;
    HDC dc = c->Handle();
    const bool selected = State & odSelected;
    const TColor back = selected && (!Top || (State & odSelected)) ? clHighlight : clMenu;
    if (Top) {
        FillRect(dc, ARect, ColorToRGB(clMenu));
        if (selected || (State & odHotLight)) {
            TRect e = ARect;
            DrawEdge(dc, e, selected ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
    } else {
        FillRect(dc, ARect, ColorToRGB(back));
    }
    if (IsLine()) {
        TRect line = Rect(ARect.Left + 1, (ARect.Top + ARect.Bottom) / 2 - 1, ARect.Right - 1, (ARect.Top + ARect.Bottom) / 2 + 1);
        DrawEdge(dc, line, EDGE_ETCHED, BF_TOP);
        return;
    }
    c->Font().Assign(TMenu::MenuFont());
    if (default_) c->Font().SetStyle(c->Font().Style() | fsBold);
    c->Brush().SetStyle(bsClear);
    const TColor textColor = selected && !Top ? clHighlightText : clMenuText;
    const int mid = (ARect.Top + ARect.Bottom) / 2;
    if (!Top) {
        TImageList* images = GetImageList();
        if (images && imageIndex_ >= 0 && imageIndex_ < images->Count()) {
            images->Draw(c, ARect.Left + 2, mid - images->Height() / 2, imageIndex_, enabled_);
        } else if (checked_) {
            c->Pen().SetColor(textColor);
            c->Pen().SetWidth(1);
            const int x = ARect.Left + 4, y = mid;
            if (radioItem_) {
                c->Brush().SetStyle(bsSolid);
                c->Brush().SetColor(textColor);
                c->Ellipse(x + 2, y - 3, x + 8, y + 3);
                c->Brush().SetStyle(bsClear);
            } else {
                for (int d = 0; d < 3; ++d) {
                    c->MoveTo(x, y - 1 + d);
                    c->LineTo(x + 2, y + 1 + d);
                    c->LineTo(x + 7, y - 4 + d);
                }
            }
        }
    }
    const UINT flags = DT_SINGLELINE | DT_VCENTER | (Top ? DT_CENTER : DT_LEFT) | ((State & odNoAccel) ? UINT(DT_HIDEPREFIX) : 0u);
    TRect text = ARect;
    if (!Top) text.Left += kCheckWidth + 6;
    const std::string sc = Top ? std::string() : ShortCutToText(shortCut_);
    auto drawTexts = [&](TColor color, int dx) {
        c->Font().SetColor(color);
        TRect t = text;
        OffsetRect(t, dx, dx);
        DrawText(c->Handle(), caption_, -1, &t, flags);
        if (!sc.empty()) {
            TRect s = Rect(t.Left, t.Top, t.Right - kArrowWidth, t.Bottom);
            DrawText(c->Handle(), sc, -1, &s, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
        }
    };
    if (!enabled_) {
        if (!selected) drawTexts(clBtnHighlight, 1);
        drawTexts(clBtnShadow, 0);
    } else {
        drawTexts(textColor, 0);
    }
    if (!Top && Count() > 0) {
        // The sub-menu arrow: a small triangle pointing right.
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(textColor);
        c->Pen().SetColor(textColor);
        const int x = ARect.Right - 10;
        const TPoint pts[3] = {Point(x, mid - 3), Point(x, mid + 3), Point(x + 3, mid)};
        c->Polygon(pts, 3);
    }
    c->Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(std::make_unique<TMenuItem>(nullptr))
{
    items_->menu_ = this;
}

TMenu::~TMenu()
{
    CloseMenus();
    items_.reset();
}

TFont& TMenu::MenuFont()
{
    static TFont* font = [] {
        auto* f = new TFont;
        f->SetColor(clMenuText);
        return f;
    }();
    return *font;
}

void TMenu::SetImages(TImageList* Value)
{
    if (images_) RemoveFreeNotification(images_);
    images_ = Value;
    if (images_) FreeNotification(images_);
    MenuChanged(this, nullptr, true);
}

void TMenu::SetOwnerDraw(bool Value)
{
    if (ownerDraw_ == Value) return;
    ownerDraw_ = Value;
    MenuChanged(this, nullptr, true);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == images_) images_ = nullptr;
    TComponent::Notification(AComponent, Operation);
}

namespace {

TMenuItem* FindShortCut(TMenuItem* parent, TShortCut sc)
{
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (item->ShortCut() == sc && item->Visible()) return item;
        if (item->Enabled() && item->Count() > 0)
            if (TMenuItem* found = FindShortCut(item, sc)) return found;
    }
    return nullptr;
}

TMenuItem* FindCommand(TMenuItem* parent, int command)
{
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (item->Command() == command) return item;
        if (TMenuItem* found = FindCommand(item, command)) return found;
    }
    return nullptr;
}

}  // namespace

bool TMenu::IsShortCut(Word Key, TShiftState Shift)
{
    const TShortCut sc = ShortCut(Key, Shift & (ssShift | ssCtrl | ssAlt));
    if (sc == 0) return false;
    TMenuItem* item = FindShortCut(items_.get(), sc);
    if (!item || !item->Enabled()) return false;
    item->Click();
    return true;
}

TMenuItem* TMenu::FindItem(int Command) const { return FindCommand(items_.get(), Command); }

}  // namespace platform

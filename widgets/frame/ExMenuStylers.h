#pragma once
// Menu stylers: the colours, gradients, fonts, glyphs, background picture and side bar
// that the owner-drawn menus are painted with, in persistent parts; the office styler
// with its four looks and the fantasy styler with nine.
#include <memory>
#include <string>

#include "platform/Classes.h"
#include "platform/controls/Controls.h"
#include "widgets/frame/ExMenuUtil.h"

namespace platform {
class TMenu;
class TPicture;
class TBitmap;
class TFont;
}  // namespace platform

namespace frame {

using platform::TPersistent;

// Re-reads the items of a menu after a change of its styler: A after a side-bar change,
// B after a change of item sizes (Part of the menus' unit).
void RefreshMenu(platform::TMenu* menu, bool a, bool b);

class TGradientBar : public TPersistent {
public:
    TGradientBar();
    void Assign(const TPersistent& source) override;
    TColor GetGradientColor(int index) const;
    void SetGradientColor(int index, TColor value);
    TColor Color() const { return color_; }
    TColor ColorTo() const { return colorTo_; }
    void SetColor(TColor c) { SetGradientColor(0, c); }
    void SetColorTo(TColor c) { SetGradientColor(1, c); }
    TGradientDirection GradientDirection = gdVertical;
    platform::TMenu* Menu = nullptr;

protected:
    void Refresh(bool a, bool b) const { RefreshMenu(Menu, a, b); }
    TColor color_ = TColor(0xD8BDAF), colorTo_ = platform::clNone;
};

// A coloured part with check and radio boxes (the icon column and the selected item).
class TCheckRadioBar : public TGradientBar {
public:
    // Index 0 the colour, 1 the colour-to.
    TColor GetCheckColor(int index) const;
    void SetCheckColor(int index, TColor value);
    TColor GetRadioColor(int index) const;
    void SetRadioColor(int index, TColor value);
    TColor CheckBorder = TColor(0x6F4B4B), RadioBorder = TColor(0x6F4B4B);
    TGradientDirection CheckGradientDirection = gdVertical, RadioGradientDirection = gdVertical;
    TColor CheckColor() const { return check_[0]; }
    TColor CheckColorTo() const { return check_[1]; }
    TColor RadioColor() const { return radio_[0]; }
    TColor RadioColorTo() const { return radio_[1]; }

protected:
    TColor check_[2] = {TColor(0x6FC0FF), platform::clNone};
    TColor radio_[2] = {TColor(0x6FC0FF), platform::clNone};
};

class TIconBar : public TCheckRadioBar {
public:
    TIconBar();
    void Assign(const TPersistent& source) override;
    int Size() const { return size_; }
    void SetSize(int value);

private:
    int size_ = 24;
};

class TSelectedItem : public TCheckRadioBar {
public:
    TSelectedItem();
    ~TSelectedItem() override;
    void Assign(const TPersistent& source) override;
    platform::TFont& Font() { return *font_; }
    void SetFont(const platform::TFont& f);
    bool UseSystemFont() const { return useSystemFont_; }
    void SetUseSystemFont(bool v);
    TColor BorderColor = TColor(0x6F4B4B);

private:
    std::unique_ptr<platform::TFont> font_;
    bool useSystemFont_ = true;
};

class TRootItem : public TGradientBar {
public:
    TRootItem();
    ~TRootItem() override;
    void Assign(const TPersistent& source) override;
    TColor GetSelectedColor(int index) const;
    void SetSelectedColor(int index, TColor value);
    TColor GetHoverColor(int index) const;
    void SetHoverColor(int index, TColor value);
    platform::TFont& Font() { return *font_; }
    void SetFont(const platform::TFont& f);
    bool UseSystemFont() const { return useSystemFont_; }
    void SetUseSystemFont(bool v);
    TColor SelectedColor() const { return selected_[0]; }
    TColor SelectedColorTo() const { return selected_[1]; }
    TColor HoverColor() const { return hover_[0]; }
    TColor HoverColorTo() const { return hover_[1]; }
    TGradientDirection SelectedGradientDirection = gdVertical, HoverGradientDirection = gdVertical;
    TColor SelectedBorderColor = TColor(0x947C7C), SelectedTextColor = platform::clWindowText;
    TColor HoverBorderColor = TColor(0x6F4B4B), HoverTextColor = platform::clWindowText;

private:
    std::unique_ptr<platform::TFont> font_;
    bool useSystemFont_ = true;
    TColor selected_[2] = {TColor(0xF2E8E8), TColor(0xCDB8B9)};
    TColor hover_[2] = {TColor(0xCFF6FF), TColor(0x9DD8FF)};
};

class TSeparator : public TGradientBar {
public:
    TSeparator();
    void Assign(const TPersistent& source) override;
    int Width = 1;
    TGradientType GradientType = gtBoth;
    int GradientWidth = 0;
    int Margin = 2;
};

class TBackground : public TGradientBar {
public:
    TBackground();
    ~TBackground() override;
    void Assign(const TPersistent& source) override;
    // The picture, made on first use; a bitmap in it is transparent.
    platform::TPicture* Image();
    bool HasImage() const;  // holds a picture that is not empty
    // nullptr empties and frees the picture.
    void SetImage(platform::TPicture* value);
    TBackgroundPosition Position = bpCenter;
    int OffsetX = 0, OffsetY = 0, MarginX = 0, MarginY = 0;
    void CalcPicturePosition(const TRect& r, int& x, int& y);
    platform::TBitmap* WorkBitmap();

private:
    std::unique_ptr<platform::TPicture> image_;
    std::unique_ptr<platform::TBitmap> work_;
};

// Draws a background's colour and picture in r (Part of the menus' picture routines).
void DrawImage(TCanvas* canvas, TRect r, TBackground& background, bool drawColor);

class TMenuGlyphs : public TPersistent {
public:
    TMenuGlyphs();
    ~TMenuGlyphs() override;
    void Assign(const TPersistent& source) override;
    platform::TBitmap* SubMenu() const { return subMenu_.get(); }
    platform::TBitmap* Check() const { return check_.get(); }
    platform::TBitmap* Radio() const { return radio_.get(); }
    void SetSubMenu(platform::TBitmap* value);
    void SetCheck(platform::TBitmap* value);
    void SetRadio(platform::TBitmap* value);
    platform::TMenu* Menu = nullptr;

private:
    std::unique_ptr<platform::TBitmap> subMenu_, check_, radio_;
};

enum TDirection { dDownToUp, dUpToDown };
enum TSideBarVisibleIn { viFirstVisible, viFirstLevel, viAnyLevel };

class TBarCaption : public TPersistent {
public:
    TBarCaption();
    ~TBarCaption() override;
    void Assign(const TPersistent& source) override;
    platform::TFont& Font() { return *font_; }
    void SetFont(const platform::TFont& f);
    std::string Caption;
    platform::TAlignment Alignment = platform::taLeftJustify;
    TDirection Direction = dDownToUp;
    TColor ShadowColor = platform::clNone;
    int Depth = 1;
    int StartOffset = 6;
    TColor SecondColor = platform::clNone;
    platform::TMenu* Menu = nullptr;

private:
    std::unique_ptr<platform::TFont> font_;
};

class TSideBar : public TBarCaption {
public:
    TSideBar();
    ~TSideBar() override;
    void Assign(const TPersistent& source) override;
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    TBackground& Image() { return *image_; }
    TBackground& Background() { return *background_; }
    void SetImage(const TBackground& v);
    void SetBackground(const TBackground& v);
    TSideBarVisibleIn VisibleIn = viFirstVisible;
    int Size = 24;
    TColor SplitterColor = TColor(0x808080), SplitterColorTo = platform::clNone;
    int SplitterWidth = 1, SplitterMargin = 0, SplitterGradientWidth = 0;
    TGradientType SplitterGradientType = gtBoth;
    TColor BorderColor = TColor(0xA19D9D);
    int BarHeight = 0;  // of the drop-down it was last painted in

private:
    bool visible_ = false;
    std::unique_ptr<TBackground> image_, background_;
};

class TCustomExMenuStyler : public platform::TComponent {
public:
    explicit TCustomExMenuStyler(platform::TComponent* AOwner);
    ~TCustomExMenuStyler() override;
    void Assign(const TPersistent& source) override;

    TBackground& Background() { return *background_; }
    TIconBar& IconBar() { return *iconBar_; }
    TSelectedItem& SelectedItem() { return *selectedItem_; }
    TRootItem& RootItem() { return *rootItem_; }
    TMenuGlyphs& Glyphs() { return *glyphs_; }
    TSideBar& SideBar() { return *sideBar_; }
    TSeparator& Separator() { return *separator_; }
    platform::TFont& Font() { return *font_; }
    bool UseSystemFont() const { return useSystemFont_; }

    void SetBackground(const TBackground& v);
    void SetIconBar(const TIconBar& v);
    void SetSelectedItem(const TSelectedItem& v);
    void SetRootItem(const TRootItem& v);
    void SetGlyphs(const TMenuGlyphs& v);
    void SetSideBar(const TSideBar& v);
    void SetSeparator(const TSeparator& v);
    void SetFont(const platform::TFont& v);
    void SetUseSystemFont(bool v);
    TColor MenuBorderColor = TColor(0x7C7C94);

    // Attaches the styler to the menu that takes it (the last one is remembered).
    void SetMenu(platform::TMenu* menu);
    platform::TMenu* Menu() const { return menu_; }
    platform::TBitmap* WorkBitmap();
    // True while the styler is read from a form.
    bool Loading = false;

protected:
    // Asks the menu's platform to redraw its bar (main menus).
    void RedrawMenuBar();

private:
    bool useSystemFont_ = true;
    std::unique_ptr<TSeparator> separator_;
    std::unique_ptr<TBackground> background_;
    std::unique_ptr<platform::TFont> font_;
    std::unique_ptr<TIconBar> iconBar_;
    std::unique_ptr<TMenuGlyphs> glyphs_;
    std::unique_ptr<TRootItem> rootItem_;
    std::unique_ptr<TSelectedItem> selectedItem_;
    std::unique_ptr<TSideBar> sideBar_;
    platform::TMenu* menu_ = nullptr;
    std::unique_ptr<platform::TBitmap> work_;
};

class TExMenuStyler : public TCustomExMenuStyler {
public:
    using TCustomExMenuStyler::TCustomExMenuStyler;
};

enum TOfficeStyle { osOffice2003Blue, osOffice2003Olive, osOffice2003Silver, osOfficeXP };

class TExMenuOfficeStyler : public TCustomExMenuStyler {
public:
    explicit TExMenuOfficeStyler(platform::TComponent* AOwner);
    void Loaded() override;
    TOfficeStyle Style() const { return style_; }
    void SetStyle(TOfficeStyle value);
    bool AutoThemeAdapt = false;
    // The desktop's theme changed (the notifier window's message).
    void ThemeChanged(platform::TObject* Sender);
    platform::TWinControl* Notifier() const { return notifier_; }

private:
    TOfficeStyle style_ = osOffice2003Blue;
    platform::TWinControl* notifier_ = nullptr;
};

enum TFantasyStyle {
    fsArctic, fsAquaBlue, fsChocolate, fsMacOS, fsSilverFox, fsSoftSand, fsTerminalGreen, fsTextured, fsWindowsClassic
};

class TExMenuFantasyStyler : public TCustomExMenuStyler {
public:
    explicit TExMenuFantasyStyler(platform::TComponent* AOwner);
    TFantasyStyle Style() const { return style_; }
    void SetStyle(TFantasyStyle value);

private:
    TFantasyStyle style_ = fsChocolate;
};

}  // namespace frame

#include "widgets/frame/ExMenuStylers.h"

#include <typeinfo>

#include "platform/controls/Menus.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "widgets/html/ThemeApi.h"

namespace frame {

using namespace platform;

namespace {

[[noreturn]] void CannotAssign(const TPersistent& source, const TPersistent& target)
{
    throw base::Exception(std::string("Cannot assign a ") + typeid(source).name() + " to a " + typeid(target).name());
}

void CheckIndex(int index)
{
    if (index != 0 && index != 1) throw EInvalidPropertyIndex(index);
}

// A copy of the menu font as the desktop sets it.
std::unique_ptr<TFont> SystemMenuFont()
{
    auto f = std::make_unique<TFont>();
    f->Assign(TMenu::MenuFont());
    return f;
}

void MakeTransparent(TBitmap* b)
{
    if (!b || b->Empty()) return;
    b->SetTransparent(true);
    b->SetTransparentMode(tmAuto);
}

// The glyphs' white is transparent.
void MakeGlyphTransparent(TBitmap* b)
{
    if (!b || b->Empty()) return;
    b->SetTransparent(true);
    b->SetTransparentMode(tmFixed);
    b->SetTransparentColor(clWhite);
}

// The glyphs: black shapes on white, white being transparent.
std::unique_ptr<TBitmap> NewGlyph(int w, int h)
{
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush().SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

std::unique_ptr<TBitmap> CheckGlyph()
{
    auto b = NewGlyph(16, 16);
    // A tick three pixels thick: from (4, 7) down to (6, 11), then up to (11, 4).
    TCanvas* c = b->Canvas();
    c->Pen().SetColor(clBlack);
    for (int t = -1; t <= 1; ++t) {
        c->MoveTo(4, 7 + t);
        c->LineTo(6, 11 + t);
        c->LineTo(12, 4 + t);
    }
    return b;
}

std::unique_ptr<TBitmap> RadioGlyph()
{
    auto b = NewGlyph(16, 16);
    for (int y = 5; y <= 10; ++y)
        for (int x = 5; x <= 10; ++x) {
            const bool corner = (x == 5 || x == 10) && (y == 5 || y == 10);
            if (!corner) b->Canvas()->SetPixel(x, y, clBlack);
        }
    return b;
}

std::unique_ptr<TBitmap> SubMenuGlyph()
{
    auto b = NewGlyph(4, 7);
    for (int x = 0; x < 4; ++x)
        for (int y = x; y < 7 - x; ++y) b->Canvas()->SetPixel(x, y, clBlack);
    return b;
}

// "MENUTEXTURE": a 52 x 54 tile of soft paper grain.
std::unique_ptr<TBitmap> MenuTexture()
{
    auto b = std::make_unique<TBitmap>(52, 54);
    for (int y = 0; y < 54; ++y)
        for (int x = 0; x < 52; ++x) {
            const int v = 200 + ((x * 7 + y * 13 + (x * y) % 11) % 29);
            b->Canvas()->SetPixel(x, y, TColor(platform::RGB(v, v - 8, v - 24)));
        }
    return b;
}

}  // namespace

// ---------------------------------------------------------------- parts

TGradientBar::TGradientBar() = default;

void TGradientBar::Assign(const TPersistent& source)
{
    auto* s = dynamic_cast<const TGradientBar*>(&source);
    if (!s) CannotAssign(source, *this);
    color_ = s->color_;
    colorTo_ = s->colorTo_;
    GradientDirection = s->GradientDirection;
}

TColor TGradientBar::GetGradientColor(int index) const
{
    CheckIndex(index);
    return index == 0 ? color_ : colorTo_;
}

void TGradientBar::SetGradientColor(int index, TColor value)
{
    CheckIndex(index);
    (index == 0 ? color_ : colorTo_) = value;
}

TIconBar::TIconBar()
{
    color_ = TColor(0xFFF9F9);
    colorTo_ = TColor(0xBBA0A1);
    GradientDirection = gdHorizontal;
}

void TIconBar::Assign(const TPersistent& source)
{
    if (auto* s = dynamic_cast<const TIconBar*>(&source)) {
        check_[0] = s->check_[0];
        check_[1] = s->check_[1];
        CheckBorder = s->CheckBorder;
        CheckGradientDirection = s->CheckGradientDirection;
        radio_[0] = s->radio_[0];
        radio_[1] = s->radio_[1];
        RadioBorder = s->RadioBorder;
        RadioGradientDirection = s->RadioGradientDirection;
        SetSize(s->size_);
        return;
    }
    TGradientBar::Assign(source);
}

TColor TCheckRadioBar::GetCheckColor(int index) const
{
    CheckIndex(index);
    return check_[index];
}
void TCheckRadioBar::SetCheckColor(int index, TColor value)
{
    CheckIndex(index);
    check_[index] = value;
    Refresh(false, false);
}
TColor TCheckRadioBar::GetRadioColor(int index) const
{
    CheckIndex(index);
    return radio_[index];
}
void TCheckRadioBar::SetRadioColor(int index, TColor value)
{
    CheckIndex(index);
    radio_[index] = value;
    Refresh(false, false);
}
void TIconBar::SetSize(int value)
{
    size_ = std::max(value, 16);
    Refresh(false, true);
}

TSelectedItem::TSelectedItem() : font_(SystemMenuFont())
{
    check_[0] = radio_[0] = TColor(0x3E80FE);
    color_ = TColor(0xC2EEFF);
    colorTo_ = clNone;
    font_->SetColor(clWindowText);
}
TSelectedItem::~TSelectedItem() = default;

void TSelectedItem::Assign(const TPersistent& source)
{
    if (auto* s = dynamic_cast<const TSelectedItem*>(&source)) {
        BorderColor = s->BorderColor;
        font_->Assign(*s->font_);
        SetUseSystemFont(s->useSystemFont_);
        check_[0] = s->check_[0];
        check_[1] = s->check_[1];
        CheckGradientDirection = s->CheckGradientDirection;
        radio_[0] = s->radio_[0];
        radio_[1] = s->radio_[1];
        RadioBorder = s->RadioBorder;
        RadioGradientDirection = s->RadioGradientDirection;
        return;
    }
    TGradientBar::Assign(source);
}

void TSelectedItem::SetFont(const TFont& f)
{
    font_->Assign(f);
    Refresh(false, true);
}
void TSelectedItem::SetUseSystemFont(bool v)
{
    useSystemFont_ = v;
    Refresh(false, true);
}

TRootItem::TRootItem() : font_(SystemMenuFont())
{
    color_ = TColor(0xE5D7D7);
    colorTo_ = TColor(0xF7F2F2);
    GradientDirection = gdHorizontal;
}
TRootItem::~TRootItem() = default;

void TRootItem::Assign(const TPersistent& source)
{
    if (auto* s = dynamic_cast<const TRootItem*>(&source)) {
        font_->Assign(*s->font_);
        SetUseSystemFont(s->useSystemFont_);
        selected_[0] = s->selected_[0];
        selected_[1] = s->selected_[1];
        SelectedGradientDirection = s->SelectedGradientDirection;
        SelectedBorderColor = s->SelectedBorderColor;
        SelectedTextColor = s->SelectedTextColor;
        hover_[0] = s->hover_[0];
        hover_[1] = s->hover_[1];
        HoverGradientDirection = s->HoverGradientDirection;
        HoverBorderColor = s->HoverBorderColor;
        HoverTextColor = s->HoverTextColor;
        return;
    }
    TGradientBar::Assign(source);
}

TColor TRootItem::GetSelectedColor(int index) const
{
    CheckIndex(index);
    return selected_[index];
}
void TRootItem::SetSelectedColor(int index, TColor value)
{
    CheckIndex(index);
    selected_[index] = value;
    Refresh(false, true);
}
TColor TRootItem::GetHoverColor(int index) const
{
    CheckIndex(index);
    return hover_[index];
}
void TRootItem::SetHoverColor(int index, TColor value)
{
    CheckIndex(index);
    hover_[index] = value;
    Refresh(false, true);
}
void TRootItem::SetFont(const TFont& f)
{
    font_->Assign(f);
    Refresh(false, true);
}
void TRootItem::SetUseSystemFont(bool v)
{
    useSystemFont_ = v;
    Refresh(false, true);
}

TSeparator::TSeparator()
{
    color_ = TColor(0x8F6D6E);
    colorTo_ = clNone;
    GradientDirection = gdHorizontal;
}

void TSeparator::Assign(const TPersistent& source)
{
    if (auto* s = dynamic_cast<const TSeparator*>(&source)) {
        Width = s->Width;
        GradientType = s->GradientType;
        GradientWidth = s->GradientWidth;
        Margin = s->Margin;
    }
    TGradientBar::Assign(source);
}

TBackground::TBackground()
{
    color_ = TColor(0xFFFAFD);
    colorTo_ = clNone;
    GradientDirection = gdVertical;
}
TBackground::~TBackground() = default;

void TBackground::Assign(const TPersistent& source)
{
    if (auto* s = dynamic_cast<const TBackground*>(&source)) {
        SetImage(s->image_.get());
        OffsetX = s->OffsetX;
        OffsetY = s->OffsetY;
        Position = s->Position;
        return;
    }
    TGradientBar::Assign(source);
}

TPicture* TBackground::Image()
{
    if (!image_) image_ = std::make_unique<TPicture>();
    if (auto* b = dynamic_cast<TBitmap*>(image_->Graphic())) MakeTransparent(b);
    return image_.get();
}

bool TBackground::HasImage() const { return image_ && image_->Graphic() && !image_->Graphic()->Empty(); }

void TBackground::SetImage(TPicture* value)
{
    if (value) Image()->Assign(*value);
    else image_.reset();
    Refresh(false, false);
}

TBitmap* TBackground::WorkBitmap()
{
    if (!work_) work_ = std::make_unique<TBitmap>();
    return work_.get();
}

void TBackground::CalcPicturePosition(const TRect& r, int& x, int& y)
{
    x = r.Left;
    y = r.Top;
    if (!HasImage()) return;
    const int w = image_->Width(), h = image_->Height();
    const int rw = RectWidth(r), rh = RectHeight(r);
    switch (Position) {
    case bpTopLeft: x += OffsetX, y += OffsetY; break;
    case bpTopRight: x += rw + OffsetX - w, y += OffsetY; break;
    case bpBottomLeft: x += OffsetX, y += rh + OffsetY - h; break;
    case bpBottomRight: x += rw + OffsetX - w, y += rh + OffsetY - h; break;
    case bpTopCenter: x += (rw - w) / 2 + OffsetX, y += OffsetY; break;
    case bpBottomCenter: x += (rw - w) / 2 + OffsetX, y += rh + OffsetY - h; break;
    case bpCenter: x += (rw - w) / 2 + OffsetX, y += (rh - h) / 2 + OffsetY; break;
    default: break;
    }
}

void DrawImage(TCanvas* canvas, TRect r, TBackground& bg, bool drawColor)
{
    InflateRect(r, -bg.MarginX, -bg.MarginY);
    if (RectWidth(r) <= 0 || RectHeight(r) <= 0) return;
    TBitmap* work = bg.WorkBitmap();
    work->SetSize(RectWidth(r), RectHeight(r));
    const bool hasPicture = bg.HasImage();
    TGraphic* g = hasPicture ? bg.Image()->Graphic() : nullptr;
    const bool covered = g && (bg.Position == bpTiled || bg.Position == bpStretched) && !g->Transparent();
    if (drawColor && !covered)
        DrawGradient(work->Canvas(), Rect(0, 0, work->Width(), work->Height()), bg.Color(), bg.ColorTo(), bg.GradientDirection);
    if (g) {
        TCanvas* wc = work->Canvas();
        switch (bg.Position) {
        case bpTiled:
            if (g->Width() > 0 && g->Height() > 0)
                for (int y = 0; y < work->Height(); y += g->Height())
                    for (int x = 0; x < work->Width(); x += g->Width()) wc->Draw(x, y, g);
            break;
        case bpStretched: wc->StretchDraw(Rect(0, 0, work->Width(), work->Height()), g); break;
        case bpXY: wc->Draw(bg.OffsetX, bg.OffsetY, g); break;
        default: {
            int x, y;
            bg.CalcPicturePosition(Rect(0, 0, work->Width(), work->Height()), x, y);
            wc->Draw(x, y, g);
        }
        }
    }
    canvas->Draw(r.Left, r.Top, work);
}

TMenuGlyphs::TMenuGlyphs() : subMenu_(SubMenuGlyph()), check_(CheckGlyph()), radio_(RadioGlyph())
{
    MakeGlyphTransparent(subMenu_.get());
    MakeGlyphTransparent(check_.get());
    MakeGlyphTransparent(radio_.get());
}
TMenuGlyphs::~TMenuGlyphs() = default;

void TMenuGlyphs::Assign(const TPersistent& source)
{
    auto* s = dynamic_cast<const TMenuGlyphs*>(&source);
    if (!s) CannotAssign(source, *this);
    SetSubMenu(s->subMenu_.get());
    SetCheck(s->check_.get());
    SetRadio(s->radio_.get());
}

namespace {
void SetGlyph(std::unique_ptr<TBitmap>& b, TBitmap* value, TMenu* menu)
{
    if (!b) b = std::make_unique<TBitmap>();
    if (value) b->Assign(*value);
    MakeGlyphTransparent(b.get());
    RefreshMenu(menu, false, false);
}
}  // namespace

void TMenuGlyphs::SetSubMenu(TBitmap* value) { SetGlyph(subMenu_, value, Menu); }
void TMenuGlyphs::SetCheck(TBitmap* value) { SetGlyph(check_, value, Menu); }
void TMenuGlyphs::SetRadio(TBitmap* value) { SetGlyph(radio_, value, Menu); }

TBarCaption::TBarCaption() : font_(std::make_unique<TFont>())
{
    font_->SetName("Tahoma");
    font_->SetSize(14);
    font_->SetColor(TColor(0xFFFFFF));
    font_->SetStyle(fsBold | fsItalic);
}
TBarCaption::~TBarCaption() = default;

void TBarCaption::Assign(const TPersistent& source)
{
    auto* s = dynamic_cast<const TBarCaption*>(&source);
    if (!s) CannotAssign(source, *this);
    StartOffset = s->StartOffset;
    Alignment = s->Alignment;
    Caption = s->Caption;
    font_->Assign(*s->font_);
    ShadowColor = s->ShadowColor;
    SecondColor = s->SecondColor;
    Depth = s->Depth;
    Direction = s->Direction;
}

void TBarCaption::SetFont(const TFont& f)
{
    font_->Assign(f);
    RefreshMenu(Menu, true, false);
}

TSideBar::TSideBar() : image_(std::make_unique<TBackground>()), background_(std::make_unique<TBackground>()) {}
TSideBar::~TSideBar() = default;

void TSideBar::Assign(const TPersistent& source)
{
    if (auto* s = dynamic_cast<const TSideBar*>(&source)) {
        SetVisible(s->visible_);
        image_->Assign(*s->image_);
        background_->Assign(*s->background_);
        Size = s->Size;
        SplitterWidth = s->SplitterWidth;
        SplitterMargin = s->SplitterMargin;
        SplitterGradientWidth = s->SplitterGradientWidth;
        SplitterGradientType = s->SplitterGradientType;
        BorderColor = s->BorderColor;
    }
    TBarCaption::Assign(source);
}

void TSideBar::SetVisible(bool v)
{
    visible_ = v;
    if (auto* m = dynamic_cast<TMainMenu*>(Menu); m && m->Form()) RefreshMenu(Menu, false, true);
}

void TSideBar::SetImage(const TBackground& v)
{
    image_->Assign(v);
    RefreshMenu(Menu, true, false);
}

void TSideBar::SetBackground(const TBackground& v)
{
    background_->Assign(v);
    if (background_->HasImage()) background_->Image();  // makes a bitmap transparent
    RefreshMenu(Menu, true, false);
}

// ---------------------------------------------------------------- the styler

TCustomExMenuStyler::TCustomExMenuStyler(TComponent* AOwner)
    : TComponent(AOwner), separator_(std::make_unique<TSeparator>()), background_(std::make_unique<TBackground>()),
      font_(SystemMenuFont()), iconBar_(std::make_unique<TIconBar>()), glyphs_(std::make_unique<TMenuGlyphs>()),
      rootItem_(std::make_unique<TRootItem>()), selectedItem_(std::make_unique<TSelectedItem>()),
      sideBar_(std::make_unique<TSideBar>())
{
}

TCustomExMenuStyler::~TCustomExMenuStyler() = default;

void TCustomExMenuStyler::Assign(const TPersistent& source)
{
    auto* s = dynamic_cast<const TExMenuStyler*>(&source);
    if (!s) CannotAssign(source, *this);
    auto* src = const_cast<TExMenuStyler*>(s);
    SetBackground(src->Background());
    SetIconBar(src->IconBar());
    SetSelectedItem(src->SelectedItem());
    SetRootItem(src->RootItem());
    SetGlyphs(src->Glyphs());
    SetSideBar(src->SideBar());
    SetSeparator(src->Separator());
    font_->Assign(src->Font());
    useSystemFont_ = src->UseSystemFont();
}

void TCustomExMenuStyler::SetBackground(const TBackground& v)
{
    background_->Assign(v);
    RefreshMenu(menu_, false, false);
}
void TCustomExMenuStyler::SetIconBar(const TIconBar& v)
{
    iconBar_->Assign(v);
    RefreshMenu(menu_, false, false);
}
void TCustomExMenuStyler::SetSelectedItem(const TSelectedItem& v)
{
    selectedItem_->Assign(v);
    RefreshMenu(menu_, false, false);
}
void TCustomExMenuStyler::SetRootItem(const TRootItem& v)
{
    rootItem_->Assign(v);
    RefreshMenu(menu_, false, false);
}
void TCustomExMenuStyler::SetGlyphs(const TMenuGlyphs& v)
{
    glyphs_->Assign(v);
    RefreshMenu(menu_, false, false);
}
void TCustomExMenuStyler::SetSideBar(const TSideBar& v)
{
    sideBar_->Assign(v);
    RefreshMenu(menu_, true, false);
}
void TCustomExMenuStyler::SetSeparator(const TSeparator& v)
{
    separator_->Assign(v);
    RefreshMenu(menu_, false, false);
}
void TCustomExMenuStyler::SetFont(const TFont& v)
{
    font_->Assign(v);
    RefreshMenu(menu_, false, true);
}
void TCustomExMenuStyler::SetUseSystemFont(bool v)
{
    useSystemFont_ = v;
    RefreshMenu(menu_, false, true);
}

void TCustomExMenuStyler::SetMenu(TMenu* menu)
{
    menu_ = menu;
    for (TGradientBar* part : {static_cast<TGradientBar*>(separator_.get()), static_cast<TGradientBar*>(background_.get()),
                               static_cast<TGradientBar*>(iconBar_.get()), static_cast<TGradientBar*>(rootItem_.get()),
                               static_cast<TGradientBar*>(selectedItem_.get())})
        part->Menu = menu;
    glyphs_->Menu = menu;
    sideBar_->Menu = menu;
    sideBar_->Image().Menu = menu;
    sideBar_->Background().Menu = menu;
    RefreshMenu(menu, false, false);
}

TBitmap* TCustomExMenuStyler::WorkBitmap()
{
    if (!work_) work_ = std::make_unique<TBitmap>();
    return work_.get();
}

void TCustomExMenuStyler::RedrawMenuBar()
{
    if (auto* m = dynamic_cast<TMainMenu*>(menu_)) m->DrawMenuBar();
}

// ---------------------------------------------------------------- office styler

namespace {

constexpr UINT WM_THEMECHANGED = 0x031A;

// The hidden window that hears of theme changes.
class TNotifierWindow : public TWinControl {
public:
    explicit TNotifierWindow(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 0, 0); }
    TNotifyEvent OnThemeChange;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_THEMECHANGED && OnThemeChange) OnThemeChange(this);
        TWinControl::WndProc(m);
    }
};

}  // namespace

TExMenuOfficeStyler::TExMenuOfficeStyler(TComponent* AOwner) : TCustomExMenuStyler(AOwner)
{
    SetStyle(osOffice2003Blue);
    auto* notifier = new TNotifierWindow(this);
    notifier->OnThemeChange = [this](TObject* sender) { ThemeChanged(sender); };
    for (TComponent* o = AOwner; o; o = o->Owner())
        if (auto* w = dynamic_cast<TWinControl*>(o)) {
            notifier->SetParent(w);
            break;
        }
    notifier_ = notifier;
}

void TExMenuOfficeStyler::Loaded()
{
    TCustomExMenuStyler::Loaded();
    ThemeChanged(this);
}

void TExMenuOfficeStyler::ThemeChanged(TObject*)
{
    if (!AutoThemeAdapt) return;
    switch (html::CurrentXPColorScheme()) {
    case 1: SetStyle(osOffice2003Blue); break;
    case 2: SetStyle(osOffice2003Olive); break;
    case 3: SetStyle(osOffice2003Silver); break;
    default: SetStyle(osOfficeXP); break;
    }
}

void TExMenuOfficeStyler::SetStyle(TOfficeStyle value)
{
    style_ = value;
    TBackground& bg = Background();
    TRootItem& root = RootItem();
    TSelectedItem& sel = SelectedItem();
    TIconBar& icon = IconBar();
    TSeparator& sep = Separator();
    struct Look {
        TColor bg, bgTo, border, root, rootTo, rootSel, rootSelTo, rootSelBorder, rootHover, rootHoverTo, rootHoverBorder;
        TColor icon, iconTo, iconCheck, iconCheckBorder, sepColor;
    };
    static const Look looks[] = {
        {TColor(0xF6F6F6), TColor(0xF6F6F6), TColor(0x962D00), TColor(0xF5BE9E), TColor(0xF7CDB2), TColor(0xFFEFE3),
         TColor(0xE7B593), TColor(0x962D00), TColor(0xCFF6FF), TColor(0x9DD8FF), TColor(0x6F4B4B), TColor(0xFFEFE3),
         TColor(0xE4AD87), TColor(0x6FC0FF), TColor(0x6F4B4B), TColor(0xCB8C6A)},
        {TColor(0xF6F6F6), TColor(0xF6F6F6), TColor(0x5E8D75), TColor(0xA8D9D9), TColor(0xE4F0F2), TColor(0xD5F0EC),
         TColor(0x9FCEC2), TColor(0x5E8D75), TColor(0xCFF6FF), TColor(0x9DD8FF), TColor(0x6F4B4B), TColor(0xEDFFFF),
         TColor(0x92C7B8), TColor(0x6FC0FF), TColor(0x6F4B4B), TColor(0x588060)},
        {TColor(0xF6F6F6), TColor(0xF6F6F6), TColor(0x5E8D75), TColor(0xE5D7D7), TColor(0xF7F3F3), TColor(0xF1E9E8),
         TColor(0xCDB9BA), TColor(0x947C7C), TColor(0xCFF6FF), TColor(0x9DD8FF), TColor(0x6F4B4B), TColor(0xFFF9F9),
         TColor(0xB99D9F), TColor(0x6FC0FF), TColor(0x6F4B4B), TColor(0x8F6D6E)},
        {clWindow, clWindow, TColor(0x808080), clBtnFace, clBtnFace, clBtnFace, clNone, TColor(0x7A868A),
         TColor(0xEFD3C6), clNone, TColor(0xC66931), clBtnFace, clNone, clBtnFace, clBtnFace, TColor(0x7A868A)},
    };
    const Look& l = looks[value];
    const bool xp = value == osOfficeXP;
    bg.SetColor(l.bg);
    bg.SetColorTo(l.bgTo);
    MenuBorderColor = l.border;
    root.SetColor(l.root);
    root.SetColorTo(l.rootTo);
    root.SetSelectedColor(0, l.rootSel);
    root.SetSelectedColor(1, l.rootSelTo);
    root.SelectedBorderColor = l.rootSelBorder;
    root.SetHoverColor(0, l.rootHover);
    root.SetHoverColor(1, l.rootHoverTo);
    root.HoverBorderColor = l.rootHoverBorder;
    root.HoverTextColor = clWindowText;
    if (!xp) root.GradientDirection = gdHorizontal;
    const TColor selColor = xp ? TColor(0xEFD3C6) : TColor(0xC2EEFF);
    sel.SetColor(selColor);
    sel.SetColorTo(clNone);
    sel.BorderColor = xp ? TColor(0xC66931) : TColor(0x080000);
    const TColor selCheck = xp ? TColor(0xEFD3C6) : TColor(0x3E80FE);
    sel.SetCheckColor(0, selCheck);
    sel.SetCheckColor(1, clNone);
    sel.SetRadioColor(0, selCheck);
    sel.SetRadioColor(1, clNone);
    if (xp) {
        sel.CheckBorder = TColor(0xEFD3C6);
        sel.RadioBorder = TColor(0xEFD3C6);
    }
    icon.SetColor(l.icon);
    icon.SetColorTo(l.iconTo);
    icon.SetSize(24);
    icon.SetCheckColor(0, l.iconCheck);
    icon.SetCheckColor(1, clNone);
    icon.CheckBorder = l.iconCheckBorder;
    if (!xp) {
        icon.SetRadioColor(0, TColor(0x6FC0FF));
        icon.SetRadioColor(1, clNone);
        icon.RadioBorder = TColor(0x6F4B4B);
    }
    sep.SetColor(l.sepColor);
    sep.SetColorTo(clNone);
    RedrawMenuBar();
}

// ---------------------------------------------------------------- fantasy styler

TExMenuFantasyStyler::TExMenuFantasyStyler(TComponent* AOwner) : TCustomExMenuStyler(AOwner) { SetStyle(fsChocolate); }

void TExMenuFantasyStyler::SetStyle(TFantasyStyle value)
{
    style_ = value;
    constexpr TColor N = clNone;
    constexpr TGradientDirection v = gdVertical, h = gdHorizontal;
    // One look: colours as colour and colour-to, directions, fonts as colour, size, style.
    struct Look {
        TColor bg, bgTo;
        TGradientDirection bgDir;
        TColor border, fontColor;
        TColor bar, barTo;
        TGradientDirection barDir;
        TColor barFont;
        int barSize;
        TFontStyles barStyle;
        TColor barSel, barSelTo, barSelBorder, barSelText;
        TColor barHover, barHoverTo, barHoverBorder, barHoverText;
        TColor sel, selTo;
        TGradientDirection selDir;
        TColor selBorder, selFont;
        TFontStyles selStyle;
        TColor selCheck, selCheckTo, selCheckBorder;
        int selCheckDir;  // -1: unchanged
        TColor icon, iconTo, iconCheck, iconCheckTo, iconCheckBorder;
        int iconDirs;  // -1: unchanged
        TColor sepColor, sepTo;
        int sepDir;  // -1: unchanged
    };
    static const Look looks[] = {
        // fsArctic
        {clWindow, N, h, TColor(0xC0C0C0), TColor(0xC0C0C0), TColor(0xFFFFFF), clInactiveCaptionText, v, TColor(0xC0C0C0), 8,
         0, clInactiveCaptionText, TColor(0xFFFFFF), TColor(0xC0C0C0), TColor(0x808080), N, N, N, TColor(0x808080),
         TColor(0xFFFFFF), clInactiveCaptionText, v, TColor(0xC0C0C0), TColor(0x808080), 0, TColor(0xC0C0C0),
         TColor(0xFFFFFF), TColor(0xC0C0C0), -1, TColor(0xEFEFEF), TColor(0xFFFFFF), N, N, TColor(0xC0C0C0), -1,
         TColor(0xC0C0C0), TColor(0xFFFFFF), h},
        // fsAquaBlue
        {TColor(0xFFFFFF), TColor(0xFFFFFF), h, N, TColor(0x26B0FB), TColor(0xD08130), TColor(0xFEF17E), h,
         TColor(0xFFFFFF), 8, 0, TColor(0xE6E0B0), TColor(0xF9FFBF), N, TColor(0x0080FF), TColor(0xE6E0B0),
         TColor(0xF9FFBF), N, TColor(0xD08130), TColor(0xFEF17E), TColor(0xD08130), v, TColor(0xD08130), TColor(0xFFFFFF),
         fsBold, N, N, TColor(0xD08130), h, TColor(0xE6E0B0), TColor(0xFFFFFF), TColor(0xA7EDFF), TColor(0xFFFFFF), N, h,
         TColor(0xE6E0B0), TColor(0xE6E0B0), h},
        // fsChocolate
        {clWindow, clBtnFace, h, TColor(0x808080), TColor(0x000080), clBtnFace, TColor(0xFFFFFF), v, TColor(0x000080), 8, 0,
         clBtnFace, TColor(0xFFFFFF), TColor(0x7A868A), TColor(0x7A868A), TColor(0xD9FFFF), TColor(0xC1FFFE),
         TColor(0x94CCCB), TColor(0x000080), TColor(0xC1FFFE), TColor(0xD9FFFF), h, TColor(0x94CCCB), TColor(0x7A868A), 0,
         TColor(0x3E80FE), N, TColor(0x6F4B4B), -1, TColor(0xD7EDED), TColor(0x8AC2C1), TColor(0x6FC0FF), N,
         TColor(0x6F4B4B), -1, TColor(0x7A868A), N, -1},
        // fsMacOS
        {TColor(0xFFFFFF), TColor(0xF3F3F3), v, TColor(0x808080), TColor(0), TColor(0xFFFFFF), TColor(0xF3F3F3), v,
         TColor(0), 8, 0, TColor(0xF19546), TColor(0xC34907), N, TColor(0xFFFFFF), TColor(0xC0C0C0), TColor(0xBBBBBB), N,
         TColor(0), TColor(0xF19546), TColor(0xC34907), v, N, TColor(0xFFFFFF), 0, TColor(0xF3F3F3), TColor(0xBBBBBB), N,
         v, TColor(0xF3F3F3), TColor(0xFFFFFF), N, N, N, -1, TColor(0xFFFFFF), TColor(0xFFFFFF), -1},
        // fsSilverFox
        {TColor(0xD1C9C8), TColor(0xD1C9C8), v, TColor(0x666666), TColor(0), TColor(0xFFFFFF), TColor(0xC5BAB7), v,
         TColor(0), 8, 0, TColor(0xF1F3F4), N, TColor(0x666666), TColor(0), TColor(0xD2BDB5), N, TColor(0x6A240A),
         TColor(0x0000B0), TColor(0xD2BDB5), N, v, TColor(0x6A240A), TColor(0x0000B0), 0, N, N, N, -1, TColor(0xFFFFFF),
         TColor(0xE4DCDA), N, N, N, -1, TColor(0xA6A6A6), N, h},
        // fsSoftSand
        {TColor(0xE7F7FF), N, h, TColor(0), TColor(0x808080), TColor(0xE7F7FF), TColor(0xFFFFFF), h, TColor(0x808080), 8, 0,
         TColor(0xE7F7FF), N, TColor(0), TColor(0x0884BD), TColor(0xE7F7FF), N, N, TColor(0x0884BD), TColor(0xB5DEF7),
         TColor(0xE7F7FF), h, N, TColor(0x0884BD), 0, N, N, N, -1, TColor(0xB5DEF7), N, N, N, N, -1, TColor(0x0884BD),
         TColor(0x0884BD), -1},
        // fsTerminalGreen
        {clWindow, N, h, TColor(0x00C000), TColor(0x008000), TColor(0xF7FFF7), N, v, TColor(0), 8, 0, TColor(0x00C000), N,
         TColor(0x00C000), TColor(0), TColor(0xF7FFF7), N, N, TColor(0x00C000), TColor(0xF7FFF7), N, v, TColor(0x00C000),
         TColor(0x008000), 0, N, N, N, -1, TColor(0x00A000), N, TColor(0x00C000), N, N, -1, TColor(0x00C000), N, -1},
        // fsTextured
        {N, N, v, TColor(0x0000B0), TColor(0xFFFFFF), TColor(0xCFD5F3), TColor(0xCFD5F3), v, TColor(0), 10,
         fsBold | fsItalic, N, N, TColor(0x0000B0), TColor(0x0000B0), N, N, TColor(0x0000B0), TColor(0), N, N, v,
         TColor(0x0000FF), TColor(0x0000FF), fsBold, N, N, N, -1, TColor(0xCFD5F3), TColor(0xCFD5F3), N, N, N, -1,
         TColor(0xFFFFFF), N, h},
        // fsWindowsClassic
        {clMenu, clMenu, h, TColor(0), TColor(0), clMenu, N, v, TColor(0), 8, 0, TColor(0xA1684A), N, N, TColor(0xFFFFFF),
         TColor(0xA1684A), N, N, TColor(0xFFFFFF), TColor(0xA1684A), N, h, N, TColor(0xFFFFFF), 0, N, N, N, -1, clMenu, N,
         N, N, N, -1, TColor(0), N, -1},
    };
    const Look& l = looks[value];
    TBackground& bg = Background();
    bg.SetColor(l.bg);
    bg.SetColorTo(l.bgTo);
    bg.GradientDirection = l.bgDir;
    if (value == fsTextured) {
        auto tile = MenuTexture();
        TPicture p;
        p.SetGraphic(tile.get());
        bg.SetImage(&p);
        bg.Position = bpTiled;
    } else {
        bg.SetImage(nullptr);
    }
    MenuBorderColor = l.border;
    Font().SetColor(l.fontColor);
    TRootItem& root = RootItem();
    root.SetColor(l.bar);
    root.SetColorTo(l.barTo);
    root.GradientDirection = l.barDir;
    root.Font().SetColor(l.barFont);
    root.Font().SetSize(l.barSize);
    root.Font().SetStyle(l.barStyle);
    root.SetSelectedColor(0, l.barSel);
    root.SetSelectedColor(1, l.barSelTo);
    root.SelectedBorderColor = l.barSelBorder;
    root.SelectedTextColor = l.barSelText;
    root.SetHoverColor(0, l.barHover);
    root.SetHoverColor(1, l.barHoverTo);
    root.HoverBorderColor = l.barHoverBorder;
    root.HoverTextColor = l.barHoverText;
    TSelectedItem& sel = SelectedItem();
    sel.SetColor(l.sel);
    sel.SetColorTo(l.selTo);
    sel.GradientDirection = l.selDir;
    sel.BorderColor = l.selBorder;
    sel.Font().SetColor(l.selFont);
    sel.Font().SetStyle(l.selStyle);
    sel.SetUseSystemFont(false);
    sel.SetCheckColor(0, l.selCheck);
    sel.SetCheckColor(1, l.selCheckTo);
    sel.SetRadioColor(0, l.selCheck);
    sel.SetRadioColor(1, l.selCheckTo);
    sel.CheckBorder = l.selCheckBorder;
    sel.RadioBorder = l.selCheckBorder;
    if (l.selCheckDir >= 0) {
        sel.CheckGradientDirection = TGradientDirection(l.selCheckDir);
        if (value == fsMacOS) sel.RadioGradientDirection = TGradientDirection(l.selCheckDir);
    }
    TIconBar& icon = IconBar();
    icon.SetColor(l.icon);
    icon.SetColorTo(l.iconTo);
    icon.SetCheckColor(0, l.iconCheck);
    icon.SetCheckColor(1, l.iconCheckTo);
    icon.SetRadioColor(0, l.iconCheck);
    icon.SetRadioColor(1, l.iconCheckTo);
    icon.CheckBorder = l.iconCheckBorder;
    icon.RadioBorder = l.iconCheckBorder;
    if (l.iconDirs >= 0) {
        icon.CheckGradientDirection = TGradientDirection(l.iconDirs);
        icon.RadioGradientDirection = TGradientDirection(l.iconDirs);
    }
    icon.SetSize(24);
    TSeparator& sep = Separator();
    sep.SetColor(l.sepColor);
    sep.SetColorTo(l.sepTo);
    if (l.sepDir >= 0) sep.GradientDirection = TGradientDirection(l.sepDir);
    TSideBar& side = SideBar();
    if (value == fsWindowsClassic) {
        side.Caption = "Korvelo Menus";
        side.Image().SetColor(TColor(0xEDC6A9));
        side.Image().SetColorTo(TColor(0x6A240A));
        side.Background().GradientDirection = gdHorizontal;
        side.Font().SetColor(TColor(0xFFFFFF));
        side.SetVisible(true);
    } else {
        side.SetVisible(false);
    }
    RedrawMenuBar();
}

}  // namespace frame

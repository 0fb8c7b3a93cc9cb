#include "widgets/flat/Selector.h"

#include <algorithm>

#include "platform/graphics/GDI.h"
#include "platform/graphics/ImageList.h"
#include "widgets/flat/FlatUtils.h"
#include "widgets/html/ThemeApi.h"
#include "widgets/html/VersionText.h"

namespace flat {

using namespace platform;

namespace {
constexpr UINT WM_THEMECHANGED = 0x031A;
constexpr int kArrowPart = 12;
}  // namespace

TExCustomSelector::TExCustomSelector(TComponent* AOwner)
    : TCustomControl(AOwner), glyph_(std::make_unique<TBitmap>()), glyphHot_(std::make_unique<TBitmap>()),
      glyphDown_(std::make_unique<TBitmap>()), tools_(this)
{
    // OnClick belongs to the main part of a split button only.
    ControlStyle &= ~unsigned(csClickEvents);
    SetBounds(0, 0, 22, 23);
    for (TBitmap* b : {glyph_.get(), glyphHot_.get(), glyphDown_.get()}) b->OnChange = [this](TObject*) { Invalidate(); };
    window_ = new TSelectorDropDownWindow(this, 0);
    window_->OnHide = [this](TObject*) {
        state_ = absUp;
        Invalidate();
    };
    SetAppearanceStyle(esOffice2003Classic);
}

TExCustomSelector::~TExCustomSelector() = default;

std::string TExCustomSelector::Version() const { return html::VersionText(GetVersionNr()); }

void TExCustomSelector::SetStyle(TExSelectorStyle v)
{
    style_ = v;
    Invalidate();
}

void TExCustomSelector::SetDropDownButton(bool v)
{
    dropDownButton_ = v;
    Invalidate();
}

void TExCustomSelector::SetFlat(bool v)
{
    flat_ = v;
    Invalidate();
}

void TExCustomSelector::SetImages(TImageList* v)
{
    images_ = v;
    if (v) v->FreeNotification(this);
    Invalidate();
}

void TExCustomSelector::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

void TExCustomSelector::SetSelectedIndex(int v)
{
    recordedIndex_ = v;
    if (v < tools_.Count()) {
        selectedIndex_ = v;
        Invalidate();
    }
}

void TExCustomSelector::SetButtonsPerRow(int v) { buttonsPerRow_ = std::clamp(v, 1, 16); }

void TExCustomSelector::Loaded()
{
    TCustomControl::Loaded();
    if (autoThemeAdapt_) ThemeAdapt();
    SetSelectedIndex(recordedIndex_);
}

void TExCustomSelector::SetAutoThemeAdapt(bool v)
{
    autoThemeAdapt_ = v;
    if (v) ThemeAdapt();
}

void TExCustomSelector::ThemeAdapt()
{
    switch (html::CurrentXPColorScheme(html::XPColorSchemeTest::NoVersionCheck)) {
    case 1: SetAppearanceStyle(esOffice2003Blue); break;
    case 2: SetAppearanceStyle(esOffice2003Olive); break;
    case 3: SetAppearanceStyle(esOffice2003Silver); break;
    default: SetAppearanceStyle(esOffice2003Classic); break;
    }
}

void TExCustomSelector::SetAppearanceStyle(TExAppearanceStyle s)
{
    appearanceStyle_ = s;
    static const struct {
        TColor color, colorTo, borderDropDown;
    } faces[] = {{0xFDEADA, 0xE4AE88, 0x962D00}, {0xECE2E1, 0xB39698, 0x947C7C}, {0xCFF0EA, 0x8CC0B1, 0x5E8D75}};
    if (s == esOffice2003Classic) {
        SetColor(clBtnFace);
        ColorTo = clNone;
        BorderDropDownColor = 0x808080;
        ColorSelected = 0xDED7D6;
        ColorDown = 0xB59584;
        ColorDownTo = clNone;
        ColorHot = 0xD6BEB5;
        ColorHotTo = clNone;
        PanelColorHot = 0xD6BEB5;
        PanelColorDown = 0xDED7D6;
    } else {
        SetColor(faces[s].color);
        ColorTo = faces[s].colorTo;
        BorderDropDownColor = faces[s].borderDropDown;
        ColorSelected = 0x71BFFF;
        ColorDown = 0x087FE8;
        ColorDownTo = 0x7CDAF7;
        ColorHot = 0xDCFFFF;
        ColorHotTo = 0x5BC0F7;
        PanelColorHot = 0xC2EEFF;
        PanelColorDown = 0x6FC0FF;
    }
    ColorSelectedTo = PanelColorHotTo = PanelColorDownTo = clNone;
    BorderColor = clNone;
    BorderHotColor = 0x000000;
    Invalidate();
}

void TExCustomSelector::WndProc(TMessage& m)
{
    if (autoThemeAdapt_ && (m.Msg == WM_THEMECHANGED || m.Msg == CM_SYSFONTCHANGED)) ThemeAdapt();
    TCustomControl::WndProc(m);
}

// ---------------------------------------------------------------- face

void TExCustomSelector::Paint()
{
    if (style_ == ssCombo) {
        PaintComboFace();
        return;
    }
    Canvas()->Font().Assign(*Font());
    if (flat_) PaintButtonFace();
}

void TExCustomSelector::DrawArrow(const TRect& A)
{
    TCanvas* c = Canvas();
    const int x = A.Left + 1 + (A.Width() - 5) / 2, y = A.Top + 1 + (A.Height() - 3) / 2;
    c->Pen().SetColor(clBlack);
    c->MoveTo(x, y);
    c->LineTo(x + 5, y);
    c->MoveTo(x + 1, y + 1);
    c->LineTo(x + 4, y + 1);
    c->SetPixel(x + 2, y + 2, clBlack);
}

void TExCustomSelector::PaintButtonFace()
{
    TCanvas* c = Canvas();
    const TRect F = Rect(0, 0, Width(), Height());
    const TRect A = dropDownButton_ ? Rect(F.Right - kArrowPart, F.Top, F.Right, F.Bottom) : TRect{};
    const TRect K = dropDownButton_ ? Rect(F.Left, F.Top, A.Left, F.Bottom) : F;
    auto frame = [&](const TRect& r, TColor color) {
        if (color == clNone) return;
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(color);
        c->FrameRect(r);
        c->Brush().SetStyle(bsClear);
    };
    auto separator = [&] {
        c->MoveTo(A.Left, F.Top);
        c->LineTo(A.Left, F.Bottom);
        DrawArrow(A);
    };
    if (state_ == absDropDown) {
        FillGradient(c, Color(), ColorTo, false, F, 16);
        frame(F, BorderDropDownColor);
        DrawGlyphAndCaption(glyph_.get(), K);
        if (dropDownButton_) DrawArrow(A);
    } else if (!mouseIn_) {
        FillGradient(c, Color(), ColorTo, false, F, 16);
        frame(F, BorderColor);
        DrawGlyphAndCaption(glyph_.get(), K);
        if (dropDownButton_) separator();
    } else if (mouseDown_) {
        if (dropDownButton_) {
            FillGradient(c, ColorHot, ColorHotTo, false, F, 16);
            frame(F, BorderHotColor);
            separator();
        }
        FillGradient(c, ColorDown, ColorDownTo, false, K, 16);
        frame(F, BorderDownColor);
        DrawGlyphAndCaption(glyphDown_->Empty() ? glyph_.get() : glyphDown_.get(), K);
    } else {
        FillGradient(c, ColorHot, ColorHotTo, false, F, 16);
        frame(F, BorderHotColor);
        DrawGlyphAndCaption(glyphHot_->Empty() ? glyph_.get() : glyphHot_.get(), K);
        if (dropDownButton_) separator();
    }
}

void TExCustomSelector::PaintComboFace()
{
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    const TRect F = Rect(0, 0, Width(), Height());
    const TRect B = Rect(F.Right - 13, F.Top + 1, F.Right - 1, F.Bottom - 1);
    const TRect K = Rect(F.Left, F.Top, B.Left, F.Bottom);
    auto frame = [&](TColor color) {
        if (color == clNone) return;
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(color);
        c->FrameRect(F);
        c->Brush().SetStyle(bsClear);
        c->Pen().SetColor(color);
        c->MoveTo(B.Left, F.Top);
        c->LineTo(B.Left, F.Bottom);
    };
    c->Pen().SetColor(clWhite);
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(clWhite);
    c->Rectangle(F);
    if (state_ == absDropDown) {
        FillGradient(c, ColorDown, ColorDownTo, false, B, 16);
        frame(BorderDownColor);
        DrawGlyphAndCaption(glyph_.get(), K);
    } else if (!mouseIn_) {
        FillGradient(c, Color(), ColorTo, false, Rect(B.Left, B.Top, B.Right, B.Bottom - 1), 16);
        frame(BorderColor);
        DrawGlyphAndCaption(glyph_.get(), K);
    } else {
        // Pressed with the list closed looks as hot does.
        FillGradient(c, ColorHot, ColorHotTo, false, B, 16);
        frame(BorderHotColor);
        DrawGlyphAndCaption(glyphHot_->Empty() ? glyph_.get() : glyphHot_.get(), K);
    }
    DrawArrow(B);
}

int TExCustomSelector::DrawGlyph(TBitmap* Bitmap, TRect R)
{
    if (!Bitmap || Bitmap->Empty()) return 0;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    const int y = (R.Height() - h) / 2;
    const int x = Caption().empty() ? (R.Width() - w) / 2 : 2;
    if (w >= R.Width()) return 0;
    DrawTransparentBmp(Canvas(), x, y, Bitmap, Bitmap->TransparentColor());
    return x + w + 2;
}

void TExCustomSelector::DrawSelectedImage(TRect R, bool magentaBack)
{
    if (!images_ || selectedIndex_ < 0 || selectedIndex_ >= tools_.Count()) return;
    TBitmap image(images_->Width(), images_->Height());
    image.Canvas()->Brush().SetColor(magentaBack ? TColor(0xFF00FF) : Color());
    image.Canvas()->FillRect(Rect(0, 0, image.Width(), image.Height()));
    images_->Draw(image.Canvas(), 0, 0, tools_.Items(selectedIndex_)->ImageIndex);
    image.SetTransparentMode(platform::tmAuto);
    image.SetTransparent(true);
    InflateRect(R, -2, -2);
    Canvas()->StretchDraw(R, &image);
}

void TExCustomSelector::DrawGlyphAndCaption(TBitmap* Bitmap, TRect R)
{
    TCanvas* c = Canvas();
    if (style_ == ssCombo) {
        if (selectedIndex_ >= 0 && selectedIndex_ < tools_.Count() && Caption().empty() && images_ &&
            tools_.Items(selectedIndex_)->ImageIndex >= 0)
            DrawSelectedImage(R, false);
        return;
    }
    if ((!Bitmap || Bitmap->Empty()) && Caption().empty() && selectedIndex_ >= 0 && images_) DrawSelectedImage(R, true);
    TRect text = R;
    if (Bitmap && !Bitmap->Empty()) text.Left = DrawGlyph(Bitmap, R);
    if (!Caption().empty()) {
        c->Brush().SetStyle(bsClear);
        DrawText(c->Handle(), Caption(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
}

// ---------------------------------------------------------------- mouse and keys

void TExCustomSelector::CMMouseEnter(TMessage& m)
{
    TCustomControl::CMMouseEnter(m);
    if (flat_ && !mouseIn_ && Enabled() && !GetCaptureControl()) {
        mouseIn_ = true;
        Invalidate();
    }
    if (OnMouseEnter) OnMouseEnter(this);
}

void TExCustomSelector::CMMouseLeave(TMessage& m)
{
    TCustomControl::CMMouseLeave(m);
    if (flat_ && mouseIn_ && Enabled()) {
        mouseIn_ = false;
        Invalidate();
    }
    if (OnMouseLeave) OnMouseLeave(this);
}

void TExCustomSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    mouseDown_ = true;
    if (style_ == ssButton) {
        if (dropDownButton_ && X > Width() - kArrowPart)
            PopupBtnDown();
        else
            ButtonDown();
    } else {
        PopupBtnDown();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TExCustomSelector::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    mouseDown_ = false;
    if (dropDownButton_ && style_ == ssButton && X < Width() - 8) Click();
    Invalidate();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TExCustomSelector::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_F2) DoDropDown();
    // Escape closes an open drop-down from the button as well.
    if (Key == VK_ESCAPE && window_ && window_->Visible()) HideDropDown();
}

void TExCustomSelector::CMFontChanged(TMessage& m)
{
    TCustomControl::CMFontChanged(m);
    Invalidate();
}

void TExCustomSelector::CMTextChanged(TMessage& m)
{
    TCustomControl::CMTextChanged(m);
    Invalidate();
}

void TExCustomSelector::PopupBtnDown() { DoDropDown(); }

void TExCustomSelector::ButtonDown()
{
    if (!dropDownButton_) {
        DoDropDown();
        return;
    }
    if (OnSelect) {
        TExSelectorPanel* p = GeneralPanel();
        if (!p) {
            OnSelect(this, -1, nullptr);
        } else {
            const int i = p->ItemIndex();
            OnSelect(this, i, i >= 0 && i < tools_.Count() ? tools_.Items(i) : nullptr);
        }
    }
    Invalidate();
}

// ---------------------------------------------------------------- drop-down

void TExCustomSelector::DoDropDown()
{
    if (!window_) return;
    if (window_->Visible()) {
        HideDropDown();
        return;
    }
    SetSelectorPanel();
    window_->SetWindowSize();
    const TRect work = Screen ? Screen->WorkAreaRect() : Rect(0, 0, 800, 600);
    const TPoint p = ClientToScreen(Point(0, Height()));
    if (window_->Height() + p.Y + 2 < work.Bottom) {
        window_->SetBounds(p.X, p.Y - 1, window_->Width(), window_->Height());
        window_->ShownAbove = false;
    } else {
        window_->SetBounds(p.X, p.Y - Height() - window_->Height() + 1, window_->Width(), window_->Height());
        window_->ShownAbove = true;
    }
    window_->Combo = style_ == ssCombo;
    state_ = absDropDown;
    window_->Show();
    Invalidate();
}

void TExCustomSelector::HideDropDown()
{
    if (window_) window_->Hide();
}

void TExCustomSelector::SetSelectorPanel()
{
    if (!window_) return;
    if (!generalPanel_) {
        generalPanel_ = new TExSelectorPanel(window_);
        generalPanel_->SetParent(window_);
    }
    TExSelectorPanel* p = generalPanel_;
    p->WindowBorderColor = BorderDropDownColor;
    p->OnShouldHide = [this](TObject*) { HideDropDown(); };
    p->OnSelect = [this](TObject*) { PanelSelect(); };
    p->OnHotTool = [this](TObject*, int h) {
        if (OnHotTool) OnHotTool(this, h);
    };
    if (OnDrawTool)
        p->OnDrawItem = [this, p](TObject*, int i, TRect R) { OnDrawTool(this, p->Canvas(), i, R); };
    else
        p->OnDrawItem = nullptr;
    p->SetColor(ColorDropDown);
    p->ColorTo = ColorDropDownTo;
    p->BorderColor = BorderColor;
    p->BorderDownColor = BorderDownColor;
    p->BorderHotColor = BorderHotColor;
    p->BorderSelectedColor = PanelBorderSelectedColor;
    p->ColorDown = PanelColorDown;
    p->ColorDownTo = PanelColorDownTo;
    p->ColorHot = PanelColorHot;
    p->ColorHotTo = PanelColorHotTo;
    p->ColorSelected = ColorSelected;
    p->ColorSelectedTo = ColorSelectedTo;
    p->Images = images_;
    p->Items().Clear();
    for (int i = 0; i < tools_.Count(); ++i) {
        const TExSelectorItem* t = tools_.Items(i);
        TExSelectorItem* item = p->Items().Add();
        item->Caption = t->Caption;
        item->CaptionAlignment = t->CaptionAlignment;
        item->ImageIndex = t->ImageIndex;
        item->Hint = t->Hint;
        item->Value = t->Value;
        item->Enable = t->Enable;
        item->ItemType = t->ItemType;
        item->BackGroundColor = t->BackGroundColor;
    }
    p->SetItemIndex(-1);
    p->SetItemIndex(selectedIndex_);
    p->ButtonsPerRow = buttonsPerRow_;
    p->SetItemsPosition();
    SetPanel(p);
}

void TExCustomSelector::SetPanel(TExCustomSelectorPanel* p)
{
    // One panel shows in the window at a time.
    for (int i = 0; i < window_->ControlCount(); ++i)
        if (auto* other = dynamic_cast<TExCustomSelectorPanel*>(window_->Controls(i)); other && other != p)
            other->Hide();
    panel_ = p;
    window_->SelectorPanel = p;
    p->SetLeft(0);
    p->SetTop(0);
    p->Show();
}

void TExCustomSelector::PanelSelect()
{
    if (TExSelectorPanel* p = GeneralPanel()) selectedIndex_ = recordedIndex_ = p->ItemIndex();
    OnToolSelect();
}

void TExCustomSelector::OnToolSelect()
{
    TExSelectorPanel* p = GeneralPanel();
    if (!OnSelect || !p) return;
    const int i = p->ItemIndex();
    OnSelect(this, i, i >= 0 && i < tools_.Count() ? tools_.Items(i) : nullptr);
}

}  // namespace flat

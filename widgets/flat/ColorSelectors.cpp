#include "widgets/flat/ColorSelectors.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "platform/controls/ExtCtrls.h"
#include "platform/graphics/GDI.h"
#include "platform/system/Cursors.h"
#include "widgets/flat/HslUtils.h"

namespace flat {

using namespace platform;

namespace {

const TColor kCubeColors[TExColorCubePanel::CellCount] = {
    0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000,
    0x666600, 0x996600, 0xCC9900, 0xCC6600, 0xCC3300, 0xFF0000, 0xFF3333, 0x993333,
    0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633, 0xCC3333, 0x996666,
    0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066, 0xCC0066,
    0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399, 0xFF0099,
    0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC, 0xFF00CC,
    0xCC0099,
    0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF, 0xFF00FF,
    0xCC00CC, 0x660066,
    0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC33FF, 0x9900CC,
    0x800080,
    0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9933CC, 0x990099,
    0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF, 0x807CFF, 0x6600FF, 0x9300D6, 0x663399,
    0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF, 0x6600CC, 0x330066,
    0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099,
    0x003366, 0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5};

void PutLE(std::string& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) out += char((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string EyedropperCursorData()
{
    // 32 x 32, one bit per pixel: a pipette from the tip at the bottom left to its bulb at
    // the top right, black outline, white glass.
    constexpr int N = 32;
    enum Pixel { clear, black, white };
    Pixel px[N][N] = {};
    auto put = [&](int x, int y, Pixel p) {
        if (x >= 0 && y >= 0 && x < N && y < N && !(p == white && px[y][x] == black)) px[y][x] = p;
    };
    for (int k = 0; k <= 20; ++k) {  // the glass: a diagonal band
        const int x = 1 + k, y = 30 - k;
        for (int d = -2; d <= 2; ++d) {
            const Pixel p = std::abs(d) == 2 || k == 0 ? black : white;
            put(x + d, y + d, p);
            if (d < 2) put(x + d + 1, y + d, p == black && d == -2 ? black : white);
        }
    }
    for (int y = 0; y < 14; ++y)  // the bulb
        for (int x = 18; x < N; ++x) {
            const double r = std::hypot(x - 25.5, y - 6.5);
            if (r <= 5.5) px[y][x] = black;
        }
    put(1, 30, black);
    // Outline: clear pixels that touch the glass turn black.
    Pixel outline[N][N];
    std::copy(&px[0][0], &px[0][0] + N * N, &outline[0][0]);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            if (px[y][x] != clear) continue;
            for (auto [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < N && ny < N && px[ny][nx] == white) outline[y][x] = black;
            }
        }
    std::copy(&outline[0][0], &outline[0][0] + N * N, &px[0][0]);
    std::string bits;
    for (int y = N - 1; y >= 0; --y)  // XOR mask, bottom row first: white pixels set
        for (int byte = 0; byte < N / 8; ++byte) {
            int v = 0;
            for (int b = 0; b < 8; ++b) v |= (px[y][byte * 8 + b] == white) << (7 - b);
            bits += char(v);
        }
    for (int y = N - 1; y >= 0; --y)  // AND mask: set where the cursor is clear
        for (int byte = 0; byte < N / 8; ++byte) {
            int v = 0;
            for (int b = 0; b < 8; ++b) v |= (px[y][byte * 8 + b] == clear) << (7 - b);
            bits += char(v);
        }
    std::string image;
    PutLE(image, 40, 4);
    PutLE(image, N, 4);
    PutLE(image, 2 * N, 4);
    PutLE(image, 1, 2);
    PutLE(image, 1, 2);
    for (int i = 0; i < 6; ++i) PutLE(image, 0, 4);
    PutLE(image, 0x000000, 4);  // palette: black, white
    PutLE(image, 0xFFFFFF, 4);
    image += bits;
    std::string cur;
    PutLE(cur, 0, 2);
    PutLE(cur, 2, 2);
    PutLE(cur, 1, 2);
    cur += char(N);
    cur += char(N);
    cur += char(0);
    cur += char(0);
    PutLE(cur, 1, 2);   // hot spot: the tip
    PutLE(cur, 30, 2);
    PutLE(cur, std::uint32_t(image.size()), 4);
    PutLE(cur, 6 + 16, 4);
    return cur + image;
}

TCursor EyedropperCursor()
{
    static bool registered = false;
    if (!registered) {
        std::string data;
        if (!FindResourceData(HInstance(), RT_CURSOR, "EYEDROPPER", data))
            RegisterResource(HInstance(), RT_CURSOR, "EYEDROPPER", EyedropperCursorData());
        if (const HCURSOR h = LoadCursor(HInstance(), "EYEDROPPER")) SetCursorHandle(crEyedropper, h);
        registered = true;
    }
    return crEyedropper;
}

void DrawHexagon(TCanvas* canvas, TPoint c, int w, int h)
{
    const TPoint pts[] = {{c.X - w, c.Y - h}, {c.X, c.Y - 2 * h}, {c.X + w, c.Y - h},
                          {c.X + w, c.Y + h}, {c.X, c.Y + 2 * h}, {c.X - w, c.Y + h}};
    canvas->Polygon(pts, 6);
}

// ---------------------------------------------------------------- colour cube

TExColorCubePanel::TExColorCubePanel(TComponent* AOwner) : TExCustomSelectorPanel(AOwner)
{
    Initialize();
    SetShowRGBHint(true);
    SetBounds(0, 0, 182, 160);
}

void TExColorCubePanel::Initialize()
{
    W_ = 6;
    H_ = 3;
    int n = 0;
    for (int r = 1; r <= 13; ++r) {
        const int count = r <= 7 ? 6 + r : 20 - r;
        const int x0 = r <= 7 ? 55 - 6 * (r - 1) : 19 + 6 * (r - 7);
        const int y = 20 + 10 * (r - 1);
        for (int k = 0; k < count; ++k, ++n) cells_[n] = {Point(x0 + 12 * k, y), kCubeColors[n]};
    }
}

void TExColorCubePanel::SetShowRGBHint(bool v)
{
    showRGBHint_ = v;
    SetShowHint(v);
}

void TExColorCubePanel::SetSelectedIndexAndColor(TColor c, int i)
{
    selectedColor_ = c;
    if (i >= 1 && i <= CellCount) {
        selected_ = i;
        return;
    }
    selected_ = -1;
    for (int k = 1; k <= CellCount; ++k)
        if (Cell(k).Color == c) {
            selected_ = k;
            break;
        }
}

void TExColorCubePanel::SetItemsPosition()
{
    hot_ = -1;
    SetBounds(Left(), Top(), 182, 160);
}

bool TExColorCubePanel::PtInCell(int i, TPoint p) const
{
    const TPoint c = Cell(i).Center;
    const int dx = p.X - c.X, dy = p.Y - c.Y;
    return dx * dx + dy * dy <= W_ * W_;
}

int TExColorCubePanel::IndexOfCellAt(int X, int Y) const
{
    for (int i = 1; i <= CellCount; ++i)
        if (PtInCell(i, Point(X, Y))) return i;
    return -1;
}

void TExColorCubePanel::DrawColorCube(int i)
{
    if (i < 1 || i > CellCount) return;
    TCanvas* c = Canvas();
    const TColorCubeCell& cell = Cell(i);
    c->Pen().SetColor(cell.Color);
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(cell.Color);
    DrawHexagon(c, cell.Center, W_, H_);
    auto border = [&](TColor outer) {
        c->Brush().SetStyle(bsClear);
        c->Pen().SetColor(outer);
        DrawHexagon(c, cell.Center, 5, 3);
        c->Pen().SetColor(clWhite);
        DrawHexagon(c, cell.Center, 4, 2);
        c->Brush().SetStyle(bsSolid);
    };
    if (i == hot_) border(clRed);
    if (i == selected_) border(clBlack);
}

void TExColorCubePanel::DrawAllColorCube()
{
    for (int i = 1; i <= CellCount; ++i) DrawColorCube(i);
}

void TExColorCubePanel::Paint()
{
    TExCustomSelectorPanel::Paint();
    DrawAllColorCube();
}

void TExColorCubePanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TExCustomSelectorPanel::MouseMove(Shift, X, Y);
    const int cell = IndexOfCellAt(X, Y);
    if (cell < 0) {
        if (showRGBHint_) {
            SetHint("");
            if (Application) Application->CancelHint();
        }
        return;
    }
    if (cell == hot_) return;
    const int old = hot_;
    hot_ = cell;
    DrawColorCube(old);
    DrawColorCube(cell);
    if (showRGBHint_) {
        const COLORREF rgb = ColorToRGB(Cell(cell).Color);
        char text[64];
        std::snprintf(text, sizeof text, "Red: %d,  Green: %d,  Blue: %d", GetRValue(rgb), GetGValue(rgb),
                      GetBValue(rgb));
        SetHint(text);
        if (Application) Application->CancelHint();
    }
}

void TExColorCubePanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExCustomSelectorPanel::MouseDown(Button, Shift, X, Y);
    const int cell = IndexOfCellAt(X, Y);
    if (cell < 0) return;
    const int old = selected_;
    selected_ = -1;
    DrawColorCube(old);
    SetSelectedIndexAndColor(Cell(cell).Color, cell);
    DrawColorCube(cell);
    if (OnSelect) OnSelect(this);
}

void TExColorCubePanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExCustomSelectorPanel::MouseUp(Button, Shift, X, Y);
    ShouldHide();
}

// ---------------------------------------------------------------- spectrum

void MakeSpectrum(TBitmap& b, int width, int height)
{
    b.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        const int l = HSLRange - int(double(y) * HSLRange / (height - 1) + 0.5);
        for (int x = 0; x < width; ++x)
            b.Canvas()->SetPixel(x, y, HSLRangeToRGB(x * (HSLRange - 1) / width, HSLRange, l));
    }
}

TExColorSpectrumPanel::TExColorSpectrumPanel(TComponent* AOwner)
    : TExCustomSelectorPanel(AOwner), picture_(new TImage(this))
{
    picture_->SetParent(this);
    picture_->SetBounds(0, 10, 128, 128);
    MakeSpectrum(*picture_->Picture()->Bitmap(), 128, 128);
    picture_->SetCursor(EyedropperCursor());
    picture_->OnMouseMove = [this](TObject*, TShiftState, int X, int Y) {
        TBitmap* b = picture_->Picture()->Bitmap();
        if (X < 0 || Y < 0 || X >= b->Width() || Y >= b->Height()) return;
        hotColor_ = TColor(ColorToRGB(b->Canvas()->Pixel(X, Y)));
        Invalidate();
    };
    picture_->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
        selectedColor_ = hotColor_;
        Invalidate();
        if (OnSelect) OnSelect(this);
    };
    picture_->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { ShouldHide(); };
    SetItemsPosition();
}

TExColorSpectrumPanel::~TExColorSpectrumPanel() = default;

void TExColorSpectrumPanel::SetItemsPosition()
{
    SetBounds(Left(), Top(), 150, 174);
    picture_->SetBounds((Width() - 128) / 2, 10, 128, 128);
    const int L = picture_->Left(), B = picture_->Top() + picture_->Height();
    selectedRect_ = Rect(L - 1, B + 8, L + 64 - 2, B + 28);
    hotRect_ = Rect(selectedRect_.Right + 4, B + 8, L + 128 + 1, B + 28);
    hotColor_ = clNone;
    Invalidate();
}

void TExColorSpectrumPanel::DrawSwatch(const TRect& r, TColor color)
{
    TCanvas* c = Canvas();
    c->Brush().SetStyle(bsClear);
    c->Pen().SetColor(clGray);
    c->Rectangle(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
    c->Pen().SetColor(clWhite);
    c->Brush().SetStyle(color == clNone ? bsClear : bsSolid);
    if (color != clNone) c->Brush().SetColor(color);
    c->Rectangle(r);
    c->Brush().SetStyle(bsSolid);
}

void TExColorSpectrumPanel::Paint()
{
    TExCustomSelectorPanel::Paint();
    TCanvas* c = Canvas();
    TRect p = picture_->BoundsRect();
    c->Brush().SetStyle(bsClear);
    c->Pen().SetColor(clWhite);
    c->Rectangle(p.Left - 1, p.Top - 1, p.Right + 1, p.Bottom + 1);
    c->Pen().SetColor(clGray);
    c->Rectangle(p.Left - 2, p.Top - 2, p.Right + 2, p.Bottom + 2);
    DrawSwatch(selectedRect_, selectedColor_);
    DrawSwatch(hotRect_, hotColor_);
}

void TExColorSpectrumPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExCustomSelectorPanel::MouseUp(Button, Shift, X, Y);
    ShouldHide();
}

// ---------------------------------------------------------------- the pickers

TExCustomColorSelector::TExCustomColorSelector(TComponent* AOwner) : TExCustomSelector(AOwner)
{
    SetButtonsPerRow(8);
}

TExCustomColorSelector::~TExCustomColorSelector() = default;

void TExCustomColorSelector::SetShowSelectedColor(bool v)
{
    showSelectedColor_ = v;
    Invalidate();
}

void TExCustomColorSelector::SetSelectedColor(TColor c)
{
    selectedColor_ = c;
    Invalidate();
}

void TExCustomColorSelector::OnToolSelect()
{
    if (SelectedIndex() >= 0 && SelectedIndex() < Tools().Count())
        selectedColor_ = Tools().Items(SelectedIndex())->BackGroundColor;
    Invalidate();
    TExCustomSelector::OnToolSelect();
}

void TExCustomColorSelector::SetSelectorPanel()
{
    TSelectorDropDownWindow* window = DropDownWindow();
    if (!window) return;
    auto panelSelect = [this](TColor c) {
        selectedColor_ = c;
        Invalidate();
        if (OnSelect) OnSelect(this, -1, nullptr);
    };
    switch (selectionStyle_) {
    case csDiscrete: {
        TExCustomSelector::SetSelectorPanel();
        TExSelectorPanel* p = GeneralPanel();
        p->OnShouldHide = [this](TObject*) { HideDropDown(); };
        p->OnDrawItem = [this](TObject*, int i, TRect R) { PaletteDraw(i, R); };
        p->MinButtonWidth = p->MinButtonHeight = 18;
        if (selectedColor_ != clNone)
            for (int i = 0; i < p->Items().Count(); ++i)
                if (p->Items().Items(i)->BackGroundColor == selectedColor_) {
                    p->SetItemIndex(i);
                    SetSelectedIndex(i);
                    break;
                }
        p->ButtonsPerRow = ButtonsPerRow();
        p->SetItemsPosition();
        break;
    }
    case csColorCube:
        if (!cube_) {
            cube_ = new TExColorCubePanel(window);
            cube_->SetParent(window);
            cube_->WindowBorderColor = BorderDropDownColor;
            cube_->OnShouldHide = [this](TObject*) { HideDropDown(); };
            cube_->OnSelect = [this, panelSelect](TObject*) { panelSelect(cube_->SelectedColor()); };
        }
        cube_->SetShowRGBHint(ShowRGBHint);
        SetPanel(cube_);
        cube_->SetSelectedColor(selectedColor_);
        cube_->SetItemsPosition();
        break;
    case csSpectrum:
        if (!spectrum_) {
            spectrum_ = new TExColorSpectrumPanel(window);
            spectrum_->SetParent(window);
            spectrum_->WindowBorderColor = BorderDropDownColor;
            spectrum_->OnShouldHide = [this](TObject*) { HideDropDown(); };
            spectrum_->OnSelect = [this, panelSelect](TObject*) { panelSelect(spectrum_->SelectedColor()); };
        }
        SetPanel(spectrum_);
        spectrum_->SetSelectedColor(selectedColor_);
        spectrum_->SetItemsPosition();
        break;
    }
}

void TExCustomColorSelector::PaletteDraw(int Index, TRect R)
{
    TExSelectorPanel* p = GeneralPanel();
    if (!p || Index < 0 || Index >= p->Items().Count()) return;
    const TExSelectorItem* item = p->Items().Items(Index);
    TCanvas* c = p->Canvas();
    auto swatch = [&](int inset) {
        c->Pen().SetColor(clGray);
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(item->BackGroundColor);
        c->Rectangle(R.Left + inset, R.Top + inset, R.Left + inset + 12, R.Top + inset + 12);
    };
    if (item->ItemType == itAutoSizeButton) {
        if (item->BackGroundColor != clNone) swatch(3);
        return;
    }
    if (item->BackGroundColor != clNone) swatch(4);
    c->Brush().SetStyle(bsClear);
    TRect text = R;
    if (item->CaptionAlignment == taCenter)
        DrawText(c->Handle(), item->Caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    else if (item->CaptionAlignment == taRightJustify)
        DrawText(c->Handle(), item->Caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void TExCustomColorSelector::DrawGlyphAndCaption(TBitmap* Bitmap, TRect R)
{
    TCanvas* c = Canvas();
    const TColor pen = c->Pen().Color();
    const bool glyph = Bitmap && !Bitmap->Empty();
    auto box = [&](int l, int t, int r, int b, TColor outline) {
        if (selectedColor_ == clNone) return;  // nothing chosen: no colour to show
        c->Pen().SetColor(outline);
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(selectedColor_);
        c->Rectangle(l, t, r, b);
    };
    if (Style() == ssCombo) {
        if (Caption().empty()) box(R.Left + 4, R.Top + 3, R.Right - 4, R.Bottom - 3, clBlack);
        c->Pen().SetColor(pen);
        return;
    }
    TRect text = R;
    if (glyph && showSelectedColor_) {
        DrawGlyph(Bitmap, Rect(R.Left, R.Top, R.Right, R.Bottom - 5));
        text.Bottom -= 5;
        box(R.Left + 3, R.Bottom - 6, R.Right - 3, R.Bottom - 2, selectedColor_);
    } else if (glyph) {
        DrawGlyph(Bitmap, R);
    } else if (showSelectedColor_) {
        if (!Caption().empty()) {
            box(R.Left + 4, R.Bottom - 6, R.Right - 4, R.Bottom - 3, selectedColor_);
            text.Bottom -= 5;
        } else {
            box(R.Left + 4, R.Top + 3, R.Right - 4, R.Bottom - 3, selectedColor_);
        }
    }
    if (!Caption().empty()) {
        c->Brush().SetStyle(bsClear);
        DrawText(c->Handle(), Caption(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    c->Pen().SetColor(pen);
}

TExColorSelector::TExColorSelector(TComponent* AOwner) : TExCustomColorSelector(AOwner) { Initialize(); }

void TExColorSelector::Initialize()
{
    static const TColor palette[40] = {
        0x000000, 0x003399, 0x003333, 0x003300, 0x663300, 0x800000, 0x353333, 0x333333,
        0x000080, 0x0066FF, 0x008080, 0x008000, 0x808000, 0xFF0000, 0x996666, 0x808080,
        0x0000FF, 0x0099FF, 0x00CC99, 0x669933, 0xCCCC33, 0xFF6633, 0x800080, 0x999999,
        0xFF00FF, 0x00CCFF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFFCC00, 0x663399, 0xC0C0C0,
        0xCC99FF, 0x99CCFF, 0x99FFFF, 0xCCFFCC, 0xFFFFCC, 0xFFCC99, 0xFF99CC, 0xFFFFFF};
    Tools().Clear();
    TExSelectorItem* automatic = Tools().Add();
    automatic->Caption = automatic->Hint = "Automatic";
    automatic->ItemType = itFullWidthButton;
    automatic->BackGroundColor = 0x000000;
    for (TColor c : palette) Tools().Add()->BackGroundColor = c;
    TExSelectorItem* more = Tools().Add();
    more->Caption = "More Colors...";
    more->Hint = "More Color";
    more->ItemType = itFullWidthButton;
}

TExTextColorSelector::TExTextColorSelector(TComponent* AOwner) : TExCustomColorSelector(AOwner) { Initialize(); }

void TExTextColorSelector::Initialize()
{
    static const struct {
        TColor color;
        const char* hint;
    } colours[16] = {{0x000000, "Black"},  {0x808080, "Gray"},   {0x000080, "Maroon"}, {0x008080, "Olive"},
                     {0x008000, "Green"},  {0x808000, "Teal"},   {0x800000, "Navy"},   {0x800080, "Purple"},
                     {0xFFFFFF, "White"},  {0xC0C0C0, "Silver"}, {0x0000FF, "Red"},    {0x00FFFF, "Yellow"},
                     {0x00FF00, "Lime"},   {0xFFFF00, "Aqua"},   {0xFF0000, "Blue"},   {0xFF00FF, "Fuchsia"}};
    Tools().Clear();
    SetButtonsPerRow(8);
    TExSelectorItem* automatic = Tools().Add();
    automatic->Caption = "Automatic";
    automatic->Hint = "Color";
    automatic->ItemType = itFullWidthButton;
    automatic->BackGroundColor = 0x000000;
    for (const auto& c : colours) {
        TExSelectorItem* t = Tools().Add();
        t->BackGroundColor = c.color;
        t->Hint = c.hint;
    }
}

}  // namespace flat

#include "widgets/flat/StyleSelectors.h"

#include <string>
#include <vector>

#include "platform/graphics/ImageList.h"

namespace flat {

using namespace platform;

namespace {

using Draw = std::function<void(TCanvas*, int, int, int)>;

void HLine(TCanvas* c, int x0, int x1, int y, int thickness)
{
    c->Brush().SetColor(clBlack);
    c->FillRect(Rect(x0, y, x1, y + thickness));
}

// A line of on/off runs (empty: solid) across the picture.
void DashedLine(TCanvas* c, int w, int y, const std::vector<int>& runs)
{
    if (runs.empty()) {
        HLine(c, 2, w - 2, y, 2);
        return;
    }
    int x = 2;
    for (std::size_t k = 0; x < w - 2; k = (k + 1) % runs.size()) {
        if (k % 2 == 0) HLine(c, x, std::min(x + runs[k], w - 2), y, 2);
        x += runs[k];
    }
}

void PenStylePicture(TCanvas* c, int i, int w, int h)
{
    static const std::vector<int> runs[8] = {{}, {2, 2}, {3, 3}, {8, 4}, {8, 3, 2, 3}, {14, 4}, {14, 3, 2, 3},
                                             {14, 3, 2, 3, 2, 3}};
    DashedLine(c, w, h / 2 - 1, runs[i]);
}

void PenWidthPicture(TCanvas* c, int i, int w, int h)
{
    static const int widths[9] = {1, 1, 1, 1, 2, 3, 4, 6, 8};
    if (i < 9) {
        const int t = widths[i];
        HLine(c, 1, w - 1, (h - t) / 2, t);
        return;
    }
    // Compound lines: two thin; thin over thick; thick over thin; thin, thick, thin.
    static const std::vector<std::pair<int, int>> bands[4] = {
        {{2, 1}, {6, 1}}, {{1, 1}, {4, 4}}, {{1, 4}, {7, 1}}, {{1, 1}, {3, 3}, {8, 1}}};
    for (auto [y, t] : bands[i - 9]) HLine(c, 1, w - 1, y, t);
}

void BrushStylePicture(TCanvas* c, int i, int w, int h)
{
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) {
            bool on = false;
            switch (i) {
            case 0: on = (x + y) % 6 == 0; break;            // light diagonal hatch
            case 1: on = (x + y) % 3 == 0; break;            // dense, one way
            case 2: on = (x - y + 300) % 3 == 0; break;      // dense, the other way
            case 3: on = x % 4 == 0 && y % 4 == 0; break;    // sparse dots
            case 4: on = x % 3 == 0 && y % 2 == 0; break;    // denser dots
            case 5: on = (x + y) % 2 == 0; break;            // dense dots
            case 6: on = x % 3 == 0 || y % 3 == 0 || x == 1 || y == 1 || x == w - 2 || y == h - 2; break;
            default: on = (x + y) % 5 == 0 || (x - y + 300) % 5 == 0; break;  // cross-hatch
            }
            if (on) c->SetPixel(x, y, clBlack);
        }
}

void ShadowPicture(TCanvas* c, int i, int, int)
{
    // Twenty placements: eight directions at two distances, then four larger shadows.
    static const int dirs[8][2] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}, {0, 1}, {1, 0}, {0, -1}, {-1, 0}};
    int dx, dy, grow = 0;
    if (i < 16) {
        const int d = i < 8 ? 2 : 4;
        dx = dirs[i % 8][0] * d;
        dy = dirs[i % 8][1] * d;
    } else {
        dx = dirs[i - 16][0] * 2;
        dy = dirs[i - 16][1] * 2;
        grow = 2;
    }
    const TRect body = Rect(6, 6, 14, 14);
    c->Brush().SetColor(0x404040);
    c->FillRect(Rect(body.Left + dx - grow, body.Top + dy - grow, body.Right + dx + grow, body.Bottom + dy + grow));
    c->Brush().SetColor(clTeal);
    c->FillRect(body);
}

void TableBorderPicture(TCanvas* c, int i, int w, int h)
{
    // A dotted grid of four cells; the lines the item names are solid.
    const int l = 1, t = 1, r = w - 2, b = h - 2, mx = w / 2, my = h / 2;
    for (int k = 0; k < w; k += 2)
        for (int y : {t, my, b}) c->SetPixel(k, y, clGray);
    for (int k = 0; k < h; k += 2)
        for (int x : {l, mx, r}) c->SetPixel(x, k, clGray);
    auto h_ = [&](int y) { HLine(c, l, r + 1, y, 1); };
    auto v_ = [&](int x) {
        c->Brush().SetColor(clBlack);
        c->FillRect(Rect(x, t, x + 1, b + 1));
    };
    auto diag = [&](bool descending) {
        for (int k = 0; k <= r - l; ++k) c->SetPixel(l + k, descending ? t + k : b - k, clBlack);
    };
    switch (i) {
    case 0: h_(t); h_(b); v_(l); v_(r); break;                       // outside
    case 1: h_(t); h_(b); h_(my); v_(l); v_(r); v_(mx); break;       // all
    case 2: h_(t); break;                                            // top
    case 3: v_(l); break;                                            // left
    case 4: h_(my); break;                                           // inside horizontal
    case 5: diag(true); break;                                       // descending diagonal
    case 6: h_(my); break;                                           // horizontal line
    case 7: h_(my); v_(mx); break;                                   // inside
    case 8: break;                                                   // none
    case 9: h_(b); break;                                            // bottom
    case 10: v_(r); break;                                           // right
    case 11: v_(mx); break;                                          // inside vertical
    default: diag(false); break;                                     // ascending diagonal
    }
}

TImageList* MakeImages(TComponent* owner, int w, int h, int count, const Draw& draw)
{
    auto* list = new TImageList(owner);
    list->SetSize(w, h);
    for (int i = 0; i < count; ++i) {
        TBitmap b(w, h);
        b.Canvas()->Brush().SetColor(clWhite);
        b.Canvas()->FillRect(Rect(0, 0, w, h));
        draw(b.Canvas(), i, w, h);
        list->AddMasked(&b, clWhite);
    }
    return list;
}

TExSelectorItem* AddItem(TExSelectorItems& tools, TSelectorItemType type, const std::string& caption,
                         const std::string& hint, int image = -1)
{
    TExSelectorItem* t = tools.Add();
    t->ItemType = type;
    t->Caption = caption;
    t->Hint = hint;
    t->ImageIndex = image;
    return t;
}

}  // namespace

TExImageStyleSelector::TExImageStyleSelector(TComponent* AOwner, int w, int h, int count, const Draw& draw,
                                             int panelButtonsPerRow)
    : TExCustomSelector(AOwner), imageList_(MakeImages(this, w, h, count, draw)),
      panelButtonsPerRow_(panelButtonsPerRow)
{
    SetImages(imageList_);
}

void TExImageStyleSelector::SetSelectorPanel()
{
    TExCustomSelector::SetSelectorPanel();
    TExSelectorPanel* p = GeneralPanel();
    if (!p) return;
    p->Images = imageList_;
    p->ButtonsPerRow = panelButtonsPerRow_;
    p->SetItemsPosition();
}

TExPenStyleSelector::TExPenStyleSelector(TComponent* AOwner)
    : TExImageStyleSelector(AOwner, 99, 9, 8, PenStylePicture, 1)
{
    Initialize();
}

void TExPenStyleSelector::Initialize()
{
    static const char* hints[8] = {"Solid", "Round Dot", "Square Dots", "Dash", "Dash Dots", "Long Dash",
                                   "Long Dash Dot", "Long Dash Dot Dot"};
    Tools().Clear();
    for (int i = 0; i < 8; ++i) AddItem(Tools(), itAutoSizeButton, "", hints[i], i);
    AddItem(Tools(), itFullWidthButton, "More Styles", "More Styles");
}

TExPenWidthSelector::TExPenWidthSelector(TComponent* AOwner)
    : TExImageStyleSelector(AOwner, 97, 10, 13, PenWidthPicture, 1)
{
    Initialize();
}

void TExPenWidthSelector::Initialize()
{
    static const char* captions[13] = {"1/4 pt", "1/2 pt", "3/4 pt", "1 pt",     "1 1/2 pt", "2 1/4 pt", "3 pt",
                                       "4 1/2 pt", "6 pt", "3 pt",   "4 1/2 pt", "4 1/2 pt", "6 pt"};
    Tools().Clear();
    for (int i = 0; i < 13; ++i) AddItem(Tools(), itAutoSizeButton, captions[i], "", i)->CaptionAlignment = taLeftJustify;
    AddItem(Tools(), itFullWidthButton, "More Lines", "More Lines");
}

TExBrushStyleSelector::TExBrushStyleSelector(TComponent* AOwner)
    : TExImageStyleSelector(AOwner, 102, 14, 8, BrushStylePicture, 1)
{
    Initialize();
}

void TExBrushStyleSelector::Initialize()
{
    Tools().Clear();
    for (int i = 0; i < 8; ++i) AddItem(Tools(), itAutoSizeButton, "", "", i);
    AddItem(Tools(), itFullWidthButton, " More Styles", "More Styles");
}

TExShadowSelector::TExShadowSelector(TComponent* AOwner)
    : TExImageStyleSelector(AOwner, 20, 20, 20, ShadowPicture, 4)
{
    Initialize();
}

void TExShadowSelector::Initialize()
{
    Tools().Clear();
    AddItem(Tools(), itFullWidthButton, "No Shadow", "No Shadow");
    for (int i = 0; i < 20; ++i) AddItem(Tools(), itAutoSizeButton, "", "Shadow Style " + std::to_string(i + 1), i);
    AddItem(Tools(), itFullWidthButton, "Shadow Settings", "Shadow Settings");
}

TExTableBorderSelector::TExTableBorderSelector(TComponent* AOwner)
    : TExImageStyleSelector(AOwner, 15, 15, 13, TableBorderPicture, 7)
{
    Initialize();
}

void TExTableBorderSelector::Initialize()
{
    static const char* hints[13] = {"OutSide Border", "All Border", "Top Border", "Left Border",
                                    "InSide Horizontal Border", "Decending Diagonal", "Horizontal Line",
                                    "Inside Border", "No Border", "Bottom Border", "Right Border",
                                    "InSide Vertical Border", "Ascending Diagonal"};
    Tools().Clear();
    for (int i = 0; i < 13; ++i) AddItem(Tools(), itAutoSizeButton, "", hints[i], i);
}

TExGradientDirectionSelector::TExGradientDirectionSelector(TComponent* AOwner) : TExCustomSelector(AOwner)
{
    Initialize();
}

void TExGradientDirectionSelector::Initialize()
{
    static const char* names[6] = {"VerticalIn", "VerticalOut", "HorizontalIn", "HorizontalOut", "VerticalInOut",
                                   "HorizontalInOut"};
    Tools().Clear();
    for (const char* n : names) {
        TExSelectorItem* t = AddItem(Tools(), itAutoSizeButton, "", n);
        t->Value = n;
    }
}

void TExGradientDirectionSelector::SetSelectorPanel()
{
    TExCustomSelector::SetSelectorPanel();
    TExSelectorPanel* p = GeneralPanel();
    if (!p) return;
    p->OnDrawItem = [this](TObject*, int i, TRect R) { GradientDraw(i, R); };
    p->MinButtonWidth = 100;
    p->MinButtonHeight = 20;
    p->SetItemsPosition();
}

void TExGradientDirectionSelector::GradientDraw(int Index, TRect R)
{
    TExSelectorPanel* p = GeneralPanel();
    if (!p || Index < 0 || Index >= p->Items().Count()) return;
    TCanvas* c = p->Canvas();
    TRect D = R;
    InflateRect(D, -4, -4);
    const std::string& v = p->Items().Items(Index)->Value;
    const int midY = D.Top + (D.Bottom - D.Top) / 2, midX = D.Left + (D.Right - D.Left) / 2;
    if (v == "VerticalIn") {
        DrawGradient(c, StartColor, EndColor, false, D, 80);
    } else if (v == "VerticalOut") {
        DrawGradient(c, EndColor, StartColor, false, D, 80);
    } else if (v == "HorizontalIn") {
        DrawGradient(c, StartColor, EndColor, true, D, 80);
    } else if (v == "HorizontalOut") {
        DrawGradient(c, EndColor, StartColor, true, D, 80);
    } else if (v == "VerticalInOut") {
        DrawGradient(c, StartColor, EndColor, false, Rect(D.Left, D.Top, D.Right, midY), 80);
        DrawGradient(c, EndColor, StartColor, false, Rect(D.Left, midY, D.Right, D.Bottom), 80);
    } else if (v == "HorizontalInOut") {
        DrawGradient(c, StartColor, EndColor, true, Rect(D.Left, D.Top, midX, D.Bottom), 80);
        DrawGradient(c, EndColor, StartColor, true, Rect(midX, D.Top, D.Right, D.Bottom), 80);
    }
}

}  // namespace flat

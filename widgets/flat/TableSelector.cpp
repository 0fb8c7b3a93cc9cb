#include "widgets/flat/TableSelector.h"

#include <algorithm>

#include "base/Exception.h"
#include "platform/graphics/GDI.h"

namespace flat {

using namespace platform;

// ---------------------------------------------------------------- table panel

TExTableSelectorPanel::TExTableSelectorPanel(TComponent* AOwner) : TExCustomSelectorPanel(AOwner) {}

void TExTableSelectorPanel::SetSelectedCols(int v)
{
    if (v != selectedCols_) selectedCols_ = v;
}

void TExTableSelectorPanel::SetPanelSize()
{
    const int s = Step();
    TBitmap scratch(1, 1);
    scratch.Canvas()->Font().Assign(*Font());
    const int h = topMargin_ + RowCount * s + topMargin_ + labelHeight_ - gap_;
    const int w = std::max(leftMargin_ + ColCount * s + leftMargin_ - gap_, scratch.Canvas()->TextWidth("Cancel"));
    SetBounds(Left(), Top(), w, h);
}

TRect TExTableSelectorPanel::CellRect(int col, int row) const
{
    const int s = Step();
    const int x = leftMargin_ + (col - 1) * s;
    const int y = ShownAbove() ? labelHeight_ + topMargin_ + (RowCount - 1) * s - (row - 1) * s
                               : topMargin_ + (row - 1) * s;
    return Bounds(x, y, CellSize, CellSize);
}

TRect TExTableSelectorPanel::LabelRect() const
{
    return ShownAbove() ? Rect(leftMargin_, 1, Width() - leftMargin_, labelHeight_)
                        : Rect(leftMargin_, Height() - labelHeight_, Width() - leftMargin_, Height() - topMargin_);
}

std::string TExTableSelectorPanel::LabelText() const
{
    if (selectedCols_ > 0 || selectedRows_ > 0)
        return std::to_string(selectedCols_) + " x " + std::to_string(selectedRows_) + " Table";
    return "Cancel";
}

void TExTableSelectorPanel::InvalidateSelection(int oldCols, int oldRows)
{
    TRect area = LabelRect();
    auto add = [&](const TRect& r) {
        if (!IsRectEmpty(r)) UnionRect(area, area, r);
    };
    const int rows = std::max({selectedRows_, oldRows, 0});
    if (oldCols != selectedCols_ && rows > 0) {
        const int a = std::max(1, std::min(oldCols, selectedCols_) + 1), b = std::max(oldCols, selectedCols_);
        if (b >= a) {
            TRect r1 = CellRect(a, 1), r2 = CellRect(b, rows);
            UnionRect(r1, r1, r2);
            add(r1);
        }
    }
    if (oldRows != selectedRows_) {
        const int a = std::max(1, std::min(oldRows, selectedRows_) + 1), b = std::max(oldRows, selectedRows_);
        if (b >= a) {
            TRect r1 = CellRect(1, a), r2 = CellRect(ColCount, b);
            UnionRect(r1, r1, r2);
            add(r1);
        }
    }
    InvalidateRect(area);
}

void TExTableSelectorPanel::Paint()
{
    TExCustomSelectorPanel::Paint();
    TCanvas* c = Canvas();
    c->Pen().SetColor(WindowBorderColor);
    c->Brush().SetStyle(bsSolid);
    for (int col = 1; col <= ColCount; ++col)
        for (int row = 1; row <= RowCount; ++row) {
            c->Brush().SetColor(col <= selectedCols_ && row <= selectedRows_ ? SelectionColor : clWhite);
            c->Rectangle(CellRect(col, row));
        }
    c->Font().Assign(*Font());
    c->Brush().SetStyle(bsClear);
    TRect label = LabelRect();
    DrawText(c->Handle(), LabelText(), -1, &label, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    c->Brush().SetStyle(bsSolid);
}

void TExTableSelectorPanel::Grow(bool columns)
{
    if (columns)
        ++ColCount;
    else
        ++RowCount;
    SetPanelSize();
    if (!Window) return;
    int top = Window->Top();
    if (!columns && ShownAbove()) top -= Step();
    Window->SetBounds(Window->Left(), top, Width(), Height());
    Invalidate();
}

void TExTableSelectorPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TExCustomSelectorPanel::MouseMove(Shift, X, Y);
    const int oldCols = selectedCols_, oldRows = selectedRows_;
    bool found = false;
    for (int row = 1; row <= RowCount && !found; ++row)
        for (int col = 1; col <= ColCount && !found; ++col)
            if (PtInRect(CellRect(col, row), Point(X, Y))) {
                found = true;
                if (col != selectedCols_ || row != selectedRows_) {
                    selectedCols_ = col;
                    selectedRows_ = row;
                    InvalidateSelection(oldCols, oldRows);
                }
            }
    if (!found) {
        const bool beyond = ShownAbove() ? Y < labelHeight_ + topMargin_ : Y >= CellRect(1, RowCount).Bottom;
        if (beyond) {
            selectedCols_ = selectedRows_ = -1;
            if (oldCols != -1 || oldRows != -1) InvalidateSelection(oldCols, oldRows);
        }
    }
    if (!(Shift & ssLeft)) return;
    const TRect work = Screen ? Screen->WorkAreaRect() : Rect(0, 0, 800, 600);
    const TPoint origin = ClientToScreen(Point(0, 0));
    if (X > Width() - leftMargin_ - 2 && !found && origin.X + Width() + CellSize + 2 < work.Right) Grow(true);
    if (!ShownAbove()) {
        if (Y > Height() - labelHeight_ - 2 && origin.Y + Height() + CellSize + 2 < work.Bottom) Grow(false);
    } else if (Y < labelHeight_ + 2 && origin.Y - CellSize - 2 > work.Top) {
        Grow(false);
    }
}

void TExTableSelectorPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExCustomSelectorPanel::MouseUp(Button, Shift, X, Y);
    ShouldHide();
    if (selectedCols_ > 0 && selectedRows_ > 0 && OnSelect) OnSelect(this);
}

void TExTableSelectorPanel::CMMouseLeave(TMessage& m)
{
    TExCustomSelectorPanel::CMMouseLeave(m);
    selectedCols_ = selectedRows_ = -1;
    Invalidate();
}

// ---------------------------------------------------------------- table selector

TExCustomTableSelector::TExCustomTableSelector(TComponent* AOwner) : TExCustomSelector(AOwner) {}

void TExCustomTableSelector::SetDefaultColCount(int v)
{
    if (v >= 1 && v <= 60) defaultCols_ = v;
}

void TExCustomTableSelector::SetDefaultRowCount(int v)
{
    if (v >= 1 && v <= 60) defaultRows_ = v;
}

void TExCustomTableSelector::SetSelectorPanel()
{
    TSelectorDropDownWindow* window = DropDownWindow();
    if (!window) return;
    if (!table_) {
        table_ = new TExTableSelectorPanel(window);
        table_->SetParent(window);
        table_->OnShouldHide = [this](TObject*) { HideDropDown(); };
        table_->OnSelect = [this](TObject*) {
            selectedCols_ = table_->SelectedCols();
            selectedRows_ = table_->SelectedRows();
            if (OnSelect) OnSelect(this);
        };
    }
    SetPanel(table_);
    table_->WindowBorderColor = BorderDropDownColor;
    table_->ColCount = defaultCols_;
    table_->RowCount = defaultRows_;
    table_->SetSelectedCols(0);
    table_->SetSelectedRows(0);
    table_->SetItemsPosition();
}

void TExCustomTableSelector::MouseMove(TShiftState Shift, int X, int Y)
{
    TExCustomSelector::MouseMove(Shift, X, Y);
    TSelectorDropDownWindow* window = DropDownWindow();
    if (!(Shift & ssLeft) || !window || !window->Visible() || !table_) return;
    const bool crossing = window->ShownAbove ? Y < 3 : Y > Height() - 3;
    if (!crossing) return;
    // The panel takes over the drag: it holds the mouse from here on.
    const WPARAM keys = MK_LBUTTON;
    Perform(WM_LBUTTONUP, keys, MakeLParam(X, Y));
    const TPoint p = table_->ScreenToClient(ClientToScreen(Point(X, Y)));
    table_->Perform(WM_LBUTTONDOWN, keys, MakeLParam(p.X, p.Y));
    Perform(CM_MOUSELEAVE);
}

// ---------------------------------------------------------------- character selector

TExCharacterSelector::TExCharacterSelector(TComponent* AOwner) : TExCustomSelector(AOwner)
{
    SetButtonsPerRow(10);
}

void TExCharacterSelector::AddItemsFromChars()
{
    Tools().Clear();
    for (char ch : characters_) Tools().Add()->Caption = std::string(1, ch);
}

void TExCharacterSelector::LoadCharFromFont()
{
    if (!autoLoad_) return;
    characters_.clear();
    for (int code = 1; code <= 255; ++code) characters_ += char(code);
}

void TExCharacterSelector::SetAutoLoad(bool v)
{
    if (v == autoLoad_) return;
    autoLoad_ = v;
    if (v)
        LoadCharFromFont();
    else
        characters_.clear();
    AddItemsFromChars();
}

void TExCharacterSelector::SetCharacters(const std::string& s)
{
    if (autoLoad_) throw base::Exception("Can not change characters when AutoLoad is true.");
    if (s == characters_) return;
    characters_ = s;
    AddItemsFromChars();
}

void TExCharacterSelector::SetSelectedChar(char c)
{
    selectedChar_ = c;
    Invalidate();
}

void TExCharacterSelector::SetSelectorPanel()
{
    TExCustomSelector::SetSelectorPanel();
    TExSelectorPanel* p = GeneralPanel();
    if (!p) return;
    p->ButtonMargin = 0;
    p->Font()->Assign(charFont_);
    p->SetItemsPosition();
}

void TExCharacterSelector::OnToolSelect()
{
    if (SelectedIndex() >= 0 && SelectedIndex() < Tools().Count()) {
        const std::string& caption = Tools().Items(SelectedIndex())->Caption;
        if (!caption.empty()) SetSelectedChar(caption[0]);
    }
    TExCustomSelector::OnToolSelect();
    if (OnSelect) OnSelect(this);
}

void TExCharacterSelector::DrawChar(TRect R)
{
    TCanvas* c = Canvas();
    c->Font().SetName(charFont_.Name());
    c->Font().SetSize(charFont_.Size());
    c->Brush().SetStyle(bsClear);
    DrawText(c->Handle(), std::string(1, selectedChar_), 1, &R, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    c->Font().Assign(*Font());
}

void TExCharacterSelector::DrawGlyphAndCaption(TBitmap* Bitmap, TRect R)
{
    const bool glyph = Bitmap && !Bitmap->Empty();
    if (Style() == ssCombo) {
        if (selectedChar_ && Caption().empty()) DrawChar(R);
        return;
    }
    TRect text = R;
    if (!glyph && Caption().empty() && selectedChar_) DrawChar(R);
    if (glyph) text.Left = DrawGlyph(Bitmap, R);
    if (!Caption().empty()) {
        Canvas()->Brush().SetStyle(bsClear);
        DrawText(Canvas()->Handle(), Caption(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
}

}  // namespace flat

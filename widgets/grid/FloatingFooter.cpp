// The floating footer's settings.
#include "widgets/grid/FloatingFooter.h"

#include "base/StrUtils.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/graphics/GDI.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/html/HtmlEngine.h"

namespace grid {

using namespace platform;

// The strip itself: a panel at the grid's bottom edge that paints by the footer's style.
class TFooterPanel : public TCustomPanel {
public:
    TFooterPanel(TExStringGrid* AGrid, TFloatingFooter* AFooter) : TCustomPanel(AGrid), grid_(AGrid), footer_(AFooter)
    {
        SetBevelOuter(bvNone);
        SetHeight(0);
    }
    void Paint() override;

private:
    // The width the columns take: the fixed ones and those from LeftCol on.
    int ColumnsWidth() const;
    // The footer's colour under the columns, the grid's colour right of them; the columns' width.
    int FillBack();
    void PaintLastRow();
    void PaintPreview(bool custom);
    TExStringGrid* grid_;
    TFloatingFooter* footer_;
};

int TFooterPanel::ColumnsWidth() const
{
    int w = 0;
    for (int c = 0; c < grid_->FixedCols(); ++c) w += grid_->ColWidths(c);
    for (int c = grid_->LeftCol(); c < grid_->ColCount(); ++c) w += grid_->ColWidths(c);
    return w;
}

int TFooterPanel::FillBack()
{
    TCanvas* cv = Canvas();
    const TRect cr = ClientRect();
    const int W = ColumnsWidth();
    cv->Brush().SetStyle(bsSolid);
    cv->Pen().SetWidth(1);
    cv->Brush().SetColor(footer_->Color());
    cv->Pen().SetColor(footer_->Color());
    cv->FillRect({0, cr.Top, W, cr.Bottom});
    cv->Brush().SetColor(grid_->Color());
    cv->FillRect({W, cr.Top, cr.Right, cr.Bottom});
    return W;
}

void TFooterPanel::Paint()
{
    switch (footer_->FooterStyle()) {
    case fsFixedLastRow: PaintLastRow(); break;
    case fsColumnPreview: PaintPreview(false); break;
    case fsCustomPreview: PaintPreview(true); break;
    }
}

void TFooterPanel::PaintLastRow()
{
    TCanvas* cv = Canvas();
    const TRect cr = ClientRect();
    FillBack();
    const int R = grid_->RowCount() - 1;
    const bool soft = grid_->Look == glSoft && !grid_->Flat;
    const TGridOptions o = grid_->Options();
    std::vector<int> cols;
    for (int c = 0; c < grid_->FixedCols(); ++c) cols.push_back(c);
    for (int c = grid_->LeftCol(); c < grid_->ColCount(); ++c) cols.push_back(c);
    int x = 0;
    for (int c : cols) {
        cv->Pen().SetColor(clWhite);
        cv->MoveTo(x, cr.Bottom);
        if ((o & goFixedVertLine) && soft) cv->LineTo(x, cr.Top);
        cv->MoveTo(x, cr.Top);
        x += grid_->ColWidths(c);
        if ((o & goFixedHorzLine) && soft) cv->LineTo(x - 1, cr.Top);
        cv->MoveTo(x - 1, cr.Top);
        cv->Pen().SetColor(clGray);
        if (o & goFixedVertLine) cv->LineTo(x - 1, cr.Bottom);
    }
    int left = cr.Left;
    for (int c : cols) {
        const int right = grid_->IsMergedCell(grid_->RemapCol(c), R) ? grid_->CellRect(c, R).Right - 1
                                                                     : left + grid_->ColWidths(c) - 1;
        TRect r{c < grid_->FixedCols() ? left : left + 1, cr.Top, right, cr.Bottom};
        const TColor own = grid_->GetColors(grid_->RemapCol(c), R);
        if (c >= grid_->FixedCols() && own != clNone) {
            cv->Brush().SetColor(own);
            cv->FillRect(r);
        }
        if (grid_->IsBaseCell(grid_->RemapCol(c), R)) grid_->DrawGridCell(cv, c, R, r, gdFixed);
        left = right + 1;
    }
}

void TFooterPanel::PaintPreview(bool custom)
{
    TCanvas* cv = Canvas();
    const TRect cr = ClientRect();
    const int W = FillBack();
    cv->Pen().SetColor(clGray);
    cv->MoveTo(cr.Left, cr.Bottom - 1);
    cv->LineTo(W - 1, cr.Bottom - 1);
    cv->LineTo(W - 1, cr.Top);
    cv->Pen().SetColor(clWhite);
    cv->LineTo(cr.Left, cr.Top);
    cv->LineTo(cr.Left, cr.Bottom - 1);
    const TRect r{cr.Left + 1, cr.Top + 1, W - 1, cr.Bottom - 1};
    const TColor keep = grid_->SelectionTextColor;
    grid_->SelectionTextColor = clBlack;
    if (!custom) {
        grid_->DrawGridCell(cv, grid_->RemapColInv(footer_->Column()), grid_->Row(), r, 0);
    } else {
        const std::string t = footer_->HTMLColReplace(footer_->CustomTemplate());
        std::string anchor, stripped, focus, id, value, type;
        int mw = 0, mh = 0, links = 0, under = -1;
        TRect hover, ctl;
        cv->Font().Assign(*grid_->Font());
        cv->Brush().SetStyle(bsClear);
        html::grdhtmle::HTMLDrawEx(cv, t, {r.Left, r.Top + 2, r.Right, r.Bottom + 2}, grid_->GridImages(), 0, 0, -1, -1, 1, false,
                                   false, false, false, true, false, false, false, 1.0, grid_->URLColor, clNone, clNone,
                                   clGray, anchor, stripped, focus, mw, mh, links, under, hover, ctl, id, value, type,
                                   grid_->PictureCache(), grid_->PictureContainer(), nullptr);
        cv->Brush().SetStyle(bsSolid);
    }
    grid_->SelectionTextColor = keep;
}

TFloatingFooter::TFloatingFooter(TExStringGrid* AGrid) : grid_(AGrid)
{
    panel_ = new TFooterPanel(AGrid, this);
    panel_->SetAlign(alBottom);
    panel_->SetVisible(false);
}

TFloatingFooter::~TFloatingFooter() = default;

bool TFloatingFooter::PanelShown() const { return panel_->Visible() && panel_->Height() > 0; }

void TFloatingFooter::Update()
{
    grid_->FooterRowCovered = Active();
    grid_->Invalidate();
}

void TFloatingFooter::SetVisible(bool v)
{
    visible_ = v;
    if (v && !panel_->Parent()) panel_->SetParent(grid_);
    panel_->SetHeight(v ? height_ - 1 : 0);
    panel_->SetVisible(v);
    grid_->SetFixedFooters(v && style_ == fsFixedLastRow ? 1 : 0);
    Update();
}

void TFloatingFooter::SetColor(platform::TColor v)
{
    color_ = v;
    Invalidate();
}

void TFloatingFooter::SetColumn(int v)
{
    column_ = v;
    Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle v)
{
    style_ = v;
    Update();
    Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const std::string& v)
{
    template_ = v;
    Invalidate();
}

void TFloatingFooter::SetHeight(int v)
{
    height_ = v;
    if (v > 0 && visible_) panel_->SetHeight(v - 1);
}

TColumnCalcType TFloatingFooter::GetColumnCalc(int ACol) const
{
    const TCellProperties* p = grid_->CellProps(ACol, grid_->RowCount() - 1);
    return p ? TColumnCalcType(p->CalcType) : acNONE;
}

void TFloatingFooter::SetColumnCalc(int ACol, TColumnCalcType Value)
{
    TCellProperties* p = grid_->GetCellProperties(ACol, grid_->RowCount() - 1);
    if (!p) throw EExGridError("Cell index out of range");
    p->CalcType = Value;
    grid_->UpdateCell(ACol, grid_->RowCount() - 1);
}

void TFloatingFooter::Invalidate()
{
    if (panel_->Visible()) panel_->Invalidate();
}

std::string TFloatingFooter::HTMLColReplace(const std::string& Template) const
{
    std::string result, rest = Template;
    for (;;) {
        const std::size_t open = rest.find("<#");
        if (open == std::string::npos) break;
        const std::size_t close = rest.find('>', open + 2);
        // An unclosed tag ends the replacement: the rest stays as it is.
        if (close == std::string::npos) break;
        result += rest.substr(0, open);
        long long col = 0;
        const std::string num = rest.substr(open + 2, close - open - 2);
        rest.erase(0, close + 1);
        if (base::TryStrToInt(num, col) && col >= 0 && col < grid_->StoreColCount())
            result += grid_->GetCellEx(int(col), grid_->Row());
    }
    return result + rest;
}

}  // namespace grid

// The floating footer's settings.
#include "widgets/grid/FloatingFooter.h"

#include "base/StrUtils.h"
#include "widgets/grid/ExGrid.h"

namespace grid {

TFloatingFooter::TFloatingFooter(TExStringGrid* AGrid) : grid_(AGrid) {}
TFloatingFooter::~TFloatingFooter() = default;

void TFloatingFooter::Update()
{
    grid_->FooterRowCovered = Active();
    grid_->Invalidate();
}

void TFloatingFooter::SetVisible(bool v)
{
    visible_ = v;
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

void TFloatingFooter::SetHeight(int v) { height_ = v; }

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
    grid_->CalcFooter(ACol);
}

void TFloatingFooter::Invalidate() { grid_->Invalidate(); }

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

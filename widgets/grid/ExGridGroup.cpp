// Grouping by a column: a node row heads each run of equal values (with an optional
// summary row), the column leaves the grid and comes back when the grouping is undone.
#include <algorithm>

#include "widgets/grid/ExGrid.h"

namespace grid {

using namespace platform;

namespace {
// Colours a header or summary row: the merged cell from column h, or the whole row.
void ColourGroupRow(TExStringGrid& g, int row, int h, bool merge, TColor color, TColor colorTo, TColor text)
{
    if (merge) {
        g.MergeCells(h, row, std::max(g.ColCount() - h, 1), 1);
        if (color != clNone) g.SetColors(h, row, color);
        if (colorTo != clNone) g.SetColorsTo(h, row, colorTo);
        if (text != clNone) g.SetFontColors(h, row, text);
        return;
    }
    if (color != clNone) g.SetRowColor(row, color);
    if (text != clNone) g.SetRowFontColor(row, text);
}
}  // namespace

void TExStringGrid::Group(int ACol)
{
    if (ACol < FixedCols() || ACol >= ColCount()) return;
    if (groupColumn_ >= 0) UnGroup();
    BeginUpdate();
    groupColumn_ = ACol;
    groupWidth_ = ColWidths(ACol);
    groupHeader_ = FixedRows() > 0 ? GetCellEx(ACol, 0) : std::string();
    const int h = ACol == 1 ? 2 : 1;
    std::vector<int> headers, summaries;
    std::string prev;
    int header = -1;
    // Ends the open group before display row end: its summary row, then its node.
    auto close = [&](int end) {
        if (header < 0) return;
        if (Grouping.Summary) {
            InsertRows(end, 1);
            AddSummary(RemapRowInv(end));
            summaries.push_back(end);
        }
        AddNode(RemapRowInv(header), end - header);
    };
    for (int j = FixedRows(); j <= fixed_.NormalRowEnd(RowCount()) - 1;) {
        const std::string t = GetCellEx(ACol, j);
        if (header >= 0 && t == prev) {
            ++j;
            continue;
        }
        close(j);
        if (header >= 0 && Grouping.Summary) ++j;
        InsertRows(j, 1);
        SetCellEx(h, j, t);
        headers.push_back(j);
        header = j;
        prev = t;
        j += 2;
    }
    close(fixed_.NormalRowEnd(RowCount()));
    RemoveCols(ACol, 1);
    for (int r : headers)
        ColourGroupRow(*this, r, h == 2 ? 1 : h, Grouping.MergeHeader, Grouping.HeaderColor, Grouping.HeaderColorTo,
                       Grouping.HeaderTextColor);
    for (int r : summaries)
        ColourGroupRow(*this, r, h == 2 ? 1 : h, Grouping.MergeSummary, Grouping.SummaryColor,
                       Grouping.SummaryColorTo, Grouping.SummaryTextColor);
    if (RowCount() > FixedRows()) SetRowEx(FixedRows());
    EndUpdate();
}

void TExStringGrid::UnGroup()
{
    if (groupColumn_ < 0) return;
    ExpandAll();
    const int h = groupColumn_ == 1 ? 2 : 1;
    BeginUpdate();
    InsertCols(groupColumn_, 1);
    SetColWidths(groupColumn_, groupWidth_);
    if (FixedRows() > 0) SetCellEx(groupColumn_, 0, groupHeader_);
    std::string value;
    for (int i = FixedRows(); i <= fixed_.NormalRowEnd(RowCount()) - 1;) {
        if (!IsNode(i)) {
            SetCellEx(groupColumn_, i, value);
            ++i;
            continue;
        }
        const int span = std::max(GetNodeSpan(i), 1);
        if (Grouping.Summary && IsSummary(i + span)) RemoveRowsInternal(i + span, 1);
        value = GetCellEx(h, i);
        for (int r = i; r < i + span && r < RowCount(); ++r)
            if (TCellProperties* p = CellProps(0, r)) p->NodeLevel = 0;
        FreeCellGraphic(0, i);
        nodeCount_ = std::max(nodeCount_ - 1, 0);
        ClearRect(0, i, StoreColCount() - 1, i);
        RemoveRowsInternal(i, 1);
    }
    groupColumn_ = -1;
    EndUpdate();
}

void TExStringGrid::SetGroupColumn(int ACol)
{
    if (ACol == -1) UnGroup();
    else if (ACol > 0) Group(ACol);
}

void TExStringGrid::GroupCalc(int ACol, int Kind)
{
    for (int b = FixedRows(); b < RowCount();) {
        if (!IsNode(b)) {
            ++b;
            continue;
        }
        const int s = std::max(GetNodeSpan(b), 1);
        const int target = Grouping.Summary ? b + s : b;
        double v = 0;
        bool ok = true;
        switch (Kind) {
        case 1: v = ColumnSum(ACol, b + 1, b + s - 1); break;
        case 2: v = ColumnAvg(ACol, b + 1, b + s - 1); break;
        case 3:
        case 4:
            try {
                v = Kind == 3 ? ColumnMin(ACol, b + 1, b + s - 1) : ColumnMax(ACol, b + 1, b + s - 1);
            } catch (const EExGridError&) {
                ok = false;
            }
            break;
        case 5: v = s - 1; break;
        default: ok = false; break;
        }
        if (ok && target < RowCount()) SetFloats(ACol, target, v);
        b += s;
    }
}

}  // namespace grid

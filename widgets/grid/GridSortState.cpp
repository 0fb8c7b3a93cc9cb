// The sort, filter and find state's own rules: matching a cell against the last search,
// the sort index both ways, the column order and the sort keys after a column moved.
#include "widgets/grid/GridSortState.h"

#include "base/StrUtils.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/html/HtmlText.h"

namespace grid {

void TFindState::SetText(const std::string& text, unsigned params)
{
    findText = (params & kMatchCase) ? text : base::AnsiUpperCase(text);
}

bool TFindState::Matches(std::string t) const
{
    if (findParams & kIgnoreTags) t = html::HTMLStrip(t);
    if (!(findParams & kMatchCase)) t = base::AnsiUpperCase(t);
    if (findText == "\"\"") return t.empty();
    if (findParams & kMatchRegular) return MatchStrEx(findText, t, findParams & kMatchCase);
    const size_t p = t.find(findText);
    const bool at = (findParams & kMatchStart) ? p == 0 : p != std::string::npos;
    return at && (!(findParams & kMatchFull) || t == findText);
}

bool TFindState::Matches(const std::u16string& t) const
{
    if (findWideText == u"\"\"") return t.empty();
    if (findParams & kMatchRegular) return MatchStrEx(EncodeWideStr(findWideText), EncodeWideStr(t), findParams & kMatchCase);
    const size_t p = t.find(findWideText);
    const bool at = (findParams & kMatchStart) ? p == 0 : p != std::u16string::npos;
    return at && (!(findParams & kMatchFull) || t == findWideText);
}

void TSortState::ResetColumnOrder(int cols)
{
    columnOrder.Clear();
    for (int c = 0; c < cols; ++c) columnOrder.Insert(c, c);
}

void TSortState::ColumnMoved(int from, int to)
{
    const int n = columnOrder.Count();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to) return;
    const int v = columnOrder.Items(from);
    columnOrder.Delete(from);
    columnOrder.Insert(to, v);
}

int TSortState::FollowColumn(int c, int from, int to)
{
    if (c == from) return to;
    if (from < to && c > from && c <= to) return c - 1;
    if (to < from && c >= to && c < from) return c + 1;
    return c;
}

void TSortState::KeysFollow(int from, int to)
{
    for (int i = 0; i < sortKeys.Count(); ++i) sortKeys.SetSortColumns(i, FollowColumn(sortKeys.SortColumns(i), from, to));
}

void TSortState::Swapped(int row1, int row2)
{
    ++swapCount;
    if (row1 < 0 || row2 < 0 || row1 >= preSortOrder.Count() || row2 >= preSortOrder.Count()) return;
    const int a = preSortOrder.Items(row1);
    preSortOrder.SetItems(row1, preSortOrder.Items(row2));
    preSortOrder.SetItems(row2, a);
}

}  // namespace grid

// Sorting the normal rows by a column, putting them back, filtering rows by column
// conditions and finding cells by text.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "base/DateTime.h"
#include "base/StrUtils.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExObj.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/html/HtmlText.h"

using namespace platform;

namespace grid {

namespace {

int Sign(double d) { return d > 0 ? 1 : d < 0 ? -1 : 0; }

int Bytewise(const std::string& a, const std::string& b)
{
    const int c = a.compare(b);  // char_traits<char> compares as unsigned bytes
    return c > 0 ? 1 : c < 0 ? -1 : 0;
}

std::string UpperAZ(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return s;
}

bool Number(std::string s, const std::string& prefix, const std::string& suffix, bool financial, double& v)
{
    if (!prefix.empty())
        if (const size_t p = s.find(prefix); p != std::string::npos) s.erase(p, prefix.size());
    if (!suffix.empty())
        if (const size_t p = s.find(suffix); p != std::string::npos) s.erase(p, suffix.size());
    if (financial) s = RemoveSeps(s);
    else s = FixDecimalSeparator(s);
    if (s.empty()) {
        v = 0;
        return true;
    }
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return end && *end == '\0';
}

// A date and time in the user's format; 0 for an empty text or one that does not read.
double DateValue(const std::string& s)
{
    base::TDateTime d = 0, t = 0;
    if (s.empty()) return 0;
    if (base::TryStrToDate(s, d)) return d;
    if (const size_t sp = s.find(' '); sp != std::string::npos && base::TryStrToDate(s.substr(0, sp), d)) {
        const size_t rest = s.find_first_not_of(' ', sp);
        if (rest == std::string::npos) return d;
        if (base::TryStrToTime(s.substr(rest), t)) return d + t;
        return 0;
    }
    return base::TryStrToTime(s, t) ? t : 0;
}

// A text that automatic sorting takes for a date: the first date separator at the second
// or third character, with a digit on each side of it.
bool LooksLikeDate(const std::string& s)
{
    const size_t p = s.find(base::DateSeparator());
    if (p == std::string::npos || p < 1 || p > 2 || p + 1 >= s.size()) return false;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return digit(s[p - 1]) && digit(s[p + 1]);
}

int Locale(const std::u16string& a, const std::u16string& b, bool ignoreCase)
{
    const int c = CompareStringLocale(a, b, ignoreCase);
    return c > 0 ? 1 : c < 0 ? -1 : 0;
}

// The grid's update lock, ended also when a comparison raises.
struct UpdateLock {
    TExStringGrid* g;
    explicit UpdateLock(TExStringGrid* grid) : g(grid) { g->BeginUpdate(); }
    ~UpdateLock() { g->EndUpdate(); }
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;
};

}  // namespace

int TExStringGrid::Compare(int ACol, int ARow1, int ARow2, TSortDirection Direction)
{
    const std::string t1 = GetCellEx(ACol, ARow1), t2 = GetCellEx(ACol, ARow2);
    TSortStyle style = SortSettings().AutoFormat ? ssAutomatic : ssAlphabetic;
    std::string prefix, suffix;
    GetColFormat(ACol, style, prefix, suffix);
    if (style == ssAutomatic) {
        const TCellType ct = GetCellType(ACol, ARow1);
        const TAutoType at = IsType(t1);
        if (ct == ctCheckBox) style = ssCheckBox;
        else if (at == TAutoType::atNumeric || at == TAutoType::atFloat) style = ssNumeric;
        else if (LooksLikeDate(t1)) style = ssDate;
        else style = ssAlphabetic;
    }
    int res = 0;
    switch (style) {
    case ssNumeric:
    case ssFinancial: {
        double a = 0, b = 0;
        const bool oa = Number(t1, prefix, suffix, style == ssFinancial, a);
        const bool ob = Number(t2, prefix, suffix, style == ssFinancial, b);
        res = !oa && !ob ? 0 : Sign((oa ? a : 0) - (ob ? b : 0));
        break;
    }
    case ssDate: res = Sign(DateValue(t1) - DateValue(t2)); break;
    case ssShortDateEU: res = Sign(StrToShortDateEU(t1) - StrToShortDateEU(t2)); break;
    case ssShortDateUS: res = Sign(StrToShortdateUS(t1) - StrToShortdateUS(t2)); break;
    case ssAlphaNoCase: res = Bytewise(UpperAZ(t1), UpperAZ(t2)); break;
    case ssAnsiAlphaCase:
    case ssAnsiAlphaNoCase: res = Locale(AnsiToWide(t1), AnsiToWide(t2), style == ssAnsiAlphaNoCase); break;
    case ssUnicode: res = Locale(GetWideCells(ACol, ARow1), GetWideCells(ACol, ARow2), true); break;
    case ssHTML: res = Bytewise(html::HTMLStrip(t1), html::HTMLStrip(t2)); break;
    case ssCheckBox: {
        bool s1 = false, s2 = false;
        GetCheckBoxState(ACol, ARow1, s1);
        GetCheckBoxState(ACol, ARow2, s2);
        res = s1 == s2 ? 0 : s1 ? 1 : -1;
        break;
    }
    case ssCustom:
        if (OnCustomCompare) OnCustomCompare(this, t1, t2, res);
        break;
    case ssRaw:
        if (OnRawCompare) OnRawCompare(this, ACol, ARow1, ARow2, res);
        break;
    case ssImages: {
        const int k1 = GetCellImageIdx(ACol, ARow1), k2 = GetCellImageIdx(ACol, ARow2);
        res = k2 < k1 ? 1 : k1 == k2 ? 0 : -1;
        break;
    }
    default: res = Bytewise(t1, t2);
    }
    if (SortSettings().IgnoreBlanks && t1.empty() != t2.empty()) {
        const int first = SortSettings().BlankPos == blFirst ? -1 : 1;
        res = t1.empty() ? first : -first;
        if (Direction == sdDescending) res = -res;
    }
    return res;
}

int TExStringGrid::CompareLine(int ACol, int ARow1, int ARow2)
{
    for (int c = ACol; c < GetAllColCount(); ++c) {
        const int r = Compare(c, ARow1, ARow2, SortSettings().Direction);
        if (r != 0 || !SortSettings().Full) return r;
    }
    return 0;
}

int TExStringGrid::CompareLineIndexed(int Index, int ARow1, int ARow2)
{
    const TSortIndexList& keys = SortIndexes();
    for (int k = Index; k >= 0 && k < keys.Count(); ++k) {
        const bool down = keys.SortDirections(k);
        const int r = Compare(keys.SortColumns(k), ARow1, ARow2, down ? sdDescending : sdAscending);
        if (r != 0) return down ? -r : r;
        if (!SortSettings().Full) break;
    }
    return 0;
}

void TExStringGrid::QuickSortRows(int ACol, int FromRow, int ToRow)
{
    const int sign = SortSettings().Direction == sdAscending ? 1 : -1;
    sort_.lastSortSign = sign;
    SortRange(FromRow, ToRow, [&](int a, int b) { return CompareLine(ACol, a, b) == -sign; });
}

void TExStringGrid::QuickSortRowsIndexed(int Index, int FromRow, int ToRow)
{
    // each entry of the index list carries its own direction
    SortRange(FromRow, ToRow, [&](int a, int b) { return CompareLineIndexed(Index, a, b) < 0; });
}

void TExStringGrid::QuickSortRowsRef(int, int FromRow, int ToRow)
{
    if (FromRow < 0 || ToRow >= PreSortOrder().Count()) return;  // no order kept for these rows
    SortRange(FromRow, ToRow, [&](int a, int b) { return PreSortOrder().Items(a) < PreSortOrder().Items(b); });
}

void TExStringGrid::QuickSort(int ACol, int FromRow, int ToRow) { QuickSortRows(ACol, FromRow, ToRow); }

void TExStringGrid::QuickSortIndexed(int FromRow, int ToRow) { QuickSortRowsIndexed(0, FromRow, ToRow); }

bool TExStringGrid::SortLine(int ACol, int ARow1, int ARow2)
{
    // no sort has set a direction yet: ascending
    const int sign = sort_.lastSortSign != 0 ? sort_.lastSortSign : 1;
    for (int c = ACol; c < GetAllColCount(); ++c) {
        const int r = Compare(c, ARow1, ARow2, SortSettings().Direction);
        if (r == sign) {
            SortSwapRows(ARow1, ARow2);
            return true;
        }
        if (r != 0) return false;
    }
    return false;
}

int TExStringGrid::Search(const std::string& Text)
{
    if (RowCount() <= 1) return -1;
    const int col = SortSettings().Show() ? SortSettings().Column : 1;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        std::string t = GetStrippedCell(col, r).substr(0, Text.size());
        if (UpperAZ(t) == Text) return r;
    }
    return -1;
}

void TExStringGrid::InitSortXRef()
{
    PreSortOrder().Clear();
    for (int r = 0; r < RowCount(); ++r) PreSortOrder().Add(r);
}

void TExStringGrid::QSort() { QSort(SortSettings().Column); }

void TExStringGrid::QSort(int ACol)
{
    SortRows([&] { QuickSortRows(ACol, FixedRows(), RowCount() - FixedFooters() - 1); }, TSortKind::Rows);
}

void TExStringGrid::QSortIndexed()
{
    if (SortIndexes().Count() == 0) throw EExGridError("No indexes specified for indexed sort");
    SortRows([&] { QuickSortRowsIndexed(0, FixedRows(), RowCount() - FixedFooters() - 1); }, TSortKind::Indexed);
}

void TExStringGrid::QSortGroup()
{
    const int col = SortSettings().Column;
    sort_.lastSortSign = SortSettings().Direction == sdAscending ? 1 : -1;
    SortRows(
        [&] {
            // the children of each expanded node, each block on its own
            const int last = RowCount() - FixedFooters();
            for (int r = FixedRows(); r < last; ++r) {
                if (!IsNode(r) || GetNodeState(r)) continue;
                const int span = GetNodeSpan(r);
                if (span > 2) QuickSortRows(col, r + 1, std::min(r + span - 1, last - 1));
            }
        },
        TSortKind::Group);
}

namespace {

// Fixed column 0 (row labels) kept in place while the rows move under it; put back also
// when the sort raises.
struct KeepFirstColumn {
    TExStringGrid* g;
    std::vector<std::string> texts;
    KeepFirstColumn(TExStringGrid* grid, bool keep) : g(grid)
    {
        if (!keep) return;
        texts.reserve(size_t(g->RowCount()));
        for (int r = 0; r < g->RowCount(); ++r) texts.push_back(g->GetGridCell(0, r));
    }
    ~KeepFirstColumn()
    {
        for (int r = 0; r < int(texts.size()) && r < g->RowCount(); ++r)
            if (g->GetGridCell(0, r) != texts[size_t(r)]) g->SetGridCell(0, r, texts[size_t(r)]);
    }
    KeepFirstColumn(const KeepFirstColumn&) = delete;
    KeepFirstColumn& operator=(const KeepFirstColumn&) = delete;
};

}  // namespace

void TExStringGrid::SortRows(const std::function<void()>& Work, TSortKind Kind)
{
    if (PreSortOrder().Count() != RowCount()) InitSortXRef();
    if (Kind == TSortKind::Rows) SortIndexes().Clear();
    const int old = Row();
    const bool follow = Navigation.MoveRowOnSort || Kind == TSortKind::Group;
    {
        KeepFirstColumn keep(this, SortSettings().NormalCellsOnly && FixedCols() > 0);
        UpdateLock lock(this);
        FollowedRow = old;
        Work();
        const int want = follow ? FollowedRow : old;
        FollowedRow = -1;
        if (want != Row() && want >= FixedRows() && want < RowCount()) {
            const bool started = EditStarted;
            EditStarted = false;
            SetRow(want);
            EditStarted = started;
        }
        if (Kind == TSortKind::Rows && OnRowUpdate && !Navigation.MoveRowOnSort) OnRowUpdate(this, old, Row());
    }
}

void TExStringGrid::SortRange(int from, int to, const std::function<bool(int, int)>& Before)
{
    if (to <= from) return;
    // a stable order of the rows, then the rows swapped into it
    std::vector<int> order(size_t(to - from + 1));
    std::iota(order.begin(), order.end(), from);
    std::stable_sort(order.begin(), order.end(), Before);
    std::vector<int> at(order.size());  // row now holding the content that started at each row
    std::iota(at.begin(), at.end(), from);
    std::vector<int> where(order.size());  // inverse of `at`
    std::iota(where.begin(), where.end(), from);
    for (size_t k = 0; k < order.size(); ++k) {
        const int want = order[k];               // the content that belongs at row from + k
        const int cur = at[size_t(want - from)];  // where it is now
        const int dst = from + int(k);
        if (cur == dst) continue;
        const int other = where[size_t(dst - from)];  // the content now at dst
        SortSwapRows(cur, dst);
        at[size_t(want - from)] = dst;
        at[size_t(other - from)] = cur;
        where[size_t(dst - from)] = want;
        where[size_t(cur - from)] = other;
    }
}

void TExStringGrid::QUnSort()
{
    if (PreSortOrder().Count() != RowCount()) return;
    KeepFirstColumn keep(this, SortSettings().NormalCellsOnly && FixedCols() > 0);
    UpdateLock lock(this);
    QuickSortRowsRef(0, 0, RowCount() - 1);
}

bool TExStringGrid::MatchFilter(int ARow)
{
    bool result = true;
    for (int k = 0; k < Filter().Count(); ++k) {
        const TFilterData& f = Filter().Items(k);
        std::string t = GetCellEx(f.Column, ARow);
        if (!f.Prefix.empty() && t.rfind(f.Prefix, 0) == 0) t.erase(0, f.Prefix.size());
        if (!f.Suffix.empty()) {
            const size_t p = t.find(f.Suffix);
            if (p != std::string::npos && p + f.Suffix.size() == t.size()) t.erase(p);
        }
        const bool m = MatchStrEx(f.Condition, t, f.CaseSensitive);
        switch (f.Operation) {
        case foSHORT:
            result = m;
            if (!m) return false;
            break;
        case foNONE: result = m; break;
        case foAND: result = result && m; break;
        case foXOR: result = result != m; break;
        case foOR: result = result || m; break;
        }
    }
    return result;
}

void TExStringGrid::FilterRow(int ARow)
{
    if (!MatchFilter(ARow)) HideRow(RemapRowInv(ARow));
}

void TExStringGrid::ApplyFilter()
{
    const int from = FixedRows(), to = RowCount() - FixedFooters() - 1;
    const int n = to - from + 1;
    TIntList fail;
    for (int r = from; r <= to; ++r) {
        if (!MatchFilter(r)) fail.Add(RemapRowInv(r));
        if (OnFilterProgress && n > 0) OnFilterProgress(this, short(std::nearbyint((r - from + 1) * 100.0 / n)));
    }
    if (fail.Count() > 0) HideRowList(fail);
    if (OnFilterProgress) OnFilterProgress(this, 100);
}

void TExStringGrid::SetFilterActive(bool v)
{
    if (!filterState_.Switch(v, FixedRows())) return;
    if (v) {
        {
            UpdateLock lock(this);
            ApplyFilter();
        }
        selectionHidden_ = false;
    } else {
        const bool hidden = selectionHidden_;
        UnHideRowList();
        SetFixedRows(filterState_.filterFixedRows);
        if (hidden) UnHideSelection();
    }
    CalcFooter(-1);
    FloatFooterUpdate();
}

bool TExStringGrid::MatchCell(int ACol, int ARow, bool Wide)
{
    const int col = (find_.findParams & fnIncludeHiddenColumns) ? ACol : RemapCol(ACol);
    return Wide ? find_.Matches(GetWideCells(col, ARow)) : find_.Matches(GetCellEx(col, ARow));
}

static_assert(TFindState::kMatchCase == TExStringGrid::fnMatchCase && TFindState::kMatchFull == TExStringGrid::fnMatchFull &&
              TFindState::kMatchRegular == TExStringGrid::fnMatchRegular &&
              TFindState::kMatchStart == TExStringGrid::fnMatchStart &&
              TFindState::kIgnoreTags == TExStringGrid::fnIgnoreHTMLTags);

TPoint TExStringGrid::FindInternal(TPoint StartCell, TFindParameters Params, bool Wide)
{
    find_.findParams = Params;
    if (ColCount() == 0 || RowCount() == 0 || ColCount() == FixedCols() || RowCount() == FixedRows())
        return TPoint{-1, -1};
    const bool all = Params & fnIncludeFixed;
    int c0 = all ? 0 : FixedCols(), r0 = all ? 0 : FixedRows();
    int c1 = all ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    int r1 = all ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    if (Params & fnIncludeHiddenColumns) c1 += NumHiddenColumns();
    if (Params & fnFindInCurrentRow) r0 = r1 = Row();
    if (Params & fnFindInCurrentCol) c0 = c1 = (Params & fnIncludeHiddenColumns) ? GetRealCol() : Col();
    const bool rowWise = Params & fnDirectionLeftRight;
    const bool back = Params & fnBackward;
    // cells in search order as one index; the search starts after StartCell
    const long long w = c1 - c0 + 1, h = r1 - r0 + 1;
    if (w <= 0 || h <= 0) return TPoint{-1, -1};
    auto index = [&](int c, int r) { return rowWise ? (r - r0) * w + (c - c0) : (c - c0) * h + (r - r0); };
    long long k;
    if (StartCell.X < 0 || StartCell.Y < 0) k = back ? w * h : -1;
    else k = index(std::clamp(StartCell.X, c0, c1), std::clamp(StartCell.Y, r0, r1));
    for (k += back ? -1 : 1; k >= 0 && k < w * h; k += back ? -1 : 1) {
        const int c = int(rowWise ? c0 + k % w : c0 + k / h), r = int(rowWise ? r0 + k / w : r0 + k % h);
        if (MatchCell(c, r, Wide)) {
            if (Params & fnAutoGoto) {
                const int dc = (Params & fnIncludeHiddenColumns) ? RemapColInv(c) : c;
                if (dc >= FixedCols() && dc < ColCount() && r >= FixedRows()) {
                    SetCol(dc);
                    SetRow(r);
                }
            }
            return TPoint{c, r};
        }
    }
    return TPoint{-1, -1};
}

TPoint TExStringGrid::Find(TPoint StartCell, const std::string& Text, TFindParameters Params)
{
    find_.SetText(Text, Params);
    return find_.findPos = FindInternal(StartCell, Params, false);
}

TPoint TExStringGrid::FindWide(TPoint StartCell, const std::u16string& WideText, TFindParameters Params)
{
    find_.findWideText = WideText;
    return find_.findPos = FindInternal(StartCell, Params, true);
}

TPoint TExStringGrid::FindFirst(const std::string& Text, TFindParameters Params)
{
    return Find(TPoint{-1, -1}, Text, Params);
}

// After the last match this gives (-1, -1); the call after that starts from the first cell again.
TPoint TExStringGrid::FindNext()
{
    const std::string text = find_.findText;
    return Find(find_.findPos, text, find_.findParams);
}

}  // namespace grid

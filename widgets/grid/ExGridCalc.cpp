// Aggregates, selection text, numbering, automatic sizing, swaps,
// footer totals, proportional scroll thumbs and the sizing zones.
#include <algorithm>
#include <cmath>

#include "base/ScopeGuard.h"
#include "base/StrUtils.h"
#include "base/StringList.h"
#include "platform/controls/Controls.h"
#include "platform/controls/FlatScrollBar.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "widgets/grid/CellGraphic.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/FloatingFooter.h"

namespace grid {

using namespace platform;

// ---------------------------------------------------------------- aggregates

double TExStringGrid::CellValue(int ACol, int ARow, bool realRow)
{
    return realRow ? GetAllFloats(ACol, ARow) : GetFloats(ACol, ARow);
}

bool TExStringGrid::SkipInAggregate(int ACol, int ARow)
{
    const TCellType t = GetCellType(0, ARow);
    if ((t == ctNode || t == ctSummary) && Grouping.Summary) return true;
    return !IsBaseCell(ACol, ARow);
}

double TExStringGrid::ColumnSum(int ACol, int FromRow, int ToRow)
{
    if (ToRow < FromRow) return 0;
    const bool real = ToRow >= RowCount();
    double sum = 0;
    for (int r = FromRow; r <= ToRow; ++r) {
        const int d = real ? RemapRow(r) : r;
        if (!real && SkipInAggregate(ACol, d)) continue;
        try {
            sum += CellValue(ACol, r, real);
        } catch (const EExGridError&) {
        }
    }
    return sum;
}

// The divisor counts every row of the range, also the skipped and unreadable ones: callers'
// figures rely on that rule.
double TExStringGrid::ColumnAvg(int ACol, int FromRow, int ToRow)
{
    const int n = ToRow - FromRow + 1;
    return n > 0 ? ColumnSum(ACol, FromRow, ToRow) / n : 0;
}

double TExStringGrid::ColumnExtreme(int ACol, int FromRow, int ToRow, bool smallest)
{
    const bool real = ToRow >= RowCount();
    double v = CellValue(ACol, FromRow, real);
    for (int r = FromRow; r <= ToRow; ++r) {
        if (!real && SkipInAggregate(ACol, r)) continue;
        try {
            const double x = CellValue(ACol, r, real);
            v = smallest ? std::min(v, x) : std::max(v, x);
        } catch (const EExGridError&) {
        }
    }
    return v;
}

double TExStringGrid::ColumnMin(int ACol, int FromRow, int ToRow) { return ColumnExtreme(ACol, FromRow, ToRow, true); }
double TExStringGrid::ColumnMax(int ACol, int FromRow, int ToRow) { return ColumnExtreme(ACol, FromRow, ToRow, false); }

double TExStringGrid::RowSum(int ARow, int FromCol, int ToCol)
{
    double sum = 0;
    for (int c = FromCol; c <= ToCol; ++c) {
        if (!IsBaseCell(c, ARow)) continue;
        try {
            sum += GetFloats(c, ARow);
        } catch (const EExGridError&) {
        }
    }
    return sum;
}

double TExStringGrid::RowAvg(int ARow, int FromCol, int ToCol)
{
    const int n = ToCol - FromCol + 1;
    return n > 0 ? RowSum(ARow, FromCol, ToCol) / n : 0;
}

double TExStringGrid::RowExtreme(int ARow, int FromCol, int ToCol, bool smallest)
{
    double v = GetFloats(FromCol, ARow);
    for (int c = FromCol; c <= ToCol; ++c) {
        if (!IsBaseCell(c, ARow)) continue;
        try {
            const double x = GetFloats(c, ARow);
            v = smallest ? std::min(v, x) : std::max(v, x);
        } catch (const EExGridError&) {
        }
    }
    return v;
}

double TExStringGrid::RowMin(int ARow, int FromCol, int ToCol) { return RowExtreme(ARow, FromCol, ToCol, true); }
double TExStringGrid::RowMax(int ARow, int FromCol, int ToCol) { return RowExtreme(ARow, FromCol, ToCol, false); }

// ---------------------------------------------------------------- selection text and numbering

std::string TExStringGrid::SelectedText()
{
    const TGridRect s = Selection();
    std::vector<int> rows;
    if (MouseActions.DisjunctRowSelect) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (IsSelected(FixedCols(), r)) rows.push_back(r);
    } else {
        for (int r = s.Top; r <= s.Bottom; ++r) rows.push_back(r);
    }
    std::string out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (int c = s.Left; c <= s.Right; ++c) {
            if (c > s.Left) out += '\t';
            const std::string& t = GetGridCell(RemapCol(c), rows[i]);
            out += t.find("{\\") == std::string::npos ? t : RichCellText(RemapCol(c), rows[i]);
        }
        if (i + 1 < rows.size()) out += "\r\n";
    }
    return out;
}

void TExStringGrid::AutoNumberCol(int ACol)
{
    for (int r = FixedRows(); r < fixed_.NormalRowEnd(RowCount()); ++r) SetInts(ACol, r, r - FixedRows() + 1);
}

void TExStringGrid::AutoNumberRow(int ARow)
{
    for (int c = FixedCols(); c < fixed_.NormalColEnd(ColCount()); ++c) SetInts(c, ARow, c - FixedCols() + 1);
}

// ---------------------------------------------------------------- automatic sizing

void TExStringGrid::UpdateAutoColSize(int ACol, int& AWidth)
{
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TExStringGrid::UpdateColSize(int ACol, int& AWidth)
{
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

namespace {
// Puts the canvas in the font a cell is measured with.
void MeasureFont(TExStringGrid& g, int c, int r)
{
    TCanvas* cv = g.Canvas();
    const bool fixed = c < g.FixedCols() || r < g.FixedRows();
    cv->Font().Assign(fixed ? g.FixedFont() : *g.Font());
    TGridDrawState st = 0;
    g.GetCellColor(c, r, st, cv->Brush(), cv->Font());
    if (g.ZoomOffset()) cv->Font().SetSize(std::max(1, cv->Font().Size() + g.ZoomOffset()));
}
}  // namespace

void TExStringGrid::SizeToWidth(int ACol, bool OnlyGrow)
{
    if (ACol < 0 || ACol >= ColCount()) return;
    const int c = RemapCol(ACol);
    int widest = 0;
    for (int r = 0; r < RowCount(); ++r) {
        if (IsXMergedCell(c, r)) continue;
        MeasureFont(*this, c, r);
        const TSize t = GetCellTextSize(c, r, false);
        const TSize gsz = GetCellGraphicSize(c, r);
        widest = std::max(widest, t.cx + gsz.cx);
    }
    int w = 2 * GridLineWidth() + widest + XYOffset.X + 2;
    if (!OnlyGrow || ColWidths(ACol) < w) {
        UpdateAutoColSize(c, w);
        SetColWidths(ACol, CheckLimits(w, MinColWidth, MaxColWidth));
    }
}

void TExStringGrid::SizeToHeight(int ARow, bool OnlyGrow)
{
    if (ARow < 0 || ARow >= RowCount()) return;
    int tallest = 0;
    for (int d = 0; d < ColCount(); ++d) {
        const int c = RemapCol(d);
        if (IsYMergedCell(c, ARow) || !IsBaseCell(c, ARow)) continue;
        const TCellType t = GetCellType(c, ARow);
        if (t == ctCheckBox || t == ctDataCheckBox) {
            tallest = std::max(tallest, DefaultRowHeight());
            continue;
        }
        MeasureFont(*this, c, ARow);
        const TSize s = GetCellTextSize(c, ARow, wordWrap_);
        tallest = std::max(tallest, s.cy + GetCellGraphicSize(c, ARow).cy);
    }
    const int h = 2 * GridLineWidth() + tallest + XYOffset.Y;
    if (!OnlyGrow || RowHeights(ARow) < h) SetRowHeights(ARow, CheckLimits(h, MinRowHeight, MaxRowHeight));
}

void TExStringGrid::SizeToLines(int ARow, int Lines, int Space)
{
    const int h = Canvas()->TextHeight("gh");
    SetRowHeights(ARow, CheckLimits(Space + Lines * (h + h / 8), MinRowHeight, MaxRowHeight));
}

void TExStringGrid::AutoSizeColumns(bool DoFixedCols, int Space)
{
    for (int c = DoFixedCols ? 0 : FixedCols(); c < ColCount(); ++c) {
        AutoSizeCol(c);
        if (Space) SetColWidths(c, CheckLimits(ColWidths(c) + Space, MinColWidth, MaxColWidth));
    }
}

void TExStringGrid::AutoSizeRows(bool DoFixedRows, int Space)
{
    for (int r = DoFixedRows ? 0 : FixedRows(); r < RowCount(); ++r) {
        if (wordWrap_) {
            AutoSizeRow(r);
            if (Space) SetRowHeights(r, CheckLimits(RowHeights(r) + Space, MinRowHeight, MaxRowHeight));
        } else {
            int lines = 1;
            for (int c = 0; c < StoreColCount(); ++c) lines = std::max(lines, LinesInText(GetCellEx(c, r), Multilinecells));
            SizeToLines(r, lines, Space);
        }
    }
}

void TExStringGrid::AutoSizeCells(bool DoFixedCells, int SpaceX, int SpaceY)
{
    BeginUpdate();
    const int c0 = DoFixedCells ? 0 : FixedCols(), r0 = DoFixedCells ? 0 : FixedRows();
    for (int d = c0; d < ColCount(); ++d) {
        const int c = RemapCol(d);
        int running = onlyGrow_ ? ColWidths(d) : 0;
        for (int r = r0; r < RowCount(); ++r) {
            MeasureFont(*this, c, r);
            const TSize t = GetCellTextSize(c, r, false), gs = GetCellGraphicSize(c, r);
            const int w = t.cx + gs.cx + SpaceX, h = t.cy + gs.cy + SpaceY;
            if (!IsXMergedCell(c, r) && w > running) {
                const int lw = CheckLimits(w, MinColWidth, MaxColWidth);
                if (lw > running) {
                    SetColWidths(d, lw);
                    running = lw;
                }
            }
            if (!IsYMergedCell(c, r) && h > RowHeights(r)) {
                const int lh = CheckLimits(h, MinRowHeight, MaxRowHeight);
                if (lh > RowHeights(r)) SetRowHeights(r, lh);
            }
        }
    }
    EndUpdate();
}

// ---------------------------------------------------------------- swaps

void TExStringGrid::SwapCells(int c1, int r1, int c2, int r2)
{
    const std::string a = GetGridCell(c1, r1), b = GetGridCell(c2, r2);
    TObject* oa = GetGridObject(c1, r1);
    TObject* ob = GetGridObject(c2, r2);
    TStringGrid::SetCells(c1, r1, b);
    TStringGrid::SetCells(c2, r2, a);
    TStringGrid::SetObjects(c1, r1, ob);
    TStringGrid::SetObjects(c2, r2, oa);
}

void TExStringGrid::SwapColumns(int ACol1, int ACol2)
{
    if (ACol1 == ACol2 || ACol1 < 0 || ACol2 < 0 || ACol1 >= StoreColCount() || ACol2 >= StoreColCount()) return;
    for (int r = 0; r < RowCount(); ++r) SwapCells(ACol1, r, ACol2, r);
    if (ACol1 < ColCount() && ACol2 < ColCount()) {
        const int w = ColWidths(ACol1);
        SetColWidths(ACol1, ColWidths(ACol2));
        SetColWidths(ACol2, w);
    }
    if (SortSettings().Column == ACol1) SortSettings().Column = ACol2;
    else if (SortSettings().Column == ACol2) SortSettings().Column = ACol1;
    Invalidate();
}

void TExStringGrid::SwapRows(int ARow1, int ARow2)
{
    if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount()) return;
    for (int c = 0; c < StoreColCount(); ++c) SwapCells(c, ARow1, c, ARow2);
    const int h = RowHeights(ARow1);
    SetRowHeights(ARow1, RowHeights(ARow2));
    SetRowHeights(ARow2, h);
    Invalidate();
}

void TExStringGrid::SortSwapRows(int ARow1, int ARow2)
{
    sort_.Swapped(ARow1, ARow2);
    if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount()) return;
    if (SortSettings().SingleColumn) {
        SwapCells(SortSettings().Column, ARow1, SortSettings().Column, ARow2);
        return;
    }
    for (int c = 0; c < StoreColCount(); ++c) SwapCells(c, ARow1, c, ARow2);
    if (RowHeights(ARow1) != RowHeights(ARow2)) {
        const int h = RowHeights(ARow1);
        SetRowHeights(ARow1, RowHeights(ARow2));
        SetRowHeights(ARow2, h);
    }
    if (MouseActions.DisjunctRowSelect && Navigation.MoveRowOnSort) {
        const bool a = GetRowSelect(ARow1), b = GetRowSelect(ARow2);
        rowSelect_[std::size_t(ARow1)] = b;
        rowSelect_[std::size_t(ARow2)] = a;
    }
    if (FollowedRow == ARow1) FollowedRow = ARow2;
    else if (FollowedRow == ARow2) FollowedRow = ARow1;
}

// ---------------------------------------------------------------- footer totals

void TExStringGrid::DoCalcFooter(int ACol)
{
    if (!FloatingFooter().Visible() || FloatingFooter().FooterStyle() != fsFixedLastRow || calculatingFooter_) return;
    calculatingFooter_ = true;
    base::ScopeExit done([this] { calculatingFooter_ = false; });
    const int R = RowCount() - 1;
    const int h = FloatingFooter().CalculateHiddenRows ? NumHiddenRows() : 0;
    const int from = ACol < 0 ? 0 : ACol, to = ACol < 0 ? StoreColCount() - 1 : ACol;
    for (int c = from; c <= to; ++c) {
        const TCellProperties* p = CellProps(c, R);
        if (!p) continue;
        const int last = R + h - 1, first = FixedRows();
        auto put = [&](double v) { SetFloats(c, R, v); };
        switch (TColumnCalcType(p->CalcType)) {
        case acNONE: SetCellEx(c, R, std::string()); break;
        case acSUM: put(ColumnSum(c, first, last)); break;
        case acAVG: put(ColumnAvg(c, first, last)); break;
        case acCOUNT: put(double(R + h - first)); break;
        case acMIN:
        case acMAX:
            try {
                put(p->CalcType == acMIN ? ColumnMin(c, first, last) : ColumnMax(c, first, last));
            } catch (const EExGridError&) {
                SetCellEx(c, R, std::string());  // no number to start from
            }
            break;
        case acSPREAD: break;
        case acCUSTOM: {
            std::string v;
            if (FloatingFooter().OnCalcFooter) FloatingFooter().OnCalcFooter(this, c, R + h, v);
            SetCellEx(c, R, v);
            break;
        }
        }
    }
}

void TExStringGrid::FloatFooterUpdate()
{
    TBaseGrid::FloatFooterUpdate();
    UpdateFooter();
}

void TExStringGrid::UpdateFooter() { FloatingFooter().Invalidate(); }

void TExStringGrid::TopLeftChanged()
{
    TBaseGrid::TopLeftChanged();
    UpdateFooter();
    CellControlsUpdate();
}

void TExStringGrid::ScreenToCell(TPoint Pt, int& ACol, int& ARow) const
{
    const TPoint p = ShownPoint(ScreenToClient(Pt));
    MouseToCell(p.X, p.Y, ACol, ARow);
}

void TExStringGrid::ScrollHint(TMessage& m, bool vertical)
{
    if (ScrollHints != shBoth && ScrollHints != (vertical ? shVertical : shHorizontal)) return;
    if (m.ScrollCode() == SB_ENDSCROLL) {
        if (flatScroll_.scrollHint) flatScroll_.scrollHint->ReleaseHandle();
        return;
    }
    if (m.ScrollCode() != SB_THUMBTRACK) return;
    const int count = vertical ? RowCount() : ColCount(), fixed = vertical ? FixedRows() : FixedCols();
    const int visible = vertical ? VisibleRowCount() : VisibleColCount();
    const int under = fixed + int(long(m.ScrollPos()) * (count - visible - fixed) / 127);
    std::string text = (vertical ? "Row : " : "Col : ") + std::to_string(under);
    if (OnScrollHint) OnScrollHint(const_cast<TExStringGrid*>(this), under, text);
    if (!flatScroll_.scrollHint) flatScroll_.scrollHint = new THintWindow(this);
    TRect r = flatScroll_.scrollHint->CalcHintRect(100, text, nullptr);
    TPoint at{0, 0};
    GetCursorPos(at);
    r = {at.X + 10, at.Y, at.X + 10 + r.Width(), at.Y + r.Height()};
    flatScroll_.scrollHint->SetColor(HintColor);
    flatScroll_.scrollHint->ActivateHint(r, text);
}

void TExStringGrid::ScrollMessage(TMessage& m, bool vertical)
{
    ScrollHint(m, vertical);
    if (ScrollSynch && m.ScrollCode() == SB_THUMBTRACK) {
        const int count = vertical ? RowCount() : ColCount(), fixed = vertical ? FixedRows() : FixedCols();
        const int span = count - (vertical ? VisibleRowCount() : VisibleColCount()) - fixed;
        const int first = std::clamp(fixed + int(long(m.ScrollPos()) * span / 127), fixed, count - 1);
        if (vertical) SetTopRow(first);
        else SetLeftCol(first);
    } else if (vertical) {
        TBaseGrid::WMVScroll(m);
    } else {
        TBaseGrid::WMHScroll(m);
    }
    UpdateVScrollBar();
    UpdateHScrollBar();
    if (HasCheckBox(RemapCol(Col()), Row()) && EditorMode()) HideEditor();
}

// ---------------------------------------------------------------- flat scroll bars

void TExStringGrid::SetScrollType(TScrollType v)
{
    if (v != scrollType_) {
        scrollType_ = v;
        if (v == ssNormal) {
            FlatDone();
        } else {
            FlatInit();
            FlatUpdate();
        }
    }
    UpdateType();
}

void TExStringGrid::SetScrollWidth(int v)
{
    flatScroll_.scrollWidth = v;
    UpdateWidth();
}

void TExStringGrid::SetScrollColor(TColor v)
{
    flatScroll_.scrollColor = v;
    UpdateColor();
}

void TExStringGrid::FlatInit()
{
    if (HandleAllocated()) flatScroll_.flatActive = InitializeFlatSB(Handle());
}

void TExStringGrid::FlatDone()
{
    if (!flatScroll_.flatActive) return;
    flatScroll_.flatActive = false;
    if (HandleAllocated()) UninitializeFlatSB(Handle());
}

void TExStringGrid::FlatSetScrollInfo(int Bar, const SCROLLINFO& Info, bool Redraw)
{
    if (flatScroll_.flatActive && HandleAllocated()) FlatSB_SetScrollInfo(Handle(), Bar, Info, Redraw);
}

void TExStringGrid::FlatSetScrollProp(unsigned Index, long Value, bool Redraw)
{
    if (flatScroll_.flatActive && HandleAllocated()) FlatSB_SetScrollProp(Handle(), Index, LPARAM(Value), Redraw);
}

void TExStringGrid::FlatShowScrollBar(int Bar, bool Show)
{
    if (!flatScroll_.flatActive || !HandleAllocated()) return;
    const TScrollStyle bars = ScrollBars();
    if (Bar == SB_HORZ && bars != ssHorizontal && bars != ssBoth) return;
    if (Bar == SB_VERT && bars != ssVertical && bars != ssBoth) return;
    FlatSB_ShowScrollBar(Handle(), Bar, Show);
}

void TExStringGrid::UpdateType()
{
    const long mode = scrollType_ == ssFlat ? FSB_FLAT_MODE : scrollType_ == ssEncarta ? FSB_ENCARTA_MODE : FSB_REGULAR_MODE;
    FlatSetScrollProp(WSB_PROP_VSTYLE, mode, true);
    FlatSetScrollProp(WSB_PROP_HSTYLE, mode, true);
}

void TExStringGrid::UpdateColor()
{
    if (flatScroll_.scrollColor == clNone) return;
    FlatSetScrollProp(WSB_PROP_VBKGCOLOR, long(flatScroll_.scrollColor), true);
    FlatSetScrollProp(WSB_PROP_HBKGCOLOR, long(flatScroll_.scrollColor), true);
}

void TExStringGrid::UpdateWidth()
{
    FlatSetScrollProp(WSB_PROP_CXVSCROLL, flatScroll_.scrollWidth, true);
    FlatSetScrollProp(WSB_PROP_CYHSCROLL, flatScroll_.scrollWidth, true);
}

void TExStringGrid::FlatUpdate()
{
    UpdateType();
    UpdateColor();
    UpdateWidth();
    FlatShowScrollBar(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
    UpdateVScrollBar();
    FlatShowScrollBar(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
    UpdateHScrollBar();
}

void TExStringGrid::UpdateVScrollBar()
{
    const TScrollStyle bars = ScrollBars();
    if (!flatScroll_.flatActive || (bars != ssVertical && bars != ssBoth)) return;
    SCROLLINFO si{};
    si.fMask = SIF_ALL;
    if (GetScrollInfo(Handle(), SB_VERT, si)) FlatSetScrollInfo(SB_VERT, si, true);
}

void TExStringGrid::UpdateHScrollBar()
{
    const TScrollStyle bars = ScrollBars();
    if (!flatScroll_.flatActive || (bars != ssHorizontal && bars != ssBoth)) return;
    SCROLLINFO si{};
    si.fMask = SIF_ALL;
    if (GetScrollInfo(Handle(), SB_HORZ, si)) FlatSetScrollInfo(SB_HORZ, si, true);
}

void TExStringGrid::WMHScroll(TWMHScroll& m)
{
    if (flatScroll_.flatActive && m.ScrollCode() == SB_THUMBPOSITION && ColCount() > 0) {
        // the flat bar's thumb runs on the proportional scale
        const int p = int(std::lround(VisibleColCount() * 128.0 / ColCount()));
        if (p < 128) {
            const int pos = int(std::lround(m.ScrollPos() * 127.0 / (128 - p)));
            m.WParam = WPARAM((unsigned(pos) & 0xFFFF) << 16 | (unsigned(m.ScrollCode()) & 0xFFFF));
        }
    }
    ScrollMessage(m, false);
    UpdateFooter();
}

void TExStringGrid::WMVScroll(TWMVScroll& m) { ScrollMessage(m, true); }

void TExStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    ++lookVersion_;
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    if (flatScroll_.flatActive && Parent()) {
        FlatShowScrollBar(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
        UpdateVScrollBar();
        FlatShowScrollBar(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
        UpdateHScrollBar();
    }
    if (Parent() && columnSize_ && columnSize_->Stretch() && ColCount() > 0 && !destroying_)
        StretchColumn(columnSize_->StretchColumn);
    if (fixed_.fixedFooters > 0 || fixed_.fixedRightCols > 0) Invalidate();
}

// ---------------------------------------------------------------- proportional thumbs

namespace {
// Sets range, page and position of one bar so that the thumb shows the part in view.
void ProportionalThumb(TWinControl& w, int bar, int outer, int F, int T, int L, bool vertical)
{
    if (T <= 0) {
        // Nothing scrolls: a full thumb, no division.
        SCROLLINFO si{};
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = 127;
        si.nPage = 128;
        si.nPos = 0;
        SetScrollInfo(w.Handle(), bar, si, true);
        return;
    }
    const double r = double(outer - F) / T;
    if (r >= 0.9999) return;
    SCROLLINFO si{};
    si.fMask = SIF_POS;
    GetScrollInfo(w.Handle(), bar, si);
    const int maxv = int((r + 127) / (1 - r));
    int pos = si.nPos;
    if (outer < T) pos = int(double(L) / (T - outer) * 128);
    else if (vertical) pos = 127;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(maxv, 0);
    si.nPage = unsigned(std::max(maxv - 126, 1));
    si.nPos = pos;
    SetScrollInfo(w.Handle(), bar, si, true);
}
}  // namespace

void TExStringGrid::UpdateScroller(bool vertical)
{
    if (!ScrollProportional || !HandleAllocated()) return;
    const int g = GridLineWidth();
    const int fixed = vertical ? FixedRows() : FixedCols(), count = vertical ? RowCount() : ColCount();
    const int first = vertical ? TopRow() : LeftCol();
    int F = g, T = g, L = g;
    for (int i = 0; i < count; ++i) {
        const int size = (vertical ? RowHeights(i) : ColWidths(i)) + g;
        if (i < fixed) F += size;
        else T += size;
        if (i >= fixed && i < first) L += size;
    }
    if (count <= fixed) T = 0;
    ProportionalThumb(*this, vertical ? SB_VERT : SB_HORZ, vertical ? Height() : Width(), F, T, L, vertical);
    if (vertical) UpdateVScrollBar();
    else UpdateHScrollBar();
}

void TExStringGrid::SetScrollProportional(bool v)
{
    const bool was = ScrollProportional;
    ScrollProportional = v;
    if (v) {
        UpdateHScroller();
        UpdateVScroller();
        return;
    }
    if (flatScroll_.flatActive && scrollType_ == ssNormal) FlatDone();
    if (!was || !HandleAllocated()) return;
    // a proportional page left on the bars would no longer fit the grid's positions 0..127
    for (int bar : {SB_HORZ, SB_VERT}) {
        SCROLLINFO si{};
        si.fMask = SIF_PAGE;
        si.nPage = 0;
        SetScrollInfo(Handle(), bar, si, true);
    }
    UpdateScrollRange();
    UpdateVScrollBar();
    UpdateHScrollBar();
}

void TExStringGrid::SetScrollBarsEx(TScrollStyle v)
{
    SetScrollBars(v);
    if (!flatScroll_.flatActive) return;
    // a bar that goes away hides its flat bar too
    const bool h = v == ssHorizontal || v == ssBoth, vert = v == ssVertical || v == ssBoth;
    if (!h && HandleAllocated()) FlatSB_ShowScrollBar(Handle(), SB_HORZ, false);
    if (!vert && HandleAllocated()) FlatSB_ShowScrollBar(Handle(), SB_VERT, false);
    FlatUpdate();
}

// ---------------------------------------------------------------- sizing zones

bool TExStringGrid::InSizeZone(int X, int Y)
{
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0) return false;
    const TRect rc = CellRect(c, r);
    bool in = false;
    if (r <= FixedRows() && (Options() & goColSizing)) in = X - rc.Left < 4 || rc.Right - X < 4;
    if (c <= FixedCols() && (Options() & goRowSizing)) in = Y - rc.Top < 4 || rc.Bottom - Y < 4;
    return in;
}

}  // namespace grid

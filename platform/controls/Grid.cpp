// The base grid: layout, scrolling, painting, the current cell and the selection.
// Keys, the mouse and the editor are in GridInput.cpp.
#include <algorithm>

#include "platform/controls/Grids.h"
#include "platform/graphics/GDI.h"

namespace platform {

// ---------------------------------------------------------------- layout of one direction

int TCustomGrid::Axis::FixedExtent() const
{
    int x = 0;
    for (int i = 0; i < fixed; ++i) x += Size(i) + line;
    return x;
}

int TCustomGrid::Axis::Start(int i) const
{
    if (i < 0 || i >= count) return -1;
    int x = 0;
    if (i < fixed) {
        for (int k = 0; k < i; ++k) x += Size(k) + line;
        return x < extent ? x : -1;
    }
    if (i < first) return -1;
    x = FixedExtent();
    for (int k = first; k < i; ++k) {
        x += Size(k) + line;
        if (x >= extent) return -1;
    }
    return x < extent ? x : -1;
}

int TCustomGrid::Axis::At(int pos) const
{
    if (pos < 0) return -1;
    int x = 0;
    for (int i = 0; i < fixed; ++i) {
        x += Size(i) + line;
        if (pos < x) return i;
    }
    for (int i = first; i < count && x < extent; ++i) {
        x += Size(i) + line;
        if (pos < x) return i;
    }
    return -1;
}

int TCustomGrid::Axis::LastFull() const
{
    int x = FixedExtent(), last = first - 1;
    for (int i = first; i < count; ++i) {
        x += Size(i);
        if (x > extent) break;
        last = i;
        x += line;
    }
    return last;
}

int TCustomGrid::Axis::MaxFirst() const
{
    const int room = extent - FixedExtent();
    int used = 0, f = count;
    while (f > fixed) {
        const int add = Size(f - 1) + (f < count ? line : 0);
        if (used + add > room) break;
        used += add;
        --f;
    }
    return std::max(fixed, std::min(f, count - 1));
}

int TCustomGrid::Axis::FirstShowing(int i) const
{
    const int room = extent - FixedExtent();
    int used = Size(i), f = i;
    while (f > fixed && used + line + Size(f - 1) <= room) {
        used += line + Size(f - 1);
        --f;
    }
    return f;
}

TCustomGrid::Axis TCustomGrid::Layout(bool vertical) const
{
    const TRect c = ClientRect();
    if (vertical) return {&rowHeights_, rowCount_, fixedRows_, topLeft_.Y, c.Height(), LineWidth(true)};
    return {&colWidths_, colCount_, fixedCols_, topLeft_.X, c.Width(), LineWidth(false)};
}

int TCustomGrid::LineWidth(bool vertical) const
{
    const TGridOptions lines = vertical ? (goFixedHorzLine | goHorzLine) : (goFixedVertLine | goVertLine);
    return (options_ & lines) ? gridLineWidth_ : 0;
}

// ---------------------------------------------------------------- construction and properties

TCustomGrid::TCustomGrid(TComponent* AOwner)
    : TCustomControl(AOwner),
      options_(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect)
{
    ControlStyle |= csOpaque | csDoubleClicks;
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 320, 120);
    ChangeSize(5, 5);
    fixedCols_ = fixedRows_ = 1;
    current_ = anchor_ = topLeft_ = {1, 1};
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
}

void TCustomGrid::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollRange();
}

void TCustomGrid::ChangeSize(int newCols, int newRows)
{
    const int oldCols = colCount_, oldRows = rowCount_;
    colWidths_.resize(std::size_t(newCols), defaultColWidth_);
    tabStops_.resize(std::size_t(newCols), true);
    rowHeights_.resize(std::size_t(newRows), defaultRowHeight_);
    colCount_ = newCols;
    rowCount_ = newRows;
    if (oldCols == 0) return;  // construction
    // The current cell, the anchor and the view stay inside.
    auto clampCell = [&](TGridCoord& p) {
        p.X = std::clamp(p.X, fixedCols_, std::max(fixedCols_, colCount_ - 1));
        p.Y = std::clamp(p.Y, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
    };
    clampCell(current_);
    clampCell(anchor_);
    clampCell(topLeft_);
    SizeChanged(oldCols, oldRows);
    UpdateScrollRange();
    MoveTopLeft(topLeft_.X, topLeft_.Y);  // fewer cells may leave room above
    Invalidate();
    InvalidateEditor();
}

void TCustomGrid::SetColCount(int v)
{
    v = std::max(1, v);
    if (v == colCount_) return;
    if (fixedCols_ >= v) fixedCols_ = v - 1;
    ChangeSize(v, rowCount_);
}

void TCustomGrid::SetRowCount(int v)
{
    v = std::max(1, v);
    if (v == rowCount_) return;
    if (fixedRows_ >= v) fixedRows_ = v - 1;
    ChangeSize(colCount_, v);
}

void TCustomGrid::SetFixedCols(int v)
{
    if (v < 0) throw EInvalidGridOperation("Fixed column count cannot be negative");
    if (v >= colCount_) throw EInvalidGridOperation("Fixed column count must be less than column count");
    if (v == fixedCols_) return;
    fixedCols_ = v;
    FixedChanged();
}

void TCustomGrid::SetFixedRows(int v)
{
    if (v < 0) throw EInvalidGridOperation("Fixed row count cannot be negative");
    if (v >= rowCount_) throw EInvalidGridOperation("Fixed row count must be less than row count");
    if (v == fixedRows_) return;
    fixedRows_ = v;
    FixedChanged();
}

void TCustomGrid::FixedChanged()
{
    // The current cell and the view start after the fixed part.
    auto clampCell = [&](TGridCoord& p) {
        p.X = std::clamp(p.X, fixedCols_, std::max(fixedCols_, colCount_ - 1));
        p.Y = std::clamp(p.Y, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
    };
    clampCell(current_);
    clampCell(anchor_);
    topLeft_ = {fixedCols_, fixedRows_};
    UpdateScrollRange();
    Invalidate();
    InvalidateEditor();
}

void TCustomGrid::SetDefaultColWidth(int v)
{
    defaultColWidth_ = std::max(0, v);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int v)
{
    defaultRowHeight_ = std::max(0, v);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
    RowHeightsChanged();
}

int TCustomGrid::ColWidths(int i) const
{
    return i >= 0 && i < colCount_ ? colWidths_[std::size_t(i)] : defaultColWidth_;
}

void TCustomGrid::SetColWidths(int i, int w)
{
    if (i < 0 || i >= colCount_) throw EInvalidGridOperation("Grid index out of range");
    w = std::max(0, w);
    if (colWidths_[std::size_t(i)] == w) return;
    colWidths_[std::size_t(i)] = w;
    ColWidthsChanged();
}

int TCustomGrid::RowHeights(int i) const
{
    return i >= 0 && i < rowCount_ ? rowHeights_[std::size_t(i)] : defaultRowHeight_;
}

void TCustomGrid::SetRowHeights(int i, int h)
{
    if (i < 0 || i >= rowCount_) throw EInvalidGridOperation("Grid index out of range");
    h = std::max(0, h);
    if (rowHeights_[std::size_t(i)] == h) return;
    rowHeights_[std::size_t(i)] = h;
    RowHeightsChanged();
}

bool TCustomGrid::TabStops(int i) const { return i >= 0 && i < colCount_ && tabStops_[std::size_t(i)]; }

void TCustomGrid::SetTabStops(int i, bool v)
{
    if (i < 0 || i >= colCount_) throw EInvalidGridOperation("Grid index out of range");
    tabStops_[std::size_t(i)] = v;
}

void TCustomGrid::SetGridLineWidth(int v)
{
    v = std::max(0, v);
    if (v == gridLineWidth_) return;
    gridLineWidth_ = v;
    ColWidthsChanged();
    RowHeightsChanged();
}

void TCustomGrid::SetOptions(TGridOptions v)
{
    if (v == options_) return;
    options_ = v;
    if (!(v & goEditing) || (v & goRowSelect)) HideEditor();
    else if (v & goAlwaysShowEditor) ShowEditor();
    if (v & goRowSelect) anchor_.X = current_.X;
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor c)
{
    if (c == fixedColor_) return;
    fixedColor_ = c;
    Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool v)
{
    if (v == defaultDrawing_) return;
    defaultDrawing_ = v;
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle s)
{
    if (s == scrollBars_) return;
    scrollBars_ = s;
    if (HandleAllocated()) {
        // Both bars start again from nothing, so that a bar kept shows again; the resizes
        // this causes do not set them up half way.
        updatingScroll_ = true;
        SCROLLINFO none{};
        none.fMask = SIF_RANGE | SIF_POS;
        for (int bar : {SB_VERT, SB_HORZ}) {
            SetScrollInfo(Handle(), bar, none, false);
            ShowScrollBar(Handle(), bar, false);
        }
        updatingScroll_ = false;
    }
    UpdateScrollRange();
}

void TCustomGrid::SetBorderStyle(TBorderStyle s)
{
    if (s == borderStyle_) return;
    borderStyle_ = s;
    RecreateWnd();
}

void TCustomGrid::CMFontChanged(TMessage& m)
{
    TCustomControl::CMFontChanged(m);
    if (inplaceEdit_) inplaceEdit_->Font()->Assign(*Font());
}

// ---------------------------------------------------------------- position and geometry

void TCustomGrid::SetCol(int v)
{
    if (v != current_.X) FocusCell(v, current_.Y, true);
}

void TCustomGrid::SetRow(int v)
{
    if (v != current_.Y) FocusCell(current_.X, v, true);
}

TGridRect TCustomGrid::ClampedSelection(const TGridRect& r) const
{
    TGridRect s{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                std::max(r.Top, r.Bottom)};
    if (options_ & goRowSelect) {
        s.Left = fixedCols_;
        s.Right = colCount_ - 1;
    }
    return s;
}

TGridRect TCustomGrid::Selection() const
{
    return ClampedSelection({anchor_.X, anchor_.Y, current_.X, current_.Y});
}

void TCustomGrid::SetSelection(const TGridRect& r)
{
    const TGridRect old = Selection();
    const TGridRect n = ClampedSelection(r);
    auto inside = [&](int c, int rr) { return c >= fixedCols_ && c < colCount_ && rr >= fixedRows_ && rr < rowCount_; };
    if (!inside(n.Left, n.Top) || !inside(n.Right, n.Bottom))
        throw EInvalidGridOperation("Grid index out of range");
    anchor_ = {r.Left, r.Top};
    current_ = {r.Right, r.Bottom};
    if (!(options_ & goRangeSelect)) anchor_ = current_;
    ClampInView();
    InvalidateSelection(old);
    InvalidateSelection(Selection());
}

void TCustomGrid::SetLeftCol(int v) { MoveTopLeft(v, topLeft_.Y); }
void TCustomGrid::SetTopRow(int v) { MoveTopLeft(topLeft_.X, v); }

int TCustomGrid::VisibleColCount() const
{
    const Axis a = Layout(false);
    if (a.first >= a.count || a.Start(a.first) < 0) return 0;
    return std::max(1, a.LastFull() - a.first + 1);
}

int TCustomGrid::VisibleRowCount() const
{
    const Axis a = Layout(true);
    if (a.first >= a.count || a.Start(a.first) < 0) return 0;
    return std::max(1, a.LastFull() - a.first + 1);
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const
{
    const Axis h = Layout(false), v = Layout(true);
    const int x = h.Start(ACol), y = v.Start(ARow);
    if (x < 0 || y < 0) return {};
    return {x, y, std::min(x + h.Size(ACol), h.extent), std::min(y + v.Size(ARow), v.extent)};
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const
{
    const TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const
{
    const Axis h = Layout(false), v = Layout(true);
    TGridCoord c{h.At(X), v.At(Y)};
    if (X >= h.extent || Y >= v.extent || c.X < 0 || c.Y < 0) return {-1, -1};
    return c;
}

int TCustomGrid::MaxTopLeft(bool vertical) const { return Layout(vertical).MaxFirst(); }

// ---------------------------------------------------------------- moving the current cell and the view

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) { MoveCurrent(ACol, ARow, MoveAnchor, true); }

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    if (ACol < 0 || ARow < 0 || ACol >= colCount_ || ARow >= rowCount_)
        throw EInvalidGridOperation("Grid index out of range");
    if (editorMode_) UpdateText();
    if (!SelectCell(ACol, ARow)) return;
    const TGridRect old = Selection();
    const bool moved = ACol != current_.X || ARow != current_.Y;
    // The editor's text belongs to the cell it was opened on: it goes before the move.
    if (moved && !(options_ & goAlwaysShowEditor)) HideEditor();
    current_ = {ACol, ARow};
    if (MoveAnchor || !(options_ & goRangeSelect)) anchor_ = current_;
    if (options_ & goRowSelect) anchor_.X = current_.X;
    if (Show) ClampInView();
    InvalidateSelection(old);
    InvalidateSelection(Selection());
    InvalidateCell(current_.X, current_.Y);
    if (moved && (options_ & goAlwaysShowEditor)) ShowEditor();
    else InvalidateEditor();
}

void TCustomGrid::ClampInView()
{
    if (!HandleAllocated()) return;
    const Axis h = Layout(false), v = Layout(true);
    int left = topLeft_.X, top = topLeft_.Y;
    if (current_.X >= fixedCols_) {
        if (current_.X < left) left = current_.X;
        else if (current_.X > h.LastFull()) left = h.FirstShowing(current_.X);
    }
    if (current_.Y >= fixedRows_) {
        if (current_.Y < top) top = current_.Y;
        else if (current_.Y > v.LastFull()) top = v.FirstShowing(current_.Y);
    }
    MoveTopLeft(left, top);
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop)
{
    ALeft = std::clamp(ALeft, fixedCols_, std::max(fixedCols_, MaxTopLeft(false)));
    ATop = std::clamp(ATop, fixedRows_, std::max(fixedRows_, MaxTopLeft(true)));
    if (ALeft == topLeft_.X && ATop == topLeft_.Y) return;
    topLeft_ = {ALeft, ATop};
    Invalidate();
    UpdateScrollPos();
    TopLeftChanged();
    InvalidateEditor();
}

void TCustomGrid::InvalidateSelection(const TGridRect& r)
{
    if (!HandleAllocated()) return;
    const Axis h = Layout(false), v = Layout(true);
    // Only the part in view: from the first shown cell of the block to its last.
    auto span = [](const Axis& a, int lo, int hi, int& from, int& to) {
        from = -1;
        to = -1;
        for (int i = lo; i <= hi && i < a.count; ++i) {
            const int s = a.Start(i);
            if (s < 0) {
                if (i >= a.first && from >= 0) break;
                continue;
            }
            if (from < 0) from = s;
            to = std::min(s + a.Size(i) + a.line, a.extent);
        }
    };
    int x0, x1, y0, y1;
    span(h, r.Left, r.Right, x0, x1);
    span(v, r.Top, r.Bottom, y0, y1);
    if (x0 >= 0 && y0 >= 0) InvalidateRect(Rect(x0, y0, x1, y1));
}

void TCustomGrid::InvalidateCell(int ACol, int ARow)
{
    if (!HandleAllocated()) return;
    InvalidateSelection({ACol, ARow, ACol, ARow});
}

void TCustomGrid::InvalidateCol(int ACol)
{
    if (HandleAllocated()) InvalidateSelection({ACol, 0, ACol, rowCount_ - 1});
}

void TCustomGrid::InvalidateRow(int ARow)
{
    if (HandleAllocated()) InvalidateSelection({0, ARow, colCount_ - 1, ARow});
}

// ---------------------------------------------------------------- the virtual protocol's defaults

bool TCustomGrid::SelectCell(int, int) { return true; }

void TCustomGrid::TopLeftChanged() {}

void TCustomGrid::SizeChanged(int, int) {}

void TCustomGrid::ColWidthsChanged()
{
    UpdateScrollRange();
    Invalidate();
    InvalidateEditor();
}

void TCustomGrid::RowHeightsChanged()
{
    UpdateScrollRange();
    Invalidate();
    InvalidateEditor();
}

void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}

void TCustomGrid::MoveAdjust(int& v, int from, int to)
{
    if (v == from) v = to;
    else if (from < to && v > from && v <= to) --v;
    else if (from > to && v >= to && v < from) ++v;
}

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex == ToIndex) return;
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= colCount_ || ToIndex >= colCount_)
        throw EInvalidGridOperation("Grid index out of range");
    HideEditor();
    auto moveIn = [&](auto& v) {
        auto item = v[std::size_t(FromIndex)];
        v.erase(v.begin() + FromIndex);
        v.insert(v.begin() + ToIndex, item);
    };
    moveIn(colWidths_);
    moveIn(tabStops_);
    MoveAdjust(current_.X, FromIndex, ToIndex);
    MoveAdjust(anchor_.X, FromIndex, ToIndex);
    ColumnMoved(FromIndex, ToIndex);
    ColWidthsChanged();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex == ToIndex) return;
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= rowCount_ || ToIndex >= rowCount_)
        throw EInvalidGridOperation("Grid index out of range");
    HideEditor();
    const int h = rowHeights_[std::size_t(FromIndex)];
    rowHeights_.erase(rowHeights_.begin() + FromIndex);
    rowHeights_.insert(rowHeights_.begin() + ToIndex, h);
    MoveAdjust(current_.Y, FromIndex, ToIndex);
    MoveAdjust(anchor_.Y, FromIndex, ToIndex);
    RowMoved(FromIndex, ToIndex);
    RowHeightsChanged();
}

void TCustomGrid::DeleteColumn(int ACol)
{
    MoveColumn(ACol, colCount_ - 1);
    SetColCount(colCount_ - 1);
}

void TCustomGrid::DeleteRow(int ARow)
{
    MoveRow(ARow, rowCount_ - 1);
    SetRowCount(rowCount_ - 1);
}

// ---------------------------------------------------------------- scroll bars

void TCustomGrid::UpdateScrollRange()
{
    if (!HandleAllocated() || updatingScroll_) return;
    updatingScroll_ = true;
    // A bar that shows narrows the client area, which may call for the other bar.
    for (int pass = 0; pass < 3; ++pass) {
        bool changed = false;
        for (int vertical = 0; vertical < 2; ++vertical) {
            const bool wanted = vertical ? (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
                                         : (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth);
            const int bar = vertical ? SB_VERT : SB_HORZ;
            const Axis a = Layout(vertical != 0);
            const int maxFirst = a.MaxFirst();
            SCROLLINFO old;
            old.fMask = SIF_ALL;
            GetScrollInfo(Handle(), bar, old);
            SCROLLINFO si;
            si.fMask = SIF_RANGE | SIF_POS;
            if (wanted && maxFirst > a.fixed) {
                // Positions 0..127 stand for the first scrolling cell from fixed to maxFirst.
                si.nMin = 0;
                si.nMax = 127;
                si.nPos = int((long long)(std::min(a.first, maxFirst) - a.fixed) * 127 / (maxFirst - a.fixed));
            } else {
                si.nMin = si.nMax = si.nPos = 0;
            }
            if (old.nMin != si.nMin || old.nMax != si.nMax || old.nPos != si.nPos) {
                const TRect before = ClientRect();
                SetScrollInfo(Handle(), bar, si, true);
                if (!(ClientRect() == before)) changed = true;
            }
        }
        if (!changed) break;
    }
    updatingScroll_ = false;
}

void TCustomGrid::WMHScroll(TWMHScroll& m) { ScrollMessage(false, m.ScrollCode(), m.ScrollPos()); }
void TCustomGrid::WMVScroll(TWMVScroll& m) { ScrollMessage(true, m.ScrollCode(), m.ScrollPos()); }

void TCustomGrid::ScrollMessage(bool vertical, int code, int pos)
{
    const Axis a = Layout(vertical);
    const int page = std::max(1, vertical ? VisibleRowCount() : VisibleColCount());
    const int maxFirst = a.MaxFirst();
    int first = a.first;
    switch (code) {
    case SB_LINEUP: --first; break;
    case SB_LINEDOWN: ++first; break;
    case SB_PAGEUP: first -= page; break;
    case SB_PAGEDOWN: first += page; break;
    case SB_TOP: first = a.fixed; break;
    case SB_BOTTOM: first = maxFirst; break;
    case SB_THUMBTRACK:
        if (!(options_ & goThumbTracking)) return;
        [[fallthrough]];
    case SB_THUMBPOSITION: {
        first = a.fixed + int((long long)std::clamp(pos, 0, 127) * (maxFirst - a.fixed) / 127);
        break;
    }
    default: return;
    }
    if (vertical) MoveTopLeft(topLeft_.X, first);
    else MoveTopLeft(first, topLeft_.Y);
    UpdateScrollPos();
}

void TCustomGrid::UpdateScrollPos()
{
    if (!HandleAllocated() || updatingScroll_) return;
    for (int vertical = 0; vertical < 2; ++vertical) {
        const int bar = vertical ? SB_VERT : SB_HORZ;
        SCROLLINFO si;
        si.fMask = SIF_RANGE;
        GetScrollInfo(Handle(), bar, si);
        if (si.nMax <= si.nMin) continue;  // no bar
        const Axis a = Layout(vertical != 0);
        const int maxFirst = a.MaxFirst();
        const int pos = maxFirst > a.fixed ? int((long long)(std::min(a.first, maxFirst) - a.fixed) * 127 / (maxFirst - a.fixed)) : 0;
        if (GetScrollPos(Handle(), bar) != pos) SetScrollPos(Handle(), bar, pos, true);
    }
}

// ---------------------------------------------------------------- painting

void TCustomGrid::PaintCell(int ACol, int ARow, const TRect& r, TGridDrawState state)
{
    TCanvas* c = Canvas();
    const bool fixed = state & gdFixed;
    const bool focused = state & gdFocused;
    const bool highlight =
        !fixed && (state & gdSelected) && (!focused || (options_ & (goDrawFocusSelected | goRowSelect)));
    if (defaultDrawing_) {
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(fixed ? fixedColor_ : highlight ? TColor(clHighlight) : Color());
        c->Font().Assign(*Font());
        if (highlight) c->Font().SetColor(clHighlightText);
        c->FillRect(r);
    }
    DrawCell(ACol, ARow, r, state);
    if (!defaultDrawing_) return;
    if (fixed && (options_ & (goFixedVertLine | goFixedHorzLine)) == (goFixedVertLine | goFixedHorzLine)) {
        TRect e = r;
        DrawEdge(c->Handle(), e, BDR_RAISEDINNER, BF_RECT);
    }
    if (focused && !editorMode_ && !(options_ & goRowSelect)) c->DrawFocusRect(r);
}

void TCustomGrid::Paint()
{
    TCanvas* c = Canvas();
    const Axis h = Layout(false), v = Layout(true);
    TRect clip;
    GetClipBox(c->Handle(), &clip);
    const TGridRect sel = Selection();
    const bool hasFocus = Focused() || (inplaceEdit_ && inplaceEdit_->Focused());
    c->Font().Assign(*Font());
    int gridRight = 0, gridBottom = 0;
    // Rows: the fixed ones, then from TopRow while they show.
    auto walk = [](const Axis& a, auto&& each) {
        int pos = 0;
        for (int i = 0; i < a.fixed && pos < a.extent; ++i) {
            each(i, pos);
            pos += a.Size(i) + a.line;
        }
        for (int i = a.first; i < a.count && pos < a.extent; ++i) {
            each(i, pos);
            pos += a.Size(i) + a.line;
        }
        return std::min(pos, a.extent);
    };
    const TColor lineColor = clSilver, fixedLineColor = clBlack;
    gridBottom = walk(v, [&](int row, int y) {
        const int rh = v.Size(row);
        if (y + rh + v.line <= clip.Top || y >= clip.Bottom) return;
        gridRight = walk(h, [&](int col, int x) {
            const int cw = h.Size(col);
            if (x + cw + h.line <= clip.Left || x >= clip.Right) return;
            const bool fixed = col < fixedCols_ || row < fixedRows_;
            TGridDrawState state = 0;
            if (fixed) state |= gdFixed;
            else {
                if (col >= sel.Left && col <= sel.Right && row >= sel.Top && row <= sel.Bottom) state |= gdSelected;
                if (col == current_.X && row == current_.Y && hasFocus) state |= gdFocused;
            }
            const TRect r = Rect(x, y, x + cw, y + rh);
            PaintCell(col, row, r, state);
            // The lines right of and below the cell.
            const TColor cellBack = fixed ? fixedColor_ : Color();
            if (h.line > 0) {
                const bool drawn = (options_ & (fixed ? goFixedVertLine : goVertLine)) != 0;
                c->Brush().SetStyle(bsSolid);
                c->Brush().SetColor(drawn ? (fixed ? fixedLineColor : lineColor) : cellBack);
                c->FillRect(Rect(x + cw, y, x + cw + h.line, y + rh + v.line));
            }
            if (v.line > 0) {
                const bool drawn = (options_ & (fixed ? goFixedHorzLine : goHorzLine)) != 0;
                c->Brush().SetStyle(bsSolid);
                c->Brush().SetColor(drawn ? (fixed ? fixedLineColor : lineColor) : cellBack);
                c->FillRect(Rect(x, y + rh, x + cw, y + rh + v.line));
            }
        });
    });
    if (gridRight == 0) gridRight = walk(h, [](int, int) {});
    // What lies beyond the last column and row.
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(Color());
    if (gridRight < h.extent) c->FillRect(Rect(gridRight, 0, h.extent, v.extent));
    if (gridBottom < v.extent) c->FillRect(Rect(0, gridBottom, gridRight, v.extent));
    // The paint covered the sizing line; it shows again while sizing goes on.
    if (sizingLineShown_) {
        sizingLineShown_ = false;
        if (gridState_ == gsColSizing || gridState_ == gsRowSizing) DrawSizingLine(sizingPos_);
    }
}

void TCustomGrid::WMSize(TWMSize& m)
{
    TCustomControl::WMSize(m);
    UpdateScrollRange();
    // A larger window may show cells left of the view.
    MoveTopLeft(topLeft_.X, topLeft_.Y);
    InvalidateEditor();
}

}  // namespace platform

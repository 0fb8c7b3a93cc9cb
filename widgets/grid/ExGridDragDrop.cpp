// Dragging the grid's cells, rows and columns to the program's windows, and what the grid
// does with text, rich text, columns and files dropped on it.
#include <algorithm>
#include <cstdlib>

#include "base/FileUtils.h"
#include "base/ScopeGuard.h"
#include "base/StrUtils.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/GrdDD.h"

using namespace platform;

namespace grid {

namespace {

// Lines of dropped text as the paste writes them: a final line break ends the last line.
int LineCount(const std::string& text)
{
    int lines = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i)
        if (text[i] == '\r') {
            ++lines;
            start = i + 1 < text.size() && text[i + 1] == '\n' ? i + 2 : i + 1;
        }
    const std::size_t end = text.find('\0');
    return lines + ((end == std::string::npos ? text.size() : end) > start || lines == 0 ? 1 : 0);
}

bool Inside(const TRect& r, int c, int y) { return c >= r.Left && c <= r.Right && y >= r.Top && y <= r.Bottom; }

}  // namespace

// ---------------------------------------------------------------- drop source and target

class TGridDropSource : public TGRDDropSource {
public:
    explicit TGridDropSource(TExStringGrid* AGrid) : grid_(AGrid) {}

protected:
    // The drag image follows the mouse: its left edge at the mouse, its bottom there too.
    void QueryDrag(TPoint screen) override
    {
        TPopupButton* image = grid_->PopupButton();
        if (image->Visible()) image->SetBounds(screen.X, screen.Y - image->Height(), image->Width(), image->Height());
    }

private:
    TExStringGrid* grid_;
};

class TGridDropTarget : public TGRDDropTarget {
public:
    explicit TGridDropTarget(TExStringGrid* AGrid) : grid_(AGrid) { AcceptCols = true; }
    void DragMouseEnter() override;
    void DragMouseMove(TPoint screen, bool& allow, TDropFormats formats) override;
    void DragMouseLeave() override { HideArrows(true, true, false); }
    void DropCol(TPoint screen, int colIndex) override;
    void DropText(TPoint screen, const std::string& text) override;
    void DropRTF(TPoint screen, const std::string& rtf) override;
    void DropFiles(TPoint screen, const std::vector<std::string>& files) override;

private:
    TGridCoord CellAt(TPoint screen) const
    {
        const TPoint p = grid_->ShownPoint(grid_->ScreenToClient(screen));
        return grid_->MouseCoord(p.X, p.Y);
    }
    // The arrow's top-left corner at (x, y) of the grid's client area as laid out; a
    // right-to-left grid shows it mirrored, a row's arrow pointing the other way.
    void ShowArrow(TArrowDirection d, int x, int y) const
    {
        const int w = d == arrLeft || d == arrRight ? 9 : d == arrUp ? 11 : 10;
        const int h = d == arrLeft || d == arrRight ? 11 : d == arrUp ? 10 : 9;
        const TRect shown = grid_->ShownRect(TRect{x, y, x + w, y + h});
        if (grid_->GridRightToLeft() && (d == arrLeft || d == arrRight)) d = d == arrLeft ? arrRight : arrLeft;
        TArrowWindow* a = grid_->ArrowWindow(d);
        const TPoint at = grid_->ClientToScreen(TPoint{shown.Left, shown.Top});
        a->SetBounds(at.X, at.Y, w, h);
        a->SetVisible(true);
    }
    void HideArrows(bool row, bool cols, bool image) const
    {
        if (row) {
            grid_->ArrowWindow(arrLeft)->SetVisible(false);
            if (grid_->GridRightToLeft()) grid_->ArrowWindow(arrRight)->SetVisible(false);
        }
        if (cols) {
            grid_->ArrowWindow(arrDown)->SetVisible(false);
            grid_->ArrowWindow(arrUp)->SetVisible(false);
        }
        if (image) grid_->PopupButton()->SetVisible(false);
    }
    TExStringGrid* grid_;
};

TDragDropSettings::~TDragDropSettings()
{
    if (registered_) RevokeDragDrop(owner_);
}

void TDragDropSettings::SetOleDropTarget(bool Value)
{
    dropTarget_ = Value;
    if (Value) {
        if (!target_) target_ = std::make_shared<TGridDropTarget>(owner_);
        target_->AcceptText = OleAcceptText;
        target_->AcceptFiles = OleAcceptFiles;
        if (!registered_) registered_ = RegisterDragDrop(owner_, target_);
    } else if (registered_) {
        RevokeDragDrop(owner_);
        registered_ = false;
    }
}

TDropTarget* TDragDropSettings::DropTarget() const { return target_.get(); }

void TDragDropSettings::SetOleDropRTF(bool Value)
{
    SetRTFAware(Value);
    dropRTF_ = Value;
}

void TGridDropTarget::DragMouseEnter()
{
    AcceptText = grid_->DragDropSettings.OleAcceptText;
    AcceptFiles = grid_->DragDropSettings.OleAcceptFiles;
}

void TGridDropTarget::DragMouseMove(TPoint screen, bool& allow, TDropFormats formats)
{
    TExStringGrid& g = *grid_;
    const TGridCoord cell = CellAt(screen);
    const bool column = formats & dfCol;
    allow = allow && cell.X >= 0 && cell.Y >= 0;
    if (!column && allow) {
        // over the header or the part-shown row below the view, the view follows the mouse
        if (cell.Y == 0 && g.TopRow() > g.FixedRows()) g.SetTopRow(g.TopRow() - 1);
        else if (cell.Y == g.TopRow() + g.VisibleRowCount() && cell.Y < g.RowCount()) g.SetTopRow(g.TopRow() + 1);
    }
    if (!column && cell.Y < g.FixedRows() && !(g.RowCount() == 1 && g.FixedRowAlways())) allow = false;
    if (column && (cell.Y >= g.FixedRows() || cell.X < g.FixedCols())) allow = false;
    if (g.OnOleDragOver) g.OnOleDragOver(&g, cell.Y, cell.X, allow);
    if (allow && column) {
        const TRect r = g.CellRect(cell.X, cell.Y);
        ShowArrow(arrDown, r.Left - 5, r.Top - 8);
        ShowArrow(arrUp, r.Left - 5, r.Bottom);
        HideArrows(true, false, false);
    } else if (allow) {
        const int row = std::min(cell.Y == 0 && g.FixedRowAlways() ? 1 : cell.Y, g.RowCount() - 1);
        const int col = g.DragDropSettings.OleEntireRows ? g.FixedCols() : cell.X;
        const TRect r = g.CellRect(col, row);
        ShowArrow(arrLeft, r.Left - 10, r.Top - 5);
        HideArrows(false, true, false);
    } else {
        HideArrows(true, true, false);
    }
}

void TGridDropTarget::DropCol(TPoint screen, int colIndex)
{
    HideArrows(false, true, true);
    const TGridCoord cell = CellAt(screen);
    if (grid_->OnOleDropCol) grid_->OnOleDropCol(grid_, cell.Y, cell.X, colIndex);
}

void TGridDropTarget::DropText(TPoint screen, const std::string& text)
{
    TExStringGrid& g = *grid_;
    HideArrows(true, true, true);
    const TGridCoord cell = CellAt(screen);
    int ACol = cell.X, ARow = cell.Y;
    if (ACol < 0 || ARow < 0) {
        Refuse();
        return;
    }
    TPoint size;
    g.PasteSize(text, size);
    const int lines = LineCount(text);
    const TDragDropSettings& dd = g.DragDropSettings;
    if (g.Options() & goRowSelect) ACol = dd.OleEntireRows ? 0 : g.FixedCols();
    bool allow = true;
    if (g.OnOleDrop) g.OnOleDrop(&g, ARow, ACol, text, allow);
    if (!allow) {
        Refuse();
        return;
    }
    if (ARow == 0 && g.FixedRowAlways() && g.RowCount() == 1) ARow = 1;
    if (dd.OleInsertRows) {
        int top = g.TopRow();
        if (top > g.FixedRows()) ++top;
        // rows inserted above the cells this grid is dragging move them down
        g.oleDrag_.RowsInserted(ARow, lines);
        g.InsertRows(ARow, lines);
        if (top > 0) g.SetTopRow(std::min(top, g.RowCount() - 1));
    }
    g.oleDrag_.oleDropping = true;
    {
        base::ScopeExit done([&g] { g.oleDrag_.oleDropping = false; });
        g.PasteText(ACol, ARow, text);
    }
    g.oleDrag_.oleDropRect = TRect{ACol, ARow, ACol + size.X - 1, ARow + lines - 1};
    const int left = std::max(ACol, g.FixedCols());
    const int width = (g.Options() & goRowSelect) ? size.X - g.FixedCols() : size.X - 1;
    const TRect sel{left, ARow, std::min(left + width, g.ColCount() - 1), std::min(ARow + lines - 1, g.RowCount() - 1)};
    if (sel.Left <= sel.Right && sel.Top <= sel.Bottom) g.SetSelection(TGridRect{sel.Left, sel.Top, sel.Right, sel.Bottom});
    if (g.OnOleDropped) g.OnOleDropped(&g, sel);
}

void TGridDropTarget::DropRTF(TPoint screen, const std::string& rtf)
{
    TExStringGrid& g = *grid_;
    HideArrows(true, true, false);
    const TGridCoord cell = CellAt(screen);
    bool allow = cell.X >= 0 && cell.Y >= 0;
    if (allow && g.OnOleDrop) g.OnOleDrop(&g, cell.Y, cell.X, rtf, allow);
    if (!allow) {
        Refuse();
        return;
    }
    g.SetCellEx(g.RemapCol(cell.X), cell.Y, rtf);
}

void TGridDropTarget::DropFiles(TPoint screen, const std::vector<std::string>& files)
{
    TExStringGrid& g = *grid_;
    HideArrows(true, true, false);
    if (files.size() != 1) {
        Refuse();
        return;
    }
    const std::string& name = files.front();
    const TGridCoord cell = CellAt(screen);
    bool allow = true;
    if (g.OnOleDropFile) g.OnOleDropFile(&g, cell.Y, cell.X, name, allow);
    const std::string ext = base::AnsiUpperCase(base::ExtractFileExt(name));
    const bool csv = ext == ".CSV", sheet = ext == ".XLS" || ext == ".XLSX";
    if (allow && (csv || sheet) && g.OnOleDrop) g.OnOleDrop(&g, -1, -1, name, allow);
    if (!allow || !(csv || sheet)) {
        Refuse();
        return;
    }
    if (csv) g.LoadFromCSV(name);
    else g.LoadFromXLS(name);
}

// ---------------------------------------------------------------- the drag from the grid

bool TExStringGrid::OleDragArm(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    oleDrag_.oleArmed = false;
    if (oleDrag_.olePressLate || Button != mbLeft || (Shift & ssDouble) || !DragDropSettings.OleDropSource) return false;
    TGridState state = gsNormal;
    int index = -1, pos = 0, ofs = 0;
    CalcSizingState(X, Y, state, index, pos, ofs);
    if (state != gsNormal || InSelectionResizer(X, Y)) return false;
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0 || cell.Y < 0) return false;
    const bool header = DragDropSettings.OleColumnDragDrop && cell.Y < FixedRows() && cell.X >= FixedCols();
    if (!header && !IsSelected(cell.X, cell.Y)) return false;
    oleDrag_.Arm(TPoint{X, Y}, Shift);
    if (CanFocus() && !Focused()) SetFocus();
    TCustomControl::MouseDown(Button, Shift, X, Y);
    return true;
}

void TExStringGrid::OleDragPressLate()
{
    oleDrag_.oleArmed = false;
    // the user's press handler has seen this press already
    TMouseEvent handler = std::move(OnMouseDown);
    OnMouseDown = nullptr;
    oleDrag_.olePressLate = true;
    base::ScopeExit back([&] {
        oleDrag_.olePressLate = false;
        OnMouseDown = std::move(handler);
    });
    MouseDown(mbLeft, oleDrag_.olePressShift, oleDrag_.olePress.X, oleDrag_.olePress.Y);
}

bool TExStringGrid::OleDragStart(int X, int Y)
{
    // A quick move may be past the grid by the time it counts as a drag: the drag is then
    // the pressed cell's, as a header drag always is (it carries the pressed column).
    const TGridCoord pressed = MouseCoord(oleDrag_.olePress.X, oleDrag_.olePress.Y);
    TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0 || cell.Y < 0 ||
        (pressed.X >= 0 && pressed.Y >= 0 && pressed.Y < FixedRows() && DragDropSettings.OleColumnDragDrop))
        cell = pressed;
    if (cell.X < 0 || cell.Y < 0 || !oleDrag_.LeftPress(X, Y) ||
        !DragDropSettings.OleDropSource || GridState() == gsColSizing)
        return true;  // still waiting
    oleDrag_.oleArmed = false;
    const int ARow = cell.Y, ACol = RemapCol(cell.X);
    bool allow = true;
    if (OnOleDrag) OnOleDrag(this, ARow, ACol, GetCellEx(ACol, ARow), allow);
    if (!allow) {
        // the move goes on as a range selection from the press
        OleDragPressLate();
        if (GridState() == gsNormal) SetGridState(gsSelecting);
        return false;
    }
    TGridDropSource source(this);
    if (OnOleDragStart) OnOleDragStart(this, ARow, ACol);
    int effect = DROPEFFECT_NONE;
    oleDrag_.oleDragging = true;
    oleDrag_.oleDropRect = TRect{-1, -1, -1, -1};
    struct Done {
        bool& dragging;
        ~Done() { dragging = false; }
    } done{oleDrag_.oleDragging};
    if (ARow < FixedRows() && ACol >= 0 && DragDropSettings.OleColumnDragDrop) {
        TPopupButton* image = PopupButton();
        image->Caption = GetCellEx(ACol, ARow);
        const TPoint at = ClientToScreen(TPoint{X, Y});
        image->SetBounds(at.X, at.Y - RowHeights(0), ColWidths(cell.X), RowHeights(0));
        ShowDragImage();
        const HRESULT r = StartColDoDragDrop(this, source, ACol, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
        if (r != DRAGDROP_S_CANCEL && OnOleDragStop) OnOleDragStop(this, effect);
        image->SetVisible(false);
        ArrowWindow(arrDown)->SetVisible(false);
        ArrowWindow(arrUp)->SetVisible(false);
        return true;
    }
    // the dragged text is the clipboard's text of the selection
    CorrectSelection();
    const bool disjunct = MouseActions.DisjunctRowSelect || MouseActions.DisjunctColSelect;
    const TGridRect s = Selection();
    oleDrag_.oleDragSel = TRect{s.Left, s.Top, s.Right, s.Bottom};
    // disjunct marks: the marked rows (columns) of the selection's columns (rows)
    const bool rows = MouseActions.DisjunctRowSelect, cols = MouseActions.DisjunctColSelect;
    const TGridRect copied{cols ? FixedCols() : s.Left, rows ? FixedRows() : s.Top, cols ? ColCount() - 1 : s.Right,
                           rows ? RowCount() - 1 : s.Bottom};
    const std::string text = CopyText(copied, disjunct);
    const HRESULT r =
        StartTextDoDragDrop(this, source, text, GetCellEx(ACol, ARow), DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    if (r != DRAGDROP_S_CANCEL) {
        if (effect == DROPEFFECT_MOVE) OleDragMoved(oleDrag_.oleDropRect);
        if (OnOleDragStop) OnOleDragStop(this, effect);
    }
    Invalidate();
    return true;
}

void TExStringGrid::OleDragMoved(const TRect& dropped)
{
    const TRect s = oleDrag_.oleDragSel;
    const bool overlap = dropped.Left <= s.Right && dropped.Right >= s.Left && dropped.Top <= s.Bottom &&
                         dropped.Bottom >= s.Top && dropped.Top >= 0;
    if (DragDropSettings.OleRemoveRows && (Options() & goRowSelect)) {
        if (MouseActions.DisjunctRowSelect) {
            RemoveSelectedRows();
        } else if (!overlap) {
            RemoveRowsInternal(s.Top, s.Bottom - s.Top + 1);
        } else {
            for (int r = s.Bottom; r >= s.Top; --r)
                if (r < dropped.Top || r > dropped.Bottom) RemoveRowsInternal(r, 1);
        }
        return;
    }
    if (DragDropSettings.OleCopyAlways) return;
    if (!overlap && NumHiddenColumns() == 0) {
        ClearRect(s.Left, s.Top, s.Right, s.Bottom);
        return;
    }
    // cells the drop wrote over stay
    for (int r = s.Top; r <= s.Bottom; ++r)
        for (int c = s.Left; c <= s.Right; ++c)
            if (!overlap || !Inside(dropped, c, r)) ClearRect(RemapCol(c), r, RemapCol(c), r);
}

}  // namespace grid

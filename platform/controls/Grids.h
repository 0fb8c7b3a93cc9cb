#pragma once
// The base grid: a scrolling window of cells in rows and columns, fixed rows and columns
// at the top and left, a current cell and a selection rectangle, sizing and moving of
// rows and columns with the mouse, and an in-place editor. TDrawGrid raises events for
// what TCustomGrid leaves to derived classes; TStringGrid keeps a text and an object per
// cell. Derived grids override the protected virtual protocol.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "platform/controls/Edit.h"

namespace base {
class TStrings;
}

namespace platform {

class EInvalidGridOperation : public base::Exception {
public:
    using base::Exception::Exception;
};

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0, goFixedHorzLine = 1u << 1, goVertLine = 1u << 2, goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4, goDrawFocusSelected = 1u << 5, goRowSizing = 1u << 6, goColSizing = 1u << 7,
    goRowMoving = 1u << 8, goColMoving = 1u << 9, goEditing = 1u << 10, goTabs = 1u << 11, goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13, goThumbTracking = 1u << 14
};
using TGridOptions = unsigned;

enum TGridDrawStateFlag : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = unsigned;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

struct TGridCoord {
    int X = 0, Y = 0;
    bool operator==(const TGridCoord&) const = default;
};
// A block of cells, both corners included.
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TGridRect&) const = default;
};

class TCustomGrid;

using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;

// The grid's text editor, laid over the current cell. Keys it does not use go to the grid.
class TInplaceEdit : public TCustomEdit {
public:
    explicit TInplaceEdit(TComponent* AOwner);
    TCustomGrid* Grid() const { return grid_; }
    const std::string& EditMask() const { return editMask_; }
    void SetEditMask(const std::string& m) { editMask_ = m; }

    // Places the editor on r (grid client coordinates) and shows it.
    void Move(const TRect& r);
    // Places it on r without showing it.
    void UpdateLoc(const TRect& r);
    void Hide();
    void Deselect();
    bool PosEqual(const TRect& r) const;
    // Takes the text, limit and mask of the grid's current cell.
    virtual void UpdateContents();

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void Change() override;
    void WMGetDlgCode(TWMGetDlgCode& m) override;
    void WMKillFocus(TWMKillFocus& m) override;

protected:
    // After the editor moved: the text area keeps 2 pixels to the left, top and right.
    virtual void BoundsChanged();
    void SetGrid(TCustomGrid* g) { grid_ = g; }

private:
    friend class TCustomGrid;
    TCustomGrid* grid_ = nullptr;
    std::string editMask_;
    bool updating_ = false;  // contents being loaded: no change goes back to the grid
};

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    // Counts. At least one column and row; fixed ones stay below the count (setting
    // too many raises EInvalidGridOperation; lowering the count lowers them).
    int ColCount() const { return colCount_; }
    void SetColCount(int v);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int v);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int v);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int v);

    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int v);  // every column takes it
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int v);
    int ColWidths(int i) const;
    void SetColWidths(int i, int w);
    int RowHeights(int i) const;
    void SetRowHeights(int i, int h);
    bool TabStops(int i) const;
    void SetTabStops(int i, bool v);
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int v);  // 0 allowed: cells abut
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions v);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor c);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool v);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);  // bsSingle: a sunken edge

    // The current cell. Moving it asks SelectCell first; a refusal leaves it.
    int Col() const { return current_.X; }
    void SetCol(int v);
    int Row() const { return current_.Y; }
    void SetRow(int v);
    TGridRect Selection() const;
    void SetSelection(const TGridRect& r);
    int LeftCol() const { return topLeft_.X; }
    void SetLeftCol(int v);
    int TopRow() const { return topLeft_.Y; }
    void SetTopRow(int v);
    // Normal columns and rows shown whole (at least one while any is shown in part).
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // The client rectangle of a cell without its grid lines; empty when it is out of view.
    TRect CellRect(int ACol, int ARow) const;
    // The cell under a client point; -1, -1 outside the cells. A grid line belongs to the
    // cell left of (above) it.
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;

    bool EditorMode() const { return editorMode_; }
    void SetEditorMode(bool v);
    TInplaceEdit* InplaceEditor() const { return inplaceEdit_; }

    // Row and column operations; the cells of a string grid move along.
    virtual void DeleteColumn(int ACol);
    virtual void DeleteRow(int ARow);
    virtual void MoveColumn(int FromIndex, int ToIndex);
    virtual void MoveRow(int FromIndex, int ToIndex);

    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateGrid() { Invalidate(); }
    void InvalidateEditor();

    // The virtual protocol for derived grids.
    virtual bool SelectCell(int ACol, int ARow);
    virtual void TopLeftChanged();
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    virtual bool CanEditShow();
    virtual bool CanEditAcceptKey(char Key);
    virtual bool CanEditModify();
    virtual std::string GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const std::string& Value);
    virtual std::string GetEditMask(int ACol, int ARow);
    virtual int GetEditLimit();
    virtual TInplaceEdit* CreateEditor();
    virtual void ShowEditor();
    // Where the in-place editor of a cell goes (client coordinates): the cell's rectangle.
    virtual TRect EditorRect(int ACol, int ARow) const { return CellRect(ACol, ARow); }
    virtual void ShowEditorChar(char Ch);
    virtual void HideEditor();
    // Hands the editor's text to SetEditText.
    virtual void UpdateText();
    virtual void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) = 0;
    // The sizing that a press at (X, Y) would start: gsColSizing / gsRowSizing with the
    // index of the column (row) whose far edge is there, or gsNormal.
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs);
    // The editor's way back: a key the editor does not use.
    virtual void EditorKeyDown(Word& Key, TShiftState Shift) { KeyDown(Key, Shift); }

    void Paint() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void WMHScroll(TWMHScroll& m) override;
    void WMVScroll(TWMVScroll& m) override;
    void WMChar(TWMChar& m) override;
    void WMGetDlgCode(TWMGetDlgCode& m) override;
    void WMSize(TWMSize& m) override;
    void WMSetFocus(TWMSetFocus& m) override;
    void WMKillFocus(TWMKillFocus& m) override;
    void WMCancelMode(TWMCancelMode& m) override;
    // Timer 1 runs while the mouse selects or moves rows or columns: past an edge it scrolls on.
    void WMTimer(TWMTimer& m) override;
    void CreateParams(TCreateParams& params) override;
    void CMFontChanged(TMessage& m) override;

protected:
    void CreateWnd() override;
    TGridState GridState() const { return gridState_; }
    void SetGridState(TGridState s) { gridState_ = s; }
    // Moves the current cell (asking SelectCell), the anchor too unless extending.
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    // Scrolls so that the current cell is in view.
    void ClampInView();
    // The bars' range (positions 0..127 over the scrolling cells) and position; a derived
    // grid may set its own range and page afterwards, which UpdateScrollPos keeps.
    void UpdateScrollRange();
    void UpdateScrollPos();
    void UpdateEdit();
    // Paints one cell's default look, the cell itself and its focus frame.
    void PaintCell(int ACol, int ARow, const TRect& r, TGridDrawState state);

private:
    // One direction of the layout: columns (horizontal) or rows (vertical).
    struct Axis {
        const std::vector<int>* sizes;
        int count, fixed, first, extent, line;
        int Size(int i) const { return (*sizes)[std::size_t(i)]; }
        int FixedExtent() const;
        int Start(int i) const;          // client position of cell i; -1 when scrolled away or past the extent
        int At(int pos) const;           // the cell at a client position, -1 outside
        int LastFull() const;            // the last cell shown whole from first on
        int MaxFirst() const;            // the largest first that still fills the extent
        int FirstShowing(int i) const;   // the smallest first that shows cell i whole
    };
    Axis Layout(bool vertical) const;
    int LineWidth(bool vertical) const;
    void ChangeSize(int newCols, int newRows);
    void FixedChanged();
    void MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    void MoveTopLeft(int ALeft, int ATop);
    void InvalidateSelection(const TGridRect& r);
    void MoveAdjust(int& v, int from, int to);
    void ScrollMessage(bool vertical, int code, int pos);
    int MaxTopLeft(bool vertical) const;
    void DrawSizingLine(int pos);
    TGridRect ClampedSelection(const TGridRect& r) const;
    void MouseMoveCell(int X, int Y);

    int colCount_ = 0, rowCount_ = 0, fixedCols_ = 0, fixedRows_ = 0;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24, gridLineWidth_ = 1;
    std::vector<int> colWidths_, rowHeights_;
    std::vector<bool> tabStops_;
    TGridOptions options_;
    TColor fixedColor_ = clBtnFace;
    bool defaultDrawing_ = true;
    TScrollStyle scrollBars_ = ssBoth;
    TBorderStyle borderStyle_ = bsSingle;
    TGridCoord current_, anchor_, topLeft_;
    TGridState gridState_ = gsNormal;
    bool editorMode_ = false;
    TInplaceEdit* inplaceEdit_ = nullptr;
    std::string editStartText_;  // what Escape puts back
    // Mouse sizing and moving.
    int sizingIndex_ = -1, sizingPos_ = 0, sizingOfs_ = 0, moveIndex_ = -1, movePos_ = -1;
    TPoint pressPos_, lastMouse_;
    bool sizingLineShown_ = false;
    bool clickedCurrent_ = false;
    bool updatingScroll_ = false;
};

class TDrawGrid : public TCustomGrid {
public:
    using TCustomGrid::TCustomGrid;

    TSelectCellEvent OnSelectCell;
    TDrawCellEvent OnDrawCell;
    TMovedEvent OnColumnMoved, OnRowMoved;
    TGetEditEvent OnGetEditText, OnGetEditMask;
    TSetEditEvent OnSetEditText;
    TNotifyEvent OnTopLeftChanged;

    bool SelectCell(int ACol, int ARow) override;
    void TopLeftChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;
    std::string GetEditMask(int ACol, int ARow) override;
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
};

// A text and an object slot per cell, kept sparsely; columns and rows moved or deleted
// carry their cells. Cells may lie beyond ColCount (they stay when the count drops);
// rows beyond RowCount are dropped with it.
class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    const std::string& Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const std::string& Value);
    TObject* Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, TObject* Value);
    // A column or row as a string list (texts and objects); writing goes to the cells.
    base::TStrings* Cols(int Index);
    base::TStrings* Rows(int Index);
    // Grows with every change of the cells' texts and objects and of their places.
    unsigned long long ContentVersion() const;
    // The extent of what the store holds: cells of rows at or past StoredRowCount, and of
    // row ARow at or past StoredColCount(ARow), are empty and hold no object.
    int StoredRowCount() const;
    int StoredColCount(int ARow) const;

    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;

private:
    struct Store;
    class Lines;
    std::unique_ptr<Store> store_;
    std::vector<std::unique_ptr<Lines>> colLists_, rowLists_;
};

}  // namespace platform

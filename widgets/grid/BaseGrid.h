#pragma once
// The grid's cell store on top of the platform's string grid: per-cell properties made
// on first use, merged blocks of cells that read, write and paint as one, display-text
// events, and the painting frame that draws the grid's own lines inside each cell.
#include <functional>
#include <memory>
#include <string>

#include "platform/controls/Grids.h"
#include "platform/graphics/Graphics.h"
#include "widgets/grid/GridTypes.h"

namespace grid {

class TBaseGrid;
class TCellGraphic;

// What a cell needs beyond its text; kept in the cell's object slot and owned by the grid.
class TCellProperties : public platform::TPersistent {
public:
    TCellProperties(TBaseGrid* AOwner, int ACol, int ARow);
    ~TCellProperties() override;
    TBaseGrid* Grid() const { return grid_; }
    int OwnerCol, OwnerRow;
    platform::TObject* CellObject = nullptr;  // the user's object, not owned
    platform::TBrushStyle BrushStyle = platform::bsSolid;
    platform::TColor BrushColor() const { return brushColor_; }
    void SetBrushColor(platform::TColor v);
    platform::TColor BrushColorTo() const { return brushColorTo_; }
    void SetBrushColorTo(platform::TColor v);
    int FontSize = 0;
    platform::TColor FontColor = platform::clNone;
    platform::TFontStyles FontStyle = 0;
    int CellSpanY = -1, CellSpanX = -1;
    int BorderWidth = 0;
    platform::TColor BorderColor = platform::clBlack;
    platform::TAlignment Alignment = platform::taLeftJustify;
    TVAlignment VAlignment() const { return vAlignment_; }
    void SetVAlignment(TVAlignment v);
    int PaintStamp = 0;
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool IsBaseCell = true;
    int NodeLevel = 0;
    TEditorType Editor = edNormal;
    std::string FontName;
    bool ReadOnly = false;
    platform::TControl* Control = nullptr;
    int CalcType = 0;  // the footer's calculation of this cell (TColumnCalcType)

    TCellGraphic* Graphic() const { return graphic_; }
    // Takes the graphic (owned unless it is a virtual check box); the old one is released.
    void SetGraphic(TCellGraphic* g);
    // Hands the graphic over without releasing it.
    TCellGraphic* ReleaseGraphic();

    // Copies what a cell's look and merge state are made of; not the owner grid, the
    // user object, the graphic, BrushColorTo or the paint stamp.
    void Assign(const platform::TPersistent& Source) override;
    // Streamed: the look and merge state; not the user object or the control.
    void GetPublished(platform::TPropertyList& L) override;
    // A full copy for another cell of the same grid, graphic included.
    TCellProperties* Clone() const;
    // The base cell of the block the cell at (c, r) belongs to.
    platform::TPoint GetBaseCell(int c, int r) const;

private:
    void Repaint() const;
    TBaseGrid* grid_;
    platform::TColor brushColor_ = platform::clNone, brushColorTo_ = platform::clNone;
    TVAlignment vAlignment_ = vtaTop;
    bool wordWrap_ = false;
    TCellGraphic* graphic_ = nullptr;
};

using TGetDisplTextEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TGetDisplWideTextEvent =
    std::function<void(platform::TObject* Sender, int ACol, int ARow, std::u16string& Value)>;

class TBaseGrid : public platform::TStringGrid {
public:
    explicit TBaseGrid(platform::TComponent* AOwner);
    ~TBaseGrid() override;

    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool v);
    // The lines the grid draws inside its cells; the platform's own lines stay at 0.
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int v);
    platform::TColor GridLineColor() const { return gridLineColor_; }
    void SetGridLineColor(platform::TColor v);
    int PaintCount() const { return paintCount_; }
    bool FooterRowCovered = false;
    int DisplTextRowLimit = 0;
    TGetDisplTextEvent OnGetDisplText;
    TGetDisplWideTextEvent OnGetDisplWideText;

    // Cell text through merges and the display events; empty outside the store.
    std::string GetCellEx(int ACol, int ARow);
    // Writes at the block's base cell; EExGridError "Cell index out of range" outside the store.
    void SetCellEx(int ACol, int ARow, const std::string& Value);
    const std::string& GetGridCell(int ACol, int ARow) const { return Cells(ACol, ARow); }
    void SetGridCell(int ACol, int ARow, const std::string& Value);
    platform::TObject* GetGridObject(int ACol, int ARow) const { return Objects(ACol, ARow); }
    void SetGridObject(int ACol, int ARow, platform::TObject* Obj);
    platform::TObject* GetObjectEx(int ACol, int ARow) const;
    void SetObjectEx(int ACol, int ARow, platform::TObject* Obj);
    TCellGraphic* GetGraphicObjectEx(int ACol, int ARow) const;
    void SetGraphicObjectEx(int ACol, int ARow, TCellGraphic* Obj);

    bool HasCellProperties(int ACol, int ARow) const;
    // The properties, made on first use; nullptr only outside the store.
    TCellProperties* GetCellProperties(int ACol, int ARow);
    // Null when the cell has none (never makes them).
    TCellProperties* CellProps(int ACol, int ARow) const;
    void SetCellProperties(int ACol, int ARow, TCellProperties* Props);
    void ClearPropCell(int ACol, int ARow);
    void ClearPropRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void ClearPropRow(int ARow);
    void ClearProps();
    // Empty text and an empty slot; the properties are not freed (they moved elsewhere).
    void NilCell(int ACol, int ARow);
    void NilRow(int ARow);
    void NilCol(int ACol);
    // Texts and properties copied: each cell gets its own copy of the properties.
    void CopyRows(int ToRow, int FromRow);
    void CopyCols(int ToCol, int FromCol);

    virtual void MergeCells(int ACol, int ARow, int NCols, int NRows);
    virtual void SplitCells(int ACol, int ARow);
    platform::TPoint BaseCell(int ACol, int ARow) const;
    bool IsBaseCell(int ACol, int ARow) const;
    bool IsBaseCellEx(int ACol, int ARow, int& BCol, int& BRow) const;
    bool IsMergedCell(int ACol, int ARow) const;
    bool IsXMergedCell(int ACol, int ARow) const;
    bool IsYMergedCell(int ACol, int ARow) const;
    platform::TPoint CellSpan(int ACol, int ARow) const;
    platform::TPoint CellExt(int ACol, int ARow) const;
    platform::TRect FullCell(int ACol, int ARow) const;  // cells: left, top, right, bottom
    int MinRowSpan(int ARow) const;
    int MaxRowSpan(int ARow) const;
    bool RowSpanIdentical(int ARow1, int ARow2) const;
    bool ColSpanIdentical(int ACol1, int ACol2) const;

    platform::TRect GetCellRect(int ACol, int ARow) const;
    // The pixel rectangle of the cell's whole block.
    platform::TRect CellRect(int ACol, int ARow) const;
    platform::TPoint CellSize(int ACol, int ARow) const;
    int FixedColsWidth() const;
    int FixedRowsHeight() const;
    virtual void RepaintCell(int ACol, int ARow);
    void RepaintFixedMergedCols();
    void RepaintFixedMergedRows();
    bool IsSelected(int ACol, int ARow) const;
    void SelectBaseCell();
    // Right to left: the canvas's x axis runs from the client's right edge leftwards, so
    // column 0 is drawn at the right; the mouse is mapped the same way and text stays
    // readable. Kept for later paints.
    void SetGridOrientation(bool RightToLeft);
    bool GridRightToLeft() const { return rightToLeft_; }
    // A client rectangle as the grid is shown: mirrored in the client area when right to left.
    platform::TRect ShownRect(const platform::TRect& r) const;
    // A client point as the grid lays it out, for one the window gives (and back).
    platform::TPoint ShownPoint(const platform::TPoint& p) const;
    platform::TRect EditorRect(int ACol, int ARow) const override;
    void InvalidateRect(const platform::TRect& r) override;

    // Columns the store holds: ColCount here, a derived grid adds the hidden ones.
    virtual int StoreColCount() const { return ColCount(); }

    // Hooks for the derived grid.
    virtual bool IsFixed(int ACol, int ARow);
    virtual int NodeIndent(int ARow);
    virtual bool HasNodes();
    virtual void DrawGridCell(platform::TCanvas* Canvas, int ACol, int ARow, platform::TRect R,
                              platform::TGridDrawState State);
    virtual void FloatFooterUpdate() {}
    virtual void GetDisplText(int ACol, int ARow, std::string& Value);
    virtual void GetDisplWideText(int ACol, int ARow, std::u16string& Value);
    virtual void GetVisualProperties(int ACol, int ARow, platform::TGridDrawState& State, bool Print, bool Select,
                                     bool Remap, platform::TBrush& ABrush, platform::TColor& AColorTo,
                                     platform::TFont& AFont, platform::TAlignment& HAlign, TVAlignment& VAlign,
                                     bool& WordWrap);

    void Paint() override;
    void DrawCell(int ACol, int ARow, platform::TRect ARect, platform::TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    bool DoMouseWheelDown(platform::TShiftState Shift, platform::TPoint MousePos) override;
    bool DoMouseWheelUp(platform::TShiftState Shift, platform::TPoint MousePos) override;
    void TopLeftChanged() override;
    void SizeChanged(int OldColCount, int OldRowCount) override;

protected:
    void WndProc(platform::TMessage& m) override;
    bool InStore(int ACol, int ARow) const;
    // Frees the properties of rows at or beyond FromRow that the platform is about to drop.
    void FreeRowsFrom(int FromRow, int ToRow);
    // Sets the canvas's mapping for the orientation (mirrored right to left).
    void ApplyOrientation();

private:
    bool defaultDrawing_ = false;
    int gridLineWidth_ = 1;
    platform::TColor gridLineColor_ = platform::clSilver;
    int paintCount_ = 0;
    bool destroying_ = false;
    bool rightToLeft_ = false;
};

}  // namespace grid

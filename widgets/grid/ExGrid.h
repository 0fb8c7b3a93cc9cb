#pragma once
// The grid component: typed cells, real and display indices with hidden rows and
// columns, row and column operations, option objects and the per-cell query hooks.
// Cells(c, r) takes a real column and a real row; the store is addressed with a real
// column and a display row (GetCellEx, Ints, Floats, ...).
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "widgets/grid/BaseGrid.h"
#include "widgets/grid/CellGraphic.h"
#include "widgets/grid/ExGridEvents.h"
#include "widgets/grid/ExObj.h"
#include "widgets/grid/GridCellStore.h"
#include "widgets/grid/GridEditLink.h"
#include "widgets/grid/GridEditorsFwd.h"
#include "widgets/grid/GridIndexMap.h"
#include "widgets/grid/GridMouseState.h"
#include "widgets/grid/GridOptions.h"
#include "widgets/grid/GridPrintJob.h"
#include "widgets/grid/GridSortState.h"
#include "widgets/grid/GridViewState.h"
#include "widgets/grid/GridWindows.h"
#include "widgets/grid/PrintSettings.h"

namespace base {
class TStrings;
class TStringList;
}

namespace html {
struct HTMLDrawResult;
class TPictureContainer;
class THTMLPictureCache;
}

namespace platform {
class TComboBox;
class TMaskEdit;
class TCustomRichEdit;
class THintWindow;
class TPicture;
class TIcon;
class TImageList;
}

namespace grid {

class TExStringGrid;
class TFloatingFooter;
class THTMLHintWindow;
class TExGridUndoRedo;
class TExStringGridCheck;
class TExRichEdit;

enum TGridLook { glStandard, glSoft, glClassic, glStudio, glXP, glListView };
enum TGridImportState { isImportStart, isImportNewRow, isImportDone, isImportSelRow };
enum TClipOperation { coCut, coCopy };

class TExStringGrid : public TBaseGrid, public TExGridEvents, public TGridFileOptions {
public:
    explicit TExStringGrid(platform::TComponent* AOwner);
    ~TExStringGrid() override;

    // ---- option objects
    TBands& Bands() const { return *bands_; }
    TBackGround& BackGround() const { return *background_; }
    TControlLook& ControlLook() const { return *controlLook_; }
    TSortSettings& SortSettings() const { return *sortSettings_; }
    TFilter& Filter() const { return *filter_; }
    TCellNode& CellNode() const { return *cellNode_; }
    TColumnSize& ColumnSize() const { return *columnSize_; }
    TFloatingFooter& FloatingFooter() const { return *floatingFooter_; }
    TGrouping Grouping;
    TSizeWhileTyping SizeWhileTyping;
    TMouseActions MouseActions;
    TNavigation Navigation;
    TDragDropSettings DragDropSettings{this};
    platform::TFont& FixedFont() const { return *fixedFont_; }
    void SetFixedFont(const platform::TFont& f);
    platform::TFont& ActiveCellFont() const { return *activeCellFont_; }
    void SetActiveCellFont(const platform::TFont& f);

    // ---- published settings
    platform::TColor ActiveCellColor = platform::clGray, ActiveCellColorTo = platform::clNone;
    bool ActiveCellShow = false, AutoNumAlign = false, EnhTextSize = false, SizeWithForm = false;
    bool EnhRowColMove = true, EnableWheel = true, EnableHTML = true, IntelliZoom = true, ShowSelection = true;
    bool Multilinecells = false, EnableBlink = false, Flat = false, SelectionRectangle = false;
    bool SelectionResizer = false, HintShowCells = false, HintShowLargeText = false, HintShowSizing = false;
    bool AutoSize = false, HideFocusRect = false, FixedAsButtons = false, AnchorHint = false;
    bool AutoThemeAdapt = false, EditWithTags = false, ExcelStyleDecimalSeparator = false, Hovering = false;
    bool HTMLHint = false, URLShow = false, URLFull = false, URLEdit = false;
    bool ScrollProportional = false, ScrollSynch = false, Lookup = false;
    bool LookupCaseSensitive = false, LookupHistory = false, IntegralHeight = false;
    int MaxEditLength = 0;
    // Setters of the published settings above: each stores and repaints, some do more.
    void SetAutoThemeAdapt(bool v);       // true adapts the colours at once
    void SetAutoSizeP(bool v);            // true sizes the columns to their contents
    void SetMaxEditLength(int v);         // also the open text editor's limit; no repaint
    void SetSelectionColor(platform::TColor v);
    void SetSelectionTextColor(platform::TColor v);
    void SetSelectionRectangle(bool v);
    void SetSelectionResizer(bool v);
    void SetShowSelection(bool v);
    void SetActiveCellShow(bool v);
    void SetActiveCellColor(platform::TColor v);
    void SetActiveCellColorTo(platform::TColor v);
    void SetHovering(bool v) { Hovering = v; }
    void SetFlat(bool v);
    void SetIntegralHeight(bool v);       // refits the height to whole rows at once
    void SetVAlignment(TVAlignment v);    // no repaint inside BeginUpdate
    void SetLook(TGridLook v);            // also the floating footer
    void SetURLShow(bool v);
    void SetURLFull(bool v);              // URLFull and URLColor repaint only while URLShow
    void SetURLColor(platform::TColor v);
    platform::TColor HintColor = platform::clInfoBk;
    platform::TColor SelectionColor = 0x00EACAB6, SelectionColorTo = platform::clNone,
                     SelectionTextColor = platform::clBlack;
    platform::TColor URLColor = 0x00FF0000;
    TVAlignment VAlignment = vtaTop;
    std::string FloatFormat = "%.2f";
    TGridLook Look = glXP;
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    int FixedFooters() const { return fixed_.fixedFooters; }
    void SetFixedFooters(int v);
    int FixedRightCols() const { return fixed_.fixedRightCols; }
    void SetFixedRightCols(int v);
    bool FixedRowAlways() const { return fixed_.fixedRowAlways; }
    void SetFixedRowAlways(bool v) { fixed_.fixedRowAlways = v; }
    bool FixedColAlways() const { return fixed_.fixedColAlways; }
    void SetFixedColAlways(bool v) { fixed_.fixedColAlways = v; }
    platform::TPoint XYOffset{2, 2};
    void SetXYOffset(platform::TPoint APoint);  // the text margins inside cells
    char PasswordChar = '*';
    platform::TColor GradFrom() const { return gradFrom_; }
    platform::TColor GradTo() const { return gradTo_; }
    void SetStudioGradFrom(platform::TColor c);
    void SetStudioGradTo(platform::TColor c);

    // ---- counts (the platform's, with the fixed-always rules)
    int GetRowCountEx() const { return RowCount(); }
    void SetRowCountEx(int v);
    void SetRowCount(int v) { SetRowCountEx(v); }
    int GetColCountEx() const { return ColCount(); }
    void SetColCountEx(int v);
    void SetColCount(int v) { SetColCountEx(v); }
    int GetFixedRowsEx() const;
    void SetFixedRowsEx(int v);
    int FixedRows() const { return GetFixedRowsEx(); }
    void SetFixedRows(int v) { SetFixedRowsEx(v); }
    int GetFixedColsEx() const;
    void SetFixedColsEx(int v) { TBaseGrid::SetFixedCols(v); }
    int FixedCols() const { return GetFixedColsEx(); }
    void SetFixedCols(int v) { SetFixedColsEx(v); }
    void SetDefaultRowHeight(int v);
    int FixedRowHeight() const { return fixed_.fixedRowHeight; }
    void SetFixedRowHeight(int v) { fixed_.fixedRowHeight = v; }
    int FixedColWidth() const { return ColWidths(0); }
    int StoreColCount() const override { return ColCount() + NumHiddenColumns(); }

    // ---- version
    virtual int GetVersionNr() const { return 0x02080702; }
    virtual std::string GetVersionString() const;
    std::string GetVersion() const;

    // ---- cells by real index
    std::string Cells(int ACol, int ARow) { return GetCellsEx(ACol, ARow); }
    void SetCells(int ACol, int ARow, const std::string& Value) { SetCellsEx(ACol, ARow, Value); }
    std::string GetCellsEx(int ACol, int ARow);
    void SetCellsEx(int ACol, int ARow, const std::string& Value);
    base::TStringList* HiddenRow(int ARow) const;
    platform::TObject* GetObjectsEx(int ACol, int ARow) const;
    void SetObjectsEx(int ACol, int ARow, platform::TObject* AObject);
    std::u16string GetWideCells(int ACol, int ARow);
    void SetWideCells(int ACol, int ARow, const std::u16string& Value);
    virtual std::string GetCurrentCell();
    virtual void SetCurrentCell(const std::string& Value);
    std::string GetStrippedCell(int ACol, int ARow);
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;

    // ---- per-cell attributes (real column, display row)
    platform::TColor GetColors(int ACol, int ARow) const;
    void SetColors(int ACol, int ARow, platform::TColor v);
    platform::TColor GetColorsTo(int ACol, int ARow) const;
    void SetColorsTo(int ACol, int ARow, platform::TColor v);
    platform::TColor GetFontColors(int ACol, int ARow) const;
    void SetFontColors(int ACol, int ARow, platform::TColor v);
    platform::TFontStyles GetFontStyles(int ACol, int ARow) const;
    void SetFontStyles(int ACol, int ARow, platform::TFontStyles v);
    std::string GetFontNames(int ACol, int ARow) const;
    void SetFontNames(int ACol, int ARow, const std::string& v);
    int GetFontSizes(int ACol, int ARow) const;
    void SetFontSizes(int ACol, int ARow, int v);
    platform::TAlignment GetAlignments(int ACol, int ARow) const;
    void SetAlignments(int ACol, int ARow, platform::TAlignment v);
    bool GetReadOnly(int ACol, int ARow);
    void SetReadOnly(int ACol, int ARow, bool v);
    void SetRowColor(int ARow, platform::TColor AColor);
    void SetRowFontColor(int ARow, platform::TColor AColor);

    // ---- typed cells (real column, display row); errors are EExGridError
    void SetInts(int ACol, int ARow, int Value);
    int GetInts(int ACol, int ARow);
    void SetFloats(int ACol, int ARow, double Value);
    double GetFloats(int ACol, int ARow);
    void SetAllFloats(int ACol, int ARow, double Value);
    double GetAllFloats(int ACol, int ARow);
    void SetDates(int ACol, int ARow, base::TDateTime Value);
    base::TDateTime GetDates(int ACol, int ARow);
    void SetTimes(int ACol, int ARow, base::TDateTime Value);
    base::TDateTime GetTimes(int ACol, int ARow);
    std::string GetCtrlVal(int ACol, int ARow, const std::string& ControlID);
    void SetCtrlVal(int ACol, int ARow, const std::string& ControlID, const std::string& Value);
    bool AllowNegativeDates = true;
    // printf with one floating conversion only (flags, width, precision; "%%" allowed) and
    // the user's decimal separator; any other format raises EExGridError.
    static std::string FormatFloatCell(const std::string& fmt, double v);
    // The texts SetFloats and SetDates store for a value.
    std::string FloatCellText(double Value) const { return FormatFloatCell(FloatFormat, Value); }
    std::string DateCellText(base::TDateTime Value) const;

    // ---- counts and widths over real columns
    int GetAllColCount() const { return ColCount() + NumHiddenColumns(); }
    int GetAllRowCount() const { return RowCount() + NumHiddenRows(); }
    int GetAllColWidths(int ACol) const;
    void SetAllColWidths(int ACol, int AWidth);

    // ---- sorted rows and column order
    TIntList& SortIndexList() { return sort_.sortIndex; }
    TSortIndexList& SortIndexes() { return sort_.sortKeys; }
    int SortedRowIndex(int ARow) const;
    int UnSortedRowIndex(int ARow) const;
    std::string GetUnSortedCell(int ACol, int ARow);
    void SetUnSortedCell(int ACol, int ARow, const std::string& Value);
    TIntList& ColumnOrder() { return sort_.columnOrder; }
    void SetColumnOrder();
    void ResetColumnOrder();
    void ColumnMoved(int FromIndex, int ToIndex) override;

    // ---- controls on cells (real column, real row)
    platform::TControl* GetCellControls(int ACol, int ARow) const;
    void SetCellControls(int ACol, int ARow, platform::TControl* AControl);
    void CellControlsUpdate();
    int CellControlCount() const { return cellControlCount_; }

    // ---- headers, merged columns, marks
    base::TStringList& ColumnHeaders() const { return *columnHeaders_; }
    void SetColumnHeaders(const base::TStrings& v);
    void ClearColumnHeaders();
    void ShowColumnHeaders();
    base::TStringList& RowHeaders() const { return *rowHeaders_; }
    void SetRowHeaders(const base::TStrings& v);
    void ShowRowHeaders();
    base::TStringList& LookupItems() const { return *lookupItems_; }
    void SetLookupItems(const base::TStrings* v);
    TIntList& MergedColumns() { return mergedColumns_; }
    void ApplyColumnMerge();
    void UndoColumnMerge();
    std::string HilightText(bool DoCase, const std::string& Text, const std::string& HiText) const;
    std::string UnHilightText(const std::string& Text) const;
    std::string MarkText(bool DoCase, const std::string& Text, const std::string& HiText) const;
    std::string UnMarkText(const std::string& Text) const;
    void MarkCells(const std::string& Text, const std::string& Tag, bool DoCase, int FromCol, int FromRow, int ToCol,
                   int ToRow);
    void UnMarkCells(const std::string& Tag, int FromCol, int FromRow, int ToCol, int ToRow);
    void HilightInCell(bool DoCase, int ACol, int ARow, const std::string& Text);
    void HilightInCol(bool DoFixed, bool DoCase, int ACol, const std::string& Text);
    void HilightInRow(bool DoFixed, bool DoCase, int ARow, const std::string& Text);
    void HilightInGrid(bool DoFixed, bool DoCase, const std::string& Text);
    void UnHilightInCell(int ACol, int ARow);
    void UnHilightInCol(bool DoFixed, int ACol);
    void UnHilightInRow(bool DoFixed, int ARow);
    void UnHilightInGrid(bool DoFixed);
    void MarkInCell(bool DoCase, int ACol, int ARow, const std::string& Text);
    void MarkInCol(bool DoFixed, bool DoCase, int ACol, const std::string& Text);
    void MarkInRow(bool DoFixed, bool DoCase, int ARow, const std::string& Text);
    void MarkInGrid(bool DoFixed, bool DoCase, const std::string& Text);
    void UnMarkInCell(int ACol, int ARow);
    void UnMarkInCol(bool DoFixed, int ACol);
    void UnMarkInRow(bool DoFixed, int ARow);
    void UnMarkInGrid(bool DoFixed);
    // Pictures that <IMG> tags of cells name (not owned); forgotten when it is freed.
    html::TPictureContainer* PictureContainer() const { return pictureContainer_; }
    void SetPictureContainer(html::TPictureContainer* c);
    // Pictures <IMG> tags load from addresses; the grid owns them.
    html::THTMLPictureCache* PictureCache() const { return pictureCache_.get(); }
    // The checker (not owned) that corrects or marks cell texts; forgotten when it is freed.
    TExStringGridCheck* CellChecker() const { return cellChecker_; }
    void SetCellChecker(TExStringGridCheck* c);
    bool CheckCell(int ACol, int ARow);
    bool CheckCells(int FromCol, int FromRow, int ToCol, int ToRow);
    bool CheckCol(bool DoFixed, int ACol);
    bool CheckRow(bool DoFixed, int ARow);
    bool CheckGrid(bool DoFixed);
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;
    void TextFill(bool DoFixed, const std::string& Text);
    void RandomFill(bool DoFixed, int Max);
    void LinearFill(bool DoFixed);
    int GetPrintColWidth(int ACol) const;
    // Columns (rows) of all cells or of the normal cells, first and last.
    platform::TPoint ColSpan(bool DoFixed) const;
    platform::TPoint RowSpan(bool DoFixed) const;
    platform::TRect ColRect(bool DoFixed, int ACol) const;
    platform::TRect RowRect(bool DoFixed, int ARow) const;
    platform::TRect GridRect(bool DoFixed) const;
    int GetPrintColOffset(int ACol) const;

    // ---- repainting and selections
    void RepaintCell(int ACol, int ARow) override;
    void RepaintRect(const platform::TRect& R);
    void RepaintRow(int ARow);
    void RepaintCol(int ACol);
    void SelectRows(int ARow, int Count);
    void SelectCols(int ACol, int Count);
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    bool GetRowSelect(int ARow);
    void SetRowSelect(int ARow, bool Selected);
    bool GetColSelect(int ACol);
    void SetColSelect(int ACol, bool Selected);
    void ClearRowSelect();
    void ClearColSelect();
    int GetRowSelectCount() const;
    int GetColSelectCount() const;
    void SelectToRowSelect(bool Replace);
    void SelectToColSelect(bool Replace);

    // ---- index mapping, hiding, moving
    int RemapRow(int ARow) const;
    int RemapRowInv(int ARow) const;
    int RemapCol(int ACol) const;
    int RemapColInv(int ACol) const;
    int RealRowIndex(int ARow) const { return RemapRowInv(ARow); }
    int DisplRowIndex(int ARow) const { return RemapRow(ARow); }
    int RealColIndex(int ACol) const { return RemapCol(ACol); }
    int DisplColIndex(int ACol) const { return RemapColInv(ACol); }
    int GetRealCol() const { return RemapCol(Col()); }
    int GetRealRow() const { return RemapRowInv(Row()); }
    bool IsHiddenColumn(int ACol) const;
    bool IsHiddenRow(int ARow) const;
    int NumHiddenColumns() const { return indexMap_.HiddenColCount(); }
    int NumHiddenRows() const { return indexMap_.HiddenRowCount(); }
    bool GetVisibleCol(int ACol) const;
    void SetVisibleCol(int ACol, bool Visible);
    int GetRowEx() const { return Row(); }
    void SetRowEx(int ARow);
    void HideColumn(int ACol) { HideColumns(ACol, ACol); }
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumn(int ACol) { UnHideColumns(ACol, ACol); }
    void UnHideColumns(int FromCol, int ToCol);
    void UnHideColumnsAll();
    void HideRow(int ARow) { HideRows(ARow, ARow); }
    void HideRows(int FromRow, int ToRow);
    void HideRowsEx(int FromRow, int ToRow);
    void HideRowList(const TIntList& List);
    void UnHideRow(int ARow);
    void UnHideRows(int FromRow, int ToRow);
    void UnHideRowsAll();
    void UnHideRowList();
    void HideSelection();
    void UnHideSelection();
    bool SelectionHidden() const { return selectionHidden_; }
    void ScrollInView(int ACol, int ARow);
    void MoveColumn(int FromIndex, int ToIndex) override;
    void MoveRow(int FromIndex, int ToIndex) override;
    int GetSaveStartCol() const;
    int GetSaveStartRow() const;
    int GetSaveEndCol() const;
    int GetSaveEndRow() const;
    int GetSaveColCount() const;
    int GetSaveRowCount() const;

    // ---- rows and columns
    virtual void InsertRows(int ARow, int Count);
    void AddRow();
    virtual void InsertCols(int ACol, int Count);
    void AddColumn() { InsertCols(ColCount(), 1); }
    virtual void RemoveRows(int ARow, int Count);
    virtual void RemoveRowsInternal(int ARow, int Count);
    virtual void RemoveRowsEx(int ARow, int Count);
    void IRemoveRows(int ARow, int Count, bool AdjustHidden);
    virtual void RemoveCols(int ACol, int Count);
    void MergeCols(int ACol1, int ACol2);
    void RemoveDuplicates(int ACol, bool CaseFlag);
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    void HideSelectedRows();
    void HideUnSelectedRows();
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void ClearRows(int ARow, int Count);
    void ClearCols(int ACol, int Count);
    void ClearNormalRows(int ARow, int Count);
    void ClearNormalCols(int ACol, int Count);
    void ClearNormalCells();
    void Clear();
    void ClearSelection();
    void MergeColumnCells(int ACol, bool First);
    void MergeRowCells(int ARow, bool First);
    void SplitColumnCells(int ACol);
    void SplitRowCells(int ARow);
    void SplitAllCells();
    bool IsWideCell(int ACol, int ARow);
    bool IsCell(const std::string& Text, int& ACol, int& ARow) const;

    // ---- sizing
    // With ColumnSize.Stretch: column ACol (-1: the last) takes the rest of the client width.
    void StretchColumn(int ACol);
    void StretchRightColumn() { StretchColumn(-1); }
    void ColWidthsChanged() override;
    void Invalidate() override;

    // ---- updates and change notices
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    void StartUpdate() { ++updateCount_; }
    void ResetUpdate() { updateCount_ = 0; }
    virtual void CellsChanged(const platform::TRect& R);
    virtual void CellsLoaded() {}
    // A cell whose value the footer may total changed: its column's footer is recalculated.
    virtual void UpdateCell(int ACol, int ARow) { (void)ARow, CalcFooter(ACol); }
    // The column header list changed; ShowColumnHeaders follows.
    virtual void UpdateColHeaders() {}
    // Whether a row may be inserted at ARow (OnCanInsertRow) or added at the end (OnCanAddRow).
    virtual bool QueryInsertRow(int ARow)
    {
        bool can = true;
        if (OnCanInsertRow) OnCanInsertRow(this, ARow, can);
        return can;
    }
    virtual bool QueryAddRow()
    {
        bool can = true;
        if (OnCanAddRow) OnCanAddRow(this, can);
        return can;
    }
    virtual void CalcFooter(int ACol) { DoCalcFooter(ACol); }
    virtual void UpdateFooter();
    void RegisterNotifier(TGridChangeNotifier* ANotifier);
    void UnRegisterNotifier(TGridChangeNotifier* ANotifier);
    virtual void SelectionChanged(int ALeft, int ATop, int ARight, int ABottom);

    // ---- per-cell queries
    virtual void GetCellHint(int ACol, int ARow, std::string& Hint);
    virtual void GetCellColor(int ACol, int ARow, platform::TGridDrawState State, platform::TBrush& ABrush,
                              platform::TFont& AFont);
    virtual void GetCellPrintColor(int ACol, int ARow, platform::TGridDrawState State, platform::TBrush& ABrush,
                                   platform::TFont& AFont);
    virtual void GetCellBorder(int ACol, int ARow, platform::TPen& APen, TCellBorders& Borders);
    virtual void GetCellPrintBorder(int ACol, int ARow, platform::TPen& APen, TCellBorders& Borders);
    virtual void GetCellAlign(int ACol, int ARow, platform::TAlignment& HAlign, TVAlignment& VAlign);
    virtual void GetColFormat(int ACol, TSortStyle& AStyle, std::string& APrefix, std::string& ASuffix);
    virtual void GetCellEditor(int ACol, int ARow, TEditorType& AEditor);
    virtual void GetCellFixed(int ACol, int ARow, bool& IsFixed);
    virtual void GetCellReadOnly(int ACol, int ARow, bool& CanEdit);
    virtual void GetCellPassword(int ACol, int ARow, bool& IsPassword);
    virtual bool HasCombo(int ACol, int ARow);
    virtual std::string GetCheckTrue(int ACol, int ARow);
    virtual std::string GetCheckFalse(int ACol, int ARow);
    virtual bool GetFilter(int ACol) { (void)ACol; return false; }
    bool IsFixed(int ACol, int ARow) override;
    std::string CheckTrueText = "Y", CheckFalseText = "N";

    platform::TNotifyEvent OnResize;

    void Resize() override;
    // After the form has set the properties: headers shown, sizing limits set.
    void Loaded() override;

    // ---- painting (display column, display row)
    void GetVisualProperties(int ACol, int ARow, platform::TGridDrawState& State, bool Print, bool Select, bool Remap,
                             platform::TBrush& ABrush, platform::TColor& AColorTo, platform::TFont& AFont,
                             platform::TAlignment& HAlign, TVAlignment& VAlign, bool& AWordWrap) override;
    void DrawGridCell(platform::TCanvas* Canvas, int ACol, int ARow, platform::TRect ARect,
                      platform::TGridDrawState AState) override;
    void Paint() override;
    // Real column, display row: horizontal and vertical alignment of a cell.
    void GetCellAlignment(int ACol, int ARow, platform::TAlignment& HAlign, TVAlignment& VAlign);
    virtual std::string GetFormattedCell(int ACol, int ARow);
    virtual void CalcCell(int ACol, int ARow, std::string& Text) { (void)ACol; (void)ARow; (void)Text; }
    virtual std::string SaveCell(int ACol, int ARow);
    virtual void LoadCell(int ACol, int ARow, const std::string& Text) { SetCellEx(ACol, ARow, Text); }
    // The size the content of a cell needs (real column, display row).
    platform::TSize GetCellTextSize(int ACol, int ARow, bool WordWrapWidth);
    // User text (names from a file) made safe to place inside a mini-HTML cell.
    static std::string FixMarkup(const std::string& Text);
    bool IsSelected(int ACol, int ARow) const;
    // Drawn at the left of the current row's cell in real column 0 (with fixed columns).
    platform::TBitmap& RowIndicator() const { return *rowIndicator_; }
    platform::TBitmap& GetRowIndicator() const { return *rowIndicator_; }
    void SetRowIndicator(const platform::TBitmap& b);

    // ---- cell graphics (real column, display row)
    TCellGraphic* CreateCellGraphic(int ACol, int ARow);
    virtual TCellGraphic* GetCellGraphic(int ACol, int ARow) const;
    virtual TCellType GetCellType(int ACol, int ARow) const;
    bool FreeCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphic(int ACol, int ARow, TCellType CellType);
    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    bool GetCheckBoxState(int ACol, int ARow, bool& State);
    bool SetCheckBoxState(int ACol, int ARow, bool State);
    // The value is the cell's integer text, in per cent.
    void AddProgress(int ACol, int ARow, platform::TColor FGColor, platform::TColor BKColor);
    void AddProgressPie(int ACol, int ARow, platform::TColor Color, int Value);
    void AddComment(int ACol, int ARow, const std::string& Comment);
    platform::TSize GetCellGraphicSize(int ACol, int ARow);
    // The size a graphic takes on the page: bitmaps, icons and buttons at their own size,
    // pictures fitted into CellWidth x CellHeight and divided by Factor.
    virtual platform::TSize GetPrintGraphicSize(int ACol, int ARow, int CellWidth, int CellHeight, double Factor);
    void AddBitmap(int ACol, int ARow, platform::TBitmap* ABitmap, bool Transparent, TCellHAlign HAlign,
                   TCellVAlign VAlign);
    // A bitmap the cell owns.
    platform::TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign);
    platform::TBitmap* GetBitmap(int ACol, int ARow) const;
    bool RemoveBitmap(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctBitmap); }
    void AddPicture(int ACol, int ARow, platform::TPicture* APicture, bool Transparent, TStretchMode Mode,
                    int Padding, TCellHAlign HAlign, TCellVAlign VAlign);
    platform::TPicture* CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode Mode, int Padding,
                                      TCellHAlign HAlign, TCellVAlign VAlign);
    void AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent, TStretchMode Mode,
                        int Padding, TCellHAlign HAlign, TCellVAlign VAlign);
    // A file picture the cell owns.
    TFilePicture* CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode Mode, int Padding,
                                    TCellHAlign HAlign, TCellVAlign VAlign);
    TFilePicture* GetFilePicture(int ACol, int ARow) const;
    platform::TPicture* GetPicture(int ACol, int ARow) const;
    bool RemovePicture(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctPicture); }
    bool RemoveFilePicture(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctFilePicture); }
    // Icons: the caller's, or one the cell owns.
    void AddIcon(int ACol, int ARow, platform::TIcon* AIcon, TCellHAlign HAlign, TCellVAlign VAlign);
    platform::TIcon* CreateIcon(int ACol, int ARow, TCellHAlign HAlign, TCellVAlign VAlign);
    platform::TIcon* GetIcon(int ACol, int ARow) const;
    bool RemoveIcon(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctIcon); }
    // Images of GridImages; nothing happens while the grid has no image list.
    void AddImageIdx(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign);
    bool GetImageIdx(int ACol, int ARow, int& Index) const;
    bool RemoveImageIdx(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctImageList); }
    // The image shown is the cell's integer value plus Offset.
    void AddDataImage(int ACol, int ARow, int Offset, TCellHAlign HAlign, TCellVAlign VAlign);
    bool RemoveDataImage(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctDataImage); }
    bool HasDataImage(int ACol, int ARow) const;
    // Several images: Direction 0 side by side, else one above the other. The cell owns
    // the (empty) index list; its changes repaint the cell.
    void AddMultiImage(int ACol, int ARow, int Direction, TCellHAlign HAlign, TCellVAlign VAlign);
    bool RemoveMultiImage(int ACol, int ARow);
    TIntList* GetCellImages(int ACol, int ARow) const;
    void MultiImageChanged(TIntList* Sender, int ACol, int ARow);
    // The image list of image cells, <IMG src="idx:n"> and the drag image (not owned);
    // forgotten when it is freed.
    platform::TImageList* GridImages() const { return gridImages_; }
    void SetImages(platform::TImageList* Value);
    // A radio group: Direction 0 one item per line, else side by side; Index -1 takes the
    // selection from the cell text. AddRadio keeps the caller's list, CreateRadio owns one.
    void AddRadio(int ACol, int ARow, int Direction, int Index, base::TStrings* Items);
    base::TStrings* CreateRadio(int ACol, int ARow, int Direction, int Index);
    bool GetRadioIdx(int ACol, int ARow, int& Index) const;
    bool SetRadioIdx(int ACol, int ARow, int Index);
    base::TStrings* GetRadioStrings(int ACol, int ARow) const;
    bool IsRadio(int ACol, int ARow) const;
    bool ToggleRadio(int ACol, int ARow, bool FromUser);
    bool RemoveRadio(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctRadio); }
    void AddProgressEx(int ACol, int ARow, platform::TColor Color, platform::TColor TextColor,
                       platform::TColor BackColor, platform::TColor BackTextColor);
    void SetProgressPie(int ACol, int ARow, int Value);
    void AddColorComment(int ACol, int ARow, const std::string& Comment, platform::TColor Color);
    bool IsComment(int ACol, int ARow, std::string& Comment) const;
    void AddRotated(int ACol, int ARow, int Angle, const std::string& Text);
    void SetRotated(int ACol, int ARow, int Angle);
    bool IsRotated(int ACol, int ARow, int& Angle) const;
    void AddMarker(int ACol, int ARow, int ErrPos, int ErrLen);
    void RemoveMarker(int ACol, int ARow);
    void GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen) const;
    void AddButton(int ACol, int ARow, int AWidth, int AHeight, const std::string& Caption, TCellHAlign HAlign,
                   TCellVAlign VAlign);
    // A button with a glyph drawn left of its caption: the caller's glyph, or one the cell owns.
    void AddBitButton(int ACol, int ARow, int AWidth, int AHeight, const std::string& Caption,
                      platform::TBitmap* Glyph, TCellHAlign HAlign, TCellVAlign VAlign);
    platform::TBitmap* CreateBitButton(int ACol, int ARow, int AWidth, int AHeight, const std::string& Caption,
                                       TCellHAlign HAlign, TCellVAlign VAlign);
    void SetButtonText(int ACol, int ARow, const std::string& Text);  // display column
    void PushButton(int ACol, int ARow, bool Pushed);                 // display column
    bool HasButton(int ACol, int ARow) const;
    bool HasCheckBox(int ACol, int ARow) const;
    bool HasDataCheckBox(int ACol, int ARow) const;
    bool HasStaticEdit(int ACol, int ARow) const;
    bool RemoveCheckBox(int ACol, int ARow);
    bool RemoveButton(int ACol, int ARow);
    bool RemoveProgress(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctProgress); }
    bool RemoveProgressPie(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctProgressPie); }
    bool RemoveComment(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctComment); }
    bool RemoveRotated(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctRotated); }
    void CheckAll(int ACol);
    void UnCheckAll(int ACol);
    virtual bool ToggleCheck(int ACol, int ARow, bool FromUser);
    bool ToggleCheckBox(int ACol, int ARow) { return ToggleCheck(ACol, ARow, false); }
    // Display column; the whole cell unless MouseActions.PreciseCheckBoxCheck.
    bool IsInCheckBox(int ACol, int ARow, int X, int Y);

    // ---- node rows (AddNode, RemoveNode, ExpandNode, ContractNode take real rows)
    bool HasNodes() override;
    int NodeIndent(int ARow) override;
    void AddNode(int ARow, int Span);
    void AddSummary(int ARow);
    void RemoveNode(int ARow);
    void RemoveAllNodes();
    bool IsNode(int ARow) const;
    bool IsSummary(int ARow) const;
    bool GetNodeState(int ARow) const;  // true while contracted
    void SetNodeState(int ARow, bool Contracted);
    int GetNodeSpan(int ARow) const;
    void SetNodeSpan(int ARow, int Span);
    int GetNodeLevel(int ARow) const;
    void ExpandNode(int ARow);
    void ContractNode(int ARow);
    void ExpandAll();
    void ContractAll();
    int GetParentRow(int ARow) const;
    // A row added under (removed from) a node, the spans of its nodes following (real rows).
    void InsertChildRow(int ARow);
    void RemoveChildRow(int ARow);
    int GetNodeSpanType(int ARow) const;
    bool InNodeRect(int ARow, int X) const;

    // ---- aggregates, selection text, numbering, sizing, swaps
    double ColumnSum(int ACol, int FromRow, int ToRow);
    double ColumnAvg(int ACol, int FromRow, int ToRow);
    double ColumnMin(int ACol, int FromRow, int ToRow);
    double ColumnMax(int ACol, int FromRow, int ToRow);
    double RowSum(int ARow, int FromCol, int ToCol);
    double RowAvg(int ARow, int FromCol, int ToCol);
    double RowMin(int ARow, int FromCol, int ToCol);
    double RowMax(int ARow, int FromCol, int ToCol);
    std::string SelectedText();
    void AutoNumberCol(int ACol);
    void AutoNumberRow(int ARow);
    void SizeToWidth(int ACol, bool OnlyGrow);
    void SizeToHeight(int ARow, bool OnlyGrow);
    void SizeToLines(int ARow, int Lines, int Space);
    void AutoSizeCol(int ACol) { SizeToWidth(ACol, onlyGrow_); }
    void AutoSizeRow(int ARow) { SizeToHeight(ARow, onlyGrow_); }
    void AutoSizeColumns(bool DoFixedCols, int Space);
    void AutoSizeRows(bool DoFixedRows, int Space);
    void SwapColumns(int ACol1, int ACol2);
    // The sort's row swap: counted, kept in the pre-sort order, row marks and the followed row moved along.
    virtual void SortSwapRows(int ARow1, int ARow2);
    int SwapCount() const { return sort_.swapCount; }
    TIntList& PreSortOrder() { return sort_.preSortOrder; }
    int FollowedRow = -1;
    void SwapRows(int ARow1, int ARow2);
    int MinColWidth = 0, MaxColWidth = 0, MinRowHeight = 0, MaxRowHeight = 0;
    virtual void UpdateAutoColSize(int ACol, int& AWidth);
    // A column sized by the mouse; both hooks raise OnUpdateColumnSize.
    virtual void UpdateColSize(int ACol, int& AWidth);

    // ---- scroll bars, sizing zones, footer
    // Proportional thumbs (with ScrollProportional): the bars' page follows the part in view.
    void UpdateHScroller() { UpdateScroller(false); }
    void UpdateVScroller() { UpdateScroller(true); }
    void UpdateScroller(bool vertical);
    // Off: the thumbs return to the grid's own scale; flat bars kept only for a flat ScrollType.
    void SetScrollProportional(bool v);
    // Which bars the grid has; flat bars follow.
    void SetScrollBarsEx(platform::TScrollStyle v);
    platform::TScrollStyle GetScrollBarsEx() const { return ScrollBars(); }
    bool InSizeZone(int X, int Y);
    virtual void DoCalcFooter(int ACol);
    void FloatFooterUpdate() override;
    void TopLeftChanged() override;
    // With ScrollSynch the view follows a dragged thumb; the footer follows the columns.
    void WMHScroll(platform::TWMHScroll& m) override;
    void WMVScroll(platform::TWMVScroll& m) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void ScrollMessage(platform::TMessage& m, bool vertical);
    // The grid's own frame for the soft, studio, XP and list-view looks.
    void WMNCPaint(platform::TMessage& m) override;
    void NCPaintProc(platform::HDC dc);
    // With IntegralHeight the height is trimmed to whole rows.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The header gradients after the desktop colour scheme.
    void ThemeAdapt();
    void DoInsertRow(int ARow);
    void DoDeleteRow(int ARow);

    // The four arrows that mark where a moved column or row lands, and the drag image;
    // made on first use, hidden.
    TArrowWindow* ArrowWindow(TArrowDirection ADirection);
    TPopupButton* PopupButton();
    platform::TColor GetArrowColor() { return ArrowWindow(arrUp)->Color(); }
    void SetArrowColor(platform::TColor c);
    // The clipboard format of the grid's cells, registered once per process.
    static unsigned CellsClipboardFormat();
    // Size of every cell's content: columns widen and rows grow to fit (plus the spaces).
    void AutoSizeCells(bool DoFixedCells, int SpaceX, int SpaceY);
    enum TScrollType { ssNormal, ssFlat, ssEncarta };
    // ssFlat and ssEncarta switch the window's bars to flat bars in that style.
    TScrollType ScrollType() const { return scrollType_; }
    void SetScrollType(TScrollType v);
    // The flat bars' thickness.
    int ScrollWidth() const { return flatScroll_.scrollWidth; }
    void SetScrollWidth(int v);
    // Background of both flat bars; clNone leaves the system's.
    platform::TColor ScrollColor() const { return flatScroll_.scrollColor; }
    void SetScrollColor(platform::TColor v);
    // Push ScrollType, ScrollColor and ScrollWidth to the flat bars.
    void UpdateType();
    void UpdateColor();
    void UpdateWidth();
    void FlatInit();
    void FlatDone();
    // The three settings, then each flat bar shown when its rows or columns overflow.
    void FlatUpdate();
    bool FlatActive() const { return flatScroll_.flatActive; }
    // These act only while flat bars are active.
    void FlatSetScrollInfo(int Bar, const platform::SCROLLINFO& Info, bool Redraw);
    void FlatSetScrollProp(unsigned Index, long Value, bool Redraw);
    void FlatShowScrollBar(int Bar, bool Show);
    // Copy the window's own bar state to the flat bar.
    void UpdateVScrollBar();
    void UpdateHScrollBar();
    // A hint with the column or row under a dragged thumb.
    enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
    TScrollHintType ScrollHints = shNone;
    platform::THintWindow* ScrollHintWindow() const { return flatScroll_.scrollHint; }
    // The display cell under a screen point; -1 outside the cells.
    void ScreenToCell(platform::TPoint Pt, int& ACol, int& ARow) const;
    // The owning form's resize: with SizeWithForm the grid follows the form's size change,
    // then the form's earlier handler runs and the stretch column is stretched.
    void GridResize(platform::TObject* Sender);

    // ---- grouping by a column (a node row heads each run of equal values)
    virtual void Group(int ACol);
    virtual void UnGroup();
    void SetGroupColumn(int ACol);
    int GroupColumn() const { return groupColumn_; }
    void GroupSum(int ACol) { GroupCalc(ACol, 1); }
    void GroupAvg(int ACol) { GroupCalc(ACol, 2); }
    void GroupMin(int ACol) { GroupCalc(ACol, 3); }
    void GroupMax(int ACol) { GroupCalc(ACol, 4); }
    void GroupCount(int ACol) { GroupCalc(ACol, 5); }
    void GroupCalc(int ACol, int Kind);

    // ---- text files: CSV, plain text, fixed width (errors are EExGridError); their
    // options (Delimiter, TildeCSV, SaveFixedCells, ...) are TGridFileOptions'
    void SaveToCSV(const std::string& FileName) { OutputToCSV(FileName, false); }
    void AppendToCSV(const std::string& FileName) { OutputToCSV(FileName, true); }
    void LoadFromCSV(const std::string& FileName) { InputFromCSV(FileName, false); }
    void InsertFromCSV(const std::string& FileName) { InputFromCSV(FileName, true); }
    void SaveToASCII(const std::string& FileName);
    void SaveToFixed(const std::string& FileName, TIntList& Widths);
    void LoadFromFixed(const std::string& FileName, TIntList& Positions);
    // The CSV text of the save range, as SaveToCSV writes it.
    std::string CSVText();
    virtual void ExportNotification(TGridExportState State, int ARow) { (void)State; (void)ARow; }
    virtual void ImportNotification(TGridImportState State, int ARow) { (void)State; (void)ARow; }

    // ---- HTML and XML; office exchange (no automation server here: those raise)
    void SaveToHTML(const std::string& FileName) { OutputToHTML(FileName, false); }
    void AppendToHTML(const std::string& FileName) { OutputToHTML(FileName, true); }
    std::string SaveToHTMLString();
    void SaveToXML(const std::string& FileName, const std::string& ListDescr, const std::string& RecordDescr,
                   const base::TStrings* FieldDescr);
    base::TStringList* GetXLSSheets(const std::string& FileName);
    void LoadFromXLS(const std::string& FileName);
    void LoadFromXLSSheet(const std::string& FileName, const std::string& SheetName);
    void SaveToXLS(const std::string& FileName, bool CreateNew);
    void SaveToXLSSheet(const std::string& FileName, const std::string& SheetName);
    void SaveToDOC(const std::string& FileName, bool ActiveDoc);
    // A query's result from an Access database file through the MDB Tools ODBC driver: the
    // field names in the last fixed row, one row per record. EExGridError when the file or
    // the driver is missing or the query fails; the grid is then unchanged.
    void LoadFromMDBSQL(const std::string& FileName, const std::string& SQL);
    void LoadFromMDBTable(const std::string& FileName, const std::string& Table);

    // ---- the grid text file and stream ("n,m", "cw c,w" and "c,r,text" lines); a bad
    // file raises EExGridError and leaves the grid as it was
    void SaveToFile(const std::string& FileName);
    void LoadFromFile(const std::string& FileName);
    void SaveToStream(std::ostream& Stream);
    void LoadFromStream(std::istream& Stream);
    // The binary grid stream of a block of cells: texts, properties, spans, check boxes.
    std::string SaveRectToBinStream(const platform::TRect& R);
    void SaveRectToBinStream(const platform::TRect& R, std::ostream& Stream) { Stream << SaveRectToBinStream(R); }
    // A block goes with its top-left cell to P. A whole-grid stream read at the first cell
    // of the save range replaces the grid from there; read anywhere else it is a block.
    void LoadAtPointFromBinStream(platform::TPoint P, const std::string& Data);
    std::string SaveToBinStream();
    void LoadFromBinStream(const std::string& Data);
    void SaveToBinFile(const std::string& FileName);
    void LoadFromBinFile(const std::string& FileName);
    // The column and row counts of a binary grid stream's header; false when it is none.
    static bool BinStreamSize(const std::string& Data, int& Cols, int& Rows);

    // ---- column widths and order kept under ColumnSize.Key / Section ("Col" i, "Pos" k)
    void SaveColSizes();
    void LoadColSizes();
    void SaveColPositions();
    void LoadColPositions();

    // ---- printing and print preview (sizes in 0.1 mm; grid rectangles in display indices)
    TPrintSettings& PrintSettings() const { return printJob_.Settings(); }
    void SetPrintSettings(const TPrintSettings& v);
    // Always an INI file; a file that cannot be written raises EExGridError.
    void SavePrintSettings(const std::string& FileName, const std::string& Section);
    void LoadPrintSettings(const std::string& FileName, const std::string& Section);
    void Print();
    void PrintSelection();
    void PrintRect(const platform::TGridRect& GridRect);
    void PrintSelectedRows();
    void PrintSelectedCols();
    void PrintPreview(platform::TCanvas* Canvas, const platform::TRect& Rect);
    void PrintPreviewRect(platform::TCanvas* Canvas, const platform::TRect& Rect, const platform::TGridRect& GridRect);
    void PrintPreviewSelection(platform::TCanvas* Canvas, const platform::TRect& Rect);
    void PrintPreviewSelectedRows(platform::TCanvas* Canvas, const platform::TRect& Rect);
    void PrintPreviewSelectedCols(platform::TCanvas* Canvas, const platform::TRect& Rect);
    void PrintDraw(platform::TCanvas* Canvas, const platform::TRect& Rect);
    void PrintDrawRect(platform::TCanvas* Canvas, const platform::TRect& Rect, const platform::TGridRect& GridRect);
    void SetPreviewPage(int Page);
    int PrintFromPage() const { return printJob_.FromPage; }
    int PrintToPage() const { return printJob_.ToPage; }
    int PrintPageCount() const { return printJob_.PageCount; }
    // Lays out (and for prPreview and prPrint draws) the print range; Pages is the total
    // shown in page numbers (-1 while counting). Returns the number of pages.
    int BuildPages(platform::TCanvas* Canvas, TPrintMethod Method, int Pages, bool SelectedOnly);
    int MaxLinesInGrid();
    int MaxLinesInRow(int ARow);
    int MaxCharsInCol(int ACol);
    void CalcTextPos(platform::TRect& R, int Angle, const std::string& Text, platform::TAlignment HAlign,
                     TVAlignment VAlign);
    int MapFontHeight(int Size) const;
    int MapFontSize(int Height) const;

    // ---- sorting, filtering and finding
    enum TFindParameter : unsigned {
        fnMatchCase = 1, fnMatchFull = 2, fnMatchRegular = 4, fnDirectionLeftRight = 8, fnMatchStart = 16,
        fnFindInCurrentRow = 32, fnFindInCurrentCol = 64, fnIncludeFixed = 128, fnAutoGoto = 256,
        fnIgnoreHTMLTags = 512, fnBackward = 1024, fnIncludeHiddenColumns = 2048
    };
    using TFindParameters = unsigned;
    int Compare(int ACol, int ARow1, int ARow2, TSortDirection Direction);
    int CompareLine(int ACol, int ARow1, int ARow2);
    virtual void QSort();
    virtual void QUnSort();
    // Sorts by the columns of SortIndexes in turn, each in its own direction;
    // EExGridError when there are none.
    virtual void QSortIndexed();
    // Sorts the rows under each expanded node by SortSettings().Column, each block apart.
    virtual void QSortGroup();
    // Compares by the sort index list from entry Index on (further entries only with Full).
    int CompareLineIndexed(int Index, int ARow1, int ARow2);
    // Sort a range of rows, without the bookkeeping of QSort.
    void QuickSort(int ACol, int FromRow, int ToRow);
    void QuickSortIndexed(int FromRow, int ToRow);
    // The sorts behind them, stable: rows that compare equal keep their order. The Ref
    // sort puts rows back in their order before sorting (ACol is not used).
    void QuickSortRows(int ACol, int FromRow, int ToRow);
    void QuickSortRowsIndexed(int Index, int FromRow, int ToRow);
    void QuickSortRowsRef(int ACol, int FromRow, int ToRow);
    // Swaps the two rows when they are out of the order the last sort set; true when it did.
    bool SortLine(int ACol, int ARow1, int ARow2);
    // The first normal row whose lookup column starts with Text (upper case); -1 when none.
    int Search(const std::string& Text);
    // A sort key of image cells: the image index, or the same number for cells sharing
    // one bitmap or icon; -1 for other cells.
    int GetCellImageIdx(int ACol, int ARow);
    void InitSortXRef();
    void SortByColumn(int ACol) { QSort(ACol); }
    virtual bool MatchFilter(int ARow);
    void FilterRow(int ARow);
    void ApplyFilter();
    // Switching on hides the rows that fail the filter; switching off shows every hidden row.
    bool FilterActive() const { return filterState_.filterActive; }
    void SetFilterActive(bool v);
    platform::TPoint FindFirst(const std::string& Text, TFindParameters Params);
    platform::TPoint FindNext();
    platform::TPoint Find(platform::TPoint StartCell, const std::string& Text, TFindParameters Params);
    platform::TPoint FindWide(platform::TPoint StartCell, const std::u16string& WideText, TFindParameters Params);
    // Whether a cell (display column unless fnIncludeHiddenColumns) matches the last search.
    bool MatchCell(int ACol, int ARow, bool Wide = false);

    // ---- clipboard
    bool QuoteMultilineCopies = false;
    platform::TPoint ClipboardOrigin{0, 0};
    TClipOperation LastClipOperation = coCopy;
    bool PasteWholeGrid = false;
    void CopySelectionToClipboard();
    void CopyToClipBoard();
    void CutToClipboard();
    void CutSelectionToClipboard();
    void PasteFromClipboard();
    void PasteSelectionFromClipboard();
    int PasteFunc(int ACol, int ARow);
    int PasteText(int ACol, int ARow, const std::string& Text);
    void PasteSize(const std::string& Text, platform::TPoint& Size);
    void CorrectSelection();
    // The TAB-separated text of a block of display columns and rows, as the copy puts it.
    std::string CopyText(const platform::TGridRect& R, bool Disjunct);
    virtual void PasteNotify(platform::TPoint Origin, const platform::TGridRect& PasteArea, TClipOperation Op)
    {
        (void)Origin; (void)PasteArea; (void)Op;
    }
    virtual void PasteInCell(int ACol, int ARow, const std::string& Value);

    // ---- in-place editing, editing keys and cell validation
    // The cell keeps its text while the editor is open; the typed value reaches the cell
    // only through ValidateCell, when the editor is left.
    TEditorType ActiveEditorType = edNormal;
    bool EditActive = false, ValidatePending = false, Validating = false, EditStarted = false;
    int ValidateCol = -1, ValidateRow = -1;  // display column, row
    std::string ValidateOldText, EditStartText;
    static bool IsTextEditorType(TEditorType t);
    bool IsEditable(int ACol, int ARow);  // real column
    bool IsPassword(int ACol, int ARow);
    virtual bool ValidateCell(const std::string& Value);
    virtual void InitValidate(int ACol, int ARow);
    virtual void UpdateEditingCell(int ACol, int ARow, const std::string& Value);
    virtual void RestoreCache();
    void AdvanceEdit(int ACol, int ARow, bool Force, bool OpenEditor, bool Forward, bool Recursive);
    // The fixed columns as the editing moves see them (the node column counts as one), and
    // the fixed right columns that are not hidden.
    int FixedColsVis() const;
    int NumFixedRightVis() const;
    void TabEdit(bool Backward);
    void ShowInplaceEdit();
    void HideInplaceEdit();
    void DoneEditing();
    // Validates the open text editor's value; false (editor kept open) when it is refused.
    bool CommitEdit();
    // Every validated edit is registered here when set (TExGridUndoRedo::SetGrid sets it).
    TExGridUndoRedo* UndoRedo = nullptr;
    // Closes the text editor without judging or keeping its value.
    void CancelInplaceEdit();
    bool CanEditShow() override;
    bool SelectCell(int ACol, int ARow) override;
    void UpdateText() override;
    void HideEditor() override;
    platform::TInplaceEdit* CreateEditor() override;
    int GetEditLimit() override { return MaxEditLength; }
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    // One notch moves the current row by the wheel step once; with Ctrl it zooms.
    bool DoMouseWheel(platform::TShiftState Shift, int WheelDelta, platform::TPoint MousePos) override;

    // ---- mouse buttons and clicks in cells; the fill drag; intelli-pan (ExGridClick.cpp)
    // Opens the editor of an HTML form control of a cell over the control's rectangle
    // (ACol display, ARealCol real column); leaving it writes the value into the cell.
    void ControlEnter(const std::string& CellText, const std::string& CtrlType, const std::string& CtrlID,
                      const std::string& CtrlValue, const platform::TRect& CtrlRect, int ACol, int ARealCol, int ARow);
    void ControlExit(platform::TObject* Sender);
    // Enter or Tab in a form control's editor: the value kept, then the focus to the grid
    // (Enter) or on to the cell's next control (Tab).
    void ControlEditKey(platform::TObject* Sender, char Key);
    // Opens the form control after CurrentID in the cell (the first for an empty ID); with
    // none left the grid takes the focus.
    void AdvanceHTMLEdit(int ACol, int ARow, const std::string& CurrentID);
    bool HTMLControlActive() const { return htmlControl_.htmlControlActive; }
    bool HTMLButtonDown() const { return htmlControl_.htmlButtonDown; }
    platform::TMaskEdit* ControlEdit();
    platform::TComboBox* ControlCombo();
    // A click on a link whose handling is left to the grid opens it with the desktop's
    // handler only with this on, and only for http, https and mailto addresses.
    bool OpenLinks = false;
    enum TIntelliPan { ipNone, ipVertical, ipHorizontal, ipBoth };
    TIntelliPan IntelliPan = ipVertical;
    // Selects the radio item under (X, Y), relative to the cell's top-left corner (real column).
    void HandleRadioClick(int ACol, int ARow, int X, int Y);
    // The selection's corner handle (with SelectionResizer) lies under the client point.
    bool InSelectionResizer(int X, int Y) const;
    bool FillDragActive() const { return click_.fillDrag; }
    bool Panning() const { return pan_.panning; }
    platform::TPoint PanFocusPoint() const { return pan_.panFocus; }
    void DrawIntelliFocusPoint();
    void EraseIntelliFocusPoint();
    // Grows every column width, then every row height, by Delta pixels and the font zoom
    // by Delta; nothing when the zoom level would leave -10..10.
    void Zoom(int Delta);
    int ZoomOffset() const { return zoom_; }
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void WndProc(platform::TMessage& m) override;
    void WMTimer(platform::TWMTimer& m) override;

private:
    // What a left press handles itself (nothing more then happens); false leaves it to the grid.
    bool ClickPress(platform::TShiftState Shift, int X, int Y);
    bool DoubleClickCell(platform::TShiftState Shift, int X, int Y);
    void RightPress(int X, int Y);
    bool ClickLink(int ACol, int ARow, int X, int Y);
    // Lays an HTML cell out at its place and finds the link or form control under (X, Y).
    bool HTMLHitTest(int ACol, int ARow, int X, int Y, html::HTMLDrawResult& Result);
    void FollowLink(const std::string& Link);
    // A pressed HTML form button rises (and is drawn so); nothing when none is down.
    void RaiseHTMLButton();
    void ClickSort(int ACol, platform::TShiftState Shift);
    void EndFillDrag();
    void StartPan(int X, int Y);
    void StopPan();
    void PanStep();
    TClickState click_;
    TPanState pan_;
    THTMLControlState htmlControl_;

protected:
    double CellValue(int ACol, int ARow, bool realRow);
    bool SkipInAggregate(int ACol, int ARow);
    // Texts and properties of two store cells change places.
    void SwapCells(int c1, int r1, int c2, int r2);
    // The display row after a node's rows (the next node for a span of 0 or less).
    int NodeEnd(int d) const;
    double ColumnExtreme(int ACol, int FromRow, int ToRow, bool smallest);
    double RowExtreme(int ARow, int FromCol, int ToCol, bool smallest);
    void DrawCellText(platform::TCanvas* Canvas, int c, int ARow, platform::TRect R, platform::TAlignment ha,
                      TVAlignment va, bool selected);
    // On screen R is the cell's content area. Printing passes the graphic's own rectangle on the
    // page and Scale, the page pixels per screen pixel; nothing is recorded for hit tests then.
    void DrawCellGraphic(platform::TCanvas* Canvas, TCellGraphic& g, int c, int ARow, const platform::TRect& R,
                         platform::TAlignment ha, bool selected, double Scale = 0);
    bool SortMarkShown(int c, int ARow) const;
    // The sort mark centred on (X, Y): the glyph when one is set, else a drawn triangle.
    void DrawSortIndicator(platform::TCanvas* Canvas, int ACol, int X, int Y);
    void DrawBackGround(platform::TCanvas* Canvas, int ACol, int ARow, const platform::TRect& cell, bool fixed);
    void DrawTreeLines(platform::TCanvas* Canvas, int ARow, const platform::TRect& cell);
    void DrawFixedLook(platform::TCanvas* Canvas, int ACol, int ARow, platform::TRect R, bool after);

    // Every row's cells over all real columns while rows move into or out of the store.
    struct AllColumns;
    void HideEditorNow();
    // Sets an attribute in the cell's properties (made when missing) and repaints the cell.
    template <class Set>
    void SetProp(int ACol, int ARow, Set set);
    // Wraps Text in Tag in the cells of R, or (no Text) removes the tag.
    void TagCells(const std::string& Tag, const std::string* Text, bool DoCase, const platform::TRect& R);
    void FillCells(bool DoFixed, const std::function<void(int, int)>& fill);
    // A display row's cells over all real columns into a list (texts, properties) and
    // back; the source is left empty, nothing is freed.
    void RowToStrings(int ARow, base::TStringList& list);
    void StringsToRow(base::TStringList& list, int ARow);
    // Moves display row ADisplayRow's cells and height into the hidden-row store as real
    // row ARealRow, and a stored row's back into a display row (the default height when
    // it kept none).
    void StoreHiddenRow(int ARealRow, int ADisplayRow);
    void RestoreHiddenRow(TGridItem& Item, int ADisplayRow);
    void MoveRowCells(int From, int To);
    // Inserts empty rows at display row ARow; with adjustHidden the hidden rows after
    // the insertion point are renumbered.
    void InsertRowsAt(int ARow, int Count, bool adjustHidden);
    // Renumbers the hidden rows for display rows about to be removed.
    void RenumberHiddenForRemoval(int ARow, int Count);
    void OutputToCSV(const std::string& FileName, bool Append);
    void InputFromCSV(const std::string& FileName, bool Insert);
    void OutputToHTML(const std::string& FileName, bool Append);
    // Saved text of a cell for the exports; a cell covered by a merged block gives nothing.
    std::string ExportCell(int ACol, int ARow);
    bool ClipEditable(int ACol, int ARow);
    void CopyFunc(const platform::TGridRect& R, bool Disjunct);
    void QSort(int ACol);
    // The bookkeeping around a whole-grid sort: Work moves the rows; the current row then
    // follows its row (MoveRowOnSort or FollowRow) or keeps its index, OnRowUpdate is raised
    // when RaiseRowUpdate, and with NormalCellsOnly fixed column 0 keeps its texts.
    enum class TSortKind { Rows, Indexed, Group };
    // Reads a binary grid stream at P, growing the grid where allowed; the stream is read
    // and checked whole before anything changes. Gives the pasted size in Size.
    void LoadBinStreamAt(platform::TPoint P, const std::string& Data, bool GrowCols, bool GrowRows,
                         platform::TPoint* Size);
    // After rows were hidden or shown: the cell controls follow and the footer totals are
    // recalculated (unless a caller holds them for one recalculation at its end).
    void VisibleRowsChanged();
    bool holdFooter_ = false;
    void SortRows(const std::function<void()>& Work, TSortKind Kind);
    // Sorts rows from..to stably into the order Before gives, moving the rows' content along.
    void SortRange(int from, int to, const std::function<bool(int, int)>& Before);
    void SortByClick(int ARealCol);
    TFindState find_;
    platform::TPoint FindInternal(platform::TPoint StartCell, TFindParameters Params, bool Wide);
    int LastShownWidth() const;

private:
    class TGraphicView;  // what the cell graphic painter sees of the grid
    std::unique_ptr<TBands> bands_;
    std::unique_ptr<TBackGround> background_;
    std::unique_ptr<TControlLook> controlLook_;
    std::unique_ptr<TSortSettings> sortSettings_;
    std::unique_ptr<TFilter> filter_;
    TExStringGridCheck* cellChecker_ = nullptr;
    html::TPictureContainer* pictureContainer_ = nullptr;
    platform::TImageList* gridImages_ = nullptr;
    std::unique_ptr<html::THTMLPictureCache> pictureCache_;
    TFilterState filterState_;
    std::unique_ptr<TCellNode> cellNode_;
    std::unique_ptr<TColumnSize> columnSize_;
    std::unique_ptr<TFloatingFooter> floatingFooter_;
    std::unique_ptr<platform::TFont> fixedFont_, activeCellFont_;
    std::unique_ptr<base::TStringList> columnHeaders_, rowHeaders_, lookupItems_;
    TSortState sort_;
    TIntList mergedColumns_;
    std::vector<bool> rowSelect_, colSelect_;
    std::vector<TGridChangeNotifier*> notifiers_;
    TControlList controls_;
    int cellControlCount_ = 0;
    TGridIndexMap indexMap_;
    class TPrintView;  // what the print layout sees of the grid
    TGridPrintJob printJob_;
    unsigned long long lookVersion_ = 0;  // grows with every change of how the grid looks
    void PrivatePrintRect(const platform::TGridRect& GridRect, bool SelectedOnly);
    void PrivatePrintPreviewRect(platform::TCanvas* Canvas, const platform::TRect& Rect,
                                 const platform::TGridRect& GridRect, bool SelectedOnly);
    platform::TGridRect savedSelection_;
    bool selectionHidden_ = false;
    int lastReportedRow_ = -1;
    int updateCount_ = 0;
    TFixedLayout fixed_;
    bool wordWrap_ = true;
    platform::TColor gradFrom_ = platform::clWhite, gradTo_;
    bool destroying_ = false;
    bool stretching_ = false;
    int zoom_ = 0;
    int nodeCount_ = 0;
    int groupColumn_ = -1, groupWidth_ = 0;
    TScrollType scrollType_ = ssNormal;
    TFlatScrollState flatScroll_;
    void ScrollHint(platform::TMessage& m, bool vertical);
    // What a grid puts into its form's OnResize; known again when the grid is unhooked.
    struct TFormResizeHook {
        TExStringGrid* grid;
        void operator()(platform::TObject* sender) const { grid->GridResize(sender); }
    };
    void UnhookFormResize();
    TFormFollowState formFollow_;
    TArrowWindow* arrows_[4] = {};
    TPopupButton* popupButton_ = nullptr;
    std::unique_ptr<platform::TBitmap> rowIndicator_;
    std::string groupHeader_;
    bool onlyGrow_ = false;
    bool calculatingFooter_ = false;
    TAdvanceState advance_;

    // ---- mouse: hover, disjunct cells, whole rows and columns, sizing and moving
public:
    // The disjunct cell list (display cells), used with MouseActions.DisjunctCellSelect.
    bool GetSelectedCells(int ACol, int ARow) const;
    void SetSelectedCells(int ACol, int ARow, bool Value);
    platform::TPoint GetSelectedCell(int Index) const;  // X column, Y row
    // Adds the cells of a selection of more than one cell to the list first.
    int GetSelectedCellsCount();
    void ClearSelectedCells();
    void InvalidateGridRect(const platform::TGridRect& ARect);
    // The published cursor: what is shown when nothing special lies under the mouse.
    platform::TCursor GetCursorEx() const { return Cursor(); }
    void SetCursorEx(platform::TCursor Value);
    enum TMouseSelectMode { msNone = 0, msColumn = 1, msRow = 2, msAll = 3, msResizer = 5 };
    TMouseSelectMode MouseSelectMode() const { return selectMode_; }
    using TCustomGrid::GridState;
    platform::TPoint HoverCell() const { return select_.hoverCell; }
    bool SizingHintShown() const { return select_.sizingHintShown; }
    THTMLHintWindow* SizingHintWindow() const { return select_.sizingHint; }
    std::string CurrentAnchor() const { return select_.currentAnchor; }
    // Set by a row or column move with EnhRowColMove, and by a sizing drag, until the next press.
    bool MovedSinceDown = false, ColSizedSinceDown = false, RowSizedSinceDown = false;
    void CMMouseLeave(platform::TMessage& m) override;
    // Cancelled while a column or row is dragged: the drag image and arrows go, nothing moves.
    void WMCancelMode(platform::TWMCancelMode& m) override;
    // The grid's cursors by what the mouse would select: a column, a row, all, the
    // selection's corner; the split cursor on a fixed column's border.
    void WMSetCursor(platform::TWMSetCursor& m) override;
    void CalcSizingState(int X, int Y, platform::TGridState& State, int& Index, int& SizingPos,
                         int& SizingOfs) override;
    void RowMoved(int FromIndex, int ToIndex) override;

protected:
    // The press as the grid's own selection sees it: whole rows, columns or the grid from
    // the fixed cells, disjunct rows and columns, fixed-column sizing. True when the
    // platform's press must not run.
    bool SelectPress(platform::TShiftState Shift, int X, int Y);
    // After the platform's press: the moved column or row with its grab offset.
    void AfterSelectPress(int X, int Y);
    // The move as the selection sees it; runs the platform's move.
    void SelectMove(platform::TShiftState Shift, int X, int Y);
    // The release as the selection sees it; true when the platform's release must not run.
    bool SelectUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y);
    TMouseSelectMode SelectModeAt(int X, int Y, int ACol, int ARow, bool ScrolledUp);

private:
    void SelectRelease(platform::TShiftState Shift, int X, int Y);
    void DrawFixedSizingLine(int X);
    void MoveFeedback(int X, int Y, int ACol, int ARow);
    void HideMoveFeedback();
    // Shows the drag image (hidden) with the look's gradient.
    void ShowDragImage();
    void ShowSizingHint(int X, int Y);
    void HideSizingHint();
    void TrackAnchor(int X, int Y, int ACol, int ARow, bool& CursorSet);
    TSelectState select_;
    TMouseSelectMode selectMode_ = msNone;
public:
    // ---- in-cell editor controls, editor links and the fixed-cell editor
    // The controls are made on first use, owned by the grid and hidden between editings.
    int ComboDefaultIndex = -1;
    char PendingEditChar = 0;
    std::u16string ValidateOldWideText;
    platform::TWinControl* ActiveEditControl = nullptr;
    // The application's link for edCustom cells (not owned).
    TEditLink* EditLink = nullptr;
    bool LinkFormClosed = false;
    bool InDoneInplaceEdit() const { return inDoneInplaceEdit_; }
    // With MouseActions.CaretPositioning a left press asks the editor that gets the focus
    // next to put its caret under the press point (grid client coordinates).
    bool CaretFromMouse = false;
    platform::TPoint CaretPoint() const { return caretPoint_; }
    // Puts the caret of edit (a child of the grid or of a control on it) under the press
    // point when one is asked for and it lies inside; the request is then done.
    void PlaceCaretFromMouse(platform::TCustomEdit* edit);
    TGridSpin* GridSpin();
    TGridCombo* GridCombo();
    TGridUniCombo* GridUniCombo();
    TGridUniEdit* GridUniEdit();
    TGridEditBtn* GridEditBtn();
    TGridUnitEditBtn* GridUnitEditBtn();
    TGridCheckBox* GridCheckBox();
    TGridButton* GridButton();
    TGridDatePicker* GetDateTimePicker();
    TGridTransEdit* FixedCellEditor();
    // The control of ActiveEditorType over the cell (display column), loaded and focused.
    void ShowEditControl(int ACol, int ARow);
    // Takes the control's value into the cell (validated) and hides it.
    void HideEditControl(int ACol, int ARow);
    void ShowCellEdit();
    void HideCellEdit();
    // The commit of an open control: its value validated as the cell's new text; false
    // when refused (the cell keeps its text, the control its value or the handler's).
    bool CommitEditControl();
    // The control's value as the cell text it stands for, and the control loaded from the cell.
    std::string EditControlText();
    void LoadEditControl();
    // A key that ended editing in a control: hide, move for Tab and the arrows, advance for Enter.
    void DoneInplaceEdit(platform::Word Key, platform::TShiftState Shift);
    // Escape in a control: the control shows the cell's text again and closes writing nothing.
    void CancelEditControl(platform::TShiftState Shift);
    // A control (or a link's control) lost the focus to NewFocus.
    void EditControlExit(platform::TWinControl* Control, platform::TWinControl* NewFocus);
    virtual bool ValidateCellWide(const std::u16string& Value);
    virtual std::string EllipsClick(const std::string& S);
    void ComboChange(platform::TObject* Sender);
    void ComboCloseUp();
    void ComboEditChange(const std::string& Text);
    void ClearComboString();
    void AddComboString(const std::string& S);
    void AddComboStringObject(const std::string& S, platform::TObject* AObject);
    bool RemoveComboString(const std::string& S);
    bool SetComboSelectionString(const std::string& S);
    void SetComboSelection(int Index) { ComboDefaultIndex = Index; }
    int GetComboCount();
    // Opens the fixed-cell editor on (ACol, ARow) (display column).
    void StartFixedEdit(int ACol, int ARow);
    // The window procedure a link's control gets while it edits: Tab and the arrows
    // are wanted with goTabs.
    void SubclassProc(platform::TMessage& Message);
    // Hooks for descendants: the text editor's progress after each key, and whether its
    // text is a formula that picks cells.
    virtual void EditProgress(const std::string& Text, platform::TPoint CaretPoint, int CaretPos)
    {
        (void)Text; (void)CaretPoint; (void)CaretPos;
    }
    virtual void SetCellSelectMode(bool On) { (void)On; }
    virtual void CellSelect(int ACol, int ARow) { (void)ACol, (void)ARow; }
    void ShowEditorChar(char Ch) override;
    void KeyUp(platform::Word& Key, platform::TShiftState Shift) override;
    void Dispatch(platform::TMessage& m) override;
    void WMChar(platform::TWMChar& m) override;
    // goEditing was taken off because the current cell is read-only.
    bool EditingSwitchedOff = false;
    // The typed prefix of type-to-find.
    std::string SearchText;
    // Repaints the header cells of the old and the new current cell.
    void UpdateActiveCells(int OldCol, int OldRow, int NewCol, int NewRow);
    // Flips at every timer tick with EnableBlink; blinking text shows while it is set.
    bool BlinkPhase = false;
    // Whether blinking text shows now.
    bool BlinkVisible() const { return !EnableBlink || BlinkPhase; }
    void WMSetFocus(platform::TWMSetFocus& m) override;
    void DoEnter() override;

protected:
    void CreateWnd() override;

private:
    // The hover and blink timer's tick; false for other timers.
    bool HoverTimerTick(platform::UINT id);
    // With ColumnSize.SynchWithGrid the columns scale with the client width.
    void SynchColumns();
    int lastWidth_ = 0;
    // Steps of the key handling before and after the platform's; true when the key was used.
    bool KeyDownFirst(platform::Word& Key, platform::TShiftState Shift);
    void KeyDownAfter(platform::Word Key, platform::TShiftState Shift, platform::TPoint CellBefore, int LeftBefore);
    bool TypeToFind(char Key);
    void GridKeyDown(platform::Word& Key, platform::TShiftState Shift);
    // Puts goEditing on or off for the target cell; false when it cannot be edited.
    bool SwitchEditing(int ACol, int ARow);
    // A press, for editing: notes where the caret goes with CaretPositioning, and opens the
    // fixed-cell editor when asked to; true when it did.
    bool EditPress(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y);
    platform::TPoint caretPoint_{-1, -1};
    bool HasEditControl(TEditorType t);
    platform::TWinControl* EditorControl();
    bool hidingControl_ = false;
    void FreeEditControls();
    bool Validate(const std::function<void(int c, int r, bool& valid)>& judge);
    class TEditorView;  // what the editor setup sees of the grid
    struct EditControlSet {
        TGridSpin* spin = nullptr;
        TGridCombo* combo = nullptr;
        TGridUniCombo* uniCombo = nullptr;
        TGridUniEdit* uniEdit = nullptr;
        TGridEditBtn* editBtn = nullptr;
        TGridUnitEditBtn* unitEditBtn = nullptr;
        TGridCheckBox* checkBox = nullptr;
        TGridButton* button = nullptr;
        TGridDatePicker* datePicker = nullptr;
        TGridTransEdit* transEdit = nullptr;
    } editControls_;
    bool inDoneInplaceEdit_ = false;
    TGridLinkHost linkHost_{*this};  // what the edit link sees of the grid

    // ---- cell hints
public:
    // Fills the hint for the cell under HintInfo.CursorPos (client coordinates).
    void ShowHintProc(std::string& HintStr, bool& CanShow, platform::THintInfo& HintInfo);
    // The display cell of the last hint, (-1, -1) before any.
    platform::TPoint HintCell() const { return hint_.hintCell; }
    // Every hint of the application is drawn as HTML (true) or as plain text (false).
    void SetUseHTMLHints(bool Value);
    bool UseHTMLHints() const { return hint_.useHTMLHints; }

protected:
    void CMHintShow(platform::TCMHintShow& m) override;

private:
    THintState hint_;

    // ---- dragging cells, rows and columns to the program's windows, and drops on the grid
    // (DragDropSettings). Cells of the events are display columns and rows; OnOleDrag's
    // column is real.
private:
    friend class TGridDropTarget;
    // A press on a selected cell (or a header with OleColumnDragDrop) arms the drag; true
    // when it did, and the press then waits for the move or the release.
    bool OleDragArm(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y);
    // Starts the armed drag once the mouse has left the press point; true when the move
    // was taken by it.
    bool OleDragStart(int X, int Y);
    // The press that arming held back, run as an ordinary press.
    void OleDragPressLate();
    // Clears (or removes the rows of) what a drag moved away, but not where it was dropped.
    void OleDragMoved(const platform::TRect& dropped);
    TOleDragState oleDrag_;
    // Removing a display row takes its disjunct row mark along (marks kept by display row).
    bool RemovalDropsRowMarks() const { return MouseActions.DisjunctRowSelect && !MouseActions.RowSelectPersistent; }

    // ---- rich-text cells (ExGridRich.cpp)
public:
    // The cell's RTF into a rich edit (a cell that is not RTF shows as plain text; an
    // empty cell clears it), the rich edit's content as RTF, and that into a cell.
    void CellToRich(int ACol, int ARow, platform::TCustomRichEdit* ARichEdit);
    std::string RichToString(platform::TCustomRichEdit* ARichEdit);
    void RichToCell(int ACol, int ARow, platform::TCustomRichEdit* ARichEdit);
    // The hidden control that measures, paints and copies rich-text cells, and the editor;
    // each is made when first asked for (none while the grid is being destroyed).
    TExRichEdit* RichEdit();
    TExRichEdit* RichEditor();
    // Draws a rich-text cell (real column) into ARect; a selected cell's text takes the
    // selection text colour unless SelectionRTFKeep.
    void RTFPaint(int ACol, int ARow, platform::TCanvas* Canvas, const platform::TRect& ARect, bool Selected);
    // The plain text of a rich-text cell (real column).
    std::string RichCellText(int ACol, int ARow);
    // Lays the rich-text editor over Box (client coordinates) with the cell's text, and
    // takes its text back into the cell.
    void ShowRichEditor(int ACol, int ARow, const platform::TRect& Box);
    void HideRichEditor(int ACol, int ARow);
    bool SelectionRTFKeep = false;
    void RichSelChange(platform::TObject* Sender);
    // The pixel size a rich-text cell's content asks for, wrapped at Width or not.
    platform::TSize RichTextSize(int ACol, int ARow, bool WordWrapWidth, int Width);

private:
    friend class TExRichEdit;
    void FreeRichEdits();
    TExRichEdit* richEdit_ = nullptr;
    TExRichEdit* richEditor_ = nullptr;
};

}  // namespace grid

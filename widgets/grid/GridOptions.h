#pragma once
// The grid's option objects: each is made and owned by the grid and invalidates it where
// a change shows. Plain fields are settings that are only read when they are needed.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Classes.h"
#include "platform/Types.h"
#include "widgets/grid/GridTypes.h"

namespace base {
class TStringList;
}
namespace platform {
class TDropTarget;
class TBitmap;
class TControl;
class TFont;
}

namespace grid {

// A setting that repaints the grid when it changes.
class TGridOption : public platform::TPersistent {
public:
    explicit TGridOption(platform::TControl* AGrid) : grid_(AGrid) {}
    platform::TControl* Grid() const { return grid_; }

protected:
    void Changed() const;
    template <class T>
    void Store(T& field, const T& v)
    {
        field = v;
        Changed();
    }

private:
    platform::TControl* grid_;
};

enum TBackGroundDisplay { bdTile, bdFixed };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };

class TBackGround : public TGridOption {
public:
    explicit TBackGround(platform::TControl* AGrid);
    ~TBackGround() override;
    int Top() const { return top_; }
    void SetTop(int v) { Store(top_, v); }
    int Left() const { return left_; }
    void SetLeft(int v) { Store(left_, v); }
    TBackGroundDisplay Display() const { return display_; }
    void SetDisplay(TBackGroundDisplay v) { Store(display_, v); }
    platform::TBitmap& Bitmap() const { return *bitmap_; }
    void SetBitmap(const platform::TBitmap& b);
    TBackGroundCells Cells() const { return cells_; }
    void SetCells(TBackGroundCells v) { Store(cells_, v); }

private:
    int top_ = 0, left_ = 0;
    TBackGroundDisplay display_ = bdTile;
    std::unique_ptr<platform::TBitmap> bitmap_;
    TBackGroundCells cells_ = bcNormal;
};

// Alternating row colours: PrimaryLength rows of one colour, SecondaryLength of the other.
class TBands : public TGridOption {
public:
    using TGridOption::TGridOption;
    bool Active() const { return active_; }
    void SetActive(bool v) { Store(active_, v); }
    platform::TColor PrimaryColor() const { return primaryColor_; }
    void SetPrimaryColor(platform::TColor v);
    int PrimaryLength() const { return primaryLength_; }
    void SetPrimaryLength(int v);
    platform::TColor SecondaryColor() const { return secondaryColor_; }
    void SetSecondaryColor(platform::TColor v);
    int SecondaryLength() const { return secondaryLength_; }
    void SetSecondaryLength(int v);
    int TotalLength() const { return primaryLength_ + secondaryLength_; }
    bool Print = false;

private:
    void ChangedIfActive() const;
    bool active_ = false;
    platform::TColor primaryColor_ = platform::clInfoBk, secondaryColor_ = platform::clWindow;
    int primaryLength_ = 1, secondaryLength_ = 1;
};

enum TControlStyle { csClassic, csFlat, csWinXP, csBevel, csStudio, csGlyph, csTheme };

// The look of the controls drawn in cells.
class TControlLook : public TGridOption {
public:
    explicit TControlLook(platform::TControl* AGrid);
    ~TControlLook() override;
    platform::TColor Color() const { return color_; }
    void SetColor(platform::TColor v) { Store(color_, v); }
    platform::TColor CommentColor() const { return commentColor_; }
    void SetCommentColor(platform::TColor v) { Store(commentColor_, v); }
    platform::TBitmap& CheckedGlyph() const { return *glyphs_[0]; }
    platform::TBitmap& UnCheckedGlyph() const { return *glyphs_[1]; }
    platform::TBitmap& RadioOnGlyph() const { return *glyphs_[2]; }
    platform::TBitmap& RadioOffGlyph() const { return *glyphs_[3]; }
    void SetCheckedGlyph(const platform::TBitmap& b) { SetGlyph(0, b); }
    void SetUnCheckedGlyph(const platform::TBitmap& b) { SetGlyph(1, b); }
    void SetRadioOnGlyph(const platform::TBitmap& b) { SetGlyph(2, b); }
    void SetRadioOffGlyph(const platform::TBitmap& b) { SetGlyph(3, b); }
    int CheckSize() const { return checkSize_; }
    void SetCheckBoxSize(int v) { Store(checkSize_, v); }
    int RadioSize() const { return radioSize_; }
    void SetRadioSize(int v) { Store(radioSize_, v); }
    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle v) { Store(controlStyle_, v); }
    bool DropDownAlwaysVisible() const { return dropDownAlwaysVisible_; }
    void SetDropDownAlwaysVisible(bool v) { Store(dropDownAlwaysVisible_, v); }
    bool FlatButton() const { return flatButton_; }
    void SetFlatButton(bool v) { Store(flatButton_, v); }
    bool NoDisabledCheckRadioLook() const { return noDisabledCheckRadioLook_; }
    void SetNoDisabledCheckRadioLook(bool v) { Store(noDisabledCheckRadioLook_, v); }
    bool NoDisabledButtonLook() const { return noDisabledButtonLook_; }
    void SetNoDisabledButtonLook(bool v) { Store(noDisabledButtonLook_, v); }
    int ProgressMarginX() const { return progressMarginX_; }
    void SetProgressMarginX(int v) { Store(progressMarginX_, v); }
    int ProgressMarginY() const { return progressMarginY_; }
    void SetProgressMarginY(int v) { Store(progressMarginY_, v); }
    bool ProgressXP() const { return progressXP_; }
    void SetProgressXP(bool v) { Store(progressXP_, v); }

private:
    void SetGlyph(int i, const platform::TBitmap& b);
    platform::TColor color_ = platform::clBlack, commentColor_ = platform::clRed;
    std::unique_ptr<platform::TBitmap> glyphs_[4];
    int checkSize_ = 15, radioSize_ = 10;
    TControlStyle controlStyle_ = csWinXP;
    bool dropDownAlwaysVisible_ = false, flatButton_ = false, noDisabledCheckRadioLook_ = false,
         noDisabledButtonLook_ = false;
    int progressMarginX_ = 2, progressMarginY_ = 2;
    bool progressXP_ = false;
};

enum TSortBlankPosition { blFirst, blLast };
enum TSortDirection { sdAscending, sdDescending };

class TSortSettings : public TGridOption {
public:
    // The grid's fixed-row count, which bounds Row.
    TSortSettings(platform::TControl* AGrid, std::function<int()> fixedRows);
    ~TSortSettings() override;
    bool AutoSortForGrouping = true, AutoColumnMerge = false;
    int Column = 0;
    bool Show() const { return show_; }
    void SetShow(bool v);
    bool IndexShow = false;
    platform::TColor IndexColor = platform::clYellow;
    bool Full = true, SingleColumn = false, IgnoreBlanks = false;
    TSortBlankPosition BlankPos = blFirst;
    bool AutoFormat = true;
    TSortDirection Direction = sdAscending, InitSortDirection = sdAscending;
    platform::TBitmap& UpGlyph() const { return *glyphs_[0]; }
    platform::TBitmap& DownGlyph() const { return *glyphs_[1]; }
    platform::TBitmap& IndexUpGlyph() const { return *glyphs_[2]; }
    platform::TBitmap& IndexDownGlyph() const { return *glyphs_[3]; }
    bool FixedCols = false, NormalCellsOnly = false, UndoSort = false;
    int Row() const { return row_; }
    // Refuses a row that is not a fixed row: "Sort row should be smaller than number of fixed rows".
    void SetSortRow(int v);

private:
    std::function<int()> fixedRows_;
    bool show_ = false;
    int row_ = 0;
    std::unique_ptr<platform::TBitmap> glyphs_[4];
};

struct TGrouping {
    platform::TColor HeaderColor = platform::clNone, HeaderColorTo = platform::clNone,
                     HeaderTextColor = platform::clNone;
    bool MergeHeader = false, MergeSummary = false, Summary = false;
    platform::TColor SummaryColor = platform::clNone, SummaryColorTo = platform::clNone,
                     SummaryTextColor = platform::clNone;
};

enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };

struct TFilterData {
    short Column = 0;
    std::string Condition;
    bool CaseSensitive = true;
    std::string Prefix, Suffix;
    TFilterOperation Operation = foSHORT;
};

class TFilter {
public:
    explicit TFilter(platform::TControl* AGrid) : grid_(AGrid) {}
    platform::TControl* GetOwner() const { return grid_; }
    TFilterData& Add();
    TFilterData& Insert(int) { return Add(); }  // appends: the position is not used
    int Count() const { return int(items_.size()); }
    TFilterData& Items(int Index);
    void SetItem(int Index, const TFilterData& Value) { Items(Index) = Value; }
    // The first item of the column; one is added when there is none.
    TFilterData& GetColFilter(int Col);
    void Clear() { items_.clear(); }

private:
    platform::TControl* grid_;
    std::vector<std::unique_ptr<TFilterData>> items_;
};

// Hears of cell changes once it is registered with a grid.
class TGridChangeNotifier : public platform::TComponent {
public:
    using platform::TComponent::TComponent;
    virtual void CellsChanged(const platform::TRect& R) { (void)R; }
};

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview };

class TCellNode : public TGridOption {
public:
    explicit TCellNode(platform::TControl* AGrid);
    ~TCellNode() override;
    enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };
    platform::TColor Color = 0x00C0C0C0;
    TNodeType NodeType() const { return nodeType_; }
    void SetNodeType(TNodeType v);
    platform::TColor NodeColor = platform::clBlack;
    platform::TBitmap& ExpandGlyph() const { return *expand_; }
    platform::TBitmap& ContractGlyph() const { return *contract_; }
    bool ExpandOne = false;
    bool ShowTree() const { return showTree_; }
    void SetShowTree(bool v);
    bool ShowTreeFull() const { return showTreeFull_; }
    void SetShowTreeFull(bool v);
    int NodeIndent() const { return nodeIndent_; }
    void SetNodeIndent(int v);
    platform::TColor TreeColor() const { return treeColor_; }
    void SetTreeColor(platform::TColor v);

private:
    template <class T>
    void Update(T& f, const T& v)
    {
        if (f != v) Store(f, v);
    }
    TNodeType nodeType_ = cnXP;
    std::unique_ptr<platform::TBitmap> expand_, contract_;
    bool showTree_ = true, showTreeFull_ = true;
    int nodeIndent_ = 12;
    platform::TColor treeColor_ = 0x00C0C0C0;
};

struct TSizeWhileTyping {
    bool Height = false, Width = false;
};

enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };

struct TMouseActions {
    bool ColSelect = false, RowSelect = false, AllSelect = false, DirectEdit = false, DirectComboDrop = false,
         DirectDateDrop = false, DisjunctRowSelect = false, DisjunctColSelect = false, AllColumnSize = false,
         AllRowSize = false, CaretPositioning = false, SizeFixedCol = false, DisjunctCellSelect = false;
    TGridFixedCellEdit FixedRowsEdit = fceNone, FixedColsEdit = fceNone;
    bool RangeSelectAndEdit = false, NoAutoRangeScroll = false, PreciseCheckBoxCheck = false,
         CheckAllCheck = false, NodeAllExpandContract = false, MoveRowOnNodeClick = false,
         RowSelectPersistent = false, SelectOnRigthClick = false;
};

enum TColumnSizeLocation { clRegistry, clIniFile };

class TColumnSize {
public:
    // onStretch stretches the grid's StretchColumn (when the grid has a parent).
    explicit TColumnSize(std::function<void()> onStretch) : onStretch_(std::move(onStretch)) {}
    bool Save = false;
    std::string Key, Section;
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    int StretchColumn = -1;
    bool SynchWithGrid = false;
    TColumnSizeLocation Location = clRegistry;

private:
    std::function<void()> onStretch_;
    bool stretch_ = false;
};

enum TAdvanceDirection { adLeftRight, adTopBottom };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum THomeEndKey { heFirstLastColumn, heFirstLastRow };

struct TNavigation {
    bool AllowInsertRow = false, AllowDeleteRow = false, AdvanceOnEnter = false, AdvanceInsert = false,
         AutoGotoWhenSorted = false, AutoGotoIncremental = false, AutoComboDropSize = false,
         AllowClipboardShortCuts = false, AllowRTFClipboard = false, AllowSmartClipboard = false,
         AllowClipboardAlways = false, AllowClipboardColGrow = true, AllowClipboardRowGrow = true,
         CopyHTMLTagsToClipboard = true;
    TAdvanceDirection AdvanceDirection = adLeftRight;
    bool AdvanceAuto = false, CursorWalkEditor = false, MoveRowOnSort = false, ImproveMaskSel = false,
         AlwaysEdit = false;
    TInsertPosition InsertPosition = pInsertBefore;
    bool LineFeedOnEnter = false;
    THomeEndKey HomeEndKey = heFirstLastColumn;
    bool KeepHorizScroll = false, AllowFmtClipboard = false, TabToNextAtEnd = false, EditSelectAll = true;
    TAdvanceDirection TabAdvanceDirection = adLeftRight;
    bool SkipFixedCells = true, AllowCtrlEnter = true, AppendOnArrowDown = false;
};

struct THTMLSettings {
    bool AutoPreview = false, ConvertSpecialChars = false, NonBreakingText = false, SaveColor = true,
         SaveFonts = true;
    std::string FooterFile, HeaderFile;
    int BorderSize = 1, CellSpacing = 0, CellPadding = 0;
    std::string TableStyle, PrefixTag, SuffixTag;
    int Width = 100;
    std::vector<int> ColWidths;
    bool XHTML = false;
};

class TExStringGrid;
class TGridDropTarget;

// How the grid drags its cells, rows and columns and takes drops (from the program's
// own windows).
class TDragDropSettings {
public:
    explicit TDragDropSettings(TExStringGrid* AOwner) : owner_(AOwner) {}
    ~TDragDropSettings();
    TDragDropSettings(const TDragDropSettings&) = delete;
    TDragDropSettings& operator=(const TDragDropSettings&) = delete;
    bool OleAcceptFiles = true, OleAcceptText = true, OleCopyAlways = false;
    bool OleDropTarget() const { return dropTarget_; }
    // Registers the grid's window as a drop target, or revokes it.
    void SetOleDropTarget(bool Value);
    bool OleDropSource = false, OleEntireRows = false, OleInsertRows = false, OleRemoveRows = false;
    bool OleDropRTF() const { return dropRTF_; }
    // Sets the rich-text switch of every grid.
    void SetOleDropRTF(bool Value);
    bool OleColumnDragDrop = false;
    bool Registered() const { return registered_; }
    // The registered target (nullptr before the grid was first made one).
    platform::TDropTarget* DropTarget() const;

private:
    TExStringGrid* owner_;
    bool dropTarget_ = false, dropRTF_ = false, registered_ = false;
    std::shared_ptr<TGridDropTarget> target_;
};

}  // namespace grid

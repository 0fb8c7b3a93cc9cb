#pragma once
// The grid's event slots: what a program hooks to hear of the grid's cells, edits,
// clicks, files, printing, sorting and drags, with the types of their handlers. The
// grid raises them; it holds nothing else here.
#include <functional>
#include <string>

#include "base/DateTime.h"
#include "widgets/grid/BaseGrid.h"
#include "widgets/grid/GridOptions.h"

namespace base {
class TStrings;
}

namespace grid {

class TEditLink;

enum TCellBorder : unsigned { cbTop = 1, cbLeft = 2, cbRight = 4, cbBottom = 8 };
using TCellBorders = unsigned;
enum TSortStyle { ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU,
                  ssShortDateUS, ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML,
                  ssImages, ssCheckBox, ssUnicode };

using TGridColorEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, platform::TGridDrawState State,
                                           platform::TBrush& ABrush, platform::TFont& AFont)>;
using TGridBorderEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, platform::TPen& APen,
                                            TCellBorders& Borders)>;
using TGridAlignEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, platform::TAlignment& HAlign,
                                           TVAlignment& VAlign)>;
using TGridHintEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, std::string& HintStr)>;
using TAnchorHintEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, std::string& Anchor)>;
using TGridFormatEvent = std::function<void(platform::TObject* Sender, int ACol, TSortStyle& AStyle,
                                            std::string& APrefix, std::string& ASuffix)>;
using TGetEditorTypeEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, TEditorType& AEditor)>;
using TIsFixedCellEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, bool& IsFixed)>;
using TCanEditCellEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, bool& CanEdit)>;
using TIsPasswordCellEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, bool& IsPassword)>;
using THasComboEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, bool& HasComboBox)>;
using TGetCheckEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TRowUpdateEvent = std::function<void(platform::TObject* Sender, int OldRow, int NewRow)>;
using TCellsChangedEvent = std::function<void(platform::TObject* Sender, const platform::TRect& R)>;
using TCustomCellDrawEvent = std::function<void(platform::TObject* Sender, platform::TCanvas* Canvas, int ACol,
                                                int ARow, platform::TGridDrawState AState, platform::TRect ARect,
                                                bool Printing)>;
using TUpdateColumnSizeEvent = std::function<void(platform::TObject* Sender, int ACol, int& AWidth)>;
using TGetFloatFormatEvent =
    std::function<void(platform::TObject* Sender, int ACol, int ARow, bool& IsFloat, std::string& FloatFormat)>;
using TGridProgressEvent = std::function<void(platform::TObject* Sender, short Progress)>;
using TClipboardBeforePasteEvent =
    std::function<void(platform::TObject* Sender, int ACol, int ARow, std::string& Value, bool& Allow)>;
using TClipboardBeforePasteWideEvent =
    std::function<void(platform::TObject* Sender, int ACol, int ARow, std::u16string& Value, bool& Allow)>;
using TSelectionChangedEvent =
    std::function<void(platform::TObject* Sender, int ALeft, int ATop, int ARight, int ABottom)>;

struct TExGridEvents {
    TGridColorEvent OnGetCellColor, OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder, OnGetCellPrintBorder;
    // Each side's own pen, offered after OnGetCellBorder chose the sides.
    std::function<void(platform::TObject* Sender, int ARow, int ACol, platform::TPen& LeftPen, platform::TPen& TopPen,
                       platform::TPen& RightPen, platform::TPen& BottomPen)>
        OnGetCellBorderProp;
    TGridAlignEvent OnGetAlignment;
    TGridHintEvent OnGridHint;
    TGridFormatEvent OnGetFormat;
    TGetEditorTypeEvent OnGetEditorType;
    TIsFixedCellEvent OnIsFixedCell;
    TCanEditCellEvent OnCanEditCell;
    TIsPasswordCellEvent OnIsPasswordCell;
    THasComboEvent OnHasComboBox;
    TGetCheckEvent OnGetCheckTrue, OnGetCheckFalse;
    TRowUpdateEvent OnRowUpdate;
    TCellsChangedEvent OnCellsChanged;
    TSelectionChangedEvent OnSelectionChanged;

    TCustomCellDrawEvent OnCustomCellDraw;
    TGetFloatFormatEvent OnGetFloatFormat;

    TUpdateColumnSizeEvent OnUpdateColumnSize;

    std::function<void(platform::TObject* Sender, int ARow)> OnAutoInsertRow, OnAutoDeleteRow;

    std::function<void(platform::TObject* Sender, int ARow, std::string& hintstr)> OnScrollHint;

    TGridProgressEvent OnFileProgress;

    // Event canvases are in device pixels; page sizes and offsets in 0.1 mm (y upwards).
    std::function<void(platform::TObject* Sender, int NrOfPages, int& FromPage, int& ToPage)> OnPrintStart;
    std::function<void(platform::TObject* Sender, platform::TCanvas* Canvas, int PageNr, int PageXSize,
                       int PageYSize)>
        OnPrintPage;
    std::function<void(platform::TObject* Sender, platform::TCanvas* Canvas, int LastRow, int LastRowOffset,
                       int LastPage, int PageXSize, int PageYSize)>
        OnPrintPageDone;
    std::function<void(platform::TObject* Sender, int PageNr, bool& Cancel)> OnPrintCancel;
    std::function<void(platform::TObject* Sender, int ARow, bool& NewPage)> OnPrintNewPage;
    std::function<void(platform::TObject* Sender, double& ScaleFactor, bool& Allow)> OnFitToPage;
    std::function<void(platform::TObject* Sender, int ACol, int& Width)> OnPrintSetColumnWidth;
    std::function<void(platform::TObject* Sender, int ARow, int& Height)> OnPrintSetRowHeight;
    std::function<void(platform::TObject* Sender, platform::TCanvas* Canvas, int ACol, int ARow,
                       platform::TPoint& ASize, bool Printing)>
        OnCustomCellSize;

    std::function<void(platform::TObject* Sender, const std::string& Str1, const std::string& Str2, int& Res)>
        OnCustomCompare;
    std::function<void(platform::TObject* Sender, int ACol, int Row1, int Row2, int& Res)> OnRawCompare;
    TGridProgressEvent OnFilterProgress;

    TClipboardBeforePasteEvent OnClipboardBeforePasteCell;
    TClipboardBeforePasteWideEvent OnClipboardBeforePasteWideCell;

    using TCellValidateEvent =
        std::function<void(platform::TObject* Sender, int ACol, int ARow, std::string& Value, bool& Valid)>;
    using TEditChangeEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, const std::string& Value)>;
    using TCellChangingEvent =
        std::function<void(platform::TObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)>;
    TCellValidateEvent OnCellValidate;
    TEditChangeEvent OnEditChange;
    TCellChangingEvent OnCellChanging;
    std::function<void(platform::TObject* Sender, int ARow)> OnAutoAddRow;
    std::function<void(platform::TObject* Sender, int ACol)> OnAutoInsertCol;
    platform::TNotifyEvent OnEditingDone;
    std::function<void(platform::TObject* Sender, int ARow, bool& Allow)> OnCanInsertRow, OnCanDeleteRow;

    using TClickCellEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol)>;
    using TCheckBoxClickEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, bool State)>;
    using TRadioClickEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, int AIdx)>;
    using TButtonClickEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow)>;
    using TNodeClickEvent = std::function<void(platform::TObject* Sender, int ARow, int ARowReal)>;
    using TNodeAllowEvent = std::function<void(platform::TObject* Sender, int ARow, int ARowReal, bool& Allow)>;
    using TAnchorClickEvent =
        std::function<void(platform::TObject* Sender, int ARow, int ACol, const std::string& Anchor, bool& AutoHandle)>;
    using TControlClickEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, const std::string& CtrlID,
                                                  const std::string& CtrlType, const std::string& CtrlVal)>;
    using TColumnSizeEvent = std::function<void(platform::TObject* Sender, int ACol, bool& Allow)>;
    using TEndColumnSizeEvent = std::function<void(platform::TObject* Sender, int ACol)>;
    using TSelectionResizeEvent = std::function<void(platform::TObject* Sender, const platform::TGridRect& OrigSelection,
                                                     const platform::TGridRect& NewSelection)>;
    using TCanSortEvent = std::function<void(platform::TObject* Sender, int ACol, bool& DoSort)>;
    using TClickSortEvent = std::function<void(platform::TObject* Sender, int ACol)>;
    TClickCellEvent OnClickCell, OnRightClickCell, OnDblClickCell;
    TCheckBoxClickEvent OnCheckBoxClick, OnCheckBoxMouseUp;
    TRadioClickEvent OnRadioClick, OnRadioMouseUp;
    TButtonClickEvent OnButtonClick;
    TNodeClickEvent OnExpandNode, OnContractNode;
    TNodeAllowEvent OnBeforeExpandNode, OnBeforeContractNode;
    TAnchorClickEvent OnAnchorClick;
    TControlClickEvent OnControlClick, OnControlEditDone;
    using TControlComboListEvent =
        std::function<void(platform::TObject* Sender, int ARow, int ACol, const std::string& CtrlID,
                           const std::string& CtrlType, const std::string& CtrlVal, base::TStrings& Values, bool& Edit,
                           int& DropCount)>;
    TControlComboListEvent OnControlComboList;

    TColumnSizeEvent OnColumnSize;
    TEndColumnSizeEvent OnEndColumnSize;
    TSelectionResizeEvent OnSelectionResize;
    TCanSortEvent OnCanSort;
    TClickSortEvent OnClickSort;

    using TAllowIndexEvent = std::function<void(platform::TObject* Sender, int Index, bool& Allow)>;
    using TAnchorEvent = std::function<void(platform::TObject* Sender, int ARow, int ACol, const std::string& Anchor)>;
    TAllowIndexEvent OnRowSize, OnColumnMove, OnRowMove;
    TAnchorEvent OnAnchorEnter, OnAnchorExit;

    using TSpinClickEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, int AValue, bool UpDown)>;
    using TFloatSpinClickEvent =
        std::function<void(platform::TObject* Sender, int ACol, int ARow, double AValue, bool UpDown)>;
    using TDateTimeSpinClickEvent =
        std::function<void(platform::TObject* Sender, int ACol, int ARow, base::TDateTime AValue, bool UpDown)>;
    using TComboChangeEvent =
        std::function<void(platform::TObject* Sender, int ACol, int ARow, int AItemIndex, const std::string& ASelection)>;
    using TComboObjectChangeEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, int AItemIndex,
                                                       const std::string& ASelection, platform::TObject* AObject)>;
    using TEllipsClickEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, std::string& S)>;
    using TGetEditorPropEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, TEditLink* AEditLink)>;
    using TCellValidateWideEvent =
        std::function<void(platform::TObject* Sender, int ACol, int ARow, std::u16string& Value, bool& Valid)>;
    TSpinClickEvent OnSpinClick;
    TFloatSpinClickEvent OnFloatSpinClick;
    TDateTimeSpinClickEvent OnDateSpinClick, OnTimeSpinClick;
    TComboChangeEvent OnComboChange;
    std::function<void(platform::TObject* Sender, int ARow, int ACol)> OnComboCloseUp;
    TComboObjectChangeEvent OnComboObjectChange;
    TEllipsClickEvent OnEllipsClick;
    TGetEditorPropEvent OnGetEditorProp;
    TCellValidateWideEvent OnCellValidateWide;

    // The editor's clipboard keys and the grid's clipboard short-cuts ask these first.
    std::function<void(platform::TObject* Sender, bool& Allow)> OnClipboardCut, OnClipboardCopy, OnClipboardPaste;

    using TRowChangingEvent = std::function<void(platform::TObject* Sender, int OldRow, int NewRow, bool& Allow)>;
    using TColChangingEvent = std::function<void(platform::TObject* Sender, int OldCol, int NewCol, bool& Allow)>;
    TRowChangingEvent OnRowChanging;
    TColChangingEvent OnColChanging;

    std::function<void(platform::TObject* Sender, bool& CanAdd)> OnCanAddRow;

    // With AnchorHint, the link under the mouse in an HTML cell; the handler may change it.
    TAnchorHintEvent OnAnchorHint;

    using TOleDragDropEvent =
        std::function<void(platform::TObject* Sender, int ARow, int ACol, const std::string& Data, bool& Allow)>;
    TOleDragDropEvent OnOleDrag, OnOleDrop, OnOleDropFile;
    std::function<void(platform::TObject* Sender, int ARow, int ACol)> OnOleDragStart;
    std::function<void(platform::TObject* Sender, int OLEEffect)> OnOleDragStop;
    std::function<void(platform::TObject* Sender, int ARow, int ACol, bool& Allow)> OnOleDragOver;
    std::function<void(platform::TObject* Sender, int ARow, int ACol, int DropCol)> OnOleDropCol;
    std::function<void(platform::TObject* Sender, const platform::TRect& ARect)> OnOleDropped;

    platform::TNotifyEvent OnRichEditSelectionChange;
    std::function<void(platform::TObject* Sender, int ARow)> OnEndRowSize;
};

}  // namespace grid

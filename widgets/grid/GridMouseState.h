#pragma once
// The grid's mouse state between a press and its release: the cell press and the fill
// drag, intelli-pan, the HTML form control being edited, the selection, sizing and
// moving drags with their hint, the drag to other windows, and the cell hint.
#include <string>

#include "platform/Classes.h"
#include "platform/Types.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Grids.h"
#include "platform/system/Cursors.h"
#include "widgets/grid/ExObj.h"

namespace platform {
class TMaskEdit;
class TComboBox;
}

namespace grid {

class THTMLHintWindow;

// A press on a cell, a fixed button or the fill handle.
struct TClickState {
    platform::TPoint pressedButton{-1, -1};
    platform::TPoint pressCell{-1, -1};
    bool fillDrag = false, skipNextUp = false, fixedButtonDown = false;
    platform::TGridRect fillOrigin;
};

// Intelli-pan: the focus point, the mouse and what it changed meanwhile.
struct TPanState {
    bool panning = false;
    platform::TPoint panFocus, panMouse;
    platform::TCursor panOldCursor = 0;
    bool panOldShowHint = false;
};

// The HTML form control of a cell being edited, and a pressed HTML button.
struct THTMLControlState {
    platform::TMaskEdit* controlEdit = nullptr;
    platform::TComboBox* controlCombo = nullptr;
    platform::TPoint htmlControlCell{-1, -1};
    std::string htmlControlID, htmlControlType;
    bool htmlControlActive = false;
    bool htmlButtonDown = false;
    platform::TPoint htmlButtonCell{-1, -1}, htmlButtonPoint;  // real column, row; client point
};

// Disjunct cells, hover, whole-row and column selection, sizing and moving drags.
struct TSelectState {
    TIntList selectedCells;
    platform::TPoint hoverCell{-1, -1};
    bool cursorSetInternally = false;
    int selectAnchor = -1;
    bool leftDown = false, scrolledUp = false;
    bool fixedColSizing = false, fixedColSizingActive = false;
    int fixedColSizingIndex = -1, fixedColSizingX = 0;
    platform::TPoint sizingStartCell{-1, -1}, sizingOfs{0, 0}, pressPoint{0, 0}, grabOfs{0, 0};
    int moveIndex = -1, pressLeftCol = 0;
    platform::TPoint dropTarget{-1, -1};
    bool disjunctToggle = false;
    platform::TCursor normalCursor = platform::crDefault;
    std::string currentAnchor;
    platform::TGridRect lastSelRect{-1, -1, -1, -1};
    THTMLHintWindow* sizingHint = nullptr;
    bool sizingHintShown = false;
};

// A drag of cells to another window and a drop onto the grid.
struct TOleDragState {
    bool oleArmed = false, oleDragging = false, olePressLate = false;
    bool oleDropping = false;  // a drop writes every cell that is not read-only
    platform::TPoint olePress{0, 0};
    platform::TShiftState olePressShift = 0;
    platform::TRect oleDragSel{-1, -1, -1, -1}, oleDropRect{-1, -1, -1, -1};
};

// The cell of the last hint and the hint style.
struct THintState {
    platform::TPoint hintCell{-1, -1};
    bool useHTMLHints = false;
};

}  // namespace grid

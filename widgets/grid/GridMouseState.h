#pragma once
// The grid's mouse state between a press and its release: the cell press and the fill
// drag, intelli-pan, the HTML form control being edited, the selection, sizing and
// moving drags with their hint, the drag to other windows, and the cell hint; with the
// transitions that work on this state alone (GridMouseState.cpp).
#include <string>
#include <utility>
#include <vector>

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

    // A button held down from the press until the release: a fixed cell drawn as a
    // button, or a button in a cell.
    void HoldButton(platform::TPoint cell, bool fixedCell)
    {
        pressedButton = cell;
        fixedButtonDown = fixedCell;
    }
    bool ButtonHeld() const { return pressedButton.X >= 0; }
    // Lets the held button go; whether it was a fixed cell.
    bool ReleaseButton()
    {
        pressedButton = {-1, -1};
        return std::exchange(fixedButtonDown, false);
    }
    // A drag from the selection's corner fills from the selection it started with.
    void BeginFill(const platform::TGridRect& from)
    {
        fillOrigin = from;
        fillDrag = true;
    }
    // What the release learns of the press, once.
    bool TakeSkipUp() { return std::exchange(skipNextUp, false); }
    platform::TPoint TakePressCell() { return std::exchange(pressCell, platform::TPoint{-1, -1}); }
};

// Intelli-pan: the focus point, the mouse and what it changed meanwhile.
struct TPanState {
    bool panning = false;
    platform::TPoint panFocus, panMouse;
    platform::TCursor panOldCursor = 0;
    bool panOldShowHint = false;

    // The mouse may stray this far from the focus point without moving anything; the
    // focus mark's size.
    static constexpr int kDeadZone = 5, kMarkSize = 32;

    // Panning starts at the press, keeping the cursor and hint switch to give back.
    void Start(platform::TPoint at, platform::TCursor oldCursor, bool oldShowHint)
    {
        panning = true;
        panFocus = panMouse = at;
        panOldCursor = oldCursor;
        panOldShowHint = oldShowHint;
    }
    // Where the mouse lies from the focus point, beyond the dead zone: -1, 0 or 1 on each
    // axis; an axis the pan may not take is 0.
    platform::TPoint Direction(bool horizontal, bool vertical) const;
    // The cell one step from cell towards d, within the cells the pan may reach (Left, Top,
    // Right, Bottom inclusive); a cell outside them is first brought inside.
    static platform::TPoint Step(platform::TPoint cell, platform::TPoint d, const platform::TRect& reach);
    // The cursor that points the way d goes.
    static platform::TCursor CursorFor(platform::TPoint d);
    // The focus mark around the focus point, client coordinates.
    platform::TRect MarkRect() const { return {panFocus.X, panFocus.Y, panFocus.X + kMarkSize, panFocus.Y + kMarkSize}; }
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
    std::vector<platform::TPoint> selectedCells;  // display column, row
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

    // The disjunct cells (display column, row), in the order they were added.
    bool HasCell(int c, int r) const;
    // Adds or takes out a cell; false when it was so already.
    bool MarkCell(int c, int r, bool on);
    platform::TPoint CellAt(int i) const;  // EListError out of range
    int CellCount() const { return int(selectedCells.size()); }
};

// A drag of cells to another window and a drop onto the grid.
struct TOleDragState {
    bool oleArmed = false, oleDragging = false, olePressLate = false;
    bool oleDropping = false;  // a drop writes every cell that is not read-only
    platform::TPoint olePress{0, 0};
    platform::TShiftState olePressShift = 0;
    platform::TRect oleDragSel{-1, -1, -1, -1}, oleDropRect{-1, -1, -1, -1};

    // A press on the selection waits for the move that makes it a drag.
    void Arm(platform::TPoint at, platform::TShiftState shift)
    {
        oleArmed = true;
        olePress = at;
        olePressShift = shift;
    }
    // Whether the mouse has gone far enough from the press (over 3 pixels either way).
    bool LeftPress(int X, int Y) const;
    // Rows inserted at row before the cells being dragged move them down.
    void RowsInserted(int row, int count);
};

// The cell of the last hint and the hint style.
struct THintState {
    platform::TPoint hintCell{-1, -1};
    bool useHTMLHints = false;
};

}  // namespace grid

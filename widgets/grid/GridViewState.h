#pragma once
// The grid's view state: the flat scroll bars, the owning form it follows in size, the
// fixed rows and columns beyond the platform's, and the editing advance under way.
#include "platform/Classes.h"
#include "platform/Types.h"

namespace platform {
class TForm;
class THintWindow;
}

namespace grid {

// The flat scroll bars and the thumb hint.
struct TFlatScrollState {
    int scrollWidth = 0;
    platform::TColor scrollColor = platform::clNone;
    bool flatActive = false;
    platform::THintWindow* scrollHint = nullptr;
};

// The owning form whose size the grid follows.
struct TFormFollowState {
    platform::TNotifyEvent formResize;
    int formWidth = 0, formHeight = 0;
    platform::TForm* ownerForm = nullptr;

    // The grid's size (w, h) grown or shrunk by as much as the form since it was last seen,
    // now formW x formH.
    platform::TPoint Follow(int w, int h, int formW, int formH) const
    {
        return {w + formW - formWidth, h + formH - formHeight};
    }
    void Seen(int formW, int formH)
    {
        formWidth = formW;
        formHeight = formH;
    }
};

// Fixed footers, fixed right columns and the always-fixed rules.
struct TFixedLayout {
    int fixedFooters = 0, fixedRightCols = 0;
    bool fixedRowAlways = false, fixedColAlways = false;
    int rememberedFixedRows = 0;
    int fixedRowHeight = 21;

    // One past the last row (column) that is neither a footer nor a fixed right column.
    int NormalRowEnd(int rows) const { return rows - fixedFooters; }
    int NormalColEnd(int cols) const { return cols - fixedRightCols; }
    // The fixed rows (columns) shown for f set: at least one with the always-fixed rule.
    int RowsShown(int f) const { return f == 0 && fixedRowAlways ? 1 : f; }
    int ColsShown(int f) const { return f == 0 && fixedColAlways ? 1 : f; }
    // Whether the always-fixed rules make (col, row) fixed in a grid of cols x rows: the
    // remembered fixed rows while the grid holds nothing else, the only column.
    bool AlwaysFixed(int col, int row, int cols, int rows) const
    {
        return (fixedRowAlways && row <= rememberedFixedRows && rows == rememberedFixedRows) ||
               (fixedColAlways && col == 0 && cols == 1);
    }
};

// An editing advance under way, and a discarded edit.
struct TAdvanceState {
    bool advancing = false, discarding = false;
    platform::TPoint advanceOrigin;
};

}  // namespace grid

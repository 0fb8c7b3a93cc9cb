#pragma once
// Types shared by the grid's classes: its error, alignments and the cell editor kinds.
#include "base/Exception.h"

namespace grid {

// Every error the grid raises itself, with a fixed message.
class EExGridError : public base::Exception {
public:
    using base::Exception::Exception;
};

enum TVAlignment { vtaTop, vtaCenter, vtaBottom };

// The editor a cell opens with (one byte in stored grids, hence the fixed values).
enum TEditorType : unsigned char {
    edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit, edDateEditUpDown,
    edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat, edCapital, edMixedCase,
    edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit,
    edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone, edUniEdit, edUniComboEdit, edUniComboList
};

// What a footer cell computes.
enum TColumnCalcType { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM };

}  // namespace grid

#pragma once

#include "widgets/grid/ExGrid.h"
#include "widgets/grid/GridEditorSetup.h"

namespace grid {

// The editor controls a grid makes on first use and owns, handed to the editor setup.
class TGridEditorControls : public TEditorHost {
public:
    explicit TGridEditorControls(TExStringGrid& grid) : grid_(grid) {}

    platform::TFont& GridFont() override { return *grid_.Font(); }
    TGridSpin* Spin() override { return grid_.GridSpin(); }
    TGridCombo* Combo() override { return grid_.GridCombo(); }
    TGridUniCombo* UniCombo() override { return grid_.GridUniCombo(); }
    TGridEditBtn* EditBtn() override { return grid_.GridEditBtn(); }
    TGridDatePicker* DatePicker() override { return grid_.GetDateTimePicker(); }
    TGridUnitEditBtn* UnitEditBtn() override { return grid_.GridUnitEditBtn(); }
    TGridCheckBox* CheckBox() override { return grid_.GridCheckBox(); }
    TGridButton* Button() override { return grid_.GridButton(); }
    TGridUniEdit* UniEdit() override { return grid_.GridUniEdit(); }
    platform::TWinControl* Window() override { return &grid_; }

private:
    TExStringGrid& grid_;
};

}  // namespace grid

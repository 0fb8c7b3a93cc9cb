#pragma once
// The grid's editor controls by name, for headers that only hold or hand them over;
// GridEditors.h defines them.

namespace grid {

class TGridSpin;
class TGridCombo;
class TGridUniCombo;
class TGridUniEdit;
class TGridEditBtn;
class TGridUnitEditBtn;
class TGridCheckBox;
class TGridButton;
class TGridDatePicker;
class TGridTransEdit;

}  // namespace grid

#pragma once
// Laying a cell's editor control over the cell: TEditorSetup takes the cell's place, look
// and text once, then places, loads and focuses the control of the cell's editor type.
// It reaches the grid only through TEditorHost: the cell, the controls (made on first use),
// the edit link, the settings the controls follow, and where the result goes.
#include <string>

#include "platform/Types.h"
#include "platform/controls/ComboBox.h"
#include "platform/graphics/Graphics.h"
#include "widgets/grid/GridEditorsFwd.h"
#include "widgets/grid/GridTypes.h"

namespace grid {

class TEditLink;
class TEditLinkHost;

inline bool IsSpinType(TEditorType t) { return t == edSpinEdit || t == edFloatSpinEdit || t == edTimeSpinEdit || t == edDateSpinEdit; }
inline bool IsComboType(TEditorType t) { return t == edComboEdit || t == edComboList; }
inline bool IsUniComboType(TEditorType t) { return t == edUniComboEdit || t == edUniComboList; }
inline bool IsEditBtnType(TEditorType t) { return t == edEditBtn || t == edNumericEditBtn || t == edFloatEditBtn; }
inline bool IsWideType(TEditorType t) { return t == edUniEdit || IsUniComboType(t); }
inline bool IsDateType(TEditorType t) { return t == edDateEdit || t == edDateEditUpDown || t == edTimeEdit; }

// The item equal to text becomes the selected one; false when there is none.
template <class Items, class Str>
bool SelectEqual(platform::TCustomComboBox& combo, Items& items, const Str& text)
{
    for (int i = 0; i < items.Count(); ++i)
        if (items.Get(i) == text) {
            combo.SetItemIndex(i);
            return true;
        }
    return false;
}

// The cell an editor opens over.
struct TEditorCell {
    int col = 0, row = 0;   // real column, row
    platform::TRect box;     // the cell on the grid, client coordinates
    platform::TFont font;    // the cell's font and colour
    platform::TColor color = platform::clWindow;
    std::string text;        // the text the editor starts with
    TEditorType type = edNormal;
    bool flat = false;       // the grid's look takes flat controls
};

// The settings the controls follow.
struct TEditorRules {
    bool excelDecimalSeparator = false;
    int comboDefaultIndex = -1;  // the item a list combo shows for a text not in it
    bool autoComboDropSize = false, directComboDrop = false, directDateDrop = false;
    int maxEditLength = 0;
    platform::TPoint xyOffset{2, 2};  // the text's offset in a cell
};

class TEditorHost {
public:
    virtual ~TEditorHost() = default;
    // The cell (display column ACol) as the editor takes it.
    virtual void EditorCell(int ACol, int ARow, TEditorCell& cell) = 0;
    virtual TEditorRules EditorRules() = 0;
    virtual platform::TFont& GridFont() = 0;
    // The cell's stored text and its wide text (real column).
    virtual std::string StoredText(int col, int row) = 0;
    virtual std::u16string WideText(int col, int row) = 0;
    // ---- the controls, each made on first use
    virtual TGridSpin* Spin() = 0;
    virtual TGridCombo* Combo() = 0;
    virtual TGridUniCombo* UniCombo() = 0;
    virtual TGridEditBtn* EditBtn() = 0;
    virtual TGridDatePicker* DatePicker() = 0;
    virtual TGridUnitEditBtn* UnitEditBtn() = 0;
    virtual TGridCheckBox* CheckBox() = 0;
    virtual TGridButton* Button() = 0;
    virtual TGridUniEdit* UniEdit() = 0;
    // Opens the rich-text editor over box with the cell's text; gives its control.
    virtual platform::TWinControl* ShowRichEditor(int col, int row, const platform::TRect& box) = 0;
    // ---- the application's edit link and what it edits in
    virtual TEditLink* Link() = 0;
    virtual TEditLinkHost* LinkHost() = 0;
    // Lets the application adjust the link before it shows.
    virtual void AdjustLink(int col, int row, TEditLink* link) = 0;
    virtual platform::TWinControl* Window() = 0;
    // ---- the result: the control that edits now, and the character that opened the editor
    virtual void SetActiveControl(platform::TWinControl* control) = 0;
    // The character typed to open the editor (0 when none), taken once.
    virtual char TakePendingChar() = 0;
};

class TEditorSetup {
public:
    TEditorSetup(TEditorHost& host, int ACol, int ARow);
    void Show();

private:
    TEditorHost& g_;
    TEditorCell cell_;
    const TEditorRules rules_;
    platform::TRect box_;  // the cell less its right and bottom grid line
    platform::TWinControl* shown_ = nullptr;       // becomes the active control, focused
    platform::TWinControl* charTarget_ = nullptr;  // takes the character that opened the editor

    void Place(platform::TWinControl* c);
    void ShowSpin();
    void ShowCombo();
    void LoadCombo(platform::TCustomComboBox* cb, bool list);
    void LoadUniCombo(platform::TCustomComboBox* cb, bool list);
    template <class Combo>
    void StyleCombo(Combo* c);
    void ShowEditBtn();
    void ShowDatePicker();
    void ShowUnitEditBtn();
    void ShowCheckBox();
    void ShowButton();
    void ShowUniEdit();
    void ShowRichEdit();
    void ShowLink();
    void PlaceLinkPopup(TEditLink* link);
    void Finish();
};

}  // namespace grid

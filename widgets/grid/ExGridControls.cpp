// Editing the form controls of HTML cells: an edit over an EDIT, PASSWORD or MASK control
// and a combo box over a COMBO control; leaving them writes the value into the cell's HTML.
#include <algorithm>

#include "base/StrUtils.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/GridEditors.h"
#include "widgets/html/HtmlEngine.h"
#include "widgets/html/HtmlText.h"

using namespace platform;

namespace grid {

namespace {

bool IsEditType(const std::string& t) { return t == "EDIT" || t == "PASSWORD" || t == "MASK"; }

}  // namespace

TMaskEdit* TExStringGrid::ControlEdit()
{
    if (!htmlControl_.controlEdit) {
        htmlControl_.controlEdit = Construct<TControlEdit>(this);
        htmlControl_.controlEdit->SetVisible(false);
        htmlControl_.controlEdit->SetBorderStyle(bsNone);
        htmlControl_.controlEdit->OnExit = [this](TObject* Sender) { ControlExit(Sender); };
    }
    return htmlControl_.controlEdit;
}

TComboBox* TExStringGrid::ControlCombo()
{
    if (!htmlControl_.controlCombo) {
        htmlControl_.controlCombo = Construct<TControlCombo>(this);
        htmlControl_.controlCombo->SetVisible(false);
        htmlControl_.controlCombo->OnExit = [this](TObject* Sender) { ControlExit(Sender); };
    }
    return htmlControl_.controlCombo;
}

void TExStringGrid::ControlEnter(const std::string& CellText, const std::string& CtrlType, const std::string& CtrlID,
                                 const std::string& CtrlValue, const TRect& CtrlRect, int ACol, int ARealCol, int ARow)
{
    (void)ACol;
    const std::string type = base::UpperCase(CtrlType);
    // The control is a child window: it goes where the cell's control shows.
    const TRect shown = ShownRect(CtrlRect);
    if (IsEditType(type)) {
        TMaskEdit* ed = ControlEdit();
        ed->SetPasswordChar(type == "PASSWORD" ? '*' : '\0');
        ed->SetEditMask(type == "MASK" ? html::GetControlProp(CellText, CtrlID) : std::string());
        ed->SetParent(this);
        ed->SetText(CtrlValue);
        ed->SetBounds(shown.Left + 1, shown.Top + 4, shown.Width() - 4, shown.Height() - 4);
        htmlControl_.htmlControlType = type;
        ed->Show();
        ed->BringToFront();
        if (ed->CanFocus()) ed->SetFocus();
    } else if (type == "COMBO") {
        TComboBox* cb = ControlCombo();
        cb->SetParent(this);
        cb->Items().Clear();
        bool edit = true;
        int dropCount = 8;
        if (OnControlComboList) OnControlComboList(this, ARow, ARealCol, CtrlID, type, CtrlValue, cb->Items(), edit, dropCount);
        cb->SetStyle(edit ? csDropDown : csDropDownList);
        cb->SetItemIndex(cb->Items().IndexOf(CtrlValue));
        if (edit) cb->SetText(CtrlValue);
        cb->SetDropDownCount(dropCount);
        cb->SetBounds(shown.Left, shown.Top, shown.Width(), shown.Height());
        htmlControl_.htmlControlType = type;
        cb->Show();
        cb->BringToFront();
        if (cb->CanFocus()) cb->SetFocus();
        cb->SetDroppedDown(true);
    } else {
        return;
    }
    htmlControl_.htmlControlCell = TPoint{ARealCol, ARow};
    htmlControl_.htmlControlID = CtrlID;
    htmlControl_.htmlControlActive = true;
}

void TExStringGrid::ControlExit(TObject* Sender)
{
    (void)Sender;
    if (!htmlControl_.htmlControlActive || destroying_ || Destroying()) return;
    htmlControl_.htmlControlActive = false;
    const int c = htmlControl_.htmlControlCell.X, r = htmlControl_.htmlControlCell.Y;
    std::string value;
    if (IsEditType(htmlControl_.htmlControlType)) {
        value = htmlControl_.controlEdit->Text();
        htmlControl_.controlEdit->Hide();
    } else if (htmlControl_.htmlControlType == "COMBO") {
        value = htmlControl_.controlCombo->Text();
        htmlControl_.controlCombo->SetDroppedDown(false);
        htmlControl_.controlCombo->Hide();
    }
    std::string text = GetCellEx(c, r);
    if (html::SetControlValue(text, htmlControl_.htmlControlID, value)) SetCellEx(c, r, text);
    RepaintCell(RemapColInv(c), r);
    const std::string type = htmlControl_.htmlControlType;
    htmlControl_.htmlControlType.clear();
    if (OnControlEditDone) OnControlEditDone(this, r, c, htmlControl_.htmlControlID, type, value);
}

void TExStringGrid::AdvanceHTMLEdit(int ACol, int ARow, const std::string& CurrentID)
{
    const int rc = RemapCol(ACol);
    const std::string text = GetCellEx(rc, ARow);
    const std::string next = html::GetNextControlID(text, CurrentID);
    if (next.empty()) {
        if (CanFocus()) SetFocus();
        return;
    }
    html::HTMLDrawResult res;
    res.ControlID = next;
    if (!HTMLHitTest(ACol, ARow, -1, -1, res) || res.ControlID != next) return;
    ControlEnter(text, res.ControlType, next, res.ControlValue, res.ControlRect, ACol, rc, ARow);
}

}  // namespace grid

#pragma once
// The transform dialog: scales, moves or rotates the current frame, appendage or the
// whole hull, or a range of checked frames or appendages, on copies when asked, and
// deletes checked frames, checked appendages or the hull.
#include <string>
#include <vector>

#include "platform/forms/Forms.h"

namespace platform {
class TLabel;
class TRadioGroup;
class TCheckBox;
class TButton;
}  // namespace platform
namespace edit {
class TMoneyEdit;
}
namespace flat {
class TFlatCheckListBox;
}

namespace app {

class TTransformDialog : public platform::TForm {
public:
    explicit TTransformDialog(platform::TComponent* AOwner);

    platform::TLabel* SelectedLabel;
    platform::TRadioGroup *SelectionRadioGroup, *OperationRadioGroup;
    edit::TMoneyEdit *XEdit, *YEdit, *ZEdit;
    platform::TCheckBox *CopyCheckBox, *RangeCheckBox;
    platform::TButton *ExecuteBtn, *CloseBtn, *CheckAllBtn, *UnCheckAllBtn, *DeleteCheckedBtn;
    flat::TFlatCheckListBox* CheckListBox;

    enum { opFrame = 0, opAppendage = 1, opHull = 2 };
    enum { opScale = 0, opMove = 1, opRotate = 2 };

    // Reads the main window's selection again. keepMarks keeps the check marks when the
    // list still names the same items.
    void UpdateSelectionInfo(bool keepMarks = false);
    void UpdateOperationControls();
    void FillCheckList(bool keepMarks = false);
    void ScaleSelection();
    void MoveSelection();
    void RotateSelection();

    void FormShow(platform::TObject* Sender);
    void SelectionRadioGroupClick(platform::TObject* Sender);
    void OperationRadioGroupClick(platform::TObject* Sender);
    void RangeCheckBoxClick(platform::TObject* Sender);
    void EditExtraButtonClick(int axis, int idx, double& value);
    void CheckAllBtnClick(platform::TObject* Sender);
    void UnCheckAllBtnClick(platform::TObject* Sender);
    void ExecuteBtnClick(platform::TObject* Sender);
    void DeleteCheckedBtnClick(platform::TObject* Sender);
    void CloseBtnClick(platform::TObject* Sender);

    // The extents of the element at the last update: max X, Y, Z, then min X, Y, Z.
    double Extents[6] = {0, 0, 0, 0, 0, 0};

private:
    // The checked lines that still name an element of the model, in line order.
    std::vector<unsigned> MarkedLines() const;
    void Transform(int op);
    // Scale or move of the current frame or of the checked frames.
    void FramesOperation(bool move);
    // A refused frame: one message box with the reason.
    void Report(const std::string& what, bool yTaken, double y, const std::string& reason);
    // After a change of the model: the main window's views and this dialog, marks cleared.
    void AfterChange();

    // What the check list names: the operate-on choice and appendage it was filled for.
    int listedKind_ = -1, listedApp_ = -1;
    std::vector<std::string> listedNames_;
};

}  // namespace app

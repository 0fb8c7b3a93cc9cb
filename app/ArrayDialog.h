#pragma once
// The array dialog: copies of the current frame or appendage, each shifted by a multiple
// of a pitch in X, Y and Z.
#include "platform/forms/Forms.h"

namespace platform {
class TRadioGroup;
class TCheckBox;
class TButton;
}  // namespace platform
namespace edit {
class TExComboBox;
class TExEdit;
class TExEditBtn;
}  // namespace edit

namespace app {

class TArrayDialog : public platform::TForm {
public:
    explicit TArrayDialog(platform::TComponent* AOwner);

    platform::TRadioGroup* SelectionRadioGroup;
    edit::TExComboBox* ElementComboBox;
    edit::TExEdit* CopyCountEdit;
    platform::TCheckBox* NewAppendageCheckBox;
    edit::TExEditBtn *XEdit, *YEdit, *ZEdit;
    platform::TButton *ExecuteBtn, *CloseBtn;

    // Lists the frames or appendages and shows the current one; quiet shows no message
    // when there is no current appendage.
    void FillElementCombo(bool quiet = false);

    void FormShow(platform::TObject* Sender);
    void SelectionRadioGroupClick(platform::TObject* Sender);
    // The element chosen in the list becomes the main window's current one.
    void ElementComboBoxChange(platform::TObject* Sender);
    // Toggles the edit between "pitch" and "total".
    void EditClickBtn(edit::TExEditBtn* Edit);
    void ExecuteBtnClick(platform::TObject* Sender);
    void CloseBtnClick(platform::TObject* Sender);
};

}  // namespace app

#pragma once
// The split dialog: splits an appendage in two at one of its frames.
#include "platform/forms/Forms.h"

namespace platform {
class TGroupBox;
class TCheckBox;
class TButton;
}  // namespace platform
namespace edit {
class TExComboBox;
}

namespace app {

class TSplitDialog : public platform::TForm {
public:
    explicit TSplitDialog(platform::TComponent* AOwner);

    platform::TGroupBox* GroupBox1;
    edit::TExComboBox *AppComboBox, *FrameComboBox;
    platform::TCheckBox* DeleteOriginalCheckBox;
    platform::TButton* SplitYBtn;

    // Refill the appendage or frame list from the current selection; otherwise the list
    // is left and the log told why.
    void UpdateAppListBox();
    void UpdateFrameListBox();
    // After the selection changed elsewhere: both lists follow, or empty without one.
    void SelectionChanged();

    void FormShow(platform::TObject* Sender);
    void AppComboBoxChange(platform::TObject* Sender);
    void FrameComboBoxChange(platform::TObject* Sender);
    void SplitYBtnClick(platform::TObject* Sender);

private:
    bool SelectionValid() const;
    void UpdateList(bool frames);
    void UpdateOrLog(bool frames, const char* where);
};

}  // namespace app

#pragma once
// The modeless find and replace dialogs. The buttons set the options and raise the
// events; tests press them through the same member functions.
#include <string>

#include "platform/forms/Dialogs.h"

namespace platform {

class TForm;
class TEdit;
class TCheckBox;
class TRadioButton;
class TButton;

enum TFindOption : unsigned {
    frDown = 1, frWholeWord = 2, frMatchCase = 4, frFindNext = 8, frReplace = 0x10, frReplaceAll = 0x20,
    frDialogTerm = 0x40, frShowHelp = 0x80, frDisableUpDown = 0x400, frDisableMatchCase = 0x800,
    frDisableWholeWord = 0x1000, frHideUpDown = 0x4000, frHideMatchCase = 0x8000, frHideWholeWord = 0x10000
};
using TFindOptions = unsigned;

class TFindDialog : public TCommonDialog {
public:
    explicit TFindDialog(TComponent* AOwner);
    ~TFindDialog() override;

    // Shows the dialog without waiting; true once it is shown.
    bool Execute() override;
    void CloseDialog();  // hides it and raises OnClose
    bool Visible() const;

    // The dialog's current search text; the text written is put into the dialog.
    std::string FindText() const;
    void SetFindText(const std::string& s);
    // The switches as the dialog shows them; writing updates the dialog.
    TFindOptions Options() const;
    void SetOptions(TFindOptions o);
    TPoint Position() const { return position_; }
    void SetPosition(TPoint p);  // screen coordinates of the top-left corner
    int Left() const { return position_.X; }
    int Top() const { return position_.Y; }

    TNotifyEvent OnFind, OnClose, OnShow;

    // The buttons: Find Next sets frFindNext, clears frReplace and frReplaceAll and raises OnFind.
    void FindNext();
    TForm* Form() const { return form_; }

protected:
    virtual void BuildForm();
    void ReadControls();  // the options from the check boxes and direction buttons
    void ShowOptions();
    int AddRow(int top, const std::string& label, TEdit*& edit);
    TButton* AddButton(int top, const std::string& caption, TNotifyEvent onClick);

    TForm* form_ = nullptr;
    TEdit* findEdit_ = nullptr;
    TCheckBox* wholeWord_ = nullptr;
    TCheckBox* matchCase_ = nullptr;
    TRadioButton* up_ = nullptr;
    TRadioButton* down_ = nullptr;
    TFindOptions options_ = frDown;
    std::string findText_;
    TPoint position_{-1, -1};
    bool built_ = false;
};

class TReplaceDialog : public TFindDialog {
public:
    explicit TReplaceDialog(TComponent* AOwner);

    std::string ReplaceText() const;
    void SetReplaceText(const std::string& s);

    TNotifyEvent OnReplace;

    // Replace sets frReplace, Replace All frReplaceAll (each clearing the other and
    // frFindNext), then OnReplace.
    void Replace();
    void ReplaceAll();

protected:
    void BuildForm() override;
    TEdit* replaceEdit_ = nullptr;
    std::string replaceText_;
};

}  // namespace platform

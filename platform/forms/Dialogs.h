#pragma once
// Message boxes and the common file, colour and picture dialogs. Each has a hook so
// that headless tests answer instead of a person.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Classes.h"
#include "platform/Types.h"

namespace platform {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : unsigned {
    mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32, mbIgnore = 64, mbAll = 128,
    mbNoToAll = 256, mbYesToAll = 512, mbHelp = 1024
};
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel, mbOKCancel = mbOK | mbCancel,
                         mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore, mbYesNo = mbYes | mbNo;

struct TMessageBoxRequest {
    std::string Text;
    std::string Caption;
    TMsgDlgType Type = mtInformation;
    TMsgDlgButtons Buttons = mbOK;
    // Captions that replace the standard ones ("&Yes"...) of some buttons.
    std::vector<std::pair<TMsgDlgBtn, std::string>> ButtonCaptions;
};
// Returns the modal result (mrOk, mrYes...) of the button pressed.
using TMessageBoxHook = std::function<int(const TMessageBoxRequest&)>;
// Installs the hook (an empty one removes it) and returns the previous one. Without a
// hook on the off-screen platform, a box answers with its first button.
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);

int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, long helpCtx = 0);
void ShowMessage(const std::string& msg);
// A box with a caption and the platform's MB_ flags; returns ID_ values.
int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);
// A box as the request describes it; returns the modal result of the button pressed.
// Esc and closing the box answer Cancel, else No, else the only button.
int AskMessageBox(const TMessageBoxRequest& request);

class TCommonDialog : public TComponent {
public:
    using TComponent::TComponent;
    virtual bool Execute() = 0;
    std::string Title;
    long HelpContext = 0;
};

// Answers Execute for every common dialog while set (true: the user confirmed, with
// the dialog's fields as the answer).
using TDialogHook = std::function<bool(TCommonDialog& dialog)>;
TDialogHook SetDialogHook(TDialogHook hook);

enum TOpenOption : unsigned {
    ofReadOnly = 1, ofOverwritePrompt = 2, ofHideReadOnly = 4, ofNoChangeDir = 8, ofShowHelp = 16,
    ofAllowMultiSelect = 512, ofPathMustExist = 2048, ofFileMustExist = 4096, ofCreatePrompt = 8192,
    ofEnableSizing = 1u << 20
};
using TOpenOptions = unsigned;

class TOpenDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
    std::string FileName;
    // "Text files (*.txt)|*.txt|All files|*.*"
    std::string Filter;
    int FilterIndex = 1;
    std::string DefaultExt;
    std::string InitialDir;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
    std::vector<std::string> Files;
    virtual bool IsSave() const { return false; }
};

// A save dialog asks before it replaces a file (ofOverwritePrompt, on by default); on
// No, Execute returns false and the file is left alone.
class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner);
    bool Execute() override;
    bool IsSave() const override { return true; }
};

// The picture dialogs start with a filter of the picture files the program reads.
class TOpenPictureDialog : public TOpenDialog {
public:
    explicit TOpenPictureDialog(TComponent* AOwner);
};

class TSavePictureDialog : public TSaveDialog {
public:
    explicit TSavePictureDialog(TComponent* AOwner);
};

class TColorDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
    TColor Color = clBlack;
    std::vector<std::string> CustomColors;  // "ColorA=RRGGBB" entries
};

// The folder browser: only file-system folders. Directory is the folder selected at the
// start (the current directory when empty) and, on success, the one chosen. With a
// Position the window opens there, kept on the screen.
class TBrowseFolderDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
    std::string Directory;
    TPoint Position{-1, -1};
};

// Splits a dialog filter into (description, patterns) pairs.
std::vector<std::pair<std::string, std::string>> ParseDialogFilter(const std::string& filter);

}  // namespace platform

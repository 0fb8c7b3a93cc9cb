// The main window's commands that show the transform, array and split dialogs.
#include "app/AppForms.h"
#include "app/ArrayDialog.h"
#include "app/MainForm.h"
#include "app/SplitDialog.h"
#include "app/TransformDialog.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Menus.h"

using namespace platform;

namespace app {

void TMainForm::ConnectDialogCommands()
{
    auto click = [this](void (TMainForm::*handler)(TObject*)) {
        return TNotifyEvent([this, handler](TObject* s) { (this->*handler)(s); });
    };
    Transform1->OnClick = ToolButton14->OnClick = click(&TMainForm::ToolButton14Click);
    ElementArray1->OnClick = ToolButton5->OnClick = click(&TMainForm::ToolButton5Click);
    Split1->OnClick = ToolButton11->OnClick = click(&TMainForm::Split1Click);
}

namespace {
void ShowDialog(TForm* dialog)
{
    if (!dialog) return;
    // Shown again while open: it reads the selection anew.
    if (dialog->Visible()) dialog->Hide();
    dialog->Show();
}
}  // namespace

void TMainForm::ToolButton14Click(TObject*)
{
    EnsureAppForms();
    ShowDialog(TransformDialog);
}

void TMainForm::ToolButton5Click(TObject*)
{
    EnsureAppForms();
    ShowDialog(ArrayDialog);
}

void TMainForm::Split1Click(TObject*)
{
    EnsureAppForms();
    ShowDialog(SplitDialog);
}

void TMainForm::SelectionChanged()
{
    if (TransformDialog && TransformDialog->Visible()) TransformDialog->UpdateSelectionInfo(true);
    if (ArrayDialog && ArrayDialog->Visible()) ArrayDialog->FillElementCombo(true);
    if (SplitDialog && SplitDialog->Visible()) SplitDialog->SelectionChanged();
}

}  // namespace app

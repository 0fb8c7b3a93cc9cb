#include "app/SplitDialog.h"

#include <string>

#include "app/AppForms.h"
#include "app/Components.h"
#include "app/DialogControls.h"
#include "app/MainForm.h"
#include "app/ModelEdits.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Dialogs.h"
#include "widgets/edit/ExCombo.h"

using namespace platform;

namespace app {

namespace {

std::string OutOfBounds(const std::string& where)
{
    return "ERROR: In " + where + ", appendage[" + std::to_string(MainForm->CurrentAppendage) + "] or frame [" +
           std::to_string(MainForm->CurrentFrame) + "] found out of bounds";
}

}  // namespace

TSplitDialog::TSplitDialog(TComponent* AOwner) : TForm(AOwner)
{
    SetupToolDialog(*this, "SplitDialog", "Split Appendage", 233, 178);
    GroupBox1 = MakeControl<TGroupBox>(this, this, "GroupBox1");
    GroupBox1->SetBounds(8, 4, 217, 116);
    GroupBox1->SetCaption("Appendage and Frame");
    auto combo = [this](const std::string& name, const std::string& label, int top, TNotifyEvent change) {
        auto* c = MakeControl<edit::TExComboBox>(this, GroupBox1, name);
        c->SetStyle(csDropDownList);
        c->SetBounds(12, top, 193, 21);
        c->SetLabelCaption(label);
        c->SetLabelPosition(edit::lpTopLeft);
        c->OnChange = std::move(change);
        return c;
    };
    AppComboBox = combo("AppComboBox", "Split Appendage", 36, [this](TObject* s) { AppComboBoxChange(s); });
    FrameComboBox = combo("FrameComboBox", "At Frame", 82, [this](TObject* s) { FrameComboBoxChange(s); });
    DeleteOriginalCheckBox =
        MakeCheckBox(this, this, "DeleteOriginalCheckBox", "Delete Original", Bounds(12, 130, 100, 17));
    SplitYBtn = MakeButton(this, this, "SplitYBtn", "Split Y", Bounds(150, 126, 75, 25),
                           [this](TObject* s) { SplitYBtnClick(s); });
    OnShow = [this](TObject* s) { FormShow(s); };
    OnActivate = [this](TObject*) { SelectionChanged(); };
}

bool TSplitDialog::SelectionValid() const
{
    return MainForm &&
           MainForm->Hull.IsFrameIndexValid(unsigned(MainForm->CurrentAppendage), unsigned(MainForm->CurrentFrame));
}

void TSplitDialog::UpdateList(bool frames)
{
    const core::Hullform& h = MainForm->Hull;
    edit::TExComboBox* c = frames ? FrameComboBox : AppComboBox;
    c->Items().Clear();
    if (frames) {
        for (const core::Section& s : h.appendages[std::size_t(MainForm->CurrentAppendage)].frames)
            c->Items().Add(s.name);
    } else {
        for (const core::Appendage& a : h.appendages) c->Items().Add(a.name);
    }
    c->SetItemIndex(frames ? MainForm->CurrentFrame : MainForm->CurrentAppendage);
}

void TSplitDialog::UpdateAppListBox() { UpdateOrLog(false, "TSplitForm::UpdateAppListBox()"); }

void TSplitDialog::UpdateFrameListBox() { UpdateOrLog(true, "TSplitForm::UpdateFrameListBox()"); }

void TSplitDialog::UpdateOrLog(bool frames, const char* where)
{
    if (!MainForm) return;
    if (SelectionValid())
        UpdateList(frames);
    else
        MainForm->Hull.log.Log(OutOfBounds(where));
}

void TSplitDialog::SelectionChanged()
{
    if (SelectionValid()) {
        UpdateList(false);
        UpdateList(true);
        return;
    }
    AppComboBox->Items().Clear();
    FrameComboBox->Items().Clear();
}

void TSplitDialog::FormShow(TObject*)
{
    UpdateAppListBox();
    UpdateFrameListBox();
}

void TSplitDialog::AppComboBoxChange(TObject*)
{
    const int i = AppComboBox->ItemIndex();
    if (!MainForm || !MainForm->Hull.IsAppendageIndexValid(unsigned(i))) return;
    MainForm->CurrentAppendage = i;
    // The frame list follows the appendage; a frame it lacks gives way to its first.
    if (!MainForm->Hull.IsFrameIndexValid(unsigned(i), unsigned(MainForm->CurrentFrame))) MainForm->CurrentFrame = 0;
    MainForm->SelectionChanged();
    SelectionChanged();
}

void TSplitDialog::FrameComboBoxChange(TObject*)
{
    const int j = FrameComboBox->ItemIndex();
    if (!MainForm || !MainForm->Hull.IsFrameIndexValid(unsigned(AppComboBox->ItemIndex()), unsigned(j))) return;
    MainForm->CurrentFrame = j;
    MainForm->SelectionChanged();
}

void TSplitDialog::SplitYBtnClick(TObject*)
{
    if (!MainForm) return;
    core::Hullform& h = MainForm->Hull;
    if (!SelectionValid()) {
        ShowMessage("Split Failed. " + core::LoggedFailure(&h.log, OutOfBounds("TSplitDialog::SplitYBtnClick()")).Reason());
        return;
    }
    if (const core::Result r = h.SplitAppendage(unsigned(MainForm->CurrentAppendage), unsigned(MainForm->CurrentFrame),
                                                DeleteOriginalCheckBox->Checked());
        !r) {
        ShowMessage("Split Failed. " + r.Reason());
        return;
    }
    MainForm->SetModified();
    MainForm->RefreshAll();
}

}  // namespace app

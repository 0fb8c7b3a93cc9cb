#include "app/ArrayDialog.h"

#include <string>

#include "app/AppForms.h"
#include "app/Components.h"
#include "app/DialogControls.h"
#include "app/MainForm.h"
#include "app/ModelEdits.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Dialogs.h"
#include "widgets/edit/ExCombo.h"
#include "widgets/edit/ExEdBtn.h"

using namespace platform;

namespace app {

namespace {
enum { opFrame = 0, opAppendage = 1 };
}

TArrayDialog::TArrayDialog(TComponent* AOwner) : TForm(AOwner)
{
    SetupToolDialog(*this, "ArrayDialog", "Create Element Array", 313, 218);
    SelectionRadioGroup = MakeRadioGroup(this, this, "SelectionRadioGroup", "Operate on  - ", {"Frame", "Appendage"},
                                         Bounds(8, 8, 120, 64), [this](TObject* s) { SelectionRadioGroupClick(s); });
    ElementComboBox = MakeControl<edit::TExComboBox>(this, this, "ElementComboBox");
    ElementComboBox->SetStyle(csDropDownList);
    ElementComboBox->SetBounds(140, 26, 164, 21);
    ElementComboBox->SetLabelCaption("Select Element -");
    ElementComboBox->SetLabelPosition(edit::lpTopLeft);
    ElementComboBox->OnChange = [this](TObject* s) { ElementComboBoxChange(s); };
    CopyCountEdit = MakeControl<edit::TExEdit>(this, this, "CopyCountEdit");
    CopyCountEdit->SetEditType(edit::etNumeric);
    CopyCountEdit->Signed = false;
    CopyCountEdit->SetBounds(244, 72, 60, 21);
    CopyCountEdit->SetLabelCaption("Copy Count");
    CopyCountEdit->SetLabelPosition(edit::lpTopLeft);
    CopyCountEdit->SetText("1");
    NewAppendageCheckBox =
        MakeCheckBox(this, this, "NewAppendageCheckBox", "Create In New Appendage", Bounds(8, 78, 170, 17));
    const char* names[3] = {"XEdit", "YEdit", "ZEdit"};
    const char* labels[3] = {"X ", "Y", "Z"};
    edit::TExEditBtn** edits[3] = {&XEdit, &YEdit, &ZEdit};
    for (int a = 0; a < 3; ++a) {
        auto* e = MakeControl<edit::TExEditBtn>(this, this, names[a]);
        e->SetEditType(edit::etFloat);
        e->SetPrecision(3);
        e->SetSuffix(" m");
        e->Signed = true;
        e->SetBounds(30, 108 + 26 * a, 130, 21);
        e->SetLabelCaption(labels[a]);
        e->SetLabelPosition(edit::lpLeftCenter);
        e->SetText("0.000");
        e->SetButtonWidth(30);
        e->SetCaption("pitch");
        e->OnClickBtn = [this, e](TObject*) { EditClickBtn(e); };
        *edits[a] = e;
    }
    ExecuteBtn = MakeButton(this, this, "ExecuteBtn", "&Execute", Bounds(148, 186, 75, 25),
                            [this](TObject* s) { ExecuteBtnClick(s); });
    CloseBtn = MakeButton(this, this, "CloseBtn", "&Close", Bounds(229, 186, 75, 25),
                          [this](TObject* s) { CloseBtnClick(s); });
    OnShow = [this](TObject* s) { FormShow(s); };
    OnActivate = [this](TObject*) { FillElementCombo(true); };
}

void TArrayDialog::FormShow(TObject*) { FillElementCombo(); }

void TArrayDialog::SelectionRadioGroupClick(TObject*) { FillElementCombo(); }

void TArrayDialog::FillElementCombo(bool quiet)
{
    if (!MainForm) return;
    const core::Hullform& h = MainForm->Hull;
    const int app = MainForm->CurrentAppendage;
    ElementComboBox->Items().Clear();
    if (!h.IsAppendageIndexValid(unsigned(app))) {
        if (!quiet) ShowMessage("Invalid Appendage Index - " + std::to_string(app));
        return;
    }
    if (SelectionRadioGroup->ItemIndex() == opFrame) {
        NewAppendageCheckBox->SetEnabled(true);
        for (const core::Section& s : h.appendages[std::size_t(app)].frames) ElementComboBox->Items().Add(s.name);
        ElementComboBox->SetItemIndex(MainForm->CurrentFrame);
    } else {
        NewAppendageCheckBox->SetEnabled(false);
        for (const core::Appendage& a : h.appendages) ElementComboBox->Items().Add(a.name);
        ElementComboBox->SetItemIndex(app);
    }
}

void TArrayDialog::ElementComboBoxChange(TObject*)
{
    if (!MainForm) return;
    const core::Hullform& h = MainForm->Hull;
    const int k = ElementComboBox->ItemIndex();
    if (SelectionRadioGroup->ItemIndex() == opFrame) {
        if (!h.IsFrameIndexValid(unsigned(MainForm->CurrentAppendage), unsigned(k))) return;
        MainForm->CurrentFrame = k;
    } else {
        if (!h.IsAppendageIndexValid(unsigned(k))) return;
        MainForm->CurrentAppendage = k;
        if (!h.IsFrameIndexValid(unsigned(k), unsigned(MainForm->CurrentFrame))) MainForm->CurrentFrame = 0;
    }
    MainForm->SelectionChanged();
}

void TArrayDialog::EditClickBtn(edit::TExEditBtn* e)
{
    const std::string mode = e->GetCaption();
    if (mode != "pitch" && mode != "total") return;
    const bool total = mode == "total";
    e->SetFloat(ToggledValue(e->GetFloat(), total, CopyCountEdit->GetInt()));
    e->SetCaption(total ? "pitch" : "total");
}

void TArrayDialog::ExecuteBtnClick(TObject*)
{
    if (!MainForm) return;
    core::Hullform& h = MainForm->Hull;
    const int app = MainForm->CurrentAppendage, frame = MainForm->CurrentFrame;
    if (!h.IsAppendageIndexValid(unsigned(app))) {
        ShowMessage("Invalid Appendage Index - " + std::to_string(app));
        return;
    }
    if (!h.IsFrameIndexValid(unsigned(app), unsigned(frame))) {
        ShowMessage("Invalid Frame Index - " + std::to_string(frame));
        return;
    }
    const int n = CopyCountEdit->GetInt();
    if (n <= 0) return;
    if (n > kMaxCopies) {
        ShowMessage("Too many copies: " + std::to_string(n) + ". At most " + std::to_string(kMaxCopies) +
                    " copies are made at once.");
        return;
    }
    if (n > kCopiesToConfirm &&
        ShowMessageBox("This will make " + std::to_string(n) + " copies. Continue?", "Confirm Copies",
                       MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    auto pitch = [n](edit::TExEditBtn* e) { return PitchOf(e->GetFloat(), e->GetCaption() == "total", n); };
    const double px = pitch(XEdit), py = pitch(YEdit), pz = pitch(ZEdit);
    if (SelectionRadioGroup->ItemIndex() == opFrame) {
        // The copies that could be placed stay; the reason names the last one refused.
        if (const core::Result r = h.CreateFrameArray(unsigned(app), unsigned(frame), unsigned(n), px, py, pz,
                                                      NewAppendageCheckBox->Checked());
            !r)
            ShowMessage("Frame Array Failed. " + r.Reason());
    } else {
        // The copies made so far stay; the one refused ends the array.
        for (int k = 1; k <= n; ++k)
            if (const core::Result r = h.MoveAppendage(unsigned(app), k * px, k * py, k * pz, true); !r) {
                ShowMessage("Appendage Array Failed. " + r.Reason());
                break;
            }
    }
    MainForm->SetModified();
    MainForm->RefreshAll();
}

void TArrayDialog::CloseBtnClick(TObject*) { Close(); }

}  // namespace app

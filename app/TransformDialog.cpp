#include "app/TransformDialog.h"

#include <algorithm>
#include <string>

#include "app/AppForms.h"
#include "app/Components.h"
#include "app/DialogControls.h"
#include "app/MainForm.h"
#include "app/ModelEdits.h"
#include "base/StrUtils.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Dialogs.h"
#include "widgets/edit/MoneyEdit.h"
#include "widgets/flat/FlatCheckListBox.h"

using namespace platform;

namespace app {

namespace {

constexpr int kSmallHeight = 171, kLargeHeight = 400;

core::Hullform& Hull() { return MainForm->Hull; }

}  // namespace

TTransformDialog::TTransformDialog(TComponent* AOwner) : TForm(AOwner)
{
    SetupToolDialog(*this, "TransformDialog", "Transform", 329, kSmallHeight);
    SelectedLabel = MakeControl<TLabel>(this, this, "SelectedLabel");
    SelectedLabel->SetBounds(8, 6, 312, 16);
    SelectedLabel->Font()->SetStyle(fsBold);
    SelectedLabel->SetCaption("Current -");
    SelectionRadioGroup = MakeRadioGroup(this, this, "SelectionRadioGroup", "Operate on  - ",
                                         {"Frame", "Appendage", "Hull"}, Bounds(8, 26, 100, 84),
                                         [this](TObject* s) { SelectionRadioGroupClick(s); });
    OperationRadioGroup = MakeRadioGroup(this, this, "OperationRadioGroup", "Operation - ",
                                         {"Scale", "Move", "Rotate"}, Bounds(114, 26, 90, 84),
                                         [this](TObject* s) { OperationRadioGroupClick(s); });
    const char* names[3] = {"XEdit", "YEdit", "ZEdit"};
    const char* axes[3] = {"x", "y", "z"};
    edit::TMoneyEdit** edits[3] = {&XEdit, &YEdit, &ZEdit};
    for (int a = 0; a < 3; ++a) {
        auto* e = MakeControl<edit::TMoneyEdit>(this, this, names[a]);
        e->SetBounds(212, 30 + 28 * a, 108, 21);
        e->SetValue(a == 1 ? 0 : 1);
        e->Calculator().Extra[0] = std::string("+ ") + axes[a];
        e->Calculator().Extra[1] = std::string("- ") + axes[a];
        e->Calculator().OnExtraButtonClick = [this, a](TObject*, int idx, double& v) {
            EditExtraButtonClick(a, idx, v);
        };
        *edits[a] = e;
    }
    YEdit->SetValue(1);
    CopyCheckBox = MakeCheckBox(this, this, "CopyCheckBox", "Create A Copy", Bounds(8, 116, 100, 17));
    RangeCheckBox = MakeCheckBox(this, this, "RangeCheckBox", "Select Range", Bounds(8, 138, 100, 17),
                                 [this](TObject* s) { RangeCheckBoxClick(s); });
    ExecuteBtn = MakeButton(this, this, "ExecuteBtn", "&Execute", Bounds(164, 136, 75, 25),
                            [this](TObject* s) { ExecuteBtnClick(s); });
    CloseBtn = MakeButton(this, this, "CloseBtn", "&Close", Bounds(245, 136, 75, 25),
                          [this](TObject* s) { CloseBtnClick(s); });
    CheckListBox = MakeControl<flat::TFlatCheckListBox>(this, this, "CheckListBox");
    CheckListBox->SetBounds(8, 176, 312, 180);
    CheckAllBtn = MakeButton(this, this, "CheckAllBtn", "Check All", Bounds(8, 366, 90, 25),
                             [this](TObject* s) { CheckAllBtnClick(s); });
    UnCheckAllBtn = MakeButton(this, this, "UnCheckAllBtn", "Un-Check All", Bounds(104, 366, 90, 25),
                               [this](TObject* s) { UnCheckAllBtnClick(s); });
    DeleteCheckedBtn = MakeButton(this, this, "DeleteCheckedBtn", "Delete", Bounds(245, 366, 75, 25),
                                  [this](TObject* s) { DeleteCheckedBtnClick(s); });
    OnShow = [this](TObject* s) { FormShow(s); };
    // A selection changed while the dialog was in the background is read on its return.
    OnActivate = [this](TObject*) { UpdateSelectionInfo(true); };
}

void TTransformDialog::FormShow(TObject*) { UpdateSelectionInfo(); }

void TTransformDialog::SelectionRadioGroupClick(TObject*) { UpdateSelectionInfo(); }

void TTransformDialog::OperationRadioGroupClick(TObject*) { UpdateOperationControls(); }

void TTransformDialog::RangeCheckBoxClick(TObject*)
{
    SetClientHeight(RangeCheckBox->Checked() ? kLargeHeight : kSmallHeight);
}

void TTransformDialog::UpdateSelectionInfo(bool keepMarks)
{
    if (!MainForm) return;
    const core::Hullform& h = Hull();
    const int app = MainForm->CurrentAppendage, frame = MainForm->CurrentFrame;
    const int kind = SelectionRadioGroup->ItemIndex();
    auto enable = [this](bool on) {
        ExecuteBtn->SetEnabled(on);
        RangeCheckBox->SetEnabled(on);
        CopyCheckBox->SetEnabled(on);
    };
    auto setExtents = [this](double maxX, double maxY, double maxZ, double minX, double minY, double minZ) {
        const double e[6] = {maxX, maxY, maxZ, minX, minY, minZ};
        std::copy(e, e + 6, Extents);
    };
    if (kind == opFrame) {
        if (h.IsFrameIndexValid(unsigned(app), unsigned(frame))) {
            const core::Appendage& a = h.appendages[std::size_t(app)];
            const core::Section& s = a.frames[std::size_t(frame)];
            SelectedLabel->SetCaption("App = " + a.name + ", Fr = " + s.name);
            enable(true);
            setExtents(s.maxX, s.Y, s.maxZ, s.minX, s.Y, s.minZ);
        } else {
            SelectedLabel->SetCaption("No Frame Selected...");
            enable(false);
        }
        if (OperationRadioGroup->ItemIndex() == opRotate) CopyCheckBox->SetEnabled(false);
        FillCheckList(keepMarks);
    } else if (kind == opAppendage) {
        if (h.IsAppendageIndexValid(unsigned(app))) {
            const core::Appendage& a = h.appendages[std::size_t(app)];
            SelectedLabel->SetCaption("App = " + a.name);
            enable(true);
            setExtents(a.GetMaxX(), a.GetMaxY(), a.GetMaxZ(), a.GetMinX(), a.GetMinY(), a.GetMinZ());
        } else {
            SelectedLabel->SetCaption("No Appendage Selected...");
            enable(false);
        }
        FillCheckList(keepMarks);
    } else {
        SelectedLabel->SetCaption("Hull = " + h.name);
        ExecuteBtn->SetEnabled(true);
        if (RangeCheckBox->Checked()) RangeCheckBox->SetChecked(false);
        RangeCheckBoxClick(RangeCheckBox);
        RangeCheckBox->SetEnabled(false);
        CopyCheckBox->SetEnabled(false);
        setExtents(h.GetMaxX(), h.GetMaxY(), h.GetMaxZ(), h.GetMinX(), h.GetMinY(), h.GetMinZ());
    }
}

void TTransformDialog::UpdateOperationControls()
{
    const bool rotate = OperationRadioGroup->ItemIndex() == opRotate;
    XEdit->SetEnabled(!rotate);
    ZEdit->SetEnabled(!rotate);
    YEdit->SetEnabled(true);
    CopyCheckBox->SetEnabled(!rotate || SelectionRadioGroup->ItemIndex() != opFrame);
}

void TTransformDialog::FillCheckList(bool keepMarks)
{
    const core::Hullform& h = Hull();
    const int kind = SelectionRadioGroup->ItemIndex();
    const int app = MainForm->CurrentAppendage;
    std::vector<std::string> names;
    if (kind == opFrame && h.IsFrameIndexValid(unsigned(app), unsigned(MainForm->CurrentFrame))) {
        for (const core::Section& s : h.appendages[std::size_t(app)].frames) names.push_back(s.name);
    } else if (kind == opAppendage && h.IsAppendageIndexValid(unsigned(app))) {
        for (const core::Appendage& a : h.appendages) names.push_back(a.name);
    }
    const int listedApp = kind == opFrame ? app : -1;
    if (keepMarks && kind == listedKind_ && listedApp == listedApp_ && names == listedNames_) return;
    CheckListBox->Clear();
    for (const std::string& n : names) CheckListBox->Items().Add(n);
    listedKind_ = kind;
    listedApp_ = listedApp;
    listedNames_ = std::move(names);
}

std::vector<unsigned> TTransformDialog::MarkedLines() const
{
    std::vector<unsigned> marked;
    const core::Hullform& h = Hull();
    const int kind = SelectionRadioGroup->ItemIndex();
    // A list filled for another element names nothing of the current one.
    if (kind != listedKind_ || (kind == opFrame && listedApp_ != MainForm->CurrentAppendage)) return marked;
    unsigned count = 0;
    if (kind == opFrame && h.IsAppendageIndexValid(unsigned(listedApp_)))
        count = h.appendages[std::size_t(listedApp_)].GetFrameCount();
    else if (kind == opAppendage)
        count = h.GetAppendageCount();
    for (unsigned k = 0; k < count && k < unsigned(CheckListBox->Items().Count()); ++k)
        if (CheckListBox->GetChecked(int(k))) marked.push_back(k);
    return marked;
}

void TTransformDialog::EditExtraButtonClick(int axis, int idx, double& value)
{
    if (idx == 1) value = Extents[axis];
    if (idx == 2) value = Extents[3 + axis];
}

void TTransformDialog::CheckAllBtnClick(TObject*)
{
    for (int k = 0; k < CheckListBox->Items().Count(); ++k) CheckListBox->SetChecked(k, true);
}

void TTransformDialog::UnCheckAllBtnClick(TObject*)
{
    for (int k = 0; k < CheckListBox->Items().Count(); ++k) CheckListBox->SetChecked(k, false);
}

void TTransformDialog::Report(const std::string& what, bool yTaken, double y, const std::string& reason)
{
    std::string text = what + " Failed.";
    if (yTaken)
        text += " Already a frame at Y=" + base::FloatToStr(y) + " m...";
    else if (!reason.empty())
        text += " " + reason;
    ShowMessage(text);
}

namespace {

// One frame of a scale or move, through the model. The Y it would take is refused first
// when another frame holds it.
struct FrameStep {
    bool move;
    double a, b, c;  // factors or distances
    bool copy;

    double TargetY(const core::Section& s) const { return move ? s.Y + b : (copy ? s.Y * b : s.Y); }

    // False when refused; taken tells a held Y from another reason.
    core::Result Run(core::Hullform& h, unsigned app, unsigned j, bool& taken, double& y) const
    {
        const core::Appendage& body = h.appendages[app];
        y = TargetY(body.frames[j]);
        taken = FrameYHeld(body, y, copy ? -1 : int(j));
        if (taken) return false;
        return move ? h.MoveFrame(app, j, a, b, c, copy) : h.ScaleFrame(app, j, a, b, c, copy);
    }
};

}  // namespace

void TTransformDialog::FramesOperation(bool move)
{
    core::Hullform& h = Hull();
    const FrameStep step{move, XEdit->GetValue(), YEdit->GetValue(), ZEdit->GetValue(),
                         CopyCheckBox->Enabled() && CopyCheckBox->Checked()};
    const unsigned app = unsigned(MainForm->CurrentAppendage);
    bool taken = false;
    double y = 0;
    if (!RangeCheckBox->Checked()) {
        if (const core::Result r = step.Run(h, app, unsigned(MainForm->CurrentFrame), taken, y); !r)
            Report(move ? "Move Single Frame" : "Scale Single Frame", taken, y, r.Reason());
        else if (move && !step.copy)
            MainForm->CurrentFrame = FrameIndexAtY(h.appendages[app], y);  // the selection follows the frame
        return;
    }
    // The checked frames are taken by their Y before anything changes, as frames that move
    // change the indexes of the others.
    const std::vector<unsigned> lines = MarkedLines();
    std::vector<double> ys;
    for (unsigned k : lines) ys.push_back(h.appendages[app].frames[k].Y);
    std::vector<std::size_t> order(lines.size());
    for (std::size_t p = 0; p < order.size(); ++p) order[p] = p;
    // Frames moving up go from the front first, so that none is stopped by a checked
    // frame that is about to move out of its way; moving down, the other way round.
    if (move && !step.copy && step.b > 0) std::reverse(order.begin(), order.end());
    const std::string verb = move ? "Moving" : "Scaling";
    for (std::size_t p : order) {
        const int j = FrameIndexAtY(h.appendages[app], ys[p]);
        if (j < 0) continue;
        const core::Result r = step.Run(h, app, unsigned(j), taken, y);
        if (r) continue;
        const std::string k = std::to_string(step.copy ? p : lines[p]);
        Report(step.copy ? verb + " Frame[" + k + "]" : verb + " Y location for Frame[" + k + "]", taken, y, r.Reason());
    }
}

void TTransformDialog::ScaleSelection() { Transform(opScale); }

void TTransformDialog::MoveSelection() { Transform(opMove); }

void TTransformDialog::RotateSelection() { Transform(opRotate); }

void TTransformDialog::Transform(int op)
{
    core::Hullform& h = Hull();
    const int kind = SelectionRadioGroup->ItemIndex();
    const double x = XEdit->GetValue(), y = YEdit->GetValue(), z = ZEdit->GetValue();
    const bool copy = CopyCheckBox->Enabled() && CopyCheckBox->Checked();
    // A refused step says why; the other items of a range go on.
    auto report = [this](const std::string& what, const core::Result& r) {
        if (!r) Report(what, false, 0, r.Reason());
    };
    if (kind == opHull) {
        if (op == opScale) report("Scale Hull", h.Scale(x, y, z));
        if (op == opMove) report("Move Hull", h.Move(x, y, z));
        if (op == opRotate) report("Rotate Hull", h.Rotate(y));
        return;
    }
    const bool range = RangeCheckBox->Checked();
    std::vector<unsigned> items;
    if (range)
        items = MarkedLines();
    else
        items.push_back(unsigned(kind == opFrame ? MainForm->CurrentFrame : MainForm->CurrentAppendage));
    const unsigned app = unsigned(MainForm->CurrentAppendage);
    if (kind == opFrame) {
        if (op != opRotate) {
            FramesOperation(op == opMove);
            return;
        }
        for (unsigned j : items) report("Rotating Frame[" + std::to_string(j) + "]", h.RotateFrame(app, j, y));
        return;
    }
    // Copies go to the end of the list, so the checked indexes stay put.
    for (unsigned i : items) {
        const std::string k = "Appendage[" + std::to_string(i) + "]";
        if (op == opScale) report("Scaling " + k, h.ScaleAppendage(i, x, y, z, copy));
        if (op == opMove) report("Moving " + k, h.MoveAppendage(i, x, y, z, copy));
        if (op == opRotate) report("Rotating " + k, h.RotateAppendage(i, y, copy));
    }
}

void TTransformDialog::AfterChange()
{
    MainForm->SetModified();
    MainForm->RefreshAll();
    UpdateSelectionInfo();
    FillCheckList();
}

void TTransformDialog::ExecuteBtnClick(TObject*)
{
    if (!MainForm) return;
    // The element may have gone since the dialog last looked; a list that no longer names
    // the model's items is refilled, which drops its marks.
    UpdateSelectionInfo(true);
    if (!ExecuteBtn->Enabled()) return;
    Transform(OperationRadioGroup->ItemIndex());
    AfterChange();
}

void TTransformDialog::DeleteCheckedBtnClick(TObject*)
{
    if (!MainForm) return;
    if (ShowMessageBox("This will permanently delete selected items. Are you sure?", "Confirm Delete",
                       MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    core::Hullform& h = Hull();
    const int kind = SelectionRadioGroup->ItemIndex();
    if (kind != opHull) FillCheckList(true);
    const std::vector<unsigned> lines = MarkedLines();
    if (kind == opHull) {
        h.Clear();
    } else {
        for (auto k = lines.rbegin(); k != lines.rend(); ++k) {
            if (kind == opFrame) h.DeleteFrame(unsigned(MainForm->CurrentAppendage), *k);
            if (kind == opAppendage) h.DeleteAppendage(*k);
        }
    }
    AfterChange();
}

void TTransformDialog::CloseBtnClick(TObject*) { Close(); }

}  // namespace app

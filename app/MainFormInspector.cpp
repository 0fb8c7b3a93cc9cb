// The model inspector: the tree's set-up and pop-up menu, the model commands of the tool
// bar, the frames list, the page switch and the status bar's names.
#include "app/MainForm.h"
#include "app/OffsetsTable.h"
#include "app/ToolImages.h"
#include "base/StrUtils.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/forms/Dialogs.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/ImageList.h"
#include "widgets/edit/ParamTree.h"
#include "widgets/flat/FlatCheckListBox.h"
#include "widgets/frame/ExMenuStylers.h"
#include "widgets/frame/ExMenus.h"
#include "widgets/frame/ExPageControl.h"

using namespace platform;

namespace app {

frame::TExPopupMenu* TMainForm::MakePopup(const std::string& name)
{
    auto* menu = new frame::TExPopupMenu(this);
    menu->SetName(name);
    menu->SetMenuStyler(ExMenuOfficeStyler1);
    return menu;
}

void TMainForm::SetupInspector()
{
    auto click = [this](void (TMainForm::*handler)(TObject*)) {
        return TNotifyEvent([this, handler](TObject* s) { (this->*handler)(s); });
    };
    THullTree* t = HullTreeView;
    HullTreeImageList = new TImageList(this);
    HullTreeImageList->SetName("HullTreeImageList");
    MakeTreeImages(*HullTreeImageList);
    t->SetImages(HullTreeImageList);
    t->EmptyParam = "?";
    t->HoverColor = clGrayText;
    t->SetItemHeightEx(18);
    t->SetSelectionColor(clHighlight);
    t->SetSelectionFontColor(clHighlightText);
    t->SetParamColor(clNavy);
    t->ParamHint = false;
    t->SetShadowColor(clGray);
    t->SetShadowOffset(1);
    t->SetWordWrap(false);
    t->HotTrack = true;
    t->SetIndent(19);
    t->ParamListSorted = false;
    t->ToolTips = false;
    t->AdvanceOnReturn = false;
    t->EditAutoSize = false;
    t->OnChange = [this](TObject* s, TTreeNode* n) { HullTreeViewChange(s, n, false); };
    t->OnChanging = [this](TObject* s, TTreeNode* n, bool& allow) { HullTreeViewChanging(s, n, allow); };
    t->OnParamClick = [this](TObject* s, TTreeNode* n, const std::string& h, std::string& v) {
        HullTreeViewParamClick(s, n, h, v);
    };
    t->OnParamChanged = [this](TObject* s, TTreeNode* n, const std::string& h, const std::string& o,
                               const std::string& v) { HullTreeViewParamChanged(s, n, h, o, v); };
    t->OnExpanded = [this](TObject*, TTreeNode*) { HullTreeView->Invalidate(); };

    HullTreePopup = MakePopup("HullTreePopup");
    TMenuItem* items = HullTreePopup->Items();
    AllowEditing1 = AddMenuItem(this, items, "Allow Editing", click(&TMainForm::AllowEditing1Click));
    AllowEditing1->SetChecked(true);
    WordWrap1 = AddMenuItem(this, items, "Word Wrap", click(&TMainForm::WordWrap1Click));
    ExpandAll1 = AddMenuItem(this, items, "Expand All", click(&TMainForm::ExpandAll1Click));
    CollapseAll1 = AddMenuItem(this, items, "Collapse All", click(&TMainForm::CollapseAll1Click));
    AddMenuItem(this, items, "-");
    AddAppendage1 = AddMenuItem(this, items, "Add Appendage", click(&TMainForm::AddAppendage1Click));
    AddFrame1 = AddMenuItem(this, items, "Add Frame", click(&TMainForm::AddFrame1Click));
    DeleteAppendage1 = AddMenuItem(this, items, "Delete Appendage", click(&TMainForm::DeleteAppendage1Click));
    DeleteFrame1 = AddMenuItem(this, items, "Delete Frame", click(&TMainForm::DeleteFrame1Click));
    CompleteAppendage1 = AddMenuItem(this, items, "Complete Appendage");
    CompleteFrame1 = AddMenuItem(this, items, "Complete Frame");
    SetPopupMenu(t, HullTreePopup);
    ToolButton7->OnClick = click(&TMainForm::AddAppendage1Click);
    ToolButton9->OnClick = click(&TMainForm::DeleteAppendage1Click);
    ToolButton10->OnClick = click(&TMainForm::AddFrame1Click);
    ToolButton12->OnClick = click(&TMainForm::DeleteFrame1Click);

    ColorDialog = new TColorDialog(this);
    ColorDialog->SetName("ColorDialog");

    FramesListBox->OnClick = click(&TMainForm::FramesListBoxClick);
    ModelInspector->OnChange = click(&TMainForm::ModelInspectorChange);
    SetupOffsetGrid();
}

// --- Frames list ---

void TMainForm::FillFramesList()
{
    FramesListBox->Clear();
    if (!Hull.IsAppendageIndexValid(unsigned(CurrentAppendage))) return;
    core::Appendage& a = Hull.appendages[unsigned(CurrentAppendage)];
    if (a.frames.empty()) return;
    for (core::Section& f : a.frames) {
        FramesListBox->Items().Add(f.name + ": Y = " + base::FloatToStrG(f.Y, 15));
        f.checked = false;
    }
    FramesListBox->SetItemIndex(CurrentFrame);
    ShowCurrentNames();
}

void TMainForm::ShowCurrentNames()
{
    if (!Hull.IsAppendageIndexValid(unsigned(CurrentAppendage))) return;
    const core::Appendage& a = Hull.appendages[unsigned(CurrentAppendage)];
    StatusBar->Panels().Items(1)->SetText(a.name);
    StatusBar->Panels().Items(3)->SetText(
        Hull.IsFrameIndexValid(unsigned(CurrentAppendage), unsigned(CurrentFrame)) ? a.frames[unsigned(CurrentFrame)].name
                                                                                 : "");
}

void TMainForm::FramesListBoxClick(TObject*)
{
    if (!Hull.IsAppendageIndexValid(unsigned(CurrentAppendage))) return;
    core::Appendage& a = Hull.appendages[unsigned(CurrentAppendage)];
    // The marks choose the frames the body plan shows in grey.
    for (unsigned k = 0; k < a.frames.size(); ++k) a.frames[k].checked = FramesListBox->GetChecked(int(k));
    const int i = FramesListBox->ItemIndex();
    if (!Hull.IsFrameIndexValid(unsigned(CurrentAppendage), unsigned(i))) {
        DrawBodyPlan();
        return;
    }
    OffsetGrid->EndEdit();
    CurrentFrame = i;
    CurrentPoint = 0;
    DrawBodyPlan();
    FillOffsetGrid();
    StatusBar->Panels().Items(3)->SetText(a.frames[unsigned(i)].name);
    SelectionChanged();
}

void TMainForm::ModelInspectorChange(TObject*)
{
    OffsetGrid->EndEdit();
    if (ModelInspector->GetActivePageIndex() == 0) {
        DrawAllViews();
        return;
    }
    DrawBodyPlan();
    FillOffsetGrid();
}

}  // namespace app

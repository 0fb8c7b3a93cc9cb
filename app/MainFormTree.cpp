// The hull tree of the model inspector: built from the hull, its node selection, its
// in-place edits and the add and delete commands.
#include <cmath>

#include "app/HullTreeText.h"
#include "app/MainForm.h"
#include "app/OffsetsTable.h"
#include "base/StrUtils.h"
#include "core/ModelText.h"
#include "platform/controls/Menus.h"
#include "platform/forms/Dialogs.h"
#include "widgets/edit/ParamMarkup.h"
#include "widgets/edit/ParamTree.h"

using namespace platform;

namespace app {

namespace {

bool HasWords(const std::string& href, const char* a, const char* b)
{
    return href.find(a) != std::string::npos && href.find(b) != std::string::npos;
}

// A number typed into the tree or the table; false (after the message) when it is none.
bool TypedNumber(const std::string& text, double& v)
{
    if (base::TryStrToFloat(text, v) && std::isfinite(v)) return true;
    ShowMessage("You must enter valid decimal numbers.");
    return false;
}

// A name the hull file could not give back; true (after the message) when it is one.
bool NameRefused(const std::string& name)
{
    const std::string problem = core::NameProblem(name);
    if (problem.empty()) return false;
    ShowMessage(problem + ".");
    return true;
}

const char* const kDensityNotPositive = "The density must be above 0.";

int IndexOf(TTreeNode* n) { return n ? n->Index() : -1; }
int GrandparentIndex(TTreeNode* n) { return n && n->Parent() ? IndexOf(n->Parent()->Parent()) : -1; }

}  // namespace

void TMainForm::BuildHullTree()
{
    const bool editing = AllowEditing1 ? AllowEditing1->Checked() : true;
    TTreeNodes* items = HullTreeView->Items();
    building_ = true;
    items->BeginUpdate();
    items->Clear();
    HullNode = items->Add(nullptr, HullNodeText(Hull, editing));
    HullNode->Expand(false);
    InfoNode = items->AddChild(HullNode, "<IMG src=\"idx:1\"> Hull Information");
    for (int k = 0; k < kHullInfoCount; ++k) items->AddChild(InfoNode, HullInfoText(Hull, k, editing));
    AppendagesNode = items->AddChild(HullNode, AppendagesNodeText(Hull.GetAppendageCount()));
    for (unsigned i = 0; i < Hull.GetAppendageCount(); ++i) {
        const core::Appendage& a = Hull.appendages[i];
        TTreeNode* an = items->AddChild(AppendagesNode, AppendageNodeText(a, i, editing));
        AppPropsNode = items->AddChild(an, AppendagePropertiesText());
        for (int k = 0; k < kAppendagePropertyCount; ++k) items->AddChild(AppPropsNode, AppendagePropertyText(a, i, k));
        FramesNode = items->AddChild(an, FramesNodeText(unsigned(a.frames.size())));
        for (unsigned j = 0; j < a.frames.size(); ++j)
            items->AddChild(FramesNode, FrameNodeText(a.frames[j], j, i, editing));
    }
    items->EndUpdate();
    building_ = false;
    HullTreeView->SetSelected(AppendagesNode);
    CurrentPoint = 0;
}

void TMainForm::SetModified(bool v)
{
    modified_ = v;
    if (v) RefreshHullSummary();
}

void TMainForm::RefreshHullSummary()
{
    if (building_ || !HullTreeView) return;
    auto update = [](TTreeNode* node, const std::string& text) {
        if (node->Text() != text) node->SetText(text);
    };
    // Only the computed extents: the values the user types are written by their editors.
    constexpr int kFirstExtent = 6;
    if (InfoNode && InfoNode->Count() == kHullInfoCount)
        for (int k = kFirstExtent; k < kHullInfoCount; ++k) update(InfoNode->Item(k), HullInfoText(Hull, k, false));
    if (!AppendagesNode || AppendagesNode->Count() != int(Hull.GetAppendageCount())) return;
    for (unsigned i = 0; i < Hull.GetAppendageCount(); ++i) {
        TTreeNode* an = AppendagesNode->Item(int(i));
        if (an->Count() == 0) continue;
        TTreeNode* props = an->Item(0);
        if (props->Count() != kAppendagePropertyCount) continue;
        for (int k = 0; k < 6; ++k) update(props->Item(k), AppendagePropertyText(Hull.appendages[i], i, k));
    }
}

// --- Selection ---

void TMainForm::HullTreeViewChanging(TObject*, TTreeNode*, bool& AllowChange)
{
    AllowChange = AllowEditing1->Checked();
}

void TMainForm::HullTreeViewChange(TObject*, TTreeNode* Node, bool clicked)
{
    if (building_) return;
    CurrentPoint = 0;
    if (!Node || HullTreeView->GetParamNodeRefCount(Node) == 0) return;
    const std::string href = base::LowerCase(HullTreeView->GetParamItemRefs(Node->AbsoluteIndex(), 0));
    if (HasWords(href, "hull", "name")) DrawAllViews();
    if (HasWords(href, "appendage", "name")) {
        CurrentAppendage = IndexOf(Node);
        CurrentFrame = 0;
        ShowAppendageInViews(CurrentAppendage, 0);
        FillFramesList();
        FillOffsetGrid();
    }
    if (HasWords(href, "appendage", "frame")) {
        CurrentAppendage = GrandparentIndex(Node);
        CurrentFrame = IndexOf(Node);
        ShowAppendageInViews(CurrentAppendage, CurrentFrame);
        FillFramesList();
        FillOffsetGrid();
    }
    // Active and colour act only on a click on their link, never on a selection that the
    // keyboard moved there.
    const bool colour = HasWords(href, "appendage", "colour"), active = HasWords(href, "appendage", "active");
    if ((colour || active) && Hull.IsAppendageIndexValid(unsigned(GrandparentIndex(Node)))) {
        CurrentAppendage = GrandparentIndex(Node);
        core::Appendage& a = Hull.appendages[unsigned(CurrentAppendage)];
        if (colour && clicked) {
            ColorDialog->Color = TColor(a.colour);
            if (ColorDialog->Execute() && std::uint32_t(ColorDialog->Color) != a.colour) {
                a.colour = std::uint32_t(ColorDialog->Color) & 0x00FFFFFF;
                SetModified();
            }
            Node->SetText(ColourNodeText(a.colour, unsigned(CurrentAppendage)));
        }
        if (active && clicked) {
            a.active = !a.active;
            SetModified();
            Node->SetText(ActiveNodeText(a.active, unsigned(CurrentAppendage)));
            DrawAllViews();
        } else {
            ShowAppendageInViews(CurrentAppendage, 0);
        }
        FillFramesList();
        FillOffsetGrid();
    }
    SelectionChanged();
    HullTreeView->Invalidate();
}

void TMainForm::HullTreeViewParamClick(TObject* Sender, TTreeNode* ANode, const std::string&, std::string&)
{
    HullTreeViewChange(Sender, ANode, true);
    HullTreeView->Invalidate();
}

// --- Edits ---

void TMainForm::HullTreeViewParamChanged(TObject*, TTreeNode* ANode, const std::string& hrefIn, const std::string&,
                                         const std::string& escapedValue)
{
    // The tree hands the value over as it stands in the node text; the model keeps it plain.
    const std::string newvalue = edit::InvHTMLPrep(escapedValue);
    const std::string href = base::LowerCase(hrefIn);
    struct HullValue {
        const char* href;
        double* field;
        const char* warning;
    };
    const double minY = Hull.GetMinY(), maxY = Hull.GetMaxY();
    const HullValue values[] = {
        {"density", &Hull.waterDensity, "New Density High. It is accepted, but please check."},
        {"ap", &Hull.ap, "New AP outside hull frame range. It is accepted, but please check."},
        {"fp", &Hull.fp, "New FP outside hull frame range. It is accepted, but please check."},
        {"aftdraught", &Hull.aftMarkY,
         "New Aft Draught mark Y location outside hull frame range. It is accepted, but please check."},
        {"middraught", &Hull.midMarkY,
         "New Mid Draught mark Y location outside hull frame range. It is accepted, but please check."},
        {"fwddraught", &Hull.fwdMarkY,
         "New Fwd Draught mark Y location outside hull frame range. It is accepted, but please check."},
    };
    for (int k = 0; k < 6; ++k) {
        if (href != values[k].href) continue;
        double v = 0;
        if (!TypedNumber(newvalue, v)) {
            ANode->SetText(HullValueRestoreText(Hull, k));
            break;
        }
        // The hull file and the runs take no density of 0 or below.
        if (k == 0 && !(v > 0)) {
            ShowMessage(kDensityNotPositive);
            ANode->SetText(HullValueRestoreText(Hull, k));
            break;
        }
        const bool doubtful = k == 0 ? v > 2.0 : k == 1 ? v < minY : k == 2 ? v > maxY : v < minY || v > maxY;
        if (doubtful) ShowMessage(values[k].warning);
        *values[k].field = v;
        SetModified();
        break;
    }

    if (HasWords(href, "appendage", "frame")) {
        CurrentAppendage = GrandparentIndex(ANode);
        CurrentFrame = IndexOf(ANode);
        if (Hull.IsFrameIndexValid(unsigned(CurrentAppendage), unsigned(CurrentFrame))) {
            const unsigned i = unsigned(CurrentAppendage), j = unsigned(CurrentFrame);
            if (NameRefused(newvalue)) {
                ANode->SetText(FrameNodeText(Hull.appendages[i].frames[j], j, i, AllowEditing1->Checked()));
            } else {
                Hull.appendages[i].frames[j].name = newvalue;
                SetModified();
            }
        }
    }
    if (HasWords(href, "appendage", "name")) {
        CurrentAppendage = IndexOf(ANode);
        CurrentFrame = 0;
        if (Hull.IsAppendageIndexValid(unsigned(CurrentAppendage))) {
            const unsigned i = unsigned(CurrentAppendage);
            if (NameRefused(newvalue)) {
                ANode->SetText(AppendageNodeText(Hull.appendages[i], i, AllowEditing1->Checked()));
            } else {
                Hull.appendages[i].name = newvalue;
                SetModified();
            }
        }
    }
    if (HasWords(href, "hull", "name")) {
        if (NameRefused(newvalue)) {
            ANode->SetText(HullNodeText(Hull, AllowEditing1->Checked()));
        } else {
            Hull.name = newvalue;
            SetModified();
        }
    }
    if (HasWords(href, "frame", "ycoord")) MoveFrameTo(ANode, newvalue);

    FillFramesList();
    FillOffsetGrid();
    SelectionChanged();
    HullTreeView->Invalidate();
}

void TMainForm::MoveFrameTo(TTreeNode* node, const std::string& typed)
{
    CurrentAppendage = GrandparentIndex(node);
    CurrentFrame = IndexOf(node);
    if (!Hull.IsFrameIndexValid(unsigned(CurrentAppendage), unsigned(CurrentFrame))) return;
    core::Appendage& a = Hull.appendages[unsigned(CurrentAppendage)];
    const unsigned i = unsigned(CurrentAppendage), j = unsigned(CurrentFrame);
    double y = 0;
    if (!TypedNumber(typed, y)) {
        node->SetText(FrameRestoreText(a.frames[j], j, i));
        return;
    }
    for (unsigned k = 0; k < a.frames.size(); ++k)
        if (k != j && a.frames[k].Y == y) {
            ShowMessage(FrameTakenText(y));
            node->SetText(FrameNodeText(a.frames[j], j, i, AllowEditing1->Checked()));
            return;
        }
    const unsigned u = a.MoveFrameToY(j, y);
    if (u >= a.frames.size() || a.frames[u].Y != y) {
        // The model kept the frame where it was.
        node->SetText(FrameNodeText(a.frames[j], j, i, AllowEditing1->Checked()));
        return;
    }
    SetModified();
    for (unsigned k = u; k < j; ++k) MoveNodeUp(node);
    for (unsigned k = j; k < u; ++k)
        if (TTreeNode* next = node->GetNextSibling()) MoveNodeUp(next);
    // The frames' indexes are in their texts: each node shows its frame again.
    if (TTreeNode* frames = node->Parent())
        for (int k = 0; k < frames->Count() && k < int(a.frames.size()); ++k)
            frames->Item(k)->SetText(FrameNodeText(a.frames[unsigned(k)], unsigned(k), i, AllowEditing1->Checked()));
    CurrentFrame = int(u);
    ShowAppendageInViews(CurrentAppendage, CurrentFrame);
}

void TMainForm::MoveNodeUp(TTreeNode* node)
{
    if (!node) return;
    TTreeNode* prev = node->GetPrevSibling();
    if (!prev || prev->Level() != node->Level()) return;
    node->MoveTo(prev, naInsert);
}

// --- Commands ---

void TMainForm::AddAppendage1Click(TObject*)
{
    const std::string name = "New Appendage [" + std::to_string(Hull.GetAppendageCount()) + "]";
    if (Hull.AddAppendage(name)) {
        CurrentAppendage = int(Hull.GetAppendageCount()) - 1;
        SetModified();
    }
    BuildHullTree();
    SelectAppendageNode(CurrentAppendage, true);
}

void TMainForm::AddFrame1Click(TObject*)
{
    if (!Hull.IsAppendageIndexValid(unsigned(CurrentAppendage))) return;
    core::Appendage& a = Hull.appendages[unsigned(CurrentAppendage)];
    for (const core::Section& f : a.frames)
        if (f.Y == 0) {
            ShowMessage(FrameTakenText(0));
            return;
        }
    const int placed = a.AddSection("New Section", 0);
    if (placed < 0) return;
    SetModified();
    CurrentFrame = placed;
    BuildHullTree();
    SelectFrameNode(CurrentAppendage, CurrentFrame);
}

void TMainForm::DeleteAppendage1Click(TObject*)
{
    if (Hull.DeleteAppendage(unsigned(CurrentAppendage))) SetModified();
    else ShowMessage("No Appendages to Delete...");
    RefreshAll();
    SelectAppendageNode(CurrentAppendage, true);
}

void TMainForm::DeleteFrame1Click(TObject*)
{
    if (Hull.DeleteFrame(unsigned(CurrentAppendage), unsigned(CurrentFrame))) {
        SetModified();
        const int left = int(Hull.appendages[unsigned(CurrentAppendage)].frames.size());
        if (CurrentFrame >= left && left > 0) CurrentFrame = left - 1;
    }
    RefreshAll();
    SelectFrameNode(CurrentAppendage, CurrentFrame);
}

void TMainForm::AllowEditing1Click(TObject*)
{
    AllowEditing1->SetChecked(!AllowEditing1->Checked());
    BuildHullTree();
}

void TMainForm::WordWrap1Click(TObject*)
{
    WordWrap1->SetChecked(!WordWrap1->Checked());
    HullTreeView->SetWordWrap(WordWrap1->Checked());
}

void TMainForm::ExpandAll1Click(TObject*)
{
    for (TTreeNode* n = HullTreeView->Items()->GetFirstNode(); n; n = n->GetNextSibling()) n->Expand(true);
}

void TMainForm::CollapseAll1Click(TObject*)
{
    for (TTreeNode* n = HullTreeView->Items()->GetFirstNode(); n; n = n->GetNextSibling()) n->Collapse(true);
}

// --- Selecting nodes from code ---

void TMainForm::SelectAppendageNode(int i, bool expand)
{
    if (!Hull.IsAppendageIndexValid(unsigned(i))) i = int(Hull.GetAppendageCount()) - 1;
    if (i < 0) return;
    if (TTreeNode* node = SelectAppendageOf(i)) node->SetExpanded(expand);
}

TTreeNode* TMainForm::SelectAppendageOf(int i)
{
    TTreeNode* root = HullTreeView->Items()->GetFirstNode();
    TTreeNode* info = root ? root->GetFirstChild() : nullptr;
    TTreeNode* apps = info ? info->GetNextSibling() : nullptr;
    if (!apps) return nullptr;
    if (i < 0 || i >= apps->Count()) {
        apps->Expand(false);
        return nullptr;
    }
    TTreeNode* node = apps->Item(i);
    HullTreeView->SetSelected(node);
    return node;
}

void TMainForm::SelectFrameNode(int i, int j)
{
    if (!Hull.IsFrameIndexValid(unsigned(i), unsigned(j))) {
        if (!Hull.IsAppendageIndexValid(unsigned(i)) || Hull.appendages[unsigned(i)].frames.empty()) {
            if (Hull.GetAppendageCount() > 0) SelectAppendageNode(i, true);
            return;
        }
    }
    TTreeNode* node = SelectAppendageOf(i);
    if (!node) return;
    node->Expand(false);
    if (node->Count() < 2) return;
    FramesNode = node->Item(1);
    FramesNode->Expand(false);
    // The frame itself becomes current, so that the views show it.
    if (j >= 0 && j < FramesNode->Count()) HullTreeView->SetSelected(FramesNode->Item(j));
}

}  // namespace app

// The hull tree of the model inspector.
#include "app/HullTreeText.h"
#include "app/MainForm.h"

using namespace platform;

namespace app {

void TMainForm::BuildHullTree()
{
    const bool editing = true;
    TTreeNodes* items = HullTreeView->Items();
    items->BeginUpdate();
    items->Clear();
    TTreeNode* hullNode = items->Add(nullptr, TreeNodeText(HullNodeText(Hull, editing)));
    TTreeNode* info = items->AddChild(hullNode, TreeNodeText("<IMG src=\"idx:1\"> Hull Information"));
    for (int k = 0; k < kHullInfoCount; ++k) items->AddChild(info, TreeNodeText(HullInfoText(Hull, k, editing)));
    TTreeNode* apps = items->AddChild(hullNode, TreeNodeText(AppendagesNodeText(Hull.GetAppendageCount())));
    for (unsigned i = 0; i < Hull.GetAppendageCount(); ++i) {
        const core::Appendage& a = Hull.appendages[i];
        TTreeNode* an = items->AddChild(apps, TreeNodeText(AppendageNodeText(a, i, editing)));
        items->AddChild(an, TreeNodeText("<IMG src=\"idx:1\"> Appendage Properties"));
        TTreeNode* frames = items->AddChild(an, TreeNodeText(FramesNodeText(unsigned(a.frames.size()))));
        for (unsigned j = 0; j < a.frames.size(); ++j)
            items->AddChild(frames, TreeNodeText(FrameNodeText(a.frames[j], j, i, editing)));
    }
    items->EndUpdate();
    hullNode->Expand(false);
}

}  // namespace app

// The hull tree of the model inspector.
#include "app/HullTreeText.h"
#include "app/MainForm.h"
#include "widgets/edit/ParamTree.h"

using namespace platform;

namespace app {

void TMainForm::BuildHullTree()
{
    const bool editing = true;
    TTreeNodes* items = HullTreeView->Items();
    items->BeginUpdate();
    items->Clear();
    TTreeNode* hullNode = items->Add(nullptr, HullNodeText(Hull, editing));
    TTreeNode* info = items->AddChild(hullNode, "<IMG src=\"idx:1\"> Hull Information");
    for (int k = 0; k < kHullInfoCount; ++k) items->AddChild(info, HullInfoText(Hull, k, editing));
    TTreeNode* apps = items->AddChild(hullNode, AppendagesNodeText(Hull.GetAppendageCount()));
    for (unsigned i = 0; i < Hull.GetAppendageCount(); ++i) {
        const core::Appendage& a = Hull.appendages[i];
        TTreeNode* an = items->AddChild(apps, AppendageNodeText(a, i, editing));
        items->AddChild(an, "<IMG src=\"idx:1\"> Appendage Properties");
        TTreeNode* frames = items->AddChild(an, FramesNodeText(unsigned(a.frames.size())));
        for (unsigned j = 0; j < a.frames.size(); ++j)
            items->AddChild(frames, FrameNodeText(a.frames[j], j, i, editing));
    }
    items->EndUpdate();
    hullNode->Expand(false);
}

}  // namespace app

// The nodes of a tree view: their order, levels and the walks through them.
#include <algorithm>

#include "base/Exception.h"
#include "platform/controls/TreeView.h"

namespace platform {

TTreeNode::TTreeNode(TTreeNodes* owner) : owner_(owner) {}
TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::TreeView() const { return owner_->Owner(); }

void TTreeNode::SetText(const std::string& s)
{
    if (s == text_) return;
    text_ = s;
    textWidth_ = -1;
    owner_->Owner()->NodesChanged();
}

TTreeNode* TTreeNode::Parent() const { return parent_ == owner_->root_.get() ? nullptr : parent_; }

int TTreeNode::Level() const
{
    int level = 0;
    for (const TTreeNode* p = Parent(); p; p = p->Parent()) ++level;
    return level;
}

int TTreeNode::Index() const
{
    if (!parent_) return -1;
    const auto& sib = parent_->children_;
    for (std::size_t i = 0; i < sib.size(); ++i)
        if (sib[i].get() == this) return int(i);
    return -1;
}

int TTreeNode::AbsoluteIndex() const
{
    int index = 0;
    for (const TTreeNode* n = owner_->GetFirstNode(); n && n != this; n = n->GetNext()) ++index;
    return index;
}

TTreeNode* TTreeNode::Item(int i) const
{
    if (i < 0 || i >= Count()) throw base::EListError("Tree view index out of bounds (" + std::to_string(i) + ")");
    return children_[std::size_t(i)].get();
}

void TTreeNode::SetHasChildren(bool v)
{
    if (v == hasChildren_) return;
    hasChildren_ = v;
    owner_->Owner()->NodesChanged();
}

bool TTreeNode::HasAsParent(const TTreeNode* node) const
{
    if (!node) return false;
    for (const TTreeNode* p = Parent(); p; p = p->Parent())
        if (p == node) return true;
    return false;
}

TTreeNode* TTreeNode::GetFirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
TTreeNode* TTreeNode::GetLastChild() const { return children_.empty() ? nullptr : children_.back().get(); }

TTreeNode* TTreeNode::GetNextSibling() const
{
    const int i = Index();
    return i >= 0 && i + 1 < int(parent_->children_.size()) ? parent_->children_[std::size_t(i + 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    const int i = Index();
    return i > 0 ? parent_->children_[std::size_t(i - 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
    if (!children_.empty()) return children_.front().get();
    for (const TTreeNode* n = this; n; n = n->Parent())
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const
{
    TTreeNode* n = GetPrevSibling();
    if (!n) return Parent();
    while (TTreeNode* last = n->GetLastChild()) n = last;
    return n;
}

TTreeNode* TTreeNode::GetNextVisible() const
{
    if (expanded_ && !children_.empty()) return children_.front().get();
    for (const TTreeNode* n = this; n; n = n->Parent())
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const
{
    TTreeNode* n = GetPrevSibling();
    if (!n) return Parent();
    while (n->expanded_ && !n->children_.empty()) n = n->children_.back().get();
    return n;
}

void TTreeNode::SetExpanded(bool v)
{
    if (v) Expand(false);
    else Collapse(false);
}

void TTreeNode::Expand(bool Recurse)
{
    TCustomTreeView* tree = owner_->Owner();
    if (HasChildren() && !expanded_) {
        NMTREEVIEW nm;
        nm.action = TVE_EXPAND;
        nm.itemNew.hItem = this;
        nm.itemNew.lParam = LPARAM(this);
        if (!tree->SendNotify(TVN_ITEMEXPANDING, &nm)) {
            expanded_ = true;
            tree->NodesChanged();
            tree->SendNotify(TVN_ITEMEXPANDED, &nm);
        }
    }
    if (Recurse)
        for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->Expand(true);
}

void TTreeNode::Collapse(bool Recurse)
{
    TCustomTreeView* tree = owner_->Owner();
    if (expanded_) {
        NMTREEVIEW nm;
        nm.action = TVE_COLLAPSE;
        nm.itemNew.hItem = this;
        nm.itemNew.lParam = LPARAM(this);
        if (!tree->SendNotify(TVN_ITEMEXPANDING, &nm)) {
            expanded_ = false;
            tree->NodesChanged();
            // A hidden selection moves up to the collapsed node.
            if (tree->Selected() && tree->Selected()->HasAsParent(this)) tree->SetSelected(this);
            tree->SendNotify(TVN_ITEMEXPANDED, &nm);
        }
    }
    if (Recurse)
        for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->Collapse(true);
}

bool TTreeNode::IsVisible() const
{
    for (const TTreeNode* p = Parent(); p; p = p->Parent())
        if (!p->expanded_) return false;
    return true;
}

bool TTreeNode::Selected() const { return owner_->Owner()->Selected() == this; }

void TTreeNode::SetSelected(bool v)
{
    TCustomTreeView* tree = owner_->Owner();
    if (v) tree->SetSelected(this);
    else if (tree->Selected() == this) tree->SetSelected(nullptr);
}

void TTreeNode::MakeVisible()
{
    for (TTreeNode* p = Parent(); p; p = p->Parent()) p->Expand(false);
    owner_->Owner()->ScrollIntoView(this);
}

TRect TTreeNode::DisplayRect(bool TextOnly) const { return owner_->Owner()->NodeRect(this, TextOnly); }

void TTreeNode::Delete() { owner_->Delete(this); }

void TTreeNode::DeleteChildren()
{
    while (!children_.empty()) owner_->Delete(children_.back().get());
}

void TTreeNode::MoveTo(TTreeNode* Destination, TNodeAttachMode Mode)
{
    if (Destination == this) return;
    if (Destination && (Destination->owner_ != owner_ || Destination->HasAsParent(this)))
        throw base::EInvalidOperation("Cannot move a node into its own branch or another tree");
    TTreeNode* root = owner_->root_.get();
    TTreeNode* parent = root;
    int index = 0;
    switch (Mode) {
    case naAdd:
    case naAddFirst: parent = Destination ? Destination->parent_ : root; break;
    case naAddChild:
    case naAddChildFirst: parent = Destination ? Destination : root; break;
    case naInsert: parent = Destination ? Destination->parent_ : root; break;
    }
    auto& from = parent_->children_;
    const auto it = std::find_if(from.begin(), from.end(), [this](const auto& p) { return p.get() == this; });
    std::unique_ptr<TTreeNode> self = std::move(*it);
    from.erase(it);
    switch (Mode) {
    case naAdd:
    case naAddChild: index = parent->Count(); break;
    case naAddFirst:
    case naAddChildFirst: index = 0; break;
    case naInsert: index = Destination ? Destination->Index() : parent->Count(); break;
    }
    parent_ = parent;
    parent->children_.insert(parent->children_.begin() + index, std::move(self));
    owner_->Owner()->NodesChanged();
}

// ---------------------------------------------------------------- TTreeNodes

TTreeNodes::TTreeNodes(TCustomTreeView* owner) : owner_(owner), root_(new TTreeNode(this)) { root_->expanded_ = true; }

TTreeNodes::~TTreeNodes() = default;

int TTreeNodes::Count() const
{
    int n = 0;
    for (const TTreeNode* node = GetFirstNode(); node; node = node->GetNext()) ++n;
    return n;
}

TTreeNode* TTreeNodes::Item(int index) const
{
    TTreeNode* node = GetFirstNode();
    for (int i = 0; node && i < index; ++i) node = node->GetNext();
    if (index < 0 || !node) throw base::EListError("Tree view index out of bounds (" + std::to_string(index) + ")");
    return node;
}

TTreeNode* TTreeNodes::GetFirstNode() const { return root_->GetFirstChild(); }

TTreeNode* TTreeNodes::ParentOf(TTreeNode* sibling) const { return sibling ? sibling->parent_ : root_.get(); }

TTreeNode* TTreeNodes::AttachNew(TTreeNode* parent, int index, const std::string& s, void* ptr)
{
    if (parent->owner_ != this) throw base::EInvalidOperation("The node belongs to another tree view");
    auto node = std::unique_ptr<TTreeNode>(new TTreeNode(this));
    node->text_ = s;
    node->data_ = ptr;
    node->parent_ = parent;
    TTreeNode* raw = node.get();
    parent->children_.insert(parent->children_.begin() + std::clamp(index, 0, parent->Count()), std::move(node));
    owner_->NodesChanged();
    return raw;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const std::string& S, void* Ptr)
{
    TTreeNode* parent = ParentOf(Sibling);
    return AttachNew(parent, parent->Count(), S, Ptr);
}

TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* Sibling, const std::string& S, void* Ptr)
{
    return AttachNew(ParentOf(Sibling), 0, S, Ptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const std::string& S, void* Ptr)
{
    TTreeNode* parent = Parent ? Parent : root_.get();
    return AttachNew(parent, parent->Count(), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildObjectFirst(TTreeNode* Parent, const std::string& S, void* Ptr)
{
    return AttachNew(Parent ? Parent : root_.get(), 0, S, Ptr);
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const std::string& S, void* Ptr)
{
    if (!Sibling) return AddObject(nullptr, S, Ptr);
    return AttachNew(Sibling->parent_, Sibling->Index(), S, Ptr);
}

void TTreeNodes::Delete(TTreeNode* Node)
{
    if (!Node || Node->owner_ != this || Node == root_.get()) return;
    // A selection inside the deleted branch moves to a neighbour of the branch.
    TTreeNode* moveTo = nullptr;
    TTreeNode* sel = owner_->selected_;
    if (sel && (sel == Node || sel->HasAsParent(Node))) {
        moveTo = Node->GetNextSibling();
        if (!moveTo) moveTo = Node->GetPrevSibling();
        if (!moveTo) moveTo = Node->Parent();
        owner_->selected_ = nullptr;
    }
    owner_->NodeRemoving(Node);
    auto& sib = Node->parent_->children_;
    const auto it = std::find_if(sib.begin(), sib.end(), [Node](const auto& p) { return p.get() == Node; });
    if (it != sib.end()) sib.erase(it);
    owner_->NodesChanged();
    owner_->SelectionMoved(moveTo);
}

void TTreeNodes::Clear()
{
    owner_->selected_ = nullptr;  // no selection moves while everything goes
    BeginUpdate();
    while (TTreeNode* n = root_->GetLastChild()) Delete(n);
    EndUpdate();
}

void TTreeNodes::BeginUpdate() { ++updateCount_; }

void TTreeNodes::EndUpdate()
{
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) owner_->NodesChanged();
}

}  // namespace platform

#pragma once
// Tree views: nodes with text and data in levels, expanded and collapsed, one node
// selected, scrolled both ways, and drawn by the control or, node by node, by its owner
// through the custom-draw notifications.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/controls/Controls.h"

namespace platform {

class TTreeNodes;
class TCustomTreeView;

enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };

class TTreeNode : public TPersistent {
public:
    ~TTreeNode() override;

    TTreeNodes* Owner() const { return owner_; }
    TCustomTreeView* TreeView() const;
    const std::string& Text() const { return text_; }
    void SetText(const std::string& s);
    void* Data() const { return data_; }
    void SetData(void* d) { data_ = d; }

    TTreeNode* Parent() const;  // nullptr for a top-level node
    int Level() const;
    int Index() const;          // among its siblings
    int AbsoluteIndex() const;  // in the whole tree, in order
    int Count() const { return int(children_.size()); }
    TTreeNode* Item(int i) const;
    bool HasChildren() const { return !children_.empty() || hasChildren_; }
    void SetHasChildren(bool v);
    bool HasAsParent(const TTreeNode* node) const;

    TTreeNode* GetFirstChild() const;
    TTreeNode* GetLastChild() const;
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    TTreeNode* GetNext() const;  // the next node in order, descending into children
    TTreeNode* GetPrev() const;
    TTreeNode* GetNextVisible() const;  // the next row shown (through expanded nodes)
    TTreeNode* GetPrevVisible() const;
    TTreeNode* GetNextChild(const TTreeNode* child) const { return child ? child->GetNextSibling() : nullptr; }

    bool Expanded() const { return expanded_; }
    void SetExpanded(bool v);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    bool IsVisible() const;  // every parent is expanded
    bool Selected() const;
    void SetSelected(bool v);
    bool Focused() const { return Selected(); }
    void MakeVisible();  // expands the parents and scrolls the row into view
    // The whole row, or with textOnly the text's rectangle, in client coordinates; an
    // empty rectangle for a node that shows no row.
    TRect DisplayRect(bool TextOnly) const;

    void Delete();
    void DeleteChildren();
    // Moves the node with its children: after the last sibling of Destination (naAdd),
    // before its first sibling (naAddFirst), as its last or first child, or before it
    // (naInsert). A node cannot move into itself or its own branch.
    void MoveTo(TTreeNode* Destination, TNodeAttachMode Mode);

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    explicit TTreeNode(TTreeNodes* owner);
    TTreeNodes* owner_;
    TTreeNode* parent_ = nullptr;  // the hidden root for top-level nodes
    std::vector<std::unique_ptr<TTreeNode>> children_;
    std::string text_;
    void* data_ = nullptr;
    bool expanded_ = false;
    bool hasChildren_ = false;
    mutable int textWidth_ = -1;  // of the shown text, measured once
};

// The nodes of one tree view.
class TTreeNodes : public TPersistent {
public:
    explicit TTreeNodes(TCustomTreeView* owner);
    ~TTreeNodes() override;

    TCustomTreeView* Owner() const { return owner_; }
    int Count() const;                 // every node
    TTreeNode* Item(int index) const;  // by absolute index
    TTreeNode* operator[](int index) const { return Item(index); }
    TTreeNode* GetFirstNode() const;

    // Sibling adds go after the last sibling of sibling (top level without one).
    TTreeNode* Add(TTreeNode* Sibling, const std::string& S) { return AddObject(Sibling, S, nullptr); }
    TTreeNode* AddObject(TTreeNode* Sibling, const std::string& S, void* Ptr);
    TTreeNode* AddFirst(TTreeNode* Sibling, const std::string& S) { return AddObjectFirst(Sibling, S, nullptr); }
    TTreeNode* AddObjectFirst(TTreeNode* Sibling, const std::string& S, void* Ptr);
    TTreeNode* AddChild(TTreeNode* Parent, const std::string& S) { return AddChildObject(Parent, S, nullptr); }
    TTreeNode* AddChildObject(TTreeNode* Parent, const std::string& S, void* Ptr);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const std::string& S) { return AddChildObjectFirst(Parent, S, nullptr); }
    TTreeNode* AddChildObjectFirst(TTreeNode* Parent, const std::string& S, void* Ptr);
    // Before Sibling (at the end of the top level without one).
    TTreeNode* Insert(TTreeNode* Sibling, const std::string& S) { return InsertObject(Sibling, S, nullptr); }
    TTreeNode* InsertObject(TTreeNode* Sibling, const std::string& S, void* Ptr);
    void Delete(TTreeNode* Node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* AttachNew(TTreeNode* parent, int index, const std::string& s, void* ptr);
    TTreeNode* ParentOf(TTreeNode* sibling) const;
    TCustomTreeView* owner_;
    std::unique_ptr<TTreeNode> root_;
    int updateCount_ = 0;
};

enum TCustomDrawTarget { dtControl, dtItem, dtSubItem };
enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
enum TCustomDrawStateFlag : unsigned {
    cdsSelected = 1, cdsGrayed = 2, cdsDisabled = 4, cdsChecked = 8, cdsFocused = 16, cdsDefault = 32,
    cdsHot = 64, cdsMarked = 128, cdsIndeterminate = 256
};
using TCustomDrawState = unsigned;

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVCustomDrawEvent = std::function<void(TCustomTreeView* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TTVCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawEvent =
    std::function<void(TCustomTreeView* Sender, const TRect& ARect, TCustomDrawStage Stage, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawItemEvent = std::function<void(TCustomTreeView* Sender, TTreeNode* Node,
                                                          TCustomDrawState State, TCustomDrawStage Stage,
                                                          bool& PaintImages, bool& DefaultDraw)>;

class TCustomTreeView : public TCustomControl {
public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;

    TTreeNodes* Items() const { return items_.get(); }
    TTreeNode* Selected() const { return selected_; }
    void SetSelected(TTreeNode* Node);
    TTreeNode* TopItem() const;
    void SetTopItem(TTreeNode* Node);
    TTreeNode* GetNodeAt(int X, int Y) const;
    // TVHT_ flags for a client point.
    UINT GetHitTestInfoAt(int X, int Y) const;
    void FullExpand();
    void FullCollapse();

    int Indent() const { return indent_; }
    void SetIndent(int Value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int Value);
    bool ShowLines() const { return showLines_; }
    void SetShowLines(bool v);
    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool v);
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool v);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    bool RowSelect = false;  // the whole row shows the selection and takes clicks
    // Kept for the callers: nodes are never edited in place, and neither hot tracking nor
    // tool tips are drawn.
    bool HotTrack = false;
    bool ReadOnly = true;
    bool ToolTips = false;

    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnExpanded, OnCollapsed, OnDeletion;
    TTVCustomDrawEvent OnCustomDraw;
    TTVCustomDrawItemEvent OnCustomDrawItem;
    TTVAdvancedCustomDrawEvent OnAdvancedCustomDraw;
    TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;

    // The class library's steps, each raising its event.
    virtual bool CanChange(TTreeNode* Node);
    virtual void Change(TTreeNode* Node);
    virtual bool CanExpand(TTreeNode* Node);
    virtual void Expand(TTreeNode* Node);
    virtual bool CanCollapse(TTreeNode* Node);
    virtual void Collapse(TTreeNode* Node);
    virtual void Delete(TTreeNode* Node);
    // A custom-draw event for this target and stage is assigned.
    virtual bool IsCustomDrawn(TCustomDrawTarget Target, TCustomDrawStage Stage) const;
    virtual bool CustomDraw(const TRect& ARect, TCustomDrawStage Stage);
    virtual bool CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage, bool& PaintImages);

    // Notifications the control sends itself (custom draw, display texts); the default
    // answers them from the events above and the node texts.
    virtual void CNNotify(TMessage& m);
    void Dispatch(TMessage& m) override;
    void DefaultHandler(TMessage& m) override;
    void WMHScroll(TWMHScroll& m) override;
    void WMVScroll(TWMVScroll& m) override;
    void WMSize(TWMSize& m) override;
    void WMGetDlgCode(TWMGetDlgCode& m) override { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void CMFontChanged(TMessage& m) override;

    // The text the control shows for a node: asked through TVN_GETDISPINFO.
    std::string DisplayText(TTreeNode* Node);
    int ScrollPosH() const { return scrollX_; }
    void ScrollToH(int x);

protected:
    friend class TTreeNode;
    friend class TTreeNodes;
    void NodesChanged();  // rows to lay out again
    void NodeRemoving(TTreeNode* Node);  // before Node goes: its children first, then OnDeletion
    void SelectionMoved(TTreeNode* Node);  // the selected node went; Node takes its place
    TRect NodeRect(const TTreeNode* Node, bool TextOnly);
    int TextLeft(const TTreeNode* Node) const;
    int TextWidthOf(const TTreeNode* Node);
    int VisibleRowCount() const;  // rows that fit wholly

private:
    const std::vector<TTreeNode*>& Rows() const;
    int RowOf(const TTreeNode* Node) const;
    void SetTopRow(int row);
    void UpdateScrollBars();
    void ScrollIntoView(const TTreeNode* Node);
    bool ToggleNode(TTreeNode* Node);
    void SelectByUser(TTreeNode* Node);
    LRESULT SendNotify(UINT code, void* record);
    void DrawLines(HDC dc, TTreeNode* Node, const TRect& row);
    void DrawButton(HDC dc, TTreeNode* Node, const TRect& row);

    std::unique_ptr<TTreeNodes> items_;
    TTreeNode* selected_ = nullptr;
    int indent_ = 19;
    int itemHeight_ = 16;
    bool showLines_ = true, showButtons_ = true, showRoot_ = true, hideSelection_ = true;
    int topRow_ = 0;
    int scrollX_ = 0;
    mutable std::vector<TTreeNode*> rows_;
    mutable bool rowsValid_ = false;
    bool updatingBars_ = false;
    bool destroying_ = false;
};

class TTreeView : public TCustomTreeView {
public:
    using TCustomTreeView::TCustomTreeView;
};

}  // namespace platform

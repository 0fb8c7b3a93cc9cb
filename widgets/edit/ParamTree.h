#pragma once
// A tree whose node texts are mini-HTML drawn by the HTML engine; anchors in them are
// parameters that are hovered, focused, clicked and edited in small pop-up editors, the
// committed value written back into the node text and reported to the application.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/controls/TreeView.h"

namespace base {
class TStringList;
}
namespace platform {
class TImageList;
class TPopupMenu;
}  // namespace platform
namespace html {
class THTMLPictureCache;
}

namespace edit {

class TPopupEdit;
class TPopupListBox;
class TPopupSpinEdit;
class TPopupMaskEdit;
class TPopupDatePicker;

using TParamTreeChangedEvent = std::function<void(platform::TObject* Sender, platform::TTreeNode* ANode,
                                                  const std::string& href, const std::string& oldvalue,
                                                  const std::string& newvalue)>;
using TParamTreeClickEvent =
    std::function<void(platform::TObject* Sender, platform::TTreeNode* ANode, const std::string& href, std::string& value)>;
using TParamTreeEditEvent = TParamTreeClickEvent;
using TParamTreeHintEvent = std::function<void(platform::TObject* Sender, platform::TTreeNode* ANode,
                                               const std::string& href, std::string& hintvalue, bool& showhint)>;
using TParamTreePopupEvent = std::function<void(platform::TObject* Sender, platform::TTreeNode* ANode,
                                                const std::string& href, base::TStringList& values, bool& DoPopup)>;
using TParamTreeSelectEvent = std::function<void(platform::TObject* Sender, platform::TTreeNode* ANode,
                                                 const std::string& href, const std::string& value)>;
using TParamCustomEditEvent =
    std::function<void(platform::TObject* Sender, platform::TTreeNode* Node, const std::string& href,
                       const std::string& value, const std::string& props, const platform::TRect& EditRect)>;

// What the hit test finds at a point.
struct TParamHit {
    std::string Href;  // empty when the point is on no anchor
    std::string ControlID, ControlValue, ControlType;
    platform::TRect AnchorRect, ControlRect;
};

class TParamTree : public platform::TCustomTreeView {
public:
    explicit TParamTree(platform::TComponent* AOwner);
    ~TParamTree() override;

    // ---- parameters
    std::string GetNodeParameter(platform::TTreeNode* Node, const std::string& href) const;
    void SetNodeParameter(platform::TTreeNode* Node, const std::string& href, const std::string& value);
    std::string GetParameter(const std::string& href) const;
    void SetParameter(const std::string& href, const std::string& value);
    bool GetParamInfo(platform::TTreeNode* Node, const std::string& href, std::string& value, std::string& cls,
                      std::string& props, std::string& hint) const;
    platform::TTreeNode* GetParamRefNode(const std::string& href) const;
    int GetParamNodeIndex(platform::TTreeNode* Node, const std::string& href) const;
    int GetParamItemRefCount(int Index) const;
    int GetParamNodeRefCount(platform::TTreeNode* Node) const;
    std::string GetParamItemRefs(int Index, int n);
    int GetParamRefCount() const;
    std::string GetParamRefs(int n) const;
    int GetParamIndex(const std::string& href) const;
    void GetParamRect(const std::string& href, platform::TRect& r);

    // ---- editing
    void EditParam(const std::string& href);
    void StartParamEdit(const std::string& href, platform::TTreeNode* Node, platform::TRect r);
    void ControlUpdate(platform::TObject* Sender, const std::string& href, std::string value);
    void UpdateParam(const std::string& href, const std::string& value);
    void PrepareParam(const std::string& href, std::string& value);
    void AdvanceEdit(platform::TObject* Sender);
    virtual void HandlePopup(platform::TObject* Sender);
    // The folder browser of a "DIR" parameter; the chosen folder is written back.
    void StartParamDir(const std::string& href, const std::string& value, platform::TRect r);
    bool Editing() const { return editing_; }
    TPopupEdit* PopupEdit() const { return edit_; }
    TPopupListBox* PopupList() const { return list_; }
    TPopupSpinEdit* PopupSpin() const { return spin_; }
    TPopupMaskEdit* PopupMask() const { return mask_; }
    TPopupDatePicker* PopupDate() const { return date_; }
    platform::TPopupMenu* PopupMenu() const { return menu_; }

    // ---- hit test and looks
    // The anchor (and embedded control) at a client point of node (the node there when null).
    bool IsParam(platform::TPoint p, platform::TTreeNode* node, bool focusRect, TParamHit& hit);
    // The text rectangle a node is drawn and hit-tested in (before vertical centring).
    platform::TRect NodeTextRect(platform::TTreeNode* node) const;
    int FocusIndex() const { return focusIndex_; }
    void SetFocusIndex(int i) { focusIndex_ = i; }
    platform::TTreeNode* HoverNode() const { return hoverNode_; }
    const std::string& HoverHref() const { return hoverHref_; }

    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool Hover() const { return hover_; }
    void SetHover(bool v);
    void SetParamColor(platform::TColor c);
    void SetSelectionColor(platform::TColor c);
    void SetSelectionFontColor(platform::TColor c);
    void SetShowSelection(bool v);
    platform::TColor SelectionColor() const { return selectionColor_; }
    platform::TColor SelectionFontColor() const { return selectionFontColor_; }
    bool ShowSelection() const { return showSelection_; }
    // Extra pixels between the text lines of a node.
    int LineSpacing() const { return lineSpacing_; }
    void SetLineSpacing(int v);
    void SetImages(platform::TImageList* images);
    void SetShadowColor(platform::TColor c);
    void SetShadowOffset(int v);
    platform::TColor ParamColor() const { return paramColor_; }
    void SetItemHeightEx(int h);
    void BeginUpdate();
    void EndUpdate();
    virtual std::uint32_t GetVersionNr() const { return 0x01030000; }
    std::string GetVersion() const;

    platform::TColor HoverColor = platform::clGreen, HoverFontColor = platform::clWhite;
    bool ParamListSorted = false;
    bool ParamHint = false;
    bool EditAutoSize = false;
    bool AdvanceOnReturn = false;
    bool ShowFocusBorder = true;
    std::string EmptyParam = "?";

    TParamTreeChangedEvent OnParamChanged;
    TParamTreeClickEvent OnParamClick, OnParamPrepare;
    TParamTreeEditEvent OnParamEditStart, OnParamEditDone, OnParamQuery;
    TParamTreeHintEvent OnParamHint;
    TParamTreePopupEvent OnParamPopup, OnParamList;
    TParamTreeSelectEvent OnParamSelect, OnParamEnter, OnParamExit;
    TParamCustomEditEvent OnParamCustomEdit;

    void CNNotify(platform::TMessage& m) override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void Change(platform::TTreeNode* Node) override;
    void CMWantSpecialKey(platform::TCMWantSpecialKey& m) override;
    void CMHintShow(platform::TCMHintShow& m) override;
    void WMGetDlgCode(platform::TWMGetDlgCode& m) override;

private:
    void DrawItem(platform::NMTVCUSTOMDRAW& cd);
    void InvalidateRectOf(const platform::TRect& r);
    void ParamExit();
    void ShowEditor(platform::TWinControl* editor, struct TPopupEditorLink& link, const std::string& href);

    std::unique_ptr<html::THTMLPictureCache> cache_;
    TPopupEdit* edit_ = nullptr;
    TPopupListBox* list_ = nullptr;
    TPopupSpinEdit* spin_ = nullptr;
    TPopupMaskEdit* mask_ = nullptr;
    TPopupDatePicker* date_ = nullptr;
    platform::TPopupMenu* menu_ = nullptr;
    platform::TImageList* images_ = nullptr;
    std::string menuParam_;
    platform::TColor paramColor_ = platform::clGreen, selectionColor_ = platform::clHighlight,
                     selectionFontColor_ = platform::clHighlightText, shadowColor_ = platform::clGray;
    int shadowOffset_ = 1, lineSpacing_ = 0, updateCount_ = 0, focusIndex_ = 0, linkCount_ = -1;
    bool wordWrap_ = true, hover_ = true, showSelection_ = false, mouseDown_ = false, editing_ = false;
    platform::TTreeNode* hoverNode_ = nullptr;
    int hoverAnchor_ = -1, hoverNodeIndex_ = -1;
    std::string hoverHref_, hotControlID_;
    platform::TRect hoverRect_, hotControlRect_, pressedControlRect_{-1, -1, -1, -1};
    platform::TCursor savedCursor_ = platform::crDefault;
    bool handCursor_ = false;
};

}  // namespace edit

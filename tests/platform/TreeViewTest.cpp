// Tree views: nodes, rows at points, text rectangles, expanding, selection by mouse and
// keys, scrolling, and nodes drawn by the owner through custom drawing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LookAt.h"
#include "base/Exception.h"
#include "platform/controls/TreeView.h"
#include "platform/graphics/GDI.h"
#include "platform/TestRig.h"

using namespace platform;

namespace {

std::string Name(TTreeNode* n) { return n ? n->Text() : "-"; }

// Root "A" with children "A1" (child "A1a") and "A2"; root "B"; root "C" with child "C1".
class TreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree = new TTreeView(owner.get());
        tree->SetBounds(0, 0, 200, 120);
        TTreeNodes* n = tree->Items();
        a = n->Add(nullptr, "A");
        a1 = n->AddChild(a, "A1");
        a1a = n->AddChild(a1, "A1a");
        a2 = n->AddChild(a, "A2");
        b = n->Add(a, "B");
        c = n->Add(nullptr, "C");
        c1 = n->AddChildObject(c, "C1", &data);
        tree->OnChanging = [this](TObject*, TTreeNode* node, bool& allow) {
            log.push_back("changing " + Name(node));
            allow = !refuseChange;
        };
        tree->OnChange = [this](TObject*, TTreeNode* node) { log.push_back("change " + Name(node)); };
        tree->OnExpanding = [this](TObject*, TTreeNode* node, bool& allow) {
            log.push_back("expanding " + Name(node));
            allow = !refuseExpand;
        };
        tree->OnExpanded = [this](TObject*, TTreeNode* node) { log.push_back("expanded " + Name(node)); };
        tree->OnCollapsing = [this](TObject*, TTreeNode* node, bool&) { log.push_back("collapsing " + Name(node)); };
        tree->OnCollapsed = [this](TObject*, TTreeNode* node) { log.push_back("collapsed " + Name(node)); };
    }
    int TextWidth(const std::string& s)
    {
        tree->Canvas()->Font().Assign(*tree->Font());
        return tree->Canvas()->TextWidth(s);
    }
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>();
    TTreeView* tree = nullptr;
    TTreeNode *a, *a1, *a1a, *a2, *b, *c, *c1;
    int data = 7;
    std::vector<std::string> log;
    bool refuseChange = false, refuseExpand = false;
};

TEST_F(TreeTest, NodesKnowTheirPlace)
{
    const struct {
        TTreeNode* node;
        int level, absolute, index, count;
        TTreeNode* parent;
    } cases[] = {{a, 0, 0, 0, 2, nullptr}, {a1, 1, 1, 0, 1, a}, {a1a, 2, 2, 0, 0, a1}, {a2, 1, 3, 1, 0, a},
                 {b, 0, 4, 1, 0, nullptr}, {c, 0, 5, 2, 1, nullptr}, {c1, 1, 6, 0, 0, c}};
    for (const auto& k : cases) {
        EXPECT_EQ(k.node->Level(), k.level) << k.node->Text();
        EXPECT_EQ(k.node->AbsoluteIndex(), k.absolute) << k.node->Text();
        EXPECT_EQ(k.node->Index(), k.index) << k.node->Text();
        EXPECT_EQ(k.node->Count(), k.count) << k.node->Text();
        EXPECT_EQ(k.node->Parent(), k.parent) << k.node->Text();
        EXPECT_EQ(tree->Items()->Item(k.absolute), k.node);
    }
    EXPECT_EQ(tree->Items()->Count(), 7);
    EXPECT_EQ(c1->Data(), &data);
    EXPECT_EQ(a->Item(1), a2);
    EXPECT_EQ(a->GetFirstChild(), a1);
    EXPECT_EQ(a->GetLastChild(), a2);
    std::string forward, backward;
    for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext()) forward += n->Text() + " ";
    for (TTreeNode* n = c1; n; n = n->GetPrev()) backward += n->Text() + " ";
    EXPECT_EQ(forward, "A A1 A1a A2 B C C1 ");
    EXPECT_EQ(backward, "C1 C B A2 A1a A1 A ");
    // Inserting before, and adding first.
    TTreeNode* first = tree->Items()->AddFirst(b, "0");
    TTreeNode* before = tree->Items()->Insert(a2, "A1.5");
    EXPECT_EQ(first->AbsoluteIndex(), 0);
    EXPECT_EQ(before->Index(), 1);
    EXPECT_EQ(a2->Index(), 2);
    EXPECT_TRUE(a1a->HasAsParent(a));
    EXPECT_FALSE(a->HasAsParent(a1a));
}

TEST_F(TreeTest, NodesMoveWithTheirBranch)
{
    auto order = [this] {
        std::string s;
        for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext()) s += std::to_string(n->Level()) + n->Text() + " ";
        return s;
    };
    a2->MoveTo(a1, naInsert);  // up before its previous sibling
    EXPECT_EQ(order(), "0A 1A2 1A1 2A1a 0B 0C 1C1 ");
    a1->MoveTo(c, naAddChildFirst);
    EXPECT_EQ(order(), "0A 1A2 0B 0C 1A1 2A1a 1C1 ");
    c->MoveTo(a, naAddFirst);
    EXPECT_EQ(order(), "0C 1A1 2A1a 1C1 0A 1A2 0B ");
    b->MoveTo(a2, naAdd);
    EXPECT_EQ(order(), "0C 1A1 2A1a 1C1 0A 1A2 1B ");
    EXPECT_THROW(c->MoveTo(a1a, naAddChild), base::EInvalidOperation);
    EXPECT_EQ(order(), "0C 1A1 2A1a 1C1 0A 1A2 1B ");
}

TEST_F(TreeTest, RowsFollowExpansionAndTheTextRectangleTheLevel)
{
    // Collapsed: rows A, B, C.
    EXPECT_EQ(tree->GetNodeAt(5, 0), a);
    EXPECT_EQ(tree->GetNodeAt(150, 16), b);
    EXPECT_EQ(tree->GetNodeAt(5, 40), c);
    EXPECT_EQ(tree->GetNodeAt(5, 48), nullptr);
    EXPECT_EQ(a1->DisplayRect(false), TRect{});  // hidden
    a->Expand(false);
    a1->Expand(false);
    EXPECT_EQ(tree->GetNodeAt(5, 16), a1);
    EXPECT_EQ(tree->GetNodeAt(5, 32), a1a);
    EXPECT_EQ(tree->GetNodeAt(5, 64), b);
    EXPECT_EQ(a1a->DisplayRect(false), Rect(0, 32, tree->ClientWidth(), 48));
    // Text starts one indent further per level (one more with the root lines).
    EXPECT_EQ(tree->Indent(), 19);
    EXPECT_EQ(a1a->DisplayRect(true), Rect(3 * 19, 32, 3 * 19 + TextWidth("A1a") + 4, 48));
    tree->SetShowRoot(false);
    EXPECT_EQ(a1a->DisplayRect(true).Left, 2 * 19);
    tree->SetIndent(10);
    tree->SetItemHeight(20);
    EXPECT_EQ(a1a->DisplayRect(true), Rect(20, 40, 20 + TextWidth("A1a") + 4, 60));
    EXPECT_EQ(tree->Perform(TVM_GETINDENT), 10);
    EXPECT_EQ(tree->Perform(TVM_SETITEMHEIGHT, 18), 20);
    EXPECT_EQ(tree->Perform(TVM_GETITEMHEIGHT), 18);
    // The hit test names the parts of a row.
    tree->SetShowRoot(true);
    tree->SetIndent(19);
    tree->SetItemHeight(16);
    const struct {
        int x, y;
        UINT flags;
    } hits[] = {{9, 8, TVHT_ONITEMBUTTON}, {2, 24, TVHT_ONITEMINDENT}, {40, 24, TVHT_ONITEMLABEL},
                {190, 24, TVHT_ONITEMRIGHT}, {5, 110, TVHT_NOWHERE}, {5, -3, TVHT_ABOVE}};
    for (const auto& h : hits) EXPECT_EQ(tree->GetHitTestInfoAt(h.x, h.y), h.flags) << h.x << "," << h.y;
}

TEST_F(TreeTest, ExpandAndCollapseRaiseTheirEventsAndMayBeRefused)
{
    a->Expand(false);
    a->Expand(false);  // already expanded: nothing
    b->Expand(false);  // no children: nothing
    refuseExpand = true;
    c->Expand(false);
    EXPECT_FALSE(c->Expanded());
    refuseExpand = false;
    tree->SetSelected(a1);
    log.clear();
    a->Collapse(false);  // the hidden selection moves up
    EXPECT_EQ(log, (std::vector<std::string>{"collapsing A", "changing A", "change A", "collapsed A"}));
    log.clear();
    ClickAt(tree, 9, 8);  // A's button
    EXPECT_TRUE(a->Expanded());
    ClickAt(tree, 9, 8);
    EXPECT_FALSE(a->Expanded());
    EXPECT_EQ(log, (std::vector<std::string>{"expanding A", "expanded A", "collapsing A", "collapsed A"}));
    EXPECT_EQ(tree->Selected(), a);  // the button does not select
    a->Expand(true);
    EXPECT_TRUE(a1->Expanded());
}

TEST_F(TreeTest, TheMouseAndTheKeysSelect)
{
    ClickAt(tree, 22, 20);  // B's text
    EXPECT_EQ(tree->Selected(), b);
    EXPECT_TRUE(b->Selected());
    ClickAt(tree, 2, 40);  // left of C's button: no change
    EXPECT_EQ(tree->Selected(), b);
    const struct {
        Word key;
        TTreeNode* selected;
        bool aExpanded;
    } steps[] = {{VK_UP, a, false},  {VK_RIGHT, a, true}, {VK_RIGHT, a1, true}, {VK_DOWN, a2, true},
                 {VK_LEFT, a, true}, {VK_LEFT, a, false}, {VK_END, c, false},   {VK_HOME, a, false}};
    for (const auto& s : steps) {
        SendKey(tree, s.key);
        EXPECT_EQ(Name(tree->Selected()), Name(s.selected)) << s.key;
        EXPECT_EQ(a->Expanded(), s.aExpanded) << s.key;
    }
    SendChar(tree, 'c');
    EXPECT_EQ(tree->Selected(), c);
    log.clear();
    refuseChange = true;
    SendKey(tree, VK_UP);
    EXPECT_EQ(tree->Selected(), c);
    EXPECT_EQ(log, std::vector<std::string>{"changing B"});
    refuseChange = false;
    log.clear();
    c->Delete();  // the selection moves on
    EXPECT_EQ(tree->Selected(), b);
    EXPECT_EQ(log, std::vector<std::string>{"change B"});
    tree->Items()->Clear();
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Items()->Count(), 0);
}

TEST_F(TreeTest, ScrollingMovesTheRowsBothWays)
{
    tree->SetBounds(0, 0, 120, 68);  // four rows inside the frame
    for (int i = 0; i < 10; ++i) tree->Items()->AddChild(b, "row " + std::to_string(i));
    tree->Items()->AddChild(c1, "a very long line of text that does not fit the width");
    tree->FullExpand();
    tree->HandleNeeded();
    const int rows = 7 + 10 + 1;
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(tree->Handle(), SB_VERT, si);
    EXPECT_EQ(si.nMax, rows - 1);
    const int visible = tree->ClientHeight() / 16;
    EXPECT_EQ(si.nPage, UINT(visible));
    HostScroll(tree, SB_VERT, SB_LINEDOWN);
    EXPECT_EQ(tree->TopItem(), a1);
    EXPECT_EQ(a1->DisplayRect(false).Top, 0);
    HostScroll(tree, SB_VERT, SB_BOTTOM);
    EXPECT_EQ(tree->TopItem()->AbsoluteIndex(), rows - visible);
    SendKey(tree, VK_HOME);  // selecting brings the row into view
    EXPECT_EQ(tree->TopItem(), a);
    // Sideways: the long row sets the range; a line is five pixels.
    TTreeNode* longRow = c1->GetFirstChild();
    const int left = longRow->DisplayRect(true).Left;
    HostScroll(tree, SB_HORZ, SB_LINERIGHT);
    EXPECT_EQ(tree->ScrollPosH(), 5);
    EXPECT_EQ(longRow->DisplayRect(true).Left, left - 5);
    HostScroll(tree, SB_HORZ, SB_RIGHT);
    EXPECT_EQ(longRow->DisplayRect(true).Right, tree->ClientWidth());
    EXPECT_EQ(GetScrollPos(tree->Handle(), SB_HORZ), tree->ScrollPosH());
}

// A tree that paints every node itself, as a component does through the notification:
// the native text in the control's colour, then a box of its own where the text is.
class TOwnDrawnTree : public TTreeView {
public:
    using TTreeView::TTreeView;
    std::vector<std::string> stages;
    void CNNotify(TMessage& m) override
    {
        NMHDR* hdr = NMHdrOf(m);
        if (hdr->code == TVN_GETDISPINFO) {
            TTreeView::CNNotify(m);
            auto* info = reinterpret_cast<NMTVDISPINFO*>(hdr);
            std::string s = info->item.pszText;
            if (!s.empty() && s[0] == '<') s = s.substr(3);  // the markup "<b>" stripped
            std::snprintf(info->item.pszText, std::size_t(info->item.cchTextMax), "%s", s.c_str());
            return;
        }
        if (hdr->code != NM_CUSTOMDRAW) {
            TTreeView::CNNotify(m);
            return;
        }
        auto* cd = reinterpret_cast<NMTVCUSTOMDRAW*>(hdr);
        const COLORREF back = ColorToRGB(Color());
        switch (cd->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            stages.push_back("prepaint");
            m.Result = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
            break;
        case CDDS_ITEMPREPAINT:
            stages.push_back("item " + std::to_string(cd->iLevel) + ((cd->nmcd.uItemState & CDIS_SELECTED) ? "s" : ""));
            cd->nmcd.uItemState &= ~CDIS_SELECTED;
            cd->clrText = cd->clrTextBk = back;
            m.Result = CDRF_NOTIFYPOSTPAINT;
            break;
        case CDDS_ITEMPOSTPAINT: {
            auto* node = reinterpret_cast<TTreeNode*>(cd->nmcd.dwItemSpec);
            TRect r = cd->nmcd.rc;
            r.Left = (cd->iLevel + 1) * Indent() - ScrollPosH();
            const int w = 6 * int(node->Text().size());
            FillRect(cd->nmcd.hdc, Rect(r.Left + 1, r.Top + 2, r.Left + 1 + w, r.Bottom - 2),
                     node->Selected() ? RGB(200, 0, 0) : RGB(0, 0, 200));
            break;
        }
        case CDDS_POSTPAINT: stages.push_back("postpaint"); break;
        default: break;
        }
    }
};

TEST(TreeCustomDraw, AComponentPaintsEveryNodeItself)
{
    auto owner = std::make_unique<TComponent>();
    auto* tree = new TOwnDrawnTree(owner.get());
    tree->SetBounds(0, 0, 160, 80);
    TTreeNode* root = tree->Items()->Add(nullptr, "<b>Hull");
    TTreeNode* child = tree->Items()->AddChild(root, "<b>Frames");
    root->Expand(false);
    tree->SetSelected(child);
    auto bmp = PaintToBitmap(tree);
    LookAt(*bmp, "tree-customdraw");
    EXPECT_EQ(tree->stages, (std::vector<std::string>{"prepaint", "item 0", "item 1", "postpaint"}));
    const int f = tree->FrameWidth();
    TCanvas* c = bmp->Canvas();
    // The boxes lie where the text rectangle starts, one row each.
    const TRect t0 = root->DisplayRect(true), t1 = child->DisplayRect(true);
    EXPECT_EQ(c->Pixel(f + t0.Left + 3, f + 8), TColor(RGB(0, 0, 200)));
    EXPECT_EQ(c->Pixel(f + t1.Left + 3, f + 16 + 8), TColor(RGB(200, 0, 0)));
    // The display text is the stripped one.
    EXPECT_EQ(tree->DisplayText(root), "Hull");
    EXPECT_EQ(t0.Right - t0.Left, tree->Canvas()->TextWidth("Hull") + 4);
    // Nothing of the native selection shows beyond the box.
    EXPECT_EQ(c->Pixel(f + t1.Left + 40, f + 16 + 1), ColorToRGB(clWindow));
}

TEST(TreeCustomDraw, EventsSeeTheStateAndMaySkipTheDefaultDrawing)
{
    auto owner = std::make_unique<TComponent>();
    auto* tree = new TTreeView(owner.get());
    tree->SetBounds(0, 0, 160, 80);
    TTreeNode* x = tree->Items()->Add(nullptr, "xxxxxxxx");
    TTreeNode* y = tree->Items()->Add(nullptr, "yyyyyyyy");
    tree->SetSelected(y);
    tree->SetFocus();
    std::vector<std::string> seen;
    bool controlEvent = false;
    tree->OnCustomDraw = [&](TCustomTreeView*, const TRect&, bool&) { controlEvent = true; };
    tree->OnCustomDrawItem = [&](TCustomTreeView* sender, TTreeNode* node, TCustomDrawState state, bool& def) {
        seen.push_back(node->Text().substr(0, 1) + ((state & cdsSelected) ? "S" : "") + ((state & cdsFocused) ? "F" : ""));
        if (node == x) def = false;  // x stays blank
        else sender->Canvas()->Font().SetColor(clRed);
    };
    auto bmp = PaintToBitmap(tree);
    LookAt(*bmp, "tree-customdraw-events");
    EXPECT_TRUE(controlEvent);
    EXPECT_EQ(seen, (std::vector<std::string>{"x", "ySF"}));
    const int f = tree->FrameWidth();
    auto rowHas = [&](int top, auto pred) {
        for (int px = 0; px < 160 - 2 * f; ++px)
            for (int py = top; py < top + 16; ++py)
                if (pred(bmp->Canvas()->Pixel(f + px, f + py))) return true;
        return false;
    };
    EXPECT_FALSE(rowHas(0, [](TColor p) { return p != TColor(ColorToRGB(clWindow)); }));  // x not drawn
    EXPECT_TRUE(rowHas(16, [](TColor p) { return GetRValue(p) > 180 && GetGValue(p) < 90; }));  // the handler's red
    EXPECT_TRUE(rowHas(16, [](TColor p) { return p == TColor(ColorToRGB(clHighlight)); }));  // on the selection
    (void)y;
}

}  // namespace

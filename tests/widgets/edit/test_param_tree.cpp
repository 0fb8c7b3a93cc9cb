// The parameter tree on pixels and hit tests, and its editing flow.
#include "EditFixture.h"

#include <vector>

#include "base/DateTime.h"
#include "base/StringList.h"
#include "platform/controls/Menus.h"
#include "platform/forms/Dialogs.h"
#include "widgets/edit/ParamTree.h"
#include "widgets/edit/PopupEditors.h"

using namespace edit;
using namespace platform;
using edittest::EditTest;
using edittest::LookAt;

namespace {

class TreeTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        tree = new TParamTree(form);
        tree->SetParent(form);
        tree->SetBounds(150, 10, 240, 200);
        tree->SetColor(clWhite);
        tree->SetParamColor(clNavy);
        tree->SetItemHeight(18);
        tree->SetWordWrap(false);
        hull = tree->Items()->Add(nullptr, "<b>Hull</b>");
        density = tree->Items()->AddChild(
            hull, "Density <A href=\"density\" class=\"EDIT\">1.025</A> Te/m<SUP>3</SUP>");
        two = tree->Items()->AddChild(hull, "<a href=\"l\" class=\"EDIT\">12</a> x <a href=\"b\" class=\"EDIT\">4</a>");
        plain = tree->Items()->AddChild(hull, "Name <a href=\"name\">?</a>");
        hull->Expand(false);
        tree->OnParamChanged = [this](TObject*, TTreeNode*, const std::string& h, const std::string& o,
                                      const std::string& n) { changes.push_back(h + ":" + o + ">" + n); };
        tree->HandleNeeded();
    }
    // The middle of the anchor named href in node.
    TPoint AnchorPoint(TTreeNode* node, int index)
    {
        tree->SetSelected(node);
        tree->SetFocusIndex(index);
        TRect r;
        tree->GetParamRect("", r);
        return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    TParamTree* tree = nullptr;
    TTreeNode *hull = nullptr, *density = nullptr, *two = nullptr, *plain = nullptr;
    std::vector<std::string> changes;
};

TEST_F(TreeTest, DrawsAnchorsAndHitTestsThem)
{
    const TPoint p = AnchorPoint(density, 0);
    TParamHit hit;
    EXPECT_TRUE(tree->IsParam(p, nullptr, false, hit));
    EXPECT_EQ(hit.Href, "density");
    EXPECT_FALSE(tree->IsParam(Point(p.X - 40, p.Y), nullptr, false, hit));  // "Density" is plain text
    tree->SetSelected(hull);
    auto bmp = PaintToBitmap(tree);
    LookAt(*bmp, "param-tree");
    // The anchor's text is drawn in the parameter colour.
    int navy = 0;
    const TRect r = density->DisplayRect(false);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = p.X - 15; x < p.X + 15; ++x) navy += bmp->Canvas()->Pixel(x + tree->FrameWidth(), y + tree->FrameWidth()) == clNavy;
    EXPECT_GT(navy, 5);
    // Hovered: the hover colours behind the anchor, and the enter and exit events.
    std::vector<std::string> log;
    tree->OnParamEnter = [&](TObject*, TTreeNode*, const std::string& h, const std::string& v) { log.push_back("enter " + h + " " + v); };
    tree->OnParamExit = [&](TObject*, TTreeNode*, const std::string& h, const std::string& v) { log.push_back("exit " + h + " " + v); };
    SendMouse(tree, WM_MOUSEMOVE, p.X, p.Y);
    EXPECT_EQ(tree->HoverHref(), "density");
    EXPECT_EQ(tree->Cursor(), crHandPoint);
    auto hot = PaintToBitmap(tree);
    LookAt(*hot, "param-tree-hover");
    ASSERT_TRUE(tree->IsParam(p, nullptr, false, hit));
    int green = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = hit.AnchorRect.Left; x < hit.AnchorRect.Right; ++x)
            green += hot->Canvas()->Pixel(x + tree->FrameWidth(), y + tree->FrameWidth()) == clGreen;
    EXPECT_GT(green, 50);
    SendMouse(tree, WM_MOUSEMOVE, 2, 190);
    EXPECT_EQ(log, (std::vector<std::string>{"enter density 1.025", "exit density 1.025"}));
    EXPECT_NE(tree->Cursor(), crHandPoint);
}

TEST_F(TreeTest, ClickOpensTheEditorAndEnterCommitsOnce)
{
    std::vector<std::string> order;
    tree->OnParamEditStart = [&](TObject*, TTreeNode*, const std::string& h, std::string& v) { order.push_back("start " + h + " " + v); };
    tree->OnParamEditDone = [&](TObject*, TTreeNode*, const std::string& h, std::string& v) { order.push_back("done " + h + " " + v); };
    const TPoint p = AnchorPoint(density, 0);
    ClickAt(tree, p.X, p.Y);
    TPopupEdit* ed = tree->PopupEdit();
    ASSERT_TRUE(ed->Visible());
    EXPECT_TRUE(tree->Editing());
    EXPECT_EQ(ed->Text(), "1.025");
    EXPECT_TRUE(ed->Focused());
    ed->SetText("A&B <x>");
    SendKey(ed, VK_RETURN);
    EXPECT_FALSE(ed->Visible());
    EXPECT_FALSE(tree->Editing());
    EXPECT_TRUE(tree->Focused());
    EXPECT_EQ(density->Text(), "Density <A href=\"density\" class=\"EDIT\">A&amp;B &lt;x&gt;</A> Te/m<SUP>3</SUP>");
    EXPECT_EQ(tree->GetNodeParameter(density, "density"), "A&B <x>");
    // Once, with the text as the node holds it.
    EXPECT_EQ(changes, (std::vector<std::string>{"density:1.025>A&amp;B &lt;x&gt;"}));
    EXPECT_EQ(order, (std::vector<std::string>{"start density 1.025", "done density A&B <x>"}));
    // The same value again reports nothing.
    ClickAt(tree, p.X, p.Y);
    SendKey(tree->PopupEdit(), VK_RETURN);
    EXPECT_EQ(changes.size(), 1u);
}

TEST_F(TreeTest, EscapeCancelsAndEndsTheEdit)
{
    const TPoint p = AnchorPoint(density, 0);
    ClickAt(tree, p.X, p.Y);
    TPopupEdit* ed = tree->PopupEdit();
    ed->SetText("9");
    SendKey(ed, VK_ESCAPE);
    EXPECT_FALSE(ed->Visible());
    EXPECT_FALSE(tree->Editing());  // hover and hints work again
    EXPECT_EQ(tree->GetNodeParameter(density, "density"), "1.025");
    EXPECT_TRUE(changes.empty());
    SendMouse(tree, WM_MOUSEMOVE, p.X, p.Y);
    EXPECT_EQ(tree->HoverHref(), "density");
}

TEST_F(TreeTest, KeysMoveTheFocusAndEnterEdits)
{
    tree->SetFocus();
    tree->SetSelected(two);
    tree->SetFocusIndex(0);
    SendKey(tree, VK_RIGHT);
    EXPECT_EQ(tree->FocusIndex(), 1);
    SendKey(tree, VK_RIGHT);
    EXPECT_EQ(tree->FocusIndex(), 1);
    SendKey(tree, VK_LEFT);
    EXPECT_EQ(tree->FocusIndex(), 0);
    SendKey(tree, VK_RIGHT);
    SendKey(tree, VK_RETURN);
    ASSERT_TRUE(tree->PopupEdit()->Visible());
    EXPECT_EQ(tree->PopupEdit()->Text(), "4");
    EXPECT_EQ(tree->PopupEdit()->Link.Href, "B");
    SendKey(tree->PopupEdit(), VK_ESCAPE);
    EXPECT_EQ(tree->GetParamItemRefs(two->AbsoluteIndex(), 5), "L");
    EXPECT_EQ(tree->FocusIndex(), 0);
    EXPECT_EQ(tree->GetParamItemRefs(hull->AbsoluteIndex(), 0), "");
}

TEST_F(TreeTest, PlainAnchorsGoToTheApplicationAndEmptyParamBlanks)
{
    std::string seen;
    tree->OnParamClick = [&](TObject*, TTreeNode*, const std::string& h, std::string& v) {
        seen = h + "=[" + v + "]";
        v = "Sloop";
    };
    const TPoint p = AnchorPoint(plain, 0);
    ClickAt(tree, p.X, p.Y);
    EXPECT_EQ(seen, "name=[]");
    EXPECT_EQ(tree->GetParameter("name"), "Sloop");
    EXPECT_EQ(changes, (std::vector<std::string>{"name:?>Sloop"}));
    EXPECT_FALSE(tree->Editing());
    // An emptied edit writes the empty-parameter mark back.
    tree->SetParameter("density", "?");
    const TPoint q = AnchorPoint(density, 0);
    ClickAt(tree, q.X, q.Y);
    EXPECT_EQ(tree->PopupEdit()->Text(), "");
    SendKey(tree->PopupEdit(), VK_RETURN);
    EXPECT_EQ(tree->GetParameter("density"), "?");
}

TEST_F(TreeTest, ToggleMenuListAndQueryClasses)
{
    TTreeNode* n = tree->Items()->AddChild(
        hull, "<a href=\"t\" class=\"toggle\" props=\"Yes|No\">Yes</a> <a href=\"m\" class=\"MENU\" props=\"m|deg\">m</a> "
              "<a href=\"li\" class=\"LIST\" props=\"a|b|c\">b</a> <a href=\"q\" class=\"QUERY\">1</a>");
    tree->SetSelected(n);
    tree->StartParamEdit("t", n, TRect{});
    EXPECT_EQ(tree->GetNodeParameter(n, "t"), "No");
    tree->StartParamEdit("t", n, TRect{});
    EXPECT_EQ(tree->GetNodeParameter(n, "t"), "Yes");
    // A menu choice is written and reported, without the edit-done event.
    bool done = false;
    tree->OnParamEditDone = [&](TObject*, TTreeNode*, const std::string&, std::string&) { done = true; };
    tree->StartParamEdit("m", n, Rect(10, 10, 20, 20));
    ASSERT_EQ(tree->PopupMenu()->Items()->Count(), 2);
    tree->PopupMenu()->Items()->Items(1)->Click();
    CloseMenus();
    EXPECT_EQ(tree->GetNodeParameter(n, "m"), "deg");
    EXPECT_FALSE(done);
    // The list selects the current value; a click commits at once.
    tree->StartParamEdit("li", n, Rect(10, 10, 20, 20));
    TPopupListBox* list = tree->PopupList();
    ASSERT_TRUE(list->Visible());
    EXPECT_EQ(list->ItemIndex(), 1);
    const TRect row = list->ItemRect(2);
    ClickAt(list, 5, (row.Top + row.Bottom) / 2);
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(tree->GetNodeParameter(n, "li"), "c");
    // A spin edit steps whole numbers; something else starts at 0.
    TTreeNode* s = tree->Items()->AddChild(hull, "Copies <a href=\"n\" class=\"SPIN\">4</a> <a href=\"k\" class=\"SPIN\">x</a>");
    tree->SetSelected(s);
    tree->StartParamEdit("n", s, Rect(10, 10, 20, 20));
    ASSERT_TRUE(tree->PopupSpin()->Visible());
    EXPECT_EQ(tree->PopupSpin()->Width(), 16 + 16);
    SendKey(tree->PopupSpin(), VK_UP);
    SendKey(tree->PopupSpin(), VK_UP);
    SendKey(tree->PopupSpin(), VK_RETURN);
    EXPECT_EQ(tree->GetNodeParameter(s, "n"), "6");
    tree->StartParamEdit("k", s, Rect(10, 10, 20, 20));
    EXPECT_EQ(tree->PopupSpin()->Text(), "0");
    SendKey(tree->PopupSpin(), VK_ESCAPE);
    tree->SetSelected(n);
    tree->OnParamQuery = [](TObject*, TTreeNode*, const std::string&, std::string& v) { v = "42"; };
    tree->StartParamEdit("q", n, TRect{});
    EXPECT_EQ(tree->GetNodeParameter(n, "q"), "42");
}

TEST_F(TreeTest, FolderParametersOpenTheFolderBrowser)
{
    TTreeNode* n = tree->Items()->AddChild(hull, "Output <a href=\"out\" class=\"DIR\">/tmp/runs/</a>");
    tree->SetSelected(n);
    std::string start, title;
    auto old = SetDialogHook([&](TCommonDialog& d) {
        auto* f = dynamic_cast<TBrowseFolderDialog*>(&d);
        if (!f) return false;
        start = f->Directory;
        title = f->Title;
        f->Directory = "/home/a&b";
        return true;
    });
    tree->StartParamEdit("out", n, Rect(40, 20, 90, 34));
    SetDialogHook(old);
    EXPECT_EQ(start, "/tmp/runs");
    EXPECT_EQ(title, "Select directory");
    EXPECT_EQ(tree->GetNodeParameter(n, "out"), "/home/a&b");
    EXPECT_EQ(changes, (std::vector<std::string>{"out:/tmp/runs/>/home/a&amp;b"}));
    EXPECT_FALSE(tree->Editing());
}

TEST_F(TreeTest, EnterAdvancesToTheNextParameter)
{
    tree->AdvanceOnReturn = true;
    const TPoint p = AnchorPoint(two, 0);
    ClickAt(tree, p.X, p.Y);
    ASSERT_EQ(tree->PopupEdit()->Link.Href, "l");
    SendKey(tree->PopupEdit(), VK_RETURN);
    // The next parameter of the tree opens at once.
    EXPECT_TRUE(tree->PopupEdit()->Visible());
    EXPECT_EQ(tree->PopupEdit()->Link.Href, "B");
    EXPECT_EQ(tree->PopupEdit()->Text(), "4");
    SendKey(tree->PopupEdit(), VK_ESCAPE);
}

TEST_F(TreeTest, ParameterHintsNameTheParameter)
{
    tree->ParamHint = true;
    TTreeNode* n = tree->Items()->AddChild(hull, "Trim <a href=\"trim\" class=\"EDIT\" hint=\"Trim by the stern\">0.5</a>");
    const TPoint p = AnchorPoint(n, 0);
    bool asked = false;
    tree->OnParamHint = [&](TObject*, TTreeNode*, const std::string& h, std::string& v, bool& show) {
        asked = h == "Trim by the stern";
        v = "Trim: positive by the stern";
        show = true;
    };
    THintInfo info;
    info.CursorPos = p;
    TMessage m{CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info), 0};
    tree->Dispatch(m);
    EXPECT_TRUE(asked);
    EXPECT_EQ(info.HintStr, "Trim: positive by the stern");
    EXPECT_EQ(m.Result, 0);
}

TEST_F(TreeTest, EmbeddedCheckBoxFlips)
{
    TTreeNode* n = tree->Items()->AddChild(hull, "Show <CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\"> lines");
    tree->SetSelected(n);
    auto bmp = PaintToBitmap(tree);
    LookAt(*bmp, "param-tree-check");
    // Find the check box by hit-testing along the row.
    const TRect r = n->DisplayRect(false);
    for (int x = 0; x < tree->ClientWidth(); ++x) {
        TParamHit hit;
        tree->IsParam(Point(x, (r.Top + r.Bottom) / 2), n, false, hit);
        if (hit.ControlID == "c1") {
            ClickAt(tree, x, (r.Top + r.Bottom) / 2);
            break;
        }
    }
    std::string v;
    EXPECT_NE(n->Text().find("FALSE"), std::string::npos) << n->Text();
}

TEST_F(TreeTest, UpdateCountAndVersion)
{
    EXPECT_EQ(tree->GetVersion(), "1.3.0.0");
    tree->EndUpdate();  // unmatched: nothing
    tree->BeginUpdate();
    tree->BeginUpdate();
    EXPECT_FALSE(tree->RedrawEnabled());
    tree->EndUpdate();
    EXPECT_FALSE(tree->RedrawEnabled());
    tree->EndUpdate();
    EXPECT_TRUE(tree->RedrawEnabled());
}

TEST_F(TreeTest, SelectAndChangedCarryTheEscapedTextAndMenuChoicesGoInAsTheyStand)
{
    std::vector<std::string> selected;
    tree->OnParamSelect = [&](TObject*, TTreeNode*, const std::string& h, const std::string& v) {
        selected.push_back(h + "=" + v);
    };
    tree->SetSelected(density);
    tree->UpdateParam("density", "\"1\" & 2");
    EXPECT_EQ(selected, std::vector<std::string>{"density=&quot;1&quot; &amp; 2"});
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], "density:1.025>&quot;1&quot; &amp; 2");
    changes.clear();
    tree->UpdateParam("density", "\"1\" & 2");  // the same text: no change reported
    EXPECT_TRUE(changes.empty());
    // A menu choice is markup already: written and reported unchanged.
    TTreeNode* n = tree->Items()->AddChild(hull, "Unit <a href=\"u\" class=\"MENU\" props=\"m|m&lt;2&gt;\">m</a>");
    tree->SetSelected(n);
    tree->StartParamEdit("u", n, Rect(10, 10, 20, 20));
    ASSERT_EQ(tree->PopupMenu()->Items()->Count(), 2);
    tree->PopupMenu()->Items()->Items(1)->Click();
    CloseMenus();
    EXPECT_EQ(n->Text(), "Unit <a href=\"u\" class=\"MENU\" props=\"m|m&lt;2&gt;\">m<2></a>");
    EXPECT_EQ(changes, std::vector<std::string>{"u:m>m<2>"});
}

TEST_F(TreeTest, DateAndTimeParametersUseThePicker)
{
    struct Restore {
        std::string format = base::ShortDateFormat();
        char date = base::DateSeparator(), time = base::TimeSeparator();
        ~Restore()
        {
            base::SetShortDateFormat(format);
            base::SetDateSeparator(date);
            base::SetTimeSeparator(time);
        }
    } restore;
    base::SetShortDateFormat("dd/mm/yyyy");
    base::SetDateSeparator('/');
    base::SetTimeSeparator(':');
    TTreeNode* n = tree->Items()->AddChild(
        hull, "Built <a href=\"d\" class=\"date\">03/04/2021</a> at <a href=\"t\" class=\"TIME\">10:20:30</a> "
              "<a href=\"bad\" class=\"DATE\">soon</a>");
    tree->SetSelected(n);
    const TRect r = Rect(10, 40, 30, 58);
    tree->StartParamEdit("d", n, r);
    TPopupDatePicker* p = tree->PopupDate();
    ASSERT_TRUE(p->Visible());
    EXPECT_TRUE(tree->Editing());
    EXPECT_EQ(p->Kind(), dtkDate);
    // A window of its own, over the anchor: placed in screen coordinates.
    const TPoint screen = tree->ClientToScreen(Point(10, 40));
    EXPECT_EQ(p->Parent(), nullptr);
    EXPECT_EQ(p->Left(), screen.X + 2);
    EXPECT_EQ(p->Top(), screen.Y - 2);
    EXPECT_GE(p->Width(), 64);  // at least 64 wide
    EXPECT_EQ(p->ValueText(), "03/04/2021");
    {
        // Wide enough for its text: the year's last digit is drawn before the button.
        p->Canvas()->Font().Assign(*p->Font());
        const int from = 2 + p->Canvas()->TextWidth("03/04/202"), to = 2 + p->Canvas()->TextWidth("03/04/2021");
        auto bmp = PaintToBitmap(p);
        LookAt(*bmp, "param-tree-date");
        int ink = 0;
        const int f = p->FrameWidth();
        for (int y = 0; y < p->ClientHeight(); ++y)
            for (int x = from; x < to; ++x) {
                const COLORREF c = ColorToRGB(bmp->Canvas()->Pixel(x + f, y + f));
                ink += GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128;
            }
        EXPECT_GT(ink, 3);
    }
    SendKey(p, VK_UP);  // the day field steps
    SendKey(p, VK_RETURN);
    EXPECT_FALSE(p->Visible());
    EXPECT_FALSE(tree->Editing());
    EXPECT_EQ(tree->GetNodeParameter(n, "d"), "04/04/2021");
    // A time re-creates the picker as a time picker; Esc commits nothing.
    tree->StartParamEdit("t", n, r);
    EXPECT_EQ(p->Kind(), dtkTime);
    EXPECT_EQ(p->ValueText(), "10:20:30");
    SendKey(p, VK_ESCAPE);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(tree->GetNodeParameter(n, "t"), "10:20:30");
    // Losing the focus commits; a value that does not read leaves the picker's date.
    base::TDateTime before = 0;
    base::TryEncodeDate(2021, 4, 4, before);
    tree->StartParamEdit("bad", n, r);
    EXPECT_EQ(p->ValueText(), base::DateToStr(before));
    other->SetFocus();
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(tree->GetNodeParameter(n, "bad"), "04/04/2021");
}

TEST_F(TreeTest, MaskParametersCommitOnlyAFilledMask)
{
    TTreeNode* n = tree->Items()->AddChild(hull, "Code <a href=\"c\" class=\"MASK\" props=\"00-00;1;_\">12-34</a>");
    tree->SetSelected(n);
    tree->StartParamEdit("c", n, Rect(10, 40, 30, 58));
    TPopupMaskEdit* m = tree->PopupMask();
    ASSERT_TRUE(m->Visible());
    EXPECT_EQ(m->Left(), tree->ClientToScreen(Point(10, 40)).X);  // no 2-pixel shift
    EXPECT_EQ(m->Width(), 20 + 16);
    EXPECT_EQ(m->EditMask(), "00-00;1;_");
    EXPECT_EQ(m->EditText(), "12-34");
    m->SetEditText("5_-__");
    SendKey(m, VK_RETURN);  // not filled: stays open, nothing written
    EXPECT_TRUE(m->Visible());
    EXPECT_EQ(tree->GetNodeParameter(n, "c"), "12-34");
    m->SetEditText("56-78");
    SendKey(m, VK_RETURN);
    EXPECT_FALSE(m->Visible());
    EXPECT_EQ(tree->GetNodeParameter(n, "c"), "56-78");
    // The loss of focus with an unfilled mask commits nothing.
    tree->StartParamEdit("c", n, Rect(10, 40, 30, 58));
    m->SetEditText("9_-__");
    other->SetFocus();
    EXPECT_FALSE(m->Visible());
    EXPECT_EQ(tree->GetNodeParameter(n, "c"), "56-78");
}

// Typed into, the mask editor lets the user out of an incomplete value: Esc abandons it,
// leaving the editor commits nothing; no error is raised and no message shows.
TEST_F(TreeTest, MaskEditorLetsTheUserOutOfAnIncompleteValue)
{
    std::vector<std::string> boxes;
    const TMessageBoxHook before = SetMessageBoxHook([&](const TMessageBoxRequest& r) {
        boxes.push_back(r.Text);
        return int(mrOk);
    });
    TTreeNode* n = tree->Items()->AddChild(hull, "Code <a href=\"c\" class=\"MASK\" props=\"000;0;_\">123</a>");
    tree->SetSelected(n);
    TPopupMaskEdit* m = tree->PopupMask();
    for (const bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Esc" : "focus elsewhere");
        tree->StartParamEdit("c", n, Rect(10, 40, 30, 58));
        Application->ProcessMessages();  // its window takes the keyboard
        ASSERT_TRUE(m->Visible());
        ASSERT_TRUE(m->Focused());
        m->SetSelStart(0);
        m->SetSelLength(3);
        SendKey(m, '4');
        EXPECT_EQ(m->EditText(), "4__");
        if (escape) EXPECT_NO_THROW(SendKey(m, VK_ESCAPE));
        else EXPECT_NO_THROW(other->SetFocus());
        Application->ProcessMessages();
        EXPECT_FALSE(m->Visible());
        EXPECT_EQ(tree->GetNodeParameter(n, "c"), "123");
        EXPECT_TRUE(escape ? tree->Focused() : other->Focused());
    }
    EXPECT_TRUE(boxes.empty());
    SetMessageBoxHook(before);
    EXPECT_TRUE(changes.empty());
}

// The list of a "LIST" parameter is a window of its own below the anchor: on the last row
// of a short tree it shows all its items, and at the screen's bottom it opens upwards.
TEST_F(TreeTest, ListEditorOnTheLastRowShowsAllItsItems)
{
    TTreeNode* n = tree->Items()->AddChild(hull, "Unit <a href=\"u\" class=\"LIST\" props=\"m|cm|mm|ft|in\">mm</a>");
    tree->SetHeight(5 * 18 + 2 * tree->FrameWidth());  // the list's row is the last one shown
    TPopupListBox* list = tree->PopupList();
    const TRect area = Screen->WorkAreaRect();
    for (const bool low : {false, true}) {
        SCOPED_TRACE(low ? "at the screen's bottom" : "in the middle");
        if (low) form->SetTop(form->Top() + area.Bottom - 20 - tree->ClientToScreen(Point(0, tree->Height())).Y);
        Application->ProcessMessages();
        const TPoint p = AnchorPoint(n, 0);
        ClickAt(tree, p.X, p.Y);
        ASSERT_TRUE(list->Visible());
        EXPECT_EQ(list->Parent(), nullptr);
        EXPECT_EQ(list->ItemIndex(), 2);
        // Every item lies within the list, and the list within the screen.
        EXPECT_LE(list->ItemRect(4).Bottom, list->ClientHeight());
        EXPECT_GE(list->Top(), area.Top);
        EXPECT_LE(list->Top() + list->Height(), area.Bottom);
        TRect r;
        tree->GetParamRect("u", r);
        const TPoint anchorTop = tree->ClientToScreen(Point(r.Left, r.Top));
        if (low) EXPECT_EQ(list->Top() + list->Height(), anchorTop.Y);  // above the anchor
        else EXPECT_EQ(list->Top(), anchorTop.Y + r.Height());             // below it
        EXPECT_EQ(list->Left(), anchorTop.X);
        auto shot = PaintToBitmap(list);
        LookAt(*shot, low ? "param-tree-list-up" : "param-tree-list");
        SendKey(list, VK_ESCAPE);
        EXPECT_FALSE(list->Visible());
    }
}

// The spin editor has its spin buttons at the right end: a click on the upper one steps up,
// on the lower one down; Enter commits.
TEST_F(TreeTest, SpinEditorStepsWithItsButtons)
{
    TTreeNode* s = tree->Items()->AddChild(hull, "Copies <a href=\"n\" class=\"SPIN\">4</a>");
    tree->SetSelected(s);
    tree->StartParamEdit("n", s, Rect(10, 40, 60, 58));
    TPopupSpinEdit* spin = tree->PopupSpin();
    ASSERT_TRUE(spin->Visible());
    grid::TGrdSpinButton* b = spin->SpinButton();
    ASSERT_TRUE(b->Visible());
    EXPECT_EQ(b->Left() + b->Width(), spin->ClientWidth());  // at the right end
    EXPECT_EQ(b->Height(), spin->ClientHeight());
    ClickAt(b, b->Width() / 2, 2);
    ClickAt(b, b->Width() / 2, 2);
    EXPECT_EQ(spin->Text(), "6");
    ClickAt(b, b->Width() / 2, b->Height() - 3);
    EXPECT_EQ(spin->Text(), "5");
    auto shot = PaintToBitmap(spin);
    LookAt(*shot, "param-tree-spin");
    SendKey(spin, VK_RETURN);
    EXPECT_EQ(tree->GetNodeParameter(s, "n"), "5");
}

TEST_F(TreeTest, SelectionSettingsReadBackAndLineSpacingRepaints)
{
    tree->SetSelectionColor(clYellow);
    tree->SetSelectionFontColor(clRed);
    tree->SetShowSelection(true);
    EXPECT_EQ(tree->SelectionColor(), clYellow);
    EXPECT_EQ(tree->SelectionFontColor(), clRed);
    EXPECT_TRUE(tree->ShowSelection());
    EXPECT_EQ(tree->LineSpacing(), 0);
    tree->SetLineSpacing(6);
    EXPECT_EQ(tree->LineSpacing(), 6);
}

}  // namespace

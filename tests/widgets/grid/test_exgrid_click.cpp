// The grid driven with the mouse: check boxes, radio items, buttons, nodes and links in
// cells with their events, header clicks and double clicks, right clicks, the fill drag,
// intelli-pan and zoom.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/controls/Mask.h"
#include "platform/Messages.h"
#include "platform/TestRig.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/forms/Forms.h"
#include "platform/system/Clipboard.h"
#include "platform/system/Shell.h"
#include "tests/widgets/grid/GridWindow.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/html/HtmlText.h"

using namespace platform;
using namespace grid;

namespace {

struct ClickTest : ::testing::Test, gridtest::GridWindow {
    std::vector<std::string> events;
    void SetUp() override
    {
        Open(460, 320, 5, 7);
        g->SetFixedCols(1);
        g->SetFixedRows(1);
        for (int c = 1; c < 5; ++c)
            for (int r = 1; r < 7; ++r) g->SetCells(c, r, std::to_string(c * 10 + r));
        form->Show();
        g->SetFocus();
        ASSERT_TRUE(ProcessUntil([&] { return g->Focused(); }));
        Paint();
    }
    void TearDown() override
    {
        SetShellExecuteHookForTesting(nullptr);
        Close();
    }
    void Paint() { PaintToBitmap(g); }
    void Log(const std::string& s) { events.push_back(s); }
    static std::string At(int a, int b) { return std::to_string(a) + "," + std::to_string(b); }
    TRect Cell(int c, int r) { return g->CellRect(c, r); }
    void Press(int x, int y, UINT msg = WM_LBUTTONDOWN) { SendMouse(g, msg, x, y); }
    void Release(int x, int y, UINT msg = WM_LBUTTONUP) { SendMouse(g, msg, x, y); }
    void ClickCell(int c, int r, int dx = 5, int dy = 5) { ClickAt(g, Cell(c, r).Left + dx, Cell(c, r).Top + dy); }
};

}  // namespace

TEST_F(ClickTest, ACheckBoxTogglesWithItsEventsAndAReadOnlyOneStays)
{
    g->SetOptions(g->Options() | goEditing);
    g->AddCheckBox(2, 2, false, false);
    g->AddCheckBox(3, 2, false, false);
    g->SetReadOnly(3, 2, true);
    g->OnCheckBoxClick = [&](TObject*, int c, int r, bool s) { Log("click " + At(c, r) + (s ? " on" : " off")); };
    g->OnCheckBoxMouseUp = [&](TObject*, int c, int r, bool s) { Log("up " + At(c, r) + (s ? " on" : " off")); };
    ClickCell(2, 2);
    bool state = false;
    ASSERT_TRUE(g->GetCheckBoxState(2, 2, state));
    EXPECT_TRUE(state);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 2);
    ClickCell(2, 2);
    g->GetCheckBoxState(2, 2, state);
    EXPECT_FALSE(state);
    EXPECT_EQ(events, (std::vector<std::string>{"click 2,2 on", "up 2,2 on", "click 2,2 off", "up 2,2 off"}));
    ClickCell(3, 2);
    g->GetCheckBoxState(3, 2, state);
    EXPECT_FALSE(state);
}

TEST_F(ClickTest, AHeaderCheckBoxWithCheckAllCheckChecksTheWholeColumn)
{
    g->SetOptions(g->Options() | goEditing);
    g->MouseActions.CheckAllCheck = true;
    g->AddCheckBox(2, 0, false, false);
    for (int r = 1; r < 7; ++r) g->AddCheckBox(2, r, false, false);
    ClickCell(2, 0);
    for (int r = 1; r < 7; ++r) {
        bool s = false;
        g->GetCheckBoxState(2, r, s);
        EXPECT_TRUE(s) << r;
    }
    ClickCell(2, 0);
    bool s = true;
    g->GetCheckBoxState(2, 4, s);
    EXPECT_FALSE(s);
}

TEST_F(ClickTest, APressOnARadioItemSelectsItInItsCell)
{
    g->SetOptions(g->Options() | goEditing);
    g->SetRowHeights(2, 60);
    base::TStrings* items = g->CreateRadio(2, 2, 0, 0);
    items->Add("A");
    items->Add("B");
    items->Add("C");
    g->OnRadioClick = [&](TObject*, int c, int r, int i) { Log("radio " + At(c, r) + " " + std::to_string(i)); };
    Paint();
    ClickCell(2, 2, 8, 1 + 16 + 8);  // the second line
    int idx = -1;
    ASSERT_TRUE(g->GetRadioIdx(2, 2, idx));
    EXPECT_EQ(idx, 1);
    ClickCell(2, 2, 8, 1 + 32 + 8);
    g->GetRadioIdx(2, 2, idx);
    EXPECT_EQ(idx, 2);
    EXPECT_EQ(events, (std::vector<std::string>{"radio 2,2 1", "radio 2,2 2"}));
    // Without editing the radio does not change.
    g->SetOptions(g->Options() & ~goEditing);
    ClickCell(2, 2, 8, 9);
    g->GetRadioIdx(2, 2, idx);
    EXPECT_EQ(idx, 2);
}

TEST_F(ClickTest, ACellButtonIsHeldDownAndClickedAtTheReleaseWhereverItLands)
{
    g->SetOptions(g->Options() | goEditing);
    g->AddButton(2, 2, 40, 16, "Go", haLeft, vaTop);
    g->OnButtonClick = [&](TObject*, int c, int r) { Log("button " + At(c, r)); };
    Paint();
    const TCellGraphic* b = g->GetCellGraphic(2, 2);
    const TRect R = Cell(2, 2);
    const int x = R.Left + (int(b->CellValue) & 0xFFFF) + 5, y = R.Top + (int(b->CellValue) >> 16) + 5;
    Press(x, y);
    EXPECT_TRUE(b->CellBoolean);  // drawn pressed
    EXPECT_TRUE(events.empty());
    Release(Cell(4, 5).Left + 3, Cell(4, 5).Top + 3);
    EXPECT_FALSE(b->CellBoolean);
    EXPECT_EQ(events, (std::vector<std::string>{"button 2,2"}));
    // A release on the button after a press elsewhere is no click and no sort.
    g->SortSettings().SetShow(true);
    Press(Cell(3, 2).Left + 5, Cell(3, 2).Top + 5);
    Release(x, y);
    EXPECT_EQ(events.size(), 1u);
    // Beside the button in its cell: no click.
    ClickCell(2, 2, R.Width() - 4, R.Height() - 3);
    EXPECT_EQ(events.size(), 1u);
    // A button drawn disabled (no editing) is not clicked, unless it never looks disabled.
    g->SetOptions(g->Options() & ~goEditing);
    ClickAt(g, x, y);
    EXPECT_EQ(events.size(), 1u);
    g->ControlLook().SetNoDisabledButtonLook(true);
    ClickAt(g, x, y);
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(ClickTest, AFixedCellDrawnAsAButtonIsClickedAtTheRelease)
{
    g->FixedAsButtons = true;
    g->SetOptions(g->Options() | goFixedVertLine | goFixedHorzLine);
    g->OnButtonClick = [&](TObject*, int c, int r) { Log("button " + At(c, r)); };
    const TRect R = Cell(3, 0);
    Press(R.Left + 5, R.Top + 5);
    EXPECT_TRUE(events.empty());
    Release(R.Left + 5, R.Top + 5);
    EXPECT_EQ(events, std::vector<std::string>{"button 3,0"});
    g->FixedAsButtons = false;
    ClickCell(3, 0);
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(ClickTest, ANodeBoxContractsAndExpandsAndARefusalLeavesIt)
{
    g->SetRowCount(8);
    g->AddNode(2, 3);
    Paint();
    std::vector<std::string> seen;
    bool allow = false;
    g->OnBeforeContractNode = [&](TObject*, int r, int real, bool& a) {
        seen.push_back("before " + At(r, real));
        a = allow;
    };
    g->OnContractNode = [&](TObject*, int r, int real) { seen.push_back("contract " + At(r, real)); };
    g->OnExpandNode = [&](TObject*, int r, int real) { seen.push_back("expand " + At(r, real)); };
    const int level = g->GetNodeLevel(2), I = g->CellNode().NodeIndent();
    const TRect R = Cell(0, 2);
    const int x = R.Left + 4 - g->GridLineWidth() + (level - 1) * I + I / 2, y = (R.Top + R.Bottom) / 2;
    ClickAt(g, x, y);
    EXPECT_FALSE(g->GetNodeState(2));
    EXPECT_EQ(g->RowCount(), 8);
    allow = true;
    ClickAt(g, x, y);
    EXPECT_TRUE(g->GetNodeState(2));
    EXPECT_EQ(g->RowCount(), 6);
    ClickAt(g, x, y);
    EXPECT_FALSE(g->GetNodeState(2));
    EXPECT_EQ(g->RowCount(), 8);
    EXPECT_EQ(seen, (std::vector<std::string>{"before 2,2", "before 2,2", "contract 2,2", "expand 2,2"}));
}

TEST_F(ClickTest, LinksOpenOnlyWebAndMailAddressesAndOnlyWhenAsked)
{
    std::vector<std::string> opened;
    SetShellExecuteHookForTesting([&](const std::string& verb, const std::string& file) {
        opened.push_back(verb + " " + file);
        return true;
    });
    g->SetColWidths(2, 200);
    struct Case {
        std::string link;
        bool opens;
    };
    const Case cases[] = {{"http://example.org/a", true},   {"https://example.org", true},
                          {"mailto:a@example.org", true},   {"HTTPS://EXAMPLE.ORG", true},
                          {"file:///etc/passwd", false},    {"javascript:alert(1)", false},
                          {"/usr/bin/xterm", false},        {"C:\\Windows\\calc.exe", false},
                          {"http://a.org/x -e evil", false}, {"ftp://example.org", false}};
    std::vector<std::string> anchors;
    g->OnAnchorClick = [&](TObject*, int, int, const std::string& a, bool&) { anchors.push_back(a); };
    for (bool ask : {false, true}) {
        g->OpenLinks = ask;
        for (const Case& k : cases) {
            opened.clear();
            g->SetCells(2, 3, "<a href=\"" + k.link + "\">linklinklinklink</a>");
            Paint();
            ClickCell(2, 3, 8, 8);
            const bool want = ask && k.opens;
            EXPECT_EQ(opened, want ? std::vector<std::string>{"open " + k.link} : std::vector<std::string>{})
                << k.link << " ask=" << ask;
        }
    }
    EXPECT_EQ(anchors.size(), 2 * std::size(cases));
    EXPECT_EQ(IsWebLink("http://"), false);
    // The application may take the link itself.
    opened.clear();
    g->OnAnchorClick = [&](TObject*, int, int, const std::string&, bool& autoHandle) { autoHandle = false; };
    g->SetCells(2, 3, "<a href=\"http://example.org\">linklinklinklink</a>");
    ClickCell(2, 3, 8, 8);
    EXPECT_TRUE(opened.empty());
    // A plain address with URLShow is a link too.
    g->OnAnchorClick = nullptr;
    g->URLShow = true;
    g->SetCells(2, 4, "https://example.org/plain");
    ClickCell(2, 4);
    EXPECT_EQ(opened, std::vector<std::string>{"open https://example.org/plain"});
}

TEST_F(ClickTest, ACellLinkMakesTheNamedCellCurrentAndACheckControlFlips)
{
    g->SetRowCount(60);
    g->SetColWidths(2, 200);
    g->SetCells(2, 1, "<a href=\"CELL://R45C3\">to the cell</a>");
    Paint();
    ClickCell(2, 1, 8, 8);
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 45);
    EXPECT_LE(g->TopRow(), 45);
    EXPECT_GT(g->TopRow() + g->VisibleRowCount(), 45);
    g->SetTopRow(1);
    g->SetCells(2, 2, "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\"><b>x</b>");
    std::vector<std::string> clicks;
    g->OnControlClick = [&](TObject*, int r, int c, const std::string& id, const std::string& type,
                            const std::string& v) { clicks.push_back(At(c, r) + " " + id + " " + type + " " + v); };
    Paint();
    ClickCell(2, 2, 6, 7);
    std::string v;
    ASSERT_TRUE(html::GetControlValue(g->Cells(2, 2), "c1", v));
    EXPECT_EQ(v, "FALSE");
    ClickCell(2, 2, 6, 7);
    html::GetControlValue(g->Cells(2, 2), "c1", v);
    EXPECT_EQ(v, "TRUE");
    EXPECT_EQ(clicks, (std::vector<std::string>{"2,2 c1 CHECK FALSE", "2,2 c1 CHECK TRUE"}));
}

TEST_F(ClickTest, AnEditControlInACellIsEditedOverItAndItsValueGoesBackEscaped)
{
    g->SetColWidths(2, 200);
    g->SetRowHeights(2, 30);
    g->SetCells(2, 2, "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"abc\" WIDTH=\"80\"><b>x</b>");
    std::vector<std::string> done;
    g->OnControlEditDone = [&](TObject*, int r, int c, const std::string& id, const std::string& type,
                               const std::string& v) { done.push_back(At(c, r) + " " + id + " " + type + " " + v); };
    Paint();
    ClickCell(2, 2, 10, 10);
    ASSERT_TRUE(g->HTMLControlActive());
    auto* ed = g->ControlEdit();
    EXPECT_TRUE(ed->Visible());
    EXPECT_EQ(ed->Text(), "abc");
    const TRect R = Cell(2, 2);
    EXPECT_GE(ed->Left(), R.Left);
    EXPECT_LE(ed->Left() + ed->Width(), R.Right);
    if (const char* dir = std::getenv("KORVELO_GRID_PNG")) PaintToBitmap(g)->SaveToFile(std::string(dir) + "/control_edit.png");
    ed->SetText("a<b>\"c");
    g->SetFocus();
    ProcessUntil([&] { return !g->HTMLControlActive(); }, 500);
    EXPECT_FALSE(ed->Visible());
    EXPECT_NE(g->Cells(2, 2).find("VALUE=\"a&lt;b&gt;&quot;c\""), std::string::npos) << g->Cells(2, 2);
    EXPECT_EQ(html::HTMLStrip(g->Cells(2, 2)), "x");  // no markup got in
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].substr(0, 13), "2,2 e1 EDIT a");
}

TEST_F(ClickTest, AMaskControlTakesOnlyTextThatFitsItsMask)
{
    g->SetColWidths(2, 200);
    g->SetRowHeights(2, 30);
    g->SetCells(2, 2, "<CONTROL TYPE=\"MASK\" ID=\"m1\" VALUE=\"12-34\" PROP=\"00-00;1;_\" WIDTH=\"80\"><b>x</b>");
    Paint();
    ClickCell(2, 2, 10, 10);
    ASSERT_TRUE(g->HTMLControlActive());
    auto* ed = g->ControlEdit();
    EXPECT_EQ(ed->EditMask(), "00-00;1;_");
    EXPECT_EQ(ed->EditText(), "12-34");
    ed->SetSelStart(0);
    for (char c : std::string("5x6")) SendChar(ed, c);  // the letter does not fit a digit place
    EXPECT_EQ(ed->EditText(), "56-34");
    g->SetFocus();
    ProcessUntil([&] { return !g->HTMLControlActive(); }, 500);
    std::string v;
    ASSERT_TRUE(html::GetControlValue(g->Cells(2, 2), "m1", v));
    EXPECT_EQ(v, "56-34");
    // An EDIT control afterwards has no mask.
    g->SetCells(2, 2, "<CONTROL TYPE=\"EDIT\" ID=\"e2\" VALUE=\"free\" WIDTH=\"80\"><b>x</b>");
    Paint();
    ClickCell(2, 2, 10, 10);
    ASSERT_TRUE(g->HTMLControlActive());
    EXPECT_FALSE(g->ControlEdit()->IsMasked());
    g->SetFocus();
    ProcessUntil([&] { return !g->HTMLControlActive(); }, 500);
}

TEST_F(ClickTest, AButtonControlIsDrawnDownWhileHeldAndReported)
{
    g->SetColWidths(2, 200);
    g->SetRowHeights(2, 34);
    g->SetCells(2, 2, "<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Push\" WIDTH=\"70\"><b>x</b>");
    g->OnControlClick = [&](TObject*, int r, int c, const std::string& id, const std::string& type,
                            const std::string& v) { Log(At(c, r) + " " + id + " " + type + " " + v); };
    const TRect R = Cell(2, 2);
    auto face = [&] {
        auto b = PaintToBitmap(g);
        std::vector<TColor> px;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Left + 80; ++x) px.push_back(b->Canvas()->Pixel(x, y));
        return px;
    };
    const auto up = face();
    Press(R.Left + 20, R.Top + 18);
    EXPECT_TRUE(g->HTMLButtonDown());
    EXPECT_NE(face(), up);
    if (const char* dir = std::getenv("KORVELO_GRID_PNG")) PaintToBitmap(g)->SaveToFile(std::string(dir) + "/button_down.png");
    Release(R.Left + 20, R.Top + 18);
    EXPECT_FALSE(g->HTMLButtonDown());
    EXPECT_EQ(face(), up);
    EXPECT_EQ(events, std::vector<std::string>{"2,2 b BUTTON Push"});
    EXPECT_FALSE(g->HTMLControlActive());
}

TEST_F(ClickTest, AComboControlTakesItsListFromTheApplication)
{
    g->SetColWidths(2, 200);
    g->SetRowHeights(2, 30);
    g->SetCells(2, 2, "<b>pick</b> <CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"one\" WIDTH=\"80\">");
    g->OnControlComboList = [&](TObject*, int r, int c, const std::string& id, const std::string&, const std::string& v,
                                base::TStrings& values, bool& edit, int& count) {
        Log("list " + At(c, r) + " " + id + " " + v);
        values.Add("one");
        values.Add("two");
        edit = false;
        count = 4;
    };
    Paint();
    g->SetCol(2);
    g->SetRow(2);
    SendKey(g, VK_F2);  // to the cell's first control
    ASSERT_TRUE(g->HTMLControlActive());
    TComboBox* cb = g->ControlCombo();
    EXPECT_EQ(cb->Style(), csDropDownList);
    EXPECT_EQ(cb->ItemIndex(), 0);
    EXPECT_EQ(cb->DropDownCount(), 4);
    cb->SetItemIndex(1);
    g->SetFocus();
    ProcessUntil([&] { return !g->HTMLControlActive(); }, 500);
    std::string v;
    ASSERT_TRUE(html::GetControlValue(g->Cells(2, 2), "k", v));
    EXPECT_EQ(v, "two");
    EXPECT_EQ(events, std::vector<std::string>{"list 2,2 k one"});
    // No control after it: the grid keeps the focus.
    g->AdvanceHTMLEdit(2, 2, "k");
    EXPECT_FALSE(g->HTMLControlActive());
}

TEST_F(ClickTest, AGridClosedWhileAControlIsEditedGoesQuietly)
{
    g->SetColWidths(2, 200);
    g->SetRowHeights(2, 30);
    g->SetCells(2, 2, "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"abc\" WIDTH=\"80\"><b>x</b>");
    Paint();
    g->AdvanceHTMLEdit(2, 2, "");
    ASSERT_TRUE(g->HTMLControlActive());
    g->ControlEdit()->SetText("typed");
    bool reported = false;
    g->OnControlEditDone = [&](TObject*, int, int, const std::string&, const std::string&, const std::string&) {
        reported = true;
    };
    Close();
    form = Construct<TForm>(Application);  // for TearDown
    EXPECT_FALSE(reported);
}

TEST_F(ClickTest, HeaderClicksSortAscendingDescendingThenBackWithUndoSort)
{
    g->SortSettings().SetShow(true);
    g->SortSettings().UndoSort = true;
    g->SortSettings().Column = -1;
    const std::vector<std::string> start = {"b", "d", "a", "c", "f", "e"};
    for (int r = 1; r < 7; ++r) g->SetCells(2, r, start[std::size_t(r - 1)]);
    auto column = [&] {
        std::string s;
        for (int r = 1; r < 7; ++r) s += g->Cells(2, r);
        return s;
    };
    std::vector<int> sorted;
    g->OnClickSort = [&](TObject*, int c) { sorted.push_back(c); };
    ClickCell(2, 0, 20, 5);
    EXPECT_EQ(column(), "abcdef");
    ClickCell(2, 0, 20, 5);
    EXPECT_EQ(column(), "fedcba");
    ClickCell(2, 0, 20, 5);
    EXPECT_EQ(column(), "bdacfe");
    EXPECT_EQ(sorted, (std::vector<int>{2, 2, -1}));
    // A refusal leaves the order.
    g->OnCanSort = [](TObject*, int, bool& doSort) { doSort = false; };
    ClickCell(2, 0, 20, 5);
    EXPECT_EQ(column(), "bdacfe");
}

TEST_F(ClickTest, AHeaderClickOnAGridWithNodesSortsInsideEachNode)
{
    g->SortSettings().SetShow(true);
    g->SortSettings().Column = -1;
    const std::vector<std::string> start = {"G1", "c", "a", "G2", "z", "y"};
    for (int r = 1; r < 7; ++r) g->SetCells(2, r, start[std::size_t(r - 1)]);
    g->AddNode(1, 3);
    g->AddNode(4, 3);
    auto column = [&] {
        std::string s;
        for (int r = 1; r < 7; ++r) s += g->Cells(2, r) + " ";
        return s;
    };
    ClickCell(2, 0, 20, 5);
    EXPECT_EQ(column(), "G1 a c G2 y z ");  // node blocks stay together
    EXPECT_TRUE(g->IsNode(1));
    EXPECT_TRUE(g->IsNode(4));
    ClickCell(2, 0, 20, 5);
    EXPECT_EQ(column(), "G1 c a G2 z y ");
}

TEST_F(ClickTest, WithSortIndexesShiftClicksAddColumnsAndPlainClicksTurnOneRound)
{
    g->SortSettings().SetShow(true);
    g->SortSettings().IndexShow = true;
    const std::vector<std::string> a = {"2", "1", "2", "1", "3", "2"}, b = {"x", "z", "y", "y", "w", "z"};
    for (int r = 1; r < 7; ++r) {
        g->SetCells(2, r, a[std::size_t(r - 1)]);
        g->SetCells(3, r, b[std::size_t(r - 1)]);
    }
    auto rows = [&] {
        std::string s;
        for (int r = 1; r < 7; ++r) s += g->Cells(2, r) + g->Cells(3, r) + " ";
        return s;
    };
    auto header = [&](int c, TShiftState shift) { ClickAt(g, Cell(c, 0).Left + 20, Cell(c, 0).Top + 5, shift); };
    header(2, 0);
    EXPECT_EQ(g->SortIndexes().Count(), 1);
    EXPECT_EQ(rows().substr(0, 6), "1z 1y ");  // stable within equal keys
    header(3, ssShift);
    EXPECT_EQ(rows(), "1y 1z 2x 2y 2z 3w ");
    header(3, ssShift);
    EXPECT_EQ(rows(), "1z 1y 2z 2y 2x 3w ");
    header(2, 0);  // column 2 alone, turned round
    EXPECT_EQ(g->SortIndexes().Count(), 1);
    EXPECT_EQ(g->SortSettings().Direction, sdDescending);
    EXPECT_EQ(rows().substr(0, 3), "3w ");
}

TEST_F(ClickTest, ADoubleClickOnAHeaderEdgeSizesTheColumnAndTheReleaseDoesNotSort)
{
    g->SetOptions(g->Options() | goColSizing);
    g->SortSettings().SetShow(true);
    g->SortSettings().Column = -1;
    g->SetCells(2, 3, "a rather long text that needs room");
    bool allow = false;
    std::vector<std::string> seen;
    g->OnColumnSize = [&](TObject*, int c, bool& a) {
        seen.push_back("size " + std::to_string(c));
        a = allow;
    };
    g->OnEndColumnSize = [&](TObject*, int c) { seen.push_back("end " + std::to_string(c)); };
    auto dbl = [&](int x, int y) {
        Press(x, y);
        Release(x, y);
        Press(x, y, WM_LBUTTONDBLCLK);
        Release(x, y);
    };
    const int w = g->ColWidths(2);
    TRect h = Cell(2, 0);
    dbl(h.Right - 1, h.Top + 5);
    EXPECT_EQ(g->ColWidths(2), w);
    allow = true;
    dbl(h.Right - 1, h.Top + 5);
    EXPECT_GT(g->ColWidths(2), w);
    // The first press of each double click starts a sizing and asks too.
    EXPECT_EQ(seen, (std::vector<std::string>{"size 2", "size 2", "size 2", "size 2", "end 2"}));
    EXPECT_EQ(g->Cells(2, 1), "21");  // not sorted
    // Near the left edge: the column to the left.
    seen.clear();
    h = Cell(3, 0);
    dbl(h.Left + 1, h.Top + 5);
    EXPECT_EQ(seen, (std::vector<std::string>{"size 2", "size 2", "end 2"}));
}

TEST_F(ClickTest, DoubleAndRightClicksReportTheirCells)
{
    g->OnDblClickCell = [&](TObject*, int r, int c) { Log("dbl " + At(c, r)); };
    g->OnRightClickCell = [&](TObject*, int r, int c) { Log("right " + At(c, r)); };
    g->OnClickCell = [&](TObject*, int r, int c) { Log("click " + At(c, r)); };
    const TRect R = Cell(3, 4);
    Press(R.Left + 5, R.Top + 5, WM_LBUTTONDBLCLK);
    Release(R.Left + 5, R.Top + 5);
    Press(R.Left + 5, R.Top + 5, WM_RBUTTONDOWN);
    Release(R.Left + 5, R.Top + 5, WM_RBUTTONUP);
    EXPECT_EQ(g->Col(), 1);  // a right press leaves the current cell
    g->MouseActions.SelectOnRigthClick = true;
    Press(R.Left + 5, R.Top + 5, WM_RBUTTONDOWN);
    Release(R.Left + 5, R.Top + 5, WM_RBUTTONUP);
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 4);
    ClickCell(2, 2);
    EXPECT_EQ(events, (std::vector<std::string>{"dbl 3,4", "right 3,4", "right 3,4", "click 2,2"}));
}

TEST_F(ClickTest, APressOnAMergedBlockMakesItsBaseCellCurrentAndASecondOneEdits)
{
    g->SetOptions(g->Options() | goEditing);
    g->MergeCells(2, 2, 2, 2);
    std::vector<std::string> asked;
    g->OnSelectCell = [&](TObject*, int c, int r, bool&) { asked.push_back(At(c, r)); };
    Paint();
    const TRect R = Cell(3, 3);
    ClickAt(g, R.Right - 5, R.Bottom - 5);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_NE(std::find(asked.begin(), asked.end(), "2,2"), asked.end());
    EXPECT_FALSE(g->InplaceEditor() && g->InplaceEditor()->Visible());
    ClickAt(g, R.Right - 5, R.Bottom - 5);
    ASSERT_TRUE(g->InplaceEditor());
    EXPECT_TRUE(g->InplaceEditor()->Visible());
    EXPECT_EQ(g->InplaceEditor()->Text(), "22");
}

TEST_F(ClickTest, WithNoAutoRangeScrollAPressOnThePartlyShownRowSelectsNoRange)
{
    g->SetOptions(g->Options() | goRangeSelect);
    g->SetRowCount(60);
    // A height that leaves the last row in view shown in part.
    int y = -1;
    for (int extra = 0; extra < 40 && y < 0; ++extra) {
        g->SetBounds(0, 0, 440, 200 + extra);
        int c = -1, r = -1;
        g->MouseToCell(50, g->ClientHeight() - 3, c, r);
        if (r == g->TopRow() + g->VisibleRowCount()) y = g->ClientHeight() - 3;
    }
    ASSERT_GE(y, 0);
    auto pressAndDrag = [&] {
        g->SetTopRow(1);
        g->SetRow(1);
        Press(Cell(2, 1).Left + 5, y);
        const int row = g->Row();
        SendMouse(g, WM_MOUSEMOVE, Cell(2, 1).Left + 5, Cell(2, row - 2).Top + 3, ssLeft);
        Release(Cell(2, 1).Left + 5, Cell(2, row - 2).Top + 3);
        return g->Selection().Bottom - g->Selection().Top;
    };
    EXPECT_GT(pressAndDrag(), 0);
    g->MouseActions.NoAutoRangeScroll = true;
    EXPECT_EQ(pressAndDrag(), 0);
}

TEST_F(ClickTest, WithDirectEditOnePressOpensTheEditorAwayFromTheCellEdges)
{
    g->SetOptions(g->Options() | goEditing);
    auto editing = [&] { return g->InplaceEditor() && g->InplaceEditor()->Visible(); };
    ClickCell(3, 3);
    EXPECT_FALSE(editing());
    g->MouseActions.DirectEdit = true;
    ClickCell(2, 4);
    ASSERT_TRUE(editing());
    EXPECT_EQ(g->InplaceEditor()->Text(), "24");
    g->CancelInplaceEdit();
    ClickCell(3, 4, 1, 5);  // on the left edge
    EXPECT_FALSE(editing());
}

TEST_F(ClickTest, ARightClickOnAnAddressCellWithURLEditOpensItsEditor)
{
    std::vector<std::string> opened;
    SetShellExecuteHookForTesting([&](const std::string&, const std::string& file) {
        opened.push_back(file);
        return true;
    });
    g->SetOptions(g->Options() | goEditing);
    g->URLShow = g->URLEdit = true;
    g->OpenLinks = true;
    g->SetCells(2, 3, "http://example.org");
    const TRect R = Cell(2, 3);
    Press(R.Left + 5, R.Top + 5, WM_RBUTTONDOWN);
    Release(R.Left + 5, R.Top + 5, WM_RBUTTONUP);
    ASSERT_TRUE(g->InplaceEditor());
    EXPECT_TRUE(g->InplaceEditor()->Visible());
    EXPECT_EQ(g->InplaceEditor()->Text(), "http://example.org");
    EXPECT_TRUE(opened.empty());
}

TEST_F(ClickTest, TheFillDragRepeatsTheCellThroughValidationAndLeavesTheClipboard)
{
    g->SetOptions(g->Options() | goEditing | goRangeSelect);
    g->SelectionResizer = g->SelectionRectangle = true;
    g->SetCells(1, 1, "5");
    g->SetCol(1);
    g->SetRow(1);
    Clipboard()->SetAsText("the user's copy");
    std::vector<std::string> resized;
    g->OnSelectionResize = [&](TObject*, const TGridRect& o, const TGridRect& n) {
        resized.push_back(At(o.Left, o.Top) + "-" + At(o.Right, o.Bottom) + " " + At(n.Left, n.Top) + "-" +
                          At(n.Right, n.Bottom));
    };
    g->OnCellValidate = [&](TObject*, int c, int r, std::string& v, bool& ok) {
        Log("validate " + At(c, r) + "=" + v);
        ok = r != 3;
    };
    Paint();
    const TRect R = Cell(1, 1);
    ASSERT_TRUE(g->InSelectionResizer(R.Right - 1, R.Bottom - 1));
    Press(R.Right - 1, R.Bottom - 1);
    EXPECT_TRUE(g->FillDragActive());
    const TRect to = Cell(1, 4);
    SendMouse(g, WM_MOUSEMOVE, to.Left + 5, to.Top + 5, ssLeft);
    EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 1, 4}));
    Release(to.Left + 5, to.Top + 5);
    EXPECT_FALSE(g->FillDragActive());
    EXPECT_EQ(resized, std::vector<std::string>{"1,1-1,1 1,1-1,4"});
    EXPECT_EQ(g->Cells(1, 2), "5");
    EXPECT_EQ(g->Cells(1, 3), "13");  // refused
    EXPECT_EQ(g->Cells(1, 4), "5");
    EXPECT_EQ(events, (std::vector<std::string>{"validate 1,2=5", "validate 1,3=5", "validate 1,4=5"}));
    EXPECT_EQ(Clipboard()->AsText(), "the user's copy");
}

TEST_F(ClickTest, AFillDragOfTwoCellsRepeatsThemAcrossAndSkipsReadOnlyCells)
{
    g->SetOptions(g->Options() | goEditing | goRangeSelect);
    g->SelectionResizer = true;
    g->SetCells(1, 2, "a");
    g->SetCells(2, 2, "b");
    g->SetReadOnly(3, 2, true);
    g->SetSelection(TGridRect{1, 2, 2, 2});
    Paint();
    const TRect R = Cell(2, 2);
    Press(R.Right - 1, R.Bottom - 1);
    const TRect to = Cell(4, 2);
    SendMouse(g, WM_MOUSEMOVE, to.Left + 5, to.Top + 5, ssLeft);
    Release(to.Left + 5, to.Top + 5);
    EXPECT_EQ(g->Cells(3, 2), "32");
    EXPECT_EQ(g->Cells(4, 2), "b");
}

TEST_F(ClickTest, IntelliPanMovesTheCurrentRowTowardsTheMouseUntilTheNextPress)
{
    TestClock clock;
    g->SetRowCount(60);
    g->SetRow(5);
    const TRect R = Cell(2, 3);
    const int fx = R.Left + 5, fy = R.Top + 5;
    const std::string before = ShownCursor(g);
    Press(fx, fy, WM_MBUTTONDOWN);
    Release(fx, fy, WM_MBUTTONUP);
    ASSERT_TRUE(g->Panning());
    EXPECT_EQ(g->PanFocusPoint(), (TPoint{fx, fy}));
    {
        // The focus mark: a ring with a dot at the focus point's square, over the cells.
        auto shot = PaintToBitmap(g);
        EXPECT_EQ(shot->Canvas()->Pixel(fx + 16, fy + 16), clBlack);
        int dark = 0;
        for (int y = fy; y < fy + 32; ++y)
            for (int x = fx; x < fx + 32; ++x) dark += shot->Canvas()->Pixel(x, y) == clBlack;
        EXPECT_GT(dark, 60);
        EXPECT_EQ(shot->Canvas()->Pixel(fx + 10, fy + 16), clWhite);
        if (const char* dir = std::getenv("KORVELO_GRID_PNG")) shot->SaveToFile(std::string(dir) + "/pan_mark.png");
    }
    SendMouse(g, WM_MOUSEMOVE, fx, fy + 3);
    AdvanceClock(80);
    EXPECT_EQ(g->Row(), 5);  // within the dead zone
    EXPECT_EQ(ShownCursor(g), "size-all");
    SendMouse(g, WM_MOUSEMOVE, fx + 40, fy + 6);
    EXPECT_TRUE(ProcessUntil([&] { return g->Row() >= 8; }, 2000));
    EXPECT_EQ(ShownCursor(g), "size-ns");
    EXPECT_EQ(g->Col(), 1);  // vertical panning leaves the column
    SendMouse(g, WM_MOUSEMOVE, fx, fy - 30);
    const int row = g->Row();
    EXPECT_TRUE(ProcessUntil([&] { return g->Row() < row - 1; }, 2000));
    EXPECT_TRUE(ProcessUntil([&] { return g->Row() == 1; }, 5000));  // stops at the first normal row
    Press(fx, fy);
    EXPECT_FALSE(g->Panning());
    EXPECT_EQ(ShownCursor(g), before);
    Release(fx, fy);
    const int at = g->Row();
    SendMouse(g, WM_MOUSEMOVE, fx, fy + 40);
    AdvanceClock(80);
    EXPECT_EQ(g->Row(), at);
    // A key ends it too; with ipNone the middle button does nothing.
    Press(fx, fy, WM_MBUTTONDOWN);
    Release(fx, fy, WM_MBUTTONUP);
    ASSERT_TRUE(g->Panning());
    SendKey(g, VK_SHIFT);
    EXPECT_FALSE(g->Panning());
    g->IntelliPan = TExStringGrid::ipNone;
    Press(fx, fy, WM_MBUTTONDOWN);
    Release(fx, fy, WM_MBUTTONUP);
    EXPECT_FALSE(g->Panning());
}

TEST_F(ClickTest, IntelliPanBothWaysMovesTheColumnToo)
{
    g->SetColCount(30);
    g->SetRow(2);
    g->IntelliPan = TExStringGrid::ipBoth;
    const TRect R = Cell(2, 3);
    Press(R.Left + 5, R.Top + 5, WM_MBUTTONDOWN);
    Release(R.Left + 5, R.Top + 5, WM_MBUTTONUP);
    SendMouse(g, WM_MOUSEMOVE, R.Left + 40, R.Top + 40);
    EXPECT_TRUE(ProcessUntil([&] { return g->Col() >= 4 && g->Row() >= 4; }, 2000));
    SendKey(g, VK_SHIFT);
    EXPECT_FALSE(g->Panning());
}

TEST_F(ClickTest, ZoomGrowsEveryColumnAndRowWithinItsLimits)
{
    g->SetColWidths(3, 4);
    const int w2 = g->ColWidths(2), h2 = g->RowHeights(2);
    g->Zoom(3);
    EXPECT_EQ(g->ColWidths(2), w2 + 3);
    EXPECT_EQ(g->RowHeights(2), h2 + 3);
    EXPECT_EQ(g->ColWidths(3), 7);
    EXPECT_EQ(g->ZoomOffset(), 3);
    g->Zoom(8);  // 11: beyond the limit, nothing changes
    EXPECT_EQ(g->ZoomOffset(), 3);
    EXPECT_EQ(g->ColWidths(2), w2 + 3);
    g->Zoom(-8);
    EXPECT_EQ(g->ZoomOffset(), -5);
    EXPECT_EQ(g->ColWidths(3), 7);  // 7 - 8 would not be above 0
    EXPECT_EQ(g->ColWidths(2), w2 - 5);
}

TEST_F(ClickTest, CtrlAndTheWheelZoomBySizesInStepsUpToTen)
{
    const int step = std::max(1, WheelScrollLines());
    const int w = g->ColWidths(2), h = g->RowHeights(2);
    const TRect R = Cell(2, 2);
    int level = 0;
    for (int i = 0; i < 5; ++i) {
        HostWheel(g, R.Left + 3, R.Top + 3, -120, ssCtrl);
        if (level + step <= 10) level += step;
        EXPECT_EQ(g->ZoomOffset(), level);
        EXPECT_EQ(g->ColWidths(2), w + level);
        EXPECT_EQ(g->RowHeights(2), h + level);
    }
    HostWheel(g, R.Left + 3, R.Top + 3, 120, ssCtrl);
    EXPECT_EQ(g->ZoomOffset(), level - step);
    EXPECT_EQ(g->ColWidths(2), w + level - step);
    g->IntelliZoom = false;
    HostWheel(g, R.Left + 3, R.Top + 3, 120, ssCtrl);
    EXPECT_EQ(g->ZoomOffset(), level - step);
}

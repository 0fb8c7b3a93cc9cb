// Custom cell editors through a link object, and the editor of fixed cells, driven by
// keys and the mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TestRig.h"
#include "platform/controls/Edit.h"
#include "platform/forms/Forms.h"
#include "tests/widgets/grid/GridWindow.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/GridEditLink.h"
#include "widgets/grid/GridEditors.h"

using namespace platform;
using namespace grid;

namespace {

// An edit of the platform plugged into cells through the link.
class TTextLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    TEdit* edit = nullptr;
    TColor cellColor = clNone;
    TWinControl* GetEditControl() override { return edit; }
    void CreateEditor(TWinControl* AParent) override
    {
        if (!edit) {
            edit = new TEdit(this);
            edit->OnKeyDown = [this](TObject* s, Word& k, TShiftState sh) { EditKeyDown(s, k, sh); };
            edit->OnExit = [this](TObject* s) { EditExit(s); };
        }
        edit->SetParent(AParent);
    }
    void SetCellProps(TColor AColor, TFont*) override { cellColor = AColor; }
    std::string GetEditorValue() override { return edit->Text(); }
    void SetEditorValue(const std::string& Value) override { edit->SetText(Value); }
};

struct LinkTest : ::testing::Test, gridtest::GridWindow {
    TTextLink* link = nullptr;
    std::vector<std::string> events;
    void SetUp() override
    {
        ASSERT_TRUE(OpenEditing(420, 300, 4, 5, false));
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 5; ++r) g->SetCells(c, r, std::to_string(c * 10 + r));
        link = new TTextLink(form);
        g->EditLink = link;
        g->OnGetEditorType = [](TObject*, int, int, TEditorType& t) { t = edCustom; };
        g->OnGetEditorProp = [this](TObject*, int c, int r, TEditLink* l) {
            events.push_back("prop " + std::to_string(c) + "," + std::to_string(r) + (l == link ? " link" : ""));
        };
        g->OnCellValidate = [this](TObject*, int c, int r, std::string& v, bool& ok) {
            events.push_back("validate " + std::to_string(c) + "," + std::to_string(r) + "=" + v);
            ok = v != "bad";
        };
    }
    void TearDown() override { Close(); }
    TWinControl* Focus() { return FindFocusedControl(); }
    void Type(const std::string& s)
    {
        for (char ch : s) SendChar(Focus(), ch);
    }
    void OpenEditor()
    {
        SendKey(g, VK_F2);
        ASSERT_TRUE(link->edit);
        ASSERT_TRUE(link->edit->Visible());
        ASSERT_EQ(Focus(), link->edit);
        link->edit->SelectAll();
    }
};

}  // namespace

TEST_F(LinkTest, TheLinkEditsTheCellAndEnterStoresTheValidatedValue)
{
    g->Navigation.AdvanceOnEnter = true;
    OpenEditor();
    EXPECT_EQ(events.front(), "prop 1,1 link");
    EXPECT_EQ(link->edit->Text(), "11");
    EXPECT_EQ(link->EditCol, 1);
    EXPECT_EQ(link->EditRow, 1);
    const TRect cell = g->CellRect(1, 1);
    EXPECT_EQ(link->edit->Left(), cell.Left);
    EXPECT_EQ(link->edit->Top(), cell.Top);
    EXPECT_EQ(g->ActiveEditControl, link->edit);
    Type("42");
    EXPECT_EQ(g->Cells(1, 1), "11");
    SendKey(Focus(), VK_RETURN);
    EXPECT_EQ(g->Cells(1, 1), "42");
    EXPECT_EQ(events.back().substr(0, 8), "prop 2,1");  // advanced, and the next cell's editor opened
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(Focus(), link->edit);
    // A refused value keeps the editor open, the cell unchanged.
    link->edit->SelectAll();
    Type("bad");
    SendKey(Focus(), VK_RETURN);
    EXPECT_TRUE(link->edit->Visible());
    EXPECT_EQ(link->edit->Text(), "bad");
    EXPECT_EQ(g->Cells(2, 1), "21");
    EXPECT_EQ(g->Col(), 2);
    // Escape puts back the text the cell had when editing started.
    SendKey(Focus(), VK_ESCAPE);
    EXPECT_FALSE(link->edit->Visible());
    EXPECT_EQ(g->Cells(2, 1), "21");
    EXPECT_TRUE(g->Focused());
}

TEST_F(LinkTest, WantedKeysStayWithTheEditorOthersMoveTheGrid)
{
    g->SetRow(2);
    link->WantKeyUpDown = true;
    OpenEditor();
    Type("7");
    SendKey(Focus(), VK_UP);
    EXPECT_TRUE(link->edit->Visible());
    EXPECT_EQ(g->Row(), 2);
    link->WantKeyUpDown = false;
    SendKey(Focus(), VK_UP);
    EXPECT_FALSE(link->edit->Visible());
    EXPECT_EQ(g->Cells(1, 2), "7");
    EXPECT_EQ(g->Row(), 1);
}

TEST_F(LinkTest, TheControlWantsTabAndArrowsWhileItEditsWithTabsOn)
{
    g->SetOptions(g->Options() | goTabs);
    OpenEditor();
    EXPECT_EQ(link->edit->Perform(WM_GETDLGCODE) & DLGC_WANTTAB, LRESULT(DLGC_WANTTAB));
    SendKey(Focus(), VK_TAB);
    EXPECT_FALSE(link->edit->Visible());
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(link->edit->Perform(WM_GETDLGCODE) & DLGC_WANTTAB, 0);  // its own procedure is back
}

TEST_F(LinkTest, ACharacterTypedOnTheGridArrivesInTheLinksControl)
{
    SendChar(g, '5');
    ASSERT_TRUE(ProcessUntil([&] { return link->edit && link->edit->Text().find('5') != std::string::npos; }, 500));
    SendKey(Focus(), VK_ESCAPE);
    EXPECT_EQ(g->Cells(1, 1), "11");
}

TEST_F(LinkTest, WithoutALinkACustomCellOpensNothing)
{
    g->EditLink = nullptr;
    SendKey(g, VK_F2);
    EXPECT_FALSE(g->EditActive);
    EXPECT_FALSE(g->InplaceEditor() && g->InplaceEditor()->Visible());
}

TEST_F(LinkTest, FixedCellsAreEditedByClickAndValidatedWhenLeft)
{
    g->OnGetEditorType = nullptr;
    g->MouseActions.FixedRowsEdit = fceLeftClick;
    g->MouseActions.FixedColsEdit = fceDblClick;
    const TRect head = g->CellRect(2, 0);
    ClickAt(g, head.Left + 5, head.Top + 5);
    TGridTransEdit* e = g->FixedCellEditor();
    ASSERT_TRUE(e->Visible());
    EXPECT_EQ(Focus(), e);
    EXPECT_EQ(e->Text(), "20");
    EXPECT_EQ(e->Left(), head.Left + 1);
    e->SelectAll();
    Type("Draught");
    SendKey(e, VK_RETURN);
    EXPECT_TRUE(e->Visible());  // Enter does not close it
    const TRect normal = g->CellRect(3, 3);
    ClickAt(g, normal.Left + 5, normal.Top + 5);
    EXPECT_FALSE(e->Visible());
    EXPECT_EQ(g->Cells(2, 0), "Draught");
    EXPECT_EQ(events.back(), "validate 2,0=Draught");
    // A refused value keeps the editor on its cell.
    ClickAt(g, head.Left + 5, head.Top + 5);
    ASSERT_TRUE(e->Visible());
    e->SelectAll();
    Type("bad");
    EXPECT_FALSE(e->StopEdit());
    EXPECT_TRUE(e->Visible());
    EXPECT_EQ(g->Cells(2, 0), "Draught");
    e->SelectAll();
    Type("Heel");
    // A double click on a fixed column: the running edit stops first.
    const TRect side = g->CellRect(0, 2);
    SendMouse(g, WM_LBUTTONDBLCLK, side.Left + 5, side.Top + 5);
    SendMouse(g, WM_LBUTTONUP, side.Left + 5, side.Top + 5);
    EXPECT_EQ(g->Cells(2, 0), "Heel");
    ASSERT_TRUE(e->Visible());
    EXPECT_EQ(e->Text(), "2");
    EXPECT_EQ(e->Row, 2);
    // Read-only cells are not edited.
    EXPECT_TRUE(e->StopEdit());
    g->OnCanEditCell = [](TObject*, int, int, bool& can) { can = false; };
    ClickAt(g, head.Left + 5, head.Top + 5);
    EXPECT_FALSE(e->Visible());
}

TEST_F(LinkTest, APopupLinkEditsInABorderlessFormAtTheCell)
{
    link->EditStyle = esPopup;
    link->AutoPopupWidth = true;
    link->PopupHeight = 60;
    OpenEditor();
    TForm* popup = link->PopupForm();
    ASSERT_TRUE(popup);
    EXPECT_TRUE(popup->Visible());
    EXPECT_EQ(link->edit->Parent(), popup);
    EXPECT_EQ(link->GetParent(), popup);
    const TRect cell = g->CellRect(1, 1);
    EXPECT_EQ(link->PopupWidth, cell.Width());
    const TPoint at = g->ClientToScreen(Point(cell.Left, cell.Top));
    EXPECT_EQ(popup->Left(), at.X);
    EXPECT_EQ(popup->Top(), at.Y);
    Type("55");
    SendKey(Focus(), VK_RETURN);
    EXPECT_EQ(g->Cells(1, 1), "55");
    EXPECT_FALSE(g->EditActive);
    EXPECT_FALSE(popup->Visible());
    EXPECT_FALSE(g->LinkFormClosed);
}

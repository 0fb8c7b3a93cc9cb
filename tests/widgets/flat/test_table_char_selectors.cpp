// The table-size picker (dragging out a size, growing, cancelling) and the character picker.
#include <gtest/gtest.h>

#include "FlatTestUtil.h"
#include "base/Exception.h"
#include "widgets/flat/TableSelector.h"

using namespace flat;
using namespace flattest;

namespace {

class TableTest : public FlatTest {
protected:
    void SetUp() override
    {
        FlatTest::SetUp();
        sel = Make<TExTableSelector>();
        sel->SetBounds(20, 20, 40, 23);
        sel->OnSelect = [this](TObject*) { ++selects; };
    }
    TExTableSelectorPanel* OpenTable()
    {
        sel->DoDropDown();
        return sel->TablePanel();
    }
    TPoint Centre(TExTableSelectorPanel* p, int col, int row)
    {
        const TRect r = p->CellRect(col, row);
        return Point(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
    }
    TExTableSelector* sel = nullptr;
    int selects = 0;
};

}  // namespace

TEST_F(TableTest, GeometryAndLabel)
{
    TExTableSelectorPanel* p = OpenTable();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Width(), 136);
    EXPECT_EQ(p->Height(), 130);
    EXPECT_EQ(p->CellRect(1, 1), Rect(4, 4, 28, 28));
    EXPECT_EQ(p->CellRect(2, 3), Rect(30, 56, 54, 80));
    EXPECT_EQ(p->LabelText(), "Cancel");
    const TPoint c = Centre(p, 3, 2);
    SendMouse(p, WM_MOUSEMOVE, c.X, c.Y);
    EXPECT_EQ(p->LabelText(), "3 x 2 Table");
    auto b = PaintToBitmap(p);
    Snapshot(*b, "table_panel");
    EXPECT_EQ(At(*b, c.X, c.Y), COLORREF(0x800000));
    const TPoint out = Centre(p, 4, 2);
    EXPECT_EQ(At(*b, out.X, out.Y), COLORREF(clWhite));
    EXPECT_GT(CountOther(*b, p->LabelRect(), 0xF7F8F9), 10);
}

TEST_F(TableTest, ReleaseOnASizeChoosesIt)
{
    TExTableSelectorPanel* p = OpenTable();
    const TPoint c = Centre(p, 4, 3);
    SendMouse(p, WM_MOUSEMOVE, c.X, c.Y);
    ClickAt(p, c.X, c.Y);
    EXPECT_FALSE(sel->DropDownWindow()->Visible());
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(sel->SelectedColCount(), 4);
    EXPECT_EQ(sel->SelectedRowCount(), 3);
}

TEST_F(TableTest, LeavingTheCellsOnTheFarSideCancels)
{
    TExTableSelectorPanel* p = OpenTable();
    const TPoint c = Centre(p, 2, 2);
    SendMouse(p, WM_MOUSEMOVE, c.X, c.Y);
    const TRect label = p->LabelRect();
    SendMouse(p, WM_MOUSEMOVE, label.Left + 20, label.Top + 5);
    EXPECT_EQ(p->SelectedCols(), -1);
    EXPECT_EQ(p->LabelText(), "Cancel");
    ClickAt(p, label.Left + 20, label.Top + 5);
    EXPECT_FALSE(sel->DropDownWindow()->Visible());
    EXPECT_EQ(selects, 0);
}

TEST_F(TableTest, DragFromTheButtonGrowsTheGrid)
{
    SendMouse(sel, WM_LBUTTONDOWN, 10, 10);
    TExTableSelectorPanel* p = sel->TablePanel();
    ASSERT_TRUE(sel->DropDownWindow()->Visible());
    SendMouse(sel, WM_MOUSEMOVE, 10, sel->Height() + 2, ssLeft);  // into the panel: it takes the drag
    EXPECT_EQ(GetCaptureControl(), p);
    // Past the right edge with the button held: one column per movement.
    for (int i = 0; i < 3; ++i) SendMouse(p, WM_MOUSEMOVE, p->Width() - 3, 10, ssLeft);
    EXPECT_EQ(p->ColCount, 8);
    EXPECT_EQ(sel->DropDownWindow()->Width(), p->Width());
    // Past the bottom: rows.
    SendMouse(p, WM_MOUSEMOVE, 10, p->Height() - 3, ssLeft);
    EXPECT_EQ(p->RowCount, 5);
    const TPoint c = Centre(p, 7, 5);
    SendMouse(p, WM_MOUSEMOVE, c.X, c.Y, ssLeft);
    SendMouse(p, WM_LBUTTONUP, c.X, c.Y);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(sel->SelectedColCount(), 7);
    EXPECT_EQ(sel->SelectedRowCount(), 5);
    EXPECT_FALSE(sel->DropDownWindow()->Visible());
}

TEST_F(TableTest, DefaultsStayInRange)
{
    for (int v : {0, 61}) {
        sel->SetDefaultColCount(v);
        sel->SetDefaultRowCount(v);
    }
    EXPECT_EQ(sel->DefaultColCount(), 5);
    EXPECT_EQ(sel->DefaultRowCount(), 4);
    sel->SetDefaultColCount(60);
    EXPECT_EQ(sel->DefaultColCount(), 60);
}

TEST_F(FlatTest, CharacterSelector)
{
    auto* sel = Make<TExCharacterSelector>();
    sel->SetBounds(10, 10, 30, 30);
    int selects = 0;
    sel->OnSelect = [&](TObject*) { ++selects; };
    sel->SetCharacters("abc");
    ASSERT_EQ(sel->Tools().Count(), 3);
    EXPECT_EQ(sel->Tools().Items(1)->Caption, "b");
    sel->CharFont()->SetHeight(-20);
    sel->DoDropDown();
    auto* p = dynamic_cast<TExSelectorPanel*>(sel->Panel());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ButtonMargin, 0);
    const TRect r = p->Items().Items(2)->ItemRect;
    EXPECT_GE(r.Height(), 20);
    SendMouse(p, WM_MOUSEMOVE, r.Left + 3, r.Top + 3);
    ClickAt(p, r.Left + 3, r.Top + 3);
    EXPECT_EQ(sel->SelectedChar(), 'c');
    EXPECT_EQ(selects, 1);
    EXPECT_FALSE(sel->DropDownWindow()->Visible());
    auto b = PaintToBitmap(sel);
    Snapshot(*b, "char_face");
    EXPECT_GT(CountOther(*b, Rect(5, 5, 25, 25), ColorToRGB(clBtnFace)), 20);

    sel->SetAutoLoad(true);
    EXPECT_EQ(sel->Characters().size(), 255u);
    EXPECT_EQ(sel->Tools().Count(), 255);
    try {
        sel->SetCharacters("x");
        FAIL() << "no exception";
    } catch (const base::Exception& e) {
        EXPECT_STREQ(e.what(), "Can not change characters when AutoLoad is true.");
    }
    sel->SetAutoLoad(false);
    EXPECT_TRUE(sel->Characters().empty());
    EXPECT_EQ(sel->Tools().Count(), 0);
}

TEST_F(TableTest, OpenedAboveItGrowsUpwards)
{
    const TRect work = Screen->WorkAreaRect();
    form->SetBounds(0, work.Bottom - 40, 200, 40);
    sel->SetTop(10);
    SendMouse(sel, WM_LBUTTONDOWN, 10, 10);
    TExTableSelectorPanel* p = sel->TablePanel();
    ASSERT_TRUE(sel->DropDownWindow()->ShownAbove);
    // Row 1 lies next to the button, at the bottom; the label band is at the top.
    EXPECT_GT(p->CellRect(1, 1).Top, p->CellRect(1, 2).Top);
    EXPECT_EQ(p->LabelRect().Top, 1);
    SendMouse(sel, WM_MOUSEMOVE, 10, 1, ssLeft);  // up into the panel
    EXPECT_EQ(GetCaptureControl(), p);
    const int top = sel->DropDownWindow()->Top();
    SendMouse(p, WM_MOUSEMOVE, 10, 5, ssLeft);
    EXPECT_EQ(p->RowCount, 5);
    EXPECT_EQ(sel->DropDownWindow()->Top(), top - 26);
    const TPoint c = Centre(p, 2, 5);
    SendMouse(p, WM_MOUSEMOVE, c.X, c.Y, ssLeft);
    SendMouse(p, WM_LBUTTONUP, c.X, c.Y);
    EXPECT_EQ(sel->SelectedColCount(), 2);
    EXPECT_EQ(sel->SelectedRowCount(), 5);
}

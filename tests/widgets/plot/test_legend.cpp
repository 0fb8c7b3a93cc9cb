// The list box under the legend list, and the legend list on a plot control.
#include <gtest/gtest.h>

#include <memory>

#include "base/StringList.h"
#include "platform/TestRig.h"
#include "widgets/plot/ListBox.h"

using namespace platform;
using plot::TCustomListBox;

namespace {

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsurePlatform();
        box = new TCustomListBox(owner.get());
        box->SetBounds(0, 0, 120, 64);  // four rows of 16
        for (const char* s : {"a", "b", "c", "d", "e", "f"}) box->Items().Add(s);
        box->OnClick = [this](TObject*) { ++clicks; };
    }
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>();
    TCustomListBox* box = nullptr;
    int clicks = 0;
};

TEST_F(ListBoxTest, RowsLieAtTheirPositions)
{
    const struct {
        int y;
        bool existing;
        int row;
    } cases[] = {{0, true, 0}, {15, true, 0}, {16, true, 1}, {63, true, 3}, {64, true, -1}, {64, false, 6}, {-1, true, -1}};
    for (const auto& c : cases) EXPECT_EQ(box->ItemAtPos(Point(10, c.y), c.existing), c.row) << c.y;
    box->SetTopIndex(2);
    EXPECT_EQ(box->ItemAtPos(Point(10, 0), true), 2);
    EXPECT_EQ(box->ItemRect(3), Rect(0, 16, 120, 32));
}

TEST_F(ListBoxTest, APressSelectsTheRowAndClicks)
{
    ClickAt(box, 10, 20);
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    box->Items().Add("g");
    ClickAt(box, 10, 60);
    EXPECT_EQ(box->ItemIndex(), 3);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ListBoxTest, TheSelectionFollowsItsRowAsRowsComeAndGo)
{
    box->SetItemIndex(2);
    box->Items().Insert(0, "z");
    EXPECT_EQ(box->ItemIndex(), 3);
    box->Items().Delete(1);
    EXPECT_EQ(box->ItemIndex(), 2);
    box->Items().Delete(2);
    EXPECT_EQ(box->ItemIndex(), -1);
    box->SetItemIndex(1);
    box->Items().Clear();
    EXPECT_EQ(box->ItemIndex(), -1);
    box->SetItemIndex(0);  // no rows: nothing to select
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(clicks, 0);  // none of these is the user's
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndScrollIt)
{
    box->SetItemIndex(3);
    SendKey(box, VK_DOWN);
    EXPECT_EQ(box->ItemIndex(), 4);
    EXPECT_EQ(box->TopIndex(), 1);
    SendKey(box, VK_HOME);
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(box->TopIndex(), 0);
    SendKey(box, VK_END);
    EXPECT_EQ(box->ItemIndex(), 5);
    EXPECT_EQ(clicks, 3);
}

}  // namespace

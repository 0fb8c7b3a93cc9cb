// The editable list box: in-place editing, insert and delete, search, stored items.
#include "EditFixture.h"

#include <fstream>

#include "base/IniFile.h"
#include "support/TestSupport.h"
#include "platform/controls/FlatScrollBar.h"
#include "platform/graphics/GDI.h"
#include "widgets/edit/EditList.h"

using namespace edit;
using namespace platform;
using edittest::EditTest;

namespace {

class ListTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        list = new TEditListBox(form);
        list->SetParent(form);
        list->SetBounds(150, 20, 160, 120);
        for (const char* s : {"Alpha", "Beta", "Gamma"}) list->Items().Add(s);
        list->SetFocus();
    }
    std::string Items() const
    {
        std::string out;
        for (int i = 0; i < list->Items().Count(); ++i) out += (i ? "|" : "") + list->Items().Get(i);
        return out;
    }
    void ClickRow(int row) { ClickAt(list, 10, row * list->ItemHeight() + 3); }
    TEditListBox* list = nullptr;
};

TEST_F(ListTest, EditsInPlaceAndCommits)
{
    EXPECT_EQ(list->GetVersion(), "2.1.0.0");
    SendChar(list, ' ');  // nothing selected: no edit
    EXPECT_FALSE(list->Editing());
    ClickRow(1);
    EXPECT_FALSE(list->Editing());  // the first click only selects
    ClickRow(1);
    ASSERT_TRUE(list->Editing());
    TSizeEdit* ed = list->Editor();
    EXPECT_TRUE(ed->Visible());
    EXPECT_EQ(ed->Text(), "Beta");
    EXPECT_EQ(list->Items().Get(1), "");  // hidden in the list while edited
    ed->SetText("Bravo");
    SendKey(ed, VK_RETURN);
    EXPECT_FALSE(list->Editing());
    EXPECT_EQ(Items(), "Alpha|Bravo|Gamma");
    EXPECT_EQ(list->ItemIndex(), 1);
    // Esc keeps the saved text; OnEditDone may refuse.
    std::vector<std::string> done;
    list->OnEditDone = [&](TObject*, std::string& s, bool& allow) {
        done.push_back(s);
        allow = s != "refused";
    };
    SendChar(list, ' ');
    ed->SetText("zzz");
    SendKey(ed, VK_ESCAPE);
    EXPECT_EQ(Items(), "Alpha|Bravo|Gamma");
    SendChar(list, ' ');
    ed->SetText("refused");
    SendKey(ed, VK_DOWN);
    EXPECT_EQ(Items(), "Alpha|Bravo|Gamma");
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(done, (std::vector<std::string>{"Bravo", "refused"}));
    list->OnEditStart = [](TObject*, int, bool& allow) { allow = false; };
    SendChar(list, ' ');
    EXPECT_FALSE(list->Editing());
    EXPECT_EQ(list->Items().Get(2), "Gamma");
}

TEST_F(ListTest, InsertsDeletesAndSearches)
{
    list->AutoInsert = true;
    list->AutoDelete = true;
    list->OnAutoInsert = [](TObject*, std::string& v) { v = "Delta"; };
    SendKey(list, VK_INSERT);
    ASSERT_TRUE(list->Editing());
    SendKey(list->Editor(), VK_RETURN);
    EXPECT_EQ(Items(), "Alpha|Beta|Gamma|Delta");
    list->SetItemIndex(3);
    SendKey(list, VK_DELETE);
    EXPECT_EQ(Items(), "Alpha|Beta|Gamma");
    EXPECT_EQ(list->ItemIndex(), 2);  // the new last item
    list->LookupIncr = true;
    for (char c : std::string("ga")) SendKey(list, Word(std::toupper(c)));
    EXPECT_EQ(list->ItemIndex(), 2);
    SendKey(list, 'Q');
    EXPECT_EQ(list->LookupText(), "");  // no match: the typed text goes
    list->LookupFull = true;
    list->LookupIncr = false;
    for (char c : std::string("ET")) SendKey(list, Word(c));
    EXPECT_EQ(list->ItemIndex(), 1);
    while (list->Items().Count() > 1) {
        list->SetItemIndex(0);
        SendKey(list, VK_DELETE);
    }
    list->SetItemIndex(0);
    SendKey(list, VK_DELETE);
    EXPECT_EQ(list->Items().Count(), 0);
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ListTest, KeepsItsItemsInTheIniStore)
{
    testsupport::TempDir dir;
    list->Persist.Enable = true;
    list->Persist.Key = dir.file("list.ini");
    list->Persist.Section = "Angles";
    list->Items().Insert(1, "");  // an empty item in the middle
    list->SavePersist();
    auto* again = new TEditListBox(form);
    again->Persist = list->Persist;
    again->LoadPersist();
    ASSERT_EQ(again->Items().Count(), 4);
    EXPECT_EQ(again->Items().Get(2), "Beta");
    EXPECT_EQ(again->Items().Get(1), "");
    // At most Count items: the last ones.
    list->Persist.MaxCount = true;
    list->Persist.Count = 2;
    list->SavePersist();
    base::TIniFile ini(list->Persist.Key);
    EXPECT_EQ(ini.ReadString("Angles", "Item1", "?"), "Beta");
    EXPECT_EQ(ini.ReadString("Angles", "Item2", "?"), "Gamma");
    EXPECT_EQ(ini.ReadString("Angles", "Item3", "?"), "");
    again->LoadPersist();
    EXPECT_EQ(again->Items().Count(), 2);
    // A file written without a count ends at the first empty item.
    {
        std::ofstream f(dir.file("old.ini"));
        f << "[Angles]\nItem1=a\nItem2=\nItem3=c\n";
    }
    again->Persist.Key = dir.file("old.ini");
    again->LoadPersist();
    EXPECT_EQ(again->Items().Count(), 1);
}

TEST_F(ListTest, TabPositionsBecomeTabStopsInDialogUnits)
{
    list->Canvas()->Font().Assign(*list->Font());
    const int unit = list->Canvas()->TextWidth("x");
    list->TabPositions().Add()->SetTabPosition(60);
    TTabPositionItem* right = list->TabPositions().Add();
    right->SetTabPosition(140);
    right->SetTabType(tabright);
    EXPECT_EQ(list->TabStops(), (std::vector<int>{60 * 4 / unit, -(140 * 4 / unit)}));
    // Twenty positions set none: the last stops stay.
    for (int i = 2; i < 20; ++i) list->TabPositions().Add()->SetTabPosition(200 + i);
    list->SetTabStops();
    EXPECT_EQ(list->TabPositions().Count(), 20);
    EXPECT_EQ(list->TabStops().size(), 19u);  // applied while there were 19
    list->TabPositions().Delete(19);
    list->TabPositions().Delete(18);
    EXPECT_EQ(list->TabStops().size(), 18u);
}

TEST_F(ListTest, OptimizedTabsFitTheWidestTextOfEachColumn)
{
    list->Items().Clear();
    list->Items().Add("a\tbb\tc");
    list->Items().Add("aaaa\tb");
    list->Canvas()->Font().Assign(*list->Font());
    auto w = [&](const char* t) { return list->Canvas()->TextWidth(t); };
    list->OptimizeTabs(5);
    ASSERT_EQ(list->TabPositions().Count(), 3);
    const int w0 = w("aaaa"), w1 = w("bb");
    EXPECT_EQ(list->TabPositions().Items(0)->TabPosition(), 5 + w0);
    EXPECT_EQ(list->TabPositions().Items(1)->TabPosition(), 5 + w0 + 5 + w1);
    // A right tab takes the width of the column it aligns.
    list->TabPositions().Items(0)->SetTabType(tabright);
    list->OptimizeTabs(5);
    EXPECT_EQ(list->TabPositions().Items(0)->TabPosition(), 5 + w0 + w1);
    // With tab stops the widest item is measured tabbed, on the stops as the list keeps
    // them (in dialog units).
    list->TabPositions().Items(0)->SetTabType(tableft);
    list->OptimizeTabs(5);
    EXPECT_EQ(list->GetMaxStringExtent(), list->TabStopPixels()[1] + w("c"));
}

TEST_F(ListTest, AnItemWiderThanTheListBringsTheHorizontalBar)
{
    const int h = list->ClientHeight();
    list->Items().Add(std::string(60, 'W'));
    EXPECT_LT(list->ClientHeight(), h);
    EXPECT_EQ(list->HorizontalExtent(), list->GetMaxStringExtent());
    HostScroll(list, SB_HORZ, SB_PAGERIGHT);
    EXPECT_GT(list->ScrollLeft(), 0);
    // Starting an edit scrolls fully to the left.
    list->SetItemIndex(0);
    list->ShowEdit();
    EXPECT_EQ(list->ScrollLeft(), 0);
    SendKey(list->Editor(), VK_ESCAPE);
    list->SetScrollHorizontal(false);
    EXPECT_EQ(list->HorizontalExtent(), 0);
    EXPECT_EQ(list->ClientHeight(), h);
    list->SetScrollHorizontal(true);
    list->BeginUpdate();
    list->Items().Delete(3);
    EXPECT_GT(list->HorizontalExtent(), 0);  // held until the update ends
    list->EndUpdate();
    EXPECT_EQ(list->HorizontalExtent(), 0);
    EXPECT_EQ(list->ClientHeight(), h);
}

TEST_F(ListTest, FlatScrollBarsFollowStyleColourAndWidth)
{
    for (int i = 0; i < 20; ++i) list->Items().Add("row " + std::to_string(i));
    list->SetScrollWidth(9);
    const int plain = list->ClientWidth();
    list->SetScrollStyle(ssFlat);
    EXPECT_TRUE(FlatSB_Initialized(list->Handle()));
    list->UpdateWidth();
    EXPECT_EQ(list->ClientWidth(), plain + GetSystemMetrics(SM_CXVSCROLL) - 9);
    LPARAM v = 0;
    ASSERT_TRUE(FlatSB_GetScrollProp(list->Handle(), WSB_PROP_VSTYLE, &v));
    EXPECT_EQ(v, FSB_FLAT_MODE);
    list->SetScrollColor(clRed);
    ASSERT_TRUE(FlatSB_GetScrollProp(list->Handle(), WSB_PROP_HBKGCOLOR, &v));
    EXPECT_EQ(v, LPARAM(0x0000FF));
    list->SetScrollStyle(ssEncarta);
    ASSERT_TRUE(FlatSB_GetScrollProp(list->Handle(), WSB_PROP_VSTYLE, &v));
    EXPECT_EQ(v, FSB_ENCARTA_MODE);
    list->SetScrollStyle(ssNormal);  // back to the plain bars
    EXPECT_FALSE(FlatSB_Initialized(list->Handle()));
    EXPECT_EQ(list->ClientWidth(), plain);
    // The vertical position set through the list reaches the bar.
    list->SetIndexAndScroll(22);
    EXPECT_EQ(GetScrollPos(list->Handle(), SB_VERT), list->TopIndex());
    EXPECT_GT(list->TopIndex(), 0);
}

TEST_F(ListTest, EnterFocusColourAndSelectionNotices)
{
    std::vector<int> changes;
    list->OnSelChange = [&](TObject*, int i) { changes.push_back(i); };
    ClickRow(2);
    list->SetIndexAndScroll(0);  // an index set through the list's message is a change too
    EXPECT_EQ(changes, (std::vector<int>{2, 0}));
    int clicks = 0, doubles = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->OnDblClick = [&](TObject*) { ++doubles; };
    list->ReturnIsClick = true;
    SendKey(list, VK_RETURN);
    list->ReturnIsClick = false;
    list->ReturnIsDblClick = true;
    SendKey(list, VK_RETURN);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
    // Return as Tab moves the focus on.
    list->ReturnIsDblClick = false;
    list->ReturnIsTab = true;
    SendKey(list, VK_RETURN);
    ASSERT_TRUE(ProcessUntil([&] { return !list->Focused(); }));
    // The focus colour shows while focused and goes with the focus.
    list->SetColor(clYellow);
    list->FocusColor = clAqua;
    list->SetFocus();
    EXPECT_EQ(list->Color(), clAqua);
    other->SetFocus();
    EXPECT_EQ(list->Color(), clYellow);
}

TEST_F(ListTest, HoveringSelectsTheRowUnderThePointerAndCentresIt)
{
    struct PutBack {
        TPoint at;
        PutBack() { GetCursorPos(at); }
        ~PutBack()
        {
            SetCursorPos(at.X, at.Y);
            Application->ProcessMessages();  // the moves it makes land here, not in a later test
        }
    } putBack;  // other tests read the pointer
    std::vector<int> changes;
    list->OnSelChange = [&](TObject*, int i) { changes.push_back(i); };
    list->SetHovering(true);
    const TPoint row2 = list->ClientToScreen(Point(20, 2 * list->ItemHeight() + 1));
    SetCursorPos(row2.X, row2.Y);
    list->Perform(WM_TIMER, 111, 0);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(changes, std::vector<int>{2});
    TPoint now;
    GetCursorPos(now);
    EXPECT_EQ(list->ScreenToClient(now).Y, 2 * list->ItemHeight() + list->ItemHeight() / 2);
    // Outside the list, or without the focus, a tick selects nothing.
    const TPoint outside = list->ClientToScreen(Point(-30, 5));
    SetCursorPos(outside.X, outside.Y);
    list->Perform(WM_TIMER, 111, 0);
    EXPECT_EQ(list->ItemIndex(), 2);
    other->SetFocus();
    SetCursorPos(row2.X, row2.Y - list->ItemHeight());
    list->Perform(WM_TIMER, 111, 0);
    EXPECT_EQ(list->ItemIndex(), 2);
}

TEST_F(ListTest, ALongItemShowsItsWholeTextAsTheHint)
{
    list->Items().Put(1, std::string(50, 'L'));
    list->SetHint("the list");
    list->HintColor = clYellow;
    THintInfo info;
    info.CursorPos = Point(10, list->ItemHeight() + 2);
    list->Perform(CM_HINTSHOW, 0, LPARAM(&info));
    EXPECT_EQ(info.HintStr, std::string(50, 'L'));
    EXPECT_EQ(info.HintColor, clYellow);
    EXPECT_EQ(info.HintPos, list->ClientToScreen(Point(0, list->ItemHeight() - 2)));
    THintInfo shortOne;
    shortOne.HintStr = "the list";
    shortOne.CursorPos = Point(10, 2);
    list->Perform(CM_HINTSHOW, 0, LPARAM(&shortOne));
    EXPECT_EQ(shortOne.HintStr, "the list");
}

}  // namespace

// The editable list box: in-place editing, insert and delete, search, stored items.
#include "EditFixture.h"

#include <fstream>

#include "base/IniFile.h"
#include "support/TestSupport.h"
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

}  // namespace

// The typed edit's auto-completion list and its stored history.
#include "EditFixture.h"

#include "base/StringList.h"
#include "support/TestSupport.h"

using namespace edit;
using namespace platform;
using edittest::EditTest;

namespace {

class LookupTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        e->Lookup.Enabled = true;
        for (const char* s : {"Stern", "Stem", "Beam", "steel", "Sheer"}) e->Lookup.DisplayList->Add(s);
        e->SetFocus();
        e->SetText("");
    }
    std::string Offered()
    {
        std::string out;
        TCustomListBox* l = e->LookupList();
        for (int i = 0; l && i < l->Items().Count(); ++i) out += (i ? "|" : "") + l->Items().Get(i);
        return out;
    }
};

TEST_F(LookupTest, OffersMatchesFromTheSecondCharacter)
{
    Type("s");
    EXPECT_FALSE(e->LookupShown());
    Type("t");
    ASSERT_TRUE(e->LookupShown());
    EXPECT_EQ(Offered(), "steel|Stem|Stern");
    EXPECT_EQ(e->LookupList()->ItemIndex(), 0);
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_FALSE(e->LookupShown());
    EXPECT_EQ(e->Text(), "Stem");
    Type("x");  // nothing matches: the list goes
    EXPECT_FALSE(e->LookupShown());
}

TEST_F(LookupTest, MultiKeepsTheEarlierEntriesAndValuesStandIn)
{
    e->Lookup.Multi = true;
    e->Lookup.ValueList->Add("v-stern");  // only the first entry has a value
    Type("a;be");
    ASSERT_TRUE(e->LookupShown());
    EXPECT_EQ(Offered(), "Beam");
    Key(VK_RETURN);
    EXPECT_EQ(e->Text(), "a;Beam;");
    e->Lookup.Multi = false;
    e->SetText("");
    Type("ste");
    Key(VK_END);  // Stern, entry 0
    Key(VK_RETURN);
    EXPECT_EQ(e->Text(), "v-stern");
}

TEST_F(LookupTest, HistoryIsKeptAndStored)
{
    testsupport::TempDir dir;
    e->Lookup.History = true;
    e->Lookup.DisplayList->Clear();
    for (const char* s : {"one", "two", "three"}) {
        e->SetFocus();
        e->SetText(s);
        other->SetFocus();
    }
    e->SetFocus();
    e->SetText("two");
    other->SetFocus();
    EXPECT_EQ(e->Lookup.DisplayList->Count(), 3);
    for (const char* v : {"1", "2", "3"}) e->Lookup.ValueList->Add(v);
    e->SetName("HistoryEdit");
    e->Persistence.Enable = true;
    e->Persistence.Key = dir.file("h.ini");
    e->Persistence.Section = "Edits";
    e->SavePersist();
    TExEdit* again = New(10, 120);
    again->SetName("HistoryEdit");
    again->Persistence = e->Persistence;
    again->Lookup.Enabled = again->Lookup.History = true;
    again->LoadPersist();
    ASSERT_EQ(again->Lookup.DisplayList->Count(), 3);
    EXPECT_EQ(again->Lookup.DisplayList->Get(2), "three");
    EXPECT_EQ(again->Lookup.ValueList->Get(1), "2");
    EXPECT_EQ(again->Text(), "two");
}

TEST_F(LookupTest, TheWindowsBottomRightCornerSizesIt)
{
    Type("st");
    ASSERT_TRUE(e->LookupShown());
    auto* window = e->LookupList()->Parent();
    ASSERT_NE(window, nullptr);
    auto hit = [&](int x, int y) {
        const TPoint origin = window->ClientToScreen(Point(-window->FrameWidth(), -window->FrameWidth()));
        return window->Perform(WM_NCHITTEST, 0, MakeLParam(origin.X + x, origin.Y + y));
    };
    const int w = window->Width(), h = window->Height();
    EXPECT_EQ(hit(w - 1, h - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(w - 9, h - 9), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(w - 10, h - 1), HTNOWHERE);
    EXPECT_EQ(hit(w / 2, h / 2), HTNOWHERE);
}

}  // namespace

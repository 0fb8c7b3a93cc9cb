// The line store: lines with objects and property objects, the longest line, and what
// it does for an editor (tabs, notices, the caret, deletions through the editor).
#include <gtest/gtest.h>

#include <algorithm>

#include "MemoFixture.h"
#include "base/Exception.h"
#include "tests/support/TestSupport.h"

using namespace memo;
using memotest::MemoTest;

namespace {

std::string Join(const TExMemoStrings& s)
{
    std::string out;
    for (int i = 0; i < s.Count(); ++i) out += (i ? "|" : "") + s.Get(i);
    return out;
}

}  // namespace

TEST(LineStore, PlainListOperationsKeepLengthsAndLongestLine)
{
    struct Step {
        const char* what;
        std::function<void(TExMemoStrings&)> op;
        const char* text;
        int longest;
    };
    const std::vector<Step> steps = {
        {"add", [](TExMemoStrings& s) { s.Add("abc"); }, "abc", 3},
        {"add tab kept", [](TExMemoStrings& s) { s.Add("a\tb"); }, "abc|a\tb", 3},
        {"insert longer", [](TExMemoStrings& s) { s.Insert(0, "hello!"); }, "hello!|abc|a\tb", 6},
        {"put shorter over the longest", [](TExMemoStrings& s) { s.Put(0, "hi"); }, "hi|abc|a\tb", 3},
        {"delete the longest", [](TExMemoStrings& s) { s.Delete(1); }, "hi|a\tb", 3},
        {"delete out of range", [](TExMemoStrings& s) { s.Delete(7); }, "hi|a\tb", 3},
        {"delete negative", [](TExMemoStrings& s) { s.Delete(-1); }, "hi|a\tb", 3},
        {"two equally long, one goes", [](TExMemoStrings& s) { s.Add("xyz"); s.Delete(1); }, "hi|xyz", 3},
        {"clear", [](TExMemoStrings& s) { s.Clear(); }, "", 0},
    };
    TExMemoStrings store;
    for (const Step& st : steps) {
        st.op(store);
        EXPECT_EQ(Join(store), st.text) << st.what;
        EXPECT_EQ(store.MaxLength(), st.longest) << st.what;
    }
}

TEST(LineStore, RangeErrorsOfGetPutInsertRaise)
{
    TExMemoStrings store;
    store.Add("a");
    EXPECT_THROW(store.Get(1), base::EStringListError);
    EXPECT_THROW(store.Put(-1, "x"), base::EStringListError);
    EXPECT_THROW(store.Insert(3, "x"), base::EStringListError);
    EXPECT_EQ(store.GetObject(5), nullptr);
    store.PutObject(5, &store);  // ignored
    EXPECT_EQ(Join(store), "a");
}

TEST(LineStore, PropertyObjectsWrapTheCallersObject)
{
    TExMemoStrings store;
    int a = 0, b = 0;
    store.AddObject("x", &a);
    EXPECT_EQ(store.GetLineProp(0), nullptr);
    TLineProp* p = store.CreateProp(0);
    EXPECT_EQ(p->FObject, &a);
    EXPECT_EQ(store.GetObject(0), &a);
    store.PutObject(0, &b);
    EXPECT_EQ(p->FObject, &b);
    EXPECT_EQ(store.GetObject(0), &b);
    EXPECT_FALSE(p->FBreakPoint || p->FExecutable || p->FBookmark || p->FHasStyle);
    EXPECT_TRUE(p->FErrorPos.empty() && p->FErrorLen.empty());
    // A deleted line's property object stays owned until the store is cleared.
    store.Delete(0);
    EXPECT_EQ(store.PropCount(), 1);
    store.Clear();
    EXPECT_EQ(store.PropCount(), 0);
    EXPECT_EQ(store.GetLineProp(0), nullptr);
}

TEST(LineStore, RealCountIgnoresAnEmptyText)
{
    TExMemoStrings store;
    EXPECT_EQ(store.GetRealCount(), 0);
    store.Add("");
    EXPECT_EQ(store.GetRealCount(), 0);
    store.Add("");
    EXPECT_EQ(store.GetRealCount(), 2);
}

TEST_F(MemoTest, AddExpandsTabsAndRecordsTheExpandedLength)
{
    memo->SetTabSize(4);
    memo->Lines()->Clear();
    memo->Lines()->Add("a\tb");
    EXPECT_EQ(memo->Lines()->Get(0), "a    b");
    EXPECT_EQ(memo->Lines()->LineLength(0), 6);
    EXPECT_EQ(memo->MaxLength(), 6);
}

TEST_F(MemoTest, ClearAndAddRecordNoUndoAndLeaveNoStrayLine)
{
    SetText({"one", "two", "three"});
    memo->SetCursor(1, 2);  // the caret below the first line
    Type("x");
    ASSERT_TRUE(memo->CanUndo());
    const int entries = memo->UndoList()->Count();
    memo->Lines()->Clear();
    EXPECT_EQ(memo->Lines()->Count(), 0);
    memo->Lines()->Add("log 1");
    memo->Lines()->Add("log 2");
    EXPECT_EQ(Text(), "log 1|log 2");
    EXPECT_EQ(memo->UndoList()->Count(), entries);
    EXPECT_EQ(memo->CurX(), 0);
    EXPECT_EQ(memo->CurY(), 0);
}

TEST_F(MemoTest, AddFiresOnChangeAndUpdatesTheLongestLine)
{
    memo->Lines()->Clear();
    int changes = 0;
    memo->OnChange = [&](platform::TObject*) { ++changes; };
    memo->Lines()->Add("short");
    memo->Lines()->Add("a much longer line");
    EXPECT_GT(changes, 0);
    EXPECT_EQ(memo->MaxLength(), 18);
}

TEST_F(MemoTest, DeleteGoesThroughTheEditorAndCanBeUndone)
{
    SetText({"a", "b", "c", "d"});
    memo->SetCursor(0, 3);
    memo->Lines()->Delete(1);
    EXPECT_EQ(Text(), "a|c|d");
    EXPECT_EQ(memo->CurY(), 2);  // the caret line moved up with its text
    memo->Undo();
    EXPECT_EQ(Text(), "a|b|c|d");
}

TEST_F(MemoTest, LoadAndSaveKeepTheTextAndClearUndo)
{
    testsupport::TempDir dir;
    const std::string file = dir.file("text.txt");
    SetText({"first\tline", "second"});
    Type("x");
    memo->Lines()->SaveToFile(file);
    memo->Lines()->Clear();
    memo->Lines()->LoadFromFile(file);
    EXPECT_EQ(Text(), "xfirst    line|second");
    EXPECT_FALSE(memo->CanUndo());
    EXPECT_THROW(memo->Lines()->LoadFromFile(dir.file("missing.txt")), base::EInOutError);
    EXPECT_EQ(Text(), "xfirst    line|second");
}

TEST_F(MemoTest, PerLineMarksAsATable)
{
    SetText({"a", "b", "c"});
    struct Mark {
        const char* name;
        std::function<void(int, bool)> set;
        std::function<bool(int)> get;
    };
    const std::vector<Mark> marks = {
        {"breakpoint", [&](int l, bool v) { memo->SetBreakPoint(l, v); }, [&](int l) { return memo->BreakPoint(l); }},
        {"executable", [&](int l, bool v) { memo->SetExecutable(l, v); }, [&](int l) { return memo->Executable(l); }},
        {"bookmark", [&](int l, bool v) { memo->SetBookmark(l, v); }, [&](int l) { return memo->Bookmark(l); }},
        {"wrapped", [&](int l, bool v) { memo->SetWrapped(l, v); }, [&](int l) { return memo->Wrapped(l); }},
    };
    for (const Mark& m : marks) {
        EXPECT_FALSE(m.get(1)) << m.name;
        m.set(1, true);
        EXPECT_TRUE(m.get(1)) << m.name;
        EXPECT_FALSE(m.get(0)) << m.name;
        m.set(7, true);  // outside the lines: nothing
        EXPECT_FALSE(m.get(7)) << m.name;
        EXPECT_FALSE(m.get(-1)) << m.name;
        m.set(1, false);
        EXPECT_FALSE(m.get(1)) << m.name;
    }
    memo->SetBreakPoint(0, true);
    memo->SetExecutable(2, true);
    memo->ClearBreakpoints();
    memo->ClearExecutableLines();
    EXPECT_FALSE(memo->BreakPoint(0));
    EXPECT_FALSE(memo->Executable(2));
    TStyle style;
    style.InBracket = 1;
    memo->SetLineStyle(2, style);
    TStyle back;
    EXPECT_TRUE(memo->GetLineStyle(2, back));
    EXPECT_EQ(back, style);
    memo->Lines()->Put(1, "changed");  // a change above drops it
    EXPECT_FALSE(memo->GetLineStyle(2, back));
    memo->SetLineStyle(2, style);
    memo->ClearLineStyles();
    EXPECT_FALSE(memo->GetLineStyle(2, back));
    EXPECT_FALSE(memo->GetLineStyle(9, back));
}

TEST_F(MemoTest, TextAtPositionsWithoutUndo)
{
    SetText({"abcdef"});
    memo->InsertTextAtXY("XY", 8, 0);
    EXPECT_EQ(Text(), "abcdef  XY");
    memo->DeleteTextAtXY(1, 0, 2);
    EXPECT_EQ(Text(), "adef  XY");
    memo->DeleteTextAtXY(1, 0, -4);
    memo->DeleteTextAtXY(1, 5, 1);
    EXPECT_EQ(Text(), "adef  XY");
    EXPECT_FALSE(memo->CanUndo());
}

// The logical number of a line (lines above it that are not continuations), asked in any
// order and after every kind of change, is what counting from the start gives.
TEST(LineStore, UnwrappedBeforeCountsAsFromTheStartAfterEveryChange)
{
    TExMemoStrings s;
    for (int i = 0; i < 60; ++i) {
        s.DoAdd("line " + std::to_string(i));
        if (i % 3 == 1 || i % 7 == 0) s.SetWrapped(i, true);
    }
    auto counted = [&](int index) {
        int n = 0;
        for (int i = 0; i < index; ++i) n += !s.IsWrapped(i);
        return n;
    };
    auto askAll = [&](const char* after) {
        SCOPED_TRACE(after);
        // Far and near, up and down: from either end and from the last answer.
        for (int index : {0, 59, 60, 30, 31, 29, 55, 3, 45, 44, 58, 1, 60, 20}) {
            index = std::min(index, s.Count());
            EXPECT_EQ(s.UnwrappedBefore(index), counted(index)) << index;
        }
    };
    askAll("filled");
    s.SetWrapped(40, true);
    askAll("one more continuation");
    s.SetWrapped(1, false);
    askAll("one continuation less");
    s.UnwrappedBefore(30);
    s.DoInsert(10, "new");
    askAll("a line inserted above the last answer");
    s.UnwrappedBefore(30);
    s.DoDelete(4);
    s.DoDelete(52);
    askAll("lines deleted");
    s.AssignEx(s.WorkLines());
    askAll("assigned again");
    s.ClearStrings();
    EXPECT_EQ(s.UnwrappedBefore(0), 0);
    EXPECT_EQ(s.UnwrappedBefore(5), 0);
}

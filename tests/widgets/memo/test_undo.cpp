// The undo list: entries, merging, undo and redo of every kind of edit, and the limit.
#include <gtest/gtest.h>

#include "MemoFixture.h"
#include "widgets/memo/UndoList.h"

using namespace memo;
using namespace platform;
using memotest::MemoTest;

namespace {

struct Case {
    const char* name;
    std::vector<std::string> text;
    int x, y;
    std::function<void(TExMemo*)> edit;
    const char* edited;
    int undos;  // steps that take the text back
};

}  // namespace

TEST_F(MemoTest, EditsUndoAndRedoAsATable)
{
    const std::vector<Case> cases = {
        {"typing merges", {"xy"}, 1, 0, [](TExMemo* m) { m->InsertChar('a'); m->InsertChar('b'); m->InsertChar('c'); }, "xabcy", 1},
        {"backspaces merge in reading order", {"abcdef"}, 5, 0,
         [](TExMemo* m) { m->BackSpace(); m->BackSpace(); m->BackSpace(); }, "abf", 1},
        {"forward deletes merge", {"abcdef"}, 1, 0,
         [](TExMemo* m) { m->DeleteChar(-1, 0); m->DeleteChar(-1, 0); m->DeleteChar(-1, 0); }, "aef", 1},
        {"backspace joins lines", {"ab", "cd"}, 0, 1, [](TExMemo* m) { m->BackSpace(); }, "abcd", 1},
        {"delete joins lines", {"ab", "cd"}, 2, 0, [](TExMemo* m) { m->DeleteChar(-1, 0); }, "abcd", 1},
        {"new line with indent", {"    one two"}, 8, 0, [](TExMemo* m) { m->NewLine(); }, "    one|    two", 1},
        {"delete middle line", {"a", "b", "c"}, 0, 1, [](TExMemo* m) { m->DeleteLine(); }, "a|c", 1},
        {"delete last line", {"a", "b", "c"}, 0, 2, [](TExMemo* m) { m->DeleteLine(); }, "a|b", 1},
        {"delete selection with line break", {"abc", "def"}, 0, 0,
         [](TExMemo* m) { m->SetSelection(0, 0, 0, 1); m->DeleteSelection(); }, "def", 1},
        {"paste lines", {"abcd"}, 2, 0, [](TExMemo* m) { m->InsertText("1\r\n2\r\n3"); }, "ab1|2|3cd", 1},
        {"typing over a selection", {"hello"}, 0, 0,
         [](TExMemo* m) { m->SetSelection(1, 0, 4, 0); m->SetSelText("X"); }, "hXo", 2},
    };
    for (const Case& c : cases) {
        SetText(c.text);
        memo->SetCursor(c.x, c.y);
        std::string before = Text();
        c.edit(memo);
        EXPECT_EQ(Text(), c.edited) << c.name;
        for (int i = 0; i < c.undos; ++i) memo->Undo();
        EXPECT_EQ(Text(), before) << c.name;
        EXPECT_FALSE(memo->CanUndo()) << c.name;
        for (int i = 0; i < c.undos; ++i) memo->Redo();
        EXPECT_EQ(Text(), c.edited) << c.name << " (redo)";
    }
}

TEST_F(MemoTest, TypingAfterUndoDropsTheRedo)
{
    SetText({""});
    Focus();
    Type("abc");
    memo->Undo();
    EXPECT_EQ(Text(), "");
    EXPECT_TRUE(memo->CanRedo());
    Type("x");
    EXPECT_EQ(Text(), "x");
    EXPECT_FALSE(memo->CanRedo());
    EXPECT_EQ(memo->UndoList()->Count(), 1);
}

TEST_F(MemoTest, UndoOfADeletedSelectionSelectsItAgain)
{
    SetText({"abc", "def"});
    memo->SetSelection(1, 0, 2, 1);
    memo->DeleteSelection();
    EXPECT_EQ(Text(), "af");
    memo->Undo();
    EXPECT_EQ(Text(), "abc|def");
    EXPECT_EQ(memo->SelText(), "bc\r\nde");
}

TEST_F(MemoTest, UndoChangeReportsBothStates)
{
    SetText({""});
    std::vector<std::pair<bool, bool>> seen;
    memo->OnUndoChange = [&](TObject*, bool u, bool r) { seen.emplace_back(u, r); };
    memo->InsertChar('a');
    memo->Undo();
    memo->Redo();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], std::make_pair(true, false));
    EXPECT_EQ(seen[1], std::make_pair(false, true));
    EXPECT_EQ(seen[2], std::make_pair(true, false));
}

TEST_F(MemoTest, TheLimitDropsTheOldestEntry)
{
    SetText({"", "", ""});
    for (int i = 0; i < 101; ++i) {
        memo->SetCursor(0, i % 3);  // a caret jump keeps entries apart
        memo->InsertChar('a');
    }
    EXPECT_EQ(memo->UndoList()->Count(), 100);
}

TEST(UndoList, LimitIsClampedAndANewLimitClearsTheList)
{
    struct Row {
        int set, expected;
    };
    for (const Row& r : std::vector<Row>{{0, 10}, {-5, 10}, {500, 100}, {40, 40}}) {
        TExUndoList list;
        list.Add(std::make_unique<TPasteUndo>(0, 0, 1, 0, "a"));
        list.SetLimit(r.set);
        EXPECT_EQ(list.Limit(), r.expected) << r.set;
        EXPECT_EQ(list.Count(), r.expected == 100 && r.set == 500 ? 0 : 0);
    }
}

TEST(UndoList, MergingFollowsTheCaretAndTheKind)
{
    TExUndoList list;
    EXPECT_EQ(list.Add(std::make_unique<TInsertCharUndo>(0, 0, 1, 0, "a")), 0);
    EXPECT_EQ(list.Add(std::make_unique<TInsertCharUndo>(1, 0, 2, 0, "b")), -1);  // merged
    EXPECT_EQ(list.Add(std::make_unique<TInsertCharUndo>(5, 0, 6, 0, "c")), 0);   // elsewhere
    EXPECT_EQ(list.Add(std::make_unique<TDeleteCharUndo>(6, 0, 5, 0, "c", true)), 0);
    EXPECT_EQ(list.Add(std::make_unique<TDeleteCharUndo>(5, 0, 4, 0, "x", false)), 0);  // other direction
    EXPECT_EQ(list.Add(std::make_unique<TDeleteCharUndo>(4, 0, 3, 0, "y", false)), -1);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Get(3)->FText, "ab");
    EXPECT_EQ(list.Get(0)->FText, "yx");
}

TEST_F(MemoTest, UndoLimitPropertyClampsToOneThroughAHundred)
{
    memo->SetUndoLimit(0);
    EXPECT_EQ(memo->UndoLimit(), 1);
    memo->SetUndoLimit(500);
    EXPECT_EQ(memo->UndoLimit(), 100);
}

TEST_F(MemoTest, ModifiedFollowsTheUndoList)
{
    SetText({""});
    EXPECT_FALSE(memo->Modified());
    memo->InsertChar('a');
    EXPECT_TRUE(memo->Modified());
    memo->SetModified(false);
    EXPECT_FALSE(memo->Modified());
    EXPECT_FALSE(memo->CanUndo());
}

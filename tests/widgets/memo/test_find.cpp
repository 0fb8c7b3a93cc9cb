// Searching, and the find and replace dialogs bound to an editor.
#include <gtest/gtest.h>

#include "MemoFixture.h"
#include "base/Exception.h"
#include "base/StrUtils.h"
#include "platform/forms/Dialogs.h"
#include "widgets/memo/MemoFind.h"

using namespace memo;
using namespace platform;
using memotest::MemoTest;

namespace {

struct FindCase {
    const char* what;
    std::string search;
    TFindOptions options;
    TPoint caret;          // column, line
    TPoint selFrom, selTo;  // a selection when they differ
    int line, col;         // -1: not found
};

class Messages {
public:
    Messages()
    {
        old_ = SetMessageBoxHook([this](const TMessageBoxRequest& r) {
            shown.push_back(r.Text);
            return int(mrOk);
        });
    }
    ~Messages() { SetMessageBoxHook(old_); }
    std::vector<std::string> shown;

private:
    TMessageBoxHook old_;
};

}  // namespace

TEST_F(MemoTest, FindTextFollowsCaseWholeWordsDirectionAndSelection)
{
    const FindCase cases[] = {
        {"ignores case", "hello", frDown, {0, 0}, {}, {}, 0, 0},
        {"matches case", "hello", frDown | frMatchCase, {0, 0}, {}, {}, 0, 12},
        {"capitals with case", "HELLO", frDown | frMatchCase, {0, 0}, {}, {}, 1, 4},
        {"whole word passes a word that holds it", "hello", frDown | frWholeWord, {0, 2}, {}, {}, 2, 11},
        {"whole word, none on the lines left", "world", frDown | frWholeWord, {0, 2}, {}, {}, -1, -1},
        {"upward takes the last in a line", "hello", 0, {5, 2}, {}, {}, 2, 11},
        {"upward to lines above", "there", 0, {0, 2}, {}, {}, 1, 10},
        {"down after a one-line selection", "hello", frDown, {5, 0}, {0, 0}, {5, 0}, 0, 12},
        {"up before a one-line selection", "hello", 0, {17, 0}, {12, 0}, {17, 0}, 0, 0},
        {"not there", "xyz", frDown, {0, 0}, {}, {}, -1, -1},
        {"empty text", "", frDown, {0, 0}, {}, {}, -1, -1},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetText({"Hello world hello", "say HELLO there", "helloworld hello"});
        memo->SetCursor(c.caret.X, c.caret.Y);
        if (c.selFrom != c.selTo) memo->SetSelection(c.selFrom.X, c.selFrom.Y, c.selTo.X, c.selTo.Y);
        const int at = memo->FindText(c.search, c.options);
        if (c.line < 0) {
            EXPECT_EQ(at, -1);
            EXPECT_FALSE(memo->HasSelection());
            continue;
        }
        EXPECT_EQ(at, memo->TextFromPos(c.col, c.line));
        EXPECT_EQ(memo->CurY(), c.line);
        EXPECT_EQ(memo->CurX(), c.col);
        EXPECT_EQ(base::LowerCase(memo->SelText()), base::LowerCase(c.search));
    }
}

TEST(LastOccurrence, CountsOverlapsAndEdges)
{
    EXPECT_EQ(LastOccurrence("aa", "aaa"), 2);
    EXPECT_EQ(LastOccurrence("abc", "abc"), 1);
    EXPECT_EQ(LastOccurrence("abcd", "abc"), 0);
    EXPECT_EQ(LastOccurrence("b", "abcb"), 4);
    EXPECT_EQ(LastOccurrence("x", "abc"), 0);
}

TEST_F(MemoTest, ReplaceAllIsOneUndoStep)
{
    SetText({"cat and cat", "no dog", "cat"});
    TExMemoFindReplaceDialog dlg(owner.get());
    dlg.SetExMemo(memo);
    dlg.SetFindText("cat");
    dlg.SetReplaceText("tiger");
    ASSERT_TRUE(dlg.Execute());
    EXPECT_TRUE(memo->FindDialogOpen);
    auto* rd = static_cast<TReplaceDialog*>(dlg.Dialog());
    rd->SetOptions(frDown);
    Messages msgs;
    rd->ReplaceAll();
    EXPECT_EQ(Text(), "tiger and tiger|no dog|tiger");
    EXPECT_TRUE(msgs.shown.empty());
    EXPECT_EQ(memo->UndoList()->Count(), 1);
    memo->Undo();
    EXPECT_EQ(Text(), "cat and cat|no dog|cat");
    memo->Redo();
    EXPECT_EQ(Text(), "tiger and tiger|no dog|tiger");
    dlg.Dialog()->CloseDialog();
    EXPECT_FALSE(memo->FindDialogOpen);
}

TEST_F(MemoTest, ReplaceAllKeepsWholeWordsAndCase)
{
    SetText({"Cat cat category cat"});
    TExMemoFindReplaceDialog dlg(owner.get());
    dlg.SetExMemo(memo);
    dlg.SetFindText("cat");
    dlg.SetReplaceText("dog");
    dlg.Execute();
    auto* rd = static_cast<TReplaceDialog*>(dlg.Dialog());
    rd->SetOptions(frDown | frWholeWord | frMatchCase);
    rd->ReplaceAll();
    EXPECT_EQ(Text(), "Cat dog category dog");
}

TEST_F(MemoTest, ReplaceAllStopsWhenTheReplacementHoldsTheSearch)
{
    SetText({"a b a"});
    TExMemoFindReplaceDialog dlg(owner.get());
    dlg.SetExMemo(memo);
    dlg.SetFindText("a");
    dlg.SetReplaceText("aa");
    dlg.Execute();
    static_cast<TReplaceDialog*>(dlg.Dialog())->ReplaceAll();
    EXPECT_EQ(Text(), "aa b a");  // the next search found the same place again
}

TEST_F(MemoTest, ReplaceAllWithoutMatchesChangesNothingAndSaysNothing)
{
    SetText({"one two"});
    TExMemoFindReplaceDialog dlg(owner.get());
    dlg.SetExMemo(memo);
    dlg.SetFindText("three");
    dlg.Execute();
    Messages msgs;
    static_cast<TReplaceDialog*>(dlg.Dialog())->ReplaceAll();
    EXPECT_EQ(Text(), "one two");
    EXPECT_TRUE(msgs.shown.empty());
    EXPECT_EQ(memo->UndoList()->Count(), 0);
}

TEST_F(MemoTest, SingleReplaceSelectsTheNextAndReportsTheEndOnce)
{
    SetText({"cat cat"});
    TExMemoFindReplaceDialog dlg(owner.get());
    dlg.SetExMemo(memo);
    dlg.SetFindText("cat");
    dlg.SetReplaceText("dog");
    dlg.Execute();
    auto* rd = static_cast<TReplaceDialog*>(dlg.Dialog());
    Messages msgs;
    rd->Replace();  // nothing selected: finds the first
    EXPECT_EQ(memo->SelText(), "cat");
    EXPECT_EQ(memo->SelStart(), 0);
    rd->Replace();  // replaces it and selects the next
    EXPECT_EQ(Text(), "dog cat");
    EXPECT_EQ(memo->SelStart(), 4);
    rd->Replace();
    EXPECT_EQ(Text(), "dog dog");
    EXPECT_EQ(msgs.shown, std::vector<std::string>{"Text not found"});
}

TEST_F(MemoTest, FindDialogFindsFocusesAndReportsNotFound)
{
    SetText({"alpha beta", "gamma"});
    TExMemoFindDialog dlg(owner.get());
    dlg.SetExMemo(memo);
    int done = 0;
    dlg.OnFindDone = [&](TObject*) { ++done; };
    dlg.SetFindText("gamma");
    EXPECT_EQ(dlg.FindText(), "");  // the dialog's text until Execute puts it in
    dlg.Execute();
    EXPECT_EQ(dlg.FindText(), "gamma");
    Messages msgs;
    dlg.Dialog()->FindNext();
    EXPECT_EQ(memo->SelText(), "gamma");
    EXPECT_EQ(done, 0);
    dlg.Dialog()->SetFindText("delta");
    dlg.Dialog()->FindNext();
    EXPECT_EQ(done, 1);
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0], "Finished searching the document. The search item was not found.");
    dlg.NotFoundMessage = "No %s here";
    dlg.Dialog()->FindNext();
    EXPECT_EQ(msgs.shown.back(), "No delta here");
    dlg.NotFoundMessage = "No %d here";  // a specifier that takes no text is refused
    EXPECT_THROW(dlg.Dialog()->FindNext(), base::EConvertError);
}

TEST_F(MemoTest, FindDialogNeedsAnEditor)
{
    TExMemoFindDialog dlg(owner.get());
    try {
        dlg.Execute();
        FAIL() << "no error";
    } catch (const base::Exception& e) {
        EXPECT_STREQ(e.what(), "No memo assigned.");
    }
    dlg.SetExMemo(memo);
    delete memo;  // the dialog forgets it
    memo = nullptr;
    EXPECT_EQ(dlg.ExMemo(), nullptr);
}

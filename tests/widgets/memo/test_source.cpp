// Documents shown through sources, line markers and checkers.
#include <gtest/gtest.h>

#include "MemoFixture.h"
#include "base/Exception.h"
#include "base/StringList.h"
#include "platform/system/Clipboard.h"
#include "widgets/memo/MemoActions.h"
#include "widgets/memo/MemoMarkers.h"
#include "widgets/memo/MemoSource.h"

using namespace memo;
using namespace platform;
using memotest::MemoTest;

TEST_F(MemoTest, SourceLendsItsDocumentAndKeepsItsViewAndHistory)
{
    SetText({"own text"});
    auto* src = new TExMemoSource(owner.get());
    base::TStringList doc;
    doc.Add("first line");
    doc.Add("second line");
    src->SetLines(doc);
    memo->SetMemoSource(src);
    EXPECT_EQ(src->Memo(), memo);
    EXPECT_EQ(Text(), "first line|second line");
    Focus();
    memo->SetCursor(0, 1);
    Type("my ");
    EXPECT_EQ(src->Lines()->Get(1), "my second line");
    EXPECT_TRUE(src->Modified());
    memo->SetBookmarks(2, 1);
    memo->SetMemoSource(nullptr);
    EXPECT_EQ(src->Memo(), nullptr);
    EXPECT_EQ(Text(), "own text");
    EXPECT_FALSE(memo->CanUndo());
    EXPECT_TRUE(src->Modified());  // from its own undo list while detached
    src->SetModified(false);       // no effect while detached
    EXPECT_TRUE(src->Modified());
    EXPECT_EQ(src->SavedState().CurX, 3);
    EXPECT_EQ(src->SavedState().CurY, 1);
    memo->SetBookmarks(2, -1);
    src->SetMemo(memo);  // from the source's side
    EXPECT_EQ(memo->MemoSource(), src);
    EXPECT_EQ(memo->CurX(), 3);
    EXPECT_EQ(memo->CurY(), 1);
    EXPECT_EQ(memo->GetBookmarks(2), 1);
    memo->Undo();
    EXPECT_EQ(Text(), "first line|second line");
    delete src;  // the editor goes back to its own document
    EXPECT_EQ(memo->MemoSource(), nullptr);
    EXPECT_EQ(Text(), "own text");
}

TEST_F(MemoTest, ASourceNeverDetachedLeavesTheBookmarksAndReadOnlyTravels)
{
    memo->SetBookmarks(0, 0);
    TExMemoSource a(owner.get()), b(owner.get());
    a.SetReadOnly(true);
    memo->SetMemoSource(&a);
    EXPECT_EQ(memo->GetBookmarks(0), 0);
    EXPECT_TRUE(memo->ReadOnly);
    memo->SetMemoSource(&b);  // a detaches, b attaches
    EXPECT_EQ(a.Memo(), nullptr);
    EXPECT_TRUE(a.ReadOnly());
    EXPECT_FALSE(memo->ReadOnly);
    memo->SetMemoSource(nullptr);
}

TEST_F(MemoTest, SourceUndoListHoldsItsOwnCopiesOfTheEntries)
{
    SetText({"abc"});
    Focus();
    memo->SetCursor(3, 0);
    Type("de");
    memo->SetCursor(0, 0);
    Type("f");
    const int n = memo->UndoList()->Count();
    ASSERT_GE(n, 2);
    TExMemoSource src(owner.get());
    src.SetUndoList(*memo->UndoList());
    EXPECT_EQ(src.UndoList()->Count(), n);
    for (int i = 0; i < n; ++i) EXPECT_NE(src.UndoList()->Get(i), memo->UndoList()->Get(i));
    memo->ClearUndoList();  // freeing the editor's entries leaves the source's intact
    EXPECT_EQ(src.UndoList()->Count(), n);
    EXPECT_EQ(src.UndoList()->Get(0)->FText, "f");
}

TEST_F(MemoTest, MarkersAreKeptPerLineAndMoveWithTheText)
{
    SetText({"zero", "one", "two", "three"});
    std::vector<int> added;
    memo->OnMarkerAdded = [&](TObject*, int line, const std::string&) { added.push_back(line); };
    memo->AddMarker(1, 4, "here");
    memo->AddMarker(1, 9, "again");  // the first marker of a line stays
    memo->AddMarker(3, 2);
    EXPECT_EQ(added, (std::vector<int>{1, 3}));
    TExMarkers& m = memo->MarkerList()->Markers();
    EXPECT_EQ(m.GetMarkerCount(), 2);
    EXPECT_EQ(m.GetMarkerImageIndex(1), 4);
    EXPECT_EQ(m.GetMarkerAtLine(1)->Text, "here");
    EXPECT_EQ(m.GetMarkerImageIndex(2), -1);
    EXPECT_TRUE(m.HigherMarkerThanLine(2));
    EXPECT_FALSE(m.HigherMarkerThanLine(3));
    Focus();
    memo->SetCursor(2, 0);
    SendChar(memo, '\r');  // a new line below line 0 moves both down
    EXPECT_TRUE(m.MarkerAtLine(2));
    EXPECT_TRUE(m.MarkerAtLine(4));
    memo->SetCursor(0, 1);
    Key(VK_BACK);  // joining lines 0 and 1 moves them up again
    EXPECT_TRUE(m.MarkerAtLine(1));
    EXPECT_TRUE(m.MarkerAtLine(3));
    m.AdjustMarkerLineMinus(3);  // also the marker on the line itself
    EXPECT_TRUE(m.MarkerAtLine(2));
    memo->SetCursor(0, 2);
    memo->DeleteLine();
    EXPECT_FALSE(m.MarkerAtLine(2));
    EXPECT_EQ(m.GetMarkerCount(), 1);
    memo->GoToMarker(0);
    EXPECT_EQ(memo->CurY(), 1);
    EXPECT_THROW(memo->GoToMarker(5), base::Exception);
    EXPECT_THROW(memo->GoToMarkerName("none"), base::Exception);
    TExMarkers copy;
    EXPECT_TRUE(m.GetMarkers(copy));
    EXPECT_EQ(copy.Items(0)->DisplayName(), "here");
    memo->ClearAllMarkers();
    EXPECT_FALSE(m.HasMarkers());
}

TEST_F(MemoTest, CapitalCheckerCapitalisesSentenceStartsOnEnter)
{
    SetText({"a. b.  c"});
    TExMemoCapitalChecker checker(owner.get());
    EXPECT_THROW(checker.CorrectAllLines(), base::Exception);  // needs an editor
    memo->SetMemoChecker(&checker);
    EXPECT_EQ(checker.Memo(), memo);
    checker.CorrectAllLines();
    EXPECT_EQ(Text(), "A. B.  c");
    SetText({"well. it works"});
    Focus();
    memo->SetCursor(14, 0);
    SendChar(memo, '\r');
    EXPECT_EQ(memo->Lines()->Get(0), "Well. It works");
    EXPECT_EQ(TExMemoChecker::ReplaceOnce("a-b-c", "-", "+"), "a+b-c");
    EXPECT_EQ(TExMemoChecker::ReplaceOnce("abc", "x", "+"), "abc");
}

TEST_F(MemoTest, ActionsServeTheFocusedEditor)
{
    SetText({"keel and hull"});
    Focus();
    memo->SetSelection(0, 0, 4, 0);
    TExMemoCopy copy(owner.get());
    TExMemoDelete del(owner.get());
    TExMemoUndo undo(owner.get());
    TExMemoSelectAll all(owner.get());
    platform::TActionList list(owner.get());
    for (platform::TBasicAction* a : std::initializer_list<platform::TBasicAction*>{&copy, &del, &undo, &all}) list.Add(a);
    list.UpdateActions();
    EXPECT_TRUE(copy.Enabled());
    EXPECT_FALSE(undo.Enabled());
    EXPECT_TRUE(all.Enabled());
    EXPECT_TRUE(copy.Execute());
    EXPECT_EQ(platform::Clipboard()->AsText(), "keel");
    EXPECT_TRUE(del.Execute());  // the selection goes, the text stays
    EXPECT_EQ(Text(), "keel and hull");
    EXPECT_FALSE(memo->HasSelection());
    list.UpdateActions();
    EXPECT_FALSE(copy.Enabled());
    EXPECT_FALSE(copy.Execute());
    auto* other = new TExMemo(owner.get());
    copy.SetControl(other);
    EXPECT_FALSE(copy.HandlesTarget(memo));
    delete other;
    EXPECT_EQ(copy.Control(), nullptr);
    EXPECT_THROW(copy.GetControl(owner.get()), base::Exception);
}

TEST(StylerList, TheEditorFindsTheStylersBesideItAndForgetsFreedOnes)
{
    platform::EnsurePlatform();
    platform::TComponent form(nullptr);
    auto* a = new TExCustomMemoStyler(&form);
    auto* b = new TExCustomMemoStyler(&form);
    auto* m = new TExMemo(&form);
    EXPECT_EQ(m->StylerList()->Stylers(), (std::vector<TExCustomMemoStyler*>{a, b}));
    m->SearchForStylers();  // no duplicates
    EXPECT_EQ(m->StylerList()->Stylers().size(), 2u);
    delete a;
    EXPECT_EQ(m->StylerList()->Stylers(), std::vector<TExCustomMemoStyler*>{b});
}

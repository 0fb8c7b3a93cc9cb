// Cell checkers: the capital checker's rule, the tag-aware helpers, checking cells on request
// and the checker's part in validating an edit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GridWindow.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExGridCheck.h"
#include "widgets/grid/ExInplaceEdit.h"

using namespace platform;
using namespace grid;

namespace {

// Marks every "teh" with the error tag and counts the calls it gets.
struct TypoCheck : TExStringGridCheck {
    using TExStringGridCheck::TExStringGridCheck;
    int starts = 0, stops = 0;
    std::string MarkError(int, int, const std::string& Value) override { return HiLight(Value, "teh", "e", false); }
    void StartCheck() override { ++starts; }
    void StopCheck() override { ++stops; }
};

struct CheckTest : ::testing::Test, gridtest::GridWindow {
    void SetUp() override { ASSERT_TRUE(OpenEditing(420, 300, 4, 5, false)); }
    void TearDown() override { Close(); }
};

}  // namespace

TEST(CapitalCheck, CapitalisesTheTextAndEachSentenceAfterExactlyOneBlank)
{
    TCapitalCheck check(nullptr);
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"one. two", "One. Two"},     // two sentences, one blank
        {"one.  two", "One.  two"},   // two blanks: only the first letter
        {"a! b? c. d", "A! B? C. D"},
        {"x.y", "X.y"},                // no blank after the stop
        {"", ""},
        {"1a. é b", "1a. é b"},        // digits and non-ASCII letters stay
        {"already. Upper", "Already. Upper"},
    };
    for (const Case& k : cases) EXPECT_EQ(check.Correct(0, 0, k.in), k.out) << k.in;
    TExStringGridCheck plain(nullptr);
    EXPECT_EQ(plain.Correct(1, 1, "one. two"), "one. two");
    EXPECT_EQ(plain.MarkError(1, 1, "one. two"), "one. two");
}

TEST(CapitalCheck, ReplaceOnceAndHiLightWorkOnTaggedText)
{
    EXPECT_EQ(TExStringGridCheck::ReplaceOnce("a-b-c", "-", "+"), "a+b-c");
    EXPECT_EQ(TExStringGridCheck::ReplaceOnce("abc", "x", "+"), "abc");
    EXPECT_EQ(TExStringGridCheck::ReplaceOnce("abc", "", "+"), "abc");
    // the same word once bold and once plain: both wrapped, the bold one outside its tag
    EXPECT_EQ(TExStringGridCheck::HiLight("<b>word</b> and word", "word", "hi", true),
              "<hi><b>word</hi></b> and <hi>word</hi>");
    EXPECT_EQ(TExStringGridCheck::HiLight("Word", "word", "hi", true), "Word");
    EXPECT_EQ(TExStringGridCheck::HiLight("Word", "word", "hi", false), "<hi>Word</hi>");
}

TEST_F(CheckTest, CheckCellCorrectsThenMarksAndSaysWhetherTheTextChanged)
{
    TypoCheck* check = new TypoCheck(form);
    check->UseCorrect = true;
    EXPECT_TRUE(g->CheckCell(1, 1));  // no checker yet: nothing to do
    g->SetCellChecker(check);
    g->SetCells(1, 1, "teh end. it was");
    g->SetCells(2, 1, "Fine");
    EXPECT_TRUE(g->CheckCell(2, 1));
    EXPECT_TRUE(g->CheckCell(1, 1));  // the base Correct changes nothing
    check->UseMarkError = true;
    EXPECT_FALSE(g->CheckCell(1, 1));
    EXPECT_EQ(g->Cells(1, 1), "<e>teh</e> end. it was");
}

TEST_F(CheckTest, CapitalCheckWithBothStepsWritesTheMarkedCorrection)
{
    auto* check = new TCapitalCheck(form);
    check->UseCorrect = check->UseMarkError = true;
    g->SetCellChecker(check);
    g->SetCells(2, 2, "one. two");
    EXPECT_FALSE(g->CheckCell(2, 2));
    EXPECT_EQ(g->Cells(2, 2), "One. Two");
}

TEST_F(CheckTest, CheckRangesVisitEveryCellOnceWithOneStartAndStop)
{
    auto* check = new TypoCheck(form);
    check->UseMarkError = true;
    check->GotoCell = true;
    g->SetCellChecker(check);
    g->SetCells(0, 2, "teh fixed");
    g->SetCells(1, 2, "teh");
    g->SetCells(3, 2, "ok");
    g->SetCol(2);
    g->SetRow(3);
    EXPECT_FALSE(g->CheckRow(false, 2));
    EXPECT_EQ(check->starts, 1);
    EXPECT_EQ(check->stops, 1);
    EXPECT_EQ(g->Cells(1, 2), "<e>teh</e>");
    EXPECT_EQ(g->Cells(0, 2), "teh fixed");  // a fixed cell only with DoFixed
    EXPECT_EQ(g->Col(), 2);                   // back where it was
    EXPECT_EQ(g->Row(), 3);
    EXPECT_TRUE(g->CheckCol(false, 3));       // nothing to mark
    EXPECT_FALSE(g->CheckGrid(true));
    EXPECT_EQ(g->Cells(0, 2), "<e>teh</e> fixed");
    EXPECT_EQ(check->starts, 3);
}

TEST_F(CheckTest, ValidatedEditsAreCorrectedAndMarkedAndAFreedCheckerIsForgotten)
{
    auto* check = new TCapitalCheck(form);
    g->SetCellChecker(check);
    std::vector<std::string> seen;
    g->OnCellValidate = [&](TObject*, int, int, std::string& v, bool&) { seen.push_back(v); };
    auto edit = [&](const std::string& v) {
        g->SetCol(1);
        g->SetRow(1);
        SendKey(g, VK_F2);
        ASSERT_TRUE(g->InplaceEditor() && g->InplaceEditor()->Visible());
        g->InplaceEditor()->SetText(v);
        SendKey(g->InplaceEditor(), VK_RETURN);
    };
    edit("one. two");
    EXPECT_EQ(g->Cells(1, 1), "one. two");  // AutoCorrect is off
    check->AutoCorrect = true;
    edit("three. four");
    EXPECT_EQ(g->Cells(1, 1), "Three. Four");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], "Three. Four");  // the handler sees the corrected text
    delete check;
    EXPECT_EQ(g->CellChecker(), nullptr);
    edit("five. six");
    EXPECT_EQ(g->Cells(1, 1), "five. six");
}

TEST_F(CheckTest, AutoMarkErrorMarksAfterTheValidationHandler)
{
    auto* check = new TypoCheck(form);
    check->AutoMarkError = true;
    g->SetCellChecker(check);
    std::string seen;
    g->OnCellValidate = [&](TObject*, int, int, std::string& v, bool&) { seen = v; };
    g->SetCol(2);
    g->SetRow(2);
    SendKey(g, VK_F2);
    ASSERT_TRUE(g->InplaceEditor() && g->InplaceEditor()->Visible());
    g->InplaceEditor()->SetText("teh cat");
    SendKey(g->InplaceEditor(), VK_RETURN);
    EXPECT_EQ(seen, "teh cat");
    EXPECT_EQ(g->Cells(2, 2), "<e>teh</e> cat");
}

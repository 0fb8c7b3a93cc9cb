// Hints under the mouse: the word or token there gives the hint.
#include <gtest/gtest.h>

#include "MemoFixture.h"
#include "platform/forms/Forms.h"

using namespace memo;
using namespace platform;
using memotest::MemoTest;

namespace {

class HintTest : public MemoTest {
protected:
    void SetUp() override
    {
        MemoTest::SetUp();
        SetText({"alpha beta gamma", "delta"});
        memo->SetHint("plain hint");
        memo->SetShowHint(true);
    }
    void TearDown() override
    {
        Application->CancelHint();
        Application->HintPause = 500;
        MemoTest::TearDown();
    }
    // The middle of the character at text column col of line row, in client coordinates.
    TPoint At(int col, int row) const
    {
        const TRect r = memo->CellRect(col - memo->LeftCol(), row - memo->TopLine());
        return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    std::string Shown() const
    {
        THintWindow* w = Application->HintWindow();
        return w && w->Shown() ? w->Caption() : std::string("(none)");
    }
};

}  // namespace

TEST_F(HintTest, TheWordOrTokenAtTheMouseGivesTheHint)
{
    std::vector<std::string> asked;
    memo->OnHintForWord = [&](TObject* sender, int x, int y, const std::string& word, std::string& hint, bool& show) {
        EXPECT_EQ(sender, memo);
        asked.push_back(std::to_string(x) + "," + std::to_string(y) + " " + word + " " + hint);
        hint = "word: " + word;
        show = word != "delta";
    };
    EXPECT_TRUE(Application->ActivateHintFor(memo, At(7, 0)));
    EXPECT_EQ(Shown(), "word: beta");
    EXPECT_EQ(memo->HintCell(), Point(7, 0));
    EXPECT_EQ(asked, std::vector<std::string>{"7,0 beta beta"});
    // The handler may refuse: nothing shows.
    EXPECT_FALSE(Application->ActivateHintFor(memo, At(2, 1)));
    EXPECT_EQ(Shown(), "(none)");
    EXPECT_EQ(memo->HintCell(), Point(2, 1));

    // Without a word handler the token handler is asked, with the token there.
    memo->OnHintForWord = nullptr;
    std::string token;
    memo->OnHintForToken = [&](TObject*, int, int, const std::string& t, std::string& hint, bool&) {
        token = t;
        hint = "token: " + t;
    };
    EXPECT_TRUE(Application->ActivateHintFor(memo, At(12, 0)));
    EXPECT_EQ(token, memo->TokenAtXY(12, 0));
    EXPECT_EQ(Shown(), "token: " + token);

    // Without either, or past the end of the text, the control's own hint shows.
    memo->OnHintForToken = nullptr;
    EXPECT_TRUE(Application->ActivateHintFor(memo, At(1, 0)));
    EXPECT_EQ(Shown(), "plain hint");
}

TEST_F(HintTest, MovingToAnotherWordAsksAgain)
{
    memo->OnHintForWord = [](TObject*, int, int, const std::string& word, std::string& hint, bool&) { hint = "<" + word + ">"; };
    Application->HintPause = 1;
    Application->CancelHint();
    TPoint p = At(1, 0);
    HostMouse(memo, hmMove, mbLeft, p.X, p.Y);
    ASSERT_TRUE(ProcessUntil([&] { return Shown() == "<alpha>"; }));
    p = At(3, 1);
    HostMouse(memo, hmMove, mbLeft, p.X, p.Y);
    HostMouse(memo, hmMove, mbLeft, p.X + 1, p.Y);
    ASSERT_TRUE(ProcessUntil([&] { return Shown() == "<delta>"; }));
    EXPECT_EQ(memo->HintCell(), Point(3, 1));
}

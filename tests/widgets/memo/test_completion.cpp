// The completion list and the parameter hint.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "MemoFixture.h"
#include "platform/forms/Forms.h"
#include "widgets/memo/AutoCompletion.h"

using namespace memo;
using namespace platform;
using memotest::MemoTest;

namespace {

class CompletionTest : public MemoTest {
protected:
    void SetUp() override
    {
        MemoTest::SetUp();
        styler = new TExCustomMemoStyler(owner.get());
        memo->SetSyntaxStyles(styler);
        styler->HintParameter.Parameters.Add("alert(message)");
        styler->HintParameter.Parameters.Add("prompt(message,defaultvalue)");
        Focus();
    }
    void Offer(const std::vector<std::pair<std::string, int>>& entries)
    {
        for (const auto& [text, kind] : entries)
            styler->listAuto.AddObject(text, reinterpret_cast<void*>(std::intptr_t(kind)));
    }
    std::vector<std::string> Shown() const
    {
        std::vector<std::string> out;
        const auto& items = memo->Completion()->List->Items();
        for (int i = 0; i < items.Count(); ++i) out.push_back(items.Get(i));
        return out;
    }
    void ListKey(Word vk, TShiftState shift = 0) { memo->ListKeyDown(vk, shift); }
    TExCustomMemoStyler* styler = nullptr;
};

}  // namespace

TEST_F(CompletionTest, CtrlSpaceOffersTheMatchingWordsAndEnterTakesOne)
{
    Offer({{"alert", 0}, {"confirm", 0}, {"prompt", 0}});
    SetText({""});
    Type("c");
    Key(VK_SPACE, ssCtrl);
    ASSERT_TRUE(memo->CompletionVisible());
    EXPECT_EQ(Shown(), std::vector<std::string>{"confirm"});
    EXPECT_EQ(Text(), "c");  // the Ctrl+Space typed no blank
    ListKey(VK_RETURN);
    EXPECT_FALSE(memo->CompletionVisible());
    EXPECT_EQ(Text(), "confirm");
    EXPECT_EQ(memo->CurX(), 7);
}

TEST_F(CompletionTest, TypingNarrowsTheListAndEscapeLeavesTheText)
{
    Offer({{"alpha", 0}, {"alpine", 0}, {"beta", 0}});
    SetText({""});
    Key(VK_SPACE, ssCtrl);
    ASSERT_TRUE(memo->CompletionVisible());
    EXPECT_EQ(Shown().size(), 3u);
    ListKey('A');
    EXPECT_EQ(Shown(), (std::vector<std::string>{"alpha", "alpine"}));
    for (Word k : {'L', 'P', 'I'}) ListKey(k);
    EXPECT_EQ(Shown(), std::vector<std::string>{"alpine"});
    EXPECT_EQ(Text(), "alpi");
    ListKey(VK_ESCAPE);
    EXPECT_FALSE(memo->CompletionVisible());
    EXPECT_EQ(Text(), "alpi");
}

TEST_F(CompletionTest, AFunctionEntryInsertsBracketsAndShowsItsParameter)
{
    Offer({{"function alert(message)", 5}, {"var answer", 1}});
    SetText({"x = al"});
    memo->SetCursor(6, 0);
    Key(VK_SPACE, ssCtrl);
    ASSERT_TRUE(memo->CompletionVisible());
    EXPECT_EQ(Shown(), std::vector<std::string>{"function alert(message)"});
    TAutoCompletionListBox& list = *memo->Completion()->List;
    EXPECT_EQ(list.KindColors[5], memo->AutoCompletion()->ColorFunc);
    EXPECT_GT(list.AutoAdaptWidth(), 100);
    auto picture = PaintToBitmap(memo->Completion()->Window);
    ASSERT_TRUE(picture);
    if (const char* dir = std::getenv("KORVELO_LOOK_DIR")) picture->SaveToFile(std::string(dir) + "/completion.bmp");
    ListKey(VK_RETURN);
    EXPECT_EQ(Text(), "x = alert()");
    EXPECT_EQ(memo->CurX(), 10);  // between the brackets
    ASSERT_TRUE(memo->HintVisible());
    const TCompletionPopup& p = *memo->Completion();
    EXPECT_EQ(p.Parts[0], "");
    EXPECT_EQ(p.Parts[1], "message");
    EXPECT_EQ(p.BoldPart, 2);
}

TEST_F(CompletionTest, HintBoldsTheParameterAfterTheDelimitersLeftOfTheCaret)
{
    SetText({"prompt(x, "});
    memo->SetCursor(10, 0);
    Key(VK_SPACE, ssCtrl | ssShift);
    ASSERT_TRUE(memo->HintVisible());
    const TCompletionPopup& p = *memo->Completion();
    EXPECT_EQ(p.Parts[0], "message,");
    EXPECT_EQ(p.Parts[1], "defaultvalue");
    EXPECT_EQ(p.BoldPart, 2);
    Key(VK_HOME);  // a key without Ctrl moves the caret where no call is open: the hint goes
    EXPECT_FALSE(memo->HintVisible());
    memo->SetAutoHintParameters(hpNone);
    memo->SetCursor(10, 0);
    Key(VK_SPACE, ssCtrl | ssShift);
    EXPECT_FALSE(memo->HintVisible());
}

TEST_F(CompletionTest, NothingOpensWhenReadOnlyOrInactive)
{
    Offer({{"alpha", 0}});
    SetText({""});
    memo->AutoCompletion()->Active = false;
    Key(VK_SPACE, ssCtrl);
    EXPECT_FALSE(memo->CompletionVisible());
    memo->AutoCompletion()->Active = true;
    memo->ReadOnly = true;
    memo->ShowForm();
    EXPECT_FALSE(memo->CompletionVisible());
}

// The completion list and the parameter hint.
#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstdlib>

#include "MemoFixture.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/ImageList.h"
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

TEST_F(CompletionTest, KindPicturesComeFromTheListOrAnImageList)
{
    Offer({{"var answer", 1}, {"property caption", 2}, {"event onclick", 3}, {"method run()", 4},
           {"function alert(message)", 5}, {"procedure stop()", 6}, {"plain", 0}});
    SetText({""});
    memo->AutoCompletion()->SetShowImages(true);
    memo->AutoCompletion()->Height = 200;
    memo->AutoCompletion()->Font().SetSize(10);
    Key(VK_SPACE, ssCtrl);
    ASSERT_TRUE(memo->CompletionVisible());
    TAutoCompletionListBox& list = *memo->Completion()->List;
    ASSERT_TRUE(list.ShowImages);
    EXPECT_EQ(Shown().size(), 7u);
    // Which picture each kind shows: functions and procedures share one, plain words have none.
    const int expected[7] = {-1, 0, 1, 2, 4, 3, 3};
    for (int k = 0; k < 7; ++k) EXPECT_EQ(TAutoCompletionListBox::KindImage(k), expected[k]) << k;

    // The picture of each row sits in the 20 pixels before the text, transparent on green.
    // Rows are in client coordinates, the picture of the list has its frame around them.
    const int rowH = list.ItemHeight();
    auto pictureColours = [&](TBitmap& bmp, int row) {
        std::vector<TColor> seen;
        TRect r = list.ItemRect(row);
        OffsetRect(r, list.FrameWidth(), list.FrameWidth());
        for (int y = r.Top + 1; y < r.Top + rowH - 1; ++y)
            for (int x = r.Left + 2; x < r.Left + 18; ++x) {
                const TColor c = bmp.Canvas()->Pixel(x, y);
                if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
            }
        return seen;
    };
    auto has = [](const std::vector<TColor>& v, TColor c) { return std::find(v.begin(), v.end(), c) != v.end(); };
    list.SetItemIndex(-1);
    auto bmp = PaintToBitmap(&list);
    if (const char* dir = std::getenv("KORVELO_LOOK_DIR")) bmp->SaveToFile(std::string(dir) + "/completion_pictures.bmp");
    const TColor background = TColor(ColorToRGB(list.Color()));
    int rowOf[7];
    for (int i = 0; i < 7; ++i) rowOf[int(reinterpret_cast<std::intptr_t>(list.Items().GetObject(i)))] = i;
    for (int kind = 1; kind < 7; ++kind) {
        const auto seen = pictureColours(*bmp, rowOf[kind]);
        EXPECT_FALSE(has(seen, TColor(0x00FF00))) << kind;  // the green is transparent
        EXPECT_GT(seen.size(), 2u) << kind;
    }
    EXPECT_EQ(pictureColours(*bmp, rowOf[0]), std::vector<TColor>{background});
    // Procedures and functions look alike; variables and properties do not.
    EXPECT_EQ(pictureColours(*bmp, rowOf[5]), pictureColours(*bmp, rowOf[6]));
    EXPECT_NE(pictureColours(*bmp, rowOf[1]), pictureColours(*bmp, rowOf[2]));

    // An image list of the program's replaces them: image k in a colour of its own.
    auto* images = new TImageList(owner.get());
    images->SetSize(16, 16);
    const TColor colours[5] = {TColor(0x1020E0), TColor(0x20E010), TColor(0xE01020), TColor(0x10E0E0), TColor(0xE010E0)};
    for (TColor c : colours) {
        TBitmap b(16, 16);
        b.Canvas()->Brush().SetColor(c);
        b.Canvas()->FillRect(Rect(0, 0, 16, 16));
        images->Add(&b);
    }
    memo->SetAutoCompletionListImages(images);
    EXPECT_EQ(list.Images(), images);
    bmp = PaintToBitmap(&list);
    for (int kind = 1; kind < 7; ++kind) {
        SCOPED_TRACE(kind);
        EXPECT_TRUE(has(pictureColours(*bmp, rowOf[kind]), colours[TAutoCompletionListBox::KindImage(kind)]));
    }
    // Freed, the list draws its own again.
    delete images;
    EXPECT_EQ(memo->AutoCompletionListImages(), nullptr);
    EXPECT_EQ(list.Images(), nullptr);
    bmp = PaintToBitmap(&list);
    EXPECT_EQ(pictureColours(*bmp, rowOf[5]), pictureColours(*bmp, rowOf[6]));
    ListKey(VK_ESCAPE);
}

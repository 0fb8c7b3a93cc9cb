// Calculator edits: key sequences on the buttons and the keys, the window's build and
// place, the drop button, the keys in the edit.
#include "EditFixture.h"

#include "platform/system/Clipboard.h"
#include "widgets/edit/MoneyEdit.h"

using namespace edit;
using namespace platform;
using edittest::EditTest;
using edittest::LookAt;

namespace {

class CalcTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        money = new TMoneyEdit(form);
        money->SetParent(form);
        money->SetBounds(150, 40, 120, 21);
        typed = new TExMoneyEdit(form);
        typed->SetParent(form);
        typed->SetBounds(150, 80, 120, 21);
        typed->SetEditType(etFloat);
        typed->SetPrecision(2);
    }
    // Clicks the calculator's buttons by their captions without the trailing blank.
    void Press(TCalculator& c, const std::string& keys)
    {
        static const std::string order = "0123456789+-*/~.C=%";  // by tag; ~ is the sign
        for (char k : keys) {
            const int tag = int(order.find(k));
            ASSERT_GE(tag, 0) << k;
            if (TSpeedButton* b = c.Button(tag)) b->Click();
            else c.ButtonClick(tag);
        }
    }
    TMoneyEdit* money = nullptr;
    TExMoneyEdit* typed = nullptr;
};

TEST_F(CalcTest, ButtonSequences)
{
    const struct {
        const char* keys;
        const char* text;
    } cases[] = {
        {"12+3=", "15"}, {"8/0=", "Error"}, {"200+10%", "20"}, {"200+10%=", "220"}, {"5~", "-5"}, {"5~~", "5"},
        {"2*3=4", "4"},  {"1.5*2=", "3"},  {"9-4-1=", "4"},   {"C7", "7"},         {"8/0C", "0"},  {"8/0=3", "3"},
    };
    for (const auto& c : cases) {
        TMoneyEdit* fresh = new TMoneyEdit(form);
        fresh->SetParent(form);
        fresh->Calculator().Show();
        Press(fresh->Calculator(), c.keys);
        EXPECT_EQ(fresh->Text(), c.text) << c.keys;
        fresh->Free();
    }
}

TEST_F(CalcTest, TypedEditShowsItsPrecision)
{
    TCalculator& c = typed->Calculator();
    c.Show();
    Press(c, "1.5");
    EXPECT_EQ(typed->Text(), "1.50");
    Press(c, "+2=");
    EXPECT_EQ(typed->Text(), "3.50");
    Press(c, "7");
    EXPECT_EQ(typed->Text(), "7.00");  // a digit after = replaces the result
    EXPECT_TRUE(typed->GetModified());
    EXPECT_EQ(typed->GetVersion(), "1.1.0.1");
    // A text that does not convert counts as zero; nothing escapes.
    typed->SetEditType(etString);
    typed->SetText("-");
    Press(c, "+3=");
    EXPECT_EQ(typed->GetText(), "3");
}

TEST_F(CalcTest, KeysOnTheCalculator)
{
    TCalculator& c = money->Calculator();
    c.Show();
    for (char k : std::string("12+3")) c.KeyPress(k);
    EXPECT_EQ(money->Text(), "3");  // no separator appended by other keys
    c.KeyPress(13);
    EXPECT_EQ(money->Text(), "15");
    ProcessUntil([&] { return !c.Showing(); });
    EXPECT_FALSE(c.Showing());
    c.Show();
    c.KeyPress('C');
    for (char k : std::string("2.5")) c.KeyPress(k);
    EXPECT_EQ(money->Text(), "2.5");
    c.KeyDown(VK_BACK);
    c.KeyDown(VK_BACK);
    c.KeyDown(VK_BACK);
    EXPECT_EQ(money->Text(), "0");
}

TEST_F(CalcTest, WindowSizePlaceAndLook)
{
    TCalculator& c = money->Calculator();
    c.Show();
    ASSERT_TRUE(c.Showing());
    EXPECT_EQ(c.Form()->ClientWidth(), 134);
    EXPECT_EQ(c.Form()->ClientHeight(), 108);
    EXPECT_EQ(c.Form()->FormStyle(), fsStayOnTop);
    EXPECT_EQ(c.Form()->Top(), money->ClientToScreen(Point(0, 0)).Y + money->Height());
    EXPECT_EQ(c.Button(14)->Caption(), "+/- ");
    EXPECT_EQ(c.Button(19), nullptr);
    auto bmp = PaintToBitmap(c.Form());
    LookAt(*bmp, "calculator");
    EXPECT_EQ(bmp->Canvas()->Pixel(0, 0), clBlack);
    EXPECT_EQ(bmp->Canvas()->Pixel(4 * 26 + 10, 5), clWhite);  // no button in row 1, column 5
    c.Hide();
    c.Extra[2] = "+ x";
    c.OnExtraButtonClick = [&](TObject*, int idx, double& v) {
        EXPECT_EQ(idx, 3);
        money->SetValue(v + 10);  // sets the value itself and leaves v alone
    };
    c.Show();
    EXPECT_EQ(c.Form()->ClientWidth(), 26 * 6 + 4);
    ASSERT_NE(c.Button(21), nullptr);
    EXPECT_EQ(c.Button(21)->Caption(), "+ x ");
    TCustomEdit* e = money;
    e->SetText("5");
    c.Button(21)->Click();
    EXPECT_EQ(money->Text(), "15");
    // Near the bottom of the screen it opens above.
    c.Hide();
    form->SetTop(Screen->Height() - 60);
    c.Show();
    EXPECT_EQ(c.Form()->Top(), money->ClientToScreen(Point(0, 0)).Y - c.Form()->Height());
}

TEST_F(CalcTest, DropButtonOpensAndClosesAndKeysInTheEdit)
{
    int clicks = 0;
    money->OnClickBtn = [&](TObject*) { ++clicks; };
    money->DropButton()->Click();
    EXPECT_TRUE(money->Calculator().Showing());
    money->DropButton()->Click();
    EXPECT_FALSE(money->Calculator().Showing());
    EXPECT_EQ(clicks, 2);
    SendKey(money, VK_F4);
    EXPECT_TRUE(money->Calculator().Showing());
    money->Calculator().Hide();
    money->SetFocus();
    TCustomEdit* e = money;
    e->SetText("7");
    e->SetSelStart(1);
    SendChar(money, 8);
    EXPECT_EQ(money->Text(), "0");
    for (char k : std::string("12a,")) SendChar(money, k);
    EXPECT_EQ(money->Text(), "12");
    SendChar(money, '-');
    EXPECT_EQ(money->Text(), "12");  // runs subtract, inserts nothing
    EXPECT_DOUBLE_EQ(money->GetValue(), 12);
    // The clipboard keys pass.
    money->SelectAll();
    SetSimulatedShiftState(ssCtrl);
    SendChar(money, 3);
    SetSimulatedShiftState(-1);
    EXPECT_EQ(Clipboard()->AsText(), "12");
}

}  // namespace

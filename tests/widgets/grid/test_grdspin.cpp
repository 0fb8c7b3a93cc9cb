// The spin button pair and the spin edit: repeating while held (on the timer), layout and
// glyphs, stepping integers, floats, dates and times by buttons and keys, and typing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "base/Locale.h"
#include "platform/forms/Forms.h"
#include "platform/system/Beep.h"
#include "platform/system/Thread.h"
#include "platform/Streaming.h"
#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"
#include "widgets/grid/GrdSpin.h"

using namespace platform;
using namespace grid;

namespace {

struct SpinTest : ControlFixture {
    void SetUp() override
    {
        EnsurePlatform();
        ControlFixture::SetUp();
        saved = base::FormatSettings();
        base::TFormatSettings s = saved;
        s.DecimalSeparator = '.';
        s.ThousandSeparator = ',';
        s.DateSeparator = '/';
        s.TimeSeparator = ':';
        s.ShortDateFormat = "m/d/yyyy";
        s.LongTimeFormat = "hh:nn:ss";
        base::SetFormatSettings(s);
        SetBeepHook([this](UINT) { ++beeps; });
    }
    void TearDown() override
    {
        SetBeepHook(nullptr);
        base::SetFormatSettings(saved);
        ControlFixture::TearDown();
    }
    TGrdSpinEdit* Spin(TGrdSpinType type = sptNormal)
    {
        auto* e = Add<TGrdSpinEdit>(10, 10, 100, 24);
        e->SetSpinType(type);
        return e;
    }
    // Presses the left button on the pair's up or down half.
    static void Press(TGrdSpinButton* pair, bool up, UINT msg = WM_LBUTTONDOWN)
    {
        TExTimerSpeedButton* b = up ? pair->UpButton() : pair->DownButton();
        SendMouse(pair, msg, b->Left() + b->Width() / 2, b->Top() + b->Height() / 2);
    }
    // Each case: the text, the caret, a step up or down, and the text after it.
    struct StepCase {
        const char* from;
        int caret;
        bool up;
        const char* to;
    };
    static void RunSteps(TGrdSpinEdit* e, std::initializer_list<StepCase> cases)
    {
        for (const StepCase& c : cases) {
            e->SetText(c.from);
            e->SetSelStart(c.caret);
            if (c.up) e->UpClick();
            else e->DownClick();
            EXPECT_EQ(e->Text(), c.to) << c.from << " caret " << c.caret;
            EXPECT_EQ(e->SelStart(), c.caret) << c.from;
        }
    }
    base::TFormatSettings saved;
    int beeps = 0;
};

}  // namespace

TEST_F(SpinTest, APressClicksAtOnceThenRepeatsOnTheTimerUntilTheRelease)
{
    auto* e = Spin();
    TGrdSpinButton* pair = e->Button();
    Press(pair, true);
    EXPECT_EQ(e->Text(), "1");  // on the press
    TTimer* timer = pair->UpButton()->RepeatTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 400u);
    timer->OnTimer(timer);  // the first repeat, then every 100 ms
    EXPECT_EQ(timer->Interval(), 100u);
    EXPECT_EQ(e->Text(), "2");
    // Left running on its own, the timer keeps stepping while the button is held.
    EXPECT_TRUE(ProcessUntil([&] { return e->Value() >= 4; }, 2000));
    Press(pair, true, WM_LBUTTONUP);
    EXPECT_FALSE(timer->Enabled());
    const int held = e->Value();
    Application->ProcessMessages();
    EXPECT_EQ(e->Value(), held);  // the release adds no click

    // A short press and release: exactly one step.
    Press(pair, false);
    Press(pair, false, WM_LBUTTONUP);
    EXPECT_EQ(e->Value(), held - 1);
    EXPECT_TRUE(e->Focused());  // the pair hands the focus to its edit
}

TEST_F(SpinTest, ThePairsLayoutGlyphsAndWinXPFlag)
{
    auto* pair = Add<TGrdSpinButton>(10, 10, 10, 30);
    EXPECT_EQ(pair->Width(), 15);  // never narrower
    EXPECT_EQ(pair->UpButton()->BoundsRect(), Rect(0, 0, 15, 15));
    EXPECT_EQ(pair->DownButton()->BoundsRect(), Rect(0, 14, 15, 30));  // one shared row
    EXPECT_EQ(pair->UpButton()->Glyph()->Width(), 9);
    EXPECT_EQ(pair->UpButton()->Glyph()->Height(), 6);
    pair->SetDownNumGlyphs(2);
    pair->SetDownGlyph(nullptr);
    EXPECT_EQ(pair->DownNumGlyphs(), 1);
    // The default arrows: 7 pixels at the base, one at the tip.
    TBitmap* up = pair->UpButton()->Glyph();
    int base = 0, tip = 0;
    for (int x = 0; x < 9; ++x) {
        base += up->Canvas()->Pixel(x, 4) == clBlack;
        tip += up->Canvas()->Pixel(x, 1) == clBlack;
    }
    EXPECT_EQ(base, 7);
    EXPECT_EQ(tip, 1);
    auto bmp = PaintToBitmap(pair);
    SaveSnapshot(*bmp, "spinpair");
    EXPECT_GT(Dark(*bmp, Rect(0, 0, 15, 14)), 8);
    EXPECT_GT(Dark(*bmp, Rect(0, 15, 15, 30)), 8);

    pair->SetTabStop(true);
    pair->SetFocus();
    SendKey(pair, VK_DOWN);
    EXPECT_EQ(pair->FocusedButton(), pair->DownButton());
    EXPECT_TRUE(pair->DownButton()->TimeBtnState & tbFocusRect);
    pair->SetIsWinXP(true);
    EXPECT_TRUE(pair->UpButton()->IsWinXP);
    EXPECT_TRUE(pair->DownButton()->IsWinXP);

    pair->SetDirection(spHorizontal);
    EXPECT_EQ(pair->Width(), 20);
    EXPECT_EQ(pair->DownButton()->Left(), 0);
    EXPECT_EQ(pair->UpButton()->Left(), 11);
    EXPECT_EQ(pair->UpButton()->Direction, bdRight);
    SaveSnapshot(*PaintToBitmap(pair), "spinpair-horizontal");
}

TEST_F(SpinTest, IntegersStepByKeysWithinTheirLimits)
{
    auto* e = Spin();
    EXPECT_EQ(e->Text(), "0");
    SendKey(e, VK_UP);
    EXPECT_EQ(e->Text(), "1");
    e->SetValue(99);
    for (int i = 0; i < 3; ++i) SendKey(e, VK_PRIOR);
    EXPECT_EQ(e->Value(), 100);
    SendKey(e, VK_NEXT);
    EXPECT_EQ(e->Value(), 99);
    e->MinValue = e->MaxValue = 5;  // equal limits: none
    e->SetValue(500);
    EXPECT_EQ(e->Value(), 500);
    e->SetText("x");
    EXPECT_EQ(e->Value(), 5);  // unreadable: the minimum
    e->SetReadOnly(true);
    e->UpClick();
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(e->Text(), "x");
    auto bmp = PaintToBitmap(e);
    SaveSnapshot(*bmp, "spinedit");
    // The text stops short of the buttons, also when they lie side by side.
    EXPECT_EQ(e->FormatRect().Right, e->ClientWidth() - 15 - 2);
    e->SetDirection(spHorizontal);
    EXPECT_EQ(e->Button()->Width(), 20);
    EXPECT_EQ(e->FormatRect().Right, e->ClientWidth() - 20 - 2);
    EXPECT_EQ(e->Button()->Left() + e->Button()->Width(), e->ClientWidth() - 1);
}

TEST_F(SpinTest, FloatsStepByTheirIncrementAndRefuseAnExtraDecimal)
{
    auto* e = Spin(sptFloat);
    e->SetPrecision(2);
    e->SetFloatValue(1);
    EXPECT_EQ(e->Text(), "1.00");
    e->UpClick();  // IncrementFloat 0: nothing moves
    EXPECT_EQ(e->Text(), "1.00");
    e->IncrementFloat = 0.25;
    e->UpClick();
    EXPECT_EQ(e->Text(), "1.25");
    EXPECT_DOUBLE_EQ(e->FloatValue(), 1.25);
    e->SetFocus();
    e->SetSelStart(4);
    SendChar(e, '5');
    EXPECT_EQ(e->Text(), "1.25");
    EXPECT_EQ(beeps, 1);
    e->SetText("abc");
    EXPECT_DOUBLE_EQ(e->FloatValue(), e->MinFloatValue);
}

TEST_F(SpinTest, TypingIsFilteredByKind)
{
    auto* e = Spin();
    e->SetFocus();
    e->SetText("5");
    e->SetSelStart(1);
    SendChar(e, '-');  // only at the start
    EXPECT_EQ(e->Text(), "5");
    e->SetSelStart(0);
    SendChar(e, '-');
    EXPECT_EQ(e->Text(), "-5");
    SendChar(e, 'a');
    SendChar(e, '.');
    EXPECT_EQ(e->Text(), "-5");
    EXPECT_EQ(beeps, 3);

    auto* f = Spin(sptFloat);
    f->ExcelStyleDecimalSeparator = true;
    base::TFormatSettings s = base::FormatSettings();
    s.DecimalSeparator = ',';
    s.ThousandSeparator = '.';
    base::SetFormatSettings(s);
    f->SetFocus();
    f->SetText("3");
    f->SetSelStart(1);
    SendKey(f, VK_DECIMAL);  // the keypad's '.' types the locale's separator
    EXPECT_EQ(f->Text(), "3,");
    SendChar(f, ',');  // one separator only
    EXPECT_EQ(f->Text(), "3,");

    auto* t = Spin(sptTime);
    t->SetFocus();
    t->SetText("1:2:");
    t->SetSelStart(4);
    SendChar(t, ':');
    EXPECT_EQ(t->Text(), "1:2:");
}

TEST_F(SpinTest, DatesStepTheFieldUnderTheCaret)
{
    auto* e = Spin();
    e->SetSpinType(sptDate);  // "0" reads as today
    EXPECT_EQ(e->Text(), base::DateToStr(std::floor(base::Now())));
    RunSteps(e, {
                    {"1/31/2005", 0, true, "2/28/2005"},
                    {"1/31/2005", 2, true, "2/1/2005"},
                    {"1/31/2005", 6, true, "1/31/2006"},
                    {"2/29/2008", 6, true, "2/28/2009"},  // no 29 February in 2009
                    {"2/29/2008", 6, false, "2/28/2007"},
                    {"3/31/2008", 1, false, "2/29/2008"},
                    {"1/1/2005", 3, false, "12/31/2004"},
                });
    // Limits apply to dates.
    e->MinDateValue = base::EncodeDate(2005, 1, 1);
    e->MaxDateValue = base::EncodeDate(2005, 12, 31);
    e->SetText("12/31/2005");
    e->SetSelStart(3);
    e->UpClick();
    EXPECT_EQ(e->Text(), "12/31/2005");
}

TEST_F(SpinTest, TimesStepTheirFieldAndWrapBelowMidnight)
{
    auto* e = Spin(sptTime);
    RunSteps(e, {
                    {"00:00:30", 0, false, "23:00:30"},
                    {"10:59:59", 4, true, "11:00:59"},
                    {"10:00:00", 7, false, "09:59:59"},
                    {"23:30:00", 1, true, "00:30:00"},
                });
}

TEST_F(SpinTest, ReturnIsTabTurnsEnterIntoTabAndPostsATabToItself)
{
    auto* e = Spin();
    auto* next = Add<TEdit>(10, 60, 80, 22);
    next->SetTabStop(true);
    e->ReturnIsTab = true;
    std::vector<Word> keys;
    e->OnKeyDown = [&](TObject*, Word& k, TShiftState) { keys.push_back(k); };
    e->SetFocus();
    SendKey(e, VK_RETURN);
    EXPECT_EQ(keys, std::vector<Word>{VK_TAB});
    EXPECT_TRUE(e->Focused());
    Application->ProcessMessages();  // the posted Tab moves on
    EXPECT_TRUE(next->Focused());
}

TEST_F(SpinTest, ThemedAndFlatButtonsStillShowTheirArrows)
{
    auto* e = Spin();
    e->SetIsWinXP(true);
    auto themed = PaintToBitmap(e->Button());
    SaveSnapshot(*themed, "spinpair-themed");
    const int w = e->Button()->Width(), h = e->Button()->Height();
    EXPECT_GT(Dark(*themed, Rect(0, 0, w, h / 2)), 0);  // the style's arrows
    EXPECT_GT(Dark(*themed, Rect(0, h / 2, w, h)), 2);
    e->SetIsWinXP(false);
    e->SetSpinFlat(true);
    auto flat = PaintToBitmap(e->Button());
    SaveSnapshot(*flat, "spinpair-flat");
    EXPECT_GT(Dark(*flat, Rect(0, 0, w, h / 2)), 2);
}

TEST_F(SpinTest, LeavingWritesAValueOutsideItsLimitsBackLimited)
{
    auto* e = Spin();
    auto* other = Add<TEdit>(10, 60, 80, 22);
    e->SetFocus();
    e->SetText("250");
    other->SetFocus();
    EXPECT_EQ(e->Text(), "100");
    auto* f = Spin(sptFloat);
    f->SetFocus();
    f->SetText("-3.5");
    other->SetFocus();
    EXPECT_EQ(f->Text(), "0");
}

namespace {

struct MaskSpinTest : SpinTest {
    TExMaskSpinEdit* MaskSpin(const std::string& mask, TGrdSpinType type)
    {
        auto* e = Add<TExMaskSpinEdit>(10, 10, 120, 24);
        e->SetEditMask(mask);
        e->SetSpinType(type);
        return e;
    }
    // Types the characters one by one at the caret.
    static void Type(TWinControl* e, const std::string& s)
    {
        for (char c : s) SendChar(e, c);
    }
};

}  // namespace

TEST_F(MaskSpinTest, IntegersTakeOnlyWhatTheMaskTakesAndStepWithinTheirLimits)
{
    auto* e = MaskSpin("999;0;_", sptNormal);
    int changes = 0, completes = 0;
    e->OnChange = [&](TObject*) { ++changes; };
    e->OnEditComplete = [&](TObject*) { ++completes; };
    EXPECT_EQ(e->Text(), "0");
    EXPECT_EQ(e->EditText(), "0__");
    e->SetFocus();
    e->SelectAll();
    Type(e, "4x2");  // the letter is refused with a beep
    EXPECT_EQ(e->Text(), "42");
    EXPECT_EQ(beeps, 1);
    Type(e, "7");
    EXPECT_EQ(e->Text(), "427");
    EXPECT_EQ(completes, 1);  // every place filled
    Type(e, "1");  // no place left
    EXPECT_EQ(e->Text(), "427");
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(e->Value(), 427);  // read as typed; limited when set, stepped or left
    e->SetValue(98);
    changes = 0;
    SendKey(e, VK_UP);
    EXPECT_EQ(e->Text(), "99");
    for (int i = 0; i < 3; ++i) SendKey(e, VK_PRIOR);
    EXPECT_EQ(e->Text(), "100");
    EXPECT_EQ(changes, 2);  // a step to the same text changes nothing
    e->SetValue(1);
    Press(e->Button(), false);
    Press(e->Button(), false, WM_LBUTTONUP);
    Press(e->Button(), false);
    Press(e->Button(), false, WM_LBUTTONUP);
    EXPECT_EQ(e->Text(), "0");  // the minimum holds
    EXPECT_EQ(e->EditText(), "0__");
}

TEST_F(MaskSpinTest, DatesAndTimesStepTheMasksFieldUnderTheCaret)
{
    base::TFormatSettings s = base::FormatSettings();
    s.ShortDateFormat = "mm/dd/yyyy";
    base::SetFormatSettings(s);
    auto* d = MaskSpin("!99/99/0000;1;_", sptDate);
    RunSteps(d, {
                    {"01/31/2005", 0, true, "02/28/2005"},
                    {"01/31/2005", 4, true, "02/01/2005"},
                    {"01/31/2005", 8, true, "01/31/2006"},
                    {"01/01/2005", 3, false, "12/31/2004"},
                });
    d->SetFocus();
    d->SetText("01/31/2005");
    d->SetSelStart(0);
    Type(d, "1a2");  // the letter is refused; typing steps over the separator
    EXPECT_EQ(d->Text(), "12/31/2005");
    EXPECT_EQ(beeps, 1);
    Press(d->Button(), true);  // the caret stands in the day now
    Press(d->Button(), true, WM_LBUTTONUP);
    EXPECT_EQ(d->Text(), "01/01/2006");

    auto* t = MaskSpin("!90:00:00;1;_", sptTime);
    RunSteps(t, {
                    {"10:59:59", 0, false, "09:59:59"},
                    {"10:59:59", 4, true, "11:00:59"},
                    {"10:59:59", 7, true, "11:00:00"},
                    {"00:00:30", 1, false, "23:00:30"},
                });
    t->SetFocus();
    t->SetText("10:20:30");
    t->SetSelStart(3);
    Type(t, "4:");  // a digit goes in, a third separator beeps
    EXPECT_EQ(t->Text(), "10:40:30");
    EXPECT_EQ(beeps, 2);
    SendKey(t, VK_DOWN);  // the caret is in the minutes still
    EXPECT_EQ(t->Text(), "10:39:30");
}

TEST_F(MaskSpinTest, TheMaskAndTheValueStreamWithoutTheButtonPair)
{
    auto* e = MaskSpin("!90:00:00;1;_", sptTime);
    e->MinValue = 3;
    e->MaxValue = 9;
    e->Increment = 2;
    e->SetDirection(spHorizontal);
    e->SetText("07:08:09");
    TMemoryStream stream;
    stream.WriteComponent(e);
    auto* back = Add<TExMaskSpinEdit>(10, 40, 120, 24);
    const int parts = back->ComponentCount();
    stream.SetPosition(0);
    stream.ReadComponent(back);
    EXPECT_EQ(back->ComponentCount(), parts);  // still its own pair only
    EXPECT_EQ(back->EditMask(), "!90:00:00;1;_");
    EXPECT_EQ(back->SpinType(), sptTime);
    EXPECT_EQ(back->Text(), "07:08:09");
    EXPECT_EQ(back->Direction(), spHorizontal);
    EXPECT_EQ(back->MinValue, 3);
    EXPECT_EQ(back->MaxValue, 9);
    EXPECT_EQ(back->Increment, 2);
}

TEST_F(SpinTest, FloatLimitsStreamEvenAtZero)
{
    struct Case {
        double min, max;
        bool maxWritten;
    } cases[] = {{0, 100, false}, {-5, 0, true}, {0, 0, true}, {1.5, 2.5, true}};
    for (const Case& c : cases) {
        auto* e = Spin(sptFloat);
        e->MinFloatValue = c.min;
        e->MaxFloatValue = c.max;
        TMemoryStream stream;
        stream.WriteComponent(e);
        EXPECT_EQ(stream.DataString().find("MaxFloatValue") != std::string::npos, c.maxWritten) << c.max;
        auto* back = Spin(sptFloat);
        stream.SetPosition(0);
        stream.ReadComponent(back);
        EXPECT_EQ(back->MinFloatValue, c.min);
        EXPECT_EQ(back->MaxFloatValue, c.max);
    }
}

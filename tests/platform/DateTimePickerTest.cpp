// The date and time picker: fields stepped and typed, the calendar dropped and picked
// from, the up-down pair, the check box, and what it paints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlFixture.h"
#include "base/DateTime.h"
#include "platform/TestRig.h"
#include "platform/controls/DateTimePicker.h"
#include "tests/support/TestSupport.h"

using namespace platform;

namespace {

struct PickerTest : ControlFixture {
    TDateTimePicker* p = nullptr;
    std::vector<std::string> log;
    testsupport::DayMonthYearSettings dates;
    void SetUp() override
    {
        ControlFixture::SetUp();
        p = Add<TDateTimePicker>(10, 10, 140, 24);
        p->SetDateTime(base::EncodeDate(2024, 2, 28));
        p->OnChange = [this](TObject*) { log.push_back("change"); };
        p->OnDropDown = [this](TObject*) { log.push_back("dropdown"); };
        p->OnCloseUp = [this](TObject*) { log.push_back("closeup"); };
        p->SetFocus();
        ASSERT_TRUE(ProcessUntil([&] { return p->Focused(); }));
    }
};

}  // namespace

TEST_F(PickerTest, FieldsStepWrapWithinTheirRangeAndTakeTypedDigits)
{
    EXPECT_EQ(p->DisplayText(), "28/02/2024");
    SendKey(p, VK_UP);
    SendKey(p, VK_UP);
    EXPECT_EQ(p->Date(), base::EncodeDate(2024, 2, 1));  // 29, then round to the 1st
    SendKey(p, VK_DOWN);
    EXPECT_EQ(p->Date(), base::EncodeDate(2024, 2, 29));
    SendKey(p, VK_RIGHT);
    SendKey(p, VK_UP);
    EXPECT_EQ(p->Date(), base::EncodeDate(2024, 3, 29));
    SendKey(p, VK_RIGHT);
    for (char ch : std::string("2023")) SendChar(p, ch);
    EXPECT_EQ(p->Date(), base::EncodeDate(2023, 3, 29));
    SendKey(p, VK_LEFT);
    SendKey(p, VK_LEFT);
    for (char ch : std::string("31")) SendChar(p, ch);
    EXPECT_EQ(p->Date(), base::EncodeDate(2023, 3, 31));
    EXPECT_EQ(p->Field(), 1);  // a full field moves on
    EXPECT_FALSE(log.empty());
    // The time kind: hours, minutes, seconds.
    p->SetKind(dtkTime);
    p->SetTime(base::EncodeTime(23, 59, 0, 0));
    SendKey(p, VK_UP);
    EXPECT_EQ(p->DisplayText(), "00:59:00");
    EXPECT_EQ(p->Date(), base::EncodeDate(2023, 3, 31));  // the date is kept
}

TEST_F(PickerTest, TheCalendarDropsPicksByMouseAndKeysAndEscapePutsBack)
{
    SendKey(p, VK_F4);
    ASSERT_TRUE(p->DroppedDown());
    ASSERT_TRUE(p->Calendar() && p->Calendar()->Visible());
    SendKey(p, VK_DOWN);  // a week on
    EXPECT_EQ(p->Date(), base::EncodeDate(2024, 3, 6));
    SendKey(p, VK_ESCAPE);
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->Date(), base::EncodeDate(2024, 2, 28));
    SendKey(p, VK_DOWN, ssAlt);
    ASSERT_TRUE(p->DroppedDown());
    const TRect day = p->CalendarDayRect(base::EncodeDate(2024, 2, 14));
    ASSERT_FALSE(IsRectEmpty(day));
    ClickAt(p->Calendar(), day.Left + 4, day.Top + 4);
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->Date(), base::EncodeDate(2024, 2, 14));
    EXPECT_EQ(log.front(), "dropdown");
    EXPECT_EQ(log.back(), "closeup");
    // The up-down mode has no calendar: its buttons step the field.
    p->SetDateMode(dmUpDown);
    SendKey(p, VK_F4);
    EXPECT_FALSE(p->DroppedDown());
    ClickAt(p, p->ClientWidth() - 3, p->ClientHeight() - 3);
    EXPECT_EQ(p->Date(), base::EncodeDate(2024, 2, 13));
}

TEST_F(PickerTest, TheCheckBoxSaysWhetherThereIsAValueAndThePickerPaintsItsText)
{
    p->SetShowCheckbox(true);
    EXPECT_TRUE(p->Checked());
    ClickAt(p, 6, p->ClientHeight() / 2);
    EXPECT_FALSE(p->Checked());
    auto bmp = PaintToBitmap(form);
    SaveSnapshot(*bmp, "datetimepicker");
    const TRect text = Rect(10 + 20, 12, 10 + 100, 32);
    EXPECT_GT(Count(*bmp, text, Sys(clGrayText)) + Dark(*bmp, text), 10);  // the greyed text
    ClickAt(p, 6, p->ClientHeight() / 2);
    EXPECT_TRUE(p->Checked());
    bmp = PaintToBitmap(form);
    EXPECT_GT(Dark(*bmp, text), 10);
}

// Classification, mixed case, hex and leading integers, number formats and range lists.
#include <gtest/gtest.h>

#include "base/StrUtils.h"
#include "widgets/edit/ExEditText.h"

using namespace edit;

namespace {

struct Separators : ::testing::Test {
    void SetUp() override
    {
        base::SetDecimalSeparator('.');
        base::SetThousandSeparator(',');
    }
};

TEST_F(Separators, ClassifiesNumberTexts)
{
    const struct {
        const char* text;
        int kind;
    } cases[] = {{"", ntNotNumber},     {"12", ntInteger},    {"-12", ntInteger},   {"--1", ntNotNumber},
                 {"1A", ntHex},         {"ff", ntHex},        {"1.2.3", ntNotNumber}, {"1.25", ntDecimal},
                 {"1,234", ntDecimal},  {",123", ntNotNumber}, {"1,2,345", ntNotNumber}, {"12,345.6", ntDecimal},
                 {"1-2", ntNotNumber},  {"2.5-", ntNotNumber}, {"abc", ntHex},      {"xyz", ntNotNumber},  {"-", ntInteger}};
    for (const auto& c : cases) EXPECT_EQ(ClassifyNumberText(c.text), c.kind) << c.text;
}

TEST_F(Separators, WritesMixedCaseHexAndLeadingIntegers)
{
    EXPECT_EQ(MixedCaseText("mcdonald of the us ii"), "McDonald Of The Us II");
    EXPECT_EQ(MixedCaseText("o'brien"), "O'brien");
    EXPECT_EQ(MixedCaseText("macd"), "MacD");
    EXPECT_EQ(MixedCaseText("NEW-YORK city"), "New-York City");
    const struct {
        const char* text;
        int hex, leading;
    } cases[] = {{"FF", 255, 0}, {"1G", 16, 1}, {"12.5", 0x1205, 12}, {"abc", 0xABC, 0}, {"  -7x", 0x70, -7},
                 {"$1F", 0x1F, 31}, {"0x10", 16, 16}, {"FFFFFFFF", -1, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(HexTextValue(c.text), c.hex) << c.text;
        EXPECT_EQ(LeadingInteger(c.text), c.leading) << c.text;
    }
}

TEST_F(Separators, FormatsNumbers)
{
    EXPECT_EQ(FormatNumber(-1234567.5, 2), "-1,234,567.50");
    EXPECT_EQ(FormatNumber(999, 0), "999");
    EXPECT_EQ(FormatNumber(1000, 1), "1,000.0");
    EXPECT_EQ(FormatFixed(2.5, 3), "2.500");
    EXPECT_EQ(FormatGeneral(0.1), "0.1");
    EXPECT_EQ(EStrToFloat("1,234.5"), 1234.5);
    EXPECT_EQ(EStrToFloat("x"), 0.0);
    base::SetDecimalSeparator(',');
    base::SetThousandSeparator('.');
    EXPECT_EQ(FormatNumber(1234.5, 2), "1.234,50");
    EXPECT_EQ(EStrToFloat("1.234,5"), 1234.5);
}

TEST(RangeList, ReadsAndWritesRanges)
{
    const struct {
        const char* text;
        bool ok;
        const char* back;
    } cases[] = {{"1,3-5;8", true, "1,3-5,8"}, {"1,x,4", false, "1,4"}, {"5-3", true, ""}, {"", true, ""},
                 {"2,2,1", true, "1-2"},        {"7-", false, ""},     {"1-2000000000", false, ""},
                 {"1-100000", true, "1-100000"}};
    for (const auto& c : cases) {
        TRangeList list;
        EXPECT_EQ(list.StrToList(c.text), c.ok) << c.text;
        EXPECT_EQ(list.ToRangeStr(), c.back) << c.text;
    }
    TRangeList list;
    list.Add(8);
    list.AddMultiple(3, 3);
    list.Add(1);
    list.Add(4);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.ToRangeStr(), "1,3-5,8");
    list.Delete(0);
    EXPECT_FALSE(list.InList(8));
    EXPECT_EQ(TRangeList().ToRangeStr(), "");  // an empty list reads nothing
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "base/DateTime.h"
#include "base/Exception.h"

using namespace base;

namespace {

struct FormatGuard {
    std::string date = ShortDateFormat(), time = LongTimeFormat();
    FormatGuard(const char* d, const char* t) {
        SetShortDateFormat(d);
        SetLongTimeFormat(t);
    }
    ~FormatGuard() {
        SetShortDateFormat(date);
        SetLongTimeFormat(time);
    }
};

TDateTime At(int y, int mo, int d, int h, int mi, int s, int ms) { return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms); }

}  // namespace

TEST(DateTime, EncodeTable) {
    struct Case {
        int y, m, d;
        double value;
    } cases[] = {
        {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1900, 1, 1, 2}, {1900, 3, 1, 61},
        {2000, 1, 1, 36526}, {2024, 2, 29, 45351}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.value) << c.y << "-" << c.m << "-" << c.d;
        int y, m, d;
        DecodeDate(c.value, y, m, d);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
    }
}

TEST(DateTime, InvalidArgumentsRaise) {
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
}

TEST(DateTime, DecodeTimeRoundsToMilliseconds) {
    int h, mi, s, ms;
    DecodeTime(EncodeTime(13, 5, 7, 9), h, mi, s, ms);
    EXPECT_EQ(h, 13);
    EXPECT_EQ(mi, 5);
    EXPECT_EQ(s, 7);
    EXPECT_EQ(ms, 9);
    // Within half a millisecond of midnight reads as the next day at 00:00:00.000.
    TDateTime t = At(2024, 12, 31, 23, 59, 59, 999) + 0.6 / 86400000.0;
    int y, mo, d;
    DecodeDate(t, y, mo, d);
    DecodeTime(t, h, mi, s, ms);
    EXPECT_EQ(y, 2025);
    EXPECT_EQ(mo, 1);
    EXPECT_EQ(d, 1);
    EXPECT_EQ(h + mi + s + ms, 0);
}

TEST(DateTime, NegativeValuesKeepTimeAsFraction) {
    // -1.25 is 1899-12-29 06:00.
    int y, mo, d, h, mi, s, ms;
    DecodeDate(-1.25, y, mo, d);
    DecodeTime(-1.25, h, mi, s, ms);
    EXPECT_EQ(y, 1899);
    EXPECT_EQ(mo, 12);
    EXPECT_EQ(d, 29);
    EXPECT_EQ(h, 6);
    EXPECT_EQ(mi, 0);
}

TEST(FormatDateTime, PatternTable) {
    FormatGuard g("dd/mm/yyyy", "hh:nn:ss");
    const TDateTime t = At(2024, 2, 9, 13, 5, 7, 9);  // a Friday
    struct Case {
        const char* format;
        const char* text;
    } cases[] = {
        {"d/m/yy", "9/2/24"},
        {"dd.mm.yyyy", "09.02.2024"},
        {"ddd dddd", "Fri Friday"},
        {"mmm mmmm", "Feb February"},
        {"yyyy-mm-dd", "2024-02-09"},
        {"h:n:s.z", "13:5:7.9"},
        {"hh:nn:ss.zzz", "13:05:07.009"},
        {"hh:mm", "13:05"},  // m after h is the minute
        {"h:mm am/pm", "1:05 pm"},
        {"hh:nn AM/PM", "01:05 PM"},
        {"h a/p", "1 p"},
        {"c", "09/02/2024 13:05:07"},
        {"t", "13:05"},
        {"tt", "13:05:07"},
        {"'dd' dd \"mm\"", "dd 09 mm"},
        {"yyyy\"-W\"", "2024-W"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, t), c.text) << c.format;
    EXPECT_EQ(FormatDateTime("h am/pm", At(2024, 2, 9, 0, 30, 0, 0)), "12 am");
    EXPECT_EQ(FormatDateTime("h am/pm", At(2024, 2, 9, 12, 30, 0, 0)), "12 pm");
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2024, 2, 9)), "09/02/2024");  // midnight: date only
}

TEST(FormatDateTime, DateTimeToStrIsShortDateBlankLongTime) {
    {
        FormatGuard g("dd/mm/yyyy", "hh:nn:ss");
        EXPECT_EQ(DateTimeToStr(At(2024, 2, 29, 13, 5, 7, 9)), "29/02/2024 13:05:07");
        EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 2, 29)), "29/02/2024 00:00:00");
        EXPECT_EQ(DateToStr(EncodeDate(2024, 2, 29)), "29/02/2024");
        EXPECT_EQ(TimeToStr(EncodeTime(9, 8, 7, 0)), "09:08:07");
    }
    {
        FormatGuard g("m/d/yyyy", "h:nn:ss AM/PM");
        EXPECT_EQ(DateTimeToStr(At(2024, 2, 29, 13, 5, 7, 9)), "2/29/2024 1:05:07 PM");
    }
}

TEST(FormatDateTime, PatternFromCFormat) {
    struct Case {
        const char* c;
        const char* pattern;
    } cases[] = {
        {"%d/%m/%Y", "dd/mm/yyyy"},
        {"%d.%m.%Y", "dd.mm.yyyy"},
        {"%m/%d/%y", "mm/dd/yy"},
        {"%Y-%m-%d", "yyyy-mm-dd"},
        {"%F", "yyyy-mm-dd"},
        {"%H:%M:%S", "hh:nn:ss"},
        {"%T", "hh:nn:ss"},
        {"%r", "hh:nn:ss AM/PM"},
        {"%I:%M:%S %p", "hh:nn:ss AM/PM"},
        {"%e %B %Y", "d mmmm yyyy"},
        {"%Hh%M", "hh\"h\"nn"},
    };
    for (const Case& c : cases) {
        std::string p;
        EXPECT_TRUE(PatternFromCFormat(c.c, p)) << c.c;
        EXPECT_EQ(p, c.pattern) << c.c;
    }
    std::string p = "unchanged";
    EXPECT_FALSE(PatternFromCFormat("%j", p));
    EXPECT_EQ(p, "unchanged");
    // A translated pattern formats as the C library would.
    ASSERT_TRUE(PatternFromCFormat("%Hh%M", p));
    EXPECT_EQ(FormatDateTime(p, At(2024, 2, 9, 13, 5, 7, 9)), "13h05");
}

TEST(DateTime, NowIsLocalTime) {
    time_t before = time(nullptr);
    TDateTime now = Now();
    time_t after = time(nullptr);
    struct tm a {}, b {};
    localtime_r(&before, &a);
    localtime_r(&after, &b);
    TDateTime lo = At(a.tm_year + 1900, a.tm_mon + 1, a.tm_mday, a.tm_hour, a.tm_min, std::min(a.tm_sec, 59), 0);
    TDateTime hi = At(b.tm_year + 1900, b.tm_mon + 1, b.tm_mday, b.tm_hour, b.tm_min, std::min(b.tm_sec, 59), 999);
    EXPECT_GE(now, lo);
    EXPECT_LE(now, hi);
}

TEST(DateTime, TickCountDoesNotGoBack) {
    unsigned a = GetTickCount();
    unsigned b = GetTickCount();
    EXPECT_LE(b - a, 1000u);  // unsigned difference also holds across the 32-bit wrap
}

TEST(DateTime, DefaultFormatsAreUsable) {
    EXPECT_FALSE(ShortDateFormat().empty());
    EXPECT_FALSE(LongTimeFormat().empty());
}

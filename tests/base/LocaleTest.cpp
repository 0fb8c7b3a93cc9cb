#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "base/DateTime.h"
#include "base/Locale.h"
#include "base/StrUtils.h"

using namespace base;

namespace {

// Puts settings in force for one test and the old ones back afterwards.
struct SettingsGuard {
    TFormatSettings old = FormatSettings();
    explicit SettingsGuard(const TFormatSettings& s) { SetFormatSettings(s); }
    ~SettingsGuard() { SetFormatSettings(old); }
};

TFormatSettings German()
{
    TFormatSettings s;
    s.DecimalSeparator = ',';
    s.ThousandSeparator = '.';
    s.DateSeparator = '.';
    s.ShortDateFormat = "dd/mm/yyyy";  // '/' writes the date separator
    s.ShortTimeFormat = "hh:nn";
    s.LongTimeFormat = "hh:nn:ss";
    return s;
}

bool operator==(const TFormatSettings& a, const TFormatSettings& b)
{
    return a.DecimalSeparator == b.DecimalSeparator && a.ThousandSeparator == b.ThousandSeparator &&
           a.DateSeparator == b.DateSeparator && a.TimeSeparator == b.TimeSeparator &&
           a.ShortDateFormat == b.ShortDateFormat && a.ShortTimeFormat == b.ShortTimeFormat &&
           a.LongTimeFormat == b.LongTimeFormat;
}

}  // namespace

TEST(Locale, SettingsInForceReachEveryUserFacingConversion)
{
    SettingsGuard g(German());
    EXPECT_EQ(FloatToStr(1234.5), "1234,5");
    EXPECT_EQ(FloatToStrFixed(-0.25, 3), "-0,250");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891), "1.234.567,89");
    EXPECT_DOUBLE_EQ(StrToFloat("2,75"), 2.75);
    double v = 0;
    EXPECT_FALSE(TryStrToFloat("2.75", v));
    const TDateTime t = EncodeDate(2024, 2, 9) + EncodeTime(13, 5, 7, 0);
    EXPECT_EQ(DateToStr(t), "09.02.2024");
    EXPECT_EQ(TimeToStr(t), "13:05:07");
    EXPECT_EQ(FormatDateTime("t", t), "13:05");
    EXPECT_EQ(FormatDateTime("c", t), "09.02.2024 13:05:07");
    // The single fields read the same settings.
    EXPECT_EQ(DecimalSeparator(), ',');
    EXPECT_EQ(ThousandSeparator(), '.');
    EXPECT_EQ(DateSeparator(), '.');
    EXPECT_EQ(ShortDateFormat(), "dd/mm/yyyy");
    EXPECT_TRUE(FormatSettings() == German());
}

TEST(Locale, SeparatorsInPatternsFollowTheSettingsUnlessQuoted)
{
    TFormatSettings s;
    s.DateSeparator = '-';
    s.TimeSeparator = '.';
    s.ShortTimeFormat = "h:nn AM/PM";
    SettingsGuard g(s);
    const TDateTime t = EncodeDate(2024, 12, 31) + EncodeTime(18, 4, 0, 0);
    struct Case {
        const char* format;
        const char* text;
    } cases[] = {
        {"yyyy/mm/dd", "2024-12-31"}, {"hh:mm", "18.04"},  // m after the separator is still the minute
        {"'a/b' hh':'nn", "a/b 18:04"}, {"t", "6.04 PM"}, {"d/m \"h:n\"", "31-12 h:n"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, t), c.text) << c.format;
}

TEST(Locale, ThousandsGroupingNeverUsesTheDecimalSeparator)
{
    struct Case {
        char decimal, thousand;
        const char* text;
    } cases[] = {{'.', ',', "1,234.50"}, {',', '.', "1.234,50"}, {',', ',', "1.234,50"}, {'.', '.', "1,234.50"},
                 {'.', ' ', "1 234.50"}, {',', '\'', "1'234,50"}};
    for (const Case& c : cases) {
        TFormatSettings s;
        s.DecimalSeparator = c.decimal;
        s.ThousandSeparator = c.thousand;
        SettingsGuard g(s);
        EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), c.text) << c.decimal << c.thousand;
    }
}

TEST(Locale, SettingsFromALocalesConventions)
{
    struct Case {
        const char *date, *time, *point, *thousands;
        char decimal, thousand, dateSep, timeSep;
        const char *shortDate, *shortTime, *longTime;
    } cases[] = {
        {"%d.%m.%Y", "%H:%M:%S", ",", ".", ',', '.', '.', ':', "dd.mm.yyyy", "hh:nn", "hh:nn:ss"},
        {"%m/%d/%Y", "%r", ".", ",", '.', ',', '/', ':', "mm/dd/yyyy", "hh:nn AM/PM", "hh:nn:ss AM/PM"},
        {"%Y-%m-%d", "%T", ".", "", '.', ',', '-', ':', "yyyy-mm-dd", "hh:nn", "hh:nn:ss"},
        // a thousands separator of more than one byte (a narrow no-break space) is not taken
        {"%d/%m/%Y", "%H.%M.%S", ",", "\xe2\x80\xaf", ',', '.', '/', '.', "dd/mm/yyyy", "hh.nn", "hh.nn.ss"},
        // nothing known: the defaults
        {nullptr, nullptr, nullptr, nullptr, '.', ',', '/', ':', "dd/mm/yyyy", "hh:nn", "hh:nn:ss"},
        {"%Q", "%Q", "", "", '.', ',', '/', ':', "dd/mm/yyyy", "hh:nn", "hh:nn:ss"},
    };
    for (const Case& c : cases) {
        const TFormatSettings s = FormatSettingsFromC(c.date, c.time, c.point, c.thousands);
        const std::string what = c.date ? c.date : "(none)";
        EXPECT_EQ(s.DecimalSeparator, c.decimal) << what;
        EXPECT_EQ(s.ThousandSeparator, c.thousand) << what;
        EXPECT_EQ(s.DateSeparator, c.dateSep) << what;
        EXPECT_EQ(s.TimeSeparator, c.timeSep) << what;
        EXPECT_EQ(s.ShortDateFormat, c.shortDate) << what;
        EXPECT_EQ(s.ShortTimeFormat, c.shortTime) << what;
        EXPECT_EQ(s.LongTimeFormat, c.longTime) << what;
    }
}

TEST(Locale, APlainOrMissingLocaleGivesTheDefaults)
{
    const char* had = std::getenv("LC_ALL");
    const std::string saved = had ? had : "";
    for (const char* name : {"C", "POSIX", "C.UTF-8", "xx_NO.such-locale"}) {
        ::setenv("LC_ALL", name, 1);
        EXPECT_TRUE(LocaleFormatSettings() == TFormatSettings()) << name;
    }
    if (had) ::setenv("LC_ALL", saved.c_str(), 1);
    else ::unsetenv("LC_ALL");
}

TEST(Locale, PatternsReadWhileAnotherThreadSetsThemStayWhole)
{
    SettingsGuard g(TFormatSettings{});
    const std::string a = "dd/mm/yyyy", b = "yyyy-mm-dd 'week' ww";
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; !stop; ++i) SetShortDateFormat(i % 2 ? a : b);
    });
    int wrong = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string f = ShortDateFormat();
        wrong += f != a && f != b;
    }
    stop = true;
    writer.join();
    EXPECT_EQ(wrong, 0);
}

#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "base/StrUtils.h"
#include "base/StringList.h"
#include "widgets/grid/ExUtil.h"

using namespace grid;

namespace {

// Sets the user's separators for one test and puts the defaults back.
class Separators {
public:
    Separators(char decimal, char thousand, char date = '/', std::string shortDate = "M/d/yyyy")
        : oldFormat_(base::ShortDateFormat())
    {
        base::SetDecimalSeparator(decimal);
        base::SetThousandSeparator(thousand);
        base::SetDateSeparator(date);
        base::SetShortDateFormat(std::move(shortDate));
    }
    ~Separators()
    {
        base::SetDecimalSeparator('.');
        base::SetThousandSeparator(',');
        base::SetDateSeparator('/');
        base::SetShortDateFormat(oldFormat_);
    }

private:
    std::string oldFormat_;
};

const String CRLF = "\r\n";

}  // namespace

TEST(GridTextConversions, CsvQuotingAndUnquoting)
{
    EXPECT_EQ(CSVQuotes("a\"b\"c"), "a\"\"b\"\"c");
    EXPECT_EQ(DoubleToSingleChar('"', "a\"\"b"), "a\"b");
    EXPECT_EQ(DoubleToSingleChar('"', "a\"b"), "ab");
    EXPECT_EQ(DoubleToSingleChar('"', "abc"), "abc");
    EXPECT_EQ(DoubleToSingleChar('"', "\"\"\""), "\"");
}

TEST(GridTextConversions, LineFeedFoldingsRoundTrip)
{
    String s = "a" + CRLF + "b";
    LineFeedsToCSV(s);
    EXPECT_EQ(s, "\"a\x0B" "b\"");
    String plain = "abc";
    LineFeedsToCSV(plain);
    EXPECT_EQ(plain, "\"abc\"");
    String folded = "a\x0B" "b";
    CSVToLineFeeds(folded);
    EXPECT_EQ(folded, "a" + CRLF + "b");
    String nq = "a" + CRLF + "b";
    LineFeedsToCSVNQ(nq);
    EXPECT_EQ(nq, "a\nb");

    String java = "a" + CRLF + "b";
    LineFeedsToJava(java);
    EXPECT_EQ(java, "a~b");
    JavaToLineFeeds(java);
    EXPECT_EQ(java, "a" + CRLF + "b");
    String caret = "^", carets = "^^";
    JavaToLineFeeds(caret);
    JavaToLineFeeds(carets);
    EXPECT_EQ(caret, "");
    EXPECT_EQ(carets, "^^");

    EXPECT_EQ(LfToFile("a" + CRLF + "b"), "a\t\x08" "b");
    EXPECT_EQ(LfToFile("a\nb"), "\x1b" "a\x1bnb");  // a lone LF would end the file line
    EXPECT_EQ(FileToLf("a\t\x08" "b", true), "a" + CRLF + "b");
    EXPECT_EQ(FileToLf("a\t\x08" "b", false), "a");
    EXPECT_EQ(LFToCLF("a" + CRLF + "b"), "a\\nb");
    EXPECT_EQ(CLFToLF("a\\nb"), "a\rb");
    EXPECT_EQ(LineFeedsToXLS("a" + CRLF + "b"), "a\nb");
    EXPECT_EQ(CRToLF("a" + CRLF + "b"), "a\nb");
    EXPECT_EQ(HTMLLineBreaks("a" + CRLF + "b"), "a<br>\nb");
    EXPECT_EQ(HTMLLineBreaks("a\nb"), "a\nb");
}

TEST(GridTextConversions, LinesAreCutAndCounted)
{
    struct Case {
        String text;
        bool multi;
        String line, rest;
    } cases[] = {
        {"a" + CRLF + "b", true, "a", "b"},
        {"a" + CRLF + "b", false, "a", ""},
        {"a\r\rb", true, "a", "\rb"},
        {"abc", true, "abc", ""},
        {"", true, "", ""},
    };
    for (const Case& c : cases) {
        String text = c.text;
        EXPECT_EQ(GetNextLine(text, c.multi), c.line) << c.text;
        EXPECT_EQ(text, c.rest) << c.text;
    }
    EXPECT_EQ(LinesInText("a" + CRLF + "b" + CRLF + "c", true), 3);
    EXPECT_EQ(LinesInText("a" + CRLF + "b" + CRLF + "c", false), 1);
    EXPECT_EQ(LinesInText("", false), 1);
}

TEST(GridTextConversions, CodePagesPasswordsAndColours)
{
    String s = "caf\xE9 \x80";  // e acute and the euro sign: 437 has the first only
    StringToOem(s);
    EXPECT_EQ(s, "caf\x82 ?");
    OemToString(s);
    EXPECT_EQ(s, "caf\xE9 ?");
    String pw = "secret";
    StringToPassword(pw, '*');
    EXPECT_EQ(pw, "******");
    EXPECT_EQ(HTMLColor(0x00112233), "332211");
    EXPECT_EQ(HTMLColor(0x80000005), "050000");
}

TEST(GridTextConversions, WideTextsSurviveTheByteStore)
{
    const String enc = EncodeWideStr(u"\u00E9");
    EXPECT_EQ(enc, String("|\\") + '\0' + '\xE9');
    EXPECT_EQ(DecodeWideStr(enc), u"\u00E9");
    EXPECT_EQ(DecodeWideStr("abc"), u"abc");
    EXPECT_EQ(DecodeWideStr("\x80"), u"\u20AC");
    EXPECT_EQ(EncodeWideStr(u""), "|\\");
    const WideString greek = u"\u03B1\u03B2\u4E2D";
    EXPECT_EQ(DecodeWideStr(EncodeWideStr(greek)), greek);
    EXPECT_EQ(DecodeWideStr(String("|\\") + '\x03' + '\xB1' + 'x'), u"\u03B1");  // odd byte dropped
}

TEST(GridTextConversions, WideTextStandInKeepsOneCharacterPerCodeUnit)
{
    const struct {
        WideString wide;
        String standIn;
    } cases[] = {
        {u"", ""},
        {u"abc", "abc"},
        {u"caf\u00E9\u00FF", "caf\xE9\xFF"},
        {u"\u0100a\u20AC\u4E2D", "?a??"},
        {u"x\U0001F600y", "x??y"},  // a pair of surrogates: two units
    };
    for (const auto& c : cases) EXPECT_EQ(WideStandIn(c.wide), c.standIn);
}

TEST(GridTextConversions, TextTypes)
{
    struct Case {
        String text;
        bool html;
        TTextType type;
    } cases[] = {
        {"", true, TTextType::ttText},          {"=", false, TTextType::ttFormula},
        {"=A1+1", true, TTextType::ttFormula},  {"|\\xy", true, TTextType::ttUnicode},
        {"{\\rtf1", true, TTextType::ttRTF},    {"<B>x", true, TTextType::ttHTML},
        {"<B>x", false, TTextType::ttText},     {"<b>x", true, TTextType::ttText},
        {"x</b>", true, TTextType::ttHTML},     {"<I>x", true, TTextType::ttHTML},
        {"http://a", true, TTextType::ttText},
    };
    for (const Case& c : cases) EXPECT_EQ(TextType(c.text, c.html), c.type) << c.text;
}

TEST(GridTextConversions, ValueTypes)
{
    struct Case {
        String text;
        char decimal, thousand;
        TAutoType type;
    } cases[] = {
        {"-12", '.', ',', TAutoType::atNumeric},   {"12-3", '.', ',', TAutoType::atString},
        {"1,5", ',', '.', TAutoType::atFloat},     {"1.234.567", ',', '.', TAutoType::atString},
        {"-", '.', ',', TAutoType::atNumeric},     {"", '.', ',', TAutoType::atString},
        {"1e5", '.', ',', TAutoType::atString},    {"1 2", '.', ',', TAutoType::atString},
        {"12.5", '.', ',', TAutoType::atFloat},    {"1.2.3", '.', ',', TAutoType::atString},
        {"1,234.5", '.', ',', TAutoType::atFloat}, {",123", '.', ',', TAutoType::atString},
        {"--1", '.', ',', TAutoType::atString},
    };
    for (const Case& c : cases) {
        Separators seps(c.decimal, c.thousand);
        EXPECT_EQ(IsType(c.text), c.type) << c.text;
    }
}

TEST(GridTextConversions, NumberNormalisation)
{
    Separators seps(',', '.');
    struct Case {
        String in, out;
    } cases[] = {
        {"1.234,5", "1234.5"}, {" (7) ", "-7"}, {"+5", "5"}, {"EUR -3", "-3"}, {"12 kg", "12"},
        {"-", "-"},            {"", ""},        {"1,5e3", "1.5e3"},
    };
    for (const Case& c : cases) EXPECT_EQ(RemoveSeps(c.in), c.out) << c.in;
    EXPECT_EQ(FixDecimalSeparator("1,5,6"), "1.5,6");
    Separators dot('.', ',');
    EXPECT_EQ(FixDecimalSeparator("1,5"), "1,5");
}

TEST(GridStringUtilities, SearchingAndCounting)
{
    int pos = 99;
    EXPECT_EQ(CharPos('b', "abc"), 2);
    EXPECT_EQ(VarCharPos('x', "abc", pos), 0);
    EXPECT_EQ(pos, 99);  // untouched when not found
    EXPECT_EQ(VarCharPosNC('B', "abc", pos), 2);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(VarPos("zz", "abc", pos), 0);
    EXPECT_EQ(pos, 0);  // always written
    EXPECT_EQ(FIPos("<BLI", "x<bli>"), 2);
    EXPECT_EQ(FirstChar("&|", "a|b&c"), '|');
    EXPECT_EQ(FirstChar("&|", "abc"), '\0');
    EXPECT_EQ(SinglePos('"', "ab\"\",c\",d", pos), 7);
    EXPECT_EQ(SinglePos('"', "ab\"\"", pos), 4);
    EXPECT_EQ(SinglePos('"', "abc", pos), 0);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(NumSingleChar('"', "\"a\",\"b\""), 4);
    EXPECT_EQ(NumChar('a', "banana"), 3);
    EXPECT_EQ(NumCharInStr('a', "banana"), 3);
    EXPECT_EQ(StrPosWide(u"na", u"banana"), 3);
    EXPECT_EQ(StrPosWide(u"", u"banana"), 0);
    EXPECT_EQ(StrPosWide(u"bananas", u"banana"), 0);
}

TEST(GridStringUtilities, TokensListsLimitsAndRects)
{
    String s = "a,b,c";
    EXPECT_EQ(GetToken(s, ","), "a");
    EXPECT_EQ(s, "b,c");
    EXPECT_EQ(GetToken(s, ";"), "");
    EXPECT_EQ(s, "b,c");
    base::TStringList list;
    list.Add("ab");
    list.Add("cd");
    EXPECT_EQ(StringListToText(list), "abcd");
    struct Case {
        int value, lower, upper, result;
    } limits[] = {{5, 10, 20, 10}, {25, 10, 20, 20}, {25, 10, 0, 25}, {5, 0, 20, 5}, {7, 3, 3, 7}};
    for (const Case& c : limits) EXPECT_EQ(CheckLimits(c.value, c.lower, c.upper), c.result) << c.value;
    EXPECT_TRUE(IsInGridRect({1, 2, 3, 4}, 3, 4));
    EXPECT_FALSE(IsInGridRect({1, 2, 3, 4}, 0, 3));
    EXPECT_EQ(RectString({1, 2, 3, 4}), "[1:2][3:4]");
}

TEST(GridStringUtilities, CellNamesLinksAndCapitals)
{
    platform::TPoint p{-1, -1};
    EXPECT_TRUE(NameToCell("r12c3", p));
    EXPECT_EQ(p.X, 3);
    EXPECT_EQ(p.Y, 12);
    for (const char* bad : {"R1C", "R1C2X", "C1R2", "RxC2", ""}) {
        platform::TPoint q{-1, -1};
        EXPECT_FALSE(NameToCell(bad, q)) << bad;
        EXPECT_EQ(q.X, -1);
    }
    EXPECT_TRUE(IsURL("see http://x"));
    EXPECT_TRUE(IsURL("mailto:me"));
    EXPECT_FALSE(IsURL("MAILTO:me"));
    String u = "abc://host/x", m = "mailto:me", n = "plain";
    StripURLProtocol(u);
    StripURLProtocol(m);
    StripURLProtocol(n);
    EXPECT_EQ(u, "host/x");
    EXPECT_EQ(m, "me");
    EXPECT_EQ(n, "plain");
    struct Case {
        String in, out;
    } names[] = {{"mcdonald", "McDonald"}, {"henry iii", "Henry III"}, {"jean-luc", "Jean-Luc"},
                 {"HELLO WORLD", "Hello World"}, {"o'brien", "O'Brien"}, {"ronald mcdonald", "Ronald McDonald"}};
    for (const Case& c : names) EXPECT_EQ(ShiftCase(c.in), c.out) << c.in;
}

TEST(GridStringUtilities, ShortDatesNeverRaiseAndKeepFourDigitYears)
{
    EXPECT_EQ(StrToShortdateUS("12/31/99"), base::EncodeDate(1999, 12, 31));
    EXPECT_EQ(StrToShortDateEU("31.12.05"), base::EncodeDate(2005, 12, 31));
    EXPECT_EQ(StrToShortdateUS("1/2/25"), base::EncodeDate(2025, 1, 2));
    EXPECT_EQ(StrToShortdateUS("1/2/26"), base::EncodeDate(1926, 1, 2));
    EXPECT_EQ(StrToShortdateUS("12/31/2005"), base::EncodeDate(2005, 12, 31));  // not 3905
    EXPECT_EQ(StrToShortDateEU("31-12-1999"), base::EncodeDate(1999, 12, 31));
    for (const char* bad : {"1/2", "1/2-3", "13/1/05", "2/30/05", "a/b/c", "1/1/99999", ""})
        EXPECT_EQ(StrToShortdateUS(bad), 0) << bad;
    EXPECT_TRUE(IsDateStr("1/2/3"));
    EXPECT_FALSE(IsDateStr("1//3"));
    EXPECT_FALSE(IsDateStr("/1/2"));
}

TEST(GridStringUtilities, NextDatesOfAPastedSeries)
{
    const auto d = [](int y, int m, int day) { return base::EncodeDate(y, m, day); };
    EXPECT_EQ(GetNextDate(d(2024, 12, 15), 0, 1, 0, 0), d(2025, 1, 15));
    EXPECT_EQ(GetNextDate(d(2024, 5, 10), 0, 0, 7, 0), d(2024, 5, 17));
    EXPECT_EQ(GetNextDate(d(2024, 5, 10), 2, 0, 0, 0), d(2026, 5, 10));
    EXPECT_EQ(GetNextDate(d(2024, 5, 10), 0, 0, 0, 3.0), d(2024, 5, 13));
    EXPECT_EQ(GetNextDate(d(2024, 5, 10), 1, 1, 0, 3.0), d(2024, 5, 13));
    // Days the target month lacks become its last day instead of raising.
    EXPECT_EQ(GetNextDate(d(2023, 1, 31), 0, 1, 0, 0), d(2023, 2, 28));
    EXPECT_EQ(GetNextDate(d(2024, 2, 29), 1, 0, 0, 0), d(2025, 2, 28));
    EXPECT_EQ(GetNextDate(d(2024, 11, 30), 0, 26, 0, 0), d(2027, 1, 30));
}

TEST(GridFilterMatching, ComparisonsWildcardsAndJoins)
{
    Separators seps('.', ',', '/', "M/d/yyyy");
    struct Case {
        String condition, text;
        bool match;
        bool caseSensitive = true;
    } cases[] = {
        {">10", "11", true},         {">10", "10.5", true},        {">10", "10", false},
        {">10", "9", false},          {">=10", "10", true},         {"<1,000", "999", true},
        {">b", "c", true},            {">B", "c", true, false},     {">1/15/2005", "2/1/2005", true},
        {">1/15/2005", "1/1/2005", false},
        {"a*", "abc", true},          {"*c", "abc", true},          {"a?c", "abc", true},
        {"a?c", "ac", false},         {"a\\*c", "a*c", true},       {"a\\*c", "abc", false},
        {"!a*", "bcd", true},         {"!a*", "abc", false},        {"a*|b*", "bx", true},
        {"a*&*z", "abz", true},       {"a*&*z", "ab", false},       {"a*|b*&*z", "ab", false},
        {" a* | b* ", "bx", true},    {"=abc", "abc", true},        {"", "", true},
        {"", "x", false},             {"a;", "a", true},            {"a;", "", true},
        {"b*b", "b", false},          {"*", "anything", true},      {"\"abc\"", "abc", true},
        {">5&<8", "6", true},         {">5&<8", "9", false},        {">5 <8", "9", true},
        {"abc\\", "abc\\", true},     {"abc\\", "abc", false},      {"ABC", "abc", true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchStrEx(c.condition, c.text, c.caseSensitive), c.match) << c.condition << " / " << c.text;
}

TEST(GridFilterMatching, ManyStarsOnALongTextStayFast)
{
    const String text(2000, 'a');
    EXPECT_FALSE(Matches("*a*a*a*a*a*a*a*a*a*a*a*a*b", text));
    EXPECT_TRUE(Matches("*a*a*a*a*a*a*a*a*a*a*a*a*", text));
}

TEST(GridFilterMatching, DatesFollowTheUsersOrderAndImpossibleOnesAreNoDates)
{
    Separators eu('.', ',', '.', "dd.MM.yyyy");
    EXPECT_TRUE(MatchStrEx(">15.01.2005", "01.02.2005", true));
    EXPECT_FALSE(MatchStrEx(">15.01.2005", "01.01.2005", true));
    // 31.02 is no date: the texts are compared instead, and "31.02.2005" > "15.01.2005".
    EXPECT_TRUE(MatchStrEx(">15.01.2005", "31.02.2005", true));
}

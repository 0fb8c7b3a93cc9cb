#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "platform/system/OsVersion.h"
#include "widgets/html/HtmlText.h"

using namespace html;

namespace {

// The text in a heap block of exactly its size, no terminator: a read past the end
// is caught by the address sanitizer.
struct ExactText {
    explicit ExactText(const std::string& s) : buf(new char[s.size() ? s.size() : 1]), n(s.size())
    {
        std::copy(s.begin(), s.end(), buf.get());
    }
    operator std::string_view() const { return {buf.get(), n}; }
    std::unique_ptr<char[]> buf;
    std::size_t n;
};

}  // namespace

TEST(HtmlText, Strip)
{
    struct Case {
        std::string in;
        HTMLVariant variant;
        std::string out;
    };
    const std::vector<Case> cases = {
        {"a<B>b</B><BR>c", HTMLVariant::Grid, "ab\r\nc"},
        {"a<br>b<hR>c", HTMLVariant::Tree, "a\r\nb\r\nc"},
        {"x<Z>hid</Z>y", HTMLVariant::Grid, "xhidy"},
        {"x<Z>hid</Z>y", HTMLVariant::Tree, "xhidy"},
        {"x<Z>hid</Z>y", HTMLVariant::Panel, "xy"},
        {"x<z>hid</z>y<z>2</z>", HTMLVariant::Panel, "xy"},
        // the two letter cases pair separately
        {"x<z>hid</Z>y", HTMLVariant::Panel, "xhidy"},
        {"x<Z>hid", HTMLVariant::Panel, "xhid"},
        {"ab<cd", HTMLVariant::Grid, "ab<cd"},
        {"ab<cd", HTMLVariant::Panel, "ab<cd"},
        {"a<b<c>d", HTMLVariant::Grid, "ad"},
        {"a>b", HTMLVariant::Grid, "a>b"},
        {"<", HTMLVariant::Grid, "<"},
        {"<>", HTMLVariant::Grid, ""},
        {"", HTMLVariant::Grid, ""},
        {"<BR", HTMLVariant::Grid, "<BR"},
        {"&lt;B&gt;", HTMLVariant::Grid, "&lt;B&gt;"},
        {"<A href=\"x\">link</A> <IMG src=\"idx:1\">", HTMLVariant::Grid, "link "},
    };
    for (const Case& c : cases) {
        ExactText t(c.in);
        EXPECT_EQ(HTMLStrip(t, c.variant), c.out) << c.in;
    }
}

TEST(HtmlText, HighlightAndUnhighlight)
{
    struct Case {
        std::string in, hi, tag;
        bool doCase;
        std::string out;
    };
    const std::vector<Case> cases = {
        {"a<B>bc</B>d", "bcd", "HI", false, "a<HI><B>bc</B>d</HI>"},
        {"abab", "ab", "hi", false, "<hi>ab</hi><hi>ab</hi>"},
        {"abab", "AB", "hi", true, "abab"},
        {"abab", "AB", "hi", false, "<hi>ab</hi><hi>ab</hi>"},
        {"aaaa", "aa", "e", true, "<e>aa</e><e>aa</e>"},
        {"aaa", "aa", "e", true, "<e>aa</e>a"},
        {"x<B>y</B>", "y", "hi", true, "x<hi><B>y</hi></B>"},
        // markup is not searched
        {"<B>b</B>", "B", "hi", true, "<B>b</B>"},
        {"<FONT color=\"clred\">red</FONT>", "red", "hi", false, "<hi><FONT color=\"clred\">red</hi></FONT>"},
        {"abab x", "ab", "hi", true, "<hi>ab</hi><hi>ab</hi> x"},
        {"a<b b", "b", "hi", true, "a<<hi>b</hi> <hi>b</hi>"},
        // an unterminated tag is visible text
        {"ab<cd", "cd", "hi", true, "ab<<hi>cd</hi>"},
        {"ab<cd", "<c", "hi", true, "ab<hi><c</hi>d"},
        {"a<b", "b", "hi", true, "a<<hi>b</hi>"},
        {"", "a", "hi", true, ""},
        {"abc", "", "hi", true, "abc"},
        {"abc", "abcd", "hi", true, "abc"},
        {"<<>>x", "x", "hi", true, "<<>><hi>x</hi>"},
    };
    for (const Case& c : cases) {
        ExactText t(c.in);
        ExactText h(c.hi);
        std::string lit = HiLight(t, h, c.tag, c.doCase);
        EXPECT_EQ(lit, c.out) << c.in << " / " << c.hi;
        EXPECT_EQ(UnHiLight(lit, c.tag), c.in) << c.in;
    }

    struct UnCase {
        std::string in, tag, out;
    };
    const std::vector<UnCase> unCases = {
        {"<hi>a</hi>b<HI>c</HI>", "hi", "abc"},
        {"<Hi>a</hI>", "HI", "a"},
        {"<e>a</e><hi>b</hi>", "e", "a<hi>b</hi>"},
        {"<hi", "hi", "<hi"},
        {"</hi", "hi", "</hi"},
        {"", "hi", ""},
    };
    for (const UnCase& c : unCases) {
        ExactText t(c.in);
        EXPECT_EQ(UnHiLight(t, c.tag), c.out) << c.in;
    }
}

TEST(HtmlText, FixMarkup)
{
    struct Case {
        std::string in, markup, nbsp;
    };
    const std::vector<Case> cases = {
        {"a&b", "a&amp;b", "a&b"},
        {"<\"&\">", "&lt;&quot;&amp;&quot;&gt;", "<\"&\">"},
        {"&amp;", "&amp;amp;", "&amp;"},
        {"a b  c", "a b  c", "a&nbsp;b&nbsp;&nbsp;c"},
        {"", "", ""},
        {" ", " ", "&nbsp;"},
    };
    for (const Case& c : cases) {
        ExactText t(c.in);
        EXPECT_EQ(FixMarkup(t), c.markup) << c.in;
        EXPECT_EQ(FixNonBreaking(t), c.nbsp) << c.in;
    }
}

TEST(HtmlText, ControlValues)
{
    const std::string three =
        "x<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"1\" WIDTH=\"40\">"
        "<control type=\"button\" id=\"b1\" value=\"Go\">"
        "<CONTROL TYPE=\"edit\" ID=\"e2\" VALUE=\"a&lt;b&gt;c\" WIDTH=\"50\" PROP=\"99/99\">y";

    struct NextCase {
        std::string text, id, next;
    };
    const std::vector<NextCase> nextCases = {
        {three, "", "e1"},
        {three, "e1", "e2"},
        {three, "b1", "e2"},
        {three, "e2", ""},
        {three, "E1", ""},  // IDs compare exactly
        {"<CONTROL TYPE=\"CHECK\" ID=\"c\"><CONTROL TYPE=\"RADIO\" ID=\"r\">", "", ""},
        {"<CONTROL TYPE=\"CHECK\" ID=\"c\"><CONTROL TYPE=\"COMBO\" ID=\"k\">", "", "k"},
        {"no controls", "", ""},
        {"<CONTROL TYPE=\"EDIT\" ID=\"u\"", "", "u"},  // unterminated: attributes to the end
        {"<CONTROL TYPE=\"EDIT\" ID=\"u", "", ""},     // unterminated value reads empty
        {"<CONTROL", "", ""},
        {"<CONTROLX TYPE=\"EDIT\" ID=\"z\">", "", ""},
    };
    for (const NextCase& c : nextCases) {
        ExactText t(c.text);
        EXPECT_EQ(GetNextControlID(t, c.id), c.next) << c.text << " / " << c.id;
    }

    struct ValueCase {
        std::string text, id;
        bool found;
        std::string value, prop;
    };
    const std::vector<ValueCase> valueCases = {
        {three, "e1", true, "1", ""},
        {three, "b1", true, "Go", ""},
        {three, "e2", true, "a<b>c", "99/99"},
        {three, "zz", false, "untouched", ""},
        {"<CONTROL TYPE=\"EDIT\" VALUE=\"v\">", "", true, "v", ""},  // no ID= means an empty ID
        {"<CONTROL TYPE=EDIT ID=\"a\" VALUE=v>", "a", true, "", ""},  // unquoted reads empty
        {"<CONTROL ID=\"a\" VALUE=\"open", "a", true, "", ""},
        {"<CONTROL ID=\"a\" VALUE=\"1\"><CONTROL ID=\"a\" VALUE=\"2\">", "a", true, "1", ""},
    };
    for (const ValueCase& c : valueCases) {
        ExactText t(c.text);
        std::string v = "untouched";
        EXPECT_EQ(GetControlValue(t, c.id, v), c.found) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(GetControlProp(t, c.id), c.prop) << c.text;
    }

    EXPECT_TRUE(HasHTMLControl(three));
    EXPECT_TRUE(HasHTMLControl("<control"));
    EXPECT_FALSE(HasHTMLControl("<contro"));
    EXPECT_FALSE(HasHTMLControl(""));

    struct SetCase {
        std::string text, id, value;
        HTMLVariant variant;
        bool found;
        std::string out;
    };
    const std::string check = "a<CONTROL TYPE=\"check\" ID=\"c\" VALUE=\"FALSE\" WIDTH=\"16\">b";
    const std::vector<SetCase> setCases = {
        {check, "c", "TRUE", HTMLVariant::Grid, true,
         "a<CONTROL ID=\"c\" VALUE=\"TRUE\" WIDTH=\"16\" TYPE=\"CHECK\">b"},
        {check, "c", "TRUE", HTMLVariant::Tree, true,
         "a<CONTROL ID=\"c\" VALUE=\"TRUE\" WIDTH=\"16\" TYPE=\"CHECK\">b"},
        {check, "d", "TRUE", HTMLVariant::Grid, false, check},
        {check, "c", "<&\">", HTMLVariant::Grid, true,
         "a<CONTROL ID=\"c\" VALUE=\"&lt;&amp;&quot;&gt;\" WIDTH=\"16\" TYPE=\"CHECK\">b"},
        {check, "c", "<&>", HTMLVariant::Tree, true,
         "a<CONTROL ID=\"c\" VALUE=\"&lt;&&gt;\" WIDTH=\"16\" TYPE=\"CHECK\">b"},
        {three, "e2", "z", HTMLVariant::Grid, true,
         "x<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"1\" WIDTH=\"40\">"
         "<control type=\"button\" id=\"b1\" value=\"Go\">"
         "<CONTROL ID=\"e2\" VALUE=\"z\" WIDTH=\"50\" TYPE=\"EDIT\" PROP=\"99/99\">y"},
        {three, "e2", "z", HTMLVariant::Tree, true,
         "x<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"1\" WIDTH=\"40\">"
         "<control type=\"button\" id=\"b1\" value=\"Go\">"
         "<CONTROL ID=\"e2\" VALUE=\"z\" WIDTH=\"50\" TYPE=\"EDIT\">y"},
        {"<CONTROL TYPE=\"EDIT\" ID=\"u\"", "u", "v", HTMLVariant::Grid, true,
         "<CONTROL ID=\"u\" VALUE=\"v\" WIDTH=\"\" TYPE=\"EDIT\">"},
        {"", "u", "v", HTMLVariant::Grid, false, ""},
    };
    for (const SetCase& c : setCases) {
        std::string text = c.text;
        EXPECT_EQ(SetControlValue(text, c.id, c.value, c.variant), c.found) << c.text;
        EXPECT_EQ(text, c.out) << c.text;
        if (c.found) {
            std::string back;
            ASSERT_TRUE(GetControlValue(text, c.id, back));
            if (c.variant == HTMLVariant::Grid && c.value.find_first_of("&\"") == std::string::npos) {
                EXPECT_EQ(back, c.value);
            }
        }
    }
}

TEST(HtmlText, ColourNames)
{
    struct Case {
        std::string name;
        std::uint32_t value;
    };
    const std::vector<Case> names = {
        {"clred", 0x0000FF},        {"clblack", 0},             {"clblue", 0xFF0000},
        {"clgreen", 0x008000},      {"claqua", 0xFFFF00},       {"clyellow", 0x00FFFF},
        {"clfuchsia", 0xFF00FF},    {"clwhite", 0xFFFFFF},      {"cllime", 0x00FF00},
        {"clsilver", 0xC0C0C0},     {"clgray", 0x808080},       {"clolive", 0x008080},
        {"clnavy", 0x800000},       {"clpurple", 0x800080},     {"clteal", 0x808000},
        {"clmaroon", 0x000080},     {"clbackground", 0x80000001}, {"clbtnface", 0x8000000F},
        {"clhighlight", 0x8000000D}, {"clhighlighttext", 0x8000000E}, {"clinfobk", 0x80000018},
        {"cl3ddkshadow", 0x80000015}, {"clinactivecaptiontext", 0x80000013},
        {"clRed", 0},               {"red", 0},                 {"", 0},
        {"clred ", 0},
    };
    for (const Case& c : names) {
        ExactText t(c.name);
        EXPECT_EQ(static_cast<std::uint32_t>(ColorFromName(t)), c.value) << c.name;
    }

    const std::vector<Case> hex = {
        {"#FF8000", 0x0080FF}, {"#000000", 0},         {"#FFFFFF", 0xFFFFFF}, {"#0A0B0C", 0x0C0B0A},
        {"#FF80", 0x80FF},     {"#FF8", 0xFF},         {"#", 0},              {"", 0},
        {"#12345", 0x3412},
        // non-hex characters never give a system colour
        {"#0000 0", 0x00F00000 & 0x00FFFFFF},
    };
    for (const Case& c : hex) {
        ExactText t(c.name);
        std::uint32_t v = static_cast<std::uint32_t>(ColorFromHex(t));
        if (c.name == "#0000 0")
            EXPECT_EQ(v & 0xFF000000u, 0u);
        else
            EXPECT_EQ(v, c.value) << c.name;
    }
}

TEST(HtmlText, StringHelpers)
{
    struct IntCase {
        std::string text;
        int value;
        bool whole;
    };
    const std::vector<IntCase> ints = {
        {"12", 12, true},   {"  -7", -7, true}, {"+3", 3, true},    {"12px", 12, false},
        {"$1F", 31, true},  {"0x10", 16, true}, {"0X1g", 1, false}, {"abc", 0, false},
        {"", 0, false},     {"-", 0, false},    {"99999999999", 2147483647, true},
        {"-99999999999", -2147483647 - 1, true}, {"5 ", 5, false},
    };
    for (const IntCase& c : ints) {
        ExactText t(c.text);
        bool whole = !c.whole;
        EXPECT_EQ(LenientStrToInt(t, &whole), c.value) << c.text;
        EXPECT_EQ(whole, c.whole) << c.text;
    }

    int pos = -1;
    EXPECT_EQ(VarPosNC("bc", "aBCd", pos), 2);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(VarPosNC("x", "abc", pos), 0);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(PosNoCase("", "abc"), 0);

    std::string s = "one Two two";
    EXPECT_TRUE(ReplaceNoCase(s, "TWO", "2"));
    EXPECT_EQ(s, "one 2 two");
    EXPECT_FALSE(ReplaceNoCase(s, "three", "3"));
    EXPECT_EQ(s, "one 2 two");

    EXPECT_EQ(LineBreaksToBR("a\r\nb\rc\nd"), "a<BR>b<BR>cd");
    EXPECT_EQ(LineBreaksToBR("a\r\nb", true), "ab");
    EXPECT_EQ(RestoreAngleBrackets("&lt;B&gt;&amp;"), "<B>&amp;");
    EXPECT_EQ(PasswordMask("abc"), "***");
    EXPECT_EQ(PasswordMask(""), "");
    EXPECT_TRUE(IsFolder(std::filesystem::temp_directory_path().string()));
    EXPECT_FALSE(IsFolder("/no/such/folder/here"));
    EXPECT_FALSE(IsFolder(""));
}

TEST(HtmlText, WinXPFlag)
{
    EXPECT_FALSE(IsWinXPOrLater(4, 10));
    EXPECT_FALSE(IsWinXPOrLater(5, 0));
    EXPECT_TRUE(IsWinXPOrLater(5, 1));
    EXPECT_TRUE(IsWinXPOrLater(6, 0));
    EXPECT_TRUE(grdhtmle::IsWinXP);
    EXPECT_TRUE(parhtml::IsWinXP);

    platform::SetOsVersionForTesting({5, 0, 2195});
    EXPECT_FALSE(grdhtmle::DetectWinXP());
    EXPECT_FALSE(grdhtmle::IsWinXP);
    EXPECT_TRUE(parhtml::IsWinXP);  // each unit keeps its own flag
    platform::ResetOsVersionForTesting();
    EXPECT_TRUE(grdhtmle::DetectWinXP());
    EXPECT_TRUE(parhtml::DetectWinXP());
}

TEST(HtmlText, BrokenMarkupAlwaysEnds)
{
    // Random texts built from pieces of markup: every operation ends, stays inside the
    // text (checked by the address sanitizer) and highlighting undoes cleanly.
    const char* pieces[] = {"<", ">", "</", "\"", "=", "&", " ", "a", "b", "<B>", "<BR>", "<z>", "</z>", "<Z>",
                            "</Z>", "<CONTROL ", "ID=", "VALUE=", "TYPE=", "PROP=", "WIDTH=", "\"x\"", "&lt;",
                            "&gt;", "<hr", "EDIT", "\"e\"", "\r", "\n"};
    const int pieceCount = int(sizeof pieces / sizeof pieces[0]);
    unsigned seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string s;
        const int n = int(next() % 12);
        for (int i = 0; i < n; ++i)
            s += pieces[next() % pieceCount];
        ExactText t(s);
        // Stripped text holds no whole tag: a "<" left over is one that no ">" follows.
        // It is the text with line breaks for <BR> and <HR>, the panel's hidden runs
        // taken out, and then every run from a "<" to the next ">".
        const std::string broken = std::regex_replace(s, std::regex("<(BR|HR)>", std::regex::icase), "\r\n");
        const std::string shown = std::regex_replace(std::regex_replace(broken, std::regex("<z>[\\s\\S]*?</z>"), ""),
                                                     std::regex("<Z>[\\s\\S]*?</Z>"), "");
        const std::regex tag("<[^>]*>");
        for (HTMLVariant v : {HTMLVariant::Grid, HTMLVariant::Tree, HTMLVariant::Panel}) {
            const std::string stripped = HTMLStrip(t, v);
            const std::size_t lt = stripped.find('<');
            EXPECT_TRUE(lt == std::string::npos || stripped.find('>', lt) == std::string::npos) << s;
            EXPECT_EQ(stripped, std::regex_replace(v == HTMLVariant::Panel ? shown : broken, tag, "")) << s;
        }
        const std::string search = pieces[next() % pieceCount];
        ExactText h(search);
        std::string lit = HiLight(t, h, "q9", next() % 2 == 0);
        EXPECT_EQ(UnHiLight(lit, "q9"), s) << s << " / " << search;
        EXPECT_EQ(HTMLStrip(FixMarkup(t)).size(), FixMarkup(t).size()) << s;  // escaped text has no tags
        const std::string nbsp = FixNonBreaking(t);
        EXPECT_EQ(nbsp.find(' '), std::string::npos) << s;
        EXPECT_EQ(nbsp.size(), s.size() + 5 * std::size_t(std::count(s.begin(), s.end(), ' '))) << s;
        (void)HasHTMLControl(t);
        std::string id = GetNextControlID(t, "");
        std::string value;
        bool found = GetControlValue(t, id, value);
        (void)GetControlProp(t, id);
        std::string copy = s;
        EXPECT_EQ(SetControlValue(copy, id, "v<&>", next() % 2 ? HTMLVariant::Grid : HTMLVariant::Tree), found);
        if (found) {
            std::string back;
            EXPECT_TRUE(GetControlValue(copy, id, back)) << s;
        } else {
            EXPECT_EQ(copy, s);
        }
        (void)ColorFromHex(t);
        (void)ColorFromName(t);
        (void)LenientStrToInt(t);
        (void)RestoreAngleBrackets(t);
        EXPECT_EQ(LineBreaksToBR(t).find_first_of("\r\n"), std::string::npos) << s;
    }
}

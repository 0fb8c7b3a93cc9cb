// Parameter anchors in node texts: find, read, replace, escape and split choices.
#include <gtest/gtest.h>

#include "base/StringList.h"
#include "widgets/edit/ParamMarkup.h"

using namespace edit;

namespace {

TEST(ParamMarkup, FindsAndReadsAnchors)
{
    const std::string s = "Density <A HREF=\"Density\" class=\"edit\" props=\"a|b\" hint=\"Water\">1.025</A> Te/m<SUP>3";
    const struct {
        const char* text;
        const char* href;
        bool found;
        const char* value;
    } cases[] = {
        {s.c_str(), "density", true, "1.025"},
        {"<a href=\"x\"><b>5</b></a>", "x", true, ""},
        {"<a href=\"y\">1</a><a href=\"x\">2</a>", "X", true, "2"},
        {"<a href=\"x>1</a>", "x", false, ""},
        {"no anchors", "x", false, ""},
        {"<a href=\"x\">A&amp;B</a>", "x", true, "A&amp;B"},
    };
    for (const auto& c : cases) {
        std::string v;
        EXPECT_EQ(GetHREFValue(c.text, c.href, v), c.found) << c.text;
        if (c.found) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    std::string cls, value, props, hint;
    ASSERT_TRUE(ExtractParamInfo(s, "DENSITY", cls, value, props, hint));
    EXPECT_EQ(cls, "EDIT");
    EXPECT_EQ(value, "1.025");
    EXPECT_EQ(props, "a|b");
    EXPECT_EQ(hint, "Water");
    ASSERT_TRUE(ExtractParamInfo("<a href=\"x\"><b>5</b></a>", "x", cls, value, props, hint));
    EXPECT_EQ(value, "<b>5");
    EXPECT_EQ(cls, "");
    EXPECT_FALSE(ExtractParamInfo(s, "draught", cls, value, props, hint));
}

TEST(ParamMarkup, ReplacesOnlyTheNamedAnchor)
{
    std::string s = "7 <a href=\"a\">7</a> <a href=\"b\">7</a>";
    EXPECT_TRUE(SetHREFValue(s, "B", "8"));
    EXPECT_EQ(s, "7 <a href=\"a\">7</a> <a href=\"b\">8</a>");
    // Nothing replaced: false and the text as it was.
    std::string nested = "<a href=\"x\"><b>5</b></a>";
    EXPECT_FALSE(SetHREFValue(nested, "x", "6"));
    EXPECT_EQ(nested, "<a href=\"x\"><b>5</b></a>");
    std::string none = "plain";
    EXPECT_FALSE(SetHREFValue(none, "x", "1"));
}

TEST(ParamMarkup, EscapesRoundTrip)
{
    const char* values[] = {"A&B", "\"quoted\"", "a<b>c", "&quot;", "&lt;", "&amp;", "", "plain"};
    for (const char* v : values) {
        EXPECT_EQ(InvHTMLPrep(HTMLPrep(v)), v) << v;
        std::string s = "<a href=\"p\">x</a>";
        ASSERT_TRUE(SetHREFValue(s, "p", HTMLPrep(v))) << v;
        std::string back;
        ASSERT_TRUE(GetHREFValue(s, "p", back));
        EXPECT_EQ(InvHTMLPrep(back), v) << v;
    }
    EXPECT_EQ(HTMLPrep("A&B \"x\""), "A&amp;B &quot;x&quot;");
    EXPECT_EQ(InvHTMLPrep("&amp;quot;"), "&quot;");  // one pass
    EXPECT_EQ(InvHTMLPrep("&amp;lt;"), "&lt;");
}

TEST(ParamMarkup, SplitsChoices)
{
    const struct {
        const char* props;
        std::vector<std::string> entries;
    } cases[] = {{"a||b", {"a", "", "b"}}, {"a|b|", {"a", "b"}}, {"", {}}, {"one", {"one"}}, {"|x", {"", "x"}}};
    for (const auto& c : cases) {
        base::TStringList list;
        list.Add("old");
        PropToList(c.props, list);
        std::vector<std::string> got;
        for (int i = 0; i < list.Count(); ++i) got.push_back(list.Get(i));
        EXPECT_EQ(got, c.entries) << c.props;
    }
}

}  // namespace

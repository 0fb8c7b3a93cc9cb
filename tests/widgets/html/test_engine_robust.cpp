// Broken and hostile markup: every text is laid out and drawn, without a crash or a hang.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/graphics/ImageList.h"
#include "test_engine_support.h"
#include "widgets/html/PictureContainer.h"

using namespace enginetest;
using html::HTMLVariant;

namespace {

const HTMLVariant kVariants[] = {HTMLVariant::Grid, HTMLVariant::Tree, HTMLVariant::Panel};

std::string Repeat(const std::string& s, int n)
{
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

// Tags named "A": the most links a text can open.
int OpenedLinks(const std::string& text)
{
    int n = 0;
    for (std::size_t i = 0; i + 2 < text.size(); ++i)
        if (text[i] == '<' && (text[i + 1] == 'A' || text[i + 1] == 'a') &&
            std::string(" \t\r\n/>").find(text[i + 2]) != std::string::npos)
            ++n;
    return n;
}

// Every mode of the engine on one text; the outputs must stay sane.
void Exercise(const std::string& text, TImageList* images, html::THTMLPictureCache* cache)
{
    for (HTMLVariant v : kVariants)
        for (int mode = 0; mode < 4; ++mode) {
            Surface s(200, 80);
            Call c(s, text, v, Rect(0, 0, 150, 60));
            c.p.Images = images;
            c.p.PictureCache = cache;
            c.p.WordWrap = mode & 1;
            c.p.HitTestOnly = mode == 2;
            c.p.MeasureOnly = mode == 3;
            c.p.HitX = 20;
            c.p.HitY = 5;
            c.p.FocusLink = 0;
            c.p.HoverStyle = mode == 1;
            c.p.HoverLink = 1;
            c.p.HoverBackColor = clYellow;
            c.p.HoverFontColor = clRed;
            c.p.ShadowOffset = 1;
            c.Run();
            // No runaway arithmetic, and no link counted that the text does not open.
            ASSERT_LT(c.r.MeasuredWidth, 1 << 20) << text.substr(0, 80);
            ASSERT_GT(c.r.MeasuredHeight, 0) << text.substr(0, 80);
            ASSERT_LE(c.r.LinkCount, OpenedLinks(text)) << text.substr(0, 80);
            // The canvas is handed back with its font and brush.
            ASSERT_EQ(s.C()->Font().Size(), 10);
            ASSERT_EQ(s.C()->Font().Style(), 0u);
            ASSERT_EQ(s.C()->Font().Escapement(), 0);
        }
}

}  // namespace

TEST(HtmlEngineRobust, BrokenMarkupTable)
{
    Surface probe;
    TImageList il(16, 16);
    TBitmap b(16, 16);
    il.Add(&b);
    html::THTMLPictureCache cache;
    const std::vector<std::string> texts = {
        "<",
        "<<",
        "<<<",
        "a<",
        "a<b",
        "a < b > c",
        "</",
        "</>",
        "</B",
        "<B",
        "<B>unclosed bold <I>italic <U>underline <A href=\"x\">link <FONT color=\"#FF0000\">red",
        "</A></A></FONT></P></UL></UL></LI></SUB></HI></R></Z> after",
        "<A>no reference</A><A href=>empty</A><A href=\"unterminated>text",
        "<FONT color=\"#\">a</FONT><FONT color=\"#GGHHII\">b<FONT color=\"nosuchcolour\">c<FONT size=\"99999999\">d",
        "<FONT size=\"-5\">e<FONT size=\"0\">f<FONT face=\"\">g<FONT bgcolor=\"\">h",
        "<P align=\"\"><P indent=\"-1000\">x<P indent=\"99999999\">y<P bgcolor=\"#00FF00\">z",
        "<IND x=\"-50\">a<IND x=\"abc\">b<IND>c<IND x=\"1e9\">d",
        "<IMG src=\"idx:99999999999999999999\"><IMG src=\"idx:-2147483648\"><IMG src=\"\"><IMG",
        "<IMG src=\"http://x\" alt=\"idx:0\"><IMG src=\"res://nothing\"><IMG src=\"file://\">",
        "<IMG src=\"idx:0\" width=\"-5\" height=\"100000\"><IMG src=\"idx:0\" align=\"middle\">",
        "<CONTROL><CONTROL TYPE=\"EDIT\"><CONTROL TYPE=\"COMBO\" WIDTH=\"-100\"><CONTROL WIDTH=\"99999\">",
        "<CONTROL TYPE=\"TOOLBTN\" VALUE=\"12345\" WIDTH=\"30\"><CONTROL TYPE=\"BUTTON\" WIDTH=\"0\">",
        "<BODY><BODY bgcolor=\"\"><BODY bgcolor=\"cl\"><BODY background=\"http://x\" bgcolorto=\"#\">",
        "<R a=\"90\">rotated<R a=\"-99999999\">more</R></R><R>x",
        "&&&&;;;;&amp&amp;amp;&lt&gt&nbsp&#65;&unknown;&AMP;&",
        "&lt;B&gt;&lt;&lt;&lt;<#><#<#>>><#",
        "<UL><UL><UL><LI><LI><LI></UL></UL></UL></UL></UL><LI>",
        "<SUB><SUP><SUB>x</SU></SUP><SH><E><HI><BL><Z>y</Z></E>",
        "\r\n\r\n\r\r\n\n<BR><BR><HR><HR>",
        Repeat("<B><I><U><S><FONT color=\"#00FF00\"><A href=\"x\">", 500) + "deep",
        Repeat("</B></I></U></S></FONT></A>", 500),
        Repeat("<", 3000),
        Repeat("<a", 3000),
        Repeat("&amp;", 2000),
        Repeat("word ", 2000),
        std::string(10000, 'x'),
        Repeat("<LI>", 1000),
        Repeat("<IMG src=\"idx:0\">", 500),
        std::string("nul\0inside", 10),
        "\xFF\xFE\x80\x81\x9F high bytes",
    };
    for (const std::string& t : texts) {
        SCOPED_TRACE(t.substr(0, 60));
        Exercise(t, &il, &cache);
    }
}

TEST(HtmlEngineRobust, RandomMarkupFuzz)
{
    const std::string alphabet = "<>/&;\" =#:aAbBiIuUpPlLzZrRsSeEhHfFoOcCnNtTxX0123456789";
    const char* words[] = {"<A href=\"", "</A>", "<B>", "<IMG src=\"idx:", "<CONTROL TYPE=\"CHECK\" ", "<FONT ",
                           "color=\"", "size=\"", "<P align=\"", "<UL>", "<LI>", "&amp;", "&lt;", "<BR>", " "};
    std::mt19937 rng(1234);
    TImageList il(8, 8);
    TBitmap b(8, 8);
    il.Add(&b);
    for (int n = 0; n < 300; ++n) {
        std::string t;
        const int len = int(rng() % 120);
        for (int i = 0; i < len; ++i) {
            if (rng() % 3 == 0) t += words[rng() % (sizeof(words) / sizeof(words[0]))];
            else t += alphabet[rng() % alphabet.size()];
        }
        SCOPED_TRACE(t);
        Exercise(t, &il, nullptr);
    }
}

TEST(HtmlEngineRobust, LongTextIsLaidOutCompletely)
{
    Surface s;
    const int gh = s.GH();
    // Ten thousand characters in words that each need a line of their own.
    const std::string text = Repeat("abcdefghi ", 1000);
    const int width = s.TW("abcdefghi ") + 5;
    auto r = Measure(s, text, HTMLVariant::Grid, Rect(0, 0, width, 1 << 30), true);
    EXPECT_EQ(r.MeasuredHeight, 1000 * gh);
    EXPECT_EQ(r.MeasuredWidth, s.TW("abcdefghi"));
    // Drawing stops at the rectangle.
    Call c(s, text, HTMLVariant::Grid, Rect(0, 0, width, 100));
    c.p.WordWrap = true;
    c.Run();
    EXPECT_LE(c.r.MeasuredHeight, 100 + gh);
    // Without wrapping, one line ending in an ellipsis.
    auto one = Measure(s, std::string(10000, 'x'), HTMLVariant::Grid, Rect(0, 0, 200, 100));
    EXPECT_EQ(one.MeasuredHeight, gh);
    EXPECT_LE(one.MeasuredWidth, 200);
}

TEST(HtmlEngineRobust, EmptyAndInvertedRectangles)
{
    for (HTMLVariant v : kVariants)
        for (TRect r : {Rect(0, 0, 0, 0), Rect(50, 50, 10, 10), Rect(0, 0, 1, 1), Rect(-100, -100, -50, -50)}) {
            Surface s;
            Call c(s, "some <B>words</B> that wrap <A href=\"x\">here</A><BR>and more", v, r);
            c.p.WordWrap = true;
            c.Run();
            Call m(s, "some <B>words</B> that wrap", v, r);
            m.p.WordWrap = true;
            m.p.MeasureOnly = true;
            m.Run();
            EXPECT_GT(m.r.MeasuredHeight, 0);
        }
}

TEST(HtmlEngineRobust, HugeNumbersAreBounded)
{
    html::TPictureContainer container;
    AddBmpPicture(container, "logo", 10, 6, 0x00FF00);
    const char* texts[] = {
        "<IMG src=\"logo\" width=\"1000000\" height=\"1000000\">",
        "<P indent=\"2147483647\">x",
        "<IND x=\"2147483647\">y<IND x=\"2147483647\">",
        "<CONTROL TYPE=\"EDIT\" WIDTH=\"2147483647\"><CONTROL TYPE=\"COMBO\" WIDTH=\"2147483647\">",
        "<FONT size=\"-2147483647\">small<FONT size=\"2147483647\">big",
    };
    for (const char* t : texts) {
        for (HTMLVariant v : kVariants) {
            Surface s;
            Call c(s, t, v);
            c.p.PictureContainer = &container;
            c.Run();
            EXPECT_LE(c.r.MeasuredWidth, 70000) << t;
            EXPECT_GT(c.r.MeasuredHeight, 0) << t;
        }
    }
}

TEST(HtmlEngineRobust, NullCanvasDoesNothing)
{
    html::HTMLDrawParams p;
    p.Text = "<B>x</B>";
    html::HTMLDrawResult r;
    EXPECT_FALSE(html::HTMLDrawEx(p, r));
}

// Text layout, styles, entities, links, wrapping and lists of the mini-HTML engine.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "test_engine_support.h"

using namespace enginetest;
using html::HTMLVariant;

namespace {

const HTMLVariant kVariants[] = {HTMLVariant::Grid, HTMLVariant::Tree, HTMLVariant::Panel};

}  // namespace

TEST(HtmlEngineMeasure, EmptyTextIsOneLineOfNothing)
{
    for (HTMLVariant v : kVariants) {
        Surface s;
        auto r = Measure(s, "", v);
        EXPECT_EQ(r.MeasuredWidth, 0);
        EXPECT_EQ(r.MeasuredHeight, s.GH());
        EXPECT_EQ(r.LinkCount, 0);
        EXPECT_EQ(r.LinkUnderPoint, -1);
    }
}

TEST(HtmlEngineMeasure, PlainTextMeasuresAsTheCanvasDoes)
{
    Surface s;
    auto r = Measure(s, "Hello world");
    EXPECT_EQ(r.MeasuredWidth, s.TW("Hello world"));
    EXPECT_EQ(r.MeasuredHeight, s.GH());
    EXPECT_EQ(r.StrippedText, "Hello world");
}

TEST(HtmlEngineMeasure, StylesChangeTheWidth)
{
    Surface s;
    const int plain = Measure(s, "Hello world").MeasuredWidth;
    EXPECT_GT(Measure(s, "<B>Hello world</B>").MeasuredWidth, plain);
    EXPECT_EQ(Measure(s, "<B>Hello</B> world").MeasuredWidth, Measure(s, "<b>Hello</b> world").MeasuredWidth);
    // A closing tag ends the style: only the first word is bold.
    EXPECT_LT(Measure(s, "<B>Hello</B> world").MeasuredWidth, Measure(s, "<B>Hello world</B>").MeasuredWidth);
    // "<B" followed by more letters is not bold.
    EXPECT_EQ(Measure(s, "<BX>Hello world").MeasuredWidth, plain);
    // An unclosed <B> makes the rest bold.
    EXPECT_EQ(Measure(s, "<B>Hello world").MeasuredWidth, Measure(s, "<B>Hello world</B>").MeasuredWidth);
}

TEST(HtmlEngineMeasure, FontSizesAndFaces)
{
    Surface s;
    s.C()->Font().SetSize(12);
    const int h12 = s.GH();
    s.C()->Font().SetSize(20);
    const int h20 = s.GH();
    s.C()->Font().SetSize(10);
    EXPECT_EQ(Measure(s, "<FONT size=\"3\">gh</FONT>").MeasuredHeight, h12);
    EXPECT_EQ(Measure(s, "<FONT size=\"20\">gh</FONT>").MeasuredHeight, h20);
    // After </FONT> the size is the canvas font's again; the canvas is left as it was.
    EXPECT_EQ(Measure(s, "<FONT size=\"20\">a</FONT><BR>b").MeasuredHeight, h20 + s.GH());
    EXPECT_EQ(s.C()->Font().Size(), 10);
    EXPECT_EQ(s.C()->Font().Name(), "Arial");
}

TEST(HtmlEngineMeasure, SubscriptMakesTheLineTaller)
{
    Surface s;
    const int gh = s.GH();
    const int digit = s.C()->TextHeight("2");
    EXPECT_EQ(Measure(s, "H<SUB>2</SUB>O").MeasuredHeight, gh + digit / 4);
    EXPECT_EQ(Measure(s, "m<SUP>2</SUP>").MeasuredHeight, gh + digit / 4);
    EXPECT_EQ(Measure(s, "m<sup>2</sup>").MeasuredHeight, gh + digit / 4);
    // A superscript left open ends with its line.
    EXPECT_EQ(Measure(s, "m<SUP>2<BR>x").MeasuredHeight, 2 * gh + digit / 4);
}

TEST(HtmlEngineDraw, SuperscriptSitsHigherThanItsLine)
{
    Surface s;
    Draw(s, "x<SUP>x</SUP>");
    const int split = 1 + s.TW("x");
    Ink base = s.InkIn(Rect(0, 0, split, 100));
    Ink sup = s.InkIn(Rect(split, 0, 100, 100));
    ASSERT_FALSE(base.Empty());
    ASSERT_FALSE(sup.Empty());
    const int shift = s.C()->TextHeight("x") / 4;
    EXPECT_EQ(base.bottom - sup.bottom, shift);
    EXPECT_EQ(base.top - sup.top, shift);

    Surface t;
    Draw(t, "x<SUB>x</SUB>x");
    Ink first = t.InkIn(Rect(0, 0, split, 100));
    Ink sub = t.InkIn(Rect(split, 0, split + t.TW("x"), 100));
    Ink last = t.InkIn(Rect(split + t.TW("x"), 0, 300, 100));
    EXPECT_EQ(sub.bottom - first.bottom, shift);
    // Text after the subscript is back on the line's baseline.
    EXPECT_EQ(last.bottom, first.bottom);
}

TEST(HtmlEngineDraw, ColouredRunHasItsColour)
{
    Surface s;
    Draw(s, "<FONT color=\"#FF0000\">WWW</FONT>WWW");
    const int split = 1 + s.TW("WWW");
    EXPECT_GT(s.Count(Rect(0, 0, split, 40), clRed), 5);
    EXPECT_EQ(s.Count(Rect(split, 0, 300, 40), clRed), 0);
    EXPECT_GT(s.Count(Rect(split, 0, 300, 40), clBlack), 5);
    // Colour names, and the red-green-blue order of "#" colours.
    Surface t;
    Draw(t, "<FONT color=\"clBlue\">WWW</FONT> <FONT color=\"#00FF00\">WWW</FONT>");
    EXPECT_GT(t.Count(Rect(0, 0, split, 40), clBlue), 5);
    EXPECT_GT(t.Count(Rect(split, 0, 300, 40), clLime), 5);
    // Selected text keeps the caller's colours.
    Surface u;
    Call c(u, "<FONT color=\"#FF0000\">WWW</FONT>");
    c.p.Selected = true;
    c.Run();
    EXPECT_EQ(u.Count(Rect(0, 0, 300, 40), clRed), 0);
    EXPECT_GT(u.Count(Rect(0, 0, 300, 40), clBlack), 5);
}

TEST(HtmlEngineDraw, BackgroundRunsAndHighlight)
{
    Surface s;
    Draw(s, "<FONT bgcolor=\"#00FF00\">WW</FONT>WW");
    const int split = 1 + s.TW("WW");
    EXPECT_GT(s.Count(Rect(0, 0, split, 30), clLime, 0), 20);
    EXPECT_EQ(s.Count(Rect(split + 1, 0, 300, 30), clLime, 0), 0);

    SetSysColorOverride(COLOR_HIGHLIGHT, RGB(0, 0, 128));
    Surface t;
    Draw(t, "<HI>WW</HI>WW");
    EXPECT_GT(t.Count(Rect(0, 0, split, 30), TColor(RGB(0, 0, 128)), 0), 20);
    EXPECT_EQ(t.Count(Rect(split + 1, 0, 300, 30), TColor(RGB(0, 0, 128)), 0), 0);
    ClearSysColorOverrides();
}

TEST(HtmlEngineDraw, HiddenTextIsNotDrawn)
{
    Surface a, b;
    Draw(a, "<Z>hidden</Z>shown");
    Draw(b, "shown");
    AssertSamePixels(a, b, 200, 40);
}

TEST(HtmlEngineDraw, BlinkOffDrawsInTheBackgroundColour)
{
    Surface s;
    Call c(s, "<BL>WWW</BL>");
    c.p.BlinkVisible = false;
    c.Run();
    EXPECT_TRUE(s.AllInk().Empty());
    Surface t;
    Call d(t, "<BL>WWW</BL>");
    d.Run();
    EXPECT_FALSE(t.AllInk().Empty());
}

TEST(HtmlEngineDraw, ErrorUnderlineAndRule)
{
    Surface s;
    Draw(s, "<E>word</E>");
    const int gh = s.GH();
    EXPECT_GT(s.Count(Rect(0, gh - 2, 60, gh + 3), clRed, 0), 5);
    Surface t;
    Draw(t, "x<HR>y");
    // A black line across the rectangle under the first line.
    EXPECT_EQ(t.Count(Rect(0, gh + 1, 300, gh + 2), clBlack, 0), 299);
}

TEST(HtmlEngineDraw, ShadowIsOffsetInItsColour)
{
    auto drawShadowed = [](Surface& s, std::string_view text) {
        Call c(s, text);
        c.p.ShadowOffset = 2;
        c.p.ShadowColor = clRed;
        c.Run();
    };
    Surface s;
    drawShadowed(s, "<SHAD>III</SHAD>");
    EXPECT_GT(s.Count(Rect(0, 0, 100, 40), clRed), 3);
    // Without the tag there is no shadow.
    Surface t;
    drawShadowed(t, "III");
    EXPECT_EQ(t.Count(Rect(0, 0, 100, 40), clRed), 0);
}

TEST(HtmlEngineEntities, ReplacedPerVariant)
{
    struct Case {
        const char* text;
        HTMLVariant v;
        const char* stripped;
    };
    const Case cases[] = {
        {"a &amp; b", HTMLVariant::Grid, "a & b"},
        {"a &amp; b", HTMLVariant::Tree, "a && b"},
        {"a &amp; b", HTMLVariant::Panel, "a && b"},
        {"&AMP;", HTMLVariant::Grid, "&"},
        {"&permil;&sect;&reg;&copy;&para;&trade;&euro;", HTMLVariant::Grid, "\x89\xA7\xAE\xA9\xB6\x99\x80"},
        {"&quot;q&quot;", HTMLVariant::Grid, "\"q\""},
        {"&lt;B&gt;", HTMLVariant::Grid, "<B>"},
        {"a&nbsp;b", HTMLVariant::Grid, "a b"},
        {"&unknown; &amp", HTMLVariant::Grid, "&unknown; &amp"},
        {"&amp;amp;", HTMLVariant::Grid, "&"},
        {"&amp;quot;", HTMLVariant::Grid, "\""},
        {"a<#b>c", HTMLVariant::Grid, "a#bc"},
        {"<#1><#2>", HTMLVariant::Grid, "#1#2"},
        {"<#1><#2>", HTMLVariant::Tree, "#1"},
    };
    for (const Case& c : cases) {
        Surface s;
        EXPECT_EQ(Measure(s, c.text, c.v).StrippedText, c.stripped) << c.text;
    }
}

TEST(HtmlEngineEntities, EscapedTagIsTextNotBold)
{
    Surface s;
    auto r = Measure(s, "&lt;B&gt;x");
    EXPECT_EQ(r.MeasuredWidth, s.TW("<B>x"));
}

TEST(HtmlEngineEntities, AmpersandDrawsOnceInEveryVariant)
{
    for (HTMLVariant v : kVariants) {
        Surface a, b;
        Draw(a, "a &amp; b", v);
        Draw(b, "a & b", HTMLVariant::Grid);
        Ink ia = a.AllInk(), ib = b.AllInk();
        EXPECT_EQ(ia.right, ib.right) << int(v);
        EXPECT_EQ(ia.left, ib.left) << int(v);
    }
}

TEST(HtmlEngineLinks, HitWhereDrawnAndNotBeside)
{
    Surface s;
    const std::string text = "one <A href=\"x\">two</A> <A href=\"y\">three</A>";
    const int gh = s.GH();
    const int x1 = 1 + s.TW("one ");
    const int x2 = x1 + s.TW("two");
    const int x3 = x2 + s.TW(" ");
    const int x4 = x3 + s.TW("three");

    struct Probe {
        int x, y;
        bool hit;
        const char* anchor;
        int link;
    };
    const Probe probes[] = {
        {(x1 + x2) / 2, gh / 2, true, "x", 1},
        {(x3 + x4) / 2, gh / 2, true, "y", 2},
        {3, gh / 2, false, "", -1},            // on plain text
        {x4 + 20, gh / 2, false, "", -1},      // right of the text
        {(x1 + x2) / 2, gh + 5, false, "", -1},  // below the line
    };
    for (const Probe& pr : probes) {
        Call c(s, text);
        c.HitAt(pr.x, pr.y).Run();
        EXPECT_EQ(c.hit, pr.hit) << pr.x << "," << pr.y;
        if (pr.hit) {
            EXPECT_EQ(c.r.AnchorValue, pr.anchor);
            EXPECT_EQ(c.r.LinkUnderPoint, pr.link);
            EXPECT_EQ(c.r.HoverRect.Right, 1 + (pr.link == 1 ? x2 : x4) - 1);
        }
        EXPECT_EQ(c.r.LinkCount, 2);
    }
    // The same call drawing instead of hit-testing reports no text link.
    Call d(s, text);
    d.p.HitX = (x1 + x2) / 2;
    d.p.HitY = gh / 2;
    d.Run();
    EXPECT_FALSE(d.hit);
}

TEST(HtmlEngineLinks, LinksAreDrawnInLinkColourAndHoverColours)
{
    Surface s;
    const std::string text = "<A href=\"a\">WWW</A> <A href=\"b\">WWW</A>";
    Call c(s, text);
    c.p.LinkColor = clBlue;
    c.p.HoverStyle = true;
    c.p.HoverLink = 2;
    c.p.HoverFontColor = clRed;
    c.p.HoverBackColor = clYellow;
    c.Run();
    const int split = 1 + s.TW("WWW ");
    EXPECT_GT(s.Count(Rect(0, 0, split - 2, 30), clBlue), 5);
    EXPECT_EQ(s.Count(Rect(0, 0, split - 2, 30), clYellow, 0), 0);
    EXPECT_GT(s.Count(Rect(split, 0, 300, 30), clRed), 5);
    EXPECT_GT(s.Count(Rect(split, 0, 300, 30), clYellow, 0), 20);
    EXPECT_EQ(s.Count(Rect(split, 0, 300, 30), clBlue), 0);
    // Colours are restored after the link.
    EXPECT_EQ(s.C()->Brush().Color(), clWhite);
}

TEST(HtmlEngineLinks, FocusedLinkGivesItsReference)
{
    Surface s;
    Call c(s, "<A href=\"first\">one</A> <A href=\"second\">two</A>");
    c.p.FocusLink = 0;
    c.Run();
    EXPECT_EQ(c.r.FocusAnchor, "first");
    Call d(s, "<A href=\"first\">one</A> <A href=\"second\">two</A>");
    d.p.FocusLink = 1;
    d.Run();
    EXPECT_EQ(d.r.FocusAnchor, "second");
}

TEST(HtmlEngineLinks, LinkOnSecondLineIsHitThere)
{
    Surface s;
    const int gh = s.GH();
    Call c(s, "first line<BR><A href=\"z\">link</A>");
    c.HitAt(5, gh + gh / 2).Run();
    EXPECT_TRUE(c.hit);
    EXPECT_EQ(c.r.AnchorValue, "z");
    EXPECT_EQ(c.r.HoverRect.Top, gh);
    c.p.HitY = gh / 2;
    c.r = {};
    c.Run();
    EXPECT_FALSE(c.hit);
}

TEST(HtmlEngineWrap, WordsWrapAndTrailingBlankIsNotCounted)
{
    Surface s;
    const int gh = s.GH();
    const int wa = s.TW("aaa"), wb = s.TW("bbb");
    const int width = std::max(wa, wb) + s.TW(" ") + 4;
    ASSERT_LT(width, s.TW("aaa bbb"));
    auto r = Measure(s, "aaa bbb", HTMLVariant::Grid, Rect(0, 0, width + 1, 1000), true);
    EXPECT_EQ(r.MeasuredHeight, 2 * gh);
    EXPECT_EQ(r.MeasuredWidth, std::max(wa, wb));
    // Without wrapping it stays one line.
    auto one = Measure(s, "aaa bbb", HTMLVariant::Grid, Rect(0, 0, width + 1, 1000), false);
    EXPECT_EQ(one.MeasuredHeight, gh);
}

TEST(HtmlEngineWrap, WordSplitByTagIsKeptTogetherExceptInTree)
{
    Surface s;
    const int gh = s.GH();
    const int fo = s.TW("fo");
    // Room for "fo" but not for the rest of "foo".
    const TRect narrow = Rect(0, 0, fo + 3, 1000);
    auto grid = Measure(s, "fo<B>o</B> b", HTMLVariant::Grid, narrow, true);
    auto panel = Measure(s, "fo<B>o</B> b", HTMLVariant::Panel, narrow, true);
    auto tree = Measure(s, "fo<B>o</B> b", HTMLVariant::Tree, narrow, true);
    EXPECT_EQ(grid.MeasuredHeight, 2 * gh);
    EXPECT_EQ(panel.MeasuredHeight, 2 * gh);
    EXPECT_GT(tree.MeasuredHeight, 2 * gh);
}

TEST(HtmlEngineWrap, OverflowWithoutWrapEndsInEllipsisAndNothingFollows)
{
    Surface s;
    const int gh = s.GH();
    const int width = s.TW("short ") + 30;
    Call c(s, "short <B>a much longer bold text</B> after<BR>next line", HTMLVariant::Grid, Rect(0, 0, width, 100));
    c.Run();
    EXPECT_EQ(c.r.StrippedText.find("next"), std::string::npos);
    Ink ink = s.AllInk();
    EXPECT_LT(ink.right, width);
    EXPECT_LT(ink.bottom, gh + 2);
    // The cut piece ends in dots: its last ink is low, near the baseline.
    Ink tail = s.InkIn(Rect(width - 8, 0, width, gh));
    ASSERT_FALSE(tail.Empty());
    EXPECT_GT(tail.top, gh / 2);
}

TEST(HtmlEngineWrap, LayoutStopsWhenTheRectangleIsFull)
{
    Surface s;
    const int gh = s.GH();
    const std::string text = "l1<BR>l2<BR>l3<BR>l4<BR>l5";
    Call c(s, text, HTMLVariant::Grid, Rect(0, 0, 200, 2 * gh + 3));
    c.Run();
    // Both passes lay out each line; the third line would not fit.
    EXPECT_EQ(c.r.StrippedText, "l1\rl1\rl2\rl2\r");
    EXPECT_EQ(Measure(s, text, HTMLVariant::Grid, Rect(0, 0, 200, 2 * gh + 3)).MeasuredHeight, 5 * gh);
    // The tree goes on while the next line's top is inside.
    Call t(s, text, HTMLVariant::Tree, Rect(0, 0, 200, 2 * gh + 3));
    t.Run();
    EXPECT_EQ(t.r.StrippedText, "l1\rl1\rl2\rl2\rl3\rl3\r");
}

TEST(HtmlEngineWrap, LineSpacingAddsToEveryLineExceptInGrid)
{
    Surface s;
    const int gh = s.GH();
    for (HTMLVariant v : kVariants) {
        Call c(s, "a<BR>b", v, Rect(0, 0, 200, 1000));
        c.p.MeasureOnly = true;
        c.p.LineSpacing = 3;
        c.Run();
        EXPECT_EQ(c.r.MeasuredHeight, v == HTMLVariant::Grid ? 2 * gh : 2 * gh + 6) << int(v);
    }
}

TEST(HtmlEngineParagraph, AlignmentAndIndent)
{
    Surface s;
    Draw(s, "<P align=\"right\">abc<BR>de");
    const int gh = s.GH();
    Ink first = s.InkIn(Rect(0, 0, 300, gh));
    Ink second = s.InkIn(Rect(0, gh, 300, 2 * gh));
    EXPECT_GE(first.right, 295);
    EXPECT_GE(second.right, 295);

    Surface c1, c2;
    Draw(c1, "<P align=\"center\">abc");
    Draw(c2, "<P align=\"center\" indent=\"10\">abc");
    Ink a = c1.AllInk(), b = c2.AllInk();
    EXPECT_NEAR((a.left + a.right) / 2, 150, 3);
    EXPECT_EQ(b.left - a.left, 10);
}

TEST(HtmlEngineParagraph, BackgroundFillsTheLine)
{
    Surface s;
    Draw(s, "<P bgcolor=\"#00FF00\">abc</P>def");
    const int gh = s.GH();
    EXPECT_EQ(s.At(250, gh / 2), TColor(clLime));
    EXPECT_EQ(s.At(250, gh + gh / 2), TColor(clWhite));

    // Every line of the paragraph is filled, up to </P>.
    Surface t;
    Draw(t, "<P bgcolor=\"#00FF00\">one<BR>two</P>three");
    EXPECT_EQ(t.At(250, gh + gh / 2), TColor(clLime));
    EXPECT_EQ(t.At(250, 2 * gh + gh / 2), TColor(clWhite));
    EXPECT_EQ(t.C()->Brush().Color(), clWhite);
}

TEST(HtmlEngineParagraph, IndentTagMovesText)
{
    Surface s;
    Draw(s, "a<IND x=\"100\">b");
    Ink right = s.InkIn(Rect(50, 0, 300, 40));
    EXPECT_GE(right.left, 100);
    EXPECT_LT(right.left, 104);
}

TEST(HtmlEngineLists, BulletedItemsPerVariant)
{
    const std::string text = "<UL><LI>a</LI><LI>b</LI></UL>";
    Surface s;
    const int gh = s.GH();
    EXPECT_EQ(Measure(s, text, HTMLVariant::Grid).MeasuredHeight, 4 * gh);
    EXPECT_EQ(Measure(s, text, HTMLVariant::Panel).MeasuredHeight, 4 * gh);
    EXPECT_EQ(Measure(s, text, HTMLVariant::Tree).MeasuredHeight, 2 * gh);
    EXPECT_EQ(Measure(s, text, HTMLVariant::Grid).MeasuredWidth, 12 + s.TW("a"));

    Surface d;
    Draw(d, text);
    // The first line is empty; the items have a bullet left of the text at 12 pixels.
    EXPECT_TRUE(d.InkIn(Rect(0, 0, 300, gh)).Empty());
    Ink bullet = d.InkIn(Rect(0, gh, 13, 2 * gh));
    Ink item = d.InkIn(Rect(13, gh, 300, 2 * gh));
    EXPECT_FALSE(bullet.Empty());
    EXPECT_FALSE(item.Empty());
    EXPECT_GE(item.left, 13);
}

TEST(HtmlEngineLists, ItemOutsideListAddsNoWidth)
{
    Surface s;
    EXPECT_EQ(Measure(s, "<LI>a").MeasuredWidth, s.TW("a"));
}

// Draws text and plain in cells that do not start at the canvas's left edge, in every
// variant, and expects the same pixels.
void ExpectDrawnAs(const std::string& text, const std::string& plain)
{
    SCOPED_TRACE(text);
    for (HTMLVariant v : kVariants) {
        Surface a, b;
        const TRect cell = Rect(40, 10, 300, 100);
        Call ca(a, text, v, cell), cb(b, plain, v, cell);
        ca.p.WordWrap = cb.p.WordWrap = true;
        ca.Run();
        cb.Run();
        EXPECT_EQ(ca.r.MeasuredWidth, cb.r.MeasuredWidth);
        EXPECT_EQ(ca.r.MeasuredHeight, cb.r.MeasuredHeight);
        EXPECT_EQ(ca.r.LinkCount, cb.r.LinkCount);
        AssertSamePixels(a, b, 320, 120);
    }
}

TEST(HtmlEngineTags, ClosingLinkWithoutAnOpenLinkIsIgnored)
{
    // No focus mark from the canvas's edge, no colour put back, no link reported.
    ExpectDrawnAs("ab</A>cd", "abcd");
    ExpectDrawnAs("<FONT color=\"#FF0000\">ab</A>cd</FONT>", "<FONT color=\"#FF0000\">abcd</FONT>");
    ExpectDrawnAs("<A href=\"x\">l</A> m</A> n", "<A href=\"x\">l</A> m n");
    ExpectDrawnAs("<U>ab</A>cd</U>", "<U>abcd</U>");
    Surface s;
    Call c(s, "ab</A>cd", HTMLVariant::Grid, Rect(40, 10, 300, 100));
    c.HitAt(45, 15).Run();
    EXPECT_FALSE(c.hit);
    EXPECT_EQ(c.r.LinkUnderPoint, -1);
    EXPECT_EQ(c.r.HoverRect.Right, 0);
}

TEST(HtmlEngineTags, OnlyTheWholeNameCounts)
{
    // Unknown tags that begin like known ones change nothing.
    for (const char* tag : {"<UNKNOWN>", "<ULX>", "<UX>", "<ABBR>", "<EM>", "<IFRAME>", "<PRE>", "<ZOOM>", "<RUBY>",
                            "<FONTS color=\"#FF0000\">", "<LINK>", "<BODYX bgcolor=\"#FF0000\">", "<IMAGE src=\"idx:0\">",
                            "<CONTROLS TYPE=\"EDIT\" WIDTH=\"40\">", "<PARAM align=\"right\">", "</ULX>", "</UNKNOWN>",
                            "</ABBR>", "</EM>", "</PRE>", "</ZOOM>", "</LINK>", "</FONTS>", "</IFRAME>", "</RUBY>"})
        ExpectDrawnAs(std::string("<U><I><Z>z</Z>a") + tag + "b</I></U>", "<U><I><Z>z</Z>ab</I></U>");
    // The known ones, with attributes too.
    Surface s;
    const int gh = s.GH();
    EXPECT_EQ(Measure(s, "<UL>a").MeasuredHeight, 2 * gh);
    EXPECT_EQ(Measure(s, "<ul class=\"x\">a").MeasuredHeight, 2 * gh);
    EXPECT_EQ(Measure(s, "<UNKNOWN>a").MeasuredHeight, gh);
    EXPECT_EQ(Measure(s, "<UL><UL><LI>a").MeasuredWidth, 24 + s.TW("a"));
    EXPECT_EQ(Measure(s, "<UL><UNKNOWN><LI>a").MeasuredWidth, 12 + s.TW("a"));
    EXPECT_EQ(Measure(s, "<UL><UL></ULX><LI>a").MeasuredWidth, 24 + s.TW("a"));
    EXPECT_EQ(Measure(s, "<UL><UL></UL><LI>a").MeasuredWidth, 12 + s.TW("a"));
    EXPECT_EQ(Measure(s, "<I>a</I>").MeasuredWidth, Measure(s, "<i>a</i>").MeasuredWidth);
    EXPECT_GT(Measure(s, "<B>rrrrtttt").MeasuredWidth, Measure(s, "<BX>rrrrtttt").MeasuredWidth);
}

TEST(HtmlEngineOutputs, StrippedTextAndLineBreaks)
{
    Surface s;
    auto r = Measure(s, "a<B>b</B>\r\nc");
    EXPECT_EQ(r.StrippedText, "ab\rc");
    EXPECT_EQ(r.MeasuredHeight, 2 * s.GH());
    // Each drawn line is laid out by both passes.
    Call c(s, "ab");
    c.Run();
    EXPECT_EQ(c.r.StrippedText, "abab");
}

TEST(HtmlEngineOutputs, CanvasIsLeftAsItWas)
{
    Surface s;
    s.C()->Brush().SetColor(clYellow);
    Draw(s, "<B><I><FONT color=\"#FF0000\" size=\"5\" face=\"Courier New\">x<A href=\"q\">y");
    EXPECT_EQ(s.C()->Brush().Color(), clYellow);
    EXPECT_EQ(s.C()->Brush().Style(), bsSolid);
    EXPECT_EQ(s.C()->Font().Style(), 0u);
    EXPECT_EQ(s.C()->Font().Color(), clBlack);
    EXPECT_EQ(s.C()->Font().Size(), 10);
}

TEST(HtmlEngineLinks, HoverRectOfTheLinkUnderThePoint)
{
    Surface s;
    const int gh = s.GH();
    Call c(s, "one <A href=\"x\">two</A>");
    c.HitAt(1 + s.TW("one ") + 3, 3).Run();
    ASSERT_TRUE(c.hit);
    // On one line the left edge is the offset of the link from the line's left.
    EXPECT_EQ(c.r.HoverRect.Left, s.TW("one "));
    EXPECT_EQ(c.r.HoverRect.Right, 1 + s.TW("one ") + s.TW("two"));
    EXPECT_EQ(c.r.HoverRect.Top, 0);
    EXPECT_EQ(c.r.HoverRect.Bottom, gh);

    // A link that wraps reports its part on its last line, from the line's left.
    const TRect narrow = Rect(0, 0, s.TW("aaa bbb") + 4, 100);
    Call w(s, "<A href=\"w\">aaa bbb ccc</A>", HTMLVariant::Grid, narrow);
    w.p.WordWrap = true;
    w.HitAt(4, gh + 3).Run();
    ASSERT_TRUE(w.hit);
    EXPECT_EQ(w.r.LinkUnderPoint, 1);
    EXPECT_EQ(w.r.HoverRect.Left, 1);
    EXPECT_EQ(w.r.HoverRect.Top, gh);
}

TEST(HtmlEngineLinks, TreeReportsTheFocusedLinkWithoutAPoint)
{
    Surface s;
    Call c(s, "<A href=\"a\">one</A> <A href=\"b\">two</A>", HTMLVariant::Tree);
    c.HitAt(-100, -100);
    c.p.FocusLink = 2;
    c.p.ReportFocusLinkRect = true;
    c.Run();
    EXPECT_FALSE(c.hit);
    EXPECT_EQ(c.r.LinkUnderPoint, 2);
    EXPECT_EQ(c.r.HoverRect.Right, 1 + s.TW("one two"));
    // The grid has no such option.
    Call g(s, "<A href=\"a\">one</A> <A href=\"b\">two</A>");
    g.HitAt(-100, 0);
    g.p.FocusLink = 2;
    g.p.ReportFocusLinkRect = true;
    g.Run();
    EXPECT_EQ(g.r.LinkUnderPoint, -1);
}

TEST(HtmlEngineLinks, FocusMarkIsDrawnAroundTheLink)
{
    Surface plain, focused;
    Draw(plain, "<A href=\"a\">one</A> two");
    Call c(focused, "<A href=\"a\">one</A> two");
    c.p.FocusLink = 0;
    c.Run();
    const int gh = plain.GH();
    // A dotted frame around the link: its bottom row differs, the text beside it does not.
    int extra = 0, beside = 0;
    for (int x = 0; x < plain.TW("one") + 2; ++x)
        if (plain.At(x, gh - 1) != focused.At(x, gh - 1)) ++extra;
    for (int x = plain.TW("one ") + 3; x < 100; ++x)
        for (int y = 0; y < gh; ++y)
            if (plain.At(x, y) != focused.At(x, y)) ++beside;
    EXPECT_GT(extra, 3);
    EXPECT_EQ(beside, 0);
    // The tree marks it with a grey rectangle.
    Surface tree;
    Call t(tree, "<A href=\"a\">one</A> two", HTMLVariant::Tree);
    t.p.FocusLink = 0;
    t.Run();
    EXPECT_GT(tree.Count(Rect(0, 0, 300, 40), clGray, 0), 10);
}

TEST(HtmlEngineVariants, PositionalCallsMatchTheParameterBlock)
{
    Surface s;
    const std::string text = "<A href=\"r\">link</A> <CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"v\" WIDTH=\"40\">";
    std::string anchor = "keep", stripped, focus, cid = "e", cval, ctype;
    int mw = 0, mh = 0, links = 0, under = 0;
    TRect hover, crect;
    bool hit = html::grdhtmle::HTMLDrawEx(s.C(), text, Rect(0, 0, 300, 100), nullptr, 5000, 5000, -1, -1, 0, true,
                                          false, false, false, true, false, false, false, 1.0, clBlue, clNone,
                                          clNone, clGray, anchor, stripped, focus, mw, mh, links, under, hover,
                                          crect, cid, cval, ctype, nullptr, nullptr, nullptr);
    EXPECT_TRUE(hit);
    EXPECT_EQ(anchor, "ctrl");
    EXPECT_EQ(cval, "v");
    EXPECT_EQ(ctype, "EDIT");
    EXPECT_EQ(links, 1);
    EXPECT_EQ(under, -1);

    anchor = "keep";
    cid = "e";
    hit = html::parhtml::HTMLDrawEx(s.C(), text, Rect(0, 0, 300, 100), nullptr, 5000, 5000, -1, -1, 0, true, false,
                                    false, false, true, false, false, false, false, 1.0, clBlue, clNone, clNone,
                                    clGray, anchor, stripped, focus, mw, mh, links, under, hover, crect, cid, cval,
                                    ctype, nullptr, nullptr, nullptr, 2);
    EXPECT_FALSE(hit);
    EXPECT_EQ(anchor, "keep");
    EXPECT_EQ(cid, "");
    EXPECT_EQ(mh, s.GH() + 6 + 2);

    hit = html::panelhtml::HTMLDrawEx(s.C(), text, Rect(0, 0, 300, 100), nullptr, 5, 5, -1, -1, 0, true, false,
                                      false, false, true, false, false, false, 1.0, clBlue, clNone, clNone, clGray,
                                      anchor, stripped, focus, mw, mh, links, under, hover, nullptr, nullptr, 0);
    EXPECT_TRUE(hit);
    EXPECT_EQ(anchor, "r");
    EXPECT_EQ(mw, s.TW("link"));
}

TEST(HtmlEngineLinks, UnderlinePerVariant)
{
    // With hover style on and another link hovered, grid and panel draw the link in
    // the link colour only; the tree underlines every link.
    auto sameAs = [](HTMLVariant v, const char* reference) {
        Surface a, b;
        Call c(a, "<A href=\"a\">WWW</A>", v);
        c.p.HoverStyle = true;
        c.p.HoverLink = 2;
        c.p.LinkColor = clBlue;
        c.Run();
        Draw(b, reference, v);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 80; ++x)
                if (a.At(x, y) != b.At(x, y)) return false;
        return true;
    };
    const char* plain = "<FONT color=\"#0000FF\">WWW</FONT>";
    const char* underlined = "<FONT color=\"#0000FF\"><U>WWW</U></FONT>";
    EXPECT_TRUE(sameAs(HTMLVariant::Grid, plain));
    EXPECT_TRUE(sameAs(HTMLVariant::Panel, plain));
    EXPECT_TRUE(sameAs(HTMLVariant::Tree, underlined));
    EXPECT_FALSE(sameAs(HTMLVariant::Tree, plain));
}

TEST(HtmlEngineLinks, SelectedTextKeepsItsColourInLinks)
{
    Surface s;
    Call c(s, "<A href=\"a\">WWW</A>");
    c.p.Selected = true;
    c.p.LinkColor = clRed;
    c.Run();
    EXPECT_EQ(s.Count(Rect(0, 0, 100, 30), clRed), 0);
    EXPECT_GT(s.Count(Rect(0, 0, 100, 30), clBlack), 5);
}

TEST(HtmlEngineDraw, TurnedTextIsDrawnInTheSpaceItTakes)
{
    // A turned run takes the box of its turned text: every pixel of it lies in that box,
    // all of the text shows, and the level text after it starts beyond the box.
    for (const int degrees : {90, -90, 45, 180}) {
        SCOPED_TRACE(degrees);
        const std::string text = "<R a=\"" + std::to_string(degrees) + "\">Rotated</R>after";
        Surface s(320, 120), plain(320, 120);
        const int gh = s.GH(), tw = s.TW("Rotated");
        const double a = degrees * 3.14159265358979 / 180;
        const double across = tw * std::fabs(std::cos(a)) + gh * std::fabs(std::sin(a));
        const double up = tw * std::fabs(std::sin(a)) + gh * std::fabs(std::cos(a));
        const html::HTMLDrawResult m = Measure(s, text);
        const int box = m.MeasuredWidth - s.TW("after");
        EXPECT_NEAR(box, across, 3);
        EXPECT_NEAR(m.MeasuredHeight, std::max<double>(up, gh), 3);

        Draw(s, text);
        Draw(plain, "Rotated");
        const Ink turned = s.InkIn(Rect(0, 0, 1 + box, 120));
        ASSERT_FALSE(turned.Empty());
        EXPECT_GE(turned.left, 1);
        EXPECT_LT(turned.bottom, m.MeasuredHeight);
        const int inkTurned = s.Count(Rect(0, 0, 1 + box, 120), clBlack, 120);
        const int inkPlain = plain.Count(Rect(0, 0, 320, 120), clBlack, 120);
        EXPECT_GT(inkTurned, inkPlain * 2 / 3);
        EXPECT_LT(inkTurned, inkPlain * 3 / 2);
        // The text after the run is level again, at the foot of its line.
        const Ink after = s.InkIn(Rect(1 + box, 0, 320, 120));
        ASSERT_FALSE(after.Empty());
        EXPECT_LT(after.bottom - after.top, gh);
        EXPECT_GE(after.top, m.MeasuredHeight - gh - 1);
        EXPECT_EQ(s.C()->Font().Escapement(), 0);
    }
}

TEST(HtmlEngineDraw, TurnedRunEndingOnALaterLine)
{
    // The text after </R> on the next line is level, in the same rows as plain text.
    Surface d, e;
    const int gh = d.GH();
    Draw(d, "<R a=\"90\">x<BR>y</R>zzzzzz");
    Draw(e, "x<BR>yzzzzzz");
    const Ink level = d.InkIn(Rect(gh + 2, gh, 300, 2 * gh));
    const Ink plain = e.InkIn(Rect(1 + e.TW("y") + 1, gh, 300, 2 * gh));
    ASSERT_FALSE(plain.Empty());
    ASSERT_FALSE(level.Empty());
    EXPECT_EQ(level.top, plain.top);
    EXPECT_EQ(level.bottom, plain.bottom);
    EXPECT_EQ(level.right - level.left, plain.right - plain.left);
}

TEST(HtmlEngineLinks, LinkCountFollowsTheLinesLaidOut)
{
    Surface s;
    const int gh = s.GH();
    const std::string text = "<A href=\"1\">a</A><BR><A href=\"2\">b</A><BR><A href=\"3\">c</A>";
    Call c(s, text, HTMLVariant::Grid, Rect(0, 0, 200, 2 * gh));
    c.Run();
    EXPECT_EQ(c.r.LinkCount, 2);
    Call m(s, text, HTMLVariant::Grid, Rect(0, 0, 200, 2 * gh));
    m.p.MeasureOnly = true;
    m.Run();
    EXPECT_EQ(m.r.LinkCount, 3);
}

TEST(HtmlEngineLinks, WrappedFocusedLinkIsMarkedOnEachLine)
{
    Surface plain, focused;
    const int gh = plain.GH();
    const TRect narrow = Rect(0, 0, plain.TW("aaa bbb") + 4, 100);
    const std::string text = "<A href=\"w\">aaa bbb ccc</A>";
    Call a(plain, text, HTMLVariant::Grid, narrow);
    a.p.WordWrap = true;
    a.Run();
    Call b(focused, text, HTMLVariant::Grid, narrow);
    b.p.WordWrap = true;
    b.p.FocusLink = 0;
    b.Run();
    EXPECT_EQ(b.r.FocusAnchor, "w");
    auto differs = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < narrow.Right + 2; ++x)
                if (plain.At(x, y) != focused.At(x, y)) return true;
        return false;
    };
    EXPECT_TRUE(differs(0, gh));
    EXPECT_TRUE(differs(gh, 2 * gh));
}

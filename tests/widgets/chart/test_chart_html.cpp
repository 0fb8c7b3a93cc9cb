// The chart-text markup: styles, fonts, sub- and superscript, entities, errors and measuring.
#include <gtest/gtest.h>

#include <random>

#include "ChartTestUtil.h"
#include "widgets/chart/ChartHtml.h"

using namespace chart;
using namespace platform;
using charttest::Surface;

namespace {
// The first and last column holding a pixel of the colour within a band of rows.
std::pair<int, int> Columns(Surface& s, COLORREF c, int y0, int y1)
{
    int first = -1, last = -1;
    for (int x = 0; x < s.bmp.Width(); ++x)
        for (int y = y0; y < y1; ++y)
            if (s(x, y) == c) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}
}  // namespace

TEST(ChartHtml, StylesFontsAndEntities)
{
    Surface s(300, 120);
    TFont& f = s.canvas.Font();
    f.SetName("DejaVu Sans");
    f.SetSize(12);
    f.SetColor(clBlack);
    const TFont before = [&] {
        TFont k;
        k.Assign(f);
        return k;
    }();
    HtmlTextOut(s.canvas, 5, 5, "a<FONT color=#FF0000 size=+2>x</>b &lt;c&gt;<BR><B>bold</B>");
    s.Keep("html");
    // The red x exists; the canvas font is given back afterwards.
    EXPECT_GE(Columns(s, RGB(255, 0, 0), 0, 40).first, 5);
    EXPECT_TRUE(f.SameAs(before));
    // Entities become characters: the drawn width equals that of the plain text.
    const int plain = s.canvas.TextWidth("a < b");
    EXPECT_EQ(HtmlTextExtent(s.canvas, "a &lt; b").cx, plain);
    // Unknown tags are drawn literally.
    EXPECT_EQ(HtmlTextExtent(s.canvas, "<XYZ>").cx, s.canvas.TextWidth("<XYZ>"));
    // A bold run is wider than the plain one.
    EXPECT_GT(HtmlTextExtent(s.canvas, "<B>www</B>").cx, s.canvas.TextWidth("www"));
    EXPECT_GT(HtmlTextExtent(s.canvas, "<B>www</>").cx, s.canvas.TextWidth("www"));
    // Courier New for PRE, then the previous font.
    const int pre = HtmlTextExtent(s.canvas, "<PRE>iiii</PRE>").cx;
    EXPECT_NE(pre, s.canvas.TextWidth("iiii"));
    EXPECT_EQ(HtmlTextExtent(s.canvas, "<PRE>x</PRE>iiii").cx - HtmlTextExtent(s.canvas, "<PRE>x</PRE>").cx,
              s.canvas.TextWidth("iiii"));
}

TEST(ChartHtml, StacksDoNotLeakIntoLaterTexts)
{
    Surface s;
    s.canvas.Font().SetSize(10);
    const int plain = s.canvas.TextWidth("www");
    // Unclosed styles and fonts of one text leave later texts alone.
    HtmlTextExtent(s.canvas, "<B><I><FONT size=30>open");
    EXPECT_EQ(HtmlTextExtent(s.canvas, "www").cx, plain);
    for (int i = 0; i < 1000; ++i) HtmlTextExtent(s.canvas, "<B><BIG>x");
    EXPECT_EQ(HtmlTextExtent(s.canvas, "www").cx, plain);
    // "</>" with nothing open changes nothing.
    EXPECT_EQ(HtmlTextExtent(s.canvas, "</>www").cx, plain);
}

TEST(ChartHtml, ExtentMeasuresEveryLine)
{
    Surface s;
    s.canvas.Font().SetSize(10);
    const int h = s.canvas.TextHeight("ab");
    EXPECT_EQ(HtmlTextExtent(s.canvas, "ab"), (TSize{s.canvas.TextWidth("ab"), h}));
    const TSize two = HtmlTextExtent(s.canvas, "abc<BR>a");
    EXPECT_EQ(two.cx, s.canvas.TextWidth("abc"));
    EXPECT_EQ(two.cy, 2 * h);
    EXPECT_EQ(HtmlTextExtent(s.canvas, "a\r\nb\r\nc").cy, 3 * h);
    // A bigger second line counts with its own height.
    const TSize big = HtmlTextExtent(s.canvas, "a<BR><FONT size=20>B</FONT>");
    EXPECT_GT(big.cy, 2 * h);
}

TEST(ChartHtml, SubscriptGoesDownAndComesBack)
{
    Surface s(200, 80);
    s.canvas.Font().SetSize(16);
    s.canvas.Font().SetColor(clBlack);
    HtmlTextOut(s.canvas, 5, 5, "H<SUB>2</SUB>O");
    s.Keep("html_sub");
    const int wH = s.canvas.TextWidth("H");
    // The O sits on the same rows as the H.
    auto rows = [&](int x0, int x1) {
        int top = 1000, bottom = -1;
        for (int x = x0; x < x1; ++x)
            for (int y = 0; y < 80; ++y)
                if ((s(x, y) & 0xFF) < 0x80) top = std::min(top, y), bottom = std::max(bottom, y);
        return std::pair{top, bottom};
    };
    const auto h = rows(5, 5 + wH);
    const int wTwo = [&] {
        s.canvas.Font().SetSize(8);
        const int w = s.canvas.TextWidth("2");
        s.canvas.Font().SetSize(16);
        return w;
    }();
    const auto o = rows(5 + wH + wTwo + 1, 5 + wH + wTwo + s.canvas.TextWidth("O"));
    EXPECT_NEAR(h.first, o.first, 2);
    EXPECT_NEAR(h.second, o.second, 2);
    const auto two = rows(5 + wH, 5 + wH + wTwo);
    EXPECT_GT(two.second, h.second);  // below the line
}

TEST(ChartHtml, ErrorsAndImages)
{
    Surface s;
    try {
        HtmlTextExtent(s.canvas, "abc<");
        FAIL();
    } catch (const HtmlParserException& e) {
        EXPECT_EQ(std::string(e.what()), "Missing > at ");
    }
    EXPECT_THROW(HtmlTextExtent(s.canvas, "<FONT foo=1>x"), base::Exception);
    EXPECT_THROW(HtmlTextExtent(s.canvas, "<FONT weight=heavy>x"), base::Exception);
    EXPECT_THROW(HtmlTextExtent(s.canvas, "<FONT size=big>x"), base::EConvertError);
    EXPECT_THROW(HtmlTextExtent(s.canvas, "<FONT color=#12>x"), base::EConvertError);
    // Without a loader an image is a red-framed placeholder that does not move the text.
    HtmlTextOut(s.canvas, 10, 10, "<IMG src=\"a.png\" width=30 height=20>");
    EXPECT_EQ(s(10, 15), RGB(255, 0, 0));
    EXPECT_EQ(s(20, 12), RGB(255, 255, 255));
}

TEST(ChartHtml, FuzzedMarkupNeverCrashes)
{
    Surface s;
    const char* pieces[] = {"<B>", "</B>", "</>", "<SUB>", "</SUB>", "<SUPER>", "</SUPER>", "<BR>", "<H1>", "<PRE>",
                            "</PRE>", "<FONT size=+3 color=red>", "</FONT>", "<CENTER>", "<HR>", "text", "&lt;",
                            "\r\n", "<IMG src=x.bmp>", "<I>", "<U>", "</STRIKE>", "<SMALL>", "<BIG>", "<"};
    std::mt19937 g(99);
    for (int round = 0; round < 500; ++round) {
        std::string t;
        for (int k = 0, n = int(g() % 12); k < n; ++k) t += pieces[g() % std::size(pieces)];
        try {
            HtmlTextOut(s.canvas, 5, 5, t);
            const TSize e = HtmlTextExtent(s.canvas, t);
            EXPECT_GE(e.cx, 0);
        } catch (const HtmlParserException&) {
        }
    }
    EXPECT_EQ(HtmlTextExtent(s.canvas, "www").cx, s.canvas.TextWidth("www"));
}

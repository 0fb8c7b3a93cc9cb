#include <gtest/gtest.h>

#include "platform/GDI.h"
#include "platform/Graphics.h"
#include "widgets/html/HtmlEngine.h"

using namespace platform;
using namespace html;

namespace {

struct Surface {
    TBitmap bmp{300, 100};
    Surface()
    {
        bmp.Canvas()->Brush().SetColor(clWhite);
        bmp.Canvas()->FillRect(Rect(0, 0, 300, 100));
        bmp.Canvas()->Font().SetName("Arial");
        bmp.Canvas()->Font().SetSize(10);
        bmp.Canvas()->Font().SetColor(clBlack);
    }
    TCanvas* C() { return bmp.Canvas(); }
};

HTMLDrawResult Measure(Surface& s, std::string_view text, HTMLVariant v = HTMLVariant::Grid, int width = 1000)
{
    HTMLDrawParams p;
    p.Variant = v;
    p.Canvas = s.C();
    p.Text = text;
    p.TextRect = Rect(0, 0, width, 1000);
    p.MeasureOnly = true;
    HTMLDrawResult r;
    HTMLDrawEx(p, r);
    return r;
}

}  // namespace

TEST(HtmlEngineSmoke, BoldIsWider)
{
    Surface s;
    auto plain = Measure(s, "Hello world");
    auto bold = Measure(s, "<B>Hello world</B>");
    EXPECT_GT(plain.MeasuredWidth, 0);
    EXPECT_GT(bold.MeasuredWidth, plain.MeasuredWidth);
}

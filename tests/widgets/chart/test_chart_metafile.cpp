// A chart canvas drawn into the metafile recorder: the EMF and the WMF, read back by
// outside readers, show the shapes and colours the screen shows.
#include <gtest/gtest.h>

#include <cmath>

#include "ChartTestUtil.h"
#include "platform/graphics/Metafile.h"
#include "support/TestSupport.h"
#include "widgets/chart/ChartFont.h"

using namespace chart;
using namespace platform;

using charttest::Occurrences;
using charttest::ReadFile;
using charttest::SvgText;
using charttest::WriteFile;

namespace {

// A small chart-like picture using every kind of drawing the chart does.
void DrawScene(TChartCanvas3D& c, TChartFont& font)
{
    c.GradientFill({0, 0, 320, 40}, clWhite, clYellow, gdTopBottom, 50);
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(TColor(0x00FF00));  // lime
    c.Rectangle(10, 50, 90, 120);
    c.Brush().SetColor(TColor(0xFF0000));  // blue
    c.Ellipse(100, 50, 160, 110);
    c.Brush().SetColor(TColor(0x0000FF));  // red
    c.RoundRect(170, 50, 240, 110, 16, 16);
    c.Brush().SetColor(TColor(0xFF00FF));
    c.Pie(250, 50, 310, 110, 310, 80, 280, 50);
    c.Brush().SetColor(TColor(0x008080));  // olive
    const TPoint tri[3] = {{10, 200}, {60, 140}, {110, 200}};
    c.Polygon(tri, 3);
    c.Pen().SetColor(TColor(0x800080));  // purple
    c.Pen().SetWidth(2);
    const TPoint line[4] = {{130, 200}, {170, 150}, {210, 180}, {250, 140}};
    c.Polyline(line, 4);
    c.Pen().SetWidth(1);
    c.ClipRectangle({260, 130, 300, 170});
    c.Brush().SetColor(TColor(0x808000));  // teal
    c.FillRect({240, 120, 320, 200});
    c.UnClipRectangle();
    font.SetColor(TColor(0x000080));  // maroon
    font.SetSize(10);
    c.AssignFont(font);
    c.SetBackMode(cbmTransparent);
    c.TextOut(20, 215, "Displacement");
    c.RotateLabel(300, 235, "Draught", 90);
    TBitmap pic(8, 8);
    pic.Canvas()->Brush().SetColor(TColor(0x808080));
    pic.Canvas()->FillRect({0, 0, 8, 8});
    c.StretchDraw({200, 210, 232, 234}, &pic);
}

}  // namespace

class ChartMetafile : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsurePlatform();
        screen.canvas.ResetState();
        DrawScene(screen.canvas, screenFont);
        mf.SetWidth(320);
        mf.SetHeight(240);
        {
            TMetafileCanvas mc(mf);
            TChartCanvas3D c;
            c.SetUseBuffer(false);
            c.Metafiling = true;
            c.InitWindow(&mc, nullptr, clWhite, false, {0, 0, 320, 240});
            c.ResetState();
            DrawScene(c, font);
        }
        screen.Keep("scene");
    }
    charttest::Surface screen{320, 240};
    TChartFont screenFont, font;
    TMetafile mf;
    testsupport::TempDir dir{"chartmf"};
};

TEST_F(ChartMetafile, PlaysBackLikeTheScreen)
{
    TBitmap back(320, 240);
    back.Canvas()->Brush().SetColor(clWhite);
    back.Canvas()->FillRect({0, 0, 320, 240});
    mf.Draw(*back.Canvas(), {0, 0, 320, 240});
    int differ = 0;
    for (int y = 0; y < 240; y += 2)
        for (int x = 0; x < 320; x += 2) differ += charttest::Px(back, x, y) != screen(x, y) ? 1 : 0;
    if (std::getenv("CHART_TEST_OUT")) back.SaveToFile(std::string(std::getenv("CHART_TEST_OUT")) + "/playback.bmp");
    EXPECT_LT(differ, 200);  // anti-aliased text and arc edges may differ
}

TEST_F(ChartMetafile, EmfReadsBackWithTheShapesAndColours)
{
    REQUIRE_TOOL("emf2svg-conv", "emf2svg");
    const std::string emf = dir.file("chart.emf"), svg = dir.file("chart.svg");
    WriteFile(emf, mf.EmfData());
    ASSERT_EQ(std::system(("emf2svg-conv -i '" + emf + "' -o '" + svg + "' >/dev/null 2>&1").c_str()), 0);
    const std::string out = ReadFile(svg);
    if (std::getenv("CHART_TEST_OUT")) WriteFile(std::string(std::getenv("CHART_TEST_OUT")) + "/chart_emf.svg", out);
    for (const char* colour : {"#00FF00", "#0000FF", "#FF0000", "#FF00FF", "#808000", "#800080", "#008080", "#800000",
                               "#FFFF00", "#FFFFFF"})
        EXPECT_NE(out.find(colour), std::string::npos) << colour;
    const std::string text = SvgText(out);
    EXPECT_NE(text.find("Displacement"), std::string::npos) << text;
    EXPECT_NE(text.find("Draught"), std::string::npos) << text;
    EXPECT_EQ(Occurrences(out, "<image"), 1);
    EXPECT_EQ(Occurrences(out, "<ellipse"), 1);
    EXPECT_GE(Occurrences(out, "<rect"), 40);  // the gradient's bands, the filled rectangles
    EXPECT_GE(Occurrences(out, "<path"), 3);   // pie, triangle, rounded rectangle
}

TEST_F(ChartMetafile, WmfReadsBackWithTheShapesAndColours)
{
    REQUIRE_TOOL("wmf2svg", "libwmf-bin");
    const std::string wmf = dir.file("chart.wmf"), svg = dir.file("chart.svg");
    WriteFile(wmf, mf.WmfData());
    ASSERT_EQ(std::system(("wmf2svg -o '" + svg + "' '" + wmf + "' >/dev/null 2>&1").c_str()), 0);
    std::string out = ReadFile(svg);
    if (std::getenv("CHART_TEST_OUT")) WriteFile(std::string(std::getenv("CHART_TEST_OUT")) + "/chart_wmf.svg", out);
    for (char& ch : out) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    // This reader names colours.
    for (const char* colour : {"fill:lime", "fill:blue", "fill:red", "fill:fuchsia", "fill:olive", "stroke:purple",
                               "fill:teal", "fill:maroon", "fill:white", "stroke:black"})
        EXPECT_NE(out.find(colour), std::string::npos) << colour;
    const std::string text = SvgText(out);
    EXPECT_NE(text.find("displacement"), std::string::npos) << text;
    EXPECT_NE(text.find("draught"), std::string::npos) << text;
    EXPECT_NE(out.find("matrix(0.000000 -1.000000 1.000000 0.000000"), std::string::npos);  // rotated upwards
    EXPECT_EQ(Occurrences(out, "<image"), 1);
    EXPECT_EQ(Occurrences(out, "<ellipse"), 1);
    EXPECT_EQ(Occurrences(out, "<polygon"), 1);
    EXPECT_EQ(Occurrences(out, "<polyline"), 1);
    EXPECT_EQ(Occurrences(out, "<path"), 1);  // the pie
    EXPECT_NE(out.find(" rx="), std::string::npos);  // the rounded rectangle
    EXPECT_GE(Occurrences(out, "<rect"), 40);
}

// Charts in 3D: marks that follow the projection, series and walls, and the exact cases
// of the solid shapes, read back from pixels and from the recorded drawing calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "ChartOnHost.h"
#include "ChartTestUtil.h"
#include "TestChart.h"
#include "platform/graphics/ImageDecoder.h"
#include "platform/graphics/Metafile.h"
#include "support/TestSupport.h"
#include "widgets/chart/ChartCanvas3D.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartLegend.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartPieSeries.h"
#include "widgets/chart/ChartPointSeries.h"
#include "widgets/chart/ChartTitles.h"

using namespace chart;
using namespace platform;

namespace {

constexpr COLORREF kMark = RGB(255, 255, 0);

// A white 400 x 300 chart in 3D, drawn onto a bitmap.
struct Chart3D : charttest::ChartOnBitmap {
    Chart3D() { chart.SetView3D(true); }
};

void MarksLook(TSeriesMarks& m)
{
    m.SetVisible(true);
    m.SetColor(TColor(kMark));
    m.Shadow()->SetSize(0);
}

// The box a mark is drawn in: its stored place moved as the projection moves its point.
TRect DrawnBox(TChartSeries& s, int i)
{
    TSeriesMarkPosition* p = s.Marks().Positions.Get(i);
    if (!p) return {};
    TPoint topLeft = p->BoxTopLeft;
    s.Marks().ConvertTo2D(p->ArrowEnd, topLeft);
    return {topLeft.X, topLeft.Y, topLeft.X + p->BoxWidth, topLeft.Y + p->BoxHeight};
}

int CountNear(platform::TBitmap& b, const TRect& r, int margin, COLORREF c)
{
    int n = 0;
    for (int y = std::max(0, r.Top - margin); y < std::min(b.Height(), r.Bottom + margin); ++y)
        for (int x = std::max(0, r.Left - margin); x < std::min(b.Width(), r.Right + margin); ++x)
            n += COLORREF(b.Canvas()->Pixel(x, y)) == c;
    return n;
}

// The calls of a recording canvas that start with a prefix.
std::vector<std::string> CallsOf(TRecordingCanvas& rc, const std::string& prefix)
{
    std::vector<std::string> out;
    for (const std::string& c : rc.Calls())
        if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
    return out;
}

// The brush colour ("brush=rrggbb/...", hex 0xBBGGRR) of a recorded call.
unsigned BrushOf(const std::string& call)
{
    const auto at = call.find("brush=");
    return at == std::string::npos ? 0xFFFFFFFFu : unsigned(std::stoul(call.substr(at + 6, 6), nullptr, 16));
}

// A chart canvas drawing in 3D onto a recording canvas.
struct Recorded3D {
    explicit Recorded3D(bool rotated = true)
    {
        EnsurePlatform();
        if (rotated) {
            options.SetOrthogonal(false);
            options.SetPerspective(0);
        }
        canvas.SetUseBuffer(false);
        canvas.InitWindow(&rc, &options, clWhite, true, {0, 0, 300, 200});
        canvas.Projection(40, {}, {0, 0, 300, 200});
        canvas.Pen().SetColor(clBlack);
    }
    TRecordingCanvas rc{300, 200};
    TView3DOptions options;
    TChartCanvas3D canvas;
};

}  // namespace

TEST(Chart3DMarks, LineMarksStandAboveTheirProjectedPoints)
{
    Chart3D f;
    auto* s = new TLineSeries();
    f.chart.AddSeries(s);
    s->SetSeriesColor(clBlue);
    for (int i = 0; i < 5; ++i) s->AddXY(i, 10 + (i % 2) * 20);
    MarksLook(s->Marks());
    s->Marks().SetStyle(smsValue);
    f.Paint("3d_line_marks");
    TCanvas3D& c = *f.chart.ChartCanvas();
    for (int i = 0; i < 5; ++i) {
        TSeriesMarkPosition* p = s->Marks().Positions.Get(i);
        ASSERT_NE(p, nullptr) << i;
        const TPoint at = c.Calculate3DPosition(p->ArrowEnd, s->Marks().ZPosition);
        const TRect box = DrawnBox(*s, i);
        // Centred over the projected point and standing on it, not on the 2D place.
        EXPECT_NEAR((box.Left + box.Right) / 2, at.X, 2) << i;
        EXPECT_LE(box.Bottom, at.Y + 2) << i;
        EXPECT_GE(box.Bottom, at.Y - s->Marks().Callout().Length() - 12) << i;
        int cx, cy;
        RectCenter(box, cx, cy);
        EXPECT_GT(CountNear(f.bmp, {cx - 3, cy - 3, cx + 3, cy + 3}, 0, kMark), 0) << "mark " << i << " drawn there";
    }
    // A mark is found where it shows.
    const TRect b0 = DrawnBox(*s, 0);
    EXPECT_EQ(s->Marks().Clicked(b0.Left + 2, b0.Top + 2), 0);
}

TEST(Chart3DMarks, MarksOnAFullChartWithTitlesLegendAndWalls)
{
    charttest::ChartOnHost on;
    TChart& chart = *on.chart;
    chart.SetView3D(true);
    chart.Title().SetCaption("Cross curves");
    chart.Foot().SetCaption("KN");
    chart.Legend().SetVisible(true);
    chart.Legend().SetAlignment(laRight);
    chart.BackWall().SetColor(clSilver);
    chart.BackWall().Brush().SetStyle(bsSolid);
    std::vector<TLineSeries*> series;
    for (int k = 0; k < 2; ++k) {
        auto* s = new TLineSeries(on.host.get());
        chart.AddSeries(s);
        s->SetTitle("Heel " + std::to_string(10 * (k + 1)));
        s->SetSeriesColor(k ? clBlue : clGreen);
        for (int i = 0; i < 5; ++i) s->AddXY(i, 10 + (i % 2) * 20 + 5 * k);
        MarksLook(s->Marks());
        s->Marks().SetStyle(smsValue);
        series.push_back(s);
    }
    TBitmap bmp(400, 300);
    bmp.Canvas()->Brush().SetColor(clWhite);
    bmp.Canvas()->FillRect({0, 0, 400, 300});
    chart.Draw(bmp.Canvas(), {0, 0, 400, 300});
    if (const char* dir = std::getenv("CHART_TEST_OUT")) bmp.SaveToFile(std::string(dir) + "/3d_marks_full.bmp");
    const TRect legend = chart.Legend().GetRectLegend();
    ASSERT_GT(legend.Right, legend.Left);
    TCanvas3D& c = *chart.ChartCanvas();
    for (TLineSeries* s : series)
        for (int i = 0; i < 5; ++i) {
            TSeriesMarkPosition* p = s->Marks().Positions.Get(i);
            ASSERT_NE(p, nullptr) << i;
            const TPoint at = c.Calculate3DPosition(p->ArrowEnd, s->Marks().ZPosition);
            const TRect box = DrawnBox(*s, i);
            EXPECT_NEAR((box.Left + box.Right) / 2, at.X, 2) << s->Title() << " " << i;
            EXPECT_LE(box.Bottom, at.Y + 2) << s->Title() << " " << i;
            // Inside the chart's picture, clear of the legend and below the title.
            EXPECT_LT(box.Right, legend.Left) << s->Title() << " " << i;
            EXPECT_GT(box.Top, chart.Title().ShapeBounds.Bottom) << s->Title() << " " << i;
            int cx, cy;
            RectCenter(box, cx, cy);
            EXPECT_GT(CountNear(bmp, {cx - 3, cy - 3, cx + 3, cy + 3}, 0, kMark), 0) << s->Title() << " " << i;
        }
    EXPECT_EQ(series[1]->Marks().Clicked(DrawnBox(*series[1], 2).Left + 2, DrawnBox(*series[1], 2).Top + 2), 2);
}

TEST(Chart3DMarks, PieMarksSitBesideTheirSlices)
{
    Chart3D f;
    f.chart.SetAxisVisible(false);
    auto* pie = new TPieSeries();
    f.chart.AddSeries(pie);
    const TColor colours[] = {clRed, clLime, clBlue, clFuchsia};
    const double values[] = {40, 30, 20, 10};
    for (int i = 0; i < 4; ++i) pie->Add(values[i], "s", colours[i]);
    MarksLook(pie->Marks());
    f.Paint("3d_pie_marks");
    for (int i = 0; i < 4; ++i) {
        const TRect box = DrawnBox(*pie, i);
        ASSERT_GT(box.Right - box.Left, 0) << i;
        EXPECT_GT(CountNear(f.bmp, box, 0, kMark), 10) << "mark " << i;
        // The slice's own colour lies within a few pixels of its mark.
        const COLORREF slice = ColorToRGB(colours[i]);
        EXPECT_GT(CountNear(f.bmp, box, 14, slice), 0) << "slice " << i << " beside its mark";
    }
}

TEST(Chart3DMarks, SymbolGradientDefaultsAndCopy)
{
    TSeriesMarksGradient g;
    EXPECT_EQ(g.Direction(), gdRightLeft);
    EXPECT_EQ(g.StartColor(), clSilver);
    EXPECT_EQ(g.EndColor(), clWhite);
    EXPECT_FALSE(g.Visible());

    Chart3D f;
    f.chart.SetView3D(false);
    auto* s = new TPointSeries();
    f.chart.AddSeries(s);
    s->AddXY(1, 5, "", clRed);
    s->AddXY(2, 8, "", clBlue);
    MarksLook(s->Marks());
    s->Marks().SetStyle(smsValue);
    EXPECT_EQ(s->Marks().Gradient().Direction(), gdRightLeft) << "the marks' gradient class";
    EXPECT_FALSE(s->Marks().HasSymbol());
    TSeriesMarksSymbol& sym = s->Marks().Symbol();
    EXPECT_FALSE(sym.Visible());
    EXPECT_EQ(sym.Shadow()->Size(), 1);
    f.Paint();
    const int plain = s->Marks().Positions.Get(0)->BoxWidth;
    sym.SetVisible(true);
    EXPECT_TRUE(sym.ShouldDraw());
    f.Paint("marks_symbol");
    const TRect box = s->Marks().Positions.Get(0)->Bounds();
    EXPECT_GT(s->Marks().Positions.Get(0)->BoxWidth, plain) << "room for the symbol";
    // The symbol in the point's colour at the box's left.
    EXPECT_GT(CountNear(f.bmp, {box.Left + 4, box.Top + 3, box.Left + 9, box.Top + 8}, 0, RGB(255, 0, 0)), 0);
    const TRect box1 = s->Marks().Positions.Get(1)->Bounds();
    EXPECT_GT(CountNear(f.bmp, {box1.Left + 4, box1.Top + 3, box1.Left + 9, box1.Top + 8}, 0, RGB(0, 0, 255)), 0);

    auto* copy = new TPointSeries();
    f.chart.AddSeries(copy);
    copy->Marks().Assign(s->Marks());
    ASSERT_TRUE(copy->Marks().HasSymbol());
    EXPECT_TRUE(copy->Marks().Symbol().Visible());
    s->Marks().SetSymbol(nullptr);
    EXPECT_FALSE(s->Marks().HasSymbol());
}

TEST(Chart3DSeries, LinesAreasAndWallsDrawInDepth)
{
    charttest::ChartOnHost h;
    TChart& chart = *h.chart;
    chart.SetView3D(true);
    chart.SetChart3DPercent(40);
    chart.Walls().Back().SetTransparent(false);
    chart.Walls().Back().SetColor(TColor(RGB(200, 200, 255)));
    chart.Walls().Left().SetColor(TColor(RGB(255, 200, 200)));
    chart.Walls().Bottom().SetColor(TColor(RGB(200, 255, 200)));
    auto* line = new TLineSeries();
    chart.AddSeries(line);
    line->SetSeriesColor(clBlue);
    auto* area = new TAreaSeries();
    chart.AddSeries(area);
    area->SetSeriesColor(clRed);
    for (int i = 0; i < 6; ++i) {
        line->AddXY(i, 20 + i * 5);
        area->AddXY(i, 10 + (i % 3) * 4);
    }
    TBitmap bmp(400, 300);
    chart.Draw(bmp.Canvas(), {0, 0, 400, 300});
    if (const char* dir = std::getenv("CHART_TEST_OUT")) bmp.SaveToFile(std::string(dir) + "/3d_series.bmp");
    auto count = [&](COLORREF c) { return CountNear(bmp, {0, 0, 400, 300}, 0, c); };
    EXPECT_GT(count(RGB(200, 200, 255)), 500) << "back wall";
    EXPECT_GT(count(RGB(255, 200, 200)), 50) << "left wall";
    EXPECT_GT(count(RGB(200, 255, 200)), 50) << "bottom wall";
    EXPECT_GT(count(RGB(255, 0, 0)), 200) << "area front";
    int blueish = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            const COLORREF p = COLORREF(bmp.Canvas()->Pixel(x, y));
            blueish += GetBValue(p) > 60 && GetRValue(p) == 0 && GetGValue(p) == 0;
        }
    EXPECT_GT(blueish, 100) << "the line's ribbon";
    // The area's top runs into depth: red halfway back, beside the projected peak.
    TCanvas3D& canvas = *chart.ChartCanvas();
    const TPoint back = canvas.Calculate3DPosition(area->CalcXPos(2) - 3, area->CalcYPos(2) + 3, area->MiddleZ);
    EXPECT_GT(CountNear(bmp, {back.X - 2, back.Y - 2, back.X + 2, back.Y + 2}, 0, RGB(255, 0, 0)), 0);
    // The line's ribbon runs into depth: its projected far edge lies up and right of the point.
    TCanvas3D& c = *chart.ChartCanvas();
    const TPoint nearPt = c.Calculate3DPosition(line->CalcXPos(2), line->CalcYPos(2), line->StartZ);
    const TPoint farPt = c.Calculate3DPosition(line->CalcXPos(2), line->CalcYPos(2), line->EndZ);
    EXPECT_GT(farPt.X, nearPt.X);
    EXPECT_LT(farPt.Y, nearPt.Y);
    // The point forms of the projection agree with it.
    auto* c3 = dynamic_cast<TChartCanvas3D*>(&c);
    ASSERT_NE(c3, nullptr);
    TPoint inPlace{line->CalcXPos(2), line->CalcYPos(2)};
    c3->Calc3DTPoint(inPlace, line->EndZ);
    EXPECT_EQ(inPlace, farPt);
    EXPECT_EQ(c3->Calc3DTPoint3D({line->CalcXPos(2), line->CalcYPos(2), line->EndZ}), farPt);
}

TEST(Chart3DShapes, CylinderSidesDarkenInStepsOfTheSideCount)
{
    const int keep = ChartNumCylinderSides;
    ChartNumCylinderSides = 16;
    Recorded3D r;
    r.canvas.Brush().SetColor(TColor(RGB(200, 200, 200)));
    r.canvas.Cylinder(true, 100, 40, 160, 140, 0, 60, true);
    ChartNumCylinderSides = keep;
    // Side k is darkened by 8 * k from the base colour (256 div 32 = 8).
    std::vector<int> darks;
    for (const std::string& call : CallsOf(r.rc, "Polygon 4")) {
        const unsigned b = BrushOf(call);
        darks.push_back(200 - int(b & 0xFF));
    }
    ASSERT_GE(darks.size(), 4u);
    for (std::size_t i = 0; i < darks.size(); ++i) {
        EXPECT_EQ(darks[i] % 8, 0) << i << ": " << darks[i];
        EXPECT_LE(darks[i], 8 * 15) << i;
    }
    for (std::size_t i = 1; i < darks.size(); ++i)
        if (darks[i] != 0) EXPECT_GE(darks[i], darks[i - 1]) << "the steps grow round the cylinder";
}

TEST(Chart3DShapes, PieSlicePointCountFollowsItsAngle)
{
    struct Case {
        double degrees;
        int outerPoints;
    } cases[] = {{360, 96}, {1, 2}, {90, 47}, {3, 4}};
    for (const auto& c : cases) {
        Recorded3D r;
        r.canvas.Brush().SetColor(clRed);
        r.canvas.Pie3D(150, 100, 60, 40, 0, 20, 0, c.degrees * ChartPiStep, false, false, 0, nullptr);
        // The top face: the hub and the outer points.
        bool found = false;
        for (const std::string& call : CallsOf(r.rc, "Polygon "))
            found |= std::stoi(call.substr(8)) == c.outerPoints + 1;
        EXPECT_TRUE(found) << c.degrees << " degrees";
    }
}

TEST(Chart3DShapes, ArrowHeadIsClampedToTheArrowsLength)
{
    // A filled arrow 40 long with a head 100 long: the head spans the whole arrow.
    charttest::Surface s(120, 100);
    s.canvas.Pen().SetStyle(psClear);
    s.canvas.Brush().SetColor(clBlue);
    s.canvas.Arrow(true, {20, 50}, {60, 50}, 30, 100, 0, 50);
    EXPECT_EQ(s(58, 50), RGB(0, 0, 255)) << "near the tip";
    EXPECT_EQ(s(22, 38), RGB(0, 0, 255)) << "the head's wide base is at the arrow's start";
    EXPECT_EQ(s(16, 50), RGB(255, 255, 255)) << "nothing behind the start";
    EXPECT_EQ(s(62, 50), RGB(255, 255, 255)) << "nothing beyond the tip";
    // Zero length: nothing.
    charttest::Surface none(60, 60);
    none.canvas.Brush().SetColor(clBlue);
    none.canvas.Arrow(true, {30, 30}, {30, 30}, 10, 10, 0, 50);
    EXPECT_EQ(CountNear(none.bmp, {0, 0, 60, 60}, 0, RGB(0, 0, 255)), 0);
}

TEST(Chart3DShapes, CubeDrawsOnlyTheFacesTurnedToTheViewer)
{
    Recorded3D solid;
    solid.canvas.Brush().SetColor(clRed);
    solid.canvas.Cube(100, 180, 60, 140, 0, 50, true);
    const std::size_t faces = CallsOf(solid.rc, "Polygon 4").size();
    EXPECT_EQ(faces, 3u) << "front or back, one side, top or bottom";
    Recorded3D clear;
    clear.canvas.Brush().SetStyle(bsClear);
    clear.canvas.Cube(100, 180, 60, 140, 0, 50, true);
    EXPECT_EQ(CallsOf(clear.rc, "Polygon 4").size(), 5u) << "a clear brush shows every face";
    // Darkened sides: the side by DarkerColorQuantity, the top by DarkColorQuantity.
    std::vector<unsigned> reds;
    for (const std::string& c : CallsOf(solid.rc, "Polygon 4")) reds.push_back(BrushOf(c) & 0xFF);
    EXPECT_NE(std::find(reds.begin(), reds.end(), 255u), reds.end());
    EXPECT_NE(std::find(reds.begin(), reds.end(), unsigned(255 - DarkerColorQuantity)), reds.end());
    EXPECT_NE(std::find(reds.begin(), reds.end(), unsigned(255 - DarkColorQuantity)), reds.end());
}

TEST(Chart3DText, OutlinedLettersStayHollowWhenTurnedAndOnMetafiles)
{
    // Outline only, turned 90 degrees: red edges, white insides, no black.
    charttest::Surface s(120, 160);
    TChartFont font;
    font.SetName("Arial");
    font.SetSize(36);
    font.SetStyle(fsBold);
    font.SetColor(clNone);
    font.OutLine()->SetColor(clRed);
    font.OutLine()->Show();
    s.canvas.AssignFont(font);
    s.canvas.RotateLabel(30, 150, "HI", 90);
    s.Keep("outline_turned");
    int red = 0, black = 0;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 120; ++x) {
            red += s(x, y) == RGB(255, 0, 0);
            black += s(x, y) == RGB(0, 0, 0);
        }
    EXPECT_GT(red, 60);
    EXPECT_EQ(black, 0) << "no solid letters";

    // A gradient on turned letters fills them with the gradient's colours.
    charttest::Surface g(120, 160);
    TChartFont gf;
    gf.SetName("Arial");
    gf.SetSize(36);
    gf.SetStyle(fsBold);
    gf.Gradient()->SetVisible(true);
    gf.Gradient()->SetStartColor(clBlue);
    gf.Gradient()->SetEndColor(clLime);
    g.canvas.AssignFont(gf);
    g.canvas.RotateLabel(30, 150, "HI", 90);
    g.Keep("gradient_turned");
    int blue = 0, lime = 0, other = 0;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 120; ++x) {
            const COLORREF p = g(x, y);
            if (p == RGB(255, 255, 255)) continue;
            if (GetRValue(p) == 0 && GetBValue(p) > 150) ++blue;
            else if (GetRValue(p) == 0 && GetGValue(p) > 150) ++lime;
            else if (GetRValue(p) > 0) ++other;
        }
    EXPECT_GT(blue + lime, 100);
    EXPECT_EQ(other, 0);

    // Both on a metafile: played back by us and read by an outside reader, the gradient
    // stays inside the letters (clipped by their shape, not by their box) and the
    // outlined letters stay hollow.
    TMetafile mf;
    mf.SetWidth(240);
    mf.SetHeight(160);
    {
        TMetafileCanvas mc(mf);
        TChartCanvas3D c;
        c.SetUseBuffer(false);
        c.Metafiling = true;
        c.InitWindow(&mc, nullptr, clWhite, false, {0, 0, 240, 160});
        c.ResetState();
        c.AssignFont(gf);
        c.RotateLabel(30, 150, "HI", 90);
        c.AssignFont(font);
        c.RotateLabel(150, 150, "HI", 90);
    }
    // How much of the box round the gradient's pixels they fill: letters leave gaps where
    // filled boxes would not.
    struct Counts {
        int coloured = 0, red = 0, black = 0;
        double fill = 0;
    };
    auto count = [](int w, int h, const std::function<COLORREF(int, int)>& px) {
        Counts n;
        int l = w, t = h, r = -1, b = -1;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const COLORREF p = px(x, y) & 0xFFFFFF;
                if (x < w / 2 && GetRValue(p) < 100 && (GetBValue(p) > 150 || GetGValue(p) > 150)) {
                    ++n.coloured;
                    l = std::min(l, x);
                    t = std::min(t, y);
                    r = std::max(r, x);
                    b = std::max(b, y);
                }
                if (x >= w / 2 && GetRValue(p) > 200 && GetGValue(p) < 80 && GetBValue(p) < 80) ++n.red;
                if (GetRValue(p) < 40 && GetGValue(p) < 40 && GetBValue(p) < 40) ++n.black;
            }
        if (r >= l && b >= t) n.fill = double(n.coloured) / ((r - l + 1) * (b - t + 1));
        return n;
    };
    TBitmap back(240, 160);
    back.Canvas()->Brush().SetColor(clWhite);
    back.Canvas()->FillRect({0, 0, 240, 160});
    mf.Draw(*back.Canvas(), {0, 0, 240, 160});
    if (const char* dir = std::getenv("CHART_TEST_OUT")) back.SaveToFile(std::string(dir) + "/letters_playback.bmp");
    const Counts ours = count(240, 160, [&](int x, int y) { return charttest::Px(back, x, y); });
    EXPECT_GT(ours.coloured, 100);
    EXPECT_LT(ours.fill, 0.75) << "gradient only inside the letters";
    EXPECT_GT(ours.red, 60);
    EXPECT_EQ(ours.black, 0);

    REQUIRE_TOOL("wmf2gd", "libwmf-bin");
    testsupport::TempDir dir("letters");
    const std::string wmf = dir.file("letters.wmf"), png = dir.file("letters.png");
    charttest::WriteFile(wmf, mf.WmfData());
    int rc = 0;
    testsupport::RunCapture("wmf2gd -t png -o '" + png + "' '" + wmf + "' 2>&1", &rc);
    ASSERT_EQ(rc, 0);
    const auto theirs = ImageDecoder::Decode(charttest::ReadFile(png));
    ASSERT_TRUE(theirs);
    if (const char* out = std::getenv("CHART_TEST_OUT"))
        charttest::WriteFile(std::string(out) + "/letters_wmf2gd.png", charttest::ReadFile(png));
    // The reader sizes the picture itself: the letters are compared by how they fill their box.
    const Counts read = count(theirs->Width(), theirs->Height(), [&](int x, int y) { return theirs->PixelAt(x, y); });
    EXPECT_GT(read.coloured, 100);
    EXPECT_NEAR(read.fill, ours.fill, 0.12) << "the reader fills the letters, not their boxes";
    EXPECT_GT(read.red, 60);
    EXPECT_EQ(read.black, 0);
}

// Axis scale, mapping, label steps and texts, errors and drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "TestChart.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartSeries.h"

using namespace chart;
using namespace platform;
using charttest::TestChart;

using Fixture = charttest::ChartOnBitmap;

TEST(ChartAxisSteps, NextNiceStep)
{
    const double cases[][2] = {{1, 2}, {2, 5}, {4.9, 5}, {5, 10}, {0.3, 0.5}, {37, 50}, {100, 200}, {0.02, 0.05}};
    for (auto& c : cases) EXPECT_NEAR(NextNiceStep(c[0]), c[1], 1e-12) << c[0];
}

TEST(ChartAxisSteps, IncrementForLabelSize)
{
    Fixture f;
    TChartAxis& a = f.chart.BottomAxis();
    a.ScaleMinimum = 0;
    a.ScaleMaximum = 100;
    a.StartPixel = 0;
    a.EndPixel = 300;
    a.RecalcSizeCenter();
    EXPECT_DOUBLE_EQ(a.CalcXYIncrement(20), 10);
    a.SetLabelsSeparation(0);
    EXPECT_NEAR(a.CalcXYIncrement(20), 100.0 / 16, 1e-12);  // not nice without separation
    a.SetLabelsSeparation(10);
    a.ScaleMaximum = 10;
    a.InternalCalcRange();
    a.SetDesiredIncrement(2.5);
    EXPECT_DOUBLE_EQ(a.CalcLabelsIncrement(4), 2.5);
    EXPECT_DOUBLE_EQ(a.CalcLabelsIncrement(3), 5);
    EXPECT_DOUBLE_EQ(a.CalcLabelsIncrement(1), 10);
    a.SetDesiredIncrement(0);
    a.ScaleMaximum = 0;
    a.InternalCalcRange();
    EXPECT_DOUBLE_EQ(a.CalcLabelsIncrement(5), 1);  // zero range
}

TEST(ChartAxisLabels, ValueSequences)
{
    struct Case {
        double min, max, inc;
        bool roundFirst;
        std::vector<std::string> texts;
    } cases[] = {
        {-3.5, 7, 2, true, {"6", "4", "2", "0", "-2"}},
        {-3.5, 7, 2, false, {"7", "5", "3", "1", "-1", "-3"}},
        {0, 1000, 250, true, {"1,000", "750", "500", "250", "0"}},
    };
    for (const Case& c : cases) {
        Fixture f;
        TChartAxis& a = f.chart.LeftAxis();
        a.SetLabelStyle(talValue);
        a.SetMinMax(c.min, c.max);
        a.SetDesiredIncrement(c.inc);
        a.SetRoundFirstLabel(c.roundFirst);
        EXPECT_EQ(f.Labels(a), c.texts) << c.min << ".." << c.max;
    }
}

TEST(ChartAxisLabels, MaxLabelsWidthMeasuresEveryLabelDrawn)
{
    struct Case {
        double min, max, inc;
    } cases[] = {
        {0, 1, 0.05},     // "0.55" is wider than "0" and "1"
        {0, 1000, 250},   // "1,000" is the widest: the ends decide
        {-3.5, 7, 0.5},   // "-3.5" against "7"
    };
    for (const Case& c : cases) {
        Fixture f;
        TChartAxis& a = f.chart.LeftAxis();
        a.SetLabelStyle(talValue);
        a.SetMinMax(c.min, c.max);
        a.SetDesiredIncrement(c.inc);
        const std::vector<std::string> labels = f.Labels(a);
        ASSERT_FALSE(labels.empty());
        TCanvas3D& cv = *f.chart.ChartCanvas();
        cv.AssignFont(a.GetLabelsFont());
        int widest = 0;
        for (const std::string& t : labels) widest = std::max(widest, cv.TextWidth(t));
        const std::size_t ticks = a.TickPixels.size();
        EXPECT_EQ(a.MaxLabelsWidth(), widest + cv.TextWidth(" ")) << c.min << ".." << c.max;
        EXPECT_EQ(a.TickPixels.size(), ticks);
    }
}

TEST(ChartAxisLabels, ZeroRangeGivesOneCentredLabel)
{
    Fixture f;
    TChartAxis& a = f.chart.LeftAxis();
    a.SetLabelStyle(talValue);
    a.SetMinMax(5, 5);
    a.InternalSetMaximum(5);  // an exact zero range
    std::vector<int> ys;
    a.OnDrawLabel = [&](TChartAxis*, int&, int& y, int&, std::string&, bool&) { ys.push_back(y); };
    f.Paint();
    ASSERT_EQ(ys.size(), 1u);
    EXPECT_EQ(a.TickPixels.front(), a.CenterPixel);
}

TEST(ChartAxisLabels, LogarithmicSequences)
{
    struct Case {
        double min, max;
        std::vector<std::string> texts;
    } cases[] = {{1, 1000, {"1", "10", "100", "1,000"}}, {20, 25, {"20", "21", "22", "23", "24", "25"}}};
    for (const Case& c : cases) {
        Fixture f;
        TChartAxis& a = f.chart.LeftAxis();
        a.SetLabelStyle(talValue);
        a.SetMinMax(c.min, c.max);
        a.SetLogarithmic(true);
        a.SetLabelsSeparation(0);
        EXPECT_EQ(f.Labels(a), c.texts) << c.min;
    }
}

TEST(ChartAxisLabels, AxisWithoutActiveSeriesHasNoLabels)
{
    Fixture f;
    EXPECT_TRUE(f.Labels(f.chart.LeftAxis()).empty());
    TChartSeries* s = new TChartSeries();
    f.chart.AddSeries(s);
    s->AddXY(0, 10);
    s->AddXY(1, 20);
    EXPECT_FALSE(f.Labels(f.chart.LeftAxis()).empty());
    s->SetActive(false);
    EXPECT_TRUE(f.Labels(f.chart.LeftAxis()).empty());
}

TEST(ChartAxisLabels, TextsFormatsAndMultiLine)
{
    Fixture f;
    TChartAxis& a = f.chart.LeftAxis();
    EXPECT_EQ(a.LabelValue(1234.5678), "1,234.568");
    EXPECT_FALSE(a.IsAxisValuesFormatStored());
    a.SetValuesFormat("0.0");
    EXPECT_EQ(a.LabelValue(2), "2.0");
    EXPECT_TRUE(a.IsAxisValuesFormatStored());
    a.SetValuesFormat("#,##0.###");
    EXPECT_FALSE(a.IsAxisValuesFormatStored());
    a.SetLabelsMultiLine(true);
    EXPECT_EQ(a.LabelValue(1000), "1,000");
    f.chart.OnGetAxisLabel = [](TChartAxis*, TChartSeries*, int, std::string& t) { t = "1 000"; };
    EXPECT_EQ(a.LabelValue(1000), std::string("1\r000"));
}

TEST(ChartAxisScale, MappingTable)
{
    Fixture f;
    TChartAxis& a = f.chart.BottomAxis();
    a.ScaleMinimum = 0;
    a.ScaleMaximum = 10;
    a.StartPixel = 100;
    a.EndPixel = 300;
    a.RecalcSizeCenter();
    struct Case {
        double v;
        int px, inverted;
    } cases[] = {{5, 200, 200}, {2.5, 150, 250}, {0, 100, 300}, {10, 300, 100}};
    for (const Case& c : cases) {
        a.InternalSetInverted(false);
        EXPECT_EQ(a.ValueToPixel(c.v), c.px) << c.v;
        a.InternalSetInverted(true);
        EXPECT_EQ(a.ValueToPixel(c.v), c.inverted) << c.v;
    }
    a.InternalSetInverted(false);
    EXPECT_DOUBLE_EQ(a.CalcPosPoint(150), 2.5);
    EXPECT_EQ(a.ValueToPixel(1e300), MaxPixelCoordinate);
    EXPECT_EQ(a.ValueToPixel(-1e300), -MaxPixelCoordinate);
    EXPECT_EQ(a.CalcSizeValue(2.5), 50);
    f.chart.AxisList().SetFastCalc(true);
    EXPECT_EQ(a.ValueToPixel(2.5), 150);
    f.chart.AxisList().SetFastCalc(false);

    TChartAxis& v = f.chart.LeftAxis();
    v.ScaleMinimum = 0;
    v.ScaleMaximum = 10;
    v.StartPixel = 100;
    v.EndPixel = 300;
    v.RecalcSizeCenter();
    EXPECT_EQ(v.ValueToPixel(2.5), 250);
    EXPECT_DOUBLE_EQ(v.CalcPosPoint(250), 2.5);
    v.ScaleMaximum = 0;
    v.InternalCalcRange();
    EXPECT_EQ(v.ValueToPixel(7), v.CenterPixel);  // zero range
}

TEST(ChartAxisScale, FixedScaleAndAutomaticEnds)
{
    Fixture f;
    TChartAxis& a = f.chart.LeftAxis();
    a.SetMinMax(10, 2);
    EXPECT_EQ(a.Minimum(), 2);
    EXPECT_EQ(a.Maximum(), 10);
    EXPECT_FALSE(a.Automatic() || a.AutomaticMinimum() || a.AutomaticMaximum());
    a.SetMinMax(3, 3);
    EXPECT_DOUBLE_EQ(a.Maximum(), 3 + 1e-10);
    a.SetZPosition(0);
    EXPECT_DOUBLE_EQ(a.ZPosition(), 0.01);

    TChartAxis& b = f.chart.BottomAxis();
    b.AdjustMaxMin();  // no series: 0..0
    EXPECT_TRUE(b.ScaleRangeIsZero);
    TChartSeries* s = new TChartSeries();
    f.chart.AddSeries(s);
    for (double x : {1.0, 4.0, 9.0}) s->AddXY(x, 5);
    f.chart.LeftAxis().SetAutomatic(true);
    f.chart.LeftAxis().AdjustMaxMin();
    EXPECT_EQ(f.chart.LeftAxis().Minimum(), 5);
    EXPECT_EQ(f.chart.LeftAxis().Maximum(), 5);
    b.AdjustMaxMin();
    EXPECT_EQ(b.Minimum(), 1);
    EXPECT_EQ(b.Maximum(), 9);
    b.SetMinMax(1, 9);
    b.Scroll(5, true);  // the series ends at the maximum: no move
    EXPECT_EQ(b.Maximum(), 9);
    b.Scroll(5, false);
    EXPECT_EQ(b.Maximum(), 14);
}

TEST(ChartAxisScale, AnAutomaticRangeBelowWhatTheLabelsShowIsConstant)
{
    struct Case {
        double lo, hi;
        const char* format;
        bool constant;
    } cases[] = {
        {20 - 1e-12, 20 + 1e-12, "#,##0.###", true},  // rounding noise
        {20.0002, 20.0004, "#,##0.###", true},       // every label would read 20
        {-20.0004, -20.0002, "#,##0.###", true},
        {20, 21, "#,##0.###", false},
        {0.0001, 0.0005, "#,##0.###", false},  // small values: the spread is their size
        {20 - 1e-5, 20 + 1e-5, "0.000000", false},  // labels show millionths
        {20 - 1e-5, 20 + 1e-5, "", false},          // general format: 15 digits
        {20 - 1e-14, 20 + 1e-14, "", true},
        {5, 5, "#,##0.###", true},
    };
    for (const Case& c : cases) {
        Fixture f;
        TChartSeries* s = new TChartSeries();
        f.chart.AddSeries(s);
        for (int i = 0; i < 10; ++i) s->AddXY(i % 2 ? c.lo : c.hi, i);
        TChartAxis& b = f.chart.BottomAxis();
        b.SetValuesFormat(c.format);
        b.AdjustMaxMin();
        EXPECT_EQ(b.ScaleRangeIsZero, c.constant) << c.lo << " " << c.hi << " " << c.format;
        if (c.constant) {
            EXPECT_NEAR(b.Minimum(), (c.lo + c.hi) / 2, 1e-9);
            EXPECT_EQ(b.ValueToPixel(c.lo), b.ValueToPixel(c.hi));  // one vertical line
        } else {
            EXPECT_EQ(b.Minimum(), c.lo);
            EXPECT_EQ(b.Maximum(), c.hi);
        }
        // A range set by hand is kept as it is.
        b.SetMinMax(c.lo, c.hi);
        b.AdjustMaxMin();
        EXPECT_FALSE(b.ScaleRangeIsZero && c.hi - c.lo > 1e-10) << c.lo;
    }
}

TEST(ChartAxisScale, ErrorsCarryTheirMessages)
{
    Fixture f;
    TChartAxis& a = f.chart.LeftAxis();
    a.SetMinMax(0, 10);
    auto message = [](auto&& fn) {
        try {
            fn();
        } catch (const base::Exception& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { a.SetMinimum(11); }), "Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(message([&] { a.SetMaximum(-1); }), "Axis Maximum Value must be >= Minimum");
    EXPECT_EQ(message([&] { a.SetDesiredIncrement(-1); }), "Axis increment must be >= 0");
    EXPECT_EQ(message([&] { a.SetLogarithmicBase(1); }), "Axis Logarithmic Base should be <> 1 and > 0");
    EXPECT_EQ(message([&] { a.SetLogarithmicBase(-2); }), "Axis Logarithmic Base should be <> 1 and > 0");
    EXPECT_EQ(message([&] { a.SetLabelsSeparation(-1); }), "Labels Separation % must be greater than 0");
    EXPECT_EQ(message([&] { f.chart.SetMaxPointsPerPage(-1); }), "MaxPointsPerPage must be >= 0");
    EXPECT_EQ(message([&] { f.chart.SetChart3DPercent(0); }), "3D effect percent must be between 1 and 100");
    EXPECT_EQ(a.Minimum(), 0);
    EXPECT_EQ(a.Maximum(), 10);
    EXPECT_EQ(a.LogarithmicBase(), 10);
    TChartSeries* s = new TChartSeries();
    f.chart.AddSeries(s);
    s->AddXY(0, -5);
    s->AddXY(1, 5);
    a.SetAutomatic(true);
    EXPECT_EQ(message([&] { a.SetLogarithmic(true); }), "Logarithmic Axis Min and Max values should be >= 0");
    EXPECT_FALSE(a.Logarithmic());
    s->YValues().SetDateTime(true);
    EXPECT_EQ(message([&] { a.SetLogarithmic(true); }), "DateTime Axis cannot be Logarithmic");
    const std::string keep = ChartMsg_AxisLogBase;
    ChartMsg_AxisLogBase = "replaced";
    EXPECT_EQ(message([&] { a.SetLogarithmicBase(0); }), "replaced");
    ChartMsg_AxisLogBase = keep;
    f.chart.Loading = true;
    a.SetMinMax(0, 10);
    a.SetMinimum(20);  // accepted while reading
    EXPECT_EQ(a.Minimum(), 20);
}

TEST(ChartAxisScale, CustomAxisBelowTheBottomEdge)
{
    Fixture f;
    TChartAxis* c = f.chart.CustomAxes().Add();
    c->SetHorizontal(true);
    c->SetPosUnits(muPixels);
    c->SetPositionPercent(-70);
    EXPECT_TRUE(c->IsCustom());
    TRect r{10, 10, 390, 200};
    c->CalcRect(r, false);
    EXPECT_EQ(c->AxisLinePos, 270);
    EXPECT_EQ(r, (TRect{10, 10, 390, 200}));  // custom axes take no room
    TChartSeries* s = new TChartSeries();
    f.chart.AddSeries(s);
    s->SetCustomHorizAxis(c);
    EXPECT_EQ(s->ActiveHorizAxis(), c);
    f.chart.CustomAxes().Clear();
    EXPECT_EQ(s->HorizAxis(), aBottomAxis);
    EXPECT_EQ(s->ActiveHorizAxis(), &f.chart.BottomAxis());
}

TEST(ChartAxisDrawing, AxesLabelsTicksGridAndTitlesOnPixels)
{
    Fixture f;
    TChartSeries* s = new TChartSeries();
    f.chart.AddSeries(s);
    for (int i = 0; i <= 10; ++i) s->AddXY(i, i * 10);
    f.chart.LeftAxis().Title().SetCaption("Displacement");
    f.chart.BottomAxis().Title().SetCaption("Draught");
    f.chart.BottomAxis().Grid().SetColor(clRed);
    f.chart.BottomAxis().Grid().SetStyle(psSolid);
    f.chart.LeftAxis().Axis().SetColor(clBlue);
    f.Paint("axes");
    TChartAxis& b = f.chart.BottomAxis();
    TChartAxis& l = f.chart.LeftAxis();
    // The left axis line: 2 pixels of blue at the chart rectangle's left edge.
    const int midY = (f.chart.ChartRect.Top + f.chart.ChartRect.Bottom) / 2 + 5;
    EXPECT_EQ(f.Px(l.AxisLinePos, midY), RGB(0, 0, 255));
    ASSERT_GE(b.TickPixels.size(), 3u);
    // Bottom ticks hang below the axis line; grid lines are red inside the plot.
    const int tick = b.TickPixels[1];
    EXPECT_EQ(f.Px(tick, b.AxisLinePos + 3), RGB(128, 128, 128));
    EXPECT_EQ(f.Px(tick, midY), RGB(255, 0, 0));
    // The labels sit below the ticks, the title below them; the left title reads upwards.
    int labelInk = 0, titleInk = 0, leftTitleInk = 0;
    for (int y = b.LabelsLinePos; y < b.TitleLinePos; ++y)
        for (int x = 0; x < 400; ++x) labelInk += f.Px(x, y) != RGB(255, 255, 255);
    for (int y = b.TitleLinePos; y < 300; ++y)
        for (int x = 150; x < 250; ++x) titleInk += f.Px(x, y) != RGB(255, 255, 255);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < l.TitleLinePos; ++x) leftTitleInk += f.Px(x, y) != RGB(255, 255, 255);
    EXPECT_GT(labelInk, 50);
    EXPECT_GT(titleInk, 20);
    EXPECT_GT(leftTitleInk, 30);
    // The rotated title is taller than wide.
    int minY = 300, maxY = 0, minX = 400, maxX = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < l.TitleLinePos; ++x)
            if (f.Px(x, y) != RGB(255, 255, 255)) {
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    EXPECT_GT(maxY - minY, 3 * (maxX - minX));
}

TEST(ChartAxisDrawing, GridCentredAndEdges)
{
    Fixture f;
    TChartAxis& b = f.chart.BottomAxis();
    b.SetMinMax(0, 4);
    b.SetDesiredIncrement(1);
    b.SetLabelStyle(talValue);
    b.SetGridCentered(true);
    b.Grid().SetStyle(psSolid);
    b.Grid().SetColor(clRed);
    f.Paint();
    ASSERT_EQ(b.TickPixels.size(), 5u);
    const int midY = (f.chart.ChartRect.Top + f.chart.ChartRect.Bottom) / 2 + 5;
    int lines = 0;
    for (int x = 0; x < 400; ++x) lines += f.Px(x, midY) == RGB(255, 0, 0);
    EXPECT_EQ(lines, 4);
    EXPECT_EQ(f.Px(b.TickPixels[1], midY), RGB(255, 255, 255));  // between, not on the ticks
}

TEST(ChartAxisDrawing, ClickNearTheAxisLine)
{
    Fixture f;
    f.chart.SetView3D(false);
    TChartSeries* s = new TChartSeries();
    f.chart.AddSeries(s);
    s->AddXY(0, 0);
    s->AddXY(10, 10);
    f.Paint();
    TChartAxis& b = f.chart.BottomAxis();
    const int x = (b.StartPixel + b.EndPixel) / 2;
    EXPECT_TRUE(b.Clicked(x, b.AxisLinePos - 3));
    EXPECT_FALSE(b.Clicked(x, b.AxisLinePos - 4));
    EXPECT_TRUE(b.Clicked(x, b.LabelsLinePos));
}

TEST(ChartAxisSettings, SettersCopyIntoTheAxisOwnObjects)
{
    Fixture f;
    TChartAxis& a = f.chart.LeftAxis();
    TChartPen pen;
    pen.SetColor(clRed);
    pen.SetWidth(3);
    struct Case {
        const char* what;
        void (TChartAxis::*set)(const TChartPen&);
        TChartPen& (*get)(TChartAxis&);
    };
    const Case cases[] = {
        {"Axis", &TChartAxis::SetAxis, [](TChartAxis& x) -> TChartPen& { return x.Axis(); }},
        {"Ticks", &TChartAxis::SetTicks, [](TChartAxis& x) -> TChartPen& { return x.Ticks(); }},
        {"TicksInner", &TChartAxis::SetTicksInner, [](TChartAxis& x) -> TChartPen& { return x.TicksInner(); }},
        {"MinorTicks", &TChartAxis::SetMinorTicks, [](TChartAxis& x) -> TChartPen& { return x.MinorTicks(); }},
        {"Grid", &TChartAxis::SetGrid, [](TChartAxis& x) -> TChartPen& { return x.Grid(); }},
        {"MinorGrid", &TChartAxis::SetMinorGrid, [](TChartAxis& x) -> TChartPen& { return x.MinorGrid(); }},
    };
    for (const Case& c : cases) {
        TChartPen* own = &c.get(a);
        (a.*c.set)(pen);
        EXPECT_EQ(&c.get(a), own) << c.what;
        EXPECT_EQ(own->Color(), clRed) << c.what;
        EXPECT_EQ(own->Width(), 3) << c.what;
    }
    TChartAxisTitle title(&f.chart);
    title.SetCaption("Heel");
    title.SetAngle(45);
    TChartAxisTitle* own = &a.Title();
    a.SetAxisTitle(title);
    EXPECT_EQ(&a.Title(), own);
    EXPECT_EQ(a.Title().Caption(), "Heel");
    EXPECT_EQ(a.Title().Angle(), 45);

    a.SetGridCentered(true);
    EXPECT_TRUE(a.GetGridCentered());
    EXPECT_TRUE(a.Grid().Centered());
}

TEST(ChartAxisSettings, TheAxisListReadsAndWritesTheChartSettings)
{
    Fixture f;
    TChartAxes& l = f.chart.AxisList();
    EXPECT_EQ(l.GetBottomAxis(), &f.chart.BottomAxis());
    EXPECT_EQ(l.GetLeftAxis(), &f.chart.LeftAxis());
    EXPECT_EQ(l.GetDepthTopAxis(), &f.chart.DepthTopAxis());
    EXPECT_TRUE(l.GetBehind());
    l.SetBehind(false);
    EXPECT_FALSE(f.chart.AxisBehind());
    EXPECT_TRUE(l.GetVisible());
    l.Hide();
    EXPECT_FALSE(f.chart.AxisVisible());
    l.SetVisible(true);
    EXPECT_TRUE(f.chart.AxisVisible());
}

// Line and horizontal line series drawn through the chart's pipeline.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "TestChart.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartPen.h"

using namespace chart;
using namespace platform;
using charttest::TestChart;

using LineChart = charttest::ChartOnBitmap;

TEST(ChartLineSeries, DrawsSegmentsSymbolsAndBreaksAtNulls)
{
    LineChart f;
    auto* s = new TLineSeries();
    f.chart.AddSeries(s);
    s->SetSeriesColor(clBlue);
    s->Pointer().SetVisible(true);
    s->Pointer().SetSize(3);
    for (int i = 0; i <= 10; ++i) {
        if (i == 5) s->AddNullXY(i, 50);
        else s->AddXY(i, i * 10);
    }
    f.Paint("lines");
    // Midway between points 1 and 2 the blue line passes.
    const int x = (s->CalcXPos(1) + s->CalcXPos(2)) / 2, y = (s->CalcYPos(1) + s->CalcYPos(2)) / 2;
    bool blue = false;
    for (int dy = -1; dy <= 1; ++dy) blue |= f.Px(x, y + dy) == RGB(0, 0, 255);
    EXPECT_TRUE(blue);
    // No line across the null point, and no symbol on it.
    const int xn = (s->CalcXPos(4) + s->CalcXPos(6)) / 2, yn = (s->CalcYPos(4) + s->CalcYPos(6)) / 2;
    for (int dy = -2; dy <= 2; ++dy) EXPECT_NE(f.Px(xn, yn + dy), RGB(0, 0, 255));
    // A symbol at point 3: a filled square in the series colour with a black frame.
    EXPECT_EQ(f.Px(s->CalcXPos(3) + 1, s->CalcYPos(3) + 1), RGB(0, 0, 255));
    EXPECT_EQ(f.Px(s->CalcXPos(3) - 3, s->CalcYPos(3)), RGB(0, 0, 0));
    // Clicks: on a point, on a segment (its first point), nowhere.
    EXPECT_EQ(s->Clicked(s->CalcXPos(7), s->CalcYPos(7)), 7);
    EXPECT_EQ(s->Clicked(x, y), 1);
    EXPECT_EQ(s->Clicked(x, y - 40), -1);
}

TEST(ChartLineSeries, HorizontalSeriesKeepsTheOrderOfAdding)
{
    LineChart f;
    auto* s = new THorizLineSeries();
    f.chart.AddSeries(s);
    s->SetSeriesColor(clRed);
    const double pts[][2] = {{5, 1}, {1, 2}, {4, 3}, {2, 4}};
    for (auto& p : pts) s->AddXY(p[0], p[1]);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s->XValues()[i], pts[i][0]);
    EXPECT_FALSE(s->Pointer().Visible());
    f.Paint("horizlines");
    EXPECT_EQ(s->FirstShownIndex, 0);
    EXPECT_EQ(s->LastShownIndex, 3);
    // The draught axis runs upwards: the first point lies lowest.
    EXPECT_GT(s->CalcYPos(0), s->CalcYPos(3));
    const int x = (s->CalcXPos(0) + s->CalcXPos(1)) / 2, y = (s->CalcYPos(0) + s->CalcYPos(1)) / 2;
    bool red = false;
    for (int d = -1; d <= 1; ++d) red |= f.Px(x + d, y) == RGB(255, 0, 0) || f.Px(x, y + d) == RGB(255, 0, 0);
    EXPECT_TRUE(red);
}

TEST(ChartLineSeries, PointerSizeAndMargins)
{
    TLineSeries s;
    EXPECT_THROW(s.Pointer().SetHorizSize(0), base::Exception);
    s.Pointer().SetVisible(true);
    s.Pointer().SetSize(2);
    int l = 0, r = 0;
    s.CalcHorizMargins(l, r);
    EXPECT_EQ(l, 3);
    EXPECT_EQ(r, 3);
}

// Pie and fast line series on pixels, and their click tests.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ChartOnHost.h"
#include "TestChart.h"
#include "platform/graphics/Graphics.h"
#include "widgets/chart/ChartFastLine.h"
#include "widgets/chart/ChartLegend.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartPieSeries.h"

using namespace chart;
using namespace platform;
using SeriesChart = charttest::ChartOnBitmap;

namespace {
struct PieChart : SeriesChart {
    PieChart()
    {
        chart.SetAxisVisible(false);
        pie = new TPieSeries();
        chart.AddSeries(pie);
        pie->Marks().SetVisible(false);
    }
    TPieSeries* pie;
};
constexpr double kPi = std::numbers::pi;
}  // namespace

TEST(ChartPieSeries, SliceAnglesAndColours)
{
    PieChart f;
    f.pie->Add(50, "a", clRed);
    f.pie->Add(30, "b", clBlue);
    f.pie->Add(20, "c", clGreen);
    f.Paint("pie");
    ASSERT_EQ(f.pie->SliceAngles.size(), 3u);
    EXPECT_NEAR(f.pie->SliceAngles[0].EndAngle, kPi, 1e-9);
    EXPECT_NEAR(f.pie->SliceAngles[1].EndAngle - f.pie->SliceAngles[1].StartAngle, 108 * kPi / 180, 1e-9);
    const int cx = f.pie->CenterX, cy = f.pie->CenterY, r = f.pie->VertRadius;
    // Slice 0 spans the upper half (counter-clockwise from the right), slice 1 starts on the left.
    EXPECT_EQ(f.Px(cx, cy - r / 2), RGB(255, 0, 0));
    int x, y;
    f.pie->AngleToPos(f.pie->SliceAngles[1].MidAngle, r / 2, r / 2, x, y);
    EXPECT_EQ(f.Px(x, y), RGB(0, 0, 255));
    EXPECT_EQ(f.pie->Clicked(x, y), 1);
    f.pie->AngleToPos(f.pie->SliceAngles[2].MidAngle, r / 2, r / 2, x, y);
    EXPECT_EQ(f.Px(x, y), RGB(0, 128, 0));
    EXPECT_EQ(f.pie->Clicked(x, y), 2);
    // The corner of the bounding box, outside the ellipse, is neither drawn nor hit.
    const TRect& b = f.pie->CircleBounds;
    EXPECT_EQ(f.Px(b.Right - 3, b.Bottom - 3), RGB(255, 255, 255));
    EXPECT_EQ(f.pie->Clicked(b.Right - 3, b.Bottom - 3), -1);
    // A quarter turn moves every slice.
    f.pie->SetRotationAngle(90);
    f.Paint("pie_rotated");
    EXPECT_EQ(f.Px(cx - r / 2, cy), RGB(255, 0, 0));
}

TEST(ChartPieSeries, OtherSliceGroupsSmallValues)
{
    PieChart f;
    for (double v : {80.0, 15.0, 3.0, 2.0}) f.pie->Add(v);
    f.pie->OtherSlice().Style = poBelowPercent;
    f.pie->OtherSlice().Value = 10;
    f.Paint("pie_other");
    ASSERT_EQ(f.pie->Count(), 5);
    EXPECT_EQ(f.pie->GetXLabel(4), "Other");
    EXPECT_EQ(f.pie->YValues()[4], 5);
    EXPECT_TRUE(f.pie->BelongsToOtherSlice(2));
    EXPECT_EQ(f.pie->CountLegendItems(), 3);
    EXPECT_NEAR(f.pie->SliceAngles[4].EndAngle - f.pie->SliceAngles[4].StartAngle, 0.05 * 2 * kPi, 1e-9);
    EXPECT_EQ(f.pie->SliceAngles[2].EndAngle, f.pie->SliceAngles[2].StartAngle);
    // Drawing again does not pile up other slices.
    f.Paint();
    EXPECT_EQ(f.pie->Count(), 5);
}

TEST(ChartPieSeries, ExplodedSliceStaysInsideAndIsHitWhereDrawn)
{
    PieChart f;
    for (double v : {1.0, 5.0, 2.0}) f.pie->Add(v);
    f.pie->SetExplodeBiggest(30);
    f.Paint("pie_exploded");
    EXPECT_EQ(f.pie->SliceExplode.Get(1), 30);
    int dx, dy;
    f.pie->CalcExplodedOffset(1, dx, dy);
    EXPECT_NE(dx * dx + dy * dy, 0);
    int x, y;
    const double mid = f.pie->SliceAngles[1].MidAngle;
    f.pie->AngleToPos(mid, f.pie->HorizRadius * 1.1, f.pie->VertRadius * 1.1, x, y);
    EXPECT_EQ(f.pie->Clicked(x, y), 1);
    EXPECT_EQ(f.Px(x, y), COLORREF(f.pie->GetValueColor(1)));
}

TEST(ChartPieSeries, AllZeroSmallCircleAndStreamWithoutOtherSlice)
{
    PieChart f;
    for (int i = 0; i < 3; ++i) f.pie->Add(0);
    f.Paint();
    EXPECT_NEAR(f.pie->SliceAngles[0].EndAngle, 2 * kPi, 1e-9);
    EXPECT_EQ(f.pie->SliceAngles[1].EndAngle, f.pie->SliceAngles[1].StartAngle);
    f.pie->OtherSlice().Style = poBelowValue;
    f.pie->Clear();
    f.pie->Add(10, "x");
    f.pie->Add(1, "y");
    f.pie->OtherSlice().Value = 5;
    f.Paint();
    EXPECT_EQ(f.pie->Count(), 3);
    std::vector<unsigned char> data;
    f.pie->WriteData(data);
    TPieSeries copy;
    copy.ReadData(data);
    EXPECT_EQ(copy.Count(), 2);
    // Tiny circle: nothing drawn.
    f.pie->SetCustomXRadius(2);
    f.pie->SetCustomYRadius(2);
    f.Paint();
    EXPECT_EQ(f.Px(f.pie->CenterX, f.pie->CenterY - 1), RGB(255, 255, 255));
}

TEST(ChartPieSeries, RemovingThePieRestoresTheViewSettings)
{
    SeriesChart f;
    f.chart.View3DOptions().SetElevation(345);
    auto* p = new TPieSeries();
    f.chart.AddSeries(p);
    EXPECT_EQ(f.chart.View3DOptions().Elevation(), 315);
    f.chart.RemoveSeries(p);
    EXPECT_EQ(f.chart.View3DOptions().Elevation(), 345);
    delete p;
}

TEST(ChartFastLine, SkipsColumnsBreaksAtNullsAndHitsSegments)
{
    SeriesChart f;
    auto* s = new TFastLineSeries();
    f.chart.AddSeries(s);
    s->SetSeriesColor(clRed);
    EXPECT_EQ(s->LinePen().Color(), clRed);
    for (int i = 0; i <= 10; ++i) {
        if (i == 5) s->AddNullXY(i, 5);
        else s->AddXY(i, i % 2 ? 10 : 0);
    }
    s->SetIgnoreNulls(false);
    f.Paint("fastline");
    // A segment 1-2 is drawn and hit at its middle.
    const int x = (s->CalcXPos(1) + s->CalcXPos(2)) / 2, y = (s->CalcYPos(1) + s->CalcYPos(2)) / 2;
    bool red = false;
    for (int d = -1; d <= 1; ++d) red |= f.Px(x, y + d) == RGB(255, 0, 0);
    EXPECT_TRUE(red);
    EXPECT_EQ(s->Clicked(s->CalcXPos(1), s->CalcYPos(1)), 1);
    // The segment into the null point is a move: nothing red between points 4 and 5.
    const int xn = (s->CalcXPos(4) + s->CalcXPos(5)) / 2, yn = (s->CalcYPos(4) + s->CalcYPos(5)) / 2;
    for (int d = -1; d <= 1; ++d) EXPECT_NE(f.Px(xn, yn + d), RGB(255, 0, 0));
    // Margins by pen width.
    int a, b;
    for (auto [w, m] : {std::pair{1, 1}, {2, 2}, {3, 3}, {4, 3}, {10, 6}}) {
        s->LinePen().SetWidth(w);
        s->CalcHorizMargins(a, b);
        EXPECT_EQ(a, m) << w;
    }
}

TEST(ChartFastLine, NewPointWithoutRepaintDrawsOneSegment)
{
    SeriesChart f;
    auto* s = new TFastLineSeries();
    f.chart.AddSeries(s);
    s->SetSeriesColor(clBlue);
    s->AddXY(0, 0);
    s->AddXY(10, 10);
    f.Paint();
    s->AutoRepaint = false;
    s->XValues().Order = loNone;
    f.chart.ChartCanvas()->InitWindow(f.bmp.Canvas(), nullptr, clWhite, false, {0, 0, 400, 300});
    s->AddXY(5, 0);  // drawn from (10, 10) straight away
    const int x = (s->CalcXPosValue(10) + s->CalcXPosValue(5)) / 2, y = (s->CalcYPosValue(10) + s->CalcYPosValue(0)) / 2;
    bool blue = false;
    for (int d = -1; d <= 1; ++d) blue |= f.Px(x, y + d) == RGB(0, 0, 255);
    EXPECT_TRUE(blue);
}

TEST(ChartPieSeries, MarksSitAroundTheCircle)
{
    PieChart f;
    f.pie->Marks().SetVisible(true);
    for (double v : {40.0, 30.0, 20.0, 10.0}) f.pie->Add(v, "slice");
    f.Paint("pie_marks");
    // The circle leaves room for the marks.
    EXPECT_GT(f.pie->CircleBounds.Left, f.chart.ChartRect.Left);
    EXPECT_GT(f.pie->CircleBounds.Top, f.chart.ChartRect.Top);
}

TEST(ChartPieSeries, A3DPieDrawsItsSlicesBackToFront)
{
    PieChart f;
    f.chart.SetView3D(true);
    for (double v : {4.0, 1.0, 3.0, 2.0, 5.0}) f.pie->Add(v);
    f.pie->SetExplodeBiggest(20);
    f.Paint("pie_3d_sorted");
    ASSERT_EQ(f.pie->SortedSlices.size(), 5u);
    for (std::size_t k = 0; k + 1 < f.pie->SortedSlices.size(); ++k)
        EXPECT_LE(f.pie->CompareSlice(f.pie->SortedSlices[k], f.pie->SortedSlices[k + 1]), 0) << k;
    EXPECT_EQ(f.pie->CompareSlice(2, 2), 0);
    EXPECT_NE(f.pie->SavedView3D, nullptr);
    // A click inside a slice finds it either way.
    int x, y;
    f.pie->AngleToPos(f.pie->SliceAngles[4].MidAngle, f.pie->HorizRadius / 2, f.pie->VertRadius / 2, x, y);
    EXPECT_EQ(f.pie->CalcClickedPie(x, y), f.pie->Clicked(x, y));
}

TEST(ChartPieSeries, ShadowValuesAndDegrees)
{
    TPieSeries p;
    EXPECT_EQ(p.Shadow().Color(), TColor(0xA0A0A0));
    TPieShadow s;
    EXPECT_EQ(s.Color(), TColor(0xA0A0A0));
    EXPECT_NEAR(PiDegree * 180, kPi, 1e-15);
    // Setting the value list takes its settings, not its values.
    TPieSeries q;
    q.Add(3);
    q.GetPieValues().Order = loAscending;
    p.Add(1);
    p.SetPieValues(q.GetPieValues());
    EXPECT_EQ(&p.GetPieValues(), &p.YValues());
    EXPECT_EQ(p.GetPieValues().Order, loAscending);
    EXPECT_EQ(p.GetPieValues().Count(), 1);
}

TEST(ChartPieSeries, GalleryChanged3DSetsTheViewAndAPieKeepsItsGalleryAngle)
{
    struct Case {
        const char* name;
        bool pie, flag;
    };
    for (const Case k : {Case{"pie in 2D", true, false}, Case{"pie in 3D", true, true},
                         Case{"line in 2D", false, false}, Case{"line in 3D", false, true}}) {
        SCOPED_TRACE(k.name);
        SeriesChart f;
        f.chart.SetAxisVisible(false);
        f.chart.SetView3D(!k.flag);
        TChartSeries* s = k.pie ? static_cast<TChartSeries*>(new TPieSeries()) : new TLineSeries();
        f.chart.AddSeries(s);
        s->Marks().SetVisible(false);
        for (double v : {40.0, 35.0, 25.0}) s->Add(v);
        TView3DOptions& o = f.chart.View3DOptions();
        const bool orthogonal = o.Orthogonal();
        const int rotation = o.Rotation(), elevation = o.Elevation();
        s->GalleryChanged3D(k.flag);
        EXPECT_EQ(f.chart.View3D(), k.flag);
        if (k.pie) {
            auto* pie = static_cast<TPieSeries*>(s);
            EXPECT_FALSE(o.Orthogonal());
            EXPECT_EQ(o.Rotation(), 0);
            EXPECT_EQ(o.Elevation(), 305);
            EXPECT_EQ(pie->Circled(), !k.flag);
            // In the wide chart a circled pie is drawn round, an uncircled one fills the width.
            f.Paint(k.flag ? "gallery_pie_3d" : "gallery_pie_2d");
            if (k.flag) EXPECT_GT(pie->EllipseWidth, pie->EllipseHeight + 50);
            else EXPECT_EQ(pie->EllipseWidth, pie->EllipseHeight);
        } else {
            EXPECT_EQ(o.Orthogonal(), orthogonal);
            EXPECT_EQ(o.Rotation(), rotation);
            EXPECT_EQ(o.Elevation(), elevation);
        }
    }
}

namespace {
// A pie on a full chart whose three small values out of six are grouped into "Other".
struct OtherSliceChart {
    OtherSliceChart()
    {
        c.SetAxisVisible(false);
        c.Legend().SetTextStyle(ltsPlain);
        pie = new TPieSeries(&c);
        c.AddSeries(pie);
        pie->Marks().SetVisible(false);
        const std::pair<double, const char*> points[] = {{60, "Hull"}, {25, "Deck"}, {4, "Mast"},
                                                         {3, "Keel"},  {2, "Rudder"}, {6, "Cabin"}};
        for (auto [v, label] : points) pie->Add(v, label);
        pie->OtherSlice().Style = poBelowPercent;
        pie->OtherSlice().Value = 5;
        c.OnGetLegendText = [this](TCustomAxisPanel*, int, int, std::string& text) { texts.push_back(text); };
    }
    std::vector<COLORREF> Pixels()
    {
        texts.clear();
        TBitmap bmp(400, 300);
        c.Draw(bmp.Canvas(), {0, 0, 400, 300});
        std::vector<COLORREF> px;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) px.push_back(COLORREF(bmp.Canvas()->Pixel(x, y)));
        return px;
    }
    charttest::ChartOnHost on;
    TChart& c = *on.chart;
    TPieSeries* pie;
    std::vector<std::string> texts;
};
}  // namespace

TEST(ChartPieSeries, TheOtherSliceHasItsOwnLegendOfTheGroupedPoints)
{
    OtherSliceChart f;
    const std::vector<COLORREF> plain = f.Pixels();
    const std::vector<std::string> mainTexts = {"Hull", "Deck", "Cabin", "Other"};
    EXPECT_EQ(f.texts, mainTexts);
    const TRect chartRect = f.c.ChartRect;

    // Made on first use: hidden, listing the pie; drawing stays as it was.
    TChartLegend& own = f.pie->OtherSlice().Legend();
    EXPECT_FALSE(own.Visible());
    EXPECT_EQ(own.Series, f.pie);
    EXPECT_EQ(f.Pixels(), plain);

    TChartLegend shape(&f.c);
    shape.SetAlignment(laLeft);
    shape.SetTextStyle(ltsPlain);
    shape.SetColor(clYellow);
    shape.Symbol().Width = 12;
    f.pie->OtherSlice().SetLegend(&shape);
    EXPECT_EQ(&f.pie->OtherSlice().Legend(), &own);
    EXPECT_TRUE(own.Visible());
    EXPECT_EQ(own.Alignment(), laLeft);
    EXPECT_EQ(own.Series, f.pie);
    const std::vector<COLORREF> both = f.Pixels();
    // The main legend's items, then the grouped points in their own legend at the left.
    std::vector<std::string> want = mainTexts;
    for (const char* t : {"Mast", "Keel", "Rudder"}) want.push_back(t);
    EXPECT_EQ(f.texts, want);
    EXPECT_EQ(own.ItemCount, 3);
    EXPECT_EQ(f.c.Legend().ItemCount, 4);
    const TRect r = own.GetRectLegend();
    EXPECT_LT(r.Left, 40);
    EXPECT_EQ(both[std::size_t((r.Top + 3) * 400 + r.Right - 3)], COLORREF(RGB(255, 255, 0)));
    EXPECT_NE(both, plain);
    // The pie and the chart's rectangle are where they were.
    EXPECT_EQ(f.c.ChartRect.Left, chartRect.Left);
    EXPECT_EQ(f.c.ChartRect.Right, chartRect.Right);

    // A copy of the pie copies the legend; none frees it and the chart draws as before.
    TPieSeries copy;
    copy.Assign(*f.pie);
    ASSERT_TRUE(copy.OtherSlice().HasLegend());
    EXPECT_EQ(copy.OtherSlice().Legend().Alignment(), laLeft);
    EXPECT_EQ(copy.OtherSlice().Legend().Series, &copy);
    f.pie->OtherSlice().SetLegend(nullptr);
    EXPECT_FALSE(f.pie->OtherSlice().HasLegend());
    EXPECT_EQ(f.Pixels(), plain);
}

TEST(ChartPieSeries, TheOtherSliceLegendFollowsItsSeriesToAnotherChart)
{
    OtherSliceChart f;
    TChartLegend& own = f.pie->OtherSlice().Legend();
    EXPECT_EQ(own.Parent(), &f.c);
    charttest::ChartOnHost other;
    f.c.RemoveSeries(f.pie);
    other.chart->AddSeries(f.pie);
    EXPECT_EQ(own.Parent(), other.chart);
    own.SetVisible(true);
    TBitmap bmp(400, 300);
    other.chart->Draw(bmp.Canvas(), {0, 0, 400, 300});
    EXPECT_EQ(own.ItemCount, 3);
    // Out of the chart, nothing of the pie points to it: the chart may go first.
    other.chart->RemoveSeries(f.pie);
    EXPECT_EQ(own.Parent(), nullptr);
    EXPECT_EQ(f.pie->Marks().Parent(), nullptr);
}

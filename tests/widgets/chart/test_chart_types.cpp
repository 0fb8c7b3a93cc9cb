// Point, area and bar series drawn through the chart's pipeline, and their click tests.
#include <gtest/gtest.h>

#include <cmath>

#include "TestChart.h"
#include "platform/graphics/Graphics.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartBarSeries.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartPointer.h"
#include "widgets/chart/ChartPointSeries.h"

using namespace chart;
using namespace platform;
using SeriesChart = charttest::ChartOnBitmap;

TEST(ChartPointSeries, SymbolsOnlyAndClicksOnSymbols)
{
    SeriesChart f;
    auto* s = new TPointSeries();
    f.chart.AddSeries(s);
    s->SetSeriesColor(clRed);
    for (int i = 0; i < 5; ++i) s->AddXY(i, i % 2 ? 10 : 0);
    f.Paint("points");
    EXPECT_TRUE(s->Pointer().Visible());
    EXPECT_FALSE(s->ClickableLine);
    const int x1 = s->CalcXPos(1), y1 = s->CalcYPos(1);
    EXPECT_EQ(f.Px(x1 + 1, y1 + 1), RGB(255, 0, 0));
    // Halfway between two symbols nothing is drawn and nothing is hit.
    const int xm = (s->CalcXPos(1) + s->CalcXPos(2)) / 2, ym = (s->CalcYPos(1) + s->CalcYPos(2)) / 2;
    EXPECT_NE(f.Px(xm + 3, ym + 3), RGB(255, 0, 0));
    EXPECT_EQ(s->Clicked(xm, ym), -1);
    EXPECT_EQ(s->Clicked(x1, y1), 1);
    s->SetTransparency(30);
    EXPECT_EQ(s->Pointer().Transparency(), 30);
}

TEST(ChartPointSeries, Change3DStoresWithoutRepaintingWhereSetDraw3DRepaints)
{
    struct Counting : charttest::TestChart {
        int repaints = 0;
        void Invalidate() override
        {
            ++repaints;
            TestChart::Invalidate();
        }
    };
    EnsurePlatform();
    Counting c;
    auto* s = new TPointSeries();
    c.AddSeries(s);
    TSeriesPointer& p = s->Pointer();
    EXPECT_TRUE(p.AllowChangeSize);
    EXPECT_TRUE(p.Draw3D());
    c.repaints = 0;
    p.Change3D(false);
    EXPECT_FALSE(p.Draw3D());
    EXPECT_EQ(c.repaints, 0);
    p.SetDraw3D(true);
    EXPECT_TRUE(p.Draw3D());
    EXPECT_GT(c.repaints, 0);
    // A callout starts flat.
    TCallout callout(s);
    EXPECT_FALSE(callout.Draw3D());

    // The rest of the setters and getters.
    c.repaints = 0;
    p.SetInflate(false);
    EXPECT_FALSE(p.InflateMargins());
    EXPECT_GT(c.repaints, 0);
    int left = 0, right = 0;
    p.CalcHorizMargins(left, right);  // no longer widens the margins
    EXPECT_EQ(left, 0);
    p.SetInflate(true);
    p.CalcHorizMargins(left, right);
    EXPECT_EQ(left, p.HorizSize() + 1);
    p.SetHorizSize(3);
    p.SetVertSize(7);
    EXPECT_EQ(p.GetSize(), 7);
    p.SetColor(clTeal);
    EXPECT_EQ(p.GetColor(), clTeal);
    s->StartZ = 2;
    s->MiddleZ = 5;
    s->EndZ = 9;
    EXPECT_EQ(p.GetStartZ(), 2);
    EXPECT_EQ(p.GetMiddleZ(), 5);
    EXPECT_EQ(p.GetEndZ(), 9);
    TSeriesPointer alone(nullptr);
    EXPECT_EQ(alone.GetStartZ(), 0);
    EXPECT_EQ(alone.GetMiddleZ(), 0);
    EXPECT_EQ(alone.GetEndZ(), 0);
    TChartPen pen;
    pen.SetColor(clFuchsia);
    pen.SetWidth(3);
    callout.SetArrow(pen);  // copies the pen
    pen.SetColor(clBlack);
    EXPECT_EQ(callout.Arrow().Color(), clFuchsia);
    EXPECT_EQ(callout.Arrow().Width(), 3);
}

TEST(ChartAreaSeries, FillsToTheOriginValue)
{
    SeriesChart f;
    auto* s = new TAreaSeries();
    f.chart.AddSeries(s);
    s->SetSeriesColor(clGreen);
    s->AreaLinesPen().SetVisible(false);
    const double ys[] = {2, 8, 2, 8, 2};
    for (int i = 0; i < 5; ++i) s->AddXY(i, ys[i]);
    s->SetUseOrigin(true);
    s->SetOrigin(5);
    EXPECT_EQ(s->MinYValue(), 2);
    EXPECT_EQ(s->MaxYValue(), 8);
    f.Paint("area_origin");
    const int o = s->CalcYPosValue(5), x = s->CalcXPos(1), top = s->CalcYPos(1);
    // Between the peak and the origin: filled; below the origin at the peak: empty.
    EXPECT_EQ(f.Px(x, (o + top) / 2), RGB(0, 128, 0));
    EXPECT_EQ(f.Px(x, o + 10), RGB(255, 255, 255));
    // At a trough the band goes down from the origin to the value.
    const int bottom = s->CalcYPos(2);
    EXPECT_EQ(f.Px(s->CalcXPos(2), (o + bottom) / 2), RGB(0, 128, 0));
    EXPECT_EQ(f.Px(s->CalcXPos(2), o - 10), RGB(255, 255, 255));
    s->SetOrigin(10);
    EXPECT_EQ(s->MaxYValue(), 10);
}

TEST(ChartAreaSeries, TransparentStairsBlendOnlyTheirRectangle)
{
    // One step: for normal stairs the rising step from point 0, for inverted ones the falling
    // step from point 1; either way the quadrilateral's box reaches above the stairs rectangle.
    const struct {
        const char* what;
        bool inverted, view3D;
    } cases[] = {
        {"2D, normal", false, false},
        {"2D, inverted", true, false},
        {"3D, normal", false, true},
        {"3D, inverted", true, true},
    };
    for (const auto& c : cases) {
        SeriesChart f;
        f.chart.SetView3D(c.view3D);
        f.chart.LeftAxis().Grid().SetVisible(false);
        f.chart.BottomAxis().Grid().SetVisible(false);
        f.chart.LeftAxis().SetMinMax(0, 10);
        auto* s = new TAreaSeries();
        f.chart.AddSeries(s);
        s->Stairs = true;
        s->InvertedStairs = c.inverted;
        s->SetTransparency(50);
        const double ys[] = {3, 9, 3};
        for (int i = 0; i < 3; ++i) s->AddXY(i, ys[i]);
        // the same chart with a series that draws nothing gives the background
        s->SetSeriesColor(clNone);
        f.Paint();
        TBitmap background(400, 300);
        background.Canvas()->Draw(0, 0, &f.bmp);
        s->SetSeriesColor(clRed);
        f.Paint(c.what);
        const int from = c.inverted ? 1 : 0;
        const int x0 = s->CalcXPos(from), x1 = s->CalcXPos(from + 1);
        const int high = s->CalcYPos(1), low = s->CalcYPos(from + (c.inverted ? 1 : 0));
        const int origin = s->GetOriginPos(from + 1);
        TCanvas3D& cv = *f.chart.ChartCanvas();
        auto screen = [&](int x, int y) { return c.view3D ? cv.Calculate3DPosition(x, y, s->StartZ) : TPoint{x, y}; };
        // in the box, above the stairs: untouched
        const TPoint out = screen((x0 + x1) / 2, (high + low) / 2);
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                EXPECT_EQ(f.Px(out.X + dx, out.Y + dy), COLORREF(background.Canvas()->Pixel(out.X + dx, out.Y + dy)))
                    << c.what << " at " << dx << "," << dy;
        // in the stairs rectangle: half red, half background
        const TPoint in = screen((x0 + x1) / 2, (low + origin) / 2);
        const COLORREF bg = COLORREF(background.Canvas()->Pixel(in.X, in.Y)), got = f.Px(in.X, in.Y);
        EXPECT_NEAR(GetRValue(got), (255 + GetRValue(bg)) / 2, 3) << c.what;
        EXPECT_NEAR(GetGValue(got), GetGValue(bg) / 2, 3) << c.what;
        EXPECT_NEAR(GetBValue(got), GetBValue(bg) / 2, 3) << c.what;
    }
}

TEST(ChartAreaSeries, MultiAreaAndAssign)
{
    SeriesChart f;
    auto* a = new TAreaSeries();
    auto* b = new TAreaSeries();
    f.chart.AddSeries(a);
    f.chart.AddSeries(b);
    a->SetMultiArea(maStacked);
    EXPECT_EQ(b->MultiArea(), maStacked);
    EXPECT_EQ(b->Stacked(), cssStack);
    TLineSeries line;
    line.Pointer().SetVisible(true);
    TAreaSeries c;
    c.SetUseOrigin(true);
    c.Assign(line);
    EXPECT_FALSE(c.Pointer().Visible());
    EXPECT_TRUE(c.UseYOrigin());
    THorizAreaSeries h;
    EXPECT_FALSE(h.ValuesVertical());
    EXPECT_EQ(h.NumSampleValues(), 10);
}

namespace {
TBarSeries* AddBars(SeriesChart& f, TColor c, std::initializer_list<double> values)
{
    auto* s = new TBarSeries();
    f.chart.AddSeries(s);
    s->SetSeriesColor(c);
    s->Marks().SetVisible(false);
    for (double v : values) s->Add(v);
    return s;
}
}  // namespace

TEST(ChartBarSeries, SideBySideLayoutAndSize)
{
    SeriesChart f;
    auto* a = AddBars(f, clRed, {1, 2, 3, 4, 5});
    auto* b = AddBars(f, clBlue, {5, 4, 3, 2, 1});
    f.Paint("bars_side");
    EXPECT_EQ(a->MaxBarPoints, 6);
    EXPECT_EQ(a->SlotCount, 2);
    EXPECT_EQ(b->SlotIndex, 2);
    const int p = f.chart.BottomAxis().PixelSize, w = p / 6;
    int expected = int(std::nearbyint(0.7 * w)) / 2;
    if (expected % 2) ++expected;
    EXPECT_EQ(a->BarSize, expected);
    const int x = a->CalcXPosValue(2);
    EXPECT_EQ(a->CalcXPos(2), x - a->BarSize);
    EXPECT_EQ(b->CalcXPos(2), x);
    // Inside each bar its colour; clicks hit the bar under the mouse only.
    const int ya = (a->CalcYPos(2) + a->GetOriginPos(2)) / 2;
    EXPECT_EQ(f.Px(x - a->BarSize / 2, ya), RGB(255, 0, 0));
    EXPECT_EQ(f.Px(x + b->BarSize / 2, ya), RGB(0, 0, 255));
    EXPECT_EQ(a->Clicked(x - a->BarSize / 2, ya), 2);
    EXPECT_EQ(b->Clicked(x - a->BarSize / 2, ya), -1);
    EXPECT_EQ(a->Clicked(x - a->BarSize / 2, a->CalcYPos(2) - 5), -1);
}

TEST(ChartBarSeries, StackedAndSelfStacked)
{
    SeriesChart f;
    auto* a = AddBars(f, clRed, {1, 2});
    auto* b = AddBars(f, clBlue, {3, 4});
    a->SetMultiBar(mbStacked);
    EXPECT_EQ(b->MultiBar(), mbStacked);
    f.Paint("bars_stacked");
    EXPECT_EQ(b->PointOrigin(1, false), 2);
    EXPECT_EQ(b->GetOriginPos(1), a->CalcYPos(1));
    EXPECT_EQ(b->MaxYValue(), 6);
    b->StackGroup = 1;  // two stacks side by side
    f.Paint();
    EXPECT_EQ(a->SlotCount, 2);
    EXPECT_EQ(b->SlotIndex, 2);
    // All-zero stack to 100 %: an empty bar at zero, no division by zero.
    auto* z1 = new TBarSeries();
    auto* z2 = new TBarSeries();
    SeriesChart g;
    g.chart.AddSeries(z1);
    g.chart.AddSeries(z2);
    z1->Add(0);
    z2->Add(0);
    z1->SetMultiBar(mbStacked100);
    g.Paint();
    EXPECT_EQ(z2->CalcYPos(0), z2->GetOriginPos(0));
    // A running total on one position.
    SeriesChart h;
    auto* r = AddBars(h, clGreen, {1, 2, 3});
    r->SetMultiBar(mbSelfStack);
    h.Paint("bars_selfstack");
    EXPECT_EQ(r->MaxYValue(), 6);
    EXPECT_EQ(r->GetOriginPos(2), r->CalcYPosValue(3));
    EXPECT_EQ(r->CalcXPos(0), r->CalcXPos(2));
}

TEST(ChartBarSeries, ShapesFollowOnGetBarStyleInDrawingAndClicks)
{
    SeriesChart f;
    auto* s = AddBars(f, clRed, {10, 10, 10});
    s->OnGetBarStyle = [](TCustomBarSeries*, int i, TBarStyle& st) {
        if (i == 1) st = bsPyramid;
        if (i == 2) st = bsEllipse;
    };
    f.Paint("bars_shapes");
    const int top = s->CalcYPos(1), bottom = s->GetOriginPos(1);
    const int left = s->CalcXPos(1), right = left + s->BarSize;
    // The pyramid's upper corners are empty and not hit; its middle is.
    const int y = top + (bottom - top) / 8;
    EXPECT_EQ(f.Px(left + 2, y), RGB(255, 255, 255));
    EXPECT_EQ(s->Clicked(left + 2, y), -1);
    EXPECT_EQ(s->Clicked((left + right) / 2, (top + bottom) / 2), 1);
    // The rectangle's corner is hit; the ellipse's is not.
    const int l0 = s->CalcXPos(0), l2 = s->CalcXPos(2);
    EXPECT_EQ(s->Clicked(l0 + 1, top + 1), 0);
    EXPECT_EQ(f.Px(l2 + 1, top + 1), RGB(255, 255, 255));
    EXPECT_EQ(s->Clicked(l2 + 1, top + 1), -1);
    EXPECT_EQ(s->Clicked(l2 + s->BarSize / 2, (top + bottom) / 2), 2);
}

TEST(ChartBarSeries, NullPointAndThinBars)
{
    SeriesChart f;
    auto* s = AddBars(f, clRed, {3, 4, 5});
    s->SetNull(1, true);
    s->CustomBarSize = 1;
    s->BarPen().SetWidth(3);
    f.Paint("bars_thin");
    EXPECT_EQ(s->Clicked(s->CalcXPos(1), (s->CalcYPos(1) + s->GetOriginPos(1)) / 2), -1);
    // The bar thinner than its pen is an outline in its own colour.
    const int y = (s->CalcYPos(0) + s->GetOriginPos(0)) / 2;
    EXPECT_EQ(f.Px(s->CalcXPos(0), y), RGB(255, 0, 0));
}

TEST(ChartBarSeries, HorizontalBarsWithMarksOnBothSides)
{
    SeriesChart f;
    auto* s = new THorizBarSeries();
    f.chart.AddSeries(s);
    s->SetSeriesColor(clNavy);
    s->Add(-3);
    s->Add(5);
    f.Paint("hbars");
    int l = 0, r = 0;
    s->CalcHorizMargins(l, r);
    EXPECT_GT(l, 0);
    EXPECT_GT(r, 0);
    const int y = s->CalcYPos(1) + s->BarSize / 2;
    const int x = (s->CalcXPos(1) + s->GetOriginPos(1)) / 2;
    EXPECT_EQ(f.Px(x, y), RGB(0, 0, 128));
    EXPECT_EQ(s->Clicked(x, y), 1);
    EXPECT_EQ(s->Clicked(s->CalcXPos(1) + 5, y), -1);
}

TEST(ChartBarSeries, EveryShapeDrawsInBothDirectionsIn2DAnd3D)
{
    for (bool horizontal : {false, true})
        for (bool view3D : {false, true}) {
            SeriesChart f;
            f.chart.SetView3D(view3D);
            TCustomBarSeries* s = horizontal ? static_cast<TCustomBarSeries*>(new THorizBarSeries())
                                             : static_cast<TCustomBarSeries*>(new TBarSeries());
            f.chart.AddSeries(s);
            s->SetSeriesColor(clRed);
            s->Marks().SetVisible(false);
            for (int i = 0; i <= bsInvCone; ++i) s->Add(10);
            s->OnGetBarStyle = [](TCustomBarSeries*, int i, TBarStyle& st) { st = TBarStyle(i); };
            const std::string name = std::string("bars_all") + (horizontal ? "_h" : "_v") + (view3D ? "_3d" : "");
            f.Paint(name.c_str());
            for (int i = 0; i <= bsInvCone; ++i) {
                // The middle of every bar is painted.
                const int pos = s->CalcXPos(i) + s->BarSize / 2;
                const int val = (s->CalcYPos(i) + s->GetOriginPos(i)) / 2;
                const int hpos = s->CalcYPos(i) + s->BarSize / 2, hval = (s->CalcXPos(i) + s->GetOriginPos(i)) / 2;
                const COLORREF c = horizontal ? f.Px(hval, hpos) : f.Px(pos, val);
                EXPECT_NE(c, RGB(255, 255, 255)) << name << " style " << i;
            }
        }
}

TEST(ChartBarSeries, MarksAboveBarsAndBelowNegativeOnes)
{
    SeriesChart f;
    auto* s = new TBarSeries();
    f.chart.AddSeries(s);
    s->SetSeriesColor(clTeal);
    for (double v : {3.0, -2.0, 5.0}) s->Add(v);
    f.Paint("bars_marks");
    int top = 0, bottom = 0;
    s->CalcVerticalMargins(top, bottom);
    EXPECT_GT(top, 0);
    EXPECT_GT(bottom, 0);
}

TEST(ChartPointSeries, GalleryPreviewMakesTheSecondSeriesTriangles)
{
    SeriesChart f;
    auto* a = new TPointSeries();
    auto* b = new TPointSeries();
    f.chart.AddSeries(a);
    f.chart.AddSeries(b);
    b->PrepareForGallery(true);
    EXPECT_EQ(b->Count(), 4);
    EXPECT_EQ(b->Pointer().Style(), psTriangle);
    EXPECT_EQ(b->Pointer().HorizSize(), 6);
    EXPECT_FALSE(b->Marks().Visible());
    EXPECT_EQ(b->SeriesColor(), f.chart.GetDefaultColor(3));
    a->PrepareForGallery(false);
    EXPECT_EQ(a->SeriesColor(), clSilver);
    EXPECT_EQ(a->Pointer().Style(), psRectangle);
}

TEST(ChartBarSeries, CustomWidthMarginAndOrigin)
{
    SeriesChart f;
    auto* a = AddBars(f, clRed, {1, 2, 3, 4, 5});
    a->SetCustomBarWidth(12);
    f.Paint("bars_custom_width");
    EXPECT_EQ(a->BarSize, 12);
    EXPECT_EQ(a->CustomBarWidth(), 12);
    // One series side by side: the margin is one bar wide, half of it without side margins.
    EXPECT_EQ(a->BarMargin(), 12);
    a->SetSideMargins(false);
    EXPECT_EQ(a->BarMargin(), 6);
    const int x = a->CalcXPos(2), y = (a->CalcYPos(2) + a->GetOriginPos(2)) / 2;
    EXPECT_EQ(f.Px(x + 6, y), RGB(255, 0, 0));
    EXPECT_NE(f.Px(x + 14, y), RGB(255, 0, 0));
    // Without a Y origin a bar starts at the pixel the orientation gives.
    a->UseYOrigin = false;
    EXPECT_EQ(a->InternalGetOriginPos(2, 77), 77);
    EXPECT_EQ(a->GetOriginPos(2), f.chart.LeftAxis().EndPixel);
    a->UseYOrigin = true;
    a->YOrigin = 2;
    EXPECT_EQ(a->InternalGetOriginPos(2, 77), a->CalcYPosValue(2));

    THorizBarSeries h;
    h.SetCustomBarHeight(9);
    EXPECT_EQ(h.CustomBarSize, 9);
    EXPECT_TRUE(h.SubGalleryStack());
    EXPECT_EQ(h.SubGallery(), TCustomBarSeries::CreateSubGallery(true));
}

// Value lists, labels, series points and notices, visible range and pages, legend texts,
// marks, the panel's layout and listeners, and framed shapes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestChart.h"
#include "platform/forms/Dialogs.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartSeries.h"
#include "widgets/chart/ChartShape.h"

using namespace chart;
using namespace platform;
using charttest::TestChart;

namespace {
std::vector<double> Values(TChartValueList& l)
{
    std::vector<double> v;
    for (int i = 0; i < l.Count(); ++i) v.push_back(l[i]);
    return v;
}

std::string ErrorOf(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const base::Exception& e) {
        return e.what();
    }
    return "no error";
}
}  // namespace

TEST(ChartValueList, OrderedInsertion)
{
    struct Case {
        TChartListOrder order;
        std::vector<double> start;
        double add;
        int index;
    } cases[] = {{loAscending, {1, 3, 3, 5}, 3, 3},  {loAscending, {1, 3, 3, 5}, 0, 0},
                 {loAscending, {1, 3, 3, 5}, 6, 4},  {loDescending, {5, 3, 1}, 3, 2},
                 {loDescending, {5, 3, 1}, 9, 0},    {loNone, {5, 3, 1}, 4, 3}};
    for (const Case& c : cases) {
        TChartValueList l(nullptr, "V");
        for (double v : c.start) l.InsertChartValue(l.Count(), v);
        l.Order = c.order;
        EXPECT_EQ(l.AddChartValue(c.add), c.index) << c.add;
        EXPECT_EQ(l[c.index], c.add);
    }
}

TEST(ChartValueList, CapacityStatisticsAndChecks)
{
    TChartValueList l(nullptr, "V");
    for (int i = 0; i < 1000; ++i) l.AddChartValue(i);
    EXPECT_EQ(l.Capacity(), 1000);
    l.AddChartValue(1000);
    EXPECT_EQ(l.Capacity(), 2000);
    EXPECT_EQ(l.Count(), 1001);
    l.ClearValues();
    EXPECT_EQ(l.MinValue(), 0);
    EXPECT_EQ(l.MaxValue(), 0);
    EXPECT_EQ(l.Total(), 0);
    l.AddChartValue(-2);
    l.AddChartValue(1);
    EXPECT_EQ(l.Total(), -1);
    EXPECT_EQ(l.TotalABS(), 3);
    EXPECT_EQ(l.Range(), 3);
    TChartValueList r(nullptr, "R");
    for (double v : {1.0, 2.0, 3.0}) r.AddChartValue(v);
    r.Scroll();
    EXPECT_EQ(Values(r), (std::vector<double>{2, 3, 1}));
    TChartValueList q(nullptr, "Q");
    q.AddChartValue(0.3);
    EXPECT_EQ(q.Locate(0.1 + 0.2), -1);
    EXPECT_EQ(q.Locate(0.3), 0);
    // Reads and deletes outside the list are refused with the series' message.
    EXPECT_EQ(ErrorOf([&] { q.Value(5); }), "Series Delete: ValueIndex 5 out of bounds (0 to 0).");
    EXPECT_EQ(ErrorOf([&] { q.Delete(-1); }), "Series Delete: ValueIndex -1 out of bounds (0 to 0).");
    EXPECT_EQ(q.Count(), 1);
    TChartValueList src(nullptr, "S");
    src.Order = loDescending;
    src.SetDateTime(true);
    q.Assign(src);
    EXPECT_EQ(q.Order, loDescending);
    EXPECT_TRUE(q.DateTime());
    EXPECT_EQ(q.Name, "Q");
    EXPECT_EQ(q.Count(), 1);
}

TEST(ChartValueList, UserMessageIsBounded)
{
    EnsurePlatform();
    std::string shown;
    auto old = SetMessageBoxHook([&](const TMessageBoxRequest& r) {
        shown = r.Text;
        return 1;
    });
    ShowMessageUser(std::string(5000, 'x'));
    EXPECT_EQ(shown.size(), 1023u);
    TChartValueList l(nullptr, "V");
    shown.clear();
    l.ReadMultiplier(1);
    EXPECT_TRUE(shown.empty());
    l.ReadMultiplier(2);
    EXPECT_EQ(shown.rfind("Error: Multiplier property is obsolete.", 0), 0u);
    SetMessageBoxHook(old);
}

TEST(ChartLabels, SparseList)
{
    TLabelsList l(nullptr);
    l.InsertLabel(0, "");
    EXPECT_EQ(l.Count(), 0);
    l.InsertLabel(3, "d");
    EXPECT_EQ(l.Count(), 4);
    EXPECT_EQ(l.GetLabel(3), "d");
    EXPECT_EQ(l.GetLabel(0), "");
    EXPECT_EQ(l.GetLabel(99), "");
    l.SetLabel(10, "");
    EXPECT_EQ(l.Count(), 4);
    l.SetLabel(1, "ABC");
    EXPECT_EQ(l.IndexOfLabel("abc", false), 1);
    EXPECT_EQ(l.IndexOfLabel("abc", true), -1);
}

TEST(ChartSeriesCore, PointsColoursAndLabels)
{
    EnsurePlatform();
    TChartSeries s;
    EXPECT_EQ(s.AddXY(1, 10), 0);
    EXPECT_EQ(s.AddXY(3, 30), 1);
    EXPECT_EQ(s.AddXY(2, 20), 1);
    EXPECT_EQ(Values(s.XValues()), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(s.YValues()[1], 20);
    EXPECT_FALSE(s.HasColorList());
    s.SetSeriesColor(clNavy);
    EXPECT_EQ(s.GetValueColor(2), clNavy);
    s.SetColorEachPoint(true);
    EXPECT_EQ(s.GetValueColor(1), GetDefaultColor(1));
    s.SetColorEachPoint(false);
    s.AddXY(4, 40, "", clRed);
    EXPECT_TRUE(s.HasColorList());
    EXPECT_EQ(s.GetValueColor(3), clRed);
    EXPECT_EQ(s.GetValueColor(0), clNavy);
    s.AddNullXY(5, 0);
    EXPECT_TRUE(s.IsNull(4));
    s.SetNull(4, false);
    EXPECT_FALSE(s.IsNull(4));
    s.AddXY(6, 60, "A");
    EXPECT_EQ(s.GetXLabel(5), "A");
    EXPECT_EQ(s.GetXLabel(0), "");
    for (int bad : {s.Count(), -1}) {
        const std::string want = ChartFormat(ChartMsg_SeriesDelete, bad, s.Count() - 1);
        EXPECT_EQ(ErrorOf([&] { s.Delete(bad); }), want);
    }
    EXPECT_EQ(s.Count(), 6);
    s.Delete(0);
    EXPECT_EQ(s.Count(), 5);
    EXPECT_EQ(s.GetValueColor(2), clRed);
    s.OnBeforeAdd = [](TChartSeries*) { return false; };
    EXPECT_EQ(s.AddXY(9, 9), -1);
    EXPECT_EQ(s.Count(), 5);
    int cleared = 0;
    s.OnClearValues = [&](TObject*) { ++cleared; };
    s.Clear();
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.FirstShownIndex, -1);
    EXPECT_EQ(s.LastShownIndex, -1);
}

TEST(ChartSeriesCore, BatchesAndLinkedSeries)
{
    EnsurePlatform();
    TChartSeries source, linked;
    source.LinkedSeries.push_back(&linked);
    int added = 0;
    source.OnAfterAdd = [&](TChartSeries*, int) { ++added; };
    source.BeginUpdate();
    for (int i = 0; i < 100; ++i) source.AddXY(i, i);
    EXPECT_EQ(added, 0);
    EXPECT_EQ(linked.Count(), 0);
    source.EndUpdate();
    EXPECT_EQ(linked.Count(), 100);
    source.AddXY(100, 1, "", clRed);
    EXPECT_EQ(added, 1);
    EXPECT_EQ(linked.Count(), 101);
    EXPECT_EQ(linked.GetValueColor(100), clRed);
    source.Delete(0);
    EXPECT_EQ(linked.Count(), 100);
    TChartSeries copy;
    copy.SetHorizontal();
    copy.AddValues(source);
    EXPECT_EQ(copy.XValues()[0], source.YValues()[0]);  // vertical into horizontal swaps X and Y
}

TEST(ChartSeriesDisplay, ChartColoursRangeAndPages)
{
    TestChart chart;
    chart.SetBounds(0, 0, 400, 300);
    TChartSeries* a = new TChartSeries();
    TChartSeries* b = new TChartSeries();
    chart.AddSeries(a);
    chart.AddSeries(b);
    chart.AddSeries(a);
    EXPECT_EQ(chart.SeriesCount(), 2);
    EXPECT_EQ(a->SeriesColor(), clRed);  // first free palette colours
    EXPECT_EQ(b->SeriesColor(), clGreen);
    EXPECT_FALSE(a->IsColorStored());
    for (int i = 0; i < 10; ++i) a->AddXY(i, i);
    // The visible range follows the horizontal axis.
    TChartAxis& x = chart.BottomAxis();
    chart.ChartRect = {0, 0, 400, 300};
    x.SetMinMax(2.5, 6.5);
    x.AdjustMaxMin();
    x.InternalCalcPositions();
    a->CalcFirstLastVisibleIndex();
    EXPECT_EQ(a->FirstShownIndex, 3);
    EXPECT_EQ(a->LastShownIndex, 6);
    a->KeepPointBeyondEdge = true;
    a->CalcFirstLastVisibleIndex();
    EXPECT_EQ(a->LastShownIndex, 7);
    // Pages: 10 points, 4 per page.
    chart.SetMaxPointsPerPage(4);
    EXPECT_EQ(chart.NumPages(), 3);
    int first, last;
    chart.SetPage(3);
    a->CalcFirstLastPage(first, last);
    EXPECT_EQ(first, 8);
    EXPECT_EQ(last, 9);
    chart.SetPage(99);
    EXPECT_EQ(chart.Page(), 3);
    // A page that outlived its points shows the last page.
    for (int i = 10; i < 20; ++i) a->AddXY(i, i);
    chart.SetPage(5);
    a->Delete(10, 10);
    EXPECT_EQ(chart.Page(), 5);
    a->CalcFirstLastPage(first, last);
    EXPECT_EQ(first, 8);
    EXPECT_EQ(last, 9);
    chart.SetMaxPointsPerPage(0);
    chart.FreeAllSeries();
    EXPECT_EQ(chart.SeriesCount(), 0);
}

TEST(ChartSeriesDisplay, LegendTexts)
{
    TChartSeries s;
    s.AddXY(0, 5, "Mon");
    s.AddXY(1, 15);
    const std::string sep(1, ChartColumnSeparator);
    EXPECT_EQ(s.LegendString(0, ltsRightValue), "Mon" + sep + "5");
    EXPECT_EQ(s.LegendString(0, ltsLeftValue), "5" + sep + "Mon");
    EXPECT_EQ(s.LegendString(0, ltsPercent), "25 %");
    EXPECT_EQ(s.LegendString(0, ltsPlain), "Mon");
    TChartSeries zero;
    zero.AddXY(0, 0);
    EXPECT_EQ(zero.LegendString(0, ltsPercent), "100 %");
}

TEST(ChartMarks, TextsAndOverlap)
{
    EnsurePlatform();
    TChartSeries s;
    s.AddXY(0, 5);
    s.AddXY(1, 15, "B");
    EXPECT_EQ(s.GetMarkText(0), "5");
    EXPECT_EQ(s.GetMarkText(1), "B");
    s.Marks().SetStyle(smsPercent);
    EXPECT_EQ(s.GetMarkText(0), "25 %");
    EXPECT_EQ(s.GetMarkText(1), "75 %");
    s.Marks().SetStyle(smsLabelPercentTotal);
    s.Marks().SetMultiline(true);
    EXPECT_EQ(s.GetMarkText(1), std::string("B\r75 %\rof 20"));
    s.Marks().Items.Get(0)->HasText = true;
    s.Marks().Items.Get(0)->Text = "one\r\ntwo\r\n";
    EXPECT_EQ(s.GetMarkText(0), "one\r\ntwo");

    TSeriesMarks& m = s.Marks();
    TSeriesMarkPosition p0;
    p0.BoxTopLeft = {10, 100};
    p0.BoxWidth = 40;
    p0.BoxHeight = 20;
    m.Positions.Ensure(0).Assign(p0);
    TSeriesMarkPosition p1 = p0;
    p1.BoxTopLeft = {30, 110};
    p1.ArrowEnd = {50, 130};
    m.AntiOverlap(0, 1, p1);
    // Boxes count their 1-pixel frame and 1-pixel shadow: the first reaches down to 122,
    // so the second, starting at 110, moves down by 12.
    EXPECT_EQ(p1.BoxTopLeft.Y, 122);
    TSeriesMarkPosition p2 = p0;
    p2.BoxTopLeft = {30, 90};
    p2.ArrowEnd = {50, 110};
    m.AntiOverlap(0, 1, p2);
    EXPECT_EQ(p2.BoxTopLeft.Y, 90 - (112 - 100));  // moved up by the overlap
    EXPECT_EQ(p2.ArrowEnd.Y, 110 - 12);
    m.Positions.Put(3, p0);
    EXPECT_TRUE(m.Positions.ExistCustom());
    m.ResetPositions();
    EXPECT_FALSE(m.Positions.ExistCustom());
}

TEST(ChartPanel, ChartRectFromMarginsAndBorder)
{
    EnsurePlatform();
    TestChart c;
    c.SetBounds(0, 0, 400, 250);
    c.SetBufferedDisplay(false);
    c.SetBevelOuter(bvNone);
    for (int i = 0; i < 4; ++i) c.SetMargin(i, 10);
    TBitmap bmp(400, 250);
    c.SetAxisVisible(false);
    c.Draw(bmp.Canvas(), {0, 0, 400, 250});
    EXPECT_EQ(c.ChartRect, (TRect{40, 25, 360, 225}));
    c.SetMarginUnits(muPixels);
    for (int i = 0; i < 4; ++i) c.SetMargin(i, 0);
    c.Border().SetVisible(true);
    c.Border().SetWidth(7);
    c.SetBevelOuter(bvRaised);
    c.Draw(bmp.Canvas(), {0, 0, 400, 250});
    EXPECT_EQ(c.ChartRect, (TRect{8, 8, 392, 242}));
    c.Border().SetVisible(false);
    c.SetBevelOuter(bvNone);
    c.SetMargin(1, 30);
    c.SetMargin(3, 100);
    TBitmap small(400, 120);
    c.Draw(small.Canvas(), {0, 0, 400, 120});
    EXPECT_EQ(c.ChartRectHeight, 1);
}

TEST(ChartPanel, ListenersAndPalette)
{
    EnsurePlatform();
    TestChart c;
    struct L : IChartEventListener {
        int got = 0;
        bool cancel = false;
        TCustomChartPanel* panel = nullptr;
        void ReceiveChartEvent(TChartEvent&) override
        {
            ++got;
            if (cancel) panel->MouseCancelled = true;
        }
    } l1, l2, l3;
    l2.cancel = true;
    l2.panel = &c;
    EXPECT_EQ(c.Listeners.Add(&l1), 0);
    c.Listeners.Add(&l2);
    c.Listeners.Add(&l3);
    EXPECT_EQ(c.Listeners.Add(&l1), 0);
    c.BroadcastMouseEvent(meDown, mbLeft, 0, 1, 1);
    EXPECT_EQ(l3.got, 0);
    c.MouseCancelled = false;
    TChartView3DEvent e;
    c.BroadcastChartEvent(e);
    EXPECT_EQ(l3.got, 1);
    c.SetView3D(c.View3D());
    EXPECT_EQ(l3.got, 1);  // no change, no event
    c.RemoveListener(&l1);
    c.RemoveListener(&l2);
    c.RemoveListener(&l3);
    SetDefaultColorPalette({clBlack});
    EXPECT_EQ(GetDefaultColor(21), clGreen);
    SetDefaultColorPalette({clBlack, clWhite});
    EXPECT_EQ(GetDefaultColor(3), clWhite);
    SetDefaultColorPalette();
}

TEST(ChartShapes, RotatedCornersAndDrawing)
{
    const TFourPoints p = RectToFourPoints({0, 0, 100, 50}, 90);
    EXPECT_EQ(p[0], (TPoint{25, 75}));
    EXPECT_EQ(p[1], (TPoint{25, -25}));
    EXPECT_EQ(p[2], (TPoint{75, -25}));
    EXPECT_EQ(p[3], (TPoint{75, 75}));
    EnsurePlatform();
    TestChart c;
    c.SetBufferedDisplay(false);
    TChartShape s(&c);
    s.ShapeBounds = {10, 10, 19, 19};
    EXPECT_EQ(s.Width(), 10);
    s.SetWidth(20);
    EXPECT_EQ(s.ShapeBounds.Right, 29);
    TBitmap bmp(100, 100);
    bmp.Canvas()->Brush().SetColor(clWhite);
    bmp.Canvas()->FillRect({0, 0, 100, 100});
    c.ChartCanvas()->InitWindow(bmp.Canvas(), nullptr, clWhite, false, {0, 0, 100, 100});
    c.ChartCanvas()->ResetState();
    s.SetColor(clYellow);
    s.ShapeBounds = {10, 10, 50, 40};
    s.Draw();
    EXPECT_EQ(COLORREF(bmp.Canvas()->Pixel(30, 25)), RGB(255, 255, 0));
    EXPECT_EQ(COLORREF(bmp.Canvas()->Pixel(10, 25)), RGB(0, 0, 0));       // the frame
    // The shadow fades over its 3 pixels: black, then 85 and 170 levels brighter.
    EXPECT_EQ(COLORREF(bmp.Canvas()->Pixel(50, 30)), RGB(0, 0, 0));
    EXPECT_EQ(COLORREF(bmp.Canvas()->Pixel(51, 30)), RGB(85, 85, 85));
    EXPECT_EQ(COLORREF(bmp.Canvas()->Pixel(53, 30)), RGB(255, 255, 255));
    s.SetTransparent(true);
    bmp.Canvas()->Brush().SetColor(clWhite);
    bmp.Canvas()->Brush().SetStyle(bsSolid);
    bmp.Canvas()->FillRect({0, 0, 100, 100});
    s.Draw();
    EXPECT_EQ(COLORREF(bmp.Canvas()->Pixel(30, 25)), RGB(255, 255, 255));
}

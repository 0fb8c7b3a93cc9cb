// Registries of series and tool types, changing a series' type, and chart tools.
#include <gtest/gtest.h>

#include "TestChart.h"
#include "platform/graphics/Graphics.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartBarSeries.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFastLine.h"
#include "widgets/chart/ChartFunctions.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartPieSeries.h"
#include "widgets/chart/ChartPointSeries.h"
#include "widgets/chart/ChartRegistry.h"
#include "widgets/chart/ChartTools.h"

using namespace chart;
using namespace platform;
using SeriesChart = charttest::ChartOnBitmap;
using charttest::TestChart;

namespace {
class TCountingTool : public TChartCustomToolSeries {
public:
    using TChartCustomToolSeries::TChartCustomToolSeries;
    void ChartEvent(TChartToolEvent e) override { events.push_back(e); }
    void ChartMouseEvent(TChartMouseEvent kind, TMouseButton, TShiftState, int, int) override
    {
        ++mouse;
        kinds.push_back(kind);
        if (cancel) ParentChart()->MouseCancelled = true;
    }
    std::vector<TChartToolEvent> events;
    std::vector<TChartMouseEvent> kinds;
    int mouse = 0;
    bool cancel = false;
};
class TAxisTool : public TChartCustomToolAxis {
public:
    using TChartCustomToolAxis::TChartCustomToolAxis;
};
class TSumAll : public TChartFunction {
public:
    using TChartFunction::TChartFunction;
};
}  // namespace

TEST(ChartRegistry, RegisteringFindingAndNames)
{
    ChartSeriesTypes().Clear();
    RegisterChartSeries(SeriesClass<TBarSeries>(), &ChartMsg_GalleryBar);
    RegisterChartSeries(SeriesClass<TBarSeries>(), &ChartMsg_GalleryBar);
    EXPECT_EQ(ChartSeriesTypes().Count(), 1);
    RegisterChartSeriesFunction(SeriesClass<TBarSeries>(), FunctionClass<TSumAll>(), &ChartMsg_GalleryBar,
                                &ChartMsg_GalleryFunctions, 1);
    EXPECT_EQ(ChartSeriesTypes().Count(), 2);
    EXPECT_EQ(ChartSeriesTypes().Find(SeriesClass<TBarSeries>()), ChartSeriesTypes().Get(0));
    EXPECT_EQ(*ChartSeriesTypes().Get(0)->GalleryTab, "Standard");
    TBarSeries bar;
    TLineSeries line;
    EXPECT_EQ(GetGallerySeriesName(bar), "Bar");
    EXPECT_EQ(GetGallerySeriesName(line), "TLineSeries");
    UnRegisterChartSeries({SeriesClass<TBarSeries>()});
    EXPECT_EQ(ChartSeriesTypes().Count(), 0);
    RegisterChartStandardSeries();
    ASSERT_EQ(ChartSeriesTypes().Count(), 9);
    EXPECT_EQ(ChartSeriesTypes().Get(2)->Description(), "Horizontal\rBar");
    EXPECT_EQ(ChartSeriesTypes().Get(5)->GallerySeriesCount, 1);
    EXPECT_EQ(GetGallerySeriesName(line), "Line");
    RegisterChartTools({ToolClass<TCountingTool>(), ToolClass<TCountingTool>()});
    EXPECT_EQ(ChartToolTypes().Count(), 1);
    UnRegisterChartTools({ToolClass<TCountingTool>()});
    EXPECT_EQ(ChartToolTypes().Count(), 0);
    TChartDragObject drag(TChartClickedPart{});
    EXPECT_EQ(drag.GetDragCursor(false, 0, 0), -13);
    EXPECT_EQ(drag.GetDragCursor(true, 0, 0), 2020);
}

TEST(ChartRegistry, EditorClassThroughTheElementInterface)
{
    TLineSeries line;
    THorizLineSeries hline;
    TPointSeries point;
    TAreaSeries area;
    THorizAreaSeries harea;
    TBarSeries bar;
    THorizBarSeries hbar;
    TPieSeries pie;
    TFastLineSeries fast;
    TCountingTool tool(nullptr);
    TAxisTool axisTool(nullptr);
    TCustomChartElement element(nullptr);
    const struct {
        const TCustomChartElement* e;
        const char* want;
    } cases[] = {
        {&line, "TCustomSeriesEditor"}, {&hline, "TCustomSeriesEditor"}, {&point, "TSeriesPointerEditor"},
        {&area, "TAreaSeriesEditor"},   {&harea, "TAreaSeriesEditor"},   {&bar, "TBarSeriesEditor"},
        {&hbar, "TBarSeriesEditor"},    {&pie, "TPieSeriesEditor"},      {&fast, "TFastLineSeriesEditor"},
        {&tool, "TSeriesToolEditor"},   {&axisTool, "TAxisToolEditor"},  {&element, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.e->GetEditorClass(), c.want) << c.want;
}

TEST(ChartRegistry, ChangeSeriesTypeKeepsNameDataColourAndPlace)
{
    TestChart chart;
    std::vector<TChartSeries*> s;
    for (int i = 0; i < 5; ++i) s.push_back(CreateNewSeries(nullptr, &chart, SeriesClass<TLineSeries>()));
    EXPECT_EQ(s[2]->Name(), "Series3");
    s[2]->SetTitle("third");
    s[2]->SetSeriesColor(clRed);
    s[2]->AddXY(1, 4);
    s[2]->AddXY(2, 5);
    auto* dependant = chart.AddSeries(new TLineSeries());
    dependant->SetDataSource(s[2]);
    auto* tool = new TCountingTool();
    chart.ToolList().Add(tool);
    tool->SetSeries(s[2]);
    TChartSeries* changed = s[2];
    ChangeSeriesType(changed, SeriesClass<TBarSeries>());
    ASSERT_NE(changed, s[2]);
    EXPECT_NE(dynamic_cast<TBarSeries*>(changed), nullptr);
    EXPECT_EQ(chart.GetSeries(2), changed);
    EXPECT_EQ(changed->Name(), "Series3");
    EXPECT_EQ(changed->Title(), "third");
    EXPECT_EQ(changed->SeriesColor(), clRed);
    EXPECT_EQ(changed->Count(), 2);
    EXPECT_EQ(changed->YValues()[1], 5);
    EXPECT_EQ(dependant->GetDataSource(), changed);
    EXPECT_EQ(tool->Series(), changed);
    EXPECT_EQ(chart.SeriesCount(), 6);
    // A clone is a second series of the same type and data.
    TChartSeries* clone = CloneChartSeries(*changed);
    EXPECT_NE(dynamic_cast<TBarSeries*>(clone), nullptr);
    EXPECT_EQ(clone->Count(), 2);
    EXPECT_EQ(chart.SeriesCount(), 7);
}

TEST(ChartTools, MembershipEventsAndMouse)
{
    SeriesChart a, b;
    auto* tool = new TCountingTool();
    a.chart.ToolList().Add(tool);
    EXPECT_EQ(a.chart.ToolList().Count(), 1);
    tool->SetParentChart(&b.chart);
    EXPECT_EQ(a.chart.ToolList().Count(), 0);
    EXPECT_EQ(b.chart.ToolList().IndexOf(tool), 0);
    b.Paint();
    const std::vector<TChartToolEvent> order{cteBeforeDraw, cteBeforeDrawAxes, cteBeforeDrawSeries, cteAfterDrawSeries,
                                             cteAfterDraw};
    EXPECT_EQ(tool->events, order);
    b.chart.BroadcastMouseEvent(meDown, mbLeft, 0, 5, 5);
    EXPECT_EQ(tool->mouse, 1);
    b.chart.BroadcastMouseEvent(meMove, mbLeft, 0, 6, 5);
    b.chart.BroadcastMouseEvent(meUp, mbLeft, 0, 6, 5);
    EXPECT_EQ(tool->kinds, (std::vector<TChartMouseEvent>{cmeDown, cmeMove, cmeUp}));
    tool->mouse = 1;
    tool->SetActive(false);
    tool->events.clear();
    b.Paint();
    b.chart.BroadcastMouseEvent(meDown, mbLeft, 0, 5, 5);
    EXPECT_TRUE(tool->events.empty());
    EXPECT_EQ(tool->mouse, 1);
    // A series tool loses a destroyed series and falls back to the chart's axes.
    tool->SetActive(true);
    auto* s = b.chart.AddSeries(new TLineSeries());
    tool->SetSeries(s);
    delete s;
    EXPECT_EQ(tool->Series(), nullptr);
    EXPECT_EQ(tool->GetHorizAxis(), &b.chart.BottomAxis());
    EXPECT_EQ(tool->GetVertAxis(), &b.chart.LeftAxis());
    tool->SetParentChart(nullptr);
    EXPECT_EQ(b.chart.ToolList().Count(), 0);
    delete tool;
}

TEST(ChartTools, AxisToolStreamsItsAxisByPosition)
{
    TestChart a, b;
    for (int i = 0; i < 3; ++i) {
        new TChartAxis(&a);
        new TChartAxis(&b);
    }
    auto* tool = new TAxisTool();
    tool->SetAxis(a.AxisList().Get(8));
    EXPECT_EQ(tool->ParentChart(), &a);
    EXPECT_EQ(tool->AxisID(), 8);
    auto* copy = new TAxisTool();
    b.ToolList().Add(copy);
    copy->ReadAxisID(tool->AxisID());
    EXPECT_EQ(copy->Axis(), b.AxisList().Get(8));
    // The chart's destruction frees its tools.
}

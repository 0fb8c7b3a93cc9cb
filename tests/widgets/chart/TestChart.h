#pragma once
// A chart of the tests: the axis panel with what the full chart control adds (walls,
// free colours) kept trivial, drawing its background and axes.
#include "platform/TestRig.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"

namespace charttest {

class TestChart : public chart::TCustomAxisPanel {
public:
    TestChart() : chart::TCustomAxisPanel(nullptr) {}
    void CalcWallsRect() override {}
    int CalcWallSize(const chart::TChartAxis&) override { return 0; }
    bool IsFreeSeriesColor(chart::TColor color, bool checkBackground, chart::TChartSeries* series) override
    {
        if (checkBackground && color == Color()) return false;
        for (chart::TChartSeries* s : SeriesList())
            if (s != series && s->SeriesColor() == color) return false;
        return true;
    }
    // Background, then every axis: scale, room and drawing.
    void InternalDraw(const chart::TRect& r) override
    {
        ChartCanvas()->ResetState();
        PanelPaint(r);
        FixAxisVisibility();
        chart::TChartAxes& axes = AxisList();
        for (int i = 0; i < axes.Count(); ++i) {
            axes[i]->AdjustMaxMin();
            axes[i]->InternalCalcPositions();
        }
        chart::TRect rect = ChartRect;
        for (int i = 0; i < axes.Count(); ++i)
            if (IsAxisVisible(*axes[i])) axes[i]->CalcRect(rect, i < 5);
        ChartRect = rect;
        ReCalcWidthHeight();
        for (int i = 0; i < axes.Count(); ++i) {
            axes[i]->InternalCalcPositions();
            if (AxesOnly || IsAxisVisible(*axes[i])) axes[i]->Draw(i >= 5 ? false : true);
        }
    }
    bool AxesOnly = false;
};

}  // namespace charttest

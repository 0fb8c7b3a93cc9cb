#pragma once
// A chart of the tests: the axis panel with what the full chart control adds (titles,
// legend, walls, free colours) kept trivial.
#include "platform/TestRig.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"

namespace charttest {

class TestChart : public chart::TCustomAxisPanel {
public:
    TestChart() : chart::TCustomAxisPanel(nullptr) {}
    int CalcWallSize(const chart::TChartAxis&) override { return 0; }
    bool IsFreeSeriesColor(chart::TColor color, bool checkBackground, chart::TChartSeries* series) override
    {
        if (checkBackground && color == Color()) return false;
        for (chart::TChartSeries* s : SeriesList())
            if (s != series && s->SeriesColor() == color) return false;
        return true;
    }
    void CalcWallsRect() override
    {
        CalcSize3DWalls();
        ReCalcWidthHeight();
    }
    void DrawTitlesAndLegend(bool) override {}
    void DrawWalls() override {}
};

}  // namespace charttest

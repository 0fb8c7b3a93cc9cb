#pragma once
// A chart of the tests: the axis panel with what the full chart control adds (titles,
// legend, walls, free colours) kept trivial.
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/TestRig.h"
#include "platform/graphics/Graphics.h"
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

// A white 2D test chart of 400 × 300 drawn straight onto a bitmap.
struct ChartOnBitmap {
    ChartOnBitmap()
    {
        platform::EnsurePlatform();
        chart.SetBounds(0, 0, 400, 300);
        chart.SetBufferedDisplay(false);
        chart.SetColor(platform::clWhite);
        chart.SetBevelOuter(chart::bvNone);
        chart.SetView3D(false);
    }
    // With CHART_TEST_OUT set, keeps the picture there under the name given.
    void Paint(const char* keep = nullptr)
    {
        bmp.Canvas()->Brush().SetColor(platform::clWhite);
        bmp.Canvas()->Brush().SetStyle(platform::bsSolid);
        bmp.Canvas()->FillRect({0, 0, 400, 300});
        chart.Draw(bmp.Canvas(), {0, 0, 400, 300});
        if (const char* dir = std::getenv("CHART_TEST_OUT"); dir && keep)
            bmp.SaveToFile(std::string(dir) + "/" + keep + ".bmp");
    }
    // Draws the chart and returns the texts of the labels of one axis.
    std::vector<std::string> Labels(chart::TChartAxis& axis)
    {
        std::vector<std::string> texts;
        axis.OnDrawLabel = [&](chart::TChartAxis*, int&, int&, int&, std::string& t, bool&) { texts.push_back(t); };
        Paint();
        axis.OnDrawLabel = nullptr;
        return texts;
    }
    platform::COLORREF Px(int x, int y) { return platform::COLORREF(bmp.Canvas()->Pixel(x, y)); }
    TestChart chart;
    platform::TBitmap bmp{400, 300};
};

}  // namespace charttest

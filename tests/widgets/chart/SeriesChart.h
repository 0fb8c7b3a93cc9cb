#pragma once
// A 2D chart of the series-type tests painted onto a white bitmap.
#include <cstdlib>
#include <string>

#include "TestChart.h"
#include "platform/graphics/Graphics.h"

namespace charttest {

struct SeriesChart {
    SeriesChart()
    {
        platform::EnsurePlatform();
        chart.SetBounds(0, 0, 400, 300);
        chart.SetBufferedDisplay(false);
        chart.SetColor(platform::clWhite);
        chart.SetBevelOuter(chart::bvNone);
        chart.SetView3D(false);
    }
    // With CHART_TEST_OUT set, keeps the picture there as a BMP for a look.
    void Paint(const char* keep = nullptr)
    {
        bmp.Canvas()->Brush().SetColor(platform::clWhite);
        bmp.Canvas()->FillRect({0, 0, 400, 300});
        chart.Draw(bmp.Canvas(), {0, 0, 400, 300});
        if (const char* dir = std::getenv("CHART_TEST_OUT"); dir && keep)
            bmp.SaveToFile(std::string(dir) + "/" + keep + ".bmp");
    }
    platform::COLORREF Px(int x, int y) { return platform::COLORREF(bmp.Canvas()->Pixel(x, y)); }
    TestChart chart;
    platform::TBitmap bmp{400, 300};
};

}  // namespace charttest

#pragma once
// Helpers of the chart tests: a white bitmap with a chart canvas drawing straight on it.
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/TestRig.h"
#include "platform/graphics/Graphics.h"
#include "widgets/chart/ChartCanvas3D.h"

namespace charttest {

inline platform::COLORREF Px(platform::TBitmap& b, int x, int y) { return platform::COLORREF(b.Canvas()->Pixel(x, y)); }

struct Surface {
    explicit Surface(int w = 200, int h = 150) : bmp(w, h)
    {
        platform::EnsurePlatform();
        bmp.Canvas()->Brush().SetColor(platform::clWhite);
        bmp.Canvas()->FillRect({0, 0, w, h});
        canvas.SetUseBuffer(false);
        canvas.InitWindow(bmp.Canvas(), nullptr, platform::clWhite, false, {0, 0, w, h});
        canvas.ResetState();
    }
    platform::COLORREF operator()(int x, int y) { return Px(bmp, x, y); }
    // With CHART_TEST_OUT set, keeps the picture there as a BMP for a look.
    void Keep(const std::string& name)
    {
        if (const char* dir = std::getenv("CHART_TEST_OUT")) bmp.SaveToFile(std::string(dir) + "/" + name + ".bmp");
    }
    platform::TBitmap bmp;
    chart::TChartCanvas3D canvas;
};

}  // namespace charttest

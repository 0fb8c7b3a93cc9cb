#pragma once
// Helpers of the chart tests: a white bitmap with a chart canvas drawing straight on it.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <memory>
#include <string>

#include "platform/TestRig.h"
#include "platform/graphics/Graphics.h"
#include "widgets/chart/ChartCanvas3D.h"

namespace charttest {

inline std::string ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

inline void WriteFile(const std::string& path, const std::string& data)
{
    std::ofstream f(path, std::ios::binary);
    f << data;
}

// The characters of an SVG's text elements, in order (one reader writes one per letter).
inline std::string SvgText(const std::string& svg)
{
    std::string out;
    for (std::size_t at = 0; (at = svg.find("<text", at)) != std::string::npos;) {
        const std::size_t open = svg.find('>', at), close = svg.find("</text>", open);
        if (open == std::string::npos || close == std::string::npos) break;
        out += svg.substr(open + 1, close - open - 1);
        at = close;
    }
    return out;
}

inline int Occurrences(const std::string& s, const std::string& what)
{
    int n = 0;
    for (std::size_t at = 0; (at = s.find(what, at)) != std::string::npos; at += what.size()) ++n;
    return n;
}

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

#include "app/ViewGeometry.h"

#include <cmath>

#include "base/StrUtils.h"
#include "core/Appendage.h"
#include "core/Section.h"

namespace app {

namespace {

constexpr double kMargin = 0.025;  // of the span, at each end
constexpr double kSmallest = 0.01;

plot::TRect2D Box(double minH, double maxH, double minV, double maxV, double extra)
{
    const double mh = (maxH - minH) * kMargin + extra, mv = (maxV - minV) * kMargin + extra;
    double x1 = minH - mh, x2 = maxH + mh, y1 = minV - mv, y2 = maxV + mv;
    if (x2 - x1 < kSmallest || y2 - y1 < kSmallest) {
        x2 = x1 + kSmallest;
        y2 = y1 + kSmallest;
    }
    return plot::Rect2D(x1, y1, x2, y2);
}

std::string Fixed3(double v) { return base::FormatFloat("0.000", v); }

}  // namespace

plot::TRect2D ZoomBox(double minH, double maxH, double minV, double maxV)
{
    return Box(minH, maxH, minV, maxV, 0);
}

plot::TRect2D ZoomAllBox(double minH, double maxH, double minV, double maxV)
{
    return Box(minH, maxH, minV, maxV, 0.1);
}

void AddFrameOutline(plot::TPoints& s, const core::Section& f)
{
    const unsigned n = f.GetOffsetCount();
    for (unsigned k = 0; k < n; ++k) s.AddSimple(f.GetX(k), f.GetZ(k));
    if (n > 0) s.AddSimple(f.GetX(0), f.GetZ(0));
}

void AddExtentOutline(plot::TPoints& s, const core::Appendage& a, bool plan)
{
    const auto& fs = a.frames;
    if (fs.empty()) return;
    auto hi = [plan](const core::Section& f) { return plan ? f.GetMaxX() : f.GetMaxZ(); };
    auto lo = [plan](const core::Section& f) { return plan ? f.GetMinX() : f.GetMinZ(); };
    s.AddSimple(fs.front().Y, hi(fs.front()));
    for (const auto& f : fs) s.AddSimple(f.Y, lo(f));
    for (auto it = fs.rbegin(); it != fs.rend(); ++it) s.AddSimple(it->Y, hi(*it));
    s.AddSimple(fs.front().Y, hi(fs.front()));
}

std::string CursorText(TViewKind view, bool valid, double h, double v)
{
    const std::string sh = valid ? Fixed3(h) : "0.000", sv = valid ? Fixed3(v) : "0.000";
    switch (view) {
    case vkBodyPlan: return "X: " + sh + "m, Y: 0.000m, Z: " + sv + "m";
    case vkSide: return "X: 0.000m, Y: " + sh + "m, Z: " + sv + "m";
    case vkPlan: return "X: " + sv + "m, Y: " + sh + "m, Z: 0.000m";
    }
    return "X: 0.000m, Y: 0.000m, Z: 0.000m";
}

std::string ViewFileName(const std::string& chosen)
{
    const std::string ext = ".bmp";
    if (chosen.size() >= ext.size() && base::LowerCase(chosen.substr(chosen.size() - ext.size())) == ext)
        return chosen;
    return chosen + ext;
}

RefCorners ImportCorners(int width, int height)
{
    return {-10, 10, 0, width > 0 ? 20.0 * height / width : 0.0};
}

bool ReadPositive(const std::string& text, double& value)
{
    double v = 0;
    if (!base::TryStrToFloat(base::Trim(text), v) || !std::isfinite(v) || v <= 0) return false;
    value = v;
    return true;
}

}  // namespace app

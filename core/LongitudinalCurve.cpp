#include "core/LongitudinalCurve.h"

#include "base/StrUtils.h"

namespace core {

bool LongitudinalCurve::AddArea(double y, double v, std::string& message)
{
    const std::size_t n = Y.size();
    if (n == 0) {
        Y.push_back(y);
        value.push_back(v);
        return true;
    }
    if (Y[0] > y) {
        Y.push_front(y);
        value.push_front(v);
        return true;
    }
    if (Y[n - 1] < y) {
        Y.push_back(y);
        value.push_back(v);
        return true;
    }
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (Y[i] == y) {
            value[i] += v;
            return true;
        }
        if (Y[i] < y && Y[i + 1] > y) {
            Y.insert(Y.begin() + static_cast<std::ptrdiff_t>(i + 1), y);
            value.insert(value.begin() + static_cast<std::ptrdiff_t>(i + 1), v);
            return true;
        }
    }
    if (Y[n - 1] == y) {
        value[n - 1] += v;
        return true;
    }
    message = "ERROR: Add Area failed at Y=" + base::FloatToStr(y);
    return false;
}

double LongitudinalCurve::GetArea(double y, std::string& message) const
{
    const std::size_t n = Y.size();
    if (n == 0) {
        message = "Error: Get area from curve failed. No data in curve";
        return 0.0;
    }
    if (Y[0] > y || !(y <= Y[n - 1]))
        return 0.0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (Y[i] < y && y < Y[i + 1])
            return value[i + 1] - (value[i + 1] - value[i]) * (Y[i + 1] - y) / (Y[i + 1] - Y[i]);
        if (Y[i] == y)
            return value[i];
    }
    if (Y[n - 1] == y)
        return value[n - 1];
    message = "ERROR: Get Area from curve failed at Y=" + base::FloatToStr(y);
    return 0.0;
}

double LongitudinalCurve::GetTotalArea() const
{
    double area = 0.0;
    for (std::size_t i = 0; i + 1 < Y.size(); ++i)
        area += (Y[i + 1] - Y[i]) * ((value[i] + value[i + 1]) * 0.5);
    return area;
}

double LongitudinalCurve::GetCentroid(std::string& message) const
{
    double moment = 0.0;
    double area = 0.0;
    for (std::size_t i = 0; i + 1 < Y.size(); ++i) {
        const double a = (Y[i + 1] - Y[i]) * ((value[i + 1] + value[i]) * 0.5);
        const double m = Y[i] + (Y[i + 1] - Y[i]) * 0.5;
        moment += m * a;
        area += a;
    }
    if (area >= 1e-8)
        return moment / area;
    message = "NOTE: Longitudinal area under curve is zero therefore 0.00 returned for LCB";
    return 0.0;
}

void LongitudinalCurve::Clear()
{
    Y.clear();
    value.clear();
}

}  // namespace core

#include "core/CurveSet.h"

#include <algorithm>

#include "base/StrUtils.h"

namespace core {

double CurveSet::GetArea(double y, unsigned n, std::string& message) const
{
    if (!IsIndexValid(n)) {
        message = "Error: Invalid Index (" + base::UIntToStr(n) +
                  ") used when getting data from longitudinal curve";
        return 0.0;
    }
    return curves[n].GetArea(y, message);
}

namespace {

bool IsStrictlyAscending(const LongitudinalCurve& c)
{
    if (c.value.size() != c.Y.size())
        return false;
    for (std::size_t i = 0; i < c.Y.size(); ++i) {
        if (c.Y[i] != c.Y[i])  // NaN
            return false;
        if (i > 0 && !(c.Y[i - 1] < c.Y[i]))
            return false;
    }
    return true;
}

}  // namespace

bool CurveSet::CreateFinalCurve(std::string& message)
{
    if (curves.empty()) {
        message = "Error: Invalid Index (0) used when creating a final longitudinal curve";
        return false;
    }
    finalCurve.Clear();
    if (!std::all_of(curves.begin(), curves.end(), IsStrictlyAscending))
        return CreateFinalCurveByScan(message);

    // One curve is its own sum.
    if (curves.size() == 1) {
        finalCurve.Y = curves[0].Y;
        finalCurve.value = curves[0].value;
        return true;
    }
    // Same sums as adding every Y with value 0 and then each curve's interpolated
    // value in curve order, but by sorting and one forward walk per curve instead
    // of a scan per point.
    std::vector<double> ys;
    std::size_t total = 0;
    for (const LongitudinalCurve& c : curves)
        total += c.Y.size();
    ys.reserve(total);
    for (const LongitudinalCurve& c : curves)
        ys.insert(ys.end(), c.Y.begin(), c.Y.end());
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    const std::size_t m = ys.size();
    std::vector<double> values(m, 0.0);
    for (const LongitudinalCurve& c : curves) {
        const std::size_t n = c.Y.size();
        if (n == 0) {
            if (m > 0)
                message = "Error: Get area from curve failed. No data in curve";
            continue;
        }
        std::size_t i = 0;
        for (std::size_t k = 0; k < m; ++k) {
            const double y = ys[k];
            if (c.Y[0] > y || !(y <= c.Y[n - 1]))
                continue;
            while (i + 1 < n && c.Y[i + 1] <= y)
                ++i;
            if (c.Y[i] == y)
                values[k] += c.value[i];
            else
                values[k] += c.value[i + 1] - (c.value[i + 1] - c.value[i]) * (c.Y[i + 1] - y) /
                                                  (c.Y[i + 1] - c.Y[i]);
        }
    }
    finalCurve.Y.assign(ys.begin(), ys.end());
    finalCurve.value.assign(values.begin(), values.end());
    return true;
}

bool CurveSet::CreateFinalCurveByScan(std::string& message)
{
    for (const LongitudinalCurve& c : curves)
        for (double y : c.Y)
            if (!finalCurve.AddArea(y, 0.0, message))
                return false;
    for (unsigned j = 0; j < curves.size(); ++j)
        for (std::size_t k = 0; k < finalCurve.Y.size(); ++k)
            finalCurve.AddArea(finalCurve.Y[k], GetArea(finalCurve.Y[k], j, message), message);
    return true;
}

void CurveSet::Clear()
{
    curves.clear();
    finalCurve.Clear();
}

}  // namespace core

#pragma once
// One longitudinal curve per appendage and their pointwise sum.
#include <string>
#include <vector>

#include "core/LongitudinalCurve.h"

namespace core {

class CurveSet {
public:
    std::vector<LongitudinalCurve> curves;
    LongitudinalCurve finalCurve;  // built by CreateFinalCurve

    CurveSet() = default;

    bool IsIndexValid(unsigned n) const { return n < curves.size(); }
    double GetArea(double y, unsigned n, std::string& message) const;
    // finalCurve becomes the sum over all curves of each one's value by linear
    // interpolation (0 outside a curve) at every Y that any curve holds.
    bool CreateFinalCurve(std::string& message);
    // No curves and an empty final curve.
    void Clear();

private:
    bool CreateFinalCurveByScan(std::string& message);
};

}  // namespace core

#pragma once
// Values per metre of length along Y (sectional area, or area x density), kept in
// strictly ascending Y.
#include <deque>
#include <string>

namespace core {

class LongitudinalCurve {
public:
    std::deque<double> Y;      // strictly ascending
    std::deque<double> value;  // value[i] belongs to Y[i]

    LongitudinalCurve() = default;

    // Inserts (y, v) in Y order, or adds v to the value already held at exactly y.
    bool AddArea(double y, double v, std::string& message);
    // Linear interpolation; 0 outside the curve.
    double GetArea(double y, std::string& message) const;
    // Trapezoid rule over the points.
    double GetTotalArea() const;
    // Y of the area's centroid, each strip counted at its mid-span.
    double GetCentroid(std::string& message) const;

    void Clear();
};

}  // namespace core

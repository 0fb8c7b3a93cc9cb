#include <cmath>

#include "core/Section.h"

namespace core {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

void RecomputeExtents(Section& s) {
    s.RecomputeMaxX();
    s.RecomputeMinX();
    s.RecomputeMaxZ();
    s.RecomputeMinZ();
}

}  // namespace

bool Section::Scale(double fx, double fz) {
    for (double& x : X) x *= fx;
    for (double& z : Z) z *= fz;
    RecomputeExtents(*this);
    return true;
}

bool Section::Move(double dx, double dz) {
    for (double& x : X) x += dx;
    for (double& z : Z) z += dz;
    RecomputeExtents(*this);
    return true;
}

bool Section::Rotate(double angle) {
    // Through polar coordinates; the sign is reversed so that +X goes down.
    const double d = (angle * -1) * kPi / 180;
    for (std::size_t k = 0; k < X.size(); ++k) {
        const double x = X[k];
        const double z = Z[k];
        const double r = std::sqrt(z * z + x * x);
        if (r == 0) continue;
        double theta;
        if (x >= 0)
            theta = z >= 0 ? std::acos(x / r) : kTwoPi - std::acos(x / r);
        else
            theta = z >= 0 ? kPi - std::asin(z / r) : std::atan(z / x) + kPi;
        theta += d;
        if (theta > kTwoPi) theta -= kTwoPi;
        X[k] = r * std::cos(theta);
        Z[k] = r * std::sin(theta);
    }
    RecomputeExtents(*this);
    return true;
}

}  // namespace core

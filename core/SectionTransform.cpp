#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

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

// Offsets made by f from each (x, z), taken only when all are finite.
template <class F>
bool Transform(Section& s, F f) {
    std::vector<double> xs(s.X.size()), zs(s.Z.size());
    const std::size_t n = std::min(xs.size(), zs.size());
    for (std::size_t k = 0; k < n; ++k) {
        f(s.X[k], s.Z[k], xs[k], zs[k]);
        if (!std::isfinite(xs[k]) || !std::isfinite(zs[k])) return false;
    }
    for (std::size_t k = n; k < xs.size(); ++k) xs[k] = s.X[k];
    for (std::size_t k = n; k < zs.size(); ++k) zs[k] = s.Z[k];
    s.X = std::move(xs);
    s.Z = std::move(zs);
    RecomputeExtents(s);
    return true;
}

}  // namespace

bool Section::Scale(double fx, double fz) {
    return Transform(*this, [&](double x, double z, double& ox, double& oz) {
        ox = x * fx;
        oz = z * fz;
    });
}

bool Section::Move(double dx, double dz) {
    return Transform(*this, [&](double x, double z, double& ox, double& oz) {
        ox = x + dx;
        oz = z + dz;
    });
}

bool Section::Rotate(double angle) {
    if (!std::isfinite(angle)) return false;
    // Through polar coordinates; the sign is reversed so that +X goes down.
    const double d = (angle * -1) * kPi / 180;
    return Transform(*this, [&](double x, double z, double& ox, double& oz) {
        const double r = std::sqrt(z * z + x * x);
        ox = x;
        oz = z;
        if (r == 0) return;
        double theta;
        if (x >= 0)
            theta = z >= 0 ? std::acos(x / r) : kTwoPi - std::acos(x / r);
        else
            theta = z >= 0 ? kPi - std::asin(z / r) : std::atan(z / x) + kPi;
        theta += d;
        if (theta > kTwoPi) theta -= kTwoPi;
        ox = r * std::cos(theta);
        oz = r * std::sin(theta);
    });
}

}  // namespace core

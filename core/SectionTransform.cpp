#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/Section.h"

namespace core {

namespace {

constexpr double kPi = 3.141592653589793;

// The four extents, as RecomputeMaxX and the others find them, in one pass over the offsets.
void RecomputeExtents(Section& s) {
    const std::size_t n = s.X.size();
    if (n == 0 || s.Z.size() != n) {
        s.RecomputeMaxX();
        s.RecomputeMinX();
        s.RecomputeMaxZ();
        s.RecomputeMinZ();
        return;
    }
    double maxX = s.X[0], minX = s.X[0], maxZ = s.Z[0], minZ = s.Z[0];
    for (std::size_t k = 1; k < n; ++k) {
        const double x = s.X[k], z = s.Z[k];
        maxX = x > maxX ? x : maxX;
        minX = x < minX ? x : minX;
        maxZ = z > maxZ ? z : maxZ;
        minZ = z < minZ ? z : minZ;
    }
    s.maxX = maxX;
    s.minX = minX;
    s.maxZ = maxZ;
    s.minZ = minZ;
}

// Offsets made by f from each (x, z), taken only when all are finite: a first pass checks
// them, a second writes them in place, so no offsets are copied.
template <class F>
bool Transform(Section& s, F f) {
    const std::size_t n = std::min(s.X.size(), s.Z.size());
    double ox, oz;
    for (std::size_t k = 0; k < n; ++k) {
        f(s.X[k], s.Z[k], ox, oz);
        if (!std::isfinite(ox) || !std::isfinite(oz)) return false;
    }
    for (std::size_t k = 0; k < n; ++k) {
        f(s.X[k], s.Z[k], ox, oz);
        s.X[k] = ox;
        s.Z[k] = oz;
    }
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
    // The sign is reversed so that +X goes down; sine and cosine once for every point.
    const double d = (angle * -1) * kPi / 180;
    const double c = std::cos(d), s = std::sin(d);
    return Transform(*this, [&](double x, double z, double& ox, double& oz) {
        if (x == 0 && z == 0) {  // the origin stays exactly where it is
            ox = x;
            oz = z;
            return;
        }
        ox = x * c - z * s;
        oz = x * s + z * c;
    });
}

}  // namespace core

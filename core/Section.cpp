#include "core/Section.h"

#include <cmath>

namespace core {

double Section::Snap(double v, double step) {
    // A step of 0, a negative or non-finite step, or a non-finite value: no snapping.
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(v)) return v;
    const double g = v < 0 ? -1.0 : 1.0;
    const double a = std::fabs(v);
    const double r = std::fmod(a, step);
    // The count of steps stays a double: it may lie beyond any integer type.
    const double steps = a / step;
    // More steps than a double holds (a tiny step): v is as near a multiple as it can be.
    if (!std::isfinite(steps)) return v;
    const double n = step * 0.5 > r ? std::floor(steps) : std::ceil(steps);
    // The multiple above the largest double gives way to the one below.
    const double snapped = std::isfinite(step * n) ? step * n : step * std::floor(steps);
    return g * snapped;
}

bool Section::AddOffset(double x, double z) {
    // A number that is not finite would reach the hydrostatics and no file could hold it.
    if (!std::isfinite(x) || !std::isfinite(z)) return false;
    X.push_back(x);
    Z.push_back(z);
    UpdateExtents(x, z);
    return true;
}

bool Section::AddOffsetSnapped(double x, double z, double xStep, double zStep) {
    return AddOffset(Snap(x, xStep), Snap(z, zStep));
}

bool Section::InsertOffset(unsigned i, double x, double z) {
    if (i >= X.size() || !std::isfinite(x) || !std::isfinite(z)) return false;
    X.insert(X.begin() + i, x);
    Z.insert(Z.begin() + i, z);
    UpdateExtents(x, z);
    return true;
}

bool Section::InsertOffsetSnapped(unsigned i, double x, double z, double xStep, double zStep) {
    return InsertOffset(i, Snap(x, xStep), Snap(z, zStep));
}

double Section::GetX(unsigned i) const { return i < X.size() ? X[i] : 0.0; }

double Section::GetZ(unsigned i) const { return i < Z.size() ? Z[i] : 0.0; }

unsigned Section::GetOffsetCount() const { return static_cast<unsigned>(X.size()); }

unsigned Section::CountNonNegativeX() const {
    unsigned n = 0;
    for (double v : X)
        if (v >= 0) ++n;
    return n;
}

int Section::SetY(double y) {
    if (!std::isfinite(y)) return 0;
    Y = y;
    return 1;
}

void Section::UpdateExtents(double x, double z) {
    if (X.size() == 1) {
        maxX = minX = x;
        maxZ = minZ = z;
    }
    if (x > maxX) maxX = x;
    if (x < minX) minX = x;
    if (z > maxZ) maxZ = z;
    if (z < minZ) minZ = z;
}

bool Section::ClearOffsets() {
    X.clear();
    Z.clear();
    maxX = maxZ = minX = minZ = 0;
    return true;
}

bool Section::DeleteOffset(unsigned i) {
    if (i >= X.size()) return false;
    X.erase(X.begin() + i);
    Z.erase(Z.begin() + i);
    if (!X.empty()) {
        RecomputeMaxX();
        RecomputeMinX();
        RecomputeMaxZ();
        RecomputeMinZ();
    }
    return true;
}

bool Section::SetX(unsigned i, double x) {
    if (i >= X.size() || !std::isfinite(x)) return false;
    X[i] = x;
    RecomputeMaxX();
    RecomputeMinX();
    return true;
}

bool Section::SetXSnapped(unsigned i, double x, double step) { return SetX(i, Snap(x, step)); }

bool Section::SetZ(unsigned i, double z) {
    if (i >= Z.size() || !std::isfinite(z)) return false;
    Z[i] = z;
    RecomputeMaxZ();
    RecomputeMinZ();
    return true;
}

bool Section::SetZSnapped(unsigned i, double z, double step) { return SetZ(i, Snap(z, step)); }

bool Section::MirrorHalf() {
    for (double v : X)
        if (v < 0) return false;
    const std::size_t n = X.size();
    if (n < 2) return false;
    // The last offset lies on the centreline and is not mirrored; offset 0 closes the outline.
    for (std::size_t k = n - 1; k-- > 0;) AddOffset(-X[k], Z[k]);
    return true;
}

namespace {

template <class Better>
void Recompute(const std::vector<double>& values, double& extent, Better better) {
    if (values.empty()) return;
    extent = values[0];
    for (std::size_t k = 1; k < values.size(); ++k)
        if (better(values[k], extent)) extent = values[k];
}

bool Greater(double a, double b) { return a > b; }
bool Less(double a, double b) { return a < b; }

}  // namespace

bool Section::RecomputeMaxX() {
    Recompute(X, maxX, Greater);
    return true;
}

bool Section::RecomputeMinX() {
    Recompute(X, minX, Less);
    return true;
}

bool Section::RecomputeMaxZ() {
    Recompute(Z, maxZ, Greater);
    return true;
}

bool Section::RecomputeMinZ() {
    Recompute(Z, minZ, Less);
    return true;
}

}  // namespace core

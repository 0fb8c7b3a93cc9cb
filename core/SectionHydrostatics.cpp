// Cutting a frame at a waterline height.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/ImmersedSection.h"
#include "core/Section.h"

namespace core {

namespace {

constexpr double kCrossingTolerance = 0.0005;

// Segment a -> b crosses height z. A point both at the keel and on the waterline
// never starts or ends a crossing, so a waterline at the keel cuts nothing.
inline bool Crosses(double a, double b, double z, double keel)
{
    const bool candidate = (a > z && b < z) || (a < z && b > z) || a == z;
    if (!candidate)
        return false;
    if (std::fabs(keel - a) < kCrossingTolerance && std::fabs(z - a) < kCrossingTolerance)
        return false;
    if (std::fabs(keel - b) < kCrossingTolerance && std::fabs(z - b) < kCrossingTolerance)
        return false;
    return true;
}

inline double XAt(double x0, double z0, double x1, double z1, double z)
{
    if (z0 == z)
        return x0;
    return x0 + (z - z0) * (x1 - x0) / (z1 - z0);
}

// Crossing positions of one cut; most frames cross a few times only.
class CrossingList {
public:
    void Add(double x)
    {
        if (count_ < kInline)
            inline_[count_] = x;
        else {
            if (count_ == kInline)
                more_.assign(inline_, inline_ + kInline);
            more_.push_back(x);
        }
        ++count_;
    }
    std::size_t Size() const { return count_; }
    double* Data() { return count_ <= kInline ? inline_ : more_.data(); }

private:
    static constexpr std::size_t kInline = 16;
    double inline_[kInline];
    std::vector<double> more_;
    std::size_t count_ = 0;
};

}  // namespace

bool Section::IsWithinTolerance(double a, double b, double tol)
{
    return std::fabs(a - b) < tol;
}

bool Section::CrossesWaterline(unsigned i, double z) const
{
    const std::size_t n = std::min(X.size(), Z.size());
    if (i >= n)
        return false;
    return Crosses(Z[i], Z[i + 1 < n ? i + 1 : 0], z, minZ);
}

double Section::GetXAtWaterline(unsigned i, double z) const
{
    const std::size_t n = std::min(X.size(), Z.size());
    if (i >= n)
        return 0;
    const std::size_t j = i + 1 < n ? i + 1 : 0;
    return XAt(X[i], Z[i], X[j], Z[j], z);
}

bool Section::ClipAtWaterline(double z, ImmersedSection& r, std::vector<double>& xs,
                              std::vector<double>& zs) const
{
    xs.clear();
    zs.clear();
    r = ImmersedSection();
    r.waterlineZ = z;

    const std::size_t n = std::min(X.size(), Z.size());
    CrossingList crossings;
    // Shoelace sums, accumulated as the immersed outline is built.
    double s = 0, sx = 0, sz = 0;
    auto append = [&](double x, double zz) {
        if (!xs.empty()) {
            const double px = xs.back(), pz = zs.back();
            const double c = px * zz - x * pz;
            s += c;
            sx += c * (px + x);
            sz += c * (pz + zz);
        }
        xs.push_back(x);
        zs.push_back(zz);
    };

    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = i + 1 < n ? i + 1 : 0;
        if (!(Z[i] >= z))
            append(X[i], Z[i]);
        if (Crosses(Z[i], Z[j], z, minZ)) {
            const double x = XAt(X[i], Z[i], X[j], Z[j], z);
            append(x, z);
            crossings.Add(x);
        }
    }
    r.crossings = static_cast<std::int32_t>(crossings.Size());

    // Pair crossings by position across the frame, so that the waterline segments do
    // not depend on where or in which direction the outline starts.
    double* cx = crossings.Data();
    const std::size_t nc = crossings.Size();
    std::sort(cx, cx + nc);
    if (nc > 0) {
        r.waterlineMinX = cx[0];
        r.waterlineMaxX = cx[nc - 1];
    }
    for (std::size_t k = 0; k + 1 < nc; k += 2) {
        const double w = std::fabs(cx[k + 1] - cx[k]);
        const double m = (cx[k + 1] + cx[k]) * 0.5;
        r.waterlineBreadth += w;
        r.breadthMoment += m * w;
        r.breadthInertia += w * w * w * (1.0 / 12) + m * m * w;
    }
    const double c = r.waterlineBreadth > 1e-10 ? r.breadthMoment / r.waterlineBreadth : 0.0;
    r.breadthInertia -= c * c * r.waterlineBreadth;

    if (xs.size() < 3) {
        r = ImmersedSection();
        return true;
    }
    {
        const double px = xs.back(), pz = zs.back();
        const double x = xs.front(), zz = zs.front();
        const double cr = px * zz - x * pz;
        s += cr;
        sx += cr * (px + x);
        sz += cr * (pz + zz);
    }
    r.area = std::fabs(s * 0.5);
    if (r.area > 0) {
        r.centroidX = sx / (3 * s);
        r.centroidZ = sz / (3 * s);
    }
    r.clockwise = !(s >= 0);
    return true;
}

}  // namespace core

// Cutting a frame at a waterline height.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/ImmersedSection.h"
#include "core/Section.h"

namespace core {

namespace {

// Segment a -> b crosses height z when one end lies strictly below it and the other at or
// above it. Offsets at the height count as above, as the cut drops them: an outline that
// only touches the waterline (a vertex, or an edge lying in it) is not cut there, and the
// cut at a vertex's height is the limit of the cuts just below it.
inline bool Crosses(double a, double b, double z)
{
    return (a < z) != (b < z);
}

inline double XAt(double x0, double z0, double x1, double z1, double z)
{
    if (z0 == z)
        return x0;
    if (z1 == z)
        return x1;
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
    return Crosses(Z[i], Z[i + 1 < n ? i + 1 : 0], z);
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
    r = ImmersedSection();
    r.waterlineZ = z;
    const std::size_t n = std::min(X.size(), Z.size());
    // Room for every offset and a crossing on every segment; trimmed to the outline below.
    xs.resize(2 * n);
    zs.resize(2 * n);
    double* const ox = xs.data();
    double* const oz = zs.data();
    std::size_t m = 0;
    CrossingList crossings;
    const double* const px = X.data();
    const double* const pz = Z.data();
    std::size_t i = 0;
    while (i < n) {
        // Segments whose ends lie strictly on one side of z neither cross it nor change
        // which offsets are kept: take the run of them as a block.
        std::size_t k = i;
        double dk = pz[k] - z;
        while (k + 1 < n) {
            const double next = pz[k + 1] - z;
            if (!(dk * next > 0))
                break;
            dk = next;
            ++k;
        }
        // Offsets on or above the waterline drop out of the immersed outline.
        if (k > i && !(pz[i] >= z)) {
            std::copy(px + i, px + k, ox + m);
            std::copy(pz + i, pz + k, oz + m);
            m += k - i;
        }
        // Offset k and the segment from it, which may cross.
        if (!(pz[k] >= z)) {
            ox[m] = px[k];
            oz[m] = pz[k];
            ++m;
        }
        const std::size_t j = k + 1 < n ? k + 1 : 0;
        if (Crosses(pz[k], pz[j], z)) {
            const double x = XAt(px[k], pz[k], px[j], pz[j], z);
            ox[m] = x;
            oz[m] = z;
            ++m;
            crossings.Add(x);
        }
        i = k + 1;
    }
    xs.resize(m);
    zs.resize(m);
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
        const double mid = (cx[k + 1] + cx[k]) * 0.5;
        r.waterlineBreadth += w;
        r.breadthMoment += mid * w;
        r.breadthInertia += w * w * w * (1.0 / 12) + mid * mid * w;
    }
    const double c = r.waterlineBreadth > 1e-10 ? r.breadthMoment / r.waterlineBreadth : 0.0;
    r.breadthInertia -= c * c * r.waterlineBreadth;

    if (m < 3) {
        r = ImmersedSection();
        return true;
    }
    // Shoelace sums over the immersed outline, closed from its last point to its first,
    // in two interleaved halves for speed.
    double s[2] = {0, 0}, sx[2] = {0, 0}, sz[2] = {0, 0};
    std::size_t k = 0;
    for (; k + 2 < m; k += 2) {
        const double c0 = ox[k] * oz[k + 1] - ox[k + 1] * oz[k];
        const double c1 = ox[k + 1] * oz[k + 2] - ox[k + 2] * oz[k + 1];
        s[0] += c0;
        s[1] += c1;
        sx[0] += c0 * (ox[k] + ox[k + 1]);
        sx[1] += c1 * (ox[k + 1] + ox[k + 2]);
        sz[0] += c0 * (oz[k] + oz[k + 1]);
        sz[1] += c1 * (oz[k + 1] + oz[k + 2]);
    }
    for (; k < m; ++k) {
        const std::size_t l = k + 1 < m ? k + 1 : 0;
        const double c = ox[k] * oz[l] - ox[l] * oz[k];
        s[0] += c;
        sx[0] += c * (ox[k] + ox[l]);
        sz[0] += c * (oz[k] + oz[l]);
    }
    const double sum = s[0] + s[1];
    r.area = std::fabs(sum * 0.5);
    if (r.area > 0) {
        r.centroidX = (sx[0] + sx[1]) / (3 * sum);
        r.centroidZ = (sz[0] + sz[1]) / (3 * sum);
    }
    r.clockwise = !(sum >= 0);
    return true;
}

}  // namespace core

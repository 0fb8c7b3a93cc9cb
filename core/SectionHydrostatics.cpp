// Cutting a frame at a waterline height.
#include <algorithm>
#include <cmath>
#include <cstring>
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

namespace {

// The shoelace sums of a polygon given point by point, closed from its last point to its
// first: S = sum of cross_k, SX = sum of cross_k (x_k + x_k+1), SZ likewise with z. Each
// sum runs in two halves so that the additions need not wait on one another.
struct Shoelace {
    double s[2] = {0, 0}, sx[2] = {0, 0}, sz[2] = {0, 0};
    double x0 = 0, z0 = 0, px = 0, pz = 0;
    std::size_t count = 0;

    void Edge(int h, double xa, double za, double xb, double zb)
    {
        const double c = xa * zb - xb * za;
        s[h] += c;
        sx[h] += c * (xa + xb);
        sz[h] += c * (za + zb);
    }
    void Add(double x, double z)
    {
        if (count++ == 0) {
            x0 = x;
            z0 = z;
        } else {
            Edge(0, px, pz, x, z);
        }
        px = x;
        pz = z;
    }
    void Close()
    {
        if (count > 0)
            Edge(1, px, pz, x0, z0);
    }
    double S() const { return s[0] + s[1]; }
    double SX() const { return sx[0] + sx[1]; }
    double SZ() const { return sz[0] + sz[1]; }
};

// Two doubles side by side, for two edges at once (plain code where there is no SIMD).
typedef double Pair __attribute__((vector_size(16)));

inline Pair LoadPair(const double* p)
{
    Pair v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The edges of the run of offsets below w that starts at offset k, added to the sums;
// returns the run's last offset. Kept apart from the cut, so that its sums stay in
// registers; several edges at a time.
[[gnu::noinline]] std::size_t AddRunBelow(const double* x, const double* z, std::size_t k, std::size_t n,
                                          double w, double sums[3])
{
    Pair s = {0, 0}, sx = {0, 0}, sz = {0, 0};
    Pair t = {0, 0}, tx = {0, 0}, tz = {0, 0};
    const Pair wl = {w, w};
    // Four edges at a time in two sets of sums, then two.
    while (k + 4 < n) {
        const Pair z1 = LoadPair(z + k + 1), z3 = LoadPair(z + k + 3);
        const auto below = (z1 < wl) & (z3 < wl);
        if (!(below[0] & below[1]))
            break;
        const Pair x0 = LoadPair(x + k), x1 = LoadPair(x + k + 1), z0 = LoadPair(z + k);
        const Pair x2 = LoadPair(x + k + 2), x3 = LoadPair(x + k + 3), z2 = LoadPair(z + k + 2);
        const Pair c = x0 * z1 - x1 * z0;
        const Pair d = x2 * z3 - x3 * z2;
        s += c;
        t += d;
        sx += c * (x0 + x1);
        tx += d * (x2 + x3);
        sz += c * (z0 + z1);
        tz += d * (z2 + z3);
        k += 4;
    }
    s += t;
    sx += tx;
    sz += tz;
    while (k + 2 < n) {
        const Pair z1 = LoadPair(z + k + 1);
        const auto below = z1 < wl;
        if (!(below[0] & below[1]))
            break;
        const Pair x0 = LoadPair(x + k), x1 = LoadPair(x + k + 1), z0 = LoadPair(z + k);
        const Pair c = x0 * z1 - x1 * z0;
        s += c;
        sx += c * (x0 + x1);
        sz += c * (z0 + z1);
        k += 2;
    }
    double s0 = s[0] + s[1], sx0 = sx[0] + sx[1], sz0 = sz[0] + sz[1];
    if (k + 1 < n && z[k + 1] < w) {
        const double c = x[k] * z[k + 1] - x[k + 1] * z[k];
        s0 += c;
        sx0 += c * (x[k] + x[k + 1]);
        sz0 += c * (z[k] + z[k + 1]);
        ++k;
    }
    sums[0] += s0;
    sums[1] += sx0;
    sums[2] += sz0;
    return k;
}

// The last offset of the run on or above w that starts at offset k, looked at four at a
// time.
[[gnu::noinline]] std::size_t SkipRunAbove(const double* z, std::size_t k, std::size_t n, double w)
{
    const Pair wl = {w, w};
    while (k + 4 < n) {
        const auto above = (LoadPair(z + k + 1) >= wl) & (LoadPair(z + k + 3) >= wl);
        if (!(above[0] & above[1]))
            break;
        k += 4;
    }
    while (k + 1 < n && !(z[k + 1] < w))
        ++k;
    return k;
}

// Cuts the outline (x, z) of n offsets at height w in one pass: the immersed outline runs
// through the offsets below w and the crossing points, in outline order. Its points also
// go to xs and zs when given.
void Cut(const double* x, const double* z, std::size_t n, double w, ImmersedSection& r,
         std::vector<double>* xs, std::vector<double>* zs)
{
    r = ImmersedSection();
    r.waterlineZ = w;
    Shoelace poly;
    CrossingList crossings;
    double runs[3] = {0, 0, 0};
    std::size_t k = 0;
    while (k < n) {
        if (z[k] < w) {
            const std::size_t first = k;
            poly.Add(x[k], z[k]);
            k = AddRunBelow(x, z, k, n, w, runs);
            poly.count += k - first;
            poly.px = x[k];
            poly.pz = z[k];
            if (xs) {
                xs->insert(xs->end(), x + first, x + k + 1);
                zs->insert(zs->end(), z + first, z + k + 1);
            }
        } else {
            // Offsets on or above it drop out.
            k = SkipRunAbove(z, k, n, w);
        }
        // The segment from offset k to the next, which may cross.
        const std::size_t j = k + 1 < n ? k + 1 : 0;
        if (Crosses(z[k], z[j], w)) {
            const double cx = XAt(x[k], z[k], x[j], z[j], w);
            poly.Add(cx, w);
            if (xs) {
                xs->push_back(cx);
                zs->push_back(w);
            }
            crossings.Add(cx);
        }
        ++k;
    }
    poly.s[1] += runs[0];
    poly.sx[1] += runs[1];
    poly.sz[1] += runs[2];
    poly.Close();
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
    for (std::size_t c = 0; c + 1 < nc; c += 2) {
        const double width = std::fabs(cx[c + 1] - cx[c]);
        const double mid = (cx[c + 1] + cx[c]) * 0.5;
        r.waterlineBreadth += width;
        r.breadthMoment += mid * width;
        r.breadthInertia += width * width * width * (1.0 / 12) + mid * mid * width;
    }
    const double centre = r.waterlineBreadth > 1e-10 ? r.breadthMoment / r.waterlineBreadth : 0.0;
    r.breadthInertia -= centre * centre * r.waterlineBreadth;

    if (poly.count < 3) {
        r = ImmersedSection();
        return;
    }
    const double sum = poly.S();
    r.area = std::fabs(sum * 0.5);
    if (r.area > 0) {
        r.centroidX = poly.SX() / (3 * sum);
        r.centroidZ = poly.SZ() / (3 * sum);
    }
    r.clockwise = !(sum >= 0);
}

}  // namespace

bool Section::ClipAtWaterline(double z, ImmersedSection& r, std::vector<double>& xs,
                              std::vector<double>& zs) const
{
    const std::size_t n = std::min(X.size(), Z.size());
    xs.clear();
    zs.clear();
    xs.reserve(2 * n);
    zs.reserve(2 * n);
    Cut(X.data(), Z.data(), n, z, r, &xs, &zs);
    return true;
}

void Section::CutAtWaterline(double z, ImmersedSection& r) const
{
    Cut(X.data(), Z.data(), std::min(X.size(), Z.size()), z, r, nullptr, nullptr);
}

}  // namespace core

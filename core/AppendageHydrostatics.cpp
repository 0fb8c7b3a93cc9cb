// Hydrostatics of one appendage: frame cuts combined pair by pair with the trapezoid rule.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/Appendage.h"
#include "core/HydroData.h"
#include "core/ImmersedSection.h"

namespace core {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kPierce = 1e-6;       // waterline breadth of a frame that pierces the waterline
constexpr double kSliver = 0.001;      // depth of the cut that gives the breadth at a dry end
constexpr double kCurveEnd = 1e-10;    // offset of the end points of the curves

// Weighted spread of strip centres about their mean (West's update), for the parallel-axis
// part of the transverse inertia.
struct WeightedSpread {
    double weight = 0;
    double mean = 0;
    double sum = 0;  // sum of weight x (centre - mean)^2
    void Add(double w, double centre)
    {
        if (!(w > 0))
            return;
        weight += w;
        const double delta = centre - mean;
        mean += delta * w / weight;
        sum += w * delta * (centre - mean);
    }
};

// The two frames of one pair: their Y, keel (k) and top (t) heights, the waterline's
// height over each (w) and their cuts at that waterline (a, b).
struct FramePair {
    const Section& f0;
    const Section& f1;
    double y0, y1, k0, k1, t0, t1, w0, w1;
    const ImmersedSection& a;
    const ImmersedSection& b;
};

// Where the strips of one pair end: the volume strip runs from (y0, va) to (y1, vb), split
// at ySplit when an end lies wholly under water; the waterplane strip runs from (wy0, wa)
// to (wy1, wb).
struct StripEnds {
    double y0, y1;
    const ImmersedSection* va;
    const ImmersedSection* vb;
    bool split = false;
    double ySplit = 0;
    double wy0, wy1;
    const ImmersedSection* wa;
    const ImmersedSection* wb;
};

class Integrator {
public:
    Integrator(const Appendage& body, double draught, double trim, bool curves, HydroData& r)
        : body_(body), d_(draught), r_(r), curves_(curves)
    {
        const double theta = trim * kPi * (1.0 / 180);
        tan_ = std::tan(theta);
        cos_ = std::cos(theta);
        rho_ = body.density;
    }

    void Run();

private:
    void Cut(const Section& f, double z, ImmersedSection& rec) { f.CutAtWaterline(z, rec); }
    bool FindEnds(const FramePair& p, StripEnds& e);
    void EndAtWaterline(const FramePair& p, int end, StripEnds& e);
    void ThroughPair(const FramePair& p, int wet, StripEnds& e);
    void WidenY(const StripEnds& e);
    void AddStrips(const StripEnds& e, bool first, bool last);
    void AddStrip(double y0, double y1, const ImmersedSection& a, const ImmersedSection& b);
    void AddPoint(double y, double area);
    void AddWaterplane(double y0, double y1, const ImmersedSection& a, const ImmersedSection& b);
    void WidenX(const ImmersedSection& rec);
    void Finish();

    const Appendage& body_;
    double d_, tan_, cos_, rho_;
    HydroData& r_;
    bool curves_;
    std::string message_;  // the curves' messages are not used

    double v_ = 0, lcbM_ = 0, vcbM_ = 0, tcbM_ = 0;
    double wpa_ = 0, lcfM_ = 0, tcfM_ = 0, iT_ = 0, iY_ = 0;
    WeightedSpread stripCentres_;
    bool waterlineSeen_ = false;
    bool xSeen_ = false;

    // Cuts that strip ends point to, reused from pair to pair.
    ImmersedSection sliver_, keelSliver_, full_, between_;
};
void Integrator::AddPoint(double y, double area)
{
    if (!curves_)
        return;
    r_.buoyancyCurves.finalCurve.AddArea(y, area * rho_, message_);
    r_.areaCurves.finalCurve.AddArea(y, area, message_);
}

// Volume, centres of buoyancy and the curve point of one strip between two cuts.
void Integrator::AddStrip(double y0, double y1, const ImmersedSection& a, const ImmersedSection& b)
{
    const double dy = y1 - y0;
    const double ym = (y1 + y0) * 0.5;
    const double mean = (a.area + b.area) * 0.5;
    AddPoint(ym, mean);
    const double v = mean * dy;
    double zs = 0, xs = 0;
    if (a.area + b.area != 0) {
        zs = (a.centroidZ * a.area + b.centroidZ * b.area) / (a.area + b.area);
        xs = (a.centroidX * a.area + b.centroidX * b.area) / (a.area + b.area);
    }
    vcbM_ += v * zs;
    tcbM_ += v * xs;
    lcbM_ += (y0 + y1) * v * 0.5;
    v_ += mean * dy;
}

// Waterplane area, centre and second moments of one strip on the inclined waterplane.
void Integrator::AddWaterplane(double y0, double y1, const ImmersedSection& a, const ImmersedSection& b)
{
    const double breadth = (a.waterlineBreadth + b.waterlineBreadth) * 0.5;
    if (breadth > kPierce)
        waterlineSeen_ = true;
    WidenX(a);
    WidenX(b);
    const double ym = (y1 + y0) * 0.5;
    const double len = (y1 - y0) / cos_;
    iT_ += len * (a.breadthInertia + b.breadthInertia) * 0.5;
    lcfM_ += len * breadth * ym;
    wpa_ += len * breadth;
    const double moment = len * (a.breadthMoment + b.breadthMoment) * 0.5;
    tcfM_ += moment;
    if (len * breadth > 0)
        stripCentres_.Add(len * breadth, moment / (len * breadth));
    // Arms along the inclined waterplane, as the strip's own length is.
    const double arm = ym / cos_;
    iY_ += breadth * len * len * len * (1.0 / 12) + breadth * len * arm * arm;
}

void Integrator::WidenX(const ImmersedSection& rec)
{
    if (!(rec.waterlineBreadth > kPierce))
        return;
    if (!xSeen_ || rec.waterlineMinX < r_.waterlineMinX)
        r_.waterlineMinX = rec.waterlineMinX;
    if (!xSeen_ || rec.waterlineMaxX > r_.waterlineMaxX)
        r_.waterlineMaxX = rec.waterlineMaxX;
    xSeen_ = true;
}

// A cut of the full section at position t (0 at the first record, 1 at the second) between
// two full cuts: area and area moments taken linearly, as the strip rule takes them.
ImmersedSection FullSectionBetween(const ImmersedSection& a, const ImmersedSection& b, double t)
{
    ImmersedSection m;
    m.area = a.area * (1 - t) + b.area * t;
    if (m.area > 0) {
        m.centroidZ = (a.centroidZ * a.area * (1 - t) + b.centroidZ * b.area * t) / m.area;
        m.centroidX = (a.centroidX * a.area * (1 - t) + b.centroidX * b.area * t) / m.area;
    }
    return m;
}

// Y where the waterline (y0, w0)-(y1, w1) meets the line (y0, r0)-(y1, r1), kept within
// the pair; the fallback when the lines are parallel.
double LineCrossing(double y0, double w0, double y1, double w1, double r0, double r1, double fallback)
{
    double y, z, p, q, det;
    Appendage::IntersectSegments(y0, w0, y1, w1, y0, r0, y1, r1, y, z, p, q, det);
    if (det == 0 || std::isnan(y))
        return fallback;
    return std::min(std::max(y, std::min(y0, y1)), std::max(y0, y1));
}

// One end frame is dry or wholly under water (end: 0 for f0, 1 for f1): the waterline ends
// where it meets the keel line, or the top line.
void Integrator::EndAtWaterline(const FramePair& p, int end, StripEnds& e)
{
    const Section& fe = end == 0 ? p.f0 : p.f1;
    const Section& fo = end == 0 ? p.f1 : p.f0;
    const double ke = end == 0 ? p.k0 : p.k1, te = end == 0 ? p.t0 : p.t1, to = end == 0 ? p.t1 : p.t0;
    const bool submerged = (end == 0 ? p.w0 : p.w1) >= te;
    const double r0 = submerged ? p.t0 : p.k0, r1 = submerged ? p.t1 : p.k1;
    double yx, zx, u, v, det;
    if (!Appendage::IntersectSegments(p.y0, p.w0, p.y1, p.w1, p.y0, r0, p.y1, r1, yx, zx, u, v, det))
        return;
    const ImmersedSection*& ve = end == 0 ? e.va : e.vb;
    const ImmersedSection*& we = end == 0 ? e.wa : e.wb;
    double& ye = end == 0 ? e.y0 : e.y1;
    double& wye = end == 0 ? e.wy0 : e.wy1;
    if (!submerged) {
        // The body leaves the water at yx: no immersed area there, and the
        // waterline breadth of a sliver just above the keel.
        Cut(fe, ke + kSliver, sliver_);
        sliver_.area = 0;
        ve = we = &sliver_;
        ye = wye = yx;
    } else {
        // Under water up to yx the whole section counts; the waterplane ends at
        // yx with the breadth just below the frame's top.
        Cut(fe, te - kSliver, sliver_);
        // At a frame the plain pair already holds the full section there.
        if (yx > p.y0 && yx < p.y1) {
            Cut(fo, to + 1, full_);
            const double t = (yx - p.y0) / (p.y1 - p.y0);
            between_ = end == 0 ? FullSectionBetween(p.a, full_, t) : FullSectionBetween(full_, p.b, t);
            e.split = true;
            e.ySplit = yx;
        }
        we = &sliver_;
        wye = yx;
    }
}

// Neither frame pierces the waterline: one (wet) lies wholly under water, the other is
// dry. The waterline crosses the top line at yt and the keel line at yk; the whole
// section counts up to yt, none beyond yk, and the waterplane runs between them.
void Integrator::ThroughPair(const FramePair& p, int wet, StripEnds& e)
{
    const Section& fs = wet == 0 ? p.f0 : p.f1;
    const Section& fd = wet == 0 ? p.f1 : p.f0;
    const double yt = LineCrossing(p.y0, p.w0, p.y1, p.w1, p.t0, p.t1, wet == 0 ? p.y0 : p.y1);
    const double yk = LineCrossing(p.y0, p.w0, p.y1, p.w1, p.k0, p.k1, wet == 0 ? p.y1 : p.y0);
    Cut(fs, (wet == 0 ? p.t0 : p.t1) - kSliver, sliver_);
    Cut(fd, (wet == 0 ? p.k1 : p.k0) + kSliver, keelSliver_);
    keelSliver_.area = 0;
    Cut(fd, (wet == 0 ? p.t1 : p.t0) + 1, full_);
    const double t = p.y1 > p.y0 ? (yt - p.y0) / (p.y1 - p.y0) : 0;
    between_ = wet == 0 ? FullSectionBetween(p.a, full_, t) : FullSectionBetween(full_, p.b, t);
    if (wet == 0) {
        e.vb = e.wb = &keelSliver_;
        e.y1 = e.wy1 = yk;
        e.wa = &sliver_;
        e.wy0 = yt;
    } else {
        e.va = e.wa = &keelSliver_;
        e.y0 = e.wy0 = yk;
        e.wb = &sliver_;
        e.wy1 = yt;
    }
    // Against the volume strip's new ends.
    if (yt > e.y0 && yt < e.y1) {
        e.split = true;
        e.ySplit = yt;
    }
}

// Moves the strip ends of a pair whose frames do not both pierce the waterline; true when
// the waterplane has ends in this pair.
bool Integrator::FindEnds(const FramePair& p, StripEnds& e)
{
    const double bA = p.a.waterlineBreadth, bB = p.b.waterlineBreadth;
    if (bA > kPierce && bB > kPierce)
        return true;
    if (!(bA >= kPierce) && bB > kPierce) {
        EndAtWaterline(p, 0, e);
        return true;
    }
    if (bA > kPierce && !(bB >= kPierce)) {
        EndAtWaterline(p, 1, e);
        return true;
    }
    if (!(bA >= kPierce) && !(bB >= kPierce) && p.y1 > p.y0) {
        const bool underA = p.w0 >= p.t0, underB = p.w1 >= p.t1;
        if (underA && !underB && p.b.area == 0) {
            ThroughPair(p, 0, e);
            return true;
        }
        if (underB && !underA && p.a.area == 0) {
            ThroughPair(p, 1, e);
            return true;
        }
    }
    return false;
}

// The waterline's extent along Y on the inclined waterplane.
void Integrator::WidenY(const StripEnds& e)
{
    if (!waterlineSeen_ || e.wy0 / cos_ < r_.waterlineMinY)
        r_.waterlineMinY = e.wy0 / cos_;
    if (!waterlineSeen_ || e.wy1 / cos_ > r_.waterlineMaxY)
        r_.waterlineMaxY = e.wy1 / cos_;
    waterlineSeen_ = true;
}

// The volume strips of one pair; the curves' end points at the first and last pair.
void Integrator::AddStrips(const StripEnds& e, bool first, bool last)
{
    if (e.split) {
        AddStrip(e.y0, e.ySplit, *e.va, between_);
        AddStrip(e.ySplit, e.y1, between_, *e.vb);
        AddPoint(e.ySplit, between_.area);
    } else {
        AddStrip(e.y0, e.y1, *e.va, *e.vb);
    }
    if (first)
        AddPoint(e.y0 + kCurveEnd, e.va->area);
    if (last)
        AddPoint(e.y1 - kCurveEnd, e.vb->area);
}

void Integrator::Run()
{
    const std::vector<Section>& frames = body_.frames;
    const std::size_t count = frames.size();
    ImmersedSection cut[2];
    Cut(frames[0], d_ + frames[0].Y * tan_, cut[0]);

    for (std::size_t i = 1; i < count; ++i) {
        const Section& f0 = frames[i - 1];
        const Section& f1 = frames[i];
        const double y0 = f0.Y, y1 = f1.Y;
        const ImmersedSection& a = cut[(i - 1) & 1];
        ImmersedSection& b = cut[i & 1];
        const FramePair p{f0, f1, y0, y1, f0.minZ, f1.minZ, f0.maxZ, f1.maxZ,
                          d_ + y0 * tan_, d_ + y1 * tan_, a, b};
        Cut(f1, p.w1, b);

        StripEnds e{y0, y1, &a, &b, false, 0, y0, y1, &a, &b};
        if (FindEnds(p, e))
            WidenY(e);
        AddStrips(e, i == 1, i == count - 1);
        AddWaterplane(e.wy0, e.wy1, *e.wa, *e.wb);
    }
    Finish();
}

// The body's figures from the sums.
void Integrator::Finish()
{
    HydroData& r = r_;
    r.volume = v_;
    r.displacement = v_ * rho_;
    r.LCB = v_ > 0 ? lcbM_ / v_ : 0;
    r.VCB = v_ != 0 ? vcbM_ / v_ : 0;
    r.TCB = v_ != 0 ? tcbM_ / v_ : 0;
    if (wpa_ == 0) {
        r.LCF = r.WPA = r.TCF = 0;
    } else {
        r.LCF = lcfM_ / wpa_;
        r.WPA = wpa_;
        r.TCF = tcfM_ / wpa_;
    }
    r.TPI = rho_ * r.WPA * 0.01;
    // Each strip's inertia about its own waterline centre, moved to the body's TCF.
    r.I_T = iT_ + stripCentres_.sum;
    const double lcfArm = r.LCF / cos_;
    r.I_L = iY_ - lcfArm * lcfArm * r.WPA;
    if (r.volume == 0) {
        r.KML = r.KMT = 0;
    } else {
        r.KML = r.I_L / v_ + r.VCB;
        r.KMT = r.I_T / v_ + r.VCB;
    }
    const double span = body_.fp - body_.ap;
    r.MCT1cm = span == 0 ? 0 : rho_ * r.I_L / (100 * span);
    if (waterlineSeen_) {
        AddPoint(cos_ * r.waterlineMinY, 0);
        AddPoint(cos_ * r.waterlineMaxY, 0);
    }
}

}  // namespace

bool Appendage::IntersectSegments(double y1, double z1, double y2, double z2, double y3, double z3,
                                  double y4, double z4, double& y, double& z, double& p, double& q,
                                  double& det)
{
    det = (y2 - y1) * (z4 - z3) - (z2 - z1) * (y4 - y3);
    if (det == 0)
        return false;
    p = ((z1 - z3) * (y4 - y3) - (y1 - y3) * (z4 - z3)) / det;
    q = ((z1 - z3) * (y2 - y1) - (y1 - y3) * (z2 - z1)) / det;
    y = y1 + (y2 - y1) * p;
    z = z1 + (z2 - z1) * p;
    return p >= 0 && p <= 1 && q >= 0 && q <= 1;
}

bool Appendage::FramesAscend() const
{
    for (std::size_t k = 1; k < frames.size(); ++k)
        if (!(frames[k - 1].Y <= frames[k].Y))
            return false;
    return true;
}

bool Appendage::GetHydroStatics(double draught, double trim, HydroData& result, bool curves) const
{
    // The strips between frames out of order would add up to a wrong volume.
    if (frames.size() < 2 || !FramesAscend())
        return false;
    result.draught = draught;
    Integrator(*this, draught, trim, curves, result).Run();
    result.trim = trim;
    return true;
}

}  // namespace core

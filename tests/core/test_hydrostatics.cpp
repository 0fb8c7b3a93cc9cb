// Frame cuts, segment intersection and the hydrostatics of one appendage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "HullFixtures.h"
#include "core/Appendage.h"
#include "core/HydroData.h"
#include "core/ImmersedSection.h"
#include "core/Section.h"

using core::Appendage;
using core::HydroData;
using core::ImmersedSection;
using core::Section;

namespace {

using fixtures::BoxOffsets;
using fixtures::MakeFrame;
using fixtures::Offsets;

Appendage Body(const std::vector<Section>& frames, double density = 1.0)
{
    Appendage a;
    a.frames = frames;
    a.density = density;
    return a;
}

ImmersedSection Cut(const Section& s, double z)
{
    ImmersedSection r;
    std::vector<double> xs, zs;
    s.ClipAtWaterline(z, r, xs, zs);
    return r;
}

std::vector<std::pair<double, double>> Points(const core::LongitudinalCurve& c)
{
    std::vector<std::pair<double, double>> p;
    for (std::size_t i = 0; i < c.Y.size(); ++i)
        p.emplace_back(c.Y[i], c.value[i]);
    return p;
}

void ExpectPoints(const core::LongitudinalCurve& c, const std::vector<std::pair<double, double>>& want,
                  double tol = 1e-12)
{
    const auto got = Points(c);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got[i].first, want[i].first, 1e-13) << "point " << i;
        EXPECT_NEAR(got[i].second, want[i].second, tol) << "point " << i;
    }
}

const double kTol = 1e-12;

}  // namespace

// ---- cutting one frame ---------------------------------------------------------------

TEST(ClipAtWaterline, BoxFrameAtHalfDepth)
{
    const Section s = MakeFrame(0, BoxOffsets(-1, 1, 0, 2));
    ImmersedSection r;
    std::vector<double> xs{9, 9}, zs{9};
    EXPECT_TRUE(s.ClipAtWaterline(1, r, xs, zs));
    EXPECT_EQ(r.waterlineZ, 1);
    EXPECT_NEAR(r.area, 2, kTol);
    EXPECT_NEAR(r.centroidZ, 0.5, kTol);
    EXPECT_NEAR(r.centroidX, 0, kTol);
    EXPECT_NEAR(r.waterlineBreadth, 2, kTol);
    EXPECT_NEAR(r.breadthMoment, 0, kTol);
    EXPECT_NEAR(r.breadthInertia, 2.0 / 3, kTol);
    EXPECT_EQ(r.waterlineMinX, -1);
    EXPECT_EQ(r.waterlineMaxX, 1);
    EXPECT_EQ(r.crossings, 2);
    EXPECT_FALSE(r.clockwise);
    // The immersed outline: both keel offsets and the two crossings, in outline order.
    EXPECT_EQ(xs, (std::vector<double>{-1, 1, 1, -1}));
    EXPECT_EQ(zs, (std::vector<double>{0, 0, 1, 1}));
}

TEST(ClipAtWaterline, AtTheKeelNothingIsCut)
{
    const ImmersedSection r = Cut(MakeFrame(0, BoxOffsets(-1, 1, 0, 2)), 0);
    EXPECT_EQ(r.area, 0);
    EXPECT_EQ(r.waterlineBreadth, 0);
    EXPECT_EQ(r.crossings, 0);
    EXPECT_EQ(r.waterlineZ, 0);
    // Just above the keel the thin strip is cut whole: no jump there.
    const ImmersedSection strip = Cut(MakeFrame(0, BoxOffsets(-1, 1, 0, 2)), 0.0004);
    EXPECT_NEAR(strip.area, 0.0008, 1e-15);
    EXPECT_NEAR(strip.waterlineBreadth, 2, kTol);
}

// An outline that only touches the waterline (a vertex or an edge lying in it) is not cut
// there: each cut at a vertex's height is the limit of the cuts just below it, and the
// cuts just above differ by no more than the outline's slope allows.
TEST(ClipAtWaterline, TouchingVerticesAndEdgesGiveTheLimit)
{
    struct Case {
        const char* what;
        Offsets offsets;
        double z;        // a vertex height
        double breadth;  // the waterline breadth there
        double inertia;  // and its second moment about its centre
        double minX, maxX;
        int crossings;
    } const cases[] = {
        // Keels at X = -1 and 1, a ridge between them touching the waterline at (0, 1).
        {"ridge touching from below", {{-1, 0}, {0, 1}, {1, 0}, {2, 2}, {-2, 2}}, 1, 3,
         2 * (1.5 * 1.5 * 1.5 / 12 + 0.75 * 0.75 * 1.5), -1.5, 1.5, 4},
        // A main V keel at X = -2 and an outrigger V keel at X = 2 whose apex just reaches Z = 1.
        {"outrigger keel touching from above",
         {{-2, 0}, {-1, 2}, {1, 2}, {2, 1}, {3, 2}, {3, 3}, {-3, 3}, {-3, 2}}, 1, 1, 1.0 / 12, -2.5, -1.5, 2},
        // Shelves at Z = 1 on both sides of a box keel from X = -1 to 1.
        {"shelves lying in the waterline",
         {{-1, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 3}, {-2, 3}, {-2, 1}, {-1, 1}}, 1, 2, 8.0 / 12, -1, 1, 2},
        // A V keel whose apex is the waterline: nothing is cut.
        {"apex at the waterline", {{0, 1}, {1, 2}, {-1, 2}}, 1, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool reversed : {false, true}) {
            Offsets o = c.offsets;
            if (reversed)
                std::reverse(o.begin(), o.end());
            const Section s = MakeFrame(0, o);
            const ImmersedSection at = Cut(s, c.z);
            EXPECT_NEAR(at.waterlineBreadth, c.breadth, kTol);
            EXPECT_NEAR(at.breadthInertia, c.inertia, 1e-12);
            EXPECT_NEAR(at.waterlineMinX, c.minX, kTol);
            EXPECT_NEAR(at.waterlineMaxX, c.maxX, kTol);
            EXPECT_EQ(at.crossings, c.crossings);
            const ImmersedSection below = Cut(s, c.z - 1e-9);
            EXPECT_NEAR(below.area, at.area, 1e-8);
            EXPECT_NEAR(below.waterlineBreadth, at.waterlineBreadth, 1e-8);
            EXPECT_NEAR(below.breadthInertia, at.breadthInertia, 1e-8);
            EXPECT_NEAR(below.centroidZ, at.centroidZ, 1e-8);
            EXPECT_NEAR(Cut(s, c.z + 1e-9).area, at.area, 1e-8);
        }
    }
}

TEST(ClipAtWaterline, WhollySubmergedAndDry)
{
    const Section s = MakeFrame(0, BoxOffsets(-1, 1, 0, 2));
    const ImmersedSection under = Cut(s, 3);
    EXPECT_NEAR(under.area, 4, kTol);
    EXPECT_NEAR(under.centroidZ, 1, kTol);
    EXPECT_EQ(under.waterlineBreadth, 0);
    EXPECT_EQ(under.crossings, 0);
    EXPECT_EQ(under.waterlineMinX, 0);
    EXPECT_EQ(under.waterlineMaxX, 0);
    const ImmersedSection dry = Cut(s, -1);
    EXPECT_EQ(dry.area, 0);
    EXPECT_EQ(dry.waterlineZ, 0);
}

TEST(ClipAtWaterline, CutAtTheTopKeepsTheDeckAsWaterline)
{
    const ImmersedSection r = Cut(MakeFrame(0, BoxOffsets(-1, 1, 0, 2)), 2);
    EXPECT_NEAR(r.area, 4, kTol);
    EXPECT_NEAR(r.waterlineBreadth, 2, kTol);
    EXPECT_EQ(r.crossings, 2);
}

TEST(ClipAtWaterline, DirectionOnlyChangesTheClockwiseFlag)
{
    const Offsets anti = {{0, 0}, {2, 0.5}, {3, 2}, {-1, 3}};
    Offsets clock(anti.rbegin(), anti.rend());
    const ImmersedSection a = Cut(MakeFrame(0, anti), 1.5);
    const ImmersedSection c = Cut(MakeFrame(0, clock), 1.5);
    EXPECT_FALSE(a.clockwise);
    EXPECT_TRUE(c.clockwise);
    EXPECT_NEAR(a.area, c.area, kTol);
    EXPECT_NEAR(a.centroidX, c.centroidX, kTol);
    EXPECT_NEAR(a.centroidZ, c.centroidZ, kTol);
    EXPECT_NEAR(a.waterlineBreadth, c.waterlineBreadth, kTol);
    EXPECT_GT(a.area, 0);
}

TEST(ClipAtWaterline, OffCentreFrameHasTrueWaterlineExtents)
{
    const ImmersedSection r = Cut(MakeFrame(0, BoxOffsets(1, 3, 0, 2)), 1);
    EXPECT_EQ(r.waterlineMinX, 1);
    EXPECT_EQ(r.waterlineMaxX, 3);
    EXPECT_NEAR(r.centroidX, 2, kTol);
    EXPECT_NEAR(r.breadthMoment, 4, kTol);
    EXPECT_NEAR(r.breadthInertia, 2.0 / 3, kTol);  // about the segment's own centre
}

// Two legs under a bridge: the waterline cuts the legs at X -3, -1, 1 and 3. Whatever
// offset the outline starts at and whichever way it runs, the waterline is the two legs.
TEST(ClipAtWaterline, TwoLobesArePairedAcrossTheFrame)
{
    const Offsets pi = {{-3, 0}, {-1, 0}, {-1, 2}, {1, 2}, {1, 0}, {3, 0}, {3, 3}, {-3, 3}};
    for (int reverse = 0; reverse < 2; ++reverse) {
        for (std::size_t start = 0; start < pi.size(); ++start) {
            Offsets o;
            for (std::size_t k = 0; k < pi.size(); ++k)
                o.push_back(pi[(start + k) % pi.size()]);
            if (reverse)
                o = Offsets(o.rbegin(), o.rend());
            const ImmersedSection r = Cut(MakeFrame(0, o), 1);
            SCOPED_TRACE(::testing::Message() << "start " << start << " reverse " << reverse);
            EXPECT_EQ(r.crossings, 4);
            EXPECT_NEAR(r.waterlineBreadth, 4, kTol);
            EXPECT_NEAR(r.breadthMoment, 0, kTol);
            EXPECT_NEAR(r.breadthInertia, 2 * (8.0 / 12 + 4 * 2), kTol);
            EXPECT_NEAR(r.area, 4, kTol);
            EXPECT_NEAR(r.centroidZ, 0.5, kTol);
            EXPECT_EQ(r.clockwise, reverse == 1);
        }
    }
}

TEST(ClipAtWaterline, FewerThanThreeImmersedPointsGiveAZeroRecord)
{
    EXPECT_EQ(Cut(MakeFrame(0, {{0, 0}, {1, 0}}), 0.5).area, 0);
    // A line of two offsets cut in its middle: three points, no area and a zero breadth.
    const ImmersedSection line = Cut(MakeFrame(0, {{0, 0}, {1, 1}}), 0.5);
    EXPECT_EQ(line.area, 0);
    EXPECT_EQ(line.crossings, 2);
    EXPECT_EQ(line.waterlineBreadth, 0);
    EXPECT_EQ(Cut(MakeFrame(0, {{0, 0}}), 0.5).area, 0);
    EXPECT_EQ(Cut(Section(), 0.5).area, 0);
}

TEST(Section, CrossingTestAndWaterlineX)
{
    const Section s = MakeFrame(0, {{0, 0}, {2, 2}, {2, 4}, {0, 1}});
    struct Case {
        unsigned i;
        double z;
        bool crosses;
    } cases[] = {
        {0, 1, true},       // rises through 1
        {0, 2, true},       // from below up to the waterline: an end on it counts as above
        {1, 2, false},      // from the waterline upwards: both ends at or above
        {3, 0.5, true},     // closing segment (0,1) -> (0,0)
        {3, 0, false},      // reaches the keel at the waterline: nothing lies below
        {0, 0.0004, true},  // just above the keel
        {3, 1, true},       // from the waterline down: one end below
        {2, 1, false},      // (2,4) -> (0,1) ends on it from above: neither end below
        {2, 5, false},
        {4, 1, false},      // no such offset
    };
    for (const Case& c : cases)
        EXPECT_EQ(s.CrossesWaterline(c.i, c.z), c.crosses) << c.i << " at " << c.z;
    EXPECT_DOUBLE_EQ(s.GetXAtWaterline(0, 1), 1);
    EXPECT_DOUBLE_EQ(s.GetXAtWaterline(1, 2), 2);
    EXPECT_DOUBLE_EQ(s.GetXAtWaterline(2, 3), 4.0 / 3);
    EXPECT_TRUE(Section::IsWithinTolerance(1, 1.0004, 0.0005));
    EXPECT_FALSE(Section::IsWithinTolerance(0, 0.0005, 0.0005));
}

TEST(IntersectSegments, Table)
{
    double y = -7, z = -7, p = -7, q = -7, det = -7;
    // Waterline at 1 across the keel line (0, 2)-(10, 0).
    EXPECT_TRUE(Appendage::IntersectSegments(0, 1, 10, 1, 0, 2, 10, 0, y, z, p, q, det));
    EXPECT_DOUBLE_EQ(y, 5);
    EXPECT_DOUBLE_EQ(z, 1);
    EXPECT_DOUBLE_EQ(p, 0.5);
    EXPECT_DOUBLE_EQ(q, 0.5);
    EXPECT_DOUBLE_EQ(det, -20);
    // Lines cross at Y = 20, outside the first segment: false, outputs still written.
    EXPECT_FALSE(Appendage::IntersectSegments(0, 1, 10, 1, 0, 3, 10, 2, y, z, p, q, det));
    EXPECT_DOUBLE_EQ(y, 20);
    EXPECT_DOUBLE_EQ(p, 2);
    EXPECT_DOUBLE_EQ(q, 2);
    EXPECT_DOUBLE_EQ(det, -10);
    // Parallel: false, only the determinant written.
    y = z = p = q = -7;
    EXPECT_FALSE(Appendage::IntersectSegments(0, 1, 10, 1, 0, 2, 10, 2, y, z, p, q, det));
    EXPECT_EQ(det, 0);
    EXPECT_EQ(y, -7);
    EXPECT_EQ(p, -7);
    // Ends touching count.
    EXPECT_TRUE(Appendage::IntersectSegments(0, 0, 1, 1, 1, 1, 2, 0, y, z, p, q, det));
    EXPECT_DOUBLE_EQ(p, 1);
    EXPECT_DOUBLE_EQ(q, 0);
}

// ---- one appendage -------------------------------------------------------------------

TEST(AppendageHydrostatics, BoxAtDraughtOne)
{
    const double rho = 1.5;
    Appendage box = Body({MakeFrame(0, BoxOffsets(-1, 1, 0, 2)), MakeFrame(10, BoxOffsets(-1, 1, 0, 2))}, rho);
    HydroData r;
    ASSERT_TRUE(box.GetHydroStatics(1, 0, r));
    EXPECT_EQ(r.draught, 1);
    EXPECT_EQ(r.trim, 0);
    EXPECT_NEAR(r.volume, 20, kTol);
    EXPECT_NEAR(r.displacement, 20 * rho, kTol);
    EXPECT_NEAR(r.VCB, 0.5, kTol);
    EXPECT_NEAR(r.TCB, 0, kTol);
    EXPECT_NEAR(r.LCB, 5, kTol);
    EXPECT_NEAR(r.WPA, 20, kTol);
    EXPECT_NEAR(r.LCF, 5, kTol);
    EXPECT_NEAR(r.TCF, 0, kTol);
    EXPECT_NEAR(r.I_T, 20.0 / 3, kTol);
    EXPECT_NEAR(r.I_L, 500.0 / 3, 1e-10);
    EXPECT_NEAR(r.KMT, 5.0 / 6, kTol);
    EXPECT_NEAR(r.KML, 53.0 / 6, 1e-10);
    EXPECT_NEAR(r.TPI, 0.2 * rho, kTol);
    EXPECT_EQ(r.MCT1cm, 0);  // AP = FP
    EXPECT_EQ(r.waterlineMinY, 0);
    EXPECT_EQ(r.waterlineMaxY, 10);
    EXPECT_EQ(r.waterlineMinX, -1);
    EXPECT_EQ(r.waterlineMaxX, 1);
    ExpectPoints(r.areaCurves.finalCurve, {{0, 0}, {1e-10, 2}, {5, 2}, {10 - 1e-10, 2}, {10, 0}});
    ExpectPoints(r.buoyancyCurves.finalCurve,
                 {{0, 0}, {1e-10, 2 * rho}, {5, 2 * rho}, {10 - 1e-10, 2 * rho}, {10, 0}});
    EXPECT_TRUE(r.areaCurves.curves.empty());

    box.ap = 0;
    box.fp = 10;
    HydroData m;
    box.GetHydroStatics(1, 0, m);
    EXPECT_NEAR(m.MCT1cm, rho * (500.0 / 3) / 1000, 1e-12);
}

TEST(AppendageHydrostatics, BoxAtTheKeelIsEmpty)
{
    const Appendage box = Body({MakeFrame(0, BoxOffsets(-1, 1, 0, 2)), MakeFrame(10, BoxOffsets(-1, 1, 0, 2))});
    HydroData r;
    ASSERT_TRUE(box.GetHydroStatics(0, 0, r));
    for (double v : {r.volume, r.WPA, r.VCB, r.LCB, r.TCB, r.LCF, r.TCF, r.KMT, r.KML, r.I_L, r.I_T})
        EXPECT_EQ(v, 0);
    // Not reaching the waterline: no ends on the curves.
    ExpectPoints(r.areaCurves.finalCurve, {{1e-10, 0}, {5, 0}, {10 - 1e-10, 0}});
}

// Wholly submerged: the curves get no waterline ends at Y = 0, and the extents stay 0.
TEST(AppendageHydrostatics, BoxWhollyUnderWater)
{
    const Appendage box = Body({MakeFrame(0, BoxOffsets(-1, 1, 0, 2)), MakeFrame(10, BoxOffsets(-1, 1, 0, 2))});
    HydroData r;
    ASSERT_TRUE(box.GetHydroStatics(3, 0, r));
    EXPECT_NEAR(r.volume, 40, kTol);
    EXPECT_EQ(r.WPA, 0);
    EXPECT_EQ(r.LCF, 0);
    EXPECT_EQ(r.I_L, 0);
    EXPECT_EQ(r.I_T, 0);
    EXPECT_NEAR(r.VCB, 1, kTol);
    EXPECT_NEAR(r.KML, 1, kTol);
    EXPECT_NEAR(r.KMT, 1, kTol);
    EXPECT_EQ(r.waterlineMinY, 0);
    EXPECT_EQ(r.waterlineMaxY, 0);
    ExpectPoints(r.areaCurves.finalCurve, {{1e-10, 4}, {5, 4}, {10 - 1e-10, 4}});
}

// The body leaves the water where the waterline meets the keel line at Y = 5; there its
// immersed area is zero, so the wedge holds exactly 2 x 5 x 1 / 2 = 5.
TEST(AppendageHydrostatics, DryEndHoldsTheWedgeVolume)
{
    const Appendage body = Body({MakeFrame(0, BoxOffsets(-1, 1, 2, 4)), MakeFrame(10, BoxOffsets(-1, 1, 0, 4))});
    HydroData r;
    ASSERT_TRUE(body.GetHydroStatics(1, 0, r));
    EXPECT_NEAR(r.volume, 5.0, kTol);
    EXPECT_NEAR(r.WPA, 10, kTol);
    EXPECT_NEAR(r.LCF, 7.5, kTol);
    EXPECT_NEAR(r.I_L, 2 * 125.0 / 12, 1e-10);
    EXPECT_NEAR(r.VCB, 0.5, kTol);  // strip rule: the weight is all at frame 1
    EXPECT_NEAR(r.waterlineMinY, 5, kTol);
    EXPECT_EQ(r.waterlineMaxY, 10);
    ExpectPoints(r.areaCurves.finalCurve, {{5, 0}, {5 + 1e-10, 0}, {7.5, 1}, {10 - 1e-10, 2}, {10, 0}});

    // The mirror image: the dry end forward.
    const Appendage mirror = Body({MakeFrame(0, BoxOffsets(-1, 1, 0, 4)), MakeFrame(10, BoxOffsets(-1, 1, 2, 4))});
    HydroData m;
    ASSERT_TRUE(mirror.GetHydroStatics(1, 0, m));
    EXPECT_NEAR(m.volume, 5.0, kTol);
    EXPECT_NEAR(m.LCF, 2.5, kTol);
    EXPECT_EQ(m.waterlineMinY, 0);
    EXPECT_NEAR(m.waterlineMaxY, 5, kTol);
}

// Frames 2 m wide with tops at 1 m (Y = 0) and 3 m (Y = 10), lofted straight between them.
// At draught d between 1 and 3 the waterline meets the top line at Yx = 5 (d - 1): aft of
// it the section is full, forward of it immersed to d.
TEST(AppendageHydrostatics, SubmergedEndKeepsItsVolume)
{
    const Appendage body = Body({MakeFrame(0, BoxOffsets(-1, 1, 0, 1)), MakeFrame(10, BoxOffsets(-1, 1, 0, 3))});
    auto exact = [](double d) {
        if (d <= 0)
            return 0.0;
        if (d <= 1)
            return 20 * d;
        if (d >= 3)
            return 40.0;
        const double yx = 5 * (d - 1);
        return 2 * yx + 0.2 * yx * yx + 2 * d * (10 - yx);
    };
    HydroData r;
    ASSERT_TRUE(body.GetHydroStatics(3, 0, r));
    EXPECT_NEAR(r.volume, 40, kTol);  // the full volume at the highest point
    r.Reset();
    body.GetHydroStatics(2, 0, r);
    EXPECT_NEAR(r.volume, 35, kTol);
    EXPECT_NEAR(r.WPA, 10, kTol);  // the waterplane runs from Y = 5 to 10
    EXPECT_NEAR(r.LCF, 7.5, kTol);
    EXPECT_NEAR(r.waterlineMinY, 5, kTol);
    // The area curve is full at Yx, not zero.
    std::string msg;
    EXPECT_NEAR(r.areaCurves.finalCurve.GetArea(5, msg), 4, kTol);

    double last = 0;
    for (double d = -0.5; d <= 4.0; d += 0.01) {
        HydroData h;
        body.GetHydroStatics(d, 0, h);
        EXPECT_NEAR(h.volume, exact(d), 1e-9) << d;
        EXPECT_GE(h.volume, last - 1e-12) << d;
        last = h.volume;
    }
    EXPECT_NEAR(last, 40, kTol);
}

// The waterline meets the top line exactly at a frame (the deck of the 3 m frame at draught
// 3): the pair is whole, and the curve holds each section once, not twice.
TEST(AppendageHydrostatics, WaterlineOnTheTopLineAtAFrameAddsNoCurveSpike)
{
    const Appendage aftLow = Body({MakeFrame(0, BoxOffsets(-1, 1, 0, 1)), MakeFrame(10, BoxOffsets(-1, 1, 0, 3))});
    HydroData r;
    ASSERT_TRUE(aftLow.GetHydroStatics(3, 0, r));
    EXPECT_NEAR(r.volume, 40, kTol);
    ExpectPoints(r.areaCurves.finalCurve, {{1e-10, 2}, {5, 4}, {10 - 1e-10, 6}, {10, 0}});

    const Appendage foreLow = Body({MakeFrame(0, BoxOffsets(-1, 1, 0, 3)), MakeFrame(10, BoxOffsets(-1, 1, 0, 1))});
    HydroData m;
    ASSERT_TRUE(foreLow.GetHydroStatics(3, 0, m));
    EXPECT_NEAR(m.volume, 40, kTol);
    ExpectPoints(m.areaCurves.finalCurve, {{0, 0}, {1e-10, 6}, {5, 4}, {10 - 1e-10, 2}});
}

// Frames 2 m wide spanning Z 2 to 3 (Y = 0) and Z 0 to 1 (Y = 10), lofted straight: for a
// draught between 1 and 2 neither frame pierces the waterline, one is dry and the other
// under water, yet the waterline crosses the body between them.
TEST(AppendageHydrostatics, WaterlineBetweenADryAndASubmergedFrame)
{
    // Immersed area along Y is 2 x clamp(d - 2 + Y / 5, 0, 1), so the volume is
    // 10 x (F(d) - F(d - 2)) with F the integral of clamp(u, 0, 1).
    auto exact = [](double d) {
        auto F = [](double x) { return x <= 0 ? 0.0 : x <= 1 ? x * x / 2 : x - 0.5; };
        return 10 * (F(d) - F(d - 2));
    };
    for (int order = 0; order < 2; ++order) {
        SCOPED_TRACE(order == 0 ? "dry aft" : "dry forward");
        const Section high = MakeFrame(order == 0 ? 0 : 10, BoxOffsets(-1, 1, 2, 3));
        const Section low = MakeFrame(order == 0 ? 10 : 0, BoxOffsets(-1, 1, 0, 1));
        const Appendage body = order == 0 ? Body({high, low}) : Body({low, high});
        HydroData r;
        ASSERT_TRUE(body.GetHydroStatics(1.5, 0, r));
        EXPECT_NEAR(r.volume, 10, kTol);
        EXPECT_NEAR(r.WPA, 10, kTol);
        EXPECT_NEAR(r.LCF, 5, kTol);
        EXPECT_NEAR(r.waterlineMinY, 2.5, kTol);
        EXPECT_NEAR(r.waterlineMaxY, 7.5, kTol);
        EXPECT_EQ(r.waterlineMinX, -1);
        EXPECT_EQ(r.waterlineMaxX, 1);
        if (order == 0)
            ExpectPoints(r.areaCurves.finalCurve, {{2.5, 0}, {2.5 + 1e-10, 0}, {5, 1}, {7.5, 2}, {8.75, 2}, {10 - 1e-10, 2}});
        double last = 0;
        for (double d = -0.5; d <= 3.5; d += 0.01) {
            HydroData h;
            body.GetHydroStatics(d, 0, h);
            EXPECT_NEAR(h.volume, exact(d), 1e-9) << d;
            EXPECT_GE(h.volume, last - 1e-12) << d;
            last = h.volume;
        }
    }
}

TEST(AppendageHydrostatics, OneFrameLeavesTheRecordAlone)
{
    const Appendage one = Body({MakeFrame(0, BoxOffsets(-1, 1, 0, 2))});
    HydroData r;
    r.volume = 123;
    EXPECT_FALSE(one.GetHydroStatics(1, 0, r));
    EXPECT_EQ(r.volume, 123);
    EXPECT_EQ(r.draught, 0);
}

// A frame repeated at the same Y adds nothing, and its curve points add up.
TEST(AppendageHydrostatics, DuplicateFrameAddsNothing)
{
    const Appendage body = Body({MakeFrame(0, BoxOffsets(-1, 1, 0, 2)), MakeFrame(10, BoxOffsets(-1, 1, 0, 2)),
                                 MakeFrame(10, BoxOffsets(-1, 1, 0, 2))});
    HydroData r;
    ASSERT_TRUE(body.GetHydroStatics(1, 0, r));
    EXPECT_NEAR(r.volume, 20, kTol);
    EXPECT_NEAR(r.WPA, 20, kTol);
    EXPECT_NEAR(r.I_L, 500.0 / 3, 1e-10);
    ExpectPoints(r.areaCurves.finalCurve, {{0, 0}, {1e-10, 2}, {5, 2}, {10 - 1e-10, 2}, {10, 2}});
}

// Two rectangles end to end in one body, the forward one 2 m to starboard. The waterplane's
// transverse inertia about its own centre line X = 1: 2 x (20/3 + 20 x 1^2) = 160/3.
TEST(AppendageHydrostatics, TransverseInertiaIsAboutTheBodysCentreOfFlotation)
{
    const Appendage body = Body({MakeFrame(0, BoxOffsets(-1, 1, 0, 2)), MakeFrame(10, BoxOffsets(-1, 1, 0, 2)),
                                 MakeFrame(10, BoxOffsets(1, 3, 0, 2)), MakeFrame(20, BoxOffsets(1, 3, 0, 2))});
    HydroData r;
    ASSERT_TRUE(body.GetHydroStatics(1, 0, r));
    EXPECT_NEAR(r.WPA, 40, kTol);
    EXPECT_NEAR(r.TCF, 1, kTol);
    EXPECT_NEAR(r.TCB, 1, kTol);
    EXPECT_NEAR(r.I_T, 160.0 / 3, 1e-10);
    EXPECT_NEAR(r.KMT, (160.0 / 3) / 40 + 0.5, 1e-12);
    EXPECT_EQ(r.waterlineMinX, -1);
    EXPECT_EQ(r.waterlineMaxX, 3);

    // One rectangle off the centreline: its own inertia, and its true waterline breadth.
    const Appendage off = Body({MakeFrame(0, BoxOffsets(1, 3, 0, 2)), MakeFrame(10, BoxOffsets(1, 3, 0, 2))});
    HydroData o;
    off.GetHydroStatics(1, 0, o);
    EXPECT_NEAR(o.I_T, 20.0 / 3, 1e-12);
    EXPECT_EQ(o.waterlineMinX, 1);
    EXPECT_EQ(o.waterlineMaxX, 3);
}

TEST(AppendageHydrostatics, TrimmedWaterlineLength)
{
    const double trim = 5;
    const double theta = trim * 3.141592653589793 / 180;
    const Appendage box = Body({MakeFrame(0, BoxOffsets(-1, 1, 0, 2)), MakeFrame(10, BoxOffsets(-1, 1, 0, 2))});
    HydroData r;
    ASSERT_TRUE(box.GetHydroStatics(0.5, trim, r));
    EXPECT_EQ(r.trim, trim);
    EXPECT_NEAR(r.waterlineMaxY - r.waterlineMinY, 10 / std::cos(theta), 1e-12);
    EXPECT_NEAR(r.volume, 2 * (0.5 * 10 + 50 * std::tan(theta)), 1e-12);
    EXPECT_NEAR(r.WPA, 20 / std::cos(theta), 1e-12);
    // The waterline ends go back onto the curve at the frames' Y.
    EXPECT_NEAR(r.areaCurves.finalCurve.Y.front(), 0, 1e-12);
    EXPECT_NEAR(r.areaCurves.finalCurve.Y.back(), 10, 1e-12);
}

// The trimmed box's waterplane is a rectangle 2 m by 10 / cos(trim) m: its second moment
// about its centre is the same whatever the number of frames.
TEST(AppendageHydrostatics, TrimmedBoxLongitudinalInertiaAtAnyFrameCount)
{
    const double t = 0.1, trim = std::atan(t) * 180 / 3.141592653589793, c = std::cos(std::atan(t));
    const double length = 10 / c, inertia = 2 * length * length * length / 12;
    for (int n : {2, 3, 5, 11, 101}) {
        Appendage box;
        box.density = 1;
        for (int k = 0; k < n; ++k)
            box.frames.push_back(MakeFrame(10.0 * k / (n - 1), BoxOffsets(-1, 1, 0, 2)));
        HydroData r;
        ASSERT_TRUE(box.GetHydroStatics(0.4, trim, r));
        SCOPED_TRACE(n);
        EXPECT_NEAR(r.WPA, 2 * length, 1e-12);
        EXPECT_NEAR(r.I_L, inertia, 1e-9);
        EXPECT_NEAR(r.KML, inertia / r.volume + r.VCB, 1e-12);
    }
}

// A body with rocker, sheer and changing sections, level and trimmed: the volume never
// falls as the draught rises, and is the full volume once the waterline is above it all.
TEST(AppendageHydrostatics, VolumeRisesToTheFullVolume)
{
    const Appendage body =
        Body({MakeFrame(0, BoxOffsets(-0.5, 0.5, 1.5, 2.5)), MakeFrame(3, {{0, 0.4}, {1.5, 2}, {1.5, 3}, {-1.5, 3}, {-1.5, 2}}),
              MakeFrame(6, BoxOffsets(-2, 2, 0, 3.5)), MakeFrame(9, BoxOffsets(-2, 2, 0.2, 3)), MakeFrame(12, {{0, 1}, {1, 4}, {-1, 4}}),
              MakeFrame(14, BoxOffsets(-0.3, 0.3, 2, 4.5))});
    HydroData full;
    ASSERT_TRUE(body.GetHydroStatics(10, 0, full));
    for (double trim : {0.0, 2.0, -3.0, 10.0}) {
        SCOPED_TRACE(trim);
        const double slope = std::fabs(std::tan(trim * 3.141592653589793 / 180));
        double last = 0;
        for (double d = -1 - 14 * slope; d < 5 + 14 * slope; d += 0.0037) {
            HydroData h;
            body.GetHydroStatics(d, trim, h);
            ASSERT_GE(h.volume, last - 1e-9) << d;
            last = h.volume;
        }
        HydroData top;
        body.GetHydroStatics(5 + 14 * slope, trim, top);
        EXPECT_NEAR(top.volume, full.volume, 1e-9);
    }
}

// The cut without the outline gives the same record as the cut with it, and the area and
// centroid are those of the outline it leaves, for outlines long enough to be summed in
// blocks and cut anywhere, at vertices too.
TEST(ClipAtWaterline, CutWithoutTheOutlineMatchesTheOutline)
{
    Offsets circle;
    for (int k = 0; k < 37; ++k) {
        const double a = 2 * 3.141592653589793 * k / 37;
        circle.emplace_back(2 * std::cos(a) + 0.5, 1.5 * std::sin(a) + 1.5);
    }
    const Section s = MakeFrame(0, circle);
    for (double z : {-1.0, 0.0, 0.2, 1.0, s.Z[5], 1.5, 2.9, s.Z[9], 3.0, 4.0}) {
        SCOPED_TRACE(z);
        ImmersedSection with, without;
        std::vector<double> xs = {9, 9, 9}, zs = {9};
        s.ClipAtWaterline(z, with, xs, zs);
        s.CutAtWaterline(z, without);
        EXPECT_EQ(with.area, without.area);
        EXPECT_EQ(with.centroidX, without.centroidX);
        EXPECT_EQ(with.centroidZ, without.centroidZ);
        EXPECT_EQ(with.waterlineBreadth, without.waterlineBreadth);
        EXPECT_EQ(with.crossings, without.crossings);
        ASSERT_EQ(xs.size(), zs.size());
        double a = 0, ax = 0, az = 0;
        for (std::size_t k = 0; k < xs.size(); ++k) {
            const std::size_t j = (k + 1) % xs.size();
            const double c = xs[k] * zs[j] - xs[j] * zs[k];
            a += c;
            ax += c * (xs[k] + xs[j]);
            az += c * (zs[k] + zs[j]);
        }
        EXPECT_NEAR(with.area, std::fabs(a) / 2, 1e-12);
        if (with.area > 0) {
            EXPECT_NEAR(with.centroidX, ax / (3 * a), 1e-12);
            EXPECT_NEAR(with.centroidZ, az / (3 * a), 1e-12);
        }
        for (double zk : zs)
            EXPECT_LE(zk, z);
    }
}

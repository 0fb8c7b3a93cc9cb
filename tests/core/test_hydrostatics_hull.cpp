// Hull hydrostatics, the draught search, the trim conversions and analytic bodies.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "HullFixtures.h"
#include "core/Appendage.h"
#include "core/HydroData.h"
#include "core/Hullform.h"
#include "core/Section.h"

using core::Appendage;
using core::HydroData;
using core::Hullform;
using core::Section;

namespace {

using fixtures::BoxOffsets;
using fixtures::MakeFrame;
using fixtures::Offsets;
constexpr double kPi = 3.141592653589793;

// n frames of one section, evenly from y0 to y1.
Appendage Prism(const Offsets& section, int n, double y0 = 0, double y1 = 10)
{
    Appendage a;
    for (int k = 0; k < n; ++k)
        a.frames.push_back(MakeFrame(y0 + (y1 - y0) * k / (n - 1), section));
    return a;
}

// The box of HullHydrostatics::MakeBox at draught 1, exact at any frame count.
void ExpectBoxAtDraughtOne(const HydroData& r)
{
    EXPECT_NEAR(r.volume, 20, 1e-12);
    EXPECT_NEAR(r.VCB, 0.5, 1e-12);
    EXPECT_NEAR(r.LCB, 5, 1e-12);
    EXPECT_NEAR(r.WPA, 20, 1e-12);
    EXPECT_NEAR(r.I_T, 20.0 / 3, 1e-12);
    EXPECT_NEAR(r.I_L, 500.0 / 3, 1e-10);
    EXPECT_NEAR(r.KMT, 5.0 / 6, 1e-12);
    EXPECT_NEAR(r.KML, 53.0 / 6, 1e-11);
    EXPECT_NEAR(r.TPI, 0.205, 1e-12);
    EXPECT_NEAR(r.MCT1cm, 41.0 / 240, 1e-12);
    EXPECT_EQ(r.waterlineMinY, 0);
    EXPECT_EQ(r.waterlineMaxY, 10);
}

class HullHydrostatics : public ::testing::Test {
protected:
    fixtures::ScopedTempDir dir_;
    Hullform hull_{dir_.File("hydro.log")};

    // The box of the edge cases: Y 0 to 10, X -1 to 1, Z 0 to 2; marks at 10 and 0.
    void MakeBox(int frames = 2)
    {
        hull_.appendages.push_back(Prism(BoxOffsets(-1, 1, 0, 2), frames));
        hull_.fwdMarkY = 10;
        hull_.aftMarkY = 0;
    }
    HydroData At(double draught, double trim = 0)
    {
        HydroData r;
        EXPECT_TRUE(hull_.GetHydroStatics(draught, trim, r));
        return r;
    }
    std::size_t LogSize() const { return hull_.log.Lines().size(); }
};

}  // namespace

TEST_F(HullHydrostatics, BoxAtDraughtOne)
{
    MakeBox();
    const HydroData r = At(1);
    EXPECT_EQ(r.draught, 1);
    ExpectBoxAtDraughtOne(r);
    EXPECT_NEAR(r.displacement, 20.5, 1e-12);
    EXPECT_NEAR(r.TCB, 0, 1e-12);
    EXPECT_NEAR(r.LCF, 5, 1e-12);
    EXPECT_NEAR(r.TCF, 0, 1e-12);
    EXPECT_EQ(r.waterlineMinX, -1);
    EXPECT_EQ(r.waterlineMaxX, 1);
    ASSERT_EQ(r.areaCurves.curves.size(), 1u);
    const core::LongitudinalCurve& area = r.areaCurves.finalCurve;
    EXPECT_EQ(std::vector<double>(area.Y.begin(), area.Y.end()),
              (std::vector<double>{0, 1e-10, 5, 10 - 1e-10, 10}));
    EXPECT_EQ(std::vector<double>(area.value.begin(), area.value.end()),
              (std::vector<double>{0, 2, 2, 2, 0}));
    std::string msg;
    EXPECT_NEAR(area.GetTotalArea(), 20, 1e-8);
    EXPECT_NEAR(area.GetCentroid(msg), 5, 1e-12);
    // The body has no density of its own, so its buoyancy curve uses the hull's water.
    EXPECT_NEAR(r.buoyancyCurves.finalCurve.value[2], 2 * 1.025, 1e-12);
    EXPECT_NEAR(r.buoyancyCurves.finalCurve.GetTotalArea(), 20.5, 1e-8);
}

TEST_F(HullHydrostatics, BuoyancyCurveUsesTheBodysOwnDensity)
{
    MakeBox();
    hull_.appendages[0].density = 2;
    hull_.appendages.push_back(Prism(BoxOffsets(-1, 1, 0, 2), 2, 20, 30));  // density 0
    const HydroData r = At(1);
    std::string msg;
    EXPECT_NEAR(r.buoyancyCurves.curves[0].GetArea(5, msg), 4, 1e-12);
    EXPECT_NEAR(r.buoyancyCurves.curves[1].GetArea(25, msg), 2.05, 1e-12);
    EXPECT_NEAR(r.buoyancyCurves.finalCurve.GetArea(25, msg), 2.05, 1e-12);
    EXPECT_NEAR(r.displacement, 40 * 1.025, 1e-12);  // the hull's water for the displacement
}

TEST_F(HullHydrostatics, TwoBoxesSideBySide)
{
    hull_.appendages.push_back(Prism(BoxOffsets(-3, -1, 0, 2), 2));
    hull_.appendages.push_back(Prism(BoxOffsets(1, 3, 0, 2), 2));
    HydroData single;
    hull_.appendages[1].GetHydroStatics(1, 0, single);
    EXPECT_NEAR(single.WPA, 20, 1e-12);
    EXPECT_NEAR(single.TCF, 2, 1e-12);
    EXPECT_NEAR(single.I_T, 20.0 / 3, 1e-12);
    const HydroData r = At(1);
    EXPECT_NEAR(r.WPA, 40, 1e-12);
    EXPECT_NEAR(r.TCF, 0, 1e-12);
    EXPECT_NEAR(r.I_T, 520.0 / 3, 1e-10);
    EXPECT_NEAR(r.volume, 40, 1e-12);
    EXPECT_NEAR(r.VCB, 0.5, 1e-12);
    EXPECT_NEAR(r.KMT, 29.0 / 6, 1e-12);
    EXPECT_EQ(r.waterlineMinX, -3);
    EXPECT_EQ(r.waterlineMaxX, 3);
    EXPECT_EQ(r.areaCurves.curves.size(), 2u);
    std::string msg;
    EXPECT_NEAR(r.areaCurves.finalCurve.GetArea(5, msg), 4, 1e-12);
}

// The same two hulls joined by a bridge deck above the water, as one body whose frames
// start their outline between the hulls: the same waterplane and metacentre.
TEST_F(HullHydrostatics, TwoHullsAsOneBody)
{
    const Offsets bridged = {{1, 2}, {1, 0}, {3, 0}, {3, 3}, {-3, 3}, {-3, 0}, {-1, 0}, {-1, 2}};
    hull_.appendages.push_back(Prism(bridged, 4));
    const HydroData r = At(1);
    EXPECT_NEAR(r.WPA, 40, 1e-12);
    EXPECT_NEAR(r.TCF, 0, 1e-12);
    EXPECT_NEAR(r.I_T, 520.0 / 3, 1e-10);
    EXPECT_NEAR(r.volume, 40, 1e-12);
    EXPECT_NEAR(r.KMT, 29.0 / 6, 1e-12);
    EXPECT_EQ(r.waterlineMinX, -3);
    EXPECT_EQ(r.waterlineMaxX, 3);
}

TEST_F(HullHydrostatics, NoActiveAppendage)
{
    MakeBox();
    hull_.appendages[0].active = false;
    HydroData r;
    r.volume = 7;
    const std::size_t before = LogSize();
    EXPECT_FALSE(hull_.GetHydroStatics(1, 2.5, r));
    ASSERT_EQ(LogSize(), before + 1);
    EXPECT_EQ(hull_.log.Lines().back(),
              "ERROR: Failed getting hydrostatics - less than 1 ACTIVE appendage present");
    EXPECT_EQ(r.volume, 0);
    EXPECT_EQ(r.draught, 1);
    EXPECT_EQ(r.trim, 2.5);
}

// An inactive body is left out whole: a hull of the box and a second, larger inactive box
// (placed apart, and with frames out of order) gives the box's own results, and its
// waterline extents, curves and search come from the active box alone.
TEST_F(HullHydrostatics, InactiveBodyIsLeftOut)
{
    MakeBox();
    Appendage idle = Prism(BoxOffsets(4, 9, -3, 5), 3, -20, 40);
    std::swap(idle.frames[0], idle.frames[2]);
    idle.active = false;
    hull_.appendages.insert(hull_.appendages.begin(), idle);
    const std::size_t before = LogSize();
    const HydroData r = At(1);
    EXPECT_EQ(LogSize(), before);
    ExpectBoxAtDraughtOne(r);
    EXPECT_NEAR(r.displacement, 20.5, 1e-12);
    EXPECT_EQ(r.waterlineMinX, -1);
    EXPECT_EQ(r.waterlineMaxX, 1);
    EXPECT_EQ(r.areaCurves.curves.size(), 1u);
    EXPECT_EQ(r.buoyancyCurves.curves.size(), 1u);
    bool converged = false;
    EXPECT_EQ(hull_.FindDraughtForDisplacement(10.25, 0, 0.1, &converged), 0.5);
    EXPECT_TRUE(converged);
}

// Frames out of order (the list is public) would be integrated into a wrong volume: the
// hydrostatics refuse the body, naming it, and the search finds nothing.
TEST_F(HullHydrostatics, ActiveBodyWithFramesOutOfOrderIsRefused)
{
    MakeBox(3);
    hull_.appendages[0].name = "Skewed";
    std::swap(hull_.appendages[0].frames[1], hull_.appendages[0].frames[2]);
    const std::string line = "ERROR: Failed getting hydrostatics - frames of appendage Skewed are not in ascending Y";

    HydroData own;
    own.volume = 7;
    EXPECT_FALSE(hull_.appendages[0].GetHydroStatics(1, 0, own));
    EXPECT_EQ(own.volume, 7);

    HydroData r;
    r.volume = 7;
    std::size_t before = LogSize();
    EXPECT_FALSE(hull_.GetHydroStatics(1, 2.5, r));
    EXPECT_EQ(fixtures::LinesSince(hull_, before), std::vector<std::string>{line});
    EXPECT_EQ(r.volume, 0);
    EXPECT_EQ(r.draught, 1);
    EXPECT_EQ(r.trim, 2.5);

    before = LogSize();
    bool converged = true;
    unsigned evaluations = 0;
    EXPECT_EQ(hull_.FindDraughtForDisplacement(10, 0, 0.1, &converged, &evaluations), 0);
    EXPECT_FALSE(converged);
    EXPECT_EQ(evaluations, 1u);
    EXPECT_EQ(fixtures::LinesSince(hull_, before), std::vector<std::string>{line});
}

TEST_F(HullHydrostatics, NoAppendage)
{
    HydroData r;
    r.volume = 7;
    const std::size_t before = LogSize();
    EXPECT_FALSE(hull_.GetHydroStatics(1, 0, r));
    ASSERT_EQ(LogSize(), before + 1);
    EXPECT_EQ(hull_.log.Lines().back(), "ERROR: Failed getting hydrostatics - less than 1 appendage present");
    EXPECT_EQ(r.volume, 7);
}

// Bodies that are dry or wholly under water neither pull the waterline ends to 0 nor put
// a point at Y = 0 on the curves, whichever comes first.
TEST_F(HullHydrostatics, DryAndSubmergedBodiesLeaveTheWaterlineAlone)
{
    hull_.appendages.push_back(Prism(BoxOffsets(-1, 1, 5, 6), 2, 30, 40));    // dry
    hull_.appendages.push_back(Prism(BoxOffsets(1, 3, 0, 2), 2, 10, 20));     // afloat
    hull_.appendages.push_back(Prism(BoxOffsets(-1, 1, -5, -4), 2, 50, 60));  // under water
    const HydroData r = At(1);
    EXPECT_EQ(r.waterlineMinY, 10);
    EXPECT_EQ(r.waterlineMaxY, 20);
    EXPECT_EQ(r.waterlineMinX, 1);
    EXPECT_EQ(r.waterlineMaxX, 3);
    EXPECT_NEAR(r.volume, 20 + 20, 1e-12);
    EXPECT_NEAR(r.WPA, 20, 1e-12);
    for (double y : r.areaCurves.finalCurve.Y)
        EXPECT_NE(y, 0);
    for (double y : r.buoyancyCurves.finalCurve.Y)
        EXPECT_NE(y, 0);
    std::string msg;
    EXPECT_NEAR(r.areaCurves.finalCurve.GetArea(55, msg), 2, 1e-12);
    EXPECT_NEAR(r.areaCurves.finalCurve.GetArea(35, msg), 0, 1e-12);
}

TEST_F(HullHydrostatics, MomentToChangeTrimWithCoincidentMarksUsesTheWaterlineLength)
{
    MakeBox();
    hull_.fwdMarkY = hull_.aftMarkY = 4;
    EXPECT_NEAR(At(1).MCT1cm, 1.025 * (500.0 / 3) / (100 * 10), 1e-12);
    // No waterline either: 0.
    EXPECT_EQ(At(3).MCT1cm, 0);
}

TEST_F(HullHydrostatics, DraughtForDisplacement)
{
    MakeBox();
    struct Case {
        double target, draught;
        bool found;
    } cases[] = {
        {20.5, 1, true},     // the first mid draught
        {41, 2, true},       // the upper bound
        {10.25, 0.5, true},  // after one halving
        {41.5, 0, false},    // more than the hull can float
        {0, 0, false},
        {-1, 0, false},
    };
    for (const Case& c : cases) {
        bool converged = !c.found;
        EXPECT_EQ(hull_.FindDraughtForDisplacement(c.target, 0, 0.1, &converged), c.draught) << c.target;
        EXPECT_EQ(converged, c.found) << c.target;
    }
    EXPECT_EQ(hull_.FindDraughtForDisplacement(20.5, 0, 0.1), 1);  // the flag is optional

    // Anywhere in range the result floats the target within the tolerance.
    for (double target = 0.3; target < 41; target += 1.7) {
        bool converged = false;
        const double d = hull_.FindDraughtForDisplacement(target, 0, 0.01, &converged);
        EXPECT_TRUE(converged);
        EXPECT_NEAR(At(d).displacement, target, target * 1e-4) << target;
    }
}

// Trimmed by the head with the waterline at Y = 0 on the keel, part of the box is already
// immersed: the lower bound is lowered until the box is dry.
TEST_F(HullHydrostatics, DraughtForDisplacementBelowTheKeel)
{
    MakeBox();
    const double trim = std::atan(0.1) * 180 / kPi;
    bool converged = false;
    const double d = hull_.FindDraughtForDisplacement(5 * 1.025, trim, 0.01, &converged);
    EXPECT_TRUE(converged);
    EXPECT_NEAR(d, std::sqrt(0.5) - 1, 1e-4);
    EXPECT_NEAR(At(d, trim).volume, 5, 5e-4);
}

// Trimmed the other way, the waterline at Y = 0 at the highest point leaves the bow part
// dry: the upper bound is raised in steps until the box floats the target, and a target
// beyond the whole box is still not found.
TEST_F(HullHydrostatics, DraughtForDisplacementAboveTheHighestPoint)
{
    MakeBox();
    const double trim = -std::atan(0.1) * 180 / kPi;  // the waterline falls 1 m over the box
    ASSERT_NEAR(At(2, trim).volume, 30, 1e-9);
    struct Case {
        double volume;  // target / 1.025
        double draught;
        bool found;
    } const cases[] = {
        {37.5, 2.5, true},  // immersed to the deck up to Y = 5, the bow half partly dry
        {40, 3, true},      // wholly immersed just at draught 3
        {40.5, 0, false},   // more than the box holds
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.volume);
        bool converged = !c.found;
        unsigned evaluations = 0;
        const double d = hull_.FindDraughtForDisplacement(c.volume * 1.025, trim, 0.001, &converged, &evaluations);
        EXPECT_EQ(converged, c.found);
        EXPECT_NEAR(d, c.draught, 1e-4);
        EXPECT_LE(evaluations, 12u);
        if (c.found) {
            EXPECT_GT(d, hull_.GetMaxZ());
            EXPECT_NEAR(At(d, trim).volume, c.volume, c.volume * 1e-5);
        }
    }
}

// A waterline so steep that the bounds must move far: both are moved in growing steps,
// so the search still takes few calculations.
TEST_F(HullHydrostatics, BoundsMoveInGrowingSteps)
{
    MakeBox();
    for (double trim : {60.0, -60.0, 85.0, -85.0}) {
        SCOPED_TRACE(trim);
        bool converged = false;
        unsigned evaluations = 0;
        const double d = hull_.FindDraughtForDisplacement(20.5, trim, 0.01, &converged, &evaluations);
        EXPECT_TRUE(converged);
        EXPECT_NEAR(At(d, trim).displacement, 20.5, 20.5 * 1e-4);
        EXPECT_LE(evaluations, 40u);
    }
}

// Just above a flat bottom the thin slab is cut whole, so the displacement rises from 0
// without a jump and a small target is met.
TEST_F(HullHydrostatics, DraughtJustAboveAFlatBottom)
{
    hull_.appendages.push_back(Prism(BoxOffsets(-50, 50, 0, 2), 2, 0, 100));
    bool converged = false;
    const double d = hull_.FindDraughtForDisplacement(4, 0, 1, &converged);
    EXPECT_TRUE(converged);
    EXPECT_NEAR(At(d).displacement, 4, 0.04);
    EXPECT_NEAR(d, 4 / 10250.0, 4e-6);
}

// A hull of three bodies whose outlines have vertices and edges at Z = 1: a main hull with
// a touching outrigger in its own frames, a separate V-keeled outrigger whose keel just
// reaches Z = 1, and a box with shelves at Z = 1. At that draught every result is the
// limit of the draughts just below, and close to those just above.
TEST_F(HullHydrostatics, ResultsDoNotJumpWhereAVertexLiesInTheWaterline)
{
    hull_.appendages.push_back(Prism({{-2, 0}, {-1, 2}, {1, 2}, {2, 1}, {3, 2}, {3, 3}, {-3, 3}, {-3, 2}}, 5, 0, 20));
    hull_.appendages.push_back(Prism({{6, 1}, {7, 3}, {5, 3}}, 3, 2, 18));
    hull_.appendages.push_back(Prism({{-1, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 3}, {-2, 3}, {-2, 1}, {-1, 1}}, 4, 30, 40));
    hull_.fwdMarkY = 40;
    const HydroData at = At(1);
    const HydroData below = At(1 - 1e-9);
    // The touching bodies add no waterplane at Z = 1.
    EXPECT_NEAR(at.WPA, 20 * 1 + 10 * 2, 1e-9);
    const std::pair<const char*, double HydroData::*> fields[] = {
        {"volume", &HydroData::volume}, {"WPA", &HydroData::WPA}, {"KMT", &HydroData::KMT},
        {"KML", &HydroData::KML},       {"LCF", &HydroData::LCF}, {"TCF", &HydroData::TCF},
        {"I_T", &HydroData::I_T},       {"VCB", &HydroData::VCB}, {"LCB", &HydroData::LCB}};
    for (const auto& [name, f] : fields) {
        SCOPED_TRACE(name);
        EXPECT_NEAR(at.*f, below.*f, 1e-6 * (1 + std::fabs(at.*f)));
    }
    // Just above, the shelves come into the waterplane; the volume goes on smoothly.
    EXPECT_NEAR(At(1 + 1e-9).volume, at.volume, 1e-6);
}

TEST_F(HullHydrostatics, SearchWithoutActiveBodyFindsNothing)
{
    MakeBox();
    hull_.appendages[0].active = false;
    bool converged = true;
    EXPECT_EQ(hull_.FindDraughtForDisplacement(10, 0, 0.1, &converged), 0);
    EXPECT_FALSE(converged);
}

TEST_F(HullHydrostatics, TrimConversions)
{
    MakeBox();
    EXPECT_NEAR(hull_.TrimMetresToDegrees(1), 5.71059, 5e-6);
    EXPECT_NEAR(hull_.TrimDegreesToMetres(45), 10, 1e-12);
    EXPECT_NEAR(hull_.TrimDegreesToMetres(hull_.TrimMetresToDegrees(-0.7)), -0.7, 1e-12);
    hull_.fwdMarkY = hull_.aftMarkY = 5;
    const std::size_t before = LogSize();
    EXPECT_EQ(hull_.TrimMetresToDegrees(1), 0);
    EXPECT_EQ(hull_.TrimDegreesToMetres(45), 0);
    ASSERT_EQ(LogSize(), before + 2);
    EXPECT_EQ(hull_.log.Lines()[before],
              "ERROR: Failed converting trim in metres to deg - Fwd and aft draughts marks coincident");
    EXPECT_EQ(hull_.log.Lines()[before + 1],
              "ERROR: Failed converting trim in deg to metres - Fwd and aft draughts marks coincident");
}

// ---- analytic bodies -----------------------------------------------------------------

TEST_F(HullHydrostatics, BoxIsExactAtAnyFrameCount)
{
    for (int n : {2, 3, 4, 7, 11, 50, 101}) {
        hull_.appendages.clear();
        MakeBox(n);
        const HydroData r = At(1);
        SCOPED_TRACE(n);
        ExpectBoxAtDraughtOne(r);
    }
}

// Waterline from 0.8 m aft to 1.2 m forward. Volume, waterplane and its centre are exact;
// the strip rule's LCB and VCB errors fall as 1/N^2.
TEST_F(HullHydrostatics, TrimmedBox)
{
    const double t = 0.04, trim = std::atan(t) * 180 / kPi, c = std::cos(std::atan(t));
    const double lcb = 2 * (0.8 * 50 + t * 1000 / 3) / 20;
    const double vcb = (std::pow(1.2, 3) - std::pow(0.8, 3)) / (3 * t) / 20;
    double lastLcb = 0, lastVcb = 0;
    for (int n : {3, 5, 9, 17}) {
        hull_.appendages.clear();
        MakeBox(n);
        const HydroData r = At(0.8, trim);
        SCOPED_TRACE(n);
        EXPECT_NEAR(r.volume, 20, 1e-12);
        EXPECT_NEAR(r.WPA, 20 / c, 1e-12);
        EXPECT_NEAR(r.LCF, 5, 1e-12);
        EXPECT_NEAR(r.TCB, 0, 1e-12);
        EXPECT_NEAR(r.waterlineMaxY - r.waterlineMinY, 10 / c, 1e-12);
        const double eLcb = std::fabs(r.LCB - lcb), eVcb = std::fabs(r.VCB - vcb);
        EXPECT_GT(eLcb, 0);
        if (lastLcb > 0) {
            EXPECT_NEAR(lastLcb / eLcb, 4, 0.05);
            EXPECT_NEAR(lastVcb / eVcb, 4, 0.05);
        }
        lastLcb = eLcb;
        lastVcb = eVcb;
    }
}

// The trimmed box as one body and as two bodies end to end: the same inclined waterplane,
// 2 m by 10 / cos(trim) m, and so the same longitudinal inertia and MCT 1cm.
TEST_F(HullHydrostatics, TrimmedBoxInTwoBodiesHasTheWholeLongitudinalInertia)
{
    const double trim = std::atan(0.1) * 180 / kPi, c = std::cos(std::atan(0.1));
    const double length = 10 / c, inertia = 2 * length * length * length / 12;
    MakeBox(6);
    const HydroData whole = At(0.4, trim);
    EXPECT_NEAR(whole.I_L, inertia, 1e-9);
    hull_.appendages.clear();
    hull_.appendages.push_back(Prism(BoxOffsets(-1, 1, 0, 2), 3, 0, 5));
    hull_.appendages.push_back(Prism(BoxOffsets(-1, 1, 0, 2), 4, 5, 10));
    const HydroData split = At(0.4, trim);
    EXPECT_NEAR(split.WPA, 2 * length, 1e-12);
    EXPECT_NEAR(split.LCF, 5, 1e-12);
    EXPECT_NEAR(split.I_L, inertia, 1e-9);
    EXPECT_NEAR(split.MCT1cm, 1.025 * inertia / 1000, 1e-12);
}

// Trimmed so that the deck goes under at Y = 5: the submerged end of the strip keeps the
// whole section, and the volume stays exact wherever the frames are.
TEST_F(HullHydrostatics, TrimmedBoxWithDeckUnderWater)
{
    const double trim = std::atan(0.1) * 180 / kPi, c = std::cos(std::atan(0.1));
    for (int n : {2, 3, 4, 7, 11}) {
        hull_.appendages.clear();
        MakeBox(n);
        const HydroData r = At(1.5, trim);
        SCOPED_TRACE(n);
        EXPECT_NEAR(r.volume, 37.5, 1e-12);
        EXPECT_NEAR(r.WPA, 10 / c, 1e-12);
        EXPECT_NEAR(r.LCF, 2.5, 1e-12);
        EXPECT_NEAR(r.waterlineMinY, 0, 1e-12);
        EXPECT_NEAR(r.waterlineMaxY, 5 / c, 1e-12);
    }
}

// A prism of V sections, half-breadth z/2 at height z: all values follow in closed form.
TEST_F(HullHydrostatics, VeeSectionPrism)
{
    hull_.appendages.push_back(Prism({{0, 0}, {1, 2}, {-1, 2}}, 6));
    hull_.fwdMarkY = 10;
    for (double d : {0.3, 1.0, 1.7}) {
        const HydroData r = At(d);
        SCOPED_TRACE(d);
        const double b = d;  // waterline breadth
        EXPECT_NEAR(r.volume, 10 * d * d / 2, 1e-12);
        EXPECT_NEAR(r.VCB, 2 * d / 3, 1e-12);
        EXPECT_NEAR(r.LCB, 5, 1e-12);
        EXPECT_NEAR(r.WPA, 10 * b, 1e-12);
        EXPECT_NEAR(r.I_T, 10 * b * b * b / 12, 1e-12);
        EXPECT_NEAR(r.I_L, b * 1000 / 12, 1e-10);
        EXPECT_NEAR(r.KMT, (10 * b * b * b / 12) / (5 * d * d) + 2 * d / 3, 1e-12);
        EXPECT_NEAR(r.KML, (b * 1000 / 12) / (5 * d * d) + 2 * d / 3, 1e-9);
        EXPECT_NEAR(r.TPI, 1.025 * 10 * b * 0.01, 1e-12);
        EXPECT_NEAR(r.waterlineMinX, -d / 2, 1e-15);
        EXPECT_NEAR(r.waterlineMaxX, d / 2, 1e-15);
    }
}

// Wigley hull: half-breadth (B/2)(1 - (2Y/L)^2)(1 - ((T - Z)/T)^2), keel at Z = 0, deck at T.
// Sections of 2000 offsets make their own error negligible; the strip rule's errors in
// volume, waterplane and metacentres fall as 1/N^2 with N strips. KB is exact because
// every section is the same shape scaled across.
TEST_F(HullHydrostatics, WigleyHullConvergesAsOneOverNSquared)
{
    const double L = 20, B = 2, T = 1.25, d = 0.75;
    const double delta = d / T, bw = B * (2 * delta - delta * delta);
    const double vol = 2 * L / 3 * B * T * (delta * delta - delta * delta * delta / 3);
    const double kb =
        T * (2 * delta * delta * delta / 3 - std::pow(delta, 4) / 4) / (delta * delta - std::pow(delta, 3) / 3);
    const double wpa = 2 * L / 3 * bw;
    const double kmt = bw * bw * bw / 12 * 16 * L / 35 / vol + kb;
    const double kml = bw * L * L * L / 30 / vol + kb;

    auto build = [&](int strips) {
        Appendage a;
        const int m = 1000;
        for (int i = 0; i <= strips; ++i) {
            const double y = -L / 2 + L * i / strips;
            const double eta = 2 * y / L;
            Offsets o;
            for (int k = 0; k <= m; ++k) {  // starboard, keel up to the deck
                const double z = T * k / m, u = z / T;
                o.push_back({B / 2 * (1 - eta * eta) * (2 * u - u * u), z});
            }
            for (int k = m; k > 0; --k) {  // port, deck down to just above the keel
                const double z = T * k / m, u = z / T;
                o.push_back({-B / 2 * (1 - eta * eta) * (2 * u - u * u), z});
            }
            a.frames.push_back(MakeFrame(y, o));
        }
        return a;
    };
    struct Errors {
        double volume, kb, wpa, kmt, kml;
    };
    std::vector<Errors> errors;
    for (int n : {8, 16, 32}) {
        hull_.appendages.clear();
        hull_.appendages.push_back(build(n));
        const HydroData r = At(d);
        EXPECT_NEAR(r.LCB, 0, 1e-9);
        EXPECT_NEAR(r.LCF, 0, 1e-9);
        errors.push_back({r.volume - vol, r.VCB - kb, r.WPA - wpa, r.KMT - kmt, r.KML - kml});
    }
    for (std::size_t k = 1; k < errors.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(errors[k - 1].volume / errors[k].volume, 4, 0.1);
        EXPECT_NEAR(errors[k - 1].wpa / errors[k].wpa, 4, 0.1);
        EXPECT_NEAR(errors[k - 1].kmt / errors[k].kmt, 4, 0.2);
        EXPECT_NEAR(errors[k - 1].kml / errors[k].kml, 4, 0.2);
        EXPECT_LT(std::fabs(errors[k].kb), 1e-6 * T);
    }
    EXPECT_LT(std::fabs(errors.back().volume), 2e-3 * vol);
}

// A circular cylinder (a 128-gon of radius 1 with its keel on the heel axis) heeled by phi:
// at any displacement the centre of buoyancy lies under the circle's centre, so KN (the TCB
// of the heeled hull) is R sin(phi).
TEST_F(HullHydrostatics, CylinderCrossCurvesAreRSinPhi)
{
    const double R = 1;
    Offsets circle;
    for (int k = 0; k < 128; ++k) {
        const double a = -kPi / 2 + 2 * kPi * k / 128;
        circle.push_back({R * std::cos(a), R + R * std::sin(a)});
    }
    hull_.appendages.push_back(Prism(circle, 5));
    HydroData full;
    ASSERT_TRUE(hull_.GetHydroStatics(hull_.GetMaxZ(), 0, full));
    EXPECT_NEAR(full.volume, 10 * 64 * R * R * std::sin(2 * kPi / 128), 1e-12);  // the polygon
    for (double phi : {0.0, 10.0, 30.0, 45.0, 60.0, 80.0, 90.0}) {
        std::unique_ptr<Hullform> heeled = hull_.HeeledCopy(phi);
        for (double fraction : {0.2, 0.5, 0.8}) {
            SCOPED_TRACE(::testing::Message() << phi << " deg, " << fraction);
            bool converged = false;
            const double d =
                heeled->FindDraughtForDisplacement(fraction * full.displacement, 0, 0.01, &converged);
            ASSERT_TRUE(converged);
            HydroData r;
            ASSERT_TRUE(heeled->GetHydroStatics(d, 0, r));
            EXPECT_NEAR(r.TCB, R * std::sin(phi * kPi / 180), 2e-5);  // polygon, not circle
        }
    }
}

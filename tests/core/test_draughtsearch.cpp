// Draught searches run in turn on one hull: the same answers as single searches, with the
// search's bounds calculated once.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "HullFixtures.h"
#include "core/DraughtSearch.h"
#include "core/HydroData.h"
#include "core/Hullform.h"

using core::DraughtSearch;
using core::HydroData;
using core::Hullform;

namespace {

constexpr double kPi = 3.141592653589793;

// A Wigley-type body of closed frames, 20 m x 4 m x 3 m deep.
core::Appendage Wigley(int frames, int offsets)
{
    core::Appendage body;
    for (int i = 0; i < frames; ++i) {
        const double y = 20.0 * i / (frames - 1);
        const double eta = y / 10 - 1;
        const double half = 2 * (1 - 0.9 * eta * eta);
        core::Section s;
        s.SetY(y);
        for (int k = 0; k < offsets; ++k) {
            const double a = -kPi / 2 + 2 * kPi * k / offsets;
            s.AddOffset(half * std::cos(a), 1.5 * (1 + std::sin(a)));
        }
        body.frames.push_back(std::move(s));
    }
    return body;
}

// Every figure but the curves, exactly.
void ExpectSameFigures(const HydroData& a, const HydroData& b)
{
    EXPECT_EQ(a.draught, b.draught);
    EXPECT_EQ(a.volume, b.volume);
    EXPECT_EQ(a.displacement, b.displacement);
    EXPECT_EQ(a.VCB, b.VCB);
    EXPECT_EQ(a.TCB, b.TCB);
    EXPECT_EQ(a.LCB, b.LCB);
    EXPECT_EQ(a.LCF, b.LCF);
    EXPECT_EQ(a.TCF, b.TCF);
    EXPECT_EQ(a.WPA, b.WPA);
    EXPECT_EQ(a.I_L, b.I_L);
    EXPECT_EQ(a.I_T, b.I_T);
    EXPECT_EQ(a.KMT, b.KMT);
    EXPECT_EQ(a.KML, b.KML);
    EXPECT_EQ(a.TPI, b.TPI);
    EXPECT_EQ(a.MCT1cm, b.MCT1cm);
    EXPECT_EQ(a.waterlineMinX, b.waterlineMinX);
    EXPECT_EQ(a.waterlineMaxX, b.waterlineMaxX);
    EXPECT_EQ(a.waterlineMinY, b.waterlineMinY);
    EXPECT_EQ(a.waterlineMaxY, b.waterlineMaxY);
}

class DraughtSearchTest : public ::testing::Test {
protected:
    fixtures::ScopedTempDir dir_;
    Hullform hull_{dir_.File("search.log")};

    void SetUp() override { hull_.appendages.push_back(Wigley(21, 41)); }

    double Largest()
    {
        HydroData full;
        EXPECT_TRUE(hull_.GetHydroStatics(hull_.GetMaxZ(), 0, full));
        return full.displacement;
    }
};

TEST_F(DraughtSearchTest, WithoutCurvesTheFiguresAreTheSame)
{
    for (double trim : {0.0, 2.0}) {
        for (double draught : {0.4, 1.5, 2.9}) {
            SCOPED_TRACE(::testing::Message() << trim << " deg, " << draught << " m");
            HydroData with, without;
            ASSERT_TRUE(hull_.GetHydroStatics(draught, trim, with));
            ASSERT_TRUE(hull_.GetHydroStatics(draught, trim, without, false));
            ExpectSameFigures(with, without);
            EXPECT_FALSE(with.areaCurves.finalCurve.Y.empty());
            EXPECT_TRUE(without.areaCurves.finalCurve.Y.empty());
            EXPECT_TRUE(without.buoyancyCurves.finalCurve.Y.empty());
        }
    }
}

// Each displacement of a cross curve, from none to more than the hull floats, searched in
// turn: the draughts and their figures are those of a search of its own followed by the
// hydrostatics at the draught found.
TEST_F(DraughtSearchTest, SearchesInTurnFindWhatSingleSearchesFind)
{
    const double largest = Largest();
    for (double heel : {0.0, 30.0, 75.0}) {
        for (double trim : {0.0, 1.5, -3.0}) {
            const auto heeled = hull_.HeeledCopy(heel);
            DraughtSearch search(*heeled, trim);
            for (int k = 0; k <= 12; ++k) {
                SCOPED_TRACE(::testing::Message() << heel << " deg heel, " << trim << " deg trim, " << k);
                const double target = largest * k / 11;
                bool alone = false, inTurn = false;
                const double d = heeled->FindDraughtForDisplacement(target, trim, 0.01, &alone);
                EXPECT_EQ(search.Find(target, 0.01, &inTurn), d);
                EXPECT_EQ(inTurn, alone);
                if (!alone)
                    continue;
                HydroData r;
                ASSERT_TRUE(heeled->GetHydroStatics(d, trim, r));
                ExpectSameFigures(search.Found(), r);
                EXPECT_TRUE(search.Found().areaCurves.finalCurve.Y.empty());
            }
        }
    }
}

// Upright at no trim the bounds are the keel and the highest point: the searches after the
// first calculate neither again.
TEST_F(DraughtSearchTest, TheBoundsAreCalculatedOnce)
{
    const double largest = Largest();
    DraughtSearch search(hull_, 0);
    unsigned alone = 0;
    const int count = 10;
    for (int k = 1; k <= count; ++k) {
        SCOPED_TRACE(k);
        const double target = largest * k / (count + 1);
        unsigned single = 0, inTurn = 0;
        bool converged = false;
        hull_.FindDraughtForDisplacement(target, 0, 0.01, &converged, &single);
        ASSERT_TRUE(converged);
        search.Find(target, 0.01, &converged, &inTurn);
        ASSERT_TRUE(converged);
        EXPECT_EQ(inTurn, k == 1 ? single : single - 2);
        alone += single;
    }
    EXPECT_EQ(search.Evaluations(), alone - 2 * (count - 1));
}

// A bound that floats the target ends the search there, also when it was kept from an
// earlier search, and the figures found are those at the bound.
TEST_F(DraughtSearchTest, ABoundKeptFromAnEarlierSearchGivesItsFigures)
{
    const double largest = Largest();
    DraughtSearch search(hull_, 0);
    bool converged = false;
    search.Find(largest / 2, 0.01, &converged);
    ASSERT_TRUE(converged);
    unsigned evaluations = 0;
    EXPECT_EQ(search.Find(largest, 0.01, &converged, &evaluations), hull_.GetMaxZ());
    EXPECT_TRUE(converged);
    EXPECT_EQ(evaluations, 1u);  // the figures at the kept bound
    HydroData top;
    ASSERT_TRUE(hull_.GetHydroStatics(hull_.GetMaxZ(), 0, top));
    ExpectSameFigures(search.Found(), top);
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/CurveSet.h"

using core::CurveSet;
using core::LongitudinalCurve;

namespace {

LongitudinalCurve MakeCurve(const std::vector<std::pair<double, double>>& points)
{
    LongitudinalCurve c;
    std::string msg;
    for (auto [y, v] : points)
        EXPECT_TRUE(c.AddArea(y, v, msg));
    return c;
}

std::vector<double> Ys(const LongitudinalCurve& c) { return {c.Y.begin(), c.Y.end()}; }
std::vector<double> Values(const LongitudinalCurve& c) { return {c.value.begin(), c.value.end()}; }

}  // namespace

TEST(LongitudinalCurve, AddAreaKeepsOrderAndMergesEqualY)
{
    LongitudinalCurve c = MakeCurve({{2, 5}, {1, 3}, {3, 1}});
    EXPECT_EQ(Ys(c), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Values(c), (std::vector<double>{3, 5, 1}));
    std::string msg = "untouched";
    EXPECT_TRUE(c.AddArea(2, 4, msg));
    EXPECT_EQ(Ys(c), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Values(c), (std::vector<double>{3, 9, 1}));
    EXPECT_TRUE(c.AddArea(1.5, 7, msg));  // between two points
    EXPECT_TRUE(c.AddArea(3, 1, msg));    // on the last point
    EXPECT_EQ(Ys(c), (std::vector<double>{1, 1.5, 2, 3}));
    EXPECT_EQ(Values(c), (std::vector<double>{3, 7, 9, 2}));
    EXPECT_EQ(msg, "untouched");
}

TEST(LongitudinalCurve, AddingZeroOnlyMakesSureAPointExists)
{
    LongitudinalCurve c = MakeCurve({{1, 3}, {2, 5}});
    std::string msg;
    c.AddArea(2, 0, msg);
    EXPECT_EQ(Values(c), (std::vector<double>{3, 5}));
    c.AddArea(1.25, 0, msg);
    EXPECT_EQ(Ys(c), (std::vector<double>{1, 1.25, 2}));
    EXPECT_EQ(Values(c), (std::vector<double>{3, 0, 5}));
}

TEST(LongitudinalCurve, AddAreaRefusesNaNWhenPointsExist)
{
    LongitudinalCurve c = MakeCurve({{1, 3}, {2, 5}});
    std::string msg;
    EXPECT_FALSE(c.AddArea(std::nan(""), 1, msg));
    EXPECT_EQ(msg, "ERROR: Add Area failed at Y=NAN");
    EXPECT_EQ(c.Y.size(), 2u);
}

TEST(LongitudinalCurve, GetAreaInterpolatesInsideAndIsZeroOutside)
{
    const LongitudinalCurve c = MakeCurve({{0, 0}, {10, 10}});
    struct Case {
        double y, expected;
    } cases[] = {{2.5, 2.5}, {0, 0}, {10, 10}, {7, 7}, {-1, 0}, {10.5, 0}};
    for (const Case& k : cases) {
        std::string msg = "untouched";
        EXPECT_DOUBLE_EQ(c.GetArea(k.y, msg), k.expected) << k.y;
        EXPECT_EQ(msg, "untouched") << k.y;
    }
    const LongitudinalCurve three = MakeCurve({{0, 1}, {2, 3}, {4, -1}});
    std::string msg;
    EXPECT_DOUBLE_EQ(three.GetArea(2, msg), 3);
    EXPECT_DOUBLE_EQ(three.GetArea(3, msg), 1);
    EXPECT_DOUBLE_EQ(three.GetArea(0.5, msg), 1.5);
}

// The lists are public; a position that matches no point of a broken list is an error.
TEST(LongitudinalCurve, GetAreaReportsAPositionItCannotPlace)
{
    LongitudinalCurve c;
    c.Y = {0, std::nan(""), 4};
    c.value = {1, 1, 1};
    std::string msg;
    EXPECT_EQ(c.GetArea(2.5, msg), 0);
    EXPECT_EQ(msg, "ERROR: Get Area from curve failed at Y=2.5");
}

TEST(LongitudinalCurve, EmptyCurve)
{
    const LongitudinalCurve c;
    std::string msg;
    EXPECT_EQ(c.GetArea(1, msg), 0);
    EXPECT_EQ(msg, "Error: Get area from curve failed. No data in curve");
    EXPECT_EQ(c.GetTotalArea(), 0);
    msg.clear();
    EXPECT_EQ(c.GetCentroid(msg), 0);
    EXPECT_EQ(msg, "NOTE: Longitudinal area under curve is zero therefore 0.00 returned for LCB");
}

TEST(LongitudinalCurve, TotalAreaAndMidSpanCentroid)
{
    const LongitudinalCurve c = MakeCurve({{0, 0}, {10, 10}});
    std::string msg = "untouched";
    EXPECT_DOUBLE_EQ(c.GetTotalArea(), 50);
    EXPECT_DOUBLE_EQ(c.GetCentroid(msg), 5);  // strip mid-span, not 20/3
    EXPECT_EQ(msg, "untouched");

    const LongitudinalCurve two = MakeCurve({{0, 2}, {1, 2}, {3, 4}});
    EXPECT_DOUBLE_EQ(two.GetTotalArea(), 2 + 6);
    EXPECT_DOUBLE_EQ(two.GetCentroid(msg), (0.5 * 2 + 2 * 6) / 8.0);

    const LongitudinalCurve zero = MakeCurve({{0, 0}, {3, 0}});
    EXPECT_EQ(zero.GetTotalArea(), 0);
    EXPECT_EQ(zero.GetCentroid(msg), 0);
    EXPECT_EQ(msg, "NOTE: Longitudinal area under curve is zero therefore 0.00 returned for LCB");

    // A negative total is treated as zero as well.
    const LongitudinalCurve negative = MakeCurve({{0, -1}, {3, -1}});
    msg.clear();
    EXPECT_EQ(negative.GetCentroid(msg), 0);
    EXPECT_FALSE(msg.empty());
}

TEST(LongitudinalCurve, OnePointHasNoArea)
{
    const LongitudinalCurve c = MakeCurve({{4, 7}});
    std::string msg;
    EXPECT_EQ(c.GetTotalArea(), 0);
    EXPECT_EQ(c.GetArea(4, msg), 7);
}

TEST(CurveSet, FinalCurveSumsOverlappingCurves)
{
    CurveSet set;
    set.curves.push_back(MakeCurve({{0, 1}, {4, 1}}));
    set.curves.push_back(MakeCurve({{2, 1}, {6, 1}}));
    std::string msg = "untouched";
    EXPECT_TRUE(set.CreateFinalCurve(msg));
    EXPECT_EQ(Ys(set.finalCurve), (std::vector<double>{0, 2, 4, 6}));
    EXPECT_EQ(Values(set.finalCurve), (std::vector<double>{1, 2, 2, 1}));
    EXPECT_EQ(msg, "untouched");

    // Rebuilding replaces the old final curve instead of adding to it.
    EXPECT_TRUE(set.CreateFinalCurve(msg));
    EXPECT_EQ(Values(set.finalCurve), (std::vector<double>{1, 2, 2, 1}));
}

TEST(CurveSet, FinalCurveOfSeparateBodiesLiesSideBySide)
{
    CurveSet set;
    set.curves.push_back(MakeCurve({{5, 0}, {6, 2}, {7, 0}}));
    set.curves.push_back(MakeCurve({{0, 0}, {1, 3}, {2, 0}}));
    std::string msg;
    ASSERT_TRUE(set.CreateFinalCurve(msg));
    EXPECT_EQ(Ys(set.finalCurve), (std::vector<double>{0, 1, 2, 5, 6, 7}));
    EXPECT_EQ(Values(set.finalCurve), (std::vector<double>{0, 3, 0, 0, 2, 0}));
    EXPECT_DOUBLE_EQ(set.finalCurve.GetTotalArea(), 3 + 2);
}

TEST(CurveSet, FinalCurveMatchesPointwiseSumsOfRandomCurves)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> pos(-50, 50), val(0, 30);
    for (int trial = 0; trial < 20; ++trial) {
        CurveSet set;
        const int count = 1 + trial % 5;
        std::string msg;
        for (int j = 0; j < count; ++j) {
            LongitudinalCurve c;
            for (int k = 0; k < 40; ++k)
                c.AddArea(std::round(pos(rng) * 4) / 4, val(rng), msg);  // shared Y values
            set.curves.push_back(c);
        }
        // The defining construction: every Y once with 0, then each curve's value added.
        LongitudinalCurve expected;
        for (const LongitudinalCurve& c : set.curves)
            for (double y : c.Y)
                expected.AddArea(y, 0, msg);
        for (const LongitudinalCurve& c : set.curves)
            for (std::size_t k = 0; k < expected.Y.size(); ++k)
                expected.AddArea(expected.Y[k], c.GetArea(expected.Y[k], msg), msg);
        ASSERT_TRUE(set.CreateFinalCurve(msg));
        EXPECT_EQ(Ys(set.finalCurve), Ys(expected));
        EXPECT_EQ(Values(set.finalCurve), Values(expected));  // bit for bit
    }
}

TEST(CurveSet, EmptySetRefusesAndKeepsFinalCurve)
{
    CurveSet set;
    set.finalCurve = MakeCurve({{1, 1}});
    std::string msg;
    EXPECT_FALSE(set.CreateFinalCurve(msg));
    EXPECT_EQ(msg, "Error: Invalid Index (0) used when creating a final longitudinal curve");
    EXPECT_EQ(Ys(set.finalCurve), (std::vector<double>{1}));
}

TEST(CurveSet, EmptyCurveInSetAddsNothing)
{
    CurveSet set;
    set.curves.push_back(MakeCurve({{0, 1}, {4, 1}}));
    set.curves.emplace_back();
    std::string msg;
    EXPECT_TRUE(set.CreateFinalCurve(msg));
    EXPECT_EQ(Values(set.finalCurve), (std::vector<double>{1, 1}));
    EXPECT_EQ(msg, "Error: Get area from curve failed. No data in curve");
}

TEST(CurveSet, NaNPositionFailsTheFinalCurve)
{
    CurveSet set;
    set.curves.push_back(MakeCurve({{0, 1}, {4, 1}}));
    set.curves.push_back(MakeCurve({{std::nan(""), 1}}));
    std::string msg;
    EXPECT_FALSE(set.CreateFinalCurve(msg));
    EXPECT_EQ(msg, "ERROR: Add Area failed at Y=NAN");
}

TEST(CurveSet, GetAreaChecksTheIndex)
{
    CurveSet set;
    set.curves.push_back(MakeCurve({{0, 0}, {10, 10}}));
    set.curves.push_back(MakeCurve({{0, 1}, {10, 1}}));
    std::string msg;
    EXPECT_DOUBLE_EQ(set.GetArea(5, 0, msg), 5);
    EXPECT_DOUBLE_EQ(set.GetArea(5, 1, msg), 1);
    EXPECT_TRUE(set.IsIndexValid(1));
    EXPECT_FALSE(set.IsIndexValid(2));
    EXPECT_EQ(set.GetArea(5, 3, msg), 0);
    EXPECT_EQ(msg, "Error: Invalid Index (3) used when getting data from longitudinal curve");
    EXPECT_EQ(set.GetArea(5, static_cast<unsigned>(-1), msg), 0);
    EXPECT_EQ(msg, "Error: Invalid Index (4294967295) used when getting data from longitudinal curve");
}

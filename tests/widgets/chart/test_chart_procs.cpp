// Date-time steps, hit tests and text helpers of the chart engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/DateTime.h"
#include "widgets/chart/ChartProcs.h"

using namespace chart;
using platform::TPoint;

TEST(ChartDateSteps, NextStepIsTheFollowingTableEntry)
{
    struct Case {
        double step, next;
    } cases[] = {{1.5, 2}, {0.5, 1}, {400, 365}, {1e-12, 365}, {7, 15}, {182, 365}, {1.0 / 86400, 5.0 / 86400}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(NextDateTimeStep(c.step), c.next) << c.step;
}

TEST(ChartDateSteps, FindStepMatchesTheTable)
{
    EXPECT_EQ(FindDateTimeStep(7), dtOneWeek);
    EXPECT_EQ(FindDateTimeStep(8), dtNone);
    EXPECT_EQ(FindDateTimeStep(365), dtOneYear);
    EXPECT_EQ(FindDateTimeStep(1.0 / 24), dtOneHour);
}

TEST(ChartDateSteps, RoundDate)
{
    const double t = base::EncodeDate(2004, 3, 20) + base::EncodeTime(14, 30, 0, 0);
    EXPECT_DOUBLE_EQ(ChartRoundDate(t, dtHalfMonth), base::EncodeDate(2004, 3, 15));
    EXPECT_DOUBLE_EQ(ChartRoundDate(t, dtOneHour), base::EncodeDate(2004, 3, 20));
    EXPECT_DOUBLE_EQ(ChartRoundDate(t, dtOneYear), base::EncodeDate(2004, 1, 1));
    EXPECT_DOUBLE_EQ(ChartRoundDate(1.5, dtOneYear), 1.5);  // not after 1 January 1900
}

TEST(ChartDateSteps, Increment)
{
    struct Case {
        int y, m, d;
        bool up;
        TDateTimeStep step;
        int ey, em, ed;
    } cases[] = {
        {2004, 3, 20, false, dtHalfMonth, 2004, 3, 15}, {2004, 3, 15, false, dtHalfMonth, 2004, 3, 1},
        {2004, 3, 1, false, dtHalfMonth, 2004, 2, 15},  {2004, 3, 1, true, dtHalfMonth, 2004, 4, 15},
        {2004, 3, 20, true, dtHalfMonth, 2004, 3, 15},  {2004, 2, 10, false, dtThreeMonths, 2003, 11, 1},
        {2004, 11, 10, true, dtThreeMonths, 2005, 2, 1}, {2004, 5, 6, true, dtOneYear, 2005, 5, 6},
    };
    for (const Case& c : cases) {
        double v = base::EncodeDate(c.y, c.m, c.d);
        ChartDateTimeIncrement(true, c.up, v, 0, c.step);
        EXPECT_DOUBLE_EQ(v, base::EncodeDate(c.ey, c.em, c.ed)) << c.y << "-" << c.m << "-" << c.d;
    }
    double v = 10;
    ChartDateTimeIncrement(false, false, v, 2.5, dtOneMonth);
    EXPECT_DOUBLE_EQ(v, 7.5);
}

TEST(ChartHitTests, PointInLine)
{
    struct Case {
        TPoint p;
        int tol;
        bool hit;
    } cases[] = {{{5, 10}, 0, true},  {{5, 11}, 0, true}, {{5, 12}, 0, false}, {{5, 12}, 1, true},
                 {{0, 10}, 0, true},  {{-2, 10}, 0, false}, {{12, 10}, 0, false}, {{11, 10}, 0, true}};
    for (const Case& c : cases) EXPECT_EQ(PointInLine(c.p, 0, 10, 10, 10, c.tol), c.hit) << c.p.X << "," << c.p.Y;
    EXPECT_TRUE(PointInLine({3, 3}, {3, 3}, {3, 3}));
    EXPECT_TRUE(PointInLine({5, 5}, {0, 0}, {10, 10}));
    EXPECT_FALSE(PointInLine({5, 8}, {0, 0}, {10, 10}));
}

TEST(ChartHitTests, PointInPolygonEdges)
{
    const TPoint square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    struct Case {
        TPoint p;
        bool in;
    } cases[] = {{{5, 0}, true}, {{5, 10}, false}, {{5, 5}, true}, {{0, 5}, true}, {{10, 5}, false},
                 {{-1, 5}, false}, {{5, -1}, false}};
    for (const Case& c : cases) EXPECT_EQ(PointInPolygon(c.p, square, 3), c.in) << c.p.X << "," << c.p.Y;
    EXPECT_FALSE(PointInPolygon({0, 0}, square, -1));
    EXPECT_TRUE(PointInTriangle({5, 5}, 0, 10, 10, 0));
    EXPECT_FALSE(PointInTriangle({1, 1}, 0, 10, 10, 0));
    EXPECT_TRUE(PointInHorizTriangle({2, 5}, 0, 10, 0, 10));
}

TEST(ChartHitTests, PointInEllipseEdges)
{
    struct Case {
        TPoint p;
        bool in;
    } cases[] = {{{10, 5}, true}, {{0, 5}, true}, {{20, 5}, true}, {{10, 0}, true}, {{10, 10}, true},
                 {{21, 5}, false}, {{10, 11}, false}, {{1, 1}, false}};
    for (const Case& c : cases) EXPECT_EQ(PointInEllipse(c.p, 0, 0, 20, 10), c.in) << c.p.X << "," << c.p.Y;
    EXPECT_FALSE(PointInEllipse({0, 0}, 0, 0, 20, 0));  // no height
}

TEST(ChartHitTests, CrossingLinesAlsoForVerticalSegments)
{
    double x, y;
    EXPECT_TRUE(CrossingLines(0, 0, 10, 10, 0, 10, 10, 0, x, y));
    EXPECT_DOUBLE_EQ(x, 5);
    EXPECT_DOUBLE_EQ(y, 5);
    EXPECT_TRUE(CrossingLines(5, -5, 5, 5, 0, 0, 10, 0, x, y));  // first one vertical
    EXPECT_DOUBLE_EQ(x, 5);
    EXPECT_DOUBLE_EQ(y, 0);
    EXPECT_TRUE(CrossingLines(0, 2, 10, 2, 3, 0, 3, 9, x, y));  // second one vertical
    EXPECT_DOUBLE_EQ(x, 3);
    EXPECT_DOUBLE_EQ(y, 2);
    EXPECT_FALSE(CrossingLines(0, 0, 0, 10, 5, 0, 5, 10, x, y));  // both vertical, apart
    EXPECT_FALSE(CrossingLines(0, 0, 10, 0, 20, -5, 20, 5, x, y));
}

TEST(ChartHelpers, FieldsAndReplaceChar)
{
    EXPECT_EQ(ChartNumFields("a;b;c"), 3);
    EXPECT_EQ(ChartNumFields(""), 0);
    EXPECT_EQ(ChartExtractField("a;b;c", 2), "b");
    EXPECT_EQ(ChartExtractField("a;b;c", 5), "c");
    EXPECT_EQ(ChartExtractField("a;b;c", 0), "");
    EXPECT_EQ(ChartExtractField("x|y", 2, "|"), "y");
    EXPECT_EQ(ChartFieldsSeparator, ";");
    EXPECT_EQ(ReplaceChar("a.b.c", '.', ','), "a,b,c");
    EXPECT_EQ(ReplaceChar("a.b.c", '.'), "abc");
    EXPECT_EQ(ReplaceChar("a.b.c", '.', '.'), "a.b.c");  // terminates
    EXPECT_EQ(ChartStr(-42), "-42");
}

TEST(ChartHelpers, SortWithCallbacks)
{
    std::vector<int> v = {5, 3, 9, 1, 1, 7, 2, 8, 6, 4, 0, 5};
    ChartSort(0, int(v.size()) - 1, [&](int a, int b) { return v[std::size_t(a)] - v[std::size_t(b)]; },
              [&](int a, int b) { std::swap(v[std::size_t(a)], v[std::size_t(b)]); });
    EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
}

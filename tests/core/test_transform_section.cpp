#include <gtest/gtest.h>

#include <cmath>

#include "core/Section.h"
#include "test_transform_helpers.h"

using core::Section;
using transform_test::Frame;
using transform_test::Offsets;

namespace {

constexpr double kPi = 3.141592653589793;

struct Extents {
    double maxX, minX, maxZ, minZ;
};

void ExpectExtents(const Section& s, const Extents& e) {
    EXPECT_EQ(s.GetMaxX(), e.maxX);
    EXPECT_EQ(s.GetMinX(), e.minX);
    EXPECT_EQ(s.GetMaxZ(), e.maxZ);
    EXPECT_EQ(s.GetMinZ(), e.minZ);
}

struct ScaleCase {
    double fx, fz;
    Offsets expected;
    Extents extents;
};

}  // namespace

TEST(SectionScale, OffsetsAndExtentsOverFactors) {
    const Offsets start = {{1, 0}, {2, 1}, {0.5, 3}};
    const ScaleCase cases[] = {
        {2, 3, {{2, 0}, {4, 3}, {1, 9}}, {4, 1, 9, 0}},
        {1, 1, start, {2, 0.5, 3, 0}},
        {0, 0, {{0, 0}, {0, 0}, {0, 0}}, {0, 0, 0, 0}},
        {-1, 1, {{-1, 0}, {-2, 1}, {-0.5, 3}}, {-0.5, -2, 3, 0}},
        {1, -2, {{1, 0}, {2, -2}, {0.5, -6}}, {2, 0.5, 0, -6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "fx " << c.fx << " fz " << c.fz);
        Section s = Frame("A", 7, start);
        s.checked = true;
        EXPECT_TRUE(s.Scale(c.fx, c.fz));
        ASSERT_EQ(s.GetOffsetCount(), c.expected.size());
        for (unsigned k = 0; k < s.GetOffsetCount(); ++k) {
            EXPECT_EQ(s.GetX(k), c.expected[k].first);
            EXPECT_EQ(s.GetZ(k), c.expected[k].second);
        }
        ExpectExtents(s, c.extents);
        EXPECT_EQ(s.GetY(), 7);
        EXPECT_EQ(s.name, "A");
        EXPECT_TRUE(s.checked);
    }
}

TEST(SectionMove, OffsetsAndExtents) {
    Section s = Frame("A", 2, {{1, 0}, {-1, 2}});
    EXPECT_TRUE(s.Move(0.5, -1));
    EXPECT_EQ(s.X, (std::vector<double>{1.5, -0.5}));
    EXPECT_EQ(s.Z, (std::vector<double>{-1, 1}));
    ExpectExtents(s, {1.5, -0.5, 1, -1});
    EXPECT_EQ(s.GetY(), 2);
}

TEST(SectionTransform, EmptyFrameKeepsItsExtents) {
    // A frame whose last offset was deleted keeps the extents it had.
    Section s = Frame("A", 0, {{2, 3}});
    s.DeleteOffset(0);
    EXPECT_TRUE(s.Scale(2, 2));
    EXPECT_TRUE(s.Move(1, 1));
    EXPECT_TRUE(s.Rotate(30));
    EXPECT_EQ(s.GetOffsetCount(), 0u);
    ExpectExtents(s, {2, 2, 3, 3});
}

TEST(SectionRotate, QuarterTurns) {
    Section s = Frame("A", 0, {{1, 0}, {0, 0}});
    EXPECT_TRUE(s.Rotate(90));
    EXPECT_NEAR(s.GetX(0), 0, 1e-15);
    EXPECT_NEAR(s.GetZ(0), -1, 1e-15);
    // The origin is left exactly where it is.
    EXPECT_TRUE(transform_test::Bits(s.GetX(1), 0.0));
    EXPECT_TRUE(transform_test::Bits(s.GetZ(1), 0.0));

    Section t = Frame("A", 0, {{1, 0}});
    t.Rotate(-90);
    EXPECT_NEAR(t.GetX(0), 0, 1e-15);
    EXPECT_NEAR(t.GetZ(0), 1, 1e-15);
}

TEST(SectionRotate, MatchesTheRotationFormulaInEveryQuadrant) {
    // X' = X cos a + Z sin a, Z' = Z cos a - X sin a: positive angles lower +X.
    const Offsets points = {{1, 0},  {2, 1},   {0, 3},  {-1, 2}, {-2, 0},
                            {-1, -1}, {0, -2}, {3, -1}, {-0.0, 1}, {1e-9, -5}};
    const double angles[] = {0, 10, 45, 90, 135, 180, 270, 359, 360, 725, -30, -200, 1e-7};
    for (double angle : angles) {
        SCOPED_TRACE(::testing::Message() << "angle " << angle);
        Section s = Frame("A", 4, points);
        s.Rotate(angle);
        const double a = angle * kPi / 180;
        double maxX = -1e300, minX = 1e300, maxZ = -1e300, minZ = 1e300;
        for (unsigned k = 0; k < points.size(); ++k) {
            const auto [x, z] = points[k];
            const double r = std::hypot(x, z);
            EXPECT_NEAR(s.GetX(k), x * std::cos(a) + z * std::sin(a), 1e-14 * (1 + r)) << k;
            EXPECT_NEAR(s.GetZ(k), z * std::cos(a) - x * std::sin(a), 1e-14 * (1 + r)) << k;
            EXPECT_NEAR(std::hypot(s.GetX(k), s.GetZ(k)), r, 1e-14 * (1 + r)) << k;
            maxX = std::max(maxX, s.GetX(k));
            minX = std::min(minX, s.GetX(k));
            maxZ = std::max(maxZ, s.GetZ(k));
            minZ = std::min(minZ, s.GetZ(k));
        }
        ExpectExtents(s, {maxX, minX, maxZ, minZ});
        EXPECT_EQ(s.GetY(), 4);
    }
}

TEST(SectionRotate, KeepsSmallOffsetsBesideTheXAxis) {
    // A point a hair off the X axis keeps its hair: each coordinate is as near the exact
    // rotation as rounding allows.
    const Offsets points = {{1, 1e-9}, {1, -1e-9}, {250, 3e-7}, {-1, 1e-9}, {1e-9, 1}};
    for (double angle : {10.0, 0.5, -45.0, 1e-7}) {
        SCOPED_TRACE(::testing::Message() << "angle " << angle);
        Section s = Frame("A", 0, points);
        s.Rotate(angle);
        const long double a = static_cast<long double>(angle) * 3.14159265358979323846264338327950288L / 180;
        for (unsigned k = 0; k < points.size(); ++k) {
            const long double x = points[k].first, z = points[k].second;
            const long double r = std::hypot(x, z);
            EXPECT_NEAR(s.GetX(k), static_cast<double>(x * std::cos(a) + z * std::sin(a)), 1e-14 * r) << k;
            EXPECT_NEAR(s.GetZ(k), static_cast<double>(z * std::cos(a) - x * std::sin(a)), 1e-14 * r) << k;
        }
    }
}

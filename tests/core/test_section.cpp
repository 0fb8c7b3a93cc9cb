#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "HullFixtures.h"
#include "core/Section.h"

using core::Section;
using fixtures::MakeFrame;
using fixtures::Offsets;
using fixtures::OffsetsOf;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Extents {
    double maxX, minX, maxZ, minZ;
};

void ExpectExtents(const Section& s, Extents e) {
    EXPECT_EQ(s.GetMaxX(), e.maxX);
    EXPECT_EQ(s.GetMinX(), e.minX);
    EXPECT_EQ(s.GetMaxZ(), e.maxZ);
    EXPECT_EQ(s.GetMinZ(), e.minZ);
}

}  // namespace

TEST(Section, NewFrameIsBlank) {
    Section s;
    EXPECT_EQ(s.name, "Blank");
    EXPECT_FALSE(s.checked);
    EXPECT_EQ(s.GetOffsetCount(), 0u);
    EXPECT_TRUE(s.X.empty());
    EXPECT_TRUE(s.Z.empty());
    ExpectExtents(s, {0, 0, 0, 0});
    EXPECT_EQ(s.GetY(), 0);
}

TEST(Section, CopyCopiesEveryField) {
    Section a = MakeFrame(2.5, {{1, 2}, {3, -4}}, "A");
    a.checked = true;
    Section b = a;
    a.SetX(0, 9);
    EXPECT_EQ(b.name, "A");
    EXPECT_TRUE(b.checked);
    EXPECT_EQ(OffsetsOf(b), (Offsets{{1, 2}, {3, -4}}));
    ExpectExtents(b, {3, 1, 2, -4});
    EXPECT_EQ(b.GetY(), 2.5);
}

struct SnapCase {
    double value, step, expected;
};

class SectionSnap : public ::testing::TestWithParam<SnapCase> {};

TEST_P(SectionSnap, RoundsMagnitudeHalfAwayFromZero) {
    const SnapCase c = GetParam();
    const double got = Section::Snap(c.value, c.step);
    if (std::isnan(c.expected)) {
        EXPECT_TRUE(std::isnan(got));
    } else {
        EXPECT_DOUBLE_EQ(got, c.expected) << c.value << " step " << c.step;
        EXPECT_EQ(std::signbit(got), std::signbit(c.expected)) << c.value << " step " << c.step;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SectionSnap,
    ::testing::Values(SnapCase{1.2, 0.5, 1.0}, SnapCase{1.25, 0.5, 1.5}, SnapCase{-1.25, 0.5, -1.5},
                      SnapCase{0.2, 0.5, 0.0}, SnapCase{-0.2, 0.5, -0.0}, SnapCase{1.3, 0.5, 1.5},
                      SnapCase{-0.13, 0.25, -0.25}, SnapCase{0.125, 0.25, 0.25}, SnapCase{0.0, 0.5, 0.0},
                      SnapCase{-0.0, 0.5, 0.0}, SnapCase{7.0, 1.0, 7.0}, SnapCase{-7.49, 1.0, -7.0},
                      SnapCase{0.3, 0.1, 0.30000000000000004},
                      // Beyond 32-bit counts of steps the snap still rounds.
                      SnapCase{3e9 + 0.3, 0.5, 3e9 + 0.5}, SnapCase{-3e10, 1.0, -3e10},
                      // Finite values stay finite: steps too small to count, and the
                      // multiple beyond the largest double.
                      SnapCase{2.2, 1e-310, 2.2}, SnapCase{-2.2, 5e-324, -2.2},
                      SnapCase{1.7e308, 1e308, 1e308}, SnapCase{-1.7e308, 1e308, -1e308},
                      // No snapping: zero, negative or non-finite steps, non-finite values.
                      SnapCase{1.3, 0.0, 1.3}, SnapCase{-1.3, -0.0, -1.3}, SnapCase{1.3, -0.5, 1.3},
                      SnapCase{1.3, kNaN, 1.3}, SnapCase{1.3, kInf, 1.3}, SnapCase{kNaN, 0.5, kNaN},
                      SnapCase{kInf, 0.5, kInf}, SnapCase{-kInf, 0.5, -kInf}));

TEST(Section, SnappedOperationsSnapEachCoordinateWithItsOwnStep) {
    Section s;
    EXPECT_TRUE(s.AddOffsetSnapped(1.3, -0.13, 0.5, 0.25));
    EXPECT_EQ(OffsetsOf(s), (Offsets{{1.5, -0.25}}));

    EXPECT_TRUE(s.InsertOffsetSnapped(0, 0.74, 0.74, 0.5, 0.25));
    EXPECT_EQ(OffsetsOf(s), (Offsets{{0.5, 0.75}, {1.5, -0.25}}));
    EXPECT_FALSE(s.InsertOffsetSnapped(2, 1, 1, 0.5, 0.5));

    EXPECT_TRUE(s.SetXSnapped(1, 2.26, 0.5));
    EXPECT_TRUE(s.SetZSnapped(1, -1.1, 1.0));
    EXPECT_EQ(OffsetsOf(s), (Offsets{{0.5, 0.75}, {2.5, -1.0}}));
    ExpectExtents(s, {2.5, 0.5, 0.75, -1.0});
    EXPECT_FALSE(s.SetXSnapped(2, 1, 0.5));
    EXPECT_FALSE(s.SetZSnapped(2, 1, 0.5));
}

TEST(Section, ZeroStepMeansNoSnapping) {
    Section s;
    EXPECT_TRUE(s.AddOffsetSnapped(1.3, -0.13, 0, 0));
    EXPECT_TRUE(s.InsertOffsetSnapped(0, 0.7, 0.9, 0, kNaN));
    EXPECT_TRUE(s.SetXSnapped(1, 1.31, 0));
    EXPECT_TRUE(s.SetZSnapped(1, -0.14, -1));
    EXPECT_EQ(OffsetsOf(s), (Offsets{{0.7, 0.9}, {1.31, -0.14}}));
}

TEST(Section, AddingWidensExtentsAndTheFirstPointSetsThem) {
    Section s;
    s.AddOffset(2, -3);
    ExpectExtents(s, {2, 2, -3, -3});
    s.AddOffset(1, 4);
    ExpectExtents(s, {2, 1, 4, -3});
    s.AddOffset(1.5, 0);  // inside: nothing moves
    ExpectExtents(s, {2, 1, 4, -3});
    s.AddOffset(5, -7);
    ExpectExtents(s, {5, 1, 4, -7});
}

TEST(Section, FirstPointAfterClearSetsExtentsFromItself) {
    Section s = MakeFrame(3, {{-1, -1}, {4, 5}}, "Kept");
    s.checked = true;
    EXPECT_TRUE(s.ClearOffsets());
    EXPECT_EQ(s.GetOffsetCount(), 0u);
    ExpectExtents(s, {0, 0, 0, 0});
    EXPECT_EQ(s.name, "Kept");
    EXPECT_TRUE(s.checked);
    EXPECT_EQ(s.GetY(), 3);
    s.AddOffset(2, 3);  // both above the cleared 0 extents
    ExpectExtents(s, {2, 2, 3, 3});
}

TEST(Section, InsertOffsetPlacesBeforeIndexAndCannotAppend) {
    Section s = MakeFrame(0, {{1, 1}});
    EXPECT_FALSE(s.InsertOffset(1, 9, 9));
    EXPECT_EQ(OffsetsOf(s), (Offsets{{1, 1}}));
    EXPECT_TRUE(s.InsertOffset(0, -2, 6));
    EXPECT_EQ(OffsetsOf(s), (Offsets{{-2, 6}, {1, 1}}));
    ExpectExtents(s, {1, -2, 6, 1});
    EXPECT_TRUE(s.InsertOffset(1, 0, 0));
    EXPECT_EQ(OffsetsOf(s), (Offsets{{-2, 6}, {0, 0}, {1, 1}}));
    ExpectExtents(s, {1, -2, 6, 0});

    Section empty;
    EXPECT_FALSE(empty.InsertOffset(0, 1, 1));
    EXPECT_EQ(empty.GetOffsetCount(), 0u);
    EXPECT_FALSE(s.InsertOffset(0xFFFFFFFFu, 1, 1));
    EXPECT_EQ(s.GetOffsetCount(), 3u);
}

TEST(Section, GettersGiveZeroOutOfRange) {
    Section s = MakeFrame(0, {{1.5, -2.5}, {3, 4}});
    struct Case {
        unsigned i;
        double x, z;
    };
    for (Case c : {Case{0, 1.5, -2.5}, Case{1, 3, 4}, Case{2, 0, 0}, Case{0xFFFFFFFFu, 0, 0}}) {
        EXPECT_EQ(s.GetX(c.i), c.x) << c.i;
        EXPECT_EQ(s.GetZ(c.i), c.z) << c.i;
    }
}

TEST(Section, DeleteOffsetRecomputesOrKeepsExtentsWhenEmptied) {
    Section s = MakeFrame(0, {{5, 0}, {-1, 7}, {3, -2}});
    EXPECT_FALSE(s.DeleteOffset(3));
    EXPECT_EQ(s.GetOffsetCount(), 3u);
    EXPECT_TRUE(s.DeleteOffset(1));
    EXPECT_EQ(OffsetsOf(s), (Offsets{{5, 0}, {3, -2}}));
    ExpectExtents(s, {5, 3, 0, -2});
    EXPECT_TRUE(s.DeleteOffset(0));
    ExpectExtents(s, {3, 3, -2, -2});

    Section single = MakeFrame(0, {{2, 3}});
    EXPECT_TRUE(single.DeleteOffset(0));
    EXPECT_EQ(single.GetOffsetCount(), 0u);
    ExpectExtents(single, {2, 2, 3, 3});
    EXPECT_FALSE(single.DeleteOffset(0));
}

TEST(Section, SetXAndSetZRecomputeTheirOwnExtentsExactly) {
    Section s = MakeFrame(0, {{5, 0}, {3, 0}});
    EXPECT_TRUE(s.SetX(0, 1));
    ExpectExtents(s, {3, 1, 0, 0});
    EXPECT_TRUE(s.SetZ(1, -4));
    ExpectExtents(s, {3, 1, 0, -4});
    EXPECT_TRUE(s.SetZ(1, 2));  // shrinking back
    ExpectExtents(s, {3, 1, 2, 0});
    EXPECT_TRUE(s.SetX(1, 8));
    ExpectExtents(s, {8, 1, 2, 0});

    EXPECT_FALSE(s.SetX(2, 100));
    EXPECT_FALSE(s.SetZ(2, 100));
    EXPECT_EQ(OffsetsOf(s), (Offsets{{1, 0}, {8, 2}}));
    ExpectExtents(s, {8, 1, 2, 0});
}

TEST(Section, RecomputeLeavesExtentsOfAnEmptyFrame) {
    Section s = MakeFrame(0, {{2, 3}});
    s.DeleteOffset(0);
    EXPECT_TRUE(s.RecomputeMaxX());
    EXPECT_TRUE(s.RecomputeMinX());
    EXPECT_TRUE(s.RecomputeMaxZ());
    EXPECT_TRUE(s.RecomputeMinZ());
    ExpectExtents(s, {2, 2, 3, 3});

    // Recomputing from offsets edited directly through the public lists.
    Section t = MakeFrame(0, {{1, 1}, {2, 2}});
    t.X[1] = -6;
    t.Z[0] = 9;
    t.RecomputeMaxX();
    t.RecomputeMinX();
    t.RecomputeMaxZ();
    t.RecomputeMinZ();
    ExpectExtents(t, {1, -6, 9, 2});
}

TEST(Section, UpdateExtentsWidensOnly) {
    Section s = MakeFrame(0, {{1, 1}, {2, 2}});
    s.UpdateExtents(1.5, 1.5);
    ExpectExtents(s, {2, 1, 2, 1});
    s.UpdateExtents(-1, 3);
    ExpectExtents(s, {2, -1, 3, 1});
}

TEST(Section, CountNonNegativeXCountsZeros) {
    Section s = MakeFrame(0, {{0, 0}, {-0.0, 1}, {-0.1, 2}, {1, 3}, {-5, 4}});
    EXPECT_EQ(s.CountNonNegativeX(), 3u);
    EXPECT_EQ(Section().CountNonNegativeX(), 0u);
}

TEST(Section, SetYOnlyMovesY) {
    Section s = MakeFrame(0, {{1, 2}});
    EXPECT_EQ(s.SetY(-4.25), 1);
    EXPECT_EQ(s.GetY(), -4.25);
    ExpectExtents(s, {1, 1, 2, 2});
}

struct MirrorCase {
    const char* label;
    Offsets before;
    bool ok;
    Offsets after;
};

class SectionMirror : public ::testing::TestWithParam<MirrorCase> {};

TEST_P(SectionMirror, CompletesHalfFrame) {
    const MirrorCase& c = GetParam();
    Section s = MakeFrame(0, c.before);
    const Section before = s;
    EXPECT_EQ(s.MirrorHalf(), c.ok);
    EXPECT_EQ(OffsetsOf(s), c.after);
    if (!c.ok) {
        ExpectExtents(s, {before.maxX, before.minX, before.maxZ, before.minZ});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SectionMirror,
    ::testing::Values(
        MirrorCase{"two", {{0, 0}, {1, 2}}, true, {{0, 0}, {1, 2}, {-0.0, 0}}},
        MirrorCase{"box",
                   {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
                   true,
                   {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-0.0, 0}}},
        MirrorCase{"negative", {{0, 0}, {-0.1, 1}, {0, 2}}, false, {{0, 0}, {-0.1, 1}, {0, 2}}},
        MirrorCase{"one", {{1, 1}}, false, {{1, 1}}}, MirrorCase{"empty", {}, false, {}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Section, MirrorWritesNegativeZeroAndWidensExtents) {
    Section s = MakeFrame(0, {{0, 0}, {2, 1}, {0, 3}});
    ASSERT_TRUE(s.MirrorHalf());
    ASSERT_EQ(s.GetOffsetCount(), 5u);
    EXPECT_TRUE(std::signbit(s.X[4]));
    EXPECT_EQ(s.X[3], -2);
    ExpectExtents(s, {2, -2, 3, 0});
}

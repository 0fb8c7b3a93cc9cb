#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "HullFixtures.h"
#include "core/Appendage.h"

using core::Appendage;
using core::Section;
using fixtures::MakeAppendage;
using fixtures::MakeFrame;
using fixtures::Offsets;
using fixtures::OffsetsOf;

namespace {

std::vector<double> Ys(const Appendage& a) {
    std::vector<double> ys;
    for (const Section& s : a.frames) ys.push_back(s.Y);
    return ys;
}

std::vector<std::string> Names(const Appendage& a) {
    std::vector<std::string> names;
    for (const Section& s : a.frames) names.push_back(s.name);
    return names;
}

bool Ascending(const Appendage& a) {
    for (std::size_t k = 1; k < a.frames.size(); ++k)
        if (a.frames[k].Y < a.frames[k - 1].Y) return false;
    return true;
}

Appendage FramesAt(std::initializer_list<double> ys) {
    Appendage a;
    for (double y : ys) a.AddSection("F" + std::to_string(static_cast<int>(y)), y);
    return a;
}

}  // namespace

TEST(Appendage, NewAppendageIsBlank) {
    Appendage a;
    EXPECT_EQ(a.name, "Blank Name");
    EXPECT_EQ(a.GetFrameCount(), 0u);
    EXPECT_TRUE(a.active);
    EXPECT_FALSE(a.freeFlooding);
    EXPECT_EQ(a.colour, 0u);
    EXPECT_EQ(a.density, 0);
    EXPECT_EQ(a.ap, 0);
    EXPECT_EQ(a.fp, 0);
    EXPECT_EQ(a.GetTotalOffsetCount(), 0u);
}

struct PlaceCase {
    double y;
    int index;
    std::vector<double> after;
};

class AppendagePlace : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(AppendagePlace, AddSectionKeepsYAscending) {
    const PlaceCase& c = GetParam();
    Appendage a = FramesAt({0, 2, 4});
    EXPECT_EQ(a.AddSection("New", c.y), c.index);
    EXPECT_EQ(Ys(a), c.after);
    EXPECT_TRUE(Ascending(a));
    if (c.index >= 0) {
        const Section& s = a.frames[static_cast<std::size_t>(c.index)];
        EXPECT_EQ(s.name, "New");
        EXPECT_EQ(OffsetsOf(s), (Offsets{{0, 0}}));
        EXPECT_FALSE(s.checked);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, AppendagePlace,
                         ::testing::Values(PlaceCase{3, 2, {0, 2, 3, 4}}, PlaceCase{1, 1, {0, 1, 2, 4}},
                                           PlaceCase{-1, 0, {-1, 0, 2, 4}}, PlaceCase{5, 3, {0, 2, 4, 5}},
                                           PlaceCase{2, -1, {0, 2, 4}}, PlaceCase{0, -1, {0, 2, 4}},
                                           PlaceCase{4, 3, {0, 2, 4, 4}},
                                           PlaceCase{std::numeric_limits<double>::quiet_NaN(), -1, {0, 2, 4}}));

TEST(Appendage, AddSectionOnEmptyAndOnEqualLastY) {
    Appendage a;
    EXPECT_EQ(a.AddSection("A", 7), 0);
    EXPECT_EQ(a.AddSection("B", 7), 1);
    EXPECT_EQ(Ys(a), (std::vector<double>{7, 7}));
    EXPECT_EQ(Names(a), (std::vector<std::string>{"A", "B"}));
    // Equal to the last Y: accepted after it, even when earlier frames share it.
    EXPECT_EQ(a.AddSection("C", 7), 2);
    EXPECT_EQ(a.AddSection("D", 8), 3);
    EXPECT_EQ(a.AddSection("E", 7), -1);
    EXPECT_EQ(a.GetFrameCount(), 4u);
    // NaN is refused even on an empty appendage.
    Appendage b;
    EXPECT_EQ(b.AddSection("N", std::nan("")), -1);
    EXPECT_EQ(b.GetFrameCount(), 0u);
}

TEST(Appendage, InsertSectionCopiesEveryFieldAndPlacesByY) {
    Appendage a = FramesAt({0, 2});
    Section s = MakeFrame(1, {{1, -1}, {2, 3}}, "Given");
    s.checked = true;
    EXPECT_EQ(a.InsertSection(s), 1);
    const Section& got = a.frames[1];
    EXPECT_EQ(got.name, "Given");
    EXPECT_TRUE(got.checked);
    EXPECT_EQ(OffsetsOf(got), OffsetsOf(s));
    EXPECT_EQ(got.maxX, 2);
    EXPECT_EQ(got.minZ, -1);

    s.Y = 0;  // Y of a frame that is not the last
    EXPECT_EQ(a.InsertSection(s), -1);
    s.Y = 1;
    EXPECT_EQ(a.InsertSection(s), -1);
    EXPECT_EQ(a.GetFrameCount(), 3u);
    s.Y = 10;
    EXPECT_EQ(a.InsertSection(s), 3);
    EXPECT_TRUE(Ascending(a));
}

TEST(Appendage, CopySectionBeforeAndAfterItsSource) {
    Appendage a;
    a.AddSection("A", 0);
    a.AddOffset(0, 1, 1);
    a.AddSection("B", 2);
    a.AddOffset(1, 2, -2);
    a.AddOffset(1, 3, 5);
    a.frames[0].checked = true;

    Appendage b = a;
    EXPECT_EQ(b.CopySection(1, 0), 1);
    EXPECT_EQ(Ys(b), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(Names(b), (std::vector<std::string>{"A", "A", "B"}));
    EXPECT_EQ(OffsetsOf(b.frames[1]), OffsetsOf(a.frames[0]));
    EXPECT_FALSE(b.frames[1].checked);
    EXPECT_EQ(b.frames[1].maxX, 1);

    Appendage c = a;
    EXPECT_EQ(c.CopySection(-1, 1), 0);  // source moves up to 2 after the insertion
    EXPECT_EQ(Ys(c), (std::vector<double>{-1, 0, 2}));
    EXPECT_EQ(Names(c), (std::vector<std::string>{"B", "A", "B"}));
    EXPECT_EQ(OffsetsOf(c.frames[0]), OffsetsOf(a.frames[1]));
    EXPECT_EQ(c.frames[0].maxZ, 5);
    EXPECT_EQ(c.frames[0].minX, 0);
    EXPECT_EQ(c.frames[0].Y, -1);

    Appendage d = a;
    EXPECT_EQ(d.CopySection(5, 0), 2);
    EXPECT_EQ(Names(d), (std::vector<std::string>{"A", "B", "A"}));
}

TEST(Appendage, CopySectionFailures) {
    Appendage a = FramesAt({0, 2});
    EXPECT_EQ(a.CopySection(1, 2), 0);  // bad source: 0 and unchanged
    EXPECT_EQ(a.GetFrameCount(), 2u);
    EXPECT_EQ(a.CopySection(0, 1), -1);  // refused Y
    EXPECT_EQ(Ys(a), (std::vector<double>{0, 2}));
    Appendage empty;
    EXPECT_EQ(empty.CopySection(0, 0), 0);
    EXPECT_EQ(empty.GetFrameCount(), 0u);
}

TEST(Appendage, OffsetsAndCounts) {
    Appendage a = FramesAt({0, 1});
    EXPECT_TRUE(a.AddOffset(1, 2, 3));
    EXPECT_FALSE(a.AddOffset(2, 2, 3));
    EXPECT_EQ(a.GetOffsetCount(0), 1u);
    EXPECT_EQ(a.GetOffsetCount(1), 2u);
    EXPECT_EQ(a.GetOffsetCount(2), 0u);
    EXPECT_EQ(a.GetOffsetCount(0xFFFFFFFFu), 0u);
    EXPECT_EQ(a.GetTotalOffsetCount(), 3u);
    EXPECT_EQ(a.frames[1].maxX, 2);
}

TEST(Appendage, MirrorFrame) {
    Appendage a;
    a.InsertSection(MakeFrame(0, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    a.InsertSection(MakeFrame(1, {{0, 0}, {-1, 1}}));
    EXPECT_TRUE(a.MirrorFrame(0));
    EXPECT_EQ(a.GetOffsetCount(0), 7u);
    EXPECT_FALSE(a.MirrorFrame(1));
    EXPECT_EQ(a.GetOffsetCount(1), 2u);
    EXPECT_FALSE(a.MirrorFrame(2));
}

TEST(Appendage, DeleteFrame) {
    Appendage a = FramesAt({0, 1, 2});
    EXPECT_FALSE(a.DeleteFrame(3));
    EXPECT_TRUE(a.DeleteFrame(1));
    EXPECT_EQ(Ys(a), (std::vector<double>{0, 2}));
    EXPECT_TRUE(a.DeleteFrame(1));
    EXPECT_TRUE(a.DeleteFrame(0));
    EXPECT_EQ(a.GetFrameCount(), 0u);
    EXPECT_EQ(a.GetMaxX(), 0);
    EXPECT_EQ(a.GetMinY(), 0);
    EXPECT_FALSE(a.DeleteFrame(0));
    EXPECT_EQ(a.AddSection("again", 3), 0);
}

struct NearestCase {
    unsigned frame;
    double x, z;
    unsigned expected;
};

class AppendageNearest : public ::testing::TestWithParam<NearestCase> {};

TEST_P(AppendageNearest, FindsLowestIndexOfNearest) {
    Appendage a;
    a.InsertSection(MakeFrame(0, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    a.InsertSection(MakeFrame(5, {}));
    const NearestCase& c = GetParam();
    EXPECT_EQ(a.FindNearestOffset(c.frame, c.x, c.z), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, AppendageNearest,
                         ::testing::Values(NearestCase{0, 0.5, 0, 0},     // tie goes to the lower index
                                           NearestCase{0, 0.9, 0.1, 1}, NearestCase{0, 2, 2, 2},
                                           NearestCase{0, -1, 0.6, 3}, NearestCase{0, 0.5, 0.5, 0},
                                           NearestCase{1, 0, 0, 0},       // frame without offsets
                                           NearestCase{2, 1, 1, 0}));     // no such frame

TEST(Appendage, ExtentsComeFromStoredFrameExtentsAndY) {
    Appendage a;
    a.InsertSection(MakeFrame(3, {{1, -2}, {4, 1}}));
    a.InsertSection(MakeFrame(-1, {{-3, 0}, {2, 6}}));
    a.InsertSection(MakeFrame(7, {{0, -5}}));
    EXPECT_EQ(a.GetMaxX(), 4);
    EXPECT_EQ(a.GetMinX(), -3);
    EXPECT_EQ(a.GetMaxZ(), 6);
    EXPECT_EQ(a.GetMinZ(), -5);
    EXPECT_EQ(a.GetMaxY(), 7);
    EXPECT_EQ(a.GetMinY(), -1);

    // A frame emptied by deleting its last offset keeps contributing its old extents.
    a.frames[2].DeleteOffset(0);
    EXPECT_EQ(a.GetMinZ(), -5);
    // The queries read the stored extents, not the offsets.
    a.frames[0].X[0] = 100;
    EXPECT_EQ(a.GetMaxX(), 4);
}

TEST(Appendage, ExtentsOfPositiveFramesStartFromFrameZero) {
    Appendage a;
    a.InsertSection(MakeFrame(2, {{1, 1}}));
    a.InsertSection(MakeFrame(4, {{3, 2}}));
    EXPECT_EQ(a.GetMinX(), 1);
    EXPECT_EQ(a.GetMinY(), 2);
    EXPECT_EQ(a.GetMaxY(), 4);
}

TEST(Appendage, CopyIsDeep) {
    Appendage a = fixtures::MakeBoxAppendage(10, 1, 2, 3);
    Appendage b = a;
    a.frames[0].SetX(0, -50);
    EXPECT_EQ(b.frames[0].X[0], -1);
    EXPECT_EQ(b.GetFrameCount(), 3u);
    EXPECT_EQ(Ys(b), (std::vector<double>{0, 5, 10}));
}

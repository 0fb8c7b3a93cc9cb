#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/Appendage.h"
#include "test_transform_helpers.h"

using core::Appendage;
using core::Section;
using transform_test::Body;
using transform_test::Frame;
using transform_test::Names;
using transform_test::Offsets;
using transform_test::SameAppendage;
using transform_test::SameFrame;
using transform_test::Ys;

TEST(AppendageScaleY, NegativeFactorReversesTheFrames) {
    Appendage a;
    a.frames = {Frame("A", 1, {{1, 0}}), Frame("B", 2, {{2, 0}}), Frame("C", 4, {{3, 0}, {4, 1}})};
    a.frames[1].checked = true;
    EXPECT_TRUE(a.ScaleY(-1));
    EXPECT_EQ(Ys(a), (std::vector<double>{-4, -2, -1}));
    EXPECT_EQ(Names(a), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_EQ(a.frames[0].X, (std::vector<double>{3, 4}));
    EXPECT_EQ(a.frames[0].GetMaxZ(), 1);
    EXPECT_TRUE(a.frames[1].checked);
    EXPECT_FALSE(a.frames[0].checked);
}

TEST(AppendageScaleY, Factors) {
    struct Case {
        double f;
        std::vector<double> ys;
    } const cases[] = {
        {2, {0, 4, 8}},
        {0.5, {0, 1, 2}},
        {0, {0, 2, 4}},
        {-0.5, {-2, -1, -0.0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.f);
        Appendage a = Body("B", {0, 2, 4});
        EXPECT_TRUE(a.ScaleY(c.f));
        EXPECT_EQ(Ys(a), c.ys);
    }
}

TEST(AppendageTransform, EveryFrameTransformed) {
    const Appendage start = Body("B", {0, 1, 3}, {{1, 2}, {-1, 0}});
    struct Case {
        const char* name;
        bool (*apply)(Appendage&);
        std::vector<double> x, z, ys;
    } const cases[] = {
        {"ScaleX", [](Appendage& a) { return a.ScaleX(3); }, {3, -3}, {2, 0}, {0, 1, 3}},
        {"ScaleZ", [](Appendage& a) { return a.ScaleZ(-2); }, {1, -1}, {-4, -0.0}, {0, 1, 3}},
        {"MoveX", [](Appendage& a) { return a.MoveX(0.5); }, {1.5, -0.5}, {2, 0}, {0, 1, 3}},
        {"MoveZ", [](Appendage& a) { return a.MoveZ(-1); }, {1, -1}, {1, -1}, {0, 1, 3}},
        {"MoveY", [](Appendage& a) { return a.MoveY(-2); }, {1, -1}, {2, 0}, {-2, -1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Appendage a = start;
        a.frames[2].checked = true;
        EXPECT_TRUE(c.apply(a));
        EXPECT_EQ(Ys(a), c.ys);
        EXPECT_EQ(Names(a), Names(start));
        EXPECT_TRUE(a.frames[2].checked);
        for (const Section& s : a.frames) {
            EXPECT_EQ(s.X, c.x);
            EXPECT_EQ(s.Z, c.z);
            EXPECT_EQ(s.GetMaxX(), std::max(c.x[0], c.x[1]));
            EXPECT_EQ(s.GetMinZ(), std::min(c.z[0], c.z[1]));
        }
    }
}

TEST(AppendageRotate, EveryFrameTurnedAndYKept) {
    Appendage a = Body("B", {0, 5}, {{1, 0}});
    EXPECT_TRUE(a.Rotate(90));
    EXPECT_EQ(Ys(a), (std::vector<double>{0, 5}));
    for (const Section& s : a.frames) {
        EXPECT_NEAR(s.GetX(0), 0, 1e-15);
        EXPECT_NEAR(s.GetZ(0), -1, 1e-15);
        EXPECT_NEAR(s.GetMinZ(), -1, 1e-15);
    }
}

TEST(AppendageTransform, NoFramesIsFine) {
    bool (*const ops[])(Appendage&) = {
        [](Appendage& a) { return a.ScaleX(2); }, [](Appendage& a) { return a.ScaleY(-2); },
        [](Appendage& a) { return a.ScaleZ(2); }, [](Appendage& a) { return a.MoveX(1); },
        [](Appendage& a) { return a.MoveY(1); },  [](Appendage& a) { return a.MoveZ(1); },
        [](Appendage& a) { return a.Rotate(30); },
    };
    for (auto op : ops) {
        Appendage a;
        EXPECT_TRUE(op(a));
        EXPECT_TRUE(SameAppendage(a, Appendage()));
    }
}

TEST(AppendageMoveFrameToY, Table) {
    struct Case {
        std::vector<double> ys;
        unsigned i;
        double y;
        unsigned result;
        std::vector<double> after;
        std::vector<std::string> names;
    } const cases[] = {
        {{0, 2, 4}, 1, 3, 1, {0, 3, 4}, {"F0", "F1", "F2"}},
        {{0, 2, 4}, 1, 5, 2, {0, 4, 5}, {"F0", "F2", "F1"}},
        {{0, 2, 4}, 1, -1, 0, {-1, 0, 4}, {"F1", "F0", "F2"}},
        {{0, 2, 4}, 1, 0, 1, {0, 2, 4}, {"F0", "F1", "F2"}},    // held by frame 0: refused
        {{0, 2, 4}, 0, 2, 0, {0, 2, 4}, {"F0", "F1", "F2"}},    // held by frame 1: refused
        {{0, 2, 4}, 2, 0, 2, {0, 2, 4}, {"F0", "F1", "F2"}},    // held by frame 0: refused
        {{0, 2, 4}, 1, 4, 2, {0, 4, 4}, {"F0", "F2", "F1"}},    // the last frame's Y: after it
        {{0, 2, 4}, 0, 10, 2, {2, 4, 10}, {"F1", "F2", "F0"}},
        {{0, 2, 4}, 2, -10, 0, {-10, 0, 2}, {"F2", "F0", "F1"}},
        {{0, 2, 4}, 0, 1.5, 0, {1.5, 2, 4}, {"F0", "F1", "F2"}},
        {{0, 2, 4, 6, 8}, 5, 1, 0, {0, 2, 4, 6, 8}, {"F0", "F1", "F2", "F3", "F4"}},
        {{0, 2, 4, 6, 8}, 0xFFFFFFFFu, 1, 0, {0, 2, 4, 6, 8}, {"F0", "F1", "F2", "F3", "F4"}},
        {{3}, 0, -7, 0, {-7}, {"F0"}},
        {{}, 0, 1, 0, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "frame " << c.i << " to Y " << c.y);
        Appendage a = Body("B", c.ys);
        for (std::size_t k = 0; k < a.frames.size(); ++k) a.frames[k].AddOffset(double(k), 1);
        const Appendage before = a;
        EXPECT_EQ(a.MoveFrameToY(c.i, c.y), c.result);
        EXPECT_EQ(Ys(a), c.after);
        EXPECT_EQ(Names(a), c.names);
        // Each frame carries its own offsets and extents wherever it went.
        for (const Section& s : a.frames) {
            const Section& old = before.frames[std::stoul(s.name.substr(1))];
            EXPECT_EQ(s.X, old.X);
            EXPECT_EQ(s.Z, old.Z);
            EXPECT_EQ(s.GetMaxX(), old.GetMaxX());
            EXPECT_EQ(s.GetMinX(), old.GetMinX());
        }
    }
}

TEST(AppendageMoveFrameToY, ReinsertedFrameLosesItsCheckMarkInPlaceKeepsIt) {
    Appendage a = Body("B", {0, 2, 4});
    for (auto& s : a.frames) s.checked = true;
    EXPECT_EQ(a.MoveFrameToY(1, 3), 1u);
    EXPECT_TRUE(a.frames[1].checked);
    EXPECT_EQ(a.MoveFrameToY(1, 5), 2u);
    EXPECT_FALSE(a.frames[2].checked);
    EXPECT_TRUE(a.frames[0].checked);
    EXPECT_TRUE(a.frames[1].checked);
}

TEST(AppendageArrayFrame, PositiveAndNegativePitch) {
    for (double pitch : {1.0, -1.0}) {
        SCOPED_TRACE(pitch);
        Appendage a;
        a.frames = {Frame("S", 5, {{1, 1}})};
        a.frames[0].checked = true;
        std::vector<unsigned> refused;
        EXPECT_TRUE(a.ArrayFrame(0, 2, 0.1, pitch, 0.2, &refused));
        EXPECT_TRUE(refused.empty());
        ASSERT_EQ(a.GetFrameCount(), 3u);
        const unsigned source = pitch > 0 ? 0 : 2;
        const unsigned first = 1;
        const unsigned second = pitch > 0 ? 2 : 0;
        EXPECT_TRUE(a.frames[source].checked);
        EXPECT_EQ(a.frames[source].X, (std::vector<double>{1}));
        EXPECT_EQ(a.frames[first].Y, 5 + pitch);
        EXPECT_EQ(a.frames[second].Y, 5 + 2 * pitch);
        EXPECT_DOUBLE_EQ(a.frames[first].GetX(0), 1.1);
        EXPECT_DOUBLE_EQ(a.frames[first].GetZ(0), 1.2);
        EXPECT_DOUBLE_EQ(a.frames[second].GetX(0), 1.2);
        EXPECT_DOUBLE_EQ(a.frames[second].GetZ(0), 1.4);
        EXPECT_DOUBLE_EQ(a.frames[second].GetMaxX(), 1.2);
        for (const Section& s : a.frames) EXPECT_EQ(s.name, "S");
        EXPECT_FALSE(a.frames[first].checked);
        EXPECT_FALSE(a.frames[second].checked);
    }
}

TEST(AppendageArrayFrame, CountZeroAndInvalidSourceChangeNothing) {
    Appendage a = Body("B", {0, 1});
    const Appendage before = a;
    std::vector<unsigned> refused;
    EXPECT_FALSE(a.ArrayFrame(0, 0, 1, 1, 1, &refused));
    EXPECT_FALSE(a.ArrayFrame(2, 3, 1, 1, 1, &refused));
    EXPECT_FALSE(a.ArrayFrame(0xFFFFFFFFu, 3, 1, 1, 1, &refused));
    EXPECT_TRUE(refused.empty());
    EXPECT_TRUE(SameAppendage(a, before));
    Appendage empty;
    EXPECT_FALSE(empty.ArrayFrame(0, 3, 1, 1, 1));
    EXPECT_EQ(empty.GetFrameCount(), 0u);
}

TEST(AppendageArrayFrame, ManyCopiesStayAscendingAtExactPositions) {
    Appendage a = Body("B", {-1, 0, 1000});
    EXPECT_TRUE(a.ArrayFrame(1, 500, 0.01, 0.1, -0.02));
    ASSERT_EQ(a.GetFrameCount(), 503u);
    for (unsigned k = 1; k <= 500; ++k) {
        const Section& s = a.frames[1 + k];
        EXPECT_EQ(s.Y, 0 + k * 0.1) << k;  // from y0 and k, not summed step by step
        EXPECT_EQ(s.GetX(0), 1 + k * 0.01) << k;
        EXPECT_EQ(s.GetZ(0), 1 + k * -0.02) << k;
    }
    EXPECT_EQ(a.frames.back().Y, 1000);
    for (unsigned k = 1; k < a.GetFrameCount(); ++k) EXPECT_LE(a.frames[k - 1].Y, a.frames[k].Y);
}

TEST(AppendageArrayFrame, RefusedCopyIsSkippedAndNoOtherFrameMoves) {
    struct Case {
        std::vector<double> ys;
        unsigned j, count;
        double pitch;
        std::vector<unsigned> refused;
        std::vector<double> after;
    } const cases[] = {
        // copy 5 would land on the frame at 10, which is not the last
        {{0, 5, 10, 20}, 1, 6, 1, {5}, {0, 5, 6, 7, 8, 9, 10, 11, 20}},
        // negative pitch: copy 5 lands on the frame at 0
        {{0, 5, 10}, 1, 6, -1, {5}, {-1, 0, 1, 2, 3, 4, 5, 10}},
        // a pitch of 0 on a frame that is not the last: every copy refused
        {{0, 5, 10}, 1, 3, 0, {1, 2, 3}, {0, 5, 10}},
        // a pitch of 0 on the last frame: the copies follow it at the same Y
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "pitch " << c.pitch << " count " << c.count);
        Appendage a = Body("B", c.ys);
        std::vector<unsigned> refused;
        EXPECT_EQ(a.ArrayFrame(c.j, c.count, 0.5, c.pitch, 0.25, &refused), c.refused.empty());
        EXPECT_EQ(refused, c.refused);
        EXPECT_EQ(Ys(a), c.after);
        // Originals keep their offsets; each copy is moved by its own k.
        const double y0 = c.ys[c.j];
        for (const Section& s : a.frames) {
            const bool copy = s.name == "F" + std::to_string(c.j) && s.Y != y0;
            const double k = copy ? std::round((s.Y - y0) / c.pitch) : 0;
            EXPECT_DOUBLE_EQ(s.GetX(0), 1 + 0.5 * k) << s.name << " at " << s.Y;
            EXPECT_DOUBLE_EQ(s.GetZ(0), 1 + 0.25 * k) << s.name << " at " << s.Y;
        }
    }
}

TEST(AppendageArrayFrame, PitchZeroOnLastFrameMovesEachCopyByItsK) {
    Appendage a = Body("B", {0, 5});
    EXPECT_TRUE(a.ArrayFrame(1, 3, 1, 0, 0));
    ASSERT_EQ(a.GetFrameCount(), 5u);
    EXPECT_EQ(a.frames[1].GetX(0), 1);
    EXPECT_EQ(a.frames[2].GetX(0), 2);
    EXPECT_EQ(a.frames[3].GetX(0), 3);
    EXPECT_EQ(a.frames[4].GetX(0), 4);
}

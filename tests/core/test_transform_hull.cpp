#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>

#include "core/Hullform.h"
#include "test_transform_helpers.h"

using core::Appendage;
using core::Hullform;
using core::Section;
using transform_test::Bits;
using transform_test::Body;
using transform_test::Frame;
using transform_test::HullTest;
using transform_test::Names;
using transform_test::Offsets;
using transform_test::SameAppendage;
using transform_test::SameAppendages;
using transform_test::SameFrame;
using transform_test::Ys;

namespace {

using Lines = std::vector<std::string>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class HullTransformTest : public HullTest {
protected:
    // Two appendages: A with frames at Y 0, 1, 2 and B with frames at Y 5, 10.
    void TwoBodies() {
        hull_.appendages = {Body("A", {0, 1, 2}, {{1, 2}, {0, 3}}), Body("B", {5, 10}, {{2, 1}})};
        Mark();
    }
};

}  // namespace

TEST_F(HullTransformTest, ScaleAppendageRefusals) {
    struct Case {
        unsigned i;
        double fx, fy, fz;
        Lines lines;
    } const cases[] = {
        {5, 1, 1, 1, {"ERROR: Tried scaling appendage[5] but found out of bounds"}},
        {2, 1, 1, 1, {"ERROR: Tried scaling appendage[2] but found out of bounds"}},
        {0xFFFFFFFFu, 1, 1, 1, {"ERROR: Tried scaling appendage[4294967295] but found out of bounds"}},
        {5, 0, 0, 0, {"ERROR: Tried scaling appendage[5] but found out of bounds"}},
        {0, 1, 0.0000005, 1, {"ERROR: Scaling appendage[0] by factor less than 0.000001 on Y axis"}},
        {1, 0, 1, 0, {"ERROR: Scaling appendage[1] by factor less than 0.000001 on X axis"}},
        {0, 1, 1, -0.0000009, {"ERROR: Scaling appendage[0] by factor less than 0.000001 on Z axis"}},
        {0, -0.0, 1, 1, {"ERROR: Scaling appendage[0] by factor less than 0.000001 on X axis"}},
        {0, kNaN, 1, 1, {"ERROR: Scaling appendage[0] by factor less than 0.000001 on X axis"}},
        {0, 1, kInf, 1, {"ERROR: Scaling appendage[0] by factor less than 0.000001 on Y axis"}},
    };
    for (bool copy : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.i << " " << c.fx << " " << c.fy << " " << c.fz);
            TwoBodies();
            const auto before = hull_.appendages;
            EXPECT_FALSE(hull_.ScaleAppendage(c.i, c.fx, c.fy, c.fz, copy));
            EXPECT_EQ(NewLines(), c.lines);
            EXPECT_TRUE(SameAppendages(hull_.appendages, before));
        }
    }
}

TEST_F(HullTransformTest, ScaleAppendageAcceptsNegativeFactorsAtTheFloor) {
    TwoBodies();
    EXPECT_TRUE(hull_.ScaleAppendage(0, -0.000001, 2, 1, false));
    EXPECT_TRUE(hull_.ScaleAppendage(1, -1, -1, -2, false));
    EXPECT_TRUE(NewLines().empty());
    EXPECT_DOUBLE_EQ(hull_.appendages[0].frames[0].GetX(0), -0.000001);
    EXPECT_EQ(Ys(hull_.appendages[0]), (std::vector<double>{0, 2, 4}));
    // The Y factor -1 reverses B's frames to keep Y ascending.
    EXPECT_EQ(Ys(hull_.appendages[1]), (std::vector<double>{-10, -5}));
    EXPECT_EQ(Names(hull_.appendages[1]), (std::vector<std::string>{"F1", "F0"}));
    EXPECT_EQ(hull_.appendages[1].frames[0].GetX(0), -2);
    EXPECT_EQ(hull_.appendages[1].frames[0].GetZ(0), -2);
    EXPECT_EQ(hull_.appendages[1].frames[0].GetMinX(), -2);
}

TEST_F(HullTransformTest, ScaleAppendageCopy) {
    TwoBodies();
    hull_.appendages[0].colour = 0xFF;
    hull_.appendages[0].active = false;
    hull_.appendages[0].density = 1.5;
    const auto before = hull_.appendages;
    EXPECT_TRUE(hull_.ScaleAppendage(0, 2, 3, 4, true));
    ASSERT_EQ(hull_.GetAppendageCount(), 3u);
    EXPECT_TRUE(SameAppendage(hull_.appendages[0], before[0]));
    EXPECT_TRUE(SameAppendage(hull_.appendages[1], before[1]));
    const Appendage& c = hull_.appendages[2];
    EXPECT_EQ(c.name, "A");
    EXPECT_EQ(c.colour, 0xFFu);
    EXPECT_FALSE(c.active);
    EXPECT_EQ(c.density, 1.5);
    EXPECT_EQ(Ys(c), (std::vector<double>{0, 3, 6}));
    EXPECT_EQ(c.frames[1].X, (std::vector<double>{2, 0}));
    EXPECT_EQ(c.frames[1].Z, (std::vector<double>{8, 12}));
    EXPECT_EQ(c.frames[1].GetMaxZ(), 12);
}

TEST_F(HullTransformTest, ScaleHull) {
    struct Case {
        double fx, fy, fz;
        bool ok;
        Lines lines;
    } const cases[] = {
        {2, 2, 2, true, {}},
        {-1, 1, 1, true, {}},
        {0, 0, 0, false, {"ERROR: Scaling Hull by factor less than 0.000001 on X axis"}},
        {1, -0.0000009, 1, false, {"ERROR: Scaling Hull by factor less than 0.000001 on Y axis"}},
        {1, 1, 0.0000001, false, {"ERROR: Scaling Hull by factor less than 0.000001 on Z axis"}},
        {1, 1, kNaN, false, {"ERROR: Scaling Hull by factor less than 0.000001 on Z axis"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.fx << " " << c.fy << " " << c.fz);
        TwoBodies();
        const auto before = hull_.appendages;
        EXPECT_EQ(hull_.Scale(c.fx, c.fy, c.fz), c.ok);
        EXPECT_EQ(NewLines(), c.lines);
        if (!c.ok) {
            EXPECT_TRUE(SameAppendages(hull_.appendages, before));
            continue;
        }
        for (std::size_t a = 0; a < 2; ++a) {
            Appendage expected = before[a];
            expected.ScaleX(c.fx);
            expected.ScaleY(c.fy);
            expected.ScaleZ(c.fz);
            EXPECT_TRUE(SameAppendage(hull_.appendages[a], expected));
        }
    }
}

TEST_F(HullTransformTest, ScaleAndMoveWithoutAppendagesFail) {
    Mark();
    EXPECT_FALSE(hull_.Scale(2, 2, 2));
    EXPECT_FALSE(hull_.Move(1, 1, 1));
    EXPECT_TRUE(hull_.Rotate(30));
    EXPECT_EQ(NewLines(), (Lines{"ERROR: Failure during scale hull, scaling of an appendage failed",
                                 "ERROR: Failure at end of function moving Hullform"}));
}

TEST_F(HullTransformTest, ScaleFrameRefusals) {
    struct Case {
        unsigned i, j;
        double fx, fy, fz;
        bool copy;
        Lines lines;
    } const cases[] = {
        {2, 0, 2, 2, 2, false, {}},
        {0, 3, 2, 2, 2, true, {}},
        {0xFFFFFFFFu, 0, 2, 2, 2, false, {}},
        {0, 1, -1, 1, 1, false, {"ERROR: Scaling frame [1] of appendage[0] by factor less than 0.000001 on X axis"}},
        {1, 0, 1, 0, 1, false, {"ERROR: Scaling frame [0] of appendage[1] by factor less than 0.000001 on Y axis"}},
        {0, 2, 1, 1, 0.0000009, true, {"ERROR: Scaling frame [2] of appendage[0] by factor less than 0.000001 on Z axis"}},
        {0, 0, 0, 0, 0, false, {"ERROR: Scaling frame [0] of appendage[0] by factor less than 0.000001 on X axis"}},
        {0, 0, kNaN, 1, 1, false, {"ERROR: Scaling frame [0] of appendage[0] by factor less than 0.000001 on X axis"}},
        // a Y factor of 1 copies onto the source frame's own Y, which is not the last
        {0, 1, 2, 1, 2, true, {"ERROR: Scaling frame [1] of appendage[0]. During frame copy -1 index returned"}},
        // frame 0 at Y 0 copies to Y 0 whatever the factor
        {0, 0, 2, 3, 2, true, {"ERROR: Scaling frame [0] of appendage[0]. During frame copy -1 index returned"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.i << "," << c.j << " " << c.fx << " " << c.fy << " " << c.fz);
        TwoBodies();
        const auto before = hull_.appendages;
        EXPECT_FALSE(hull_.ScaleFrame(c.i, c.j, c.fx, c.fy, c.fz, c.copy));
        EXPECT_EQ(NewLines(), c.lines);
        EXPECT_TRUE(SameAppendages(hull_.appendages, before));
    }
}

TEST_F(HullTransformTest, ScaleFrameInPlaceKeepsY) {
    TwoBodies();
    EXPECT_TRUE(hull_.ScaleFrame(0, 1, 2, 5, 3, false));
    const Section& s = hull_.appendages[0].frames[1];
    EXPECT_EQ(s.Y, 1);
    EXPECT_EQ(s.X, (std::vector<double>{2, 0}));
    EXPECT_EQ(s.Z, (std::vector<double>{6, 9}));
    EXPECT_EQ(s.GetMaxZ(), 9);
    EXPECT_EQ(s.name, "F1");
    EXPECT_TRUE(NewLines().empty());
}

TEST_F(HullTransformTest, ScaleFrameCopy) {
    hull_.appendages = {Appendage()};
    hull_.appendages[0].frames = {Frame("F1", 1, {{1, 1}}), Frame("F3", 3, {{1, 2}, {2, 0}}),
                                  Frame("F5", 5, {{0, 0}})};
    const Section source = hull_.appendages[0].frames[1];
    EXPECT_TRUE(hull_.ScaleFrame(0, 1, 2, 2, 0.5, true));
    const Appendage& a = hull_.appendages[0];
    EXPECT_EQ(Ys(a), (std::vector<double>{1, 3, 5, 6}));
    EXPECT_TRUE(SameFrame(a.frames[1], source));
    EXPECT_EQ(a.frames[3].name, "F3 (copy)");
    EXPECT_EQ(a.frames[3].X, (std::vector<double>{2, 4}));
    EXPECT_EQ(a.frames[3].Z, (std::vector<double>{1, 0}));
    EXPECT_EQ(a.frames[3].GetMaxX(), 4);
    EXPECT_EQ(a.frames[3].GetMaxZ(), 1);

    // A Y factor of 1 on the last frame puts the copy right after it.
    EXPECT_TRUE(hull_.ScaleFrame(0, 3, 1, 1, 1, true));
    EXPECT_EQ(Ys(hull_.appendages[0]), (std::vector<double>{1, 3, 5, 6, 6}));
    EXPECT_EQ(hull_.appendages[0].frames[4].name, "F3 (copy) (copy)");
}

TEST_F(HullTransformTest, MoveFrameInvalidIndex) {
    hull_.appendages = {Body("A", {0, 1, 2, 3, 4, 5, 6})};
    Mark();
    for (bool copy : {false, true}) {
        EXPECT_FALSE(hull_.MoveFrame(0, 7, 1, 1, 1, copy));
        EXPECT_FALSE(hull_.MoveFrame(1, 0, 1, 1, 1, copy));
    }
    EXPECT_EQ(NewLines(), (Lines{"ERROR: Invalid index passed when trying to move frame [7] of appendage[0]",
                                 "ERROR: Invalid index passed when trying to move frame [0] of appendage[1]",
                                 "ERROR: Invalid index passed when trying to move frame [7] of appendage[0]",
                                 "ERROR: Invalid index passed when trying to move frame [0] of appendage[1]"}));
    EXPECT_EQ(hull_.appendages[0].GetFrameCount(), 7u);
}

TEST_F(HullTransformTest, MoveFrameWithoutCopyKeepsYAscending) {
    struct Case {
        unsigned j;
        double dy;
        bool ok;
        std::vector<double> ys;
        std::vector<std::string> names;
    } const cases[] = {
        {1, 0.5, true, {0, 1.5, 2, 4}, {"F0", "F1", "F2", "F3"}},
        {1, 0, true, {0, 1, 2, 4}, {"F0", "F1", "F2", "F3"}},
        {1, 2, true, {0, 2, 3, 4}, {"F0", "F2", "F1", "F3"}},    // past frame 2
        {0, 10, true, {1, 2, 4, 10}, {"F1", "F2", "F3", "F0"}},  // past them all
        {3, -3.5, true, {0, 0.5, 1, 2}, {"F0", "F3", "F1", "F2"}},
        {1, 3, true, {0, 2, 4, 4}, {"F0", "F2", "F3", "F1"}},    // onto the last frame's Y: after it
        {1, 1, false, {0, 1, 2, 4}, {"F0", "F1", "F2", "F3"}},   // onto frame 2's Y: refused
        {3, -4, false, {0, 1, 2, 4}, {"F0", "F1", "F2", "F3"}},  // onto frame 0's Y: refused
        {1, kNaN, false, {0, 1, 2, 4}, {"F0", "F1", "F2", "F3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "frame " << c.j << " by " << c.dy);
        hull_.appendages = {Body("A", {0, 1, 2, 4})};
        for (std::size_t k = 0; k < 4; ++k) hull_.appendages[0].frames[k].AddOffset(double(k), -1);
        Mark();
        const auto before = hull_.appendages;
        EXPECT_EQ(hull_.MoveFrame(0, c.j, 0.5, c.dy, -0.25, false), c.ok);
        const Appendage& a = hull_.appendages[0];
        EXPECT_EQ(Ys(a), c.ys);
        EXPECT_EQ(Names(a), c.names);
        if (!c.ok) {
            EXPECT_EQ(NewLines(), Lines{"ERROR: Moving frame [" + std::to_string(c.j) +
                                        "] of appendage[0]. During frame copy -1 index returned"});
            EXPECT_TRUE(SameAppendages(hull_.appendages, before));
            continue;
        }
        EXPECT_TRUE(NewLines().empty());
        for (const Section& s : a.frames) {
            const bool moved = s.name == "F" + std::to_string(c.j);
            const double k = std::stod(s.name.substr(1));
            EXPECT_EQ(s.X, (std::vector<double>{1 + (moved ? 0.5 : 0), k + (moved ? 0.5 : 0)})) << s.name;
            EXPECT_EQ(s.Z, (std::vector<double>{1 - (moved ? 0.25 : 0), -1 - (moved ? 0.25 : 0)})) << s.name;
            EXPECT_EQ(s.GetMinZ(), -1 - (moved ? 0.25 : 0)) << s.name;
        }
    }
}

TEST_F(HullTransformTest, MoveFrameCopy) {
    hull_.appendages = {Body("A", {0, 1, 2})};
    Mark();
    const auto before = hull_.appendages;
    EXPECT_TRUE(hull_.MoveFrame(0, 1, 1, 0.5, 2, true));
    const Appendage& a = hull_.appendages[0];
    EXPECT_EQ(Ys(a), (std::vector<double>{0, 1, 1.5, 2}));
    EXPECT_EQ(Names(a), (std::vector<std::string>{"F0", "F1", "F1", "F2"}));
    EXPECT_TRUE(SameFrame(a.frames[1], before[0].frames[1]));
    EXPECT_EQ(a.frames[2].X, (std::vector<double>{2}));
    EXPECT_EQ(a.frames[2].Z, (std::vector<double>{3}));

    // A copy onto a held Y is refused.
    const auto held = hull_.appendages;
    EXPECT_FALSE(hull_.MoveFrame(0, 0, 1, 1, 1, true));
    EXPECT_EQ(NewLines(), Lines{"ERROR: Moving frame [0] of appendage[0]. During frame copy -1 index returned"});
    EXPECT_TRUE(SameAppendages(hull_.appendages, held));
}

TEST_F(HullTransformTest, MoveAppendageAndHull) {
    TwoBodies();
    const auto before = hull_.appendages;
    EXPECT_FALSE(hull_.MoveAppendage(2, 1, 1, 1, false));
    EXPECT_FALSE(hull_.MoveAppendage(0xFFFFFFFFu, 1, 1, 1, true));
    EXPECT_TRUE(SameAppendages(hull_.appendages, before));

    EXPECT_TRUE(hull_.MoveAppendage(1, 1, -5, 0.5, true));
    ASSERT_EQ(hull_.GetAppendageCount(), 3u);
    EXPECT_TRUE(SameAppendage(hull_.appendages[1], before[1]));
    EXPECT_EQ(hull_.appendages[2].name, "B");
    EXPECT_EQ(Ys(hull_.appendages[2]), (std::vector<double>{0, 5}));
    EXPECT_EQ(hull_.appendages[2].frames[0].X, (std::vector<double>{3}));
    EXPECT_EQ(hull_.appendages[2].frames[0].Z, (std::vector<double>{1.5}));

    EXPECT_TRUE(hull_.MoveAppendage(0, 0, 1, 0, false));
    EXPECT_EQ(Ys(hull_.appendages[0]), (std::vector<double>{1, 2, 3}));

    EXPECT_TRUE(hull_.Move(-1, 2, 1));
    EXPECT_EQ(Ys(hull_.appendages[0]), (std::vector<double>{3, 4, 5}));
    EXPECT_EQ(Ys(hull_.appendages[1]), (std::vector<double>{7, 12}));
    EXPECT_EQ(hull_.appendages[1].frames[0].X, (std::vector<double>{1}));
    EXPECT_EQ(hull_.appendages[1].frames[0].Z, (std::vector<double>{2}));
    EXPECT_EQ(hull_.appendages[1].frames[0].GetMaxZ(), 2);
    EXPECT_TRUE(NewLines().empty());
}

TEST_F(HullTransformTest, RotateFrameAndAppendage) {
    TwoBodies();
    const auto before = hull_.appendages;
    EXPECT_FALSE(hull_.RotateFrame(0, 3, 90));
    EXPECT_FALSE(hull_.RotateFrame(2, 0, 90));
    EXPECT_FALSE(hull_.RotateAppendage(2, 90, false));
    EXPECT_FALSE(hull_.RotateAppendage(2, 90, true));
    EXPECT_TRUE(SameAppendages(hull_.appendages, before));
    EXPECT_TRUE(NewLines().empty());

    EXPECT_TRUE(hull_.RotateFrame(1, 1, 90));
    EXPECT_NEAR(hull_.appendages[1].frames[1].GetX(0), 1, 1e-15);
    EXPECT_NEAR(hull_.appendages[1].frames[1].GetZ(0), -2, 1e-15);
    EXPECT_TRUE(SameFrame(hull_.appendages[1].frames[0], before[1].frames[0]));

    EXPECT_TRUE(hull_.RotateAppendage(0, -90, true));
    ASSERT_EQ(hull_.GetAppendageCount(), 3u);
    EXPECT_TRUE(SameAppendage(hull_.appendages[0], before[0]));
    EXPECT_EQ(hull_.appendages[2].name, "A");
    for (const Section& s : hull_.appendages[2].frames) {
        EXPECT_NEAR(s.GetX(0), -2, 1e-15);
        EXPECT_NEAR(s.GetZ(0), 1, 1e-15);
    }
}

TEST_F(HullTransformTest, HeelAndHeelBackLeaveTheHullBitIdentical) {
    // Offsets on the centreline (X = 0) and at -0 must come back exactly.
    const Offsets outline = {{0, 0}, {1.3, 0.2}, {2.1, 1.7}, {0.7, 3.3}, {0, 3.3}};
    const std::vector<std::vector<double>> sequences = {
        {30, -30},           {0},           {1e-3, -1e-3},      {90, -90},      {179.9, -179.9},
        {-45, 45},           {720, -720},   {10, 20, -30},      {0.1, 0.2, -0.3}, {7, -7, 7, -7},
        {33.3, 12.5, -12.5, -33.3},
    };
    for (const auto& seq : sequences) {
        SCOPED_TRACE(::testing::Message() << "first angle " << seq[0] << ", " << seq.size() << " turns");
        hull_.appendages = {Body("A", {0, 2, 4}, outline), Body("B", {1, 3}, {{-0.0, 0}, {1, 1}})};
        hull_.appendages[0].frames[0].MirrorHalf();
        const auto upright = hull_.appendages;
        Mark();
        for (double angle : seq) EXPECT_TRUE(hull_.Rotate(angle));
        EXPECT_TRUE(SameAppendages(hull_.appendages, upright));
        EXPECT_TRUE(NewLines().empty());
        // Mirroring still works on the centreline frame afterwards.
        EXPECT_TRUE(hull_.appendages[0].frames[1].MirrorHalf());
    }
}

TEST_F(HullTransformTest, HeeledHullIsTurnedAsTheFramesAre) {
    hull_.appendages = {Body("A", {0, 2}, {{1, 0}, {0, 2}})};
    Appendage expected = hull_.appendages[0];
    expected.Rotate(25);
    EXPECT_TRUE(hull_.Rotate(25));
    EXPECT_TRUE(SameAppendage(hull_.appendages[0], expected));
    expected.Rotate(5);
    EXPECT_TRUE(hull_.Rotate(5));
    EXPECT_TRUE(SameAppendage(hull_.appendages[0], expected));
}

TEST_F(HullTransformTest, ChangeBetweenHeelAndHeelBackIsKept) {
    hull_.appendages = {Body("A", {0, 2}, {{1, 0}, {0, 2}})};
    const auto upright = hull_.appendages;
    hull_.Rotate(20);
    hull_.appendages[0].name = "Renamed";
    hull_.Rotate(-20);
    EXPECT_EQ(hull_.appendages[0].name, "Renamed");
    // The offsets went back by a second rotation, to rounding only.
    const Section& s = hull_.appendages[0].frames[0];
    EXPECT_NEAR(s.GetX(0), 1, 1e-14);
    EXPECT_NEAR(s.GetZ(0), 0, 1e-14);
    EXPECT_NEAR(s.GetX(1), 0, 1e-14);
    EXPECT_NEAR(s.GetZ(1), 2, 1e-14);

    // A heel that does not return to upright is an ordinary rotation.
    hull_.appendages = upright;
    hull_.Rotate(20);
    hull_.Rotate(-10);
    Appendage expected = upright[0];
    expected.Rotate(20);
    expected.Rotate(-10);
    EXPECT_TRUE(SameAppendage(hull_.appendages[0], expected));
}

TEST_F(HullTransformTest, HeeledCopyLeavesTheHullAndItsLogAlone) {
    hull_.appendages = {Body("A", {0, 2, 4}, {{0, 0}, {1, 0.5}, {1, 2}, {0, 2}})};
    hull_.name = "Test Hull";
    hull_.waterDensity = 1.0;
    hull_.fwdMarkY = 4;
    hull_.aftMarkY = 0;
    hull_.midMarkY = 2;
    const auto upright = hull_.appendages;
    Mark();
    std::stringstream fileBefore;
    fileBefore << std::ifstream(logPath_).rdbuf();

    for (double angle : {0.0, 15.0, -40.0, 90.0}) {
        SCOPED_TRACE(angle);
        const auto copy = hull_.HeeledCopy(angle);
        ASSERT_TRUE(copy);
        EXPECT_TRUE(SameAppendages(hull_.appendages, upright));
        EXPECT_EQ(copy->name, "Test Hull");
        EXPECT_EQ(copy->waterDensity, 1.0);
        EXPECT_EQ(copy->fwdMarkY, 4);
        EXPECT_EQ(copy->midMarkY, 2);
        // Its log keeps no file and starts without the header.
        EXPECT_TRUE(copy->log.FilePath().empty());
        ASSERT_FALSE(copy->log.Lines().empty());
        EXPECT_EQ(copy->log.Lines().front(), "Hullform class initialised.");
        Appendage expected = upright[0];
        if (angle != 0) expected.Rotate(angle);
        ASSERT_EQ(copy->GetAppendageCount(), 1u);
        EXPECT_TRUE(SameAppendage(copy->appendages[0], expected));
        // Work on the copy does not reach the hull.
        copy->Scale(2, 2, 2);
        EXPECT_TRUE(SameAppendages(hull_.appendages, upright));
    }
    EXPECT_TRUE(NewLines().empty());
    std::stringstream fileAfter;
    fileAfter << std::ifstream(logPath_).rdbuf();
    EXPECT_EQ(fileAfter.str(), fileBefore.str());
}

TEST_F(HullTransformTest, HeelIntoReusesOneCopyForARunOfHeels) {
    hull_.appendages = {Body("A", {0, 2, 4}, {{0, 0}, {1, 0.5}, {1, 2}, {0, 2}}), Body("B", {5, 6})};
    hull_.waterDensity = 1.0;
    hull_.fwdMarkY = 4;
    const auto upright = hull_.appendages;
    const auto copy = hull_.HeeledCopy(0);
    const double* storage = copy->appendages[0].frames[1].X.data();
    for (double angle : {15.0, -40.0, 90.0, 0.0}) {
        SCOPED_TRACE(angle);
        copy->waterDensity = 2.0;  // as a run sets it
        ASSERT_TRUE(hull_.HeelInto(angle, *copy));
        const auto fresh = hull_.HeeledCopy(angle);
        EXPECT_TRUE(SameAppendages(copy->appendages, fresh->appendages));
        EXPECT_EQ(copy->waterDensity, 1.0);
        EXPECT_EQ(copy->fwdMarkY, 4);
        EXPECT_EQ(copy->appendages[0].frames[1].X.data(), storage);
        EXPECT_TRUE(SameAppendages(hull_.appendages, upright));
    }
    EXPECT_FALSE(hull_.HeelInto(10, hull_));
    EXPECT_TRUE(SameAppendages(hull_.appendages, upright));
}

TEST_F(HullTransformTest, HeeledCopyKeepsAnAppendageThatCannotTurnUpright) {
    // At 45 degrees the last frame of A would take an offset beyond the range of numbers;
    // its first frame, already turned by then, goes back upright with the rest of A.
    hull_.appendages = {Body("A", {0, 2}), Body("B", {5, 6})};
    hull_.appendages[0].frames[1].AddOffset(1.5e308, 1.5e308);
    const auto upright = hull_.appendages;
    const auto copy = hull_.HeeledCopy(45);
    ASSERT_EQ(copy->GetAppendageCount(), 2u);
    EXPECT_TRUE(SameAppendage(copy->appendages[0], upright[0]));
    Appendage turned = upright[1];
    ASSERT_TRUE(turned.Rotate(45));
    EXPECT_TRUE(SameAppendage(copy->appendages[1], turned));
    EXPECT_FALSE(SameAppendage(copy->appendages[1], upright[1]));
    EXPECT_TRUE(SameAppendages(hull_.appendages, upright));
}

TEST_F(HullTransformTest, CreateFrameArrayInPlaceAndInNewBody) {
    hull_.appendages = {Body("A", {0, 10, 20})};
    Mark();
    const auto before = hull_.appendages;
    EXPECT_FALSE(hull_.CreateFrameArray(0, 3, 3, 0, 1, 0, false));
    EXPECT_FALSE(hull_.CreateFrameArray(1, 0, 3, 0, 1, 0, true));
    EXPECT_TRUE(SameAppendages(hull_.appendages, before));
    EXPECT_TRUE(NewLines().empty());

    EXPECT_TRUE(hull_.CreateFrameArray(0, 1, 3, 0, 1, 0, true));
    ASSERT_EQ(hull_.GetAppendageCount(), 2u);
    EXPECT_TRUE(SameAppendage(hull_.appendages[0], before[0]));
    const Appendage& body = hull_.appendages[1];
    EXPECT_EQ(body.name, "New Parallel Body");
    EXPECT_TRUE(body.active);
    EXPECT_EQ(body.colour, 0u);
    EXPECT_EQ(Ys(body), (std::vector<double>{10, 11, 12, 13}));
    EXPECT_EQ(Names(body), (std::vector<std::string>{"F1", "F1", "F1", "F1"}));

    EXPECT_TRUE(hull_.CreateFrameArray(0, 1, 2, 0.5, -2, 1, false));
    EXPECT_EQ(Ys(hull_.appendages[0]), (std::vector<double>{0, 6, 8, 10, 20}));
    EXPECT_EQ(hull_.appendages[0].frames[1].X, (std::vector<double>{2}));
    EXPECT_EQ(hull_.appendages[0].frames[1].Z, (std::vector<double>{3}));
    EXPECT_TRUE(NewLines().empty());
}

TEST_F(HullTransformTest, CreateFrameArrayOfNoCopies) {
    for (bool newBody : {false, true}) {
        SCOPED_TRACE(newBody);
        hull_.appendages = {Body("A", {0, 10})};
        Mark();
        EXPECT_FALSE(hull_.CreateFrameArray(0, 0, 0, 1, 1, 1, newBody));
        Lines expected = {"ERROR: Failure creating frame array"};
        if (newBody) expected.push_back("ERROR: Tried creating new appendage for frame copies");
        EXPECT_EQ(NewLines(), expected);
        ASSERT_EQ(hull_.GetAppendageCount(), newBody ? 2u : 1u);
        EXPECT_EQ(Ys(hull_.appendages[0]), (std::vector<double>{0, 10}));
        if (newBody) {
            EXPECT_EQ(hull_.appendages[1].name, "New Parallel Body");
            EXPECT_EQ(Ys(hull_.appendages[1]), (std::vector<double>{0}));
        }
    }
}

TEST_F(HullTransformTest, CreateFrameArrayReportsEachRefusedCopy) {
    hull_.appendages = {Body("A", {0, 5, 10, 20})};
    Mark();
    EXPECT_FALSE(hull_.CreateFrameArray(0, 1, 6, 1, 1, 0, false));
    EXPECT_EQ(NewLines(), Lines{"ERROR: Creating copy 5 of frame [1] of appendage[0] at Y=10. "
                                "During frame copy -1 index returned"});
    const Appendage& a = hull_.appendages[0];
    EXPECT_EQ(Ys(a), (std::vector<double>{0, 5, 6, 7, 8, 9, 10, 11, 20}));
    // The frame at Y 10 is untouched, and copy 6 was moved by 6.
    EXPECT_EQ(a.frames[6].name, "F2");
    EXPECT_EQ(a.frames[6].X, (std::vector<double>{1}));
    EXPECT_EQ(a.frames[7].X, (std::vector<double>{7}));

    // A pitch of 0 inside the body: every copy refused, nothing added.
    hull_.appendages = {Body("A", {0, 5, 10})};
    Mark();
    EXPECT_FALSE(hull_.CreateFrameArray(0, 1, 2, 1, 0, 0, false));
    EXPECT_EQ(NewLines(), (Lines{"ERROR: Creating copy 1 of frame [1] of appendage[0] at Y=5. "
                                 "During frame copy -1 index returned",
                                 "ERROR: Creating copy 2 of frame [1] of appendage[0] at Y=5. "
                                 "During frame copy -1 index returned"}));
    EXPECT_EQ(Ys(hull_.appendages[0]), (std::vector<double>{0, 5, 10}));
}

TEST_F(HullTransformTest, SplitAppendage) {
    struct Case {
        unsigned j;
        bool deleteOriginal;
        std::vector<double> aft, fwd;
    } const cases[] = {
        {2, false, {0, 1, 2}, {2, 3, 4}},
        {2, true, {0, 1, 2}, {2, 3, 4}},
        {0, false, {0}, {0, 1, 2, 3, 4}},
        {4, true, {0, 1, 2, 3, 4}, {4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "at " << c.j << (c.deleteOriginal ? " deleting" : ""));
        hull_.appendages = {Body("Keel", {0, 1, 2, 3, 4}), Body("Rudder", {7})};
        Appendage& keel = hull_.appendages[0];
        keel.active = false;
        keel.freeFlooding = true;
        keel.colour = 0x00FF00;
        keel.density = 2;
        keel.frames[2].checked = true;
        const auto before = hull_.appendages;
        Mark();
        EXPECT_TRUE(hull_.SplitAppendage(0, c.j, c.deleteOriginal));
        EXPECT_TRUE(NewLines().empty());
        ASSERT_EQ(hull_.GetAppendageCount(), c.deleteOriginal ? 3u : 4u);
        const std::size_t first = c.deleteOriginal ? 1 : 2;
        if (!c.deleteOriginal) {
            EXPECT_TRUE(SameAppendage(hull_.appendages[0], before[0]));
        }
        EXPECT_EQ(hull_.appendages[first - 1].name, "Rudder");
        const Appendage& aft = hull_.appendages[first];
        const Appendage& fwd = hull_.appendages[first + 1];
        EXPECT_EQ(aft.name, "Keel-Aft");
        EXPECT_EQ(fwd.name, "Keel-Fwd");
        EXPECT_EQ(Ys(aft), c.aft);
        EXPECT_EQ(Ys(fwd), c.fwd);
        for (const Appendage* part : {&aft, &fwd}) {
            EXPECT_TRUE(part->active);
            EXPECT_FALSE(part->freeFlooding);
            EXPECT_EQ(part->colour, 0u);
            EXPECT_EQ(part->density, 0);
            for (const Section& s : part->frames)
                EXPECT_TRUE(SameFrame(s, before[0].frames[std::size_t(s.Y)]));
        }
    }
}

TEST_F(HullTransformTest, SplitAppendageOutOfBounds) {
    hull_.appendages = {Body("Keel", {0, 1})};
    Mark();
    const auto before = hull_.appendages;
    EXPECT_FALSE(hull_.SplitAppendage(0xFFFFFFFFu, 0, false));
    EXPECT_FALSE(hull_.SplitAppendage(0, 2, true));
    EXPECT_FALSE(hull_.SplitAppendage(1, 0, true));
    EXPECT_EQ(NewLines(), (Lines{"ERROR: Tried splitting appendage[4294967295] at frame [0] but found out of bounds",
                                 "ERROR: Tried splitting appendage[0] at frame [2] but found out of bounds",
                                 "ERROR: Tried splitting appendage[1] at frame [0] but found out of bounds"}));
    EXPECT_TRUE(SameAppendages(hull_.appendages, before));
}

TEST_F(HullTransformTest, AppendageWithoutFrames) {
    struct Case {
        const char* name;
        core::Result (*apply)(Hullform&);
        bool ok;
        Lines lines;
        unsigned appendages;
    } const cases[] = {
        {"ScaleAppendage", [](Hullform& h) { return h.ScaleAppendage(0, 2, -2, 2, false); }, true, {}, 1},
        {"ScaleAppendage copy", [](Hullform& h) { return h.ScaleAppendage(0, 2, 2, 2, true); }, true, {}, 2},
        {"Scale", [](Hullform& h) { return h.Scale(2, 2, 2); }, true, {}, 1},
        {"ScaleFrame", [](Hullform& h) { return h.ScaleFrame(0, 0, 2, 2, 2, false); }, false, {}, 1},
        {"MoveFrame", [](Hullform& h) { return h.MoveFrame(0, 0, 1, 1, 1, true); }, false,
         {"ERROR: Invalid index passed when trying to move frame [0] of appendage[0]"}, 1},
        {"MoveAppendage", [](Hullform& h) { return h.MoveAppendage(0, 1, 1, 1, true); }, true, {}, 2},
        {"Move", [](Hullform& h) { return h.Move(1, 1, 1); }, true, {}, 1},
        {"RotateFrame", [](Hullform& h) { return h.RotateFrame(0, 0, 10); }, false, {}, 1},
        {"RotateAppendage", [](Hullform& h) { return h.RotateAppendage(0, 10, true); }, true, {}, 2},
        {"Rotate", [](Hullform& h) { return h.Rotate(10); }, true, {}, 1},
        {"CreateFrameArray", [](Hullform& h) { return h.CreateFrameArray(0, 0, 3, 1, 1, 1, true); }, false, {}, 1},
        {"SplitAppendage", [](Hullform& h) { return h.SplitAppendage(0, 0, true); }, false,
         {"ERROR: Tried splitting appendage[0] at frame [0] but found out of bounds"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        hull_.appendages = {Appendage()};
        hull_.appendages[0].name = "Empty";
        Mark();
        EXPECT_EQ(c.apply(hull_), c.ok);
        EXPECT_EQ(NewLines(), c.lines);
        ASSERT_EQ(hull_.GetAppendageCount(), c.appendages);
        for (const Appendage& a : hull_.appendages) {
            EXPECT_EQ(a.name, "Empty");
            EXPECT_EQ(a.GetFrameCount(), 0u);
        }
    }
}

TEST_F(HullTransformTest, CreateFrameArrayOfManyCopies) {
    hull_.appendages = {Body("A", {-3, 0, 2000}, {{1, 0}, {0, 1}})};
    Mark();
    EXPECT_TRUE(hull_.CreateFrameArray(0, 1, 1000, 0.001, -0.25, 0.002, true));
    EXPECT_TRUE(hull_.CreateFrameArray(0, 1, 1000, 0.001, 1.5, 0.002, false));
    EXPECT_TRUE(NewLines().empty());
    const Appendage& body = hull_.appendages[1];
    ASSERT_EQ(body.GetFrameCount(), 1001u);
    for (unsigned k = 0; k <= 1000; ++k) {
        const auto& s = body.frames[1000 - k];  // negative pitch: the last copy comes first
        EXPECT_EQ(s.Y, k * -0.25) << k;
        EXPECT_EQ(s.GetMaxX(), 1 + k * 0.001) << k;
        EXPECT_EQ(s.GetMaxZ(), 1 + k * 0.002) << k;
    }
    const Appendage& a = hull_.appendages[0];
    ASSERT_EQ(a.GetFrameCount(), 1003u);
    EXPECT_EQ(a.frames.front().Y, -3);
    EXPECT_EQ(a.frames.back().Y, 2000);
    for (unsigned k = 1; k < a.GetFrameCount(); ++k) EXPECT_LT(a.frames[k - 1].Y, a.frames[k].Y);
}

TEST_F(HullTransformTest, MoveFrameRefusedWithoutAPlaceLeavesTheFrameAlone) {
    // A Y that is no number has no place in the list, even for the only frame.
    for (bool copy : {false, true}) {
        SCOPED_TRACE(copy);
        hull_.appendages = {Body("A", {3})};
        Mark();
        const auto before = hull_.appendages;
        EXPECT_FALSE(hull_.MoveFrame(0, 0, 1, kNaN, 1, copy));
        EXPECT_EQ(NewLines(), Lines{"ERROR: Moving frame [0] of appendage[0]. During frame copy -1 index returned"});
        EXPECT_TRUE(SameAppendages(hull_.appendages, before));
    }
}

// Every way a number enters the model refuses one that is not finite, or a result that
// would not be: the model is unchanged and the hull-level operations log one ERROR line.
TEST_F(HullTransformTest, NumbersThatAreNotFiniteNeverEnterTheModel) {
    struct Case {
        const char* what;
        std::function<bool(Hullform&)> op;
        const char* line;  // the ERROR line, or "" for a model-level operation that logs nothing
    };
    const Case cases[] = {
        {"AddOffset", [](Hullform& h) { return h.appendages[0].AddOffset(0, kNaN, 1); }, ""},
        {"InsertOffset", [](Hullform& h) { return h.appendages[0].frames[0].InsertOffset(0, 1, kInf); }, ""},
        {"SetX", [](Hullform& h) { return h.appendages[0].frames[0].SetX(0, -kInf); }, ""},
        {"SetZ", [](Hullform& h) { return h.appendages[0].frames[0].SetZ(0, kNaN); }, ""},
        {"SetY", [](Hullform& h) { return h.appendages[0].frames[0].SetY(kInf) == 1; }, ""},
        {"AddSection", [](Hullform& h) { return h.appendages[0].AddSection("Far", kInf) >= 0; }, ""},
        {"Appendage MoveY", [](Hullform& h) { return h.appendages[0].MoveY(kNaN); }, ""},
        {"Appendage ScaleY overflow", [](Hullform& h) { return h.appendages[0].ScaleY(1e308); }, ""},
        {"Move", [](Hullform& h) { return h.Move(1, kInf, 1); },
         "ERROR: Moving Hullform by a distance that is not a finite number on Y axis"},
        {"MoveAppendage", [](Hullform& h) { return h.MoveAppendage(0, kNaN, 0, 0, true); },
         "ERROR: Moving appendage[0] by a distance that is not a finite number on X axis"},
        {"MoveFrame", [](Hullform& h) { return h.MoveFrame(0, 1, 0, 0, -kInf, false); },
         "ERROR: Moving frame [1] of appendage[0] by a distance that is not a finite number on Z axis"},
        {"MoveFrame to an infinite Y", [](Hullform& h) { return h.MoveFrame(0, 1, 0, kInf, 0, false); },
         "ERROR: Moving frame [1] of appendage[0]. During frame copy -1 index returned"},
        {"Move beyond the range", [](Hullform& h) { return h.Move(1e308, 0, 0); },
         "ERROR: Moving Hullform would take an offset or a frame position beyond the range of numbers"},
        {"Scale beyond the range", [](Hullform& h) { return h.Scale(2, 1, 1); },
         "ERROR: Scaling Hull would take an offset or a frame position beyond the range of numbers"},
        {"ScaleAppendage beyond the range", [](Hullform& h) { return h.ScaleAppendage(0, 1, 1, 1e308, false); },
         "ERROR: Scaling appendage[0] would take an offset or a frame position beyond the range of numbers"},
        {"ScaleFrame beyond the range", [](Hullform& h) { return h.ScaleFrame(0, 0, 2, 1, 1, false); },
         "ERROR: Scaling frame [0] of appendage[0] would take an offset or a frame position beyond the range "
         "of numbers"},
        {"Rotate", [](Hullform& h) { return h.Rotate(kNaN); },
         "ERROR: Rotating Hullform by an angle that is not a finite number"},
        {"RotateAppendage", [](Hullform& h) { return h.RotateAppendage(0, kInf, false); },
         "ERROR: Rotating appendage[0] by an angle that is not a finite number"},
        {"RotateFrame", [](Hullform& h) { return h.RotateFrame(0, 2, kNaN); },
         "ERROR: Rotating frame [2] of appendage[0] by an angle that is not a finite number"},
        {"CreateFrameArray", [](Hullform& h) { return h.CreateFrameArray(0, 0, 3, 0, kNaN, 0, false); },
         "ERROR: Creating frame array of frame [0] of appendage[0] with a step that is not a finite number on Y "
         "axis"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hull_.appendages = {Body("A", {0, 1, 2}), Body("B", {5, 6})};
        for (Appendage& a : hull_.appendages)
            for (Section& s : a.frames) s.AddOffset(1e308, -2);
        const auto before = hull_.appendages;
        Mark();
        EXPECT_FALSE(c.op(hull_));
        EXPECT_TRUE(SameAppendages(hull_.appendages, before));
        if (*c.line)
            EXPECT_EQ(NewLines(), Lines{c.line});
        else
            EXPECT_TRUE(NewLines().empty());
    }
}

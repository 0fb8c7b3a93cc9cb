// The calculation runs' logic without windows: inputs, counts, headers and rows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "Hulls.h"
#include "app/RunLogic.h"
#include "base/StrUtils.h"
#include "core/DraughtSearch.h"
#include "core/HydroData.h"
#include "support/TestSupport.h"

using namespace app::runs;

namespace {

class RunLogicTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    core::Hullform hull{dir.file("log.txt")};
    void SetUp() override { hulls::MakeBoxBarge(hull); }
    static TrimInput Deg(const std::string& t) { return {t, base::StrToFloatDef(t, 0), "deg"}; }
    static TrimInput Metres(double m) { return {base::FloatToStr(m), m, "m"}; }
    bool Logged(const std::string& part) const
    {
        for (const auto& l : hull.log.Lines())
            if (l.find(part) != std::string::npos) return true;
        return false;
    }
};

TEST_F(RunLogicTest, HydroInputRefusalsGiveTheirMessages)
{
    struct Case {
        std::string start, end;
        double step;
        TrimInput trim;
        double density;
        const char* message;
    };
    const Case cases[] = {
        {"x", "1", 0.1, Deg("0"), 1.025, kBadNumbers},
        {"0", "1", 0.1, Deg("abc"), 1.025, kBadNumbers},
        {"1", "0.5", 0.1, Deg("0"), 1.025, kEndBeforeStart},
        {"0", "1", 0, Deg("0"), 1.025, kBadStep},
        {"0", "1", -0.1, Deg("0"), 1.025, kBadStep},
        {"0", "1", 0.1, Deg("0"), 0, kBadDensity},
        {"0", "1", 1e-9, Deg("0"), 1.025, kTooManyRows},
        {"0", "1", 0.1, Metres(0.5), 1.025, kMarksCoincide},
    };
    for (const Case& c : cases) {
        hull.waterDensity = c.density;
        HydroSettings s;
        EXPECT_EQ(ReadHydroInputs(hull, {c.start, c.end, c.step, c.trim, 0}, s), c.message) << c.start << c.end;
    }
}

TEST_F(RunLogicTest, DraughtCountsIncludeTheEnd)
{
    EXPECT_EQ(DraughtCount(0, 1, 0.1), 11);
    EXPECT_EQ(DraughtCount(1, 1, 0.01), 1);
    EXPECT_EQ(DraughtCount(1, 1, 0.02), 1);
    EXPECT_EQ(DraughtCount(0, 0.3, 0.1), 4);
    EXPECT_EQ(DraughtCount(0, 1, 0.001), 1010);  // the 0.01 margin past the end
    EXPECT_EQ(DraughtCount(0, 1e6, 1), -1);
    HydroSettings s;
    ASSERT_EQ(ReadHydroInputs(hull, {"0", "1", 0.1, Deg("0"), 0}, s), "");
    EXPECT_EQ(s.rows, 11);
}

TEST_F(RunLogicTest, DraughtsAreTakenAtTheReference)
{
    hull.aftMarkY = -10;
    hull.fwdMarkY = 30;
    HydroSettings s;
    ASSERT_EQ(ReadHydroInputs(hull, {"2", "2", 0.1, Deg("1"), 1}, s), "");
    EXPECT_NEAR(s.start, 2 + std::tan(M_PI / 180) * 10, 1e-12);
    std::array<double, 15> row{};
    ASSERT_TRUE(HydroStep(hull, s, 0, row));
    EXPECT_NEAR(row[0], 2.0, 1e-12);
    // Zero trim in metres with coincident marks is no trim at all.
    hull.fwdMarkY = hull.aftMarkY;
    EXPECT_EQ(ReadHydroInputs(hull, {"2", "2", 0.1, Metres(0), 1}, s), "");
    EXPECT_EQ(s.trim, 0);
}

TEST_F(RunLogicTest, BoxBargeRowsMatchTheFormulas)
{
    HydroSettings s;
    ASSERT_EQ(ReadHydroInputs(hull, {"0", "2", 0.5, Deg("0"), 0}, s), "");
    ASSERT_EQ(s.rows, 5);
    for (int i = 1; i < s.rows; ++i) {
        std::array<double, 15> r{};
        ASSERT_TRUE(HydroStep(hull, s, i, r));
        const double t = 0.5 * i;
        EXPECT_EQ(base::FormatFloat("0.000", r[0]), base::FormatFloat("0.000", t));
        EXPECT_EQ(base::FormatFloat("0.000", r[1]), base::FormatFloat("0.000", 30 * 10 * t));
        EXPECT_EQ(base::FormatFloat("0.000", r[2]), base::FormatFloat("0.000", 30 * 10 * t * 1.025));
        EXPECT_EQ(base::FormatFloat("0.000", r[3]), base::FormatFloat("0.000", t / 2));
        EXPECT_EQ(base::FormatFloat("0.000", r[12]), "10.000");
        EXPECT_EQ(base::FormatFloat("0.000", r[13]), "30.000");
        const auto g = HydroGraphValues(r);
        EXPECT_EQ(g[0], r[2]);
        EXPECT_EQ(g[7], r[11] * 0.1);
    }
}

TEST_F(RunLogicTest, FailedHydrostaticsWriteNoRow)
{
    hull.appendages[0].active = false;
    HydroSettings s;
    ASSERT_EQ(ReadHydroInputs(hull, {"0", "1", 0.5, Deg("0"), 0}, s), "");
    std::array<double, 15> r{};
    r.fill(-7);
    EXPECT_FALSE(HydroStep(hull, s, 1, r));
    EXPECT_EQ(r[1], -7);
    EXPECT_TRUE(Logged("ACTIVE appendage"));
}

TEST_F(RunLogicTest, HydroHeaderRowsReadFromTheTopAsTitleTrimDateAppendages)
{
    hull.name = "Barge";
    hull.appendages[0].name = "A";
    hull.AddAppendage("B");
    hull.appendages[1].active = false;
    const RunStamp stamp{2006, 3, 5, 9, 5};
    const auto rows = HydroHeaderRows(hull, stamp, {"1.50000", 1.5, "deg"}, 1.025, true);
    ASSERT_EQ(rows.size(), 5u);  // inserted in turn at the top: the last is the title
    EXPECT_EQ(rows[0][0].text, "<FONT color=\"#00FF00\">Appendage - A is Active</FONT>");
    EXPECT_EQ(rows[1][0].text, "<FONT color=\"#FF0000\">Appendage - B is Inactive</FONT>");
    EXPECT_EQ(rows[2][0].text, "Run Date: 05/03/2006");
    EXPECT_EQ(rows[2][1].text, "Time of Run: 9:5");
    EXPECT_EQ(rows[2][1].col, 2);
    EXPECT_EQ(rows[3][0].text, "<B>Trim = 1.50000 deg, at Density = 1.025 Te/m<SUP>3</SUP>");
    EXPECT_EQ(rows[4][0].text, "<B>Table of Hydrostatic Properties for Barge");
    EXPECT_EQ(rows[4][0].span, 12);
    EXPECT_EQ(HydroHeaderRows(hull, stamp, Metres(0), 1, false).size(), 3u);
    // Names are markup-escaped in the report's cells.
    hull.name = "A<B";
    hull.appendages[0].name = "x&y";
    const auto escaped = HydroHeaderRows(hull, stamp, Metres(0), 1, true);
    EXPECT_EQ(escaped[0][0].text, "<FONT color=\"#00FF00\">Appendage - x&amp;y is Active</FONT>");
    EXPECT_EQ(escaped[4][0].text, "<B>Table of Hydrostatic Properties for A&lt;B");
    EXPECT_EQ(std::string(kHydroHeads[8]) + kHydroUnits[14], "<B>MCT 1cm<B>(m<SUP>2</SUP>)");
}

TEST_F(RunLogicTest, CrossInputRefusalsGiveTheirMessages)
{
    struct Case {
        double start, end, step, tol;
        const char* message;
        const char* warning;
    };
    const Case cases[] = {
        {0, 100, 0.00005, 0.1, kDispStepTooSmall, ""},
        {0, 100, 10, 0.00005, kToleranceTooSmall, ""},
        {0, 100, 10, 0.005, "", kToleranceLow},
        {100, 0, 10, 0.1, kEndDispBeforeStart, ""},
        {0, 1e9, 0.001, 0.1, kTooManyRows, ""},
        {0, 100, 10, 0.1, "", ""},
    };
    for (const Case& c : cases) {
        CrossSettings s;
        std::string warning;
        CrossRequest in{c.start, c.end, c.step, 0, 30, 10, c.tol, Deg("0")};
        EXPECT_EQ(ReadCrossInputs(hull, in, s, warning), c.message) << c.step;
        EXPECT_EQ(warning, c.warning);
    }
    CrossSettings s;
    std::string w;
    ASSERT_EQ(ReadCrossInputs(hull, {0, 100, 10, 0, 30, 10, 0.1, Deg("0")}, s, w), "");
    EXPECT_EQ(s.rows, 12);  // one step past the end
}

TEST_F(RunLogicTest, RunAnglesMergeSortAndRefuse)
{
    std::vector<double> angles;
    EXPECT_EQ(BuildRunAngles({15}, 0, 30, 10, angles), "");
    EXPECT_EQ(angles, (std::vector<double>{0, 10, 15, 20, 30}));
    EXPECT_EQ(BuildRunAngles({20}, 0, 30, 10, angles), "");
    EXPECT_EQ(angles, (std::vector<double>{0, 10, 20, 20, 30}));
    EXPECT_EQ(BuildRunAngles({}, 0, 30, 0, angles), kNoAngles);
    EXPECT_EQ(BuildRunAngles({5}, 0, 30, 0, angles), kBadAngleStep);
    EXPECT_EQ(BuildRunAngles({}, 30, 0, -10, angles), kBadAngleStep);
    EXPECT_EQ(BuildRunAngles({}, 0, 30, 1e-9, angles), kTooManyAngles);
}

TEST_F(RunLogicTest, CrossStepOnAHeeledCopyLeavesTheHullAlone)
{
    const auto before = hull.appendages;
    CrossSettings s;
    std::string w;
    ASSERT_EQ(ReadCrossInputs(hull, {0, 1500, 500, 0, 0, 10, 0.1, Deg("0")}, s, w), "");
    const double largest = LargestDisplacement(hull);
    EXPECT_NEAR(largest, 30 * 10 * 4 * 1.025, 1e-6);
    auto upright = hull.HeeledCopy(0);
    core::DraughtSearch uprightSearch(*upright, s.trim);
    const CrossCell c = CrossStep(uprightSearch, s, largest, 1, 0, hull);
    ASSERT_TRUE(c.found);
    EXPECT_EQ(c.displacement, 500);
    EXPECT_NEAR(c.kn, 0, 1e-6);
    auto heeled = hull.HeeledCopy(10);
    core::DraughtSearch heeledSearch(*heeled, s.trim);
    const CrossCell h = CrossStep(heeledSearch, s, largest, 2, 10, hull);
    ASSERT_TRUE(h.found);
    EXPECT_GT(std::fabs(h.kn), 0.1);
    // Clamped to the upright maximum, which the heeled hull cannot float.
    EXPECT_EQ(s.Displacement(5, largest), largest);
    // A displacement the search cannot float leaves the cell empty, with a note.
    CrossSettings neg = s;
    neg.startDisp = -500;
    const CrossCell d = CrossStep(heeledSearch, neg, largest, 0, 10, hull);
    EXPECT_FALSE(d.found);
    EXPECT_TRUE(Logged("NOTE: Cross curves - no draught floats"));
    ASSERT_EQ(hull.appendages.size(), before.size());
    for (std::size_t f = 0; f < before[0].frames.size(); ++f)
        for (unsigned p = 0; p < before[0].frames[f].GetOffsetCount(); ++p) {
            EXPECT_EQ(hull.appendages[0].frames[f].GetX(p), before[0].frames[f].GetX(p));
            EXPECT_EQ(hull.appendages[0].frames[f].GetZ(p), before[0].frames[f].GetZ(p));
        }
    EXPECT_EQ(AngleHeadText(15), "<B>15 deg");
    EXPECT_EQ(DisplacementText(500), "<B>500.000");
}

TEST_F(RunLogicTest, LongInputsAndLayout)
{
    LongSettings s;
    EXPECT_EQ(ReadLongInputs(hull, {"abc", Deg("0"), 0}, s), kBadNumbers);
    hull.waterDensity = 0;
    EXPECT_EQ(ReadLongInputs(hull, {"1", Deg("0"), 0}, s), kBadDensity);
    hull.waterDensity = 1.025;
    hull.aftMarkY = -10;
    hull.fwdMarkY = 30;
    ASSERT_EQ(ReadLongInputs(hull, {"2", Deg("1"), 1}, s), "");
    EXPECT_NEAR(s.draught, 2 + std::tan(M_PI / 180) * 10, 1e-12);
    const LongLayout l{11};
    EXPECT_EQ(l.TotalsRow(), 13);
    EXPECT_LT(l.TotalsRow(), l.SummaryRow());
    EXPECT_EQ(l.SummaryRow() + 3, l.RowCount());
}

}  // namespace

TEST(RunCells, ANumberRoundingToZeroLosesItsSign)
{
    struct Case {
        double v, want;
    } cases[] = {{-0.0004, 0}, {-1e-17, 0}, {-0.0, 0}, {0.0004, 0}, {-0.0006, -0.0006},
                 {-0.002, -0.002}, {12.5, 12.5}, {-20.0, -20.0}};
    for (const Case& c : cases) {
        const double got = CellValue(c.v);
        EXPECT_EQ(got, c.want) << c.v;
        EXPECT_EQ(std::signbit(got), std::signbit(c.want)) << c.v;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.3f", got);
        EXPECT_NE(std::string(buf), "-0.000") << c.v;
    }
    EXPECT_EQ(CellValue(-0.04, 1), 0);
    EXPECT_EQ(CellValue(-0.06, 1), -0.06);
}

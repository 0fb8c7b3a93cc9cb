#include <gtest/gtest.h>

#include <string>

#include "core/HydroData.h"

using core::HydroData;

namespace {

void ExpectReset(const HydroData& h)
{
    const double values[] = {h.draught, h.volume, h.trim, h.displacement, h.VCB, h.TCB, h.LCB,
                             h.LCF, h.TCF, h.MCT1cm, h.TPI, h.KMT, h.KML, h.WPA, h.I_L, h.I_T,
                             h.waterlineMaxY, h.waterlineMinY, h.waterlineMaxX, h.waterlineMinX};
    for (double v : values)
        EXPECT_EQ(v, 0.0);
    for (const core::CurveSet* s : {&h.buoyancyCurves, &h.areaCurves}) {
        EXPECT_TRUE(s->curves.empty());
        EXPECT_TRUE(s->finalCurve.Y.empty());
        EXPECT_TRUE(s->finalCurve.value.empty());
    }
}

HydroData Filled()
{
    HydroData h;
    h.draught = 1;
    h.volume = 20;
    h.trim = 2;
    h.displacement = 20.5;
    h.VCB = 0.5;
    h.TCB = 0.1;
    h.LCB = 5;
    h.LCF = 5;
    h.TCF = 0.2;
    h.MCT1cm = 0.17;
    h.TPI = 0.205;
    h.KMT = 5.0 / 6;
    h.KML = 53.0 / 6;
    h.WPA = 20;
    h.I_L = 500.0 / 3;
    h.I_T = 20.0 / 3;
    h.waterlineMaxY = 10;
    h.waterlineMinY = 0.5;
    h.waterlineMaxX = 1;
    h.waterlineMinX = -1;
    std::string msg;
    for (core::CurveSet* s : {&h.buoyancyCurves, &h.areaCurves}) {
        s->curves.emplace_back();
        s->curves[0].AddArea(0, 2, msg);
        s->curves[0].AddArea(10, 2, msg);
        s->CreateFinalCurve(msg);
    }
    return h;
}

}  // namespace

TEST(HydroData, NewRecordIsReset)
{
    ExpectReset(HydroData());
}

TEST(HydroData, ResetClearsEveryFieldAndBothCurveSets)
{
    HydroData h = Filled();
    h.Reset();
    ExpectReset(h);
}

TEST(HydroData, CopyIsDeep)
{
    const HydroData original = Filled();
    HydroData copy = original;
    ASSERT_EQ(copy.areaCurves.curves.size(), 1u);
    EXPECT_EQ(copy.areaCurves.finalCurve.value, original.areaCurves.finalCurve.value);
    EXPECT_EQ(copy.KML, original.KML);
    std::string msg;
    copy.areaCurves.curves[0].AddArea(5, 7, msg);
    copy.buoyancyCurves.finalCurve.value[0] = 99;
    copy.volume = 1;
    EXPECT_EQ(original.areaCurves.curves[0].Y.size(), 2u);
    EXPECT_EQ(original.buoyancyCurves.finalCurve.value[0], 2);
    EXPECT_EQ(original.volume, 20);
}

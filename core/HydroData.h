#pragma once
// The result of one hydrostatic calculation at one draught and trim.
#include "core/CurveSet.h"

namespace core {

class HydroData {
public:
    double draught = 0.0;       // m, waterline height at Y = 0
    double volume = 0.0;        // m3
    double trim = 0.0;          // degrees
    double displacement = 0.0;  // t
    double VCB = 0.0;
    double TCB = 0.0;
    double LCB = 0.0;
    double LCF = 0.0;
    double TCF = 0.0;
    double MCT1cm = 0.0;  // t.m
    double TPI = 0.0;     // t per cm
    double KMT = 0.0;
    double KML = 0.0;
    double WPA = 0.0;  // m2
    double I_L = 0.0;  // m4, about LCF
    double I_T = 0.0;  // m4, about TCF
    // Waterline ends in Y are measured along the inclined waterplane (Y / cos trim).
    double waterlineMaxY = 0.0;
    double waterlineMinY = 0.0;
    double waterlineMaxX = 0.0;
    double waterlineMinX = 0.0;
    CurveSet buoyancyCurves;  // t/m: area x the appendage's density
    CurveSet areaCurves;      // m2

    HydroData() = default;

    // All values 0, both curve sets emptied.
    void Reset();
};

}  // namespace core

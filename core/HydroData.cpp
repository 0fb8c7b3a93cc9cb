#include "core/HydroData.h"

namespace core {

void HydroData::Reset()
{
    draught = volume = trim = displacement = 0.0;
    VCB = TCB = LCB = LCF = TCF = 0.0;
    MCT1cm = TPI = KMT = KML = 0.0;
    WPA = I_L = I_T = 0.0;
    waterlineMaxY = waterlineMinY = waterlineMaxX = waterlineMinX = 0.0;
    buoyancyCurves.Clear();
    areaCurves.Clear();
}

}  // namespace core

// Hydrostatics of the whole hull, the draught for a displacement and the trim conversions.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/DraughtSearch.h"
#include "core/HydroData.h"
#include "core/Hullform.h"

namespace core {

namespace {

constexpr double kPi = 3.141592653589793;

// An appendage that reaches the waterline has a waterline of positive breadth, so its
// X extents are not both 0; one that is dry or wholly under water leaves them at 0.
bool ReachesWaterline(const HydroData& h)
{
    return h.waterlineMinX != 0 || h.waterlineMaxX != 0;
}

// An appendage's curves, h's own, added to the hull's; a body without a density of its own
// floats in the hull's water, of density rho.
void AddCurves(HydroData& h, bool ownDensity, double rho, HydroData& r)
{
    if (!ownDensity) {
        LongitudinalCurve buoyancy = h.areaCurves.finalCurve;
        for (double& v : buoyancy.value)
            v *= rho;
        r.buoyancyCurves.curves.push_back(std::move(buoyancy));
    } else {
        r.buoyancyCurves.curves.push_back(std::move(h.buoyancyCurves.finalCurve));
    }
    r.areaCurves.curves.push_back(std::move(h.areaCurves.finalCurve));
}

}  // namespace

bool Hullform::GetHydroStatics(double draught, double trim, HydroData& r, bool curves)
{
    if (appendages.empty()) {
        log.Log("ERROR: Failed getting hydrostatics - less than 1 appendage present");
        return false;
    }
    r.Reset();
    r.draught = draught;
    r.trim = trim;
    bool anyActive = false;
    for (const Appendage& a : appendages)
        anyActive = anyActive || a.active;
    if (!anyActive) {
        log.Log("ERROR: Failed getting hydrostatics - less than 1 ACTIVE appendage present");
        return false;
    }
    for (const Appendage& a : appendages) {
        if (a.active && !a.FramesAscend()) {
            log.Log("ERROR: Failed getting hydrostatics - frames of appendage " + a.name +
                    " are not in ascending Y");
            return false;
        }
    }

    const double rho = waterDensity;
    // Longitudinal arms lie along the inclined waterplane.
    const double cosTrim = std::cos(trim * kPi * (1.0 / 180));
    double sv = 0, slcb = 0, svcb = 0, stcb = 0, swpa = 0, slcf = 0, stcf = 0, sil = 0, sit = 0;
    bool waterlineSeen = false;
    HydroData h;
    for (const Appendage& a : appendages) {
        if (!a.active)
            continue;
        h.Reset();
        a.GetHydroStatics(draught, trim, h, curves);
        sv += h.volume;
        slcb += h.volume * h.LCB;
        svcb += h.volume * h.VCB;
        stcb += h.volume * h.TCB;
        swpa += h.WPA;
        slcf += h.WPA * h.LCF;
        stcf += h.WPA * h.TCF;
        const double arm = h.LCF / cosTrim;
        sil += arm * arm * h.WPA + h.I_L;
        sit += h.TCF * h.TCF * h.WPA + h.I_T;

        if (curves)
            AddCurves(h, a.density != 0, rho, r);
        if (ReachesWaterline(h)) {
            const bool first = !waterlineSeen;
            if (first || h.waterlineMinX < r.waterlineMinX)
                r.waterlineMinX = h.waterlineMinX;
            if (first || h.waterlineMinY < r.waterlineMinY)
                r.waterlineMinY = h.waterlineMinY;
            if (first || h.waterlineMaxX > r.waterlineMaxX)
                r.waterlineMaxX = h.waterlineMaxX;
            if (first || h.waterlineMaxY > r.waterlineMaxY)
                r.waterlineMaxY = h.waterlineMaxY;
            waterlineSeen = true;
        }
    }

    const double lcf = swpa > 0 ? slcf / swpa : 0;
    const double tcf = swpa > 0 ? stcf / swpa : 0;
    r.LCF = lcf;
    r.TCF = tcf;
    r.volume = sv;
    r.WPA = swpa;
    r.I_L = sil - (lcf / cosTrim) * (lcf / cosTrim) * r.WPA;
    r.I_T = sit - tcf * tcf * r.WPA;

    if (curves) {
        std::string dropped;
        r.buoyancyCurves.CreateFinalCurve(dropped);
        r.areaCurves.CreateFinalCurve(dropped);
    }

    if (sv > 0) {
        r.VCB = svcb / sv;
        r.LCB = slcb / sv;
        r.TCB = stcb / sv;
    }
    r.displacement = sv * rho;
    r.TPI = rho * r.WPA * 0.01;
    if (r.volume == 0) {
        r.KML = r.KMT = 0;
    } else {
        r.KML = r.I_L / sv + r.VCB;
        r.KMT = r.I_T / sv + r.VCB;
    }
    // Without a span between the draught marks, the waterline length stands in for it.
    double span = fwdMarkY - aftMarkY;
    if (span == 0)
        span = r.waterlineMaxY - r.waterlineMinY;
    r.MCT1cm = span == 0 ? 0 : rho * r.I_L / (100 * span);
    return true;
}

double Hullform::FindDraughtForDisplacement(double target, double trim, double tolerance,
                                            bool* converged, unsigned* evaluations)
{
    return DraughtSearch(*this, trim).Find(target, tolerance, converged, evaluations);
}

double Hullform::TrimMetresToDegrees(double trim)
{
    const double span = fwdMarkY - aftMarkY;
    if (span == 0) {
        log.Log("ERROR: Failed converting trim in metres to deg - Fwd and aft draughts marks coincident");
        return 0;
    }
    return std::atan(trim / span) * 180 * (1 / kPi);
}

double Hullform::TrimDegreesToMetres(double trim)
{
    const double span = fwdMarkY - aftMarkY;
    if (span == 0) {
        log.Log("ERROR: Failed converting trim in deg to metres - Fwd and aft draughts marks coincident");
        return 0;
    }
    return std::tan(trim * kPi * (1.0 / 180)) * span;
}

}  // namespace core

// Hydrostatics of the whole hull, the draught for a displacement and the trim conversions.
#include <cmath>
#include <string>
#include <utility>

#include "core/HydroData.h"
#include "core/Hullform.h"

namespace core {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kMaxHalvings = 200;
constexpr int kMaxLowerings = 100000;
constexpr double kNarrowestBracket = 1e-9;

// An appendage that reaches the waterline has a waterline of positive breadth, so its
// X extents are not both 0; one that is dry or wholly under water leaves them at 0.
bool ReachesWaterline(const HydroData& h)
{
    return h.waterlineMinX != 0 || h.waterlineMaxX != 0;
}

}  // namespace

bool Hullform::GetHydroStatics(double draught, double trim, HydroData& r)
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
        a.GetHydroStatics(draught, trim, h);
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

        if (a.density == 0) {
            // A body without a density of its own floats in the hull's water.
            LongitudinalCurve buoyancy = h.areaCurves.finalCurve;
            for (double& v : buoyancy.value)
                v *= rho;
            r.buoyancyCurves.curves.push_back(std::move(buoyancy));
        } else {
            r.buoyancyCurves.curves.push_back(std::move(h.buoyancyCurves.finalCurve));
        }
        r.areaCurves.curves.push_back(std::move(h.areaCurves.finalCurve));

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

    std::string dropped;
    r.buoyancyCurves.CreateFinalCurve(dropped);
    r.areaCurves.CreateFinalCurve(dropped);

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
                                            bool* converged)
{
    if (converged)
        *converged = false;
    if (!(target >= 0))
        return 0;
    const double tol = target * tolerance * 0.01;
    if (!(tol >= 1e-6))
        return 0;

    HydroData hlo, hhi, hmid;
    double best = 0, bestMiss = 0;
    bool haveBest = false;
    auto calc = [&](double draught, HydroData& h) {
        GetHydroStatics(draught, trim, h);
        const double miss = std::fabs(h.displacement - target);
        if (!haveBest || miss < bestMiss) {
            best = draught;
            bestMiss = miss;
            haveBest = true;
        }
    };
    auto matches = [&](const HydroData& h) {
        return h.displacement - tol < target && target < h.displacement + tol;
    };
    auto found = [&](double draught) {
        if (converged)
            *converged = true;
        return draught;
    };

    double lo = GetMinZ(), hi = GetMaxZ();
    double mid = (lo + hi) * 0.5;
    calc(hi, hhi);
    calc(lo, hlo);
    calc(mid, hmid);
    if (hhi.displacement < target)
        return 0;  // cannot float it with the waterline at Y = 0 at the highest point
    if (matches(hlo))
        return found(lo);
    if (matches(hhi))
        return found(hi);
    if (matches(hmid))
        return found(mid);
    // With a trim the waterline at the keel height can already immerse part of the hull.
    for (int n = 0; hlo.displacement > target; ++n) {
        if (n == kMaxLowerings)
            return best;
        lo = lo - 2.0;
        calc(lo, hlo);
    }
    mid = (lo + hi) * 0.5;
    calc(lo, hlo);
    if (matches(hlo))
        return found(lo);
    calc(hi, hhi);
    if (matches(hhi))
        return found(hi);
    calc(mid, hmid);
    if (matches(hmid))
        return found(mid);
    // Halving; a displacement that jumps by more than twice the tolerance, or a bracket
    // that cannot be split any more, ends the search without a match.
    for (int n = 0; n < kMaxHalvings && hi - lo >= kNarrowestBracket; ++n) {
        if (target < hmid.displacement)
            hi = mid;
        else if (target > hmid.displacement)
            lo = mid;
        mid = (lo + hi) * 0.5;
        calc(mid, hmid);
        if (matches(hmid))
            return found(mid);
    }
    return best;
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

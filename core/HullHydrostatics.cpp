// Hydrostatics of the whole hull, the draught for a displacement and the trim conversions.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/HydroData.h"
#include "core/Hullform.h"

namespace core {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kMaxSearchSteps = 200;
constexpr int kMaxBoundSteps = 64;      // steps of 2, 4, 8 ... m: far beyond any hull
constexpr double kBoundStep = 2.0;
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
                                            bool* converged, unsigned* evaluations)
{
    if (converged)
        *converged = false;
    if (evaluations)
        *evaluations = 0;
    if (!(target >= 0))
        return 0;
    const double tol = target * tolerance * 0.01;
    if (!(tol >= 1e-6))
        return 0;

    // A displacement with the slope of its curve: dDisplacement/dDraught is the waterplane
    // area seen from above, the inclined one times cos(trim).
    struct Point {
        double draught = 0, displacement = 0, slope = 0;
    };
    const double theta = trim * kPi * (1.0 / 180);
    const double slopeFactor = waterDensity * std::cos(theta);
    HydroData h;
    double best = 0, bestMiss = 0;
    bool haveBest = false;
    bool refused = false;
    auto calc = [&](double draught) {
        Point p;
        p.draught = draught;
        if (evaluations)
            ++*evaluations;
        if (!GetHydroStatics(draught, trim, h)) {
            refused = true;
            return p;
        }
        p.displacement = h.displacement;
        p.slope = slopeFactor * h.WPA;
        const double miss = std::fabs(h.displacement - target);
        if (!haveBest || miss < bestMiss) {
            best = draught;
            bestMiss = miss;
            haveBest = true;
        }
        return p;
    };
    auto matches = [&](const Point& p) {
        return p.displacement - tol < target && target < p.displacement + tol;
    };
    auto found = [&](double draught) {
        if (converged)
            *converged = true;
        return draught;
    };

    // Below `dry` the waterline misses the whole length of the hull, above `full` it covers
    // it: the bounds never need to go further.
    const double tanTrim = std::tan(theta);
    const double riseAft = GetMinY() * tanTrim, riseFwd = GetMaxY() * tanTrim;
    const double dry = GetMinZ() - std::max(riseAft, riseFwd);
    const double full = GetMaxZ() - std::min(riseAft, riseFwd);

    Point hi = calc(GetMaxZ());
    if (refused)
        return 0;  // logged once by the hydrostatics
    if (matches(hi))
        return found(hi.draught);
    // With a trim the waterline at Y = 0 at the highest point can leave part of the hull
    // dry: raise the upper bound in growing steps, up to where all of it is immersed.
    double step = kBoundStep;
    for (int n = 0; hi.displacement < target && hi.draught < full && n < kMaxBoundSteps; ++n, step *= 2) {
        hi = calc(std::min(hi.draught + step, full));
        if (matches(hi))
            return found(hi.draught);
    }
    if (hi.displacement < target)
        return 0;  // no draught floats that much at this trim

    Point lo = calc(GetMinZ());
    if (matches(lo))
        return found(lo.draught);
    // With a trim the waterline at Y = 0 at the keel height can already immerse part of
    // the hull: lower the lower bound likewise, down to where all of it is dry.
    step = kBoundStep;
    for (int n = 0; lo.displacement > target && lo.draught > dry && n < kMaxBoundSteps; ++n, step *= 2) {
        lo = calc(std::max(lo.draught - step, dry));
        if (matches(lo))
            return found(lo.draught);
    }
    if (lo.displacement > target)
        return best;

    // Newton steps on the displacement, kept inside the bracket; a step that leaves it or
    // does not at least halve the last one gives way to halving. The first guess is the
    // straight line through the bounds.
    double guess = lo.draught + (target - lo.displacement) / (hi.displacement - lo.displacement) *
                                    (hi.draught - lo.draught);
    double lastStep = hi.draught - lo.draught;
    for (int n = 0; n < kMaxSearchSteps && hi.draught - lo.draught >= kNarrowestBracket; ++n) {
        if (!(guess > lo.draught && guess < hi.draught))
            guess = (lo.draught + hi.draught) * 0.5;
        const Point p = calc(guess);
        if (matches(p))
            return found(p.draught);
        (p.displacement < target ? lo : hi) = p;
        const double miss = p.displacement - target;
        const double newton = p.slope > 0 ? p.draught - miss / p.slope : lo.draught - 1;
        const double newtonStep = std::fabs(newton - p.draught);
        if (newton > lo.draught && newton < hi.draught && newtonStep <= 0.5 * lastStep) {
            guess = newton;
            lastStep = newtonStep;
        } else {
            guess = (lo.draught + hi.draught) * 0.5;
            lastStep = (hi.draught - lo.draught) * 0.5;
        }
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

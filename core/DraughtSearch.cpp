// The draught for a displacement: bounds on the draught, then Newton steps kept inside them.
#include "core/DraughtSearch.h"

#include <algorithm>
#include <cmath>

#include "core/Hullform.h"

namespace core {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kMaxSearchSteps = 200;
constexpr int kMaxBoundSteps = 64;      // steps of 2, 4, 8 ... m: far beyond any hull
constexpr double kBoundStep = 2.0;
constexpr double kNarrowestBracket = 1e-9;

}  // namespace

DraughtSearch::DraughtSearch(Hullform& hull, double trim) : hull_(hull), trim_(trim)
{
    const double theta = trim * kPi * (1.0 / 180);
    slopeFactor_ = hull.waterDensity * std::cos(theta);
    // Below `dry` the waterline misses the whole length of the hull, above `full` it covers
    // it: the bounds never need to go further.
    const double tanTrim = std::tan(theta);
    const double riseAft = hull.GetMinY() * tanTrim, riseFwd = hull.GetMaxY() * tanTrim;
    keel_ = hull.GetMinZ();
    top_ = hull.GetMaxZ();
    dry_ = keel_ - std::max(riseAft, riseFwd);
    full_ = top_ - std::min(riseAft, riseFwd);
}

double DraughtSearch::Find(double target, double tolerance, bool* converged, unsigned* evaluations)
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

    Pass pass{target, tol};
    Point lo, hi;
    double draught = 0;
    if (!Bracket(pass, lo, hi, draught))
        draught = Newton(pass, lo, hi);
    total_ += pass.evaluations;
    if (converged)
        *converged = pass.converged;
    if (evaluations)
        *evaluations = pass.evaluations;
    return draught;
}

DraughtSearch::Point DraughtSearch::Calc(Pass& pass, double draught, bool keep)
{
    Point p;
    p.draught = draught;
    const auto kept = keep ? std::find_if(bounds_.begin(), bounds_.end(),
                                          [&](const Point& b) { return b.draught == draught; })
                           : bounds_.end();
    if (kept != bounds_.end()) {
        p = *kept;
    } else {
        ++pass.evaluations;
        held_ = hull_.GetHydroStatics(draught, trim_, h_, false);
        if (!held_) {
            pass.refused = true;
            return p;
        }
        p.displacement = h_.displacement;
        p.slope = slopeFactor_ * h_.WPA;
        if (keep)
            bounds_.push_back(p);
    }
    const double miss = std::fabs(p.displacement - pass.target);
    if (!pass.haveBest || miss < pass.bestMiss) {
        pass.best = draught;
        pass.bestMiss = miss;
        pass.haveBest = true;
    }
    return p;
}

bool DraughtSearch::Matches(const Pass& pass, const Point& p) const
{
    return p.displacement - pass.tol < pass.target && pass.target < p.displacement + pass.tol;
}

double DraughtSearch::Converged(Pass& pass, const Point& p)
{
    // A bound kept from an earlier search was not calculated in this one.
    if (!(held_ && h_.draught == p.draught)) {
        ++pass.evaluations;
        held_ = hull_.GetHydroStatics(p.draught, trim_, h_, false);
    }
    pass.converged = true;
    return p.draught;
}

bool DraughtSearch::Bracket(Pass& pass, Point& lo, Point& hi, double& answer)
{
    hi = Calc(pass, top_, true);
    if (pass.refused) {
        answer = 0;  // logged once by the hydrostatics
        return true;
    }
    if (Matches(pass, hi)) {
        answer = Converged(pass, hi);
        return true;
    }
    // With a trim the waterline at Y = 0 at the highest point can leave part of the hull
    // dry: raise the upper bound in growing steps, up to where all of it is immersed.
    double step = kBoundStep;
    for (int n = 0; hi.displacement < pass.target && hi.draught < full_ && n < kMaxBoundSteps; ++n, step *= 2) {
        hi = Calc(pass, std::min(hi.draught + step, full_), true);
        if (Matches(pass, hi)) {
            answer = Converged(pass, hi);
            return true;
        }
    }
    if (hi.displacement < pass.target) {
        answer = 0;  // no draught floats that much at this trim
        return true;
    }

    lo = Calc(pass, keel_, true);
    if (Matches(pass, lo)) {
        answer = Converged(pass, lo);
        return true;
    }
    // With a trim the waterline at Y = 0 at the keel height can already immerse part of
    // the hull: lower the lower bound likewise, down to where all of it is dry.
    step = kBoundStep;
    for (int n = 0; lo.displacement > pass.target && lo.draught > dry_ && n < kMaxBoundSteps; ++n, step *= 2) {
        lo = Calc(pass, std::max(lo.draught - step, dry_), true);
        if (Matches(pass, lo)) {
            answer = Converged(pass, lo);
            return true;
        }
    }
    if (lo.displacement > pass.target) {
        answer = pass.best;
        return true;
    }
    return false;
}

double DraughtSearch::Newton(Pass& pass, Point lo, Point hi)
{
    // Newton steps on the displacement, kept inside the bracket; a step that leaves it or
    // does not at least halve the last one gives way to halving. The first guess is the
    // straight line through the bounds.
    double guess = lo.draught + (pass.target - lo.displacement) / (hi.displacement - lo.displacement) *
                                    (hi.draught - lo.draught);
    double lastStep = hi.draught - lo.draught;
    for (int n = 0; n < kMaxSearchSteps && hi.draught - lo.draught >= kNarrowestBracket; ++n) {
        if (!(guess > lo.draught && guess < hi.draught))
            guess = (lo.draught + hi.draught) * 0.5;
        const Point p = Calc(pass, guess, false);
        if (Matches(pass, p))
            return Converged(pass, p);
        (p.displacement < pass.target ? lo : hi) = p;
        const double miss = p.displacement - pass.target;
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
    return pass.best;
}

}  // namespace core

#pragma once
// The draught that floats a displacement, searched on one hull at one trim.
#include <vector>

#include "core/HydroData.h"

namespace core {

class Hullform;

// Searches run one after another on the same hull and trim (the displacements of a cross
// curve): the hydrostatics at the search's starting bounds are worked out once and kept,
// and the searches leave out the longitudinal curves. Each search takes the same steps,
// and so finds the same draught, as a search of its own. The hull must not change while
// the object is in use.
class DraughtSearch {
public:
    DraughtSearch(Hullform& hull, double trim);

    // Draught floating the target displacement (t) within tolerance per cent, as
    // Hullform::FindDraughtForDisplacement finds it; evaluations counts the hydrostatic
    // calculations this search made.
    double Find(double target, double tolerance, bool* converged = nullptr, unsigned* evaluations = nullptr);
    // The hydrostatics at the draught the last search converged on, without the curves.
    const HydroData& Found() const { return h_; }
    // Hydrostatic calculations made by all searches so far.
    unsigned Evaluations() const { return total_; }

private:
    // A displacement with the slope of its curve: dDisplacement/dDraught is the waterplane
    // area seen from above, the inclined one times cos(trim).
    struct Point {
        double draught = 0, displacement = 0, slope = 0;
    };
    // One search's state: its target and tolerance, the draught that came closest, the
    // calculations made.
    struct Pass {
        double target, tol;
        double best = 0, bestMiss = 0;
        bool haveBest = false, refused = false, converged = false;
        unsigned evaluations = 0;
    };

    // The point at draught: kept from an earlier search when it is a bound, else
    // calculated; keep marks a bound.
    Point Calc(Pass& pass, double draught, bool keep);
    bool Matches(const Pass& pass, const Point& p) const;
    // A converged draught, its hydrostatics made at hand.
    double Converged(Pass& pass, const Point& p);
    // Finds the bounds lo and hi of the draught; true, with the search's answer, when the
    // search ends there.
    bool Bracket(Pass& pass, Point& lo, Point& hi, double& answer);
    double Newton(Pass& pass, Point lo, Point hi);

    Hullform& hull_;
    double trim_;
    double slopeFactor_;
    double keel_, top_;  // the hull's lowest and highest points
    double dry_, full_;  // draughts beyond which the bounds need not go
    HydroData h_;
    bool held_ = false;  // h_ holds the hydrostatics at h_.draught
    std::vector<Point> bounds_;
    unsigned total_ = 0;
};

}  // namespace core

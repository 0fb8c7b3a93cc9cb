#pragma once
// One frame cut at a waterline height: the immersed part of its outline and the cut.
#include <cstdint>

namespace core {

struct ImmersedSection {
    double waterlineZ = 0;        // height of the cut
    double area = 0;              // immersed area, never negative
    double centroidZ = 0;         // centroid of the immersed area
    double centroidX = 0;
    double waterlineBreadth = 0;  // summed width of the waterline segments
    double breadthMoment = 0;     // sum of width x mid-point X
    double breadthInertia = 0;    // second moment of the segments about their common centre
    double waterlineMinX = 0;     // extreme crossings; both 0 when the outline does not cross
    double waterlineMaxX = 0;
    std::int32_t crossings = 0;
    bool clockwise = false;       // the immersed outline's signed area is negative
};

}  // namespace core

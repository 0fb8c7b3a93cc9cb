#pragma once
// The example hulls, built from their formulas.
#include <cmath>
#include <string>

#include "core/Hullform.h"
#include "core/Section.h"
#include <utility>

namespace hulls {

// An empty hull of one appendage, named, with frames to come.
inline core::Appendage& NewHull(core::Hullform& h, const std::string& name, const std::string& body)
{
    h.Clear();
    h.name = name;
    h.waterDensity = 1.025;
    h.AddAppendage(body);
    core::Appendage& a = h.appendages.back();
    a.frames.clear();
    return a;
}

inline core::Section NewFrame(int k, double y)
{
    core::Section s;
    s.name = "Frame " + std::to_string(k);
    s.SetY(y);
    return s;
}

// A box barge: length 30 m, beam 10 m, depth 4 m, a closed rectangular frame every 3 m.
inline void MakeBoxBarge(core::Hullform& h)
{
    core::Appendage& a = NewHull(h, "Box Barge", "Barge");
    for (int k = 0; k <= 10; ++k) {
        core::Section s = NewFrame(k, 3.0 * k);
        for (auto [x, z] : {std::pair{-5.0, 0.0}, {5.0, 0.0}, {5.0, 4.0}, {-5.0, 4.0}}) s.AddOffset(x, z);
        a.InsertSection(s);
    }
}

// A Wigley hull: half-breadth (B/2)(1 - xi^2)(1 - zeta^2) below the waterline, with
// xi = 2y/L - 1 and zeta = (T - z)/T; straight sides above it. L 40 m, B 4 m, T 2.5 m,
// depth 3.5 m; 21 frames, 11 points a side up to the waterline.
inline constexpr double kWigleyL = 40, kWigleyB = 4, kWigleyT = 2.5, kWigleyD = 3.5;

inline void MakeWigley(core::Hullform& h)
{
    core::Appendage& a = NewHull(h, "Wigley Hull", "Wigley");
    for (int k = 0; k <= 20; ++k) {
        const double y = kWigleyL * k / 20;
        const double xi = 2 * y / kWigleyL - 1;
        core::Section s = NewFrame(k, y);
        auto half = [&](double z) {
            const double zeta = (kWigleyT - z) / kWigleyT;
            return kWigleyB / 2 * (1 - xi * xi) * (1 - zeta * zeta);
        };
        s.AddOffset(0, 0);
        for (int i = 1; i <= 10; ++i) s.AddOffset(half(kWigleyT * i / 10), kWigleyT * i / 10);
        s.AddOffset(half(kWigleyT), kWigleyD);
        s.AddOffset(-half(kWigleyT), kWigleyD);
        for (int i = 10; i >= 1; --i) s.AddOffset(-half(kWigleyT * i / 10), kWigleyT * i / 10);
        a.InsertSection(s);
    }
}

}  // namespace hulls

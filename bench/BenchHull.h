#pragma once
// The benchmarks' hull: a Wigley-type body of closed frames.
#include <cmath>
#include <memory>
#include <string>

#include "core/Hullform.h"
#include "core/Section.h"

namespace {

constexpr double kPi = 3.141592653589793;

// A Wigley-type hull, 100 m x 12 m x 8 m deep, of `frames` closed frames of `offsets` points.
std::unique_ptr<core::Hullform> MakeHull(int frames, int offsets)
{
    auto hull = std::make_unique<core::Hullform>(std::string());  // no log file
    core::Appendage body;
    const double length = 100, beam = 12, depth = 8;
    for (int i = 0; i < frames; ++i) {
        const double y = length * i / (frames - 1);
        const double eta = 2 * y / length - 1;
        const double half = beam / 2 * (1 - 0.9 * eta * eta);
        core::Section s;
        s.SetY(y);
        for (int k = 0; k < offsets; ++k) {
            // Round the outline from the keel, up the starboard side, over the deck, down port.
            const double a = -kPi / 2 + 2 * kPi * k / offsets;
            const double x = half * std::cos(a);
            const double z = depth / 2 * (1 + std::sin(a));
            s.AddOffset(x, z);
        }
        body.frames.push_back(std::move(s));
    }
    hull->appendages.push_back(std::move(body));
    hull->fwdMarkY = 100;
    return hull;
}

}  // namespace

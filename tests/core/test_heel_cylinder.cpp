// Cross curves of bodies with known KN, heeled both ways the model offers: a heeled copy,
// and heeling the hull itself and back.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "core/HydroData.h"
#include "core/Hullform.h"
#include "test_transform_helpers.h"

using core::Appendage;
using core::HydroData;
using core::Hullform;
using transform_test::Body;
using transform_test::HullTest;
using transform_test::Offsets;
using transform_test::SameAppendages;

namespace {

constexpr double kPi = 3.141592653589793;

class HeelTest : public HullTest {
protected:
    // KN at the given displacement: the TCB of the heeled hull floating it.
    static double KN(Hullform& heeled, double displacement, double tolerance) {
        bool converged = false;
        const double d = heeled.FindDraughtForDisplacement(displacement, 0, tolerance, &converged);
        EXPECT_TRUE(converged);
        HydroData r;
        EXPECT_TRUE(heeled.GetHydroStatics(d, 0, r));
        return r.TCB;
    }

    // KN by heeling the hull itself and back, as the cross-curves run of the design does.
    double KNHeelingInPlace(double phi, double displacement, double tolerance) {
        hull_.Rotate(phi);
        const double kn = KN(hull_, displacement, tolerance);
        hull_.Rotate(-phi);
        return kn;
    }
};

}  // namespace

// A circular cylinder as a 128-gon with its keel on the heel axis: at every displacement
// the centre of buoyancy lies under the circle's centre, so KN = R sin(phi).
TEST_F(HeelTest, CylinderKNIsRSinPhi) {
    for (double R : {1.0, 3.5}) {
        Offsets circle;
        for (int k = 0; k < 128; ++k) {
            const double a = -kPi / 2 + 2 * kPi * k / 128;
            circle.push_back({R * std::cos(a), R + R * std::sin(a)});
        }
        hull_.appendages = {Body("Cylinder", {0, 2.5, 5, 7.5, 10}, circle)};
        const auto upright = hull_.appendages;
        HydroData full;
        ASSERT_TRUE(hull_.GetHydroStatics(hull_.GetMaxZ(), 0, full));
        for (double phi : {0.0, 5.0, 15.0, 30.0, 45.0, 60.0, 75.0, 90.0, -20.0}) {
            const std::unique_ptr<Hullform> heeled = hull_.HeeledCopy(phi);
            for (double fraction : {0.1, 0.35, 0.5, 0.8, 0.95}) {
                SCOPED_TRACE(::testing::Message() << "R " << R << ", " << phi << " deg, " << fraction);
                const double target = fraction * full.displacement;
                const double expected = R * std::sin(phi * kPi / 180);
                const double kn = KN(*heeled, target, 1e-4);
                EXPECT_NEAR(kn, expected, 1e-5 * R);
                EXPECT_NEAR(KNHeelingInPlace(phi, target, 1e-4), kn, 1e-9 * R);
            }
        }
        // Neither way of heeling left a trace on the hull.
        EXPECT_TRUE(SameAppendages(hull_.appendages, upright));
    }
}

// A wall-sided box, keel on the heel axis: while the deck edge stays dry and the bilge
// stays wet, KN = sin(phi) [T/2 + (B^2 / 12T)(1 + tan^2(phi) / 2)].
TEST_F(HeelTest, WallSidedBoxKN) {
    const double B = 4, D = 3, L = 10;
    hull_.appendages = {Body("Box", {0, L}, {{-B / 2, 0}, {B / 2, 0}, {B / 2, D}, {-B / 2, D}})};
    hull_.waterDensity = 1.025;
    const auto upright = hull_.appendages;
    for (double T : {1.0, 1.5, 2.0}) {
        const double displacement = B * T * L * hull_.waterDensity;
        const double limit = std::atan(std::min(2 * T / B, 2 * (D - T) / B)) * 180 / kPi;
        for (double phi : {0.0, 2.0, 5.0, 10.0, 20.0, 25.0, 30.0, 35.0, 40.0, 45.0}) {
            if (phi > limit) continue;
            SCOPED_TRACE(::testing::Message() << "T " << T << ", " << phi << " deg");
            const double p = phi * kPi / 180;
            const double tanP = std::tan(p);
            const double expected = std::sin(p) * (T / 2 + B * B / (12 * T) * (1 + tanP * tanP / 2));
            EXPECT_NEAR(KN(*hull_.HeeledCopy(phi), displacement, 1e-4), expected, 1e-6);
            EXPECT_NEAR(KN(*hull_.HeeledCopy(-phi), displacement, 1e-4), -expected, 1e-6);
            EXPECT_NEAR(KNHeelingInPlace(phi, displacement, 1e-4), expected, 1e-6);
        }
    }
    EXPECT_TRUE(SameAppendages(hull_.appendages, upright));
}

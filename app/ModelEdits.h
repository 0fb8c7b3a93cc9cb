#pragma once
// Plain helpers of the model dialogs, callable without windows.
#include <cstddef>
#include <string>

#include "core/Result.h"

namespace core {
class Appendage;
class Section;
}  // namespace core

namespace app {

// Index of the first frame of a at Y y, or -1.
int FrameIndexAtY(const core::Appendage& a, double y);
// Whether a frame other than frame except holds Y y (except -1: any frame).
bool FrameYHeld(const core::Appendage& a, double y, int except);

// Copy counts: above kCopiesToConfirm the user is asked, above kMaxCopies refused.
constexpr int kCopiesToConfirm = 5000;
constexpr int kMaxCopies = 100000;

// The array dialog's pitch and total modes: the step between copies, and the edit's value
// after its button toggled the mode (n copies; a total over no copies is a step of 0).
double PitchOf(double value, bool total, int n);
double ToggledValue(double value, bool total, int n);

// A point edit from the body plan: a new point at (x, z) after the point given (added at
// the end when that is the last), or that point moved to (x, z). With snap each
// coordinate goes to the nearest multiple of its step.
struct PointEdit {
    enum Kind { kInsertAfter, kMove };
    Kind kind = kInsertAfter;
    unsigned point = 0;
    double x = 0, z = 0;
    bool snap = false;
    double xStep = 0, zStep = 0;
};

// Makes the edit on frame f wholly or not at all; a refusal leaves f as it was.
core::Result ApplyPointEdit(core::Section& f, const PointEdit& e);

}  // namespace app

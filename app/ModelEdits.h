#pragma once
// Plain helpers of the model dialogs, callable without windows.
#include <cstddef>
#include <string>

namespace core {
class Appendage;
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

}  // namespace app

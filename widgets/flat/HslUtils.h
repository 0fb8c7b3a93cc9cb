#pragma once
// Colours as hue, saturation and lightness: fractions 0..1, or integers on the HSLRange scale.
#include "platform/Types.h"

namespace flat {

using platform::TColor;

// Top of the integer scale of saturation and lightness; hue runs 0 .. HSLRange - 1.
extern int HSLRange;

TColor HSLtoRGB(double h, double s, double l);
TColor HSLRangeToRGB(int h, int s, int l);
void RGBtoHSL(TColor rgb, double& h, double& s, double& l);
void RGBtoHSLRange(TColor rgb, int& h, int& s, int& l);

}  // namespace flat

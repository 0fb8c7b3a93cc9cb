#include "widgets/flat/HslUtils.h"

#include <algorithm>
#include <cmath>

namespace flat {

int HSLRange = 240;

namespace {

// Rounds halves to even, as the platform's rounding does.
int RoundEven(double v) { return int(std::nearbyint(v)); }

int ToByte(double v) { return std::clamp(RoundEven(v * 255.0), 0, 255); }

double Channel(double m1, double m2, double t)
{
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (6 * t < 1) return m1 + (m2 - m1) * t * 6;
    if (2 * t < 1) return m2;
    if (3 * t < 2) return m1 + (m2 - m1) * (2.0 / 3.0 - t) * 6;
    return m1;
}

}  // namespace

TColor HSLtoRGB(double h, double s, double l)
{
    if (s == 0) {
        const int v = ToByte(l);
        return TColor(platform::RGB(v, v, v));
    }
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    return TColor(platform::RGB(ToByte(Channel(m1, m2, h + 1.0 / 3.0)), ToByte(Channel(m1, m2, h)),
                                ToByte(Channel(m1, m2, h - 1.0 / 3.0))));
}

TColor HSLRangeToRGB(int h, int s, int l)
{
    return HSLtoRGB(double(h) / (HSLRange - 1), double(s) / HSLRange, double(l) / HSLRange);
}

void RGBtoHSL(TColor rgb, double& h, double& s, double& l)
{
    const auto c = platform::COLORREF(rgb);
    const double r = platform::GetRValue(c) / 255.0, g = platform::GetGValue(c) / 255.0,
                 b = platform::GetBValue(c) / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    l = (mx + mn) / 2;
    if (mx == mn) {
        h = 0;
        s = 0;
        return;
    }
    const double d = mx - mn;
    s = l >= 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
    if (mx == r)
        h = (g - b) / d;
    else if (mx != g)
        h = (r - g) / d + 4;
    else
        h = (b - r) / d + 2;
    h /= 6;
    if (h < 0) h += 1;
}

void RGBtoHSLRange(TColor rgb, int& h, int& s, int& l)
{
    double hf, sf, lf;
    RGBtoHSL(rgb, hf, sf, lf);
    h = RoundEven(hf * (HSLRange - 1));
    s = RoundEven(sf * HSLRange);
    l = RoundEven(lf * HSLRange);
}

}  // namespace flat

#include "app/ModelEdits.h"

#include "core/Hullform.h"

namespace app {

int FrameIndexAtY(const core::Appendage& a, double y)
{
    for (std::size_t k = 0; k < a.frames.size(); ++k)
        if (a.frames[k].Y == y) return int(k);
    return -1;
}

bool FrameYHeld(const core::Appendage& a, double y, int except)
{
    for (std::size_t k = 0; k < a.frames.size(); ++k)
        if (int(k) != except && a.frames[k].Y == y) return true;
    return false;
}

double PitchOf(double value, bool total, int n)
{
    if (!total) return value;
    return n > 0 ? value / n : 0;
}

double ToggledValue(double value, bool total, int n)
{
    return total ? PitchOf(value, true, n) : value * n;
}

}  // namespace app

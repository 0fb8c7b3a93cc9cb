#include "app/ModelEdits.h"

#include "core/Hullform.h"
#include "core/Section.h"

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

core::Result ApplyPointEdit(core::Section& f, const PointEdit& e)
{
    const unsigned p = e.point;
    if (e.kind == PointEdit::kInsertAfter) {
        if (p + 1 < f.GetOffsetCount())
            return e.snap ? f.InsertOffsetSnapped(p + 1, e.x, e.z, e.xStep, e.zStep) : f.InsertOffset(p + 1, e.x, e.z);
        return e.snap ? f.AddOffsetSnapped(e.x, e.z, e.xStep, e.zStep) : f.AddOffset(e.x, e.z);
    }
    const double oldX = f.GetX(p);
    if (!(e.snap ? f.SetXSnapped(p, e.x, e.xStep) : f.SetX(p, e.x))) return false;
    if (e.snap ? f.SetZSnapped(p, e.z, e.zStep) : f.SetZ(p, e.z)) return true;
    // Z refused: X goes back, so the point is not left half moved.
    f.SetX(p, oldX);
    return false;
}

}  // namespace app

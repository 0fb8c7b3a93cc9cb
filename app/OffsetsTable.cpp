#include "app/OffsetsTable.h"

#include <algorithm>

#include "platform/controls/Grids.h"

namespace app {

void TOffsetGrid::EndEdit()
{
    if (EditorMode()) HideEditor();
}

bool PlaceNewPoint(const std::vector<double>& X, const std::vector<double>& Z, int p, bool midpoint, TNewPoint& out)
{
    const int n = int(std::min(X.size(), Z.size()));
    if (n == 0) return false;
    p = std::clamp(p, 0, n - 1);
    if (!midpoint) {
        out = {unsigned(p), 0, 0};
        return true;
    }
    // The segment before p; the first point has none, so the one after it.
    const int a = p == 0 ? 0 : p - 1, b = std::min(a + 1, n - 1);
    out.index = unsigned(a == b ? n : b);
    out.x = (X[std::size_t(a)] + X[std::size_t(b)]) / 2;
    out.z = (Z[std::size_t(a)] + Z[std::size_t(b)]) / 2;
    return true;
}

}  // namespace app

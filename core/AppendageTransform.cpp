#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/AllOrNone.h"
#include "core/Appendage.h"

namespace core {

namespace {

// Every frame's Y made by f, taken only when all are finite.
template <class F>
bool EachY(std::vector<Section>& frames, F f) {
    for (const Section& s : frames)
        if (!std::isfinite(f(s.Y))) return false;
    for (Section& s : frames) s.SetY(f(s.Y));
    return true;
}

}  // namespace

bool Appendage::ScaleX(double f) {
    return ChangeAllOrNone(frames, [&](Section& s) { return s.Scale(f, 1); });
}

bool Appendage::ScaleZ(double f) {
    return ChangeAllOrNone(frames, [&](Section& s) { return s.Scale(1, f); });
}

bool Appendage::ScaleY(double f) {
    if (f == 0) return true;
    if (!EachY(frames, [&](double y) { return f * y; })) return false;
    // A negative factor turns the order round; reversing keeps Y ascending.
    if (f < 0) std::reverse(frames.begin(), frames.end());
    return true;
}

bool Appendage::MoveX(double dx) {
    return ChangeAllOrNone(frames, [&](Section& s) { return s.Move(dx, 0); });
}

bool Appendage::MoveZ(double dz) {
    return ChangeAllOrNone(frames, [&](Section& s) { return s.Move(0, dz); });
}

bool Appendage::MoveY(double dy) {
    return EachY(frames, [&](double y) { return y + dy; });
}

bool Appendage::Rotate(double angle) {
    return ChangeAllOrNone(frames, [&](Section& s) { return s.Rotate(angle); });
}

unsigned Appendage::MoveFrameToY(unsigned i, double y) {
    const std::size_t n = frames.size();
    if (i >= n) return 0;
    const bool afterPrevious = i == 0 || frames[i - 1].Y < y;
    const bool beforeNext = i + 1 == n || frames[i + 1].Y > y;
    if (afterPrevious && beforeNext) {
        frames[i].SetY(y);
        return i;
    }
    // Past a neighbour (or onto its Y): re-insert at the place that keeps Y ascending.
    const int placed = CopySection(y, i);
    if (placed < 0) return i;
    unsigned e = static_cast<unsigned>(placed);
    if (e < i) ++i;
    DeleteFrame(i);
    if (i < e) --e;
    return e;
}

bool Appendage::ArrayFrame(unsigned j, unsigned count, double dx, double pitch, double dz,
                           std::vector<unsigned>* refused) {
    if (count == 0 || j >= frames.size()) return false;
    const double y0 = frames[j].Y;
    bool all = true;
    for (unsigned k = 1; k <= count; ++k) {
        const double step = static_cast<double>(k);
        const int r = CopySection(y0 + step * pitch, j);
        if (r < 0) {
            // The Y is held by another frame: this copy is skipped, no frame is moved.
            all = false;
            if (refused) refused->push_back(k);
            continue;
        }
        const unsigned copy = static_cast<unsigned>(r);
        frames[copy].Move(step * dx, step * dz);
        if (copy <= j) ++j;
    }
    return all;
}

}  // namespace core

#include "core/Appendage.h"

#include <cmath>

#include "core/Extent.h"

namespace core {

int Appendage::PlaceSection(const Section& frame) {
    const double y = frame.Y;
    // A position that is no finite number has no place in an ascending list.
    if (!std::isfinite(y)) return -1;
    const std::size_t n = frames.size();
    if (n == 0 || !(frames[n - 1].Y > y)) {
        frames.push_back(frame);
        return static_cast<int>(n);
    }
    if (y < frames[0].Y) {
        frames.insert(frames.begin(), frame);
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if (frames[k - 1].Y < y && y < frames[k].Y) {
            frames.insert(frames.begin() + static_cast<std::ptrdiff_t>(k), frame);
            return static_cast<int>(k);
        }
    }
    return -1;
}

int Appendage::AddSection(const std::string& name, double y) {
    Section frame;
    frame.name = name;
    if (!std::isfinite(y)) return -1;
    frame.SetY(y);
    frame.AddOffset(0, 0);
    return PlaceSection(frame);
}

int Appendage::InsertSection(const Section& frame) { return PlaceSection(frame); }

int Appendage::CopySection(double y, unsigned c) {
    if (c >= frames.size()) return 0;
    const int r = AddSection("Copy", y);
    if (r < 0) return -1;
    if (c >= static_cast<unsigned>(r)) ++c;
    const Section& source = frames[c];
    Section& copy = frames[static_cast<std::size_t>(r)];
    copy.X = source.X;
    copy.Z = source.Z;
    copy.maxX = source.maxX;
    copy.maxZ = source.maxZ;
    copy.minX = source.minX;
    copy.minZ = source.minZ;
    copy.name = source.name;
    return r;
}

unsigned Appendage::GetFrameCount() const { return static_cast<unsigned>(frames.size()); }

bool Appendage::AddOffset(unsigned i, double x, double z) {
    if (i >= frames.size()) return false;
    return frames[i].AddOffset(x, z);
}

unsigned Appendage::GetOffsetCount(unsigned i) const {
    return i < frames.size() ? frames[i].GetOffsetCount() : 0;
}

unsigned Appendage::GetTotalOffsetCount() const {
    unsigned total = 0;
    for (unsigned i = 0; i < frames.size(); ++i) total += GetOffsetCount(i);
    return total;
}

bool Appendage::MirrorFrame(unsigned i) {
    if (i >= frames.size()) return false;
    return frames[i].MirrorHalf();
}

bool Appendage::DeleteFrame(unsigned i) {
    if (i >= frames.size()) return false;
    frames.erase(frames.begin() + i);
    return true;
}

unsigned Appendage::FindNearestOffset(unsigned i, double x, double z) const {
    if (i >= frames.size()) return 0;
    const Section& f = frames[i];
    const std::size_t n = f.X.size();
    if (n == 0) return 0;
    auto distance = [&](std::size_t k) { return std::sqrt((f.X[k] - x) * (f.X[k] - x) + (f.Z[k] - z) * (f.Z[k] - z)); };
    unsigned best = 0;
    double bestDistance = distance(0);
    for (std::size_t k = 1; k < n; ++k) {
        const double d = distance(k);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<unsigned>(k);
        }
    }
    return best;
}

Appendage Appendage::BlankCopy() const {
    Appendage a = *this;
    a.frames.clear();
    a.ap = 0;
    a.fp = 0;
    a.density = 0;
    a.name = "Blank Name";
    return a;
}

double Appendage::GetMaxX() const {
    return MaxOf(frames, [](const Section& s) { return s.maxX; });
}
double Appendage::GetMinX() const {
    return MinOf(frames, [](const Section& s) { return s.minX; });
}
double Appendage::GetMaxZ() const {
    return MaxOf(frames, [](const Section& s) { return s.maxZ; });
}
double Appendage::GetMinZ() const {
    return MinOf(frames, [](const Section& s) { return s.minZ; });
}
double Appendage::GetMaxY() const {
    return MaxOf(frames, [](const Section& s) { return s.Y; });
}
double Appendage::GetMinY() const {
    return MinOf(frames, [](const Section& s) { return s.Y; });
}

}  // namespace core

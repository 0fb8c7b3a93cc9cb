#include <cfloat>
#include <cmath>
#include <cstring>

#include "base/StrUtils.h"
#include "core/AllOrNone.h"
#include "core/Hullform.h"

namespace core {

namespace {

constexpr double kFactorFloor = 0.000001;
const char* const kAxis[3] = {"X", "Y", "Z"};

std::string U(unsigned v) { return base::UIntToStr(v); }

// Appendage and hull factors may be negative; a factor that is not finite is refused too.
bool AppendageFactorOk(double f) {
    return std::isfinite(f) && (f <= -kFactorFloor || f >= kFactorFloor);
}

bool FrameFactorOk(double f) { return std::isfinite(f) && f >= kFactorFloor; }

// The axis of the first of three values that is not a finite number, or null.
const char* NonFiniteAxis(double x, double y, double z) {
    const double v[3] = {x, y, z};
    for (int a = 0; a < 3; ++a)
        if (!std::isfinite(v[a])) return kAxis[a];
    return nullptr;
}

const char* const kOutOfRange = " would take an offset or a frame position beyond the range of numbers";

// The appendage a transformation works on: appendage i, or a copy of it added at the end.
Appendage& Target(std::vector<Appendage>& appendages, unsigned i, bool copy) {
    if (!copy) return appendages[i];
    Appendage duplicate = appendages[i];
    appendages.push_back(std::move(duplicate));
    return appendages.back();
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

bool SameFrame(const Section& a, const Section& b) {
    return a.name == b.name && a.checked == b.checked && SameBits(a.X, b.X) && SameBits(a.Z, b.Z) &&
           SameBits(a.maxX, b.maxX) && SameBits(a.maxZ, b.maxZ) && SameBits(a.minX, b.minX) &&
           SameBits(a.minZ, b.minZ) && SameBits(a.Y, b.Y);
}

bool SameAppendage(const Appendage& a, const Appendage& b) {
    if (a.name != b.name || a.active != b.active || a.freeFlooding != b.freeFlooding ||
        a.colour != b.colour || !SameBits(a.density, b.density) || !SameBits(a.ap, b.ap) ||
        !SameBits(a.fp, b.fp) || a.frames.size() != b.frames.size())
        return false;
    for (std::size_t k = 0; k < a.frames.size(); ++k)
        if (!SameFrame(a.frames[k], b.frames[k])) return false;
    return true;
}

bool SameAppendages(const std::vector<Appendage>& a, const std::vector<Appendage>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (!SameAppendage(a[k], b[k])) return false;
    return true;
}

}  // namespace

Result Hullform::ScaleAppendage(unsigned i, double fx, double fy, double fz, bool copy) {
    if (!IsAppendageIndexValid(i)) {
        return Fail("ERROR: Tried scaling appendage[" + U(i) + "] but found out of bounds");
    }
    const double f[3] = {fx, fy, fz};
    for (int a = 0; a < 3; ++a) {
        if (!AppendageFactorOk(f[a])) {
            return Fail("ERROR: Scaling appendage[" + U(i) + "] by factor less than 0.000001 on " +
                    kAxis[a] + " axis");
        }
    }
    Appendage scaled = appendages[i];
    if (!scaled.ScaleX(fx) || !scaled.ScaleY(fy) || !scaled.ScaleZ(fz)) {
        return Fail("ERROR: Scaling appendage[" + U(i) + "]" + kOutOfRange);
    }
    Target(appendages, i, copy) = std::move(scaled);
    return true;
}

Result Hullform::Scale(double fx, double fy, double fz) {
    const double f[3] = {fx, fy, fz};
    for (int a = 0; a < 3; ++a) {
        if (!AppendageFactorOk(f[a])) {
            return Fail(std::string("ERROR: Scaling Hull by factor less than 0.000001 on ") + kAxis[a] +
                    " axis");
        }
    }
    if (appendages.empty()) {
        return Fail("ERROR: Failure during scale hull, scaling of an appendage failed");
    }
    if (!ChangeAllOrNone(appendages, [&](Appendage& a) { return a.ScaleX(fx) && a.ScaleY(fy) && a.ScaleZ(fz); })) {
        return Fail(std::string("ERROR: Scaling Hull") + kOutOfRange);
    }
    return true;
}

Result Hullform::ScaleFrame(unsigned i, unsigned j, double fx, double fy, double fz, bool copy) {
    if (!IsFrameIndexValid(i, j)) return false;
    const double f[3] = {fx, fy, fz};
    for (int a = 0; a < 3; ++a) {
        if (!FrameFactorOk(f[a])) {
            return Fail("ERROR: Scaling frame [" + U(j) + "] of appendage[" + U(i) +
                    "] by factor less than 0.000001 on " + kAxis[a] + " axis");
        }
    }
    Appendage& a = appendages[i];
    const std::string outOfRange = "ERROR: Scaling frame [" + U(j) + "] of appendage[" + U(i) + "]" + kOutOfRange;
    if (!copy) {
        if (a.frames[j].Scale(fx, fz)) return true;  // fy is checked but a frame keeps its Y
        return Fail(outOfRange);
    }
    // Tried on the frame before a copy of it is placed.
    Section probe = a.frames[j];
    if (!probe.Scale(fx, fz)) {
        return Fail(outOfRange);
    }
    const int r = a.CopySection(fy * a.frames[j].Y, j);
    if (r < 0) {
        return Fail("ERROR: Scaling frame [" + U(j) + "] of appendage[" + U(i) +
                "]. During frame copy -1 index returned");
    }
    Section& made = a.frames[static_cast<std::size_t>(r)];
    made.name += " (copy)";
    return made.Scale(fx, fz);
}

Result Hullform::MoveFrame(unsigned i, unsigned j, double dx, double dy, double dz, bool copy) {
    if (!IsFrameIndexValid(i, j)) {
        return Fail("ERROR: Invalid index passed when trying to move frame [" + U(j) + "] of appendage[" +
                U(i) + "]");
    }
    // A Y that is not finite is refused below, as a Y without a place.
    if (const char* axis = NonFiniteAxis(dx, 0, dz)) {
        return Fail("ERROR: Moving frame [" + U(j) + "] of appendage[" + U(i) +
                "] by a distance that is not a finite number on " + axis + " axis");
    }
    Appendage& a = appendages[i];
    const double oldY = a.frames[j].Y;
    const double y = oldY + dy;
    const std::string refused = "ERROR: Moving frame [" + U(j) + "] of appendage[" + U(i) +
                                "]. During frame copy -1 index returned";
    // A Y that is no finite number has no place in the list; the only frame would take it in place.
    if (!std::isfinite(y)) {
        return Fail(refused);
    }
    if (copy) {
        const int r = a.CopySection(y, j);
        if (r < 0) {
            return Fail(refused);
        }
        return a.frames[static_cast<std::size_t>(r)].Move(dx, dz);
    }
    if (y == oldY) return a.frames[j].Move(dx, dz);
    // A frame taken past a neighbour is re-inserted in Y order; a Y held by another
    // frame refuses the move.
    const unsigned e = a.MoveFrameToY(j, y);
    if (!(a.frames[e].Y == y)) {
        return Fail(refused);
    }
    return a.frames[e].Move(dx, dz);
}

Result Hullform::MoveAppendage(unsigned i, double dx, double dy, double dz, bool copy) {
    if (!IsAppendageIndexValid(i)) return false;
    if (const char* axis = NonFiniteAxis(dx, dy, dz)) {
        return Fail("ERROR: Moving appendage[" + U(i) + "] by a distance that is not a finite number on " +
                axis + " axis");
    }
    Appendage moved = appendages[i];
    if (!moved.MoveX(dx) || !moved.MoveY(dy) || !moved.MoveZ(dz)) {
        return Fail("ERROR: Moving appendage[" + U(i) + "]" + kOutOfRange);
    }
    Target(appendages, i, copy) = std::move(moved);
    return true;
}

Result Hullform::Move(double dx, double dy, double dz) {
    if (const char* axis = NonFiniteAxis(dx, dy, dz)) {
        return Fail(std::string("ERROR: Moving Hullform by a distance that is not a finite number on ") + axis +
                " axis");
    }
    if (appendages.empty()) {
        return Fail("ERROR: Failure at end of function moving Hullform");
    }
    if (!ChangeAllOrNone(appendages, [&](Appendage& a) { return a.MoveX(dx) && a.MoveY(dy) && a.MoveZ(dz); })) {
        return Fail(std::string("ERROR: Moving Hullform") + kOutOfRange);
    }
    return true;
}

Result Hullform::RotateFrame(unsigned i, unsigned j, double angle) {
    if (!IsFrameIndexValid(i, j)) return false;
    if (!std::isfinite(angle)) {
        return Fail("ERROR: Rotating frame [" + U(j) + "] of appendage[" + U(i) +
                "] by an angle that is not a finite number");
    }
    if (appendages[i].frames[j].Rotate(angle)) return true;
    return Fail("ERROR: Rotating frame [" + U(j) + "] of appendage[" + U(i) + "]" + kOutOfRange);
}

Result Hullform::RotateAppendage(unsigned i, double angle, bool copy) {
    if (!IsAppendageIndexValid(i)) return false;
    if (!std::isfinite(angle)) {
        return Fail("ERROR: Rotating appendage[" + U(i) + "] by an angle that is not a finite number");
    }
    Appendage turned = appendages[i];
    if (!turned.Rotate(angle)) {
        return Fail("ERROR: Rotating appendage[" + U(i) + "]" + kOutOfRange);
    }
    Target(appendages, i, copy) = std::move(turned);
    return true;
}

Result Hullform::Rotate(double angle) {
    if (!std::isfinite(angle)) {
        return Fail("ERROR: Rotating Hullform by an angle that is not a finite number");
    }
    // A heel and its heel back would leave round-off in every offset (an X of 0 would
    // become 1e-16 and the frame could no longer be mirrored). So the upright model is
    // kept, and when the angles sum to zero with nothing else changed, it comes back.
    if (!heelKept_ || !SameAppendages(appendages, heelHeeled_)) {
        heelUpright_ = appendages;
        heelAngleSum_ = 0;
        heelAngleMagnitude_ = 0;
        heelKept_ = true;
    }
    std::vector<Appendage> turned = appendages;
    for (Appendage& a : turned) {
        if (!a.Rotate(angle)) {
            return Fail(std::string("ERROR: Rotating Hullform") + kOutOfRange);
        }
    }
    heelAngleSum_ += angle;
    heelAngleMagnitude_ += std::fabs(angle);
    if (std::fabs(heelAngleSum_) <= 8 * DBL_EPSILON * heelAngleMagnitude_) {
        appendages = std::move(heelUpright_);
        std::vector<Appendage>().swap(heelUpright_);
        std::vector<Appendage>().swap(heelHeeled_);
        heelKept_ = false;
        return true;
    }
    appendages = std::move(turned);
    heelHeeled_ = appendages;
    return true;
}

std::unique_ptr<Hullform> Hullform::HeeledCopy(double angle) const {
    // The working copy neither truncates nor writes the log, nor asks the system for the
    // header's details.
    std::unique_ptr<Hullform> copy(new Hullform(WorkingCopy{}));
    HeelInto(angle, *copy);
    return copy;
}

bool Hullform::HeelInto(double angle, Hullform& into) const {
    if (&into == this) return false;
    into.name = name;
    // Assigned element by element, so offsets of the same count reuse into's storage.
    into.appendages = appendages;
    into.coreVersion = coreVersion;
    into.issueDate = issueDate;
    into.issueNotes = issueNotes;
    into.waterDensity = waterDensity;
    into.ap = ap;
    into.fp = fp;
    into.fwdMarkY = fwdMarkY;
    into.aftMarkY = aftMarkY;
    into.midMarkY = midMarkY;
    if (angle == 0) return true;
    // The copy's frames are turned in place; an appendage that cannot turn stays upright,
    // as Rotate leaves it.
    for (std::size_t i = 0; i < appendages.size(); ++i) {
        std::vector<Section>& frames = into.appendages[i].frames;
        for (Section& s : frames)
            if (!s.Rotate(angle)) {
                frames = appendages[i].frames;
                break;
            }
    }
    return true;
}

Result Hullform::CreateFrameArray(unsigned i, unsigned j, unsigned count, double dx, double pitch,
                                double dz, bool newAppendage) {
    if (!IsFrameIndexValid(i, j)) return false;
    if (const char* axis = NonFiniteAxis(dx, pitch, dz)) {
        return Fail("ERROR: Creating frame array of frame [" + U(j) + "] of appendage[" + U(i) +
                "] with a step that is not a finite number on " + axis + " axis");
    }
    const double y0 = appendages[i].frames[j].Y;
    unsigned target = i;
    unsigned source = j;
    if (newAppendage) {
        Appendage body;
        body.name = "New Parallel Body";
        body.InsertSection(appendages[i].frames[j]);
        appendages.push_back(std::move(body));
        target = GetAppendageCount() - 1;
        source = 0;
    }
    std::vector<unsigned> refused;
    if (appendages[target].ArrayFrame(source, count, dx, pitch, dz, &refused)) return true;
    if (refused.empty()) {
        if (!newAppendage) return Fail("ERROR: Failure creating frame array");
        log.Log("ERROR: Failure creating frame array");
        return Fail("ERROR: Tried creating new appendage for frame copies");
    }
    // The other copies stand; each refused one is reported, the last as the reason.
    Result failed;
    for (unsigned k : refused)
        failed = Fail("ERROR: Creating copy " + U(k) + " of frame [" + U(j) + "] of appendage[" + U(i) +
                      "] at Y=" + base::FloatToStr(y0 + static_cast<double>(k) * pitch) +
                      ". During frame copy -1 index returned");
    return failed;
}

Result Hullform::SplitAppendage(unsigned i, unsigned j, bool deleteOriginal) {
    if (!IsFrameIndexValid(i, j)) {
        return Fail("ERROR: Tried splitting appendage[" + U(i) + "] at frame [" + U(j) +
                "] but found out of bounds");
    }
    const Appendage& source = appendages[i];
    Appendage aft;
    Appendage fwd;
    aft.name = source.name + "-Aft";
    fwd.name = source.name + "-Fwd";
    // Frame j goes to both parts; the frames are copied whole, in order.
    aft.frames.assign(source.frames.begin(), source.frames.begin() + j + 1);
    fwd.frames.assign(source.frames.begin() + j, source.frames.end());
    appendages.push_back(std::move(aft));
    appendages.push_back(std::move(fwd));
    if (deleteOriginal) DeleteAppendage(i);
    return true;
}

}  // namespace core

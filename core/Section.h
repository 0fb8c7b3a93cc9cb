#pragma once
// One transverse frame: offsets (X transverse, Z vertical) at a longitudinal position Y.
#include <string>
#include <vector>

namespace core {

class ModelTextReader;
struct ReadReport;
struct ImmersedSection;

class Section {
public:
    std::string name = "Blank";
    bool checked = false;  // check mark of the frame in the frames list
    std::vector<double> X;  // X[k], Z[k] is offset k
    std::vector<double> Z;
    double maxX = 0;
    double maxZ = 0;
    double minX = 0;
    double minZ = 0;
    double Y = 0;

    Section() = default;

    // Offsets and positions that are not finite numbers are refused (false, or 0 from SetY),
    // as are transformations whose factors or results are not.
    bool AddOffset(double x, double z);
    bool AddOffsetSnapped(double x, double z, double xStep, double zStep);
    bool InsertOffset(unsigned i, double x, double z);
    bool InsertOffsetSnapped(unsigned i, double x, double z, double xStep, double zStep);

    double GetX(unsigned i) const;
    double GetZ(unsigned i) const;
    unsigned GetOffsetCount() const;
    unsigned CountNonNegativeX() const;

    double GetMaxX() const { return maxX; }
    double GetMaxZ() const { return maxZ; }
    double GetMinX() const { return minX; }
    double GetMinZ() const { return minZ; }

    int SetY(double y);
    double GetY() const { return Y; }

    void UpdateExtents(double x, double z);
    bool ClearOffsets();
    bool DeleteOffset(unsigned i);
    bool SetX(unsigned i, double x);
    bool SetXSnapped(unsigned i, double x, double step);
    bool SetZ(unsigned i, double z);
    bool SetZSnapped(unsigned i, double z, double step);
    bool MirrorHalf();

    // Transformations of the offsets in the frame's plane; Y is kept, extents recomputed.
    // False, with the frame unchanged, when an offset would not be a finite number.
    bool Scale(double fx, double fz);
    bool Move(double dx, double dz);
    // Degrees about X = 0, Z = 0; a positive angle lowers the +X side.
    bool Rotate(double angle);

    bool RecomputeMaxX();
    bool RecomputeMinX();
    bool RecomputeMaxZ();
    bool RecomputeMinZ();

    // v rounded to the nearest multiple of step, an exact half away from zero.
    // A step that is not finite and positive, or a non-finite v, leaves v as it is; a
    // finite v always snaps to a finite number.
    static double Snap(double v, double step);

    // Waterline cut (hydrostatics). The outline is closed from the last offset to the first.
    static bool IsWithinTolerance(double a, double b, double tol);
    bool CrossesWaterline(unsigned i, double z) const;
    double GetXAtWaterline(unsigned i, double z) const;
    // Fills the record and leaves the immersed outline in xs, zs; always true.
    bool ClipAtWaterline(double z, ImmersedSection& record, std::vector<double>& xs,
                         std::vector<double>& zs) const;
    // The same cut without the outline, for the hydrostatics.
    void CutAtWaterline(double z, ImmersedSection& record) const;

    // Hull file: this frame's block, appended to out / read up to its end tag.
    bool WriteHullFileBlock(std::string& out) const;
    bool ReadHullFileBlock(ModelTextReader& in, ReadReport& report);
};

}  // namespace core

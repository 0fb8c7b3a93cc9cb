#pragma once
// One body of the hull: named, coloured frames kept in ascending Y.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Result.h"
#include "core/Section.h"

namespace core {

class ErrorLog;
class HydroData;
class ModelTextReader;
struct ReadReport;

class Appendage {
public:
    std::string name = "Blank Name";
    std::vector<Section> frames;  // ascending Y
    bool active = true;           // only active bodies enter the hull's hydrostatics
    bool freeFlooding = false;
    std::uint32_t colour = 0;     // 0x00BBGGRR, black by default
    double density = 0;           // t/m3, the body's own
    double ap = 0;                // the body's own aft perpendicular, m
    double fp = 0;                // the body's own forward perpendicular, m

    Appendage() = default;

    // Index of the placed frame, or -1 when its Y is refused.
    int AddSection(const std::string& name, double y);
    int InsertSection(const Section& frame);
    int CopySection(double y, unsigned c);

    unsigned GetFrameCount() const;
    bool AddOffset(unsigned i, double x, double z);
    unsigned GetOffsetCount(unsigned i) const;
    unsigned GetTotalOffsetCount() const;
    bool MirrorFrame(unsigned i);
    bool DeleteFrame(unsigned i);
    unsigned FindNearestOffset(unsigned i, double x, double z) const;

    // Transformations of every frame; false, with the appendage unchanged, when an offset
    // or a position would not be a finite number.
    bool ScaleX(double f);
    bool ScaleY(double f);  // a negative factor reverses the frame list
    bool ScaleZ(double f);
    bool MoveX(double dx);
    bool MoveY(double dy);
    bool MoveZ(double dz);
    bool Rotate(double angle);
    // Frame i's index after it took Y = y: 0 for an invalid i, i when the Y is refused.
    unsigned MoveFrameToY(unsigned i, double y);
    // count copies of frame j at Y + k * pitch, moved by k * dx and k * dz. A copy whose
    // Y is refused is skipped and its k is added to refused; false when count is 0,
    // j is invalid or any copy was refused.
    bool ArrayFrame(unsigned j, unsigned count, double dx, double pitch, double dz,
                    std::vector<unsigned>* refused = nullptr);

    // Extents from the frames' stored extents and Y; 0 without frames.
    double GetMaxX() const;
    double GetMinX() const;
    double GetMaxZ() const;
    double GetMinZ() const;
    double GetMaxY() const;
    double GetMinY() const;

    // Whether the frames stand in ascending Y, equal neighbours allowed.
    bool FramesAscend() const;
    // Hydrostatics of this body alone; false, with the record untouched, below 2 frames
    // or with frames out of order. Expects a reset record. Without curves the record's
    // longitudinal curves stay empty.
    bool GetHydroStatics(double draught, double trim, HydroData& result, bool curves = true) const;
    // Intersection of the segments (y1,z1)-(y2,z2) and (y3,z3)-(y4,z4) in the Y-Z plane.
    static bool IntersectSegments(double y1, double z1, double y2, double z2, double y3, double z3,
                                  double y4, double z4, double& y, double& z, double& p, double& q,
                                  double& det);

    // Hull file: this appendage's block, appended to out / read up to its end tag.
    bool WriteHullFileBlock(std::string& out) const;
    bool ReadHullFileBlock(ModelTextReader& in, ReadReport& report);

    // Version-1 appendage file. A failed save leaves any old file as it was and
    // logs one line when a log is given; a failed load leaves this appendage as it was.
    Result SaveAppFile(const std::string& path, ErrorLog* log = nullptr) const;
    bool LoadAppFile(const std::string& path, ReadReport* report = nullptr);

    // GF geometry file: this appendage's part, appended to out (1 to 255 frames), and
    // the shape of that name read from a file; a failed read leaves this appendage as it was.
    bool WriteGfPart(std::string& out, const std::string& partName) const;
    bool ReadGfShape(const std::string& path, const std::string& shapeName, bool mirror,
                     ReadReport* report = nullptr);
    // DFH file: replaces the frames; a failed read leaves this appendage as it was.
    bool ReadDfhData(const std::string& path, ReadReport* report = nullptr);
    // Foreign exports, written whole or not at all; a failure logs one line when a
    // log is given.
    Result ExportFrameToCrd(const std::string& path, unsigned j, ErrorLog* log = nullptr) const;
    Result ExportObj(const std::string& path, ErrorLog* log = nullptr) const;
    Result ExportFreeShipText(const std::string& path, ErrorLog* log = nullptr) const;

private:
    int PlaceSection(const Section& frame);
    // What a file is read into, so that a failed read changes nothing: this appendage
    // without frames, with ap, fp and density 0 and the default name.
    Appendage BlankCopy() const;
};

}  // namespace core

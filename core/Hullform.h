#pragma once
// The hull: its appendages, its log and its hull-wide settings.
#include <memory>
#include <string>
#include <vector>

#include "core/Appendage.h"
#include "core/ErrorLog.h"
#include "core/Result.h"

namespace core {

class HydroData;

class Hullform {
public:
    std::string name;
    std::vector<Appendage> appendages;
    ErrorLog log;
    std::string coreVersion;
    std::string issueDate;
    std::string issueNotes;
    double waterDensity = 1.025;  // t/m3
    double ap = 0;
    double fp = 0;
    double fwdMarkY = 0;  // draught marks
    double aftMarkY = 0;
    double midMarkY = 0;

    // Opens the log (truncating it) and writes its header and the hull's version lines.
    // Without logPath it is the program's log, Korvelo.log in the working folder; an empty
    // logPath keeps the lines in memory only.
    Hullform();
    explicit Hullform(const std::string& logPath);
    // A fresh model whose log lines go to another log (a hull's, say), in order with that
    // log's own lines; it logs no version lines. For a read that replaces a hull's model
    // only when it succeeds.
    explicit Hullform(ErrorLog::Into into);
    Hullform(const Hullform&) = delete;
    Hullform& operator=(const Hullform&) = delete;

    // New: empties the model; keeps the log, the version texts and the draught marks.
    void Clear();
    // Replaces the model (name, appendages, density, perpendiculars) by from's, as New and
    // then a read leave it; keeps the log, the version texts and the draught marks.
    void TakeModel(Hullform&& from);

    unsigned GetAppendageCount() const;
    bool AddAppendage(const std::string& name);
    bool IsAppendageIndexValid(unsigned i) const;
    bool IsFrameIndexValid(unsigned i, unsigned j) const;
    Result DeleteAppendage(unsigned i);
    Result DeleteFrame(unsigned i, unsigned j);
    unsigned FindNearestOffset(unsigned i, unsigned j, double x, double z);

    // Transformations: factors and distances in X, Y, Z order, angles in degrees.
    // Refusals leave the hull unchanged and are logged.
    Result ScaleAppendage(unsigned i, double fx, double fy, double fz, bool copy);
    Result Scale(double fx, double fy, double fz);
    Result ScaleFrame(unsigned i, unsigned j, double fx, double fy, double fz, bool copy);
    Result MoveFrame(unsigned i, unsigned j, double dx, double dy, double dz, bool copy);
    Result MoveAppendage(unsigned i, double dx, double dy, double dz, bool copy);
    Result Move(double dx, double dy, double dz);
    Result RotateFrame(unsigned i, unsigned j, double angle);
    Result RotateAppendage(unsigned i, double angle, bool copy);
    // Heels the hull; turning back by the summed angles, with no other change in
    // between, restores the upright offsets exactly.
    Result Rotate(double angle);
    Result CreateFrameArray(unsigned i, unsigned j, unsigned count, double dx, double pitch,
                          double dz, bool newAppendage);
    Result SplitAppendage(unsigned i, unsigned j, bool deleteOriginal);
    // A copy of this hull heeled by angle, for the heeled hydrostatics; this hull is
    // untouched. The copy keeps no log file, and its log has no header.
    std::unique_ptr<Hullform> HeeledCopy(double angle) const;
    // The same copy made in into (a copy made before, for a run of heels), whose storage
    // is reused; its log is left as it is. False, with nothing done, when into is this hull.
    bool HeelInto(double angle, Hullform& into) const;

    // Extents over all appendages, active or not; 0 without appendages.
    double GetMaxX() const;
    double GetMinX() const;
    double GetMaxZ() const;
    double GetMinZ() const;
    double GetMaxY() const;
    double GetMinY() const;

    unsigned GetTotalOffsetCount() const;
    bool LogSummary();

    // Hydrostatics of the active appendages; trim in degrees, draught at Y = 0. Without
    // curves the longitudinal curves are left empty; every other figure is the same.
    bool GetHydroStatics(double draught, double trim, HydroData& result, bool curves = true);
    // Draught floating the target displacement (t) within tolerance per cent. When
    // none is found the result is 0, or the best draught when the search ran out;
    // converged tells a found draught from both; evaluations counts the hydrostatic
    // calculations it made. A DraughtSearch does several in turn.
    double FindDraughtForDisplacement(double target, double trim, double tolerance,
                                      bool* converged = nullptr, unsigned* evaluations = nullptr);
    double TrimMetresToDegrees(double trim);
    double TrimDegreesToMetres(double trim);

    // Hull file. A failed open leaves the hull as it was; a failed save leaves the
    // old file as it was. Failures are logged.
    Result SaveHullFile(const std::string& path);
    Result OpenHullFile(const std::string& path);
    // Adds the appendage of a version-1 appendage file.
    Result ImportAppFile(const std::string& path);

    // GF geometry file (feet); the import adds one appendage per shape.
    Result ExportGfFile(const std::string& path);
    Result ImportGfFile(const std::string& path, bool mirror);
    // Adds the one appendage of a DFH file (millimetres).
    Result ImportDfhFile(const std::string& path);

private:
    // Logs line and gives it, without its "ERROR: ", as the reason of a failure.
    Result Fail(const std::string& line);
    // A working copy, whose log keeps its lines in the list only.
    struct WorkingCopy {};
    explicit Hullform(WorkingCopy);
    void SetVersions();
    void LogVersions();
    // The model before the first of a run of heels, and after the last one.
    std::vector<Appendage> heelUpright_;
    std::vector<Appendage> heelHeeled_;
    double heelAngleSum_ = 0;
    double heelAngleMagnitude_ = 0;
    bool heelKept_ = false;
};

}  // namespace core

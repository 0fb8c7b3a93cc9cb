#include "core/Hullform.h"

#include <utility>

#include "base/StrUtils.h"
#include "core/Extent.h"

namespace core {

Hullform::Hullform() : name("Blank Hullform") { LogVersions(); }

Hullform::Hullform(const std::string& logPath) : name("Blank Hullform"), log(logPath) { LogVersions(); }

Hullform::Hullform(WorkingCopy) : name("Blank Hullform"), log(ErrorLog::ListOnly{}) { LogVersions(); }

Hullform::Hullform(ErrorLog::Into into) : name("Blank Hullform"), log(into) { SetVersions(); }

void Hullform::SetVersions() {
    coreVersion = "Core Version: 2.1";
    issueDate = "Issue Date: 13/05/06";
    issueNotes = "Issue Notes: Core update doubling solver speed";
}

void Hullform::LogVersions() {
    SetVersions();
    log.Log("Hullform class initialised.");
    log.Log(coreVersion);
    log.Log(issueDate);
    log.Log(issueNotes);
}

Result Hullform::Fail(const std::string& line) { return LoggedFailure(&log, line); }

void Hullform::Clear() {
    name = "Korvelo Hullform";
    appendages.clear();
    waterDensity = 1.0;
    ap = 0;
    fp = 0;
    // A new hull has no heel to return from.
    heelUpright_.clear();
    heelHeeled_.clear();
    heelAngleSum_ = 0;
    heelAngleMagnitude_ = 0;
    heelKept_ = false;
}

void Hullform::TakeModel(Hullform&& from) {
    if (&from == this) return;
    Clear();
    name = std::move(from.name);
    appendages = std::move(from.appendages);
    waterDensity = from.waterDensity;
    ap = from.ap;
    fp = from.fp;
}

unsigned Hullform::GetAppendageCount() const { return static_cast<unsigned>(appendages.size()); }

bool Hullform::AddAppendage(const std::string& appendageName) {
    Appendage a;
    a.name = appendageName;
    a.AddSection("Blank Frame", 0);
    appendages.push_back(std::move(a));
    return true;
}

bool Hullform::IsAppendageIndexValid(unsigned i) const { return i < appendages.size(); }

bool Hullform::IsFrameIndexValid(unsigned i, unsigned j) const {
    return IsAppendageIndexValid(i) && j < appendages[i].GetFrameCount();
}

Result Hullform::DeleteAppendage(unsigned i) {
    if (!IsAppendageIndexValid(i)) {
        return Fail("ERROR: Tried deleting appendage[" + base::UIntToStr(i) + "] but found out of bounds");
    }
    appendages.erase(appendages.begin() + i);
    return true;
}

Result Hullform::DeleteFrame(unsigned i, unsigned j) {
    if (!IsFrameIndexValid(i, j)) {
        return Fail("ERROR: Tried deleting frame [" + base::UIntToStr(j) + "] of appendage[" +
                base::UIntToStr(i) + "] but found out of bounds");
    }
    return appendages[i].DeleteFrame(j);
}

unsigned Hullform::FindNearestOffset(unsigned i, unsigned j, double x, double z) {
    if (!IsFrameIndexValid(i, j)) {
        log.Log("ERROR: Nearest offset to X=" + base::FloatToStr(x) + ", Z=" + base::FloatToStr(z) +
                " on frame [" + base::UIntToStr(j) + "] of appendage[" + base::UIntToStr(i) +
                "] not found as frame or appendage does not exist");
        return 0;
    }
    if (appendages[i].GetOffsetCount(j) == 0) return 0;
    return appendages[i].FindNearestOffset(j, x, z);
}

double Hullform::GetMaxX() const {
    return MaxOf(appendages, [](const Appendage& a) { return a.GetMaxX(); });
}
double Hullform::GetMinX() const {
    return MinOf(appendages, [](const Appendage& a) { return a.GetMinX(); });
}
double Hullform::GetMaxZ() const {
    return MaxOf(appendages, [](const Appendage& a) { return a.GetMaxZ(); });
}
double Hullform::GetMinZ() const {
    return MinOf(appendages, [](const Appendage& a) { return a.GetMinZ(); });
}
double Hullform::GetMaxY() const {
    return MaxOf(appendages, [](const Appendage& a) { return a.GetMaxY(); });
}
double Hullform::GetMinY() const {
    return MinOf(appendages, [](const Appendage& a) { return a.GetMinY(); });
}

unsigned Hullform::GetTotalOffsetCount() const {
    unsigned total = 0;
    for (const Appendage& a : appendages) total += a.GetTotalOffsetCount();
    return total;
}

bool Hullform::LogSummary() {
    log.WriteSeparator();
    log.Log("NOTE: Hull name - " + name);
    log.Log("NOTE: Appendage Count: " + base::UIntToStr(GetAppendageCount()));
    log.Log("NOTE: Total Number of Offset pairs - " + base::UIntToStr(GetTotalOffsetCount()));
    log.Log("NOTE: X max and min = " + base::FloatToStr(GetMaxX()) + ", " + base::FloatToStr(GetMinX()));
    log.Log("NOTE: Y max and min = " + base::FloatToStr(GetMaxY()) + ", " + base::FloatToStr(GetMinY()));
    log.Log("NOTE: Z max and min = " + base::FloatToStr(GetMaxZ()) + ", " + base::FloatToStr(GetMinZ()));
    log.WriteSeparator();
    return true;
}

}  // namespace core

#pragma once
// The calculation runs without their windows: input checks, row counts, the texts of the
// header rows and the rows themselves. The run windows only copy these into the grid
// and the chart.
#include <array>
#include <string>
#include <vector>

namespace core {
class DraughtSearch;
class Hullform;
class HydroData;
class LongitudinalCurve;
}  // namespace core

namespace app::runs {

// No run writes more rows (or cross-curve columns) than this.
constexpr int kMaxRunRows = 100000;
// A cross-curves run takes at most this many heel angles (a tenth of a degree all round).
constexpr int kMaxRunAngles = 3601;

extern const char* const kBadNumbers;
extern const char* const kEndBeforeStart;
extern const char* const kBadStep;
extern const char* const kBadDensity;
extern const char* const kTooManyRows;
extern const char* const kMarksCoincide;
extern const char* const kHydroFailed;
extern const char* const kDispStepTooSmall;
extern const char* const kToleranceTooSmall;
extern const char* const kToleranceLow;
extern const char* const kEndDispBeforeStart;
extern const char* const kNoAngles;
extern const char* const kBadAngleStep;
extern const char* const kTooManyAngles;
// A step field holds three decimals: a smaller step typed into it reads zero.
extern const char* const kStepBelowField;

// One cell of a header row: the text stands in column col, merged over span columns.
struct ReportCell {
    int col = 0;
    int span = 1;
    std::string text;
};
using ReportRow = std::vector<ReportCell>;

// The trim as the user entered it: the field's text, its number and its unit ("m" or "deg").
struct TrimInput {
    std::string text;
    double number = 0;
    std::string unit = "m";
};

// The run date "DD/MM/YYYY" and time "H:M" of the header rows.
struct RunStamp {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0;
    static RunStamp Now();
};
std::string RunDateText(const RunStamp& s);
std::string RunTimeText(const RunStamp& s);

// The trim in degrees; "" or the message of a refusal.
std::string TrimDegrees(core::Hullform& hull, const TrimInput& trim, double& degrees);
// Y of draught reference item (0 Y origin, 1 aft, 2 mid, 3 forward mark).
double ReferenceY(const core::Hullform& hull, int reference);

// The three header rows every run writes, in the order they are inserted at the top:
// date and time, trim and density, then the title merged over titleSpan columns.
std::vector<ReportRow> RunHeaderRows(const RunStamp& stamp, const TrimInput& trim, double density,
                                     const std::string& title, int titleSpan);

// --- Hydrostatics ---

struct HydroRequest {
    std::string startText, endText;
    double step = 0;
    TrimInput trim;
    int reference = 0;
};
struct HydroSettings {
    double start = 0, end = 0, step = 0;  // draughts at Y = 0
    double trim = 0;                      // degrees
    double density = 0;
    double refY = 0;
    int rows = 0;  // draughts calculated
    double Draught(int i) const { return start + i * step; }
};
// "" and the settings, or the message of a refusal.
std::string ReadHydroInputs(core::Hullform& hull, const HydroRequest& in, HydroSettings& out);
// Draughts from start to end, plus anything under 0.01 beyond; -1 past kMaxRunRows.
int DraughtCount(double start, double end, double step);

extern const std::array<const char*, 15> kHydroHeads;
extern const std::array<const char*, 15> kHydroUnits;
// The fifteen values of a table row, the draught back at the reference first.
std::array<double, 15> HydroRowValues(const core::HydroData& h, double trim, double refY);
// The points of the nine graph series (by series index), each plotted against the draught.
std::array<double, 9> HydroGraphValues(const std::array<double, 15>& row);
// Row i: false when the hull gave no hydrostatics (the row is then left empty).
bool HydroStep(core::Hullform& hull, const HydroSettings& s, int i, std::array<double, 15>& row);
// Header rows in the order of insertion; the appendage rows only with showAppendages.
std::vector<ReportRow> HydroHeaderRows(const core::Hullform& hull, const RunStamp& stamp, const TrimInput& trim,
                                       double density, bool showAppendages);

// --- Cross curves ---

struct CrossRequest {
    double startDisp = 0, endDisp = 0, dispStep = 0;
    double startAngle = 0, endAngle = 0, angleStep = 0;
    double tolerance = 0;
    TrimInput trim;
};
struct CrossSettings {
    double startDisp = 0, endDisp = 0, dispStep = 0, tolerance = 0, trim = 0, density = 0;
    int rows = 0;  // displacement steps calculated
    double Displacement(int i, double largest) const;
};
// "" and the settings, or the message of a refusal; warning gets the low-tolerance note.
std::string ReadCrossInputs(core::Hullform& hull, const CrossRequest& in, CrossSettings& out, std::string& warning);
// The run's heel angles: the additional ones and the stepped ones, sorted; "" or the refusal.
std::string BuildRunAngles(const std::vector<double>& additional, double start, double end, double step,
                           std::vector<double>& angles);
// Displacement of the upright hull floating at its highest point.
double LargestDisplacement(core::Hullform& hull);
// The same; false (the reason in the hull's log) when the hull gives no hydrostatics.
bool LargestDisplacement(core::Hullform& hull, double& largest);

struct CrossCell {
    double displacement = 0;
    bool found = false;  // false: no draught floats it; the cell stays empty
    double kn = 0;
};
// One displacement on a heeled copy of the hull, searched at the settings' trim by one search
// kept for all the heel's displacements; a displacement it cannot float is noted in log.
CrossCell CrossStep(core::DraughtSearch& heeled, const CrossSettings& s, double largest, int i, double angle,
                    core::Hullform& logTo);
std::string AngleHeadText(double angle);       // "<B>10 deg"
std::string AngleTitleText(double angle);      // "10 deg"
std::string DisplacementText(double d);        // "<B>10.000"
// The value a result cell of `decimals` places gets: one that rounds to zero there is
// plain 0, so that no "-0.000" shows.
double CellValue(double v, int decimals = 3);

// --- Longitudinal buoyancy ---

struct LongRequest {
    std::string draughtText;
    TrimInput trim;
    int reference = 0;
};
struct LongSettings {
    double draught = 0, trim = 0, density = 0, refY = 0;
};
std::string ReadLongInputs(core::Hullform& hull, const LongRequest& in, LongSettings& out);

// Where each part of the longitudinal table stands (rows before the header rows).
struct LongLayout {
    int points = 0;
    int FirstPointRow() const { return 2; }
    int TotalsRow() const { return points + 2; }
    int SummaryRow() const { return points + 4; }  // one empty row above it
    int RowCount() const { return points + 7; }
};

}  // namespace app::runs

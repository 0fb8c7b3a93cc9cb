#include "app/RunLogic.h"

#include <algorithm>
#include <cmath>

#include "base/DateTime.h"
#include "base/StrUtils.h"
#include "core/DraughtSearch.h"
#include "core/Hullform.h"
#include "core/HydroData.h"
#include "widgets/edit/ParamMarkup.h"

namespace app::runs {

const char* const kBadNumbers = "You must enter valid decimal numbers.";
const char* const kEndBeforeStart = "End draft must be greater than starting draft.";
const char* const kBadStep = "You must enter a valid, non zero, positive value for step.";
const char* const kBadDensity =
    "You must enter a valid, non zero, positive density. Check data in the hull treeview.";
const char* const kTooManyRows = "The run would need more than 100000 rows or columns. Use a larger step or a "
                                 "smaller range.";
const char* const kMarksCoincide = "The forward and aft draught marks are at the same position, so a trim in "
                                   "metres cannot be turned into an angle. Enter the trim in degrees or move the "
                                   "draught marks.";
const char* const kHydroFailed = "No hydrostatics could be calculated (see the log): the hull needs at least one "
                                 "active appendage. Rows without results are left empty.";
const char* const kDispStepTooSmall = "Displacement step must be >= 0.0001";
const char* const kToleranceTooSmall = "Tolerance must be >= 0.0001";
const char* const kToleranceLow = "Tolerance set very low. Note that run may take some time to balance.";
const char* const kEndDispBeforeStart = "End displacement must be greater than starting displacement.";
const char* const kNoAngles = "At least one angle must be specified to run cross curves.";
const char* const kBadAngleStep = "You must enter a valid, non zero, positive value for angle increment.";
const char* const kTooManyAngles = "The run would need more than 3601 heel angles. Use a larger angle step, a "
                                   "smaller range or fewer other angles.";
const char* const kStepBelowField = "The step typed is below what the field can hold: it keeps three decimals, so "
                                    "the smallest step it takes is 0.001 and a smaller one reads 0.000.";

namespace {

constexpr double kPi = 3.14159265358979323846;

double TanDeg(double degrees) { return std::tan(degrees * kPi / 180); }

// A count from a double, or -1 when it passes the cap (or is no number).
int CappedCount(double count)
{
    if (!(count <= kMaxRunRows)) return -1;
    return count < 0 ? 0 : int(count);
}

}  // namespace

RunStamp RunStamp::Now()
{
    RunStamp s;
    const base::TDateTime t = base::Now();
    int sec = 0, ms = 0;
    base::DecodeDate(t, s.year, s.month, s.day);
    base::DecodeTime(t, s.hour, s.minute, sec, ms);
    return s;
}

std::string RunDateText(const RunStamp& s) { return base::Format("%02d/%02d/%d", s.day, s.month, s.year); }

std::string RunTimeText(const RunStamp& s) { return base::Format("%d:%d", s.hour, s.minute); }

std::string TrimDegrees(core::Hullform& hull, const TrimInput& trim, double& degrees)
{
    degrees = 0;
    if (trim.unit == "deg") {
        if (!base::TryStrToFloat(base::Trim(trim.text), degrees)) return kBadNumbers;
        return "";
    }
    // A zero trim needs no marks; any other is meaningless without a distance between them.
    if (trim.number != 0 && hull.fwdMarkY == hull.aftMarkY) return kMarksCoincide;
    degrees = trim.number == 0 ? 0 : hull.TrimMetresToDegrees(trim.number);
    return "";
}

double ReferenceY(const core::Hullform& hull, int reference)
{
    switch (reference) {
    case 1: return hull.aftMarkY;
    case 2: return hull.midMarkY;
    case 3: return hull.fwdMarkY;
    default: return 0;
    }
}

std::vector<ReportRow> RunHeaderRows(const RunStamp& stamp, const TrimInput& trim, double density,
                                     const std::string& title, int titleSpan)
{
    std::vector<ReportRow> rows;
    rows.push_back({{0, 2, "Run Date: " + RunDateText(stamp)}, {2, 2, "Time of Run: " + RunTimeText(stamp)}});
    rows.push_back({{0, 4,
                     "<B>Trim = " + trim.text + (trim.unit == "deg" ? " deg" : " m") + ", at Density = " +
                         base::FloatToStr(density) + " Te/m<SUP>3</SUP>"}});
    rows.push_back({{0, titleSpan, title}});
    return rows;
}

// --- Hydrostatics ---

int DraughtCount(double start, double end, double step)
{
    // Round-off must not add a draught a whole 0.01 past the end.
    const double x = (end + 0.01 - start) / step;
    return CappedCount(std::ceil(x - 1e-9 * std::max(1.0, std::fabs(x))));
}

std::string ReadHydroInputs(core::Hullform& hull, const HydroRequest& in, HydroSettings& out)
{
    out = HydroSettings{};
    if (!base::TryStrToFloat(base::Trim(in.startText), out.start) ||
        !base::TryStrToFloat(base::Trim(in.endText), out.end))
        return kBadNumbers;
    if (std::string m = TrimDegrees(hull, in.trim, out.trim); !m.empty()) return m;
    out.density = hull.waterDensity;
    out.step = in.step;
    if (out.end < out.start) return kEndBeforeStart;
    if (!(out.step > 0)) return kBadStep;
    if (!(out.density > 0)) return kBadDensity;
    out.rows = DraughtCount(out.start, out.end, out.step);
    if (out.rows < 0) return kTooManyRows;
    out.refY = ReferenceY(hull, in.reference);
    const double shift = TanDeg(out.trim) * out.refY;
    out.start -= shift;
    out.end -= shift;
    return "";
}

const std::array<const char*, 15> kHydroHeads = {
    "<B>Draught", "<B>Volume",  "<B>Displacement", "<B>VCB", "<B>LCB",      "<B>TCB",       "<B>LCF", "<B>TCF",
    "<B>MCT 1cm", "<B>TPI",     "<B>KMT",          "<B>KML", "<B>WL Width", "<B>WL Length", "<B>WPA"};
const std::array<const char*, 15> kHydroUnits = {
    "<B>(m)",    "<B>(m<SUP>3</SUP>)", "<B>(Te)", "<B>(m)", "<B>(m)", "<B>(m)", "<B>(m)", "<B>(m)",
    "<B>(Te.m)", "<B>(Te)",            "<B>(m)",  "<B>(m)", "<B>(m)", "<B>(m)", "<B>(m<SUP>2</SUP>)"};

std::array<double, 15> HydroRowValues(const core::HydroData& h, double trim, double refY)
{
    return {h.draught + TanDeg(trim) * refY,
            h.volume,
            h.displacement,
            h.VCB,
            h.LCB,
            h.TCB,
            h.LCF,
            h.TCF,
            h.MCT1cm,
            h.TPI,
            h.KMT,
            h.KML,
            std::fabs(h.waterlineMaxX - h.waterlineMinX),
            std::fabs(h.waterlineMaxY - h.waterlineMinY),
            h.WPA};
}

std::array<double, 9> HydroGraphValues(const std::array<double, 15>& r)
{
    // Series: displacement, volume, LCB, LCF, VCB, TPI, MCT 1cm, KML / 10, KMT.
    return {r[2], r[1], r[4], r[6], r[3], r[9], r[8], r[11] * 0.1, r[10]};
}

bool HydroStep(core::Hullform& hull, const HydroSettings& s, int i, std::array<double, 15>& row)
{
    core::HydroData h;
    if (!hull.GetHydroStatics(s.Draught(i), s.trim, h)) return false;
    row = HydroRowValues(h, s.trim, s.refY);
    return true;
}

std::vector<ReportRow> HydroHeaderRows(const core::Hullform& hull, const RunStamp& stamp, const TrimInput& trim,
                                       double density, bool showAppendages)
{
    std::vector<ReportRow> rows;
    if (showAppendages)
        for (const auto& a : hull.appendages)
            rows.push_back({{0, 4,
                             std::string("<FONT color=\"") + (a.active ? "#00FF00" : "#FF0000") + "\">" +
                                 "Appendage - " + edit::HTMLPrep(a.name) + (a.active ? " is Active" : " is Inactive") +
                                 "</FONT>"}});
    for (ReportRow& r :
         RunHeaderRows(stamp, trim, density, "<B>Table of Hydrostatic Properties for " + edit::HTMLPrep(hull.name), 12))
        rows.push_back(std::move(r));
    return rows;
}

// --- Cross curves ---

double CrossSettings::Displacement(int i, double largest) const
{
    return std::min(startDisp + i * dispStep, largest);
}

std::string ReadCrossInputs(core::Hullform& hull, const CrossRequest& in, CrossSettings& out, std::string& warning)
{
    out = CrossSettings{};
    warning.clear();
    out.startDisp = in.startDisp;
    out.endDisp = in.endDisp;
    out.dispStep = in.dispStep;
    out.tolerance = in.tolerance;
    if (!(out.dispStep >= 0.0001)) return kDispStepTooSmall;
    if (std::string m = TrimDegrees(hull, in.trim, out.trim); !m.empty()) return m;
    out.density = hull.waterDensity;
    if (!(out.tolerance >= 0.0001)) return kToleranceTooSmall;
    if (out.tolerance < 0.01) warning = kToleranceLow;
    if (out.endDisp < out.startDisp) return kEndDispBeforeStart;
    if (!(out.density > 0)) return kBadDensity;
    // One step past the end, as the table has always shown.
    const int n = CappedCount(std::ceil((out.endDisp - out.startDisp) / out.dispStep) + 2);
    if (n < 0) return kTooManyRows;
    out.rows = n;
    return "";
}

std::string BuildRunAngles(const std::vector<double>& additional, double start, double end, double step,
                           std::vector<double>& angles)
{
    angles = additional;
    if (!(angles.size() <= std::size_t(kMaxRunAngles))) return kTooManyAngles;
    if (step != 0) {
        const double k = std::ceil((end - start) / step);
        if (k >= 0 && step < 0) return kBadAngleStep;  // stepped angles exist but run backwards
        if (k >= 0) {
            if (!(k + 1 + angles.size() <= kMaxRunAngles)) return kTooManyAngles;
            for (int i = 0; i <= int(k); ++i)
                angles.push_back(start + i * step);
        }
    }
    std::sort(angles.begin(), angles.end());
    if (angles.empty()) return kNoAngles;
    if (!(step > 0)) return kBadAngleStep;
    return "";
}

double LargestDisplacement(core::Hullform& hull)
{
    double largest = 0;
    LargestDisplacement(hull, largest);
    return largest;
}

bool LargestDisplacement(core::Hullform& hull, double& largest)
{
    core::HydroData h;
    const bool ok = hull.GetHydroStatics(hull.GetMaxZ(), 0, h);
    largest = h.displacement;
    return ok;
}

CrossCell CrossStep(core::DraughtSearch& heeled, const CrossSettings& s, double largest, int i, double angle,
                    core::Hullform& logTo)
{
    CrossCell c;
    c.displacement = s.Displacement(i, largest);
    bool converged = false;
    heeled.Find(c.displacement, s.tolerance, &converged);
    if (!converged) {
        logTo.log.Log("NOTE: Cross curves - no draught floats " + base::FormatFloat("0.000", c.displacement) +
                      " Te at " + base::FloatToStr(angle) + " deg heel; cell left empty");
        return c;
    }
    c.found = true;
    c.kn = heeled.Found().TCB;
    return c;
}

std::string AngleTitleText(double angle) { return base::FloatToStr(angle) + " deg"; }
std::string AngleHeadText(double angle) { return "<B>" + AngleTitleText(angle); }
std::string DisplacementText(double d) { return "<B>" + base::FormatFloat("0.000", d); }

double CellValue(double v, int decimals)
{
    if (!std::isfinite(v)) return v;
    return std::round(std::fabs(v) * std::pow(10.0, decimals)) == 0 ? 0.0 : v;
}

// --- Longitudinal buoyancy ---

std::string ReadLongInputs(core::Hullform& hull, const LongRequest& in, LongSettings& out)
{
    out = LongSettings{};
    if (!base::TryStrToFloat(base::Trim(in.draughtText), out.draught)) return kBadNumbers;
    if (std::string m = TrimDegrees(hull, in.trim, out.trim); !m.empty()) return m;
    out.density = hull.waterDensity;
    if (!(out.density > 0)) return kBadDensity;
    out.refY = ReferenceY(hull, in.reference);
    out.draught -= TanDeg(out.trim) * out.refY;
    return "";
}

}  // namespace app::runs

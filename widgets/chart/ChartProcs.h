#pragma once
// Small shared functions of the chart engine: date-time label steps, pixel hit tests,
// index sorting, fields in texts, unique names, editor options and data exporters.
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "base/StrUtils.h"
#include "platform/Types.h"

namespace platform {
class TCanvas;
class TComponent;
class TControl;
}  // namespace platform

namespace chart {

using platform::TPoint;
using platform::TRect;

enum TDateTimeStep {
    dtOneMicroSecond, dtOneMillisecond, dtOneSecond, dtFiveSeconds, dtTenSeconds, dtFifteenSeconds,
    dtThirtySeconds, dtOneMinute, dtFiveMinutes, dtTenMinutes, dtFifteenMinutes, dtThirtyMinutes, dtOneHour,
    dtTwoHours, dtSixHours, dtTwelveHours, dtOneDay, dtTwoDays, dtThreeDays, dtOneWeek, dtHalfMonth, dtOneMonth,
    dtTwoMonths, dtThreeMonths, dtFourMonths, dtSixMonths, dtOneYear, dtNone
};
// The length of each step in days.
extern const double DateTimeStep[dtNone + 1];
extern std::string ChartFieldsSeparator;

std::string DateTimeDefaultFormat(double step);
double NextDateTimeStep(double step);
TDateTimeStep FindDateTimeStep(double value);
int DaysInMonth(int year, int month);
double ChartRoundDate(double date, TDateTimeStep step);
void ChartDateTimeIncrement(bool isDateTime, bool increment, double& value, double anIncrement,
                            TDateTimeStep step);

// p within tolerance + 1 pixels of the segment.
bool PointInLine(TPoint p, int x0, int y0, int x1, int y1, int tolerance = 0);
bool PointInLine(TPoint p, TPoint p0, TPoint p1, int tolerance = 0);
bool PointInLineTolerance(TPoint p, int x0, int y0, int x1, int y1, int tolerance);
// Even-odd test over poly[0..high].
bool PointInPolygon(TPoint p, const TPoint* poly, int high);
bool PointInTriangle(TPoint p, int x0, int x1, int y0, int y1);
bool PointInHorizTriangle(TPoint p, int y0, int y1, int x0, int x1);
bool PointInEllipse(TPoint p, int left, int top, int right, int bottom);
bool PointInEllipse(TPoint p, const TRect& r);
// Whether segment 1-2 crosses segment 3-4; x, y get the crossing of the two lines.
bool CrossingLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4, double& x,
                   double& y);

using TChartSortCompare = std::function<int(int a, int b)>;
using TChartSortSwap = std::function<void(int a, int b)>;
void ChartSort(int start, int end, const TChartSortCompare& compare, const TChartSortSwap& swap);

std::string ChartStr(int number);
int ChartNumFields(const std::string& text);
int ChartNumFields(const std::string& text, const std::string& separator);
std::string ChartExtractField(std::string text, int index);
std::string ChartExtractField(const std::string& text, int index, const std::string& separator);
// Every `search` replaced by `replace`, or removed when `replace` is '\0'.
std::string ReplaceChar(std::string text, char search, char replace = '\0');
std::string StandardToLocalFormat(const std::string& format);
std::string LocalToStandardFormat(const std::string& format);
using base::StrToFloatDef;
std::string ChartGetUniqueName(const platform::TComponent* owner, const std::string& baseName);
void EnableControls(bool enable, const std::vector<platform::TControl*>& controls);
extern std::function<void(platform::TControl*, const std::vector<platform::TControl*>&)> ChartTranslateHook;
void ChartTranslateControl(platform::TControl* control, const std::vector<platform::TControl*>& exclude = {});
void ChartDrawCheckBox(int x, int y, platform::TCanvas& canvas, bool checked, platform::TColor backColor,
                       bool isCheckBox = true);

// Editor options, kept in an INI file under the user's configuration folder.
extern std::string ChartEditorOptionsFile;
bool ChartReadBoolOption(const std::string& name, bool def);
int ChartReadIntegerOption(const std::string& name, int def);
void ChartSaveBoolOption(const std::string& name, bool value);
void ChartSaveIntegerOption(const std::string& name, int value);

// Turns chart data into text.
class TChartExportData {
public:
    virtual ~TChartExportData() = default;
    virtual std::string AsString() { return {}; }
    virtual void CopyToClipboard();
    virtual void SaveToStream(std::ostream& s);
    // The file is written whole or not at all; false when it cannot be.
    virtual bool SaveToFile(const std::string& fileName);
};

}  // namespace chart

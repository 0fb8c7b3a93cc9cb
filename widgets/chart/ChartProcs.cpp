// Date-time steps, hit tests and other small helpers of the chart engine.
#include "widgets/chart/ChartProcs.h"

#include <cmath>
#include <cstdlib>
#include <ostream>
#include <sstream>

#include "base/FileUtils.h"
#include "base/IniFile.h"
#include "platform/controls/Controls.h"
#include "platform/controls/FrameControl.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Clipboard.h"

namespace chart {

using namespace platform;

const double DateTimeStep[dtNone + 1] = {
    1.0 / 86400000000.0, 1.0 / 86400000.0, 1.0 / 86400, 5.0 / 86400, 10.0 / 86400, 15.0 / 86400, 30.0 / 86400,
    60.0 / 86400, 300.0 / 86400, 600.0 / 86400, 900.0 / 86400, 1800.0 / 86400, 3600.0 / 86400, 7200.0 / 86400,
    21600.0 / 86400, 43200.0 / 86400, 1, 2, 3, 7, 15, 30, 60, 90, 120, 182, 365, 1};

std::string ChartFieldsSeparator = ";";

std::string DateTimeDefaultFormat(double step) { return step > 1 ? base::ShortDateFormat() : base::LongTimeFormat(); }

double NextDateTimeStep(double step)
{
    for (int e = dtSixMonths; e >= dtOneMicroSecond; --e)
        if (step >= DateTimeStep[e]) return DateTimeStep[e + 1];
    return DateTimeStep[dtOneYear];
}

TDateTimeStep FindDateTimeStep(double value)
{
    for (int e = dtOneYear; e >= dtOneMicroSecond; --e)
        if (std::fabs(DateTimeStep[e] - value) < DateTimeStep[dtOneMicroSecond]) return TDateTimeStep(e);
    return dtNone;
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[(month - 1) % 12];
}

double ChartRoundDate(double date, TDateTimeStep step)
{
    if (date <= base::EncodeDate(1900, 1, 1)) return date;
    int y, m, d;
    base::DecodeDate(date, y, m, d);
    switch (step) {
    case dtHalfMonth: d = d >= 15 ? 15 : 1; break;
    case dtOneMonth:
    case dtTwoMonths:
    case dtThreeMonths:
    case dtFourMonths:
    case dtSixMonths: d = 1; break;
    case dtOneYear:
        d = 1;
        m = 1;
        break;
    default: break;
    }
    return base::EncodeDate(y, m, d);
}

namespace {
void MoveMonth(int& y, int& m, int k, bool up)
{
    if (up) {
        m += k;
        if (m > 12) {
            ++y;
            m -= 12;
        }
    } else if (k < m) {
        m -= k;
    } else {
        --y;
        m = 12 - (k - m);
    }
}
}  // namespace

void ChartDateTimeIncrement(bool isDateTime, bool increment, double& value, double anIncrement, TDateTimeStep step)
{
    if (!isDateTime || step < dtHalfMonth || step > dtOneYear) {
        value += increment ? anIncrement : -anIncrement;
        return;
    }
    int y, m, d;
    base::DecodeDate(value, y, m, d);
    switch (step) {
    case dtHalfMonth:
        if (d > 15) {
            d = 15;
        } else if (d > 1) {
            d = 1;
        } else {
            MoveMonth(y, m, 1, increment);
            d = 15;
        }
        break;
    case dtOneMonth: d = 1; MoveMonth(y, m, 1, increment); break;
    case dtTwoMonths: d = 1; MoveMonth(y, m, 2, increment); break;
    case dtThreeMonths: d = 1; MoveMonth(y, m, 3, increment); break;
    case dtFourMonths: d = 1; MoveMonth(y, m, 4, increment); break;
    case dtSixMonths: d = 1; MoveMonth(y, m, 6, increment); break;
    default: y += increment ? 1 : -1; break;
    }
    value = base::EncodeDate(y, m, d);
}

// ---------------------------------------------------------------- hit tests

bool PointInLine(TPoint p, int x0, int y0, int x1, int y1, int tolerance)
{
    if ((p.X == x0 && p.Y == y0) || (p.X == x1 && p.Y == y1)) return true;
    auto dist = [&](double x, double y) { return std::hypot(p.X - x, p.Y - y); };
    double d;
    const double dx = x1 - x0, dy = y1 - y0;
    if (dx == 0 && dy == 0) {
        d = dist(x0, y0);
    } else {
        const double u = ((p.X - x0) * dx + (p.Y - y0) * dy) / (dx * dx + dy * dy);
        d = u < 0 ? dist(x0, y0) : u > 1 ? dist(x1, y1) : dist(x0 + u * dx, y0 + u * dy);
    }
    return d <= tolerance + 1;
}

bool PointInLine(TPoint p, TPoint p0, TPoint p1, int tolerance) { return PointInLine(p, p0.X, p0.Y, p1.X, p1.Y, tolerance); }
bool PointInLineTolerance(TPoint p, int x0, int y0, int x1, int y1, int tolerance)
{
    return PointInLine(p, x0, y0, x1, y1, tolerance);
}

bool PointInPolygon(TPoint p, const TPoint* poly, int high)
{
    if (high < 0) return false;
    bool inside = false;
    int j = high;
    for (int i = 0; i <= high; ++i) {
        const TPoint a = poly[i], b = poly[j];
        if ((p.Y >= a.Y && p.Y < b.Y) || (p.Y >= b.Y && p.Y < a.Y)) {
            const double x = double((b.X - a.X) * (p.Y - a.Y)) / (b.Y - a.Y) + a.X;
            if (p.X < x) inside = !inside;
        }
        j = i;
    }
    return inside;
}

bool PointInTriangle(TPoint p, int x0, int x1, int y0, int y1)
{
    const TPoint t[3] = {{x0, y0}, {(x0 + x1) / 2, y1}, {x1, y0}};
    return PointInPolygon(p, t, 2);
}

bool PointInHorizTriangle(TPoint p, int y0, int y1, int x0, int x1)
{
    const TPoint t[3] = {{x0, y0}, {x1, (y0 + y1) / 2}, {x0, y1}};
    return PointInPolygon(p, t, 2);
}

bool PointInEllipse(TPoint p, int left, int top, int right, int bottom)
{
    const int xc = (left + right) / 2, yc = (top + bottom) / 2;
    const double a2 = double(xc - left) * (xc - left), b2 = double(yc - top) * (yc - top);
    if (a2 == 0 || b2 == 0) return false;
    const double dx = p.X - xc, dy = p.Y - yc;
    return dx * dx / a2 + dy * dy / b2 <= 1;
}

bool PointInEllipse(TPoint p, const TRect& r) { return PointInEllipse(p, r.Left, r.Top, r.Right, r.Bottom); }

bool CrossingLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4, double& x,
                   double& y)
{
    // The crossing of the two lines in a form that also holds for vertical ones.
    const double denom = (x1 - x2) * (y3 - y4) - (y1 - y2) * (x3 - x4);
    if (std::fabs(denom) <= 1e-15) {
        x = x2;
        y = y2;
    } else {
        const double a = x1 * y2 - y1 * x2, b = x3 * y4 - y3 * x4;
        x = (a * (x3 - x4) - (x1 - x2) * b) / denom;
        y = (a * (y3 - y4) - (y1 - y2) * b) / denom;
    }
    const double c1 = x1 * y2 - x2 * y1, c2 = x3 * y4 - x4 * y3;
    auto side1 = [&](double px, double py) { return (y2 - y1) * px - (x2 - x1) * py - c1 > 0; };
    auto side2 = [&](double px, double py) { return (y4 - y3) * px - (x4 - x3) * py - c2 > 0; };
    return side1(x3, y3) != side1(x4, y4) && side2(x1, y1) != side2(x2, y2);
}

// ---------------------------------------------------------------- other helpers

void ChartSort(int start, int end, const TChartSortCompare& compare, const TChartSortSwap& swap)
{
    int i = start, j = end, m = (start + end) / 2;
    while (i < j) {
        while (compare(i, m) < 0) ++i;
        while (compare(m, j) < 0) --j;
        if (i < j) {
            swap(i, j);
            if (i == m) m = j;
            else if (j == m) m = i;
        }
        if (i <= j) {
            ++i;
            --j;
        }
    }
    if (start < j) ChartSort(start, j, compare, swap);
    if (i < end) ChartSort(i, end, compare, swap);
}

std::string ChartStr(int number) { return std::to_string(number); }

int ChartNumFields(const std::string& text)
{
    if (text.empty()) return 0;
    int n = 1;
    std::string rest = text;
    for (std::size_t at; !ChartFieldsSeparator.empty() && (at = rest.find(ChartFieldsSeparator)) != std::string::npos;) {
        ++n;
        rest.erase(0, at + 1);
    }
    return n;
}

std::string ChartExtractField(std::string text, int index)
{
    if (text.empty() || index < 1) return {};
    int n = 0;
    for (std::size_t at; !ChartFieldsSeparator.empty() && (at = text.find(ChartFieldsSeparator)) != std::string::npos;) {
        if (++n == index) return text.substr(0, at);
        text.erase(0, at + 1);
    }
    return text;
}

namespace {
template <class Fn>
auto WithSeparator(const std::string& separator, Fn&& fn)
{
    struct Keep {
        std::string old = ChartFieldsSeparator;
        ~Keep() { ChartFieldsSeparator = old; }
    } keep;
    ChartFieldsSeparator = separator;
    return fn();
}
}  // namespace

int ChartNumFields(const std::string& text, const std::string& separator)
{
    return WithSeparator(separator, [&] { return ChartNumFields(text); });
}

std::string ChartExtractField(const std::string& text, int index, const std::string& separator)
{
    return WithSeparator(separator, [&] { return ChartExtractField(text, index); });
}

std::string ReplaceChar(std::string text, char search, char replace)
{
    if (search == replace) return text;
    if (replace == '\0') {
        std::erase(text, search);
        return text;
    }
    for (char& c : text)
        if (c == search) c = replace;
    return text;
}

namespace {
char ThousandSeparator() { return base::DecimalSeparator() == ',' ? '.' : ','; }
}  // namespace

std::string StandardToLocalFormat(const std::string& format)
{
    std::string out = format;
    for (char& c : out) {
        if (c == ',') c = ThousandSeparator();
        else if (c == '.') c = base::DecimalSeparator();
    }
    return out;
}

std::string LocalToStandardFormat(const std::string& format)
{
    std::string out = format;
    const char t = ThousandSeparator(), d = base::DecimalSeparator();
    for (char& c : out) {
        if (c == t) c = ',';
        else if (c == d) c = '.';
    }
    return out;
}

std::string ChartGetUniqueName(const TComponent* owner, const std::string& baseName)
{
    if (!owner) return {};
    for (int n = 1;; ++n) {
        std::string name = baseName + std::to_string(n);
        if (!owner->FindComponent(name)) return name;
    }
}

void EnableControls(bool enable, const std::vector<TControl*>& controls)
{
    for (TControl* c : controls)
        if (c) c->SetEnabled(enable);
}

std::function<void(TControl*, const std::vector<TControl*>&)> ChartTranslateHook;

void ChartTranslateControl(TControl* control, const std::vector<TControl*>& exclude)
{
    if (ChartTranslateHook) ChartTranslateHook(control, exclude);
}

void ChartDrawCheckBox(int x, int y, TCanvas& canvas, bool checked, TColor, bool isCheckBox)
{
    TRect r{x, y, x + 13, y + 13};
    UINT state = isCheckBox ? UINT(DFCS_BUTTONCHECK) : UINT(DFCS_BUTTONRADIO);
    if (checked) state |= DFCS_CHECKED;
    DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON, state);
}

// ---------------------------------------------------------------- editor options

namespace {
const char* const kOptionsKey = "SOFTWARE\\Korvelo\\Chart\\Editor";

std::string DefaultOptionsFile()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string dir = xdg && *xdg ? xdg : std::string(home ? home : ".") + "/.config";
    return dir + "/Korvelo/ChartEditor.ini";
}
}  // namespace

std::string ChartEditorOptionsFile = DefaultOptionsFile();

bool ChartReadBoolOption(const std::string& name, bool def)
{
    return base::TIniFile(ChartEditorOptionsFile).ReadBool(kOptionsKey, name, def);
}

int ChartReadIntegerOption(const std::string& name, int def)
{
    return int(base::TIniFile(ChartEditorOptionsFile).ReadInteger(kOptionsKey, name, def));
}

void ChartSaveBoolOption(const std::string& name, bool value)
{
    base::TIniFile(ChartEditorOptionsFile).WriteBool(kOptionsKey, name, value);
}

void ChartSaveIntegerOption(const std::string& name, int value)
{
    base::TIniFile(ChartEditorOptionsFile).WriteInteger(kOptionsKey, name, value);
}

// ---------------------------------------------------------------- TChartExportData

void TChartExportData::CopyToClipboard() { Clipboard()->SetAsText(AsString()); }

void TChartExportData::SaveToStream(std::ostream& s)
{
    const std::string text = AsString();
    s.write(text.data(), std::streamsize(text.size()));
}

bool TChartExportData::SaveToFile(const std::string& fileName)
{
    return base::WriteFileAtomic(fileName, AsString());
}

}  // namespace chart

// Axis scale, value-to-pixel mapping, label steps and label texts.
#include "widgets/chart/ChartAxis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/StrUtils.h"
#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartSeries.h"

namespace chart {

using namespace platform;

const double MinAxisIncrement = 1e-12;
const double MinAxisRange = 1e-10;
const int ChartAxisClickGap = 3;
const char ChartLineSeparator = 13;
int MaxPixelCoordinate = 0x3FFFFFF;

namespace {
int Round(double v) { return int(std::nearbyint(v)); }
}  // namespace

double NextNiceStep(double x)
{
    if (!(x > 0) || std::isinf(x)) return x;
    if (x >= 10) return NextNiceStep(x * 0.1) * 10;
    if (x < 1) return NextNiceStep(x * 10) * 0.1;
    return x < 2 ? 2 : x < 5 ? 5 : 10;
}

// ---------------------------------------------------------------- life

TChartAxis::TChartAxis(TCustomAxisPanel* chart) : chart_(chart)
{
    auto change = [this](TObject*) { Changed(); };
    axisPen_ = std::make_unique<TChartAxisPen>(change);
    ticks_ = std::make_unique<TDarkGrayPen>(change);
    ticksInner_ = std::make_unique<TDarkGrayPen>(change);
    minorTicks_ = std::make_unique<TDarkGrayPen>(change);
    grid_ = std::make_unique<TAxisGridPen>(change);
    minorGrid_ = std::make_unique<TChartHiddenPen>(change);
    title_ = std::make_unique<TChartAxisTitle>(chart);
    items_ = std::make_unique<TAxisItems>(this);
    valuesFormat_ = ChartMsg_DefValueFormat;
    SetCalcPosValue();
    chart_->AxisList().Add(this);
}

TChartAxis::~TChartAxis()
{
    for (TChartSeries* s : chart_->SeriesList()) s->AxisRemoved(this);
    chart_->AxisList().Remove(this);
}

void TChartAxis::Changed()
{
    if (chart_) chart_->Invalidate();
}

// ---------------------------------------------------------------- setters

void TChartAxis::SetAutomatic(bool v)
{
    automatic_ = v;
    if (!chart_->Loading) {
        automaticMinimum_ = v;
        automaticMaximum_ = v;
    }
    Changed();
}

void TChartAxis::SetAutoMinMax(bool& flag, bool other, bool v)
{
    flag = v;
    if (!v) automatic_ = false;
    else if (other) automatic_ = true;
    Changed();
}

void TChartAxis::SetAutomaticMaximum(bool v) { SetAutoMinMax(automaticMaximum_, automaticMinimum_, v); }
void TChartAxis::SetAutomaticMinimum(bool v) { SetAutoMinMax(automaticMinimum_, automaticMaximum_, v); }

void TChartAxis::SetMinimum(double v)
{
    if (!chart_->Loading && v > maximum_) throw AxisException(ChartMsg_AxisMinMax);
    Set(minimum_, v);
}

void TChartAxis::SetMaximum(double v)
{
    if (!chart_->Loading && v < minimum_) throw AxisException(ChartMsg_AxisMaxMin);
    Set(maximum_, v);
}

void TChartAxis::SetDesiredIncrement(double v)
{
    if (v < 0) throw AxisException(ChartMsg_AxisIncrementNeg);
    Set(increment_, v);
}

void TChartAxis::SetLogarithmicBase(double v)
{
    if (v == 1 || v <= 0) throw AxisException(ChartMsg_AxisLogBase);
    Set(logBase_, v);
}

void TChartAxis::SetLogarithmic(bool v)
{
    if (v && !logarithmic_) {
        if (IsDateTime()) throw AxisException(ChartMsg_AxisLogDateTime);
        AdjustMaxMin();
        if (!(ScaleMinimum >= 0 && ScaleMaximum >= 0)) throw AxisException(ChartMsg_AxisLogNotPositive);
    }
    Set(logarithmic_, v);
    SetCalcPosValue();
}

void TChartAxis::SetHorizontal(bool v)
{
    horizontal_ = v;
    SetCalcPosValue();
    Changed();
}

void TChartAxis::SetInverted(bool v) { Set(inverted_, v); }
void TChartAxis::SetOtherSide(bool v) { Set(otherSide_, v); }
void TChartAxis::SetMaximumOffset(int v) { Set(maximumOffset_, v); }
void TChartAxis::SetMinimumOffset(int v) { Set(minimumOffset_, v); }
void TChartAxis::SetStartPosition(double v) { Set(startPosition_, v); }
void TChartAxis::SetEndPosition(double v) { Set(endPosition_, v); }
void TChartAxis::SetPositionPercent(double v) { Set(positionPercent_, v); }
void TChartAxis::SetPosUnits(TChartUnits v) { Set(positionUnits_, v); }
void TChartAxis::SetVisible(bool v) { Set(visible_, v); }
void TChartAxis::SetZPosition(double v) { Set(zPosition_, v == 0 ? 0.01 : v); }

void TChartAxis::SetLabelStyle(TAxisLabelStyle v) { Set(labelStyle_, v); }
bool TChartAxis::GetLabels() const { return items_->Format().Visible(); }
void TChartAxis::SetLabels(bool v) { items_->Format().SetVisible(v); }
TChartFont& TChartAxis::GetLabelsFont() { return items_->Format().Font(); }
void TChartAxis::SetLabelsFont(const TChartFont& font) { items_->Format().Font().Assign(font); }

void TChartAxis::SetLabelsSeparation(int v)
{
    if (v < 0) throw AxisException(ChartMsg_AxisLabelSep);
    Set(labelsSeparation_, v);
}

void TChartAxis::SetValuesFormat(const std::string& v) { Set(valuesFormat_, v); }
bool TChartAxis::IsAxisValuesFormatStored() const { return valuesFormat_ != ChartMsg_DefValueFormat; }
void TChartAxis::SetDateTimeFormat(const std::string& v) { Set(dateTimeFormat_, v); }
void TChartAxis::SetLabelsAngle(int v) { Set(labelsAngle_, v % 360); }

// ---------------------------------------------------------------- scale

void TChartAxis::CalcMinMax(double& aMin, double& aMax)
{
    if (automatic_ || automaticMaximum_) aMax = chart_->InternalMinMax(*this, false, horizontal_);
    if (automatic_ || automaticMinimum_) aMin = chart_->InternalMinMax(*this, true, horizontal_);
}

double TChartAxis::LabelResolution(double magnitude) const
{
    // The smallest step between two value labels that read differently.
    const std::string f = valuesFormat_.substr(0, valuesFormat_.find(';'));
    if (f.empty()) return magnitude * 1e-14;  // general format: about 15 digits
    int decimals = 0;
    const std::size_t dot = f.find('.');
    if (dot != std::string::npos)
        for (std::size_t i = dot + 1; i < f.size() && (f[i] == '0' || f[i] == '#'); ++i) ++decimals;
    const double step = std::pow(10.0, -decimals);
    return f.find_first_of("Ee") != std::string::npos ? magnitude * step : step;
}

void TChartAxis::AdjustMaxMin()
{
    CalcMinMax(minimum_, maximum_);
    // Values equal but for noise far below what the labels show (LCB of a symmetric hull)
    // are taken as one value: scaled to the noise, the axis would draw only zig-zags.
    if ((automatic_ || (automaticMinimum_ && automaticMaximum_)) && !logarithmic_ && !IsDepthAxis && !IsDateTime()) {
        const double range = maximum_ - minimum_,
                     magnitude = std::max(std::fabs(minimum_), std::fabs(maximum_));
        if (range > 0 && range < LabelResolution(magnitude) && range < magnitude * 1e-3)
            minimum_ = maximum_ = minimum_ + range / 2;
    }
    ScaleMaximum = maximum_;
    ScaleMinimum = minimum_;
    InternalCalcRange();
}

void TChartAxis::InternalCalcRange()
{
    ScaleRange = ScaleMaximum - ScaleMinimum;
    ScaleRangeIsZero = ScaleRange == 0;
    PixelsPerUnit = ScaleRangeIsZero ? 0 : PixelSize / ScaleRange;
    if (logarithmic_) {
        LogScaleMinimum = ScaleMinimum > 0 ? std::log(ScaleMinimum) : 0;
        LogScaleMaximum = ScaleMaximum > 0 ? std::log(ScaleMaximum) : 0;
        LogScaleRange = LogScaleMaximum - LogScaleMinimum;
        PixelsPerLogUnit = LogScaleRange == 0 ? 0 : PixelSize / LogScaleRange;
    }
    DepthPixel = CalcZPos();
}

void TChartAxis::InternalCalcPositions()
{
    int s, l;
    if (IsDepthAxis) {
        s = 0;
        l = chart_->Depth3D;
    } else if (horizontal_) {
        s = chart_->ChartRect.Left;
        l = chart_->ChartRect.Width();
    } else {
        s = chart_->ChartRect.Top;
        l = chart_->ChartRect.Height();
    }
    StartPixel = s + Round(l * 0.01 * startPosition_);
    EndPixel = s + Round(l * 0.01 * endPosition_);
    RecalcSizeCenter();
}

void TChartAxis::RecalcSizeCenter()
{
    PixelSize = EndPixel - StartPixel;
    CenterPixel = (StartPixel + EndPixel) / 2;
    InternalCalcRange();
}

void TChartAxis::AdjustMaxMinRect(const TRect& r)
{
    const int a = horizontal_ ? r.Left : r.Top, b = horizontal_ ? r.Right : r.Bottom;
    const int oldStart = StartPixel, oldEnd = EndPixel;
    StartPixel += a;
    EndPixel -= b;
    PixelSize = EndPixel - StartPixel;
    const double v1 = CalcPosPoint(oldStart), v2 = CalcPosPoint(oldEnd);
    InternalCalcPositions();
    ScaleMinimum = std::min(v1, v2);
    ScaleMaximum = std::max(v1, v2);
    InternalCalcRange();
}

void TChartAxis::SetMinMax(double aMin, double aMax)
{
    automatic_ = automaticMinimum_ = automaticMaximum_ = false;
    if (aMin > aMax) std::swap(aMin, aMax);
    minimum_ = aMin;
    maximum_ = aMax;
    if (maximum_ - minimum_ < MinAxisRange) maximum_ = minimum_ + MinAxisRange;
    chart_->CustomAxes().ResetScales(*this);
    Changed();
}

void TChartAxis::Scroll(double offset, bool checkLimits)
{
    if (checkLimits) {
        if (offset > 0) {
            if (!(chart_->InternalMinMax(*this, false, horizontal_) > maximum_)) return;
        } else if (offset < 0) {
            if (!(chart_->InternalMinMax(*this, true, horizontal_) < minimum_)) return;
        } else {
            return;
        }
    }
    automatic_ = automaticMaximum_ = automaticMinimum_ = false;
    maximum_ += offset;
    minimum_ += offset;
    Changed();
}

bool TChartAxis::IsDateTime() const
{
    for (TChartSeries* s : chart_->SeriesList()) {
        if (!s->Active()) continue;
        if (TChartValueList* l = s->ValueListOfAxis(this)) return l->DateTime();
    }
    return false;
}

bool TChartAxis::IsCustom() const { return chart_->AxisList().IndexOf(this) > 5; }

int TChartAxis::ApplyPosition(int pos, const TRect& r) const
{
    if (positionPercent_ == 0) return pos;
    int p = positionUnits_ == muPixels ? Round(positionPercent_)
                                       : Round(positionPercent_ * 0.01 * (horizontal_ ? r.Height() : r.Width()));
    if (otherSide_) p = -p;
    return horizontal_ ? pos - p : pos + p;
}

int TChartAxis::GetRectangleEdge(const TRect& r) const
{
    if (horizontal_) return otherSide_ ? r.Top : r.Bottom;
    return otherSide_ ? r.Right : r.Left;
}

int TChartAxis::CalcZPos() const
{
    const int d = IsDepthAxis ? chart_->ChartRect.Height() : chart_->Depth3D;
    return Round(zPosition_ * d * 0.01);
}

// ---------------------------------------------------------------- mapping

int TChartAxis::XPosValue(double v) const
{
    if (ScaleRangeIsZero) return CenterPixel;
    const int d = Round((v - ScaleMinimum) * PixelsPerUnit);
    return inverted_ ? EndPixel - d : StartPixel + d;
}

int TChartAxis::YPosValue(double v) const
{
    if (ScaleRangeIsZero) return CenterPixel;
    const int d = Round((v - ScaleMinimum) * PixelsPerUnit);
    return inverted_ ? StartPixel + d : EndPixel - d;
}

namespace {
int Clamp(double p)
{
    if (std::isnan(p)) return 0;
    if (p > MaxPixelCoordinate) return MaxPixelCoordinate;
    if (p < -MaxPixelCoordinate) return -MaxPixelCoordinate;
    return Round(p);
}
}  // namespace

int TChartAxis::XPosValueCheck(double v) const
{
    if (ScaleRangeIsZero) return CenterPixel;
    const double d = (v - ScaleMinimum) * PixelsPerUnit;
    return Clamp(inverted_ ? EndPixel - d : StartPixel + d);
}

int TChartAxis::YPosValueCheck(double v) const
{
    if (ScaleRangeIsZero) return CenterPixel;
    const double d = (v - ScaleMinimum) * PixelsPerUnit;
    return Clamp(inverted_ ? StartPixel + d : EndPixel - d);
}

int TChartAxis::LogXPosValue(double v) const
{
    if (LogScaleRange == 0) return CenterPixel;
    if (v <= 0) return inverted_ ? EndPixel : StartPixel;
    const double t = inverted_ ? LogScaleMaximum - std::log(v) : std::log(v) - LogScaleMinimum;
    return StartPixel + Clamp(PixelsPerLogUnit * t);
}

int TChartAxis::LogYPosValue(double v) const
{
    if (LogScaleRange == 0) return CenterPixel;
    if (v <= 0) return inverted_ ? StartPixel : EndPixel;
    const double t = inverted_ ? LogScaleMaximum - std::log(v) : std::log(v) - LogScaleMinimum;
    return EndPixel - Clamp(PixelsPerLogUnit * t);
}

int TChartAxis::InternalCalcDepthPosValue(double v) const
{
    if (ScaleRangeIsZero) return CenterPixel;
    return inverted_ ? Clamp(PixelsPerUnit * (ScaleMaximum - v)) : Clamp((v - ScaleMinimum) * PixelsPerUnit);
}

void TChartAxis::SetCalcPosValue()
{
    if (IsDepthAxis) mapping_ = mapDepth;
    else if (logarithmic_) mapping_ = mapLog;
    else if (chart_ && chart_->HasAxisList() && chart_->AxisList().FastCalc()) mapping_ = mapFast;
    else mapping_ = mapChecked;
}

int TChartAxis::ValueToXPixel(double v) const
{
    switch (mapping_) {
    case mapDepth: return InternalCalcDepthPosValue(v);
    case mapLog: return LogXPosValue(v);
    case mapFast: return XPosValue(v);
    default: return XPosValueCheck(v);
    }
}

int TChartAxis::ValueToYPixel(double v) const
{
    switch (mapping_) {
    case mapDepth: return InternalCalcDepthPosValue(v);
    case mapLog: return LogYPosValue(v);
    case mapFast: return YPosValue(v);
    default: return YPosValueCheck(v);
    }
}

double TChartAxis::CalcPosPoint(int p) const
{
    if (!logarithmic_) {
        if (PixelSize < 1) return 0;
        const double t = (inverted_ ? EndPixel - p : p - StartPixel) * ScaleRange / PixelSize;
        return horizontal_ ? ScaleMinimum + t : ScaleMaximum - t;
    }
    const bool startIsMax = (horizontal_ && inverted_) || (!horizontal_ && !inverted_);
    if (p == StartPixel) return startIsMax ? ScaleMaximum : ScaleMinimum;
    if (p == EndPixel) return startIsMax ? ScaleMinimum : ScaleMaximum;
    if (LogScaleRange != 0 && PixelSize != 0) {
        const double t = (inverted_ ? EndPixel - p : p - StartPixel) * LogScaleRange / PixelSize;
        return horizontal_ ? std::exp(LogScaleMinimum + t) : std::exp(LogScaleMaximum - t);
    }
    return ScaleMinimum;
}

int TChartAxis::CalcSizeValue(double v) const
{
    if (v <= 0) return 0;
    if (logarithmic_) return LogScaleRange != 0 ? Round(std::log(v) * PixelsPerLogUnit) : 0;
    return ScaleRange != 0 ? Round(v * PixelsPerUnit) : 0;
}

// ---------------------------------------------------------------- label steps

double TChartAxis::RoundLogPower(double v) const
{
    return std::pow(logBase_, std::nearbyint(std::log(v) / std::log(logBase_)));
}

double TChartAxis::CalcLabelsIncrement(int n)
{
    if (n < 1) return DateTimeMode ? DateTimeStep[dtOneMicroSecond] : MinAxisIncrement;
    if (DateTimeMode) return CalcDateTimeIncrement(n);
    double s;
    if (increment_ > 0) {
        s = increment_;
    } else if (ScaleRange == 0) {
        s = 1;
    } else {
        s = std::fabs(ScaleRange) / (n + 1);
        if (logarithmic_) s = RoundLogPower(s);
        if (ScaleRange >= 1)
            for (TChartSeries* series : chart_->SeriesList())
                if (series->Active() && series->AssociatedToAxis(this) && series->ValuesVertical() == horizontal_ &&
                    series->Count() <= n) {
                    s = std::max(s, 1.0);
                    break;
                }
    }
    if (labelsSeparation_ > 0) {
        auto enlarge = [&] { s = logarithmic_ ? s * logBase_ : NextNiceStep(s); };
        double k = n + 1;
        do {
            const double q = ScaleRange / s;
            if (std::fabs(q) < 2147483647.0) {
                k = std::nearbyint(q);
                if (k > n) enlarge();
            } else {
                enlarge();
            }
        } while (k > n && s <= ScaleRange && !std::isinf(s));
    }
    if (std::isinf(s)) return ScaleRange;
    return std::max(s, MinAxisIncrement);
}

double TChartAxis::CalcDateTimeIncrement(int n)
{
    double s = std::max(DateTimeStep[dtOneMicroSecond], increment_);
    if (s > 0 && n > 0) {
        if (ScaleRange / s > 1000000) s = ScaleRange / 1000000;
        while (std::nearbyint(ScaleRange / s) > n) {
            if (s >= DateTimeStep[dtOneYear]) s *= 2;
            else if (s >= DateTimeStep[dtOneSecond]) s = NextDateTimeStep(s);
            else s = NextNiceStep(s);
        }
    }
    return std::max(DateTimeStep[dtOneMicroSecond], s);
}

double TChartAxis::CalcXYIncrement(int size)
{
    int n = 1;
    if (size > 0) {
        if (labelsSeparation_ > 0) size += Round(labelsSeparation_ * 0.01 * size);
        n = Round(double(PixelSize) / size);
    }
    return CalcLabelsIncrement(n);
}

double TChartAxis::CalcIncrement()
{
    int size = std::max(InternalLabelSize(ScaleMaximum, horizontal_), InternalLabelSize(ScaleMinimum, horizontal_));
    double s = CalcXYIncrement(size);
    // Labels between the ends may be wider than the ends ("1.5" between "1" and "5"):
    // measure one of them too, so that the labels of the chosen step do not overlap.
    if (!DateTimeMode && !logarithmic_ && s > 0 && std::fabs(ScaleRange / s) < 10000) {
        const int inner = InternalLabelSize(std::trunc(ScaleMinimum / s) * s + s, horizontal_);
        if (inner > size) s = CalcXYIncrement(inner);
    }
    if (labelsAlternate_) s = logarithmic_ ? s / logBase_ : s / 2;
    return s;
}

TAxisLabelStyle TChartAxis::CalcLabelStyle() { return labelStyle_ == talAuto ? InternalCalcLabelStyle() : labelStyle_; }

TAxisLabelStyle TChartAxis::InternalCalcLabelStyle()
{
    TAxisLabelStyle r = talNone;
    for (TChartSeries* s : chart_->SeriesList()) {
        if (!s->Active() || !s->AssociatedToAxis(this)) continue;
        r = talValue;
        if (s->ValuesVertical() == horizontal_ && s->Labels().Count() > 0 && s->Labels().HasLabel(0)) return talText;
    }
    return r;
}

std::string TChartAxis::LabelValue(double v)
{
    std::string text;
    if (!DateTimeMode) text = base::FormatFloat(valuesFormat_, v);
    else if (v >= 0)
        text = base::FormatDateTime(dateTimeFormat_.empty() ? DateTimeDefaultFormat(ScaleRange) : dateTimeFormat_, v);
    if (chart_->OnGetAxisLabel) chart_->OnGetAxisLabel(this, nullptr, -1, text);
    if (labelsMultiLine_) std::replace(text.begin(), text.end(), ' ', ChartLineSeparator);
    return text;
}

int TChartAxis::InternalLabelSize(double v, bool isWidth)
{
    int lines = 0;
    const int w = chart_->MultiLineTextWidth(LabelValue(v), lines);
    const int a = labelsAngle_;
    const bool across = isWidth ? (a == 90 || a == 270) : (a == 0 || a == 180);
    return across ? chart_->ChartCanvas()->GetFontHeight() * lines : w;
}

int TChartAxis::MaxLabelsWidth()
{
    int lines = 0;
    if (items_->Count() > 0) {
        int w = 0;
        for (int i = 0; i < items_->Count(); ++i) {
            chart_->ChartCanvas()->AssignFont(items_->Get(i)->Font());
            w = std::max(w, chart_->MultiLineTextWidth(items_->Get(i)->Text(), lines));
        }
        return w;
    }
    switch (CalcLabelStyle()) {
    case talValue: {
        auto hook = std::move(chart_->OnGetAxisLabel);
        chart_->OnGetAxisLabel = nullptr;
        double lo = ScaleMinimum, hi = ScaleMaximum;
        if ((IsDateTime() && exactDateTime_) || roundFirstLabel_) {
            const double s = CalcIncrement();
            if (s > 0) {
                lo = std::trunc(lo / s) * s;
                hi = std::trunc(hi / s) * s;
            }
        }
        TCanvas3D& c = *chart_->ChartCanvas();
        int w = std::max(c.TextWidth(LabelValue(lo)), c.TextWidth(LabelValue(hi)));
        // The labels between may be wider than the ends ("0.55" between "0" and "1"):
        // every label of the sequence is measured too, leaving the ticks as they were.
        const double s = CalcIncrement();
        if (!chart_->OnGetNextAxisLabel && s > 0 && ScaleMaximum >= ScaleMinimum) {
            std::vector<int> ticks;
            ticks.swap(TickPixels);
            const double keepMinimum = ScaleMinimum;
            auto measure = [&](int, const std::string& text) {
                int lines = 0;
                w = std::max(w, chart_->MultiLineTextWidth(text, lines));
            };
            if (logarithmic_ && increment_ == 0) LogSequence(measure);
            else LabelSequence(s, LabelDateStep(s), measure);
            ScaleMinimum = keepMinimum;
            TickPixels.swap(ticks);
        }
        chart_->OnGetAxisLabel = std::move(hook);
        return w + c.TextWidth(" ");
    }
    case talMark: return chart_->MaxMarkWidth();
    case talText: return chart_->MaxTextWidth();
    default: return 0;
    }
}

void TChartAxis::IncDecDateTime(bool increment, double& value, double anIncrement, TDateTimeStep step)
{
    ChartDateTimeIncrement(exactDateTime_ && DateTimeMode && step >= dtHalfMonth && step != dtNone, increment, value,
                           anIncrement, step);
}

// ---------------------------------------------------------------- label sequences

void TChartAxis::LabelSequence(double s, TDateTimeStep idx, const std::function<void(int, const std::string&)>& draw)
{
    if (std::fabs(ScaleRange / s) >= 10000) return;
    auto place = [&](double v) {
        const int p = ValueToPixel(v);
        if (labelsOnAxis_ || (StartPixel < p && p < EndPixel)) {
            if (!tickOnLabelsOnly_) TickPixels.push_back(p);
            if (GetLabels()) draw(p, LabelValue(v));
        }
    };
    double v;
    if (DateTimeMode && exactDateTime_ && idx >= dtOneDay && idx <= dtOneYear) v = ChartRoundDate(ScaleMaximum, idx);
    else if (base::FloatToStr(ScaleMinimum) == base::FloatToStr(ScaleMaximum) || !roundFirstLabel_) v = ScaleMaximum;
    else v = std::trunc(ScaleMaximum / s) * s;
    for (int guard = 0; v > ScaleMaximum && guard < 100000; ++guard) IncDecDateTime(false, v, s, idx);
    if (ScaleRange == 0 || std::fabs(ScaleMaximum - ScaleMinimum) < 1e-10 ||
        base::FloatToStr(v) == base::FloatToStr(v - s)) {
        place(v);
        return;
    }
    const double limit = ScaleMinimum >= 0 ? (ScaleMinimum - MinAxisIncrement) / (1 + MinAxisIncrement) : ScaleMinimum;
    for (int guard = 0; v >= limit && guard < 10000; ++guard) {
        place(v);
        IncDecDateTime(false, v, s, idx);
    }
}

void TChartAxis::LogSequence(const std::function<void(int, const std::string&)>& draw)
{
    if (ScaleMinimum == ScaleMaximum) return;
    if (ScaleMinimum <= 0) ScaleMinimum = ScaleMinimum == 0 ? 0.1 : RoundLogPower(MinAxisRange);
    double v = ScaleMinimum > 0 ? RoundLogPower(ScaleMinimum) : ScaleMinimum;
    const double start = v;
    auto logb = [&](double x) { return std::log(x) / std::log(logBase_); };
    if (MinorGrid().Visible()) {
        double t = v;
        if (t >= ScaleMinimum) t = std::pow(logBase_, logb(ScaleMinimum) - 1);
        if (t < ScaleMinimum) TickPixels.push_back(ValueToPixel(t));
    }
    bool placed = false;
    auto place = [&](double x) {
        const int p = ValueToPixel(x);
        if (!labelsOnAxis_ && !(StartPixel < p && p < EndPixel)) return;
        placed = true;
        if (!tickOnLabelsOnly_) TickPixels.push_back(p);
        if (GetLabels()) draw(p, LabelValue(x));
    };
    if (logBase_ > 1)
        for (double x = v; x <= ScaleMaximum * (1 + 1e-12); x *= logBase_)
            if (x >= ScaleMinimum * (1 - 1e-12)) place(x);
    if (!placed) {
        const double d = std::pow(logBase_, logb(v) - 1);
        if (d > 0)
            for (double x = v; x <= ScaleMaximum * (1 + 1e-12); x += d)
                if (x >= ScaleMinimum * (1 - 1e-12)) place(x);
    }
    if (MinorGrid().Visible() && start > ScaleMaximum) TickPixels.push_back(ValueToPixel(start));
}

void TChartAxis::CustomSequence(double s, TDateTimeStep idx, const std::function<void(int, const std::string&)>& draw)
{
    double v = ScaleMinimum;
    bool stop = true;
    for (int i = 0; i <= 2000; ++i) {
        chart_->OnGetNextAxisLabel(this, i, v, stop);
        if (stop) {
            if (i == 0) {
                if (logarithmic_ && increment_ == 0) LogSequence(draw);
                else LabelSequence(s, idx, draw);
            }
            return;
        }
        if (v < ScaleMinimum - 1e-7 || v > ScaleMaximum + 1e-7) return;
        const int p = ValueToPixel(v);
        if (!tickOnLabelsOnly_) TickPixels.push_back(p);
        if (GetLabels()) draw(p, LabelValue(v));
    }
}

void TChartAxis::SeriesSequence(TAxisLabelStyle style, const std::function<void(int, const std::string&)>& draw)
{
    AxisSeries.clear();
    int first = -1, last = -1;
    for (TChartSeries* s : chart_->SeriesList()) {
        if (!s->Active() || !s->AssociatedToAxis(this)) continue;
        AxisSeries.push_back(s);
        s->CalcFirstLastVisibleIndex();
        if (s->FirstShownIndex != -1 && (first == -1 || s->FirstShownIndex < first)) first = s->FirstShownIndex;
        last = std::max(last, s->LastShownIndex);
    }
    if (first == -1) {
        AxisSeries.clear();
        return;
    }
    bool byHeight = !horizontal_;
    if (labelsAngle_ == 90 || labelsAngle_ == 270) byHeight = !byHeight;
    TCanvas3D& c = *chart_->ChartCanvas();
    bool drawnAny = false;
    int lastP = 0, lastHalf = 0;
    for (int i = first; i <= last; ++i) {
        std::string text;
        double value = 0;
        bool found = false;
        for (TChartSeries* s : AxisSeries) {
            if (i < s->FirstShownIndex || i > s->LastShownIndex) continue;
            text = style == talMark ? s->GetMarkText(i) : s->GetXLabel(i);
            if (chart_->OnGetAxisLabel) chart_->OnGetAxisLabel(this, s, i, text);
            if (!text.empty()) {
                value = horizontal_ ? s->GetxValue(i) : s->GetyValue(i);
                found = true;
                break;
            }
        }
        if (!found || value < ScaleMinimum || value > ScaleMaximum) continue;
        const int p = ValueToPixel(value);
        if (!tickOnLabelsOnly_) TickPixels.push_back(p);
        if (!GetLabels()) continue;
        int lines = 0;
        const int w = chart_->MultiLineTextWidth(text, lines);
        const int size = byHeight ? c.GetFontHeight() * lines : w;
        if (labelsSeparation_ != 0 && drawnAny) {
            const int half = (size + int(std::trunc(size * 0.02 * labelsSeparation_))) / 2;
            const bool clear = p >= lastP ? p - half >= lastP + lastHalf : p + half <= lastP - lastHalf;
            if (!clear) continue;
            draw(p, text);
            lastP = p;
            lastHalf = half;
        } else {
            draw(p, text);
            drawnAny = true;
            lastP = p;
            lastHalf = size / 2;
        }
    }
    AxisSeries.clear();
}

void TChartAxis::SeriesTitleSequence(const std::function<void(int, const std::string&)>& draw)
{
    if (chart_->CountActiveSeries() == 0) return;
    for (int i = int(std::trunc(ScaleMinimum)); i <= int(std::trunc(ScaleMaximum)); ++i) {
        const int p = ValueToYPixel(ScaleMaximum - i - 0.5);
        if (!tickOnLabelsOnly_) TickPixels.push_back(p);
        if (!GetLabels()) continue;
        std::string text = chart_->SeriesTitleLegend(i, true);
        if (chart_->OnGetAxisLabel) chart_->OnGetAxisLabel(this, nullptr, i, text);
        draw(p, text);
    }
}

TDateTimeStep TChartAxis::LabelDateStep(double s) const
{
    TDateTimeStep idx = dtNone;
    if (DateTimeMode && exactDateTime_ && increment_ != 0) {
        idx = FindDateTimeStep(increment_);
        if (idx != dtNone)
            while (s > DateTimeStep[idx] && idx < dtOneYear) idx = TDateTimeStep(idx + 1);
    }
    return idx;
}

void TChartAxis::DrawLabels(TAxisLabelStyle style)
{
    auto draw = [this](int p, const std::string& text) { LabelDrawer(p, text, nullptr); };
    if (items_->Count() > 0) {
        for (int i = 0; i < items_->Count(); ++i) {
            TAxisItem* item = items_->Get(i);
            if (item->Value() < minimum_ || item->Value() > maximum_) continue;
            const int p = ValueToPixel(item->Value());
            if (!tickOnLabelsOnly_) TickPixels.push_back(p);
            if (item->Visible()) LabelDrawer(p, item->Text().empty() ? LabelValue(item->Value()) : item->Text(), item);
        }
        return;
    }
    if (style == talNone) return;
    chart_->ChartCanvas()->AssignFont(GetLabelsFont());
    const double s = CalcIncrement();
    const TDateTimeStep idx = LabelDateStep(s);
    drawStep_ = idx;
    if (!((s > 0 || (idx >= dtHalfMonth && idx <= dtOneYear)) && ScaleMaximum >= ScaleMinimum)) return;
    if (style == talValue) {
        if (chart_->OnGetNextAxisLabel) CustomSequence(s, idx, draw);
        else if (logarithmic_ && increment_ == 0) LogSequence(draw);
        else LabelSequence(s, idx, draw);
    } else if (style == talMark) {
        SeriesSequence(style, draw);
    } else if (style == talText) {
        if (IsDepthAxis) SeriesTitleSequence(draw);
        else SeriesSequence(style, draw);
    }
}

// ---------------------------------------------------------------- depth axis

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* chart) : TChartAxis(chart)
{
    IsDepthAxis = true;
    SetCalcPosValue();
    SetVisible(false);
}

TAxisLabelStyle TChartDepthAxis::InternalCalcLabelStyle()
{
    for (TChartSeries* s : chart_->SeriesList())
        if (s->Active() && s->MinZValue() != s->MaxZValue()) return talValue;
    return talText;
}

void TChartDepthAxis::SetInverted(bool v)
{
    TChartAxis::SetInverted(v);
    TChartAxis& other = this == &chart_->DepthAxis() ? static_cast<TChartAxis&>(chart_->DepthTopAxis())
                                                    : static_cast<TChartAxis&>(chart_->DepthAxis());
    if (&other != this) other.InternalSetInverted(v);
}

}  // namespace chart

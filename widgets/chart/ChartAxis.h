#pragma once
// A chart axis: its scale (automatic or fixed, linear, logarithmic, date-time, depth),
// the mapping between values and pixels, label steps and texts, the room it takes and
// its drawing; and the containers around it (axis lists, custom axes, pens, title,
// custom labels).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartProcs.h"
#include "widgets/chart/ChartShape.h"

namespace chart {

class TCustomAxisPanel;
class TChartSeries;
class TAxisItems;
class TChartAxis;

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };
// Pixel positions of an axis' major ticks.
using TAxisTicks = std::vector<int>;
enum TAxisLabelAlign { alDefault, alOpposite };

extern const double MinAxisIncrement;  // 1e-12
extern const double MinAxisRange;      // 1e-10
extern const int ChartAxisClickGap;    // 3
extern const char ChartLineSeparator;  // character 13
// Clamped pixel positions stay within ± this.
extern int MaxPixelCoordinate;

double NextNiceStep(double old);

class TChartAxisPen : public TChartPen {
public:
    explicit TChartAxisPen(platform::TNotifyEvent change);
};

class TAxisGridPen : public TDottedGrayPen {
public:
    explicit TAxisGridPen(platform::TNotifyEvent change) : TDottedGrayPen(std::move(change)) {}
    void Assign(const platform::TPersistent& source) override;
    void GetPublished(platform::TPropertyList& L) override;
    double ZPosition() const { return zPosition_; }
    void SetZ(double v);
    double DefaultZPosition = 0;
    bool IsZStored() const { return zPosition_ != DefaultZPosition; }
    bool Centered() const { return centered_; }
    void SetCentered(bool v);

private:
    double zPosition_ = 0;
    bool centered_ = false;
};

class TChartAxisTitle : public TChartCustomShape {
public:
    explicit TChartAxisTitle(TCustomChartPanel* parent);
    void Assign(const platform::TPersistent& source) override;
    int Angle() const { return angle_; }
    void SetAngle(int v);
    int DefaultAngle = 0;
    bool IsAngleStored() const { return angle_ != DefaultAngle; }
    void GetPublished(platform::TPropertyList& L) override;
    const TChartAxisTitle* StreamTwin = nullptr;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v);

private:
    int angle_ = 0;
    std::string caption_;
};

class TAxisItem : public TChartCustomShape {
public:
    TAxisItem(TAxisItems* owner, TCustomChartPanel* parent);
    double Value() const { return value_; }
    void SetValue(double v);
    const std::string& Text() const { return text_; }
    void SetText(const std::string& v);
    void RepaintAxis();

private:
    friend class TAxisItems;
    TAxisItems* owner_;
    double value_ = 0;
    std::string text_;
};

class TAxisItems {
public:
    explicit TAxisItems(TChartAxis* axis);
    ~TAxisItems();
    TAxisItem* Add(double value);
    TAxisItem* Add(double value, const std::string& text);
    void CopyFrom(const TAxisItems& source);
    void Clear();
    TAxisItem* Get(int i) const { return items_[std::size_t(i)].get(); }
    int Count() const { return int(items_.size()); }
    TChartShape& Format() { return *format_; }
    TChartAxis* Axis() const { return axis_; }

private:
    TChartAxis* axis_;
    std::unique_ptr<TChartShape> format_;
    std::vector<std::unique_ptr<TAxisItem>> items_;
};

using TAxisDrawLabelEvent =
    std::function<void(TChartAxis* sender, int& x, int& y, int& z, std::string& text, bool& drawLabel)>;

class TChartAxis : public platform::TPersistent {
public:
    using platform::TPersistent::Assign;
    // Joins the chart's axis list; after the six built-in axes it is also a custom axis.
    explicit TChartAxis(TCustomAxisPanel* chart);
    ~TChartAxis() override;
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;
    // Copies every setting of another axis (not ZPosition or OnDrawLabel).
    virtual void Assign(const TChartAxis& source);
    TCustomAxisPanel* ParentChart() const { return chart_; }

    // Scale.
    bool Automatic() const { return automatic_; }
    void SetAutomatic(bool v);
    bool AutomaticMaximum() const { return automaticMaximum_; }
    void SetAutomaticMaximum(bool v);
    bool AutomaticMinimum() const { return automaticMinimum_; }
    void SetAutomaticMinimum(bool v);
    double Maximum() const { return maximum_; }
    void SetMaximum(double v);
    double Minimum() const { return minimum_; }
    void SetMinimum(double v);
    void InternalSetMaximum(double v) { maximum_ = v; }
    void InternalSetMinimum(double v) { minimum_ = v; }
    int MaximumOffset() const { return maximumOffset_; }
    void SetMaximumOffset(int v);
    int MinimumOffset() const { return minimumOffset_; }
    void SetMinimumOffset(int v);
    double Increment() const { return increment_; }
    void SetDesiredIncrement(double v);
    bool Inverted() const { return inverted_; }
    virtual void SetInverted(bool v);
    void InternalSetInverted(bool v) { inverted_ = v; }
    bool Logarithmic() const { return logarithmic_; }
    void SetLogarithmic(bool v);
    double LogarithmicBase() const { return logBase_; }
    void SetLogarithmicBase(double v);
    bool Horizontal() const { return horizontal_; }
    void SetHorizontal(bool v);
    bool OtherSide() const { return otherSide_; }
    void SetOtherSide(bool v);
    double StartPosition() const { return startPosition_; }
    void SetStartPosition(double v);
    double EndPosition() const { return endPosition_; }
    void SetEndPosition(double v);
    double PositionPercent() const { return positionPercent_; }
    void SetPositionPercent(double v);
    TChartUnits PositionUnits() const { return positionUnits_; }
    void SetPosUnits(TChartUnits v);
    double ZPosition() const { return zPosition_; }
    void SetZPosition(double v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);

    double ScaleMinimum = 0, ScaleMaximum = 0, ScaleRange = 0;
    bool ScaleRangeIsZero = true;
    double PixelsPerUnit = 0, LogScaleMinimum = 0, LogScaleMaximum = 0, LogScaleRange = 0, PixelsPerLogUnit = 0;
    int StartPixel = 0, EndPixel = 0, PixelSize = 0, CenterPixel = 0;
    int AxisLinePos = 0, LabelsLinePos = 0, TitleLinePos = 0, DepthPixel = 0;
    bool DateTimeMode = false;
    bool IsDepthAxis = false;
    TChartAxis* MasterAxis = nullptr;
    TAxisTicks TickPixels;
    // The series shown on this axis, gathered while labels are measured or drawn.
    std::vector<TChartSeries*> AxisSeries;

    void CalcMinMax(double& aMin, double& aMax);
    void AdjustMaxMin();
    void AdjustMaxMinRect(const TRect& r);
    void InternalCalcRange();
    void InternalCalcPositions();
    void RecalcSizeCenter();
    void SetMinMax(double aMin, double aMax);
    void Scroll(double offset, bool checkLimits);
    bool IsDateTime() const;
    bool IsCustom() const;
    int ApplyPosition(int pos, const TRect& r) const;
    int GetRectangleEdge(const TRect& r) const;
    int CalcZPos() const;

    // Mapping.
    int XPosValue(double v) const;
    int YPosValue(double v) const;
    int XPosValueCheck(double v) const;
    int YPosValueCheck(double v) const;
    int LogXPosValue(double v) const;
    int LogYPosValue(double v) const;
    int InternalCalcDepthPosValue(double v) const;
    int ValueToXPixel(double v) const;
    int ValueToYPixel(double v) const;
    int ValueToPixel(double v) const { return horizontal_ ? ValueToXPixel(v) : ValueToYPixel(v); }
    void SetCalcPosValue();
    double CalcPosPoint(int p) const;
    int CalcSizeValue(double v) const;

    // Labels.
    TAxisLabelStyle LabelStyle() const { return labelStyle_; }
    void SetLabelStyle(TAxisLabelStyle v);
    bool GetLabels() const;
    void SetLabels(bool v);
    TChartFont& GetLabelsFont();
    void SetLabelsFont(const TChartFont& font);
    int LabelsSeparation() const { return labelsSeparation_; }
    void SetLabelsSeparation(int v);
    const std::string& AxisValuesFormat() const { return valuesFormat_; }
    void SetValuesFormat(const std::string& v);
    // The format differs from the default one.
    bool IsAxisValuesFormatStored() const;
    const std::string& DateTimeFormat() const { return dateTimeFormat_; }
    void SetDateTimeFormat(const std::string& v);
    bool ExactDateTime() const { return exactDateTime_; }
    void SetExactDateTime(bool v) { Set(exactDateTime_, v); }
    bool RoundFirstLabel() const { return roundFirstLabel_; }
    void SetRoundFirstLabel(bool v) { Set(roundFirstLabel_, v); }
    bool LabelsOnAxis() const { return labelsOnAxis_; }
    void SetLabelsOnAxis(bool v) { Set(labelsOnAxis_, v); }
    bool LabelsMultiLine() const { return labelsMultiLine_; }
    void SetLabelsMultiLine(bool v) { Set(labelsMultiLine_, v); }
    bool LabelsAlternate() const { return labelsAlternate_; }
    void SetLabelsAlternate(bool v) { Set(labelsAlternate_, v); }
    int LabelsAngle() const { return labelsAngle_; }
    void SetLabelsAngle(int v);
    bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
    void SetTickOnLabelsOnly(bool v) { Set(tickOnLabelsOnly_, v); }
    TAxisLabelAlign LabelsAlign() const { return labelsAlign_; }
    void SetLabelsAlign(TAxisLabelAlign v) { Set(labelsAlign_, v); }
    bool LabelsExponent() const { return labelsExponent_; }
    void SetLabelsExponent(bool v) { Set(labelsExponent_, v); }
    int LabelsSize() const { return labelsSize_; }
    void SetLabelsSize(int v) { Set(labelsSize_, v); }
    int TitleSize() const { return titleSize_; }
    void SetTitleSize(int v) { Set(titleSize_, v); }

    double CalcLabelsIncrement(int maxNumLabels);
    double CalcDateTimeIncrement(int maxNumLabels);
    double RoundLogPower(double v) const;
    double CalcXYIncrement(int maxLabelSize);
    double CalcIncrement();
    TAxisLabelStyle CalcLabelStyle();
    virtual TAxisLabelStyle InternalCalcLabelStyle();
    virtual std::string LabelValue(double v);
    // The smallest difference two value labels can show, for values of this magnitude.
    double LabelResolution(double magnitude) const;
    int InternalLabelSize(double v, bool isWidth);
    int LabelWidth(double v) { return InternalLabelSize(v, true); }
    int LabelHeight(double v) { return InternalLabelSize(v, false); }
    int MaxLabelsWidth();
    void IncDecDateTime(bool increment, double& value, double anIncrement, TDateTimeStep step);

    // Drawing.
    TChartAxisPen& Axis() { return *axisPen_; }
    TDarkGrayPen& Ticks() { return *ticks_; }
    int TickLength() const { return tickLength_; }
    void SetTickLength(int v) { Set(tickLength_, v); }
    TDarkGrayPen& TicksInner() { return *ticksInner_; }
    int TickInnerLength() const { return tickInnerLength_; }
    void SetTickInnerLength(int v) { Set(tickInnerLength_, v); }
    TDarkGrayPen& MinorTicks() { return *minorTicks_; }
    int MinorTickLength() const { return minorTickLength_; }
    void SetMinorTickLength(int v) { Set(minorTickLength_, v); }
    int MinorTickCount() const { return minorTickCount_; }
    void SetMinorTickCount(int v) { Set(minorTickCount_, v); }
    TAxisGridPen& Grid() { return *grid_; }
    void GetPublished(platform::TPropertyList& L) override;
    const TChartAxis* StreamTwin = nullptr;
    bool GetGridCentered() const { return grid_->Centered(); }
    void SetGridCentered(bool v) { grid_->SetCentered(v); }
    TChartHiddenPen& MinorGrid() { return *minorGrid_; }
    TChartAxisTitle& Title() { return *title_; }
    // Each copies the given settings into the axis' own object.
    void SetAxis(const TChartPen& v) { axisPen_->Assign(v); }
    void SetTicks(const TChartPen& v) { ticks_->Assign(v); }
    void SetTicksInner(const TChartPen& v) { ticksInner_->Assign(v); }
    void SetMinorTicks(const TChartPen& v) { minorTicks_->Assign(v); }
    void SetGrid(const TChartPen& v) { grid_->Assign(v); }
    void SetMinorGrid(const TChartPen& v) { minorGrid_->Assign(v); }
    void SetAxisTitle(const TChartAxisTitle& v) { title_->Assign(v); }
    TAxisItems& Items() { return *items_; }
    TAxisDrawLabelEvent OnDrawLabel;
    bool HideBackGrid = false, HideSideGrid = false;
    std::function<void(TChartAxis*)> OnBeforeGrids;

    void CalcRect(TRect& r, bool inflateChartRectangle);
    int SizeTickAxis();
    int SizeLabels();
    int InternalCalcSize(TChartFont& font, int angle, int defaultSize, const std::string& text);
    int InflateAxisPos(int value, int amount) const;
    void Draw(bool calcPosAxis);
    void DrawTitle(int x, int y);
    void DrawAxisLabel(int x, int y, int angle, std::string text, TChartCustomShape* shape = nullptr);
    void DrawGridLine(int p);
    void DrawGrids(int numTicks);
    int DepthAxisAlign() const { return otherSide_ ? 0 : 2; }
    int DepthAxisPos() const;
    TRect AxisRect() const;
    bool Clicked(int x, int y);
    void CustomDrawStartEnd(int posLabels, int posTitle, int posAxis, bool gridVisible, int startPos, int endPos);
    void CustomDraw(int posLabels, int posTitle, int posAxis, bool gridVisible);
    void CustomDrawMinMaxStartEnd(int posLabels, int posTitle, int posAxis, bool gridVisible, double aMin,
                                  double aMax, double aIncrement, int startPos, int endPos);
    void CustomDrawMinMax(int posLabels, int posTitle, int posAxis, bool gridVisible, double aMin, double aMax,
                          double aIncrement);

    bool IsMaxStored() const { return !(automatic_ || automaticMaximum_); }
    bool IsMinStored() const { return !(automatic_ || automaticMinimum_); }
    bool IsPosStored() const { return positionPercent_ != 0; }
    bool IsStartStored() const { return startPosition_ != 0; }
    bool IsEndStored() const { return endPosition_ != 100; }
    bool IsLogBaseStored() const { return logBase_ != 10; }

protected:
    TCustomAxisPanel* chart_;

private:
    void Changed();
    template <class T>
    void Set(T& field, T v)
    {
        if (StoreChanged(field, v)) Changed();
    }
    void SetAutoMinMax(bool& flag, bool other, bool v);
    // Label production.
    void PlaceLabel(double v, bool& rowFlag, std::function<void(int, const std::string&)> draw);
    void LabelSequence(double step, TDateTimeStep dtStep, const std::function<void(int, const std::string&)>& draw);
    void LogSequence(const std::function<void(int, const std::string&)>& draw);
    void CustomSequence(double step, TDateTimeStep dtStep, const std::function<void(int, const std::string&)>& draw);
    void SeriesSequence(TAxisLabelStyle style, const std::function<void(int, const std::string&)>& draw);
    void SeriesTitleSequence(const std::function<void(int, const std::string&)>& draw);
    // The date step the labels move by at label step s (dtNone unless exact dates).
    TDateTimeStep LabelDateStep(double s) const;
    void DrawLabels(TAxisLabelStyle style);
    void LabelDrawer(int p, const std::string& text, TChartCustomShape* shape);
    void DrawTick(int p, int offset, int length, int wall);
    void DrawMinor(bool grid);

    bool automatic_ = true, automaticMaximum_ = true, automaticMinimum_ = true;
    double maximum_ = 0, minimum_ = 0;
    int maximumOffset_ = 0, minimumOffset_ = 0;
    double increment_ = 0;
    bool inverted_ = false, logarithmic_ = false;
    double logBase_ = 10;
    bool horizontal_ = false, otherSide_ = false;
    double startPosition_ = 0, endPosition_ = 100, positionPercent_ = 0;
    TChartUnits positionUnits_ = muPercent;
    double zPosition_ = 0;
    bool visible_ = true;
    enum Mapping { mapChecked, mapFast, mapLog, mapDepth } mapping_ = mapChecked;
    TAxisLabelStyle labelStyle_ = talAuto;
    int labelsSeparation_ = 10;
    std::string valuesFormat_, dateTimeFormat_;
    int labelsAngle_ = 0;
    std::unique_ptr<TChartAxisPen> axisPen_;
    std::unique_ptr<TDarkGrayPen> ticks_, ticksInner_, minorTicks_;
    std::unique_ptr<TAxisGridPen> grid_;
    std::unique_ptr<TChartHiddenPen> minorGrid_;
    std::unique_ptr<TChartAxisTitle> title_;
    std::unique_ptr<TAxisItems> items_;
    // Label and tick settings: each setter repaints the chart.
    bool exactDateTime_ = true;
    bool roundFirstLabel_ = true;
    bool labelsOnAxis_ = true;
    bool labelsMultiLine_ = false;
    bool labelsAlternate_ = false;
    bool tickOnLabelsOnly_ = true;
    TAxisLabelAlign labelsAlign_ = alDefault;
    bool labelsExponent_ = false;
    int labelsSize_ = 0;
    int titleSize_ = 0;
    int tickLength_ = 4;
    int tickInnerLength_ = 0;
    int minorTickLength_ = 2;
    int minorTickCount_ = 3;
    bool alternateRow_ = false;
    TDateTimeStep drawStep_ = dtNone;
};

class TChartDepthAxis : public TChartAxis {
public:
    explicit TChartDepthAxis(TCustomAxisPanel* chart);
    TAxisLabelStyle InternalCalcLabelStyle() override;
    void SetInverted(bool v) override;
};

// Every axis of a chart in creation order: the six built-in ones, then the custom ones.
class TChartAxes {
public:
    explicit TChartAxes(TCustomAxisPanel* chart) : chart_(chart) {}
    TChartAxis* Get(int i) const { return items_[std::size_t(i)]; }
    TChartAxis* operator[](int i) const { return Get(i); }
    int Count() const { return int(items_.size()); }
    int IndexOf(const TChartAxis* a) const;
    void Add(TChartAxis* a) { items_.push_back(a); }
    void Remove(TChartAxis* a);
    void Clear();
    bool FastCalc() const { return fastCalc_; }
    void SetFastCalc(bool v);
    void Reset();
    TChartAxis* GetLeftAxis() const { return Get(2); }
    TChartAxis* GetTopAxis() const { return Get(1); }
    TChartAxis* GetRightAxis() const { return Get(3); }
    TChartAxis* GetBottomAxis() const { return Get(0); }
    TChartAxis* GetDepthAxis() const { return Get(4); }
    TChartAxis* GetDepthTopAxis() const { return Get(5); }
    // The chart's axes-behind and axes-visible settings.
    bool Behind() const { return GetBehind(); }
    bool GetBehind() const;
    void SetBehind(bool v);
    bool GetVisible() const;
    void SetVisible(bool v);
    void Hide() { SetVisible(false); }

private:
    TCustomAxisPanel* chart_;
    std::vector<TChartAxis*> items_;
    bool fastCalc_ = false;
};

// The chart's extra axes; it owns them.
class TChartCustomAxes {
public:
    explicit TChartCustomAxes(TCustomAxisPanel* chart) : chart_(chart) {}
    ~TChartCustomAxes();
    TChartAxis* Add();
    TChartAxis* Get(int i) const { return items_[std::size_t(i)].get(); }
    void Put(int i, const TChartAxis& a) { items_[std::size_t(i)]->Assign(a); }
    int Count() const { return int(items_.size()); }
    void Delete(int i);
    void Clear();
    void ResetScales(const TChartAxis& axis);
    void Assign(const TChartCustomAxes& source);

private:
    TCustomAxisPanel* chart_;
    std::vector<std::unique_ptr<TChartAxis>> items_;
};

}  // namespace chart

#pragma once
// Bars from an origin to each point's value: side by side, stacked, stacked to 100 %,
// one after the other or as a running total; vertical and horizontal.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartSeries.h"

namespace chart {

class TChartHiddenPen;

class TBarSeriesGradient : public TChartGradient {
public:
    explicit TBarSeriesGradient(platform::TNotifyEvent change = {});
    void Assign(const platform::TPersistent& source) override;
    void GetPublished(platform::TPropertyList& L) override;
    bool Relative() const { return relative_; }
    void SetRelative(bool v) { Set(relative_, v); }

private:
    bool relative_ = false;
};

enum TMultiBar { mbNone, mbSide, mbStacked, mbStacked100, mbSideAll, mbSelfStack };
enum TBarStyle {
    bsRectangle, bsPyramid, bsInvPyramid, bsCilinder, bsEllipse, bsArrow, bsRectGradient, bsCone, bsBevel,
    bsSlantCube, bsDiamond, bsInvArrow, bsInvCone
};

class TCustomBarSeries;
// Lets a handler change the style of one bar.
using TGetBarStyleEvent = std::function<void(TCustomBarSeries* sender, int valueIndex, TBarStyle& barStyle)>;

class TCustomBarSeries : public TChartSeries {
public:
    explicit TCustomBarSeries(platform::TComponent* owner = nullptr);
    ~TCustomBarSeries() override;
    void Assign(const platform::TPersistent& source) override;
    void SetParentChart(TCustomAxisPanel* chart) override;

    bool AutoBarSize = false;
    bool AutoMarkPosition = true;
    TBarStyle BarStyle = bsRectangle;
    int BarWidthPercent = 70;
    int BevelSize = 1;
    int ConePercent = 0;
    bool Dark3D = true;
    int DepthPercent = 100;
    int OffsetPercent = 0;
    int StackGroup = 0;
    bool UseYOrigin = true;
    double YOrigin = 0;
    int CustomBarSize = 0;
    TBarSeriesGradient& Gradient() { return *gradient_; }
    TChartHiddenPen& TickLines() { return *tickLines_; }
    TChartBrush& BarBrush() { return Brush(); }
    TChartPen& BarPen() { return Pen(); }
    TChartTransparency Transparency = 0;
    TMultiBar MultiBar() const { return multiBar_; }
    void SetMultiBar(TMultiBar v);
    bool SideMargins() const { return sideMargins_; }
    void SetSideMargins(bool v);
    TGetBarStyleEvent OnGetBarStyle;
    std::string GetEditorClass() const override { return "TBarSeriesEditor"; }

    int AddBar(double value, const std::string& label, TColor color) { return Add(value, label, color); }
    TBarStyle GetBarStyle(int i);
    double PointOrigin(int i, bool sumAll);
    // The pixel a bar starts from; without a Y origin, the axis edge this orientation gives.
    int GetOriginPos(int i);
    int InternalGetOriginPos(int i, int defaultPixel);
    int ApplyBarOffset(int p) const;
    // The room both margins grow by: the bars of one slot, halved unless SideMargins.
    int BarMargin() const;

    // Layout of the current drawing.
    TRect BarRect;
    int SlotCount = 0, MaxBarPoints = 0, SlotIndex = 1, PointsBefore = 0, BarSize = 0;
    TColor BarColor = 0;

    void DoBeforeDrawChart() override;
    void CalcZOrder() override;
    void CalcDepthPositions() override;
    void CalcFirstLastVisibleIndex() override;
    void DrawValue(int i) override;
    int Clicked(int x, int y) override;
    using TChartSeries::Clicked;
    void PrepareLegendCanvas(int index, TColor& backColor, platform::TBrushStyle& brushStyle) override;
    void DrawLegendShape(int index, const TRect& r) override;
    int NumSampleValues() override;
    void PrepareForGallery(bool enabled) override;
    static std::vector<std::string> CreateSubGallery(bool stack = true);
    void SetSubGallery(int index, bool stack = true);
    // Whether the type's sub-gallery offers the stacked kinds.
    virtual bool SubGalleryStack() const { return true; }
    std::vector<std::string> SubGallery() const { return CreateSubGallery(SubGalleryStack()); }
    void GetPublished(platform::TPropertyList& L) override;

protected:
    // The position and value directions, so one layout serves both orientations.
    int PosPixel(double v) const { return ValuesVertical() ? CalcXPosValue(v) : CalcYPosValue(v); }
    TChartAxis* PositionAxis() const { return ValuesVertical() ? ActiveHorizAxis() : ActiveVertAxis(); }
    int SeriesIndex() const;
    int BarEdge(int i);
    int ValueEnd(int i);
    double ValueMax(double inherited);
    double ValueMin(double inherited);
    double PositionMax(double inherited);
    double PositionMin(double inherited);
    void InternalApplyBarMargin(int& a, int& b);
    int CalcMarkLength(int i);
    virtual int InternalCalcMarkLength(int) { return 0; }
    virtual bool InternalClicked(int i, TPoint p);
    // The bar's shape between its two value edges, start < end.
    virtual void DrawBar(int i, int start, int end);
    virtual void DrawTickLine(int, TBarStyle) {}
    void SetPenBrushBar(TColor c);
    void BarRectangle(TColor c, int left, int top, int right, int bottom);
    TColor CalcGradientColor(int i);
    void BarGradient(int i, TRect r);
    void DrawBevel();
    void DrawTickLines(int start, int end, TBarStyle style);
    void SetOtherBars(bool copy);
    bool SameClass(const TChartSeries* s) const;
    TCanvas3D& Canvas() const;
    bool Is3D() const;

private:
    std::unique_ptr<TBarSeriesGradient> gradient_;
    std::unique_ptr<TChartHiddenPen> tickLines_;
    TMultiBar multiBar_ = mbSide;
    bool sideMargins_ = true;
};

class TBarSeries : public TCustomBarSeries {
public:
    explicit TBarSeries(platform::TComponent* owner = nullptr);
    int CalcXPos(int i) override { return BarEdge(i); }
    int CalcYPos(int i) override { return ValueEnd(i); }
    double MaxYValue() override { return ValueMax(TChartSeries::MaxYValue()); }
    double MinYValue() override { return ValueMin(TChartSeries::MinYValue()); }
    double MaxXValue() override { return PositionMax(TChartSeries::MaxXValue()); }
    double MinXValue() override { return PositionMin(TChartSeries::MinXValue()); }
    void CalcHorizMargins(int& left, int& right) override;
    void CalcVerticalMargins(int& top, int& bottom) override;
    bool DrawSeriesForward(int i) override;
    bool MoreSameZOrder() override;
    void DrawMark(int i, const std::string& text, TSeriesMarkPosition& p) override;
    int CustomBarWidth() const { return CustomBarSize; }
    void SetCustomBarWidth(int v);
    void GetPublished(platform::TPropertyList& L) override;

protected:
    int InternalCalcMarkLength(int i) override;
    void DrawTickLine(int t, TBarStyle style) override;
};

class THorizBarSeries : public TCustomBarSeries {
public:
    explicit THorizBarSeries(platform::TComponent* owner = nullptr);
    int CalcYPos(int i) override { return BarEdge(i); }
    int CalcXPos(int i) override { return ValueEnd(i); }
    double MaxXValue() override { return ValueMax(TChartSeries::MaxXValue()); }
    double MinXValue() override { return ValueMin(TChartSeries::MinXValue()); }
    double MaxYValue() override { return PositionMax(TChartSeries::MaxYValue()); }
    double MinYValue() override { return PositionMin(TChartSeries::MinYValue()); }
    void CalcHorizMargins(int& left, int& right) override;
    void CalcVerticalMargins(int& top, int& bottom) override;
    bool DrawSeriesForward(int i) override;
    void DrawMark(int i, const std::string& text, TSeriesMarkPosition& p) override;
    int CustomBarHeight() const { return CustomBarSize; }
    void SetCustomBarHeight(int v);
    void GetPublished(platform::TPropertyList& L) override;

protected:
    int InternalCalcMarkLength(int i) override;
    void DrawTickLine(int t, TBarStyle style) override;
};

}  // namespace chart

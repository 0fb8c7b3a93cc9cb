#pragma once
// Series drawn as lines, areas and points with symbols, and the line and horizontal
// line series of the result graphs.
#include <functional>
#include <memory>

#include "widgets/chart/ChartPointer.h"
#include "widgets/chart/ChartSeries.h"

namespace chart {

class TChartShadow;
class TChartHiddenPen;
class TChartGradient;

class TCustomLineSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    // The series' own pen.
    TChartPen& GetLinePen() { return Pen(); }
    TChartPen& LinePen() { return GetLinePen(); }
};

class TCustomSeries;
using TSeriesClickPointerEvent = std::function<void(TCustomSeries* Sender, int ValueIndex, int X, int Y)>;
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries* Sender, int ValueIndex)>;

enum TCustomSeriesStack { cssNone, cssOverlap, cssStack, cssStack100 };

class TCustomSeries : public TCustomLineSeries {
public:
    explicit TCustomSeries(platform::TComponent* owner = nullptr);
    ~TCustomSeries() override;
    void Assign(const platform::TPersistent& source) override;
    void SetParentChart(TCustomAxisPanel* chart) override;
    std::string GetEditorClass() const override { return "TCustomSeriesEditor"; }
    void GetPublished(platform::TPropertyList& L) override;

    TChartBrush& AreaChartBrush() { return *areaBrush_; }
    // The style of AreaChartBrush.
    platform::TBrushStyle GetAreaBrush() const;
    void SetAreaBrushStyle(platform::TBrushStyle s);
    platform::TBrushStyle AreaBrush() const { return GetAreaBrush(); }
    TColor AreaColor = clUseSeriesColor;
    TChartPen& AreaLinesPen() { return *areaLinesPen_; }
    bool ClickableLine = true;
    bool ColorEachLine = true;
    bool Dark3D = true;
    bool DrawArea = false;
    bool ConnectPoints = false;
    bool InvertedStairs = false;
    int LineHeight = 0;
    TChartHiddenPen& OutLine() { return *outline_; }
    TSeriesPointer& Pointer() { return *pointer_; }
    const TSeriesPointer& Pointer() const { return *pointer_; }
    TChartShadow& Shadow() { return *shadow_; }
    TCustomSeriesStack Stacked() const { return stacked_; }
    void SetStacked(TCustomSeriesStack v);
    bool Stairs = false;
    virtual TChartTransparency GetTransparency() const { return transparency_; }
    virtual void SetTransparency(TChartTransparency v) { SetIntegerProperty(transparency_, v); }
    TChartTransparency Transparency() const { return GetTransparency(); }
    virtual TChartGradient& GetGradient() { return *gradient_; }
    TChartGradient& Gradient() { return GetGradient(); }
    // The style of the series brush.
    platform::TBrushStyle GetLineBrush();
    void SetLineBrush(platform::TBrushStyle s);
    platform::TBrushStyle LineBrush() { return GetLineBrush(); }
    TSeriesClickPointerEvent OnClickPointer;
    TOnGetPointerStyle OnGetPointerStyle;

    TColor GetAreaBrushColor(TColor c) const { return ColorEachPoint() || AreaColor == clUseSeriesColor ? c : AreaColor; }
    void LinePrepareCanvas(TCanvas3D& canvas, TColor color);
    TSeriesPointerStyle DoGetPointerStyle(int i);
    void DrawPointer(int x, int y, TColor color, int i);
    double PointOrigin(int i, bool sumAll);
    int CalcStackedPos(int i, double value);
    virtual int GetOriginPos(int i);
    virtual int CalcMarkLength();
    virtual bool ClickedPointer(int i, int px, int py, int x, int y);
    virtual void PreparePointer(int) {}

    void CalcHorizMargins(int& left, int& right) override;
    void CalcVerticalMargins(int& top, int& bottom) override;
    void CalcZOrder() override;
    void DrawAllValues() override;
    void DrawValue(int i) override;
    void DrawLegendShape(int index, const TRect& r) override;
    void DrawMark(int i, const std::string& text, TSeriesMarkPosition& p) override;
    double MaxXValue() override;
    double MaxYValue() override;
    double MinXValue() override;
    double MinYValue() override;
    int CalcXPos(int i) override;
    int CalcYPos(int i) override;
    int Clicked(int x, int y) override;
    using TChartSeries::Clicked;

private:
    void InternalCalcMargin(bool sameSide, bool horizontal, int& a, int& b);
    void DrawSegment(int x, int y, TColor c, int i, bool isLast, bool withPointers);
    void FillSegment(int x, int y, bool isLast);
    int EdgeY(int j, double v);
    double StackedExtreme(bool max, double inherited);
    std::unique_ptr<TChartBrush> areaBrush_;
    std::unique_ptr<TChartPen> areaLinesPen_;
    std::unique_ptr<TChartHiddenPen> outline_;
    std::unique_ptr<TSeriesPointer> pointer_;
    std::unique_ptr<TChartShadow> shadow_;
    std::unique_ptr<TChartGradient> gradient_;
    TCustomSeriesStack stacked_ = cssNone;
    TChartTransparency transparency_ = 0;
    // Drawing state of one pass: the previous point and the origins.
    int OriginPixel = 0, PrevOriginPixel = 0, PrevX = 0, PrevY = 0;
    TColor PrevColor = platform::clNone;
    double DarkSlope = 1;
};

// Draws a pointer as a legend symbol in the box r; with drawPen it takes at most a third of the box.
void ChartPointerDrawLegend(TSeriesPointer& pointer, TColor color, const TRect& r, bool drawPen);

class TLineSeries : public TCustomSeries {
public:
    explicit TLineSeries(platform::TComponent* owner = nullptr);
    void Assign(const platform::TPersistent& source) override;
    void PrepareLegendCanvas(int index, TColor& backColor, platform::TBrushStyle& brushStyle) override;
};

class THorizLineSeries : public TLineSeries {
public:
    explicit THorizLineSeries(platform::TComponent* owner = nullptr);
    int CalcMarkLength() override { return MaxMarkWidth(); }
    void DrawMark(int i, const std::string& text, TSeriesMarkPosition& p) override;
};

}  // namespace chart

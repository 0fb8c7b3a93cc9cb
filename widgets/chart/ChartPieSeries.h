#pragma once
// Series drawn in a circle instead of against axes, and the pie series: slices by
// absolute value, exploded slices, a donut hole, patterns, a shadow and an "other" slice.
#include <memory>
#include <string>
#include <vector>

#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartSeries.h"

namespace chart {

class TChartGradient;
class TChartLegend;
class TCustomChartLegend;

class TView3DOptions;

class TCircledSeries : public TChartSeries {
public:
    explicit TCircledSeries(platform::TComponent* owner = nullptr);
    ~TCircledSeries() override;
    void Assign(const platform::TPersistent& source) override;
    void SetActive(bool v) override;
    void SetParentChart(TCustomAxisPanel* chart) override;
    void Removed() override;
    void GetPublished(platform::TPropertyList& L) override;

    TColor CircleBackColor = clUseSeriesColor;
    bool Circled() const { return circled_; }
    void SetCircled(bool v);
    int CustomXRadius() const { return customXRadius_; }
    void SetCustomXRadius(int v);
    int CustomYRadius() const { return customYRadius_; }
    void SetCustomYRadius(int v);
    int RotationAngle() const { return rotationAngle_; }
    void SetRotationAngle(int v);
    void Rotate(int d) { SetRotationAngle((d + rotationAngle_) % 360); }
    TChartGradient& CircleGradient() { return *gradient_; }

    int HorizRadius = 0, VertRadius = 0, EllipseWidth = 0, EllipseHeight = 0, CenterX = 0, CenterY = 0;
    TRect CircleBounds{};
    double RotationRadians = 0;

    bool UseAxis() const override { return false; }
    bool AssociatedToAxis(const TChartAxis*) const override { return true; }
    bool HasBackColor() const { return CircleBackColor != clUseSeriesColor && CircleBackColor != platform::clNone; }
    TColor CalcCircleBackColor();
    void PrepareLegendCanvas(int index, TColor& backColor, platform::TBrushStyle& brushStyle) override;
    void AngleToPos(double angle, double xRadius, double yRadius, int& x, int& y) const;
    double PointToAngle(int x, int y) const;
    double PointToRadius(int x, int y);
    void DoBeforeDrawValues() override;
    virtual void DrawCircleGradient() {}

protected:
    void AdjustCircleRect();
    void CalcRadius();
    virtual void InitCustom3DOptions() {}
    virtual void CheckOtherSeriesMarks() {}
    void SetParentProperties(bool restore);
    void SetBackupProperties();
    bool IsCircledKin(const TChartSeries* s) const;

private:
    bool circled_ = false;
    int customXRadius_ = 0, customYRadius_ = 0, rotationAngle_ = 0;
    std::unique_ptr<TChartGradient> gradient_;
public:
    // The chart's 3D view from before this series changed it, or none.
    std::unique_ptr<TView3DOptions> SavedView3D;

private:
};

// One integer per point, 0 where unset.
class TSliceValueList {
public:
    explicit TSliceValueList(TChartSeries* owner) : owner_(owner) {}
    int Get(int i) const { return i >= 0 && i < int(items_.size()) ? items_[std::size_t(i)] : 0; }
    void Put(int i, int v);
    int Count() const { return int(items_.size()); }
    bool Empty() const { return items_.empty(); }
    void Clear() { items_.clear(); }
    void Delete(int i);
    void Exchange(int a, int b, int count);
    void Assign(const TSliceValueList& other) { items_ = other.items_; }

private:
    TChartSeries* owner_;
    std::vector<int> items_;
};

enum TPieOtherStyle { poNone, poBelowPercent, poBelowValue };

class TPieOtherSlice : public platform::TPersistent {
public:
    explicit TPieOtherSlice(TChartSeries* owner);
    ~TPieOtherSlice() override;
    TPieOtherSlice(const TPieOtherSlice&) = delete;
    TPieOtherSlice& operator=(const TPieOtherSlice&) = delete;
    TColor Color = clUseSeriesColor;
    TPieOtherStyle Style = poNone;
    double Value = 0;
    std::string Text() const;
    void SetText(const std::string& t) { text_ = t; }
    // A legend of the grouped points alone, made on first use: hidden, listing the owner.
    TChartLegend& Legend();
    bool HasLegend() const { return legend_ != nullptr; }
    bool IsLegend(const TCustomChartLegend* legend) const;
    // None frees the legend; otherwise its settings are copied in.
    void SetLegend(const TChartLegend* legend);
    // Colour, legend, style, text and value of another other slice.
    void Assign(const platform::TPersistent& source) override;
    void GetPublished(platform::TPropertyList& L) override;

private:
    TChartSeries* owner_;
    std::string text_;
    std::unique_ptr<TChartLegend> legend_;
};

struct TPieAngle {
    double StartAngle = 0, MidAngle = 0, EndAngle = 0;
};
using TPieAngles = std::vector<TPieAngle>;

// Radians per degree.
extern const double PiDegree;

// The shadow ellipse under a pie: mid grey unless set otherwise.
class TPieShadow : public TChartShadow {
public:
    explicit TPieShadow(platform::TNotifyEvent change = {});
};

enum TMultiPie { mpAutomatic, mpDisabled };

class TPieSeries : public TCircledSeries {
public:
    explicit TPieSeries(platform::TComponent* owner = nullptr);
    ~TPieSeries() override;
    void Assign(const platform::TPersistent& source) override;
    void GetPublished(platform::TPropertyList& L) override;
    // The other slice's legend follows the series to its chart, and out of it.
    void SetParentChart(TCustomAxisPanel* chart) override;
    void Removed() override;

    int AngleSize = 360;
    bool AutoMarkPosition = true;
    bool Dark3D = true;
    int DarkPen = 0;
    int DonutPercent = 0;
    int ExplodeBiggest() const { return explodeBiggest_; }
    void SetExplodeBiggest(int v);
    TSliceValueList SliceExplode{this};
    TSliceValueList SliceDepths{this};
    TMultiPie MultiPie = mpAutomatic;
    TPieOtherSlice& OtherSlice() { return otherSlice_; }
    TPieShadow& Shadow() { return *shadow_; }
    bool UsePatterns = false;
    TChartPen& PiePen() { return Pen(); }
    TChartValueList& GetPieValues() { return YValues(); }
    // Takes the list's settings (order, date-time, source name), not its values.
    void SetPieValues(const TChartValueList& values) { YValues().Assign(values); }
    std::string GetEditorClass() const override { return "TPieSeriesEditor"; }

    TPieAngles SliceAngles;
    // The shown slices in drawing order while a 3D pie is drawn back to front.
    std::vector<int> SortedSlices;
    // The chart rectangle before this pie changed it.
    TRect SavedChartRect{};
    bool Exploded = false;
    int FirstEdgeX = 0, FirstEdgeY = 0, LastEdgeX = 0, LastEdgeY = 0;

    int AddPie(double value, const std::string& label = {}, TColor color = clUseSeriesColor)
    {
        return Add(value, label, color);
    }
    int PieCount() const;
    bool BelongsToOtherSlice(int i) const { return GetxValue(i) == -1; }
    bool IsOtherSlicePoint(int i) const { return GetxValue(i) == kOtherSliceX; }
    static constexpr double kOtherSliceX = 2147483647.0;

    int CalcXPos(int i) override;
    double MaxXValue() override;
    double MinXValue() override;
    double MaxYValue() override;
    double MinYValue() override;
    void ClearLists() override;
    void Delete(int i) override;
    using TChartSeries::Delete;
    void SwapValueIndex(int a, int b) override;
    int CountLegendItems() override;
    int LegendToValueIndex(int n) override;
    int Clicked(int x, int y) override;
    using TChartSeries::Clicked;
    // The slice under (x, y), or -1.
    int CalcClickedPie(int x, int y);
    // Back to front: by how far each slice's middle is from the viewer's side.
    int CompareSlice(int a, int b) const;
    void CalcZOrder() override { SetComputedZOrder(-1); }
    bool MoreSameZOrder() override { return false; }
    void CalcFirstLastVisibleIndex() override;
    void WriteData(std::vector<unsigned char>& out) override;
    void CheckOrder() override;
    int NumSampleValues() override { return 8; }
    int AddSampleValues(int n, bool onlyMandatory = false) override;
    void PrepareForGallery(bool enabled) override;
    // The 3D view of the chart's preview: inherited, the fixed gallery angle, and round in 2D.
    void GalleryChanged3D(bool flag) override;
    // The gallery's fixed view: not orthogonal, no rotation, elevation 305.
    void DisableRotation();

    void DoBeforeDrawChart() override;
    void DoBeforeDrawValues() override;
    void DoAfterDrawValues() override;
    void DrawAllValues() override;
    void DrawValue(int i) override;
    void DrawMark(int i, const std::string& text, TSeriesMarkPosition& p) override;
    void DrawLegendShape(int index, const TRect& r) override;
    void PrepareLegendCanvas(int index, TColor& backColor, platform::TBrushStyle& brushStyle) override;
    void DrawCircleGradient() override;

    void CalcAngles();
    void CalcExplodeBiggest();
    void CalcExplodedRadius(int i, int& rx, int& ry) const;
    void CalcExplodedOffset(int i, int& dx, int& dy) const;
    int SliceEndZ(int i) const;
    platform::TBrushStyle SliceBrushStyle(int i) const;
    static std::vector<std::string> CreateSubGallery();
    void SetSubGallery(int index);

protected:
    void InitCustom3DOptions() override;

private:
    void PreparePiePen(int i);
    void DrawPie(int i);
    // The other slice's legend is being drawn.
    bool DrawingOtherLegend() const;
    void DrawOtherSliceLegend();
    bool Is3D() const;
    int explodeBiggest_ = 0;
    TPieOtherSlice otherSlice_{this};
    std::unique_ptr<TPieShadow> shadow_;
    bool rectSaved_ = false;
};

}  // namespace chart

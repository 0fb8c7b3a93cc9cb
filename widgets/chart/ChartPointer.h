#pragma once
// The symbol a series draws at each point.
#include <memory>

#include "widgets/chart/ChartShape.h"

namespace chart {

class TChartSeries;
class TChartGradient;

enum TSeriesPointerStyle {
    psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psDiagCross, psStar, psDiamond, psSmallDot,
    psNothing, psLeftTriangle, psRightTriangle
};

class TSeriesPointer : public TChartCustomShapeBrushPen {
public:
    explicit TSeriesPointer(TChartSeries* series);
    ~TSeriesPointer() override;
    void Assign(const platform::TPersistent& source) override;

    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool v) { Set(dark3D_, v); }
    bool Draw3D() const { return draw3D_; }
    void SetDraw3D(bool v) { Set(draw3D_, v); }
    TChartGradient& Gradient() { return *gradient_; }
    int HorizSize() const { return horizSize_; }
    void SetHorizSize(int v);
    int VertSize() const { return vertSize_; }
    void SetVertSize(int v);
    void SetSize(int v)
    {
        SetHorizSize(v);
        SetVertSize(v);
    }
    int GetSize() const { return std::max(horizSize_, vertSize_); }
    bool InflateMargins() const { return inflateMargins_; }
    void SetInflate(bool v) { Set(inflateMargins_, v); }
    TSeriesPointerStyle Style() const { return style_; }
    void SetStyle(TSeriesPointerStyle v) { Set(style_, v); }
    TChartTransparency Transparency() const { return transparency_; }
    void SetTransparency(TChartTransparency v) { Set(transparency_, v); }
    void ChangeStyle(TSeriesPointerStyle v) { style_ = v; }
    void ChangeHorizSize(int v) { horizSize_ = v; }
    void ChangeVertSize(int v) { vertSize_ = v; }
    void Change3D(bool v) { draw3D_ = v; }
    // Editors may change the size.
    bool AllowChangeSize = true;
    void GetPublished(platform::TPropertyList& L) override;
    const TSeriesPointer* StreamTwin = nullptr;
    TColor GetColor();
    void SetColor(TColor c);
    // The series' depths, 0 without a series.
    int GetStartZ() const;
    int GetMiddleZ() const;
    int GetEndZ() const;
    TChartSeries* Series() const { return series_; }
    // The gradient keeps its own end colour (callouts).
    bool FullGradient = false;

    void CalcHorizMargins(int& left, int& right);
    void CalcVerticalMargins(int& top, int& bottom);
    void PrepareCanvas(TCanvas3D& canvas, TColor color);
    void Draw(int x, int y, TColor color, TSeriesPointerStyle style);
    void DrawPointer(TCanvas3D& canvas, bool is3D, int x, int y, int horizSize, int vertSize, TColor color,
                     TSeriesPointerStyle style);

private:
    template <class T>
    void Set(T& f, T v)
    {
        if (StoreChanged(f, v)) Repaint();
    }
    TChartSeries* series_;
    bool dark3D_ = true, draw3D_ = true;
    std::unique_ptr<TChartGradient> gradient_;
    int horizSize_ = 4, vertSize_ = 4;
    bool inflateMargins_ = true;
    TSeriesPointerStyle style_ = psRectangle;
    TChartTransparency transparency_ = 0;
};

enum TArrowHeadStyle { ahNone, ahLine, ahSolid };
// When set, an arrow that would vanish against its point or the chart is drawn black or white.
extern bool ChartCheckMarkArrowColor;

// A connector from a label to its point: a line or arrow, with the symbol at the
// point end when there is no arrow head.
class TCallout : public TSeriesPointer {
public:
    explicit TCallout(TChartSeries* series);
    ~TCallout() override;
    void Assign(const platform::TPersistent& source) override;
    TChartPen& Arrow() { return *arrow_; }
    void SetArrow(const TChartPen& pen);
    TArrowHeadStyle ArrowHead() const { return arrowHead_; }
    void SetArrowHead(TArrowHeadStyle v);
    int ArrowHeadSize() const { return arrowHeadSize_; }
    void SetArrowHeadSize(int v);
    int Distance() const { return distance_; }
    void SetDistance(int v);
    void Draw(TColor color, TPoint from, TPoint to, int z);
    // The pointer's settings, then Arrow, ArrowHead, ArrowHeadSize and Distance.
    void GetPublished(platform::TPropertyList& L) override;

private:
    std::unique_ptr<TChartPen> arrow_;
    TArrowHeadStyle arrowHead_ = ahNone;
    int arrowHeadSize_ = 8, distance_ = 0;
};

struct TSeriesMarkPosition;

class TMarksCallout : public TCallout {
public:
    explicit TMarksCallout(TChartSeries* series);
    void Assign(const platform::TPersistent& source) override;
    int Length() const { return length_; }
    void SetLength(int v);
    int DefaultLength = 8;
    // Lifts the box Length above a start Distance above the point.
    void ApplyArrowLength(TSeriesMarkPosition& p) const;
    // Length is written when it differs from DefaultLength.
    void GetPublished(platform::TPropertyList& L) override;

private:
    int length_ = 8;
};

}  // namespace chart

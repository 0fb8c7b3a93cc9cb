#pragma once
// A line series for many points: one polyline with the line pen, points on the pixel
// already reached skipped, nulls kept or breaking the line, new points drawn at once.
#include <string>
#include <vector>

#include "widgets/chart/ChartLineSeries.h"

namespace chart {

class TFastLineSeries : public TCustomLineSeries {
public:
    explicit TFastLineSeries(platform::TComponent* owner = nullptr);
    void Assign(const platform::TPersistent& source) override;

    bool AutoRepaint = true;
    bool DrawAllPoints() const { return drawAll_; }
    void SetDrawAll(bool v) { SetBooleanProperty(drawAll_, v); }
    bool FastPen() const { return fastPen_; }
    // Only where the platform offers a recolourable stock pen, which this one does not.
    void SetFastPen(bool) {}
    bool IgnoreNulls() const { return ignoreNulls_; }
    void SetIgnoreNulls(bool v) { SetBooleanProperty(ignoreNulls_, v); }
    bool InvertedStairs() const { return invertedStairs_; }
    void SetInvertedStairs(bool v) { SetBooleanProperty(invertedStairs_, v); }
    bool Stairs() const { return stairs_; }
    void SetStairs(bool v) { SetBooleanProperty(stairs_, v); }
    std::string GetEditorClass() const override { return "TFastLineSeriesEditor"; }
    int LastX = 0, LastY = 0;

    void SetPen(const TChartPen& pen);
    void SetSeriesColor(TColor c) override;
    void CalcPosition(int i, int& x, int& y);
    void PrepareCanvas();
    void PrepareLegendCanvas(int index, TColor& backColor, platform::TBrushStyle& brushStyle) override;
    void DrawLegendShape(int index, const TRect& r) override;
    void CalcHorizMargins(int& left, int& right) override;
    void CalcVerticalMargins(int& top, int& bottom) override;
    void DrawMark(int i, const std::string& text, TSeriesMarkPosition& p) override;
    void DrawAllValues() override;
    void DrawValue(int i) override;
    void NotifyNewValue(TChartSeries* sender, int index) override;
    int Clicked(int x, int y) override;
    using TChartSeries::Clicked;
    static std::vector<std::string> CreateSubGallery();
    void SetSubGallery(int index);

private:
    void DoMove(int x, int y);
    void DoLine(int x, int y);
    bool Is3D() const;
    bool drawAll_ = true, fastPen_ = false, ignoreNulls_ = true, invertedStairs_ = false, stairs_ = false;
};

// Enters the standard series types into the registry of series types.
void RegisterChartStandardSeries();

}  // namespace chart

#pragma once
// Series of symbols only, and series filling the band between their line and an origin.
#include <string>
#include <vector>

#include "widgets/chart/ChartLineSeries.h"

namespace chart {

class TPointSeries : public TCustomSeries {
public:
    explicit TPointSeries(platform::TComponent* owner = nullptr);
    void Assign(const platform::TPersistent& source) override;
    void SetColorEachPoint(bool v) override;
    // A point series' transparency is its symbols'.
    TChartTransparency GetTransparency() const override { return Pointer().Transparency(); }
    void SetTransparency(TChartTransparency v) override { Pointer().SetTransparency(v); }
    std::string GetEditorClass() const override { return "TSeriesPointerEditor"; }
    void PrepareForGallery(bool enabled) override;
    virtual bool CanDoExtra() const { return true; }
    std::vector<std::string> CreateSubGallery() const;
    void SetSubGallery(int index);

private:
    void SetFixed();
};

enum TMultiArea { maNone, maStacked, maStacked100 };

class TAreaSeries : public TCustomSeries {
public:
    explicit TAreaSeries(platform::TComponent* owner = nullptr);
    void Assign(const platform::TPersistent& source) override;
    bool UseYOrigin() const { return useYOrigin_; }
    void SetUseOrigin(bool v) { SetBooleanProperty(useYOrigin_, v); }
    double YOrigin() const { return yOrigin_; }
    void SetOrigin(double v) { SetDoubleProperty(yOrigin_, v); }
    TMultiArea MultiArea() const;
    void SetMultiArea(TMultiArea v);
    std::string GetEditorClass() const override { return "TAreaSeriesEditor"; }
    void PrepareForGallery(bool enabled) override;
    std::vector<std::string> CreateSubGallery() const;
    void SetSubGallery(int index);

    int GetOriginPos(int i) override;
    double MaxXValue() override;
    double MinXValue() override;
    double MaxYValue() override;
    double MinYValue() override;
    bool DrawSeriesForward(int i) override;
    void PrepareLegendCanvas(int index, TColor& backColor, platform::TBrushStyle& brushStyle) override;
    void DrawLegendShape(int index, const TRect& r) override;

private:
    bool useYOrigin_ = false;
    double yOrigin_ = 0;
};

class THorizAreaSeries : public TAreaSeries {
public:
    explicit THorizAreaSeries(platform::TComponent* owner = nullptr);
    void DrawMark(int i, const std::string& text, TSeriesMarkPosition& p) override;
    int NumSampleValues() override { return 10; }
};

}  // namespace chart

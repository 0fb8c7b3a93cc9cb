#pragma once
// The chart panel that holds the series and the axes: series joining and leaving,
// the built-in and custom axes, automatic axis ranges, pages, series colours and the
// texts the legend shows.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widgets/chart/ChartPanel.h"
#include "widgets/chart/ChartSeries.h"

namespace chart {

class TChartAxis;
class TChartDepthAxis;
class TChartAxes;
class TChartCustomAxes;
class TChartTools;
class TChartCustomDesigner;

enum TChartToolEvent { cteAfterDraw, cteBeforeDrawSeries, cteBeforeDraw, cteBeforeDrawAxes, cteAfterDrawSeries, cteMouseLeave };

struct TChartSeriesMessage : TChartEvent {
    TChartSeriesEvent Event = seAdd;
    TChartSeries* Series = nullptr;
};
struct TChartChangePage : TChartEvent {};

using TAxisOnGetLabel = std::function<void(TChartAxis* sender, TChartSeries* series, int valueIndex, std::string& text)>;
using TAxisOnGetNextLabel = std::function<void(TChartAxis* sender, int labelIndex, double& value, bool& stop)>;

class TCustomAxisPanel : public TCustomChartPanelExtended {
public:
    explicit TCustomAxisPanel(platform::TComponent* owner);
    ~TCustomAxisPanel() override;
    // From another axis panel: its settings and axes (not its series or tools); then the base's.
    void Assign(const platform::TPersistent& source) override;
    // Its axes are published; its series are its children in a stream.
    void GetPublished(platform::TPropertyList& L) override;
    void GetChildren(const std::function<void(platform::TComponent*)>& Proc, platform::TComponent* Root) override;
    // Each page from fromPage (0: the first) to toPage (0: the last) on its own printer page;
    // Page is put back whatever happens, and a failed job is aborted.
    void PrintPages(int fromPage = 0, int toPage = 0);

    int Chart3DPercent() const { return chart3DPercent_; }
    void SetChart3DPercent(int v);
    TChartAxes& AxisList() { return *axisList_; }
    bool HasAxisList() const { return axisList_ != nullptr; }
    bool AxisBehind() const { return axisBehind_; }
    void SetAxisBehind(bool v) { SetBooleanProperty(axisBehind_, v); }
    bool AxisVisible() const { return axisVisible_; }
    void SetAxisVisible(bool v) { SetBooleanProperty(axisVisible_, v); }
    bool ClipPoints() const { return clipPoints_; }
    void SetClipPoints(bool v) { SetBooleanProperty(clipPoints_, v); }
    TChartCustomAxes& CustomAxes() { return *customAxes_; }
    TChartAxis& TopAxis() { return *top_; }
    TChartAxis& BottomAxis() { return *bottom_; }
    TChartAxis& LeftAxis() { return *left_; }
    TChartAxis& RightAxis() { return *right_; }
    TChartDepthAxis& DepthAxis() { return *depth_; }
    TChartDepthAxis& DepthTopAxis() { return *depthTop_; }
    bool View3DWalls() const { return view3DWalls_; }
    void SetView3DWalls(bool v) { SetBooleanProperty(view3DWalls_, v); }
    TAxisOnGetLabel OnGetAxisLabel;
    TAxisOnGetNextLabel OnGetNextAxisLabel;
    platform::TNotifyEvent OnPageChange, OnBeforeDrawChart, OnBeforeDrawAxes, OnBeforeDrawSeries;
    int Page() const { return page_; }
    void SetPage(int v);
    int MaxPointsPerPage() const { return maxPointsPerPage_; }
    void SetMaxPointsPerPage(int v);
    bool ScaleLastPage() const { return scaleLastPage_; }
    void SetScaleLastPage(bool v) { SetBooleanProperty(scaleLastPage_, v); }
    int LastZOrder = 0, SeriesDepth = 0, SeriesRise = 0;
    bool InvertedRotation = false;
    TColor LegendColor = platform::clWhite;
    TChartPen* LegendPen = nullptr;
    TColorArray ChartPalette;

    // The drawing pipeline: background, titles and legend, axes, walls, series, marks.
    void InternalDraw(const TRect& r) override;
    void CalcSize3DWalls();
    void CalcInvertedRotation();
    virtual bool DrawBackWallAfter(int z);
    virtual void DrawTitlesAndLegend(bool beforeSeries) = 0;
    virtual void DrawWalls() = 0;
    virtual void DoOnAfterDraw() { if (OnAfterDraw) OnAfterDraw(this); }
    virtual void DoOnBeforeDrawAxes() { if (OnBeforeDrawAxes) OnBeforeDrawAxes(this); }
    virtual void DoOnBeforeDrawChart() { if (OnBeforeDrawChart) OnBeforeDrawChart(this); }
    virtual void DoOnBeforeDrawSeries() { if (OnBeforeDrawSeries) OnBeforeDrawSeries(this); }
    virtual void CalcWallsRect() = 0;
    virtual int CalcWallSize(const TChartAxis& axis) = 0;
    virtual void DrawLegendShape(const TRect& r);
    virtual std::string FormattedValueLegend(TChartSeries*, int) { return {}; }
    virtual bool IsFreeSeriesColor(TColor color, bool checkBackground, TChartSeries* series) = 0;

    // Series.
    int SeriesCount() const { return int(series_.size()); }
    TChartSeries* GetSeries(int i) const { return series_[std::size_t(i)]; }
    const std::vector<TChartSeries*>& SeriesList() const { return series_; }
    int CountActiveSeries() const;
    TChartSeries* AddSeries(TChartSeries* s);
    void InternalAddSeries(TChartSeries* s);
    void RemoveSeries(int index);
    void RemoveSeries(TChartSeries* s);
    // Frees every series that passes the test (every series without one).
    void FreeAllSeries(const std::function<bool(const TChartSeries&)>& which = {});
    void ExchangeSeries(int a, int b);
    void BroadcastSeriesEvent(TChartSeries* s, TChartSeriesEvent e);
    bool CheckMouseSeries(int x, int y);
    // Data sources: whether the component may feed the series (another series it accepts, or
    // a source kind available here); a refusal (ChartException) of a link that would loop; and
    // the notice that a source left a series (a loading source lets go of it).
    virtual bool IsValidDataSource(TChartSeries* series, platform::TComponent* c);
    void CheckOtherSeries(TChartSeries* dest, TChartSeries* source);
    virtual void RemovedDataSource(TChartSeries* series, platform::TComponent* c);

    // Axes.
    bool IsAxisVisible(const TChartAxis& a) const;
    bool CalcIsAxisVisible(const TChartAxis& a) const;
    // Remembers every axis' visibility at the start of a drawing.
    void FixAxisVisibility();
    bool NoActiveSeries(const TChartAxis& a) const;
    TChartSeries* GetAxisSeries(const TChartAxis& a) const;
    TChartSeries* GetAxisSeriesMaxPoints(const TChartAxis& a) const;
    double MinXValue(TChartAxis& a) { return InternalMinMax(a, true, true); }
    double MaxXValue(TChartAxis& a) { return InternalMinMax(a, false, true); }
    double MinYValue(TChartAxis& a) { return InternalMinMax(a, true, false); }
    double MaxYValue(TChartAxis& a) { return InternalMinMax(a, false, false); }
    double InternalMinMax(TChartAxis& a, bool isMin, bool isX);
    int GetMaxValuesCount() const;
    virtual int NumPages();

    // Colours.
    TColor GetDefaultColor(int index) const;
    TColor GetFreeSeriesColor(bool checkBackground, TChartSeries* series);
    void ColorPaletteChanged();

    // Tools: the list is made on first use and destroys its tools with the chart.
    TChartTools& ToolList();
    bool HasTools() const { return tools_ != nullptr; }
    void BroadcastToolEvent(TChartToolEvent event);
    TChartCustomDesigner* Designer = nullptr;

    // Legend texts.
    TChartSeries* SeriesLegend(int index, bool onlyActive) const;
    TChartSeries* ActiveSeriesLegend(int index) const { return SeriesLegend(index, true); }
    std::string SeriesTitleLegend(int index, bool onlyActive = true) const;
    int MultiLineTextWidth(const std::string& text, int& lineCount);
    int MaxTextWidth();
    int MaxMarkWidth();

private:
    void DrawAxes();
    void DrawAllSeries();
    void DrawSeriesMarks(TChartSeries& s);
    bool ClipSeries();
    int chart3DPercent_ = 15;
    std::unique_ptr<TChartAxes> axisList_;
    bool axisBehind_ = true, axisVisible_ = true, clipPoints_ = true, view3DWalls_ = true;
    std::unique_ptr<TChartCustomAxes> customAxes_;
    std::vector<TChartSeries*> series_;
    TChartAxis* top_ = nullptr;
    TChartAxis* bottom_ = nullptr;
    TChartAxis* left_ = nullptr;
    TChartAxis* right_ = nullptr;
    TChartDepthAxis* depth_ = nullptr;
    TChartDepthAxis* depthTop_ = nullptr;
    int page_ = 1, maxPointsPerPage_ = 0;
    bool scaleLastPage_ = true;
    std::vector<std::pair<const TChartAxis*, bool>> axisVisibility_;
    void DestroyTools();
    TChartTools* tools_ = nullptr;
};

// The series' display name: its title, else its component name.
std::string SeriesTitleOrName(const TChartSeries& s);

}  // namespace chart

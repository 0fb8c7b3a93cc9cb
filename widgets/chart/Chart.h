#pragma once
// The chart control: titles, legend and walls around the axis panel, and the mouse:
// rectangle zoom, panning, wheel scrolling, clicks on the chart's parts.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartTitles.h"

namespace chart {

class TChartValueList;

class TChartLegend;

struct TAxisSavedScales {
    bool Automatic = false, AutomaticMinimum = false, AutomaticMaximum = false;
    double Minimum = 0, Maximum = 0;
};
using TAllAxisSavedScales = std::vector<TAxisSavedScales>;

enum TChartClickedPartStyle {
    cpNone, cpLegend, cpAxis, cpSeries, cpTitle, cpFoot, cpChartRect, cpSeriesMarks, cpSubTitle, cpSubFoot
};
struct TChartClickedPart {
    TChartClickedPartStyle Part = cpNone;
    int ItemIndex = -1;
    TChartSeries* ClickedSeries = nullptr;
    TChartAxis* ClickedAxis = nullptr;
};

class TCustomChart;

using TChartAllowScrollEvent = std::function<void(TChartAxis* sender, double& aMin, double& aMax, bool& allowScroll)>;
using TChartClick =
    std::function<void(TCustomChart* sender, platform::TMouseButton button, platform::TShiftState shift, int x, int y)>;
using TChartClickAxis = std::function<void(TCustomChart* sender, TChartAxis* axis, platform::TMouseButton button,
                                           platform::TShiftState shift, int x, int y)>;
using TChartClickSeries = std::function<void(TCustomChart* sender, TChartSeries* series, int valueIndex,
                                             platform::TMouseButton button, platform::TShiftState shift, int x, int y)>;
using TChartClickTitle = std::function<void(TCustomChart* sender, TChartTitle* title, platform::TMouseButton button,
                                            platform::TShiftState shift, int x, int y)>;
using TOnGetLegendPos = std::function<void(TCustomChart* sender, int index, int& x, int& y, int& xColor)>;
using TOnGetLegendRect = std::function<void(TCustomChart* sender, TRect& r)>;
using TOnGetLegendText =
    std::function<void(TCustomAxisPanel* sender, int legendStyle, int index, std::string& legendText)>;
using TChartMouseWheelUpDownEvent =
    std::function<void(TCustomChart* sender, platform::TShiftState shift, TPoint mousePos, bool& handled)>;

extern double AnimatedZoomFactor;
extern platform::TShiftState ChartScrollKeyShift;
extern bool ChartUseMouseWheel;

class TCustomChart : public TCustomAxisPanel {
public:
    explicit TCustomChart(platform::TComponent* owner);
    ~TCustomChart() override;
    // From another chart: its palette index, titles, legend, walls and scroll button; then
    // the axis panel's settings.
    void Assign(const platform::TPersistent& source) override;
    // What an editor may offer as sources: nothing for a series; for a value list, the value
    // lists of the series its series takes its data from.
    virtual void FillSeriesSourceItems(TChartSeries* series, const std::function<void(const std::string&)>& proc);
    virtual void FillValueSourceItems(TChartValueList* valueList, const std::function<void(const std::string&)>& proc);

    TChartTitle& Title() { return *title_; }
    TChartTitle& SubTitle() { return *subTitle_; }
    TChartTitle& Foot() { return *foot_; }
    TChartTitle& SubFoot() { return *subFoot_; }
    TChartWalls& Walls() { return *walls_; }
    TChartBackWall& BackWall() { return walls_->Back(); }
    TChartRightWall& RightWall() { return walls_->Right(); }
    TChartLegend& Legend() { return *legend_; }
    platform::TMouseButton ScrollMouseButton = platform::mbRight;
    bool NoSavedScales = true;
    TAllAxisSavedScales SavedScales;
    int ColorPaletteIndex = 0;

    TChartAllowScrollEvent OnAllowScroll;
    TChartClickAxis OnClickAxis;
    TChartClick OnClickBackground;
    TChartClick OnClickLegend;
    TChartClickSeries OnClickSeries;
    TChartClickTitle OnClickTitle;
    TOnGetLegendPos OnGetLegendPos;
    TOnGetLegendRect OnGetLegendRect;
    TOnGetLegendText OnGetLegendText;
    // Raised for a wheel step down or up that no OnMouseWheel handler took.
    TChartMouseWheelUpDownEvent OnMouseWheelDown;
    TChartMouseWheelUpDownEvent OnMouseWheelUp;
    // The legend text of an item after OnGetLegendText.
    std::string FormattedLegend(int index);
    // The same for any legend drawn on this chart.
    std::string InternalFormattedLegend(TCustomChartLegend& legend, int index);

    TColor GetBackColor() override;
    // The back wall's colour; its brush turns solid when the chart is on a form and not loading.
    void SetBackColor(TColor color);
    // "BackColor" (read only: a colour name or a number) and "ColorPaletteIndex".
    void DefineProperties(platform::TFiler* Filer) override;
    void GetPublished(platform::TPropertyList& L) override;
    bool IsFreeSeriesColor(TColor color, bool checkBackground, TChartSeries* series) override;
    std::string FormattedValueLegend(TChartSeries* series, int valueIndex) override;
    std::string AxisTitleOrName(TChartAxis& axis);
    TChartSeries* GetASeries();
    void SeriesUp(TChartSeries* s);
    void SeriesDown(TChartSeries* s);
    void NextPage();
    void PreviousPage();
    void RemoveAllSeries();

    void CalcWallsRect() override;
    int CalcWallSize(const TChartAxis& axis) override;
    void DrawTitlesAndLegend(bool beforeSeries) override;
    void DrawWalls() override;
    void DrawLegendShape(const TRect& r) override;
    bool ActiveSeriesUseAxis();
    void PrepareWallCanvas(TCustomChartWall& wall);
    bool DrawLeftWallFirst();
    bool DrawRightWallAfter();

    TAllAxisSavedScales SaveScales();
    void RestoreScales(TAllAxisSavedScales& scales);
    void DoZoom(double topMin, double topMax, double bottomMin, double bottomMax, double leftMin, double leftMax,
                double rightMin, double rightMax);
    void ZoomRect(const TRect& r);
    virtual void CalcZoomPoints();
    void ZoomPercent(double percent);
    void UndoZoom() override;
    void ScrollVerticalAxes(bool up);

    void CalcClickedPart(TPoint p, TChartClickedPart& part) { CalcNeedClickedPart(p, false, part); }
    void CalcNeedClickedPart(TPoint p, bool eventsOnly, TChartClickedPart& part);
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    bool DoMouseWheelDown(platform::TShiftState shift, TPoint pos) override;
    bool DoMouseWheelUp(platform::TShiftState shift, TPoint pos) override;
    void DrawLeftWall();
    void DrawRightWall();

private:
    bool StartZoomOrPan(platform::TMouseButton button, platform::TShiftState shift, int x, int y);
    bool PanStep(bool horizontal, int from, int to);
    void DrawBackWall();
    void DrawSideWall(TCustomChartWall& wall, int x, bool right);
    void DrawBottomWall();
    std::unique_ptr<TChartTitle> title_, subTitle_, foot_, subFoot_;
    std::unique_ptr<TChartWalls> walls_;
    std::unique_ptr<TChartLegend> legend_;
};

class TChart : public TCustomChart {
public:
    explicit TChart(platform::TComponent* owner = nullptr) : TCustomChart(owner) {}
};

}  // namespace chart

#pragma once
// Tools: components that join a chart and react to its drawing and mouse events, bound
// to a series or an axis; the chart's tool list; and the design-time observer base.
#include <string>
#include <vector>

#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartSeries.h"

namespace chart {

// The mouse events tools hear of.
enum TChartMouseEvent { cmeDown, cmeMove, cmeUp };

class TChartCustomTool : public TCustomChartElement, public IChartEventListener {
public:
    explicit TChartCustomTool(platform::TComponent* owner = nullptr) : TCustomChartElement(owner) {}
    ~TChartCustomTool() override;
    void SetParentChart(TCustomAxisPanel* chart) override;
    virtual void ChartEvent(TChartToolEvent) {}
    virtual void ChartMouseEvent(TChartMouseEvent, platform::TMouseButton, platform::TShiftState, int, int) {}
    virtual std::string Description() const { return {}; }
    void ReceiveChartEvent(TChartEvent& event) override;
};

class TChartCustomToolSeries : public TChartCustomTool {
public:
    using TChartCustomTool::TChartCustomTool;
    ~TChartCustomToolSeries() override;
    TChartSeries* Series() const { return series_; }
    virtual void SetSeries(TChartSeries* s);
    void Notification(platform::TComponent* c, TOperation op) override;
    TChartAxis* GetHorizAxis() const;
    TChartAxis* GetVertAxis() const;
    std::string GetEditorClass() const override { return "TSeriesToolEditor"; }

private:
    TChartSeries* series_ = nullptr;
};

class TChartCustomToolAxis : public TChartCustomTool {
public:
    using TChartCustomTool::TChartCustomTool;
    TChartAxis* Axis() const { return axis_; }
    virtual void SetAxis(TChartAxis* a);
    void ForgetAxis() { axis_ = nullptr; }
    // The "AxisID" stream property: the axis' place in its chart's axis list (-1: none).
    int AxisID() const;
    void ReadAxisID(int id);
    std::string GetEditorClass() const override { return "TAxisToolEditor"; }

private:
    TChartAxis* axis_ = nullptr;
};

class TChartTools {
public:
    explicit TChartTools(TCustomAxisPanel* chart) : chart_(chart) {}
    ~TChartTools() { Clear(); }
    TChartCustomTool* Add(TChartCustomTool* tool);
    void Clear();
    TChartCustomTool* Get(int i) const { return items_[std::size_t(i)]; }
    int Count() const { return int(items_.size()); }
    int IndexOf(const TChartCustomTool* t) const;
    void SetActive(bool v);
    TCustomAxisPanel* Chart() const { return chart_; }
    // Joining and leaving, as a tool's chart changes.
    void Join(TChartCustomTool* t) { items_.push_back(t); }
    void Leave(TChartCustomTool* t);
    // Before the chart goes away: axis tools forget their axes.
    void ReleaseAxes();

private:
    TCustomAxisPanel* chart_;
    std::vector<TChartCustomTool*> items_;
};

class TChartCustomDesigner {
public:
    virtual ~TChartCustomDesigner() = default;
    virtual void Refresh() {}
    virtual void Repaint() {}
};

}  // namespace chart

// Chart tools and the chart's tool list.
#include "widgets/chart/ChartTools.h"

#include <algorithm>

#include "widgets/chart/ChartAxis.h"

namespace chart {

// ---------------------------------------------------------------- the chart's side

TChartTools& TCustomAxisPanel::ToolList()
{
    if (!tools_) tools_ = new TChartTools(this);
    return *tools_;
}

void TCustomAxisPanel::DestroyTools()
{
    if (!tools_) return;
    tools_->ReleaseAxes();
    delete tools_;
    tools_ = nullptr;
}

void TCustomAxisPanel::BroadcastToolEvent(TChartToolEvent event)
{
    if (!tools_) return;
    for (int i = 0; i < tools_->Count(); ++i)
        if (TChartCustomTool* t = tools_->Get(i); t->Active()) t->ChartEvent(event);
}

// ---------------------------------------------------------------- tools

TChartCustomTool::~TChartCustomTool()
{
    if (TCustomAxisPanel* c = ParentChart()) {
        c->RemoveListener(this);
        if (c->HasTools()) c->ToolList().Leave(this);
    }
}

void TChartCustomTool::SetParentChart(TCustomAxisPanel* chart)
{
    TCustomAxisPanel* old = ParentChart();
    if (chart == old) return;
    if (old) {
        old->RemoveListener(this);
        old->ToolList().Leave(this);
        if (!chart) old->Invalidate();
    }
    TCustomChartElement::SetParentChart(chart);
    if (chart) {
        chart->ToolList().Join(this);
        chart->Listeners.Add(this);
    }
}

void TChartCustomTool::ReceiveChartEvent(TChartEvent& event)
{
    if (!Active()) return;
    auto* m = dynamic_cast<TChartMouseMessage*>(&event);
    if (!m) return;
    const TChartMouseEvent kind = m->Event == meDown ? cmeDown : m->Event == meUp ? cmeUp : cmeMove;
    ChartMouseEvent(kind, m->Button, m->Shift, m->X, m->Y);
}

TChartCustomToolSeries::~TChartCustomToolSeries()
{
    if (series_) series_->RemoveFreeNotification(this);
}

void TChartCustomToolSeries::SetSeries(TChartSeries* s)
{
    if (s == series_) return;
    if (series_) series_->RemoveFreeNotification(this);
    series_ = s;
    if (series_) series_->FreeNotification(this);
}

void TChartCustomToolSeries::Notification(platform::TComponent* c, TOperation op)
{
    TChartCustomTool::Notification(c, op);
    if (op == opRemove && c == series_) {
        series_ = nullptr;
        SetSeries(nullptr);
    }
}

TChartAxis* TChartCustomToolSeries::GetHorizAxis() const
{
    if (series_) return series_->ActiveHorizAxis();
    return ParentChart() ? &ParentChart()->BottomAxis() : nullptr;
}

TChartAxis* TChartCustomToolSeries::GetVertAxis() const
{
    if (series_) return series_->ActiveVertAxis();
    return ParentChart() ? &ParentChart()->LeftAxis() : nullptr;
}

void TChartCustomToolAxis::SetAxis(TChartAxis* a)
{
    if (a == axis_) return;
    axis_ = a;
    SetParentChart(a ? a->ParentChart() : nullptr);
    Repaint();
}

int TChartCustomToolAxis::AxisID() const
{
    if (!axis_ || !axis_->ParentChart()) return -1;
    return axis_->ParentChart()->AxisList().IndexOf(axis_);
}

void TChartCustomToolAxis::ReadAxisID(int id)
{
    TCustomAxisPanel* c = ParentChart();
    if (!c || id < 0 || id >= c->AxisList().Count()) return;
    SetAxis(c->AxisList().Get(id));
}

// ---------------------------------------------------------------- the list

TChartCustomTool* TChartTools::Add(TChartCustomTool* tool)
{
    tool->SetParentChart(chart_);
    return tool;
}

void TChartTools::Clear()
{
    while (!items_.empty()) {
        TChartCustomTool* t = items_.front();
        const std::size_t before = items_.size();
        delete t;  // leaves the list
        if (items_.size() == before) items_.erase(items_.begin());
    }
}

int TChartTools::IndexOf(const TChartCustomTool* t) const
{
    const auto it = std::find(items_.begin(), items_.end(), t);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

void TChartTools::SetActive(bool v)
{
    for (TChartCustomTool* t : items_) t->SetActive(v);
}

void TChartTools::Leave(TChartCustomTool* t) { std::erase(items_, t); }

void TChartTools::ReleaseAxes()
{
    for (TChartCustomTool* t : items_)
        if (auto* a = dynamic_cast<TChartCustomToolAxis*>(t)) a->ForgetAxis();
}

}  // namespace chart

// Registries of series, function and tool types; creating, cloning and changing series.
#include "widgets/chart/ChartRegistry.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFunctions.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartProcs.h"
#include "widgets/chart/ChartTools.h"

namespace chart {

using platform::TComponent;

std::string ChartClassName(const std::type_info& t)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> d(abi::__cxa_demangle(t.name(), nullptr, nullptr, &status), std::free);
    std::string n = status == 0 && d ? d.get() : t.name();
    const auto colon = n.rfind("::");
    return colon == std::string::npos ? n : n.substr(colon + 2);
}

// ---------------------------------------------------------------- the registries

void TChartSeriesTypes::Remove(int i)
{
    delete items_[std::size_t(i)];
    items_.erase(items_.begin() + i);
}

void TChartSeriesTypes::Clear()
{
    for (TChartSeriesType* t : items_) delete t;
    items_.clear();
}

TChartSeriesType* TChartSeriesTypes::Find(TChartSeriesClass c) const
{
    for (TChartSeriesType* t : items_)
        if (t->SeriesKind == c && !t->FunctionKind) return t;
    return nullptr;
}

int TChartToolTypes::IndexOf(TChartToolClass c) const
{
    const auto it = std::find(items_.begin(), items_.end(), c);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

void TChartToolTypes::Remove(TChartToolClass c) { std::erase(items_, c); }

TChartSeriesTypes& ChartSeriesTypes()
{
    static TChartSeriesTypes types;
    return types;
}

TChartToolTypes& ChartToolTypes()
{
    static TChartToolTypes types;
    return types;
}

void RegisterChartSeriesFunction(TChartSeriesClass s, TChartFunctionClass f, const std::string* description,
                                 const std::string* galleryPage, int count)
{
    TChartSeriesTypes& types = ChartSeriesTypes();
    for (int i = 0; i < types.Count(); ++i)
        if (types.Get(i)->SeriesKind == s && types.Get(i)->FunctionKind == f) return;
    auto* t = new TChartSeriesType;
    t->SeriesKind = s;
    t->FunctionKind = f;
    t->Caption = description;
    t->GalleryTab = galleryPage;
    t->GallerySeriesCount = count;
    types.Add(t);
}

void RegisterChartSeries(TChartSeriesClass s, const std::string* description, const std::string* galleryPage, int count)
{
    RegisterChartSeriesFunction(s, nullptr, description, galleryPage, count);
}

void RegisterChartSeries(TChartSeriesClass s, const std::string* description)
{
    RegisterChartSeries(s, description, &ChartMsg_GalleryStandard, 2);
}

void RegisterChartFunction(TChartFunctionClass f, const std::string* description, const std::string* galleryPage,
                           int count)
{
    RegisterChartSeriesFunction(nullptr, f, description, galleryPage, count);
}

void RegisterChartBasicFunction(TChartFunctionClass f, const std::string* description)
{
    RegisterChartFunction(f, description, &ChartMsg_GalleryStandard, 2);
}

void UnRegisterChartSeries(const std::vector<TChartSeriesClass>& classes)
{
    TChartSeriesTypes& types = ChartSeriesTypes();
    for (TChartSeriesClass c : classes)
        for (int i = types.Count() - 1; i >= 0; --i)
            if (types.Get(i)->SeriesKind == c) types.Remove(i);
}

void UnRegisterChartFunctions(const std::vector<TChartFunctionClass>& classes)
{
    TChartSeriesTypes& types = ChartSeriesTypes();
    for (TChartFunctionClass c : classes)
        for (int i = types.Count() - 1; i >= 0; --i)
            if (types.Get(i)->FunctionKind == c) types.Remove(i);
}

void RegisterChartTools(const std::vector<TChartToolClass>& classes)
{
    for (TChartToolClass c : classes)
        if (ChartToolTypes().IndexOf(c) < 0) ChartToolTypes().Add(c);
}

void UnRegisterChartTools(const std::vector<TChartToolClass>& classes)
{
    for (TChartToolClass c : classes) ChartToolTypes().Remove(c);
}

namespace {
template <class Base>
const TChartClass<Base>* ClassOf(const std::type_info& t)
{
    for (const TChartClass<Base>* c : KnownChartClasses<Base>())
        if (*c->Type == t) return c;
    return nullptr;
}
}  // namespace

TChartSeriesClass SeriesClassOf(const TChartSeries& s) { return ClassOf<TChartSeries>(typeid(s)); }
TChartFunctionClass FunctionClassOf(const TChartFunction& f) { return ClassOf<TChartFunction>(typeid(f)); }

std::string GetGallerySeriesName(const TChartSeries& s)
{
    if (TChartSeriesClass c = SeriesClassOf(s))
        if (TChartSeriesType* t = ChartSeriesTypes().Find(c)) return t->Description();
    return ChartClassName(typeid(s));
}

// ---------------------------------------------------------------- creating and changing

std::string GetNewSeriesName(const TComponent* owner) { return ChartGetUniqueName(owner, "Series"); }

TChartFunction* CreateNewChartFunction(TChartSeries& series, TChartFunctionClass f)
{
    TChartFunction* fn = f->Create(series.Owner());
    fn->SetParentSeries(&series);
    fn->SetName(ChartGetUniqueName(series.Owner(), "ChartFunction"));
    return fn;
}

TChartSeries* CreateNewSeries(TComponent* owner, TCustomAxisPanel* chart, TChartSeriesClass s, TChartFunctionClass f)
{
    if (!owner) owner = chart;
    if (chart)
        for (TChartSeries* x : chart->SeriesList())
            if (x->Owner() == chart) owner = chart;
    TChartSeries* series = s->Create(owner);
    series->SetName(GetNewSeriesName(owner));
    if (chart) chart->AddSeries(series);
    if (f) CreateNewChartFunction(*series, f);
    return series;
}

TChartSeries* CloneChartSeries(TChartSeries& s) { return CloneChartSeries(s, s.Owner(), s.ParentChart()); }
TChartSeries* CloneChartSeries(TChartSeries& s, TCustomAxisPanel* chart) { return CloneChartSeries(s, s.Owner(), chart); }

TChartSeries* CloneChartSeries(TChartSeries& s, TComponent* owner, TCustomAxisPanel* chart)
{
    TChartSeriesClass c = SeriesClassOf(s);
    if (!c) throw ChartException(ChartFormat(ChartMsg_SeriesClassUnknown, ChartClassName(typeid(s)).c_str()));
    TChartFunctionClass f = s.SeriesFunction() ? FunctionClassOf(*s.SeriesFunction()) : nullptr;
    TChartSeries* clone = CreateNewSeries(owner, chart, c, f);
    clone->Assign(s);
    if (f && clone->SeriesFunction()) clone->SeriesFunction()->Assign(*s.SeriesFunction());
    return clone;
}

void AssignSeries(TChartSeries*& oldSeries, TChartSeries*& newSeries)
{
    if (oldSeries == newSeries) return;
    TChartSeries& o = *oldSeries;
    TChartSeries& n = *newSeries;
    n.Assign(o);
    n.AfterDrawValues = o.AfterDrawValues;
    n.BeforeDrawValues = o.BeforeDrawValues;
    n.OnAfterAdd = o.OnAfterAdd;
    n.OnBeforeAdd = o.OnBeforeAdd;
    n.OnClearValues = o.OnClearValues;
    n.OnClickSeries = o.OnClickSeries;
    n.OnDblClickSeries = o.OnDblClickSeries;
    n.OnGetMarkText = o.OnGetMarkText;
    const std::string name = o.Name();
    // Series fed by the old one are fed by the new one.
    while (!o.LinkedSeries.empty()) {
        TChartSeries* l = o.LinkedSeries.front();
        TDataSourcesList& sources = l->DataSources();
        std::replace(sources.begin(), sources.end(), static_cast<platform::TComponent*>(&o),
                     static_cast<platform::TComponent*>(&n));
        n.AddLinkedSeries(l);
        o.RemoveLinkedSeries(l);
    }
    TCustomAxisPanel* chart = o.ParentChart();
    if (chart) {
        if (chart->HasTools())
            for (int i = 0; i < chart->ToolList().Count(); ++i)
                if (auto* t = dynamic_cast<TChartCustomToolSeries*>(chart->ToolList().Get(i)); t && t->Series() == &o)
                    t->SetSeries(&n);
        const auto& list = chart->SeriesList();
        const int a = int(std::find(list.begin(), list.end(), &o) - list.begin());
        const int b = int(std::find(list.begin(), list.end(), &n) - list.begin());
        if (a < int(list.size()) && b < int(list.size())) chart->ExchangeSeries(a, b);
    }
    delete oldSeries;
    oldSeries = nullptr;
    n.SetName(name);
    if (chart) chart->BroadcastSeriesEvent(&n, seChangeTitle);
    n.CheckDataSource();
    if (n.OwnData) n.RefreshSeries();
}

void ChangeSeriesType(TChartSeries*& series, TChartSeriesClass newClass)
{
    if (!series || *newClass->Type == typeid(*series)) return;
    TChartSeries* n = CreateNewSeries(series->Owner(), series->ParentChart(), newClass);
    if (n) {
        AssignSeries(series, n);
        series = n;
    }
}

void ChangeAllSeriesType(TCustomAxisPanel& chart, TChartSeriesClass newClass)
{
    for (int i = 0; i < chart.SeriesCount(); ++i) {
        TChartSeries* s = chart.GetSeries(i);
        ChangeSeriesType(s, newClass);
    }
}

void PaintSeriesLegend(TChartSeries& s, platform::TCanvas* canvas, const TRect& r, TCustomAxisPanel* chart)
{
    std::unique_ptr<TChart> temporary;
    const bool attach = !s.ParentChart();
    if (attach) {
        if (!chart) {
            temporary = std::make_unique<TChart>();
            chart = temporary.get();
        }
        chart->AddSeries(&s);
    }
    TCustomAxisPanel& c = *s.ParentChart();
    TCanvas3D& cv = *c.ChartCanvas();
    platform::TCanvas* previous = cv.ReferenceCanvas();
    canvas->Brush().SetStyle(platform::bsSolid);
    canvas->Brush().SetColor(c.LegendColor);
    if (!cv.GetSupportsFullRotation()) {
        cv.SetCanvas(canvas);
        struct Back {
            TCanvas3D& cv;
            platform::TCanvas* previous;
            ~Back() { cv.SetCanvas(previous); }
        } back{cv, previous};
        if (c.LegendPen) cv.AssignVisiblePen(*c.LegendPen);
        s.DrawLegend(-1, r);
    }
    if (attach) c.RemoveSeries(&s);
}

platform::TCursor TChartDragObject::GetDragCursor(bool accepted, int, int) const { return accepted ? 2020 : -13; }

}  // namespace chart

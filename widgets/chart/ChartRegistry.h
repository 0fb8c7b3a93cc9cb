#pragma once
// The registries of series, function and tool types that galleries read, and the
// routines that create, clone and change series and paint a series' legend symbol.
#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/controls/Controls.h"
#include "widgets/chart/Chart.h"

namespace chart {

class TChartFunction;
class TChartCustomTool;

// A class of series, function or tool: its name, how to make one, and its C++ type.
template <class Base>
struct TChartClass {
    std::string Name;
    std::function<Base*(platform::TComponent*)> Create;
    const std::type_info* Type = nullptr;
};
using TChartSeriesClass = const TChartClass<TChartSeries>*;
using TChartFunctionClass = const TChartClass<TChartFunction>*;
using TChartToolClass = const TChartClass<TChartCustomTool>*;

// The one class object of a type (its name without namespace).
std::string ChartClassName(const std::type_info& t);
template <class Base>
std::vector<const TChartClass<Base>*>& KnownChartClasses()
{
    static std::vector<const TChartClass<Base>*> known;
    return known;
}
template <class T, class Base>
const TChartClass<Base>* ChartClassOf()
{
    static const TChartClass<Base>* c = [] {
        auto* made = new TChartClass<Base>{ChartClassName(typeid(T)),
                                           [](platform::TComponent* o) -> Base* { return new T(o); }, &typeid(T)};
        KnownChartClasses<Base>().push_back(made);
        return made;
    }();
    return c;
}
template <class T>
TChartSeriesClass SeriesClass() { return ChartClassOf<T, TChartSeries>(); }
template <class T>
TChartFunctionClass FunctionClass() { return ChartClassOf<T, TChartFunction>(); }
template <class T>
TChartToolClass ToolClass() { return ChartClassOf<T, TChartCustomTool>(); }

class TChartSeriesType {
public:
    TChartSeriesClass SeriesKind = nullptr;
    TChartFunctionClass FunctionKind = nullptr;
    const std::string* Caption = nullptr;
    const std::string* GalleryTab = nullptr;
    int GallerySeriesCount = 2;
    std::string Description() const { return Caption ? *Caption : std::string(); }
};

class TChartSeriesTypes {
public:
    ~TChartSeriesTypes() { Clear(); }
    TChartSeriesType* Get(int i) const { return items_[std::size_t(i)]; }
    int Count() const { return int(items_.size()); }
    void Add(TChartSeriesType* t) { items_.push_back(t); }
    void Remove(int i);
    void Clear();
    TChartSeriesType* Find(TChartSeriesClass c) const;

private:
    std::vector<TChartSeriesType*> items_;
};

class TChartToolTypes {
public:
    TChartToolClass Get(int i) const { return items_[std::size_t(i)]; }
    int Count() const { return int(items_.size()); }
    int IndexOf(TChartToolClass c) const;
    void Add(TChartToolClass c) { items_.push_back(c); }
    void Remove(TChartToolClass c);

private:
    std::vector<TChartToolClass> items_;
};

TChartSeriesTypes& ChartSeriesTypes();
TChartToolTypes& ChartToolTypes();

void RegisterChartSeriesFunction(TChartSeriesClass s, TChartFunctionClass f, const std::string* description,
                                 const std::string* galleryPage, int count);
void RegisterChartSeries(TChartSeriesClass s, const std::string* description, const std::string* galleryPage, int count);
void RegisterChartSeries(TChartSeriesClass s, const std::string* description);
void RegisterChartFunction(TChartFunctionClass f, const std::string* description, const std::string* galleryPage,
                           int count);
void RegisterChartBasicFunction(TChartFunctionClass f, const std::string* description);
void UnRegisterChartSeries(const std::vector<TChartSeriesClass>& classes);
void UnRegisterChartFunctions(const std::vector<TChartFunctionClass>& classes);
void RegisterChartTools(const std::vector<TChartToolClass>& classes);
void UnRegisterChartTools(const std::vector<TChartToolClass>& classes);
// The class object of a series' or function's type, when it is known (registered or made).
TChartSeriesClass SeriesClassOf(const TChartSeries& s);
TChartFunctionClass FunctionClassOf(const TChartFunction& f);

std::string GetGallerySeriesName(const TChartSeries& s);
std::string GetNewSeriesName(const platform::TComponent* owner);
TChartFunction* CreateNewChartFunction(TChartSeries& series, TChartFunctionClass f);
TChartSeries* CreateNewSeries(platform::TComponent* owner, TCustomAxisPanel* chart, TChartSeriesClass s,
                              TChartFunctionClass f = nullptr);
TChartSeries* CloneChartSeries(TChartSeries& s);
TChartSeries* CloneChartSeries(TChartSeries& s, TCustomAxisPanel* chart);
TChartSeries* CloneChartSeries(TChartSeries& s, platform::TComponent* owner, TCustomAxisPanel* chart);
// Moves settings, data, events, dependants, tools and place from the old series to the new one
// and destroys the old one (the variable is cleared).
void AssignSeries(TChartSeries*& oldSeries, TChartSeries*& newSeries);
void ChangeSeriesType(TChartSeries*& series, TChartSeriesClass newClass);
void ChangeAllSeriesType(TCustomAxisPanel& chart, TChartSeriesClass newClass);
void PaintSeriesLegend(TChartSeries& s, platform::TCanvas* canvas, const TRect& r, TCustomAxisPanel* chart = nullptr);

class TChartDragObject : public platform::TDragObject {
public:
    explicit TChartDragObject(const TChartClickedPart& part) : Part(part) {}
    TChartClickedPart Part;
    platform::TCursor GetDragCursor(bool accepted, int x, int y) const;
    void Finished() {}
};

}  // namespace chart

#pragma once
// Functions that compute a series' points from its data sources (one value per period
// or a moving window), and the base of components that load data into a series.
#include <string>
#include <vector>

#include "platform/Classes.h"
#include "platform/Streaming.h"

namespace chart {

class TChartSeries;
class TChartValueList;
class TCustomAxisPanel;

enum TFunctionPeriodStyle { psNumPoints, psRange };
enum TFunctionPeriodAlign { paFirst, paCenter, paLast };

// Whether `target` is reached from `from` through the series' data sources (or is it).
bool FeedsInto(const TChartSeries* target, platform::TComponent* from);

class TChartFunction : public platform::TComponent, public platform::IStreamReadHooks {
public:
    explicit TChartFunction(platform::TComponent* owner = nullptr);
    ~TChartFunction() override;
    void Assign(const platform::TPersistent& source) override;

    // Streamed as the child of its series: "Period", "PeriodAlign", "PeriodStyle".
    platform::TComponent* GetParentComponent() const;
    void SetParentComponent(platform::TComponent* Parent) override;
    virtual bool HasParent() const { return true; }
    void GetPublished(platform::TPropertyList& L) override;
    // "Period" is written whenever it differs from the class's own start value, 0 included.
    void DefineProperties(platform::TFiler* Filer) override;
    // A period the stream paired with a style that refuses it raises here.
    void Loaded() override;

    double Period() const { return period_; }
    // Negative periods, and point counts that round to no point, are refused.
    void SetPeriod(double v);
    void InternalSetPeriod(double v) { period_ = v; }
    TFunctionPeriodStyle PeriodStyle() const { return periodStyle_; }
    void SetPeriodStyle(TFunctionPeriodStyle v);
    TFunctionPeriodAlign PeriodAlign() const { return periodAlign_; }
    void SetPeriodAlign(TFunctionPeriodAlign v);
    TChartSeries* ParentSeries() const { return parent_; }
    void SetParentSeries(TChartSeries* s);
    void ForgetParent() { parent_ = nullptr; }
    bool Updating() const { return updating_; }
    bool ComputesWithoutSource = false;
    void BeginUpdate() { updating_ = true; }
    void EndUpdate();
    void ReCalculate();

    TChartValueList& ValueList(TChartSeries& source);
    void AddFunctionXY(bool sourceVertical, double value, double position);
    virtual void CalculatePeriod(TChartSeries& source, double position, int first, int last);
    virtual void CalculateAllPoints(TChartSeries& source, TChartValueList& list);
    virtual void CalculateByPeriod(TChartSeries& source, TChartValueList& list);
    virtual void DoCalculation(TChartSeries& source, TChartValueList& list);
    virtual std::string GetEditorClass() const { return "TChartFunctionEditor"; }
    static void PrepareForGallery(TCustomAxisPanel& chart);
    // The value of the points first..last (-1, -1: all points).
    virtual double Calculate(TChartSeries&, int, int) { return 0; }
    virtual double CalculateMany(const std::vector<platform::TComponent*>&, int) { return 0; }
    virtual void Clear() {}
    virtual bool IsValidSource(const TChartSeries&) const { return true; }
    virtual void AddPoints(TChartSeries* source);

protected:
    double period_ = 0;
    // The period a new function of the class starts with.
    double startPeriod_ = 0;

private:
    void CheckPeriod(double v, TFunctionPeriodStyle style) const;
    TFunctionPeriodStyle periodStyle_ = psNumPoints;
    TFunctionPeriodAlign periodAlign_ = paCenter;
    TChartSeries* parent_ = nullptr;
    bool updating_ = false;
};

class TChartMovingFunction : public TChartFunction {
public:
    explicit TChartMovingFunction(platform::TComponent* owner = nullptr);
    void DoCalculation(TChartSeries& source, TChartValueList& list) override;
};

class TChartSeriesSource : public platform::TComponent {
public:
    explicit TChartSeriesSource(platform::TComponent* owner = nullptr) : TComponent(owner) {}
    ~TChartSeriesSource() override;
    bool Active() const { return active_; }
    virtual void SetActive(bool v);
    virtual bool Available(TCustomAxisPanel*) const { return true; }
    virtual std::string Description() const { return {}; }
    virtual bool HasNew() const { return false; }
    bool HasSeries(const TChartSeries& s) const;
    void Open() { SetActive(true); }
    virtual void Close();
    virtual void Load() {}
    void Refresh();
    void Loaded() override;
    TChartSeries* Series() const { return series_; }
    void SetSeries(TChartSeries* s);
    void Notification(platform::TComponent* c, TOperation op) override;
    bool Loading = false;

private:
    bool active_ = false;
    TChartSeries* series_ = nullptr;
};

// The source kinds editors offer, as factories keyed by class name.
struct TChartSourceClass {
    std::string ClassName;
    TChartSeriesSource* (*Create)(platform::TComponent* owner);
};
std::vector<TChartSourceClass>& ChartSources();

}  // namespace chart

#pragma once
// Series: chart elements holding points (X, Y, further values, labels and colours), the
// notices a change sends, and how a series sits on its axes, in depth and in the legend.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Streaming.h"
#include "platform/controls/Controls.h"
#include "widgets/chart/ChartCanvas.h"
#include "widgets/chart/ChartValues.h"

namespace chart {

class TChartBrush;
class TChartPen;
class TChartAxis;
class TCustomAxisPanel;
class TSeriesMarks;
class TChartFunction;
class TChartSeries;
class TCustomChartLegend;

// The data sources of a series, in order. Add validates through the series; every entry that
// leaves the list (Remove, Delete, Clear) is reported to the series.
class TDataSourcesList : public std::vector<platform::TComponent*> {
public:
    explicit TDataSourcesList(TChartSeries* series) : series_(series) {}
    TDataSourcesList(const TDataSourcesList&) = delete;
    TDataSourcesList& operator=(const TDataSourcesList&) = delete;
    TChartSeries* Series() const { return series_; }
    int Count() const { return int(size()); }
    platform::TComponent* Get(int i) const { return (*this)[std::size_t(i)]; }
    int IndexOf(const platform::TComponent* c) const;
    // The new index, or -1 when the component is there already.
    int Add(platform::TComponent* c);
    // The plain list operations, with no check and no notice.
    int InheritedAdd(platform::TComponent* c);
    void InheritedClear() { clear(); }
    void Remove(platform::TComponent* c);
    void Delete(int i);
    // The series unlinks from its source series, the entries go (last first), and the series
    // loses its points unless it has data of its own.
    void Clear();

private:
    TChartSeries* series_;
};

enum TValueEvent { veClear, veAdd, veDelete, veRefresh, veModify };
enum TChartSeriesEvent { seAdd, seRemove, seChangeTitle, seChangeColor, seSwap, seChangeActive, seDataChanged };
enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };
enum TLegendTextStyle {
    ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue, ltsValue, ltsPercent,
    ltsXAndValue, ltsXAndPercent
};
enum TSeriesRecalcOption : unsigned { rOnDelete = 1, rOnModify = 2, rOnInsert = 4, rOnClear = 8 };
// A set of TSeriesRecalcOption bits.
using TSeriesRecalcOptions = unsigned;
// Between the columns of a legend text.
extern char ChartColumnSeparator;

class TCustomChartElement : public platform::TComponent {
public:
    explicit TCustomChartElement(platform::TComponent* owner);
    ~TCustomChartElement() override;
    void Assign(const platform::TPersistent& source) override;

    bool Active() const { return active_; }
    virtual void SetActive(bool v);
    TChartBrush& Brush() { return *brush_; }
    TChartPen& Pen() { return *pen_; }
    TCustomAxisPanel* ParentChart() const { return parentChart_; }
    virtual void SetParentChart(TCustomAxisPanel* chart);
    bool EditorHidden = false;
    // The name of a design-time editor class for the element; none here.
    virtual std::string GetEditorClass() const { return {}; }
    virtual void CanvasChanged(platform::TObject*) { Repaint(); }
    void Repaint();
    // In the component stream the element is a child of its chart.
    platform::TComponent* GetParentComponent() const;
    virtual bool HasParent() const { return true; }

    void SetBooleanProperty(bool& field, bool v);
    void SetColorProperty(TColor& field, TColor v);
    void SetIntegerProperty(int& field, int v);
    void SetDoubleProperty(double& field, double v);
    void SetStringProperty(std::string& field, const std::string& v);

protected:
    TCustomAxisPanel* parentChart_ = nullptr;
    bool active_ = true;

private:
    std::unique_ptr<TChartBrush> brush_;
    std::unique_ptr<TChartPen> pen_;
};

class TCustomChartSeries : public TCustomChartElement {
public:
    // "Identifier" and "Style".
    void DefineProperties(platform::TFiler* Filer) override;
    using TCustomChartElement::TCustomChartElement;
    void Assign(const platform::TPersistent& source) override;
    void SetActive(bool v) override;
    bool ShowInLegend() const { return showInLegend_; }
    void SetShowInLegend(bool v) { SetBooleanProperty(showInLegend_, v); }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& v);
    std::string Identifier;
    unsigned Style = 0;  // TChartSeriesStyle bits
    virtual void CalcHorizMargins(int& left, int& right) { left = right = 0; }
    virtual void CalcVerticalMargins(int& top, int& bottom) { top = bottom = 0; }
    virtual void DoBeforeDrawChart() {}
    virtual void Added() {}
    virtual void Removed() { parentChart_ = nullptr; }
    // A gallery switched between its 2D and 3D previews: the chart's 3D view follows.
    virtual void GalleryChanged3D(bool flag);

private:
    bool showInLegend_ = true;
    std::string title_;
};

class TChartSeries : public TCustomChartSeries, public platform::IStreamReadHooks {
public:
    explicit TChartSeries(platform::TComponent* owner = nullptr);
    ~TChartSeries() override;
    void Assign(const platform::TPersistent& source) override;
    void SetParentChart(TCustomAxisPanel* chart) override;
    void Added() override;
    void Removed() override;

    // Points.
    virtual int AddXY(double x, double y, const std::string& label = {}, TColor color = clUseSeriesColor);
    virtual int Add(double value, const std::string& label = {}, TColor color = clUseSeriesColor);
    int AddX(double x, const std::string& label = {}, TColor color = clUseSeriesColor);
    int AddY(double y, const std::string& label = {}, TColor color = clUseSeriesColor);
    virtual int AddNull(const std::string& label = {});
    virtual int AddNullXY(double x, double y, const std::string& label = {});
    int AddArray(const std::vector<double>& values);
    virtual void Delete(int index);
    virtual void Delete(int start, int quantity, bool removeGap = false);
    virtual void Clear();
    virtual void ClearLists();
    int Count() const { return xValues_->Count(); }
    virtual double GetxValue(int i) const { return xValues_->Value(i); }
    virtual double GetyValue(int i) const { return yValues_->Value(i); }
    void SetXValue(int i, double v);
    void SetYValue(int i, double v);
    std::string GetXLabel(int i) const { return LabelList.GetLabel(i); }
    void SetXLabel(int i, const std::string& text) { LabelList.SetLabel(i, text); }
    void SetMarkText(int i, const std::string& text) { LabelList.SetLabel(i, text); }
    TLabelsList& Labels() { return LabelList; }
    virtual TColor GetValueColor(int i) const;
    void SetValueColor(int i, TColor c);
    TColor InternalColor(int i) const;
    bool HasColorList() const { return hasColorList_; }
    bool IsNull(int i) const { return GetValueColor(i) == platform::clNone; }
    void SetNull(int i, bool flag) { SetValueColor(i, flag ? platform::clNone : clUseSeriesColor); }
    virtual double GetMarkValue(int i) const { return mandatory_->Value(i); }
    virtual double GetOriginValue(int i) const { return GetMarkValue(i); }
    void ColorRange(TChartValueList& list, double fromValue, double toValue, TColor color);
    virtual TChartValueList* GetYValueList(const std::string& name);
    virtual void SwapValueIndex(int a, int b);

    // Value lists.
    TChartValueLists& ValueLists() { return lists_; }
    TChartValueList& XValues() { return *xValues_; }
    TChartValueList& YValues() { return *yValues_; }
    TChartValueList& MandatoryValues() { return *mandatory_; }
    TChartValueList& NotMandatoryValues() { return *notMandatory_; }
    bool ValuesVertical() const { return valuesVertical_; }
    void SetHorizontal();
    void ReplaceList(TChartValueList* oldList, TChartValueList* newList);

    // Colours and formats.
    TColor GetSeriesColor() const { return StoredColor == clUseSeriesColor ? CurrentColor : StoredColor; }
    TColor SeriesColor() const { return GetSeriesColor(); }
    virtual void SetSeriesColor(TColor c);
    void ChangeInternalColor(TColor c);
    // The chart tells its parts that the series colour changed.
    void NotifyColorChanged();
    bool IsColorStored() const { return StoredColor != clUseSeriesColor; }
    bool ColorEachPoint() const { return colorEachPoint_; }
    virtual void SetColorEachPoint(bool v) { SetBooleanProperty(colorEachPoint_, v); }
    const std::string& ValueFormat() const { return valueFormat_; }
    void SetValueFormat(const std::string& v) { SetStringProperty(valueFormat_, v); }
    const std::string& PercentFormat() const { return percentFormat_; }
    void SetPercentFormat(const std::string& v) { SetStringProperty(percentFormat_, v); }
    int Depth() const { return depth_; }
    void SetDepth(int v) { SetIntegerProperty(depth_, v); }
    TSeriesMarks& Marks() { return *marks_; }
    std::string GetMarkText(int i);
    std::string MarkPercent(int i, bool addTotal);
    void DrawMarks();
    virtual void DrawMark(int i, const std::string& text, struct TSeriesMarkPosition& p);
    int MaxMarkWidth();

    // Batching and notices.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    void RefreshSeries();
    virtual void NotifyNewValue(TChartSeries* sender, int index);
    virtual void NotifyValue(TValueEvent event, int index);
    std::vector<TChartSeries*> LinkedSeries;
    TSeriesRecalcOptions RecalcOn = rOnDelete | rOnModify | rOnInsert | rOnClear;

    // Copying from another series.
    virtual int AddChartValue(TChartSeries& source, int index);
    virtual void AddedValue(TChartSeries& source, int index);
    virtual void DeletedValue(TChartSeries& source, int index)
    {
        if (function_) AddValues(source);
        else Delete(index);
    }
    virtual void AddValues(TChartSeries& source);
    void AssignValues(TChartSeries& source) { AddValues(source); }
    void AssignFormat(TChartSeries& source);
    virtual bool IsValidSourceOf(const TChartSeries& source) const { return &source != this; }

    // The "Data" stream: the points in the compact record format.
    bool OwnData = false, AlwaysStoreData = false, NeverStoreData = false, StoresXValues = true;
    bool HasDataToStore() const { return AlwaysStoreData || (OwnData && !NeverStoreData); }
    virtual void WriteData(std::vector<unsigned char>& out);
    // Refuses (ChartException) a payload that does not fit, leaving the series unchanged.
    void ReadData(const std::vector<unsigned char>& in);
    // Sample data and ordering.
    virtual int NumSampleValues() { return 25; }
    void FillSampleValues(int n = 0);
    virtual int AddSampleValues(int n, bool onlyMandatory = false);
    void RandomBounds(int n, double& x, double& stepX, double& y, double& rangeY);
    virtual void CheckOrder();
    void SortByLabels(TChartListOrder order);
    // A small preview in a gallery of series types.
    virtual void PrepareForGallery(bool enabled);
    // Names of data sources read from a stream, found among the owner's components on Loaded.
    std::unique_ptr<std::vector<std::string>> PendingSourceNames;
    void Loaded() override;
    TChartListOrder LabelSortOrder = loNone;
    // -1, 0 or 1 by the two points' labels, turned round for a descending sort.
    int CompareLabelIndex(int a, int b);
    // Streaming: published settings, "DataSource(s)", "CustomHorizAxis", "CustomVertAxis" and
    // "Data"; a series read as a chart's child joins that chart first.
    void GetPublished(platform::TPropertyList& L) override;
    void DefineProperties(platform::TFiler* Filer) override;
    void SetParentComponent(platform::TComponent* Parent) override;
    // The function, streamed as this series' child.
    void GetChildren(const std::function<void(platform::TComponent*)>& Proc, platform::TComponent* Root) override;

    // Data sources and the function computing the points from them.
    bool FunctionResultAsPoint = true;
    const TDataSourcesList& DataSources() const { return dataSources_; }
    TDataSourcesList& DataSources() { return dataSources_; }
    platform::TComponent* GetDataSource() const { return dataSources_.empty() ? nullptr : dataSources_.front(); }
    void SetDataSource(platform::TComponent* c);
    int AddDataSource(platform::TComponent* c) { return InternalSetDataSource(c, false); }
    int InternalSetDataSource(platform::TComponent* c, bool replace);
    int InternalAddDataSource(platform::TComponent* c);
    void RemoveDataSource(platform::TComponent* c) { dataSources_.Remove(c); }
    // A source left the list: the chart hears of it; losing the first source drops them all.
    void InternalRemoveDataSource(platform::TComponent* c);
    void ClearDataSources() { dataSources_.Clear(); }
    void AddLinkedSeries(TChartSeries* s);
    void RemoveLinkedSeries(TChartSeries* s);
    // Every source series forgets this one as a dependant.
    void RemoveAllLinkedSeries();
    bool IsValidSeriesSource(const TChartSeries& s) const;
    void CheckDataSource();
    // Field names that feed point colours and labels from a data source.
    const std::string& ColorSource() const { return colorSource_; }
    void SetColorSource(const std::string& name);
    const std::string& XLabelsSource() const { return xLabelsSource_; }
    void SetLabelsSource(const std::string& name);
    void SetXLabelsSource(const std::string& name) { SetLabelsSource(name); }
    TChartFunction* SeriesFunction() const { return function_; }
    void SetFunction(TChartFunction* f);
    // The function is going away on its own.
    void ReleaseFunction() { function_ = nullptr; }

    // Axes.
    THorizAxis HorizAxis() const { return horizAxis_; }
    void SetHorizAxis(THorizAxis v);
    TVertAxis VertAxis() const { return vertAxis_; }
    void SetVertAxis(TVertAxis v);
    TChartAxis* CustomHorizAxis() const { return customHorizAxis_; }
    void SetCustomHorizAxis(TChartAxis* a);
    TChartAxis* CustomVertAxis() const { return customVertAxis_; }
    void SetCustomVertAxis(TChartAxis* a);
    TChartAxis* ActiveHorizAxis() const { return activeHorizAxis_; }
    TChartAxis* ActiveVertAxis() const { return activeVertAxis_; }
    void RecalcGetAxis();
    // The chart forgets an axis that is going away.
    void AxisRemoved(TChartAxis* a);
    virtual bool UseAxis() const { return true; }
    virtual bool AssociatedToAxis(const TChartAxis* axis) const;
    virtual TChartValueList* ValueListOfAxis(const TChartAxis* axis);
    TChartAxis* MandatoryAxis() const { return valuesVertical_ ? activeVertAxis_ : activeHorizAxis_; }
    virtual double MaxXValue() { return xValues_->MaxValue(); }
    virtual double MinXValue() { return xValues_->MinValue(); }
    virtual double MaxYValue() { return yValues_->MaxValue(); }
    virtual double MinYValue() { return yValues_->MinValue(); }
    virtual double MaxZValue() { return GetZOrder(); }
    virtual double MinZValue() { return GetZOrder(); }

    // Pixels.
    virtual int CalcXPos(int i);
    virtual int CalcYPos(int i);
    int CalcXPosValue(double v) const;
    int CalcYPosValue(double v) const;
    int CalcPosValue(double v) const { return valuesVertical_ ? CalcYPosValue(v) : CalcXPosValue(v); }
    int CalcXSizeValue(double v) const;
    int CalcYSizeValue(double v) const;
    double XScreenToValue(int p) const;
    double YScreenToValue(int p) const;
    std::string XValueToText(double v) const;
    std::string YValueToText(double v) const;
    virtual int Clicked(int, int) { return -1; }
    int Clicked(TPoint p) { return Clicked(p.X, p.Y); }
    // The mouse position as values of the series' axes, and the point under it (-1: none).
    void GetCursorValues(double& x, double& y);
    int GetCursorValueIndex();

    // Visible range, drawing order and depth.
    int FirstShownIndex = -1, LastShownIndex = -1;
    bool LimitToVisibleRange = true;
    bool KeepPointBeyondEdge = false;
    virtual void CalcFirstLastVisibleIndex();
    int VisibleCount() const { return LastShownIndex - FirstShownIndex + 1; }
    // The points of the chart's current page; a page past the end gives the last page.
    void CalcFirstLastPage(int& first, int& last);
    virtual bool DrawValuesForward();
    virtual bool DrawSeriesForward(int) { return !InvertedRotation(); }
    int FirstDisplayedIndex() { return DrawValuesForward() ? FirstShownIndex : LastShownIndex; }
    virtual void DrawAllValues();
    virtual void DrawValue(int) {}
    virtual void DoBeforeDrawValues();
    virtual void DoAfterDrawValues();
    int ZOrder() const { return zOrder_; }
    int GetZOrder() const { return zOrder_ != -1 ? zOrder_ : ComputedZOrder; }
    void SetZOrder(int v);
    void SetComputedZOrder(int v) { ComputedZOrder = v; }
    virtual void CalcZOrder();
    virtual void CalcDepthPositions();
    virtual bool MoreSameZOrder();
    bool FirstInZOrder();
    int StartZ = 0, MiddleZ = 0, EndZ = 0;

    // Legend.
    // The legend this series is being drawn for, when a series type draws one of its own.
    TCustomChartLegend* CurrentLegend = nullptr;
    virtual int CountLegendItems() { return Count(); }
    virtual int LegendToValueIndex(int index) { return index; }
    virtual TColor LegendItemColor(int index) { return GetValueColor(index); }
    virtual std::string LegendString(int index, TLegendTextStyle style);
    virtual void DrawLegend(int index, const TRect& r);
    virtual void DrawLegendShape(int index, const TRect& r);
    virtual void PrepareLegendCanvas(int, TColor&, platform::TBrushStyle&) {}

    // Mouse.
    platform::TCursor Cursor = 0;
    bool MouseInside = false;
    bool CheckMouse(int x, int y);

    std::function<bool(TChartSeries*)> OnBeforeAdd;
    std::function<void(TChartSeries*, int)> OnAfterAdd;
    platform::TNotifyEvent OnClearValues, BeforeDrawValues, AfterDrawValues, OnMouseEnter, OnMouseLeave;
    std::function<void(TChartSeries*, int, std::string&)> OnGetMarkText;
    using TSeriesClick = std::function<void(TChartSeries*, int, platform::TMouseButton, platform::TShiftState, int, int)>;
    TSeriesClick OnClickSeries, OnDblClickSeries;

protected:
    bool InvertedRotation() const;
    TChartValueList* xValues_;
    TChartValueList* yValues_;
    TChartValueList* mandatory_;
    TChartValueList* notMandatory_;
    bool valuesVertical_ = true;

private:
    TChartValueLists lists_;
    TLabelsList LabelList{this};
    std::vector<TColor> ColorList;
    bool hasColorList_ = false;
    TColor StoredColor = clUseSeriesColor, CurrentColor = clUseSeriesColor;
    bool colorEachPoint_ = false;
    std::string valueFormat_, percentFormat_;
    int depth_ = -1;
    THorizAxis horizAxis_ = aBottomAxis;
    TVertAxis vertAxis_ = aLeftAxis;
    TChartAxis* customHorizAxis_ = nullptr;
    TChartAxis* customVertAxis_ = nullptr;
    TChartAxis* activeHorizAxis_ = nullptr;
    TChartAxis* activeVertAxis_ = nullptr;
    int zOrder_ = -1, ComputedZOrder = 0;
    int updateCount_ = 0;
    std::unique_ptr<TSeriesMarks> marks_;
    TDataSourcesList dataSources_{this};
    std::string colorSource_, xLabelsSource_;
    TChartFunction* function_ = nullptr;
};

}  // namespace chart

// Series: points, colours, labels, notices, axes, visible range, depth and legend.
#include "widgets/chart/ChartSeries.h"

#include <algorithm>
#include <cmath>

#include "base/StrUtils.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFunctions.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"

namespace chart {

using namespace platform;

char ChartColumnSeparator = 6;

// ---------------------------------------------------------------- TCustomChartElement

TCustomChartElement::TCustomChartElement(TComponent* owner) : TComponent(owner)
{
    brush_ = std::make_unique<TChartBrush>([this](TObject* s) { CanvasChanged(s); });
    pen_ = std::make_unique<TChartPen>([this](TObject* s) { CanvasChanged(s); });
}

TCustomChartElement::~TCustomChartElement() = default;

void TCustomChartElement::Assign(const TPersistent& source)
{
    auto* e = dynamic_cast<const TCustomChartElement*>(&source);
    if (!e) {
        TComponent::Assign(source);
        return;
    }
    active_ = e->active_;
    brush_->Assign(*e->brush_);
    pen_->Assign(*e->pen_);
}

void TCustomChartElement::SetActive(bool v) { SetBooleanProperty(active_, v); }
void TCustomChartElement::SetParentChart(TCustomAxisPanel* chart) { parentChart_ = chart; }
TComponent* TCustomChartElement::GetParentComponent() const { return parentChart_; }

void TCustomChartSeries::GalleryChanged3D(bool flag)
{
    if (parentChart_) parentChart_->SetView3D(flag);
}

void TCustomChartElement::Repaint()
{
    if (parentChart_) parentChart_->Invalidate();
}

void TCustomChartElement::SetBooleanProperty(bool& field, bool v)
{
    if (StoreChanged(field, v)) Repaint();
}
void TCustomChartElement::SetColorProperty(TColor& field, TColor v)
{
    if (StoreChanged(field, v)) Repaint();
}
void TCustomChartElement::SetIntegerProperty(int& field, int v)
{
    if (StoreChanged(field, v)) Repaint();
}
void TCustomChartElement::SetDoubleProperty(double& field, double v)
{
    if (StoreChanged(field, v)) Repaint();
}
void TCustomChartElement::SetStringProperty(std::string& field, const std::string& v)
{
    if (StoreChanged(field, v)) Repaint();
}

// ---------------------------------------------------------------- TCustomChartSeries

void TCustomChartSeries::Assign(const TPersistent& source)
{
    if (auto* s = dynamic_cast<const TCustomChartSeries*>(&source)) {
        showInLegend_ = s->showInLegend_;
        title_ = s->title_;
        Identifier = s->Identifier;
    }
    TCustomChartElement::Assign(source);
}

void TCustomChartSeries::SetActive(bool v)
{
    TCustomChartElement::SetActive(v);
    if (parentChart_) parentChart_->BroadcastSeriesEvent(dynamic_cast<TChartSeries*>(this), seChangeActive);
}

void TCustomChartSeries::SetTitle(const std::string& v)
{
    SetStringProperty(title_, v);
    if (parentChart_) parentChart_->BroadcastSeriesEvent(dynamic_cast<TChartSeries*>(this), seChangeTitle);
}

// ---------------------------------------------------------------- TChartSeries

TChartSeries::TChartSeries(TComponent* owner) : TCustomChartSeries(owner)
{
    xValues_ = new TChartValueList(this, ChartMsg_ValuesX);
    xValues_->Order = loAscending;
    yValues_ = new TChartValueList(this, ChartMsg_ValuesY);
    notMandatory_ = xValues_;
    mandatory_ = yValues_;
    valueFormat_ = ChartMsg_DefValueFormat;
    percentFormat_ = ChartMsg_DefPercentFormat;
    marks_ = std::make_unique<TSeriesMarks>(this);
}

TChartSeries::~TChartSeries()
{
    if (parentChart_) parentChart_->RemoveSeries(this);
    // Series fed by this one lose it as a source; sources forget this dependant.
    for (TChartSeries* l : LinkedSeries) std::erase(l->dataSources_, static_cast<platform::TComponent*>(this));
    LinkedSeries.clear();
    RemoveAllLinkedSeries();
    dataSources_.InheritedClear();
    if (TChartFunction* f = function_) {
        function_ = nullptr;
        f->ForgetParent();
        delete f;
    }
}

void TChartSeries::SetParentChart(TCustomAxisPanel* chart)
{
    if (chart == parentChart_) return;
    if (parentChart_) parentChart_->RemoveSeries(this);
    parentChart_ = chart;
    marks_->SetParent(chart);
    if (chart) chart->InternalAddSeries(this);
}

void TChartSeries::Added()
{
    if (StoredColor == clUseSeriesColor && parentChart_) {
        ChangeInternalColor(parentChart_->GetFreeSeriesColor(true, this));
        parentChart_->BroadcastSeriesEvent(this, seChangeColor);
    }
    RecalcGetAxis();
}

void TChartSeries::Removed()
{
    activeHorizAxis_ = activeVertAxis_ = nullptr;
    // The marks would otherwise repaint a chart that may be gone when the series goes.
    marks_->SetParent(nullptr);
    TCustomChartSeries::Removed();
}

int TChartSeries::AddXY(double x, double y, const std::string& label, TColor color)
{
    xValues_->PendingValue = x;
    yValues_->PendingValue = y;
    if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
    const int index = xValues_->AddChartValue();
    yValues_->InsertChartValue(index, y);
    for (int i = 2; i < lists_.Count(); ++i) lists_[i]->InsertChartValue(index, lists_[i]->PendingValue);
    if (hasColorList_) {
        ColorList.insert(ColorList.begin() + std::min(index, int(ColorList.size())), color);
    } else if (color != clUseSeriesColor) {
        ColorList.assign(std::size_t(Count() - 1), clUseSeriesColor);
        ColorList.insert(ColorList.begin() + index, color);
        hasColorList_ = true;
    }
    if (!label.empty() || LabelList.Count() > 0) LabelList.InsertLabel(index, label);
    if (updateCount_ == 0) NotifyNewValue(this, index);
    return index;
}

int TChartSeries::Add(double value, const std::string& label, TColor color)
{
    if (valuesVertical_) return AddXY(xValues_->Count(), value, label, color);
    return AddXY(value, yValues_->Count(), label, color);
}

int TChartSeries::AddX(double x, const std::string& label, TColor color) { return AddXY(x, xValues_->Count(), label, color); }
int TChartSeries::AddY(double y, const std::string& label, TColor color) { return AddXY(xValues_->Count(), y, label, color); }
int TChartSeries::AddNull(const std::string& label) { return Add(0, label, clNone); }
int TChartSeries::AddNullXY(double x, double y, const std::string& label) { return AddXY(x, y, label, clNone); }

int TChartSeries::AddArray(const std::vector<double>& values)
{
    BeginUpdate();
    struct End {
        TChartSeries* s;
        ~End() { s->EndUpdate(); }
    } end{this};
    for (double v : values) Add(v);
    return int(values.size());
}

void TChartSeries::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw ChartException(ChartFormat(ChartMsg_SeriesDelete, index, Count() - 1));
    for (int i = 0; i < lists_.Count(); ++i) lists_[i]->Delete(index);
    if (hasColorList_ && index < int(ColorList.size())) ColorList.erase(ColorList.begin() + index);
    LabelList.DeleteLabel(index);
    marks_->Positions.Delete(index);
    marks_->Items.Delete(index);
    NotifyValue(veDelete, index);
    if (active_) Repaint();
}

void TChartSeries::Delete(int start, int quantity, bool removeGap)
{
    if (start >= Count() || start < 0 || quantity <= 0) return;
    quantity = std::min(quantity, Count() - start);
    for (int i = 0; i < lists_.Count(); ++i) lists_[i]->Delete(start, quantity);
    if (hasColorList_ && start < int(ColorList.size())) {
        ColorList.erase(ColorList.begin() + start, ColorList.begin() + std::min(int(ColorList.size()), start + quantity));
        if (ColorList.empty()) hasColorList_ = false;
    }
    LabelList.DeleteLabels(start, quantity);
    marks_->Positions.Delete(start, quantity);
    NotifyValue(veDelete, -1);
    if (active_) Repaint();
    if (removeGap) notMandatory_->FillSequence();
}

void TChartSeries::ClearLists()
{
    for (int i = 0; i < lists_.Count(); ++i) lists_[i]->ClearValues();
    ColorList.clear();
    hasColorList_ = false;
    LabelList.Clear();
    marks_->Clear();
}

void TChartSeries::Clear()
{
    FirstShownIndex = LastShownIndex = -1;
    ClearLists();
    if (OnClearValues) OnClearValues(this);
    NotifyValue(veClear, 0);
    if (active_ && parentChart_) Repaint();
}

void TChartSeries::SetXValue(int i, double v)
{
    xValues_->Put(i, v);
    Repaint();
}

void TChartSeries::SetYValue(int i, double v)
{
    yValues_->Put(i, v);
    Repaint();
}

TColor TChartSeries::InternalColor(int i) const
{
    return hasColorList_ && i >= 0 && i < int(ColorList.size()) ? ColorList[std::size_t(i)] : clUseSeriesColor;
}

TColor TChartSeries::GetValueColor(int i) const
{
    const TColor c = InternalColor(i);
    if (c != clUseSeriesColor) return c;
    if (!colorEachPoint_) return SeriesColor();
    return parentChart_ ? parentChart_->GetDefaultColor(i) : chart::GetDefaultColor(i);
}

void TChartSeries::SetValueColor(int i, TColor c)
{
    if (!hasColorList_ && c == clUseSeriesColor) return;
    if (!hasColorList_) {
        ColorList.assign(std::size_t(Count()), clUseSeriesColor);
        hasColorList_ = true;
    }
    if (i >= int(ColorList.size())) ColorList.resize(std::size_t(i) + 1, clUseSeriesColor);
    if (i >= 0) ColorList[std::size_t(i)] = c;
    Repaint();
}

void TChartSeries::ColorRange(TChartValueList& list, double fromValue, double toValue, TColor color)
{
    for (int i = 0; i < list.Count(); ++i) {
        const double v = list.Value(i);
        if (!IsNull(i) && v >= fromValue && v <= toValue) {
            if (!hasColorList_) {
                ColorList.assign(std::size_t(Count()), clUseSeriesColor);
                hasColorList_ = true;
            }
            ColorList[std::size_t(i)] = color;
        }
    }
    Repaint();
}

TChartValueList* TChartSeries::GetYValueList(const std::string& name)
{
    auto upper = [](std::string s) {
        for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
        return s;
    };
    for (int i = 2; i < lists_.Count(); ++i)
        if (upper(lists_[i]->Name) == upper(name)) return lists_[i];
    return yValues_;
}

void TChartSeries::SwapValueIndex(int a, int b)
{
    for (int i = 0; i < lists_.Count(); ++i) lists_[i]->Exchange(a, b);
    if (hasColorList_) {
        const int n = std::max(a, b) + 1;
        if (n > int(ColorList.size())) ColorList.resize(std::size_t(n), clUseSeriesColor);
        std::swap(ColorList[std::size_t(a)], ColorList[std::size_t(b)]);
    }
    if (LabelList.Count() > 0) LabelList.Exchange(a, b);
}

void TChartSeries::SetHorizontal()
{
    mandatory_ = xValues_;
    notMandatory_ = yValues_;
    valuesVertical_ = false;
}

void TChartSeries::ReplaceList(TChartValueList* oldList, TChartValueList* newList)
{
    lists_.Remove(newList);
    const int i = lists_.IndexOf(oldList);
    if (i < 0) return;
    newList->Name = oldList->Name;
    if (oldList == xValues_) {
        xValues_ = newList;
        if (notMandatory_ == oldList) notMandatory_ = newList;
        if (mandatory_ == oldList) mandatory_ = newList;
    } else if (oldList == yValues_) {
        yValues_ = newList;
        if (mandatory_ == oldList) mandatory_ = newList;
        if (notMandatory_ == oldList) notMandatory_ = newList;
    }
    lists_.Put(i, newList);
    delete oldList;
}

void TChartSeries::SetSeriesColor(TColor c)
{
    if (StoredColor == clUseSeriesColor && c == CurrentColor) return;
    SetColorProperty(StoredColor, c);
    CurrentColor = StoredColor;
    NotifyColorChanged();
}

void TChartSeries::NotifyColorChanged()
{
    if (parentChart_) parentChart_->BroadcastSeriesEvent(this, seChangeColor);
}

void TChartSeries::ChangeInternalColor(TColor c)
{
    CurrentColor = c;
    SetSeriesColor(c);
}

void TChartSeries::EndUpdate()
{
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) RefreshSeries();
}

void TChartSeries::RefreshSeries()
{
    NotifyValue(veRefresh, 0);
    if (parentChart_) parentChart_->BroadcastSeriesEvent(this, seDataChanged);
}

void TChartSeries::NotifyNewValue(TChartSeries* sender, int index)
{
    if (OnAfterAdd) OnAfterAdd(sender, index);
    NotifyValue(veAdd, index);
    if (active_) Repaint();
}

void TChartSeries::NotifyValue(TValueEvent event, int index)
{
    if (updateCount_ > 0) return;
    for (TChartSeries* l : LinkedSeries) {
        switch (event) {
        case veClear:
            if (l->RecalcOn & rOnClear) l->Clear();
            break;
        case veAdd:
            if (l->RecalcOn & rOnInsert) l->AddedValue(*this, index);
            break;
        case veDelete:
            if (l->RecalcOn & rOnDelete) {
                if (index >= 0) l->DeletedValue(*this, index);
                else l->AddValues(*this);
            }
            break;
        case veModify:
            if (l->RecalcOn & rOnModify) l->AddValues(*this);
            break;
        case veRefresh: l->AddValues(*this); break;
        }
    }
}

// ---------------------------------------------------------------- copying

int TChartSeries::AddChartValue(TChartSeries& source, int index)
{
    double x = source.XValues().Value(index), y = source.YValues().Value(index);
    if (source.ValuesVertical() != valuesVertical_) std::swap(x, y);
    const int i = xValues_->AddChartValue(x);
    yValues_->InsertChartValue(i, y);
    for (int k = 2; k < lists_.Count(); ++k)
        lists_[k]->InsertChartValue(i, k < source.lists_.Count() ? source.lists_[k]->Value(index) : 0);
    return i;
}

void TChartSeries::AddedValue(TChartSeries& source, int index)
{
    if (function_) {
        AddValues(source);
        return;
    }
    const int i = AddChartValue(source, index);
    if (source.hasColorList_ && index < int(source.ColorList.size())) {
        if (!hasColorList_) {
            ColorList.assign(std::size_t(Count() - 1), clUseSeriesColor);
            hasColorList_ = true;
        }
        ColorList.insert(ColorList.begin() + std::min(i, int(ColorList.size())), source.ColorList[std::size_t(index)]);
    } else if (hasColorList_) {
        ColorList.insert(ColorList.begin() + std::min(i, int(ColorList.size())), clUseSeriesColor);
    }
    if (source.LabelList.Count() > index || LabelList.Count() > 0) LabelList.InsertLabel(i, source.LabelList.GetLabel(index));
    NotifyNewValue(this, i);
}

void TChartSeries::AddValues(TChartSeries& source)
{
    BeginUpdate();
    struct End {
        TChartSeries* s;
        ~End() { s->EndUpdate(); }
    } end{this};
    Clear();
    if (function_) function_->AddPoints(&source);
    else if (IsValidSourceOf(source))
        for (int i = 0; i < source.Count(); ++i) AddedValue(source, i);
}

void TChartSeries::AssignFormat(TChartSeries& s)
{
    ClearDataSources();
    if (s.ValuesVertical() == valuesVertical_) {
        xValues_->Assign(s.XValues());
        yValues_->Assign(s.YValues());
    } else {
        xValues_->Assign(s.YValues());
        yValues_->Assign(s.XValues());
    }
    for (int k = 2; k < std::min(lists_.Count(), s.lists_.Count()); ++k) lists_[k]->Assign(*s.lists_[k]);
    xLabelsSource_ = s.xLabelsSource_;
    colorSource_ = s.colorSource_;
    marks_->Assign(*s.marks_);
    StoredColor = s.StoredColor;
    ChangeInternalColor(s.CurrentColor);
    colorEachPoint_ = s.colorEachPoint_;
    valueFormat_ = s.valueFormat_;
    percentFormat_ = s.percentFormat_;
    customHorizAxis_ = s.customHorizAxis_;
    horizAxis_ = s.horizAxis_;
    customVertAxis_ = s.customVertAxis_;
    vertAxis_ = s.vertAxis_;
    RecalcOn = s.RecalcOn;
    Cursor = s.Cursor;
    depth_ = s.depth_;
    RecalcGetAxis();
}

void TChartSeries::Assign(const TPersistent& source)
{
    auto* s = dynamic_cast<const TChartSeries*>(&source);
    TCustomChartSeries::Assign(source);
    if (!s) return;
    auto& src = const_cast<TChartSeries&>(*s);
    AssignFormat(src);
    AssignValues(src);
}

// ---------------------------------------------------------------- axes

void TChartSeries::RecalcGetAxis()
{
    if (!parentChart_) {
        activeHorizAxis_ = activeVertAxis_ = nullptr;
        return;
    }
    TCustomAxisPanel& c = *parentChart_;
    activeHorizAxis_ = &c.BottomAxis();
    if (horizAxis_ == aTopAxis) activeHorizAxis_ = &c.TopAxis();
    else if (horizAxis_ == aCustomHorizAxis && customHorizAxis_) activeHorizAxis_ = customHorizAxis_;
    activeVertAxis_ = &c.LeftAxis();
    if (vertAxis_ == aRightAxis) activeVertAxis_ = &c.RightAxis();
    else if (vertAxis_ == aCustomVertAxis && customVertAxis_) activeVertAxis_ = customVertAxis_;
}

void TChartSeries::SetHorizAxis(THorizAxis v)
{
    if (horizAxis_ == v) return;
    horizAxis_ = v;
    if (v != aCustomHorizAxis) customHorizAxis_ = nullptr;
    RecalcGetAxis();
    Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis v)
{
    if (vertAxis_ == v) return;
    vertAxis_ = v;
    if (v != aCustomVertAxis) customVertAxis_ = nullptr;
    RecalcGetAxis();
    Repaint();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* a)
{
    customHorizAxis_ = a;
    horizAxis_ = a ? aCustomHorizAxis : aBottomAxis;
    RecalcGetAxis();
    Repaint();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* a)
{
    customVertAxis_ = a;
    vertAxis_ = a ? aCustomVertAxis : aLeftAxis;
    RecalcGetAxis();
    Repaint();
}

void TChartSeries::AxisRemoved(TChartAxis* a)
{
    if (customHorizAxis_ == a) {
        customHorizAxis_ = nullptr;
        horizAxis_ = aBottomAxis;
    }
    if (customVertAxis_ == a) {
        customVertAxis_ = nullptr;
        vertAxis_ = aLeftAxis;
    }
    RecalcGetAxis();
}

bool TChartSeries::AssociatedToAxis(const TChartAxis* axis) const
{
    if (!UseAxis() || !axis) return false;
    if (axis->Horizontal()) return horizAxis_ == aBothHorizAxis || axis == activeHorizAxis_;
    return vertAxis_ == aBothVertAxis || axis == activeVertAxis_;
}

TChartValueList* TChartSeries::ValueListOfAxis(const TChartAxis* axis)
{
    if (!AssociatedToAxis(axis)) return nullptr;
    return axis->Horizontal() ? xValues_ : yValues_;
}

int TChartSeries::CalcXPos(int i) { return activeHorizAxis_ ? activeHorizAxis_->ValueToXPixel(GetxValue(i)) : 0; }
int TChartSeries::CalcYPos(int i) { return activeVertAxis_ ? activeVertAxis_->ValueToYPixel(GetyValue(i)) : 0; }
int TChartSeries::CalcXPosValue(double v) const { return activeHorizAxis_ ? activeHorizAxis_->ValueToXPixel(v) : 0; }
int TChartSeries::CalcYPosValue(double v) const { return activeVertAxis_ ? activeVertAxis_->ValueToYPixel(v) : 0; }
int TChartSeries::CalcXSizeValue(double v) const { return activeHorizAxis_ ? activeHorizAxis_->CalcSizeValue(v) : 0; }
int TChartSeries::CalcYSizeValue(double v) const { return activeVertAxis_ ? activeVertAxis_->CalcSizeValue(v) : 0; }
void TChartSeries::GetCursorValues(double& x, double& y)
{
    const TPoint p = parentChart_ ? parentChart_->GetCursorPos() : TPoint{};
    x = XScreenToValue(p.X);
    y = YScreenToValue(p.Y);
}

int TChartSeries::GetCursorValueIndex() { return parentChart_ ? Clicked(parentChart_->GetCursorPos()) : -1; }

double TChartSeries::XScreenToValue(int p) const { return activeHorizAxis_ ? activeHorizAxis_->CalcPosPoint(p) : 0; }
double TChartSeries::YScreenToValue(int p) const { return activeVertAxis_ ? activeVertAxis_->CalcPosPoint(p) : 0; }
std::string TChartSeries::XValueToText(double v) const
{
    return activeHorizAxis_ ? activeHorizAxis_->LabelValue(v) : base::FormatFloat(valueFormat_, v);
}
std::string TChartSeries::YValueToText(double v) const
{
    return activeVertAxis_ ? activeVertAxis_->LabelValue(v) : base::FormatFloat(valueFormat_, v);
}

// ---------------------------------------------------------------- range and order

bool TChartSeries::InvertedRotation() const { return parentChart_ && parentChart_->InvertedRotation; }

void TChartSeries::CalcFirstLastVisibleIndex()
{
    FirstShownIndex = LastShownIndex = -1;
    const int n = Count();
    if (n == 0) return;
    if (!LimitToVisibleRange || notMandatory_->Order == loNone || !parentChart_) {
        FirstShownIndex = 0;
        LastShownIndex = n - 1;
        return;
    }
    TChartAxis* axis = valuesVertical_ ? activeHorizAxis_ : activeVertAxis_;
    if (!axis) {
        FirstShownIndex = 0;
        LastShownIndex = n - 1;
        return;
    }
    const TRect& r = parentChart_->ChartRect;
    double lo, hi;
    if (axis->Horizontal()) {
        lo = axis->CalcPosPoint(axis->Inverted() ? r.Right : r.Left);
        hi = axis->CalcPosPoint(axis->Inverted() ? r.Left : r.Right);
    } else {
        lo = axis->CalcPosPoint(axis->Inverted() ? r.Top : r.Bottom);
        hi = axis->CalcPosPoint(axis->Inverted() ? r.Bottom : r.Top);
    }
    TChartValueList& v = *notMandatory_;
    int first = 0;
    while (first < n && v.Value(first) < lo) ++first;
    if (first == n) return;
    FirstShownIndex = first;
    if (v.Value(n - 1) <= hi) {
        LastShownIndex = n - 1;
        return;
    }
    int last = first;
    while (last < n - 1 && v.Value(last) < hi) ++last;
    if (!KeepPointBeyondEdge && v.Value(last) > hi) --last;
    LastShownIndex = last;
}

void TChartSeries::CalcFirstLastPage(int& first, int& last)
{
    const int n = Count();
    if (n == 0) {
        first = last = -1;
        return;
    }
    const int p = parentChart_ ? parentChart_->MaxPointsPerPage() : 0;
    if (p <= 0) {
        first = 0;
        last = n - 1;
        return;
    }
    const int g = parentChart_->Page();
    first = p * (g - 1);
    // A page past the end shows the last page, which may be short.
    if (first >= n) first = p * ((n - 1) / p);
    last = std::min(n - 1, first + p - 1);
}

bool TChartSeries::DrawValuesForward()
{
    if (valuesVertical_) {
        const bool inv = activeHorizAxis_ && activeHorizAxis_->Inverted();
        return InvertedRotation() ? inv : !inv;
    }
    return !(activeVertAxis_ && activeVertAxis_->Inverted());
}

void TChartSeries::DrawAllValues()
{
    if (FirstShownIndex < 0 || LastShownIndex < FirstShownIndex) return;
    if (DrawValuesForward())
        for (int i = FirstShownIndex; i <= LastShownIndex; ++i) DrawValue(i);
    else
        for (int i = LastShownIndex; i >= FirstShownIndex; --i) DrawValue(i);
}

void TChartSeries::DoBeforeDrawValues()
{
    if (BeforeDrawValues) BeforeDrawValues(this);
}

void TChartSeries::DoAfterDrawValues()
{
    if (AfterDrawValues) AfterDrawValues(this);
}

void TChartSeries::SetZOrder(int v)
{
    SetIntegerProperty(zOrder_, v);
    ComputedZOrder = v == -1 ? 0 : v;
}

void TChartSeries::CalcZOrder()
{
    if (!parentChart_) return;
    if (zOrder_ == -1) {
        if (parentChart_->View3D()) ComputedZOrder = ++parentChart_->LastZOrder;
        else ComputedZOrder = 0;
    } else {
        parentChart_->LastZOrder = std::max(parentChart_->LastZOrder, zOrder_);
    }
}

void TChartSeries::CalcDepthPositions()
{
    const int d = parentChart_ ? parentChart_->SeriesDepth : 0;
    StartZ = d * ComputedZOrder;
    EndZ = StartZ + (depth_ == -1 ? d : depth_);
    MiddleZ = (StartZ + EndZ) / 2;
    marks_->ZPosition = MiddleZ;
}

bool TChartSeries::MoreSameZOrder()
{
    if (!parentChart_) return false;
    for (TChartSeries* s : parentChart_->SeriesList())
        if (s != this && s->Active() && s->GetZOrder() == GetZOrder()) return true;
    return false;
}

bool TChartSeries::FirstInZOrder()
{
    if (!active_ || !parentChart_) return false;
    for (TChartSeries* s : parentChart_->SeriesList()) {
        if (s == this) return true;
        if (s->Active() && s->GetZOrder() == GetZOrder()) return false;
    }
    return true;
}

// ---------------------------------------------------------------- legend and mouse

std::string TChartSeries::LegendString(int index, TLegendTextStyle style)
{
    const int i = LegendToValueIndex(index);
    const std::string label = GetXLabel(i);
    if (style == ltsPlain) return label;
    const double v = GetMarkValue(i);
    const std::string value = mandatory_->DateTime() ? base::FormatDateTime(DateTimeDefaultFormat(v), v)
                                                     : base::FormatFloat(valueFormat_, v);
    const double total = mandatory_->TotalABS();
    const std::string percent = base::FormatFloat(percentFormat_, total == 0 ? 100 : v * 100 / total);
    const double x = notMandatory_ == xValues_ ? GetxValue(i) : GetyValue(i);
    const std::string xText = activeHorizAxis_ ? activeHorizAxis_->LabelValue(GetxValue(i))
                                               : base::FormatFloat(valueFormat_, x);
    const std::string sep(1, ChartColumnSeparator);
    switch (style) {
    case ltsLeftValue: return value + (label.empty() ? "" : sep + label);
    case ltsRightValue: return (label.empty() ? "" : label + sep) + value;
    case ltsLeftPercent: return percent + (label.empty() ? "" : sep + label);
    case ltsRightPercent: return (label.empty() ? "" : label + sep) + percent;
    case ltsXValue: return xText;
    case ltsValue: return value;
    case ltsPercent: return percent;
    case ltsXAndValue: return xText + sep + value;
    case ltsXAndPercent: return xText + sep + percent;
    default: return label;
    }
}

void TChartSeries::DrawLegendShape(int, const TRect& r)
{
    if (parentChart_) parentChart_->DrawLegendShape(r);
}

void TChartSeries::DrawLegend(int index, const TRect& r)
{
    if (index == -1 && colorEachPoint_) return;
    if (!parentChart_) return;
    TCustomAxisPanel& c = *parentChart_;
    const bool keep = c.RepaintEnabled();
    c.SetRepaintEnabled(false);
    struct Restore {
        TCustomAxisPanel& c;
        bool keep;
        ~Restore() { c.SetRepaintEnabled(keep); }
    } restore{c, keep};
    TCanvas3D& cv = *c.ChartCanvas();
    const TColor color = index == -1 ? SeriesColor() : LegendItemColor(index);
    cv.Brush().SetColor(color);
    if (color == clNone) return;
    TColor back = c.LegendColor;
    TBrushStyle style = Brush().Style();
    cv.AssignVisiblePen(Pen());
    PrepareLegendCanvas(index, back, style);
    if (c.LegendPen) cv.AssignVisiblePen(*c.LegendPen);
    if (back == clUseSeriesColor) back = c.LegendColor == clUseSeriesColor ? c.Color() : c.LegendColor;
    const TBrushStyle oldStyle = Brush().Style();
    const bool change = style != oldStyle && !(Brush().Bitmap() && !Brush().Bitmap()->Empty());
    TNotifyEvent keepChange = std::move(Brush().OnChange);
    if (change) Brush().SetStyle(style);
    c.SetBrushCanvas(color, Brush(), back);
    if (change) Brush().SetStyle(oldStyle);
    Brush().OnChange = std::move(keepChange);
    DrawLegendShape(index, r);
}

bool TChartSeries::CheckMouse(int x, int y)
{
    if (Cursor == 0 && !OnMouseEnter && !OnMouseLeave) return false;
    if (Clicked(x, y) == -1) {
        if (MouseInside) {
            MouseInside = false;
            if (OnMouseLeave) OnMouseLeave(this);
        }
        return false;
    }
    if (Cursor != 0 && parentChart_) parentChart_->SetCursor(Cursor);
    if (!MouseInside) {
        MouseInside = true;
        if (OnMouseEnter) OnMouseEnter(this);
    }
    return true;
}

}  // namespace chart

// Axis lists, custom axes, axis pens, the axis title, custom labels and copying an axis.
#include <algorithm>

#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartFont.h"

namespace chart {

using namespace platform;

TChartAxisPen::TChartAxisPen(TNotifyEvent change) : TChartPen(std::move(change))
{
    TNotifyEvent keep = std::move(OnChange);
    SetWidth(2);
    OnChange = std::move(keep);
}

void TAxisGridPen::Assign(const TPersistent& source)
{
    if (auto* g = dynamic_cast<const TAxisGridPen*>(&source)) {
        zPosition_ = g->zPosition_;
        centered_ = g->centered_;
    }
    TDottedGrayPen::Assign(source);
}

void TAxisGridPen::SetZ(double v) { Change(zPosition_, v); }
void TAxisGridPen::SetCentered(bool v) { Change(centered_, v); }

TChartAxisTitle::TChartAxisTitle(TCustomChartPanel* parent) : TChartCustomShape(parent)
{
    // A title is plain text unless a frame is asked for.
    DefaultTransparent = true;
    TCustomChartPanel* p = parent_;
    parent_ = nullptr;
    SetTransparent(true);
    parent_ = p;
}

void TChartAxisTitle::Assign(const TPersistent& source)
{
    if (auto* t = dynamic_cast<const TChartAxisTitle*>(&source)) {
        angle_ = t->angle_;
        caption_ = t->caption_;
    }
    TChartCustomShape::Assign(source);
}

void TChartAxisTitle::SetAngle(int v)
{
    if (parent_) parent_->SetIntegerProperty(angle_, v % 360);
    else angle_ = v % 360;
}

void TChartAxisTitle::SetCaption(const std::string& v)
{
    if (parent_) parent_->SetStringProperty(caption_, v);
    else caption_ = v;
}

// ---------------------------------------------------------------- items

TAxisItem::TAxisItem(TAxisItems* owner, TCustomChartPanel* parent) : TChartCustomShape(parent), owner_(owner)
{
    SetColor(clWhite);
    DefaultTransparent = true;
    SetTransparent(true);
}

void TAxisItem::RepaintAxis()
{
    if (owner_ && owner_->Axis()->ParentChart()) owner_->Axis()->ParentChart()->Invalidate();
}

void TAxisItem::SetValue(double v)
{
    if (value_ == v) return;
    value_ = v;
    RepaintAxis();
}

void TAxisItem::SetText(const std::string& v)
{
    if (text_ == v) return;
    text_ = v;
    RepaintAxis();
}

TAxisItems::TAxisItems(TChartAxis* axis) : axis_(axis)
{
    format_ = std::make_unique<TChartShape>(axis->ParentChart());
    format_->DefaultTransparent = true;
    TCustomChartPanel* p = format_->Parent();
    format_->SetParent(nullptr);
    format_->SetTransparent(true);
    format_->SetParent(p);
}

TAxisItems::~TAxisItems() = default;

TAxisItem* TAxisItems::Add(double value)
{
    auto item = std::make_unique<TAxisItem>(this, axis_->ParentChart());
    item->value_ = value;
    items_.push_back(std::move(item));
    return items_.back().get();
}

TAxisItem* TAxisItems::Add(double value, const std::string& text)
{
    TAxisItem* item = Add(value);
    item->text_ = text;
    return item;
}

void TAxisItems::CopyFrom(const TAxisItems& source)
{
    format_->Assign(*source.format_);
    Clear();
    for (const auto& i : source.items_) Add(i->Value(), i->Text());
}

void TAxisItems::Clear()
{
    items_.clear();
    if (axis_->ParentChart()) axis_->ParentChart()->Invalidate();
}

// ---------------------------------------------------------------- lists

int TChartAxes::IndexOf(const TChartAxis* a) const
{
    auto it = std::find(items_.begin(), items_.end(), a);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

void TChartAxes::Remove(TChartAxis* a)
{
    auto it = std::find(items_.begin(), items_.end(), a);
    if (it != items_.end()) items_.erase(it);
}

void TChartAxes::Clear()
{
    while (!items_.empty()) delete items_.back();  // each removes itself
}

void TChartAxes::SetFastCalc(bool v)
{
    fastCalc_ = v;
    for (TChartAxis* a : items_) a->SetCalcPosValue();
}

void TChartAxes::Reset()
{
    for (TChartAxis* a : items_) a->SetAutomatic(true);
}

bool TChartAxes::GetBehind() const { return chart_->AxisBehind(); }
void TChartAxes::SetBehind(bool v) { chart_->SetAxisBehind(v); }
bool TChartAxes::GetVisible() const { return chart_->AxisVisible(); }
void TChartAxes::SetVisible(bool v) { chart_->SetAxisVisible(v); }

TChartCustomAxes::~TChartCustomAxes() { Clear(); }

TChartAxis* TChartCustomAxes::Add()
{
    items_.push_back(std::make_unique<TChartAxis>(chart_));
    return items_.back().get();
}

void TChartCustomAxes::Delete(int i) { items_.erase(items_.begin() + i); }

void TChartCustomAxes::Clear()
{
    while (!items_.empty()) items_.pop_back();
}

void TChartCustomAxes::ResetScales(const TChartAxis& axis)
{
    for (auto& a : items_)
        if (a->MasterAxis == &axis) a->SetMinMax(axis.Minimum(), axis.Maximum());
}

void TChartCustomAxes::Assign(const TChartCustomAxes& source)
{
    Clear();
    for (const auto& a : source.items_) Add()->Assign(*a);
}

// ---------------------------------------------------------------- copying

void TChartAxis::Assign(const TChartAxis& s)
{
    axisPen_->Assign(*s.axisPen_);
    items_->CopyFrom(*s.items_);
    labelsAlign_ = s.labelsAlign_;
    labelsAlternate_ = s.labelsAlternate_;
    labelsAngle_ = s.labelsAngle_;
    labelsExponent_ = s.labelsExponent_;
    labelsMultiLine_ = s.labelsMultiLine_;
    labelsSeparation_ = s.labelsSeparation_;
    labelsSize_ = s.labelsSize_;
    labelStyle_ = s.labelStyle_;
    labelsOnAxis_ = s.labelsOnAxis_;
    ticks_->Assign(*s.ticks_);
    ticksInner_->Assign(*s.ticksInner_);
    titleSize_ = s.titleSize_;
    grid_->Assign(*s.grid_);
    minorTicks_->Assign(*s.minorTicks_);
    minorGrid_->Assign(*s.minorGrid_);
    tickLength_ = s.tickLength_;
    minorTickLength_ = s.minorTickLength_;
    minorTickCount_ = s.minorTickCount_;
    tickInnerLength_ = s.tickInnerLength_;
    valuesFormat_ = s.valuesFormat_;
    increment_ = s.increment_;
    maximum_ = s.maximum_;
    maximumOffset_ = s.maximumOffset_;
    minimum_ = s.minimum_;
    minimumOffset_ = s.minimumOffset_;
    automatic_ = s.automatic_;
    automaticMaximum_ = s.automaticMaximum_;
    automaticMinimum_ = s.automaticMinimum_;
    title_->Assign(*s.title_);
    dateTimeFormat_ = s.dateTimeFormat_;
    grid_->SetCentered(s.grid_->Centered());
    logarithmic_ = s.logarithmic_;
    logBase_ = s.logBase_;
    inverted_ = s.inverted_;
    exactDateTime_ = s.exactDateTime_;
    roundFirstLabel_ = s.roundFirstLabel_;
    tickOnLabelsOnly_ = s.tickOnLabelsOnly_;
    IsDepthAxis = s.IsDepthAxis;
    startPosition_ = s.startPosition_;
    endPosition_ = s.endPosition_;
    positionPercent_ = s.positionPercent_;
    positionUnits_ = s.positionUnits_;
    visible_ = s.visible_;
    horizontal_ = s.horizontal_;
    otherSide_ = s.otherSide_;
    // The mapping follows the copied kind at once.
    SetCalcPosValue();
}

}  // namespace chart

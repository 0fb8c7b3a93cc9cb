#include "widgets/memo/MemoMarkers.h"

#include "base/Exception.h"
#include "platform/graphics/Graphics.h"
#include "widgets/memo/ExMemo.h"

namespace memo {

using namespace platform;

TExMarker* TExMarkers::Add()
{
    items_.push_back(std::make_unique<TExMarker>());
    return items_.back().get();
}

void TExMarkers::Assign(const TExMarkers& o)
{
    if (&o == this) return;
    items_.clear();
    for (const auto& m : o.items_) Add()->Assign(*m);
}

void TExMarkers::AddMarker(int lineNumber, int imageIndex, const std::string& text)
{
    if (MarkerAtLine(lineNumber)) return;
    TExMarker* m = Add();
    m->LineNumber = lineNumber;
    m->ImageIndex = imageIndex;
    m->Text = text;
}

TExMarker* TExMarkers::GetMarkerAtLine(int lineNumber) const
{
    for (const auto& m : items_)
        if (m->LineNumber == lineNumber) return m.get();
    return nullptr;
}

int TExMarkers::GetMarkerImageIndex(int lineNumber) const
{
    const TExMarker* m = GetMarkerAtLine(lineNumber);
    return m ? m->ImageIndex : -1;
}

bool TExMarkers::HigherMarkerThanLine(int lineNumber) const
{
    for (const auto& m : items_)
        if (m->LineNumber > lineNumber) return true;
    return false;
}

void TExMarkers::AdjustMarkerLinePlus(int lineNumber)
{
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if ((*it)->LineNumber >= lineNumber) ++(*it)->LineNumber;
}

void TExMarkers::AdjustMarkerLineMinus(int lineNumber)
{
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if ((*it)->LineNumber >= lineNumber) --(*it)->LineNumber;
}

void TExMarkers::RemoveMarker(int lineNumber)
{
    for (auto it = items_.begin(); it != items_.end(); ++it)
        if ((*it)->LineNumber == lineNumber) {
            items_.erase(it);
            return;
        }
}

bool TExMarkers::GetMarkers(TExMarkers& target) const
{
    target.Assign(*this);
    return Count() > 0;
}

// ---------------------------------------------------------------- the list

TExMarkerList::TExMarkerList(TExCustomMemo* owner) : owner_(owner), bitmap_(std::make_unique<TBitmap>()) {}

TExMarkerList::~TExMarkerList() = default;

void TExMarkerList::FastDeleteAll()
{
    markers_.Clear();
    if (owner_) owner_->UpdateGutter();
}

void TExMarkerList::SetDefaultMarkerImageIndex(int i)
{
    defaultIndex_ = i;
}

void TExMarkerList::SetUseDefaultMarkerImageIndex(bool v)
{
    useDefault_ = v;
}

TColor TExMarkerList::ImageTransparentColor() const { return bitmap_ ? bitmap_->TransparentColor() : 0xFFFFFF; }

void TExMarkerList::SetImageTransparentColor(TColor c)
{
    if (bitmap_) bitmap_->SetTransparentColor(c);
}

// ---------------------------------------------------------------- the editor's marker calls

void TExCustomMemo::AddMarker(int lineNumber, int imageIndex, const std::string& text)
{
    TExMarkers& m = markerList_->Markers();
    if (m.MarkerAtLine(lineNumber)) return;
    m.AddMarker(lineNumber, imageIndex, text);
    if (OnMarkerAdded) OnMarkerAdded(this, lineNumber, text);
    UpdateGutter();
}

void TExCustomMemo::RemoveMarker(int lineNumber)
{
    markerList_->Markers().RemoveMarker(lineNumber);
    if (OnMarkerRemoved) OnMarkerRemoved(this, lineNumber);
    UpdateGutter();
}

void TExCustomMemo::ClearAllMarkers() { markerList_->FastDeleteAll(); }

void TExCustomMemo::GoToMarker(int index)
{
    const TExMarkers& m = markerList_->Markers();
    if (index < 0 || index >= m.Count()) throw base::Exception("Invalid marker index");
    SetCurX(0);
    SetCurY(m.Items(index)->LineNumber);
}

void TExCustomMemo::GoToMarkerName(const std::string& name)
{
    const TExMarkers& m = markerList_->Markers();
    for (int i = 0; i < m.Count(); ++i)
        if (m.Items(i)->Text == name) {
            SetCurX(0);
            SetCurY(m.Items(i)->LineNumber);
            return;
        }
    throw base::Exception("Marker name not found");
}

}  // namespace memo

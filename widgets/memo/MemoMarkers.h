#pragma once
// Line markers: an image and a text on a line, drawn in the gutter and moved with the lines.
#include <memory>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace platform {
class TBitmap;
class TImageList;
}

namespace memo {

class TExCustomMemo;

class TExMarker {
public:
    std::string Text;
    int ImageIndex = 0;
    int LineNumber = 0;
    // Text, or the item's usual name when Text is empty.
    std::string DisplayName() const { return Text.empty() ? "TExMarker" : Text; }
    void Assign(const TExMarker& m) { *this = m; }
};

class TExMarkers {
public:
    TExMarker* Add();
    int Count() const { return int(items_.size()); }
    TExMarker* Items(int i) const { return items_[std::size_t(i)].get(); }
    void SetItems(int i, const TExMarker& m) { items_[std::size_t(i)]->Assign(m); }
    void Clear() { items_.clear(); }
    void Assign(const TExMarkers& o);

    // Adds a marker unless some marker already has that line.
    void AddMarker(int lineNumber, int imageIndex, const std::string& text = {});
    int GetMarkerCount() const { return Count(); }
    bool HasMarkers() const { return Count() > 0; }
    bool MarkerAtLine(int lineNumber) const { return GetMarkerAtLine(lineNumber) != nullptr; }
    TExMarker* GetMarkerAtLine(int lineNumber) const;
    int GetMarkerImageIndex(int lineNumber) const;  // -1 without a marker
    bool HigherMarkerThanLine(int lineNumber) const;
    // Every marker at or below the line moves one line down (Plus) or up (Minus).
    void AdjustMarkerLinePlus(int lineNumber);
    void AdjustMarkerLineMinus(int lineNumber);
    void RemoveMarker(int lineNumber);
    // Copies all markers into target; true when there is at least one.
    bool GetMarkers(TExMarkers& target) const;

private:
    std::vector<std::unique_ptr<TExMarker>> items_;
};

class TExMarkerList {
public:
    explicit TExMarkerList(TExCustomMemo* owner);
    ~TExMarkerList();

    TExMarkers& Markers() { return markers_; }
    const TExMarkers& Markers() const { return markers_; }
    void SetItems(const TExMarkers& markers) { markers_.Assign(markers); }
    void FastDeleteAll();  // empties the markers and repaints the gutter

    platform::TImageList* MarkerImageList = nullptr;
    int DefaultMarkerImageIndex() const { return defaultIndex_; }
    void SetDefaultMarkerImageIndex(int i);
    bool UseDefaultMarkerImageIndex() const { return useDefault_; }
    void SetUseDefaultMarkerImageIndex(bool v);
    platform::TColor ImageTransparentColor() const;
    void SetImageTransparentColor(platform::TColor c);
    platform::TBitmap* Bitmap() const { return bitmap_.get(); }

private:
    TExCustomMemo* owner_;
    TExMarkers markers_;
    std::unique_ptr<platform::TBitmap> bitmap_;
    int defaultIndex_ = -1;
    bool useDefault_ = false;
};

}  // namespace memo

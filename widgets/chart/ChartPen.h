#pragma once
// Chart pens and brushes (platform pen and brush with the chart's extras) and the
// settings of the chart's 3D view.
#include <functional>
#include <memory>

#include "platform/graphics/Graphics.h"
#include "widgets/chart/ChartCanvas.h"

namespace platform {
class TControl;
}

namespace chart {

enum TPenEndStyle { esRound, esSquare, esFlat };

class TChartPen : public platform::TPen {
public:
    explicit TChartPen(platform::TNotifyEvent ownerChange = {});
    void Assign(const platform::TPersistent& source) override;

    TPenEndStyle EndStyle() const { return endStyle_; }
    void SetEndStyle(TPenEndStyle v);
    bool SmallDots() const { return smallDots_; }
    void SetSmallDots(bool v);
    int SmallSpace() const { return smallSpace_; }
    void SetSmallSpace(int v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    void Hide() { SetVisible(false); }
    void Show() { SetVisible(true); }

    // Whether a stream would hold the property (it differs from this pen's default).
    bool EndStyleStored() const { return endStyle_ != defaultEndStyle_; }
    bool VisibleStored() const { return visible_ != defaultVisible_; }
    void GetPublished(platform::TPropertyList& L) override;
    // The same pen of a fresh chart: what differs from it is streamed.
    const TChartPen* StreamTwin = nullptr;

protected:
    TPenEndStyle defaultEndStyle_ = esRound;
    bool defaultVisible_ = true;

private:
    TPenEndStyle endStyle_ = esRound;
    bool smallDots_ = false;
    int smallSpace_ = 0;
    bool visible_ = true;
};

class TChartHiddenPen : public TChartPen {
public:
    explicit TChartHiddenPen(platform::TNotifyEvent ownerChange = {});
};

class TDottedGrayPen : public TChartPen {
public:
    explicit TDottedGrayPen(platform::TNotifyEvent ownerChange = {});
};

class TDarkGrayPen : public TChartPen {
public:
    explicit TDarkGrayPen(platform::TNotifyEvent ownerChange = {});
};

class TWhitePen : public TChartPen {
public:
    explicit TWhitePen(platform::TNotifyEvent ownerChange = {});
};

class TChartBrush : public platform::TBrush {
public:
    explicit TChartBrush(platform::TNotifyEvent ownerChange = {});
    ~TChartBrush() override;
    void Assign(const platform::TPersistent& source) override;
    void Clear();  // no fill and no image
    platform::TPicture* GetImage();  // created on first read
    platform::TPicture* Image() { return GetImage(); }
    bool HasImage() const { return image_ != nullptr; }
    void SetImage(const platform::TPicture* picture);
    void GetPublished(platform::TPropertyList& L) override;
    const TChartBrush* StreamTwin = nullptr;

private:
    std::unique_ptr<platform::TPicture> image_;
};

using TChartView3DScrolled = std::function<void(bool IsHoriz)>;
using TChartView3DChangedZoom = std::function<void(int NewZoom)>;

class TView3DOptions : public platform::TPersistent {
public:
    explicit TView3DOptions(platform::TControl* parent = nullptr);
    void Assign(const platform::TPersistent& source) override;

    int Elevation() const { return elevation_; }
    void SetElevation(int v) { Set(elevation_, v); }
    int FontZoom() const { return fontZoom_; }
    void SetFontZoom(int v) { Set(fontZoom_, v); }
    int HorizOffset() const { return horizOffset_; }
    void SetHorizOffset(int v);
    bool Orthogonal() const { return orthogonal_; }
    void SetOrthogonal(bool v) { Set(orthogonal_, v); }
    int OrthoAngle() const { return orthoAngle_; }
    void SetOrthoAngle(int v) { Set(orthoAngle_, v); }
    int Perspective() const { return perspective_; }
    void SetPerspective(int v) { Set(perspective_, v); }
    int Rotation() const { return rotation_; }
    void SetRotation(int v) { Set(rotation_, v); }
    int Tilt() const { return tilt_; }
    void SetTilt(int v) { Set(tilt_, v); }
    int VertOffset() const { return vertOffset_; }
    void SetVertOffset(int v);
    int Zoom() const { return zoom_; }
    void SetZoom(int v);
    bool ZoomText() const { return zoomText_; }
    void SetZoomText(bool v) { Set(zoomText_, v); }

    platform::TControl* Parent() const { return parent_; }
    void Repaint();
    double CalcOrthoRatio() const;

    TChartView3DScrolled OnScrolled;
    TChartView3DChangedZoom OnChangedZoom;

private:
    template <class T>
    bool Set(T& field, T v)
    {
        if (!StoreChanged(field, v)) return false;
        Repaint();
        return true;
    }
    int elevation_ = 345, fontZoom_ = 100, horizOffset_ = 0;
    bool orthogonal_ = true;
    int orthoAngle_ = 45, perspective_ = 15, rotation_ = 345, tilt_ = 0, vertOffset_ = 0, zoom_ = 100;
    bool zoomText_ = true;
    platform::TControl* parent_ = nullptr;
};

}  // namespace chart

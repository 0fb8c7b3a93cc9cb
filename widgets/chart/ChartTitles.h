#pragma once
// Chart titles (top and foot) and the walls that frame the plotting area.
#include <memory>
#include <string>
#include <vector>

#include "widgets/chart/ChartShape.h"

namespace chart {

class TCustomChart;
class TChartAxis;

// The gap between a title and the chart rectangle.
extern int ChartTitleFootDistance;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TChartCustomShapePosition : public TChartCustomShape {
public:
    using TChartCustomShape::TChartCustomShape;
    void Assign(const platform::TPersistent& source) override;
    bool CustomPosition() const { return customPosition_; }
    void SetCustomPosition(bool v);
    int Left() const { return ShapeBounds.Left; }
    int Top() const { return ShapeBounds.Top; }
    void SetLeft(int v);
    void SetTop(int v);
    bool IsCustomStored() const { return customPosition_; }
    void GetPublished(platform::TPropertyList& L) override;

private:
    bool customPosition_ = false;
};

class TChartTitle : public TChartCustomShapePosition {
public:
    explicit TChartTitle(TCustomChartPanel* chart);
    void Assign(const platform::TPersistent& source) override;
    bool AdjustFrame() const { return adjustFrame_; }
    void SetAdjustFrame(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    const std::vector<std::string>& Text() const { return lines_; }
    void SetText(const std::vector<std::string>& lines);
    std::string Caption() const { return lines_.empty() ? std::string() : lines_.front(); }
    void SetCaption(const std::string& text);
    bool AtTop = true;
    bool Clicked(int x, int y) const;
    TRect GetShapeBounds() const { return ShapeBounds; }
    void DrawTitle();
    void GetPublished(platform::TPropertyList& L) override;
    const TChartTitle* StreamTwin = nullptr;

private:
    bool adjustFrame_ = true;
    TAlignment alignment_ = taCenter;
    std::vector<std::string> lines_;
};

class TChartFootTitle : public TChartTitle {
public:
    explicit TChartFootTitle(TCustomChartPanel* chart);
};

class TCustomChartWall : public TChartCustomShape {
public:
    explicit TCustomChartWall(TCustomChart* chart);
    void Assign(const platform::TPersistent& source) override;
    bool AutoHide() const { return autoHide_; }
    void SetAutoHide(bool v);
    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool v);
    int Size() const { return size_; }
    void SetSize(int v);
    TColor DefaultColor = clUseSeriesColor;
    void InitColor(TColor c);
    bool ApplyDark3D();
    void GetPublished(platform::TPropertyList& L) override;
    const TCustomChartWall* StreamTwin = nullptr;
    bool HasGradient() { return HasGradient_(); }
    bool ShouldDraw();

protected:
    TCustomChart* chart_;

private:
    bool HasGradient_();
    bool autoHide_ = false, dark3D_ = true;
    int size_ = 0;
};

class TChartWall : public TCustomChartWall {
public:
    using TCustomChartWall::TCustomChartWall;
};

class TChartBackWall : public TCustomChartWall {
public:
    explicit TChartBackWall(TCustomChart* chart);
};

class TChartRightWall : public TCustomChartWall {
public:
    explicit TChartRightWall(TCustomChart* chart);
};

class TChartWalls {
public:
    explicit TChartWalls(TCustomChart* chart);
    ~TChartWalls();
    void Assign(const TChartWalls& source);
    TChartBackWall& Back() { return *back_; }
    TChartWall& Bottom() { return *bottom_; }
    TChartWall& Left() { return *left_; }
    TChartRightWall& Right() { return *right_; }
    // Each copies the given wall's settings into the existing one.
    void SetBack(const TCustomChartWall& w) { back_->Assign(w); }
    void SetBottom(const TCustomChartWall& w) { bottom_->Assign(w); }
    void SetLeft(const TCustomChartWall& w) { left_->Assign(w); }
    void SetRight(const TCustomChartWall& w) { right_->Assign(w); }
    void SetSize(int size);

private:
    std::unique_ptr<TChartBackWall> back_;
    std::unique_ptr<TChartWall> bottom_;
    std::unique_ptr<TChartWall> left_;
    std::unique_ptr<TChartRightWall> right_;
};

}  // namespace chart

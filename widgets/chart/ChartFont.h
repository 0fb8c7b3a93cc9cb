#pragma once
// Shadows, colour gradients and chart fonts: the settings objects that give chart
// elements their look.
#include <memory>
#include <string>

#include "platform/graphics/Graphics.h"
#include "widgets/chart/ChartCanvas.h"

namespace chart {

class TChartHiddenPen;

// The chart font's name and size when a chart element is made.
extern std::string GetDefaultFontName;
extern int GetDefaultFontSize;

class TChartShadow : public platform::TPersistent {
public:
    explicit TChartShadow(platform::TNotifyEvent change = {});
    void Assign(const platform::TPersistent& source) override;
    // Without a twin, a setting is written when it leaves its default.
    void GetPublished(platform::TPropertyList& L) override;
    const TChartShadow* StreamTwin = nullptr;

    TColor Color() const { return color_; }
    void SetColor(TColor v) { Set(color_, v); }
    int HorizSize() const { return horizSize_; }
    void SetHorizSize(int v) { Set(horizSize_, v); }
    int VertSize() const { return vertSize_; }
    void SetVertSize(int v) { Set(vertSize_, v); }
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool v) { Set(smooth_, v); }
    TChartTransparency Transparency() const { return transparency_; }
    void SetTransparency(TChartTransparency v) { Set(transparency_, v); }
    int Size() const { return std::max(horizSize_, vertSize_); }
    void SetSize(int v);
    int DefaultSize = 0;
    TColor DefaultColor = platform::clSilver;

    bool PrepareCanvas(TCanvas3D& canvas, const TRect& r, int z = 0);
    void FinishBlending(TCanvas3D& canvas);
    void Draw(TCanvas3D& canvas, const TRect& r, int z = 0);
    void DrawEllipse(TCanvas3D& canvas, const TRect& r, int z = 0);

    platform::TNotifyEvent OnChange;

private:
    template <class T>
    void Set(T& f, T v)
    {
        if (StoreChanged(f, v) && OnChange) OnChange(this);
    }
    TColor color_ = platform::clSilver;
    int horizSize_ = 0;
    bool smooth_ = true;
    TChartTransparency transparency_ = 0;
    int vertSize_ = 0;
    TChartBlend* blend_ = nullptr;
};

class TCustomChartGradient : public platform::TPersistent {
public:
    explicit TCustomChartGradient(platform::TNotifyEvent change = {});
    void Assign(const platform::TPersistent& source) override;
    void GetPublished(platform::TPropertyList& L) override;
    const TCustomChartGradient* StreamTwin = nullptr;

    int Balance() const { return balance_; }
    void SetBalance(int v) { Set(balance_, v); }
    TGradientDirection Direction() const { return direction_; }
    void SetDirection(TGradientDirection v) { Set(direction_, v); }
    TColor EndColor() const { return endColor_; }
    void SetEndColor(TColor v) { Set(endColor_, v); }
    TColor StartColor() const { return startColor_; }
    void SetStartColor(TColor v) { Set(startColor_, v); }
    TColor GetMidColor() const { return middle_ ? midColor_ : platform::clNone; }
    TColor MidColor() const { return GetMidColor(); }
    void SetMidColor(TColor v);
    void UseMiddleColor();
    int RadialX() const { return radialX_; }
    void SetRadialX(int v) { Set(radialX_, v); }
    int RadialY() const { return radialY_; }
    void SetRadialY(int v) { Set(radialY_, v); }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Set(visible_, v); }

    void Draw(TCanvas3D& canvas, const TRect& r, int roundSize = 0);
    void DrawRadial(TCanvas3D& canvas, const TRect& r);
    void Draw(TCanvas3D& canvas, const TFourPoints& p);
    void Draw(TCanvas3D& canvas, const TFourPoints& p, int z);
    void Draw(TCanvas3D& canvas, TPointArray& pts, int z, bool is3D);

    platform::TNotifyEvent OnChange;

protected:
    template <class T>
    void Set(T& f, T v)
    {
        if (StoreChanged(f, v) && OnChange) OnChange(this);
    }

private:
    void RadialFill(TCanvas3D& canvas, const TRect& r);
    int balance_ = 50;
    TGradientDirection direction_ = gdTopBottom;
    TColor endColor_ = platform::clYellow;
    TColor midColor_ = platform::clNone;
    int radialX_ = 0, radialY_ = 0;
    TColor startColor_ = platform::clWhite;
    bool visible_ = false;
    bool middle_ = false;
};

class TChartGradient : public TCustomChartGradient {
public:
    using TCustomChartGradient::TCustomChartGradient;
};

class TChartFontGradient : public TChartGradient {
public:
    using TChartGradient::TChartGradient;
    void Assign(const platform::TPersistent& source) override;
    void GetPublished(platform::TPropertyList& L) override;
    bool Outline() const { return outline_; }
    void SetOutline(bool v) { Set(outline_, v); }

private:
    bool outline_ = false;
};

class TChartFont : public platform::TFont {
public:
    void GetPublished(platform::TPropertyList& L) override;
    const TChartFont* StreamTwin = nullptr;
    explicit TChartFont(platform::TNotifyEvent change = {});
    ~TChartFont() override;
    void Assign(const platform::TPersistent& source) override;

    // Each made on first use.
    TChartFontGradient* GetGradient();
    TChartHiddenPen* GetOutLine();
    TChartShadow* GetShadow();
    TChartFontGradient* Gradient() { return GetGradient(); }
    TChartHiddenPen* OutLine() { return GetOutLine(); }
    TChartShadow* Shadow() { return GetShadow(); }
    bool HasGradient() const { return gradient_ != nullptr; }
    bool HasOutLine() const { return outline_ != nullptr; }
    bool HasShadow() const { return shadow_ != nullptr; }
    void SetGradient(const TChartFontGradient* g);
    void SetOutLine(const TChartHiddenPen* p);
    void SetShadow(const TChartShadow* s);
    int InterCharSize() const { return interCharSize_; }
    void SetInterCharSize(int v);
    // The canvas the font was last applied to.
    TChartCanvas* LastCanvas = nullptr;

private:
    std::unique_ptr<TChartFontGradient> gradient_;
    std::unique_ptr<TChartHiddenPen> outline_;
    std::unique_ptr<TChartShadow> shadow_;
    int interCharSize_ = 0;
    platform::TNotifyEvent change_;
};

}  // namespace chart

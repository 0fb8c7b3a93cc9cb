#pragma once
// Translucent drawing (a snapshot mixed back over what was drawn) and raw-pixel bitmap
// effects: grey scale and smooth resampling. Integer arithmetic, the same on every machine.
#include <memory>

#include "platform/graphics/Graphics.h"

namespace chart {

class TChartCanvas;

class TChartBlend {
public:
    TChartBlend(TChartCanvas& canvas, const platform::TRect& r);
    ~TChartBlend();
    void SetRectangle(const platform::TRect& r);
    // Mixes what was drawn since the snapshot with it: drawn × (100 − t) % + under × t %.
    void DoBlend(int transparency);
    const platform::TRect& Rectangle() const { return rect_; }
    bool Valid() const { return valid_; }

private:
    std::unique_ptr<platform::TBitmap> snapshot_;
    TChartCanvas& canvas_;
    platform::TRect rect_;
    bool valid_ = false;
};

extern bool AlphaBlendAvailable;

// Mixes a into b at origin; percent is how much of b stays.
void ChartBlendBitmaps(double percent, platform::TBitmap& a, platform::TBitmap& b, platform::TPoint origin);
// mode 0: the mean of the three channels; otherwise the weighted luminance.
void ChartGrayScale(platform::TBitmap* bitmap, bool inverted, int mode);

enum TSmoothStretchOption { ssBestQuality, ssBestPerformance };
// Resamples src to the size dst already has; both at least 2 × 2.
void SmoothStretch(platform::TBitmap* src, platform::TBitmap* dst, TSmoothStretchOption option = ssBestQuality);

}  // namespace chart

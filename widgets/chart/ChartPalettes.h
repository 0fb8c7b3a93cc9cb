#pragma once
// The named colour palettes a chart can take, and the theme base.
#include <string>
#include <vector>

#include "widgets/chart/ChartPanel.h"

namespace chart {

class TCustomChart;

extern const TColorArray ExcelPalette, VictorianPalette, PastelsPalette, SolidPalette, ClassicPalette, WebPalette,
    ModernPalette, RainbowPalette, WindowsXPPalette;

class TColorPalettes {
public:
    TColorPalettes();
    const std::vector<std::string>& Names() const { return names_; }
    int Count() const { return int(names_.size()); }
    // Index 1..9 gives the chart that palette; any other index the default palette again.
    static void ApplyPalette(TCustomChart& chart, int index);
    // The given colours (none: the default palette), leaving the palette index alone.
    static void ApplyPalette(TCustomChart& chart, const TColorArray& colours);

private:
    std::vector<std::string> names_;
};

extern TColorPalettes ColorPalettes;

class TChartTheme {
public:
    explicit TChartTheme(TCustomChart* chart) : Chart(chart) {}
    virtual ~TChartTheme() = default;
    virtual void Apply() {}
    virtual std::string Description() { return "Default"; }
    TCustomChart* Chart;
};

}  // namespace chart

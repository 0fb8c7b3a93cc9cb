#pragma once
// The chart legend: series or points of a series with colour symbols, optional check
// boxes that switch series on and off, placed beside, above or below the chart.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartSeries.h"
#include "widgets/chart/ChartTitles.h"

namespace chart {

class TCustomChart;

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TCheckBoxesStyle { cbsCheck, cbsRadio };
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
enum TLegendSymbolPosition { spLeft, spRight };
enum TLegendSymbolSize { lcsPercent, lcsPixels };

class TCustomChartLegend;

// Draws a legend symbol in place of the default one.
using TSymbolDrawEvent = std::function<void(platform::TObject* sender, TChartSeries* series, int valueIndex,
                                            const TRect& r)>;

// The legend's default gradient: silver to white, from right to left.
class TChartLegendGradient : public TChartGradient {
public:
    explicit TChartLegendGradient(platform::TNotifyEvent change = {});
};

// The texts of one legend item: its left and right columns.
using TLegendItemText = std::pair<std::string, std::string>;

class TLegendSymbol {
public:
    explicit TLegendSymbol(TCustomChartLegend* legend);
    ~TLegendSymbol();
    bool Continuous = false;
    bool DefaultPen = true;
    TChartGradient& Gradient() { return *gradient_; }
    TChartPen& Pen() { return *pen_; }
    TLegendSymbolPosition Position = spLeft;
    bool Squared = false;
    bool Visible = true;
    int Width = 20;
    TLegendSymbolSize WidthUnits = lcsPercent;
    TSymbolDrawEvent OnDraw;
    int CalcWidth(int w);
    void Draw(TColor color, const TRect& r);
    void Assign(const TLegendSymbol& other);

private:
    TCustomChartLegend* legend_;
    std::unique_ptr<TChartGradient> gradient_;
    std::unique_ptr<TChartPen> pen_;
};

// The title above the legend's items.
class TLegendTitle : public TChartShape {
public:
    explicit TLegendTitle(TCustomChartPanel* chart);
    void Assign(const platform::TPersistent& source) override;
    const std::vector<std::string>& Text() const { return lines_; }
    void SetText(const std::vector<std::string>& lines);
    std::string Caption() const { return lines_.empty() ? std::string() : lines_.front(); }
    void SetCaption(const std::string& text);
    TAlignment TextAlignment() const { return textAlignment_; }
    void SetTextAlignment(TAlignment v);
    int CalcHeight();
    int TotalWidth();
    void CalcShapeBounds(const TRect& r);
    void DrawText();

private:
    std::vector<std::string> lines_;
    TAlignment textAlignment_ = taLeftJustify;
};

class TCustomChartLegend : public TChartCustomShapePosition {
public:
    explicit TCustomChartLegend(TCustomChart* chart);
    ~TCustomChartLegend() override;
    // Settings only: not the series it lists.
    void Assign(const platform::TPersistent& source) override;
    // Another chart (a series' own legend follows its series).
    void SetParent(TCustomChartPanel* p) override;

    TLegendAlignment Alignment() const { return alignment_; }
    void SetAlignment(TLegendAlignment v);
    bool CheckBoxes() const { return checkBoxes_; }
    void SetCheckBoxes(bool v);
    TCheckBoxesStyle CheckBoxesStyle() const { return checkBoxesStyle_; }
    void SetCheckBoxesStyle(TCheckBoxesStyle v);
    bool CurrentPage = true;
    TChartHiddenPen& DividingLines() { return *dividingLines_; }
    int FirstValue() const { return firstValue_; }
    void SetFirstValue(int v);
    bool FontSeriesColor = false;
    int HorizMargin = 0;
    bool Inverted = false;
    void GetPublished(platform::TPropertyList& L) override;
    const TCustomChartLegend* StreamTwin = nullptr;
    TLegendStyle LegendStyle() const { return legendStyle_; }
    void SetLegendStyle(TLegendStyle v);
    int MaxNumRows = 10;
    bool ResizeChart = true;
    TChartSeries* Series = nullptr;
    TLegendSymbol& Symbol() { return *symbol_; }
    TLegendTitle& Title() { return *title_; }
    bool TitleShown = false;
    TLegendTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TLegendTextStyle v);
    int TopPos = 10;
    int VertMargin = 0;
    int VertSpacing = 0;
    int SymbolWidthPx = 0;
    int LastItem = -1;
    int ItemCount = 0;
    TLegendStyle EffectiveStyle = lsAuto;
    int ColumnCount = 0, RowCount = 0;
    // Off: the two text columns keep the widths set in ColumnWidths.
    bool AutoColumnWidths = true;
    int ColumnWidths[2] = {0, 0};
    std::function<void(TCustomChartLegend*, int&)> OnLegendSizing;

    void DrawLegend();
    bool ShouldDraw();
    bool HasCheckBoxes() const { return checkBoxes_ && EffectiveStyle != lsValues; }
    bool GetVertical() const { return alignment_ == laLeft || alignment_ == laRight; }
    // The legend rectangle of the last drawing.
    TRect GetRectLegend() const { return ShapeBounds; }
    // The chart's legend pen: none with the symbol's default pen, else the symbol's pen.
    void PrepareSymbolPen();
    void CalcLegendStyle();
    std::string FormattedLegend(int index);
    std::string FormattedValue(TChartSeries* s, int index);
    TChartSeries* GetLegendSeries();
    int CalcItemHeight();
    int FirstItemTop();
    int Clicked(int x, int y);
    bool DoMouseDown(int index);

protected:
    std::unique_ptr<TChartGradient> GetGradientClass(platform::TNotifyEvent change) override;

private:
    // What one drawing works with: the frame's width, a space's width and an item's height.
    struct TLegendSizes {
        int frame = 0, space = 0, item = 0;
    };
    // The left edges of the check boxes (0 without them) and of the items.
    struct TLegendLeft {
        int boxes = 0, items = 0;
    };
    void CountItems();
    void ComputeTexts(int space);
    int ItemsThatFit(int p, int z, bool vertical, int frame) const;
    void LayoutColumn(const TLegendSizes& z);
    void LayoutRows(const TLegendSizes& z);
    void PlaceHeight(int itemHeight);
    TLegendLeft PlaceVertical(int frame);
    TLegendLeft PlaceHorizontal();
    void DrawTitle();
    void DrawItems(const TLegendLeft& left, const TLegendSizes& z);
    void DrawItem(int k, int i, int textX, int symbolX, int c, int h, int s);
    void DrawItemText(int i, int x, int y, int space);
    void ShrinkChartRect();
    TCustomChart* chart_;
    TLegendAlignment alignment_ = laRight;
    bool checkBoxes_ = false;
    TCheckBoxesStyle checkBoxesStyle_ = cbsCheck;
    std::unique_ptr<TChartHiddenPen> dividingLines_;
    int firstValue_ = 0;
    TLegendStyle legendStyle_ = lsAuto;
    std::unique_ptr<TLegendSymbol> symbol_;
    std::unique_ptr<TLegendTitle> title_;
    int titleHeight_ = 0;
    TLegendTextStyle textStyle_ = ltsLeftValue;
    std::vector<TLegendItemText> texts_;
    int textWidth_ = 0;
};

class TChartLegend : public TCustomChartLegend {
public:
    using TCustomChartLegend::TCustomChartLegend;
};

}  // namespace chart

#pragma once
// Series marks: the framed labels a series draws next to its points, their texts,
// positions (which users may fix), per-point overrides and overlap avoidance.
#include <memory>
#include <string>
#include <vector>

#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartShape.h"

namespace chart {

class TChartSeries;
class TMarksCallout;

struct TSeriesMarkPosition {
    TPoint ArrowStart;
    bool ArrowStartFixed = false;
    TPoint ArrowEnd;
    bool IsCustom = false;
    int BoxHeight = 0;
    TPoint BoxTopLeft;
    int BoxWidth = 0;
    void Assign(const TSeriesMarkPosition& p);
    TRect Bounds() const { return {BoxTopLeft.X, BoxTopLeft.Y, BoxTopLeft.X + BoxWidth, BoxTopLeft.Y + BoxHeight}; }
};

class TSeriesMarksPositions {
public:
    TSeriesMarkPosition* Get(int i) const;
    void Put(int i, const TSeriesMarkPosition& p);
    void Automatic(int i);
    bool ExistCustom() const;
    void Clear() { items_.clear(); }
    int Count() const { return int(items_.size()); }
    // The entry at i, created (not custom) when absent.
    TSeriesMarkPosition& Ensure(int i);
    void Delete(int i);
    void Delete(int start, int quantity);

private:
    std::vector<std::unique_ptr<TSeriesMarkPosition>> items_;
};

class TMarksItem : public TChartCustomShape {
public:
    using TChartCustomShape::TChartCustomShape;
    // The item's own text, lines separated by CR LF; empty means none.
    bool HasText = false;
    std::string Text;
    void GetPublished(platform::TPropertyList& L) override;
};

class TSeriesMarks;

class TMarksItems {
public:
    explicit TMarksItems(TSeriesMarks* marks) : marks_(marks) {}
    TMarksItem* Get(int i);
    bool Has(int i) const { return i >= 0 && i < Count() && items_[std::size_t(i)] != nullptr; }
    int Count() const { return int(items_.size()); }
    void Clear();
    void Delete(int i);
    bool LoadingCustom = false;

private:
    TSeriesMarks* marks_;
    std::vector<std::unique_ptr<TMarksItem>> items_;
};

// The gradient of marks: right to left, silver to white.
class TSeriesMarksGradient : public TChartGradient {
public:
    explicit TSeriesMarksGradient(platform::TNotifyEvent change = {});
};

// The colour box inside a mark, in its point's colour.
class TSeriesMarksSymbol : public TChartCustomShape {
public:
    explicit TSeriesMarksSymbol(TCustomChartPanel* parent);
    bool ShouldDraw() const { return Visible() && !Transparent(); }
    void GetPublished(platform::TPropertyList& L) override;

protected:
    void InitShadow(TChartShadow& s) override;
};

enum TSeriesMarksStyle {
    smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue, smsLegend, smsPercentTotal,
    smsLabelPercentTotal, smsXValue, smsXY
};

class TSeriesMarks : public TChartCustomShape {
public:
    void GetPublished(platform::TPropertyList& L) override;
    const TSeriesMarks* StreamTwin = nullptr;
    explicit TSeriesMarks(TChartSeries* series);
    ~TSeriesMarks() override;
    void Assign(const platform::TPersistent& source) override;

    int Angle() const { return angle_; }
    void SetAngle(int v);
    bool Clip() const { return clip_; }
    void SetClip(bool v);
    int DrawEvery() const { return drawEvery_; }
    void SetDrawEvery(int v);
    TSeriesMarksStyle Style() const { return style_; }
    void SetStyle(TSeriesMarksStyle v);
    bool MultiLine() const { return multiLine_; }
    void SetMultiline(bool v);
    TChartSeries* Series() const { return series_; }
    TSeriesMarksPositions Positions;
    TMarksItems Items{this};
    int ZPosition = 0;

    // Created on first use.
    TMarksCallout& Callout();
    bool HasCallout() const { return callout_ != nullptr; }
    // The callout's arrow length and pen (the callout is made when needed).
    void SetArrowLength(int v);
    void SetArrowPen(const TChartPen& pen);
    // Created on first use; SetSymbol(nullptr) frees it.
    TSeriesMarksSymbol& Symbol();
    bool HasSymbol() const { return symbol_ != nullptr; }
    void SetSymbol(const TSeriesMarksSymbol* s);
    bool SymbolDrawn() const { return symbol_ && symbol_->ShouldDraw(); }
    // In a 3D chart whose canvas cannot draw 3D text: topLeft moves as the projection at
    // ZPosition moves point.
    void ConvertTo2D(TPoint point, TPoint& topLeft);
    void ApplyArrowLength(TSeriesMarkPosition& p);
    void SetParent(TCustomChartPanel* p) override;
    // "Items": the count, then each item's published properties as a list.
    void DefineProperties(platform::TFiler* Filer) override;
    TChartCustomShape* MarkItem(int i);
    void Clear();
    void ResetPositions();
    void UsePosition(int i, TSeriesMarkPosition& p);
    void AntiOverlap(int first, int index, TSeriesMarkPosition& p);
    void InternalDraw(int index, TColor color, const std::string& text, TSeriesMarkPosition& p);
    void DrawText(const TRect& r, const std::string& text);
    int TextWidth(int index);
    int Clicked(int x, int y);

protected:
    void InitShadow(TChartShadow& s) override;
    std::unique_ptr<TChartGradient> GetGradientClass(platform::TNotifyEvent change) override;

private:
    TRect ScreenRect(int index, const TSeriesMarkPosition& p);
    TChartSeries* series_;
    std::unique_ptr<TMarksCallout> callout_;
    std::unique_ptr<TSeriesMarksSymbol> symbol_;
    int angle_ = 0, drawEvery_ = 1;
    bool clip_ = false, multiLine_ = false;
    TSeriesMarksStyle style_ = smsLabel;
};

// Cuts every line after a line break to at most 255 characters.
std::string LimitMarkLines(const std::string& text);

}  // namespace chart

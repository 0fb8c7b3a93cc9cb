#pragma once
// Small controls of the chart's editing windows: a push button with a symbol drawn by the
// chart canvas, one whose symbol is a colour swatch opening the colour dialog, a combo box
// drawn flat while the mouse is away, and the colour dialog with remembered custom colours.
#include <functional>
#include <string>
#include <vector>

#include "platform/controls/ComboBox.h"
#include "platform/controls/StdCtrls.h"
#include "widgets/chart/ChartCanvas.h"

namespace chart {

class TCanvas3D;

// A colour property of some object, read and written through these.
struct TColorProperty {
    std::function<TColor()> Get;
    std::function<void(TColor)> Set;
};

class TChartButton : public platform::TButton {
public:
    explicit TChartButton(platform::TComponent* owner);
    virtual void DrawSymbol(TCanvas3D&) {}
    TRect SymbolRectangle() const;
    void LinkProperty(platform::TObject* instance, const TColorProperty& property);
    void Paint() override;
    void SetText(const std::string& s) override;
    void SetEnabled(bool v) override;

protected:
    platform::TObject* instance_ = nullptr;
    TColorProperty property_;
};

// Supplies the colour a colour button shows.
using TButtonGetColorProc = std::function<TColor()>;

class TButtonColor : public TChartButton {
public:
    using TChartButton::TChartButton;
    TColor SymbolColor() const;
    void SetSymbolColor(TColor c);
    TButtonGetColorProc GetColorProc;
    void DrawSymbol(TCanvas3D& canvas) override;
    void Click() override;

private:
    TColor own_ = 0;
};

class TComboFlat : public platform::TComboBox {
public:
    explicit TComboFlat(platform::TComponent* owner);
    int DropDownWidth();
    void SetDropDownWidth(int w);
    bool IsDropDownWidthStored() { return DropDownWidth() != Width(); }
    void AddItem(const std::string& text, platform::TObject* object);
    bool MouseOver() const { return mouseOver_; }
    void Paint() override;
    void CMMouseEnter(platform::TMessage& m) override;
    void CMMouseLeave(platform::TMessage& m) override;
    void WMSetFocus(platform::TWMSetFocus& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;

private:
    bool mouseOver_ = false;
};

// The custom colours of every colour dialog of the program.
std::vector<std::string>& ChartCustomEditColors();
TColor EditColor(platform::TComponent* owner, TColor color);
bool EditColorDialog(platform::TComponent* owner, TColor& color);

}  // namespace chart

// Colour button, flat combo box and the colour dialog of the chart's editors.
#include "widgets/chart/ChartColorButton.h"

#include "platform/forms/Dialogs.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "widgets/chart/ChartCanvas3D.h"

namespace chart {

using namespace platform;

TChartButton::TChartButton(TComponent* owner) : TButton(owner) { SetBounds(Left(), Top(), 75, 25); }

TRect TChartButton::SymbolRectangle() const
{
    const int h = Height(), q = h / 4;
    return {Width() - 19, h - 3 * q, Width() - 6, h - q};
}

void TChartButton::LinkProperty(TObject* instance, const TColorProperty& property)
{
    instance_ = instance;
    property_ = instance ? property : TColorProperty{};
    Invalidate();
}

void TChartButton::Paint()
{
    TButton::Paint();
    TChartCanvas3D c;
    c.SetUseBuffer(false);
    c.InitWindow(Canvas(), nullptr, clBtnFace, false, ClientRect());
    c.ResetState();
    DrawSymbol(c);
}

void TChartButton::SetText(const std::string& s)
{
    TButton::SetText(s);
    Invalidate();
}

void TChartButton::SetEnabled(bool v)
{
    TButton::SetEnabled(v);
    Repaint();
}

TColor TButtonColor::SymbolColor() const
{
    if (GetColorProc) return GetColorProc();
    if (instance_ && property_.Get) return TColor(ColorToRGB(property_.Get()));
    return own_;
}

void TButtonColor::SetSymbolColor(TColor c)
{
    if (instance_ && property_.Set) property_.Set(c);
    else own_ = c;
}

void TButtonColor::DrawSymbol(TCanvas3D& canvas)
{
    const TColor c = SymbolColor();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(c);
    if (c == clNone) return;
    if (!Enabled()) canvas.Pen().SetStyle(psClear);
    canvas.Rectangle(SymbolRectangle());
}

void TButtonColor::Click()
{
    TColor k = SymbolColor();
    if (!EditColorDialog(this, k)) return;
    SetSymbolColor(k);
    Repaint();
    TButton::Click();
}

// ---------------------------------------------------------------- flat combo box

TComboFlat::TComboFlat(TComponent* owner) : TComboBox(owner)
{
    SetStyle(csDropDownList);
    SetItemHeight(13);
    SetBounds(Left(), Top(), Width(), 21);
}

int TComboFlat::DropDownWidth()
{
    HandleNeeded();
    return int(Perform(CB_GETDROPPEDWIDTH));
}

void TComboFlat::SetDropDownWidth(int w) { Perform(CB_SETDROPPEDWIDTH, WPARAM(w)); }

void TComboFlat::AddItem(const std::string& text, TObject* object) { Items().AddObject(text, object); }

void TComboFlat::CMMouseEnter(TMessage& m)
{
    TComboBox::CMMouseEnter(m);
    mouseOver_ = true;
    Repaint();
}

void TComboFlat::CMMouseLeave(TMessage& m)
{
    TComboBox::CMMouseLeave(m);
    mouseOver_ = false;
    Repaint();
}

void TComboFlat::WMSetFocus(TWMSetFocus& m)
{
    TComboBox::WMSetFocus(m);
    mouseOver_ = false;
    Repaint();
}

void TComboFlat::WMKillFocus(TWMKillFocus& m)
{
    TComboBox::WMKillFocus(m);
    mouseOver_ = false;
    Repaint();
}

void TComboFlat::Paint()
{
    TComboBox::Paint();
    if (mouseOver_ || Focused()) return;
    TCanvas& c = *Canvas();
    c.Brush().SetStyle(bsClear);
    TRect r = ClientRect();
    c.Pen().SetColor(clBtnFace);
    c.Rectangle(r);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    c.Rectangle(r);
    r.Left = r.Right - GetSystemMetrics(SM_CXVSCROLL) - 2;  // the drop-down button
    ++r.Top;
    --r.Bottom;
    c.Pen().SetColor(clWindow);
    c.Rectangle(r);
    c.MoveTo(r.Right - 2, r.Top);
    c.LineTo(r.Right - 2, r.Bottom);
}

// ---------------------------------------------------------------- colour dialog

std::vector<std::string>& ChartCustomEditColors()
{
    static std::vector<std::string> colours;
    return colours;
}

TColor EditColor(TComponent* owner, TColor color)
{
    TColorDialog d(owner);
    d.Color = color;
    d.CustomColors = ChartCustomEditColors();
    if (!d.Execute()) return color;
    ChartCustomEditColors() = d.CustomColors;
    return d.Color;
}

bool EditColorDialog(TComponent* owner, TColor& color)
{
    const TColor n = EditColor(owner, color);
    if (n == color) return false;
    color = n;
    return true;
}

}  // namespace chart

#pragma once
// Selector buttons whose choice is a colour: a palette, a honeycomb of colour cells or a
// spectrum picture.
#include <memory>
#include <string>

#include "widgets/flat/Selector.h"

namespace platform {
class TImage;
}

namespace flat {

enum TColorSelectionStyle { csDiscrete, csColorCube, csSpectrum };

// The eyedropper over the spectrum: its number in the screen's cursor table, its .cur bytes
// (registered as the cursor resource "EYEDROPPER"), and the number once it is registered.
constexpr platform::TCursor crEyedropper = 54;
std::string EyedropperCursorData();
platform::TCursor EyedropperCursor();

// One cell of the colour cube: its centre and colour.
struct TColorCubeCell {
    platform::TPoint Center;
    TColor Color = 0;
};

// 127 hexagonal cells in 13 rows.
class TExColorCubePanel : public TExCustomSelectorPanel {
public:
    explicit TExColorCubePanel(platform::TComponent* AOwner);
    static constexpr int CellCount = 127;
    // Cells 1 to 127.
    const TColorCubeCell& Cell(int i) const { return cells_[std::size_t(i - 1)]; }
    TColor SelectedColor() const { return selectedColor_; }
    int SelectedCell() const { return selected_; }
    int HotCell() const { return hot_; }
    bool ShowRGBHint() const { return showRGBHint_; }
    void SetShowRGBHint(bool v);
    void SetSelectedColor(TColor c) { SetSelectedIndexAndColor(c, -1); }
    void SetSelectedIndexAndColor(TColor c, int i);
    void SetItemsPosition();
    int IndexOfCellAt(int X, int Y) const;
    bool PtInCell(int i, platform::TPoint p) const;
    platform::TNotifyEvent OnSelect;

    void DrawColorCube(int i);
    void DrawAllColorCube();
    void Paint() override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;

private:
    void Initialize();
    TColorCubeCell cells_[CellCount];
    int W_ = 6, H_ = 3;
    TColor selectedColor_ = platform::clNone;
    int selected_ = -1, hot_ = -1;
    bool showRGBHint_ = true;
};

// A hexagon around centre c: half-width w, quarter-height h.
void DrawHexagon(platform::TCanvas* canvas, platform::TPoint c, int w, int h);

// A 128 x 128 spectrum picture sampled under the pointer.
class TExColorSpectrumPanel : public TExCustomSelectorPanel {
public:
    explicit TExColorSpectrumPanel(platform::TComponent* AOwner);
    ~TExColorSpectrumPanel() override;
    platform::TImage* Picture() const { return picture_; }
    TColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(TColor c) { selectedColor_ = c; }
    TColor HotColor() const { return hotColor_; }
    TRect SelectedRect() const { return selectedRect_; }
    TRect HotRect() const { return hotRect_; }
    void SetItemsPosition();
    platform::TNotifyEvent OnSelect;
    void Paint() override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;

private:
    void DrawSwatch(const TRect& r, TColor c);
    platform::TImage* picture_;
    TColor hotColor_ = platform::clNone, selectedColor_ = platform::clWhite;
    TRect selectedRect_, hotRect_;
};

// The spectrum: hue from red round to red left to right, white at the top, black at the bottom.
void MakeSpectrum(platform::TBitmap& b, int width, int height);

class TExCustomColorSelector : public TExCustomSelector {
public:
    explicit TExCustomColorSelector(platform::TComponent* AOwner);
    ~TExCustomColorSelector() override;
    TColorSelectionStyle SelectionStyle() const { return selectionStyle_; }
    void SetColorSelectionStyle(TColorSelectionStyle s) { selectionStyle_ = s; }
    bool ShowSelectedColor() const { return showSelectedColor_; }
    void SetShowSelectedColor(bool v);
    TColor GetSelectedColor() const { return selectedColor_; }
    void SetSelectedColor(TColor c);
    bool ShowRGBHint = true;
    TExColorCubePanel* CubePanel() const { return cube_; }
    TExColorSpectrumPanel* SpectrumPanel() const { return spectrum_; }
    virtual void Initialize() {}

protected:
    void OnToolSelect() override;
    void DrawGlyphAndCaption(platform::TBitmap* Bitmap, TRect R) override;
    void SetSelectorPanel() override;

private:
    void PaletteDraw(int Index, TRect R);
    TColorSelectionStyle selectionStyle_ = csDiscrete;
    bool showSelectedColor_ = true;
    TColor selectedColor_ = platform::clNone;
    TExColorCubePanel* cube_ = nullptr;
    TExColorSpectrumPanel* spectrum_ = nullptr;
};

// The 40-colour palette between "Automatic" and "More Colors...".
class TExColorSelector : public TExCustomColorSelector {
public:
    explicit TExColorSelector(platform::TComponent* AOwner);
    void Initialize() override;
};

// Sixteen named basic colours below "Automatic".
class TExTextColorSelector : public TExCustomColorSelector {
public:
    explicit TExTextColorSelector(platform::TComponent* AOwner);
    void Initialize() override;
};

}  // namespace flat

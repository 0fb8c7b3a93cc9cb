#pragma once
// Selector buttons that offer drawing styles: dash styles, line widths, fill patterns,
// shadows, table borders and gradient directions. They report which item was chosen.
#include "widgets/flat/Selector.h"

namespace flat {

// A style picker with its own pictures, one per item.
class TExImageStyleSelector : public TExCustomSelector {
public:
    platform::TImageList* ImageList() const { return imageList_; }

protected:
    // An image list of count pictures of w x h, each drawn by draw on white.
    TExImageStyleSelector(platform::TComponent* AOwner, int w, int h, int count,
                          const std::function<void(platform::TCanvas*, int index, int w, int h)>& draw,
                          int panelButtonsPerRow);
    void SetSelectorPanel() override;

private:
    platform::TImageList* imageList_;
    int panelButtonsPerRow_;
};

class TExPenStyleSelector : public TExImageStyleSelector {
public:
    explicit TExPenStyleSelector(platform::TComponent* AOwner);
    void Initialize();
};

class TExPenWidthSelector : public TExImageStyleSelector {
public:
    explicit TExPenWidthSelector(platform::TComponent* AOwner);
    void Initialize();
};

class TExBrushStyleSelector : public TExImageStyleSelector {
public:
    explicit TExBrushStyleSelector(platform::TComponent* AOwner);
    void Initialize();
};

class TExShadowSelector : public TExImageStyleSelector {
public:
    explicit TExShadowSelector(platform::TComponent* AOwner);
    void Initialize();
};

class TExTableBorderSelector : public TExImageStyleSelector {
public:
    explicit TExTableBorderSelector(platform::TComponent* AOwner);
    void Initialize();
};

// Six gradient directions drawn live in the panel from StartColor to EndColor.
class TExGradientDirectionSelector : public TExCustomSelector {
public:
    explicit TExGradientDirectionSelector(platform::TComponent* AOwner);
    void Initialize();
    TColor StartColor = 0x808080, EndColor = 0xFFFFFF;

protected:
    void SetSelectorPanel() override;

private:
    void GradientDraw(int Index, TRect R);
};

}  // namespace flat

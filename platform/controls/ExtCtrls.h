#pragma once
// Panels, bevels, radio groups and images.
#include <memory>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "platform/controls/StdCtrls.h"

namespace platform {

class TPicture;
class TRadioButton;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TPanelBevel = TBevelCut;
using TBevelWidth = int;

// Draws width nested frames inside rect (which shrinks by width): top and left in
// topColor, bottom and right in bottomColor.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// A container with an outer and an inner bevel and a caption in the middle.
class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);

    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel b);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel b);
    TBevelWidth BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(TBevelWidth w);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);  // bsSingle adds a sunken edge round the client
    bool FullRepaint = true;
    bool Locked = false;

    void Paint() override;
    void AdjustClientRect(TRect& rect) override;
    void CreateParams(TCreateParams& params) override;
    void WMSize(TWMSize& m) override;

private:
    TPanelBevel bevelInner_ = bvNone, bevelOuter_ = bvRaised;
    TBevelWidth bevelWidth_ = 1;
    TAlignment alignment_ = taCenter;
    TBorderStyle borderStyle_ = bsNone;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

// A windowless line, box or frame in the 3D colours.
class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape s);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle s);
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// A group box of radio buttons made from Items, in Columns; ItemIndex is the checked one
// (-1 none). Checking one, by the user or by ItemIndex, raises OnClick.
class TCustomRadioGroup : public TCustomGroupBox {
public:
    explicit TCustomRadioGroup(TComponent* AOwner);
    ~TCustomRadioGroup() override;
    base::TStringList& Items() { return items_; }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int i);
    int Columns() const { return columns_; }
    void SetColumns(int n);  // 1 to 16
    int ButtonCount() const { return int(buttons_.size()); }
    TRadioButton* Buttons(int i) const { return buttons_[std::size_t(i)]; }
    void WMSize(TWMSize& m) override;
    void CMFontChanged(TMessage& m) override;
    void CMEnabledChanged(TMessage& m) override;

private:
    void UpdateButtons();
    void ArrangeButtons();
    void ButtonClick(TObject* sender);
    base::TStringList items_;
    std::vector<TRadioButton*> buttons_;
    int itemIndex_ = -1, columns_ = 1;
    bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
public:
    using TCustomRadioGroup::TCustomRadioGroup;
};

// A picture on the parent's window: at the top-left, centred or stretched over the control.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    TPicture* Picture() { return picture_.get(); }
    void SetPicture(const TPicture& p);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);  // a bitmap's bottom-left colour is left out
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    void Paint() override;
    // Where the picture goes in the client area.
    TRect DestRect() const;

private:
    void PictureChanged();
    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false, center_ = false, transparent_ = false, autoSize_ = false;
};

}  // namespace platform

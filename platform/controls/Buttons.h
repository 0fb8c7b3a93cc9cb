#pragma once
// Buttons with pictures: the speed button (windowless, in groups, down state, flat look)
// and the bit button (a push button with a glyph and standard kinds).
#include <memory>
#include <string>

#include "platform/controls/StdCtrls.h"

namespace platform {

class TBitmap;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
using TNumGlyphs = int;  // 1 to 4 images side by side: up, disabled, clicked, down

// Lays out and draws a glyph strip and a caption in a button's face.
class TButtonGlyph {
public:
    TButtonGlyph();
    ~TButtonGlyph();
    TBitmap* Glyph() { return glyph_.get(); }
    void SetGlyph(const TBitmap* b);  // copied; nullptr empties
    TNumGlyphs NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(TNumGlyphs n);
    // The size of one image (0 x 0 without a glyph).
    TSize ImageSize() const;
    // Positions of glyph and caption in client (Margin -1 centres, Spacing -1 spreads).
    void CalcLayout(TCanvas* canvas, const TRect& client, TPoint offset, const std::string& caption,
                    TButtonLayout layout, int margin, int spacing, TPoint& glyphPos, TRect& textBounds) const;
    // Draws both for state; returns where the caption went.
    TRect Draw(TCanvas* canvas, const TRect& client, TPoint offset, const std::string& caption, TButtonLayout layout,
               int margin, int spacing, TButtonState state, bool transparent);
    // The image of state (the disabled one made grey when the strip has none) at (x, y),
    // its bottom-left colour left out.
    void DrawGlyph(TCanvas* canvas, int x, int y, TButtonState state) const;

private:
    std::unique_ptr<TBitmap> glyph_;
    TNumGlyphs numGlyphs_ = 1;
};

// A windowless button. With a GroupIndex, the buttons of one parent that share it are
// exclusive: pressing one releases the other (unless AllowAllUp lets the down one up).
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    bool Down() const { return down_; }
    void SetDown(bool v);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v);
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    TBitmap* Glyph() { return glyph_.Glyph(); }
    void SetGlyph(const TBitmap* b);
    TNumGlyphs NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(TNumGlyphs n);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v);
    int Margin() const { return margin_; }
    void SetMargin(int v);  // -1 centres; below -1 is ignored
    int Spacing() const { return spacing_; }
    void SetSpacing(int v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TButtonState State() const { return state_; }
    bool MouseInControl() const { return mouseInControl_; }

    void Click() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& m) override;
    // CM_BUTTONPRESSED: WParam the group, LParam the button pressed.
    virtual void CMButtonPressed(TMessage& m);
    virtual void CMDialogChar(TMessage& m);
    void CMMouseEnter(TMessage& m) override;
    void CMMouseLeave(TMessage& m) override;
    void CMEnabledChanged(TMessage& m) override;

protected:
    TButtonGlyph& ButtonGlyph() { return glyph_; }
    TButtonState state_ = bsUp;
    bool dragging_ = false;

private:
    void UpdateExclusive();
    TButtonGlyph glyph_;
    int groupIndex_ = 0;
    bool down_ = false, allowAllUp_ = false, flat_ = false, transparent_ = true, mouseInControl_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1, spacing_ = 4;
};

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

// A push button with a glyph. A kind other than bkCustom gives the standard caption,
// modal result and default or cancel role (bkClose closes the form).
class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind k);
    TBitmap* Glyph() { return glyph_.Glyph(); }
    void SetGlyph(const TBitmap* b);
    TNumGlyphs NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(TNumGlyphs n);
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1, Spacing = 4;
    void Click() override;
    void Paint() override;

private:
    TButtonGlyph glyph_;
    TBitBtnKind kind_ = bkCustom;
};

}  // namespace platform

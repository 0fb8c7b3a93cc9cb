#pragma once
// A label that shows mini-HTML text: plain or gradient background, bevels and a
// border, vertical alignment, automatic sizing, anchors that react to the mouse,
// highlighting and marking of words.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/controls/ExtCtrls.h"
#include "platform/forms/Forms.h"

namespace base {
class TStrings;
class TStringList;
}  // namespace base
namespace platform {
class TImageList;
}

namespace html {

class THTMLPictureCache;
class TPictureContainer;

enum TAutoSizeType { asVertical, asHorizontal, asBoth };
using platform::TBevelCut;
using platform::bvNone;
using platform::bvLowered;
using platform::bvRaised;
using platform::bvSpace;
enum TVAlignment { tvaTop, tvaCenter, tvaBottom };
enum TGradientType { gtFullHorizontal, gtFullVertical, gtBottomLine, gtCenterLine, gtTopLine };

using TAnchorClick = std::function<void(platform::TObject* Sender, const std::string& Anchor)>;
using TAnchorHintEvent = std::function<void(platform::TObject* Sender, std::string& Anchor)>;

class THtmlLabel : public platform::TGraphicControl {
public:
    explicit THtmlLabel(platform::TComponent* AOwner);
    ~THtmlLabel() override;

    void Loaded() override;
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;
    void Paint() override;

    virtual std::uint32_t GetVersionNr() const;
    virtual std::string GetDisplText() const;
    virtual void UpdateDisplText();
    // The engine call with the label's picture cache and container; FocusLink is
    // always -1, the text wraps unless Ellipsis is set.
    virtual bool HTMLPaint(platform::TCanvas* Canvas, const std::string& Text, const platform::TRect& TextRect,
                           platform::TImageList* Images, int HitX, int HitY, int FocusLink, int HoverLink,
                           int ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected,
                           bool BlinkVisible, bool HoverStyle, double PrintScale, platform::TColor LinkColor,
                           platform::TColor HoverBackColor, platform::TColor HoverFontColor,
                           platform::TColor ShadowColor, std::string& AnchorValue, std::string& StrippedText,
                           std::string& FocusAnchor, int& MeasuredWidth, int& MeasuredHeight, int& LinkCount,
                           int& LinkUnderPoint, platform::TRect& HoverRect);

    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void CMHintShow(platform::TCMHintShow& Message) override;
    void CMMouseLeave(platform::TMessage& Message) override;
    void CMMouseEnter(platform::TMessage& Message) override;

    // --- Text ---
    base::TStringList* HTMLText() const { return htmlText_.get(); }
    // Copies the list's text with every CR and LF removed; a null list changes nothing.
    void SetHTMLText(const base::TStrings* Value);
    // The text without markup.
    std::string GetText() const;
    void HilightText(const std::string& HiText, bool DoCase);
    void MarkText(const std::string& HiText, bool DoCase);
    void UnHilightText();
    void UnMarkText();

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    void Doit();
    // Draws the text on another canvas, as for a printer.
    void HTMLPrint(platform::TCanvas* Canvas, const platform::TRect& Rect);

    std::string Version() const;
    void SetVersion(const std::string&) {}

    // --- Properties ---
    bool AutoSizing() const { return autoSizing_; }
    void SetAutoSizing(bool Value);
    TAutoSizeType AutoSizeType() const { return autoSizeType_; }
    void SetAutoSizeType(TAutoSizeType Value);
    bool AnchorHint = false;
    platform::TImageList* Images() const { return images_; }
    void SetImages(platform::TImageList* Value);
    TPictureContainer* PictureContainer() const { return pictureContainer_; }
    void SetPictureContainer(TPictureContainer* Value);
    platform::TColor URLColor() const { return urlColor_; }
    void SetURLColor(platform::TColor Value);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut Value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int Value);
    platform::TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(platform::TBorderStyle Value);
    int ShadowOffset() const { return shadowOffset_; }
    void SetShadowOffset(int Value);
    platform::TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(platform::TColor Value);
    bool Hover() const { return hover_; }
    void SetHover(bool Value);
    platform::TColor HoverColor() const { return hoverColor_; }
    void SetHoverColor(platform::TColor Value);
    platform::TColor HoverFontColor() const { return hoverFontColor_; }
    void SetHoverFontColor(platform::TColor Value);
    TVAlignment VAlignment() const { return vAlignment_; }
    void SetVAlignment(TVAlignment Value);
    bool Ellipsis() const { return ellipsis_; }
    void SetEllipsis(bool Value);
    bool HintShowFull = false;
    bool HTMLHint = false;
    platform::TColor ColorTo() const { return colorTo_; }
    void SetColorTo(platform::TColor Value);
    int LineWidth() const { return lineWidth_; }
    void SetLineWidth(int Value);
    TGradientType GradientType() const { return gradientType_; }
    void SetGradientType(TGradientType Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    platform::TWinControl* FocusControl = nullptr;
    // The base label's own sizing, kept off.
    bool AutoSize() const { return autoSize_; }

    TAnchorClick OnAnchorClick, OnAnchorEnter, OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;
    platform::TNotifyEvent OnMouseLeave, OnMouseEnter;

    // --- Anchor tracking ---
    const std::string& LastAnchor() const { return lastAnchor_; }
    int HoverAnchorIndex() const { return hoverAnchorIndex_; }
    int LastAnchorIndex() const { return lastAnchorIndex_; }
    const platform::TRect& HoverAnchorRect() const { return hoverAnchorRect_; }
    // The anchor under (X, Y), empty when none; Rect receives the link's rectangle,
    // (-1, -1, -1, -1) for none.
    std::string IsAnchor(int X, int Y, platform::TRect& Rect);
    std::string IsAnchor(int X, int Y);

protected:
    THTMLPictureCache* PictureCache() const { return pictureCache_.get(); }

private:
    void HTMLChanged();
    void HoverInvalidate(const platform::TRect& R);
    // The rectangle the text is laid out in, shared by painting and the hit test;
    // vertical alignment measures the text first.
    platform::TRect TextArea(int HitX, int HitY, int HoverLink, bool& Vertical, bool& Horizontal);
    void Frame3D(platform::TRect& R, platform::TColor TopColor, platform::TColor BottomColor, int Width);
    void DrawGradient(platform::TColor From, platform::TColor To, int Steps, const platform::TRect& R,
                      bool Horizontal);

    std::string lastAnchor_;
    bool autoSizing_ = false;
    TAutoSizeType autoSizeType_ = asVertical;
    std::unique_ptr<base::TStringList> htmlText_;
    platform::TImageList* images_ = nullptr;
    std::unique_ptr<THTMLPictureCache> pictureCache_;
    int updateCount_ = 0;
    platform::TColor urlColor_ = platform::clBlue;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    platform::TBorderStyle borderStyle_ = platform::bsNone;
    int shadowOffset_ = 2;
    platform::TColor shadowColor_ = platform::clGray;
    bool hover_ = false;
    int hoverAnchorIndex_ = -1;
    int lastAnchorIndex_ = 0;
    platform::TColor hoverColor_ = platform::clNone;
    platform::TColor hoverFontColor_ = platform::clNone;
    TVAlignment vAlignment_ = tvaTop;
    bool ellipsis_ = false;
    platform::TRect hoverAnchorRect_{};
    TPictureContainer* pictureContainer_ = nullptr;
    platform::TColor colorTo_ = platform::clNone;
    int lineWidth_ = 0;
    TGradientType gradientType_ = gtFullHorizontal;
    bool transparent_ = false;
    bool autoSize_ = false;
};

}  // namespace html

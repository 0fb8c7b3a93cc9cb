#include "widgets/html/HtmlLabel.h"

#include <algorithm>
#include <cmath>

#include "base/StringList.h"
#include "platform/graphics/ImageList.h"
#include "platform/system/Shell.h"
#include "widgets/html/HtmlEngine.h"
#include "widgets/html/HtmlText.h"
#include "widgets/html/PictureContainer.h"
#include "widgets/html/VersionText.h"

using namespace platform;

namespace html {

namespace {

constexpr TRect kNoRect{-1, -1, -1, -1};

// The colour's RGB as a gradient takes it: system colours resolved, every other
// value by its low three bytes (so clNone reads as white).
COLORREF GradientRGB(TColor c)
{
    return c < 0 ? ColorToRGB(c) : COLORREF(c) & 0xFFFFFF;
}

int RoundEven(double v)
{
    return int(std::nearbyint(v));
}

}  // namespace

THtmlLabel::THtmlLabel(TComponent* AOwner)
    : TGraphicControl(AOwner),
      htmlText_(std::make_unique<base::TStringList>()),
      pictureCache_(std::make_unique<THTMLPictureCache>())
{
    SetBounds(Left(), Top(), 65, 17);
    SetColor(clWindow);
    htmlText_->OnChange = [this](base::TStringList&) { HTMLChanged(); };
    autoSize_ = false;
    SetCaption("");
}

THtmlLabel::~THtmlLabel()
{
    pictureCache_->ClearPictures();
    htmlText_->OnChange = nullptr;
}

void THtmlLabel::Loaded()
{
    TGraphicControl::Loaded();
    SetCaption("");
}

void THtmlLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove) {
        if (AComponent == images_) images_ = nullptr;
        if (AComponent == pictureContainer_) pictureContainer_ = nullptr;
    }
    TGraphicControl::Notification(AComponent, Operation);
}

std::uint32_t THtmlLabel::GetVersionNr() const
{
    return 0x01070000u;
}

std::string THtmlLabel::Version() const
{
    return VersionText(GetVersionNr());
}

// --- Text ---

std::string THtmlLabel::GetDisplText() const
{
    std::string s;
    for (int i = 0; i < htmlText_->Count(); ++i) s += htmlText_->Get(i);
    return s;
}

void THtmlLabel::UpdateDisplText()
{
    Invalidate();
}

void THtmlLabel::HTMLChanged()
{
    pictureCache_->ClearPictures();
    Invalidate();
}

void THtmlLabel::SetHTMLText(const base::TStrings* Value)
{
    if (Value) {
        std::string text = Value->Text();
        std::erase_if(text, [](char ch) { return ch == '\r' || ch == '\n'; });
        htmlText_->SetText(text);
    }
    UpdateDisplText();
}

std::string THtmlLabel::GetText() const
{
    return HTMLStrip(GetDisplText(), HTMLVariant::Panel);
}

void THtmlLabel::HilightText(const std::string& HiText, bool DoCase)
{
    htmlText_->SetText(HiLight(htmlText_->Text(), HiText, "hi", DoCase));
}

void THtmlLabel::MarkText(const std::string& HiText, bool DoCase)
{
    htmlText_->SetText(HiLight(htmlText_->Text(), HiText, "e", DoCase));
}

void THtmlLabel::UnHilightText()
{
    htmlText_->SetText(UnHiLight(htmlText_->Text(), "hi"));
}

void THtmlLabel::UnMarkText()
{
    htmlText_->SetText(UnHiLight(htmlText_->Text(), "e"));
}

void THtmlLabel::BeginUpdate()
{
    ++updateCount_;
}

void THtmlLabel::EndUpdate()
{
    if (updateCount_ > 0) {
        --updateCount_;
        if (updateCount_ == 0) Invalidate();
    }
}

void THtmlLabel::Doit()
{
    Repaint();
}

// --- Setters ---

void THtmlLabel::SetAutoSizing(bool Value)
{
    autoSizing_ = Value;
    if (Value) {
        if (Align() == alLeft || Align() == alRight) SetWidth(6);
        if (Align() == alTop || Align() == alBottom) SetHeight(6);
    }
    Invalidate();
}

void THtmlLabel::SetAutoSizeType(TAutoSizeType Value)
{
    autoSizeType_ = Value;
    SetAutoSizing(autoSizing_);
}

void THtmlLabel::SetImages(TImageList* Value)
{
    if (images_ && images_ != Value) images_->RemoveFreeNotification(this);
    images_ = Value;
    if (images_) images_->FreeNotification(this);
    Invalidate();
}

void THtmlLabel::SetPictureContainer(TPictureContainer* Value)
{
    if (pictureContainer_ && pictureContainer_ != Value) pictureContainer_->RemoveFreeNotification(this);
    pictureContainer_ = Value;
    if (pictureContainer_) pictureContainer_->FreeNotification(this);
}

void THtmlLabel::SetURLColor(TColor Value)
{
    if (urlColor_ == Value) return;
    urlColor_ = Value;
    Invalidate();
}

void THtmlLabel::SetVAlignment(TVAlignment Value)
{
    if (vAlignment_ == Value) return;
    vAlignment_ = Value;
    Invalidate();
}

void THtmlLabel::SetEllipsis(bool Value)
{
    if (ellipsis_ == Value) return;
    ellipsis_ = Value;
    Invalidate();
}

void THtmlLabel::SetBevelInner(TBevelCut Value) { bevelInner_ = Value; Invalidate(); }
void THtmlLabel::SetBevelOuter(TBevelCut Value) { bevelOuter_ = Value; Invalidate(); }
void THtmlLabel::SetBevelWidth(int Value) { bevelWidth_ = Value; Invalidate(); }
void THtmlLabel::SetBorderWidth(int Value) { borderWidth_ = Value; Invalidate(); }
void THtmlLabel::SetBorderStyle(TBorderStyle Value) { borderStyle_ = Value; Invalidate(); }
void THtmlLabel::SetShadowOffset(int Value) { shadowOffset_ = Value; Invalidate(); }
void THtmlLabel::SetShadowColor(TColor Value) { shadowColor_ = Value; Invalidate(); }
void THtmlLabel::SetHover(bool Value) { hover_ = Value; Invalidate(); }
void THtmlLabel::SetHoverColor(TColor Value) { hoverColor_ = Value; Invalidate(); }
void THtmlLabel::SetHoverFontColor(TColor Value) { hoverFontColor_ = Value; Invalidate(); }
void THtmlLabel::SetColorTo(TColor Value) { colorTo_ = Value; Invalidate(); }
void THtmlLabel::SetLineWidth(int Value) { lineWidth_ = Value; Invalidate(); }
void THtmlLabel::SetGradientType(TGradientType Value) { gradientType_ = Value; Invalidate(); }

void THtmlLabel::SetTransparent(bool Value)
{
    if (transparent_ == Value) return;
    transparent_ = Value;
    Invalidate();
}

// --- Drawing ---

bool THtmlLabel::HTMLPaint(TCanvas* Canvas, const std::string& Text, const TRect& TextRect, TImageList* Images,
                           int HitX, int HitY, int /*FocusLink*/, int HoverLink, int ShadowOffset,
                           bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected, bool BlinkVisible,
                           bool HoverStyle, double PrintScale, TColor LinkColor, TColor HoverBackColor,
                           TColor HoverFontColor, TColor ShadowColor, std::string& AnchorValue,
                           std::string& StrippedText, std::string& FocusAnchor, int& MeasuredWidth,
                           int& MeasuredHeight, int& LinkCount, int& LinkUnderPoint, TRect& HoverRect)
{
    return panelhtml::HTMLDrawEx(Canvas, Text, TextRect, Images, HitX, HitY, -1, HoverLink, ShadowOffset,
                                 HitTestOnly, MeasureOnly, Printing, Selected, BlinkVisible, HoverStyle,
                                 !ellipsis_, false, PrintScale, LinkColor, HoverBackColor, HoverFontColor,
                                 ShadowColor, AnchorValue, StrippedText, FocusAnchor, MeasuredWidth,
                                 MeasuredHeight, LinkCount, LinkUnderPoint, HoverRect, pictureCache_.get(),
                                 pictureContainer_, 0);
}

void THtmlLabel::Frame3D(TRect& R, TColor TopColor, TColor BottomColor, int Width)
{
    platform::Frame3D(Canvas(), R, TopColor, BottomColor, Width);
}

void THtmlLabel::DrawGradient(TColor From, TColor To, int Steps, const TRect& R, bool Horizontal)
{
    TCanvas* c = Canvas();
    if (Steps == 0) Steps = 1;
    const COLORREF a = GradientRGB(From), b = GradientRGB(To);
    const double ra = GetRValue(a), ga = GetGValue(a), ba = GetBValue(a);
    const double rs = (GetRValue(b) - ra) / Steps, gs = (GetGValue(b) - ga) / Steps, bs = (GetBValue(b) - ba) / Steps;
    const double band = double(Horizontal ? R.Width() : R.Height()) / Steps;
    for (int i = 0; i < Steps; ++i) {
        const TColor col = TColor(RGB(RoundEven(ra + i * rs), RoundEven(ga + i * gs), RoundEven(ba + i * bs)));
        c->Pen().SetColor(col);
        c->Brush().SetColor(col);
        c->Brush().SetStyle(bsSolid);
        const int start = RoundEven(i * band);
        if (Horizontal) {
            const int left = R.Left + start;
            const int right = std::min(left + int(band) + 1, R.Right);
            c->Rectangle(left, R.Top, right, R.Bottom);
        } else {
            const int top = R.Top + start;
            const int bottom = std::min(top + int(band) + 1, R.Bottom);
            c->Rectangle(R.Left, top, R.Right, bottom);
        }
    }
}

TRect THtmlLabel::TextArea(int HitX, int HitY, int HoverLink, bool& Vertical, bool& Horizontal)
{
    // Inside the painted frames and the extra margin inside them.
    TRect R = ClientRect();
    const bool bevel = bevelOuter_ != bvNone || bevelInner_ != bvNone;
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    if (bevel) inset += bevelWidth_;
    if (borderStyle_ == bsSingle) inset += borderWidth_;
    InflateRect(R, -inset, -inset);

    const TAlign align = Align();
    Vertical = autoSizing_ && (align == alNone || align == alTop || align == alBottom) &&
               (autoSizeType_ == asVertical || autoSizeType_ == asBoth);
    Horizontal = autoSizing_ && (align == alNone || align == alLeft || align == alRight) &&
                 (autoSizeType_ == asHorizontal || autoSizeType_ == asBoth);
    const int bottom = R.Bottom;  // alignment works in the label, not in the room grown for sizing
    if (Horizontal) R.Right += 65535;
    if (Vertical) R.Bottom += 65535;

    if (vAlignment_ == tvaCenter || vAlignment_ == tvaBottom) {
        std::string anchor, stripped, focus;
        int w = 0, h = 0, links = 0, under = -1;
        TRect hr = kNoRect;
        HTMLPaint(Canvas(), GetDisplText(), R, images_, HitX, HitY, -1, HoverLink, shadowOffset_, true, false,
                  false, false, false, hover_, 1.0, urlColor_, hoverColor_, hoverFontColor_, shadowColor_, anchor,
                  stripped, focus, w, h, links, under, hr);
        // A text taller than the room left inside the frames stays at the top.
        if (h < Height()) {
            if (vAlignment_ == tvaCenter)
                R.Top += std::max(0, (bottom - R.Top - h) / 2);
            else
                R.Top = std::max(R.Top, bottom - h);
        }
    }
    return R;
}

void THtmlLabel::Paint()
{
    SetCaption("");
    TCanvas* c = Canvas();
    TRect R = ClientRect();
    const int n = R.Width() / 4;

    if (!transparent_) {
        if (colorTo_ != clNone && (gradientType_ == gtFullHorizontal || gradientType_ == gtFullVertical)) {
            DrawGradient(Color(), colorTo_, n, R, gradientType_ == gtFullHorizontal);
        } else {
            c->Pen().SetColor(Color());
            c->Brush().SetColor(Color());
            c->Brush().SetStyle(bsSolid);
            c->Rectangle(R);
        }
    }
    TRect band{R.Left, 0, R.Right, 0};
    bool line = true;
    switch (gradientType_) {
    case gtBottomLine: band.Top = R.Bottom - 2; band.Bottom = R.Bottom; break;
    case gtCenterLine: band.Top = R.Top + (R.Bottom - R.Top) / 2; band.Bottom = band.Top + 2; break;
    case gtTopLine: band.Top = R.Top; band.Bottom = R.Top + 2; break;
    default: line = false; break;
    }
    if (line) DrawGradient(Color(), colorTo_, n, band, true);

    c->Font().Assign(*Font());
    if (updateCount_ > 0) return;

    R = ClientRect();
    if (bevelOuter_ != bvNone) {
        const bool lowered = bevelOuter_ == bvLowered;
        Frame3D(R, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
    }
    Frame3D(R, Color(), Color(), borderWidth_);
    if (bevelInner_ != bvNone) {
        const bool lowered = bevelInner_ == bvLowered;
        Frame3D(R, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
    }
    if (borderStyle_ == bsSingle && borderWidth_ > 0) {
        c->Pen().SetColor(clBlack);
        c->Pen().SetWidth(borderWidth_);
        c->Rectangle(R);
        c->Pen().SetWidth(1);
    }

    const std::string text = GetDisplText();
    c->Brush().SetColor(Color());

    TPoint pt;
    GetCursorPos(pt);
    pt = ScreenToClient(pt);

    bool vertical = false, horizontal = false;
    R = TextArea(pt.X, pt.Y, hoverAnchorIndex_, vertical, horizontal);

    std::string anchor, stripped, focus;
    int w = 0, h = 0, links = 0, under = -1;
    TRect hr = kNoRect;
    HTMLPaint(c, text, R, images_, pt.X, pt.Y, -1, hoverAnchorIndex_, shadowOffset_, false, false, false, false,
              false, hover_, 1.0, urlColor_, hoverColor_, hoverFontColor_, shadowColor_, anchor, stripped, focus, w,
              h, links, under, hr);

    if (vertical && Height() != h + 6) SetHeight(h + 6);
    if (horizontal && Width() != w + 6) SetWidth(w + 6);
}

void THtmlLabel::HTMLPrint(TCanvas* Canvas, const TRect& Rect)
{
    std::string anchor, stripped, focus;
    int w = 0, h = 0, links = 0, under = -1;
    TRect hr = kNoRect;
    HTMLPaint(Canvas, GetDisplText(), Rect, images_, 0, 0, -1, -1, 1, false, false, true, false, false, false, 1.0,
              clBlue, clNone, clNone, clGray, anchor, stripped, focus, w, h, links, under, hr);
}

// --- Anchors and the mouse ---

std::string THtmlLabel::IsAnchor(int X, int Y, TRect& Rect)
{
    Canvas()->Font().Assign(*Font());
    Rect = kNoRect;
    bool vertical = false, horizontal = false;
    const TRect R = TextArea(X, Y, -1, vertical, horizontal);
    std::string anchor, stripped, focus;
    int w = 0, h = 0, links = 0;
    if (HTMLPaint(Canvas(), GetDisplText(), R, images_, X, Y, -1, -1, shadowOffset_, true, false, false, false, false,
                  hover_, 1.0, clWhite, clNone, clNone, clNone, anchor, stripped, focus, w, h, links,
                  hoverAnchorIndex_, Rect))
        return anchor;
    // The engine may name a link whose columns hold the point on another line.
    hoverAnchorIndex_ = -1;
    Rect = kNoRect;
    return {};
}

std::string THtmlLabel::IsAnchor(int X, int Y)
{
    TRect r;
    return IsAnchor(X, Y, r);
}

void THtmlLabel::HoverInvalidate(const TRect& R)
{
    if (!Parent()) return;
    TRect r = R;
    OffsetRect(r, Left(), Top());
    Parent()->InvalidateRect(r);
}

void THtmlLabel::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    TRect R;
    const std::string A = IsAnchor(X, Y, R);
    if (!A.empty()) {
        if ((A != lastAnchor_ || !(R == hoverAnchorRect_) || hoverAnchorIndex_ == -1) && hover_ && R.Left != -1)
            HoverInvalidate(hoverAnchorRect_);
        if (Cursor() == crDefault || A != lastAnchor_ || lastAnchorIndex_ != hoverAnchorIndex_) {
            if (AnchorHint && Application) Application->CancelHint();
            SetCursor(crHandPoint);
            if (OnAnchorEnter) OnAnchorEnter(this, A);
            if (hover_) {
                if (R.Left == -1)
                    Invalidate();
                else
                    HoverInvalidate(hoverAnchorRect_);
            }
        }
        lastAnchor_ = A;
        lastAnchorIndex_ = hoverAnchorIndex_;
        hoverAnchorRect_ = R;
        if (hover_) HoverInvalidate(hoverAnchorRect_);
    } else if (Cursor() == crHandPoint) {
        SetCursor(crDefault);
        if (OnAnchorExit) OnAnchorExit(this, std::string());
        if (hover_) {
            if (hoverAnchorRect_.Left == -1)
                Invalidate();
            else
                HoverInvalidate(hoverAnchorRect_);
        }
        hoverAnchorRect_ = R;
        if (hover_) HoverInvalidate(hoverAnchorRect_);
    }
}

void THtmlLabel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    const std::string A = IsAnchor(X, Y);
    if (A.find("://") != std::string::npos || A.find("mailto:") != std::string::npos) {
        ShellExecute(nullptr, "open", A, "", "", SW_NORMAL);
    } else if (!A.empty() && OnAnchorClick) {
        OnAnchorClick(this, A);
    }
}

void THtmlLabel::CMHintShow(TCMHintShow& Message)
{
    THintInfo* info = HintInfoOf(Message);
    bool found = false;
    if (info && AnchorHint) {
        std::string A = IsAnchor(info->CursorPos.X, info->CursorPos.Y);
        if (!A.empty()) {
            found = true;
            if (OnAnchorHint) OnAnchorHint(this, A);
            TPoint p = ClientToScreen(info->CursorPos);
            info->HintPos = {p.X + 10, p.Y - 10};
            info->HintStr = A;
        }
    }
    if (info && HintShowFull && !found) {
        const std::string text = GetDisplText();
        info->HintStr = HTMLHint ? text : HTMLStrip(text, HTMLVariant::Panel);
    }
    Message.Result = 0;
}

void THtmlLabel::CMMouseLeave(TMessage& Message)
{
    if (hover_ && hoverAnchorIndex_ != -1) HoverInvalidate(hoverAnchorRect_);
    hoverAnchorIndex_ = -1;
    TGraphicControl::CMMouseLeave(Message);
    if (OnMouseLeave) OnMouseLeave(this);
}

void THtmlLabel::CMMouseEnter(TMessage& Message)
{
    TGraphicControl::CMMouseEnter(Message);
    if (OnMouseEnter) OnMouseEnter(this);
}

}  // namespace html

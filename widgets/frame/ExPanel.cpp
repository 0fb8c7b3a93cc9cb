#include "widgets/frame/ExPanel.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "base/FileUtils.h"
#include "base/IniFile.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/ImageList.h"
#include "platform/system/Shell.h"
#include "widgets/html/HtmlEngine.h"
#include "widgets/html/HtmlText.h"
#include "widgets/html/PictureContainer.h"

namespace frame {

using namespace platform;

// ---------------------------------------------------------------- colour routines

namespace expanel {

TColor BlendColor(TColor a, TColor b, int percent)
{
    if (percent == 100) return a;
    const COLORREF ca = ColorToRGB(a), cb = ColorToRGB(b);
    const double p = percent / 100.0;
    auto mix = [&](int shift) {
        const int x = int((ca >> shift) & 255), y = int((cb >> shift) & 255);
        return int(std::nearbyint(p * x + (1 - p) * y));
    };
    return TColor(platform::RGB(mix(0), mix(8), mix(16)));
}

void DrawGradient(TCanvas* canvas, TColor from, TColor to, bool horizontal, TRect r, int steps)
{
    if (steps == 0) steps = 1;
    const COLORREF f = ColorToRGB(from), t = ColorToRGB(to);
    auto channel = [&](int shift, int i) {
        const int a = int((f >> shift) & 255), b = int((t >> shift) & 255);
        return int(a + std::nearbyint(i * (b - a) / double(steps)));
    };
    const double w = (horizontal ? r.Width() : r.Height()) / double(steps);
    for (int i = 0; i < steps; ++i) {
        const TColor c = TColor(platform::RGB(channel(0, i), channel(8, i), channel(16, i)));
        canvas->Pen().SetColor(c);
        canvas->Brush().SetColor(c);
        canvas->Brush().SetStyle(bsSolid);
        if (horizontal) {
            const int x1 = r.Left + int(std::nearbyint(i * w)), x2 = std::min(r.Right, x1 + int(w) + 1);
            canvas->FillRect(Rect(x1, r.Top, x2, r.Bottom));
        } else {
            const int y1 = r.Top + int(std::nearbyint(i * w)), y2 = std::min(r.Bottom, y1 + int(w) + 1);
            canvas->FillRect(Rect(r.Left, y1, r.Right, y2));
        }
    }
}

}  // namespace expanel

namespace {

void BevelColors(TPanelBevel b, TColor& top, TColor& bottom)
{
    top = b == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = b == bvLowered ? clBtnHighlight : clBtnShadow;
}

bool IsShellAnchor(const std::string& a)
{
    return a.find("://") != std::string::npos || a.find("mailto:") != std::string::npos;
}

}  // namespace

std::string RegistryIniPath() { return base::RegistryIniPath(); }

// ---------------------------------------------------------------- settings objects

void TPanelPosition::Assign(const TPersistent& source)
{
    auto* s = dynamic_cast<const TPanelPosition*>(&source);
    if (!s) return TPersistent::Assign(source);
    Key = s->Key;
    Section = s->Section;
    Save = s->Save;
    Location = s->Location;
}

void TAutoSize::Assign(const TPersistent& source)
{
    auto* s = dynamic_cast<const TAutoSize*>(&source);
    if (!s) return TPersistent::Assign(source);
    SetEnabled(s->enabled_);
    Height = s->Height;
    Width = s->Width;
}

void TAutoSize::SetEnabled(bool v)
{
    enabled_ = v;
    if (v && owner_) owner_->DoAutoSize();
}

// ---------------------------------------------------------------- the panel

TCustomExPanel::TCustomExPanel(TComponent* AOwner)
    : TCustomPanel(AOwner), background_(std::make_unique<TExImage>()), caption_(std::make_unique<TPanelCaption>()),
      position_(std::make_unique<TPanelPosition>()), autoSize_(std::make_unique<TAutoSize>(this)),
      pictureCache_(std::make_unique<html::THTMLPictureCache>()), shade_(std::make_unique<TBitmap>())
{
    DoubleBuffered = true;
    caption_->OnChange = [this](TObject*) { Invalidate(); };
    caption_->OnShadeChange = [this](TObject*) { ShadeHeader(); };
    caption_->OnStateChange = [this](TObject*) { StateChange(); };
    background_->OnChange = [this](TObject*) { Invalidate(); };
    fullHeight_ = Height();
    savedColor_ = Color();
}

TCustomExPanel::~TCustomExPanel() = default;

void TCustomExPanel::DestroyWnd()
{
    if (position_->Save) SavePosition();
    TCustomPanel::DestroyWnd();
}

void TCustomExPanel::SetText(const std::string& s)
{
    TCustomPanel::SetText(s);
    Invalidate();
    DoAutoSize();
}

void TCustomExPanel::SetBackground(const TExImage& image)
{
    background_->Assign(image);
    Invalidate();
}
void TCustomExPanel::SetBackgroundPosition(TBackGroundPosition p) { bgPosition_ = p, Invalidate(); }
void TCustomExPanel::SetCaption(const TPanelCaption& c)
{
    caption_->Assign(c);
    Invalidate();
}
void TCustomExPanel::SetImages(TImageList* images)
{
    if (images_) RemoveFreeNotification(images_);
    images_ = images;
    if (images_) FreeNotification(images_);
    Invalidate();
}
void TCustomExPanel::SetURLColor(TColor c) { urlColor_ = c, Invalidate(); }
void TCustomExPanel::SetShadowColor(TColor c) { shadowColor_ = c, Invalidate(); }
void TCustomExPanel::SetShadowOffset(int v) { shadowOffset_ = v, Invalidate(); }
void TCustomExPanel::SetLineSpacing(int v) { lineSpacing_ = v, Invalidate(); }
void TCustomExPanel::SetEllipsis(bool v) { ellipsis_ = v, Invalidate(); }
void TCustomExPanel::SetIndent(int v) { indent_ = v, Invalidate(); }
void TCustomExPanel::SetTopIndent(int v) { topIndent_ = v, Invalidate(); }
void TCustomExPanel::SetTextVAlign(TTextVAlignment v) { textVAlign_ = v, Invalidate(); }
void TCustomExPanel::SetColorTo(TColor c) { colorTo_ = c, Invalidate(); }
void TCustomExPanel::SetBorderColor(TColor c) { borderColor_ = c, Invalidate(); }
void TCustomExPanel::SetBorderShadow(bool v) { borderShadow_ = v, Invalidate(); }
void TCustomExPanel::SetCanSize(bool v) { canSize_ = v, Invalidate(); }

void TCustomExPanel::SetStyler(TExPanelStyler* s)
{
    if (styler_) RemoveFreeNotification(styler_);
    styler_ = s;
    if (styler_) FreeNotification(styler_);
    if (styler_ && !Loading) AssignStyle(styler_->Settings());
}

void TCustomExPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove) {
        if (AComponent == images_) images_ = nullptr;
        if (AComponent == reinterpret_cast<TComponent*>(PictureContainer)) PictureContainer = nullptr;
        if (AComponent == styler_) styler_ = nullptr;
    }
    TCustomPanel::Notification(AComponent, Operation);
}

bool TCustomExPanel::DrawHTML(TCanvas* canvas, const std::string& text, TRect r, int hitX, int hitY, int hoverLink,
                              bool checkOnly, bool measureOnly, bool ellipsis, bool hitTest, std::string* anchor, int* link,
                              TRect* linkRect, int* width, int* height)
{
    html::HTMLDrawParams p;
    p.Variant = html::HTMLVariant::Panel;
    p.Canvas = canvas;
    p.Text = text;
    p.TextRect = r;
    p.Images = images_;
    p.HitX = hitX;
    p.HitY = hitY;
    p.FocusLink = -1;
    p.HoverLink = hoverLink;
    p.ShadowOffset = hitTest ? 2 : shadowOffset_;
    p.HitTestOnly = checkOnly;
    p.MeasureOnly = measureOnly;
    p.HoverStyle = hitTest ? false : Hover;
    p.WordWrap = !ellipsis;
    p.LinkColor = urlColor_;
    p.HoverBackColor = hitTest ? TColor(0xFF0000) : HoverColor;
    p.HoverFontColor = hitTest ? TColor(255) : HoverFontColor;
    p.ShadowColor = hitTest ? TColor(0x808080) : shadowColor_;
    p.PictureCache = pictureCache_.get();
    p.PictureContainer = PictureContainer;
    p.LineSpacing = lineSpacing_;
    html::HTMLDrawResult res;
    const bool hit = html::HTMLDrawEx(p, res);
    if (anchor) *anchor = res.AnchorValue;
    if (link) *link = res.LinkUnderPoint;
    if (linkRect) *linkRect = res.HoverRect;
    if (width) *width = res.MeasuredWidth;
    if (height) *height = res.MeasuredHeight;
    return hit;
}

void TCustomExPanel::Paint()
{
    TRect r = ClientRect();
    std::unique_ptr<TBitmap> buffer;
    TCanvas* c = Canvas();
    if (Buffered) {
        buffer = std::make_unique<TBitmap>(std::max(1, r.Width()), std::max(1, r.Height()));
        c = buffer->Canvas();
    }
    // Background.
    if (colorTo_ == clNone) {
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(Color());
        c->Pen().SetColor(Color());
        c->FillRect(r);
    } else {
        expanel::DrawGradient(c, Color(), colorTo_, false, r, 64);
    }
    // Border with its shadow.
    const int bw = BorderWidth();
    if (borderColor_ != clNone && bw > 0) {
        c->Brush().SetStyle(bsClear);
        c->Pen().SetColor(borderColor_);
        if (borderShadow_) r.Right -= 2, r.Bottom -= 2;
        c->Rectangle(r);
        if (borderShadow_) {
            c->Pen().SetColor(expanel::BlendColor(borderColor_, clBtnFace, 50));
            c->MoveTo(r.Right, r.Top), c->LineTo(r.Right, r.Bottom), c->LineTo(r.Left, r.Bottom);
            c->Pen().SetColor(expanel::BlendColor(borderColor_, clBtnFace, 20));
            c->MoveTo(r.Right + 1, r.Top), c->LineTo(r.Right + 1, r.Bottom + 1), c->LineTo(r.Left, r.Bottom + 1);
        }
        c->Brush().SetStyle(bsSolid);
    }
    // Bevels.
    TColor top, bottom;
    if (BevelOuter() != bvNone) {
        BevelColors(BevelOuter(), top, bottom);
        Frame3D(c, r, top, bottom, BevelWidth());
    }
    if (borderColor_ == clNone) Frame3D(c, r, Color(), Color(), 1);
    if (BevelInner() != bvNone) {
        BevelColors(BevelInner(), top, bottom);
        Frame3D(c, r, top, bottom, BevelWidth());
    }
    // The clip for the picture and the text.
    r = ClientRect();
    if (caption_->Visible()) r.Top += caption_->Height() - 2 * BevelWidth();
    if (borderShadow_) r.Right -= 2, r.Bottom -= 3;
    HDC dc = c->Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    if (!background_->Empty()) {
        const int w = background_->Width(), h = background_->Height(), B = BevelWidth();
        const int xr = std::max(r.Left, r.Right - r.Left - w - B), yb = std::max(r.Top, Height() - h - B);
        switch (bgPosition_) {
        case TBackGroundPosition::bpTopLeft: c->Draw(r.Left, r.Top, background_.get()); break;
        case TBackGroundPosition::bpTopRight: c->Draw(xr, r.Top, background_.get()); break;
        case TBackGroundPosition::bpBottomLeft: c->Draw(r.Left, yb, background_.get()); break;
        case TBackGroundPosition::bpBottomRight: c->Draw(xr, yb, background_.get()); break;
        case TBackGroundPosition::bpTiled:
            for (int y = r.Top; h > 0 && y < Height(); y += h)
                for (int x = r.Left; w > 0 && x < Width(); x += w) c->Draw(x, y, background_.get());
            break;
        case TBackGroundPosition::bpStretched: c->StretchDraw(r, background_.get()); break;
        case TBackGroundPosition::bpCenter: c->Draw(xr / 2, yb / 2, background_.get()); break;
        }
    }
    // The body text.
    TRect tr = r;
    InflateRect(tr, -bw, -bw);
    tr.Left += indent_;
    tr.Top += topIndent_;
    c->Font().Assign(*Font());
    if (textVAlign_ != tvaTop) {
        int th = 0;
        DrawHTML(c, Text(), tr, 0, 0, hoverLink_, true, false, ellipsis_, false, nullptr, nullptr, nullptr, nullptr, &th);
        if (caption_->Visible()) tr.Top += caption_->Height() - 2 * BevelWidth();
        if (tr.Height() > th) {
            if (textVAlign_ == tvaCenter) tr.Top += (tr.Bottom - tr.Top - th) / 2;
            else tr.Top = tr.Bottom - th;
        }
    }
    DrawHTML(c, Text(), tr, 0, 0, hoverLink_, false, false, ellipsis_, false, nullptr, nullptr, nullptr, nullptr, nullptr);
    RestoreDC(c->Handle(), saved);
    if (caption_->Visible()) CaptionBar(c);
    // The size grip.
    if (!collaps_ && canSize_) {
        TRect g = ClientRect();
        if (BevelOuter() != bvNone || BevelInner() != bvNone) InflateRect(g, -2 * BevelWidth(), -2 * BevelWidth());
        if (borderShadow_) g.Right -= 4, g.Bottom -= 4;
        const int X = g.Right, Y = g.Bottom;
        c->Pen().SetColor(TColor(0x808080));
        c->Pen().SetWidth(2);
        c->MoveTo(X, Y - 11), c->LineTo(X - 11, Y);
        c->MoveTo(X, Y - 6), c->LineTo(X - 7, Y);
        c->MoveTo(X, Y - 3), c->LineTo(X - 3, Y);
        c->Pen().SetColor(clWhite);
        c->Pen().SetWidth(1);
        c->MoveTo(X, Y - 12), c->LineTo(X - 12, Y);
        c->MoveTo(X, Y - 8), c->LineTo(X - 8, Y);
        c->MoveTo(X, Y - 4), c->LineTo(X - 4, Y);
    }
    if (buffer) Canvas()->Draw(0, 0, buffer.get());
}

void TCustomExPanel::Resize()
{
    Invalidate();
    TCustomPanel::Resize();
    DoAutoSize();
    if (shade_->Width() != Width()) ShadeHeader();
}

void TCustomExPanel::SetBounds(int l, int t, int w, int h)
{
    const bool heightChanged = h != Height();
    TCustomPanel::SetBounds(l, t, w, h);
    if (heightChanged && !collaps_ && !collapseBusy_) fullHeight_ = Height();
}

void TCustomExPanel::AlignControls(TControl* aControl, TRect& rect)
{
    if (caption_->Visible()) rect.Top = std::max(rect.Top, caption_->Height());
    TCustomPanel::AlignControls(aControl, rect);
}

// ---------------------------------------------------------------- anchors

std::string TCustomExPanel::IsAnchor(int x, int y, TRect& anchorRect)
{
    std::string anchor;
    TRect r = ClientRect();
    if (BevelOuter() != bvNone || BevelInner() != bvNone) InflateRect(r, -BevelWidth(), -BevelWidth());
    if (borderShadow_) r.Right -= 2, r.Bottom -= 2;
    InflateRect(r, -BorderWidth(), -BorderWidth());
    OffsetRect(r, indent_, topIndent_);
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    int h = 0;
    if (textVAlign_ != tvaTop)
        DrawHTML(c, Text(), r, 0, 0, -1, true, false, false, true, nullptr, nullptr, nullptr, nullptr, &h);
    auto align = [&] {
        if (textVAlign_ == tvaTop || h >= r.Height()) return;
        if (textVAlign_ == tvaCenter) r.Top += (r.Bottom - r.Top - h) / 2;
        else r.Top = r.Bottom - h;
    };
    int link = -1;
    TRect linkRect{};
    bool hit;
    if (caption_->Visible() && y < caption_->Height()) {
        r.Bottom = r.Top + caption_->Height();
        align();
        c->Font().Assign(caption_->Font());
        r.Left += caption_->Indent();
        r.Top += caption_->TopIndent();
        hit = DrawHTML(c, caption_->Text(), r, x, y, -1, true, false, false, true, &anchor, &link, &linkRect, nullptr, nullptr);
        captionHoverLink_ = link;
    } else {
        if (caption_->Visible()) r.Top += caption_->Height();
        align();
        c->Font().Assign(*Font());
        hit = DrawHTML(c, Text(), r, x, y, -1, true, false, false, true, &anchor, &link, &linkRect, nullptr, nullptr);
        hoverLink_ = link;
    }
    if (!hit) anchor.clear();
    else anchorRect = linkRect;
    return anchor;
}

void TCustomExPanel::HoverRepaint(const TRect& r)
{
    if (Hover) InvalidateRect(r);
}

void TCustomExPanel::EnterAnchor(const std::string& anchor, const TRect& r)
{
    if (Cursor() == savedCursor_ || anchor != lastAnchor_) {
        if (AnchorHint && Application) Application->CancelHint();
        SetCursor(crHandPoint);
        if (OnAnchorEnter) OnAnchorEnter(this, anchor);
        HoverRepaint(r);
    }
    lastAnchor_ = anchor;
}

void TCustomExPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomPanel::MouseMove(Shift, X, Y);
    if (drag_ != dragNone) {
        const TPoint p = ClientToScreen(Point(X, Y));
        const int dx = p.X - dragStart_.X, dy = p.Y - dragStart_.Y;
        TRect b = dragBounds_;
        if (drag_ == dragMove) {
            OffsetRect(b, FixedLeft ? 0 : dx, FixedTop ? 0 : dy);
        } else {
            if (!FixedWidth) b.Right += dx;
            if (!FixedHeight) b.Bottom += dy;
        }
        SetBounds(b.Left, b.Top, b.Width(), b.Height());
        return;
    }
    TRect ar{};
    const std::string anchor = IsAnchor(X, Y, ar);
    moveTracking_ = false;
    if (caption_->Visible() && Y < caption_->Height()) {
        if (hoverLink_ != -1) {
            HoverRepaint(anchorRect_);
            hoverLink_ = previousHoverLink_ = -1;
        }
        if (!anchor.empty()) {
            if (anchor != lastAnchor_ || ar != captionAnchorRect_ || captionHoverLink_ == -1) {
                if (!lastAnchor_.empty()) HoverRepaint(captionAnchorRect_);
                HoverRepaint(ar);
            }
            EnterAnchor(anchor, ar);
            captionAnchorRect_ = ar;
        } else if (Cursor() == crHandPoint) {
            SetCursor(savedCursor_);
            if (OnAnchorExit) OnAnchorExit(this, anchor);
            captionHoverLink_ = -1;
            HoverRepaint(captionAnchorRect_);
        }
        return;
    }
    if (captionHoverLink_ != -1) {
        captionHoverLink_ = -1;
        HoverRepaint(captionAnchorRect_);
    }
    if (!anchor.empty()) {
        if (anchor != lastAnchor_ || ar != anchorRect_ || hoverLink_ == -1 || hoverLink_ != previousHoverLink_) {
            TRect old = anchorRect_;
            InflateRect(old, 1, 1);
            HoverRepaint(old);
            HoverRepaint(ar);
        }
        EnterAnchor(anchor, ar);
        anchorRect_ = ar;
        previousHoverLink_ = hoverLink_;
    } else if (Cursor() == crHandPoint) {
        SetCursor(savedCursor_);
        if (OnAnchorExit) OnAnchorExit(this, anchor);
        TRect old = anchorRect_;
        InflateRect(old, 1, 1);
        HoverRepaint(old);
        hoverLink_ = previousHoverLink_ = -1;
    }
}

void TCustomExPanel::CMMouseLeave(TMessage& m)
{
    if (hoverLink_ >= 0) {
        hoverLink_ = -1;
        TRect old = anchorRect_;
        InflateRect(old, 1, 1);
        HoverRepaint(old);
    }
    if (captionHoverLink_ >= 0) {
        captionHoverLink_ = -1;
        TRect old = captionAnchorRect_;
        InflateRect(old, 1, 1);
        HoverRepaint(old);
    }
    TCustomPanel::CMMouseLeave(m);
}

void TCustomExPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomPanel::MouseDown(Button, Shift, X, Y);
    lastDown_ = Point(X, Y);
    if (Shift & ssDouble) return;
    if (CaptionButtonsClick(X, Y)) return;  // the panel is gone
    TRect ar{};
    const std::string anchor = IsAnchor(X, Y, ar);
    if (!anchor.empty()) {
        if (IsShellAnchor(anchor)) ShellExecute(nullptr, "open", anchor, "", "", SW_NORMAL);
        else if (OnAnchorClick) OnAnchorClick(this, anchor);
        return;
    }
    if (Button != mbLeft) return;
    // The caption bar drags the panel; the grip at the bottom right sizes it.
    const int bs = ButtonSize();
    TRect a = ClientRect();
    const int buttons = (caption_->CloseButton() ? 1 : 0) + (caption_->MinMaxButton() ? 1 : 0);
    if (caption_->ButtonPosition == cbpRight) a.Right -= bs * buttons;
    else a.Left += bs * buttons;
    const int sb = GetSystemMetrics(SM_CYHSCROLL);
    if (caption_->Visible() && Y < caption_->Height() && X > a.Left && X < a.Right && CanMove) {
        drag_ = dragMove;
        moveTracking_ = true;
        if (ShowMoveCursor) SetCursor(crSizeAll);
    } else if (Y >= Height() - sb && X >= Width() - sb && canSize_ && !collaps_) {
        drag_ = dragSize;
    } else {
        return;
    }
    BringToFront();
    dragStart_ = ClientToScreen(Point(X, Y));
    dragBounds_ = BoundsRect();
    SetMouseCapture(true);
}

void TCustomExPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomPanel::MouseUp(Button, Shift, X, Y);
    if (drag_ == dragNone) return;
    drag_ = dragNone;
    SetMouseCapture(false);
    if (ShowMoveCursor && moveTracking_) SetCursor(savedCursor_);
    if (OnEndMoveSize) OnEndMoveSize(this);
    Synchronize();
}

void TCustomExPanel::CMHintShow(TCMHintShow& m)
{
    THintInfo* info = HintInfoOf(m);
    m.Result = 0;
    if (!info || !AnchorHint) return;
    TRect ar{};
    std::string anchor = IsAnchor(info->CursorPos.X, info->CursorPos.Y, ar);
    if (anchor.empty()) return;
    if (OnAnchorHint) OnAnchorHint(this, anchor);
    const TPoint p = ClientToScreen(info->CursorPos);
    info->HintPos = Point(p.X + 10, p.Y - 10);
    info->HintStr = anchor;
}

// ---------------------------------------------------------------- collapse

void TCustomExPanel::SetCollaps(bool value)
{
    if (collaps_ && !value && OnMaximize) OnMaximize(this);
    if (value && !collaps_ && OnMinimize) OnMinimize(this);
    if (collapseBusy_) return;
    if (value != collaps_) {
        collapseBusy_ = true;
        collaps_ = value;
        if (!Loading) {
            const int ch = caption_->Height();
            auto pause = [this] {
                if (Application) Application->ProcessMessages();
                Synchronize();
                std::this_thread::sleep_for(std::chrono::milliseconds(std::max(0, CollapsDelay)));
            };
            if (value) {
                fullHeight_ = Height();
                if (AutoHideChildren) ShowHideChildren(false);
                savedColor_ = Color();
                if (CollapsSteps > 0) {
                    SetColor(CollapsColor);
                    const int step = (Height() - ch) / CollapsSteps;
                    for (int i = 0; i < CollapsSteps; ++i) {
                        SetHeight(Height() - step);
                        pause();
                    }
                }
                SetHeight(ch);
            } else {
                if (CollapsSteps > 0) {
                    SetColor(savedColor_);
                    const int step = (fullHeight_ - ch) / CollapsSteps;
                    for (int i = 0; i < CollapsSteps; ++i) {
                        SetHeight(Height() + step);
                        pause();
                    }
                }
                SetHeight(fullHeight_);
                if (AutoHideChildren) ShowHideChildren(true);
            }
            Synchronize();
        }
        collapseBusy_ = false;
    }
    StateChange();
    if (OnEndCollapsExpand) OnEndCollapsExpand(this);
}

void TCustomExPanel::ShowHideChildren(bool visible)
{
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(visible);
}

void TCustomExPanel::Synchronize()
{
    if (auto* group = dynamic_cast<TExPanelGroup*>(Parent())) group->ChildPanelChanged(this);
}

std::string TCustomExPanel::GetRawText() const { return html::HTMLStrip(Text(), html::HTMLVariant::Panel); }

// ---------------------------------------------------------------- persistence

void TCustomExPanel::SavePosition()
{
    const TPanelPosition& p = *position_;
    if (p.Key.empty() || p.Section.empty()) return;
    if (p.Location == clRegistry) {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(RegistryIniPath()).parent_path(), ec);
    }
    base::TIniFile ini(p.Location == clInifile ? p.Key : RegistryIniPath());
    const std::string section = p.Location == clInifile ? p.Section : p.Key + "\\" + p.Section;
    ini.BeginUpdate();
    ini.WriteInteger(section, "Top", Top());
    ini.WriteInteger(section, "Left", Left());
    ini.WriteInteger(section, "Height", Height());
    ini.WriteInteger(section, "FullHeight", fullHeight_);
    ini.WriteInteger(section, "Width", Width());
    ini.WriteInteger(section, "Collaps", collaps_ ? 1 : 0);
    ini.EndUpdate();
}

void TCustomExPanel::LoadPosition()
{
    const TPanelPosition& p = *position_;
    if (p.Key.empty() || p.Section.empty()) return;
    base::TIniFile ini(p.Location == clInifile ? p.Key : RegistryIniPath());
    const std::string section = p.Location == clInifile ? p.Section : p.Key + "\\" + p.Section;
    SetTop(int(ini.ReadInteger(section, "Top", Top())));
    SetLeft(int(ini.ReadInteger(section, "Left", Left())));
    SetHeightEx(int(ini.ReadInteger(section, "Height", Height())));
    SetWidth(int(ini.ReadInteger(section, "Width", Width())));
    SetCollaps(ini.ReadInteger(section, "Collaps", 0) == 1);
    fullHeight_ = int(ini.ReadInteger(section, "FullHeight", Height()));
}

void TCustomExPanel::Loaded()
{
    TCustomPanel::Loaded();
    Loading = false;
    if (position_->Save) LoadPosition();
    savedCursor_ = Cursor();
    savedColor_ = Color();
    if (styler_) AssignStyle(styler_->Settings());
}

void TCustomExPanel::DoAutoSize()
{
    if (!autoSize_->Enabled()) return;
    const int W = autoSize_->Width ? 65535 : Width() - 2 * BevelWidth();
    const int H = autoSize_->Height ? 65535 : Height() - 2 * BevelWidth();
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    int tw = 0, th = 0;
    DrawHTML(c, Text(), Rect(0, 0, W, H), 0, 0, hoverLink_, false, true, false, false, nullptr, nullptr, nullptr, &tw, &th);
    if (autoSize_->Width) SetWidth(2 * BevelWidth() + tw + indent_);
    if (autoSize_->Height)
        SetHeightEx(th + 2 * BevelWidth() + topIndent_ + (caption_->Visible() ? caption_->Height() : 0));
    Synchronize();
}

// ---------------------------------------------------------------- copying

void TCustomExPanel::Assign(const TPersistent& source)
{
    auto* s = dynamic_cast<const TCustomExPanel*>(&source);
    if (!s) return TCustomPanel::Assign(source);
    auto* src = const_cast<TCustomExPanel*>(s);
    AnchorHint = s->AnchorHint;
    AutoHideChildren = s->AutoHideChildren;
    background_->Assign(*s->background_);
    bgPosition_ = s->bgPosition_;
    SetBevelInner(src->BevelInner());
    SetBevelOuter(src->BevelOuter());
    SetBevelWidth(src->BevelWidth());
    borderColor_ = s->borderColor_;
    borderShadow_ = s->borderShadow_;
    SetBorderStyle(src->BorderStyle());
    CanMove = s->CanMove;
    canSize_ = s->canSize_;
    caption_->Assign(*s->caption_);
    CollapsColor = s->CollapsColor;
    CollapsDelay = s->CollapsDelay;
    CollapsSteps = s->CollapsSteps;
    SetColor(src->Color());
    colorTo_ = s->colorTo_;
    SetCursor(src->Cursor());
    SetEnabled(src->Enabled());
    Font()->Assign(*src->Font());
    FixedTop = s->FixedTop, FixedLeft = s->FixedLeft, FixedHeight = s->FixedHeight, FixedWidth = s->FixedWidth;
    FreeOnClose = s->FreeOnClose;
    SetHeightEx(src->Height());
    SetHint(src->Hint());
    Hover = s->Hover;
    HoverColor = s->HoverColor;
    HoverFontColor = s->HoverFontColor;
    SetImages(s->images_);
    SetParentColor(src->ParentColor());
    SetParentFont(src->ParentFont());
    SetParentShowHint(src->ParentShowHint());
    PictureContainer = s->PictureContainer;
    position_->Assign(*s->position_);
    shadowColor_ = s->shadowColor_;
    shadowOffset_ = s->shadowOffset_;
    SetShowHint(src->ShowHint());
    ShowMoveCursor = s->ShowMoveCursor;
    SetTabStop(src->TabStop());
    Tag = s->Tag;
    SetText(src->Text());
    textVAlign_ = s->textVAlign_;
    urlColor_ = s->urlColor_;
    SetVisible(src->Visible());
    Invalidate();
}

void TCustomExPanel::AssignStyle(TExPanelSettings& st)
{
    AnchorHint = st.AnchorHint;
    AutoHideChildren = st.AutoHideChildren;
    SetBevelInner(st.BevelInner);
    SetBevelOuter(st.BevelOuter);
    SetBevelWidth(st.BevelWidth);
    borderColor_ = st.BorderColor;
    borderShadow_ = st.BorderShadow;
    SetBorderStyle(st.BorderStyle);
    SetBorderWidth(st.BorderWidth);
    CanMove = st.CanMove;
    canSize_ = st.CanSize;
    caption_->Assign(st.Caption());
    SetCollaps(st.Collaps);
    CollapsColor = st.CollapsColor;
    CollapsDelay = st.CollapsDelay;
    CollapsSteps = st.CollapsSteps;
    SetColor(st.Color);
    colorTo_ = st.ColorTo;
    SetCursor(st.Cursor);
    Font()->Assign(st.Font());
    FixedTop = st.FixedTop, FixedLeft = st.FixedLeft, FixedHeight = st.FixedHeight, FixedWidth = st.FixedWidth;
    Hover = st.Hover;
    HoverColor = st.HoverColor;
    HoverFontColor = st.HoverFontColor;
    indent_ = st.Indent;
    shadowColor_ = st.ShadowColor;
    shadowOffset_ = st.ShadowOffset;
    SetShowHint(st.ShowHint);
    ShowMoveCursor = st.ShowMoveCursor;
    textVAlign_ = st.TextVAlign;
    topIndent_ = st.TopIndent;
    urlColor_ = st.URLColor;
    Invalidate();
}

void TCustomExPanel::AssignSettings(TExPanelSettings& st)
{
    AssignStyle(st);
    SetHeightEx(st.Height);
    SetWidth(st.Width);
    SetHint(st.Hint);
}

}  // namespace frame

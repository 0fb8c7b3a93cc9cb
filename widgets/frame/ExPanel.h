#pragma once
// The panel: a container with a solid or gradient background, a border with a shadow,
// bevels, a background picture, a mini-HTML body text with anchors and an optional caption
// bar (shaded, with close and collapse buttons); it collapses to its caption bar, moves and
// sizes with the mouse, keeps its place in an INI store and sizes itself to its text. The
// panel group arranges panels; settings bundle a look; the styler applies presets.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/ExtCtrls.h"
#include "widgets/frame/ExImage.h"

namespace platform {
class TImageList;
class TScrollBar;
}  // namespace platform

namespace html {
class THTMLPictureCache;
class TPictureContainer;
}  // namespace html

namespace frame {

using platform::TColor;
using platform::TRect;

class TCustomExPanel;
class TExPanelStyler;
class TExPanelSettings;

// Scoped: the menus' picture positions share some names.
enum class TBackGroundPosition { bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTiled, bpStretched, bpCenter };
enum TTextVAlignment { tvaTop, tvaCenter, tvaBottom };
enum TCaptionShape { csRectangle, csRounded, csSemiRounded };
enum TCaptionButtonPosition { cbpRight, cbpLeft };
enum TShadeType {
    stNormal, stNoise, stDiagShade, stHShade, stVShade, stHBump, stVBump, stSoftBump, stHardBump, stLMetal, stRMetal,
    stIRadial, stORadial, stHShadeInv, stVShadeInv, stXPCaption, stBitmap, stBitmapRStretch, stBitmapLStretch
};
enum TPanelPositionLocation { clRegistry, clInifile };

using TAnchorEvent = std::function<void(platform::TObject* Sender, const std::string& Anchor)>;
using TAnchorHintEvent = std::function<void(platform::TObject* Sender, std::string& Anchor)>;

namespace expanel {
// The panel's colour routines.
TColor BlendColor(TColor a, TColor b, int percent);
void DrawGradient(platform::TCanvas* canvas, TColor from, TColor to, bool horizontal, TRect r, int steps);
}  // namespace expanel

// The caption bar's settings, with a change, a shade and a state notice.
class TPanelCaption : public platform::TPersistent {
public:
    TPanelCaption();
    ~TPanelCaption() override;
    void Assign(const platform::TPersistent& source) override;

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    int Height() const { return height_; }
    void SetHeight(int v);
    const std::string& Text() const { return text_; }
    void SetText(const std::string& v);
    platform::TFont& Font() { return *font_; }
    void SetFont(const platform::TFont& f);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor c);
    TColor CloseColor() const { return closeColor_; }
    void SetCloseColor(TColor c);
    bool CloseButton() const { return closeButton_; }
    void SetCloseButton(bool v);
    TColor CloseButtonColor() const { return closeButtonColor_; }
    void SetCloseButtonColor(TColor c);
    bool MinMaxButton() const { return minMaxButton_; }
    void SetMinMaxButton(bool v);
    TColor MinMaxButtonColor() const { return minMaxButtonColor_; }
    void SetMinMaxButtonColor(TColor c);
    platform::TBitmap* CloseMinGlyph() const { return closeMin_.get(); }
    platform::TBitmap* CloseMaxGlyph() const { return closeMax_.get(); }
    platform::TBitmap* MinGlyph() const { return min_.get(); }
    platform::TBitmap* MaxGlyph() const { return max_.get(); }
    void SetCloseMinGlyph(platform::TBitmap* b);
    void SetCloseMaxGlyph(platform::TBitmap* b);
    void SetMinGlyph(platform::TBitmap* b);  // no notice
    void SetMaxGlyph(platform::TBitmap* b);  // no notice
    TCaptionButtonPosition ButtonPosition = cbpRight;
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    TCaptionShape Shape() const { return shape_; }
    void SetShape(TCaptionShape v);
    TShadeType ShadeType() const { return shadeType_; }
    void SetShadeType(TShadeType v);
    int ShadeLight() const { return shadeLight_; }
    void SetShadeLight(int v);  // at least 200
    int ShadeGrain() const { return shadeGrain_; }
    void SetShadeGrain(int v);
    platform::TBitmap* Background() const { return background_.get(); }
    void SetBackground(platform::TBitmap* b);
    int Indent() const { return indent_; }
    void SetIndent(int v);
    int TopIndent() const { return topIndent_; }
    void SetTopIndent(int v);

    platform::TNotifyEvent OnChange, OnShadeChange, OnStateChange;

private:
    void Changed();
    void ShadeChanged();
    bool visible_ = false;
    int height_ = 20;
    std::string text_;
    std::unique_ptr<platform::TFont> font_;
    TColor color_ = platform::clHighlight, colorTo_ = platform::clNone, closeColor_ = platform::clBtnFace;
    bool closeButton_ = false, minMaxButton_ = false, flat_ = false;
    TColor closeButtonColor_ = platform::clWhite, minMaxButtonColor_ = platform::clWhite;
    std::unique_ptr<platform::TBitmap> closeMin_, closeMax_, min_, max_, background_;
    TCaptionShape shape_ = csRectangle;
    TShadeType shadeType_ = stNormal;
    int shadeLight_ = 200, shadeGrain_ = 32, indent_ = 0, topIndent_ = 0;
};

class TPanelPosition : public platform::TPersistent {
public:
    void Assign(const platform::TPersistent& source) override;
    bool Save = false;
    std::string Key, Section;
    TPanelPositionLocation Location = clRegistry;
};

class TAutoSize : public platform::TPersistent {
public:
    explicit TAutoSize(TCustomExPanel* owner) : owner_(owner) {}
    void Assign(const platform::TPersistent& source) override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);  // on: the owner sizes itself at once
    bool Height = true, Width = true;

private:
    TCustomExPanel* owner_;
    bool enabled_ = false;
};

// Where the registry's panel positions are kept: an INI file under the user's config folder.
std::string RegistryIniPath();

class TCustomExPanel : public platform::TCustomPanel {
public:
    explicit TCustomExPanel(platform::TComponent* AOwner);
    ~TCustomExPanel() override;

    // The body text (mini-HTML); the window text.
    void SetText(const std::string& s) override;
    TExImage& Background() { return *background_; }
    void SetBackground(const TExImage& image);
    TBackGroundPosition BackgroundPosition() const { return bgPosition_; }
    void SetBackgroundPosition(TBackGroundPosition p);
    TPanelCaption& Caption() { return *caption_; }
    void SetCaption(const TPanelCaption& c);
    platform::TImageList* Images() const { return images_; }
    void SetImages(platform::TImageList* images);
    html::TPictureContainer* PictureContainer = nullptr;
    TColor URLColor() const { return urlColor_; }
    void SetURLColor(TColor c);
    bool Hover = false;
    TColor HoverColor = platform::clNone, HoverFontColor = platform::clNone;
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor c);
    int ShadowOffset() const { return shadowOffset_; }
    void SetShadowOffset(int v);
    bool AnchorHint = false;
    int LineSpacing() const { return lineSpacing_; }
    void SetLineSpacing(int v);
    bool Ellipsis() const { return ellipsis_; }
    void SetEllipsis(bool v);
    int Indent() const { return indent_; }
    void SetIndent(int v);
    int TopIndent() const { return topIndent_; }
    void SetTopIndent(int v);
    TTextVAlignment TextVAlign() const { return textVAlign_; }
    void SetTextVAlign(TTextVAlignment v);
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor c);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor c);
    int ExBorderWidth() const { return BorderWidth(); }
    bool BorderShadow() const { return borderShadow_; }
    void SetBorderShadow(bool v);
    bool Buffered = true;
    bool Collaps() const { return collaps_; }
    void SetCollaps(bool value);
    TColor CollapsColor = TColor(0x808080);
    int CollapsDelay = 20;
    int CollapsSteps = 0;
    bool AutoHideChildren = true;
    bool CanMove = false;
    bool CanSize() const { return canSize_; }
    void SetCanSize(bool v);
    bool ShowMoveCursor = false;
    bool FixedLeft = false, FixedTop = false, FixedWidth = false, FixedHeight = false;
    bool FreeOnClose = false;
    void SetHeightEx(int h) { SetHeight(h); }
    int FullHeight() const { return fullHeight_; }
    void SetFullHeight(int h) { fullHeight_ = h; }
    TAutoSize& AutoSize() { return *autoSize_; }
    TPanelPosition& Position() { return *position_; }
    TExPanelStyler* Styler() const { return styler_; }
    void SetStyler(TExPanelStyler* s);
    std::string Version() const { return "1.5.0.0"; }
    void SetVersion(const std::string&) {}
    static unsigned GetVersionNr() { return 0x01050000u; }
    int Index() const { return index_; }
    void SetIndex(int i) { index_ = i; }
    bool Loading = false;  // while read from a form

    platform::TNotifyEvent OnCaptionClick, OnCaptionDBlClick, OnClose, OnMinimize, OnMaximize, OnEndCollapsExpand,
        OnEndMoveSize;
    TAnchorEvent OnAnchorClick, OnAnchorEnter, OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;

    void SavePosition();
    void LoadPosition();
    void DoAutoSize();
    // The anchor of the body or caption text under a point; its rectangle in anchorRect.
    std::string IsAnchor(int x, int y, TRect& anchorRect);
    void Synchronize();
    bool DoVisualStyles() const { return false; }  // no visual styles apply to the panel here
    void ShowHideChildren(bool visible);
    std::string GetRawText() const;
    void AssignStyle(TExPanelSettings& settings);
    void AssignSettings(TExPanelSettings& settings);
    void Assign(const platform::TPersistent& source) override;
    void DrawCaptionBkg(platform::TCanvas* canvas, TRect r);
    virtual void ShadeHeader();
    virtual void StateChange() {}
    platform::TBitmap* ShadeBitmap() const { return shade_.get(); }
    int HoverLink() const { return hoverLink_; }

    void Loaded() override;
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;
    void SetBounds(int l, int t, int w, int h) override;
    void AlignControls(platform::TControl* aControl, TRect& rect) override;
    void Paint() override;
    void Resize() override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void CMMouseLeave(platform::TMessage& m) override;
    void CMHintShow(platform::TCMHintShow& m) override;
    void WMEraseBkgnd(platform::TWMEraseBkgnd& m) override { m.Result = 1; }
    void DestroyWnd() override;

protected:
    // The text through the panel's renderer; returns the hit flag.
    bool DrawHTML(platform::TCanvas* canvas, const std::string& text, TRect r, int hitX, int hitY, int hoverLink,
                  bool checkOnly, bool measureOnly, bool ellipsis, bool hitTest, std::string* anchor, int* link,
                  TRect* linkRect, int* width, int* height);

private:
    void CaptionBar(platform::TCanvas* canvas);
    void HoverRepaint(const TRect& r);
    void EnterAnchor(const std::string& anchor, const TRect& r);
    bool CaptionButtonsClick(int x, int y);  // true when the panel was freed
    int ButtonSize() const;

    std::unique_ptr<TExImage> background_;
    std::unique_ptr<TPanelCaption> caption_;
    std::unique_ptr<TPanelPosition> position_;
    std::unique_ptr<TAutoSize> autoSize_;
    std::unique_ptr<html::THTMLPictureCache> pictureCache_;
    std::unique_ptr<platform::TBitmap> shade_;
    TBackGroundPosition bgPosition_ = TBackGroundPosition::bpTopLeft;
    platform::TImageList* images_ = nullptr;
    TColor urlColor_ = TColor(0xFF0000), shadowColor_ = TColor(0x808080), colorTo_ = platform::clNone;
    TColor borderColor_ = TColor(0);
    int shadowOffset_ = 2, lineSpacing_ = 0, indent_ = 0, topIndent_ = 0;
    bool ellipsis_ = false, borderShadow_ = false, collaps_ = false, canSize_ = false;
    TTextVAlignment textVAlign_ = tvaTop;
    int fullHeight_ = 0;
    TColor savedColor_ = platform::clBtnFace;
    int hoverLink_ = -1, captionHoverLink_ = -1, previousHoverLink_ = -1;
    std::string lastAnchor_;
    TRect anchorRect_{}, captionAnchorRect_{};
    bool collapseBusy_ = false, moveTracking_ = false;
    platform::TCursor savedCursor_ = platform::crDefault;
    TExPanelStyler* styler_ = nullptr;
    int index_ = 0;
    // Moving and sizing with the mouse.
    enum { dragNone, dragMove, dragSize } drag_ = dragNone;
    platform::TPoint dragStart_{}, lastDown_{};
    TRect dragBounds_{};
};

class TExPanel : public TCustomExPanel {
public:
    using TCustomExPanel::TCustomExPanel;
};

// A bundle of panel look settings.
class TExPanelSettings : public platform::TPersistent {
public:
    TExPanelSettings();
    ~TExPanelSettings() override;
    void Assign(const platform::TPersistent& source) override;  // copies nothing
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    void Changed();
    platform::TNotifyEvent OnChange;

    bool AnchorHint = false, AutoHideChildren = false;
    platform::TPanelBevel BevelInner = platform::bvNone, BevelOuter = platform::bvNone;
    int BevelWidth = 1;
    TColor BorderColor = TColor(0);
    bool BorderShadow = false;
    platform::TBorderStyle BorderStyle = platform::bsSingle;
    int BorderWidth = 0;
    bool CanMove = false, CanSize = false;
    TPanelCaption& Caption() { return *caption_; }
    void SetCaption(const TPanelCaption& c);
    bool Collaps = false;
    TColor CollapsColor = platform::clBtnFace;
    int CollapsDelay = 0, CollapsSteps = 0;
    TColor Color = platform::clBtnFace, ColorTo = platform::clNone;
    platform::TCursor Cursor = platform::crDefault;
    platform::TFont& Font() { return *font_; }
    void SetFont(const platform::TFont& f);
    bool FixedTop = false, FixedLeft = false, FixedHeight = false, FixedWidth = false;
    int Height = 120;
    std::string Hint, Text;
    bool Hover = false;
    TColor HoverColor = TColor(0), HoverFontColor = TColor(0);
    int Indent = 0, TopIndent = 0;
    TPanelPosition* Position = nullptr;
    TColor ShadowColor = TColor(0);
    int ShadowOffset = 0;
    bool ShowHint = false, ShowMoveCursor = false;
    TTextVAlignment TextVAlign = tvaTop;
    TColor URLColor = TColor(0xFF0000);
    int Width = 0;

private:
    std::unique_ptr<platform::TFont> font_;
    std::unique_ptr<TPanelCaption> caption_;
    int updateCount_ = 0;
};

enum TGroupStyle { gsVertical, gsHorizontal };

class TExPanelGroup : public TExPanel {
public:
    explicit TExPanelGroup(platform::TComponent* AOwner);
    ~TExPanelGroup() override;
    TGroupStyle GroupStyle() const { return groupStyle_; }
    void SetGroupStyle(TGroupStyle s);
    int Columns() const { return columns_; }
    void SetColumns(int v);
    int HorzPadding() const { return horzPadding_; }
    void SetHorzPadding(int v);
    int VertPadding() const { return vertPadding_; }
    void SetVertPadding(int v);
    TExPanelSettings& DefaultPanel() { return *defaultPanel_; }
    void SetDefaultPanel(const TExPanelSettings& s);
    platform::TScrollBar* ScrollBar() const { return scrollBar_; }

    void ArrangeControls();
    void ChildPanelChanged(TCustomExPanel* panel);
    void UpdateScrollbar();
    int PanelHeights() const;
    int PanelWidths() const;
    void CloseAllPanels();
    void OpenAllPanels();
    void LoadPanelPositions();
    void SavePanelPositions();
    void UpdateGroup();
    void Clear();
    void InitPanels();
    TCustomExPanel* AddPanel();
    TCustomExPanel* InsertPanel(int index);
    void RemovePanel(int index);
    void MovePanel(int from, int to);
    TCustomExPanel* Panels(int index) const;
    void SetPanel(int index, TCustomExPanel* panel);
    int PanelCount() const { return int(panels_.size()); }
    void BeginUpdate();
    void EndUpdate();

    void Loaded() override;
    void SetBounds(int l, int t, int w, int h) override;
    void StateChange() override;
    void WMSize(platform::TWMSize& m) override;
    bool DoMouseWheelDown(platform::TShiftState Shift, platform::TPoint MousePos) override;
    bool DoMouseWheelUp(platform::TShiftState Shift, platform::TPoint MousePos) override;
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;

private:
    void ArrangeControlsVert();
    void ArrangeControlsHorz();
    void Renumber();
    std::vector<TCustomExPanel*> ChildPanels() const;
    TGroupStyle groupStyle_ = gsVertical;
    int columns_ = 1, horzPadding_ = 8, vertPadding_ = 8;
    std::unique_ptr<TExPanelSettings> defaultPanel_;
    std::vector<TCustomExPanel*> panels_;
    platform::TScrollBar* scrollBar_ = nullptr;
    int updateCount_ = 0;
    bool arranging_ = false, arrangeByIndex_ = false;
};

enum TExPanelStyle { psXP, psFlat, psMetal, psClassic };

class TExPanelStyler : public platform::TComponent {
public:
    explicit TExPanelStyler(platform::TComponent* AOwner);
    ~TExPanelStyler() override;
    TExPanelSettings& Settings() { return *settings_; }
    void SetSettings(const TExPanelSettings& s);
    TExPanelStyle Style() const { return style_; }
    void SetStyle(TExPanelStyle s);
    std::string Comments;
    bool Loading = false;
    void Changed(platform::TObject* Sender);

private:
    std::unique_ptr<TExPanelSettings> settings_;
    TExPanelStyle style_ = psXP;
};

}  // namespace frame

#include "widgets/edit/EditLabel.h"

#include "platform/controls/StdCtrls.h"

namespace edit {

using namespace platform;

TPoint LabelOrigin(TLabelPosition pos, const TRect& c, int w, int h, int tw, int m)
{
    // Signed halves: a label wider than its control centres over it.
    const int W = c.Width(), H = c.Height(), L = c.Left, T = c.Top;
    switch (pos) {
    case lpLeftTop: return {L - tw - m, T};
    case lpLeftCenter: return {L - tw - m, T + (H - h) / 2};
    case lpLeftBottom: return {L - tw - m, T + H - h};
    case lpTopLeft: return {L, T - h - m};
    case lpBottomLeft: return {L, T + H + m};
    case lpLeftTopLeft: return {L - m, T};
    case lpLeftCenterLeft: return {L - m, T + (H - h) / 2};
    case lpLeftBottomLeft: return {L - m, T + H - h};
    case lpTopCenter: return {L + (W - w) / 2, T - h - m};
    case lpBottomCenter: return {L + (W - w) / 2, T + H + m};
    }
    return {L, T};
}

TAttachedLabel::TAttachedLabel(TWinControl* control) : control_(control), font_(std::make_unique<TFont>())
{
    font_->OnChange = [this](TObject*) { Place(); };
}

TAttachedLabel::~TAttachedLabel() = default;

std::string TAttachedLabel::Caption() const { return label_ ? label_->Caption() : std::string(); }

void TAttachedLabel::SetCaption(const std::string& s)
{
    if (!label_) {
        label_ = new TLabel(control_);
        label_->Font()->Assign(*font_);
        label_->SetParentFont(control_->ParentFont());
        label_->SetFocusControl(control_);
        label_->OnClick = [this](TObject*) {
            if (OnClick) OnClick(control_);
        };
        label_->OnDblClick = [this](TObject*) {
            if (OnDblClick) OnDblClick(control_);
        };
        label_->SetParent(control_->Parent());
        if (!AlwaysEnabled) label_->SetEnabled(control_->Enabled());
    }
    label_->SetCaption(s);
    Place();
}

void TAttachedLabel::Place()
{
    if (!label_) return;
    label_->SetTransparent(Transparent);
    if (UseLabelFont) label_->Font()->Assign(*font_);
    label_->Canvas()->Font().Assign(*label_->Font());
    const int tw = label_->Canvas()->TextWidth(StripHotkey(label_->Caption()));
    const TPoint p = LabelOrigin(Position, control_->BoundsRect(), label_->Width(), label_->Height(), tw, Margin);
    label_->SetBounds(p.X, p.Y, label_->Width(), label_->Height());
    label_->SetVisible(control_->Visible());
}

void TAttachedLabel::SetParent(TWinControl* parent)
{
    if (label_) label_->SetParent(parent);
}

void TAttachedLabel::SetEnabled(bool e)
{
    if (label_ && !AlwaysEnabled) label_->SetEnabled(e);
}

void TAttachedLabel::SetVisible(bool v)
{
    if (label_) label_->SetVisible(v);
}

}  // namespace edit

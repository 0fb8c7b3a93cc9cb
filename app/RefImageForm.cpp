#include "app/RefImageForm.h"

#include "app/Components.h"
#include "app/ViewGeometry.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Dialogs.h"
#include "platform/graphics/Graphics.h"
#include "widgets/edit/MoneyEdit.h"
#include "widgets/plot/PlotGraph.h"

using namespace platform;

namespace app {

namespace {

edit::TExMoneyEdit* CornerEdit(TComponent* owner, TWinControl* parent, const std::string& name,
                               const std::string& caption)
{
    auto* e = MakeControl<edit::TExMoneyEdit>(owner, parent, name);
    e->SetEditType(edit::etFloat);
    e->SetPrecision(2);
    e->Signed = true;  // corners left of or below the origin
    e->SetSuffix(" m");
    e->SetText("0.00");
    e->SetButtonCaption(caption);
    e->SetWidth(80);
    return e;
}

}  // namespace

TImportRefForm::TImportRefForm(TComponent* AOwner, plot::TPlotGraph* target) : TForm(AOwner), target_(target)
{
    SetName("ImportRefForm");
    SetCaption("Import Reference Graphic");
    Constraints.MinWidth = 440;
    Constraints.MinHeight = 400;
    SetBounds(0, 0, 440, 400);
    Position = poMainFormCenter;

    auto* buttons = MakeControl<TPanel>(this, this, "ButtonPanel");
    buttons->SetBevelOuter(bvNone);
    buttons->SetCaption("");
    buttons->SetAlign(alBottom);
    buttons->SetHeight(40);
    auto button = [this, buttons](const std::string& name, const std::string& caption, int left) {
        auto* b = MakeControl<TButton>(this, buttons, name);
        b->SetCaption(caption);
        b->SetBounds(left, 8, 75, 25);
        return b;
    };
    ImportBtn = button("ImportBtn", "Import", 8);
    UpdateBtn = button("UpdateBtn", "Update", 88);
    CloseBtn = button("CloseBtn", "Close", 168);
    DynamicUpdateCheckBox = MakeControl<TCheckBox>(this, buttons, "DynamicUpdateCheckBox");
    DynamicUpdateCheckBox->SetCaption("Dynamic Update");
    DynamicUpdateCheckBox->SetBounds(256, 12, 120, 17);
    DynamicUpdateCheckBox->SetChecked(true);
    ImportBtn->OnClick = [this](TObject* s) { ImportBtnClick(s); };
    UpdateBtn->OnClick = [this](TObject* s) { UpdateBtnClick(s); };
    CloseBtn->OnClick = [this](TObject* s) { CloseBtnClick(s); };

    ImagePanel = MakeControl<TPanel>(this, this, "ImagePanel");
    ImagePanel->SetCaption("");
    ImagePanel->SetAlign(alClient);
    RefImage = MakeControl<TImage>(this, ImagePanel, "RefImage");
    RefImage->SetAlign(alClient);
    RefImage->SetStretch(true);
    X1Edit = CornerEdit(this, ImagePanel, "X1Edit", "x1");
    X2Edit = CornerEdit(this, ImagePanel, "X2Edit", "x2");
    Y1Edit = CornerEdit(this, ImagePanel, "Y1Edit", "z1");
    Y2Edit = CornerEdit(this, ImagePanel, "Y2Edit", "z2");
    for (auto* e : {X1Edit, X2Edit, Y1Edit, Y2Edit}) e->OnExit = [this](TObject* s) { X1EditExit(s); };
    // The corners sit on the picture's edges: x1 left, x2 right, z1 bottom, z2 top.
    ImagePanel->OnResize = [this](TObject*) {
        const int w = ImagePanel->ClientWidth(), h = ImagePanel->ClientHeight();
        const int ew = X1Edit->Width(), eh = X1Edit->Height();
        X1Edit->SetBounds(2, (h - eh) / 2, ew, eh);
        X2Edit->SetBounds(w - ew - 2, (h - eh) / 2, ew, eh);
        Y1Edit->SetBounds((w - ew) / 2, h - eh - 2, ew, eh);
        Y2Edit->SetBounds((w - ew) / 2, 2, ew, eh);
    };
    ImagePanel->OnResize(ImagePanel);

    OpenPictureDialog = new TOpenPictureDialog(this);
    OpenPictureDialog->SetName("OpenPictureDialog");
}

void TImportRefForm::ImportBtnClick(TObject*)
{
    if (!OpenPictureDialog->Execute()) return;
    // A picture that cannot be read raises; the flag stays as it was.
    RefImage->Picture()->LoadFromFile(OpenPictureDialog->FileName);
    const RefCorners c = ImportCorners(RefImage->Picture()->Width(), RefImage->Picture()->Height());
    X1Edit->SetFloat(c.x1);
    X2Edit->SetFloat(c.x2);
    Y1Edit->SetFloat(c.z1);
    Y2Edit->SetFloat(c.z2);
    loaded_ = true;
}

void TImportRefForm::UpdateBtnClick(TObject*)
{
    if (!loaded_ || !target_) return;
    target_->SetBgImage(OpenPictureDialog->FileName);
    ApplyRect();
    const std::string why = target_->BgImageError();
    if (!why.empty()) ShowMessage("The reference image cannot be shown. " + why);
}

void TImportRefForm::X1EditExit(TObject*)
{
    if (DynamicUpdateCheckBox->Checked() && target_) ApplyRect();
}

void TImportRefForm::ApplyRect()
{
    auto value = [](edit::TExMoneyEdit* e) { return double(float(e->GetValue())); };
    target_->SetBgStyle(plot::bgsImageMap);
    target_->SetBgImageRect(plot::Rect2D(value(X1Edit), value(Y1Edit), value(X2Edit), value(Y2Edit)));
}

void TImportRefForm::CloseBtnClick(TObject*) { Close(); }

}  // namespace app

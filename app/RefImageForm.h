#pragma once
// The window that lays a picture under the body plan: the picture, its four corners in
// world units and the buttons that put it into the view.
#include "platform/forms/Forms.h"

namespace platform {
class TPanel;
class TImage;
class TButton;
class TCheckBox;
class TOpenPictureDialog;
}  // namespace platform
namespace edit {
class TExMoneyEdit;
}
namespace plot {
class TPlotGraph;
}

namespace app {

class TImportRefForm : public platform::TForm {
public:
    // target: the view that shows the picture under its series.
    TImportRefForm(platform::TComponent* AOwner, plot::TPlotGraph* target);

    platform::TPanel* ImagePanel;
    platform::TImage* RefImage;
    edit::TExMoneyEdit *X1Edit, *X2Edit, *Y1Edit, *Y2Edit;
    platform::TButton *ImportBtn, *UpdateBtn, *CloseBtn;
    platform::TCheckBox* DynamicUpdateCheckBox;
    platform::TOpenPictureDialog* OpenPictureDialog;
    bool PictureLoaded() const { return loaded_; }

    void ImportBtnClick(platform::TObject* Sender);
    void UpdateBtnClick(platform::TObject* Sender);
    void X1EditExit(platform::TObject* Sender);
    void CloseBtnClick(platform::TObject* Sender);

private:
    // The view's background rectangle from the four corners, shown as an image map.
    void ApplyRect();

    plot::TPlotGraph* target_;
    bool loaded_ = false;
};

}  // namespace app

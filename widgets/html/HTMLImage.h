#pragma once
// A windowless control that shows one HTML picture at one of seven positions.
#include "platform/controls/Controls.h"
#include "widgets/html/PictureContainer.h"

namespace html {

enum TPicturePosition { bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpCenter, bpTiled, bpStretched };

class THTMLImage : public platform::TGraphicControl {
public:
    explicit THTMLImage(platform::TComponent* AOwner);
    ~THTMLImage() override;

    // Takes the canvas's pixels per inch into the picture.
    void Loaded() override;
    void Paint() override;
    // Paint's drawing on any canvas; W and H are the control's size.
    void PaintTo(platform::TCanvas& canvas);

    THTMLPicture* HTMLPicture() const { return htmlPicture_.get(); }
    void SetHTMLPicture(const THTMLPicture& Value);
    TPicturePosition PicturePosition() const { return picturePosition_; }
    void SetPicturePosition(TPicturePosition Value);

    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadErrorEvent OnDownLoadError;
    TDownloadProgressEvent OnDownLoadProgress;

private:
    std::unique_ptr<THTMLPicture> htmlPicture_;
    TPicturePosition picturePosition_ = bpTopLeft;
};

}  // namespace html

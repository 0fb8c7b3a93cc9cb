#pragma once
// The small borderless form that shows the world coordinates under the cursor and
// the series found there.
#include <memory>
#include <string>

#include "platform/forms/Forms.h"

namespace plot {

class TEGHintForm : public platform::TCustomForm {
public:
    explicit TEGHintForm(platform::TComponent* AOwner);  // 80 x 50, no border
    ~TEGHintForm() override;

    platform::TColor SeriesColor = platform::clBlack;
    std::string HintCaption;
    std::string XText;
    std::string YText;
    bool Found = false;

    // The picture, drawn by Render and copied by Paint; at least the form's size.
    platform::TBitmap* Bitmap() const { return bitmap_.get(); }
    void Render();
    void Paint() override;
    void CreateParams(platform::TCreateParams& Params) override;

private:
    std::unique_ptr<platform::TBitmap> bitmap_;
};

}  // namespace plot

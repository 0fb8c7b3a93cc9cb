#pragma once
// A hint window that draws its text as mini-HTML; the grid can make it the hint window of
// the whole application.
#include "platform/forms/Forms.h"

namespace grid {

class THTMLHintWindow : public platform::THintWindow {
public:
    using platform::THintWindow::THintWindow;
    void CreateParams(platform::TCreateParams& params) override;
    void Paint() override;
    void ActivateHint(platform::TRect ARect, const std::string& AHint) override;
    platform::TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) override;
    // The text's size as last measured by ActivateHint.
    int TextWidth() const { return w_; }
    int TextHeight() const { return h_; }

private:
    void Measure(const std::string& AHint, int Left, int MaxWidth, int& W, int& H);
    int w_ = 0, h_ = 0;
};

// Makes every hint of the application an HTML hint (true) or a plain one (false).
void UseHTMLHintWindows(bool Value);

}  // namespace grid

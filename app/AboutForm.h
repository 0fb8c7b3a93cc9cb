#pragma once
// The about box: the product's name and the maker's web address.
#include "platform/forms/Forms.h"

namespace platform {
class TLabel;
class TButton;
}  // namespace platform
namespace html {
class THtmlLabel;
}

namespace app {

class TAboutForm : public platform::TForm {
public:
    explicit TAboutForm(platform::TComponent* AOwner);

    platform::TLabel* Label1;
    html::THtmlLabel* HtmlLabel1;
    platform::TButton* Button1;

    void Button1Click(platform::TObject* Sender);
};

}  // namespace app

#include "app/AboutForm.h"

#include "base/StringList.h"
#include "platform/controls/StdCtrls.h"
#include "widgets/html/HtmlLabel.h"

using namespace platform;

namespace app {

TAboutForm::TAboutForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("AboutForm");
    SetCaption("About");
    SetBorderStyle(bsToolWindow);
    SetBounds(300, 300, 315, 147);
    SetClientWidth(315);
    SetClientHeight(147);
    Position = poMainFormCenter;

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetBounds(16, 16, 200, 20);
    Label1->Font()->SetStyle(fsBold);
    Label1->Font()->SetSize(10);
    Label1->SetCaption("Korvelo");

    HtmlLabel1 = new html::THtmlLabel(this);
    HtmlLabel1->SetName("HtmlLabel1");
    HtmlLabel1->SetParent(this);
    HtmlLabel1->SetBounds(16, 48, 283, 20);
    base::TStringList text;
    text.Add("<A href=\"www.korvelo.example\">www.korvelo.example</A>");
    HtmlLabel1->SetHTMLText(&text);

    Button1 = new TButton(this);
    Button1->SetName("Button1");
    Button1->SetParent(this);
    Button1->SetBounds(120, 108, 75, 25);
    Button1->SetCaption("Close");
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
}

void TAboutForm::Button1Click(TObject*) { Close(); }

}  // namespace app

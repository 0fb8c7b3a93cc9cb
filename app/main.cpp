#include "base/Exception.h"
#include "base/Locale.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"

using namespace platform;

namespace {

// Stands for the main window until the program's own windows exist.
class TPlaceholderForm : public TForm {
public:
    explicit TPlaceholderForm(TComponent* owner) : TForm(owner)
    {
        SetCaption("Korvelo");
        SetBounds(0, 0, 480, 200);
        Position = poScreenCenter;
        SetColor(clWindow);
        OnPaint = [this](TObject*) {
            TCanvas* c = Canvas();
            c->Font().SetName("Arial");
            c->Font().SetSize(10);
            c->Brush().SetStyle(bsClear);
            TRect r = ClientRect();
            DrawText(c->Handle(), "Korvelo is under construction.", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        };
        OnResize = [this](TObject*) { Invalidate(); };
    }
};

}  // namespace

int main(int argc, char** argv)
{
    InitPlatform(argc, argv);
    base::SetFormatSettings(base::LocaleFormatSettings());  // the user's numbers and dates
    try {
        Application->Initialize();
        Application->SetTitle("Korvelo");
        Application->HelpFile = "Korvelo.hlp";
        TPlaceholderForm* mainForm = nullptr;
        Application->CreateForm(mainForm);
        Application->Run();
    } catch (const base::Exception& e) {
        Application->ShowException(e);
    }
    DonePlatform();
    return 0;
}

#include "app/AppForms.h"

#include "app/AboutForm.h"
#include "app/ArrayDialog.h"
#include "app/LogForm.h"
#include "app/MainForm.h"
#include "app/PrefForm.h"
#include "app/SplitDialog.h"
#include "app/TransformDialog.h"
#include "base/Exception.h"
#include "base/Locale.h"
#include "platform/forms/Forms.h"

using namespace platform;

namespace app {

TMainForm* MainForm = nullptr;
TPrefForm* PrefForm = nullptr;
TLogForm* LogForm = nullptr;
TAboutForm* AboutForm = nullptr;
TTransformDialog* TransformDialog = nullptr;
TArrayDialog* ArrayDialog = nullptr;
TSplitDialog* SplitDialog = nullptr;

void CreateAppForms()
{
    // The main window's create event runs before any other window exists; the
    // reference-image window joins this order as it comes.
    Application->CreateForm(MainForm);
    Application->CreateForm(TransformDialog);
    Application->CreateForm(PrefForm);
    Application->CreateForm(ArrayDialog);
    Application->CreateForm(SplitDialog);
    Application->CreateForm(LogForm);
    Application->CreateForm(AboutForm);
}

namespace {
template <class T>
void FreeForm(T*& f)
{
    if (f) f->Free();
    f = nullptr;
}
}  // namespace

void FreeAppForms()
{
    FreeForm(AboutForm);
    FreeForm(LogForm);
    FreeForm(SplitDialog);
    FreeForm(ArrayDialog);
    FreeForm(PrefForm);
    FreeForm(TransformDialog);
    FreeForm(MainForm);
    if (Application) Application->ClearMainForm();
}

void StartKorvelo(int& argc, char** argv)
{
    InitPlatform(argc, argv);
    base::SetFormatSettings(base::LocaleFormatSettings());  // the user's numbers and dates
}

void CreateKorvelo()
{
    Application->Initialize();
    Application->SetTitle("Korvelo");
    Application->HelpFile = "Korvelo.hlp";
    CreateAppForms();
}

int RunKorvelo(int argc, char** argv)
{
    StartKorvelo(argc, argv);
    try {
        CreateKorvelo();
        Application->Run();
    } catch (const base::Exception& e) {
        Application->ShowException(e);
    }
    DonePlatform();
    return 0;
}

}  // namespace app

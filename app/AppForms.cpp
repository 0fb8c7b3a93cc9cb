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
    Application->CreateForm(PrefForm);
}

namespace {
template <class T>
void EnsureForm(T*& f)
{
    if (!f) Application->CreateForm(f);
}
}  // namespace

void EnsureAppForms()
{
    // None of these is needed for the main window's first paint, and together they cost a
    // good part of a start (fonts of their own among them).
    if (!Application || !MainForm) return;
    EnsureForm(TransformDialog);
    EnsureForm(ArrayDialog);
    EnsureForm(SplitDialog);
    EnsureForm(LogForm);
    EnsureForm(AboutForm);
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

#pragma once
// The program's windows, each reached through one application-wide reference, and the
// start of the program.

namespace app {

class TMainForm;
class TPrefForm;
class TLogForm;
class TAboutForm;
class TTransformDialog;
class TArrayDialog;
class TSplitDialog;

extern TMainForm* MainForm;
extern TPrefForm* PrefForm;
extern TLogForm* LogForm;
extern TAboutForm* AboutForm;
extern TTransformDialog* TransformDialog;
extern TArrayDialog* ArrayDialog;
extern TSplitDialog* SplitDialog;

// Creates the main window and the preferences (showing the main window reads them), owned
// by the application. The other windows follow once the main window has been painted.
void CreateAppForms();
// Creates those of the other windows that do not exist yet, in their start-up order: the
// main window's first idle pass after its paint, and each command that shows one, call it.
void EnsureAppForms();
// Frees them again (tests start the program more than once in one process).
void FreeAppForms();

// The entry point's work: set up, create the windows, run the loop; returns the exit code.
int RunKorvelo(int argc, char** argv);
// Its steps before the loop: the platform and the user's formats, then the application and
// its windows (the loop shows the main window).
void StartKorvelo(int& argc, char** argv);
void CreateKorvelo();

}  // namespace app

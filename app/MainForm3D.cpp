// The main window's 3D view.
#include "app/MainForm.h"

namespace app {

void TMainForm::SetViewMode3D(bool) {}
void TMainForm::SetProjection3D() {}
void TMainForm::ResetCamera3D() {}

}  // namespace app

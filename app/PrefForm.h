#pragma once
// The preferences window: the settings file's only reader and writer, keeper of the
// recent lists and of the live values other windows read (snap steps, 3D zoom, the
// graph clipboard format).
#include <string>

#include "app/Components.h"
#include "app/Settings.h"
#include "platform/forms/Forms.h"

namespace platform {
class TCheckBox;
class TRadioGroup;
class TButton;
}  // namespace platform
namespace edit {
class TExEdit;
}

namespace app {

class TPrefForm : public platform::TForm {
public:
    explicit TPrefForm(platform::TComponent* AOwner);

    TAppPageControl* PrefPages;
    TAppTabSheet *ProgramSheet, *Sheet2D, *Sheet3D, *CalculationsSheet;
    edit::TExEdit *ZoomInFactorEdit, *ZoomOutFactorEdit, *XSnapEdit, *ZSnapEdit, *OpenGLZoomFactorEdit;
    platform::TCheckBox *ShowIndexCheckBox, *AlwaysZoomAllCheckBox, *ShowCLLinesCheckBox1, *ShowAxisCheckBox,
        *ShowBoundingCheckBox, *ShowSelectionHandlesCheckBox, *AppendHydroReportCheckBox, *AppendCCCheckBox,
        *ShowAllDraughtsCheckBox;
    platform::TRadioGroup* GraphClipOptions;
    platform::TButton* OKButton;

    TRecentList RecentFiles, RecentDirs;

    // The settings file this run uses.
    std::string SettingsFile() const;
    void ReadSettings();
    // The main window's position and size and the body plan's size.
    void ReadGeometry();
    // False when the file could not be written; the reason has been shown. Nothing on
    // disk changes then.
    bool WriteSettings();
    void AddRecentFile(const std::string& path);
    void AddRecentDir(const std::string& path);
    void UpdateRecentMenus();
    // The main menu's check marks changed: the window's check boxes and the file follow.
    void TakeMenuChecks();

    void FormShow(platform::TObject* Sender);
    void OKButtonClick(platform::TObject* Sender);

private:
    // The window's switches onto the main menu's check marks and the 3D view.
    void ApplyToMainForm();
};

}  // namespace app

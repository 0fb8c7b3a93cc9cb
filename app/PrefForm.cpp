#include "app/PrefForm.h"

#include "app/AppForms.h"
#include "app/MainForm.h"
#include "base/FileUtils.h"
#include "base/IniFile.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Dialogs.h"
#include "widgets/edit/ExEdit.h"
#include "widgets/frame/ExPageControl.h"

using namespace platform;

namespace app {

namespace {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption, int l, int t,
        int w, int h)
{
    T* c = MakeControl<T>(owner, parent, name);
    c->SetBounds(l, t, w, h);
    c->SetCaption(caption);
    return c;
}

edit::TExEdit* NumberEdit(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& label,
                          int precision, const std::string& suffix, const std::string& text, int top)
{
    auto* e = MakeControl<edit::TExEdit>(owner, parent, name);
    e->SetBounds(120, top, 80, 21);
    e->SetEditType(edit::etFloat);
    e->SetPrecision(precision);
    e->SetSuffix(suffix);
    e->Signed = false;
    e->SetLabelCaption(label);
    e->SetLabelPosition(edit::lpLeftCenter);
    e->SetText(text);
    return e;
}

}  // namespace

TPrefForm::TPrefForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("PrefForm");
    SetCaption("Preferences");
    SetBorderStyle(bsDialog);
    SetBounds(300, 300, 320, 280);
    Position = poMainFormCenter;

    PrefPages = new TAppPageControl(this);
    PrefPages->SetName("PrefPages");
    PrefPages->SetParent(this);
    PrefPages->SetBounds(4, 4, ClientWidth() - 8, ClientHeight() - 44);
    PrefPages->SetTabStyle(frame::tsDotNet);
    PrefPages->SetTabWidth(72);
    ProgramSheet = AddSheet(this, PrefPages, "ProgramSheet", "Program");
    Sheet2D = AddSheet(this, PrefPages, "Sheet2D", "2D");
    Sheet3D = AddSheet(this, PrefPages, "Sheet3D", "3D");
    CalculationsSheet = AddSheet(this, PrefPages, "CalculationsSheet", "Calculations");

    ZoomInFactorEdit = NumberEdit(this, ProgramSheet, "ZoomInFactorEdit", "Zoom In Factor", 2, "", "1.10", 12);
    ZoomOutFactorEdit = NumberEdit(this, ProgramSheet, "ZoomOutFactorEdit", "Zoom Out Factor", 2, "", "0.90", 40);

    ShowIndexCheckBox = Make<TCheckBox>(this, Sheet2D, "ShowIndexCheckBox", "Show Index ", 12, 8, 200, 17);
    AlwaysZoomAllCheckBox = Make<TCheckBox>(this, Sheet2D, "AlwaysZoomAllCheckBox", "Always Zoom All", 12, 30, 200, 17);
    XSnapEdit = NumberEdit(this, Sheet2D, "XSnapEdit", "X Snap", 3, " m", "0.010", 60);
    ZSnapEdit = NumberEdit(this, Sheet2D, "ZSnapEdit", "Z Snap", 3, " m", "0.010", 88);

    OpenGLZoomFactorEdit = NumberEdit(this, Sheet3D, "OpenGLZoomFactorEdit", "3D Zoom Factor", 2, "", "1.50", 8);
    ShowCLLinesCheckBox1 = Make<TCheckBox>(this, Sheet3D, "ShowCLLinesCheckBox1", "Show CL Lines", 12, 40, 200, 17);
    ShowCLLinesCheckBox1->SetHint("Determines if 3D view hides lines that run on CL only");
    ShowCLLinesCheckBox1->SetShowHint(true);
    ShowAxisCheckBox = Make<TCheckBox>(this, Sheet3D, "ShowAxisCheckBox", "Show Axis", 12, 62, 200, 17);
    ShowBoundingCheckBox = Make<TCheckBox>(this, Sheet3D, "ShowBoundingCheckBox", "Show Bounding Boxes", 12, 84, 200, 17);
    ShowSelectionHandlesCheckBox =
        Make<TCheckBox>(this, Sheet3D, "ShowSelectionHandlesCheckBox", "Show Selection Handles", 12, 106, 200, 17);
    ShowCLLinesCheckBox1->SetChecked(true);
    ShowAxisCheckBox->SetChecked(true);
    ShowBoundingCheckBox->SetChecked(true);

    AppendHydroReportCheckBox =
        Make<TCheckBox>(this, CalculationsSheet, "AppendHydroReportCheckBox", "Append Hydro Report", 12, 8, 200, 17);
    AppendCCCheckBox =
        Make<TCheckBox>(this, CalculationsSheet, "AppendCCCheckBox", "Append Cross Curve Report", 12, 30, 200, 17);
    ShowAllDraughtsCheckBox =
        Make<TCheckBox>(this, CalculationsSheet, "ShowAllDraughtsCheckBox", "Show All Draughts", 12, 52, 200, 17);
    GraphClipOptions =
        Make<TRadioGroup>(this, CalculationsSheet, "GraphClipOptions", "Graph Clipboard", 8, 76, 280, 84);
    for (const char* s : {"Use bitmap clipboard format", "Use metafile clipboard format",
                          "Use enhanced metafile clipboard format"})
        GraphClipOptions->Items().Add(s);
    GraphClipOptions->SetItemIndex(2);

    OKButton = Make<TButton>(this, this, "OKButton", "OK", ClientWidth() - 84, ClientHeight() - 34, 75, 25);
    OKButton->OnClick = [this](TObject* s) { OKButtonClick(s); };
    PrefPages->SetActivePage(Sheet3D);
    OnShow = [this](TObject* s) { FormShow(s); };
}

std::string TPrefForm::SettingsFile() const { return SettingsFileName(Application->ExeName()); }

void TPrefForm::FormShow(TObject*) { ReadSettings(); }

void TPrefForm::OKButtonClick(TObject*)
{
    if (WriteSettings()) Close();
}

void TPrefForm::ReadSettings()
{
    const base::TIniFile ini(SettingsFile());
    ZoomInFactorEdit->SetFloat(ini.ReadFloat("General", "ZoomInFactor", 1.1));
    ZoomOutFactorEdit->SetFloat(ini.ReadFloat("General", "ZoomOutFactor", 0.9));
    for (int k = 0; k < kRecentCount; ++k) {
        RecentFiles.Set(k, ini.ReadString("General", "RecentFile" + std::to_string(k), kEmptyRecent));
        RecentDirs.Set(k, ini.ReadString("General", "RecentDir" + std::to_string(k), kEmptyRecent));
    }
    ShowIndexCheckBox->SetChecked(ini.ReadBool("2D", "ShowIndex", true));
    AlwaysZoomAllCheckBox->SetChecked(ini.ReadBool("2D", "AlwaysZoomAll", false));
    XSnapEdit->SetFloat(ini.ReadFloat("2D", "XSnap", 0.01));
    ZSnapEdit->SetFloat(ini.ReadFloat("2D", "ZSnap", 0.01));
    ShowAxisCheckBox->SetChecked(ini.ReadBool("3D", "ShowAxis", true));
    ShowCLLinesCheckBox1->SetChecked(ini.ReadBool("3D", "ShowCLLines", true));
    ShowBoundingCheckBox->SetChecked(ini.ReadBool("3D", "ShowBoundingBoxes", true));
    ShowSelectionHandlesCheckBox->SetChecked(ini.ReadBool("3D", "ShowSelectionHandles", false));
    AppendHydroReportCheckBox->SetChecked(ini.ReadBool("Calculations", "AppendHydroReports", false));
    AppendCCCheckBox->SetChecked(ini.ReadBool("Calculations", "AppendCCReports", false));
    ShowAllDraughtsCheckBox->SetChecked(ini.ReadBool("Calculations", "ShowAllDraughts", false));
    const long long clip = ini.ReadInteger("Calculations", "ClipboardFormat", 2);
    GraphClipOptions->SetItemIndex(clip >= 0 && clip <= 2 ? int(clip) : 2);
    // The menu shows what was read, so the menu and this window agree from the start.
    ApplyToMainForm();
    UpdateRecentMenus();
}

void TPrefForm::ReadGeometry()
{
    if (!MainForm) return;
    const base::TIniFile ini(SettingsFile());
    auto read = [&ini](const char* key, int def) { return int(ini.ReadInteger("General", key, def)); };
    MainForm->ApplyGeometry(read("MainFormLeft", 287), read("MainFormTop", 254), read("MainFormWidth", 700),
                            read("MainFormHeight", 500), read("BodyPlanWidth", 209), read("BodyPlanHeight", 209));
}

void TPrefForm::ApplyToMainForm()
{
    if (!MainForm) return;
    TMainForm& m = *MainForm;
    m.ShowIndex1->SetChecked(ShowIndexCheckBox->Checked());
    m.AlwaysZoomAll1->SetChecked(AlwaysZoomAllCheckBox->Checked());
    m.AppendReport[0]->SetChecked(AppendHydroReportCheckBox->Checked());
    m.AppendReport[1]->SetChecked(AppendCCCheckBox->Checked());
    m.ShowAllDraughts1->SetChecked(ShowAllDraughtsCheckBox->Checked());
    m.ShowAxis = ShowAxisCheckBox->Checked();
    m.ShowCLLines = ShowCLLinesCheckBox1->Checked();
    m.ShowBoundingBoxes = ShowBoundingCheckBox->Checked();
    m.ShowSelectionHandles = ShowSelectionHandlesCheckBox->Checked();
}

void TPrefForm::TakeMenuChecks()
{
    if (!MainForm) return;
    const TMainForm& m = *MainForm;
    ShowIndexCheckBox->SetChecked(m.ShowIndex1->Checked());
    AlwaysZoomAllCheckBox->SetChecked(m.AlwaysZoomAll1->Checked());
    AppendHydroReportCheckBox->SetChecked(m.AppendReport[0]->Checked());
    AppendCCCheckBox->SetChecked(m.AppendReport[1]->Checked());
    ShowAllDraughtsCheckBox->SetChecked(m.ShowAllDraughts1->Checked());
    WriteSettings();
}

bool TPrefForm::WriteSettings()
{
    // Apply first, then write what now holds, so the file never lags behind.
    ApplyToMainForm();
    const std::string file = SettingsFile();
    base::TIniFile ini(file);
    ini.BeginUpdate();
    ini.WriteFloat("General", "ZoomInFactor", ZoomInFactorEdit->GetFloat());
    ini.WriteFloat("General", "ZoomOutFactor", ZoomOutFactorEdit->GetFloat());
    for (int k = 0; k < kRecentCount; ++k) {
        ini.WriteString("General", "RecentFile" + std::to_string(k), RecentFiles.Item(k));
        ini.WriteString("General", "RecentDir" + std::to_string(k), RecentDirs.Item(k));
    }
    if (MainForm) {
        const TMainForm& m = *MainForm;
        ini.WriteInteger("General", "MainFormLeft", m.Left());
        ini.WriteInteger("General", "MainFormTop", m.Top());
        ini.WriteInteger("General", "MainFormWidth", m.Width());
        ini.WriteInteger("General", "MainFormHeight", m.Height());
        ini.WriteInteger("General", "BodyPlanWidth", m.Panel3->Width());
        ini.WriteInteger("General", "BodyPlanHeight", m.Panel3->Height());
        ini.WriteBool("2D", "ShowIndex", m.ShowIndex1->Checked());
        ini.WriteBool("2D", "AlwaysZoomAll", m.AlwaysZoomAll1->Checked());
        ini.WriteBool("3D", "ShowAxis", m.ShowAxis);
        ini.WriteBool("3D", "ShowCLLines", m.ShowCLLines);
        ini.WriteBool("3D", "ShowBoundingBoxes", m.ShowBoundingBoxes);
        ini.WriteBool("3D", "ShowSelectionHandles", m.ShowSelectionHandles);
        ini.WriteBool("Calculations", "AppendHydroReports", m.AppendReport[0]->Checked());
        ini.WriteBool("Calculations", "AppendCCReports", m.AppendReport[1]->Checked());
        ini.WriteBool("Calculations", "ShowAllDraughts", m.ShowAllDraughts1->Checked());
    }
    ini.WriteFloat("2D", "XSnap", XSnapEdit->GetFloat());
    ini.WriteFloat("2D", "ZSnap", ZSnapEdit->GetFloat());
    ini.WriteInteger("Calculations", "ClipboardFormat", GraphClipOptions->ItemIndex());
    if (ini.EndUpdate()) return true;
    ShowMessageBox("Unable to write to " + file + ". " + ini.LastError(), "Korvelo", MB_OK | MB_ICONERROR);
    return false;
}

void TPrefForm::AddRecentFile(const std::string& path)
{
    RecentFiles.Add(path);
    UpdateRecentMenus();
    WriteSettings();
}

void TPrefForm::AddRecentDir(const std::string& path)
{
    RecentDirs.Add(base::ExtractFilePath(path));
    UpdateRecentMenus();
    WriteSettings();
}

void TPrefForm::UpdateRecentMenus()
{
    if (!MainForm) return;
    for (int k = 0; k < kRecentCount; ++k) {
        const std::string& dir = RecentDirs.Item(k);
        const std::string& file = RecentFiles.Item(k);
        MainForm->RD[k]->SetCaption(base::ExtractFilePath(dir));
        MainForm->RD[k]->SetEnabled(!TRecentList::IsEmpty(dir));
        MainForm->RF[k]->SetCaption(base::ExtractFileName(file));
        MainForm->RF[k]->SetEnabled(!TRecentList::IsEmpty(file));
    }
}

}  // namespace app

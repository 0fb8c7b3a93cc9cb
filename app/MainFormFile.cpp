// The main window's File, Model and Help commands.
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/AboutForm.h"
#include "app/AppForms.h"
#include "app/LogForm.h"
#include "app/MainForm.h"
#include "app/ModelEdits.h"
#include "app/PrefForm.h"
#include "app/RunPages.h"
#include "app/Settings.h"
#include "base/FileUtils.h"
#include "core/ModelText.h"
#include "base/SystemInfo.h"
#include "platform/controls/Menus.h"
#include "platform/forms/Dialogs.h"
#include "platform/system/Shell.h"

using namespace platform;

namespace app {

namespace {

// Offsets at X < 0 with no mirror image among the frame's offsets: a half frame (X >= 0)
// cannot carry them.
std::size_t UnmirroredPortOffsets(const core::Appendage& a)
{
    std::size_t count = 0;
    for (const core::Section& f : a.frames) {
        const std::size_t n = std::min(f.X.size(), f.Z.size());
        for (std::size_t k = 0; k < n; ++k) {
            if (!(f.X[k] < 0)) continue;
            bool mirrored = false;
            for (std::size_t j = 0; j < n && !mirrored; ++j)
                mirrored = std::fabs(f.X[j] + f.X[k]) <= 1e-9 * (1 + std::fabs(f.X[k])) &&
                           std::fabs(f.Z[j] - f.Z[k]) <= 1e-9 * (1 + std::fabs(f.Z[k]));
            if (!mirrored) ++count;
        }
    }
    return count;
}

}  // namespace

bool TMainForm::ConfirmHalfFrames(const std::vector<const core::Appendage*>& appendages, const std::string& format)
{
    std::string text;
    for (const core::Appendage* a : appendages) {
        const std::size_t n = UnmirroredPortOffsets(*a);
        if (n == 0) continue;
        const std::string line = "WARNING: Appendage " + core::QuoteForLog(a->name) + " has " + std::to_string(n) +
                                 " offsets at X < 0 that the " + format +
                                 " file cannot carry (it holds half frames, X >= 0): they are left out";
        Hull.log.Log(line);
        text += line + ".\n";
    }
    if (text.empty()) return true;
    return ShowMessageBox(text + "\nExport without them?", "Korvelo", MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

void TMainForm::ShowFailure(const std::string& what, const std::string& reason)
{
    ShowMessageBox(what + (reason.empty() ? "." : ":\n" + reason), "Korvelo", MB_OK | MB_ICONERROR);
}

bool TMainForm::ConfirmLoseChanges()
{
    if (!modified_) return true;
    TMessageBoxRequest ask;
    ask.Text = "Note: Note: Present Hull NOT Saved - Continue?";
    ask.Caption = "Confirm Lose Changes";
    ask.Type = mtConfirmation;
    ask.Buttons = mbYesNoCancel;
    ask.ButtonCaptions = {{mbYes, "&Save"}, {mbNo, "Do&n't Save"}, {mbCancel, "Cancel"}};
    switch (AskMessageBox(ask)) {
    case mrYes:
        // The command goes on only once the hull is saved.
        return SaveHullDialog->Execute() && SaveHull(SaveHullDialog->FileName);
    case mrNo: return true;
    default: return false;
    }
}

void TMainForm::RememberFile(const std::string& path)
{
    if (!PrefForm) return;
    PrefForm->AddRecentFile(path);
    PrefForm->AddRecentDir(path);
}

bool TMainForm::OpenHull(const std::string& path)
{
    if (const core::Result r = Hull.OpenHullFile(path); !r) {
        ShowFailure("Could not open " + path, r.Reason());
        return false;
    }
    modified_ = false;
    CurrentAppendage = CurrentFrame = CurrentPoint = 0;
    Runs->ClearResults();
    RefreshAll();
    RememberFile(path);
    return true;
}

bool TMainForm::SaveHull(const std::string& path)
{
    if (const core::Result r = Hull.SaveHullFile(path); !r) {
        ShowFailure("Could not save " + path, r.Reason());
        return false;
    }
    modified_ = false;
    RememberFile(path);
    return true;
}

void TMainForm::N1Click(TObject*)
{
    if (!ConfirmLoseChanges()) return;
    Hull.Clear();
    modified_ = false;
    CurrentAppendage = CurrentFrame = CurrentPoint = 0;
    Runs->ClearResults();
    RefreshAll();
}

void TMainForm::Open1Click(TObject*)
{
    if (!ConfirmLoseChanges()) return;
    if (OpenHullDialog->Execute()) OpenHull(OpenHullDialog->FileName);
}

void TMainForm::Save1Click(TObject*)
{
    if (SaveHullDialog->Execute()) SaveHull(SaveHullDialog->FileName);
}

void TMainForm::Appendage1Click(TObject*)
{
    if (!ImportAppendageDialog->Execute()) return;
    const std::string path = ImportAppendageDialog->FileName;
    if (const core::Result r = Hull.ImportAppFile(path); !r) {
        ShowFailure("Could not import " + path, r.Reason());
        return;
    }
    modified_ = true;
    RefreshAll();
}

void TMainForm::GFFile1Click(TObject*)
{
    if (!ConfirmLoseChanges()) return;
    if (!ImportDialog->Execute()) return;
    const std::string path = ImportDialog->FileName;
    // Read into a fresh model, as New leaves one, that logs to the program's log: the hull
    // is replaced only when the whole file has been read.
    core::Hullform read(core::ErrorLog::Into{Hull.log});
    read.Clear();
    // The chosen filter decides the reader, not the file's extension.
    const core::Result r = ImportDialog->FilterIndex == 2 ? read.ImportDfhFile(path) : read.ImportGfFile(path, true);
    if (!r) {
        ShowFailure("Could not import " + path, r.Reason());
        return;
    }
    Hull.TakeModel(std::move(read));
    modified_ = true;
    CurrentAppendage = CurrentFrame = CurrentPoint = 0;
    Runs->ClearResults();
    RefreshAll();
}

bool TMainForm::ExportWith(TSaveDialog* dialog, const std::string& what,
                           const std::function<core::Result(const std::string&)>& write)
{
    if (!dialog->Execute()) return false;
    const core::Result r = write(dialog->FileName);
    if (r) return true;
    ShowFailure("Could not export " + what + " to " + dialog->FileName, r.Reason());
    return false;
}

void TMainForm::N3Click(TObject*)
{
    if (!Hull.IsAppendageIndexValid(unsigned(CurrentAppendage))) return;
    ExportWith(SaveOBJDialog, "the appendage", [this](const std::string& p) {
        return Hull.appendages[std::size_t(CurrentAppendage)].ExportObj(p, &Hull.log);
    });
}

void TMainForm::CuurentFrametocrd1Click(TObject*)
{
    if (!Hull.IsFrameIndexValid(unsigned(CurrentAppendage), unsigned(CurrentFrame))) return;
    ExportWith(SaveCRDDialog, "the frame", [this](const std::string& p) {
        return Hull.appendages[std::size_t(CurrentAppendage)].ExportFrameToCrd(p, unsigned(CurrentFrame), &Hull.log);
    });
}

void TMainForm::CurrentAppendagetoAPPfile1Click(TObject*)
{
    if (!Hull.IsAppendageIndexValid(unsigned(CurrentAppendage))) return;
    ExportWith(SaveAppDialog, "the appendage", [this](const std::string& p) {
        return Hull.appendages[std::size_t(CurrentAppendage)].SaveAppFile(p, &Hull.log);
    });
}

void TMainForm::CurrentAppToFreeShip1Click(TObject*)
{
    if (!Hull.IsAppendageIndexValid(unsigned(CurrentAppendage))) return;
    if (!ConfirmHalfFrames({&Hull.appendages[std::size_t(CurrentAppendage)]}, "FreeShip")) return;
    ExportWith(SaveTextDialog, "the appendage", [this](const std::string& p) {
        return Hull.appendages[std::size_t(CurrentAppendage)].ExportFreeShipText(p, &Hull.log);
    });
}

void TMainForm::GHSGFFile1Click(TObject*)
{
    std::vector<const core::Appendage*> all;
    for (const core::Appendage& a : Hull.appendages) all.push_back(&a);
    if (!ConfirmHalfFrames(all, "GF")) return;
    ExportWith(SaveGFDialog, "the hull", [this](const std::string& p) { return Hull.ExportGfFile(p); });
}

void TMainForm::RF01Click(TObject* Sender)
{
    const int k = int(static_cast<TComponent*>(Sender)->Tag);
    const std::string entry = PrefForm->RecentFiles.Item(k);
    if (TRecentList::IsEmpty(entry) || !base::FileExists(entry)) return;
    if (!ConfirmLoseChanges()) return;
    OpenHull(entry);
}

void TMainForm::RD01Click(TObject* Sender)
{
    const int k = int(static_cast<TComponent*>(Sender)->Tag);
    const std::string entry = PrefForm->RecentDirs.Item(k);
    if (TRecentList::IsEmpty(entry) || !base::DirectoryExists(entry)) return;
    OpenHullDialog->InitialDir = entry;
    Open1Click(Sender);
}

void TMainForm::Exit1Click(TObject*) { Close(); }

void TMainForm::Preferences1Click(TObject*) { PrefForm->Show(); }

void TMainForm::ShowLogFile1Click(TObject*)
{
    EnsureAppForms();
    LogForm->ShowModal();
}

void TMainForm::About2Click(TObject*)
{
    EnsureAppForms();
    AboutForm->Show();
}

void TMainForm::Help1Click(TObject*)
{
    Application->HelpFile = "Korvelo.hlp";
    const std::string path = HelpFolder(Application->ExeName()) + Application->HelpFile;
    if (base::FileExists(path) && ShellExecute(nullptr, "open", path, "", "", SW_SHOWNORMAL) > 32) return;
    ShowMessageBox("The help file " + path + " could not be opened.", "Korvelo", MB_OK | MB_ICONINFORMATION);
}

void TMainForm::ModelData1Click(TObject*)
{
    std::string vendor = "not available", version = "not available";
    if (EnsureContext3D() && wglMakeCurrent(hDC, hRC)) {
        const base::OpenGLStrings gl = base::GetOpenGLStrings();
        vendor = gl.vendor;
        version = gl.version;
    }
    ShowMessageBox("OpenGL vendor: " + vendor + "\nOpenGL version: " + version, "Korvelo", MB_OK);
}

}  // namespace app

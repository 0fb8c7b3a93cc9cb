#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QMessageBox>
#include <QPushButton>

#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "platform/Private.h"

namespace platform {

namespace {

TMessageBoxHook gBoxHook;
TDialogHook gDialogHook;

bool Headless() { return QGuiApplication::platformName() == QLatin1String("offscreen"); }

const struct {
    TMsgDlgBtn button;
    int result;
    const char* caption;
} kButtons[] = {{mbYes, mrYes, "&Yes"},       {mbNo, mrNo, "&No"},           {mbOK, mrOk, "OK"},
                {mbCancel, mrCancel, "Cancel"}, {mbAbort, mrAbort, "&Abort"},  {mbRetry, mrRetry, "&Retry"},
                {mbIgnore, mrIgnore, "&Ignore"}, {mbAll, mrAll, "&All"},       {mbNoToAll, mrNoToAll, "N&o to All"},
                {mbYesToAll, mrYesToAll, "Yes to &All"}, {mbHelp, 0, "&Help"}};

// What Esc and the window's close button answer: Cancel, else No, else a lone OK.
int EscapeResult(TMsgDlgButtons buttons)
{
    if (buttons & mbCancel) return mrCancel;
    if (buttons & mbNo) return mrNo;
    if ((buttons & ~TMsgDlgButtons(mbHelp)) == mbOK) return mrOk;
    return 0;
}

int AskUser(const TMessageBoxRequest& req)
{
    if (gBoxHook) return gBoxHook(req);
    if (Headless() || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        for (const auto& b : kButtons)
            if (req.Buttons & b.button) return b.result;
        return mrOk;
    }
    QMessageBox box;
    box.setWindowTitle(AnsiToQString(req.Caption));
    box.setText(AnsiToQString(req.Text));
    switch (req.Type) {
    case mtWarning: box.setIcon(QMessageBox::Warning); break;
    case mtError: box.setIcon(QMessageBox::Critical); break;
    case mtInformation: box.setIcon(QMessageBox::Information); break;
    case mtConfirmation: box.setIcon(QMessageBox::Question); break;
    default: break;
    }
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    for (const auto& b : kButtons)
        if ((req.Buttons & b.button) && b.button != mbHelp) {
            QString caption = QString::fromLatin1(b.caption);
            for (const auto& [which, text] : req.ButtonCaptions)
                if (which == b.button) caption = AnsiToQString(text);
            QPushButton* pb = box.addButton(caption, QMessageBox::ActionRole);
            buttons.push_back({pb, b.result});
        }
    if (buttons.empty()) buttons.push_back({box.addButton(QMessageBox::Ok), mrOk});
    const int escape = EscapeResult(req.Buttons);
    for (const auto& [btn, result] : buttons)
        if (result == escape) box.setEscapeButton(btn);
    box.exec();
    for (const auto& [btn, result] : buttons)
        if (box.clickedButton() == btn) return result;
    return escape ? escape : buttons.front().second;
}

QString QtFilter(const std::string& filter)
{
    QStringList parts;
    for (const auto& [desc, pats] : ParseDialogFilter(filter)) {
        QString p = AnsiToQString(pats);
        p.replace(';', ' ');
        parts << AnsiToQString(desc) + " (" + p + ")";
    }
    return parts.join(";;");
}

}  // namespace

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook)
{
    TMessageBoxHook old = std::move(gBoxHook);
    gBoxHook = std::move(hook);
    return old;
}

TDialogHook SetDialogHook(TDialogHook hook)
{
    TDialogHook old = std::move(gDialogHook);
    gDialogHook = std::move(hook);
    return old;
}

int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, long)
{
    static const char* kCaptions[] = {"Warning", "Error", "Information", "Confirm", ""};
    TMessageBoxRequest req;
    req.Text = msg;
    req.Type = type;
    req.Buttons = buttons;
    req.Caption = type == mtCustom && Application ? Application->Title() : kCaptions[type];
    return AskUser(req);
}

void ShowMessage(const std::string& msg)
{
    TMessageBoxRequest req;
    req.Text = msg;
    req.Type = mtCustom;
    req.Buttons = mbOK;
    req.Caption = Application ? Application->Title() : "";
    AskUser(req);
}

int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags)
{
    TMessageBoxRequest req;
    req.Text = text;
    req.Caption = caption;
    switch (flags & 0xF) {
    case MB_OKCANCEL: req.Buttons = mbOKCancel; break;
    case MB_ABORTRETRYIGNORE: req.Buttons = mbAbortRetryIgnore; break;
    case MB_YESNOCANCEL: req.Buttons = mbYesNoCancel; break;
    case MB_YESNO: req.Buttons = mbYesNo; break;
    case MB_RETRYCANCEL: req.Buttons = mbRetry | mbCancel; break;
    default: req.Buttons = mbOK; break;
    }
    switch (flags & 0xF0) {
    case MB_ICONERROR: req.Type = mtError; break;
    case MB_ICONQUESTION: req.Type = mtConfirmation; break;
    case MB_ICONWARNING: req.Type = mtWarning; break;
    case MB_ICONINFORMATION: req.Type = mtInformation; break;
    default: req.Type = mtCustom; break;
    }
    return AskUser(req);  // the modal results equal the ID_ values
}

int AskMessageBox(const TMessageBoxRequest& request) { return AskUser(request); }

std::vector<std::pair<std::string, std::string>> ParseDialogFilter(const std::string& filter)
{
    std::vector<std::string> parts;
    std::string cur;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    if (!filter.empty()) parts.push_back(cur);
    std::vector<std::pair<std::string, std::string>> out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) out.push_back({parts[i], parts[i + 1]});
    return out;
}

bool TOpenDialog::Execute()
{
    if (gDialogHook) return gDialogHook(*this);
    if (Headless()) return false;
    QFileDialog dlg(nullptr, AnsiToQString(Title), AnsiToQString(InitialDir), QtFilter(Filter));
    dlg.setAcceptMode(IsSave() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!IsSave()) dlg.setFileMode((Options & ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                                   : (Options & ofFileMustExist)  ? QFileDialog::ExistingFile
                                                                  : QFileDialog::AnyFile);
    if (!(Options & ofOverwritePrompt)) dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (!DefaultExt.empty()) dlg.setDefaultSuffix(AnsiToQString(DefaultExt));
    if (!FileName.empty()) dlg.selectFile(AnsiToQString(FileName));
    const QStringList filters = dlg.nameFilters();
    if (FilterIndex >= 1 && FilterIndex <= filters.size()) dlg.selectNameFilter(filters[FilterIndex - 1]);
    if (dlg.exec() != QDialog::Accepted) return false;
    Files.clear();
    for (const QString& f : dlg.selectedFiles()) Files.push_back(QStringToAnsi(f));
    if (!Files.empty()) FileName = Files.front();
    FilterIndex = int(dlg.nameFilters().indexOf(dlg.selectedNameFilter())) + 1;
    return true;
}

TSaveDialog::TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) { Options |= ofOverwritePrompt; }

bool TSaveDialog::Execute()
{
    if (!gDialogHook) return TOpenDialog::Execute();  // the platform's dialog asks itself
    if (!gDialogHook(*this)) return false;
    if (!(Options & ofOverwritePrompt) || FileName.empty() || !QFileInfo(AnsiToQString(FileName)).isFile())
        return true;
    TMessageBoxRequest req;
    req.Text = FileName + " already exists.\nDo you want to replace it?";
    req.Caption = Title.empty() ? "Confirm Save As" : Title;
    req.Type = mtWarning;
    req.Buttons = mbYesNo;
    const int answer = AskUser(req);
    return answer == mrYes || answer == mrOk;
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner)
{
    Filter = "All (*.bmp;*.png;*.jpg;*.jpeg;*.gif)|*.bmp;*.png;*.jpg;*.jpeg;*.gif|Bitmaps (*.bmp)|*.bmp|"
             "PNG images (*.png)|*.png|JPEG images (*.jpg)|*.jpg;*.jpeg|GIF images (*.gif)|*.gif";
}

TSavePictureDialog::TSavePictureDialog(TComponent* AOwner) : TSaveDialog(AOwner)
{
    Filter = "Bitmaps (*.bmp)|*.bmp";
    DefaultExt = "bmp";
}

bool TBrowseFolderDialog::Execute()
{
    if (Directory.empty()) Directory = QStringToAnsi(QDir::currentPath());
    if (gDialogHook) return gDialogHook(*this);
    if (Headless()) return false;
    QFileDialog dlg(nullptr, AnsiToQString(Title), AnsiToQString(Directory));
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setOption(QFileDialog::ShowDirsOnly);
    if (Position.X >= 0 && Position.Y >= 0) {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QPoint at(Position.X, Position.Y);
        const QSize size = dlg.sizeHint();
        if (at.x() + size.width() > screen.right()) at.rx() -= size.width();
        if (at.y() + size.height() > screen.bottom()) at.ry() -= size.height();
        dlg.move(at);
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    Directory = QStringToAnsi(dlg.selectedFiles().front());
    return true;
}

bool TColorDialog::Execute()
{
    if (gDialogHook) return gDialogHook(*this);
    if (Headless()) return false;
    QColor c = QColorDialog::getColor(ToQColor(ColorToRGB(Color)), nullptr, AnsiToQString(Title));
    if (!c.isValid()) return false;
    Color = TColor(RGB(c.red(), c.green(), c.blue()));
    return true;
}

}  // namespace platform

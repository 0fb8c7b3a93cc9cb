// The log window, the about box and the preferences window with its settings file.
#include <fstream>

#include "../base/FileSizeLimit.h"
#include "AppFixture.h"
#include "app/AboutForm.h"
#include "app/LogForm.h"
#include "base/FileUtils.h"
#include "base/IniFile.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Thread.h"
#include "widgets/edit/ExEdit.h"
#include "widgets/html/HtmlLabel.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/MemoStrings.h"

using namespace platform;

namespace {

// Pixels of colour c in the rows of a bitmap from top to bottom (exclusive).
int CountColour(TBitmap& b, TColor c, int top, int bottom)
{
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas()->Pixel(x, y) == c) ++n;
    return n;
}

int FirstRowWith(TBitmap& b, TColor c)
{
    for (int y = 0; y < b.Height(); ++y)
        if (CountColour(b, c, y, y + 1) > 0) return y;
    return -1;
}

}  // namespace

TEST_F(AppTest, LogWindowShowsEveryLineWithErrorRedAndNoteBlue)
{
    main->Hull.log.Log("ERROR: something failed");
    main->Hull.log.Log("NOTE: something noted");
    // The command shows the window modally; a timer closes it again.
    TTimer closer(nullptr);
    closer.SetInterval(50);
    closer.OnTimer = [](TObject*) { app::LogForm->Close(); };
    closer.SetEnabled(true);
    main->ShowLogFile1->Click();
    closer.SetEnabled(false);
    memo::TExMemo* m = app::LogForm->LogMemo;
    // The memo wraps long lines at its margin: join the continuations again.
    auto shown = [m] {
        std::vector<std::string> lines;
        for (int i = 0; i < m->Lines()->Count(); ++i) {
            if (m->Lines()->IsWrapped(i) && !lines.empty()) lines.back() += m->Lines()->Get(i);
            else lines.push_back(m->Lines()->Get(i));
        }
        return lines;
    };
    EXPECT_EQ(shown(), main->Hull.log.Lines());
    // Typed text and a caret left further down are gone at the next opening: the log
    // as it is, with no empty line above it.
    m->Lines()->Add("typed by the user");
    m->SetCurY(6);
    app::LogForm->Show();
    EXPECT_EQ(shown(), main->Hull.log.Lines());
    app::LogForm->Hide();

    app::LogForm->Show();
    m->SetTopLine(m->Lines()->Count() - 2);
    auto b = PaintToBitmap(m);
    b->SaveToFile(dir.file("log.bmp"));
    // ERROR is red and NOTE blue, on their own rows, ERROR's above NOTE's.
    const int redRow = FirstRowWith(*b, clRed), blueRow = FirstRowWith(*b, clBlue);
    ASSERT_GE(redRow, 0);
    ASSERT_GE(blueRow, 0);
    EXPECT_LT(redRow, blueRow);
    EXPECT_GT(CountColour(*b, clRed, redRow, blueRow), 10);
    EXPECT_EQ(CountColour(*b, clRed, blueRow, b->Height()), 0);
    app::LogForm->Hide();
}

// A log file that can no longer be written (a full disk; here a file size limit) is said
// once, in the status bar and in the open log window; the log keeps its lines.
TEST_F(AppTest, LogThatCannotBeWrittenIsSaidOnceInTheStatusBarAndTheLogWindow)
{
    const std::string path = main->Hull.log.FilePath();
    ASSERT_FALSE(path.empty());
    app::LogForm->Show();
    memo::TExMemo* m = app::LogForm->LogMemo;
    auto count = [m](const std::string& prefix) {
        int n = 0;
        for (int i = 0; i < m->Lines()->Count(); ++i) n += m->Lines()->Get(i).rfind(prefix, 0) == 0;
        return n;
    };
    {
        FileSizeLimit limit(std::filesystem::file_size(path) + 10);
        ASSERT_TRUE(limit.Active());
        for (int i = 0; i < 5; ++i) main->Hull.log.Log("NOTE: line " + std::to_string(i) + " of the full disk");
    }
    const std::string said = main->StatusBar1->SimpleText();
    EXPECT_NE(said.find("can no longer be written: File too large"), std::string::npos) << said;
    EXPECT_NE(said.find(path), std::string::npos) << said;
    EXPECT_EQ(count("ERROR: The log file"), 1);
    app::LogForm->Hide();
    app::LogForm->Show();  // filled again from the log: still once, with every line kept
    EXPECT_EQ(count("ERROR: The log file"), 1);
    EXPECT_EQ(count("NOTE: line 4 of the full disk"), 1);
    app::LogForm->Hide();
}

TEST_F(AppTest, AboutBoxOpensAndCloses)
{
    main->About2->Click();
    app::TAboutForm* about = app::AboutForm;
    EXPECT_TRUE(about->Visible());
    EXPECT_FALSE(about->Modal());
    EXPECT_EQ(about->Caption(), "About");
    EXPECT_EQ(about->ClientWidth(), 315);
    EXPECT_EQ(about->ClientHeight(), 147);
    EXPECT_EQ(about->Label1->Caption(), "Korvelo");
    EXPECT_EQ(about->HtmlLabel1->GetText(), "www.korvelo.example");
    auto b = PaintToBitmap(about);
    EXPECT_GT(CountColour(*b, clBlue, 0, b->Height()), 10);  // the link
    about->Button1->Click();
    EXPECT_FALSE(about->Visible());
}

TEST_F(AppTest, PreferencesDefaultsWithoutSettingsFile)
{
    app::TPrefForm* p = app::PrefForm;
    EXPECT_EQ(p->ZoomInFactorEdit->Text(), "1.10");
    EXPECT_EQ(p->ZoomOutFactorEdit->Text(), "0.90");
    EXPECT_EQ(p->XSnapEdit->GetText(), "0.010");
    EXPECT_EQ(p->ZSnapEdit->GetText(), "0.010");
    EXPECT_EQ(p->OpenGLZoomFactorEdit->GetText(), "1.50");
    EXPECT_TRUE(p->ShowIndexCheckBox->Checked());
    EXPECT_TRUE(main->ShowAxis && main->ShowCLLines && main->ShowBoundingBoxes);
    EXPECT_FALSE(main->ShowSelectionHandles);
    EXPECT_FALSE(p->AppendHydroReportCheckBox->Checked() || p->AppendCCCheckBox->Checked() ||
                 p->ShowAllDraughtsCheckBox->Checked());
    EXPECT_EQ(p->GraphClipOptions->ItemIndex(), 2);
    main->Preferences1->Click();
    EXPECT_TRUE(p->Visible());
    EXPECT_EQ(p->PrefPages->ActivePage(), p->Sheet3D);
}

TEST_F(AppTest, PreferencesAndGeometrySurviveARestart)
{
    app::TPrefForm* p = app::PrefForm;
    main->Preferences1->Click();
    p->XSnapEdit->SetFloat(0.05);
    p->AlwaysZoomAllCheckBox->SetChecked(true);
    p->ShowAxisCheckBox->SetChecked(false);
    p->AppendCCCheckBox->SetChecked(true);
    p->GraphClipOptions->SetItemIndex(0);
    p->OKButton->Click();
    EXPECT_FALSE(p->Visible());
    // Applied and written at once: the menu and the file agree with the window.
    EXPECT_TRUE(main->AlwaysZoomAll1->Checked());
    EXPECT_TRUE(main->AppendReport[1]->Checked());
    EXPECT_FALSE(main->ShowAxis);
    base::TIniFile ini(SettingsFile());
    EXPECT_TRUE(ini.ReadBool("2D", "AlwaysZoomAll", false));
    EXPECT_TRUE(ini.ReadBool("Calculations", "AppendCCReports", false));
    // A menu change reaches the window and the file at once, and stays when the window
    // reads the file again.
    main->ShowIndex1->Click();
    EXPECT_FALSE(p->ShowIndexCheckBox->Checked());
    EXPECT_FALSE(base::TIniFile(SettingsFile()).ReadBool("2D", "ShowIndex", true));
    main->Preferences1->Click();
    EXPECT_FALSE(main->ShowIndex1->Checked());
    p->Hide();

    main->SetBounds(100, 120, 820, 610);
    main->Panel3->SetWidth(250);
    Stop();
    Start();
    p = app::PrefForm;
    EXPECT_EQ(main->Left(), 100);
    EXPECT_EQ(main->Top(), 120);
    EXPECT_EQ(main->Width(), 820);
    EXPECT_EQ(main->Height(), 610);
    EXPECT_EQ(main->Panel3->Width(), 250);
    EXPECT_EQ(main->Panel5->Width(), 250);
    EXPECT_EQ(main->Panel1->Height(), 209);
    EXPECT_DOUBLE_EQ(p->XSnapEdit->GetFloat(), 0.05);
    EXPECT_TRUE(main->AlwaysZoomAll1->Checked());
    EXPECT_FALSE(main->ShowIndex1->Checked());
    EXPECT_TRUE(main->AppendReport[1]->Checked());
    EXPECT_FALSE(main->ShowAxis);
    EXPECT_EQ(p->GraphClipOptions->ItemIndex(), 0);
}

TEST_F(AppTest, ClosingNeverFailsForAnUnwritableSettingsFile)
{
    app::SetSettingsFileOverride(dir.file("missing/Korvelo.INI"));
    main->Close();
    EXPECT_FALSE(main->Visible());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Unable to write to"), std::string::npos);
    EXPECT_NE(boxes[0].find("No such file or directory"), std::string::npos) << boxes[0];
}

TEST(RecentList, NewestFirstCaseSensitiveFiveAtMost)
{
    app::TRecentList l;
    for (const char* p : {"D:\\h1\\a.hll", "D:\\h2\\b.hll", "D:\\h1\\a.hll"}) l.Add(p);
    EXPECT_EQ(l.Items(), (std::vector<std::string>{"D:\\h1\\a.hll", "D:\\h2\\b.hll", "- empty -", "- empty -",
                                                   "- empty -"}));
    l.Add("D:\\H1\\A.HLL");
    EXPECT_EQ(l.Item(0), "D:\\H1\\A.HLL");
    EXPECT_EQ(l.Item(1), "D:\\h1\\a.hll");
    for (const char* p : {"c", "d", "e", "f"}) l.Add(p);
    EXPECT_EQ(l.Items(), (std::vector<std::string>{"f", "e", "d", "c", "D:\\H1\\A.HLL"}));
}

TEST(SettingsFile, BesideTheProgramOrInTheUserConfigFolder)
{
    testsupport::TempDir d("korvelo-ini");
    const std::string exe = d.file("bin/korvelo");
    std::filesystem::create_directories(d.file("bin"));
    EXPECT_EQ(app::SettingsFileName(exe), d.file("bin/korvelo.INI"));

    // An installed program's folder cannot be written: the user's folder takes it.
    std::filesystem::permissions(d.file("bin"), std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                                    std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string kept = old ? old : "";
    setenv("XDG_CONFIG_HOME", d.file("config").c_str(), 1);
    EXPECT_EQ(app::SettingsFileName(exe), d.file("config/Korvelo/korvelo.INI"));
    EXPECT_TRUE(base::DirectoryExists(d.file("config/Korvelo")));
    if (old) setenv("XDG_CONFIG_HOME", kept.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
    std::filesystem::permissions(d.file("bin"), std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
}

// File commands: open, save, new, imports and exports, with the unsaved-changes question.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "AppFixture.h"
#include "Hulls.h"
#include "base/FileUtils.h"
#include "app/RunPages.h"
#include "platform/TestRig.h"
#include "platform/controls/Menus.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartSeries.h"
#include "widgets/chart/ChartTitles.h"
#include "widgets/edit/ExEdit.h"
#include "widgets/edit/ExToolBtn.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;

namespace {

const std::string kLoseChanges = "Note: Note: Present Hull NOT Saved - Continue?";

}  // namespace

class FileCommands : public AppTest {
protected:
    // A barge saved by a hull of its own, as another run of the program would.
    std::string SaveBarge(const std::string& name)
    {
        hulls::MakeBoxBarge(main->Hull);
        const std::string path = dir.file(name);
        EXPECT_TRUE(main->Hull.SaveHullFile(path));
        main->N1Click(main->New1);
        return path;
    }
    std::string Garbage(const std::string& name)
    {
        const std::string path = dir.file(name);
        std::ofstream(path) << "this is not a hull file\n";
        return path;
    }
    bool Logged(const std::string& start) const
    {
        for (const auto& l : main->Hull.log.Lines())
            if (l.rfind(start, 0) == 0) return true;
        return false;
    }
    // The program's log file as it stands.
    std::string LogFile() const
    {
        std::ifstream in(main->Hull.log.FilePath(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string TreeText(int child) const { return Shown(main->HullTreeView->Items()->Item(0)->Item(child)); }
};

TEST_F(FileCommands, OpenGoodFileRebuildsTheViewsAndEntersTheRecentLists)
{
    const std::string path = SaveBarge("barge.hll");
    AnswerDialog(path);
    main->Open1Click(main->Open1);
    EXPECT_EQ(main->Hull.name, "Box Barge");
    EXPECT_EQ(main->Hull.GetAppendageCount(), 1u);
    EXPECT_EQ(TreeText(1), " Appendages [1]");
    EXPECT_TRUE(Logged("NOTE: Hullform opened at"));
    EXPECT_FALSE(main->Modified());
    EXPECT_EQ(main->RF[0]->Caption(), "barge.hll");
    EXPECT_TRUE(main->RF[0]->Enabled());
    EXPECT_EQ(main->RD[0]->Caption(), dir.str() + "/");
    EXPECT_FALSE(main->RF[1]->Enabled());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FileCommands, BadFileKeepsTheHullAndTheRecentListsAndSaysWhy)
{
    const std::string good = SaveBarge("barge.hll");
    AnswerDialog(good);
    main->Open1Click(main->Open1);
    const std::string bad = Garbage("bad.hll");
    AnswerDialog(bad);
    main->Open1Click(main->Open1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Could not open " + bad + ":\nFailure opening Hullform at " + bad +
                            ". Not a hull file: no <HULL> tag");
    EXPECT_EQ(main->Hull.name, "Box Barge");
    EXPECT_EQ(main->Hull.GetAppendageCount(), 1u);
    EXPECT_EQ(main->RF[0]->Caption(), "barge.hll");
    EXPECT_FALSE(main->RF[1]->Enabled());
    EXPECT_EQ(app::PrefForm->RecentFiles.Item(0), good);
}

// The log's file has no place, neither in the current folder (a folder holds its name)
// nor in the user's configuration folder: the reason reaches the user all the same.
TEST_F(FileCommands, TheReasonReachesTheUserWithoutALogFile)
{
    Stop();
    std::filesystem::remove(dir.file("Korvelo.log"));
    std::filesystem::create_directory(dir.file("Korvelo.log"));
    std::filesystem::create_directories(dir.file("config/Korvelo/Korvelo.log"));
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string kept = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
    Start();
    if (old) ::setenv("XDG_CONFIG_HOME", kept.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(main->Hull.log.FilePath(), "");
    const std::string bad = Garbage("bad.hll");
    AnswerDialog(bad);
    main->Open1Click(main->Open1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Could not open " + bad + ":\nFailure opening Hullform at " + bad +
                            ". Not a hull file: no <HULL> tag");
    EXPECT_TRUE(Logged("ERROR: Failure opening Hullform at "));
}

// Each file command that fails shows the reason the model gave it for the failure.
TEST_F(FileCommands, EveryFailedFileCommandShowsItsReason)
{
    const std::string missing = dir.file("no-such-folder");
    const std::string dfh = dir.file("bad.dfh");
    std::ofstream(dfh) << "T\n1,0\n1200,1\n0,2.5x\n";
    const std::string app = dir.file("bad.app");
    std::ofstream(app) << "not an appendage\n";
    struct Case {
        const char* what;
        bool barge;  // the command runs on a hull with one appendage, else on an empty one
        TMenuItem* item;
        std::string path;
        int filter;
        std::string box;  // what the box starts with
    };
    const Case cases[] = {
        {"open", false, main->Open1, Garbage("bad.hll"), 1,
         "Could not open " + dir.file("bad.hll") + ":\nFailure opening Hullform at " + dir.file("bad.hll") +
             ". Not a hull file: no <HULL> tag"},
        {"save", true, main->Save1, missing + "/a.hll", 1,
         "Could not save " + missing + "/a.hll:\nFailure saving Hullform to " + missing + "/a.hll. "},
        {"appendage import", true, main->Appendage1, app, 1,
         "Could not import " + app + ":\nFailed importing Appendage file " + app + ". "},
        {"GF import", false, main->GFFile1, Garbage("bad.gf"), 1,
         "Could not import " + dir.file("bad.gf") + ":\nNo shapes found in GF file " + dir.file("bad.gf")},
        {"DFH import", false, main->GFFile1, dfh, 2,
         "Could not import " + dfh + ":\nFailed importing DFH file " + dfh +
             ". Expected the z of point 1 in frame 0 on line 4 but found \"2.5x\""},
        {"GF export", false, main->GHSGFFile1, dir.file("a.gf"), 1,
         "Could not export the hull to " + dir.file("a.gf") +
             ":\nExporting Hull Korvelo Hullform, too few appendages for GF file format (1<Num Appendages<256)"},
        {"OBJ export", true, main->N3, missing + "/a.obj", 1,
         "Could not export the appendage to " + missing + "/a.obj:\nFailure exporting OBJ file to " + missing + "/a.obj. "},
        {"CRD export", true, main->CuurentFrametocrd1, missing + "/a.crd", 1,
         "Could not export the frame to " + missing + "/a.crd:\nFailure exporting CRD file to " + missing + "/a.crd. "},
        {"appendage export", true, main->CurrentAppendagetoAPPfile1, missing + "/a.app", 1,
         "Could not export the appendage to " + missing + "/a.app:\nFailure saving Appendage file " + missing + "/a.app. "},
        {"FreeShip export", true, main->CurrentAppToFreeShip1, missing + "/a.txt", 1,
         "Could not export the appendage to " + missing + "/a.txt:\nFailure exporting FreeShip file to " + missing +
             "/a.txt. "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        main->Hull.Clear();
        if (c.barge) hulls::MakeBoxBarge(main->Hull);
        main->RefreshAll();
        boxes.clear();
        AnswerDialog(c.path, c.filter);
        c.item->Click();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].substr(0, c.box.size()), c.box);
    }
}

TEST_F(FileCommands, NewAsksOnlyWithChangesAndCancelKeepsTheHull)
{
    hulls::MakeBoxBarge(main->Hull);
    main->N1Click(main->New1);  // no changes: no question
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(main->Hull.name, "Korvelo Hullform");
    EXPECT_DOUBLE_EQ(main->Hull.waterDensity, 1.0);

    hulls::MakeBoxBarge(main->Hull);
    main->SetModified();
    boxAnswers = {mrCancel};
    main->N1Click(main->New1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], kLoseChanges);
    EXPECT_EQ(captions[0], "Confirm Lose Changes");
    EXPECT_EQ(main->Hull.name, "Box Barge");
    EXPECT_TRUE(dialogs.empty());

    // Save saves first; saved, the hull is emptied and nothing is pending.
    const std::string path = dir.file("kept.hll");
    boxAnswers = {mrYes};
    AnswerDialog(path);
    main->N1Click(main->New1);
    EXPECT_TRUE(base::FileExists(path));
    EXPECT_EQ(main->Hull.name, "Korvelo Hullform");
    EXPECT_FALSE(main->Modified());
}

TEST_F(FileCommands, FailedSaveInTheQuestionStopsTheCommand)
{
    hulls::MakeBoxBarge(main->Hull);
    main->SetModified();
    boxAnswers = {mrYes};
    AnswerDialog(dir.file("missing/folder/x.hll"));
    main->N1Click(main->New1);
    ASSERT_EQ(boxes.size(), 2u);
    const std::string path = dir.file("missing/folder/x.hll");
    EXPECT_EQ(boxes[1].rfind("Could not save " + path + ":\nFailure saving Hullform to " + path + ". ", 0), 0u)
        << boxes[1];
    EXPECT_EQ(main->Hull.name, "Box Barge");
    EXPECT_TRUE(main->Modified());
}

TEST_F(FileCommands, OpenAsksAboutChangesFirst)
{
    const std::string path = SaveBarge("barge.hll");
    main->Hull.name = "Edited";
    main->SetModified();
    boxAnswers = {mrCancel};
    AnswerDialog(path);
    main->Open1Click(main->Open1);
    EXPECT_EQ(boxes, std::vector<std::string>{kLoseChanges});
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(main->Hull.name, "Edited");
}

TEST_F(FileCommands, SaveClearsTheModifiedFlagAndFailuresAreShown)
{
    hulls::MakeBoxBarge(main->Hull);
    main->SetModified();
    AnswerDialog(dir.file("saved.hll"));
    main->Save1Click(main->Save1);
    EXPECT_FALSE(main->Modified());
    EXPECT_EQ(main->RF[0]->Caption(), "saved.hll");

    struct Case {
        const char* what;
        TMenuItem* item;
    };
    const Case exports[] = {{"OBJ", main->N3},
                            {"CRD", main->CuurentFrametocrd1},
                            {"app", main->CurrentAppendagetoAPPfile1},
                            {"FreeShip", main->CurrentAppToFreeShip1},
                            {"GF", main->GHSGFFile1},
                            {"hull", main->Save1}};
    for (const Case& c : exports) {
        boxes.clear();
        AnswerDialog(dir.file("missing/out.file"));
        c.item->Click();
        ASSERT_EQ(boxes.size(), 1u) << c.what;
        EXPECT_NE(boxes[0].find("Could not"), std::string::npos) << c.what;
        EXPECT_NE(boxes[0].find("missing/out.file"), std::string::npos) << c.what;
    }
}

TEST_F(FileCommands, AppendageExportsNeedACurrentAppendage)
{
    for (TMenuItem* item : {main->N3, main->CuurentFrametocrd1, main->CurrentAppendagetoAPPfile1,
                            main->CurrentAppToFreeShip1})
        item->Click();
    EXPECT_TRUE(dialogs.empty());
    main->GHSGFFile1->Click();
    EXPECT_EQ(dialogs, std::vector<std::string>{"Export GF File"});
}

TEST_F(FileCommands, ExternalImportReplacesTheHullOnlyOnSuccess)
{
    hulls::MakeBoxBarge(main->Hull);
    const std::string gf = dir.file("barge.gf");
    ASSERT_TRUE(main->Hull.ExportGfFile(gf));

    // Cancelling the dialog keeps the hull.
    CancelDialog();
    main->GFFile1->Click();
    EXPECT_EQ(main->Hull.name, "Box Barge");
    // A file that does not read keeps it too, and says so.
    AnswerDialog(Garbage("bad.gf"));
    main->GFFile1->Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Could not import"), std::string::npos);
    EXPECT_EQ(main->Hull.name, "Box Barge");
    EXPECT_EQ(main->Hull.GetAppendageCount(), 1u);
    EXPECT_FALSE(main->Modified());
    // A good one replaces the hull and counts as a change.
    AnswerDialog(gf);
    main->GFFile1->Click();
    EXPECT_EQ(main->Hull.name, "Box Barge exported from Korvelo");
    EXPECT_EQ(main->Hull.GetAppendageCount(), 1u);
    EXPECT_TRUE(main->Modified());
    EXPECT_EQ(boxes.size(), 1u);
}

// A GF or DFH file that does not read leaves the hull as it was: its model, its name, its
// modified flag and its heel. The box gives the reason, and the log file gains only the
// import's own line.
TEST_F(FileCommands, FailedExternalImportLeavesTheHullAndSaysWhy)
{
    const std::string gf = Garbage("bad.gf");
    const std::string dfh = dir.file("bad.dfh");
    std::ofstream(dfh) << "T\n1,0\n1200,1\n0,2.5x\n";
    struct Case {
        const char* what;
        std::string path;
        int filter;
        std::string reason;
    };
    const Case cases[] = {
        {"GF", gf, 1, "No shapes found in GF file " + gf},
        {"DFH", dfh, 2,
         "Failed importing DFH file " + dfh + ". Expected the z of point 1 in frame 0 on line 4 but found \"2.5x\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hulls::MakeBoxBarge(main->Hull);
        const std::vector<double> upright = main->Hull.appendages[0].frames[2].X;
        main->Hull.name = "Edited";
        main->Hull.waterDensity = 1.1;
        main->Hull.ap = 2;
        main->Hull.fp = 28;
        ASSERT_TRUE(main->Hull.Rotate(7));
        main->SetModified();
        main->RefreshAll();
        const std::string logBefore = LogFile();
        const std::size_t linesBefore = main->Hull.log.Lines().size();
        boxes.clear();
        boxAnswers = {mrNo};  // don't save
        AnswerDialog(c.path, c.filter);
        main->GFFile1->Click();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0], kLoseChanges);
        EXPECT_EQ(boxes[1], "Could not import " + c.path + ":\n" + c.reason);
        EXPECT_EQ(main->Hull.name, "Edited");
        EXPECT_DOUBLE_EQ(main->Hull.waterDensity, 1.1);
        EXPECT_DOUBLE_EQ(main->Hull.ap, 2);
        EXPECT_DOUBLE_EQ(main->Hull.fp, 28);
        ASSERT_EQ(main->Hull.GetAppendageCount(), 1u);
        EXPECT_EQ(main->Hull.appendages[0].name, "Barge");
        EXPECT_EQ(main->Hull.GetTotalOffsetCount(), 11u * 4u);
        EXPECT_TRUE(main->Modified());
        EXPECT_EQ(TreeText(1), " Appendages [1]");
        EXPECT_EQ(LogFile(), logBefore + "ERROR: " + c.reason + "\n");
        EXPECT_EQ(std::vector<std::string>(main->Hull.log.Lines().begin() + std::ptrdiff_t(linesBefore),
                                           main->Hull.log.Lines().end()),
                  std::vector<std::string>{"ERROR: " + c.reason});
        // The heel is kept too: turning back gives the upright offsets again.
        ASSERT_TRUE(main->Hull.Rotate(-7));
        EXPECT_EQ(main->Hull.appendages[0].frames[2].X, upright);
    }
}

// A file that reads replaces the hull; its warnings go to the program's log file, as the
// hull's own lines do.
TEST_F(FileCommands, ExternalImportLogsItsWarningsToTheProgramsLog)
{
    const std::string dfh = dir.file("twice.dfh");
    // The third frame repeats the Y of the first: it is dropped with a warning.
    std::ofstream(dfh) << "T\n3,0\n1200,1\n100,2500\n2400,1\n100,2500\n1200,1\n200,2600\n";
    hulls::MakeBoxBarge(main->Hull);
    main->Hull.fwdMarkY = 3;
    const std::string logBefore = LogFile();
    const std::size_t linesBefore = main->Hull.log.Lines().size();
    AnswerDialog(dfh, 2);
    main->GFFile1->Click();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(main->Hull.name, "Korvelo Hullform");
    EXPECT_DOUBLE_EQ(main->Hull.waterDensity, 1.0);
    EXPECT_DOUBLE_EQ(main->Hull.fwdMarkY, 3);
    ASSERT_EQ(main->Hull.GetAppendageCount(), 1u);
    EXPECT_EQ(main->Hull.appendages[0].GetFrameCount(), 2u);
    EXPECT_TRUE(main->Modified());
    const std::vector<std::string> added(main->Hull.log.Lines().begin() + std::ptrdiff_t(linesBefore),
                                         main->Hull.log.Lines().end());
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].rfind("WARNING: Dropped frame ", 0), 0u) << added[0];
    EXPECT_EQ(LogFile(), logBefore + added[0] + "\n");
}

TEST_F(FileCommands, AppendageImportAddsAndCountsAsAChange)
{
    hulls::MakeBoxBarge(main->Hull);
    const std::string app = dir.file("barge.app");
    ASSERT_TRUE(main->Hull.appendages[0].SaveAppFile(app));
    AnswerDialog(app);
    main->Appendage1->Click();
    EXPECT_EQ(main->Hull.GetAppendageCount(), 2u);
    EXPECT_TRUE(main->Modified());
    EXPECT_EQ(TreeText(1), " Appendages [2]");
}

TEST_F(FileCommands, RecentFileOpensAgainAndMissingEntriesDoNothing)
{
    const std::string path = SaveBarge("barge.hll");
    AnswerDialog(path);
    main->Open1Click(main->Open1);
    main->N1Click(main->New1);
    main->RF[0]->Click();
    EXPECT_EQ(main->Hull.name, "Box Barge");
    std::filesystem::remove(path);
    main->N1Click(main->New1);
    main->RF[0]->Click();
    EXPECT_EQ(main->Hull.name, "Korvelo Hullform");
    EXPECT_TRUE(boxes.empty());
    // The folder entry starts the open dialog there.
    CancelDialog();
    main->RD[0]->Click();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(main->OpenHullDialog->InitialDir, dir.str() + "/");
}

// A recent file that is no longer a hull file: opening it again says why.
TEST_F(FileCommands, ARecentFileThatNoLongerReadsShowsWhy)
{
    const std::string path = SaveBarge("barge.hll");
    AnswerDialog(path);
    main->Open1Click(main->Open1);
    std::ofstream(path) << "<HULL>\n<HULL_NAME>\nCut\n";
    main->RF[0]->Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Could not open " + path + ":\nFailure opening Hullform at " + path +
                            ". File ends inside <HULL_NAME>");
    EXPECT_EQ(main->Hull.name, "Box Barge");
}

TEST_F(FileCommands, ClosingWithChangesAsks)
{
    main->Hull.name = "Edited";
    main->SetModified();
    boxAnswers = {mrCancel};
    main->Close();
    EXPECT_TRUE(main->Visible());
    EXPECT_EQ(boxes, std::vector<std::string>{kLoseChanges});
    boxAnswers = {mrNo};  // Don't Save
    main->Close();
    EXPECT_FALSE(main->Visible());
}

TEST_F(FileCommands, ClosingDuringARunStopsItFirst)
{
    main->BeginRun();
    main->Close();
    EXPECT_TRUE(main->Visible());
    EXPECT_TRUE(main->StopRequested);
    main->EndRun();  // the run has unwound
    EXPECT_FALSE(main->Visible());
}

TEST_F(FileCommands, EverySaveAsksBeforeReplacingAFileAndNoLeavesItAlone)
{
    hulls::MakeBoxBarge(main->Hull);
    main->RefreshAll();
    struct Case {
        const char* what;
        TMenuItem* item;
        const char* file;
    };
    const Case saves[] = {{"hull", main->Save1, "a.hll"},
                          {"OBJ", main->N3, "a.obj"},
                          {"CRD", main->CuurentFrametocrd1, "a.crd"},
                          {"app", main->CurrentAppendagetoAPPfile1, "a.app"},
                          {"FreeShip", main->CurrentAppToFreeShip1, "a.txt"},
                          {"GF", main->GHSGFFile1, "a.gf"},
                          {"report", main->ReportSave[0], "a.csv"},
                          {"graph", main->GraphSave[0], "a.bmp"},
                          {"view", main->SaveBodyPlan1, "v.bmp"}};
    for (const Case& c : saves) {
        const std::string path = dir.file(c.file);
        std::ofstream(path) << "kept\n";
        // No: the file stays as it was.
        boxes.clear();
        boxAnswers = {mrNo};
        AnswerDialog(path);
        c.item->Click();
        ASSERT_EQ(boxes.size(), 1u) << c.what;
        EXPECT_NE(boxes[0].find("replace"), std::string::npos) << c.what << ": " << boxes[0];
        std::ifstream in(path);
        std::string text;
        std::getline(in, text);
        EXPECT_EQ(text, "kept") << c.what;
        // Yes: it is written.
        boxes.clear();
        boxAnswers = {mrYes};
        AnswerDialog(path);
        c.item->Click();
        EXPECT_EQ(boxes.size(), 1u) << c.what;
        std::ifstream again(path);
        std::getline(again, text);
        EXPECT_NE(text, "kept") << c.what;
    }
}

TEST_F(FileCommands, NoInTheSaveBeforeOpeningKeepsTheFileToOpen)
{
    const std::string path = SaveBarge("barge.hll");
    main->Hull.name = "Edited";
    main->SetModified();
    // Save to the question, then the file to open typed into the Save dialog: No to
    // replacing it is a save not made, so the command stops there.
    boxAnswers = {mrYes, mrNo};
    AnswerDialog(path);
    AnswerDialog(path);
    main->Open1Click(main->Open1);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], kLoseChanges);
    EXPECT_NE(boxes[1].find("replace"), std::string::npos) << boxes[1];
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(main->Hull.name, "Edited");
    dialogAnswers.clear();
    main->Hull.Clear();
    EXPECT_TRUE(main->Hull.OpenHullFile(path));  // the file was left as it was
    EXPECT_EQ(main->Hull.name, "Box Barge");
}

// The question before a changed hull is replaced offers Save, Don't Save and Cancel: the
// command goes on only after a save that took place, or after Don't Save.
TEST_F(FileCommands, TheQuestionOffersSaveDontSaveAndCancel)
{
    const std::string other = SaveBarge("other.hll");
    std::vector<std::pair<TMsgDlgBtn, std::string>> offered;
    const TMessageBoxHook fixtureHook = SetMessageBoxHook([&](const TMessageBoxRequest& r) {
        boxes.push_back(r.Text);
        captions.push_back(r.Caption);
        offered = r.ButtonCaptions;
        const int a = boxAnswers.empty() ? int(mrOk) : boxAnswers.front();
        if (!boxAnswers.empty()) boxAnswers.pop_front();
        return a;
    });
    enum { kNone, kConfirm, kCancel };
    struct Case {
        const char* what;
        int answer;
        int saveDialog;
        bool goesOn;
    };
    const Case cases[] = {{"Save", mrYes, kConfirm, true},
                          {"Save, its dialog cancelled", mrYes, kCancel, false},
                          {"Don't Save", mrNo, kNone, true},
                          {"Cancel", mrCancel, kNone, false}};
    int saves = 0;
    for (const Case& c : cases)
        for (const bool open : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (open ? ", Open" : ", New"));
            main->N1Click(main->New1);
            hulls::MakeBoxBarge(main->Hull);
            main->Hull.name = "Edited";
            main->SetModified();
            boxes.clear();
            captions.clear();
            dialogs.clear();
            boxAnswers = {c.answer};
            const std::string saved = dir.file("saved" + std::to_string(++saves) + ".hll");
            if (c.saveDialog == kConfirm) AnswerDialog(saved);
            if (c.saveDialog == kCancel) CancelDialog();
            if (open) AnswerDialog(other);
            if (open) main->Open1Click(main->Open1);
            else main->N1Click(main->New1);
            ASSERT_EQ(boxes, std::vector<std::string>{kLoseChanges});
            EXPECT_EQ(captions[0], "Confirm Lose Changes");
            EXPECT_EQ(offered, (std::vector<std::pair<TMsgDlgBtn, std::string>>{
                                   {mbYes, "&Save"}, {mbNo, "Do&n't Save"}, {mbCancel, "Cancel"}}));
            EXPECT_EQ(base::FileExists(saved), c.saveDialog == kConfirm);
            if (c.goesOn) {
                EXPECT_EQ(main->Hull.name, open ? "Box Barge" : "Korvelo Hullform");
                EXPECT_FALSE(main->Modified());
            } else {
                // Stopped with the hull untouched: no file dialog of the command came up.
                EXPECT_EQ(main->Hull.name, "Edited");
                EXPECT_EQ(main->Hull.GetAppendageCount(), 1u);
                EXPECT_TRUE(main->Modified());
                EXPECT_EQ(dialogs.size(), c.saveDialog == kCancel ? 1u : 0u);
            }
        }
    SetMessageBoxHook(fixtureHook);
    main->SetModified(false);
}

// Esc on the question, in the box on the screen, is Cancel: the hull stays as it was.
TEST_F(FileCommands, EscOnTheQuestionStopsTheCommand)
{
    hulls::MakeBoxBarge(main->Hull);
    main->Hull.name = "Edited";
    main->SetModified();
    const TMessageBoxHook answered = SetMessageBoxHook({});
    std::vector<std::string> buttons;
    KeyToNextMessageBox(VK_ESCAPE, &buttons);
    main->N1Click(main->New1);
    SetMessageBoxHook(answered);
    EXPECT_EQ(main->Hull.name, "Edited");
    EXPECT_TRUE(main->Modified());
    EXPECT_TRUE(dialogs.empty());
    std::sort(buttons.begin(), buttons.end());
    EXPECT_EQ(buttons, (std::vector<std::string>{"&Save", "Cancel", "Do&n't Save"}));
}

TEST_F(FileCommands, ClosingAsksLikeNew)
{
    main->Hull.name = "Edited";
    main->SetModified();
    boxAnswers = {mrYes};
    CancelDialog();  // the save was not made: the window stays
    main->Close();
    EXPECT_TRUE(main->Visible());
    boxAnswers = {mrNo};
    main->Close();
    EXPECT_FALSE(main->Visible());
}

// A hull replaced takes the results of the old one off the result pages.
TEST_F(FileCommands, ReplacingTheHullClearsTheResultPages)
{
    const std::string other = SaveBarge("other.hll");
    app::TRunPages& runs = *main->Runs;
    auto runAll = [&] {
        hulls::MakeBoxBarge(main->Hull);
        main->RefreshAll();
        runs.StartDraftEdit->SetText("1");
        runs.EndDraftEdit->SetText("2");
        runs.DraftStepEdit->SetText("0.5");
        runs.CurveDraughtEdit->SetText("2");
        runs.StartAngleEdit->SetText("0");
        runs.EndAngleEdit->SetText("10");
        runs.AngleStepEdit->SetText("10");
        runs.StartDisp->SetText("100");
        runs.EndDisp->SetText("200");
        runs.DispStep->SetText("100");
        for (auto* b : {runs.RunHydrosButton, runs.RunCrossCurvesButton, runs.RunLongBuoyancyBtn}) {
            b->Click();
            runs.WaitForWorker();
        }
        ASSERT_EQ(runs.HydroGrid->Cells(0, 0), "<B>Table of Hydrostatic Properties for Box Barge");
        ASSERT_GT(runs.CCChart->SeriesCount(), 0);
    };
    auto expectEmpty = [&](const char* what) {
        for (auto kind : {app::rkHydros, app::rkCrossCurves, app::rkLongCurves}) {
            grid::TExStringGrid* g = runs.Grid(kind);
            EXPECT_EQ(g->RowCount(), 5) << what;
            for (int r = 0; r < g->RowCount(); ++r)
                for (int c = 0; c < g->ColCount(); ++c) EXPECT_EQ(g->Cells(c, r), "") << what << " " << c << "," << r;
            chart::TChart* ch = runs.Chart(kind);
            for (int k = 0; k < ch->SeriesCount(); ++k) EXPECT_EQ(ch->GetSeries(k)->Count(), 0) << what;
        }
        EXPECT_EQ(runs.HydroChart->Title().Text(), std::vector<std::string>{"Hydrostatics"}) << what;
    };
    runAll();
    main->N1Click(main->New1);
    expectEmpty("New");
    runAll();
    AnswerDialog(other);
    main->Open1Click(main->Open1);
    expectEmpty("Open");
    runAll();
    std::ofstream(dir.file("one.gf")) << "";
    main->Hull.ExportGfFile(dir.file("one.gf"));
    AnswerDialog(dir.file("one.gf"));
    main->GFFile1Click(main->GFFile1);
    EXPECT_EQ(main->Hull.GetAppendageCount(), 1u);
    expectEmpty("Import");
}

// The half-frame exports (GF, FreeShip) cannot carry offsets at X < 0 that have no mirror:
// the port hull of a catamaran is named in a warning, in the log and to the user, who
// may cancel before anything is written.
TEST_F(FileCommands, HalfFrameExportsWarnOfWhatTheyLeaveOut)
{
    hulls::MakeBoxBarge(main->Hull);
    core::Appendage port = main->Hull.appendages[0];
    port.name = "Port Hull";
    for (core::Section& s : port.frames)
        for (double& x : s.X) x -= 8;
    main->Hull.appendages.push_back(port);
    main->RefreshAll();
    struct Case {
        const char* what;
        TMenuItem* item;
        int appendage;
        const char* file;
        bool warns;
    };
    const Case cases[] = {{"GF", main->GHSGFFile1, 0, "cat.gf", true},
                          {"FreeShip, port", main->CurrentAppToFreeShip1, 1, "port.txt", true},
                          {"FreeShip, barge", main->CurrentAppToFreeShip1, 0, "barge.txt", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        main->CurrentAppendage = c.appendage;
        const std::string path = dir.file(c.file);
        const std::string warning = "WARNING: Appendage \"Port Hull\" has 44 offsets at X < 0 that the " +
                                    std::string(c.item == main->GHSGFFile1 ? "GF" : "FreeShip") +
                                    " file cannot carry (it holds half frames, X >= 0): they are left out";
        // Cancel: nothing is written, not even a dialog shown.
        boxes.clear();
        dialogs.clear();
        boxAnswers = {mrCancel};
        AnswerDialog(path);
        c.item->Click();
        if (c.warns) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].rfind(warning + ".\n", 0), 0u) << boxes[0];
            EXPECT_EQ(main->Hull.log.Lines().back(), warning);
            EXPECT_TRUE(dialogs.empty());
            EXPECT_FALSE(base::FileExists(path));
            // OK: written as before.
            boxes.clear();
            boxAnswers = {mrOk};
            c.item->Click();
            EXPECT_EQ(boxes.size(), 1u);
        } else {
            EXPECT_TRUE(boxes.empty());
            dialogAnswers.clear();
        }
        EXPECT_TRUE(base::FileExists(path));
    }
}

// The first start: window, hull, tree, recent menus and the log.
#include <algorithm>
#include <fstream>

#include "AppFixture.h"
#include "app/AboutForm.h"
#include "app/ArrayDialog.h"
#include "app/LogForm.h"
#include "app/SplitDialog.h"
#include "app/TransformDialog.h"
#include "base/FileUtils.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Shell.h"
#include "widgets/edit/ExCombo.h"
#include "widgets/frame/ExMenus.h"

using namespace platform;

namespace {

std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& start)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind(start, 0) == 0) return i;
    return std::string::npos;
}

}  // namespace

TEST_F(AppTest, FirstStartWithoutSettingsFile)
{
    EXPECT_EQ(main->Caption(), "Korvelo");
    EXPECT_EQ(main->Left(), 287);
    EXPECT_EQ(main->Top(), 254);
    EXPECT_EQ(main->Width(), 700);
    EXPECT_EQ(main->Height(), 500);
    EXPECT_EQ(main->Constraints.MinWidth, 700);
    EXPECT_EQ(main->Constraints.MinHeight, 500);
    EXPECT_EQ(main->Panel3->Width(), 209);
    EXPECT_EQ(main->Panel5->Width(), 209);
    EXPECT_EQ(main->Panel1->Height(), 209);

    EXPECT_EQ(main->Hull.name, "Blank Hullform");
    EXPECT_FALSE(main->Modified());
    TTreeNode* hullNode = main->HullTreeView->Items()->Item(0);
    EXPECT_EQ(Shown(hullNode), "Blank Hullform");
    ASSERT_EQ(hullNode->Count(), 2);
    EXPECT_EQ(Shown(hullNode->Item(0)->Item(0)), " Density = 1.0250 Te/m3");
    EXPECT_EQ(Shown(hullNode->Item(1)), " Appendages [0]");
    EXPECT_EQ(main->DraughtMarkComboBox->ItemIndex(), 0);

    for (int k = 0; k < 5; ++k) {
        EXPECT_FALSE(main->RF[k]->Enabled()) << k;
        EXPECT_FALSE(main->RD[k]->Enabled()) << k;
        EXPECT_EQ(main->RF[k]->Caption(), "- empty -");
        EXPECT_EQ(main->RD[k]->Caption(), "");
    }
    EXPECT_EQ(main->StatusBar->Panels()[0]->Text(), "  Appendage -");
    EXPECT_EQ(main->StatusBar->Panels()[4]->Text(), "X: 0.000m, Y: 0.000m, Z: 0.000m");
    EXPECT_EQ(main->ToolButton14->Hint(), "Move, Scale and Copy");

    // Header, then the hull's lines, then the OpenGL block, in the log file and its list.
    const auto& lines = main->Hull.log.Lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(66, '-'));
    EXPECT_EQ(lines[2], "Logfile initialised.");
    const std::size_t hull = IndexOf(lines, "Hullform class initialised.");
    const std::size_t gl = IndexOf(lines, "OpenGL & Display Driver Properties");
    ASSERT_NE(hull, std::string::npos);
    ASSERT_NE(gl, std::string::npos);
    EXPECT_LT(hull, gl);
    const std::size_t vendor = IndexOf(lines, "OpenGL vendor: ");
    ASSERT_NE(vendor, std::string::npos);
    EXPECT_GT(lines[vendor].size(), std::string("OpenGL vendor: ").size());
    EXPECT_NE(IndexOf(lines, "GLU version: "), std::string::npos);
    EXPECT_TRUE(base::FileExists(dir.file("Korvelo.log")));
    EXPECT_TRUE(boxes.empty());
}

// The window shows before the 3D view's rendering context is made (loading the driver
// takes most of a start): the panel is first painted without one, the idle pass after
// that makes it, writes the OpenGL block in the log and draws the view.
TEST_F(AppTest, TheWindowShowsBeforeThe3DViewsContextIsMade)
{
    Stop();
    app::CreateAppForms();
    main = app::MainForm;
    EXPECT_EQ(main->hRC, nullptr);
    EXPECT_FALSE(main->ContextTried3D());
    std::vector<bool> contextAtPaint;
    TPanel* panel = main->OpenGLPanel;
    const TControl::TWndMethod inner = panel->WindowProc;
    panel->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_PAINT) contextAtPaint.push_back(main->hRC != nullptr);
        inner(m);
    };
    main->Show();
    Application->ProcessMessages();
    EXPECT_EQ(main->hRC, nullptr);  // showing makes none either
    AwaitView3D();
    panel->WindowProc = inner;
    ASSERT_FALSE(contextAtPaint.empty());
    EXPECT_FALSE(contextAtPaint.front());
    ASSERT_NE(main->hRC, nullptr);
    const auto& lines = main->Hull.log.Lines();
    const std::size_t gl = IndexOf(lines, "OpenGL & Display Driver Properties");
    ASSERT_NE(gl, std::string::npos);
    EXPECT_LT(IndexOf(lines, "Hullform class initialised."), gl);
    // The view drew its axes (small at the start camera): the panel is no longer one colour.
    auto b = PaintToBitmap(panel);
    if (const char* dir = std::getenv("KORVELO_SNAPSHOTS")) b->SaveToFile(std::string(dir) + "/startup-3d.bmp");
    int coloured = 0;
    for (int y = 0; y < b->Height(); ++y)
        for (int x = 0; x < b->Width(); ++x) {
            const COLORREF c = ColorToRGB(b->Canvas()->Pixel(x, y));
            if (std::max({GetRValue(c), GetGValue(c), GetBValue(c)}) - std::min({GetRValue(c), GetGValue(c), GetBValue(c)}) > 60)
                ++coloured;
        }
    EXPECT_GT(coloured, 10);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AppTest, ModelDataNamesTheVendorAndVersionOrSaysTheyAreNotAvailable)
{
    main->ModelData1Click(main->ModelData1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("OpenGL vendor: ", 0), 0u);
    const std::size_t version = boxes[0].find("\nOpenGL version: ");
    ASSERT_NE(version, std::string::npos) << boxes[0];
    EXPECT_GT(version, std::string("OpenGL vendor: ").size());
    EXPECT_GT(boxes[0].size(), version + std::string("\nOpenGL version: ").size());
    EXPECT_EQ(boxes[0].find("not available"), std::string::npos);

    HGLRC kept = main->hRC;
    main->hRC = nullptr;  // as when the 3D view got no context
    main->ModelData1Click(main->ModelData1);
    main->hRC = kept;
    EXPECT_EQ(boxes.back(), "OpenGL vendor: not available\nOpenGL version: not available");
}

TEST_F(AppTest, HelpOpensTheFileBesideTheProgramOrSaysItCannot)
{
    std::vector<std::string> opened;
    SetShellExecuteHookForTesting([&](const std::string&, const std::string& file) {
        opened.push_back(file);
        return true;
    });
    // The folder beside the program stands in the test's own scratch folder.
    testsupport::TempDir programDir("korvelo-program");
    app::SetHelpFolderOverride(programDir.str() + "/");
    EXPECT_EQ(app::HelpFolder(Application->ExeName()), programDir.str() + "/");
    const std::string help = programDir.file("Korvelo.hlp");
    ASSERT_TRUE(main->MainMenu1->IsShortCut(VK_F1, 0));  // F1 runs "&Help"
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Korvelo.hlp"), std::string::npos);
    EXPECT_NE(boxes[0].find("could not be opened"), std::string::npos);
    EXPECT_TRUE(opened.empty());

    { std::ofstream(help) << "help"; }
    main->Help1Click(main->Help1);
    SetShellExecuteHookForTesting({});
    app::SetHelpFolderOverride("");
    EXPECT_EQ(app::HelpFolder(Application->ExeName()), base::ExtractFilePath(Application->ExeName()));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], help);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(AppTest, StartMenusAndCloseChangeNoDesktopSetting)
{
    Stop();
    testsupport::TempDir home("korvelo-home");
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string keptXdg = oldXdg ? oldXdg : "";
    setenv("HOME", home.str().c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    Start();
    main->MainMenu1->OpenItem(main->File1);
    Application->ProcessMessages();
    CloseMenus();
    Stop();
    setenv("HOME", oldHome.c_str(), 1);
    if (oldXdg) setenv("XDG_CONFIG_HOME", keptXdg.c_str(), 1);
    // Only the program's own files were written: its settings and its log.
    EXPECT_TRUE(std::filesystem::is_empty(home.path()));
    EXPECT_TRUE(base::FileExists(SettingsFile()));
}

TEST_F(AppTest, ViewMenuHasItsThreeSeparators)
{
    std::vector<std::string> captions;
    for (int i = 0; i < main->View1->Count(); ++i) captions.push_back(main->View1->Items(i)->Caption());
    const std::vector<std::string> want = {"&Save View",
                                           "Import Ref Image...",
                                           "Clear Ref Image",
                                           "-",
                                           "Show Index",
                                           "Always Zoom All",
                                           "-",
                                           "Zoom All",
                                           "Zoom Active Appendage",
                                           "Zoom Active Frame",
                                           "-",
                                           "Snap Offset"};
    EXPECT_EQ(captions, want);
    EXPECT_TRUE(main->View1->Items(3)->IsLine());
}

// Shown before the preferences window exists, the main window keeps its own geometry
// and reads no settings.
TEST_F(AppTest, ShowingWithoutThePreferencesWindowReadsNothing)
{
    app::TPrefForm* prefs = app::PrefForm;
    app::PrefForm = nullptr;
    const int width = main->Width();
    main->FormShow(main);
    app::PrefForm = prefs;
    EXPECT_EQ(main->Width(), width);
}

namespace {

// The windows made after the main window's first paint, in their start-up order.
struct LaterForm {
    const char* name;
    std::function<platform::TCustomForm*()> form;
};
const std::vector<LaterForm>& LaterForms()
{
    static const std::vector<LaterForm> forms = {
        {"TransformDialog", [] { return app::TransformDialog; }},
        {"ArrayDialog", [] { return app::ArrayDialog; }},
        {"SplitDialog", [] { return app::SplitDialog; }},
        {"LogForm", [] { return app::LogForm; }},
        {"AboutForm", [] { return app::AboutForm; }}};
    return forms;
}

}  // namespace

// The main window is painted before the other windows are made: the idle pass after its
// paint makes them, in their start-up order, before the 3D view's context.
TEST_F(AppTest, TheOtherWindowsAreMadeAfterTheFirstPaint)
{
    Stop();
    app::CreateAppForms();
    main = app::MainForm;
    ASSERT_NE(app::PrefForm, nullptr);  // showing the main window reads the preferences
    for (const LaterForm& f : LaterForms()) EXPECT_EQ(f.form(), nullptr) << f.name;

    std::vector<std::string> madeAtPaint;
    bool painted = false;
    TPanel* panel = main->OpenGLPanel;
    const TControl::TWndMethod inner = panel->WindowProc;
    panel->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_PAINT && !painted) {
            painted = true;
            for (const LaterForm& f : LaterForms())
                if (f.form()) madeAtPaint.push_back(f.name);
        }
        inner(m);
    };
    main->Show();
    AwaitView3D();
    panel->WindowProc = inner;
    EXPECT_TRUE(painted);
    EXPECT_TRUE(madeAtPaint.empty());
    std::vector<std::string> order;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        for (const LaterForm& f : LaterForms())
            if (f.form() && Application->Components(i) == f.form()) order.push_back(f.name);
    EXPECT_EQ(order, (std::vector<std::string>{"TransformDialog", "ArrayDialog", "SplitDialog", "LogForm", "AboutForm"}));
    for (const LaterForm& f : LaterForms()) {
        ASSERT_NE(f.form(), nullptr) << f.name;
        EXPECT_EQ(f.form()->Name(), f.name);
        EXPECT_FALSE(f.form()->Visible()) << f.name;
    }
    EXPECT_TRUE(boxes.empty());
}

// A command that shows one of those windows before the idle pass has made it makes it then,
// and does what it does once the window exists.
TEST_F(AppTest, ACommandBeforeTheFirstIdlePassMakesItsWindow)
{
    const struct {
        const char* form;
        std::function<void(app::TMainForm&)> command;
    } cases[] = {
        {"TransformDialog", [](app::TMainForm& m) { m.ToolButton14->Click(); }},
        {"ArrayDialog", [](app::TMainForm& m) { m.ElementArray1->Click(); }},
        {"SplitDialog", [](app::TMainForm& m) { m.Split1->Click(); }},
        {"AboutForm", [](app::TMainForm& m) { m.About2->Click(); }},
    };
    for (const auto& c : cases) {
        const auto f = std::find_if(LaterForms().begin(), LaterForms().end(),
                                    [&](const LaterForm& l) { return std::string(l.name) == c.form; });
        ASSERT_NE(f, LaterForms().end());
        // Once with the windows made by the idle pass, once before it.
        std::vector<std::string> said[2];
        for (int beforeIdle = 0; beforeIdle < 2; ++beforeIdle) {
            Stop();
            app::CreateAppForms();
            main = app::MainForm;
            if (!beforeIdle) {
                main->Show();
                AwaitView3D();
            }
            ASSERT_EQ(f->form() == nullptr, bool(beforeIdle)) << c.form;
            boxes.clear();
            c.command(*main);
            ASSERT_NE(f->form(), nullptr) << c.form;
            EXPECT_TRUE(f->form()->Visible()) << c.form;
            said[beforeIdle] = boxes;
            f->form()->Hide();
        }
        EXPECT_EQ(said[1], said[0]) << c.form;
    }
}

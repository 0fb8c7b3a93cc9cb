#include "app/MainForm.h"

#include <GL/gl.h>

#include "app/AppForms.h"
#include "app/LogForm.h"
#include "app/PrefForm.h"
#include "app/RunPages.h"
#include "app/ToolImages.h"
#include "app/View3D.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Splitter.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Dialogs.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/ImageList.h"
#include "widgets/edit/ExCombo.h"
#include "widgets/edit/ExEdBtn.h"
#include "widgets/edit/ExProgr.h"
#include "widgets/edit/ExToolBtn.h"
#include "widgets/edit/ParamTree.h"
#include "widgets/flat/FlatCheckListBox.h"
#include "widgets/frame/ExMenuStylers.h"
#include "widgets/frame/ExMenus.h"
#include "widgets/frame/ExPageControl.h"
#include "widgets/frame/ExPanel.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/MemoStrings.h"
#include "widgets/plot/PlotGraph.h"
#include "widgets/plot/SyncSplitter.h"

using namespace platform;

namespace app {

namespace {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const std::string& name)
{
    return MakeControl<T>(owner, parent, name);
}

template <class T>
T* MakeDialog(TComponent* owner, const std::string& name, const std::string& title, const std::string& filter,
              const std::string& ext)
{
    T* d = new T(owner);
    d->SetName(name);
    d->Title = title;
    d->Filter = filter;
    d->DefaultExt = ext;
    return d;
}

TAppPanel* MakePanel(TComponent* owner, TWinControl* parent, const std::string& name, TAlign align)
{
    auto* p = Make<TAppPanel>(owner, parent, name);
    p->SetBevelOuter(bvNone);
    p->SetCaption("");
    p->SetAlign(align);
    return p;
}

TMenuItem* CheckItem(TComponent* owner, TMenuItem* parent, const std::string& caption, bool checked)
{
    TMenuItem* m = AddMenuItem(owner, parent, caption);
    m->AutoCheck = true;
    m->SetChecked(checked);
    return m;
}

}  // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("MainForm");
    SetCaption("Korvelo");
    Constraints.MinWidth = 700;
    Constraints.MinHeight = 500;
    SetBounds(287, 254, 700, 500);
    SetShowHint(true);

    FileImageList = new TImageList(this);
    FileImageList->SetName("FileImageList");
    MakeToolImages(*FileImageList);
    // The menu bar first, so that nothing moves under it once the window is laid out.
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    BuildInspector();
    BuildViews();
    BuildDialogs();
    ConnectDialogCommands();
    SetupViews();
    SetupView3D();
    SetupInspector();

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnCloseQuery = [this](TObject* s, bool& can) { FormCloseQuery(s, can); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    Application->OnIdle = [this](TObject* s, bool& done) { RenderOnIdle(s, done); };
    Hull.log.OnWriteFailed = [this](const std::string& notice) { LogWriteFailed(notice); };
}

TMainForm::~TMainForm()
{
    Hull.log.OnWriteFailed = nullptr;  // the closing lines come after the controls are gone
    if (Application && Application->OnIdle) Application->OnIdle = nullptr;
    ReleaseView3D();
}

void TMainForm::LogWriteFailed(const std::string& notice)
{
    StatusBar1->SetSimpleText(notice);
    StatusBar1->SetHint(notice);
    if (LogForm && LogForm->Visible()) LogForm->LogMemo->Lines()->Add(notice);
}

void TMainForm::BuildToolBar()
{
    ToolBar = Make<TToolBar>(this, this, "ToolBar");
    ToolBar->SetAlign(alTop);
    ToolBar->SetFlat(true);
    ToolBar->SetImages(FileImageList);
    auto button = [this](const std::string& name, const std::string& hint, int image, TNotifyEvent click) {
        auto* b = Make<TToolButton>(this, ToolBar, name);
        b->SetHint(hint);
        b->SetImageIndex(image);
        b->OnClick = std::move(click);
        return b;
    };
    auto separator = [this](const std::string& name) {
        auto* b = Make<TToolButton>(this, ToolBar, name);
        b->SetStyle(tbsSeparator);
        b->SetWidth(8);
    };
    ToolButton1 = button("ToolButton1", "New", tiNew, [this](TObject* s) { N1Click(s); });
    ToolButton2 = button("ToolButton2", "Open", tiOpen, [this](TObject* s) { Open1Click(s); });
    ToolButton3 = button("ToolButton3", "Save", tiSave, [this](TObject* s) { Save1Click(s); });
    separator("ToolButton4");
    // The dialogs and the model commands attach their handlers to these buttons.
    ToolButton14 = button("ToolButton14", "Move, Scale and Copy", tiTransform, {});
    ToolButton5 = button("ToolButton5", "Create Multiple Copies", tiArray, {});
    ToolButton11 = button("ToolButton11", "Split Appendage Longitudinally", tiSplit, {});
    ToolButton7 = button("ToolButton7", "Add Appendage", tiAddAppendage, {});
    ToolButton9 = button("ToolButton9", "Delete Current Appendage", tiDeleteAppendage, {});
    ToolButton10 = button("ToolButton10", "Add Frame", tiAddFrame, {});
    ToolButton12 = button("ToolButton12", "Delete Current Frame", tiDeleteFrame, {});
    separator("ToolButton6");
    FitViewsBtn = button("FitViewsBtn", "Zoom All", tiZoomAll, {});
    ToolBar->ArrangeButtons();
}

void TMainForm::BuildStatusBar()
{
    StatusBar = Make<TStatusBar>(this, this, "StatusBar");
    StatusBar->SetAlign(alBottom);
    const std::pair<const char*, int> panels[] = {{"  Appendage -", 70}, {"", 120}, {" Frame -", 48},
                                                  {"", 120}, {"X: 0.000m, Y: 0.000m, Z: 0.000m", 200}, {"", 50}};
    for (const auto& [text, width] : panels) {
        TStatusPanel* p = StatusBar->Panels().Add();
        p->SetText(text);
        p->SetWidth(width);
    }
}

void TMainForm::BuildInspector()
{
    ModelInspector = Make<TAppPageControl>(this, this, "ModelInspector");
    ModelInspector->SetAlign(alLeft);
    ModelInspector->SetWidth(233);
    ModelInspector->SetTabWidth(70);
    ModelInspector->SetTabStyle(frame::tsDotNet);
    HullSheet = AddSheet(this, ModelInspector, "HullSheet", "Hull");
    FramesSheet = AddSheet(this, ModelInspector, "FramesSheet", "Frames");
    OffsetsSheet = AddSheet(this, ModelInspector, "OffsetsSheet", "Offsets");
    StatusBar1 = Make<TStatusBar>(this, HullSheet, "StatusBar1");
    StatusBar1->SetAlign(alBottom);
    StatusBar1->SetSimplePanel(true);
    StatusBar1->SetSizeGrip(false);
    HullTreeView = Make<THullTree>(this, HullSheet, "HullTreeView");
    HullTreeView->SetAlign(alClient);
    FramesListBox = Make<flat::TFlatCheckListBox>(this, FramesSheet, "FramesListBox");
    FramesListBox->SetAlign(alClient);
    // The offsets table goes on OffsetsSheet.
    ModelInspector->SetActivePage(HullSheet);

    MainFormSplitter = Make<TSplitter>(this, this, "MainFormSplitter");
    MainFormSplitter->SetAlign(alLeft);
    MainFormSplitter->SetWidth(3);
    MainFormSplitter->SetLeft(ModelInspector->Left() + ModelInspector->Width());
}

void TMainForm::BuildViews()
{
    ViewControl = Make<TAppPageControl>(this, this, "ViewControl");
    ViewControl->SetAlign(alClient);
    ViewControl->SetTabWidth(80);
    ViewControl->SetTabStyle(frame::tsDotNet);
    ModelViewSheet = AddSheet(this, ViewControl, "ModelViewSheet", "Model View");
    CalculationsSheet = AddSheet(this, ViewControl, "CalculationsSheet", "Calculations");

    ViewMasterPanel = MakePanel(this, ModelViewSheet, "ViewMasterPanel", alClient);
    Panel1 = MakePanel(this, ViewMasterPanel, "Panel1", alTop);
    Panel1->SetHeight(210);
    Splitter1 = Make<TSplitter>(this, ViewMasterPanel, "Splitter1");
    Splitter1->SetAlign(alTop);
    Splitter1->SetHeight(3);
    Splitter1->SetTop(Panel1->Top() + Panel1->Height());
    Panel2 = MakePanel(this, ViewMasterPanel, "Panel2", alClient);

    // A row of views: a fixed-width panel with its view, a splitter, and the rest.
    auto row = [this](TAppPanel* rowPanel, TAppPanel*& left, const std::string& leftName, int width,
                      plot::TPlotGraph*& view, const std::string& viewName, const std::string& hint,
                      plot::TSyncSplitter*& splitter, const std::string& splitterName, TAppPanel*& rest,
                      const std::string& restName) {
        left = MakePanel(this, rowPanel, leftName, alLeft);
        left->SetWidth(width);
        view = Make<plot::TPlotGraph>(this, left, viewName);
        view->SetAlign(alClient);
        view->SetHint(hint);
        splitter = Make<plot::TSyncSplitter>(this, rowPanel, splitterName);
        splitter->SetAlign(alLeft);
        splitter->SetLeft(width);
        rest = MakePanel(this, rowPanel, restName, alClient);
    };
    row(Panel1, Panel3, "Panel3", 209, SectionView, "SectionView", "Body Plan", SyncSplitter1, "SyncSplitter1",
        OpenGLPanel, "OpenGLPanel");
    row(Panel2, Panel5, "Panel5", 207, PlanView, "PlanView", "Plan", SyncSplitter2, "SyncSplitter2", Panel4, "Panel4");
    SideView = Make<plot::TPlotGraph>(this, Panel4, "SideView");
    SideView->SetAlign(alClient);
    SideView->SetHint("Side");
    SyncSplitter1->SetPartner(SyncSplitter2);
    SyncSplitter2->SetPartner(SyncSplitter1);

    BuildCalculations();
    ViewControl->SetActivePage(ModelViewSheet);
}

void TMainForm::BuildCalculations()
{
    HydroPanel = Make<TCaptionPanel>(this, CalculationsSheet, "HydroPanel");
    HydroPanel->Caption().SetVisible(false);
    HydroPanel->SetAlign(alBottom);
    // The progress text has the top row to itself, so that the longest shows whole.
    HydroPanel->SetHeight(64);
    StopButton = Make<edit::TExToolButton>(this, HydroPanel, "StopButton");
    StopButton->SetCaption("Stop");
    StopButton->SetBounds(8, 30, 60, 24);
    StopButton->SetEnabled(false);
    ProgressLabel = Make<TLabel>(this, HydroPanel, "ProgressLabel");
    ProgressLabel->SetCaption("Progress:");
    ProgressLabel->SetBounds(76, 2, 240, 14);
    ProgressBar = Make<edit::TExProgress>(this, HydroPanel, "ProgressBar");
    ProgressBar->SetBounds(76, 34, 110, 18);
    ProgressBar->SetMin(0);
    ProgressBar->SetMax(100);
    TrimEdit = Make<edit::TExEditBtn>(this, HydroPanel, "TrimEdit");
    TrimEdit->SetEditType(edit::etFloat);
    TrimEdit->SetPrecision(5);
    TrimEdit->Signed = true;
    TrimEdit->SetBounds(222, 32, 90, 21);
    TrimEdit->SetLabelCaption("Trim");
    TrimEdit->SetLabelPosition(edit::lpLeftCenter);
    TrimEdit->SetText("0.00000");
    TrimEdit->SetCaption("m");
    TrimEdit->SetButtonWidth(30);
    TrimEdit->SetHint("Enter trim. Button toggles between m and degrees");
    DraughtMarkComboBox = Make<edit::TExComboBox>(this, HydroPanel, "DraughtMarkComboBox");
    DraughtMarkComboBox->SetStyle(csDropDownList);
    DraughtMarkComboBox->SetBounds(322, 32, 124, 21);
    DraughtMarkComboBox->SetLabelCaption("Take Draughts From");
    DraughtMarkComboBox->SetLabelPosition(edit::lpTopLeft);
    for (const char* s : {"Y Origin", "Aft Draught Mark", "Mid Draught Mark", "Fwd Draught Mark"})
        DraughtMarkComboBox->Items().Add(s);
    DraughtMarkComboBox->SetHint("Select locations on Y-Axis from which draughts input should be taken");

    ExPageControl2 = Make<TAppPageControl>(this, CalculationsSheet, "ExPageControl2");
    ExPageControl2->SetAlign(alClient);
    ExPageControl2->SetExTabPosition(tpBottom);
    // The three calculation pages fill these sheets.
    HydroSheet = AddSheet(this, ExPageControl2, "ExTabSheet4", "Hydrostatics");
    CrossCurvesSheet = AddSheet(this, ExPageControl2, "ExTabSheet5", "Cross Curves");
    LongCurvesSheet = AddSheet(this, ExPageControl2, "ExTabSheet6", "Longitudinal Area");
    ExPageControl2->SetActivePage(HydroSheet);
    Runs = std::make_unique<TRunPages>(*this);
}

void TMainForm::BuildMenus()
{
    ExMenuOfficeStyler1 = new frame::TExMenuOfficeStyler(this);
    ExMenuOfficeStyler1->SetName("ExMenuOfficeStyler1");
    ExMenuOfficeStyler1->SetStyle(frame::osOfficeXP);
    MainMenu1 = new frame::TExMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    MainMenu1->SetImages(FileImageList);
    MainMenu1->SetMenuStyler(ExMenuOfficeStyler1);
    TMenuItem* root = MainMenu1->Items();
    auto click = [this](void (TMainForm::*handler)(TObject*)) {
        return TNotifyEvent([this, handler](TObject* s) { (this->*handler)(s); });
    };

    File1 = AddMenuItem(this, root, "&File");
    New1 = AddMenuItem(this, File1, "&New", click(&TMainForm::N1Click), ShortCut('N', ssCtrl));
    Open1 = AddMenuItem(this, File1, "&Open...", click(&TMainForm::Open1Click), ShortCut('O', ssCtrl));
    Save1 = AddMenuItem(this, File1, "&Save...", click(&TMainForm::Save1Click), ShortCut('S', ssCtrl));
    New1->SetImageIndex(tiNew);
    Open1->SetImageIndex(tiOpen);
    Save1->SetImageIndex(tiSave);
    Import1 = AddMenuItem(this, File1, "Import");
    Appendage1 = AddMenuItem(this, Import1, "Ver 1.x Appendage...", click(&TMainForm::Appendage1Click));
    GFFile1 = AddMenuItem(this, Import1, "External Model Files...", click(&TMainForm::GFFile1Click));
    Export1 = AddMenuItem(this, File1, "Export");
    N3 = AddMenuItem(this, Export1, "3D OBJ...", click(&TMainForm::N3Click));
    CuurentFrametocrd1 = AddMenuItem(this, Export1, "Cuurent Frame to crd...", click(&TMainForm::CuurentFrametocrd1Click));
    CurrentAppendagetoAPPfile1 = AddMenuItem(this, Export1, "Current Appendage to *.app file...",
                                      click(&TMainForm::CurrentAppendagetoAPPfile1Click));
    CurrentAppToFreeShip1 = AddMenuItem(this, Export1, "Current Appendage to FreeShip text file...",
                                 click(&TMainForm::CurrentAppToFreeShip1Click));
    GHSGFFile1 = AddMenuItem(this, Export1, "GHS GF File...", click(&TMainForm::GHSGFFile1Click));
    RecentFiles1 = AddMenuItem(this, File1, "Recent Files");
    RecentDirs1 = AddMenuItem(this, File1, "Recent Directories");
    for (int k = 0; k < 5; ++k) {
        RF[k] = AddMenuItem(this, RecentFiles1, "- empty -", click(&TMainForm::RF01Click));
        RF[k]->SetName("RF0" + std::to_string(k + 1));
        RF[k]->Tag = k;
        RD[k] = AddMenuItem(this, RecentDirs1, "- empty -", click(&TMainForm::RD01Click));
        RD[k]->SetName("RD0" + std::to_string(k + 1));
        RD[k]->Tag = k;
    }
    AddMenuItem(this, File1, "-");
    Preferences1 = AddMenuItem(this, File1, "Preferences...", click(&TMainForm::Preferences1Click), ShortCut(VK_F9, 0));
    AddMenuItem(this, File1, "-");
    Exit1 = AddMenuItem(this, File1, "&Exit", click(&TMainForm::Exit1Click), ShortCut('Q', ssCtrl));

    // The dialogs attach to Transform1, ElementArray1 and Split1.
    Model1 = AddMenuItem(this, root, "&Model");
    Transform1 = AddMenuItem(this, Model1, "Transform...", {}, ShortCut('T', ssCtrl));
    ElementArray1 = AddMenuItem(this, Model1, "Create Element Array...", {}, ShortCut('A', ssCtrl));
    Split1 = AddMenuItem(this, Model1, "Split Longitudinally...");
    AddMenuItem(this, Model1, "-");
    ModelData1 = AddMenuItem(this, Model1, "Model Data...", click(&TMainForm::ModelData1Click));
    ShowLogFile1 = AddMenuItem(this, Model1, "View Log File...", click(&TMainForm::ShowLogFile1Click));

    // The views attach their commands here.
    View1 = AddMenuItem(this, root, "View");
    SaveView1 = AddMenuItem(this, View1, "&Save View");
    SaveBodyPlan1 = AddMenuItem(this, SaveView1, "Body Plan...");
    Save3DView1 = AddMenuItem(this, SaveView1, "3D View...");
    SavePlan1 = AddMenuItem(this, SaveView1, "Plan...");
    SaveSide1 = AddMenuItem(this, SaveView1, "Side Elevation...");
    ImportRefImage1 = AddMenuItem(this, View1, "Import Ref Image...");
    ClearRefImage1 = AddMenuItem(this, View1, "Clear Ref Image");
    AddMenuItem(this, View1, "-");
    ShowIndex1 = CheckItem(this, View1, "Show Index", true);
    AlwaysZoomAll1 = CheckItem(this, View1, "Always Zoom All", false);
    AddMenuItem(this, View1, "-");
    ZoomAll1 = AddMenuItem(this, View1, "Zoom All");
    ZoomActiveAppendage1 = AddMenuItem(this, View1, "Zoom Active Appendage");
    ZoomActiveFrame1 = AddMenuItem(this, View1, "Zoom Active Frame");
    AddMenuItem(this, View1, "-");
    SnapOffset1 = AddMenuItem(this, View1, "Snap Offset");

    // The calculation pages attach their Save and Copy commands here.
    Calculations1 = AddMenuItem(this, root, "&Calculations");
    const char* pages[3] = {"Hydrostatics", "Cross Curves", "Longitudinal Curves"};
    for (int i = 0; i < 3; ++i) {
        CalcMenu[i] = AddMenuItem(this, Calculations1, pages[i]);
        ReportMenu[i] = AddMenuItem(this, CalcMenu[i], "Report");
        ReportSave[i] = AddMenuItem(this, ReportMenu[i], "Save");
        ReportCopy[i] = AddMenuItem(this, ReportMenu[i], "Copy Selection to Clipboard");
        AppendReport[i] = CheckItem(this, ReportMenu[i], "Append Report", false);
        ShowActiveAppendages[i] = CheckItem(this, ReportMenu[i], "Show Active Appendages", false);
        GraphMenu[i] = AddMenuItem(this, CalcMenu[i], "Graph");
        GraphSave[i] = AddMenuItem(this, GraphMenu[i], "Save");
        GraphCopy[i] = AddMenuItem(this, GraphMenu[i], "Copy to Clipboard");
        LegendVisible[i] = CheckItem(this, GraphMenu[i], "Legend Visible", true);
    }
    ShowAllDraughts1 = CheckItem(this, ReportMenu[0], "Show All Draughts", false);
    // A menu change reaches the preferences window and the file at once, so the three never disagree.
    for (TMenuItem* m : {ShowIndex1, AlwaysZoomAll1, AppendReport[0], AppendReport[1], ShowAllDraughts1})
        m->OnClick = [](TObject*) {
            if (PrefForm) PrefForm->TakeMenuChecks();
        };

    Help2 = AddMenuItem(this, root, "&Help");
    About2 = AddMenuItem(this, Help2, "About", click(&TMainForm::About2Click));
    AddMenuItem(this, Help2, "-");
    Help1 = AddMenuItem(this, Help2, "&Help", click(&TMainForm::Help1Click), ShortCut(VK_F1, 0));
    MainMenu1->SetForm(this);
}

void TMainForm::BuildDialogs()
{
    auto open = [this](auto&&... a) { return MakeDialog<TOpenDialog>(this, a...); };
    auto save = [this](auto&&... a) { return MakeDialog<TSaveDialog>(this, a...); };
    OpenHullDialog = open("OpenHullDialog", "", "Korvelo Hull File|*.hll", "hll");
    SaveHullDialog = save("SaveHullDialog", "Save To Korvelo XML", "Korvelo Hullform|*.hll", "hll");
    ImportAppendageDialog = open("ImportAppendageDialog", "Import Appendage file", "Appendage File|*.app", "app");
    ImportDialog = open("ImportDialog", "Import GHS File", "GHS File|*.gf|Defcar DFH File|*.dfh", "gf");
    SaveOBJDialog = save("SaveOBJDialog", "Export Generic 3D model of sections", "3D Wavefront OBJ File|*.obj", "obj");
    SaveCRDDialog = save("SaveCRDDialog", "Export Current Frame to ASCII crd File", "ASCII Frame File|*.crd", "crd");
    SaveAppDialog = save("SaveAppDialog", "Export Current Appendage to app File", "Korvelo 1.6 Appendage File|*.app",
                         "app");
    SaveTextDialog = save("SaveTextDialog", "Export Current Appendage to FreeShip File", "FreeShip text files|*.txt",
                          "txt");
    SaveGFDialog = save("SaveGFDialog", "Export GF File", "GHS/AutoHydro Geometry|*.gf", "gf");
}

// --- Life cycle ---

void TMainForm::FormCreate(TObject*)
{
    modified_ = false;
    CurrentAppendage = CurrentFrame = CurrentPoint = 0;
    RefreshAll();
    DraughtMarkComboBox->SetItemIndex(0);
    // The 3D view's context comes after the window is on the screen (RenderOnIdle).
}

bool TMainForm::SetupPixelFormat()
{
    PIXELFORMATDESCRIPTOR pfd;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(hDC, &pfd);
    if (format) SetPixelFormat(hDC, format, &pfd);
    return format != 0;
}

void TMainForm::SetupOpenGL()
{
    hDC = GetDC(OpenGLPanel->Handle());
    if (!hDC) {
        ShowMessage("Failed to obtain Device context for the 3D view");
        Hull.log.Log("OpenGL: Failed to obtain Device context for the 3D view");
        return;
    }
    hRC = SetupPixelFormat() ? wglCreateContext(hDC) : nullptr;
    if (!hRC) {
        ShowMessage("Failed to obtain OpenGL Rendering Context for the 3D view");
        Hull.log.Log("OpenGL: Failed to obtain OpenGL Rendering Context for the 3D view");
        return;
    }
    wglMakeCurrent(hDC, hRC);
    View3D->InitOpenGL();
    Hull.log.WriteOpenGLInfo();
    OpenGLPanelResize(OpenGLPanel);
}

void TMainForm::FormShow(TObject*)
{
    if (PrefForm) {
        PrefForm->ReadSettings();
        PrefForm->ReadGeometry();
    }
    HullSheet->SetVisible(false);
    HullSheet->SetVisible(true);
}

void TMainForm::ApplyGeometry(int left, int top, int width, int height, int bodyPlanWidth, int bodyPlanHeight)
{
    SetBounds(left, top, width, height);
    Panel3->SetWidth(bodyPlanWidth);
    Panel5->SetWidth(bodyPlanWidth);
    Panel1->SetHeight(bodyPlanHeight);
}

void TMainForm::FormCloseQuery(TObject*, bool& CanClose)
{
    if (liveRuns_ > 0) {
        // The run unwinds first; its end closes the window.
        StopRequested = true;
        if (Runs) Runs->StopRun();
        closeAfterRun_ = true;
        CanClose = false;
        return;
    }
    CanClose = ConfirmLoseChanges();
}

void TMainForm::EndRun()
{
    if (liveRuns_ > 0) --liveRuns_;
    if (liveRuns_ == 0 && closeAfterRun_) {
        closeAfterRun_ = false;
        Close();
    }
}

void TMainForm::FormClose(TObject*, TCloseAction&)
{
    // Closing never fails for the settings: a file that cannot be written is reported only.
    if (PrefForm) PrefForm->WriteSettings();
}

void TMainForm::FormDestroy(TObject*)
{
    ReleaseView3D();
    if (hRC) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(hRC);
        hRC = nullptr;
    }
    if (hDC) {
        ReleaseDC(OpenGLPanel->Handle(), hDC);
        hDC = nullptr;
    }
}

// --- Views ---

void TMainForm::RefreshAll()
{
    BuildHullTree();
    FillFramesList();
    DrawAllViews();
    FillOffsetGrid();
    SelectionChanged();
}


}  // namespace app

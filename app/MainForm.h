#pragma once
// The main window: it owns the one hull, the current selection and the shared flags, lays
// out the tool bar, menus, inspector, views and calculation pages, and runs the File,
// Model and Help commands.
#include <functional>
#include <string>
#include <vector>

#include "app/Components.h"
#include "app/ModelEdits.h"
#include "core/Hullform.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/OpenGL.h"

namespace platform {
class TToolBar;
class TToolButton;
class TStatusBar;
class TSplitter;
class TImageList;
class TMenuItem;
class TOpenDialog;
class TSaveDialog;
class TSavePictureDialog;
class TLabel;
class TColorDialog;
class TTreeNode;
}  // namespace platform
namespace plot {
class TPlotGraph;
class TSyncSplitter;
}  // namespace plot
namespace frame {
class TExMainMenu;
class TExMenuOfficeStyler;
class TExPopupMenu;
}  // namespace frame
namespace flat {
class TFlatCheckListBox;
}
namespace edit {
class TExEdit;
class TExEditBtn;
class TExComboBox;
class TExProgress;
class TExToolButton;
}  // namespace edit

namespace app {

class TRunPages;
class TOffsetGrid;

class TMainForm : public platform::TForm {
public:
    explicit TMainForm(platform::TComponent* AOwner);
    ~TMainForm() override;

    // --- Components ---
    platform::TImageList* FileImageList;
    platform::TToolBar* ToolBar;
    platform::TToolButton *ToolButton1, *ToolButton2, *ToolButton3, *ToolButton14, *ToolButton5, *ToolButton11,
        *ToolButton7, *ToolButton9, *ToolButton10, *ToolButton12, *FitViewsBtn;
    platform::TStatusBar* StatusBar;
    TAppPageControl* ModelInspector;
    TAppTabSheet *HullSheet, *FramesSheet, *OffsetsSheet;
    THullTree* HullTreeView;
    platform::TStatusBar* StatusBar1;
    flat::TFlatCheckListBox* FramesListBox;
    platform::TSplitter* MainFormSplitter;
    TAppPageControl* ViewControl;
    TAppTabSheet *ModelViewSheet, *CalculationsSheet;
    TAppPanel *ViewMasterPanel, *Panel1, *Panel2, *Panel3, *Panel4, *Panel5, *OpenGLPanel;
    platform::TSplitter* Splitter1;
    plot::TSyncSplitter *SyncSplitter1, *SyncSplitter2;
    plot::TPlotGraph *SectionView, *PlanView, *SideView;
    TCaptionPanel* HydroPanel;
    edit::TExToolButton* StopButton;
    platform::TLabel* ProgressLabel;
    edit::TExEditBtn* TrimEdit;
    edit::TExProgress* ProgressBar;
    edit::TExComboBox* DraughtMarkComboBox;
    TAppPageControl* ExPageControl2;
    TAppTabSheet *HydroSheet, *CrossCurvesSheet, *LongCurvesSheet;

    frame::TExMainMenu* MainMenu1;
    frame::TExMenuOfficeStyler* ExMenuOfficeStyler1;
    platform::TMenuItem *File1, *New1, *Open1, *Save1, *Import1, *Appendage1, *GFFile1, *Export1, *N3,
        *CuurentFrametocrd1, *CurrentAppendagetoAPPfile1, *CurrentAppToFreeShip1, *GHSGFFile1, *RecentFiles1,
        *RecentDirs1, *Preferences1, *Exit1;
    platform::TMenuItem* RF[5];
    platform::TMenuItem* RD[5];
    platform::TMenuItem *Model1, *Transform1, *ElementArray1, *Split1, *ModelData1, *ShowLogFile1;
    platform::TMenuItem *View1, *SaveView1, *SaveBodyPlan1, *Save3DView1, *SavePlan1, *SaveSide1, *ImportRefImage1,
        *ClearRefImage1, *ShowIndex1, *AlwaysZoomAll1, *ZoomAll1, *ZoomActiveAppendage1, *ZoomActiveFrame1,
        *SnapOffset1;
    platform::TMenuItem* Calculations1;
    // Report and Graph submenus of the three calculation pages: index 0 hydrostatics,
    // 1 cross curves, 2 longitudinal curves.
    platform::TMenuItem *CalcMenu[3], *ReportMenu[3], *GraphMenu[3], *ReportSave[3], *ReportCopy[3],
        *AppendReport[3], *ShowActiveAppendages[3], *GraphSave[3], *GraphCopy[3], *LegendVisible[3];
    platform::TMenuItem* ShowAllDraughts1;
    platform::TMenuItem *Help2, *About2, *Help1;

    platform::TOpenDialog *OpenHullDialog, *ImportAppendageDialog, *ImportDialog;
    platform::TSaveDialog *SaveHullDialog, *SaveOBJDialog, *SaveCRDDialog, *SaveAppDialog, *SaveTextDialog,
        *SaveGFDialog;

    // The calculation pages and their runs.
    std::unique_ptr<TRunPages> Runs;

    // --- Shared state ---
    core::Hullform Hull;
    int CurrentAppendage = 0, CurrentFrame = 0, CurrentPoint = 0;
    bool StopRequested = false;
    std::vector<double> AdditionalAngles, RunAngles;
    // The 3D view's switches, set from the preferences.
    bool ShowAxis = true, ShowCLLines = true, ShowBoundingBoxes = true, ShowSelectionHandles = false;
    platform::HGLRC hRC = nullptr;
    platform::HDC hDC = nullptr;

    // Unsaved changes: set by every change of the model, cleared by a save or a fresh open.
    bool Modified() const { return modified_; }
    // A change also brings the hull's summary in the tree (extents) up to date.
    void SetModified(bool v = true);
    void RefreshHullSummary();

    // Rebuilds the views after a change of the hull's structure.
    void RefreshAll();
    // Views the later parts of the window fill; each is rebuilt from the hull.
    void BuildHullTree();
    void FillFramesList();
    void DrawAllViews();
    void FillOffsetGrid();
    // The current appendage or frame changed: the open model dialogs read it again.
    void SelectionChanged();

    // A calculation run in progress: while any is live, closing stops it first.
    void BeginRun() { ++liveRuns_; }
    void EndRun();
    bool RunLive() const { return liveRuns_ > 0; }

    // Asks before something would lose unsaved changes: true to go on (after a
    // successful save when the user chose to save), false to abandon the command.
    bool ConfirmLoseChanges();
    // Reads a hull file; the hull changes only when the read succeeds. Shows the reason
    // otherwise. Success enters the file in the recent lists.
    bool OpenHull(const std::string& path);
    bool SaveHull(const std::string& path);
    // The window geometry written to and read from the settings file.
    void ApplyGeometry(int left, int top, int width, int height, int bodyPlanWidth, int bodyPlanHeight);

    // --- Event handlers ---
    void FormCreate(platform::TObject* Sender);
    void FormShow(platform::TObject* Sender);
    void FormCloseQuery(platform::TObject* Sender, bool& CanClose);
    void FormClose(platform::TObject* Sender, platform::TCloseAction& Action);
    void FormDestroy(platform::TObject* Sender);
    void N1Click(platform::TObject* Sender);
    void Open1Click(platform::TObject* Sender);
    void Save1Click(platform::TObject* Sender);
    void Appendage1Click(platform::TObject* Sender);
    void GFFile1Click(platform::TObject* Sender);
    void N3Click(platform::TObject* Sender);
    void CuurentFrametocrd1Click(platform::TObject* Sender);
    void CurrentAppendagetoAPPfile1Click(platform::TObject* Sender);
    void CurrentAppToFreeShip1Click(platform::TObject* Sender);
    void GHSGFFile1Click(platform::TObject* Sender);
    void RF01Click(platform::TObject* Sender);
    void RD01Click(platform::TObject* Sender);
    void Exit1Click(platform::TObject* Sender);
    void Preferences1Click(platform::TObject* Sender);
    void ShowLogFile1Click(platform::TObject* Sender);
    void About2Click(platform::TObject* Sender);
    void Help1Click(platform::TObject* Sender);
    void ModelData1Click(platform::TObject* Sender);
    void ToolButton14Click(platform::TObject* Sender);
    void ToolButton5Click(platform::TObject* Sender);
    void Split1Click(platform::TObject* Sender);
    void RenderOnIdle(platform::TObject* Sender, bool& Done);

    // --- 3D view (MainForm3D.cpp) ---
    class TView3D* View3D = nullptr;
    void OpenGLPanelResize(platform::TObject* Sender);
    void OpenGLPanelMouseDown(platform::TObject* Sender, platform::TMouseButton Button, platform::TShiftState Shift,
                              int X, int Y);
    void OpenGLPanelMouseMove(platform::TObject* Sender, platform::TShiftState Shift, int X, int Y);
    void OpenGLPanelMouseUp(platform::TObject* Sender, platform::TMouseButton Button, platform::TShiftState Shift,
                            int X, int Y);
    // One appendage (with its box) or all (with the hull box); the projection; the start camera.
    void SetViewMode3D(bool singleAppendage);
    void SetProjection3D();
    void ResetCamera3D();
    // The 3D view's rendering context is made once the window is on the screen: at the
    // first idle pass after the panel has been painted (the driver takes long to load).
    // Made now when it has not been tried yet; true when there is one.
    bool EnsureContext3D();
    bool ContextTried3D() const { return contextTried3D_; }

    // --- 2D views (MainFormViews.cpp) ---
    platform::TSavePictureDialog* SaveImageDialog = nullptr;
    class TImportRefForm* ImportRefForm = nullptr;
    // Appendage i alone in the views, frame hi red (no frame when hi is out of range).
    void ShowAppendageInViews(int i, int hi);
    void DrawAppendageInViews(int i, int hi);
    // The current frame red over the checked frames of its appendage in grey.
    void DrawBodyPlan();
    void ZoomAll1Click(platform::TObject* Sender);
    void ZoomActiveAppendage1Click(platform::TObject* Sender);
    void ZoomActiveFrame1Click(platform::TObject* Sender);
    void FitViewsBtnClick(platform::TObject* Sender);
    void ShowIndex1Click(platform::TObject* Sender);
    void SectionViewMouseDown(platform::TObject* Sender, platform::TMouseButton Button, platform::TShiftState Shift,
                              int X, int Y);
    void SectionViewMouseMove(platform::TObject* Sender, platform::TShiftState Shift, int X, int Y);
    void SideViewMouseMove(platform::TObject* Sender, platform::TShiftState Shift, int X, int Y);
    void PlanViewMouseMove(platform::TObject* Sender, platform::TShiftState Shift, int X, int Y);
    void SectionViewXLabeling(platform::TObject* Sender, long double Val, std::string& Lbl);
    void BodyPlan1Click(platform::TObject* Sender);
    void Plan1Click(platform::TObject* Sender);
    void SideElevation1Click(platform::TObject* Sender);
    void ImportLines1Click(platform::TObject* Sender);
    void ClearRefImage1Click(platform::TObject* Sender);
    // Makes the body plan's point edits on the current frame (ApplyPointEdit); a test may
    // put a model of its own in its place.
    std::function<core::Result(core::Section&, const PointEdit&)> EditPoint = ApplyPointEdit;
    // The offsets table's first shown row and current row, which point edits keep; the
    // current point stays as it is.
    int OffsetGridTopRow() const;
    void SetOffsetGridRows(int topRow, int row);

    // --- Property tree, frames list and offsets table (MainFormInspector.cpp, MainFormOffsets.cpp) ---
    frame::TExPopupMenu* HullTreePopup = nullptr;
    platform::TImageList* HullTreeImageList = nullptr;
    platform::TMenuItem *AllowEditing1 = nullptr, *WordWrap1 = nullptr, *ExpandAll1 = nullptr,
                        *CollapseAll1 = nullptr, *AddAppendage1 = nullptr, *AddFrame1 = nullptr,
                        *DeleteAppendage1 = nullptr, *DeleteFrame1 = nullptr, *CompleteAppendage1 = nullptr,
                        *CompleteFrame1 = nullptr;
    platform::TColorDialog* ColorDialog = nullptr;
    TOffsetGrid* OffsetGrid = nullptr;
    frame::TExPopupMenu* OffsetGridPopupMenu = nullptr;
    platform::TMenuItem *InsertPoint1 = nullptr, *DeletePoint1 = nullptr, *AddPoint1 = nullptr,
                        *CompleteFrame2 = nullptr, *InsertAtMidpoint1 = nullptr;
    // The hull node, the information node, the appendages node, the last appendage-properties
    // node and the last frames node.
    platform::TTreeNode *HullNode = nullptr, *InfoNode = nullptr, *AppendagesNode = nullptr,
                        *AppPropsNode = nullptr, *FramesNode = nullptr;
    void SelectAppendageNode(int i, bool expand);
    void SelectFrameNode(int i, int j);
    void MoveNodeUp(platform::TTreeNode* node);
    // clicked: the node's first anchor was clicked, which alone flips Active or opens the
    // colour dialog.
    void HullTreeViewChange(platform::TObject* Sender, platform::TTreeNode* Node, bool clicked = false);
    void HullTreeViewChanging(platform::TObject* Sender, platform::TTreeNode* Node, bool& AllowChange);
    void HullTreeViewParamClick(platform::TObject* Sender, platform::TTreeNode* ANode, const std::string& href,
                                std::string& value);
    void HullTreeViewParamChanged(platform::TObject* Sender, platform::TTreeNode* ANode, const std::string& href,
                                  const std::string& oldvalue, const std::string& newvalue);
    void AllowEditing1Click(platform::TObject* Sender);
    void WordWrap1Click(platform::TObject* Sender);
    void ExpandAll1Click(platform::TObject* Sender);
    void CollapseAll1Click(platform::TObject* Sender);
    void AddAppendage1Click(platform::TObject* Sender);
    void AddFrame1Click(platform::TObject* Sender);
    void DeleteAppendage1Click(platform::TObject* Sender);
    void DeleteFrame1Click(platform::TObject* Sender);
    void FramesListBoxClick(platform::TObject* Sender);
    void ModelInspectorChange(platform::TObject* Sender);
    void OffsetGridSelectCell(platform::TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void OffsetGridCellValidate(platform::TObject* Sender, int ACol, int ARow, std::string& Value, bool& Valid);
    void InsertPoint1Click(platform::TObject* Sender);
    void DeletePoint1Click(platform::TObject* Sender);

private:
    void BuildToolBar();
    void BuildStatusBar();
    // The log file stopped taking lines: said in the status bar and the log window.
    void LogWriteFailed(const std::string& notice);
    void BuildInspector();
    void BuildViews();
    void BuildCalculations();
    void BuildMenus();
    void BuildDialogs();
    void ConnectDialogCommands();
    void SetupOpenGL();
    bool SetupPixelFormat();  // on hDC; false when no format fits
    // 2D views (MainFormViews.cpp).
    void SetupViews();
    // The edit's value when it is a number above 0; else a message, and the edit and the
    // result go back to kept.
    double TakePositive(edit::TExEdit* e, double& kept, const std::string& what, const char* format);
    void SnapSteps(double& xStep, double& zStep);
    void ShowCursor(plot::TPlotGraph* view, int kind, int X, int Y);
    void SaveViewAs(plot::TPlotGraph* view, const std::string& title);
    double xSnap_ = 0.01, zSnap_ = 0.01;  // the last snap steps that were accepted
    // 3D view (MainForm3D.cpp).
    void SetupView3D();
    void ReleaseView3D();
    bool MakeCurrent3D();
    // The preferences' "3D Zoom Factor", or the last one accepted.
    double ZoomFactor3D();
    void DrawScene3D();
    // A digest of all the 3D view shows: the model, the camera, the switches and the panel.
    std::size_t SceneKey3D() const;
    std::size_t drawnScene3D_ = 0;  // SceneKey3D of the frame on the panel
    bool sceneDrawn3D_ = false;
    bool panelPainted3D_ = false;  // the panel has been on the screen
    bool contextTried3D_ = false;  // SetupOpenGL has run
    double zoomFactor3D_ = 1.5;

    void SetupInspector();  // MainFormInspector.cpp
    void SetupOffsetGrid();  // MainFormOffsets.cpp
    void ShowCurrentNames();
    // A frame's new Y typed into the tree: the frame and its node move into order.
    void MoveFrameTo(platform::TTreeNode* node, const std::string& typed);
    frame::TExPopupMenu* MakePopup(const std::string& name);
    // Selects appendage i's node (null, with the appendages node expanded, when it has none).
    platform::TTreeNode* SelectAppendageOf(int i);
    core::Section* CurrentSection();  // null when the current frame does not exist
    // Refills the table after a point command, keeping its scroll, with row current.
    void ShowPoint(int row);
    bool building_ = false;  // the tree is being rebuilt: its selection changes mean nothing
    // Runs a save dialog; on a chosen path runs write and reports its failure.
    bool ExportWith(platform::TSaveDialog* dialog, const std::string& what,
                    const std::function<core::Result(const std::string&)>& write);
    // Enters a hull file in the recent lists.
    void RememberFile(const std::string& path);
    // Before a half-frame export (format names the file): logs a warning for each
    // appendage whose offsets at X < 0 the file cannot carry and asks whether to go on.
    bool ConfirmHalfFrames(const std::vector<const core::Appendage*>& appendages, const std::string& format);
    // Shows what failed, with the reason when there is one.
    void ShowFailure(const std::string& what, const std::string& reason);

    bool modified_ = false;
    int liveRuns_ = 0;
    bool closeAfterRun_ = false;
};

}  // namespace app

// The chart message table.
#include "widgets/chart/ChartConst.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace chart {

#define KORVELO_CHART_DEFINE(n) std::string n;
KORVELO_CHART_MESSAGES(KORVELO_CHART_DEFINE)
#undef KORVELO_CHART_DEFINE

std::string ChartMsg_ChartExtension;
void* ChartEnglishLanguage = nullptr;
void* ChartLanguage = nullptr;
bool ChartLanguageHotKeyAtEnd = false;
bool ChartLanguageCanUpper = true;

std::string ChartDefaultFilterExtension() { return "(*." + ChartMsg_ChartExtension + ")|*." + ChartMsg_ChartExtension; }

void ChartSetConstants()
{
    ChartMsg_ChartExtension = "kch";
    ChartMsg_Copyright = "Korvelo chart engine";
    ChartMsg_Test = "Test";
    ChartMsg_LegendFirstValue = "First Legend Value must be > 0";
    ChartMsg_LegendColorWidth = "Legend Color Width";
    ChartMsg_SeriesSetDataSource = "No ParentChart to validate DataSource";
    ChartMsg_SeriesInvDataSource = "No valid DataSource: %s";
    ChartMsg_FillSample = "FillSampleValues NumValues must be > 0";
    ChartMsg_AxisLogDateTime = "DateTime Axis cannot be Logarithmic";
    ChartMsg_AxisLogNotPositive = "Logarithmic Axis Min and Max values should be >= 0";
    ChartMsg_AxisLabelSep = "Labels Separation % must be greater than 0";
    ChartMsg_AxisIncrementNeg = "Axis increment must be >= 0";
    ChartMsg_AxisMinMax = "Axis Minimum Value must be <= Maximum";
    ChartMsg_AxisMaxMin = "Axis Maximum Value must be >= Minimum";
    ChartMsg_AxisLogBase = "Axis Logarithmic Base should be <> 1 and > 0";
    ChartMsg_MaxPointsPerPage = "MaxPointsPerPage must be >= 0";
    ChartMsg_3dPercent = "3D effect percent must be between %d and %d";
    ChartMsg_CircularSeries = "Circular Series dependences are not allowed";
    ChartMsg_WarningHiColor = "Warning Hi Color";
    ChartMsg_DefaultPercentOf = "%s of %s";
    ChartMsg_DefaultPercentOf2 = "%s\rof %s";
    ChartMsg_DefPercentFormat = "##0.## %";
    ChartMsg_DefValueFormat = "#,##0.###";
    ChartMsg_DefLogValueFormat = "#.0 \"x10\" E+0";
    ChartMsg_AxisTitle = "Axis Title";
    ChartMsg_AxisLabels = "Axis Labels";
    ChartMsg_RefreshInterval = "Refresh Interval must be between 0 and 60";
    ChartMsg_SeriesParentNoSelf = "Series.ParentChart is not myself!";
    ChartMsg_GalleryLine = "Line";
    ChartMsg_GalleryPoint = "Point";
    ChartMsg_GalleryArea = "Area";
    ChartMsg_GalleryBar = "Bar";
    ChartMsg_GalleryHorizBar = "Horizontal\rBar";
    ChartMsg_Stack = "Stack";
    ChartMsg_GalleryPie = "Pie";
    ChartMsg_GalleryCircled = "Gallery Circled";
    ChartMsg_GalleryFastLine = "Fast Line";
    ChartMsg_GalleryHorizLine = "Horizontal\rLine";
    ChartMsg_PieSample1 = "Cars";
    ChartMsg_PieSample2 = "Phones";
    ChartMsg_PieSample3 = "Tables";
    ChartMsg_PieSample4 = "Monitors";
    ChartMsg_PieSample5 = "Lamps";
    ChartMsg_PieSample6 = "Keyboards";
    ChartMsg_PieSample7 = "Bikes";
    ChartMsg_PieSample8 = "Chairs";
    ChartMsg_GalleryLogoFont = "Gallery Logo Font";
    ChartMsg_Editing = "Editing";
    ChartMsg_GalleryStandard = "Standard";
    ChartMsg_GalleryExtended = "Gallery Extended";
    ChartMsg_GalleryFunctions = "Gallery Functions";
    ChartMsg_EditChart = "Edit Chart";
    ChartMsg_PrintPreview = "Print Preview";
    ChartMsg_ExportChart = "Export Chart";
    ChartMsg_CustomAxes = "Custom Axes";
    ChartMsg_InvalidEditorClass = "Invalid editor class: %s";
    ChartMsg_MissingEditorClass = "%s has no editor dialog";
    ChartMsg_GalleryArrow = "Gallery Arrow";
    ChartMsg_ExpFinish = "Exp Finish";
    ChartMsg_ExpNext = "Exp Next";
    ChartMsg_GalleryGantt = "Gallery Gantt";
    ChartMsg_GanttSample1 = "Gantt Sample1";
    ChartMsg_GanttSample2 = "Gantt Sample2";
    ChartMsg_GanttSample3 = "Gantt Sample3";
    ChartMsg_GanttSample4 = "Gantt Sample4";
    ChartMsg_GanttSample5 = "Gantt Sample5";
    ChartMsg_GanttSample6 = "Gantt Sample6";
    ChartMsg_GanttSample7 = "Gantt Sample7";
    ChartMsg_GanttSample8 = "Gantt Sample8";
    ChartMsg_GanttSample9 = "Gantt Sample9";
    ChartMsg_GanttSample10 = "Gantt Sample10";
    ChartMsg_ChangeSeriesTitle = "Change Series Title";
    ChartMsg_NewSeriesTitle = "New Series Title";
    ChartMsg_DateTime = "Date Time";
    ChartMsg_TopAxis = "Top Axis";
    ChartMsg_BottomAxis = "Bottom Axis";
    ChartMsg_LeftAxis = "Left Axis";
    ChartMsg_RightAxis = "Right Axis";
    ChartMsg_SureToDelete = "Delete %s ?";
    ChartMsg_DateTimeFormat = "DateTime For&mat:";
    ChartMsg_Default = "Default";
    ChartMsg_ValuesFormat = "Values Format";
    ChartMsg_Maximum = "Maximum";
    ChartMsg_Minimum = "Minimum";
    ChartMsg_DesiredIncrement = "Desired Increment";
    ChartMsg_IncorrectMaxMinValue = "Incorrect Max Min Value";
    ChartMsg_EnterDateTime = "Enter Date Time";
    ChartMsg_SureToApply = "Sure To Apply";
    ChartMsg_SelectedSeries = "Selected Series";
    ChartMsg_RefreshData = "Refresh Data";
    ChartMsg_DefaultFontSize = "8";
    ChartMsg_DefaultEditorSize = "414";
    ChartMsg_DefaultEditorHeight = "347";
    ChartMsg_FunctionAdd = "Function Add";
    ChartMsg_FunctionSubtract = "Function Subtract";
    ChartMsg_FunctionMultiply = "Function Multiply";
    ChartMsg_FunctionDivide = "Function Divide";
    ChartMsg_FunctionHigh = "Function High";
    ChartMsg_FunctionLow = "Function Low";
    ChartMsg_FunctionAverage = "Function Average";
    ChartMsg_GalleryShape = "Gallery Shape";
    ChartMsg_GalleryBubble = "Gallery Bubble";
    ChartMsg_FunctionNone = "Function None";
    ChartMsg_None = "None";
    ChartMsg_PrivateDeclarations = "Private Declarations";
    ChartMsg_PublicDeclarations = "Public Declarations";
    ChartMsg_DefaultFontName = "Arial";
    ChartMsg_CheckPointerSize = "Pointer size must be greater than zero";
    ChartMsg_About = "About";
    tcAdditional = "Additional";
    tcDControls = "Data Controls";
    tcQReport = "QReport";
    ChartMsg_DataSet = "Data Set";
    ChartMsg_AskDataSet = "Ask Data Set";
    ChartMsg_SingleRecord = "Single Record";
    ChartMsg_AskDataSource = "Ask Data Source";
    ChartMsg_Summary = "Summary";
    ChartMsg_FunctionPeriod = "Function Period should be >= 0";
    ChartMsg_WizardTab = "Wizard Tab";
    ChartMsg_ChartWizard = "Chart Wizard";
    ChartMsg_ClearImage = "Clear Image";
    ChartMsg_BrowseImage = "Browse Image";
    ChartMsg_WizardSureToClose = "Wizard Sure To Close";
    ChartMsg_FieldNotFound = "Field %s does not exist";
    ChartMsg_DepthAxis = "Depth Right";
    ChartMsg_PieOther = "Other";
    ChartMsg_ShapeGallery1 = "Shape Gallery1";
    ChartMsg_ShapeGallery2 = "Shape Gallery2";
    ChartMsg_ValuesX = "X";
    ChartMsg_ValuesY = "Y";
    ChartMsg_ValuesPie = "Pie";
    ChartMsg_ValuesBar = "Bar";
    ChartMsg_ValuesAngle = "Angle";
    ChartMsg_ValuesGanttStart = "Values Gantt Start";
    ChartMsg_ValuesGanttEnd = "Values Gantt End";
    ChartMsg_ValuesGanttNextTask = "Values Gantt Next Task";
    ChartMsg_ValuesBubbleRadius = "Values Bubble Radius";
    ChartMsg_ValuesArrowEndX = "Values Arrow End X";
    ChartMsg_ValuesArrowEndY = "Values Arrow End Y";
    ChartMsg_Legend = "Legend";
    ChartMsg_Title = "Title";
    ChartMsg_Foot = "Foot";
    ChartMsg_Period = "Period";
    ChartMsg_PeriodRange = "Period Range";
    ChartMsg_CalcPeriod = "Calc Period";
    ChartMsg_SmallDotsPen = "Small Dots Pen";
    ChartMsg_InvalidChartFile = "Invalid Chart in *." + ChartMsg_ChartExtension + " file";
    ChartMsg_WrongChartFileFormat = "Wrong *." + ChartMsg_ChartExtension + " file format";
    ChartMsg_EmptyChartFile = "Empty *." + ChartMsg_ChartExtension + " file";
    ChartMsg_ChartAxesCategoryName = "Chart Axes Category Name";
    ChartMsg_ChartAxesCategoryDesc = "Chart Axes Category Desc";
    ChartMsg_ChartWallsCategoryName = "Chart Walls Category Name";
    ChartMsg_ChartWallsCategoryDesc = "Chart Walls Category Desc";
    ChartMsg_ChartTitlesCategoryName = "Chart Titles Category Name";
    ChartMsg_ChartTitlesCategoryDesc = "Chart Titles Category Desc";
    ChartMsg_Chart3DCategoryName = "Chart3 DCategory Name";
    ChartMsg_Chart3DCategoryDesc = "Chart3 DCategory Desc";
    ChartMsg_CustomAxesEditor = "Custom Axes Editor";
    ChartMsg_Series = "Series";
    ChartMsg_SeriesList = "Series List";
    ChartMsg_PageOfPages = "Page %d of %d";
    ChartMsg_FileSize = "%d bytes";
    ChartMsg_First = "First";
    ChartMsg_Prior = "Prior";
    ChartMsg_Next = "Next";
    ChartMsg_Last = "Last";
    ChartMsg_Insert = "Insert";
    ChartMsg_Delete = "Delete";
    ChartMsg_Edit = "Edit";
    ChartMsg_Post = "Post";
    ChartMsg_Cancel = "Cancel";
    ChartMsg_All = "All";
    ChartMsg_Index = "Index";
    ChartMsg_Text = "Text";
    ChartMsg_AsBMP = "as &Bitmap";
    ChartMsg_BMPFilter = "Bitmap files (*.bmp)|*.bmp";
    ChartMsg_AsEMF = "as &Metafile";
    ChartMsg_EMFFilter = "Enhanced metafiles (*.emf)|*.emf";
    ChartMsg_ExportPanelNotSet = "Export Panel Not Set";
    ChartMsg_Normal = "Normal";
    ChartMsg_NoBorder = "No Border";
    ChartMsg_Dotted = "Dotted";
    ChartMsg_Colors = "Colors";
    ChartMsg_Filled = "Filled";
    ChartMsg_Marks = "Marks";
    ChartMsg_Stairs = "Stairs";
    ChartMsg_Points = "Points";
    ChartMsg_Height = "Height";
    ChartMsg_Hollow = "Hollow";
    ChartMsg_Point2D = "Point 2D";
    ChartMsg_Triangle = "Triangle";
    ChartMsg_Star = "Star";
    ChartMsg_Circle = "Circle";
    ChartMsg_DownTri = "Down Tri.";
    ChartMsg_Cross = "Cross";
    ChartMsg_Diamond = "Diamond";
    ChartMsg_NoLines = "No Lines";
    ChartMsg_Stack100 = "Stack 100%";
    ChartMsg_Pyramid = "Pyramid";
    ChartMsg_Ellipse = "Ellipse";
    ChartMsg_InvPyramid = "Inv. Pyramid";
    ChartMsg_Sides = "Sides";
    ChartMsg_SideAll = "Side All";
    ChartMsg_Patterns = "Patterns";
    ChartMsg_Exploded = "Exploded";
    ChartMsg_Shadow = "Shadow";
    ChartMsg_SemiPie = "Semi Pie";
    ChartMsg_Rectangle = "Rectangle";
    ChartMsg_VertLine = "Vert Line";
    ChartMsg_HorizLine = "Horiz Line";
    ChartMsg_Line = "Line";
    ChartMsg_Cube = "Cube";
    ChartMsg_DiagCross = "Diag Cross";
    ChartMsg_CanNotFindTempPath = "Can Not Find Temp Path";
    ChartMsg_CanNotCreateTempChart = "Can Not Create Temp Chart";
    ChartMsg_CanNotEmailChart = "Can Not Email Chart";
    ChartMsg_SeriesDelete = "Series Delete: ValueIndex %d out of bounds (0 to %d).";
    ChartMsg_NoSeriesSelected = "No Series Selected";
    ChartMsg_CannotLoadChartFromURL = "Cannot Load Chart From URL";
    ChartMsg_CannotLoadSeriesDataFromURL = "Cannot Load Series Data From URL";
    ChartMsg_AsJPEG = "As JPEG";
    ChartMsg_JPEGFilter = "JPEGFilter";
    ChartMsg_AsGIF = "As GIF";
    ChartMsg_GIFFilter = "GIFFilter";
    ChartMsg_AsPNG = "As PNG";
    ChartMsg_PNGFilter = "PNGFilter";
    ChartMsg_AsPCX = "As PCX";
    ChartMsg_PCXFilter = "PCXFilter";
    ChartMsg_AsVML = "As VML";
    ChartMsg_VMLFilter = "VMLFilter";
    ChartMsg_AskLanguage = "Ask Language";
    ChartMsg_Gradient = "Gradient";
    ChartMsg_WantToSave = "Want To Save";
    ChartMsg_NativeFilter = "Korvelo Chart " + ChartDefaultFilterExtension();
    ChartMsg_Property = "Property";
    ChartMsg_Value = "Value";
    ChartMsg_Yes = "Yes";
    ChartMsg_No = "No";
    ChartMsg_Image = "Image";
    ChartMsg_FunctionCustom = "Function Custom";
    ChartMsg_AsPDF = "As PDF";
    ChartMsg_PDFFilter = "PDFFilter";
    ChartMsg_AsPS = "As PS";
    ChartMsg_PSFilter = "PSFilter";
    ChartMsg_GalleryHorizArea = "Horizontal\rArea";
    ChartMsg_SelfStack = "Self Stacked";
    ChartMsg_DarkPen = "Dark Border";
    ChartMsg_SelectFolder = "Select Folder";
    ChartMsg_BDEAlias = "BDEAlias";
    ChartMsg_ADOConnection = "ADOConnection";
    ChartMsg_Apply = "Apply";
    ChartMsg_AddNewGroup = "Add New Group";
    ChartMsg_ChangeGroupName = "Change Group Name";
    ChartMsg_GroupName = "Group Name";
    ChartMsg_FunctionMedian = "Function Median";
    ChartMsg_FunctionMode = "Function Mode";
    ChartMsg_Options = "Options";
    ChartMsg_DepthTopAxis = "Depth Top";
    ChartMsg_View2D = "View2 D";
    ChartMsg_Outline = "Outline";
    ChartMsg_TextFilter1 = "Text Filter1";
    ChartMsg_TextFilter2 = "Text Filter2";
    ChartMsg_TextFilter3 = "Text Filter3";
    ChartMsg_TextFilter4 = "Text Filter4";
    ChartMsg_TextFilter5 = "Text Filter5";
    ChartMsg_XMLFilter = "XMLFilter";
    ChartMsg_HTMLFilter = "HTMLFilter";
    ChartMsg_ExcelFilter = "Excel Filter";
    ChartMsg_ViewOrthoRight = "View Ortho Right";
    ChartMsg_ViewOrthoLeft = "View Ortho Left";
    ChartMsg_View3DFront = "View3 DFront";
    ChartMsg_View3DRight = "View3 DRight";
    ChartMsg_View3DLeft = "View3 DLeft";
    ChartMsg_AsSVG = "As SVG";
    ChartMsg_SVGFilter = "SVGFilter";
    ChartMsg_SubTitle = "Sub Title";
    ChartMsg_SubFoot = "Sub Foot";
    ChartMsg_SeriesDataInvalid = "Series data stream is damaged or does not fit this series";
    ChartMsg_SeriesLabelTooLong = "Label of point %d is longer than %d characters and cannot be stored";
    ChartMsg_FunctionPeriodNoPoints = "Function Period must be at least 0.5 points";
    ChartMsg_HtmlMissingClose = "Missing > at ";
    ChartMsg_SeriesClassUnknown = "Series type %s is not known and cannot be created";
}

void ChartClearConstants()
{
#define KORVELO_CHART_CLEAR(n) n.clear();
    KORVELO_CHART_MESSAGES(KORVELO_CHART_CLEAR)
#undef KORVELO_CHART_CLEAR
    ChartMsg_ChartExtension.clear();
}

long long ChartFormatArg::AsInt() const
{
    switch (kind_) {
    case Int: return int_;
    case Real: return static_cast<long long>(real_);
    case Text: break;
    }
    try {
        return std::stoll(text_);
    } catch (const std::exception&) {
        return 0;
    }
}

double ChartFormatArg::AsReal() const
{
    switch (kind_) {
    case Int: return static_cast<double>(int_);
    case Real: return real_;
    case Text: break;
    }
    try {
        return std::stod(text_);
    } catch (const std::exception&) {
        return 0;
    }
}

std::string ChartFormatArg::AsText() const
{
    switch (kind_) {
    case Int: return std::to_string(int_);
    case Real: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%g", real_);
        return buf;
    }
    case Text: break;
    }
    return text_;
}

namespace {
// One placeholder through snprintf with a format holding only that placeholder.
template <class T>
std::string FormatOne(const std::string& spec, T value)
{
    const int n = std::snprintf(nullptr, 0, spec.c_str(), value);
    if (n <= 0) return {};
    std::vector<char> buf(std::size_t(n) + 1);
    std::snprintf(buf.data(), buf.size(), spec.c_str(), value);
    return std::string(buf.data(), std::size_t(n));
}
}  // namespace

std::string ChartFormatList(const std::string& message, std::initializer_list<ChartFormatArg> args)
{
    std::string out;
    auto next = args.begin();
    std::size_t i = 0;
    while (i < message.size()) {
        const char c = message[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < message.size() && message[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        // %[flags][width][.precision]conversion
        std::size_t j = i + 1;
        while (j < message.size() && std::strchr("-+ #0", message[j])) ++j;
        while (j < message.size() && std::isdigit(static_cast<unsigned char>(message[j]))) ++j;
        if (j < message.size() && message[j] == '.') {
            ++j;
            while (j < message.size() && std::isdigit(static_cast<unsigned char>(message[j]))) ++j;
        }
        const char conv = j < message.size() ? message[j] : '\0';
        if (!conv || !std::strchr("dusfgeFGEx", conv)) {
            out += c;  // not a placeholder: kept as written
            ++i;
            continue;
        }
        const std::string flags = message.substr(i, j - i);
        if (next != args.end()) {
            const ChartFormatArg& a = *next++;
            switch (conv) {
            case 'd':
            case 'u': out += FormatOne(flags + "lld", a.AsInt()); break;
            case 'x': out += FormatOne(flags + "llx", a.AsInt()); break;
            case 's': out += FormatOne(flags + "s", a.AsText().c_str()); break;
            default: out += FormatOne(flags + conv, a.AsReal()); break;
            }
        }
        i = j + 1;
    }
    return out;
}

namespace {
// Fills the table before any chart exists.
struct Start {
    Start() { ChartSetConstants(); }
} start;
}  // namespace

}  // namespace chart

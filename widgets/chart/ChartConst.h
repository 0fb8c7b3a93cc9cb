#pragma once
// Every text the chart engine shows or raises, replaceable as a set (for a translation).
#include <initializer_list>
#include <string>

#include "base/Exception.h"

namespace chart {

#define KORVELO_CHART_MESSAGES(X) \
    X(ChartMsg_Copyright) \
    X(ChartMsg_Test) \
    X(ChartMsg_LegendFirstValue) \
    X(ChartMsg_LegendColorWidth) \
    X(ChartMsg_SeriesSetDataSource) \
    X(ChartMsg_SeriesInvDataSource) \
    X(ChartMsg_FillSample) \
    X(ChartMsg_AxisLogDateTime) \
    X(ChartMsg_AxisLogNotPositive) \
    X(ChartMsg_AxisLabelSep) \
    X(ChartMsg_AxisIncrementNeg) \
    X(ChartMsg_AxisMinMax) \
    X(ChartMsg_AxisMaxMin) \
    X(ChartMsg_AxisLogBase) \
    X(ChartMsg_MaxPointsPerPage) \
    X(ChartMsg_3dPercent) \
    X(ChartMsg_CircularSeries) \
    X(ChartMsg_WarningHiColor) \
    X(ChartMsg_DefaultPercentOf) \
    X(ChartMsg_DefaultPercentOf2) \
    X(ChartMsg_DefPercentFormat) \
    X(ChartMsg_DefValueFormat) \
    X(ChartMsg_DefLogValueFormat) \
    X(ChartMsg_AxisTitle) \
    X(ChartMsg_AxisLabels) \
    X(ChartMsg_RefreshInterval) \
    X(ChartMsg_SeriesParentNoSelf) \
    X(ChartMsg_GalleryLine) \
    X(ChartMsg_GalleryPoint) \
    X(ChartMsg_GalleryArea) \
    X(ChartMsg_GalleryBar) \
    X(ChartMsg_GalleryHorizBar) \
    X(ChartMsg_Stack) \
    X(ChartMsg_GalleryPie) \
    X(ChartMsg_GalleryCircled) \
    X(ChartMsg_GalleryFastLine) \
    X(ChartMsg_GalleryHorizLine) \
    X(ChartMsg_PieSample1) \
    X(ChartMsg_PieSample2) \
    X(ChartMsg_PieSample3) \
    X(ChartMsg_PieSample4) \
    X(ChartMsg_PieSample5) \
    X(ChartMsg_PieSample6) \
    X(ChartMsg_PieSample7) \
    X(ChartMsg_PieSample8) \
    X(ChartMsg_GalleryLogoFont) \
    X(ChartMsg_Editing) \
    X(ChartMsg_GalleryStandard) \
    X(ChartMsg_GalleryExtended) \
    X(ChartMsg_GalleryFunctions) \
    X(ChartMsg_EditChart) \
    X(ChartMsg_PrintPreview) \
    X(ChartMsg_ExportChart) \
    X(ChartMsg_CustomAxes) \
    X(ChartMsg_InvalidEditorClass) \
    X(ChartMsg_MissingEditorClass) \
    X(ChartMsg_GalleryArrow) \
    X(ChartMsg_ExpFinish) \
    X(ChartMsg_ExpNext) \
    X(ChartMsg_GalleryGantt) \
    X(ChartMsg_GanttSample1) \
    X(ChartMsg_GanttSample2) \
    X(ChartMsg_GanttSample3) \
    X(ChartMsg_GanttSample4) \
    X(ChartMsg_GanttSample5) \
    X(ChartMsg_GanttSample6) \
    X(ChartMsg_GanttSample7) \
    X(ChartMsg_GanttSample8) \
    X(ChartMsg_GanttSample9) \
    X(ChartMsg_GanttSample10) \
    X(ChartMsg_ChangeSeriesTitle) \
    X(ChartMsg_NewSeriesTitle) \
    X(ChartMsg_DateTime) \
    X(ChartMsg_TopAxis) \
    X(ChartMsg_BottomAxis) \
    X(ChartMsg_LeftAxis) \
    X(ChartMsg_RightAxis) \
    X(ChartMsg_SureToDelete) \
    X(ChartMsg_DateTimeFormat) \
    X(ChartMsg_Default) \
    X(ChartMsg_ValuesFormat) \
    X(ChartMsg_Maximum) \
    X(ChartMsg_Minimum) \
    X(ChartMsg_DesiredIncrement) \
    X(ChartMsg_IncorrectMaxMinValue) \
    X(ChartMsg_EnterDateTime) \
    X(ChartMsg_SureToApply) \
    X(ChartMsg_SelectedSeries) \
    X(ChartMsg_RefreshData) \
    X(ChartMsg_DefaultFontSize) \
    X(ChartMsg_DefaultEditorSize) \
    X(ChartMsg_DefaultEditorHeight) \
    X(ChartMsg_FunctionAdd) \
    X(ChartMsg_FunctionSubtract) \
    X(ChartMsg_FunctionMultiply) \
    X(ChartMsg_FunctionDivide) \
    X(ChartMsg_FunctionHigh) \
    X(ChartMsg_FunctionLow) \
    X(ChartMsg_FunctionAverage) \
    X(ChartMsg_GalleryShape) \
    X(ChartMsg_GalleryBubble) \
    X(ChartMsg_FunctionNone) \
    X(ChartMsg_None) \
    X(ChartMsg_PrivateDeclarations) \
    X(ChartMsg_PublicDeclarations) \
    X(ChartMsg_DefaultFontName) \
    X(ChartMsg_CheckPointerSize) \
    X(ChartMsg_About) \
    X(tcAdditional) \
    X(tcDControls) \
    X(tcQReport) \
    X(ChartMsg_DataSet) \
    X(ChartMsg_AskDataSet) \
    X(ChartMsg_SingleRecord) \
    X(ChartMsg_AskDataSource) \
    X(ChartMsg_Summary) \
    X(ChartMsg_FunctionPeriod) \
    X(ChartMsg_WizardTab) \
    X(ChartMsg_ChartWizard) \
    X(ChartMsg_ClearImage) \
    X(ChartMsg_BrowseImage) \
    X(ChartMsg_WizardSureToClose) \
    X(ChartMsg_FieldNotFound) \
    X(ChartMsg_DepthAxis) \
    X(ChartMsg_PieOther) \
    X(ChartMsg_ShapeGallery1) \
    X(ChartMsg_ShapeGallery2) \
    X(ChartMsg_ValuesX) \
    X(ChartMsg_ValuesY) \
    X(ChartMsg_ValuesPie) \
    X(ChartMsg_ValuesBar) \
    X(ChartMsg_ValuesAngle) \
    X(ChartMsg_ValuesGanttStart) \
    X(ChartMsg_ValuesGanttEnd) \
    X(ChartMsg_ValuesGanttNextTask) \
    X(ChartMsg_ValuesBubbleRadius) \
    X(ChartMsg_ValuesArrowEndX) \
    X(ChartMsg_ValuesArrowEndY) \
    X(ChartMsg_Legend) \
    X(ChartMsg_Title) \
    X(ChartMsg_Foot) \
    X(ChartMsg_Period) \
    X(ChartMsg_PeriodRange) \
    X(ChartMsg_CalcPeriod) \
    X(ChartMsg_SmallDotsPen) \
    X(ChartMsg_InvalidChartFile) \
    X(ChartMsg_WrongChartFileFormat) \
    X(ChartMsg_EmptyChartFile) \
    X(ChartMsg_ChartAxesCategoryName) \
    X(ChartMsg_ChartAxesCategoryDesc) \
    X(ChartMsg_ChartWallsCategoryName) \
    X(ChartMsg_ChartWallsCategoryDesc) \
    X(ChartMsg_ChartTitlesCategoryName) \
    X(ChartMsg_ChartTitlesCategoryDesc) \
    X(ChartMsg_Chart3DCategoryName) \
    X(ChartMsg_Chart3DCategoryDesc) \
    X(ChartMsg_CustomAxesEditor) \
    X(ChartMsg_Series) \
    X(ChartMsg_SeriesList) \
    X(ChartMsg_PageOfPages) \
    X(ChartMsg_FileSize) \
    X(ChartMsg_First) \
    X(ChartMsg_Prior) \
    X(ChartMsg_Next) \
    X(ChartMsg_Last) \
    X(ChartMsg_Insert) \
    X(ChartMsg_Delete) \
    X(ChartMsg_Edit) \
    X(ChartMsg_Post) \
    X(ChartMsg_Cancel) \
    X(ChartMsg_All) \
    X(ChartMsg_Index) \
    X(ChartMsg_Text) \
    X(ChartMsg_AsBMP) \
    X(ChartMsg_BMPFilter) \
    X(ChartMsg_AsEMF) \
    X(ChartMsg_EMFFilter) \
    X(ChartMsg_ExportPanelNotSet) \
    X(ChartMsg_Normal) \
    X(ChartMsg_NoBorder) \
    X(ChartMsg_Dotted) \
    X(ChartMsg_Colors) \
    X(ChartMsg_Filled) \
    X(ChartMsg_Marks) \
    X(ChartMsg_Stairs) \
    X(ChartMsg_Points) \
    X(ChartMsg_Height) \
    X(ChartMsg_Hollow) \
    X(ChartMsg_Point2D) \
    X(ChartMsg_Triangle) \
    X(ChartMsg_Star) \
    X(ChartMsg_Circle) \
    X(ChartMsg_DownTri) \
    X(ChartMsg_Cross) \
    X(ChartMsg_Diamond) \
    X(ChartMsg_NoLines) \
    X(ChartMsg_Stack100) \
    X(ChartMsg_Pyramid) \
    X(ChartMsg_Ellipse) \
    X(ChartMsg_InvPyramid) \
    X(ChartMsg_Sides) \
    X(ChartMsg_SideAll) \
    X(ChartMsg_Patterns) \
    X(ChartMsg_Exploded) \
    X(ChartMsg_Shadow) \
    X(ChartMsg_SemiPie) \
    X(ChartMsg_Rectangle) \
    X(ChartMsg_VertLine) \
    X(ChartMsg_HorizLine) \
    X(ChartMsg_Line) \
    X(ChartMsg_Cube) \
    X(ChartMsg_DiagCross) \
    X(ChartMsg_CanNotFindTempPath) \
    X(ChartMsg_CanNotCreateTempChart) \
    X(ChartMsg_CanNotEmailChart) \
    X(ChartMsg_SeriesDelete) \
    X(ChartMsg_NoSeriesSelected) \
    X(ChartMsg_CannotLoadChartFromURL) \
    X(ChartMsg_CannotLoadSeriesDataFromURL) \
    X(ChartMsg_AsJPEG) \
    X(ChartMsg_JPEGFilter) \
    X(ChartMsg_AsGIF) \
    X(ChartMsg_GIFFilter) \
    X(ChartMsg_AsPNG) \
    X(ChartMsg_PNGFilter) \
    X(ChartMsg_AsPCX) \
    X(ChartMsg_PCXFilter) \
    X(ChartMsg_AsVML) \
    X(ChartMsg_VMLFilter) \
    X(ChartMsg_AskLanguage) \
    X(ChartMsg_Gradient) \
    X(ChartMsg_WantToSave) \
    X(ChartMsg_NativeFilter) \
    X(ChartMsg_Property) \
    X(ChartMsg_Value) \
    X(ChartMsg_Yes) \
    X(ChartMsg_No) \
    X(ChartMsg_Image) \
    X(ChartMsg_FunctionCustom) \
    X(ChartMsg_AsPDF) \
    X(ChartMsg_PDFFilter) \
    X(ChartMsg_AsPS) \
    X(ChartMsg_PSFilter) \
    X(ChartMsg_GalleryHorizArea) \
    X(ChartMsg_SelfStack) \
    X(ChartMsg_DarkPen) \
    X(ChartMsg_SelectFolder) \
    X(ChartMsg_BDEAlias) \
    X(ChartMsg_ADOConnection) \
    X(ChartMsg_Apply) \
    X(ChartMsg_AddNewGroup) \
    X(ChartMsg_ChangeGroupName) \
    X(ChartMsg_GroupName) \
    X(ChartMsg_FunctionMedian) \
    X(ChartMsg_FunctionMode) \
    X(ChartMsg_Options) \
    X(ChartMsg_DepthTopAxis) \
    X(ChartMsg_View2D) \
    X(ChartMsg_Outline) \
    X(ChartMsg_TextFilter1) \
    X(ChartMsg_TextFilter2) \
    X(ChartMsg_TextFilter3) \
    X(ChartMsg_TextFilter4) \
    X(ChartMsg_TextFilter5) \
    X(ChartMsg_XMLFilter) \
    X(ChartMsg_HTMLFilter) \
    X(ChartMsg_ExcelFilter) \
    X(ChartMsg_ViewOrthoRight) \
    X(ChartMsg_ViewOrthoLeft) \
    X(ChartMsg_View3DFront) \
    X(ChartMsg_View3DRight) \
    X(ChartMsg_View3DLeft) \
    X(ChartMsg_AsSVG) \
    X(ChartMsg_SVGFilter) \
    X(ChartMsg_SubTitle) \
    X(ChartMsg_SubFoot) \
    X(ChartMsg_SeriesDataInvalid) \
    X(ChartMsg_SeriesLabelTooLong) \
    X(ChartMsg_FunctionPeriodNoPoints) \
    X(ChartMsg_HtmlMissingClose) \
    X(ChartMsg_SeriesClassUnknown)

#define KORVELO_CHART_DECLARE(n) extern std::string n;
KORVELO_CHART_MESSAGES(KORVELO_CHART_DECLARE)
#undef KORVELO_CHART_DECLARE

// The extension of the engine's own chart files.
extern std::string ChartMsg_ChartExtension;

// Nothing reads these four; they are where a replacement message set would hang.
extern void* ChartEnglishLanguage;
extern void* ChartLanguage;
extern bool ChartLanguageHotKeyAtEnd;
extern bool ChartLanguageCanUpper;

// Gives every entry its built-in text.
void ChartSetConstants();
// Empties every entry.
void ChartClearConstants();
// The file-dialog filter of the engine's chart files.
std::string ChartDefaultFilterExtension();

// The chart engine's errors, each carrying a text of the table.
class ChartException : public base::Exception {
public:
    using base::Exception::Exception;
};
class AxisException : public ChartException {
public:
    using ChartException::ChartException;
};
class LegendException : public ChartException {
public:
    using ChartException::ChartException;
};

// One value for a message's placeholder: a whole number, a real or a text.
class ChartFormatArg {
public:
    enum Kind { Int, Real, Text };
    ChartFormatArg(int v) : kind_(Int), int_(v) {}
    ChartFormatArg(long v) : kind_(Int), int_(v) {}
    ChartFormatArg(long long v) : kind_(Int), int_(v) {}
    ChartFormatArg(unsigned v) : kind_(Int), int_(v) {}
    ChartFormatArg(unsigned long v) : kind_(Int), int_(static_cast<long long>(v)) {}
    ChartFormatArg(unsigned long long v) : kind_(Int), int_(static_cast<long long>(v)) {}
    ChartFormatArg(double v) : kind_(Real), real_(v) {}
    ChartFormatArg(const char* v) : kind_(Text), text_(v ? v : "") {}
    ChartFormatArg(const std::string& v) : kind_(Text), text_(v) {}
    Kind kind() const { return kind_; }
    long long AsInt() const;
    double AsReal() const;
    std::string AsText() const;

private:
    Kind kind_;
    long long int_ = 0;
    double real_ = 0;
    std::string text_;
};

// Fills a message's %d, %s and %f/%g/%e placeholders (with flags, width and precision) from
// the list in order; "%%" is a percent sign, a placeholder past the list's end gives nothing
// and any other '%' stays as written.
std::string ChartFormatList(const std::string& message, std::initializer_list<ChartFormatArg> args);

template <class... Args>
std::string ChartFormat(const std::string& message, const Args&... args)
{
    return ChartFormatList(message, {ChartFormatArg(args)...});
}

}  // namespace chart

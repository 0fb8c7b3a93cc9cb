// The records of the binary cell stream and the published properties of what they carry:
// a cell's properties, its graphic, and the file picture.
#include "widgets/grid/ExGridStreamRecords.h"

#include "base/StringList.h"
#include "platform/Streaming.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Icon.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExGridBinIO.h"

using namespace platform;

namespace grid {

using namespace binio;

// ---------------------------------------------------------------- published properties

void TCellProperties::GetPublished(TPropertyList& L)
{
    TPersistent::GetPublished(L);
    L.Integer("OwnerCol", OwnerCol);
    L.Integer("OwnerRow", OwnerRow);
    L.Enumeration("BrushStyle",
                  {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross",
                   "bsDiagCross"},
                  [this] { return int(BrushStyle); }, [this](int v) { BrushStyle = TBrushStyle(v); })
        .SetDefault(bsSolid);
    L.Color("BrushColor", [this] { return std::int64_t(brushColor_); }, [this](std::int64_t v) { brushColor_ = TColor(v); });
    L.Color("BrushColorTo", [this] { return std::int64_t(brushColorTo_); },
            [this](std::int64_t v) { brushColorTo_ = TColor(v); });
    L.Integer("FontSize", FontSize);
    L.Color("FontColor", [this] { return std::int64_t(FontColor); }, [this](std::int64_t v) { FontColor = TColor(v); });
    L.Set("FontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, [this] { return FontStyle & 15u; },
          [this](std::uint32_t v) { FontStyle = v; });
    L.Integer("CellSpanY", CellSpanY);
    L.Integer("CellSpanX", CellSpanX);
    L.Integer("BorderWidth", BorderWidth);
    L.Color("BorderColor", [this] { return std::int64_t(BorderColor); }, [this](std::int64_t v) { BorderColor = TColor(v); });
    L.Enumeration("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, [this] { return int(Alignment); },
                  [this](int v) { Alignment = TAlignment(v); });
    L.Enumeration("VAlignment", {"vtaTop", "vtaCenter", "vtaBottom"}, [this] { return int(vAlignment_); },
                  [this](int v) { vAlignment_ = TVAlignment(v); });
    L.Boolean("WordWrap", wordWrap_);
    L.Boolean("IsBaseCell", IsBaseCell);
    L.Integer("NodeLevel", NodeLevel);
    L.Enumeration("Editor",
                  {"edNormal", "edSpinEdit", "edComboEdit", "edComboList", "edEditBtn", "edCheckBox", "edDateEdit",
                   "edDateEditUpDown", "edTimeEdit", "edButton", "edDataCheckBox", "edNumeric", "edPositiveNumeric",
                   "edFloat", "edCapital", "edMixedCase", "edPassword", "edUnitEditBtn", "edLowerCase", "edUpperCase",
                   "edFloatSpinEdit", "edTimeSpinEdit", "edDateSpinEdit", "edNumericEditBtn", "edFloatEditBtn",
                   "edCustom", "edRichEdit", "edNone", "edUniEdit", "edUniComboEdit", "edUniComboList"},
                  [this] { return int(Editor); }, [this](int v) { Editor = TEditorType(v); });
    L.String("FontName", FontName);
    L.Boolean("ReadOnly", ReadOnly);
    // the footer's calculation of the cell
    L.Integer("CalcType", CalcType).SetDefault(0);
}

void TCellGraphic::GetPublished(TPropertyList& L)
{
    TPersistent::GetPublished(L);
    L.Enumeration("CellType",
                  {"ctBitmap", "ctIcon", "ctNone", "ctImageList", "ctCheckBox", "ctDataCheckBox", "ctRotated",
                   "ctDataImage", "ctNode", "ctRadio", "ctEmpty", "ctImages", "ctPicture", "ctFilePicture", "ctValue",
                   "ctProgress", "ctComment", "ctButton", "ctBitButton", "ctVirtCheckBox", "ctProgressPie",
                   "ctSummary"},
                  [this] { return int(CellType); }, [this](int v) { CellType = TCellType(v); });
    L.Enumeration("CellVAlign", {"vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull"},
                  [this] { return int(CellVAlign); }, [this](int v) { CellVAlign = TCellVAlign(v); });
    L.Enumeration("CellHAlign", {"haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull"},
                  [this] { return int(CellHAlign); }, [this](int v) { CellHAlign = TCellHAlign(v); });
    L.Integer("CellIndex", CellIndex);
    L.Boolean("CellTransparent", CellTransparent);
    L.Boolean("CellCreated", CellCreated);
    L.Boolean("CellBoolean", CellBoolean);
    L.Integer("CellAngle", CellAngle);
    L.Float("CellValue", CellValue);
    L.Integer("CellErrFrom", [this] { return std::int64_t(CellErrFrom); },
              [this](std::int64_t v) { CellErrFrom = short(v); }, otSWord);
    L.Integer("CellErrLen", [this] { return std::int64_t(CellErrLen); }, [this](std::int64_t v) { CellErrLen = short(v); },
              otSWord);
    L.String("CellText", CellText);
    // the colours of progress bars
    L.Color("CellColor", [this] { return std::int64_t(CellColor); }, [this](std::int64_t v) { CellColor = unsigned(v); })
        .SetDefault(0);
    L.Color("CellColor2", [this] { return std::int64_t(CellColor2); },
            [this](std::int64_t v) { CellColor2 = unsigned(v); })
        .SetDefault(0);
}

// Streams restore the name and the size it had without reading the file.
void TFilePicture::GetPublished(TPropertyList& L)
{
    TPersistent::GetPublished(L);
    L.String("Filename", filename_);
    L.Integer("Width", width_);
    L.Integer("Height", height_);
}

// ---------------------------------------------------------------- records

void TGridPropIO::GetPublished(TPropertyList& L)
{
    TComponent::GetPublished(L);
    L.Integer("ColCount", ColCount);
    L.Integer("RowCount", RowCount);
    L.String("ColWidths", ColWidths);
    L.String("RowHeights", RowHeights);
    L.Boolean("FullGrid", FullGrid);
    L.Integer("ID", ID);
}

void TGridCellIO::GetPublished(TPropertyList& L)
{
    TComponent::GetPublished(L);
    L.Integer("Col", Col);
    L.Integer("Row", Row);
    L.String("Cell", Cell);
    L.Boolean("HasProp", HasProp);
}

TGridCellPropIO::TGridCellPropIO(TExStringGrid* AOwner)
    : TComponent(AOwner), props_(std::make_unique<TCellProperties>(AOwner, 0, 0))
{
}

TGridCellPropIO::~TGridCellPropIO() = default;

void TGridCellPropIO::GetPublished(TPropertyList& L)
{
    TComponent::GetPublished(L);
    L.Object("CellProperties", [this] { return props_.get(); });
    L.Boolean("HasGraphic", HasGraphic);
}

void TGridCellPropIO::Check() const
{
    const TCellProperties& p = *props_;
    if (p.CellSpanX < -1 || p.CellSpanX > kMaxCols || p.CellSpanY < -1 || p.CellSpanY > kMaxRows || p.FontSize < 0 ||
        p.FontSize > 1000 || p.BorderWidth < 0 || p.BorderWidth > 1000 || p.NodeLevel < 0 || p.NodeLevel > kMaxRows)
        throw EExGridError("Grid stream holds bad cell properties");
}

namespace {

// What the stream carries of a cell's properties; the owner cell, user object, control
// and graphic stay.
void CopyStreamed(const TCellProperties& s, TCellProperties& P)
{
    P.BrushStyle = s.BrushStyle;
    P.SetBrushColor(s.BrushColor());
    P.SetBrushColorTo(s.BrushColorTo());
    P.FontSize = s.FontSize;
    P.FontColor = s.FontColor;
    P.FontStyle = s.FontStyle;
    P.CellSpanX = s.CellSpanX;
    P.CellSpanY = s.CellSpanY;
    P.BorderWidth = s.BorderWidth;
    P.BorderColor = s.BorderColor;
    P.Alignment = s.Alignment;
    P.SetVAlignment(s.VAlignment());
    P.SetWordWrap(s.WordWrap());
    P.IsBaseCell = s.IsBaseCell;
    P.NodeLevel = s.NodeLevel;
    P.Editor = s.Editor;
    P.ReadOnly = s.ReadOnly;
    P.CalcType = s.CalcType;
    P.FontName = s.FontName;
}

}  // namespace

void TGridCellPropIO::TakeFrom(const TCellProperties& P)
{
    CopyStreamed(P, *props_);
    props_->OwnerCol = P.OwnerCol;
    props_->OwnerRow = P.OwnerRow;
}

void TGridCellPropIO::ApplyTo(TCellProperties& P) const { CopyStreamed(*props_, P); }

TGridGraphicIO::TGridGraphicIO(TComponent* AOwner) : TComponent(AOwner), graphic_(std::make_unique<TCellGraphic>()) {}

TGridGraphicIO::~TGridGraphicIO() = default;

void TGridGraphicIO::GetPublished(TPropertyList& L)
{
    TComponent::GetPublished(L);
    L.Object("CellGraphic", [this] { return graphic_.get(); });
}

TGridBMPIO::TGridBMPIO(TComponent* AOwner) : TComponent(AOwner), bitmap_(std::make_unique<TBitmap>()) {}

TGridBMPIO::~TGridBMPIO() = default;

void TGridBMPIO::GetPublished(TPropertyList& L)
{
    TComponent::GetPublished(L);
    L.Object("Bitmap", [this] { return bitmap_.get(); });
}

TGridIconIO::TGridIconIO(TComponent* AOwner) : TComponent(AOwner), icon_(std::make_unique<TIcon>()) {}

TGridIconIO::~TGridIconIO() = default;

void TGridIconIO::GetPublished(TPropertyList& L)
{
    TComponent::GetPublished(L);
    L.Object("Icon", [this] { return icon_.get(); });
}

TGridPicIO::TGridPicIO(TComponent* AOwner) : TComponent(AOwner), picture_(std::make_unique<TPicture>()) {}

TGridPicIO::~TGridPicIO() = default;

void TGridPicIO::GetPublished(TPropertyList& L)
{
    TComponent::GetPublished(L);
    L.Object("Picture", [this] { return picture_.get(); });
}

TGridFilePicIO::TGridFilePicIO(TComponent* AOwner) : TComponent(AOwner), picture_(std::make_unique<TFilePicture>()) {}

TGridFilePicIO::~TGridFilePicIO() = default;

void TGridFilePicIO::GetPublished(TPropertyList& L)
{
    TComponent::GetPublished(L);
    L.Object("Picture", [this] { return picture_.get(); });
}

TGridSLIO::TGridSLIO(TComponent* AOwner) : TComponent(AOwner), strings_(std::make_unique<base::TStringList>()) {}

TGridSLIO::~TGridSLIO() = default;

void TGridSLIO::GetPublished(TPropertyList& L)
{
    TComponent::GetPublished(L);
    L.Strings("Strings", [this] { return strings_.get(); });
}

}  // namespace grid

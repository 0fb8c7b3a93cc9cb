// Cell graphics: attaching, querying and removing them, check boxes, buttons, markers,
// and node rows that fold the rows below them into the hidden-row store.
#include <algorithm>
#include <cmath>
#include <functional>

#include "base/StringList.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/ImageList.h"
#include "widgets/grid/ExObj.h"
#include "widgets/grid/CellGraphic.h"
#include "widgets/grid/ExGrid.h"

namespace grid {

using namespace platform;

TSize TCellGraphic::GetPictureSize(int CellWidth, int CellHeight, bool) const
{
    int nw = 0, nh = 0;
    if (CellType == ctPicture) {
        if (auto* p = dynamic_cast<const TPicture*>(CellGraphicRef)) nw = p->Width(), nh = p->Height();
    } else if (CellType == ctFilePicture) {
        if (auto* p = dynamic_cast<const TFilePicture*>(CellGraphicRef)) nw = p->Width(), nh = p->Height();
    } else {
        return {0, 0};
    }
    const int rw = CellWidth - CellIndex, rh = CellHeight - CellIndex;
    const bool fits = nw <= rw && nh <= rh;
    auto aspect = [&](bool limit) {
        double rx = nw < 1 ? 1 : double(rw) / nw, ry = nh < 1 ? 1 : double(rh) / nh;
        if (limit) rx = std::min(rx, 1.0), ry = std::min(ry, 1.0);
        if (rx >= ry) return TSize{int(std::lround(nw * ry)), limit ? int(std::lround(nh * ry)) : rh};
        return TSize{limit ? int(std::lround(nw * rx)) : rw, int(std::lround(nh * rx))};
    };
    switch (TStretchMode(CellAngle)) {
    case Stretch: return {rw, rh};
    case StretchWithAspectRatio: return aspect(false);
    case Shrink: return fits ? TSize{nw, nh} : TSize{rw, rh};
    case ShrinkWithAspectRatio: return fits ? TSize{nw, nh} : aspect(true);
    default: return {nw, nh};
    }
}

TRect TCellGraphic::Place(const TRect& cell, int W, int H, int t, bool textLeft, bool textRight) const
{
    TRect r;
    switch (CellHAlign) {
    case haRight: r.Left = cell.Right - 1 - W; break;
    case haCenter: r.Left = W < cell.Width() ? cell.Left + (cell.Width() - W) / 2 : cell.Left + 1; break;
    case haBeforeText: r.Left = textLeft ? cell.Left + 1 : std::max(cell.Right - t - W, cell.Left + 1); break;
    case haAfterText: r.Left = textRight ? cell.Right - 1 - W : cell.Left + t; break;
    default: r.Left = cell.Left + 1; break;
    }
    r.Right = r.Left + W;
    switch (CellVAlign) {
    case vaBottom: r.Top = cell.Bottom - 1 - H; break;
    case vaCenter: r.Top = H < cell.Height() ? cell.Top + (cell.Height() - H) / 2 : cell.Top + 1; break;
    case vaUnderText: r.Top = cell.Bottom - H; break;
    default: r.Top = cell.Top + 1; break;
    }
    r.Bottom = r.Top + H;
    if (CellHAlign == haFull) r.Left = cell.Left, r.Right = cell.Right;
    if (CellVAlign == vaFull) r.Top = cell.Top, r.Bottom = cell.Bottom;
    return r;
}

void TCellGraphic::SetAngle(int Angle)
{
    CellType = ctRotated;
    Angle = short(Angle);
    while (Angle < 0) Angle += 360;
    while (Angle > 360) Angle -= 360;
    CellAngle = Angle;
}

void TCellGraphic::SetBitmap(TBitmap* Bitmap, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign)
{
    CellType = ctBitmap;
    CellGraphicRef = Bitmap;
    CellTransparent = Transparent;
    CellHAlign = HAlign;
    CellVAlign = VAlign;
}

void TCellGraphic::SetIcon(TIcon* Icon, TCellHAlign HAlign, TCellVAlign VAlign)
{
    CellType = ctIcon;
    CellIconRef = Icon;
    CellHAlign = HAlign;
    CellVAlign = VAlign;
}

void TCellGraphic::SetPicture(TPicture* Picture, bool Transparent, TStretchMode StretchMode, int Padding,
                              TCellHAlign HAlign, TCellVAlign VAlign)
{
    CellType = ctPicture;
    CellGraphicRef = Picture;
    CellTransparent = Transparent;
    CellAngle = StretchMode;
    CellIndex = Padding;
    CellHAlign = HAlign;
    CellVAlign = VAlign;
}

void TCellGraphic::SetFilePicture(TFilePicture* Picture, bool Transparent, TStretchMode StretchMode, int Padding,
                                  TCellHAlign HAlign, TCellVAlign VAlign)
{
    SetPicture(nullptr, Transparent, StretchMode, Padding, HAlign, VAlign);
    CellType = ctFilePicture;
    CellGraphicRef = Picture;
}

void TCellGraphic::SetImageIdx(int Index, TCellHAlign HAlign, TCellVAlign VAlign)
{
    CellType = ctImageList;
    CellIndex = Index;
    CellHAlign = HAlign;
    CellVAlign = VAlign;
}

void TCellGraphic::SetDataImage(int Offset, TCellHAlign HAlign, TCellVAlign VAlign)
{
    SetImageIdx(Offset, HAlign, VAlign);
    CellType = ctDataImage;
}

void TCellGraphic::SetMultiImage(int ACol, int ARow, int Direction, TCellHAlign HAlign, TCellVAlign VAlign,
                                 std::function<void(TIntList*, int, int)> OnChange)
{
    if (CellType == ctImages) delete CellGraphicRef;
    auto* list = new TIntList(ACol, ARow);
    list->OnChange = std::move(OnChange);
    CellType = ctImages;
    CellGraphicRef = list;
    CellCreated = true;
    CellBoolean = Direction == 0;
    CellHAlign = HAlign;
    CellVAlign = VAlign;
}

void TCellGraphic::SetCheckBox(bool State, bool Data, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign)
{
    CellType = Data ? ctDataCheckBox : ctCheckBox;
    CellBoolean = State;
    CellTransparent = Transparent;
    CellHAlign = HAlign;
    CellVAlign = VAlign;
}

void TCellGraphic::SetButton(int Width, int Height, const std::string& Caption, TCellHAlign HAlign,
                             TCellVAlign VAlign)
{
    CellType = ctButton;
    CellIndex = (Width & 0xFFFF) | (Height << 16);
    CellText = Caption;
    CellHAlign = HAlign;
    CellVAlign = VAlign;
    CellBoolean = false;
}

void TCellGraphic::SetBitButton(int Width, int Height, const std::string& Caption, TBitmap* Glyph,
                                TCellHAlign HAlign, TCellVAlign VAlign)
{
    SetButton(Width, Height, Caption, HAlign, VAlign);
    CellType = ctBitButton;
    CellGraphicRef = Glyph;
}

// ---------------------------------------------------------------- cell graphics

TCellGraphic* TExStringGrid::CreateCellGraphic(int ACol, int ARow)
{
    auto* g = new TCellGraphic;
    SetGraphicObjectEx(ACol, ARow, g);
    const int d = RemapColInv(ACol);
    RepaintCell(d, ARow);
    return g;
}

TCellGraphic* TExStringGrid::GetCellGraphic(int ACol, int ARow) const { return GetGraphicObjectEx(ACol, ARow); }

TCellType TExStringGrid::GetCellType(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0) return ctEmpty;
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g ? g->CellType : ctEmpty;
}

bool TExStringGrid::FreeCellGraphic(int ACol, int ARow)
{
    TCellProperties* p = CellProps(ACol, ARow);
    if (!p || !p->Graphic()) return false;
    p->SetGraphic(nullptr);
    RepaintCell(RemapColInv(ACol), ARow);
    return true;
}

bool TExStringGrid::RemoveCellGraphic(int ACol, int ARow, TCellType CellType)
{
    return GetCellType(ACol, ARow) == CellType && FreeCellGraphic(ACol, ARow);
}

void TExStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = Data ? ctDataCheckBox : ctCheckBox;
    g->CellBoolean = State;
    g->CellTransparent = true;
    if (Data) SetCellEx(ACol, ARow, State ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow));
}

bool TExStringGrid::GetCheckBoxState(int ACol, int ARow, bool& State)
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    if (g->CellType == ctCheckBox) State = g->CellBoolean;
    else if (g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox)
        State = GetCellEx(ACol, ARow) == GetCheckTrue(ACol, ARow);
    else return false;
    return true;
}

bool TExStringGrid::SetCheckBoxState(int ACol, int ARow, bool State)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    if (g->CellType == ctCheckBox) g->CellBoolean = State;
    else if (g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox)
        SetCellEx(ACol, ARow, State ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow));
    else return false;
    RepaintCell(RemapColInv(ACol), ARow);
    return true;
}

void TExStringGrid::AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctProgress;
    g->CellColor = unsigned(FGColor);
    g->CellColor2 = unsigned(BKColor);
}

void TExStringGrid::AddProgressPie(int ACol, int ARow, TColor Color, int Value)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctProgressPie;
    g->CellColor = unsigned(Color);
    g->CellAngle = Value;
}

void TExStringGrid::AddComment(int ACol, int ARow, const std::string& Comment)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctComment;
    g->CellText = Comment;
    g->CellAngle = int(clNone);
}

void TExStringGrid::AddBitmap(int ACol, int ARow, TBitmap* ABitmap, bool Transparent, TCellHAlign HAlign,
                              TCellVAlign VAlign)
{
    AddPicture(ACol, ARow, nullptr, Transparent, noStretch, 0, HAlign, VAlign);
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    g->CellType = ctBitmap;
    g->CellGraphicRef = ABitmap;
}

TBitmap* TExStringGrid::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign)
{
    auto* b = new TBitmap;
    AddBitmap(ACol, ARow, b, Transparent, HAlign, VAlign);
    GetCellGraphic(ACol, ARow)->CellCreated = true;
    return b;
}

TBitmap* TExStringGrid::GetBitmap(int ACol, int ARow) const
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->CellType == ctBitmap ? dynamic_cast<TBitmap*>(g->CellGraphicRef) : nullptr;
}

void TExStringGrid::AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode Mode,
                               int Padding, TCellHAlign HAlign, TCellVAlign VAlign)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctPicture;
    g->CellGraphicRef = APicture;
    g->CellTransparent = Transparent;
    g->CellAngle = Mode;
    g->CellIndex = Padding;
    g->CellHAlign = HAlign;
    g->CellVAlign = VAlign;
}

TPicture* TExStringGrid::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode Mode, int Padding,
                                       TCellHAlign HAlign, TCellVAlign VAlign)
{
    auto* p = new TPicture;
    AddPicture(ACol, ARow, p, Transparent, Mode, Padding, HAlign, VAlign);
    GetCellGraphic(ACol, ARow)->CellCreated = true;
    return p;
}

void TExStringGrid::AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent, TStretchMode Mode,
                                   int Padding, TCellHAlign HAlign, TCellVAlign VAlign)
{
    AddPicture(ACol, ARow, nullptr, Transparent, Mode, Padding, HAlign, VAlign);
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    g->CellType = ctFilePicture;
    g->CellGraphicRef = APicture;
}

TFilePicture* TExStringGrid::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode Mode, int Padding,
                                               TCellHAlign HAlign, TCellVAlign VAlign)
{
    auto* p = new TFilePicture;
    AddFilePicture(ACol, ARow, p, Transparent, Mode, Padding, HAlign, VAlign);
    GetCellGraphic(ACol, ARow)->CellCreated = true;
    return p;
}

TFilePicture* TExStringGrid::GetFilePicture(int ACol, int ARow) const
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->CellType == ctFilePicture ? dynamic_cast<TFilePicture*>(g->CellGraphicRef) : nullptr;
}

TPicture* TExStringGrid::GetPicture(int ACol, int ARow) const
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->CellType == ctPicture ? dynamic_cast<TPicture*>(g->CellGraphicRef) : nullptr;
}

void TExStringGrid::AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign HAlign, TCellVAlign VAlign)
{
    CreateCellGraphic(ACol, ARow)->SetIcon(AIcon, HAlign, VAlign);
}

TIcon* TExStringGrid::CreateIcon(int ACol, int ARow, TCellHAlign HAlign, TCellVAlign VAlign)
{
    auto* icon = new TIcon;
    AddIcon(ACol, ARow, icon, HAlign, VAlign);
    GetCellGraphic(ACol, ARow)->CellCreated = true;
    return icon;
}

TIcon* TExStringGrid::GetIcon(int ACol, int ARow) const
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->CellType == ctIcon ? dynamic_cast<TIcon*>(g->CellIconRef) : nullptr;
}

void TExStringGrid::SetImages(TImageList* Value)
{
    if (gridImages_ == Value) return;
    if (gridImages_) RemoveFreeNotification(gridImages_);
    gridImages_ = Value;
    if (Value) FreeNotification(Value);
}

void TExStringGrid::AddImageIdx(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign)
{
    if (!gridImages_) return;
    CreateCellGraphic(ACol, ARow)->SetImageIdx(Index, HAlign, VAlign);
}

bool TExStringGrid::GetImageIdx(int ACol, int ARow, int& Index) const
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!gridImages_ || !g || g->CellType != ctImageList) return false;
    Index = g->CellIndex;
    return true;
}

void TExStringGrid::AddDataImage(int ACol, int ARow, int Offset, TCellHAlign HAlign, TCellVAlign VAlign)
{
    if (!gridImages_) return;
    CreateCellGraphic(ACol, ARow)->SetDataImage(Offset, HAlign, VAlign);
}

bool TExStringGrid::HasDataImage(int ACol, int ARow) const
{
    const TPoint b = BaseCell(ACol, ARow);
    return GetCellType(b.X, b.Y) == ctDataImage;
}

void TExStringGrid::AddMultiImage(int ACol, int ARow, int Direction, TCellHAlign HAlign, TCellVAlign VAlign)
{
    if (!gridImages_) return;
    CreateCellGraphic(ACol, ARow)->SetMultiImage(ACol, ARow, Direction, HAlign, VAlign,
                                                 [this](TIntList* l, int c, int r) { MultiImageChanged(l, c, r); });
}

bool TExStringGrid::RemoveMultiImage(int ACol, int ARow)
{
    if (!RemoveCellGraphic(ACol, ARow, ctImages)) return false;
    RepaintCell(RemapColInv(ACol), ARow);
    return true;
}

TIntList* TExStringGrid::GetCellImages(int ACol, int ARow) const
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->CellType == ctImages ? dynamic_cast<TIntList*>(g->CellGraphicRef) : nullptr;
}

void TExStringGrid::MultiImageChanged(TIntList*, int ACol, int ARow) { RepaintCell(RemapColInv(ACol), ARow); }

void TExStringGrid::AddRadio(int ACol, int ARow, int Direction, int Index, base::TStrings* Items)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctRadio;
    g->RadioItems = Items;
    g->CellBoolean = Direction != 0;
    g->CellIndex = Index;
}

base::TStrings* TExStringGrid::CreateRadio(int ACol, int ARow, int Direction, int Index)
{
    auto* items = new base::TStringList;
    AddRadio(ACol, ARow, Direction, Index, items);
    GetCellGraphic(ACol, ARow)->CellCreated = true;
    return items;
}

bool TExStringGrid::GetRadioIdx(int ACol, int ARow, int& Index) const
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType != ctRadio) return false;
    Index = g->CellIndex;
    return true;
}

bool TExStringGrid::SetRadioIdx(int ACol, int ARow, int Index)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType != ctRadio) return false;
    g->CellIndex = Index;
    RepaintCell(RemapColInv(ACol), ARow);
    return true;
}

base::TStrings* TExStringGrid::GetRadioStrings(int ACol, int ARow) const
{
    const TPoint b = BaseCell(ACol, ARow);
    const TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && g->CellType == ctRadio ? g->RadioItems : nullptr;
}

bool TExStringGrid::IsRadio(int ACol, int ARow) const { return GetRadioStrings(ACol, ARow) != nullptr; }

bool TExStringGrid::ToggleRadio(int ACol, int ARow, bool FromUser)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType != ctRadio || !g->RadioItems || g->RadioItems->Count() == 0) return false;
    if (FromUser) {
        bool canEdit = true;
        GetCellReadOnly(ACol, ARow, canEdit);
        if (!canEdit) return false;
    }
    const base::TStrings& items = *g->RadioItems;
    int next = 0;
    if (g->CellIndex < 0) {
        const std::string t = GetCellEx(ACol, ARow);
        for (int i = 0; i < items.Count(); ++i)
            if (items[i] == t) next = i + 1;
    } else {
        next = g->CellIndex + 1;
    }
    if (next >= items.Count()) next = 0;
    if (g->CellIndex >= 0) g->CellIndex = next;
    SetCellEx(ACol, ARow, items[next]);
    RepaintCell(RemapColInv(ACol), ARow);
    return true;
}

void TExStringGrid::AddProgressEx(int ACol, int ARow, TColor Color, TColor TextColor, TColor BackColor,
                                  TColor BackTextColor)
{
    AddProgress(ACol, ARow, Color, BackColor);
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    g->CellIndex = int(TextColor);
    g->CellAngle = int(BackTextColor);
    g->CellBoolean = true;
}

void TExStringGrid::SetProgressPie(int ACol, int ARow, int Value)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType != ctProgressPie) return;
    g->CellAngle = Value;
    RepaintCell(RemapColInv(ACol), ARow);
}

void TExStringGrid::AddColorComment(int ACol, int ARow, const std::string& Comment, TColor Color)
{
    AddComment(ACol, ARow, Comment);
    GetCellGraphic(ACol, ARow)->CellAngle = int(Color);
}

bool TExStringGrid::IsComment(int ACol, int ARow, std::string& Comment) const
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType != ctComment) return false;
    Comment = g->CellText;
    return true;
}

void TExStringGrid::AddRotated(int ACol, int ARow, int Angle, const std::string& Text)
{
    CreateCellGraphic(ACol, ARow)->SetAngle(Angle);
    SetCellEx(ACol, ARow, Text);
}

void TExStringGrid::SetRotated(int ACol, int ARow, int Angle)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    (g ? g : CreateCellGraphic(ACol, ARow))->SetAngle(Angle);
    RepaintCell(RemapColInv(ACol), ARow);
}

bool TExStringGrid::IsRotated(int ACol, int ARow, int& Angle) const
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType != ctRotated) return false;
    Angle = g->CellAngle;
    return true;
}

void TExStringGrid::AddMarker(int ACol, int ARow, int ErrPos, int ErrLen)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) {
        g = CreateCellGraphic(ACol, ARow);
        g->CellType = ctEmpty;
    }
    g->CellErrFrom = short(ErrPos);
    g->CellErrLen = short(ErrLen);
    RepaintCell(RemapColInv(ACol), ARow);
}

void TExStringGrid::RemoveMarker(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return;
    if (g->CellType == ctEmpty) {
        FreeCellGraphic(ACol, ARow);
        return;
    }
    g->CellErrFrom = g->CellErrLen = 0;
    RepaintCell(RemapColInv(ACol), ARow);
}

void TExStringGrid::GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen) const
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    ErrPos = g ? g->CellErrFrom : 0;
    ErrLen = g ? g->CellErrLen : 0;
}

void TExStringGrid::AddButton(int ACol, int ARow, int AWidth, int AHeight, const std::string& Caption,
                              TCellHAlign HAlign, TCellVAlign VAlign)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctButton;
    g->CellIndex = (AWidth & 0xFFFF) | (AHeight << 16);
    g->CellText = Caption;
    g->CellHAlign = HAlign;
    g->CellVAlign = VAlign;
    g->CellBoolean = false;
}

void TExStringGrid::AddBitButton(int ACol, int ARow, int AWidth, int AHeight, const std::string& Caption,
                                 TBitmap* Glyph, TCellHAlign HAlign, TCellVAlign VAlign)
{
    AddButton(ACol, ARow, AWidth, AHeight, Caption, HAlign, VAlign);
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    g->CellType = ctBitButton;
    g->CellGraphicRef = Glyph;
}

TBitmap* TExStringGrid::CreateBitButton(int ACol, int ARow, int AWidth, int AHeight, const std::string& Caption,
                                        TCellHAlign HAlign, TCellVAlign VAlign)
{
    auto* glyph = new TBitmap;
    AddBitButton(ACol, ARow, AWidth, AHeight, Caption, glyph, HAlign, VAlign);
    GetCellGraphic(ACol, ARow)->CellCreated = true;
    return glyph;
}

void TExStringGrid::SetButtonText(int ACol, int ARow, const std::string& Text)
{
    const int c = RemapCol(ACol);
    if (TCellGraphic* g = GetCellGraphic(c, ARow)) {
        g->CellText = Text;
        RepaintCell(ACol, ARow);
    }
}

void TExStringGrid::PushButton(int ACol, int ARow, bool Pushed)
{
    const int c = RemapCol(ACol);
    if (TCellGraphic* g = GetCellGraphic(c, ARow)) {
        g->CellBoolean = Pushed;
        RepaintCell(ACol, ARow);
    }
}

namespace {
bool KindOf(const TCellGraphic* g, std::initializer_list<TCellType> kinds)
{
    return g && std::find(kinds.begin(), kinds.end(), g->CellType) != kinds.end();
}
}  // namespace

bool TExStringGrid::HasButton(int ACol, int ARow) const
{
    const TPoint b = BaseCell(ACol, ARow);
    return KindOf(GetCellGraphic(b.X, b.Y), {ctButton, ctBitButton});
}

bool TExStringGrid::HasCheckBox(int ACol, int ARow) const
{
    const TPoint b = BaseCell(ACol, ARow);
    return KindOf(GetCellGraphic(b.X, b.Y), {ctCheckBox, ctDataCheckBox, ctVirtCheckBox});
}

bool TExStringGrid::HasDataCheckBox(int ACol, int ARow) const
{
    const TPoint b = BaseCell(ACol, ARow);
    return KindOf(GetCellGraphic(b.X, b.Y), {ctDataCheckBox, ctVirtCheckBox});
}

bool TExStringGrid::HasStaticEdit(int ACol, int ARow) const
{
    const TPoint b = BaseCell(ACol, ARow);
    return KindOf(GetCellGraphic(b.X, b.Y), {ctCheckBox, ctDataCheckBox, ctRadio, ctButton, ctVirtCheckBox});
}

bool TExStringGrid::RemoveCheckBox(int ACol, int ARow)
{
    return RemoveCellGraphic(ACol, ARow, ctCheckBox) || RemoveCellGraphic(ACol, ARow, ctDataCheckBox);
}

bool TExStringGrid::RemoveButton(int ACol, int ARow)
{
    return RemoveCellGraphic(ACol, ARow, ctButton) || RemoveCellGraphic(ACol, ARow, ctBitButton);
}

void TExStringGrid::CheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r) SetCheckBoxState(ACol, r, true);
}

void TExStringGrid::UnCheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r) SetCheckBoxState(ACol, r, false);
}

bool TExStringGrid::ToggleCheck(int ACol, int ARow, bool FromUser)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!KindOf(g, {ctCheckBox, ctDataCheckBox, ctVirtCheckBox})) return false;
    if (FromUser) {
        bool canEdit = true;
        GetCellReadOnly(ACol, ARow, canEdit);
        if (!canEdit) return false;
    }
    if (g->CellType == ctCheckBox) g->CellBoolean = !g->CellBoolean;
    else
        SetCellEx(ACol, ARow,
                  GetCellEx(ACol, ARow) == GetCheckTrue(ACol, ARow) ? GetCheckFalse(ACol, ARow) : GetCheckTrue(ACol, ARow));
    RepaintCell(RemapColInv(ACol), ARow);
    return true;
}

bool TExStringGrid::IsInCheckBox(int ACol, int ARow, int X, int Y)
{
    const int c = RemapCol(ACol);
    if (!KindOf(GetCellGraphic(c, ARow), {ctCheckBox, ctDataCheckBox, ctVirtCheckBox})) return false;
    if (!MouseActions.PreciseCheckBoxCheck) return true;
    const int S = ControlLook().CheckSize();
    const TRect R = CellRect(ACol, ARow);
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    GetCellAlignment(c, ARow, ha, va);
    const int top = va == vtaTop ? R.Top + 2 : va == vtaBottom ? R.Bottom - S - 2 : R.Top + (R.Height() - S) / 2;
    const int left = ha == taLeftJustify ? R.Left + 2 : ha == taRightJustify ? R.Right - S - 2 : R.Left + (R.Width() - S) / 2;
    return X >= left && X < left + S && Y >= top && Y < top + S;
}

// ---------------------------------------------------------------- nodes

bool TExStringGrid::HasNodes() { return nodeCount_ > 0; }

int TExStringGrid::NodeIndent(int ARow)
{
    if (!HasNodes() || ARow < 0) return 0;
    const TCellProperties* p = CellProps(0, ARow);
    return p ? p->NodeLevel * CellNode().NodeIndent() : 0;
}

int TExStringGrid::GetCellImageIdx(int ACol, int ARow)
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return -1;
    if (g->CellType == ctImageList) return g->CellIndex;
    if (g->CellType != ctBitmap && g->CellType != ctIcon) return -1;
    const void* obj = g->CellGraphicRef ? static_cast<const void*>(g->CellGraphicRef) : g->CellIconRef;
    return obj ? int(std::hash<const void*>{}(obj) & 0x7FFFFFFF) : -1;
}

bool TExStringGrid::IsNode(int ARow) const { return ARow >= 0 && GetCellType(0, ARow) == ctNode; }
bool TExStringGrid::IsSummary(int ARow) const { return ARow >= 0 && GetCellType(0, ARow) == ctSummary; }

void TExStringGrid::AddNode(int ARow, int Span)
{
    const int d = RemapRow(ARow);
    if (d < 0 || d >= RowCount()) return;
    TCellGraphic* g = CreateCellGraphic(0, d);
    g->CellType = ctNode;
    g->CellBoolean = false;
    g->CellIndex = Span;
    g->CellHAlign = haBeforeText;
    g->CellVAlign = vaCenter;
    for (int r = d; r < d + Span && r < RowCount(); ++r) ++GetCellProperties(0, r)->NodeLevel;
    if (nodeCount_ == 0) Invalidate();
    ++nodeCount_;
    if (Col() == 0 && ColCount() > 1) SetCol(1);
}

void TExStringGrid::AddSummary(int ARow)
{
    const int d = RemapRow(ARow);
    if (d < 0 || d >= RowCount()) return;
    CreateCellGraphic(0, d)->CellType = ctSummary;
}

int TExStringGrid::NodeEnd(int d) const
{
    const int span = GetNodeSpan(d);
    if (span > 0) return std::min(d + span, RowCount());
    for (int r = d + 1; r < RowCount(); ++r)
        if (IsNode(r)) return r;
    return RowCount();
}

bool TExStringGrid::GetNodeState(int ARow) const
{
    const TCellGraphic* g = IsNode(ARow) ? GetCellGraphic(0, ARow) : nullptr;
    return g && g->CellBoolean;
}

void TExStringGrid::SetNodeState(int ARow, bool Contracted)
{
    if (!IsNode(ARow) || GetNodeState(ARow) == Contracted) return;
    if (Contracted) ContractNode(RemapRowInv(ARow));
    else ExpandNode(RemapRowInv(ARow));
}

int TExStringGrid::GetNodeSpan(int ARow) const { return IsNode(ARow) ? GetCellGraphic(0, ARow)->CellIndex : -1; }

void TExStringGrid::SetNodeSpan(int ARow, int Span)
{
    if (IsNode(ARow)) GetCellGraphic(0, ARow)->CellIndex = Span;
}

int TExStringGrid::GetNodeLevel(int ARow) const { return IsNode(ARow) ? CellProps(0, ARow)->NodeLevel : -1; }

void TExStringGrid::ExpandNode(int ARow)
{
    if (CellNode().ExpandOne)
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (IsNode(r) && !GetNodeState(r) && r != RemapRow(ARow)) ContractNode(RemapRowInv(r));
    const int d = RemapRow(ARow);
    if (!IsNode(d) || !GetNodeState(d)) return;
    GetCellGraphic(0, d)->CellBoolean = false;
    const int e = NodeEnd(d);
    const int from = RemapRowInv(d) + 1, to = (e < RowCount() ? RemapRowInv(e) : GetAllRowCount()) - 1;
    if (to >= from && IsHiddenRow(from)) UnHideRows(from, to);
    CalcFooter(-1);
}

void TExStringGrid::ContractNode(int ARow)
{
    HideEditorNow();
    const int d = RemapRow(ARow);
    if (!IsNode(d) || GetNodeState(d)) return;
    GetCellGraphic(0, d)->CellBoolean = true;
    const int c = d + 1;
    int e = NodeEnd(d);
    int i = c;
    while (i < e) {
        if (IsNode(i) && GetNodeState(i)) {
            // A contracted child joins its parent's hidden block, marked expanded.
            GetCellGraphic(0, i)->CellBoolean = false;
            const int nested = std::max(GetNodeSpan(i), 1);
            HideRows(RemapRowInv(c), RemapRowInv(i));
            e -= (i - c + 1) + (nested - 1);
            i = c;
            continue;
        }
        ++i;
    }
    if (i - 1 >= c) HideRows(RemapRowInv(c), RemapRowInv(i - 1));
    CalcFooter(-1);
}

void TExStringGrid::ExpandAll()
{
    UnHideRowList();
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsNode(r)) GetCellGraphic(0, r)->CellBoolean = false;
    CalcFooter(-1);
}

void TExStringGrid::ContractAll()
{
    BeginUpdate();
    ExpandAll();
    TIntList rows;
    for (int r = FixedRows(); r < RowCount();) {
        if (!IsNode(r)) {
            ++r;
            continue;
        }
        GetCellGraphic(0, r)->CellBoolean = true;
        const int e = NodeEnd(r);
        for (int k = r + 1; k < e; ++k) rows.Add(k);
        r = std::max(e, r + 1);
    }
    HideRowList(rows);
    EndUpdate();
    CellControlsUpdate();
    CalcFooter(-1);
}

void TExStringGrid::RemoveNode(int ARow)
{
    ExpandNode(ARow);
    const int d = RemapRow(ARow);
    if (!IsNode(d)) return;
    const int e = NodeEnd(d);
    for (int r = d; r < e; ++r)
        if (TCellProperties* p = CellProps(0, r); p && p->NodeLevel > 0) --p->NodeLevel;
    FreeCellGraphic(0, d);
    nodeCount_ = std::max(nodeCount_ - 1, 0);
}

void TExStringGrid::RemoveAllNodes()
{
    for (int r = 0; r < RowCount();) {
        if (!IsNode(r)) {
            ++r;
            continue;
        }
        ExpandNode(RemapRowInv(r));
        const int e = NodeEnd(r);
        for (int k = r; k < e; ++k)
            if (TCellProperties* p = CellProps(0, k)) p->NodeLevel = 0;
        FreeCellGraphic(0, r);
        nodeCount_ = std::max(nodeCount_ - 1, 0);
        r = std::max(e, r + 1);
    }
}

int TExStringGrid::GetParentRow(int ARow) const
{
    if (nodeCount_ == 0) return -1;
    for (int i = ARow; i >= FixedRows() && i >= 0; --i)
        if (IsNode(i) && ARow < i + GetNodeSpan(i)) return i;
    return -1;
}

void TExStringGrid::InsertChildRow(int ARow)
{
    const int p = RemapRow(ARow);
    if (p < 0 || p >= RowCount()) return;
    int b = GetParentRow(p), level = 1;
    if (b >= 0) {
        SetNodeSpan(b, GetNodeSpan(b) + 1);
        ExpandNode(RemapRowInv(b));
        level = GetNodeLevel(b);
    }
    // every enclosing node grows by the new row
    for (int node = b, lv = level; node >= 0 && lv > 1 && node >= FixedRows();) {
        node = node > 0 ? GetParentRow(node - 1) : -1;
        if (node < 0) break;
        if (GetNodeLevel(node) < lv) {
            SetNodeSpan(node, GetNodeSpan(node) + 1);
            ExpandNode(RemapRowInv(node));
            lv = GetNodeLevel(node);
        }
    }
    // the insertion moves every row below it, hidden ones included
    InsertRows(p + 1, 1);
    if (b >= 0) GetCellProperties(0, p + 1)->NodeLevel = level;
}

void TExStringGrid::RemoveChildRow(int ARow)
{
    const int p = RemapRow(ARow);
    // a node row is not a child row: RemoveNode first
    if (p < 0 || p >= RowCount() || IsHiddenRow(ARow) || IsNode(p)) return;
    int b = GetParentRow(p);
    if (b >= 0) {
        if (GetNodeSpan(b) > 1) SetNodeSpan(b, GetNodeSpan(b) - 1);
        while (true) {
            ExpandNode(RemapRowInv(b));
            if (GetNodeLevel(b) <= 1) break;
            const int up = b > 0 ? GetParentRow(b - 1) : -1;
            if (up < 0) break;
            b = up;
            if (GetNodeSpan(b) > 1) SetNodeSpan(b, GetNodeSpan(b) - 1);
        }
    }
    RemoveRowsInternal(p, 1);
}

int TExStringGrid::GetNodeSpanType(int ARow) const
{
    if (IsNode(ARow)) return 0;
    const TCellProperties* next = CellProps(0, ARow + 1);
    const TCellProperties* here = CellProps(0, ARow);
    if (ARow >= fixed_.NormalRowEnd(RowCount()) - 1 || !next || next->NodeLevel < (here ? here->NodeLevel : 0)) return 1;
    return 2;
}

bool TExStringGrid::InNodeRect(int ARow, int X) const
{
    const int L = GetNodeLevel(ARow), I = CellNode().NodeIndent();
    return (L - 1) * I < X && X < L * I;
}

}  // namespace grid

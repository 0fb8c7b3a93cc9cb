// Painting: the colour rule of a cell, the fixed-cell looks, selection and focus, the
// content (plain and mini-HTML text) and the cell graphics.
#include <algorithm>
#include <cmath>

#include "base/StrUtils.h"
#include "base/StringList.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/ImageList.h"
#include "platform/system/VisualStyles.h"
#include "widgets/html/ThemeApi.h"
#include "widgets/grid/CellGraphic.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/GridCellPainter.h"
#include "widgets/grid/GridDraw.h"
#include "widgets/grid/ExObj.h"
#include "widgets/html/HtmlEngine.h"
#include "widgets/html/HtmlText.h"

namespace grid {

using namespace platform;

std::string TExStringGrid::FixMarkup(const std::string& Text) { return html::FixMarkup(Text); }

bool TExStringGrid::IsSelected(int ACol, int ARow) const
{
    if (ACol < FixedCols() || ARow < FixedRows()) return false;
    if (MouseActions.DisjunctCellSelect) return GetSelectedCells(ACol, ARow);
    if (MouseActions.DisjunctRowSelect) {
        const int r = MouseActions.RowSelectPersistent ? RemapRowInv(ARow) : ARow;
        return r >= 0 && r < int(rowSelect_.size()) && rowSelect_[std::size_t(r)];
    }
    if (MouseActions.DisjunctColSelect) return ACol < int(colSelect_.size()) && colSelect_[std::size_t(ACol)];
    if (selectionHidden_) return false;
    return TBaseGrid::IsSelected(ACol, ARow);
}

// ---------------------------------------------------------------- alignment and texts

void TExStringGrid::GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    HAlign = taLeftJustify;
    VAlign = VAlignment;
    if (AutoNumAlign) {
        std::string s = GetGridCell(ACol, ARow);
        if (!s.empty() && s[0] == '=') CalcCell(ACol, ARow, s);
        const TAutoType t = IsType(s);
        if (t == TAutoType::atNumeric || t == TAutoType::atFloat) HAlign = taRightJustify;
    }
    if (const TCellProperties* p = CellProps(ACol, ARow)) HAlign = p->Alignment;
    GetCellAlign(ACol, ARow, HAlign, VAlign);
}

std::string TExStringGrid::GetFormattedCell(int ACol, int ARow)
{
    std::string s = GetCellEx(ACol, ARow);
    if (OnGetFloatFormat) {
        const TAutoType t = IsType(s);
        bool isFloat = t == TAutoType::atNumeric || t == TAutoType::atFloat;
        std::string fmt = FloatFormat;
        OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
        if (isFloat) {
            try {
                s = FormatFloatCell(fmt, GetFloats(ACol, ARow));
            } catch (const EExGridError&) {
                // a format or a number that fails leaves the stored text
            }
        }
    }
    return s;
}

std::string TExStringGrid::SaveCell(int ACol, int ARow)
{
    std::string s = SaveFormatted ? GetFormattedCell(ACol, ARow) : TBaseGrid::Cells(ACol, ARow);
    bool state = false;
    if (s.empty() && GetCellType(ACol, ARow) == ctCheckBox && GetCheckBoxState(ACol, ARow, state))
        s = state ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow);
    if (!SaveHTMLTags) s = html::HTMLStrip(s);
    return s;
}

// ---------------------------------------------------------------- the colour rule

void TExStringGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState& State, bool Print, bool Select, bool Remap,
                                        TBrush& ABrush, TColor& AColorTo, TFont& AFont, TAlignment& HAlign,
                                        TVAlignment& VAlign, bool&)
{
    const int c = Remap ? RemapCol(ACol) : ACol;
    const bool fixedPos = ACol < FixedCols() || ARow < FixedRows();
    AFont.Assign(fixedPos ? *fixedFont_ : *Font());
    if (Print && !printJob_.Settings().UseDisplayFont)
        AFont.Assign(fixedPos ? printJob_.Settings().FixedFont() : printJob_.Settings().Font());
    TColor brush = clNone;
    AColorTo = clNone;
    const TCellProperties* p = CellProps(c, ARow);
    if (p) {
        if (p->BrushColor() != clNone) brush = p->BrushColor();
        if (p->FontColor != clNone) AFont.SetColor(p->FontColor);
        if (p->FontStyle) AFont.SetStyle(p->FontStyle);
        if (p->FontSize) AFont.SetSize(p->FontSize);
        if (!p->FontName.empty()) AFont.SetName(p->FontName);
        AColorTo = p->BrushColorTo();
    }
    if (brush == clNone) {
        brush = Color();
        const TBands& b = *bands_;
        if (b.Active() && (!Print || b.Print) && ACol >= FixedCols() &&
            ACol < ColCount() + NumHiddenColumns() - fixed_.fixedRightCols && ARow >= FixedRows() &&
            ARow < fixed_.NormalRowEnd(RowCount()) && b.TotalLength() >= 1)
            brush = (ARow - FixedRows()) % b.TotalLength() < b.PrimaryLength() ? b.PrimaryColor() : b.SecondaryColor();
    }
    ABrush.SetStyle(bsSolid);
    ABrush.SetColor(brush);
    const bool fixed = IsFixed(ACol, ARow) || fixedPos;
    if (fixed && !Print) {
        ABrush.SetColor(FixedColor());
        AFont.SetColor(fixedFont_->Color());
        State |= gdFixed;
    }
    if (Print) GetCellPrintColor(c, ARow, State, ABrush, AFont);
    else GetCellColor(c, ARow, State, ABrush, AFont);
    if (Select && !Print && ShowSelection && !fixed && IsSelected(ACol, ARow)) {
        if (SelectionColor != clNone) ABrush.SetColor(SelectionColor);
        else if (!(State & gdFocused)) ABrush.SetColor(clHighlight);
        if (SelectionTextColor != clNone) AFont.SetColor(SelectionTextColor);
        State |= gdSelected;
    }
    GetCellAlignment(c, ARow, HAlign, VAlign);
}

// ---------------------------------------------------------------- painting a cell

void TExStringGrid::Paint()
{
    Canvas()->Pen().SetStyle(psSolid);
    TBaseGrid::Paint();
    if (Panning()) DrawIntelliFocusPoint();
    Canvas()->Pen().SetColor(clBlack);
}

namespace {
bool IsActiveHeader(const TExStringGrid& g, int ACol, int ARow)
{
    return g.ActiveCellShow && ((ARow == g.Row() && ACol == 0 && g.FixedCols() > 0) ||
                                (ACol == g.Col() && ARow == 0 && g.FixedRows() > 0));
}
}  // namespace

void TExStringGrid::DrawFixedLook(TCanvas* Canvas, int ACol, int ARow, TRect R, bool after)
{
    const TGridOptions o = Options();
    if (!after) {
        if (Look == glStudio || Look == glXP) {
            if (IsActiveHeader(*this, ACol, ARow)) DrawGradient(*Canvas, ActiveCellColor, ActiveCellColorTo, 10, R, false);
            else DrawGradient(*Canvas, gradFrom_, gradTo_, 10, R, false);
        } else if (Look == glListView) {
            Canvas->Brush().SetColor(clBtnFace);
            Canvas->FillRect(R);
            Canvas->Brush().SetColor(clWhite);
            Canvas->FrameRect(R);
        }
        return;
    }
    R = {R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom};
    const TColor dark = DarkenColor(FixedColor());
    switch (Look) {
    case glClassic: {
        TRect e = R;
        DrawEdge(Canvas->Handle(), e, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
        e = R;
        DrawEdge(Canvas->Handle(), e, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
        DrawLine(*Canvas, clBlack, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
        DrawLine(*Canvas, clBlack, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
        break;
    }
    case glStudio:
    case glXP:
        DrawLine(*Canvas, dark, R.Left, R.Bottom, R.Right, R.Bottom);
        DrawLine(*Canvas, clWhite, R.Left, R.Top, R.Right, R.Top);
        DrawLine(*Canvas, clWhite, R.Left, R.Top, R.Left, R.Bottom);
        break;
    case glSoft:
        if (o & goFixedHorzLine) {
            DrawLine(*Canvas, dark, R.Left, R.Bottom, R.Right, R.Bottom);
            DrawLine(*Canvas, clWhite, R.Left, R.Top, R.Right, R.Top);
            DrawLine(*Canvas, clWhite, R.Left, R.Top, R.Left, R.Bottom);
        }
        if (o & goFixedVertLine) {
            DrawLine(*Canvas, dark, R.Right - 2, R.Top, R.Right - 2, R.Bottom);
            DrawLine(*Canvas, clWhite, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
        }
        break;
    default: break;
    }
}

void TExStringGrid::DrawGridCell(TCanvas* Canvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    const int c = RemapCol(ACol);
    TColor colorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool wrap = wordWrap_;
    GetVisualProperties(ACol, ARow, AState, false, false, true, Canvas->Brush(), colorTo, Canvas->Font(), ha, va, wrap);
    const bool fixed = (AState & gdFixed) || IsFixed(ACol, ARow);
    bool selected = (AState & gdSelected) && !fixed && !selectionHidden_;
    if (MouseActions.DisjunctRowSelect || MouseActions.DisjunctColSelect || MouseActions.DisjunctCellSelect)
        selected = IsSelected(ACol, ARow);
    if (selected && ShowSelection) {
        if (SelectionColor != clNone) Canvas->Brush().SetColor(SelectionColor);
        else if (!(AState & gdFocused)) Canvas->Brush().SetColor(clHighlight);
        if (SelectionTextColor != clNone) Canvas->Font().SetColor(SelectionTextColor);
    }
    if (zoom_) Canvas->Font().SetSize(std::max(1, Canvas->Font().Size() + zoom_));
    const TColor brush = Canvas->Brush().Color(), fontColor = Canvas->Font().Color();
    if (fixed && !Flat) {
        TRect g{ARect.Left - 1, ARect.Top - 1, ARect.Right + 1, ARect.Bottom + 1};
        DrawFixedLook(Canvas, ACol, ARow, g, false);
        Canvas->Brush().SetColor(brush);
    }
    TRect content = ARect;
    int indicator = 0;
    if (c == 0 && ARow == Row() && FixedCols() > 0 && !rowIndicator_->Empty()) {
        DrawBitmapTransp(*Canvas, *rowIndicator_, FixedColor(), content);
        indicator = rowIndicator_->Width();
        content.Left += indicator;
    }
    if (c == 0 && NodeIndent(ARow) > 0) content.Left += 4;
    if (!BackGround().Bitmap().Empty() && !(selected && ShowSelection) && GetColors(c, ARow) == clNone)
        DrawBackGround(Canvas, ACol, ARow, ARect, fixed);
    if (!fixed && ControlLook().DropDownAlwaysVisible() && HasCombo(c, ARow)) {
        DrawComboButton(*Canvas, Handle(), {content.Right - 16, content.Top, content.Right, content.Bottom}, false);
        content.Right -= 16;
    }
    TCellGraphic* g = GetCellGraphic(c, ARow);
    bool drawText = true;
    if (g) {
        switch (g->CellType) {
        case ctDataCheckBox: case ctVirtCheckBox: case ctProgress: case ctRadio: case ctRotated: case ctDataImage:
            drawText = false;
            break;
        default: break;
        }
    }
    if (drawText) {
        // A graphic beside the text takes its room from the text.
        TRect text = content;
        if (g) {
            const TSize gs = GetCellGraphicSize(c, ARow);
            if (g->CellHAlign == haBeforeText) text.Left += gs.cx;
            else if (g->CellHAlign == haAfterText) text.Right -= gs.cx;
            if (g->CellVAlign == vaAboveText) text.Top += gs.cy;
            else if (g->CellVAlign == vaUnderText) text.Bottom -= gs.cy;
        }
        DrawCellText(Canvas, c, ARow, text, ha, va, selected);
    }
    if (c == 0 && ARow >= FixedRows() && HasNodes() && CellNode().ShowTree())
        DrawTreeLines(Canvas, ARow, CellRect(ACol, ARow));
    if (g) DrawCellGraphic(Canvas, *g, c, ARow, content, ha, selected);
    Canvas->Brush().SetColor(brush);
    Canvas->Font().SetColor(fontColor);
    // Borders the application asks for.
    if (OnGetCellBorder) {
        TCellBorders b = 0;
        TPen pen;
        pen.Assign(Canvas->Pen());
        GetCellBorder(c, ARow, pen, b);
        if (b) {
            TRect r{ARect.Left - 1, ARect.Top - 1, ARect.Right + 1, ARect.Bottom + 1};
            TPen left, top, right, bottom;
            for (TPen* p : {&left, &top, &right, &bottom}) p->Assign(pen);
            if (OnGetCellBorderProp) OnGetCellBorderProp(this, ARow, ACol, left, top, right, bottom);
            // a side of width w lies inside the cell from its edge
            auto side = [&](const TPen& p, const TRect& band) {
                Canvas->Brush().SetColor(p.Color());
                Canvas->FillRect(band);
            };
            auto w = [](const TPen& p) { return std::max(1, p.Width()); };
            if (b & cbLeft) side(left, {r.Left, r.Top, r.Left + w(left), r.Bottom});
            if (b & cbRight) side(right, {r.Right - w(right), r.Top, r.Right, r.Bottom});
            if (b & cbTop) side(top, {r.Left, r.Top, r.Right, r.Top + w(top)});
            if (b & cbBottom) side(bottom, {r.Left, r.Bottom - w(bottom), r.Right, r.Bottom});
            Canvas->Brush().SetColor(brush);
        }
    }
    if (fixed && !Flat) DrawFixedLook(Canvas, ACol, ARow, ARect, true);
    if (SelectionRectangle && !fixed) {
        // Two black pixels along each edge of the selected range that this cell lies on.
        const TGridRect s = Selection();
        if (ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom) {
            const TRect r{ARect.Left - 1, ARect.Top - 1, ARect.Right + 1, ARect.Bottom + 1};
            Canvas->Brush().SetColor(clBlack);
            if (ACol == s.Left) Canvas->FillRect({r.Left, r.Top, r.Left + 2, r.Bottom});
            if (ACol == s.Right) Canvas->FillRect({r.Right - 2, r.Top, r.Right, r.Bottom});
            if (ARow == s.Top) Canvas->FillRect({r.Left, r.Top, r.Right, r.Top + 2});
            if (ARow == s.Bottom) Canvas->FillRect({r.Left, r.Bottom - 2, r.Right, r.Bottom});
            if (SelectionResizer && ACol == s.Right && ARow == s.Bottom)
                Canvas->FillRect({r.Right - 4, r.Bottom - 4, r.Right, r.Bottom});
            Canvas->Brush().SetColor(brush);
        }
    }
    if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
    if (OnCustomCellDraw) OnCustomCellDraw(this, Canvas, c, ARow, AState, ARect, false);
    if (!HideFocusRect && !(Options() & goRowSelect) && Focused()) {
        const TPoint b = BaseCell(ACol, ARow);
        if (b.X == Col() && b.Y == Row()) {
            const int w = GridLineWidth() - 1;
            Canvas->Brush().SetColor(brush);
            Canvas->DrawFocusRect({ARect.Left - w, ARect.Top - w, ARect.Right + w - 1, ARect.Bottom + w - 1});
        }
    }
}

// ---------------------------------------------------------------- content

void TExStringGrid::DrawCellText(TCanvas* Canvas, int c, int ARow, TRect R, TAlignment ha, TVAlignment va, bool selected)
{
    // A column with a filter shows its mark at the right of the header; the text gives way.
    const bool filterMark = ARow == 0 && GetFilter(c);
    if (filterMark) {
        DrawBitmapResourceTransp(*Canvas, FixedColor(), {R.Right - 16, R.Top, R.Right, R.Bottom}, "GRDFILT");
        R.Right -= 16;
    }
    std::string s = GetFormattedCell(c, ARow);
    if (s.empty()) return;
    const TTextType kind = TextType(s, EnableHTML);
    if (kind == TTextType::ttFormula) CalcCell(c, ARow, s);
    bool password = false;
    GetCellPassword(c, ARow, password);
    if (kind == TTextType::ttRTF && !password) {
        RTFPaint(c, ARow, Canvas, R, selected);
        return;
    }
    if (password) StringToPassword(s, PasswordChar);
    R.Left += XYOffset.X;
    R.Right -= XYOffset.X;
    R.Top += XYOffset.Y;
    Canvas->Brush().SetStyle(bsClear);
    if (kind == TTextType::ttHTML) {
        // Drawn only: links in the text are shown, never followed from here.
        std::string anchor, stripped, focus, id, value, type;
        int mw = 0, mh = 0, links = 0, under = -1;
        TRect hover, ctl;
        const TRect r{R.Left - 1, R.Top, R.Right - (filterMark ? 2 : 0), R.Bottom};
        // A form button held down is drawn pressed under the press point.
        const bool down = htmlControl_.htmlButtonDown && htmlControl_.htmlButtonCell == TPoint{c, ARow};
        const int hx = down ? htmlControl_.htmlButtonPoint.X : 0, hy = down ? htmlControl_.htmlButtonPoint.Y : 0;
        html::grdhtmle::HTMLDrawEx(Canvas, s, r, gridImages_, hx, hy, -1, -1, 1, false, false, false, selected, BlinkVisible(), false,
                                   wordWrap_, down, 1.0, selected ? SelectionTextColor : URLColor, clNone, clNone,
                                   clGray, anchor, stripped, focus, mw, mh, links, under, hover, ctl, id, value, type,
                                   pictureCache_.get(), pictureContainer_, nullptr);
    } else {
        // A wide cell is laid out on its 8-bit stand-in (one character per code unit) and
        // drawn with its own characters.
        std::u16string wide;
        std::string narrow;
        if (kind == TTextType::ttUnicode) {
            wide = DecodeWideStr(s);
            s = narrow = WideStandIn(wide);
        }
        auto shown = [&](const std::string& t) {
            if (kind == TTextType::ttUnicode && narrow.compare(0, t.size(), t) == 0) return wide.substr(0, t.size());
            return AnsiToWide(t);
        };
        const bool oneLine = LinesInText(s, Multilinecells) == 1;
        UINT flags = DT_EDITCONTROL;
        if (oneLine && !wordWrap_) {
            std::string rest = s;
            s = GetNextLine(rest, false);
            flags = DT_SINGLELINE;
            if (EnhTextSize) flags |= DT_END_ELLIPSIS;
        }
        if (wordWrap_ && !Multilinecells && EnhTextSize) flags |= DT_END_ELLIPSIS;
        flags |= DT_NOPREFIX | DT_EXPANDTABS;
        flags |= wordWrap_ ? (DT_WORDBREAK | DT_EDITCONTROL) : DT_SINGLELINE;
        flags |= ha == taRightJustify ? DT_RIGHT : ha == taCenter ? DT_CENTER : DT_LEFT;
        flags |= va == vtaCenter ? DT_VCENTER : va == vtaBottom ? DT_BOTTOM : DT_TOP;
        if (wordWrap_ && va != vtaTop) {
            // Word-wrapped text is placed vertically by its measured height.
            TRect m = R;
            DrawTextW(Canvas->Handle(), shown(s), -1, &m, (flags & ~(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
            const int h = m.Bottom - m.Top, room = R.Bottom - R.Top;
            if (h < room) R.Top += va == vtaCenter ? (room - h) / 2 : room - h;
            flags &= ~(DT_VCENTER | DT_BOTTOM);
        }
        bool url = false;
        if (URLShow && IsURL(s)) {
            if (!URLFull) StripURLProtocol(s);
            Canvas->Font().SetStyle(Canvas->Font().Style() | fsUnderline);
            Canvas->Font().SetColor(selected ? SelectionTextColor : URLColor);
            url = true;
        }
        const bool mark = SortMarkShown(c, ARow);
        TRect textRect = R;
        if (mark) {
            if (ha == taLeftJustify) textRect.Right -= 14;
            else textRect.Left += 14;
        }
        DrawTextW(Canvas->Handle(), shown(s), -1, &textRect, flags);
        if (mark) {
            const int tw = std::max(std::min(Canvas->TextWidthW(shown(s)), R.Width() - 16), 0);
            const int x = ha == taLeftJustify ? R.Left + tw + 10 : ha == taRightJustify ? R.Right - tw - 10 : R.Left + 8;
            const int y = va == vtaTop ? R.Top + 8 : va == vtaBottom ? R.Bottom - 8 : (R.Top + R.Bottom) / 2;
            DrawSortIndicator(Canvas, c, x, y);
        }
        if (const TCellGraphic* g = GetCellGraphic(c, ARow); g && g->CellErrLen > 0)
            DrawErrorLines(this, *Canvas, s, R, Canvas->TextHeight("hg"), g->CellErrFrom, g->CellErrLen);
        if (url) Canvas->Font().SetStyle(Canvas->Font().Style() & ~fsUnderline);
    }
    Canvas->Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------- graphics
// The grid as the cell graphic painter sees it.
class TExStringGrid::TGraphicView final : public TCellPaintHost {
public:
    explicit TGraphicView(TExStringGrid& grid) : g(grid) {}
    std::string CellText(int c, int row) override { return g.GetCellEx(c, row); }
    std::optional<int> CellInt(int c, int row) override
    {
        try {
            return g.GetInts(c, row);
        } catch (const EExGridError&) {
            return std::nullopt;
        }
    }
    int TextWidth(int c, int row) override { return g.GetCellTextSize(c, row, false).cx - 2 * g.XYOffset.X; }
    bool CanEdit(int c, int row) override
    {
        bool canEdit = true;
        g.GetCellReadOnly(c, row, canEdit);
        return canEdit;
    }
    std::string CheckTrue(int c, int row) override { return g.GetCheckTrue(c, row); }
    TSize GraphicSize(int c, int row) override { return g.GetCellGraphicSize(c, row); }
    TRect CellBox(int c, int row) override { return g.CellRect(g.RemapColInv(c), row); }
    const TControlLook& Look() override { return g.ControlLook(); }
    const TCellNode& Node() override { return g.CellNode(); }
    int NodeLevel(int c, int row) override { return g.CellProps(c, row) ? g.CellProps(c, row)->NodeLevel : 1; }
    int NodeOffset(int row) override { return g.GridLineWidth() + g.NodeIndent(row); }
    TImageList* ImageList() override { return g.gridImages_; }
    std::pair<TColor, TColor> SelectionColors() override { return {g.SelectionColor, g.SelectionTextColor}; }

private:
    TExStringGrid& g;
};

void TExStringGrid::DrawCellGraphic(TCanvas* Canvas, TCellGraphic& g, int c, int ARow, const TRect& R, TAlignment ha,
                                    bool selected, double Scale)
{
    TGraphicView view(*this);
    TCellGraphicPainter(view, Canvas, g, c, ARow, R, ha, selected, Scale).Draw();
}

bool TExStringGrid::SortMarkShown(int c, int ARow) const
{
    const TSortSettings& ss = SortSettings();
    if (!ss.Show() || ARow != ss.Row() || RowCount() <= 2 || FixedRows() <= 0) return false;
    if (c < FixedCols() && !ss.FixedCols) return false;
    return c == ss.Column || sort_.sortKeys.FindIndex(c) >= 0;
}

void TExStringGrid::DrawSortIndicator(TCanvas* Canvas, int ACol, int X, int Y)
{
    bool descending = SortSettings().Direction == sdDescending;
    if (const int k = sort_.sortKeys.FindIndex(ACol); k >= 0) descending = sort_.sortKeys.SortDirections(k);
    TBitmap& glyph = descending ? SortSettings().DownGlyph() : SortSettings().UpGlyph();
    if (!glyph.Empty()) {
        DrawBitmapTransp(*Canvas, glyph, Canvas->Brush().Color(),
                         {X - glyph.Width() / 2, Y - glyph.Height() / 2, X + glyph.Width(), Y + glyph.Height()});
        return;
    }
    const TPoint up[3] = {{X - 4, Y + 2}, {X + 4, Y + 2}, {X, Y - 3}};
    const TPoint down[3] = {{X - 4, Y - 2}, {X + 4, Y - 2}, {X, Y + 3}};
    Canvas->Brush().SetStyle(bsSolid);
    Canvas->Brush().SetColor(clGray);
    Canvas->Pen().SetColor(clGray);
    Canvas->Polygon(descending ? down : up, 3);
}

void TExStringGrid::DrawBackGround(TCanvas* Canvas, int ACol, int ARow, const TRect& cell, bool fixed)
{
    const TBackGround& bg = BackGround();
    if ((bg.Cells() == bcNormal && fixed) || (bg.Cells() == bcFixed && !fixed)) return;
    TBitmap& bmp = bg.Bitmap();
    const int bw = bmp.Width(), bh = bmp.Height();
    if (bw <= 0 || bh <= 0) return;
    HDC dc = Canvas->Handle();
    SaveDC(dc);
    IntersectClipRect(dc, cell.Left, cell.Top, cell.Right, cell.Bottom);
    if (bg.Display() == bdFixed) {
        Canvas->Draw(bg.Left(), bg.Top(), &bmp);
    } else {
        // Tiles from the first normal cell (bcNormal) or from cell 0, 0, whatever is scrolled.
        const int c0 = bg.Cells() == bcNormal ? FixedCols() : 0, r0 = bg.Cells() == bcNormal ? FixedRows() : 0;
        int ox = 0, oy = 0;
        for (int c = c0; c < ACol; ++c) ox += ColWidths(c);
        for (int r = r0; r < ARow; ++r) oy += RowHeights(r);
        for (int y = cell.Top - oy % bh; y < cell.Bottom; y += bh)
            for (int x = cell.Left - ox % bw; x < cell.Right; x += bw) Canvas->Draw(x, y, &bmp);
    }
    RestoreDC(dc, -1);
}

void TExStringGrid::DrawTreeLines(TCanvas* Canvas, int ARow, const TRect& cell)
{
    const TCellProperties* p = CellProps(0, ARow);
    const int level = p ? p->NodeLevel : 0;
    if (level <= 0) return;
    const int I = CellNode().NodeIndent(), mid = (cell.Top + cell.Bottom) / 2;
    const TColor tc = CellNode().TreeColor();
    // The outer levels pass through; this row's own level ends at its middle on its last row.
    for (int k = 1; k < level; ++k) {
        const int x = cell.Left + (k - 1) * I + I / 2;
        DrawLine(*Canvas, tc, x, cell.Top, x, cell.Bottom);
    }
    if (IsNode(ARow)) return;
    const int x = cell.Left + (level - 1) * I + I / 2;
    DrawLine(*Canvas, tc, x, cell.Top, x, GetNodeSpanType(ARow) == 1 ? mid : cell.Bottom);
    DrawLine(*Canvas, tc, x, mid, CellNode().ShowTreeFull() ? cell.Left + level * I : x + 4, mid);
}

TSize TExStringGrid::GetCellGraphicSize(int ACol, int ARow)
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return {0, 0};
    switch (g->CellType) {
    case ctCheckBox: case ctDataCheckBox: case ctVirtCheckBox:
        return {ControlLook().CheckSize(), ControlLook().CheckSize()};
    case ctProgressPie: return {20, 20};
    case ctRadio: {
        if (!g->RadioItems) return {0, 0};
        const base::TStrings& items = *g->RadioItems;
        const int gh = Canvas()->TextHeight("gh");
        int w = g->CellBoolean ? 0 : 12;
        for (int i = 0; i < items.Count(); ++i)
            w = g->CellBoolean ? w + Canvas()->TextWidth(items[i]) + 12 : std::max(w, Canvas()->TextWidth(items[i]) + 12);
        return {w, g->CellBoolean ? gh : gh * items.Count()};
    }
    case ctBitmap: {
        auto* bmp = dynamic_cast<TBitmap*>(g->CellGraphicRef);
        const bool beside = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
        if (!bmp || (!beside && !GetCellEx(ACol, ARow).empty())) return {0, 0};
        return {bmp->Width(), bmp->Height()};
    }
    case ctIcon: {
        auto* icon = dynamic_cast<TIcon*>(g->CellIconRef);
        if (!icon || icon->GetEmpty()) return {0, 0};
        const bool beside = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
        return {beside || GetCellEx(ACol, ARow).empty() ? icon->GetWidth() : 0, icon->GetHeight()};
    }
    case ctImageList:
    case ctDataImage: {
        if (!gridImages_) return {0, 0};
        const bool beside = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
        return {beside || GetCellEx(ACol, ARow).empty() ? gridImages_->Width() : 0, gridImages_->Height()};
    }
    case ctImages: {
        auto* list = dynamic_cast<TIntList*>(g->CellGraphicRef);
        if (!gridImages_ || !list) return {0, 0};
        const int n = list->Count(), iw = gridImages_->Width(), ih = gridImages_->Height();
        return g->CellBoolean ? TSize{n * iw, ih} : TSize{iw, n * ih};
    }
    case ctPicture:
    case ctFilePicture: {
        const TPoint cs = CellSize(RemapColInv(ACol), ARow);
        return g->GetPictureSize(cs.X, cs.Y, !GetCellEx(ACol, ARow).empty());
    }
    case ctButton:
    case ctBitButton: {
        const bool beside = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText ||
                            g->CellVAlign == vaUnderText || g->CellVAlign == vaAboveText;
        if (!GetCellEx(ACol, ARow).empty() && !beside) return {0, 0};
        return {g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF};
    }
    default: return {0, 0};
    }
}

TSize TExStringGrid::GetPrintGraphicSize(int ACol, int ARow, int CellWidth, int CellHeight, double Factor)
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return {0, 0};
    switch (g->CellType) {
    case ctBitmap:
        if (auto* bmp = dynamic_cast<TBitmap*>(g->CellGraphicRef)) return {bmp->Width(), bmp->Height()};
        return {0, 0};
    case ctIcon:
        if (auto* icon = dynamic_cast<TIcon*>(g->CellIconRef)) return {icon->GetWidth(), icon->GetHeight()};
        return {0, 0};
    case ctImageList: {
        if (!gridImages_) return {0, 0};
        const bool beside = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
        return {beside || GetCellEx(ACol, ARow).empty() ? gridImages_->Width() : 0, gridImages_->Height()};
    }
    case ctDataImage:
        return gridImages_ ? TSize{gridImages_->Width(), gridImages_->Height()} : TSize{0, 0};
    case ctPicture:
    case ctFilePicture: {
        const TSize s = g->GetPictureSize(CellWidth, CellHeight, !GetCellEx(ACol, ARow).empty());
        const double f = Factor > 0 ? Factor : 1.0;
        return {int(std::lround(s.cx / f)), int(std::lround(s.cy / f))};
    }
    case ctButton:
    case ctBitButton: return {g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF};
    default: return GetCellGraphicSize(ACol, ARow);  // the rest as on screen
    }
}

// ---------------------------------------------------------------- measuring

TSize TExStringGrid::GetCellTextSize(int ACol, int ARow, bool WordWrapWidth)
{
    std::string s = GetFormattedCell(ACol, ARow);
    TCanvas* cv = Canvas();
    if (s.empty()) return {0, 0};
    const TTextType kind = TextType(s, EnableHTML);
    const int ox = XYOffset.X, oy = XYOffset.Y;
    const int d = RemapColInv(ACol);
    const TRect cell = GetCellRect(d, ARow);
    if (kind == TTextType::ttHTML) {
        std::string anchor, stripped, focus, id, value, type;
        int mw = 0, mh = 0, links = 0, under = -1;
        TRect hover, ctl;
        TRect r{cell.Left + ox, cell.Top + oy, WordWrapWidth ? cell.Right - ox : 65535, 65535};
        html::grdhtmle::HTMLDrawEx(cv, s, r, gridImages_, 0, 0, -1, -1, 1, false, true, false, false, true, false,
                                   WordWrapWidth && wordWrap_, false, 1.0, URLColor, clNone, clNone, clGray, anchor,
                                   stripped, focus, mw, mh, links, under, hover, ctl, id, value, type, pictureCache_.get(),
                                   pictureContainer_, nullptr);
        return {mw + 2 * ox + 2, mh + 2 * oy + 2};
    }
    if (kind == TTextType::ttRTF) {
        const TSize rs = RichTextSize(ACol, ARow, WordWrapWidth, cell.Width() - 2 * ox);
        return {rs.cx + 2 * ox, rs.cy + 2 * oy};
    }
    std::u16string wide;
    std::string narrow;
    if (kind == TTextType::ttUnicode) {
        wide = DecodeWideStr(s);
        s = narrow = WideStandIn(wide);
    }
    TRect r{0, 0, WordWrapWidth ? std::max(cell.Width() - 2 * (ox + 2), 1) : 0, 0};
    UINT flags = DT_NOPREFIX | DT_EXPANDTABS | DT_CALCRECT;
    if (WordWrapWidth && wordWrap_) flags |= DT_WORDBREAK | DT_EDITCONTROL;
    else if (!Multilinecells) {
        std::string rest = s;
        s = GetNextLine(rest, false);
        flags |= DT_SINGLELINE;
    }
    if (kind == TTextType::ttUnicode && narrow.compare(0, s.size(), s) == 0)
        DrawTextW(cv->Handle(), wide.substr(0, s.size()), -1, &r, flags);
    else
        DrawText(cv->Handle(), s, -1, &r, flags);
    return {r.Width() + 2 * ox, r.Bottom - r.Top + 2 * oy};
}

}  // namespace grid

namespace grid {

// ---------------------------------------------------------------- frame, bounds, theme

void TExStringGrid::WMNCPaint(TMessage& m)
{
    TBaseGrid::WMNCPaint(m);
    if (updateCount_ == 0 && m.DC()) NCPaintProc(m.DC());
}

void TExStringGrid::NCPaintProc(HDC dc)
{
    if (Flat || BorderStyle() != bsSingle || !dc) return;
    if (Look != glSoft && Look != glStudio && Look != glXP && Look != glListView) return;
    const int w = Width(), h = Height();
    const COLORREF inner = platform::uxtheme::IsThemeActive() ? 0xB99D7F : 0x808080;
    const COLORREF outer = ColorToRGB(Parent() ? Parent()->Color() : Color());
    auto frame = [&](int l, int t, int r, int b, COLORREF c) {
        FillRect(dc, {l, t, r + 1, t + 1}, c);
        FillRect(dc, {l, b, r + 1, b + 1}, c);
        FillRect(dc, {l, t, l + 1, b + 1}, c);
        FillRect(dc, {r, t, r + 1, b + 1}, c);
    };
    frame(1, 1, w - 2, h - 2, inner);
    frame(0, 0, w - 1, h - 1, outer);
}

void TExStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (IntegralHeight && updateCount_ == 0 && DefaultRowHeight() > 0) {
        const int S = VisibleColCount() + FixedCols() < ColCount() ? GetSystemMetrics(SM_CYHSCROLL) : 0;
        const int B = BorderStyle() == bsSingle ? 2 : 0;
        int H = AHeight - S - B;
        H -= H % DefaultRowHeight();
        AHeight = H + S + 2 * B;
    }
    TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TExStringGrid::ThemeAdapt()
{
    switch (html::CurrentXPColorScheme(html::XPColorSchemeTest::Grid)) {
    case 1:
        gradFrom_ = 0xFCE1CB, gradTo_ = 0xE0A57D, ActiveCellColor = 0x94E6FB, ActiveCellColorTo = 0x1595EE;
        break;
    case 2:
        gradFrom_ = 0xCFF0EA, gradTo_ = 0x8CC0B1, ActiveCellColor = 0x94E6FB, ActiveCellColorTo = 0x1595EE;
        break;
    case 3:
        gradFrom_ = 0xECE2E1, gradTo_ = 0xB39698, ActiveCellColor = 0x94E6FB, ActiveCellColorTo = 0x1595EE;
        break;
    default:
        gradFrom_ = clWhite, gradTo_ = TColor(ColorToRGB(clBtnFace)), ActiveCellColor = clWhite,
        ActiveCellColorTo = 0xFFD9B3;
        break;
    }
    Invalidate();
}

void TExStringGrid::DoInsertRow(int ARow)
{
    InsertRows(ARow, 1);
    if (OnAutoInsertRow) OnAutoInsertRow(this, ARow);
}

void TExStringGrid::DoDeleteRow(int ARow)
{
    if (RowCount() - FixedRows() - fixed_.fixedFooters == 1 && !fixed_.fixedRowAlways) ClearRows(ARow, 1);
    else RemoveRowsInternal(ARow, 1);
    if (OnAutoDeleteRow) OnAutoDeleteRow(this, ARow);
}

}  // namespace grid

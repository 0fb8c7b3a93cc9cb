#pragma once
// Drawing a cell's graphic (check box, bitmap, icon, images, picture, radio group,
// progress bar and pie, node, button, comment mark) on the screen or on a printed page.
// The painter reaches the grid only through TCellPaintHost: the cell's text and number,
// its place, the looks the graphics follow, and the grid's image list.
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Types.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"
#include "widgets/grid/CellGraphic.h"

namespace platform {
class TImageList;
}

namespace grid {

class TControlLook;
class TCellNode;

// What the painter asks of the grid; c is a real column.
class TCellPaintHost {
public:
    virtual ~TCellPaintHost() = default;
    virtual std::string CellText(int c, int row) = 0;
    // The cell's number; nothing when the cell holds none.
    virtual std::optional<int> CellInt(int c, int row) = 0;
    // The width of the cell's text as drawn, without its margins.
    virtual int TextWidth(int c, int row) = 0;
    virtual bool CanEdit(int c, int row) = 0;
    // The text that stands for a ticked data check box.
    virtual std::string CheckTrue(int c, int row) = 0;
    virtual platform::TSize GraphicSize(int c, int row) = 0;
    // The cell's rectangle on the grid.
    virtual platform::TRect CellBox(int c, int row) = 0;
    virtual const TControlLook& Look() = 0;
    virtual const TCellNode& Node() = 0;
    virtual int NodeLevel(int c, int row) = 0;
    // How far right of the cell's left edge a row's node indentation starts.
    virtual int NodeOffset(int row) = 0;
    virtual platform::TImageList* ImageList() = 0;
    // The selection's colour and text colour (clNone when not set).
    virtual std::pair<platform::TColor, platform::TColor> SelectionColors() = 0;
};

// Draws a cell's graphic on the screen or on a printed page: the cell's place, the scale
// and the graphic's offset beside the text are taken once, then each kind of graphic is
// drawn by a function of its own.
class TCellGraphicPainter {
public:
    // scale is page pixels per screen pixel on a printed page, 0 or less on the screen.
    TCellGraphicPainter(TCellPaintHost& grid, platform::TCanvas* canvas, TCellGraphic& g, int c, int row,
                        const platform::TRect& R, platform::TAlignment ha, bool selected, double scale);
    void Draw();

private:
    TCellPaintHost& grid_;
    platform::TCanvas* cv_;
    TCellGraphic& g_;
    const int c_, row_;
    const platform::TRect R_;  // on the screen the cell's content area, on the page the graphic's own
    const platform::TAlignment ha_;
    const bool selected_;
    const bool printing_;
    const double sc_;  // page pixels per screen pixel, 1 on the screen
    int beside_ = 0;   // the text's width that a graphic before or after the text keeps clear

    int Px(int n) const { return int(std::lround(n * sc_)); }
    // The place of a w x h graphic in the cell by its alignments.
    platform::TRect PlaceOf(int w, int h) const
    {
        return g_.Place(R_, w, h, beside_, ha_ == platform::taLeftJustify, ha_ == platform::taRightJustify);
    }
    std::string Text() const { return grid_.CellText(c_, row_); }
    bool CanEdit() const;
    void CheckBox();
    void CheckFace(const platform::TRect& box, int n, bool checked, bool enabled);
    void Bitmap();
    void Icon();
    void Images();
    std::vector<int> ImageIndexes();
    void Picture();
    void Radio();
    void Progress();
    void ProgressPie();
    void Node();
    void Button();
    void Comment();
};

}  // namespace grid

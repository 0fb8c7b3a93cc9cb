#pragma once
// The graphic a cell may carry besides its text: a check box, a progress bar, a node, ...
#include <functional>
#include <string>

#include "platform/Classes.h"
#include "platform/Types.h"

namespace base {
class TStrings;
}

namespace platform {
class TBitmap;
class TIcon;
class TPicture;
}

namespace grid {

class TFilePicture;
class TIntList;

enum TCellType : unsigned char {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode, ctRadio,
    ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton, ctBitButton,
    ctVirtCheckBox, ctProgressPie, ctSummary
};
enum TCellVAlign : unsigned char { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TCellHAlign : unsigned char { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TStretchMode { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };

class TCellGraphic : public platform::TPersistent {
public:
    ~TCellGraphic() override;
    TCellType CellType = ctNone;
    // By kind an object (bitmap, picture, radio items, image list) or a colour value.
    platform::TObject* CellGraphicRef = nullptr;
    unsigned CellColor = 0;  // the colour ctProgress and ctProgressPie keep in the reference
    platform::TObject* CellIconRef = nullptr;
    unsigned CellColor2 = 0;
    TCellVAlign CellVAlign = vaTop;
    TCellHAlign CellHAlign = haLeft;
    int CellIndex = 0;
    bool CellTransparent = false;
    bool CellCreated = false;  // the referenced objects are the graphic's own
    bool CellBoolean = false;
    int CellAngle = 0;
    double CellValue = 0;
    short CellErrFrom = 0, CellErrLen = 0;
    std::string CellText;
    base::TStrings* RadioItems = nullptr;  // the captions of a radio group

    // A copy for another cell; objects the graphic owns are not shared (they stay with
    // this one), objects the caller handed in are.
    TCellGraphic* Clone() const;
    // The size a picture takes in a cell by its stretch mode (CellAngle) and padding (CellIndex).
    platform::TSize GetPictureSize(int CellWidth, int CellHeight, bool HasText) const;
    // Where a graphic of W x H goes in a cell; textWidth is the text's width + 2, or 0.
    platform::TRect Place(const platform::TRect& cell, int W, int H, int textWidth, bool textLeft,
                          bool textRight) const;
    // ctRotated; the angle (16 bits, degrees) brought into 0 to 360.
    void SetAngle(int Angle);
    // Each sets the kind and the fields it uses.
    void SetBitmap(platform::TBitmap* Bitmap, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign);
    void SetIcon(platform::TIcon* Icon, TCellHAlign HAlign, TCellVAlign VAlign);
    void SetPicture(platform::TPicture* Picture, bool Transparent, TStretchMode StretchMode, int Padding,
                    TCellHAlign HAlign, TCellVAlign VAlign);
    void SetFilePicture(TFilePicture* Picture, bool Transparent, TStretchMode StretchMode, int Padding,
                        TCellHAlign HAlign, TCellVAlign VAlign);
    void SetImageIdx(int Index, TCellHAlign HAlign, TCellVAlign VAlign);
    void SetDataImage(int Offset, TCellHAlign HAlign, TCellVAlign VAlign);
    // A new index list for the cell, owned by the graphic; Direction 0 side by side.
    void SetMultiImage(int ACol, int ARow, int Direction, TCellHAlign HAlign, TCellVAlign VAlign,
                       std::function<void(TIntList*, int, int)> OnChange);
    void SetCheckBox(bool State, bool Data, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign);
    void SetButton(int Width, int Height, const std::string& Caption, TCellHAlign HAlign, TCellVAlign VAlign);
    void SetBitButton(int Width, int Height, const std::string& Caption, platform::TBitmap* Glyph,
                      TCellHAlign HAlign, TCellVAlign VAlign);
    void Assign(const platform::TPersistent& Source) override;
    // Streamed: the kind and settings, not the objects referred to.
    void GetPublished(platform::TPropertyList& L) override;
};

}  // namespace grid

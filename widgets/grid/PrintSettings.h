#pragma once
// The grid's print options: header and footer items, margins and spacings in 0.1 mm,
// borders, fonts, column fitting and the page-number text.
#include <memory>
#include <string>

#include "platform/Classes.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Printer.h"

namespace base {
class TStringList;
class TStrings;
}

namespace grid {

enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders { pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical,
                     pbAroundHorizontal, pbCustom };
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };
enum TPrintMethod { prPreview, prPrint, prCalcPrint, prCalcPreview };

class TPrintSettings : public platform::TPersistent {
public:
    TPrintSettings();
    ~TPrintSettings() override;
    void Assign(const platform::TPersistent& Source) override;

    TPrintPosition Time = ppNone, Date = ppNone, PageNr = ppNone, Title = ppNone;
    std::string PageNumSep = "/", DateFormat = "dd/mm/yyyy";
    TPrintBorders Borders = pbSingle;
    platform::TPenStyle BorderStyle = platform::psSolid;
    std::string TitleText;
    bool Centered = true, RepeatFixedRows = false, RepeatFixedCols = false;
    int FooterSize = 0, HeaderSize = 0, LeftSize = 0, RightSize = 0;
    int ColumnSpacing = 0, RowSpacing = 0, TitleSpacing = 0;
    platform::TPrinterOrientation Orientation = platform::poPortrait;
    std::string PagePrefix, PageSuffix;
    int FixedHeight = 0, FixedWidth = 0;
    bool UseFixedHeight = false, UseFixedWidth = false;
    TFitToPage FitToPage = fpNever;
    bool NoAutoSize = false, NoAutoSizeRow = false, PrintGraphics = false, UseDisplayFont = true;
    std::string JobName;
    int PageNumberOffset = 0, MaxPagesOffset = 0;

    platform::TFont& Font() const { return *font_; }
    void SetFont(const platform::TFont& f);
    platform::TFont& FixedFont() const { return *fixedFont_; }
    void SetFixedFont(const platform::TFont& f);
    platform::TFont& HeaderFont() const { return *headerFont_; }
    void SetHeaderFont(const platform::TFont& f);
    platform::TFont& FooterFont() const { return *footerFont_; }
    void SetFooterFont(const platform::TFont& f);
    base::TStringList& TitleLines() const { return *titleLines_; }
    void SetTitleLines(const base::TStrings& s);

private:
    std::unique_ptr<platform::TFont> font_, fixedFont_, headerFont_, footerFont_;
    std::unique_ptr<base::TStringList> titleLines_;
};

}  // namespace grid

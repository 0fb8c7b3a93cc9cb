#include "widgets/grid/PrintSettings.h"

#include "base/StringList.h"

using namespace platform;

namespace grid {

TPrintSettings::TPrintSettings()
    : font_(std::make_unique<TFont>()), fixedFont_(std::make_unique<TFont>()),
      headerFont_(std::make_unique<TFont>()), footerFont_(std::make_unique<TFont>()),
      titleLines_(std::make_unique<base::TStringList>())
{
}

TPrintSettings::~TPrintSettings() = default;

void TPrintSettings::SetFont(const TFont& f) { font_->Assign(f); }
void TPrintSettings::SetFixedFont(const TFont& f) { fixedFont_->Assign(f); }
void TPrintSettings::SetHeaderFont(const TFont& f) { headerFont_->Assign(f); }
void TPrintSettings::SetFooterFont(const TFont& f) { footerFont_->Assign(f); }
void TPrintSettings::SetTitleLines(const base::TStrings& s) { titleLines_->Assign(s); }

void TPrintSettings::Assign(const TPersistent& Source)
{
    const auto* s = dynamic_cast<const TPrintSettings*>(&Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    if (s == this) return;
    Time = s->Time;
    Date = s->Date;
    PageNr = s->PageNr;
    Title = s->Title;
    PageNumSep = s->PageNumSep;
    DateFormat = s->DateFormat;
    Borders = s->Borders;
    BorderStyle = s->BorderStyle;
    TitleText = s->TitleText;
    Centered = s->Centered;
    RepeatFixedRows = s->RepeatFixedRows;
    RepeatFixedCols = s->RepeatFixedCols;
    FooterSize = s->FooterSize;
    HeaderSize = s->HeaderSize;
    LeftSize = s->LeftSize;
    RightSize = s->RightSize;
    ColumnSpacing = s->ColumnSpacing;
    RowSpacing = s->RowSpacing;
    TitleSpacing = s->TitleSpacing;
    Orientation = s->Orientation;
    PagePrefix = s->PagePrefix;
    PageSuffix = s->PageSuffix;
    FixedHeight = s->FixedHeight;
    FixedWidth = s->FixedWidth;
    UseFixedHeight = s->UseFixedHeight;
    UseFixedWidth = s->UseFixedWidth;
    FitToPage = s->FitToPage;
    NoAutoSize = s->NoAutoSize;
    NoAutoSizeRow = s->NoAutoSizeRow;
    PrintGraphics = s->PrintGraphics;
    UseDisplayFont = s->UseDisplayFont;
    JobName = s->JobName;
    PageNumberOffset = s->PageNumberOffset;
    MaxPagesOffset = s->MaxPagesOffset;
    SetFont(s->Font());
    SetFixedFont(s->FixedFont());
    SetHeaderFont(s->HeaderFont());
    SetFooterFont(s->FooterFont());
    SetTitleLines(s->TitleLines());
}

}  // namespace grid

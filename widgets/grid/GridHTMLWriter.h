#pragma once
// The grid's HTML export: a cell store's cells as an HTML table (or an XHTML page) with
// their spans, alignments, colours and fonts as the grid's HTML settings ask, and the
// file around it (the settings' header and footer files).
#include <string>

#include "widgets/grid/GridCellStore.h"

namespace grid {

// The table, each line ended by CR LF: 8-bit text, or UTF-8 with HTMLSettings.XHTML.
// Cell text goes to the page as it stands (cells hold mini-HTML meant for it).
std::string WriteGridHTML(TGridCellStore& cells, const TGridFileOptions& options);

// What an HTML file of the store holds: the header file's lines, the table and a blank
// line, then the footer file's lines (a file that does not read adds nothing).
std::string GridHTMLFile(TGridCellStore& cells, const TGridFileOptions& options);

}  // namespace grid

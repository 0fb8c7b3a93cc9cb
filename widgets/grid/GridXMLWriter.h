#pragma once
// The grid's XML export: a cell store's save block as a list of records, one element
// per cell, in ISO-8859-1 as the document declares.
#include <string>

#include "widgets/grid/GridCellStore.h"

namespace base {
class TStrings;
}

namespace grid {

// A list element named listName of one recordName element per saved row; the cells'
// elements take fieldNames in order (when given), the others "FIELD" and their index in
// the block from 0. Names are made valid element names; each line ends with CR LF.
std::string WriteGridXML(TGridCellStore& cells, const std::string& listName, const std::string& recordName,
                         const base::TStrings* fieldNames);

}  // namespace grid

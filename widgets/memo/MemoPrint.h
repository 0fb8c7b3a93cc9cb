#pragma once
// The editor's page layout options for printing.
#include <string>

namespace memo {

class TPrintOptions {
public:
    std::string JobName;  // empty: "ExMemo print job"
    std::string Title;    // printed centred at the top of every page
    bool PageNr = false;  // a page number line at the bottom of every page
    bool PrintLineNumbers = false;
    int MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;  // device pixels
    std::string PagePrefix;  // before the page number
    void Assign(const TPrintOptions& o) { *this = o; }
};

}  // namespace memo

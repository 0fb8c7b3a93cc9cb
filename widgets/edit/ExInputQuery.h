#pragma once
// A modal dialog that asks for one typed value.
#include <string>

#include "widgets/edit/ExEdit.h"

namespace edit {

struct TQueryParams {
    int Precision = 0;
    bool Flat = false;
    int LengthLimit = 0;
    std::string Prefix, Suffix;
};

// On OK, value receives the edit's value (without prefix and suffix) and the result is true.
bool ExInputQuery(TExEditType EditType, const TQueryParams* params, const std::string& caption,
                  const std::string& prompt, std::string& value);

}  // namespace edit

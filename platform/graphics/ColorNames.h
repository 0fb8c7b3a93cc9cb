#pragma once
// Colours as text: a colour's name where it has one, else "$" and eight hexadecimal digits.
#include <string>

#include "platform/Types.h"

namespace platform {

std::string ColorToString(TColor c);
// A name, a decimal number or "$" hexadecimal; EConvertError for anything else.
TColor StringToColor(const std::string& s);
bool IdentToColor(const std::string& name, TColor& c);  // names compared without case

}  // namespace platform

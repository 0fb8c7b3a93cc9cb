#pragma once
// Parameters in mini-HTML node texts: an anchor whose href names the parameter and whose
// text is its value, with class (the editor), props (choices or mask) and hint.
#include <string>

namespace base {
class TStrings;
}

namespace edit {

// The escaped text of the anchor named href (letter case ignored); false when there is none.
bool GetHREFValue(const std::string& s, const std::string& href, std::string& value);
// Replaces the text of the anchor named href by value (written as given; callers escape).
// False, and s unchanged, when nothing was replaced.
bool SetHREFValue(std::string& s, const std::string& href, const std::string& value);
// "&", "<", ">" and the double quote as entities.
std::string HTMLPrep(const std::string& s);
// The four entities back, in one pass: each entity of the text turns into its character once.
std::string InvHTMLPrep(const std::string& s);
// Choices separated by "|"; an empty piece is an empty entry, a last empty piece none.
void PropToList(const std::string& s, base::TStrings& list);
// The attributes and the text of the anchor named href; the class upper-cased.
bool ExtractParamInfo(const std::string& s, const std::string& href, std::string& cls, std::string& value,
                      std::string& props, std::string& hint);

}  // namespace edit

#pragma once
// Operations on mini-HTML text that draw nothing: stripping, highlighting, escaping,
// the embedded CONTROL tags, colour names and a few string helpers the engine uses.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Types.h"
#include "widgets/html/HtmlVariant.h"

namespace html {

// The text without markup: <BR> and <HR> become CR LF, then every "<...>" goes.
// The panel variant (panel and label) also drops "<z>...</z>" and "<Z>...</Z>" runs.
std::string HTMLStrip(std::string_view text, HTMLVariant variant = HTMLVariant::Grid);

// Wraps every occurrence of hiText in the visible text in <tag> ... </tag>.
std::string HiLight(std::string_view text, std::string_view hiText, std::string_view tag, bool doCase);
// Removes <tag> and </tag>, any letter case, keeping what they wrapped.
std::string UnHiLight(std::string_view text, std::string_view tag);

// "&", '"', "<", ">" written as entities; each input character is replaced once.
std::string FixMarkup(std::string_view text);
// Every blank written as "&nbsp;".
std::string FixNonBreaking(std::string_view text);

bool HasHTMLControl(std::string_view text);
// ID of the next control after currentID (the first for an empty ID) whose TYPE is
// not BUTTON, CHECK or RADIO; empty when there is none.
std::string GetNextControlID(std::string_view text, std::string_view currentID);
// False, value untouched, when no control has the ID.
bool GetControlValue(std::string_view text, std::string_view id, std::string& value);
std::string GetControlProp(std::string_view text, std::string_view id);
// Rewrites the control with that ID in the fixed attribute order; false and the text
// unchanged when there is none. The grid escapes with FixMarkup and keeps PROP, the
// tree escapes only the angle brackets and drops PROP.
bool SetControlValue(std::string& text, std::string_view id, std::string_view value,
                     HTMLVariant variant = HTMLVariant::Grid);

// 1-based position of sub in text without regard to case, 0 when absent; also stored in pos.
int VarPosNC(std::string_view sub, std::string_view text, int& pos);

// Platform-version flags of the grid and tree engines: true on XP (5.1) or later.
namespace grdhtmle {
extern bool IsWinXP;
bool DetectWinXP();
}  // namespace grdhtmle
namespace parhtml {
extern bool IsWinXP;
bool DetectWinXP();
}  // namespace parhtml
// The version test itself.
bool IsWinXPOrLater(unsigned major, unsigned minor);

// --- Helpers the engine uses ---

// Colour names such as "clred", "clbtnface" (lower case, exact); unknown names give 0.
platform::TColor ColorFromName(std::string_view name);
// "#RRGGBB" to 0x00BBGGRR; a pair shorter than two characters counts as 0.
platform::TColor ColorFromHex(std::string_view value);
// Position of sub in text after upper-casing both, counted from 1; 0 when absent.
int PosNoCase(std::string_view sub, std::string_view text);
// Replaces the first occurrence of from (any case) by to; false when there is none.
bool ReplaceNoCase(std::string& text, std::string_view from, std::string_view to);
// Leading blanks, optional sign, decimal digits or hex after "$" or "0x"; the digits
// before the first other character give the value, none gives 0. whole reports that
// the entire text was a number.
int LenientStrToInt(std::string_view text, bool* whole = nullptr);
// CR becomes "<BR>" (or is dropped when noBreaks), LF is dropped.
std::string LineBreaksToBR(std::string_view text, bool noBreaks = false);
// "&lt;" and "&gt;" back to "<" and ">".
std::string RestoreAngleBrackets(std::string_view text);
// One "*" per character.
std::string PasswordMask(std::string_view text);
// True when the path exists and is a directory.
bool IsFolder(const std::string& path);

}  // namespace html

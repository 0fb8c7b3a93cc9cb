#pragma once
// The grid's text utilities: free functions on 8-bit (Windows-1252) texts, positions
// counted from 1 and 0 for "not found". None of them keeps state or raises.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/DateTime.h"
#include "platform/Types.h"

namespace base {
class TStrings;
}

namespace grid {

using String = std::string;
using WideString = std::u16string;

// What a cell text is, for drawing and sizing.
enum class TTextType { ttText, ttHTML, ttRTF, ttFormula, ttURL, ttUnicode };
// What a value text is, for alignment, sorting and number reading.
enum class TAutoType { atNumeric, atFloat, atString, atDate, atTime };

// Prefix of a wide text kept in an 8-bit cell: two bytes per UTF-16 unit follow, high first.
inline constexpr std::string_view kWidePrefix = "|\\";

// CSV and line-feed conversions. A multi-line cell holds CR LF between its lines.
String CSVQuotes(const String& s);
String DoubleToSingleChar(char c, const String& s);
void LineFeedsToCSV(String& s);
void LineFeedsToCSVNQ(String& s);
void CSVToLineFeeds(String& s);
void LineFeedsToJava(String& s);
void JavaToLineFeeds(String& s);
String LfToFile(const String& s);
String FileToLf(const String& s, bool multiLine);
String LFToCLF(const String& s);
String CLFToLF(const String& s);
String LineFeedsToXLS(const String& s);
String CRToLF(const String& s);
String HTMLLineBreaks(const String& s);

// Cuts the first line off `text` and returns it; without multiLine the rest is dropped.
String GetNextLine(String& text, bool multiLine);
int LinesInText(const String& s, bool multiLine);
// The lines of a cell text as GetNextLine cuts them (only the first without multiLine).
std::vector<String> TextLines(String text, bool multiLine);
// part * 100 / whole (whole at least 1), rounded half to even: the progress events' value.
short ProgressPercent(long long part, long long whole);

void StringToOem(String& s);
void OemToString(String& s);
void StringToPassword(String& s, char mask);
// "RRGGBB" of a colour value, red first; the top byte is ignored.
String HTMLColor(uint32_t color);

String EncodeWideStr(const WideString& s);
WideString DecodeWideStr(const String& s);
// The 8-bit stand-in a wide text is laid out on: one character per code unit, the unit
// itself below 256 and "?" beyond.
String WideStandIn(const WideString& s);

TTextType TextType(const String& s, bool html);
TAutoType IsType(const String& s);
// A number text the '.'-based float reader takes: separators and signs normalised.
String RemoveSeps(const String& s);
String FixDecimalSeparator(const String& s);

// Searching and counting.
int CharPos(char c, const String& s);
int VarCharPos(char c, const String& s, int& pos);
int VarCharPosNC(char c, const String& s, int& pos);
int VarPos(const String& sub, const String& s, int& pos);
int FIPos(const String& sub, const String& s);
char FirstChar(std::string_view set, const String& s);
// End of the first run of `c` that is not made of doubled ones (a CSV closing quote).
int SinglePos(char c, const String& s, int& pos);
int NumSingleChar(char c, const String& s);
int NumChar(char c, const String& s);
int NumCharInStr(char c, const String& s);
int StrPosWide(const WideString& sub, const WideString& s);

// Tokens, lists, numbers and rectangles.
String GetToken(String& s, const String& separator);
String StringListToText(const base::TStrings& list);
inline int Max(int a, int b) { return a > b ? a : b; }
inline int Min(int a, int b) { return a < b ? a : b; }
// Clamps to the limits that are above 0; equal limits mean no limits.
int CheckLimits(int value, int lower, int upper);
bool IsInGridRect(const platform::TRect& r, int col, int row);
String RectString(const platform::TRect& r);

// Cell names, links, capitals.
bool NameToCell(const String& s, platform::TPoint& cell);
bool IsURL(const String& s);
// An http, https or mailto address without blanks or control characters: one that may be
// handed to the desktop's handler.
bool IsWebLink(const String& s);
void StripURLProtocol(String& s);
String ShiftCase(const String& s);

// Dates: 0 when the text is no date. Two-digit years up to 25 are 20xx, other
// two-digit years 19xx; longer years are taken as written.
base::TDateTime StrToShortdateUS(const String& s);
base::TDateTime StrToShortDateEU(const String& s);
bool IsDateStr(const String& s);
// The next date of a pasted series; a day the target month lacks becomes its last day.
base::TDateTime GetNextDate(base::TDateTime d, uint16_t years, uint16_t months, uint16_t days, double span);

// Filter conditions: wildcards (* ? \ ! "), comparisons (> >= < <=) of numbers, dates
// and texts, terms joined left to right by & (and) and ; ^ | (or).
bool MatchStrEx(const String& condition, const String& text, bool caseSensitive);
bool MatchStr(const String& pattern, const String& text, bool caseSensitive);
bool Matches(const String& pattern, const String& text);

}  // namespace grid
